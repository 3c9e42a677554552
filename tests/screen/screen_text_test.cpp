// Screen texts against the screen-table specification the program ships:
// what each line stores, and the refusals of texts that would not store as
// written.
#include "screen/screen_text.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The shipped specification (made from data/sjis/ beside the tests).
ScreenTableColumns ShippedColumns(const char* file = "FSCRTBL3.SPC") {
  std::string text;
  EXPECT_TRUE(ReadWholeFile(file, text)) << file;
  ScreenTableColumns columns;
  columns.screen = ParseSpecColumns(text, "SCRTBL").columns;
  columns.field = ParseSpecColumns(text, "FLDTBL").columns;
  columns.line = ParseSpecColumns(text, "LINTBL").columns;
  return columns;
}

bool Has(const std::vector<SpecColumn>& columns, const char* name) {
  for (const SpecColumn& c : columns) {
    if (c.name == name) return true;
  }
  return false;
}

TEST(ScreenText, ShippedSpecificationsDescribeEveryColumnTheEngineReads) {
  const ScreenTableColumns v3 = ShippedColumns();
  for (const char* name : {"SCRNAME", "SCRCODE", "SCRTYPE", "SCRTBL", "SCRDBS", "SCREDT", "PFORM",
                           "SCRINP", "CURMOV", "SCRFRM", "SCRPOS", "PAPSIZE", "SCRTITLE",
                           "SCRKEYFLD", "SCRFKEY00", "SCRFKEY15", "SCRCSIZ", "SCRLPCH", "SCRWID",
                           "SCRHIG", "SCRX", "SCRY", "SCRIDX", "LINCNT", "SCRNO", "SCRTRN",
                           "BORATE", "READER", "COMPORT", "SCRLSCRL"}) {
    EXPECT_TRUE(Has(v3.screen, name)) << name;
  }
  EXPECT_FALSE(Has(v3.screen, "SCRFKEY16"));
  for (const char* name :
       {"SCRCODE", "FLDCODE", "FLDNAME", "FLDTITLE", "FLDLOCK", "FLDJOIN", "FLDGMSG", "FLDKOHO",
        "FLDDECR", "FLDEDT", "FLDTTL", "FLDTYPE", "FLDCCOL", "FLDBCOL", "FLDEXEC", "FLDSFLD",
        "FLDLST", "FLDCLCNT", "FLDARSTT", "FLDARCNT", "FLDARHOK", "FLDSMSU", "FLDRMSU", "FLDCSIZ",
        "FLDHIG", "FLDX", "FLDY", "FLDXSFT", "FLDYSFT", "FLDDEC", "FLDCD", "FLDPFLG", "FLDRCD",
        "FLDIDX", "FLDMIN", "FLDMAX", "FLDPNO", "FLDTFLG", "FLDDEFLT", "FLDJUMP", "FLDUNQ",
        "FLDTNO"}) {
    EXPECT_TRUE(Has(v3.field, name)) << name;
  }
  for (const char* name : {"SCRCODE", "LINCODE", "LINSTYLE", "LINSIZE", "LINX1", "LINY1", "LINX2",
                           "LINY2"}) {
    EXPECT_TRUE(Has(v3.line, name)) << name;
  }
  const ScreenTableColumns v2 = ShippedColumns("FSCRTBL2.SPC");
  EXPECT_FALSE(Has(v2.field, "FLDEXEC"));
  EXPECT_FALSE(Has(v2.field, "FLDSFLD"));
  EXPECT_EQ(v2.field.size() + 2, v3.field.size());
  EXPECT_EQ(v2.screen.size(), v3.screen.size());
}

const char kMenu[] =
    "# a small menu\n"
    "[screen]\n"
    "SCRCODE  = TEST-MENU\r\n"
    "SCRTYPE  = ﾒﾆｭｰ\n"
    "SCRTITLE = \"  見出し  \"\n"
    "SCRFKEY  = 2111\n"
    "SCRCSIZ  = 8\n"
    "\n"
    "[field]\n"
    "FLDCODE  = 001\n"
    "FLDTITLE = 終了\n"
    "FLDCD    = #99\n"
    "FLDJOIN  = T2.A=T1.B\n"
    "[field]\n"
    "FLDCODE  = 002\n"
    "FLDCD    = \"#\"\n"
    "FLDKOHO  = \"\"\n"
    "[line]\n"
    "LINCODE  = 001\n"
    "LINSTYLE = L\n"
    "LINX2    = -40\n";

