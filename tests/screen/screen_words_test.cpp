// The word tables of screen and field rows and the rules that follow from
// them: first match, whole words, the defaults of unlisted words.
#include "screen/screen_words.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(ScreenWords, ScreenTypes) {
  struct Case {
    const char* word;
    int openMode;
    int type, subKind, listC;
    bool ocrCard, setEdit;
  };
  const Case cases[] = {
      {"N", -1, 1, 0, 0, false, false},       {"ﾒﾆｭｰ", -1, 1, 0, 0, false, false},
      {"CI", -1, 3, 0, 0, false, false},      {"ｶｰﾄﾞ", -1, 3, 0, 0, false, false},
      {"SU", -1, 5, 0, 0, false, false},      {"ｾｯﾄE", -1, 5, 0, 0, false, true},
      {"MF", -1, 6, 0, 0, false, false},      {"ﾌｫｰﾑ", -1, 6, 0, 0, false, false},
      {"PROJ", -1, 8, 0, 0, false, false},    {"OCRｶｰﾄﾞ", -1, 3, 0, 0, true, false},
      {"SI", -1, 2, 1, 0, false, false},      {"ﾘｽﾄI", -1, 2, 2, 0, false, false},
      {"ﾘｽﾄC", -1, 2, 4, 0, false, false},    {"ﾘｽﾄc", -1, 2, 4, 1, false, false},
      {"ﾘｽﾄE", -1, 2, 0, 0, false, false},    {"", -1, 2, 0, 0, false, false},
      {"ﾒﾆｭｰ ", -1, 2, 0, 0, false, false},   // words are compared whole
      {"ﾒﾆｭｰ", -2, 6, 0, 0, false, false},    {"ｶｰﾄﾞ", -10, 8, 0, 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.word) + " mode " + std::to_string(c.openMode));
    const ScreenTypeChoice got = ScreenTypeFromWord(c.word, c.openMode);
    EXPECT_EQ(got.type, c.type);
    EXPECT_EQ(got.listSubKind, c.subKind);
    EXPECT_EQ(got.listCFlag, c.listC);
    EXPECT_EQ(got.ocrCard, c.ocrCard);
    EXPECT_EQ(got.setEdit, c.setEdit);
  }
}

TEST(ScreenWords, PaperAndPositionWords) {
  const PaperChoice a4 = PaperFromWord("A4縦");
  EXPECT_TRUE(a4.known);
  EXPECT_EQ(a4.windowKind, 3);
  EXPECT_DOUBLE_EQ(a4.widthAdded, 1008);
  EXPECT_DOUBLE_EQ(a4.heightAdded, 1425.6);
  EXPECT_FALSE(a4.maximized);
  const PaperChoice cd = PaperFromWord("CD横");
  EXPECT_EQ(cd.windowKind, 10);
  EXPECT_TRUE(cd.maximized);
  const PaperChoice exec = PaperFromWord("EXEC");
  EXPECT_EQ(exec.windowKind, 13);
  EXPECT_EQ(exec.widthCode, -5);
  EXPECT_EQ(exec.heightCode, -5);
  const PaperChoice panel = PaperFromWord("PANL");
  EXPECT_EQ(panel.windowKind, -1) << "the kind stays";
  EXPECT_EQ(panel.heightCode, -8);
  EXPECT_TRUE(PaperFromWord("IMAG").imageSized);
  EXPECT_FALSE(PaperFromWord("A5縦").known);

  struct Pos {
    const char* word;
    bool known;
    int x, y;
  };
  for (const Pos& p : {Pos{"最大", true, -5, -5}, Pos{"右上", true, -3, 0}, Pos{"左上", true, 0, 0},
                       Pos{"右下", true, -3, -4}, Pos{"左下", true, 0, -4}, Pos{"中央", true, -2, -2},
                       Pos{"ｶｰｿﾙ", true, -7, -7}, Pos{"上", false, 0, 0}}) {
    SCOPED_TRACE(p.word);
    const PositionChoice got = PositionFromWord(p.word);
    EXPECT_EQ(got.known, p.known);
    EXPECT_EQ(got.x, p.x);
    EXPECT_EQ(got.y, p.y);
  }
}

