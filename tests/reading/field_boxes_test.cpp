// Compensation, box rectangles and box densities on the pixel matrix.
#include <gtest/gtest.h>

#include <cstdint>

#include "reading/sheet_core.h"

namespace {

CornerMarkPositions Found(MarkPoint tl, MarkPoint tr, MarkPoint bl) {
  CornerMarkPositions found;
  found.topLeft = tl;
  found.topRight = tr;
  found.bottomLeft = bl;
  return found;
}

ReferenceMarks References(int x1, int y1, int x2, int y2, int x3, int y3) {
  ReferenceMarks r;
  r.x1 = x1, r.y1 = y1, r.x2 = x2, r.y2 = y2, r.x3 = x3, r.y3 = y3;
  return r;
}

TEST(Compensation, ShiftAndRatiosByMode) {
  const ReferenceMarks refs = References(100, 150, 2300, 150, 100, 3200);
  const ImageCompensation before{7, 8, 1.5, 1.5};
  ReferenceMarks printedOnly;
  printedOnly.printedTopLeft = {100, 150};
  printedOnly.printedTopRight = {2300, 150};
  printedOnly.printedBottomLeft = {100, 3200};
  ReferenceMarks registeredAndPrinted = References(90, 140, 2390, 140, 90, 3240);
  registeredAndPrinted.printedTopLeft = printedOnly.printedTopLeft;
  registeredAndPrinted.printedTopRight = printedOnly.printedTopRight;
  registeredAndPrinted.printedBottomLeft = printedOnly.printedBottomLeft;
  struct Case {
    const char* what;
    int mode;
    CornerMarkPositions found;
    ReferenceMarks refs;
    ImageCompensation expected;
  };
  const Case cases[] = {
      {"mode 0 keeps what it had", 0, Found({110, 160}, {2310, 160}, {110, 3210}), refs,
       before},
      {"mode 1: shift only", 1, Found({110, 145}, {}, {}), refs, {10, -5, 1.0, 1.0}},
      {"mode 2: width ratio", 2, Found({110, 145}, {2420, 145}, {}), refs,
       {10, -5, 2310.0 / 2200, 1.0}},
      {"mode 3: height ratio", 3, Found({110, 145}, {2420, 145}, {110, 3140}), refs,
       {10, -5, 2310.0 / 2200, 2995.0 / 3050}},
      {"mode 3 without a bottom-left mark", 3, Found({110, 145}, {2420, 145}, {}), refs,
       {10, -5, 2310.0 / 2200, 1.0}},
      {"no references", 3, Found({110, 145}, {2420, 145}, {110, 3140}), ReferenceMarks{},
       {0, 0, 1.0, 1.0}},
      {"references that do not span", 3, Found({110, 145}, {2420, 145}, {110, 3140}),
       References(100, 150, 100, 150, 100, 150), {10, -5, 1.0, 1.0}},
      {"the printed places stand in for none registered", 3,
       Found({110, 145}, {2420, 145}, {110, 3140}), printedOnly, {10, -5, 2310.0 / 2200,
       2995.0 / 3050}},
      {"registered references come before the printed places", 3,
       Found({110, 145}, {2420, 145}, {110, 3140}), registeredAndPrinted,
       {20, 5, 2310.0 / 2300, 2995.0 / 3100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ImageCompensation got = ComputeCompensationValues(c.mode, c.found, c.refs, before);
    EXPECT_EQ(got.shiftX, c.expected.shiftX);
    EXPECT_EQ(got.shiftY, c.expected.shiftY);
    EXPECT_DOUBLE_EQ(got.widthRatio, c.expected.widthRatio);
    EXPECT_DOUBLE_EQ(got.heightRatio, c.expected.heightRatio);
  }
}

TEST(Compensation, OnlyAMissingMarkThatIsUsedAndRegisteredStopsIt) {
  const ReferenceMarks all = References(100, 150, 2300, 150, 100, 3200);
  const ReferenceMarks onlyFirst = References(100, 150, -1, -1, -1, -1);
  const CornerMarkPositions none;
  const CornerMarkPositions firstOnly = Found({110, 145}, {}, {});
  const CornerMarkPositions noBottom = Found({110, 145}, {2420, 145}, {});
  struct Case {
    const char* what;
    int mode;
    const CornerMarkPositions& found;
    const ReferenceMarks& refs;
    MissingMark expected;
  };
  const Case cases[] = {
      {"mode 0 never", 0, none, all, MissingMark::kNone},
      {"top left", 1, none, all, MissingMark::kTopLeft},
      {"top left not registered", 3, none, ReferenceMarks{}, MissingMark::kNone},
      {"mode 1 needs no top right", 1, firstOnly, all, MissingMark::kNone},
      {"mode 2 needs the top right", 2, firstOnly, all, MissingMark::kTopRight},
      {"top right not registered", 2, firstOnly, onlyFirst, MissingMark::kNone},
      {"mode 2 needs no bottom left", 2, noBottom, all, MissingMark::kNone},
      {"mode 3 needs the bottom left", 3, noBottom, all, MissingMark::kBottomLeft},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FindMissingMark(c.mode, c.found, c.refs), c.expected);
  }
  // A stored 0 is the printed quarter millimetre.
  EXPECT_DOUBLE_EQ(DotsPerUnit(0, 300), 300 * 0.25 / 25.4);
  EXPECT_DOUBLE_EQ(DotsPerUnit(0, 200), 200 * 0.25 / 25.4);
  EXPECT_EQ(DotsPerUnit(3.0, 300), 3.0);
}

TEST(Compensation, ThePrintedMarksAreFoundAtTheirOuterCorners) {
  // A4 with three marks: 3 mm squares at (10, 14), (197, 14) and (10, 284).
  const std::vector<RegistrationSquare> squares = {{10, 14, 3}, {197, 14, 3}, {10, 284, 3}};
  struct Case {
    int mode, dpi;
    MarkPoint tl, tr, bl;
  };
  const Case cases[] = {
      {3, 300, {118, 165}, {2361, 165}, {118, 3389}},
      {3, 200, {79, 110}, {1574, 110}, {79, 2259}},
      {2, 400, {157, 220}, {3149, 220}, {}},
      {1, 300, {118, 165}, {}, {}},
      {0, 300, {}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " at " << c.dpi);
    ReferenceMarks r;
    r.printedTopRight = {1, 1};
    SetPrintedMarkPlaces(c.mode, squares, c.dpi, &r);
    EXPECT_EQ(r.printedTopLeft.x, c.tl.x);
    EXPECT_EQ(r.printedTopLeft.y, c.tl.y);
    EXPECT_EQ(r.printedTopRight.x, c.tr.x);
    EXPECT_EQ(r.printedTopRight.y, c.tr.y);
    EXPECT_EQ(r.printedBottomLeft.x, c.bl.x);
    EXPECT_EQ(r.printedBottomLeft.y, c.bl.y);
  }
}

SheetFieldSpec CheckField(int boxes) {
  SheetFieldSpec field;
  field.editLetter = 'C';
  field.boxCount = boxes;
  field.threshold = 123;
  return field;
}

std::vector<std::vector<int>> Rects(const std::vector<BoxRect>& boxes) {
  std::vector<std::vector<int>> out;
  for (const BoxRect& b : boxes) out.push_back({b.left, b.top, b.right, b.bottom});
  return out;
}

TEST(FieldBoxes, RectanglesOfCheckAndWriteInFields) {
  const SheetScale unitScale{1, 1, 0, 0, 1};
  // A 30 x 30 check box at (100, 200) at 300 dpi: measured inside its sides
  // by 3 pixels (an eighth of it: 0.38 mm would be 5), its top and bottom
  // by the edge move of 4, so an outline shared with a touching box stays
  // out: columns 103-127, rows 204-226.
  SheetFieldSpec check = CheckField(2);
  check.column = 99, check.row = 200, check.boxWidth = 30, check.boxHeight = 30, check.pitch = 10;
  EXPECT_EQ(Rects(LayoutFieldBoxes(ComputeFieldLayout(check, unitScale, {}), 2, 300)),
            (std::vector<std::vector<int>>{{103, 204, 127, 226}, {143, 204, 167, 226}}));
  // Write-in boxes grow by the edge move instead: 2 pixels at 200 dpi.
  SheetFieldSpec writeIn = check;
  writeIn.editLetter = 'L';
  writeIn.inputLetter = 'F';
  EXPECT_EQ(Rects(LayoutFieldBoxes(ComputeFieldLayout(writeIn, unitScale, {}), 2, 200)),
            (std::vector<std::vector<int>>{{100, 198, 130, 232}, {140, 198, 170, 232}}));
  // Sheet units: 4 dots a grid unit, 3 pixels a dot at 300 dpi, the grid
  // shifts subtracted, the page's shift added.
  SheetFieldSpec sheet = CheckField(1);
  sheet.column = 119, sheet.row = 80, sheet.boxWidth = 5, sheet.boxHeight = 4;
  const SheetScale scale{3, 3, 2, 1, 4};
  const FieldBoxLayout layout = ComputeFieldLayout(sheet, scale, {5, -7, 1.0, 1.0});
  EXPECT_DOUBLE_EQ(layout.x, (119 + 1 - 2) * 3 + 5);
  EXPECT_DOUBLE_EQ(layout.y, (80 - 1) * 3 - 7);
  EXPECT_DOUBLE_EQ(layout.boxWidth, 60);
  EXPECT_DOUBLE_EQ(layout.boxHeight, 48);
  EXPECT_EQ(layout.recognitionMask, 641);
}

TEST(FieldBoxes, RatiosScalePositionsSizesAndPitchButNotPixelPitch) {
  SheetFieldSpec field = CheckField(3);
  field.column = 99, field.row = 100, field.boxWidth = 10, field.boxHeight = 10, field.pitch = 5;
  const SheetScale unitScale{1, 1, 0, 0, 1};
  const FieldBoxLayout scaled = ComputeFieldLayout(field, unitScale, {10, 20, 1.02, 0.98});
  EXPECT_DOUBLE_EQ(scaled.x, 110 * 1.02);
  EXPECT_DOUBLE_EQ(scaled.y, 120 * 0.98);
  EXPECT_DOUBLE_EQ(scaled.boxWidth, 10 * 1.02);
  EXPECT_DOUBLE_EQ(scaled.boxHeight, 10 * 0.98);
  EXPECT_DOUBLE_EQ(scaled.pitch, 5 * 1.02);
  field.pitch = -3;  // pixels, kept as they are
  EXPECT_DOUBLE_EQ(ComputeFieldLayout(field, unitScale, {0, 0, 1.02, 1.0}).pitch, -3);
}

TEST(FieldBoxes, ArraysRunRowByRowOrColumnByColumn) {
  SheetFieldSpec field = CheckField(5);
  field.column = 9, field.row = 10, field.boxWidth = 10, field.boxHeight = 8, field.pitch = 2;
  field.arrayRows = 2, field.rowStep = 4;
  const SheetScale unitScale{1, 1, 0, 0, 1};
  // Each box measured an eighth of its side in all round: rows of a grid
  // may touch as boxes in a row do.
  field.arrayDirection = 2;  // three to a row
  EXPECT_EQ(Rects(LayoutFieldBoxes(ComputeFieldLayout(field, unitScale, {}), 5, 200)),
            (std::vector<std::vector<int>>{{11, 11, 19, 17}, {23, 11, 31, 17}, {35, 11, 43, 17},
                                           {11, 23, 19, 29}, {23, 23, 31, 29}}));
  field.arrayDirection = 3;  // two to a column
  EXPECT_EQ(Rects(LayoutFieldBoxes(ComputeFieldLayout(field, unitScale, {}), 5, 200)),
            (std::vector<std::vector<int>>{{11, 11, 19, 17}, {11, 23, 19, 29}, {23, 11, 31, 17},
                                           {23, 23, 31, 29}, {35, 11, 43, 17}}));
}

TEST(FieldBoxes, OvalsAreMeasuredInsideTheBoxesTheyPrintIn) {
  // Ovals in boxes of 8 x 4 units 2 units apart from (40, 100), 4 dots a
  // unit, 3 pixels a dot: drawn with their choices inside (box shape 23)
  // from the field's corner, else a dot in; in a row, or down a grid of two
  // rows 1 unit apart. Every side stands the outline's depth inside the
  // box: 2 pixels at 200 dpi, 3 at 300, 4 at 400.
  struct Case {
    const char* what;
    int boxShape, arrayRows, dpi;
    std::vector<std::vector<int>> rects;
  };
  const Case cases[] = {
      {"drawn, a row", 23, 0, 200, {{122, 302, 214, 346}, {242, 302, 334, 346}}},
      {"drawn, a row at 400 dpi", 23, 0, 400, {{124, 304, 212, 344}, {244, 304, 332, 344}}},
      {"drawn, a grid", 23, 2, 200, {{122, 302, 214, 346}, {122, 362, 214, 406}}},
      {"in boxes, a row", 0, 0, 300, {{126, 303, 216, 345}, {246, 303, 336, 345}}},
      {"in boxes, a grid", 0, 2, 300, {{126, 303, 216, 345}, {126, 363, 216, 405}}},
  };
  const SheetScale scale{3, 3, 0, 0, 4};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SheetFieldSpec field = CheckField(2);
    field.markType = 1;
    field.boxShape = c.boxShape;
    field.column = 40, field.row = 100, field.boxWidth = 8, field.boxHeight = 4, field.pitch = 2;
    field.arrayRows = c.arrayRows, field.arrayDirection = c.arrayRows ? 3 : 0, field.rowStep = 1;
    EXPECT_EQ(Rects(LayoutFieldBoxes(ComputeFieldLayout(field, scale, {}), 2, c.dpi)), c.rects);
  }
}

TEST(FieldBoxes, DensitiesRoundHalfUpExactly) {
  struct Case {
    long black, counted;
    int kind, expected;
  };
  const Case cases[] = {
      {1236, 10000, 3, 124}, {1224, 10000, 3, 122}, {201, 400, 3, 503}, {1, 2000, 3, 1},
      {1, 8, 4, 130},        {23, 40, 4, 580},      {0, 0, 3, 0},       {10, 10, 4, 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.black << "/" << c.counted << " kind " << c.kind);
    EXPECT_EQ(DensityPerMille({c.black, c.counted}, c.kind), c.expected);
  }
}

TEST(FieldBoxes, InkIsCountedOnUnpackedCellsInsideTheBoxOrItsEllipse) {
  ClearSheetCells();
  FillSheetCells(0, 0, 40, 40, kCellWhite);
  FillSheetCells(0, 0, 40, 20, kCellBlack);
  const BoxInk half = MeasureBoxInk({0, 10, 9, 29}, false);
  EXPECT_EQ(half.black, 100);
  EXPECT_EQ(half.counted, 200);
  // Cells above the page or never unpacked count neither way.
  const BoxInk clipped = MeasureBoxInk({-5, -5, 4, 4}, false);
  EXPECT_EQ(clipped.counted, 25);
  const BoxInk outside = MeasureBoxInk({38, 0, 45, 0}, false);
  EXPECT_EQ(outside.counted, 2);
  // The disc inscribed in a 5 x 5 box holds 13 cells.
  const BoxInk disc = MeasureBoxInk({0, 0, 4, 4}, true);
  EXPECT_EQ(disc.counted, 13);
  EXPECT_EQ(disc.black, 13);
  EXPECT_DOUBLE_EQ(BoxDensity(0, 10, 9, 29, 0), 0.5);
  EXPECT_DOUBLE_EQ(BoxDensity(100, 100, 110, 110, 1), 0.0);
}

// Ink of a box counted cell by cell as the ellipse test reads.
BoxInk InkCellByCell(const BoxRect& box, bool oval) {
  BoxInk ink;
  const int64_t rx = box.right - box.left, ry = box.bottom - box.top;
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  for (int y = box.top; y <= box.bottom; ++y) {
    for (int x = box.left; x <= box.right; ++x) {
      const int64_t dx = x - cx, dy = y - cy;
      if (oval && 4 * dx * dx * ry * ry + 4 * dy * dy * rx * rx > rx * rx * ry * ry) continue;
      const char cell = SheetCell(x, y);
      if (cell == kCellEmpty) continue;
      ++ink.counted;
      ink.black += cell == kCellBlack;
    }
  }
  return ink;
}

TEST(FieldBoxes, BoxesAndEllipsesOfEveryShapeCountTheirCellsExactly) {
  ClearSheetCells();
  // A speckled page of 300 x 200 cells in the matrix's corner, unpacked
  // cells only where it lies.
  uint32_t state = 12345;
  auto next = [&state] { return state = state * 1103515245u + 12345u, state >> 16; };
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 300; ++x) FillSheetCells(x, y, 1, 1, next() % 3 ? kCellWhite : kCellBlack);
  }
  for (int k = 0; k < 400; ++k) {
    // Thin, flat, square and odd boxes, some over the page's edges.
    const int left = static_cast<int>(next() % 320) - 10;
    const int top = static_cast<int>(next() % 220) - 10;
    const BoxRect box{left, top, left + static_cast<int>(next() % 60),
                      top + static_cast<int>(next() % (k % 4 == 0 ? 2 : 60))};
    for (bool oval : {false, true}) {
      const BoxInk fast = MeasureBoxInk(box, oval);
      const BoxInk slow = InkCellByCell(box, oval);
      ASSERT_EQ(fast.counted, slow.counted) << box.left << "," << box.top << " " << box.right << ","
                                            << box.bottom << " oval " << oval;
      ASSERT_EQ(fast.black, slow.black);
    }
  }
}

