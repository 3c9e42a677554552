// Items and whole pages painted into memory bitmaps: backgrounds, frames,
// caption boxes, marks, choice boxes, paper outlines, guide and ruled lines,
// the design selection, scrolling and images. Checked by the positions and
// colours the painters fix; no pixel of rendered text is compared.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "screen/screen.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/test_pictures.h"

namespace {

const COLORREF kBackground = RGB(0, 0, 64);

class PagePaintTest : public ScreenEngineTest {
 protected:
  void TearDown() override {
    for (RuledLine& line : g_ruledLines) line = RuledLine();
    g_lineEdit = RuledLineEditState();
    g_designSelection = DesignSelection();
    for (const std::string& file : files_) std::remove(file.c_str());
    ScreenEngineTest::TearDown();
  }

  int Open(int windowKind = 0, int screenType = 0, int width = 780, int height = 380) {
    const int slot = FindFreeWindowSlot();
    Slot(slot).windowKind = windowKind;
    Slot(slot).screenType = screenType;
    EXPECT_EQ(OpenScreenWindow(NewWindow(), 0, 0, width, height, 0, 41, 1, 1, -1, ""), 0);
    g_screen.currentItem = -1;  // no field under the edit control
    return slot;
  }

  // Paints the slot's page at its scroll position; checks that no GDI
  // object outlives the paint.
  void Paint(int slot, MemoryCanvas& canvas) {
    canvas.Clear(kBackground);
    const int live = LiveGdiObjects();
    ASSERT_NE(BeginScreenPaintDC(canvas.dc(), slot, Slot(slot).scrollPosH, Slot(slot).scrollPosV),
              nullptr);
    PaintScreenPage(Slot(slot).window, slot);
    EndScreenPaintDC();
    EXPECT_EQ(LiveGdiObjects(), live);
  }

  // A width x height BMP of one colour in the program folder.
  std::string WriteBitmap(const char* name, int width, int height, COLORREF color) {
    std::vector<std::uint8_t> rgb;
    for (int k = 0; k < width * height; ++k) {
      rgb.insert(rgb.end(), {GetRValue(color), GetGValue(color), GetBValue(color)});
    }
    EXPECT_TRUE(WriteBmpRgb(name, width, height, rgb));
    files_.push_back(name);
    return name;
  }

