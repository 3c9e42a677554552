// Tables, indexes, columns and views: creating a table from its
// specification, dropping, probing and changing columns of older tables,
// deleting key ranges, views and row counts. Statements take the column
// clauses both databases share; what differs stands in the dialect.
#include <cstdarg>
#include <cstdio>

#include "foundation/db_internal.h"
#include "foundation/msgbox.h"

namespace {

// The slot's table or a column of it named in a statement (SqlName).
std::string NameOn(int slot, const std::string& name) { return SqlName(g_tableSlots[slot].dialect, name); }

// Runs a schema statement on the slot: 0 done (or an ignored state), -1
// failed and reported (as `quiet` says; a missing table too unless it says
// otherwise).
int ExecSchema(int slot, const std::string& sql, int quiet = kReportAll) {
  if (g_tableSlots[slot].kind == kDbKindNone) return 0;
  g_sqlBuffer = sql;
  return ExecSlotSqlWith(slot, sql, {}, quiet) < 0 ? -1 : 0;
}

// Names of the result columns of `query` run on the slot; empty when it
// fails (a missing table fails quietly).
std::vector<std::string> DescribeQuery(int slot, const std::string& query) {
  std::vector<std::string> names;
  TableSlot& s = g_tableSlots[slot];
  if (ExecSlotSql(slot, query.c_str(), 0) != 0) return names;
  SQLSMALLINT count = 0;
  SQLNumResultCols(s.statement, &count);
  for (SQLUSMALLINT column = 1; column <= count; ++column) {
    SQLCHAR name[256] = "";
    SQLSMALLINT length = 0;
    SQLSMALLINT sqlType = 0;
    SQLULEN size = 0;
    SQLSMALLINT decimals = 0;
    SQLSMALLINT nullable = 0;
    SQLDescribeCol(s.statement, column, name, sizeof name, &length, &sqlType, &size, &decimals, &nullable);
    names.push_back(DescribedName(name, s.dialect));
  }
  SQLFreeStmt(s.statement, SQL_CLOSE);
  return names;
}

int NameIndex(const std::vector<std::string>& names, const char* wanted) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (SameColumnName(names[i].c_str(), wanted)) return static_cast<int>(i);
  }
  return -1;
}

// Changes a column's type in place where the database can, else rebuilds
// the table.
int ChangeColumnType(int slot, const char* column, int type, int length) {
  const TableSlot& s = g_tableSlots[slot];
  if (s.kind == kDbKindNone) return 0;
  const std::string word = ColumnTypeWord(type, length);
  const SqlDialect* dialect = s.dialect ? s.dialect : DialectForDbms("");
  if (!dialect->alterColumnFormat) return RebuildWithColumnType(slot, column, word);
  char head[512];
  std::snprintf(head, sizeof head, dialect->alterColumnFormat, NameOn(slot, s.tableName).c_str(),
                NameOn(slot, column).c_str(), word.c_str());
  std::string sql = head;
  // The server converts the stored values by the new type.
  if (dialect->foldsNamesToLower) sql += " using " + NameOn(slot, column) + "::" + word;
  if (dialect == PostgresDialect()) {
    g_sqlBuffer = sql;
    return AlterBesideServerViews(slot, sql);
  }
  return ExecSchema(slot, sql);
}

// A slot taken for one statement on a table, given back afterwards.
int DropWithSlot(const char* folder, const char* database, const char* table, int kind) {
  const int slot = db_alloc_slot(folder, database, table, kind);
  if (slot < 0) return -1;
  const int result = DropTable(slot, table);
  db_disconnect(slot);
  return result;
}

}  // namespace

int CreateTableFromSpec(const char* folder, const char* database, const char* table, int kind,
                        const char* specFile, const char* section) {
  const int slot = SqlTblSet(section, *specFile ? specFile : table);
  if (slot < 0) return -1;
  int result = db_connect(slot, folder, database, table, kind);
  if (result == 0) result = CreateTableFromSlot(slot, g_tableSlots[slot].tableName);
  g_tableSlots[slot].connState = kConnCreating;
  CloseSpecSlot(slot);
  ResetSlot(slot);
  return result;
}

