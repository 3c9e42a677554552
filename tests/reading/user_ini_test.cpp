// USER.INI look-ups: the first line that begins with the key, its value
// after one separator, lines ended by CR or LF and cut at 255 bytes.
#include <gtest/gtest.h>

#include <string>

#include "reading/reading.h"

namespace {

TEST(UserIni, ValuesOfKeys) {
  const std::string text =
      "LINE=1\r\nPFONT=ＭＳ ゴシック\r\nDPI 300\nHMX=\nPFONT=second\n" + std::string("LONG=") +
      std::string(300, 'x');
  struct Case {
    const char* key;
    std::string value;
  };
  const Case cases[] = {
      {"PFONT", "ＭＳ ゴシック"},  // the first line of the key
      {"DPI", "300"},               // any separator
      {"HMX", ""},                  // a key without a value
      {"LINE", "1"},
      {"HMY", ""},                  // no such line
      {"LONG", std::string(250, 'x')},  // 255 bytes a line
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(UserIniValue(text, c.key), c.value);
  }
  EXPECT_EQ(UserIniValue("", "PFONT"), "");
  EXPECT_EQ(UserIniValue("PFONT", "PFONT"), "") << "the key alone";
}

}  // namespace
