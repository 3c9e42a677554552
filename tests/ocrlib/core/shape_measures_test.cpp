// The 256-unit character frame and the segment measures the shape checks
// share, on hand-laid stroke points with worked-out values.
#include <gtest/gtest.h>

#include <vector>

#include "ocrlib/core/core_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

using penkit::HandGraph;
using Polyline = std::vector<std::pair<int, int>>;

// The points of a polyline, consecutive ones linked.
void LayPolyline(HandGraph& g, const Polyline& points) {
  for (size_t i = 0; i < points.size(); ++i) {
    g.Point(points[i].first, points[i].second);
    if (i) g.Link(static_cast<int>(i) - 1, static_cast<int>(i));
  }
}

TEST(CharFrame, LongerSideSpansTheFrameAndTheOtherIsCentred) {
  // Each box drawn as an L (y down as drawn, y up once finished), and two of
  // its points (finished coordinates) with their frame positions.
  struct Probe {
    int x, y, frameX, frameY;
  };
  struct Case {
    const char* what;
    Polyline chain;
    CharFrame frame;  // size, offsetX, offsetY, originX, originY
    Probe probes[2];
  };
  const Case cases[] = {
      // offsetY (50 + 50 x 128) / 100 = 64; the lowest point, then the highest
      {"100 wide, 50 tall", {{0, 0}, {100, 0}, {100, 50}}, {100, 0, 64, 0, -50},
       {{100, -50, 256, 64}, {0, 0, 0, 192}}},
      // offsetX (50 + 50 x 128) / 100 = 64; lower left, upper right
      {"50 wide, 100 tall", {{0, 0}, {0, 100}, {50, 100}}, {100, 64, 0, 0, -100},
       {{0, -100, 64, 0}, {50, 0, 192, 256}}},
      // offsetX (30 + 15 x 128) / 60 = 32
      {"45 wide, 60 tall", {{0, 0}, {0, 60}, {45, 60}}, {60, 32, 0, 0, -60},
       {{0, -60, 32, 0}, {45, 0, 224, 256}}},
      // offsetX (1 + 3 x 128) / 3 = 128
      {"no width, 3 tall", {{5, 0}, {5, 3}}, {3, 128, 0, 5, -3},
       {{5, -3, 128, 0}, {5, 0, 128, 256}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HandGraph g;
    LayPolyline(g, c.chain);
    ASSERT_EQ(g.Finish(), 0);
    CharFrame f;
    ASSERT_EQ(ComputeCharFrame(&g.points(), &f), 0);
    EXPECT_EQ(f.size, c.frame.size);
    EXPECT_EQ(f.offsetX, c.frame.offsetX);
    EXPECT_EQ(f.offsetY, c.frame.offsetY);
    EXPECT_EQ(f.originX, c.frame.originX);
    EXPECT_EQ(f.originY, c.frame.originY);
    for (const Probe& p : c.probes) {
      int32_t x, y;
      NormalizePointToBox(&f, p.x, p.y, &x, &y);
      EXPECT_EQ(x, p.frameX);
      EXPECT_EQ(y, p.frameY);
    }
  }
}

TEST(CharFrame, NoFrameWithoutTwoLivePointsApart) {
  struct Case {
    const char* what;
    Polyline points;
  };
  const Case cases[] = {
      {"two points at one place", {{7, 7}, {7, 7}}},
      {"a lone linked pair deleted", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HandGraph g;
    LayPolyline(g, c.points);
    g.Finish();
    CharFrame f{9, 9, 9, 9, 9};
    EXPECT_EQ(NormalizeStrokeFrame(&g.steps, &g.points(), &f, &g.graph(), &g.nodes()), -1);
    EXPECT_EQ(f.size, 1);
    EXPECT_EQ(f.offsetX, 0);
    EXPECT_EQ(f.offsetY, 0);
    EXPECT_EQ(f.originX, 0);
    EXPECT_EQ(f.originY, 0);
  }
}

TEST(SegmentFeatures, StraightStrokesGetCentreHalfSizeAndChord) {
  // Two separate straight strokes: a vertical one from (10, 10) to (10, 60)
  // and a horizontal one from (20, 60) to (70, 60). Box 60 x 50: size 60,
  // offsetY (30 + 10 x 128) / 60 = 21.
  HandGraph g;
  g.Chain({{10, 10}, {10, 35}, {10, 60}});
  g.Chain({{20, 60}, {45, 60}, {70, 60}});
  ASSERT_EQ(g.Finish(), 0);
  ASSERT_EQ(g.Analyse(), 0);
  EXPECT_EQ(g.store->frame.size, 60);
  EXPECT_EQ(g.store->frame.offsetY, 21);
  struct Want {
    int kind, subKind, centreX, centreY, firstX, firstY, secondX, secondY, sizeX, sizeY;
  };
  // Vertical: centre (10, -35) -> (0, 21 + 6430 / 60); half size (0, 213 / 2);
  // chord from its lowest point up (its words run bottom to top).
  // Horizontal: centre (45, -60) -> ((30 + 35 x 256) / 60, 21).
  const Want want[] = {{1, 2, 0, 128, 0, 0, 0, 106, 0, 50}, {1, 0, 149, 21, 0, 0, 106, 0, 50, 0}};
  ASSERT_EQ(g.graph().groups.count, 2);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    const StrokeSegment& s = *g.graph().groups.items[i].firstSegment;
    const Want& w = want[i];
    EXPECT_EQ(s.kind, w.kind);
    EXPECT_EQ(s.subKind, w.subKind);
    EXPECT_EQ(s.centreX, w.centreX);
    EXPECT_EQ(s.centreY, w.centreY);
    EXPECT_EQ(s.firstX, w.firstX);
    EXPECT_EQ(s.firstY, w.firstY);
    EXPECT_EQ(s.secondX, w.secondX);
    EXPECT_EQ(s.secondY, w.secondY);
    EXPECT_EQ(s.sizeX, w.sizeX);
    EXPECT_EQ(s.sizeY, w.sizeY);
  }
}

TEST(ChordDeviation, SignWeightAndLargeCharacters) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> points;  // y up, as the points hold them
    int weighted;
    int32_t deviation, dx, dy;
  };
  const Case cases[] = {
      {"straight", {{0, 0}, {0, 40}, {0, 100}}, 0, 0, 0, 0},
      {"bulge right of the way up", {{0, 0}, {5, 50}, {0, 100}}, 0, 1280, 1280, 0},
      // (-300 x 65536 + 12800) / 25600 truncates toward zero.
      {"bulge left", {{0, 0}, {-3, 50}, {0, 100}}, 1, -767, -768, 0},
      {"bulge at the very end, unweighted", {{0, 0}, {5, 1}, {0, 50}, {0, 100}}, 0, 1280, 1280, 0},
      {"bulge at the very end weighs nothing", {{0, 0}, {5, 1}, {0, 50}, {0, 100}}, 1, 0, 0, 0},
      // 600 dpi: cross x 65536 passes 32 bits.
      {"long chord", {{0, 0}, {200, 1500}, {0, 3000}}, 0, 51200, 51200, 0},
      {"chord of no length", {{4, 4}, {9, 9}, {4, 4}}, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HandGraph g;
    std::vector<uint16_t> list;
    for (auto [x, y] : c.points) list.push_back(static_cast<uint16_t>(g.Point(x, y)));
    int32_t dx = 7, dy = 7;
    EXPECT_EQ(MeasureChordDeviation(&g.points(), list.data(), static_cast<int>(list.size()), &dx,
                                    &dy, c.weighted),
              c.deviation);
    EXPECT_EQ(dx, c.dx);
    EXPECT_EQ(dy, c.dy);
  }
}

TEST(SegmentFeatures, MissingPiecesAndUnmatchedFeaturePointsAreSkipped) {
  HandGraph g;
  g.Chain({{0, 0}, {30, 0}, {30, 40}});
  ASSERT_EQ(g.Finish(), 0);
  ASSERT_EQ(g.Analyse(), 0);
  StrokeSegment empty;
  int32_t cx = 1, cy = 1, w = 1, h = 1;
  MeasureSegmentBox(&g.points(), &g.store->frame, &empty, &cx, &cy, &w, &h);
  EXPECT_EQ(cx, 0);
  EXPECT_EQ(w, 0);
  FeaturePoint* mark = AllocStrokeMark(&g.nodes());
  ASSERT_NE(mark, nullptr);  // edge a -1: no junction to place it at
  EXPECT_EQ(NormalizeStrokeFrame(&g.steps, &g.points(), &g.store->frame, &g.graph(), &g.nodes()),
            0);
  EXPECT_EQ(mark->x, 0);
  EXPECT_EQ(mark->y, 0);
}

}  // namespace
