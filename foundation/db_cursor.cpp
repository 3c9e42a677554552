// The slot's cursor as the program sees it: first, last, next and previous
// row in any order. The driver is only read forward, a block of rows at a
// time; every row it hands out is kept (in the database's form, as the
// columns are bound), so moving back
// or to the first row needs no driver support, a row written by the layer
// shows what was written when it is passed again, and a deleted row drops
// out. A slot keeps its rows until its SELECT runs again.
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include "foundation/db_internal.h"

namespace {

// A kept row holds each column's text room, number and indicator in turn,
// each at an 8-byte boundary: the driver writes the rows of a block in this
// form (row-wise binding) and the layer keeps them as they came.
size_t TextPart(const ColumnEntry& e) { return (e.fetchedText.size() + 7) / 8 * 8; }
constexpr size_t kNumberPart = sizeof(ColumnNumber);
static_assert(kNumberPart % 8 == 0 && sizeof(SQLLEN) % 8 == 0, "parts keep 8-byte boundaries");

size_t RowSize(const TableSlot& s) {
  size_t size = 0;
  for (int entry = s.firstColumn; s.firstColumn && entry <= s.lastColumn; ++entry) {
    size += TextPart(g_columns[entry]) + kNumberPart + sizeof(SQLLEN);
  }
  // A slot without columns still counts its rows.
  return std::max<size_t>(size, 8);
}

// Bytes of a kept text that carry its value: the text and its terminator,
// or the whole room when the driver gave no length that fits.
size_t TextBytes(const char* text, SQLLEN indicator, size_t room) {
  return indicator >= 0 && static_cast<size_t>(indicator) < room && text[indicator] == '\0'
             ? static_cast<size_t>(indicator) + 1
             : room;
}

// Copies the fetched buffers of the slot into or out of a kept row (the
// number and indicator by their fixed sizes, a text by the bytes it uses).
void CopyRow(TableSlot& s, char* row, bool keep) {
  for (int entry = s.firstColumn; s.firstColumn && entry <= s.lastColumn; ++entry) {
    ColumnEntry& e = g_columns[entry];
    char* number = row + TextPart(e);
    char* indicator = number + kNumberPart;
    char* text = e.fetchedText.data();
    if (keep) {
      std::memcpy(number, &e.fetchedNumber, sizeof e.fetchedNumber);
      std::memcpy(indicator, &e.fetchedIndicator, sizeof e.fetchedIndicator);
      if (text) std::memcpy(row, text, TextBytes(text, e.fetchedIndicator, e.fetchedText.size()));
    } else {
      std::memcpy(&e.fetchedNumber, number, sizeof e.fetchedNumber);
      std::memcpy(&e.fetchedIndicator, indicator, sizeof e.fetchedIndicator);
      if (text) std::memcpy(text, row, TextBytes(row, e.fetchedIndicator, e.fetchedText.size()));
    }
    row = indicator + sizeof(SQLLEN);
  }
}

// Bytes of one block of rows, as the driver hands them out and as they are
// kept: kept blocks never move, however many rows a slot reads.
constexpr size_t kBlockBytes = 64 * 1024;

// The kept row at cursor position `index`.
char* KeptRow(TableSlot& s, int index) {
  const RowCursor& c = s.cursor;
  const size_t stored = static_cast<size_t>(c.order[index]);
  return c.blocks[stored / c.rowsPerBlock].get() + (stored % c.rowsPerBlock) * c.rowSize;
}

// Turns the exact texts of a fetched row's REALs into their numbers.
void TakeExactNumbers(const TableSlot& s, char* row) {
  for (int entry = s.firstColumn; s.firstColumn && entry <= s.lastColumn; ++entry) {
    const ColumnEntry& e = g_columns[entry];
    char* number = row + TextPart(e);
    if (e.exactText) {
      const SQLLEN indicator = *reinterpret_cast<const SQLLEN*>(number + kNumberPart);
      if (indicator != SQL_NULL_DATA) {
        row[e.fetchedText.size() - 1] = '\0';  // a text cut to its room is terminated there
        const double value = ParseExactDouble(row);
        std::memcpy(number, &value, sizeof value);
      }
    }
    row = number + kNumberPart + sizeof(SQLLEN);
  }
}

// Keeps a row of the fetched block after the rows kept so far.
void KeepRow(RowCursor& c, const char* row) {
  if (c.stored % c.rowsPerBlock == 0 && c.stored / c.rowsPerBlock == c.blocks.size()) {
    // Left unset: every row is copied in whole before it is read.
    c.blocks.emplace_back(new char[c.blockBytes]);
  }
  const size_t stored = c.stored++;
  std::memcpy(c.blocks[stored / c.rowsPerBlock].get() + (stored % c.rowsPerBlock) * c.rowSize, row, c.rowSize);
  c.order.push_back(static_cast<int>(stored));
  ++c.count;
}

// Reads the next block of rows from the driver and keeps them: SQL_SUCCESS,
// SQL_NO_DATA at the end, or the driver's failure (also for a row that
// failed, once the rows before it are kept).
SQLRETURN ReadAhead(int slot) {
  TableSlot& s = g_tableSlots[slot];
  RowCursor& c = s.cursor;
  if (c.failed) return SQL_ERROR;
  if (c.complete) return SQL_NO_DATA;
  // A cursor run without its columns (the description of an open) binds
  // them before its first row.
  if (!s.columnsBound && (BindFetchBuffers(slot) != 0 || !s.columnsBound)) return SQL_ERROR;
  SQLULEN rows = 0;
  const SQLRETURN rc = SQLExtendedFetch(s.statement, SQL_FETCH_NEXT, 0, &rows, c.rowStatus.data());
  if (rc == SQL_NO_DATA) c.complete = true;
  // A value longer than its buffer (SQLite keeps what it is given) comes
  // with a warning and is cut when it is taken.
  if (!SQL_SUCCEEDED(rc)) return rc;
  for (SQLULEN row = 0; row < rows; ++row) {
    if (c.rowStatus[row] == SQL_ROW_ERROR) {
      c.failed = true;
      break;
    }
    char* fetched = c.staging.get() + row * c.rowSize;
    if (!s.exactList.empty()) TakeExactNumbers(s, fetched);
    KeepRow(c, fetched);
  }
  if (c.failed && c.count == 0) return SQL_ERROR;
  if (rows == 0) {
    c.complete = true;
    return SQL_NO_DATA;
  }
  return SQL_SUCCESS;
}

// Unbinds the columns of a statement; it fetches single rows by column again.
void DropRowBinding(SQLHSTMT statement) {
  SQLFreeStmt(statement, SQL_UNBIND);
  SQLSetStmtAttr(statement, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0);
  SQLSetStmtOption(statement, SQL_ROWSET_SIZE, 1);
}

}  // namespace

