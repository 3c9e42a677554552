// The "@" rows of "KU", "SO" and "SOa", which go beyond windows: "@KU"
// walks the pieces of its two strokes and then follows the hook of its
// first stroke along the outline; "@SO" and "@SOa" weigh the farthest pairs
// of chain extremes of their strokes against each other, and "@SOa" ends in
// the outline round its long stroke.
#include <cstdlib>

#include "ocrlib/checks/kana_checks.h"

using namespace checkrow;

namespace {

constexpr McnMode kMcn3 = kMcnAll128;  // MCN(S, 3)

// ---- "@KU" ---------------------------------------------------------------------------
// Steps 3 to 7: the top of the first stroke and the corners of the second,
// piece by piece. Returns the slope of the first stroke's first piece.
int32_t CheckKuPieces(CheckContext& c, const StrokeView& s0, const StrokeView& s1) {
  const PieceList p0 = c.Pieces(s0);
  if (!c.Need(p0.count > 0)) return 0;
  const PieceView& first = p0[0];
  const int32_t s0Slope = PieceSlope(first);
  const int32_t firstRun = first.last.x - first.first.x;
  // Only a flat start is walked on: too long a top bar, or one that runs on
  // flat to the right edge, is no "KU".
  if (s0Slope <= 30) {
    c.RejectIf(firstRun >= 150);
    for (int i = p0.InnerBegin(); i < p0.InnerEnd(); ++i) {
      const PieceView& q = p0[i];
      if (q.entryCode != 5) continue;
      c.RejectIf(firstRun >= s0.w / 2);
      c.RejectIf(Slope(q.last.x - q.first.x, q.first.y - q.last.y) <= 30 &&
                 q.last.x - first.first.x >= s0.w - 10);
    }
  }
  const PieceList p1 = c.Pieces(s1);
  const int32_t s1Top = s1.cy + s1.h / 2;
  for (int i = p1.InnerBegin(); i < p1.InnerEnd(); ++i) {
    if (p1[i].entryCode == 1 || p1[i].entryCode == 2) {
      c.RejectIf(s1Top - p1[i].first.y < 51);
      break;
    }
  }
  const int32_t s1Left = s1.w / 2 - s1.cx;  // added to x: distance from the left edge
  for (int i = p1.InnerBegin(); i < p1.InnerEnd(); ++i) {
    const PieceView& q = p1[i];
    if (q.entryCode != 4 && q.entryCode != 5) continue;
    const int32_t d = q.last.x - q.first.x;
    c.RejectIf(d >= 150 && s1Left + q.first.x < 51);
    c.RejectIf(d >= s1.w - 10);
  }
  // A long flat run (a piece falling in, B, then one rising out, C) in the
  // middle of the second stroke.
  int a = -1, b = -1;
  for (int i = p1.InnerBegin(); i < p1.InnerEnd() && !c.decided(); ++i) {
    const PieceView& q = p1[i];
    if (q.entryCode == 1 || q.entryCode == 2) a = i;
    if (q.entryCode == 4) b = i;
    if (q.entryCode != 5) continue;
    if (b < 0) break;
    const PieceView& pb = p1[b];
    const bool bUpright = pb.last.x == pb.first.x, cUpright = q.first.x == q.last.x;
    const int32_t sB = Slope(pb.last.x - pb.first.x, pb.last.y - pb.first.y);
    const int32_t sC = Slope(q.first.x - q.last.x, q.last.y - q.first.y);
    const int32_t span = q.last.x - pb.first.x;
    if (a >= 0 && b > a && !bUpright && !cUpright && sB <= 50 && sC <= 50 && span >= 150 &&
        s1Top - p1[a].first.y < 51) {
      c.RejectIf(s1Left + pb.first.x < 51 || span >= s1.w - 20);
    }
    if (bUpright || cUpright) continue;
    if (sB > 50 || sC > 50 || span < 130) break;
    if (s1Left + pb.first.x > 20 && span < s1.w - 20) break;
    c.Reject();
  }
  if (s1.code == 130) {
    for (int i = p1.InnerBegin(); i < p1.InnerEnd(); ++i) {
      const PieceView& q = p1[i];
      if ((q.entryCode != 6 && q.entryCode != 7) || q.first.x < s1.w / 4 + s1.cx) continue;
      const int32_t rise = q.entryCode == 6 ? q.first.y - q.last.y : q.last.y - q.first.y;
      c.RejectIf(rise >= s1.h / 2 && q.last.x != q.first.x &&
                 rise * 100 / (q.last.x - q.first.x) >= 300);
    }
  }
  return s0Slope;
}

// The ends of S0 on the outline: node() of end 1 and end 2.
struct OutlineEnds {
  PointView e1, e2;
};
OutlineEnds EndsOnOutline(CheckContext& c, const StrokeView& s0) {
  c.Chain(s0);
  return {Node(c, c.End(s0, 1).index), Node(c, c.End(s0, 2).index)};
}

// The hook of a first stroke of code 53, along the outline from its top.
void CheckKuHookFromTop(CheckContext& c, const StrokeView& s0) {
  const OutlineEnds e = EndsOnOutline(c, s0);
  if (c.decided()) return;
  const PointView m = RingExtremeBetween(c, e.e1, e.e2, kDirPosY, 1);
  const PointView u = c.XC(e.e2, kDirYMinusX, -1);
  const PointView r = RingExtremeBetween(c, u, m, kDirNegY, 1);
  const PointView k = RingExtremeBetween(c, m, e.e2, kDirPosXY, -1);
  const PointView f = BulgeBetween(c, r, k).farthest;
  const PointView k2 = RingExtremeBetween(c, m, e.e2, kDirPosX, -1);
  if (!c.Need(m.present && u.present && r.present && k.present && f.present && k2.present)) return;
  // Angles of this analysis keep their sign (not folded).
  const int32_t a1 = Tilt(r, f), l1 = Len(r, f);
  const int32_t a2 = Tilt(f, k), l2 = Len(f, k);
  const int32_t a3 = Tilt(e.e2, k2);
  c.AcceptWhen(a1 < 63);
  c.AcceptWhen(a1 - a3 < 1);
  const int32_t dxRF = f.x - r.x;
  if (dxRF < 14) {
    c.RejectIf(a1 - a2 >= 70 || a1 - a3 >= 17);
    c.Accept();
  }
  c.AcceptWhen(dxRF > 44);
  if (a1 - a2 < 63) {
    c.AcceptWhen(dxRF >= 24 || a1 - a3 < 8);
    c.Reject();
  }
  c.AcceptWhen(a1 - a3 < 6);
  c.RejectIf(f.y - k.y >= 9 && a1 >= 71);
  c.AcceptWhen(a2 < 0);
  c.Need(l1 - l2 >= -6);
}

// The hook of a first stroke of code 44, against the second stroke.
void CheckKuHookAgainstSecond(CheckContext& c, const StrokeView& s0, const StrokeView& s1) {
  c.AcceptWhen(c.Pieces(s0).count > 3);
  c.AcceptWhen(c.XP(s0, kDirYMinusX, 1).x - s0.x1 > 0);
  c.AcceptWhen(c.XP(s1, kDirYMinusX, 1).y - s0.y1 > 47);
  const PointView p5 = c.XP(s1, kDirPosXY, -1);
  const PointView p4 = c.XP(s1, kDirPosY, -1);
  if (p4.y - p5.y > 18 && p5.x - p4.x > 52) {
    c.RejectIf(p4.y - s0.y1 < 72 && p4.x - s0.x1 > 80);
    c.Accept();
  }
  const OutlineEnds e = EndsOnOutline(c, s0);
  if (c.decided()) return;
  const PointView k = RingExtremeBetween(c, e.e1, e.e2, kDirPosXY, -1);
  const RingBulge bulge = BulgeBetween(c, e.e1, k);
  const PointView k2 = RingExtremeBetween(c, e.e1, e.e2, kDirPosX, -1);
  if (!c.Need(k.present && bulge.farthest.present && k2.present)) return;
  const PointView& f = bulge.farthest;
  // Angles of this analysis keep their sign (not folded).
  const int32_t aA = Tilt(e.e1, f), lA = Len(e.e1, f);
  const int32_t aB = Tilt(f, k), lB = Len(f, k);
  const int32_t aC = Tilt(e.e2, k2);
  if (bulge.value < 1) {
    c.Need(aA - aB >= 30 && aC - aA <= 35 && k2.y >= 150 && Within(lA - lB, -60, 100));
  } else {
    c.Need(aC - aB <= 35);
  }
}

// ---- "@SO", "@SOa" ------------------------------------------------------------------------
// The farthest pairs of two strokes: the length and folded angle from the
// higher point of the first pair to that of the second.
struct PairLink {
  int32_t length, angle;
};
PairLink LinkOfHigherPoints(const ExtremePair& from, const ExtremePair& to) {
  return {Len(from.Upper(), to.Upper()), Ang(from.Upper(), to.Upper())};
}

// The slope of the stroke's longest piece; rejects a stroke without pieces.
int32_t LongestPieceSlope(CheckContext& c, const StrokeView& s) {
  const PieceList pieces = c.Pieces(s);
  if (!c.Need(pieces.count > 0)) return 0;
  return PieceSlope(pieces[LongestPiece(pieces)]);
}

// Step 4 of "@SO": the first stroke's code picks how its two ticks may lie.
void CheckSoTicksByCode(CheckContext& c, int32_t code, const ExtremePair& e1, const ExtremePair& e2,
                        const PairLink& l1, int32_t l2, int32_t t2) {
  const int32_t d = e2.angle - e1.angle;
  switch (code) {
    case 26:
      c.Need(e2.angle >= 101 && l1.length >= 64 && l2 <= 120 && d >= 13);
      if (e1.angle >= 69 && e2.angle <= 140 && l1.length <= 162 && t2 <= 131 && d <= 44) {
        if (l1.length < 93) {
          c.RejectIf(e2.length > 60);
        } else if (l1.length <= 126 && l2 >= 50) {
          if (l2 >= 84) {
            c.RejectIf(t2 < 110);
          } else {
            c.RejectIf(d <= 40 && e2.angle <= 104 && t2 >= 97);
          }
        }
      }
      break;
    case 27: c.Need(Within(d, 40, 90) && t2 >= 65); break;
    case 35:
      c.RejectIf(d < 1 || l1.length < 58);
      c.RejectIf(d < 38 && l2 < 38);
      c.RejectIf(l2 >= 132 && d >= 34);
      break;
    case 36:
      c.Need(d >= 39);
      c.RejectIf(t2 < 105 && e1.angle < 73);
      break;
    case 44: c.Need(d >= 30 && t2 >= 4 && l2 <= 85 && l1.length >= 75); break;
    case 45: c.Need(d >= 28 && l2 <= 120 && l1.angle <= 170 && l1.length >= 70); break;
    case 54: c.Need(d >= 60); break;
    default: break;
  }
}

// Step 4 of "@SOa", for a short sweep close to the long stroke.
void CheckSoaCloseSweep(CheckContext& c, const StrokeView& s1, const ExtremePair& e0,
                        const ExtremePair& e1, const PairLink& link) {
  const int32_t d = e1.angle - e0.angle, l = link.length;
  c.RejectIf(l < 88 || l >= 201);
  if (l >= 151) {
    c.AcceptWhen(l >= 160 || d >= 33);
    c.Reject();
    return;
  }
  c.RejectIf(e0.angle >= 78);
  if (d >= 41) {
    if (e1.length < 75) {
      c.RejectIf(d <= 46);
    } else {
      c.RejectIf(l < 109 && link.angle < 15);
    }
  } else if (d <= 33) {
    if (l >= 107) {
      c.Need(e0.length < 266 && e1.length >= 104);
    } else {
      c.Reject();
    }
  } else if (e0.length >= 266) {
    c.RejectIf(e0.angle < 67 || e0.angle > 70);
    if (l >= 105) {
      c.RejectIf(l > 140 && e0.angle < 69);
      c.RejectIf(d < 35);
    } else {
      c.Reject();
    }
  } else {
    const PointView start = ChainStartNode(c, s1);
    const PointView q4 = c.XC(start, kDirPosY, -1), q0 = c.XC(start, kDirNegY, -1);
    if (!c.Need(q4.present && q0.present)) return;
    c.AcceptWhen(s1.w >= 46 || e0.angle < 72 || Ang(q0, q4) >= 111);
    c.Reject();
  }
}

}  // namespace

