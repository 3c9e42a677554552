// Row writes of a slot: add, update and delete of the current record.
//
// The writes are statements of their own beside the slot's cursor: an INSERT
// of all bound columns, an UPDATE of the columns whose values differ from
// the row as fetched, and a DELETE; both find the current row by its primary
// key as fetched (or, for a table without one, by all its fetched values,
// one row at most). They are prepared once per slot (an UPDATE again when
// other columns change) and executed with the record's values bound as
// parameters, so a value is never part of the statement text. A column the
// caller left alone is never written back, so nothing it holds can change by
// being read and written. Positioned writes through the cursor are not used:
// the SQLite driver cannot add through it and updates only tables with a
// primary key, and both drivers then behave alike.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/db_internal.h"
#include "foundation/msgbox.h"

namespace {

// Indicators of key parameters: read by the driver at each execution.
SQLLEN g_ntsIndicator = SQL_NTS;
SQLLEN g_valueIndicator = 0;

bool IsText(const ColumnEntry& e) { return e.type == kColumnText || e.type == kColumnChar; }

SQLSMALLINT SqlTypeOf(const ColumnEntry& e) {
  switch (e.type) {
    case kColumnShort:
      return SQL_SMALLINT;
    case kColumnLong:
      return SQL_INTEGER;
    case kColumnDouble:
      return SQL_DOUBLE;
    default:
      return SQL_VARCHAR;
  }
}

// The record's value as a parameter: text in the database's encoding.
bool BindValue(SQLHSTMT statement, SQLUSMALLINT number, ColumnEntry& e) {
  if (IsText(e)) {
    return SQL_SUCCEEDED(SQLBindParameter(statement, number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                          e.paramText.size() - 1, 0, e.paramText.data(),
                                          static_cast<SQLLEN>(e.paramText.size()), &e.paramIndicator));
  }
  return SQL_SUCCEEDED(SQLBindParameter(statement, number, SQL_PARAM_INPUT, CTypeOfColumn(e.type), SqlTypeOf(e), 0,
                                        0, &e.number, 0, &e.paramIndicator));
}

// The value as fetched, to find the row by.
bool BindFetched(SQLHSTMT statement, SQLUSMALLINT number, ColumnEntry& e) {
  if (IsText(e)) {
    return SQL_SUCCEEDED(SQLBindParameter(statement, number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                          e.fetchedText.size() - 1, 0, e.fetchedText.data(),
                                          static_cast<SQLLEN>(e.fetchedText.size()), &g_ntsIndicator));
  }
  return SQL_SUCCEEDED(SQLBindParameter(statement, number, SQL_PARAM_INPUT, CTypeOfColumn(e.type), SqlTypeOf(e), 0,
                                        0, &e.fetchedNumber, 0, &g_valueIndicator));
}

// Puts the record's value of a column into its parameter buffer.
void FillParameter(ColumnEntry& e) {
  if (e.indicator == SQL_NULL_DATA) {
    e.paramIndicator = SQL_NULL_DATA;
  } else if (IsText(e)) {
    ToDbTextBuffer(e.text.data(), e.paramText.data(), static_cast<int>(e.paramText.size()));
    e.paramIndicator = SQL_NTS;
  } else {
    e.paramIndicator = 0;
  }
}

// True when the record's value of a column differs from the row as
// fetched: its null, its text as the program reads it, its number bit for
// bit in the column's width.
bool EntryChanged(const ColumnEntry& e) {
  const bool isNull = e.indicator == SQL_NULL_DATA;
  if (isNull != (e.fetchedIndicator == SQL_NULL_DATA)) return true;
  if (isNull) return false;
  switch (e.type) {
    case kColumnShort:
      return e.number.shortValue != e.fetchedNumber.shortValue;
    case kColumnLong:
      return e.number.longValue != e.fetchedNumber.longValue;
    case kColumnDouble:
      return std::memcmp(&e.number.doubleValue, &e.fetchedNumber.doubleValue, sizeof(double)) != 0;
    default: {
      std::vector<char> fetched(e.text.size());
      FetchedTextAsProgram(e, fetched.data());
      return std::strcmp(fetched.data(), e.text.data()) != 0;
    }
  }
}

// After a write the row is found by what it holds now.
void TakeWrittenAsFetched(const std::vector<int>& entries) {
  for (int entry : entries) {
    ColumnEntry& e = g_columns[entry];
    if (IsText(e)) {
      // A written text fits as fetched: it holds no more characters than
      // the column.
      const size_t length = strnlen(e.paramText.data(), e.fetchedText.size() - 1);
      std::memcpy(e.fetchedText.data(), e.paramText.data(), length);
      e.fetchedText[length] = '\0';
      e.fetchedIndicator = static_cast<SQLLEN>(length);
    } else {
      e.fetchedNumber = e.number;
      e.fetchedIndicator = sizeof e.number;
    }
    if (e.paramIndicator == SQL_NULL_DATA) e.fetchedIndicator = SQL_NULL_DATA;
  }
}

// Entries of the slot's columns, in order.
std::vector<int> AllEntries(const TableSlot& s) {
  std::vector<int> entries;
  for (int entry = s.firstColumn; s.firstColumn && entry <= s.lastColumn; ++entry) entries.push_back(entry);
  return entries;
}

// The table or a column of the slot as its statements name it (SqlName).
std::string NameOn(const TableSlot& s, const std::string& name) { return SqlName(s.dialect, name); }

std::string ColumnList(const TableSlot& s, const std::vector<int>& entries, const char* separator,
                       const char* suffix) {
  std::string list;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) list += separator;
    list += NameOn(s, g_columns[entries[i]].name) + suffix;
  }
  return list;
}

