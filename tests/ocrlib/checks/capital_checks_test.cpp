// The plain capital checks, read on the thinned steps: pen-drawn capitals
// matched against models derived from a clean drawing of the letter, the
// shapes each row accepts and the near misses it rejects (or reads as
// another letter). Then rows on exact feature values where a pen-drawn near
// miss no longer matches its model: what the rows do without digits, the
// letters they make of others, points and pieces read whether they are
// there or not, measures whose divisor is 0, and the bulge of a T's bar.
#include <gtest/gtest.h>

#include <string>

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

// ---- pen-drawn capitals --------------------------------------------------------------

TEST(CapitalChecks, LettersOfStraightStrokes) {
  // An "A" of one pointed stroke over its bar: its feet spread wide.
  const Figure a = Figure()
                       .Polyline({{10, 90}, {25, 20}, {30, 12}, {35, 20}, {50, 90}})
                       .Line({20, 65}, {40, 65});
  ExpectTrials({"A", a, {}, {}}, {{"A", a, kDigitsAndCapitals, 'A'}});
  // With its first stroke an "E" needs nothing more.
  const Figure e =
      Figure().Polyline({{55, 10}, {15, 10}, {15, 90}, {55, 90}}).Line({15, 50}, {45, 50});
  ExpectTrials({"E", e, {}, {}}, {{"E", e, kDigitsAndCapitals, 'E'}});
  // An "F"'s middle bar reaches far to the right.
  const Figure f = Figure().Polyline({{60, 10}, {15, 10}, {15, 90}}).Line({15, 50}, {55, 50});
  ExpectTrials({"F", f, {}, {}},
               {{"F", f, kDigitsAndCapitals, 'F'},
                {"short middle bar",
                 Figure().Polyline({{60, 10}, {15, 10}, {15, 90}}).Line({15, 50}, {40, 50}),
                 kDigitsAndCapitals, 0}});
  // The model of an "H" takes its right upright first and the junction on
  // the right as its first point.
  ModelDerivation h;
  h.roles = {1, 0, 2};
  h.pointRoles = {1, 0};
  const Figure hGlyph =
      Figure().Line({10, 10}, {10, 90}).Line({50, 10}, {50, 90}).Line({10, 50}, {50, 50});
  ExpectTrials({"H", hGlyph, h, {}, true}, {{"H", hGlyph, kDigitsAndCapitals, 'H'}});
  // An "L"'s foot runs well to the right of its top, its corner well off
  // the chord between them.
  const Figure l = Figure().Polyline({{15, 10}, {15, 90}, {55, 90}});
  ExpectTrials(
      {"L", l, {}, {}},
      {{"L", l, kDigitsAndCapitals, 'L'},
       {"short foot", Figure().Polyline({{15, 10}, {15, 90}, {30, 90}}), kDigitsAndCapitals, 0},
       {"shorter foot", Figure().Polyline({{15, 10}, {15, 90}, {40, 90}}), kDigitsAndCapitals, 0}});
}

