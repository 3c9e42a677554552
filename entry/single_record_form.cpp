// The single-record form "Sup": a settings or master form that shows and
// edits the one row of its table (the first row by key; a missing row is
// made with the key "0...1"). The values go back into the row when the
// owner asks (1127) and when the window closes. Input is off until F12
// turns it on, except on screens opened for editing (open mode -15). A
// form without a field of its table's key holds no row: it shows what its
// owner gives it, as it was built.
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "entry/entry.h"
#include "entry/screen_windows.h"
#include "entry/list_form.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"
#include "tally/graph_swatches.h"

namespace {


constexpr int kKeyInputOffNow = 122, kKeyInput = 123;
constexpr int kInputOn = 0, kInputOff = 5;

struct SupFormState {
  int slot = -1;
  int tableSlot = -1;  // -1: the screen has no table
  int keyNumber = 0;
  std::string keyColumn;
  int keyItem = -1;
  int keyWidth = 0;
  int inputState = kInputOff;
  // The fields and the state each was built with (input off protects them).
  std::vector<std::pair<int, int>> fields;
};
SupFormState g_sup;

HWND Owner() { return IsValidSlot(g_sup.slot) ? Slot(g_sup.slot).owner : nullptr; }

int ScreenNumber() { return IsValidSlot(g_sup.slot) ? Slot(g_sup.slot).screenNumber : 0; }

LRESULT SendToOwner(UINT message, WPARAM wParam) {
  const HWND owner = Owner();
  return owner ? SendMessageA(owner, message, wParam, 0) : 0;
}

bool HasColumn(int item) { return g_sup.tableSlot > 0 && GetColumnTypeQuiet(g_sup.tableSlot, Item(item).name.c_str()) > 0; }

std::vector<std::pair<int, int>> SupFields(int slot) {
  std::vector<std::pair<int, int>> fields;
  const WindowSlot& s = Slot(slot);
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    const ScreenItem& item = Item(i);
    if (!item.fieldName.empty() && !IsButtonOrMark(item.kind)) fields.push_back({i, item.state});
  }
  return fields;
}

// Opens the table of the screen and reads its key: 0, or -1 after the
// database layer's message.
int OpenSupDataSet(int slot) {
  const ScreenDataSet& set = Slot(slot).dataSet;
  if (set.table.empty()) return 0;
  const int t = db_open(set.folder.c_str(), set.database.c_str(), set.table.c_str(), set.dbKind, set.specFile.c_str(),
                        set.specBlock.c_str(), "");
  if (t < 0) return -1;
  // The slot's data set: closed with the screen.
  Slot(slot).dataSet.tableSlot = t;
  g_sup.tableSlot = t;
  g_sup.keyNumber = set.keyNumber;
  GetKeyColumns(t, g_sup.keyColumn, set.keyNumber);
  return 0;
}

// The first row of the table; when there is none, or its key is empty, a
// row with the key "%0*d" of 1 is added first. 0, or -1 without a row
// (a failed add was reported by the database layer).
int FindSupRow() {
  const int t = g_sup.tableSlot;
  if (db_tfind(t, g_sup.keyNumber) == 0 && GetColumnText(t, g_sup.keyColumn.c_str())[0] != '\0') return 0;
  char key[32];
  std::snprintf(key, sizeof key, "%0*d", g_sup.keyWidth > 0 && g_sup.keyWidth < 20 ? g_sup.keyWidth : 1, 1);
  db_clear(t);
  SetColumnText(t, g_sup.keyColumn.c_str(), key);
  if (db_add(t) != 0) return -1;
  return db_tfind(t, g_sup.keyNumber);
}

void FillSupFields(bool row) {
  for (const auto& [item, state] : g_sup.fields) {
    const std::string value = row && HasColumn(item) ? GetColumnAsText(g_sup.tableSlot, Item(item).name.c_str()) : "";
    SetItemValueAt(g_sup.slot, item, value.c_str());
  }
}

void SetInputState(int inputState) {
  g_sup.inputState = inputState;
  for (const auto& [item, state] : g_sup.fields) {
    Item(item).state = inputState == kInputOn ? state : (state == kItemEnabled ? kItemProtected : state);
  }
  RepaintCurrentWindow();
}

