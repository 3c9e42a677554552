#include "tests/entry/settings_preview.h"

#include <windows.h>

#include <memory>

#include "tally/tally.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/memory_canvas.h"
#include "tests/support/window_picture.h"

namespace {

std::unique_ptr<MemoryCanvas> CopyPreview() {
  const HWND preview = g_printSettingsWindow.preview;
  RedrawWindow(preview, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RunDisplayMessages();
  RECT client{};
  GetClientRect(preview, &client);
  auto canvas = std::make_unique<MemoryCanvas>(client.right, client.bottom);
  const HDC dc = GetDC(preview);
  BitBlt(canvas->dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(preview, dc);
  return canvas;
}

}  // namespace

int PreviewBlackPixels() {
  const auto canvas = CopyPreview();
  return canvas->CountColor(0, 0, canvas->width(), canvas->height(), kBlack);
}

int PreviewLowestRowOf(unsigned long colour) {
  const auto canvas = CopyPreview();
  for (int y = canvas->height() - 1; y >= 0; --y) {
    if (canvas->CountColor(0, y, canvas->width(), y + 1, colour) > 0) return y;
  }
  return -1;
}
