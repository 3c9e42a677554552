// OCR-sheet items printed as the program prints a blank sheet, under Wine:
// fields built from MUPA_FLD rows into the sheet canvas, printed through
// CUPS to a PDF and rendered at 300 dpi. Each field shows one behaviour of
// a printed sheet: labels by byte and by comma, a missing box, one frame
// around a field, handwriting guides, the dash of a postcode, a value
// trimmed to its boxes, a field off the millimetre grid, hidden and unknown
// items, and the frames of a monochrome sheet.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "screen/screen.h"
#include "tally/tally.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/required_service.h"
#include "tests/tally/print_capture.h"
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

  // Check boxes 5 mm wide, labels right of them; 10 mm apart (20 for the
  // words).
  auto label = [&](double top, int box, int step) {
    const double left = 40 + step * box;
    return colour.Ink(left + 5.5, top, left + 9.5, top + 5);
  };
  auto boxTop = [&](double top, int box) {
    const double left = 40 + 10 * box;
    return colour.Ink(left + 1, top - 0.3, left + 4, top + 0.3);
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
    const double centre = 40 + 8 * box + 3;
    return colour.Ink(centre - 1.8, 102, centre - 0.6, 106, 250) +
           colour.Ink(centre + 0.6, 102, centre + 1.8, 106, 250);
  };
  EXPECT_GT(colour.Ink(40 + 2.7, 102, 40 + 3.3, 106, 250), 0) << "the bar of box 1";
  EXPECT_EQ(besideBar(0), 0);
  EXPECT_GT(besideBar(1), 0);
  EXPECT_GT(besideBar(2), 0);
  EXPECT_EQ(black.Ink(40 + 2.7, 102, 40 + 3.3, 106, 250), 0) << "no guides on a monochrome sheet";

  // The postcode's 4th box: its dash, no guide. Boxes 5 x 7 mm, 6 mm apart.
  const double dashBox = 40 + 6 * 3;
  EXPECT_GT(colour.Ink(dashBox + 1.5, 123, dashBox + 3.5, 124), 0) << "the dash";
  EXPECT_EQ(colour.Ink(dashBox + 0.5, 120.5, dashBox + 4.5, 122.5, 250), 0) << "no figure above it";
  EXPECT_GT(colour.Ink(40 + 6 * 2 + 0.5, 120.5, 40 + 6 * 2 + 4.5, 122.5, 250), 0) << "box 3's";

  // "   12345" in five boxes: its blanks dropped, a digit a box.
  for (int box = 0; box < 5; ++box) {
    EXPECT_GT(colour.Ink(40 + 6 * box + 1, 141, 40 + 6 * box + 4, 146), 0) << "digit " << box + 1;
  }

  // A check field 40.25 mm in: its boxes start there, not at 40 mm.
  const double px = 300 / 25.4;
  for (int box = 0; box < 3; ++box) {
    const double left = 40.25 + 10 * box;
    EXPECT_GT(colour.Ink(left - 1.5 / px, 161.5, left + 1.5 / px, 164), 0) << "box " << box;
    EXPECT_EQ(colour.Ink(left - 3.5 / px, 161.5, left - 1.5 / px, 164), 0) << "box " << box;
  }

  EXPECT_EQ(colour.Ink(35, 178, 70, 190), 0) << "a hidden field";
  EXPECT_EQ(colour.Ink(35, 198, 70, 210), 0) << "an item of no known kind";

  // Box frames of a monochrome sheet are dashed crop frames, those of a
  // coloured sheet solid boxes. Boxes 6 x 8 mm at (40, 220).
  EXPECT_GT(black.Ink(39.9, 219.4, 40.1, 219.8), 0) << "the side reaches beyond the top";
  EXPECT_EQ(black.Ink(40.15, 219.9, 40.4, 220.1), 0) << "the top starts 0.5 mm in";
  EXPECT_EQ(colour.Ink(39.9, 219.4, 40.1, 219.8), 0);
  EXPECT_GT(colour.Ink(40.15, 219.9, 40.4, 220.1), 0);
  int gaps = 0;
  for (double x = 41; x < 45; x += 0.1) gaps += black.Ink(x, 219.9, x + 0.1, 220.1) == 0;
  EXPECT_GT(gaps, 5) << "dashed";

  EXPECT_GT(black.Ink(5.2, 5.2, 6.8, 6.8), 0) << "the square 5 mm up and left";
  EXPECT_EQ(black.Ink(9, 9, 11, 11), 0);
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

INSTANTIATE_TEST_SUITE_P(Databases, PrintSheetTest, testing::Values(kDbKindFile), KindName);

}  // namespace
