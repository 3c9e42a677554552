// The drawing primitives of printed OCR sheets: ruled and boxed frames,
// corner dots, oval and circular boxes, handwriting guides and filled
// rectangles. Coordinates are device units with y not yet signed; lengths
// fixed in hundredths of a millimetre scale with the sheet (SheetLength).
// Each call creates its pens and brushes and deletes them again.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "foundation/gdi_draw.h"
#include "screen/screen.h"
#include "tally/report_internal.h"

namespace {

bool IsRuleColour(int colorCode) { return IsMonochromePrint(colorCode); }

// A pen of `width` device units, dotted or solid; 1 and less is a hairline
// (one device pixel, whatever the scale).
HPEN CreateSheetPen(int width, int colorCode, bool dotted) {
  const COLORREF rgb = ColorFromCode(colorCode);
  if (width <= 1) return CreatePen(dotted ? PS_DOT : PS_SOLID, 0, rgb);
  LOGBRUSH brush{BS_SOLID, rgb, 0};
  return ExtCreatePen(PS_GEOMETRIC | (dotted ? PS_DOT : PS_SOLID) | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                      width, &brush, 0, nullptr);
}

// The pen of ruled frames: dashes of 0.3 mm with gaps of 0.5 mm, 0.1 mm
// wide.
HPEN CreateRulePen(int colorCode) {
  const DWORD dashes[] = {static_cast<DWORD>(std::max(1, SheetLength(30))),
                          static_cast<DWORD>(std::max(1, SheetLength(50)))};
  LOGBRUSH brush{BS_SOLID, ColorFromCode(colorCode), 0};
  const int width = SheetLength(10);
  return ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, std::max(1, width), &brush, 2,
                      dashes);
}

void Segment(HDC dc, int x1, int y1, int x2, int y2) {
  DrawReportSegment(dc, x1, SignedY(y1), x2, SignedY(y2));
}

void CropLines(HDC dc, int left, int top, int right, int bottom) {
  const int inLeft = SheetLength(50), inRight = SheetLength(30), beyond = SheetLength(70);
  Segment(dc, left + inLeft, top, right - inRight, top);
  Segment(dc, left + inLeft, bottom, right - inRight, bottom);
  Segment(dc, left, top - beyond, left, bottom + beyond);
  Segment(dc, right, top - beyond, right, bottom + beyond);
}

void Outline(HDC dc, int left, int top, int right, int bottom) {
  SelectScope hollow(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, left, SignedY(top), right, SignedY(bottom));
}

// An ellipse inscribed in a rectangle, outlined with the DC's pen and
// filled with its brush. Drawn as four cubic arcs rather than by Ellipse:
// Wine's PostScript driver places an Ellipse a device pixel to the left,
// which at 400 dpi moves a mark box off the rectangle the reading run
// measures.
void EllipseIn(HDC dc, int left, int top, int right, int bottom) {
  constexpr double kArc = 0.5522847498;  // control distance of a quarter circle
  const double cx = (left + right) / 2.0, cy = (SignedY(top) + SignedY(bottom)) / 2.0;
  const double rx = (right - left) / 2.0, ry = (SignedY(bottom) - SignedY(top)) / 2.0;
  const double kx = rx * kArc, ky = ry * kArc;
  const double points[13][2] = {
      {cx + rx, cy},      {cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry},
      {cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy},      {cx - rx, cy - ky},
      {cx - kx, cy - ry}, {cx, cy - ry},      {cx + kx, cy - ry}, {cx + rx, cy - ky},
      {cx + rx, cy}};
  POINT arcs[13];
  for (int k = 0; k < 13; ++k) {
    arcs[k] = {static_cast<LONG>(std::lround(points[k][0])), static_cast<LONG>(std::lround(points[k][1]))};
  }
  BeginPath(dc);
  PolyBezier(dc, arcs, 13);
  CloseFigure(dc);
  EndPath(dc);
  StrokeAndFillPath(dc);
}

// An ellipse with the brush of `fill`: black and filled for colour code
// 100, hollow otherwise.
void MarkEllipse(HDC dc, int left, int top, int right, int bottom, bool filled) {
  SelectScope brush(dc, GetStockObject(filled ? BLACK_BRUSH : NULL_BRUSH));
  EllipseIn(dc, left, top, right, bottom);
}

