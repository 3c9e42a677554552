// The noise eraser library ENSH32: removes black specks from a 1-bit image
// in memory. Its image record has the layout of the reading road's sheet
// images (and of the recognition library's image record).
#pragma once

#include <cstdint>

#define ENSH_API extern "C"
#define ENSH_CALL __stdcall

struct EnshImage {
  int16_t width;
  int16_t height;
  uint16_t bitsPerPixel;  // 1
  int16_t bytesPerLine;   // row y starts at bits + y x bytesPerLine
  int16_t dpi;
  uint16_t polarity;      // 0: bit value 0 is black; 1: bit value 1 is
  uint8_t* bits;          // top row first
};

// Inclusive rectangle of the image to clean.
struct EnshRect {
  int16_t left, top, right, bottom;
};

// Failure of EnshEraseNoise; EnshGetError tells why.
constexpr int16_t kEnshFailed = -9;

// Error codes of EnshGetError.
enum : int16_t {
  kEnshNoError = 0,
  kEnshBadImage = 1,      // no pixels, not 1 bit a pixel, sizes out of range
  kEnshBadRectangle = 2,  // empty or not inside the image
  kEnshBadSpeckSize = 3,  // the speck size is not 1 to 255
  kEnshNoMemory = 4,
};

// Erases the black specks (8-connected components whose bounding box fits in
// a square of parameters[0] pixels) inside `rect`; parameters[1] is
// reserved and passed as 0. Returns the number of specks erased (at most
// 32767), or kEnshFailed.
ENSH_API int16_t ENSH_CALL EnshEraseNoise(EnshImage* image, const EnshRect* rect,
                                         const int16_t* parameters);
// The code of the last failure (kEnshNoError after a success) and its text,
// copied into `text` (room for `capacity` bytes, may be null).
ENSH_API int16_t ENSH_CALL EnshGetError(char* text, int16_t capacity);
