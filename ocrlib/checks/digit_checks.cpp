// The shape checks of the plain digit models, read on the strokes of the
// thinned steps: the rows that are lists of windows over the strokes, their
// chord measures and feature points, with a few extra tests each. The rows
// with longer procedures ("0", "3b", "5", "5b", "6", "7", "9") are in
// digit_check_steps.cpp.
#include <algorithm>
#include <cstdlib>

#include "ocrlib/checks/check_kit.h"
#include "ocrlib/checks/digit_checks.h"

using namespace checkrow;

namespace {

// The plain digit rows measure chords with 128 added to the offsets.
constexpr McnMode kMcn = kMcnOffsets128;

// Floor division by 2, as an arithmetic shift halves.
int32_t HalfDown(int32_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

// The slope angle of a stroke's end 1 to end 2 in the frame.
int32_t EndToEndTilt(const StrokeView& s) { return Tilt(s.x2 - s.x1, s.y2 - s.y1); }

// The slope angle (pixels) of the first step of the stroke's first piece.
int32_t FirstStepTilt(CheckContext& c, const StrokeView& s) {
  const PieceList pieces = c.Pieces(s);
  if (pieces.count < 1 || pieces[0].piece->pointCount < 2) return 0;
  const StrokePointTable& t = *c.args().points;
  const StrokePoint& a = t.points.items[pieces[0].piece->words[0]];
  const StrokePoint& b = t.points.items[pieces[0].piece->words[1]];
  return Tilt(b.x - a.x, b.y - a.y);
}

// The attachment code of a stroke edge's first attached segment when that
// segment is `s`, -1 otherwise.
int EdgeAttachCode(const CheckContext& c, int edge, int which) {
  const RecordArray<StrokeEdge>& edges = c.args().nodeLists->edges;
  if (edge >= edges.count || which >= edges.items[edge].attachCount) return -1;
  return edges.items[edge].attachCodes[which];
}

bool EdgeStartsWith(const CheckContext& c, int edge, const StrokeView& s) {
  const RecordArray<StrokeEdge>& edges = c.args().nodeLists->edges;
  return edge < edges.count && edges.items[edge].attachCount > 0 &&
         edges.items[edge].segments[0] == s.segment &&
         edges.items[edge].attachCodes[0] == kAttachEnd1;
}

}  // namespace

void CheckDigit0a(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.LimitDistanceByCode(s0, {{30, 400}, {33, 600}, {43, 1000}, {53, 1150}, {62, 1050}});
  c.Require(s0, {cx(120, 145), cy(120, 145), y2 >= 130, w >= 100, h >= 130, uy(-66, 65)});
  c.RejectIf(s0.code == 30);
  c.AcceptUnlessDigitsAndCapitals();
  const Corners k = c.OutlineCorners();
  const int32_t p = k.c1.y - k.c4.y - k.c4.x - k.c1.x;
  const int32_t q = k.c3.y - k.c3.x - k.c1.x + k.c1.y;
  c.Need(k.c3.x >= 106 && k.c4.x <= 109 && k.c3.x - k.c3.y <= 242 && p <= 229 &&
         k.c2.x - k.c3.y + k.c2.y + k.c3.x <= 692 && k.c4.x + k.c2.x + k.c4.y + k.c2.y <= 624 &&
         q <= 115 && k.c4.x + q + k.c2.x + k.c4.y + k.c2.y <= 665);
  if (s0.code == 33 || s0.code == 42 || s0.code == 43 || s0.code == 52) {
    c.RejectIf(p > 205 || q > 115);
    if (p >= 156 && q >= 56) {
      // This row builds no chain: it reads the one the measures before it left.
      const PointView lowLeft = c.EPOnScratchChain(kDirNegXY);
      c.Need(lowLeft.present);
      const int32_t a = s0.x2 - lowLeft.x, b = s0.y2 - lowLeft.y;
      const int32_t angle = Tilt(a, b);
      const bool steep = angle <= -79 || angle >= 79;
      c.RejectIf(a >= -39 && a <= 39 && b >= 236 && steep);
      c.RejectIf(a >= -9 && a <= 9 && b > 200);
      c.RejectIf(a >= -49 && a <= 49 && b >= 201 && steep);
    }
  }
  c.RejectIf(2 * (128 - c.frame().offsetX) - s0.x1 + s0.x2 < 70);
}

void CheckDigit0b(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(120, 140), cy(120, 140), y2 >= 10, w >= 100, h >= 130, uy <= 20});
  c.Require(c.Mcn(s0, kMcn), {ox <= 200});
  c.AcceptUnlessDigitsAndCapitals();
  c.AcceptWhen(s0.uy >= -50);
  c.RejectIf(s0.ux > -30);
}

void CheckDigit0c(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(80, 200), cy(100, 160), x1(-45, 20), y1(-38, 12), y2 >= 70});
  c.Require(c.Mcn(s0, kMcn), {dev(-18, 52)});
  c.Require(c.S(1), {cx(80, 160), cy(80, 210), w >= 80, h >= 80});
}

void CheckDigit1(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.LimitDistanceByCode(s0, {{12, 500}, {13, 1300}});
  c.Require(s0, {cx(125, 141), cy(125, 141), x1(-48, 37), y1(-28, 42), y2 >= 70});
  c.Require(c.Mcn(s0, kMcn), {dev(-58, 50)});
}

