// The list-form window "Lst": takes the list screen's slot and data set,
// shows it a page at a time, stores what is typed and runs the commands of
// the function keys, the buttons and the job dialog.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "entry/entry.h"
#include "entry/screen_windows.h"
#include "entry/list_form.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

ListFormState g_listForm;

namespace {

constexpr UINT kMsgBeforeCommand = WM_USER + 123; // 1147
constexpr UINT kMsgStoreLine = WM_USER + 124;     // 1148
constexpr UINT kMsgJobResult = WM_USER + 130;     // 1154
constexpr UINT kMsgRefresh = WM_USER + 114;       // 1138

constexpr int kKeyPrevPage = 112, kKeyNextPage = 113, kKeyFirstPage = 114, kKeyLastPage = 115;
constexpr int kKeyCopy = 116, kKeyInsert = 117, kKeyDelete = 118, kKeyNumberSearch = 119;
constexpr int kKeyEditMode = 123;
constexpr int kKeyCsvOutput = 125;  // "}": the CSV output key of the key bar
constexpr int kKeyPrint = 126;      // "~": the print key of the sheets' own lists
constexpr int kButtonSearch = 208;
constexpr int kHeaderSearch = 301;

HWND OwnerOf() { return IsValidSlot(g_listForm.slot) ? Slot(g_listForm.slot).owner : nullptr; }

int ScreenNumber() { return IsValidSlot(g_listForm.slot) ? Slot(g_listForm.slot).screenNumber : 0; }

LRESULT SendToOwner(UINT message, WPARAM wParam, LPARAM lParam = 0) {
  const HWND owner = OwnerOf();
  return owner ? SendMessageA(owner, message, wParam, lParam) : 0;
}

// The key kind of the list: the first word of the screen's key setting
// ("1", "2" or "3"), else code numbers for a zero-filled key column and
// free keys otherwise.
int KeyKindOf(const WindowSlot& slot, const ListColumn& key) {
  const int given = std::atoi(slot.keyFields.c_str());
  if (given >= kFreeKeys && given <= kConsecutiveCodes) return given;
  return key.edit == 'Z' ? kCodeNumbers : kFreeKeys;
}

// The edit mode of the list: records with code numbers move by dragging
// (4); other lists only browse (2).
int ListEditMode() { return g_listForm.keyKind == kFreeKeys ? 2 : 4; }

// The cell under a point of the window's client area: false for none.
bool CellAtPoint(LPARAM point, int* column, int* line) {
  const WindowSlot& s = Slot(g_listForm.slot);
  const int x = GET_X_LPARAM(point) + s.scrollX;
  const int y = GET_Y_LPARAM(point) + s.scrollY;
  for (int l = 1; l <= g_listForm.rows; ++l) {
    for (int c = 0; c < static_cast<int>(g_list.columns.size()); ++c) {
      const int item = ListCellItem(c, l);
      if (item < 0) continue;
      const RECT r = ItemPixelRect(item);
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
        *column = c;
        *line = l;
        return true;
      }
    }
  }
  return false;
}

// In the edit mode of code numbers a record is dragged from its line onto
// another: it takes that line's code and the records between move by one.
std::string g_draggedKey;

void StartDrag(LPARAM point) {
  g_draggedKey.clear();
  int column, line;
  if (g_listForm.editMode == 4 && CellAtPoint(point, &column, &line)) g_draggedKey = LineKey(line);
}

void EndDrag(LPARAM point) {
  const std::string from = g_draggedKey;
  g_draggedKey.clear();
  int column, line;
  if (from.empty() || g_listForm.editMode != 4 || !CellAtPoint(point, &column, &line)) return;
  const std::string to = LineKey(line);
  if (to.empty() || to == from) return;
  // Moving renumbers records: a slip of the mouse must not.
  if (AskYesNo("", "%s“%s”を“%s”に移動してもよろしいですか？", g_listForm.keyTitle.c_str(), from.c_str(), to.c_str()) !=
      IDYES) {
    return;
  }
  MoveListRecord(from, to);
}

