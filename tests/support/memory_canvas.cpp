#include "tests/support/memory_canvas.h"

MemoryCanvas::MemoryCanvas(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<std::uint32_t*>(bits);
  previous_ = SelectObject(dc_, bitmap_);
  Clear(RGB(255, 255, 255));
}

MemoryCanvas::~MemoryCanvas() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

void MemoryCanvas::Clear(COLORREF color) {
  GdiFlush();
  const std::uint32_t pixel = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  for (int i = 0; i < width_ * height_; ++i) bits_[i] = pixel;
}

COLORREF MemoryCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  GdiFlush();
  const std::uint32_t p = bits_[y * width_ + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int MemoryCanvas::CountColor(int left, int top, int right, int bottom, COLORREF color) const {
  int n = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) n += Pixel(x, y) == color ? 1 : 0;
  }
  return n;
}

int MemoryCanvas::InkIn(int left, int top, int right, int bottom) const {
  const int area = (right - left) * (bottom - top);
  return area - CountColor(left, top, right, bottom, RGB(255, 255, 255));
}

std::vector<std::string> MemoryCanvas::Rows() const {
  std::vector<std::string> rows(height_, std::string(width_, '.'));
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const COLORREF color = Pixel(x, y);
      rows[y][x] = color == RGB(0, 0, 0) ? '#' : color == RGB(255, 255, 255) ? '.' : '?';
    }
  }
  return rows;
}
