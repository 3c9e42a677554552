// The "@" capital checks whose windows are followed by further tests: where
// the bowls of a "B" turn ("@B", "@Ba", "@Bc"), the corners and the outline
// rings of a "D" ("@D", "@Da", "@Db"), the hook of a "J", the arms of a "K",
// the foot of an "L", the waist of an "S" ("@Sa"), the top of a "T" and the
// corner of a "V" ("@Va"). Contour tests follow the contour point a stroke
// point was traced from, which only the polygon steps record.
#include "ocrlib/checks/capital_checks.h"

using namespace checkrow;

namespace {

// -1 when the chain turns clockwise (or not at all) at b, +1 otherwise.
int TurnSign(const StrokePoint& a, const StrokePoint& b, const StrokePoint& c) {
  const int64_t t = int64_t{b.x - a.x} * (c.y - b.y) - int64_t{c.x - b.x} * (b.y - a.y);
  return t < 1 ? -1 : 1;
}

// "@B", "@Ba": the turn of the upper bowl on the stroke of the waist, read
// only with digits and unless the stroke turns one way all along: its
// upper-right and upper-left extremes, the same point when it turns sharply.
struct BowlTurn {
  PointView upperRight, upperLeft;
  bool Sharp() const { return upperRight.x == upperLeft.x && upperRight.y == upperLeft.y; }
  int32_t Rise() const { return upperLeft.y - upperRight.y; }
};
BowlTurn MeasureBowlTurn(CheckContext& c, const StrokeView& s) {
  c.AcceptUnlessDigitsAndCapitals();
  c.AcceptWhen(s.subKind == 3 || s.subKind == 4 || s.subKind == 7);
  const BowlTurn turn = {c.XP(s, kDirPosXY, -1), c.XP(s, kDirYMinusX, 1)};
  c.Need(turn.upperRight.present && turn.upperLeft.present);
  return turn;
}

void CheckBowlTurnOfB(CheckContext& c, const StrokeView& s) {
  const BowlTurn turn = MeasureBowlTurn(c, s);
  const PointView right = c.XP(s, kDirPosX, 1);
  if (turn.Sharp()) {
    c.AcceptWhen(right.y < 95 || right.y > 173);
    c.RejectIf(right.x - c.XP(s, kDirNegXY, 1).x > 48);
    c.Accept();
    return;
  }
  c.AcceptWhen(turn.Rise() < 26);
  c.RejectIf(turn.Rise() > 54);
  c.AcceptWhen(right.y < 134 || right.y > 169);
  c.RejectIf(turn.upperLeft.y - c.XP(s, kDirNegXY, 1).y < 215);
}

// "@Ba": the same turn, with its own limits and no lower-left test at the end.
void CheckBowlTurnOfBa(CheckContext& c, const StrokeView& s) {
  const BowlTurn turn = MeasureBowlTurn(c, s);
  const PointView right = c.XP(s, kDirPosX, 1);
  if (turn.Sharp()) {
    c.AcceptWhen(right.y > 173);
    c.RejectIf(right.x - c.XP(s, kDirNegXY, 1).x > 29);
    c.Accept();
    return;
  }
  c.AcceptWhen(turn.Rise() < 26);
  c.RejectIf(turn.Rise() > 36);
  c.RejectIf(right.y < 193);
}

// "@D", "@Db": the upper-left corner of the stroke's chain, between its
// upper-left, highest and leftmost points, at most `limit` wide and high.
void RejectWideUpperLeft(CheckContext& c, const StrokeView& s, int32_t limit) {
  const PointView a = c.XP(s, kDirYMinusX, -1), b = c.XP(s, kDirPosY, -1);
  const PointView left = c.XP(s, kDirNegX, 1);
  c.RejectIf((a.x - left.x) + (b.y - a.y) > limit);
}

// The slope angle (-90..90) of a chord of a contour ring (rows grow down).
int32_t ContourTilt(const ContourPoint* a, const ContourPoint* b) {
  if (a == nullptr || b == nullptr) return 90;
  return Tilt(a->x - b->x, b->y - a->y);
}

// "@Sa": the outline along the waist, from the end of the upper stroke to
// the start of the lower one, and the corners of the lower stroke, by its
// stroke code.
void CheckWaistOfSa(CheckContext& c, const StrokeView& s0, const StrokeView& s3) {
  c.AcceptUnlessDigitsAndCapitals();
  const int code = s3.code;
  // Codes without a rule keep the candidate before anything is measured.
  c.AcceptWhen(code != 72 && code != 81 && code != 82 && code != 91 && code != 101 && code != 111);
  const PointView from = c.PolygonSource(s0.segment != nullptr ? s0.segment->end2 : -1);
  const PointView to = c.PolygonSource(s3.segment != nullptr ? s3.segment->end1 : -1);
  c.Need(from.present && to.present);  // no contour points on the thinned steps: rejected
  if (c.decided()) return;
  const ContourPoint* a = FindContourExtremeInRange(from.contour, to.contour, kDirPosXY, 0);
  const ContourPoint* b = FindContourExtremeInRange(from.contour, to.contour, kDirYMinusX, 0);
  DrawArcEndsTogether(a, b, 2);
  const int32_t d1 = FrameUnits(MaxContourChordDeviation(a, b), c.frame());
  const int32_t a1 = ContourTilt(a, b);
  const ContourPoint* e = FindContourExtremeInRange(b, to.contour, kDirNegXY, 0);
  if (e == to.contour->prev) e = FindContourExtremeInRange(b, to.contour, kDirNegX, 0);
  DrawArcEndsTogether(b, e, 2, true);
  const int32_t d2 = FrameUnits(MaxContourChordDeviation(b, e), c.frame());
  const int32_t a2 = ContourTilt(b, e);
  const Corners k = c.StrokeCorners(s3);
  const PointView &c0 = k.c1, &c1 = k.c2, &c2 = k.c3, &c3 = k.c4;
  const int32_t q = c1.x - c0.x + c1.y + c0.y;
  switch (code) {
    case 72:
      c.RejectIf(c2.x < 190);
      c.Need(d1 <= 7);
      break;
    case 81:
      if (d1 > 0) {
        c.RejectIf(a1 < 20);
        c.Need(c0.y <= 180);
      } else {
        c.Need(d2 <= 5 && d1 + d2 <= -2 && a2 - a1 >= -100 && a2 - a1 <= 82 && c2.x >= 190 &&
               c1.y >= 200 && c3.y >= 20 && c3.x + c3.y >= 45 && q <= 724);
      }
      break;
    case 82:
      c.Need(d1 <= 0 && a1 >= -30 && c0.x <= 114 && c3.x + c3.y >= 140 && d1 + d2 <= -2);
      break;
    case 91:
      if (d1 > 0) {
        c.AcceptWhen(a1 >= 0);
        c.RejectIf(c3.y > 205);
        c.Need(c1.x <= 205);
      } else {
        c.Need(d2 <= 6 && d1 + d2 <= -2 && c3.x <= 20 && c2.x >= 128 && c2.y <= 0 && q <= 730);
        c.AcceptWhen(d1 + d2 <= -25 || c0.y <= 213 || c2.x >= 240 || c3.x + c3.y >= 100);
        c.Need(d2 <= -6 && d1 + d2 <= -10 && c3.y >= 70 && q <= 671);
      }
      break;
    case 101: {
      const int32_t fxo = c.frame().offsetX;
      c.RejectIf(fxo > 65 || c2.y > 0 || c2.x < 138 || q < 580);
      c.Need(fxo <= 57 || d1 + d2 <= -22);
      break;
    }
    default:  // 111
      c.Need(c0.y - c3.x - c0.x >= 160 || c3.y >= 100);
      break;
  }
}

}  // namespace