void CheckDigit1b(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  // A full-height bent stroke from the very bottom to the top is taken as a
  // perfect match before the distance test; its end 1 then fails y1 >= 77.
  if (s0.code == 22 && s0.y2 > 210 && s0.y1 < 3) c.candidate().distance = 0;
  c.LimitDistance(300);
  c.Require(s0, {cx(120, 140), cy(120, 140), x1 <= 170, y1 >= 77, w <= 170, h >= 250});
  c.Require(c.Mcn(s0, kMcn), {dev(-51, 0), ox >= 65, oy >= 105});
}

void CheckDigit1c(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(120, 140), cy(120, 140), x1 <= 170, y1 <= 3, y2 >= 253, w <= 110, h >= 253});
  c.Require(c.Mcn(s0, kMcn), {dev(-53, 0), ox(76, 128), oy(121, 145)});
}

void CheckDigit2(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.RejectIf(s0.code != 30 && c.distance() > 2640);
  c.Require(s0, {cx(120, 209), cy(40, 145), x1 >= 80, y1 <= 131, w >= 91});
  c.Require(c.Mcn(s0, kMcn), {dev <= -52});
  const PointView lowest = c.EP(s0, kDirNegY);
  c.Require(lowest, {y >= s0.y1 - 80});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(25, 145), cy(120, 195), y1 >= 120, x2 <= 150, y2 <= 140, ux >= -73, uy >= 29});
  c.Require(c.Mcn(s1, kMcn), {ox >= 30});
  c.RequireIfPresent(c.OptF(0), {y >= 123});
  c.AcceptUnlessDigitsAndCapitals();
  c.AcceptWhen(s1.code != 23);
  const int32_t a = FirstStepTilt(c, s1);
  const PointView v = c.EP(s1, kDirNegXY);
  int32_t va = 0;
  if (v.present) {
    const StrokePoint& p = c.args().points->points.items[v.index];
    if (p.degree == 2) {
      const StrokePoint& n0 = c.args().points->points.items[p.neighbours[0]];
      const StrokePoint& n1 = c.args().points->points.items[p.neighbours[1]];
      va = AngleAtVertex({p.x, p.y}, {n0.x, n0.y}, {n1.x, n1.y});
    }
  }
  c.AcceptWhen(a >= -45);
  c.RejectIf(va > 120);
}

void CheckDigit2a(CheckContext& c) {
  c.RejectIf(c.OnLinePath() && c.distance() > 1500);
  const StrokeView s0 = c.S(0);
  c.Require(
      s0, {cx(35, 225), cy(120, 189), y1 >= 85, x2 <= 225, y2 <= 128, w >= 18, h >= 70, uy >= 20});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(60, 245), cy <= 166, x2 >= 6, w >= -68});
  c.RejectIf(s1.cy > 76 && s1.w * s1.w + s1.h * s1.h < 2622);
  const PointView f1 = c.F(0);
  c.Require(f1, {y <= 128});
  c.RequireIfPresent(c.OptF(1), {x >= 112, y <= 100});
  c.Need(EndToEndTilt(s1) <= 40);
  c.AcceptUnlessDigitsAndCapitals();
  c.RejectIf(c.frame().offsetX > 70);
  const int32_t a = FirstStepTilt(c, s0);
  c.AcceptWhen(c.frame().offsetX < 31);
  c.AcceptWhen(!(f1.x >= 89 && f1.x <= 139 && f1.y <= 24));
  const int32_t apart = s1.cx - f1.x;
  c.AcceptWhen(apart < -4 || apart > 49 || s0.w >= 100 || s0.y1 <= 240 || s1.x2 >= 100 || a < -19);
  c.RejectIf(a < 20);
}

void CheckDigit2b(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(35, 225), cy(120, 189), x1 <= 225, y1 >= 120, x2 <= 210, y2 <= 100, w >= 18,
                 h >= 70, ux(-60, 90)});
  c.RejectWhen(c.Mcn(s0, kMcn), {dev(-14, 51)});
  c.Require(c.S(1), {cx(90, 225), cy <= 120, x1 >= 160, y1 <= 128, x2 <= 185, y2 <= 134, w >= 40,
                     h <= 134, ux >= 20, uy(-68, 40)});
  c.Require(c.F(0), {y <= 128});
  c.RequireIfPresent(c.OptF(1), {x(80, 180), y >= 100});
}

void CheckDigit2c(CheckContext& c) {
  c.RejectIf(!c.OptS(1).present() && c.distance() > 1050);
  c.Require(c.S(0), {cx(80, 145), cy(120, 145), y1 >= 130, x2 >= 75, y2 <= 150, w >= 80, h >= 120,
                     uy >= 32});
  c.RequireIfPresent(c.OptF(0), {y <= 151});
}

void CheckDigit2d(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(30, 210), cy(125, 210), x1(-16, 72), y1(-16, 72), y2 >= 17});
  c.Require(c.Mcn(s0, kMcn), {dev <= 20});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(120, 150), cy <= 140, x1(-15, 12), y1(-48, 32), x2 >= 72, y2 <= 113, w >= 0});
  c.Require(c.Mcn(s1, kMcn), {dev(-33, 42)});
  c.Require(c.F(0), {y <= 170});
}

