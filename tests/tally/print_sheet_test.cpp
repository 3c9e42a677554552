// OCR-sheet items printed as the program prints a blank sheet, under Wine:
// fields built from MUPA_FLD rows into the sheet canvas, printed through
// CUPS to a PDF and rendered at 300 dpi. Each field shows one behaviour of
// a printed sheet: labels by byte and by comma, a missing box, one frame
// around a field, handwriting guides, the dash of a postcode, a value
// trimmed to its boxes, a field off the millimetre grid, hidden and unknown
// items, and the frames of a monochrome sheet. Sheets of every layout of
// boxes, and the sample sheet, rendered at 200, 300 and 400 dpi, have their
// box frames compared with the rectangles the reading run measures for the
// same fields.
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "designer/sheet_settings.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "tally/tally.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/required_service.h"
#include "tests/tally/print_capture.h"
#include "tests/support/test_pictures.h"
#include "tests/tally/sample_sheet.h"

namespace {

std::string N(int value) { return std::to_string(value); }

// A field at (x, y) canvas pixels (4 a millimetre) with its boxes.
SheetFieldRow Field(const char* code, const char* name, const char* edit, int x, int y, int count,
                    int width, int height, int pitch, SheetFieldRow more) {
  SheetFieldRow row = {{"領域コード", SqlText(code)}, {"領域名", SqlText(name)},
                       {"タイトル", SqlText("")},       {"タイトル位置", SqlText("×")},
                       {"編集", SqlText(edit)},         {"Ｘ座標", N(x)},
                       {"Ｙ座標", N(y)},                {"文字数", N(count)},
                       {"横幅", N(width)},              {"高さ", N(height)},
                       {"Ｂサイズ", N(pitch)},          {"サイズ", "8"},
                       {"網掛け", "1"}};
  row.insert(row.end(), more.begin(), more.end());
  return row;
}

SheetFieldRow CheckRight(const char* labels) {
  return {{"背景色", SqlText("→")}, {"しきい値", "100"}, {"重ね文字", SqlText(labels)}};
}

// Every field of the page; positions in millimetres are x / 4 and y / 4.
std::vector<SheetFieldRow> TestFields() {
  return {
      Field("0001", "LAB", "ﾁｪｯｸ", 160, 80, 4, 5, 5, 5, CheckRight("ABCD")),
      Field("0002", "CMA", "ﾁｪｯｸ", 160, 160, 4, 5, 5, 15, CheckRight("はい,いいえ")),
      Field("0003", "MIS", "ﾁｪｯｸ", 160, 240, 4, 5, 5, 5, CheckRight("A^CD")),
      Field("0004", "ONE", "左詰", 160, 320, 5, 5, 7, -1, {{"全半角", SqlText("半角")}}),
      Field("0005", "GID", "左詰", 160, 400, 3, 6, 8, 2,
            {{"有効文字種", SqlText("1000000000")}, {"最大値", SqlText("123")},
             {"全半角", SqlText("半角")}}),
      Field("0006", "ZIP", "左詰", 160, 480, 7, 5, 7, 1,
            {{"有効文字種", SqlText("1000000001")}, {"全半角", SqlText("半角")}}),
      Field("0007", "NUM", "左詰", 160, 560, 5, 5, 7, 1,
            {{"有効文字種", SqlText("0100000000")}, {"全半角", SqlText("半角")}}),
      Field("0008", "OFF", "ﾁｪｯｸ", 161, 641, 3, 5, 5, 5,
            {{"背景色", SqlText("×")}, {"しきい値", "100"}}),
      Field("0009", "HID", "左詰", 160, 720, 3, 5, 7, 1, {{"全半角", SqlText("半角")}}),
      Field("X001", "UNK", "左詰", 160, 800, 3, 5, 7, 1, {{"全半角", SqlText("半角")}}),
      Field("0010", "MON", "左詰", 160, 880, 3, 6, 8, 2, {{"全半角", SqlText("半角")}}),
  };
}

class PrintSheetTest : public ScreenDbTest {
 protected:
  void RegisterWindows() override {
    windows_.push_back(CreateTestWindowOfClass("KQE_READ"));
    windows_.push_back(CreateTestWindowOfClass("Ocr"));
  }
  void TearDown() override {
    EndPrintJob();
    g_sheetPrint = SheetPrintState();
    ScreenDbTest::TearDown();
  }
  // Writes `rows` as the sheet and opens it in the canvas (slot 0).
  void OpenSheet(const std::vector<SheetFieldRow>& rows) {
    ASSERT_EQ(LoadProjectScreen(folder_ + "\\project"), 0) << Boxes();
    ASSERT_EQ(WriteSheetFields(kSampleSheetDb, GetParam(), rows), 0) << Boxes();
    ASSERT_EQ(OpenSheetCanvas(kSampleSheetDb, GetParam()), 0) << Boxes();
  }
  int ItemNamed(const char* name) { return ResolveFieldRef(0, name); }
};

// Where the page puts a sheet's millimetre: registration extents of 5 mm
// (20 canvas pixels) cancel the items' 5 mm shift, so a canvas pixel x
// prints x / 4 mm from the page's origin.
// A field's boxes print a grid step (0.25 mm) right of its column, where
// the reader measures them, and their outlines 0.4 mm outside the boxes.
constexpr double kReadStepMm = 0.25;
constexpr double kOutlineMm = 0.4;

struct SheetPage {
  const PdfPage* page;
  double originX, originY;  // millimetres of the paper at the page origin
  // Ink (at the default level: pale guides are lighter) in a rectangle
  // of the sheet's millimetres.
  int Ink(double left, double top, double right, double bottom, int level = 200) const {
    return page->InkInMm(originX + left, originY + top, originX + right, originY + bottom, level);
  }
};

TEST_P(PrintSheetTest, ABlankSheetPrintsEachFieldAsItsDefinitionSays) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  OpenSheet(TestFields());
  Item(ItemNamed("NUM")).displayText = "   12345";  // longer than its boxes
  Item(ItemNamed("HID")).state = kItemHidden;
  ASSERT_GE(ItemNamed("UNK"), 0) << "the builder makes an item of any row";