// Names as the server database keeps unquoted ones.
std::string CatalogName(const TableSlot& s, const char* name) {
  std::string text = ToDbText(name);
  if (s.dialect && s.dialect->foldsNamesToLower) {
    for (char& c : text) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return text;
}

// Reads the primary key of the slot's table once; its columns must all be
// bound in the slot, else rows are found by all their values.
void LoadPrimaryKey(int slot) {
  TableSlot& s = g_tableSlots[slot];
  SlotWriter& w = s.writer;
  if (w.keyKnown) return;
  w.keyKnown = true;
  w.keyEntries.clear();
  SQLHSTMT statement = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocStmt(s.connection, &statement))) return;
  std::string table = CatalogName(s, s.tableName);
  if (SQL_SUCCEEDED(SQLPrimaryKeys(statement, nullptr, 0, nullptr, 0,
                                   reinterpret_cast<SQLCHAR*>(table.data()), SQL_NTS))) {
    std::vector<std::pair<int, int>> columns;  // key sequence, entry
    bool complete = true;
    while (SQL_SUCCEEDED(SQLFetch(statement))) {
      char name[256] = "";
      SQLLEN length = 0;
      SQLSMALLINT sequence = 0;
      SQLGetData(statement, 4, SQL_C_CHAR, name, sizeof name, &length);
      SQLGetData(statement, 5, SQL_C_SSHORT, &sequence, 0, &length);
      const int entry = LookupColumn(slot, FromDbText(name).c_str());
      if (entry < 0) complete = false;
      columns.emplace_back(sequence, entry);
    }
    if (complete) {
      std::sort(columns.begin(), columns.end());
      for (const auto& column : columns) w.keyEntries.push_back(column.second);
    }
  }
  SQLFreeStmt(statement, SQL_DROP);
}

