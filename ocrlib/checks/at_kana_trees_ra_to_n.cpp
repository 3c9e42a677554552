// The "@" rows of "RI", "RIa", "WA", "WO", "_N" and "_Na": after their
// windows each weighs the farthest pairs of chain extremes, the extreme
// points of chains and of outline rings and the ends of its strokes against
// each other, branching by stroke code or by the angles measured. "P - Q"
// is the vector from Q to P; an end of a stroke is the frame position of its
// end point.
#include <cstdlib>

#include "ocrlib/checks/kana_checks.h"

using namespace checkrow;

namespace {

constexpr McnMode kMcn0 = kMcnRaw;  // MCN(S, 0)

bool CodeIn(int32_t code, std::initializer_list<int32_t> codes) {
  for (int32_t k : codes) {
    if (code == k) return true;
  }
  return false;
}

// ---- "@RIa" -----------------------------------------------------------------------
struct RiaMeasures {
  int32_t l1, a1, l2, a2;  // farthest pairs of S1 and S2
  int32_t l, a;            // from S1's higher point to S2's
  int32_t lStart, aStart;  // from S1's end 1 to S0's end 1
  int32_t g;               // a2 - a1
};

void CheckRia26(CheckContext& c, const RiaMeasures& m) {
  c.Need(m.g < 61);
  c.RejectIf(m.g < -12 && m.l2 > 100);
  c.Need(m.l1 <= 279 && m.a1 >= 61);
  c.AcceptWhen(m.a2 < 90 || m.l < 64 || m.lStart > 120 || m.aStart < 94);
  c.Need(m.l < 163);
  if (m.g >= 45) {
    c.Need(m.aStart <= 100 && m.lStart >= 100);
    c.AcceptWhen(m.a < 16);
  } else if (m.g < 27) {
    c.AcceptWhen(m.lStart < 76);
    c.Need(m.aStart <= 120);
    c.AcceptWhen(m.aStart < 106 || m.a2 < 109);
  } else {
    c.Need(m.aStart < 125);
    if (m.l < 127 || m.lStart >= 105) {
      c.AcceptWhen(m.a2 < 110 || m.lStart < 113);
    } else {
      c.AcceptWhen(m.g < 28 && (m.a2 < 110 || m.lStart < 113));
    }
  }
  c.Reject();
}

// ---- "@WA" ------------------------------------------------------------------------
// Code 53: the corner of the second stroke (its upper left, on the chain cut
// there, against its lower left) and the hook of the first along the
// outline.
void CheckWaHook53(CheckContext& c, const StrokeView& s0, const StrokeView& s1) {
  c.Require(s1, {x1 <= 115, y1 >= 175, w >= 120, h >= 200});
  const PointView p3 = c.EP(s1, kDirYMinusX);
  const ChainView chain = c.Chain(s1);
  const int at = chain.PositionOf(p3.index);
  if (!c.Need(at >= 0)) return;
  c.args().points->chain.count = static_cast<int16_t>(at + 1);
  const PointView p1 = c.EPOnScratchChain(kDirNegXY);
  if (!c.Need(p1.present)) return;
  const int32_t l31 = Len(p1, p3), a31 = Ang(p1, p3);
  c.Chain(s0);
  const PointView e = Node(c, c.End(s0, 2).index), t = Node(c, c.End(s0, 1).index);
  const PointView m = Node(c, c.XP(s0, kDirPosXY, 1).index);
  if (c.decided()) return;
  const int32_t aem = Ang(e, m);
  const PointView q1 = RingExtremeBetween(c, t, e, kDirPosXY, -1);
  const PointView q2 = RingExtremeBetween(c, t, e, kDirPosY, -1);
  const PointView q3 = RingExtremeBetween(c, e, t, kDirPosY, -1);
  const PointView q4 = RingExtremeBetween(c, q3, q2, kDirNegY, 1);
  const PointView f = BulgeBetween(c, q4, q1).farthest;
  const PointView q5 = RingExtremeBetween(c, q3, q2, kDirYMinusX, -1);
  const PointView q6 = RingExtremeBetween(c, q3, q2, kDirNegY, -1);
  if (!c.Need(q1.present && f.present && q5.present && q6.present)) return;
  const int32_t b1 = Ang(q4, f), b2 = Tilt(f, q1), b3 = Ang(q6, q5);
  if (a31 > 95 && a31 < 131) {
    c.AcceptWhen(b1 >= 68);
    c.Need(q5.y - q6.y >= 48);
    c.AcceptWhen(b3 >= 94);
    c.Reject();
    return;
  }
  c.RejectIf(a31 < 64);
  if (a31 <= 95) {
    const PointView e1 = c.End(s1, 1), e2 = c.End(s1, 2);
    const int32_t l1 = Len(e2, e1), a1 = Ang(e2, e1);
    if (a31 < 69) {
      c.Need(l1 >= 130 && a1 <= 155 && l31 <= 115);
    } else if (a31 < 80) {
      c.Need(Within(l31, 70, 151) && l1 >= 120 && s1.x1 - s1.x2 <= -119);
      c.AcceptWhen(l1 > 170);
    } else if (a31 >= 91) {
      c.RejectIf(l31 >= 121 && l1 < 102);
      // A second stroke whose ends meet has no length to compare with.
      c.Need(l1 > 0);
      if (!c.decided()) c.Need(l31 * 100 / l1 <= 115);
    } else if (l31 > 130 || l1 > 105) {
      c.Need(q5.y - q6.y >= 30 && b1 >= 61);
      c.AcceptWhen(q1.x - f.x >= 134);
      const int32_t d = b1 - aem;
      c.AcceptWhen(d >= 10 || b3 >= 90);
      if (b3 >= 80) c.AcceptWhen(f.x - q4.x < 23 || d >= 3);
      c.Reject();
    } else {
      c.Need(s1.x1 - s1.x2 <= -72 && l31 >= 40);
    }
  } else {
    c.Need(l31 >= 60);
  }
  c.AcceptWhen(b3 >= 91 || b3 - b1 >= 26);
  if (q1.x - f.x >= 81) c.AcceptWhen(b2 - b1 >= 8 || f.x - q4.x < 21 || b3 >= 82);
  c.Reject();
}

// ---- "@WO" ------------------------------------------------------------------------
void CheckWo130(CheckContext& c, const TurnBackVectors& v) {
  if (v.a1 >= 20) {
    c.AcceptWhen(v.l1 < 80);
    if (v.l1 > 135) {
      c.AcceptWhen(v.a1 >= 36);
      c.Reject();
    }
    c.AcceptWhen(v.a2 < 91 || v.l1 >= 133);
    c.Reject();
    return;
  }
  c.Need(v.l1 <= 138 && v.l2 >= 53 && v.a2 - v.a1 <= 75);
  if (v.l1 < 101) {
    c.AcceptWhen(v.a2 < 70 || v.l1 < 56 || v.l2 >= 118);
    c.AcceptWhen(v.l3 - v.l1 < -9 || v.l3 - v.l1 >= 52);
    c.Reject();
  } else {
    c.Need(v.a2 <= 69 && v.a2 - v.a1 >= 50 && v.a1 - v.a3 >= 51 && v.l3 - v.l1 <= 5);
  }
}

void CheckWo121(CheckContext& c, const TurnBackVectors& v) {
  if (v.a1 < 3) {
    c.Need(v.l1 <= 70 && v.l2 >= 80);
  } else if (v.a1 < 21) {
    c.AcceptWhen(v.l1 < 56);
    c.Need(v.l1 < 108 && v.l2 >= 73);
    c.AcceptWhen(v.l2 > 110);
    c.Need(v.l3 >= 100);
    c.AcceptWhen(v.l3 > 175);
    c.Need(v.a2 - v.a1 <= 67);
    c.AcceptWhen(v.l3 - v.l1 >= 25);
    c.Reject();
  } else if (v.a1 >= 33) {
    c.AcceptWhen(v.l1 < 143 || v.l3 >= 140);
    c.Reject();
  } else {
    c.AcceptWhen(v.l1 < 77);
    c.Need(v.l1 < 151 && v.l2 >= 47);
    c.AcceptWhen(v.l2 >= 106 && v.l1 < 130);
    c.Need(v.l3 >= 95);
    c.AcceptWhen(v.l3 > 207);
    c.Need(v.a2 <= 86);
    c.AcceptWhen(v.a2 - v.a1 < 40);
    c.Need(v.a2 - v.a1 <= 62);
    if (v.a1 - v.a3 > 20) c.Need(v.l3 - v.l1 >= 60);
    c.AcceptWhen(v.a1 >= 26 || v.l3 - v.l1 >= 30);
    c.Reject();
  }
}

void CheckWo120(CheckContext& c, const TurnBackVectors& v) {
  c.AcceptWhen(v.l1 > 164 || v.l2 > 114 || v.a3 < 8);
  c.Need(v.a3 <= 30);
  c.AcceptWhen(v.l1 > 145 || v.a1 > 70 || v.a2 < 100);
  const int32_t turn = v.a2 - v.a1;
  if (v.a1 - v.a3 >= 45) {
    c.RejectIf(turn >= 71 && turn < 98 && v.l3 < 125);
  } else {
    c.Need(v.l1 >= 133 && v.l3 >= 100 && (turn < 86 || turn >= 100));
  }
}

// ---- "@_N", "@_Na" ---------------------------------------------------------------------
// The outline ring a stroke's group starts on, by its lowest, leftmost,
// rightmost and highest points (tie-breaks as the rows give them).
struct RingBox {
  PointView low, left, right, high;
};
RingBox GroupRingBox(CheckContext& c, const StrokeView& s) {
  const PointView start = GroupStartSource(c, s);
  return {c.XC(start, kDirNegY, 1), c.XC(start, kDirNegX, 1), c.XC(start, kDirPosX, -1),
          c.XC(start, kDirPosY, -1)};
}

// Code 27 of "@_N": the slant of the third stroke and the outline of its
// group.
void CheckN27(CheckContext& c, const StrokeView& s0, const StrokeView& s1, const StrokeView& s2) {
  c.RejectIf(s0.w < 40 && s0.h > 80);
  c.Require(s0, {w <= 150, h <= 115});
  c.RejectIf(s1.x1 < 200 && s1.y1 < 190);
  c.Require(s1, {x2 <= 85, w >= 128});
  c.RejectIf(s1.ux < 65 && s1.uy < 85);
  const PointView r5 = c.XP(s2, kDirPosXY, -1), r2 = c.XP(s2, kDirNegX, -1);
  // A third stroke upright from its left to its upper right has no slope.
  if (!c.Need(r5.present && r2.present && r5.x != r2.x)) return;
  c.AcceptWhen((r5.y - r2.y) * 1000 / (r5.x - r2.x) < 1046);
  const PointView p3 = c.XP(s0, kDirYMinusX, 1), p7 = c.XP(s0, kDirXMinusY, -1);
  c.AcceptWhen(!(p3.y - p7.y >= 32 && p7.y - r5.y < -30));
  c.Need(p7.x - r2.x >= 10);
  const RingBox k = GroupRingBox(c, s2);
  if (!c.Need(k.low.present && k.left.present && k.right.present && k.high.present)) return;
  c.Need(k.left.y - k.low.y >= 7);
  c.AcceptWhen(k.left.y - k.low.y > 27);
  c.AcceptWhen(k.right.x - k.high.x < 7 && k.high.y - k.right.y < 55);
  if (k.low.x - k.left.x > 31) {
    c.Need(k.left.y >= 12);
    c.Accept();
  }
  c.Need(k.high.y - k.right.y <= 33 && k.right.x - k.high.x <= 20 && k.high.y < 249);
}

// "@_Na" once its strokes have been measured.
struct NaMeasures {
  PointView pa, pb, pc, pd;  // S0 upper left, lower right; S1 upper right, lower left
  int32_t a0, a1;            // angles of J0 = pb - pa and J1 = pd - pc
  int32_t j0x, j0y, j1x, j1y;
  int32_t jcx, jcy, lc;  // from S1's centre to S0's
  int32_t l03, a03, a12;
  int32_t sum;
};

void CheckNaWide(CheckContext& c, const StrokeView& s1, const NaMeasures& m) {
  if (m.a12 > 162 || m.a1 > 33 || m.j0x < 77 || m.j0y < -81) {
    const PointView q5 = c.XP(s1, kDirPosXY, -1), q2 = c.XP(s1, kDirNegX, -1);
    // Q5 straight above Q2 gives no slope.
    if (!c.Need(q5.present && q2.present && q5.x != q2.x)) return;
    const int32_t slope = (q5.y - q2.y) * 1000 / (q5.x - q2.x);
    c.Need(Within(slope, 0, 1309) && m.sum > 59);
    return;
  }
  c.Need(m.j0y <= 9);
  if (m.a0 < 30) {
    c.Need(m.a1 > 16 && m.a03 > 79 && m.sum > 69);
    return;
  }
  c.AcceptWhen(m.j1y < -90);
  c.Need(m.j1y <= -53);
  if (m.j0x < 100) {
    c.Need(m.a1 >= 17);
    c.Accept();
  }
  c.Need(m.a0 <= 173 && m.a12 >= 115 && m.sum > 94);
}

void CheckNaNarrow(CheckContext& c, const StrokeView& s0, const StrokeView& s1,
                   const NaMeasures& m) {
  const PointView start = GroupStartSource(c, s1);
  const PointView k0 = c.XC(start, kDirNegY, 1), k2 = c.XC(start, kDirNegX, 1);
  const PointView k4 = c.XC(start, kDirPosY, -1), k6 = c.XC(start, kDirPosX, -1);
  const PointView k2low = c.XC(start, kDirNegX, -1);
  if (!c.Need(k0.present && k2.present && k4.present && k6.present && k2low.present)) return;
  if (m.j1x > -221 && m.j1y < -208 && m.jcy < 122 && m.l03 > 179) {
    c.Need(m.a0 >= 124);
    if (m.a0 < 140) {
      c.Need(m.a1 <= 52 && m.j1x <= -174 && m.jcx >= -119 && m.jcy >= 80 && m.lc >= 118 &&
             m.l03 <= 259 && k0.x - k2.x >= 5 && k6.x - k4.x < 28);
    } else if (m.a0 < 150) {
      c.Need(m.a1 <= 49);
      c.AcceptWhen(k2low.y > 9 || k0.x - k2low.x > 17);
      c.Reject();
    } else {
      if (m.a1 < 49 || m.jcy < 30) {
        c.AcceptWhen(m.j0y * 1000 / m.j0x > -554);  // j0x >= 19 by now
        c.Reject();
      }
      c.Need(m.jcx >= -99);
      if (m.lc > 128) {
        c.AcceptWhen(s0.h < 35 || m.jcy > 115);
        c.Reject();
      }
      c.Need(k2.y >= 4 && k2.y - k0.y >= 4);
      c.AcceptWhen(k0.x - k2.x > 11);
      c.Need(k6.x - k4.x < 13);
    }
    return;
  }
  c.AcceptWhen(s1.h * 1000 / s1.w < 917);  // s1.w >= 105 by now
  const PointView p3 = c.XP(s0, kDirYMinusX, 1), p7 = c.XP(s0, kDirXMinusY, -1);
  c.AcceptWhen(p3.y - p7.y < 42 || p7.y - s1.cy > 77 || s1.cx - p7.x < 0);
  c.AcceptWhen(k0.x - k2.x > 31 || k2.y - k0.y > 21);
  c.Need(k6.x - k4.x <= 19);
  c.AcceptWhen(k2low.y >= 1);
  c.Need(k4.y - k6.y <= 12 && m.jcx <= -71);
}

}  // namespace

