// The text of a list's SELECT (list_query_text.h): select items, left joins
// of the tables named by join texts, and the where texts in their order.
#include "screen/list_query_text.h"

#include <algorithm>

std::string JoinedTable(const std::string& joinText) {
  const size_t equals = joinText.find('=');
  if (equals == std::string::npos) return std::string();
  const size_t dot = joinText.find('.', equals + 1);
  return joinText.substr(equals + 1, dot == std::string::npos ? std::string::npos : dot - equals - 1);
}

int BuildListSelect(const ListQuerySource& source, std::string& sql, std::string& message) {
  message.clear();
  std::vector<std::string> joins;
  for (const ListQuerySource::Column& column : source.columns) {
    if (column.joinText.empty()) continue;
    if (JoinedTable(column.joinText).empty()) {
      message = "マージスクリプトが間違っています。(" + column.joinText + ")";
      return -1;
    }
    if (std::find(joins.begin(), joins.end(), column.joinText) != joins.end()) continue;
    if (static_cast<int>(joins.size()) >= kMaxJoinedTables) {
      message = std::to_string(kMaxJoinedTables + 1) + "以上のテーブルは、結合できません。";
      return -1;
    }
    joins.push_back(column.joinText);
  }

  // With joins, every item is named with its table (the tables may share
  // column names); the items are joined by "," whatever the list holds.
  std::vector<std::string> items;
  if (joins.empty()) {
    items.push_back("*");
  } else {
    for (const std::string& column : source.conditionColumns) items.push_back(source.table + "." + column);
    for (const ListQuerySource::Column& column : source.columns) {
      const std::string table = column.joinText.empty() ? source.table : JoinedTable(column.joinText);
      items.push_back(table + "." + column.name);
    }
    if (items.empty()) items.push_back(source.table + ".*");
  }
  sql = "select ";
  for (size_t i = 0; i < items.size(); ++i) sql += (i ? "," : "") + items[i];
  sql += " from " + source.table;
  const char* join = source.fileDatabase ? " left join " : " left outer join ";
  for (const std::string& text : joins) sql += join + JoinedTable(text) + " on " + text;
  const char* word = " where ";
  for (const std::string* part : {&source.conditionText, &source.extraWhere, &source.filterText}) {
    if (part->empty()) continue;
    sql += word + *part;
    word = " and ";
  }
  return 0;
}