// " where k1=? and k2=?" of the key, binding the fetched key values from
// parameter `first` on.
std::string KeyCondition(int slot, SQLHSTMT statement, SQLUSMALLINT first) {
  TableSlot& s = g_tableSlots[slot];
  std::string condition = " where ";
  SQLUSMALLINT number = first;
  for (size_t i = 0; i < s.writer.keyEntries.size(); ++i) {
    ColumnEntry& e = g_columns[s.writer.keyEntries[i]];
    if (i > 0) condition += " and ";
    condition += NameOn(s, e.name) + "=?";
    BindFetched(statement, number++, e);
  }
  return condition;
}

// The condition that finds one row with all the fetched values, for a table
// without a primary key.
std::string ValueCondition(int slot, SQLHSTMT statement, SQLUSMALLINT first) {
  TableSlot& s = g_tableSlots[slot];
  std::string match;
  SQLUSMALLINT number = first;
  for (int entry = s.firstColumn; s.firstColumn && entry <= s.lastColumn; ++entry) {
    ColumnEntry& e = g_columns[entry];
    if (entry > s.firstColumn) match += " and ";
    if (e.fetchedIndicator == SQL_NULL_DATA) {
      match += NameOn(s, e.name) + " is null";
    } else {
      match += NameOn(s, e.name) + "=?";
      BindFetched(statement, number++, e);
    }
  }
  const char* rowId = s.dialect ? s.dialect->rowIdWord : nullptr;
  if (!rowId) return " where " + match;
  return std::string(" where ") + rowId + "=(select " + rowId + " from " + NameOn(s, s.tableName) + " where " +
         match + " limit 1)";
}

bool Prepare(SQLHSTMT statement, const std::string& sql) {
  std::string text = ToDbText(sql.c_str());
  return SQL_SUCCEEDED(SQLPrepare(statement, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS));
}

// Binds the record's values of `entries` as parameters 1 to n.
void BindValues(SQLHSTMT statement, const std::vector<int>& entries) {
  for (size_t i = 0; i < entries.size(); ++i) {
    BindValue(statement, static_cast<SQLUSMALLINT>(i + 1), g_columns[entries[i]]);
  }
}

// The statement of one kind of write, prepared on first use; `prepared`
// holds the columns whose values it writes, and it is prepared again for
// others. Writes keyed by all values are prepared each time (their NULLs
// change the text).
SQLHSTMT WriteStatement(int slot, SQLHSTMT& cached, std::vector<int>& prepared, bool keyed,
                        const std::string& head, const std::vector<int>& values, const char* operation) {
  TableSlot& s = g_tableSlots[slot];
  if (keyed && cached != SQL_NULL_HSTMT && prepared == values) return cached;
  if (cached == SQL_NULL_HSTMT && !SQL_SUCCEEDED(SQLAllocStmt(s.connection, &cached))) {
    ReportStatementError(slot, SQL_NULL_HSTMT, operation);
    cached = SQL_NULL_HSTMT;
    return SQL_NULL_HSTMT;
  }
  SQLFreeStmt(cached, SQL_RESET_PARAMS);
  prepared.clear();
  const SQLUSMALLINT first = static_cast<SQLUSMALLINT>(values.size() + 1);
  BindValues(cached, values);
  const std::string sql =
      head + (keyed ? KeyCondition(slot, cached, first) : ValueCondition(slot, cached, first));
  if (!Prepare(cached, sql)) {
    ReportStatementError(slot, cached, operation);
    SQLFreeStmt(cached, SQL_DROP);
    cached = SQL_NULL_HSTMT;
    return SQL_NULL_HSTMT;
  }
  prepared = values;
  return cached;
}

// Runs a prepared write: the number of rows it changed, or -1 after the
// driver's report.
SQLLEN RunWrite(int slot, SQLHSTMT statement, const char* operation) {
  const SQLRETURN rc = SQLExecute(statement);
  if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
    ReportStatementError(slot, statement, operation);
    return -1;
  }
  SQLLEN rows = 0;
  if (rc == SQL_NO_DATA || !SQL_SUCCEEDED(SQLRowCount(statement, &rows))) rows = 0;
  return rows;
}