  std::vector<std::string> files_;
};

TEST_F(PagePaintTest, FieldsCaptionsButtonsAndMarks) {
  const int field = AddItem("F", 'X', 10, 1, 10, 10, 1, "NAME");
  const int hidden = AddItem("H", 'X', 10, 3, 10, 10);
  Item(hidden).state = kItemHidden;
  AddScreenItem("GO", "B", 30, 1, 0, 6, 24, 0, 'B', 0, 2, 112, 'S', 0, 0, 6,
                                   0, 0, "", "");
  const int radio = AddScreenItem("", "R", 50, 1, 0, 10, 60, 0, 'R', 0, 1, 0, 'S', 0, 0, 5, 0,
                                  0, "", "A,B,C");
  const int check = AddScreenItem("", "C", 70, 1, 0, 10, 60, 0, 'C', 0, 1, 0, 'S', 0, 0, 5, 0,
                                  0, "", "A,B,C");
  const int colour = AddScreenItem("", "K", 10, 5, 0, 4, 4, 0, 'c', 11, 0, 0, 'L', 0, 0, 5, 0,
                                   0, "", "");
  const int banned = AddScreenItem("", "N", 20, 5, 0, 4, 4, 0, 'c', 2, 0, 0, 'L', 0, 0, 5, 0, 0,
                                   "", "");
  const int slot = Open();
  Item(radio).displayText = "2";
  Item(check).displayText = "101";
  Item(colour).displayText = "4";
  Item(banned).displayText = "1";
  MemoryCanvas canvas(800, 400);
  Paint(slot, canvas);

  // The field at (81, 33) 94 x 23: light grey inside a sunken edge, and its
  // caption box left of it in the title colour.
  EXPECT_EQ(Item(field).pixelX, 81);
  EXPECT_EQ(Item(field).pixelY, 33);
  EXPECT_EQ(canvas.Pixel(84, 36), kLightGrey);
  EXPECT_EQ(canvas.Pixel(81, 40), kEdgeGrey);
  EXPECT_EQ(canvas.Pixel(174, 40), kWhite);
  EXPECT_EQ(canvas.Pixel(43, 35), RGB(155, 155, 155));
  EXPECT_EQ(canvas.Pixel(100, 90), kBackground);  // hidden: nothing at all
  // Box colour 2 of a button fills with colour 22.
  EXPECT_EQ(canvas.Pixel(244, 36), RGB(230, 100, 130));
  // Radio value 2: the mark ball is in the second box only; check "101" in
  // the first and third.
  EXPECT_EQ(canvas.Pixel(427, 49), kLightGrey);
  EXPECT_EQ(canvas.Pixel(427, 63), kBlue);
  EXPECT_EQ(canvas.Pixel(427, 77), kLightGrey);
  EXPECT_EQ(canvas.Pixel(587, 49), kBlue);
  EXPECT_EQ(canvas.Pixel(587, 63), kLightGrey);
  EXPECT_EQ(canvas.Pixel(587, 77), kBlue);
  // Two-state marks: count 11 fills with the value's colour, count 2 value
  // 1 is the banned mark.
  EXPECT_EQ(canvas.Pixel(100, 144), kGreen);
  EXPECT_EQ(canvas.Pixel(185, 142), kMagenta);
}

TEST_F(PagePaintTest, PaperOutlinesAndGuideLines) {
  MemoryCanvas canvas(700, 900);
  const int a = Open(9);  // CD upright, 264 x 436
  Paint(a, canvas);
  EXPECT_EQ(canvas.Pixel(8, 100), kEdgeGrey);
  EXPECT_EQ(canvas.Pixel(272, 100), kWhite);
  EXPECT_EQ(canvas.Pixel(100, 0), kEdgeGrey);
  EXPECT_EQ(canvas.Pixel(100, 436), kWhite);
  EXPECT_EQ(canvas.CountColor(9, 25, 272, 26, kRed), 0);

  Slot(a).lineEditMode = 1;
  Paint(a, canvas);
  const int red = canvas.CountColor(9, 25, 272, 26, kRed);
  EXPECT_GT(red, 40);
  EXPECT_LT(red, 263);  // dotted
  Slot(a).guideColourFlag = 0;
  Paint(a, canvas);
  EXPECT_GT(canvas.CountColor(9, 25, 272, 26, kCyan), 40);
  CloseAll();

  const int b = Open(8, 0, 700, 900);  // landscape: the fold line frames the right half
  Paint(b, canvas);
  EXPECT_EQ(canvas.Pixel(8 + 308, 100), kEdgeGrey);
  CloseAll();

  const int c = Open(kWindowKindList, 0, 400, 200);
  Paint(c, canvas);
  EXPECT_EQ(canvas.Pixel(50, 10), kWhite);
  EXPECT_EQ(canvas.Pixel(50, 25), kYellow);
}

TEST_F(PagePaintTest, RuledLinesAndTheDesignSelection) {
  const int slot = Open(0, 0, 780, 420);
  Slot(slot).firstLine = 0;
  Slot(slot).lineCount = 5;
  g_ruledLines[0] = {'L', 1, 20, 300, 200, 300};
  g_ruledLines[1] = {'L', kRuledLineCutFrame, 20, 320, 200, 380};
  g_ruledLines[2] = {'L', 7, 220, 300, 380, 300};
  g_ruledLines[3] = {'L', 5, 20, 390, 200, 390};
  g_ruledLines[4] = {'L', 8, 220, 320, 380, 380};
  MemoryCanvas canvas(800, 420);
  Paint(slot, canvas);
  EXPECT_EQ(canvas.Pixel(100, 300), kBlack);
  EXPECT_EQ(canvas.Pixel(20, 350), kGreen);     // the cutting frame
  EXPECT_EQ(canvas.Pixel(300, 300), kWhite);    // style 7: white line ...
  EXPECT_EQ(canvas.Pixel(300, 299), kBlack);    // ... with a black one above
  const int dashes = canvas.CountColor(20, 390, 200, 391, kBlack);
  EXPECT_GT(dashes, 30);
  EXPECT_LT(dashes, 180);
  EXPECT_EQ(canvas.Pixel(220, 350), kEdgeGrey); // style 8: a 3D edge
  EXPECT_EQ(canvas.Pixel(380, 350), kWhite);

  Slot(slot).lineEditMode = 1;
  g_lineEdit.selectedLine = 0;
  g_designSelection = DesignSelection{1, 400, 300, 500, 380};
  Paint(slot, canvas);
  EXPECT_EQ(canvas.Pixel(100, 300), kRed);
  EXPECT_EQ(canvas.Pixel(400, 340), kRed);
  EXPECT_EQ(canvas.Pixel(399, 339), kRed);      // two pixels thick
  g_designSelection.state = 4;
  Paint(slot, canvas);
  EXPECT_EQ(canvas.Pixel(400, 340), kBlue);
}

TEST_F(PagePaintTest, TheHeaderBandHidesScrolledItemsButNotFixedOnes) {
  const int scrolled = AddItem("S", 'X', 10, 1, 10, 10);
  const int fixed = AddItem("P", 'X', 30, 1, 10, 10, 5, "", "", 'L', 1);
  const int below = AddItem("B", 'X', 10, 4, 10, 10);
  const int slot = Open(0, kScreenTypeList);
  EXPECT_EQ(Slot(slot).headerHeight, 64);
  MemoryCanvas canvas(800, 400);
  Paint(slot, canvas);
  EXPECT_EQ(canvas.Pixel(Item(scrolled).pixelX + 5, Item(scrolled).pixelY + 5), kBackground);
  EXPECT_EQ(canvas.Pixel(Item(fixed).pixelX + 5, Item(fixed).pixelY + 5), kLightGrey);
  EXPECT_EQ(canvas.Pixel(Item(below).pixelX + 5, Item(below).pixelY + 5), kLightGrey);

  // Design mode leaves fixed items out.
  Slot(slot).lineEditMode = 1;
  Paint(slot, canvas);
  EXPECT_NE(canvas.Pixel(Item(fixed).pixelX + 5, Item(fixed).pixelY + 5), kLightGrey);
}

TEST_F(PagePaintTest, TheFunctionKeyBarShowsRaisedKeysWithTheirCaptionsBelow) {
  // Esc, F2 and F4 enabled, F1 protected, F3 hidden: the hidden key takes
  // no room, Esc is followed by a gap.
  const int building = FindFreeWindowSlot();
  Slot(building).fontUnit = 8;
  Slot(building).functionKeys = "2120200000000000";
  ASSERT_EQ(SetupFunctionKeys(building, kScreenTypeCard), 22);
  const int slot = Open(0, kScreenTypeCard);
  ASSERT_EQ(slot, building);
  MemoryCanvas canvas(800, 400);
  Paint(slot, canvas);

  struct Key {
    const char* name;
    int x;
    bool caption;
  };
  const Key keys[] = {
      {"FKEY00", 8, true}, {"FKEY01", 56, false}, {"FKEY02", 96, true}, {"FKEY04", 136, true}};
  const int header = Slot(slot).headerHeight;
  int inkUnderKeys = 0;
  for (const Key& key : keys) {
    SCOPED_TRACE(key.name);
    const int i = ResolveFieldRef(slot, key.name);
    ASSERT_GE(i, 0);
    const ScreenItem& item = Item(i);
    EXPECT_EQ(item.pixelX, key.x);
    // A raised frame one pixel inside the item: white left and top sides,
    // dark right and bottom sides, the light-grey face within, with the
    // key's name on it.
    const int left = item.pixelX + 1, top = item.pixelY + 1;
    const int right = item.pixelX + item.pixelWidth - 2;
    const int bottom = item.pixelY + item.pixelHeight - 3;
    const int midX = (left + right) / 2, midY = (top + bottom) / 2;
    EXPECT_EQ(canvas.Pixel(left, midY), kWhite);
    EXPECT_EQ(canvas.Pixel(midX, top), kWhite);
    EXPECT_EQ(canvas.Pixel(right, midY), kEdgeGrey);
    EXPECT_EQ(canvas.Pixel(midX, bottom), kEdgeGrey);
    const int face = (right - left - 1) * (bottom - top - 1);
    const int grey = canvas.CountColor(left + 1, top + 1, right, bottom, kLightGrey);
    EXPECT_LT(grey, face) << "the key's name is written on it";
    EXPECT_GT(grey, face / 2);
    // The key's caption in blue under it, within the header band; a
    // protected key shows none.
    const int ink =
        canvas.CountColor(item.pixelX, bottom + 1, item.pixelX + item.pixelWidth, header, kBlue);
    EXPECT_EQ(ink > 0, key.caption) << ink;
    inkUnderKeys += ink;
  }
  // Every caption lies under its own key.
  EXPECT_EQ(canvas.CountColor(0, 0, canvas.width(), header, kBlue), inkUnderKeys);
}

TEST_F(PagePaintTest, ScrollingMovesTheContentAndThePaintOrigin) {
  const int item = AddItem("F", 'X', 10, 5, 10, 10);
  const int slot = Open(0, 0, 300, 1000);
  const HWND window = Slot(slot).window;
  EXPECT_EQ(Slot(slot).scrollMaxV, 1001 - 760);
  EXPECT_EQ(ScrollScreenVPlain(window, slot, SB_VERT, SB_PAGEDOWN, 0, 10, 0, 2, 0), 48);
  EXPECT_EQ(Slot(slot).scrollPosV, 48);
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 48);
  EXPECT_EQ(Slot(slot).scrollY, 48);  // the window repainted with the new origin

