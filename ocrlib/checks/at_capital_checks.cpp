// The shape checks of the "@" capital models that are windows alone: every
// stroke of the model, one after another, within a window for each of its
// features in the frame (ranges inclusive), with its chord measure in the
// mode the row states. The rows that go on to further tests are in
// at_capital_tails.cpp.
#include "ocrlib/checks/capital_checks.h"

using namespace checkrow;

void CheckAtCapitalA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(102, 155), cy(25, 90), x1 <= 110, y1 <= 85, x2 >= 135, y2 <= 75, w >= 45,
                 h(40, 153), ux <= -23, uy(-40, 40)});
  c.Require(c.Mcn(s0, kMcnOffsets128), {dev <= -40, ox(85, 190), oy >= 165});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(125, 135), cy(120, 140), y1 <= 143, y2 <= 153, w >= 95, h >= 210, ux(-100, 3),
                 uy(-70, 40)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(100, 180), cy(120, 204), w(15, 150), h(43, 185)});
}

void CheckAtCapitalBb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(150, 245), cy(85, 200), x1 >= 160, y1 >= 20, x2 >= 165, y2 >= 145, w(15, 115),
                 h(35, 190), ux(-30, 30), uy(-98, -15)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(100, 165), cy(50, 128), x1(120, 222), y1(100, 185), x2 <= 128, w >= 90,
                 h >= 100, ux(10, 100), uy(10, 100)});
  const StrokeView s2 = c.S(2);
  c.Require(
      s2, {cx <= 100, cy(20, 118), x1 <= 108, x2 <= 95, y2 <= 75, w <= 115, ux(-32, 42), uy >= 5});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(40, 120), cy(75, 185), x1(40, 135), y1 <= 145, x2(40, 135), y2 >= 115, w <= 70,
                 ux(-20, 20), uy <= -5});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(30, 120), cy(135, 235), x1 <= 100, y1 >= 180, x2 <= 108, w <= 120, ux(-40, 30),
                 uy >= 5});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(90, 170), cy(170, 225), x1 <= 145, y1 >= 145, x2(120, 225), y2(100, 185),
                 w >= 115, h(70, 160), ux(-80, -5), uy(0, 75)});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx(110, 200), cy(165, 220), w(20, 170), h <= 143});
  const StrokeView s7 = c.S(7);
  c.Require(s7, {cx(115, 195), cy(46, 116), w(30, 185), h(55, 155)});
}

void CheckAtCapitalBd(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(145, 245), cy(100, 208), x1 >= 170, y1 >= 30, x2 >= 164, y2 >= 130, w(20, 128),
                 h(20, 190), ux(-30, 30), uy(-92, -10)});
  c.Require(c.Mcn(s0, kMcnOffsets128), {dev(-83, -10), ox <= 115, oy(95, 170)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(100, 170), cy(55, 100), x1(80, 225), y1(100, 190), x2(20, 250), y2 <= 128,
                 w >= 120, h(80, 190), ux(-45, 60), uy(20, 90)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(100, 160), cy(50, 100), x1(50, 150), y1(15, 95), x2 <= 100, y2 <= 65, w >= 100,
                 h(75, 160), ux(-20, 60), uy(-20, 45)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(50, 145), cy(100, 165), x1(65, 160), y1(80, 170), x2 <= 128, y2 >= 155, w <= 85,
                 h >= 100, ux(-5, 35), uy(-80, -5)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(20, 105), cy(120, 235), x1 <= 80, y1 >= 185, x2 <= 135, w <= 128, h >= 30,
                 ux(-65, 5), uy >= 10});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(90, 165), cy(165, 235), x1 <= 128, y1 >= 185, x2 >= 120, y2(100, 195), w >= 120,
                 h(65, 160), ux(-80, -15), uy(20, 65)});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx(105, 200), cy(170, 230), w(20, 180), h <= 135});
}

void CheckAtCapitalBe(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(145, 245), cy(100, 208), x1 >= 170, y1 >= 20, x2 >= 164, y2 >= 130, w(20, 128),
                 h(20, 190), ux(-30, 30), uy(-92, -10)});
  c.Require(c.Mcn(s0, kMcnOffsets128), {dev(-83, -10), ox <= 115, oy(85, 170)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(100, 170), cy(55, 100), x1(80, 225), y1(100, 190), x2(20, 250), y2 <= 80,
                 w >= 120, h(80, 190), ux(20, 90), uy(30, 90)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(30, 100), cy(35, 170), x1 <= 130, y1 >= 105, x2 <= 80, y2 <= 60, w <= 120,
                 h >= 65, ux(-5, 60), uy >= 30});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(50, 145), cy(100, 140), x1(30, 118), y1 <= 75, x2(60, 145), y2(110, 180),
                 w <= 80, h >= 145, ux(-40, 5), uy(-90, -30)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(80, 155), cy(170, 225), x1 <= 115, y1 >= 185, x2 <= 135, y2 >= 180, w >= 80,
                 h(65, 135), ux(-60, 5), uy(-15, 31)});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(100, 170), cy(180, 220), y1 >= 170, x2 >= 80, y2(100, 170), w >= 90, h(80, 160),
                 ux <= 30, uy(0, 75)});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx(90, 200), cy(50, 100), w(30, 180), h <= 145});
}

