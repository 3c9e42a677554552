// The plain katakana rows of the TA, NA, HA and MA columns ("TA" to "MOa"):
// windows over up to four strokes, chord measures with 128 added to the
// deviation (or raw), feature points, the candidate's corners and sums, the
// holes of four rows and the last-piece bend of "HU".
#include "ocrlib/checks/kana_checks.h"

using namespace checkrow;

namespace {

constexpr McnMode kMcn = kMcnDev128;  // MCN(S, 1)
constexpr McnMode kMcn0 = kMcnRaw;    // MCN(S, 0)

}  // namespace

void CheckKanaTA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(111, 145), cy <= 134, x1 <= 139, y1 <= 244, x2 <= 210, y2 <= 15, h >= 227,
                 w >= 82, dX(32, 167), dY <= 250});
  c.Require(c.Mcn(s0, kMcn), {dev <= 81, ox >= 46, oy >= -57});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(67, 189), cy(83, 209), x1(-22, 18), y1(-32, 21), x2(13, 76), y2 <= 72,
                 w(-120, 119), h <= 14, dX(88, 122), dY(90, 128)});
  c.Require(c.Mcn(s1, kMcn), {dev(105, 168), ox(-22, 18), oy(-32, 21)});
  c.RequireIfPresent(c.OptF(0), {x <= 128});
  c.RequireIfPresent(c.OptF(1), {x >= 112});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {y >= 123});
  c.Require(k.c2, {x >= 145, y >= 179});
  c.Require(k.c3, {y <= 148});
  c.Require(k.c4, {x <= 217, y <= 147});
  c.Need(s1.x2 + s0.y1 <= 283);
  c.Need(s0.y1 - s0.x1 <= 192);
  c.Need(s1.cy - s0.y1 >= -123);
  c.Need(k.c3.x - k.c1.x <= 236);
  c.Need(s1.cx + s0.y1 <= 381);
  c.Need(s1.w + s0.y1 <= 323);
  c.Need(Within(s0.x1 + s1.x2, 40, 161));
  c.Need(Within(s1.h + s1.cy, -44, 179));
  c.Need(Within(s1.y2 + s1.x2, 22, 127));
  c.Need(Within(s1.y1 + s1.cy, 88, 207));
  c.Need(Within(s1.x2 - s0.cy, -119, -52));
  c.Need(s1.w - s0.y1 >= -279);
  c.Need(s0.y1 + s1.h <= 237);
}

void CheckKanaTAa(CheckContext& c) {
  c.Require(c.S(0), {cx <= 135, cy <= 133, y1 >= 64, x2 <= 138, uy >= 32});
  c.RequireIfPresent(c.OptF(0), {y >= 64});
}

void CheckKanaTAb(CheckContext& c) {
  c.Require(c.S(0), {w <= 80});
  c.Require(c.S(1), {x2 <= 56, w <= 116, h <= 48, ux >= -28});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cy <= 133, x1 >= 53, w <= 219, ux <= 84});
  c.Require(c.Mcn(s2, kMcn0), {oy >= -53});
  c.RequireIfPresent(c.OptF(0), {x <= 215, y <= 173});
  c.RequireIfPresent(c.OptF(1), {x >= 53});
}

void CheckKanaTI(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {y1 <= 16, x2 <= 114, ux >= -57});
  c.Require(c.Mcn(s0, kMcn0), {dev >= -17, oy <= 16});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cy <= 197, x1 <= 7, x2 >= 43, h >= -44, ux <= -22});
  c.Require(c.Mcn(s1, kMcn0), {ox <= 8});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cy <= 133, x1 <= 194, x2 >= 29, w <= 133, ux <= 55});
  c.Require(c.Mcn(s2, kMcn0), {dev >= -112, ox <= 104, oy >= -43});
  c.RequireIfPresent(c.OptF(1), {x <= 206});
}

