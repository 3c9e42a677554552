// The point graph: capacities, linking and merging, chain tracing, the state
// saved after extraction, and the two retries that join stroke ends.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

using penkit::HandGraph;

std::vector<int> Neighbours(const StrokePointTable& t, int a) {
  const StrokePoint& p = t.points.items[a];
  return std::vector<int>(p.neighbours, p.neighbours + (p.degree > 0 ? p.degree : 0));
}

TEST(PointGraph, FullArraysReportCapacityAndKeepTheirCounts) {
  HandGraph g;
  for (int i = 0; i < kMaxStrokePoints; ++i) ASSERT_EQ(g.Point(i % 20, i / 20), i);
  ClearErrorStack();
  EXPECT_EQ(g.Point(0, 0), -9);
  EXPECT_EQ(g_errorStack.codes[0], kErrCapacityFull);
  EXPECT_EQ(g.points().points.count, kMaxStrokePoints);

  for (int k = 1; k <= kMaxPointNeighbours; ++k)
    ASSERT_EQ(LinkStrokePoints(&g.points(), 0, k), 0);
  ClearErrorStack();
  EXPECT_EQ(AddStrokeNeighbour(&g.points(), 0, 9), -9);
  EXPECT_EQ(g_errorStack.codes[0], kErrCapacityFull);
  EXPECT_EQ(g.points().points.items[0].degree, kMaxPointNeighbours);
  // A neighbour already listed is not added again and costs no room.
  EXPECT_EQ(AddStrokeNeighbour(&g.points(), 0, 3), 0);
}

TEST(PointGraph, MergeMovesLinksAndDeleteUnlinks) {
  HandGraph g;
  const int a = g.Point(0, 0), b = g.Point(5, 0), c = g.Point(10, 0), d = g.Point(5, 5);
  g.Link(a, b);
  g.Link(b, c);
  g.Link(b, d);
  ASSERT_EQ(MergeStrokePoints(&g.points(), a, b), 0);
  const StrokePointTable& t = g.points();
  EXPECT_EQ(Neighbours(t, a), (std::vector<int>{c, d}));
  EXPECT_EQ(Neighbours(t, c), (std::vector<int>{a}));
  EXPECT_EQ(Neighbours(t, d), (std::vector<int>{a}));
  EXPECT_EQ(t.points.items[b].kind, kPointDeleted);
  EXPECT_EQ(t.points.items[b].degree, -1);

  ReplaceStrokeNeighbour(&g.points(), a, c, b);
  EXPECT_EQ(Neighbours(t, a), (std::vector<int>{b, d}));
  DeleteStrokePoint(&g.points(), d);
  EXPECT_EQ(Neighbours(t, a), (std::vector<int>{b}));
}

TEST(PointGraph, ChainsRunThroughDegreeTwoPoints) {
  HandGraph g;
  // An open chain ending at a fork, and a separate ring of four points.
  const std::vector<int> open = g.Chain({{0, 0}, {3, 4}, {3, 10}, {6, 14}});
  const int fork = open.back();
  g.Link(fork, g.Point(9, 14));
  g.Link(fork, g.Point(6, 20));
  const std::vector<int> ring = g.Chain({{20, 0}, {25, 0}, {25, 5}, {20, 5}});
  g.Link(ring.back(), ring.front());
  StrokePointTable& t = g.points();

  ASSERT_EQ(TraceStrokeChain(&t, open.front(), 0), 0);
  EXPECT_EQ(std::vector<int>(t.chain.items, t.chain.items + t.chain.count), open);
  EXPECT_EQ(t.chainClosed, 0);
  EXPECT_EQ(ChainLength(&t), 1280 + 1536 + 1280);  // 5, 6 and 5 pixels
  const ChainExtentInfo e = ChainExtent(&t);
  EXPECT_EQ(e.extentX, 6);
  EXPECT_EQ(e.extentY, 14);
  EXPECT_EQ(e.centreX, 3);  // (6 + 0 + 1) / 2
  EXPECT_EQ(e.centreY, 7);

  ASSERT_EQ(TraceStrokeChain(&t, ring[1], 1), 0);
  EXPECT_EQ(t.chainClosed, 1);
  EXPECT_EQ(std::vector<int>(t.chain.items, t.chain.items + t.chain.count),
            (std::vector<int>{ring[1], ring[2], ring[3], ring[0], ring[1]}));
}

