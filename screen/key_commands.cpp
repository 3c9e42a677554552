// Keys and buttons as commands: a key turned into message 1125 for the
// window that owns the screen, a button pressed (its pop-up, its command,
// the program, document or screen it names), the pressed and normal looks
// of buttons, the pop-up button beside a field, and the engine's accessors.
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/bounded_format.h"
#include "foundation/test_hooks.h"
#include "screen/screen.h"

namespace {

constexpr int kKeyF11 = VK_F11;  // 122

DesignModeCalls g_designCalls;
std::string g_editorProgram;

WindowSlot& CurrentSlot() { return Slot(g_screen.currentSlot); }

void SendToOwner(WPARAM code, LPARAM lParam = 0) {
  const HWND owner = CurrentSlot().commandWindow;
  if (owner) SendMessageA(owner, kMsgScreenCommand, code & 0xFFFF, lParam);
}

bool HasPopupText(const ScreenItem& item) { return !item.choices.empty(); }

bool ModifierHeld() { return g_screen.shiftHeld || g_screen.ctrlHeld; }

// The number between "(" and ")" of a "SENDMESSAGE(n)" text.
int SendMessageNumber(const std::string& text) {
  const size_t open = text.find('(');
  return open == std::string::npos ? 0 : std::atoi(text.c_str() + open + 1);
}

// The program, document or screen an item's action names.
void RunItemAction(const ScreenItem& item) {
  const std::string& kind = item.actionClass;
  const std::string& target = item.actionTarget;
  if (item.itemClass == kItemClassPlan) {
    char command[MAX_PATH * 2];
    if (kind == "EXE") {
      StartExternalProgram(target.c_str(), SW_SHOWNORMAL);
      return;
    }
    if (kind == "TXT" || kind == "DOC") {
      if (g_editorProgram.empty()) {
        FormatTextBounded(command, sizeof command, "NOTEPAD.EXE %s", target.c_str());
      } else {
        FormatTextBounded(command, sizeof command, "%s %s", g_editorProgram.c_str(),
                          target.c_str());
      }
      StartExternalProgram(command, SW_SHOWNORMAL);
      return;
    }
    if (kind == "HLP") {
      FormatTextBounded(command, sizeof command, "WINHLP32.EXE %s", target.c_str());
      StartExternalProgram(command, SW_SHOWNORMAL);
      return;
    }
  }
  // Any other class names the screen database that holds the target screen.
  OpenScreen(CurrentSlot().screenDbFolder.c_str(), kind.c_str(), target.c_str(), -1, -1, "");
}

// A button pressed outside design mode.
void PressButton(int i) {
  WindowSlot& s = CurrentSlot();
  const ScreenItem& item = Item(i);
  const int current = g_screen.currentItem;
  const bool currentValid = current >= 0 && current < g_screenItems.totalCount;
  const std::string currentPopup = currentValid ? Item(current).choices : "";
  const bool f11 = item.keyCode == kKeyF11;
  const bool popupButton = i == s.popupButtonItem;

  if (f11 && g_screen.shiftHeld && g_screen.ctrlHeld) {
    SendToOwner(item.keyCode);
    ToggleScreenLineEditMode();
    return;
  }
  if (item.keyCode == kKeyEscape && s.lineEditMode) {
    ToggleScreenLineEditMode();
    return;
  }
  if (currentPopup.compare(0, 11, "SENDMESSAGE") == 0 && (popupButton || f11)) {
    g_screen.lastCommandKey = SendMessageNumber(currentPopup);
    if (g_screen.mainWindow) SendMessageA(g_screen.mainWindow, kMsgFieldMessage, s.windowCode, 0);
    return;
  }
  if (ModifierHeld()) {
    SendToOwner(item.keyCode);
    return;
  }
  if (currentPopup.empty() || (SlotInputState(s) != 2 && !popupButton && !f11)) {
    if (HasPopupText(item)) {
      ShowFieldPopup(i);
    } else if (item.actionTarget.empty()) {
      SendToOwner(item.keyCode);
    } else {
      SendToOwner(item.keyCode);
      RunItemAction(item);
    }
    return;
  }
  if (s.rowSelectionMode == 0) ShowFieldPopup(current);
}

}  // namespace

void SetDesignModeCalls(const DesignModeCalls& calls) { g_designCalls = calls; }

const DesignModeCalls& GetDesignModeCalls() { return g_designCalls; }

void ToggleScreenLineEditMode() {
  if (g_designCalls.toggleLineEditMode) {
    g_designCalls.toggleLineEditMode();
    return;
  }
  WindowSlot& s = CurrentSlot();
  s.lineEditMode = s.lineEditMode ? 0 : 1;
  RepaintCurrentWindow();
}

void SetEditorProgram(const char* program) { g_editorProgram = program ? program : ""; }

