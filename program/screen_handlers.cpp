// The main window's part in the screens it owns, by screen number: it
// points their data sets at the right database when they are built, fills
// their fields, takes over what the user chose and acts when they close.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "reading/workbench.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"

namespace {

// The server's database of the current sheet on the server choice: as
// long as データベースＳ.
constexpr char kServerDatabaseField[] = "出力データベース名";
constexpr int kServerDatabaseBytes = 100;

// The window slot showing screen `number`, or -1.
int SlotOfScreen(int number) {
  for (int s = kWindowSlotCount - 1; s >= 0; --s) {
    if (Slot(s).state != kFreeSlotState && Slot(s).screenNumber == number) return s;
  }
  return -1;
}

// The server choice keeps its row in the settings database of the work
// folder, a file database whatever kind the output databases are.
void PointAtSettingsDatabase(int slot) {
  ScreenDataSet& set = Slot(slot).dataSet;
  set.folder = g_program.workFolder;
  set.database = kSettingsDatabase;
  set.table = kSettingsTable;
  set.specFile = kSettingsSpec;
  set.dbKind = kDbKindFile;
}

// The kind and server stored in the settings row: 0 (no choice yet) reads
// as the file database and 3 (older versions' server) as the server.
void FillServerChoice(int slot) {
  SetWindowTextA(Slot(slot).window, Slot(slot).title.c_str());
  const int t = OpenSettingsRow();
  int kind = kDbKindFile;
  std::string server;
  if (t >= 0) {
    kind = GetColumnInt(t, "ＤＢ種別");
    server = GetColumnText(t, "サーバー名");
    db_close(t);
  }
  kind = kind == kDbKindServer || kind == kDbKindNone ? kDbKindServer : kDbKindFile;
  SetItemValueForCommand(slot, "ＤＢ種別", std::to_string(kind).c_str());
  SetItemValueForCommand(slot, "サーバー名", server.c_str());
  std::string database;
  TransferServerDatabase(database, false);
  SetItemValueForCommand(slot, kServerDatabaseField, database.c_str());
}

// Leaving the server choice (Esc or its close button, code 100) takes the
// kind and the server over; they are stored in the settings row and, when
// the screen closes, in "server.dat".
void TakeServerChoice(int slot) {
  if (GetLastFieldKey() != kKeyEscape) return;
  char value[64] = "";
  GetItemValueForCommand(slot, "ＤＢ種別", value);
  g_output.dbKind = std::atoi(value) == kDbKindServer ? kDbKindServer : kDbKindFile;
  char server[kMaxServerName * 2 + 1] = "";
  GetItemRawValue(slot, "サーバー名", server);
  g_output.serverName = g_output.dbKind == kDbKindServer ? server : "";
  // The current sheet's answers go to the database named on the server;
  // the guide to it has done its work.
  if (g_output.dbKind == kDbKindServer) {
    char database[kServerDatabaseBytes + 1] = "";
    GetItemRawValue(slot, kServerDatabaseField, database);
    std::string name = database;
    TransferServerDatabase(name, true);
  }
  if (IsValidSlot(g_mainWindow.slot)) {
    SetItemValueForCommand(g_mainWindow.slot, "サーバーガイド", "");
  }
  const int t = OpenSettingsRow();
  if (t < 0) return;
  SetColumnInt(t, "ＤＢ種別", g_output.dbKind);
  SetColumnText(t, "サーバー名", g_output.serverName.c_str());
  db_update(t);
  db_close(t);
}

// The answers of the survey (screen "101" of the definition) lie in the
// output database, in its own folder: the list reads them there.
void PointAtOutputDatabase(int slot) {
  ScreenDataSet& set = Slot(slot).dataSet;
  if (g_output.dbKind != kDbKindServer && lstrcmpiA(set.database.c_str(), g_output.database.c_str()) == 0) {
    set.folder = g_output.folder;
  }
}

// The answer list was made for the output database and table of its time:
// a sheet whose output moved since needs the list made again.
void WarnOfMovedOutput(int slot) {
  const ScreenDataSet& set = Slot(slot).dataSet;
  if (lstrcmpiA(set.database.c_str(), g_output.database.c_str()) != 0) {
    ShowInfoMessage("", "データベース名が変更されています。[%s]→[%s]\n"
                        "〔シート読取〕の〔一覧表形式画面〕を起動することでデータベースを更新します。",
                    set.database.c_str(), g_output.database.c_str());
  }
  if (lstrcmpiA(set.table.c_str(), g_output.table.c_str()) != 0) {
    ShowInfoMessage("", "テーブル名が変更されています。[%s]→[%s]\n"
                        "〔シート読取〕の〔一覧表形式画面〕を起動することでテーブルを更新します。",
                    set.table.c_str(), g_output.table.c_str());
  }
}

}  // namespace

void OnScreenBuilt(int screenNumber) {
  const int slot = SlotOfScreen(screenNumber);
  if (slot < 0 || OnSurveyScreenBuilt(screenNumber, slot)) return;
  if (screenNumber == kServerChoiceScreen) PointAtSettingsDatabase(slot);
  if (screenNumber == kAnswerListScreen) PointAtOutputDatabase(slot);
}

void OnFillScreen(int screenNumber) {
  const int slot = SlotOfScreen(screenNumber);
  if (slot < 0 || OnFillSurveyScreen(screenNumber, slot) || OnTallyOptionsFill(screenNumber, slot)) return;
  if (screenNumber == kServerChoiceScreen) FillServerChoice(slot);
  if (screenNumber == kAnswerListScreen) WarnOfMovedOutput(slot);
}

void OnFieldInput(int screenNumber) {
  // The CSV dialog is a form of its own, not a screen of the database.
  if (screenNumber == kTallyCsvScreen) {
    WriteTallyCsv();
    return;
  }
  const int slot = SlotOfScreen(screenNumber);
  if (slot < 0 || OnSurveyScreenInput(screenNumber, slot) || OnTallyOptionsInput(screenNumber, slot)) return;
  if (screenNumber == kServerChoiceScreen) TakeServerChoice(slot);
}

void OnScreenClosed(int screenNumber) {
  if (OnSurveyScreenClosed(screenNumber) || OnTallyOptionsClosed(screenNumber)) return;
  switch (screenNumber) {
    case kServerChoiceScreen:
      WriteServerList();
      break;
    case kWorkbenchScreen:
      // Started for one sheet, the program ends with its workbench.
      if (g_program.commandLineMode) PostMessageA(g_program.mainWindow, kMsgCloseWindow, 0, 0);
      break;
    default:
      break;
  }
}

void OnCloseQuery(int screenNumber) {
  if (screenNumber != kAnswerListScreen) return;
  const int slot = SlotOfScreen(screenNumber);
  if (slot >= 0) CheckDuplicateIds(Slot(slot).dataSet, g_program.logFolder);
}
