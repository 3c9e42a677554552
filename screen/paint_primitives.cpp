// Drawing primitives on the current drawing context: lines, frames, boxes,
// circles, marks and 3D edges. Coordinates are pixels of the scrolled
// content, colours are colour codes. Each primitive creates the pens and
// brushes it needs and deletes them before it returns.
#include <windows.h>

#include "screen/screen.h"

namespace {

const COLORREF kEdgeGrey = RGB(100, 100, 100);

HPEN MakePen(int style, int width, COLORREF color) { return CreatePen(style, width, color); }

// The brush a shape is filled with by the context's fill style: solid or
// hatched in the fill colour; none (null) when the style is negative.
HBRUSH MakeContextBrush(const PaintContext& c) {
  if (c.fillStyle == 6) return CreateSolidBrush(c.fillColor);
  if (c.fillStyle >= 0 && c.fillStyle <= 5) return CreateHatchBrush(c.fillStyle, c.fillColor);
  return nullptr;
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void SolidCircle(HDC dc, int cx, int cy, int r, COLORREF color) {
  GdiOwner<HPEN> pen(MakePen(PS_SOLID, 1, color));
  GdiOwner<HBRUSH> brush(CreateSolidBrush(color));
  SelectScope usePen(dc, pen.get());
  SelectScope useBrush(dc, brush.get());
  Ellipse(dc, cx - r + 1, cy - r + 1, cx + r, cy + r);
}

// Bevel of two pens: left and top in the first, bottom and right in the
// second.
void DrawBevel(int left, int top, int right, int bottom, HPEN first, HPEN second) {
  const HDC dc = PaintDC();
  {
    SelectScope use(dc, first);
    MoveToEx(dc, left, bottom, nullptr);
    LineTo(dc, left, top);
    LineTo(dc, right + 1, top);
  }
  SelectScope use(dc, second);
  MoveToEx(dc, left, bottom, nullptr);
  LineTo(dc, right, bottom);
  LineTo(dc, right, top - 1);
}

}  // namespace

void MoveToPaint(int x, int y) {
  if (PaintDC()) MoveToEx(PaintDC(), x, y, nullptr);
}

void LineToPaint(int x, int y) {
  if (PaintDC()) LineTo(PaintDC(), x, y);
}

void DrawRectLines(int left, int top, int right, int bottom) {
  const HDC dc = PaintDC();
  if (!dc) return;
  Line(dc, left, top, right, top);
  Line(dc, left, bottom, right, bottom);
  Line(dc, left, top, left, bottom);
  Line(dc, right, top, right, bottom);
}

void DrawPaintLine(int x1, int y1, int x2, int y2, int width, int color) {
  const PaintContext& c = ActivePaintContext();
  if (!c.dc) return;
  {
    GdiOwner<HPEN> pen(MakePen(c.penStyle, width, ColorFromCode(color)));
    SelectScope use(c.dc, pen.get());
    Line(c.dc, x1, y1, x2, y2);
  }
  SetPixel(c.dc, x2, y2, GetPixel(c.dc, x1, y1));
}

void DrawFrameLines(int left, int top, int right, int bottom, int thickness, int color) {
  const PaintContext& c = ActivePaintContext();
  if (!c.dc || thickness < 1) return;
  GdiOwner<HPEN> pen(MakePen(c.penStyle, 1, ColorFromCode(color)));
  SelectScope use(c.dc, pen.get());
  DrawRectLines(left, top, right, bottom);
  if (thickness >= 2) DrawRectLines(left - 1, top - 1, right - 1, bottom - 1);
  if (thickness >= 3) DrawRectLines(left + 1, top + 1, right + 1, bottom + 1);
}

void DrawFrameInPen(int left, int top, int right, int bottom, int color, int penStyle) {
  PaintContext& c = ActivePaintContext();
  const int previous = c.penStyle;
  c.penStyle = penStyle;
  DrawFrameLines(left, top, right, bottom, 1, color);
  c.penStyle = previous;
}

void DrawCross(HDC dc, int left, int top, int right, int bottom, int part, int color) {
  const PaintContext& c = ActivePaintContext();
  if (!dc) dc = c.dc;
  if (!dc) return;
  GdiOwner<HPEN> pen(MakePen(c.penStyle, 1, ColorFromCode(color)));
  SelectScope use(dc, pen.get());
  if (part == 0 || part == 1) Line(dc, left, top, right + 1, bottom);
  if (part == 0 || part == 2) Line(dc, right, top, left - 1, bottom);
}

void DrawTriangle(HDC dc, int x1, int y1, int x2, int y2, int x3, int y3, int color) {
  const PaintContext& c = ActivePaintContext();
  if (!dc) dc = c.dc;
  if (!dc) return;
  GdiOwner<HPEN> pen(MakePen(c.penStyle, 1, ColorFromCode(color)));
  GdiOwner<HBRUSH> brush(MakeContextBrush(c));
  SelectScope usePen(dc, pen.get());
  SelectScope useBrush(dc, c.fillStyle == -1 ? GetStockObject(NULL_BRUSH) : brush.get());
  SetPolyFillMode(dc, WINDING);
  const POINT points[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
  Polygon(dc, points, 3);
}

void DrawBox(int left, int top, int right, int bottom, int corner, int color) {
  const PaintContext& c = ActivePaintContext();
  if (!c.dc) return;
  GdiOwner<HPEN> pen(MakePen(c.penStyle, 1, ColorFromCode(color)));
  GdiOwner<HBRUSH> brush(MakeContextBrush(c));
  SelectScope usePen(c.dc, pen.get());
  SelectScope useBrush(c.dc, brush.get());
  if (corner != 0) {
    RoundRect(c.dc, left, top, right, bottom, corner, corner);
  } else {
    Rectangle(c.dc, left, top, right, bottom);
  }
}

void DrawBoxStyled(int left, int top, int right, int bottom, int corner, int penStyle,
                   int penColor, int fillStyle, int fillColor) {
  PaintContext& c = ActivePaintContext();
  if (!c.dc) return;
  const int savedPen = c.penStyle, savedFill = c.fillStyle;
  const COLORREF savedFillColor = c.fillColor;
  c.penStyle = penStyle;
  SetPaintBrush(fillStyle, fillColor);
  DrawBox(left + 1, top + 1, right + 1, bottom + 1, corner, penColor);
  c.penStyle = savedPen;
  c.fillStyle = savedFill;
  c.fillColor = savedFillColor;
}

void DrawGrayBox(int left, int top, int right, int bottom, int edgeType) {
  const HDC dc = PaintDC();
  if (!dc) return;
  {
    SelectScope use(dc, GetStockObject(LTGRAY_BRUSH));
    Rectangle(dc, left, top, right, bottom);
  }
  Draw3DEdge(left, top, right, bottom, edgeType);
}

void FillCellRect(int left, int top, int right, int bottom, int shade) {
  const HDC dc = PaintDC();
  if (!dc) return;
  const RECT r{left, top, right, bottom};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(shade == -1 ? LTGRAY_BRUSH : DKGRAY_BRUSH)));
}