TEST(CapitalChecks, LettersOfBowls) {
  // A "D" written in one stroke from its top left corner round its bowl
  // and up its back; a triangle written so has its rightmost point at the
  // top: a "V" when only capitals are read, no "D" when digits are too.
  const Figure d = Figure()
                       .Polyline({{22, 10}, {35, 10}})
                       .Arc({35, 50}, 40, 270, 450)
                       .Polyline({{35, 90}, {15, 90}, {15, 16}});
  const Figure triangle = Figure().Polyline({{22, 10}, {60, 10}, {15, 90}, {15, 16}});
  const Figure roundedTriangle =
      Figure().Polyline({{22, 10}, {55, 10}, {50, 20}, {15, 90}, {15, 16}});
  ExpectTrials({"Db", d, {}, {}, true},
               {{"D, capitals only: full bowl", d, kCapitalsOnly, 'D'},
                {"D, with digits: its corners", d, kDigitsAndCapitals, 'D'},
                {"triangle, capitals only", triangle, kCapitalsOnly, 'V'},
                {"triangle, with digits", triangle, kDigitsAndCapitals, 0},
                {"rounded triangle, capitals only", roundedTriangle, kCapitalsOnly, 'D'}});
  // "Da" models the bowl as its second stroke.
  ModelDerivation withTick;
  AuthoredStroke tick;
  tick.codes = {10, 11, 12, 13};
  tick.mean = {250, 250, 0, 0, 10, 10, 20, 0};
  tick.spread = {24, 24, 24, 24, 24, 24, 24, 24};
  withTick.extra = {{0, tick}};
  ExpectTrials({"Da", d, withTick, {}, true},
               {{"D, capitals only: wide bowl", d, kCapitalsOnly, 'D'},
                {"triangle, capitals only", triangle, kCapitalsOnly, 'V'},
                {"triangle, with digits", triangle, kDigitsAndCapitals, 0},
                // With digits the side of the bowl is measured on its hole.
                {"D open at its corner, with digits", d, kDigitsAndCapitals, 0}});
  const Figure p = Figure()
                       .Line({15, 10}, {15, 90})
                       .Polyline({{15, 10}, {40, 10}})
                       .Arc({40, 30}, 20, 270, 450)
                       .Polyline({{40, 50}, {15, 50}});
  ExpectTrials({"P", p, {}, {}}, {{"P", p, kDigitsAndCapitals, 'P'}});
  // A "U"'s arms rise high on both sides of a round bottom.
  const Figure u = Figure()
                       .Polyline({{10, 10}, {10, 70}})
                       .Arc({30, 70}, 20, 180, 0)
                       .Polyline({{50, 70}, {50, 10}});
  ExpectTrials(
      {"U", u, {}, {}, true},
      {{"U", u, kDigitsAndCapitals, 'U'},
       {"short right arm",
        Figure()
            .Polyline({{10, 10}, {10, 70}})
            .Arc({30, 70}, 20, 180, 0)
            .Polyline({{50, 70}, {50, 45}}),
        kDigitsAndCapitals, 0},
       {"pointed bottom", Figure().Polyline({{10, 10}, {25, 80}, {30, 90}, {35, 80}, {50, 10}}),
        kDigitsAndCapitals, 0}});
}

TEST(CapitalChecks, LettersTestedOnlyWithDigits) {
  // A "Z" of two strokes, an "S" of three: capitals alone take them; with
  // digits they must show what tells them from a 2 and a 5.
  const Figure z = Figure().Polyline({{10, 10}, {55, 10}, {10, 90}, {55, 90}});
  ExpectTrials({"Z", z, {}, {}}, {{"capitals only", z, kCapitalsOnly, 'Z'},
                                  {"with digits", z, kDigitsAndCapitals, 0}});
  const Figure s = Figure().Arc({35, 30}, 20, -10, 270).Arc({35, 70}, 20, 270, 530);
  ExpectTrials({"S", s, {}, {}}, {{"capitals only", s, kCapitalsOnly, 'S'},
                                  {"with digits", s, kDigitsAndCapitals, 0}});
}

// ---- exact feature values -----------------------------------------------------------------

// Every stroke absent and every point unmatched: what a row does when it
// tests nothing without digits.
void Nothing(RowHarness&) {}

TEST(CapitalChecks, RowsThatTestOnlyWithDigits) {
  struct Case {
    const char* row;
    void (*lay)(RowHarness&);
  };
  const Case cases[] = {
      {"B", Nothing},
      {"Ba", Nothing},
      {"Id", Nothing},
      {"Qd", Nothing},
      {"Rc", Nothing},
      {"Re", Nothing},
      // "Gb" first wants its stroke's end 1 high enough, digits or not.
      {"Gb",
       [](RowHarness& h) {
         h.Stroke(0, 2, 1, {0, 0, 0, 13, 0, 0, 0, 0});
       }},
  };
  for (const Case& k : cases) {
    for (const uint32_t mask : {kCapitalsOnly, kDigitsAndCapitals}) {
      SCOPED_TRACE(std::string(k.row) +
                   (mask == kCapitalsOnly ? ", capitals only" : ", with digits"));
      RowHarness h(3, 2, k.row);
      k.lay(h);
      h.SetMask(mask);
      h.candidate().valid = ClassCodeOfName(k.row);
      h.ApplyCheck();
      EXPECT_EQ(h.valid(), mask == kCapitalsOnly ? ClassCodeOfName(k.row) : 0);
    }
  }
}

