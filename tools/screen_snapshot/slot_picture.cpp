#include "tools/screen_snapshot/slot_picture.h"

#include <windows.h>

#include "screen/screen.h"

std::vector<std::uint8_t> PaintSlotPicture(int slot, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HDC dc = CreateCompatibleDC(nullptr);
  const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(dc, bitmap);
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  if (BeginScreenPaintDC(dc, slot, 0, 0)) {
    PaintScreenPage(Slot(slot).window, slot);
    EndScreenPaintDC();
  }
  GdiFlush();
  std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    rgb[i * 3] = static_cast<std::uint8_t>(pixels[i] >> 16);
    rgb[i * 3 + 1] = static_cast<std::uint8_t>(pixels[i] >> 8);
    rgb[i * 3 + 2] = static_cast<std::uint8_t>(pixels[i]);
  }
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return rgb;
}
