// The drawing context and the primitives, drawn into memory bitmaps and
// checked by the pixels the primitives fix (never pixels of text).
#include <gtest/gtest.h>

#include "screen/screen.h"
#include "tests/screen/screen_fixture.h"

namespace {


class PaintContextTest : public ScreenEngineTest {
 protected:
  void SetUp() override {
    ScreenEngineTest::SetUp();
    liveBefore_ = LiveGdiObjects();
    ASSERT_NE(BeginScreenPaintDC(canvas_.dc(), -1, 0, 0), nullptr);
  }
  void TearDown() override {
    EndScreenPaintDC();
    EXPECT_EQ(LiveGdiObjects(), liveBefore_);
    ScreenEngineTest::TearDown();
  }
  MemoryCanvas canvas_{300, 200};
  int liveBefore_ = 0;
};

TEST_F(PaintContextTest, OneCachedFontPerContext) {
  const PaintContext& c = ActivePaintContext();
  const HFONT start = c.font.get();
  ASSERT_NE(start, nullptr);
  SelectScreenFont(0, 16);  // the font of every fresh context
  EXPECT_EQ(c.font.get(), start);
  SelectScreenFont(1, 16);
  const HFONT gothic = c.font.get();
  EXPECT_NE(gothic, start);
  EXPECT_EQ(GetCurrentObject(canvas_.dc(), OBJ_FONT), gothic);
  SelectScreenFontSize(1, 16, 400);
  EXPECT_EQ(c.font.get(), gothic);
  SelectScreenFontSize(1, 16, 700);
  EXPECT_NE(c.font.get(), gothic);
  EXPECT_EQ(LiveGdiObjects(), liveBefore_ + 1);
  // Size 0 is honoured once and freezes the font until the next reset.
  SelectScreenFont(2, 0);
  const HFONT frozen = c.font.get();
  SelectScreenFont(3, 20);
  SelectScreenFontSize(3, 20, 700);
  EXPECT_EQ(c.font.get(), frozen);
  ResetPaintState(nullptr, 0, 0);
  SelectScreenFont(3, 20);
  EXPECT_NE(c.font.get(), frozen);
}

TEST_F(PaintContextTest, NestedContextsKeepTheOuterDcAndFont) {
  SelectScreenFont(1, 20);
  const HFONT outer = ActivePaintContext().font.get();
  {
    MemoryCanvas inner(10, 10);
    ASSERT_NE(BeginScreenPaintDC(inner.dc(), -1, 0, 0), nullptr);
    EXPECT_EQ(PaintDC(), inner.dc());
    SelectScreenFont(3, 12);
    EndScreenPaintDC();
  }
  EXPECT_EQ(PaintDC(), canvas_.dc());
  EXPECT_EQ(ActivePaintContext().font.get(), outer);
  EXPECT_EQ(GetCurrentObject(canvas_.dc(), OBJ_FONT), outer);
  EXPECT_EQ(LiveGdiObjects(), liveBefore_ + 1);
}

TEST_F(PaintContextTest, OriginFollowsTheScrollValues) {
  EndScreenPaintDC();
  ASSERT_NE(BeginScreenPaintDC(canvas_.dc(), 0, 20, 10), nullptr);
  DrawFrameLines(30, 30, 40, 40, 1, 2);
  EXPECT_EQ(canvas_.Pixel(10, 20), kRed);
  EXPECT_EQ(canvas_.Pixel(30, 30), kWhite);
}

TEST_F(PaintContextTest, LinesAndFrames) {
  DrawFrameLines(10, 10, 30, 30, 3, 2);
  EXPECT_EQ(canvas_.Pixel(10, 10), kRed);
  EXPECT_EQ(canvas_.Pixel(9, 9), kRed);
  EXPECT_EQ(canvas_.Pixel(11, 11), kRed);
  EXPECT_EQ(canvas_.Pixel(20, 12), kWhite);
  DrawFrameLines(50, 10, 70, 30, 1, 2);
  EXPECT_EQ(canvas_.Pixel(69, 30), kRed);
  EXPECT_EQ(canvas_.Pixel(70, 29), kRed);
  EXPECT_EQ(canvas_.Pixel(70, 30), kWhite);  // each line stops short
  DrawFrameLines(100, 10, 120, 30, 0, 2);
  EXPECT_EQ(canvas_.CountColor(90, 0, 130, 40, kRed), 0);

  DrawPaintLine(10, 50, 30, 50, 1, 1);
  EXPECT_EQ(canvas_.Pixel(29, 50), kBlue);
  EXPECT_EQ(canvas_.Pixel(30, 50), kBlue);  // the end pixel is set too

  DrawCross(nullptr, 200, 10, 219, 30, 1, 2);
  EXPECT_EQ(canvas_.Pixel(210, 20), kRed);
  EXPECT_EQ(canvas_.Pixel(200, 29), kWhite);
}

TEST_F(PaintContextTest, CirclesAndBoxes) {
  // A mark circle in a rectangle narrower than high spans centre +- radius.
  DrawPaintCircle(100, 10, 120, 50, 6, 3);
  int minX = 999, maxX = -1, minY = 999, maxY = -1;
  for (int y = 0; y < 60; ++y) {
    for (int x = 90; x < 130; ++x) {
      if (canvas_.Pixel(x, y) != kMagenta) continue;
      minX = std::min(minX, x);
      maxX = std::max(maxX, x);
      minY = std::min(minY, y);
      maxY = std::max(maxY, y);
    }
  }
  EXPECT_EQ(maxX - minX + 1, 12);
  EXPECT_EQ(maxY - minY + 1, 40);
  EXPECT_EQ(canvas_.Pixel(110, 30), kWhite);  // hollow
  DrawPaintCircle(140, 10, 160, 50, 6, 100);
  EXPECT_EQ(canvas_.Pixel(150, 30), kBlack);
  EXPECT_EQ(canvas_.Pixel(144, 30), kWhite);  // one pixel smaller each side

  SetPaintBrush(-1, 0);
  DrawCircleAt(200, 100, 10, 1, 0);
  EXPECT_EQ(canvas_.Pixel(200, 100), kLightGrey);
  SetPaintBrush(-2, 0);
  DrawCircleAt(250, 100, 10, 1, 0);
  EXPECT_EQ(canvas_.Pixel(250, 100), kWhite);

  SetPaintBrush(6, 4);
  DrawBox(10, 100, 30, 120, 0, 0);
  EXPECT_EQ(canvas_.Pixel(20, 110), kGreen);
  EXPECT_EQ(canvas_.Pixel(10, 110), kBlack);
  SetPaintBrush(-1, 0);

  DrawMarkBall(60, 150, 10, 1, 2);
  EXPECT_EQ(canvas_.Pixel(61, 151), kBlue);
  EXPECT_EQ(canvas_.Pixel(58, 148), kWhite);  // highlight
  EXPECT_EQ(canvas_.Pixel(62, 160), kBlack);  // shadow below-right

  DrawBannedMark(120, 150, 10, 3);
  EXPECT_EQ(canvas_.Pixel(124, 146), kMagenta);
  EXPECT_EQ(canvas_.Pixel(120, 150), kBlack);  // the bar through it
}

TEST_F(PaintContextTest, ThreeDimensionalEdges) {
  canvas_.Clear(RGB(0, 0, 128));
  struct Case {
    int type;
    COLORREF leftTop, rightBottom;
  };
  const Case cases[] = {
      {0, kEdgeGrey, kWhite},
      {1, kWhite, kEdgeGrey},
      {4, kWhite, RGB(130, 130, 130)},
  };
  int x = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    Draw3DEdge(x, 10, x + 30, 40, c.type);
    EXPECT_EQ(canvas_.Pixel(x, 25), c.leftTop);
    EXPECT_EQ(canvas_.Pixel(x + 15, 10), c.leftTop);
    EXPECT_EQ(canvas_.Pixel(x + 30, 25), c.rightBottom);
    EXPECT_EQ(canvas_.Pixel(x + 15, 40), c.rightBottom);
    x += 50;
  }
  Draw3DEdgeDark(200, 10, 230, 40, 0);
  EXPECT_EQ(canvas_.Pixel(200, 25), kBlack);
  EXPECT_EQ(canvas_.Pixel(230, 25), kWhite);
}