TEST(ScreenText, StoresEveryColumnOfEveryRow) {
  ScreenText text;
  ScreenTextError error;
  ASSERT_TRUE(ParseScreenText(kMenu, ShippedColumns(), text, error)) << error.lineNumber << " "
                                                                     << error.message;
  EXPECT_EQ(text.Code(), "TEST-MENU");
  EXPECT_EQ(text.screen.Value("SCRTYPE"), "ﾒﾆｭｰ");
  EXPECT_EQ(text.screen.Value("SCRTITLE"), "  見出し  ");
  EXPECT_EQ(text.screen.Value("SCRFKEY00"), "2");
  EXPECT_EQ(text.screen.Value("SCRFKEY03"), "1");
  EXPECT_EQ(text.screen.Value("SCRFKEY04"), "");
  EXPECT_EQ(text.screen.Value("SCRCSIZ"), "8");
  EXPECT_EQ(text.screen.Value("SCRLPCH"), "0") << "numbers left out store 0";
  ASSERT_EQ(text.fields.size(), 2u);
  EXPECT_EQ(text.fields[0].Value("SCRCODE"), "TEST-MENU");
  EXPECT_EQ(text.fields[0].Value("FLDCD"), "c");  // code 99
  EXPECT_EQ(text.fields[0].Value("FLDJOIN"), "T2.A=T1.B");
  EXPECT_EQ(text.fields[0].lineNumber, 9);
  EXPECT_EQ(text.fields[1].Value("FLDCD"), "#") << "a quoted # is the character";
  ASSERT_EQ(text.lines.size(), 1u);
  EXPECT_EQ(text.lines[0].Value("LINX2"), "-40");
  EXPECT_EQ(text.lines[0].Value("SCRCODE"), "TEST-MENU");
  EXPECT_EQ(text.fields[0].values.size(), ShippedColumns().field.size());
}

TEST(ScreenText, ControlCodesAreStoredAsBytes) {
  ScreenText text;
  ScreenTextError error;
  const std::string source = "[screen]\nSCRCODE=M\n[field]\nFLDCODE=1\nFLDCD=#11\n"
                             "[field]\nFLDCODE=2\nFLDCD=#0\n[field]\nFLDCODE=3\nFLDCD=#177\n";
  ASSERT_TRUE(ParseScreenText(source, ShippedColumns(), text, error)) << error.message;
  EXPECT_EQ(text.fields[0].Value("FLDCD"), "\x0b");
  EXPECT_EQ(text.fields[1].Value("FLDCD"), "");
  EXPECT_EQ(text.fields[2].Value("FLDCD"), "\xb1") << "a half-width kana byte";
}

