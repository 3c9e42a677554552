// The plain katakana rows of the vowels and the KA and SA columns ("_A" to
// "SOa"): windows over up to three strokes, their chord measures with 128
// added to the deviation, up to three feature points, the candidate's
// corners (with the hole centres as further points where a row says so) and
// sums of two or more of these. Where a sum names S0.dev, S0.ox or S0.oy it
// means the output of that stroke's chord measure in the row.
#include "ocrlib/checks/kana_checks.h"

using namespace checkrow;

namespace {

constexpr McnMode kMcn = kMcnDev128;  // MCN(S, 1)
constexpr McnMode kMcn0 = kMcnRaw;    // MCN(S, 0)

}  // namespace

void CheckKanaA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(128, 135), cy >= 128, x1 <= 79, y1 >= 168, x2(11, 172), y2 <= 238, w >= 102,
                 dX(44, 136), dY >= 128});
  const McnView m0 = c.Mcn(s0, kMcn);
  c.Require(m0, {dev <= 28, ox >= 0, oy >= -8});
  const StrokeView s1 = c.OptS(1);
  if (s1.present()) {
    c.Require(s1, {cx(55, 175), cy >= 64, x1(-36, 42), y1(-11, 8), x2 <= 41, y2(3, 116), w <= 43,
                   h >= -116, dX >= 109, dY(66, 127)});
    c.Require(c.Mcn(s1, kMcn), {dev <= 175, ox(-36, 42), oy(-11, 8)});
    c.Require(c.F(0), {x(77, 196), y(76, 230)});  // read whenever S1 is there
  }
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 45, y >= 141});
  c.Require(k.c2, {x >= 206, y >= 204});
  c.Require(k.c4, {x <= 188, y <= 0});
  c.Need(s0.cx + s0.y1 <= 389);
  c.Need(Within(s0.y1 + s0.x2, 244, 417));
  c.Need(k.c3.x - k.c1.y >= -247);
  c.Need(k.c4.x + k.c2.y >= 236);
  c.Need(k.c2.x + k.c3.x >= 242);
  c.Need(Within(k.c2.y + k.c3.x, 238, 469));
  c.Need(k.c2.y - k.c2.x <= 46);
  // S0.dev, S0.ox, S0.oy of the sums: the outputs of MCN(S0, 1) above.
  c.Need(m0.oy + s0.y1 >= 218);
  c.Need(s0.x2 - s0.cy <= 36);
  c.Need(s0.h + s0.y2 >= 220);
  c.Need(m0.ox - s0.w <= 4);
  c.Need(m0.oy - s0.x2 >= -97);
  // The last piece must run upward; without S1 it must also bend left.
  const int32_t bend = LastPieceLeftBend(c, s0);
  c.AcceptWhen(s1.present());
  c.Need(bend <= -10);
}

void CheckKanaAb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(128, 137), cy >= 162, x1 <= 77, y1 >= 151, x2(77, 184), y2 >= 66, w >= 111,
                 h <= 190, dX(40, 116), dY(139, 216)});
  c.Require(c.Mcn(s0, kMcn), {dev <= 44, ox >= 17, oy >= 22});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(55, 165), cy(64, 119), y1(-21, 5), x2 <= 55, y2(60, 116), w <= -102, dX >= 105,
                 dY(66, 98)});
  c.Require(c.Mcn(s1, kMcn), {dev >= 114, oy(-21, 5)});
  c.Require(c.F(0), {x(77, 184), y >= 66});
}

void CheckKanaAc(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(121, 155), cy >= 97, x1 <= 73, y1 >= 166, x2(123, 217), y2 <= 211, w >= 119,
                 h(45, 217), dX(20, 141), dY(128, 231)});
  c.Require(c.Mcn(s0, kMcn), {dev <= 86, ox >= 0, oy >= 43});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(62, 155), cy >= 59, x1(-12, 34), y1(-16, 12), x2 <= 57, y2(59, 113), w <= -70,
                 h >= -97, dX >= 108, dY(67, 105)});
  c.Require(c.Mcn(s1, kMcn), {dev(103, 166), ox(-12, 34), oy(-16, 12)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {y >= 166});
  c.Require(k.c2, {y >= 206});
  c.Require(k.c4, {x <= 166, y <= 0});
}

void CheckKanaAe(CheckContext& c) {
  c.Require(c.S(0), {x2 >= 40, w <= 113, dX <= 175});
  c.Require(c.S(2), {cx <= 143});
}

void CheckKanaI(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 101, x1 >= -22});
  c.Require(c.Mcn(s0, kMcn0), {ox >= -22});
  c.Require(c.S(1),
            {cx <= 224, cy <= 124, y1 >= -4, x2 <= 48, y2 >= 43, w <= -47, ux >= -23, uy <= -18});
}

void CheckKanaIa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy <= 223, y1(-29, 20), y2 >= 37, h >= 40, dX >= 67, dY <= 108});
  c.Require(c.Mcn(s0, kMcn), {dev(75, 171), ox <= 31, oy(-29, 20)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 84, cy <= 163, x1(-9, 12), y1(-6, 7), x2 <= 88, y2(15, 117), dX >= 83,
                 dY(70, 121)});
  c.Require(c.Mcn(s1, kMcn), {dev(119, 141), ox(-9, 12), oy(-6, 7)});
  c.Require(c.F(0), {x(109, 207), y <= 235});
  const Corners k = c.CandidateCorners();
  c.Require(k.c2, {y >= 255});
  c.Require(k.c3, {x >= 54, y <= 43});
  c.Need(s0.w + s1.cy <= 253);
}

