// The plain capital families drawn with the thick pen: for each letter, the
// rows of its ways of writing, each with a model derived from a clean
// drawing, the shapes it keeps and the near misses it turns down. Every
// trial matches the row's model first, so that the row itself decides.
// Where a pen-drawn near miss no longer matches the model, the row's bounds
// are pinned on exact feature values in capital_checks_test.cpp.
#include <gtest/gtest.h>

#include <vector>

#include "tests/ocrlib/kit/check_trials.h"

namespace {

using modelkit::ExpectTrialsDecidedByRow;
using modelkit::kDigitsAndCapitals;
using penkit::Figure;

// A model whose strokes play the rows' strokes in the order given.
ModelDerivation InOrder(std::vector<int> roles) {
  ModelDerivation how;
  how.roles = std::move(roles);
  return how;
}

TEST(CapitalFamilies, A) {
  // "Aa": two legs meeting at the apex, a bar between them; with its apex
  // found the row asks nothing more (legs apart are pinned by hand).
  auto ay = [](double barY, double barHalf) {
    return Figure()
        .Line({10, 90}, {30, 10})
        .Line({30, 10}, {50, 90})
        .Line({30 - barHalf, barY}, {30 + barHalf, barY});
  };
  ExpectTrialsDecidedByRow({"Aa", ay(60, 12), {}, {}, true},
                           {{"A", ay(60, 12), kDigitsAndCapitals, 'A'},
                            {"bar high", ay(45, 8), kDigitsAndCapitals, 'A'},
                            {"bar low", ay(72, 15), kDigitsAndCapitals, 'A'},
                            {"leaning", ay(60, 12).Rotated(5, {30, 50}), kDigitsAndCapitals, 'A'}});
}

TEST(CapitalFamilies, B) {
  // "Be": a stem running past both bowls above and below.
  auto bee = [](double past, double lowerRight) {
    return Figure()
        .Line({15, 10 - past}, {15, 90 + past})
        .Polyline({{15, 10}, {35, 10}})
        .Arc({35, 30}, 20, 270, 450)
        .Polyline({{35, 50}, {15, 50}})
        .Polyline({{15, 50}, {lowerRight, 50}})
        .Arc({lowerRight, 70}, 20, 270, 450)
        .Polyline({{lowerRight, 90}, {15, 90}});
  };
  ModelDerivation how = InOrder({0, 1, 2});
  how.pointRoles = {0, 1, 2, 3};
  ExpectTrialsDecidedByRow({"Be", bee(7, 40), how, {}, true},
                           {{"B", bee(7, 40), kDigitsAndCapitals, 'B'},
                            {"stem far past the bowls", bee(10, 40), kDigitsAndCapitals, 'B'},
                            {"big lower bowl", bee(7, 45), kDigitsAndCapitals, 'B'}});
}

TEST(CapitalFamilies, C) {
  // "Cb": one open bowl; a bowl of straight pieces is read on the tilt of
  // its last piece (the turn that decides steep ones is pinned by hand).
  const Figure c = Figure().Arc({50, 50}, 40, -50, -310);
  ExpectTrialsDecidedByRow(
      {"Cb", c, {}, {}, true},
      {{"C", c, kDigitsAndCapitals, 'C'},
       {"wide open", Figure().Arc({50, 50}, 40, -70, -290), kDigitsAndCapitals, 'C'},
       {"nearly closed", Figure().Arc({50, 50}, 40, -30, -330), kDigitsAndCapitals, 'C'},
       {"angle", Figure().Polyline({{85, 10}, {10, 50}, {85, 90}}), kDigitsAndCapitals, 'C'},
       {"square", Figure().Polyline({{85, 10}, {10, 10}, {10, 90}, {85, 90}}), kDigitsAndCapitals,
        'C'}});
  // "C": two strokes meeting at the left side, the upper one from its right
  // end round to the left; an upper stroke that stops short of the left
  // side, the lower one starting above it, is no "C".
  auto halves = [](double upperShort, double lowerShort, double open) {
    return Figure()
        .Arc({50, 50}, 40, -open, -180 + upperShort)
        .Arc({50, 50}, 40, -180 - lowerShort, -360 + open);
  };
  ExpectTrialsDecidedByRow(
      {"C", halves(8, 8, 50), InOrder({1, 0}), {}, true},
      {{"C", halves(8, 8, 50), kDigitsAndCapitals, 'C'},
       {"wider gap", halves(12, 12, 50), kDigitsAndCapitals, 'C'},
       {"lower stroke lower", halves(8, 20, 50), kDigitsAndCapitals, 'C'},
       {"upper stroke shorter", halves(20, 8, 50), kDigitsAndCapitals, 'C'},
       {"wide open", halves(8, 8, 70), kDigitsAndCapitals, 'C'},
       {"narrow opening", halves(8, 8, 30), kDigitsAndCapitals, 'C'},
       {"strokes overlapping on the left", halves(-10, 30, 50), kDigitsAndCapitals, 'C'},
       {"upper stroke short of the left side", halves(30, -10, 50), kDigitsAndCapitals, 0}});
}

TEST(CapitalFamilies, D) {
  // "D": a stem that runs past the bowl above and below it; the bowl's
  // right side must reach below the middle.
  auto dee = [](double right) {
    return Figure()
        .Line({15, 3}, {15, 97})
        .Polyline({{15, 10}, {35 + right, 10}})
        .Arc({35 + right, 50}, 40, 270, 450)
        .Polyline({{35 + right, 90}, {15, 90}});
  };
  const Figure p = Figure()
                       .Line({15, 3}, {15, 97})
                       .Polyline({{15, 10}, {35, 10}})
                       .Arc({35, 30}, 20, 270, 450)
                       .Polyline({{35, 50}, {15, 50}});
  ExpectTrialsDecidedByRow({"D", dee(0), InOrder({0, 1}), {}, true},
                           {{"D", dee(0), kDigitsAndCapitals, 'D'},
                            {"wide bowl", dee(15), kDigitsAndCapitals, 'D'},
                            {"narrow bowl", dee(-10), kDigitsAndCapitals, 'D'},
                            {"P: bowl only at the top", p, kDigitsAndCapitals, 0}});
}

TEST(CapitalFamilies, E) {
  // "Ea": the top bar runs left past the stem; the middle bar must reach
  // out far enough.
  auto topPast = [](double left, double middle, double bottom) {
    return Figure()
        .Line({left, 10}, {55, 10})
        .Polyline({{15, 10}, {15, 90}, {bottom, 90}})
        .Line({15, 50}, {middle, 50});
  };
  ExpectTrialsDecidedByRow({"Ea", topPast(8, 45, 55), InOrder({2, 1, 0}), {}, true},
                           {{"E", topPast(8, 45, 55), kDigitsAndCapitals, 'E'},
                            {"top far past the stem", topPast(3, 45, 55), kDigitsAndCapitals, 'E'},
                            {"long middle bar", topPast(8, 55, 55), kDigitsAndCapitals, 'E'},
                            {"middle bar 20 long", topPast(8, 35, 55), kDigitsAndCapitals, 'E'},
                            {"short bottom bar", topPast(8, 45, 35), kDigitsAndCapitals, 'E'},
                            {"middle bar 13 long", topPast(8, 28, 55), kDigitsAndCapitals, 0}});
  // "Ed", "Ee": every bar runs left past the stem, which runs past the top.
  auto allPast = [](double past, double middle, double middleY) {
    return Figure()
        .Line({15, 5}, {15, 90})
        .Line({15 - past, 10}, {55, 10})
        .Line({15 - past, middleY}, {middle, middleY})
        .Line({15 - past, 90}, {55, 90});
  };
  ExpectTrialsDecidedByRow(
      {"Ed", allPast(7, 45, 50), InOrder({0, 1, 2, 3}), {}, true},
      {{"E", allPast(7, 45, 50), kDigitsAndCapitals, 'E'},
       {"bars far past the stem", allPast(12, 45, 50), kDigitsAndCapitals, 'E'},
       {"long middle bar", allPast(7, 55, 50), kDigitsAndCapitals, 'E'},
       {"short middle bar", allPast(7, 28, 50), kDigitsAndCapitals, 'E'},
       {"middle bar high", allPast(7, 45, 30), kDigitsAndCapitals, 'E'},
       {"middle bar low", allPast(7, 45, 70), kDigitsAndCapitals, 'E'},
       {"bottom bar slanting",
        Figure()
            .Line({15, 5}, {15, 90})
            .Line({8, 10}, {55, 10})
            .Line({8, 50}, {45, 50})
            .Line({8, 95}, {55, 80}),
        kDigitsAndCapitals, 'E'}});
  // "Ee" wants its middle bar at most a little below the middle.
  ExpectTrialsDecidedByRow(
      {"Ee", allPast(7, 45, 50), InOrder({0, 1, 3, 2}), {}, true},
      {{"E", allPast(7, 45, 50), kDigitsAndCapitals, 'E'},
       {"bars far past the stem", allPast(12, 45, 50), kDigitsAndCapitals, 'E'},
       {"short middle bar", allPast(7, 28, 50), kDigitsAndCapitals, 'E'},
       {"middle bar high", allPast(7, 45, 30), kDigitsAndCapitals, 'E'},
       {"middle bar low", allPast(7, 45, 70), kDigitsAndCapitals, 0}});
}

TEST(CapitalFamilies, F) {
  // "Fa": a top bar running left past the stem and a middle bar.
  auto eff = [](double topLeft, double middleRight, double middleY) {
    return Figure()
        .Line({topLeft, 10}, {55, 10})
        .Line({15, 10}, {15, 90})
        .Line({15, middleY}, {middleRight, middleY});
  };
  ModelDerivation how = InOrder({0, 1, 2});
  how.pointRoles = {1, 0};
  ExpectTrialsDecidedByRow({"Fa", eff(8, 45, 50), how, {}, true},
                           {{"F", eff(8, 45, 50), kDigitsAndCapitals, 'F'},
                            {"top bar far past the stem", eff(3, 45, 50), kDigitsAndCapitals, 'F'},
                            {"long middle bar", eff(8, 55, 50), kDigitsAndCapitals, 'F'},
                            {"short middle bar", eff(8, 32, 50), kDigitsAndCapitals, 'F'},
                            {"middle bar high", eff(8, 45, 35), kDigitsAndCapitals, 'F'}});
}

TEST(CapitalFamilies, G) {
  // "Gg": a bowl turning up into a stem at its lower right, a bar into the
  // bowl from the stem's top and a tail below; a long tail is no "G".
  auto gee = [](double tailTo) {
    return Figure()
        .Arc({50, 50}, 40, -45, -315)
        .Polyline({{78.3, 78.3}, {78, 52}, {55, 52}})
        .Line({78.3, 78.3}, {78.3, tailTo});
  };
  ModelDerivation how = InOrder({0, 1, 2});
  how.pointRoles = {0};
  ExpectTrialsDecidedByRow({"Gg", gee(95), how, {}, true},
                           {{"G", gee(95), kDigitsAndCapitals, 'G'},
                            {"short tail", gee(88), kDigitsAndCapitals, 'G'},
                            {"long tail", gee(100), kDigitsAndCapitals, 0}});
}

TEST(CapitalFamilies, J) {
  // "J": a bar across a stem that runs up past it and hooks left at the
  // foot; a hook turned up high into a "U" is no "J".
  auto jay = [](double stemTop, double hookRadius, double barLeft, double barRight,
                double hookUpTo) {
    Figure f = Figure()
                   .Polyline({{60, stemTop}, {60, 90 - hookRadius}})
                   .Arc({60 - hookRadius, 90 - hookRadius}, hookRadius, 0, 180)
                   .Line({barLeft, 10}, {barRight, 10});
    if (hookUpTo > 0) {
      f.Line({60 - 2 * hookRadius, 90 - hookRadius}, {60 - 2 * hookRadius, hookUpTo});
    }
    return f;
  };
  ModelDerivation how = InOrder({1, 0});
  how.pointRoles = {0};
  ExpectTrialsDecidedByRow(
      {"J", jay(3, 20, 40, 80, 0), how, {}, true},
      {{"J", jay(3, 20, 40, 80, 0), kDigitsAndCapitals, 'J'},
       {"stem far past the bar", jay(1, 20, 40, 80, 0), kDigitsAndCapitals, 'J'},
       {"wide hook", jay(3, 25, 40, 80, 0), kDigitsAndCapitals, 'J'},
       {"small hook", jay(3, 14, 40, 80, 0), kDigitsAndCapitals, 'J'},
       {"long bar", jay(3, 20, 30, 90, 0), kDigitsAndCapitals, 'J'},
       {"short bar", jay(3, 20, 50, 70, 0), kDigitsAndCapitals, 'J'},
       {"leaning", jay(3, 20, 40, 80, 0).Rotated(5, {50, 50}), kDigitsAndCapitals, 'J'},
       {"hook's end turned up", jay(3, 20, 40, 80, 40), kDigitsAndCapitals, 'J'},
       {"hook turned up high into a U", jay(3, 20, 40, 80, 25), kDigitsAndCapitals, 0}});
}

TEST(CapitalFamilies, K) {
  // "Ka", "Ke": a stem and both arms in one stroke bent where they meet it.
  auto kay = [](double armX) {
    return Figure().Line({15, 10}, {15, 90}).Polyline({{armX, 10}, {15, 50}, {armX, 90}});
  };
  const Figure shortStem =
      Figure().Line({15, 30}, {15, 90}).Polyline({{55, 10}, {15, 50}, {55, 90}});
  const Figure bowedStem =
      Figure().Polyline({{15, 10}, {18, 50}, {15, 90}}).Polyline({{55, 10}, {18, 50}, {55, 90}});
  for (const char* row : {"Ka", "Ke"}) {
    ExpectTrialsDecidedByRow({row, kay(55), InOrder({1, 0}), {}, true},
                             {{"K", kay(55), kDigitsAndCapitals, 'K'},
                              {"wide arms", kay(62), kDigitsAndCapitals, 'K'},
                              {"stem short above the arms", shortStem, kDigitsAndCapitals, 'K'},
                              {"stem bowed a little", bowedStem, kDigitsAndCapitals, 'K'}});
  }
  // "Kc": the upper arm crossing the stem, the lower one leaving it.
  auto crossing = [](double lowerTo) {
    return Figure().Line({15, 10}, {15, 90}).Line({55, 10}, {8, 55}).Line({30, 40}, {lowerTo, 90});
  };
  ModelDerivation kc = InOrder({1, 3, 2, 0});
  kc.pointRoles = {0, 1};
  ExpectTrialsDecidedByRow({"Kc", crossing(55), kc, {}, true},
                           {{"K", crossing(55), kDigitsAndCapitals, 'K'},
                            {"short lower arm", crossing(45), kDigitsAndCapitals, 'K'}});
  // "Kd": the arms meet right of the stem.
  auto apart = [](double meetX, double meetY, double armX) {
    return Figure()
        .Line({15, 10}, {15, 90})
        .Line({armX, 10}, {meetX, meetY})
        .Line({meetX, meetY}, {armX, 90});
  };
  ModelDerivation kd = InOrder({1, 0});
  kd.pointRoles = {0};
  ExpectTrialsDecidedByRow(
      {"Kd", apart(22, 45, 55), kd, {}, true},
      {{"K", apart(22, 45, 55), kDigitsAndCapitals, 'K'},
       {"arms meeting closer to the stem", apart(19, 45, 55), kDigitsAndCapitals, 'K'},
       {"arms meeting high", apart(22, 35, 55), kDigitsAndCapitals, 'K'},
       {"arms meeting low", apart(22, 60, 55), kDigitsAndCapitals, 'K'},
       {"short arms", apart(22, 45, 45), kDigitsAndCapitals, 'K'}});
}

TEST(CapitalFamilies, L) {
  // "Lb": a foot that crosses the stem's lower end; it must reach out.
  auto ell = [](double footRight, double stemTop, double past) {
    return Figure().Line({15, stemTop}, {15, 95}).Line({15 - past, 90}, {footRight, 90});
  };
  ExpectTrialsDecidedByRow({"Lb", ell(55, 10, 7), InOrder({1, 0}), {}, true},
                           {{"L", ell(55, 10, 7), kDigitsAndCapitals, 'L'},
                            {"long foot", ell(70, 10, 7), kDigitsAndCapitals, 'L'},
                            {"foot far past the stem", ell(55, 10, 14), kDigitsAndCapitals, 'L'},
                            {"short stem", ell(55, 50, 7), kDigitsAndCapitals, 'L'},
                            {"short foot", ell(35, 10, 7), kDigitsAndCapitals, 0}});
}

TEST(CapitalFamilies, M) {
  // "Mf": uprights and a middle "V" in one stroke; the left upright must
  // reach down.
  auto em = [](double leftFoot, double rightFoot) {
    return Figure().Polyline({{10, leftFoot}, {10, 10}, {30, 60}, {50, 10}, {50, rightFoot}});
  };
  ExpectTrialsDecidedByRow({"Mf", em(90, 90), InOrder({0, 1, 2, 3}), {}, true},
                           {{"M", em(90, 90), kDigitsAndCapitals, 'M'},
                            {"left upright 60 long", em(70, 90), kDigitsAndCapitals, 'M'},
                            {"short right upright", em(90, 60), kDigitsAndCapitals, 'M'},
                            {"left upright 40 long", em(50, 90), kDigitsAndCapitals, 0}});
  // "Mb": uprights apart from a shallow "V" that meets them at the top.
  auto shallow = [](double vBottom, double left, double right) {
    return Figure()
        .Line({left, 90}, {left, 10})
        .Polyline({{left, 10}, {30, vBottom}, {right, 10}})
        .Line({right, 10}, {right, 90});
  };
  ExpectTrialsDecidedByRow({"Mb", shallow(40, 10, 50), InOrder({0, 1, 2}), {}, true},
                           {{"M", shallow(40, 10, 50), kDigitsAndCapitals, 'M'},
                            {"shallower", shallow(30, 10, 50), kDigitsAndCapitals, 'M'},
                            {"deeper", shallow(45, 10, 50), kDigitsAndCapitals, 'M'},
                            {"wide", shallow(40, 5, 55), kDigitsAndCapitals, 'M'}});
}

TEST(CapitalFamilies, N) {
  // "Nd": one stroke down, across and up; its diagonal must reach the foot
  // of the right upright and its left upright the bottom.
  auto en = [](double left, double right, double leftFoot, double diagonalEnd, double rightTop) {
    return Figure().Polyline(
        {{left, leftFoot}, {left, 10}, {right, diagonalEnd}, {right, rightTop}});
  };
  ExpectTrialsDecidedByRow(
      {"Nd", en(10, 50, 90, 90, 10), InOrder({0, 1}), {}, true},
      {{"N", en(10, 50, 90, 90, 10), kDigitsAndCapitals, 'N'},
       {"wide", en(5, 55, 90, 90, 10), kDigitsAndCapitals, 'N'},
       {"short right upright", en(10, 50, 90, 90, 50), kDigitsAndCapitals, 'N'},
       {"short left upright", en(10, 50, 50, 90, 10), kDigitsAndCapitals, 0},
       {"diagonal to the middle", en(10, 50, 90, 50, 10), kDigitsAndCapitals, 0}});
}

TEST(CapitalFamilies, P) {
  // "Pa": a stem running past the top of its bowl; a bowl reaching far down
  // or a stem that stops short of the foot is no "P".
  auto pee = [](double radius, double stemFoot) {
    return Figure()
        .Line({15, 3}, {15, stemFoot})
        .Polyline({{15, 10}, {35, 10}})
        .Arc({35, 10 + radius}, radius, 270, 450)
        .Polyline({{35, 10 + 2 * radius}, {15, 10 + 2 * radius}});
  };
  ModelDerivation how = InOrder({0, 1});
  how.pointRoles = {0, 1};
  ExpectTrialsDecidedByRow({"Pa", pee(20, 90), how, {}, true},
                           {{"P", pee(20, 90), kDigitsAndCapitals, 'P'},
                            {"small bowl", pee(15, 90), kDigitsAndCapitals, 'P'},
                            {"big bowl", pee(25, 90), kDigitsAndCapitals, 'P'},
                            {"bowl down to 70", pee(30, 90), kDigitsAndCapitals, 0},
                            {"short stem", pee(20, 65), kDigitsAndCapitals, 0}});
}

TEST(CapitalFamilies, R) {
  // "Rb": the leg leaves the stem where the bowl closes; the stem and
  // bowl are one stroke.
  auto ar = [](double legFromX, double legToX) {
    return Figure()
        .Line({15, 10}, {15, 90})
        .Polyline({{15, 10}, {35, 10}})
        .Arc({35, 30}, 20, 270, 450)
        .Polyline({{35, 50}, {15, 50}})
        .Line({legFromX, 50}, {legToX, 90});
  };
  ExpectTrialsDecidedByRow({"Rb", ar(15, 38), InOrder({1, 0}), {}, true},
                           {{"R", ar(15, 38), kDigitsAndCapitals, 'R'}});
}

TEST(CapitalFamilies, V) {
  // "Va": two strokes crossing at the foot.
  auto vee = [](double footY) {
    return Figure().Line({10, 10}, {35, footY}).Line({25, footY}, {50, 10});
  };
  ModelDerivation how = InOrder({1, 2, 0});
  how.pointRoles = {0, 1};
  ExpectTrialsDecidedByRow({"Va", vee(97), how, {}, true},
                           {{"V", vee(97), kDigitsAndCapitals, 'V'},
                            {"crossing lower", vee(99), kDigitsAndCapitals, 'V'}});
}

TEST(CapitalFamilies, X) {
  // "X": two crossing strokes (a second stroke bowed left is pinned by hand).
  auto ex = [](double left, double right) {
    return Figure().Line({left, 10}, {right, 90}).Line({right, 10}, {left, 90});
  };
  ExpectTrialsDecidedByRow(
      {"X", ex(10, 50), {}, {}, true},
      {{"X", ex(10, 50), kDigitsAndCapitals, 'X'},
       {"wide", ex(5, 60), kDigitsAndCapitals, 'X'},
       {"short arm", Figure().Line({10, 10}, {50, 90}).Line({50, 10}, {25, 60}), kDigitsAndCapitals,
        'X'}});
}

TEST(CapitalFamilies, Y) {
  // "Y", "Ya", "Yb": two arms meeting on a stem; "Y" wants the arms' ends
  // and the stem's foot seen from the junction no more than 147 degrees
  // apart, which a junction high up between wide arms exceeds.
  auto why = [](double left, double right, double junctionY) {
    return Figure()
        .Line({left, 10}, {30, junctionY})
        .Line({right, 10}, {30, junctionY})
        .Line({30, junctionY}, {30, 90});
  };
  ExpectTrialsDecidedByRow({"Y", why(10, 50, 50), InOrder({1, 0}), {}, true},
                           {{"Y", why(10, 50, 50), kDigitsAndCapitals, 'Y'},
                            {"narrow arms", why(20, 40, 50), kDigitsAndCapitals, 'Y'},
                            {"junction low", why(10, 50, 65), kDigitsAndCapitals, 'Y'},
                            {"junction high", why(10, 50, 35), kDigitsAndCapitals, 0}});
  const Figure shortLeftArm =
      Figure().Line({20, 30}, {30, 50}).Line({50, 10}, {30, 50}).Line({30, 50}, {30, 90});
  const Figure stemToTheLeft =
      Figure().Line({10, 10}, {30, 50}).Line({50, 10}, {30, 50}).Line({30, 50}, {20, 90});
  for (const char* row : {"Ya", "Yb"}) {
    ExpectTrialsDecidedByRow({row, why(10, 50, 50), InOrder({1, 0}), {}, true},
                             {{"Y", why(10, 50, 50), kDigitsAndCapitals, 'Y'},
                              {"narrow arms", why(20, 40, 50), kDigitsAndCapitals, 'Y'},
                              {"junction high", why(10, 50, 35), kDigitsAndCapitals, 'Y'},
                              {"junction low", why(10, 50, 75), kDigitsAndCapitals, 'Y'},
                              {"short left arm", shortLeftArm, kDigitsAndCapitals, 'Y'},
                              {"stem to the left", stemToTheLeft, kDigitsAndCapitals, 'Y'}});
  }
}

TEST(CapitalFamilies, YWithACup) {
  // "Yd": a round cup on a stem; a cup too narrow or too flat is no "Y".
  auto cup = [](double radius, double centreY, double stemTo, double stemX) {
    return Figure()
        .Arc({30, centreY}, radius, 180, 0)
        .Line({stemX, centreY + radius}, {stemX, stemTo});
  };
  ModelDerivation how = InOrder({0, 1});
  how.pointRoles = {0};
  ExpectTrialsDecidedByRow(
      {"Yd", cup(20, 10, 90, 30), how, {}, true},
      {{"Y", cup(20, 10, 90, 30), kDigitsAndCapitals, 'Y'},
       {"wide cup", cup(25, 10, 90, 30), kDigitsAndCapitals, 'Y'},
       {"cup lower", cup(20, 25, 90, 30), kDigitsAndCapitals, 'Y'},
       {"short stem", cup(20, 10, 60, 30), kDigitsAndCapitals, 'Y'},
       {"stem off the middle", cup(20, 10, 90, 35), kDigitsAndCapitals, 'Y'},
       {"narrow cup", cup(15, 10, 90, 30), kDigitsAndCapitals, 0},
       {"flat cup", Figure().Arc({30, -20}, 50, 127, 53).Line({30, 30}, {30, 90}),
        kDigitsAndCapitals, 0}});
}

}  // namespace
