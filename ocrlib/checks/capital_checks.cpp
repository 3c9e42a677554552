// The shape checks of the plain capital models that are lists of windows
// over their strokes, chord measures and feature points, with a few tests
// of ends and edges. The rows with longer procedures ("Cb", "Da", "Db",
// "Dc", "G", "I", "J", "L", "S", "T", "U", "V", "Vd", "Vh", "Vi") are in
// capital_check_steps.cpp.
#include "ocrlib/checks/capital_checks.h"

using namespace checkrow;

namespace {

// The plain capital rows measure chords with nothing added.
constexpr McnMode kMcn = kMcnRaw;

// The angle at a point between the vectors to the stroke's second and to
// its first end.
int32_t AngleOfEndsAt(CheckContext& c, const PointView& p, const StrokeView& s) {
  const PointView e1 = c.End(s, 1), e2 = c.End(s, 2);
  c.Need(p.present && e1.present && e2.present);
  return c.AngleBetween(e2.x - p.x, e2.y - p.y, e1.x - p.x, e1.y - p.y);
}

// "Ta", "Ye": the stroke's ends seen from point 0 at least `least` degrees apart.
void RequireEndsOpenAtPoint(CheckContext& c, int32_t least) {
  const PointView p0 = c.F(0);  // read whether matched or not: unmatched rejects
  const StrokeView s0 = c.S(0);
  c.RejectIf(AngleOfEndsAt(c, p0, s0) < least);
}

}  // namespace

void CheckCapitalA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.RejectIf(s0.x2 - s0.x1 < 77);
}

void CheckCapitalAa(CheckContext& c) {
  c.AcceptWhen(c.OptF(0).present);
  const StrokeEnds e0 = UpperAndLowerEnds(c, c.S(0));
  const StrokeEnds e1 = UpperAndLowerEnds(c, c.S(1));
  const int32_t g = e1.upper.x - e0.upper.x, spread = e1.lower.x - e0.lower.x;
  c.AcceptWhen(g < 1);
  c.RejectIf(2 * g > spread);
}

void CheckCapitalB(CheckContext& c) {
  c.AcceptUnlessDigitsAndCapitals();
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 65, cx < 193, cy >= 159, x1 < 152, x2 >= 21, w >= 77, ux < 29});
  c.Require(c.Mcn(s0, kMcn), {dev <= -46});
  const StrokeView s1 = c.S(1);
  c.Require(s1,
            {cx(97, 171), y1 <= 195, x2 <= 105, y2 <= 80, w >= 37, h <= 195, ux >= -8, uy(31, 97)});
  c.Require(c.Mcn(s1, kMcn), {dev < -22, ox >= 23, oy >= -113, oy < 15});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(38, 140), cy(78, 174), y1 >= -6, x2 <= 54, y2 >= 56, w <= -76, h >= -116,
                 ux >= -32, uy <= -30});
  c.Require(c.Mcn(s2, kMcn), {oy >= -6});
  c.RequireIfPresent(c.OptF(0), {x(32, 180), y >= 207});
  c.Require(c.F(1), {x >= 107, y(94, 195)});  // point 1 read whether matched or not
  c.RejectIf(s0.x1 - EdgeBySubKind(s2) > 100);
}

void CheckCapitalBa(CheckContext& c) {
  c.AcceptUnlessDigitsAndCapitals();
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 134, cy <= 134, x1 <= 185, y1(97, 197), x2(9, 198), y2(90, 178), w <= 241,
                 h >= 255, uy(-18, 30)});
  c.Require(c.Mcn(s0, kMcn), {ox(-62, 73)});
  c.RequireIfPresent(c.OptF(0), {x(4, 107), y >= 90, y < 200});
  c.Require(c.F(1), {x(80, 198), y(105, 186)});  // point 1 read whether matched or not
  const int32_t bulge = RingWalkBulge(c, FirstHoleRing(c), kDirYMinusX, kDirNegXY, 8);
  c.Need(bulge < 13);
}

void CheckCapitalBe(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x2 < 156, ux >= -44});
  c.Require(c.Mcn(s0, kMcn), {dev < -41, ox >= 34});
}

