// The pixel matrix and the registration-mark search on pages drawn in memory.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "reading/sheet_core.h"
#include "tests/reading/sheet_page.h"

namespace {

void UseSettings(int dpi, int mode) {
  g_markSearchSettings = {};
  g_markSearchSettings.compensationMode = mode;
  g_markSearchParameters = MarkSearchParametersFor(dpi, g_markSearchSettings);
  ClearSheetCells();
}

TEST(SheetMatrix, SearchParametersFollowResolutionModeAndSettings) {
  struct Case {
    int dpi, mode, option, areaX1, areaY1, areaX2, areaY2;
    MarkSearchParameters expected;
  };
  const Case cases[] = {
      {200, 0, 0, 0, 0, 0, 0, {13, 200, 144, 2}},
      {200, 2, 8, 30, 20, 0, 0, {8, 240, 160, 2}},
      {200, 2, 14, 0, 0, 0, 0, {13, 200, 144, 2}},
      {200, 3, 0, 0, 0, 0, 0, {18, 280, 400, 18}},
      {200, 3, 12, 30, 20, 40, 60, {12, 320, 480, 18}},
      {200, 3, 10, 0, 0, 0, 0, {18, 280, 400, 18}},
      {300, 1, 12, 30, 20, 40, 60, {22, 300, 300, 15}},
      {300, 3, 0, 0, 0, 0, 0, {31, 300, 600, 20}},
      {400, 2, 0, 0, 0, 0, 0, {29, 400, 400, 20}},
      {400, 3, 0, 0, 0, 0, 0, {41, 400, 800, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dpi << " dpi mode " << c.mode << " option " << c.option);
    const MarkSearchSettings settings{c.mode, c.option, c.areaX1, c.areaY1, c.areaX2, c.areaY2};
    const MarkSearchParameters p = MarkSearchParametersFor(c.dpi, settings);
    EXPECT_EQ(p.markSize, c.expected.markSize);
    EXPECT_EQ(p.horizontalWindow, c.expected.horizontalWindow);
    EXPECT_EQ(p.verticalWindow, c.expected.verticalWindow);
    EXPECT_EQ(p.margin, c.expected.margin);
  }
}

TEST(SheetMatrix, BandUnpackFillsOnlyTheMarkBandsBetweenTheMargins) {
  SheetPage page(640, 1000, 300);
  page.Black(0, 0, 640, 1000);
  g_markSearchSettings = {};  // 300 dpi: window 300 rows, margin 15
  // The bands after the whole page leave nothing of its middle behind.
  for (int mode : {kUnpackMarkBands, kUnpackWholeImage, kUnpackMarkBands}) {
    SCOPED_TRACE(mode);
    UnpackSheetImage(page.bitmap(), mode);
    const char middle = mode == kUnpackWholeImage ? kCellBlack : kCellEmpty;
    struct Row {
      int y;
      char cell;
    };
    const Row rows[] = {{0, kCellEmpty},   {14, kCellEmpty}, {15, kCellBlack},
                        {300, kCellBlack}, {301, middle},     {698, middle},
                        {699, kCellBlack}, {984, kCellBlack}, {985, kCellEmpty}};
    for (const Row& r : rows) {
      EXPECT_EQ(SheetCell(0, r.y), r.cell) << "row " << r.y;
      EXPECT_EQ(SheetCell(639, r.y), r.cell) << "row " << r.y;
      EXPECT_EQ(SheetCell(640, r.y), kCellEmpty) << "row " << r.y;
    }
  }
}

TEST(SheetMatrix, BandsOfAnotherPageLeaveNothingOfWhatWasThereBefore) {
  SheetPage tall(640, 1000, 300);
  tall.Black(0, 0, 640, 1000);
  SheetPage shorter(320, 800, 300);  // bands: rows 15 to 300 and 499 to 784
  shorter.Black(0, 0, 320, 800);
  g_markSearchSettings = {};
  UnpackSheetImage(tall.bitmap(), kUnpackMarkBands);
  FillSheetCells(0, 400, 640, 1, kCellBlack);  // between the bands of both
  UnpackSheetImage(shorter.bitmap(), kUnpackMarkBands);
  struct Cell {
    int x, y;
    char cell;
  };
  const Cell cells[] = {{0, 100, kCellBlack},   {319, 100, kCellBlack}, {320, 100, kCellEmpty},
                        {639, 100, kCellEmpty}, {0, 400, kCellEmpty},   {639, 400, kCellEmpty},
                        {0, 700, kCellBlack},   {400, 700, kCellEmpty}, {0, 900, kCellEmpty},
                        {639, 984, kCellEmpty}};
  for (const Cell& c : cells) EXPECT_EQ(SheetCell(c.x, c.y), c.cell) << c.x << "," << c.y;
}

TEST(SheetMatrix, LargePagesAreUnpackedUpToTheMatrixEdges) {
  SheetPage page(7200, 5200, 400);
  page.Black(6990, 4990, 210, 210);
  g_markSearchSettings = {};
  UnpackSheetImage(page.bitmap(), kUnpackWholeImage);
  EXPECT_EQ(SheetCell(6999, 4999), kCellBlack);
  EXPECT_EQ(SheetCell(6989, 4999), kCellWhite);
  EXPECT_EQ(SheetCell(7000, 4999), kCellEmpty);
  EXPECT_EQ(SheetCell(6999, 5000), kCellEmpty);
  // The next, smaller page leaves nothing of this one behind: not beyond
  // its width, nor below it, nor in its margins.
  SheetPage small(64, 64, 400);
  UnpackSheetImage(small.bitmap(), kUnpackWholeImage);
  EXPECT_EQ(SheetCell(6999, 4999), kCellEmpty);
  EXPECT_EQ(SheetCell(30, 30), kCellWhite);
  UnpackSheetImage(page.bitmap(), kUnpackWholeImage);
  UnpackSheetImage(small.bitmap(), kUnpackMarkBands);
  for (const auto& [x, y] : {std::pair{100, 30}, std::pair{30, 100}, std::pair{30, 0},
                             std::pair{6999, 4999}}) {
    EXPECT_EQ(SheetCell(x, y), kCellEmpty) << x << "," << y;
  }
  EXPECT_EQ(SheetCell(30, 30), kCellWhite);
}

TEST(SheetMatrix, RunsAreBlackOnlyInsideTheMatrix) {
  ClearSheetCells();
  FillSheetCells(0, 0, 5, 5, kCellBlack);
  FillSheetCells(6995, 4995, 5, 5, kCellBlack);
  EXPECT_EQ(RunIsBlack(0, 0, 5, RunDirection::kRight), 1);
  EXPECT_EQ(RunIsBlack(0, 0, 6, RunDirection::kRight), 0);
  EXPECT_EQ(RunIsBlack(4, 4, 5, RunDirection::kLeft), 1);
  EXPECT_EQ(RunIsBlack(4, 4, 5, RunDirection::kUp), 1);
  EXPECT_EQ(RunIsBlack(0, 0, 2, RunDirection::kUp), 0);
  EXPECT_EQ(RunIsBlack(6999, 4995, 5, RunDirection::kDown), 1);
  EXPECT_EQ(RunIsBlack(6999, 4995, 6, RunDirection::kDown), 0);
  EXPECT_EQ(RunIsBlack(6996, 4999, 5, RunDirection::kRight), 0);
}

// Square marks of side m at each corner: sides n + 1 to 2n - 1 are found at
// their outer corner pixel, 2n to 3n - 3 one pixel inward for each pixel
// beyond 2n - 1, and n or less or 3n - 2 or more not at all.
TEST(MarkSearch, FindsSquaresOfTheMarkSizeAtTheirOuterCorner) {
  const int width = 1600, height = 2200;
  struct Corner {
    const char* name;
    MarkPoint (*find)(int, int);
    int left, top;  // where a square's outer corner goes
    int signX, signY;
  };
  const Corner corners[] = {
      {"top left", FindTopLeftMark, 40, 30, +1, +1},
      {"top right", FindTopRightMark, width - 41, 30, -1, +1},
      {"bottom left", FindBottomLeftMark, 40, height - 31, +1, -1},
      {"bottom right", FindBottomRightMark, width - 41, height - 31, -1, -1},
  };
  const int n = 13;  // 200 dpi, modes 0 to 2
  for (const Corner& c : corners) {
    for (int m = n - 1; m <= 3 * n; ++m) {
      SCOPED_TRACE(testing::Message() << c.name << ", side " << m);
      UseSettings(200, 2);
      const int x0 = c.signX > 0 ? c.left : c.left - m + 1;
      const int y0 = c.signY > 0 ? c.top : c.top - m + 1;
      FillSheetCells(0, 0, width, height, kCellWhite);
      FillSheetCells(x0, y0, m, m, kCellBlack);
      const MarkPoint found = c.find(width, height);
      if (m <= n || m >= 3 * n - 2) {
        EXPECT_FALSE(found.found());
      } else {
        const int inward = m <= 2 * n - 1 ? 0 : m - 2 * n + 1;
        EXPECT_EQ(found.x, c.left + c.signX * inward);
        EXPECT_EQ(found.y, c.top + c.signY * inward);
      }
    }
  }
}

TEST(MarkSearch, BarsWindowEdgesAndBandsDecideWhatIsAMark) {
  const int width = 1600, height = 2200;
  struct Case {
    const char* what;
    int left, top, side, heightOf;
    bool found;
  };
  // 200 dpi mode 2: n 13, window 200 x 144, margin 2.
  const Case cases[] = {
      {"a mark", 50, 40, 16, 16, true},
      {"a bar wider than the mark", 50, 40, 60, 16, false},
      {"a bar taller than the mark", 50, 40, 16, 60, false},
      {"last column of the window", 199, 40, 16, 16, true},
      {"first column beyond the window", 200, 40, 16, 16, false},
      {"last row of the window", 50, 143, 16, 16, true},
      {"first row beyond the window", 50, 144, 16, 16, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UseSettings(200, 2);
    FillSheetCells(0, 0, width, height, kCellWhite);
    FillSheetCells(c.left, c.top, c.side, c.heightOf, kCellBlack);
    const MarkPoint found = FindTopLeftMark(width, height);
    EXPECT_EQ(found.found(), c.found);
    if (c.found) {
      EXPECT_EQ(found.x, c.left);
      EXPECT_EQ(found.y, c.top);
    }
  }
}

// A page turned straight keeps the steps of its skewed scan: a mark's edge
// row black only in part, one pixel deep. The mark is found at the corner of
// its full rows, and a step beyond them makes up for the row they lack.
// Drawn at the top left and, mirrored, at the bottom right.
TEST(MarkSearch, MarkEdgesSteppedByTheTurnStillFrameTheMark) {
  const int width = 1600, height = 2200;
  struct Rows {
    int left, top, wide, tall;
  };
  struct Case {
    const char* what;
    Rows body, step;  // the full rows, and a partial row (tall 0: none)
    Rows step2;
    int x, y;         // the corner found (-1: none)
  };
  // 200 dpi mode 2: n 13, so a square needs 14 rows.
  const Case cases[] = {
      {"no step", {40, 31, 15, 14}, {}, {}, 40, 31},
      {"top row black on its inner part", {40, 31, 20, 14}, {45, 30, 15, 1}, {}, 40, 31},
      {"top row black on its outer part", {40, 31, 15, 14}, {40, 30, 8, 1}, {}, 40, 31},
      {"n full rows between two steps", {40, 31, 15, 13}, {46, 30, 9, 1}, {40, 44, 6, 1}, 40, 31},
      {"n full rows, a step below", {40, 31, 15, 13}, {}, {50, 44, 5, 1}, 40, 31},
      {"n full rows and nothing below", {40, 31, 15, 13}, {}, {}, -1, -1},
      {"a column step of one pixel under the top row", {40, 31, 15, 14}, {41, 30, 14, 1}, {},
       41, 30},
  };
  for (bool mirrored : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.what << (mirrored ? ", bottom right" : ", top left"));
      UseSettings(200, 2);
      FillSheetCells(0, 0, width, height, kCellWhite);
      for (const Rows& r : {c.body, c.step, c.step2}) {
        if (r.tall == 0) continue;
        FillSheetCells(mirrored ? width - r.left - r.wide : r.left,
                       mirrored ? height - r.top - r.tall : r.top, r.wide, r.tall, kCellBlack);
      }
      const MarkPoint found =
          mirrored ? FindBottomRightMark(width, height) : FindTopLeftMark(width, height);
      if (c.x < 0) {
        EXPECT_FALSE(found.found());
        continue;
      }
      EXPECT_EQ(found.x, mirrored ? width - 1 - c.x : c.x);
      EXPECT_EQ(found.y, mirrored ? height - 1 - c.y : c.y);
      if (!mirrored) {
        // The back mark below, stepped alike, is found from that corner.
        FillSheetCells(c.body.left, c.body.top + 24, c.body.wide, 13, kCellBlack);
        FillSheetCells(c.body.left + 3, c.body.top + 37, 4, 1, kCellBlack);
        EXPECT_EQ(FindSecondMarkBelow(found), 1);
      }
    }
  }
}

// A 300 dpi page in mode 3 (n 31) with marks of 36 pixels.
struct MarkedPage {
  SheetPage page{2496, 3400, 300};
  static constexpr int kSide = 36;
  void Mark(int left, int top) { page.Black(left, top, kSide, kSide); }
};

double Tilt(int dx, int dy) { return std::atan2(dy, dx) * 180 / 3.14; }

TEST(MarkSearch, CorrectionMarksOfAStraightPage) {
  g_markSearchSettings = {};
  g_markSearchSettings.compensationMode = 3;
  MarkedPage p;
  p.Mark(118, 165);
  p.Mark(2300, 165);
  p.Mark(118, 3200);
  EXPECT_EQ(FindCorrectionMarks(p.page.bitmap(), 1), 0);
  const CornerMarkPositions& m = g_cornerMarks;
  EXPECT_EQ(m.topLeft.x, 118);
  EXPECT_EQ(m.topLeft.y, 165);
  EXPECT_EQ(m.topRight.x, 2335);
  EXPECT_EQ(m.topRight.y, 165);
  EXPECT_EQ(m.bottomLeft.x, 118);
  EXPECT_EQ(m.bottomLeft.y, 3235);
  EXPECT_FALSE(m.bottomRight.found());
  EXPECT_EQ(m.upsideDown, 0);
  EXPECT_EQ(m.tilt, 0);
  EXPECT_EQ(m.secondMark, 0);
  EXPECT_EQ(m.width, 2496);
  EXPECT_EQ(m.height, 3400);
}

TEST(MarkSearch, ATiltedFirstPassLeavesTheBottomMarkToTheSecond) {
  g_markSearchSettings = {};
  g_markSearchSettings.compensationMode = 3;
  MarkedPage p;
  p.Mark(118, 165);
  p.Mark(2300, 185);  // 20 rows lower
  p.Mark(118, 3200);
  FindCorrectionMarks(p.page.bitmap(), 1);
  EXPECT_DOUBLE_EQ(g_cornerMarks.tilt, Tilt(2335 - 118, 20));
  EXPECT_FALSE(g_cornerMarks.bottomLeft.found());
  FindCorrectionMarks(p.page.bitmap(), 2);
  EXPECT_EQ(g_cornerMarks.bottomLeft.y, 3235);
}

TEST(MarkSearch, APageUpsideDownHasItsMarksAtTheBottom) {
  struct Case {
    const char* what;
    int mode;
    bool bottomLeftMark;
    int upsideDown;
    double tilt;
  };
  const Case cases[] = {
      {"three marks turned round", 3, true, 1, Tilt(2377 - 118, -6)},
      {"one mark turned round", 1, false, 1, 0},
      {"no bottom-left mark in mode 2", 2, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_markSearchSettings = {};
    g_markSearchSettings.compensationMode = c.mode;
    MarkedPage p;
    p.Mark(2342, 3200);  // the top-left mark turned round: bottom right
    if (c.bottomLeftMark) p.Mark(118, 3206);
    FindCorrectionMarks(p.page.bitmap(), 1);
    EXPECT_FALSE(g_cornerMarks.topLeft.found());
    EXPECT_EQ(g_cornerMarks.bottomRight.x, 2377);
    EXPECT_EQ(g_cornerMarks.bottomRight.y, 3235);
    EXPECT_EQ(g_cornerMarks.upsideDown, c.upsideDown);
    EXPECT_NEAR(g_cornerMarks.tilt, c.tilt, 1e-12);
  }
}

TEST(MarkSearch, ASecondMarkBelowTheTopLeftOneMarksTheBackSide) {
  struct Case {
    int gap;  // rows from the top of the first mark to the top of the second
    int expected;
  };
  // n 31: the second mark is looked for from 32 to 93 rows below; printed
  // 5 mm below at 300 dpi it starts 59 rows below, 57 on a page scanned at
  // 97 %.
  const Case cases[] = {{59, 1}, {57, 1}, {45, 1}, {93, 1}, {94, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gap);
    g_markSearchSettings = {};
    g_markSearchSettings.compensationMode = 3;
    MarkedPage p;
    p.Mark(118, 165);
    p.Mark(118, 165 + c.gap);
    FindCorrectionMarks(p.page.bitmap(), 1);
    EXPECT_EQ(g_cornerMarks.secondMark, c.expected);
  }
}

// A back mark as narrow as the search's run (22 pixels at 300 dpi, a 2 mm
// mark scanned a little small), under a top-left corner taken a few pixels
// inside the first mark.
TEST(MarkSearch, TheBackMarkIsFoundUnderACornerTakenAFewPixelsIn) {
  struct Case {
    int cornerIn;  // columns from the back mark's left edge to the corner
    int expected;
  };
  const Case cases[] = {{0, 1}, {1, 1}, {3, 1}, {-4, 1}, {6, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cornerIn);
    UseSettings(300, 2);
    const int n = g_markSearchParameters.markSize;
    ASSERT_EQ(n, 22);
    FillSheetCells(0, 0, 1600, 1000, kCellWhite);
    FillSheetCells(60, 100 + 47, n, n + 2, kCellBlack);
    EXPECT_EQ(FindSecondMarkBelow({60 + c.cornerIn, 100}), c.expected);
  }
}

TEST(MarkSearch, NothingOfTheLastPageRemainsOnABlankOne) {
  g_markSearchSettings = {};
  g_markSearchSettings.compensationMode = 3;
  MarkedPage marked;
  marked.Mark(118, 165);
  marked.Mark(2300, 165);
  marked.Mark(118, 3200);
  FindCorrectionMarks(marked.page.bitmap(), 2);
  SheetPage blank(2496, 3400, 300);
  FindCorrectionMarks(blank.bitmap(), 2);
  EXPECT_FALSE(g_cornerMarks.topLeft.found());
  EXPECT_FALSE(g_cornerMarks.topRight.found());
  EXPECT_FALSE(g_cornerMarks.bottomLeft.found());
  EXPECT_FALSE(g_cornerMarks.bottomRight.found());
  EXPECT_EQ(g_cornerMarks.secondMark, 0);
}

}  // namespace
