// Feeds arbitrary bytes to the SQL text of the database layer: the keyword
// scanner and every statement built from a SELECT, key lists and names, and
// the classifier of driver errors in each dialect. A few invariants are
// checked on the way.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/db_sql.h"
#include "foundation/spc_file.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t pick = data[0];
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  text = text.substr(0, text.find('\0'));

  // A SELECT taken apart: the cut select is a prefix, parts are found where
  // they start.
  const std::string cut = WithoutOrderBy(text);
  Check(text.compare(0, cut.size(), cut) == 0);
  for (int word = kSqlWordFrom; word <= kSqlWordJoin; ++word) {
    const size_t at = FindSqlWord(text, word);
    Check(at == std::string::npos || (at < text.size() && SqlWordAt(text.c_str() + at + 1) == word));
  }
  HasWhere(text);
  const std::string countHead = "select count(*) from T";
  Check(CountStatement(text, "T").compare(0, countHead.size(), countHead) == 0);

  const std::string literal = SqlLiteral(text.c_str());
  Check(literal.size() >= text.size() + 2 && literal.front() == '\'' && literal.back() == '\'');
  std::string name;
  if (ExtractViewName(text, name)) Check(!name.empty());

  // Key lists: every key of the text, plain and qualified.
  std::string plain;
  std::string qualified;
  for (int key = 0; key <= kMaxKeys + 1; ++key) {
    if (SelectKeyColumns(text, key, "T", plain, qualified) == 0) {
      Check(!plain.empty() && qualified.size() > plain.size());
      LastListColumn(plain);
    }
  }

  // Statements of a table whose names come from the data.
  std::vector<SqlColumnDef> columns;
  for (size_t i = 0; i < text.size() && columns.size() < 8; i += 5) {
    columns.push_back({text.substr(i, 5), 1 + (text[i] & 7), static_cast<unsigned char>(text[i])});
  }
  for (const SqlDialect* dialect : {SqliteDialect(), PostgresDialect(), DialectForDbms("")}) {
    CreateTableStatement(dialect, name, columns, plain);
    SqlNameList(dialect, plain);
  }
  IndexName(name, pick);

  // The SELECT the layer reads through: its list named column by column,
  // each item's value read as exact text, any number text read back.
  std::vector<std::string> resultNames(pick % 4, "C");
  std::vector<std::string> items;
  if (SelectListItems(text, resultNames, items)) {
    Check(items.size() == resultNames.size());
    std::string list;
    for (const std::string& item : items) list += (list.empty() ? "" : ",") + ExactDoubleText(ItemExpression(item));
    Check(WithSelectList(text, list).find(list) != std::string::npos);
  }
  ParseExactDouble(text.c_str());
  const std::string find = KeyRowNumberStatement(text, qualified, "T.K", "<=", pick & 1);
  Check(find.empty() || find.back() == '?');

  // Driver errors: a state, a native code and a message from the data.
  const std::string state = text.substr(0, 5);
  const long native = static_cast<long>(static_cast<int8_t>(pick)) * 1000;
  for (const SqlDialect* dialect : {SqliteDialect(), PostgresDialect(), DialectForDbms(text.c_str())}) {
    const DbErrorClass kind = ClassifyDbError(dialect, state.c_str(), native, text.c_str());
    Check(kind >= DbErrorClass::kNoError && kind <= DbErrorClass::kOther);
  }
  return 0;
}
