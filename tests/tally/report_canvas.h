// A white 32-bit bitmap behind a memory DC: the preview target of report
// tests, read back pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>

class ReportCanvas {
 public:
  ReportCanvas(int width, int height) : width_(width) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, width, height, WHITENESS);
  }
  ~ReportCanvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  ReportCanvas(const ReportCanvas&) = delete;
  ReportCanvas& operator=(const ReportCanvas&) = delete;

  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  bool Dark(int x, int y) const { return At(x, y) == RGB(0, 0, 0); }
  // Pixels that are not white inside [left, right) x [top, bottom).
  int InkIn(int left, int top, int right, int bottom) const {
    int ink = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) ink += At(x, y) != RGB(255, 255, 255);
    }
    return ink;
  }

 private:
  int width_;
  HBITMAP bitmap_;
  uint32_t* bits_;
  HDC dc_;
  HGDIOBJ old_;
};
