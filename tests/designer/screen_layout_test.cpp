// A screen's layout in design mode under Wine, as the designer changes it
// with the keyboard and the mouse: Shift with an arrow moves every field
// the window shows by a character or a row and stores the places in
// S_FIELD, so the screen opens again as moved; an item dragged shows its
// place in a tip beside it until it is dropped. Runs on the file database
// (SQLite) and on the server database (PostgreSQL).
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "designer/item_dragging.h"
#include "foundation/db.h"
#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"

namespace {

constexpr char kCard[] = "TEST-CARD";

class ScreenLayout : public ScreenDbTest {
 protected:
  void RegisterWindows() override {
    UseRecordingWorkWindows();
    g_lineEdit = RuledLineEditState();
    InstallDesignModeCalls();
  }

  // Opens the card in slot 0, as its menu button does.
  void OpenCard() { ASSERT_EQ(OpenScreen("", kFixtureDb, kCard, -1, -1, "P1"), 0) << Boxes(); }

  // Design mode entered or left as the designer does, with Ctrl+Shift+F11.
  static void ToggleDesign() {
    SelectWindowSlot(0);
    HoldModifiers(true, true);
    PressKey(Slot(0).editControl, VK_F11);
    HoldModifiers(false, false);
  }

  static void ShiftArrow(WPARAM key) {
    HoldModifiers(true, false);
    PressKey(Slot(0).editControl, key);
    HoldModifiers(false, false);
  }

  // FLDX,FLDY of the card's S_FIELD rows by FLDNAME.
  static std::map<std::string, std::string> StoredPlaces() {
    std::map<std::string, std::string> places;
    const int t = db_open("", kFixtureDb, kFieldTable, g_screenDefs.screenDbKind, "FSCRTBL3.SPC", "FLDTBL",
                          "select * from S_FIELD where SCRCODE='TEST-CARD'");
    if (t < 0) return {{"?", "?"}};
    for (int rc = db_toppos(t, "FLDCODE"); rc == 0; rc = db_nread(t)) {
      // GetColumnAsText gives one buffer for every call: each is kept at once.
      const std::string x = GetColumnAsText(t, "FLDX");
      places[GetColumnText(t, "FLDNAME")] = x + "," + GetColumnAsText(t, "FLDY");
    }
    db_close(t);
    return places;
  }

  static const ScreenItem& ItemNamed(const char* name) { return Item(ResolveFieldRef(0, name)); }
};

TEST_P(ScreenLayout, ShiftWithAnArrowMovesTheFieldsAndTheScreenOpensAgainAsMoved) {
  OpenCard();
  const std::map<std::string, std::string> before = StoredPlaces();
  ASSERT_EQ(before.at("NAME"), "14,5");
  const int column = ItemNamed("NAME").column, row = ItemNamed("NAME").row;
  const int pixelX = ItemNamed("NAME").pixelX;
  ToggleDesign();
  ASSERT_EQ(Slot(0).lineEditMode, 1);
  ShiftArrow(VK_RIGHT);
  ShiftArrow(VK_RIGHT);
  ShiftArrow(VK_DOWN);
  ShiftArrow(VK_UP);
  ShiftArrow(VK_DOWN);
  EXPECT_EQ(ItemNamed("NAME").column, column + 2);
  EXPECT_EQ(ItemNamed("NAME").row, row + 1);
  EXPECT_EQ(ItemNamed("NAME").pixelX, pixelX + 2 * Slot(0).fontUnit) << "laid out at once";
  const std::map<std::string, std::string> after = StoredPlaces();
  ASSERT_EQ(after.size(), before.size());
  for (const auto& [name, place] : before) {
    SCOPED_TRACE(name);
    const int x = std::stoi(place), y = std::stoi(place.substr(place.find(',') + 1));
    EXPECT_EQ(after.at(name), std::to_string(x + 2) + "," + std::to_string(y + 1));
  }
  ToggleDesign();
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
  CloseSlot(0);

  OpenCard();
  EXPECT_EQ(ItemNamed("NAME").column, column + 2);
  EXPECT_EQ(ItemNamed("NAME").row, row + 1);
  CloseSlot(0);
}

// While an item is dragged its caption, name, column and row are shown
// below it; the drop takes the tip away.
TEST_P(ScreenLayout, ADraggedItemShowsItsPlaceBesideItUntilDropped) {
  OpenCard();
  ToggleDesign();
  const HWND window = Slot(0).window;
  const HWND tip = Slot(0).statics[0];
  ASSERT_TRUE(tip);
  const ScreenItem& name = ItemNamed("NAME");
  const int unit = Slot(0).fontUnit;
  const POINT grab{name.pixelX + 4 - Slot(0).scrollX, name.pixelY + name.pixelHeight / 2 - Slot(0).scrollY};
  ClickAt(window, grab.x, grab.y, false);
  EXPECT_NE(Slot(0).boxTexts[0], "") << "shown at the grab";
  PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab.x + 3 * unit, grab.y));
  PumpMessages();
  char expected[128];
  std::snprintf(expected, sizeof expected, "品名(NAME) [%3d:%3d]", ItemNamed("NAME").pixelX / unit,
                (ItemNamed("NAME").pixelY - Slot(0).topMargin) / Slot(0).rowPitch);
  EXPECT_EQ(Slot(0).boxTexts[0], expected);
  RECT shown;
  GetWindowRect(tip, &shown);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&shown), 2);
  EXPECT_GE(shown.top, ItemNamed("NAME").pixelY + ItemNamed("NAME").pixelHeight - Slot(0).scrollY) << "below it";
  EXPECT_GT(shown.right, shown.left);
  PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(grab.x + 3 * unit, grab.y));
  PumpMessages();
  GetWindowRect(tip, &shown);
  EXPECT_EQ(shown.right, shown.left) << "the drop takes it away";
  EXPECT_EQ(Slot(0).boxTexts[0], "");
  EXPECT_EQ(StoredPlaces().at("NAME"), "17,5") << "dropped three characters right";
  ToggleDesign();
  CloseSlot(0);
}

INSTANTIATE_TEST_SUITE_P(Databases, ScreenLayout, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
