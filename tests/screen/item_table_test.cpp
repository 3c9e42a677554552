// The item table: the rules of AddScreenItem, capacities, actions, the
// table limit, layout in pixels, caption rectangles and display texts.
#include <gtest/gtest.h>

#include <string>

#include "screen/screen.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/hook_recorder.h"

namespace {

class ItemTableTest : public ScreenEngineTest {};

TEST_F(ItemTableTest, AddScreenItemRules) {
  const int radioCaption = AddScreenItem("ABC", "R1", 0, 0, 0, -1, 0, 0, 'R', 0, 0, 0, 'S', 0,
                                         0, 6, 0, 0, "", "");
  const int radioGuide = AddScreenItem("", "R2", 0, 0, 0, -1, 0, 0, 'R', 0, 0, 0, 'S', 0, 0, 7,
                                       0, 0, "XY", "");
  const int negative = AddItem("N", 'X', 0, 0, -3, 5);
  const int check = AddItem("C", 'C', 0, 0, 4, 30, 5, "", "a,b,c");
  const int button = AddScreenItem("", "B", 0, 0, 0, 6, 30, 0, 'B', 0, 255, 112, 'S', 0, 0, 6,
                                   0, 0, "", "");
  EXPECT_EQ(Item(radioCaption).width, 5);
  EXPECT_EQ(Item(radioGuide).width, 4);
  EXPECT_EQ(Item(negative).width, 10);
  EXPECT_EQ(Item(negative).length, 10);
  EXPECT_EQ(Item(check).count, 3);
  EXPECT_EQ(Item(check).length, 3);
  EXPECT_EQ(Item(check).capacity, 3);
  // Boxes: the length given is the pixel height, the width the length; the
  // protect byte passed is the box colour (255 reads as none).
  EXPECT_EQ(Item(button).pixelHeight, 30);
  EXPECT_EQ(Item(button).length, 6);
  EXPECT_EQ(Item(button).colorB, -1);
  EXPECT_EQ(Item(button).keyCode2, 112);
  EXPECT_EQ(Item(negative).colorB, -1);
  EXPECT_EQ(Item(negative).keyCode2, 0);
  EXPECT_EQ(g_screenItems.buildingCount, 5);
  EXPECT_EQ(g_screenItems.totalCount, 5);
}

TEST_F(ItemTableTest, TextCapacity) {
  struct Case {
    const char* what;
    char kind, edit;
    int width, length, titleStyle, want;
  };
  const Case cases[] = {
      {"larger of width and length", 'X', 'L', 12, 7, 1, 12},
      {"caption as text", 'X', 'L', 12, 7, 6, 200},
      {"caption as button text, tripled", 'B', 'L', 12, 7, 6, 600},
      {"radio base", 'R', 'L', 12, 7, 1, 10},
      {"title style 15", 'X', 'L', 12, 7, 15, 256},
      {"static text doubles", 'X', 'S', 12, 7, 1, 24},
      {"image names", 'X', 'I', 12, 7, 1, 128},
      {"free text", 'X', 'v', 12, 7, 1, 256},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int i = AddScreenItem("", "F", 0, 0, 0, c.width, c.length, 0, c.kind, 0, 0, 0, c.edit,
                                0, 0, c.titleStyle, 0, 0, "", "");
    EXPECT_EQ(Item(i).capacity, c.want);
  }
}

TEST_F(ItemTableTest, ActionsFromValuesAndFiles) {
  struct Case {
    const char* what;
    const char* value;
    const char* actionClass;
    const char* target;
  };
  const Case values[] = {
      {"program", "*X.EXE", "EXE", "X.EXE"},
      {"message to a window", "*SENDMESSAGE.win", "SENDMESSAGE", "win"},
      {"screen of a screen database", "*KQQSCR.KQQL-MENU", "KQQSCR", "KQQL-MENU"},
      {"no target", "*NOTE", "NOTE", ""},
  };
  for (const Case& c : values) {
    SCOPED_TRACE(c.what);
    const int i = AddItem("A", 'B', 0, 0, 4, 1, 6, "", c.value);
    EXPECT_EQ(Item(i).actionClass, c.actionClass);
    EXPECT_EQ(Item(i).actionTarget, c.target);
    EXPECT_EQ(Item(i).choices, "");
  }
  const Case files[] = {
      {"text file", "readme.txt", "TXT", "readme.txt"},
      {"sound", "song.wav", "MP3", "song.wav"},
      {"screen", "KQQSCR.CODE", "KQQSCR", "CODE"},
      {"no extension", "README", "", "README"},
  };
  const int item = AddItem("F", 'B', 0, 0, 4, 1);
  for (const Case& c : files) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(BindItemActionFile(item, c.value), 0);
    EXPECT_EQ(Item(item).actionClass, c.actionClass);
    EXPECT_EQ(Item(item).actionTarget, c.target);
  }
}