void CheckKanaIb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 118, cy <= 205, x1(-10, 20), y1 <= 16, x2(30, 106), y2 >= 51, w <= 111,
                 h >= 101, dX(76, 117), dY <= 106});
  c.Require(c.Mcn(s0, kMcn), {dev(110, 158), ox(-10, 20), oy <= 16});
  const StrokeView s1 = c.S(1);
  c.Require(s1,
            {cy <= 110, x1(94, 186), y1 <= 213, x2 >= 89, w <= 60, h <= 213, dX <= 145, dY <= 234});
  c.Require(c.Mcn(s1, kMcn), {dev >= 71, ox <= 56, oy(-2, 24)});
  c.Require(c.F(0), {x(94, 186), y <= 213});
  const Corners k = c.CandidateCorners();
  c.Require(k.c2, {x >= 187, y >= 255});
  c.Require(k.c3, {x >= 64, y <= 49});
}

void CheckKanaU(CheckContext& c) {
  const StrokeView s0 = c.OptS(0);
  HoleList holes;  // a one-stroke "_U" closes its top into a loop
  if (!s0.present()) {
    holes = c.Holes(kMaxListedHoles);
    c.Need(CountHoles(holes, UpperLeftHole) > 0);
  }
  McnView m0;
  if (s0.present()) {
    c.Require(s0, {cx(6, 165), cy >= 131, x1(-39, 15), y1 >= -7, x2 <= 64, y2 <= 72, w >= -118,
                   h >= -119, dX >= 84, dY(98, 128)});
    m0 = c.Mcn(s0, kMcn);
    c.Require(m0, {dev <= 140, ox(-39, 15), oy >= -7});
  }
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(128, 175), cy(72, 134), x1(10, 148), y1 >= 21, x2(41, 209), y2 <= 17,
                 w(82, 245), h >= 144, dX(54, 146), dY >= 138});
  c.Require(c.Mcn(s1, kMcn), {dev <= 51, ox >= 40, oy >= -27});
  c.RequireIfPresent(c.OptF(0), {x(56, 167), y(131, 240)});
  const Corners k = c.CandidateCorners(holes);
  c.Require(k.c1, {x <= 174, y >= 148});
  c.Require(k.c2, {x >= 46, y >= 132});
  c.Require(k.c3, {y <= 113});
  c.Require(k.c4, {x <= 204, y <= 159});
  c.Need(k.c3.x - k.c2.y >= -237);
  c.Need(k.c4.x - k.c1.x <= 170);
  c.AcceptWhen(!s0.present());
  c.Need(Within(s1.h - s0.w, 113, 360));
  // S0.dev, S0.ox, S0.oy of the sums: the outputs of MCN(S0, 1) above.
  c.Need(Within(s1.x1 + m0.dev, 132, 249));
  c.Need(s1.cx - s0.x2 >= 87);
  c.Need(s1.h - s0.y2 <= 238);
  c.Need(s0.x2 + s0.cy <= 291);
  c.Need(s1.y1 - s0.w <= 338);
  c.Need(Within(s1.y1 - s0.h, 65, 328));
  c.Need(s1.y1 + s0.cy <= 467);
  c.Need(s1.w - s0.w >= 35);
  c.Need(s0.x2 + s0.cx <= 175);
  c.Need(Within(s1.x1 - s0.w, -35, 182));
  c.Need(Within(s0.cy + s0.h, 90, 319));
  c.Need(s1.x2 + s0.cx >= 110);
  c.Need(s1.x2 - s0.w >= 11);
  c.Need(s1.x1 - s0.cx <= 64);
  c.Need(s0.h + s1.w >= 36);
  c.Need(s1.h - s0.y1 <= 256);
  c.Need(Within(s0.y2 - s0.cx, -137, 28));
  c.Need(s0.h + s0.w >= -152);
  c.Need(s1.x1 - s0.y2 <= 92);
  c.Need(s1.w - s0.cy >= -153);
}

