// Data sets of screens: which database and table a list, card or set
// screen shows, with which key, registered per window slot; the query
// condition list and the where texts of the list query.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/bounded_format.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

ListState g_list;

namespace {

// Room of the data set's names (characters). The folder is kept whole: a
// path cut short would name another folder.
constexpr int kDatabaseSize = 127;
constexpr int kNameSize = 40;
constexpr int kConditionSize = 50;

std::string Cut(const char* text, int bytes) {
  const std::string value = text ? text : "";
  if (static_cast<int>(value.size()) <= bytes) return value;
  return value.substr(0, CharBoundaryLength(value.c_str(), bytes));
}

ScreenDataSet& ActiveDataSet() {
  const int s = FindActiveWindowSlot();
  return Slot(s >= 0 ? s : g_screen.currentSlot).dataSet;
}

}  // namespace

int OpenScreenSlot(const char* folder, const char* database, const char* table, int dbKind,
                   const char* specFile, const char* specBlock, int keyNumber) {
  const int s = FindFreeWindowSlot();
  if (s < 0) {
    ShowInfoMessage("Control", "同時に開ける画面は %d つまでです。", kWindowSlotCount);
    return -1;
  }
  ScreenDataSet& set = Slot(s).dataSet;
  if (set.tableSlot >= 0) {
    ShowErrorMessage("", "オープン済みです。[%s][%s]", set.database.c_str(), set.table.c_str());
    return -1;
  }
  set.folder = folder ? folder : "";
  set.database = Cut(database, kDatabaseSize);
  set.table = Cut(table, kNameSize);
  set.dbKind = dbKind;
  set.specFile = Cut(specFile, kNameSize);
  set.specBlock = Cut(specBlock, kNameSize);
  set.keyNumber = keyNumber;
  set.keyColumn.clear();
  return 0;
}

int OpenScreenDataSet(const char* folder, const char* database, const char* table, int dbKind,
                      const char* specFile, const char* specBlock, int keyNumber, int subKind) {
  const int s = FindFreeWindowSlot();
  g_list.columns.clear();
  g_list.group = ListGroup();
  g_screenDefs.candidateFields = 0;
  if (OpenScreenSlot(folder, database, table, dbKind, specFile, specBlock, keyNumber) != 0) return -1;
  g_screenDefs.f9Commands.clear();
  g_list.filterText.clear();
  int x = 2;
  for (size_t k = 0; k < g_list.headerTexts.size(); ++k) {
    const std::string& text = g_list.headerTexts[k];
    const int width = static_cast<int>(text.size());
    const std::string name = "FLDS" + std::to_string(k + 1);
    AddScreenItem(text.c_str(), name.c_str(), x, 3, 0, width, width, 0, 'X', 0, 0, 115, 'L',
                  kItemEnabled, 0, 6, 0, 0, "", "");
    x += width + 2;
    g_list.filterText = text;
  }
  g_list.conditionText.clear();
  g_list.extraWhere.clear();
  g_list.conditions.clear();
  g_list.hashFlag = 0;
  g_list.newRowsAllowed = subKind != 4;
  g_list.slot = s;
  Slot(s).dataSet.subKind = subKind;
  Slot(s).listMode = subKind;
  Slot(s).lineScrollFlag = 0;
  for (ListColumn& column : g_list.columns) column.extraWidth = 0;
  return 0;
}

void CloseScreenDataSet(int s) {
  if (!IsValidSlot(s)) return;
  ScreenDataSet& set = Slot(s).dataSet;
  if (set.tableSlot > 0) db_close(set.tableSlot);
  set = ScreenDataSet();
}

void SetScreenTableNames(const char* database, const char* table, const char* specFile) {
  ScreenDataSet& set = ActiveDataSet();
  set.database = Cut(database, kDatabaseSize);
  set.table = Cut(table, kNameSize);
  set.specFile = Cut(specFile, kNameSize);
}

void SetScreenDataFolder(const char* folder) { ActiveDataSet().folder = folder ? folder : ""; }

void SetScreenSlotValue(int dbKind) { ActiveDataSet().dbKind = dbKind; }

void AddQueryCondition(const char* column, const char* value) {
  if (static_cast<int>(g_list.conditions.size()) >= kMaxQueryConditions) return;
  g_list.conditions.push_back({Cut(column, kConditionSize), Cut(value, kConditionSize)});
}

void SetQueryConditionValue(const char* column, const char* value) {
  for (QueryCondition& c : g_list.conditions) {
    if (c.column == column) {
      c.value = Cut(value, kConditionSize);
      return;
    }
  }
  AddQueryCondition(column, value);
}

void BuildQueryCondition(int s) {
  const std::string& table = Slot(s).dataSet.table;
  std::string text;
  for (const QueryCondition& c : g_list.conditions) {
    if (!text.empty()) text += " and ";
    text += table + "." + c.column + "=" + SqlLiteral(c.value.c_str());
  }
  g_list.conditionText = text;
}

void SetStatusText(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  g_list.filterText = text;
}

void SetScreenFlagA() { g_list.changedFlag = 1; }

int GetScreenFlagA() { return g_list.changedFlag; }

void CancelListWindowClose() { g_list.closeVeto = 1; }

int FindDataSetHandle(int windowCode) {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    const WindowSlot& slot = Slot(s);
    if (slot.windowCode == windowCode && slot.dataSet.tableSlot > 0) return slot.dataSet.tableSlot;
  }
  return -1;
}
