// The rules that turn a field of the sheet's design into survey questions:
// which fields count, the question text, the choices and the answer codes.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "designer/survey_transfer.h"

namespace {

SurveySourceField CheckField(const char* name, const char* contents, const char* values) {
  SurveySourceField f;
  f.areaCode = "0001";
  f.name = name;
  f.title = "問い";
  f.edit = "ﾁｪｯｸ";
  f.validTypes = "1110000000";
  f.choicePosition = "→";
  f.contents = contents;
  f.values = values;
  f.threshold = 10;
  f.maxMarks = 1;
  f.charCount = 3;
  return f;
}

TEST(SurveyTransferRules, ChoicesAndCodesOfCheckFields) {
  struct Case {
    const char* what;
    SurveySourceField field;
    const char* choices;
    const char* codes;
  };
  SurveySourceField inBox = CheckField("B", "A^BC", "");
  inBox.choicePosition = "Ｍ";
  SurveySourceField inBoxValues = CheckField("B", "ABC", "x^yz");
  inBoxValues.choicePosition = "Ｍ";
  SurveySourceField inBoxList = CheckField("B", "10,11,12", "");
  inBoxList.choicePosition = "Ｍ";
  SurveySourceField severalRows = CheckField("B", "ABC", "");
  severalRows.choicePosition = "Ｍ";
  severalRows.arrangement = "Ｘ";
  severalRows.maxMarks = 2;
  SurveySourceField noContents = CheckField("N", "", "");
  noContents.charCount = 12;
  SurveySourceField many = CheckField("K", "", "");
  many.charCount = 40;
  const Case cases[] = {
      {"a hidden first entry keeps its position", CheckField("Q", "^0,はい,いいえ", ""), "はい,いいえ", "23"},
      {"values as a comma list count what follows =", CheckField("Q", "はい,いいえ", "1=はい,2=いいえ"),
       "はい,いいえ", "はい,いいえ"},
      {"values with ^ lose it", CheckField("Q", "A,B", "1^2"), "A,B", "12"},
      {"values taken as they are", CheckField("Q", "A,B", "XY"), "A,B", "XY"},
      {"no contents: the first 文字数 codes", noContents, "", "1234567890AB"},
      {"past the digits and capitals", many, "",
       "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZabcd"},
      {"a ^ that is a trail byte stays (タ is 83 5E)", CheckField("Q", "A,B", "タイ"), "A,B", "タイ"},
      {"in the box: one choice a character, ^ gone", inBox, "A,B,C", "ABC"},
      {"in the box with values", inBoxValues, "A,B,C", "xyz"},
      {"in the box, a comma list stays one", inBoxList, "10,11,12", "10,11,12"},
      {"several marks in several rows: none", severalRows, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<SurveyQuestionRow> rows;
    std::string tooLong;
    ASSERT_EQ(MakeSurveyQuestions(c.field, TransferOptions(), rows, tooLong), 0);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].choices, c.choices);
    EXPECT_EQ(rows[0].codes, c.codes);
    EXPECT_EQ(rows[0].maxAnswers, c.field.maxMarks);
    EXPECT_EQ(rows[0].width, 12);
  }
}

TEST(SurveyTransferRules, ChoiceCodesRunIntoHalfWidthKana) {
  const std::string& codes = ChoiceCodeSequence();
  ASSERT_EQ(codes.size(), 10u + 26 + 26 + 45);
  EXPECT_EQ(codes.substr(62, 1), "ｱ");
  EXPECT_EQ(codes.substr(codes.size() - 1), "ﾝ");
  // A 64th visible choice gets ｲ.
  std::string contents;
  for (int i = 0; i < 64; ++i) contents += (i ? "," : "") + std::to_string(i);
  std::vector<SurveyQuestionRow> rows;
  std::string tooLong;
  ASSERT_EQ(MakeSurveyQuestions(CheckField("Q", contents.c_str(), ""), TransferOptions(), rows, tooLong), 0);
  EXPECT_EQ(rows[0].codes, codes.substr(0, 64));
}