// The cell the focus is on: false when it is no cell of the list.
bool CurrentCell(int* column, int* line) { return ListCellOfItem(g_screen.currentItem, column, line); }

// What was typed into the current cell goes to the table before anything
// else happens; a key typed for a copy (F5) only names the copy's target.
// Returns CommitListCell's result, 0 when nothing was pending.
int StorePendingCell(int command = 0) {
  int column, line;
  if (!IsFieldEdited() || !CurrentCell(&column, &line) || !TakeTypedValue()) return 0;
  if (command == kKeyCopy && column == KeyColumnIndex()) return 0;
  // A date typed short or in its era form is stored as a Western date.
  if (IsDateFieldKind(g_list.columns[column].kind)) NormalizeDateField();
  return CommitListCell(column, line);
}

// A value typed into a cell and not stored yet when the list closes by its
// frame (Esc and its key store it first, as every command does), or whose
// store was refused, is the operator's to keep or drop: true when the list
// may close (stored, or dropped), false when the operator stays on it or
// the store was refused.
bool SettlePendingCell() {
  int column, line;
  if (!IsFieldEdited() || !CurrentCell(&column, &line)) return true;
  // Typed and taken back again: nothing to keep.
  const ScreenItem& cell = Item(g_screen.currentItem);
  std::string typed(static_cast<size_t>(std::max(cell.length, 0)) + 1, '\0');
  ReadEditText(g_screen.currentItem, typed.data());
  if (typed.c_str() == g_screen.focusText) return true;
  // The cell takes the typed text before the question: the box takes the
  // focus, and the cell focused again afterwards shows its value.
  const std::string stored = g_screen.focusText;
  if (!TakeTypedValue()) return true;
  const ListColumn& c = g_list.columns[column];
  const int answer = AskYesNoCancel("", "“%s”に入力した内容は、まだ登録されていません。\n"
                                        "登録してから画面を閉じますか？\n"
                                        "（〔いいえ〕は登録せずに閉じ、〔キャンセル〕は画面に戻ります。）",
                                    c.title.empty() ? c.name.c_str() : c.title.c_str());
  if (answer == IDYES) return CommitListCell(column, line) == 0;
  if (answer == IDNO) return true;
  // Back on the list, the typed text is still to be stored (or taken back).
  g_screen.focusText = stored;
  SetFieldEdited(1);
  return false;
}

bool TakeScreen(HWND window, int slot) {
  g_listForm = ListFormState();
  ForgetListSession();
  g_listForm.slot = slot;
  g_list.slot = slot;
  SelectWindowSlot(slot);
  LoadLineDefinitions(slot);
  const WindowSlot& s = Slot(slot);
  if (!s.dataSet.table.empty()) {
    const int t = ReloadListData();
    if (t < 0) return false;
    g_listForm.tableSlot = t;
    g_listForm.dataSetOpen = true;
  }
  g_listForm.table = s.dataSet.table;
  g_listForm.keyColumn = s.dataSet.keyColumn;
  g_listForm.keyNumber = s.dataSet.keyNumber;
  g_listForm.rows = g_list.rows;
  g_listForm.lineKeys.assign(g_listForm.rows + 1, std::string());
  for (int line = 1; line <= g_listForm.rows; ++line) {
    for (const ListColumn& column : g_list.columns) {
      char name[96];
      std::snprintf(name, sizeof name, line < 100 ? "%s%02d" : "%s%03d", column.name.c_str(), line);
      g_listForm.cellItems.push_back(ResolveFieldRef(slot, name));
    }
  }
  const int key = KeyColumnIndex();
  if (key >= 0) {
    const ListColumn& column = g_list.columns[key];
    g_listForm.keyKind = KeyKindOf(s, column);
    g_listForm.codeWidth = column.width > 0 ? column.width : 4;
    g_listForm.keyTitle = column.title.empty() ? column.name : column.title;
  }
  // A list kept to the rows with a value in a column writes that value
  // into the rows it adds, so they stay in the list.
  for (const QueryCondition& c : g_list.conditions) {
    if (FindListColumn(c.column.c_str()) < 0) g_listForm.fixedValues.emplace_back(c.column, c.value);
  }
  for (const QueryCondition& c : g_list.newRowValues) g_listForm.fixedValues.emplace_back(c.column, c.value);
  char code[16];
  std::snprintf(code, sizeof code, "L%05d", s.screenNumber);
  g_listForm.printCode = code;
  // A selection list (list mode 1) picks records from its row bar; list
  // mode 4 opens in the edit mode that moves records.
  g_listForm.editMode = s.listMode == 1 || s.listMode == 4 ? s.listMode : 0;
  const HWND owner = s.owner;
  if (owner && owner != window) EnableWindow(owner, FALSE);
  RefreshListPage();
  if (g_listForm.editMode == 1) SetWindowEditMode(1);
  SendToOwner(kMsgFillScreen, s.screenNumber);
  InvalidateRect(window, nullptr, TRUE);
  return true;
}

