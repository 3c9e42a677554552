// The shape checks of the "@" digit models, read on the strokes of the
// polygon steps: up to eight short strokes per model, measured by windows
// over every stroke, extreme points of their chains with explicit tie-breaks
// and, in "@0", the outline itself. "@2", "@7" and "@9" may relabel the
// candidate (digit_relabels.cpp).
#include <algorithm>

#include "ocrlib/checks/check_kit.h"
#include "ocrlib/checks/digit_checks.h"

using namespace checkrow;

namespace {

// The "@" digit rows measure chords with 128 added to the offsets (MCN) or
// with nothing added (MCN0).
constexpr McnMode kMcn = kMcnOffsets128;

int32_t HalfDown(int32_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

}  // namespace

void CheckAtDigit1(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(126, 140), cy(126, 140), w <= 201, h >= 255});
}

void CheckAtDigit2a(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(113, 233), cy(37, 161), x1 >= 140, y1 <= 120, x2 >= 125, y2 >= 75, w(40, 217),
                 h(55, 245), ux(-50, 65), uy <= -23});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(125, 230), cy <= 82, x1(40, 218), y1 <= 116, x2(31, 212), y2 <= 102, w(35, 222),
                 h <= 115, ux(-77, 62), uy(-41, 26)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(47, 168), cy <= 76, x1 <= 100, y1 <= 100, x2 >= 71, y2 <= 64, w >= 21, h <= 91,
                 ux <= -10, uy(-25, 35)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(40, 152), cy <= 140, x1(31, 212), y1 <= 102, x2 >= 57, y2 >= 28, w >= 45,
                 h >= 20, ux(-100, 65), uy <= 0});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(55, 154), cy(100, 203), x1 <= 165, y1 >= 140, x2 <= 137, y2 <= 157, w >= 75,
                 h >= 70, ux(-35, 80), uy >= 10});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(76, 210), cy(136, 229), x1 >= 30, y1 >= 135, x2(39, 209), y2 <= 192, w >= 60,
                 h >= 60, ux(-50, 85), uy >= 8});
}

void CheckAtDigit3a(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(60, 170), cy(45, 125), x1(20, 175), y1(75, 200), x2 <= 132, y2 <= 165, w >= 45,
                 h(45, 185), ux(-30, 90), uy(-10, 90)});
  c.Require(c.Mcn(s0, kMcn), {dev <= -30});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(94, 210), cy(60, 200), x1 >= 107, y1 <= 180, x2 >= 110, y2 >= 70, w <= 185,
                 h <= 180, ux(-50, 35), uy(-90, -4)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(80, 210), cy(160, 235), y1 >= 180, x2(25, 175), y2(75, 200), w >= 40,
                 h(35, 185), ux(-65, 65), uy >= 7});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(120, 165), cy(125, 140), x1 >= 65, y1 >= 95, y2 <= 150, w >= 90, h >= 160,
                 ux >= -80, uy >= 20});
}

void CheckAtDigit4a(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 85, cy >= 110, x1 >= 145, x2 >= 100, y2 >= 160, w >= 15, h >= 40, ux >= -40,
                 uy <= 10});
  c.Require(c.Mcn(s0, kMcn), {dev <= -13});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 137, cy(30, 177), x1 >= 89, y1 <= 177, x2(75, 210), y2(20, 180), h <= 100,
                 ux(-33, 70), uy(-60, 45)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(100, 232), cy <= 95, y1 <= 30, x2 >= 158, y2 <= 180, w >= 20, h <= 180,
                 ux <= -8, uy <= -6});
  c.Require(c.Mcn(s2, kMcn), {dev <= -21});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(50, 200), cy <= 90, x1(50, 210), y1 <= 177, x2(50, 180), y2 <= 162, w <= 103,
                 h <= 170, ux(-10, 70), uy(-50, 28)});
  const StrokeView s4 = c.S(4);
  c.Require(
      s4, {cx(30, 142), x1 <= 95, y1 <= 180, y2 <= 72, w <= 200, h >= 30, ux(-100, 45), uy >= 10});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(30, 151), cy(139, 210), x1(50, 180), y1(20, 165), y2 >= 50, w >= 30, h >= 90,
                 ux(-80, 50), uy(-100, 5)});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx(45, 230), cy(100, 220), w <= 220, h <= 205});
}