void CheckKanaUa(CheckContext& c) {
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(17, 162), cy(154, 247), x1(-14, 13), y1(-3, 6), x2 <= 25, y2(14, 90), w <= -19,
                 h(-65, 95), dX(109, 130), dY(84, 121)});
  const McnView m1 = c.Mcn(s1, kMcn);
  c.Require(m1, {dev(113, 142), ox(-14, 13), oy(-3, 6)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(128, 144), cy(75, 133), x1 <= 89, y1(64, 229), x2(55, 190), y2 <= 0, w >= 87,
                 h >= 151, dX(47, 134), dY(160, 242)});
  const McnView m2 = c.Mcn(s2, kMcn);
  c.Require(m2, {dev <= 40, ox >= 77, oy >= -9});
  const PointView f1 = c.F(0);
  c.Require(f1, {x <= 156, y(151, 229)});
  if (!c.OptS(0).present()) {
    // Without its first stroke the top of the character closes into a loop,
    // or the two strokes stand apart as a "U" does.
    const HoleList holes = c.Holes(kMaxListedHoles);
    const HoleList::Hole* largest = LargestHole(holes);
    if (largest != nullptr && largest->points > 6) {
      c.RejectIf(largest->frameY < 256 && f1.x < 120);
    } else {
      c.Need(s1.cx - s2.x1 >= 19 && s1.h >= 0);
      c.RejectIf(s2.w < 120 && f1.x < 100);
      c.RejectIf(s2.y1 >= 186 && s2.x1 < 55);
    }
  }
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {y >= 161});
  c.Require(k.c2, {x >= 77});
  c.Require(k.c4, {y <= 142});
  // S1.dev, S2.dev, S2.oy of the sums: the outputs of their MCN(S, 1).
  c.Need(f1.y - s2.w <= 112);
  c.Need(f1.y + m1.dev <= 361);
  c.Need(s1.x2 + s2.y1 <= 251);
  c.Need(m2.oy - s2.y1 >= -223);
  c.Need(s2.y1 - s2.cy <= 112);
  c.Need(s2.x2 - s1.y2 >= 7);
  c.Need(s2.h - s2.x1 <= 238);
  c.Need(s1.w + m2.dev <= -5);
  c.Need(s2.y1 - s1.y2 <= 204);
  c.Need(s2.y1 - m1.dev <= 118);
  c.Need(k.c3.x - k.c1.x >= -89);
}

void CheckKanaUb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(11, 158), cy >= 105, x1 <= 14, y1(-6, 10), x2 <= 48, y2 <= 61, w(-121, 84),
                 h(-88, 42), dX(104, 128), dY(98, 128)});
  c.Require(c.Mcn(s0, kMcn), {dev(111, 139), ox(-9, 14), oy(-6, 10)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(21, 161), cy(104, 248), x1(-20, 16), y1(-10, 18), x2 <= 50, y2(3, 77), w <= 90,
                 h(-107, 83), dX >= 105, dY(90, 128)});
  c.Require(c.Mcn(s1, kMcn), {dev(106, 151), ox(-20, 20), oy(-10, 18)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(128, 180), cy(66, 133), x1(18, 138), y1 >= 88, x2(40, 233), y2 <= 11,
                 w(53, 238), h >= 131, dX(39, 153), dY >= 172});
  c.Require(c.Mcn(s2, kMcn), {dev <= 84, ox >= 45, oy >= -20});
  c.RequireIfPresent(c.OptF(0), {x <= 168, y <= 233});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 174, y >= 148});
  c.Require(k.c2, {x >= 46, y >= 132});
  c.Require(k.c3, {y <= 113});
  c.Require(k.c4, {x <= 204, y <= 159});
  c.Need(s2.y1 - s1.cx <= 164);
}

void CheckKanaE(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(57, 194), x1(-46, 10), y1(-25, 38), x2 >= 41, y2 <= 75, w >= -86, h >= -111,
                 dX(62, 108), dY(89, 130)});
  c.Require(c.Mcn(s0, kMcn), {dev(68, 155), ox(-46, 10), oy(-25, 38)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(73, 174), x1(-9, 7), y1 >= -23, x2 >= 50, y2 <= 62, w >= 91, h >= -115,
                 dX <= 103, dY >= 92});
  c.Require(c.Mcn(s1, kMcn), {dev <= 152, ox(-9, 7), oy >= -23});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(53, 171), cy(85, 194), x1 <= 29, y1(-6, 10), x2 <= 70, y2 >= 20, w <= 126,
                 h >= -113, dX(92, 130), dY(62, 123)});
  c.Require(c.Mcn(s2, kMcn), {dev(102, 158), ox(-24, 29), oy(-6, 10)});
  c.Require(c.F(0), {x <= 180});
  c.RequireIfPresent(c.OptF(1), {x(28, 168)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c3, {x >= 194, y <= 132});
  c.Require(k.c4, {x <= 82, y <= 81});
  c.Need(s2.y2 - s2.cx >= -89);
  c.Need(s0.x2 - s2.x2 + s0.cx - s2.cx >= 30);
}

void CheckKanaEc(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(83, 179), x1(-2, 3), y1 >= -13, x2 >= 61, y2 <= 45, w >= 91, h >= -81, dX <= 98,
                 dY >= 104});
  c.Require(c.Mcn(s0, kMcn), {dev <= 143, ox(-2, 3), oy >= -14});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(66, 179), cy(77, 185), x1 >= -14, y1(-3, 2), x2 <= 27, y2(23, 108), w <= -40,
                 h(-58, 101), dX >= 115, dY(74, 117)});
  c.Require(c.Mcn(s1, kMcn), {dev <= 145, ox >= -14, oy(-5, 2)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(82, 166), x1(-5, 9), y1(-12, 17), x2 >= 55, y2 <= 55, w >= 62, h >= -122,
                 dX <= 99, dY >= 95});
  c.Require(c.Mcn(s2, kMcn), {dev(111, 144), ox(-5, 9), oy(-12, 17)});
  c.Require(c.F(0), {x(50, 166)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c3, {x >= 209});
  c.Require(k.c4, {x <= 82, y <= 66});
}

