// The check for duplicate identification numbers: sheets printed with an
// identification number (プレプリント) join their pages by it, so two records
// with one number contradict each other. When the list of read records
// closes, every group of records sharing a number goes into "%s_ID.LOG" of
// the log folder, and the operator is asked to look at them.
#include <cstdio>
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/test_hooks.h"
#include "reading/workbench.h"
#include "screen/screen.h"

namespace {

constexpr char kCaption[] = "";

struct IdRow {
  std::string index, id;
};

// The identification item (empty when the sheet prints none) and the first
// index item of the sheet.
void ReadIdItems(std::string* idItem, std::string* indexItem) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int paper = db_open(sheet.folder.c_str(), sheet.database.c_str(), kPaperTable, sheet.kind, kSheetSpecSet,
                            kPaperTable, "select * from MUPA_PAP where ＯＣＲコード='0001'");
  if (paper < 0) return;
  if (db_toppos(paper, "ＯＣＲコード") == 0 && GetColumnInt(paper, "プレプリント") != 0) {
    *idItem = GetColumnText(paper, "プレプリント欄");
  }
  db_close(paper);
  if (idItem->empty()) return;
  const int keys = db_open(sheet.folder.c_str(), sheet.database.c_str(), kKeyItemTable, sheet.kind, kSheetSpecSet,
                           kKeyItemTable, "");
  if (keys < 0) return;
  if (db_toppos(keys, "ＩＤＸコード") == 0) *indexItem = GetColumnText(keys, "項目名");
  db_close(keys);
}

// The output table's rows ordered by identification number, then index.
// 0, or -1 (reported by the database layer).
int ReadIdRows(const ScreenDataSet& list, const std::string& idItem, const std::string& indexItem,
               std::vector<IdRow>* rows) {
  const char* table = list.table.c_str();
  const int slot = db_open_nocreate(list.folder.c_str(), list.database.c_str(), table, list.dbKind, table, table, "");
  if (slot < 0) return -1;
  const std::string order = idItem + "," + indexItem;
  for (int rc = db_toppos(slot, order.c_str()); rc == 0; rc = db_nread(slot)) {
    rows->push_back({GetColumnText(slot, indexItem.c_str()), GetColumnText(slot, idItem.c_str())});
  }
  db_close(slot);
  return 0;
}

// Writes the groups of rows sharing a number: how many groups there were,
// or -1 when the log cannot be written (reported).
int WriteIdLog(const std::string& path, const std::string& idItem, const std::string& indexItem,
               const std::vector<IdRow>& rows) {
  std::FILE* log = std::fopen(path.c_str(), "w");
  if (!log) {
    ShowErrorMessage(kCaption, "“%s”に書き込めません。", path.c_str());
    return -1;
  }
  const int indexWidth = static_cast<int>(indexItem.size());
  const int idWidth = static_cast<int>(idItem.size());
  int groups = 0;
  for (std::size_t first = 0; first < rows.size();) {
    std::size_t end = first + 1;
    while (end < rows.size() && rows[end].id == rows[first].id) ++end;
    if (end - first > 1) {
      if (groups++ == 0) std::fprintf(log, "%s %s\n", indexItem.c_str(), idItem.c_str());
      std::fprintf(log, "%s\n", std::string(indexItem.size() + idItem.size() + 1, '-').c_str());
      for (std::size_t r = first; r < end; ++r) {
        std::fprintf(log, "%-*s %-*s\n", indexWidth, rows[r].index.c_str(), idWidth, rows[r].id.c_str());
      }
    }
    first = end;
  }
  std::fclose(log);
  return groups;
}

}  // namespace

int CheckDuplicateIds(const ScreenDataSet& list, const std::string& logFolder) {
  std::string idItem, indexItem;
  ReadIdItems(&idItem, &indexItem);
  if (idItem.empty() || indexItem.empty()) return 0;
  std::vector<IdRow> rows;
  if (ReadIdRows(list, idItem, indexItem, &rows) != 0) return -1;
  const std::string path = DefinitionLogPath(logFolder, "_ID.LOG");
  const int groups = WriteIdLog(path, idItem, indexItem, rows);
  if (groups <= 0) return groups;
  if (AskYesNo(kCaption,
               "「%s」に重複する番号が登録されています。\n「%s」が重複していると複数の頁を連結する際に矛盾が"
               "生じます。\nデータの確認・修正をを行ってください？",
               idItem.c_str(), idItem.c_str()) != IDYES) {
    return groups;
  }
  const std::string command = "NOTEPAD.EXE " + path;
  if (StartExternalProgram(command.c_str(), SW_SHOWNORMAL) < 32) {
    ShowInfoMessage(kCaption, "重複する番号は、“%s”に出力しました。", path.c_str());
  }
  return groups;
}
