// Loading the survey of a sheet definition on both drivers: its row, its
// questions up to the first without an item name (at most 200), their
// choice widths, codes and switches, choices from master tables, the page
// figures of each tally kind and the grouping items of cross tabulations.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "designer/survey.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "tests/foundation/db_test_support.h"

namespace {

using Texts = std::vector<std::string>;

struct Question {
  std::string name, text, choices, codes;
  int width = 0;
  int group1 = 0, group2 = 0, print3 = 0, break3 = 0;
};

class SurveyLoad : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    SetSpecFolder(GetProgramFolder().c_str());
    const int slot = db_alloc_slot("", kDb, "T1", -1);
    ASSERT_GT(slot, 0);
    for (const char* table : {"調査定義", "調査項目", "SHOP"}) {
      ExecSlotSql(slot, (std::string("drop table ") + table).c_str(), 1);
    }
    db_disconnect(slot);
    g_survey = SurveyState();
    g_survey.database = kDb;
    g_survey.dataDatabase = kDb;
    g_survey.outputTable = "回答";
    ForgetBoxes();
  }

  void AddQuestions(const std::vector<Question>& questions) {
    const int slot = db_open("", kDb, "調査項目", -1, "調査項目", "", "");
    ASSERT_GT(slot, 0);
    for (const Question& q : questions) {
      db_clear(slot);
      SetColumnText(slot, "質問コード", Code(++added_).c_str());
      SetColumnText(slot, "項目名", q.name.c_str());
      SetColumnText(slot, "質問内容", q.text.c_str());
      SetColumnText(slot, "選択肢", q.choices.c_str());
      SetColumnText(slot, "カウントデータ", q.codes.c_str());
      SetColumnInt(slot, "桁数", q.width);
      SetColumnInt(slot, "チェック01", q.group1);
      SetColumnInt(slot, "チェック02", q.group2);
      SetColumnInt(slot, "印字03", q.print3);
      SetColumnInt(slot, "改頁03", q.break3);
      ASSERT_EQ(db_add(slot), 0);
    }
    db_close(slot);
  }

  static std::string Code(int n) {
    char code[8];
    std::snprintf(code, sizeof code, "%03d", n);
    return code;
  }

  int added_ = 0;
};

