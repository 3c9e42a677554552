// The digit checks on pen-drawn characters: for each digit, models derived
// from a clean drawing with the stroke roles the rows expect, the shapes
// each row accepts and the near misses it rejects (a near miss still matches
// the model; the row decides). Then the thresholds that matter on exact
// feature values, absent strokes and points, and the re-reading of a hooked
// stroke as a 3.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "ocrlib/checks/check_kit.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/check_trials.h"

namespace {

using modelkit::ExpectBoundaries;
using modelkit::ExpectTrialsDecidedByRow;
using modelkit::kDigitsAndCapitals;
using modelkit::kDigitsOnly;
using modelkit::LooseJunction;
using modelkit::RowHarness;
using penkit::Figure;

constexpr double kPen = modelkit::kTrialPen;
constexpr double kPi = 3.14159265358979323846;

// A short straight stroke the drawing lacks, at a frame position.
AuthoredStroke ShortStroke(int16_t cx, int16_t cy) {
  AuthoredStroke s;
  s.codes = {10, 11, 12, 13};
  s.mean = {cx, cy, 0, 0, 10, 10, 20, 0};
  s.spread = {24, 24, 24, 24, 24, 24, 24, 24};
  return s;
}

const Figure kRing = Figure().Circle({40, 50}, 30);
const Figure kOpenRing = Figure().Arc({40, 50}, 30, -60, 250);
const Figure kBar = Figure().Line({30, 10}, {30, 90});
const Figure kTwo = Figure().Arc({40, 35}, 22, 180, 360).Polyline({{62, 35}, {15, 90}, {65, 90}});
const Figure kThree = Figure().Arc({40, 30}, 20, 200, 450).Arc({40, 70}, 20, 270, 520);
const Figure kFour = Figure().Polyline({{45, 10}, {10, 65}, {65, 65}}).Line({45, 30}, {45, 95});
const Figure kFive = Figure().Polyline({{60, 10}, {20, 10}, {18, 45}}).Arc({38, 65}, 24, 220, 500);
const Figure kSix = Figure().Arc({40, 68}, 22, 0, 360).Polyline({{55, 10}, {30, 30}, {18, 68}});
const Figure kSeven = Figure().Polyline({{10, 10}, {60, 10}, {30, 90}});
const Figure kEight = Figure().Circle({40, 30}, 18).Circle({40, 72}, 22);
const Figure kNine = Figure().Circle({40, 32}, 22).Line({62, 32}, {55, 95});

// An 8 of a ring and an arch standing on it, the arch's feet `waist`
// pixels either side of the middle.
Figure ArchOnRing(double waist) {
  const double ringR = 26, ringY = 68, top = 10;
  const double footY = ringY - std::sqrt(ringR * ringR - waist * waist);
  const double archY = (waist * waist + footY * footY - top * top) / (2 * (footY - top));
  const double foot = std::atan2(footY - archY, waist) * 180 / kPi;
  return Figure().Arc({40, archY}, archY - top, 180 - foot, 360 + foot).Circle({40, ringY}, ringR);
}

// A 4 with a closed head, drawn in one stroke down from the bar's right end:
// up the stem, down to the bar's left end, along the bar and down the stem.
Figure ClosedFour(double barY) {
  return Figure().Polyline({{62, barY}, {62, 10}, {20, barY}, {62, barY}, {60, 95}});
}

ModelDerivation WithShortStroke(int16_t cx, int16_t cy, std::vector<int> roles = {}) {
  ModelDerivation how;
  how.extra = {{0, ShortStroke(cx, cy)}};
  how.roles = std::move(roles);
  return how;
}

TEST(DigitChecks, Zeros) {
  // A "D" is a ring too, but its square corners fail the outline test once
  // digits and capitals are read together.
  const Figure dee = Figure()
                         .Polyline({{20, 20}, {45, 20}})
                         .Arc({45, 50}, 30, -90, 90)
                         .Polyline({{45, 80}, {20, 80}, {20, 20}});
  ExpectTrialsDecidedByRow({"0", kRing, WithShortStroke(128, 250), {}},
                           {{"ring", kRing, kDigitsAndCapitals, '0'},
                            {"D, digits only", dee, kDigitsOnly, '0'},
                            {"D", dee, kDigitsAndCapitals, 0}});
  ExpectTrialsDecidedByRow({"0a", kOpenRing, {}, {}},
                           {{"open ring", kOpenRing, kDigitsAndCapitals, '0'}});
  // An open ring whose gap lies low on the left bends its chord's offset
  // past the row's bound.
  const Figure gapLeft = Figure().Arc({40, 50}, 30, 200, 500);
  ExpectTrialsDecidedByRow({"0b", gapLeft, {}, {}},
                           {{"gap low on the left", gapLeft, kDigitsAndCapitals, 0}});
  ExpectTrialsDecidedByRow({"0b", kOpenRing, {}, {}},
                           {{"gap at the top", kOpenRing, kDigitsAndCapitals, '0'}});
}

TEST(DigitChecks, Ones) {
  // Straight strokes of any lean may play the model; the row limits a
  // leaning one's distance (code 13 up to 1300) below the class threshold.
  ModelDerivation tight;
  tight.spread = {8, 8, 8, 8, 8, 8, 8, 8};
  ExpectTrialsDecidedByRow(
      {"1", kBar, tight, {11, 12, 13}},
      {{"upright", kBar, kDigitsAndCapitals, '1'},
       {"leaning a little", Figure().Line({24, 10}, {36, 90}), kDigitsAndCapitals, '1'},
       {"leaning far", Figure().Line({18, 10}, {42, 90}), kDigitsAndCapitals, 0},
       {"beyond the threshold", Figure().Line({16, 10}, {44, 90}), kDigitsAndCapitals, 0, true}});
  const Figure flag = Figure().Polyline({{18, 25}, {32, 10}, {32, 90}});
  ExpectTrialsDecidedByRow(
      {"1b", flag, {}, {}},
      {{"short flag", Figure().Polyline({{22, 22}, {32, 10}, {32, 90}}), kDigitsAndCapitals, '1'},
       {"long flag", Figure().Polyline({{14, 30}, {32, 10}, {32, 90}}), kDigitsAndCapitals, 0}});
  const Figure foot = Figure().Polyline({{30, 10}, {30, 90}, {45, 90}});
  ExpectTrialsDecidedByRow(
      {"1c", foot, {}, {}},
      {{"short foot", foot, kDigitsAndCapitals, '1'},
       {"long foot", Figure().Polyline({{30, 10}, {30, 90}, {60, 90}}), kDigitsAndCapitals, 0},
       {"leaning stem", Figure().Polyline({{30, 10}, {26, 90}, {45, 90}}), kDigitsAndCapitals, 0}});
}

TEST(DigitChecks, TwosThreesAndFours) {
  ExpectTrialsDecidedByRow(
      {"2", kTwo, {}, {}},
      {{"2", kTwo, kDigitsAndCapitals, '2'},
       {"shorter base",
        Figure().Arc({40, 35}, 22, 180, 360).Polyline({{62, 35}, {15, 90}, {40, 90}}),
        kDigitsAndCapitals, '2'},
       {"stub of a base",
        Figure().Arc({40, 35}, 22, 180, 360).Polyline({{62, 35}, {15, 90}, {30, 90}}),
        kDigitsAndCapitals, 0}});
  // The upper stroke of a 3 starts high on the left: one that starts below
  // its bowl's middle curls the bowl shut. And its bowl is no stub.
  ExpectTrialsDecidedByRow(
      {"3", kThree, {}, {}, true},
      {{"3", kThree, kDigitsAndCapitals, '3'},
       {"smaller upper bowl", Figure().Arc({40, 26}, 16, 200, 450).Arc({40, 66}, 24, 270, 520),
        kDigitsAndCapitals, '3'},
       {"upper stroke started at the side",
        Figure().Arc({40, 30}, 20, 150, 450).Arc({40, 70}, 20, 270, 520), kDigitsAndCapitals, '3'},
       {"upper bowl curled shut", Figure().Arc({40, 30}, 20, 120, 450).Arc({40, 70}, 20, 270, 520),
        kDigitsAndCapitals, 0},
       {"stub of an upper bowl", Figure().Arc({40, 17}, 7, 200, 450).Arc({40, 57}, 33, 270, 520),
        kDigitsAndCapitals, 0}});
  // A 4's slanted stroke comes down from the top: one that starts below the
  // middle is a stub on a cross.
  ModelDerivation four;
  four.pointRoles = {1};
  four.extraPoints = {{0, LooseJunction(128, 200)}};
  ExpectTrialsDecidedByRow(
      {"4", kFour, four, {}},
      {{"4", kFour, kDigitsAndCapitals, '4'},
       {"bar started low",
        Figure().Polyline({{45, 10}, {10, 65}, {65, 65}}).Line({45, 45}, {45, 95}),
        kDigitsAndCapitals, '4'},
       {"slanted stroke started at the middle",
        Figure().Polyline({{26, 35}, {10, 65}, {65, 65}}).Line({45, 10}, {45, 95}),
        kDigitsAndCapitals, '4'},
       {"slanted stroke a stub",
        Figure().Polyline({{20, 50}, {10, 65}, {65, 65}}).Line({45, 10}, {45, 95}),
        kDigitsAndCapitals, 0}});
  // A 4 whose stem hangs from its bar (the junction a T): the bar must lie
  // low, and the stem below it must be one.
  const Figure hung = Figure().Polyline({{45, 10}, {10, 65}, {65, 65}}).Line({45, 65}, {45, 95});
  ExpectTrialsDecidedByRow(
      {"4", hung, four, {}},
      {{"stem hung from the bar", hung, kDigitsAndCapitals, '4'},
       {"bar a little higher",
        Figure().Polyline({{45, 0}, {10, 55}, {65, 55}}).Line({45, 55}, {45, 95}),
        kDigitsAndCapitals, '4'},
       {"bar above the middle",
        Figure().Polyline({{29, 10}, {10, 40}, {65, 40}}).Line({45, 40}, {45, 95}),
        kDigitsAndCapitals, 0},
       {"stub of a stem",
        Figure().Polyline({{45, 20}, {10, 75}, {65, 75}}).Line({45, 75}, {45, 95}),
        kDigitsAndCapitals, 0}});
}

TEST(DigitChecks, FivesSixesAndSevens) {
  ModelDerivation five;
  five.roles = {1, 0};
  ExpectTrialsDecidedByRow({"5", kFive, five, {}}, {{"5", kFive, kDigitsAndCapitals, '5'},
                                                    {"5, digits only", kFive, kDigitsOnly, '5'}});
  // A 6 whose tail ends low: the row of a long tail takes it, that of a
  // short one does not.
  ExpectTrialsDecidedByRow({"6a", kSix, {}, {}}, {{"6", kSix, kDigitsAndCapitals, '6'}});
  ExpectTrialsDecidedByRow({"6b", kSix, {}, {}}, {{"6", kSix, kDigitsAndCapitals, 0}});
  // Without its short top stroke, a 7's stem bends at its top corner; a top
  // too short leaves it almost straight.
  ExpectTrialsDecidedByRow(
      {"7", kSeven, WithShortStroke(60, 240), {}},
      {{"7", kSeven, kDigitsAndCapitals, '7'},
       {"shorter top", Figure().Polyline({{35, 10}, {60, 10}, {30, 90}}), kDigitsAndCapitals, '7'},
       {"stub of a top", Figure().Polyline({{45, 10}, {60, 10}, {30, 90}}), kDigitsAndCapitals,
        0}});
}

TEST(DigitChecks, EightsAndNines) {
  ModelDerivation eight = WithShortStroke(20, 20, {2, 1});
  eight.pointRoles = {1};
  eight.extraPoints = {{0, LooseJunction(30, 30)}};
  ExpectTrialsDecidedByRow(
      {"8", kEight, eight, {}},
      {{"8", kEight, kDigitsAndCapitals, '8'},
       {"lower bowl moved right", Figure().Circle({40, 30}, 18).Circle({48, 72}, 22),
        kDigitsAndCapitals, '8'}});
  // An 8 of an arch standing on a ring: the arch's feet mark its waist,
  // which must stay narrower than the ring.
  ExpectTrialsDecidedByRow({"8k", ArchOnRing(8), {}, {}},
                           {{"arch on a ring", ArchOnRing(8), kDigitsAndCapitals, '8'},
                            {"wider waist", ArchOnRing(14), kDigitsAndCapitals, '8'},
                            {"waist too wide", ArchOnRing(20), kDigitsAndCapitals, 0}});
  // A 9 whose head is a triangle is a closed 4: the outline from its top to
  // its left corner runs straight (bar at the middle), or the stroke from
  // the top runs straight down as a stem does (bar low).
  ExpectTrialsDecidedByRow({"9", kNine, WithShortStroke(20, 20, {1}), {}, true},
                           {{"9", kNine, kDigitsAndCapitals, '9'},
                            {"head a triangle", ClosedFour(50), kDigitsAndCapitals, 0},
                            {"head a triangle, bar low", ClosedFour(65), kDigitsAndCapitals, 0}});
}

TEST(DigitChecks, AtDigitsOnPolygonOutlines) {
  ModelDerivation polygon;
  polygon.step = 0;
  ExpectTrialsDecidedByRow({"@1", kBar, polygon, {}}, {{"bar", kBar, kDigitsAndCapitals, '1'}});
  ExpectTrialsDecidedByRow(
      {"@0", kRing, polygon, {}},
      {{"ring, digits only", kRing, kDigitsOnly, '0'}, {"ring", kRing, kDigitsAndCapitals, '0'}});
  // A 7 of a short top and a tall stem is read as a 1; a wide one fails the
  // stem's bounds.
  const Figure tall = Figure().Polyline({{22, 10}, {42, 10}, {30, 90}});
  ExpectTrialsDecidedByRow({"@7", tall, polygon, {}}, {{"tall 7", tall, kDigitsAndCapitals, '1'}});
  ExpectTrialsDecidedByRow({"@7", kSeven, polygon, {}}, {{"7", kSeven, kDigitsAndCapitals, '7'}});
  const Figure wide = Figure().Polyline({{10, 10}, {90, 10}, {50, 60}});
  ExpectTrialsDecidedByRow({"@7", wide, polygon, {}}, {{"wide 7", wide, kDigitsAndCapitals, 0}});
  ExpectTrialsDecidedByRow({"@6", kSix, polygon, {}}, {{"6", kSix, kDigitsAndCapitals, '6'}});
}

// A 3 whose bowls meet `degrees` round from their inner ends towards the
// right, joined there by a short upright.
Figure ThreeMeetingRight(double degrees) {
  const double x = 40 + 20 * std::sin(degrees * kPi / 180);
  const double dy = 20 * std::cos(degrees * kPi / 180);
  return Figure()
      .Arc({40, 30}, 20, 200, 450 - degrees)
      .Line({x, 30 + dy}, {x, 70 - dy})
      .Arc({40, 70}, 20, 270 + degrees, 520);
}

TEST(DigitChecks, AtDigitNearMisses) {
  ModelDerivation polygon;
  polygon.step = 0;
  // The middle of a 3 reaches in between its bowls.
  ExpectTrialsDecidedByRow(
      {"@3", kThree, polygon, {}, true},
      {{"3", kThree, kDigitsAndCapitals, '3'},
       {"bowls meeting right of the middle", ThreeMeetingRight(30), kDigitsAndCapitals, '3'},
       {"middle not reaching in", ThreeMeetingRight(46), kDigitsAndCapitals, 0}});
  ExpectTrialsDecidedByRow(
      {"@4", kFour, polygon, {}, true},
      {{"4", kFour, kDigitsAndCapitals, '4'},
       {"slanted stroke a stub",
        Figure().Polyline({{20, 50}, {10, 65}, {65, 65}}).Line({45, 10}, {45, 95}),
        kDigitsAndCapitals, 0}});
  ExpectTrialsDecidedByRow(
      {"@8", kEight, polygon, {}, true},
      {{"8", kEight, kDigitsAndCapitals, '8'},
       {"smaller upper loop", Figure().Circle({40, 24}, 14).Circle({40, 68}, 28),
        kDigitsAndCapitals, '8'},
       {"upper loop too small", Figure().Circle({40, 21}, 11).Circle({40, 65}, 31),
        kDigitsAndCapitals, 0}});
  // The loop of a pen-drawn 9 is the hole of its outline: the row's third
  // stroke.
  ExpectTrialsDecidedByRow(
      {"@9", kNine, polygon, {}, true},
      {{"9", kNine, kDigitsAndCapitals, '9'},
       {"shorter tail", Figure().Circle({40, 32}, 22).Line({62, 32}, {56, 85}), kDigitsAndCapitals,
        '9'},
       {"stub of a tail", Figure().Circle({40, 32}, 22).Line({62, 32}, {58, 65}),
        kDigitsAndCapitals, 0}});
}

// A 4 whose closed head lies on a low bar matches the 9's model; the "@9"
// row reads it as the 4 it is, at distance 0.
TEST(DigitChecks, AtNineReadsAClosedFourAsFour) {
  ModelDerivation polygon;
  polygon.step = 0;
  const modelkit::TrialDecision d =
      modelkit::DecideTrial({"@9", kNine, polygon, {}, true}, ClosedFour(70), kDigitsAndCapitals);
  ASSERT_TRUE(d.matched);
  EXPECT_EQ(d.valid, '4') << "decided at line " << d.verdict.line;
  EXPECT_EQ(d.distance, 0);
  EXPECT_EQ(d.routine, "@9");
}

// ---- exact feature values ---------------------------------------------------------
// A ring filling the frame as S1 of "0".
void ZeroRing(RowHarness& h) { h.Stroke(1, 0, 0, {128, 130, 0, 0, 0, 0, 256, 252}); }
// A full-height upright bar as S0 of the "@" models.
template <int16_t Height>
void AtBar(RowHarness& h) {
  h.Stroke(0, 0, 0, {130, 130, 0, 0, 0, 0, 20, Height});
}

TEST(DigitChecks, ThresholdsThatMatter) {
  ExpectBoundaries({
      // "0" without its short stroke takes distances up to 1000 only.
      {"short stroke absent, 1000", "0", 2, 1, ZeroRing, 1000, '0'},
      {"short stroke absent, 1001", "0", 2, 1, ZeroRing, 1001, 0},
      // "2c" without its second stroke: up to 1050.
      {"second stroke absent, 1050", "2c", 2, 1,
       [](RowHarness& h) {
         h.Stroke(0, 3, 2, {120, 130, 100, 200, 150, 90, 120, 200});
       },
       1050, '2'},
      {"second stroke absent, 1051", "2c", 2, 1,
       [](RowHarness& h) {
         h.Stroke(0, 3, 2, {120, 130, 100, 200, 150, 90, 120, 200});
       },
       1051, 0},
      // "@1" passes distances up to 10, and needs a stroke of full height.
      {"full height", "@1", 1, 0, AtBar<255>, 10, '1'},
      {"one short of full height", "@1", 1, 0, AtBar<254>, 10, 0},
      {"distance 11", "@1", 1, 0, AtBar<255>, 11, 0},
      // "1c" has threshold 0.
      {"distance 0", "1c", 1, 0,
       [](RowHarness& h) {
         h.Stroke(0, 2, 1, {128, 128, 150, 0, 100, 256, 50, 256});
       },
       0, '1'},
      {"distance 1", "1c", 1, 0,
       [](RowHarness& h) {
         h.Stroke(0, 2, 1, {128, 128, 150, 0, 100, 256, 50, 256});
       },
       1, 0},
      // "3a" takes any stroke high enough whose second end is not above its first.
      {"rising", "3a", 1, 0,
       [](RowHarness& h) {
         h.Stroke(0, 3, 2, {100, 150, 10, 200, 200, 200, 1, 1});
       },
       0, '3'},
      {"falling a little, close ends", "3a", 1, 0,
       [](RowHarness& h) {
         h.Stroke(0, 3, 2, {100, 150, 100, 150, 120, 160, 1, 1});
       },
       0, 0},
      {"falling, ends far apart", "3a", 1, 0,
       [](RowHarness& h) {
         h.Stroke(0, 3, 2, {100, 150, 40, 150, 120, 160, 1, 1});
       },
       0, '3'},
      {"too low", "3a", 1, 0,
       [](RowHarness& h) {
         h.Stroke(0, 3, 2, {100, 139, 10, 200, 200, 200, 1, 1});
       },
       0, 0},
  });
}

// The tail and the long stroke of a "@9" within the row's bounds; the long
// stroke returned, its end points laid but traced from no outline.
StrokeSegment& LayNineTailAndLongStroke(RowHarness& h) {
  // A tail bulging right as it runs down: its chord measure within bounds.
  h.StrokeWithChain(0, 3, 2, {100, 100, 50, 150, 100, 20, 100, 130},
                    {{50, 150}, {80, 100}, {50, 50}});
  return h.StrokeWithChain(1, 12, 0, {128, 128, 100, 100, 100, 100, 104, 255},
                           {{128, 0}, {128, 255}});
}

// "@9"'s inner stroke must lie inside its long one's box: one unit beyond any
// side rejects.
TEST(DigitChecks, NineLoopInsideItsStroke) {
  struct Case {
    const char* what;
    int16_t cx;
    uint16_t expected;
  };
  // S1 spans 76..180 across (w 104); S2, 60 wide, spans cx - 30..cx + 30.
  const Case cases[] = {
      {"inside", 130, '9'},
      {"touching the right side", 150, '9'},
      {"one beyond the right side", 151, 0},
      {"touching the left side", 106, '9'},
      {"one beyond the left side", 105, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RowHarness h(3, 0, "@9");
    LayNineTailAndLongStroke(h);
    h.Stroke(2, 0, 0, {c.cx, 200, 0, 0, 0, 0, 60, 40});
    h.candidate().distance = 0;
    h.candidate().valid = '9';
    g_lastCheckVerdict = {};
    h.ApplyCheck();
    EXPECT_EQ(h.valid(), c.expected) << "decided at line " << g_lastCheckVerdict.line;
  }
}

// On the outline, "@9"'s inner stroke is the hole of its loop, a ring of its
// own, or a piece traced from the outer ring; a piece cut from a hole's
// outline is no 9.
TEST(DigitChecks, NineInnerStrokeTracedFromTheOutline) {
  struct Case {
    const char* what;
    int kind;
    bool fromHole;
    uint16_t expected;
  };
  const Case cases[] = {
      {"the hole's whole ring", 0, true, '9'},
      {"a piece of the outer ring", 3, false, '9'},
      {"a piece cut from the hole's outline", 3, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RowHarness h(3, 0, "@9");
    h.SetStep(0);
    // An outline too small to read as a 4, with a hole in it.
    ContourPoint* outer = h.Ring({{128, 100},
                                  {142, 106},
                                  {148, 120},
                                  {142, 134},
                                  {128, 140},
                                  {114, 134},
                                  {108, 120},
                                  {114, 106}});
    ContourPoint* hole = h.Ring({{124, 116}, {124, 124}, {132, 124}, {132, 116}}, kContourHole);
    const StrokeSegment& s1 = LayNineTailAndLongStroke(h);
    h.PointAt(s1.end1).sourcePoint = outer;
    const StrokeSegment& s2 =
        h.StrokeWithChain(2, c.kind, 0, {130, 200, 0, 0, 0, 0, 60, 40}, {{110, 190}, {150, 210}});
    h.PointAt(s2.end1).sourcePoint = c.fromHole ? hole : outer->next->next;
    h.candidate().distance = 0;
    h.candidate().valid = '9';
    g_lastCheckVerdict = {};
    h.ApplyCheck();
    EXPECT_EQ(h.valid(), c.expected) << "decided at line " << g_lastCheckVerdict.line;
  }
}

TEST(DigitChecks, AbsentStrokesAndPointsReject) {
  // Rows that read a stroke or point unconditionally reject a candidate
  // whose model left it absent or unmatched, whatever the rest.
  struct Case {
    const char* what;
    const char* row;
    int strokes, points;
    void (*lay)(RowHarness&);
  };
  const Case cases[] = {
      {"S0 of 4", "4", 3, 2,
       [](RowHarness& h) {
         h.Stroke(1, 1, 2, {128, 128, 0, 0, 2, 100, -250, 0});
       }},
      {"F2 of 4", "4", 3, 2,
       [](RowHarness& h) {
         // A stroke bulging left as it rises: its chord measure within bounds.
         h.StrokeWithChain(0, 2, 1, {120, 150, 200, 100, 150, 250, 150, 150},
                           {{100, 50}, {70, 100}, {100, 150}});
         h.Stroke(1, 1, 2, {128, 128, 0, 0, 2, 100, -250, 0});
       }},
      {"S0 of 8h", "8h", 3, 3,
       [](RowHarness& h) {
         h.Stroke(1, 4, 1, {100, 100, 100, 100, 100, 100, 100, 200});
       }},
      {"F1 of 0 with S0 present", "0", 2, 1,
       [](RowHarness& h) {
         h.Stroke(0, 1, 1, {128, 250, 0, 0, 10, 10, 20, 0});
         ZeroRing(h);
       }},
      {"S1 of 7a", "7a", 2, 1,
       [](RowHarness& h) {
         h.Stroke(0, 2, 1, {100, 200, 100, 200, 180, 200, 100, 100});
       }},
      {"G0 of 8f (no feature point)", "8f", 1, 0,
       [](RowHarness& h) {
         h.Stroke(0, 0, 0, {128, 128, 100, 100, 100, 100, 100, 100});
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RowHarness h(c.strokes, c.points, c.row);
    c.lay(h);
    h.candidate().distance = 0;
    h.candidate().valid = ClassCodeOfName(c.row);
    g_lastCheckVerdict = {};
    h.ApplyCheck();
    EXPECT_EQ(h.valid(), 0);
    EXPECT_TRUE(g_lastCheckVerdict.rejected);
    EXPECT_TRUE(g_lastCheckVerdict.decided);
  }
}

TEST(DigitChecks, OneOfFullHeightFromTheBottomIsTakenAsPerfectThenRejected) {
  RowHarness h(1, 0, "1b");
  h.Stroke(0, 2, 2, {128, 128, 100, 2, 140, 250, 40, 250});
  h.candidate().distance = 800;
  h.candidate().valid = '1';
  h.ApplyCheck();
  EXPECT_EQ(h.candidate().distance, 0);
  EXPECT_EQ(h.valid(), 0) << "its first end lies below 77";
}

}  // namespace

namespace {

// A 3 drawn as one zigzag stroke: its middle turn is a hooked stroke of
// code 21, which a model of a 5 may take as its first stroke.
const Figure kHookedThree =
    Figure().Polyline({{15, 10}, {50, 12}, {30, 45}, {52, 60}, {45, 88}, {15, 88}});

// The model the character makes once read again on skewed points, as the
// re-reading of the checks reads it.
AuthoredModel SkewedModel(const Figure& glyph, const char* name) {
  modelkit::Character ch = modelkit::Analyse(glyph, kPen, 1);
  penkit::StrokeRun& r = ch.run;
  ResetStrokeGraph(&r.graph());
  ResetStrokeNodeLists(&r.nodes());
  RestoreStrokeRecords(&r.points());
  SkewPointChain(&r.points(), 0);
  EXPECT_EQ(AnalyseStrokeStructure(&r.steps, &r.points(), &r.store->frame, &r.graph(), &r.nodes()),
            0);
  EXPECT_EQ(NormalizeStrokeFrame(&r.steps, &r.points(), &r.store->frame, &r.graph(), &r.nodes()),
            0);
  ModelDerivation how;
  how.name = name;
  AuthoredModel m;
  std::string error;
  EXPECT_EQ(DeriveModelFromRecords(r.store->frame, r.graph(), r.nodes(), how, &m, &error), 0)
      << error;
  return m;
}

// A model of a 5 whose first stroke is the drawing's hooked one (code 21).
AuthoredModel HookFirstFive(const Figure& glyph = kHookedThree) {
  modelkit::Character ch = modelkit::Analyse(glyph, kPen, 1);
  const StrokeGraph& g = ch.run.graph();
  ModelDerivation how;
  how.name = "5";
  int hooked = -1, n = 0;
  for (int i = 0; i < g.groups.count; ++i) {
    for (const StrokeSegment* s = g.groups.items[i].firstSegment; s != nullptr; s = s->next, ++n) {
      if (StrokeCodeOf(*s) == 21) hooked = n;
    }
  }
  EXPECT_GE(hooked, 0);
  for (int i = 0, next = 1; i < n; ++i) how.roles.push_back(i == hooked ? 0 : next++);
  return modelkit::Derive(glyph, kPen, how);
}

struct Verified {
  std::unique_ptr<modelkit::LoadedModels> models;
  modelkit::Character ch;
};

Verified VerifyWithChecks(const std::vector<AuthoredModel>& models) {
  Verified v{std::make_unique<modelkit::LoadedModels>(models, std::vector<AuthoredModel>{}),
             modelkit::Analyse(kHookedThree, kPen, 1)};
  StrokeModelSet set = v.models->ForStep(1);
  set.mask = kDigitsAndCapitals;
  EXPECT_EQ(modelkit::Verify(v.ch, set, &g_classCheckRoutines), 0);
  return v;
}

}  // namespace

TEST(DigitChecks, HookedFiveIsReadAgainAsAThree) {
  const AuthoredModel three = SkewedModel(kHookedThree, "3");
  AuthoredModel threeA = three;
  threeA.name = "3a";
  // The positions of the 3 models are found in each set as it comes: two sets
  // in different orders, one after the other. (A 3 model placed after the 5
  // would have its own check run on the skewed strokes as the loop goes on.)
  ModelDerivation nineHow;
  nineHow.name = "9";
  const AuthoredModel nine = modelkit::Derive(kNine, kPen, nineHow);
  struct Case {
    const char* what;
    std::vector<AuthoredModel> models;
    int threeA;
  };
  const Case cases[] = {
      {"3, 3a, 5", {three, threeA, HookFirstFive()}, 1},
      {"9, 3, 3a, 5", {nine, three, threeA, HookFirstFive()}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Verified v = VerifyWithChecks(c.models);
    const SessionWorkArea& w = *v.ch.work;
    ASSERT_EQ(w.survivorCount, 1);
    EXPECT_EQ(w.survivorModel[0], c.threeA) << "the character without feature points: 3a";
    EXPECT_EQ(w.candidates[c.threeA].valid, '3');
  }
}

TEST(DigitChecks, FailedReReadingPutsTheCharacterBack) {
  // No 3 model takes the skewed strokes: the points go back where they were,
  // the character is analysed again, its straight strokes hold orientation
  // vectors as after the first matching, and the 5 is matched again.
  const Figure glyph = Figure(kHookedThree).Add(Figure().Line({75, 20}, {75, 80}));
  ModelDerivation barHow;
  barHow.name = "3";
  AuthoredModel bar3 = modelkit::Derive(kBar, kPen, barHow);
  AuthoredModel bar3a = bar3;
  bar3a.name = "3a";
  modelkit::LoadedModels models({bar3, bar3a, HookFirstFive(glyph)}, {});
  StrokeModelSet set = models.ForStep(1);
  set.mask = kDigitsAndCapitals;

  modelkit::Character reference = modelkit::Analyse(glyph, kPen, 1);
  ASSERT_EQ(modelkit::Verify(reference, set, nullptr), 0);
  modelkit::Character ch = modelkit::Analyse(glyph, kPen, 1);
  const StrokePointTable before = ch.run.points();
  std::vector<StrokePoint> points(before.points.items, before.points.items + before.points.count);
  ASSERT_EQ(modelkit::Verify(ch, set, &g_classCheckRoutines), 0);

  const StrokePointTable& after = ch.run.points();
  ASSERT_EQ(after.points.count, before.extractedCount);
  for (int i = 0; i < after.points.count; ++i) {
    EXPECT_EQ(after.points.items[i].x, points[i].savedX) << i;
    EXPECT_EQ(after.points.items[i].y, points[i].savedY) << i;
  }
  const StrokeGraph& g = ch.run.graph();
  const StrokeGraph& r = reference.run.graph();
  ASSERT_EQ(g.segments.count, r.segments.count);
  int straight = 0;
  for (int i = 0; i < g.segments.count; ++i) {
    if (g.segments.items[i].kind != 1) continue;
    ++straight;
    EXPECT_EQ(g.segments.items[i].sizeX, r.segments.items[i].sizeX);
    EXPECT_EQ(g.segments.items[i].sizeY, r.segments.items[i].sizeY);
  }
  EXPECT_EQ(straight, 1);
  EXPECT_EQ(ch.work->candidates[2].valid, '5');
}