// Writes the shown values into the row of the key field's key: 0, or -1
// after "%sを検索できません。" (the row is gone) or the database layer's
// message; the values stay on the screen.
int SaveSupRow() {
  if (g_sup.tableSlot <= 0) return 0;
  TakeTypedValue();
  std::string key = g_sup.keyItem >= 0 ? Item(g_sup.keyItem).displayText : "";
  while (!key.empty() && key.back() == ' ') key.pop_back();
  const int t = g_sup.tableSlot;
  if (db_find_key_first(t, key.c_str(), g_sup.keyNumber) != 0) {
    ShowInfoMessage("", "%sを検索できません。", key.c_str());
    return -1;
  }
  for (const auto& [item, state] : g_sup.fields) {
    if (item == g_sup.keyItem || !HasColumn(item)) continue;
    std::string value = Item(item).displayText;
    while (!value.empty() && value.back() == ' ') value.pop_back();
    SetColumnFromText(t, Item(item).name.c_str(), value.c_str());
  }
  return db_update(t);
}

bool TakeScreen(HWND window, int slot) {
  g_sup = SupFormState();
  g_sup.slot = slot;
  SelectWindowSlot(slot);
  if (OpenSupDataSet(slot) != 0) return false;
  LoadLineDefinitions(slot);
  const WindowSlot& s = Slot(slot);
  if (s.owner && s.owner != window) EnableWindow(s.owner, FALSE);
  g_sup.fields = SupFields(slot);
  g_sup.keyItem = g_sup.keyColumn.empty() ? -1 : ResolveFieldRef(slot, g_sup.keyColumn.c_str());
  if (g_sup.keyItem >= 0) {
    g_sup.keyWidth = Item(g_sup.keyItem).length;
  } else if (g_sup.tableSlot > 0) {
    // A form without the table's key shows no row of it: its owner fills
    // and takes its values.
    db_close(g_sup.tableSlot);
    Slot(slot).dataSet.tableSlot = g_sup.tableSlot = -1;
  }
  const bool row = g_sup.tableSlot > 0 && FindSupRow() == 0;
  // Filled before input may be switched off: the field with the focus
  // shows its value in the edit control too.
  FillSupFields(row);
  // Input off guards the row; a form its owner fills stays as it was built.
  SetInputState(s.openMode == -15 || g_sup.tableSlot <= 0 ? kInputOn : kInputOff);
  SendToOwner(kMsgFillScreen, s.screenNumber);
  InvalidateRect(window, nullptr, TRUE);
  return true;
}

// Gives the slot and its data set back and tells the owner.
void FinishSup() {
  const int slot = g_sup.slot;
  if (!IsValidSlot(slot)) return;
  CloseScreenDataSet(slot);
  const HWND owner = Owner();
  const int number = ScreenNumber();
  g_sup = SupFormState();
  if (owner) EnableWindow(owner, TRUE);
  CloseScreenWindow(slot, 1);
  if (owner) SendMessageA(owner, kMsgScreenClosed, number, 0);
}

void CloseSup() {
  if (!IsValidSlot(g_sup.slot)) return;
  // The owner may keep the form open.
  g_list.closeVeto = 0;
  SendToOwner(kMsgCloseQuery, ScreenNumber());
  if (g_list.closeVeto) {
    g_list.closeVeto = 0;
    return;
  }
  SaveSupRow();
  FinishSup();
}

void HandleCommand(int command) {
  if (!IsValidSlot(g_sup.slot)) return;
  TakeTypedValue();
  // The owner hears of the command first and may take it over.
  if (SendToOwner(kMsgFieldMessage, ScreenNumber()) == 1) return;
  switch (command) {
    case kKeyEscape: CloseSup(); return;
    case kKeyInput: SetInputState(g_sup.inputState == kInputOn ? kInputOff : kInputOn); break;
    case kKeyInputOffNow: SetInputState(kInputOff); break;
    case VK_RETURN:
      if (GetKeyState(VK_SHIFT) >= 0 && g_screen.currentItem >= 0 && !Item(g_screen.currentItem).jumpTarget.empty()) {
        FocusField(Item(g_screen.currentItem).jumpTarget.c_str());
        return;
      }
      break;
    default:
      break;
  }
  ApplyPendingFocus();
}

}  // namespace

LRESULT CALLBACK SupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScreenChildWndProc(window, message, wParam, lParam);
  switch (message) {
    case kMsgSlotOpened:
      if (!TakeScreen(window, static_cast<int>(wParam))) FinishSup();
      return 0;
    case WM_PAINT:
      if (!PaintSlotWindow(window, g_sup.slot)) break;
      PaintGraphColorSwatches(window, g_sup.slot);
      return 0;
    case kMsgScreenCommand:
      HandleCommand(static_cast<int>(wParam));
      return 0;
    case kMsgFieldChosen:
      SaveSupRow();
      SendToOwner(kMsgFieldMessage, ScreenNumber());
      return 0;
    case kMsgHeaderMenu:
    case WM_RBUTTONDOWN:
      PassMenuToMainWindow(message, ScreenNumber(), lParam);
      return 0;
    case kMsgCloseWindow:
    case WM_CLOSE:
      CloseSup();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