void ReportNotANumber(const char* column, const char* table) {
  ShowInfoMessage("DATA-BASE", "フィールド“%s”の値は数値ではないため、テーブル“%s”に書き込めません。", column, table);
}

void ReportTooLong(const char* column, const char* table, TextCut cut) {
  ShowInfoMessage("DATA-BASE",
                  cut == TextCut::kOnRead
                      ? "フィールド“%s”の値は長すぎて読み切れなかったため、テーブル“%s”に書き込めません。"
                      : "フィールド“%s”の値は長すぎて入りきらないため、テーブル“%s”に書き込めません。",
                  column, table);
}

// A text held only in part, as read or as set, is written nowhere: the rest
// of it would be lost. Nor is a value that is no number: the file database
// would keep 0 for it. 0, or -1 after the message naming the column.
int CheckWritable(const TableSlot& s, const std::vector<int>& entries) {
  for (int entry : entries) {
    const ColumnEntry& e = g_columns[entry];
    if (e.type == kColumnDouble && e.indicator != SQL_NULL_DATA && std::isnan(e.number.doubleValue)) {
      ReportNotANumber(e.name.c_str(), s.tableName);
      return -1;
    }
    if (e.cut == TextCut::kWhole) continue;
    ReportTooLong(e.name.c_str(), s.tableName, e.cut);
    return -1;
  }
  return 0;
}

// Update or delete of the current row: 0, or -1 after `operation`'s report.
int WriteCurrentRow(int slot, bool remove, const char* operation) {
  TableSlot& s = g_tableSlots[slot];
  if (!s.hasRow) {
    ReportLayerError(slot, operation, "24000", "Invalid cursor state");
    return -1;
  }
  std::vector<int> changed;
  if (!remove) {
    for (int entry : AllEntries(s)) {
      if (EntryChanged(g_columns[entry])) changed.push_back(entry);
    }
    // Nothing differs from the row: there is nothing to write.
    if (changed.empty()) return 0;
    if (CheckWritable(s, changed) != 0) return -1;
  }
  LoadPrimaryKey(slot);
  const bool keyed = !s.writer.keyEntries.empty();
  SQLHSTMT statement;
  if (remove) {
    statement = WriteStatement(slot, s.writer.remove, s.writer.removeEntries, keyed,
                               "delete from " + NameOn(s, s.tableName), {}, operation);
  } else {
    statement = WriteStatement(slot, s.writer.update, s.writer.updateEntries, keyed,
                               "update " + NameOn(s, s.tableName) + " set " + ColumnList(s, changed, ",", "=?"),
                               changed, operation);
  }
  if (statement == SQL_NULL_HSTMT) return -1;
  for (int entry : changed) FillParameter(g_columns[entry]);
  const SQLLEN rows = RunWrite(slot, statement, operation);
  if (rows < 0) return -1;
  if (rows == 0) {
    ReportLayerError(slot, operation, "01001", "Row not found");
    return -1;
  }
  if (!remove) {
    TakeWrittenAsFetched(changed);
    KeepWrittenRow(slot);
  }
  return 0;
}

int UpdateRow(int slot, const char* operation) {
  if (CheckSlotSelected(slot) != 0) return -1;
  if (g_tableSlots[slot].kind == kDbKindNone) return 0;
  return WriteCurrentRow(slot, false, operation);
}

// The prepared INSERT of all the slot's columns, or null after the report.
SQLHSTMT InsertStatement(int slot, const std::vector<int>& entries, const char* operation) {
  TableSlot& s = g_tableSlots[slot];
  SQLHSTMT& insert = s.writer.insert;
  if (insert != SQL_NULL_HSTMT) return insert;
  if (!SQL_SUCCEEDED(SQLAllocStmt(s.connection, &insert))) {
    ReportStatementError(slot, SQL_NULL_HSTMT, operation);
    insert = SQL_NULL_HSTMT;
    return SQL_NULL_HSTMT;
  }
  std::string marks;
  for (size_t i = 0; i < entries.size(); ++i) marks += i ? ",?" : "?";
  BindValues(insert, entries);
  if (!Prepare(insert, "insert into " + NameOn(s, s.tableName) + " (" + ColumnList(s, entries, ",", "") +
                           ") values (" + marks + ")")) {
    ReportStatementError(slot, insert, operation);
    SQLFreeStmt(insert, SQL_DROP);
    insert = SQL_NULL_HSTMT;
  }
  return insert;
}

}  // namespace