void CheckAtKanaRI(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy < 139, h >= 208});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 40, cy >= 117, cy < 231});
  c.RejectIf(GroupRingIsOuter(c, s1));
  const HoleList holes = c.Holes(kMaxListedHoles);
  const HoleList::Hole* hole = LargestHole(holes);
  c.RejectIf(hole != nullptr && hole->points > 5);
  const ExtremePair e0 = c.FarthestExtremes(s0), e1 = c.FarthestExtremes(s1);
  if (!c.Need(e0.present && e1.present)) return;
  const int32_t l0 = e0.length, a0 = e0.angle, l1 = e1.length, a1 = e1.angle;
  const int32_t l = Len(e0.Upper(), e1.Upper()), a = Ang(e0.Upper(), e1.Upper());
  const int32_t g = a1 - a0;
  c.Need(l0 <= 303 && Within(a0, 58, 105) && Within(l1, 35, 227) && a1 <= 124 && g <= 50);
  c.RejectIf(Within(g, -49, -26));
  if (a0 >= 92) {
    if (a1 < 76 || a1 >= 90) {
      c.Need(l1 <= 153);
      c.RejectIf(a0 > 100 && l > 110);
    } else {
      c.Need(l1 <= 123);
    }
  }
  if (a0 < 81 && l >= 81 && g >= 16) {
    if (g == 46) c.Need(l1 <= 95);
    c.RejectIf(g > 46);
    if (g < 31) {
      c.Need(l0 < 282);
      c.RejectIf(l1 >= 166 && a1 >= 99 && g > 23);
      if (a0 < 77 && a1 >= 95 && g >= 23 && Within(a, 91, 165)) c.Need(l <= 105 && l1 <= 150);
    }
  }
  c.Need(a1 >= 57);
  c.AcceptWhen(a1 < 94 || g < 24 || l < 106);
  // The outline round the first stroke, from its upper left to its left.
  const PointView start = ChainStartNode(c, s0);
  const PointView p = c.XC(start, kDirYMinusX, -1), q = c.XC(start, kDirNegX, 1);
  if (!c.Need(p.present && q.present)) return;
  c.AcceptWhen(RawBulgeBetween(p, q) > 1260);
  const PointView f = BulgeBetween(c, p, q).farthest;
  c.RejectIf(p.x - f.x >= 28 && g >= 33);
  c.AcceptWhen(l < 120 && a1 < 116);
  if (g >= 33) {
    c.Need(p.y - f.y >= 76);
    c.Need(p.x - f.x < 7);
  } else {
    c.Need(p.y - f.y >= 100 || p.x - f.x < 5);
  }
}

