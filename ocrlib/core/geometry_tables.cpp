// Constant tables of the integer geometry. The distance tables follow exact
// integer rules and are computed at compile time; the angle tables are given
// by their values, which the shape checks' thresholds were tuned against
// (two arccos entries lie within a millionth of a degree of a rounding
// boundary, so they are not left to a floating-point library).
#include "ocrlib/core/core_internal.h"

namespace {

constexpr int64_t FloorSqrt(int64_t v) {
  int64_t r = 0;
  for (int64_t bit = int64_t{1} << 31; bit > 0; bit >>= 1) {
    if ((r + bit) * (r + bit) <= v) r += bit;
  }
  return r;
}

// sqrt(v) rounded to nearest; an integer v is never halfway.
constexpr int64_t RoundSqrt(int64_t v) {
  const int64_t r = FloorSqrt(v);
  return v - r * r > r ? r + 1 : r;
}

constexpr std::array<std::array<int32_t, 32>, 32> MakeDistanceTable() {
  std::array<std::array<int32_t, 32>, 32> t{};
  for (int a = 0; a < 32; ++a) {
    for (int b = 0; b < 32; ++b) {
      t[a][b] = static_cast<int32_t>(FloorSqrt(65536 * (a * a + b * b)));
    }
  }
  return t;
}

constexpr std::array<int32_t, 257> MakeDistanceRatioTable() {
  std::array<int32_t, 257> t{};
  for (int i = 0; i <= 256; ++i) t[i] = static_cast<int32_t>(RoundSqrt(65536 + i * i));
  return t;
}

}  // namespace

constexpr std::array<std::array<int32_t, 32>, 32> kDistanceTable = MakeDistanceTable();
constexpr std::array<int32_t, 257> kDistanceRatioTable = MakeDistanceRatioTable();
static_assert(kDistanceTable[0][1] == 256 && kDistanceTable[1][1] == 362 &&
              kDistanceTable[4][1] == 1055 && kDistanceTable[31][31] == 11223);
static_assert(kDistanceRatioTable[0] == 256 && kDistanceRatioTable[128] == 286 &&
              kDistanceRatioTable[256] == 362);

constexpr std::array<int32_t, 514> kArccosTable = {
    180, 175, 173, 171, 170, 169, 168, 167, 166, 165, 164, 163, 162, 162, 161, 160, 160,
    159, 158, 158, 157, 157, 156, 156, 155, 154, 154, 153, 153, 152, 152, 152, 151, 151,
    150, 150, 149, 149, 148, 148, 148, 147, 147, 146, 146, 146, 145, 145, 144, 144, 144,
    143, 143, 142, 142, 142, 141, 141, 141, 140, 140, 140, 139, 139, 139, 138, 138, 138,
    137, 137, 137, 136, 136, 136, 135, 135, 135, 134, 134, 134, 133, 133, 133, 133, 132,
    132, 132, 131, 131, 131, 130, 130, 130, 130, 129, 129, 129, 128, 128, 128, 128, 127,
    127, 127, 126, 126, 126, 126, 125, 125, 125, 125, 124, 124, 124, 123, 123, 123, 123,
    122, 122, 122, 122, 121, 121, 121, 121, 120, 120, 120, 119, 119, 119, 119, 118, 118,
    118, 118, 117, 117, 117, 117, 116, 116, 116, 116, 115, 115, 115, 115, 114, 114, 114,
    114, 113, 113, 113, 113, 113, 112, 112, 112, 112, 111, 111, 111, 111, 110, 110, 110,
    110, 109, 109, 109, 109, 108, 108, 108, 108, 108, 107, 107, 107, 107, 106, 106, 106,
    106, 105, 105, 105, 105, 104, 104, 104, 104, 104, 103, 103, 103, 103, 102, 102, 102,
    102, 101, 101, 101, 101, 101, 100, 100, 100, 100, 99, 99, 99, 99, 99, 98, 98, 98,
    98, 97, 97, 97, 97, 97, 96, 96, 96, 96, 95, 95, 95, 95, 94, 94, 94, 94, 94, 93, 93,
    93, 93, 92, 92, 92, 92, 92, 91, 91, 91, 91, 90, 90, 90, 90, 90, 89, 89, 89, 89, 88,
    88, 88, 88, 88, 87, 87, 87, 87, 86, 86, 86, 86, 86, 85, 85, 85, 85, 84, 84, 84, 84,
    83, 83, 83, 83, 83, 82, 82, 82, 82, 81, 81, 81, 81, 81, 80, 80, 80, 80, 79, 79, 79,
    79, 79, 78, 78, 78, 78, 77, 77, 77, 77, 76, 76, 76, 76, 76, 75, 75, 75, 75, 74, 74,
    74, 74, 73, 73, 73, 73, 72, 72, 72, 72, 72, 71, 71, 71, 71, 70, 70, 70, 70, 69, 69,
    69, 69, 68, 68, 68, 68, 67, 67, 67, 67, 67, 66, 66, 66, 66, 65, 65, 65, 65, 64, 64,
    64, 64, 63, 63, 63, 63, 62, 62, 62, 62, 61, 61, 61, 61, 60, 60, 60, 59, 59, 59, 59,
    58, 58, 58, 58, 57, 57, 57, 57, 56, 56, 56, 55, 55, 55, 55, 54, 54, 54, 54, 53, 53,
    53, 52, 52, 52, 52, 51, 51, 51, 50, 50, 50, 50, 49, 49, 49, 48, 48, 48, 47, 47, 47,
    47, 46, 46, 46, 45, 45, 45, 44, 44, 44, 43, 43, 43, 42, 42, 42, 41, 41, 41, 40, 40,
    40, 39, 39, 39, 38, 38, 38, 37, 37, 36, 36, 36, 35, 35, 34, 34, 34, 33, 33, 32, 32,
    32, 31, 31, 30, 30, 29, 29, 28, 28, 28, 27, 27, 26, 26, 25, 24, 24, 23, 23, 22, 22,
    21, 20, 20, 19, 18, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 7, 5, 0, 0,
};
static_assert(kArccosTable[0] == 180 && kArccosTable[1] == 175 && kArccosTable[256] == 90 &&
              kArccosTable[511] == 5 && kArccosTable[512] == 0 && kArccosTable[513] == 0);

constexpr std::array<int32_t, 33> kArctanTensTable = {
    63, 64, 65, 66, 67, 67, 68, 69, 70, 70, 71, 72, 72, 72, 73, 73, 74,
    74, 75, 75, 75, 76, 76, 76, 77, 77, 77, 77, 78, 78, 78, 78, 79,
};

constexpr std::array<int32_t, 18> kArctanHundredsTable = {
    79, 80, 81, 82, 83, 84, 85, 85, 85, 86, 86, 86, 86, 86, 87, 87, 87, 87,
};