  MemoryCanvas canvas(400, 300);
  Paint(slot, canvas);
  EXPECT_EQ(canvas.Pixel(Item(item).pixelX + 5, Item(item).pixelY - 48 + 5), kLightGrey);

  // A line count above the maximum makes a line step of 0: no move, no
  // division by zero when snapping.
  EXPECT_EQ(ScrollScreenVSnap(window, slot, SB_VERT, SB_LINEDOWN, 0, 500, 0, 0, 0), 48);
  EXPECT_EQ(ScrollScreenVSnap(window, slot, SB_VERT, SB_LINEDOWN, 0, 10, 0, 0, 0), 72);
  EXPECT_EQ(ScrollScreenVTo(window, slot, SB_VERT, SB_BOTTOM, 0, 10, 0, 0), 241);
  EXPECT_EQ(ScrollScreenVTo(window, slot, SB_VERT, 11, 0, 10, 0, 0), 0);
  EXPECT_EQ(Slot(slot).scrollPosV, 0);
  // The horizontal range fits: no bar, no move.
  EXPECT_EQ(Slot(slot).scrollMaxH, 0);
  EXPECT_EQ(ScrollScreenHPlain(window, slot, SB_HORZ, SB_LINEDOWN, 0, 10, 0, 0, 0), 0);
}