int CreateTableFromSlot(int slot, const char* table) {
  TableSlot& s = g_tableSlots[slot];
  if (s.kind == kDbKindNone) return 0;
  std::vector<SqlColumnDef> columns;
  for (int entry = s.firstColumn; s.firstColumn && entry <= s.lastColumn; ++entry) {
    const ColumnEntry& e = g_columns[entry];
    columns.push_back({e.name, e.type, e.length});
  }
  std::string primaryKey;
  std::string qualified;
  if (s.keyCount > 0) GetKeyColumnList(slot, 1, primaryKey, qualified);
  g_sqlBuffer = CreateTableStatement(s.dialect, table, columns, primaryKey);
  const int rc = ExecSlotSql(slot, g_sqlBuffer.c_str(), 0);
  if (rc < 0) return -1;
  if (rc == 1) return 0;  // the table is there already: its indexes too
  for (int key = 0; key < s.keyCount; ++key) {
    if (CreateKeyIndex(slot, key) != 0) return -1;
  }
  return 0;
}

int CreateKeyIndex(int slot, int keyNumber) {
  TableSlot& s = g_tableSlots[slot];
  std::string plain;
  std::string qualified;
  if (GetKeyColumnList(slot, keyNumber + 1, plain, qualified) != 0) {
    ShowInfoMessage("DATA-BASE", "%d 番のｲﾝﾃﾞｯｸｽは存在しません。", keyNumber);
    return 0;
  }
  // Key 0 is the primary key the create statement declares.
  if (keyNumber > 0) {
    const std::string sql = "create index " + NameOn(slot, IndexName(s.tableName, keyNumber)) + " on " +
                            NameOn(slot, s.tableName) + "(" + SqlNameList(s.dialect, plain) + ")";
    if (ExecSchema(slot, sql) != 0) return -1;
  }
  s.lastIndex = keyNumber;
  return 0;
}

int DropKeyIndex(int slot, int keyNumber) {
  return ExecSchema(slot, "drop index " + NameOn(slot, IndexName(g_tableSlots[slot].tableName, keyNumber)));
}

// A table that is not there is no table to drop: that failure is quiet.
int DropTable(int slot, const char* table) {
  return ExecSchema(slot, "drop table " + NameOn(slot, table), kReportButMissingTable);
}

int DropTableByName(const char* folder, const char* database, const char* table) {
  return DropWithSlot(folder, database, table, -1);
}

int DropTableByConnect(const char* folder, const char* database, const char* table, int kind) {
  return DropWithSlot(folder, database, table, kind);
}

int FindDbColumnNumber(int slot, const char* column) {
  if (g_tableSlots[slot].kind == kDbKindNone) return -1;
  const std::vector<std::string> names =
      DescribeQuery(slot, "select * from " + NameOn(slot, g_tableSlots[slot].tableName) + " where 1=0");
  const int index = NameIndex(names, column);
  return index < 0 ? -1 : index + 1;
}

int AddTableColumn(int slot, int type, const char* column, int length) {
  const TableSlot& s = g_tableSlots[slot];
  if (ExecSchema(slot, "alter table " + NameOn(slot, s.tableName) + " add " +
                           ColumnClause(s.dialect, column, type, length)) != 0) {
    return -1;
  }
  // The file database gives the old rows a value, never a null.
  if (s.kind != kDbKindFile) return 0;
  const char* value = type == kColumnText || type == kColumnChar ? "''" : "0";
  return ExecSchema(slot, "update " + NameOn(slot, s.tableName) + " set " + NameOn(slot, column) + "=" + value);
}

int AlterTextColumnLength(int slot, const char* column, int length) {
  return ChangeColumnType(slot, column, kColumnText, length);
}

int AlterTableColumnType(int slot, const char* column, int type, int length) {
  return ChangeColumnType(slot, column, type, length);
}

