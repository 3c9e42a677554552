// Marks into answer codes and the edits of read values.
#include <gtest/gtest.h>

#include "reading/sheet_core.h"

namespace {

SheetFieldSpec Check(int boxes, const char* pattern = "", const char* condition = "",
                     int checkKind = 1, int boxShape = 0) {
  SheetFieldSpec field;
  field.editLetter = 'C';
  field.boxCount = boxes;
  field.codePattern = pattern;
  field.condition = condition;
  field.checkKind = checkKind;
  field.boxShape = boxShape;
  return field;
}

TEST(MarkCodes, MarksBecomeCodesByTheFieldsRules) {
  struct Case {
    const char* what;
    SheetFieldSpec field;
    const char* marks;
    const char* value;
    const char* pattern;
  };
  const Case cases[] = {
      {"the code sequence", Check(12), "1         1 ", "１Ａ", "*1_________1_"},
      {"boxes 10 and 36", Check(40), "         1                         1    ", "０Ｚ",
       "*_________1_________________________1____"},
      {"nothing marked", Check(3), "   ", "", "*___"},
      {"one code a box", Check(3, "abc"), "1 1", "ａｃ", "*1_1"},
      {"a pattern of another length is not used", Check(3, "ab"), "1 1", "１３", "*1_1"},
      {"a box without a code gives nothing", Check(3, "a^c"), "111", "ａｃ", "*1^1"},
      {"drawn marks take the pattern's byte", Check(3, "ab", "", 1, 23), "111", "ａｂ",
       "*111"},
      {"the condition's byte instead of the pattern's", Check(3, "1,2", "XYZ"), "1 1", "ＸＺ",
       "*1_1"},
      {"a \"^\" in the condition gives nothing", Check(3, "1,2", "X^Z"), "11 ", "Ｘ", "*1_"},
      {"choices taken as they are", Check(3, "", "〃"), "1 1", "１１", "*1_1"},
      {"a list of values", Check(3, "", "A,B,C"), " 1 ", "１", "*_1_"},
      {"a \"^\" box of the code sequence", Check(3, "", "^  "), "111", "２３", "*11"},
      {"two states with labels", Check(1, "", "0=N,1=Y", 3), "1", "Ｙ", "*1"},
      {"two states unmarked", Check(1, "", "0=N,1=Y", 3), " ", "Ｎ", "*_"},
      {"two states without labels", Check(2, "", "", 3), "1 ", "１０", "*1_"},
      {"an empty label is a blank", Check(1, "", "0=,1=Y", 3), " ", "　", "*_"},
      {"a long first label ends the list", Check(2, "", "0=NO,1=Y", 3), "1 ", "", "*1_"},
      {"a long later label keeps the first", Check(2, "", "1=Y,0=NO", 3), "1 ", "Ｙ", "*1_"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const CheckConversion got = ConvertCheckMarks(c.field, c.marks);
    EXPECT_EQ(got.value, c.value);
    EXPECT_EQ(got.pattern, c.pattern);
  }
}

SheetFieldSpec Field(char edit, int boxes, const char* pattern = "", int decimals = 0,
                     int checkKind = 1) {
  SheetFieldSpec field;
  field.editLetter = edit;
  field.boxCount = boxes;
  field.codePattern = pattern;
  field.decimals = decimals;
  field.checkKind = checkKind;
  return field;
}

TEST(MarkCodes, ValuesAreEditedByMaskBlanksAndEditLetter) {
  struct Case {
    const char* what;
    SheetFieldSpec field;
    const char* mask;
    const char* value;
    const char* replacements;
    const char* expected;
  };
  const Case cases[] = {
      {"write-in boxes are left empty", Field('L', 5), "1000000000", "　　　　　", "", ""},
      {"trailing blanks kept with decimals", Field('L', 3, "", 1), "0000000000", "１　　", "",
       "１　　"},
      {"signs of digits become asterisks", Field('L', 4), "1000000000", "－１．２", "",
       "＊１＊２"},
      {"signs of numbers are dropped", Field('L', 4, "", 0, 2), "1000000000", "－１．２", "",
       "１２"},
      {"katakana kept, look-alikes mended", Field('L', 6), "0001000000", "アりへしらA", "",
       "アリヘハヨ＊"},
      {"other characters in katakana", Field('L', 3), "0001000000", "ア１ガ", "", "ア＊ガ"},
      {"voicing mark of position 5", Field('L', 2), "0000100000", "゛ア", "", "いア"},
      {"leading blanks dropped", Field('D', 4), "0000000000", "　　１２", "", "１２"},
      {"zero fill", Field('Z', 5), "0000000000", "１　２", "", "００１０２"},
      {"zero fill leaves empty values", Field('Z', 5), "0000000000", "", "", ""},
      {"right aligned", Field('R', 4), "0000000000", "１２", "", "　　１２"},
      {"a replacement list", Field('L', 3), "0000000000", "ａ×ｂ", "a>1,x>2", "１２ｂ"},
      {"quotes protect commas", Field('L', 2), "0000000000", "，ｃ", "\",>-\",c>d", "－ｄ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(PostProcessValue(c.field, c.mask, c.value, c.replacements), c.expected);
  }
}

TEST(MarkCodes, EditPatternsOfWriteInFields) {
  struct Case {
    const char* what;
    SheetFieldSpec field;
    int kind;
    const char* value;
    const char* expected;
  };
  SheetFieldSpec wide = Field('L', 3, "　－　");
  wide.patternWidth = 1;
  const Case cases[] = {
      {"one literal, one character: cleared", Field('L', 8, "   -    "), 0, "１　　　　　　　",
       ""},
      {"postal code", Field('L', 8, "   -    "), 0, "１２３　４５６７", "１２３－４５６７"},
      {"zero filled through the pattern", Field('Z', 8, "   -    "), 0, "", "０００－００００"},
      {"pattern shorter than the boxes", Field('L', 4, " -"), 0, "１　３４", "１－３４"},
      {"two-byte pattern", wide, 0, "１　２", "１－２"},
      {"time of four", Field('L', 4, "  :"), 1, "１２３４", "１２：３４"},
      {"time of three", Field('L', 4, "  :"), 2, "１２３", "１：２３"},
      {"decimal point removed", Field('L', 4, "  . ", 1), 1, "１．５", "１５"},
      {"no pattern", Field('L', 4), 0, "１２", "１２"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ApplyEditPattern(c.field, c.kind, c.value), c.expected);
  }
}

TEST(MarkCodes, CodeListsAndDecimalPoints) {
  EXPECT_EQ(MarksToCode("*_1_", "01,02,03"), "02");
  EXPECT_EQ(MarksToCode("*11_", "01,02,03"), "*");
  EXPECT_EQ(MarksToCode("*1_1", "^,02,03"), "03");
  EXPECT_EQ(MarksToCode("*___", "01,02,03"), "");
  std::string out;
  EXPECT_EQ(InsertDecimalPoint(&out, "12345", 2), 0);
  EXPECT_EQ(out, "123.45");
  EXPECT_EQ(InsertDecimalPoint(&out, "5", 2), 0);
  EXPECT_EQ(out, "0.05");
  EXPECT_EQ(InsertDecimalPoint(&out, "-5", 1), 0);
  EXPECT_EQ(out, "-0.5");
  EXPECT_EQ(InsertDecimalPoint(&out, "1.5", 2), -1);
  EXPECT_EQ(out, "1.5");
}

}  // namespace