TEST_F(PagePaintTest, ImagesThroughTheImageCache) {
  const std::string red = WriteBitmap("h5red.bmp", 8, 8, kRed);
  const std::string back = WriteBitmap("h5back.bmp", 6, 6, kGreen);
  const int image = AddScreenItem("", "IMG", 10, 1, 0, 10, 10, 0, 'X', 1, 0, 0, 'I', 0, 0, 5, 0,
                                  0, "", "");
  const int missing = AddScreenItem("", "GONE", 10, 5, 0, 10, 10, 0, 'X', 0, 0, 0, 'I', 0, 0, 5,
                                    0, 0, "", "");
  // A fixed picture: no value, its file named by the default text.
  const int fixed = AddScreenItem("", "FIXED", 30, 1, 0, 10, 10, 0, 'X', 1, 0, 0, 'I', 0, 0, 5, 0,
                                  0, "", "");
  Item(fixed).defaultText = "h5red.bmp";
  Slot(0).pendingImage = back;
  const int slot = Open();
  ASSERT_NE(Slot(slot).backgroundImage, nullptr);
  Item(image).displayText = "h5red";  // ".BMP" is appended
  Item(missing).displayText = "h5none.bmp";
  MemoryCanvas canvas(800, 400);
  Paint(slot, canvas);
  EXPECT_EQ(canvas.Pixel(2, 2), kGreen);
  const ScreenItem& shown = Item(image);
  EXPECT_EQ(canvas.Pixel(shown.pixelX + 2, shown.pixelY + 2), kRed);
  EXPECT_EQ(canvas.Pixel(Item(missing).pixelX + 5, Item(missing).pixelY + 5), kLightGrey);
  EXPECT_EQ(canvas.Pixel(Item(fixed).pixelX + 2, Item(fixed).pixelY + 2), kRed) << "shown as laid out";
}

