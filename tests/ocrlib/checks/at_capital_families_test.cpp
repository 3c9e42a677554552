// The "@" capital families drawn with the thick pen and read on the polygon
// steps: for each letter, the rows of its ways of writing, each with a
// model derived from the outline of a clean drawing, the shapes it keeps
// and the near misses it turns down. Every trial matches the row's model
// first, so that the row itself decides.
#include <gtest/gtest.h>

#include <vector>

#include "tests/ocrlib/kit/check_trials.h"

namespace {

using modelkit::ExpectTrialsDecidedByRow;
using modelkit::kDigitsAndCapitals;
using penkit::Figure;

// A model of the outline whose strokes play the rows' strokes in the order
// given (empty: as traced).
ModelDerivation OnOutlines(std::vector<int> roles = {}) {
  ModelDerivation how;
  how.step = 0;
  how.roles = std::move(roles);
  return how;
}

TEST(AtCapitalFamilies, C) {
  // "@Ca": an open bowl; a "G"'s bar turns inward where a "C" ends.
  auto cee = [](double openDeg) { return Figure().Arc({50, 50}, 40, -openDeg, -360 + openDeg); };
  const Figure g = Figure().Arc({50, 50}, 40, -45, -360).Line({90, 50}, {60, 50});
  ExpectTrialsDecidedByRow({"@Ca", cee(50), OnOutlines(), {}, true},
                           {{"C", cee(50), kDigitsAndCapitals, 'C'},
                            {"wide open", cee(70), kDigitsAndCapitals, 'C'},
                            {"narrow opening", cee(30), kDigitsAndCapitals, 'C'},
                            {"nearly closed", cee(10), kDigitsAndCapitals, 'C'},
                            {"G", g, kDigitsAndCapitals, 0}});
}

TEST(AtCapitalFamilies, H) {
  // "@H": the bar halfway up between two uprights.
  auto aich = [](double left, double right, double barY) {
    return Figure()
        .Line({left, 10}, {left, 90})
        .Line({right, 10}, {right, 90})
        .Line({left, barY}, {right, barY});
  };
  const Figure shortRight =
      Figure().Line({10, 10}, {10, 90}).Line({50, 30}, {50, 90}).Line({10, 50}, {50, 50});
  const Figure splayed =
      Figure().Line({15, 10}, {5, 90}).Line({45, 10}, {55, 90}).Line({10, 50}, {50, 50});
  ExpectTrialsDecidedByRow(
      {"@H", aich(10, 50, 50), OnOutlines({2, 3, 0, 1}), {}, true},
      {{"H", aich(10, 50, 50), kDigitsAndCapitals, 'H'},
       {"wide", aich(5, 55, 50), kDigitsAndCapitals, 'H'},
       {"short right upright", shortRight, kDigitsAndCapitals, 'H'},
       {"splayed uprights", splayed, kDigitsAndCapitals, 'H'},
       {"leaning", aich(10, 50, 50).Rotated(5, {30, 50}), kDigitsAndCapitals, 'H'},
       {"bar high", aich(10, 50, 30), kDigitsAndCapitals, 0},
       {"bar low", aich(10, 50, 72), kDigitsAndCapitals, 0}});
}

TEST(AtCapitalFamilies, J) {
  // "@J": a bar over a stem that hooks left at the foot; a hook turned up
  // into a "U" is no "J".
  auto jay = [](double hookRadius, double barLeft, double barRight, double hookUpTo) {
    Figure f = Figure()
                   .Polyline({{60, 10}, {60, 90 - hookRadius}})
                   .Arc({60 - hookRadius, 90 - hookRadius}, hookRadius, 0, 180)
                   .Line({barLeft, 10}, {barRight, 10});
    if (hookUpTo > 0)
      f.Line({60 - 2 * hookRadius, 90 - hookRadius}, {60 - 2 * hookRadius, hookUpTo});
    return f;
  };
  ExpectTrialsDecidedByRow(
      {"@J", jay(20, 40, 80, 0), OnOutlines(), {}, true},
      {{"J", jay(20, 40, 80, 0), kDigitsAndCapitals, 'J'},
       {"wide hook", jay(25, 40, 80, 0), kDigitsAndCapitals, 'J'},
       {"long bar", jay(20, 30, 90, 0), kDigitsAndCapitals, 'J'},
       {"hook's end turned up a little", jay(20, 40, 80, 40), kDigitsAndCapitals, 'J'},
       {"hook turned up into a U", jay(20, 40, 80, 30), kDigitsAndCapitals, 0}});
}

TEST(AtCapitalFamilies, R) {
  // "@R": a stem, a bowl closed on it halfway down and a leg to the foot;
  // the leg must be long enough and leave the bowl slanting, the stem
  // reach the foot.
  auto ar = [](double stemFoot, double legFromX, double legToX, double legToY) {
    return Figure()
        .Line({15, 10}, {15, stemFoot})
        .Polyline({{15, 10}, {35, 10}})
        .Arc({35, 30}, 20, 270, 450)
        .Polyline({{35, 50}, {15, 50}})
        .Line({legFromX, 50}, {legToX, legToY});
  };
  const Figure wide = Figure()
                          .Line({10, 10}, {10, 90})
                          .Polyline({{10, 10}, {40, 10}})
                          .Arc({40, 30}, 20, 270, 450)
                          .Polyline({{40, 50}, {10, 50}})
                          .Line({30, 50}, {60, 90});
  ExpectTrialsDecidedByRow(
      {"@R", ar(90, 30, 55, 90), OnOutlines(), {}, true},
      {{"R", ar(90, 30, 55, 90), kDigitsAndCapitals, 'R'},
       {"wide", wide, kDigitsAndCapitals, 'R'},
       {"leg from the corner of the bowl", ar(90, 35, 55, 90), kDigitsAndCapitals, 'R'},
       {"leg from the stem", ar(90, 15, 55, 90), kDigitsAndCapitals, 'R'},
       {"short leg", ar(90, 30, 42, 70), kDigitsAndCapitals, 'R'},
       {"stub of a leg", ar(90, 30, 38, 62), kDigitsAndCapitals, 0},
       {"leg straight down", ar(90, 30, 35, 90), kDigitsAndCapitals, 0},
       {"short stem", ar(60, 30, 55, 90), kDigitsAndCapitals, 0}});
}

TEST(AtCapitalFamilies, Y) {
  // "@Y": two arms meeting on a stem; without a stem (a "V") or with arms
  // close together it is no "Y".
  auto why = [](double left, double right, double junctionY) {
    return Figure()
        .Line({left, 10}, {30, junctionY})
        .Line({right, 10}, {30, junctionY})
        .Line({30, junctionY}, {30, 90});
  };
  ExpectTrialsDecidedByRow(
      {"@Y", why(10, 50, 50), OnOutlines({1, 0}), {}, true},
      {{"Y", why(10, 50, 50), kDigitsAndCapitals, 'Y'},
       {"wide arms", why(2, 58, 50), kDigitsAndCapitals, 'Y'},
       {"junction high", why(10, 50, 35), kDigitsAndCapitals, 'Y'},
       {"junction low", why(10, 50, 65), kDigitsAndCapitals, 'Y'},
       {"narrow arms", why(20, 40, 50), kDigitsAndCapitals, 0},
       {"V", Figure().Polyline({{10, 10}, {30, 90}, {50, 10}}), kDigitsAndCapitals, 0}});
}

}  // namespace