// "V": a wide shallow first stroke high up and a second stroke from the
// right down to the bottom left.
template <int16_t FirstCy, uint8_t SecondKind, uint8_t SecondSub, int16_t SecondX1, int16_t SecondW>
void Vee(RowHarness& h) {
  h.Stroke(0, 1, 0, {110, FirstCy, 0, 0, 70, 20, 140, 0});
  h.Stroke(1, SecondKind, SecondSub, {128, 120, SecondX1, 200, 60, 200, SecondW, 160});
}

// "I" without its first stroke: a foot, a stem at x 74 and their junction
// at x `JunctionX`.
template <int16_t JunctionX>
void LayFootedI(RowHarness& h) {
  h.Stroke(1, 1, 0, {128, 30, 0, 0, 40, 0, 80, 0});
  h.Stroke(2, 1, 2, {74, 128, 0, 0, 0, 128, -256, 0});
  h.Point(0, JunctionX, 30, 2);
}

TEST(CapitalChecks, LettersMadeOfOthers) {
  ExpectBoundaries({
      {"V", "V", 2, 0, Vee<180, 2, 1, 200, 140>, 0, 'V'},
      {"V, first stroke low", "V", 2, 0, Vee<150, 2, 1, 200, 140>, 0, 0},
      // A flat second stroke (its ends closer than 6/10 of its width, at one
      // height) makes the bad shape an "O".
      {"V, low and flat: O", "V", 2, 0, Vee<150, 2, 1, 110, 100>, 0, 'O'},
      {"V, second stroke of code 43 wider than its ends", "V", 2, 0, Vee<180, 4, 3, 200, 190>, 0,
       0},
      {"V, second stroke of code 43 as wide as its ends", "V", 2, 0, Vee<180, 4, 3, 200, 184>, 0,
       'V'},
      // "I" without its first stroke, with a foot at the left where point 0 is.
      {"I with a foot at the left: L", "I", 3, 1, LayFootedI<74>, 0, 'L'},
      {"I with its foot's junction at 75", "I", 3, 1, LayFootedI<75>, 0, 'I'},
      {"I with its first stroke but not its second", "I", 3, 1,
       [](RowHarness& h) {
         h.Stroke(0, 1, 0, {128, 220, 0, 0, 40, 0, 80, 0});
       },
       0, 0},
  });
}

// "Dc": a stroke whose last piece runs from (100, 50) up to (120, 150) leans
// 79 degrees.
void SteepDc(RowHarness& h) {
  h.StrokeWithChain(0, 2, 1, {120, 100, 100, 50, 120, 50, 20, 100}, {{100, 50}, {120, 150}});
}
void FlatterDc(RowHarness& h) {
  h.StrokeWithChain(0, 2, 1, {120, 100, 100, 50, 120, 50, 20, 100}, {{100, 50}, {200, 150}});
}

TEST(CapitalChecks, SteepDIsAVeeUnlessDigitsAreRead) {
  struct Case {
    const char* what;
    void (*lay)(RowHarness&);
    uint32_t mask;
    uint16_t expected;
  };
  const Case cases[] = {
      {"steep, capitals only", SteepDc, kCapitalsOnly, 'V'},
      {"steep, with digits", SteepDc, kDigitsAndCapitals, 0},
      {"45 degrees, capitals only", FlatterDc, kCapitalsOnly, 'D'},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    RowHarness h(1, 0, "Dc");
    k.lay(h);
    h.SetMask(k.mask);
    h.candidate().distance = 0;
    h.candidate().valid = 'D';
    h.ApplyCheck();
    EXPECT_EQ(h.valid(), k.expected);
  }
}

