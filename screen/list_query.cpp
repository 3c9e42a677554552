// The query of a list or card data set: the SELECT with the tables its
// columns join, opened through the database layer; the first and last keys;
// and the document that describes a list's data set.
#include <windows.h>

#include <string>

#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/test_hooks.h"
#include "screen/list_query_text.h"
#include "screen/screen.h"

namespace {

bool IsDataField(const ScreenItem& item) {
  return item.kind != 'B' && item.kind != 'M' && item.titleStyle != 11 && item.titleStyle != 13 &&
         item.itemClass != kItemClassPlan && item.itemClass != kItemClassSheet && !item.fieldName.empty();
}

ListQuerySource QuerySource(int listOrCard, int s) {
  const WindowSlot& slot = Slot(s);
  ListQuerySource source;
  source.table = slot.dataSet.table;
  for (const QueryCondition& c : g_list.conditions) source.conditionColumns.push_back(c.column);
  if (listOrCard == 1) {
    for (const ListColumn& c : g_list.columns) source.columns.push_back({c.name, c.joinText});
  } else {
    for (int i = slot.firstItem; slot.itemCount > 0 && i <= slot.lastItem; ++i) {
      if (IsDataField(Item(i))) source.columns.push_back({Item(i).name, Item(i).joinText});
    }
  }
  source.conditionText = g_list.conditionText;
  source.extraWhere = g_list.extraWhere;
  source.filterText = g_list.filterText;
  source.fileDatabase = GetDefaultDbKind() == kDbKindFile;
  return source;
}

std::string RuleOf(int length) { return std::string(length, '-'); }

}  // namespace

std::string ResolveColumnTable(int listOrCard, int s, const char* column) {
  std::string joinText;
  if (listOrCard == 1) {
    const int k = FindListColumn(column);
    if (k >= 0) joinText = g_list.columns[k].joinText;
  } else {
    const int i = ResolveFieldRef(s, column);
    if (i >= 0) joinText = Item(i).joinText;
  }
  if (joinText.empty()) return Slot(s).dataSet.table;
  const std::string table = JoinedTable(joinText);
  if (table.empty()) ShowInfoMessage("", "マージスクリプトが間違っています。(%s)", joinText.c_str());
  return table;
}

int BuildListDataQuery(int listOrCard, int s) {
  std::string sql;
  std::string message;
  if (BuildListSelect(QuerySource(listOrCard, s), sql, message) != 0) {
    ShowInfoMessage("", "%s", message.c_str());
    return -1;
  }
  g_list.selectText = sql;
  return OpenListDataTable(listOrCard, s);
}

int OpenListDataTable(int listOrCard, int s) {
  ScreenDataSet& set = Slot(s).dataSet;
  if (set.tableSlot > 0) db_close(set.tableSlot);
  set.tableSlot = -1;
  const int t = db_open(set.folder.c_str(), set.database.c_str(), set.table.c_str(), set.dbKind,
                        set.specFile.c_str(), set.specBlock.c_str(), "%s", g_list.selectText.c_str());
  if (t < 0) {
    if (GetOcrIniSettings().debugLevel == 1) {
      ShowInfoMessage("", "“%s”をオープンできません。\n\n%s", set.table.c_str(), g_list.selectText.c_str());
    } else {
      ShowInfoMessage("", "“%s”をオープンできません。", set.table.c_str());
    }
    return -1;
  }
  set.tableSlot = t;
  if (listOrCard == 1) {
    for (ListColumn& c : g_list.columns) c.dbType = GetColumnTypeQuiet(t, c.name.c_str());
  }
  std::string key;
  if (GetKeyColumns(t, key, set.keyNumber) == 0) set.keyColumn = key;
  return 0;
}

int ReloadListData() {
  const int s = g_list.slot;
  if (!IsValidSlot(s) || BuildListDataQuery(1, s) != 0) return -1;
  const int t = Slot(s).dataSet.tableSlot;
  CreateListScrollBar(db_count(t), g_list.rows);
  return t;
}

int ShowDataNotRegistered() {
  const ScreenDataSet& set = Slot(g_list.slot).dataSet;
  const int t = set.tableSlot;
  if (t <= 0 || db_tfind(t, set.keyNumber) != 0) {
    ShowInfoMessage("", "データは登録されていません。");
    return -1;
  }
  g_list.firstKey = GetColumnText(t, set.keyColumn.c_str());
  if (db_efind(t, set.keyNumber) == 0) g_list.lastKey = GetColumnText(t, set.keyColumn.c_str());
  return 0;
}

int WriteScreenDocument() {
  const int s = g_list.slot;
  if (!IsValidSlot(s)) return -1;
  const WindowSlot& slot = Slot(s);
  const std::string file = slot.screenName + ".TXT";
  if (AskYesNo("", "ドキュメントファイル“%s”を出力します。", file.c_str()) != IDYES) return 0;
  const HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) {
    ShowInfoMessage("", "“%s”をオープンできません。", file.c_str());
    return -1;
  }
  const ScreenDataSet& set = slot.dataSet;
  char title[256] = "";
  if (slot.window) GetWindowTextA(slot.window, title, sizeof title);
  WriteTextCrLf(out, "【%s】(%s.TXT)\n\n", title, slot.screenName.c_str());
  WriteTextCrLf(out, "  データベース名：%s\n", set.database.c_str());
  WriteTextCrLf(out, "  テーブル名　　：%s\n", set.table.c_str());
  WriteTextCrLf(out, "  インデックス名：%s\n", set.keyColumn.c_str());
  WriteTextCrLf(out, "\n〔カラム(フィールド)情報〕\n");
  WriteTextCrLf(out, "%s\n", RuleOf(84).c_str());
  WriteTextCrLf(out, "  No     タ イ ト ル        カラム名  桁数               結 合 条 件\n");
  WriteTextCrLf(out, "%s\n", RuleOf(84).c_str());
  int number = 1;
  for (const ListColumn& c : g_list.columns) {
    WriteTextCrLf(out, "  %02d %-20s %-12s %2d ", number++, c.title.c_str(), c.name.c_str(), c.width);
    WriteTextCrLf(out, "%-12s ", c.joinText.c_str());
    WriteTextCrLf(out, "\n");
  }
  WriteTextCrLf(out, "%s\n", RuleOf(84).c_str());
  if (!g_list.conditions.empty()) {
    WriteTextCrLf(out, "\n〔セレクト条件〕\n");
    for (const QueryCondition& c : g_list.conditions) {
      WriteTextCrLf(out, "   %-12s＝%s\n", c.column.c_str(), c.value.c_str());
    }
  }
  WriteTextCrLf(out, "\n〔件　数〕\n");
  WriteTextCrLf(out, "   %d 件\n", set.tableSlot > 0 ? db_count(set.tableSlot) : 0);
  WriteTextCrLf(out, "\n〔ｽﾃｰﾄﾒﾝﾄ〕\n");
  WriteTextCrLf(out, "   %s\n", g_list.selectText.c_str());
  CloseHandle(out);
  const std::string command = "NOTEPAD.EXE " + file;
  return StartExternalProgram(command.c_str(), SW_SHOWNORMAL) < 32 ? -1 : 0;
}
