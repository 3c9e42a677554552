#include "foundation/sjis_text.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// Texts are Shift-JIS. 表 (95 5C), ソ (83 5C) and 能 (94 5C) end in the byte of
// "\"; ッ (83 62) ends in "b"; ア is 83 41.

namespace {

TEST(SjisText, ClassifiesEachByte) {
  struct Case {
    const char* what;
    const char* text;
    std::vector<int> kinds;  // n = 0 .. length + 1
  };
  const Case cases[] = {
      {"single bytes", "ab", {-1, 0, 0, -1}},
      {"pair between singles", "a表b", {-1, 0, 1, 2, 0, -1}},
      {"two pairs", "ソ能", {-1, 1, 2, 1, 2, -1}},
      {"lead byte then no trail byte", "\x81 a", {-1, 1, 0, 0, -1}},
      {"lone lead byte at the end", "a\x81", {-1, 0, 1, -1}},
      {"half-width kana are single", "ｱｲ", {-1, 0, 0, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<int> got;
    for (int n = 0; n < static_cast<int>(c.kinds.size()); ++n) got.push_back(GetDbcsByteKind(c.text, n));
    EXPECT_EQ(got, c.kinds);
  }
  EXPECT_EQ(GetDbcsByteKind("abc", -3), -1);
}

TEST(SjisText, FindsAndCountsOnlyWholeSingleByteCharacters) {
  EXPECT_EQ(ContainsChar("表ソ能", '\\'), 0);
  EXPECT_EQ(ContainsChar("表\\", '\\'), 1);
  EXPECT_EQ(ContainsChar("ッ", 'b'), 0);
  EXPECT_EQ(CountCharDbcs("\\表\\ソ\\", '\\'), 3);
  EXPECT_EQ(CountCharDbcs("a,b,,", ','), 3);
  EXPECT_EQ(CountSpaces(" a\tb\r\n表"), 4);
}

TEST(SjisText, CopiesSubstringsWithoutHalfCharacters) {
  struct Case {
    const char* what;
    const char* text;
    int start, length;
    const char* out;
    int result;
  };
  const Case cases[] = {
      {"lead byte of the next character dropped", "アイ", 1, 3, "ア", 0},
      {"whole text", "abc", 1, 3, "abc", 0},
      {"text ends first", "abc", 2, 5, "bc", -1},
      {"start 0", "abc", 0, 2, "", 0},
      {"start beyond the text", "abc", 4, 1, "", -1},
      {"length 0", "abc", 1, 0, "", 0},
      {"only a lead byte", "a表", 2, 1, "", 0},
      {"pair with trail 5C kept", "a表b", 2, 2, "表", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    char out[32] = "garbage";
    EXPECT_EQ(CopySubstring(out, c.text, c.start, c.length), c.result);
    EXPECT_STREQ(out, c.out);
  }
  EXPECT_EQ(SubstringToInt("2024/03/05", 6, 2), 3);
  EXPECT_EQ(SubstringToInt("2024/03/05", 1, 4), 2024);
  EXPECT_EQ(SubstringToInt("ab", 1, 2), 0);
  EXPECT_EQ(SubstringToInt("99999999999", 1, 11), 2147483647);
}

TEST(SjisText, SplitsAtSeparators) {
  struct Case {
    const char* what;
    const char* text;
    char separator;  // 0: SplitKeyValue
    const char* head;
    const char* tail;
  };
  const Case cases[] = {
      {"key and value", "A=1", 0, "A", "1"},
      {"key alone", "A", 0, "A", ""},
      {"value after the last =", "A=B=C", 0, "A", "C"},
      {"empty key", "=1", 0, "", "1"},
      {"Shift-JIS on both sides", "表=ソ", 0, "表", "ソ"},
      {"first position does not split", "\\a\\b", '\\', "\\a", "b"},
      {"trail byte is no separator", "表x", '\\', "表x", ""},
      {"trail byte b is no separator", "ッxbz", 'b', "ッx", "z"},
      {"comma", "a,b,c", ',', "a", "c"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    char head[32], tail[32];
    if (c.separator) {
      SplitAtChar(c.text, head, tail, c.separator);
    } else {
      SplitKeyValue(c.text, head, tail);
    }
    EXPECT_STREQ(head, c.head);
    EXPECT_STREQ(tail, c.tail);
  }
}

TEST(SjisText, SeparatesTrailingNumbers) {
  struct Case {
    const char* name;
    bool repeating;
    const char* base;
    int index;
  };
  const Case cases[] = {
      {"ITEM12", false, "ITEM", 12},
      {"ITEM", false, "ITEM", -1},
      {"表5", false, "表", 5},
      {"12", false, "", 12},
      {"Q05", true, "Q", 5},
      {"Q 5", true, "Q", 5},
      {"Q105", true, "Q1", 5},
      {"AB", true, "AB", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    char base[32];
    EXPECT_EQ(SplitItemNameIndex(base, c.name, c.repeating), c.index);
    EXPECT_STREQ(base, c.base);
    if (!c.repeating) {
      EXPECT_EQ(TrimTrailing(base, c.name), c.index);
      EXPECT_STREQ(base, c.base);
    }
  }
}

TEST(SjisText, EditsFullWidthTexts) {
  struct Case {
    const char* text;
    int (*edit)(char*);
    const char* result;
  };
  const Case cases[] = {
      {"ア　　", TrimTrailingWideSpaces, "ア"},
      {"a　b　", TrimTrailingWideSpaces, "a　b"},
      {"　", TrimTrailingWideSpaces, ""},
      {"ア　 ", TrimTrailingWideSpaces, "ア　 "},
      {"１－２＋３．４，", [](char* t) { return ReplaceSignMarks(t, 1); }, "１２３４"},
      {"１－２＋３．４，", [](char* t) { return ReplaceSignMarks(t, 0); }, "１＊２＊３＊４＊"},
      {"abc表xッ", [](char* t) { ToUpperDbcsSafe(t); return 0; }, "ABC表Xッ"},
      // The trail bytes of ア and ケ are "A" and "P".
      {"アンケートDB", [](char* t) { ToLowerDbcsSafe(t); return 0; }, "アンケートdb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    char text[32];
    strcpy(text, c.text);
    c.edit(text);
    EXPECT_STREQ(text, c.result);
  }
}

TEST(SjisText, ChoosesColumnTypeForRange) {
  EXPECT_EQ(RangeTypeForValues(0, 40000, 0), 6);
  EXPECT_EQ(RangeTypeForValues(-32768, 32767, 0), 3);
  EXPECT_EQ(RangeTypeForValues(0, 1, 2), 4);
  EXPECT_EQ(RangeTypeForValues(0, 3e9, 0), 4);
  EXPECT_EQ(RangeTypeForValues(-2147483648.0, 0, 0), 4);
  EXPECT_EQ(RangeTypeForValues(-2147483647.0, 2147483647.0, 0), 6);
}

TEST(SjisText, StepsDigitStringsWithCarry) {
  struct Case {
    const char* text;
    int step;
    const char* result;
  };
  const Case cases[] = {
      {"0129", 1, "0130"}, {"0130", -1, "0129"}, {"9999", 1, "0000"},
      {"0000", -1, "9999"}, {"001", 1, "002"},   {"A9", 1, "A0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    char text[16];
    strcpy(text, c.text);
    c.step > 0 ? IncrementDigitString(text) : DecrementDigitString(text);
    EXPECT_STREQ(text, c.result);
  }
}

TEST(SjisText, CentersText) {
  struct Case {
    const char* text;
    int width;
    const char* out;
  };
  const Case cases[] = {
      {"AB", 6, "  AB"}, {"AB", 7, "  AB"}, {"AB", 3, " AB"}, {"ABCD", 2, "ABCD"}, {"表", 4, " 表"},
  };
  for (const Case& c : cases) {
    char out[32];
    CenterPad(out, c.text, c.width);
    EXPECT_STREQ(out, c.out) << c.text << " in " << c.width;
  }
}

TEST(SjisText, TakesPathsApart) {
  struct Case {
    const char* path;
    const char* directory;
    const char* base;
    const char* extension;
  };
  const Case cases[] = {
      {"C:\\DATA\\X.MDB", "C:\\DATA", "X", "MDB"},
      {"D:\\A\\NAME.EXT.mdb", "D:\\A", "NAME.EXT", "mdb"},
      {"X.MDB", "", "X", "MDB"},
      {"#TABLE", "", "TABLE", ""},
      {"C:X.csv", "", "X", "csv"},
      {"C:\\DIR\\表ソ", "C:\\DIR", "表ソ", ""},
      {"C:\\表\\能.txt", "C:\\表", "能", "txt"},
      {"C:\\A.B\\NAME", "C:\\A.B", "NAME", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    char out[64];
    GetDirectoryPart(out, c.path);
    EXPECT_STREQ(out, c.directory);
    GetFileBaseName(out, c.path);
    EXPECT_STREQ(out, c.base);
    GetFileExtension(out, c.path);
    EXPECT_STREQ(out, c.extension);
  }
  char out[16];
  GetFileExtensionUpper(out, "a\\x.mdb");
  EXPECT_STREQ(out, "MDB");
}

TEST(SjisText, NarrowsFullWidthCharacters) {
  struct Case {
    const char* wide;
    const char* narrow;
  };
  const Case cases[] = {
      {"Ａ", "A"}, {"ｚ", "z"}, {"　", " "}, {"－", "-"}, {"ア", "ｱ"}, {"ン", "ﾝ"},
      {"ガ", "ｶﾞ"}, {"ポ", "ﾎﾟ"}, {"ヴ", "ｳﾞ"}, {"○", "o"}, {"×", "x"}, {"△", "*"},
      {"〒", "*"}, {"＊", "*"}, {"￥", "\\"}, {"「", "｢"}, {"ァ", "*"}, {"表", "*"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(WideCharToNarrow(c.wide), c.narrow) << c.wide;
  }
  EXPECT_STREQ(WideTextToNarrow("ＡＢ１ガ表"), "AB1ｶﾞ*");
  EXPECT_STREQ(WideTextToNarrow("Ａb－"), "Ab-");
  EXPECT_STREQ(WideTextToNarrow(""), "");
}

TEST(SjisText, WidensHalfWidthCharacters) {
  struct Case {
    char narrow;
    const char* wide;
  };
  const Case cases[] = {
      {'A', "Ａ"}, {'0', "０"}, {' ', "　"}, {'o', "ｏ"}, {'x', "ｘ"}, {'*', "＊"},
      {'\\', "￥"}, {'"', "”"}, {'\xB1', "ア"}, {'\xDE', "゛"}, {'~', ""}, {'\x81', ""},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(ToFullWidth(c.narrow), c.wide) << static_cast<int>(c.narrow);
  }
}

TEST(SjisText, EveryWideFormNarrowsBack) {
  int widened = 0;
  for (int b = 1; b < 256; ++b) {
    const char narrow[] = {static_cast<char>(b), '\0'};
    const char* wide = ToFullWidth(narrow[0]);
    if (!*wide) continue;
    ++widened;
    ASSERT_EQ(strlen(wide), 2u);
    EXPECT_STREQ(WideCharToNarrow(wide), narrow) << "byte " << b;
  }
  // 67 alphanumerics, 49 kana and 29 signs, less the two further "*" (of "△"
  // and "〒") and the "o" and "x" that the alphanumeric table takes first.
  EXPECT_EQ(widened, 67 + 49 + 29 - 4);
}

TEST(SjisText, WidensTexts) {
  struct Case {
    const char* text;
    const char* wide;     // NarrowTextToWide
    const char* combined; // ToHalfWidth
  };
  const Case cases[] = {
      {"ABC", "ＡＢＣ", "ＡＢＣ"},
      {"ｶﾞｷﾞ", "カ゛キ゛", "ガギ"},
      {"ﾊﾟ表", "ハ゜", "パ表"},
      {"ｱﾞ", "ア゛", "ア゛"},
      {"A表~B", "ＡＢ", "Ａ表Ｂ"},
      {"ソ\\", "￥", "ソ￥"},
      {"x\x81", "ｘ", "ｘ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    char out[64];
    EXPECT_EQ(NarrowTextToWide(out, c.text), static_cast<int>(strlen(c.wide)));
    EXPECT_STREQ(out, c.wide);
    EXPECT_EQ(ToHalfWidth(out, c.text), static_cast<int>(strlen(c.combined)));
    EXPECT_STREQ(out, c.combined);
  }
}

TEST(MixedWidthCut, PiecesNeverSplitACharacter) {
  struct Case {
    const char* what;
    const char* text;
    int start, length;
    const char* piece;
    int next;
  };
  const Case cases[] = {
      {"odd width on wide text", "ああ", 0, 3, "あ", 2},
      {"even width", "ああい", 0, 4, "ああ", 4},
      {"wide char after one narrow", "aあb", 0, 2, "a", 1},
      {"narrow only", "abc", 0, 2, "ab", 2},
      {"half-width kana are one byte", "ｱｲｳ", 1, 1, "ｲ", 2},
      {"width 1 still moves on", "あい", 2, 1, "い", 4},
      {"past the end", "ab", 2, 3, "", 2},
      {"last piece is short", "abcde", 3, 4, "de", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    char out[16];
    EXPECT_EQ(CountMixedWidth(c.start, c.length, out, c.text), c.next);
    EXPECT_STREQ(out, c.piece);
  }
}

TEST(MixedWidthCut, AnyWidthRebuildsTheText) {
  const std::string text = "表示ｱｲ,a－ソb能 ";
  for (int width = 1; width <= 7; ++width) {
    SCOPED_TRACE(width);
    std::string rebuilt;
    char out[16];
    for (int start = 0; start < static_cast<int>(text.size());) {
      const int next = CountMixedWidth(start, width, out, text.c_str());
      ASSERT_GT(next, start);
      EXPECT_LE(next - start, width < 2 ? 2 : width);
      rebuilt += out;
      start = next;
    }
    EXPECT_EQ(rebuilt, text);
  }
}

}  // namespace