// Shift and Ctrl held at the last command, with Alt held as the list
// closes, offer to drop the screen's table (its data set closed first).
void OfferToDropTable(const ScreenDataSet& set) {
  if (!g_listForm.shiftHeld || !g_listForm.ctrlHeld || GetKeyState(VK_MENU) >= 0 || set.table.empty()) return;
  const int answer =
      set.folder.empty()
          ? AskYesNo("", "テーブル“%s-%s”を削除してもよろしいですか？", set.database.c_str(), set.table.c_str())
          : AskYesNo("", "テーブル“%s-%s-%s”を削除してもよろしいですか？", set.folder.c_str(), set.database.c_str(),
                     set.table.c_str());
  if (answer == IDYES) DropTableByName(set.folder.c_str(), set.database.c_str(), set.table.c_str());
}

void RecordModifierKeys() {
  const ModifierKeys held = ReadModifierKeys();
  g_listForm.shiftHeld = held.shift;
  g_listForm.ctrlHeld = held.ctrl;
}

void CloseList() {
  const int slot = g_listForm.slot;
  if (!IsValidSlot(slot) || !SettlePendingCell()) return;
  g_list.closeVeto = 0;
  SendToOwner(kMsgCloseQuery, ScreenNumber());
  if (g_list.closeVeto) {
    g_list.closeVeto = 0;
    return;
  }
  if (g_list.groupScrollBar) DestroyWindow(g_list.groupScrollBar);
  if (g_list.rowScrollBar) DestroyWindow(g_list.rowScrollBar);
  g_list.groupScrollBar = g_list.rowScrollBar = nullptr;
  g_list.slot = -1;
  // Shift held: the changes of the whole session are the operator's to
  // give up; the rows go back as they were before the list first wrote them.
  if (g_listForm.shiftHeld && ListSessionChanged() &&
      AskYesNo("", "今回の処理で変更した内容を破棄しますか？\n　変更前の状態に戻す場合は、〔はい〕") == IDYES &&
      DiscardListSession() == 0) {
    g_listForm.changed = 0;
  }
  ForgetListSession();
  const ScreenDataSet set = Slot(slot).dataSet;
  CloseScreenDataSet(slot);
  OfferToDropTable(set);
  const HWND owner = OwnerOf();
  const int number = ScreenNumber();
  g_listForm.slot = -1;
  g_listForm.tableSlot = -1;
  g_listForm.dataSetOpen = false;
  if (owner) EnableWindow(owner, TRUE);
  CloseScreenWindow(slot, 1);
  if (owner) SendMessageA(owner, kMsgScreenClosed, number, 0);
}

// Buttons of the list (1156): the job dialog, the search window.
void HandleButton(int command) {
  if (!g_listForm.dataSetOpen) {
    ShowInfoMessage("", "処理を行うデータが選択されていません。");
    return;
  }
  const HWND window = Slot(g_listForm.slot).window;
  switch (command) {
    case kJobCsvInput:
      OpenJobDialog(window, command);
      break;
    case kJobPrint:
      OpenListPrintSettings();
      break;
    case kJobCsvOutput:
    case kJobRangeDelete:
    case kJobRangeInput:
      if (TakeListKeyRange() == 0) OpenJobDialog(window, command);
      break;
    case kButtonSearch: {
      int column = 0, line = 0;
      OpenSearchWindow(CurrentCell(&column, &line) ? column : KeyColumnIndex());
      break;
    }
    default:
      SendToOwner(kMsgFieldMessage, ScreenNumber());
      break;
  }
}

