// Fixed tables of contour tracing and thinning (contour_tables.cpp).
#pragma once

#include <cstdint>

extern const uint32_t kContourLinkTable[256];

struct ContourNormal {
  int16_t x, y;
};
extern const ContourNormal kContourNormalTable[256];