void DrawScreenFieldArea(int slot, int left, int top, int right, int bottom) {
  const HDC dc = PaintDC();
  if (!dc) return;
  if (g_screen.currentSlot >= 0 && IsValidSlot(slot)) {
    left += Slot(slot).scrollX;
    right += Slot(slot).scrollX;
    top += Slot(slot).scrollY;
    bottom += Slot(slot).scrollY;
  }
  const RECT r{left, top, right, bottom};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
}

void DrawFieldFrame(int slot, int x, int y, int right, int bottom) {
  if (!PaintDC()) return;
  if (y == 0) y = 3;
  if (IsValidSlot(slot)) {
    x += Slot(slot).scrollX;
    y += Slot(slot).scrollY;
  }
  Draw3DEdge(x + 3, y, right - 3, bottom - 3, 0);
  FillCellRect(x, y, x + 3, bottom, -1);
  FillCellRect(right - 2, y, right, bottom, -1);
  FillCellRect(x, bottom - 2, right, bottom, -1);
}

void DrawCircleAt(int cx, int cy, int radius, int penWidth, int color) {
  const PaintContext& c = ActivePaintContext();
  if (!c.dc) return;
  GdiOwner<HPEN> pen(MakePen(c.penStyle, penWidth, ColorFromCode(color)));
  GdiOwner<HBRUSH> brush(MakeContextBrush(c));
  HGDIOBJ fill = brush.get();
  if (c.fillStyle == -2) {
    fill = GetStockObject(NULL_BRUSH);
  } else if (c.fillStyle < 0) {
    fill = GetStockObject(LTGRAY_BRUSH);
  }
  SelectScope usePen(c.dc, pen.get());
  SelectScope useBrush(c.dc, fill);
  Ellipse(c.dc, cx - radius + 1, cy - radius + 1, cx + radius, cy + radius);
}

