// Moving the marked rows of a side to the other side on both drivers: the
// codes after the last of their kind there, the rest of the side numbered
// again, other kinds untouched; and a move the database refuses half way
// leaves every row as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "designer/grids.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"

namespace {

using testing::ElementsAre;

struct Row {
  const char *side, *code, *name;
  int marked;
};

class GridMoves : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    SetSpecFolder(GetProgramFolder().c_str());
    DropFieldTable();
    g_sheetDefinition = SheetDefinitionRef();
    g_sheetDefinition.database = kDb;
    g_sheetDefinition.kind = kind();
    g_sheetSettings = SheetSettings();
    g_openGrid = OpenGrid();
    ForgetBoxes();
  }

  void TearDown() override {
    g_sheetDefinition = SheetDefinitionRef();
    DbTest::TearDown();
  }

  void DropFieldTable() {
    const int slot = db_alloc_slot("", kDb, "T1", -1);
    ASSERT_GT(slot, 0);
    ExecSlotSql(slot, "drop table MUPA_FLD", 1);
    db_disconnect(slot);
  }

  void AddRows(const std::vector<Row>& rows) {
    const int t = db_open("", kDb, "MUPA_FLD", -1, "MUPADATA", "MUPA_FLD", "");
    ASSERT_GT(t, 0);
    for (const Row& r : rows) {
      db_clear(t);
      SetColumnText(t, "ＯＣＲコード", r.side);
      SetColumnText(t, "領域コード", r.code);
      SetColumnText(t, "領域名", r.name);
      SetColumnInt(t, "表面裏面", r.marked);
      ASSERT_EQ(db_add(t), 0) << r.code;
    }
    db_close(t);
  }

  // "side:code:name:mark" of every row, in side and code order.
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    const int t = db_open("", kDb, "MUPA_FLD", -1, "MUPADATA", "MUPA_FLD",
                          "select * from MUPA_FLD order by ＯＣＲコード,領域コード");
    if (t < 0) return rows;
    for (int rc = db_toppos(t, "ＯＣＲコード,領域コード"); rc == 0; rc = db_nread(t)) {
      rows.push_back(std::string(GetColumnText(t, "ＯＣＲコード")) + ":" + GetColumnText(t, "領域コード") + ":" +
                     GetColumnText(t, "領域名") + ":" + std::to_string(GetColumnInt(t, "表面裏面")));
    }
    db_close(t);
    return rows;
  }

  // The back of a sheet: B1 and B3 marked, and a marked text item.
  void AddBackRows() {
    AddRows({{"0001", "0001", "ID", 0},
             {"0001", "0002", "Q1", 0},
             {"0002", "0001", "B1", 1},
             {"0002", "0002", "B2", 0},
             {"0002", "0003", "B3", 1},
             {"0002", "T001", "", 1}});
    g_sheetDefinition.sheetCode = "0002";
  }
};

TEST_P(GridMoves, MarkedFieldsGoBehindTheFrontsCodesAndTheBackClosesUp) {
  AddBackRows();
  EXPECT_EQ(MoveFieldsToSide(1), 2);
  EXPECT_THAT(Boxes(), ElementsAre("「移動」欄にチェックされた項目を「表面」に移動します"));
  EXPECT_THAT(Rows(), ElementsAre("0001:0001:ID:0", "0001:0002:Q1:0", "0001:0003:B1:0", "0001:0004:B3:0",
                                  "0002:0001:B2:0", "0002:T001::1"));
  std::string next;
  EXPECT_EQ(NextAreaCodeOfSide("0001", &next, '0'), 0);
  EXPECT_EQ(next, "0005");
  EXPECT_EQ(NextAreaCodeOfSide("0001", &next, 'T'), 0);
  EXPECT_EQ(next, "T001") << "a side without text items starts at T001";
}

TEST_P(GridMoves, AMoveTheDatabaseRefusesHalfWayChangesNothing) {
  AddBackRows();
  // B3, the second row to move, cannot be written.
  if (server()) {
    Exec({"create or replace function REFUSE_ROW() returns trigger as $$ begin raise exception 'refused'; end $$ "
          "language plpgsql",
          "create trigger REFUSE_B3 before update on MUPA_FLD for each row when (new.領域名='B3') "
          "execute function REFUSE_ROW()"});
  } else {
    Exec({"create trigger REFUSE_B3 before update on MUPA_FLD when new.領域名='B3' "
          "begin select raise(abort, 'refused'); end"});
  }
  const std::vector<std::string> before = Rows();
  EXPECT_EQ(MoveFieldsToSide(1), -1);
  ASSERT_GE(Boxes().size(), 2u) << "asked, then the database layer's report of the refusal";
  EXPECT_EQ(Boxes()[0], "「移動」欄にチェックされた項目を「表面」に移動します");
  EXPECT_EQ(Rows(), before);
}

TEST_P(GridMoves, MovesThatCannotStartSaySoAndChangeNothing) {
  struct Case {
    const char* what;
    std::vector<Row> rows;
    int answer;
    std::vector<std::string> boxes;
  };
  const Case cases[] = {
      {"nothing marked", {{"0002", "0001", "B1", 0}}, IDYES, {"移動する項目が設定されていません"}},
      {"the operator says No", {{"0002", "0001", "B1", 1}}, IDNO,
       {"「移動」欄にチェックされた項目を「表面」に移動します"}},
      {"the front's codes used up",
       {{"0001", "0998", "F1", 0}, {"0002", "0001", "B1", 1}, {"0002", "0002", "B2", 1}},
       IDYES,
       {"「移動」欄にチェックされた項目を「表面」に移動します",
        "「表面」の番号（0001～0999）が足りないため、移動できません。"}},
  };
  g_sheetDefinition.sheetCode = "0002";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DropFieldTable();
    AddRows(c.rows);
    const std::vector<std::string> before = Rows();
    ForgetBoxes();
    AnswerNext(c.answer);
    EXPECT_LE(MoveFieldsToSide(1), 0);
    EXPECT_EQ(Boxes(), c.boxes);
    EXPECT_EQ(Rows(), before);
  }
  AddRows({{"0001", "0999", "F2", 0}});
  std::string next;
  EXPECT_EQ(NextAreaCodeOfSide("0001", &next, '0'), -2) << "no code after 0999";
}

INSTANTIATE_TEST_SUITE_P(Drivers, GridMoves, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