void CheckAtCapitalC(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(100, 153), cy(76, 140), x1 >= 130, y1 <= 140, x2 >= 110, y2(80, 220), w >= 90,
                 h >= 120, ux(-48, 65), uy(-102, 0)});
  c.Require(c.Mcn(s0, kMcnOffsets128), {dev <= -74, ox <= 128});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(90, 133), cy(75, 133), y1 <= 110, x2 >= 85, y2 >= 140, w >= 90, h >= 150,
                 ux <= 30, uy <= -50});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(40, 230), cy >= 150, x1 >= 70, y1 >= 220, x2 <= 195, y2 >= 40});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(80, 235), cy(170, 245), x1(80, 235), y1 >= 150, y2 >= 110, w <= 170, h <= 175,
                 ux(-6, 70), uy(-30, 50)});
}

void CheckAtCapitalCa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(100, 153), cy(100, 148), x1 >= 145, y1 <= 150, x2 >= 113, y2 >= 115, w >= 94,
                 h >= 120, ux(-48, 70), uy(-122, -15)});
  c.Require(c.Mcn(s0, kMcnOffsets128), {dev <= -74, ox <= 73});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(125, 138), cy(125, 138), y1 <= 110, y2 >= 135, w >= 120, h >= 150, ux(-80, 65),
                 uy <= -40});
}

void CheckAtCapitalE(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(90, 170), cy(150, 215), x1 >= 108, y1(85, 185), y2 >= 185, w >= 65, h(40, 165),
                 ux(-70, 60), uy(-80, -18)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(80, 170), cy(85, 180), x1 <= 160, y1(85, 200), x2 <= 165, y2(60, 160), w >= 50,
                 h <= 80, ux(-60, 60), uy(-5, 45)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(100, 175), cy(35, 115), x1 >= 120, y1 <= 100, x2 >= 80, y2(65, 190), w >= 80,
                 h(45, 175), ux(-70, 60), uy <= -5});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(85, 140), cy(125, 138), y1 <= 80, y2 >= 160, w >= 100, h >= 195, ux(-85, 85),
                 uy <= -60});
}

void CheckAtCapitalEa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(90, 190), cy(150, 220), x1 >= 140, y1(85, 185), x2 >= 140, y2 >= 185, w >= 65,
                 h(40, 165), ux(-45, 50), uy(-80, -18)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(90, 180), cy(85, 170), x1 <= 150, y1(85, 190), x2 <= 145, y2(40, 160), w >= 55,
                 h <= 90, ux(-55, 40), uy(-5, 45)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(90, 175), cy(35, 115), x1 >= 120, y1 <= 100, x2 >= 60, y2(65, 190), w >= 70,
                 h(45, 175), ux(-50, 80), uy <= -15});
  const StrokeView s3 = c.S(3);
  c.Require(
      s3, {cx(85, 170), cy <= 125, x1 <= 200, y1 <= 80, x2 <= 120, w >= 70, ux(-40, 75), uy <= 10});
  const StrokeView s4 = c.S(4);
  c.Require(s4,
            {cx <= 90, cy >= 55, x1 <= 85, y1 >= 105, x2 <= 105, w <= 90, ux(-45, 30), uy >= 15});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(80, 160), cy >= 130, x1 <= 128, x2 <= 155, y2 >= 175, w >= 80, ux(-50, 10),
                 uy <= 15});
}

void CheckAtCapitalF(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(115, 175), cy(150, 220), x1 >= 120, y1(75, 225), x2 >= 140, y2 >= 185, w >= 70,
                 h(40, 170), ux(-50, 40), uy(-90, -10)});
  const StrokeView s1 = c.S(1);
  c.Require(
      s1, {cx(90, 195), cy(85, 185), y1(85, 190), y2(68, 165), h <= 150, ux(-60, 40), uy(-5, 32)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(60, 175), cy(35, 128), x1 <= 140, y1 <= 100, x2 >= 85, y2(50, 185), w >= 45,
                 h(30, 180), ux <= -18, uy(-90, -16)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(95, 138), cy(125, 138), x1 <= 138, y1(40, 165), x2(25, 180), y2 >= 185, w >= 80,
                 h >= 235, ux(-55, 25), uy(-90, -20)});
  c.Require(c.Mcn(s3, kMcnOffsets128), {oy >= 89});
}