int PaleGuideColour(int printColour) {
  switch (printColour) {
    case 41:
    case 42: return 43;
    case 44:
    case 45: return 46;
    case 47:
    case 48: return 49;
    default: return 0;
  }
}

}  // namespace

SheetPrintUnits CurrentSheetUnits() {
  SheetPrintUnits units;
  units.scale = ReportScale();
  units.gridUnit = SheetDotsPerGridUnit();
  units.unitDivisor = g_reportOutput.unitDivisor > 0 ? g_reportOutput.unitDivisor : units.gridUnit;
  return units;
}

int SheetLength(int hundredths) { return hundredths * ReportScale() / 100; }

void DrawPrintBox(int left, int top, int right, int bottom) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreateReportLinePen(1, 0));
  SelectScope use(dc, pen.get());
  Segment(dc, left, top, right, top);
  Segment(dc, left, bottom, right, bottom);
  Segment(dc, left, top, left, bottom);
  Segment(dc, right, top, right, bottom);
}

void DrawCropFrame(int left, int top, int right, int bottom) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreateReportLinePen(1, 0));
  SelectScope use(dc, pen.get());
  CropLines(dc, left, top, right, bottom);
}

void DrawSheetRule(int left, int top, int right, int bottom, int thickness, int colorCode) {
  if (!IsRuleColour(colorCode)) {
    DrawSheetBox(left, top, right, bottom, thickness, colorCode);
    return;
  }
  if (!ReportOnPrinter()) return;
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreateRulePen(colorCode));
  SelectScope use(dc, pen.get());
  if (left == right) {
    Segment(dc, left, top, right, bottom);
  } else {
    CropLines(dc, left, top, right, bottom);
  }
}

void DrawSheetRuleFrame(int left, int top, int right, int bottom, int frameStyle, int colorCode) {
  if (frameStyle == 2 || !IsRuleColour(colorCode)) {
    DrawSheetBox(left, top, right, bottom, 1, colorCode);
  } else {
    DrawSheetRule(left, top, right, bottom, 1, colorCode);
  }
}

void DrawSheetBox(int left, int top, int right, int bottom, int thickness, int colorCode) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(
      CreateSheetPen(SheetLength(10 * thickness), colorCode, g_reportOutput.lineStyle == 2));
  SelectScope use(dc, pen.get());
  Outline(dc, left, top, right, bottom);
}

void DrawSheetCornerDots(int left, int top, int right, int bottom, int single) {
  if (!ReportOnPrinter() || g_sheetPrint.printOption == kSheetPrintAnswer) return;
  HDC dc = ReportDrawDC();
  if (!dc) return;
  std::vector<std::pair<int, int>> corners = {
      {left, top}, {right, top}, {left, bottom}, {right, bottom}};
  std::sort(corners.begin(), corners.end());
  corners.erase(std::unique(corners.begin(), corners.end()), corners.end());
  const int size = SheetLength(single ? 30 : 22);
  const int around = SheetLength(30);
  GdiOwner<HPEN> pen(CreatePen(PS_SOLID, 0, RGB(0, 0, 0)));
  SelectScope usePen(dc, pen.get());
  SelectScope useBrush(dc, GetStockObject(BLACK_BRUSH));
  auto dot = [&](int x, int y) {
    Ellipse(dc, x - size / 2, SignedY(y - size / 2), x + size / 2, SignedY(y + size / 2));
  };
  for (const auto& [x, y] : corners) {
    if (single) {
      dot(x, y);
      continue;
    }
    for (int dy : {-around, around}) {
      for (int dx : {-around, around}) dot(x + dx, y + dy);
    }
  }
}

void DrawDoubleEllipse(int left, int top, int right, int bottom, int colorCode) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreateReportLinePen(1, colorCode));
  SelectScope usePen(dc, pen.get());
  SelectScope hollow(dc, GetStockObject(NULL_BRUSH));
  const int in = SheetLength(3);
  EllipseIn(dc, left, top, right, bottom);
  EllipseIn(dc, left + in, top + in, right - in, bottom - in);
}