void CheckAtCapitalB(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(95, 175), cy(130, 230), x1(30, 158), x2(117, 230), y2(101, 191), w >= 102,
                 h >= 65, ux(-92, -14), uy(-78, 70)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx <= 100, cy(95, 160), x1 <= 120, y1 >= 170, x2 <= 100, y2 <= 87, w <= 145,
                 h >= 151, ux(-38, 55), uy >= 75});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 159, cy(90, 207), x1 >= 175, y1(23, 180), x2 >= 167, y2 >= 120, w(18, 115),
                 h(40, 190), ux(-32, 32), uy(-95, -20)});
  c.Require(c.Mcn(s2, kMcnOffsets128), {dev(-92, -12), ox(35, 116), oy(95, 150)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(93, 170), cy(52, 128), x1 >= 117, y1(101, 191), x2 <= 122, w >= 119, h >= 100,
                 ux >= 17});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(112, 200), cy(165, 215), w(25, 170), h(39, 143)});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(115, 190), cy(46, 116), w(30, 185), h(56, 151)});
  CheckBowlTurnOfB(c, s1);
}

void CheckAtCapitalBa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(164, 245), cy(105, 200), x1 >= 160, y1(34, 145), x2(176, 245), y2(160, 249),
                 w(20, 100), h(35, 173), ux(-12, 30), uy(-86, -25)});
  c.Require(c.Mcn(s0, kMcnRaw), {dev <= -16, ox <= -16, oy <= 9});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(117, 165), cy(79, 128), x1(120, 210), y1(100, 185), x2 <= 115, y2 >= 158,
                 w >= 90, h >= 158, ux(16, 100), uy <= -3});
  c.Require(c.Mcn(s1, kMcnRaw), {dev <= -121, ox <= -10});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx <= 87, cy(107, 200), x1 <= 92, y1 >= 202, x2 <= 85, y2 <= 44, w <= 100,
                 h >= 168, ux(-32, 32), uy >= 84});
  c.Require(c.Mcn(s2, kMcnRaw), {oy >= -8});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(90, 170), cy(184, 225), x1 <= 115, y1 >= 158, x2(120, 210), y2(105, 185),
                 w >= 90, h(70, 144), ux <= -16, uy >= 3});
  c.Require(c.Mcn(s3, kMcnRaw), {dev >= -113, ox >= 4, oy <= 111});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(121, 200), cy(179, 212), w(39, 155), h(51, 143)});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx(121, 190), cy(46, 116), w(30, 185), h(77, 155)});
  CheckBowlTurnOfBa(c, s2);
}

