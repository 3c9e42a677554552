#include "tests/reading/run_setup.h"

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"

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
  RunServer server;
  if (!ReadRunServer(&server)) return false;
  SetDbServer(kDbKindServer, 7, server.name.c_str());
  SetDbLogin(server.user.c_str(), server.password.c_str());
  // The folder stays, as the program's output settings keep theirs: cut
  // out areas go there whatever the database.
  g_currentSheet.outputDatabase = server.database;
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