TEST_F(ItemTableTest, MultiLineAreaAboveTheCellLimitIsReported) {
  MessageBoxRecorder boxes;
  const std::string text(1500, 'x');
  const int i = AddScreenItem("", "MEMO", 0, 0, 0, 40, 30, 0, 'o', 0, 0, 0, 'L', 0, 0, 5, 0, 0,
                              "guide", text.c_str());
  ASSERT_GE(i, 0);
  EXPECT_EQ(Item(i).choices.size(), 1200u);
  EXPECT_EQ(Item(i).guide, "");
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"欄数×行数が 1024 を超えました。(MEMO)"});
}

TEST_F(ItemTableTest, TheItemBeyondTheTableTakesBackTheScreenBeingBuilt) {
  const HWND window = NewWindow();
  AddItem("KEEP1", 'X', 1, 1, 5, 5);
  AddItem("KEEP2", 'X', 1, 2, 5, 5);
  ASSERT_EQ(OpenScreenWindow(window, 0, 0, 200, 100, 0, 41, 1, 2, -1, "t"), 0);
  const int kept = g_screenItems.totalCount;

  MessageBoxRecorder boxes;
  int last = 0;
  while (last >= 0) last = AddItem("FILL", 'X', 0, 0, 1, 1);
  EXPECT_EQ(boxes.texts(),
            std::vector<std::string>{"入力項目(コントロール)の最大数 (2100) を越えました。"});
  EXPECT_EQ(g_screenItems.totalCount, kept);
  EXPECT_EQ(g_screenItems.buildingCount, 0);
  EXPECT_EQ(GetSlotItemName(0, 0), std::string("KEEP1"));
  // The table takes items again.
  EXPECT_EQ(AddItem("NEXT", 'X', 0, 0, 1, 1), kept);
}

TEST_F(ItemTableTest, LayoutInPixels) {
  WindowSlot& s = Slot(0);
  s.fontUnit = 8;
  s.rowPitch = 25;
  s.topMargin = 8;
  s.scrHeight = 20;
  const int field = AddItem("F", 'X', 2, 3, 10, 10);
  const int shifted = AddItem("S", 'X', 2, 3, 10, 10);
  Item(shifted).xOffset = 5;
  const int icon = AddItem("I", 'X', 2, 3, 10, 10);
  Item(icon).itemClass = kItemClassIcon;
  Item(icon).charSize = 12;
  const int memo = AddItem("M", 'o', 1, 2, 10, 3);
  for (int i : {field, shifted, icon, memo}) LayoutScreenItem(0, i, 0);

  EXPECT_EQ(Item(field).pixelX, 17);
  EXPECT_EQ(Item(field).pixelY, 83);
  EXPECT_EQ(Item(field).pixelWidth, 94);
  EXPECT_EQ(Item(field).pixelHeight, 23);
  EXPECT_EQ(Item(shifted).pixelX, 21);
  EXPECT_EQ(Item(icon).pixelWidth, 94);  // icons measure in the font unit
  EXPECT_EQ(Item(icon).pixelHeight, 35);
  // Multi-line areas count their rows from the bottom of the screen.
  EXPECT_EQ(Item(memo).column, 7);
  EXPECT_EQ(Item(memo).row, 20);
  EXPECT_EQ(Item(memo).pixelX, 57);
  EXPECT_EQ(Item(memo).pixelY, 508);
  EXPECT_EQ(Item(memo).pixelWidth, 158);
  EXPECT_EQ(Item(memo).pixelHeight, 75);
}

