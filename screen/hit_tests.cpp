// Where the mouse is among a screen's items: item rectangles (fixed items
// in window coordinates, the others in content coordinates), the item under
// a point, the release that presses a button, the cursor shapes and hover
// item of mouse moves, and invalidating an item or a content rectangle.
#include <algorithm>
#include <string>

#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

WindowSlot& CurrentSlot() { return Slot(g_screen.currentSlot); }

bool IsLineTypeButton(const ScreenItem& item) {
  return item.keyCode >= kKeyLineType1 && item.keyCode <= kKeyLineType1 + 4 &&
         item.name.compare(0, 5, "LTYPE") == 0;
}

// The mouse in content coordinates of the current slot.
POINT MouseInContent(const WindowSlot& s) {
  int x = 0, y = 0;
  GetMouseInWindow(&x, &y);
  return POINT{x + s.scrollX, y + s.scrollY};
}

HCURSOR ProgramCursor(const char* name) { return LoadCursorA(GetModuleHandleA(nullptr), name); }

// Longest comma-separated part of a choice text, double-byte characters
// counting as two.
int LongestChoice(const std::string& text) {
  int longest = 0, current = 0;
  for (size_t k = 0; k < text.size();) {
    const int bytes = SjisCharLength(text.c_str() + k);
    if (bytes == 1 && text[k] == ',') {
      current = 0;
    } else {
      current += bytes;
      longest = std::max(longest, current);
    }
    k += bytes;
  }
  return longest;
}

}  // namespace

bool IsFixedToWindow(int slot, int i) {
  const ScreenItem& item = Item(i);
  return IsFixedItem(item) || item.titleStyle == 13 || i == Slot(slot).rulerItem;
}

RECT ItemPixelRect(int i) {
  const ScreenItem& item = Item(i);
  const bool vertical = item.edit == 'V';
  const int width = vertical ? item.pixelHeight : item.pixelWidth;
  const int height = vertical ? item.pixelWidth : item.pixelHeight;
  return RECT{item.pixelX, item.pixelY, item.pixelX + width, item.pixelY + height};
}