void CheckKanaTIa(CheckContext& c) {
  c.Require(c.S(0), {cx >= 33, x2 <= 92, ux >= -46});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 89, cy <= 126, x1(-14, 38), y1 >= -16, x2 <= 54, y2 <= 125, h >= -32,
                 ux >= -20, uy >= -64});
  c.Require(c.Mcn(s1, kMcn0), {dev <= 39, ox(-16, 38), oy >= -16});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {x1 >= -4, x2 >= 32, w >= 62, h >= -49, ux <= -17});
  c.Require(c.Mcn(s2, kMcn0), {ox >= -4});
  c.RequireIfPresent(c.OptF(0), {x <= 212});
}

void CheckKanaTIb(CheckContext& c) {
  c.Require(c.S(0), {cx >= 87});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x1 <= 4, x2(57, 126), y2 <= 47, w >= 98, ux(-63, -27), uy >= -23});
  c.Require(c.Mcn(s1, kMcn0), {ox <= 4});
  c.Require(c.S(2), {x2 <= 60, ux >= -20});
  c.RequireIfPresent(c.OptF(0), {x <= 188});
}

void CheckKanaTIc(CheckContext& c) {
  c.Require(c.S(0), {cy <= 216, x2 >= 8, h >= 31, ux <= -3});
  c.Require(c.S(1), {uy >= -64});
  c.Require(c.Mcn(c.S(2), kMcn0), {dev >= -15, oy <= 16});
}

void CheckKanaTU(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  const StrokeView s1 = c.OptS(1);
  if (!s1.present()) {
    // Written in one movement, the first two dots close a loop left of
    // where the sweep starts.
    const HoleList holes = c.Holes(kMaxListedHoles);
    c.Need(holes.count > 0);
    c.Need(CountHoles(holes, [&s0](const HoleList::Hole& h) {
             return LoopHole(h) && s0.x1 > h.frameX;
           }) > 0);
  }
  c.Require(s0, {w >= 43, cy <= 133, x1 >= 114, x2 <= 208, y2 <= 39, dX(112, 229)});
  c.Require(c.Mcn(s0, kMcn), {dev(5, 104), ox(24, 124), oy(-47, 17)});
  if (!s1.present()) return;
  c.Require(s1, {x2 <= 44, y2 >= 3, cy(137, 252), w <= 61, h <= 37});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {x1 >= -12, y1(-16, 10), x2 <= 60, y2 <= 76, cy >= 99, w <= 106, h <= 29, dX >= 96,
                 dY(90, 127)});
  c.Require(c.Mcn(s2, kMcn), {dev(111, 150), ox >= -12, oy(-16, 10)});
}

void CheckKanaTUa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 117, cy(113, 249), x1 >= -12, y1 <= 8, x2 <= 62, y2 >= 4, w <= 103, h <= 38,
                 dX >= 94, dY <= 126});
  c.Require(c.Mcn(s0, kMcn), {dev >= 114, ox >= -12, oy <= 8});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 125, cy >= 64, x1(-13, 50), y1(-35, 9), x2 <= 123, y2 >= 64, w <= 118,
                 h >= 77, dX >= 69, dY(48, 90)});
  c.Require(c.Mcn(s1, kMcn), {dev(114, 185), ox(-13, 50), oy(-35, 9)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(32, 184), cy >= 161, x1 <= 8, y1 <= 7, x2 <= 53, w <= 72, h >= -100, dX >= 101,
                 dY <= 128});
  c.Require(c.Mcn(s2, kMcn), {ox <= 8, oy <= 7});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {y >= 156});
  c.Require(k.c2, {x >= 255, y >= 128});
  c.Require(k.c3, {x <= 242, y <= 208});
  c.Require(k.c4, {x <= 170});
  c.Need(s2.cy - s1.y2 <= 142);
  c.Need(s2.cx - s0.w >= 15);
  c.Need(s1.cx + s0.cy >= 306);
  c.Need(s2.cy - s0.cy >= -35);
  c.Need(s2.h - s1.w >= -101);
}

