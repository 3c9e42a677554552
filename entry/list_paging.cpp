// Paging of the list form: the data set stands on the row shown in line 1;
// a page is filled by reading R rows forward and fetching back to line 1,
// and every move first puts the data set on line 1's key again (writes and
// other windows may have moved it).
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "entry/list_form.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

int Table() { return g_listForm.tableSlot; }

// The current row's key.
std::string RowKey() { return GetColumnText(Table(), g_listForm.keyColumn.c_str()); }

// The data set's position of each list column (0: none) and of the key,
// found once a page rather than by name for every cell.
struct RowPositions {
  std::vector<int> columns;
  int key = 0;
};

const RowPositions& FindRowPositions() {
  static RowPositions positions;
  const int t = Table();
  positions.columns.resize(g_list.columns.size());
  for (size_t c = 0; c < g_list.columns.size(); ++c) {
    const ListColumn& column = g_list.columns[c];
    positions.columns[c] = column.dbType > 0 ? FindColumnPosition(t, column.name.c_str()) : 0;
  }
  positions.key = FindColumnPosition(t, g_listForm.keyColumn.c_str());
  return positions;
}

// The cell texts of the current row on a line.
void ShowRowOnLine(int line, const RowPositions& positions) {
  const int t = Table();
  for (int c = 0; c < static_cast<int>(positions.columns.size()); ++c) {
    SetListCellText(c, line, GetColumnAsTextByPosition(t, positions.columns[c]));
  }
  g_listForm.lineKeys[line] = GetColumnAsTextByPosition(t, positions.key);
}

void ClearLine(int line) {
  for (int c = 0; c < static_cast<int>(g_list.columns.size()); ++c) SetListCellText(c, line, "");
  g_listForm.lineKeys[line].clear();
}

// Steps `count` rows in a direction: the number of rows stepped.
int Step(int count, bool forward) { return db_step(Table(), forward ? count : -count); }

// The row index of the current row, counted from the first.
int CountRowsBefore(const std::string& key) {
  if (key.empty()) return 0;
  // The rows below the key are counted through the data set's own order.
  if (db_find_key_first(Table(), key.c_str(), g_listForm.keyNumber) != 0) return 0;
  const int index = db_step(Table(), -INT_MAX);
  db_find_key_first(Table(), key.c_str(), g_listForm.keyNumber);
  return index;
}

void UpdateRowScrollBar() {
  g_listForm.rowBarStale = true;
  RequestListViewUpdate();
}

// Puts the data set on line 1's key; false when the table has no rows.
bool SyncWithLineOne() {
  const std::string key = LineKey(1);
  // Every write positions the data set again, so a row of line 1's key is
  // line 1's row.
  if (!key.empty() && RowKey() == key) return true;
  if (!key.empty() && db_find_key_or_next(Table(), key.c_str(), g_listForm.keyNumber) == 0) return true;
  g_listForm.topIndex = 0;
  return db_tfind(Table(), g_listForm.keyNumber) == 0;
}

// The cells filled are painted at once.
void PaintPage() {
  g_listForm.filling = false;
  if (IsValidSlot(g_listForm.slot) && Slot(g_listForm.slot).window) {
    InvalidateRect(Slot(g_listForm.slot).window, nullptr, FALSE);
  }
}

}  // namespace

int FillListPage() {
  if (!g_listForm.dataSetOpen) return -1;
  const int rows = g_listForm.rows;
  g_listForm.filling = true;
  int filled = 0;
  bool onRow = g_listForm.tableSlot > 0 && !RowKey().empty();
  const RowPositions& positions = FindRowPositions();
  while (onRow && filled < rows) {
    ShowRowOnLine(++filled, positions);
    onRow = db_nread(Table()) == 0;
  }
  g_listForm.moreFollow = onRow;
  // Back to line 1: from the row after the page, or from past the last row.
  Step(filled, false);
  for (int line = filled + 1; line <= rows; ++line) ClearLine(line);
  UpdateRowScrollBar();
  PaintPage();
  return 0;
}

int RefreshListPage() {
  if (!g_listForm.dataSetOpen) return -1;
  g_listForm.topIndex = 0;
  g_listForm.pageAtTop = true;
  if (db_tfind(Table(), g_listForm.keyNumber) != 0) db_clear(Table());
  return FillListPage();
}

int SeekListRecord(const char* key) {
  if (!g_listForm.dataSetOpen) return -1;
  if (!key || !key[0]) return RefreshListPage();
  if (db_find_key_or_next(Table(), key, g_listForm.keyNumber) != 0) return RefreshListPage();
  g_listForm.topIndex = CountRowsBefore(RowKey());
  g_listForm.pageAtTop = g_listForm.topIndex == 0;
  return FillListPage();
}