void CheckKanaO(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy <= 208, x1(-23, 58), y1(-23, 28), x2 <= 108, y2 >= 14, h >= -113, dX(75, 138),
                 dY(63, 124)});
  c.Require(c.Mcn(s0, kMcn), {dev(61, 173), ox(-23, 65), oy(-23, 6)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(128, 184), cy >= 90, x1(-36, 7), y1(-19, 35), x2 >= 40, w >= -2, h >= -95,
                 dX(54, 108), dY >= 64});
  c.Require(c.Mcn(s1, kMcn), {dev(81, 151), ox(-36, 7), oy(-21, 37)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx <= 168, cy(43, 194), x1(-17, 23), x2(3, 98), y2 <= 118, h >= 13, dX(73, 129),
                 dY(65, 129)});
  c.Require(c.Mcn(s2, kMcn), {dev(95, 163), ox(-17, 24)});
  c.RequireIfPresent(c.OptF(0), {x >= 121});
  c.Require(c.F(1), {x(106, 215), y >= 139});
  c.Require(c.F(2), {x(92, 215), y(80, 236)});
}

void CheckKanaKA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(33, 186), cy(89, 232), x1(-26, 41), y1(-27, 11), w <= 59, h >= -7, dX(70, 129),
                 dY(53, 128)});
  c.Require(c.Mcn(s0, kMcn), {dev(100, 177), ox(-26, 41), oy(-27, 11)});
  const StrokeView s1 = c.S(1);
  c.Require(
      s1, {cx >= 102, cy <= 203, x2(59, 238), y2 <= 198, w >= 88, h >= 85, dX(11, 151), dY >= 80});
  const PointView f1 = c.OptF(0);
  c.RequireIfPresent(f1, {x(59, 160), y(27, 198)});
  c.Require(c.F(1), {x(41, 233), y >= 128});
  const Corners k = c.CandidateCorners();
  c.Require(k.c2, {x >= 89});
  c.Require(k.c3, {y <= 131});
  c.Need(s0.x2 - s0.cy >= -195);
  c.Need(s0.h + s1.h >= 140);
  c.Need(Within(s1.y1 - s0.y2, -29, 204));
  c.Need(k.c4.x + k.c2.x <= 393);
  c.Need(Within(s1.h - s1.w, -143, 128));
  c.Need(s1.cy - s0.h <= 152);
  c.Need(s1.x2 + s0.h >= 116);
  c.Need(s1.h - s0.x1 <= 262);
  c.Need(s1.h - s0.x2 <= 244);
  if (f1.present) c.Need(f1.x - s0.h <= 76);
}

void CheckKanaKAa(CheckContext& c) {
  c.Require(c.S(0), {cx >= 81, x1 >= 97, y1 >= 225, y2 <= 54, h >= 173, uy >= 86});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {y1 >= 107, y2 <= 55, uy >= 33});
  c.Require(c.Mcn(s1, kMcn0), {ox >= 37});
  c.RequireIfPresent(c.OptF(0), {x >= 106});
}

void CheckKanaKI(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 198, cy <= 134, x1(-23, 32), y1 >= -9, x2 <= 84, y2 >= 89, w <= -89, h <= 71,
                 dX(82, 130), dY(61, 84)});
  c.Require(c.Mcn(s0, kMcn), {dev(94, 154), ox(-23, 32), oy >= -9});
  const StrokeView s1 = c.S(1);
  c.Require(s1,
            {cx(70, 165), cy >= 109, x1(-9, 7), x2 >= 19, y2 <= 70, w >= 28, dX <= 119, dY >= 97});
  c.Require(c.Mcn(s1, kMcn), {ox(-9, 7)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(106, 165), cy(53, 240), x1(-10, 11), y1 >= -21, x2 >= 21, y2 <= 73, w >= 29,
                 h >= -61, dX(63, 118), dY >= 87});
  c.Require(c.Mcn(s2, kMcn), {dev <= 151, ox(-10, 11), oy >= -21});
  c.Require(c.F(0), {x <= 182});
  c.Require(c.F(1), {x(72, 213), y(64, 233)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 175, y >= 109});
  c.Need(s1.y2 - s1.cy <= -90);
  c.Need(Within(s2.w - s1.w, -109, 152));
  c.Need(s1.y1 + s0.x2 >= -8);
}