// "Y": a stem whose lower end lies at (168, 230) and an arm whose end lies
// at (70, 200), their junction at point 0 where given.
template <int16_t X, int16_t Y>
void LayWhy(RowHarness& h) {
  h.Stroke(0, 1, 0, {128, 200, 0, 0, 40, 30, 0, 0});
  h.StrokeWithChain(1, 1, 2, {100, 100, 0, 0, 30, 100, -200, 0}, {{70, 200}, {130, 0}});
  if (X >= 0) h.Point(0, X, Y, 2);
}

// "Yd": arms of one stroke from (200, 200) round to (60, 100), a stem, and
// their junction at point 0 where given.
template <int16_t X, int16_t Y>
void LayWhyArms(RowHarness& h) {
  h.StrokeWithChain(0, 2, 1, {128, 150, 200, 200, 60, 100, 140, 100},
                    {{200, 200}, {170, 100}, {60, 100}});
  h.Stroke(1, 1, 2, {100, 60, 0, 0, 10, 60, 0, 0});
  if (X >= 0) h.Point(0, X, Y, 2);
}

// "Qa": a tail high up, a ring, and point 1 (where its tail meets the ring)
// at x `X` where given.
template <int16_t X>
void LayQueue(RowHarness& h) {
  h.Stroke(0, 1, 3, {180, 50, 0, 0, 20, 30, 0, 0});
  h.Stroke(1, 0, 0, {128, 140, 0, 0, 0, 0, 200, 200});
  h.Point(0, 90, 60, 2);
  if (X >= 0) h.Point(1, X, 100, 2);
}

TEST(CapitalChecks, PointsAndPiecesReadWhetherThereOrNot) {
  // Rows that read a feature point or a stroke's piece without testing for
  // it reject a candidate whose model left it out; the same candidate with
  // it is kept.
  ExpectBoundaries({
      {"Lc, point 0 matched", "Lc", 2, 1,
       [](RowHarness& h) {
         h.Stroke(0, 1, 2, {90, 128, 0, 0, 0, 128, -256, 0});
         h.Stroke(1, 1, 0, {150, 20, 0, 0, 60, 0, 120, 0});
         h.Point(0, 90, 20, 2);
       },
       0, 'L'},
      {"Lc, point 0 unmatched", "Lc", 2, 1,
       [](RowHarness& h) {
         h.Stroke(0, 1, 2, {90, 128, 0, 0, 0, 128, -256, 0});
         h.Stroke(1, 1, 0, {150, 20, 0, 0, 60, 0, 120, 0});
       },
       0, 0},
      // "Ta", "Ye": the bar's ends seen from the junction below its middle.
      {"Ta, ends 176 degrees apart", "Ta", 1, 1,
       [](RowHarness& h) {
         h.StrokeWithChain(0, 2, 0, {128, 200, 0, 200, 256, 210, 256, 10}, {{0, 200}, {256, 210}});
         h.Point(0, 128, 200, 2);
       },
       0, 'T'},
      {"Ta, ends 90 degrees apart", "Ta", 1, 1,
       [](RowHarness& h) {
         h.StrokeWithChain(0, 2, 0, {128, 200, 0, 200, 256, 210, 256, 10}, {{28, 100}, {228, 100}});
         h.Point(0, 128, 200, 2);
       },
       0, 0},
      {"Ta, point 0 unmatched", "Ta", 1, 1,
       [](RowHarness& h) {
         h.StrokeWithChain(0, 2, 0, {128, 200, 0, 200, 256, 210, 256, 10}, {{0, 200}, {256, 210}});
       },
       0, 0},
      {"Ye, ends 127 degrees apart", "Ye", 1, 1,
       [](RowHarness& h) {
         h.StrokeWithChain(0, 2, 0, {128, 200, 0, 200, 256, 210, 256, 10}, {{28, 150}, {228, 150}});
         h.Point(0, 128, 100, 2);
       },
       0, 'Y'},
      {"Ye, ends on the point itself", "Ye", 1, 1,
       [](RowHarness& h) {
         h.StrokeWithChain(0, 2, 0, {128, 200, 0, 200, 256, 210, 256, 10},
                           {{128, 100}, {228, 150}});
         h.Point(0, 128, 100, 2);
       },
       0, 0},
      // "Y", "Yd": the ends seen from point 0 at most 147 and 140 degrees apart.
      {"Y, point 0 below the junction of the ends", "Y", 2, 1, LayWhy<128, 180>, 0, 'Y'},
      {"Y, point 0 on the line between the ends", "Y", 2, 1, LayWhy<119, 215>, 0, 0},
      {"Y, point 0 too high", "Y", 2, 1, LayWhy<128, 220>, 0, 0},
      {"Y, point 0 unmatched", "Y", 2, 1, LayWhy<-1, 0>, 0, 0},
      {"Yd, point 0 below the arms", "Yd", 2, 1, LayWhyArms<130, 60>, 0, 'Y'},
      {"Yd, point 0 between the arms' ends", "Yd", 2, 1, LayWhyArms<130, 120>, 0, 0},
      {"Yd, point 0 unmatched", "Yd", 2, 1, LayWhyArms<-1, 0>, 0, 0},
      // "Qa": point 1 low on the right.
      {"Qa, point 1 at x 120", "Qa", 2, 2, LayQueue<120>, 0, 'Q'},
      {"Qa, point 1 at x 119", "Qa", 2, 2, LayQueue<119>, 0, 0},
      {"Qa, point 1 unmatched", "Qa", 2, 2, LayQueue<-1>, 0, 0},
      // "U" of code 20: a second piece to measure.
      {"U of code 21", "U", 1, 0,
       [](RowHarness& h) {
         h.Stroke(0, 2, 1, {128, 128, 200, 200, 50, 200, 150, 256});
       },
       0, 'U'},
      {"U of code 20 with one piece", "U", 1, 0,
       [](RowHarness& h) {
         h.StrokeWithChain(0, 2, 0, {128, 128, 200, 200, 50, 200, 150, 256},
                           {{200, 200}, {128, 0}, {50, 200}});
       },
       0, 0},
  });
}

