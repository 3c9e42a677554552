// The slot's cursor as the program sees it: first, last, next and previous
// row in any order. The driver is only read forward; every row it hands out
// is kept (in the database's form, as the columns are bound), so moving back
// or to the first row needs no driver support, a row written by the layer
// shows what was written when it is passed again, and a deleted row drops
// out. A slot keeps its rows until its SELECT runs again.
#include <algorithm>
#include <cstring>
#include <memory>

#include "foundation/db_internal.h"

namespace {

size_t RowSize(const TableSlot& s) {
  size_t size = 0;
  for (int entry = s.firstColumn; s.firstColumn && entry <= s.lastColumn; ++entry) {
    size += g_columns[entry].fetchedText.size() + sizeof(ColumnNumber) + sizeof(SQLLEN);
  }
  return size;
}

// Copies the bound buffers of the slot into or out of a kept row.
void CopyRow(TableSlot& s, char* row, bool keep) {
  for (int entry = s.firstColumn; s.firstColumn && entry <= s.lastColumn; ++entry) {
    ColumnEntry& e = g_columns[entry];
    const struct {
      void* buffer;
      size_t size;
    } parts[] = {{e.fetchedText.data(), e.fetchedText.size()},
                 {&e.fetchedNumber, sizeof e.fetchedNumber},
                 {&e.fetchedIndicator, sizeof e.fetchedIndicator}};
    for (const auto& part : parts) {
      if (keep) {
        std::memcpy(row, part.buffer, part.size);
      } else {
        std::memcpy(part.buffer, row, part.size);
      }
      row += part.size;
    }
  }
}

// Bytes of one block of kept rows: rows are added block by block and never
// move, however many a slot reads.
constexpr size_t kBlockBytes = 64 * 1024;

// The kept row at cursor position `index`.
char* KeptRow(TableSlot& s, int index) {
  const RowCursor& c = s.cursor;
  const size_t stored = static_cast<size_t>(c.order[index]);
  return c.blocks[stored / c.rowsPerBlock].get() + (stored % c.rowsPerBlock) * c.rowSize;
}

// Reads the next row from the driver and keeps it: SQL_SUCCESS,
// SQL_NO_DATA at the end, SQL_ERROR.
SQLRETURN ReadAhead(TableSlot& s) {
  RowCursor& c = s.cursor;
  if (c.complete) return SQL_NO_DATA;
  const SQLRETURN rc = SQLFetch(s.statement);
  if (rc == SQL_NO_DATA) c.complete = true;
  // A value longer than its buffer (SQLite keeps what it is given) comes
  // with a warning and is cut when it is taken.
  if (!SQL_SUCCEEDED(rc)) return rc;
  if (c.rowSize == 0) {
    c.rowSize = RowSize(s);
    const size_t rowsPerBlock = std::max<size_t>(1, kBlockBytes / c.rowSize);
    // A block kept from the previous result serves rows of the same size.
    if (rowsPerBlock * c.rowSize != c.blockBytes) c.blocks.clear();
    c.rowsPerBlock = rowsPerBlock;
    c.blockBytes = rowsPerBlock * c.rowSize;
  }
  if (c.stored % c.rowsPerBlock == 0 && c.stored / c.rowsPerBlock == c.blocks.size()) {
    // Left unset: every row is copied in whole before it is read.
    c.blocks.emplace_back(new char[c.blockBytes]);
  }
  c.order.push_back(static_cast<int>(c.stored++));
  ++c.count;
  CopyRow(s, KeptRow(s, c.count - 1), true);
  return SQL_SUCCESS;
}

}  // namespace

void ResetSlotCursor(int slot) {
  RowCursor& c = g_tableSlots[slot].cursor;
  // The first block stays for the next result: a search that finds one row
  // allocates nothing.
  if (c.blocks.size() > 1) c.blocks.resize(1);
  c.order.clear();
  c.stored = 0;
  c.rowSize = 0;
  c.count = 0;
  c.position = -1;
  c.betweenRows = false;
  c.complete = false;
}

SQLRETURN MoveSlotCursor(int slot, int direction) {
  TableSlot& s = g_tableSlots[slot];
  RowCursor& c = s.cursor;
  int target;
  switch (direction) {
    case kFetchFirst:
      target = 0;
      break;
    case kFetchLast: {
      SQLRETURN rc;
      while ((rc = ReadAhead(s)) == SQL_SUCCESS) {
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
  c.betweenRows = false;
  if (target < 0) {
    c.position = -1;
    return SQL_NO_DATA;
  }
  // The row read last is in the buffers already.
  bool inBuffers = false;
  while (target >= c.count) {
    const SQLRETURN rc = ReadAhead(s);
    if (rc == SQL_NO_DATA) {
      c.position = c.count;
      return SQL_NO_DATA;
    }
    if (rc != SQL_SUCCESS) return rc;
    inBuffers = true;
  }
  c.position = target;
  if (!inBuffers || target != c.count - 1) CopyRow(s, KeptRow(s, target), false);
  return SQL_SUCCESS;
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
