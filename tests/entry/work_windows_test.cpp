// The work windows screens are shown in, under Wine: the list window shows
// the first page of its data set, the card window a record; they pass
// commands to the owner of their screen and close on Esc, giving back
// their slot and data set (the list and set windows ask their owner
// first). Runs on the file database (SQLite) and on the server database
// (PostgreSQL).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/entry.h"
#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"

namespace {

constexpr UINT kMsgBeforeCommand = WM_USER + 123; // 1147

// The work windows of the program, owned by a recording window of the
// test's own.
class WorkWindowsTest : public ScreenDbTest {
 protected:
  void RegisterWindows() override {
    for (HWND window : {RegisterMenuWindow(main_), RegisterListWindow(main_), RegisterCardWindow(main_),
                        RegisterSupWindow(main_)}) {
      ASSERT_NE(window, nullptr);
      windows_.push_back(window);
    }
    owner_ = CreateTestWindow("owner");
    windows_.push_back(owner_);
  }

  int Open(const char* code) { return OpenScreenDef("", kFixtureDb, code, -1, -1, "", owner_); }

  HWND owner_ = nullptr;
};

TEST_P(WorkWindowsTest, TheListShowsTheFirstPageOfItsTables) {
  ASSERT_EQ(Open("TEST-LIST"), 0) << Boxes();
  EXPECT_EQ(Slot(0).window, GetWorkWindow(WorkWindow::kList));
  EXPECT_EQ(OpenedTableSlots(), 1) << "the data set stays open with the window";
  const char* categories[] = {"果物", "文具", "表示ソフト", "果物"};
  for (int row = 1; row <= kFixtureItemCount; ++row) {
    const FixtureItem& item = kFixtureItems[row - 1];
    SCOPED_TRACE(item.code);
    char cell[16];
    std::snprintf(cell, sizeof cell, "CODE%02d", row);
    EXPECT_EQ(ValueOf(0, cell), item.code);
    std::snprintf(cell, sizeof cell, "NAME%02d", row);
    EXPECT_EQ(ValueOf(0, cell), item.name);
    std::snprintf(cell, sizeof cell, "CATNAME%02d", row);
    EXPECT_EQ(ValueOf(0, cell), categories[row - 1]);
    std::snprintf(cell, sizeof cell, "SCORE02%02d", row);
    EXPECT_EQ(ValueOf(0, cell), std::to_string(item.scores[1]));
  }
  EXPECT_EQ(ValueOf(0, "NAME05"), "") << "rows past the data stay empty";
  EXPECT_EQ(MessagesOf(owner_).back(), (ReceivedMessage{kMsgFillScreen, 21, 0}));
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(WorkWindowsTest, PageUpAndDownScrollTheListsRepeatingColumns) {
  ASSERT_EQ(Open("TEST-LIST"), 0) << Boxes();
  const HWND edit = Slot(0).editControl;
  // Four scores shown two at a time: Page Up shows the next two in the
  // cells of the first two, Page Down the first two again; beyond either
  // end nothing moves.
  struct Step {
    WPARAM key;
    int firstShown;  // the score the first score cell shows, from 0
  };
  for (const Step& step : {Step{VK_PRIOR, 2}, Step{VK_PRIOR, 2}, Step{VK_NEXT, 0}, Step{VK_NEXT, 0}}) {
    PressKey(edit, step.key);
    for (int row = 1; row <= kFixtureItemCount; ++row) {
      char cell[16];
      std::snprintf(cell, sizeof cell, "SCORE01%02d", row);
      EXPECT_EQ(ValueOf(0, cell), std::to_string(kFixtureItems[row - 1].scores[step.firstShown])) << cell;
      std::snprintf(cell, sizeof cell, "SCORE02%02d", row);
      EXPECT_EQ(ValueOf(0, cell), std::to_string(kFixtureItems[row - 1].scores[step.firstShown + 1])) << cell;
    }
  }
}

TEST_P(WorkWindowsTest, WindowsPassCommandsToTheOwnerAndCloseOnEscape) {
  // The list asks its owner before it closes (1146).
  struct Case {
    const char* code;
    int number;
    int tableSlots;  // open while the screen is
    bool beforeCommand, closeQuery;
  };
  // A visible main window leaves menus to the menu window.
  ShowWindow(main_, SW_SHOWNA);
  for (const Case& c : {Case{"TEST-LIST", 21, 1, true, true}, Case{"TEST-CARD", 31, 1, false, false},
                        Case{"TEST-SET", 41, 1, false, true}, Case{"TEST-SUB", 2, 0, false, false}}) {
    SCOPED_TRACE(c.code);
    ASSERT_EQ(Open(c.code), 0) << Boxes();
    EXPECT_EQ(OpenedTableSlots(), c.tableSlots);
    const HWND window = Slot(0).window;
    ClearMessages(owner_);
    SendMessageA(window, kMsgScreenCommand, kKeyF1, 0);
    SendMessageA(window, kMsgScreenCommand, kKeyEscape, 0);
    const WPARAM number = static_cast<WPARAM>(c.number);
    // The owner hears of both commands, Esc too, before the screen closes;
    // the list asks it first whether it takes each command over (1147).
    std::vector<ReceivedMessage> expected;
    for (int key : {kKeyF1, kKeyEscape}) {
      if (c.beforeCommand) expected.push_back({kMsgBeforeCommand, static_cast<WPARAM>(key), 0});
      expected.push_back({kMsgFieldMessage, number, 0});
    }
    if (c.closeQuery) expected.push_back({kMsgCloseQuery, number, 0});
    expected.push_back({kMsgScreenClosed, number, 0});
    EXPECT_EQ(MessagesOf(owner_), expected);
    EXPECT_EQ(Slot(0).window, nullptr);
    EXPECT_EQ(Slot(0).state, kFreeSlotState);
    EXPECT_EQ(Slot(0).dataSet.table, "");
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(IsWindowEnabled(owner_)) << "the owner is enabled again";
    EXPECT_EQ(OpenedTableSlots(), 0);
    EXPECT_EQ(g_screenItems.totalCount, 0);
  }
}

TEST_P(WorkWindowsTest, TheCardStartsWithANewRecordAndShowsItsFirstOnF3) {
  // The card's input setting "○" starts with a new record after the last.
  ASSERT_EQ(Open("TEST-CARD"), 0) << Boxes();
  EXPECT_EQ(ValueOf(0, "CODE"), "0005");
  EXPECT_EQ(ValueOf(0, "NAME"), "");
  SendMessageA(Slot(0).window, kMsgScreenCommand, 114, 0);
  EXPECT_EQ(ValueOf(0, "CODE"), "0001");
  EXPECT_EQ(ValueOf(0, "NAME"), "りんご");
  EXPECT_EQ(ValueOf(0, "CAT"), "01");
  EXPECT_EQ(ValueOf(0, "SCORE04"), "60");
  EXPECT_FALSE(IsWindowEnabled(owner_)) << "the owner waits while the card is open";
}

INSTANTIATE_TEST_SUITE_P(Databases, WorkWindowsTest, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
