// Transactions of one table slot: the writes between the begin and its end
// are kept together or not at all (a renumbering of codes, an import). The
// slot's connection leaves autocommit for the while; a program that dies in
// between leaves nothing of them, as the database rolls back what was never
// committed.
#include "foundation/db_internal.h"

namespace {

int SetAutocommit(int slot, bool on) {
  TableSlot& s = g_tableSlots[slot];
  const SQLRETURN rc = SQLSetConnectAttr(
      s.connection, SQL_ATTR_AUTOCOMMIT,
      reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF)), 0);
  if (SQL_SUCCEEDED(rc)) return 0;
  ReportDriverError(slot, ReadDriverError(slot, SQL_NULL_HSTMT), "SQLSetConnectAttr(AUTOCOMMIT)");
  return -1;
}

}  // namespace

int BeginTableTransaction(int slot) {
  if (CheckSlotOpen(slot) != 0) return -1;
  if (g_tableSlots[slot].kind == kDbKindNone) return 0;
  return SetAutocommit(slot, false);
}

int EndTableTransaction(int slot, bool commit) {
  if (!IsSlotNumber(slot)) return -1;
  TableSlot& s = g_tableSlots[slot];
  if (s.kind == kDbKindNone || s.connection == SQL_NULL_HDBC) return 0;
  // The slot's cursor is gone with the transaction: reading on needs a new
  // positioning.
  SQLFreeStmt(s.statement, SQL_CLOSE);
  s.hasRow = false;
  s.preparedSql.clear();
  ResetSlotCursor(slot);
  const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, s.connection, commit ? SQL_COMMIT : SQL_ROLLBACK);
  int result = 0;
  if (!SQL_SUCCEEDED(rc)) {
    ReportDriverError(slot, ReadDriverError(slot, SQL_NULL_HSTMT), commit ? "SQLEndTran(COMMIT)" : "SQLEndTran(ROLLBACK)");
    result = -1;
    if (commit) SQLEndTran(SQL_HANDLE_DBC, s.connection, SQL_ROLLBACK);
  }
  if (SetAutocommit(slot, true) != 0) result = -1;
  return result;
}
