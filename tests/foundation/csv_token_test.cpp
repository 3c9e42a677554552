#include "foundation/csv_token.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Split {
  std::vector<std::string> fields;
  std::vector<int> results;
};

Split SplitLine(const std::string& line, int max) {
  Split out;
  std::vector<char> buf(max + 1);
  ResetCsvToken();
  int rc;
  do {
    rc = NextCsvToken(buf.data(), max, line.c_str());
    out.fields.push_back(buf.data());
    out.results.push_back(rc);
  } while (rc > 0);
  return out;
}

TEST(CsvToken, SplitsOneLine) {
  struct Case {
    const char* what;
    const char* line;
    int max;
    std::vector<std::string> fields;
    std::vector<int> results;
  };
  const Case cases[] = {
      {"plain", "a,b,c", 8, {"a", "b", "c"}, {2, 4, -1}},
      {"quotes keep commas", "\"x,y\",z", 8, {"x,y", "z"}, {6, -1}},
      {"empty line", "", 8, {""}, {-1}},
      {"trailing comma", "a,", 8, {"a", ""}, {2, -1}},
      {"cut at max", "abc", 2, {"ab"}, {-2}},
      {"CR LF ends the line", "a,b\r\n,c", 8, {"a", "b"}, {2, -1}},
      {"doubled quote is one quote", "\"a\"\",\"\"b\",c", 8, {"a\",\"b", "c"}, {10, -1}},
      {"quotes inside a plain field", "a\"b,c\"d,e", 8, {"ab,cd", "e"}, {8, -1}},
      {"Shift-JIS trail bytes", "表,ソ,能", 8, {"表", "ソ", "能"}, {3, 6, -1}},
      {"line ends inside quotes stay", "\"a\r\nb\",\"\nc\r\"", 8, {"a\r\nb", "\nc\r"}, {7, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Split got = SplitLine(c.line, c.max);
    EXPECT_EQ(got.fields, c.fields);
    EXPECT_EQ(got.results, c.results);
  }
}

TEST(CsvToken, StopsAtTheFieldLimit) {
  std::string line;
  for (int i = 0; i < kCsvFieldLimit + 5; ++i) line += std::to_string(i) + ",";
  const Split got = SplitLine(line, 8);
  ASSERT_EQ(got.fields.size(), static_cast<size_t>(kCsvFieldLimit));
  EXPECT_EQ(got.fields.back(), std::to_string(kCsvFieldLimit - 1));
  EXPECT_EQ(got.results.back(), -1);
}

TEST(CsvToken, RecordsJoinTheLinesOfAnOpenQuote) {
  // Two records written as spreadsheet programs write them: line ends
  // inside quotes are part of a field; a record ends with CR LF or LF.
  const std::string text =
      "a,\"two\r\nlines\",b\r\n"
      "\"say \"\"hi\"\"\nthere\",c\n"
      "\r\n"
      "last,\"open\r\nquote";
  const std::vector<std::string> expected = {
      "a,\"two\r\nlines\",b", "\"say \"\"hi\"\"\nthere\",c", "", "last,\"open\r\nquote"};
  std::vector<std::string> records;
  size_t position = 0;
  std::string record;
  while (NextCsvRecord(text, position, record)) records.push_back(record);
  EXPECT_EQ(records, expected);
  EXPECT_EQ(position, text.size());

  EXPECT_EQ(CountCsvFields(expected[0]), 3);
  EXPECT_EQ(CountCsvFields(expected[1]), 2);
  EXPECT_EQ(CountCsvFields(""), 1);
  EXPECT_EQ(CountCsvFields("\"a,b\",c,d"), 3);
  const Split got = SplitLine(expected[1], 32);
  EXPECT_EQ(got.fields, (std::vector<std::string>{"say \"hi\"\nthere", "c"}));
}

TEST(CsvToken, ResetStartsANewLine) {
  char buf[8];
  ResetCsvToken();
  EXPECT_GT(NextCsvToken(buf, 7, "a,b"), 0);
  ResetCsvToken();
  EXPECT_GT(NextCsvToken(buf, 7, "x,y"), 0);
  EXPECT_STREQ(buf, "x");
}

}  // namespace
