// Changing a column's type where the database cannot alter a column (the
// SQLite file database): the table is built again beside the old one with
// the new type, every row copied over, the old table dropped and the new one
// renamed, its indexes, triggers and the views of the database made again,
// all in one transaction so that a failure leaves the table as it was. The
// server database changes a column in place, but not one a view reads: its
// views are set aside around the change, in one transaction too.
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

// Text of column `number` of the current row, whole and converted; empty
// for NULL.
std::string TextAt(SQLHSTMT statement, SQLUSMALLINT number) {
  std::string text;
  char buffer[1024];
  SQLLEN indicator = 0;
  SQLRETURN rc;
  // A longer text (a view's statement) comes in pieces, each terminated.
  while (SQL_SUCCEEDED(rc = SQLGetData(statement, number, SQL_C_CHAR, buffer, sizeof buffer, &indicator))) {
    if (indicator == SQL_NULL_DATA) return std::string();
    text += buffer;
    if (rc == SQL_SUCCESS) break;
  }
  return FromDbText(text.c_str());
}

// Runs `query` (its "?"s taking `values`) on a statement of the slot's
// connection and hands each row to `row`. False when the query failed
// (reported).
template <class Row>
bool ForEachRow(int slot, const std::string& query, const std::vector<std::string>& values, Row row) {
  SQLHSTMT statement = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocStmt(g_tableSlots[slot].connection, &statement))) return false;
  const bool ok = ExecWithValues(slot, statement, query, values, kReportButMissingTable) == 0;
  if (ok) {
    while (SQL_SUCCEEDED(SQLFetch(statement))) row(statement);
  }
  SQLFreeStmt(statement, SQL_DROP);
  return ok;
}

// Runs the statements in one transaction, which a failure rolls back:
// 0 / -1 (reported).
int RunInOneTransaction(int slot, const std::vector<std::string>& steps) {
  const SQLHDBC connection = g_tableSlots[slot].connection;
  SQLSetConnectOption(connection, SQL_AUTOCOMMIT, SQL_AUTOCOMMIT_OFF);
  int result = 0;
  for (const std::string& step : steps) {
    if (ExecSlotSqlWith(slot, step, {}, kReportAll) != 0) {
      result = -1;
      break;
    }
  }
  SQLTransact(g_dbEnvironment, connection, result == 0 ? SQL_COMMIT : SQL_ROLLBACK);
  SQLSetConnectOption(connection, SQL_AUTOCOMMIT, SQL_AUTOCOMMIT_ON);
  return result;
}

// The file database's statement of the table, its names quoted (SQLite
// matches a quoted name whatever its case).
std::string CreateStatement(const std::string& table, const std::vector<TableColumn>& columns) {
  std::string sql = "create table " + QuotedSqlName(table) + " (";
  std::vector<std::string> key(columns.size());
  size_t keyLength = 0;
  for (size_t i = 0; i < columns.size(); ++i) {
    const TableColumn& c = columns[i];
    if (i > 0) sql += ",";
    sql += QuotedSqlName(c.name) + " " + c.type;
    if (c.notNull) sql += " not null";
    if (!c.defaultValue.empty()) sql += " default " + c.defaultValue;
    if (c.keyPosition > 0 && static_cast<size_t>(c.keyPosition) <= key.size()) {
      key[c.keyPosition - 1] = QuotedSqlName(c.name);
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
  ForEachRow(slot, "select * from pragma_table_info(?)", {table}, [&](SQLHSTMT row) {
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
  // The table's indexes and triggers go with it and are made again.
  std::vector<std::string> made;
  ForEachRow(slot,
             "select sql from sqlite_master where type in ('index','trigger') and sql is not null and tbl_name=?",
             {table}, [&](SQLHSTMT row) { made.push_back(TextAt(row, 1)); });
  // The rename checks every view against the tables there are: a view that
  // reads the table would fail it while the table is away. The views go
  // first and come back last, in the order they were made.
  std::vector<std::string> viewNames, views;
  ForEachRow(slot, "select name, sql from sqlite_master where type='view' and sql is not null order by rowid", {},
             [&](SQLHSTMT row) {
               viewNames.push_back(TextAt(row, 1));
               views.push_back(TextAt(row, 2));
             });

  const std::string rebuilt = table + "_rebuild";
  std::vector<std::string> steps;
  for (auto name = viewNames.rbegin(); name != viewNames.rend(); ++name) {
    steps.push_back("drop view " + QuotedSqlName(*name));
  }
  steps.insert(steps.end(), {
                                CreateStatement(rebuilt, columns),
                                "insert into " + QuotedSqlName(rebuilt) + " select * from " + QuotedSqlName(table),
                                "drop table " + QuotedSqlName(table),
                                "alter table " + QuotedSqlName(rebuilt) + " rename to " + QuotedSqlName(table),
                            });
  steps.insert(steps.end(), made.begin(), made.end());
  steps.insert(steps.end(), views.begin(), views.end());
  return RunInOneTransaction(slot, steps);
}

int AlterBesideServerViews(int slot, const std::string& alter) {
  // The views that read the table, directly or through other views, each
  // after those it reads; the server refuses to change a column a view
  // reads, so they go first and come back after the change.
  std::vector<std::string> viewNames, views;
  ForEachRow(slot,
             "with recursive reader(oid, depth) as ("
             " select r.ev_class, 1 from pg_depend d join pg_rewrite r on r.oid = d.objid"
             " where d.refobjid = ?::regclass and r.ev_class <> d.refobjid"
             " union all"
             " select r.ev_class, reader.depth + 1 from reader join pg_depend d on d.refobjid = reader.oid"
             " join pg_rewrite r on r.oid = d.objid where r.ev_class <> d.refobjid and reader.depth < 32)"
             " select c.oid::regclass::text, pg_get_viewdef(c.oid), max(reader.depth) as depth"
             " from reader join pg_class c on c.oid = reader.oid where c.relkind = 'v'"
             " group by c.oid order by depth",
             {SqlName(g_tableSlots[slot].dialect, g_tableSlots[slot].tableName)}, [&](SQLHSTMT row) {
               viewNames.push_back(TextAt(row, 1));
               views.push_back("create view " + viewNames.back() + " as " + TextAt(row, 2));
             });
  std::vector<std::string> steps;
  for (auto name = viewNames.rbegin(); name != viewNames.rend(); ++name) steps.push_back("drop view " + *name);
  steps.push_back(alter);
  steps.insert(steps.end(), views.begin(), views.end());
  return RunInOneTransaction(slot, steps);
}
