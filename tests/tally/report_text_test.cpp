// The report layer's text routines: CSV cells written and read back and the
// cells of vertical text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/csv_token.h"
#include "tally/tally.h"

namespace {

std::vector<std::string> SplitAll(const std::string& line, int capacity,
                                  int* last) {
  std::vector<std::string> fields;
  std::vector<char> buf(capacity + 1);
  int rc;
  ResetCsvFieldSplitter();
  do {
    rc = SplitCsvField(buf.data(), capacity, line.c_str());
    fields.push_back(buf.data());
  } while (rc > 0);
  *last = rc;
  return fields;
}

TEST(ReportCsv, CellsReadBackAsWritten) {
  struct Case {
    const char* what;
    std::vector<std::string> cells;
  };
  const Case cases[] = {
      {"plain", {"a", "12", "x y"}},
      {"comma inside", {"a,b", "c"}},
      {"quotes inside", {"say \"hi\"", "\"", "\"\""}},
      {"empty cells", {"", "", "z"}},
      {"double-byte with trail 0x5C and 0x7C", {"表示", "ソ,能", "－"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string line;
    for (const std::string& cell : c.cells) {
      AppendCsvField(line, cell.c_str(), false);
    }
    line.back() = '\n';  // what a line advance does with the last comma
    int last = 0;
    EXPECT_EQ(SplitAll(line, 64, &last), c.cells);
    EXPECT_EQ(last, -1);
  }
}

TEST(ReportCsv, CellTextIsTrimmedAndQuotedByNeed) {
  struct Case {
    const char* text;
    bool quote;
    const char* written;
  };
  const Case cases[] = {
      {"12", false, "12,"},
      {" ab ", true, "\"ab\","},
      {" ab ", false, "ab,"},
      {"1,234", false, "\"1,234\","},
      {"a\"b", true, "\"a\"\"b\","},
      {"", true, "\"\","},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string line;
    AppendCsvField(line, c.text, c.quote);
    EXPECT_EQ(line, c.written);
  }
}

TEST(ReportCsv, FormatHasStringField) {
  struct Case {
    const char* format;
    int expected;
  };
  const Case cases[] = {{"%s", 1},    {"%-10s", 1}, {"[%4.2s]", 1},
                        {"%d", 0},    {"%5.1f", 0}, {"abc", 0},
                        {"%ld %s", 1}, {"%12345s", 0}, {"%", 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(FormatHasStringField(c.format), c.expected) << c.format;
  }
}

TEST(ReportCsv, SplitterLimitsAndCursor) {
  int last = 0;
  EXPECT_EQ(SplitAll("a,\"b,c\",d", 10, &last),
            (std::vector<std::string>{"a", "b,c", "d"}));
  EXPECT_EQ(last, -1);

  const std::string longField(101, 'x');
  const std::vector<std::string> cut = SplitAll(longField + ",y", 100, &last);
  EXPECT_EQ(last, -2);
  EXPECT_EQ(cut, (std::vector<std::string>{std::string(100, 'x')}));

  // The splitter keeps its own cursor beside the program-wide tokenizer, so
  // one line can be split inside the walk over another.
  char outer[8], inner[8];
  ResetCsvToken();
  ResetCsvFieldSplitter();
  EXPECT_GT(NextCsvToken(outer, 7, "p,q"), 0);
  EXPECT_GT(SplitCsvField(inner, 7, "1,2,3"), 0);
  EXPECT_EQ(NextCsvToken(outer, 7, "p,q"), -1);
  EXPECT_STREQ(outer, "q");
  EXPECT_GT(SplitCsvField(inner, 7, "1,2,3"), 0);
  EXPECT_STREQ(inner, "2");
  // Both names put the splitter back at the start of a line.
  EXPECT_EQ(SplitCsvFieldNext(), 0);
  SplitCsvField(inner, 7, "1,2,3");
  EXPECT_STREQ(inner, "1");
  EXPECT_EQ(SplitCsvField(inner, -1, nullptr), 0);
}

TEST(ReportCsv, NthFieldAndParts) {
  EXPECT_STREQ(NthCsvField(2, "a,b,c"), "b");
  EXPECT_STREQ(NthCsvField(1, "表,ソ"), "表");
  EXPECT_STREQ(NthCsvField(4, "a,b,c"), "");
  EXPECT_STREQ(NthCsvField(2, "\"a,b\",c"), "b\"");  // no quote handling
  EXPECT_EQ(CountDelimitedParts("a|b|c", '|'), 3);
  EXPECT_EQ(CountDelimitedParts("", '|'), 1);
  EXPECT_EQ(CountDelimitedParts("－|", '|'), 2);  // "－" ends in byte 0x7C
}

TEST(ReportVerticalText, CountsAndCells) {
  EXPECT_EQ(CountVerticalChars("ab"), 2);
  EXPECT_EQ(CountVerticalChars("あい"), 2);
  EXPECT_EQ(CountVerticalChars("a  b"), 3);
  EXPECT_EQ(CountVerticalChars("   "), 2);

  struct Case {
    const char* what;
    const char* text;
    bool convert;
    std::vector<std::string> cells;
    std::vector<bool> rotated;
  };
  const Case cases[] = {
      {"voiced", "ｶﾞ", true, {"ガ"}, {false}},
      {"semi-voiced", "ﾊﾟ", true, {"パ"}, {false}},
      {"small kana", "ｧ", true, {"ァ"}, {false}},
      {"base without a voiced form", "ｱﾞ", true, {"ア", "゛"}, {false, false}},
      {"letters and long vowel", "Aｰ-", true, {"Ａ", "ー", "－"},
       {false, true, true}},
      {"blank pair", "a  b", true, {"ａ", "　", "ｂ"}, {false, false, false}},
      {"without conversion", "ｶﾞー", false, {"ｶ", "ﾞ", "ー"},
       {false, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> texts;
    std::vector<bool> rotated;
    for (const VerticalCell& cell : SplitVerticalCells(c.text, c.convert)) {
      texts.push_back(cell.text);
      rotated.push_back(cell.rotated);
    }
    EXPECT_EQ(texts, c.cells);
    EXPECT_EQ(rotated, c.rotated);
  }
}

}  // namespace