TEST(FieldBoxes, ReadingMarksBoxesAtTheThreshold) {
  ClearSheetCells();
  FillSheetCells(0, 0, 200, 100, kCellWhite);
  // Three boxes of 10 x 10 measured cells: 13, 12 and 100 black.
  FillSheetCells(1, 1, 10, 1, kCellBlack);
  FillSheetCells(1, 2, 3, 1, kCellBlack);
  FillSheetCells(21, 1, 10, 1, kCellBlack);
  FillSheetCells(21, 2, 2, 1, kCellBlack);
  FillSheetCells(41, 1, 10, 10, kCellBlack);
  FieldBoxLayout layout;
  layout.x = 0, layout.y = 1, layout.boxWidth = 11, layout.boxHeight = 9, layout.pitch = 9;
  layout.densityKind = 3, layout.threshold = 125, layout.checkFlag = 1;
  // At 200 dpi check boxes shrink by 2 rows: make up for it.
  layout.y = -1, layout.boxHeight = 13;
  const FieldBoxReading reading = ReadFieldBoxes(layout, 3, 200);
  EXPECT_EQ(Rects(reading.boxes),
            (std::vector<std::vector<int>>{{1, 1, 10, 10}, {21, 1, 30, 10}, {41, 1, 50, 10}}));
  EXPECT_EQ(reading.value, "1 1");
  EXPECT_EQ(reading.densities, "130,120,1000");
  layout.densityKind = 1;
  EXPECT_EQ(ReadFieldBoxes(layout, 3, 200).value, "　　　");
  EXPECT_EQ(ReadFieldBoxes(layout, 3, 200).densities, "");
}

}  // namespace