void CheckDigit2e(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(30, 210), cy(125, 210), y1 >= 180, y2 <= 100, h >= 120, uy >= 52});
  c.Require(c.Mcn(s0, kMcn), {dev <= 0});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(60, 150), cy <= 80, y1 <= 80, y2 <= 80, ux <= -43, uy(-32, 32)});
  c.Require(c.Mcn(s1, kMcn), {dev(-78, 0), ox >= 110});
  c.Require(c.F(0), {y <= 110});
}

void CheckDigit2f(CheckContext& c) {
  c.Require(c.S(0), {cx(30, 210), cy(125, 210), x2 <= 110, y2 >= 20});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 125, cy <= 135, x1(-18, 7), y1(-34, 42), x2 >= 73, w >= 0});
  c.Require(c.Mcn(s1, kMcn), {dev <= 37});
  c.Require(c.F(0), {y <= 170});
}

void CheckDigit3(CheckContext& c) {
  c.Require(c.S(0),
            {cx >= 75, cy >= 150, y1 >= 150, y2(60, 210), h(50, 198), ux(-113, 82), uy(0, 99)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(35, 220), cy(35, 119), x1 <= 240, y1(69, 230), x2 <= 190, y2 <= 185, w >= 35,
                 h(50, 230), ux(-48, 122), uy >= -26});
  c.Require(c.Mcn(s1, kMcn), {ox >= 70});
  c.Require(c.F(0), {y >= 61});
}

void CheckDigit3a(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 70, cy >= 140});
  c.AcceptWhen(s0.uy >= 0);
  c.AcceptWhen(s0.ux <= -35 || s0.ux >= 35);
  c.Reject();
}

void CheckDigit3c(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 <= 185, y1 >= 210});
  c.Require(c.Mcn(s0, kMcn), {dev <= 72, ox >= 70});
  c.Require(c.F(0), {y >= 100});
}

void CheckDigit4(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(
      s0, {cx(45, 195), cy(72, 220), x1 >= 20, y2 >= 130, w >= 20, h >= 58, ux >= -56, uy <= 117});
  c.Require(c.Mcn(s0, kMcn), {dev <= -17, ox <= 128, oy <= 209});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(68, 230), cy(45, 190), x1(-58, 32), y1(-78, 37), y2 >= 40});
  c.Require(c.Mcn(s1, kMcn), {dev(-58, 100)});
  const StrokeView s2 = c.OptS(2);
  if (s2.present()) c.Require(c.Mcn(s2, kMcn), {dev(-38, 0)});
  c.RequireIfPresent(c.OptF(0), {x >= 87, y >= 130});
  const PointView f2 = c.F(1);
  c.Require(f2, {x >= 10, y <= 196});
  c.RejectIf(f2.kind == 2 && f2.y > 128);
  c.AcceptWhen(!(c.FeatureCount() == 1 && f2.kind == 2));
  c.AcceptWhen(!EdgeStartsWith(c, 0, s0) && !EdgeStartsWith(c, 1, s0));
  const PointView v = c.End(s1, s1.subKind == 3 ? 1 : 2);
  c.Need(v.present);
  const int32_t dx = s0.x2 - v.x, dy = s0.y2 - v.y;
  c.RejectIf(dx * dx + dy * dy < 3277);
}

void CheckDigit4a(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0,
            {cx(108, 145), cy(125, 190), x1 >= 141, y1 <= 205, x2 <= 213, ux >= 0, uy(-60, 102)});
  const StrokeView s1 = c.OptS(1);
  if (s1.present()) c.Require(c.Mcn(s1, kMcn), {dev >= -40, ox >= 90, oy <= 155});
  const StrokeView s2 = c.OptS(2);
  if (s2.present()) {
    c.Require(s2, {y1 >= 3, uy >= -28});
    c.Require(c.Mcn(s2, kMcn), {dev >= -78});
  }
  c.Require(c.F(0), {x <= 210, y <= 179});
  const PointView g0 = c.G(0);
  c.RejectIf(g0.kind == 0 && s0.y1 < 13);
  if (s0.code == 63) {
    c.RejectIf(EdgeAttachCode(c, 0, 0) == kAttachEnd2 &&
               EdgeAttachCode(c, 1, 1) == kAttachLastPiece);
    c.RejectIf(EdgeAttachCode(c, 0, 0) == kAttachLastPiece &&
               EdgeAttachCode(c, 1, 0) == kAttachEnd2);
  }
  c.AcceptWhen(g0.kind != 0);
  c.AcceptWhen(s0.kind + s0.subKind != 4 && s0.kind + s0.subKind != 5);
  const ChainView chain = c.Chain(s0);
  const int apex = ChainApex(chain);
  if (s0.x1 - g0.x < 39) {
    int32_t ax, ay, bx, by;
    NeighbourVectors(*c.args().points, apex, &ax, &ay, &bx, &by);
    const int64_t dot = int64_t{ax} * bx + int64_t{ay} * by;
    const int64_t lengths =
        (int64_t{ax} * ax + int64_t{ay} * ay) * (int64_t{bx} * bx + int64_t{by} * by);
    // Without two neighbours apart there is no angle: taken as a wide one.
    const int64_t cosine2 =
        lengths == 0 ? 0 : (dot < 0 ? -1 : 1) * (100 * dot) * (100 * dot) / lengths;
    c.RejectIf(cosine2 < 2500);
    c.RejectIf(g0.y > 128);
  }
  c.RejectIf(ChainTailDeviation(c.args(), chain, std::max(0, chain.PositionOf(apex)), true) < -51);
}

