// The plain capital checks that are procedures rather than lists of
// windows: the "D" variants, which tell a "D" from a "V" by how full and how
// leaning its bowl is and by the corners of the character, and make a
// "V" of what fails them when no digits are read; "V", which makes an "O"
// of a flat stroke; "I", which makes an "L" of a foot at the left; the bends
// of "L", "U", "Cb" and "Vi"; the hooks of "G" and "J"; the bulges of the
// outline of "S" and "T".
#include <cstdlib>

#include "ocrlib/checks/capital_checks.h"

using namespace checkrow;

namespace {

constexpr McnMode kMcn = kMcnRaw;
constexpr uint16_t kCodeOfV = 'V';
constexpr uint16_t kCodeOfO = 'O';
constexpr uint16_t kCodeOfL = 'L';

// "Da", "Db": the test of the right extreme's height, then of the leaning
// back; with digits the shapes that fail them are rejected, without digits
// they are read as a "V". `vLimit` is the height above which the bowl is a
// "V"'s.
void TellDFromV(CheckContext& c, const StrokeView& bowl, int32_t vLimit) {
  const bool digits = c.DigitsAndCapitals();
  const int32_t q = RightExtremeHeight(c, bowl);
  if (digits) {
    c.RejectIf(q > vLimit);
  } else {
    c.AcceptWhen(q < 50);
    if (q > vLimit) c.Relabel(kCodeOfV);
  }
  if (LeansLeft(c, bowl)) {
    if (digits) c.Reject();
    c.Relabel(kCodeOfV);
  }
  c.AcceptWhen(!digits);
}

// The angle at a chain point between its first two neighbours; a missing
// neighbour or one on the point itself rejects.
int32_t NeighbourAngle(CheckContext& c, const PointView& p) {
  int32_t ux = 0, uy = 0, vx = 0, vy = 0;
  c.Need(p.present && NeighbourVectors(*c.args().points, p.index, &ux, &uy, &vx, &vy));
  return c.AngleBetween(ux, uy, vx, vy);
}

// Sums of the four corners (upper left, upper right, lower right, lower
// left) that the "D" rows bound.
int32_t LeftSideSpan(const Corners& k) { return k.c1.y - k.c4.x - k.c4.y - k.c1.x; }
int32_t UpperSpan(const Corners& k) { return k.c1.y - k.c2.x - k.c2.y - k.c1.x; }
int32_t LowerSpan(const Corners& k) { return k.c3.y - k.c3.x - k.c4.x - k.c4.y; }

}  // namespace

void CheckCapitalCb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.RejectIf(s0.code == 53);
  c.Require(s0, {cx < 140, x1 >= 150, y1 < 146, x2 >= 99, y2 >= 110, w >= 104, uy < -11});
  c.Require(c.Mcn(s0, kMcn), {dev <= -84});
  c.AcceptWhen(s0.code != 21 && s0.code != 30);
  const int32_t tilt = LastPieceTilt(c, s0);
  c.AcceptWhen(tilt < 59);
  c.RejectIf(tilt > 64);
  // 59..64: the turn at the piece's first point decides (no turn without two neighbours).
  const PieceList pieces = c.Pieces(s0);
  int32_t ux0 = 0, uy0 = 0, vx = 0, vy = 0;
  const bool turns =
      pieces.count > 0 && NeighbourVectors(*c.args().points, pieces[pieces.count - 1].first.index,
                                           &ux0, &uy0, &vx, &vy);
  c.Need(turns && ux0 * vx + uy0 * vy < 0);
}

