// The list screens built by code (the grid editors of the sheet
// definition), the geometry of the current list's grid and its vertical
// scroll bar of rows.
#include <windows.h>

#include <algorithm>
#include <string>

#include "foundation/csv_token.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr int kRowScrollBarId = 12;
constexpr int kMaxCursorRows = 50;
constexpr size_t kKeyStringSize = 20;
constexpr size_t kF9TokenSize = 100;

// The cells of the current list's grid: first and last column of row 1,
// and row 2 (items named after the columns).
int CellItem(int column, int row) {
  if (column < 0 || column >= static_cast<int>(g_list.columns.size())) return -1;
  char name[96];
  std::snprintf(name, sizeof name, row < 100 ? "%s%02d" : "%s%03d",
                g_list.columns[column].name.c_str(), row);
  return ResolveFieldRef(g_list.slot, name);
}

}  // namespace

int CreateScreenWindow(HWND window, int windowCode, int left, int top, int width, int height,
                       int rows, int fontUnit, int subKind, int inputMode, int cursorMode,
                       int borate, const char* functionKeys, const char* title, int reader,
                       int port) {
  std::string keys = functionKeys ? functionKeys : "";
  const size_t comma = keys.find(',');
  if (comma != std::string::npos) {
    // "keys,entry,entry": the entries join the F9 list.
    const std::string text = keys;
    CsvCursor cursor;
    std::vector<char> token(text.size() + 1);
    int rc = NextCsvTokenWith(cursor, token.data(), static_cast<int>(kKeyStringSize), text.c_str());
    keys = token.data();
    while (rc > 0) {
      rc = NextCsvTokenWith(cursor, token.data(), static_cast<int>(kF9TokenSize), text.c_str());
      g_screenDefs.f9Commands += token.data();
    }
  }
  const int s = FindFreeWindowSlot();
  if (s < 0) {
    ShowInfoMessage("Control", "同時に開ける画面は %d つまでです。", kWindowSlotCount);
    return -1;
  }
  WindowSlot& slot = Slot(s);
  slot.openMode = 0;
  slot.borateFlag = borate;
  slot.windowCode = windowCode;
  slot.screenNumber = windowCode;
  slot.owner = GetActiveWindow();
  BuildQueryCondition(s);
  slot.screenType = kScreenTypeList;
  slot.functionKeys = keys;
  if (fontUnit > 0) {
    slot.fontUnit = fontUnit;
    slot.rowHeight = 3 * fontUnit - 1;
    slot.rowPitch = slot.rowHeight + 2;
  }
  slot.listMode = subKind == 4 ? 2 : subKind;
  if (subKind == 4) g_list.newRowsAllowed = 0;
  int gridWidth = 0, gridHeight = 0;
  if (LayoutScreenFields(window, s, left, top, rows, inputMode, &gridWidth, &gridHeight, reader, port) != 0) {
    DiscardBuildingItems();
    return -1;
  }
  // Width and height are sizes or size codes, never positions: a window
  // of a given size is centred across, and placed at the top unless its
  // height is a position code.
  const int x = width == -1 || width > 0 ? -2 : width;
  const int y = height == -1 ? 0 : height > 0 ? -2 : height;
  if (OpenScreenWindow(window, x, y, width, height, 0, windowCode, inputMode, cursorMode, -1, title) != 0) {
    return -1;
  }
  return s;
}

int GetScreenGeometry(int* leftX, int* firstRowY, int* rightX, int* secondRowY, int* rows) {
  if (g_list.rows > kMaxCursorRows) {
    ShowInfoMessage("", "ﾎﾞｯｸｽｶｰｿﾙの最大数(%d)を越えました。", kMaxCursorRows);
  }
  const int columns = static_cast<int>(g_list.columns.size());
  const int first = CellItem(0, 1);
  int last = -1;
  for (int k = columns - 1; k >= 0 && last < 0; --k) last = CellItem(k, 1);
  const int second = CellItem(0, 2);
  *leftX = first >= 0 ? Item(first).pixelX : 0;
  *firstRowY = first >= 0 ? Item(first).pixelY : 0;
  *rightX = last >= 0 ? Item(last).pixelX + Item(last).pixelWidth : 0;
  *secondRowY = second >= 0 ? Item(second).pixelY : *firstRowY;
  *rows = std::min(g_list.rows, kMaxCursorRows);
  return columns;
}

void CreateListScrollBar(int range, int page) {
  const int s = g_list.slot;
  if (!IsValidSlot(s) || !Slot(s).window) return;
  if (!g_list.rowScrollBar) {
    g_list.rowScrollBar = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_VERT, 0, 0, 0, 0,
                                          Slot(s).window,
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRowScrollBarId)),
                                          GetModuleHandleA(nullptr), nullptr);
  }
  if (!g_list.rowScrollBar) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_PAGE | SIF_RANGE | SIF_POS;
  info.nMax = std::max(0, range - 1);
  info.nPage = static_cast<UINT>(std::max(1, page));
  SetScrollInfo(g_list.rowScrollBar, SB_CTL, &info, FALSE);
  LayoutListScrollBar();
}

void LayoutListScrollBar() {
  if (!g_list.rowScrollBar) return;
  int left = 0, top = 0, right = 0, second = 0, rows = 0;
  GetScreenGeometry(&left, &top, &right, &second, &rows);
  const WindowSlot& slot = Slot(g_list.slot);
  const int pitch = second > top ? second - top : slot.rowPitch;
  MoveWindow(g_list.rowScrollBar, right + 4 - slot.scrollX, top - slot.scrollY,
             g_screen.metrics.vscrollWidth, pitch * rows, TRUE);
  ShowWindow(g_list.rowScrollBar, SW_SHOWNA);
}

void HideListScrollBar() {
  if (g_list.rowScrollBar) ShowWindow(g_list.rowScrollBar, SW_HIDE);
}
