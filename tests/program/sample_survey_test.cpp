// The sample survey as tools/run.sh leaves it beside the program: the
// program starts with the sample chosen, the operator reads its pages from
// the workbench's feeder into the sample's output table, whose rows hold
// the marks filled in (the handwritten ages wait for the operator), and the
// tally menu counts them by the sample's survey; making the sample again
// keeps what is there.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "entry/list_form.h"
#include "foundation/files.h"
#include "designer/sheet_settings.h"
#include "program/program.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tally/tally.h"
#include "tests/program/program_fixture.h"
#include "tests/support/test_pictures.h"
#include "tests/support/window_picture.h"
#include "tools/sample_survey/sample_survey.h"
#include "tools/sheetgen/sheet_definition_db.h"

namespace {

using Row = std::map<std::string, std::string>;

// A tally run written to the CSV file of the print settings.
constexpr int kTallyToCsv = -1;

// The answer codes the run stores for a question's marks: the numbers of
// the marked boxes, or "*" (counted as over-selection) when more are marked
// than the question takes (the sample's one-mark questions have columns of
// one character).
std::string Codes(const std::string& marks, int most) {
  std::string codes;
  for (size_t box = 0; box < marks.size(); ++box) {
    if (marks[box] == '1') codes += static_cast<char>('1' + box);
  }
  return most > 0 && static_cast<int>(codes.size()) > most ? "*" : codes;
}

class SampleSurvey : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    if (HasFatalFailure()) return;
    // The feeder of the programs' folder is the sample's while the test
    // runs; one set up there before is put back afterwards.
    feederSettings_ = GetProgramFolder() + "\\SCANFEED.INI";
    hadFeeder_ = ReadWholeFile(feederSettings_.c_str(), previousFeeder_);
    DeleteFileA(feederSettings_.c_str());
    std::string why;
    {
      DbSession session(folder());
      ASSERT_EQ(MakeSampleSurvey(folder(), GetProgramFolder(), &why), 1) << why;
    }
    ASSERT_EQ(Start(), StartOutcome::kMenuOpen) << testing::PrintToString(Boxes());
  }

  void TearDown() override {
    DeleteFileA(feederSettings_.c_str());
    if (hadFeeder_) WriteBytes(feederSettings_, previousFeeder_);
    ProgramTest::TearDown();
  }

  std::vector<Row> OutputRows() {
    std::vector<Row> rows;
    const int t = db_open(g_output.folder.c_str(), g_output.database.c_str(), kSampleOutputTable, kDbKindFile,
                          kSampleOutputTable, kSampleOutputTable, "select * from SAMPLE order by ID");
    if (t < 0) return rows;
    for (int rc = db_toppos(t, "ID"); rc == 0; rc = db_nread(t)) {
      Row row;
      for (const char* column : {"ID", "Q1", "Q2", "Q3", "Q4", "AGE"}) row[column] = GetColumnText(t, column);
      rows.push_back(row);
    }
    db_close(t);
    return rows;
  }

  // Opens the workbench from the menu and reads the feeder with the
  // reading-run dialog's values as they stand: the workbench, or null
  // (the test failed) when a window did not open.
  HWND ReadTheFeeder() {
    ForgetBoxes();
    Command(kCmdOperation);
    const HWND bench = FindWindowA("KQE_READ", nullptr);
    EXPECT_TRUE(IsWindowVisible(bench)) << testing::PrintToString(Boxes());
    if (!IsWindowVisible(bench)) return nullptr;
    SavePictureOnRequest(bench, "sample_workbench");
    ClickItem(bench, "OCRREAD");
    const HWND dialog = FindWindowA("Def", nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog)) << testing::PrintToString(Boxes());
    if (!IsWindowVisible(dialog)) return nullptr;
    ClickItem(dialog, "DEF01");
    RunPostedMessages();
    return bench;
  }

  std::string feederSettings_, previousFeeder_;
  bool hadFeeder_ = false;
};