void CheckAtCapitalFa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(115, 190), cy(150, 220), x1 >= 120, y1(70, 225), x2 >= 140, y2 >= 206, w >= 65,
                 h(40, 170), ux(-60, 40), uy(-90, -10)});
  const StrokeView s1 = c.S(1);
  c.Require(
      s1, {cx(90, 195), cy(75, 185), y1(85, 190), y2(53, 165), h <= 145, ux(-50, 40), uy(-5, 32)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(60, 190), cy(36, 100), x1 <= 127, y1 <= 50, x2 >= 100, y2 <= 185, w >= 51,
                 h(51, 180), ux <= -18, uy(-90, -10)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx <= 120, cy(45, 128), x1 <= 138, y1(53, 165), x2 <= 126, y2 >= 65, w <= 100,
                 h >= 90, ux(-25, 35), uy(-85, 35)});
  c.Require(c.Mcn(s3, kMcnOffsets128), {dev <= 20});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx <= 108, cy(90, 210), x1 <= 95, y1 >= 180, x2 <= 128, y2 <= 160, w <= 120,
                 h >= 77, ux(-60, 32), uy >= 38});
  c.Require(c.Mcn(s4, kMcnOffsets128), {dev(-75, -5), ox <= 205, oy >= 100});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(95, 165), cy >= 155, x1 <= 128, y1 >= 60, y2 >= 180, w >= 90, ux(-65, 7),
                 uy(-90, 15)});
}

void CheckAtCapitalG(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(75, 145), cy(115, 205), x1(50, 175), y1(75, 215), x2(80, 225), y2 >= 155,
                 w(40, 210), h >= 85, ux(-70, 20), uy(-75, -5)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(136, 200), cy(85, 210), x1(90, 215), y1(50, 205), x2 >= 120, y2 <= 205,
                 w(30, 205), h <= 150, ux(-35, 10), uy(-45, 60)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(158, 245), cy(40, 185), x1 >= 110, y1 <= 160, x2 >= 175, y2 >= 85, w <= 125,
                 ux >= -65, uy <= -5});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx >= 120, cy <= 105, x1 >= 120, y1 <= 200, x2 >= 100, y2 <= 150, w <= 75,
                 h(35, 200), ux(-5, 35), uy(-50, 65)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(65, 185), cy <= 90, x1 <= 165, y1 <= 160, x2 >= 110, y2 <= 55, h <= 160,
                 ux <= -5, uy(-15, 80)});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(60, 135), cy(125, 205), x1(95, 205), y1 <= 150, x2 <= 190, y2 >= 65, w >= 65,
                 h >= 105, ux(-25, 90), uy <= 5});
}

void CheckAtCapitalGa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(95, 145), cy(115, 200), x1(60, 175), y1(75, 215), x2(80, 225), y2 >= 155,
                 w(40, 210), h >= 85, ux(-70, 20), uy(-75, -5)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(136, 200), cy(45, 110), x1(95, 215), y1(50, 205), x2 >= 120, y2 <= 145,
                 w(30, 205), h <= 215, ux(-50, 30), uy(-10, 65)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(90, 195), cy <= 85, x1 <= 165, y1 <= 160, x2 >= 110, y2 <= 55, h <= 160,
                 ux(-90, -10), uy(-5, 70)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(60, 135), cy(125, 205), x1(100, 210), y1 <= 150, x2 <= 190, y2 >= 65, w >= 65,
                 h >= 105, ux(-25, 90), uy <= 5});
}

void CheckAtCapitalGb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(105, 185), cy(160, 235), x1 >= 160, y1(100, 230), x2(105, 215), y2 >= 175,
                 w(80, 235), h <= 140, ux(0, 65), uy(-65, -5)});
  const StrokeView s1 = c.S(1);
  // S1.w is bounded by 70..210 and by <= 205, S1.h by <= 80 and by <= 215: both hold.
  c.Require(s1, {cx(120, 190), cy(105, 215), x1 <= 120, y1 >= 120, x2 >= 120, y2 >= 80, w(70, 205),
                 h <= 80, ux <= -15, uy(-5, 45)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(160, 225), cy(50, 145), x1 >= 110, y1 <= 120, x2 >= 185, y2 >= 100, w <= 110,
                 ux(-55, -5), uy <= -20});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx >= 120, cy <= 100, x1 >= 120, y1 <= 200, x2 >= 100, y2 <= 165, w <= 75,
                 h(35, 200), ux(-5, 35), uy(-30, 65)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(75, 185), cy <= 90, x1 <= 165, y1 <= 160, x2 >= 110, y2 <= 55, h <= 165,
                 ux <= -5, uy(-15, 80)});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(60, 135), cy(125, 205), x1(95, 205), y1 <= 165, x2 <= 190, y2 >= 145, w >= 65,
                 h >= 105, ux(-25, 90), uy <= 5});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx(75, 130), cy(75, 180), w >= 35, h >= 35});
}

