// List screens: the columns from the field rows marked as list columns,
// one repeating group that scrolls sideways, and the grid of items laid out
// from them (a header row and the rows shown, each cell an item named after
// its column and row). At most 230 columns; the rows shown are kept within
// the item table.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "foundation/db.h"
#include "foundation/db_text.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"
#include "screen/screen_words.h"

namespace {

constexpr int kHeaderCommand = 97;        // + column: a title cell
constexpr int kHeaderButtonCommand = 301; // + column: a header button
constexpr int kGroupScrollBarId = 11;
constexpr int kOddRowColour = 111;
constexpr int kEvenRowColour = 110;

std::string CellName(const std::string& column, int row) {
  char name[96];
  std::snprintf(name, sizeof name, row < 100 ? "%s%02d" : "%s%03d", column.c_str(), row);
  return name;
}

bool InGroup(int c) {
  const ListGroup& g = g_list.group;
  return g.first >= 0 && c >= g.first && c < g.first + g.count;
}

bool ShownInGroup(int c) {
  const ListGroup& g = g_list.group;
  return !InGroup(c) || (c >= g.first + g.offset && c < g.first + g.offset + g.shown);
}

// The list's first field row sets its input mode, grid position and
// whether it adds rows.
void TakeFirstRow(const ScreenFieldRecord& r) {
  const std::string& input = g_screenDefs.screenInput;
  g_list.inputMode = input == "Ｎ" || input == "N" ? 3 : 1;
  if (input == "△") {
    g_list.inputMode = 2;
    g_list.newRowsAllowed = 0;
  }
  g_list.left = r.x <= 0 ? 1 : r.x;
  if (!g_list.headerTexts.empty()) {
    g_list.top = 5;
  } else {
    g_list.top = r.y <= 0 && r.y != -1 ? 3 : r.y;
  }
}

// Adds the columns of one field row: 0, or -1 after the message.
int AddRowColumns(const ScreenFieldRecord& r, const std::string& name, int n, bool first) {
  if (first) TakeFirstRow(r);
  if (r.shownMembers > 1 && r.members <= 1) {
    ShowErrorMessage("", "%sの[配列数] にレコードの配列数を設定してください。", name.c_str());
    return -1;
  }
  const bool grouped = !(r.shownMembers <= 0 && n < 0);
  const int members = grouped ? r.members : 0;
  int from = 1, to = 1;
  if (members > 0 && n >= 0) {
    from = to = n;
  } else if (members > 0) {
    to = r.members - 1;
  }
  const bool scrolling = members > 0 && r.shownMembers > 0 && n < 0;
  if (scrolling && to < r.shownMembers) {
    ShowErrorMessage("", "定義内容が矛盾します。[ﾚｺｰﾄﾞ配列=%d／ｽｸﾘｰﾝ配列=%d]", to, r.shownMembers);
    return -1;
  }
  const char kind = FieldAttrCode(r.type);
  const int placement = TitlePlacementCode(r.titlePlace);
  for (int member = from; member <= to; ++member) {
    if (static_cast<int>(g_list.columns.size()) >= kMaxListColumns) {
      ShowInfoMessage("", "スクリーンの項目数が“%d”を越えました。", kMaxListColumns);
      return -1;
    }
    const int index = static_cast<int>(g_list.columns.size());
    if (scrolling && member == from) g_list.group = {index, to - from + 1, r.shownMembers, 0};
    ListColumn c;
    c.name = members > 0 ? CellName(name, member) : name;
    c.title = r.title;
    if (members > 0 && placement == 8) c.title = std::to_string(member);
    if (members > 0 && placement == 9) c.title = CellName(r.title, member);
    // A column is as wide as its display width (横幅, which the screen
    // generator and the item-order dialog widen to the heading) and holds
    // the value's length; taking the length as the width squeezed every
    // heading longer than its value into a cell of one or two characters.
    c.width = r.width > 0 ? r.width : 10;
    c.length = r.secondSize > 0 ? r.secondSize : c.width;
    g_list.columns.push_back(c);
    if (!ShownInGroup(index)) continue;
    ListColumn& shown = g_list.columns.back();
    shown.kind = kind;
    shown.edit = EditCharCode(r.edit);
    shown.decimals = r.decimals;
    shown.state = AttrWordCode(r.lock, g_screenDefs.screenInput == "×");
    shown.titleStyle = placement;
    shown.charSize = r.charSize;
    const int text = ColorWordCode(r.textColour);
    shown.colorA = text == -1 ? 0 : text;
    shown.colorB = ColorWordCode(r.backColour);
    shown.itemClass = AttrWordIndex(r.frame);
    shown.minimum = r.minimum;
    shown.maximum = r.maximum;
    shown.guide = r.guide;
    shown.choices = r.choices;
    if (!r.choices.empty()) g_screenDefs.candidateFields += 1;
    shown.tabFlag = r.tabFlag;
    shown.recordCode = r.recordCode;
    shown.joinText = r.join;
    if (!r.join.empty() && shown.state == kItemEnabled) {
      shown.joinedTable = r.join.substr(r.join.find('=') == std::string::npos ? 0 : r.join.find('=') + 1);
      shown.joinedTable = shown.joinedTable.substr(0, shown.joinedTable.find('.'));
    }
    shown.minText = r.minText;
    shown.maxText = r.maxText;
  }
  return 0;
}

// One cell of the grid: its item with the column's kinds and attributes.
int AddCell(const ListColumn& c, const std::string& name, int x, int xShift, int row, int state,
            int background) {
  const int i = AddScreenItem("", name.c_str(), x, row, 0, c.width, c.length > 0 ? c.length : c.width, c.charSize, c.kind,
                              c.decimals, state == kItemProtected ? 1 : 0, 0, c.edit, state, c.colorA,
                              5, c.minimum, c.maximum, c.guide.c_str(), c.choices.c_str());
  if (i < 0) return -1;
  ScreenItem& item = Item(i);
  item.xOffset = xShift;
  item.colorB = background;
  item.itemClass = c.itemClass;
  item.joinText = c.joinText;
  item.minText = c.minText;
  item.maxText = c.maxText;
  item.recordCode = c.recordCode;
  item.tabFlag = c.tabFlag;
  item.fieldName = c.name;
  return i;
}

// The header cell of a column: its title, or a button with the title when
// the list has header buttons.
int AddHeaderCell(const ListColumn& c, int k, int x, int xShift, int top, int headerHeight,
                  bool button, int reader, int port) {
  const char edit = button ? (reader > 1 ? 'v' : 'S') : 'L';
  const int i = AddScreenItem(c.title.c_str(), c.name.c_str(), x, top, 0, c.width,
                              button ? headerHeight : c.width, c.charSize, button ? 'B' : 'K', 0, 0,
                              button ? kHeaderButtonCommand + k : kHeaderCommand + k, edit,
                              button ? kItemEnabled : kItemProtected, 0, 6, 0, 0, "", "");
  if (i < 0) return -1;
  ScreenItem& item = Item(i);
  item.xOffset = xShift;
  item.itemClass = kItemClassThinFrame;
  if (button && reader > 1) {
    item.count = reader;
    item.keyCode2 = port;
  }
  return i;
}

// The horizontal scroll bar of a group with more members than it shows.
void CreateGroupScrollBar(HWND window, int x, int y, int width) {
  const ListGroup& g = g_list.group;
  if (g_list.groupScrollBar) DestroyWindow(g_list.groupScrollBar);
  g_list.groupScrollBar = CreateWindowExA(
      0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, x, y, width, 15, window,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kGroupScrollBarId)), GetModuleHandleA(nullptr), nullptr);
  if (!g_list.groupScrollBar) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_PAGE | SIF_RANGE | SIF_POS;
  info.nMax = g.count - 1;
  info.nPage = static_cast<UINT>(g.shown);
  SetScrollInfo(g_list.groupScrollBar, SB_CTL, &info, FALSE);
}

}  // namespace