void CheckCapitalDa(CheckContext& c) {
  const bool digits = c.DigitsAndCapitals();
  const bool s0Present = c.OptS(0).present();
  if (digits) {
    c.RejectIf(!s0Present && c.distance() > -280);
  } else {
    c.AcceptWhen(s0Present);
  }
  const StrokeView s1 = c.S(1);
  if (!digits) {
    const int32_t fill = FillRatio(c, s1);
    if (fill >= 136) {
      const Corners k = c.CandidateCorners();
      c.Need(k.c1.y - k.c1.x >= 160 && k.c4.x + k.c4.y < 86);
      const PointView left = c.XP(s1, kDirNegX, 1);
      const PointView p1 = c.XP(s1, kDirNegXY, -1), p3 = c.XP(s1, kDirYMinusX, 1);
      c.Need(left.present && p1.present && p3.present);
      c.Need(2 * left.x - p1.x - p1.y - p3.x + p3.y >= 130);
      c.Accept();
      return;
    }
  }
  TellDFromV(c, s1, 80);
  c.AcceptWhen(s0Present);
  const int32_t dev = RingWalkBulge(c, FirstHoleRing(c), kDirYMinusX, kDirNegXY, 1);
  c.RejectIf(dev < -22);
  if (dev < -10) {
    // p3 and p1 as the wide bowl's test takes them, with their tie-breaks.
    const int32_t ang3 = NeighbourAngle(c, c.XP(s1, kDirYMinusX, 1));
    const int32_t ang1 = NeighbourAngle(c, c.XP(s1, kDirNegXY, -1));
    c.RejectIf(ang3 >= 101 && ang1 >= 101);
  }
  const Corners k = c.CandidateCorners();
  c.Need(k.c1.x < 113 && k.c1.y >= 200 && k.c2.y >= 163 && k.c4.x < 76 && k.c4.y < 36 &&
         k.c1.y - k.c1.x >= 146 && k.c2.x + k.c2.y < 504 && k.c3.x - k.c3.y < 202 &&
         k.c4.x + k.c4.y < 76 && LeftSideSpan(k) >= 134 &&
         k.c2.x - k.c3.y + k.c2.y + k.c3.x < 618 && UpperSpan(k) >= -319 && LowerSpan(k) >= -241 &&
         UpperSpan(k) - k.c4.y + k.c3.y - k.c3.x - k.c4.x >= -468);
  const Corners o = c.OutlineCorners();
  c.Need(o.c1.x < 89 && o.c1.y >= 198 && o.c2.y >= 165 && o.c3.x >= 128 && o.c3.y >= 32 &&
         o.c4.x < 49 && o.c4.y < 47 && o.c1.y - o.c1.x >= 161 && o.c2.x + o.c2.y < 498 &&
         o.c3.x - o.c3.y < 205 && o.c4.x + o.c4.y < 73 && LeftSideSpan(o) >= 140 &&
         o.c2.x - o.c3.y + o.c2.y + o.c3.x < 630 && UpperSpan(o) >= -292 && LowerSpan(o) >= -242 &&
         UpperSpan(o) - o.c4.y + o.c3.y - o.c3.x - o.c4.x >= -448);
}

void CheckCapitalDb(CheckContext& c) {
  const bool digits = c.DigitsAndCapitals();
  const StrokeView s0 = c.S(0);
  c.Require(s0,
            {x1 <= 120, y1 >= 160, x2 <= 133, y2 >= 196, w >= 120, h >= 187, ux >= -62, uy <= 28});
  c.RequireIfPresent(c.OptF(0), {x <= 133});
  if (!digits) c.AcceptWhen(FillRatio(c, s0) > 110);
  TellDFromV(c, s0, 70);
  c.AcceptWhen(s0.y2 < 129);
  const Corners k = c.CandidateCorners();
  c.Need(k.c1.x <= 99 && k.c1.y >= 217 && k.c2.x >= 122 && k.c2.y >= 162 && k.c4.x < 62 &&
         k.c4.y < 26 && k.c1.y - k.c1.x >= 156 && k.c2.x + k.c2.y >= 377 && k.c3.x - k.c3.y < 182 &&
         k.c4.x + k.c4.y < 62 && LeftSideSpan(k) >= 152 && UpperSpan(k) >= -298 &&
         LowerSpan(k) >= -215 && UpperSpan(k) - k.c4.y - k.c3.x + k.c3.y - k.c4.x >= -427);
}

