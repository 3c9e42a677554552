// Changing a column's type where the database cannot alter a column (the
// SQLite file database): the table is built again beside the old one with
// the new type, every row copied over, the old table dropped and the new one
// renamed, its indexes made again, all in one transaction so that a failure
// leaves the table as it was.
#include <algorithm>
#include <cstdlib>

#include "foundation/db_internal.h"

namespace {

struct TableColumn {
  std::string name;
  std::string type;
  bool notNull;
  std::string defaultValue;  // as the schema keeps it, or empty
  int keyPosition;           // 1, 2, ... in the primary key; 0 outside it
};

// Text of column `number` of the current row, converted; empty for NULL.
std::string TextAt(SQLHSTMT statement, SQLUSMALLINT number) {
  char buffer[1024] = "";
  SQLLEN indicator = 0;
  SQLGetData(statement, number, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
  return indicator == SQL_NULL_DATA ? std::string() : FromDbText(buffer);
}

// Runs `query` (its "?" taking `value`) on a statement of the slot's
// connection and hands each row to `row`. False when the query failed
// (reported).
template <class Row>
bool ForEachRow(int slot, const std::string& query, const std::string& value, Row row) {
  SQLHSTMT statement = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocStmt(g_tableSlots[slot].connection, &statement))) return false;
  const bool ok = ExecWithValues(slot, statement, query, {value}, kReportButMissingTable) == 0;
  if (ok) {
    while (SQL_SUCCEEDED(SQLFetch(statement))) row(statement);
  }
  SQLFreeStmt(statement, SQL_DROP);
  return ok;
}

std::string CreateStatement(const std::string& table, const std::vector<TableColumn>& columns) {
  std::string sql = "create table " + table + " (";
  std::vector<std::string> key(columns.size());
  size_t keyLength = 0;
  for (size_t i = 0; i < columns.size(); ++i) {
    const TableColumn& c = columns[i];
    if (i > 0) sql += ",";
    sql += c.name + " " + c.type;
    if (c.notNull) sql += " not null";
    if (!c.defaultValue.empty()) sql += " default " + c.defaultValue;
    if (c.keyPosition > 0 && static_cast<size_t>(c.keyPosition) <= key.size()) {
      key[c.keyPosition - 1] = c.name;
      keyLength = std::max(keyLength, static_cast<size_t>(c.keyPosition));
    }
  }
  if (keyLength > 0) {
    sql += ", primary key (";
    for (size_t i = 0; i < keyLength; ++i) sql += (i ? "," : "") + key[i];
    sql += ")";
  }
  return sql + ")";
}

}  // namespace

int RebuildWithColumnType(int slot, const char* column, const std::string& typeWord) {
  const TableSlot& s = g_tableSlots[slot];
  const std::string table = s.tableName;
  std::vector<TableColumn> columns;
  bool found = false;
  ForEachRow(slot, "select * from pragma_table_info(?)", table, [&](SQLHSTMT row) {
    TableColumn c;
    c.name = TextAt(row, 2);
    c.type = TextAt(row, 3);
    c.notNull = TextAt(row, 4) == "1";
    c.defaultValue = TextAt(row, 5);
    c.keyPosition = std::atoi(TextAt(row, 6).c_str());
    if (SameColumnName(c.name.c_str(), column)) {
      c.type = typeWord;
      found = true;
    }
    columns.push_back(c);
  });
  if (!found) {
    ReportLayerError(slot, "alter column", "42S22", column);
    return -1;
  }
  std::vector<std::string> indexes;
  ForEachRow(slot, "select sql from sqlite_master where type='index' and sql is not null and tbl_name=?", table,
             [&](SQLHSTMT row) { indexes.push_back(TextAt(row, 1)); });

  const std::string rebuilt = table + "_rebuild";
  std::vector<std::string> steps = {
      CreateStatement(rebuilt, columns),
      "insert into " + rebuilt + " select * from " + table,
      "drop table " + table,
      "alter table " + rebuilt + " rename to " + table,
  };
  steps.insert(steps.end(), indexes.begin(), indexes.end());

  SQLSetConnectOption(s.connection, SQL_AUTOCOMMIT, SQL_AUTOCOMMIT_OFF);
  int result = 0;
  for (const std::string& step : steps) {
    if (ExecSlotSqlWith(slot, step, {}, kReportAll) != 0) {
      result = -1;
      break;
    }
  }
  SQLTransact(g_dbEnvironment, s.connection, result == 0 ? SQL_COMMIT : SQL_ROLLBACK);
  SQLSetConnectOption(s.connection, SQL_AUTOCOMMIT, SQL_AUTOCOMMIT_ON);
  return result;
}