void CheckKanaKU(CheckContext& c) {
  const HoleList holes = HolesRejecting(c, UpperLeftHole);
  const StrokeView s0 = c.OptS(0);
  if (s0.present()) {
    c.Require(s0, {cx(43, 135), cy(171, 244), x1(-16, 16), y1(-12, 19), x2(4, 62), y2(15, 85),
                   w <= 61, h >= 17, dX(94, 128), dY(85, 121)});
    c.Require(c.Mcn(s0, kMcn), {dev(107, 149), ox(-16, 17), oy(-13, 19)});
  }
  const StrokeView s1 = c.S(1);
  c.RejectIf(s1.code == 41 || s1.code == 22);
  c.Require(s1, {cx(128, 180), cy(95, 134), x1 <= 180, y1 >= 60, x2(4, 225), y2 <= 11, w >= 45,
                 h >= 183, dX(19, 184), dY >= 158});
  c.Require(c.Mcn(s1, kMcn), {dev <= 98, ox >= 29, oy >= -56});
  c.RequireIfPresent(c.OptF(0), {x(62, 160), y(178, 248)});
  const Corners k = c.CandidateCorners(holes);
  c.Require(k.c1, {x <= 201, y >= 123});
  c.Require(k.c2, {x >= 70, y >= 170});
  c.Require(k.c3, {y <= 163});
  c.Require(k.c4, {x <= 191, y <= 155});
  c.Need(Within(s1.y1 - s1.x1, 45, 214));
  c.Need(Within(s1.w + s1.y1, 236, 457));
  c.Need(k.c2.y + k.c3.x <= 479);
  c.Need(k.c4.x - k.c1.x <= 156);
  c.Need(k.c3.x + k.c1.y <= 471);
  c.Need(k.c4.x - k.c1.y <= -18);
  c.Need(s1.x1 + s1.x2 >= 30);
  c.Need(Within(s1.x2 - s1.y1, -221, 92));
  c.Need(s1.cy + s1.y1 <= 389);
  c.Need(Within(s1.w + s1.cy, 166, 389));
  if (s0.present()) {
    c.Need(s1.x1 - s0.h <= 120);
    c.Need(Within(s1.y1 - s0.w, 175, 368));
    c.Need(s0.w + s1.y1 >= 98);
  }
  if (!s0.present() && s1.code == 32) {
    // A one-stroke "KU" must start its first piece flat or steep, not as a
    // slanting stroke of a "RE".
    int32_t dx = 0, dy = 0;
    FirstStep(c, s1, &dx, &dy);
    c.RejectIf((dx >= 15) != (dy >= 15));
    c.RejectIf(10 * dx - 18 * dy > 0);
  }
  c.RejectIf(k.c4.x > k.c1.x && k.c1.x < 35 && k.c1.y > 226);
  c.RejectIf(k.c3.x > 206 && k.c3.y < 50);
  c.AcceptWhen(s0.present());
  c.RejectIf(s1.code == 23);
  const PieceList pieces = c.Pieces(s1);
  c.Need(pieces.count > 0);
  if (c.decided()) return;
  const PieceView& last = pieces[pieces.count - 1];
  const int32_t bend = PieceDeviation(c.args(), last, false);
  c.RejectIf(bend < -20 || bend > 64);
  c.AcceptWhen(bend <= 45);
  const PointView corner = c.XP(s1, kDirXMinusY, 1);
  c.Need(corner.present);
  c.Need(Ang(corner, last.last) <= 75);
}

void CheckKanaKE(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(13, 168), cy(59, 240), x1 <= 28, y1(-12, 10), x2 <= 67, y2(16, 112), w <= -11,
                 h >= -43, dX >= 93, dY(67, 120)});
  c.Require(c.Mcn(s0, kMcn), {dev <= 158, ox <= 28, oy(-11, 11)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(87, 182), cy >= 97, x1(-41, 7), y1(-57, 65), x2 >= 7, y2 <= 97, dX(46, 123),
                 dY >= 80});
  c.Require(c.Mcn(s1, kMcn), {dev(54, 190), ox(-41, 7), oy(-57, 65)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx <= 187, cy(71, 239), x1(-30, 47), y1(-22, 40), x2 <= 108, y2(7, 124), h >= -57,
                 dX >= 67, dY(62, 128)});
  c.Require(c.Mcn(s2, kMcn), {dev(78, 180), ox(-30, 47), oy(-23, 47)});
  c.RequireIfPresent(c.OptF(0), {x(10, 113), y(131, 238)});
  const PointView f2 = c.F(1);
  c.Require(f2, {x(14, 221), y(139, 249)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 151, y >= 197});
  c.Require(k.c2, {x >= 77});
  c.Need(Within(s0.cy + s0.cx, 164, 325));
  c.Need(k.c2.y - k.c1.y <= 40);
  c.Need(f2.x + s0.cx <= 275);
}

void CheckKanaKEa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy >= 139, h >= -91});
  c.Require(c.Mcn(s0, kMcn0), {dev >= -16, oy <= 6});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 130, x1 <= 9, uy >= -32});
  c.Require(c.Mcn(s1, kMcn0), {ox <= 9});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cy <= 122, y1 <= 244, y2 <= 9, h <= 244, uy <= 121});
  c.Require(c.Mcn(s2, kMcn0), {dev >= -73, ox <= 71});
  c.RequireIfPresent(c.OptF(0), {y <= 244});
  c.RequireIfPresent(c.OptF(1), {y <= 244});
}

void CheckKanaKO(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 137, cy <= 137, x1 <= 118, y1 >= 149, x2 <= 119, y2 <= 80, w >= 115,
                 h >= 139, dX(71, 177), dY >= 176});
  c.Require(c.Mcn(s0, kMcn), {dev <= 23, ox >= 103, oy >= -88});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 115, y >= 149});
  c.Require(k.c3, {x >= 128, y <= 106});
  c.Require(k.c4, {x <= 118, y <= 57});
  c.Need(k.c4.x - k.c3.x <= -66);
  c.Need(k.c3.y - k.c3.x <= -88);
  c.Need(k.c3.x - k.c1.y >= -105);
  c.Need(k.c4.x + k.c1.x <= 119);
  c.Need(k.c1.y + k.c3.x >= 344);
  c.Need(k.c3.y + k.c4.x <= 171);
  c.Need(s0.y1 + s0.x2 <= 357);
  c.Need(s0.w - s0.x2 >= 43);
  c.Need(k.c4.x + k.c4.y + k.c3.y - k.c3.x <= -83);
}

