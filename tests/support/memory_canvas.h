// A white 32-bit DIB section selected into a memory DC: the drawing target of
// the painting, printing-preview and imaging tests, read back by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class MemoryCanvas {
 public:
  MemoryCanvas(int width, int height);
  ~MemoryCanvas();
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Colour at (x, y); CLR_INVALID outside.
  COLORREF Pixel(int x, int y) const;
  // Number of pixels of `color` inside [left, right) x [top, bottom).
  int CountColor(int left, int top, int right, int bottom, COLORREF color) const;
  // Number of pixels that are not white inside [left, right) x [top, bottom).
  int InkIn(int left, int top, int right, int bottom) const;
  // The whole canvas as rows of text: '#' black, '.' white, '?' other.
  std::vector<std::string> Rows() const;
  // Fills everything with `color`.
  void Clear(COLORREF color);

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};
