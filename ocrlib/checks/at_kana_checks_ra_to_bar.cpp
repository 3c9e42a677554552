// The "@" katakana rows of the RA and WA columns, the voicing marks "@DK"
// and "@HD" and the long-vowel bars "@-", "@-a", "@-b": windows with exact
// bounds, chord measures, stroke codes and the candidate's distance; the
// holes of the outline (centres in the frame); the ring a stroke's chain or
// first piece was traced from; extreme points of chains and of contour
// rings. "@RI", "@RIa", "@WA", "@WO", "@_N" and "@_Na" are in
// at_kana_trees_ra_to_n.cpp.
#include "ocrlib/checks/kana_checks.h"

using namespace checkrow;

namespace {

constexpr McnMode kMcn0 = kMcnRaw;     // MCN(S, 0)
constexpr McnMode kMcn3 = kMcnAll128;  // MCN(S, 3)

// A ring's turning share, read only where the outline carries normals: the
// polygon steps trace the outline without them, and there the test is not
// applied (the row goes on).
bool TurningShareAllows(CheckContext& c, const PointView& ring, bool atLeast, int32_t bound) {
  if (!RingHasNormals(c)) return true;
  const int32_t share = TurningShare(ring);
  return atLeast ? share >= bound : share <= bound;
}

}  // namespace

void CheckAtKanaRA(CheckContext& c) {
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 107});
  const StrokeView s0 = c.S(0), s1 = c.S(1);
  c.Need(s1.code != 25 && s1.code != 53 && s1.code != 63);
  if (s1.code == 26) c.Require(s0, {h <= 45});
  c.AcceptWhen(s1.code == 55 || s1.code == 64);
  if (s1.code == 35) {
    c.Require(s0, {cy >= 215, w >= 40});
    c.Require(s1, {w >= 55});
    c.Require(s2, {cy < 116, cx >= 105, x1 >= 143, x2 >= 148, h < 226});
  }
  if (s1.code == 44) {
    c.Require(s0, {w >= 45});
    c.Require(s1, {cy < 116, w >= 55});
    c.Require(s2, {x2 >= 148});
  }
  if (s1.code == 54) c.Require(s0, {w >= 40});
  // The outline is measured only for the codes that test it.
  if (s1.code != 35 && s1.code != 44 && s1.code != 45 && s1.code != 54) return;
  // The hook of the second stroke along the outline, from end 2 to end 1.
  const PointView r = c.XP(s1, kDirPosXY, -1);
  const PointView a = Node(c, c.End(s1, 2).index), b = Node(c, c.End(s1, 1).index);
  if (c.decided()) return;
  const RingBulge bulge = BulgeBetween(c, RingExtremeBetween(c, a, b, kDirXMinusY, 1),
                                       RingExtremeBetween(c, a, b, kDirPosX, -1));
  const int32_t v = bulge.value;
  const PointView& f = bulge.farthest;
  if (!c.Need(r.present && f.present)) return;
  if (s1.code == 54) c.RejectIf(r.x < 174 && v < -2900);
  if (s1.code == 45) c.RejectIf(r.x < 180 && v < -3700);
  if (s1.code == 35) c.RejectIf(v < -2600 && f.y >= 111 && r.x < 193);
  if (s1.code == 44) c.RejectIf(v < -3100 && f.y >= 120);
}

void CheckAtKanaRU(CheckContext& c) {
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 140, w < 226});
  const StrokeView s0 = c.S(0);
  c.Require(c.Mcn(s0, kMcn0), {dev < -38});
  c.Require(s1, {x2 < 223});
  c.Require(c.Mcn(s0, kMcn3), {dev <= 95});
}

void CheckAtKanaRUa(CheckContext& c) {
  c.Require(c.S(2), {x2 < 195});
  c.Require(c.Mcn(c.S(3), kMcn0), {dev < -32, oy < -12});
}