void CheckCapitalDc(CheckContext& c) {
  const bool digits = c.DigitsAndCapitals();
  c.RequireIfPresent(c.OptF(0), {y <= 66});
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx < 136, y1 < 101, y2 < 58, uy >= -28});
  if (LastPieceTilt(c, s0) > 60) {
    if (digits) c.Reject();
    c.Relabel(kCodeOfV);
  }
  c.AcceptWhen(!digits);
  const Corners k = c.CandidateCorners();
  c.RejectIf(k.c1.y < 204 || k.c1.y - k.c1.x < 132 || k.c4.x + k.c4.y > 41 ||
             LeftSideSpan(k) < 127 || UpperSpan(k) < -354 || LowerSpan(k) < -213 ||
             UpperSpan(k) - k.c4.y + k.c3.y - k.c3.x - k.c4.x < -494);
}

void CheckCapitalG(CheckContext& c) {
  const StrokeView s1 = c.OptS(1), s2 = c.OptS(2);
  const StrokeView s0 = c.S(0);
  if (!s1.present() && !s2.present()) {
    c.Need(s0.subKind == 3);
    c.Need(c.OptF(1).present);
  }
  c.RejectIf(s1.present() && !s2.present() && !c.OptF(1).present);
  c.Require(s0, {y1(4, 188), x2(80, 247), y2 >= 145, ux >= -57, uy <= -18});
  if (s1.present()) {
    c.Require(s1, {cy >= 72, x1 < 8, y1 >= -25, y2 < 40, w >= 23, h >= -123, uy >= -28});
    c.Require(c.Mcn(s1, kMcn), {dev < 30, ox < 9, oy >= -25});
  }
  if (s2.present()) {
    c.Require(s2, {cy < 118, y1 >= -5, x2 < 69});
    c.Require(s2, {ux >= -36});
    c.Require(c.Mcn(s2, kMcn), {dev >= -5});
  }
  c.RequireIfPresent(c.OptF(0), {x >= 104});
  c.RequireIfPresent(c.OptF(1), {y >= 73});
  const PointView source = c.TracedSource(s0.segment != nullptr ? s0.segment->end2 : -1);
  if (c.DigitsAndCapitals() && s2.present() && !s1.present() && source.present) {
    const int32_t dev = RingWalkBulge(c, source, kDirPosY, kDirNegX, 2);
    c.RejectIf(dev >= -11);
    const int32_t e = s0.cy + s0.y2;
    c.RejectIf(e > 190 || (dev >= -19 && e >= 146));
  }
  if (s2.present()) c.RejectIf(256 - s2.y2 - c.frame().offsetY - s2.cy < 20);
}

void CheckCapitalI(CheckContext& c) {
  const bool s0Present = c.OptS(0).present(), s1Present = c.OptS(1).present();
  c.RejectIf(s0Present && !s1Present);
  if (!s0Present && s1Present) {
    const StrokeView s2 = c.S(2);
    const PointView p0 = c.OptF(0);
    if (s2.cx < 75 && p0.present && p0.x < 75) {
      c.Relabel(kCodeOfL);
      return;
    }
  }
  c.RejectIf(c.DigitsAndCapitals() && !s0Present && !s1Present);
  const HoleList holes = c.Holes(kMaxListedHoles);
  c.RejectIf(holes.count > 2);
  if (holes.count >= 1) {
    const StrokeView s2 = c.S(2);
    if (s0Present || s1Present) {
      c.Require(s2, {cx(86, 160)});
    } else {
      // Holes are listed in the order of their first contour points.
      const HoleList::Hole& last = holes.holes[holes.count - 1];
      c.Need(std::abs(last.frameY - s2.cy) >= 64 && std::abs(last.frameY - s2.cy) <= 130 &&
             std::abs(last.frameX - s2.cx) < 71);
    }
  }
  if (!s0Present && s1Present && !c.OptF(0).present) c.Require(c.S(2), {cx >= 96});
}