bool ItemHoldsPoint(int slot, int i, POINT content) {
  const WindowSlot& s = Slot(slot);
  POINT p = content;
  if (IsFixedToWindow(slot, i)) {
    p.x -= s.scrollX;
    p.y -= s.scrollY;
  }
  const RECT r = ItemPixelRect(i);
  return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

bool IsSkippedOutsideDesign(const WindowSlot& s, int i) {
  const ScreenItem& item = Item(i);
  return i == s.rulerItem || IsLineTypeButton(item);
}

void GetItemHitRect(int i, int* left, int* top, int* right, int* bottom) {
  const ScreenItem& item = Item(i);
  RECT r = ItemPixelRect(i);
  const int slot = FindItemSlot(i);
  const int unit = slot >= 0 ? Slot(slot).fontUnit : kBaseCharWidth;
  if (item.itemClass == kItemClassPlan) {
    r.right = r.left + 20 * unit;
    r.bottom = r.top + item.pixelHeight + unit;
  }
  if (item.edit == 'C' && item.keyCode > 0 && item.boxesPerRow > 0) {
    const int dots = SheetDotsPerGridUnit();
    const int rows = std::max(1, (item.width + item.boxesPerRow - 1) / item.boxesPerRow);
    r.right = item.pixelX + (item.boxWidth * rows + item.boxGap * (rows - 1)) * dots +
              LongestChoice(item.choices) * item.charSize;
    r.bottom = item.pixelY + (item.pixelHeight + item.rowGap * dots) * item.boxesPerRow;
  }
  ItemCaptionRect caption;
  if (GetItemRect(i, &caption) > 0 && caption.placement != kCaptionNone) {
    r.left = std::min<LONG>(r.left, caption.left);
    r.top = std::min<LONG>(r.top, caption.top);
    r.right = std::max<LONG>(r.right, caption.right);
    r.bottom = std::max<LONG>(r.bottom, caption.bottom);
  }
  *left = r.left;
  *top = r.top;
  *right = r.right;
  *bottom = r.bottom;
}

int FindDesignItemAtPoint(int x, int y) {
  const WindowSlot& s = CurrentSlot();
  if (y - s.scrollY < s.headerHeight) return -1;
  for (int i = s.lastItem; s.itemCount > 0 && i >= s.firstItem; --i) {
    const ScreenItem& item = Item(i);
    if (item.state == kItemHidden || IsRepeatedCopy(item)) continue;
    int left, top, right, bottom;
    GetItemHitRect(i, &left, &top, &right, &bottom);
    const bool fixed = item.protectByte != 0;
    const int px = fixed ? x - s.scrollX : x;
    const int py = fixed ? y - s.scrollY : y;
    if (px >= left && px <= right && py >= top && py <= bottom) return i;
  }
  return -1;
}

int HitTestItemAtMouse() {
  WindowSlot& s = CurrentSlot();
  if (s.screenType != kScreenTypeSheet && s.itemCount == 0) {
    MessageBeep(MB_ICONHAND);
    return -2;
  }
  RecordMousePosition(g_screen.currentSlot);
  const DesignModeCalls& design = GetDesignModeCalls();
  if (s.lineEditMode && design.dropDraggedItem && design.dropDraggedItem() == 1) return -1;
  const int pressed = g_screen.pressedItem;
  g_screen.pressedItem = -1;
  const POINT p = MouseInContent(s);
  for (int i = s.lastItem; i >= s.firstItem; --i) {
    const ScreenItem& item = Item(i);
    if (!s.lineEditMode && IsSkippedOutsideDesign(s, i)) continue;
    if (item.titleStyle == 13 || item.state == kItemHidden) continue;
    if (!ItemHoldsPoint(g_screen.currentSlot, i, p)) continue;
    if (s.lineEditMode && p.y - s.scrollY <= s.headerHeight && item.protectByte != 9) return -1;
    if (!IsButtonOrMark(item.kind)) return -1;
    // A button acts when it is released where it was pressed.
    if (i != pressed) return -1;
    return RunFieldAction(i);
  }
  return -1;
}

int HitTestListItemAtMouse() {
  const WindowSlot& s = CurrentSlot();
  const POINT p = MouseInContent(s);
  for (int i = s.lastItem; s.itemCount > 0 && i >= s.firstItem; --i) {
    const ScreenItem& item = Item(i);
    if (item.state == kItemHidden || !ItemHoldsPoint(g_screen.currentSlot, i, p)) continue;
    if (item.state == kItemProtected || IsButtonOrMark(item.kind)) return -1;
  }
  return 0;
}

void InvalidateItem(int i) {
  if (i < 0 || i >= g_screenItems.totalCount) return;
  const int slot = FindItemSlot(i);
  if (slot < 0 || !Slot(slot).window) return;
  const WindowSlot& s = Slot(slot);
  RECT r = ItemPixelRect(i);
  if (!IsFixedToWindow(slot, i)) OffsetRect(&r, -s.scrollX, -s.scrollY);
  r.left -= 2;
  r.top -= 2;
  r.right += 2;
  r.bottom += 4;
  InvalidateRect(s.window, &r, TRUE);
}

void InvalidateContentRect(int left, int top, int right, int bottom, int erase) {
  const WindowSlot& s = CurrentSlot();
  if (!s.window) return;
  RECT r{left - s.scrollX, top - s.scrollY, right - s.scrollX, bottom - s.scrollY};
  InvalidateRect(s.window, &r, erase ? TRUE : FALSE);
  UpdateWindow(s.window);
}

void RecordMousePosition(int slot) {
  if (!IsValidSlot(slot)) return;
  GetMouseInWindow(&Slot(slot).mouseX, &Slot(slot).mouseY);
}

void RestoreDragOrigin(int slot) {
  if (!IsValidSlot(slot)) return;
  g_screen.clickX = Slot(slot).mouseX + Slot(slot).scrollX;
  g_screen.clickY = Slot(slot).mouseY + Slot(slot).scrollY;
}

int TrackMouseOnItems() {
  WindowSlot& s = CurrentSlot();
  if (s.lineEditMode) {
    const DesignModeCalls& design = GetDesignModeCalls();
    if (design.trackDrag) design.trackDrag();
    return -1;
  }
  const POINT p = MouseInContent(s);
  const int i = FindDesignItemAtPoint(p.x, p.y);
  if (i < 0) {
    g_screen.hoverItem = -1;
    HideItemHintBox();
    return -1;
  }
  const ScreenItem& item = Item(i);
  const bool hintable = IsButtonOrMark(item.kind) || item.kind == 'R' || item.kind == 'C';
  if (hintable && i != g_screen.hoverItem) {
    g_screen.hoverItem = i;
    g_screen.hoverTicks = 0;
    HideItemHintBox();
  }
  if (IsButtonOrMark(item.kind)) {
    HCURSOR cursor = nullptr;
    if (item.state == kItemEnabled) {
      cursor = ProgramCursor(item.titleStyle == 15 ? "PBUTTN" : "FINGER");
    } else if (item.itemClass == kItemClassPlan) {
      cursor = ProgramCursor("PBUTTN");
    }
    if (cursor) SetCursor(cursor);
  }
  return i;
}