void ReleaseSlotWriter(int slot) {
  SlotWriter& w = g_tableSlots[slot].writer;
  for (SQLHSTMT* statement : {&w.insert, &w.update, &w.remove}) {
    if (*statement != SQL_NULL_HSTMT) SQLFreeStmt(*statement, SQL_DROP);
    *statement = SQL_NULL_HSTMT;
  }
  w.updateEntries.clear();
  w.removeEntries.clear();
  w.keyEntries.clear();
  w.keyKnown = false;
}

int db_add(int slot) {
  if (CheckSlotSelected(slot) != 0) return -1;
  TableSlot& s = g_tableSlots[slot];
  if (s.kind == kDbKindNone) return 0;
  const std::vector<int> entries = AllEntries(s);
  if (CheckWritable(s, entries) == 0) {
    const SQLHSTMT insert = InsertStatement(slot, entries, "SQLSetPos() [SQL_ADD]");
    if (insert != SQL_NULL_HSTMT) {
      for (int entry : entries) FillParameter(g_columns[entry]);
      if (RunWrite(slot, insert, "SQLSetPos() [SQL_ADD]") >= 0) return 0;
    }
  }
  ShowInfoMessage("", "“%s”に登録できません。", s.tableName);
  return -1;
}

int db_update(int slot) {
  if (UpdateRow(slot, "MOD SQLSetPos()") == 0) return 0;
  ShowInfoMessage("", "テーブル“%s”への書き込みができません。", g_tableSlots[slot].tableName);
  return -1;
}

int UpdateCurrentRow(int slot) { return UpdateRow(slot, "MOD SQLSetPos()"); }

int db_delete(int slot) {
  if (CheckSlotSelected(slot) != 0) return -1;
  TableSlot& s = g_tableSlots[slot];
  if (s.kind == kDbKindNone) return 0;
  if (WriteCurrentRow(slot, true, "SQLSetPos()") != 0) return -1;
  DropCurrentRow(slot);
  db_clear(slot);
  s.hasRow = false;
  return 0;
}

int CheckColumnValue(int slot, const char* table, const char* column, const std::string& value) {
  const int type = GetColumnTypeQuiet(slot, column);
  if (type == kColumnText) {
    const int length = GetColumnLength(slot, column);
    if (length > 0 && static_cast<int>(value.size()) > length) {
      ReportTooLong(column, table, TextCut::kOnSet);
      return -1;
    }
    return 0;
  }
  const bool numeric = type == kColumnShort || type == kColumnLong || type == kColumnDouble;
  if (!numeric || value.find_first_not_of(' ') == std::string::npos) return 0;
  const double number = std::strtod(value.c_str(), nullptr);
  if (std::isnan(number)) {
    ReportNotANumber(column, table);
    return -1;
  }
  // Whole numbers as wide as their column, decimals finite: anything else
  // would be stored as some other number, or written as no number at all.
  const bool fits = type == kColumnShort  ? number >= INT16_MIN && number <= INT16_MAX
                    : type == kColumnLong ? number >= INT32_MIN && number <= INT32_MAX
                                          : std::isfinite(number);
  if (!fits) {
    ShowInfoMessage("DATA-BASE", "フィールド“%s”の値は大きすぎるため、テーブル“%s”に書き込めません。[%s]", column,
                    table, value.c_str());
    return -1;
  }
  return 0;
}