void CheckCapitalJ(CheckContext& c) {
  const StrokeView s0 = c.OptS(0);
  c.RequireIfPresent(s0, {cx(125, 210), cy >= 200, x2 >= 25, w >= 50});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x1 < 221, y1 >= 165, x2 < 111, y2 < 159, w >= 57, ux >= 8, uy >= 40});
  c.Require(c.Mcn(s1, kMcn), {oy <= -6});
  if (s0.present() && !c.OptF(0).present) {
    const PointView left = c.EP(s0, kDirNegX);
    c.Need(left.present && s1.x1 >= left.x);
  }
  c.AcceptUnlessDigitsAndCapitals();
  if (s0.present()) {
    c.RejectIf(s1.x1 - s0.cx < -44);
    c.Accept();
    return;
  }
  c.LimitDistance(1093);
  c.Require(s1, {cx <= 133, cy <= 133});
  c.Require(s1, {x1(38, 176), y1 >= 238, x2(35, 104), y2(9, 148), w(91, 196), h >= 255, ux(-25, 70),
                 uy(53, 119)});
  c.Require(c.Mcn(s1, kMcn), {dev < -81, ox >= 83, oy >= -123, oy < 36});
  const PieceList pieces = c.Pieces(s1);
  c.Need(pieces.count > 0 && pieces[0].piece->pointCount >= 2);
  if (c.decided()) return;
  const StrokePointTable& t = *c.args().points;
  const StrokePoint& p = t.points.items[pieces[0].piece->words[0]];
  const StrokePoint& q = t.points.items[pieces[0].piece->words[1]];
  const int32_t tilt = Tilt(p.x - q.x, p.y - q.y);
  c.AcceptWhen(tilt < -64);
  c.RejectIf(tilt <= -26);
}

void CheckCapitalL(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x2 < 171, ux >= 25});
  // The corner lies left of and below the chord from the first to the second end.
  c.Require(c.Mcn(s0, kMcn), {dev < -77, ox < -52, oy < -20});
  c.AcceptWhen(s0.code != 21 && s0.code != 30);
  c.RejectIf(LastPieceTilt(c, s0) < 59);
}

void CheckCapitalS(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy <= 212, y1 <= 167, w >= 61, h >= 94});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x1 <= 144, y1 >= 76, y2 <= 130, w >= 50});
  c.Require(c.Mcn(s1, kMcn), {dev <= -36, ox >= 37});
  c.AcceptUnlessDigitsAndCapitals();
  c.Require(s0, {cx(91, 197), cy(134, 206), x1 >= 124, y1 <= 160, x2 >= 139, y2 >= 45, w >= 65,
                 h >= 106, ux(-62, 42), uy(-109, -11)});
  c.Require(c.Mcn(s0, kMcn), {dev <= 70, ox <= 64, oy >= -93});
  c.Require(s1, {cx >= 91, cy(51, 174), x1 <= 141, y1 >= 88, x2 <= 149, y2 <= 140, w >= 53, h >= 87,
                 ux(-65, 64), uy(19, 116)});
  c.Require(c.Mcn(s1, kMcn), {dev <= -37, ox >= 37, oy <= 91});
  const StrokeView s2 = c.OptS(2);
  if (s2.present()) {
    c.Require(s2,
              {cx < 163, cy < 79, x1 < 119, y2 < 149, w < 192, h < 149, ux(-95, -3), uy >= -74});
    c.Require(c.Mcn(s2, kMcn), {dev >= -117, ox >= -74, oy >= 2, oy < 113});
  }
  const RecordArray<ContourPoint>& outline = c.args().contours->points;
  const PointView first = c.ContourInFrame(outline.count > 0 ? &outline.items[0] : nullptr);
  c.AcceptWhen(s2.present());
  const int32_t dev = RingWalkBulge(c, first, kDirPosXY, kDirYMinusX, 2);
  c.RejectIf(dev >= 6);
  const Corners k = c.StrokeCorners(s0);
  c.Need(k.c1.y - k.c4.x - k.c1.x < 233 && k.c2.y + k.c1.y - k.c4.x - k.c1.x < 468 &&
         k.c2.x - k.c4.y - k.c1.x + k.c2.y + k.c1.y - k.c4.x < 565);
}

