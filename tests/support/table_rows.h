// The rows of a table as texts, for tests that check what was stored.
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