void CheckCapitalC(CheckContext& c) {
  c.Require(c.S(0), {x1 >= 100, ux >= 0});
  c.Require(c.S(1), {cx <= 135});
}

void CheckCapitalCa(CheckContext& c) {
  c.Require(c.S(0), {cx >= 135, x2 < 36, y2 >= 5});
  c.Require(c.S(1), {cx <= 135});
}

void CheckCapitalD(CheckContext& c) {
  c.Require(c.S(0), {cy < 151, x1 < 146, y1 >= 175, x2 < 94});
  c.Require(c.S(1), {y2 >= 60});
  const PointView p1 = c.OptF(1);
  c.AcceptWhen(!p1.present);
  c.Require(p1, {y <= 80});
}

void CheckCapitalE(CheckContext& c) {
  c.AcceptWhen(c.OptS(0).present());
  c.Require(c.S(1), {x1 >= 128, x2 >= 128});
  const PointView p0 = c.OptF(0);
  c.AcceptWhen(!p0.present);
  c.Require(p0, {x <= 107});
}

void CheckCapitalEa(CheckContext& c) {
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 70, x2 >= 30, w >= 37});
  c.Require(c.Mcn(s1, kMcn), {ox <= 5});
  c.Require(c.S(2), {x1 >= 99, ux >= -43});
  c.RequireIfPresent(c.OptF(0), {x <= 160});
  const PointView p1 = c.OptF(1);
  c.AcceptWhen(!p1.present);
  c.Require(p1, {x <= 103});
}

void CheckCapitalEd(CheckContext& c) {
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x1 < 12, y1 >= -21, y2 < 38, h < 122, uy >= -27});
  c.Require(c.Mcn(s1, kMcn), {dev < 25, ox < 12, oy >= -21});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {x1 <= 10, y1 >= -23, uy >= -25});
  c.Require(c.Mcn(s2, kMcn), {dev < 27, ox < 11, oy >= -23});
}

void CheckCapitalEe(CheckContext& c) {
  c.Require(c.S(2), {cy < 93, x2 >= 35, w >= 66, ux < -17});
  const PointView p1 = c.OptF(1);
  c.AcceptWhen(!p1.present);
  c.Require(p1, {y >= 88});
}

void CheckCapitalF(CheckContext& c) { c.Require(c.S(1), {x1 < 121, ux < -29}); }

void CheckCapitalFa(CheckContext& c) {
  c.Require(c.S(0), {cy >= 193, x2 >= 40, w >= 54});
  c.Require(c.S(1), {cy >= 60, y2 < 31});
  const PointView p1 = c.OptF(1);
  c.AcceptWhen(!p1.present);
  c.Require(p1, {y >= 179});
}

void CheckCapitalFe(CheckContext& c) {
  c.Require(c.S(0), {x1 < 115, y1 < 7, y2 >= 250, h >= 243, ux < -21, uy < -120});
  c.Require(c.S(1), {cx >= 97, x2 <= 111, ux >= -55});
  const PointView p0 = c.OptF(0);
  c.AcceptWhen(!p0.present);
  c.Require(p0, {x >= 16});
}

void CheckCapitalGb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {y1 >= 13});
  c.AcceptUnlessDigitsAndCapitals();
  c.Require(s0, {cx >= 104, cx < 133, cy >= 128, cy < 187, x1 >= 128, y1 < 159, x2 >= 107,
                 y2 >= 185, w >= 80, w < 224, h >= 140, ux >= -21, ux < 56, uy >= -111, uy < -24});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 128, cy <= 118});
  c.Require(s1, {x1(64, 162), y1 <= 211, x2(138, 223), y2 <= 174, w(25, 136), h(83, 211),
                 ux(-68, -9), uy >= -90, uy < 106});
}

void CheckCapitalGg(CheckContext& c) {
  c.Require(c.S(0), {y1 >= 20, x2 < 248, w < 251, ux >= -25});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cy <= 133, x1 >= -3, y1 >= -7, ux >= -41});
  c.Require(c.Mcn(s1, kMcn), {dev <= 9, oy >= -7});
}

