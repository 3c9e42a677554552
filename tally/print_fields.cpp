// The items of a printed screen: captions, values and frames at their
// place on the page, and the ruled lines of screens and sheets. Screens
// print their pixels as report units; the printer scales them.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "foundation/gdi_draw.h"
#include "foundation/image_cache.h"
#include "screen/screen.h"
#include "tally/report_internal.h"

namespace {

// The inset of a preview page from its window's edge, report units.
int PreviewInset() { return ReportOnPrinter() ? 0 : 10; }

// The rectangle an item's value and frame are drawn in (the screen's paint
// rectangle), pixels; a vertical item is turned.
RECT ValueRect(const ScreenItem& item, int xOffset, int yOffset) {
  const bool turned = item.edit == 'V';
  const int width = turned ? item.pixelHeight - 1 : item.pixelWidth;
  const int height = turned ? item.pixelWidth : item.pixelHeight;
  RECT r;
  r.left = item.pixelX + 1 + xOffset;
  r.top = item.pixelY + 1 + yOffset;
  r.right = item.pixelX + width - 2 + xOffset;
  r.bottom = item.pixelY + height - 2 + yOffset;
  return r;
}

RECT PageRect(const RECT& r) {
  return RECT{PageXOf(r.left), PageYOf(r.top), PageXOf(r.right), PageYOf(r.bottom)};
}

// Text centred in a device rectangle (y not yet signed).
void CentreText(const RECT& r, const char* text) {
  const SIZE size = ReportTextExtent(text);
  ReportTextAt(r.left + RoundHalfUpRatio(r.right - r.left - size.cx, 2),
               r.top + RoundHalfUpRatio(r.bottom - r.top - size.cy, 2), text);
}

// Selects face 0 at twice the character size (scaled), and shrinks it by a
// step at a time while the text is wider than the item where the screen
// shrinks values to fit. Returns the size.
int SelectValueFont(const ScreenItem& item, const char* text) {
  const int s = ReportScale();
  int size = item.charSize;
  SelectPrinterFont(0, 2 * size * s);
  const bool shrinks = (item.edit == 'S' && item.titleStyle != 15) || item.titleStyle == 6 ||
                       item.titleStyle == 7 || item.edit == 'W';
  if (!shrinks) return size;
  while (size > 1 && ReportTextExtent(text).cx > (item.pixelWidth - 1) * s) {
    --size;
    SelectPrinterFont(0, 2 * size * s);
  }
  return size;
}

void PrintImageValue(const ScreenItem& item, const char* value, const RECT& page) {
  std::string name = *value ? value : item.joinText;
  if (name.empty()) return;
  if (name.size() < 4 || name[name.size() - 4] != '.') name += ".BMP";
  if (ReportOnPrinter()) {
    PrintSheetImage(name.c_str(), page.left, page.top, -1, -1);
    return;
  }
  HDC dc = ReportDrawDC();
  const ImageHandle image = LoadImageCached(name.c_str());
  if (!dc || !image) return;
  const bool ownSize = item.colorB == 12 || item.count == 1;
  DrawImageFileScaled(dc, image, page.left, page.top, ownSize ? 0 : page.right - page.left,
                      ownSize ? 0 : page.bottom - page.top);
}

// Edit letter 'V': the text stacked in a column two characters wide,
// centred across the item.
void PrintVerticalValue(const ScreenItem& item, const char* text, const RECT& page, int size) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  const int s = ReportScale();
  const int left = page.left + RoundHalfUpRatio((item.pixelHeight - 2 * size) * s, 2);
  RECT column{left, SignedY(page.top), left + 2 * item.charSize * s, SignedY(page.bottom)};
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text, -1, &column, DT_CENTER | DT_WORDBREAK);
}

// Device units of a printer length in hundredths of a millimetre, by the
// page's mapping mode (a sheet's page counts in them already).
int PrinterLength(int hundredths) {
  switch (g_reportOutput.unitKind) {
    case kUnitLoMetric: return std::max(1, RoundHalfUpRatio(hundredths, 10));
    case kUnitTwips: return RoundHalfUpRatio(hundredths * 1440LL, 2540);
    default: return hundredths;
  }
}

}  // namespace

std::string PrintedValueText(char kind, const char* value) {
  std::string text = value;
  if (kind == 'c') {
    if (text == "0") text = "×";
    if (text == "1") text = "○";
    if (text == "2") text = "◎";
  }
  if (kind == 'z' && !text.empty()) text = "〒" + text;
  return text;
}

int PageXOf(int x) {
  const ReportOutputContext& r = g_reportOutput;
  return (x + r.leftMargin * 5 - r.leftCorrection + PreviewInset()) * ReportScale();
}

int PageYOf(int y) { return (y + g_reportOutput.topMargin * 5 + PreviewInset()) * ReportScale(); }

void PrintFieldFrame(int x1, int y1, int x2, int y2, int) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  const int left = PageXOf(x1), right = PageXOf(x2);
  const int top = SignedY(PageYOf(y1)), bottom = SignedY(PageYOf(y2));
  SelectScope pen(dc, GetStockObject(BLACK_PEN));
  const POINT leftTop[] = {{left, bottom}, {left, top}, {right, top}};
  const POINT bottomRight[] = {{left, bottom}, {right, bottom}, {right, top}};
  Polyline(dc, leftTop, 3);
  Polyline(dc, bottomRight, 3);
}

