// The plain katakana rows of the YA, RA and WA columns, "_N", the voicing
// marks "DK" and "HD" and the long-vowel bar "-": windows over up to three
// strokes, chord measures with 128 added to the deviation (or raw), feature
// points, corners and sums; the holes of the outline; the area a ring of
// "HD" encloses; the first step of "WA" and of "RIa".
#include "ocrlib/checks/kana_checks.h"

using namespace checkrow;

namespace {

constexpr McnMode kMcn = kMcnDev128;  // MCN(S, 1)
constexpr McnMode kMcn0 = kMcnRaw;    // MCN(S, 0)

}  // namespace

void CheckKanaYA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(54, 188), cy(80, 134), x1(-36, 30), y1(-13, 16), x2 <= 85, y2 >= 64, h <= 79,
                 dX(84, 129), dY(58, 96)});
  c.Require(c.Mcn(s0, kMcn), {dev(89, 168), ox(-36, 32), oy(-13, 20)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(111, 154), cy >= 104, x1 <= 88, x2(62, 237), y2(8, 206), w >= 108, dX(10, 113),
                 dY(81, 203)});
  c.Require(c.Mcn(s1, kMcn), {dev <= 96, ox >= -68, oy >= 27});
  c.RequireIfPresent(c.OptF(0), {x(62, 190), y(24, 206)});
  c.Require(c.F(1), {x(36, 165), y >= 93});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 170, y >= 73});
  c.Require(k.c2, {x >= 48});
  c.Require(k.c3, {y <= 155});
  c.Require(k.c4, {y <= 217});
  c.Need(s0.h + s1.h <= 177);
}

void CheckKanaYAa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 149, x1(-18, 19), y1 >= -6, h <= 71, ux >= -34});
  c.Require(c.Mcn(s0, kMcn0), {dev <= 18, ox(-18, 19), oy >= -6});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cy >= 123, y2 >= 22, h >= 54, uy <= -9});
  c.Require(c.Mcn(s1, kMcn0), {dev <= 22, ox <= 19});
  c.Require(c.S(2), {ux >= -63});
  c.RequireIfPresent(c.OptF(0), {x <= 233, y >= 156});
  const PointView f2 = c.OptF(1);
  c.AcceptWhen(!f2.present);
  c.Require(f2, {x <= 129});
}

void CheckKanaYU(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(57, 152), cy(128, 182), x1 <= 112, y1 >= 141, x2(39, 205), y2 <= 137,
                 w(56, 248), h >= 58, dX(26, 125), dY >= 144});
  const McnView m0 = c.Mcn(s0, kMcn);
  c.Require(m0, {dev <= 86, ox >= 12, oy >= 3});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(116, 177), cy <= 114, x1(-7, 5), x2 >= 78, y2 <= 74, w >= 72, h >= -121,
                 dX <= 89, dY >= 91});
  c.Require(c.Mcn(s1, kMcn), {ox(-7, 7)});
  const PointView f1 = c.OptF(0);
  c.RequireIfPresent(f1, {x <= 205, y <= 123});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 112, y >= 144});
  c.Require(k.c3, {x >= 230});
  c.Require(k.c4, {x <= 97, y <= 73});
  c.Need(Within(s0.y2 - s0.x2, -191, 26));
  c.Need(s1.h - s0.w >= -283);
  c.Need(s1.x2 - s0.x2 >= -103);
  c.Need(m0.dev - s0.x2 >= -241);
  c.Need(k.c3.x - k.c2.y >= -7);
  c.Need(s0.w + s0.y1 <= 475);
  c.Need(m0.ox + s0.x2 <= 327);
  if (f1.present) c.Need(f1.x + s0.y1 <= 451);
}

void CheckKanaYUa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(59, 135), cy(128, 150), x1(20, 91), y1(23, 66), x2(39, 84), y2 >= 33, w <= 101,
                 h <= -97, dX(99, 139), dY(84, 129)});
  c.Require(c.Mcn(s0, kMcn), {dev(24, 86), ox(24, 89), oy(26, 64)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx <= 152, cy(10, 97), x1(-1, 3), y1 >= -10, x2 >= 107, y2 <= 31, w >= 127,
                 h(-114, 68), dX(64, 75), dY(115, 130)});
  c.Require(c.Mcn(s1, kMcn), {dev(113, 140), ox(-1, 3), oy(-10, 16)});
  c.Require(c.F(0), {x(108, 207), y <= 109});
}

