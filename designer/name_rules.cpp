// Name rules of the designer: single-byte characters are tested outside
// double-byte pairs, so a trail byte that equals a sign's code passes.
#include "designer/name_rules.h"

#include <cctype>
#include <cstring>

#include "foundation/sjis_text.h"

namespace {

// Signs refused in names, with the half-width corner brackets ｢ ｣ and the
// blank.
constexpr char kForbiddenChars[] = ".+-*/!\"#$%&'()~=\\^:;?[]<>,\xA2\xA3 ";

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool HasForbiddenNameChar(const char* name) {
  for (const char* p = name; *p;) {
    const int length = SjisCharLength(p);
    if (length == 1 && std::strchr(kForbiddenChars, *p)) return true;
    p += length;
  }
  return false;
}

bool StartsWithDigit(const char* name, bool fullWidth) {
  if (IsAsciiDigit(name[0])) return true;
  // "０" to "９" are 82 4F to 82 58.
  const auto lead = static_cast<unsigned char>(name[0]);
  const auto trail = static_cast<unsigned char>(name[0] ? name[1] : 0);
  return fullWidth && lead == 0x82 && trail >= 0x4F && trail <= 0x58;
}

bool IsReservedName(const char* name) {
  std::string upper(name);
  ToUpperDbcsSafe(upper.data());
  return upper == "DATE" || upper == "TIME" || upper == "IMAGE";
}

bool IsImageColumnName(const char* name) {
  const size_t length = std::strlen(name);
  if (length < 5) return false;
  std::string head(name, 3);
  ToUpperDbcsSafe(head.data());
  if (head != "IMG") return false;
  const size_t tail = IsAsciiDigit(name[length - 3]) && length >= 6 ? 3 : 2;
  if (length - tail < 3) return false;
  for (size_t i = length - tail; i < length; ++i) {
    if (!IsAsciiDigit(name[i])) return false;
  }
  return true;
}

std::string CopyFirstLine(const char* text) {
  std::string line;
  for (const char* p = text; *p && *p != '\n'; ++p) {
    if (*p != '\r') line += *p;
  }
  return line;
}
