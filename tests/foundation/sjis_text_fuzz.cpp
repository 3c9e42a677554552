// Feeds arbitrary bytes to the Shift-JIS scanners. Each output goes into a
// heap buffer of exactly the room its function documents, so AddressSanitizer
// catches any write past it; a few invariants are checked on the way.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/path_split.h"
#include "foundation/sjis_text.h"
#include "foundation/text_utils.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Room of `bytes` bytes, filled with garbage so a missing terminator shows.
std::vector<char> Room(size_t bytes) { return std::vector<char>(bytes, '#'); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int start = data[0] % 16;
  const int length = data[1] % 16;
  const char c = static_cast<char>(data[2]);
  std::string text(reinterpret_cast<const char*>(data + 3), size - 3);
  text = text.substr(0, text.find('\0'));
  const char* t = text.c_str();
  const size_t n = text.size();

  // The classifier agrees with the character walk every scanner uses.
  for (size_t i = 0; i < n; i += SjisCharLength(t + i)) {
    const int kind = GetDbcsByteKind(t, static_cast<int>(i + 1));
    Check(SjisCharLength(t + i) == 2 ? kind == 1 && GetDbcsByteKind(t, static_cast<int>(i + 2)) == 2
                                     : kind == 0 || kind == 1);
  }
  Check(GetDbcsByteKind(t, static_cast<int>(n + 1)) == -1);
  Check(CountCharDbcs(t, c) <= static_cast<int>(n));

  std::vector<char> out = Room(length + 1);
  CopySubstring(out.data(), t, start, length);
  Check(std::strlen(out.data()) <= static_cast<size_t>(length));
  SubstringToInt(t, start, length);

  std::vector<char> a = Room(n + 1), b = Room(n + 1);
  SplitKeyValue(t, a.data(), b.data());
  SplitAtChar(t, a.data(), b.data(), c);
  TrimTrailing(a.data(), t);
  SplitItemNameIndex(a.data(), t, c & 1);
  GetDirectoryPart(a.data(), t);
  // The path split of strings agrees with the one of NUL-terminated texts.
  Check(PathFolder(text) == a.data());
  Check(PathFolder(text).size() + (FindLastPathDelimiter(text) == std::string::npos ? 0 : 1) +
            PathFileName(text).size() ==
        n);
  GetFileBaseName(a.data(), t);
  GetFileExtensionUpper(a.data(), t);
  RemoveAllSpaces(a.data(), t);
  ReplaceCharWithSpace(a.data(), t, c);
  Check(std::strlen(a.data()) == n);
  ExtractNumberText(a.data(), t);
  GetPathSegment(a.data(), t);
  GetLastPathSegment(a.data(), t);
  ParseTrailingNumber(t);
  NumberBetween(t, c, static_cast<char>(data[0]));
  SkipLeadingSpaces(t);
  WideTextToNarrow(t);

  std::vector<char> wide = Room(2 * n + 1);
  Check(NarrowTextToWide(wide.data(), t) <= static_cast<int>(2 * n));
  Check(ToHalfWidth(wide.data(), t) <= static_cast<int>(2 * n));

  std::vector<char> padded = Room((length > static_cast<int>(n) ? length : n) + 1);
  CenterPad(padded.data(), t, length);

  // In-place editors never grow the text.
  for (auto edit : {+[](char* s) { return TrimTrailingWideSpaces(s); },
                    +[](char* s) { return ReplaceSignMarks(s, 0); },
                    +[](char* s) { return ReplaceSignMarks(s, 1); },
                    +[](char* s) { return RemoveChar(s, ','); },
                    +[](char* s) { TrimSpaces(s, 0); ToUpperDbcsSafe(s); ToLowerDbcsSafe(s); return 0; },
                    +[](char* s) { IncrementDigitString(s); return DecrementDigitString(s); }}) {
    std::vector<char> copy(t, t + n + 1);
    edit(copy.data());
    Check(std::strlen(copy.data()) <= n);
  }
  return 0;
}