void CheckAtKanaRIa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 < 223, x2 >= 25, w < 186, hX < 88});
  c.Require(c.Mcn(s0, kMcn0), {dev >= -91, ox <= 86, oy >= -45});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x1 < 217, x2 >= 87, x2 < 217, y2 < 240, w < 206, hX >= -7, hX < 42, hY < 96});
  c.Require(c.Mcn(s1, kMcn0), {dev <= 125, ox >= -122, oy >= -45});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {w <= 81, h >= 33});
  c.RejectIf(GroupRingIsOuter(c, s2));
  const HoleList holes = c.Holes(kMaxListedHoles);
  if (const HoleList::Hole* hole = LargestHole(holes))
    c.Need(hole->points < 7 && hole->frameX >= 80 && hole->frameX < 93);
  if (!CodeIn(s0.code, {26, 27, 35, 36, 37, 44, 45, 46})) return;
  const ExtremePair e1 = c.FarthestExtremes(s1), e2 = c.FarthestExtremes(s2);
  if (!c.Need(e1.present && e2.present)) return;
  const PointView start0 = c.End(s0, 1), start1 = c.End(s1, 1);
  RiaMeasures m;
  m.l1 = e1.length;
  m.a1 = e1.angle;
  m.l2 = e2.length;
  m.a2 = e2.angle;
  m.l = Len(e1.Upper(), e2.Upper());
  m.a = Ang(e1.Upper(), e2.Upper());
  m.lStart = Len(start1, start0);
  m.aStart = Ang(start1, start0);
  m.g = m.a2 - m.a1;
  switch (s0.code) {
    case 26: CheckRia26(c, m); break;
    case 27:
      c.Need(Within(m.g, -18, 50));
      c.AcceptWhen(m.a2 < 108 || m.a1 >= 65);
      c.Reject();
      break;
    case 35: c.Need(Within(m.g, -18, 27) && m.lStart <= 40 && m.a2 >= 60); break;
    case 36:
      c.Need(Within(m.g, -10, 53));
      c.AcceptWhen(m.lStart >= 90 || m.aStart < 101 || m.l < 106 || m.a2 < 104);
      c.Reject();
      break;
    case 37: c.Need(m.g >= -10 && m.g < 46); break;
    case 44: c.Need(m.lStart <= 15 && m.g < 31); break;
    case 45: c.Reject(); break;
    case 46: c.Need(m.g >= 60); break;
    default: break;
  }
}