void CheckAtCapitalBc(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(145, 229), cy(100, 208), x1 >= 170, y1 >= 30, x2 >= 165, y2(135, 245),
                 w(23, 116), h(20, 180), ux(-30, 30), uy(-90, -10)});
  c.Require(c.Mcn(s0, kMcnOffsets128), {dev(-83, -17), ox <= 112, oy(95, 150)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(126, 134), cy(126, 134), x1(80, 205), y1(112, 185), x2(80, 205), y2(112, 185),
                 w >= 111, h >= 248});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(108, 200), cy(170, 211), w(51, 180), h <= 135});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(101, 152), cy(60, 116), w(30, 194), h(70, 155)});
  c.AcceptUnlessDigitsAndCapitals();
  // The ring of the bowls turns one way all round but at its waist's sharp corners.
  const ChainView chain = c.Chain(s1);
  c.AcceptWhen(chain.count < 4);
  if (c.decided()) return;
  int turn = TurnSign(chain.At(0), chain.At(1), chain.At(2));
  for (int i = 2; i <= chain.count - 2; ++i) {
    const StrokePoint &p = chain.At(i - 1), &q = chain.At(i), &r = chain.At(i + 1);
    const int next = TurnSign(p, q, r);
    c.RejectIf(next != turn && AngleAtVertex({q.x, q.y}, {p.x, p.y}, {r.x, r.y}) < 155);
    turn = next;
  }
}

