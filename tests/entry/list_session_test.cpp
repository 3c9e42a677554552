// The list's session under Wine: rows changed by typing, deleting and
// inserting (with the codes behind renumbered) and a new record, then the
// list closed with Shift held and the question answered; what the table
// holds is read back through a connection of the test's own, on the file
// database (SQLite) and on the server database (PostgreSQL).
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/list_form.h"
#include "foundation/db.h"
#include "screen/screen.h"
#include "tests/entry/form_input.h"
#include "tests/entry/list_form_fixture.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/hook_recorder.h"

namespace {

// Every column of every row of T_LST, in code order.
std::vector<std::string> WholeRows() {
  std::vector<std::string> rows;
  const int t = db_open("", kFixtureDb, "T_LST", -1, "", "", "select * from T_LST order by CODE");
  if (t < 0) return {"<no table>"};
  for (int rc = db_tfind(t, 0); rc == 0; rc = db_nread(t)) {
    std::string row;
    for (const char* column : {"CODE", "NAME", "QTY", "PRICE", "NOTE"}) row += std::string(GetColumnAsText(t, column)) + "|";
    rows.push_back(row);
  }
  db_close(t);
  return rows;
}

using ListSession = ListFormTest;

TEST_P(ListSession, ClosingWithShiftHeldOffersToGiveUpWhatTheSessionChanged) {
  const std::vector<std::string> original = WholeRows();
  ASSERT_EQ(original.size(), static_cast<size_t>(kListRows));
  const std::string question = "今回の処理で変更した内容を破棄しますか？\n　変更前の状態に戻す場合は、〔はい〕";
  struct Case {
    const char* what;
    bool shift, byEsc;
    int answer;
    bool discarded;
  };
  const Case cases[] = {
      {"Shift held, discarded", true, false, IDYES, true},
      {"Shift held, kept", true, true, IDNO, false},
      {"without Shift, nothing asked", false, false, IDYES, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(MakeListTable(), 0) << Boxes();
    ASSERT_EQ(OpenList(), 0) << Boxes();
    TypeIntoCell("NAME", 2, "書き換えた品名");
    TypeIntoCell("QTY", 4, "77");
    ClickCell("NAME", 3);
    PressKey(Edit(), VK_F7);  // 0003 deleted, 0004 .. 0023 renumbered down
    ClickCell("NAME", 5);
    PressKey(Edit(), VK_F6);  // a record inserted at 0005, the rest up again
    PressKey(Edit(), VK_F4);  // the last record on line 1, a free line below
    TypeIntoCell("NAME", 2, "新しい品名");
    const std::vector<std::string> changed = WholeRows();
    ASSERT_NE(changed, original);
    ASSERT_EQ(changed.size(), original.size() + 1) << "one deleted, one inserted, one added";
    ForgetBoxes();
    boxes_->Answer(c.answer);
    CloseListHolding(c.shift ? std::vector<BYTE>{VK_SHIFT} : std::vector<BYTE>{}, c.byEsc);
    EXPECT_EQ(Slot(0).state, kFreeSlotState) << "the list closed";
    EXPECT_EQ(BoxTexts(), c.shift ? std::vector<std::string>{question} : std::vector<std::string>{});
    EXPECT_EQ(WholeRows(), c.discarded ? original : changed);
    // Opened again, the list shows the rows the table holds; a session
    // without changes asks nothing as it closes.
    ForgetBoxes();
    ASSERT_EQ(OpenList(), 0) << Boxes();
    EXPECT_EQ(Cell("NAME", 2), c.discarded ? "品名02" : "書き換えた品名");
    CloseListHolding(c.shift ? std::vector<BYTE>{VK_SHIFT} : std::vector<BYTE>{}, false);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
  }
}

INSTANTIATE_TEST_SUITE_P(Databases, ListSession, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