// "Aa": legs whose tops lie `Gap` units apart (negative: crossed) over feet
// 100 apart, meeting at point 0 when `Apex` is set.
template <int Gap, bool Apex>
void LayAyLegs(RowHarness& h) {
  h.StrokeWithChain(0, 1, 3, {35, 125, 0, 0, 15, 125, 0, 0}, {{50, 250}, {20, 0}});
  h.StrokeWithChain(1, 1, 1, {95, 125, 0, 0, 25, 125, 0, 0}, {{50 + Gap, 250}, {120, 0}});
  if (Apex) h.Point(0, 50, 250, 2);
}

// "X": a second stroke from (128, 20) up to (128, 236), its middle moved
// `Offset` units sideways.
template <int Offset>
void LayCrossing(RowHarness& h) {
  h.StrokeWithChain(1, 2, 1, {128, 128, 128, 20, 128, 236, 40, 216},
                    {{128, 20}, {128 + Offset, 128}, {128, 236}});
}

TEST(CapitalChecks, LegsAndCrossings) {
  ExpectBoundaries({
      // "Aa" without its apex: the tops at most half as far apart as the feet.
      {"Aa, tops crossed", "Aa", 3, 1, LayAyLegs<-10, false>, 0, 'A'},
      {"Aa, tops 50 apart", "Aa", 3, 1, LayAyLegs<50, false>, 0, 'A'},
      {"Aa, tops 51 apart", "Aa", 3, 1, LayAyLegs<51, false>, 0, 0},
      {"Aa, tops 80 apart at a matched apex", "Aa", 3, 1, LayAyLegs<80, true>, 0, 'A'},
      // "X": the second stroke may bow to the left by 33 units at most (a
      // chain bent left measures one unit less than its offset).
      {"X, straight", "X", 2, 0, LayCrossing<0>, 0, 'X'},
      {"X, bowed right", "X", 2, 0, LayCrossing<60>, 0, 'X'},
      {"X, bowed left 34", "X", 2, 0, LayCrossing<-34>, 0, 'X'},
      {"X, bowed left 35", "X", 2, 0, LayCrossing<-35>, 0, 0},
  });
}

