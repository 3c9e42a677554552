// The output database of the current sheet (where its read records go) as
// the menu commands need it, and the project screen: the workbench's
// button bar with the sheet of the current definition in the canvas.
#include <windows.h>

#include <string>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"

namespace {

constexpr char kProjectScreenCode[] = "PLN";

// MUPA_PAP of the current definition on its first row: the slot, or -1
// (reported by the database layer; a table without rows is quiet: the
// caller finds the row missing).
int OpenFirstPaperRow(bool* found) {
  const int t = db_open(DefinitionFolder().c_str(), DefinitionName().c_str(), "MUPA_PAP", kDbKindFile,
                        kSettingsSpec, "MUPA_PAP", "");
  *found = t >= 0 && db_toppos(t, "ＯＣＲコード") == 0;
  return t;
}

void SplitFilePath(const std::string& path, std::string* folder, std::string* name) {
  std::string buffer(path.size() + 1, '\0');
  GetDirectoryPart(buffer.data(), path.c_str());
  *folder = buffer.c_str();
  GetFileBaseName(buffer.data(), path.c_str());
  *name = buffer.c_str();
}

// Reads the output settings of the first paper row into g_output.
void ReadPaperRow(int t) {
  if (g_output.dbKind == kDbKindServer) {
    g_output.database = GetColumnText(t, "データベースＳ");
  } else {
    std::string path;
    // The default path is written down once; one longer than the column
    // is made again each time rather than stored cut into another path.
    if (ResolveOutputDatabasePath(t, &path) == 1 &&
        static_cast<int>(path.size()) <= GetColumnLength(t, "データベースＪ")) {
      SetColumnText(t, "データベースＪ", path.c_str());
      db_update(t);
    }
    SplitFilePath(path, &g_output.folder, &g_output.database);
    g_output.passwordSetting = GetColumnInt(t, "パスワード設定");
  }
  g_output.table = GetColumnText(t, "テーブル");
  g_output.keyNumbering = GetColumnInt(t, "予備３");
  g_output.sheetName = GetColumnText(t, "ＯＣＲ用紙名");
  g_output.cutImageSetting = GetColumnInt(t, "比較イメージパス");
}

// The output folder of the file database exists, made when it did not:
// 0, or -1 after the message.
int EnsureOutputFolder() {
  const char* folder = g_output.folder.c_str();
  if (FileExistsAlt(folder) == 0) return 0;
  ShowInfoMessage("", "データベース・フォルダ“%s”を作成します。", folder);
  EnsureDirectoryPath(folder);
  if (FileExistsAlt(folder) == 0) return 0;
  ShowGuideArrow("ＤＢガイド");
  ShowInfoMessage("", "データベース・フォルダ“%s”がありません。\nエクスプローラで“%s”を作成してください。\n"
                      "出力先が間違っている場合は、赤矢印が示すアイコンを押して、出力データベース名を設定し直してください。",
                  folder, folder);
  return -1;
}

}  // namespace

void ShowOutputFolder() {
  std::string folder;
  if (g_output.dbKind != kDbKindServer && !DefinitionName().empty() &&
      FileExists(DefinitionFilePath().c_str()) == 0) {
    bool found = false;
    const int t = OpenFirstPaperRow(&found);
    if (found) {
      std::string path, name;
      ResolveOutputDatabasePath(t, &path);
      SplitFilePath(path, &folder, &name);
    }
    if (t >= 0) db_close(t);
  }
  if (IsValidSlot(g_mainWindow.slot)) SetItemValueForCommand(g_mainWindow.slot, "フォルダ名", folder.c_str());
}

int TransferServerDatabase(std::string& name, bool save) {
  if (DefinitionName().empty() || FileExists(DefinitionFilePath().c_str()) != 0) return -1;
  bool found = false;
  const int t = OpenFirstPaperRow(&found);
  if (t < 0) return -1;
  int rc = found ? 0 : -1;
  if (found && save) {
    SetColumnText(t, "データベースＳ", name.c_str());
    rc = db_update(t);
  } else if (found) {
    name = GetColumnText(t, "データベースＳ");
  }
  db_close(t);
  return rc;
}

