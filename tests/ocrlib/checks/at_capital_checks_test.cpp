// The "@" capital checks, read on the polygon steps: pen-drawn capitals
// matched against models derived from a clean drawing of the letter (the
// strokes of their outlines), the shapes each row accepts and the near
// misses it rejects. Then rows on exact feature values: the bounds of the
// tests that end some rows (corner angles, extremes of chains, bulges of
// the outline), what they do without digits, and the windows whose bounds
// a row states twice.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ocrlib/checks/check_kit.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/check_trials.h"

namespace {

using modelkit::ExpectBoundaries;
using modelkit::ExpectTrials;
using modelkit::kCapitalsOnly;
using modelkit::kDigitsAndCapitals;
using modelkit::RowHarness;
using penkit::Figure;

ModelDerivation OnOutlines() {
  ModelDerivation how;
  how.step = 0;
  return how;
}

// ---- pen-drawn capitals --------------------------------------------------------------

TEST(AtCapitalChecks, LettersOfStraightStrokes) {
  // An "A"'s bar closes a hole of the right size and height.
  const Figure a = Figure().Polyline({{10, 90}, {30, 10}, {50, 90}}).Line({20, 60}, {40, 60});
  ExpectTrials(
      {"@A", a, OnOutlines(), {}},
      {{"A", a, kDigitsAndCapitals, 'A'},
       {"bar high", Figure().Polyline({{10, 90}, {30, 10}, {50, 90}}).Line({25, 35}, {35, 35}),
        kDigitsAndCapitals, 0},
       {"bar low", Figure().Polyline({{10, 90}, {30, 10}, {50, 90}}).Line({15, 78}, {45, 78}),
        kDigitsAndCapitals, 0}});
  // The middle bars of an "E" and an "F" reach halfway and sit halfway up.
  const Figure e =
      Figure().Polyline({{55, 10}, {15, 10}, {15, 90}, {55, 90}}).Line({15, 50}, {45, 50});
  ExpectTrials(
      {"@E", e, OnOutlines(), {}},
      {{"E", e, kDigitsAndCapitals, 'E'},
       {"short middle bar",
        Figure().Polyline({{55, 10}, {15, 10}, {15, 90}, {55, 90}}).Line({15, 50}, {25, 50}),
        kDigitsAndCapitals, 0},
       {"middle bar high",
        Figure().Polyline({{55, 10}, {15, 10}, {15, 90}, {55, 90}}).Line({15, 25}, {45, 25}),
        kDigitsAndCapitals, 0}});
  const Figure f = Figure().Polyline({{55, 10}, {15, 10}, {15, 90}}).Line({15, 50}, {45, 50});
  ExpectTrials({"@F", f, OnOutlines(), {}},
               {{"F", f, kDigitsAndCapitals, 'F'},
                {"short middle bar",
                 Figure().Polyline({{55, 10}, {15, 10}, {15, 90}}).Line({15, 50}, {25, 50}),
                 kDigitsAndCapitals, 0},
                {"middle bar low",
                 Figure().Polyline({{55, 10}, {15, 10}, {15, 90}}).Line({15, 75}, {45, 75}),
                 kDigitsAndCapitals, 0}});
  const Figure i =
      Figure().Line({30, 10}, {30, 90}).Line({15, 10}, {45, 10}).Line({15, 90}, {45, 90});
  ExpectTrials({"@I", i, OnOutlines(), {}}, {{"I with serifs", i, kDigitsAndCapitals, 'I'}});
  const Figure l = Figure().Polyline({{15, 10}, {15, 90}, {55, 90}});
  ExpectTrials(
      {"@L", l, OnOutlines(), {}},
      {{"L", l, kDigitsAndCapitals, 'L'},
       {"long foot", Figure().Polyline({{15, 10}, {15, 90}, {70, 90}}), kDigitsAndCapitals, 'L'},
       {"short foot", Figure().Polyline({{15, 10}, {15, 90}, {40, 90}}), kDigitsAndCapitals, 0}});
  // The top of a "T"'s bar may bow a little; an arch is no "T".
  const Figure t = Figure().Line({10, 10}, {60, 10}).Line({35, 10}, {35, 90});
  auto bowed = [](double rise) {
    return Figure().Polyline({{10, 10 + rise}, {35, 10}, {60, 10 + rise}}).Line({35, 10}, {35, 90});
  };
  ExpectTrials({"@T", t, OnOutlines(), {}, true},
               {{"T", t, kDigitsAndCapitals, 'T'},
                {"bar bowed by 4 pixels", bowed(4), kDigitsAndCapitals, 'T'},
                {"bar bowed by 8 pixels", bowed(8), kDigitsAndCapitals, 'T'},
                {"bar arched by 12 pixels", bowed(12), kDigitsAndCapitals, 0},
                {"bar arched by 16 pixels", bowed(16), kDigitsAndCapitals, 0}});
}

TEST(AtCapitalChecks, LettersOfBowls) {
  const Figure p = Figure()
                       .Line({15, 10}, {15, 90})
                       .Polyline({{15, 10}, {40, 10}})
                       .Arc({40, 30}, 20, 270, 450)
                       .Polyline({{40, 50}, {15, 50}});
  ExpectTrials({"@P", p, OnOutlines(), {}, true}, {{"P", p, kDigitsAndCapitals, 'P'},
                                                   {"wide bowl",
                                                    Figure()
                                                        .Line({15, 10}, {15, 90})
                                                        .Polyline({{15, 10}, {55, 10}})
                                                        .Arc({55, 30}, 20, 270, 450)
                                                        .Polyline({{55, 50}, {15, 50}}),
                                                    kDigitsAndCapitals, 'P'},
                                                   {"tiny bowl",
                                                    Figure()
                                                        .Line({15, 10}, {15, 90})
                                                        .Polyline({{15, 10}, {30, 10}})
                                                        .Arc({30, 20}, 10, 270, 450)
                                                        .Polyline({{30, 30}, {15, 30}}),
                                                    kDigitsAndCapitals, 0}});
  const Figure u = Figure()
                       .Polyline({{10, 10}, {10, 70}})
                       .Arc({30, 70}, 20, 180, 0)
                       .Polyline({{50, 70}, {50, 10}});
  ExpectTrials({"@U", u, OnOutlines(), {}},
               {{"U", u, kDigitsAndCapitals, 'U'},
                {"V", Figure().Polyline({{10, 10}, {30, 90}, {50, 10}}), kDigitsAndCapitals, 0}});
}

// ---- exact feature values -----------------------------------------------------------------

// The half spread of two neighbours 80 units left of a point for which the
// point's corner angle is `degrees`; 0 when no spread gives it.
int SpreadForAngle(int degrees) {
  for (int spread = 1; spread < 400; ++spread) {
    const int16_t s = static_cast<int16_t>(spread);
    if (AngleAtVertex({230, 130}, {150, static_cast<int16_t>(130 + s)},
                      {150, static_cast<int16_t>(130 - s)}) == degrees) {
      return spread;
    }
  }
  return 0;
}

// A stroke of the character's own box whose rightmost point (230, 130) has a
// corner of the given angle between its neighbours.
StrokeSegment& CornerStroke(RowHarness& h, int k, std::initializer_list<int16_t> features,
                            int degrees) {
  const int spread = SpreadForAngle(degrees);
  EXPECT_GT(spread, 0) << degrees;
  StrokeSegment& s =
      h.StrokeWithChain(k, 10, 5, features, {{150, 130 + spread}, {230, 130}, {150, 130 - spread}});
  h.LinkChain(s);
  return s;
}

struct CornerCase {
  const char* what;
  int degrees;
  uint32_t mask;
  uint16_t expected;
};

// "@D", "@Da", "@Db", "@Va" measure the corner at the rightmost point of a
// chain whatever the set reads.
TEST(AtCapitalChecks, CornerAtTheRightmostPoint) {
  struct Row {
    const char* row;
    int16_t distance;
    void (*lay)(RowHarness&, int degrees);
    std::vector<CornerCase> cases;
  };
  const Row rows[] = {
      {"@Da",
       -500,
       [](RowHarness& h, int degrees) {
         CornerStroke(h, 0, {130, 130, 0, 0, 0, 0, 200, 230}, degrees);
         h.Stroke(1, 0, 0, {140, 130, 0, 0, 0, 0, 100, 150});
       },
       {{"90 degrees", 90, kCapitalsOnly, 'D'}, {"89 degrees", 89, kCapitalsOnly, 0}}},
      {"@Db",
       0,
       [](RowHarness& h, int degrees) {
         h.StrokeWithChain(0, 2, 5, {50, 130, 60, 220, 50, 40, 60, 180},
                           {{60, 220}, {80, 130}, {50, 40}});
         CornerStroke(h, 1, {130, 130, 100, 0, 0, 0, 200, 240}, degrees);
         h.Stroke(2, 0, 0, {150, 130, 0, 0, 0, 0, 100, 150});
       },
       {{"93 degrees", 93, kCapitalsOnly, 'D'}, {"92 degrees", 92, kCapitalsOnly, 0}}},
      // "@Va" wants a sharp corner: at most 90 degrees.
      {"@Va",
       0,
       [](RowHarness& h, int degrees) {
         h.Stroke(0, 2, 3, {80, 120, 50, 200, 100, 40, 100, 160});
         CornerStroke(h, 1, {130, 130, 100, 150, 100, 150, 160, 200}, degrees);
         h.Stroke(2, 0, 0, {150, 150, 0, 0, 0, 0, 50, 100});
       },
       {{"90 degrees", 90, kDigitsAndCapitals, 'V'}, {"91 degrees", 91, kDigitsAndCapitals, 0}}},
  };
  for (const Row& r : rows) {
    for (const CornerCase& k : r.cases) {
      SCOPED_TRACE(std::string(r.row) + ": " + k.what);
      RowHarness h(3, 0, r.row);
      r.lay(h, k.degrees);
      h.SetMask(k.mask);
      h.candidate().distance = r.distance;
      h.candidate().valid = ClassCodeOfName(r.row);
      h.ApplyCheck();
      EXPECT_EQ(h.valid(), k.expected);
    }
  }
}

// A square contour ring of outline (image rows), its first point returned.
ContourPoint* LaySquareRing(RowHarness& h, uint16_t kind) {
  return h.Ring({{40, 40}, {40, 120}, {120, 120}, {120, 40}}, kind);
}

// "@Da": a bowl of one stroke round from the upper left to the lower left
// (its rightmost point a corner of 131 degrees) and the stroke of its hole.
void LayDeeBowls(RowHarness& h) {
  const StrokeSegment& s0 =
      h.StrokeWithChain(0, 10, 5, {130, 130, 0, 0, 0, 0, 200, 230},
                        {{20, 245}, {180, 240}, {230, 130}, {180, 20}, {20, 15}});
  h.LinkChain(s0);
  h.StrokeWithChain(1, 0, 0, {140, 130, 0, 0, 0, 0, 100, 150}, {{100, 60}, {180, 130}, {100, 200}});
}

// "@Db": a left stroke, a bowl whose rightmost point is a corner of 93
// degrees and the stroke of the hole.
void LayDeeWithHole(RowHarness& h) {
  h.StrokeWithChain(0, 2, 5, {50, 130, 60, 220, 50, 40, 60, 180}, {{60, 220}, {80, 150}, {50, 40}});
  CornerStroke(h, 1, {130, 130, 100, 0, 0, 0, 200, 240}, 93);
  h.StrokeWithChain(2, 0, 0, {150, 130, 0, 0, 0, 0, 100, 150}, {{100, 200}, {200, 130}, {100, 60}});
}

// "@J": a bar whose first end is a corner of 90 degrees, a hook of code 6x
// (x the sub-kind), its stem and a foot.
template <uint8_t HookSubKind>
void LayJay(RowHarness& h) {
  StrokeSegment& s0 = h.StrokeWithChain(0, 2, 1, {190, 200, 150, 180, 200, 210, 60, 60},
                                        {{100, 100}, {150, 150}, {200, 100}});
  h.LinkChain(s0);
  s0.end1 = s0.pieces[0]->words[1];
  h.StrokeWithChain(1, 6, HookSubKind, {100, 110, 180, 200, 60, 40, 120, 180},
                    {{180, 200}, {60, 40}});
  h.Stroke(2, 2, 1, {100, 120, 120, 200, 60, 100, 100, 150});
  h.Stroke(3, 2, 1, {160, 210, 120, 200, 180, 210, 60, 50});
}

// The same strokes traced from rings of outline on the polygon steps.
void LayDeeBowlsTraced(RowHarness& h) {
  LayDeeBowls(h);
  h.SetStep(0);
  h.PointAt(h.candidate().matchedStroke[0]->end1).sourcePoint = LaySquareRing(h, kContourOuter);
  h.PointAt(h.candidate().matchedStroke[1]->end1).sourcePoint = LaySquareRing(h, kContourHole);
}
void LayDeeWithHoleTraced(RowHarness& h) {
  LayDeeWithHole(h);
  h.SetStep(0);
  h.PointAt(h.candidate().matchedStroke[2]->end1).sourcePoint = LaySquareRing(h, kContourHole);
}
void LayJayTraced(RowHarness& h) {
  LayJay<6>(h);
  h.SetStep(0);
  h.PointAt(h.candidate().matchedStroke[1]->end1).sourcePoint = LaySquareRing(h, kContourOuter);
}

// The tails of "@Da", "@Db" and "@J" measure the outline the strokes were
// traced from: on the thinned steps there is none, and the candidate is
// rejected rather than measured on nothing.
TEST(AtCapitalChecks, OutlineTailsNeedThePolygonSteps) {
  ExpectBoundaries({
      {"@Da on the thinned steps", "@Da", 2, 0, LayDeeBowls, -500, 0},
      {"@Da traced from its rings", "@Da", 2, 0, LayDeeBowlsTraced, -500, 'D'},
      {"@Db on the thinned steps", "@Db", 3, 0, LayDeeWithHole, 0, 0},
      {"@Db traced from its hole", "@Db", 3, 0, LayDeeWithHoleTraced, 0, 'D'},
      {"@J with a hook of code 60: nothing traced is read", "@J", 4, 0, LayJay<0>, 0, 'J'},
      {"@J with a hook of code 66 on the thinned steps", "@J", 4, 0, LayJay<6>, 0, 0},
      {"@J with a hook of code 66 traced from its outline", "@J", 4, 0, LayJayTraced, 0, 'J'},
  });
}

// "@D": a left stroke of code 2x (x the sub-kind) whose second end lies at
// `y2`, a bowl whose rightmost corner has `degrees`, and a stroke inside.
template <uint8_t SubKind, int16_t Y2, int Degrees>
void LayDee(RowHarness& h) {
  h.StrokeWithChain(0, 2, SubKind, {50, 130, 60, 200, 50, Y2, 60, 160},
                    {{50, 200}, {80, 120}, {50, 40}});
  CornerStroke(h, 1, {130, 130, 100, 200, 100, 50, 200, 200}, Degrees);
  h.Stroke(2, 0, 0, {150, 130, 0, 0, 0, 0, 50, 150});
}

TEST(AtCapitalChecks, DeeTestsItsLeftStrokeByItsCode) {
  ExpectBoundaries({
      {"code 26: no more tests", "@D", 3, 0, LayDee<6, 37, 108>, 0, 'D'},
      {"code 25, second end at 37", "@D", 3, 0, LayDee<5, 37, 108>, 0, 0},
      {"corner of 89 degrees", "@D", 3, 0, LayDee<6, 37, 89>, 0, 0},
  });
}

// "@Bc": four strokes, the second of the character's box; its chain turns
// left at its second point and by `turn` (a corner of that many degrees, 0
// for none) the other way at its third.
template <int Corner>
void LayBowls(RowHarness& h) {
  h.StrokeWithChain(0, 3, 2, {180, 150, 175, 100, 170, 150, 50, 100},
                    {{175, 60}, {145, 130}, {175, 200}});
  if (Corner == 0) {
    h.StrokeWithChain(1, 0, 0, {130, 130, 100, 150, 100, 150, 200, 250},
                      {{0, 0}, {100, 0}, {200, 10}});
  } else {
    int drop = 0;
    for (int d = 10; d > -300 && drop == 0; --d) {
      if (AngleAtVertex({200, 10}, {100, 0}, {300, static_cast<int16_t>(10 + d)}) == Corner)
        drop = d;
    }
    EXPECT_NE(drop, 0) << Corner;
    h.StrokeWithChain(1, 0, 0, {130, 130, 100, 150, 100, 150, 200, 250},
                      {{0, 0}, {100, 0}, {200, 10}, {300, 10 + drop}});
  }
  h.Stroke(2, 0, 0, {150, 190, 0, 0, 0, 0, 100, 100});
  h.Stroke(3, 0, 0, {130, 90, 0, 0, 0, 0, 100, 100});
}

TEST(AtCapitalChecks, BowlsTurnOneWayButAtSharpCorners) {
  ExpectBoundaries({
      {"turning back at 155 degrees", "@Bc", 4, 0, LayBowls<155>, 0, 'B'},
      {"turning back at 154 degrees", "@Bc", 4, 0, LayBowls<154>, 0, 0},
      {"three points", "@Bc", 4, 0, LayBowls<0>, 0, 'B'},
  });
  RowHarness h(4, 0, "@Bc");
  LayBowls<154>(h);
  h.SetMask(kCapitalsOnly);
  h.candidate().valid = 'B';
  h.ApplyCheck();
  EXPECT_EQ(h.valid(), 'B') << "without digits the windows decide";
}

// "@B": six strokes within their windows; the second, of the waist, runs
// through the points given (frame units).
void LayBee(RowHarness& h, uint8_t waistSubKind, const std::vector<std::pair<int, int>>& waist) {
  h.Stroke(0, 2, 1, {130, 180, 100, 150, 150, 150, 120, 100});
  h.StrokeWithChain(1, 2, waistSubKind, {80, 130, 100, 200, 80, 50, 100, 160}, waist);
  h.StrokeWithChain(2, 3, 2, {180, 150, 180, 100, 180, 160, 50, 100},
                    {{180, 100}, {150, 150}, {180, 200}});
  h.Stroke(3, 2, 1, {130, 100, 150, 150, 110, 0, 120, 100});
  h.Stroke(4, 0, 0, {150, 190, 0, 0, 0, 0, 100, 100});
  h.Stroke(5, 0, 0, {150, 80, 0, 0, 0, 0, 100, 100});
}

TEST(AtCapitalChecks, BeeWaistTurnsAtTheRightHeight) {
  struct Case {
    const char* what;
    uint8_t subKind;
    std::vector<std::pair<int, int>> waist;
    uint32_t mask;
    uint16_t expected;
  };
  const Case cases[] = {
      // One point is both the upper-right and the upper-left extreme: the
      // rightmost point, at a middle height, is at most 48 right of the
      // lowest-left one.
      {"sharp turn, right 48 beyond the lower left",
       1,
       {{102, 0}, {150, 120}, {100, 250}},
       kDigitsAndCapitals,
       'B'},
      {"sharp turn, right 49 beyond the lower left",
       1,
       {{101, 0}, {150, 120}, {100, 250}},
       kDigitsAndCapitals,
       0},
      {"sharp turn, rightmost point low",
       1,
       {{10, 0}, {150, 90}, {100, 250}},
       kDigitsAndCapitals,
       'B'},
      // Otherwise the upper left lies 26 to 54 above the upper right, and
      // at least 215 above the lowest-left point when the rightmost point
      // lies at 134..169.
      {"rise 25", 1, {{50, 194}, {200, 169}, {60, 8}}, kDigitsAndCapitals, 'B'},
      {"rise 55", 1, {{50, 224}, {200, 169}, {60, 8}}, kDigitsAndCapitals, 0},
      {"rise 54, 215 above the lower left",
       1,
       {{50, 223}, {200, 169}, {60, 8}},
       kDigitsAndCapitals,
       'B'},
      {"rise 54, 214 above the lower left",
       1,
       {{50, 223}, {200, 169}, {60, 9}},
       kDigitsAndCapitals,
       0},
      {"capitals only", 1, {{50, 224}, {200, 169}, {60, 8}}, kCapitalsOnly, 'B'},
      {"waist of sub-kind 3", 3, {{50, 224}, {200, 169}, {60, 8}}, kDigitsAndCapitals, 'B'},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    RowHarness h(6, 0, "@B");
    LayBee(h, k.subKind, k.waist);
    h.SetMask(k.mask);
    h.candidate().valid = 'B';
    h.ApplyCheck();
    EXPECT_EQ(h.valid(), k.expected);
  }
}

// "@L" of code 40: the lowest-left point of its outline stroke (x + y).
template <int LowLeftX>
void LayEl(RowHarness& h) {
  h.StrokeWithChain(0, 4, 0, {120, 110, 180, 60, 100, 150, 100, 100},
                    {{180, 60}, {90, 60}, {100, 150}});
  h.StrokeWithChain(1, 10, 5, {130, 130, 120, 60, 100, 60, 150, 200},
                    {{LowLeftX, 46}, {150, 100}, {60, 200}});
}

TEST(AtCapitalChecks, FootOfAnElByItsCode) {
  ExpectBoundaries({
      {"lowest left point at x + y 92", "@L", 2, 0, LayEl<46>, 0, 'L'},
      {"lowest left point at x + y 93", "@L", 2, 0, LayEl<47>, 0, 0},
  });
}

// "@U": a cup and the stroke of the character's box.
void LayCup(RowHarness& h) {
  h.StrokeWithChain(0, 4, 3, {128, 120, 190, 200, 60, 200, 150, 160},
                    {{190, 200}, {128, 60}, {60, 200}});
  h.Stroke(1, 10, 5, {130, 130, 100, 0, 100, 0, 150, 200});
}

TEST(AtCapitalChecks, ThresholdsAndWindows) {
  ExpectBoundaries({
      {"@U within its threshold", "@U", 2, 0, LayCup, 485, 'U'},
      {"@U one above its threshold", "@U", 2, 0, LayCup, 486, 0},
      // A bound "= 0" on a halved difference takes differences of -1..1.
      {"@Va, ends of its bowl one apart", "@Va", 3, 0,
       [](RowHarness& h) {
         h.Stroke(0, 2, 3, {80, 120, 50, 200, 100, 40, 100, 160});
         CornerStroke(h, 1, {130, 130, 101, 150, 100, 150, 160, 200}, 80);
         h.Stroke(2, 0, 0, {150, 150, 0, 0, 0, 0, 50, 100});
       },
       0, 'V'},
      {"@Va, ends of its bowl two apart", "@Va", 3, 0,
       [](RowHarness& h) {
         h.Stroke(0, 2, 3, {80, 120, 50, 200, 100, 40, 100, 160});
         CornerStroke(h, 1, {130, 130, 102, 150, 100, 150, 160, 200}, 80);
         h.Stroke(2, 0, 0, {150, 150, 0, 0, 0, 0, 50, 100});
       },
       0, 0},
  });
}

// "@W": five strokes within their windows and a last one ending at (X2,
// Y2), its first end at X1.
template <int16_t X1, int16_t X2, int16_t Y2>
void LayDoubleU(RowHarness& h) {
  h.Stroke(0, 2, 1, {100, 70, 80, 60, 120, 60, 50, 50});
  h.Stroke(1, 2, 1, {60, 100, 100, 100, 80, 100, 50, 120});
  h.Stroke(2, 2, 1, {80, 150, 120, 150, 80, 150, 50, 100});
  h.Stroke(3, 2, 1, {120, 100, 80, 100, 120, 100, 60, 60});
  h.Stroke(4, 2, 1, {180, 150, 180, 170, 130, 170, 50, 100});
  h.Stroke(5, 2, 1, {180, 150, X1, 150, X2, Y2, 50, 120});
}

TEST(AtCapitalChecks, DoubleUEndsItsLastStrokeAwayFromTheLowerLeft) {
  ExpectBoundaries({
      {"x2 74, y2 129", "@W", 6, 0, LayDoubleU<150, 74, 129>, 0, 0},
      {"x2 74, y2 128", "@W", 6, 0, LayDoubleU<150, 74, 128>, 0, 'W'},
      {"x2 75, y2 200", "@W", 6, 0, LayDoubleU<150, 75, 200>, 0, 'W'},
      {"x2 75, first end too far right", "@W", 6, 0, LayDoubleU<227, 75, 200>, 0, 0},
  });
}

// "@T": its bar's outline stroke, bending left of its chord, and its stem.
void LayTeeTop(RowHarness& h) {
  h.StrokeWithChain(0, 2, 3, {170, 150, 150, 100, 200, 200, 100, 150},
                    {{150, 100}, {139, 168}, {200, 200}});
  h.Stroke(1, 4, 7, {130, 100, 150, 150, 140, 100, 50, 150});
}

// Candidates within their windows up to the feature a row bounds twice,
// which is given.
template <int16_t W, int16_t H>
void LayGbArc(RowHarness& h) {  // "@Gb": S1's w and h
  h.Stroke(0, 2, 1, {150, 200, 170, 150, 150, 180, 100, 100});
  h.Stroke(1, 2, 1, {150, 150, 100, 150, 140, 140, W, H});
}
template <int16_t X1>
void LayPaStem(RowHarness& h) {  // "@Pa": S2.x1
  h.Stroke(0, 2, 1, {120, 70, 80, 20, 120, 100, 50, 100});
  h.Stroke(1, 2, 1, {80, 80, 90, 100, 80, 100, 50, 100});
  h.Stroke(2, 2, 1, {80, 150, X1, 200, 100, 120, 50, 100});
}
template <int16_t X1>
void LayTeeSide(RowHarness& h) {  // "@T": S2.x1
  LayTeeTop(h);
  h.Stroke(2, 2, 1, {70, 120, X1, 200, 100, 150, 50, 100});
}
template <int16_t Cy>
void LayVeeTop(RowHarness& h) {  // "@V": S3.cy
  h.Stroke(0, 2, 1, {150, 150, 150, 100, 190, 200, 100, 150});
  h.Stroke(1, 2, 1, {130, 110, 190, 170, 120, 160, 100, 150});
  h.Stroke(2, 2, 1, {80, 120, 40, 200, 100, 100, 100, 150});
  h.Stroke(3, 2, 1, {130, Cy, 60, 180, 200, 190, 170, 50});
}

// The line that decided a row on the candidate `lay` makes.
int DecidingLine(const char* row, int strokes, void (*lay)(RowHarness&)) {
  RowHarness h(strokes, 0, row);
  lay(h);
  h.candidate().distance = 0;
  g_lastCheckVerdict = {};
  h.ApplyCheck();
  EXPECT_TRUE(g_lastCheckVerdict.rejected);
  return g_lastCheckVerdict.line;
}

// Rows that bound one feature twice the same way hold both bounds: a value
// between them is decided by the same test as one far outside, a value
// within both goes on to the next test.
TEST(AtCapitalChecks, FeaturesBoundedTwice) {
  struct Case {
    const char* what;
    const char* row;
    int strokes;
    void (*outside)(RowHarness&);  // far outside both bounds
    void (*between)(RowHarness&);  // within the looser bound only
    void (*within)(RowHarness&);   // within both
  };
  const Case cases[] = {
      {"@Gb S1.w (70..210, <= 205)", "@Gb", 7, LayGbArc<300, 80>, LayGbArc<206, 80>,
       LayGbArc<205, 80>},
      {"@Gb S1.h (<= 80, <= 215)", "@Gb", 7, LayGbArc<100, 300>, LayGbArc<100, 81>,
       LayGbArc<100, 80>},
      {"@Pa S2.x1 (<= 100, <= 118)", "@Pa", 5, LayPaStem<180>, LayPaStem<101>, LayPaStem<100>},
      {"@T S2.x1 (<= 230, <= 95)", "@T", 4, LayTeeSide<231>, LayTeeSide<96>, LayTeeSide<95>},
      {"@V S3.cy (>= 145, >= 179)", "@V", 5, LayVeeTop<100>, LayVeeTop<178>, LayVeeTop<179>},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    const int window = DecidingLine(k.row, k.strokes, k.outside);
    EXPECT_EQ(DecidingLine(k.row, k.strokes, k.between), window);
    EXPECT_NE(DecidingLine(k.row, k.strokes, k.within), window);
  }
}

// "@M": its first stroke running up from (100, 50) to (100, 200), bent by
// `offset` pixels at its middle (the frame is the pixels).
void LayEm(RowHarness& h, int offset) {
  h.StrokeWithChain(0, 2, 1, {180, 130, 150, 100, 170, 120, 100, 150},
                    {{100, 50}, {100 + offset, 125}, {100, 200}});
}

TEST(AtCapitalChecks, EmBendsItsFirstStrokeEitherWay) {
  struct Case {
    int offset;
    int32_t bend;  // as measured, with the row's mode
    bool decided;  // by the bend's test
  };
  // A chain bent left measures one unit less than its offset.
  const Case cases[] = {
      {0, 0, true}, {19, 19, true}, {20, 20, false}, {-20, -19, true}, {-21, -20, false}};
  auto line = [](int offset) {
    RowHarness h(6, 0, "@M");
    LayEm(h, offset);
    g_lastCheckVerdict = {};
    h.ApplyCheck();
    return g_lastCheckVerdict.line;
  };
  const int bendTest = line(0);
  for (const Case& k : cases) {
    SCOPED_TRACE(k.offset);
    RowHarness h(6, 0, "@M");
    LayEm(h, k.offset);
    CheckContext c = h.Context();
    EXPECT_EQ(c.Mcn(c.S(0), kMcnOffsets128).dev, k.bend);
    EXPECT_EQ(line(k.offset) == bendTest, k.decided);
  }
}

// "@A" tests nothing beyond its windows, whatever the set reads.
TEST(AtCapitalChecks, AyKeepsWhatItsWindowsKeep) {
  for (const uint32_t mask : {kCapitalsOnly, kDigitsAndCapitals}) {
    RowHarness h(3, 0, "@A");
    h.StrokeWithChain(0, 4, 3, {128, 60, 100, 50, 150, 50, 100, 100},
                      {{70, 40}, {128, 90}, {190, 40}});
    h.Stroke(1, 10, 5, {130, 130, 100, 140, 120, 150, 150, 220});
    h.Stroke(2, 0, 0, {130, 150, 0, 0, 0, 0, 50, 100});
    h.SetMask(mask);
    h.candidate().valid = 'A';
    h.ApplyCheck();
    EXPECT_EQ(h.valid(), 'A') << mask;
  }
}

// A ring of outline whose top runs from (130, 20) left to (50, 20), a dip of
// `dip` pixels (rows grow downward; negative: a rise) at its middle; its
// first point (140, 60) and the one after the top (40, 60) are returned.
struct Waist {
  ContourPoint* from;
  ContourPoint* to;
};
Waist LayWaistRing(RowHarness& h, int dip) {
  ContourPoint* from = h.Ring({{140, 60},
                               {130, 20},
                               {125, 20},
                               {120, 20},
                               {110, 20},
                               {100, 20},
                               {90, 20 + dip},
                               {80, 20},
                               {70, 20},
                               {60, 20},
                               {55, 20},
                               {50, 20},
                               {40, 60},
                               {40, 100},
                               {140, 100}});
  ContourPoint* to = from;
  for (int i = 0; i < 12; ++i) to = to->next;
  return {from, to};
}

// "@Sa": four strokes within their windows; the outline of the waist runs
// from the end of the first to the start of the last, whose code, lower
// right corner (x of its box, 0..255) and the waist's dip are given.
struct WaistCase {
  const char* what;
  uint8_t kind, subKind;
  int lowRightX;
  int dip;
  int16_t frameOffsetX;
  uint32_t mask;
  uint16_t expected;
};

void LayEss(RowHarness& h, const WaistCase& k) {
  h.SetStep(0);
  const Waist waist = LayWaistRing(h, k.dip);
  const StrokeSegment& s0 =
      h.StrokeWithChain(0, 2, 1, {150, 170, 140, 130, 150, 200, 50, 80}, {{140, 130}, {150, 200}});
  h.PointAt(s0.end2).sourcePoint = waist.from;
  h.Stroke(1, 2, 1, {130, 100, 140, 140, 100, 100, 80, 100});
  h.Stroke(2, 2, 1, {120, 100, 120, 120, 100, 100, 60, 80});
  const StrokeSegment& s3 =
      h.StrokeWithChain(3, k.kind, k.subKind, {130, 170, 120, 140, 100, 180, 100, 100},
                        {{0, 255}, {k.lowRightX, 0}, {255, 200}});
  h.PointAt(s3.end1).sourcePoint = waist.to;
  h.frame().offsetX = k.frameOffsetX;
}

TEST(AtCapitalChecks, EssWaistByItsLastStrokesCode) {
  // The dip is measured in frame units (here pixels); a rise of 23 pixels
  // measures -22, one of 22 measures -21.
  const WaistCase cases[] = {
      {"code 72, corner at 190, dip 7", 7, 2, 190, 7, 0, kDigitsAndCapitals, 'S'},
      {"code 72, corner at 190, dip 8", 7, 2, 190, 8, 0, kDigitsAndCapitals, 0},
      {"code 72, corner at 189", 7, 2, 189, 0, 0, kDigitsAndCapitals, 0},
      {"code 72, corner at 189, capitals only", 7, 2, 189, 0, 0, kCapitalsOnly, 'S'},
      {"code 101, at least as wide as tall", 10, 1, 190, 0, 0, kDigitsAndCapitals, 'S'},
      {"code 101, offset 66", 10, 1, 190, -30, 66, kDigitsAndCapitals, 0},
      {"code 101, offset 60, rise 23", 10, 1, 190, -23, 60, kDigitsAndCapitals, 'S'},
      {"code 101, offset 60, rise 22", 10, 1, 190, -22, 60, kDigitsAndCapitals, 0},
      {"code 73", 7, 3, 0, 40, 0, kDigitsAndCapitals, 'S'},
      {"code 80", 8, 0, 0, 40, 0, kDigitsAndCapitals, 'S'},
      {"code 110", 11, 0, 0, 40, 0, kDigitsAndCapitals, 'S'},
  };
  for (const WaistCase& k : cases) {
    SCOPED_TRACE(k.what);
    RowHarness h(4, 0, "@Sa");
    LayEss(h, k);
    h.SetMask(k.mask);
    h.candidate().valid = 'S';
    h.ApplyCheck();
    EXPECT_EQ(h.valid(), k.expected);
  }
  // Without the contour points its strokes were traced from (the thinned
  // steps record pairs), the waist cannot be measured.
  RowHarness h(4, 0, "@Sa");
  LayEss(h, cases[0]);
  h.PointAt(h.candidate().matchedStroke[3]->end1).sourcePoint = nullptr;
  h.ApplyCheck();
  EXPECT_EQ(h.valid(), 0);
}

// "@T" whose bar was traced from an outline whose top rises `bulge` units in
// the middle between its upper corners.
void LayTeeRing(RowHarness& h, int bulge) {
  h.SetStep(0);
  ContourPoint* outline = modelkit::LayBarOutline(h, bulge);
  LayTeeTop(h);
  h.StrokeWithChain(2, 2, 1, {70, 120, 90, 200, 100, 150, 50, 100},
                    {{40, 150}, {70, 160}, {100, 150}});
  h.Stroke(3, 2, 1, {130, 200, 100, 200, 150, 200, 120, 50});
  h.PointAt(h.candidate().matchedStroke[0]->end1).sourcePoint = outline;
}

TEST(AtCapitalChecks, TeeBarBulgesAtMost31Units) {
  struct Case {
    int bulge;
    uint16_t expected;
  };
  for (const Case& k : {Case{0, 'T'}, Case{31, 'T'}, Case{32, 0}}) {
    SCOPED_TRACE(k.bulge);
    RowHarness h(4, 0, "@T");
    LayTeeRing(h, k.bulge);
    h.candidate().valid = 'T';
    h.ApplyCheck();
    EXPECT_EQ(h.valid(), k.expected);
  }
  RowHarness h(4, 0, "@T");
  LayTeeRing(h, 0);
  h.PointAt(h.candidate().matchedStroke[0]->end1).sourcePoint = nullptr;
  h.ApplyCheck();
  EXPECT_EQ(h.valid(), 0) << "no contour point to measure the bar on";
}

}  // namespace
