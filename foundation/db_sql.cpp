// SQL text of the database layer: keyword scanning, literals, key lists,
// dialect statements and error classification.
#include "foundation/db_sql.h"

#include <cstring>

#include "foundation/sjis_text.h"
#include "foundation/spc_file.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// `word` in lower or upper case at `p`, followed by a blank.
bool WordAt(const char* p, const char* lower, const char* upper) {
  const size_t n = std::strlen(lower);
  return (std::strncmp(p, lower, n) == 0 || std::strncmp(p, upper, n) == 0) && IsBlank(p[n]);
}

bool ContainsText(const char* text, const char* part) { return std::strstr(text, part) != nullptr; }

bool StateIs(const char* state, const char* a, const char* b = nullptr) {
  return std::strcmp(state, a) == 0 || (b && std::strcmp(state, b) == 0);
}

DbErrorClass ClassifyBySqliteText(const char* message, long native) {
  if (ContainsText(message, "no such table") || ContainsText(message, "no such view")) {
    return DbErrorClass::kTableMissing;
  }
  if (ContainsText(message, "already exists")) return DbErrorClass::kTableExists;
  if (ContainsText(message, "no such column") || ContainsText(message, "has no column named")) {
    return DbErrorClass::kFieldMissing;
  }
  if (ContainsText(message, "duplicate column name")) return DbErrorClass::kDuplicateColumn;
  // SQLITE_BUSY and SQLITE_LOCKED
  if (native == 5 || native == 6 || ContainsText(message, "is locked")) {
    return DbErrorClass::kTableInUse;
  }
  return DbErrorClass::kOther;
}

DbErrorClass ClassifyByPostgresState(const char* state) {
  if (StateIs(state, "42P01")) return DbErrorClass::kTableMissing;
  if (StateIs(state, "42P07")) return DbErrorClass::kTableExists;
  if (StateIs(state, "42703")) return DbErrorClass::kFieldMissing;
  if (StateIs(state, "42701")) return DbErrorClass::kDuplicateColumn;
  if (StateIs(state, "55P03", "55006") || StateIs(state, "40P01")) return DbErrorClass::kTableInUse;
  return DbErrorClass::kOther;
}

// The states of the ODBC 2 and ODBC 3 drivers that speak the standard states.
DbErrorClass ClassifyByOdbcState(const char* state, long native) {
  if (StateIs(state, "S0001", "42S01")) return DbErrorClass::kTableExists;
  if (StateIs(state, "S0002", "42S02")) return DbErrorClass::kTableMissing;
  if (StateIs(state, "S0021", "42S21")) return DbErrorClass::kDuplicateColumn;
  if (StateIs(state, "S0022", "42S22")) return DbErrorClass::kFieldMissing;
  if (StateIs(state, "07001") && native == -3010) return DbErrorClass::kFieldMissing;
  if (StateIs(state, "37000") && native == -3553) return DbErrorClass::kFieldSyntax;
  if (StateIs(state, "37000") && native == -3551) return DbErrorClass::kTableSyntax;
  if (StateIs(state, "S1000")) return DbErrorClass::kTableInUse;
  return DbErrorClass::kOther;
}

const SqlDialect kSqlite = {"SQLite", false, nullptr, "rowid", true, true, true, true};
const SqlDialect kPostgres = {"PostgreSQL", true, "alter table %s alter column %s type %s", "ctid",
                              false, false, false, false};
const SqlDialect kNeutral = {"", false, "alter table %s alter column %s %s", nullptr, true, true, false, false};

}  // namespace

int SqlWordAt(const char* p) {
  if (WordAt(p, "from", "FROM")) return kSqlWordFrom;
  if (WordAt(p, "where", "WHERE")) return kSqlWordWhere;
  if (WordAt(p, "order", "ORDER")) return kSqlWordOrder;
  if (WordAt(p, "join", "JOIN") || WordAt(p, "left", "LEFT") || WordAt(p, "inner", "INNER")) {
    return kSqlWordJoin;
  }
  return kSqlWordNone;
}

size_t FindSqlWord(const std::string& sql, int word) {
  const char* text = sql.c_str();
  return FindAtTopLevel(sql, [&](size_t i) { return IsBlank(text[i]) && SqlWordAt(text + i + 1) == word; });
}

std::string WithoutOrderBy(const std::string& select) {
  return select.substr(0, FindSqlWord(select, kSqlWordOrder));
}

bool HasWhere(const std::string& select) {
  return FindSqlWord(select, kSqlWordWhere) != std::string::npos;
}

std::string SqlLiteral(const char* value) {
  std::string literal = "'";
  for (const char* p = value; *p; p += SjisCharLength(p)) {
    if (SjisCharLength(p) == 2) {
      literal.append(p, 2);
    } else if (IsSjisLeadByte(static_cast<unsigned char>(*p))) {
      literal += '?';
    } else {
      if (*p == '\'') literal += '\'';
      literal += *p;
    }
  }
  literal += '\'';
  return literal;
}

