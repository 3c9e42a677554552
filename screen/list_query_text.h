// The SELECT of a list or card data set as text: the table, the columns
// with the join texts that name other tables, the query conditions and the
// where texts. Portable: no Windows API; texts are Shift-JIS.
#pragma once

#include <string>
#include <vector>

// Most tables a list joins to its own.
constexpr int kMaxJoinedTables = 9;

struct ListQuerySource {
  std::string table;                          // the data set's table
  std::vector<std::string> conditionColumns;  // of the query conditions
  struct Column {
    std::string name, joinText;
  };
  std::vector<Column> columns;
  std::string conditionText, extraWhere, filterText;
  bool fileDatabase = true;                   // " left join " (else " left outer join ")
};

// The table a join text names: the text after "=" up to the first "."
// ("T1.CODE=T2.CODE" names T2); "" when the text has no "=".
std::string JoinedTable(const std::string& joinText);

// Builds the SELECT: 0 with `sql`; -1 with `message` when more tables than
// kMaxJoinedTables would be joined or a join text names no table.
int BuildListSelect(const ListQuerySource& source, std::string& sql, std::string& message);
