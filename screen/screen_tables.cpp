// The engine's screen-definition state: which screen-table specification
// the screens are read with, the two table slots a screen opens through,
// and the sheet-definition database of the project screen.
#include <string>

#include "foundation/db.h"
#include "foundation/spc_file.h"
#include "screen/screen.h"

SheetDefinitionRef g_sheetDefinition;
ScreenDefinitionState g_screenDefs;

void SelectScreenTableSpec() {
  const std::string newer = BuildSpecPath(GetSpecFolder(), "FSCRTBL3.SPC");
  std::string text;
  const bool found = ReadWholeFile(newer.c_str(), text);
  g_screenDefs.specFile = found ? "FSCRTBL3.SPC" : "FSCRTBL2.SPC";
  g_screenDefs.specHasExec = found;
}

void CloseScreenDefSlots(int slot) {
  static_cast<void>(slot);  // the two table slots are the engine's, not the window slot's
  for (int* tableSlot : {&g_screenDefs.screenDefSlot, &g_screenDefs.fieldDefSlot}) {
    if (*tableSlot > 0) db_close(*tableSlot);
    *tableSlot = -1;
  }
}
