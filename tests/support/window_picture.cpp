// Saving what the display shows of a window as a PNG.
#include "tests/support/window_picture.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "tests/support/test_pictures.h"

void RunDisplayMessages() {
  MSG msg;
  for (int round = 0; round < 5; ++round) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(50);
  }
}

bool SaveWindowPicture(HWND window, const std::string& path) {
  if (!window) return false;
  // The display shows a window once its server has drawn it: a moment.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  for (int i = 0; i < 4; ++i) RunDisplayMessages();
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  std::vector<std::uint8_t> rgb;
  const auto* pixels = static_cast<const std::uint8_t*>(bits);
  for (int i = 0; i < width * height; ++i) rgb.insert(rgb.end(), {pixels[4 * i + 2], pixels[4 * i + 1], pixels[4 * i]});
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  const bool written = WritePng(path, width, height, rgb);
  std::printf("%s %s\n", written ? "saved" : "cannot write", path.c_str());
  return written;
}

