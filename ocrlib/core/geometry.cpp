// Integer geometry: vector length in 1/256 units, directions and vertex
// angles in whole degrees, the arctangent of a ratio in hundredths, the
// integer square root and the index sort. Pure functions of their arguments
// and constant tables. Results are fixed to the unit, the rounding and the
// table value: the shape checks compare them against fixed thresholds.
//
// Products are formed in 64 bits, so no argument can overflow an
// intermediate; a length beyond the 32-bit range saturates.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "ocrlib/core/core_internal.h"

namespace {

int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

int64_t Abs64(int32_t v) { return v < 0 ? -int64_t{v} : v; }

// (n x 65536 ± d / 2) / d: a quotient rounded half away from zero.
int64_t RoundedUnit(int64_t n, int64_t d) {
  const int64_t scaled = n * 65536;
  return n > 0 ? (scaled + d / 2) / d : (scaled - d / 2) / d;
}

}  // namespace

int32_t ApproxDistance(int32_t dx, int32_t dy) {
  const int64_t a = Abs64(dx), b = Abs64(dy);
  if (a < 32 && b < 32) return kDistanceTable[a][b];
  const int64_t m = std::max(a, b), s = std::min(a, b);
  return Saturate(kDistanceRatioTable[s * 256 / m] * m);
}

int32_t ClampTableLookup(int32_t cosine256) {
  const int64_t i = std::clamp<int64_t>(int64_t{cosine256} + 256, 0, 513);
  return kArccosTable[i];
}

int32_t ArctanPercent(int32_t ratioHundredths) {
  const int64_t q = Abs64(ratioHundredths);
  int64_t degrees;
  if (q <= 11) degrees = (q + 1) / 2;
  else if (q <= 18) degrees = q / 2 + 1;
  else if (q == 19) degrees = 11;
  else if (q <= 59) degrees = q / 2 + 2;
  else if (q <= 69) degrees = q / 2 + 1;
  else if (q <= 79) degrees = q / 2;
  else if (q <= 109) degrees = q / 3 + 12;
  else if (q <= 119) degrees = q / 3 + 11;
  else if (q <= 159) degrees = q / 5 + 27;
  else if (q <= 179) degrees = q / 5 + 26;
  else if (q <= 189) degrees = q / 5 + 25;
  else if (q <= 519) degrees = kArctanTensTable[q / 10 - 19];
  else if (q <= 2299) degrees = kArctanHundredsTable[q / 100 - 5];
  else if (q <= 2899) degrees = 88;
  else if (q <= 5799) degrees = 89;
  else degrees = 90;
  return static_cast<int32_t>(ratioHundredths < 0 ? -degrees : degrees);
}

// Each sector divides by the larger component, so the ratio handed to
// ArctanPercent is at most 100 in magnitude.
int32_t VectorAngle(int32_t x, int32_t y) {
  const int64_t X = x, Y = y;
  if (X == 0 && Y == 0) return 0;
  const auto ratio = [](int64_t n, int64_t d) { return static_cast<int32_t>(100 * n / d); };
  if (Y < X && Y > -X) return ArctanPercent(ratio(Y, X));
  if (Y < X) return ArctanPercent(ratio(-X, Y)) - 90;
  if (Y > -X) return ArctanPercent(ratio(-X, Y)) + 90;
  return ArctanPercent(ratio(Y, X)) + (Y <= 0 ? -180 : 180);
}

int32_t AngleAtVertex(GeoPoint a, GeoPoint b, GeoPoint c) {
  const int32_t dx1 = b.x - a.x, dy1 = b.y - a.y;
  const int64_t l1 = ApproxDistance(dx1, dy1);
  const int64_t ux = l1 != 0 ? RoundedUnit(dx1, l1) : 0;
  const int64_t uy = l1 != 0 ? RoundedUnit(dy1, l1) : 0;
  const int32_t dx2 = c.x - a.x, dy2 = c.y - a.y;
  const int64_t l2 = ApproxDistance(dx2, dy2);
  int64_t cosine = 0;
  if (l2 != 0) {
    const int64_t s = (dx2 * ux + dy2 * uy) * 256;
    cosine = s > 0 ? (s + l2 / 2) / l2 : (s - l2 / 2) / l2;
  }
  return ClampTableLookup(static_cast<int32_t>(std::clamp<int64_t>(cosine, -1024, 1024)));
}

int32_t IntSqrt(int32_t v) {
  if (v < 1) return 0;
  int32_t s = 1;
  for (int32_t w = v; w > s; w /= 2) s *= 2;
  for (;;) {
    const int32_t next = static_cast<int32_t>((int64_t{s} + v / s) / 2);
    if (next >= s) return s;
    s = next;
  }
}

void ShellSortIndices(const int32_t* keys, int n, uint32_t* order) {
  for (int i = 0; i < n; ++i) order[i] = static_cast<uint32_t>(i);
  for (int gap = n / 2; gap >= 1; gap /= 2) {
    for (int i = gap; i < n; ++i) {
      for (int j = i - gap; j >= 0 && keys[order[j + gap]] < keys[order[j]]; j -= gap) {
        std::swap(order[j], order[j + gap]);
      }
    }
  }
}

void ShellSortIndexArray(const int32_t* keys, int n, uint32_t* order) {
  ShellSortIndices(keys, n, order);
}