void CheckKanaYO(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(128, 175), cy(128, 197), x1 <= 122, y1 >= 145, x2 <= 154, y2 <= 128, w >= 111,
                 h >= 119, dX(51, 175), dY >= 189});
  c.Require(c.Mcn(s0, kMcn), {dev <= 23, ox >= 105, oy >= -80});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(85, 183), cy(77, 176), x1 >= -9, x2 >= 22, y2 <= 55, w >= 36, dX(63, 117),
                 dY(101, 131)});
  c.Require(c.Mcn(s1, kMcn), {dev(102, 235), ox >= -9, oy <= 26});
  const PointView f1 = c.OptF(0);
  c.RequireIfPresent(f1, {x >= 160, y(45, 205)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 118, y >= 145});
  c.Require(k.c2, {x >= 170});
  c.Require(k.c3, {x >= 116, y <= 120});
  c.Require(k.c4, {x <= 153, y <= 161});
  c.Need(s1.cy + s1.y1 <= 175);
  c.Need(k.c3.x + k.c1.x >= 150);
  c.Need(k.c4.x - k.c3.x <= -38);
  c.Need(k.c3.y - k.c3.x <= -106);
  c.Need(k.c4.x + k.c2.x <= 383);
  c.Need(Within(s0.x2 + s1.w, 74, 323));
  c.Need(s0.cx + s1.cy <= 307);
  c.Need(s1.cx - s0.x2 >= -9);
  c.Need(s1.y2 - s1.cy >= -171);
  c.Need(s1.cy + s0.x2 <= 293);
  c.Need(s0.x1 + s0.x2 <= 185);
  c.Need(s1.x2 - s1.cy >= -113);
  if (f1.present) c.Need(f1.y + s1.w >= 192);
  c.Need(k.c3.x - k.c4.x - k.c3.y - k.c4.y >= 90);
}

void CheckKanaYOa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 168, cy >= 128, x1 <= 203, w >= 108});
  c.Require(c.Mcn(s0, kMcn0), {dev <= -92, ox >= 53});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(81, 202), cy <= 171, x2 >= 25, w >= 41, h >= -94, ux <= -12});
  c.Require(c.Mcn(s1, kMcn0), {dev <= 15});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(31, 204), x1(-3, 5), x2 >= 13, y2 <= 47, w >= 3, ux <= -6, uy >= -28});
  c.Require(c.Mcn(s2, kMcn0), {dev(-16, 13), ox(-3, 5), oy <= 18});
  const PointView f1 = c.OptF(0);
  c.AcceptWhen(!f1.present);
  c.Require(f1, {x >= 141, y <= 187});
}

void CheckKanaYOb(CheckContext& c) {
  c.Require(c.Mcn(c.S(0), kMcn0), {dev <= -120, ox >= 116});
  c.Require(c.S(1), {cy <= 169});
  const PointView f1 = c.OptF(0);
  c.AcceptWhen(!f1.present);
  c.Require(f1, {y <= 175});
}

void CheckKanaRA(CheckContext& c) {
  c.Require(c.S(0), {cx <= 173, cy >= 219, x2 >= 16, y2 <= 40, w >= 9, h >= -64, ux <= -8});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 79, x1 <= 194, y1 <= 205, x2 >= 28, w >= 66, h <= 233, ux <= 27, uy <= 102});
  c.Require(c.Mcn(s1, kMcn0), {dev <= -51, ox >= 44, oy >= -24});
}

void CheckKanaRI(CheckContext& c) {
  const HoleList holes = HolesRejecting(c, LoopHole);
  const StrokeView s1 = c.S(1);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(128, 193), cy(81, 134), x1(-20, 65), y1(-37, 9), x2 <= 86, y2 >= 81, w <= -22,
                 h >= -48, dX >= 87, dY(46, 88)});
  c.Require(c.Mcn(s0, kMcn), {dev(107, 206), ox(-20, 68), oy(-39, 9)});
  c.Require(s1, {cx(46, 155), cy(121, 236), x1(-17, 11), y1(-8, 10), x2 <= 39, y2(15, 112),
                 w <= -32, h >= -53, dX(100, 129), dY(72, 121)});
  c.Require(c.Mcn(s1, kMcn), {dev(109, 147), ox(-19, 15), oy(-8, 10)});
  const Corners k = c.CandidateCorners(holes);
  c.Require(k.c1, {y >= 168});
  c.Require(k.c2, {x >= 142, y >= 162});
  c.Require(k.c3, {y <= 85});
  c.Require(k.c4, {y <= 108});
  c.Need(Within(s1.h - s0.x2, -91, 78));
  c.Need(Within(s1.w - s1.cx, -293, -102));
  c.Need(s0.h + s1.cy >= 120);
  c.Need(s0.x2 + s1.w <= 23);
}

