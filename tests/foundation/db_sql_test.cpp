#include "foundation/db_sql.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/db_text.h"
#include "foundation/spc_file.h"

namespace {

TEST(SqlText, FindsThePartsOfASelect) {
  struct Case {
    const char* what;
    const char* select;
    const char* withoutOrder;
    bool hasWhere;
  };
  const Case cases[] = {
      {"plain", "select * from T", "select * from T", false},
      {"order by", "select a,b from T order by a", "select a,b from T", false},
      {"upper case", "SELECT * FROM T WHERE X=1 ORDER BY X", "SELECT * FROM T WHERE X=1", true},
      {"mixed case is no keyword", "select * from T Where x=1 Order by x",
       "select * from T Where x=1 Order by x", false},
      {"inside a literal", "select * from T where a=' order ' order by a",
       "select * from T where a=' order '", true},
      {"a quote doubled", "select * from T where a='it''s where ' order by a",
       "select * from T where a='it''s where '", true},
      {"part of a word", "select reorder from T", "select reorder from T", false},
      {"Japanese names", "select * from 調査項目 where 表面裏面='1' order by 領域コード",
       "select * from 調査項目 where 表面裏面='1'", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(WithoutOrderBy(c.select), c.withoutOrder);
    EXPECT_EQ(HasWhere(c.select), c.hasWhere);
  }
  EXPECT_EQ(SqlWordAt("join x"), kSqlWordJoin);
  EXPECT_EQ(SqlWordAt("LEFT x"), kSqlWordJoin);
  EXPECT_EQ(SqlWordAt("inner x"), kSqlWordJoin);
  EXPECT_EQ(SqlWordAt("from\tx"), kSqlWordFrom);
  EXPECT_EQ(SqlWordAt("fromx"), kSqlWordNone);
}

TEST(SqlText, LiteralsDoubleTheirQuotes) {
  EXPECT_EQ(SqlLiteral(""), "''");
  EXPECT_EQ(SqlLiteral("O'Neil"), "'O''Neil'");
  EXPECT_EQ(SqlLiteral("x' or '1'='1"), "'x'' or ''1''=''1'");
  // Shift-JIS trail bytes are never a quote: the text passes whole.
  EXPECT_EQ(SqlLiteral("表ソ"), "'表ソ'");
  // A lead byte without its trail byte would take the next byte into one
  // character as the statement is converted for the driver: the quote that
  // ends the literal, or the one that is doubled.
  EXPECT_EQ(SqlLiteral("x\x81"), "'x?'");
  EXPECT_EQ(SqlLiteral("\x81' or 1=1 --"), "'?'' or 1=1 --'");
  EXPECT_EQ(SqlLiteral("\x81\x81\x40"), "'\x81\x81\x40'") << "0x81 is a trail byte too";
}

TEST(SqlText, ViewNameIsTheWordAfterView) {
  struct Case {
    const char* statement;
    bool found;
    const char* name;
  };
  const Case cases[] = {
      {"create view V1 as select * from T", true, "V1"},
      {"create view BASE2 as select * from T", true, "BASE2"},
      {"CREATE VIEW  ALIAS_AS AS SELECT 1", true, "ALIAS_AS"},
      {"create view 集計表(a) as select 1", true, "集計表"},
      {"select * from T", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    std::string name;
    EXPECT_EQ(ExtractViewName(c.statement, name), c.found);
    if (c.found) {
      EXPECT_EQ(name, c.name);
    }
  }
}

TEST(SqlText, KeyColumnLists) {
  std::string plain;
  std::string qualified;
  ASSERT_EQ(SelectKeyColumns("A,B,C|D", 1, "T", plain, qualified), 0);
  EXPECT_EQ(plain, "A,B,C");
  EXPECT_EQ(qualified, "T.A,T.B,T.C");
  EXPECT_EQ(LastListColumn(plain), "C");
  ASSERT_EQ(SelectKeyColumns("A,B,C|D", 2, "T", plain, qualified), 0);
  EXPECT_EQ(plain, "D");
  EXPECT_EQ(LastListColumn(plain), "D");
  EXPECT_EQ(SelectKeyColumns("A,B,C|D", 3, "T", plain, qualified), -1);
  EXPECT_EQ(SelectKeyColumns("", 1, "T", plain, qualified), -1);
  EXPECT_EQ(SelectKeyColumns("A", 0, "T", plain, qualified), -1);
  // "ポ" is 0x83 0x7C: its trail byte is "|" and does not separate keys.
  ASSERT_EQ(SelectKeyColumns("ポイント|X", 1, "T", plain, qualified), 0);
  EXPECT_EQ(plain, "ポイント");
  // Keys of long Japanese names fit whatever their length.
  const std::string names = "ＯＣＲコード,領域コード,表面裏面,ＯＣＲコード２,領域コード２";
  ASSERT_EQ(SelectKeyColumns(names, 1, "調査項目", plain, qualified), 0);
  EXPECT_EQ(plain, names);
  EXPECT_EQ(qualified.find("調査項目.領域コード２"), qualified.size() - std::strlen("調査項目.領域コード２"));
}

TEST(SqlText, CountStatementKeepsTheCondition) {
  EXPECT_EQ(CountStatement("select * from T", "T"), "select count(*) from T");
  EXPECT_EQ(CountStatement("select * from T where A='1' order by A", "T"),
            "select count(*) from T where A='1'");
  EXPECT_EQ(CountStatement("select * from T left join U on T.A=U.A where U.B=1", "T"),
            "select count(*) from T left join U on T.A=U.A where U.B=1");
}

TEST(SqlDialect, CreateStatementsAndIndexNames) {
  const std::vector<SqlColumnDef> columns = {
      {"A", kColumnText, 4}, {"B", kColumnShort, 0}, {"C", kColumnDouble, 0},
      {"D", kColumnChar, 1}, {"E", kColumnLong, 0}};
  EXPECT_EQ(CreateTableStatement(DialectForDbms(""), "T", columns, "A,B"),
            "create table T (A varchar(4),B smallint,C float,D varchar(1),E int, primary key (A,B))");
  EXPECT_EQ(CreateTableStatement(DialectForDbms(""), "T", {{"A", kColumnText, 4}}, ""),
            "create table T (A varchar(4))");
  // Names SQL reserves are names: quoted, as the server keeps unquoted ones.
  const std::vector<SqlColumnDef> reserved = {{"ORDER", kColumnText, 4}, {"Group", kColumnShort, 0}};
  EXPECT_EQ(CreateTableStatement(SqliteDialect(), "CHECK", reserved, "ORDER,Group"),
            "create table \"CHECK\" (\"ORDER\" varchar(4),\"Group\" smallint, primary key (\"ORDER\",\"Group\"))");
  EXPECT_EQ(CreateTableStatement(PostgresDialect(), "CHECK", reserved, "ORDER"),
            "create table \"check\" (\"order\" varchar(4),\"group\" smallint, primary key (\"order\"))");
  // Single-byte letters fold; a trail byte in A-Z stays (ア is 83 41).
  EXPECT_EQ(SqlName(PostgresDialect(), "アA表"), "\"アa表\"");
  EXPECT_EQ(SqlName(PostgresDialect(), "s.T"), "s.T");
  EXPECT_EQ(SqlNameList(SqliteDialect(), "A,ソ,B"), "\"A\",\"ソ\",\"B\"");
  EXPECT_EQ(IndexName("T", 1), "T_idx1");
  EXPECT_EQ(DialectForDbms("SQLite"), SqliteDialect());
  EXPECT_EQ(DialectForDbms("PostgreSQL"), PostgresDialect());
  EXPECT_EQ(SqliteDialect()->alterColumnFormat, nullptr);
  EXPECT_TRUE(PostgresDialect()->foldsNamesToLower);
}

TEST(SqlDialect, ClassifiesDriverErrors) {
  struct Case {
    const char* what;
    const SqlDialect* dialect;
    const char* state;
    long native;
    const char* message;
    DbErrorClass expected;
  };
  const SqlDialect* sqlite = SqliteDialect();
  const SqlDialect* pg = PostgresDialect();
  const SqlDialect* other = DialectForDbms("ACCESS");
  const Case cases[] = {
      {"sqlite missing table", sqlite, "S1000", 1, "[SQLite]no such table: T (1)", DbErrorClass::kTableMissing},
      {"sqlite table exists", sqlite, "S1000", 1, "table T already exists (1)", DbErrorClass::kTableExists},
      {"sqlite missing column", sqlite, "S1000", 1, "no such column: X (1)", DbErrorClass::kFieldMissing},
      {"sqlite insert column", sqlite, "S1000", 1, "table T has no column named X", DbErrorClass::kFieldMissing},
      {"sqlite duplicate column", sqlite, "S1000", 1, "duplicate column name: A", DbErrorClass::kDuplicateColumn},
      {"sqlite busy", sqlite, "S1000", 5, "database is locked (5)", DbErrorClass::kTableInUse},
      {"sqlite constraint", sqlite, "S1000", 19, "UNIQUE constraint failed: T.A (19)", DbErrorClass::kOther},
      {"sqlite syntax", sqlite, "S1000", 1, "near \"selec\": syntax error (1)", DbErrorClass::kOther},
      {"sqlite column number", sqlite, "S1002", -1, "invalid column", DbErrorClass::kColumnNumber},
      {"pg missing table", pg, "42P01", 1, "", DbErrorClass::kTableMissing},
      {"pg table exists", pg, "42P07", 1, "", DbErrorClass::kTableExists},
      {"pg missing column", pg, "42703", 1, "", DbErrorClass::kFieldMissing},
      {"pg unique", pg, "23505", 1, "", DbErrorClass::kOther},
      {"pg lock", pg, "55P03", 1, "", DbErrorClass::kTableInUse},
      {"pg driver failure is no lock", pg, "S1000", 1, "", DbErrorClass::kOther},
      {"access exists", other, "S0001", 0, "", DbErrorClass::kTableExists},
      {"access missing", other, "S0002", 0, "", DbErrorClass::kTableMissing},
      {"odbc3 missing", other, "42S02", 0, "", DbErrorClass::kTableMissing},
      {"access field missing", other, "07001", -3010, "", DbErrorClass::kFieldMissing},
      {"access field syntax", other, "37000", -3553, "", DbErrorClass::kFieldSyntax},
      {"access table syntax", other, "37000", -3551, "", DbErrorClass::kTableSyntax},
      {"access in use", other, "S1000", -1, "", DbErrorClass::kTableInUse},
      {"integrity is reported", other, "23000", 0, "", DbErrorClass::kOther},
      {"syntax is reported", other, "42000", 0, "", DbErrorClass::kOther},
      {"row error", other, "01S01", 89, "", DbErrorClass::kRowError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ClassifyDbError(c.dialect, c.state, c.native, c.message), c.expected);
  }
}

TEST(DbText, TakeDefaultChoice) {
  struct Case {
    const char* text;
    int result;
    const char* after;
  };
  const Case cases[] = {
      {"A,B,C(5)", 5, "A,B,C"},       {"A,B(?)", -2, "A,B"},          {"A,B(3", -1, "A,B(3"},
      {"A,B", -1, "A,B"},             {"X(1234567)", -1, "X(1234567)"}, {"X( 1a2 )", 12, "X"},
      {"表示(2)", 2, "表示"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    char text[64];
    std::strcpy(text, c.text);
    EXPECT_EQ(TakeDefaultChoice(text), c.result);
    EXPECT_STREQ(text, c.after);
  }
}

TEST(DbText, TokenizeTextLine) {
  const char* text = "\"a,b\" c\r\nsecond\tline\nlast";
  char line[32];
  TokenizeTextLine(line, -1, text);
  int rc = TokenizeTextLine(line, 31, text);
  EXPECT_GT(rc, 0);
  EXPECT_STREQ(line, "a,b c");
  rc = TokenizeTextLine(line, 31, text);
  EXPECT_STREQ(line, "secondline");
  // Back to the start of that line, then on to the end.
  TokenizeTextLine(line, -2, text);
  TokenizeTextLine(line, 31, text);
  EXPECT_STREQ(line, "secondline");
  EXPECT_EQ(TokenizeTextLine(line, 31, text), -1);
  EXPECT_STREQ(line, "last");

  // A line feed inside an open quote stays in the line.
  const char* quoted = "\"x\ny\" z\nw";
  TokenizeTextLine(line, -1, quoted);
  TokenizeTextLine(line, 31, quoted);
  EXPECT_STREQ(line, "x\ny z");

  // A line longer than the room is cut at a character boundary.
  TokenizeTextLine(line, -1, "ab表c\n");
  EXPECT_EQ(TokenizeTextLine(line, 3, "ab表c\n"), -2);
  EXPECT_STREQ(line, "ab");

  // After 1000 lines the reader starts over.
  std::string many;
  for (int i = 0; i < 1001; ++i) many += "x\n";
  TokenizeTextLine(line, -1, many.c_str());
  int lines = 0;
  while (TokenizeTextLine(line, 31, many.c_str()) > 0) ++lines;
  EXPECT_EQ(lines, kTextLineLimit - 1);
}

TEST(DbText, BackslashAndCharacterRemoval) {
  struct Case {
    const char* path;
    const char* result;
  };
  const Case cases[] = {{"C:\\DATA", "C:\\DATA\\"}, {"C:\\DATA\\", "C:\\DATA\\"}, {"C:", "C:"},
                        {"", ""}, {"C:\\表", "C:\\表\\"}};
  for (const Case& c : cases) {
    char out[64];
    AppendBackslash(out, c.path);
    EXPECT_STREQ(out, c.result) << c.path;
  }
  EXPECT_STREQ(CopyWithoutChar("a-b-c", '-'), "abc");
  // The trail byte 0x5C of "表" is no backslash.
  EXPECT_STREQ(CopyWithoutChar("表\\x", '\\'), "表x");
}

}  // namespace

namespace {

TEST(SqlText, WordsInsideParenthesesBelongToTheSubquery) {
  EXPECT_EQ(WithoutOrderBy("select * from T where A in (select B from U order by B) order by A"),
            "select * from T where A in (select B from U order by B)");
  EXPECT_FALSE(HasWhere("select (select max(X) from U where U.K=1) as M from T"));
  EXPECT_EQ(CountStatement("select (select 1 from U where 1=1) from T where A=1", "T"),
            "select count(*) from T where A=1");
}

TEST(ReadSql, NamesTheExpressionOfEachResultColumn) {
  struct Case {
    const char* what;
    const char* select;
    std::vector<std::string> columns;
    bool named;
    std::vector<std::string> expressions;
  };
  const Case cases[] = {
      {"all columns", "select * from T where A=1", {"A", "得点"}, true, {"\"A\"", "\"得点\""}},
      {"a list", "SELECT A, T.B,sum(C) as S, max(D) AS \"M\" FROM T GROUP BY A, T.B",
       {"A", "B", "S", "M"}, true, {"A", "T.B", "sum(C)", "max(D)"}},
      {"commas inside calls and literals", "select coalesce(A, 1), 'x,y' as Z from T", {"C1", "Z"}, true,
       {"coalesce(A, 1)", "'x,y'"}},
      {"an AS inside a call", "select cast(A as real) from T", {"C1"}, true, {"cast(A as real)"}},
      {"distinct", "select distinct A from T", {"A"}, true, {"A"}},
      {"a star beside others", "select T.*, A from T", {"A", "B", "A"}, false, {}},
      {"a count that differs", "select A from T", {"A", "B"}, false, {}},
      {"a compound select", "select A from T union select B from U", {"A"}, false, {}},
      {"no select", "with Q as (select 1) select * from Q", {"A"}, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> items;
    EXPECT_EQ(SelectListItems(c.select, c.columns, items), c.named);
    std::vector<std::string> expressions;
    for (const std::string& item : items) expressions.push_back(ItemExpression(item));
    EXPECT_EQ(expressions, c.expressions);
  }
  EXPECT_EQ(WithSelectList("select * from T where A=(select 1 from U) order by A", "X,Y"),
            "select  X,Y from T where A=(select 1 from U) order by A");
  EXPECT_EQ(WithSelectList("SELECT DISTINCT A FROM T", "B"), "SELECT DISTINCT B FROM T");
  EXPECT_EQ(WithSelectList("values (1)", "B"), "values (1)");
}

TEST(ReadSql, KeyFindsAskTheDatabaseForTheRowNumber) {
  EXPECT_EQ(KeyRowNumberStatement("select * from T where A=1 order by B", "T.A,T.B", "T.B", ">=", false),
            "select min(sd_row) from (select row_number() over (order by T.A,T.B) as sd_row, T.B as sd_key "
            "from T where A=1) sd_rows where sd_key>=?");
  EXPECT_EQ(KeyRowNumberStatement("select * from T", "T.A", "T.A", "<", true).substr(0, 19), "select max(sd_row) ");
  EXPECT_EQ(KeyRowNumberStatement("values (1)", "A", "A", "=", false), "");
}

TEST(ReadSql, ExactTextsOfRealsReadBackBitForBit) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"6004799503160661:54", 1.0 / 3},                  // M * 2^-k
      {"-18014398509481982:-970", -1.7976931348623157e308},
      {"1:1074", 4.9406564584124654e-324},
      {"0.0", 0.0},
      {"-0.0", -0.0},
      {"Inf", HUGE_VAL},
      {"-Inf", -HUGE_VAL},
      {"5", 5.0},                                        // an integer as it came
      {"abc", 0.0},                                      // a text in a REAL column
      {"1234.125", 1234.125},                            // the driver's own short text
      {"-0.1", -0.1},
      {"0.30000000000000004", 0.1 + 0.2},                // too long for the short way
      {"1.7976931348623157e+308", DBL_MAX},
      {"9:99999999999", 0.0},                            // a scale out of range
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const double got = ParseExactDouble(c.text);
    EXPECT_EQ(std::memcmp(&got, &c.value, sizeof got), 0) << got;
  }
  // The expression names its column in every part and leaves other values
  // as they are.
  const std::string text = ExactDoubleText("\"X\"");
  EXPECT_EQ(text.rfind("case when abs(\"X\")<1e11 and (\"X\")*8=round((\"X\")*8) then (\"X\")", 0), 0u);
  EXPECT_NE(text.find("else (\"X\") end"), std::string::npos);
}

}  // namespace
