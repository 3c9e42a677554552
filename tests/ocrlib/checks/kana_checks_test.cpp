// The plain katakana checks, read on the thinned steps: for each column of
// the syllabary, pen-drawn kana that match a model derived from a clean
// drawing and that the class's row keeps, and near misses that still match
// the model but that the row rejects. Then the measures the rows share and
// the thresholds and areas that matter on exact feature values.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "ocrlib/checks/kana_checks.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/check_trials.h"

namespace {

using modelkit::Boundary;
using modelkit::ClassModel;
using modelkit::ExpectBoundaries;
using modelkit::ExpectTrialsDecidedByRow;
using modelkit::LooseJunction;
using modelkit::RowHarness;
using penkit::Figure;

constexpr uint32_t kKana = kTypeKatakana;
const std::vector<uint8_t> kAnyStraightCode = {10, 11, 12, 13};

uint16_t Code(const char* row) { return ClassCodeOfName(row); }

// A model whose strokes play the model strokes given, in the order they are
// traced, and whose model strokes `optional` may be missing.
ModelDerivation Strokes(std::vector<int> roles, std::vector<int> optional = {}) {
  ModelDerivation how;
  how.roles = std::move(roles);
  how.optional = std::move(optional);
  return how;
}

// A model whose one crossing plays its second point, the first (a junction
// other writings have) being optional.
ModelDerivation CrossingAsSecondPoint() {
  ModelDerivation how;
  how.pointRoles = {1};
  how.extraPoints = {{0, LooseJunction(128, 128)}};
  return how;
}

TEST(KanaChecks, VowelsAndTheKaAndSaColumns) {
  // "_A" reads its junction point whenever its second stroke is there: drawn
  // clear of the first, the second stroke leaves no point to read.
  const Figure a = Figure().Polyline({{15, 15}, {85, 15}, {60, 45}}).Line({45, 30}, {45, 92});
  ExpectTrialsDecidedByRow({"_A", a, {}, {}}, {{"second stroke clear of the first", a, kKana, 0}});
  // No near miss of "_I" drawn so far matches its model and fails the row.
  const Figure i = Figure().Line({75, 10}, {15, 55}).Line({50, 38}, {50, 92});
  ExpectTrialsDecidedByRow(
      {"_I", i, {}, {}},
      {{"I", i, kKana, Code("_I")},
       {"stem further right", Figure().Line({75, 10}, {15, 55}).Line({62, 38}, {62, 92}), kKana,
        Code("_I")},
       {"stem leaning left", Figure().Line({75, 10}, {15, 55}).Line({55, 38}, {40, 92}), kKana,
        Code("_I")}});
  const Figure u =
      Figure().Line({50, 5}, {50, 25}).Polyline({{15, 45}, {15, 25}, {85, 25}, {80, 60}, {45, 92}});
  ExpectTrialsDecidedByRow({"_U", u, {}, {}},
                           {{"U", u, kKana, Code("_U")},
                            {"tick over the right corner",
                             Figure()
                                 .Line({80, 5}, {80, 25})
                                 .Polyline({{15, 45}, {15, 25}, {85, 25}, {80, 60}, {45, 92}}),
                             kKana, 0}});
  // "_O" drawn with its sweep leaving the stem. No near miss drawn so far
  // matches its model and fails the row.
  const Figure oCross = Figure().Line({10, 35}, {90, 35}).Line({60, 10}, {60, 92});
  const Figure o = Figure(oCross).Line({58, 42}, {15, 80});
  ExpectTrialsDecidedByRow(
      {"_O", o, {}, {}},
      {{"O", o, kKana, Code("_O")},
       {"short sweep", Figure(oCross).Line({58, 42}, {40, 58}), kKana, Code("_O")},
       {"short stem",
        Figure().Line({10, 35}, {90, 35}).Line({60, 10}, {60, 60}).Line({58, 42}, {15, 80}), kKana,
        Code("_O")}});
  const Figure ki =
      Figure().Line({20, 30}, {80, 25}).Line({15, 60}, {85, 55}).Line({40, 10}, {60, 92});
  ExpectTrialsDecidedByRow(
      {"KI", ki, {}, {}},
      {{"KI", ki, kKana, Code("KI")},
       {"stem further left",
        Figure().Line({20, 30}, {80, 25}).Line({15, 60}, {85, 55}).Line({25, 10}, {40, 92}), kKana,
        Code("KI")},
       {"bars slanting up",
        Figure().Line({20, 40}, {80, 20}).Line({15, 70}, {85, 50}).Line({40, 10}, {60, 92}), kKana,
        Code("KI")},
       {"stem ending at the lower bar",
        Figure().Line({20, 30}, {80, 25}).Line({15, 60}, {85, 55}).Line({40, 10}, {50, 65}), kKana,
        0}});
  const Figure kuRoof = Figure().Line({40, 10}, {10, 50});
  const Figure ku = Figure(kuRoof).Polyline({{30, 25}, {85, 25}, {70, 65}, {25, 92}});
  ExpectTrialsDecidedByRow(
      {"KU", ku, {}, {}},
      {{"KU", ku, kKana, Code("KU")},
       {"tail upright as in KE", Figure(kuRoof).Polyline({{30, 25}, {85, 25}, {80, 92}}), kKana, 0},
       {"short tail", Figure(kuRoof).Polyline({{30, 25}, {85, 25}, {75, 50}}), kKana, 0},
       {"first stroke standing at the left as in WA",
        Figure().Line({20, 10}, {10, 50}).Polyline({{20, 25}, {85, 25}, {70, 65}, {25, 92}}), kKana,
        0}});
  const Figure ke = Figure()
                        .Line({35, 10}, {15, 50})
                        .Line({25, 35}, {90, 35})
                        .Polyline({{65, 35}, {60, 65}, {40, 92}});
  ExpectTrialsDecidedByRow({"KE", ke, {}, {}}, {{"KE", ke, kKana, Code("KE")},
                                                {"left stroke down to the bottom",
                                                 Figure()
                                                     .Line({35, 10}, {10, 85})
                                                     .Line({25, 35}, {90, 35})
                                                     .Polyline({{65, 35}, {60, 65}, {40, 92}}),
                                                 kKana, 0}});
  const Figure ko = Figure().Polyline({{15, 15}, {80, 15}, {80, 85}, {15, 85}});
  ExpectTrialsDecidedByRow(
      {"KO", ko, {}, {}},
      {{"KO", ko, kKana, Code("KO")},
       {"short base", Figure().Polyline({{15, 15}, {80, 15}, {80, 85}, {50, 85}}), kKana, 0},
       {"short top", Figure().Polyline({{45, 15}, {80, 15}, {80, 85}, {15, 85}}), kKana, 0}});
  const Figure sa = Figure()
                        .Line({10, 35}, {90, 35})
                        .Line({30, 15}, {30, 60})
                        .Polyline({{70, 10}, {70, 55}, {45, 92}});
  ExpectTrialsDecidedByRow({"SA", sa, {}, {}}, {{"SA", sa, kKana, Code("SA")},
                                                {"short left stroke",
                                                 Figure()
                                                     .Line({10, 35}, {90, 35})
                                                     .Line({30, 25}, {30, 45})
                                                     .Polyline({{70, 10}, {70, 55}, {45, 92}}),
                                                 kKana, Code("SA")},
                                                {"bar near the top",
                                                 Figure()
                                                     .Line({10, 15}, {90, 15})
                                                     .Line({30, 8}, {30, 60})
                                                     .Polyline({{70, 8}, {70, 55}, {45, 92}}),
                                                 kKana, Code("SA")},
                                                {"left stroke down to the bottom",
                                                 Figure()
                                                     .Line({10, 35}, {90, 35})
                                                     .Line({30, 10}, {30, 92})
                                                     .Polyline({{70, 10}, {70, 55}, {45, 92}}),
                                                 kKana, 0},
                                                {"right stroke short",
                                                 Figure()
                                                     .Line({10, 35}, {90, 35})
                                                     .Line({30, 15}, {30, 60})
                                                     .Polyline({{70, 10}, {70, 45}, {60, 60}}),
                                                 kKana, 0}});
  // The third stroke may be missing only where the pen closed a loop.
  const Figure siStroke = Figure().Polyline({{10, 92}, {50, 80}, {90, 25}});
  const Figure si = Figure().Line({15, 20}, {35, 30}).Line({10, 50}, {30, 60}).Add(siStroke);
  ExpectTrialsDecidedByRow(
      {"SI", si, Strokes({}, {2}), {}},
      {{"SI", si, kKana, Code("SI")},
       {"dots steep as in TU",
        Figure().Line({15, 20}, {25, 40}).Line({35, 15}, {45, 35}).Add(siStroke), kKana,
        Code("SI")},
       {"one dot, as N", Figure().Line({15, 35}, {35, 45}).Add(siStroke), kKana, 0}});
  const Figure su =
      Figure().Polyline({{15, 15}, {80, 15}, {60, 50}, {15, 90}}).Line({50, 60}, {85, 90});
  const Figure suBody = Figure().Polyline({{15, 15}, {80, 15}, {60, 50}, {15, 90}});
  ExpectTrialsDecidedByRow(
      {"SU", su, {}, {}},
      {{"SU", su, kKana, Code("SU")},
       {"short leg", Figure(suBody).Line({52, 58}, {65, 70}), kKana, 0},
       {"leg high on the right", Figure(suBody).Line({65, 35}, {90, 55}), kKana, 0},
       {"short top",
        Figure().Polyline({{45, 15}, {80, 15}, {60, 50}, {15, 90}}).Line({50, 60}, {85, 90}), kKana,
        0}});
  // "SO" and "TU" drawn with their sweep dropping before it curls left. A
  // first stroke high over the sweep fails a sum that reads the offset of
  // the sweep's chord measure.
  const Figure sweep = Figure().Polyline({{80, 10}, {82, 55}, {60, 82}, {35, 92}});
  const Figure so = Figure().Line({20, 25}, {35, 50}).Add(sweep);
  ExpectTrialsDecidedByRow(
      {"SO", so, {}, {}},
      {{"SO", so, kKana, Code("SO")},
       {"long first stroke", Figure().Line({10, 15}, {40, 60}).Add(sweep), kKana, Code("SO")},
       {"first stroke low", Figure().Line({15, 55}, {30, 75}).Add(sweep), kKana, 0},
       {"first stroke high", Figure().Line({20, 5}, {35, 20}).Add(sweep), kKana, 0},
       {"first stroke right of the sweep", Figure().Line({88, 25}, {95, 45}).Add(sweep), kKana, 0},
       {"short sweep", Figure().Line({20, 25}, {35, 50}).Polyline({{80, 10}, {82, 40}, {70, 55}}),
        kKana, 0}});
}

TEST(KanaChecks, TheTaNaHaAndMaColumns) {
  // No near miss of "TI" drawn so far matches its model and fails the row.
  const Figure tiTop = Figure().Line({70, 10}, {25, 25});
  const Figure tiStem = Figure().Polyline({{50, 20}, {50, 70}, {30, 92}});
  const Figure ti = Figure(tiTop).Line({10, 45}, {90, 45}).Add(tiStem);
  ExpectTrialsDecidedByRow(
      {"TI", ti, {}, {}},
      {{"TI", ti, kKana, Code("TI")},
       {"short bar", Figure(tiTop).Line({35, 45}, {65, 45}).Add(tiStem), kKana, Code("TI")},
       {"short stem",
        Figure(tiTop).Line({10, 45}, {90, 45}).Polyline({{50, 20}, {50, 55}, {40, 65}}), kKana,
        Code("TI")}});
  const Figure tuSweep = Figure().Polyline({{80, 10}, {82, 55}, {60, 82}, {35, 92}});
  const Figure tu = Figure().Line({15, 25}, {25, 45}).Line({40, 20}, {50, 40}).Add(tuSweep);
  ExpectTrialsDecidedByRow(
      {"TU", tu, {}, {}},
      {{"TU", tu, kKana, Code("TU")},
       {"flat dots", Figure().Line({10, 30}, {30, 35}).Line({40, 25}, {60, 30}).Add(tuSweep), kKana,
        Code("TU")},
       {"dots far left", Figure().Line({5, 25}, {12, 45}).Line({20, 20}, {27, 40}).Add(tuSweep),
        kKana, Code("TU")},
       {"dots low", Figure().Line({15, 55}, {25, 75}).Line({40, 50}, {50, 70}).Add(tuSweep), kKana,
        0},
       {"short sweep",
        Figure()
            .Line({15, 25}, {25, 45})
            .Line({40, 20}, {50, 40})
            .Polyline({{80, 10}, {82, 40}, {70, 55}}),
        kKana, 0}});
  // "TE" drawn with its stem clear of the bar. No near miss drawn so far
  // matches its model and fails the row.
  const Figure teLower = Figure().Line({10, 45}, {90, 45}).Polyline({{55, 56}, {52, 75}, {35, 92}});
  const Figure te = Figure().Line({25, 15}, {75, 15}).Add(teLower);
  ExpectTrialsDecidedByRow(
      {"TE", te, {}, {}},
      {{"TE", te, kKana, Code("TE")},
       {"top stroke a dot", Figure().Line({45, 15}, {55, 15}).Add(teLower), kKana, Code("TE")},
       {"stem straight down",
        Figure().Line({25, 15}, {75, 15}).Line({10, 45}, {90, 45}).Line({55, 56}, {55, 92}), kKana,
        Code("TE")},
       {"short bar",
        Figure()
            .Line({25, 15}, {75, 15})
            .Line({35, 45}, {65, 45})
            .Polyline({{55, 56}, {52, 75}, {35, 92}}),
        kKana, Code("TE")}});
  const Figure to = Figure().Line({35, 10}, {35, 92}).Line({35, 45}, {80, 65});
  ExpectTrialsDecidedByRow(
      {"TO", to, {}, {}},
      {{"TO", to, kKana, Code("TO")},
       {"branch near the top", Figure().Line({35, 10}, {35, 92}).Line({35, 15}, {80, 35}), kKana,
        Code("TO")},
       {"stem leaning left", Figure().Line({50, 10}, {25, 92}).Line({40, 45}, {80, 65}), kKana,
        0}});
  const Figure ni = Figure().Line({25, 25}, {75, 25}).Line({10, 80}, {90, 80});
  ExpectTrialsDecidedByRow(
      {"NI", ni, {}, {}}, {{"NI", ni, kKana, Code("NI")},
                           {"base no longer than the top",
                            Figure().Line({25, 25}, {75, 25}).Line({35, 80}, {65, 80}), kKana, 0}});
  const Figure nu =
      Figure().Polyline({{15, 15}, {80, 15}, {60, 60}, {15, 92}}).Line({40, 50}, {75, 80});
  const Figure nuBody = Figure().Polyline({{15, 15}, {80, 15}, {60, 60}, {15, 92}});
  ExpectTrialsDecidedByRow(
      {"NU", nu, {}, {}},
      {{"NU", nu, kKana, Code("NU")},
       {"long leg", Figure(nuBody).Line({25, 40}, {90, 92}), kKana, Code("NU")},
       {"leg high on the right, a tick on HU", Figure(nuBody).Line({55, 25}, {85, 45}), kKana, 0}});
  const Figure no = Figure().Polyline({{75, 10}, {65, 50}, {20, 90}});
  ExpectTrialsDecidedByRow(
      {"NO", no, {}, kAnyStraightCode},
      {{"NO", no, kKana, Code("NO")},
       {"almost upright", Figure().Polyline({{60, 10}, {58, 50}, {48, 90}}), kKana, Code("NO")},
       {"wide and shallow", Figure().Polyline({{85, 25}, {60, 55}, {10, 75}}), kKana, 0}});
  const Figure ha = Figure().Line({40, 25}, {15, 80}).Line({60, 25}, {90, 80});
  ExpectTrialsDecidedByRow(
      {"HA", ha, Strokes({1, 0}), {}},
      {{"HA", ha, kKana, Code("HA")},
       {"strokes far apart", Figure().Line({30, 25}, {10, 80}).Line({70, 25}, {90, 80}), kKana,
        Code("HA")},
       {"left stroke upright", Figure().Line({35, 25}, {35, 80}).Line({60, 25}, {90, 80}), kKana,
        Code("HA")},
       {"short right stroke", Figure().Line({40, 25}, {15, 80}).Line({60, 25}, {70, 45}), kKana, 0},
       {"short left stroke", Figure().Line({40, 25}, {32, 40}).Line({60, 25}, {90, 80}), kKana,
        0}});
  // "HI" drawn with its bar clear of the stem. No near miss drawn so far
  // matches its model and fails the row.
  const Figure hiBody = Figure().Polyline({{25, 10}, {25, 85}, {85, 85}});
  const Figure hi = Figure().Line({36, 42}, {75, 32}).Add(hiBody);
  ExpectTrialsDecidedByRow(
      {"HI", hi, {}, {}},
      {{"HI", hi, kKana, Code("HI")},
       {"long bar", Figure().Line({36, 42}, {90, 32}).Add(hiBody), kKana, Code("HI")},
       {"bar rising steeply", Figure().Line({36, 50}, {70, 15}).Add(hiBody), kKana, Code("HI")},
       {"short base", Figure().Line({36, 42}, {75, 32}).Polyline({{25, 10}, {25, 85}, {50, 85}}),
        kKana, Code("HI")}});
  const Figure hu = Figure().Polyline({{15, 15}, {85, 15}, {70, 60}, {30, 92}});
  ExpectTrialsDecidedByRow(
      {"HU", hu, {}, {}},
      {{"HU", hu, kKana, Code("HU")},
       {"short top", Figure().Polyline({{55, 15}, {85, 15}, {70, 60}, {30, 92}}), kKana, 0}});
  const Figure he = Figure().Polyline({{10, 60}, {35, 30}, {90, 75}});
  ExpectTrialsDecidedByRow(
      {"HE", he, {}, {}},
      {{"HE", he, kKana, Code("HE")},
       {"apex further right", Figure().Polyline({{10, 75}, {70, 30}, {90, 60}}), kKana, Code("HE")},
       {"almost flat", Figure().Polyline({{10, 60}, {35, 50}, {90, 65}}), kKana, 0}});
  // "HO" whose two dots keep clear of the stem.
  const Figure hoCross = Figure().Line({10, 35}, {90, 35}).Line({50, 10}, {50, 92});
  const Figure hoDots = Figure().Line({30, 55}, {15, 80}).Line({70, 55}, {85, 80});
  const Figure ho = Figure(hoCross).Add(hoDots);
  ExpectTrialsDecidedByRow(
      {"HO", ho, CrossingAsSecondPoint(), {}},
      {{"HO", ho, kKana, Code("HO")},
       {"short bar", Figure().Line({30, 35}, {70, 35}).Line({50, 10}, {50, 92}).Add(hoDots), kKana,
        Code("HO")},
       {"short stem", Figure().Line({10, 35}, {90, 35}).Line({50, 10}, {50, 60}).Add(hoDots), kKana,
        Code("HO")},
       {"dots slanting inward", Figure(hoCross).Line({15, 55}, {30, 80}).Line({85, 55}, {70, 80}),
        kKana, 0}});
  // No near miss of "MA" drawn so far matches its model and fails the row.
  const Figure maRoof = Figure().Polyline({{15, 20}, {85, 20}, {50, 65}});
  const Figure ma = Figure(maRoof).Line({40, 50}, {65, 85});
  ExpectTrialsDecidedByRow(
      {"MA", ma, {}, {}},
      {{"MA", ma, kKana, Code("MA")},
       {"long tail", Figure(maRoof).Line({35, 45}, {80, 92}), kKana, Code("MA")},
       {"flat tail", Figure(maRoof).Line({40, 60}, {75, 70}), kKana, Code("MA")},
       {"short roof", Figure().Polyline({{40, 20}, {85, 20}, {50, 65}}).Line({40, 50}, {65, 85}),
        kKana, Code("MA")}});
  const Figure mi =
      Figure().Line({25, 15}, {75, 25}).Line({30, 45}, {70, 55}).Line({20, 75}, {80, 90});
  ExpectTrialsDecidedByRow(
      {"MI", mi, {}, {}},
      {{"MI", mi, kKana, Code("MI")},
       {"strokes crowded at the top",
        Figure().Line({25, 15}, {75, 25}).Line({30, 30}, {70, 40}).Line({20, 45}, {80, 60}), kKana,
        0}});
  const Figure mu = Figure().Polyline({{45, 10}, {15, 85}, {85, 80}}).Line({70, 60}, {85, 90});
  ExpectTrialsDecidedByRow(
      {"MU", mu, {}, {}},
      {{"MU", mu, kKana, Code("MU")},
       {"upright back", Figure().Polyline({{25, 10}, {25, 85}, {85, 80}}).Line({70, 60}, {85, 90}),
        kKana, Code("MU")}});
  // The pen's near misses of "ME" go beyond its threshold: none reaches the row.
  const Figure meStroke = Figure().Polyline({{75, 10}, {60, 50}, {15, 92}});
  const Figure me = Figure(meStroke).Line({30, 35}, {85, 85});
  ExpectTrialsDecidedByRow(
      {"ME", me, {}, {}},
      {{"ME", me, kKana, Code("ME")},
       {"short cross", Figure(meStroke).Line({45, 50}, {60, 65}), kKana, Code("ME")},
       {"cross falling steeply", Figure(meStroke).Line({40, 30}, {70, 92}), kKana, Code("ME")}});
  // "MO" drawn with its stem clear of the top stroke, the stem with its foot
  // playing the third model stroke. No near miss drawn so far matches its
  // model and fails the row.
  const Figure moBars = Figure().Line({20, 15}, {80, 15}).Line({10, 45}, {90, 45});
  const Figure mo = Figure(moBars).Polyline({{45, 25}, {45, 85}, {85, 85}});
  ExpectTrialsDecidedByRow(
      {"MO", mo, Strokes({0, 2, 1}), {}},
      {{"MO", mo, kKana, Code("MO")},
       {"short foot", Figure(moBars).Polyline({{45, 25}, {45, 85}, {60, 85}}), kKana, Code("MO")},
       {"short stem", Figure(moBars).Polyline({{45, 25}, {45, 60}, {85, 60}}), kKana, Code("MO")}});
}

TEST(KanaChecks, TheYaRaAndWaColumnsAndTheMarks) {
  const Figure yu = Figure().Polyline({{20, 30}, {70, 30}, {65, 80}}).Line({10, 80}, {90, 80});
  ExpectTrialsDecidedByRow(
      {"YU", yu, {}, {}},
      {{"YU", yu, kKana, Code("YU")},
       {"tall", Figure().Polyline({{20, 10}, {70, 10}, {65, 80}}).Line({10, 80}, {90, 80}), kKana,
        Code("YU")},
       {"short base", Figure().Polyline({{20, 30}, {70, 30}, {65, 80}}).Line({40, 80}, {75, 80}),
        kKana, 0}});
  const Figure yaBar = Figure().Polyline({{10, 35}, {90, 25}, {70, 55}});
  const Figure ya = Figure(yaBar).Line({35, 10}, {55, 92});
  ExpectTrialsDecidedByRow(
      {"YA", ya, CrossingAsSecondPoint(), {}},
      {{"YA", ya, kKana, Code("YA")},
       {"long hook", Figure().Polyline({{10, 35}, {90, 25}, {60, 75}}).Line({35, 10}, {55, 92}),
        kKana, Code("YA")},
       {"short stem", Figure(yaBar).Line({35, 10}, {45, 50}), kKana, 0},
       {"bar low", Figure().Polyline({{10, 60}, {90, 50}, {70, 80}}).Line({35, 10}, {55, 92}),
        kKana, 0}});
  // "YO" drawn with its middle bar clear of the right side.
  const Figure yoBox = Figure().Polyline({{15, 15}, {80, 15}, {80, 85}, {15, 85}});
  const Figure yo = Figure(yoBox).Line({20, 50}, {72, 50});
  ExpectTrialsDecidedByRow(
      {"YO", yo, {}, {}},
      {{"YO", yo, kKana, Code("YO")},
       {"short middle bar", Figure(yoBox).Line({45, 50}, {72, 50}), kKana, Code("YO")},
       {"middle bar out to the left", Figure(yoBox).Line({10, 50}, {72, 50}), kKana, Code("YO")},
       {"short base",
        Figure().Polyline({{15, 15}, {80, 15}, {80, 85}, {50, 85}}).Line({20, 50}, {72, 50}), kKana,
        0},
       {"short top",
        Figure().Polyline({{45, 15}, {80, 15}, {80, 85}, {15, 85}}).Line({20, 50}, {72, 50}), kKana,
        0},
       {"middle bar near the top", Figure(yoBox).Line({20, 25}, {72, 25}), kKana, 0}});
  const Figure ra =
      Figure().Line({25, 10}, {75, 10}).Polyline({{15, 35}, {85, 35}, {70, 70}, {30, 92}});
  ExpectTrialsDecidedByRow(
      {"RA", ra, {}, {}},
      {{"RA", ra, kKana, Code("RA")},
       {"long top",
        Figure().Line({5, 10}, {95, 10}).Polyline({{15, 35}, {85, 35}, {70, 70}, {30, 92}}), kKana,
        Code("RA")},
       {"short tail", Figure().Line({25, 10}, {75, 10}).Polyline({{15, 35}, {85, 35}, {75, 50}}),
        kKana, 0}});
  const Figure ri = Figure().Line({25, 15}, {25, 60}).Polyline({{70, 10}, {70, 60}, {40, 92}});
  ExpectTrialsDecidedByRow(
      {"RI", ri, {}, {}},
      {{"RI", ri, kKana, Code("RI")},
       {"left stroke as long as the right",
        Figure().Line({25, 10}, {25, 92}).Polyline({{70, 10}, {70, 60}, {40, 92}}), kKana, 0},
       {"left stroke low",
        Figure().Line({25, 50}, {25, 92}).Polyline({{70, 10}, {70, 60}, {40, 92}}), kKana, 0}});
  const Figure ru =
      Figure().Polyline({{35, 10}, {32, 60}, {15, 90}}).Polyline({{60, 10}, {60, 85}, {90, 60}});
  ExpectTrialsDecidedByRow(
      {"RU", ru, {}, {}},
      {{"RU", ru, kKana, Code("RU")},
       {"long hook",
        Figure().Polyline({{35, 10}, {32, 60}, {15, 90}}).Polyline({{60, 10}, {60, 85}, {95, 10}}),
        kKana, Code("RU")},
       {"small hook as in RI",
        Figure().Polyline({{35, 10}, {32, 60}, {15, 90}}).Polyline({{60, 10}, {60, 85}, {70, 78}}),
        kKana, 0}});
  const Figure re = Figure().Polyline({{25, 10}, {25, 88}, {85, 50}});
  ExpectTrialsDecidedByRow(
      {"RE", re, {}, {}},
      {{"RE", re, kKana, Code("RE")},
       {"tail low", Figure().Polyline({{25, 10}, {25, 88}, {85, 80}}), kKana, Code("RE")},
       {"short stem", Figure().Polyline({{25, 50}, {25, 88}, {85, 60}}), kKana, 0}});
  const Figure ro = Figure().Polyline({{15, 15}, {80, 15}, {80, 85}, {15, 85}, {15, 15}});
  ExpectTrialsDecidedByRow(
      {"RO", ro, {}, {}},
      {{"RO", ro, kKana, Code("RO")}, {"round", Figure().Circle({50, 50}, 38), kKana, 0}});
  // "WA" drawn with its right side bowing out past the top's end.
  const Figure wa = Figure().Polyline({{15, 40}, {15, 15}, {75, 15}, {88, 40}, {70, 70}, {35, 92}});
  ExpectTrialsDecidedByRow(
      {"WA", wa, {}, {}},
      {{"WA", wa, kKana, Code("WA")},
       {"long left side",
        Figure().Polyline({{15, 70}, {15, 15}, {75, 15}, {88, 40}, {70, 70}, {35, 92}}), kKana, 0},
       {"U without its tick",
        Figure().Polyline({{15, 45}, {15, 25}, {75, 25}, {88, 45}, {70, 70}, {35, 92}}), kKana, 0},
       {"short tail", Figure().Polyline({{15, 40}, {15, 15}, {75, 15}, {88, 40}, {75, 60}}), kKana,
        0}});
  const Figure woHook = Figure().Polyline({{15, 20}, {80, 20}, {75, 60}, {40, 92}});
  const Figure wo = Figure(woHook).Line({20, 50}, {78, 50});
  ExpectTrialsDecidedByRow(
      {"WO", wo, {}, {}},
      {{"WO", wo, kKana, Code("WO")},
       {"short bar", Figure(woHook).Line({45, 50}, {70, 50}), kKana, Code("WO")},
       {"a tick in place of the bar", Figure(woHook).Line({55, 45}, {78, 60}), kKana, 0}});
  // "_N" drawn with its sweep dipping before it rises, the sweep traced first.
  const Figure nSweep = Figure().Polyline({{15, 82}, {45, 92}, {75, 70}, {85, 15}});
  const Figure n = Figure().Line({15, 25}, {35, 40}).Add(nSweep);
  ExpectTrialsDecidedByRow(
      {"_N", n, Strokes({1, 0}), {}},
      {{"N", n, kKana, Code("_N")},
       {"long first stroke", Figure().Line({10, 20}, {45, 45}).Add(nSweep), kKana, Code("_N")},
       {"first stroke low", Figure().Line({15, 50}, {35, 62}).Add(nSweep), kKana, 0},
       {"first stroke steep as in SO", Figure().Line({15, 20}, {25, 45}).Add(nSweep), kKana, 0},
       {"first stroke over the middle", Figure().Line({50, 25}, {70, 40}).Add(nSweep), kKana, 0}});
  // No near miss of "DK" drawn so far matches its model and fails the row.
  const Figure dk = Figure().Line({35, 30}, {45, 60}).Line({60, 25}, {70, 55});
  ExpectTrialsDecidedByRow(
      {"DK", dk, {}, {}},
      {{"DK", dk, kKana, Code("DK")},
       {"close together", Figure().Line({40, 30}, {50, 60}).Line({55, 25}, {65, 55}), kKana,
        Code("DK")},
       {"one stroke short", Figure().Line({35, 30}, {45, 60}).Line({62, 28}, {65, 35}), kKana,
        Code("DK")}});
  const Figure bar = Figure().Line({10, 50}, {90, 50});
  ExpectTrialsDecidedByRow({"-", bar, {}, kAnyStraightCode},
                           {{"bar", bar, kKana, '-'},
                            {"slanting a little", Figure().Line({10, 40}, {90, 60}), kKana, 0},
                            {"slanting", Figure().Line({10, 35}, {90, 70}), kKana, 0, true}});
}

// ---- the measures the rows share ------------------------------------------------------
TEST(KanaChecks, BendOfALastPieceLeftOfItsChord) {
  struct Case {
    const char* what;
    std::initializer_list<std::pair<int, int>> points;
    bool decided;  // rejected by the measure itself
    int32_t bend;
  };
  // One piece: its points run from the first (left) to the last (right);
  // the frame maps pixels to frame units one to one.
  const Case cases[] = {
      {"straight", {{0, 0}, {50, 50}, {100, 100}}, false, 0},
      {"bulging left of the chord", {{0, 0}, {20, 60}, {100, 100}}, false, -27},
      {"bulging right: nothing left of the chord", {{0, 0}, {80, 20}, {100, 100}}, false, 0},
      {"running down", {{0, 100}, {50, 50}, {100, 0}}, true, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    RowHarness h(1, 0, "_A");
    h.StrokeWithChain(0, 2, 1, {128, 128, 0, 0, 0, 0, 100, 100}, k.points);
    CheckContext c = h.Context();
    const int32_t bend = LastPieceLeftBend(c, c.S(0));
    EXPECT_EQ(c.decided(), k.decided);
    if (!k.decided) {
      EXPECT_EQ(bend, k.bend);
    }
  }
}

TEST(KanaChecks, FirstStepOfAStroke) {
  RowHarness h(2, 0, "KU");
  h.StrokeWithChain(0, 2, 1, {128, 128, 0, 0, 0, 0, 100, 100}, {{10, 20}, {25, 30}, {90, 90}});
  CheckContext c = h.Context();
  int32_t dx = 0, dy = 0;
  EXPECT_TRUE(FirstStep(c, c.S(0), &dx, &dy));
  EXPECT_EQ(dx, 15);
  EXPECT_EQ(dy, 10);
  h.StrokeWithChain(1, 1, 2, {128, 128, 0, 0, 0, 0, 0, 100}, {{40, 40}});
  EXPECT_FALSE(FirstStep(c, c.S(1), &dx, &dy)) << "one point makes no step";
  EXPECT_TRUE(c.rejected());
}

TEST(KanaChecks, AbsentStrokesAndMissingHoles) {
  // Strokes read without a presence test reject when absent; rows that
  // need a loop the pen closed (one-stroke "TU", "TUb", "HO" without its
  // dot, "SI" without its third stroke, "SO" and "_U" in one stroke) reject
  // a character without holes, while "NOa", which only forbids one, keeps it.
  auto upright = [](RowHarness& h) { h.Stroke(0, 1, 2, {128, 128, 0, 0, 10, 128, 0, 256}); };
  ExpectBoundaries({
      {"RI without S1", "RI", 2, 0, upright, -2000, 0},
      {"RIa without S0", "RIa", 2, 0,
       [](RowHarness& h) {
         h.Stroke(1, 1, 2, {128, 128, 0, 0, 10, 128, 0, 256});
       },
       -2000, 0},
      {"TEa without S0", "TEa", 1, 0, [](RowHarness&) {}, -2000, 0},
      {"TU in one stroke", "TU", 3, 0, upright, -2000, 0},
      {"TUb", "TUb", 2, 0, upright, -2000, 0},
      {"HO without its dot", "HO", 4, 0, upright, -2000, 0},
      {"SI in two strokes", "SI", 3, 0, upright, -2000, 0},
      {"SO in one stroke", "SO", 2, 0, upright, -2000, 0},
      {"_U in one stroke", "_U", 2, 0,
       [](RowHarness& h) {
         h.Stroke(1, 3, 2, {150, 100, 30, 200, 120, 0, 200, 230});
       },
       -2000, 0},
      {"NOa", "NOa", 1, 0,
       [](RowHarness& h) {
         h.Stroke(0, 1, 3, {128, 128, 110, 0, 30, 0, 100, 100});
       },
       -2000, Code("NOa")},
  });
}

// Holes of the outline given by their point counts and centres (frame
// units, the frame mapping pixels one to one).
struct Hole {
  int points, x, y;
};
void LayHoles(RowHarness& h, std::initializer_list<Hole> holes) {
  for (const Hole& hole : holes) {
    std::vector<std::pair<int, int>> ring;
    for (int i = 0; i < hole.points; ++i) {
      const double a = 2 * 3.14159265 * i / hole.points;
      // Contour rows run downward: frame y is laid at row -y.
      ring.push_back({hole.x + static_cast<int>(std::lround(6 * std::cos(a))),
                      -hole.y - static_cast<int>(std::lround(6 * std::sin(a)))});
    }
    h.Ring(ring, kContourHole);
  }
}

TEST(KanaChecks, LoopsCountOnlyHolesOfTheirKind) {
  // A loop the pen closed is a hole of 6 points or more centred at x 155 or
  // less and above y 100. "SO" in one stroke needs exactly one; "NO" may have
  // none. Other holes count for neither.
  struct Case {
    const char* row;
    const char* what;
    std::initializer_list<Hole> holes;
    bool kept;
  };
  const Case cases[] = {
      {"SO", "one loop", {{8, 60, 180}}, true},
      {"SO", "a loop and a hole of 4 points", {{8, 60, 180}, {4, 100, 200}}, true},
      {"SO", "a loop and a hole right of 155", {{8, 60, 180}, {8, 200, 180}}, true},
      {"SO", "a loop and a hole as low as 100", {{8, 60, 180}, {8, 100, 100}}, true},
      {"SO", "no loop", {}, false},
      {"SO", "two loops", {{8, 60, 180}, {8, 100, 200}}, false},
      {"NO", "no hole", {}, true},
      {"NO", "a hole of 5 points", {{5, 60, 180}}, true},
      {"NO", "a hole right of 155", {{8, 200, 180}}, true},
      {"NO", "a loop", {{6, 60, 180}}, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.row) + ": " + k.what);
    RowHarness h(2, 0, k.row);
    if (std::string(k.row) == "SO") {  // its sweep, the first stroke left out
      h.StrokeWithChain(0, 2, 3, {153, 128, 218, 256, 78, 0, 147, 256},
                        {{218, 256}, {228, 170}, {190, 70}, {78, 0}});
    } else {  // one falling stroke
      h.Stroke(0, 1, 3, {120, 120, 0, 0, 60, 100, 50, -200});
    }
    LayHoles(h, k.holes);
    h.candidate().distance = 0;
    h.candidate().valid = Code(k.row);
    g_lastCheckVerdict = {};
    h.ApplyCheck();
    EXPECT_EQ(h.valid(), k.kept ? Code(k.row) : 0) << "decided at line " << g_lastCheckVerdict.line;
  }
}

// ---- exact feature values ---------------------------------------------------------------
// "HD": a ring of S0 (w of its features) whose chain encloses an area.
template <int16_t Width>
void HdSquare(RowHarness& h) {
  h.StrokeWithChain(0, 0, 0, {128, 128, 0, 0, 0, 0, Width, 200},
                    {{0, 0}, {12, 0}, {12, 12}, {0, 12}});
}
void HdTriangle(RowHarness& h) {
  h.StrokeWithChain(0, 0, 0, {128, 128, 0, 0, 0, 0, 220, 200}, {{0, 0}, {20, 0}, {0, 16}});
}
void HdBlock(RowHarness& h) {
  h.StrokeWithChain(0, 0, 0, {128, 128, 0, 0, 0, 0, 220, 200},
                    {{0, 0}, {16, 0}, {16, 10}, {0, 10}});
}
void HdLarge(RowHarness& h) {
  h.StrokeWithChain(0, 0, 0, {128, 128, 0, 0, 0, 0, 220, 200},
                    {{0, 0}, {14, 0}, {14, 14}, {0, 14}});
}

TEST(KanaChecks, ThresholdsAndAreasThatMatter) {
  ExpectBoundaries({
      // "TEa" rejects only a first stroke two units wide or less.
      {"TEa, w 2", "TEa", 1, 0,
       [](RowHarness& h) {
         h.Stroke(0, 1, 0, {128, 128, 0, 0, 1, 0, 2, 0});
       },
       0, 0},
      {"TEa, w 3", "TEa", 1, 0,
       [](RowHarness& h) {
         h.Stroke(0, 1, 0, {128, 128, 0, 0, 1, 0, 3, 0});
       },
       0, Code("TEa")},
      // "HD": below 128 wide rejects; below 201 wide is taken as it is.
      {"HD, w 127", "HD", 1, 0, HdSquare<127>, 0, 0},
      {"HD, w 200", "HD", 1, 0, HdSquare<200>, 0, Code("HD")},
      // Wider: the area the chain encloses (square pixels) and how much of
      // its box it fills decide.
      {"HD, area 144 filling its box", "HD", 1, 0, HdSquare<210>, 0, 0},
      {"HD, area 160 in half its box", "HD", 1, 0, HdTriangle, 0, Code("HD")},
      {"HD, area 160 filling its box", "HD", 1, 0, HdBlock, 0, 0},
      {"HD, area 196", "HD", 1, 0, HdLarge, 0, 0},
      // "RO" has threshold 0: a perfect match only.
      {"RO above its threshold", "RO", 1, 0,
       [](RowHarness& h) {
         h.Stroke(0, 0, 0, {128, 128, 0, 0, 0, 0, 256, 256});
       },
       1, 0},
  });
}

// Rows whose pen-drawn near misses stop matching their models (or pass their
// thresholds) before the row runs: one bound of each on exact features.
template <int16_t HalfWidth>
void IStrokes(RowHarness& h) {
  h.Stroke(0, 1, 3, {150, 180, 0, 0, 60, 60, 100, 100});
  h.Stroke(1, 1, 2, {140, 90, 2, -4, HalfWidth, 43, -100, 6});
}
template <int16_t HalfWidth>
void TiStrokes(RowHarness& h) {
  h.Stroke(0, 1, 3, {128, 220, 0, 0, 60, 10, 100, 20});
  h.Stroke(1, 1, 0, {128, 150, -2, 0, HalfWidth, 0, 200, 0});
  h.Stroke(2, 1, 2, {128, 100, 0, 0, 30, 100, 10, 200});
}
template <int16_t CentreY>
void TeStrokes(RowHarness& h) {
  h.Stroke(0, 1, 0, {128, CentreY, 0, 0, 80, 5, 160, 10});
  h.Stroke(1, 1, 0, {128, 150, 0, 0, 100, 0, 200, 0});
  h.Stroke(2, 1, 2, {110, 60, 10, -10, 20, 50, -40, 100});
}

// "HI": the bent stroke from the end of its base round the corner to the top
// of its stem, and the bar.
template <int16_t StemTopX>
void HiStrokes(RowHarness& h) {
  h.StrokeWithChain(0, 2, 3, {135, 130, 230, 10, StemTopX, 250, 190, 240},
                    {{230, 10}, {40, 10}, {40, 250}});
  h.Stroke(1, 1, 0, {150, 150, 0, 0, 40, 10, 80, 20});
}

TEST(KanaChecks, BoundsTheDrawnNearMissesNeverReach) {
  ExpectBoundaries({
      // The stem of "_I" no more than 48 units to either side of its centre.
      {"_I, stem 48 half wide", "_I", 2, 0, IStrokes<48>, 0, Code("_I")},
      {"_I, stem 49 half wide", "_I", 2, 0, IStrokes<49>, 0, 0},
      // The bar of "TI" at least 43 to either side.
      {"TI, bar 43 half wide", "TI", 3, 0, TiStrokes<43>, 0, Code("TI")},
      {"TI, bar 42 half wide", "TI", 3, 0, TiStrokes<42>, 0, 0},
      // The top stroke of "TE" centred at 205 or higher.
      {"TE, top stroke at 205", "TE", 3, 0, TeStrokes<205>, 0, Code("TE")},
      {"TE, top stroke at 204", "TE", 3, 0, TeStrokes<204>, 0, 0},
      // The stem of "HI" topped at x 109 or further left.
      {"HI, stem top at 109", "HI", 2, 0, HiStrokes<109>, 0, Code("HI")},
      {"HI, stem top at 110", "HI", 2, 0, HiStrokes<110>, 0, 0},
  });
}

TEST(KanaChecks, SmallCharactersAreRingMarksWhateverTheirArea) {
  // A character below 13 pixels passes "HD" once S0 is 128 wide.
  RowHarness h(1, 0, "HD");
  HdLarge(h);
  h.frame().size = 12;
  h.candidate().distance = 0;
  h.candidate().valid = Code("HD");
  h.ApplyCheck();
  EXPECT_EQ(h.valid(), Code("HD"));
}

}  // namespace
