// A press of the left button on a screen window: the item under the mouse
// is found (the later item wins where items overlap), and it takes the
// focus, a radio or check choice, the next value of a cycle item, or the
// pressed look of a button, whose command follows on the release. The OCR
// sheet canvas has a twin with its own choice bands and cycles.
#include <cstdio>
#include <string>

#include "screen/screen.h"

namespace {

// Where the two kinds of screens differ.
struct ClickRules {
  bool sheet = false;  // the OCR-sheet canvas
  int sheetMode = 0;   // design mode there: 1 skips sheet texts, 2 fields
};

WindowSlot& CurrentSlot() { return Slot(g_screen.currentSlot); }

void SendToOwner(int code) {
  const HWND owner = CurrentSlot().commandWindow;
  if (owner) SendMessageA(owner, kMsgScreenCommand, code & 0xFFFF, 0);
}

bool IsChoiceKind(char kind) { return kind == 'R' || kind == 'C'; }

// The row of a radio or check box under the mouse: 0-based, or -1.
int ChoiceRowAt(const ScreenItem& item, POINT p, const ClickRules& rules) {
  const int n = item.count;
  const int h = item.pixelHeight;
  const int cs = item.charSize;
  const bool captioned = !item.caption.empty();
  const int pitch = captioned ? h / (n + 2) : h / (n + 1);
  if (pitch <= 0) return -1;
  const int offset = pitch / 2 + 4 + (captioned ? pitch : 0);
  const int r = (p.y - (item.pixelY + offset)) / pitch;
  if (r < 0 || r > n - 1) return -1;
  if (rules.sheet) {
    const int below = p.y - (item.pixelY + offset) - r * pitch;
    return p.y - item.pixelY >= offset && below < 2 * cs + 2 ? r : -1;
  }
  if (p.x < item.pixelX + 2 * cs) return -1;
  int low, high;
  if (captioned) {
    low = item.pixelY + offset + r * pitch;
    high = low + 2 * cs;
  } else {
    low = item.pixelY + (r + 1) * pitch - cs;
    high = item.pixelY + (r + 1) * pitch + cs;
  }
  return p.y >= low && p.y <= high ? r : -1;
}

// A click on a radio or check item. True when a choice was taken.
bool TakeChoice(int i, POINT p, const ClickRules& rules) {
  ScreenItem& item = Item(i);
  const int n = item.count;
  std::string value = item.displayText;
  if (n < 1) {
    value = value == "1" ? "0" : "1";
  } else {
    const int r = ChoiceRowAt(item, p, rules);
    if (r < 0) return false;
    if (!rules.sheet && static_cast<int>(item.defaultText.size()) > r &&
        item.defaultText[r] == '^') {
      return false;
    }
    if (item.kind == 'R') {
      value = std::to_string(r + 1);
    } else {
      // Positions the value does not reach yet count as unchecked.
      if (static_cast<int>(value.size()) < n) value.resize(n, '0');
      for (char& c : value) {
        if (c == '\0') c = '0';
      }
      value[r] = value[r] == '1' ? '0' : '1';
      value.resize(n);
    }
  }
  const int slot = g_screen.currentSlot;
  FormatItemValue(i, value.c_str());
  PaintItemValue(slot, i);
  g_screen.clickInProgress = 1;
  g_screen.lastCommandKey = item.keyCode;
  SendToOwner(item.keyCode);
  g_screen.clickInProgress = 0;
  return true;
}

// The value after `value` of a cycle item by its count code.
std::string NextCycleValue(int code, const std::string& value, bool sheet) {
  const int v = std::atoi(value.c_str());
  const bool empty = value.empty() || value == "0";
  if (code == 11) return std::to_string(v + 1 > 7 ? 0 : v + 1);
  const bool threeStep =
      code == 3 || code == 22 || code == 13 || (!sheet && (code == 16 || code == 31 || code == 19));
  if (threeStep) return empty ? "1" : value == "1" ? "2" : "0";
  if (code == 24) return empty ? "1" : value == "1" ? "2" : value == "2" ? "3" : "0";
  if (code == 20 && !sheet) return empty ? "2" : value == "2" ? "1" : "0";
  return value == "1" ? "0" : "1";
}

// Skipped by the hit test of a press.
bool SkippedAtPress(const WindowSlot& s, int i, const ClickRules& rules) {
  const ScreenItem& item = Item(i);
  if (!s.lineEditMode) return IsSkippedOutsideDesign(s, i) || item.kind == 'o';
  if (rules.sheet && s.screenType == kScreenTypeSheet) {
    if (rules.sheetMode == 1 && item.code.compare(0, 1, "T") == 0) return true;
    if (rules.sheetMode == 2 && item.code.compare(0, 1, "0") == 0) return true;
  }
  return false;
}

int ClickOnItem(int i, POINT p, const ClickRules& rules) {
  WindowSlot& s = CurrentSlot();
  ScreenItem& item = Item(i);
  if (item.state == kItemProtected) return -3;
  if (IsButtonOrMark(item.kind)) {
    if (s.screenType == kScreenTypeMenu) s.inputMode = 2;
  } else if (!IsChoiceKind(item.kind)) {
    s.inputMode = 1;
  }
  g_screen.mouseItem = i;
  if (!IsButtonOrMark(item.kind)) ClosePopupIfOpen();
  const bool focusless =
      (SlotInputState(s) == 1 && IsButtonOrMark(item.kind)) || item.titleStyle == 11;
  if (!focusless) {
    if (IsChoiceKind(item.kind)) {
      TakeChoice(i, p, rules);
    } else {
      // Into another field the click leaves the typed one as Tab does.
      if (item.kind != 'c' && LeaveFieldForItem(i) < 0) return -1;
      FocusField("/MPOS");
      g_screen.currentItem = i;
    }
  }
  if (s.rowSelectionMode == 0 && item.kind == 'c') {
    FormatItemValue(i, NextCycleValue(item.count, item.displayText, rules.sheet).c_str());
    g_screen.fieldEdited = 1;
    PaintItemValue(g_screen.currentSlot, i);
    g_screen.lastCommandKey = 0;
    SendToOwner(kKeyCycleItem);
  }
  if (IsButtonOrMark(item.kind)) {
    g_screen.pressedItem = i;
    PaintItemState(i, 3);
  }
  g_screen.clickItem = -1;
  return i;
}

int HandleClick(const ClickRules& rules) {
  g_screen.clickInProgress = 0;
  WindowSlot& s = CurrentSlot();
  if (s.screenType != kScreenTypeSheet && s.itemCount == 0) {
    MessageBeep(MB_ICONHAND);
    return -2;
  }
  int x = 0, y = 0;
  GetMouseInWindow(&x, &y);
  const POINT p{x + s.scrollX, y + s.scrollY};
  g_screen.clickX = p.x;
  g_screen.clickY = p.y;
  g_screen.clickSlot = g_screen.currentSlot;
  g_screen.clickItem = s.lastItem + 1;
  g_screen.pressedItem = -1;

  for (int i = s.lastItem; s.itemCount > 0 && i >= s.firstItem; --i) {
    const ScreenItem& item = Item(i);
    if (SkippedAtPress(s, i, rules)) continue;
    const bool plainTest = !s.lineEditMode || (IsSkippedOutsideDesign(s, i) && i != s.rulerItem) ||
                           item.protectByte == 9;
    if (!plainTest) continue;
    if (item.state == kItemHidden || !ItemHoldsPoint(g_screen.currentSlot, i, p)) continue;
    return ClickOnItem(i, p, rules);
  }
  if (s.lineEditMode) {
    const DesignModeCalls& design = GetDesignModeCalls();
    for (int i = s.lastItem; design.grabItem && i >= s.firstItem; --i) {
      if (SkippedAtPress(s, i, rules) || IsSkippedOutsideDesign(s, i)) continue;
      if (Item(i).protectByte == 9 || Item(i).state == kItemHidden) continue;
      int left, top, right, bottom;
      GetItemHitRect(i, &left, &top, &right, &bottom);
      if (p.x >= left && p.x <= right && p.y >= top && p.y <= bottom) {
        return design.grabItem(i);
      }
    }
    return design.hitTestRuledLine ? design.hitTestRuledLine() : -1;
  }
  ClosePopupIfOpen();
  return -1;
}

}  // namespace

int HandleItemClick() { return HandleClick(ClickRules{}); }

int HandleSheetItemClick(int mode) {
  ClickRules rules;
  rules.sheet = true;
  rules.sheetMode = mode;
  return HandleClick(rules);
}
