// The sheet's design carried into its survey by the survey items screen's
// button "シート設計から転送" (201), as a user does it: the questions that
// replace the stored ones, a No or a refused field that leaves them as they
// were, and the tally of the menu counting the output table's records
// through the tally table the transfer made.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "designer/survey.h"
#include "foundation/db.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tally/tally.h"
#include "tests/program/program_fixture.h"
#include "tests/support/window_picture.h"

namespace {

using testing::ElementsAre;
using Row = std::vector<std::pair<const char*, std::string>>;

constexpr char kItemsCode[] = "KOMK-INP2";
// A tally run written to the CSV file of the print settings.
constexpr int kTallyToCsv = -1;
constexpr char kAsk[] = "〔シート設計〕で定義されている内容を転送入力します。";
constexpr char kReplace[] = "1 件のデータが既に登録されています。\n登録データを全て削除して入力を行いますか？";

class SurveyTransfer : public ProgramAtMenuTest {
 protected:
  void SetUp() override {
    ProgramAtMenuTest::SetUp();
    if (HasFatalFailure()) return;
    ChooseSample();
    AddQuestion();  // the question the transfer replaces
    // The design: the key item, a check field with its choices beside the
    // boxes, a repeated one with them in the boxes, a write-in field of
    // digits, a text item and a field of letters (neither is a question).
    AddField({{"領域コード", "0001"}, {"領域名", "ＩＤ"}, {"編集", "０埋"}, {"有効文字種", "1000000000"}});
    AddField({{"領域コード", "0002"}, {"領域名", "Q1"}, {"タイトル", "ご意見は|　ありますか・・"},
              {"編集", "ﾁｪｯｸ"}, {"有効文字種", "1110000000"}, {"背景色", "→"}, {"重ね文字", "はい,いいえ"},
              {"少数部桁数", "1"}, {"文字数", "2"}});
    AddField({{"領域コード", "0003"}, {"領域名", "Q"}, {"タイトル", "評価"}, {"編集", "ﾁｪｯｸ"},
              {"有効文字種", "1110000000"}, {"背景色", "Ｍ"}, {"重ね文字", "AB"}, {"少数部桁数", "1"},
              {"配列開始", "1"}, {"配列個数", "2"}});
    AddField({{"領域コード", "0004"}, {"領域名", "AGE"}, {"タイトル", "年齢"}, {"編集", "右詰"},
              {"有効文字種", "1000000000"}});
    AddField({{"領域コード", "0005"}, {"領域名", "NAME"}, {"編集", "左詰"}, {"有効文字種", "0001000000"}});
    AddField({{"領域コード", "T001"}, {"領域名", "TXT"}, {"有効文字種", "0000000000"}});
    WriteInstallationFile("KAITO.spc", "KAITO\r\nFIELD\r\n\"ID\",\"char*\",\"ID\",10,0,0,\"\",10\r\n"
                                       "\"Q1\",\"char*\",\"Q1\",4,0,0,\"\",4\r\n"
                                       "\"Q01\",\"char*\",\"Q01\",4,0,0,\"\",4\r\n"
                                       "\"Q02\",\"char*\",\"Q02\",4,0,0,\"\",4\r\n"
                                       "\"AGE\",\"char*\",\"AGE\",4,0,0,\"\",4\r\n"
                                       "INDEX\r\n\"ID\",\"\xe2\x96\xb3\"\r\nEND\r\n");
    ASSERT_EQ(LoadOutputDatabaseSettings(), 0) << testing::PrintToString(Boxes());
    // Three sheets as the reading run stores them.
    StoreRecord("0001", "1", "A", "B", "30");
    StoreRecord("0002", "2", "A", "A", "40");
    StoreRecord("0003", "1", "B", "", "50");
    ForgetBoxes();
  }

  void AddField(Row row) {
    const int t = db_open((folder() + "\\teigi").c_str(), "SAMPLE", "MUPA_FLD", kDbKindFile, "MUPADATA",
                          "MUPA_FLD", "");
    ASSERT_GE(t, 0);
    db_clear(t);
    SetColumnText(t, "ＯＣＲコード", "0001");
    SetColumnInt(t, "しきい値", 10);
    SetColumnInt(t, "配列開始", -1);
    for (const auto& [column, value] : row) SetColumnText(t, column, value.c_str());
    ASSERT_EQ(db_add(t), 0) << testing::PrintToString(Boxes());
    db_close(t);
  }

  void StoreRecord(const char* id, const char* q1, const char* q01, const char* q02, const char* age) {
    const int t =
        db_open(g_output.folder.c_str(), g_output.database.c_str(), "KAITO", kDbKindFile, "KAITO", "KAITO", "");
    ASSERT_GE(t, 0) << testing::PrintToString(Boxes());
    db_clear(t);
    SetColumnText(t, "ID", id);
    SetColumnText(t, "Q1", q1);
    SetColumnText(t, "Q01", q01);
    SetColumnText(t, "Q02", q02);
    SetColumnText(t, "AGE", age);
    ASSERT_EQ(db_add(t), 0);
    db_close(t);
  }

