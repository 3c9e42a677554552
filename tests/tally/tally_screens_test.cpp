// The tally's screens the program ships (data/screens) load into a screen
// database on both drivers, with the screen numbers and field names the
// main window reads them by.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <set>

#include "foundation/db.h"
#include "foundation/files.h"
#include "screen/screen.h"
#include "tests/tally/survey_fixture.h"

namespace {

using Names = std::set<std::string>;

class TallyScreens : public SurveyDbTest {
 protected:
  void SetUp() override {
    SurveyDbTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    const int slot = db_alloc_slot("", kDb, "T1", -1);
    for (const char* table : {kScreenTable, kFieldTable, "S_LINE"}) {
      ExecSlotSql(slot, (std::string("drop table ") + table).c_str(), 1);
    }
    db_disconnect(slot);
    // The screen database is the test's, on its driver.
    g_screenDefs.screenDbKind = kind();
    ForgetBoxes();
  }
  void TearDown() override {
    g_screenDefs.screenDbKind = kDbKindFile;
    SurveyDbTest::TearDown();
  }

  // FLDNAME and FLDCD of a screen's field rows.
  std::map<std::string, int> Fields(const char* code) {
    std::map<std::string, int> fields;
    const int slot = db_open("", kDb, kFieldTable, -1, "FSCRTBL3", "FLDTBL", "");
    EXPECT_GT(slot, 0);
    for (int rc = db_search(slot, code, "SCRCODE"); rc == 0; rc = db_nread(slot)) {
      fields[GetColumnText(slot, "FLDNAME")] =
          static_cast<unsigned char>(GetColumnChar(slot, "FLDCD"));
    }
    db_close(slot);
    return fields;
  }

  int ScreenNumber(const char* code) {
    const int slot = db_open("", kDb, kScreenTable, -1, "FSCRTBL3", "SCRTBL", "");
    const int number = db_search(slot, code, "SCRCODE") == 0 ? GetColumnInt(slot, "SCRNO") : -1;
    db_close(slot);
    return number;
  }
};

TEST_P(TallyScreens, LoadWithTheNamesTheMainWindowReads) {
  ASSERT_GE(LoadScreenTexts((GetProgramFolder() + "\\screens").c_str(), "", kDb), 6)
      << testing::PrintToString(Boxes());
  EXPECT_EQ(ScreenNumber("SPRN-MENU"), 36);
  for (const char* code : {"SPRN-SET", "SPRN-SET2", "SPRN-SET3"}) EXPECT_EQ(ScreenNumber(code), 37);
  EXPECT_EQ(ScreenNumber("GCOL-SET"), 61);
  EXPECT_EQ(ScreenNumber("GCOL-SET2"), 64);

  // The tally menu: an item code per output kind, the write-in list (51),
  // the survey items (34) and closing (100).
  std::set<int> codes;
  for (const auto& [name, code] : Fields("SPRN-MENU")) {
    if (code != 0) codes.insert(code);
  }
  EXPECT_EQ(codes, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 34, 51, 100}));

  // The colour screens: a field per slot, its item code the slot.
  for (const char* code : {"GCOL-SET", "GCOL-SET2"}) {
    SCOPED_TRACE(code);
    const std::map<std::string, int> fields = Fields(code);
    for (int slot = 1; slot <= 30; ++slot) {
      char name[8];
      std::snprintf(name, sizeof name, "GCOL%02d", slot);
      ASSERT_EQ(fields.count(name), 1u) << name;
      EXPECT_EQ(fields.at(name), slot);
    }
  }

  // The question lists: the print switch and page break of a tally kind,
  // and the grouping items of cross tabulations.
  auto names = [&](const char* code) {
    Names set;
    for (const auto& [name, cd] : Fields(code)) set.insert(name);
    return set;
  };
  const Names common = {"質問コード", "項目名", "質問内容", "印字01", "改頁01"};
  Names second = common;
  second.insert("チェック01");
  Names third = second;
  third.insert("チェック02");
  EXPECT_EQ(names("SPRN-SET"), common);
  EXPECT_EQ(names("SPRN-SET2"), second);
  EXPECT_EQ(names("SPRN-SET3"), third);
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Drivers, TallyScreens, testing::Values(kDbKindFile, kDbKindServer),
                         KindName);

}  // namespace