void CheckAtDigit5a(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(100, 220), cy >= 90, y1 >= 123, y2 >= 80, w >= 30, h <= 100, ux(-70, 80),
                 uy(-20, 50)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(58, 236), cy >= 160, x1 >= 100, y1 >= 100, y2 >= 185, w >= 20, h <= 150,
                 ux >= -25, uy(-80, 15)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(43, 214), cy(55, 216), x1(48, 237), y1 <= 188, x2 >= 36, y2 >= 100, w >= 10,
                 h >= 29, ux(-102, 60), uy <= -12});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(28, 164), cy(26, 116), x1 <= 170, y1 >= 40, y2 <= 128, w >= 45, h >= 35,
                 ux(-90, 70), uy(-60, 100)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(20, 137), cy(20, 146), x1 <= 136, y1 >= 45, x2 <= 138, y2 <= 152, w(20, 205),
                 h >= 20, ux(-55, 70), uy >= -15});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(30, 185), cy(128, 220), x1(30, 220), y1 <= 190, y2 >= 110, w(20, 190), h >= 45,
                 ux(-55, 75), uy <= 0});
}

void CheckAtDigit6(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(87, 220), cy >= 64, x1 >= 90, y1 <= 170, x2 >= 64, y2 >= 155, w(25, 205),
                 h >= 53, ux(-85, 75), uy <= -5});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(99, 138), cy(128, 140), x1(23, 180), y1(60, 180), x2 >= 30, y2 >= 18, w >= 72,
                 h >= 210, ux(-80, 20), uy(-95, 15)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(45, 160), cy(24, 100), w >= 6, h(20, 157)});
}

void CheckAtDigit7a(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(128, 180), cy(90, 133), y1 >= 140, x2 >= 140, y2 >= 130, h >= 179, ux(12, 71),
                 uy >= -21});
  const StrokeView s1 = c.S(1);
  c.Require(s1,
            {cx >= 39, cy >= 190, x1 >= 85, y1 >= 150, y2 >= 180, h <= 94, ux >= 0, uy(-50, 30)});
  c.Require(c.Mcn(s1, kMcn), {dev(-70, -8)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(87, 140), cy(88, 200), x1 <= 141, y1 >= 90, x2 <= 200, y2 <= 148, w >= 40,
                 h >= 90, uy >= 11});
  const StrokeView s3 = c.S(3);
  c.Require(s3,
            {cx(30, 180), cy >= 170, y1 >= 170, y2 >= 170, h <= 150, ux(-70, 100), uy(-30, 30)});
}

void CheckAtDigit8a(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(137, 225), cy(88, 230), x1 >= 97, y1 >= 95, x2(60, 195), y2(70, 210),
                 w(25, 200), h <= 155, ux(-17, 70), uy >= 2});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 128, cy >= 138, x1 >= 170, y1 >= 100, y2 >= 150, w >= 14, h(14, 150),
                 ux >= -15, uy(-80, 25)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(135, 230), cy(50, 190), x1 >= 40, y1 <= 140, x2 >= 174, y2 >= 100, w >= 29,
                 h >= 50, ux <= 15, uy <= -15});
  c.Require(c.Mcn(s2, kMcn), {dev <= -15});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(39, 160), cy(45, 104), x1(60, 195), y1(55, 200), x2(25, 155), y2(70, 201),
                 w(40, 230), h >= 65, ux(0, 70), uy(-28, 35)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(15, 140), cy(70, 206), x1 <= 192, y1 >= 110, x2 <= 100, y2 <= 150, w <= 181,
                 h >= 50, ux >= -40, uy >= 20});
  c.Require(c.Mcn(s4, kMcn), {dev <= -10});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(55, 190), cy(153, 228), x1(25, 160), y1(69, 201), x2 >= 97, w >= 30, h >= 55,
                 ux <= 0, uy(-68, 15)});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx(73, 188), cy(155, 238), w >= 15, h >= 20});
  const StrokeView s7 = c.S(7);
  c.Require(s7, {cx(38, 180), cy(35, 110), w >= 7, h >= 25});
}

