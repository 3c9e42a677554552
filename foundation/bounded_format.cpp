// Bounded formatting for the program's shared text buffers.
#include "foundation/bounded_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

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

namespace {

// std::nearbyint without its cost here (the runtime saves and restores the
// floating-point state around it): below 2^52 adding and taking away 2^52
// rounds in the current mode, ties to even by default; the sign stays.
double NearestWhole(double value) {
  constexpr double kExactWhole = 4503599627370496.0;  // 2^52
  if (!(std::fabs(value) < kExactWhole)) return value;
  const double rounded =
      value >= 0 ? (value + kExactWhole) - kExactWhole : (value - kExactWhole) + kExactWhole;
  return std::copysign(rounded, value);
}

}  // namespace

char* WriteFixedDecimals(char* out, char* end, double value, int decimals) {
  static constexpr double kTens[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  constexpr double kExactWhole = 4503599627370496.0;  // 2^52
  if (decimals >= 0 && decimals < static_cast<int>(std::size(kTens)) && std::isfinite(value)) {
    // A product that comes out whole below 2^52 was rounded by a quarter at
    // most, so it is the value's own decimals rounded; without decimals,
    // rounding to the nearest (ties to even) is exact.
    const double scaled = decimals == 0 ? NearestWhole(value) : value * kTens[decimals];
    if (std::fabs(scaled) < kExactWhole && std::trunc(scaled) == scaled) {
      char digits[24];
      const auto whole = static_cast<long long>(std::fabs(scaled));
      const int count = static_cast<int>(std::to_chars(digits, digits + sizeof digits, whole).ptr - digits);
      const int shown = std::max(count, decimals + 1);  // "0.05": zeros in front
      const int length = (std::signbit(value) ? 1 : 0) + shown + (decimals > 0 ? 1 : 0);
      if (end - out < length) return nullptr;
      if (std::signbit(value)) *out++ = '-';
      for (int at = 0; at < shown; ++at) {
        if (at == shown - decimals) *out++ = '.';
        *out++ = at < shown - count ? '0' : digits[at - (shown - count)];
      }
      return out;
    }
  }
  const std::to_chars_result written = std::to_chars(out, end, value, std::chars_format::fixed, decimals);
  return written.ec == std::errc() ? written.ptr : nullptr;
}