void CheckAtKanaRE(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  if (s0.code == 30 || s0.code == 40 || s0.code == 57 || s0.code == 66) {
    // A lower right corner apart from the stroke's start: the stroke may not
    // turn there sharply from a steep start.
    const PointView p7 = c.EP(s0, kDirXMinusY);
    if (p7.present && p7.index != c.End(s0, 1).index) {
      const PointView p1 = c.EP(s0, kDirNegXY);
      const int32_t a = Ang(p7, c.End(s0, 1)), b = Ang(p7, p1);
      c.RejectIf((b < 17 || b > 160) && a > 70);
    }
  }
  c.Require(s0, {x2 < 115});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x2 < 139, h >= 170});
  c.Require(c.Mcn(s0, kMcn0), {ox <= 63});
  c.Require(s1, {cy <= 138});
}

void CheckAtKanaRO(CheckContext& c) {
  const StrokeView s1 = c.S(1);
  c.Need(GroupRingIsOuter(c, s1));
  c.Require(c.S(0), {cx >= 125, cx < 136, cy < 140});
  c.Require(s1, {cx >= 104, cx < 167, cy(106, 161), w(74, 240), h >= 100});
  const int32_t size = c.frame().size;
  c.Need(size >= 19);
  c.AcceptWhen(size > 25);
  const int n0 = RingPointCount(PieceStartSource(c, c.S(0)));
  c.Need(n0 >= 62);
  c.AcceptWhen(n0 > 69);
  const PointView ring1 = PieceStartSource(c, s1);
  c.Need(TurningShareAllows(c, ring1, false, 32));
}

void CheckAtKanaROa(CheckContext& c) {
  c.Require(c.S(0), {w >= 80});
  c.Require(c.S(1), {cx < 137, cy < 137});
  c.Need(GroupRingIsOuter(c, c.S(2)));
}

void CheckAtKanaROb(CheckContext& c) {
  c.Require(c.S(0), {y1 >= 150, y2 >= 150});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx <= 172, x2 <= 93, y2 >= 175, hY <= 31});
  c.Require(c.Mcn(s1, kMcn0), {dev >= -83, ox >= -21, ox < 22, oy >= -78});
}

void CheckAtKanaROc(CheckContext& c) {
  c.Require(c.S(0), {y1 <= 92, hY < 36, hX >= -41});
  c.Require(c.S(1), {cx <= 134, cy <= 136, x1 <= 112, y2 <= 103, hX <= -29, hY >= 35});
}

void CheckAtKanaWAa(CheckContext& c) {
  RequireNoTopHole(c);
  c.Need(c.distance() <= 804);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {y1 >= 87, hY >= 32});
  c.Require(c.Mcn(s0, kMcn0), {oy >= -47});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx < 136, x1 < 95, y2 >= 6, hX < 3});
  if (s0.code == 73) c.Require(s1, {x1 < 81});
  if (s0.code == 63) {
    c.Need(c.distance() < 661);
    c.Require(s0, {cx >= 114, x1 <= 83, y1 >= 95, h >= 185, hX < 21, hY >= 40});
    c.Require(s1, {y1 >= 200, x2(80, 225), w >= 140});
  }
}