void CheckDigit4b(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 95, cy(50, 140), y1 <= 54, x2 >= 131, y2 >= 100, h >= 80});
  c.Require(c.Mcn(s0, kMcn), {dev >= -113, ox >= 30, oy <= 200});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(50, 180), cy(90, 220), x1 >= 85, y1 <= 200, y2 >= 176, ux >= -38, uy <= -23});
  c.Require(c.Mcn(s1, kMcn), {dev <= 0, ox <= 120, oy <= 180});
  c.RequireIfPresent(c.OptF(0), {y >= 177});
  c.Require(c.F(1), {y <= 154});
  c.AcceptWhen(!(c.FeatureCount() == 1 && c.G(0).kind == 2));
  c.RejectIf(s1.kind + s1.subKind == 4);
}

void CheckDigit4c(CheckContext& c) {
  c.Require(c.S(0), {cx(100, 205), cy(70, 200), x2 <= 95, y2 >= 60});
  c.Require(c.S(1), {cx <= 170, cy >= 60, y2 >= 30});
  c.Require(c.S(2), {cx(100, 200), cy <= 180, x2 >= 30, y2 <= 70});
  c.RequireIfPresent(c.OptF(0), {x >= 128, y >= 128});
  c.Require(c.F(1), {x <= 95, y(40, 210)});
  c.Require(c.F(2), {x(80, 225), y(30, 170)});
}

void CheckDigit4d(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(20, 150), cy(80, 205), y2 >= 80, y1 <= s0.y2});
  c.Require(c.S(1), {cx >= 100, cy(40, 170)});
  c.Require(c.S(2), {cx(80, 200), cy(30, 150), y2 >= 60});
}

void CheckDigit4e(CheckContext& c) {
  StrokeView s0 = c.S(0);
  c.Require(s0, {cx(60, 200), cy(60, 150), y2 >= 40});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(100, 180), cy(80, 225)});
  c.AcceptUnlessDigitsAndCapitals();
  c.Require(s0, {cx >= 103, cy <= 135, x1(-31, 13), y1(-5, 32), x2 <= 119, y2 >= 77, w <= 65,
                 ux >= -67, uy(-66, -22)});
  c.Require(c.Mcn(s0, kMcnRaw), {dev(-44, 14), ox(-31, 13), oy(-5, 32)});
  c.Require(s1,
            {cx(115, 160), cy >= 128, x1 <= 0, y1 <= -5, x2 >= 40, y2 <= 121, w >= -90, ux <= -25});
  const McnView m1 = c.Mcn(s1, kMcnRaw);
  c.Require(m1, {dev >= 6, ox <= 0, oy <= -5});
  c.RejectIf(m1.dev >= -9 && m1.dev <= 39 && Tilt(s1.x2, s1.y2) > 40);
  c.RequireIfPresent(c.OptF(0), {x >= 64});
}

void CheckDigit4f(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(80, 200), cy(50, 150), x1 <= 150, y1 <= 40, x2 >= 128, y2 >= 80, h >= 80});
  c.Require(c.Mcn(s0, kMcn), {dev(-100, 0), ox >= 70, oy(128, 220)});
  c.Require(c.S(1), {cx(80, 180), cy(115, 225), x1 >= 135, y2 >= 185});
}

void CheckDigit4g(CheckContext& c) {
  c.Require(c.S(0),
            {cx(100, 160), cy(120, 225), x1 >= 128, y1 <= 160, y2 >= 180, w >= 80, h >= 80});
  c.Require(c.S(1), {cx(80, 200), cy(60, 160), y2 <= 40, w <= 128, h >= 128});
  c.Require(c.F(0), {y >= 128});
  c.Require(c.F(1), {y(20, 180)});
}

void CheckDigit4h(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(100, 160), cy(40, 225), x2 >= 40, y2 <= 50});
  c.Require(c.Mcn(s0, kMcn), {dev(-30, 30)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(80, 180), cy(60, 160), x1 <= 120, y1(60, 180), x2 >= s1.x1, y2 <= s1.y1});
  const PointView f1 = c.F(0);
  c.Require(f1, {x <= 110, y <= 200});
  c.Require(c.F(1), {x >= f1.x, y(20, 180)});
}

void CheckDigit4i(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(120, 145), cy(120, 145), y1 <= 33, y2 >= 200, uy <= -93});
  c.RejectWhen(c.Mcn(s0, kMcn), {dev(-51, 51)});
}

void CheckDigit5a(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(25, 215), cy(70, 219), x1 >= 25, y1 <= 190, y2 >= 145, w >= 15, h >= 70,
                 ux(-93, 97), uy <= -18});
  c.Require(c.Mcn(s0, kMcn), {dev <= -10, ox <= 120});
  const StrokeView s1 = c.S(1);
  c.Require(s1,
            {cx(15, 150), cy(18, 128), x1 <= 180, x2 <= 148, y2 <= 160, w(20, 235), h(30, 240)});
  c.Require(c.Mcn(s1, kMcn), {dev <= -20});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 30, cy >= 100, x1 <= 8});
  if (!c.OptF(0).present) {
    c.RejectIf(s2.x2 + s2.cx + 20 < s0.x2);
    const int32_t a = EndToEndTilt(s2);
    c.RejectIf(a < -40 || a > 40);
  }
  c.AcceptWhen(s2.cx - HalfDown(s1.w) - s1.cx - s2.x2 <= 80);
  c.RejectIf(s2.cx - HalfDown(s0.w) - s0.cx - s2.x2 > 80);
}

