#include "foundation/bounded_format.h"

#include <charconv>
#include <cmath>
#include <random>
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

// Fixed decimals written as to_chars (and "%.*f") writes them: the whole
// numbers the quick way takes and the values it must leave to the general
// conversion, ties to even, signs of zeros, and values too long for the
// room.
TEST(BoundedFormat, WritesFixedDecimalsAsToCharsDoes) {
  struct Case {
    const char* what;
    double value;
    int decimals;
    const char* expected;
  };
  const Case cases[] = {
      {"quarter", 1234.25, 6, "1234.250000"},
      {"whole", 7, 0, "7"},
      {"zeros in front", 0.05, 2, "0.05"},
      {"negative", -3.5, 1, "-3.5"},
      {"tie to even, down", 2.5, 0, "2"},
      {"tie to even, up", 3.5, 0, "4"},
      {"minus zero", -0.0, 6, "-0.000000"},
      {"rounds to minus zero", -0.3, 0, "-0"},
      {"binary fraction, not a tie", 1.015, 2, "1.01"},
      {"one tenth", 0.1, 6, "0.100000"},
      {"beyond 2^52", 9007199254740993.0, 1, "9007199254740992.0"},
      {"more decimals than the quick way", 0.125, 12, "0.125000000000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    char text[64];
    char* end = WriteFixedDecimals(text, text + sizeof text, c.value, c.decimals);
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(std::string(text, end), c.expected);
  }
  char small[4];
  EXPECT_EQ(WriteFixedDecimals(small, small + sizeof small, 123.5, 1), nullptr) << "five bytes in four";
  EXPECT_EQ(WriteFixedDecimals(small, small + sizeof small, 1e20, 0), nullptr) << "the general conversion's too";
  EXPECT_EQ(std::string(small, WriteFixedDecimals(small, small + sizeof small, 1.5, 2)), "1.50");
  // Random values of every scale against the general conversion.
  std::mt19937_64 random(20261210);
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::uniform_int_distribution<int> scale(-8, 17), places(0, 9);
  for (int n = 0; n < 200000; ++n) {
    double value = std::ldexp(mantissa(random), scale(random) * 3);
    if (n % 3 == 0) value = std::round(value * 8) / 8;  // many whole numbers and halves
    const int decimals = places(random);
    char quick[400], general[400];
    char* end = WriteFixedDecimals(quick, quick + sizeof quick, value, decimals);
    const std::to_chars_result expected =
        std::to_chars(general, general + sizeof general, value, std::chars_format::fixed, decimals);
    ASSERT_NE(end, nullptr);
    ASSERT_EQ(std::string(quick, end), std::string(general, expected.ptr)) << value << " with " << decimals;
  }
}

}  // namespace