void DrawCircleThin(int cx, int cy, int radius, int color) {
  DrawCircleAt(cx, cy, radius, 1, color);
}

void DrawPaintCircle(int left, int top, int right, int bottom, int radius, int color) {
  const HDC dc = PaintDC();
  if (!dc) return;
  int l = left, t = top, r = right, b = bottom;
  if (right - left < bottom - top) {
    const int cx = left + (right - left + 1) / 2;
    l = cx - radius;
    r = cx + radius;
  } else {
    const int cy = top + (bottom - top + 1) / 2;
    t = cy - radius;
    b = cy + radius;
  }
  const COLORREF rgb = ColorFromCode(color);
  GdiOwner<HPEN> pen(MakePen(PS_SOLID, 1, rgb));
  GdiOwner<HBRUSH> brush(color == 100 ? CreateSolidBrush(rgb) : nullptr);
  SelectScope usePen(dc, pen.get());
  SelectScope useBrush(dc, color == 100 ? brush.get() : GetStockObject(NULL_BRUSH));
  if (color == 100) {
    Ellipse(dc, l + 1, t + 1, r - 1, b - 1);
  } else {
    Ellipse(dc, l, t, r, b);
  }
}

void DrawPaintEllipse(int left, int top, int right, int bottom, int color) {
  const PaintContext& c = ActivePaintContext();
  if (!c.dc) return;
  GdiOwner<HPEN> pen(MakePen(PS_SOLID, 1, ColorFromCode(color)));
  GdiOwner<HBRUSH> brush(MakeContextBrush(c));
  SelectScope usePen(c.dc, pen.get());
  SelectScope useBrush(c.dc, brush.get() ? brush.get() : GetStockObject(NULL_BRUSH));
  Ellipse(c.dc, left, top + 1, right, bottom);
}

void DrawBannedMark(int cx, int cy, int radius, int color) {
  const HDC dc = PaintDC();
  if (!dc) return;
  SetPaintBrush(6, color);
  DrawCircleThin(cx, cy, radius, color);
  GdiOwner<HPEN> pen(MakePen(PS_SOLID, 2, RGB(0, 0, 0)));
  SelectScope use(dc, pen.get());
  Line(dc, cx - radius, cy - radius, cx + radius, cy + radius);
}

void DrawMarkBall(int cx, int cy, int radius, int color, int shadow) {
  const HDC dc = PaintDC();
  if (!dc) return;
  if (shadow == 2) SolidCircle(dc, cx + radius / 4, cy + radius / 4, radius - radius / 8, RGB(0, 0, 0));
  SolidCircle(dc, cx, cy, radius, ColorFromCode(color));
  SolidCircle(dc, cx - radius / 4, cy - radius / 4, 2, RGB(255, 255, 255));
}

void Draw3DEdge(int left, int top, int right, int bottom, int type) {
  if (!PaintDC()) return;
  COLORREF first = RGB(255, 255, 255), second = kEdgeGrey;
  if (type == 0 || type == 3) {
    first = kEdgeGrey;
    second = RGB(255, 255, 255);
  } else if (type == 4) {
    second = ColorFromCode(9);
  }
  GdiOwner<HPEN> firstPen(MakePen(PS_SOLID, 1, first));
  GdiOwner<HPEN> secondPen(MakePen(PS_SOLID, 1, second));
  DrawBevel(left, top, right, bottom, firstPen.get(), secondPen.get());
}

void Draw3DEdgeDark(int left, int top, int right, int bottom, int type) {
  if (!PaintDC()) return;
  const bool sunken = type == 0 || type == 3;
  const HPEN white = static_cast<HPEN>(GetStockObject(WHITE_PEN));
  const HPEN black = static_cast<HPEN>(GetStockObject(BLACK_PEN));
  GdiOwner<HPEN> grey(type == 4 ? MakePen(PS_SOLID, 1, ColorFromCode(9)) : nullptr);
  const HPEN second = sunken ? white : (type == 4 ? grey.get() : black);
  DrawBevel(left, top, right, bottom, sunken ? black : white, second);
}
