#include "foundation/bounded_format.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(BoundedFormat, CutsAtACharacterBoundary) {
  struct Case {
    const char* what;
    std::string text;
    int size;
    std::string expected;
  };
  const Case cases[] = {
      {"fits", "abc", 8, "abc"},
      {"single bytes cut", "abcdef", 4, "abc"},
      {"cut would split 表", "a表", 3, "a"},
      {"whole double-byte kept", "a表", 4, "a表"},
      {"trail byte 0x5C is no lead", "表ソ能", 5, "表ソ"},
      {"half-width kana is single", "ｱｲｳ", 3, "ｱｲ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    char buf[16];
    const int length = FormatTextBounded(buf, c.size, "%s", c.text.c_str());
    EXPECT_EQ(std::string(buf), c.expected);
    EXPECT_EQ(length, static_cast<int>(c.expected.size()));
  }
}

TEST(BoundedFormat, LongTextNeverOverflows) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "能";
  std::string buf(4096 + 16, 'X');
  const int length = FormatTextBounded(&buf[0], 4096, "%s", text.c_str());
  EXPECT_EQ(length, 4094);  // 2047 whole characters
  EXPECT_EQ(buf[4094], '\0');
  EXPECT_EQ(buf[4096], 'X');
}

TEST(BoundedFormat, EmptyOrMissingBufferWritesNothing) {
  char buf[2] = {'Q', 'Q'};
  EXPECT_EQ(FormatTextBounded(buf, 0, "abc"), 0);
  EXPECT_EQ(buf[0], 'Q');
  EXPECT_EQ(FormatTextBounded(nullptr, 8, "abc"), 0);
}

}  // namespace