  const std::string name = UniqueDocumentName("sheet");
  BeginReportOutput(nullptr, 2, 1, 8, 0, 0);
  g_reportOutput.documentName = name;
  const HDC dc = reinterpret_cast<HDC>(StartPrintJob(kReportPrinter, "o", 0, 0, -1));
  ASSERT_NE(dc, nullptr) << Boxes();
  const double originX = GetDeviceCaps(dc, PHYSICALOFFSETX) * 25.4 / GetDeviceCaps(dc, LOGPIXELSX);
  const double originY = GetDeviceCaps(dc, PHYSICALOFFSETY) * 25.4 / GetDeviceCaps(dc, LOGPIXELSY);
  const int gdiBaseline = LiveGdiObjects();
  // Page 1: a sheet in a drop-out colour with guide figures.
  g_sheetPrint.printColour = 41;
  g_sheetPrint.guideFigures = 1;
  SetPrintOffsetX(kSheetPrintBlank);
  DrawWindowItems(0, 20, 20);
  NextPrintPage();
  // Page 2: the same sheet in black; a registration square of no extents.
  g_sheetPrint.printColour = 0;
  g_sheetPrint.guideFigures = 0;
  DrawWindowItems(0, 20, 20);
  SetPrintLineExtent(0, 0);
  DrawPrintShadedBox(10, 10, 2);
  NextPrintPage();
  EXPECT_EQ(LiveGdiObjects(), gdiBaseline) << "no pen, brush or font outlives its drawing";
  EndPrintJob();
  const std::vector<PdfPage> pages = WaitForPrintedPages(name, 300);
  ASSERT_EQ(pages.size(), 2u);
  const SheetPage colour{&pages[0], originX, originY};
  const SheetPage black{&pages[1], originX, originY};

  // Check boxes 5 mm wide, labels right of them, between the outlines;
  // 10 mm apart (20 for the words).
  auto label = [&](double top, int box, int step) {
    const double right = 40 + kReadStepMm + step * box + 5;
    return colour.Ink(right + kOutlineMm + 0.2, top, right + 4.2, top + 5);
  };
  auto boxTop = [&](double top, int box) {
    const double left = 40 + kReadStepMm + 10 * box;
    return colour.Ink(left + 1, top - kOutlineMm - 0.2, left + 4, top - kOutlineMm + 0.2);
  };
  for (int box = 0; box < 4; ++box) {
    SCOPED_TRACE(box);
    EXPECT_GT(label(20, box, 10), 0) << "one letter a box";
    EXPECT_EQ(label(40, box, 20) > 0, box < 2) << "one word a box, then none";
    EXPECT_EQ(boxTop(60, box) > 0, box != 1) << "a missing box: no frame";
    EXPECT_EQ(label(60, box, 10) > 0, box != 1) << "and no label";
  }