void CheckKanaKOa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(79, 170), cy(122, 192), x1 <= 223, y1 >= 159, y2 <= 128, w >= 104, h >= 120,
                 dX(5, 239), dY >= 165});
  const McnView m0 = c.Mcn(s0, kMcn);
  c.Require(m0, {dev <= 41, ox >= 37});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(55, 179), x1(-3, 4), y1(-13, 19), x2 >= 16, y2 <= 50, w >= 33, h >= -71,
                 dX(64, 120), dY(102, 130)});
  c.Require(c.Mcn(s1, kMcn), {dev(109, 143), ox(-3, 4), oy(-13, 19)});
  const PointView f1 = c.OptF(0);
  c.RequireIfPresent(f1, {x >= 115, y <= 100});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 122, y >= 170});
  c.Require(k.c2, {x >= 123, y >= 197});
  c.Require(k.c3, {x >= 159, y <= 102});
  c.Require(k.c4, {x <= 96, y <= 54});
  // S0.dev, S0.ox, S0.oy of the sums: the outputs of MCN(S0, 1) above.
  c.Need(s0.x2 + s0.x1 >= 140);
  c.Need(Within(s1.x2 - s0.y1, -213, -62));
  c.Need(s0.x1 + s0.cx >= 96);
  c.Need(s1.y1 + s0.w >= 110);
  c.Need(s1.x2 + s1.y1 <= 139);
  c.Need(k.c2.x - k.c1.x >= 97);
  c.Need(s1.w - s0.h <= 112);
  c.Need(s1.y1 + s0.cx >= 86);
  c.Need(s1.h - s1.x2 >= -171);
  c.Need(m0.ox + s1.x2 <= 267);
  c.Need(s1.h - s0.w <= -18);
  c.Need(s0.y1 - s0.cx <= 152);
  c.Need(s1.y1 - m0.dev >= -39);
  c.Need(s1.y2 - m0.dev >= -37);
  c.Need(s1.h + s0.y1 >= 170);
  if (f1.present) {
    c.Need(Within(s0.h + f1.y, 206, 323));
    c.Need(f1.y - m0.oy <= 6);
    c.Need(f1.x - s0.cy >= -13);
    c.Need(f1.x - s0.y1 >= -111);
    c.Need(s1.y1 + f1.x >= 122);
    c.Need(s1.w + f1.y <= 321);
    c.Need(f1.y + s0.w >= 136);
    c.Need(f1.x + s0.h >= 280);
  }
  c.Need(s1.cx - s0.x2 + s1.x2 <= 70);
}

void CheckKanaSA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 81, cy(94, 164), x1 >= -33, y1(-23, 16), x2 <= 78, y2 >= 67, w <= -108,
                 h >= -61, dX >= 89, dY(48, 95)});
  c.Require(c.Mcn(s0, kMcn), {dev <= 194, ox >= -39, oy(-24, 16)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(46, 178), cy >= 100, x1(-18, 16), y1(-2, 6), x2 <= 34, y2 <= 123, w <= 66,
                 h(-97, 80), dX >= 109, dY >= 67});
  c.Require(c.Mcn(s1, kMcn), {dev(109, 146), ox(-18, 16), oy(-2, 6)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(102, 166), cy >= 124, x1 >= -12, y1(-33, 25), x2 >= 49, h >= -57, dX >= 61,
                 dY(87, 131)});
  c.Require(c.Mcn(s2, kMcn), {dev(101, 172), ox >= -12, oy(-33, 25)});
  c.Require(c.F(0), {x >= 81, y >= 141});
  c.Require(c.F(1), {x(34, 178), y >= 116});
}

// "SI" and "SIa" without their third stroke: the two lower strokes of a
// "SI" drawn in one closing movement leave a loop.
void RequireLoopWithoutThirdStroke(CheckContext& c, HoleList* holes) {
  if (c.OptS(2).present()) return;
  *holes = c.Holes(kMaxListedHoles);
  c.Need(CountHoles(*holes, LoopHole) > 0);
}