// "Cb": a stroke of code 21 from (100, 20) round by (20, 60) and (140, 100)
// to a last point (`LastX`, 110); its first point has the second neighbour
// `Turn` (1: the last point, 2: the point before it) or none (0).
template <int LastX, int Turn>
void LayCurl(RowHarness& h) {
  StrokeSegment& s = h.StrokeWithChain(0, 2, 1, {120, 128, 160, 100, 110, 130, 150, 200},
                                       {{100, 20}, {20, 60}, {140, 100}, {LastX, 110}});
  h.LinkChain(s);
  if (Turn == 0) return;
  StrokePoint& first = h.PointAt(s.end1);
  first.neighbours[1] = first.savedNeighbours[1] = Turn == 1 ? s.end2 : s.end2 - 1;
  first.degree = first.savedDegree = 2;
}

TEST(CapitalChecks, CeeByTheTiltOfItsLastPiece) {
  // A last piece tilted 59..64 degrees is told by the turn at its first
  // point: a wide turn keeps the "C"; with one neighbour there is no turn.
  ExpectBoundaries({
      {"tilt 56", "Cb", 1, 0, LayCurl<160, 0>, 0, 'C'},
      {"tilt 66", "Cb", 1, 0, LayCurl<140, 1>, 0, 0},
      {"tilt 60, wide turn", "Cb", 1, 0, LayCurl<150, 1>, 0, 'C'},
      {"tilt 60, right-angled turn", "Cb", 1, 0, LayCurl<150, 2>, 0, 0},
      {"tilt 60, one neighbour", "Cb", 1, 0, LayCurl<150, 0>, 0, 0},
  });
}

// "Ka", "Ke": a stem from (60, 0) to (60, 256) whose middle is moved
// `StemBow` units sideways, and an upper arm whose first piece runs from
// (200, 236) down to (200, 128), its middle moved `ArmBow` units sideways.
template <int StemBow, int ArmBow>
void LayKay(RowHarness& h) {
  h.StrokeWithChain(0, 1, 2, {60, 128, 0, 0, 0, 128, -256, 0},
                    {{60, 0}, {60 + StemBow, 128}, {60, 256}});
  h.StrokeWithChain(1, 2, 1, {170, 128, 200, 236, 200, 128, 100, 216},
                    {{200, 236}, {200 + ArmBow, 182}, {200, 128}});
}

// "Ed": a middle bar whose first feature (its bend) is `Bend` and a
// bottom bar, both straight.
template <int16_t Bend>
void LayBars(RowHarness& h) {
  h.StrokeWithChain(1, 1, 0, {128, 128, Bend, 0, 40, 0, 80, 0}, {{88, 128}, {168, 128}});
  h.StrokeWithChain(2, 1, 0, {148, 20, 0, 0, 60, 0, 120, 0}, {{88, 20}, {208, 20}});
}

// "Ya": an arm and stem laid straight, the other arm, and their junction at
// point 0 at x `X`. "Yb": the other arm `HalfHeight` half high.
template <int16_t X>
void LayWhyJunction(RowHarness& h) {
  h.StrokeWithChain(0, 1, 2, {100, 128, 0, 0, 40, 100, -200, 0}, {{60, 28}, {140, 228}});
  h.Stroke(1, 1, 3, {180, 180, 0, 10, 40, 30, 0, -60});
  h.Point(0, X, 150, 2);
}
template <int16_t HalfHeight>
void LayWhyArm(RowHarness& h) {
  h.Stroke(1, 1, 3, {180, 180, 0, -4, 40, HalfHeight, 0, -60});
}

// "Rb": a leg, the stem and bowl, and the junction of the leg at point 0 at
// x `X`.
template <int16_t X>
void LayArLeg(RowHarness& h) {
  h.Stroke(0, 1, 3, {120, 60, 0, 0, 36, 63, -72, -122});
  h.Stroke(1, 3, 2, {128, 160, 65, 0, 65, 130, 126, 256});
  h.Point(0, X, 128, 2);
}