void CheckAtDigit8b(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(107, 212), cy(128, 222), x1 >= 120, y1 >= 90, x2 >= 85, y2 >= 30, w >= 40,
                 h(35, 205), ux(-65, 80), uy(-40, 60)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(105, 210), cy(80, 215), x1(30, 230), y1 >= 85, x2 >= 79, y2(65, 180),
                 w(20, 210), h <= 140, ux(-80, 70), uy(-20, 60)});
  c.Require(c.Mcn(s1, kMcnRaw), {oy >= -51});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(90, 230), cy(45, 190), x1 >= 35, y1 <= 140, x2 >= 120, y2 >= 90, w(15, 195),
                 h >= 35, ux(-90, 40), uy <= -18});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(39, 165), cy(35, 114), x1(79, 205), y1(65, 180), x2(25, 175), y2(75, 225),
                 w(40, 240), h >= 75, ux(-30, 80), uy(-55, 20)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(15, 140), cy(70, 242), x1 <= 205, y1 >= 120, x2 <= 101, y2 <= 222, w <= 200,
                 h >= 35, ux >= -40, uy >= 15});
  c.Require(c.Mcn(s4, kMcn), {dev <= -10});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(44, 198), cy(143, 228), x1(25, 170), y1(75, 221), x2 >= 15, y2 >= 128, w >= 25,
                 h >= 55, ux(-100, 50), uy(-80, 0)});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx(31, 165), cy(30, 102), w >= 10, h >= 15});
}

void CheckAtDigit8c(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(20, 116), cy(68, 195), x1 <= 145, y1 >= 100, x2 <= 110, y2 <= 160, w(22, 160),
                 h >= 55, ux(-28, 60), uy >= 25});
  c.Require(c.Mcn(s0, kMcn), {dev <= -15});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(128, 135), cy(128, 135), x1(38, 180), y1(80, 219), y2 <= 200, w >= 90, h >= 170,
                 ux(-15, 3), uy(0, 25)});
  c.Require(c.Mcn(s1, kMcnRaw), {dev >= 0, ox <= 0, oy <= 0});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(90, 205), cy(155, 235), w >= 15, h >= 25});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(55, 175), cy(35, 110), w >= 15, h >= 30});
}

void CheckAtDigit2(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(100, 246), cy(28, 201), x1 >= 93, y1 <= 206, x2 >= 8, y2 >= 44, w >= 26,
                 h >= 10, ux >= -73, uy <= 20});
  c.Require(c.Mcn(s0, kMcn), {dev <= -11, ox <= 139, oy <= 214});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(77, 194), cy(14, 130), x1 <= 236, y1 <= 176, x2 >= 35, y2 >= 19, w >= 79,
                 h >= 9, ux <= 66, uy <= 22});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(24, 161), cy(87, 224), x1 <= 209, y1 >= 82, x2 <= 154, y2 <= 201, w >= 40,
                 h >= 37, ux(-62, 104), uy >= -20});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(35, 236), cy(128, 228), y1 >= 30, x2 <= 234, y2 <= 194, w >= 17, h >= 61,
                 ux(-69, 108), uy >= -27});
  // The point before S1's chain first turns back to the left.
  const ChainView chain = c.Chain(s1);
  for (int i = 1; i < chain.count; ++i) {
    if (chain.At(i).x >= chain.At(i - 1).x) continue;
    const PointView p = StrokePointInFrame(c.args(), chain.IndexAt(i - 1));
    const int32_t reach = p.x - s1.cx + s1.w / 2;
    c.RejectIf(reach >= 1 && reach <= 74);
    break;
  }
  if (c.DigitsAndCapitals()) {
    const int32_t a = Tilt(s3.x2 - s0.x2, s3.y2 - s0.y2);
    if (s0.y2 > 215 && s3.x2 >= 101 && s3.x2 <= 159 && s3.y2 - s0.y2 < -172 && a >= 67) {
      c.RejectIf(a > 77);
      if (a > 70) {
        c.RejectIf(s3.x2 - s0.x1 < -70 || s0.y2 > 247 || (s0.y2 > 225 && s3.x2 - s0.x1 > -95));
      }
    }
  }
  RelabelTwoAsOne(c);
}

void CheckAtDigit3(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(120, 246), cy(36, 220), x1 >= 92, y1 <= 190, x2 >= 110, y2 >= 60, w(13, 144),
                 h(55, 245), ux(-75, 50), uy <= -10});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(64, 217), cy(28, 108), x1(23, 227), y1(50, 210), y2 <= 182, w >= 30, h >= 50,
                 uy >= -13});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(53, 195), cy(40, 128), x1 <= 200, y1 >= 59, x2 <= 178, y2 <= 192, w >= 33,
                 h >= 37, ux >= -41, uy >= -17});
  c.Require(c.Mcn(s2, kMcn), {dev <= -28});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(85, 221), cy(50, 211), x1 >= 96, y1 <= 195, x2 >= 99, y2 >= 67, w >= 20,
                 ux(-64, 61), uy <= 4});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(69, 209), cy(122, 237), x1 <= 231, y1 >= 137, x2 <= 200, y2 >= 59, w >= 24,
                 h >= 16, ux(-70, 75), uy(0, 100)});
  c.Require(c.Mcn(s4, kMcn), {dev <= -32, ox >= 149});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(88, 237), cy(154, 237), x1 >= 26, y1 >= 85, y2(53, 210), w >= 24, h(46, 203),
                 uy >= 3});
  c.Need(s5.w / 2 - s4.w / 2 - s4.cx + s5.cx <= 75);
}

