// The card of a sheet opened for screen edit under Wine, as the designer
// uses it: the right button on its background offers "スクリーン" and the
// start or end of the placing of fields, whose choice reaches the main
// window with its line; its design button switches the same mode; its four
// size buttons make the window a character wider or narrower, a row taller
// or shorter, and the card opens again at that size. On the file database
// (SQLite) and the server database (PostgreSQL).
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "designer/item_dragging.h"
#include "tests/entry/card_form_fixture.h"
#include "tests/foundation/db_test_support.h"
#include "tests/support/window_picture.h"

namespace {

constexpr int kScreenEditNumber = 91;  // the sheet's card opened for screen edit
constexpr int kMenuRowHeight = 24;     // the pop-up menu's rows

class ScreenEditCard : public CardFormTest {
 protected:
  void RegisterWindows() override {
    CardFormTest::RegisterWindows();
    InstallDesignModeCalls();
  }

  // The card of an OCR sheet, opened as the designer opens it to edit its
  // screen, or (`edit` false) as an operator opens it.
  int OpenForEdit(bool edit = true) {
    std::string text = CardScreenText("△");
    if (!ChangeScreenText(&text, {{"SCRTYPE = ｶｰﾄﾞ", "SCRTYPE = OCRｶｰﾄﾞ"}}) ||
        LoadTexts({{"TEST-CARDF.txt", text}}) != 1) {
      return -1;
    }
    ForgetBoxes();
    return OpenAgain(edit);
  }
  // The card opened again from its stored screen.
  int OpenAgain(bool edit = true) {
    const int rc = OpenScreenDef("", kFixtureDb, "TEST-CARDF", edit ? kScreenEditNumber : -1, -1, "", owner_);
    PumpMessages();
    return rc;
  }

