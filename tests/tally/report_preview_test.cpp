// The preview (mode 0) drawn into a memory bitmap: cell frames of every
// style where the cursor puts them, the zoom and scroll of the preview, the
// report font's cache and lifetime, vertical text, shapes and page ends.
#include <gtest/gtest.h>

#include <windows.h>

#include "tally/tally.h"
#include "tests/support/memory_canvas.h"

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);

class ReportPreview : public ::testing::Test {
 protected:
  void SetUp() override {
    gdiBaseline_ = LiveGdiObjects();
    originalFont_ = GetCurrentObject(canvas_.dc(), OBJ_FONT);
    SetReportPreviewDC(canvas_.dc(), 600, 800, 1.0);
    g_reportOutput.originX = 0;
    g_reportOutput.originY = 0;
    // Font size 8 and a line spacing of 8: text 16 pixels high on lines of
    // 24; margins of 2 steps put the line origin at (10, 10).
    BeginReportOutput(nullptr, 2, 1, 8, 2, 2);
    g_reportOutput.lineSpacing = 8;
    g_reportOutput.pageWidth = 400;
    g_reportOutput.pageHeight = 500;
  }
  void TearDown() override {
    EndPrintJob();
    EXPECT_EQ(LiveGdiObjects(), gdiBaseline_);
    EXPECT_EQ(GetCurrentObject(canvas_.dc(), OBJ_FONT), originalFont_);
    g_reportOutput.previewDC = nullptr;
  }
  MemoryCanvas canvas_{600, 800};
  int gdiBaseline_ = 0;
  HGDIOBJ originalFont_ = nullptr;
};

