// The "@" katakana checks, read on the polygon steps: pen-drawn kana that
// match a model derived from a clean drawing and that the class's row
// keeps, and near misses that still match it but that the row rejects; then
// the bounds, early decisions, distances by stroke code and divisions that
// matter on exact feature values.
#include <gtest/gtest.h>

#include <vector>

#include "ocrlib/checks/kana_checks.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/check_trials.h"

namespace {

using modelkit::Boundary;
using modelkit::ExpectBoundaries;
using modelkit::ExpectTrialsDecidedByRow;
using modelkit::RowHarness;
using penkit::Figure;

constexpr uint32_t kKana = kTypeKatakana;

uint16_t Code(const char* row) { return ClassCodeOfName(row); }

// A model of the polygon steps whose strokes play the model strokes given,
// in the order they are traced (empty: that order).
ModelDerivation OnOutlines(std::vector<int> roles = {}) {
  ModelDerivation how;
  how.step = 0;
  how.roles = std::move(roles);
  return how;
}

TEST(AtKanaChecks, PenDrawnKanaOfTheVowelsAndTheKaToTaColumns) {
  const Figure u =
      Figure().Line({50, 5}, {50, 25}).Polyline({{15, 45}, {15, 25}, {85, 25}, {80, 60}, {45, 92}});
  ExpectTrialsDecidedByRow({"@_U", u, OnOutlines(), {}},
                           {{"U", u, kKana, Code("@_U")},
                            {"left side long",
                             Figure()
                                 .Line({50, 5}, {50, 25})
                                 .Polyline({{15, 75}, {15, 25}, {85, 25}, {80, 60}, {45, 92}}),
                             kKana, Code("@_U")}});
  // No near miss of "@_E", "@_O" or "@KO" drawn so far matches its model and
  // fails the row.
  const Figure eStem = Figure().Line({50, 22}, {50, 78});
  const Figure e = Figure().Line({20, 20}, {80, 20}).Add(eStem).Line({10, 80}, {90, 80});
  ExpectTrialsDecidedByRow(
      {"@_E", e, OnOutlines(), {}},
      {{"E", e, kKana, Code("@_E")},
       {"short base", Figure().Line({20, 20}, {80, 20}).Add(eStem).Line({35, 80}, {65, 80}), kKana,
        Code("@_E")},
       {"short top", Figure().Line({40, 20}, {60, 20}).Add(eStem).Line({10, 80}, {90, 80}), kKana,
        Code("@_E")}});
  const Figure o = Figure()
                       .Line({10, 35}, {90, 35})
                       .Polyline({{60, 10}, {60, 92}, {50, 85}})
                       .Line({55, 40}, {15, 80});
  ExpectTrialsDecidedByRow({"@_O", o, OnOutlines(), {}}, {{"O", o, kKana, Code("@_O")}});
  const Figure ko = Figure().Polyline({{15, 15}, {80, 15}, {80, 85}, {15, 85}});
  ExpectTrialsDecidedByRow(
      {"@KO", ko, OnOutlines(), {}},
      {{"KO", ko, kKana, Code("@KO")},
       {"short base", Figure().Polyline({{15, 15}, {80, 15}, {80, 85}, {50, 85}}), kKana,
        Code("@KO")},
       {"short top", Figure().Polyline({{45, 15}, {80, 15}, {80, 85}, {15, 85}}), kKana,
        Code("@KO")},
       {"base run out to the left", Figure().Polyline({{15, 15}, {80, 15}, {80, 85}, {5, 85}}),
        kKana, Code("@KO")}});
  const Figure si = Figure()
                        .Line({15, 15}, {35, 25})
                        .Line({10, 45}, {30, 55})
                        .Polyline({{15, 90}, {60, 70}, {90, 30}});
  const Figure siStroke = Figure().Polyline({{15, 90}, {60, 70}, {90, 30}});
  ExpectTrialsDecidedByRow(
      {"@SI", si, OnOutlines(), {}},
      {{"SI", si, kKana, Code("@SI")},
       {"dots steep as in TU",
        Figure().Line({15, 25}, {25, 45}).Line({35, 15}, {45, 35}).Add(siStroke), kKana,
        Code("@SI")},
       {"dots over the middle",
        Figure().Line({45, 15}, {65, 25}).Line({40, 45}, {60, 55}).Add(siStroke), kKana, 0}});
  // The near misses of "@SU" drawn so far no longer match its model.
  const Figure suBody = Figure().Polyline({{15, 15}, {80, 15}, {60, 50}, {15, 90}});
  const Figure su = Figure(suBody).Line({50, 60}, {85, 90});
  ExpectTrialsDecidedByRow(
      {"@SU", su, OnOutlines(), {}},
      {{"SU", su, kKana, Code("@SU")},
       {"short top",
        Figure().Polyline({{45, 15}, {80, 15}, {60, 50}, {15, 90}}).Line({50, 60}, {85, 90}), kKana,
        Code("@SU")}});
  const Figure tiTop = Figure().Line({70, 10}, {25, 25});
  const Figure tiStem = Figure().Polyline({{50, 20}, {50, 70}, {30, 92}});
  const Figure ti = Figure(tiTop).Line({10, 45}, {90, 45}).Add(tiStem);
  ExpectTrialsDecidedByRow(
      {"@TI", ti, OnOutlines(), {}},
      {{"TI", ti, kKana, Code("@TI")},
       {"short bar", Figure(tiTop).Line({35, 45}, {65, 45}).Add(tiStem), kKana, 0}});
  const Figure te = Figure()
                        .Line({25, 15}, {75, 15})
                        .Line({10, 45}, {90, 45})
                        .Polyline({{55, 45}, {52, 75}, {35, 92}});
  const Figure teLower = Figure().Line({10, 45}, {90, 45}).Polyline({{55, 45}, {52, 75}, {35, 92}});
  ExpectTrialsDecidedByRow(
      {"@TE", te, OnOutlines(), {}},
      {{"TE", te, kKana, Code("@TE")},
       {"top stroke lower", Figure().Line({25, 30}, {75, 30}).Add(teLower), kKana, Code("@TE")},
       {"top stroke a dot", Figure().Line({45, 15}, {55, 15}).Add(teLower), kKana, 0}});
  const Figure to = Figure().Line({35, 10}, {35, 92}).Line({35, 45}, {80, 65});
  ExpectTrialsDecidedByRow(
      {"@TO", to, OnOutlines(), {}},
      {{"TO", to, kKana, Code("@TO")},
       {"long branch", Figure().Line({35, 10}, {35, 92}).Line({35, 45}, {95, 75}), kKana,
        Code("@TO")},
       {"short stem", Figure().Line({35, 40}, {35, 92}).Line({35, 45}, {80, 65}), kKana,
        Code("@TO")}});
}

TEST(AtKanaChecks, PenDrawnKanaOfTheNaToWaColumns) {
  const Figure ni = Figure().Line({25, 25}, {75, 25}).Line({10, 80}, {90, 80});
  ExpectTrialsDecidedByRow(
      {"@NI", ni, OnOutlines(), {}},
      {{"NI", ni, kKana, Code("@NI")},
       {"top stroke falling steeply", Figure().Line({25, 10}, {60, 45}).Line({10, 80}, {90, 80}),
        kKana, 0}});
  // No near miss of "@NU", "@NO", "@HU", "@HE", "@MA", "@MI" or "@ME" drawn
  // so far matches its model and fails the row.
  const Figure nuBody = Figure().Polyline({{15, 15}, {80, 15}, {60, 60}, {15, 92}});
  const Figure nu = Figure(nuBody).Line({40, 50}, {75, 80});
  ExpectTrialsDecidedByRow(
      {"@NU", nu, OnOutlines(), {}},
      {{"NU", nu, kKana, Code("@NU")},
       {"long leg", Figure(nuBody).Line({25, 40}, {90, 92}), kKana, Code("@NU")}});
  const Figure no = Figure().Polyline({{75, 10}, {65, 50}, {20, 90}});
  ExpectTrialsDecidedByRow({"@NO", no, OnOutlines(), {}},
                           {{"NO", no, kKana, Code("@NO")},
                            {"wide and shallow", Figure().Polyline({{85, 25}, {60, 55}, {10, 75}}),
                             kKana, Code("@NO")}});
  // Near misses of "@HA" drawn so far pass its threshold.
  const Figure ha = Figure().Line({40, 25}, {15, 80}).Line({60, 25}, {90, 80});
  ExpectTrialsDecidedByRow(
      {"@HA", ha, OnOutlines({1, 0}), {}},
      {{"HA", ha, kKana, Code("@HA")},
       {"strokes far apart", Figure().Line({30, 25}, {10, 80}).Line({70, 25}, {90, 80}), kKana,
        Code("@HA")},
       {"left stroke upright", Figure().Line({35, 25}, {35, 80}).Line({60, 25}, {90, 80}), kKana,
        Code("@HA")},
       {"short right stroke", Figure().Line({40, 25}, {15, 80}).Line({60, 25}, {70, 45}), kKana, 0,
        true}});
  const Figure hu = Figure().Polyline({{15, 15}, {85, 15}, {70, 60}, {30, 92}});
  ExpectTrialsDecidedByRow(
      {"@HU", hu, OnOutlines(), {}},
      {{"HU", hu, kKana, Code("@HU")},
       {"short top", Figure().Polyline({{55, 15}, {85, 15}, {70, 60}, {30, 92}}), kKana,
        Code("@HU")}});
  const Figure he = Figure().Polyline({{10, 60}, {35, 30}, {90, 75}});
  ExpectTrialsDecidedByRow(
      {"@HE", he, OnOutlines(), {}},
      {{"HE", he, kKana, Code("@HE")},
       {"steep left side", Figure().Polyline({{10, 75}, {40, 20}, {90, 60}}), kKana, Code("@HE")}});
  const Figure maTail = Figure().Line({40, 50}, {65, 85});
  const Figure ma = Figure().Polyline({{15, 20}, {85, 20}, {50, 65}}).Add(maTail);
  ExpectTrialsDecidedByRow(
      {"@MA", ma, OnOutlines(), {}},
      {{"MA", ma, kKana, Code("@MA")},
       {"short roof", Figure().Polyline({{40, 20}, {85, 20}, {50, 65}}).Add(maTail), kKana,
        Code("@MA")}});
  const Figure mi =
      Figure().Line({25, 15}, {75, 25}).Line({30, 45}, {70, 55}).Line({20, 75}, {80, 90});
  ExpectTrialsDecidedByRow(
      {"@MI", mi, OnOutlines(), {}},
      {{"MI", mi, kKana, Code("@MI")},
       {"short last stroke",
        Figure().Line({25, 15}, {75, 25}).Line({30, 45}, {70, 55}).Line({40, 75}, {60, 80}), kKana,
        Code("@MI")}});
  const Figure meStroke = Figure().Polyline({{75, 10}, {60, 50}, {15, 92}});
  const Figure me = Figure(meStroke).Line({30, 35}, {85, 85});
  ExpectTrialsDecidedByRow(
      {"@ME", me, OnOutlines(), {}},
      {{"ME", me, kKana, Code("@ME")},
       {"short cross", Figure(meStroke).Line({45, 50}, {60, 65}), kKana, Code("@ME")}});
  const Figure mo = Figure()
                        .Line({20, 15}, {80, 15})
                        .Line({10, 45}, {90, 45})
                        .Polyline({{45, 15}, {45, 85}, {85, 85}});
  ExpectTrialsDecidedByRow({"@MO", mo, OnOutlines(), {}},
                           {{"MO", mo, kKana, Code("@MO")},
                            {"short foot",
                             Figure()
                                 .Line({20, 15}, {80, 15})
                                 .Line({10, 45}, {90, 45})
                                 .Polyline({{45, 15}, {45, 85}, {60, 85}}),
                             kKana, 0}});
  const Figure yu = Figure().Polyline({{20, 30}, {70, 30}, {65, 80}}).Line({10, 80}, {90, 80});
  ExpectTrialsDecidedByRow(
      {"@YU", yu, OnOutlines(), {}},
      {{"YU", yu, kKana, Code("@YU")},
       {"short base", Figure().Polyline({{20, 30}, {70, 30}, {65, 80}}).Line({40, 80}, {75, 80}),
        kKana, 0}});
  const Figure yo =
      Figure().Polyline({{15, 15}, {80, 15}, {80, 85}, {15, 85}}).Line({20, 50}, {80, 50});
  const Figure yoBox = Figure().Polyline({{15, 15}, {80, 15}, {80, 85}, {15, 85}});
  ExpectTrialsDecidedByRow(
      {"@YO", yo, OnOutlines(), {}},
      {{"YO", yo, kKana, Code("@YO")},
       {"short middle bar", Figure(yoBox).Line({50, 50}, {80, 50}), kKana, Code("@YO")},
       {"short base",
        Figure().Polyline({{15, 15}, {80, 15}, {80, 85}, {50, 85}}).Line({20, 50}, {80, 50}), kKana,
        0},
       {"middle bar high", Figure(yoBox).Line({20, 30}, {80, 30}), kKana, 0}});
  const Figure ra =
      Figure().Line({25, 10}, {75, 10}).Polyline({{15, 35}, {85, 35}, {70, 70}, {30, 92}});
  ExpectTrialsDecidedByRow(
      {"@RA", ra, OnOutlines(), {}},
      {{"RA", ra, kKana, Code("@RA")},
       {"top stroke to the left",
        Figure().Line({5, 10}, {40, 10}).Polyline({{15, 35}, {85, 35}, {70, 70}, {30, 92}}), kKana,
        Code("@RA")},
       {"short top stroke",
        Figure().Line({45, 10}, {55, 10}).Polyline({{15, 35}, {85, 35}, {70, 70}, {30, 92}}), kKana,
        Code("@RA")}});
  const Figure wa = Figure().Polyline({{15, 40}, {15, 15}, {85, 15}, {75, 60}, {40, 92}});
  // No near miss of "@RA", "@WA" or "@WO" drawn so far matches its model and
  // fails the row.
  ExpectTrialsDecidedByRow(
      {"@WA", wa, OnOutlines(), {}},
      {{"WA", wa, kKana, Code("@WA")},
       {"right side bowing out past the top",
        Figure().Polyline({{15, 40}, {15, 15}, {75, 15}, {88, 40}, {70, 70}, {35, 92}}), kKana,
        Code("@WA")},
       {"U without its tick", Figure().Polyline({{15, 45}, {15, 25}, {85, 25}, {80, 60}, {45, 92}}),
        kKana, Code("@WA")}});
  const Figure woHook = Figure().Polyline({{15, 20}, {80, 20}, {75, 60}, {40, 92}});
  const Figure wo = Figure(woHook).Line({20, 50}, {78, 50});
  ExpectTrialsDecidedByRow(
      {"@WO", wo, OnOutlines(), {}},
      {{"WO", wo, kKana, Code("@WO")},
       {"bar high", Figure(woHook).Line({20, 30}, {78, 30}), kKana, Code("@WO")}});
  const Figure bar = Figure().Line({10, 50}, {90, 50});
  ExpectTrialsDecidedByRow(
      {"@-", bar, OnOutlines(), {}},
      {{"bar", bar, kKana, '-'},
       {"slanting a little", Figure().Line({10, 38}, {90, 64}), kKana, Code("@-")},
       {"slanting", Figure().Line({10, 25}, {90, 75}), kKana, 0, true}});
}

// ---- exact feature values ---------------------------------------------------------------
// "@_A": its third and fourth strokes within their windows, the last ranges
// held only when `tallLast`; with codes 55 and 131 the last ranges decide.
template <int Code2, bool TallLast, bool WithS0>
void AtAStrokes(RowHarness& h) {
  if (WithS0) h.Stroke(0, 1, 2, {120, 200, 0, 0, 10, 30, 80, 0});
  h.Stroke(2, Code2 / 10, Code2 % 10, {150, 175, 90, 130, 100, 120, 60, 100});
  h.Stroke(3, 13, 1, {128, 128, 100, 220, 90, 120, 120, TallLast ? 240 : 230});
}

// "@SI": a first dot and a last stroke placed against each other.
template <int16_t LastX, int16_t LastY>
void AtSiStrokes(RowHarness& h) {
  h.Stroke(0, 0, 0, {100, 200, 0, 0, 0, 0, 60, 50});
  h.Stroke(1, 2, 7, {150, 110, 180, 60, 70, 80, 120, 100});
  h.Stroke(2, 10, 3, {130, 100, 140, 80, 140, 80, 120, 100});
  h.Stroke(3, 0, 0, {LastX, LastY, 0, 0, 0, 0, 60, 50});
}

// "@_Uc" and "@KUa" with the stroke codes their distance limits name.
void AtUcStrokes(RowHarness& h) {
  h.Stroke(0, 1, 0, {128, 100, 0, 0, 50, 10, 100, 0});
  h.Stroke(1, 2, 3, {100, 128, 50, 150, 50, 100, 60, 60});
  h.Stroke(2, 4, 5, {100, 128, 50, 150, 60, 100, 50, 60});
  h.Stroke(3, 9, 2, {128, 128, 60, 220, 100, 20, 100, 240});
}
void AtKuaStrokes(RowHarness& h) {
  h.Stroke(0, 2, 1, {128, 200, 120, 220, 100, 200, 60, 40});
  h.Stroke(1, 3, 0, {150, 128, 100, 220, 90, 40, 100, 200});
  h.Stroke(2, 4, 4, {100, 100, 50, 120, 90, 80, 60, 60});
  h.Stroke(3, 2, 2, {100, 60, 100, 80, 100, 40, 50, 40});
}

// "@NI", "@TE" and "@-b" on one bound each.
template <int16_t Width>
void AtNiStrokes(RowHarness& h) {
  h.Stroke(0, 0, 0, {100, 200, 0, 0, 0, 0, 200, 40});
  h.Stroke(1, 0, 0, {128, 60, 0, 0, 0, 0, Width, 20});
}
template <int16_t CentreY>
void AtTeStrokes(RowHarness& h) {
  h.Stroke(0, 0, 0, {128, CentreY, 0, 0, 0, 0, 100, 20});
  h.Stroke(1, 1, 0, {128, 128, 0, 0, 0, 0, 100, 0});
  h.Stroke(4, 3, 1, {128, 60, 100, 100, 120, 90, 80, 60});
}
template <int16_t Height>
void AtBarStroke(RowHarness& h) {
  h.Stroke(0, 0, 0, {128, 128, 0, 0, 0, 0, 200, Height});
}

TEST(AtKanaChecks, ThresholdsAndEarlyDecisions) {
  ExpectBoundaries({
      // "@_A": with S0 or S1 matched the row ends after S2 and S3; without
      // them only S2 of code 55 or 64 with S3 of code 131 or 140 meets the
      // last ranges.
      {"@_A, codes 55 and 131, last ranges held", "@_A", 4, 0, AtAStrokes<55, true, false>, 0,
       Code("@_A")},
      {"@_A, codes 55 and 131, S3 too short", "@_A", 4, 0, AtAStrokes<55, false, false>, 0, 0},
      {"@_A, S2 of another code", "@_A", 4, 0, AtAStrokes<54, false, false>, 0, Code("@_A")},
      {"@_A, S0 matched", "@_A", 4, 0, AtAStrokes<55, false, true>, 0, Code("@_A")},
      // "@SI" rejects a first dot 70 or more right of the last stroke and not
      // more than 30 above it; anything else stays.
      {"@SI, 70 right and 30 above", "@SI", 4, 0, AtSiStrokes<30, 170>, 0, 0},
      {"@SI, 69 right", "@SI", 4, 0, AtSiStrokes<31, 170>, 0, Code("@SI")},
      {"@SI, 31 above", "@SI", 4, 0, AtSiStrokes<30, 169>, 0, Code("@SI")},
      // Distances limited by stroke code, below the class thresholds.
      {"@_Uc, code 45, 499", "@_Uc", 4, 0, AtUcStrokes, 499, Code("@_Uc")},
      {"@_Uc, code 45, 500", "@_Uc", 4, 0, AtUcStrokes, 500, 0},
      {"@KUa, code 30, 499", "@KUa", 4, 0, AtKuaStrokes, 499, Code("@KUa")},
      {"@KUa, code 30, 500", "@KUa", 4, 0, AtKuaStrokes, 500, 0},
      // Exact bounds.
      {"@NI, second stroke 170 wide", "@NI", 2, 0, AtNiStrokes<170>, 0, 0},
      {"@NI, second stroke 171 wide", "@NI", 2, 0, AtNiStrokes<171>, 0, Code("@NI")},
      {"@TE, top stroke at 203", "@TE", 5, 0, AtTeStrokes<203>, 0, 0},
      {"@TE, top stroke at 204", "@TE", 5, 0, AtTeStrokes<204>, 0, Code("@TE")},
      {"@-b, 100 high", "@-b", 1, 0, AtBarStroke<100>, 9000, '-'},
      {"@-b, 101 high", "@-b", 1, 0, AtBarStroke<101>, 9000, 0},
      // "@NO" has threshold -120.
      {"@NO at its threshold", "@NO", 1, 0, AtBarStroke<40>, -120, Code("@NO")},
      {"@NO above it", "@NO", 1, 0, AtBarStroke<40>, -119, 0},
  });
}

// Rows whose pen-drawn near misses stop matching their models before the row
// runs: one bound of each on exact features.
template <int16_t TopY>
void AtEStrokes(RowHarness& h) {
  h.Stroke(0, 1, 2, {128, 128, 0, 0, 10, 100, 0, 200});
  h.Stroke(1, 1, 0, {128, 40, 0, 100, 100, 0, 200, 0});
  h.Stroke(2, 1, 0, {128, 100, 0, 0, 100, 0, 200, 0});
  h.Stroke(3, 1, 0, {128, TopY, 60, 0, 100, 0, 80, 0});
}
template <int16_t EndX>
void AtKoStrokes(RowHarness& h) {
  h.Stroke(0, 1, 0, {128, 220, 0, 0, 100, 0, 200, 0});
  h.Stroke(1, 1, 0, {128, 40, 0, 0, EndX, 20, 200, 0});
}
template <int Code0>
void AtHeStrokes(RowHarness& h) {
  h.Stroke(0, Code0 / 10, Code0 % 10, {128, 128, 0, 100, 200, 100, 200, 100});
  h.Stroke(1, 1, 0, {100, 100, 0, 0, 50, 0, 100, 0});
}
template <int16_t StartX>
void AtToStrokes(RowHarness& h) {
  h.Stroke(0, 1, 2, {100, 128, StartX, 250, 100, 0, 0, 250});
  h.Stroke(1, 1, 3, {150, 100, 0, 0, 40, 20, 80, 40});
  h.Stroke(2, 1, 2, {100, 60, 0, 0, 10, 60, 0, 120});
  h.Stroke(3, 1, 3, {150, 80, 0, 0, 40, 20, 80, 40});
}

// "@_O": of its ten strokes the row reads four.
template <int16_t CentreY>
void AtOStrokes(RowHarness& h) {
  h.Stroke(2, 1, 2, {128, 100, 0, 100, 10, 20, 0, 200});
  h.Stroke(7, 1, 0, {128, 100, 0, 0, 10, 0, 20, 0});
  h.Stroke(8, 1, 0, {128, CentreY, 0, 0, 100, 0, 200, 0});
  h.Stroke(9, 1, 2, {128, 128, 0, 200, 10, 20, 0, 200});
}

TEST(AtKanaChecks, BoundsTheDrawnNearMissesNeverReach) {
  ExpectBoundaries({
      // "@_E": the top bar centred at 157 or higher.
      {"@_E, top bar at 157", "@_E", 4, 0, AtEStrokes<157>, 0, Code("@_E")},
      {"@_E, top bar at 156", "@_E", 4, 0, AtEStrokes<156>, 0, 0},
      // "@_O": its ninth stroke centred at 193 or higher.
      {"@_O, ninth stroke at 193", "@_O", 10, 0, AtOStrokes<193>, 0, Code("@_O")},
      {"@_O, ninth stroke at 192", "@_O", 10, 0, AtOStrokes<192>, 0, 0},
      // "@KO": the base ends at least 129 further right than it stands high.
      {"@KO, base end 149 right, 20 high", "@KO", 2, 0, AtKoStrokes<149>, 0, Code("@KO")},
      {"@KO, base end 148 right, 20 high", "@KO", 2, 0, AtKoStrokes<148>, 0, 0},
      // "@HE" refuses a stroke of code 44 or 53 outright.
      {"@HE, code 42", "@HE", 2, 0, AtHeStrokes<42>, 0, Code("@HE")},
      {"@HE, code 44", "@HE", 2, 0, AtHeStrokes<44>, 0, 0},
      {"@HE, code 53", "@HE", 2, 0, AtHeStrokes<53>, 0, 0},
      // "@TO": the stem starts left of 130.
      {"@TO, stem from 129", "@TO", 4, 0, AtToStrokes<129>, 0, Code("@TO")},
      {"@TO, stem from 130", "@TO", 4, 0, AtToStrokes<130>, 0, 0},
  });
}

// "@YAa" compares the rise of the second stroke's start over the first's
// with the run between them; starts straight above each other divide by 1.
template <int16_t FirstY1, int16_t FirstX1>
void AtYaaStrokes(RowHarness& h) {
  h.Stroke(0, 2, 1, {128, 128, FirstX1, FirstY1, 150, 40, 60, 60});
  h.Stroke(1, 2, 2, {128, 128, 100, 60, 150, 40, 20, 60});
  h.Stroke(4, 2, 7, {128, 128, 100, 60, 150, 40, 20, 60});
  h.Stroke(7, 2, 3, {128, 128, 100, 60, 150, 50, 20, 60});
  h.Stroke(8, 2, 3, {120, 128, 100, 60, 150, 50, 20, 60});
}

TEST(AtKanaChecks, DivisionsWithoutAZeroDivisor) {
  ExpectBoundaries({
      {"@YAa, same x, rise 2", "@YAa", 9, 0, AtYaaStrokes<58, 100>, 0, Code("@YAa")},
      {"@YAa, same x, no rise", "@YAa", 9, 0, AtYaaStrokes<60, 100>, 0, Code("@YAa")},
      {"@YAa, same x, rise 1", "@YAa", 9, 0, AtYaaStrokes<59, 100>, 0, 0},
      {"@YAa, run 2, rise 4", "@YAa", 9, 0, AtYaaStrokes<56, 102>, 0, Code("@YAa")},
  });
}

// Strokes laid as chains of pixels in a frame of `size` pixels: the frame
// positions given are mapped back to pixels.
std::vector<std::pair<int, int>> InPixels(int size,
                                          std::initializer_list<std::pair<int, int>> frame) {
  std::vector<std::pair<int, int>> pixels;
  for (const auto& [x, y] : frame)
    pixels.push_back({(x * size + 128) / 256, (y * size + 128) / 256});
  return pixels;
}

TEST(AtKanaChecks, SmallCharactersDecideTheHa) {
  // "@HA" measures the slant of its two strokes by their highest and lowest
  // points; the character's size then decides: below 17 pixels rejects, 21
  // or more keeps, 17 to 20 keep a second stroke whose top is not far left
  // of its foot.
  struct Case {
    const char* what;
    int size;
    int footX;  // frame x of the second stroke's lowest point (its top at 60)
    uint16_t expected;
  };
  const Case cases[] = {
      {"16 pixels", 16, 60, 0},
      {"21 pixels, foot right", 21, 85, Code("@HA")},
      {"18 pixels", 18, 60, Code("@HA")},
      {"18 pixels, foot right", 18, 85, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    RowHarness h(2, 0, "@HA");
    h.frame().size = static_cast<int16_t>(k.size);
    h.StrokeWithChain(0, 2, 1, {200, 120, 0, 0, 0, 0, 100, 100},
                      InPixels(k.size, {{200, 200}, {230, 50}}));
    h.StrokeWithChain(1, 2, 1, {60, 120, 0, 0, 0, 0, 100, 100},
                      InPixels(k.size, {{60, 200}, {k.footX, 50}}));
    h.candidate().distance = 0;
    h.candidate().valid = Code("@HA");
    h.ApplyCheck();
    EXPECT_EQ(h.valid(), k.expected);
  }
}

// "@TU": the longest pieces of S0 and S3 (one chain each) and where S1
// starts.
void LayTu(RowHarness& h, const std::vector<std::pair<int, int>>& first, int16_t start,
           const std::vector<std::pair<int, int>>& last) {
  h.StrokeWithChain(0, 2, 1, {60, 120, 0, 0, 0, 0, 100, 50}, first);
  h.Stroke(1, 2, 1, {128, 128, start, 100, 0, 0, 50, 50});
  h.Stroke(2, 1, 0, {128, 128, 0, 0, 0, 0, 50, 0});
  h.StrokeWithChain(3, 2, 1, {60, 120, 0, 0, 0, 0, 100, 50}, last);
}

// "@MA": S1 of a code between whose extremes the row measures its hook.
template <int SubKind>
void AtMaStrokes(RowHarness& h) {
  h.Stroke(0, 1, 0, {128, 200, 0, 0, 100, 10, 200, 0});
  h.StrokeWithChain(1, 6, SubKind, {100, 100, 50, 150, 150, 50, 100, 100}, {{50, 150}, {150, 50}});
  h.Stroke(2, 2, 3, {128, 60, 50, 80, 100, 40, 60, 100});
  h.Stroke(3, 1, 0, {100, 30, 0, 0, 40, 0, 80, 0});
}

// "@RA": S1 of the given code, S0 wide enough for every code; the candidate
// has no outline, so a code whose hook is measured on it is refused.
template <int Code1>
void AtRaStrokes(RowHarness& h) {
  h.Stroke(0, 1, 0, {128, 230, 0, 0, 60, 0, 120, 0});
  h.Stroke(1, Code1 / 10, Code1 % 10, {128, 100, 200, 150, 150, 20, 120, 130});
  h.Stroke(2, 1, 2, {150, 100, 0, 0, 10, 60, 0, 120});
}

TEST(AtKanaChecks, PiecesAndDirectionsByCode) {
  ExpectBoundaries({
      // "@TU": a rising longest piece of S0 and a falling one of S3 close to
      // S1's start reject; upright pieces (slope 32767) meet neither rule.
      {"@TU, rising and falling pieces", "@TU", 4, 0,
       [](RowHarness& h) {
         LayTu(h, {{10, 100}, {110, 150}}, 150, {{10, 150}, {110, 100}});
       },
       0, 0},
      {"@TU, S1 starting 51 right of the piece", "@TU", 4, 0,
       [](RowHarness& h) {
         LayTu(h, {{10, 100}, {110, 150}}, 161, {{10, 150}, {110, 100}});
       },
       0, Code("@TU")},
      {"@TU, upright pieces", "@TU", 4, 0,
       [](RowHarness& h) {
         LayTu(h, {{10, 100}, {10, 150}}, 20, {{10, 150}, {10, 100}});
       },
       0, Code("@TU")},
      // "@MA" measures S1 between the extremes its code names; a code it does
      // not list measures a point against itself and fails the length.
      {"@MA, code 66", "@MA", 4, 0, AtMaStrokes<6>, 0, Code("@MA")},
      {"@MA, code 65", "@MA", 4, 0, AtMaStrokes<5>, 0, 0},
      // "@RA" walks the outline only for the codes 35, 44, 45 and 54 of S1;
      // 55 and 64 are kept at once, 25, 53 and 63 refused.
      {"@RA, S1 of code 33: no outline read", "@RA", 3, 0, AtRaStrokes<33>, 0, Code("@RA")},
      {"@RA, S1 of code 54: its hook read on the outline", "@RA", 3, 0, AtRaStrokes<54>, 0, 0},
      {"@RA, S1 of code 55", "@RA", 3, 0, AtRaStrokes<55>, 0, Code("@RA")},
      {"@RA, S1 of code 53", "@RA", 3, 0, AtRaStrokes<53>, 0, 0},
  });
}

}  // namespace
