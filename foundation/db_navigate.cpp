// Navigation and search of a selected slot. Every positioning runs the
// slot's SELECT again with a new ORDER BY (and WHERE); the slot's cursor
// (db_cursor.cpp) hands out its rows, and the record always holds the
// current row.
#include <algorithm>
#include <cstring>

#include "foundation/bounded_format.h"
#include "foundation/db_internal.h"
#include "foundation/msgbox.h"

namespace {

// Longest text SearchByColumnValue takes from the source column.
constexpr int kSearchValueSize = 31;

int g_searchResult = 0;

// Runs `sql` (g_sqlBuffer unless given) and fetches the first or last row.
int Position(int slot, const char* operation, int direction, const std::string& sql = g_sqlBuffer,
             const char* value = nullptr) {
  if (RunSlotQuery(slot, true, sql, value) != 0) return -1;
  g_navigationName = operation;
  return FetchSlotRow(slot, direction);
}

int PositionByOrder(int slot, const char* order, const char* operation, int direction) {
  if (CheckSlotSelected(slot) != 0) return -1;
  SetSlotOrder(slot, order);
  return Position(slot, operation, direction);
}

int PositionByKey(int slot, int keyNumber, const char* operation, int direction) {
  if (CheckSlotSelected(slot) != 0) return -1;
  std::string order;
  if (KeyOrder(slot, keyNumber, order) != 0) return -1;
  SetSlotOrder(slot, order);
  return Position(slot, operation, direction);
}

// The slot's SELECT without its ORDER BY, with `condition` added to its
// WHERE part (or as its WHERE part).
std::string WithCondition(const TableSlot& s, const std::string& condition) {
  const std::string base = WithoutOrderBy(s.select);
  if (condition.empty()) return base;
  return base + (HasWhere(base) ? " and " : " where ") + condition;
}

int Read(int slot, int direction, const char* operation) {
  if (CheckSlotSelected(slot) != 0) return -1;
  g_navigationName = operation;
  return FetchSlotRow(slot, direction);
}

// Writes go through statements of their own and the layer scrolls over the
// rows it has read: a read-only cursor read forward serves.
void SetReadCursor(const TableSlot& s) {
  const bool staticCursor = !s.dialect || s.dialect->staticCursor;
  SQLSetStmtOption(s.statement, SQL_CURSOR_TYPE, staticCursor ? SQL_CURSOR_STATIC : SQL_CURSOR_FORWARD_ONLY);
  SQLSetStmtOption(s.statement, SQL_CONCURRENCY, SQL_CONCUR_READ_ONLY);
}

// The statement the slot runs for `sql`: with its exact list, if it has one.
std::string ReadSql(const TableSlot& s, const std::string& sql) {
  return s.exactList.empty() ? sql : WithSelectList(sql, s.exactList);
}

// Executes `sql` on the slot's statement as RunSlotQuery says: 0, or -1
// after the report.
int RunQuery(int slot, const std::string& sql, const char* value, int quiet) {
  TableSlot& s = g_tableSlots[slot];
  SQLFreeStmt(s.statement, SQL_CLOSE);
  if (!value && s.dialect && !s.dialect->preparesPlainSelects) {
    s.preparedSql.clear();
    if (s.parameterBound) {
      SQLFreeStmt(s.statement, SQL_RESET_PARAMS);
      s.parameterBound = false;
    }
    SetReadCursor(s);
    return ExecOnStatement(slot, s.statement, ReadSql(s, sql), quiet);
  }
  // Preparing a SELECT of many columns costs the SQLite driver more than
  // running it: the same SELECT with another value is only run again.
  if (s.preparedSql != sql) {
    s.preparedSql.clear();
    SetReadCursor(s);
    std::string text = ToDbText(ReadSql(s, sql).c_str());
    const SQLRETURN rc = SQLPrepare(s.statement, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS);
    s.parameterBound = false;
    if (StatementResult(slot, s.statement, rc, g_sqlBuffer, quiet) != 0) return -1;
    s.preparedSql = sql;
  }
  if (value) {
    // The value's buffer is bound once; it grows (and is bound again) for a
    // longer value.
    const size_t room = DbTextRoom(static_cast<int>(std::strlen(value)));
    if (room > s.parameter.size() || !s.parameterBound) {
      s.parameter.assign(std::max(room, s.parameter.size()), '\0');
      SQLBindParameter(s.statement, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, s.parameter.size(), 0,
                       s.parameter.data(), static_cast<SQLLEN>(s.parameter.size()), nullptr);
      s.parameterBound = true;
    }
    ToDbTextBuffer(value, s.parameter.data(), static_cast<int>(s.parameter.size()));
  }
  if (StatementResult(slot, s.statement, SQLExecute(s.statement), g_sqlBuffer, quiet) != 0) {
    s.preparedSql.clear();
    return -1;
  }
  return 0;
}

}  // namespace

int RunSlotQuery(int slot, bool bind, const std::string& sql, const char* value, int quiet) {
  TableSlot& s = g_tableSlots[slot];
  db_clear(slot);
  s.hasRow = false;
  ResetSlotCursor(slot);
  ClearDbFlags();
  if (s.kind == kDbKindNone) return 0;
  // Until the statement has run, the cursor has no rows: reading on after a
  // failed run finds none, quietly.
  s.cursor.complete = true;
  if (RunQuery(slot, sql, value, quiet) != 0) return -1;
  s.cursor.complete = false;
  return bind ? BindFetchBuffers(slot) : 0;
}