void CheckKanaRIa(CheckContext& c) {
  const HoleList holes = HolesRejecting(c, LoopHole);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(43, 166), cy(146, 237), x1(-14, 37), y1(0, 8), x2 <= 47, y2 >= 15, w <= -32,
                 h >= -72, dX >= 107, dY(62, 121)});
  c.Require(c.Mcn(s0, kMcn), {dev(112, 168), ox(-14, 37), oy(0, 8)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(60, 197), cy(103, 188), x1(51, 213), y1 >= 204, x2(32, 192), y2 <= 119,
                 w(17, 192), h >= 137, dX(105, 215), dY >= 196});
  c.Require(c.Mcn(s1, kMcn), {dev(25, 115), ox(14, 86), oy(-46, 5)});
  const Corners k = c.CandidateCorners(holes);
  c.Require(k.c1, {x <= 204, y >= 167});
  c.Require(k.c2, {x(68, 244), y >= 203});
  c.Require(k.c3, {x <= 239, y <= 82});
  c.Require(k.c4, {x <= 239, y <= 109});
  c.Need(s1.h - s1.y1 <= 0);
  c.Need(s1.x2 + s1.x1 >= 216);
  c.Need(s0.x2 - s0.cx <= -36);
  c.Need(s0.cx + s1.x1 >= 208);
  c.Need(s1.x2 + s0.h >= 14);
  c.Need(s0.w + s0.x2 <= -21);
  c.Need(Within(s1.x1 - s0.x2, 125, 208));
  c.Need(s1.x1 - s0.y2 <= 170);
  c.Need(Within(s1.x1 - s0.h, 85, 264));
  // The long stroke may not start with a long flat step to the right.
  int32_t dx = 0, dy = 0;
  FirstStep(c, s1, &dx, &dy);
  c.RejectIf(-dx < -30 && -dy < 20);
  // Only a character clearly narrower than high, its first stroke upright.
  c.RejectIf(c.frame().offsetX < 40);
  c.Need(s0.y2 - 3 * s0.x2 >= 0);
}

void CheckKanaRIb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 145, cy(131, 211), x1 <= 180, y1 >= 101, x2(78, 157), w <= 90, h >= 69,
                 dX(120, 173), dY >= 51});
  c.Require(c.Mcn(s0, kMcn), {dev >= 59, ox >= -63, oy(-26, 3)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(76, 162), cy >= 99, x1 >= -8, y1(-6, 2), x2 <= 52, y2 >= 41, w <= -82,
                 dX >= 100, dY <= 108});
  c.Require(c.Mcn(s1, kMcn), {dev >= 120, ox >= -8, oy(-6, 2)});
  const PointView f1 = c.OptF(0);
  c.AcceptWhen(!f1.present);
  c.Require(f1, {x <= 154});
}

void CheckKanaRIc(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy >= 123, x1 >= 156, y1 >= 246, h >= 246, ux >= 14});
  c.Require(c.Mcn(s0, kMcn0), {dev >= -64, ox <= 64});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x1 <= 91, x2 >= 56, w <= 48, ux <= 13});
  c.Require(c.Mcn(s1, kMcn0), {oy >= -2});
}

void CheckKanaRId(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 175, x1(143, 204), x2 <= 142, ux >= 12});
  c.Require(c.Mcn(s0, kMcn0), {dev >= -79, ox <= 76, oy <= -3});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 62, x1 >= 66, x2(54, 123), w(16, 35), ux >= -24});
  c.Require(c.Mcn(s1, kMcn0), {dev >= -29, ox >= -28, oy <= 4});
}

void CheckKanaRIe(CheckContext& c) {
  c.Require(c.S(0), {cy >= 118, x2 <= 49, y2 <= 121, ux >= -21, uy >= -66});
  c.Require(c.S(1), {cx <= 116, x2 <= 2, h >= -4});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 78, cy <= 188, x1 >= 0, y1 <= 0, y2 <= 33, w >= -63, h >= 13});
  c.Require(c.Mcn(s2, kMcn0), {dev >= 0, ox >= 0, oy <= 0});
}

void CheckKanaRU(CheckContext& c) {
  c.Require(c.S(0), {h >= -79});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx <= 236, w >= 45, uy >= -124});
  c.Require(c.Mcn(s1, kMcn0), {dev <= -40});
}

void CheckKanaRE(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 137, cy <= 137, y1 >= 13, x2 <= 122, h >= 167, dX >= 156, dY >= 7});
  c.Require(c.Mcn(s0, kMcn), {oy <= -38});
}

void CheckKanaREa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy <= 186, y1 >= 224, x2 >= 3, y2 <= 107, w <= 73, h >= 147, ux >= -20, uy >= 73});
  c.Require(c.Mcn(s0, kMcn0), {dev >= -40, ox <= 41, oy(-14, 5)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx <= 147, x2 <= 104, y2 <= 235, w <= 250, h(102, 241)});
  c.Require(c.Mcn(s1, kMcn0), {dev <= -82, ox >= -120, oy <= -75});
}