void CheckAtKanaWAb(CheckContext& c) {
  RequireNoTopHole(c);
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx < 148, x2 < 83, w >= 28, hX >= 14});
  c.Require(c.Mcn(s1, kMcn0), {ox < 14});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 108, cy >= 99, hX < 12});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {x1 < 105});
  c.Require(c.Mcn(s3, kMcn0), {ox >= -73});
  const StrokeView s0 = c.S(0);
  if (s0.code == 75) c.Require(s1, {x2 <= 75});
  if (s0.code == 84) {
    c.Need(s2.code != 44);
    if (s2.code == 53) {
      c.Require(s1, {cx <= 145, x2 <= 75, y2 >= 231});
      c.Require(s3, {cx <= 87, x1 <= 100, x2 <= 150});
    }
  }
  c.AcceptWhen(s2.code != 63 && s2.code != 53);
  // How steeply the last stroke's outline runs down its left side.
  c.Chain(s3);
  const PointView e = Node(c, c.End(s3, 2).index), t = Node(c, c.End(s3, 1).index);
  if (c.decided()) return;
  const PointView p = RingExtremeBetween(c, e, t, kDirYMinusX, -1);
  const PointView q = RingExtremeBetween(c, e, t, kDirNegXY, -1);
  const int32_t a = Ang(q, p);
  if (s2.code == 63) {
    c.Need(a >= 80);
    return;
  }
  c.Need(a >= 76);
  c.AcceptWhen(a >= 84);
  const PointView r = RingExtremeBetween(c, e, t, kDirNegY, 1);
  const PointView u = Node(c, c.End(s2, 2).index);
  const PointView upperLeft = RingExtremeBetween(c, r, u, kDirYMinusX, -1);
  const PointView right = RingExtremeBetween(c, r, u, kDirPosX, -1);
  if (!c.Need(upperLeft.present && right.present)) return;
  c.Need(Ang(r, upperLeft) - Ang(u, right) >= 16);
}

void CheckAtKanaWAc(CheckContext& c) {
  RequireNoTopHole(c);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx < 81, h >= 18});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 120, x1 < 117, w >= 89, hX < 24});
  c.Require(c.S(2), {w >= 101});
  const int32_t d = c.distance();
  switch (s1.code) {
    case 35:
      c.Need(d <= 550);
      c.Require(s0, {cx <= 85, cy(170, 230), w <= 90});
      c.Require(s1, {y1 >= 210, w >= 85});
      break;
    case 44:
      c.Require(s0, {cx < 91, cy(128, 220), w <= 105});
      c.Require(s1, {x2 >= 45, w >= 90, h >= 200});
      break;
    case 45:
      c.Need(d <= 500);
      c.Require(s0, {h(55, 128)});
      c.Require(s1, {x1 <= 90});
      break;
    case 54:
      c.Require(s0, {cy >= 165, h <= 128});
      c.Require(s1, {x1 <= 90});
      break;
    default: break;
  }
  const McnView m1 = c.Mcn(s1, kMcn3);
  if (s1.code == 35) c.Require(m1, {dev <= 50});
  if (s1.code == 44 || s1.code == 54) c.Require(m1, {dev <= 40});
  if (s1.code == 45) c.Require(m1, {dev <= 28});
  const PointView u = c.XP(s0, kDirPosY, 1), lowest = c.XP(s0, kDirNegY, 1);
  if (!c.Need(u.present && lowest.present)) return;
  c.Need(Ang(lowest, u) >= 80);
  c.Need(s1.x1 - u.x < 81);
}

void CheckAtKanaWOa(CheckContext& c) {
  const StrokeView s0 = c.S(0), s2 = c.S(2);
  c.Need(s0.cy + s0.h / 2 >= s2.cy);
  c.Require(s0, {cx >= 110, cy >= 110, cy < 138, y1 >= 195, x2 >= 43, y2 < 31, h >= 180, hX < 4,
                 hY >= 90});
  c.Require(c.Mcn(s0, kMcn0), {oy >= -4});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 125, cy <= 134, y1 >= 190, y2 >= 26, hY <= 106});
  c.Require(s2, {cx >= 65});
  c.Require(s1, {cx <= 135});
  c.Require(s2, {cy(86, 190), w >= 55, w < 201});
}