TEST(PointGraph, FinishTurnsYUpwardAndSavesTheState) {
  HandGraph g;
  const int junction = g.Point(10, 10);
  const int up = g.Point(10, 4), right = g.Point(16, 10), down = g.Point(10, 16),
            left = g.Point(4, 10);
  for (int p : {right, down, up, left}) g.Link(junction, p);
  const int dead = g.Point(0, 0);
  g.points().points.items[dead].kind = kPointDeleted;
  ASSERT_EQ(g.Finish(), 0);
  const StrokePointTable& t = g.points();
  const StrokePoint& j = t.points.items[junction];
  EXPECT_EQ(j.y, -10);
  EXPECT_EQ(j.savedY, -10);
  EXPECT_EQ(t.points.items[dead].degree, -1);
  EXPECT_EQ(t.extractedCount, 6);
  EXPECT_EQ(t.width, 12);
  EXPECT_EQ(t.height, 12);
  EXPECT_EQ(t.refSize, 12);
  // Thinned steps list neighbours by ascending bearing: down (-180), left
  // (-90), up (0), right (90); the saved list too.
  EXPECT_EQ(Neighbours(t, junction), (std::vector<int>{down, left, up, right}));
  EXPECT_EQ(j.savedNeighbours[0], down);
  EXPECT_EQ(j.savedNeighbours[3], right);

  HandGraph blank;
  EXPECT_EQ(blank.Finish(), -1);
  EXPECT_EQ(blank.points().refSize, 1);
  EXPECT_EQ(blank.points().width, 1);
  EXPECT_EQ(blank.points().height, 1);
}

TEST(PointGraph, JoinNearestStrokeEndsWithinAFifthOfTheSize) {
  // Two vertical strokes of a character 10 pixels tall whose facing ends are
  // 1 or 2 pixels apart: 5 x 256 < 10 x 256 joins, 5 x 512 does not.
  for (int gap : {1, 2}) {
    SCOPED_TRACE(gap);
    HandGraph g;
    const std::vector<int> upper = g.Chain({{0, 0}, {0, 4}});
    const std::vector<int> lower = g.Chain({{0, 4 + gap}, {0, 10}});
    ASSERT_EQ(g.Finish(), 0);
    ASSERT_EQ(g.points().refSize, 10);
    int32_t done = -1;
    ASSERT_EQ(JoinNearestStrokeEnds(&g.points(), &done), 0);
    EXPECT_EQ(done, gap == 1 ? 1 : 0);
    EXPECT_EQ(FindStrokeNeighbour(&g.points(), upper[1], lower[0]), gap == 1 ? 1 : 0);
  }
}

TEST(PointGraph, JoinAlignedStrokeEndsJoinsTheEndsThatContinueEachOther) {
  // Straight strokes of a character of size 40 (image rows): a vertical
  // stroke broken by a gap, and a stroke beside it whose end lies nearer the
  // break but points across it.
  struct Stroke {
    int x0, y0, x1, y1;
  };
  struct Case {
    const char* what;
    Stroke upper, lower;
    std::vector<Stroke> beside;
    bool joined;  // the broken stroke's two facing ends
  };
  const std::vector<Case> cases = {
      {"a gap of a quarter of the size, along both strokes", {10, 0, 10, 14}, {10, 24, 10, 40},
       {}, true},
      {"the aligned pair rather than a nearer crooked one", {10, 0, 10, 14}, {10, 24, 10, 40},
       {{30, 16, 14, 16}}, true},
      {"side by side: the gap turns away from both", {10, 0, 10, 20}, {16, 20, 16, 40}, {},
       false},
      {"a gap of a third of the size", {10, 0, 10, 10}, {10, 24, 10, 40}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HandGraph g;
    auto draw = [&g](const Stroke& s) {
      const int a = g.Point(s.x0, s.y0), b = g.Point(s.x1, s.y1);
      g.Link(a, b);
      return std::pair{a, b};
    };
    const int upperEnd = draw(c.upper).second, lowerEnd = draw(c.lower).first;
    for (const Stroke& s : c.beside) draw(s);
    ASSERT_EQ(g.Finish(), 0);
    ASSERT_EQ(g.points().refSize, 40);
    int32_t done = -1;
    ASSERT_EQ(JoinAlignedStrokeEnds(&g.points(), &done), 0);
    EXPECT_EQ(FindStrokeNeighbour(&g.points(), upperEnd, lowerEnd), c.joined ? 1 : 0);
    EXPECT_EQ(done, c.joined ? 1 : 0);
  }
}

}  // namespace