void CheckAtKanaKU(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(96, 149), x1 <= 119, y1 <= 227, x2(11, 199), w(66, 234), h >= 166, ux <= 34,
                 uy <= 113});
  c.Need(Within(s0.y1 - s0.x1, 1, 199) && s0.w < s0.h);
  c.Require(c.Mcn(s0, kMcn3), {dev <= 69, ox >= 181, oy >= 76});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(128, 135), cy <= 134, x1(64, 219), y1 >= 185, w <= 249, ux >= -71});
  c.Need(s1.x2 - s1.y2 <= 119 && (s1.x2 - s1.x1) / 2 + s1.uy <= 127);
  const McnView m1 = c.Mcn(s1, kMcn3);
  c.RejectWhen(m1, {ox <= 1, oy >= 120});
  c.RejectWhen(m1, {oy >= 190});
  const int32_t s0Slope = CheckKuPieces(c, s0, s1);
  if (c.decided()) return;
  switch (s0.code) {
    case 63:
      c.RejectIf(s0Slope >= 300);
      c.Accept();
      break;
    case 54: {
      c.RejectIf(s0Slope <= 31);
      c.AcceptWhen(s0Slope >= 51);
      const PieceList pieces = c.Pieces(s0);
      // An upright last piece (slope 32767) passes.
      if (pieces.count > 0) c.Need(PieceSlope(pieces[pieces.count - 1]) >= 65);
      break;
    }
    case 53: CheckKuHookFromTop(c, s0); break;
    case 44: CheckKuHookAgainstSecond(c, s0, s1); break;
    default: break;
  }
}