void CheckAtKanaDK(CheckContext& c) {
  const StrokeView s0 = c.S(0), s1 = c.S(1);
  c.RejectIf(GroupRingIsOuter(c, s1));
  c.RejectIf(GroupRingIsOuter(c, s0));
  const HoleList holes = c.Holes(kMaxListedHoles);
  const HoleList::Hole* hole = LargestHole(holes);
  c.RejectIf(hole != nullptr && hole->points > 3);
  c.Require(s0, {cx >= 107, cy >= 39, cy < 240, w >= 15, h >= 39});
  c.Require(s1, {cx >= 14, cx < 149, cy >= 15, cy < 237, w >= 13, h >= 15});
  const PointView u0 = c.EP(s0, kDirPosY), d0 = c.EP(s0, kDirNegY);
  const PointView u1 = c.EP(s1, kDirPosY), d1 = c.EP(s1, kDirNegY);
  if (!c.Need(u0.present && d0.present && u1.present && d1.present)) return;
  const int32_t l0 = Len(d0, u0), a0 = Ang(d0, u0);
  const int32_t l1 = Len(d1, u1), a1 = Ang(d1, u1);
  const int32_t lu = Len(u1, u0), au = Ang(u1, u0);
  const int32_t ld = Len(d1, d0), ad = Ang(d1, d0);
  c.Need(Within(l0, 45, 300) && Within(l1, 33, 300) && Within(lu, 63, 259) && Within(ld, 56, 265) &&
         Within(a0, 76, 167) && Within(a1, 75, 168));
  c.RejectIf(Within(au, 114, 147) || Within(ad, 117, 131));
  c.Need(ad <= 177 && Within(a0 - a1, -37, 27));
  c.RejectIf(Within(au - a1, -32, 32));
  c.Need(au - a1 < 102);
  c.RejectIf(Within(a0 - ad, -25, 9));
  c.Need(a1 - ad >= -81);
  c.RejectIf(Within(au - ad, -116, -49));
  const int32_t size = c.frame().size;
  c.Need(size < 30);
  const int32_t e = u1.x - d1.x;
  if (e >= 0) {
    c.Need(size < 19);
    return;
  }
  c.AcceptWhen(size < 18);
  if (a0 >= 99) {
    c.Need(a0 - a1 < 21);
    c.AcceptWhen(a0 - a1 < -4);
    if (e >= -56 && a1 < 103 && ld - lu > 9) c.Need(Within(ad, 20, 158));
    c.Require(s1, {h >= 54, w < 245});  // whether or not the case above applied
  } else {
    c.Need(ad < 101 || ad >= 148 || l0 < 211);
  }
}

void CheckAtKanaHD(CheckContext& c) {
  const StrokeView s0 = c.S(0), s1 = c.S(1);
  c.Need(GroupRingIsOuter(c, s1));
  const int32_t size = c.frame().size;
  c.Need(size <= 24);
  c.AcceptWhen(size < 15);
  const PointView ring0 = PieceStartSource(c, s0), ring1 = PieceStartSource(c, s1);
  c.AcceptWhen(RingPointCount(ring0) < 53);
  c.AcceptWhen(RingPointCount(ring1) < 32);
  c.Need(TurningShareAllows(c, ring1, true, 27));
  const Corners k0 = c.StrokeCorners(s0);
  c.Need(k0.c1.y - k0.c1.x <= 223);
  c.AcceptWhen(k0.c1.y - k0.c1.x < 159);
  c.AcceptWhen(k0.c4.x + k0.c4.y > 75);
  c.AcceptWhen(k0.c3.x - k0.c3.y < 146);
  c.Need(k0.c2.x + k0.c2.y <= 470);
  c.AcceptWhen(k0.c2.x + k0.c2.y < 436);
  c.Need(k0.c4.x + k0.c4.y >= 20);
  c.AcceptWhen(k0.c3.x - k0.c3.y < 170);
  const Corners k1 = c.StrokeCorners(s1);
  c.Need(k1.c1.y - k1.c1.x <= 198);
  c.Need(k1.c4.x + k1.c4.y >= 30);
}

void CheckAtKanaBar(CheckContext& c) { c.Require(c.S(0), {h < 121, cx < 139, cy < 140}); }

void CheckAtKanaBarA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {y1 < 121, y2 >= 90});
  c.Require(c.Mcn(s0, kMcn3), {dev >= 90, ox < 131, oy < 176});
}

void CheckAtKanaBarB(CheckContext& c) { c.Require(c.S(0), {h <= 100}); }
