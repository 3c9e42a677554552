// The SELECT of a list: its items, the joins of the tables its columns
// name, and the where texts.
#include "screen/list_query_text.h"

#include <string>

#include <gtest/gtest.h>

namespace {

ListQuerySource Items() {
  ListQuerySource source;
  source.table = "T_ITEMS";
  source.columns = {{"CODE", ""}, {"NAME", ""}};
  return source;
}

// A source whose columns join `tables` distinct tables.
ListQuerySource Joining(int tables) {
  ListQuerySource source = Items();
  for (int k = 1; k <= tables; ++k) {
    const std::string t = "J" + std::to_string(k);
    source.columns.push_back({"V", "T_ITEMS.K" + std::to_string(k) + "=" + t + ".K"});
    source.columns.push_back({"W", "T_ITEMS.K" + std::to_string(k) + "=" + t + ".K"});  // the same join
  }
  return source;
}

TEST(ListQueryText, SelectsJoinsAndConditions) {
  struct Case {
    const char* what;
    ListQuerySource source;
    std::string sql;
  };
  ListQuerySource joined = Items();
  joined.columns.push_back({"CATNAME", "T_ITEMS.CAT=T_CATS.CAT"});
  ListQuerySource server = joined;
  server.fileDatabase = false;
  ListQuerySource conditions = joined;
  conditions.conditionColumns = {"OWNER"};
  conditions.conditionText = "T_ITEMS.OWNER='A'";
  conditions.filterText = "T_ITEMS.QTY>0";
  ListQuerySource onlyConditions;
  onlyConditions.table = "T_ITEMS";
  onlyConditions.conditionColumns = {"OWNER"};
  onlyConditions.columns = {{"X", "T_ITEMS.A=T2.A"}};
  ListQuerySource plain = Items();
  plain.extraWhere = "CODE>'0002'";
  plain.filterText = "QTY>0";
  const Case cases[] = {
      {"no joins: every column", Items(), "select * from T_ITEMS"},
      {"extra where and filter", plain, "select * from T_ITEMS where CODE>'0002' and QTY>0"},
      {"a join on the file database", joined,
       "select T_ITEMS.CODE,T_ITEMS.NAME,T_CATS.CATNAME from T_ITEMS left join T_CATS on "
       "T_ITEMS.CAT=T_CATS.CAT"},
      {"a join on the server database", server,
       "select T_ITEMS.CODE,T_ITEMS.NAME,T_CATS.CATNAME from T_ITEMS left outer join T_CATS on "
       "T_ITEMS.CAT=T_CATS.CAT"},
      {"condition columns lead the items", conditions,
       "select T_ITEMS.OWNER,T_ITEMS.CODE,T_ITEMS.NAME,T_CATS.CATNAME from T_ITEMS left join T_CATS on "
       "T_ITEMS.CAT=T_CATS.CAT where T_ITEMS.OWNER='A' and T_ITEMS.QTY>0"},
      {"items are separated whatever the list holds", onlyConditions,
       "select T_ITEMS.OWNER,T2.X from T_ITEMS left join T2 on T_ITEMS.A=T2.A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string sql, message;
    EXPECT_EQ(BuildListSelect(c.source, sql, message), 0);
    EXPECT_EQ(sql, c.sql);
    EXPECT_EQ(message, "");
  }
}

TEST(ListQueryText, NineTablesJoinATenthIsRefused) {
  std::string sql, message;
  EXPECT_EQ(BuildListSelect(Joining(9), sql, message), 0);
  EXPECT_NE(sql.find(" left join J9 on T_ITEMS.K9=J9.K"), std::string::npos);
  EXPECT_EQ(sql.find(" left join J1 on", sql.find(" left join J1 on") + 1), std::string::npos)
      << "the same join text joins once";
  EXPECT_EQ(BuildListSelect(Joining(10), sql, message), -1);
  EXPECT_EQ(message, "10以上のテーブルは、結合できません。");
}

TEST(ListQueryText, AJoinTextWithoutATableIsRefused) {
  ListQuerySource source = Items();
  source.columns.push_back({"X", "T_CATS.CAT"});
  std::string sql, message;
  EXPECT_EQ(BuildListSelect(source, sql, message), -1);
  EXPECT_EQ(message, "マージスクリプトが間違っています。(T_CATS.CAT)");
  EXPECT_EQ(JoinedTable("T1.A=住所録.コード"), "住所録");
  EXPECT_EQ(JoinedTable("T1.A=T2"), "T2");
  EXPECT_EQ(JoinedTable("T1.A"), "");
}

}  // namespace
