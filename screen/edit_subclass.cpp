// The procedure of every slot's in-place edit control: what may be typed
// into the focused field (its length, digits and signs of numbers), how
// Enter, Tab and the arrows move the focus, and how function keys, Esc and
// the page keys press their buttons or become commands to the owner.
// Everything else reaches the control's own procedure.
#include <cstring>
#include <string>

#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

bool IsCommandKey(WPARAM key) {
  return (key >= VK_F1 && key <= VK_F15) || key == VK_ESCAPE || key == VK_PRIOR || key == VK_NEXT;
}

// Esc and F6 to F10 belong to the open input method (conversion keys).
bool KeptByInputMethod(const WindowSlot& s, WPARAM key) {
  return g_screen.imeOpen && s.rowSelectionMode == 0 &&
         (key == VK_ESCAPE || (key >= VK_F6 && key <= VK_F10));
}

WindowSlot* SlotOfEdit(HWND edit) {
  for (WindowSlot& s : g_windowSlots) {
    if (s.editControl == edit && s.previousEditProc) return &s;
  }
  return nullptr;
}

bool CurrentIsValid() {
  return g_screen.currentItem >= 0 && g_screen.currentItem < g_screenItems.totalCount;
}

// An enabled button or mark bound to the key, or -1.
int BoundButton(WPARAM key) {
  const int i = FindFieldByKey(static_cast<int>(key));
  return i >= 0 && IsButtonOrMark(Item(i).kind) && Item(i).state == kItemEnabled ? i : -1;
}

bool IsNumber(int i) {
  const int valueClass = GetItemValueClass(i);
  return valueClass == 'N' || valueClass == 's';
}

// Room left for `bytes` more: the text without its selection (which the
// character replaces) and the character within the length.
bool HasRoom(HWND edit, const ScreenItem& item, int bytes) {
  DWORD first = 0, last = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
  const int kept = GetWindowTextLengthA(edit) - static_cast<int>(last - first);
  return kept + bytes <= item.length;
}

// A character of `bytes` bytes (its first byte `c`) typed into the field:
// false when it is swallowed.
bool AcceptChar(HWND edit, const WindowSlot& s, WPARAM c, int bytes) {
  if (c == VK_RETURN || c == VK_TAB || c == VK_ESCAPE || s.rowSelectionMode != 0) return false;
  if (!CurrentIsValid()) return true;
  const int i = g_screen.currentItem;
  const ScreenItem& item = Item(i);
  const bool number = IsNumber(i);
  const bool backspace = c == VK_BACK;
  if (!backspace) {
    const bool full = number ? g_screen.typedDigits >= item.length : !HasRoom(edit, item, bytes);
    if (full) {
      MessageBeep(0);
      return false;
    }
  }
  g_screen.fieldEdited = 1;
  if (number) {
    if (backspace) {
      if (g_screen.typedDigits > 0) --g_screen.typedDigits;
    } else {
      const bool digit = c >= '0' && c <= '9';
      const bool sign = c == '-' || c == '+';
      const bool point = c == '.';
      bool refused = !digit && !sign && !point;
      if (sign && (g_screen.typedDigits > 0 || GetItemValueClass(i) == 's')) refused = true;
      if (point) {
        char text[256] = "";
        GetWindowTextA(edit, text, sizeof text);
        if (item.count == 0 || std::strchr(text, '.')) refused = true;
      }
      if (refused) {
        MessageBeep(0);
        return false;
      }
      if (g_screen.typedDigits == 0 && (item.edit == 'R' || item.edit == 'K')) {
        SetWindowTextA(edit, "");
      }
      ++g_screen.typedDigits;
    }
  }
  if (item.kind == 'T' && !backspace && !(c >= '0' && c <= '9') && c != '-') {
    MessageBeep(0);
    return false;
  }
  if (backspace) {
    if (g_screen.caretColumn > 0) --g_screen.caretColumn;
  } else if (g_screen.caretColumn < item.length) {
    ++g_screen.caretColumn;
  }
  return true;
}

// A double-byte character comes as two WM_CHAR, its lead byte first. The
// pair is checked as one character and put in whole, as the control's
// selection replaced: byte by byte the control would make two characters of
// it.
struct LeadByte {
  HWND edit = nullptr;
  char byte = 0;
  bool refused = false;  // the character did not fit: its trail goes too
};
LeadByte g_leadByte;

