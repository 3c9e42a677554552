// Texts of printed sheets and reports: the status and score lines, the
// registration squares, item numbers and left captions, text placed in
// boxes, decorated characters of sheet texts and images at sheet
// positions; and the state of a sheet print run.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/gdi_draw.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"
#include "tally/report_internal.h"

SheetPrintState g_sheetPrint;

namespace {

// The centre of a span of `room` for an extent of `used`, half up.
int Centred(int start, int room, int used) { return start + RoundHalfUpRatio(room - used, 2); }

}  // namespace

void SetReportTextColor(int colorCode) { SetReportTextRgb(ColorFromCode(colorCode)); }

void SetReportTextRgb(COLORREF rgb) {
  if (HDC dc = ReportMeasureDC()) SetTextColor(dc, rgb);
}

void ReportTextAt(int x, int y, const char* text) {
  HDC dc = ReportDrawDC();
  if (!dc || !*text) return;
  SetBkMode(dc, TRANSPARENT);
  const int length = static_cast<int>(std::strlen(text));
  if (!g_reportOutput.fontAsOutlines || !ReportOnPrinter()) {
    TextOutA(dc, x, SignedY(y), text, length);
    return;
  }
  // The glyphs' outlines filled in the text colour, without an edge.
  BeginPath(dc);
  TextOutA(dc, x, SignedY(y), text, length);
  EndPath(dc);
  GdiOwner<HBRUSH> ink(CreateSolidBrush(GetTextColor(dc)));
  SelectScope brush(dc, ink.get());
  SelectScope pen(dc, GetStockObject(NULL_PEN));
  FillPath(dc);
}

SIZE ReportTextExtent(const char* text) {
  SIZE size{0, 0};
  if (HDC dc = ReportMeasureDC()) {
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
  }
  return size;
}

void SetPrintOffsetX(int option) { g_sheetPrint.printOption = option; }

void SetPrintLineExtent(int xExtent, int yExtent) {
  g_sheetPrint.xExtent = xExtent;
  g_sheetPrint.yExtent = yExtent;
}

void PrintStatusText(const char* text, int status, int crossed) {
  std::string line = text;
  if (status == 1) line += " 新規";
  if (status == 0) line += " 上書";
  if (crossed) line += " (×)";
  SelectPrinterFont(1, 5 * ReportScale());
  ReportTextAt(0, 0, line.c_str());
}

void PrintScore(int score, int x, int y) {
  if (score < 0) return;
  const int s = ReportScale();
  char text[32];
  std::snprintf(text, sizeof text, "%3d 点", score);
  SelectPrinterFont(1, 6 * s);
  SetReportTextColor(2);
  ReportTextAt(x * s, y * s, text);
  SetReportTextColor(0);
}

void PrintTextLine(const char* text) {
  const int s = ReportScale();
  SelectPrinterFont(1, 4 * s);
  ReportTextAt(10 * s, 10 * s, text);
}

void DrawPrintShadedBox(int x, int y, int side) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  const SheetPrintUnits units = CurrentSheetUnits();
  const SheetItemPlace place =
      PlaceSheetItem(0, 0, 0, 0, g_sheetPrint.xExtent, g_sheetPrint.yExtent, units);
  const int s = units.scale;
  const int left = (x + place.dx) * s, top = (y + place.dy) * s;
  SelectScope pen(dc, GetStockObject(BLACK_PEN));
  SelectScope brush(dc, GetStockObject(BLACK_BRUSH));
  Rectangle(dc, left, SignedY(top), left + side * s, SignedY(top + side * s));
}

void PrintItemNumber(int i, int left, int top, int right, int bottom) {
  const ScreenItem& item = Item(i);
  const int number = SheetItemNumber(i);
  if (number < 1) return;
  const SheetPrintUnits units = CurrentSheetUnits();
  char text[24];
  std::snprintf(text, sizeof text, item.numberStyle == 2 ? "%d" : "%2d", number);
  SelectPrinterFont(1, (2 * item.charSize + 1) * units.scale / units.unitDivisor);
  const SIZE size = ReportTextExtent(text);
  const int y = Centred(top, bottom - top, size.cy);
  const int x = item.numberStyle == 2 ? Centred(left, right + 15 - left, size.cx)
                                      : left - size.cx - units.scale / 2;
  ReportTextAt(x, y, text);
}

void PrintItemCaption(int i, const char* caption, int colorCode, int xExtent, int yExtent) {
  const ScreenItem& item = Item(i);
  const SheetPrintUnits units = CurrentSheetUnits();
  const int s = units.scale;
  const SheetItemPlace place = PlaceSheetItem(item.pixelX, item.pixelY, item.pixelWidth,
                                              item.pixelHeight, xExtent, yExtent, units);
  const std::vector<std::string> lines = SplitAtBars(caption);
  if (lines.empty()) return;
  const int textHeight = ReportTextExtent("□").cy;
  const int step = textHeight + 4 * s / units.unitDivisor;
  const int blockHeight = step * static_cast<int>(lines.size()) - (step - textHeight);
  const int right = place.deviceLeft - 2 * s;
  int y = Centred(place.deviceTop, place.deviceBottom - place.deviceTop, blockHeight);
  SetReportTextColor(colorCode);
  int widest = 0;
  for (const std::string& line : lines) {
    const int width = ReportTextExtent(line.c_str()).cx;
    widest = std::max(widest, width);
    ReportTextAt(right - width, y, line.c_str());
    y += step;
  }
  if (lines.size() == 1 && item.frameStyle != 0) {
    DrawSheetRuleFrame(right - widest - s, y - step - s, right + s, y - step + textHeight + s,
                       item.frameStyle, g_sheetPrint.sheetColour);
  }
}

void PrintSheetText(int mode, int x, int y, int width, int height, const char* text) {
  const SIZE size = ReportTextExtent(text);
  switch (mode) {
    case 2: ReportTextAt(Centred(x, width, size.cx), y - size.cy, text); break;
    case 3: {
      const int s = ReportScale();
      ReportTextAt(x * s, Centred(y * s, height * s, size.cy), text);
      break;
    }
    default: ReportTextAt(Centred(x, width, size.cx), Centred(y, height, size.cy), text); break;
  }
}

void PrintCharsDecorated(int i, int x, int y, const char* text, int colorCode) {
  const ScreenItem& item = Item(i);
  const bool guide = g_sheetPrint.guideFigures == 1 &&
                     !IsMonochromePrint(g_sheetPrint.printColour) && item.markType != 1;
  for (const char* p = text; *p;) {
    const int length = *p && p[1] ? SjisCharLength(p) : 1;
    const std::string character(p, length);
    p += length;
    const SIZE cell = ReportTextExtent(character.c_str());
    const int right = x + cell.cx, bottom = y + cell.cy;
    if (item.markType == 1) DrawSheetRect(x, y, right, bottom, 1, PS_NULL, colorCode, 6, 7);
    if (guide) DrawMarkSymbol(x, y, right, bottom, 8, colorCode);
    if (item.frameStyle == 1) DrawSheetRule(x, y, right, bottom, 1, colorCode);
    if (item.frameStyle == 2) DrawSheetBox(x, y, right, bottom, 1, colorCode);
    ReportTextAt(x, y, character.c_str());
    x = right;
  }
}

int PrintSheetImage(const char* file, int x, int y, int width, int height) {
  const ReportOutputContext& r = g_reportOutput;
  const double factor =
      r.unitKind == kUnitSheetMm && ReportOnPrinter() ? 1.0 / CurrentSheetUnits().unitDivisor : 1.0;
  return DrawReportImage(file, x, y, width, height, factor);
}
