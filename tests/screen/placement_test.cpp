// Window size and position codes, the screen size class and the scroll
// arithmetic: pure functions over fixed display metrics.
#include <gtest/gtest.h>

#include "screen/screen.h"
#include "tests/screen/screen_fixture.h"

namespace {

struct Placed {
  int x, y, width, height, contentWidth, contentHeight, windowWidth, windowHeight;
  bool operator==(const Placed& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height &&
           contentWidth == o.contentWidth && contentHeight == o.contentHeight &&
           windowWidth == o.windowWidth && windowHeight == o.windowHeight;
  }
};

std::ostream& operator<<(std::ostream& os, const Placed& p) {
  return os << "at " << p.x << "," << p.y << " size " << p.width << "x" << p.height
            << " content " << p.contentWidth << "x" << p.contentHeight << " window "
            << p.windowWidth << "x" << p.windowHeight;
}

Placed Place(const WindowPlacementRequest& r, const ScreenMetrics& m = TestMetrics()) {
  const WindowPlacement p = ComputeWindowPlacement(r, m);
  return Placed{p.x,           p.y,           p.width,       p.height,
                p.contentWidth, p.contentHeight, p.windowWidth, p.windowHeight};
}

WindowPlacementRequest Request(int x, int y, int width, int height) {
  WindowPlacementRequest r;
  r.x = x;
  r.y = y;
  r.width = width;
  r.height = height;
  r.itemRight = 400;
  r.itemBottom = 300;
  return r;
}

TEST(WindowPlacement, PositionAndSizeCodes) {
  struct Case {
    const char* what;
    WindowPlacementRequest request;
    Placed want;
  };
  WindowPlacementRequest list = Request(-2, -2, 0, 0);
  list.listMode = 2;
  WindowPlacementRequest mouse = Request(-7, 0, 100, 98);
  mouse.mouseX = 1000;
  mouse.mouseY = 30;
  WindowPlacementRequest image = Request(0, 0, 0, 0);
  image.imageWidth = 300;
  image.imageHeight = 200;
  const Case cases[] = {
      {"full screen at 0,0", Request(-5, -5, -5, -5), {0, 0, 1024, 760, 1024, 760, 1024, 760}},
      {"wider than the screen: scroll bar room, then clamped to x 0", Request(10, 10, 1200, 300),
       {0, 10, 1024, 317, 1200, 301, 1200, 317}},
      {"sized from the items, centred, list scroll bar", list,
       {292, 205, 440, 350, 440, 350, 440, 350}},
      {"right and bottom, moved up to the clamp height", Request(-3, -4, 100, 100),
       {922, 639, 100, 101, 100, 101, 100, 101}},
      {"at the mouse, vertically centred and kept on screen", mouse,
       {924, 0, 100, 99, 100, 99, 100, 99}},
      {"zero size", Request(0, 0, -6, -6), {0, 0, 0, 0, 0, 0, 0, 0}},
      {"beside the screen on the right is moved back", Request(-12, 0, 100, 100),
       {924, 0, 100, 101, 100, 101, 100, 101}},
      {"beside the screen on the left stays", Request(-11, 0, 100, 100),
       {-1024, 0, 100, 101, 100, 101, 100, 101}},
      {"taller than the placing height: width for the scroll bar", Request(0, 50, 200, 900),
       {0, 0, 216, 760, 200, 901, 216, 901}},
      {"sized to its background image", image, {0, 0, 300, 201, 300, 201, 300, 201}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Place(c.request), c.want);
  }
  ScreenMetrics smallCaption = TestMetrics();
  smallCaption.captionHeight = 19;
  EXPECT_EQ(Place(Request(0, 0, 100, 100), smallCaption).height, 100);
}

TEST(WindowPlacement, HeightPlus30GrowsOnlyThatWindow) {
  const ScreenMetrics m = TestMetrics();
  for (int open = 0; open < 2; ++open) {
    SCOPED_TRACE(open);
    const WindowPlacement p = ComputeWindowPlacement(Request(0, -2, -5, -8), m);
    EXPECT_EQ(p.height, 790);
    EXPECT_EQ(p.placingHeight, 790);
    EXPECT_EQ(p.y, 0);
  }
  EXPECT_EQ(m.placingHeight, 760);
}

TEST(WindowPlacement, ScreenSizeClass) {
  const int widths[] = {320, 640, 800, 1024, 1152, 1280, 1600, 1920};
  const int classes[] = {1, 1, 2, 3, 6, 4, 5, 6};
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(ScreenSizeClassForWidth(widths[k]), classes[k]) << widths[k];
  }
}

TEST(ScrollArithmetic, MovesByLinePageAndThumb) {
  struct Case {
    const char* what;
    int request, thumb, position, maximum, line, page;
    int wantPosition, wantDelta;
  };
  const Case cases[] = {
      {"page right stops at the maximum", SB_PAGEDOWN, 0, 90, 100, 10, 30, 100, -10},
      {"line right", SB_LINEDOWN, 0, 10, 100, 5, 30, 15, -5},
      {"page left stops at 0", SB_PAGEUP, 0, 20, 100, 10, 30, 0, 20},
      {"line left from 0 stays", SB_LINEUP, 0, 0, 100, 10, 30, 0, 0},
      {"thumb", SB_THUMBPOSITION, 40, 10, 100, 10, 30, 40, -30},
      {"end of scroll changes nothing", SB_ENDSCROLL, 0, 10, 100, 10, 30, 10, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ScrollMove m = ComputeScrollMove(c.request, c.thumb, c.position, c.maximum, c.line, c.page);
    EXPECT_EQ(m.position, c.wantPosition);
    EXPECT_EQ(m.delta, c.wantDelta);
  }
}

TEST(ScrollArithmetic, SnapsToWholeLines) {
  EXPECT_EQ(SnapScrollPosition(36, 25), 25);
  EXPECT_EQ(SnapScrollPosition(37, 25), 50);  // half the step goes up
  EXPECT_EQ(SnapScrollPosition(50, 25), 50);
  // A line step below 1 (maximum smaller than the line count) leaves the
  // position alone instead of dividing by zero.
  EXPECT_EQ(SnapScrollPosition(10, 0), 10);
  EXPECT_EQ(SnapScrollPosition(3, -1), 3);
}

}  // namespace
