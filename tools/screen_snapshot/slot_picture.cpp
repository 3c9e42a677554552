#include "tools/screen_snapshot/slot_picture.h"

#include <windows.h>

#include "screen/screen.h"

namespace {

// A 32-bit top-down DIB section selected into a memory DC, read back as
// R, G, B bytes.
class Canvas {
 public:
  Canvas(HDC compatible, int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(compatible);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC dc() const { return dc_; }
  std::vector<std::uint8_t> Rgb() const {
    GdiFlush();
    const size_t count = static_cast<size_t>(width_) * height_;
    std::vector<std::uint8_t> rgb(count * 3);
    const auto* pixels = static_cast<const std::uint32_t*>(bits_);
    for (size_t i = 0; i < count; ++i) {
      rgb[i * 3] = static_cast<std::uint8_t>(pixels[i] >> 16);
      rgb[i * 3 + 1] = static_cast<std::uint8_t>(pixels[i] >> 8);
      rgb[i * 3 + 2] = static_cast<std::uint8_t>(pixels[i]);
    }
    return rgb;
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  void* bits_ = nullptr;
};

}  // namespace

std::vector<std::uint8_t> PaintSlotPicture(int slot, int width, int height) {
  Canvas canvas(nullptr, width, height);
  const RECT all{0, 0, width, height};
  FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  if (BeginScreenPaintDC(canvas.dc(), slot, 0, 0)) {
    PaintScreenPage(Slot(slot).window, slot);
    EndScreenPaintDC();
  }
  return canvas.Rgb();
}

std::vector<std::uint8_t> CopyWindowPicture(HWND window, int* width, int* height) {
  RECT r{};
  GetWindowRect(window, &r);
  *width = r.right - r.left;
  *height = r.bottom - r.top;
  if (*width <= 0 || *height <= 0) return {};
  const HDC source = GetWindowDC(window);
  Canvas canvas(source, *width, *height);
  BitBlt(canvas.dc(), 0, 0, *width, *height, source, 0, 0, SRCCOPY);
  ReleaseDC(window, source);
  return canvas.Rgb();
}
