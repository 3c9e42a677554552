// Texts from the databases (UTF-8) into the program's Shift-JIS: the quick
// conversion of known characters gives what the system's conversion gives,
// and leaves to it what it does not know.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/db_internal.h"

namespace {

// The system's conversion of a whole UTF-8 text into code page 932.
std::string SystemConversion(const std::string& utf8) {
  std::wstring wide(utf8.size() + 1, L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  std::string out(wide.size() * 2 + 1, '\0');
  out.resize(WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), out.data(),
                                 static_cast<int>(out.size()), nullptr, nullptr));
  return out;
}

TEST(DbEncoding, ConvertsFromTheDatabaseAsTheSystemDoes) {
  struct Case {
    const char* what;
    const char* utf8;
  };
  const Case cases[] = {
      {"ASCII with a backslash and a tilde", "a\\b~c 123"},
      {"kanji ending in the byte of a backslash", "\xE8\xA1\xA8\xE3\x82\xBD\xE8\x83\xBD"},  // 表ソ能
      {"half-width katakana", "\xEF\xBD\xB6\xEF\xBE\x85"},                                    // ｶﾅ
      {"NEC special character", "\xE2\x91\xA0"},                                             // ①
      {"full-width tilde and the wave dash", "\xEF\xBD\x9E\xE3\x80\x9C"},                   // ～〜
      {"yen sign and a character outside the code page", "\xC2\xA5\xC3\xA9\xE4\xB8\x82"},  // ¥é丂
      {"the same unknown character twice", "\xC3\xA9x\xC3\xA9"},
      {"outside the 16-bit units", "a\xF0\x9F\x98\x80" "b"},
      {"overlong form", "a\xC0\x80" "b"},
      {"lone continuation byte", "a\x80" "b"},
      {"encoded surrogate", "a\xED\xA0\x80" "b"},
      {"mixed", "No.\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E_12"},  // No.日本語_12
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string utf8 = c.utf8;
    // Twice over: the second time the characters are known.
    for (int pass = 0; pass < 2; ++pass) {
      char out[64];
      EXPECT_TRUE(FromDbText(utf8.data(), utf8.size(), out, sizeof out));
      EXPECT_EQ(std::string(out), SystemConversion(utf8));
    }
  }
}

// A text longer than the room is cut at a character's end, never inside a
// double-byte character, and an incomplete character at the end is dropped.
TEST(DbEncoding, CutsAtACharacterBoundary) {
  const std::string text = "A\xE6\x97\xA5\xE6\x9C\xAC";  // A日本: 5 bytes in Shift-JIS
  struct Case {
    int room;
    const char* expected;
    bool whole;
  };
  const Case cases[] = {{6, "A\x93\xfa\x96\x7b", true}, {5, "A\x93\xfa", false}, {4, "A\x93\xfa", false},
                        {3, "A", false}, {1, "", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.room);
    char out[8];
    EXPECT_EQ(FromDbText(text.data(), text.size(), out, c.room), c.whole);
    EXPECT_EQ(std::string(out), c.expected);
  }
  char out[8];
  EXPECT_FALSE(FromDbText(text.data(), text.size() - 1, out, sizeof out)) << "the last character cut short";
  EXPECT_EQ(std::string(out), "A\x93\xfa");
}

}  // namespace
