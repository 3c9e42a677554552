// The sheet under the canvas's items, in canvas pixels (millimetres times
// the canvas scale): paper, silver to the next centimetre, the scanned
// image, the guide lines of the design, the print frame, the registration
// marks where the print puts them and the areas the reader searches them
// in.
#include <algorithm>

#include "designer/item_dragging.h"
#include "designer/registration_marks.h"
#include "designer/sheet_canvas.h"
#include "designer/sheet_settings.h"
#include "foundation/gdi_draw.h"
#include "foundation/image_cache.h"
#include "screen/screen.h"

namespace {

constexpr int kBlack = 1, kRed = 2, kGuideOff = 5, kGuideOn = 6, kWhite = 7, kSilver = 8;
constexpr int kPrintFrameMm = 5;
constexpr int kDefaultAreaXMm = 25, kDefaultAreaYMm = 18;

int Scale() { return SheetDotsPerGridUnit(); }

void FillBox(HDC dc, int left, int top, int right, int bottom, int colorCode) {
  GdiOwner<HBRUSH> brush(CreateSolidBrush(ColorFromCode(colorCode)));
  GdiOwner<HPEN> pen(CreatePen(PS_SOLID, 1, ColorFromCode(colorCode)));
  SelectScope useBrush(dc, brush.get());
  SelectScope usePen(dc, pen.get());
  Rectangle(dc, left, top, right, bottom);
}

void Frame(HDC dc, int left, int top, int right, int bottom, int colorCode, int penStyle) {
  GdiOwner<HPEN> pen(CreatePen(penStyle, 1, ColorFromCode(colorCode)));
  SelectScope usePen(dc, pen.get());
  SelectScope useBrush(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, left, top, right + 1, bottom + 1);
}

void Line(HDC dc, int x1, int y1, int x2, int y2, int colorCode) {
  GdiOwner<HPEN> pen(CreatePen(PS_SOLID, 1, ColorFromCode(colorCode)));
  SelectScope usePen(dc, pen.get());
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

bool InEditMode(const WindowSlot& s) { return s.lineEditMode == 1; }

void DrawScannedImage(HDC dc, const WindowSlot& s) {
  const bool shown = !InEditMode(s) || g_canvasView.imageDisplay == 1;
  if (!s.backgroundImage || !shown) return;
  const RECT& r = g_canvasView.imageRect;
  DrawImageFileScaled(dc, s.backgroundImage, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void DrawGuides(HDC dc, int width, int height) {
  const SheetSettings& settings = g_sheetSettings;
  const int colour = GuideSnapOn() ? kGuideOn : kGuideOff;
  if (g_canvasView.imageDisplay == 1) {
    Frame(dc, 10, 10, width - 11, height - 11, colour, PS_SOLID);
    Frame(dc, 11, 11, width - 12, height - 12, colour, PS_SOLID);
  } else {
    const int across = std::max(1, settings.guideAcross) * Scale();
    const int down = std::max(1, settings.guideDown) * Scale();
    for (int x = across; x < width; x += across) Line(dc, x, 0, x, height - 1, colour);
    for (int y = down; y < height; y += down) Line(dc, 0, y, width - 1, y, colour);
  }
  Line(dc, width / 2, 0, width / 2, height - 1, kRed);
  Line(dc, 0, height / 2, width - 1, height / 2, kRed);
}

}  // namespace

void DrawSheetLayout() {
  const HDC dc = PaintDC();
  const int slot = PaintSlot();
  const SheetSettings& settings = g_sheetSettings;
  if (!dc || !IsValidSlot(slot) || settings.widthMm <= 0 || settings.heightMm <= 0) return;
  const WindowSlot& s = Slot(slot);
  const int width = settings.widthMm * Scale(), height = settings.heightMm * Scale();
  const int wholeWidth = (settings.widthMm + 9) / 10 * 10 * Scale();
  const int wholeHeight = (settings.heightMm + 9) / 10 * 10 * Scale();
  FillBox(dc, 0, 0, width, height, kWhite);
  if (height < wholeHeight) FillBox(dc, 0, height, wholeWidth, wholeHeight, kSilver);
  if (width < wholeWidth) FillBox(dc, width, 0, wholeWidth, wholeHeight, kSilver);
  DrawScannedImage(dc, s);
  if (InEditMode(s)) DrawGuides(dc, width, height);
  const int inset = kPrintFrameMm * Scale();
  Frame(dc, inset, inset, width - inset - 1, height - inset - 1, kRed, PS_SOLID);
  DrawRegistrationMarks();
  DrawCornerMarks((settings.areaX1 > 0 ? settings.areaX1 : kDefaultAreaXMm) * Scale(),
                  (settings.areaY1 > 0 ? settings.areaY1 : kDefaultAreaYMm) * Scale());
}

void DrawRegistrationMarks() {
  const SheetSettings& s = g_sheetSettings;
  for (const RegistrationSquare& square :
       RegistrationSquares(s.compensationMode, s.widthMm, s.heightMm, s.markMarginX, s.markMarginY,
                           g_sheetDefinition.sheetCode == "0002")) {
    DrawRegistrationMark(square.x, square.y, square.size);
  }
}

void DrawRegistrationMark(int xMm, int yMm, int sideMm) {
  const HDC dc = PaintDC();
  if (!dc) return;
  FillBox(dc, xMm * Scale(), yMm * Scale(), (xMm + sideMm) * Scale(), (yMm + sideMm) * Scale(), kBlack);
}

void DrawCornerMarks(int areaWidth, int areaHeight) {
  const HDC dc = PaintDC();
  const SheetSettings& s = g_sheetSettings;
  if (!dc || s.compensationMode == 0) return;
  const int w = s.widthMm * Scale(), h = s.heightMm * Scale();
  const int a = areaWidth, b = areaHeight;
  Frame(dc, 0, 0, a, b, kRed, PS_DOT);
  Frame(dc, w - a, 0, w, b, kRed, PS_DOT);
  Frame(dc, 0, h - b, a, h, kRed, PS_DOT);
  Frame(dc, w - a, h - b, w, h, kRed, PS_DOT);
}

void RefreshCanvasOptions() {
  const SheetSettings& s = g_sheetSettings;
  const std::vector<RegistrationSquare> squares =
      RegistrationSquares(s.compensationMode, s.widthMm, s.heightMm, s.markMarginX, s.markMarginY, false);
  if (squares.empty()) return;
  SetReferenceMarkRect(squares[0].x, squares[0].y, squares[0].size);
}

void SetReferenceMarkRect(int xMm, int yMm, int sideMm) {
  g_canvasView.referenceMark = RECT{xMm * Scale(), yMm * Scale(), (xMm + sideMm) * Scale(), (yMm + sideMm) * Scale()};
}