void CheckDigit5c(CheckContext& c) {
  c.Require(c.S(0), {cx <= 155, cy(150, 215), x2 <= 108, y2 >= 40});
  c.Require(c.S(1), {cx(70, 230), cy >= 150, y2 <= 40});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(35, 155), cy(40, 120), x2 <= 128, y2 <= 110, w >= 40, h >= 60, y1 >= s2.y2});
  c.Require(c.Mcn(s2, kMcn), {dev <= -28, ox >= 150, oy <= 180});
  c.Require(c.F(0), {x <= 210, y >= 150});
  c.Require(c.F(1), {x <= 170, y(70, 215)});
}

void CheckDigit5d(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(110, 200), cy >= 150, x1 <= 128, y1 >= 70, x2 >= 158, y2 >= 140, w >= 79,
                 h <= 185, ux <= -38, uy >= -90});
  c.Require(c.Mcn(s0, kMcn), {dev <= -20, ox <= 128, oy >= 145});
  const StrokeView s1 = c.S(1);
  c.Require(
      s1, {cx(35, 139), cy(60, 140), x1 <= 155, y1 >= 110, x2 <= 115, y2 <= 145, w >= 60, h >= 80});
  c.Require(c.Mcn(s1, kMcn), {dev <= -60, ox >= 128, oy <= 170});
  c.Require(c.F(0), {x <= 155, y >= 110});
}

void CheckDigit5e(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(
      s0, {cx(30, 140), cy(72, 140), y1 >= 90, x2 <= 140, y2 <= 140, w >= 50, h >= 100, uy >= 37});
  c.Require(c.Mcn(s0, kMcn), {dev <= -38, ox >= 150, oy <= 158});
  c.Require(c.S(1), {cx(95, 211), cy >= 127, x1 <= 3, y1 >= -20, x2 >= 25, y2 <= 69, w >= -20});
  c.Require(c.F(0), {x <= 178, y >= 110});
}

void CheckDigit5f(CheckContext& c) {
  c.Require(c.S(0), {cx(30, 170), cy(72, 200), x1 >= 40, y1 <= 128, x2 <= 230, y2 >= 170, h >= 80,
                     uy <= -40});
  c.Require(c.S(1), {cx(20, 160), cy(20, 128), x1 <= 180, y2 <= 128});
  c.RequireIfPresent(c.OptF(0), {y >= 128});
}

void CheckDigit5g(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(100, 225), cy >= 170, x1 >= 170, y1 >= 160, x2 <= s0.x1, y2 >= 180, h <= 100});
  c.Require(c.Mcn(s0, kMcn), {dev(-63, 0), ox <= 140});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(40, 170), cy >= 110, x1 <= 210, y1 <= 128, y2 >= 140, y1 <= s1.y2, h >= 70});
  c.Require(c.Mcn(s1, kMcn), {ox <= 100});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(20, 140), cy(40, 150), x1 <= 130, y1 >= 100, x2 <= 128, y2 <= 128, w >= 40,
                 h >= 60, uy >= 17});
  c.Require(c.Mcn(s2, kMcn), {ox >= 155});
}

void CheckDigit5h(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(40, 150), cy >= 170, x1 <= 170, x2 <= 128, y2(90, 185), w <= 108, h(70, 165)});
  c.Require(c.Mcn(s0, kMcn), {dev(-50, 0), ox(128, 180)});
  const StrokeView s1 = c.S(1);
  c.Require(s1,
            {cx(40, 160), cy >= 90, x1 >= 100, y1 <= 140, x2 <= 185, y2 >= 200, w <= 128, h >= 90});
  c.Require(c.Mcn(s1, kMcn), {dev(-80, 0), ox <= 0});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(50, 140), cy(40, 100), x1 <= 128, y1(100, 180), x2 <= 70, y2 <= 110, w(60, 190),
                 h(60, 180)});
  c.Require(c.Mcn(s2, kMcn), {dev <= -58, ox >= 0});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx >= 128, cy >= 140, x2 >= 15, y2 <= 25, w >= 0});
  const PointView f1 = c.OptF(0);
  if (f1.present) {
    c.Require(f1, {y >= 140});
  } else {
    c.Need(s3.x2 + s3.cx >= s0.x1);
  }
}

void CheckDigit6a(CheckContext& c) {
  c.Require(c.S(0), {cx <= 200, cy >= 128, y2 >= 35});
  c.Require(c.S(1), {cx(80, 180), cy(20, 100), w >= 60, h >= 60});
  c.Require(c.F(0), {x <= 145, y <= 160});
  c.RejectAllOnSingleLoop();
}

void CheckDigit6b(CheckContext& c) {
  c.Require(c.S(0), {cx(70, 160), cy >= 150, y2 >= 70});
  c.Require(c.S(1), {cx(100, 160), cy(20, 100), w >= 60, h >= 60});
  c.Require(c.F(0), {x <= 145, y <= 160});
  c.RejectAllOnSingleLoop();
}