TEST_F(SampleSurvey, ItsPagesAreReadFromTheWorkbenchIntoItsOutputTable) {
  EXPECT_EQ(DefinitionName(), kSampleDefinition) << "chosen as the program starts";
  const HWND bench = ReadTheFeeder();
  ASSERT_TRUE(bench);
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  SavePictureOnRequest(bench, "sample_workbench_read");

  const SheetDefinition sheet = SampleSurveySheet();
  std::map<std::string, int> most;
  for (const SheetFieldRow& field : sheet.fields) most[field.name] = field.decimals;
  const std::vector<Row> rows = OutputRows();
  ASSERT_EQ(rows.size(), static_cast<size_t>(kSamplePageCount));
  int toCorrect = 0;
  // Answers a simple tally counts: question (1 to 4) and choice (from 1),
  // and the questions' empty and over-marked answers.
  std::map<std::pair<int, int>, int> counted;
  std::map<int, int> empty, over;
  for (int k = 0; k < kSamplePageCount; ++k) {
    SCOPED_TRACE(k);
    const GeneratedSheet page = GenerateSheet(sheet, SampleSurveyPage(k));
    char id[8];
    std::snprintf(id, sizeof id, "%04d", k + 1);
    EXPECT_EQ(rows[k].at("ID"), id);
    for (const ExpectedField& field : page.expected) {
      if (field.name == "ID") continue;
      if (field.name == "AGE") {
        EXPECT_EQ(rows[k].at("AGE"), "") << "typed in from the image of " << field.written;
        continue;
      }
      const std::string codes = Codes(field.marks, most[field.name]);
      EXPECT_EQ(rows[k].at(field.name), codes) << field.name << " marked \"" << field.marks << "\"";
      toCorrect += codes.empty() || codes == "*";
      const int question = field.name[1] - '0';
      if (codes.empty()) ++empty[question];
      if (codes == "*") ++over[question];
      for (const char code : codes) {
        if (code != '*') ++counted[{question, code - '0'}];
      }
    }
  }
  EXPECT_GE(toCorrect, 4) << "answers for the operator to correct";
  EXPECT_THAT(FieldText(SlotOfWindow(bench), "OCRMSG"), testing::HasSubstr("読取枚数：20枚"));
  // The corrections start from the workbench: its list button opens the
  // window of the sample's entry screens, made with the sample, and that
  // window the list of the records read.
  ClickItem(bench, "LISTINP");
  const HWND screens = FindWindowA("ScrSet", nullptr);
  ASSERT_TRUE(IsWindowVisible(screens)) << testing::PrintToString(Boxes());
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  SavePictureOnRequest(screens, "sample_entry_screens");
  ClickItem(screens, "SCRDISP");
  const HWND list = FindWindowA("Lst", nullptr);
  ASSERT_TRUE(IsWindowVisible(list)) << testing::PrintToString(Boxes());
  EXPECT_EQ(LineKey(1), "0001");
  EXPECT_EQ(LineKey(2), "0002");
  SavePictureOnRequest(list, "sample_list");
  PostMessageA(list, WM_CLOSE, 0, 0);
  RunPostedMessages();
  ClickItem(bench, "PRJESC");

  // The survey the tallies count: a question of each mark field and the age.
  const int items = db_open(DefinitionFolder().c_str(), DefinitionName().c_str(), "調査項目", kDbKindFile,
                            "調査項目", "調査項目", "");
  ASSERT_GE(items, 0);
  std::vector<std::string> questions;
  for (int rc = db_toppos(items, "質問コード"); rc == 0; rc = db_nread(items)) {
    questions.push_back(GetColumnText(items, "項目名"));
  }
  db_close(items);
  EXPECT_THAT(questions, testing::ElementsAre("Q1", "Q2", "Q3", "Q4", "AGE"));

  // The tally menu on the read records; a simple tally written as CSV
  // counts every answer as it was marked.
  Command(kCmdTally);
  LogInIfAsked();
  ASSERT_GE(SlotOfCode("SPRN-MENU"), 0) << testing::PrintToString(Boxes());
  g_printSettings.printItems = "000011";
  g_printSettings.file = folder() + "\\tally.csv";
  ASSERT_EQ(RunTally(kTallyToCsv, kTallySimple), 0) << testing::PrintToString(Boxes());
  const TallyCountTable& run = g_tallyCounts[kRunCounts];
  const int choices[] = {0, 2, 6, 5, 6};
  for (int question = 1; question <= 4; ++question) {
    SCOPED_TRACE(question);
    for (int choice = 1; choice <= choices[question]; ++choice) {
      EXPECT_EQ(run.counts[question][choice], (counted[{question, choice}])) << "choice " << choice;
    }
    EXPECT_EQ(run.noAnswer[question], empty[question]);
    EXPECT_EQ(run.over[question], over[question]);
  }
  EXPECT_EQ(over[3], 3) << "the sheets marked twice where one mark is asked for";

  // Made again (run.sh on every start): the sample and its read rows stay.
  std::string why;
  EXPECT_EQ(MakeSampleSurvey(folder(), GetProgramFolder(), &why), 0) << why;
  EXPECT_EQ(OutputRows().size(), static_cast<size_t>(kSamplePageCount));
}

