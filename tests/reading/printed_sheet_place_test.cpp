// A sheet as a new user designs it (a key, a choice of one, a choice of
// many, a grid of digits filled down its columns, a line of write-in
// boxes; black frames and the default threshold) printed through CUPS on a
// printer that cannot print the outer 5 mm of the paper, rendered at 200,
// 300 and 400 dpi and made 1-bit as a scanner does: the registration marks
// stand where the sheet puts them on the paper, every empty box is measured
// clear of the default threshold, every box is measured inside the frame
// printed for it, the boxes of the grid too, and a mark that fills a
// printed box is measured in that box alone.
#include <gtest/gtest.h>

#include <cmath>

#include "reading/reading.h"
#include "tests/reading/printed_page.h"
#include "tests/reading/run_fixture.h"
#include "tests/support/required_service.h"
#include "tools/print_round_trip/round_trip.h"

namespace {

constexpr int kDotsPerMm = 4;
constexpr int kDefaultThreshold = 10;

SheetFieldRow Choices(const char* code, const char* name, int xMm, int yMm, int boxes, int most) {
  return DesignedCheckFieldRow(code, name, xMm, yMm, boxes, most, 4);
}

SheetDefinition DesignedSheet() {
  SheetDefinition d;
  SheetPaperRow paper;
  paper.name = "DESIGNED";
  paper.outputTable = "DESIGNOUT";
  paper.compensationMode = 2;  // two marks, 6 mm from the top
  d.papers.push_back(paper);
  SheetFieldRow key = WriteInFieldRow("0001", "ID", 40 * kDotsPerMm, 30 * kDotsPerMm, 6);
  key.mask = "1000000000";
  d.fields.push_back(key);
  d.fields.push_back(Choices("0002", "ONE", 40, 50, 5, 1));
  d.fields.push_back(Choices("0003", "MANY", 40, 65, 5, 5));
  // An age: two columns of the digits 0 to 9, down each column first.
  SheetFieldRow age = Choices("0004", "AGE", 40, 80, 20, 2);
  age.type = "Ｙ";
  age.arrayCount = 10;
  age.arrayGap = 1;
  d.fields.push_back(age);
  d.fields.push_back(WriteInFieldRow("0005", "MEMO", 100 * kDotsPerMm, 80 * kDotsPerMm, 10));
  return d;
}

// The page with the printed box around the middle of `box` filled as a
// heavy pen fills it: out to the box's outline.
GeneratedSheet FillPrintedBox(const GeneratedSheet& page, const BoxRect& box) {
  GeneratedSheet filled = page;
  const PrintedPage p{page};
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  int left = cx, right = cx, top = cy, bottom = cy;
  while (left > 0 && !p.Black(left - 1, cy)) --left;
  while (right + 1 < page.width && !p.Black(right + 1, cy)) ++right;
  while (top > 0 && !p.Black(cx, top - 1)) --top;
  while (bottom + 1 < page.height && !p.Black(cx, bottom + 1)) ++bottom;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) filled.black[y * page.width + x] = 1;
  }
  return filled;
}

class PrintedSheetPlace : public ReadingDbTest {};

TEST_F(PrintedSheetPlace, ASheetPrintsOnItsPlaceAndEveryBoxIsMeasuredInsideItsFrame) {
  const std::string why = MarginsPrinterMissing();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  const SheetDefinition sheet = DesignedSheet();
  WriteDefinition(sheet);
  BuildCanvas();
  const std::vector<int> dpis = {200, 300, 400};
  std::vector<GeneratedSheet> pages;
  std::string fault;
  ASSERT_EQ(PrintWithMargins(dpis, &pages, &fault), 0) << fault << testing::PrintToString(Boxes());
  for (size_t d = 0; d < dpis.size(); ++d) {
    const int dpi = dpis[d];
    SCOPED_TRACE(dpi);
    const GeneratedSheet& printed = pages[d];
    const PrintedPage page{printed};
    KeepPicture(printed, ("designed_sheet_" + std::to_string(dpi) + ".png").c_str());

    ExpectMarksInPlace(sheet, printed);
    const int reach = static_cast<int>(std::lround(dpi / 25.4));  // 1 mm
    for (const SheetFieldRow* row : sheet.FieldsOf("0001")) {
      if (!row->IsCheck()) continue;
      SCOPED_TRACE(row->name);
      const std::vector<BoxRect> boxes = MeasuredBoxes(sheet, *row, printed);
      // A mark filling one printed box of a row (and of the grid's
      // second column) is measured in that box alone.
      for (size_t marked : {size_t{3}, boxes.size() - 2}) {
        const GeneratedSheet filled = FillPrintedBox(printed, boxes[marked]);
        for (size_t b = 0; b < boxes.size(); ++b) {
          const int density = PrintedPage{filled}.DensityPerMille(boxes[b]);
          EXPECT_EQ(density >= kDefaultThreshold, b == marked)
              << "box " << b + 1 << " at " << density << " with box " << marked + 1 << " marked";
        }
      }
      for (size_t b = 0; b < boxes.size(); ++b) {
        SCOPED_TRACE(b + 1);
        EXPECT_LT(page.DensityPerMille(boxes[b]), kDefaultThreshold)
            << "an empty box";
        for (char side : {'L', 'R', 'T', 'B'}) {
          EXPECT_TRUE(page.FramedOutside(boxes[b], reach, side)) << "its frame's side " << side;
        }
      }
    }
  }
  // The marks of the sheet printed at 300 dpi as well.
  std::vector<std::vector<PdfPage>> coarse;
  ASSERT_EQ(PrintPlainSheets(kMarginsPrinter, 300, {300}, &coarse, &fault), 0) << fault;
  ASSERT_EQ(coarse[0].size(), 1u);
  ExpectMarksInPlace(sheet, PrintedPageOf(coarse[0][0], 128));
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

}  // namespace
