// Fields of ovals as a new user designs them, printed through CUPS on a
// printer that cannot print the outer 5 mm of the paper, rendered at 200,
// 300 and 400 dpi and made 1-bit as a scanner does: ovals with their
// choices inside ("Ｍ") wide, tall, in a row and in grids arranged down
// their columns (縦向き) and along their rows (横向き), and ovals drawn in
// square boxes (mark type 1) in a row and in a grid of digits. Every oval
// is measured over the oval printed for it: an empty one reads clear of
// its threshold, one filled out to its outline reads full and its
// neighbours read empty.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "reading/reading.h"
#include "tests/reading/printed_page.h"
#include "tests/reading/run_fixture.h"
#include "tests/support/required_service.h"
#include "tools/print_round_trip/round_trip.h"
#include "tools/sheetgen/page_reader.h"

namespace {

constexpr int kOvalThreshold = kLeastOvalThreshold * 10;  // per mille of the oval

// A check field of ovals at (xMm, yMm): "Ｍ" ovals with the choices inside
// or, with no shape, ovals drawn in the boxes (mark type 1); `type` "Ｙ"
// arranges them down `rows` rows column by column, "Ｘ" row by row.
SheetFieldRow Ovals(const char* code, const char* name, int xMm, int yMm, int boxes,
                    const char* shape, int widthMm, int heightMm, int gapMm,
                    const char* type = "", int rows = 0) {
  SheetFieldRow row = DesignedCheckFieldRow(code, name, xMm, yMm, boxes, boxes, widthMm);
  row.boxHeight = heightMm;
  row.gap = gapMm;
  row.shape = shape;
  row.markType = 1;
  row.threshold = kLeastOvalThreshold;
  row.type = type;
  row.arrayCount = rows;
  row.arrayGap = rows > 0 ? 1 : 0;
  row.overlay = std::string("01234567890123456789").substr(0, static_cast<size_t>(boxes));
  return row;
}

SheetDefinition OvalSheet() {
  SheetDefinition d;
  SheetPaperRow paper;
  paper.name = "OVALS";
  paper.outputTable = "OVALOUT";
  paper.compensationMode = 2;
  d.papers.push_back(paper);
  d.fields.push_back(Ovals("0001", "WIDE", 40, 40, 4, "Ｍ", 5, 3, 4));
  d.fields.push_back(Ovals("0002", "TALL", 110, 40, 4, "Ｍ", 3, 5, 4));
  d.fields.push_back(Ovals("0003", "CODE", 40, 60, 20, "Ｍ", 4, 4, 2, "Ｙ", 10));
  d.fields.push_back(Ovals("0004", "YEAR", 80, 60, 20, "Ｍ", 5, 3, 2, "Ｘ", 2));
  d.fields.push_back(Ovals("0005", "CIRCLES", 40, 130, 5, "", 5, 5, 2));
  d.fields.push_back(Ovals("0006", "AGE", 110, 130, 20, "", 4, 4, 2, "Ｙ", 10));
  return d;
}

// The inside of a printed oval: on each of its rows, the pixels from the
// oval's outline on the left to its outline on the right.
struct OvalInside {
  bool closed = false;  // false: the outline let the inside out
  BoxRect bounds;
  std::vector<std::pair<int, int>> spans;  // from bounds.top down
};

// The oval printed around the measured box `box`: the white pixels joined
// to points a fifth of the way in from each side of the box, and whatever
// the outline holds between them on a row (the choice printed inside).
OvalInside FindPrintedOval(const GeneratedSheet& page, const BoxRect& box) {
  const PrintedPage p{page};
  const int w = box.right - box.left, h = box.bottom - box.top;
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  const BoxRect reach{box.left - w, box.top - h, box.right + w, box.bottom + h};
  std::vector<char> seen(static_cast<size_t>((reach.right - reach.left + 1) * (reach.bottom - reach.top + 1)));
  auto at = [&](int x, int y) -> char& {
    return seen[static_cast<size_t>((y - reach.top) * (reach.right - reach.left + 1) + (x - reach.left))];
  };
  std::vector<std::pair<int, int>> todo = {
      {box.left + w / 5, cy}, {box.right - w / 5, cy}, {cx, box.top + h / 5}, {cx, box.bottom - h / 5}};
  OvalInside inside;
  inside.bounds = {cx, cy, cx, cy};
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    if (x <= reach.left || x >= reach.right || y <= reach.top || y >= reach.bottom) return inside;
    if (at(x, y) || p.Black(x, y)) continue;
    at(x, y) = 1;
    inside.bounds.left = std::min(inside.bounds.left, x);
    inside.bounds.right = std::max(inside.bounds.right, x);
    inside.bounds.top = std::min(inside.bounds.top, y);
    inside.bounds.bottom = std::max(inside.bounds.bottom, y);
    todo.insert(todo.end(), {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}});
  }
  for (int y = inside.bounds.top; y <= inside.bounds.bottom; ++y) {
    int from = inside.bounds.right, to = inside.bounds.left;
    for (int x = inside.bounds.left; x <= inside.bounds.right; ++x) {
      if (at(x, y)) from = std::min(from, x), to = std::max(to, x);
    }
    inside.spans.emplace_back(from, to);
  }
  inside.closed = true;
  return inside;
}