// The two lists of a sheet's own records (screens 91 and 92), whose key
// bar prints.
bool IsSheetListScreen() {
  const int number = Slot(g_listForm.slot).screenNumber;
  return number == 91 || number == 92;
}

void RunCommand(int command) {
  int column = 0, line = 0;
  const bool onCell = CurrentCell(&column, &line);
  switch (command) {
    case kKeyPrevPage: ShowPreviousListPage(); break;
    case kKeyNextPage: ShowNextListPage(); break;
    case kKeyFirstPage: RefreshListPage(); break;
    case kKeyLastPage: ShowLastListPage(); break;
    case kKeyCopy: if (onCell) CopyListRecord(line); break;
    case kKeyInsert: if (onCell) InsertListLine(line); break;
    case kKeyDelete: if (onCell) DeleteListRecord(line); break;
    case kKeyNumberSearch: OpenJobDialog(Slot(g_listForm.slot).window, kJobNumberSearch); break;
    case kKeyEditMode: g_listForm.editMode = g_listForm.editMode ? 0 : ListEditMode(); break;
    case VK_PRIOR: ScrollListColumns(2); break;
    case VK_NEXT: ScrollListColumns(1); break;
    case kListLineUp: if (onCell && line == 1) ShiftListLineUp(); break;
    case kListLineDown: if (onCell && line == g_listForm.rows) ShiftListLineDown(); break;
    case kKeyCsvOutput: HandleButton(kJobCsvOutput); break;
    case kKeyPrint:
      if (IsSheetListScreen()) HandleButton(kJobPrint);
      break;
    default:
      if (command >= kHeaderSearch && command < kHeaderSearch + static_cast<int>(g_list.columns.size())) {
        OpenSearchWindow(command - kHeaderSearch);
      }
      break;
  }
}

bool IsPagingCommand(int command) {
  return command == kKeyPrevPage || command == kKeyNextPage || command == kKeyFirstPage || command == kKeyLastPage ||
         command == kKeyCopy || command == kKeyInsert || command == kKeyDelete || command == kKeyNumberSearch;
}

// Enter on a row of a selection list: the owner takes the row's record and
// the list shows its first page again, or the list closes.
void PickListRecord(int line) {
  const std::string key = line >= 1 && line <= g_listForm.rows ? LineKey(line) : std::string();
  if (key.empty() || db_find_key_first(g_listForm.tableSlot, key.c_str(), g_listForm.keyNumber) != 0) return;
  g_listForm.pickedKey = key;
  if (SendToOwner(kMsgRecordPicked, ScreenNumber()) == 1) {
    RefreshListPage();
  } else {
    CloseList();
  }
}

void HandleCommand(int command, LPARAM lParam) {
  ShowPendingListView();  // a command sees the page as shown
  RecordModifierKeys();
  StorePendingCell(command);
  if (command != kKeyEscape && command != kKeyEditMode && !g_listForm.dataSetOpen) {
    if (IsPagingCommand(command)) ShowInfoMessage("", "処理を行うデータが選択されていません。");
    SendToOwner(kMsgFieldMessage, ScreenNumber());
    return;
  }
  if (command == kKeyEditMode && g_listForm.ctrlHeld) {
    WriteScreenDocument();
    return;
  }
  // The owner may take the command over.
  if (SendToOwner(kMsgBeforeCommand, command) == 1) return;
  if (command == VK_RETURN && g_listForm.editMode == 1) {
    PickListRecord(static_cast<int>(lParam));
    return;
  }
  RunCommand(command);
  // Enter in the mode that moves records only moves the row bar.
  if (command == VK_RETURN && g_listForm.editMode == 4) return;
  SendToOwner(kMsgFieldMessage, ScreenNumber());
  if (command == kKeyEscape) CloseList();
}