// The output table's description goes with the sample's entry screens; a
// reading run that finds none writes it before the first sheet, and the
// sheets are read as if it had been there.
TEST_F(SampleSurvey, AReadWithoutItsTablesDescriptionWritesIt) {
  const std::string description = std::string(GetSpecFolder()) + "\\" + kSampleOutputTable + ".spc";
  ASSERT_TRUE(DeleteFileA(description.c_str())) << description;
  const HWND bench = ReadTheFeeder();
  ASSERT_TRUE(bench);
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  EXPECT_NE(GetFileAttributesA(description.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(OutputRows().size(), static_cast<size_t>(kSamplePageCount));
  EXPECT_THAT(FieldText(SlotOfWindow(bench), "OCRMSG"), testing::HasSubstr("読取枚数：20枚"));
}

// A key item no field bears (the round of the survey) is asked before the
// list opens; the value given becomes the sheet's and the default of the
// list's field, and is offered again the next time; "ｷｬﾝｾﾙ" opens no list.
TEST_F(SampleSurvey, TheValuesAskedBeforeReadingBecomeTheListsDefaults) {
  SheetDefinition round;
  SheetKeyRow key;
  key.code = "00";  // before the numbered key ID
  key.name = "KAI";
  key.title = "回";
  key.width = 2;
  key.initial = "1";
  round.keys.push_back(key);
  ASSERT_EQ(WriteSheetDefinition(DefinitionFolder().c_str(), DefinitionName().c_str(), round), 0);
  Command(kCmdOperation);
  const HWND bench = FindWindowA("KQE_READ", nullptr);
  ASSERT_TRUE(IsWindowVisible(bench)) << testing::PrintToString(Boxes());
  const auto stored = [](const char* table, const char* query, const char* order, const char* column) {
    const SheetDefinitionRef& sheet = g_sheetDefinition;
    const int t = db_open(sheet.folder.c_str(), sheet.database.c_str(), table, sheet.kind,
                          std::strcmp(table, "S_FIELD") == 0 ? g_screenDefs.specFile.c_str() : kSheetSpecSet,
                          std::strcmp(table, "S_FIELD") == 0 ? "FLDTBL" : table, "%s", query);
    std::string value = "(no row)";
    if (t >= 0 && db_toppos(t, order) == 0) value = GetColumnText(t, column);
    if (t >= 0) db_close(t);
    return value;
  };
  struct Case { const char* what; bool rebuild; const char* typed; const char* button; const char* kept; };
  const Case cases[] = {
      {"rebuilt with the new key item, 3 given", true, "3", "DEF01", "3"},
      {"offered again, and cancelled", false, "5", "DEF00", "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ForgetBoxes();
    ClickItem(bench, "LISTINP");
    const HWND screens = FindWindowA("ScrSet", nullptr);
    ASSERT_TRUE(IsWindowVisible(screens)) << testing::PrintToString(Boxes());
    if (c.rebuild) {
      ClickItem(screens, "更新");
      boxes().Answer(IDYES);  // rebuild the screens from the sheet
      boxes().Answer(IDYES);  // and discard their earlier edits
    }
    ClickItem(screens, "SCRDISP");
    const HWND dialog = FindWindowA("Def", nullptr);
    ASSERT_TRUE(IsWindowVisible(dialog)) << testing::PrintToString(Boxes());
    char title[64] = "";
    GetWindowTextA(dialog, title, sizeof title);
    EXPECT_STREQ(title, "入力画面の初期値");
    const int slot = SlotOfWindow(dialog);
    EXPECT_EQ(FieldText(slot, "DEFVAL01"), c.rebuild ? "1" : "3");
    EXPECT_LT(ResolveFieldRef(slot, "CNT_CODE"), 0) << "no start number: nothing is read";
    EXPECT_LT(ResolveFieldRef(slot, "スキャナ設定画面"), 0);
    ClickItem(dialog, "DEFVAL01");
    PressKeyInFocus(VK_END);
    PressKeyInFocus(VK_BACK);
    PressKeyInFocus(VK_BACK);
    TypeInFocus(c.typed);
    ClickItem(dialog, c.button);
    RunPostedMessages();
    EXPECT_FALSE(IsWindowVisible(dialog));
    const HWND list = FindWindowA("Lst", nullptr);
    EXPECT_EQ(IsWindowVisible(list) != FALSE, std::string(c.button) == "DEF01") << testing::PrintToString(Boxes());
    EXPECT_EQ(stored("MUPA_IDX", "select * from MUPA_IDX where 項目名='KAI'", "ＩＤＸコード", "初期値"), c.kept);
    EXPECT_EQ(stored("S_FIELD", "select * from S_FIELD where SCRCODE='101' and FLDNAME='KAI'", "FLDCODE", "FLDDEFLT"), c.kept);
    if (IsWindowVisible(list)) {
      SavePictureOnRequest(list, "list_after_defaults");
      PostMessageA(list, WM_CLOSE, 0, 0);
      RunPostedMessages();
    }
    EXPECT_TRUE(IsWindowEnabled(bench));
  }
}

}  // namespace

namespace {

// No sheet's draws are another's a few draws later: each has a stream of
// its own.
TEST(SampleSurveyPages, EachPageDrawsItsOwnStream) {
  constexpr int kDraws = 4;
  for (int a = 0; a < kSamplePageCount; ++a) {
    for (int b = 0; b < kSamplePageCount; ++b) {
      if (a == b) continue;
      SheetRandom later(SampleSurveyPage(a).seed);
      for (int shift = 1; shift <= 32; ++shift) {
        later.Next();
        SheetRandom copy = later;
        SheetRandom other(SampleSurveyPage(b).seed);
        int same = 0;
        for (int draw = 0; draw < kDraws; ++draw) same += copy.Next() == other.Next();
        EXPECT_LT(same, kDraws) << "page " << b + 1 << " is page " << a + 1 << " " << shift << " draws later";
      }
    }
  }
}

using SampleSurveyMaking = ProgramTest;

// A page that cannot be written (a folder stands in its place) leaves no
// sample to keep: neither pages nor the definition; once the page can be
// written the next start makes the sample.
TEST_F(SampleSurveyMaking, APageThatCannotBeWrittenLeavesNothingInPlace) {
  const std::string sample = folder() + "\\" + kSampleFolder;
  const std::string feed = sample + "\\feed";
  const std::string blocker = feed + "\\PAGE00011.BMP";
  ASSERT_EQ(EnsureDirectoryPath(blocker.c_str()), 0);
  std::string why;
  {
    DbSession session(folder());
    EXPECT_EQ(MakeSampleSurvey(folder(), folder(), &why), -1);
  }
  EXPECT_NE(why.find("PAGE00011.BMP"), std::string::npos) << why;
  EXPECT_NE(FileExists((sample + "\\" + kSampleDefinition + ".mdb").c_str()), 0) << "a definition kept";
  EXPECT_NE(FileExists((feed + "\\PAGE00001.BMP").c_str()), 0) << "a page of the failed sample";

  ASSERT_TRUE(RemoveDirectoryA(blocker.c_str()));
  {
    DbSession session(folder());
    EXPECT_EQ(MakeSampleSurvey(folder(), folder(), &why), 1) << why;
  }
  EXPECT_EQ(FileExists((feed + "\\PAGE00020.BMP").c_str()), 0);
}

}  // namespace