void CheckAtKanaSO(CheckContext& c) {
  const StrokeView s2 = c.S(2);
  c.RejectIf(GroupRingIsOuter(c, s2));
  const HoleList holes = c.Holes(kMaxListedHoles);
  const HoleList::Hole* largest = LargestHole(holes);
  c.RejectIf(largest != nullptr && largest->points > 7);
  const StrokeView s0 = c.S(0), s1 = c.S(1);
  const ExtremePair e1 = c.FarthestExtremes(s1), e2 = c.FarthestExtremes(s2);
  if (!c.Need(e1.present && e2.present)) return;
  c.Need(e2.angle >= 90);
  const PairLink l1 = LinkOfHigherPoints(e1, e2);
  const int32_t l2 = Len(s0.x1 - s1.x1, s0.y1 - s1.y1);
  const int32_t t2 = Ang(s0.x1 - s1.x1, s0.y1 - s1.y1);
  CheckSoTicksByCode(c, s0.code, e1, e2, l1, l2, t2);
  c.Require(s0, {cx >= 108, x1(86, 219), y1 >= 190, x2(16, 199), w(31, 199), dX(115, 219)});
  c.Require(c.Mcn(s0, kMcn3), {ox <= 253});
  c.Require(s1, {x1 >= 151, y1 >= 111, w(61, 229), dX >= 111});
  c.Require(c.Mcn(s1, kMcn3), {dev >= 126});
  if (2 * s1.w <= s1.h && s0.h >= 2 * s0.w) c.RejectIf(s0.cx + s2.w / 2 - s2.cx + s0.w / 2 < 131);
  c.Require(s2, {cx <= 104, cy <= 240, w <= 155, h >= 13});
  c.Need(4 * s2.w > s2.h);
  c.RejectIf(3 * s1.w <= s1.h && 3 * s2.w <= s2.h);
  const PieceList pieces = c.Pieces(s2);
  if (!c.Need(pieces.count > 0)) return;
  const PieceView& longest = pieces[LongestPiece(pieces)];
  c.RejectIf(longest.last.y - longest.first.y >= 0);
  c.RejectIf(longest.last.x != longest.first.x && PieceSlope(longest) < -499 &&
             (s0.subKind == 0 || s0.subKind == 6 || s0.subKind == 7));
  c.AcceptWhen(s0.subKind != 5);
  const PieceList first = c.Pieces(s0);
  c.Need(first.count > 0 && first[0].last.x - first[0].first.x < 100);
}