// The vertical scroll bar of rows: the thumb stands for the row index of
// line 1.
void ScrollRows(WPARAM request) {
  int target = g_listForm.topIndex;
  switch (LOWORD(request)) {
    case SB_LINEUP: ShiftListLineUp(); return;
    case SB_LINEDOWN: ShiftListLineDown(); return;
    case SB_PAGEUP: ShowPreviousListPage(); return;
    case SB_PAGEDOWN: ShowNextListPage(); return;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: target = HIWORD(request); break;
    default: return;
  }
  const int t = g_listForm.tableSlot;
  if (target <= 0 || db_tfind(t, g_listForm.keyNumber) != 0) {
    RefreshListPage();
    return;
  }
  const int index = db_step(t, target);
  if (index < target) db_efind(t, g_listForm.keyNumber);
  g_listForm.topIndex = index;
  FillListPage();
}

}  // namespace

const char* GetPickedListKey() { return g_listForm.pickedKey.c_str(); }

bool TakeTypedValue() {
  const int item = g_screen.currentItem;
  if (!IsFieldEdited() || item < 0 || item >= g_screenItems.totalCount) return false;
  // A protected field shows its value but takes nothing typed.
  if (Item(item).state != kItemEnabled) return false;
  // A cell that turns by clicks (kind 'c') holds its value already: it has
  // no edit control to read.
  if (Item(item).kind != 'c') {
    std::string text(static_cast<size_t>(std::max(Item(item).length, 0)) + 1, '\0');
    ReadEditText(item, text.data());
    Item(item).displayText = text.c_str();
  }
  SetFieldEdited(0);
  return true;
}

// The cells of a repeating group stand under the names of its first
// columns; a column scrolled out of view has no cell (-1). The others are
// their own.
int CellColumnOf(int column) {
  const ListGroup& g = g_list.group;
  if (g.first < 0 || column < g.first || column >= g.first + g.count) return column;
  const int shown = column - g.offset;
  return shown >= g.first && shown < g.first + g.shown ? shown : -1;
}

int ListCellItem(int column, int line) {
  const int columns = static_cast<int>(g_list.columns.size());
  if (column < 0 || column >= columns || line < 1 || line > g_listForm.rows) return -1;
  const int cell = CellColumnOf(column);
  if (cell < 0) return -1;
  const size_t at = static_cast<size_t>(line - 1) * columns + cell;
  return at < g_listForm.cellItems.size() ? g_listForm.cellItems[at] : -1;
}

std::string ListCellText(int column, int line) {
  const int item = ListCellItem(column, line);
  if (item < 0) return "";
  std::string text = Item(item).displayText;
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

namespace {

// The column beside a date column that shows its era form, -1 without one.
int EraColumnOf(int dateColumn) { return FindListColumn(EraFieldName(g_list.columns[dateColumn].name).c_str()); }

// The date column whose era form `column` shows, -1 when it shows none.
int DateColumnOfEra(int column) {
  static const std::string suffix = EraFieldName("");
  const std::string& name = g_list.columns[column].name;
  if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return -1;
  }
  for (int c = 0; c < static_cast<int>(g_list.columns.size()); ++c) {
    if (IsDateFieldKind(g_list.columns[c].kind) && EraFieldName(g_list.columns[c].name) == name) return c;
  }
  return -1;
}

void SetCellItemText(int item, const char* text) {
  if (!g_listForm.filling) {
    SetItemValueAt(g_listForm.slot, item, text);
    return;
  }
  // While a page fills, the cells are painted together at its end.
  FormatItemValue(item, text);
  if (item == g_screen.currentItem) {
    g_listForm.focusedCellStale = true;
    RequestListViewUpdate();
  }
}

}  // namespace

