// What the owner of a grid editor (the workbench, or the sheet canvas when
// it was the active window) does with the grid's notices: fill and store
// the header, refuse a typed code of another kind of row, move the marked
// rows or align the question rows when their buttons are pressed, and show
// the changed rows on the sheet once the grid closed.
#include <cstdio>
#include <string>

#include "designer/grids.h"
#include "designer/sheet_settings.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr UINT kMsgBeforeCommand = WM_USER + 123;  // 1147: the owner may take a command over
constexpr UINT kMsgCellStore = WM_USER + 142;      // 1166: the owner may take a cell's store over
constexpr char kCodeColumn[] = "領域コード";
constexpr char kListEnd[] = "$$$$";

// A code typed into the grid is one of its kind of rows: kind + "001" to
// kind + "999" (or the row that ends the list). Returns 1 after the
// message, with the cell emptied, when it is not; 0 when the list stores it.
LRESULT CheckTypedCode(int column, int line) {
  const char kind = g_openGrid.codeKind;
  if (kind == 0 || column < 0 || column >= static_cast<int>(g_list.columns.size()) ||
      g_list.columns[column].name != kCodeColumn) {
    return 0;
  }
  char cell[64];
  std::snprintf(cell, sizeof cell, line < 100 ? "%s%02d" : "%s%03d", kCodeColumn, line);
  char code[64] = "";
  GetItemValueForCommand(g_openGrid.slot, cell, code);
  const std::string typed = code;
  const bool ofKind = typed.size() == 4 && typed[0] == kind &&
                      typed.find_first_not_of("0123456789", 1) == std::string::npos && typed.compare(1, 3, "000") != 0;
  if (typed.empty() || typed == kListEnd || ofKind) return 0;
  ShowInfoMessage("", "“No.”は、%c001～%c999で入力してください。[%s]", kind, kind, typed.c_str());
  SetItemValueForCommand(g_openGrid.slot, cell, "");
  return 1;
}

bool IsGridCode(int code) {
  return code == kGridWindowCode || code == kReorderWindowCode || code == kMoveWindowCode;
}

}  // namespace

bool HandleGridNotice(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (!IsValidSlot(g_openGrid.slot)) return false;
  *result = 0;
  if (message == kMsgScreenClosed) {
    if (!IsGridCode(static_cast<int>(wParam))) return false;
    if (g_openGrid.questions) StoreQuestionTitles();
    ForgetOpenGrid();
    if (IsValidSlot(g_currentSheet.canvasSlot)) RebuildWindowItems(g_currentSheet.canvasSlot, 1);
    return true;
  }
  // Only while the list shows the grid: another list's notices are its own.
  if (g_list.slot != g_openGrid.slot) return false;
  switch (message) {
    case kMsgFillScreen:
      if (!IsGridCode(static_cast<int>(wParam))) return false;
      FillGridHeader();
      return true;
    case kMsgCloseQuery:
      if (!IsGridCode(static_cast<int>(wParam))) return false;
      if (StoreGridHeader() != 0) CancelListWindowClose();
      return true;
    case kMsgBeforeCommand: {
      if (wParam == kCmdAlignQuestionRows && g_openGrid.outputSettings) {
        AdjustFieldYCoordinates();
        *result = 1;
        return true;
      }
      if (wParam != kCmdMoveMarkedRows || g_openGrid.moveKind == 0) return false;
      if (MoveFieldsToSide(g_openGrid.moveKind) > 0) RefreshOpenGrid();
      *result = 1;
      return true;
    }
    case kMsgCellStore:
      *result = CheckTypedCode(static_cast<int>(wParam), static_cast<int>(lParam));
      return true;
    default:
      return false;
  }
}
