// Resolving field references and moving the focus to a field: the edit
// control of the slot is placed over the focused item (or hidden where no
// typing is possible), and the input method is switched per field.
#include <cstdlib>
#include <cstring>

#include "screen/screen.h"

namespace {

bool IsButtonKind(char kind) { return kind == 'M' || kind == 'B'; }

// Selectable by "/HOME" in the slot's input state: buttons only while
// buttons are being selected, never while fields take input; choice boxes
// and cycle items never.
bool IsHomeCandidate(const ScreenItem& item, int inputState) {
  if (item.state != kItemEnabled) return false;
  if (item.kind == 'R' || item.kind == 'C' || item.kind == 'c') return false;
  if (inputState == 2) return IsButtonKind(item.kind);
  return !IsButtonKind(item.kind);
}

int ResolveHome(const WindowSlot& slot) {
  if (slot.screenType == kScreenTypeList) {
    for (int i = slot.firstItem; i <= slot.lastItem; ++i) {
      const ScreenItem& item = Item(i);
      if (item.titleStyle == 14 && item.kind != 'c' && item.state == kItemEnabled) return i;
    }
  }
  for (int i = slot.firstItem; i <= slot.lastItem; ++i) {
    if (IsHomeCandidate(Item(i), slot.inputMode)) return i;
  }
  return -1;
}

int ResolveTopOfLine(const WindowSlot& slot) {
  for (int i = slot.firstItem; i <= slot.lastItem; ++i) {
    const ScreenItem& item = Item(i);
    if (item.row == g_screen.recordedRow && item.column < g_screen.recordedColumn &&
        item.state == kItemEnabled) {
      return i;
    }
  }
  return g_screen.currentItem;
}

// Puts the slot's edit control over the focused item, or out of the way for
// items that take no typing.
void PlaceEditControl(const WindowSlot& slot, const ScreenItem& item) {
  const HWND edit = slot.editControl;
  if (!edit) return;
  if (item.kind == 'c' || IsButtonKind(item.kind)) {
    MoveWindow(edit, 0, -50, 0, 0, FALSE);
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
  const int top = item.pixelY + 1 - slot.scrollY;
  if (top < slot.headerHeight) {
    MoveWindow(edit, 0, 0, 0, 0, FALSE);
    return;
  }
  if (slot.hasPasswordItem) {
    SendMessageA(edit, EM_SETPASSWORDCHAR, item.edit == 'P' ? '*' : 0, 0);
  }
  MoveWindow(edit, item.pixelX - slot.scrollX + 1, top + 1, item.pixelWidth - 3,
             item.pixelHeight - 3, TRUE);
  if (slot.rowSelectionMode == 0) ShowWindow(edit, SW_SHOW);
}

}  // namespace

int ResolveFieldRef(int s, const char* ref) {
  const WindowSlot& slot = Slot(s);
  if (slot.screenType != kScreenTypeSheet && slot.itemCount == 0) return -1;
  if (!ref) return -1;
  if (std::strcmp(ref, "/CUR") == 0) return g_screen.currentItem;
  if (std::strcmp(ref, "/MPOS") == 0) return g_screen.mouseItem;
  if (std::strcmp(ref, "/PREV") == 0) {
    g_screen.currentItem = slot.lastFocusItem;
    return g_screen.currentItem;
  }
  if (std::strcmp(ref, "/HOME") == 0) return ResolveHome(slot);
  if (std::strcmp(ref, "/TOPOFLINE") == 0) return ResolveTopOfLine(slot);
  if (ref[0] == '/' && (ref[1] == '+' || ref[1] == '-')) {
    const int offset = std::atoi(ref + 2);
    return ref[1] == '+' ? g_screen.currentItem + offset : g_screen.currentItem - offset;
  }
  for (int i = slot.firstItem; i <= slot.lastItem; ++i) {
    if (Item(i).name == ref) return i;
  }
  return -1;
}

void FocusField(const char* ref) {
  const WindowSlot& slot = Slot(g_screen.currentSlot);
  if (slot.itemCount <= 0) {
    if (slot.editControl) ShowWindow(slot.editControl, SW_HIDE);
    return;
  }
  int i = ResolveFieldRef(g_screen.currentSlot, ref);
  const bool fallback = i < slot.firstItem || i > slot.lastItem;
  if (fallback) i = slot.firstItem;
  g_screen.previousItem = g_screen.currentItem;
  g_screen.currentItem = i;
  g_screen.lastPopupChoice = 0;
  const ScreenItem& item = Item(i);
  if (slot.lineEditMode || fallback || item.state == kItemProtected) {
    if (slot.editControl) ShowWindow(slot.editControl, SW_HIDE);
  } else if (slot.editControl) {
    SetWindowTextA(slot.editControl, item.displayText.c_str());
    PlaceEditControl(slot, item);
  }
  if (slot.editControl) SetFocus(slot.editControl);
}

int OpenImeContext(HWND window) {
  g_screen.imeContext = ImmGetContext(window);
  return g_screen.imeContext ? ImmGetOpenStatus(g_screen.imeContext) : 0;
}

void SetFieldImeMode(HWND window, int on) {
  const HIMC context = g_screen.imeContext;
  if (!context) return;
  const int status = ImmGetOpenStatus(context) ? 1 : 0;
  if ((on == 1 && status == 1) || (on == 0 && status != 1)) return;
  ImmSetOpenStatus(context, status == 0);
}