void CheckAtKanaWA(CheckContext& c) {
  RequireNoTopHole(c);
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy >= 102, x1 < 112, y1 >= 63, y1 < 213, x2 < 224, hY >= 15, hY < 107});
  c.Require(c.Mcn(s0, kMcn0), {dev <= -61, ox >= 60});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx <= 135, cy <= 134});
  c.Require(c.Mcn(s1, kMcn0), {ox >= -126});
  const int32_t d = c.distance();
  switch (s0.code) {
    case 43: c.Need(d < 501); break;
    case 44: c.Reject(); break;
    case 62:
      c.Require(s0, {x1 <= 115, h >= 180});
      c.Require(s1, {x1 < 96, h >= 200});
      break;
    case 71:
      c.Need(d <= 700);
      c.Require(s0, {hX < 16});
      break;
    case 72: {
      c.Need(d < 1401);
      c.Require(s0, {hX < 31, hY >= 35});
      const PointView e1 = c.End(s0, 1), e2 = c.End(s0, 2);
      c.Need(Len(e2, e1) >= 90 && Ang(e2, e1) >= 60);
      break;
    }
    case 53: CheckWaHook53(c, s0, s1); break;
    default: break;
  }
}

void CheckAtKanaWO(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {hX < 37});
  c.Require(c.Mcn(s0, kMcn0), {dev < -35, ox >= 34, oy < 126});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {y2 >= 93, w >= 62, h < 106});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {y1 >= 164, y2 >= 79, hY >= 5});
  c.Require(c.Mcn(s2, kMcn0), {dev < 16, ox >= 1});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {hY <= 121});
  switch (s3.code) {
    case 111:
      c.Require(s0, {w >= 50});
      c.Require(s2, {cx >= 90});
      c.Require(s3, {x1 >= 148});
      return;
    case 131:
      c.Require(s0, {x2 >= 40});
      c.Require(s1, {cy >= 130});
      c.Require(s2, {cy >= 185});
      c.Require(s3, {x2 <= 142, h >= 253});
      return;
    case 137: c.Require(s1, {w >= 108}); return;
    case 140:
      c.Require(s0, {cx(110, 135), cy(75, 95), x1 >= 40, x2 >= 50, w(95, 140)});
      c.Require(s1, {x1(160, 185), x2(175, 195), y1(110, 160), y2 >= 150, y2 < 181});
      return;
    case 147: c.Require(s1, {y1 >= 130, y2 >= 161}); return;
    case 120:
    case 121:
    case 130: break;
    default: return;
  }
  c.Require(s0, {y1 >= 78, x2 >= 10, y2 < 61, w >= 50, w < 226, h >= 75});
  c.Require(s1, {cx < 161, x2 >= 130, w >= 65, w < 236});
  c.Require(s2, {cx >= 95, cx < 151, x1 < 121, y1 >= 160, x2 < 181});
  c.Require(s3, {h >= 175});
  const TurnBackVectors v = MeasureTurnBack(c, s0, s2, s3);
  if (c.decided()) return;
  if (s3.code == 130) CheckWo130(c, v);
  if (s3.code == 121) CheckWo121(c, v);
  if (s3.code == 120) CheckWo120(c, v);
}

