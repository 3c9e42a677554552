// Resolving field references and moving the focus to a field: the edit
// control of the slot is placed over the focused item (or hidden where no
// typing is possible), and the input method is switched per field through
// a seam (a display without an input method, as under test, gets a fake).
#include <cstdlib>
#include <cstring>

#include "screen/screen.h"

namespace {

bool IsButtonKind(char kind) { return IsButtonOrMark(kind); }

const InputMethodCalls kImm32Calls = {ImmGetContext, ImmReleaseContext, ImmGetOpenStatus,
                                      ImmSetOpenStatus};
const InputMethodCalls* g_inputMethod = &kImm32Calls;

// Gives back the remembered input context.
void ReleaseImeContext() {
  if (g_screen.imeContext) g_inputMethod->releaseContext(g_screen.imeWindow, g_screen.imeContext);
  g_screen.imeContext = nullptr;
  g_screen.imeWindow = nullptr;
}

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

}  // namespace

int ResolveFieldRef(int s, const char* ref) {
  const WindowSlot& slot = Slot(s);
  if (slot.screenType != kScreenTypeSheet && slot.itemCount == 0) return -1;
  if (!ref) return -1;
  if (std::strcmp(ref, "/CUR") == 0) return g_screen.currentItem;
  if (std::strcmp(ref, "/MPOS") == 0) return g_screen.mouseItem;
  if (std::strcmp(ref, "/NEXT") == 0) {
    g_screen.navigationKey = VK_RETURN;
    MoveFocusByKey();
    return g_screen.pendingItem;
  }
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
  if (slot.lineEditMode || fallback || Item(i).state == kItemProtected) {
    if (slot.editControl) ShowWindow(slot.editControl, SW_HIDE);
  } else {
    CompleteFocusMove();
  }
  if (slot.editControl) SetFocus(slot.editControl);
}

void GetScreenTitle(char* buffer) {
  std::memcpy(buffer, g_screen.focusText.c_str(), g_screen.focusText.size() + 1);
}

void FocusCurrentField() {
  SetFieldText("/CUR", g_screen.focusText.c_str());
  MarkFieldEdited();
}

void SetInputMethodCalls(const InputMethodCalls* calls) {
  ReleaseImeContext();
  g_inputMethod = calls ? calls : &kImm32Calls;
}

int OpenImeContext(HWND window) {
  ReleaseImeContext();
  g_screen.imeContext = g_inputMethod->getContext(window);
  g_screen.imeWindow = window;
  return g_screen.imeContext ? g_inputMethod->getOpenStatus(g_screen.imeContext) : 0;
}

int IsImeOpen(HWND window) {
  const HIMC context = g_inputMethod->getContext(window);
  if (!context) return 0;
  const int open = g_inputMethod->getOpenStatus(context) ? 1 : 0;
  g_inputMethod->releaseContext(window, context);
  return open;
}

void SetFieldImeMode(HWND window, int on) {
  const HIMC context = g_screen.imeContext;
  if (!context) return;
  const int status = g_inputMethod->getOpenStatus(context) ? 1 : 0;
  if ((on == 1 && status == 1) || (on == 0 && status != 1)) return;
  g_inputMethod->setOpenStatus(context, status == 0);
}
