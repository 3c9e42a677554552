// The row bar of list windows: in a row-selection mode (1, 2 or 4) the
// window takes no typing and a bar marks one row of the list, moved with the
// arrow keys or chosen with the mouse and confirmed with Enter (message 1125
// with code 13 and the row). Mode 5 turns input off altogether. While a
// mode is on, the buttons of F5, F6, F7 and F11 are protected.
#include <algorithm>

#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr int kRowDown = 140;  // as the arrow keys reach the owner
constexpr int kRowUp = 138;
constexpr int kBarKeys[] = {VK_F5, VK_F6, VK_F7, VK_F11};

WindowSlot& CurrentSlot() { return Slot(g_screen.currentSlot); }

bool IsRowMode(int mode) { return mode == 1 || mode == 2 || mode == 4; }

// The bar row `row` (from 1) in client coordinates.
RECT BarRect(const WindowSlot& s, int row) {
  const RowBar& bar = s.rowBar;
  const int top = bar.firstTop + bar.pitch * (row - 1) - s.scrollY;
  const int left = bar.left - s.scrollX - (s.rowSelectionMode == 2 ? 2 : 0);
  return RECT{left, top, bar.right - s.scrollX, top + bar.pitch};
}

// The rows of the list the window shows, as the list layout placed them.
void TakeListRows(WindowSlot& s) {
  RowBar& bar = s.rowBar;
  int secondTop = 0;
  GetScreenGeometry(&bar.left, &bar.firstTop, &bar.right, &secondTop, &s.rowBarCount);
  bar.pitch = secondTop > bar.firstTop ? secondTop - bar.firstTop : std::max(1, s.rowPitch);
  s.rowBarCount = std::max(0, s.rowBarCount);
}

void InvalidateBar(const WindowSlot& s, int row) {
  if (!s.window || row < 1) return;
  RECT r = BarRect(s, row);
  InflateRect(&r, 2, 2);
  InvalidateRect(s.window, &r, TRUE);
}

void SendToOwner(const WindowSlot& s, WPARAM code, LPARAM lParam) {
  if (s.commandWindow) SendMessageA(s.commandWindow, kMsgScreenCommand, code, lParam);
}

void PutEditAway(WindowSlot& s) {
  ShowFieldPopupButton(0, g_screen.currentItem >= 0 ? g_screen.currentItem : 0);
  if (s.editControl) ShowWindow(s.editControl, SW_HIDE);
  if (s.editControl) {
    OpenImeContext(s.editControl);
    SetFieldImeMode(s.editControl, 0);
  }
}

void RepaintBelowHeader(const WindowSlot& s) {
  if (!s.window) return;
  RECT r;
  GetClientRect(s.window, &r);
  r.top = s.headerHeight;
  InvalidateRect(s.window, &r, TRUE);
  UpdateWindow(s.window);
}

}  // namespace

void UpdateFunctionKeyButtons() {
  const WindowSlot& s = CurrentSlot();
  const int state = s.rowSelectionMode != 0 ? kItemProtected : kItemEnabled;
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    ScreenItem& item = Item(i);
    // Keys the screen's key string protects stay protected.
    if (item.protectByte == 2 || item.groupValue == kGroupProtectedKey ||
        item.state == kItemHidden) {
      continue;
    }
    for (int key : kBarKeys) {
      if (item.keyCode == key && item.state != state) {
        item.state = state;
        InvalidateItem(i);
      }
    }
  }
}

void SetWindowEditMode(int mode) {
  WindowSlot& s = CurrentSlot();
  s.rowSelectionMode = mode;
  if (IsRowMode(mode)) {
    PutEditAway(s);
    TakeListRows(s);
    g_screen.selectedRow = s.rowBarCount > 0 ? 1 : 0;
  } else {
    s.rowBarCount = 0;
    g_screen.selectedRow = 0;
  }
  UpdateFunctionKeyButtons();
  RepaintBelowHeader(s);
  if (mode == 0) {
    SelectActiveWindowSlot();
    if (s.editControl) ShowWindow(s.editControl, SW_SHOW);
  }
}

void SetWindowInputMode(int mode) {
  WindowSlot& s = CurrentSlot();
  if (s.lineEditMode) return;
  s.rowSelectionMode = mode;
  s.rowBarCount = 0;
  UpdateFunctionKeyButtons();
  RepaintBelowHeader(s);
  if (mode == 0) {
    if (s.editControl) ShowWindow(s.editControl, SW_SHOW);
    FocusField("/HOME");
  } else {
    PutEditAway(s);
  }
}

void NotifyScreenEditMode(int mode) {
  if (CurrentSlot().lineEditMode) {
    ShowInfoMessage("", "スクリーン編集モードです。");
    return;
  }
  CurrentSlot().rowSelectionMode = mode;
}

void MoveRowBar(int key) {
  WindowSlot& s = CurrentSlot();
  if (s.rowBarCount <= 0 || g_screen.shiftHeld || g_screen.ctrlHeld) return;
  if (key != VK_RETURN && key != VK_DOWN && key != VK_UP) return;
  g_screen.lastCommandKey = key;
  const int before = g_screen.selectedRow;
  if (key == VK_DOWN && before < s.rowBarCount) {
    g_screen.selectedRow = before + 1;
    g_screen.lastPopupChoice = before;
    InvalidateBar(s, before);
    InvalidateBar(s, before + 1);
    SendToOwner(s, kRowDown, g_screen.fieldEdited);
  } else if (key == VK_UP && before > 1 && BarRect(s, before - 1).top >= s.headerHeight) {
    g_screen.selectedRow = before - 1;
    g_screen.lastPopupChoice = before;
    InvalidateBar(s, before);
    InvalidateBar(s, before - 1);
    SendToOwner(s, kRowUp, g_screen.fieldEdited);
  }
}

int HitTestListHeader() {
  const WindowSlot& s = CurrentSlot();
  if (s.rowSelectionMode != 1 && s.rowSelectionMode != 4) return 0;
  int x = 0, y = 0;
  GetMouseInWindow(&x, &y);
  for (int row = 1; row <= s.rowBarCount; ++row) {
    const RECT r = BarRect(s, row);
    if (x >= r.left && x <= r.right && y >= r.top && y < r.bottom) {
      InvalidateBar(s, g_screen.selectedRow);
      g_screen.selectedRow = row;
      InvalidateBar(s, row);
      return row;
    }
  }
  return 0;
}

void SendListHeaderCommand() { SendToOwner(CurrentSlot(), VK_RETURN, g_screen.selectedRow); }

void PaintRowBar(int slot) {
  const WindowSlot& s = Slot(slot);
  if (!IsRowMode(s.rowSelectionMode) || s.rowBarCount <= 0 || g_screen.selectedRow < 1) return;
  RECT r = BarRect(s, g_screen.selectedRow);
  OffsetRect(&r, s.scrollX, s.scrollY);  // the page paints in content coordinates
  DrawFrameLines(r.left, r.top, r.right, r.bottom - 1, 2, 2);
}