void CheckAtCapitalD(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(10, 88), cy(103, 154), x1 <= 103, y1 >= 150, x2 <= 82, y2 <= 53, w <= 128,
                 h >= 135, ux(-35, 40), uy >= 62});
  c.Require(c.Mcn(s0, kMcnOffsets128), {dev <= -20, ox >= 149, oy(96, 158)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(125, 138), cy(125, 138), x1 <= 128, x2 <= 128, w >= 140, h >= 185, ux(-33, 40),
                 uy >= 0});
  c.Require(c.Mcn(s1, kMcnOffsets128), {oy <= 213});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(130, 192), cy(115, 163), h >= 135});
  c.RejectIf(c.CornerAngle(c.EP(s1, kDirPosX)) < 90);
  c.AcceptUnlessDigitsAndCapitals();
  c.AcceptWhen(s0.code != 25 && s0.code != 35 && s0.code != 44);
  c.RejectIf(s0.y2 > 36);
  const PointView p3 = c.XP(s1, kDirYMinusX, -1);
  c.AcceptWhen(p3.y - p3.x > 181);
  c.RejectIf(s1.x2 < c.XP(s1, kDirNegXY, -1).x);
  RejectWideUpperLeft(c, s2, 48);
}

void CheckAtCapitalDa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(125, 135), cy(125, 135), w >= 128, h >= 224});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(120, 163), cy(107, 157), w >= 83, h >= 145});
  c.RejectIf(c.CornerAngle(c.EP(s0, kDirPosX)) < 90);
  c.AcceptUnlessDigitsAndCapitals();
  const PointView left = c.XP(s0, kDirNegX, 1);
  c.RejectIf(left.y > 66 && left.y < 192);
  c.RejectIf(c.XP(s0, kDirPosY, -1).x > 120);
  const PointView p3 = c.XP(s0, kDirYMinusX, 1);
  c.RejectIf(p3.y - p3.x < 153);
  const PointView p1 = c.XP(s0, kDirNegXY, -1);
  c.RejectIf(p1.x + p1.y > 77);
  // The two strokes start on the two rings of the bowl, the outer one and the hole.
  const PointView c0 = c.ChainStartSource(s0), c1 = c.ChainStartSource(s1);
  const PointView inner = OnOuterRing(c0) ? c1 : c0, outer = OnOuterRing(c0) ? c0 : c1;
  c.Need(inner.present && outer.present);  // no contour points on the thinned steps: rejected
  if (c.decided()) return;
  const PointView q3 = c.XC(inner, kDirYMinusX, -1), q1 = c.XC(inner, kDirNegXY, -1);
  c.RejectIf(NormalizedChordDeviation(q3.contour, q1.contour, c.args().frame) > 4000);
  const PointView q4 = c.XC(inner, kDirPosY, -1);
  c.RejectIf(q4.y - q3.y >= 36);
  const PointView q2 = c.XC(inner, kDirNegX, 1);
  c.AcceptWhen(q4.y - q2.y < 23 || q4.y - q2.y >= 237);
  const PointView o3 = c.XC(outer, kDirYMinusX, -1), o1 = c.XC(outer, kDirNegXY, -1);
  c.RejectIf(NormalizedChordDeviation(o1.contour, o3.contour, c.args().frame) < -2600);
}

void CheckAtCapitalDb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(10, 88), cy(103, 154), x1 <= 85, y1 >= 210, x2 <= 82, y2 <= 54, w <= 100,
                 h >= 160, ux(-14, 30), uy >= 70});
  c.Require(c.Mcn(s0, kMcnOffsets128), {dev <= -10, ox >= 139, oy(96, 158)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(125, 135), cy(125, 135), x1 <= 128, w >= 120, h >= 225});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(125, 170), cy(105, 163), w(60, 209), h >= 135});
  c.RejectIf(c.CornerAngle(c.EP(s1, kDirPosX)) < 93);
  c.AcceptUnlessDigitsAndCapitals();
  c.AcceptWhen(s0.y1 - s0.x1 >= 200);
  c.AcceptWhen(c.XP(s0, kDirPosX, -1).y < 145);
  RejectWideUpperLeft(c, s2, 70);
  const PointView start = c.ChainStartSource(s2);
  c.Need(start.present);  // no contour points on the thinned steps: rejected
  const PointView q3 = c.XC(start, kDirYMinusX, -1), q1 = c.XC(start, kDirNegXY, -1);
  c.RejectIf(NormalizedChordDeviation(q1.contour, q3.contour, c.args().frame) < -2300);
}