TEST(SurveyTransferRules, RepeatedFieldsGiveOneQuestionAnIndex) {
  SurveySourceField f = CheckField("問", "A,B", "");
  f.arrayStart = 1;
  f.arrayCount = 3;
  std::vector<SurveyQuestionRow> rows;
  std::string tooLong;
  ASSERT_EQ(MakeSurveyQuestions(f, TransferOptions(), rows, tooLong), 0);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].itemName, "問01");
  EXPECT_EQ(rows[2].itemName, "問03");
  EXPECT_EQ(rows[1].question, "問い") << "beside its boxes the question stays";
  f.choicePosition = "Ｍ";
  f.arrayStart = 0;
  f.arrayCount = 2;
  rows.clear();
  ASSERT_EQ(MakeSurveyQuestions(f, TransferOptions(), rows, tooLong), 0);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].itemName, "問00");
  EXPECT_EQ(rows[1].question, "問い01") << "in its boxes the question is numbered";
}

TEST(SurveyTransferRules, ATooLongChoiceMakesNoQuestion) {
  const std::string entry(256, 'x');
  std::vector<SurveyQuestionRow> rows;
  std::string tooLong;
  EXPECT_EQ(MakeSurveyQuestions(CheckField("Q", ("A," + entry).c_str(), ""), TransferOptions(), rows, tooLong),
            -1);
  EXPECT_EQ(tooLong, entry);
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(MakeSurveyQuestions(CheckField("Q", ("A," + entry.substr(1)).c_str(), ""), TransferOptions(), rows,
                                tooLong),
            0);
}

TEST(SurveyTransferRules, QuestionTexts) {
  struct Case {
    const char* what;
    const char* title;
    const char* fill;
    bool trim;
    const char* question;
  };
  const Case cases[] = {
      {"a bar and a full-width blank go", "あなたの|　年齢は", "", false, "あなたの年齢は"},
      {"a bar and half-width blanks go", "AB|  CD|E", "", false, "ABCDE"},
      {"trailing blanks of both widths", "問い 　 ", "", false, "問い"},
      {"a bar that is a trail byte stays (ポ is 83 7C)", "ポ|ポ", "", false, "ポポ"},
      {"fill characters cut with the switch", "性別・・・・", "・", true, "性別"},
      {"fill characters kept without it", "性別・・", "・", false, "性別・・"},
      {"a half-width fill", "Q1....", ".", true, "Q1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TransferOptions options;
    options.fill = c.fill;
    options.trimFill = c.trim;
    EXPECT_EQ(CleanQuestionTitle(c.title, options), c.question);
  }
}

TEST(SurveyTransferRules, WhichFieldsBecomeQuestions) {
  struct Case {
    const char* what;
    const char* code;
    const char* name;
    const char* edit;
    const char* mask;
    int threshold;
    bool counted;
  };
  const Case cases[] = {
      {"a check field", "0001", "Q", "ﾁｪｯｸ", "1110000000", 10, true},
      {"a write-in field of digits", "0002", "AGE", "右詰", "1000000000", 10, true},
      {"a write-in field of letters", "0003", "NAME", "左詰", "0001000000", 10, false},
      {"katakana at position 10", "0003", "KANA", "左詰", "0000000001", 10, false},
      {"a text item", "T001", "TXT", "", "0000000000", 10, false},
      {"a picture", "B001", "PIC", "BMAP", "0000000000", 10, false},
      {"the key item", "0004", "ＩＤ", "０埋", "1000000000", 10, false},
      {"a field not read", "0005", "Q5", "ﾁｪｯｸ", "1110000000", -1, false},
      {"a short mask", "0006", "Q6", "ﾁｪｯｸ", "111", 10, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SurveySourceField f;
    f.areaCode = c.code;
    f.name = c.name;
    f.edit = c.edit;
    f.validTypes = c.mask;
    f.threshold = c.threshold;
    EXPECT_EQ(IsSurveyQuestionField(f, "ＩＤ"), c.counted);
  }
}

TEST(SurveyTransferRules, WriteInFieldsGiveNoChoices) {
  SurveySourceField f = CheckField("AGE", "A,B", "1,2");
  f.edit = "右詰";
  std::vector<SurveyQuestionRow> rows;
  std::string tooLong;
  ASSERT_EQ(MakeSurveyQuestions(f, TransferOptions(), rows, tooLong), 0);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].choices, "");
  EXPECT_EQ(rows[0].codes, "");
}

}  // namespace
