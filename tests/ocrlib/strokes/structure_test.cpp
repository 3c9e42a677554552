// Stroke structure analysis: segments and their codes for drawn strokes,
// rings, junction nodes with their pairing, branch ends and feature points,
// noise chains, and the refusal of a chain that doubles back.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

using penkit::BitImage;
using penkit::Figure;

struct Code {
  int kind, subKind;
  bool operator==(const Code& o) const { return kind == o.kind && subKind == o.subKind; }
};

std::ostream& operator<<(std::ostream& os, const Code& c) {
  return os << c.kind << "/" << c.subKind;
}

std::vector<const StrokeSegment*> Segments(const StrokeGraph& g) {
  std::vector<const StrokeSegment*> all;
  for (int i = 0; i < g.groups.count; ++i)
    for (const StrokeSegment* s = g.groups.items[i].firstSegment; s; s = s->next) all.push_back(s);
  return all;
}

std::vector<Code> Codes(const StrokeGraph& g) {
  std::vector<Code> codes;
  for (const StrokeSegment* s : Segments(g)) codes.push_back({s->kind, s->subKind});
  return codes;
}

penkit::StrokeRun Analyse(const Figure& figure, double pen, uint8_t step = 1) {
  BitImage image = penkit::Draw(figure, pen);
  penkit::StrokeRun run = penkit::RunSteps(image, {step});
  EXPECT_EQ(run.extraction, 0);
  EXPECT_EQ(run.analysis, 0);
  EXPECT_EQ(run.graph().segmentTotal, static_cast<int>(Segments(run.graph()).size()));
  return run;
}

