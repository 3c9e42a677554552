// SQL text of the database layer: the keyword scanner that finds the parts of
// a SELECT, the quoting of values, key column lists, the statements of each
// database dialect and the classification of driver errors. Free of Windows
// and ODBC calls; texts are Shift-JIS.
#pragma once

#include <string>
#include <vector>

#include "foundation/sjis_text.h"

// Words the scanner recognises right after a blank, in lower or upper case
// and followed by a blank.
constexpr int kSqlWordNone = 0;
constexpr int kSqlWordFrom = 1;
constexpr int kSqlWordWhere = 2;
constexpr int kSqlWordOrder = 3;
constexpr int kSqlWordJoin = 4;  // join, left, inner

// The word that starts at `p` (the byte after a blank).
int SqlWordAt(const char* p);
// The first index of `sql` for which `visit` returns true among those of
// the characters outside quoted literals and names and outside parentheses
// (quotes and parentheses themselves are not visited; a double-byte
// character is visited by its first byte), or std::string::npos.
template <class Visit>
size_t FindAtTopLevel(const std::string& sql, Visit visit) {
  char quote = '\0';
  int depth = 0;  // of parentheses: a subquery's words are its own
  const char* text = sql.c_str();
  for (size_t i = 0; i < sql.size(); i += SjisCharLength(text + i)) {
    const char c = text[i];
    if (quote) {
      if (c == quote) quote = '\0';
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth > 0) --depth;
    } else if (depth == 0 && visit(i)) {
      return i;
    }
  }
  return std::string::npos;
}
// Index of the blank in front of the first `word` of `sql` outside quoted
// literals and names and outside parentheses, or std::string::npos.
size_t FindSqlWord(const std::string& sql, int word);
// `select` without its ORDER BY part (cut at the blank before "order").
std::string WithoutOrderBy(const std::string& select);
// True when `select` has a WHERE part.
bool HasWhere(const std::string& select);

// `value` as an SQL string literal of statements the program builds as text
// (the layer's own writes bind their values as parameters): in single
// quotes, each quote doubled. Both databases read it as the value: the
// server's sessions take a backslash as itself, and a lead byte without its
// trail byte becomes "?", since the conversion for the driver would take
// the next byte (a quote, say) into that character.
std::string SqlLiteral(const char* value);
// `name` as a quoted SQL name: in double quotes, each double quote doubled.
std::string QuotedSqlName(const std::string& name);

// The name of the view that a "create view" statement creates: the word after
// "view " up to a blank or a whole-word "as"; false without "view".
bool ExtractViewName(const std::string& statement, std::string& name);

// Key `keyNumber` (from 1) of a key text "A,B|C": the plain column list and
// the list with `table` and "." before every column. -1 when the text has no
// such key.
int SelectKeyColumns(const std::string& keyText, int keyNumber, const std::string& table,
                     std::string& plain, std::string& qualified);
// The last column of a column list "A,B,C" (C).
std::string LastListColumn(const std::string& list);

// "select count(*) from <table>" with the WHERE (or join) part of `select`.
std::string CountStatement(const std::string& select, const std::string& table);

// ---- db_read_sql.cpp: SELECTs the layer reads through ----

// The items of the select list of `select`, one per result column (a lone
// "*" gives `columns`, the names of the described result columns, quoted);
// false when the list cannot be named so: a "*" beside other items, items
// that do not match the columns, a compound SELECT.
bool SelectListItems(const std::string& select, const std::vector<std::string>& columns,
                     std::vector<std::string>& items);
// The expression of a select-list item: the item without a final
// "as <name>".
std::string ItemExpression(const std::string& item);
// `select` with `list` in place of its select list; `select` as it is when
// it has none the layer can find.
std::string WithSelectList(const std::string& select, const std::string& list);
// The statement that gives the position (from 1) among the rows of
// `select` in the order of `keyList` of the first row (the last one with
// `last`) whose `keyColumn` compares with its one "?" by `comparison`
// ("=", "<", ...); NULL when there is none. Empty when `select` has no FROM.
std::string KeyRowNumberStatement(const std::string& select, const std::string& keyList,
                                  const std::string& keyColumn, const char* comparison, bool last);
