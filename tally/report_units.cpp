// Report units and cell arithmetic: which unit and scale a printer job uses,
// the font size factors, the printer's paper codes, and where cells, spaces
// and page ends fall. Pure integer arithmetic on the layout, so it builds
// and is tested natively too.
#include "tally/tally.h"

namespace {

// Print-settings layouts whose reports are laid out in 0.2 mm whatever the
// kind letter says.
bool ForcesLoMetric(int printType) {
  return printType == 4 || printType == 15 || printType == 17 ||
         printType == 20;
}

// Printer paper codes (DMPAPER_*), spelled here so this file needs no
// Windows header.
constexpr int kPaperA3 = 8, kPaperA4 = 9, kPaperA5 = 11, kPaperB4 = 12,
              kPaperB5 = 13;

bool OnPrinter(const ReportLayout& layout) {
  return layout.mode == kReportPrinter;
}

}  // namespace

ReportUnitChoice ChooseReportUnits(char kindLetter, int printType,
                                   int scaleArgument, int previousScale) {
  ReportUnitChoice choice{kUnitTwips, 11};
  switch (kindLetter) {
    case 'H': choice = {kUnitHiMetric, 20}; break;
    case 'L':
    case 'R': choice = {kUnitLoMetric, 2}; break;
    case 'P': choice = {kUnitPixels, previousScale}; break;
    case 'O':
    case 'o': choice = {kUnitSheetMm, 100}; break;
    default: break;  // "T", "C" and any other letter: twips
  }
  if (ForcesLoMetric(printType)) choice = {kUnitLoMetric, 2};
  if (scaleArgument != -1) choice.scale = scaleArgument;
  return choice;
}

double SizeCodeFactor(int sizeCode) {
  static const double kFactors[] = {0.8, 0.9, 1.0, 1.1, 1.3, 1.5,
                                    1.7, 1.9, 2.1, 2.3, 2.5};
  if (sizeCode < 4 || sizeCode > 14) return 0;
  return kFactors[sizeCode - 4];
}

int PaperCodeToPrinterPaper(int paperCode) {
  switch (paperCode) {
    case 1: return kPaperA3;
    case 3: return kPaperB4;
    case 4: return kPaperB5;
    case 6: return kPaperA5;
    default: return kPaperA4;
  }
}

int OrientationToPrinterOrientation(int orientation) {
  return orientation == 1 || orientation == 2 ? orientation : 0;
}

ReportCellGeometry ComputeCellGeometry(const ReportLayout& layout) {
  ReportCellGeometry g{};
  g.scale = OnPrinter(layout) ? layout.scale : 1;
  g.lineHeight = layout.linePitch * g.scale;
  if (OnPrinter(layout)) {
    // The printer page starts at the paper's printable corner, which lies
    // 6 x 5 report units right of and 5 x 5 below the preview's origin.
    g.x0 = (layout.leftMargin - 6) * 5 * g.scale;
    g.y0 = (layout.topMargin - 5) * 5 * g.scale;
  } else {
    g.x0 = layout.leftMargin * 5;
    g.y0 = layout.topMargin * 5;
  }
  g.textOffset = (g.lineHeight - 2 * layout.fontSize * g.scale) / 2;
  g.x = g.x0 + layout.columnOffset + layout.extraColumn;
  g.y = g.y0 + layout.lineNumber * g.lineHeight + layout.extraVertical;
  g.textTop = g.y + g.textOffset + 1;
  return g;
}

ReportCellGeometry ComputePlainCellGeometry(const ReportLayout& layout) {
  ReportCellGeometry g = ComputeCellGeometry(layout);
  const int shiftX = layout.leftMargin * 5 * g.scale - g.x0;
  const int shiftY = layout.topMargin * 5 * g.scale - g.y0;
  g.x0 += shiftX;
  g.x += shiftX;
  g.y0 += shiftY;
  g.y += shiftY;
  g.textTop += shiftY;
  return g;
}

int ScaleReportSpace(const ReportLayout& layout, int n) {
  if (!OnPrinter(layout)) return n;
  switch (layout.unitKind) {
    case kUnitTwips: return n * 6;
    case kUnitPixels: return n;
    default: return n * layout.scale;
  }
}

int ScaleReportColumn(const ReportLayout& layout, int n, bool plain) {
  if (!OnPrinter(layout)) return n;
  switch (layout.unitKind) {
    case kUnitTwips: return plain ? n : n * 6;
    case kUnitPixels: return 0;
    default: return n * layout.scale;
  }
}

int IsPastPreviewPageEnd(const ReportLayout& layout) {
  if (layout.mode != kReportPreview) return 0;
  // In the preview a line is one line pitch high (the scale is 1).
  const int lineTop = layout.topMargin * 5 +
                      layout.lineNumber * layout.linePitch +
                      layout.extraVertical;
  return lineTop > layout.pageHeight - layout.topMargin * 5 ? 1 : 0;
}