TEST_P(SurveyLoad, QuestionsUpToTheFirstWithoutAName) {
  AddQuestions({
      {"Q1", "性別", "男性,女性", "12", 0},
      {"Q2", "地域", "北海道・東北,関東", "1,10", 3},
      {"Q3", "年齢", "10代", "1", 8},
      {"", "（区切り）", "", ""},
      {"Q5", "読まれない", "a", "1"},
  });
  ASSERT_EQ(LoadSurveyItems(), 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(g_survey.tallyTable, "回答_集計用");  // the survey's new row
  ASSERT_EQ(g_survey.questionCount, 3);
  const SurveyItem& sex = g_survey.items[1];
  EXPECT_EQ(sex.itemName, "Q1");
  EXPECT_EQ(sex.question, "性別");
  EXPECT_EQ(sex.choiceWidth, 4);  // 0 reads as 4
  EXPECT_EQ(sex.answerCount, 2);
  EXPECT_FALSE(sex.commaList);
  const SurveyItem& area = g_survey.items[2];
  EXPECT_EQ(area.choiceWidth, 12);  // widened to its widest label
  EXPECT_EQ(area.answerCount, 2);
  EXPECT_TRUE(area.commaList);
  EXPECT_EQ(g_survey.items[3].choiceWidth, 8);
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(SurveyLoad, TheSurveysWidthReplacesEveryQuestions) {
  AddQuestions(
      {{"Q1", "性別", "男性,女性", "12", 0}, {"Q2", "地域", "北海道・東北,関東", "1,10", 3}});
  const int definition = OpenSurveyDefinition();
  ASSERT_GT(definition, 0);
  SetColumnInt(definition, "チェック04", 6);
  ASSERT_EQ(db_update(definition), 0);
  db_close(definition);
  ASSERT_EQ(LoadSurveyItems(), 0);
  EXPECT_EQ(g_survey.items[1].choiceWidth, 6);
  EXPECT_EQ(g_survey.items[2].choiceWidth, 6);
}

TEST_P(SurveyLoad, MissingOrTooManyQuestionsAreReported) {
  EXPECT_EQ(LoadSurveyItems(), -1);
  EXPECT_EQ(Boxes(), Texts{"“調査項目”（質問や選択肢等）が登録されていません。"});
  ForgetBoxes();

  std::vector<Question> many;
  for (int i = 1; i <= 201; ++i) many.push_back({"Q" + std::to_string(i), "問", "a,b", "12"});
  AddQuestions(many);
  ASSERT_EQ(LoadSurveyItems(), 0);
  EXPECT_EQ(g_survey.questionCount, 200);
  EXPECT_EQ(g_survey.items[200].itemName, "Q200");
  EXPECT_EQ(Boxes(),
            Texts{"回答数（ｶｳﾝﾄ対象の項目数）が“200”を越えています。〔調査項目〕の内容を確認して"
                  "ください。"});
  ForgetBoxes();

  g_survey.database.clear();
  EXPECT_EQ(LoadSurveyItems(), -1);
  EXPECT_EQ(Boxes(), Texts{"処理を行う｢フォーマット定義ファイル｣が選択されていません。"});
}

TEST_P(SurveyLoad, QuestionsWithoutChoicesTakeThemFromTheirMaster) {
  AddQuestions({{"SHOP", "店舗", "", ""}, {"MEMO", "ご意見", "", ""}});
  Exec({"create table SHOP (CODE varchar(4), DATA varchar(20))",
        "insert into SHOP values ('02', '駅前店')", "insert into SHOP values ('01', '本店')"});
  ASSERT_EQ(LoadSurveyItems(), 0);
  EXPECT_EQ(g_survey.items[1].codes, "01,02");
  EXPECT_EQ(g_survey.items[1].choices, "本店,駅前店");
  EXPECT_EQ(g_survey.items[1].answerCount, 2);
  // No master table: the question stays without choices, quietly.
  EXPECT_EQ(g_survey.items[2].codes, "");
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(SurveyLoad, PagesOfATallyKind) {
  // Printed with a break, printed, not printed with a break, printed: the
  // last printed question has no break, so one page more than breaks.
  AddQuestions({{"Q1", "a", "x", "1", 0, 0, 0, 0, 1},
                {"Q2", "b", "x", "1", 0, 0, 0, 0, 0},
                {"Q3", "c", "x", "1", 0, 0, 0, 1, 1},
                {"Q4", "d", "x", "1", 0, 0, 0, 0, 0}});
  ASSERT_EQ(LoadSurveyItems(), 0);
  EXPECT_EQ(g_survey.pageBreaks[3], 1);
  EXPECT_EQ(g_survey.pages[3], 2);
  EXPECT_EQ(g_survey.pages[1], 1);
  // A page break set afterwards is read by the question list of kind 3.
  Exec({"update 調査項目 set 改頁03=1 where 項目名='Q4'",
        "update 調査項目 set 質問内容='新' where 項目名='Q2'"});
  ASSERT_EQ(LoadSurveyQuestionList(3), 0);
  EXPECT_EQ(g_survey.items[4].pageBreak[3], 1);
  EXPECT_EQ(g_survey.items[2].question, "新");
  EXPECT_EQ(g_survey.pageBreaks[3], 2);
  EXPECT_EQ(g_survey.pages[3], 2);
}

TEST_P(SurveyLoad, GroupingItemsOfCrossTabulations) {
  AddQuestions({{"性別", "a", "x", "1", 0, 1},
                {"地域ブロック名称区分", "b", "x", "1", 0, 1},
                {"年代", "c", "x", "1", 0, 0, 1}});
  ASSERT_EQ(LoadSurveyItems(), 0);
  // The last question marked for each wins; its name is cut to 16 bytes
  // in the first choice only.
  EXPECT_EQ(ReloadTallyQuestions(), 1);
  EXPECT_EQ(g_survey.groupItem[1], "地域ブロック名称区分");
  EXPECT_EQ(g_survey.groupItem[2], "年代");
  EXPECT_EQ(g_survey.tallyChoiceList, "単純集計,地域ブロック名称,地域ブロック名称区分|年代");
  const int slot = db_open("", kDb, "調査項目", -1, "調査項目", "", "");
  ASSERT_GT(slot, 0);
  EXPECT_EQ(SelectTallyQuestions(slot, 0), 0);  // unchanged
  db_close(slot);
  Exec({"update 調査項目 set チェック01=0, チェック02=0"});
  EXPECT_EQ(ReloadTallyQuestions(), 2);
  EXPECT_EQ(g_survey.groupItem[1], "");
  EXPECT_EQ(g_survey.tallyChoiceList, "");
}

// Grouping items named in the survey definition are marked on their
// questions, the last marks of each switch giving way, and named no more.
TEST_P(SurveyLoad, GroupingItemsNamedInTheDefinitionAreMarkedOnTheirQuestions) {
  AddQuestions({{"性別", "a", "x", "1", 0, 1}, {"地域", "b", "x", "1"}, {"年代", "c", "x", "1"}});
  const int definition = OpenSurveyDefinition();
  ASSERT_GE(definition, 0);
  db_close(definition);
  Exec({"update 調査定義 set グループ項目01='地域', グループ項目02='年代'"});
  ASSERT_EQ(SaveSurveyGroupItems(), 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(ReloadTallyQuestions(), 1);
  EXPECT_EQ(g_survey.groupItem[1], "地域") << "the last question marked as the first item";
  EXPECT_EQ(g_survey.groupItem[2], "年代");
  const int after = OpenSurveyDefinition();
  ASSERT_GE(after, 0);
  EXPECT_STREQ(GetColumnText(after, "グループ項目01"), "");
  EXPECT_STREQ(GetColumnText(after, "グループ項目02"), "");
  db_close(after);
  // Nothing named: the marks stay as they are.
  Exec({"update 調査項目 set チェック02=0"});
  ASSERT_EQ(SaveSurveyGroupItems(), 0);
  EXPECT_EQ(ReloadTallyQuestions(), 1);
  EXPECT_EQ(g_survey.groupItem[2], "");
}

INSTANTIATE_TEST_SUITE_P(Drivers, SurveyLoad, testing::Values(kDbKindFile, kDbKindServer),
                         KindName);

}  // namespace