void CheckCapitalH(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x2 < 51});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx < 101, x2 < 51});
  const StrokeEnds e0 = UpperAndLowerEnds(c, s0), e1 = UpperAndLowerEnds(c, s1);
  const int32_t d = e0.upper.x - e1.upper.x, e = e0.lower.x - e1.lower.x;
  c.Need(d >= 60 && 2 * d - e >= 40);
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cy <= 194, x1 <= 6, y1 >= -21, w >= 18, h >= -107, uy >= -24});
  c.Require(c.Mcn(s2, kMcn), {dev < 23, ox < 7, oy >= -21});
  c.RequireIfPresent(c.OptF(0), {y <= 209});
  const PointView p1 = c.OptF(1);
  c.AcceptWhen(!p1.present);
  c.Require(p1, {x <= 101});
}

void CheckCapitalId(CheckContext& c) {
  c.AcceptUnlessDigitsAndCapitals();
  c.RejectIf(c.frame().offsetX < 10);
  const StrokeView s0 = c.S(0);
  const McnView m = c.Mcn(s0, kMcn);
  c.Need(m.present && s0.w - m.ox <= 20);
}

void CheckCapitalIe(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx < 129, x1 >= 38, x2 >= 71, y2 < 28, w < 111, h >= 229});
  c.Need(s0.x1 - s0.x2 < 2);
  c.Require(c.Mcn(s0, kMcn), {dev >= -96, ox < 97, oy >= 0, oy < 28});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cy >= 112, x1 <= 217, y1 <= 31, x2 <= 156, w <= 144, ux >= -5, uy <= -97});
  c.Require(c.Mcn(s1, kMcn), {ox >= -121, oy(-59, 4)});
  c.AcceptUnlessDigitsAndCapitals();
  c.RejectIf(c.frame().offsetX < 65 || s0.x1 > 128 || s1.x1 < 128);
}

void CheckCapitalJa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 < 4, x2 >= 52, ux < -25});
  c.Require(c.Mcn(s0, kMcn), {ox <= 3});
  c.Require(c.S(1), {x1 >= 40, y1 < -9, x2 >= 37});
}

void CheckCapitalKa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 >= -22, y1 < 5});
  c.Require(c.Mcn(s0, kMcn), {dev >= -24, ox >= -24, oy < 5});
  c.RejectIf(PieceBend(c, c.S(1), 0) > 35);
}

void CheckCapitalKb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 98, x1 < -15, y1 < -7, x2 < 120, w < -3, ux < -36});
  c.Require(c.Mcn(s0, kMcn), {dev >= 22, ox < -16, oy < -9});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx < 148, cy < 161, x1 < -8, y1 >= 0, x2 < 107, w < -53});
  c.Require(c.Mcn(s1, kMcn), {dev < -10, ox < -10});
  const PointView p0 = c.OptF(0);
  c.AcceptWhen(!p0.present);
  c.Require(p0, {x <= 111});
}

void CheckCapitalKc(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 >= -22, y1 < 5, ux >= -21});
  c.Require(c.Mcn(s0, kMcn), {dev >= -24, ox >= -24, oy < 5});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx < 177, cy < 227, x1 < 13, y1 >= -13, y2 >= 4, h >= 14});
  c.Require(c.Mcn(s1, kMcn), {dev < 17, ox < 13, oy >= -13});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cy <= 107, x2 >= 17, ux <= -8});
  c.Require(c.Mcn(s2, kMcn), {dev >= -19, ox < 17});
  const PointView p0 = c.OptF(0);
  c.AcceptWhen(!p0.present);
  c.Require(p0, {y <= 204});
}

void CheckCapitalKd(CheckContext& c) {
  c.Require(c.Mcn(c.S(0), kMcn), {dev < -25, ox < -21});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x1 <= -10, y1 >= 7, uy >= -60});
  c.Require(c.Mcn(s1, kMcn), {dev < -13, ox < -10, oy >= 7});
  const PointView p0 = c.OptF(0);
  c.AcceptWhen(!p0.present);
  c.Require(p0, {x <= 98});
}

