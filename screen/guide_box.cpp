// The grey text boxes of a screen window: the guide box of the focused field
// (the slot's second STATIC child) and the hover tip of buttons and choices
// (the first). A box is a STATIC child moved and sized over the content; it
// paints its own lines whenever Windows asks, so a box stays whole when the
// window under it repaints.
#include <algorithm>
#include <string>
#include <vector>

#include "screen/screen.h"

namespace {

constexpr int kBoxMargin = 5;
constexpr int kTextLeft = 8;
constexpr int kHintTicksFirst = 2;
constexpr int kHintTicksLast = 12;

WNDPROC g_staticProc = nullptr;

struct BoxOwner {
  int slot = -1;
  int index = -1;
};

BoxOwner OwnerOf(HWND child) {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    for (int k = 0; k < 2; ++k) {
      if (Slot(s).statics[k] == child) return {s, k};
    }
  }
  return {};
}

LRESULT CALLBACK GuideBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    const BoxOwner owner = OwnerOf(window);
    if (owner.slot >= 0 && BeginScreenPaint(window, -1)) {
      const WindowSlot& s = Slot(owner.slot);
      RECT r;
      GetClientRect(window, &r);
      DrawGrayBox(0, 0, r.right, r.bottom, 0);
      const int unit = s.fontUnit;
      SelectScreenFont(0, 2 * unit);
      SetBkMode(PaintDC(), TRANSPARENT);
      int y = kBoxMargin;
      for (const std::string& line : SplitAtBars(s.boxTexts[owner.index].c_str())) {
        DrawTextPlain(kTextLeft, y, line.c_str());
        y += GuideLineHeight(unit);
      }
      EndScreenPaint();
      return 0;
    }
  }
  return CallWindowProcA(g_staticProc, window, message, wParam, lParam);
}

void HideBox(WindowSlot& s, int index) {
  const HWND child = s.statics[index];
  if (child) {
    // The window under the box paints the place it leaves, or the box's
    // picture would stay there.
    RECT r;
    GetWindowRect(child, &r);
    const HWND parent = GetParent(child);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    MoveWindow(child, 0, 0, 0, 0, FALSE);
    if (parent && r.right > r.left && r.bottom > r.top) InvalidateRect(parent, &r, TRUE);
  }
  s.boxTexts[index].clear();
}

// Shows box `index` of the slot with `text` at (x, y) of the client area.
void ShowBox(WindowSlot& s, int index, int x, int y, const GuideBoxSize& size, const char* text) {
  const HWND child = s.statics[index];
  if (!child) return;
  s.boxTexts[index] = text;
  MoveWindow(child, x, y, size.width, size.height, FALSE);
  ShowWindow(child, SW_SHOW);
  InvalidateRect(child, nullptr, TRUE);
  UpdateWindow(child);
}

// The item's rectangle in client coordinates.
RECT ClientRectOfItem(const WindowSlot& s, const ScreenItem& item) {
  const bool fixed = IsFixedItem(item) || item.titleStyle == 13;
  const int x = item.pixelX - (fixed ? 0 : s.scrollX);
  const int y = item.pixelY - (fixed ? 0 : s.scrollY);
  return RECT{x, y, x + item.pixelWidth, y + item.pixelHeight};
}

}  // namespace

int GuideLineHeight(int unit) { return 2 * unit + 4; }

GuideBoxSize MeasureGuideBox(const char* text, int unit) {
  const std::vector<std::string> lines = SplitAtBars(text);
  size_t longest = 0;
  for (const std::string& line : lines) longest = std::max(longest, line.size());
  GuideBoxSize size;
  size.lines = static_cast<int>(lines.size());
  size.width = unit * (static_cast<int>(longest) + 2);
  // Every line inside the margins: a box one line high holds that line.
  size.height = GuideLineHeight(unit) * size.lines + 2 * kBoxMargin;
  return size;
}

void AttachGuideBox(HWND child) {
  const WNDPROC previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GuideBoxProc)));
  if (!g_staticProc) g_staticProc = previous;
}

void ShowEditGuideBox(int i, const char* text, int placement) {
  WindowSlot& s = Slot(g_screen.currentSlot);
  if (s.windowKind == kWindowKindFull) return;
  if (!text || !text[0] || g_screen.popupOpen) {
    HideBox(s, 1);
    return;
  }
  GuideBoxSize size = MeasureGuideBox(text, s.fontUnit);
  int x = 10;
  int y = s.headerHeight + 6;
  // The guide line ends inside the window.
  if (s.clientRight > 0) size.width = std::min(size.width, s.clientRight - 2 * x);
  if (placement == 1 && i >= 0) {
    const RECT r = ClientRectOfItem(s, Item(i));
    x = std::max(0, std::min(static_cast<int>(r.left), s.clientRight - size.width));
    y = r.bottom + 2;
  }
  g_screen.lastGuideLine = text;
  ShowBox(s, 1, x, y, size, text);
}

void ShowItemHintBox() {
  WindowSlot& s = Slot(g_screen.currentSlot);
  const int i = g_screen.hoverItem;
  if (i < 0 || i >= g_screenItems.totalCount || s.windowKind == kWindowKindFull) return;
  const ScreenItem& item = Item(i);
  const bool hintable = IsButtonOrMark(item.kind) || item.kind == 'R' || item.kind == 'C';
  if (!hintable || s.lineEditMode || g_screen.popupOpen || item.state != kItemEnabled) return;
  ++g_screen.hoverTicks;
  if (g_screen.hoverTicks < kHintTicksFirst || g_screen.hoverTicks > kHintTicksLast ||
      item.guide.empty()) {
    HideBox(s, 0);
    return;
  }
  if (!s.boxTexts[0].empty()) return;  // shown already
  const GuideBoxSize size = MeasureGuideBox(item.guide.c_str(), s.fontUnit);
  const RECT r = ClientRectOfItem(s, item);
  int y = r.bottom + 2;
  if (y + size.height > s.clientBottom) y = r.top - size.height - 2;
  int x = r.left;
  const int screenRight = g_screen.metrics.screenWidth;
  if (size.width > s.clientRight) {
    x = 1;
  } else {
    x = std::min(x, s.clientRight - size.width);
    x = std::min(x, screenRight - size.width);
    x = std::max(x, 0);
  }
  ShowBox(s, 0, x, y, size, item.guide.c_str());
}

void HideItemHintBox() { HideBox(Slot(g_screen.currentSlot), 0); }

void HideSlotHintBox(int slot) {
  if (IsValidSlot(slot)) HideBox(Slot(slot), 0);
}