void CheckKanaRO(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 136, cy <= 137, h >= 145});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 78, y >= 140});
  c.Require(k.c2, {x >= 161, y >= 162});
  c.Require(k.c3, {x >= 139, y <= 128});
  c.Require(k.c4, {x <= 99, y <= 90});
  c.Need(Within(s0.cy - s0.cx, -9, 8));
  c.Need(s0.w + s0.cy <= 391);
  c.Need(k.c4.y - k.c1.y <= -130);
  c.Need(Within(k.c1.y + k.c1.x, 164, 323));
  c.Need(k.c3.y - k.c2.x <= -126);
  c.Need(k.c4.x + k.c1.x <= 123);
  c.Need(k.c4.x - k.c1.y <= -116);
  c.Need(k.c4.y - k.c2.x <= -144);
  c.Need(Within(k.c3.y - k.c1.x, -79, 90));
  c.Need(Within(k.c2.y + k.c1.x, 174, 319));
  c.Need(Within(k.c2.y - k.c2.x, -81, 94));
  c.Need(k.c2.x + k.c3.x >= 354);
  c.Need(k.c1.y + k.c2.x >= 380);
  c.Need(Within(k.c3.x - k.c2.y, -117, 68));
  c.Need(Within(k.c3.x + k.c4.x, 156, 327));
  c.Need(k.c4.y - k.c3.x <= -108);
  c.Need(Within(k.c3.x - k.c1.y, -99, 82));
  c.Need(k.c3.y - k.c3.x <= -100);
  c.Need(k.c2.y + k.c4.x >= 190);
  c.Need(Within(k.c2.x + k.c4.y, 160, 327));
  c.Need(k.c1.y - k.c3.y - k.c4.x - k.c4.y - k.c1.x + k.c2.x + k.c2.y + k.c3.x >= 775);
}

void CheckKanaROa(CheckContext& c) {
  c.Require(c.S(0),
            {cx <= 135, cy <= 136, x1 <= 160, x2 <= 128, w >= 136, dX(87, 184), dY(57, 185)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 85, y >= 135});
  c.Require(k.c2, {x >= 142, y >= 156});
  c.Require(k.c3, {x >= 99, y <= 102});
  c.Require(k.c4, {x <= 128, y <= 135});
  c.Need(k.c4.x - k.c3.x <= -76);
}

void CheckKanaROb(CheckContext& c) {
  c.Require(c.S(0),
            {cx <= 136, cy <= 136, y1 <= 247, w >= 124, h >= 159, dX(78, 190), dY(98, 185)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 77, y >= 179});
  c.Require(k.c2, {x >= 142, y >= 182});
  c.Require(k.c3, {x >= 99, y <= 111});
  c.Require(k.c4, {x <= 128, y <= 61});
  c.Need(k.c4.x - k.c3.x <= -98);
  c.Need(k.c1.y + k.c4.x >= 192);
}

void CheckKanaROc(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 136, cy <= 136, w >= 128, h >= 187, dX(106, 190), dY(103, 167)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 61, y >= 159});
  c.Require(k.c2, {x >= 145, y >= 184});
  c.Require(k.c3, {x >= 159, y <= 111});
  c.Require(k.c4, {x <= 85, y <= 69});
  const PointView f1 = c.F(0);
  c.Need(f1.x - s0.x2 <= 58);
}

void CheckKanaROd(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 90, cy <= 179, x2 <= 40, y2 >= 46, w <= -56, dY(64, 109)});
  c.Require(c.Mcn(s0, kMcn), {oy >= -12});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx <= 177, cy <= 153, x1 <= 108, x2 <= 172, y2 <= 64, w >= 102, h >= 152,
                 dX(69, 149), dY <= 251});
  c.Require(c.Mcn(s1, kMcn), {dev <= 27, ox >= 96, oy >= -33});
  c.RequireIfPresent(c.OptF(0), {x <= 70, y <= 237});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 35});
  c.Require(k.c2, {x >= 202, y >= 185});
  c.Require(k.c3, {x >= 153, y <= 81});
  c.Require(k.c4, {x <= 128, y <= 54});
}

