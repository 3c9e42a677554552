// Speck erasure on 1-bit pixel rows: black specks, the 8-connected
// components whose bounding box fits in a square of the given size, become
// white. One pass over the rows collects the black runs and joins touching
// runs into components; nothing is searched pixel by pixel. The noise eraser
// library (ENSH32) runs it on the images the program hands it. Portable.
#pragma once

#include <cstdint>

// 1-bit pixel rows, most significant bit leftmost; it owns nothing.
struct SpeckImage {
  int width = 0;
  int height = 0;
  int bytesPerLine = 0;
  bool zeroIsBlack = false;  // which bit value is black
  uint8_t* bits = nullptr;   // top row first
};

enum class SpeckStatus {
  kOk,
  kBadImage,      // no pixels, or a size or row length that does not fit
  kBadRectangle,  // empty, or not inside the image
  kBadSize,       // a speck size below 1 or above kMaxSpeckSize
  kNoMemory,
};

constexpr int kMaxSpeckSize = 255;

// Erases the specks of at most `speckSize` x `speckSize` pixels inside the
// inclusive rectangle; components are taken as they lie inside it. Returns
// the status and, through `erased`, how many specks went.
SpeckStatus EraseSpecks(const SpeckImage& image, int left, int top, int right, int bottom,
                        int speckSize, long* erased);
