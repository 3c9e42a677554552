// Candidate verification by stroke models: pen-drawn characters matched
// against models derived from them or written by hand and loaded from real
// dictionary files; the assignment search, the distance and its scaling, the
// survivors, the attempt log, the hole veto and the capacity limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/model_kit.h"

namespace {

using modelkit::Analyse;
using modelkit::Character;
using modelkit::Derive;
using modelkit::LoadedModels;
using penkit::Figure;

constexpr double kPen = 6;

Figure Bar() { return Figure().Line({30, 10}, {30, 90}); }
Figure Ring() { return Figure().Circle({40, 50}, 30); }
Figure Seven() { return Figure().Polyline({{10, 10}, {60, 10}, {30, 90}}); }
// A 4 of a bent stroke and a bar that crosses it: one junction.
Figure Four() { return Figure().Polyline({{45, 10}, {10, 65}, {65, 65}}).Line({45, 30}, {45, 95}); }

ModelDerivation Named(const char* name, std::vector<int> roles = {}) {
  ModelDerivation how;
  how.name = name;
  how.roles = std::move(roles);
  return how;
}

// -trunc(256 sqrt(2n - 1)): the distance of a character that equals its
// model in every compared value (n values).
int PerfectDistance(int n) { return -static_cast<int>(std::floor(256 * std::sqrt(2.0 * n - 1))); }

int DistanceOf(const Character& c, int model) { return c.work->candidates[model].distance; }
bool Matched(const Character& c, int model) { return c.work->candidates[model].valid != 0; }

TEST(StrokeCodeMasks, EachCodeSetsOneBitOfOneMask) {
  struct Case {
    int code;
    int mask;  // 0 A, 1 B, 2 C, 3 D, -1 none
    int bit;
  };
  const Case cases[] = {
      {-3, 0, 31},  {0, 0, 31},  {1, 0, 29},   {10, 0, 28},  {17, 0, 3},
      {18, 3, 0},   {57, 3, 31}, {58, 2, 0},   {97, 2, 31},  {98, 1, 0},
      {137, 1, 31}, {138, 0, 0}, {172, 0, 26}, {173, -1, 0}, {255, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    uint32_t m[4] = {9, 9, 9, 9};
    DecodeStrokeCode(c.code, &m[0], &m[1], &m[2], &m[3]);
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(m[k], k == c.mask ? 1u << c.bit : 0u) << "mask " << k;
    }
  }
}

TEST(ShapeVerify, CharacterMatchesItsOwnModelWithNothingLeftOver) {
  // Derived from the very glyph, every compared value is equal: S is 0 and
  // the distance is the chi-square correction alone. n counts 6 values per
  // straight stroke, 4 per ring, 8 per bent stroke and 2 per point.
  struct Case {
    const char* what;
    Figure figure;
    int values;
  };
  const Case cases[] = {
      {"a bar", Bar(), 6},
      {"a ring", Ring(), 4},
      {"a bent stroke", Seven(), 8},
      {"a bent stroke and a bar joined at a junction", Four(), 8 + 6 + 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LoadedModels models({Derive(c.figure, kPen, Named("1"))}, {});
    ASSERT_TRUE(models.loaded());
    Character ch = Analyse(c.figure, kPen, 1);
    const StrokeModelSet& set = models.ForStep(1);
    ASSERT_EQ(modelkit::Verify(ch, set, nullptr), 0);
    ASSERT_TRUE(Matched(ch, 0));
    EXPECT_EQ(DistanceOf(ch, 0), PerfectDistance(c.values));
    EXPECT_EQ(ch.work->candidates[0].valid, '1');
    ASSERT_EQ(ch.work->survivorCount, 1);
    EXPECT_EQ(ch.work->survivorDistance[0], DistanceOf(ch, 0));
  }
}

TEST(ShapeVerify, ModelsMustCoverEveryStrokeCodeOfTheCharacter) {
  AuthoredModel wrongCode = Derive(Bar(), kPen, Named("1"));
  wrongCode.strokes[0].codes = {13};
  AuthoredModel extraCode = Derive(Bar(), kPen, Named("1"));
  extraCode.strokes[0].codes.push_back(13);
  LoadedModels models({wrongCode, extraCode}, {});
  Character ch = Analyse(Bar(), kPen, 1);
  ASSERT_EQ(modelkit::Verify(ch, models.ForStep(1), nullptr), 0);
  EXPECT_FALSE(Matched(ch, 0));
  EXPECT_EQ(DistanceOf(ch, 0), kNoShapeDistance);
  EXPECT_TRUE(Matched(ch, 1));
}

TEST(ShapeVerify, OptionalStrokesMayStayWithoutSegment) {
  // The 7 drawn as one bent stroke, against models that add strokes it does
  // not have: optional ones may stay empty, required ones may not.
  const AuthoredModel base = Derive(Seven(), kPen, Named("7"));
  AuthoredStroke bar;
  bar.codes = {10, 11, 12, 13};
  bar.mean = {128, 200, 0, 0, 30, 2, 60, 0};
  bar.spread = {24, 24, 24, 24, 24, 24, 24, 24};
  auto withExtra = [&](int count, int optional) {
    AuthoredModel m = base;
    for (int i = 0; i < count; ++i) {
      AuthoredStroke s = bar;
      s.optional = i < optional;
      m.strokes.push_back(s);
      m.groups.push_back({{static_cast<int>(m.strokes.size()) - 1}, 0, false});
    }
    return m;
  };
  LoadedModels models({withExtra(2, 2), withExtra(2, 1), withExtra(1, 1), withExtra(1, 0)}, {});
  Character ch = Analyse(Seven(), kPen, 1);
  ASSERT_EQ(ch.run.graph().segmentTotal, 1);
  ASSERT_EQ(modelkit::Verify(ch, models.ForStep(1), nullptr), 0);
  EXPECT_TRUE(Matched(ch, 0)) << "both extra strokes optional";
  EXPECT_FALSE(Matched(ch, 1)) << "one extra stroke required";
  EXPECT_TRUE(Matched(ch, 2)) << "the extra stroke optional";
  EXPECT_FALSE(Matched(ch, 3)) << "the extra stroke required";
  EXPECT_EQ(ch.work->candidates[0].matchedStroke[1], nullptr);
  EXPECT_EQ(DistanceOf(ch, 0), PerfectDistance(8)) << "absent strokes add nothing";
}

TEST(ShapeVerify, FeaturePointsNeedModelPoints) {
  // The 4 has a junction: its own model has a point for it; the same model
  // without the point never matches, and a required point that no junction
  // plays stays unassigned only while one of its strokes is absent.
  const AuthoredModel four = Derive(Four(), kPen, Named("4"));
  ASSERT_EQ(four.points.size(), 1u);
  AuthoredModel pointless = four;
  pointless.points.clear();
  AuthoredModel extraPoint = four;
  extraPoint.points.push_back(four.points[0]);
  LoadedModels models({four, pointless, extraPoint}, {});
  Character ch = Analyse(Four(), kPen, 1);
  ASSERT_EQ(ch.run.nodes().marks.count, 1);
  ASSERT_EQ(modelkit::Verify(ch, models.ForStep(1), nullptr), 0);
  EXPECT_TRUE(Matched(ch, 0));
  EXPECT_EQ(ch.work->candidates[0].matchedPoint[0], 0);
  EXPECT_FALSE(Matched(ch, 1)) << "a junction no model point plays";
  EXPECT_FALSE(Matched(ch, 2)) << "a required point between two present strokes left over";
}

TEST(ShapeVerify, ExtentsTwiceApartAreNotCompared) {
  // A model of a wide bent stroke against a narrow one: more than a factor 2
  // between the extents leaves the model unscored, except in step 4, where
  // the character is compared unscaled.
  const Figure wide = Figure().Polyline({{10, 10}, {90, 10}, {50, 60}});
  const Figure narrow = Figure().Polyline({{10, 10}, {30, 10}, {20, 90}});
  ModelDerivation polygon = Named("7");
  polygon.step = 4;
  LoadedModels models({Derive(wide, kPen, Named("7"))}, {Derive(wide, kPen, polygon)});
  Character thinned = Analyse(narrow, kPen, 1);
  ASSERT_EQ(modelkit::Verify(thinned, models.ForStep(1), nullptr), 0);
  EXPECT_FALSE(Matched(thinned, 0));
  Character refined = Analyse(narrow, kPen, 4);
  ASSERT_EQ(modelkit::Verify(refined, models.ForStep(4), nullptr), 0);
  EXPECT_TRUE(Matched(refined, 0));
  EXPECT_GT(DistanceOf(refined, 0), 0);
}

TEST(ShapeVerify, SurvivorsSortedByDistanceAndLogged) {
  // Three models of a bar at growing offsets: all survive, best first; the
  // attempt log keeps the raw matches in model order.
  std::vector<AuthoredModel> bars;
  for (int shift : {40, 0, 20}) {
    AuthoredModel m = Derive(Bar(), kPen, Named("1"));
    m.strokes[0].mean[0] = static_cast<int16_t>(m.strokes[0].mean[0] + shift);
    bars.push_back(m);
  }
  LoadedModels models(bars, {});
  Character ch = Analyse(Bar(), kPen, 1);
  ASSERT_EQ(modelkit::Verify(ch, models.ForStep(1), nullptr), 0);
  ASSERT_EQ(ch.work->survivorCount, 3);
  EXPECT_EQ(ch.work->survivorModel[0], 1);
  EXPECT_EQ(ch.work->survivorModel[1], 2);
  EXPECT_EQ(ch.work->survivorModel[2], 0);
  EXPECT_LT(ch.work->survivorDistance[0], ch.work->survivorDistance[1]);
  EXPECT_LT(ch.work->survivorDistance[1], ch.work->survivorDistance[2]);
  const StrokeAttemptLog& log = ch.run.steps.log;
  ASSERT_EQ(log.counts[0], 3);
  for (int m = 0; m < 3; ++m) {
    EXPECT_EQ(log.models[0][m], m);
    EXPECT_EQ(static_cast<int16_t>(log.distances[0][m]), DistanceOf(ch, m));
  }
}

// Check routines that count their calls and reject what they are told to.
struct RecordingChecks {
  static int applied, adjusted, rejectModel;
  static void Apply(StrokeStepList*, ContourSet*, StrokePointTable*, CharFrame*, StrokeGraph*,
                    StrokeNodeLists*, const StrokeModelSet* set, SessionWorkArea* work) {
    ++applied;
    if (work->current - work->candidates == rejectModel) work->current->valid = 0;
  }
  static void Adjust(StrokeStepList*, ContourSet*, StrokePointTable*, CharFrame*, StrokeGraph*,
                     StrokeNodeLists*, const StrokeModelSet*, SessionWorkArea* work) {
    ++adjusted;
    std::swap(work->survivorDistance[0], work->survivorDistance[1]);
  }
};
int RecordingChecks::applied = 0, RecordingChecks::adjusted = 0, RecordingChecks::rejectModel = -1;

TEST(ShapeVerify, ChecksRunOnMatchedCandidatesAndPairsAreAdjusted) {
  const ShapeCheckRoutines checks = {RecordingChecks::Apply, RecordingChecks::Adjust};
  struct Case {
    const char* what;
    int models, rejected, applied, adjusted;
  };
  const Case cases[] = {
      {"one survivor", 1, -1, 1, 0},
      {"two survivors", 2, -1, 2, 1},
      {"three matched, one rejected by its check", 3, 1, 3, 1},
      {"three survivors", 3, -1, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<AuthoredModel> bars(c.models, Derive(Bar(), kPen, Named("1")));
    bars.push_back(Derive(Ring(), kPen, Named("0")));  // never matches: its check never runs
    LoadedModels models(bars, {});
    Character ch = Analyse(Bar(), kPen, 1);
    RecordingChecks::applied = RecordingChecks::adjusted = 0;
    RecordingChecks::rejectModel = c.rejected;
    ASSERT_EQ(modelkit::Verify(ch, models.ForStep(1), &checks), 0);
    EXPECT_EQ(RecordingChecks::applied, c.applied);
    EXPECT_EQ(RecordingChecks::adjusted, c.adjusted);
    EXPECT_EQ(ch.work->survivorCount, c.models - (c.rejected >= 0 ? 1 : 0));
  }
}

TEST(ShapeVerify, SeventeenthMatchIsACapacityError) {
  std::vector<AuthoredModel> bars(17, Derive(Bar(), kPen, Named("1")));
  LoadedModels models(bars, {});
  Character ch = Analyse(Bar(), kPen, 1);
  ClearErrorStack();
  EXPECT_EQ(modelkit::Verify(ch, models.ForStep(1), nullptr), -9);
  EXPECT_EQ(g_errorStack.codes[0], kErrCapacityFull);
  bars.pop_back();
  LoadedModels sixteen(bars, {});
  ClearErrorStack();
  EXPECT_EQ(modelkit::Verify(ch, sixteen.ForStep(1), nullptr), 0);
  EXPECT_EQ(ch.work->survivorCount, 16);
}

TEST(ShapeVerify, HostileWeightsNeverWrapTheDistance) {
  // Weights at the top of their range and means far off: the sum passes 32
  // bits; the distance stays the largest real one, never a small or negative
  // number that would pass every threshold.
  AuthoredModel far = Derive(Bar(), kPen, Named("1"));
  for (int i = 0; i < kModelFeatures; ++i) {
    far.strokes[0].mean[i] = -32000;
    far.strokes[0].spread[i] = 1;
  }
  LoadedModels models({far}, {});
  Character ch = Analyse(Bar(), kPen, 1);
  ASSERT_EQ(modelkit::Verify(ch, models.ForStep(1), nullptr), 0);
  ASSERT_TRUE(Matched(ch, 0));
  EXPECT_EQ(DistanceOf(ch, 0), kMaxShapeDistance);
}

TEST(ShapeVerify, AssignmentSearchIsBounded) {
  // Sixteen strokes of a chain of many short bent pieces against a model
  // whose sixteen strokes accept every code: the permutations are beyond
  // counting, the search is not.
  AuthoredModel any;
  any.name = "8";
  for (int i = 0; i < 16; ++i) {
    AuthoredStroke s;
    for (int code = 0; code <= kMaxStrokeCode; ++code)
      s.codes.push_back(static_cast<uint8_t>(code));
    s.codes.erase(s.codes.begin());  // no ring code: the groups are open
    s.spread = {24, 24, 24, 24, 24, 24, 24, 24};
    any.strokes.push_back(s);
    any.groups.push_back({{i}, 0, false});
  }
  Figure dashes;
  for (int i = 0; i < 16; ++i)
    dashes.Line({10.0 + 12 * (i % 4), 10.0 + 20 * (i / 4)},
                {16.0 + 12 * (i % 4), 22.0 + 20 * (i / 4)});
  LoadedModels models({any}, {});
  Character ch = Analyse(dashes, 3, 1);
  ASSERT_EQ(ch.run.graph().segmentTotal, 16);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(modelkit::Verify(ch, models.ForStep(1), nullptr), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_TRUE(Matched(ch, 0));
}

TEST(StrokeVectors, ChordsBecomeDoubledAngleVectors) {
  // s = 256: a vertical chord of L/256 = 40 pixels gives sizeX (128 - L) / s,
  // a horizontal one (L + 128) / s; neither has a y part.
  struct Case {
    int16_t dx, dy;
    int16_t sizeX, sizeY;
  };
  const Case cases[] = {
      {0, 40, (128 - 40 * 256) / 256, 0},
      {40, 0, (40 * 256 + 128) / 256, 0},
      {0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.dx) + "," + std::to_string(c.dy));
    auto owner = std::make_unique<StrokeRecordStore>();
    StrokeRecordStore& store = *owner;
    BindStrokeRecordStore(store);
    StrokeGroup* group = AllocGraphPoint(&store.graph);
    StrokePiece* piece = AllocStrokeSegment(&store.graph);
    StrokeSegment* s = AllocStrokeJoint(&store.graph, piece);
    group->firstSegment = s;
    s->kind = 1;
    s->sizeX = c.dx;
    s->sizeY = c.dy;
    CharFrame frame;
    frame.size = 256;
    NormalizeStrokeVectors(&frame, &store.graph);
    EXPECT_EQ(s->sizeX, c.sizeX);
    EXPECT_EQ(s->sizeY, c.sizeY);
  }
}

}  // namespace

namespace {

// An L of strokes spanning 256 pixels each way, so that frame units are
// pixels (frame y = 256 - image row), and a hole of n contour points
// centred at frame (x, y), from which no stroke was traced.
struct HoleCase {
  const char* what;
  int x, y, points;
  bool veto;
};

void LayHole(ContourSet& contours, int x, int y, int n) {
  // n points round a square whose sides hold n / 4 steps each (a hole's
  // centre is the middle of its box).
  const int side = std::max(1, n / 4);
  const int row = 256 - y;
  Contour& ring = contours.contours.items[contours.contours.count++];
  ring.kind = kContourHole;
  ring.pointCount = static_cast<uint16_t>(n);
  ContourPoint* first = &contours.points.items[contours.points.count];
  for (int i = 0; i < n; ++i) {
    ContourPoint& p = contours.points.items[contours.points.count++];
    const int around = i % (4 * side);  // points beyond the square repeat it
    const int leg = around / side, step = around - leg * side;
    const int dx[] = {step, side, side - step, 0}, dy[] = {0, step, side, side - step};
    p.x = static_cast<int16_t>(x - side / 2 + dx[leg]);
    p.y = static_cast<int16_t>(row - side / 2 + dy[leg]);
    p.owner = &ring;
  }
  for (int i = 0; i < n; ++i) {
    first[i].next = &first[(i + 1) % n];
    first[i].prev = &first[(i + n - 1) % n];
  }
  ring.first = first;
}

}  // namespace

TEST(ShapeVerify, HolesWhereNoSurvivorHasOneVetoTheReading) {
  const HoleCase cases[] = {
      {"left, small sum, 20 points", 100, 100, 20, true},
      {"left, small sum, 13 points", 100, 100, 13, false},
      {"left, small sum, 26 points", 100, 100, 26, false},
      {"right and low, 20 points", 150, 100, 20, true},
      {"right and middle, 9 points", 140, 140, 9, true},
      {"right and middle, 8 points", 140, 140, 8, false},
      {"large sum, low, 16 points", 250, 152, 16, true},
      {"large sum, low, 15 points", 250, 152, 15, false},
      {"large sum, high, 9 points", 200, 210, 9, true},
      {"large sum, high right, 5 points", 200, 210, 5, true},
      {"large sum, high right, 4 points above 200", 200, 210, 4, true},
      {"large sum, 4 points at 180", 230, 180, 4, false},
  };
  for (const HoleCase& c : cases) {
    SCOPED_TRACE(c.what);
    penkit::HandGraph g(1);
    g.Chain({{0, 0}, {0, 256}, {256, 256}});
    ASSERT_EQ(g.Finish(), 0);
    ASSERT_EQ(g.Analyse(), 0);
    AuthoredModel model;
    std::string error;
    ModelDerivation how;
    how.name = "7";
    ASSERT_EQ(DeriveModelFromRecords(g.store->frame, g.graph(), g.nodes(), how, &model, &error), 0)
        << error;
    ContourSet& contours = g.store->contours;
    LayHole(contours, c.x, c.y, c.points);
    int32_t sizes[1], xs[1], ys[1];
    ASSERT_EQ(
        FindHoleCentres(&g.steps, &contours, &g.points(), &g.store->frame, sizes, xs, ys, 1, 1), 1);
    ASSERT_EQ(xs[0], c.x);
    ASSERT_EQ(ys[0], c.y);
    LoadedModels models({model}, {});
    auto work = std::make_unique<SessionWorkArea>();
    ASSERT_EQ(VerifyCandidatesByShape(&g.steps, &contours, &g.points(), &g.store->frame, &g.graph(),
                                      &g.nodes(), &models.ForStep(1), work.get(), nullptr),
              0);
    EXPECT_EQ(work->survivorCount, c.veto ? 0 : 1);
  }
}
