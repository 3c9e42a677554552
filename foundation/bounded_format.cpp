// Bounded formatting for the program's shared text buffers.
#include "foundation/bounded_format.h"

#include <cstdio>
#include <cstring>

#include "foundation/sjis_text.h"

int CharBoundaryLength(const char* text, int length) {
  int i = 0;
  while (i < length) {
    const int width = IsSjisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + width > length) break;
    i += width;
  }
  return i;
}

int FormatTextBoundedV(char* out, int size, const char* format, va_list args) {
  if (!out || size <= 0) return 0;
  const int wanted = std::vsnprintf(out, static_cast<size_t>(size), format, args);
  if (wanted < 0) {
    out[0] = '\0';
    return 0;
  }
  if (wanted < size) return wanted;
  const int kept = CharBoundaryLength(out, size - 1);
  out[kept] = '\0';
  return kept;
}

int FormatTextBounded(char* out, int size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int length = FormatTextBoundedV(out, size, format, args);
  va_end(args);
  return length;
}

std::string CutAtCharBoundary(const char* text, int room) {
  const int length = static_cast<int>(std::strlen(text));
  return std::string(text, length <= room ? length : CharBoundaryLength(text, room));
}