TEST_F(PagePaintTest, FontSpecsAndFormatMasks) {
  const int bold = AddScreenItem("", "SPEC3", 10, 1, 0, 8, 8, 0, 'X', 0, 0, 0, 'L', 0, 0, 5, 0, 0,
                                 "", "");
  const int plain = AddScreenItem("", "SPEC2", 10, 2, 0, 8, 8, 0, 'X', 0, 0, 0, 'L', 0, 0, 5, 0,
                                  0, "", "");
  Open();
  Item(bold).defaultText = "_G7";
  Item(plain).defaultText = "_G";
  MemoryCanvas canvas(400, 200);
  ASSERT_NE(BeginScreenPaintDC(canvas.dc(), 0, 0, 0), nullptr);
  PaintListField(bold, "text");
  EXPECT_EQ(ActivePaintContext().fontFace, 1);
  EXPECT_EQ(ActivePaintContext().fontWeight, 700);
  PaintListField(plain, "text");
  EXPECT_EQ(ActivePaintContext().fontFace, 0);  // the entry font
  EXPECT_EQ(ActivePaintContext().fontWeight, 400);
  EndScreenPaintDC();

  struct Case {
    char kind;
    int width, titleStyle;
    const char* want;
  };
  const Case cases[] = {
      {'K', 4, 5, "□□"}, {'N', 4, 5, "9999"}, {'T', 3, 5, "999"}, {'H', 2, 5, "ｱｱ"},
      {'P', 3, 5, "***"}, {'z', 6, 5, "XXXX"}, {'X', 2, 5, "XX"},  {'X', 4, 13, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.kind) + std::to_string(c.width));
    const int i = AddScreenItem("", "M", 0, 0, 0, c.width, c.width, 0, c.kind, 0, 0, 0, 'L', 0, 0,
                                c.titleStyle, 0, 0, "", "");
    char mask[16];
    FillFormatMask(i, mask);
    EXPECT_STREQ(mask, c.want);
  }
}

TEST_F(PagePaintTest, MultiLineAreasAndDisabledChoices) {
  const int memo = AddScreenItem("", "MEMO", 2, 1, 0, 10, 3, 0, 'o', 0, 0, 'Y', 'L', 0, 0, 5, 0, 0,
                                 "", "");
  const int radio = AddScreenItem("", "R", 50, 1, 0, 10, 60, 0, 'R', 0, 1, 0, 'S', 0, 0, 5, 0, 0,
                                  "", "A,B,C");
  Slot(0).scrHeight = 10;
  const int slot = Open();
  Item(radio).defaultText = "0^0";
  Item(radio).displayText = "2";
  MemoryCanvas canvas(800, 400);
  Paint(slot, canvas);
  const ScreenItem& m = Item(memo);
  // Blue frame one pixel outside the paint rectangle (left + 1 .. right).
  EXPECT_EQ(canvas.Pixel(m.pixelX, m.pixelY + m.pixelHeight / 2), kBlue);
  EXPECT_EQ(canvas.Pixel(m.pixelX + m.pixelWidth - 1, m.pixelY + m.pixelHeight / 2), kBlue);
  // The second choice is disabled: no box and no mark, though chosen.
  EXPECT_EQ(canvas.Pixel(427, 49), kLightGrey);
  EXPECT_EQ(canvas.Pixel(427, 63), kBackground);
  EXPECT_EQ(canvas.Pixel(427, 77), kLightGrey);
}

TEST_F(PagePaintTest, PaintingTheWindowLeavesNoGdiObjectOrContextBehind) {
  AddItem("F", 'X', 10, 1, 10, 10, 1, "NAME");
  AddScreenItem("GO", "B", 30, 1, 0, 6, 24, 0, 'B', 0, 2, 112, 'S', 0, 0, 6, 0, 0, "", "");
  AddScreenItem("", "R", 50, 1, 0, 10, 60, 0, 'R', 0, 1, 0, 'S', 0, 0, 5, 0, 0, "", "A,B,C");
  const int slot = Open(9);
  const int live = LiveGdiObjects();
  for (int k = 0; k < 3; ++k) {
    InvalidateRect(Slot(slot).window, nullptr, TRUE);
    UpdateWindow(Slot(slot).window);
  }
  EXPECT_EQ(LiveGdiObjects(), live);
  EXPECT_EQ(PaintDC(), nullptr);
  // A field repainted while the page paints gets a context of its own.
  MemoryCanvas page(100, 100), field(100, 100);
  ASSERT_NE(BeginScreenPaintDC(page.dc(), slot, 0, 0), nullptr);
  ASSERT_NE(GetScreenDC(Slot(slot).window, slot, 0, 0), nullptr);
  PaintListField(Slot(slot).firstItem, "x");
  ReleaseScreenDC();
  EXPECT_EQ(PaintDC(), page.dc());
  EndScreenPaintDC();
  EXPECT_EQ(PaintDC(), nullptr);
  EXPECT_EQ(LiveGdiObjects(), live);
}

}  // namespace