void CheckAtCapitalJ(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(140, 245), cy(100, 230), x1(75, 230), y1 <= 200, x2 >= 170, y2 >= 190, w <= 165,
                 ux(-85, 4), uy <= -8});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(65, 148), cy(88, 130), x1(100, 225), y1 >= 180, x2 <= 190, y2 <= 95, w >= 64,
                 h >= 165, ux(-5, 95), uy >= 40});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(55, 140), cy(90, 160), x1 <= 160, y1 >= 165, x2 <= 103, y2 <= 165, w(55, 210),
                 h >= 128, ux(-50, 80), uy >= 35});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(125, 205), cy >= 200, x1(75, 210), y1 >= 155, x2(105, 225), y2 >= 180, h <= 100,
                 ux(-65, 2), uy(-35, 35)});
  c.RejectIf(c.CornerAngle(c.End(s0, 1)) < 75);
  c.AcceptWhen(s1.code != 66 && s1.code != 76 && s1.code != 86);
  const PointView end = c.PolygonSource(s1.segment != nullptr ? s1.segment->end1 : -1);
  c.Need(end.present);  // no contour points on the thinned steps: rejected
  const PointView q = c.XC(end, kDirXMinusY, 1);
  c.RejectIf(MaxContourChordDeviation(q.contour, end.contour) > 350);
}

void CheckAtCapitalK(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(85, 170), cy(121, 225), x1 <= 155, y1(70, 210), x2 <= 173, y2(55, 215), w >= 40,
                 h <= 184, ux(-50, 40), uy(-40, 50)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(75, 175), cy(166, 235), x1 >= 110, y1 >= 140, x2 <= 150, y2 >= 185, w >= 40,
                 h(45, 184), ux >= 21, uy(-55, 30)});
  c.Require(c.Mcn(s1, kMcnRaw), {ox >= -90});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(115, 200), cy(75, 190), x1 >= 128, y1 <= 128, x2 >= 115, y2 >= 128, w >= 40,
                 h >= 94, ux(-45, 60), uy <= -47});
  c.Require(c.Mcn(s2, kMcnOffsets128), {dev <= -40, ox <= 100});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(85, 184), cy(25, 128), x1 <= 173, y1 <= 192, y2 <= 188, w >= 50, h(16, 188),
                 ux(-65, 48), uy(-50, 53)});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cx(68, 164), cy <= 95, x1 <= 118, y1 <= 68, x2 >= 90, y2 <= 120, w >= 40, h <= 180,
                 ux <= -20, uy(-50, 34)});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {cx <= 105, cy(100, 165), x1 <= 137, y1 <= 183, x2 <= 128, y2(72, 217), w <= 104,
                 h >= 160, ux(-20, 34), uy(-71, 20)});
  c.Require(c.Mcn(s5, kMcnRaw), {ox <= 79});
  c.AcceptUnlessDigitsAndCapitals();
  const PointView a = c.XP(s4, kDirYMinusX, 1), b = c.XP(s4, kDirXMinusY, 1);
  c.AcceptWhen(a.y - b.y > 24);
  c.RejectIf(a.x - c.XP(s4, kDirNegXY, -1).x > 31);
  const PointView d = c.XP(s5, kDirNegX, 1);
  c.AcceptWhen(d.y < 121);
  c.RejectIf(c.XP(s5, kDirNegY, -1).x - d.x > 23);
}