void PasteAsTyped(HWND edit, WindowSlot& s, WNDPROC previous);

constexpr WPARAM kCtrlV = 0x16;

// WM_CHAR of the edit control: the result of the control's procedure, or 0
// for a swallowed character.
LRESULT HandleChar(HWND edit, WindowSlot& s, WNDPROC previous, WPARAM wParam, LPARAM lParam) {
  if (wParam == kCtrlV) {
    PasteAsTyped(edit, s, previous);
    return 0;
  }
  const auto byte = static_cast<unsigned char>(wParam & 0xFF);
  if (g_leadByte.edit == edit && g_leadByte.byte) {
    const LeadByte lead = g_leadByte;
    g_leadByte = LeadByte();
    if (lead.refused) return 0;
    const char pair[3] = {lead.byte, static_cast<char>(byte), '\0'};
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pair));
    return 0;
  }
  if (wParam <= 0xFF && IsSjisLeadByte(byte)) {
    g_leadByte.edit = edit;
    g_leadByte.byte = static_cast<char>(byte);
    g_leadByte.refused = !AcceptChar(edit, s, wParam, 2);
    return 0;
  }
  if (!AcceptChar(edit, s, wParam, 1)) return 0;
  return CallWindowProcA(previous, edit, WM_CHAR, wParam, lParam);
}

// Text pasted into the field (Ctrl+V or the context menu) goes in as if it
// were typed, character by character through the same checks: a numeric
// field refuses its letters, the field's length holds. Its first line only.
void PasteAsTyped(HWND edit, WindowSlot& s, WNDPROC previous) {
  std::string text;
  if (!OpenClipboard(edit)) return;
  if (const HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* locked = static_cast<const char*>(GlobalLock(data))) {
      text = locked;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  for (const char c : text) {
    if (c == '\r' || c == '\n') break;
    if (c == '\t') continue;
    HandleChar(edit, s, previous, static_cast<unsigned char>(c), 1);
    if (!IsWindow(edit)) return;
  }
}

// Arrow keys reach the owner as 137 to 140.
WPARAM CommandOfKey(WPARAM key) { return key >= VK_LEFT && key <= VK_DOWN ? key + 100 : key; }

// A key pressed: false when it is swallowed.
bool HandleKeyDown(WindowSlot& s, WPARAM key) {
  const DesignModeCalls& design = GetDesignModeCalls();
  if (key == VK_DELETE) {
    if (s.rowSelectionMode == 0) g_screen.fieldEdited = 1;
    if (s.lineEditMode && design.deleteSelectedLine) design.deleteSelectedLine();
  }
  if (key == VK_RIGHT) ++g_screen.caretColumn;
  if (key == VK_LEFT && g_screen.caretColumn > 0) --g_screen.caretColumn;
  if (key == VK_RETURN) {
    if (s.rowSelectionMode == 1 && s.rowBarCount > 0) {
      g_screen.enterPressed = 1;
      return false;
    }
    if (SlotInputState(s) == 2 && CurrentIsValid() &&
        IsButtonOrMark(Item(g_screen.currentItem).kind)) {
      PaintItemState(g_screen.currentItem, 3);
      return false;
    }
  }
  if (IsCommandKey(key) && !KeptByInputMethod(s, key)) {
    const int button = BoundButton(key);
    if (button >= 0) {
      PaintItemState(button, 3);
      if (SlotInputState(s) == 2) g_screen.currentItem = button;
    }
  }
  if (s.lineEditMode && g_screen.shiftHeld && key >= VK_LEFT && key <= VK_DOWN) {
    static const int kDirections[] = {2, 4, 1, 3};  // left, up, right, down
    if (design.shiftLayout) design.shiftLayout(kDirections[key - VK_LEFT]);
    return true;
  }
  if (s.rowSelectionMode == 0) {
    if (MoveFocusByKey() == 1) {
      g_screen.focusMovePending = 1;
      const HWND owner = s.commandWindow;
      if (owner) SendMessageA(owner, kMsgScreenCommand, CommandOfKey(key), g_screen.fieldEdited);
      if (g_screen.pendingItem == g_screen.previousItem && s.editControl) {
        SendMessageA(s.editControl, WM_SETFOCUS, 0, 0);
      }
    }
  } else {
    MoveRowBar(static_cast<int>(key));
  }
  return true;
}

// A key released: false when it is swallowed.
bool HandleKeyUp(WindowSlot& s, WPARAM key) {
  if (key == VK_RETURN) {
    if (s.rowSelectionMode == 1 && s.rowBarCount > 0 && g_screen.enterPressed) {
      g_screen.lastCommandKey = VK_RETURN;
      g_screen.enterPressed = 0;
      if (s.commandWindow) {
        SendMessageA(s.commandWindow, kMsgScreenCommand, VK_RETURN, g_screen.selectedRow);
      }
      return false;
    }
    if (SlotInputState(s) == 2 && g_screen.enterPressed && CurrentIsValid() &&
        IsButtonOrMark(Item(g_screen.currentItem).kind)) {
      g_screen.enterPressed = 0;
      RunFieldAction(g_screen.currentItem);
      return false;
    }
    return true;
  }
  if (!IsCommandKey(key) || KeptByInputMethod(s, key)) return true;
  const int button = BoundButton(key);
  if (button >= 0) {
    if (g_screen.enterPressed) {
      g_screen.enterPressed = 0;
      RunFieldAction(button);
    } else {
      SendKeyCommand(static_cast<int>(key));
    }
  } else if (key == VK_PRIOR || key == VK_NEXT) {
    if (s.commandWindow) SendMessageA(s.commandWindow, kMsgScreenCommand, key, 0);
  } else {
    SendKeyCommand(static_cast<int>(key));
  }
  return true;
}

}  // namespace

LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowSlot* slot = SlotOfEdit(window);
  if (!slot) return DefWindowProcA(window, message, wParam, lParam);
  WindowSlot& s = *slot;
  const WNDPROC previous = s.previousEditProc;
  const bool keyboard = message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP ||
                        message == WM_SYSKEYUP || message == WM_CHAR;
  // Keys act on the screen whose edit control has them.
  if (keyboard) g_screen.currentSlot = static_cast<int>(slot - g_windowSlots);
  bool pass = true;
  if (keyboard) {
    g_screen.navigationKey = static_cast<int>(wParam);
    const ModifierKeys held = ReadModifierKeys();
    g_screen.shiftHeld = held.shift ? 1 : 0;
    g_screen.ctrlHeld = held.ctrl ? 1 : 0;
    g_screen.imeOpen = IsImeOpen(window);
  }
  switch (message) {
    case WM_RBUTTONUP: g_screen.fieldEdited = 1; break;
    case WM_LBUTTONDOWN:
      if (!g_screen.popupOpen && s.rowSelectionMode == 0 && CurrentIsValid()) {
        ShowEditGuideBox(g_screen.currentItem, Item(g_screen.currentItem).guide.c_str(), 2);
      }
      break;
    case WM_CHAR: return HandleChar(window, s, previous, wParam, lParam);
    case WM_PASTE: PasteAsTyped(window, s, previous); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      g_screen.keyDownWindow = window;
      g_screen.keyDownKey = static_cast<int>(wParam);
      pass = HandleKeyDown(s, wParam);
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      // A key acts where it went down, once: the key-up of a key pressed in
      // a message box or in a window that closed on its key-down is
      // swallowed, as is one after the focus left this field's window.
      if (g_screen.keyDownWindow != window || g_screen.keyDownKey != static_cast<int>(wParam)) {
        if (wParam != VK_RETURN && !IsCommandKey(wParam)) break;  // a key that acts on no up
        if (wParam == VK_RETURN) g_screen.enterPressed = 0;
        return 0;
      }
      g_screen.keyDownWindow = nullptr;
      pass = HandleKeyUp(s, wParam);
      break;
    case WM_KILLFOCUS: g_screen.keyDownWindow = nullptr; break;
    default: break;
  }
  if (!pass) return 0;
  // The slot may have closed while a command ran: its control is gone.
  if (!IsWindow(window)) return 0;
  return CallWindowProcA(previous, window, message, wParam, lParam);
}
