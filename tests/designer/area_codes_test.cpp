// Codes of new sheet items and long texts cut for their three columns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "designer/area_codes.h"

namespace {

using Texts = std::vector<std::string>;

TEST(AreaCodes, TheLowestFreeCodeOfTheRange) {
  struct Case {
    const char* what;
    Texts taken;
    const char* first;
    const char* code;
  };
  std::vector<std::string> full;
  for (int n = 1; n <= 999; ++n) {
    char code[8];
    std::snprintf(code, sizeof code, "T%03d", n);
    full.push_back(code);
  }
  const Case cases[] = {
      {"empty range", {}, "0001", "0001"},
      {"a gap", {"0001", "0002", "0004"}, "0001", "0003"},
      {"after the last", {"0001", "0002"}, "0001", "0003"},
      {"first taken later", {"0002", "0003"}, "0001", "0001"},
      {"carry", {"T009"}, "T009", "T010"},
      {"full range", full, "T001", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(NextFreeAreaCode(c.taken, c.first), c.code);
  }
}

TEST(AreaCodes, LongTextsAreCutBetweenCharacters) {
  const std::string a600(600, 'a');
  EXPECT_EQ(SplitTextPieces(a600, 255, 3), (Texts{std::string(255, 'a'), std::string(255, 'a'), std::string(90, 'a')}));
  // A double-byte character that would straddle byte 255 moves on whole.
  const std::string straddling = std::string(254, 'a') + "\x82\xa0" + "b";
  EXPECT_EQ(SplitTextPieces(straddling, 255, 3), (Texts{std::string(254, 'a'), "\x82\xa0" "b", ""}));
  EXPECT_EQ(SplitTextPieces(std::string(800, 'x'), 255, 3)[2].size(), 255u) << "what does not fit is dropped";
}

}  // namespace