// Bounds of rows whose pen-drawn near misses no longer match the models of
// the pen-drawn tables (a bowed stem, a bent bar or arm, a junction moved).
TEST(CapitalChecks, BoundsBeyondThePenDrawnTables) {
  ExpectBoundaries({
      {"Ka, straight", "Ka", 2, 1, LayKay<0, 0>, 0, 'K'},
      {"Ka, arm bowed right", "Ka", 2, 1, LayKay<0, 60>, 0, 'K'},
      {"Ka, arm bowed left 35", "Ka", 2, 1, LayKay<0, -35>, 0, 'K'},
      {"Ka, arm bowed left 36", "Ka", 2, 1, LayKay<0, -36>, 0, 0},
      {"Ke, stem bowed right 14", "Ke", 2, 1, LayKay<14, 0>, 0, 'K'},
      {"Ke, stem bowed right 15", "Ke", 2, 1, LayKay<15, 0>, 0, 0},
      {"Ed, middle bar bent 11", "Ed", 3, 1, LayBars<11>, 0, 'E'},
      {"Ed, middle bar bent 12", "Ed", 3, 1, LayBars<12>, 0, 0},
      {"Ya, junction at x 181", "Ya", 2, 1, LayWhyJunction<181>, 0, 'Y'},
      {"Ya, junction at x 182", "Ya", 2, 1, LayWhyJunction<182>, 0, 0},
      {"Yb, arm 5 half high", "Yb", 2, 1, LayWhyArm<5>, 0, 'Y'},
      {"Yb, arm 4 half high", "Yb", 2, 1, LayWhyArm<4>, 0, 0},
      {"Rb, leg's junction at x 90", "Rb", 2, 1, LayArLeg<90>, 0, 'R'},
      {"Rb, leg's junction at x 91", "Rb", 2, 1, LayArLeg<91>, 0, 0},
  });
}

// "Vi": a stroke of code 43 down from (150, 220) by (`MidX`, 160) to (100,
// 30) and up to (200, 210), and a second piece of direction class `Class`
// from its point `From` to its point `To`.
template <int MidX, int From, int To, uint8_t Class>
void LayVeeWithSecondPiece(RowHarness& h) {
  StrokeSegment& s = h.StrokeWithChain(0, 4, 3, {128, 128, 150, 220, 200, 210, 100, 100},
                                       {{150, 220}, {MidX, 160}, {100, 30}, {200, 210}});
  StrokeGraph& g = *h.Context().args().graph;
  StrokePiece* second = AllocStrokeSegment(&g);
  uint16_t* words = AllocGraphWords(&g, 2);
  words[0] = s.pieces[0]->words[From];
  words[1] = s.pieces[0]->words[To];
  second->words = words;
  second->pointCount = 2;
  second->directionClass[0] = Class;
  ASSERT_EQ(LinkJointToSegment(&g, &s, second), 0);
}

TEST(CapitalChecks, VeeMeasuredUpToItsSecondPiece) {
  // The chain up to where the second piece starts must not bulge far to
  // its left (to the right of the page as it runs down); a second piece
  // that starts the chain leaves nothing to measure and rejects.
  ExpectBoundaries({
      {"bulging to its right", "Vi", 1, 0, LayVeeWithSecondPiece<20, 3, 2, 1>, 0, 'V'},
      {"bulging to its left", "Vi", 1, 0, LayVeeWithSecondPiece<250, 3, 2, 1>, 0, 0},
      {"second piece starting the chain", "Vi", 1, 0, LayVeeWithSecondPiece<20, 0, 1, 1>, 0, 0},
      {"second piece of another direction", "Vi", 1, 0, LayVeeWithSecondPiece<250, 3, 2, 2>, 0,
       'V'},
  });
}

// "Vd": a stroke from the lower left up to the top right and back along its
// bottom, with the points given.
template <int16_t TopY>
void VdStroke(RowHarness& h) {
  h.StrokeWithChain(0, 3, 1, {128, 100, 40, 40, 100, 60, 200, 200},
                    {{20, 20}, {220, TopY}, {220, 20}});
}

