#include "tests/reading/printed_page.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>

#include "tests/support/test_pictures.h"
#include "tools/print_round_trip/round_trip.h"
#include "tools/sheetgen/page_reader.h"

namespace {

constexpr int kDotsPerMm = 4;  // sheet dots, a grid unit a quarter millimetre

}  // namespace

int PrintedPage::DensityPerMille(const BoxRect& box) const {
  long black = 0, all = 0;
  for (int y = box.top; y <= box.bottom; ++y) {
    for (int x = box.left; x <= box.right; ++x) black += Black(x, y), ++all;
  }
  return all ? static_cast<int>((2000 * black + all) / (2 * all)) : 0;
}

bool PrintedPage::FramedOutside(const BoxRect& box, int reach, char side) const {
  const bool vertical = side == 'L' || side == 'R';
  const int from = vertical ? box.top : box.left, to = vertical ? box.bottom : box.right;
  const int quarter = (to - from) / 4;
  for (int d = 1; d <= reach; ++d) {
    const int at = side == 'L' ? box.left - d : side == 'R' ? box.right + d
                 : side == 'T' ? box.top - d : box.bottom + d;
    int black = 0;
    for (int k = from + quarter; k <= to - quarter; ++k) {
      black += vertical ? Black(at, k) : Black(k, at);
    }
    if (4 * black >= 3 * (to - from - 2 * quarter + 1)) return true;
  }
  return false;
}

int PrintWithMargins(const std::vector<int>& dpis, std::vector<GeneratedSheet>* pages,
                     std::string* fault) {
  std::vector<std::vector<PdfPage>> rendered;
  if (PrintPlainSheets(kMarginsPrinter, 600, dpis, &rendered, fault) != 0) return -1;
  for (const std::vector<PdfPage>& job : rendered) {
    if (job.size() != 1) {
      *fault = std::to_string(job.size()) + " pages printed for one sheet";
      return -1;
    }
    pages->push_back(PrintedPageOf(job[0], 128));
  }
  return 0;
}

void KeepPicture(const GeneratedSheet& page, const char* name) {
  char folder[MAX_PATH] = "";
  if (GetEnvironmentVariableA("SHEETDESK_PICTURES", folder, MAX_PATH) == 0) return;
  std::vector<std::uint8_t> rgb;
  for (unsigned char black : page.black) {
    const std::uint8_t g = black ? 0 : 255;
    rgb.insert(rgb.end(), {g, g, g});
  }
  WritePng(std::string(folder) + "\\" + name, page.width, page.height, rgb);
}

ReferenceMarks ExpectMarksInPlace(const SheetDefinition& sheet, const GeneratedSheet& printed) {
  const ReferenceMarks found = RegisterCleanPage(sheet, "0001", printed.dpi, &printed);
  const ReferenceMarks designed = RegisterCleanPage(sheet, "0001", printed.dpi);
  EXPECT_NEAR(found.x1, designed.x1, 2);
  EXPECT_NEAR(found.y1, designed.y1, 2);
  EXPECT_NEAR(found.x2, designed.x2, 2);
  EXPECT_NEAR(found.y2, designed.y2, 2);
  return found;
}

std::vector<BoxRect> MeasuredBoxes(const SheetDefinition& sheet, const SheetFieldRow& row,
                                   const GeneratedSheet& printed) {
  const int dpi = printed.dpi;
  const ReferenceMarks found = RegisterCleanPage(sheet, "0001", dpi, &printed);
  const ReferenceMarks designed = RegisterCleanPage(sheet, "0001", dpi);
  SheetScale scale;
  scale.dotsX = scale.dotsY = dpi / 25.4 / kDotsPerMm;
  scale.unit = kDotsPerMm;
  ImageCompensation shift;
  shift.shiftX = found.x1 - designed.x1;
  shift.shiftY = found.y1 - designed.y1;
  const SheetFieldSpec spec = FieldSpecFromRow(row);
  return LayoutFieldBoxes(ComputeFieldLayout(spec, scale, shift), spec.boxCount, dpi);
}
