// Item codes and split texts of a sheet's rows.
#include "designer/area_codes.h"

#include "foundation/sjis_text.h"

namespace {

// The next code of a range: the three digits after the letter go up by
// one; "" past 999.
std::string NextCode(const std::string& code) {
  int number = 0;
  for (size_t i = 1; i < code.size(); ++i) number = number * 10 + (code[i] - '0');
  if (number >= 999) return "";
  const std::string digits = std::to_string(number + 1);
  return code.substr(0, 1) + std::string(3 - digits.size(), '0') + digits;
}

}  // namespace

std::string NextFreeAreaCode(const std::vector<std::string>& taken, const std::string& first) {
  std::string candidate = first;
  for (const std::string& code : taken) {
    if (candidate.empty()) break;
    if (code < candidate) continue;
    if (code != candidate) break;
    candidate = NextCode(candidate);
  }
  return candidate;
}

std::vector<std::string> SplitTextPieces(const std::string& text, size_t room, size_t pieces) {
  std::vector<std::string> parts(pieces);
  size_t at = 0;
  for (std::string& part : parts) {
    while (at < text.size()) {
      const size_t length = static_cast<size_t>(SjisCharLength(text.c_str() + at));
      if (part.size() + length > room) break;
      part.append(text, at, length);
      at += length;
    }
  }
  return parts;
}
