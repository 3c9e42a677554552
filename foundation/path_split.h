// The one split of a Shift-JIS path into its folder and its file name. A
// folder delimiter is a "\" that is a character of its own: the trail byte of
// 表, ソ, 能 or 十 is the byte 0x5C too, and a byte search for the last "\"
// cuts such a name in two ("調査表001.bmp" would give "001.bmp").
//
// Header only and free of the Windows API, so that the imaging libraries and
// the native tests take it as the programs do.
#pragma once

#include <string_view>

#include "foundation/sjis_text.h"

// Bytes of the character at `at` of `text`: 2 for a lead byte followed by a
// trail byte, else 1 (SjisCharLength within the view's bounds).
constexpr std::size_t SjisCharLengthAt(std::string_view text, std::size_t at) {
  return at + 1 < text.size() && IsSjisLeadByte(static_cast<unsigned char>(text[at])) &&
                 IsSjisTrailByte(static_cast<unsigned char>(text[at + 1]))
             ? 2
             : 1;
}

// Offset of the first (last) single-byte character of `characters` in
// `path`, walking it character by character; std::string_view::npos when
// there is none. `characters` holds single-byte characters only, such as
// "\\" or "\\/:".
constexpr std::size_t FindFirstPathDelimiter(std::string_view path,
                                             std::string_view characters = "\\") {
  for (std::size_t i = 0; i < path.size(); i += SjisCharLengthAt(path, i)) {
    if (SjisCharLengthAt(path, i) == 1 && characters.find(path[i]) != std::string_view::npos) {
      return i;
    }
  }
  return std::string_view::npos;
}
constexpr std::size_t FindLastPathDelimiter(std::string_view path,
                                            std::string_view characters = "\\") {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); i += SjisCharLengthAt(path, i)) {
    if (SjisCharLengthAt(path, i) == 1 && characters.find(path[i]) != std::string_view::npos) {
      last = i;
    }
  }
  return last;
}

// The folder of `path`: up to, not including, its last delimiter; empty when
// it has none.
constexpr std::string_view PathFolder(std::string_view path, std::string_view characters = "\\") {
  const std::size_t last = FindLastPathDelimiter(path, characters);
  return last == std::string_view::npos ? std::string_view() : path.substr(0, last);
}

// The file name of `path`: after its last delimiter; the whole path when it
// has none.
constexpr std::string_view PathFileName(std::string_view path,
                                        std::string_view characters = "\\") {
  const std::size_t last = FindLastPathDelimiter(path, characters);
  return last == std::string_view::npos ? path : path.substr(last + 1);
}
