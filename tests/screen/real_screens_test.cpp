// Input on screens opened from the screen database: typing into a card's
// fields and reading them back by name, and buttons of a menu that open
// the screen their action names. Both databases.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"

namespace {

class RealScreensTest : public ScreenDbTest {
 protected:
  void RegisterWindows() override { UseRecordingWorkWindows(); }

  static std::string Read(const char* name) {
    char text[256] = "";
    GetFieldText(name, text);
    return text;
  }
};

TEST_P(RealScreensTest, ACardTakesTypingAndGivesItsValuesByName) {
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-CARD", -1, -1, ""), 0) << Boxes();
  const HWND card = GetWorkWindow(WorkWindow::kCard);
  const HWND edit = Slot(0).editControl;
  struct Case {
    const char* field;
    const char* typed;
    const char* read;  // as the card window reads it
  };
  const Case cases[] = {
      {"CODE", "7", "0007"},  // zero-filled to its four digits
      {"QTY", "35", "35"},
      {"NAME", "Pen", "Pen"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    FocusField(c.field);
    SetWindowTextA(edit, "");
    TypeText(edit, c.typed);
    ClearMessages(card);
    PressKey(edit, VK_TAB);
    EXPECT_NE(Item(g_screen.currentItem).name, c.field) << "Tab moved on";
    EXPECT_EQ(CommandsOf(card), (std::vector<ReceivedMessage>{{kMsgScreenCommand, VK_TAB, 1}}));
    EXPECT_EQ(Read(c.field), c.read);
  }
  // The members of the score group by their indexed names.
  SetFieldIntIdx("SCORE", 3, 80);
  EXPECT_EQ(GetFieldIntIdx("SCORE", 3), 80);
  EXPECT_EQ(GetFieldIntIdx("SCORE", 2), 0);
  CloseSlot(0);
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(RealScreensTest, AMenuButtonOpensTheScreenItsActionNames) {
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-MENU", -1, -1, ""), 0) << Boxes();
  const int server = ResolveFieldRef(0, "SERVER");
  ASSERT_GE(server, 0);
  SplitItemFileReference(server, "*SCRTEST.TEST-LIST");
  ClearMessages(main_);
  const ScreenItem& button = Item(server);
  const WindowSlot& menu = Slot(0);
  ClickAt(main_, button.pixelX + button.pixelWidth / 2 - menu.scrollX,
          button.pixelY + button.pixelHeight / 2 - menu.scrollY);
  EXPECT_EQ(CommandsOf(main_), (std::vector<ReceivedMessage>{{kMsgScreenCommand, 11, 0}}));
  int list = -1;
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).state != kFreeSlotState && Slot(s).screenCode == "TEST-LIST") list = s;
  }
  ASSERT_GE(list, 0) << Boxes();
  EXPECT_EQ(Slot(list).window, GetWorkWindow(WorkWindow::kList));
  for (int s = kWindowSlotCount - 1; s >= 0; --s) CloseSlot(s);
}

TEST_P(RealScreensTest, AChoiceOfAMenuButtonOpensTheScreenItsListNames) {
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-MENU", -1, -1, ""), 0) << Boxes();
  const int server = ResolveFieldRef(0, "SERVER");
  ASSERT_GE(server, 0);
  Item(server).choices = "Local,Remote,*SCRTEST.TEST-LIST";
  const ScreenItem& button = Item(server);
  ClickAt(main_, button.pixelX + button.pixelWidth / 2, button.pixelY + button.pixelHeight / 2);
  ASSERT_EQ(g_screen.popupOpen, 1) << "the button's list is shown";
  ClearMessages(main_);
  PressKey(g_screen.popupWindow, VK_DOWN);
  PressKey(g_screen.popupWindow, VK_RETURN);
  EXPECT_EQ(CommandsOf(main_), (std::vector<ReceivedMessage>{{kMsgScreenCommand, 11, 0}}));
  bool listOpen = false;
  for (int s = 0; s < kWindowSlotCount; ++s) {
    listOpen |= Slot(s).state != kFreeSlotState && Slot(s).screenCode == "TEST-LIST";
  }
  EXPECT_TRUE(listOpen) << Boxes();
  for (int s = kWindowSlotCount - 1; s >= 0; --s) CloseSlot(s);
}

TEST_P(RealScreensTest, AListsRowBarMovesOverItsRowsAndChoosesOne) {
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-LIST", -1, -1, ""), 0) << Boxes();
  const HWND list = GetWorkWindow(WorkWindow::kList);
  const HWND edit = Slot(0).editControl;
  SetWindowEditMode(1);
  const int rows = Slot(0).rowBarCount;
  ASSERT_GE(rows, 2);
  EXPECT_EQ(GetSelectedRow(), 1);
  EXPECT_FALSE(IsWindowVisible(edit));
  ClearMessages(list);
  std::vector<ReceivedMessage> want;
  for (int k = 0; k < rows; ++k) {  // the last press stays on the last row
    PressKey(edit, VK_DOWN);
    if (k + 1 < rows) want.push_back({kMsgScreenCommand, 140, 0});
  }
  PressKey(edit, VK_UP);
  want.push_back({kMsgScreenCommand, 138, 0});
  PressKey(edit, VK_RETURN);
  want.push_back({kMsgScreenCommand, VK_RETURN, static_cast<LPARAM>(rows - 1)});
  EXPECT_EQ(CommandsOf(list), want);
  SetWindowEditMode(0);
  EXPECT_EQ(Slot(0).rowBarCount, 0);
  CloseSlot(0);
}

TEST_P(RealScreensTest, RowModesProtectTheRowKeysAndGiveBackOnlyThoseTheScreenAllows) {
  // The list's keys "2222221222112000": F5 and F7 enabled, F6 and F11
  // protected by the screen itself.
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-LIST", -1, -1, ""), 0) << Boxes();
  const auto state = [](const char* key) { return Item(ResolveFieldRef(0, key)).state; };
  struct Case {
    int mode;
    int f5, f6, f7, f11;
  };
  const Case cases[] = {
      {1, kItemProtected, kItemProtected, kItemProtected, kItemProtected},
      {0, kItemEnabled, kItemProtected, kItemEnabled, kItemProtected},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    SetWindowEditMode(c.mode);
    EXPECT_EQ(state("FKEY05"), c.f5);
    EXPECT_EQ(state("FKEY06"), c.f6);
    EXPECT_EQ(state("FKEY07"), c.f7);
    EXPECT_EQ(state("FKEY11"), c.f11);
  }
  CloseSlot(0);
}

INSTANTIATE_TEST_SUITE_P(Drivers, RealScreensTest, testing::Values(kDbKindFile, kDbKindServer),
                         KindName);

}  // namespace
