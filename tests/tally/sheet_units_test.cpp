// Where a printed OCR sheet puts its parts: an item's place from its canvas
// pixels, box sizes and rectangles (rows, grids, fields off the millimetre
// grid), the sizes of box characters and labels, the grade of a read mark,
// the guide of a write-in box and the place of a title.
#include <gtest/gtest.h>

#include <vector>

#include "tally/tally.h"

namespace {

// A sheet printed at scale 100 (hundredths of a millimetre) from a canvas
// of 4 pixels a millimetre.
SheetPrintUnits PrinterUnits() { return SheetPrintUnits{100, 4, 4}; }

TEST(SheetUnits, ItemPlaceFromCanvasPixels) {
  struct Case {
    const char* what;
    int x, y, width, height, xExtent, yExtent;
    SheetItemPlace want;
  };
  const Case cases[] = {
      {"no registration extents: 5 mm up and left", 40, 80, 60, 20, 0, 0,
       {-5, -5, 5, 15, 20, 20, 500, 1500, 2000, 2000}},
      {"extents of 20 and 10 mm", 40, 80, 60, 20, 80, 40,
       {15, 5, 25, 25, 40, 30, 2500, 2500, 4000, 3000}},
      {"off the grid: device units keep the quarter millimetre", 41, 82, 60, 20, 0, 0,
       {-5, -5, 5, 16, 20, 21, 525, 1550, 2025, 2050}},
      {"a half rounds up", 42, 0, 2, 2, 0, 0, {-5, -5, 6, -5, 6, -4, 550, -500, 600, -450}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SheetItemPlace p =
        PlaceSheetItem(c.x, c.y, c.width, c.height, c.xExtent, c.yExtent, PrinterUnits());
    const std::vector<int> got = {p.dx,         p.dy,          p.left,         p.top,
                                  p.right,      p.bottom,      p.deviceLeft,   p.deviceTop,
                                  p.deviceRight, p.deviceBottom};
    const SheetItemPlace& w = c.want;
    const std::vector<int> want = {w.dx,         w.dy,          w.left,         w.top,
                                   w.right,      w.bottom,      w.deviceLeft,   w.deviceTop,
                                   w.deviceRight, w.deviceBottom};
    EXPECT_EQ(got, want);
  }
  EXPECT_EQ(RoundHalfUpRatio(-5, 2), -2) << "halves round up for negative values too";
}

TEST(SheetUnits, BoxSizes) {
  struct Case {
    const char* what;
    int boxWidth, boxHeight, pitch, count;
    bool shared;
    int width, gap, step, deviceWidth;
  };
  const Case cases[] = {
      {"own width", 6, 7, 2, 4, false, 6, 2, 8, 600},
      {"no separate boxes", 6, 7, -1, 4, false, 6, 0, 6, 600},
      {"a shared width keeps its remainder in device units", 31, 7, 2, 4, true, 6, 2, 8, 625},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SheetBoxSize s = SizeSheetBoxes(c.boxWidth, c.boxHeight, c.pitch, c.count, c.shared, 100);
    EXPECT_EQ(s.width, c.width);
    EXPECT_EQ(s.height, c.boxHeight);
    EXPECT_EQ(s.gap, c.gap);
    EXPECT_EQ(s.step, c.step);
    EXPECT_EQ(s.deviceWidth, c.deviceWidth);
  }
}

std::vector<std::pair<int, int>> Corners(const std::vector<PrintedBox>& boxes) {
  std::vector<std::pair<int, int>> corners;
  for (const PrintedBox& b : boxes) corners.emplace_back(b.left, b.top);
  return corners;
}

TEST(SheetUnits, BoxRectangles) {
  // An item 41 pixels in: 10.25 mm, off the millimetre grid.
  const SheetItemPlace place = PlaceSheetItem(41, 80, 100, 20, 0, 0, PrinterUnits());
  ASSERT_EQ(place.deviceLeft, 525);
  ASSERT_EQ(place.deviceTop, 1500);
  const SheetBoxSize size = SizeSheetBoxes(5, 5, 2, 5, false, 100);
  struct Case {
    const char* what;
    bool check;
    int rows, direction;
    std::vector<std::pair<int, int>> corners;
  };
  const Case cases[] = {
      {"write-in boxes", false, 0, 0,
       {{525, 1500}, {1225, 1500}, {1925, 1500}, {2625, 1500}, {3325, 1500}}},
      {"check boxes in a row start at the item's exact left", true, 0, 0,
       {{525, 1500}, {1225, 1500}, {1925, 1500}, {2625, 1500}, {3325, 1500}}},
      {"a grid row by row", true, 2, 2,
       {{525, 1500}, {1225, 1500}, {1925, 1500}, {525, 2300}, {1225, 2300}}},
      {"a grid column by column", true, 2, 3,
       {{525, 1500}, {525, 2300}, {1225, 1500}, {1225, 2300}, {1925, 1500}}},
      {"rows without a direction stay one row", true, 2, 0,
       {{525, 1500}, {1225, 1500}, {1925, 1500}, {2625, 1500}, {3325, 1500}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SheetBoxLayout layout;
    layout.check = c.check;
    layout.boxCount = 5;
    layout.arrayRows = c.rows;
    layout.arrayDirection = c.direction;
    layout.rowStep = 3;
    const std::vector<PrintedBox> boxes = LayoutSheetBoxes(place, size, layout, 100);
    EXPECT_EQ(Corners(boxes), c.corners);
    for (const PrintedBox& b : boxes) {
      EXPECT_EQ(b.right - b.left, 500);
      EXPECT_EQ(b.bottom - b.top, 500);
    }
  }
}

TEST(SheetUnits, CharacterAndLabelSizes) {
  EXPECT_EQ(SheetBoxCharHeight(kSheetPrintBlank, 5, 6, 100), 405) << "small boxes: 5 more";
  EXPECT_EQ(SheetBoxCharHeight(kSheetPrintBlank, 7, 8, 100), 600);
  EXPECT_EQ(SheetBoxCharHeight(kSheetPrintAnswer, 7, 8, 100), 360) << "at least 360";
  EXPECT_EQ(SheetBoxCharHeight(kSheetPrintPlain, 10, 12, 100), 500);

  struct Case {
    int fontSize;
    unsigned char label;
    int want;
  };
  const SheetPrintUnits units{100, 8, 4};
  const Case cases[] = {
      {7, 'A', 87},   // one byte: fs x s / ud, truncated
      {7, 0xDE, 210},  // ﾞ: 2.4 times
      {7, 0xDF, 210},  // ﾟ
      {7, 0xB1, 105},  // ｱ: 1.2 times
      {7, 0xDD, 105},  // ﾝ
      {5, 0xB6, 75},
      {5, 0xDE, 150},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(SheetLabelHeight(c.fontSize, c.label, units), c.want);
  }
}

TEST(SheetUnits, LabelsByByteOrByToken) {
  struct Case {
    int position;
    bool comma;
    int count;
    bool oneByte;
  };
  const Case cases[] = {
      {23, true, 4, false},  {23, false, 4, true}, {24, false, 1, true}, {24, true, 4, false},
      {2, false, 4, true},   {2, false, 1, false}, {2, true, 4, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.position << " " << c.comma << " " << c.count);
    EXPECT_EQ(LabelIsOneByte(c.position, c.comma, c.count), c.oneByte);
  }
}

TEST(SheetUnits, AnswerMarksAreGradedAndClamped) {
  struct Case {
    const char* what;
    int markType, density, threshold, margin;
    int grey;
    bool unclear;
  };
  const Case cases[] = {
      {"oval just past its threshold", 1, 640, 50, 20, 158, true},
      {"oval well past it", 1, 760, 50, 20, 122, false},
      {"square box far past it", 0, 300, 100, 0, 0, false},
      {"square box near it", 0, 130, 100, 40, 140, true},
      {"no margin: never unclear", 1, 510, 50, 0, 197, false},
      {"a mark below its threshold stays white", 0, 20, 100, 0, 255, false},
      {"an empty oval stays white", 1, 0, 50, 0, 255, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const AnswerMark mark = GradeAnswerMark(c.markType, c.density, c.threshold);
    EXPECT_EQ(mark.grey, c.grey);
    EXPECT_EQ(mark.oval, c.markType == 1);
    EXPECT_EQ(IsUnclearMark(mark, c.threshold, c.margin), c.unclear);
  }
}

TEST(SheetUnits, WriteInGuides) {
  using G = WriteInGuide;
  struct Case {
    const char* what;
    int printColour, strokeWeight;
    const char* mask;
    const char* maximum;
    bool keyField;
    int keyNumbering;
    std::vector<G> boxes;
  };
  const Case cases[] = {
      {"a maximum of as many digits beginning with 1: the bar first", 41, 0, "1000000000", "123",
       false, 0, {G::kBar, G::kFigure8, G::kFigure8}},
      {"a shorter maximum: figures only", 41, 0, "1000000000", "12", false, 0,
       {G::kFigure8, G::kFigure8, G::kFigure8}},
      {"monochrome: no figures", 0, 0, "1000000000", "123", false, 0,
       {G::kNone, G::kNone, G::kNone}},
      {"monochrome with weight 1: dots", 0, 1, "1000000000", "123", false, 0,
       {G::kDots, G::kDots, G::kDots}},
      {"pale black is monochrome", 40, 1, "1000000000", "", false, 0,
       {G::kDots, G::kDots, G::kDots}},
      {"katakana fields get no figures", 44, 0, "0001000000", "", false, 0,
       {G::kNone, G::kNone, G::kNone}},
      {"the key field numbered by the run: none", 41, 0, "1000000000", "", true, 2,
       {G::kNone, G::kNone, G::kNone}},
      {"the key field asked to get figures", 41, 0, "0001000000", "", true, 1,
       {G::kFigure8, G::kFigure8, G::kFigure8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<G> got;
    for (int p = 1; p <= 3; ++p) {
      WriteInGuideCase g;
      g.box = p;
      g.boxCount = 3;
      g.guideFigures = 1;
      g.printColour = c.printColour;
      g.strokeWeight = c.strokeWeight;
      g.typeMask = c.mask;
      g.maximum = c.maximum;
      g.keyField = c.keyField;
      g.keyNumbering = c.keyNumbering;
      got.push_back(ChooseWriteInGuide(g));
    }
    EXPECT_EQ(got, c.boxes);
  }
  WriteInGuideCase dash;
  dash.boxCount = 7;
  dash.guideFigures = 1;
  dash.printColour = 41;
  dash.typeMask = "0000000001";
  dash.box = 4;
  EXPECT_EQ(ChooseWriteInGuide(dash), G::kNone) << "the dash box of a postcode";
  dash.box = 3;
  EXPECT_EQ(ChooseWriteInGuide(dash), G::kFigure8);
  dash.overlayHasChar = true;
  EXPECT_EQ(ChooseWriteInGuide(dash), G::kNone) << "a pre-printed character";
  dash.overlayHasChar = false;
  dash.valueEmpty = false;
  EXPECT_EQ(ChooseWriteInGuide(dash), G::kNone) << "a filled box";
}

TEST(SheetUnits, TitlePlaces) {
  struct Case {
    const char* what;
    int position, shading, frame, label, pitch, rowStep;
    bool textItem;
    SheetTitleRect want;
  };
  // The item spans device 500..2000 x 1000..1500; the title is 300 x 200.
  const Case cases[] = {
      {"none", 5, 1, 0, 20, 0, 0, false, {false, 0, 0, 0, 0}},
      {"left", 1, 1, 0, 20, 0, 0, false, {true, -4, 1000, 496, 1500}},
      {"left of a shaded field", 1, 0, 0, 20, 0, 0, false, {true, -104, 900, 396, 1600}},
      {"right of a framed field", 2, 1, 1, 20, 0, 0, false, {true, 2100, 1000, 2800, 1500}},
      {"right of a text item", 2, 1, 0, 20, 0, 0, true, {true, 2000, 1000, 2500, 1500}},
      {"below a shaded field", 4, 2, 0, 20, 0, 0, false, {true, 400, 1700, 2100, 2100}},
      {"above a shaded field", 3, 2, 0, 20, 0, 0, false, {true, 400, 400, 2100, 800}},
      {"above ovals", 3, 1, 0, 23, 2, 0, false, {true, 400, 400, 1900, 800}},
      {"above ovals of a row step of 5", 3, 1, 0, 23, 2, 5, false, {true, 400, 200, 1900, 600}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SheetTitleCase t;
    t.deviceLeft = 500;
    t.deviceTop = 1000;
    t.deviceRight = 2000;
    t.deviceBottom = 1500;
    t.scale = 100;
    t.gridUnit = 4;
    t.titlePosition = c.position;
    t.shading = c.shading;
    t.titleFrame = c.frame;
    t.labelPosition = c.label;
    t.pitch = c.pitch;
    t.rowStep = c.rowStep;
    t.textItem = c.textItem;
    t.textWidth = 300;
    t.textHeight = 200;
    const SheetTitleRect r = PlaceSheetTitle(t);
    EXPECT_EQ(r.shown, c.want.shown);
    if (!r.shown) continue;
    EXPECT_EQ(std::vector<int>({r.left, r.top, r.right, r.bottom}),
              std::vector<int>({c.want.left, c.want.top, c.want.right, c.want.bottom}));
  }
}

}  // namespace