void CheckKanaTUb(CheckContext& c) {
  // The dots and the sweep written in one movement close a loop.
  const HoleList holes = c.Holes(kMaxListedHoles);
  c.Need(holes.count > 0);
  c.Need(CountHoles(holes, LoopHole) > 0);
  c.Require(c.S(0), {cx(128, 212), cy(89, 134), x1(-24, 45), y1 >= -39, x2(43, 102), y2 >= 88,
                     w <= -4, h >= 127, ux <= -8});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(22, 139), cy(179, 248), x1(-9, 0), y1(-3, 0), x2 <= 42, y2(4, 52), w(-98, 44),
                 h >= -122});
  c.Require(c.Mcn(s1, kMcn0), {dev <= 6, oy >= -3});
}

void CheckKanaTE(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(77, 169), cy >= 205, x1(-3, 4), y1(-13, 15), x2 >= 13, y2 <= 34, w >= -21,
                 h >= -79, dX <= 122, dY >= 108});
  c.Require(c.Mcn(s0, kMcn), {dev(114, 142), ox(-3, 4), oy(-13, 15)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(111, 184), cy(61, 226), x1 <= 6, y1(-18, 40), x2 >= 5, y2 <= 80, w >= -41,
                 h >= -66, dX <= 126, dY(98, 131)});
  c.Require(c.Mcn(s1, kMcn), {dev(70, 147), ox <= 6, oy(-18, 40)});
  const StrokeView s2 = c.S(2);
  c.Require(
      s2, {cx(70, 160), cy(14, 144), x1(-18, 53), y1(-32, 11), y2(12, 107), dX >= 95, dY(66, 128)});
  c.Require(c.Mcn(s2, kMcn), {dev(109, 190), ox(-18, 53), oy(-32, 11)});
  const PointView f1 = c.OptF(0);
  c.RequireIfPresent(f1, {x(101, 206), y(128, 215)});
  c.Need(s2.w - s1.h <= -22);
  if (f1.present) c.Need(f1.x - s0.cx <= 82);
}

void CheckKanaTEa(CheckContext& c) { c.Require(c.S(0), {w >= 3}); }

void CheckKanaTO(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 >= -10, y1 >= -4, x2 <= 42, ux >= -18, uy >= -65});
  c.Require(c.Mcn(s0, kMcn0), {ox >= -18, oy >= -4});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cy >= 25, x1 >= -10, y2 <= 84, w >= -64, h <= 73, uy >= -45});
  c.Require(c.Mcn(s1, kMcn0), {dev(-12, 15), ox >= -10, oy <= 12});
}

void CheckKanaTOa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {w <= 82, ux <= 22});
  c.Require(c.Mcn(s0, kMcn0), {dev >= -52, ox <= 53, oy >= -5});
  c.Require(c.S(1), {cy >= 78});
}

void CheckKanaNA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 >= 68, x2 <= 144, w <= 141, dX(117, 192)});
  c.Require(c.Mcn(s0, kMcn), {dev >= 41, ox <= 87, oy <= 2});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x2 >= 54, x1 <= 5, y1 >= -15, w >= 64, h >= -52, dX <= 102});
  c.Require(c.Mcn(s1, kMcn), {dev <= 144, ox <= 5, oy >= -15});
  c.Need(s1.h - s0.w >= -151);
}

void CheckKanaNAa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy(124, 134), x1 <= 47, y1 >= -19, x2(2, 102), y2 >= 74, w <= -70, h >= -25,
                 dY(55, 91)});
  c.Require(c.Mcn(s0, kMcn0), {dev <= 54, ox <= 50, oy >= -20});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(128, 169), cy >= 136, x1(-6, 12), y1(-23, 22), x2 >= 46, y2 <= 70, w >= 83,
                 h >= -50, dX <= 106, dY >= 90});
  c.Require(c.Mcn(s1, kMcn), {dev >= 106, ox >= -6, oy <= 22});
  c.Require(c.F(0), {x >= 82, y >= 136});
  c.Need(s1.x2 + s0.h >= 26);
}

void CheckKanaNI(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 195, x1 <= 8, w >= 22});
  c.Require(c.Mcn(s0, kMcn0), {dev >= -28, ox <= 8});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cy >= 15, x1 <= 5, y2 <= 66, w >= 120, h >= -120, ux <= -41, uy >= -36});
  c.Require(c.Mcn(s1, kMcn0), {dev(-31, 40), ox <= 6, oy <= 31});
}

