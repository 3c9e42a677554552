// The rows of a table, or of a CSV file, as texts, for tests that check
// what was stored or written.
#pragma once

#include <string>
#include <vector>

// Each row of `select <columns> from <table> <where>` in the order of
// `order`, its values joined by "|". The table is opened with its
// table-specification file (`specFile`, block `table`); empty when it
// cannot be.
std::vector<std::string> TableRowTexts(const std::string& folder, const std::string& database, int kind,
                                       const char* specFile, const char* table, const char* columns,
                                       const char* where, const char* order);

// The rows of a Shift-JIS CSV file split into cells by the program's CSV
// tokenizer; an empty line has no cell.
std::vector<std::vector<std::string>> ReadCsvRows(const std::string& path);
