// The side of a two-page operation scan: the canvas of the other side's
// field rows, its references and scale.
#include <cstdio>

#include "designer/sheet_settings.h"
#include "reading/reading.h"
#include "screen/screen.h"

int ApplyDuplexSideSetting() {
  const int side = g_readingRun.currentSide == 2 ? 2 : 1;
  char code[8];
  std::snprintf(code, sizeof code, "%04d", side);
  if (g_sheetDefinition.sheetCode != code) {
    g_sheetDefinition.sheetCode = code;
    if (RebuildWindowItems(g_currentSheet.canvasSlot, 1) != 0) return -1;
  }
  SetItemValueByRef("RYOUMEN", side == 1 ? "1" : "2");
  return 0;
}
