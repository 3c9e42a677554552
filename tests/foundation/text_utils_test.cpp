#include "foundation/text_utils.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

// Texts are Shift-JIS. 表 (95 5C), ソ (83 5C) and 能 (94 5C) end in the byte of
// "\"; "　" is the full-width blank.

namespace {

TEST(TextUtils, TrimsHalfWidthBlanks) {
  struct Case {
    const char* text;
    int mode;
    const char* result;
  };
  const Case cases[] = {
      {"  AB  ", 0, "AB"},     {"  AB  ", 1, "AB  "}, {"  AB  ", 2, "  AB"},
      {"　AB　", 0, "　AB　"}, {"   ", 0, ""},       {"表 ", 2, "表"},
  };
  for (const Case& c : cases) {
    char text[32];
    strcpy(text, c.text);
    EXPECT_STREQ(TrimSpaces(text, c.mode), c.result) << "'" << c.text << "' mode " << c.mode;
  }
}

TEST(TextUtils, RemovesBlanksAndCharacters) {
  EXPECT_STREQ(SkipLeadingSpaces(" 　 AB "), "AB ");
  EXPECT_STREQ(SkipLeadingSpaces("　 "), "");
  EXPECT_STREQ(SkipLeadingSpaces("表 "), "表 ");

  char out[64];
  EXPECT_EQ(RemoveAllSpaces(out, "A 　B　C "), 3);
  EXPECT_STREQ(out, "ABC");
  RemoveAllSpaces(out, "表 ソ");
  EXPECT_STREQ(out, "表ソ");

  char text[32] = "a\\表\\bソ";
  EXPECT_EQ(RemoveChar(text, '\\'), 6);
  EXPECT_STREQ(text, "a表bソ");

  ReplaceCharWithSpace(out, "a\\表ソ\\", '\\');
  EXPECT_STREQ(out, "a 表ソ ");
}

TEST(TextUtils, ReadsNumbersInsideTexts) {
  struct Case {
    const char* text;
    int number;
  };
  const Case trailing[] = {
      {"ITEM05", 5}, {"EM5", -1}, {"A12", 12}, {"105", 105}, {"Q1234", 234},
      {"5", -1},     {"", -1},    {"項目05", 5}, {"Q表5", -1}, {"表12", 12},
  };
  for (const Case& c : trailing) {
    EXPECT_EQ(ParseTrailingNumber(c.text), c.number) << c.text;
  }

  EXPECT_EQ(NumberBetween("KEY<12>NAME", '<', '>'), 12);
  EXPECT_EQ(NumberBetween("<<7>", '<', '>'), 7);
  EXPECT_EQ(NumberBetween("<3", '<', '>'), 3);
  EXPECT_EQ(NumberBetween("none", '<', '>'), 0);
  EXPECT_EQ(NumberBetween("ソ{5}", '{', '}'), 5);

  char out[32];
  EXPECT_DOUBLE_EQ(ExtractNumberText(out, "￥-1,234.5円"), -1234.5);
  EXPECT_STREQ(out, "-1234.5");
  EXPECT_DOUBLE_EQ(ExtractNumberText(out, "abc"), 0);
  EXPECT_STREQ(out, "");
}

TEST(TextUtils, FormatsThousands) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {-1234567, "-1,234,567"}, {999, "999"}, {-999, "-999"}, {0, "0"},
      {1000, "1,000"}, {123456, "123,456"}, {1234.6, "1,235"}, {1e15, "1,000,000,000,000,000"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(FormatThousands(c.value), c.text) << c.value;
  }
}

TEST(TextUtils, TakesPathSegments) {
  struct Case {
    const char* path;
    const char* segment;
    const char* last;
  };
  const Case cases[] = {
      {"C:\\DATA\\X.MDB", "DATA", "X.MDB"},
      {"\\DB", "DB", "DB"},
      {"#TBL#X", "TBL", "#TBL#X"},
      {"NAME", "", "NAME"},
      {"C:X", "", "X"},
      {"\\表ソ\\能", "表ソ", "能"},
      {"C:\\DIR\\", "DIR", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    char out[64];
    EXPECT_EQ(GetPathSegment(out, c.path), 0);
    EXPECT_STREQ(out, c.segment);
    EXPECT_EQ(GetLastPathSegment(out, c.path), 0);
    EXPECT_STREQ(out, c.last);
  }
  char out[8];
  EXPECT_EQ(GetPathSegment(out, ""), -1);
  EXPECT_EQ(GetLastPathSegment(out, ""), -1);
}

TEST(TextUtils, SharedBuffersCutLongTextsAtACharacterBoundary) {
  std::string text = "a";
  while (text.size() < kSharedTextSize + 10) text += "表";
  const char* rest = SkipLeadingSpaces(text.c_str());
  const size_t length = strlen(rest);
  EXPECT_LT(length, static_cast<size_t>(kSharedTextSize));
  EXPECT_EQ(length % 2, 1u);  // "a" and whole pairs only
  EXPECT_EQ(text.compare(0, length, rest), 0);
}

}  // namespace