// An era cell shows what its date cell holds, whatever the row gives it (it
// has no column of its own); a date cell takes its era cell along.
void SetListCellText(int column, int line, const char* text) {
  const int item = ListCellItem(column, line);
  if (item < 0) return;
  const int dateColumn = DateColumnOfEra(column);
  if (dateColumn >= 0) {
    SetCellItemText(item, EraOfDate(ListCellText(dateColumn, line)).c_str());
    return;
  }
  SetCellItemText(item, text);
  if (!IsDateFieldKind(g_list.columns[column].kind)) return;
  const int eraColumn = EraColumnOf(column);
  const int eraItem = eraColumn >= 0 ? ListCellItem(eraColumn, line) : -1;
  if (eraItem >= 0) SetCellItemText(eraItem, EraOfDate(ListCellText(column, line)).c_str());
}

int KeyColumnIndex() {
  const int key = FindListColumn(g_listForm.keyColumn.c_str());
  return key >= 0 ? key : (g_list.columns.empty() ? -1 : 0);
}

std::string LineKey(int line) {
  const int key = KeyColumnIndex();
  return key < 0 ? std::string() : ListCellText(key, line);
}

bool ListCellOfItem(int item, int* column, int* line) {
  const int columns = static_cast<int>(g_list.columns.size());
  if (!IsValidSlot(g_listForm.slot) || item < 0 || columns == 0) return false;
  const ListGroup& g = g_list.group;
  for (size_t at = 0; at < g_listForm.cellItems.size(); ++at) {
    if (g_listForm.cellItems[at] != item) continue;
    const int cell = static_cast<int>(at % columns);
    const bool grouped = g.first >= 0 && cell >= g.first && cell < g.first + g.shown;
    *column = grouped ? cell + g.offset : cell;
    *line = static_cast<int>(at / columns) + 1;
    return true;
  }
  return false;
}

bool IsStoredListColumn(int column) {
  const ListColumn& c = g_list.columns[column];
  return c.dbType > 0 && c.joinText.empty();
}

LRESULT CALLBACK ListWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScreenChildWndProc(window, message, wParam, lParam);
  switch (message) {
    case kMsgSlotOpened:
      if (!TakeScreen(window, static_cast<int>(wParam))) CloseList();
      return 0;
    case kMsgShowListView:
      ShowPendingListView();
      return 0;
    case WM_PAINT:
      ShowPendingListView();
      if (PaintSlotWindow(window, g_listForm.slot)) return 0;
      break;
    case kMsgScreenCommand:
      HandleCommand(static_cast<int>(wParam), lParam);
      return 0;
    case kMsgCardPrint:
      StorePendingCell();
      HandleButton(static_cast<int>(wParam));
      return 0;
    case kMsgPrintOutput:
    case kMsgPreviewOutput:
      StorePendingCell();
      OutputListReport(message == kMsgPrintOutput ? 1 : 0);
      return 0;
    case kMsgJobResult:
      RunListJob(static_cast<int>(wParam));
      return 0;
    case kMsgFieldChosen:
      StorePendingCell();
      SendToOwner(kMsgFieldMessage, ScreenNumber());
      return 0;
    case kMsgStoreLine:
      StorePendingCell();
      return 0;
    case kMsgRefresh:
      EnableWindow(window, TRUE);
      ReopenListDataSet();
      return 0;
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(lParam) == g_list.rowScrollBar && g_list.rowScrollBar) {
        ScrollRows(wParam);
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      if (IsValidSlot(g_listForm.slot)) StartDrag(lParam);
      return 0;
    case WM_LBUTTONUP:
      if (IsValidSlot(g_listForm.slot)) EndDrag(lParam);
      return 0;
    case WM_MOUSEWHEEL:
      if (GET_WHEEL_DELTA_WPARAM(wParam) > 0) ShiftListLineUp(); else ShiftListLineDown();
      return 0;
    case kMsgHeaderMenu:
    case WM_RBUTTONDOWN:
      PassMenuToMainWindow(message, ScreenNumber(), lParam);
      return 0;
    case WM_CLOSE:
      RecordModifierKeys();  // as the Esc command would
      CloseList();
      return 0;
    case kMsgCloseWindow:
      CloseList();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