void CheckDigit7a(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(70, 165), cy >= 170, x1 <= 128, y1 >= 128, x2 >= 150, y2 >= 160, w >= 60,
                 h <= 128, ux <= -30, uy(-60, 40)});
  c.Require(c.S(1), {cx >= 100, cy(90, 145), x1 <= 30, y2 >= 90, h >= 0});
  c.Require(c.F(0), {x >= 155, y >= 160});
  c.Need(std::min(s0.y1, s0.y2) >= 77);
}

void CheckDigit7b(CheckContext& c) {
  const StrokeView s0 = c.OptS(0);
  if (s0.present()) {
    c.Require(s0, {cx <= 120, cy >= 175, x1(-15, 15), y1(-3, 3), x2 <= 45, y2 >= 20, w <= 32});
    c.Require(c.Mcn(s0, kMcn), {dev(-15, 15)});
  }
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 120, cy >= 85, x1 >= 50, y1 <= 3, x2 >= 160, y2 >= 160, w <= 200, h >= 170,
                 uy <= -85});
  c.Require(c.Mcn(s1, kMcn), {dev >= -68, ox >= 60, oy(120, 165)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(120, 155), cy(130, 195), x1 <= 128, y1 >= 100, x2 >= 25, y2 <= 140, w >= 60,
                 h >= 135, uy >= 10});
  c.Require(c.Mcn(s2, kMcn), {ox >= 150, oy >= 90});
  c.RequireIfPresent(c.OptF(0), {x <= 128, y >= 200});
}

void CheckDigit7c(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0,
            {cx(80, 140), cy >= 120, x1 <= 145, y1 >= 160, x2 <= 160, y2 <= 3, w >= 70, h >= 252});
  c.Require(c.Mcn(s0, kMcn), {dev <= -68, ox >= 190, oy(80, 230)});
  c.Require(c.S(1), {cx(95, 175), cy(65, 175), x2 <= 105, y2 <= 50});
  c.Require(c.F(0), {x(80, 175), y(80, 165)});
}

void CheckDigit7d(CheckContext& c) {
  c.RequireIfPresent(c.OptS(0),
                     {cx(40, 128), cy >= 170, x1 <= 110, y1 >= 100, y2 >= 200, w <= 160, h <= 150});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(60, 200), cy >= 190, x1 >= 90, y1 >= 128, x2 <= 200, y2 >= 210, h <= 131,
                 ux >= -13, uy >= -64});
  c.Require(c.Mcn(s1, kMcn), {dev <= 0, ox(10, 160), oy <= 145});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 120, cy(90, 140), y1 >= 130, y2 <= 3, h >= 175, uy >= 64});
  c.Require(c.Mcn(s2, kMcn), {dev <= -23, ox >= 150});
  const PointView leftmost = c.XP(s1, kDirNegX, 0);
  c.Need(leftmost.present);
  c.AcceptWhen(s1.y1 - leftmost.y > 0);
  c.AcceptWhen(s1.kind + s1.subKind != 3);
  c.AcceptWhen(s1.x1 - s1.x2 >= 26);
  c.Reject();
}

void CheckDigit7e(CheckContext& c) {
  c.Require(c.S(0), {cx(100, 140), cy >= 190, x1 <= 90, y1 >= 128, x2 >= 170, y2 >= 200, w >= 80,
                     h <= 120});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(110, 185), cy(90, 130), y1 <= 3, x2 >= 150, y2 >= 200, w <= 128, h >= 200});
  c.Require(c.Mcn(s1, kMcn), {dev(-78, 0)});
  c.Require(c.F(0), {x >= 150, y >= 200});
}

void CheckDigit8(CheckContext& c) {
  c.RequireIfPresent(c.OptS(0), {x2 <= 50, y2 <= 50});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(60, 170), cy(60, 140), y1 >= 85, y2 >= 50, w >= 75, h >= 110});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx(90, 210), cy(120, 210), w >= 60, h >= 100});
  c.RejectIf(s1.y2 - s1.cy < -48 && s2.y2 - s2.cy > 54);
  c.RejectIf(s2.y2 - s1.y2 > 75);
  c.Require(c.F(1), {x(20, 230), y(45, 210)});
}

void CheckDigit8a(CheckContext& c) {
  c.Require(c.S(0), {cx(40, 150), cy(45, 145), y1 >= 65, x2 >= 60, y2 >= 25, w >= 40, h >= 85,
                     ux <= 55, uy >= -80});
  c.Require(c.S(1), {cx(35, 220), cy(115, 230), y1 <= 225, x2 >= 70, y2 >= 3, w >= 20, h >= 50,
                     ux <= 50, uy <= 65});
  c.RequireIfPresent(c.OptF(0), {x >= 80, y >= 55});
  c.Require(c.F(1), {x(5, 185), y(50, 215)});
}

void CheckDigit8b(CheckContext& c) {
  c.Require(c.S(0),
            {cx(90, 170), cy(125, 215), y1(60, 242), x2 <= 200, y2 <= 200, w >= 75, h >= 90});
  c.Require(c.S(1), {cx(85, 180), cy(50, 140), x1 <= 225, y1 >= 50, x2 >= 128, y2 >= 110, w >= 80,
                     h >= 110, ux <= 0, uy(-80, 50)});
  c.RequireIfPresent(c.OptF(0), {x(40, 230), y(60, 230)});
  c.Require(c.F(1), {x(75, 220), y(50, 210)});
}