  // One frame around a field without separate boxes: 25 x 7 mm at (40, 80).
  EXPECT_GT(colour.Ink(40.2, 79.8, 64.8, 80.2), 0) << "its top";
  for (int box = 1; box < 5; ++box) {
    EXPECT_EQ(colour.Ink(40 + 5 * box - 0.2, 81, 40 + 5 * box + 0.2, 86), 0) << "no box " << box;
  }

  // Guides of boxes of digits up to "123": the bar alone in box 1, the
  // figure 8 (its circles beside the bar) in boxes 2 and 3. Boxes 6 x 8 mm,
  // 8 mm apart, at (40, 100).
  auto besideBar = [&](int box) {
    const double centre = 40 + kReadStepMm + 8 * box + 3;
    return colour.Ink(centre - 1.8, 102, centre - 0.6, 106, 250) +
           colour.Ink(centre + 0.6, 102, centre + 1.8, 106, 250);
  };
  const double bar = 40 + kReadStepMm + 3;
  EXPECT_GT(colour.Ink(bar - 0.3, 102, bar + 0.3, 106, 250), 0) << "the bar of box 1";
  EXPECT_EQ(besideBar(0), 0);
  EXPECT_GT(besideBar(1), 0);
  EXPECT_GT(besideBar(2), 0);
  EXPECT_EQ(black.Ink(bar - 0.3, 102, bar + 0.3, 106, 250), 0) << "no guides on a monochrome sheet";

  // The postcode's 4th box: its dash, no guide. Boxes 5 x 7 mm, 6 mm apart.
  const double dashBox = 40 + 6 * 3;
  EXPECT_GT(colour.Ink(dashBox + 1.5, 123, dashBox + 3.5, 124), 0) << "the dash";
  EXPECT_EQ(colour.Ink(dashBox + 0.5, 120.5, dashBox + 4.5, 122.5, 250), 0) << "no figure above it";
  EXPECT_GT(colour.Ink(40 + 6 * 2 + 0.5, 120.5, 40 + 6 * 2 + 4.5, 122.5, 250), 0) << "box 3's";

  // "   12345" in five boxes: its blanks dropped, a digit a box.
  for (int box = 0; box < 5; ++box) {
    EXPECT_GT(colour.Ink(40 + 6 * box + 1, 141, 40 + 6 * box + 4, 146), 0) << "digit " << box + 1;
  }

  // A check field 40.25 mm in: its boxes' outlines start from there, not
  // from 40 mm.
  const double px = 300 / 25.4;
  for (int box = 0; box < 3; ++box) {
    const double left = 40.25 + kReadStepMm - kOutlineMm + 10 * box;
    EXPECT_GT(colour.Ink(left - 1.5 / px, 161.5, left + 1.5 / px, 164), 0) << "box " << box;
    EXPECT_EQ(colour.Ink(left - 3.5 / px, 161.5, left - 1.5 / px, 164), 0) << "box " << box;
  }

  EXPECT_EQ(colour.Ink(35, 178, 70, 190), 0) << "a hidden field";
  EXPECT_EQ(colour.Ink(35, 198, 70, 210), 0) << "an item of no known kind";

  // Box outlines are solid lines around the boxes, on a monochrome sheet
  // as on a coloured one, and none of them falls into a box. Boxes 6 x 8 mm
  // at (40, 220).
  const double outlineTop = 220 - kOutlineMm;
  for (const SheetPage* page : {&black, &colour}) {
    int gaps = 0;
    for (double x = 41; x < 45; x += 0.1) {
      gaps += page->Ink(x, outlineTop - 0.15, x + 0.1, outlineTop + 0.15) == 0;
    }
    EXPECT_EQ(gaps, 0) << "solid";
    EXPECT_EQ(page->Ink(41, 219.85, 45, 220.3), 0) << "the box's top clear";
  }