// "Vh": a stroke across the top whose rightmost point lies high, `Height`
// units high.
template <int16_t Height>
void VhStroke(RowHarness& h) {
  h.StrokeWithChain(0, 3, 1, {128, 100, 60, 210, 80, 190, 160, Height},
                    {{20, 20}, {220, 200}, {100, 20}, {20, 200}});
}

TEST(CapitalChecks, MeasuresWithoutADivisorReject) {
  ExpectBoundaries({
      // Its rightmost point high on its right side: how full the stroke's box
      // is and how high that point lies are both measured.
      {"Vd with a box", "Vd", 1, 0, VdStroke<220>, 0, 'V'},
      {"Vd without height: no box to fill", "Vd", 1, 0, VdStroke<20>, 0, 0},
      // A stroke less than two units high has no half height to measure
      // the height of its rightmost point by.
      {"Vh", "Vh", 1, 0, VhStroke<200>, 0, 'V'},
      {"Vh less than two units high", "Vh", 1, 0, VhStroke<1>, 0, 0},
  });
}

TEST(CapitalChecks, RowThatReadsTheChainLeftByTheLastMeasure) {
  struct Case {
    const char* what;
    int leftX, leftY;  // the chain's leftmost point; none below 0
    uint16_t expected;
  };
  const Case cases[] = {
      {"leftmost point high enough", 10, 80, 'Q'},
      {"leftmost point too low", 10, 79, 0},
      {"leftmost point on the frame's edge", 0, 120, 0},
      {"no chain", -1, -1, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    RowHarness h(1, 0, "Qd");
    if (k.leftX >= 0) {
      const StrokeSegment& s =
          h.StrokeWithChain(0, 2, 1, {0, 0, 0, 0, 0, 0, 0, 0}, {{k.leftX, k.leftY}, {200, 20}});
      CheckContext c = h.Context();
      c.Chain(ViewOfSegment(&s));  // a measure that builds the chain and leaves it
    }
    h.candidate().valid = 'Q';
    h.ApplyCheck();
    EXPECT_EQ(h.valid(), k.expected);
  }
}

// The bar of a "T" traced from an outline whose top rises `bulge` units in
// the middle between its upper corners.
void LayTee(RowHarness& h, int bulge) {
  ContourPoint* outline = modelkit::LayBarOutline(h, bulge);
  const StrokeSegment& bar =
      h.StrokeWithChain(0, 1, 0, {120, 200, 0, 0, 60, 5, 120, 0}, {{60, 150}, {180, 150}});
  h.Stroke(1, 1, 2, {128, 100, 0, 0, 5, 100, -250, 0});
  h.Point(0, 128, 200, 2);
  h.PointAt(bar.end1).sourcePair = h.Pair(outline);
}

TEST(CapitalChecks, TeeReadBesideSignsHasAFlatBar) {
  struct Case {
    const char* what;
    int bulge;
    uint32_t mask;
    uint16_t expected;
  };
  const Case cases[] = {
      {"flat", 0, kDigitsAndCapitals | kTypeSigns, 'T'},
      {"31 units", 31, kDigitsAndCapitals | kTypeSigns, 'T'},
      {"32 units", 32, kDigitsAndCapitals | kTypeSigns, 0},
      {"32 units, no signs read", 32, kDigitsAndCapitals, 'T'},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    RowHarness h(2, 1, "T");
    LayTee(h, k.bulge);
    h.SetMask(k.mask);
    h.candidate().valid = 'T';
    h.ApplyCheck();
    EXPECT_EQ(h.valid(), k.expected);
  }
  // Without the contour its bar was traced from, the bar cannot be measured.
  RowHarness h(2, 1, "T");
  LayTee(h, 0);
  h.PointAt(h.candidate().matchedStroke[0]->end1).sourcePair = nullptr;
  h.SetMask(kDigitsAndCapitals | kTypeSigns);
  h.ApplyCheck();
  EXPECT_EQ(h.valid(), 0);
}

}  // namespace