int DropTableColumn(int slot, const char* column) {
  return ExecSchema(slot, "alter table " + NameOn(slot, g_tableSlots[slot].tableName) + " drop column " +
                              NameOn(slot, column));
}

int DeleteRowsInKeyRange(int slot, const char* from, const char* to) {
  const TableSlot& s = g_tableSlots[slot];
  const std::string key = LastListColumn(s.keyList);
  if (key.empty()) {
    ShowInfoMessage("", "%d番のキーは定義されていません。", 0);
    return -1;
  }
  if (s.kind == kDbKindNone) return 0;
  const std::string column = NameOn(slot, key);
  g_sqlBuffer = "delete from " + NameOn(slot, s.tableName) + " where " + column + ">=? and " + column + "<=?";
  return ExecSlotSqlWith(slot, g_sqlBuffer, {from, to}, kReportAll) < 0 ? -1 : 0;
}

int CheckTableStructure(int slot) {
  const TableSlot& s = g_tableSlots[slot];
  if (s.kind == kDbKindNone) return 0;
  std::string plain;
  std::string qualified;
  const std::string table = NameOn(slot, s.tableName);
  std::string query = "select * from " + table;
  if (GetKeyColumnList(slot, 1, plain, qualified) == 0) {
    const std::string last = NameOn(slot, LastListColumn(plain));
    query += " where " + last + "=(select min(" + last + ") from " + table + ") order by " +
             SqlNameList(s.dialect, plain);
  } else {
    query += " where 1=0";
  }
  const std::vector<std::string> names = DescribeQuery(slot, query);
  int present = 0;
  int missing = 0;
  for (int entry = s.firstColumn; s.firstColumn && entry <= s.lastColumn; ++entry) {
    if (NameIndex(names, g_columns[entry].name.c_str()) >= 0) {
      ++present;
    } else {
      ++missing;
    }
  }
  if (present > 0 && missing == 0) return 0;
  if (present > 0) {
    ShowInfoMessage("", "ﾃｰﾌﾞﾙ“%s”の構造が変更されています。", s.tableName);
  } else {
    ShowInfoMessage("", "ﾃｰﾌﾞﾙ“%s”は作成されていません。", s.tableName);
  }
  return -1;
}

void SetSlotSelect(int slot, const char* format, ...) {
  va_list args;
  va_start(args, format);
  g_tableSlots[slot].select = std::string("select * from ") + g_tableSlots[slot].tableName + " " +
                              FormatText(format, args);
  va_end(args);
}

int CountRows(int slot, const char* statement) {
  TableSlot& s = g_tableSlots[slot];
  if (s.kind == kDbKindNone) return 0;
  if (ExecSlotSqlWith(slot, statement, {}, kReportAll) != 0) return -1;
  long count = 0;
  SQLRETURN rc;
  while (SQL_SUCCEEDED(rc = SQLFetch(s.statement))) {
    SQLINTEGER value = 0;
    SQLLEN indicator = 0;
    SQLGetData(s.statement, 1, SQL_C_SLONG, &value, 0, &indicator);
    count = indicator == SQL_NULL_DATA ? 0 : value;
  }
  if (rc != SQL_NO_DATA) {
    db_error(slot, "SQLFetch()");
    return -1;
  }
  return static_cast<int>(count);
}

int CreateView(const char* database, int dropFirst, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string statement = FormatText(format, args);
  va_end(args);
  std::string name;
  if (!ExtractViewName(statement, name)) return -1;
  const int slot = db_alloc_slot("", database, name.c_str(), -1);
  if (slot < 0) return -1;
  // A failed drop (no such view yet) has been reported; the create goes on.
  if (dropFirst == 1) ExecSlotSql(slot, ("drop view " + name).c_str(), 0);
  const int result = db_exec(slot, statement.c_str());
  db_disconnect(slot);
  return result;
}

// Editing of lists does not run in transactions of its own: every write is
// committed when it is made.
int BeginSlotTransaction(int) { return 0; }
int CommitSlotTransaction(int) { return 0; }
int RollbackSlotTransaction(int) { return 0; }

int GetSlotSortKey(int) { return 0; }
