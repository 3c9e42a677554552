#include "tests/reading/run_setup.h"

#include <algorithm>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "reading/reading.h"
#include "screen/screen.h"

namespace {

char EditLetter(const std::string& word) {
  if (word == "０埋") return 'Z';
  if (word == "Ｂ除") return 'D';
  if (word == "右詰") return 'R';
  if (word == "ﾁｪｯｸ") return 'C';
  return 'L';
}

}  // namespace

void BuildCanvasItems(const SheetDefinition& definition, const std::string& side) {
  ScreenItemTable& table = g_screenItems;
  table.totalCount = table.buildingCount = 0;
  for (const SheetFieldRow* row : definition.FieldsOf(side)) {
    ScreenItem& item = table.items[table.totalCount++];
    item = ScreenItem();
    item.itemClass = kItemClassSheet;
    item.code = row->code;
    item.name = row->name;
    item.caption = row->title;
    item.column = row->x;
    item.row = row->y;
    item.width = row->count;
    item.edit = EditLetter(row->edit);
    item.kind = row->type == "一括" ? 'F' : row->type == "全長" ? 'Z' : 'X';
    item.boxWidth = row->boxWidth;
    item.boxHeight = row->boxHeight;
    item.rowGap = row->arrayGap;
    item.bSize = row->gap;
    item.markType = row->markType;
    item.threshold = item.edit == 'C' && row->threshold == 0 ? 10 : row->threshold;
    item.fullWidth = 2;
    item.blankNotAllowed = row->required;
    item.charType = row->charType == "数値" ? 2 : row->charType == "ﾌﾗｸﾞ" ? 3 : 1;
    item.validChars = row->mask;
    item.minText = row->minimum;
    item.maxText = row->maximum;
    item.overlayText = row->overlay;
    item.conversionText = row->condition;
    item.count = row->decimals;
    item.boxShape = item.edit == 'C' ? (row->shape == "Ｍ" ? 23 : row->shape == "Ｃ" ? 24 : 1) : 20;
    item.recordCode = row->type == "Ｘ" ? 2 : row->type == "Ｙ" ? 3 : 0;
    if (item.recordCode) item.groupSize = std::min(row->arrayCount, item.count);
  }
  WindowSlot& slot = Slot(0);
  slot.state = 0;
  slot.screenType = kScreenTypeSheet;
  slot.firstItem = 0;
  slot.itemCount = table.totalCount;
  slot.lastItem = table.totalCount - 1;
  g_currentSheet.canvasSlot = 0;
  g_currentSheet.sheetCode = side;
}


void UseRunFolder(const std::string& folder) {
  SetSpecFolder(folder.c_str());
  SetDbServer(kDbKindFile, 7, "");
  SetDbLogin("", "");
  g_currentSheet = CurrentSheet();
  g_currentSheet.folder = folder;
  g_currentSheet.database = kRunSheetDb;
  g_currentSheet.outputFolder = folder;
  g_currentSheet.outputDatabase = kRunOutputDb;
  g_currentSheet.logFolder = folder + "\\log";
  g_sheetSettings = SheetSettings();
  g_sheetKeys = SheetKeyItems();
  g_readingRun = ReadingRun();
  g_readingPlaces = ReadingPlaces();
  g_readingPlaces.imageFolder = folder + "\\image";
  g_readingPlaces.endCodePath = folder + "\\log\\ENDCODE.TXT";
  g_readingPlaces.readEndPath = folder + "\\log\\READEND.TXT";
}