void CheckKanaWA(CheckContext& c) {
  const HoleList holes = HolesRejecting(c, UpperLeftHole);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 135, cy <= 135, x1 <= 106, y1(45, 224), x2(13, 239), y2 <= 17, w >= 102,
                 h >= 229, dX(22, 158), dY(150, 240)});
  c.Require(c.Mcn(s0, kMcn), {dev <= 50, ox >= 77, oy >= -42});
  const Corners k = c.CandidateCorners(holes);
  c.Require(k.c1, {x <= 81, y >= 173});
  c.Require(k.c2, {x >= 166, y >= 200});
  c.Require(k.c3, {y <= 97});
  c.Require(k.c4, {x <= 232, y <= 151});
  c.Need(Within(s0.y1 - s0.x1, -5, 200));
  c.Need(k.c2.y - k.c1.x >= 167);
  c.Need(k.c3.x - k.c1.y <= 10);
  c.Need(k.c1.y + k.c1.x <= 321);
  c.Need(k.c1.y + k.c4.x >= 198);
  c.Need(k.c2.x + k.c1.x <= 319);
  c.Need(k.c1.y + k.c3.x >= 220);
  c.Need(k.c2.x - k.c1.y <= 74);
  c.Need(k.c1.y + k.c2.y >= 406);
  c.Need(k.c3.y - k.c1.y <= -132);
  c.Need(s0.x2 - s0.y1 >= -181);
  c.Need(Within(s0.x2 + s0.y1, 156, 371));
  c.Need(s0.cx + s0.y1 <= 355);
  c.Need(s0.x1 + s0.y1 <= 297);
  c.Need(s0.y2 - s0.x1 <= 8);
  // A stroke starting upward is no "WA" of this model unless it rises
  // steeply.
  int32_t dx = 0, dy = 0;
  FirstStep(c, s0, &dx, &dy);
  c.AcceptWhen(dy < 0);
  c.Need(10 * dy - 35 * dx >= 0);
}

void CheckKanaWAa(CheckContext& c) {
  const HoleList holes = HolesRejecting(c, UpperLeftHole);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(16, 125), cy(153, 232), x1(-26, 18), y1(-11, 21), x2 <= 45, y2(10, 86), w <= 72,
                 h <= 81, dX(100, 130), dY(85, 129)});
  c.Require(c.Mcn(s0, kMcn), {dev(98, 160), ox(-27, 19), oy(-15, 21)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(128, 166), cy(107, 134), x1(4, 128), y1 >= 155, x2(32, 207), y2 <= 43,
                 w(98, 248), h >= 191, dX(48, 152), dY >= 215});
  c.Require(c.Mcn(s1, kMcn), {ox >= 0, oy(-31, 110)});
  const PointView f1 = c.OptF(0);
  c.RequireIfPresent(f1, {x(4, 125), y(155, 250)});
  const Corners k = c.CandidateCorners(holes);
  c.Require(k.c1, {x <= 109, y >= 173});
  c.Require(k.c2, {x >= 196, y >= 179});
  c.Require(k.c3, {x <= 230, y <= 94});
  c.Need(Within(s1.x1 - s0.cx, -21, 62));
  c.Need(Within(s0.y2 + s1.w, 134, 313));
  c.Need(s1.x1 - s0.cy <= -54);
  if (f1.present) c.Need(f1.y + s0.h <= 251);
}

void CheckKanaWO(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(117, 171), cy(110, 221), x1 <= 124, y1 >= 119, x2(13, 202), y2 <= 196, w >= 78,
                 h >= 69, dX(24, 149), dY >= 150});
  const McnView m0 = c.Mcn(s0, kMcn);
  c.Require(m0, {dev <= 56, ox >= 73, oy >= -79});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(72, 186), cy(67, 238), x1(-4, 28), y1(-20, 22), x2(16, 128), y2 <= 101,
                 h >= -113, dX(64, 125), dY >= 73});
  c.Require(c.Mcn(s1, kMcn), {dev(106, 161), ox(-4, 28), oy(-20, 22)});
  const PointView f1 = c.OptF(0);
  c.RequireIfPresent(f1, {x(155, 255), y(68, 228)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 128, y >= 180});
  c.Require(k.c2, {x >= 161, y >= 191});
  c.Require(k.c3, {y <= 194});
  c.Require(k.c4, {x <= 241, y <= 164});
  c.Need(Within(s1.x2 + s1.h, -22, 273));
  c.Need(Within(k.c2.y + k.c3.x, 242, 499));
  c.Need(k.c2.x + k.c3.x <= 499);
  c.Need(k.c3.x - k.c1.y <= 24);
  c.Need(k.c3.x - k.c2.x <= 44);
  c.Need(k.c4.x - k.c3.x >= -243);
  c.Need(k.c4.x + k.c2.y >= 218);
  c.Need(k.c3.y - k.c3.x >= -243);
  c.Need(k.c1.y + k.c3.x >= 230);
  c.Need(Within(s1.w - m0.oy, -239, 202));
  c.Need(s1.y1 - m0.dev <= 114);
  c.Need(s0.x1 + s1.x2 >= 50);
  c.Need(s1.y1 - s0.x2 <= -16);
  c.Need(s1.cx + m0.ox >= 204);
  c.Need(s1.h + s0.y1 >= 142);
  c.Need(m0.oy + s1.h >= -62);
  c.Need(s0.x2 + s0.y1 >= 234);
  c.Need(Within(m0.ox + s1.x2, 120, 345));
  if (f1.present) {
    c.Need(Within(s0.y1 + f1.x, 360, 503));
    c.Need(f1.x - s0.x2 <= 210);
    c.Need(f1.y + s0.x2 >= 142);
    c.Need(f1.x - s0.x1 >= 75);
    c.Need(s1.x2 + f1.x >= 180);
  }
  c.Need(k.c3.x - k.c3.y - k.c4.x - k.c4.y <= 115);
}