void CheckAtCapitalGc(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(75, 145), cy(115, 205), x1(50, 175), y1(75, 215), x2(70, 225), y2 >= 155,
                 w(40, 210), h >= 85, ux(-50, 30), uy(-80, -5)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(136, 200), cy(85, 210), x1(90, 215), y1(50, 205), x2 >= 120, y2 <= 205,
                 w(30, 205), h <= 150, ux(-35, 10), uy(-45, 60)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(158, 245), cy(40, 185), x1 >= 110, y1 <= 160, x2 >= 175, y2 >= 85, w <= 125,
                 ux >= -65, uy <= -5});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx >= 120, cy <= 105, x1 >= 120, y1 <= 200, x2 >= 100, y2 <= 150, w <= 75,
                 h(35, 200), ux(-5, 35), uy(-50, 65)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(65, 185), cy <= 90, x1 <= 165, y1 <= 160, x2 >= 110, y2 <= 55, h <= 160,
                 ux <= -5, uy(-15, 80)});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(60, 145), cy(125, 205), x1(95, 205), y1 <= 150, x2 >= 100, y2 >= 170, w >= 65,
                 h >= 128, ux(-40, 20), uy <= -40});
}

void CheckAtCapitalGd(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(75, 145), cy(115, 170), x1(50, 165), y1(100, 190), x2(120, 225), y2 >= 155,
                 w(40, 210), h >= 120, ux(-60, 20), uy(-75, -5)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(136, 200), cy(80, 170), x1(90, 215), y1(30, 180), x2 >= 120, y2 <= 205,
                 w(30, 205), h <= 150, ux(-35, 10), uy(-45, 40)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(158, 245), cy(40, 120), x1 >= 110, y1 <= 85, x2 >= 175, y2 >= 85, w <= 125,
                 ux(-65, 0), uy <= -5});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(80, 140), cy(123, 138), x1 >= 120, y1 <= 160, x2(30, 185), y2 >= 150, w >= 100,
                 h >= 180, ux(0, 80), uy <= -10});
}

void CheckAtCapitalH(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(80, 160), cy(35, 115), x1 <= 110, y1 <= 105, x2 >= 115, y2 <= 70, w >= 50,
                 h(70, 195), ux <= -25, uy(-55, 55)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx <= 115, cy(90, 185), x1 <= 115, y1(35, 175), x2 <= 108, y2(95, 205), w <= 120,
                 h >= 140, ux(-12, 20), uy(-60, 5)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(80, 170), cy(170, 225), x1 >= 135, y1 >= 175, x2 <= 125, y2 >= 175, w >= 50,
                 h(60, 170), ux >= 23, uy(-40, 40)});
  c.Require(c.Mcn(s2, kMcnRaw), {ox <= 64});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx >= 150, cy(90, 185), x1 >= 130, y1(90, 215), x2 >= 135, y2(45, 193), w <= 120,
                 h >= 140, ux(-20, 20), uy(-5, 75)});
}

void CheckAtCapitalI(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(140, 215), cy(100, 165), x1 >= 140, y1 <= 80, x2 >= 138, y2 >= 195, w <= 170,
                 h >= 150, ux(-20, 50), uy <= -75});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(95, 170), cy <= 125, x1(85, 190), x2(65, 165), w >= 40, ux(-20, 45)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(30, 120), cy(100, 160), x1 <= 130, y1 >= 180, x2 <= 120, y2 <= 55, w <= 135,
                 h >= 160, ux(-35, 40), uy >= 80});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(75, 170), cy >= 130, x1(60, 170), x2(85, 180), ux(-30, 25)});
}

void CheckAtCapitalM(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(145, 245), cy(90, 170), x1(60, 225), y1 <= 230, x2 >= 145, y2 >= 30, w(25, 194),
                 h >= 145, ux(-70, 10), uy(-70, 55)});
  c.RejectWhen(c.Mcn(s0, kMcnOffsets128), {dev(-19, 19)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(75, 195), cy(135, 235), x1 >= 128, y1 >= 160, x2 <= 150, y2 >= 160, w >= 40,
                 h >= 45, ux >= 20});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(133, 225), cy(45, 165), x1(60, 190), y1 <= 200, x2 >= 140, y2 <= 115, w <= 175,
                 h >= 45, ux(-87, -8), uy(-40, 100)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(75, 180), cy(70, 225), x1 >= 100, y1 >= 80, x2 <= 135, y2 >= 60, w >= 40,
                 h >= 15, ux >= 10, uy(-65, 65)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(20, 128), cy(35, 175), x1 <= 108, y1 <= 115, x2(40, 185), y2 <= 200, w <= 175,
                 h >= 45, ux(-85, -2), uy(-100, 40)});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(10, 110), cy(90, 180), x1 <= 120, y1 >= 30, x2(40, 180), y2 <= 230, w(20, 194),
                 h >= 130, ux(-70, 7), uy(-75, 75)});
}

void CheckAtCapitalN(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(35, 175), cy(25, 126), x1 <= 108, y1 <= 128, x2 >= 70, y2 <= 125, w >= 30,
                 h >= 40, ux <= -14, uy(-65, 65)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(30, 128), cy(70, 165), x1 <= 145, y1 >= 35, x2 >= 105, y2 <= 128, w >= 65,
                 h >= 150, ux <= 10, uy >= 3});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(100, 195), cy(100, 195), x1 >= 135, y1 >= 160, x2 <= 140, y2 >= 140, w >= 45,
                 h >= 130, ux >= 23, uy(-55, 55)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(130, 180), cy(80, 175), x1 >= 110, y1 <= 130, x2 <= 140, y2 >= 70, w >= 65,
                 h >= 150, ux >= -10, uy <= -3});
}