void CheckAtKanaN(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.RejectIf(GroupRingIsOuter(c, s0));
  const HoleList holes = c.Holes(kMaxListedHoles);
  if (const HoleList::Hole* hole = LargestHole(holes))
    c.RejectIf(hole->points >= 5 && hole->frameX < 96 && hole->frameY >= 129);
  c.Require(s0, {cx <= 145, w <= 211});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x1 >= 176, y2 <= 185, w >= 107, h >= 55, hX >= 54});
  c.Require(c.Mcn(s1, kMcn0), {ox < 85});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {y1 <= 220, h >= 78});
  c.Require(c.Mcn(s2, kMcn0), {ox >= -121});
  const int32_t d = c.distance();
  switch (s1.code) {
    case 20:
      c.Need(d <= 1200);
      c.Require(s1, {h >= 50});
      break;
    case 30: {
      c.Need(d <= 1400);
      c.Require(s0, {cx <= 128, cy >= 180, h <= 115, w >= 25});
      c.Require(s1, {y1 >= 70, y2 <= 155, w >= 130, h(45, 210)});
      const PointView p = c.XP(s0, kDirYMinusX, 1), q = c.XP(s0, kDirXMinusY, -1);
      c.Need(p.y - q.y >= -30);
      break;
    }
    case 36: c.Need(s0.w >= 80 && s1.ux >= 70); break;
    case 37: {
      c.Need(d < 1401 && s2.x2 < 176);
      const PointView p = c.XP(s0, kDirYMinusX, 1), q = c.XP(s0, kDirXMinusY, -1);
      c.AcceptWhen(p.y - q.y < 79 || s1.y2 - s2.y2 > 13 || s2.y2 > 30);
      const PointView r = c.XP(s2, kDirPosXY, -1);
      c.Need(r.y - q.y < 76);
      break;
    }
    case 40:
    case 56:
    case 57: c.Need(d < 1401); break;
    case 46: c.Need(d <= 1400 && s2.w >= 180 && s1.ux >= 60 && s0.h < 75); break;
    case 47: c.Need(d <= 1400 && s1.y1 >= 90 && s1.y2 < 171); break;
    case 27: CheckN27(c, s0, s1, s2); break;
    default: break;
  }
}