TEST_F(ReportPreview, CellFramesFollowTheirStyle) {
  ASSERT_EQ(StartPrintJobDefault(0, "L"), 1);
  SetReportInnerMargin(4);  // keeps the glyphs off the frame lines
  struct Case {
    int style;
    bool left, right, top, bottom, rule;
  };
  const Case cases[] = {
      {1, true, true, true, true, false},
      {2, false, false, false, false, true},
      {3, true, true, true, false, false},
      {4, true, true, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    SetReportCellFrame(c.style);
    const ReportCellGeometry g = ComputeCellGeometry(g_reportOutput);
    const int before = g_reportOutput.columnOffset;
    ReportPrintCell("%s", "ABCD");
    const int w = g_reportOutput.columnOffset - before;
    EXPECT_EQ(w, 4 * ReportDigitWidth() + 8);
    EXPECT_EQ(GetLastCellRight(), g.x + w);
    const int midX = g.x + w / 2, midY = g.y + g.lineHeight / 2;
    EXPECT_EQ(canvas_.Pixel(g.x, midY) == kBlue, c.left);
    EXPECT_EQ(canvas_.Pixel(g.x + w, midY) == kBlue, c.right);
    EXPECT_EQ(canvas_.Pixel(midX, g.y) == kBlue, c.top);
    EXPECT_EQ(canvas_.Pixel(midX, g.y + g.lineHeight) == kBlue, c.bottom);
    const int rule = g.textTop + g_reportOutput.textHeight;
    EXPECT_EQ(canvas_.Pixel(midX, rule) == kBlue, c.rule);
    AdvanceReportLine(3);
  }
  // Cells follow one another on a line; a line advance goes back to the
  // column origin.
  SetReportCellFrame(1);
  const ReportCellGeometry first = ComputeCellGeometry(g_reportOutput);
  ReportPrintCell("%d", 1);
  ReportPrintCell("%d", 22);
  EXPECT_EQ(g_reportOutput.columnOffset, 3 * ReportDigitWidth() + 16);
  EXPECT_EQ(canvas_.Pixel(first.x + ReportDigitWidth() + 8, first.y + 12), kBlue);
  AdvanceReportLine(1);
  EXPECT_EQ(g_reportOutput.columnOffset, 0);
}

TEST_F(ReportPreview, LongTextsStayInsideTheirBoxes) {
  ASSERT_EQ(StartPrintJobDefault(0, "L"), 1);
  SetReportCellFrame(1);
  const ReportCellGeometry g = ComputeCellGeometry(g_reportOutput);
  const char* text = "あいうえおかきくけこさしすせそたちつてとなにぬねの";
  EXPECT_EQ(ReportPrintCellBox(10, 20, "%s", text), 2);
  const int boxRight = g_reportOutput.columnOffset + g.x;
  const int boxBottom = g.y + 2 * g.lineHeight;
  EXPECT_EQ(canvas_.Pixel(g.x, boxBottom - 2), kBlue);
  EXPECT_EQ(canvas_.InkIn(g.x, boxBottom + 1, boxRight + 40, boxBottom + 80), 0);
  EXPECT_EQ(canvas_.InkIn(boxRight + 1, g.y, boxRight + 80, boxBottom), 0);

  AdvanceReportLine(4);
  const ReportCellGeometry list = ComputeCellGeometry(g_reportOutput);
  ReportPrintWrappedList(2, 9, "%s", text);
  EXPECT_EQ(canvas_.InkIn(list.x, list.y + 2 * list.lineHeight + 1, 600,
                          list.y + 5 * list.lineHeight), 0);
}

TEST_F(ReportPreview, ZoomAndScrollMapReportUnitsToPixels) {
  SetReportPreviewDC(canvas_.dc(), 600, 800, 2.0);  // 2 units a pixel
  g_reportOutput.originX = 20;                      // scrolled right
  ASSERT_EQ(StartPrintJobDefault(0, "L"), 1);
  ReportLine(100, 100, 300, 300);
  EXPECT_EQ(canvas_.Pixel(30, 100), kBlue);
  EXPECT_EQ(canvas_.Pixel(130, 100), kBlue);
  EXPECT_EQ(canvas_.Pixel(80, 50), kBlue);
  EXPECT_EQ(canvas_.Pixel(80, 150), kBlue);
  EXPECT_NE(canvas_.Pixel(50, 100), kBlue);
}

TEST_F(ReportPreview, ReportFontIsCachedAndGivenBack) {
  ASSERT_EQ(StartPrintJobDefault(0, "L"), 1);
  const int live = LiveGdiObjects();
  EXPECT_EQ(live, gdiBaseline_ + 1);  // the report font
  HGDIOBJ font = g_reportOutput.font.get();
  EXPECT_EQ(GetCurrentObject(canvas_.dc(), OBJ_FONT), font);
  SelectPrinterFont(0, 16);  // the same face and height: nothing new
  EXPECT_EQ(g_reportOutput.font.get(), font);
  ReportSetFontSize(1, 12);
  EXPECT_NE(g_reportOutput.font.get(), font);
  EXPECT_EQ(g_reportOutput.fontHeight, 24);
  EXPECT_EQ(LiveGdiObjects(), live);  // the old font went
  EXPECT_EQ(SelectFontByName("ＭＳ ゴシック", 30), 0);
  EXPECT_EQ(g_reportOutput.fontFace, -1);
  EXPECT_EQ(LiveGdiObjects(), live);
}

TEST_F(ReportPreview, VerticalTextJoinsKanaAndAlignsTheDrawnCells) {
  ASSERT_EQ(StartPrintJobDefault(0, "L"), 1);
  // Cells of 20 pixels from (20, 20); "ｶﾞ12" draws three cells, which
  // bottom alignment puts into the last three of six.
  DrawVerticalText(4, 4, 4, 6, "ｶﾞ12", 1, 1);
  for (int cell = 0; cell < 6; ++cell) {
    SCOPED_TRACE(cell);
    const int ink = canvas_.InkIn(20, 20 + 20 * cell, 40, 40 + 20 * cell);
    EXPECT_EQ(ink > 0, cell >= 3);
  }
  // The long vowel mark is turned and stays inside its own cell.
  DrawVerticalText(12, 4, 4, 1, "ー", 1, 0);
  EXPECT_GT(canvas_.InkIn(60, 20, 80, 40), 0);
  EXPECT_EQ(canvas_.InkIn(80, 20, 100, 40), 0);
  EXPECT_EQ(canvas_.InkIn(40, 20, 60, 40), 0);
}

TEST_F(ReportPreview, ShapesAndPageEnd) {
  ASSERT_EQ(StartPrintJobDefault(0, "L"), 1);
  ReportCircle(200, 200, 20, 2, 4);
  EXPECT_EQ(canvas_.Pixel(200, 200), RGB(0, 255, 0));
  EXPECT_EQ(canvas_.Pixel(181, 200), RGB(255, 0, 0));
  EXPECT_EQ(canvas_.Pixel(178, 200), RGB(255, 255, 255));
  ReportRect(300, 300, 340, 320, 1, 2);
  EXPECT_EQ(canvas_.Pixel(300, 310), RGB(255, 0, 0));
  EXPECT_EQ(canvas_.Pixel(320, 310), RGB(255, 255, 255));

  // Lines start at 10 and must begin above 500 - 10.
  SetReportPosition(0, 20);  // 10 + 20 x 24 = 490
  EXPECT_EQ(ReportPastPageEnd(), 0);
  EXPECT_EQ(ReportRowFits(), 1);
  AddReportSpace(1);
  EXPECT_EQ(ReportPastPageEnd(), 1);
  EXPECT_EQ(ReportRowFits(), 0);
}

TEST_F(ReportPreview, TitleAndPageNumberAreCentredOnThePage) {
  ASSERT_EQ(StartPrintJobDefault(0, "L"), 1);
  PrintCenteredTitle("TITLE");
  const int titleInk = canvas_.InkIn(0, 30, 600, 80);
  EXPECT_GT(titleInk, 0);
  EXPECT_EQ(canvas_.InkIn(0, 30, 150, 80), 0);
  EXPECT_EQ(canvas_.InkIn(250, 30, 600, 80), 0);
  PrintPageNumber(12, 0, 0);  // only flag 1 prints
  EXPECT_EQ(canvas_.InkIn(0, 440, 600, 480), 0);
  PrintPageNumber(12, 1, 0);
  EXPECT_GT(canvas_.InkIn(180, 445, 220, 475), 0);
  EXPECT_EQ(canvas_.InkIn(0, 440, 170, 480), 0);
  // Both give the report font back.
  EXPECT_EQ(g_reportOutput.fontHeight, 16);
}

TEST_F(ReportPreview, PreviewWindowOrNoTarget) {
  HWND window = CreateWindowA("STATIC", "preview", WS_POPUP, 0, 0, 300, 200,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  SetReportPreviewWindow(window, 1.0);
  ASSERT_EQ(StartPrintJobDefault(0, "L"), 1);
  EXPECT_NE(g_reportOutput.dc, nullptr);
  ReportPrintCell("%s", "on the window");
  EndPrintJob();
  EXPECT_EQ(g_reportOutput.dc, nullptr);
  EXPECT_EQ(LiveGdiObjects(), gdiBaseline_);
  DestroyWindow(window);

  SetReportPreviewWindow(nullptr, 1.0);
  EXPECT_EQ(StartPrintJobDefault(0, "L"), 0);
}

}  // namespace
