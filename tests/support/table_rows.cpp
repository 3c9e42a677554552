#include "tests/support/table_rows.h"

#include <fstream>

#include "foundation/csv_token.h"
#include "foundation/db.h"

std::vector<std::string> TableRowTexts(const std::string& folder, const std::string& database, int kind,
                                       const char* specFile, const char* table, const char* columns,
                                       const char* where, const char* order) {
  std::vector<std::string> rows;
  const int t = db_open(folder.c_str(), database.c_str(), table, kind, specFile, table, "select %s from %s %s",
                        columns, table, where);
  if (t < 0) return rows;
  std::vector<std::string> names;
  for (std::string rest = columns; !rest.empty();) {
    const size_t comma = rest.find(',');
    names.push_back(rest.substr(0, comma));
    rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
  }
  for (int rc = db_toppos(t, order); rc == 0; rc = db_nread(t)) {
    std::string row;
    for (const std::string& n : names) row += (row.empty() ? "" : "|") + std::string(GetColumnText(t, n.c_str()));
    rows.push_back(row);
  }
  db_close(t);
  return rows;
}

std::vector<std::vector<std::string>> ReadCsvRows(const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream file(path, std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> cells;
    std::vector<char> cell(line.size() + 1);
    CsvCursor cursor;
    int rc = 0;
    do {
      rc = NextCsvTokenWith(cursor, cell.data(), static_cast<int>(line.size()), line.c_str());
      cells.emplace_back(cell.data());
    } while (rc > 0);
    if (line.empty()) cells.clear();
    rows.push_back(cells);
  }
  return rows;
}