  EXPECT_GT(black.Ink(5.2, 5.2, 6.8, 6.8), 0) << "the square 5 mm up and left";
  EXPECT_EQ(black.Ink(9, 9, 11, 11), 0);
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

// Choice labels: those beside their boxes stay in the gap before the next
// box, in a smaller face where they are long, and are left out where the
// boxes touch (as a new check field's do); those inside drawn ovals ("Ｍ")
// are parted at the commas, a label a box, as the field editor asks.
TEST_P(PrintSheetTest, ChoiceLabelsKeepToTheirBoxes) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  OpenSheet({
      Field("0001", "LNG", "ﾁｪｯｸ", 160, 80, 3, 4, 4, 3, CheckRight("はい,いいえ,わからない")),
      Field("0002", "OVM", "ﾁｪｯｸ", 160, 160, 3, 5, 5, 3,
            {{"背景色", SqlText("Ｍ")}, {"しきい値", "100"}, {"重ね文字", SqlText("0,1,2")}}),
      Field("0003", "TCH", "ﾁｪｯｸ", 160, 240, 3, 5, 5, 0, CheckRight("A,B,C")),
  });
  // The sheet twice: rendered, and read as text.
  double originX = 0, originY = 0;
  auto print = [&](const std::string& name) {
    BeginReportOutput(nullptr, 2, 1, 8, 0, 0);
    g_reportOutput.documentName = name;
    const HDC dc = reinterpret_cast<HDC>(StartPrintJob(kReportPrinter, "o", 0, 0, -1));
    if (!dc) return false;
    originX = GetDeviceCaps(dc, PHYSICALOFFSETX) * 25.4 / GetDeviceCaps(dc, LOGPIXELSX);
    originY = GetDeviceCaps(dc, PHYSICALOFFSETY) * 25.4 / GetDeviceCaps(dc, LOGPIXELSY);
    SetPrintOffsetX(kSheetPrintBlank);
    DrawWindowItems(0, 20, 20);
    NextPrintPage();
    EndPrintJob();
    return true;
  };
  const std::string rendered = UniqueDocumentName("labels"), read = UniqueDocumentName("labeltext");
  ASSERT_TRUE(print(rendered) && print(read)) << Boxes();
  const std::vector<PdfPage> pages = WaitForPrintedPages(rendered, 300);
  ASSERT_EQ(pages.size(), 1u);
  const SheetPage page{&pages[0], originX, originY};
  // Boxes of 4 mm, 7 mm apart, at (40, 20) mm.
  for (int box = 0; box < 3; ++box) {
    SCOPED_TRACE(box);
    const double left = 40 + kReadStepMm + 7 * box;
    EXPECT_EQ(page.Ink(left + 0.2, 20.2, left + 3.8, 23.8), 0) << "nothing in the box";
    EXPECT_GT(page.Ink(left + 4 + kOutlineMm + 0.2, 20, left + 7 - kOutlineMm - 0.2, 24), 0)
        << "its label beside it";
    // Touching boxes of 5 mm at (40, 60) mm: no label inside the next one.
    const double touching = 40 + kReadStepMm + 5 * box;
    EXPECT_EQ(page.Ink(touching + 0.2, 60.2, touching + 4.8, 64.8), 0) << "nothing in the touching box";
  }
  std::vector<std::string> labels;
  for (const PdfTextRun& run : WaitForPrintedText(read).runs) {
    if (run.y < (297 - 30) * 72 / 25.4) labels.push_back(run.text);  // below 30 mm: the ovals
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"0", "1", "2"}));
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

// Ink of a column (vertical) or row (horizontal) of a page over a band of
// the other axis: the sum of 255 - grey, so faint hairlines count too.
long LineInk(const PdfPage& page, bool vertical, int at, int from, int to) {
  long ink = 0;
  for (int k = from; k <= to; ++k) {
    const int x = vertical ? at : k, y = vertical ? k : at;
    if (x >= 0 && y >= 0 && x < page.width && y < page.height) ink += 255 - page.At(x, y);
  }
  return ink;
}

