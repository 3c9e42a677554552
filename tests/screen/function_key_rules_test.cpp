// The function-key bar's rules: corrections of a key string, where the
// buttons stand, the F9 pop-up and the guide texts.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "screen/screen_words.h"

namespace {

std::string Fixed(const char* keys, const FunctionKeyFacts& facts) {
  char buffer[17] = {};
  std::snprintf(buffer, sizeof buffer, "%s", keys);
  FixFunctionKeys(buffer, facts);
  return buffer;
}

TEST(FunctionKeyRules, KeyStringsFollowWhatTheScreenCanDo) {
  FunctionKeyFacts sideScrollList;
  sideScrollList.screenType = 2;
  sideScrollList.sideScroll = true;
  sideScrollList.listInputMode = 2;
  sideScrollList.candidateFields = 1;
  FunctionKeyFacts noNewRows = sideScrollList;
  noNewRows.sideScroll = false;
  noNewRows.newRowsAllowed = false;
  FunctionKeyFacts entryList = noNewRows;
  entryList.newRowsAllowed = true;
  entryList.listInputMode = 1;
  FunctionKeyFacts card;
  card.screenType = 3;
  struct Case {
    const char* what;
    const char* keys;
    FunctionKeyFacts facts;
    const char* want;
  };
  const Case cases[] = {
      // Positions 1 to 4, 6 and 8 become '1', every other stays.
      {"side-scrolled list", "2222222222122000", sideScrollList, "2111121212122000"},
      {"side-scrolled list without keys to protect", "2000010101122000", sideScrollList, "2000010101122000"},
      {"list without new rows: no copy, no insert", "2222222222122000", noNewRows, "2222211222122000"},
      {"entry list: no insert", "2222222222122000", entryList, "2222221222122000"},
      {"no candidates: no F11", "2222211222122000", card, "2222211222112000"},
      {"a short string is left alone", "2222", card, "2222"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Fixed(c.keys, c.facts), c.want);
  }
}

TEST(FunctionKeyRules, ButtonsTakeRoomOnlyWhenShown) {
  struct Case {
    const char* what;
    const char* keys;
    int functionKeys;
    std::vector<int> positions, xs;
    int next;
  };
  const Case cases[] = {
      {"gaps after Esc, F4 and F8",
       "2222222222222000",
       12,
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
       {1, 7, 12, 17, 22, 28, 33, 38, 43, 49, 54, 59, 64},
       69},
      {"15 keys: gaps after F5 and F10",
       "2222222222222000",
       15,
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
       {1, 7, 12, 17, 22, 27, 33, 38, 43, 48, 53, 59, 64},
       69},
      {"hidden keys take no room", "2020000000002000", 12, {0, 2, 12}, {1, 7, 12}, 17},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int next = 0;
    std::vector<int> positions, xs;
    for (const FunctionKeyPlace& p : FunctionKeyPlaces(c.keys, c.functionKeys, &next)) {
      positions.push_back(p.position);
      xs.push_back(p.x);
    }
    EXPECT_EQ(positions, c.positions);
    EXPECT_EQ(xs, c.xs);
    EXPECT_EQ(next, c.next);
  }
  const std::vector<FunctionKeyPlace> protectedKey = FunctionKeyPlaces("2100000000000000", 12, nullptr);
  ASSERT_EQ(protectedKey.size(), 2u);
  EXPECT_EQ(protectedKey[0].state, 0);
  EXPECT_EQ(protectedKey[1].state, 1);
}

TEST(FunctionKeyRules, TheF9MenuFollowsTheScreen) {
  struct Case {
    const char* what;
    int type, openMode, number, windowKind;
    const char* commands;
    bool heading;
  };
  const Case cases[] = {
      {"list", 2, -1, 21, 0,
       "CSVﾌｧｲﾙ 入力(201),CSVﾌｧｲﾙ 出力(202),印        刷(203),範囲指定削除(204),範囲指定入力(205)", true},
      {"list of the fixed screens", 2, -1, 92, 0,
       "CSVﾌｧｲﾙ 入力(201),CSVﾌｧｲﾙ 出力(202),範囲指定削除(204),範囲指定入力(205)", true},
      {"list of mode -13", 2, -13, 21, 0, "CSVﾌｧｲﾙ 出力(202),印        刷(203),文字列サーチ(208)", false},
      {"card of a CD paper", 3, -1, 91, 10,
       "ラベル 印 刷(212),名  刺 印 刷(213),範囲指定削除(204),範囲指定入力(205)", false},
      {"card", 3, -1, 31, 0, "帳  票 印 刷(211),範囲指定削除(204),範囲指定入力(205),CSVﾌｧｲﾙ 出力(202)",
       true},
      {"set", 5, -1, 41, 0, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const F9Menu menu = ChooseF9Menu(c.type, c.openMode, c.number, c.windowKind);
    EXPECT_EQ(menu.commands, c.commands);
    EXPECT_EQ(!menu.heading.empty(), c.heading);
    if (c.heading) {
      EXPECT_EQ(menu.heading.rfind("メニューを表示します|", 0), 0u);
    }
  }
  EXPECT_EQ(FunctionKeyGuide(4, 3, 0), "最終頁を表示します");
  EXPECT_EQ(FunctionKeyGuide(4, 3, 2), "新規登録モードに移行します");
  EXPECT_EQ(FunctionKeyGuide(7, 2, 1), "カーソル(キャレット)行を削除します");
  EXPECT_EQ(FunctionKeyGuide(7, 5, 1), "表示頁を削除します");
  EXPECT_EQ(FunctionKeyGuide(10, 2, 1), "");
}

}  // namespace