void CheckKanaWOa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(85, 158), cy >= 135, x1(-2, 2), y1(-9, 16), x2 >= 33, y2 <= 28, w >= 65,
                 h(-22, 104), dX(64, 112), dY(112, 130)});
  c.Require(c.Mcn(s0, kMcn), {dev(113, 139), ox(-2, 4), oy(-10, 16)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(93, 175), cy(97, 195), x1(-2, 6), y1(-14, 15), x2(29, 104), y2 <= 94, h >= -37,
                 dX(76, 118), dY >= 64});
  c.Require(c.Mcn(s1, kMcn), {dev(113, 144), ox(-2, 10), oy(-14, 15)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(115, 227), cy(105, 186), x1(-2, 55), y1(-53, 2), x2(11, 101), y2 >= 44, w <= 97,
                 h >= 44, dX(91, 129), dY(53, 101)});
  c.Require(c.Mcn(s2, kMcn), {dev(126, 189), ox(-2, 55), oy(-53, 2)});
  c.Require(c.F(0), {x >= 137, y(113, 210)});
  const PointView f2 = c.OptF(1);
  c.AcceptWhen(!f2.present);
  c.Require(f2, {x(146, 226), y >= 230});
}

void CheckKanaWOb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 143, cy <= 132, x1(5, 88), y1 >= 213, x2(34, 177), y2 <= 0, w(128, 247),
                 h >= 255, dX(59, 143), dY >= 234});
  c.Require(c.Mcn(s0, kMcn), {dev <= 6, ox >= 116, oy(-18, 112)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx <= 147, cy >= 117, x1(23, 80), y1(108, 173), x2 <= 219, y2 >= 109, w <= 192,
                 h <= 39, dX >= 32, dY >= 113});
  c.Require(c.Mcn(s1, kMcn), {dev >= 101, ox >= -2, oy <= 28});
  c.Require(c.F(0), {x <= 219, y >= 109});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 41});
  c.Require(k.c2, {y >= 230});
  c.Require(k.c3, {x <= 198});
}

void CheckKanaN(CheckContext& c) {
  const HoleList holes = HolesRejecting(c, LoopHole);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(27, 133), cy >= 131, x1(-5, 27), y1 >= -4, x2(7, 79), y2 <= 53, w >= -63,
                 h <= 67, dX(89, 128), dY >= 104});
  c.Require(c.Mcn(s0, kMcn), {dev(93, 136), ox(-5, 27), oy >= -12});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(128, 171), cy(36, 134), x1 >= 194, y1 >= 64, x2 <= 84, y2(9, 117), w >= 128,
                 h >= 64, dX >= 192, dY(112, 252)});
  c.Require(c.Mcn(s1, kMcn), {dev(1, 102), ox(-14, 74), oy(-124, -25)});
  const Corners k = c.CandidateCorners(holes);
  c.Require(k.c2, {y >= 88});
  c.Require(k.c4, {y <= 100});
}

void CheckKanaNa(CheckContext& c) {
  const HoleList holes = HolesRejecting(c, LoopHole);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(13, 119), cy >= 85, x1(-3, 30), y1(-9, 28), x2(5, 85), y2 <= 69, w >= -106,
                 dX(87, 129), dY(96, 129)});
  c.Require(c.Mcn(s0, kMcn), {dev(92, 139), ox(-3, 30), oy(-9, 28)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(122, 179), cy(13, 133), x1(-9, 47), y1(-58, 16), x2 >= 53, y2 >= 13, h >= 51,
                 dX(63, 109), dY(45, 123)});
  c.Require(c.Mcn(s1, kMcn), {dev(111, 226), ox(-9, 47), oy(-58, 16)});
  const Corners k = c.CandidateCorners(holes);
  c.Require(k.c1, {x <= 115});
  c.Require(k.c2, {y >= 36});
  c.Require(k.c4, {x <= 94, y <= 0});
  c.Need(Within(s1.cx + s1.w, -16, 373));
  c.Need(Within(s1.y2 - s0.h, -41, 244));
  c.Need(Within(s1.y2 + s0.y2, 32, 167));
  c.Need(Within(s0.cx + s1.w, -100, 369));
  c.Need(Within(s1.cy + s1.w, -40, 317));
  c.Need(s1.h - s0.w >= -23);
  c.Need(k.c3.x - k.c1.x >= -21);
  c.Need(k.c4.x + k.c2.y <= 333);
  c.Need(k.c3.y - k.c1.y <= 52);
  c.Need(s1.w - s0.x2 >= -201);
  c.Need(s1.y2 - s0.x1 <= 132);
  c.Need(s0.w + s1.w >= -126);
  c.Need(Within(s0.h + s1.w, -186, 237));
  c.Need(Within(s0.y2 + s1.cy, 42, 163));
}

