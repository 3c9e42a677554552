// What the owner of a grid editor (the workbench) does with the grid's
// notices: fill and store the header, move the marked rows when the move
// grid's button is pressed, and show the changed rows on the sheet once
// the grid closed.
#include "designer/grids.h"
#include "designer/sheet_settings.h"
#include "screen/screen.h"

namespace {

constexpr UINT kMsgBeforeCommand = WM_USER + 123;  // 1147: the owner may take a command over

bool IsGridCode(int code) {
  return code == kGridWindowCode || code == kReorderWindowCode || code == kMoveWindowCode;
}

}  // namespace

bool HandleGridNotice(UINT message, WPARAM wParam, LRESULT* result) {
  if (!IsValidSlot(g_openGrid.slot)) return false;
  *result = 0;
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
    case kMsgScreenClosed:
      if (!IsGridCode(static_cast<int>(wParam))) return false;
      ForgetOpenGrid();
      if (IsValidSlot(g_currentSheet.canvasSlot)) RebuildWindowItems(g_currentSheet.canvasSlot, 1);
      return true;
    default:
      return false;
  }
}