void CheckCapitalT(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx < 135, cy >= 192, x2 >= 39, w >= 69, ux < -18});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 75, x1 < 25, y1 >= -4});
  c.Require(c.Mcn(s1, kMcn), {dev < 26, ox < 26, oy >= -4});
  const PointView p0 = c.OptF(0);
  c.AcceptWhen(!p0.present);
  c.Require(p0, {y >= 190});
  // A bar over a stem that could be a plus sign: its top must not bulge.
  c.AcceptWhen((c.args().modelSet->mask & kTypeSigns) == 0);
  const PointView ring = c.TracedSource(s0.segment != nullptr ? s0.segment->end1 : -1);
  c.Need(ring.present);
  if (c.decided()) return;
  const ContourPoint* a = FindContourExtreme(ring.contour, kDirPosXY);
  const ContourPoint* b = FindContourExtreme(ring.contour, kDirYMinusX);
  DrawArcEndsTogether(a, b, 2);
  c.RejectIf(NormalizedChordDeviation(a, b, c.args().frame) >= 8001);
  const PointView top = c.ContourInFrame(FindContourExtreme(ring.contour, kDirPosY));
  const PointView pa = c.ContourInFrame(a), pb = c.ContourInFrame(b);
  c.RejectIf(2 * top.y - pb.y - pa.y >= 86);
}

void CheckCapitalU(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 >= 150, y1 >= 160, x2 < 106, y2 >= 141, ux >= 43, uy >= -48, uy < 57});
  c.AcceptWhen(s0.code != 20);
  c.AcceptWhen(PieceBend(c, s0, 0) >= 17);
  c.RejectIf(PieceBend(c, s0, 1) < 32);
}

void CheckCapitalV(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  const StrokeView s1 = c.S(1);
  if (c.decided()) return;
  const bool bad = s0.cx < 90 || s0.cx > 135 || s0.cy < 165 || s0.x2 < 60 || s0.y2 > 50 ||
                   s1.x2 >= 136 || s1.y2 < 140 || s1.ux < 25 || s1.uy > 48;
  // A flat second stroke makes the bad shape an "O".
  const bool flat = 10 * (s1.x1 - s1.x2) < 6 * s1.w && s1.y1 - s1.y2 >= -39 && s1.y1 - s1.y2 < 40;
  if (s1.code == 43) {
    c.RejectIf((s1.x1 - s1.x2) - s1.w < -45);
    c.Need(s1.y1 - s1.y2 >= -16 && s1.y1 - s1.y2 < 49);
  } else if (s1.code == 33 && s1.y1 - s1.y2 >= 61) {
    c.RejectIf(s1.x1 - s1.x2 > 128);
  }
  if (bad) {
    if (flat) c.Relabel(kCodeOfO);
    c.Reject();
  }
}

void CheckCapitalVd(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 < 61, x2 >= 90, y2 < 86, ux < -24});
  c.RejectIf(FillRatio(c, s0) >= 119);
  c.RejectIf(RightExtremeHeight(c, s0) < 60);
  const PointView p1 = c.OptF(1);
  c.AcceptWhen(!p1.present);
  c.Require(p1, {x >= 100});
}

void CheckCapitalVh(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 <= 60, y1 >= 205, x2 <= 115, y2 >= 180, w >= 150, ux >= -15});
  const int32_t fill = FillRatio(c, s0);
  if (c.DigitsAndCapitals()) {
    c.RejectIf(fill >= 109);
  } else {
    c.AcceptWhen(fill < 80);
    c.RejectIf(fill > 108);
  }
  c.RejectIf(RightExtremeHeight(c, s0) < 50);
}

void CheckCapitalVi(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 >= 128, y1 >= 210, x2 >= 196, y2 >= 200});
  c.AcceptWhen(s0.kind < 4 || s0.subKind != 3);
  const ChainView chain = c.Chain(s0);
  const PieceList pieces = c.Pieces(s0);
  c.Need(pieces.count >= 2);
  if (c.decided()) return;
  c.AcceptWhen(pieces[1].kind != 1);
  // The chain up to the second piece must not bulge far to the left; a
  // second piece that starts the chain leaves nothing to measure.
  const int i = chain.PositionOf(pieces[1].piece->words[0]);
  c.Need(i >= 1);
  if (c.decided()) return;
  c.RejectIf(ChordDeviationInFrame(c.args(), chain.points->chain.items, i, false) < -30);
}