void CheckKanaNIa(CheckContext& c) {
  c.Require(c.S(0), {cy >= 49, h >= -35});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {h <= 68, uy <= 16});
  c.Require(c.Mcn(s1, kMcn0), {dev >= -56, ox <= 8, oy <= 56});
}

void CheckKanaNU(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 147, x1 <= 170, y1 >= 148, x2 <= 149, w >= 90, ux <= 64, uy >= 69});
  c.Require(c.Mcn(s0, kMcn0), {oy <= 118});
  c.Require(c.S(1), {cy <= 171, y2 >= 6, h <= -11, uy <= 0});
  c.RequireIfPresent(c.OptF(0), {x <= 200, y(38, 171)});
}

void CheckKanaNEa(CheckContext& c) {
  c.Require(c.S(0), {cx >= 62});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x2 >= 61, ux <= 38});
  c.Require(c.Mcn(s1, kMcn0), {oy >= -9});
}

void CheckKanaNO(CheckContext& c) {
  HolesRejecting(c, LoopHole);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 139, cy <= 137, y2 >= 92, w <= 101, dY <= 85});
  c.Require(c.Mcn(s0, kMcn0), {dev <= 101, oy(-75, 25)});
}

void CheckKanaNOa(CheckContext& c) {
  HolesRejecting(c, LoopHole);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 134, cy <= 134, x1 >= 102, x2 >= 28, w <= 201});
  c.Require(c.Mcn(s0, kMcn0), {dev >= -104, ox <= 80, oy >= -44});
}

void CheckKanaHA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(161, 247), cy <= 188, x1 >= -25, y1(-14, 28), x2 <= 83, y2 >= 19, w <= 98,
                 h <= -9, dX >= 83, dY(62, 121)});
  c.Require(c.Mcn(s0, kMcn), {dev <= 158, ox >= -25, oy(-14, 28)});
  const StrokeView s1 = c.S(1);
  c.Require(s1,
            {cx <= 90, cy(64, 192), x1 <= 30, y2 >= 35, w <= 15, h >= -39, dX <= 130, dY <= 113});
  c.Require(c.Mcn(s1, kMcn), {dev(97, 160), ox <= 30, oy(-13, 16)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c2, {x >= 32});
  c.Require(k.c3, {x >= 255, y <= 151});
  c.Require(k.c4, {x <= 28, y <= 135});
  c.Need(s1.h - s0.h >= 65);
  c.Need(s0.cx + s0.x2 <= 263);
  c.Need(k.c4.x + k.c2.y <= 277);
  c.Need(Within(s0.w - s0.x2, -271, 24));
}

void CheckKanaHAa(CheckContext& c) {
  c.Require(c.S(0), {cx >= 177});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x2 <= 38, ux >= -8});
  c.Require(c.Mcn(s1, kMcn0), {oy <= 2});
}

void CheckKanaHAb(CheckContext& c) {
  c.Require(c.S(0), {cx <= 62, y2 >= 65, w <= -128, h <= 97, uy <= -32});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(174, 221), cy >= 123, x1(119, 172), y1 >= 208, x2 >= 189, y2 <= 56, w >= 41,
                 h >= 151, ux <= -11, uy >= 75});
  c.Require(c.Mcn(s1, kMcn0), {dev(-50, -28), ox(27, 50), oy >= 3});
}

void CheckKanaHI(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(56, 138), cy(67, 136), x1 >= 111, y1 <= 164, x2 <= 109, y2 >= 130, w >= 62,
                 h >= 111, ux >= 9, uy <= 5});
  c.Require(c.Mcn(s0, kMcn0), {dev <= -50, ox <= 5, oy <= -3});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(46, 247), cy(82, 245), x1(-7, 20), y1 <= 25, x2 >= 9, y2 <= 106, h >= -70,
                 ux <= -4, uy >= -56});
  c.Require(c.Mcn(s1, kMcn0), {dev(-17, 28), ox(-7, 20), oy <= 25});
}