void CheckAtDigit4(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(52, 186), cy(132, 223), x1 >= 92, y1 >= 113, y2 >= 138, w >= 30, h(50, 220),
                 ux >= -30, uy(-70, 60)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(100, 217), cy(80, 240), x1(35, 180), y1(30, 205), x2(75, 226), y2(35, 241),
                 w <= 221, h >= 35, ux(-70, 20), uy(-73, 40)});
  c.Require(c.Mcn(s1, kMcnRaw), {oy >= -37});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 147, cy(65, 230), x1 >= 120, y1 <= 202, x2 >= 109, y2 >= 108, w <= 185,
                 h(20, 245), ux(-55, 70), uy(-122, 0)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx >= 95, cy(23, 190), x1 >= 75, y1 <= 210, x2 >= 55, y2 >= 20, w(20, 200),
                 h <= 119, ux(-20, 75), uy(-20, 50)});
  c.Require(c.Mcn(s3, kMcnRaw), {ox >= -13, oy >= -115});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(79, 232), cy <= 100, x1 <= 200, y1 <= 55, x2 >= 118, y2 <= 200, w >= 25,
                 h(25, 200), ux <= -8, uy(-100, 20)});
  c.Require(c.Mcn(s4, kMcnRaw), {dev >= -96, ox <= 11, oy <= 83});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(30, 200), cy <= 95, x1(45, 220), y1(20, 175), x2(30, 170), y2 <= 180, w <= 142,
                 h <= 180, ux(-20, 50), uy(-50, 30)});
  c.Require(c.Mcn(s5, kMcnRaw), {ox >= -119});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx <= 128, cy <= 160, x1 <= 128, y1 >= 25, x2 <= 200, y2 <= 80, w(21, 200),
                 h >= 30, ux(-100, 45), uy >= 15});
  c.Require(c.Mcn(s6, kMcnRaw), {ox >= -20});
  const StrokeView s7 = c.S(7);
  c.Require(s7, {cx(20, 160), cy(95, 211), x1(30, 170), y1 <= 185, x2 <= 200, y2 >= 50, w >= 10,
                 h >= 65, ux(-50, 75), uy(-105, 20)});
  c.AcceptUnlessDigitsAndCapitals();
  c.AcceptWhen(s7.code > 62);
  const PointView p2 = c.XP(s7, kDirNegX, -1);
  c.AcceptWhen(p2.y < 171);
  const PointView p4 = c.XP(s7, kDirPosY, -1);
  c.AcceptWhen(p4.x - p2.x > 27);
  c.AcceptWhen(s4.code == 23 || s4.code == 32);
  const PointView q4 = c.XP(s4, kDirPosY, -1);
  const PointView q6 = c.XP(s4, kDirPosX, -1);
  c.RejectIf(q4.y - q6.y > 26);
}

void CheckAtDigit5(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(74, 212), cy >= 90, x1(55, 248), y1 <= 200, x2 >= 83, y2 >= 130, w >= 30,
                 h >= 40, ux(-100, 30), uy <= -32});
  c.Require(c.Mcn(s0, kMcnRaw), {oy >= -44});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(25, 170), cy(30, 121), x1 <= 164, y1 >= 60, y2 <= 88, w(55, 248), h >= 37,
                 ux(-100, 70), uy >= 3});
  c.Require(c.Mcn(s1, kMcnRaw), {oy <= 77});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx <= 136, cy(30, 160), x1 <= 170, y1 >= 60, x2 <= 82, y2 <= 145, w(30, 228),
                 ux(-50, 90), uy >= -20});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(109, 220), cy(128, 230), x1(30, 230), y1 <= 212, x2 <= 221, y2 >= 117, w >= 55,
                 h >= 24, ux(-60, 100), uy <= 10});
  c.AcceptUnlessDigitsAndCapitals();
  CheckAtFiveTail(c, s3);
}

