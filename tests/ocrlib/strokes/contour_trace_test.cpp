// Contour tracing and contour polygons: rings against an independent count
// of components and holes, ring consistency, the small contour kinds, the
// polygons of the polygon steps, and the bitmap helpers around them.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

using penkit::BitImage;
using penkit::Figure;

// Components counted by flood fill on the image padded with white: black
// 8-connected components of two pixels or more (a lone pixel makes no
// contour), and white 4-connected regions enclosed by black, one-pixel ones
// excepted (the tracer fills them).
struct ComponentCount {
  int outer = 0, holes = 0;
};

ComponentCount CountComponents(const BitImage& image) {
  const int w = image.width() + 2, h = image.height() + 2;
  auto black = [&](int x, int y) { return image.Get(x - 1, y - 1); };
  std::vector<int> seen(static_cast<size_t>(w) * h, 0);
  ComponentCount count;
  std::vector<std::pair<int, int>> stack;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (seen[y * w + x]) continue;
      const bool colour = black(x, y);
      const int reach = colour ? 1 : 0;  // 8- or 4-connectivity
      int size = 0;
      bool touchesEdge = false;
      stack.assign(1, {x, y});
      seen[y * w + x] = 1;
      while (!stack.empty()) {
        const auto [px, py] = stack.back();
        stack.pop_back();
        ++size;
        touchesEdge |= px == 0 || py == 0 || px == w - 1 || py == h - 1;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            if ((dx && dy && !reach) || (!dx && !dy)) continue;
            const int qx = px + dx, qy = py + dy;
            if (qx < 0 || qy < 0 || qx >= w || qy >= h || seen[qy * w + qx]) continue;
            if (black(qx, qy) != colour) continue;
            seen[qy * w + qx] = 1;
            stack.push_back({qx, qy});
          }
      }
      if (colour && size >= 2) ++count.outer;
      if (!colour && !touchesEdge && size >= 2) ++count.holes;
    }
  return count;
}

ComponentCount CountContours(const ContourSet& c) {
  ComponentCount count;
  for (int i = 0; i < c.contours.count; ++i) {
    const uint16_t kind = c.contours.items[i].kind;
    if (kind == kContourOuter || kind == kContourSmallCrossedOuter) ++count.outer;
    else ++count.holes;
  }
  return count;
}

// Every ring closes after exactly its point count, with prev and next
// agreeing, and every point belongs to the contour that owns the ring.
void ExpectClosedRings(const ContourSet& c) {
  int total = 0;
  for (int i = 0; i < c.contours.count; ++i) {
    const Contour& contour = c.contours.items[i];
    const ContourPoint* p = contour.first;
    for (int n = 0; n < contour.pointCount; ++n) {
      ASSERT_NE(p->next, nullptr);
      ASSERT_EQ(p->next->prev, p);
      ASSERT_EQ(p->owner, &contour);
      p = p->next;
    }
    ASSERT_EQ(p, contour.first);
    total += contour.pointCount;
  }
  EXPECT_EQ(total, c.points.count);
}