void CheckKanaSI(CheckContext& c) {
  HoleList holes;
  RequireLoopWithoutThirdStroke(c, &holes);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 22, cy >= 165, x1(-4, 14), y1(-13, 19), x2(8, 101), y2 <= 49, w >= -76,
                 h(-115, 93), dX(78, 124), dY(104, 129)});
  c.Require(c.Mcn(s0, kMcn), {dev(106, 142), ox(-6, 14), oy(-13, 19)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cy(27, 133), x1 >= 201, y1 >= 55, y2 <= 108, h >= 55, dX >= 195, dY >= 118});
  const McnView m1 = c.Mcn(s1, kMcn);
  c.Require(m1, {dev(13, 106), ox(-17, 79), oy(-109, -22)});
  const StrokeView s2 = c.OptS(2);
  if (s2.present()) c.Require(s2, {x2 <= 80});
  const Corners k = c.CandidateCorners(holes);
  c.Require(k.c1, {y >= 156});
  c.Require(k.c2, {x >= 24});
  c.Require(k.c3, {x >= 36});
  c.Require(k.c4, {y <= 88});
  // S1.dev, S1.ox, S1.oy of the sums: the outputs of MCN(S1, 1) above.
  c.Need(Within(m1.dev - s0.w, -115, 132));
  c.Need(Within(s0.h + m1.dev, -80, 167));
  c.Need(s1.y1 - s0.w <= 268);
  c.Need(k.c1.y + k.c3.x >= 266);
  c.Need(k.c4.x + k.c3.x >= 56);
  c.Need(k.c2.x + k.c3.x >= 188);
  c.Need(s1.cy - s0.h <= 216);
  c.Need(m1.ox - s0.cx <= 26);
  c.Need(Within(s1.h - s0.x2, -1, 242));
  c.Need(m1.ox - s1.cx <= -56);
  c.Need(s1.x1 - s0.y1 <= 264);
  c.Need(s0.h + s1.x2 >= -98);
  c.Need(Within(m1.oy - s0.x2, -179, -46));
  c.Need(s1.y1 - s0.x1 <= 256);
  c.Need(s1.x2 + s0.cx >= 26);
  c.Need(Within(m1.oy - s0.cx, -231, -56));
  c.Need(s0.y2 + s1.cy <= 159);
  c.Need(s0.w + s1.y1 <= 379);
  c.Need(s1.h - s1.y1 >= -49);
  c.Need(m1.ox + s1.x1 <= 327);
}

void CheckKanaSIa(CheckContext& c) {
  HoleList holes;
  RequireLoopWithoutThirdStroke(c, &holes);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(17, 159), cy >= 153, x1(-5, 16), y1(-14, 17), x2 <= 91, y2 <= 84, h(-117, 96),
                 dX(83, 128), dY(86, 129)});
  c.Require(c.Mcn(s0, kMcn), {dev(110, 144), ox(-5, 16), oy(-14, 17)});
  const StrokeView s1 = c.S(1);
  c.RejectIf(s1.code == 13);
  c.Require(s1, {cx(128, 194), cy(8, 133), x1(-26, 41), y1(-58, 22), x2 >= 45, y2 >= 14, h >= 47,
                 dX(63, 108), dY(35, 125)});
  c.Require(c.Mcn(s1, kMcn), {dev(92, 213), ox(-29, 41), oy(-58, 22)});
  const StrokeView s2 = c.OptS(2);
  if (s2.present()) {
    c.Require(s2, {cx <= 134, cy(97, 232), x1(-5, 14), y1(-7, 23), x2(4, 80), y2 <= 57, w >= -87,
                   h(-116, 123), dY >= 89});
    c.Require(c.Mcn(s2, kMcn), {dev(105, 136), ox(-5, 14), oy(-7, 23)});
  }
  c.Need(s0.w + s1.w >= -132);
  c.Need(s0.cx + s1.y2 <= 239);
  c.Need(s1.cx + s1.w >= 20);
  if (s2.present()) {
    c.Need(Within(s1.cy + s2.y2, 14, 155));
    c.Need(s2.cy + s1.y2 <= 329);
    c.Need(s2.h - s2.w <= 64);
    c.Need(s2.cx - s0.w >= -83);
    c.Need(Within(s2.h - s1.y2, -195, 48));
  }
}

void CheckKanaSU(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(54, 135), cy(128, 173), x1 <= 124, y1 >= 95, x2 <= 105, y2 <= 85, w >= 78,
                 h >= 138, dX(76, 168), dY >= 175});
  c.Require(c.Mcn(s0, kMcn), {dev <= 58, ox >= 66, oy <= 112});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(140, 223), cy(26, 132), x1(-21, 19), y1(-22, 18), x2(22, 95), y2(12, 93),
                 h <= -36, dX(79, 118), dY(77, 122)});
  c.Require(c.Mcn(s1, kMcn), {dev(103, 159), ox(-21, 19), oy(-22, 18)});
  c.RequireIfPresent(c.OptF(0), {x(56, 195), y(53, 186)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 122});
  c.Require(k.c2, {x >= 67, y >= 189});
  c.Require(k.c3, {x >= 184, y <= 112});
  c.Require(k.c4, {x <= 104});
  c.Need(s0.x1 + s1.h <= 27);
  c.Need(k.c3.x + k.c1.x >= 216);
  c.Need(s1.cx + s1.h <= 139);
}

void CheckKanaSUa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 138, cy >= 214, y1 <= 0, x2 >= 82, ux <= -40});
  c.Require(c.Mcn(s0, kMcn0), {dev >= 0, oy <= 0});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 80, cy <= 137, x1 <= 17, y1 >= -12, y2(99, 119), uy >= -63});
  c.Require(c.Mcn(s1, kMcn0), {dev <= 21, ox <= 17, oy >= -12});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 162, cy <= 96, x1 <= 3, x2(50, 74), y2(21, 80), w(-95, 106), h <= -74,
                 ux <= -24, uy(-39, -10)});
  c.Require(c.Mcn(s2, kMcn0), {dev >= -6, ox <= 3});
  c.RequireIfPresent(c.OptF(0), {x >= 154, y <= 251});
  c.RequireIfPresent(c.OptF(1), {x <= 158, y <= 169});
}