void DrawMarkSymbol(int left, int top, int right, int bottom, int symbol, int printColour) {
  const int s = ReportScale();
  const int colour = PaleGuideColour(printColour);
  SetPrintLineStyle(0);
  const int centre = left + (right - left) / 2;
  const int half = std::max(1, SheetLength(4) / 2);
  const int y1 = top + s, y2 = bottom - s;
  ReportBox(centre - half, y1, centre + half, y2, colour);
  if (symbol == 1) return;
  // Two circles one above the other between the bar's ends.
  const int middle = y1 + (y2 - y1) / 2;
  const int radius = (middle - y1) / 2;
  DrawDoubleEllipse(centre - radius, y1, centre + radius, middle, colour);
  DrawDoubleEllipse(centre - radius, middle, centre + radius, y2, colour);
}

void DrawOvalMark(int x1, int x2, int y, int colorCode) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  const int half = ReportOnPrinter() ? 15 : 0;
  GdiOwner<HPEN> pen(CreateReportLinePen(1, colorCode));
  SelectScope usePen(dc, pen.get());
  SelectScope hollow(dc, GetStockObject(NULL_BRUSH));
  EllipseIn(dc, x1, y - half, x2, y + half);
}

void DrawMarkEllipse(int left, int top, int right, int bottom, int colorCode) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreatePen(PS_SOLID, 0, ColorFromCode(colorCode)));
  SelectScope usePen(dc, pen.get());
  if (colorCode == 100) {
    const int in = SheetLength(30);
    MarkEllipse(dc, left + in, top + in, right - in, bottom - in, true);
    return;
  }
  const int in = SheetLength(12);
  MarkEllipse(dc, left, top, right, bottom, false);
  MarkEllipse(dc, left + in, top + in, right - in, bottom - in, false);
}

void DrawMarkCircle(int left, int top, int right, int bottom, int colorCode) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  const bool dotted = g_reportOutput.lineStyle == 2;
  GdiOwner<HPEN> pen(CreatePen(dotted ? PS_DOT : PS_SOLID, 0, ColorFromCode(colorCode)));
  SelectScope usePen(dc, pen.get());
  MarkEllipse(dc, left, top, right, bottom, colorCode == 100);
  if (dotted || colorCode == 100) return;
  const int in = SheetLength(16);
  MarkEllipse(dc, left + in, top + in, right - in, bottom - in, false);
}

void DrawSheetRect(int left, int top, int right, int bottom, int corner, int penStyle,
                   int penColour, int hatch, int fillColour) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreatePen(penStyle, 0, ColorFromCode(penColour)));
  GdiOwner<HBRUSH> brush(hatch == 6 ? CreateSolidBrush(ColorFromCode(fillColour))
                         : hatch >= 0 && hatch <= 5
                             ? CreateHatchBrush(hatch, ColorFromCode(fillColour))
                             : nullptr);
  SelectScope usePen(dc, pen.get());
  SelectScope useBrush(
      dc, brush.get() ? static_cast<HGDIOBJ>(brush.get()) : GetStockObject(NULL_BRUSH));
  if (corner > 1) {
    RoundRect(dc, left, SignedY(top), right, SignedY(bottom), corner, corner);
  } else {
    Rectangle(dc, left, SignedY(top), right, SignedY(bottom));
  }
}

void DrawSheetFrame(int left, int top, int right, int bottom, int thickness, int colorCode) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  const int rings = std::clamp(thickness, 1, 3);
  if (ReportOnPrinter()) {
    GdiOwner<HPEN> pen(CreateSheetPen(SheetLength(10 * rings), colorCode, false));
    SelectScope use(dc, pen.get());
    Outline(dc, left, top, right, bottom);
    return;
  }
  GdiOwner<HPEN> pen(CreatePen(PS_SOLID, 0, ColorFromCode(colorCode)));
  SelectScope use(dc, pen.get());
  for (int ring = 0; ring < rings; ++ring) {
    Outline(dc, left + ring, top + ring, right - ring, bottom - ring);
  }
}
