// Binding of a slot's columns to its cursor, and the batch reader. The
// current row reaches each column's fetched copy in the database's UTF-8;
// the layer converts it into the column's value, cut to the declared length.
#include <cstring>
#include <vector>

#include "foundation/db_internal.h"
#include "foundation/msgbox.h"

namespace {

constexpr SQLULEN kBatchRows = 24000;

// The batch reader's own buffers: the driver's UTF-8 text of each text
// column, converted into the caller's buffers after a fetch.
struct BatchColumn {
  int type;
  char* callerBuffer;
  int callerSize;
  std::vector<char> fetched;
  std::vector<SQLLEN> indicators;
};

int g_batchSlot = 0;
std::vector<BatchColumn> g_batchColumns;

}  // namespace

SQLSMALLINT CTypeOfColumn(int type) {
  switch (type) {
    case kColumnShort:
      return SQL_C_SSHORT;
    case kColumnLong:
      return SQL_C_SLONG;
    case kColumnDouble:
      return SQL_C_DOUBLE;
    default:
      return SQL_C_CHAR;
  }
}

int BindFetchBuffers(int slot) {
  TableSlot& s = g_tableSlots[slot];
  if (s.columnsBound) return 0;
  if (!SQL_SUCCEEDED(BindCursorRows(slot))) return db_error(slot, "SQLBindCol()") == 0 ? 0 : -1;
  s.columnsBound = true;
  return 0;
}

bool FetchedTextAsProgram(const ColumnEntry& e, char* out) {
  // A length the driver could not give (or a value cut to the buffer)
  // leaves the terminated text in the buffer.
  const size_t room = e.fetchedText.size() - 1;
  const bool fetchedWhole = e.fetchedIndicator >= 0 && e.fetchedIndicator <= static_cast<SQLLEN>(room);
  const size_t length = fetchedWhole ? static_cast<size_t>(e.fetchedIndicator) : strnlen(e.fetchedText.data(), room);
  return FromDbText(e.fetchedText.data(), length, out, static_cast<int>(e.text.size())) && fetchedWhole;
}

void TakeFetchedRow(int slot) {
  const TableSlot& s = g_tableSlots[slot];
  for (int entry = s.firstColumn; s.firstColumn && entry <= s.lastColumn; ++entry) {
    ColumnEntry& e = g_columns[entry];
    if (e.fetchedIndicator == SQL_NULL_DATA) {
      ClearEntryValue(e);
      e.indicator = SQL_NULL_DATA;
      continue;
    }
    e.indicator = 0;
    if (e.type == kColumnText || e.type == kColumnChar) {
      e.cut = FetchedTextAsProgram(e, e.text.data()) ? TextCut::kWhole : TextCut::kOnRead;
    } else {
      e.number = e.fetchedNumber;
      e.cut = TextCut::kWhole;
    }
  }
}

int OpenBatchRead(int slot, const char* order) {
  if (CheckSlotSelected(slot) != 0) return -1;
  TableSlot& s = g_tableSlots[slot];
  g_batchSlot = slot;
  g_batchColumns.clear();
  if (s.kind == kDbKindNone) return 0;
  g_sqlBuffer = WithoutOrderBy(s.select) + " order by " + order;
  UnbindCursorRows(slot);
  s.hasRow = false;
  s.preparedSql.clear();
  SQLFreeStmt(s.statement, SQL_CLOSE);
  SQLSetStmtOption(s.statement, SQL_ROWSET_SIZE, kBatchRows);
  SQLSetStmtOption(s.statement, SQL_CURSOR_TYPE, SQL_CURSOR_STATIC);
  SQLSetStmtOption(s.statement, SQL_CONCURRENCY, SQL_CONCUR_READ_ONLY);
  if (ExecOnStatement(slot, s.statement, g_sqlBuffer, 1) != 0) {
    ShowInfoMessage("DATA-BASE", "%s", g_sqlBuffer.c_str());
    return -1;
  }
  return 0;
}

int BindNextBatchColumn(int type, void* buffer, int size) {
  const TableSlot& s = g_tableSlots[g_batchSlot];
  if (!IsSlotNumber(g_batchSlot) || s.kind == kDbKindNone) return 0;
  // Batch type codes: 1 text, 2 one character, 3 short, 4 double, 5 long.
  static const int kTypes[] = {0, kColumnText, kColumnChar, kColumnShort, kColumnDouble, kColumnLong};
  if (type < 1 || type > 5) return -1;
  BatchColumn column{kTypes[type], static_cast<char*>(buffer), type == 2 ? 2 : size, {}, {}};
  column.indicators.assign(kBatchRows, 0);
  SQLPOINTER target = buffer;
  SQLLEN elementSize = column.callerSize;
  if (column.type == kColumnText || column.type == kColumnChar) {
    elementSize = DbTextRoom(column.callerSize - 1);
    column.fetched.assign(kBatchRows * elementSize, '\0');
    target = column.fetched.data();
  }
  g_batchColumns.push_back(std::move(column));
  BatchColumn& bound = g_batchColumns.back();
  const SQLUSMALLINT number = static_cast<SQLUSMALLINT>(g_batchColumns.size());
  if (!SQL_SUCCEEDED(SQLBindCol(s.statement, number, CTypeOfColumn(bound.type), target, elementSize,
                                bound.indicators.data()))) {
    return db_error(g_batchSlot, "SQLBindCol()") == 0 ? 0 : -1;
  }
  return 0;
}

int FetchNextBatch(int slot) {
  const TableSlot& s = g_tableSlots[slot];
  if (s.kind == kDbKindNone) return 0;
  SQLULEN rows = 0;
  std::vector<SQLUSMALLINT> status(kBatchRows);
  const SQLRETURN rc = SQLExtendedFetch(s.statement, SQL_FETCH_NEXT, 1, &rows, status.data());
  if (rc == SQL_NO_DATA) return 0;
  if (!SQL_SUCCEEDED(rc)) {
    db_error(slot, "SQLExtendedFetch()");
    return -1;
  }
  for (BatchColumn& column : g_batchColumns) {
    if (column.fetched.empty()) continue;
    const size_t elementSize = column.fetched.size() / kBatchRows;
    for (SQLULEN row = 0; row < rows; ++row) {
      const char* fetched = column.fetched.data() + row * elementSize;
      char* out = column.callerBuffer + row * column.callerSize;
      const SQLLEN indicator = column.indicators[row];
      if (indicator == SQL_NULL_DATA) {
        out[0] = '\0';
        continue;
      }
      const size_t length = indicator < 0 || indicator >= static_cast<SQLLEN>(elementSize)
                                ? strnlen(fetched, elementSize - 1)
                                : static_cast<size_t>(indicator);
      FromDbText(fetched, length, out, column.callerSize);
    }
  }
  return static_cast<int>(rows);
}