int LoadOutputDatabaseSettings() {
  g_output.database.clear();
  g_output.folder.clear();
  g_output.table.clear();
  if (UpgradeSheetTables() != 0) return -1;
  bool found = false;
  const int t = OpenFirstPaperRow(&found);
  if (t < 0) return -1;
  if (found) ReadPaperRow(t);
  db_close(t);
  if (IsValidSlot(g_mainWindow.slot)) {
    SetItemValueForCommand(g_mainWindow.slot, "フォルダ名", g_output.folder.c_str());
  }
  // A server sheet without its database name would open every table in a
  // database named after the table: asked for like a missing table.
  if (g_output.table.empty() || (g_output.dbKind == kDbKindServer && g_output.database.empty())) {
    // Without the sheet settings on the menu, the server's database is
    // named on the database choice.
    const bool onDatabaseChoice = !g_output.table.empty() && GetOcrIniSettings().editorFlag != 1;
    ShowGuideArrow(onDatabaseChoice ? "サーバーガイド" : "ＤＢガイド");
    ShowInfoMessage("", "赤矢印が示すアイコンを押して、読み取りを行うシートに関する定義 "
                        "(「出力データベース名」等の設定) を行ってください。");
    return -1;
  }
  // The default database folder stays the program's (the screen databases
  // are opened there); the output database is named to the layer, and its
  // folder is passed by whoever opens its tables.
  SetOmrDbName(g_output.database.c_str());
  if (g_output.dbKind != kDbKindServer && EnsureOutputFolder() != 0) return -1;
  return CheckSheetDefined();
}

int CheckSheetDefined() {
  bool found = false;
  const int t = OpenFirstPaperRow(&found);
  if (t < 0) return -1;
  std::string table;
  if (found) {
    // LINESTYLE stays as stored: the reading run and the print tell the
    // one-, two- and three-mark sheets apart.
    SetColumnInt(t, "書込形式", 1);
    db_update(t);
    table = GetColumnText(t, "テーブル");
  }
  db_close(t);
  if (!table.empty()) return 0;
  ShowGuideArrow("ＤＢガイド");
  ShowInfoMessage("", "赤矢印が示すアイコンを押して、読み取りを行うシートに関する定義を行ってください。");
  return -1;
}

int EnsureProjectScreenRow() {
  const int t = db_open("", kScreenDatabase, kScreenTable, g_screenDefs.screenDbKind,
                        g_screenDefs.specFile.c_str(), "SCRTBL", "");
  if (t < 0) return -1;
  int rc = 0;
  if (db_search(t, kProjectScreenCode, "SCRCODE") != 0) {
    db_clear(t);
    SetColumnText(t, "SCRCODE", kProjectScreenCode);
    SetColumnInt(t, "SCRNO", 0);
    SetColumnText(t, "SCRNAME", "PRJ1-PLN");
    SetColumnText(t, "SCRTYPE", "PROJ");
    SetColumnText(t, "CURMOV", "R");
    SetColumnText(t, "SCREDT", "BUTT");
    SetColumnText(t, "SCRINP", "○");
    SetColumnText(t, "SCRPOS", "左上");
    rc = db_add(t);
  }
  db_close(t);
  return rc;
}

std::string ProjectScreenTitle() {
  if (g_output.dbKind == kDbKindServer) {
    return g_output.sheetName + " ／ " + g_output.serverName + "：" + g_output.database + "（PostgreSQL）";
  }
  if (GetOcrIniSettings().debugLevel == 2) return "";
  return g_output.sheetName + " ／ " + g_output.folder + "\\" + g_output.database + ".mdb";
}

namespace {

// The reading road of the project: its mode, its output database and the
// program's log and image folders.
void PrepareReadingRoad(int mode) {
  CurrentSheet& sheet = g_currentSheet;
  sheet.projectMode = mode;
  sheet.outputFolder = g_output.folder;
  sheet.outputDatabase = g_output.database;
  sheet.outputKind = g_output.dbKind;
  sheet.logFolder = g_program.logFolder;
  ReadingPlaces& places = g_readingPlaces;
  places.imageFolder = g_program.imageFolder;
  places.endCodePath = g_program.logFolder + "\\ENDCODE.TXT";
  places.readEndPath = g_program.logFolder + "\\READEND.TXT";
}

}  // namespace

int OpenProjectScreen(int command) {
  const int mode = command - 40;
  PrepareReadingRoad(mode);
  if (EnsureProjectScreenRow() != 0) return -1;
  if (BuildOcrWorkButtons(mode, ProjectScreenTitle().c_str()) != 0) return -1;
  return OpenScreen("", kScreenDatabase, kProjectScreenCode, kProjectScreen, -10, "");
}