void SendKeyCommand(int key) {
  WindowSlot& s = CurrentSlot();
  const int code = key == VK_ESCAPE ? kKeyEscape : key;
  g_screen.lastCommandKey = code;
  // A key carries no pop-up line: the one last taken belongs to that
  // pop-up's own command, delivered when it was taken.
  g_screen.lastPopupChoice = 0;
  if (code == kKeyEscape) {
    if (!s.lineEditMode) SendToOwner(code);
    return;
  }
  if (code == kKeyF11) {
    if (g_screen.shiftHeld && g_screen.ctrlHeld) {
      SendToOwner(code);
      ToggleScreenLineEditMode();
    } else if (s.lineEditMode) {
      if (s.windowKind != kWindowKindList && s.screenType != kScreenTypeSheet) {
        if (g_designCalls.toggleGridSnap) g_designCalls.toggleGridSnap();
        RepaintCurrentWindow();
      }
    } else if (s.rowSelectionMode == 0) {
      const int current = g_screen.currentItem;
      if (current >= 0 && current < g_screenItems.totalCount && HasPopupText(Item(current))) {
        ShowFieldPopup(current);
      }
    }
  }
  if (s.lineEditMode) return;
  const int bound = FindFieldByKey(code);
  if (bound >= 0 ? Item(bound).state == kItemEnabled : s.screenType == kScreenTypeMenu) {
    SendToOwner(code);
  }
}

int RunFieldAction(int i) {
  ScreenItem& item = Item(i);
  if (item.state != kItemEnabled) return -3;
  WindowSlot& s = CurrentSlot();
  PaintItemState(i, 2);
  g_screen.lastCommandKey = item.keyCode;
  g_screen.lastPopupChoice = 0;
  g_screen.focusMovePending = 0;

  if (s.lineEditMode && item.protectByte != 9) {
    if (item.keyCode >= kKeyLineType1 && item.keyCode <= kKeyLineType1 + 4) {
      return g_designCalls.setSelectedLineType ? g_designCalls.setSelectedLineType(item.keyCode)
                                               : -1;
    }
    SendKeyCommand(g_screen.lastCommandKey);
    return 0;
  }
  if (g_screen.popupOpen) {
    ClosePopupIfOpen();
    return -1;
  }
  if (item.kind == 'M' && HasPopupText(item)) {
    if (ModifierHeld()) {
      SendToOwner(item.keyCode);
    } else {
      ShowFieldPopup(i);
    }
    return 0;
  }
  if (IsButtonOrMark(item.kind)) PressButton(i);
  return 0;
}

void PaintItemState(int i, int look) {
  const int slot = FindItemSlot(i);
  if (slot < 0) return;
  WindowSlot& s = Slot(slot);
  if (look == 3) {
    g_screen.enterPressed = 1;
    g_screen.hoverTicks = 13;
    for (HWND child : s.statics) {
      if (child) ShowWindow(child, SW_HIDE);
    }
  }
  if (!s.window || Item(i).state == kItemHidden) return;
  if (!GetScreenDC(s.window, slot, s.scrollX, s.scrollY)) return;
  const std::string text = FormatItemDisplayText(i);
  PaintItemFrame(i, look);
  PaintListField(i, text.c_str());
  ReleaseScreenDC();
}

void ShowFieldPopupButton(int show, int i) {
  WindowSlot& s = CurrentSlot();
  const int button = s.popupButtonItem;
  if (button < 0) return;
  if (!show) {
    SetItemPixelRect(button, -50, -50, 0, 0);
    if (s.screenType == kScreenTypeMenu) {
      RepaintCurrentWindow();
    } else {
      InvalidateItem(i);
    }
    return;
  }
  const ScreenItem& item = Item(i);
  int width = 2 * item.charSize;
  int height = item.pixelHeight - 2;
  if (height > 36) {
    height = 36;
    width = 24;
  }
  SetItemPixelRect(button, item.pixelX + item.pixelWidth, item.pixelY + 1, width, height);
}

void SetItemPixelRect(int i, int x, int y, int width, int height) {
  ScreenItem& item = Item(i);
  InvalidateItem(i);
  item.pixelX = x;
  item.pixelY = y;
  item.pixelWidth = width;
  item.pixelHeight = height;
  if (width < 1 || height < 1) {
    item.state = kItemHidden;
    return;
  }
  item.state = kItemEnabled;
  InvalidateItem(i);
}

void MoveItemPixelRect(int i, int x, int y, int width, int height) {
  ScreenItem& item = Item(i);
  InvalidateItem(i);
  item.pixelX = x;
  item.pixelY = y;
  if (width >= 0) item.pixelWidth = width;
  item.pixelHeight = height;
  InvalidateItem(i);
}

int GetCurrentItemIndex() { return g_screen.currentItem; }

void GetItemPixelRect(int i, int* x, int* y, int* width, int* height) {
  const ScreenItem& item = Item(i);
  *x = item.pixelX;
  *y = item.pixelY;
  *width = item.pixelWidth;
  *height = item.pixelHeight;
}

int GetLastFieldKey() { return g_screen.lastCommandKey; }
int GetNavigationKey() { return g_screen.navigationKey; }
int GetSelectedRow() { return g_screen.selectedRow; }
int GetLastPopupChoice() { return g_screen.lastPopupChoice; }
int IsShiftKeyHeld() { return g_screen.shiftHeld; }

ModifierKeys ReadModifierKeys() {
  BYTE keys[256];
  if (!GetKeyboardState(keys)) return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0};
  return {(keys[VK_SHIFT] & 0x80) != 0, (keys[VK_CONTROL] & 0x80) != 0};
}

int IsCtrlKeyHeld() { return g_screen.ctrlHeld; }
int IsClickInProgress() { return g_screen.clickInProgress; }
int GetSlotOpenState() { return CurrentSlot().openState; }
void ScreenEngineNoOp() {}
