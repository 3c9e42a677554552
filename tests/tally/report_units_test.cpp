// Report units and cell arithmetic: the kind-letter table, size factors,
// paper codes, cell geometry and spaces in each mode.
#include <gtest/gtest.h>

#include "tally/tally.h"

namespace {

TEST(ReportUnits, KindLetterTable) {
  struct Case {
    const char* what;
    char letter;
    int printType, scaleArgument, previousScale;
    int unitKind, scale;
  };
  const Case cases[] = {
      {"H", 'H', 0, -1, 0, kUnitHiMetric, 20},
      {"H on print type 17", 'H', 17, -1, 0, kUnitLoMetric, 2},
      {"T", 'T', 0, -1, 0, kUnitTwips, 11},
      {"L", 'L', 0, -1, 0, kUnitLoMetric, 2},
      {"R", 'R', 0, -1, 0, kUnitLoMetric, 2},
      {"P keeps the previous scale", 'P', 0, -1, 7, kUnitPixels, 7},
      {"O", 'O', 0, -1, 0, kUnitSheetMm, 100},
      {"o", 'o', 0, -1, 0, kUnitSheetMm, 100},
      {"C", 'C', 0, -1, 0, kUnitTwips, 11},
      {"unknown letter", 'x', 0, -1, 0, kUnitTwips, 11},
      {"scale passed", 'O', 0, 103, 0, kUnitSheetMm, 103},
      {"print type 4", 'O', 4, -1, 0, kUnitLoMetric, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ReportUnitChoice got = ChooseReportUnits(
        c.letter, c.printType, c.scaleArgument, c.previousScale);
    EXPECT_EQ(got.unitKind, c.unitKind);
    EXPECT_EQ(got.scale, c.scale);
  }
}

TEST(ReportUnits, FactorsPaperAndOrientation) {
  EXPECT_EQ(SizeCodeFactor(3), 0);
  EXPECT_DOUBLE_EQ(SizeCodeFactor(4), 0.8);
  EXPECT_DOUBLE_EQ(SizeCodeFactor(8), 1.3);
  EXPECT_DOUBLE_EQ(SizeCodeFactor(14), 2.5);
  EXPECT_EQ(SizeCodeFactor(15), 0);
  EXPECT_EQ(PaperCodeToPrinterPaper(1), 8);   // A3
  EXPECT_EQ(PaperCodeToPrinterPaper(5), 9);   // no such code: A4
  EXPECT_EQ(PaperCodeToPrinterPaper(6), 11);  // A5
  EXPECT_EQ(OrientationToPrinterOrientation(2), 2);
  EXPECT_EQ(OrientationToPrinterOrientation(0), 0);
  EXPECT_EQ(OrientationToPrinterOrientation(3), 0);
}

ReportLayout Page(int mode, int unitKind, int scale) {
  ReportLayout layout;
  layout.mode = mode;
  layout.unitKind = unitKind;
  layout.scale = scale;
  layout.leftMargin = 10;
  layout.topMargin = 10;
  layout.fontSize = 10;
  layout.linePitch = 25;
  return layout;
}

TEST(ReportCells, GeometryInPreviewAndOnThePrinter) {
  ReportLayout preview = Page(kReportPreview, kUnitLoMetric, 2);
  preview.lineNumber = 2;
  preview.columnOffset = 7;
  preview.extraColumn = 3;
  preview.extraVertical = 4;
  const ReportCellGeometry p = ComputeCellGeometry(preview);
  EXPECT_EQ(p.scale, 1);
  EXPECT_EQ(p.lineHeight, 25);
  EXPECT_EQ(p.x0, 50);
  EXPECT_EQ(p.y0, 50);
  EXPECT_EQ(p.textOffset, 2);
  EXPECT_EQ(p.x, 60);
  EXPECT_EQ(p.y, 50 + 2 * 25 + 4);
  EXPECT_EQ(p.textTop, p.y + 3);

  // The printer's line origin lies 6 x 5 report units left of and 5 x 5
  // above the preview's.
  const ReportCellGeometry q =
      ComputeCellGeometry(Page(kReportPrinter, kUnitLoMetric, 2));
  EXPECT_EQ(q.scale, 2);
  EXPECT_EQ(q.lineHeight, 50);
  EXPECT_EQ(q.x0 / q.scale, p.x0 - 30);
  EXPECT_EQ(q.y0 / q.scale, p.y0 - 25);
  EXPECT_EQ(q.textOffset, 5);

  const ReportCellGeometry plain =
      ComputePlainCellGeometry(Page(kReportPrinter, kUnitLoMetric, 2));
  EXPECT_EQ(plain.x0, 100);
  EXPECT_EQ(plain.y0, 100);
  EXPECT_EQ(plain.textTop, 100 + 5 + 1);
}

TEST(ReportCells, SpacesByModeAndUnitKind) {
  struct Case {
    const char* what;
    int mode, unitKind, scale;
    int space, column, plainColumn;
  };
  const Case cases[] = {
      {"twips on the printer", kReportPrinter, kUnitTwips, 11, 60, 60, 10},
      {"0.2 mm HIMETRIC", kReportPrinter, kUnitHiMetric, 20, 200, 200, 200},
      {"device pixels", kReportPrinter, kUnitPixels, 3, 10, 0, 0},
      {"preview", kReportPreview, kUnitTwips, 11, 10, 10, 10},
      {"file", kReportTextFile, kUnitLoMetric, 2, 10, 10, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ReportLayout layout = Page(c.mode, c.unitKind, c.scale);
    EXPECT_EQ(ScaleReportSpace(layout, 10), c.space);
    EXPECT_EQ(ScaleReportColumn(layout, 10, false), c.column);
    EXPECT_EQ(ScaleReportColumn(layout, 10, true), c.plainColumn);
  }
}

TEST(ReportCells, PreviewPageEnd) {
  ReportLayout layout = Page(kReportPreview, kUnitLoMetric, 1);
  layout.pageHeight = 500;  // lines start at 50 and must stay above 450
  layout.lineNumber = 16;   // 50 + 400
  EXPECT_EQ(IsPastPreviewPageEnd(layout), 0);
  layout.extraVertical = 1;
  EXPECT_EQ(IsPastPreviewPageEnd(layout), 1);
  layout.mode = kReportPrinter;
  EXPECT_EQ(IsPastPreviewPageEnd(layout), 0);
}

}  // namespace
