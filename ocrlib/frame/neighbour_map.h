// The neighbour map of a character: one byte per pixel of its rectangle,
// widened to whole bytes, with a 2-pixel border. Bit 0 the pixel is black;
// bit 4 the pixel below is black, bit 5 the pixel to the right, bit 6 the
// pixel to the left, bit 7 the pixel above (see stroke_records.h).
#pragma once

#include <cstdint>

constexpr int kNeighbourMapBorder = 2;
constexpr int kMaxNeighbourMapBytes = 500000;

// Fills `map` from the inclusive rectangle of a 1-bit image (bit 7 of a byte
// the leftmost pixel, a set bit black): width = ((right >> 3) - (left >> 3) +
// 1) x 8 + 4, height = bottom - top + 5, pixel (x, y) at (x - (left & ~7) +
// 2, y - top + 2); pixels of the first and last byte outside left..right are
// left out. Returns 0 (with bottom < top only the sizes are reported), or -9
// after 6001 when the map would exceed 500,000 bytes (nothing written).
int BuildNeighbourMap(const uint8_t* bitmap, int left, int right, int top, int bottom,
                      int bytesPerLine, uint8_t* map, int* mapWidth, int* mapHeight);
