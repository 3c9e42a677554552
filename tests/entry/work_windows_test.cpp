// The work windows screens are shown in, under Wine: the list window shows
// the first page of its data set, the card window its first record; both
// pass commands to the owner of their screen and close on Esc, giving back
// their slot and data set. Runs on the file database (SQLite) and on the
// server database (PostgreSQL).
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/imaging.h"
#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/required_service.h"

namespace {

constexpr UINT kMsgFillScreen = WM_USER + 111;    // 1135
constexpr UINT kMsgScreenClosed = WM_USER + 112;  // 1136
constexpr UINT kMsgCloseQuery = WM_USER + 122;    // 1146

class WorkWindowsTest : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    boxes_ = std::make_unique<MessageBoxRecorder>(IDYES);
    main_ = CreateTestWindow("main");
    owner_ = CreateTestWindow("owner");
    InitScreenEngine(main_);
    g_screen.metrics = TestMetrics();
    ReadOcrIni();
    BindImagingLibrary();
    g_screenDefs = ScreenDefinitionState();
    g_list = ListState();
    ServerLogin login;
    if (GetParam() == kDbKindServer) {
      const char* pg = std::getenv("SHEETDESK_PG");
      if (!pg || !*pg) SKIP_WITHOUT_SERVICE("SHEETDESK_PG is not set: no PostgreSQL server for this run");
      login = {ConnectionValue(pg, "Server") + ":" + ConnectionValue(pg, "Port"), ConnectionValue(pg, "Uid"),
               ConnectionValue(pg, "Pwd")};
    }
    const std::string folder = TestFolder();
    UseFixtureDatabase(GetParam(), folder, login);
    if (GetParam() == kDbKindFile) DeleteFileA((folder + "\\" + kFixtureDb + ".mdb").c_str());
    ASSERT_EQ(PrepareFixtureTables(), 0);
    ASSERT_EQ(LoadScreenTexts(kFixtureTextFolder, "", kFixtureDb), 6);
    for (HWND window : {RegisterMenuWindow(main_), RegisterListWindow(main_), RegisterCardWindow(main_),
                        RegisterSupWindow(main_)}) {
      ASSERT_NE(window, nullptr);
      windows_.push_back(window);
    }
  }

  void TearDown() override {
    for (int s = kWindowSlotCount - 1; s >= 0; --s) {
      if (Slot(s).state == kFreeSlotState) continue;
      if (Slot(s).window) SendMessageA(Slot(s).window, kMsgCloseWindow, 0, 0);
      if (Slot(s).state == kFreeSlotState) continue;
      CloseScreenDataSet(s);
      CloseScreenWindow(s, 0);
    }
    for (HWND window : windows_) DestroyWindow(window);
    ForgetWorkWindows();
    if (owner_) DestroyWindow(owner_);
    if (main_) DestroyWindow(main_);
    UnbindImagingLibrary();
  }

  int Open(const char* code) { return OpenScreenDef("", kFixtureDb, code, -1, -1, "", owner_); }

  static std::string ValueOf(const char* name) {
    const int i = ResolveFieldRef(0, name);
    return i < 0 ? "<none>" : Item(i).displayText;
  }

  static int OpenedTableSlots() {
    int open = 0;
    for (int t = 1; t <= kMaxTableSlots; ++t) open += GetSlotConnState(t) > 1 ? 1 : 0;
    return open;
  }

  std::unique_ptr<MessageBoxRecorder> boxes_;
  HWND main_ = nullptr;
  HWND owner_ = nullptr;
  std::vector<HWND> windows_;
};

TEST_P(WorkWindowsTest, TheListShowsTheFirstPageOfItsTables) {
  ASSERT_EQ(Open("TEST-LIST"), 0) << testing::PrintToString(boxes_->texts());
  EXPECT_EQ(Slot(0).window, GetWorkWindow(WorkWindow::kList));
  EXPECT_EQ(OpenedTableSlots(), 1) << "the data set stays open with the window";
  const char* categories[] = {"果物", "文具", "表示ソフト", "果物"};
  for (int row = 1; row <= kFixtureItemCount; ++row) {
    const FixtureItem& item = kFixtureItems[row - 1];
    SCOPED_TRACE(item.code);
    char cell[16];
    std::snprintf(cell, sizeof cell, "CODE%02d", row);
    EXPECT_EQ(ValueOf(cell), item.code);
    std::snprintf(cell, sizeof cell, "NAME%02d", row);
    EXPECT_EQ(ValueOf(cell), item.name);
    std::snprintf(cell, sizeof cell, "CATNAME%02d", row);
    EXPECT_EQ(ValueOf(cell), categories[row - 1]);
    std::snprintf(cell, sizeof cell, "SCORE02%02d", row);
    EXPECT_EQ(ValueOf(cell), std::to_string(item.scores[1]));
  }
  EXPECT_EQ(ValueOf("NAME05"), "") << "rows past the data stay empty";
  EXPECT_EQ(MessagesOf(owner_).back(), (ReceivedMessage{kMsgFillScreen, 21, 0}));
  EXPECT_TRUE(boxes_->texts().empty());
}

TEST_P(WorkWindowsTest, WindowsPassCommandsToTheOwnerAndCloseOnEscape) {
  // The list asks its owner before it closes (1146).
  struct Case {
    const char* code;
    int number;
    int tableSlots;  // open while the screen is
    bool closeQuery;
  };
  // A visible main window leaves menus to the menu window.
  ShowWindow(main_, SW_SHOWNA);
  for (const Case& c : {Case{"TEST-LIST", 21, 1, true}, Case{"TEST-CARD", 31, 1, false},
                        Case{"TEST-SET", 41, 0, false}, Case{"TEST-SUB", 2, 0, false}}) {
    SCOPED_TRACE(c.code);
    ASSERT_EQ(Open(c.code), 0) << testing::PrintToString(boxes_->texts());
    EXPECT_EQ(OpenedTableSlots(), c.tableSlots);
    const HWND window = Slot(0).window;
    ClearMessages(owner_);
    SendMessageA(window, kMsgScreenCommand, kKeyF1, 0);
    SendMessageA(window, kMsgScreenCommand, kKeyEscape, 0);
    const WPARAM number = static_cast<WPARAM>(c.number);
    std::vector<ReceivedMessage> expected{{kMsgFieldMessage, number, 0}};
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

TEST_P(WorkWindowsTest, TheCardShowsItsFirstRecord) {
  ASSERT_EQ(Open("TEST-CARD"), 0) << testing::PrintToString(boxes_->texts());
  EXPECT_EQ(ValueOf("CODE"), "0001");
  EXPECT_EQ(ValueOf("NAME"), "りんご");
  EXPECT_EQ(ValueOf("CAT"), "01");
  EXPECT_EQ(ValueOf("SCORE04"), "60");
  EXPECT_FALSE(IsWindowEnabled(owner_)) << "the owner waits while the card is open";
}

INSTANTIATE_TEST_SUITE_P(Databases, WorkWindowsTest, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