// The page with an oval filled black out to its outline, as a careful
// pencil fills it.
GeneratedSheet FillOval(const GeneratedSheet& page, const OvalInside& oval) {
  GeneratedSheet filled = page;
  for (size_t k = 0; k < oval.spans.size(); ++k) {
    const int y = oval.bounds.top + static_cast<int>(k);
    for (int x = oval.spans[k].first; x <= oval.spans[k].second; ++x) {
      filled.black[static_cast<size_t>(y) * page.width + x] = 1;
    }
  }
  return filled;
}

// The densities of ovals in per mille as the reader measures them on
// `page`.
std::vector<int> OvalDensities(const GeneratedSheet& page, const std::vector<BoxRect>& boxes) {
  const SheetImage image = SheetImageFromGenerated(page);
  UnpackSheetImage(image.bitmap, kUnpackWholeImage);
  std::vector<int> densities;
  for (const BoxRect& box : boxes) densities.push_back(DensityPerMille(MeasureBoxInk(box, true), 4));
  return densities;
}

std::string Describe(const BoxRect& r) {
  char text[64];
  std::snprintf(text, sizeof text, "(%d,%d)-(%d,%d)", r.left, r.top, r.right, r.bottom);
  return text;
}

class PrintedOvals : public ReadingDbTest {};

TEST_F(PrintedOvals, EachOvalIsMeasuredWhereItWasPrinted) {
  const std::string why = MarginsPrinterMissing();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  const SheetDefinition sheet = OvalSheet();
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
    KeepPicture(printed, ("oval_sheet_" + std::to_string(dpi) + ".png").c_str());
    ExpectMarksInPlace(sheet, printed);
    // The measured oval stands inside the printed one, bar a pixel of
    // rounding, and takes it in to within half a grid unit and a pixel.
    const int inward = dpi / 200 + 1;
    auto within = [inward](int measured, int printed, int outward) {
      const int out = (measured - printed) * outward;
      return out <= 1 && -out <= inward;
    };
    for (const SheetFieldRow* row : sheet.FieldsOf("0001")) {
      SCOPED_TRACE(row->name);
      const std::vector<BoxRect> boxes = MeasuredBoxes(sheet, *row, printed);
      const std::vector<int> empty = OvalDensities(printed, boxes);
      for (size_t b = 0; b < boxes.size(); ++b) {
        SCOPED_TRACE(b + 1);
        EXPECT_LT(empty[b], kOvalThreshold / 2) << "an empty oval";
        const OvalInside oval = FindPrintedOval(printed, boxes[b]);
        ASSERT_TRUE(oval.closed) << "the oval printed around " << Describe(boxes[b]);
        const BoxRect& in = oval.bounds;
        const BoxRect& measured = boxes[b];
        EXPECT_TRUE(within(measured.left, in.left, -1) && within(measured.right, in.right, 1) &&
                    within(measured.top, in.top, -1) && within(measured.bottom, in.bottom, 1))
            << "measured " << Describe(measured) << ", printed inside " << Describe(in);
        const std::vector<int> marked = OvalDensities(FillOval(printed, oval), boxes);
        for (size_t n = 0; n < boxes.size(); ++n) {
          if (n == b) {
            EXPECT_GE(marked[n], 950) << "the filled oval";
          } else {
            EXPECT_LT(marked[n], kOvalThreshold / 2) << "oval " << n + 1 << " beside the filled one";
          }
        }
      }
    }
  }
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

}  // namespace
