// Graphs printed through Wine, CUPS and the PDF printer and read back from
// the rendered page: bars as long as their shares, a choice bar cut at its
// shares, pie slices where their shares put them, and a radar's series at
// the distances of its shares. Report units of 0.2 mm (kind "H").
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>

#include "tally/tally.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/required_service.h"
#include "tests/tally/print_capture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kBlue = 1;
constexpr int kDpi = 100;

double Mm(double units) { return units * 0.2; }

// Length in millimetres of the dark run through (xMm, yMm) along the row.
double DarkRunMm(const PdfPage& page, double xMm, double yMm) {
  const int y = static_cast<int>(yMm * page.dpi / 25.4 + 0.5);
  int x = static_cast<int>(xMm * page.dpi / 25.4 + 0.5);
  if (page.At(x, y) >= 128) return 0;
  int left = x;
  int right = x;
  while (left > 0 && page.At(left - 1, y) < 128) --left;
  while (right + 1 < page.width && page.At(right + 1, y) < 128) ++right;
  return (right - left + 1) * 25.4 / page.dpi;
}

// The middle (mm) of the first dark run down the column at xMm from yMm,
// at least `minMm` tall; -1 when there is none.
double MiddleOfDarkRunDown(const PdfPage& page, double xMm, double fromMm, double minMm) {
  const int x = static_cast<int>(xMm * page.dpi / 25.4 + 0.5);
  int y = static_cast<int>(fromMm * page.dpi / 25.4 + 0.5);
  while (y < page.height) {
    while (y < page.height && page.At(x, y) >= 128) ++y;
    const int top = y;
    while (y < page.height && page.At(x, y) < 128) ++y;
    if ((y - top) * 25.4 / page.dpi >= minMm) return (top + y) / 2.0 * 25.4 / page.dpi;
  }
  return -1;
}

class GraphPrint : public testing::Test {
 protected:
  void SetUp() override {
    const std::string why = PrintingUnavailable();
    if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
    for (int type = kGraphBar; type <= kGraphRadar; ++type) {
      for (int slot = 1; slot <= kGraphColorSlots; ++slot) {
        g_graphColors[type][slot] = DefaultGraphColor(type, slot);
      }
    }
    g_printSettings = PrintSettings();
    gdiBaseline_ = LiveGdiObjects();
  }

  // A printer job on A4 portrait with margins of 20 steps and font size 8.
  void StartJob(const std::string& name) {
    BeginReportOutput(nullptr, 2, 1, 8, 20, 20);
    g_reportOutput.pageWidth = 1050;
    g_reportOutput.pageHeight = 1485;
    g_reportOutput.documentName = name;
    ASSERT_NE(StartPrintJobDefault(1, "H"), 0);
    ASSERT_EQ(g_reportOutput.scale, 20);
  }

  std::vector<PdfPage> EndJob(const std::string& name) {
    NextPrintPage();
    EndPrintJob();
    EXPECT_EQ(LiveGdiObjects(), gdiBaseline_);
    return WaitForPrintedPages(name, kDpi);
  }

  int gdiBaseline_ = 0;
};

TEST_F(GraphPrint, BarsAreAsLongAsTheirShares) {
  const std::string name = UniqueDocumentName("bars");
  ModalDialogRecorder dialogs(ChooseDefaultPrinter);
  g_graphColors[kGraphBar][1] = {kBlue, kFillSolid};
  g_graphColors[kGraphBar][2] = {kBlue, kFillSolid};
  g_graphColors[kGraphBar][3] = {kBlue, kFillSolid};
  g_graphSettings = {20, 40, 5, 8};  // bars 4 mm high, rows of 8 mm, 1 mm a percent
  StartJob(name);
  SetReportLinePitch(g_graphSettings.lineFeed);
  DrawBarGraph(30, 60, 1, "はい", 6, "", 0);
  DrawBarGraph(15, 60, 2, "いいえ", 6, "", 0);
  DrawBarGraph(0, 60, 3, "不明", 6, "", 0);
  DrawBarGraph(7, 0, 3, "基数なし", 6, "", 0);  // no base: no bar, no failure
  const std::vector<PdfPage> pages = EndJob(name);
  ASSERT_EQ(pages.size(), 1u);
  const PdfPage& page = pages[0];
  // Rows start at the printer's line origin: (20 - 6) mm across, (20 - 5)
  // mm down, 8 mm apart; a bar stands in the middle of its row, after the
  // label cell (8 digits) and the count.
  const double top = 15;
  const double bars[] = {50, 25, 0, 0};
  for (int row = 0; row < 4; ++row) {
    SCOPED_TRACE(row);
    const double y = top + row * 8 + 4;
    double longest = 0;
    for (double x = 14; x < 150; x += 0.5) longest = std::max(longest, DarkRunMm(page, x, y));
    if (bars[row] > 0) {
      EXPECT_NEAR(longest, bars[row], 1.0);
    } else {
      EXPECT_LT(longest, 5.0);  // figures only
    }
  }
}