TEST(StrokeStructure, StraightStrokeIsOnePieceOfItsDirectionClass) {
  // Direction classes with y upward: 0 horizontal, 1 rising, 2 vertical,
  // 3 falling (image rows grow downward, so a stroke drawn towards the lower
  // right falls).
  struct Case {
    const char* what;
    Figure figure;
    int directionClass;
  };
  const Case cases[] = {
      {"horizontal", Figure().Line({8, 20}, {56, 20}), 0},
      {"rising", Figure().Line({8, 50}, {50, 8}), 1},
      {"vertical", Figure().Line({20, 8}, {20, 56}), 2},
      {"falling", Figure().Line({8, 8}, {50, 50}), 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    penkit::StrokeRun run = Analyse(c.figure, 4);
    ASSERT_EQ(Codes(run.graph()), (std::vector<Code>{{1, c.directionClass}}));
    const StrokeSegment& s = *Segments(run.graph())[0];
    const StrokePointTable& t = run.points();
    EXPECT_EQ(t.points.items[s.end1].degree, 1);
    EXPECT_EQ(t.points.items[s.end2].degree, 1);
  }
}

TEST(StrokeStructure, BentStrokeIsOneSegmentOfKindTwoOrMore) {
  for (const Figure& figure : {Figure().Polyline({{10, 8}, {13, 54}, {48, 51}}),
                               Figure().Polyline({{10, 10}, {45, 12}, {20, 55}}),
                               Figure().Arc({32, 32}, 22, 40, 320)}) {
    penkit::StrokeRun run = Analyse(figure, 4);
    const std::vector<const StrokeSegment*> segments = Segments(run.graph());
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_GE(segments[0]->kind, 2);
    EXPECT_GE(segments[0]->pieceCount, 2);
  }
}

TEST(StrokeStructure, RingIsOneClosedSegmentWithoutEnds) {
  const Figure ring = Figure().Circle({32, 32}, 22);
  penkit::StrokeRun thinned = Analyse(ring, 4);
  ASSERT_EQ(thinned.graph().groups.count, 1);
  EXPECT_EQ(thinned.graph().groups.items[0].closed, 1);
  ASSERT_EQ(Codes(thinned.graph()), (std::vector<Code>{{0, 0}}));
  EXPECT_EQ(Segments(thinned.graph())[0]->end1, -1);
  EXPECT_EQ(Segments(thinned.graph())[0]->end2, -1);
  // The polygon step sees two rings: the outline and the hole.
  penkit::StrokeRun polygons = Analyse(ring, 6, 4);
  EXPECT_EQ(Codes(polygons.graph()), (std::vector<Code>{{0, 0}, {0, 0}}));
}

TEST(StrokeStructure, TeeJunctionJoinsTheBarAndEndsTheStem) {
  penkit::StrokeRun run = Analyse(Figure().Line({8, 10}, {56, 10}).Line({32, 10}, {32, 56}), 4);
  const StrokeNodeLists& n = run.nodes();
  ASSERT_EQ(n.nodes.count, 1);
  EXPECT_EQ(n.nodes.items[0].degree, 3);
  EXPECT_EQ(Codes(run.graph()), (std::vector<Code>{{1, 0}, {1, 2}}));
  // Two branch ends: the bar runs through the junction, the stem ends there.
  ASSERT_EQ(n.edges.count, 2);
  ASSERT_EQ(n.marks.count, 1);
  EXPECT_EQ(n.marks.items[0].kind, 2);
  const std::vector<const StrokeSegment*> segments = Segments(run.graph());
  for (int i = 0; i < n.edges.count; ++i) {
    const StrokeEdge& e = n.edges.items[i];
    const int degree = run.points().points.items[e.point].degree;
    ASSERT_EQ(e.attachCount, 1);
    if (degree == 1) {
      EXPECT_EQ(e.segments[0], segments[1]);  // the stem, at one of its ends
      EXPECT_EQ(e.attachCodes[0], e.segments[0]->end1 == e.point ? kAttachEnd1 : kAttachEnd2);
    } else {
      EXPECT_EQ(e.segments[0], segments[0]);  // the bar, its only segment
      EXPECT_EQ(e.attachCodes[0], kAttachMiddle);
    }
  }
  // The feature point sits at the junction: the top middle of the frame.
  EXPECT_NEAR(n.marks.items[0].x, 128, 8);
  EXPECT_NEAR(n.marks.items[0].y, 256, 8);
}

TEST(StrokeStructure, CrossingPairsOppositeBranches) {
  penkit::StrokeRun run = Analyse(Figure().Line({8, 32}, {56, 32}).Line({32, 8}, {32, 56}), 4);
  ASSERT_EQ(run.nodes().nodes.count, 1);
  EXPECT_EQ(run.nodes().nodes.items[0].degree, 4);
  std::vector<Code> codes = Codes(run.graph());
  std::sort(codes.begin(), codes.end(),
            [](const Code& a, const Code& b) { return a.subKind < b.subKind; });
  EXPECT_EQ(codes, (std::vector<Code>{{1, 0}, {1, 2}}));
}

TEST(StrokeStructure, NoiseChainsMakeNoGroup) {
  BitImage image = penkit::Draw(Figure().Line({30, 5}, {30, 60}).Line({5, 5}, {6, 6}), 6);
  penkit::StrokeRun run = penkit::RunSteps(image, {1});
  ASSERT_EQ(run.analysis, 0);
  EXPECT_EQ(run.graph().groups.count, 1);
  int noise = 0;
  for (int i = 0; i < run.points().points.count; ++i)
    noise += run.points().points.items[i].kind == kPointNoise;
  EXPECT_GE(noise, 1);
}

TEST(StrokeStructure, ThreeWayJunctionAtEqualAnglesIsResolvedByTrial) {
  // Branches at 120 degrees: no branch clearly continues another, so every
  // pairing is tried; the winner's branches become one bent stroke.
  penkit::HandGraph g;
  const int j = g.Point(100, 100);
  g.Link(j, g.Chain({{100, 140}, {100, 120}, {100, 110}}).back());
  g.Link(j, g.Chain({{65, 80}, {82, 90}, {91, 95}}).back());
  g.Link(j, g.Chain({{135, 80}, {118, 90}, {109, 95}}).back());
  ASSERT_EQ(g.Finish(), 0);
  ASSERT_EQ(g.Analyse(), 0);
  ASSERT_EQ(g.nodes().nodes.count, 1);
  const StrokeNode& node = g.nodes().nodes.items[0];
  for (int a : node.angles) EXPECT_NEAR(a, 120, 20);
  EXPECT_GE(node.cls, 1);
  EXPECT_LE(node.cls, 3);
  EXPECT_EQ(g.graph().segmentTotal, 2);
}

TEST(StrokeStructure, ChainThatDoublesBackIsRefused) {
  penkit::HandGraph g;
  g.Chain({{0, 0}, {10, 0}, {4, 0}, {4, 20}});
  ASSERT_EQ(g.Finish(), 0);
  ClearErrorStack();
  EXPECT_EQ(g.Analyse(), -9);
  EXPECT_EQ(g_errorStack.codes[0], kErrStrokeExtraction);
}

TEST(StrokeStructure, AnalysisAfterARestoreGivesTheSameStrokes) {
  const Figure figure = Figure().Line({8, 10}, {56, 12}).Line({32, 11}, {33, 56});
  penkit::StrokeRun run = Analyse(figure, 4);
  const std::vector<Code> first = Codes(run.graph());
  RestoreStrokeRecords(&run.points());
  ASSERT_EQ(AnalyseStrokeStructure(&run.steps, &run.points(), &run.store->frame, &run.graph(),
                                   &run.nodes()),
            0);
  EXPECT_EQ(Codes(run.graph()), first);
  EXPECT_EQ(run.nodes().nodes.count, 1);
}

}  // namespace