void CheckAtCapitalO(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(90, 170), cy >= 210, w >= 75, h <= 75});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(90, 175), cy(50, 120), w >= 80, h(100, 235)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(80, 175), cy(50, 128), w(40, 220), h(55, 210)});
}

void CheckAtCapitalP(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(60, 160), cy(35, 128), x1 <= 110, y1 <= 70, x2 >= 70, y2(70, 230), w >= 10,
                 h(65, 230), ux <= -5, uy <= -30});
  c.Require(c.Mcn(s0, kMcnOffsets128), {dev <= -20});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(125, 135), cy(128, 135), x1 <= 118, y1(50, 170), x2 <= 128, y2(50, 170),
                 w >= 95, h >= 235, ux(-8, 3), uy(0, 0)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(115, 165), cy(150, 215), w >= 45, h >= 35});
}

void CheckAtCapitalPa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(60, 185), cy(35, 110), x1 <= 120, y1 <= 35, x2 >= 95, y2(45, 220), w >= 35,
                 h(65, 220), ux <= -5, uy(-105, -25)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(10, 125), cy(35, 128), x1(20, 140), y1(45, 165), x2 <= 125, y2 >= 70, w <= 80,
                 h >= 80, ux(-15, 30), uy(-85, 40)});
  const StrokeView s2 = c.S(2);
  // S2.x1 is bounded by <= 100 and by <= 118: both hold.
  c.Require(s2, {cx <= 100, cy(86, 205), x1 <= 100, y1 >= 100, x2 <= 118, y2 <= 165, w <= 100,
                 h >= 65, ux(-50, 30), uy >= 30});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(127, 155), cy(150, 210), x1 <= 118, y1 >= 65, x2 <= 145, y2(50, 190), w >= 75,
                 h(80, 205), ux(-45, 20), uy(-35, 90)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(115, 185), cy(150, 215), w >= 45, h >= 35});
}

void CheckAtCapitalQ(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(160, 245), cy(35, 160), x1 >= 160, y1 <= 110, x2 >= 150, y2 >= 65, w(15, 110),
                 h >= 35, ux(-35, 55), uy <= -15});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 140, cy <= 95, x1 >= 120, y1 <= 115, x2 >= 108, y2 <= 110, w <= 128,
                 h <= 128, ux(-5, 45), uy(-85, 40)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(105, 225), cy <= 60, x1 <= 195, y1 <= 90, x2 >= 130, y2 <= 90, w >= 35,
                 h(15, 100), ux <= -15, uy(-35, 50)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(80, 140), cy(127, 170), x1 >= 75, y1 <= 90, x2 >= 120, y2 <= 120, w >= 115,
                 h >= 170, ux(-60, 8), uy(-55, 8)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(70, 150), cy(120, 205), x1(48, 175), y1(50, 175), w >= 80, h >= 80, ux(-40, 2),
                 uy(-25, 15)});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(70, 160), cy <= 150, x1 <= 120, y1 <= 165, x2 >= 128, y2 <= 165, w(25, 200),
                 h <= 120, ux <= -10, uy(-60, 45)});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx(70, 160), cy(30, 115), w <= 150, h <= 150});
}

void CheckAtCapitalQa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(160, 245), cy(35, 170), x1 >= 160, y1 <= 110, x2 >= 110, y2 >= 65, w(15, 128),
                 h >= 35, ux(-35, 65), uy <= -15});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 140, cy <= 95, x1 >= 120, y1 <= 120, x2 >= 108, y2 <= 110, w <= 128,
                 h <= 128, ux(-5, 45), uy(-85, 40)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(105, 225), cy <= 60, x1 <= 195, y1 <= 90, x2 >= 130, y2 <= 90, w >= 35,
                 h(15, 105), ux <= -15, uy(-40, 50)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(70, 140), cy(127, 170), x1 >= 75, y1 <= 100, x2 >= 120, y2 <= 120, w >= 100,
                 h >= 170, ux(-60, 8), uy(-55, 8)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(70, 160), cy(120, 205), w >= 60, h >= 80});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(60, 160), cy(30, 115), w <= 150, h <= 150});
}

void CheckAtCapitalQb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 75, cy <= 145, y1 <= 155, x2 >= 110, w >= 15, h >= 15, ux <= 20, uy <= 50});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(70, 140), cy(120, 175), x1 >= 35, y1 <= 160, x2 >= 60, y2 <= 160, w >= 100,
                 h >= 130, ux(-40, 8), uy(-40, 8)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(70, 160), cy(125, 200), y1 <= 180, y2 <= 180, w >= 60, h >= 93, ux(-35, 15),
                 uy(-40, 8)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx >= 70, cy <= 155, y1 <= 160, x2 >= 110, w <= 200, ux <= 40, uy <= 40});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(60, 180), cy(25, 180), w <= 160, h <= 150});
}

