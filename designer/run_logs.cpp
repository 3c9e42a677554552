// What a reading run opens of the sheet definition's: the collation table,
// the run logs in the log folder and the output table.
#include <cstring>

#include "designer/field_editor.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"

ResultLogs g_resultLogs;

namespace {

struct CollationItem {
  std::string name, value;
};

// The collation items of the sheet (MUPA_ORG) in ＯＲＧコード order: 0, or
// -1 when they cannot be read (reported by the database layer).
int ReadCollationItems(std::vector<CollationItem>* items) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kCollationItemTable, sheet.kind,
                           kSheetSpecSet, kCollationItemTable,
                           "select * from MUPA_ORG where ＯＣＲコード='0001'");
  if (slot < 0) return -1;
  for (int rc = db_toppos(slot, "ＯＲＧコード"); rc == 0; rc = db_nread(slot)) {
    items->push_back({GetColumnText(slot, "項目名"), GetColumnText(slot, "初期値")});
  }
  db_close(slot);
  return 0;
}

std::string BaseName(const std::string& path) {
  std::vector<char> name(path.size() + 1);
  GetFileBaseName(name.data(), path.c_str());
  return name.data();
}

HANDLE OpenLog(const char* suffix) {
  const std::string path = g_currentSheet.logFolder + "\\" + BaseName(g_sheetDefinition.database) +
                           suffix;
  return OpenFileForAppend(path.c_str());
}

void CloseLog(HANDLE& log) {
  if (log != INVALID_HANDLE_VALUE) CloseHandle(log);
  log = INVALID_HANDLE_VALUE;
}

}  // namespace

int LookupCollationTable() {
  ResultLogs& logs = g_resultLogs;
  if (logs.collationSlot > 0) db_close(logs.collationSlot);
  logs.collationSlot = -1;
  std::vector<CollationItem> items;
  if (ReadCollationItems(&items) != 0) return -1;
  if (items.empty()) return 0;
  const SheetSettings& s = g_sheetSettings;
  std::string select;
  if (items.size() >= 2) {
    select = "select * from " + s.collationTable + " where ";
    for (std::size_t i = 0; i + 1 < items.size(); ++i) {
      if (i > 0) select += " and ";
      select += items[i].name + "=" + SqlLiteral(items[i].value.c_str());
    }
  }
  const CurrentSheet& sheet = g_currentSheet;
  const int slot = db_open_nocreate(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(),
                                    s.collationTable.c_str(), sheet.outputKind, "", "", "%s",
                                    select.c_str());
  if (slot < 0) {
    ShowInfoMessage("", "照合テーブル“%s-%s”は、作成されていません。",
                    sheet.outputDatabase.c_str(), s.collationTable.c_str());
    return -1;
  }
  if (db_toppos(slot, items.back().name.c_str()) != 0) {
    char text[256];
    std::snprintf(text, sizeof text, "照合テーブル“%s”にデータは登録されていません。",
                  s.collationTable.c_str());
    SetItemValueByRef("OCRMSG", text);
    db_close(slot);
    return 0;
  }
  logs.collationSlot = slot;
  return 0;
}

std::string BuildKeyItemQuery() {
  std::string where;
  for (const SheetKeyItem& key : g_sheetKeys.items) {
    if (key.onSheet) continue;
    if (!where.empty()) where += " and ";
    where += key.name + "=" + SqlLiteral(key.value.c_str());
  }
  if (where.empty()) return std::string();
  return "select * from " + g_sheetSettings.outputTable + " where " + where;
}

int OpenResultLogs(int testScan) {
  ResultLogs& logs = g_resultLogs;
  if (LookupCollationTable() != 0) return -1;
  logs.put = OpenLog("_PUT.LOG");
  if (logs.put == INVALID_HANDLE_VALUE) return -1;
  logs.err = OpenLog("_ERR.LOG");
  if (logs.err == INVALID_HANDLE_VALUE) return -1;
  if (g_sheetSettings.shiftThreshold > 0) {
    logs.hos = OpenLog("_HOS.LOG");
    if (logs.hos == INVALID_HANDLE_VALUE) return -1;
  }
  if (!testScan) {
    const std::string rule(100, '=');
    WriteTextCrLf(logs.put, "%s\n", rule.c_str());
    WriteTextCrLf(logs.err, "%s\n", rule.c_str());
  }
  logs.outputQuery = BuildKeyItemQuery();

  const CurrentSheet& sheet = g_currentSheet;
  const char* table = g_sheetSettings.outputTable.c_str();
  // The description "<table>.spc" holds this one table: its first FIELD
  // list, with or without a section line naming the table.
  logs.outputSlot = db_open_nocreate(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(),
                                     table, sheet.outputKind, table, "", "%s",
                                     logs.outputQuery.c_str());
  if (logs.outputSlot < 0 && g_sheetSettings.createTable == 1) {
    logs.outputSlot = db_open(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(), table,
                              sheet.outputKind, table, "", "%s", logs.outputQuery.c_str());
    if (logs.outputSlot < 0) return -1;
  } else if (logs.outputSlot < 0) {
    ShowInfoMessage("", "データベース“%s”に、テーブル“%s”は作成されていません。\n"
                        "テーブルの自動作成が“禁止”に設定されていますので、処理を中断します。\n\n",
                    sheet.outputDatabase.c_str(), table);
    return -1;
  }
  return 0;
}

void CloseResultLogs() {
  ResultLogs& logs = g_resultLogs;
  CloseLog(logs.put);
  CloseLog(logs.err);
  CloseLog(logs.hos);
  if (logs.collationSlot > 0) db_close(logs.collationSlot);
  if (logs.outputSlot > 0) db_close(logs.outputSlot);
  logs.collationSlot = logs.outputSlot = -1;
}

int ReadOutputTableColumns(std::vector<OutputColumn>* columns) {
  columns->clear();
  const char* table = g_sheetSettings.outputTable.c_str();
  if (!*table) return -1;
  const CurrentSheet& sheet = g_currentSheet;
  const int t = db_open_nocreate(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(), table, sheet.outputKind,
                                 table, "", "");
  if (t < 0) return -2;
  OutputColumn column;
  for (int position = 1; GetColumnInfoByPosition(t, position, column.name, &column.length, &column.type) == 0;
       ++position) {
    columns->push_back(column);
  }
  db_close(t);
  return static_cast<int>(columns->size());
}
