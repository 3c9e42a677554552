// Clicks on real windows: radio and check choices by their rows, cycle
// items, buttons that act on release, overlapping and fixed items, and the
// hover tip of buttons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/screen/input_fixture.h"

namespace {

constexpr int kChoiceKey = 77;

// A radio or check item of `height` pixels with the given choices.
int AddChoices(const char* name, char kind, int column, int row, int height, const char* choices,
               const char* caption = "") {
  return AddScreenItem(caption, name, column, row, 0, 10, height, 0, kind, 0, 0, kChoiceKey, 'L',
                       kItemEnabled, 0, 5, 0, 0, "", choices);
}

int AddButton(const char* name, int column, int row, int key, const char* guide = "") {
  return AddScreenItem("", name, column, row, 0, 6, 22, 0, 'B', 0, 0, key, 'S', kItemEnabled, 0, 6,
                       0, 0, guide, "");
}

class MouseTest : public InputTest {
 protected:
  // Presses and releases at (x, y) of the item's pixel rectangle.
  void ClickItemAt(int item, int dx, int dy) {
    const ScreenItem& it = Item(item);
    const WindowSlot& s = Slot(slot());
    ClickAt(window(), it.pixelX + dx - s.scrollX, it.pixelY + dy - s.scrollY);
  }
  void ClickCentre(int item) {
    const POINT p = CentreOf(item);
    ClickAt(window(), p.x, p.y);
  }
  std::vector<ReceivedMessage> Commands() { return CommandsOf(window()); }
};

TEST_F(MouseTest, RadioRowsTakeClicksInTheirBands) {
  // Three choices, no caption, 40 pixels: rows 10 apart, the first at 9.
  const int radio = AddChoices("SEX", 'R', 4, 1, 40, "A,B,C");
  ASSERT_GE(OpenScreenOf(), 0);
  const int cs = Item(radio).charSize;
  struct Case {
    const char* what;
    int dx, dy;
    const char* value;
  };
  const Case cases[] = {
      {"left of the boxes", 2 * cs - 1, 10, ""},
      {"first row", 2 * cs, 10, "1"},
      {"second row", 2 * cs + 5, 20, "2"},
      {"third row", 2 * cs, 30 + cs, "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearMessages(window());
    ClickItemAt(radio, c.dx, c.dy);
    EXPECT_EQ(Item(radio).displayText, c.value);
    if (c.value[0]) {
      const std::vector<ReceivedMessage> want = {{kMsgScreenCommand, kChoiceKey, 0}};
      EXPECT_EQ(Commands(), want);
    } else {
      EXPECT_TRUE(Commands().empty());
    }
  }
  // A choice marked "^" is disabled: nothing changes, nothing is sent.
  Item(radio).defaultText = " ^ ";
  ClearMessages(window());
  ClickItemAt(radio, 2 * cs, 20);
  EXPECT_EQ(Item(radio).displayText, "3");
  EXPECT_TRUE(Commands().empty());
}

TEST_F(MouseTest, SheetChoicesTakeClicksFromTheirLeftEdge) {
  const int radio = AddChoices("SEX", 'R', 4, 1, 40, "A,B,C");
  ASSERT_GE(OpenScreenOf(), 0);
  Item(radio).defaultText = "^  ";  // not honoured on the sheet canvas
  const ScreenItem& it = Item(radio);
  // The press of a sheet canvas goes through its own handler.
  g_screen.mouseMessageWindow = window();
  g_screen.mouseMessagePoint = POINT{it.pixelX + 1, it.pixelY + 10};
  EXPECT_EQ(HandleSheetItemClick(0), radio);
  EXPECT_EQ(it.displayText, "1");  // left of the boxes, and "^" ignored
  g_screen.mouseMessagePoint = POINT{it.pixelX + 1, it.pixelY + 30};
  HandleSheetItemClick(0);
  EXPECT_EQ(it.displayText, "3");
  g_screen.mouseMessagePoint = POINT{it.pixelX + 1, it.pixelY + 5};
  HandleSheetItemClick(0);
  EXPECT_EQ(it.displayText, "3");  // above the first row
  g_screen.mouseMessageWindow = nullptr;
}

TEST_F(MouseTest, CheckBoxesFlipTheirOwnChoice) {
  const int check = AddChoices("PICK", 'C', 4, 1, 40, "A,B,C");
  ASSERT_GE(OpenScreenOf(), 0);
  const int cs = Item(check).charSize;
  ClickItemAt(check, 2 * cs, 10);
  EXPECT_EQ(Item(check).displayText, "100");
  ClickItemAt(check, 2 * cs, 30);
  EXPECT_EQ(Item(check).displayText, "101");
  ClickItemAt(check, 2 * cs, 10);
  EXPECT_EQ(Item(check).displayText, "001");
}

TEST_F(MouseTest, CycleItemsStepThroughTheirValues) {
  struct Case {
    int code;
    std::vector<std::string> values;
  };
  const Case cases[] = {
      {24, {"1", "2", "3", "0"}}, {20, {"2", "1", "0", "2"}}, {3, {"1", "2", "0", "1"}},
      {11, {"1", "2", "3", "4"}}, {99, {"1", "0", "1", "0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const int cycle = AddScreenItem("", "CYCLE", 2, 1, 0, 2, 2, 0, 'c', c.code, 0, 0, 'L',
                                    kItemEnabled, 0, 5, 0, 0, "", "");
    AddScreenItem("", "OTHER", 2, 3, 0, 6, 6, 0, 'X', 0, 0, 0, 'L', kItemEnabled, 0, 5, 0, 0, "",
                  "");
    ASSERT_GE(OpenScreenOf(), 0);
    std::vector<std::string> seen;
    for (size_t k = 0; k < c.values.size(); ++k) {
      ClearMessages(window());
      ClickCentre(cycle);
      seen.push_back(Item(cycle).displayText);
      const std::vector<ReceivedMessage> want = {{kMsgScreenCommand, kKeyCycleItem, 0}};
      EXPECT_EQ(Commands(), want);
    }
    EXPECT_EQ(seen, c.values);
    EXPECT_EQ(IsFieldEdited(), 1);
    CloseAll();
  }
}

TEST_F(MouseTest, ButtonsActWhenReleasedWhereTheyWerePressed) {
  const int ok = AddButton("OK", 2, 1, 301);
  const int cancel = AddButton("CANCEL", 14, 1, 302);
  ASSERT_GE(OpenScreenOf(), 0);
  const POINT a = CentreOf(ok);
  const POINT b = CentreOf(cancel);
  ClickAt(window(), a.x, a.y, false);  // pressed only: drawn, no command
  EXPECT_TRUE(Commands().empty());
  PostMessageA(window(), WM_LBUTTONUP, 0, MAKELPARAM(a.x, a.y));
  PumpMessages();
  const std::vector<ReceivedMessage> want = {{kMsgScreenCommand, 301, 0}};
  EXPECT_EQ(Commands(), want);
  // Pressed on one button and released on the other: neither acts.
  ClearMessages(window());
  ClickAt(window(), a.x, a.y, false);
  PostMessageA(window(), WM_LBUTTONUP, 0, MAKELPARAM(b.x, b.y));
  PumpMessages();
  EXPECT_TRUE(Commands().empty());
}

TEST_F(MouseTest, TheLaterOfOverlappingItemsWinsAndProtectedOnesRefuse) {
  AddButton("UNDER", 2, 1, 401);
  const int over = AddButton("OVER", 4, 1, 402);
  const int locked = AddScreenItem("", "LOCKED", 2, 4, 0, 6, 6, 0, 'X', 0, 0, 0, 'L',
                                   kItemProtected, 0, 5, 0, 0, "", "");
  ASSERT_GE(OpenScreenOf(), 0);
  const POINT p = CentreOf(over);
  ClickAt(window(), p.x - 10, p.y);  // inside both
  const std::vector<ReceivedMessage> want = {{kMsgScreenCommand, 402, 0}};
  EXPECT_EQ(Commands(), want);
  const int before = g_screen.currentItem;
  ClearMessages(window());
  const POINT q = CentreOf(locked);
  ClickAt(window(), q.x, q.y);
  EXPECT_EQ(g_screen.currentItem, before);
  EXPECT_TRUE(Commands().empty());
  // A window whose slot has no items only beeps.
  g_screen.currentSlot = kWindowSlotCount - 1;
  EXPECT_EQ(HandleItemClick(), -2);
  EXPECT_EQ(HitTestItemAtMouse(), -2);
}

TEST_F(MouseTest, FixedItemsStayPutWhileTheContentScrolls) {
  const int fixed = AddButton("HEADER", 2, 1, 501);
  const int field = AddScreenItem("", "FIELD", 2, 10, 0, 6, 6, 0, 'X', 0, 0, 0, 'L', kItemEnabled,
                                  0, 5, 0, 0, "", "");
  Item(fixed).protectByte = 1;
  ASSERT_GE(OpenScreenOf(1, 1, 0, 400, 200), 0);
  Slot(slot()).scrollY = 100;
  // The field is drawn 100 pixels higher; the header where it always is.
  ClickAt(window(), Item(field).pixelX + 5, Item(field).pixelY - 100 + 5);
  EXPECT_EQ(g_screen.currentItem, field);
  ClickAt(window(), Item(fixed).pixelX + 5, Item(fixed).pixelY + 5);
  const std::vector<ReceivedMessage> want = {{kMsgScreenCommand, 501, 0}};
  EXPECT_EQ(Commands(), want);
  Slot(slot()).scrollY = 0;
}

TEST_F(MouseTest, HitRectanglesSpanCheckGridsAndCaptions) {
  struct Case {
    const char* what;
    char edit;
    int keyCode, perRow;
    const char* caption;
    int right, bottom;  // relative to the item's pixel x and y
  };
  // Five boxes of 4 grid units with a gap of 1, two a row, 4 pixels a unit,
  // rows 2 units apart, choices up to 3 characters of 8 pixels.
  const int dots = SheetDotsPerGridUnit();
  const Case cases[] = {
      {"plain item", 'L', 0, 0, "", 50, 20},
      {"check grid", 'C', 1, 2, "", (4 * 3 + 1 * 2) * dots + 3 * 8, (20 + 2 * dots) * 2},
      {"grid without a key code", 'C', 0, 2, "", 50, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int i = AddScreenItem(c.caption, "GRID", 2, 1, 0, 5, 5, 8, 'X', 0, 0, c.keyCode, c.edit,
                                kItemEnabled, 0, 5, 0, 0, "", "A,BBB,C");
    ScreenItem& item = Item(i);
    item.pixelX = 100;
    item.pixelY = 60;
    item.pixelWidth = 50;
    item.pixelHeight = 20;
    item.boxesPerRow = c.perRow;
    item.boxWidth = 4;
    item.boxGap = 1;
    item.rowGap = 2;
    int left, top, right, bottom;
    GetItemHitRect(i, &left, &top, &right, &bottom);
    EXPECT_EQ(left, 100);
    EXPECT_EQ(top, 60);
    EXPECT_EQ(right, 100 + c.right);
    EXPECT_EQ(bottom, 60 + c.bottom);
    DiscardBuildingItems();
  }
}

TEST_F(MouseTest, HoverTipShowsFromTheSecondToTheTwelfthTick) {
  const int button = AddButton("HELP", 2, 1, 601, "first line|second");
  AddScreenItem("", "FIELD", 2, 6, 0, 6, 6, 0, 'X', 0, 0, 0, 'L', kItemEnabled, 0, 5, 0, 0, "", "");
  ASSERT_GE(OpenScreenOf(), 0);
  const POINT p = CentreOf(button);
  MoveMouseTo(window(), p.x, p.y);
  EXPECT_EQ(g_screen.hoverItem, button);
  const HWND tip = Slot(slot()).statics[0];
  std::vector<bool> shown;
  for (int tick = 1; tick <= 13; ++tick) {
    ShowItemHintBox();
    RECT r;
    GetWindowRect(tip, &r);
    shown.push_back(r.right > r.left);
  }
  const std::vector<bool> want = {false, true, true, true, true, true, true,
                                  true,  true, true, true, true, false};
  EXPECT_EQ(shown, want);
  // Off the item the tip goes.
  MoveMouseTo(window(), 390, 290);
  EXPECT_EQ(g_screen.hoverItem, -1);

  // Out of the window too, and with the mouse over another window, this
  // window's timer takes its tip away.
  auto tipShown = [&] {
    RECT r;
    GetWindowRect(tip, &r);
    return r.right > r.left;
  };
  for (const bool leave : {true, false}) {
    SCOPED_TRACE(leave ? "left the window" : "over another window");
    MoveMouseTo(window(), p.x, p.y);
    ShowItemHintBox();
    ShowItemHintBox();
    ASSERT_TRUE(tipShown());
    if (leave) {
      SendMessageA(window(), WM_MOUSELEAVE, 0, 0);
    } else {
      g_screen.currentSlot = slot() == 1 ? 2 : 1;
      SendMessageA(window(), WM_TIMER, kSlotTimerId, 0);
      g_screen.currentSlot = slot();
    }
    EXPECT_FALSE(tipShown());
  }
}

}  // namespace