void CheckAtCapitalQc(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(70, 148), cy(120, 207), w >= 60, h >= 78});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(100, 145), cy(120, 175), y1 <= 165, x2 >= 60, y2 <= 165, w >= 90, h >= 130,
                 ux(-40, 8), uy(-40, 8)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 100, cy <= 120, x1 <= 180, y1 <= 155, x2 >= 156, y2 <= 155, w >= 15, h >= 15,
                 ux <= -20, uy(-45, 50)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(70, 175), cy(30, 115), w(15, 155), h <= 150});
}

void CheckAtCapitalR(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(125, 230), cy(30, 180), x1 >= 140, y1 <= 110, x2 >= 130, y2 >= 95, w >= 30,
                 h >= 60, ux(-45, 45), uy <= -30});
  c.Require(c.Mcn(s0, kMcnRaw), {dev <= -18, ox <= -18});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(100, 210), cy(30, 120), x1 <= 230, y1 <= 180, x2 <= 185, y2 <= 180, w >= 30,
                 h <= 180, ux(-45, 70), uy(-60, 45)});
  c.Require(c.Mcn(s1, kMcnRaw), {ox >= -42});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(70, 170), cy <= 95, x1 <= 110, y1 <= 110, x2 >= 100, y2 <= 95, w >= 45, h >= 30,
                 ux <= -20, uy(-50, 45)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(80, 135), cy(125, 170), x1 <= 120, y1 <= 170, x2 >= 55, y2(65, 180), w >= 92,
                 h >= 185, ux(-65, 15), uy(-40, 25)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(90, 180), cy(146, 230), w >= 35, h(35, 175)});
}

void CheckAtCapitalRa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(125, 230), cy(30, 180), x1 >= 140, y1 <= 110, x2 >= 115, y2 >= 95, w >= 30,
                 h >= 60, ux(-45, 70), uy <= -30});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(100, 210), cy(30, 120), x1 <= 230, y1 <= 180, x2 <= 185, y2 <= 180, w >= 30,
                 h <= 180, ux(-45, 70), uy(-60, 60)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(70, 190), cy <= 95, x1 <= 110, y1 <= 110, x2 >= 100, y2 <= 95, w >= 45, h >= 30,
                 ux <= -20, uy(-50, 45)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx <= 125, cy(35, 140), x1 <= 145, y1 <= 160, x2 <= 125, y2 >= 60, w <= 100,
                 h >= 60, ux(-20, 25), uy <= 35});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx <= 95, cy >= 50, x1 <= 130, y1 >= 100, x2 <= 100, w <= 100, h >= 35,
                 ux(-40, 40), uy >= 10});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(80, 170), cy(150, 220), x1 <= 125, y1 >= 60, x2(60, 180), y2(60, 170), w >= 60,
                 h >= 80, ux(-60, 2), uy >= -45});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx(80, 180), cy(146, 230), w >= 25, h(35, 175)});
}

void CheckAtCapitalS(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(103, 190), cy(128, 215), x1 >= 128, y1(16, 192), x2 >= 128, y2 >= 128, w >= 30,
                 h >= 50, ux(-55, 40), uy <= -5});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(90, 170), cy(50, 180), x1(30, 180), y1 >= 105, x2 <= 140, y2 <= 140, w >= 30,
                 h >= 30, ux(-40, 60), uy >= 20});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(30, 170), cy <= 85, x1 <= 140, y1 <= 80, x2 >= 50, y2 <= 140, h <= 140, ux <= 0,
                 uy(-70, 35)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(30, 145), cy <= 90, x1 <= 145, y1 <= 145, x2 >= 25, y2 <= 145, h <= 170,
                 ux(-80, 15), uy(-35, 35)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(80, 175), cy(45, 180), x1 <= 170, y1 >= 90, x2 <= 125, y2(35, 180), w >= 30,
                 h >= 25, ux(-40, 45), uy(0, 95)});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(90, 210), cy(130, 230), x1 >= 90, y1 <= 195, x2 >= 30, y2 >= 128, w >= 45,
                 h >= 50, ux(-65, 90), uy <= -12});
}

void CheckAtCapitalU(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(100, 160), cy(90, 160), x1 >= 130, y1 >= 90, x2 <= 120, y2 >= 75, w >= 80,
                 h >= 135, ux >= 30, uy(-70, 85)});
  c.Require(c.Mcn(s0, kMcnOffsets128), {dev <= -108, oy <= 25});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(125, 138), cy(125, 138), x1 >= 70, x2 <= 120, w >= 100, h >= 155, ux >= -3});
}