void CheckDigit8c(CheckContext& c) {
  c.RequireIfPresent(c.OptS(0), {x2 <= 50, y2 <= 50});
  c.Require(c.S(1), {cx(70, 180), cy(40, 110), x1(100, 220), y1(75, 210), x2(50, 165), y2(75, 210),
                     w >= 60, h(55, 205)});
  c.Require(c.S(2), {cx(100, 180), cy(155, 235), w >= 60, h(55, 185)});
  c.Require(c.F(1), {x(45, 165), y(70, 200)});
  c.Require(c.F(2), {x(105, 220), y(70, 205)});
}

void CheckDigit8d(CheckContext& c) {
  c.Require(c.S(0), {cx(70, 140), cy(70, 130), x1 <= 140, y1 >= 135, x2 >= 65, y2(65, 220), w >= 80,
                     h >= 135});
  c.Require(c.S(1), {cx(70, 185), cy(120, 220), x1 >= 110, y1 <= 165, x2(75, 200), y2(80, 185),
                     w >= 70, h >= 100});
  c.Require(c.F(0), {x(70, 165), y(60, 200)});
  c.Require(c.F(1), {x(75, 200), y(70, 185)});
}

void CheckDigit8e(CheckContext& c) {
  c.Require(c.S(0), {cx(85, 165), cy(160, 225), x1(40, 145), y1(80, 185), x2(90, 200), y2(80, 190),
                     w >= 80, h >= 70});
  c.Require(c.S(1), {cx(85, 160), cy(35, 105), w >= 85, h >= 85});
}

void CheckDigit8f(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(120, 140), cy(120, 140), x1 >= 56, y1(30, 205), x2 >= 65, y2(50, 225)});
  c.Require(c.Mcn(s0, kMcn), {ox <= 210});
  const PointView g0 = c.G(0), g1 = c.G(1);
  const int32_t across = std::abs(g0.x - g1.x), up = std::abs(g0.y - g1.y);
  c.Need(across >= up && up <= 77 && g0.y <= 230 && g1.y <= 230);
}

void CheckDigit8g(CheckContext& c) {
  c.Require(c.S(0), {cx(120, 140), cy(120, 140), x1(50, 220), y1(50, 200), x2 <= 190, y2 <= 190});
  c.AcceptUnlessDigitsAndCapitals();
  const ContourSet& contours = *c.args().contours;
  const ContourPoint* hole = nullptr;
  for (int i = 0; i < contours.points.count && hole == nullptr; ++i) {
    const ContourPoint& p = contours.points.items[i];
    if (p.owner != nullptr && p.owner->kind != kContourOuter) hole = &p;
  }
  c.Need(hole != nullptr);
  if (hole != nullptr) {
    const int32_t b = FrameUnits(MaxContourChordDeviation(FindContourExtreme(hole, kDirYMinusX),
                                                          FindContourExtreme(hole, kDirNegXY)),
                                 c.frame());
    c.RejectIf(b >= -12 && b <= 18);
  }
  const Corners k = c.CandidateCorners();
  c.RejectIf(k.c1.y - k.c1.x > 214);
  c.RejectIf(k.c1.y - k.c4.x - k.c4.y - k.c1.x > 165);
}

void CheckDigit8h(CheckContext& c) {
  c.Require(c.S(0), {x2 <= 100, y2 <= 60});
  c.Require(c.S(1), {cx(60, 145), cy(60, 145), y1 >= 85, y2 >= 85, w >= 75, h >= 128, ux <= -10});
  c.Require(c.S(2), {cx(60, 145), cy(120, 180), y1 <= 171, y2 <= 171, w >= 75, h >= 128, ux >= 10});
  c.Require(c.F(0), {x(60, 180), y(60, 180)});
  c.Require(c.F(1), {x(60, 210), y(80, 235)});
  c.RequireIfPresent(c.OptF(2), {x(60, 160), y(80, 180)});
}

void CheckDigit8i(CheckContext& c) {
  c.Require(c.S(0), {cx(120, 145), cy(120, 145), x1 >= 135, y1(70, 180)});
  c.Require(c.S(1), {cx(80, 170), cy(95, 215), uy >= 10});
}

void CheckDigit8j(CheckContext& c) {
  c.Require(c.S(0), {cx(100, 165), cy(170, 215), x1(90, 150), y1(90, 165), x2(135, 205),
                     y2(120, 200), w >= 50, h >= 90});
  c.Require(c.S(1), {cx(160, 225), cy(115, 205), x1(140, 240), y1(25, 160), x2(135, 240), y2 >= 180,
                     w <= 85});
  c.Require(c.S(2), {cx(100, 165), cy(60, 105), x1(130, 215), y1(120, 200), x2(130, 215),
                     y2(120, 200), w >= 70, h >= 120});
}

void CheckDigit8k(CheckContext& c) {
  c.Require(c.S(0), {cx(100, 175), cy(160, 230), w >= 60, h(60, 185)});
  c.Require(c.S(1), {cx(60, 185), cy(30, 110), w >= 60, h(60, 200)});
  c.Require(c.F(0), {x(80, 180), y(100, 200)});
}

