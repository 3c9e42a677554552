// The drawing context of the screen engine: the DC, its scroll origin, the
// pen and fill of the primitives and the one font the context created.
// Contexts stack: a field repainted while a page paints opens a context of
// its own and the page's DC and font are intact when it closes. Also the
// colour codes of screens and sheets and the fonts by face code.
#include <cstring>

#include "screen/screen.h"
#include "tally/tally.h"

namespace {

enum ContextKind { kByBeginPaint = 1, kByGetDC = 2, kGivenDC = 3 };

constexpr int kMaxPaintDepth = 4;
PaintContext g_contexts[kMaxPaintDepth];
int g_depth = 0;
PaintContext g_noContext;  // what primitives see outside any bracket

int g_liveGdiObjects = 0;

struct ColorEntry {
  int code;
  COLORREF rgb;
};
constexpr ColorEntry kColorTable[] = {
    {1, RGB(0, 0, 255)},       {2, RGB(255, 0, 0)},       {3, RGB(255, 0, 255)},
    {4, RGB(0, 255, 0)},       {5, RGB(0, 255, 255)},     {6, RGB(255, 255, 0)},
    {7, RGB(255, 255, 255)},   {8, RGB(192, 192, 192)},   {9, RGB(130, 130, 130)},
    {15, RGB(130, 130, 130)},  {16, RGB(20, 20, 150)},    {17, RGB(200, 200, 255)},
    {19, RGB(200, 160, 130)},  {20, RGB(255, 102, 102)},  {21, RGB(0, 0, 200)},
    {22, RGB(230, 100, 130)},  {23, RGB(130, 0, 130)},    {24, RGB(102, 153, 0)},
    {25, RGB(100, 130, 230)},  {26, RGB(155, 155, 0)},    {28, RGB(192, 192, 192)},
    {29, RGB(130, 130, 130)},  {35, RGB(130, 130, 130)},  {38, RGB(155, 155, 155)},
    {39, RGB(140, 140, 140)},  {40, RGB(102, 102, 102)},  {41, RGB(0, 170, 255)},
    {42, RGB(0, 210, 255)},    {43, RGB(150, 255, 255)},  {44, RGB(255, 20, 0)},
    {45, RGB(255, 80, 0)},     {46, RGB(255, 150, 200)},  {47, RGB(140, 255, 128)},
    {48, RGB(150, 255, 150)},  {49, RGB(200, 250, 160)},  {107, RGB(85, 85, 85)},
    {108, RGB(0, 128, 255)},   {109, RGB(255, 64, 64)},   {110, RGB(210, 210, 210)},
    {111, RGB(230, 230, 230)}, {112, RGB(128, 255, 255)}, {113, RGB(255, 255, 128)},
    {114, RGB(136, 136, 136)}, {115, RGB(21, 201, 255)},  {116, RGB(255, 192, 192)},
    {117, RGB(255, 192, 255)}, {118, RGB(192, 255, 224)}, {119, RGB(192, 255, 255)},
    {120, RGB(255, 255, 192)}, {121, RGB(255, 255, 255)},
};

// Face names by face code; other codes leave the choice to the font mapper.
const char* FaceName(int face) {
  switch (face) {
    case 0: return "ＭＳ 明朝";
    case 1: return "ＭＳ ゴシック";
    case 2: return "ＭＳ Ｐ明朝";
    case 3: return "ＭＳ Ｐゴシック";
    case 4: return "KQMUPA";
    default: return "";
  }
}

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

namespace gdi_owner_detail {
void Count(int delta) { g_liveGdiObjects += delta; }
}  // namespace gdi_owner_detail

int LiveGdiObjects() { return g_liveGdiObjects; }

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

COLORREF ColorFromCode(int code) {
  for (const ColorEntry& e : kColorTable) {
    if (e.code == code) return e.rgb;
  }
  if (code >= 101 && code <= 106) return ColorFromCode(code - 100);
  return RGB(0, 0, 0);
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

HFONT CreateFontByCode(int face, int height, int weight) {
  // Screens and reports share one set of font attributes.
  return CreateFontByName(FaceName(face), height, weight);
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