int RunSlotSelect(int slot, bool bind) { return RunSlotQuery(slot, bind, g_sqlBuffer, nullptr); }

void SetSlotOrder(int slot, const std::string& order) {
  TableSlot& s = g_tableSlots[slot];
  s.select = WithoutOrderBy(s.select) + " order by " + order;
  g_sqlBuffer = s.select;
}

int KeyOrder(int slot, int keyNumber, std::string& order) {
  std::string plain;
  if (GetKeyColumnList(slot, keyNumber + 1, plain, order) == 0) return 0;
  ShowInfoMessage("", "%d番のキーは定義されていません。", keyNumber);
  return -1;
}

int db_toppos(int slot, const char* order) {
  return PositionByOrder(slot, order, "db_toppos()", kFetchFirst);
}

int db_tfind(int slot, int keyNumber) {
  return PositionByKey(slot, keyNumber, "db_tfind()", kFetchFirst);
}

int db_endpos(int slot, const char* order) {
  return PositionByOrder(slot, order, "db_endpos()", kFetchLast);
}

int db_efind(int slot, int keyNumber) {
  return PositionByKey(slot, keyNumber, "db_efind()", kFetchLast);
}

int db_search(int slot, const char* value, const char* column) {
  if (CheckSlotSelected(slot) != 0) return -1;
  const TableSlot& s = g_tableSlots[slot];
  const std::string qualified = std::string(s.tableName) + "." + column;
  const std::string order = " order by " + qualified;
  // The statement as it reads, for messages; it runs with the value as its
  // parameter.
  g_sqlBuffer = WithCondition(s, qualified + "=" + SqlLiteral(value)) + order;
  return Position(slot, "db_search()", kFetchFirst, WithCondition(s, qualified + "=?") + order, value);
}

int db_search_key(int slot, const char* value, int keyNumber) {
  if (CheckSlotSelected(slot) != 0) return -1;
  std::string column;
  if (GetKeyColumns(slot, column, keyNumber) != 0) {
    ShowInfoMessage("", "%d番のキーは定義されていません。", keyNumber);
    return -1;
  }
  return db_search(slot, value, column.c_str());
}

int db_search_where(int slot, const char* condition, const char* order) {
  if (CheckSlotSelected(slot) != 0) return -1;
  g_sqlBuffer = WithCondition(g_tableSlots[slot], condition);
  if (*order) g_sqlBuffer += std::string(" order by ") + order;
  return Position(slot, "db_search()", kFetchFirst);
}

int db_nread(int slot) {
  SetLastReadDirection(1);
  return Read(slot, kFetchNext, "db_nread()");
}

int db_pread(int slot) {
  SetLastReadDirection(2);
  return Read(slot, kFetchPrevious, "db_pread()");
}

int db_step(int slot, int count) {
  const bool forward = count > 0;
  const int wanted = forward ? count : -count;
  if (wanted == 0) return 0;
  SetLastReadDirection(forward ? 1 : 2);
  if (CheckSlotSelected(slot) != 0) return 0;
  g_navigationName = forward ? "db_nread()" : "db_pread()";
  if (g_tableSlots[slot].kind == kDbKindNone) return wanted;
  int moved = 0;
  const SQLRETURN rc = StepSlotCursor(slot, count, &moved);
  // The record takes the last row passed, then the move that failed is told
  // as a read's.
  if (rc != SQL_SUCCESS && moved > 0) TakeFetchedRow(slot);
  TakeCursorRow(slot, rc);
  return moved;
}

int ResortSlot(int slot, int keyNumber) {
  if (CheckSlotSelected(slot) != 0) return -1;
  std::string order;
  if (KeyOrder(slot, keyNumber, order) != 0) return -1;
  SetSlotOrder(slot, order);
  return RunSlotSelect(slot, true);
}

int SetSlotKeyOrder(int slot, int keyNumber) {
  if (!IsSlotNumber(slot)) return -1;
  const TableSlot& s = g_tableSlots[slot];
  std::string column;
  if (GetKeyColumns(slot, column, keyNumber) != 0 || column.empty()) {
    ShowInfoMessage("", "ｲﾝﾃﾞｯｸｽｷｰNo.%d は定義されていません。", keyNumber);
    return -1;
  }
  const std::string base = s.select.empty() ? std::string("select * from ") + s.tableName : s.select;
  g_sqlBuffer = base + " order by " + s.tableName + "." + column;
  return 0;
}

int db_count(int slot) {
  if (CheckSlotSelected(slot) != 0) return -1;
  const TableSlot& s = g_tableSlots[slot];
  if (s.kind == kDbKindNone) return 0;
  return CountRows(slot, CountStatement(s.select, s.tableName).c_str());
}

int SearchByColumnValue(int slot, int keyNumber, int sourceSlot, const char* column) {
  char value[kSearchValueSize + 1];
  FormatTextBounded(value, sizeof value, "%s", GetColumnText(sourceSlot, column));
  g_searchResult = db_search_key(slot, value, keyNumber);
  return g_searchResult;
}

int GetSearchResult() { return g_searchResult; }

int db_exec(int slot, const char* sql) {
  if (CheckSlotOpen(slot) != 0) return -1;
  return ExecSlotSqlWith(slot, sql, {}, kReportAll) < 0 ? -1 : 0;
}
