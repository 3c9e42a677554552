// Text, number and path routines. Blanks are the half-width " " and the
// full-width "　"; both are recognised only at character starts.
#include "foundation/text_utils.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "foundation/sjis_text.h"

namespace {

constexpr char kWideSpace[] = "\x81\x40";  // "　"

bool IsWideSpace(const char* p) {
  return SjisCharLength(p) == 2 && p[0] == kWideSpace[0] && p[1] == kWideSpace[1];
}

// Bytes of the blank at `p` (1 or 2), 0 when there is none.
int BlankLength(const char* p) {
  if (*p == ' ') return 1;
  return IsWideSpace(p) ? 2 : 0;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSingleOf(const char* p, const char* chars) {
  return SjisCharLength(p) == 1 && *p && std::strchr(chars, *p);
}

// Copies whole characters of `text` into `out` while they fit in `room`
// bytes (terminator included).
void CopyWholeChars(char* out, size_t room, const char* text) {
  size_t i = 0;
  while (text[i]) {
    const size_t width = SjisCharLength(text + i);
    if (i + width >= room) break;
    i += width;
  }
  std::memcpy(out, text, i);
  out[i] = '\0';
}

// Copies the characters of `text` into `out`, each through `map`: it returns
// the replacement (nullptr to drop the character) for the character at `p`.
template <class Map>
int CopyMapped(char* out, const char* text, Map map) {
  size_t written = 0;
  for (size_t i = 0; text[i];) {
    const size_t width = SjisCharLength(text + i);
    const char* replacement = map(text + i);
    if (replacement == text + i) {
      std::memmove(out + written, text + i, width);
      written += width;
    } else if (replacement) {
      out[written++] = *replacement;
    }
    i += width;
  }
  out[written] = '\0';
  return static_cast<int>(written);
}

}  // namespace

char* TrimSpaces(char* text, int mode) {
  // A blank (0x20) is never the trail byte of a pair, so bytes suffice here.
  if (mode != 1) {
    size_t end = std::strlen(text);
    while (end > 0 && text[end - 1] == ' ') --end;
    text[end] = '\0';
  }
  if (mode != 2) {
    size_t start = 0;
    while (text[start] == ' ') ++start;
    std::memmove(text, text + start, std::strlen(text + start) + 1);
  }
  return text;
}

const char* SkipLeadingSpaces(const char* text) {
  static char rest[kSharedTextSize];
  while (const int blank = BlankLength(text)) text += blank;
  CopyWholeChars(rest, sizeof(rest), text);
  return rest;
}

int RemoveAllSpaces(char* out, const char* text) {
  return CopyMapped(out, text, [](const char* p) { return BlankLength(p) ? nullptr : p; });
}

int RemoveChar(char* text, char c) {
  const char drop[] = {c, '\0'};
  return CopyMapped(text, text, [&](const char* p) { return IsSingleOf(p, drop) ? nullptr : p; });
}

int ReplaceCharWithSpace(char* out, const char* text, char c) {
  const char match[] = {c, '\0'};
  return CopyMapped(out, text, [&](const char* p) { return IsSingleOf(p, match) ? " " : p; });
}

int ParseTrailingNumber(const char* text) {
  // Starts of the last three characters; a character may be two bytes.
  const char* last[3] = {nullptr, nullptr, nullptr};
  for (const char* p = text; *p; p += SjisCharLength(p)) {
    last[0] = last[1];
    last[1] = last[2];
    last[2] = p;
  }
  if (!last[1] || SjisCharLength(last[1]) != 1 || !IsDigit(*last[1])) return -1;
  int number = 0;
  for (const char* p : last) {
    if (p && SjisCharLength(p) == 1 && IsDigit(*p)) number = number * 10 + (*p - '0');
  }
  return number;
}

int NumberBetween(const char* text, char startChar, char endChar) {
  const char* p = text;
  while (*p && !(*p == startChar && SjisCharLength(p) == 1)) p += SjisCharLength(p);
  if (!*p) return 0;
  while (*p == startChar) ++p;
  const char* end = p;
  while (*end && !(*end == endChar && SjisCharLength(end) == 1)) end += SjisCharLength(end);
  char digits[128];
  CopyWholeChars(digits, std::min<size_t>(sizeof(digits), end - p + 1), p);
  return DecimalTextToInt(digits);
}

double ExtractNumberText(char* out, const char* text) {
  CopyMapped(out, text, [](const char* p) { return IsSingleOf(p, "-.0123456789") ? p : nullptr; });
  return std::strtod(out, nullptr);
}

const char* FormatThousands(double value) {
  static char text[kSharedTextSize];
  char plain[512];  // "%.0f" of the largest double has 309 digits
  std::snprintf(plain, sizeof(plain), "%.0f", value);
  const char* digits = plain[0] == '-' ? plain + 1 : plain;
  const size_t count = std::strlen(digits);
  size_t out = 0;
  if (digits != plain) text[out++] = '-';
  for (size_t i = 0; i < count; ++i) {
    if (i > 0 && (count - i) % 3 == 0 && IsDigit(digits[i])) text[out++] = ',';
    text[out++] = digits[i];
  }
  text[out] = '\0';
  return text;
}

int GetPathSegment(char* out, const char* path) {
  out[0] = '\0';
  if (!*path) return -1;
  const char* p = path;
  while (*p && !IsSingleOf(p, "#\\")) p += SjisCharLength(p);
  if (!*p) return 0;
  const char* segment = ++p;
  while (*p && !IsSingleOf(p, "#\\")) p += SjisCharLength(p);
  std::memcpy(out, segment, p - segment);
  out[p - segment] = '\0';
  return 0;
}

int GetLastPathSegment(char* out, const char* path) {
  out[0] = '\0';
  if (!*path) return -1;
  const char* segment = path;
  for (const char* p = path; *p; p += SjisCharLength(p)) {
    if (IsSingleOf(p, "\\:")) segment = p + 1;
  }
  std::strcpy(out, segment);
  return 0;
}
