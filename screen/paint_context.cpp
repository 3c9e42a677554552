// The drawing context of the screen engine: the DC, its scroll origin, the
// pen and fill of the primitives and the one font the context created.
// Contexts stack: a field repainted while a page paints opens a context of
// its own and the page's DC and font are intact when it closes.
#include <cstring>

#include "screen/screen.h"

namespace {

enum ContextKind { kByBeginPaint = 1, kByGetDC = 2, kGivenDC = 3 };

constexpr int kMaxPaintDepth = 4;
PaintContext g_contexts[kMaxPaintDepth];
int g_depth = 0;
PaintContext g_noContext;  // what primitives see outside any bracket

// Puts the DC's font back and deletes the context's own.
void DropContextFont(PaintContext& c) {
  if (!c.font.get()) return;
  SelectObject(c.dc, c.previousFont);
  c.font.reset(nullptr);
  c.previousFont = nullptr;
}

PaintContext* PushContext() {
  if (g_depth >= kMaxPaintDepth) return nullptr;
  PaintContext& c = g_contexts[g_depth++];
  c.dc = nullptr;
  c.window = nullptr;
  c.paint = PAINTSTRUCT{};
  c.kind = 0;
  c.savedDcState = 0;
  c.slot = -1;
  c.frameColor = 0;
  c.left = c.top = c.right = c.bottom = 0;
  return &c;
}

void PopContext() {
  PaintContext& c = g_contexts[g_depth - 1];
  DropContextFont(c);
  switch (c.kind) {
    case kByBeginPaint: EndPaint(c.window, &c.paint); break;
    case kByGetDC: ReleaseDC(c.window, c.dc); break;
    case kGivenDC: RestoreDC(c.dc, c.savedDcState); break;
    default: break;
  }
  c.dc = nullptr;
  --g_depth;
}

void SelectFont(int face, int size, int weight, bool weightGiven) {
  PaintContext& c = ActivePaintContext();
  if (!c.dc) return;
  if (c.fontSize == 0 || c.fontSize == -1) return;
  if (weightGiven && (c.fontWeight == 0 || c.fontWeight == -1)) return;
  if (face == c.fontFace && size == c.fontSize && weight == c.fontWeight) return;
  DropContextFont(c);
  const HFONT font = CreateFontByCode(face, size, weight);
  c.previousFont = SelectObject(c.dc, font);
  c.font.reset(font);
  c.fontFace = face;
  c.fontSize = size;
  c.fontWeight = weight;
}

}  // namespace

PaintContext& ActivePaintContext() { return g_depth > 0 ? g_contexts[g_depth - 1] : g_noContext; }

HDC PaintDC() { return ActivePaintContext().dc; }

// A context inside WM_PAINT with its origin at (x, y) of the content.
static HDC BeginWindowPaint(HWND window, int slot, int x, int y) {
  PaintContext* c = PushContext();
  if (!c) {
    // Too deep to paint now: validate the region anyway, or the window
    // would be sent WM_PAINT again and again.
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return nullptr;
  }
  c->kind = kByBeginPaint;
  c->window = window;
  c->dc = BeginPaint(window, &c->paint);
  c->slot = slot;
  ResetPaintState(window, x, y);
  return c->dc;
}

HDC BeginScreenPaint(HWND window, int slot) {
  if (slot < 0) return BeginWindowPaint(window, slot, 0, 0);
  WindowSlot& s = Slot(slot);
  s.scrollX = s.scrollPosH;
  s.scrollY = s.scrollPosV;
  return BeginWindowPaint(window, slot, s.scrollX, s.scrollY);
}

HDC BeginScreenPaintPlain(HWND window, int slot, int x, int y) {
  if (slot >= 0) {
    Slot(slot).scrollX = x;
    Slot(slot).scrollY = y;
  }
  return BeginWindowPaint(window, slot < 0 ? -1 : slot, x, y);
}

void EndScreenPaint() {
  if (g_depth > 0) PopContext();
}

HDC GetScreenDC(HWND window, int slot, int x, int y) {
  PaintContext* c = PushContext();
  if (!c) return nullptr;
  c->kind = kByGetDC;
  c->window = window;
  c->dc = GetDC(window);
  c->slot = slot;
  ResetPaintState(window, x, y);
  return c->dc;
}

void ReleaseScreenDC() {
  if (g_depth > 0) PopContext();
}

HDC BeginScreenPaintDC(HDC dc, int slot, int x, int y) {
  PaintContext* c = PushContext();
  if (!c) return nullptr;
  c->kind = kGivenDC;
  c->dc = dc;
  c->savedDcState = SaveDC(dc);
  c->slot = slot;
  ResetPaintState(nullptr, x, y);
  return dc;
}

void EndScreenPaintDC() {
  if (g_depth > 0) PopContext();
}

void ResetPaintState(HWND window, int x, int y) {
  PaintContext& c = ActivePaintContext();
  if (!c.dc) return;
  DropContextFont(c);
  c.penStyle = PS_SOLID;
  c.fillStyle = -1;
  c.fontFace = c.fontSize = c.fontWeight = -2;
  SetMapMode(c.dc, MM_TEXT);
  SetViewportOrgEx(c.dc, -x, -y, nullptr);
  SelectObject(c.dc, GetStockObject(SYSTEM_FIXED_FONT));
  SelectScreenFont(0, 2 * kBaseCharWidth);
}

int SetPaintPenStyle(int style) {
  ActivePaintContext().penStyle = style;
  return style;
}

COLORREF SetPaintBrush(int fillStyle, int colorCode) {
  PaintContext& c = ActivePaintContext();
  c.fillStyle = fillStyle;
  c.fillColor = ColorFromCode(colorCode);
  return c.fillColor;
}

void SelectScreenFont(int face, int size) { SelectFont(face, size, FW_NORMAL, false); }

void SelectScreenFontSize(int face, int size, int weight) { SelectFont(face, size, weight, true); }

void SetPaintCharacterExtra(int extra) {
  if (PaintDC()) SetTextCharacterExtra(PaintDC(), extra);
}

int MeasureTextWidth(const char* text) {
  SIZE size{};
  if (PaintDC()) GetTextExtentPoint32A(PaintDC(), text, static_cast<int>(std::strlen(text)), &size);
  return size.cx;
}

int MeasureBoxCharHeight() {
  SIZE size{};
  if (PaintDC()) GetTextExtentPoint32A(PaintDC(), "□", 2, &size);
  return size.cy;
}
