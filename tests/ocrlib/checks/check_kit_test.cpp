// The check rows' vocabulary: windows and their bounds, absent strokes and
// unmatched points, decisions that hold once taken, chord measures in their
// modes, angles of frame vectors, typed contour sources and the loop step.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "ocrlib/checks/check_kit.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/model_kit.h"
#include "tests/ocrlib/kit/row_harness.h"

namespace {

using namespace checkrow;
using modelkit::RowHarness;

TEST(CheckKit, WindowsHoldTheirBoundsExactly) {
  struct Case {
    const char* what;
    Window<StrokeView> window;
    int32_t value;
    bool holds;
  };
  const Case cases[] = {
      {"range, low end", cx(120, 155), 120, true},  {"range, below", cx(120, 155), 119, false},
      {"range, high end", cx(120, 155), 155, true}, {"range, above", cx(120, 155), 156, false},
      {"<= at the bound", cx <= 60, 60, true},      {"<= above", cx <= 60, 61, false},
      {">= at the bound", cx >= -108, -108, true},  {">= below", cx >= -108, -109, false},
      {"< at the bound", cx < 219, 219, false},     {"< below", cx < 219, 218, true},
      {"> at the bound", cx > 20, 20, false},       {"> above", cx > 20, 21, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StrokeView v;
    v.cx = c.value;
    EXPECT_EQ(c.window.Holds(v), c.holds);
  }
}

TEST(CheckKit, StrokeFeaturesAsTheRowsNameThem) {
  RowHarness h(1, 0);
  h.Stroke(0, 3, 2, {130, 120, 101, 40, 10, 200, 90, 160});
  CheckContext c = h.Context();
  const StrokeView s = c.S(0);
  EXPECT_EQ(s.code, 32);
  EXPECT_EQ(s.ux, 45);   // (101 - 10) / 2, truncated
  EXPECT_EQ(s.uy, -80);  // (40 - 200) / 2
  EXPECT_EQ(s.dX, 173);
  EXPECT_EQ(s.dY, 48);
  StrokeView odd;
  odd.x1 = -3;
  odd.x2 = 0;
  EXPECT_EQ((odd.x1 - odd.x2) / 2, -1) << "halving truncates toward zero";
}

TEST(CheckKit, AbsentStrokesAndUnmatchedPointsReject) {
  struct Case {
    const char* what;
    void (*read)(CheckContext&);
    bool rejected;
  };
  const Case cases[] = {
      {"stroke 0 present", [](CheckContext& c) { c.S(0); }, false},
      {"stroke 1 absent", [](CheckContext& c) { c.S(1); }, true},
      {"stroke beyond the model", [](CheckContext& c) { c.S(3); }, true},
      {"optional stroke absent", [](CheckContext& c) { c.RequireIfPresent(c.OptS(1), {cx <= 0}); },
       false},
      {"point 0 matched", [](CheckContext& c) { c.F(0); }, false},
      {"point 1 unmatched", [](CheckContext& c) { c.F(1); }, true},
      {"optional point unmatched", [](CheckContext& c) { c.RequireIfPresent(c.OptF(1), {x <= 0}); },
       false},
      {"character's point 0", [](CheckContext& c) { c.G(0); }, false},
      {"character's point 1 missing", [](CheckContext& c) { c.G(1); }, true},
      {"measure of an absent stroke",
       [](CheckContext& c) { c.Require(c.Mcn(c.OptS(1), kMcnRaw), {dev <= 0}); }, true},
      {"extreme of an absent stroke",
       [](CheckContext& c) { c.Require(c.XP(c.OptS(1), 0, 0), {y <= 0}); }, true},
      {"reject when, absent", [](CheckContext& c) { c.RejectWhen(c.OptS(1), {cx(0, 0)}); }, true},
      {"distance by code, absent",
       [](CheckContext& c) {
         c.LimitDistanceByCode(c.OptS(1), {{21, 10}});
       },
       true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    RowHarness h(2, 2);
    h.Stroke(0, 2, 1, {128, 128, 0, 0, 0, 0, 10, 10});
    h.Point(0, 100, 100, 1);
    CheckContext c = h.Context();
    k.read(c);
    EXPECT_EQ(c.rejected(), k.rejected);
    EXPECT_EQ(h.valid() == 0, k.rejected);
  }
}

TEST(CheckKit, FirstDecisionStands) {
  RowHarness h(1, 0);
  h.Stroke(0, 2, 1, {128, 128, 0, 0, 0, 0, 10, 10});
  {
    CheckContext c = h.Context();
    EXPECT_TRUE(c.Require(c.S(0), {cx(100, 150)}));
    EXPECT_FALSE(c.AcceptWhen(true));
    EXPECT_FALSE(c.RejectIf(true)) << "accepted: later rejections are no-ops";
    EXPECT_FALSE(c.Require(c.S(0), {cx > 500}));
    EXPECT_FALSE(c.Mcn(c.S(0), kMcnRaw).present) << "no measuring after the decision";
    EXPECT_FALSE(c.rejected());
    EXPECT_EQ(h.valid(), '9');
  }
  {
    CheckContext c = h.Context();
    c.Reject();
    c.AcceptWhen(true);
    c.Relabel('4');
    EXPECT_TRUE(c.rejected());
    EXPECT_EQ(h.valid(), 0);
  }
}

TEST(CheckKit, RejectWhenEveryWindowHolds) {
  struct Case {
    const char* what;
    int32_t ox, oy;
    bool rejected;
  };
  // "reject when ox >= 129 and oy <= 111"
  const Case cases[] = {
      {"both hold", 129, 111, true},
      {"ox below", 128, 111, false},
      {"oy above", 129, 112, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    RowHarness h(1, 0);
    CheckContext c = h.Context();
    McnView m;
    m.present = true;
    m.ox = k.ox;
    m.oy = k.oy;
    c.RejectWhen(m, {ox >= 129, oy <= 111});
    EXPECT_EQ(c.rejected(), k.rejected);
  }
}

TEST(CheckKit, DistanceLimitsByStrokeCodeAndMask) {
  struct Case {
    int kind, subKind;
    int16_t distance;
    bool rejected;
  };
  const Case cases[] = {
      {1, 2, 500, false}, {1, 2, 501, true},   {1, 3, 1300, false},
      {1, 3, 1301, true}, {1, 1, 9000, false},  // no limit for code 11
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.kind * 10 + k.subKind) + " at " + std::to_string(k.distance));
    RowHarness h(1, 0);
    h.Stroke(0, k.kind, k.subKind, {128, 128, 0, 0, 0, 0, 10, 10});
    h.candidate().distance = k.distance;
    CheckContext c = h.Context();
    c.LimitDistanceByCode(c.S(0), {{12, 500}, {13, 1300}});
    EXPECT_EQ(c.rejected(), k.rejected);
  }
  for (uint32_t mask : {kTypeDigits, kTypeCapitals, kTypeDigits | kTypeCapitals}) {
    RowHarness h(1, 0);
    h.SetMask(mask);
    CheckContext c = h.Context();
    c.AcceptUnlessDigitsAndCapitals();
    EXPECT_EQ(c.decided(), mask != (kTypeDigits | kTypeCapitals)) << mask;
    EXPECT_FALSE(c.rejected());
  }
}

TEST(CheckKit, AnglesAndLengthsOfFrameVectors) {
  struct Case {
    int32_t dx, dy;
    int32_t tilt, ang, slope, len;
  };
  const Case cases[] = {
      {0, 50, 90, 90, 32767, 50},    {0, -50, 90, 90, 32767, 50}, {50, 0, 0, 0, 0, 50},
      {-50, 0, 0, 0, 0, 50},         {10, 10, 45, 45, 100, 14},   {10, -10, -45, 135, -100, 14},
      {-10, 10, -45, 135, -100, 14}, {3, 4, 53, 53, 133, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.dx) + "," + std::to_string(c.dy));
    EXPECT_EQ(Tilt(c.dx, c.dy), c.tilt);
    EXPECT_EQ(Ang(c.dx, c.dy), c.ang);
    EXPECT_EQ(Slope(c.dx, c.dy), c.slope);
    EXPECT_EQ(Len(c.dx, c.dy), c.len);
  }
}

// One candidate of a one-stroke model, playing its stroke with a segment of
// analysed records.
struct OneStrokeCandidate {
  std::unique_ptr<SessionWorkArea> work = std::make_unique<SessionWorkArea>();
  StrokeModel model = {};
  StrokeModelSet set = {};
  explicit OneStrokeCandidate(const StrokeSegment* segment) {
    model.strokeCount = 1;
    std::strcpy(model.name, "1");
    set.models = &model;
    set.modelCount = 1;
    work->candidates[0].model = &model;
    work->candidates[0].matchedStroke[0] = const_cast<StrokeSegment*>(segment);
    work->current = &work->candidates[0];
  }
  CheckContext Context(StrokeStepList& steps, StrokeRecordStore& s) {
    return CheckContext(
        {&steps, &s.contours, &s.points, &s.frame, &s.graph, &s.nodeLists, &set, work.get()});
  }
};

TEST(CheckKit, ChordMeasureInItsModes) {
  // A bow bulging to the right of its chord, in each mode of the offsets.
  penkit::HandGraph g(1);
  g.Chain({{10, 10}, {30, 40}, {10, 70}});
  ASSERT_EQ(g.Finish(), 0);
  ASSERT_EQ(g.Analyse(), 0);
  OneStrokeCandidate one(g.graph().groups.items[0].firstSegment);
  CheckContext rawContext = one.Context(g.steps, *g.store);
  const McnView raw = rawContext.Mcn(rawContext.S(0), kMcnRaw);
  ASSERT_TRUE(raw.present);
  EXPECT_NE(raw.dev, 0);
  struct Case {
    McnMode mode;
    int devAdded, offsetsAdded;
  };
  for (const Case& k :
       {Case{kMcnDev128, 128, 0}, Case{kMcnOffsets128, 0, 128}, Case{kMcnAll128, 128, 128}}) {
    SCOPED_TRACE(k.mode);
    CheckContext c = one.Context(g.steps, *g.store);
    const McnView m = c.Mcn(c.S(0), k.mode);
    EXPECT_EQ(m.dev, raw.dev + k.devAdded);
    EXPECT_EQ(m.ox, raw.ox + k.offsetsAdded);
    EXPECT_EQ(m.oy, raw.oy + k.offsetsAdded);
  }
}

TEST(CheckKit, ContourSourcesAreReadAsTheKindTheyAre) {
  const penkit::Figure bar = penkit::Figure().Line({20, 10}, {20, 70});
  for (uint8_t step : {1, 0}) {
    SCOPED_TRACE(step);
    modelkit::Character ch = modelkit::Analyse(bar, 6, step);
    const StrokeSegment* s = ch.run.graph().groups.items[0].firstSegment;
    OneStrokeCandidate one(s);
    CheckContext c = one.Context(ch.run.steps, *ch.run.store);
    const int point = s->pieces[0]->words[0];
    EXPECT_EQ(c.PairSource(point).present, IsThinnedStep(step));
    EXPECT_EQ(c.PolygonSource(point).present, !IsThinnedStep(step));
  }
}

TEST(CheckKit, LoopStepRejectsTheWholeSetOffTheLinePath) {
  // A ring split by a bar much thicker than itself reads as a single loop:
  // every candidate of the set goes, unless the character comes from the
  // line path. With a bar as thin as the ring nothing goes.
  struct Case {
    const char* what;
    double bar;
    uint8_t path;
    bool rejected;
  };
  const Case cases[] = {
      {"thick bar", 8, 0, true},
      {"thick bar on the line path", 8, 1, false},
      {"thin bar", 4, 0, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    penkit::BitImage image = penkit::Draw(penkit::Figure().Circle({30, 30}, 20), 4);
    penkit::Stamp(image, penkit::Figure().Line({10, 30}, {50, 30}), k.bar);
    penkit::StrokeRun r = penkit::RunSteps(image, {1});
    ASSERT_EQ(r.extraction, 0);
    r.steps.path = k.path;
    auto work = std::make_unique<SessionWorkArea>();
    StrokeModel models[3] = {};
    for (StrokeModel& m : models) std::strcpy(m.name, "9");
    StrokeModelSet set = {};
    set.models = models;
    set.modelCount = 3;
    for (int m = 0; m < 3; ++m) {
      work->candidates[m].model = &models[m];
      work->candidates[m].valid = '9';
    }
    work->current = &work->candidates[1];
    CheckContext c({&r.steps, &r.contours(), &r.points(), &r.store->frame, &r.graph(), &r.nodes(),
                    &set, work.get()});
    c.RejectAllOnSingleLoop();
    for (int m = 0; m < 3; ++m) EXPECT_EQ(work->candidates[m].valid, k.rejected ? 0 : '9') << m;
  }
}

TEST(CheckKit, CornersTakeHoleCentresAsFurtherPoints) {
  RowHarness h(1, 0);
  h.StrokeWithChain(0, 1, 1, {55, 55, 0, 0, 45, 45, 90, 90}, {{10, 10}, {100, 100}});
  HoleList holes;
  holes.count = 1;
  holes.holes[0] = {10, 40, 200, 40, 200};
  CheckContext c = h.Context();
  const Corners plain = c.CandidateCorners();
  EXPECT_EQ(plain.c1.x, 0) << "the first of two equal points";
  EXPECT_EQ(plain.c1.y, 0);
  // With the hole the box reaches y 200: the hole is the upper left and the
  // upper right extreme, rescaled with the box.
  const Corners withHole = c.CandidateCorners(holes);
  EXPECT_EQ(withHole.c1.x, 85);
  EXPECT_EQ(withHole.c1.y, 255);
  EXPECT_EQ(withHole.c2.x, 85);
  EXPECT_EQ(withHole.c4.x, 0);
  EXPECT_EQ(withHole.c4.y, 0);
}

TEST(CheckKit, FarthestExtremesOfAStroke) {
  RowHarness h(2, 0);
  h.StrokeWithChain(0, 2, 1, {50, 25, 0, 0, 100, 50, 100, 50}, {{0, 0}, {100, 0}, {100, 50}});
  CheckContext c = h.Context();
  // Lowest to highest and lower left to upper right are equally far apart:
  // the first pair holds.
  const ExtremePair p = c.FarthestExtremes(c.S(0));
  ASSERT_TRUE(p.present);
  EXPECT_EQ(p.a.x, 0);
  EXPECT_EQ(p.a.y, 0);
  EXPECT_EQ(p.b.x, 100);
  EXPECT_EQ(p.b.y, 50);
  EXPECT_EQ(p.length, Len(100, 50));
  EXPECT_EQ(p.angle, 27);
  EXPECT_EQ(p.Upper().y, 50);
  EXPECT_FALSE(c.FarthestExtremes(c.OptS(1)).present);
}

TEST(CheckKit, AreasOfAChain) {
  RowHarness h(2, 0);
  h.StrokeWithChain(0, 0, 0, {128, 128, 0, 0, 0, 0, 20, 16}, {{0, 0}, {20, 0}, {0, 16}});
  CheckContext c = h.Context();
  const ChainAreas triangle = AreasOfChain(c.Chain(c.S(0)));
  EXPECT_EQ(triangle.enclosed, 160);
  EXPECT_EQ(triangle.box, 320);
  const ChainAreas none = AreasOfChain(c.Chain(c.OptS(1)));
  EXPECT_EQ(none.enclosed, 0);
  EXPECT_EQ(none.box, 0);
}

TEST(CheckKit, VerdictNamesTheRoutineAndTheLineThatDecided) {
  RowHarness row(1, 0);
  row.Stroke(0, 1, 2, {128, 128, 0, 0, 0, 0, 10, 10});
  CheckContext c = row.Context();
  c.Require(c.S(0), {cx(120, 140)});
  const int line = __LINE__ + 1;
  c.Require(c.S(0), {h >= 20});
  c.Finish();
  EXPECT_STREQ(g_lastCheckVerdict.routine, "9z");
  EXPECT_EQ(g_lastCheckVerdict.line, line);
  EXPECT_TRUE(g_lastCheckVerdict.rejected);
}

}  // namespace
