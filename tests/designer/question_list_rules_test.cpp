// The texts of the question list: question files and clipboard texts read
// whole or refused at their first bad line, the codes of new list rows, the
// number of choices, item names and the fitting of question texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "designer/question_list_rules.h"

namespace {

using Texts = std::vector<std::string>;

std::string Rows(const QuestionTextResult& r) {
  std::string out;
  for (const QuestionCsvRow& row : r.rows) out += row.name + "|" + row.title + "|" + row.choices + ";";
  return out;
}

TEST(QuestionCsv, ReadsTwoAndThreeFieldFiles) {
  struct Case {
    const char* what;
    std::string text;
    std::string rows;
  };
  const Case cases[] = {
      {"three fields, CR LF", "Q1,性別は？,\"男,女\"\r\nQ2,年代は？,\"10代,20代,30代\"\r\n",
       "Q1|性別は？|男,女;Q2|年代は？|10代,20代,30代;"},
      {"two fields, no name", "性別は？,\"男,女\"\n満足度は？,12345", "|性別は？|男,女;|満足度は？|12345;"},
      {"empty lines skipped", "\nQ1,a,b\n\n\nQ2,c,d\n", "Q1|a|b;Q2|c|d;"},
      {"unquoted choices: the first one only", "Q1,質問,はい,いいえ\n", "Q1|質問|はい;"},
      {"trail bytes 0x5C and 0x7C stay whole", "表示,\"ソ－,表\"\n", "|表示|ソ－,表;"},
      {"longest fields fit", std::string(30, 'n') + "," + std::string(200, 't') + "," + std::string(255, 'c'),
       std::string(30, 'n') + "|" + std::string(200, 't') + "|" + std::string(255, 'c') + ";"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QuestionTextResult r = ReadQuestionCsv(c.text);
    EXPECT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(Rows(r), c.rows);
  }
}

TEST(QuestionCsv, RefusesAWholeFileAtItsFirstBadLine) {
  struct Case {
    const char* what;
    std::string text;
    int line;
    std::string error;
  };
  const std::string title201(201, 't');
  const Case cases[] = {
      {"a two-field line in a three-field file", "Q1,a,b\n\nQ2,c\nQ3,d,e\n", 3, "矛盾する行が存在します。行番号3\nQ2,c"},
      {"one field a line", "Q1\nQ2\n", 1,
       "項目がひとつだけの行は取り込めません。「質問,選択肢」または「項目名,質問,選択肢」の形で入力してください。\n"
       "行番号1\nQ1"},
      {"a question of 201 bytes", "Q1,a,b\nQ2," + title201 + ",c\n", 2,
       "“" + title201 + "”の桁数が200を越えました。\n行番号2"},
      {"an item name of 31 bytes", std::string(31, 'n') + ",a,b\n", 1,
       "“" + std::string(31, 'n') + "”の桁数が30を越えました。\n行番号1"},
      {"choices of 256 bytes", "a,\"" + std::string(256, 'c') + "\"\n", 1,
       "“" + std::string(256, 'c') + "”の桁数が255を越えました。\n行番号1"},
      {"a line of 1024 bytes", "a,b\n" + std::string(1020, 'x') + ",y,z\n", 2, "１行が1023バイトを越えました。\n行番号2"},
      {"a lead byte without its trail", "a,b\nc,\x82\n", 2, "Shift-JISとして読めない文字があります。\n行番号2"},
      {"a byte without a character", "a,b\nc,d\xFF\n", 2, "Shift-JISとして読めない文字があります。\n行番号2"},
      {"nothing but empty lines", "\r\n\r\n", 0, "取り込む質問がありません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QuestionTextResult r = ReadQuestionCsv(c.text);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.rows.empty()) << "nothing of a refused file is taken";
    EXPECT_EQ(r.line, c.line);
    EXPECT_EQ(r.error, c.error);
  }
}

TEST(ClipboardText, SplitsIntoTheWindowsLines) {
  std::string many;
  for (int k = 1; k <= 300; ++k) many += "line" + std::to_string(k) + "\r\n";
  const QuestionTextResult kept = SplitClipboardText(many);
  ASSERT_TRUE(kept.ok());
  ASSERT_EQ(kept.lines.size(), 256u) << "300 lines keep the first 256";
  EXPECT_EQ(kept.lines.back(), "line256");
  EXPECT_EQ(SplitClipboardText("  a\tb\r\n　　全角\n\nc").lines, (Texts{"ab", "全角", "", "c"}));
  EXPECT_TRUE(SplitClipboardText("").lines.empty());

  struct Refusal {
    const char* what;
    std::string text;
    int line;
  };
  const Refusal refusals[] = {
      {"a line of 513 bytes", "a\n" + std::string(513, 'x'), 2},
      {"a lead byte without its trail", "a\nb\nc\x81", 3},
  };
  for (const Refusal& c : refusals) {
    SCOPED_TRACE(c.what);
    const QuestionTextResult r = SplitClipboardText(c.text);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.lines.empty());
    EXPECT_EQ(r.line, c.line);
  }
}

TEST(QuestionListCodes, FollowTheLastCodeInItsWidth) {
  struct Case {
    const char* what;
    std::string last;
    size_t count;
    Texts codes;  // empty: refused
  };
  const Case cases[] = {
      {"an empty list starts at 01", "", 3, {"01", "02", "03"}},
      {"after a list of the fields", "012", 2, {"013", "014"}},
      {"after an import", "05", 1, {"06"}},
      {"up to 99", "98", 1, {"99"}},
      {"not past 99", "98", 2, {}},
      {"up to 999", "998", 1, {"999"}},
      {"a full list of 999", "999", 1, {}},
      {"more than 999 into an empty list", "", 1000, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string error;
    EXPECT_EQ(NextListCodes(c.last, c.count, error), c.codes);
    EXPECT_EQ(error.empty(), !c.codes.empty()) << error;
  }
  std::string error;
  const Texts hundred = NextListCodes("", 100, error);
  ASSERT_EQ(hundred.size(), 100u);
  EXPECT_EQ(hundred.front(), "001") << "more than 99 into an empty list: three digits keep the order";
  EXPECT_EQ(hundred.back(), "100");
  EXPECT_EQ(NextListCodes("98", 2, error), Texts{});
  EXPECT_EQ(error, "登録できる質問は、一覧コード“99”までの99件です。\n（登録済み98件、追加2件）");
}

TEST(QuestionChoices, CountedByCommasOrBytes) {
  EXPECT_EQ(CountQuestionChoices("はい,いいえ"), 2);
  EXPECT_EQ(CountQuestionChoices("12345"), 5);
  EXPECT_EQ(CountQuestionChoices("a,,c"), 3);
  EXPECT_EQ(CountQuestionChoices(""), 1);
  EXPECT_EQ(LongestCsvEntry("はい,いいえ"), 6u);
  EXPECT_EQ(LongestCsvEntry("ab,c"), 2u);
  EXPECT_EQ(LongestCsvEntry(""), 0u);
}

TEST(QuestionItemNames, JudgedAsTheOutputColumnsTheyBecome) {
  struct Case {
    const char* name;
    ItemNameVerdict verdict;
  };
  const Case cases[] = {
      {"Q1", ItemNameVerdict::kAccepted},        {"性別", ItemNameVerdict::kAccepted},
      {"", ItemNameVerdict::kEmpty},             {"Q(1)", ItemNameVerdict::kForbiddenChar},
      {"Q 1", ItemNameVerdict::kForbiddenChar},  {"Q｢1｣", ItemNameVerdict::kForbiddenChar},
      {"2Q", ItemNameVerdict::kLeadingDigit},    {"２問", ItemNameVerdict::kLeadingDigit},
      {"date", ItemNameVerdict::kReserved},      {"IMAGE", ItemNameVerdict::kReserved},
      {"IMG001", ItemNameVerdict::kReserved},    {"表ソ", ItemNameVerdict::kAccepted},
      {"order", ItemNameVerdict::kReserved},     {"GROUP", ItemNameVerdict::kReserved},
      {"Check", ItemNameVerdict::kReserved},     {"SELECT", ItemNameVerdict::kReserved},
      {"values", ItemNameVerdict::kReserved},    {"ORDERS", ItemNameVerdict::kAccepted},
      {"ＯＲＤＥＲ", ItemNameVerdict::kAccepted},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(JudgeQuestionItemName(c.name), c.verdict);
  }
}

TEST(QuestionTexts, PaddedWrappedTrimmedAndFitted) {
  const std::string ten = "あいうえおかきくけこ";
  struct Case {
    const char* what;
    std::string text, fill;
    int width;
    std::string padded;
  };
  const Case cases[] = {
      {"ten to fifteen with a full-width fill", ten, "・", 15, ten + "・・・・・"},
      {"a half-width fill twice as often", ten, "*", 15, ten + "**********"},
      {"longer than the width: wrapped", ten, "・", 4, "あいうえ|おかきく|けこ"},
      {"a half-width character never splits a pair", "aあいう", "・", 1, "a|あ|い|う"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string padded = PadQuestionText(c.text, c.width, c.fill);
    EXPECT_EQ(padded, c.padded);
    EXPECT_EQ(TrimQuestionText(padded, c.fill), c.text) << "trimming gives the text back";
  }
  EXPECT_EQ(TrimQuestionText("表|示・", "・"), "表示") << "a line break between characters goes";
  EXPECT_EQ(TrimQuestionText("\x95\x7c・", "・"), "\x95\x7c") << "0x7C as a trail byte is no line break";

  EXPECT_EQ(FitTextToWidth("あいう", 5), "あいう　　");
  EXPECT_EQ(FitTextToWidth("あいうえお", 3), "あいう");
  EXPECT_EQ(FitTextToWidth("aあい", 2), "aあ ") << "an odd width ends with a half-width blank";
  EXPECT_EQ(FitTextToWidth("", 2), "　　");
}

}  // namespace