// Where the printed frame line nearest `expected` stands: the centre of the
// ink of the columns (or rows) within 3 pixels, over the middle half of the
// box's other extent; -1 when nothing is printed there.
double PrintedEdge(const PdfPage& page, bool vertical, int expected, int from, int to) {
  const int quarter = (to - from) / 4;
  long total = 0, moment = 0;
  for (int at = expected - 3; at <= expected + 3; ++at) {
    const long ink = LineInk(page, vertical, at, from + quarter, to - quarter);
    total += ink;
    moment += ink * at;
  }
  // At least a fifth of a black line over the band.
  if (total * 5 < 255L * (to - from - 2 * quarter)) return -1;
  return static_cast<double>(moment) / total;
}

// Top-left corner of the registration square of `side` pixels printed
// near (x, y): the centre of its ink less half its side, to a fraction of
// a pixel; false when no square is there.
bool FindSquareCorner(const PdfPage& page, double x, double y, double side, double* left,
                      double* top) {
  const int window = static_cast<int>(2 * side);
  double ink = 0, sumX = 0, sumY = 0;
  for (int r = static_cast<int>(y) - window; r <= static_cast<int>(y) + window; ++r) {
    for (int c = static_cast<int>(x) - window; c <= static_cast<int>(x) + window; ++c) {
      const double dark = 255 - page.At(c, r);
      ink += dark, sumX += dark * c, sumY += dark * r;
    }
  }
  if (ink < 255 * side * side / 2) return false;
  // A pixel's centre stands half a pixel from its edge.
  *left = sumX / ink + 0.5 - side / 2;
  *top = sumY / ink + 0.5 - side / 2;
  return true;
}

// Fields of every layout the reader measures: rows of square check boxes
// (one off the millimetre grid), grids filled row by row and column by
// column, and write-in boxes with guide figures and without (one off the
// grid). No labels: one beside a box would stand against the next box's
// frame. A row of ovals and the guides come first, so every frame printed
// after an oval or a figure is measured too.
std::vector<SheetFieldRow> MeasuredFields() {
  auto check = [](const char* direction, int rows, int rowStep) {
    SheetFieldRow more = {{"背景色", SqlText("×")}, {"しきい値", "100"}};
    if (rows > 0) {
      more.insert(more.end(), {{"タイプ", SqlText(direction)}, {"配列個数", N(rows)},
                               {"配列行間", N(rowStep)}});
    }
    return more;
  };
  SheetFieldRow ovals = check("", 0, 0);
  ovals.push_back({"マーク型", "1"});
  return {
      Field("0001", "OVL", "ﾁｪｯｸ", 160, 40, 5, 5, 5, 3, ovals),
      Field("0002", "WRI", "左詰", 160, 100, 6, 5, 7, 1,
            {{"全半角", SqlText("半角")}, {"有効文字種", SqlText("1000000000")}}),
      Field("0003", "ROW", "ﾁｪｯｸ", 160, 180, 5, 5, 5, 3, check("", 0, 0)),
      Field("0004", "OFF", "ﾁｪｯｸ", 163, 241, 3, 4, 4, 2, check("", 0, 0)),
      Field("0005", "GRD", "ﾁｪｯｸ", 160, 320, 6, 5, 5, 5, check("Ｘ", 2, 3)),
      Field("0006", "COL", "ﾁｪｯｸ", 480, 320, 6, 5, 5, 5, check("Ｙ", 3, 2)),
      Field("0007", "WOF", "左詰", 161, 521, 4, 6, 8, 2, {{"全半角", SqlText("半角")}}),
  };
}

