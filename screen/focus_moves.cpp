// Moving the focus between items: which item Enter, Tab and the arrow keys
// lead to (by the items' pixel positions), and the two halves of a move —
// applying the pending item, and completing the move: the value formatted
// into the slot's edit control, the control placed over the item or put
// away, the pop-up button and guide box shown, the input method switched.
#include <cstdlib>
#include <string>

#include "screen/screen.h"

namespace {

constexpr int kFar = 9999;

enum class Direction { kNone, kForward, kBackward, kDown, kUp };

WindowSlot& CurrentSlot() { return Slot(g_screen.currentSlot); }

bool InSlotRange(const WindowSlot& s, int i) {
  return s.itemCount > 0 && i >= s.firstItem && i <= s.lastItem;
}

// Vertical move: the nearest row in the direction, and on it the item
// nearest across. Ties go to the later item.
int FindVertical(const WindowSlot& s, bool down) {
  int bestDy = kFar, bestDx = kFar;
  int chosen = -1;
  for (int i = s.firstItem; i <= s.lastItem; ++i) {
    if (CanFocusItem(i) != 0) continue;
    const int dy = g_screen.recordedY - Item(i).pixelY;
    const int dx = g_screen.recordedX - Item(i).pixelX;
    if ((down ? dy < 0 : dy > 0) && std::abs(dy) <= bestDy) {
      bestDy = std::abs(dy);
      if (std::abs(dx) <= bestDx) {
        chosen = i;
        bestDx = std::abs(dx);
      }
    }
  }
  return chosen;
}

// Across move: along the row, then to the next row's first (or the previous
// row's last) item, then to the nearest item across at all.
int FindAcross(const WindowSlot& s, bool forward) {
  bool rowFlag = false, columnFlag = false;
  for (int i = s.firstItem; i <= s.lastItem; ++i) {
    if (CanFocusItem(i) != 0) continue;
    const int x = Item(i).pixelX;
    if (forward ? x < g_screen.recordedX : x > g_screen.recordedX) continue;
    if (Item(i).pixelY == g_screen.recordedY) {
      rowFlag = true;
      break;
    }
    if (x == g_screen.recordedX) columnFlag = true;
  }

  int chosen = -1;
  int bestDy = kFar, bestDx = kFar;
  for (int i = s.firstItem; i <= s.lastItem; ++i) {
    if (CanFocusItem(i) != 0) continue;
    const int dy = g_screen.recordedY - Item(i).pixelY;
    const int dx = g_screen.recordedX - Item(i).pixelX;
    if ((!rowFlag || dy == 0) && (forward ? dy <= 0 : dy >= 0) && std::abs(dy) <= bestDy) {
      bestDy = std::abs(dy);
      if ((!columnFlag || dx == 0) && (forward ? dx < 0 : dx > 0) && std::abs(dx) <= bestDx) {
        bestDx = std::abs(dx);
        chosen = i;
      }
    }
  }
  if (chosen >= 0) return chosen;

  bestDy = kFar;
  bestDx = -kFar;
  for (int i = s.firstItem; i <= s.lastItem; ++i) {
    if (CanFocusItem(i) != 0) continue;
    const int dy = g_screen.recordedY - Item(i).pixelY;
    const int dx = g_screen.recordedX - Item(i).pixelX;
    if (forward) {
      if (dy < 0 && dx >= 0 && std::abs(dx) >= bestDx) {
        bestDx = std::abs(dx);
        if (std::abs(dy) <= bestDy) {
          bestDy = std::abs(dy);
          chosen = i;
        }
      }
    } else if (dy > 0 && dx <= 0 && std::abs(dy) <= bestDy) {
      bestDy = std::abs(dy);
      chosen = i;
    }
  }
  if (chosen >= 0) return chosen;

  bestDy = bestDx = kFar;
  for (int i = s.firstItem; i <= s.lastItem; ++i) {
    if (CanFocusItem(i) != 0) continue;
    const int dy = g_screen.recordedY - Item(i).pixelY;
    const int dx = g_screen.recordedX - Item(i).pixelX;
    if ((forward ? dx <= 0 : dx >= 0) && std::abs(dx) < bestDx) {
      bestDx = std::abs(dx);
      if (std::abs(dy) < bestDy) {
        bestDy = std::abs(dy);
        chosen = i;
      }
    }
  }
  return chosen;
}

Direction DirectionOfKey(const WindowSlot& s, int key) {
  if (SlotInputState(s) == 2) {
    switch (key) {
      case VK_RIGHT: return Direction::kForward;
      case VK_LEFT: return Direction::kBackward;
      case VK_DOWN: return Direction::kDown;
      case VK_UP: return Direction::kUp;
      default: return Direction::kNone;
    }
  }
  if ((key == VK_RETURN || key == VK_TAB) && g_screen.shiftHeld) return Direction::kBackward;
  if (key == VK_TAB || (key == VK_RETURN && s.openState == 1)) return Direction::kForward;
  if (key == VK_DOWN || (key == VK_RETURN && (s.openState == 2 || s.openState == 3))) {
    return Direction::kDown;
  }
  if (key == VK_UP) return Direction::kUp;
  return Direction::kNone;
}

bool IsArrowKey(int key) { return key >= VK_LEFT && key <= VK_DOWN; }

bool HasPopupText(const ScreenItem& item) {
  return !item.choices.empty() && item.kind != 'R' && item.kind != 'C';
}

// The edit control's font follows the item's character size.
void SetEditFont(WindowSlot& s, const ScreenItem& item) {
  if (!s.editControl) return;
  const HFONT font = CreateFontByCode(0, 2 * item.charSize, FW_NORMAL);
  SendMessageA(s.editControl, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (s.editFont) DeleteObject(s.editFont);
  s.editFont = font;
}

// Puts the slot's edit control over the focused item, or out of the way for
// items that take no typing.
void PlaceEditControl(WindowSlot& s, int i) {
  const ScreenItem& item = Item(i);
  const HWND edit = s.editControl;
  if (!edit) return;
  if (item.kind == 'c' || IsButtonOrMark(item.kind)) {
    MoveWindow(edit, 0, -50, 0, 0, FALSE);
    if (IsButtonOrMark(item.kind) && SlotInputState(s) == 2) PaintItemState(i, 2);
    return;
  }
  if (item.kind == 'R' || item.kind == 'C') return;
  const int cs = item.charSize;
  if (item.titleStyle == 11) {
    MoveWindow(edit, item.pixelX + cs / 2, item.pixelY + 1, item.pixelWidth - (cs - 2),
               item.pixelHeight - 1, TRUE);
    ShowWindow(edit, SW_SHOW);
    return;
  }
  const int top = item.pixelY + 1 - s.scrollY;
  if (top < s.headerHeight) {
    MoveWindow(edit, 0, 0, 0, 0, FALSE);
    return;
  }
  if (s.hasPasswordItem) {
    SendMessageA(edit, EM_SETPASSWORDCHAR, item.edit == 'P' ? '*' : 0, 0);
  }
  MoveWindow(edit, item.pixelX - s.scrollX + 1, top + 1, item.pixelWidth - 3, item.pixelHeight - 3,
             TRUE);
  if (s.rowSelectionMode == 0) ShowWindow(edit, SW_SHOW);
  if (s.popupButtonItem >= 0 && s.rowSelectionMode == 0 && item.kind != 'R' &&
      !IsButtonOrMark(item.kind) && HasPopupText(item)) {
    ShowFieldPopupButton(1, i);
  }
}

}  // namespace

int SlotInputState(const WindowSlot& s) { return s.inputMode == 3 ? 1 : s.inputMode; }

int CanFocusItem(int i) {
  const ScreenItem& item = Item(i);
  const WindowSlot& s = CurrentSlot();
  const int input = SlotInputState(s);
  if (i == g_screen.currentItem) return -1;
  if (item.state == kItemProtected || item.state == kItemHidden) return -1;
  if (input == 2 && !IsButtonOrMark(item.kind)) return -1;
  if (input == 1 && IsButtonOrMark(item.kind)) return -1;
  if (item.kind == 'c' || item.kind == 'R' || item.kind == 'C') return -1;
  if (item.titleStyle == 11) return -1;
  if (s.lineEditMode && item.protectByte == 1) return -1;
  return 0;
}

int MoveFocusByKey() {
  const WindowSlot& s = CurrentSlot();
  const int current = g_screen.currentItem;
  g_screen.pendingItem = g_screen.previousItem = current;
  if (!InSlotRange(s, current)) return 0;
  const ScreenItem& item = Item(current);
  g_screen.recordedColumn = item.column;
  g_screen.recordedRow = item.row;
  g_screen.recordedX = item.pixelX;
  g_screen.recordedY = item.pixelY;

  const int key = g_screen.navigationKey;
  const Direction direction = DirectionOfKey(s, key);
  if (direction == Direction::kNone) return 0;
  int next = -1;
  switch (direction) {
    case Direction::kForward: next = FindAcross(s, true); break;
    case Direction::kBackward: next = FindAcross(s, false); break;
    case Direction::kDown: next = FindVertical(s, true); break;
    case Direction::kUp: next = FindVertical(s, false); break;
    case Direction::kNone: break;
  }
  if (next >= 0) g_screen.pendingItem = next;
  g_screen.lastCommandKey = key;
  if (CheckItemValue() < 0) {
    g_screen.pendingItem = current;
    return 0;
  }
  if (IsArrowKey(key) && (g_screen.shiftHeld || g_screen.ctrlHeld)) return 0;
  return 1;
}

void ApplyPendingFocus() {
  const WindowSlot& s = CurrentSlot();
  const int current = g_screen.currentItem;
  if (s.rowSelectionMode != 0 || !InSlotRange(s, current) ||
      !InSlotRange(s, g_screen.previousItem)) {
    return;
  }
  if (!g_screen.focusMovePending || g_screen.clickInProgress) return;
  if (Item(current).titleStyle == 14 && current == g_screen.pendingItem) return;
  if (Item(current).itemClass == kItemClassSheet) return;
  // Applied once: a second call would read the new field's text into the
  // field the focus left.
  g_screen.focusMovePending = 0;
  g_screen.currentItem = g_screen.pendingItem;
  ScreenItem& left = Item(g_screen.previousItem);
  const char kind = left.kind;
  if (Item(g_screen.currentItem).kind != 'c' && kind != 'c' && !IsButtonOrMark(kind) &&
      kind != 'R' && kind != 'C') {
    std::string text(std::max(left.length, 0) + 1, '\0');
    ReadEditText(g_screen.previousItem, text.data());
    std::string value = text.c_str();
    if (!value.empty() && g_screen.fieldEdited && left.edit == 'Z' &&
        static_cast<int>(value.size()) < left.length) {
      value.insert(0, left.length - value.size(), '0');
    }
    left.displayText = value;
  }
  g_screen.currentKeyCode = Item(g_screen.currentItem).keyCode;
  ClosePopupIfOpen();
  CompleteFocusMove();
}

int LeaveFieldForItem(int target) {
  const WindowSlot& s = CurrentSlot();
  const int current = g_screen.currentItem;
  if (s.rowSelectionMode != 0 || s.lineEditMode || !InSlotRange(s, current) || current == target) {
    return 0;
  }
  const char kind = Item(current).kind;
  if (kind == 'c' || kind == 'R' || kind == 'C' || IsButtonOrMark(kind)) return 0;
  g_screen.previousItem = current;
  g_screen.pendingItem = target;
  g_screen.navigationKey = g_screen.lastCommandKey = VK_TAB;
  if (CheckItemValue() < 0) {
    g_screen.pendingItem = current;
    return -1;
  }
  g_screen.focusMovePending = 1;
  const HWND owner = s.commandWindow;
  if (owner) SendMessageA(owner, kMsgScreenCommand, VK_TAB, g_screen.fieldEdited);
  // An owner that does not move the focus itself leaves it to the click.
  if (g_screen.focusMovePending && g_screen.currentItem == current) ApplyPendingFocus();
  return 0;
}

void CompleteFocusMove() {
  WindowSlot& s = CurrentSlot();
  const int i = g_screen.currentItem;
  g_screen.fieldEdited = 0;
  g_screen.caretColumn = 0;
  g_screen.typedDigits = 0;
  s.lastFocusItem = g_screen.pendingItem = i;
  g_screen.lastPopupChoice = 0;
  if (!InSlotRange(s, i)) return;
  ScreenItem& item = Item(i);

  FormatItemValue(i, item.displayText.c_str());
  if (s.editControl) SetWindowTextA(s.editControl, item.displayText.c_str());
  g_screen.focusText = item.displayText;

  const int left = g_screen.previousItem;
  if (InSlotRange(s, left) && left != i) {
    ScreenItem& previous = Item(left);
    if (IsButtonOrMark(previous.kind)) {
      if (SlotInputState(s) == 2) PaintItemState(left, 2);
    } else if (s.rowSelectionMode == 0) {
      if (s.popupButtonItem >= 0 && HasPopupText(previous)) ShowFieldPopupButton(0, left);
      FormatItemValue(left, previous.displayText.c_str());
      PaintItemValue(g_screen.currentSlot, left);
    }
  }

  if (!IsButtonOrMark(item.kind)) SetEditFont(s, item);
  PlaceEditControl(s, i);

  if (s.rowSelectionMode == 0) {
    if (!g_screen.popupOpen && !IsButtonOrMark(item.kind)) {
      ShowEditGuideBox(i, item.guide.c_str(), 2);
    }
    if (s.editControl) {
      OpenImeContext(s.editControl);
      SetFieldImeMode(s.editControl, item.kind == 'K' ? 1 : 0);
    }
  }
}