void CheckCapitalKe(CheckContext& c) {
  c.Require(c.Mcn(c.S(0), kMcn), {dev >= -16, ox < 15, oy < 11});
}

void CheckCapitalLa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 < -52, y1 < -19, ux < -51, uy < -73});
  c.Require(c.Mcn(s0, kMcn), {dev >= 70, ox < -61, oy < -19});
}

void CheckCapitalLb(CheckContext& c) {
  c.Require(c.S(0), {cy < 115, y2 < 225, h < 225, uy >= -116});
  const StrokeView s1 = c.S(1);
  c.Require(c.Mcn(s1, kMcn), {dev >= -43, ox <= 43});
  c.AcceptUnlessDigitsAndCapitals();
  c.Require(s1, {cx <= 94, cy <= 183, x1 <= 67, x2 <= 94, w <= 59, ux(-18, 13)});
}

void CheckCapitalLc(CheckContext& c) {
  c.Require(c.S(0), {cx <= 100});
  c.Require(c.S(1), {x2 >= 56});
  c.Require(c.F(0), {x <= 100});  // point 0 read whether matched or not
}

void CheckCapitalM(CheckContext& c) {
  const StrokeView s1 = c.S(1);
  c.Require(s1, {y1 < 225, x2 >= 130, ux < 4});
  c.Require(c.Mcn(s1, kMcn), {oy >= -2});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cy < 246, h >= 32});
  c.Require(c.Mcn(s2, kMcn), {dev < -18, oy < -18});
  c.Require(c.S(3), {y2 <= 224, uy >= -108});
}

void CheckCapitalMb(CheckContext& c) { c.Require(c.S(2), {y1 >= 119}); }

void CheckCapitalMf(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 76, cy >= 90, x1 >= -26, y1 <= 6, x2 <= 64, y2 >= 67, w <= -91, ux >= -27,
                 uy <= -30});
  c.Require(c.Mcn(s0, kMcn), {dev >= -24, ox >= -26, oy < 8});
}

void CheckCapitalNa(CheckContext& c) {
  c.Require(c.S(1), {cy < 176, x1 >= 140, y2 >= 70, h >= 120, ux >= 30});
  c.Require(c.S(2), {cx <= 105, cy(50, 160), x1 >= -18, y2 >= 45});
  const PointView p0 = c.OptF(0);
  c.AcceptWhen(!p0.present);
  c.Require(p0, {x < 116, y >= 78});
}

void CheckCapitalNc(CheckContext& c) {
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cy < 187, x1 < 35, y1 >= -34, y1 < 24, y2 >= 35});
  c.Require(c.Mcn(s2, kMcn), {dev >= -39, dev < 48, ox < 35, oy >= -34, oy < 25});
  c.RequireIfPresent(c.OptF(1), {y <= 131});
  const PointView e1 = c.End(s2, 1), e2 = c.End(s2, 2);
  c.Need(e1.present && e2.present && e1.y - e2.y >= 75);
}

void CheckCapitalNd(CheckContext& c) {
  c.Require(c.S(0), {cy >= 101, h >= -109});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cy >= 69, y2 < 121, h >= 128});
  c.Require(c.Mcn(s1, kMcn), {dev < -90, oy >= 67});
}

void CheckCapitalOb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x2 >= 148, ux < -45});
  c.Require(c.Mcn(s0, kMcn), {ox <= 33});
}

void CheckCapitalP(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 < 111, y1 < 16, x2 < 126, y2 >= 65, uy < -31});
  c.Require(c.Mcn(s0, kMcn), {ox >= -108});
}

void CheckCapitalPa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy >= 135, x1 < 186, y1 >= 170, x2 < 151, y2 >= 65, h < 191, ux < 61});
  c.Require(c.Mcn(s0, kMcn), {oy >= -72});
}

void CheckCapitalQa(CheckContext& c) {
  c.Require(c.S(0), {cy <= 100});
  c.Require(c.S(1), {cx < 136});
  c.Require(c.F(1), {x >= 120, y < 116});  // point 1 read whether matched or not
}