// Prints the sheet open in the canvas as a blank sheet in a drop-out
// colour with its guide figures, and a registration square, at 600 dpi as
// chosen in the print dialog (a printer pixel is then finer than those of
// the pages read); renders the page at each resolution the reader works
// at, aligns it by the square as a run aligns a scanned page against the
// square's registered place, and expects every box outline of `fields`
// within a pixel of its place outside the reader's rectangles for the same
// field. Left and right outlines are those of the reader's box rectangles
// (check boxes are read one pixel inside them); the reader lets the tops
// and bottoms of a single row of boxes reach a few pixels beyond or inside
// the box, so those are compared with the same boxes laid out as a grid's
// row.
void ExpectBoxesWhereTheReaderMeasuresThem(const std::vector<const char*>& fields) {
  ModalDialogRecorder dialogs(
      [](const ModalDialogCall& call) { return ChooseDefaultPrinterAt(call, 600); });
  const std::string name = UniqueDocumentName("boxes");
  BeginReportOutput(nullptr, 2, 1, 8, 0, 0);
  g_reportOutput.documentName = name;
  const HDC dc = reinterpret_cast<HDC>(StartPrintJob(kReportPrinter, "O", 0, 0, -1));
  ASSERT_NE(dc, nullptr);
  ASSERT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600);
  g_sheetPrint.printColour = 41;
  g_sheetPrint.guideFigures = 1;
  SetPrintOffsetX(kSheetPrintBlank);
  DrawWindowItems(0, 20, 20);
  constexpr int kSquareMm = 8, kSquareSideMm = 3;
  SetPrintLineExtent(20, 20);
  DrawPrintShadedBox(kSquareMm, kSquareMm, kSquareSideMm);
  NextPrintPage();
  EndPrintJob();
  const std::vector<int> dpis = {200, 300, 400};
  const std::vector<std::vector<PdfPage>> rendered = WaitForPrintedPagesAt(name, dpis);
  ASSERT_EQ(rendered.size(), dpis.size());

  const int gu = SheetDotsPerGridUnit();
  for (size_t d = 0; d < dpis.size(); ++d) {
    const int dpi = dpis[d];
    SCOPED_TRACE(dpi);
    ASSERT_EQ(rendered[d].size(), 1u);
    const PdfPage& page = rendered[d][0];
    // The sheet's scale for a printer that prints true millimetres.
    SheetScale scale;
    scale.dotsX = scale.dotsY = dpi / 25.4 / gu;
    scale.unit = gu;

    // The square's corner where a registered page has it (the pixel of
    // its canvas point), and where the page shows it: the shift of the
    // page.
    const double pxPerMm = dpi / 25.4;
    const double referenceX = kSquareMm * gu * scale.dotsX, referenceY = kSquareMm * gu * scale.dotsY;
    double foundX, foundY;
    ASSERT_TRUE(FindSquareCorner(page, referenceX, referenceY, kSquareSideMm * pxPerMm, &foundX,
                                 &foundY));
    ImageCompensation shift;
    shift.shiftX = static_cast<int>(std::lround(foundX - referenceX));
    shift.shiftY = static_cast<int>(std::lround(foundY - referenceY));
    const int outline = static_cast<int>(std::lround(kOutlineMm * pxPerMm));

    for (const char* field : fields) {
      SCOPED_TRACE(field);
      const int item = ResolveFieldRef(0, field);
      ASSERT_GE(item, 0);
      const SheetFieldSpec spec = SheetFieldSpecOf(item);
      const FieldBoxLayout layout = ComputeFieldLayout(spec, scale, shift);
      const std::vector<BoxRect> boxes = LayoutFieldBoxes(layout, spec.boxCount, dpi);
      ASSERT_EQ(static_cast<int>(boxes.size()), spec.boxCount);
      // The same boxes laid out as one row of a grid, where the reader
      // keeps their tops and bottoms on the box.
      FieldBoxLayout grid = layout;
      if (grid.arrayRows == 0) grid.arrayRows = 1, grid.arrayDirection = 2;
      const std::vector<BoxRect> rows = LayoutFieldBoxes(grid, spec.boxCount, dpi);
      // The reader measures square check boxes inside their sides, and in
      // a grid inside their tops and bottoms too.
      const bool square = layout.checkFlag == 1 && layout.densityKind != 4;
      const int inset = square ? CheckSideInset(dpi, static_cast<int>(std::lround(layout.boxWidth))) : 0;
      const int insetY = square ? CheckSideInset(dpi, static_cast<int>(std::lround(layout.boxHeight))) : 0;
      for (int b = 0; b < spec.boxCount; ++b) {
        SCOPED_TRACE(b + 1);
        const int top = rows[b].top - insetY, bottom = rows[b].bottom + insetY;
        const BoxRect& box = boxes[b];
        // Outlines stand halfway between boxes closer than two outlines;
        // those nearer each other than the search reaches are not told
        // apart, so only the row's outer sides are compared.
        const double gap = std::max(0, spec.pitch) * gu * scale.dotsX;
        const int across = static_cast<int>(std::min<double>(outline, gap / 2));
        const bool crowded = gap - 2 * across > 0 && gap - 2 * across < 5;
        const bool first = b == 0, last = b + 1 == spec.boxCount;
        const struct {
          const char* edge;
          bool vertical, compared;
          int frame, from, to;
        } edges[] = {
            {"left", true, first || !crowded, box.left - inset - across, top, bottom},
            {"right", true, last || !crowded, box.right + inset + across, top, bottom},
            {"top", false, true, top - outline, box.left, box.right},
            {"bottom", false, true, bottom + outline, box.left, box.right},
        };
        for (const auto& e : edges) {
          if (!e.compared) continue;
          const double printed = PrintedEdge(page, e.vertical, e.frame, e.from, e.to);
          EXPECT_LE(std::abs(printed - e.frame), 1.0)
              << e.edge << " printed at " << printed << ", read at " << e.frame;
        }
      }
    }
  }
}