void CheckAtCapitalL(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(70, 175), cy(55, 170), x1 >= 128, y1 <= 120, x2 <= 160, y2 >= 100, w >= 55,
                 h >= 90, ux >= 26, uy <= -30});
  c.Require(c.Mcn(s0, kMcnOffsets128), {dev <= -45, ox <= 85, oy <= 118});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(125, 138), cy(125, 138), y1 <= 65, x2 <= 120, w >= 100, h >= 190, ux(-10, 80),
                 uy <= 2});
  c.Require(c.Mcn(s1, kMcnRaw), {dev >= 0, ox >= 0, oy >= -35});
  const PointView p1 = c.XP(s1, kDirNegXY, -1);
  switch (s0.code) {
    case 31: c.RejectIf(c.XP(s1, kDirYMinusX, -1).y - p1.y < 160); break;
    case 40: c.RejectIf(p1.x + p1.y > 92); break;
    case 50: c.RejectIf(p1.x + p1.y > 52); break;
    default: break;
  }
}

void CheckAtCapitalSa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(103, 190), cy(128, 215), x1 >= 128, y1(16, 165), x2 >= 128, y2 >= 120, w >= 30,
                 h >= 60, ux(-30, 40), uy <= -5});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(90, 170), cy(45, 128), x1 <= 150, y1 >= 90, x2 >= 25, y2 <= 150, w >= 70,
                 h >= 90, ux <= 35, uy >= 15});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(80, 155), cy(45, 150), x1 <= 128, y1 >= 85, x2 <= 125, y2 <= 135, w >= 50,
                 h >= 60, ux(-50, 50), uy >= 5});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(90, 175), cy(130, 215), x1 >= 110, y1 <= 165, x2 >= 20, y2 >= 128, w >= 60,
                 h >= 80, ux >= -35, uy <= -12});
  CheckWaistOfSa(c, s0, s3);
}

void CheckAtCapitalT(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(120, 230), cy(90, 230), x1(40, 200), y1 <= 215, x2 >= 180, y2 >= 160, w >= 40,
                 h >= 60, ux <= -13, uy <= -10});
  c.Require(c.Mcn(s0, kMcnRaw), {dev <= -32, ox <= -28, oy >= 6});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(80, 185), cy(80, 130), x1(80, 195), y1 >= 128, x2 <= 179, y2 >= 87, w <= 101,
                 h >= 128, ux >= -3, uy(-80, 72)});
  c.Require(c.Mcn(s1, kMcnRaw), {oy <= 0});
  const StrokeView s2 = c.S(2);
  // S2.x1 is bounded by <= 230 and by <= 95: both hold.
  c.Require(s2, {cx(35, 111), cy >= 92, x1 <= 95, y1 >= 168, x2(40, 185), y2 <= 210, w(20, 179),
                 h >= 30, ux(-90, -2), uy >= 10});
  c.Require(c.Mcn(s2, kMcnRaw), {ox <= 121, oy >= 1});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx(125, 138), cy >= 175, x1 <= 179, y1 >= 160, x2 >= 90, y2 >= 160, w >= 100,
                 h <= 91, ux(-56, 0), uy(-20, 20)});
  c.Require(c.Mcn(s3, kMcnRaw), {oy >= -72});
  // The top of the bar must not bulge.
  const PointView end = c.PolygonSource(s0.segment != nullptr ? s0.segment->end1 : -1);
  c.Need(end.present);  // no contour points on the thinned steps: rejected
  if (c.decided()) return;
  const ContourPoint* a = FindContourExtreme(end.contour, kDirPosXY);
  const ContourPoint* b = FindContourExtreme(end.contour, kDirYMinusX);
  DrawArcEndsTogether(a, b, 2);
  c.RejectIf(NormalizedChordDeviation(a, b, c.args().frame) > 8000);
}

void CheckAtCapitalVa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 110, cy >= 80, x1 <= 60, y1 >= 170, x2 <= 170, y2 <= 50, w <= 158, h >= 140,
                 ux(-80, 5), uy >= 65});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(125, 135), cy(125, 135), x1 <= 120, y1 >= 145, w >= 150, h >= 180, ux(0, 0),
                 uy(0, 0)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(100, 180), cy(115, 178), w(25, 170), h >= 70});
  c.RejectIf(c.CornerAngle(c.XP(s1, kDirPosX, 0)) > 90);
}