void CheckKanaSE(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 110, cy <= 136, x1 >= 123, w >= 40, ux >= -22});
  c.Require(c.Mcn(s0, kMcn0), {dev <= -26, oy <= 6});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cy >= 117, x2 <= 237, y2 >= 47, h(28, 187), ux >= -118, uy <= 73});
  c.Require(c.Mcn(s1, kMcn0), {dev <= -21, oy >= 20});
  c.RequireIfPresent(c.OptF(0), {x <= 142});
}

void CheckKanaSEa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(
      s0, {cx(110, 189), cy >= 97, x1 <= -23, y1 <= -5, x2 >= 30, h <= -110, ux <= -26, uy <= -54});
  c.Require(c.Mcn(s0, kMcn0), {dev >= 30, ox <= -27, oy <= -6});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x1 <= 37, y1 >= 133, w >= 157, ux <= -40, uy >= 0});
  c.Require(c.Mcn(s1, kMcn0), {ox >= 0});
  c.RequireIfPresent(c.OptF(0), {x <= 105, y >= 166});
}

// "SO" and "SOa": drawn in one stroke, the tick and the sweep close one
// loop; with the tick apart there is none. "Exactly one hole" counts the
// holes of that kind only.
HoleList CheckLoopOfSo(CheckContext& c) {
  const HoleList holes = c.Holes(kMaxListedHoles);
  const int loops = CountHoles(holes, LoopHole);
  if (c.OptS(1).present()) {
    c.RejectIf(loops > 0);
  } else {
    c.Need(loops == 1);
  }
  return holes;
}

void CheckKanaSO(CheckContext& c) {
  const HoleList holes = CheckLoopOfSo(c);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(128, 225), cy(110, 134), x1(83, 247), y1 >= 214, x2(13, 195), y2 <= 41,
                 w(55, 239), h >= 173, dX(96, 225), dY >= 214});
  const McnView m0 = c.Mcn(s0, kMcn);
  c.Require(m0, {dev <= 103, ox >= 25, oy(-51, 29)});
  const StrokeView s1 = c.OptS(1);
  if (s1.present()) {
    c.Require(s1, {cx(21, 106), cy(128, 234), x1(-18, 13), y1(-12, 10), x2 <= 57, y2(3, 88),
                   w <= 101, dX(97, 128), dY(85, 127)});
    c.Require(c.Mcn(s1, kMcn), {dev(113, 152), ox(-18, 13), oy(-12, 10)});
  }
  const Corners k = c.CandidateCorners(holes);
  c.Require(k.c1, {x <= 128, y >= 153});
  c.Require(k.c2, {x >= 166, y >= 188});
  c.Require(k.c4, {x <= 204});
  c.Need(Within(s0.x1 + s0.y1, 330, 499));
  c.Need(Within(s0.cx + s0.w, 216, 373));
  c.Need(Within(s0.y1 + s0.y2, 218, 263));
  c.AcceptWhen(!s1.present());
  c.Need(Within(s1.h - s0.w, -349, -90));
  c.Need(s1.h - s0.cx <= -136);
  c.Need(Within(s1.x2 - s0.cy, -129, -66));
  c.Need(s1.cy - s0.x1 <= 106);
  // S0.dev, S0.ox, S0.oy of the sums: the outputs of MCN(S0, 1) above.
  c.Need(s1.h - m0.oy <= 20);
  c.Need(Within(s1.cy - m0.oy, 133, 260));
  c.Need(Within(s1.cx + s1.h, -94, 81));
  c.Need(Within(s1.y2 - s0.cx, -205, -64));
  c.Need(Within(s1.x1 - s0.cy, -147, -114));
}

void CheckKanaSOa(CheckContext& c) {
  const HoleList holes = CheckLoopOfSo(c);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(128, 227), cy(78, 137), x1(-14, 49), y1(-26, 11), x2(18, 106), y2 >= 78,
                 w <= -10, h >= 73, dX(70, 125), dY(51, 88)});
  c.Require(c.Mcn(s0, kMcn), {dev(112, 184), ox(-14, 49), oy(-26, 11)});
  const StrokeView s1 = c.OptS(1);
  if (s1.present()) {
    c.Require(s1, {cx(20, 119), cy(124, 248), x1(-20, 14), y1(-19, 11), x2(4, 82), y2 <= 83,
                   h <= -6, dX(87, 126), dY(84, 129)});
    c.Require(c.Mcn(s1, kMcn), {dev(106, 156), ox(-20, 14), oy(-19, 19)});
  }
  const Corners k = c.CandidateCorners(holes);
  c.Require(k.c1, {x <= 85, y >= 140});
  c.Require(k.c2, {x >= 255, y >= 155});
  c.Require(k.c3, {x <= 206, y <= 102});
  c.Require(k.c4, {x <= 191});
  c.Need(Within(s0.x2 - s0.y1, 17, 120));
  c.AcceptWhen(!s1.present());
  c.Need(s1.h - s0.x2 <= -50);
  c.Need(s1.cx + s0.w <= 41);
  c.Need(Within(s1.x2 - s0.cx, -175, -80));
  c.Need(s1.h - s0.cx <= -140);
  c.Need(Within(s0.w + s1.cy, -100, 209));
  c.Need(s1.cy + s1.h <= 227);
  c.Need(s1.h - s1.x2 <= -12);
  c.Need(Within(s1.x2 + s1.cy, 160, 293));
  c.Need(s1.x2 - s1.x1 >= 3);
}
