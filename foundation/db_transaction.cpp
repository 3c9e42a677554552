// Writes of one table slot that belong together: run on the slot's
// connection in one transaction and committed or rolled back whole, so a
// failure half-way leaves the rows as they were.
#include "foundation/db_internal.h"

namespace {

SQLHDBC ConnectionOf(int slot) {
  if (slot < 1 || slot > kMaxTableSlots) return SQL_NULL_HDBC;
  const TableSlot& s = g_tableSlots[slot];
  return s.kind == kDbKindNone ? SQL_NULL_HDBC : s.connection;
}

}  // namespace

int BeginWriteTransaction(int slot) {
  const SQLHDBC connection = ConnectionOf(slot);
  if (connection == SQL_NULL_HDBC) return -1;
  return SQL_SUCCEEDED(SQLSetConnectOption(connection, SQL_AUTOCOMMIT, SQL_AUTOCOMMIT_OFF)) ? 0 : -1;
}

int EndWriteTransaction(int slot, int commit) {
  const SQLHDBC connection = ConnectionOf(slot);
  if (connection == SQL_NULL_HDBC) return -1;
  const bool ended = SQL_SUCCEEDED(SQLTransact(g_dbEnvironment, connection, commit ? SQL_COMMIT : SQL_ROLLBACK));
  SQLSetConnectOption(connection, SQL_AUTOCOMMIT, SQL_AUTOCOMMIT_ON);
  return ended ? 0 : -1;
}