void CheckAtDigit7(CheckContext& c) {
  if (RelabelSevenAsOne(c)) return;
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(87, 147), cy(89, 195), x1 <= 128, y1 >= 88, x2 <= 180, y2 <= 119, w >= 85,
                 h >= 92, ux(-85, 71), uy >= 10});
  c.Require(c.Mcn(s0, kMcn), {dev <= -60});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(128, 135), cy(128, 135), y1 >= 180, x2(149, 238), y2 >= 135, w >= 87, h >= 255,
                 ux <= 0, uy(-21, 50)});
  c.Require(c.Mcn(s1, kMcn), {dev >= 0});
}

void CheckAtDigit8(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 120, cy(43, 210), x1 >= 40, y1 <= 189, x2 >= 128, y2 >= 75, w >= 15, h >= 17,
                 ux(-105, 45), uy <= -8});
  c.Require(c.Mcn(s0, kMcn), {dev <= -10});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(45, 175), cy(40, 113), x1 >= 69, y1 >= 64, x2(25, 158), y2(64, 192), w >= 30,
                 h >= 75, ux >= 0, uy(-40, 55)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(15, 140), cy(49, 206), x1 <= 192, y1 >= 90, x2 <= 133, y2 <= 138, w <= 181,
                 h >= 38, ux(-60, 90), uy >= 19});
  c.Require(c.Mcn(s2, kMcn), {dev <= -10});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(90, 200), cy(146, 224), x1(25, 170), y1 <= 223, x2 >= 69, y2 >= 60, w >= 30,
                 h >= 65, ux <= 0, uy(-68, 41)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(74, 208), cy(155, 238), w >= 8, h >= 20});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(34, 190), cy(25, 118), w >= 7, h >= 25});
  c.AcceptUnlessDigitsAndCapitals();
  c.AcceptWhen(s2.subKind == 7);
  const PointView p5 = c.XP(s2, kDirPosXY, -1);
  const PointView p3 = c.XP(s2, kDirYMinusX, 1);
  int32_t rightReach;  // the limit on S5's upper extremes
  if (p3.x == p5.x && p3.y == p5.y) {
    const PointView p1 = c.XP(s2, kDirNegXY, 1);
    c.AcceptWhen(p3.y - p1.y < 196);
    const PointView p6 = c.XP(s2, kDirPosX, 1);
    c.AcceptWhen(p6.x > 101);
    const PointView p6Low = c.XP(s2, kDirPosX, -1);
    c.RejectIf(p6Low.y == p6.y);
    c.AcceptWhen(p6.x - p3.x > 47);
    rightReach = 24;
  } else {
    c.AcceptWhen(p3.y - p5.y > 32);
    const PointView p1 = c.XP(s2, kDirNegXY, 1);
    c.AcceptWhen(p3.y - p1.y < 151);
    const PointView p6 = c.XP(s2, kDirPosX, 1);
    c.AcceptWhen(p6.x - p1.x > 53);
    c.RejectIf(p6.y < 112 || p6.y > 176);
    c.RejectIf(p3.y > 208);
    rightReach = 85;
  }
  const PointView q5 = c.XP(s5, kDirPosXY, -1);
  const PointView q3 = c.XP(s5, kDirYMinusX, 1);
  c.RejectIf(q5.x - q3.x > rightReach);
}

void CheckAtDigit9(CheckContext& c) {
  if (RelabelNineAsFour(c)) return;
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(57, 170), cy(34, 155), x1(19, 170), y1 >= 49, x2 <= 233, y2 <= 78, w(15, 171),
                 h >= 45, ux(-87, 70), uy >= 21});
  c.Require(c.Mcn(s0, kMcn), {dev <= -12, ox >= 138, oy >= 97});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(124, 134), cy(125, 134), x1(82, 207), y1(50, 220), y2 >= 50, w >= 45, h >= 253,
                 ux(-18, 1), uy(-1, 15)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(100, 206), cy(152, 240), w(6, 195), h(15, 168)});
  // S2's box inside S1's.
  c.Need(s2.cx - HalfDown(s2.w) >= s1.cx - HalfDown(s1.w) &&
         s1.cx + HalfDown(s1.w) >= s2.cx + HalfDown(s2.w) &&
         s2.cy - HalfDown(s2.h) >= s1.cy - HalfDown(s1.h) &&
         s1.cy + HalfDown(s1.h) >= s2.cy + HalfDown(s2.h));
}