TEST(ScreenWords, InputWordsOfScreens) {
  EXPECT_EQ(InputStyleFromWord("入力"), 1);
  EXPECT_EQ(InputStyleFromWord("EDIT"), 1);
  EXPECT_EQ(InputStyleFromWord("ﾎﾞﾀﾝ"), 2);
  EXPECT_EQ(InputStyleFromWord("BUTT"), 2);
  EXPECT_EQ(InputStyleFromWord("edit"), 0);
  EXPECT_EQ(CursorMoveFromWord("→"), 1);
  EXPECT_EQ(CursorMoveFromWord("↓"), 2);
  EXPECT_EQ(CursorMoveFromWord("D"), 2);
  EXPECT_EQ(CursorMoveFromWord("P"), 3);
  EXPECT_EQ(CursorMoveFromWord("X"), 1);
  EXPECT_EQ(CardEntryStateFromWord("△"), 0);
  EXPECT_EQ(CardEntryStateFromWord("Ｎ"), 2);
  EXPECT_EQ(CardEntryStateFromWord("N"), 1);
  EXPECT_EQ(FrameFlagFromWord("無", 1), 0);
  EXPECT_EQ(FrameFlagFromWord("有", 0), 1);
  EXPECT_EQ(FrameFlagFromWord("", 0), 0);
  EXPECT_EQ(FrameFlagFromWord("", 1), 1);
}

TEST(ScreenWords, FontUnitsAndRowPitch) {
  // SCRCSIZ 0 on a 640-pixel screen: 7 for a menu, 6 for a card.
  EXPECT_EQ(ScreenFontUnit(0, 1, 1), 7);
  EXPECT_EQ(ScreenFontUnit(0, 3, 1), 6);
  EXPECT_EQ(ScreenFontUnit(0, 1, 3), 8);
  EXPECT_EQ(ScreenFontUnit(10, 2, 4), 10);
  EXPECT_EQ(ScreenRowPitch(0, 8), 25);
  EXPECT_EQ(ScreenRowPitch(-3, 7), 22);
  EXPECT_EQ(ScreenRowPitch(30, 7), 30);
}

TEST(ScreenWords, ListRowsFitTheItemTable) {
  EXPECT_EQ(ListRowCount(0, 0, 5), 10) << "LINCNT below 1 gives 10";
  EXPECT_EQ(ListRowCount(20, 0, 5), 20);
  // 30 fields, LINCNT 100: the first h with 31h + 53 < 2100 is 66.
  EXPECT_EQ(ListRowCount(100, 0, 30), 65);
  EXPECT_EQ(ListRowCount(100, 2100, 30), 0) << "no row fits";
}

TEST(ScreenWords, FieldWordTables) {
  struct Case {
    const char* what;
    int got, want;
  };
  const Case cases[] = {
      {"edit 中央", EditCharCode("中央"), 'S'},       {"edit SLAS", EditCharCode("SLAS"), '/'},
      {"edit unlisted", EditCharCode("上詰"), 'L'},    {"sheet edit ０埋", EditLetterFromWord("０埋"), 'Z'},
      {"sheet edit ﾁｪｯｸ", EditLetterFromWord("ﾁｪｯｸ"), 'C'},
      {"sheet edit unlisted", EditLetterFromWord("中央"), 'L'},
      {"kind 年齢", FieldAttrCode("年齢"), 'A'},       {"kind 正数", FieldAttrCode("正数"), 's'},
      {"kind CBOX", FieldAttrCode("CBOX"), 'c'},       {"kind OMRF", FieldAttrCode("OMRF"), 'o'},
      {"kind unlisted", FieldAttrCode("漢字"), 'X'},   {"colour empty", ColorWordCode(""), 13},
      {"colour 赤", ColorWordCode("赤"), 2},           {"colour F2", ColorWordCode("F2"), 111},
      {"colour unlisted", ColorWordCode("桃"), -1},    {"title ↑", TitlePlacementCode("↑"), 3},
      {"title PF", TitlePlacementCode("PF"), 12},      {"title unlisted", TitlePlacementCode("?"), 1},
      {"state ×", AttrWordCode("×", false), 1},        {"state Ｓ", AttrWordCode("Ｓ", false), 2},
      {"state ○ on an open screen", AttrWordCode("○", false), 0},
      {"state ○ on a protecting screen", AttrWordCode("○", true), 1},
      {"frame empty", AttrWordIndex(""), 0},           {"frame MUPA", AttrWordIndex("MUPA"), 7},
      {"frame unlisted", AttrWordIndex("二重"), -1},   {"font PG", ChoiceFontCode("PG"), 3},
      {"font unlisted", ChoiceFontCode("M"), 0},       {"image →", ImagePlacementFromWord("→"), 2},
      {"image ×", ImagePlacementFromWord("×"), -1},    {"image ↓", ImagePlacementFromWord("↓"), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.got, c.want);
  }
  bool centred = true;
  EXPECT_EQ(DecimalsFromScreenName("開封", &centred), 21);
  EXPECT_FALSE(centred);
  EXPECT_EQ(DecimalsFromScreenName("送信", &centred), 30);
  EXPECT_TRUE(centred);
  EXPECT_EQ(DecimalsFromScreenName("KQQL-MENU", &centred), -1);
  EXPECT_FALSE(centred);
}

}  // namespace
