// Key-ordered finds of a selected slot: the first row equal to a value,
// the last row below it, the first above it, and so on, by the last column
// of a key. The database both orders the rows and compares the key with the
// value, so the two never disagree (Japanese keys sort by the database's
// collation, numbers by value); the slot then reads on from the row found
// in key order.
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "foundation/db_internal.h"
#include "foundation/msgbox.h"

namespace {

struct FindMode {
  const char* comparison;  // of the key with the value
  bool last;               // the last such row in key order, else the first
};

// Indexed by the mode (kFindKey...).
const FindMode kFindModes[] = {
    {nullptr, false}, {"=", false}, {"<", true}, {">", false}, {"<=", true}, {">=", false},
};

// The value as the key column compares it: numbers in a form both
// databases read whatever the text held. A key column the slot does not
// select compares as text.
std::string KeyValue(int slot, const std::string& column, const char* value) {
  const int entry = FindColumnQuiet(slot, column.c_str());
  if (entry < 0 || g_columns[entry].type == kColumnText || g_columns[entry].type == kColumnChar) return value;
  char number[40];
  std::snprintf(number, sizeof number, "%.17g", std::strtod(value, nullptr));
  return number;
}

// The position (from 1) of the row the mode finds among the slot's rows in
// key order: 0 when there is none, -1 after a reported failure.
long FindRowNumber(int slot, const FindMode& mode, const std::string& keyList, const std::string& keyColumn,
                   const std::string& value) {
  TableSlot& s = g_tableSlots[slot];
  const std::string sql = KeyRowNumberStatement(s.select, keyList, keyColumn, mode.comparison, mode.last);
  if (sql.empty()) {
    ReportLayerError(slot, "db_find_key()", "42000", s.select.c_str());
    return -1;
  }
  SQLHSTMT statement = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocStmt(s.connection, &statement))) {
    ReportStatementError(slot, SQL_NULL_HSTMT, "db_find_key()");
    return -1;
  }
  long row = -1;
  if (ExecWithValues(slot, statement, sql, {value}, kReportAll) == 0) {
    SQLINTEGER found = 0;
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLFetch(statement);
    if (SQL_SUCCEEDED(rc) && SQL_SUCCEEDED(SQLGetData(statement, 1, SQL_C_SLONG, &found, 0, &indicator))) {
      row = indicator == SQL_NULL_DATA ? 0 : found;
    } else {
      ReportStatementError(slot, statement, "db_find_key()");
    }
  }
  SQLFreeStmt(statement, SQL_DROP);
  return row;
}

}  // namespace

int db_find_key(int mode, int slot, const char* value, int keyNumber) {
  if (CheckSlotSelected(slot) != 0) return -1;
  if (mode < kFindKeyEqual || mode > kFindKeyEqualOrAbove) return -1;
  TableSlot& s = g_tableSlots[slot];
  std::string keyList;
  if (KeyOrder(slot, keyNumber, keyList) != 0) return -1;
  std::string column;
  GetKeyColumns(slot, column, keyNumber);
  SetSlotOrder(slot, keyList);
  if (s.kind == kDbKindNone) {
    db_clear(slot);
    return 0;
  }
  const FindMode& find = kFindModes[mode];
  const long row = FindRowNumber(slot, find, keyList, LastListColumn(keyList), KeyValue(slot, column, value));
  if (row < 0) return -1;
  // The slot reads its rows in key order from the row found; without one it
  // stands past its rows in the direction of the search.
  if (RunSlotSelect(slot, true) != 0) return -1;
  g_navigationName = "db_find_key()";
  if (row > 0) return TakeCursorRow(slot, MoveSlotCursorTo(slot, static_cast<int>(row - 1)));
  MoveSlotCursorTo(slot, find.last ? -1 : INT_MAX);
  db_clear(slot);
  s.hasRow = false;
  return -1;
}

int db_find_key_first(int slot, const char* value, int keyNumber) {
  return db_find_key(kFindKeyEqual, slot, value, keyNumber);
}

int db_find_key_below(int slot, const char* value, int keyNumber) {
  return db_find_key(kFindKeyBelow, slot, value, keyNumber);
}

int db_find_key_above(int slot, const char* value, int keyNumber) {
  return db_find_key(kFindKeyAbove, slot, value, keyNumber);
}

int db_find_key_or_below(int slot, const char* value, int keyNumber) {
  if (db_find_key(kFindKeyEqual, slot, value, keyNumber) == 0) return 0;
  return db_find_key(kFindKeyBelow, slot, value, keyNumber);
}

int db_find_key_or_next(int slot, const char* value, int keyNumber) {
  if (db_find_key(kFindKeyEqual, slot, value, keyNumber) == 0) return 0;
  return db_find_key(kFindKeyAbove, slot, value, keyNumber);
}
