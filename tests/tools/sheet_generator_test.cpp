// The sheet generator: what it draws and expects, and its pages read back by
// the reading arithmetic after every degradation a scanner brings.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "reading/sheet_core.h"
#include "tools/sheetgen/page_reader.h"
#include "tools/sheetgen/sheet_generator.h"

namespace {

SheetFieldRow CheckRow(const char* code, const char* name, int x, int y, int count) {
  return CheckFieldRow(code, name, x, y, count, 4);
}

// An A4 sheet read with three marks: rows of choices of every kind the run
// converts, and a write-in field.
SheetDefinition TestSheet(int mode = 3) {
  SheetDefinition d;
  SheetPaperRow front;
  front.compensationMode = mode;
  d.papers.push_back(front);
  SheetPaperRow back = front;
  back.side = "0002";
  d.papers.push_back(back);
  d.fields.push_back(CheckRow("0001", "Q1", 160, 200, 10));
  SheetFieldRow codes = CheckRow("0002", "Q2", 160, 260, 5);
  codes.overlay = "abcde";
  d.fields.push_back(codes);
  SheetFieldRow ovals = CheckRow("0003", "Q3", 160, 320, 6);
  ovals.markType = 1;
  ovals.threshold = 15;
  ovals.type = "Ｘ";
  ovals.arrayCount = 2;
  ovals.arrayGap = 2;
  d.fields.push_back(ovals);
  SheetFieldRow flag = CheckRow("0004", "Q4", 160, 420, 1);
  flag.charType = "ﾌﾗｸﾞ";
  flag.condition = "0=N,1=Y";
  d.fields.push_back(flag);
  SheetFieldRow limited = CheckRow("0005", "Q5", 160, 480, 4);
  limited.decimals = 2;
  d.fields.push_back(limited);
  d.fields.push_back(WriteInFieldRow("0006", "NAME", 160, 560, 6));
  SheetFieldRow backRow = CheckRow("0001", "B1", 160, 200, 8);
  backRow.side = "0002";
  d.fields.push_back(backRow);
  return d;
}

TEST(SheetGenerator, DrawsTheMarksWhereThePaperPrintsThem) {
  const SheetDefinition d = TestSheet();
  struct Case {
    const char* side;
    int mode, dpi;
    std::vector<PrintedMark> marks;
  };
  const Case cases[] = {
      {"0001", 3, 300, {{118, 165, 35}, {2327, 165, 35}, {118, 3354, 35}}},
      {"0002", 3, 300, {{118, 165, 35}, {2327, 165, 35}, {118, 3354, 35}, {118, 224, 35}}},
      {"0001", 2, 200, {{47, 47, 16}, {1591, 47, 16}}},
      {"0002", 1, 400, {{94, 94, 31}, {94, 157, 31}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.side << " mode " << c.mode << " at " << c.dpi);
    const std::vector<PrintedMark> marks = PrintedMarks(TestSheet(c.mode), c.side, c.dpi);
    ASSERT_EQ(marks.size(), c.marks.size());
    for (std::size_t i = 0; i < marks.size(); ++i) {
      EXPECT_EQ(marks[i].left, c.marks[i].left) << i;
      EXPECT_EQ(marks[i].top, c.marks[i].top) << i;
      EXPECT_EQ(marks[i].size, c.marks[i].size) << i;
    }
  }
  SheetRequest request;
  const GeneratedSheet sheet = GenerateSheet(d, request);
  ASSERT_EQ(sheet.error, "");
  EXPECT_EQ(sheet.width, 2480);
  EXPECT_EQ(sheet.height, 3508);
  auto black = [&](int x, int y) { return sheet.black[y * sheet.width + x] != 0; };
  EXPECT_TRUE(black(118, 165));
  EXPECT_TRUE(black(152, 199));
  EXPECT_FALSE(black(117, 165));
  EXPECT_FALSE(black(153, 199));
  // Fed across, the mark's outer corner pixel (118, 165) becomes the top
  // right of a mark at the top right (turned clockwise) or the bottom left of
  // one at the bottom left (anticlockwise).
  struct Across {
    int turn, x, y, outX, outY;
  };
  for (const Across& a : {Across{1, 3342, 118, 3343, 117}, Across{-1, 165, 2361, 164, 2362}}) {
    SCOPED_TRACE(a.turn);
    request.scan.quarterTurns = a.turn;
    const GeneratedSheet across = GenerateSheet(d, request);
    ASSERT_EQ(across.width, 3508);
    ASSERT_EQ(across.height, 2480);
    auto at = [&](int x, int y) { return across.black[y * across.width + x] != 0; };
    EXPECT_TRUE(at(a.x, a.y));
    EXPECT_FALSE(at(a.outX, a.y));
    EXPECT_FALSE(at(a.x, a.outY));
  }
}

TEST(SheetGenerator, FillsTheChosenBoxesAndExpectsTheirCodes) {
  const SheetDefinition d = TestSheet();
  SheetRequest request;
  request.fills = {{"Q1", {0, 10, 9}, PenStroke::kScribble},  // box 11 does not exist
                   {"Q2", {1, 4}, PenStroke::kCircle},
                   {"Q3", {5}, PenStroke::kScribble},
                   {"Q4", {0}, PenStroke::kTick},
                   {"Q5", {0, 1, 2}, PenStroke::kScribble}};
  const GeneratedSheet sheet = GenerateSheet(d, request);
  ASSERT_EQ(sheet.error, "");
  struct Expect {
    const char* name;
    const char* marks;
    const char* value;
  };
  const Expect expected[] = {{"Q1", "1        1", "１０"}, {"Q2", " 1  1", "ｂｅ"},
                             {"Q3", "     1", "６"},        {"Q4", "1", "Ｙ"},
                             {"Q5", "111 ", ""},           {"NAME", "      ", ""}};
  ASSERT_EQ(sheet.expected.size(), std::size(expected));
  for (std::size_t i = 0; i < sheet.expected.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(sheet.expected[i].name, expected[i].name);
    EXPECT_EQ(sheet.expected[i].marks, expected[i].marks);
    EXPECT_EQ(sheet.expected[i].value, expected[i].value);
  }
  // Ink inside the first box of Q1 and none in its second: a grid dot is
  // the printed quarter millimetre, boxes of 16 dots from dot 161, 8 dots
  // apart, dots 200 to 216 down.
  auto inkBetween = [&](int leftDot, int rightDot) {
    const double dot = 300 / 25.4 / 4;
    auto pixel = [&](int d) { return static_cast<int>(std::lround(d * dot)); };
    int ink = 0;
    for (int y = pixel(200); y < pixel(216); ++y) {
      for (int x = pixel(leftDot); x < pixel(rightDot); ++x) ink += sheet.black[y * sheet.width + x];
    }
    return ink;
  };
  EXPECT_GT(inkBetween(161, 177), 47 * 47 / 3);
  EXPECT_EQ(inkBetween(185, 201), 0);

  SheetDefinition drawn = d;
  drawn.fields[0].shape = "Ｃ";
  EXPECT_NE(GenerateSheet(drawn, request).error, "");
}

TEST(SheetGenerator, WritesHandwritingIntoTheBoxesTheRunLaysOut) {
  const SheetDefinition d = TestSheet();
  const SheetPaperRow& paper = *d.Paper("0001");
  const ReferenceMarks references = RegisterCleanPage(d, "0001", 300);
  struct Case {
    const char* what;
    const char* text;
    bool written;
  };
  const Case cases[] = {
      {"digits", "0123", true},
      {"capitals and a blank", "A Z", true},
      {"a full field", "QX7T48", true},
      {"katakana are not written", "\x83\x41", false},
      {"more characters than boxes", "1234567", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SheetRequest request;
    request.writings = {{"NAME", c.text}};
    const GeneratedSheet sheet = GenerateSheet(d, request);
    if (!c.written) {
      EXPECT_NE(sheet.error, "");
      continue;
    }
    ASSERT_EQ(sheet.error, "");
    EXPECT_EQ(sheet.expected[5].written, c.text);
    EXPECT_EQ(sheet.expected[5].value, "") << "the run reads write-in boxes as blanks";
    SheetImage image = SheetImageFromGenerated(sheet);
    const PageReading reading =
        ReadPageInMemory(&image, paper, references, {FieldSpecFromRow(d.fields[5])});
    ASSERT_TRUE(reading.read);
    ASSERT_EQ(reading.boxes[0].size(), 6u);
    const std::string text = c.text;
    for (std::size_t k = 0; k < 6; ++k) {
      const BoxRect& box = reading.boxes[0][k];
      int ink = 0;
      for (int y = box.top; y <= box.bottom; ++y) {
        for (int x = box.left; x <= box.right; ++x) ink += sheet.black[y * sheet.width + x];
      }
      const bool blank = k >= text.size() || text[k] == ' ';
      if (blank) {
        EXPECT_EQ(ink, 0) << "box " << k;
      } else {
        // A stroke of a 5 mm box's character: more than a few pixels.
        EXPECT_GT(ink, 100) << "box " << k;
      }
    }
    // Nothing written beside the field.
    int outside = 0;
    const BoxRect& last = reading.boxes[0].back();
    for (int y = last.top; y <= last.bottom; ++y) {
      for (int x = last.right + 1; x < last.right + 120; ++x) outside += sheet.black[y * sheet.width + x];
    }
    EXPECT_EQ(outside, 0);
  }
}

TEST(SheetGenerator, TheSameSeedGivesTheSamePage) {
  const SheetDefinition d = TestSheet();
  SheetRandom random(7);
  SheetRequest request;
  request.fills = RandomFills(d, "0001", 0.3, random);
  request.scan = RandomDegradation(random);
  request.seed = 7;
  const GeneratedSheet a = GenerateSheet(d, request);
  const GeneratedSheet b = GenerateSheet(d, request);
  EXPECT_EQ(a.black, b.black);
  request.seed = 8;
  EXPECT_NE(GenerateSheet(d, request).black, a.black);
  // At most the allowed number of marks for a limited field.
  for (const FieldFill& fill : request.fills) {
    if (fill.name == "Q5") {
      EXPECT_LE(fill.boxes.size(), 2u);
    }
  }
}

TEST(SheetGenerator, TheScanMovesTurnsAndScalesThePage) {
  const SheetDefinition d = TestSheet();
  struct Case {
    const char* what;
    ScanDegradation scan;
    double tilt;
    MarkPoint topLeft;
  };
  const double skew = 1.0;
  const Case cases[] = {
      {"shifted 2 mm right and 1 mm down", {0, 1, 1, 2, 1, 0, false}, 0, {142, 177}},
      {"scaled by 102 %", {0, 1.02, 1.02, 0, 0, 0, false}, 0, {120, 168}},
      {"turned anticlockwise", {skew, 1, 1, 0, 0, 0, false}, -skew * 3.14159265 / 3.14, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SheetRequest request;
    request.scan = c.scan;
    const SheetImage page = SheetImageFromGenerated(GenerateSheet(d, request));
    g_markSearchSettings = {};
    g_markSearchSettings.compensationMode = 3;
    FindCorrectionMarks(page.bitmap, 1);
    EXPECT_NEAR(g_cornerMarks.tilt, c.tilt, 0.05);
    if (c.topLeft.found()) {
      EXPECT_NEAR(g_cornerMarks.topLeft.x, c.topLeft.x, 1);
      EXPECT_NEAR(g_cornerMarks.topLeft.y, c.topLeft.y, 1);
    }
  }
  SheetRequest turned;
  turned.scan.upsideDown = true;
  const SheetImage page = SheetImageFromGenerated(GenerateSheet(d, turned));
  FindCorrectionMarks(page.bitmap, 1);
  EXPECT_EQ(g_cornerMarks.upsideDown, 1);
  EXPECT_EQ(g_cornerMarks.bottomRight.x, 2480 - 1 - 118);
}

// Every degradation of the generator, read back as the run reads pages.
TEST(SheetGenerator, DegradedPagesReadBackAsFilled) {
  const SheetDefinition d = TestSheet();
  struct Case {
    const char* what;
    const char* side;
    int dpi;
    Ink ink;
    bool upsideDown;
    bool outlines;
    int noiseSize;
  };
  const Case cases[] = {
      {"300 dpi", "0001", 300, Ink::kNormal, false, false, 0},
      {"200 dpi, light ink", "0001", 200, Ink::kLight, false, false, 0},
      {"400 dpi, heavy ink", "0001", 400, Ink::kHeavy, false, false, 0},
      {"upside down", "0001", 300, Ink::kNormal, true, false, 0},
      {"printed outlines", "0001", 300, Ink::kNormal, false, true, 0},
      {"specks erased", "0001", 300, Ink::kNormal, false, false, 3},
      {"back side", "0002", 300, Ink::kNormal, false, false, 0},
  };
  for (const Case& c : cases) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
      SCOPED_TRACE(testing::Message() << c.what << ", seed " << seed);
      SheetDefinition sheet = d;
      for (SheetPaperRow& paper : sheet.papers) paper.noiseSize = c.noiseSize;
      const ReferenceMarks references = RegisterCleanPage(sheet, c.side, c.dpi);
      SheetRandom random(seed);
      SheetRequest request;
      request.side = c.side;
      request.dpi = c.dpi;
      request.ink = c.ink;
      request.printedOutlines = c.outlines;
      request.seed = seed;
      request.fills = RandomFills(sheet, c.side, 0.3, random);
      request.scan = RandomDegradation(random);
      request.scan.upsideDown = c.upsideDown;
      if (c.noiseSize == 0) request.scan.specks = 0;

      const GeneratedSheet generated = GenerateSheet(sheet, request);
      ASSERT_EQ(generated.error, "");
      std::vector<SheetFieldSpec> fields;
      for (const SheetFieldRow* row : sheet.FieldsOf(c.side)) {
        if (row->IsCheck()) fields.push_back(FieldSpecFromRow(*row));
      }
      SheetImage page = SheetImageFromGenerated(generated);
      const PageReading read =
          ReadPageInMemory(&page, *sheet.Paper(c.side), references, fields);
      ASSERT_TRUE(read.read);
      EXPECT_EQ(g_cornerMarks.secondMark, std::string(c.side) == "0002" ? 1 : 0);
      std::size_t f = 0;
      for (const ExpectedField& e : generated.expected) {
        if (e.name == "NAME") continue;  // a write-in field
        ASSERT_LT(f, read.marks.size());
        EXPECT_EQ(read.marks[f], e.marks) << e.name;
        ++f;
      }
    }
  }
}

// The back of a two-sided sheet fed upside down and skewed a little: turned
// straight, its top-left mark may keep a row too few for the search, whose
// next candidate is the back mark 4 or 5 mm lower. A page read as its own
// side is read right or refused, never read off; read as the other side, or
// with its top-left mark lost, it is refused.
TEST(SheetGenerator, TwoSidedPagesTurnedAndSkewedAreReadRightOrRefused) {
  struct Read {
    bool refused;
    bool right;
  };
  auto readAs = [](const SheetDefinition& sheet, const GeneratedSheet& generated,
                   const std::string& side, int pairedSide, int dpi) {
    std::vector<SheetFieldSpec> fields;
    for (const SheetFieldRow* row : sheet.FieldsOf(side)) {
      if (row->IsCheck()) fields.push_back(FieldSpecFromRow(*row));
    }
    SheetImage page = SheetImageFromGenerated(generated);
    const PageReading read = ReadPageInMemory(&page, *sheet.Paper(side),
                                              RegisterCleanPage(sheet, side, dpi), fields,
                                              pairedSide);
    if (!read.read) return Read{true, false};
    std::vector<std::string> marks;
    for (const ExpectedField& e : generated.expected) {
      if (e.name != "NAME") marks.push_back(e.marks);
    }
    return Read{false, read.marks == marks};
  };
  // Skews in turn on either side, and the scans of a back page whose top
  // mark kept too few rows once turned (the search took the back mark).
  struct Scan {
    double skew, scale, shiftXmm, shiftYmm;
  };
  std::vector<Scan> scans;
  for (double skew : {0.3, -0.45, 0.6, -0.75, 0.9, -1.0}) scans.push_back({skew, 1, 0, 0});
  scans.push_back({-0.686, 0.975, 1.17, -0.52});
  int pages = 0, refused = 0;
  for (int mode : {2, 3}) {
    const SheetDefinition sheet = TestSheet(mode);
    for (int dpi : {200, 300, 400}) {
      for (std::size_t k = 0; k < scans.size(); ++k) {
        const Scan& scan = scans[k];
        const char* side = k % 2 == 0 ? "0002" : "0001";
        SCOPED_TRACE(testing::Message() << "mode " << mode << ", " << dpi << " dpi, side "
                                        << side << ", skew " << scan.skew << ", scale "
                                        << scan.scale);
        const int ownSide = side[3] - '0';
        SheetRandom random(static_cast<uint32_t>(dpi + k));
        SheetRequest request;
        request.side = side;
        request.dpi = dpi;
        request.seed = static_cast<uint32_t>(dpi + k);
        request.fills = RandomFills(sheet, side, 0.3, random);
        request.scan = {scan.skew, scan.scale, scan.scale, scan.shiftXmm, scan.shiftYmm, 0, true};
        const GeneratedSheet generated = GenerateSheet(sheet, request);
        ASSERT_EQ(generated.error, "");
        const Read own = readAs(sheet, generated, side, ownSide, dpi);
        EXPECT_TRUE(own.refused || own.right) << "read off and not refused";
        ++pages;
        refused += own.refused;
        EXPECT_TRUE(readAs(sheet, generated, ownSide == 1 ? "0002" : "0001", 3 - ownSide, dpi)
                        .refused)
            << "read as the other side";
      }
      // The back with its top-left mark lost: the back mark must not stand
      // in for it.
      SCOPED_TRACE(testing::Message() << "mode " << mode << ", " << dpi << " dpi, mark lost");
      SheetRequest request;
      request.side = "0002";
      request.dpi = dpi;
      GeneratedSheet lost = GenerateSheet(sheet, request);
      const PrintedMark mark = PrintedMarks(sheet, "0002", dpi)[0];
      for (int y = mark.top; y < mark.top + mark.size; ++y) {
        for (int x = mark.left; x < mark.left + mark.size; ++x) lost.black[y * lost.width + x] = 0;
      }
      EXPECT_TRUE(readAs(sheet, lost, "0002", 2, dpi).refused);
    }
  }
  // Refusals are the safe way out; a mark whose edge the turn left stepped
  // is still a mark.
  EXPECT_EQ(refused, 0) << "of " << pages;
}

}  // namespace