std::string QuotedSqlName(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

bool ExtractViewName(const std::string& statement, std::string& name) {
  size_t at = statement.find("view ");
  if (at == std::string::npos) at = statement.find("VIEW ");
  if (at == std::string::npos) return false;
  size_t p = at + 5;
  while (p < statement.size() && IsBlank(statement[p])) ++p;
  const char* text = statement.c_str();
  const size_t start = p;
  while (p < statement.size() && !IsBlank(text[p]) && text[p] != '(') {
    p += SjisCharLength(text + p);
  }
  name = statement.substr(start, p - start);
  return !name.empty();
}

int SelectKeyColumns(const std::string& keyText, int keyNumber, const std::string& table,
                     std::string& plain, std::string& qualified) {
  if (keyNumber < 1) return -1;
  const char* text = keyText.c_str();
  size_t start = 0;
  for (int skipped = 1; skipped < keyNumber; ++skipped) {
    while (start < keyText.size() && text[start] != '|') start += SjisCharLength(text + start);
    if (start >= keyText.size()) return -1;
    ++start;
  }
  size_t end = start;
  while (end < keyText.size() && text[end] != '|') end += SjisCharLength(text + end);
  plain = keyText.substr(start, end - start);
  if (plain.empty()) return -1;
  qualified = table + "." ;
  for (char c : plain) {
    qualified += c;
    if (c == ',') qualified += table + ".";
  }
  return 0;
}

std::string LastListColumn(const std::string& list) {
  const size_t comma = list.rfind(',');
  return comma == std::string::npos ? list : list.substr(comma + 1);
}

std::string CountStatement(const std::string& select, const std::string& table) {
  const std::string body = WithoutOrderBy(select);
  size_t from = FindSqlWord(body, kSqlWordWhere);
  const size_t join = FindSqlWord(body, kSqlWordJoin);
  if (join < from) from = join;
  std::string statement = "select count(*) from " + table;
  if (from != std::string::npos) statement += body.substr(from);
  return statement;
}

const SqlDialect* SqliteDialect() { return &kSqlite; }
const SqlDialect* PostgresDialect() { return &kPostgres; }

const SqlDialect* DialectForDbms(const char* dbmsName) {
  if (std::strcmp(dbmsName, kSqlite.dbmsName) == 0) return &kSqlite;
  if (std::strcmp(dbmsName, kPostgres.dbmsName) == 0) return &kPostgres;
  return &kNeutral;
}

std::string ColumnTypeWord(int type, int length) {
  switch (type) {
    case kColumnText:
      return "varchar(" + std::to_string(length) + ")";
    case kColumnChar:
      return "varchar(1)";
    case kColumnShort:
      return "smallint";
    case kColumnDouble:
      return "float";
    default:
      return "int";
  }
}

std::string SqlName(const SqlDialect* dialect, const std::string& name) {
  // Blanks or parentheses make an expression ("A desc"), no name.
  if ((dialect != &kSqlite && dialect != &kPostgres) || name.empty() ||
      name.find_first_of(".\"() \t") != std::string::npos) {
    return name;
  }
  std::string folded = name;
  if (dialect->foldsNamesToLower) ToLowerDbcsSafe(folded.data());
  return QuotedSqlName(folded);
}

std::string SqlNameList(const SqlDialect* dialect, const std::string& list) {
  std::string quoted;
  size_t start = 0;
  for (;;) {
    const size_t comma = list.find(',', start);  // never a trail byte
    std::string name = list.substr(start, comma - start);
    const size_t first = name.find_first_not_of(' ');
    name = first == std::string::npos ? std::string() : name.substr(first, name.find_last_not_of(' ') + 1 - first);
    quoted += SqlName(dialect, name);
    if (comma == std::string::npos) return quoted;
    quoted += ',';
    start = comma + 1;
  }
}

std::string ColumnClause(const SqlDialect* dialect, const std::string& name, int type, int length) {
  return SqlName(dialect, name) + " " + ColumnTypeWord(type, length);
}

std::string CreateTableStatement(const SqlDialect* dialect, const std::string& table,
                                 const std::vector<SqlColumnDef>& columns, const std::string& primaryKey) {
  std::string statement = "create table " + SqlName(dialect, table) + " (";
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) statement += ",";
    statement += ColumnClause(dialect, columns[i].name, columns[i].type, columns[i].length);
  }
  if (!primaryKey.empty()) statement += ", primary key (" + SqlNameList(dialect, primaryKey) + ")";
  statement += ")";
  return statement;
}

std::string IndexName(const std::string& table, int keyNumber) {
  return table + "_idx" + std::to_string(keyNumber);
}

DbErrorClass ClassifyDbError(const SqlDialect* dialect, const char* state, long native,
                             const char* message) {
  if (StateIs(state, "00000")) return DbErrorClass::kNoError;
  if (StateIs(state, "01S01")) return DbErrorClass::kRowError;
  if (StateIs(state, "S1002", "07009")) return DbErrorClass::kColumnNumber;
  if (dialect->reportsErrorsByText) return ClassifyBySqliteText(message, native);
  if (dialect == &kPostgres) {
    const DbErrorClass byState = ClassifyByPostgresState(state);
    if (byState != DbErrorClass::kOther) return byState;
    // psqlODBC's own failures use the standard states; they are no lock.
    return StateIs(state, "S1000", "HY000") ? DbErrorClass::kOther : ClassifyByOdbcState(state, native);
  }
  return ClassifyByOdbcState(state, native);
}