  // 調査項目 as stored: per question "項目名|質問内容|選択肢|カウントデータ|最大回答数|桁数".
  std::vector<std::string> StoredQuestions() {
    std::vector<std::string> rows;
    const int t =
        db_open((folder() + "\\teigi").c_str(), "SAMPLE", "調査項目", kDbKindFile, "調査項目", "調査項目", "");
    if (t < 0) return {"(no table)"};
    for (int rc = db_toppos(t, "質問コード"); rc == 0; rc = db_nread(t)) {
      rows.push_back(std::string(GetColumnText(t, "質問コード")) + ":" + GetColumnText(t, "項目名") + "|" +
                     GetColumnText(t, "質問内容") + "|" + GetColumnText(t, "選択肢") + "|" +
                     GetColumnText(t, "カウントデータ") + "|" + std::to_string(GetColumnInt(t, "最大回答数")) +
                     "|" + std::to_string(GetColumnInt(t, "桁数")));
    }
    db_close(t);
    return rows;
  }

  int OpenItems() {
    Command(kCmdSurveyItems);
    LogInIfAsked();
    return SlotOfCode(kItemsCode);
  }

  void ClickTransfer(int slot) { ClickOn(Slot(slot).window, CentreOf(slot, "TRANSFER")); }
};

TEST_F(SurveyTransfer, TheDesignReplacesTheQuestionsAndTheTallyCountsTheRecords) {
  const int slot = OpenItems();
  ASSERT_GE(slot, 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(FieldText(slot, "余白文字"), "・");
  boxes().Answer(IDYES);
  boxes().Answer(IDYES);
  ClickTransfer(slot);
  EXPECT_THAT(Boxes(), ElementsAre(kAsk, kReplace,
                                   "4件の質問項目を転送入力しました。\n集計対象外の質問項目は、画面上部の[×]のボタン"
                                   "で削除してください。"));
  EXPECT_THAT(StoredQuestions(), ElementsAre("001:Q1|ご意見はありますか|はい,いいえ|12|1|12",
                                             "002:Q01|評価01|A,B|AB|1|12", "003:Q02|評価02|A,B|AB|1|12",
                                             "004:AGE|年齢|||0|12"));
  // The list shows what was stored (and, with SHEETDESK_PICTURES naming a
  // folder, is saved there for a person to look at).
  EXPECT_EQ(FieldText(slot, "項目名01"), "Q1");
  EXPECT_EQ(FieldText(slot, "項目名03"), "Q02");
  if (const char* pictures = std::getenv("SHEETDESK_PICTURES")) {
    SaveWindowPicture(Slot(slot).window, std::string(pictures) + "\\survey-items.png");
  }
  ForgetBoxes();
  ClickOn(Slot(slot).window, CentreOf(slot, "FKEY00"));
  ASSERT_LT(SlotOfCode(kItemsCode), 0);

  // The tally menu opens on the records, and a simple tally counts them
  // from the tally table, a view of the output table.
  Command(kCmdTally);
  LogInIfAsked();
  ASSERT_GE(SlotOfCode("SPRN-MENU"), 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(g_survey.tallyTable, "KAITO_集計用");
  // Written as CSV: the counts are the run's, without a printer.
  g_printSettings.printItems = "000011";
  g_printSettings.file = folder() + "\\tally.csv";
  ASSERT_EQ(RunTally(kTallyToCsv, kTallySimple), 0) << testing::PrintToString(Boxes());
  const TallyCountTable& run = g_tallyCounts[kRunCounts];
  EXPECT_EQ(run.counts[1][1], 2);  // Q1 はい
  EXPECT_EQ(run.counts[1][2], 1);  // Q1 いいえ
  EXPECT_EQ(run.counts[2][1], 2);  // Q01 A
  EXPECT_EQ(run.counts[3][2], 1);  // Q02 B
  EXPECT_EQ(run.noAnswer[3], 1);

  // A record read later is counted without another transfer.
  StoreRecord("0004", "2", "B", "B", "60");
  ASSERT_EQ(RunTally(kTallyToCsv, kTallySimple), 0);
  EXPECT_EQ(g_tallyCounts[kRunCounts].counts[1][2], 2);
}

TEST_F(SurveyTransfer, ANoOrARefusedChoiceLeavesTheQuestionsAsTheyWere) {
  struct Case {
    const char* what;
    std::vector<int> answers;
    bool tooLongChoice;
    std::vector<std::string> boxes;
  };
  const std::string longEntry(256, 'x');
  const Case cases[] = {
      {"No to the first question", {IDNO}, false, {kAsk}},
      {"No to replacing the stored questions", {IDYES, IDNO}, false, {kAsk, kReplace}},
      {"a choice of 256 bytes: nothing replaced",
       {IDYES, IDYES},
       true,
       {kAsk, kReplace,
        "下記のような“255”バイトを超える「選択肢」は転送できません。\n" + longEntry}},
  };
  const std::vector<std::string> before = StoredQuestions();
  ASSERT_EQ(before.size(), 1u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.tooLongChoice) {
      AddField({{"領域コード", "0006"}, {"領域名", "Q6"}, {"編集", "ﾁｪｯｸ"}, {"有効文字種", "1110000000"},
                {"重ね文字", "A"}, {"重ね文字２", "," + longEntry.substr(0, 200)},
                {"重ね文字３", longEntry.substr(200)}});
    }
    const int slot = OpenItems();
    ASSERT_GE(slot, 0) << testing::PrintToString(Boxes());
    ForgetBoxes();
    for (int answer : c.answers) boxes().Answer(answer);
    ClickTransfer(slot);
    EXPECT_EQ(Boxes(), c.boxes);
    EXPECT_EQ(StoredQuestions(), before);
    ForgetBoxes();
    ClickOn(Slot(slot).window, CentreOf(slot, "FKEY00"));
    ASSERT_LT(SlotOfCode(kItemsCode), 0);
  }
}

}  // namespace