TEST_F(GraphPrint, AChoiceBarIsCutAtItsShares) {
  const std::string name = UniqueDocumentName("choice");
  ModalDialogRecorder dialogs(ChooseDefaultPrinter);
  g_graphColors[kGraphChoice][1] = {kBlue, kFillSolid};
  g_graphColors[kGraphChoice][2] = {kBlue, kFillSolid};
  g_graphColors[kGraphChoice][3] = {kBlue, kFillNone};
  g_graphSettings = {50, 14, 5, 8};  // bars 10 mm high, 1 mm a percent
  StartJob(name);
  // Shares of 60, 0 and 40: the empty one leaves no gap.
  const double percents[] = {100, 60, 0, 40};
  const double counts[] = {0, 12, 0, 8};
  DrawChoiceGraph("はい,どちらでもない,いいえ", 3, percents, counts, 1, 0, "", "【質問】");
  const std::vector<PdfPage> pages = EndJob(name);
  ASSERT_EQ(pages.size(), 1u);
  const PdfPage& page = pages[0];
  const double left = 14;
  const double y = MiddleOfDarkRunDown(page, left + 5, 15, 5);
  ASSERT_GT(y, 0) << "no bar below the legend";
  for (double x : {left + 3, left + 15, left + 57}) EXPECT_LT(page.AtMm(x, y), 128) << x;
  EXPECT_GT(page.AtMm(left + 63, y), 128);
  EXPECT_GT(page.AtMm(left + 97, y), 128);  // the last segment is not filled
  // The frame ends at 100 %.
  EXPECT_TRUE(page.DarkNearMm(left + 100, y, 1));
  EXPECT_FALSE(page.DarkNearMm(left + 104, y, 2));
}

TEST_F(GraphPrint, PieSlicesFollowTheirSharesClockwiseFromTheTop) {
  const std::string name = UniqueDocumentName("pie");
  ModalDialogRecorder dialogs(ChooseDefaultPrinter);
  g_graphColors[kGraphPie][1] = {kBlue, kFillSolid};
  g_graphColors[kGraphPie][2] = {kBlue, kFillNone};
  g_graphColors[kGraphPie][3] = {kBlue, kFillSolid};
  g_graphSettings.labelFontSize = 7;
  StartJob(name);
  const int x = 400, y = 600, r = 125;  // 80 mm, 120 mm, 25 mm
  const double shares[] = {100, 50, 25, 25};
  const double counts[] = {0, 10, 5, 5};
  const std::vector<std::string> labels = {"", "はい", "いいえ", "不明"};
  EXPECT_EQ(DrawPieGraph(x, y, r, 3, shares, counts, 1, labels, "【円】"), 0);
  const std::vector<PdfPage> pages = EndJob(name);
  ASSERT_EQ(pages.size(), 1u);
  const PdfPage& page = pages[0];
  // Points half way out, at angles clockwise from the top: the first
  // slice fills the right half, the second (unfilled) the lower left
  // quarter, the third the upper left.
  struct Probe {
    double degrees;
    bool dark;
  };
  const Probe probes[] = {{10, true},   {90, true},  {170, true}, {190, false}, {225, false},
                          {260, false}, {280, true}, {315, true}, {350, true}};
  for (const Probe& p : probes) {
    const double a = p.degrees * kPi / 180;
    const double px = Mm(x) + std::sin(a) * Mm(r) / 2;
    const double py = Mm(y) - std::cos(a) * Mm(r) / 2;
    EXPECT_EQ(page.AtMm(px, py) < 128, p.dark) << p.degrees << " degrees";
  }
  // The circle's edge, and nothing outside it.
  EXPECT_TRUE(page.DarkNearMm(Mm(x) - Mm(r), Mm(y), 2));
  EXPECT_GT(page.AtMm(Mm(x) - Mm(r) - 3, Mm(y) + 10), 128);
}

TEST_F(GraphPrint, ARadarsSeriesStandsAtItsShares) {
  const std::string name = UniqueDocumentName("radar");
  ModalDialogRecorder dialogs(ChooseDefaultPrinter);
  g_graphSettings.labelFontSize = 7;
  StartJob(name);
  const int x = 500, y = 700, r = 200;  // 100 mm, 140 mm, 40 mm
  // Four axes: up 100 %, right 50 %, down 100 %, left 0 %.
  const double shares[] = {250, 100, 50, 100, 0};
  const double counts[] = {0, 4, 2, 4, 0};
  const std::vector<std::string> labels = {"", "上", "右", "下", "左"};
  EXPECT_EQ(DrawRadarGraph(x, y, r, 4, shares, counts, 1, 1.0, labels, "【レーダー】"), 0);
  const std::vector<PdfPage> pages = EndJob(name);
  ASSERT_EQ(pages.size(), 1u);
  const PdfPage& page = pages[0];
  const double cx = Mm(x), cy = Mm(y), R = Mm(r);
  // On the series' edges between the axes' points.
  EXPECT_TRUE(page.DarkNearMm(cx + R / 4, cy - R / 2, 1));
  EXPECT_TRUE(page.DarkNearMm(cx + R / 4, cy + R / 2, 1));
  // Off every line: beyond the outer ring, and between the rings of 80 and
  // 90 % away from the series.
  EXPECT_FALSE(page.DarkNearMm(cx + 0.6 * R, cy - 0.6 * R, 1));
  EXPECT_FALSE(page.DarkNearMm(cx + 0.43 * R, cy - 0.42 * R, 1));
  EXPECT_FALSE(page.DarkNearMm(cx - 0.43 * R, cy - 0.42 * R, 1));
}

TEST_F(GraphPrint, NothingToDrawDrawsNothing) {
  const std::string name = UniqueDocumentName("empty");
  ModalDialogRecorder dialogs(ChooseDefaultPrinter);
  StartJob(name);
  const double zero[] = {0, 0, 0};
  const std::vector<std::string> labels = {"", "a", "b"};
  EXPECT_EQ(DrawPieGraph(300, 300, 100, 2, zero, zero, 1, labels, "x"), 0);
  EXPECT_EQ(DrawRadarGraph(300, 300, 100, 0, zero, zero, 1, 0.0, labels, "x"), 0);
  DrawChoiceGraph("a,b", 2, zero, zero, 1, 0, "", "x");  // a frame without segments
  EndJob(name);
}

}  // namespace