TEST(ContourTrace, RingsMatchComponentsAndHoles) {
  struct Case {
    const char* what;
    Figure figure;
    double pen;
    int outer, holes;
  };
  const Case cases[] = {
      {"bar", Figure().Line({5, 5}, {5, 40}), 4, 1, 0},
      {"ring", Figure().Circle({25, 25}, 15), 4, 1, 1},
      {"eight", Figure().Circle({25, 15}, 10).Circle({25, 38}, 12), 3, 1, 2},
      {"two bars", Figure().Line({5, 5}, {5, 40}).Line({20, 5}, {20, 40}), 3, 2, 0},
      {"thin ring", Figure().Circle({20, 20}, 12), 1, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BitImage image = penkit::Draw(c.figure, c.pen);
    penkit::StrokeRun run = penkit::RunSteps(image, {4}, false);
    const ComponentCount got = CountContours(run.contours());
    EXPECT_EQ(got.outer, c.outer);
    EXPECT_EQ(got.holes, c.holes);
    ExpectClosedRings(run.contours());
  }
}

TEST(ContourTrace, RandomImagesTraceOneRingPerComponentAndHole) {
  std::mt19937 rng(17);
  for (int i = 0; i < 300; ++i) {
    SCOPED_TRACE(i);
    BitImage image(4 + rng() % 40, 4 + rng() % 40);
    const int density = 10 + rng() % 60;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (static_cast<int>(rng() % 100) < density) image.Set(x, y);
    if (image.BlackCount() == 0) continue;
    penkit::StrokeRun run = penkit::RunSteps(image, {4}, false);
    if (run.extraction == -9) continue;  // more than 4000 contour points
    const ComponentCount want = CountComponents(image);
    const ComponentCount got = CountContours(run.contours());
    EXPECT_EQ(got.outer, want.outer);
    EXPECT_EQ(got.holes, want.holes);
    ExpectClosedRings(run.contours());
  }
}

TEST(ContourTrace, OnePixelHoleIsFilledAndSmallContoursGetTheirKinds) {
  struct Case {
    const char* what;
    std::initializer_list<const char*> rows;
    std::vector<uint16_t> kinds;
  };
  const Case cases[] = {
      {"one-pixel hole", {"###", "#.#", "###"}, {kContourOuter}},
      {"two-pixel hole", {"####", "#..#", "####"}, {kContourOuter, kContourSmallHole}},
      {"one-pixel line", {"####"}, {kContourSmallCrossedOuter}},
      {"lone pixel", {"#"}, {}},
      {"large hole", {"######", "#....#", "#....#", "#....#", "######"},
       {kContourOuter, kContourHole}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BitImage image = penkit::FromRows(c.rows);
    penkit::StrokeRun run = penkit::RunSteps(image, {4}, false);
    std::vector<uint16_t> kinds;
    for (int i = 0; i < run.contours().contours.count; ++i)
      kinds.push_back(run.contours().contours.items[i].kind);
    EXPECT_EQ(kinds, c.kinds);
  }
}

TEST(ContourPolygons, EveryRingBecomesAClosedPolygonNearTheOutline) {
  const Figure figure = Figure().Circle({30, 30}, 20).Line({30, 50}, {55, 70});
  BitImage image = penkit::Draw(figure, 6);
  penkit::StrokeRun run = penkit::RunSteps(image, {4}, false);
  ASSERT_EQ(run.extraction, 0);
  const StrokePointTable& t = run.points();
  ASSERT_GE(t.points.count, 6);
  for (int i = 0; i < t.points.count; ++i) {
    const StrokePoint& p = t.points.items[i];
    EXPECT_EQ(p.degree, 2);
    ASSERT_NE(p.sourcePoint, nullptr);
    EXPECT_EQ(p.sourcePair, nullptr);
    EXPECT_EQ(p.x, p.sourcePoint->x);
    EXPECT_EQ(p.y, -p.sourcePoint->y);  // y turned upward
  }
  // Every contour point lies within the tolerance (at most 4 pixels) of an
  // edge of its polygon.
  for (int i = 0; i < run.contours().points.count; ++i) {
    const ContourPoint& c = run.contours().points.items[i];
    double best = 1e9;
    for (int k = 0; k < t.points.count; ++k) {
      const StrokePoint& a = t.points.items[k];
      const StrokePoint& b = t.points.items[a.neighbours[0]];
      const double ax = a.x, ay = -a.y, bx = b.x, by = -b.y;
      const double dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy;
      double s = l2 > 0 ? ((c.x - ax) * dx + (c.y - ay) * dy) / l2 : 0;
      s = s < 0 ? 0 : s > 1 ? 1 : s;
      best = std::min(best, std::hypot(c.x - (ax + s * dx), c.y - (ay + s * dy)));
    }
    EXPECT_LE(best, 4.0) << "contour point " << c.x << "," << c.y;
  }
}

TEST(ContourPolygons, SmallContourKindsMakeNoPolygonAndBlankGivesNoStroke) {
  BitImage line = penkit::FromRows({"#####"});
  penkit::StrokeRun run = penkit::RunSteps(line, {4}, false);
  EXPECT_EQ(run.extraction, -1);  // kind 2 only: no live point
  EXPECT_EQ(run.points().refSize, 1);
  EXPECT_EQ(run.points().width, 1);
  EXPECT_EQ(run.points().height, 1);
}

TEST(StrokeExtraction, PolygonStepReusesContoursAndThickenedStepsTraceAgain) {
  BitImage image = penkit::Draw(Figure().Line({5, 5}, {25, 45}), 3);
  penkit::StrokeRun run = penkit::RunSteps(image, {4, 0, 1}, false);
  ASSERT_EQ(run.extraction, 0);
  const int traced = run.contours().points.count;
  // Step 2 after the thinned step 1 thickens the 3-pixel strokes (mean width
  // 3: one dilation) and traces the longer outline again.
  run.steps.steps[run.steps.count++] = 2;
  ResetStrokeNodeCounts(&run.points());
  EXPECT_EQ(RunStrokeExtraction(&run.steps, &run.map, &run.contours(), &run.points()), 0);
  EXPECT_GT(run.contours().points.count, traced);
  // Step 3 after step 2 leaves the map as it is.
  const std::vector<uint8_t> before = run.mapBytes;
  run.steps.steps[run.steps.count++] = 3;
  ResetStrokeNodeCounts(&run.points());
  RunStrokeExtraction(&run.steps, &run.map, &run.contours(), &run.points());
  EXPECT_EQ(run.mapBytes, before);
}

TEST(StrokeExtraction, FullContourSetIsNotReusedAndItsReasonIsReported) {
  BitImage image = penkit::Draw(Figure().Line({5, 5}, {25, 45}), 3);
  penkit::StrokeRun run = penkit::RunSteps(image, {4}, false);
  run.contours().points.count = run.contours().points.capacity;
  ClearErrorStack();
  run.steps.steps[run.steps.count++] = 0;
  ResetStrokeNodeCounts(&run.points());
  EXPECT_EQ(RunStrokeExtraction(&run.steps, &run.map, &run.contours(), &run.points()), -9);
  EXPECT_EQ(g_errorStack.codes[0], kErrCapacityFull);
}

TEST(StrokeExtraction, MorphologyKeepsNeighbourBitsTrue) {
  BitImage image = penkit::FromRows({"......", ".##...", ".#.#..", "......"});
  penkit::StrokeRun run = penkit::RunSteps(image, {}, false);
  auto blackCount = [&run] {
    int n = 0;
    for (uint8_t v : run.mapBytes) n += v & kMapBlack;
    return n;
  };
  // 4 black pixels in a window of two rows: dilation adds the 5 white
  // 4-neighbours inside the window; erosion then clears everything, as every
  // pixel has a white neighbour above or below it.
  const int expectedBlack[2] = {9, 0};
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    ASSERT_EQ(pass ? ErodeNeighbourMap(&run.map) : DilateNeighbourMap(&run.map), 0);
    EXPECT_EQ(blackCount(), expectedBlack[pass]);
    const NeighbourMap& m = run.map;  // the window inside the margin
    for (int y = m.margin; y < m.height - m.margin; ++y)
      for (int x = m.margin; x < m.width - m.margin; ++x) {
        const uint8_t v = m.bytes[y * m.width + x];
        auto black = [&m](int px, int py) { return m.bytes[py * m.width + px] & kMapBlack; };
        EXPECT_EQ(!!(v & kMapBelow), !!black(x, y + 1));
        EXPECT_EQ(!!(v & kMapRight), !!black(x + 1, y));
        EXPECT_EQ(!!(v & kMapLeft), !!black(x - 1, y));
        EXPECT_EQ(!!(v & kMapAbove), !!black(x, y - 1));
      }
  }
}

TEST(NeighbourMap, PlacesPixelsWithTheirNeighbourBits) {
  // Ink at columns 9..10 of rows 1..2; the rectangle starts at column 9, so
  // the map's first byte column is 8 and column 9 lands at map column 3.
  BitImage image = penkit::FromRows({"................", ".........##.....",
                                     "........###.....", "................"});
  std::vector<uint8_t> map(64 * 64, 0xAA);
  int w = 0, h = 0;
  ASSERT_EQ(BuildNeighbourMap(image.bits().data(), 9, 10, 1, 2, image.bytesPerLine(), map.data(),
                              &w, &h),
            0);
  EXPECT_EQ(w, 12);  // one byte column: 8 + 4
  EXPECT_EQ(h, 6);   // 2 rows + 4
  auto at = [&](int x, int y) { return map[y * w + x]; };
  EXPECT_EQ(at(2, 3), kMapRight);  // column 8 of row 2: outside the rectangle
  EXPECT_EQ(at(3, 2), kMapBlack | kMapRight | kMapBelow);
  EXPECT_EQ(at(4, 3), kMapBlack | kMapLeft | kMapAbove);
  EXPECT_EQ(at(3, 1), kMapBelow);
  EXPECT_EQ(at(5, 3), kMapLeft);
  EXPECT_EQ(at(3, 4), kMapAbove);
  EXPECT_EQ(at(0, 0), 0);

  // Too large: 6001, nothing written; bottom < top: sizes only.
  ClearErrorStack();
  std::vector<uint8_t> untouched(16, 0x55);
  EXPECT_EQ(BuildNeighbourMap(image.bits().data(), 0, 999, 0, 999, image.bytesPerLine(),
                              untouched.data(), &w, &h),
            -9);
  EXPECT_EQ(g_errorStack.codes[0], kErrNeighbourMap);
  EXPECT_EQ(untouched, std::vector<uint8_t>(16, 0x55));
  EXPECT_EQ(BuildNeighbourMap(image.bits().data(), 0, 15, 5, 4, image.bytesPerLine(),
                              untouched.data(), &w, &h),
            0);
  EXPECT_EQ(h, 4);
  EXPECT_EQ(untouched, std::vector<uint8_t>(16, 0x55));
}

TEST(BitmapHelpers, ClearBitmapMarginAndScanBitRun) {
  std::vector<uint8_t> bytes(6 * 5, 0xFF);
  NeighbourMap map{bytes.data(), 6, 5, 2};
  ClearBitmapMargin(&map);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(bytes[y * 6 + x], (y == 2 && (x == 2 || x == 3)) ? 0xFF : 0) << x << "," << y;

  struct Case {
    const char* what;
    std::vector<uint8_t> row;
    int first, last, capacity;
    std::vector<int16_t> runs;
    int result;
  };
  const Case cases[] = {
      {"two runs", {0b01100011, 0b10000000}, 0, 15, 8, {1, 2, 0, 6, 8, 0}, 0},
      {"clipped to the range", {0xFF, 0xFF}, 3, 9, 8, {0, 6, 0}, 0},
      {"full at capacity", {0b10101010}, 0, 7, 2, {0, 0, 0, 2, 2, 0}, -1},
      {"empty", {0x00}, 0, 7, 4, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int16_t runs[3 * 8];
    uint16_t count = 99;
    EXPECT_EQ(ScanBitRun(c.row.data(), static_cast<int16_t>(c.first),
                         static_cast<int16_t>(c.last), runs, &count, c.capacity),
              c.result);
    EXPECT_EQ(std::vector<int16_t>(runs, runs + 3 * count), c.runs);
  }
}

}  // namespace
