// Fixed-width number texts, mark texts and text chunks (see number_format.h).
#include "screen/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/sjis_text.h"
#include "foundation/text_utils.h"

namespace {

// Mark texts, spelled as bytes so every compiler reads them alike.
constexpr const char kMarkStar[] = "\x81\x96";    // ＊
constexpr const char kMarkDash[] = "\x81\x7c";    // －
constexpr const char kMarkCircle[] = "\x81\x9b";  // ○
constexpr const char kMarkCross[] = "\x81\x7e";   // ×

constexpr int kFormatBufferSize = 256;
char g_formatBuffer[kFormatBufferSize];
int g_nextChunkStart = 0;

int ClampWidth(int width) {
  if (width < 0) return 0;
  return width < kFormatBufferSize - 1 ? width : kFormatBufferSize - 1;
}

const char* FormatRightAligned(const char* text, int width) {
  std::snprintf(g_formatBuffer, sizeof g_formatBuffer, "%*s", ClampWidth(width), text);
  return g_formatBuffer;
}

}  // namespace

const char* FormatIntFixed(int value, int width) {
  if (value == 9999) return FormatRightAligned(kMarkDash, width);
  std::snprintf(g_formatBuffer, sizeof g_formatBuffer, "%*d", ClampWidth(width), value);
  return g_formatBuffer;
}

const char* FormatShortFixed(short value, int width) {
  if (value == -1) return FormatRightAligned(kMarkStar, width);
  if (value == -2) return FormatRightAligned(kMarkDash, width);
  const int clamped = ClampWidth(width);
  std::snprintf(g_formatBuffer, sizeof g_formatBuffer, "%*d", clamped, value);
  if (static_cast<int>(std::strlen(g_formatBuffer)) > clamped) {
    std::memset(g_formatBuffer, '*', clamped);
    g_formatBuffer[clamped] = '\0';
  }
  return g_formatBuffer;
}

int MarkTextToCode(const char* text) {
  if (std::strcmp(text, kMarkStar) == 0) return -1;
  if (std::strcmp(text, kMarkDash) == 0) return -2;
  return -9999;
}

int ParseMarkText(char type, const char* text) {
  std::string copy = text ? text : "";
  const std::string t = TrimSpaces(copy.data(), 0);
  switch (type) {
    case 't':
      return MarkTextToCode(t.c_str());
    case 'h':
      if (t == kMarkDash) return -2;
      if (t == kMarkStar) return -1;
      break;
    case 'j':
      if (t == kMarkDash) return 9999;
      break;
    case '-':
      if (t == kMarkDash) return 0;
      break;
    case 'b':
      if (t.empty()) return 0;
      break;
    case 'f':
      if (t == kMarkCircle) return 0;
      if (t == kMarkCross) return -1;
      break;
    default:
      break;
  }
  return -9999;
}

double RoundToDecimals(double x, int n) {
  const double scale = std::pow(10.0, n);
  return std::floor(x * scale + 0.5) / scale;
}

int TakeTextChunk(int start, int count, char* out, const char* text) {
  const int length = static_cast<int>(std::strlen(text));
  if (start < 0) start = 0;
  if (start > length) start = length;
  int take = count < length - start ? count : length - start;
  if (take < 0) take = 0;
  // A chunk must not end between the two bytes of a character: walk the
  // characters of the chunk and stop before a pair that would be cut.
  int used = 0;
  while (used < take) {
    const bool pair = IsSjisLeadByte(static_cast<unsigned char>(text[start + used])) &&
                      start + used + 1 < length;
    const int step = pair ? 2 : 1;
    if (used + step > take) break;
    used += step;
  }
  std::memcpy(out, text + start, used);
  out[used] = '\0';
  g_nextChunkStart = start + used;
  return g_nextChunkStart >= length ? 1 : 0;
}

int TakeTextChunkNext() { return g_nextChunkStart; }

int CountCharOccurrences(const char* text, char c) {
  const int n = CountCharDbcs(text, c);
  return n > 0 ? n + 1 : 0;
}