int LoadScreenFieldRows(int s) {
  const int t = g_screenDefs.fieldDefSlot;
  if (t < 0 || db_tfind(t, 0) != 0) {
    ShowInfoMessage("", "スクリーンフィールドは定義されていません。");
    return -1;
  }
  const int openMode = Slot(s).openMode;
  bool first = true;
  do {
    ReadScreenFieldRow();
    ScreenFieldRecord& r = g_screenDefs.row;
    std::string buffer = r.name;
    int n = TakeDefaultChoice(buffer.data());
    if (n == -2) n = openMode >= 0 ? openMode : 0;
    const std::string name = buffer.c_str();
    if ((openMode == -12 && r.page == 0) || (openMode == -13 && r.tabFlag == 0)) r.lock = "－";
    // A button or pop-up with "#" candidates, in the list or above it, asks
    // for the screen's other fields beside the list: the layout builds them
    // once the columns are read.
    const char kind = FieldAttrCode(r.type);
    if ((kind == 'M' || kind == 'B') && !r.choices.empty() && r.choices[0] == '#') g_list.hashFlag = 1;
    if (name.empty() || r.list != "○" || r.lock == "＃" || r.lock == "－") continue;
    if (r.lock == "Ｄ") {
      if (openMode == -8 && !r.defaultText.empty()) SetFieldDefault(name.c_str(), r.defaultText.c_str());
      if (openMode != -7 && RequireFieldDefault(name.c_str()) != 0) return -1;
      if (r.type == "非表") continue;
    }
    if (AddRowColumns(r, name, n, first) != 0) return -1;
    first = false;
  } while (db_nread(t) == 0);
  return 0;
}

