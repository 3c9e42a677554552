// Thinning (extraction steps 1 and 3) on characters drawn with a round pen:
// the skeleton follows the drawn centreline and has the drawn ends and
// junctions, blobs are refused, and the limits of the run and skeleton
// clean-up hold.
#include <gtest/gtest.h>

#include <algorithm>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

using penkit::BitImage;
using penkit::Figure;

struct Shape {
  const char* what;
  Figure figure;
  int ends, junctions;
};

std::vector<Shape> Shapes() {
  return {
      {"bar", Figure().Line({10, 8}, {14, 56}), 2, 0},
      {"diagonal", Figure().Line({8, 8}, {50, 56}), 2, 0},
      {"L", Figure().Polyline({{10, 8}, {13, 54}, {48, 51}}), 2, 0},
      {"arc", Figure().Arc({32, 32}, 22, 40, 320), 2, 0},
      {"T", Figure().Line({8, 10}, {56, 12}).Line({32, 11}, {33, 56}), 3, 1},
      {"cross", Figure().Line({8, 32}, {56, 33}).Line({32, 8}, {31, 56}), 4, 1},
      {"ring", Figure().Circle({32, 32}, 22), 0, 0},
      {"P", Figure().Line({12, 6}, {12, 58}).Arc({12, 20}, 14, -90, 90), 1, 1},
  };
}

TEST(Thinning, SkeletonFollowsTheCentrelineWithItsEndsAndJunctions) {
  for (const Shape& s : Shapes())
    for (double scale : {0.6, 1.0, 1.6})
      for (double pen : {2.0, 3.0, 5.0, 7.0, 9.0}) {
        if (pen > 6 * scale + 1) continue;  // strokes run into each other
        SCOPED_TRACE(testing::Message() << s.what << " x" << scale << " pen " << pen);
        const Figure figure = s.figure.Scaled(scale);
        BitImage image = penkit::Draw(figure, pen);
        penkit::StrokeRun run = penkit::RunSteps(image, {1}, false);
        ASSERT_EQ(run.extraction, 0);
        const penkit::DegreeCounts d = penkit::CountDegrees(run.points());
        EXPECT_EQ(d.ends, s.ends);
        EXPECT_EQ(d.junctions, s.junctions);
        EXPECT_LE(penkit::MaxDistanceFromCentreline(run, figure), 1.5 + pen / 4);
        EXPECT_LE(penkit::MaxGapToSkeleton(run, figure), 1.5 + pen / 3);
      }
}

TEST(Thinning, TurnedShapesKeepTheirEnds) {
  // Crossings that are not upright may come out as two strokes lying over
  // each other instead of one junction of four; their ends stay four.
  const Figure cross = Figure().Line({8, 32}, {56, 33}).Line({32, 8}, {31, 56});
  const Figure tee = Figure().Line({8, 10}, {56, 12}).Line({32, 11}, {33, 56});
  for (double degrees = 0; degrees < 360; degrees += 15)
    for (double pen : {3.0, 5.0}) {
      SCOPED_TRACE(testing::Message() << degrees << " degrees, pen " << pen);
      for (const Figure* f : {&cross, &tee}) {
        const Figure turned = f->Rotated(degrees, {32, 32}).Scaled(1, {10, 10});
        BitImage image = penkit::Draw(turned, pen);
        penkit::StrokeRun run = penkit::RunSteps(image, {1}, false);
        ASSERT_EQ(run.extraction, 0);
        EXPECT_EQ(penkit::CountDegrees(run.points()).ends, f == &cross ? 4 : 3);
        EXPECT_LE(penkit::MaxDistanceFromCentreline(run, turned), 2.5);
      }
    }
}

TEST(Thinning, BlobIsRefusedAndLeavesNoPoints) {
  BitImage disc = penkit::Draw(Figure().Line({20, 20}, {20, 20.01}), 20);
  penkit::StrokeRun run = penkit::RunSteps(disc, {1}, false);
  EXPECT_EQ(run.extraction, -1);
  EXPECT_EQ(run.points().points.count, 0);
  // The polygon steps still see its outline.
  EXPECT_EQ(penkit::RunSteps(disc, {4}, false).extraction, 0);
}

