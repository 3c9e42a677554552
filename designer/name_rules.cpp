// Name rules of the designer: single-byte characters are tested outside
// double-byte pairs, so a trail byte that equals a sign's code passes.
#include "designer/name_rules.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

#include "foundation/sjis_text.h"

namespace {

// Signs refused in names, with the half-width corner brackets ｢ ｣ and the
// blank.
constexpr char kForbiddenChars[] = ".+-*/!\"#$%&'()~=\\^:;?[]<>,\xA2\xA3 ";

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Words that neither SQLite nor PostgreSQL takes as a table or column name
// unquoted, and the statements of the output tables name their columns
// unquoted; besides the program's own DATE, TIME and IMAGE. In order.
constexpr const char* kReservedWords[] = {
    "ADD", "ALL", "ALTER", "ANALYSE", "ANALYZE", "AND", "ANY", "ARRAY", "AS", "ASC", "ASYMMETRIC",
    "AUTHORIZATION", "AUTOINCREMENT", "BETWEEN", "BINARY", "BOTH", "CASE", "CAST", "CHECK", "COLLATE",
    "COLLATION", "COLUMN", "COMMIT", "CONCURRENTLY", "CONSTRAINT", "CREATE", "CROSS", "CURRENT_CATALOG",
    "CURRENT_DATE", "CURRENT_ROLE", "CURRENT_SCHEMA", "CURRENT_TIME", "CURRENT_TIMESTAMP", "CURRENT_USER",
    "DATE", "DEFAULT", "DEFERRABLE", "DELETE", "DESC", "DISTINCT", "DO", "DROP", "ELSE", "END", "ESCAPE",
    "EXCEPT", "EXISTS", "FALSE", "FETCH", "FOR", "FOREIGN", "FREEZE", "FROM", "FULL", "GRANT", "GROUP",
    "HAVING", "ILIKE", "IMAGE", "IN", "INDEX", "INITIALLY", "INNER", "INSERT", "INTERSECT", "INTO", "IS",
    "ISNULL", "JOIN", "LATERAL", "LEADING", "LEFT", "LIKE", "LIMIT", "LOCALTIME", "LOCALTIMESTAMP",
    "NATURAL", "NOT", "NOTHING", "NOTNULL", "NULL", "OFFSET", "ON", "ONLY", "OR", "ORDER", "OUTER",
    "OVERLAPS", "PLACING", "PRIMARY", "REFERENCES", "RETURNING", "RIGHT", "SELECT", "SESSION_USER", "SET",
    "SIMILAR", "SOME", "SYMMETRIC", "SYSTEM_USER", "TABLE", "TABLESAMPLE", "THEN", "TIME", "TO", "TRAILING",
    "TRANSACTION", "TRUE", "UNION", "UNIQUE", "UPDATE", "USER", "USING", "VALUES", "VARIADIC", "VERBOSE",
    "WHEN", "WHERE", "WINDOW", "WITH",
};

}  // namespace

bool HasForbiddenNameChar(const char* name) {
  for (const char* p = name; *p;) {
    const int length = SjisCharLength(p);
    if (length == 1 && std::strchr(kForbiddenChars, *p)) return true;
    p += length;
  }
  return false;
}

bool StartsWithDigit(const char* name, bool fullWidth) {
  if (IsAsciiDigit(name[0])) return true;
  // "０" to "９" are 82 4F to 82 58.
  const auto lead = static_cast<unsigned char>(name[0]);
  const auto trail = static_cast<unsigned char>(name[0] ? name[1] : 0);
  return fullWidth && lead == 0x82 && trail >= 0x4F && trail <= 0x58;
}

bool IsReservedName(const char* name) {
  std::string upper(name);
  ToUpperDbcsSafe(upper.data());
  return std::binary_search(std::begin(kReservedWords), std::end(kReservedWords), upper,
                            [](const std::string& a, const std::string& b) { return a < b; });
}

bool IsImageColumnName(const char* name) {
  const size_t length = std::strlen(name);
  if (length < 5) return false;
  std::string head(name, 3);
  ToUpperDbcsSafe(head.data());
  if (head != "IMG") return false;
  const size_t tail = IsAsciiDigit(name[length - 3]) && length >= 6 ? 3 : 2;
  if (length - tail < 3) return false;
  for (size_t i = length - tail; i < length; ++i) {
    if (!IsAsciiDigit(name[i])) return false;
  }
  return true;
}

std::string CopyFirstLine(const char* text) {
  std::string line;
  for (const char* p = text; *p && *p != '\n'; ++p) {
    if (*p != '\r') line += *p;
  }
  return line;
}