void CheckKanaNb(CheckContext& c) {
  const HoleList holes = HolesRejecting(c, LoopHole);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(63, 131), cy(89, 228), x1(-4, 5), y1(-14, 7), x2 >= 31, y2(4, 79), w >= 7,
                 h >= -92, dX <= 112, dY(85, 126)});
  c.Require(c.Mcn(s0, kMcn), {dev(125, 144), ox(-4, 5), oy(-14, 7)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(49, 145), cy(115, 217), x1 <= 225, y1 >= 146, x2(10, 89), y2 <= 177, w(20, 246),
                 h >= 69, dX(84, 223), dY >= 162});
  c.Require(c.Mcn(s1, kMcn), {dev(40, 109), ox(20, 70), oy(-57, 29)});
  const Corners k = c.CandidateCorners(holes);
  c.Require(k.c1, {x <= 69, y >= 128});
  c.Require(k.c2, {x >= 224, y >= 146});
  c.Require(k.c3, {x >= 82, y <= 182});
  c.Require(k.c4, {x <= 64, y <= 77});
  c.Need(s1.h - s1.x1 <= 70);
  c.Need(s1.x2 - s0.w <= 46);
}

void CheckKanaNc(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 128, cy <= 128, x1 >= 255, y1(200, 231), x2 <= 0, y2(80, 112), w >= 255,
                 h(144, 207), ux >= 127, uy(44, 59)});
  c.Require(c.Mcn(s0, kMcn0), {dev >= -80, ox <= 28, oy(-85, -58)});
}

void CheckKanaDK(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 104, cy >= 48, x1(-35, 38), y1(-17, 33), x2 >= 6, y2 >= 10, h <= -11,
                 dX >= 64, dY(60, 123)});
  c.Require(c.Mcn(s0, kMcn), {dev(85, 168), ox(-35, 38), oy(-17, 33)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(13, 164), cy(19, 224), x1(-33, 37), y1(-26, 23), x2 >= 6, y2 >= 10, h <= -11,
                 dX(71, 129), dY(61, 123)});
  c.Require(c.Mcn(s1, kMcn), {dev(89, 167), ox(-33, 37), oy(-26, 25)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c2, {x >= 23});
  c.Require(k.c3, {x >= 70});
  c.Need(s1.x2 - s1.y1 <= 126);
  c.Need(s0.cx + s1.x2 >= 172);
  c.Need(s1.cx + s1.x2 <= 257);
}

void CheckKanaDKa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(64, 199), cy(79, 166), x1(-18, 9), y1(-2, 1), x2(6, 20), y2 >= 69, w <= -123,
                 h(-66, -11), dX(111, 129), dY(64, 94)});
  c.Require(c.Mcn(s0, kMcn), {dev(120, 147), ox(-18, 9), oy(-2, 1)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 54, cy(108, 162), x1(-8, 4), y1(0, 1), x2 <= 6, y2 >= 67, w <= -128, h <= 27,
                 dX(121, 128), dY(64, 95)});
  c.Require(c.Mcn(s1, kMcn), {dev(120, 132), ox(-8, 4), oy(0, 1)});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 23});
  c.Require(k.c2, {x >= 185, y >= 209});
  c.Require(k.c3, {x >= 232});
  c.Require(k.c4, {x <= 64, y <= 94});
}

void CheckKanaDKb(CheckContext& c) {
  c.Require(c.S(0), {cy >= 137, x2 <= 11, y2 >= 114, h <= 47, dX(123, 128), dY(64, 71)});
  c.Require(c.S(1), {cy <= 140, y2 >= 71, dY <= 93});
}

void CheckKanaHD(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Need(s0.w >= 128);
  c.AcceptWhen(c.frame().size < 13 || s0.w < 201);
  // How much of its box the ring's area fills tells a small ring from a
  // flattened stroke.
  const ChainAreas a = AreasOfChain(c.Chain(s0));
  c.RejectIf(a.enclosed >= 193);
  c.AcceptWhen(a.enclosed < 120);
  const int64_t fill = a.box == 0 ? 32767 : int64_t{a.enclosed} * 1000 / a.box;
  c.RejectIf(fill >= 761);
  c.AcceptWhen(fill < 646);
  const Corners k = c.CandidateCorners();
  c.Need(k.c3.x - k.c3.y < 156 || a.enclosed < 141);
}

