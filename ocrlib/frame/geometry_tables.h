// Constant tables of the integer geometry (geometry_tables.cpp).
#pragma once

#include <array>
#include <cstdint>

// floor(256 x sqrt(a² + b²)), [a][b] for a, b = 0..31.
extern const std::array<std::array<int32_t, 32>, 32> kDistanceTable;
// round(256 x sqrt(1 + (i / 256)²)), i = 0..256.
extern const std::array<int32_t, 257> kDistanceRatioTable;
// round(acos((i - 256) / 256)) in degrees, i = 0..512; [513] = 0.
extern const std::array<int32_t, 514> kArccosTable;
// Arctangent in degrees of ratios 190..519 hundredths, by ratio / 10 - 19.
extern const std::array<int32_t, 33> kArctanTensTable;
// Arctangent in degrees of ratios 500..2299 hundredths, by ratio / 100 - 5.
extern const std::array<int32_t, 18> kArctanHundredsTable;
