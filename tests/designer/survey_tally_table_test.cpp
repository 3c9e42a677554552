// The tally table of a survey on both drivers: made as a view of the output
// table when it is missing, so that records stored later are counted too;
// made again when a column was added to the output table; a table of that
// name left alone; not made without an output table.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "designer/survey.h"
#include "designer/survey_transfer.h"
#include "foundation/db.h"
#include "tests/foundation/db_test_support.h"

namespace {

class SurveyTallyTable : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    DropTables();
    g_survey = SurveyState();
    g_survey.dataDatabase = kDb;
    g_survey.dataKind = kind();
    g_survey.outputTable = "回答";
    g_survey.tallyTable = "回答_集計用";
    ForgetBoxes();
  }
  void TearDown() override {
    if (!IsSkipped()) DropTables();
    DbTest::TearDown();
  }

  void DropTables() {
    const int slot = db_alloc_slot("", kDb, "T1", kind());
    ASSERT_GT(slot, 0);
    ExecSlotSql(slot, "drop view 回答_集計用", 1);
    ExecSlotSql(slot, "drop table 回答_集計用", 1);
    ExecSlotSql(slot, "drop table 回答", 1);
    db_disconnect(slot);
  }

  // Rows of the tally table as "ID=Q1" in ID order; "(none)" when it cannot
  // be opened.
  std::string TallyRows() {
    const int slot = db_open_nocreate("", kDb, "回答_集計用", kind(), "", "", "");
    if (slot < 0) return "(none)";
    std::string rows;
    for (int rc = db_toppos(slot, "ID"); rc == 0; rc = db_nread(slot)) {
      rows += std::string(GetColumnText(slot, "ID")) + "=" + GetColumnText(slot, "Q1") + ";";
    }
    db_close(slot);
    return rows;
  }
};

TEST_P(SurveyTallyTable, AViewOfTheOutputTableKeptInStep) {
  EXPECT_EQ(EnsureSurveyTallyTable(), -1) << "no output table yet";
  EXPECT_EQ(TallyRows(), "(none)");
  Exec({"create table 回答 (ID varchar(10), Q1 varchar(4))", "insert into 回答 values ('0001','1')"});
  ASSERT_EQ(EnsureSurveyTallyTable(), 0);
  EXPECT_EQ(TallyRows(), "0001=1;");
  Exec({"insert into 回答 values ('0002','2')"});
  EXPECT_EQ(TallyRows(), "0001=1;0002=2;") << "a record read later is in it";
  ASSERT_EQ(EnsureSurveyTallyTable(), 0) << "made once, then found";
  EXPECT_EQ(Boxes(), std::vector<std::string>());
}

TEST_P(SurveyTallyTable, AColumnAddedToTheOutputTableReachesTheView) {
  Exec({"create table 回答 (ID varchar(10), Q1 varchar(4))", "insert into 回答 values ('0001','1')"});
  ASSERT_EQ(EnsureSurveyTallyTable(), 0);
  Exec({"alter table 回答 add column Q2 varchar(4)", "update 回答 set Q2 = '7'"});
  ASSERT_EQ(EnsureSurveyTallyTable(), 0);
  const int slot = db_open_nocreate("", kDb, "回答_集計用", kind(), "", "", "");
  ASSERT_GE(slot, 0);
  std::string names;
  GetSlotColumnNames(slot, names);
  EXPECT_EQ(names, "ID,Q1,Q2");
  ASSERT_EQ(db_toppos(slot, "ID"), 0);
  EXPECT_STREQ(GetColumnText(slot, "Q2"), "7");
  db_close(slot);
  EXPECT_EQ(Boxes(), std::vector<std::string>());
}

TEST_P(SurveyTallyTable, ATableOfThatNameIsLeftAlone) {
  Exec({"create table 回答 (ID varchar(10), Q1 varchar(4))", "insert into 回答 values ('0001','1')",
        "create table 回答_集計用 (ID varchar(10), Q1 varchar(4))", "insert into 回答_集計用 values ('0009','3')"});
  ASSERT_EQ(EnsureSurveyTallyTable(), 0);
  EXPECT_EQ(TallyRows(), "0009=3;");
  Exec({"alter table 回答 add column Q2 varchar(4)"});
  ASSERT_EQ(EnsureSurveyTallyTable(), 0) << "columns differ, but a table is not made again";
  EXPECT_EQ(TallyRows(), "0009=3;");
  g_survey.outputTable.clear();
  EXPECT_EQ(EnsureSurveyTallyTable(), -1) << "no output table named";
}

INSTANTIATE_TEST_SUITE_P(Drivers, SurveyTallyTable, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