TEST_F(PaintContextTest, RulerTicks) {
  DrawRuler(10, 0, 200, 20, 10, 0);
  EXPECT_EQ(canvas_.Pixel(17, 17), kBlack);  // first tick: x = left - 2 + step - 1
  EXPECT_EQ(canvas_.Pixel(18, 17), kWhite);
  EXPECT_EQ(canvas_.Pixel(17, 12), kLightGrey);  // short tick
  EXPECT_EQ(canvas_.Pixel(57, 12), kBlack);      // every fifth tick is long
  EXPECT_EQ(canvas_.Pixel(30, 8), kLightGrey);
}

TEST_F(PaintContextTest, AWindowWithoutASlotPaintsAtTheOriginAndLeavesSlotsAlone) {
  Slot(0).scrollPosH = 40;
  Slot(0).scrollX = 7;
  const HWND window = NewWindow();
  SetWindowPos(window, nullptr, 0, 0, 50, 50, SWP_NOZORDER | SWP_SHOWWINDOW);
  UpdateWindow(window);
  EXPECT_EQ(Slot(0).scrollX, 7);
  // With a slot, the scroll positions become its scroll values.
  const HDC dc = BeginScreenPaint(window, 0);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(Slot(0).scrollX, 40);
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  EXPECT_EQ(origin.x, -40);
  EndScreenPaint();
}

}  // namespace
