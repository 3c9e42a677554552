#include "tests/reading/run_setup.h"

#include <cstdlib>
#include <map>
#include <sstream>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "reading/reading.h"
#include "screen/screen.h"

int OpenSheetCanvas(const std::string& side) {
  ScreenItemTable& table = g_screenItems;
  table.totalCount = table.buildingCount = 0;
  ResetWindowSlot(0);
  WindowSlot& slot = Slot(0);
  slot.state = 0;
  slot.screenType = kScreenTypeSheet;
  slot.openMode = -10;
  g_screen.currentSlot = 0;
  g_currentSheet.canvasSlot = 0;
  g_sheetDefinition.sheetCode = side;
  return RebuildWindowItems(0, 0);
}

bool UseServerOutput() {
  const char* text = std::getenv("SHEETDESK_PG");
  if (!text || !*text) return false;
  std::map<std::string, std::string> values;
  std::istringstream parts(text);
  for (std::string part; std::getline(parts, part, ';');) {
    const std::size_t equals = part.find('=');
    if (equals != std::string::npos) values[part.substr(0, equals)] = part.substr(equals + 1);
  }
  SetDbServer(kDbKindServer, 7, (values["Server"] + ":" + values["Port"]).c_str());
  SetDbLogin(values["Uid"].c_str(), values["Pwd"].c_str());
  g_currentSheet.outputFolder.clear();
  g_currentSheet.outputDatabase = values["Database"];
  g_currentSheet.outputKind = kDbKindServer;
  return true;
}

void UseRunFolder(const std::string& folder) {
  SetSpecFolder(folder.c_str());
  SetDbServer(kDbKindFile, 7, "");
  SetDbLogin("", "");
  g_currentSheet = CurrentSheet();
  g_sheetDefinition = SheetDefinitionRef();
  g_sheetDefinition.folder = folder;
  g_sheetDefinition.database = kRunSheetDb;
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