int FindListColumn(const char* name) {
  for (size_t k = 0; k < g_list.columns.size(); ++k) {
    if (g_list.columns[k].name == name) return static_cast<int>(k);
  }
  return -1;
}

int SetListColumnTitle(const char* name, const char* text) {
  const int k = FindListColumn(name);
  if (k >= 0) g_list.columns[k].title = text;
  return k;
}

void GetListColumnNames(int shownColumn, char* name, char* title) {
  const int k = MapListColumn(shownColumn);
  name[0] = title[0] = '\0';
  if (k < 0 || k >= static_cast<int>(g_list.columns.size())) return;
  const ListColumn& c = g_list.columns[k];
  std::snprintf(name, 61, "%s", c.name.c_str());
  std::snprintf(title, 221, "%s", c.title.empty() ? c.name.c_str() : c.title.c_str());
}

int MapListColumn(int c) {
  const ListGroup& g = g_list.group;
  if (g.first < 0 || c < g.first) return c;
  if (c <= g.first + g.shown - 1) return c + g.offset;
  return c + g.count - g.shown;
}

int ClampListColumn(int c) {
  const ListGroup& g = g_list.group;
  if (g.first < 0) return c;
  if (c >= g.first + g.count) return c + g.shown - g.count;
  if (c >= g.first) return g.first;
  return c;
}

int LayoutScreenFields(HWND window, int s, int left, int top, int rows, int inputMode, int* width,
                       int* height, int reader, int port) {
  WindowSlot& slot = Slot(s);
  const bool automatic = top == -1;
  if (automatic) top = 0;
  const int unit = slot.fontUnit;
  int headerHeight = slot.rowHeight - 2;
  if (reader > 0) headerHeight = (2 * reader + 2) * unit + 6;
  if (automatic) headerHeight = 30;
  const int columns = static_cast<int>(g_list.columns.size());
  if (columns > kMaxListColumns) {
    ShowErrorMessage("", "項目の並び数が“%d”を越えました。", kMaxListColumns);
    return -1;
  }
  const ListGroup& g = g_list.group;
  int listWidth = 0;
  int groupX = left;
  for (int row = 0; row <= rows; ++row) {
    int x = left;
    int xShift = 0;
    for (int k = 0; k < columns; ++k) {
      if (!ShownInGroup(k)) continue;
      const ListColumn& c = g_list.columns[k];
      if (g.first >= 0 && k == g.first + g.offset) {
        x += 1;
        groupX = x;
      }
      const int i = row == 0 ? AddHeaderCell(c, k, x, xShift, top, headerHeight, slot.borateFlag != 0, reader, port)
                             : AddCell(c, CellName(c.name, row), x, xShift, top + row,
                                       inputMode != 1 && k == 0 ? kItemProtected : c.state,
                                       row % 2 ? kOddRowColour : kEvenRowColour);
      if (i < 0) return -1;
      x += c.width + 2;
      xShift += c.extraWidth;
      if (g.first >= 0 && k == g.first + g.offset + g.shown - 1) x += 1;
    }
    listWidth = x - left;
  }
  g_list.rows = rows;
  if (g_list.hashFlag && BuildScreenFields(s, kScreenTypeList, g_screenItems.totalCount) != 0) return -1;
  const int keys = SetupFunctionKeys(s, kScreenTypeList);
  if (keys < 0) return -1;
  g_list.keyResult = keys;
  if (slot.listMode == 4 && slot.functionKeys.size() > 12 && slot.functionKeys[12] == '3') {
    slot.functionKeys[12] = '2';
    g_list.key12Remembered = 1;
  }
  if (g_list.hashFlag && g_screen.mainWindow) {
    SendMessageA(g_screen.mainWindow, kMsgFunctionKeys, slot.screenNumber, keys);
  }
  if (width) *width = std::max((2 * left + listWidth + 2) * unit, (keys + 2) * unit) + 2;
  if (height) *height = (top + rows + 2) * (slot.rowHeight + 1);
  if (window && g.first >= 0 && g.count > g.shown) {
    const int barWidth = (g_list.columns[g.first].width + 2) * g.shown * unit;
    const int barY = top * slot.rowPitch + slot.topMargin + headerHeight;
    CreateGroupScrollBar(window, groupX * unit, barY, barWidth);
  }
  return 0;
}
