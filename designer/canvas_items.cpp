// The items of the sheet canvas built again from the field rows of the
// current sheet code (g_sheetDefinition), after a definition or the side
// changed.
#include <windows.h>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

int RebuildWindowItems(int slot, int mode) {
  if (slot < 0) slot = g_currentSheet.canvasSlot;
  if (slot < 0 || slot >= kWindowSlotCount) {
    ShowInfoMessage("", "用紙の画面が開かれていません。");
    return -1;
  }
  WindowSlot& s = Slot(slot);
  DeleteEditControl(slot);
  FreeSlotRuledLines(slot);
  // The field rows are read through the engine's field-definition slot; one
  // left open by a screen being built is not ours to take.
  if (g_screenDefs.fieldDefSlot > 0) {
    ShowInfoMessage("", "画面の作成中は用紙の項目を作り直せません。");
    return -1;
  }
  g_screenDefs.fieldDefSlot = OpenSheetFieldTable();
  if (g_screenDefs.fieldDefSlot < 0) {
    g_screenDefs.fieldDefSlot = -1;
    return -1;  // reported by OpenSheetFieldTable
  }
  int rc = BuildScreenFields(slot, s.screenType, -1);
  db_close(g_screenDefs.fieldDefSlot);
  g_screenDefs.fieldDefSlot = -1;
  // The standard items close the range and give the slot its edit control
  // (none while the canvas has no window).
  if (rc == 0) rc = CreateStandardItems(s.window, slot, 0);
  if (rc != 0) {
    DiscardBuildingItems();
    return -1;
  }
  LoadLineDefinitions(slot);
  if (mode == 1 && s.window) InvalidateRect(s.window, nullptr, TRUE);
  return 0;
}