void CheckKanaHIa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(104, 137), cy <= 137, x1 <= -16, y1 <= -8, x2 >= 52, y2 >= 72, w <= 111,
                 ux <= -39, uy <= -46});
  c.Require(c.Mcn(s0, kMcn0), {dev >= 38, ox <= -16, oy <= -7});
  c.Require(c.S(1), {cy >= 146, x2(20, 119), h >= -89, ux(-59, -10)});
}

void CheckKanaHU(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 138, cy(128, 137), x1 <= 123, y1 >= 157, x2(8, 217), y2 <= 59, w >= 108,
                 dX(20, 149), dY >= 182});
  c.Require(c.Mcn(s0, kMcn), {dev <= 45, ox >= 74, oy >= -23});
  const StrokeView s1 = c.OptS(1);
  if (s1.present()) {
    c.Require(s1, {cx <= 133, cy(230, 248), x1 >= 181, y1 >= 251, x2 <= 61, w >= 128, h <= 53,
                   dX >= 192, dY(128, 150)});
    c.Require(c.Mcn(s1, kMcn), {dev(97, 110), ox(0, 5), oy(-31, -18)});
  }
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 72, y >= 128});
  c.Require(k.c2, {x >= 191, y >= 143});
  c.Require(k.c3, {y <= 226});
  c.Need(Within(s0.y1 + s0.y2, 174, 257));
  c.Need(s0.y1 - s0.x1 >= 131);
  c.Need(k.c4.x - k.c3.x >= -197);
  c.Need(k.c3.y - k.c3.x >= -217);
  c.Need(Within(k.c3.x + k.c1.y, 216, 511));
  c.Need(k.c3.x - k.c1.y <= 30);
  c.Need(k.c3.x - k.c2.x <= 20);
  c.Need(Within(k.c2.x + k.c1.x, 190, 325));
  c.Need(k.c2.y + k.c1.y >= 398);
  c.Need(k.c1.y - k.c1.x >= 165);
  c.Need(Within(k.c4.x + k.c2.y, 210, 453));
  c.Need(Within(k.c2.y + k.c3.x, 222, 499));
  c.Need(k.c4.x + k.c1.x <= 217);
  c.Need(s0.x2 + s0.y1 >= 222);
  c.Need(Within(s0.h + s0.y2, 198, 265));
  c.Need(s0.y1 + s0.w >= 326);
  c.Need(s0.y2 - s0.x2 <= -4);
  c.Need(Within(s0.x1 - s0.cx, -139, -34));
  c.Need(s0.w - s0.cy >= -27);
  c.Need(k.c4.x + k.c4.y + k.c3.y - k.c3.x >= -115);
  // The stroke's last piece may not bend far left of its chord.
  c.Need(LastPieceLeftBend(c, s0) >= -15);
  c.AcceptWhen(s1.present());
  // Without the short top stroke, the one stroke must start flat.
  int32_t dx = 0, dy = 0;
  FirstStep(c, s0, &dx, &dy);
  c.Need((dx >= 20 || dy < 11) && dy <= 50 && 10 * dx - 18 * dy >= 0);
}

void CheckKanaHUa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 190, cy(132, 249), x1(-6, 5), y1(-14, 12), x2 >= 70, y2 >= 6, w >= -114,
                 h >= 27, dX(65, 95), dY(63, 124)});
  c.Require(c.Mcn(s0, kMcn), {dev(116, 143), ox(-6, 5), oy(-14, 12)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(117, 174), cy(119, 237), x1(-7, 48), y1(-22, 3), x2(25, 119), y2 >= 4, h >= 16,
                 dX(69, 122), dY(53, 124)});
  c.Require(c.Mcn(s1, kMcn), {dev(121, 181), ox(-7, 48), oy(-22, 3)});
  c.Require(c.F(0), {x(194, 241), y >= 204});
}

void CheckKanaHE(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 136, cy <= 137, x1 <= 59, y1 <= 235, x2 >= 194, y2 <= 152, w >= 139, h >= 66,
                 ux <= -68, uy(-76, 117)});
  c.Require(c.Mcn(s0, kMcn0), {dev <= -46, ox(-47, 106), oy >= 42});
}