void CheckAtCapitalV(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 135, cy >= 98, x1 <= 190, y1 <= 110, x2 >= 190, y2 >= 180, w >= 78, h >= 128,
                 ux(-85, -10), uy <= -5});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(95, 170), cy(95, 128), x1 >= 130, y1 >= 160, x2 <= 128, y2 >= 140, w >= 65,
                 h >= 128, ux >= 30, uy(-30, 32)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx <= 100, cy >= 90, x1 <= 50, y1 >= 135, x2 <= 180, y2 <= 110, w <= 165, h >= 128,
                 ux(-85, 5), uy >= 15});
  const StrokeView s3 = c.S(3);
  // S3.cy is bounded by >= 145 and by >= 179: both hold.
  c.Require(s3, {cx(125, 135), cy >= 179, x1 <= 120, y1 >= 140, x2 >= 130, y2 >= 160, w >= 168,
                 h <= 118, ux <= -30, uy(-35, 30)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(75, 170), cy(115, 184), w(25, 160), h >= 60});
}

void CheckAtCapitalVb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(150, 210), cy(90, 150), x1(35, 160), y1 <= 55, x2 >= 210, y2 >= 180, w >= 70,
                 h >= 140, ux <= -30, uy <= -70});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(125, 135), cy(125, 135), x1 >= 150, y1 >= 170, w >= 150, h >= 180, ux(0, 0),
                 uy(0, 0)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(90, 160), cy(115, 200), w(25, 170), h >= 70});
}

void CheckAtCapitalW(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(50, 175), cy(20, 120), x1 <= 125, y1 <= 100, x2 >= 95, y2 <= 100, w >= 30,
                 h >= 30, ux <= -15, uy(-50, 40)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(25, 100), cy(70, 165), x1(40, 165), y1 >= 25, x2 <= 115, y2 <= 200, w >= 30,
                 h >= 100, ux >= 0, uy >= -50});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(25, 120), cy(80, 210), x1(60, 175), y1 >= 85, x2 <= 85, y2 >= 120, w >= 30,
                 h >= 60, ux >= 12, uy(-80, 50)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(60, 165), cy(50, 190), x1 <= 125, y1 <= 170, x2 >= 100, y2 <= 210, w(40, 180),
                 h >= 45, ux(-90, -15), uy(-60, 70)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(140, 220), cy(100, 210), x1 >= 170, y1 >= 165, x2(80, 200), y2 >= 80, w >= 30,
                 h >= 70, ux(18, 90), uy >= -35});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(140, 220), cy(80, 180), x1 >= 100, y1 <= 220, x2(62, 170), y2 >= 30, w >= 45,
                 h >= 100});
  c.RejectWhen(s5, {x2<75, y2> 128});
  c.Require(s5, {ux(0, 75)});
}

void CheckAtCapitalX(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(145, 220), cy(90, 190), x1 >= 130, y1 <= 120, x2 >= 135, y2 >= 180, w >= 30,
                 h >= 110, ux(-60, 40), uy <= -50});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(110, 210), cy(35, 150), x1(100, 190), y1 <= 180, x2 >= 70, y2(45, 160), w >= 23,
                 h >= 40, ux(-40, 45), uy(-35, 50)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(65, 185), cy(25, 100), x1 <= 110, y1 <= 100, x2 >= 130, y2 <= 120, w >= 60,
                 h(45, 160), ux <= -30, uy(-65, 50)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(40, 135), cy(35, 130), x1 <= 165, y1 <= 160, x2(50, 155), y2(75, 180),
                 w(35, 150), h(60, 180), ux(-50, 30), uy <= 0});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(30, 110), cy(70, 170), x1 <= 128, y1 >= 130, x2 <= 105, y2 <= 80, w(30, 140),
                 h >= 115, ux(-50, 55), uy >= 55});
  c.Require(c.Mcn(s4, kMcnOffsets128), {dev <= -28, ox >= 157});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(50, 150), cy(115, 225), x1(40, 155), y1(75, 220), x2(50, 170), y2 >= 100,
                 w(15, 160), h(25, 170), ux(-30, 30), uy(-60, 35)});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx(80, 185), cy(180, 240), x1 >= 130, y1 >= 190, x2 <= 128, y2 >= 140, w >= 60,
                 h(45, 160), ux >= 30, uy(-30, 60)});
  const StrokeView s7 = c.S(7);
  c.Require(s7, {cx(110, 220), cy(150, 225), x1(85, 170), y1(100, 210), x2(100, 215), y2 >= 70,
                 w(30, 160), h(50, 185), ux(-50, 10), uy(-60, 35)});
}

void CheckAtCapitalY(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(103, 160), cy >= 175, x1 >= 150, y1 >= 185, x2 <= 115, y2 >= 185, w >= 70,
                 h(40, 165), ux >= 33, uy(-25, 35)});
  c.Require(c.Mcn(s0, kMcnOffsets128), {dev <= -28, oy <= 93});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(125, 135), cy(125, 135), x1(85, 180), y1 >= 95, x2(60, 160), y2 >= 95, w >= 85,
                 h >= 253, ux(-15, 55), uy(-45, 20)});
}