// Every layout of boxes the reader measures, printed after ovals and
// guide figures.
TEST_P(PrintSheetTest, PrintedBoxesStandWhereTheReaderMeasuresThem) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  OpenSheet(MeasuredFields());
  ExpectBoxesWhereTheReaderMeasuresThem({"WRI", "ROW", "OFF", "GRD", "COL", "WOF"});
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

// The sample sheet as the page tool prints it: its write-in fields and
// square boxes among titles, texts, ovals, labels and sample marks.
TEST_P(PrintSheetTest, TheSampleSheetsBoxesStandWhereTheReaderMeasuresThem) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  OpenSheet(SampleSheetFields());
  ExpectBoxesWhereTheReaderMeasuresThem({"ID", "Q1", "ZIP", "KANA", "DAY"});
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

// The list of the sheet's fields on the printer: the rows of the range
// chosen, so many a page, each page headed and the last filled with empty
// framed rows.
TEST_P(PrintSheetTest, TheFieldListPrintsTheRangesRowsPageByPage) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  std::vector<SheetFieldRow> rows;
  for (int k = 1; k <= 5; ++k) {
    const std::string code = "000" + std::to_string(k);
    const std::string name = "記入欄" + std::to_string(k);
    rows.push_back({{"領域コード", SqlText(code.c_str())}, {"領域名", SqlText(name.c_str())},
                    {"編集", SqlText("左詰")}, {"有効文字種", SqlText("1000000000")}, {"文字数", "3"},
                    {"Ｘ座標", "40"}, {"Ｙ座標", std::to_string(40 * k)}});
  }
  OpenSheet(rows);
  ASSERT_EQ(ShowFieldSummary(), 0);
  EXPECT_EQ(g_fieldSummary.firstCode, "0001");
  EXPECT_EQ(g_fieldSummary.lastCode, "0005");
  g_printSettings.printType = kPrintTypeFieldList;
  FindPrintSettingsLine("OK0003");
  g_printSettings.startCode = "0002";
  g_printSettings.endCode = "0005";
  g_printSettings.lines = 3;
  const std::string name = UniqueDocumentName("fields");
  g_reportOutput.documentName = name;
  ModalDialogRecorder dialogs(ChooseDefaultPrinter);
  ASSERT_EQ(PrintFieldListReport(kReportPrinter), 0) << Boxes();
  const std::vector<PdfPage> pages = WaitForPrintedPages(name, 100);
  ASSERT_EQ(pages.size(), 2u) << "four rows, three a page";
  for (const PdfPage& page : pages) {
    EXPECT_GT(page.InkInMm(10, 10, 200, 40), 0) << "the heading and titles of every page";
  }
  char folder[MAX_PATH] = "";
  if (GetEnvironmentVariableA("SHEETDESK_PICTURES", folder, MAX_PATH) > 0) {
    std::vector<std::uint8_t> rgb;
    for (unsigned char g : pages[1].gray) rgb.insert(rgb.end(), {g, g, g});
    WritePng(std::string(folder) + "\\field_list_page2.png", pages[1].width, pages[1].height, rgb);
  }
}

INSTANTIATE_TEST_SUITE_P(Databases, PrintSheetTest, testing::Values(kDbKindFile), KindName);

}  // namespace