void CheckKanaHO(CheckContext& c) {
  if (!c.OptS(3).present()) {
    // Without the right dot, the strokes close a loop on the right.
    c.Need(CountHoles(c.Holes(kMaxListedHoles), [](const HoleList::Hole& h) {
             return h.points >= 6 && h.frameX >= 166 && h.frameY < 153;
           }) > 0);
  }
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(49, 174), cy(33, 228), x1(-45, 33), y1(-16, 40), x2 <= 104, y2 >= 3, h >= -88,
                 dX(65, 131), dY(62, 128)});
  c.Require(c.Mcn(s0, kMcn), {dev(64, 166), ox(-49, 37), oy(-16, 43)});
  const StrokeView s1 = c.S(1);
  c.Require(s1,
            {cx(71, 173), cy >= 91, x1 <= 25, y1 >= -19, x2 >= 3, h >= -90, dX >= 57, dY(63, 131)});
  c.Require(c.Mcn(s1, kMcn), {dev(37, 154), ox(-72, 25), oy(-19, 62)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx <= 128, cy(23, 201), x1 <= 22, y1(-13, 28), x2 <= 82, y2(7, 105), h >= -89,
                 dX >= 86, dY(76, 126)});
  c.Require(c.Mcn(s2, kMcn), {dev(89, 153), ox <= 22, oy(-13, 28)});
  c.RequireIfPresent(c.OptS(3), {cx >= 166, cy <= 152, x2 <= 56, w <= 92, dX >= 99});
  c.RequireIfPresent(c.OptF(0), {x <= 164, y <= 211});
  c.Require(c.F(1), {x(66, 181), y >= 66});
}

void CheckKanaMA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(90, 154), cy(133, 221), x1 <= 85, x2(49, 215), y2(11, 183), w >= 111, h <= 245,
                 dX(21, 137), dY <= 249});
  c.Require(c.Mcn(s0, kMcn), {dev <= 67, oy >= -23});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(73, 212), cy(23, 107), x1 <= 32, x2(8, 123), y2(4, 101), h <= -8, dX(66, 129),
                 dY(74, 128)});
  c.Require(c.Mcn(s1, kMcn), {ox <= 32});
  const PointView f1 = c.OptF(0);
  c.RequireIfPresent(f1, {x <= 203, y(11, 155)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 67});
  c.Require(k.c2, {x >= 162, y >= 161});
  c.Require(k.c3, {x >= 104, y <= 0});
  c.Need(Within(s1.cy + s1.w, -70, 243));
  c.Need(s0.cy + s1.w >= 34);
  if (f1.present) c.Need(f1.y - s0.y2 <= 28);
}

void CheckKanaMAa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 111, cy >= 140, x1 <= 67, y2(23, 165), w >= 122, h(77, 233)});
  c.Require(c.Mcn(s0, kMcn), {dev <= 27});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 133, x1 >= 124, x2 >= 142, w >= 46, dX(79, 147)});
  c.Require(c.Mcn(s1, kMcn), {dev <= 94, ox <= -34, oy >= -27});
  const Corners k = c.CandidateCorners();
  c.Require(k.c2, {x >= 191});
  c.Require(k.c3, {x >= 122});
  c.Need(s1.x1 - s0.x2 >= 13);
}

void CheckKanaMI(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(76, 188), cy >= 190, x1(-12, 15), y1(-15, 28), x2 >= 13, y2 <= 66, w >= -74,
                 dX <= 123, dY(91, 129)});
  c.Require(c.Mcn(s0, kMcn), {dev(96, 146), ox(-12, 15), oy(-15, 30)});
  c.Require(c.S(1), {cx(69, 171), cy(87, 187), x2(7, 95), y2 <= 60, w >= -75, h <= 92, dX(83, 124),
                     dY(99, 129)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(68, 164), cy <= 82, x1 <= 18, y1 >= -23, x2(13, 121), y2 <= 77, w >= -127,
                 h <= 117, dX(65, 122), dY >= 88});
  c.Require(c.Mcn(s2, kMcn), {dev <= 157, ox <= 18, oy >= -24});
}