void CheckKanaHDa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(
      s0, {x1 <= 235, y1 >= 37, x2 <= 122, y2 >= 21, w >= 154, h >= 183, dX(86, 245), dY(77, 216)});
  const McnView m0 = c.Mcn(s0, kMcn);
  c.Require(m0, {dev <= 238, ox >= -104});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 149});
  c.Require(k.c2, {x >= 96, y >= 153});
  c.Require(k.c3, {x >= 128});
  c.Require(k.c4, {x <= 153, y <= 85});
  c.Need(s0.y2 - s0.x1 <= 158);
  c.Need(m0.oy + s0.x1 >= -126);
  c.Need(Within(m0.ox + s0.x2, -40, 243));
  c.Need(s0.w + m0.dev >= 78);
  c.Need(k.c2.x + k.c2.y <= 493);
  c.Need(s0.x2 + s0.y2 >= 96);
  c.Need(s0.h + s0.x1 <= 461);
  c.Need(AreasOfChain(c.Chain(s0)).enclosed <= 256);
  c.AcceptWhen(k.c1.y - k.c4.x - k.c4.y - k.c1.x >= 36);
  c.Need(k.c3.x - k.c4.x - k.c4.y - k.c3.y >= 32);
}

void CheckKanaHDb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy <= 146, x1 <= 165, y1 <= 163, x2 >= 30, y2 <= 142, w >= 144, h >= 199,
                 dX(55, 165), dY(71, 209)});
  const McnView m0 = c.Mcn(s0, kMcn);
  c.Require(m0, {dev <= 221, ox >= -77, oy >= -57});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 159});
  c.Require(k.c2, {x >= 109});
  c.Require(k.c3, {x >= 28, y <= 128});
  c.Require(k.c4, {x <= 113, y <= 149});
  c.Need(s0.y1 - s0.cy <= 24);
  c.Need(k.c1.y - k.c1.x <= 210);
  c.Need(k.c2.x + k.c1.x <= 357);
  c.Need(k.c1.y + k.c4.x <= 341);
  c.Need(k.c3.x - k.c1.x >= -29);
  c.Need(k.c4.x + k.c1.x <= 185);
  c.Need(k.c1.y + k.c4.y <= 299);
  c.Need(k.c2.y + k.c3.x >= 282);
  c.Need(k.c3.x - k.c2.x >= -199);
  c.Need(s0.w - s0.y1 >= 19);
  c.Need(s0.y2 + m0.ox <= 207);
  c.Need(m0.oy + s0.y1 <= 271);
  c.Need(m0.ox - s0.w <= 14);
  c.Need(m0.dev + s0.w >= 90);
  c.Need(s0.x2 + s0.x1 >= 68);
  c.Need(s0.y1 - s0.cx <= 24);
  c.Need(s0.y1 + s0.cy >= 140);
  c.Need(Within(s0.h + s0.x1, 236, 385));
  c.AcceptWhen(AreasOfChain(c.Chain(s0)).enclosed < 161);
  c.Need(k.c4.x + k.c4.y >= 100);
}

void CheckKanaHDc(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1(26, 207), y1 <= 112, x2 <= 144, w >= 119, h >= 196, dX(136, 198), dY <= 184});
  const McnView m0 = c.Mcn(s0, kMcn);
  c.Require(m0, {dev >= 255, oy >= 54});
  c.Require(c.F(0), {x(26, 207), y <= 112});
  const Corners k = c.CandidateCorners();
  c.Require(k.c1, {x <= 170, y >= 156});
  c.Require(k.c3, {x >= 109});
  c.Require(k.c4, {x <= 146});
  c.Need(s0.cx + m0.dev >= 420);
  c.Need(k.c3.y - k.c3.x >= -197);
  c.Need(s0.x1 + s0.y2 >= 60);
  c.Need(k.c1.y - k.c4.y - k.c3.y - k.c4.x - k.c1.x + k.c2.x + k.c2.y + k.c3.x <= 820);
  c.Need(AreasOfChain(c.Chain(s0)).enclosed <= 200);
}

void CheckKanaBar(CheckContext& c) {
  const HoleList holes = c.Holes(kMaxListedHoles);
  c.RejectIf(CountHoles(holes, [](const HoleList::Hole& h) { return h.points >= 6; }) > 0);
  c.Require(c.S(0), {cx <= 142, x1(-6, 4), y1(-21, 25), x2 >= 128, y2 <= 40, w >= 127, h >= -106,
                     dX(60, 67), dY(105, 132)});
}
