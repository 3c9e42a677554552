#include "screen/number_format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Shift-JIS spellings of the mark texts.
const std::string kStar = "\x81\x96";    // ＊
const std::string kDash = "\x81\x7c";    // －
const std::string kCircle = "\x81\x9b";  // ○
const std::string kCross = "\x81\x7e";   // ×

TEST(NumberFormat, FixedWidthIntegers) {
  struct Case {
    const char* what;
    std::string got;
    std::string want;
  };
  const Case cases[] = {
      {"short padded", FormatShortFixed(42, 5), "   42"},
      {"short overflow becomes stars", FormatShortFixed(12345, 3), "***"},
      {"short -1 is the star mark", FormatShortFixed(-1, 4), "  " + kStar},
      {"short -2 is the dash mark", FormatShortFixed(-2, 3), " " + kDash},
      {"short negative fits", FormatShortFixed(-45, 3), "-45"},
      {"short negative overflows", FormatShortFixed(-450, 3), "***"},
      {"int padded", FormatIntFixed(7, 3), "  7"},
      {"int 9999 is the dash mark", FormatIntFixed(9999, 3), " " + kDash},
      {"int wider than width kept", FormatIntFixed(123456, 3), "123456"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.got, c.want);
  }
}

TEST(NumberFormat, MarkTexts) {
  EXPECT_EQ(MarkTextToCode(kStar.c_str()), -1);
  EXPECT_EQ(MarkTextToCode(kDash.c_str()), -2);
  EXPECT_EQ(MarkTextToCode("*"), -9999);

  struct Case {
    char type;
    std::string text;
    int want;
  };
  const Case cases[] = {
      {'t', kStar, -1},         {'t', "  " + kDash + " ", -2}, {'t', "1", -9999},
      {'h', kDash, -2},         {'h', kStar, -1},               {'h', "x", -9999},
      {'j', kDash, 9999},       {'j', kStar, -9999},            {'-', kDash, 0},
      {'b', "", 0},             {'b', "   ", 0},                {'b', "0", -9999},
      {'f', kCircle, 0},        {'f', kCross, -1},              {'X', kDash, -9999},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.type) + " [" + c.text + "]");
    EXPECT_EQ(ParseMarkText(c.type, c.text.c_str()), c.want);
  }
}

TEST(NumberFormat, RoundsHalfUp) {
  EXPECT_DOUBLE_EQ(RoundToDecimals(2.375, 2), 2.38);
  EXPECT_DOUBLE_EQ(RoundToDecimals(2.5, 0), 3.0);
  EXPECT_DOUBLE_EQ(RoundToDecimals(-2.5, 0), -2.0);
  EXPECT_DOUBLE_EQ(RoundToDecimals(1234.0, -2), 1200.0);
}

TEST(TextChunks, NeverSplitDoubleByteCharacters) {
  // "表" (0x95 0x5C) has the backslash as its trail byte; "ソ" 0x83 0x5C.
  const std::string text = "A\x95\x5c\x83\x5c" "BC";
  std::vector<std::string> chunks;
  char out[8];
  int start = 0;
  for (int guard = 0; guard < 10; ++guard) {
    const int last = TakeTextChunk(start, 2, out, text.c_str());
    chunks.push_back(out);
    start = TakeTextChunkNext();
    if (last) break;
  }
  EXPECT_EQ(chunks, (std::vector<std::string>{"A", "\x95\x5c", "\x83\x5c", "BC"}));

  EXPECT_EQ(TakeTextChunk(0, 100, out, "abc"), 1);
  EXPECT_STREQ(out, "abc");
}

TEST(TextChunks, CountsSingleByteOccurrences) {
  EXPECT_EQ(CountCharOccurrences("abc", ','), 0);
  EXPECT_EQ(CountCharOccurrences("a,b", ','), 2);
  EXPECT_EQ(CountCharOccurrences("a,b,,c", ','), 4);
  // The trail byte of "表" is a backslash, not a separator.
  EXPECT_EQ(CountCharOccurrences("\x95\x5c", '\\'), 0);
  EXPECT_EQ(CountCharOccurrences("\x95\x5c\\", '\\'), 2);
}

}  // namespace