  // The right button pressed and released on a point of the card's page
  // below its header band: the pop-up menu that opened, or nullptr.
  HWND RightClickBackground() {
    const LPARAM at = MAKELPARAM(Slot(0).fontUnit * 60, Slot(0).headerHeight + Slot(0).rowPitch * 16);
    PostMessageA(Card(), WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(Card(), WM_RBUTTONUP, 0, at);
    PumpMessages();
    const HWND menu = g_screen.popupWindow;
    return menu && IsWindowVisible(menu) ? menu : nullptr;
  }

  static void ChooseLine(HWND menu, int line) {
    UpdateWindow(menu);
    const LPARAM row = MAKELPARAM(10, 2 + (line - 1) * kMenuRowHeight + kMenuRowHeight / 2);
    PostMessageA(menu, WM_LBUTTONDOWN, MK_LBUTTON, row);
    PostMessageA(menu, WM_LBUTTONUP, 0, row);
    PumpMessages();
  }

  // A click on one of the card's buttons.
  void PressButton(const char* name) {
    const int item = ResolveFieldRef(0, name);
    ASSERT_GE(item, 0) << name;
    ClickItem(0, item);
    PumpMessages();
  }

  // The choices of the design menu the main window heard of, by line.
  std::vector<LPARAM> MenuLinesHeard() const {
    std::vector<LPARAM> lines;
    for (const ReceivedMessage& m : MessagesOf(main_)) {
      if (m.message == kMsgHeaderMenu) lines.push_back(m.lParam);
    }
    return lines;
  }

  static void SavePicture(const char* name) {
    const char* folder = std::getenv("SHEETDESK_PICTURES");
    if (folder && *folder) SaveWindowPicture(GetDesktopWindow(), std::string(folder) + "\\" + name);
  }
};

TEST_P(ScreenEditCard, TheBackgroundMenuStartsAndEndsThePlacingOfFields) {
  ASSERT_EQ(OpenForEdit(), 0) << Boxes();
  ASSERT_EQ(Slot(0).lineEditMode, 0);
  ClearMessages(main_);
  HWND menu = RightClickBackground();
  ASSERT_NE(menu, nullptr) << "a menu on the background";
  SavePicture("screen-design-menu.png");
  ChooseLine(menu, 2);  // フィールド配置開始
  EXPECT_EQ(Slot(0).lineEditMode, 1);
  EXPECT_EQ(MenuLinesHeard(), std::vector<LPARAM>{2}) << "the main window hears the line chosen";

  menu = RightClickBackground();
  ASSERT_NE(menu, nullptr);
  SavePicture("screen-design-menu-placing.png");
  ChooseLine(menu, 1);  // スクリーン: the screen's settings are not the card's to change
  EXPECT_EQ(Slot(0).lineEditMode, 1);
  menu = RightClickBackground();
  ASSERT_NE(menu, nullptr);
  ChooseLine(menu, 2);  // フィールド配置終了
  EXPECT_EQ(Slot(0).lineEditMode, 0);
  EXPECT_EQ(MenuLinesHeard(), (std::vector<LPARAM>{2, 1, 2}));
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

// An operator's card offers no design: the right button only tells the
// main window, and the design and size keys are not there.
TEST_P(ScreenEditCard, AnOperatorsCardOffersNoDesign) {
  ASSERT_EQ(OpenForEdit(false), 0) << Boxes();
  ClearMessages(main_);
  EXPECT_EQ(RightClickBackground(), nullptr);
  EXPECT_LT(ResolveFieldRef(0, "SCREDT"), 0);
  EXPECT_LT(ResolveFieldRef(0, "MAGNI1"), 0);
  PostMessageA(Card(), kMsgScreenCommand, 124, 0);
  PumpMessages();
  EXPECT_EQ(Slot(0).lineEditMode, 0);
}

TEST_P(ScreenEditCard, TheDesignButtonSwitchesTheModeAndTheSizeButtonsAreKept) {
  ASSERT_EQ(OpenForEdit(), 0) << Boxes();
  PressButton("SCREDT");
  EXPECT_EQ(Slot(0).lineEditMode, 1);
  // In design mode a click on a button grabs nothing and presses nothing:
  // the menu ends the mode the button started.
  RECT before, after;
  ASSERT_TRUE(GetWindowRect(Card(), &before));
  PressButton("MAGNI1");
  ASSERT_TRUE(GetWindowRect(Card(), &after));
  EXPECT_TRUE(EqualRect(&before, &after));
  HWND menu = RightClickBackground();
  ASSERT_NE(menu, nullptr);
  ChooseLine(menu, 2);  // フィールド配置終了
  EXPECT_EQ(Slot(0).lineEditMode, 0);

  const int unit = Slot(0).fontUnit, pitch = Slot(0).rowPitch;
  ASSERT_EQ(Slot(0).window, Card());
  RECT opened, now;
  ASSERT_TRUE(GetWindowRect(Card(), &opened));
  ASSERT_TRUE(SetWindowPos(Card(), nullptr, 0, 0, 60 * unit, 20 * pitch, SWP_NOMOVE | SWP_NOZORDER));
  PumpMessages();
  ASSERT_TRUE(GetWindowRect(Card(), &opened)) << "a card smaller than the display, to grow";
  struct Step {
    const char* button;
    int across, down;  // units the window grows by, all steps so far
  };
  const Step steps[] = {{"MAGNI1", 1, 0}, {"MAGNI1", 2, 0}, {"REDUCT1", 1, 0}, {"MAGNI2", 1, 1}, {"MAGNI2", 1, 2},
                        {"REDUCT2", 1, 1}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.button);
    PressButton(step.button);
    ASSERT_TRUE(GetWindowRect(Card(), &now));
    EXPECT_EQ(now.left, opened.left) << "the window keeps its place";
    EXPECT_EQ(now.top, opened.top);
    EXPECT_EQ(now.right - now.left, opened.right - opened.left + step.across * unit);
    EXPECT_EQ(now.bottom - now.top, opened.bottom - opened.top + step.down * pitch);
  }
  Press(VK_ESCAPE);
  ASSERT_EQ(Slot(0).window, nullptr) << "Esc closed the card";
  ASSERT_EQ(OpenAgain(), 0) << Boxes();
  ASSERT_TRUE(GetWindowRect(Card(), &now));
  EXPECT_EQ(now.right - now.left, opened.right - opened.left + unit);
  EXPECT_NEAR(now.bottom - now.top, opened.bottom - opened.top + pitch, pitch / 2);
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

INSTANTIATE_TEST_SUITE_P(Databases, ScreenEditCard, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