int ReopenListDataSet() {
  const std::string top = LineKey(1);
  if (!IsValidSlot(g_listForm.slot)) return -1;
  const int t = ReloadListData();
  if (t < 0) return -1;
  g_listForm.tableSlot = t;
  return SeekListRecord(top.c_str());
}

int ShowPreviousListPage() {
  if (!SyncWithLineOne()) return FillListPage();
  const int stepped = Step(g_listForm.rows, false);
  if (stepped < g_listForm.rows) {
    // At the start of data: the first page. The data set stands before its
    // first row, one step from it; its SELECT need not run again.
    if (db_nread(Table()) != 0) db_tfind(Table(), g_listForm.keyNumber);
    g_listForm.pageAtTop = true;
    g_listForm.topIndex = 0;
    if (stepped == 0) return -1;
  } else {
    g_listForm.topIndex -= stepped;
    if (g_listForm.topIndex < 0) g_listForm.topIndex = 0;
  }
  return FillListPage();
}

int ShowNextListPage() {
  if (!SyncWithLineOne()) return -1;
  const int stepped = Step(g_listForm.rows, true);
  if (stepped < g_listForm.rows) {
    // Past the end: the page stays.
    SyncWithLineOne();
    return -1;
  }
  g_listForm.topIndex += stepped;
  g_listForm.pageAtTop = false;
  return FillListPage();
}

int ShowLastListPage() {
  if (!g_listForm.dataSetOpen || db_efind(Table(), g_listForm.keyNumber) != 0) return -1;
  const int total = db_count(Table());
  db_efind(Table(), g_listForm.keyNumber);
  // In an edit mode the last row stands on the last line; in input mode on
  // line 1, leaving the lines below free for new records.
  const int back = g_listForm.editMode != 0 ? Step(g_listForm.rows - 1, false) : 0;
  g_listForm.topIndex = total - 1 - back;
  g_listForm.pageAtTop = g_listForm.topIndex == 0;
  return FillListPage();
}

int ShiftListLineDown() {
  if (LineKey(g_listForm.rows).empty()) return -1;
  // At the end of data an edit mode stays; input mode shifts up and leaves
  // the last line free for a new record.
  if (g_listForm.editMode != 0 && !g_listForm.moreFollow) return -1;
  if (!SyncWithLineOne() || db_nread(Table()) != 0) return -1;
  ++g_listForm.topIndex;
  g_listForm.pageAtTop = false;
  return FillListPage();
}

int ShiftListLineUp() {
  if (!SyncWithLineOne()) return -1;
  if (db_pread(Table()) != 0) {
    db_tfind(Table(), g_listForm.keyNumber);
    g_listForm.pageAtTop = true;
    return -1;
  }
  if (g_listForm.topIndex > 0) --g_listForm.topIndex;
  return FillListPage();
}

int ScrollListColumns(int kind) {
  ListGroup& group = g_list.group;
  if (group.count <= group.shown || group.shown <= 0) {
    MessageBeep(MB_ICONHAND);
    return -1;
  }
  int offset = group.offset;
  const int last = group.count - group.shown;
  switch (kind) {
    case 1: offset -= group.shown; break;
    case 2: offset += group.shown; break;
    case 3: offset -= 1; break;
    default: offset += 1; break;
  }
  if (offset < 0) offset = 0;
  if (offset > last) offset = last;
  if (offset == group.offset) {
    MessageBeep(MB_ICONHAND);
    return -1;
  }
  group.offset = offset;
  if (g_list.groupScrollBar) SetScrollPos(g_list.groupScrollBar, SB_CTL, offset, TRUE);
  return FillListPage();
}

void RequestListViewUpdate() {
  if (g_listForm.viewUpdatePosted || !IsValidSlot(g_listForm.slot) || !Slot(g_listForm.slot).window) return;
  g_listForm.viewUpdatePosted = PostMessageA(Slot(g_listForm.slot).window, kMsgShowListView, 0, 0) != FALSE;
}

void ShowPendingListView() {
  g_listForm.viewUpdatePosted = false;
  if (g_listForm.rowBarStale && g_list.rowScrollBar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = g_listForm.topIndex;
    // Drawn with the list: redrawing the bar at once took longer than
    // painting the page.
    SetScrollInfo(g_list.rowScrollBar, SB_CTL, &info, FALSE);
    InvalidateRect(g_list.rowScrollBar, nullptr, FALSE);
  }
  g_listForm.rowBarStale = false;
  int column, line;
  if (g_listForm.focusedCellStale && ListCellOfItem(g_screen.currentItem, &column, &line)) {
    const HWND edit = Slot(g_listForm.slot).editControl;
    if (edit) SetWindowTextA(edit, Item(g_screen.currentItem).displayText.c_str());
  }
  g_listForm.focusedCellStale = false;
}

int TakeListKeyRange() { return ShowDataNotRegistered(); }