// An SQLite expression that gives a REAL as text that reads back exactly:
// "M:k" for the value M * 2^-k (M a whole number), any other value as it is.
// (The SQLite driver hands a REAL out as text of 15 digits.)
std::string ExactDoubleText(const std::string& expression);
// The value of a text ExactDoubleText gave (or any number text).
double ParseExactDouble(const char* text);

// One column of a table to create.
struct SqlColumnDef {
  std::string name;
  int type;    // kColumn... of spc_file.h
  int length;  // text length
};

// What differs between the databases the layer reaches. Both the file and
// the server database take the same column clauses; names of indexes carry
// their table because SQLite and PostgreSQL keep index names per database
// or schema.
struct SqlDialect {
  const char* dbmsName;      // as the driver reports it (SQL_DBMS_NAME)
  bool foldsNamesToLower;    // unquoted names come back in lower case
  // Changing a column's type: a format of table, column and type word, or
  // nullptr when the table must be rebuilt instead.
  const char* alterColumnFormat;
  const char* rowIdWord;     // the hidden row identity, or nullptr
  // The cursor the layer reads forward: static where the driver would
  // otherwise read lazily and keep the table busy, forward-only where it
  // reads the whole result at once anyway (and a static one costs a plan
  // on every run).
  bool staticCursor;
  // A SELECT without a value is prepared once and run again while the
  // navigation asks for it (the SQLite driver prepares slower than it runs),
  // or run directly each time (the PostgreSQL driver reads the rows of a
  // prepared statement at half the speed of a direct one).
  bool preparesPlainSelects;
  bool reportsErrorsByText;  // one state for all errors; the text tells them apart
  // The driver hands a REAL out rounded (to 15 digits): the layer reads
  // such columns through ExactDoubleText.
  bool roundsDoubles;
};

// The dialect of a driver by its DBMS name; a neutral one for any other.
const SqlDialect* DialectForDbms(const char* dbmsName);
const SqlDialect* SqliteDialect();
const SqlDialect* PostgresDialect();

// A table or column name as the statements the layer builds name it: quoted
// (a name SQL reserves, such as ORDER or GROUP, is a name then), and on a
// database that folds unquoted names to lower case folded so first (single-
// byte letters only), so that it is the same name as unquoted. Names with a
// ".", a double quote, a blank or a parenthesis, and names on a database of
// no known dialect, are taken as written.
std::string SqlName(const SqlDialect* dialect, const std::string& name);
// Each name of a comma-separated list through SqlName, blanks around it
// dropped.
std::string SqlNameList(const SqlDialect* dialect, const std::string& list);

// "varchar(20)", "smallint", ... for a column type; "NAME varchar(20)" with
// the name in front (through SqlName).
std::string ColumnTypeWord(int type, int length);
std::string ColumnClause(const SqlDialect* dialect, const std::string& name, int type, int length);
// "create table T (c1, c2, ..., primary key (k1,k2))" with its names
// through SqlName; without a key list no primary key.
std::string CreateTableStatement(const SqlDialect* dialect, const std::string& table,
                                 const std::vector<SqlColumnDef>& columns, const std::string& primaryKey);
// Index `keyNumber` of a table: "T_idx1".
std::string IndexName(const std::string& table, int keyNumber);

// What a driver error means to the layer.
enum class DbErrorClass {
  kNoError,          // "00000"
  kTableExists,      // creating what is there already
  kTableMissing,     // a table or view that does not exist
  kColumnNumber,     // a column number past the last column
  kDuplicateColumn,  // a column name twice in one table
  kRowError,         // an error of one row of a rowset
  kFieldMissing,     // a column that does not exist
  kFieldSyntax,      // a column definition the database refuses
  kTableSyntax,      // a table definition the database refuses
  kTableInUse,       // locked or busy
  kOther,
};

// Classifies an error by its SQLSTATE, the driver's native code and its
// message, in the terms of `dialect`.
DbErrorClass ClassifyDbError(const SqlDialect* dialect, const char* state, long native,
                             const char* message);