void PrintFieldText(int i, const char* text, int xOffset, int yOffset) {
  const ScreenItem& item = Item(i);
  if (item.state == kItemHidden || item.printFlag == kItemNotPrinted || !ReportMeasureDC()) return;
  SelectPrinterFont(0, 2 * item.charSize * ReportScale());
  SetReportTextColor(0);
  ItemCaptionRect r;
  GetItemRect(i, &r);
  if (r.placement == kCaptionSplit) {
    for (const CaptionPart& part : GetCaptionParts(i)) {
      const RECT rect{part.rect.left + xOffset, part.rect.top + yOffset, part.rect.right + xOffset,
                      part.rect.bottom + yOffset};
      CentreText(PageRect(rect), part.text.c_str());
    }
    return;
  }
  RECT rect{item.pixelX, item.pixelY, item.pixelX + item.pixelWidth,
            item.pixelY + item.pixelHeight};
  if (r.placement != kCaptionNone) rect = RECT{r.left, r.top, r.right, r.bottom};
  OffsetRect(&rect, xOffset, yOffset);
  CentreText(PageRect(rect), text);
}

void PrintFieldValue(int i, const char* value, int xOffset, int yOffset) {
  const ScreenItem& item = Item(i);
  if (item.state == kItemHidden || !ReportMeasureDC()) return;
  if (item.kind == 'P' && !*value) return;
  const std::string text = PrintedValueText(item.kind, value);
  const RECT page = PageRect(ValueRect(item, xOffset, yOffset));
  if (item.edit == 'I') {
    PrintImageValue(item, value, page);
    return;
  }
  if (item.edit == '/' || item.kind == 'L') {
    ReportLineColor(ReportDrawDC(), page.left, SignedY(page.bottom), page.right, SignedY(page.top),
                    1, 0);
    return;
  }
  if (text.empty()) return;
  const int size = SelectValueFont(item, text.c_str());
  SetReportTextColor(item.state == kItemProtected ? 9 : item.colorA);
  const int s = ReportScale();
  if (item.edit == 'V') {
    PrintVerticalValue(item, text.c_str(), page, size);
  } else {
    const SIZE extent = ReportTextExtent(text.c_str());
    const int cs = item.charSize;
    int x;
    if (item.titleStyle == 15 || item.edit == 'S' || item.edit == 'Z') {
      x = page.left + RoundHalfUpRatio(page.right - page.left - extent.cx, 2);
    } else if (item.edit == 'R') {
      x = page.left + ((item.width - static_cast<int>(text.size()) + 1) * cs - 1) * s;
    } else {
      x = page.left + (cs - 1) * s;
    }
    const int y = page.top + RoundHalfUpRatio(page.bottom - page.top - extent.cy, 2);
    if (item.kind == 'F') {
      ReportTextOutWrapped(0, std::max(1, item.width), (2 * size + 2) * s, x, y, text.c_str());
    } else {
      ReportTextAt(x, y, text.c_str());
    }
  }
  SetReportTextColor(0);
}

void PrintFieldMarks(int i, int xOffset, int yOffset) {
  const ScreenItem& item = Item(i);
  if (item.state == kItemHidden || item.state == kItemProtected || item.printFlag == kItemNotPrinted) return;
  if (item.itemClass == kItemClassNoFrame || item.itemClass == kItemClassSheet) return;
  if (item.titleStyle == 10 || item.kind == 'R' || item.kind == 'C') return;
  const RECT r = ValueRect(item, xOffset, yOffset);
  PrintFieldFrame(r.left - 1, r.top - 1, r.right + 1, r.bottom + 1, 0);
  if (item.itemClass == kItemClassThickFrame) {
    PrintFieldFrame(r.left - 2, r.top - 2, r.right + 2, r.bottom + 2, 0);
  }
}

void DrawPrintThickLine(int x1, int y1, int x2, int y2, int widthMode, int colorCode) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  const ReportOutputContext& r = g_reportOutput;
  const int s = ReportScale();
  POINT from, to;
  if (r.unitDivisor > 0) {
    // A sheet's line: millimetres of its canvas, 5 up and left like the
    // sheet's items.
    const int ud = r.unitDivisor;
    from = {(RoundHalfUpRatio(x1, ud) - 5) * s, (RoundHalfUpRatio(y1, ud) - 5) * s};
    to = {(RoundHalfUpRatio(x2, ud) - 5) * s, (RoundHalfUpRatio(y2, ud) - 5) * s};
  } else {
    from = {PageXOf(x1), PageYOf(y1)};
    to = {PageXOf(x2), PageYOf(y2)};
  }
  const bool dashed = r.lineStyle == 2;
  const COLORREF rgb = ColorFromCode(colorCode);
  GdiOwner<HPEN> pen;
  if (ReportOnPrinter()) {
    // 0.14 or 0.32 mm wide, dashes of 0.3 mm with gaps of 0.5 mm.
    const DWORD dashes[] = {static_cast<DWORD>(PrinterLength(30)),
                            static_cast<DWORD>(PrinterLength(50))};
    LOGBRUSH brush{BS_SOLID, rgb, 0};
    pen.reset(ExtCreatePen(PS_GEOMETRIC | (dashed ? PS_USERSTYLE : PS_SOLID) | PS_ENDCAP_FLAT,
                           PrinterLength(widthMode == 2 ? 32 : 14), &brush, dashed ? 2 : 0,
                           dashed ? dashes : nullptr));
  } else {
    pen.reset(CreatePen(dashed ? PS_DASH : PS_SOLID, dashed ? 1 : widthMode == 2 ? 2 : 1, rgb));
  }
  SelectScope use(dc, pen.get());
  DrawReportSegment(dc, from.x, SignedY(from.y), to.x, SignedY(to.y));
}