TEST(ScreenText, RefusesWhatWouldNotStoreAsWritten) {
  struct Case {
    const char* what;
    std::string text;
    int line;
    std::string message;
  };
  const std::string head = "[screen]\nSCRCODE = S1\n";
  const Case cases[] = {
      {"no screen block", "# nothing\n", 0, "[screen] がありません。"},
      {"value before any block", "SCRCODE = S1\n", 1, "[screen] の前に値があります。"},
      {"field before screen", "[field]\nFLDCODE=1\n", 1, "[field] の前に [screen] がありません。"},
      {"two screens", head + "[screen]\nSCRCODE=S2\n", 3, "[screen] が二つあります。"},
      {"unknown block", head + "[fields]\n", 3,
       "“[fields]”は [screen]、[field]、[line] のどれでもありません。"},
      {"no equals sign", head + "SCRTYPE ﾒﾆｭｰ\n", 3, "“SCRTYPE ﾒﾆｭｰ”は「項目 = 値」の形ではありません。"},
      {"unknown column", head + "SCRCOLOR = 1\n", 3, "項目“SCRCOLOR”はこの表にありません。"},
      {"field column in the screen block", head + "FLDNAME = A\n", 3,
       "項目“FLDNAME”はこの表にありません。"},
      {"column twice", head + "SCRNO = 1\nSCRNO = 2\n", 4, "項目“SCRNO”が二度あります。"},
      {"SCRCODE in a field", head + "[field]\nFLDCODE=1\nSCRCODE=S2\n", 5,
       "SCRCODE は [screen] にだけ書きます。"},
      {"screen without code", "[screen]\nSCRTYPE=N\n", 1, "[screen] に SCRCODE がありません。"},
      {"field without code", head + "[field]\nFLDNAME=A\n", 3, "[field] に FLDCODE がありません。"},
      {"line without code", head + "[line]\nLINX1=1\n", 3, "[line] に LINCODE がありません。"},
      {"field code twice", head + "[field]\nFLDCODE=1\n[field]\nFLDCODE=1\n", 5,
       "FLDCODE“1”が二度あります。"},
      {"word in a number", head + "SCRNO = 1a\n", 3, "SCRNO の値は整数ではないか、範囲を越えています。"},
      {"number beyond a short", head + "SCRNO = 40000\n", 3,
       "SCRNO の値は整数ではないか、範囲を越えています。"},
      {"text too long", head + "SCRTITLE = " + std::string(101, 'x') + "\n", 3,
       "SCRTITLE の値は 100 バイトを越えています。"},
      {"double-byte text counted in bytes", head + "SCRINP = △△\n", 3,
       "SCRINP の値は 2 バイトを越えています。"},
      {"open quote", head + "SCRTITLE = \"abc\n", 3, "引用符が閉じていません。"},
      {"two characters in a character", head + "SCRTRN = 12\n", 3, "SCRTRN は半角一文字です。"},
      {"double-byte character in a character", head + "SCRTRN = ○\n", 3,
       "SCRTRN は半角一文字です。"},
      {"code beyond a byte", head + "[field]\nFLDCODE=1\nFLDCD=#300\n", 5,
       "FLDCD の文字コードは #0 から #255 までです。"},
      {"lead byte alone", head + "[field]\nFLDCODE=1\nFLDCD=#130\n", 5,
       "FLDCD の文字コード #130 は一文字として保存できません。"},
      {"too many keys", head + "SCRFKEY = 22222222221220001\n", 3, "SCRFKEY は半角 16 文字までです。"},
      {"lead byte in a character", head + "SCRTRN = \x82\n", 3,
       "SCRTRN の文字は一文字として保存できません。"},
      {"byte without a character", head + "SCRTRN = \xFD\n", 3,
       "SCRTRN の文字は一文字として保存できません。"},
      {"lead byte among the keys", head + "SCRFKEY = 12\x82\n", 3, "SCRFKEY は半角 16 文字までです。"},
      {"half a character at the end", head + "SCRTITLE = 表\x95\n", 3,
       "SCRTITLE の値に全角文字の半分だけのバイトがあります。"},
      {"half a character quoted", head + "SCRTITLE = \"\x95 \"\n", 3,
       "SCRTITLE の値に全角文字の半分だけのバイトがあります。"},
  };
  ScreenTableColumns columns = ShippedColumns();
  // A real column, as descriptions may declare one.
  columns.screen.push_back({"RATE", kColumnDouble, 8, ' ', 8, 2});
  for (const char* value : {"nan", "inf", "-infinity", "1e999", "1e-999", "0x1p4", "+", "1e",
                            ".5e+"}) {
    SCOPED_TRACE(value);
    ScreenText text;
    ScreenTextError error;
    EXPECT_FALSE(ParseScreenText(head + "RATE = " + value + "\n", columns, text, error));
    EXPECT_EQ(error.message, "RATE の値は数値ではありません。");
  }
  for (const char* value : {"1.5", "-0.25", "3", "2.5e3", ".5", "1E-3"}) {
    SCOPED_TRACE(value);
    ScreenText text;
    ScreenTextError error;
    EXPECT_TRUE(ParseScreenText(head + "RATE = " + value + "\n", columns, text, error))
        << error.message;
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScreenText text;
    ScreenTextError error;
    EXPECT_FALSE(ParseScreenText(c.text, columns, text, error));
    EXPECT_EQ(error.lineNumber, c.line);
    EXPECT_EQ(error.message, c.message);
  }
}

}  // namespace