SQLRETURN BindCursorRows(int slot) {
  TableSlot& s = g_tableSlots[slot];
  RowCursor& c = s.cursor;
  c.rowSize = RowSize(s);
  const size_t rowsPerBlock = std::max<size_t>(1, kBlockBytes / c.rowSize);
  if (!c.staging || rowsPerBlock * c.rowSize != c.blockBytes) {
    c.blocks.clear();
    c.rowsPerBlock = rowsPerBlock;
    c.blockBytes = rowsPerBlock * c.rowSize;
    c.staging.reset(new char[c.blockBytes]);
    c.rowStatus.assign(rowsPerBlock, 0);
  }
  // The ODBC 3 attribute: the SQLite driver takes the row width only there.
  SQLSetStmtAttr(s.statement, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(c.rowSize), 0);
  SQLSetStmtOption(s.statement, SQL_ROWSET_SIZE, c.rowsPerBlock);
  char* row = c.staging.get();
  for (int entry = s.firstColumn; s.firstColumn && entry <= s.lastColumn; ++entry) {
    ColumnEntry& e = g_columns[entry];
    const SQLUSMALLINT column =
        static_cast<SQLUSMALLINT>(e.resultColumn > 0 ? e.resultColumn : entry - s.firstColumn + 1);
    // A REAL read exactly comes as text.
    const bool text = e.type == kColumnText || e.type == kColumnChar || e.exactText;
    char* number = row + TextPart(e);
    SQLLEN* indicator = reinterpret_cast<SQLLEN*>(number + kNumberPart);
    const SQLRETURN rc = SQLBindCol(s.statement, column, text ? SQL_C_CHAR : CTypeOfColumn(e.type),
                                    text ? row : number, text ? static_cast<SQLLEN>(e.fetchedText.size()) : 0,
                                    indicator);
    if (!SQL_SUCCEEDED(rc)) {
      DropRowBinding(s.statement);
      return rc;
    }
    row = number + kNumberPart + sizeof(SQLLEN);
  }
  return SQL_SUCCESS;
}

