// Boxes of printed sheets and forms: numbered, dashed and dotted boxes,
// text centred in a box and the seven postcode cells. Positions are in steps
// of 5 report units; on the printer the page's printable corner (25 report
// units) is taken off before scaling, as for the text of the same family.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "foundation/gdi_draw.h"
#include "tally/report_internal.h"

namespace {

struct BoxRect {
  int left, top, right, bottom;  // device units, y before the y sign
};

BoxRect PlaceBox(int column, int row, int width, int height) {
  const int s = ReportScale();
  const int corner = ReportOnPrinter() ? 25 : 0;
  const int left = (column * 5 - corner) * s;
  const int top = (row * 5 - corner) * s;
  return {left, top, left + width * 5 * s, top + height * 5 * s};
}

void DrawBoxOutline(HDC dc, const BoxRect& box, int inset) {
  const int y = g_reportOutput.ySign;
  SelectScope hollow(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, box.left + inset, (box.top + inset) * y, box.right - inset,
            (box.bottom - inset) * y);
}

// One to three nested outlines, one report unit apart, with the number in
// blue inside the top-left corner when it is above 0.
void DrawBoxWithNumber(HDC dc, const BoxRect& box, int thickness, int number) {
  const int s = ReportScale();
  const int rings = thickness < 1 ? 1 : thickness > 3 ? 3 : thickness;
  for (int ring = 0; ring < rings; ++ring) DrawBoxOutline(dc, box, ring * s);
  if (number <= 0) return;
  char text[16];
  std::snprintf(text, sizeof text, "%d", number);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorFromCode(1));
  TextOutA(dc, box.left + 10 * s, (box.top + 10 * s) * g_reportOutput.ySign,
           text, static_cast<int>(std::strlen(text)));
  SetTextColor(dc, RGB(0, 0, 0));
}

HPEN CreateDashedPen(int colorCode) {
  const int s = ReportScale();
  const DWORD dashes[] = {static_cast<DWORD>(2 * s), static_cast<DWORD>(2 * s)};
  LOGBRUSH brush{BS_SOLID, ColorFromCode(colorCode), 0};
  return ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, 1, &brush,
                      2, dashes);
}

}  // namespace

void DrawNumberedBox(int column, int row, int width, int height,
                     int thickness, int colorCode, int number) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreateReportLinePen(1, colorCode));
  SelectScope use(dc, pen.get());
  DrawBoxWithNumber(dc, PlaceBox(column, row, width, height), thickness, number);
}

void DrawDashedNumberedBox(int column, int row, int width, int height,
                           int thickness, int colorCode, int number) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreateDashedPen(colorCode));
  SelectScope use(dc, pen.get());
  DrawBoxWithNumber(dc, PlaceBox(column, row, width, height), thickness, number);
}

void DrawDottedBox(int column, int row, int width, int height, int colorCode) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreatePen(PS_DOT, 1, ColorFromCode(colorCode)));
  SelectScope use(dc, pen.get());
  DrawBoxOutline(dc, PlaceBox(column, row, width, height), 0);
}

void DrawCentredText(int x, int y, int width, int height, const char* text) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  const int textWidth = ReportTextWidth(text);
  const int textHeight = g_reportOutput.textHeight;
  const int left = x + static_cast<int>(std::lround((width - textWidth) / 2.0));
  const int top = y + static_cast<int>(std::lround((height - textHeight) / 2.0));
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, left, top * g_reportOutput.ySign, text,
           static_cast<int>(std::strlen(text)));
}

void DrawPostcodeBoxes(int column, int row, int colorCode, const char* digits,
                       int size, int kind) {
  // Cell width and height, the gap between cells and the wider gap after
  // the third cell, in report units.
  const bool large = size != 2;
  const int cellWidth = large ? 30 : 20, cellHeight = large ? 40 : 30;
  const int gap = large ? 5 : 0, wideGap = large ? 10 : 5;
  const int s = ReportScale();
  const int corner = ReportOnPrinter() ? 25 : 0;
  if (kind == 2) SelectPrinterFont(1, (large ? 25 : 15) * s);
  const char* digit = digits;
  int x = column * 5;
  for (int cell = 0; cell < 7; ++cell) {
    const int left = (x - corner) * s;
    const int top = (row * 5 - corner) * s;
    if (kind == 1) {
      HDC dc = ReportDrawDC();
      if (!dc) return;
      GdiOwner<HPEN> pen(CreatePen(PS_DOT, 1, ColorFromCode(colorCode)));
      SelectScope use(dc, pen.get());
      DrawBoxOutline(dc, {left, top, left + cellWidth * s, top + cellHeight * s}, 0);
    } else {
      while (*digit == '-') ++digit;  // the hyphen takes no cell
      if (*digit) {
        const char one[2] = {*digit++, '\0'};
        DrawCentredText(left, top, cellWidth * s, cellHeight * s, one);
      }
    }
    x += cellWidth + (cell == 2 ? wideGap : gap);
  }
}
