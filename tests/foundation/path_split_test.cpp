#include "foundation/path_split.h"

#include <string>

#include <gtest/gtest.h>

// Texts are Shift-JIS: 表 (95 5C), ソ (83 5C), 能 (94 5C) and 十 (8F 5C) end
// in the byte of "\".

namespace {

TEST(PathSplit, SplitsAtTheLastDelimiterCharacter) {
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
  };
  const Case cases[] = {
      {"C:\\DATA\\X.MDB", "C:\\DATA", "X.MDB"},
      {"X.MDB", "", "X.MDB"},
      {"C:\\DATA\\", "C:\\DATA", ""},
      {"", "", ""},
      {"C:\\feeder\\調査表001.bmp", "C:\\feeder", "調査表001.bmp"},
      {"C:\\feeder\\アンソ001.bmp", "C:\\feeder", "アンソ001.bmp"},
      {"C:\\集計表\\結果.csv", "C:\\集計表", "結果.csv"},
      {"C:\\ソフト\\機能十.csv", "C:\\ソフト", "機能十.csv"},
      {"D:\\表\\ソ\\能\\十", "D:\\表\\ソ\\能", "十"},
      {"表ソ能十", "", "表ソ能十"},
      {"\\\\server\\十\\a", "\\\\server\\十", "a"},
      {"a\\\x81", "a", "\x81"},  // a lead byte cut off at the end stands alone
      {"a\x81\\b", "", "a\x81\\b"},  // 81 5C is one character (―)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(std::string(PathFolder(c.path)), c.folder);
    EXPECT_EQ(std::string(PathFileName(c.path)), c.name);
  }
}

TEST(PathSplit, TakesTheDelimitersItIsGiven) {
  EXPECT_EQ(PathFileName("C:\\表/ソ.ini", "\\/"), "ソ.ini");
  EXPECT_EQ(PathFolder("C:\\表/ソ.ini", "\\/"), "C:\\表");
  EXPECT_EQ(PathFileName("C:十.ini", "\\:"), "十.ini");
  EXPECT_EQ(FindLastPathDelimiter("表ソ"), std::string_view::npos);
  EXPECT_EQ(FindFirstPathDelimiter("集計表#表\\ソ", "#\\"), 6u);
  EXPECT_EQ(FindFirstPathDelimiter("表ソ能十"), std::string_view::npos);
}

}  // namespace