void CheckKanaMU(CheckContext& c) {
  c.Require(c.S(0),
            {cx >= 170, cy <= 150, x2 <= 72, y2(22, 120), w <= 64, h <= 30, dX >= 89, dY(70, 116)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 53, cy(106, 206), x1(106, 251), y1(20, 164), x2 >= 31, w(91, 248), h >= 78,
                 dX(110, 226), dY >= 10});
  c.Require(c.Mcn(s1, kMcn), {dev <= 64, oy <= 18});
  const Corners k = c.CandidateCorners();
  c.Require(k.c3, {x >= 221, y <= 94});
}

void CheckKanaMUa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x2 >= 178});
  c.Require(c.Mcn(s0, kMcn0), {ox <= 88});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {ux >= -25});
  c.Require(c.Mcn(s1, kMcn0), {dev <= -65});
}

void CheckKanaME(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(69, 154), cy <= 161, x1(-26, 49), x2 >= 22, y2 >= 76, w <= 78, h >= 89,
                 dX <= 123, dY <= 82});
  c.Require(c.Mcn(s0, kMcn), {dev >= 94, ox(-26, 48)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx <= 198, cy <= 223, x1 <= 20, y1 <= 25, y2(10, 125), h <= -26, x2 >= 11,
                 dX(66, 123), dY <= 127});
  c.Require(c.Mcn(s1, kMcn), {dev(93, 171), ox(-29, 20), oy(-30, 25)});
  c.Require(c.F(0), {x(71, 197), y <= 213});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {y >= 106});
  c.Require(k.c2, {x >= 116, y >= 182});
  c.Require(k.c3, {y <= 182});
  c.Require(k.c4, {x <= 99, y <= 64});
}

void CheckKanaMEa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(88, 136), cy <= 133, x1 >= 124, y1 >= 226, x2(26, 85), y2 <= 0, w(72, 184),
                 h >= 255, dX >= 157, dY >= 241});
  c.Require(c.Mcn(s0, kMcn), {dev(57, 99), ox(28, 69), oy(-27, -7)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx <= 173, cy(60, 213), x1(-12, 10), y1(-11, 15), x2(33, 97), y2(9, 77), w >= -46,
                 h <= 98, dX(81, 112), dY(87, 124)});
  c.Require(c.Mcn(s1, kMcn), {dev(111, 145), ox(-12, 10), oy(-11, 15)});
  c.Require(c.F(0), {x(109, 181), y(68, 206)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {y >= 151});
  c.Require(k.c2, {x >= 128, y >= 184});
  c.Require(k.c3, {y <= 184});
  c.Require(k.c4, {x <= 71});
  c.Need(s1.y2 + s1.cx >= 152);
}

void CheckKanaMO(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 176, cy >= 178, x1 <= 14, x2 >= 15, y2 <= 50, w >= 33, ux <= -8, uy >= -30});
  c.Require(c.Mcn(s0, kMcn0), {dev <= 22, ox <= 14});
  c.Require(c.S(1), {cy <= 194});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {x2 >= 34, w <= 219, ux <= 110});
  c.Require(c.Mcn(s2, kMcn0), {dev <= -29, ox <= -24});
  c.RequireIfPresent(c.OptF(1), {x >= 39, y <= 187});
}

void CheckKanaMOa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 <= 3, y1 >= -10, y2 <= 36, h(-24, 125), uy(-19, 0)});
  c.Require(c.Mcn(s0, kMcn0), {dev <= 12, ox <= 3, oy >= -10});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx <= 149, cy <= 179, x1 >= -1, y1 <= 12, x2(72, 119), w >= 114, ux(-60, -34)});
  c.Require(c.Mcn(s1, kMcn0), {dev >= -11, ox >= -1, oy <= 12});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 148, cy(107, 133), x1 <= -34, y1 <= -12, x2 >= 41, h <= -128, ux <= -41,
                 uy <= -64});
  c.Require(c.Mcn(s2, kMcn0), {dev >= 39, ox <= -34, oy <= -12});
  c.RequireIfPresent(c.OptF(1), {x <= 151, y <= 171});
}