void CheckDigit8l(CheckContext& c) {
  c.Require(c.S(0), {cx(100, 165), cy(60, 105), x1(130, 215), y1(120, 200), x2(90, 175),
                     y2(120, 200), w >= 70, h >= 120});
  c.Require(c.S(1), {cx(160, 225), cy(115, 205), x1(140, 240), y1(25, 160), x2(135, 240), y2 >= 180,
                     w <= 85});
  c.Require(c.S(2), {cx(100, 165), cy(170, 215), x1(90, 215), y1(90, 165), x2(90, 215),
                     y2(120, 200), w >= 50, h >= 90});
}

void CheckDigit8m(CheckContext& c) {
  c.Require(c.S(0), {cx(120, 145), cy(100, 190), x1 <= 175, y1 >= 128, x2 <= 128, y2 <= 128,
                     w >= 100, h >= 120});
  c.Require(c.S(1), {cx(120, 165), cy(80, 140), x1 <= 170, y1 >= 120, x2 >= 170, y2 >= 120, w >= 70,
                     h >= 160});
  c.Require(c.F(0), {x <= 185, y >= 150});
  c.Require(c.F(1), {x(75, 190), y(75, 210)});
}

void CheckDigit8n(CheckContext& c) {
  c.Require(c.S(0), {cx(100, 185), cy >= 230, h <= 50});
  c.Require(c.S(1), {cx(100, 165), cy(110, 190), w >= 70, h >= 145});
  c.Require(c.S(2), {cx(100, 165), cy(110, 190), w >= 70, h >= 145});
  c.Require(c.S(3), {cx(120, 145), cy(90, 150), x1 <= 100, y1 >= 160, x2 >= 160, y2 >= 160, w >= 70,
                     h >= 190});
  c.Require(c.F(0), {x(75, 190), y(75, 210)});
}

void CheckDigit9a(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 70, cy(45, 145), x1(-25, 32), y1(-15, 20), x2 <= 145});
  c.Require(c.Mcn(s0, kMcn), {dev >= -35});
  c.Require(c.S(1), {cx(85, 225), cy(158, 240), x1 >= 100, y1 >= 65, x2 >= 100, y2 >= 128,
                     w(45, 240), h(45, 200)});
  c.RequireIfPresent(c.OptF(0), {x >= 128, y >= 145});
  c.Require(c.F(1), {x >= 108, y >= 65});
  c.RejectAllOnSingleLoop();
}

void CheckDigit9b(CheckContext& c) {
  c.Require(c.S(0), {cx(77, 185), cy(50, 130), x1(25, 185), y1 >= 60, y2 <= 3});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(100, 200), cy(160, 245), x1 >= 100, y1(60, 254), x2 >= 45, y2 >= 85, w >= 30,
                 h <= 196, uy(-58, 47)});
  c.RequireIfPresent(c.OptF(0), {x >= 80, y >= 100});
  if (s1.code == 31 || s1.code == 40) {
    const int32_t l = Len(s1.x1 - s1.x2, s1.y1 - s1.y2);
    c.RejectIf(l > 149);
    if (l > 80) {
      const PieceList pieces = c.Pieces(s1);
      const PieceView& last = pieces[pieces.count > 0 ? pieces.count - 1 : 0];
      const int32_t a = pieces.count > 0 ? Tilt(last.first, last.last) : 0;
      const int32_t length = pieces.count > 0 ? Len(last.first, last.last) : 0;
      if (a >= -18 && a <= -1) {
        c.RejectIf(length > 27);
      } else {
        c.RejectIf(l >= 121 || (a >= -23 && a <= -19));
      }
    }
  }
  c.RejectAllOnSingleLoop();
}

void CheckDigit9c(CheckContext& c) {
  c.Require(c.S(0), {cx(80, 245), cy(45, 128), x2 <= 100, y2 >= 45});
  c.Require(c.S(1), {cx(80, 215), cy >= 160, w <= 220, h <= 200});
  c.Require(c.F(0), {x(100, 220), y(85, 220)});
  c.RejectAllOnSingleLoop();
}

void CheckDigit9d(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(100, 215), cy(45, 128), y1 <= 3, x2 >= 150, y2 >= 90, w(10, 170), h >= 100});
  c.Require(c.Mcn(s0, kMcn), {dev >= -52});
  c.Require(c.S(1), {cx(120, 145), cy(120, 220), w >= 45, h >= 80});
  c.Require(c.F(0), {x >= 100, y >= 80});
  c.RejectAllOnSingleLoop();
}

void CheckDigit9e(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(80, 200), cy(50, 120), y2 <= 3, ux(-10, 80), uy >= 50});
  c.Require(c.Mcn(s0, kMcn), {dev >= -52});
  c.Require(c.S(1), {cx(100, 180), cy(160, 240), w >= 45, h(45, 180)});
  c.Require(c.F(0), {x >= 100, y(76, 230)});
  c.RejectAllOnSingleLoop();
}

void CheckDigit9f(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(125, 140), cy(125, 140), y1 <= 3, x2(86, 185), y2(90, 210), uy <= -45});
  const McnView m = c.Mcn(s0, kMcn);
  c.Require(m, {ox <= 218});
  c.RejectWhen(m, {ox >= 129, oy <= 111});
  c.RejectAllOnSingleLoop();
}