TEST(Thinning, RunsOfVeryDifferentWidthsAreNotJoined) {
  // A 1-pixel line running into an 11-pixel bar: widths differ by far more
  // than 1501/256 pixel, so the two runs keep their own ends.
  BitImage image(80, 60);
  penkit::Stamp(image, Figure().Line({5, 30}, {40, 30}), 1);
  penkit::Stamp(image, Figure().Line({40, 30}, {75, 30}), 11);
  penkit::StrokeRun run = penkit::RunSteps(image, {1}, false);
  ASSERT_EQ(run.extraction, 0);
  const penkit::DegreeCounts d = penkit::CountDegrees(run.points());
  EXPECT_EQ(d.ends, 4);
  EXPECT_EQ(d.junctions, 0);
}

TEST(Thinning, ShortSpursAndTinyLoopsAreCutOff) {
  // A junction with two long branches and a spur, a lone stroke, and a loop
  // of extent 5 x 4 (41 < 50) at a second junction. Spurs and lone strokes
  // under 460/256 pixel go. Steps between whole pixels measure 256 (across),
  // 362 (diagonal) or 512 (two across): no chain of points measures 363..511,
  // so the shortest that stays and the longest that goes bound the limit as
  // closely as any point graph can.
  struct Case {
    const char* what;
    int dx, dy;  // from the junction to the spur's tip, and along the lone stroke
    bool cut;
  };
  const Case cases[] = {
      {"one pixel across (256)", 0, 1, true},
      {"one pixel diagonally (362)", 1, 1, true},
      {"two pixels across (512)", 0, 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    penkit::HandGraph g;
    StrokePointTable& t = g.points();
    const int j = g.Point(20, 20);
    for (auto [x, y] : {std::pair{0, 20}, {40, 20}}) g.Link(j, g.Point(x, y));
    const int tip = g.Point(20 + c.dx, 20 - c.dy);
    g.Link(j, tip);
    const std::vector<int> lone = g.Chain({{100, 20}, {100 + c.dx, 20 - c.dy}});
    const int k = g.Point(60, 60);
    g.Link(k, g.Point(80, 60));
    const std::vector<int> loop = g.Chain({{65, 60}, {65, 64}, {62, 64}});
    g.Link(k, loop.front());
    g.Link(loop.back(), k);
    ASSERT_EQ(RemoveSkeletonSpurs(&t), 0);
    const uint8_t cutKind = c.cut ? kPointDeleted : kPointLive;
    EXPECT_EQ(t.points.items[tip].kind, cutKind);
    for (int p : lone) EXPECT_EQ(t.points.items[p].kind, cutKind);
    EXPECT_EQ(t.points.items[j].kind, kPointLive);
    for (int p : loop) EXPECT_EQ(t.points.items[p].kind, kPointDeleted);
    EXPECT_EQ(t.points.items[k].kind, kPointLive);
    EXPECT_EQ(t.points.items[k].degree, 1);
  }
}

TEST(Thinning, EndCapTakesAtMostEightRuns) {
  RunEndCap cap;
  PairRun runs[kMaxCapRuns + 1];
  for (int i = 0; i < kMaxCapRuns; ++i) ASSERT_EQ(AddRunToEndCap(&cap, &runs[i], i % 2), 0);
  EXPECT_EQ(runs[3].endCap, &cap);
  EXPECT_EQ(runs[2].startCap, &cap);
  ClearErrorStack();
  EXPECT_EQ(AddRunToEndCap(&cap, &runs[kMaxCapRuns], 0), -9);
  EXPECT_EQ(g_errorStack.codes[0], kErrCapacityFull);
  EXPECT_EQ(cap.runCount, kMaxCapRuns);
  EXPECT_EQ(runs[kMaxCapRuns].startCap, nullptr);
}

TEST(Thinning, ContourSetOverflowStopsTheAttempt) {
  // Noise with thousands of contour points: error 14, never a write past an
  // array.
  BitImage noise(120, 120);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 120; ++x)
      if ((x * 7 + y * 13) % 5 < 2) noise.Set(x, y);
  ClearErrorStack();
  penkit::StrokeRun run = penkit::RunSteps(noise, {1}, false);
  EXPECT_EQ(run.extraction, -9);
  EXPECT_EQ(g_errorStack.codes[0], kErrCapacityFull);
  EXPECT_LE(run.contours().points.count, kMaxContourPoints);
}

}  // namespace