void CheckAtCapitalYa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(135, 210), cy(90, 205), x1(85, 185), y1 <= 155, x2 >= 170, y2 >= 170,
                 w(30, 160), h >= 95, ux(-80, -5), uy <= -45});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(55, 125), cy(95, 135), x1(95, 195), x2(60, 160), y2 >= 105, w(40, 180),
                 h >= 190, ux(-15, 40), uy(-70, 40)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(103, 160), cy >= 175, x1 >= 150, y1 >= 185, x2 <= 115, y2 >= 185, w >= 70,
                 h(35, 165), ux >= 33, uy(-35, 35)});
  c.Require(c.Mcn(s2, kMcnOffsets128), {dev <= -28, oy <= 96});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(145, 200), cy >= 150, x1(85, 205), y1 >= 105, x2(95, 200), y2 >= 45, w(40, 160),
                 h >= 30, ux(-40, 40), uy(-40, 70)});
}

void CheckAtCapitalYb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(60, 140), cy(55, 205), x1 <= 115, y1 >= 105, x2(50, 175), w(15, 160),
                 ux(-80, 15), uy >= 8});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(60, 110), cy >= 145, x1(45, 170), y1 >= 75, x2(65, 180), y2 >= 110, w(15, 170),
                 h >= 28, ux(-45, 30), uy(-35, 45)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(103, 168), cy >= 175, x1 >= 145, y1 >= 185, x2 <= 115, y2 >= 175, w >= 60,
                 h(35, 165), ux >= 30, uy(-35, 35)});
  c.Require(c.Mcn(s2, kMcnOffsets128), {dev <= -28, oy <= 96});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(125, 210), cy(95, 135), x1(95, 185), y1 >= 110, x2(60, 170), y2 >= 75,
                 w(40, 180), h >= 190, ux(-15, 40), uy(-40, 35)});
}

void CheckAtCapitalYc(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(140, 205), cy(140, 235), x1(60, 180), y1 <= 220, x2(90, 180), w(35, 190),
                 ux(-30, 30)});
  c.Require(c.Mcn(s0, kMcnRaw), {oy >= -38});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(85, 160), cy(180, 240), x1 >= 135, y1 >= 190, x2 <= 110, y2 >= 180, w >= 70,
                 h(40, 135), ux >= 30, uy(-35, 40)});
  c.Require(c.Mcn(s1, kMcnRaw), {dev <= -32, oy <= -32});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(105, 210), cy(70, 215), x1(50, 195), y1 <= 175, x2 >= 120, y2 >= 140,
                 w(25, 165), h >= 60, ux(-85, -2), uy <= -30});
  c.Require(c.Mcn(s2, kMcnRaw), {dev >= -91, ox >= -83});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(75, 165), cy(50, 125), x1(90, 175), y1 >= 110, x2(50, 151), y2 >= 75, w <= 110,
                 h >= 105, ux(-15, 50), uy(-80, 35)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(40, 145), cy(60, 220), x1 <= 120, y1 >= 128, x2(50, 180), y2 <= 180, w(25, 165),
                 h >= 50, ux(-80, 20), uy >= 20});
  c.Require(c.Mcn(s4, kMcnRaw), {dev >= -83, ox <= 75, oy <= 37});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(35, 110), cy(150, 235), x1(40, 151), y1 >= 80, x2(60, 165), y2 <= 223,
                 w(25, 145), h(33, 175), ux(-50, 30), uy(-50, 35)});
  c.Require(c.Mcn(s5, kMcnRaw), {oy >= -37});
}

void CheckAtCapitalZ(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(140, 245), cy(110, 225), x1 >= 125, y1(30, 190), x2 >= 150, y2 >= 165,
                 w(20, 140), h >= 40, ux(-55, 50), uy <= -15});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(105, 220), cy(65, 190), x1 >= 100, y1 >= 95, x2 <= 180, y2 <= 180, w >= 20,
                 h >= 5, ux >= 0, uy >= 0});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(100, 190), cy(35, 115), x1 >= 115, y1 <= 85, x2 >= 125, y2(30, 190), w >= 75,
                 h(40, 170), ux(-70, 70), uy(-90, -8)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(75, 170), cy <= 100, y1 <= 90, x2(35, 155), y2 <= 165, w >= 65, h <= 160,
                 ux(-50, 70), uy(-70, 15)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(15, 110), cy(40, 140), x1 <= 125, y1(80, 220), x2 <= 105, y2 <= 110, w(20, 150),
                 h >= 50, ux(-45, 60), uy >= 20});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(35, 150), cy(95, 200), x1(35, 155), y1(65, 180), x2 >= 65, y2 >= 100, w >= 25,
                 h <= 140, ux(-80, 5), uy(-70, 0)});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx(60, 165), cy(150, 225), x1 <= 135, y1 >= 170, x2 <= 125, y2(90, 220), w >= 70,
                 h(35, 160), ux(-60, 60), uy >= 0});
  const StrokeView s7 = c.S(7);
  c.Require(s7, {cx(80, 180), cy(165, 250), x1 >= 55, y1 >= 170, x2 >= 100, y2 >= 90, w >= 65,
                 h(25, 165), ux(-70, 45), uy >= 0});
}
