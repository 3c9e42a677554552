// A 1-bit page in memory for the tests of the reading arithmetic: white,
// with black rectangles drawn where a test wants them.
#pragma once

#include <cstdint>
#include <vector>

#include "reading/sheet_core.h"

class SheetPage {
 public:
  // `width` is rounded up to a multiple of 32, as loaded pages are.
  SheetPage(int width, int height, int dpi) : pixels_((width + 31) / 32 * 4 * height, 0xFF) {
    bitmap_.width = static_cast<int16_t>((width + 31) / 32 * 32);
    bitmap_.height = static_cast<int16_t>(height);
    bitmap_.bytesPerLine = static_cast<int16_t>((width + 31) / 32 * 4);
    bitmap_.dpi = static_cast<int16_t>(dpi);
    bitmap_.polarity = 0;
    bitmap_.bits = pixels_.data();
  }

  void Black(int left, int top, int width, int height) {
    for (int y = top; y < top + height; ++y) {
      for (int x = left; x < left + width; ++x) {
        if (x >= 0 && y >= 0 && x < bitmap_.width && y < bitmap_.height) {
          pixels_[y * bitmap_.bytesPerLine + x / 8] &= static_cast<uint8_t>(~(0x80 >> (x % 8)));
        }
      }
    }
  }

  const SheetBitmap& bitmap() const { return bitmap_; }

 private:
  std::vector<uint8_t> pixels_;
  SheetBitmap bitmap_;
};