void CheckAtKanaNa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx <= 160, cy >= 146, w <= 201});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {w >= 105, h >= 39});
  c.RejectIf(GroupRingIsOuter(c, s0));
  c.RejectIf(GroupRingIsOuter(c, s1));
  const HoleList holes = c.Holes(kMaxListedHoles);
  if (const HoleList::Hole* h = LargestHole(holes)) {
    if (h->frameX < 110 && h->frameY > 109) {
      // How far the hole lies off the line of the first stroke's corners.
      const PointView p3 = c.XP(s0, kDirYMinusX, 1), p7 = c.XP(s0, kDirXMinusY, -1);
      const int64_t x = std::llabs(int64_t{p3.y - p7.y} * (h->frameX - p7.x) +
                                   int64_t{p7.x - p3.x} * (h->frameY - p7.y));
      c.Need(x <= 3200 && !(h->points >= 6 && x >= 1501) && h->points <= 7);
    } else {
      c.RejectIf(holes.count >= 2 && h->points >= 7);
    }
  }
  NaMeasures m;
  m.pa = c.EP(s0, kDirYMinusX);
  m.pb = c.EP(s0, kDirXMinusY);
  m.pc = c.EP(s1, kDirPosXY);
  m.pd = c.EP(s1, kDirNegXY);
  const PointView r6 = c.XP(s0, kDirPosX, 1), r2 = c.XP(s0, kDirNegX, 1);
  const PointView q6 = c.XP(s1, kDirPosX, -1), q2 = c.XP(s1, kDirNegX, -1);
  if (!c.Need(m.pa.present && m.pb.present && m.pc.present && m.pd.present && r6.present &&
              r2.present && q6.present && q2.present))
    return;
  m.a0 = Ang(m.pa, m.pb);
  m.j0x = m.pb.x - m.pa.x;
  m.j0y = m.pb.y - m.pa.y;
  m.a1 = Ang(m.pc, m.pd);
  m.j1x = m.pd.x - m.pc.x;
  m.j1y = m.pd.y - m.pc.y;
  m.jcx = s0.cx - s1.cx;
  m.jcy = s0.cy - s1.cy;
  m.lc = Len(m.jcx, m.jcy);
  m.l03 = Len(m.pd, m.pa);
  m.a03 = Ang(m.pd, m.pa);
  m.a12 = Ang(m.pc, m.pb);
  m.sum = (r2.y - r6.y) + (q6.y - q2.y);
  c.RejectIf(Within(m.a0, 31, 104));
  c.Need(Within(m.a1, 11, 61) && Within(m.j0x, 19, 197) && m.lc >= 77 && m.l03 >= 119 &&
         Within(m.a03, 64, 113) && m.pb.y - m.pc.y <= 156);
  c.RejectIf(Within(m.a12, 102, 113));
  if (c.decided()) return;
  if (m.a12 > 69) {
    CheckNaWide(c, s1, m);
  } else {
    CheckNaNarrow(c, s0, s1, m);
  }
}
