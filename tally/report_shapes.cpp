// Lines and shapes of reports. Each call creates its pen and brush, draws
// and deletes them again, so nothing of it stays selected in the report DC
// between calls. Coordinates are device units; where a call says so, y is
// multiplied by the y sign (the printer's metric modes count y upwards).
#include <cstring>

#include "foundation/gdi_draw.h"
#include "tally/report_internal.h"

namespace {

int Y(int y) { return y * g_reportOutput.ySign; }

// The pen of report rules: the black stock pen on the printer, a 1-pixel
// blue pen on the screen.
HPEN CreateRulePen() {
  return ReportOnPrinter() ? nullptr : CreatePen(PS_SOLID, 1, ColorFromCode(1));
}

HGDIOBJ PenOrStock(HPEN pen) {
  return pen ? static_cast<HGDIOBJ>(pen) : GetStockObject(BLACK_PEN);
}

}  // namespace

HPEN CreateReportLinePen(int width, int colorCode) {
  const int style = g_reportOutput.lineStyle == 2 ? PS_DOT : PS_SOLID;
  return CreatePen(style, width, ColorFromCode(colorCode));
}

void ReportLine(int left, int top, int right, int bottom) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreateRulePen());
  SelectScope use(dc, PenOrStock(pen.get()));
  const POINT corners[] = {{left, Y(top)},     {right, Y(top)},
                           {right, Y(bottom)}, {left, Y(bottom)},
                           {left, Y(top)}};
  Polyline(dc, corners, 5);
}

void ReportOpenBox(int left, int top, int right, int bottom, int kind) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreateRulePen());
  SelectScope use(dc, PenOrStock(pen.get()));
  // The last side runs one unit further, so that its end point is drawn.
  if (kind == 1) {  // open at the bottom
    const POINT sides[] = {{left, Y(bottom)}, {left, Y(top)},
                           {right, Y(top)}, {right, Y(bottom + 1)}};
    Polyline(dc, sides, 4);
  } else if (kind == 2) {  // open at the top
    const POINT sides[] = {{left, Y(top)}, {left, Y(bottom)},
                           {right, Y(bottom)}, {right, Y(top - 1)}};
    Polyline(dc, sides, 4);
  }
}

void ReportRect(int left, int top, int right, int bottom, int penWidth,
                int colorCode) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(ReportOnPrinter()
                          ? nullptr
                          : CreatePen(PS_SOLID, penWidth, ColorFromCode(colorCode)));
  SelectScope usePen(dc, PenOrStock(pen.get()));
  SelectScope useBrush(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, left, top, right, bottom);
}

void ReportStyledBox(int left, int top, int right, int bottom) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreateReportLinePen(1, 1));
  SelectScope usePen(dc, pen.get());
  SelectScope useBrush(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, left, top, right, bottom);
}

void ReportLineColor(HDC dc, int x1, int y1, int x2, int y2, int width,
                     int colorCode) {
  if (!dc) return;
  GdiOwner<HPEN> pen(CreateReportLinePen(width, colorCode));
  SelectScope use(dc, pen.get());
  DrawReportSegment(dc, x1, y1, x2, y2);
  // A line leaves out its end pixel; on the screen it gets the colour of
  // the start pixel. Printers cannot read pixels back.
  const COLORREF start = GetPixel(dc, x1, y1);
  if (start != CLR_INVALID) SetPixel(dc, x2, y2, start);
}

void ReportLineScaled(int x1, int y1, int x2, int y2, int width,
                      int colorCode) {
  const int s = g_reportOutput.scale;
  ReportLineColor(ReportDrawDC(), x1 * s, Y(y1 * s), x2 * s, Y(y2 * s), width,
                  colorCode);
}

void ReportLineScaledWide(int x1, int y1, int x2, int y2, int width,
                          int colorCode) {
  ReportLineScaled(x1, y1, x2, y2, width * g_reportOutput.scale, colorCode);
}

void ReportBox(int left, int top, int right, int bottom, int colorCode) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreateReportLinePen(1, colorCode));
  SelectScope use(dc, pen.get());
  DrawReportSegment(dc, left, Y(top), right, Y(top));
  DrawReportSegment(dc, left, Y(bottom), right, Y(bottom));
  DrawReportSegment(dc, left, Y(top), left, Y(bottom));
  DrawReportSegment(dc, right, Y(top), right, Y(bottom));
}

void ReportCircle(int x, int y, int radius, int colorCode, int fillCode) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  GdiOwner<HPEN> pen(CreatePen(PS_SOLID, 1, ColorFromCode(colorCode)));
  GdiOwner<HBRUSH> brush(fillCode >= 0 ? CreateSolidBrush(ColorFromCode(fillCode))
                                        : nullptr);
  SelectScope usePen(dc, pen.get());
  SelectScope useBrush(dc, brush.get() ? static_cast<HGDIOBJ>(brush.get())
                                        : GetStockObject(NULL_BRUSH));
  Ellipse(dc, x - radius + 1, y - radius + 1, x + radius, y + radius);
  if (ReportOnPrinter()) {
    // A printer's hairline is too thin to see; two more rings make the
    // outline heavier.
    SelectScope hollow(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, x - radius + 2, y - radius + 2, x + radius - 1, y + radius - 1);
    Ellipse(dc, x - radius, y - radius, x + radius + 1, y + radius + 1);
  }
}

void ReportCellFrame(int width, int height) {
  const ReportCellGeometry g = ComputeCellGeometry(g_reportOutput);
  ReportLine(g.x, g.y, g.x + width * g.scale, g.y + height * g.scale);
}

void ReportTextBox(int column, int y, int width, int rows, const char* text) {
  ReportOutputContext& r = g_reportOutput;
  const int s = r.scale;
  const int left = s * (r.leftMargin * 5 + column * r.fontSize);
  const int top = s * (y + r.topMargin * 5);
  const int right = left + width * r.fontSize * s;
  const int bottom = top + rows * r.linePitch * s;
  HDC dc = ReportDrawDC();
  if (!dc) return;
  {
    GdiOwner<HPEN> pen(CreateReportLinePen(1, 0));
    SelectScope usePen(dc, pen.get());
    SelectScope useBrush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, left, Y(top), right, Y(bottom));
  }
  const int textHeight = 2 * r.fontSize * s;
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, left, Y(top + (bottom - top - textHeight) / 2), text,
           static_cast<int>(std::strlen(text)));
}