void UnbindCursorRows(int slot) {
  TableSlot& s = g_tableSlots[slot];
  if (!s.columnsBound) return;
  DropRowBinding(s.statement);
  s.columnsBound = false;
}

void ResetSlotCursor(int slot) {
  RowCursor& c = g_tableSlots[slot].cursor;
  // The first block stays for the next result: a search that finds one row
  // allocates nothing.
  if (c.blocks.size() > 1) c.blocks.resize(1);
  c.order.clear();
  c.stored = 0;
  c.count = 0;
  c.position = -1;
  c.betweenRows = false;
  c.complete = false;
  c.failed = false;
}

SQLRETURN MoveSlotCursor(int slot, int direction) {
  RowCursor& c = g_tableSlots[slot].cursor;
  int target;
  switch (direction) {
    case kFetchFirst:
      target = 0;
      break;
    case kFetchLast: {
      SQLRETURN rc;
      while ((rc = ReadAhead(slot)) == SQL_SUCCESS) {
      }
      if (rc != SQL_NO_DATA) return rc;
      target = c.count - 1;
      break;
    }
    case kFetchPrevious:
      target = c.position - 1;
      break;
    default:
      target = c.betweenRows ? c.position : c.position + 1;
      break;
  }
  return MoveSlotCursorTo(slot, target);
}

SQLRETURN MoveSlotCursorTo(int slot, int target) {
  TableSlot& s = g_tableSlots[slot];
  RowCursor& c = s.cursor;
  c.betweenRows = false;
  if (target < 0) {
    c.position = -1;
    return SQL_NO_DATA;
  }
  while (target >= c.count) {
    const SQLRETURN rc = ReadAhead(slot);
    if (rc == SQL_NO_DATA) {
      c.position = c.count;
      return SQL_NO_DATA;
    }
    if (rc != SQL_SUCCESS) return rc;
  }
  c.position = target;
  CopyRow(s, KeptRow(s, target), false);
  return SQL_SUCCESS;
}

SQLRETURN StepSlotCursor(int slot, int count, int* moved) {
  RowCursor& c = g_tableSlots[slot].cursor;
  *moved = 0;
  if (count == 0) return SQL_SUCCESS;
  const bool forward = count > 0;
  const int wanted = forward ? count : -count;
  // The first row a single move would reach; the step goes straight to its
  // last row, the rows between are neither copied nor taken.
  const int first = forward ? (c.betweenRows ? c.position : c.position + 1) : c.position - 1;
  const long long from = first;  // a step of INT_MAX rows stays in range
  const long long last = forward ? from + wanted - 1 : from - wanted + 1;
  const SQLRETURN rc =
      MoveSlotCursorTo(slot, static_cast<int>(std::clamp<long long>(last, -1, INT_MAX)));
  if (rc == SQL_SUCCESS) {
    *moved = wanted;
    return rc;
  }
  // Short of the last row: the cursor stands after the end or before the
  // start (or where the driver failed), its buffers hold the last row passed.
  const int passed = forward ? std::max(0, c.count - first) : std::max(0, first + 1);
  *moved = passed;
  if (passed > 0) {
    const int position = c.position;
    MoveSlotCursorTo(slot, forward ? first + passed - 1 : 0);
    if (rc == SQL_NO_DATA) c.position = position;
  }
  return rc;
}

void KeepWrittenRow(int slot) {
  TableSlot& s = g_tableSlots[slot];
  RowCursor& c = s.cursor;
  if (c.position >= 0 && c.position < c.count && !c.betweenRows) CopyRow(s, KeptRow(s, c.position), true);
}

void DropCurrentRow(int slot) {
  RowCursor& c = g_tableSlots[slot].cursor;
  if (c.position < 0 || c.position >= c.count || c.betweenRows) return;
  c.order.erase(c.order.begin() + c.position);
  --c.count;
  // The next row now stands where the deleted one stood.
  c.betweenRows = true;
}