void CheckCapitalQd(CheckContext& c) {
  c.AcceptUnlessDigitsAndCapitals();
  // No chain of its own: the leftmost point of the chain the last measure left.
  c.Require(c.EPOnScratchChain(kDirNegX), {x >= 1, y >= 80});
}

void CheckCapitalRb(CheckContext& c) {
  c.Require(c.S(0), {cx < 136, x2 < 156, y2 >= 60, ux >= -70, uy < -19});
  c.Require(c.S(1), {cx >= 100, y2 >= 20});
  const PointView p0 = c.OptF(0);
  c.AcceptWhen(!p0.present);
  c.Require(p0, {x < 91, y >= 60});
}

void CheckCapitalRc(CheckContext& c) {
  c.AcceptUnlessDigitsAndCapitals();
  const StrokeView s0 = c.S(0);
  c.RejectIf(s0.x1 - EdgeBySubKind(c.S(2)) > 100);
}

void CheckCapitalRe(CheckContext& c) {
  c.AcceptUnlessDigitsAndCapitals();
  const StrokeView s0 = c.S(0);
  c.RejectIf(c.S(2).x1 - EdgeBySubKind(s0) > 100);
}

void CheckCapitalTa(CheckContext& c) { RequireEndsOpenAtPoint(c, 145); }

void CheckCapitalVa(CheckContext& c) {
  c.Require(c.S(0), {cx >= 125, cx < 136});
  c.Require(c.S(2), {y2 >= 32, w <= 5, h >= 26, uy <= -17});
  const PointView p0 = c.OptF(0);
  c.AcceptWhen(!p0.present);
  c.Require(p0, {y <= 128});
}

void CheckCapitalX(CheckContext& c) { c.Require(c.Mcn(c.S(1), kMcn), {ox >= -33}); }

void CheckCapitalY(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy < 240});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx < 126, y1 >= -6, x2 < 100, w < -63, ux >= -48, uy >= -65});
  c.Require(c.Mcn(s1, kMcn), {oy >= -6});
  const PointView p0 = c.F(0);  // read whether matched or not
  c.Require(p0, {y <= 219});
  const int32_t angle = c.AngleBetween(s0.cx + s0.x2 - p0.x, s0.cy + s0.y2 - p0.y,
                                       s1.cx - s1.x2 - p0.x, s1.cy + s1.y2 - p0.y);
  c.RejectIf(angle > 147);
}

void CheckCapitalYa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 >= -70, x1 < 8, y1 >= -3, x2 < 89, w < -102, uy >= -64});
  c.Require(c.Mcn(s0, kMcn), {dev >= -83, dev < 10, ox >= -70, ox < 8, oy >= -3});
  c.Require(c.S(1), {cy <= 237, x2 <= 88, y2 >= 9, h <= -27, uy <= -1});
  const PointView p0 = c.OptF(0);
  c.AcceptWhen(!p0.present);
  c.Require(p0, {x < 182, y < 215});
}

void CheckCapitalYb(CheckContext& c) { c.Require(c.S(1), {cy < 242, y2 >= 5, h < -7, uy < -2}); }

void CheckCapitalYd(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy < 243, x1 >= 180, x2 < 77, w >= 104, h >= 36, ux >= 52});
  c.Require(c.Mcn(s0, kMcn), {dev < -26, oy < -26});
  c.Require(c.S(1), {y2 <= 111, uy >= -55});
  const PointView p0 = c.F(0);  // read whether matched or not
  c.Require(p0, {y <= 223});
  c.RejectIf(AngleOfEndsAt(c, p0, s0) > 140);
}

void CheckCapitalYe(CheckContext& c) { RequireEndsOpenAtPoint(c, 125); }

void CheckCapitalZ(CheckContext& c) {
  c.Require(c.S(0), {cx >= 70, x1 < 106, w >= 90});
  c.AcceptUnlessDigitsAndCapitals();
  c.Need(c.OptS(2).present());
}
