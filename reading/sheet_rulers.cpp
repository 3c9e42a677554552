// The rulers along a sheet shown on screen.
#include "reading/sheet_rulers.h"

#include <cstdio>
#include <cstring>

#include "foundation/gdi_draw.h"
#include "screen/screen.h"

namespace {

constexpr int kWhite = 7, kBlack = 0;
constexpr int kMinorTick = 10;

// An etched line: white, and black one pixel beside it.
void EtchedLine(HDC dc, int x1, int y1, int x2, int y2, bool horizontal) {
  GdiOwner<HPEN> white(CreatePen(PS_SOLID, 1, ColorFromCode(kWhite)));
  GdiOwner<HPEN> black(CreatePen(PS_SOLID, 1, ColorFromCode(kBlack)));
  {
    SelectScope use(dc, white.get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
  }
  SelectScope use(dc, black.get());
  MoveToEx(dc, x1 + (horizontal ? 0 : 1), y1 + (horizontal ? 1 : 0), nullptr);
  LineTo(dc, x2 + (horizontal ? 0 : 1), y2 + (horizontal ? 1 : 0));
}

}  // namespace

void DrawSheetRuler(HDC dc, bool top, const RECT& strip, int step, int firstPixel) {
  if (step <= 0) return;
  const int breadth = top ? strip.bottom - strip.top : strip.right - strip.left;
  const int start = top ? strip.left : strip.top;
  const int length = top ? strip.right - strip.left : strip.bottom - strip.top;
  const int across = top ? strip.bottom - 1 : strip.right - 1;  // the edge along the sheet
  if (top) {
    EtchedLine(dc, start, across, start + length, across, true);
  } else {
    EtchedLine(dc, across, start, across, start + length, false);
  }
  SetBkMode(dc, TRANSPARENT);
  for (int n = firstPixel / step; n * step - firstPixel <= length; ++n) {
    const int at = n * step - firstPixel;
    if (at < 0) continue;
    const bool major = n % 10 == 0;
    const int size = major ? breadth - 4 : kMinorTick;
    if (top) {
      EtchedLine(dc, start + at, across - size, start + at, across, false);
    } else {
      EtchedLine(dc, across - size, start + at, across, start + at, true);
    }
    if (major && n > 0) {
      char number[8];
      std::snprintf(number, sizeof number, "%2d", n / 10);
      if (top) {
        TextOutA(dc, start + at + 2, across - breadth + 2, number, static_cast<int>(std::strlen(number)));
      } else {
        TextOutA(dc, strip.left + 2, start + at + 2, number, static_cast<int>(std::strlen(number)));
      }
    }
  }
}