void CheckAtKanaSOa(CheckContext& c) {
  const StrokeView s0 = c.S(0), s1 = c.S(1);
  c.RejectIf(GroupRingIsOuter(c, s1));
  const HoleList holes = c.Holes(kMaxListedHoles);
  if (const HoleList::Hole* h = LargestHole(holes)) {
    c.RejectIf(h->points >= 8);
    c.RejectIf(h->points >= 4 && h->frameY > 205);
    // A hole far off the line of the long stroke's upper left and lower
    // right ends.
    const PointView p3 = c.XP(s0, kDirYMinusX, 1), p7 = c.XP(s0, kDirXMinusY, -1);
    c.Need(p3.present && p7.present);
    const int64_t off =
        int64_t{h->frameX - p7.x} * (p3.y - p7.y) + int64_t{p7.y - h->frameY} * (p3.x - p7.x);
    c.RejectIf(h->points >= 4 && std::abs(off) >= 19001);
  }
  c.Require(s1, {w >= 17, h <= 164});
  const ExtremePair e0 = c.FarthestExtremes(s0), e1 = c.FarthestExtremes(s1);
  if (!c.Need(e0.present && e1.present)) return;
  c.Need(Within(e0.length, 183, 332) && Within(e0.angle, 44, 81) && Within(e1.length, 30, 183) &&
         Within(e1.angle, 98, 174));
  const PairLink link = LinkOfHigherPoints(e0, e1);
  const int32_t d = e1.angle - e0.angle;
  c.RejectIf(d < 28);
  if (e1.angle <= 128 && e0.angle >= 60 && d <= 47 && link.length <= 206 &&
      Within(e1.length, 43, 152)) {
    CheckSoaCloseSweep(c, s1, e0, e1, link);
  }
  if (e1.angle >= 122 && d >= 66 && e0.angle <= 62 && e0.length >= 283) {
    if (e0.angle < 50) {
      c.RejectIf(link.angle > 70);
    } else if (e0.length >= 301 && Within(e1.angle, 151, 169)) {
      c.RejectIf(link.length < 235 || e1.length < 140);
    } else if (e0.length < 301) {
      c.RejectIf(e1.angle > 165);
      c.RejectIf(e0.angle >= 61 && link.angle >= 20 && e1.length > 85);
    }
  }
  c.Require(s0, {w(51, 219)});
  c.Need(s0.w < s0.h);
  c.RejectIf(2 * s1.w <= s1.h && s1.h <= 120);
  if ((s0.cy + s0.h / 2) - (s1.cy + s1.h / 2) >= 70) c.RejectIf(3 * s1.h <= 2 * s1.w && s1.w >= 60);
  const int32_t slope1 = LongestPieceSlope(c, s1);
  c.RejectIf(slope1 >= -30);
  const int32_t slope0 = LongestPieceSlope(c, s0);
  c.RejectIf(slope0 <= 0);
  c.RejectIf(slope0 >= 500 && slope1 <= -200);
  c.RejectIf(slope0 >= 300 && s1.w <= 40 && s1.h <= 100 && 3 * s1.w <= 2 * s1.h);
  c.AcceptWhen(s0.w <= 117 || slope1 <= -158);
  // The outline round the long stroke: how its left and lowest points, and
  // its right and highest ones, lie to each other.
  const PointView start = ChainStartNode(c, s0);
  const PointView v2 = c.XC(start, kDirNegX, 1), v0 = c.XC(start, kDirNegY, 1);
  const PointView v6 = c.XC(start, kDirPosX, -1), v4 = c.XC(start, kDirPosY, -1);
  if (!c.Need(v2.present && v0.present && v6.present && v4.present)) return;
  c.AcceptWhen(v0.x - v2.x < 7);
  c.AcceptWhen(v0.x - v2.x < 15 && v2.y < 8);
  if (2 * s0.h - 3 * s0.w < 1) {
    if (v6.x - v4.x >= 13) {
      c.Need(s1.h >= 40);
      c.Accept();
    }
    c.AcceptWhen(v4.y - v6.y >= 34);
    c.RejectIf(v2.y - v0.y > 9);
    c.Need(slope0 >= 137);
  } else {
    c.AcceptWhen(v6.x - v4.x >= 10);
    c.RejectIf(v4.y - v6.y < 7);
    c.Need(s1.h >= 40);
  }
}