TEST_F(ItemTableTest, SheetItemsInGridUnits) {
  auto sheetItem = [](const char* code, char kind, char edit, int width) {
    const int i = AddScreenItem("", code, 40, 60, 0, width, 1, 0, kind, 0, 0, 0, edit, 0, 0, 5,
                                0, 0, "", "");
    Item(i).itemClass = kItemClassSheet;
    Item(i).code = code;
    Item(i).boxWidth = 5;
    Item(i).boxHeight = 4;
    return i;
  };
  const int check = sheetItem("0001", 'X', 'C', 6);
  Item(check).boxGap = 1;
  Item(check).boxesPerRow = 4;
  const int single = sheetItem("0002", 'Z', 'L', 3);
  const int row = sheetItem("0003", 'X', 'L', 3);
  Item(row).boxGap = 2;
  const int noGap = sheetItem("0004", 'X', 'L', 3);
  Item(noGap).boxGap = -1;
  const int text = sheetItem("T001", 'X', 'L', 0);
  Item(text).boxWidth = Item(text).boxHeight = 0;
  Item(text).sheetText = "ABCD";
  for (int i : {check, single, row, noGap, text}) LayoutSheetItem(i);

  EXPECT_EQ(Item(check).pixelX, 40);
  EXPECT_EQ(Item(check).pixelY, 60);
  EXPECT_EQ(Item(check).pixelWidth, 48);   // two columns of (5 + 1) x 4
  EXPECT_EQ(Item(check).pixelHeight, 16);
  EXPECT_EQ(Item(single).pixelWidth, 20);
  EXPECT_EQ(Item(row).pixelWidth, 76);     // 3 boxes of 20, 2 gaps of 8
  EXPECT_EQ(Item(noGap).pixelWidth, 60);
  EXPECT_EQ(Item(text).charSize, 8);
  EXPECT_EQ(Item(text).pixelWidth, 40);    // one line: (bytes + 1) x size
  EXPECT_EQ(Item(text).pixelHeight, 24);
}

TEST_F(ItemTableTest, CaptionRectangles) {
  auto placed = [](int titleStyle, const char* caption) {
    const int i = AddItem("F", 'X', 0, 0, 10, 10, titleStyle, caption);
    Item(i).charSize = 8;
    Item(i).pixelX = 100;
    Item(i).pixelY = 50;
    Item(i).pixelWidth = 94;
    Item(i).pixelHeight = 23;
    ItemCaptionRect r;
    GetItemRect(i, &r);
    return r;
  };
  struct Case {
    const char* what;
    ItemCaptionRect got, want;
  };
  const Case cases[] = {
      {"left", placed(1, "NAME"), {60, 50, 100, 73, kCaptionBeside}},
      {"right", placed(2, "NAME"), {194, 50, 232, 73, kCaptionBeside}},
      {"above", placed(3, "NAME"), {100, 26, 194, 50, kCaptionAboveBelow}},
      {"below", placed(4, "NAME"), {100, 73, 194, 97, kCaptionAboveBelow}},
      {"split at the star", placed(1, "AB*CD"), {76, 50, 210, 73, kCaptionSplit}},
      {"caption as the item's text", placed(6, "NAME"), {0, 0, 0, 0, kCaptionNone}},
      {"no caption", placed(1, ""), {0, 0, 0, 0, kCaptionNone}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.got.left, c.want.left);
    EXPECT_EQ(c.got.top, c.want.top);
    EXPECT_EQ(c.got.right, c.want.right);
    EXPECT_EQ(c.got.bottom, c.want.bottom);
    EXPECT_EQ(c.got.placement, c.want.placement);
  }
  const int split = AddItem("F", 'X', 0, 0, 10, 10, 1, "AB*CD*");
  EXPECT_EQ(GetCaptionSplitColumn(split), 2);
  EXPECT_STREQ(GetCaptionSplitText(), "AB CD ");
}

TEST_F(ItemTableTest, DisplayTexts) {
  const int caption = AddItem("C", 'B', 0, 0, 8, 1, 6, "OK");
  const int cut = AddItem("X", 'X', 0, 0, 3, 3);
  Item(cut).displayText = "ABCDE";
  const int wide = AddItem("K", 'K', 0, 0, 3, 3);
  Item(wide).displayText = "あいう";
  const int hidden = AddItem("H", 'X', 0, 0, 3, 3);
  Item(hidden).displayText = "ABC";
  Item(hidden).state = kItemHidden;
  EXPECT_STREQ(FormatItemDisplayText(caption), "OK");
  EXPECT_STREQ(FormatItemDisplayText(cut), "ABC");
  EXPECT_STREQ(FormatItemDisplayText(wide), "あ");  // never half a character
  EXPECT_STREQ(FormatItemDisplayText(hidden), "");
}

}  // namespace
