// The "@" rows of "HU", "MI", "ME", "YA", "YU" and "YO": after the windows
// of their strokes each branches by a stroke code into tests of how the
// strokes' ends, extreme points and pieces lie to each other, and "@HU" and
// "@YU" follow the outline along a stroke. An end of a stroke is the frame
// position of its end point; "P - Q" is the vector from Q to P.
#include "ocrlib/checks/kana_checks.h"

using namespace checkrow;

namespace {

constexpr McnMode kMcn0 = kMcnRaw;         // MCN(S, 0)
constexpr McnMode kMcn2 = kMcnOffsets128;  // MCN(S, 2)

bool CodeIn(int32_t code, std::initializer_list<int32_t> codes) {
  for (int32_t k : codes) {
    if (code == k) return true;
  }
  return false;
}

// ---- "@HU" ---------------------------------------------------------------------------
// Code 44: a bend in the first piece of the first stroke, then a steep rise
// at the first corner of the second stroke.
void CheckHuCorner44(CheckContext& c, const StrokeView& s0, const StrokeView& s1) {
  c.Require(s0, {x1 <= 110, w >= 85});
  const PieceList p0 = c.Pieces(s0);
  if (!c.Need(p0.count > 0)) return;
  c.Need(PieceDeviation(c.args(), p0[0], false) >= -20);
  const PieceList p1 = c.Pieces(s1);
  for (int i = p1.InnerBegin(); i < p1.InnerEnd(); ++i) {
    const PieceView& q = p1[i];
    if (q.kind != 1 || (q.entryCode != 3 && q.entryCode != 4)) continue;
    // The next piece of the path, inner or the last one.
    const bool joined = i + 1 < p1.count && p1[i + 1].kind == 1 && p1[i + 1].entryCode == 4;
    const PointView& end = joined ? p1[i + 1].last : q.last;
    c.RejectIf(Len(q.first, end) >= 41 && Tilt(q.first, end) >= 40);
    return;
  }
}

// Code 45: the two strokes' ends apart.
void CheckHuEnds45(CheckContext& c, const StrokeView& s0, const StrokeView& s1) {
  const PointView a1 = c.End(s0, 1), a2 = c.End(s0, 2);
  const PointView b1 = c.End(s1, 1), b2 = c.End(s1, 2);
  const int32_t tilt2 = Tilt(a2, b2), len1 = Len(a1, b1), len2 = Len(a2, b2);
  const int32_t spread = (b1.x - a1.x) - (b2.x - a2.x);
  if (tilt2 >= 34) return;
  if (tilt2 >= 20) {
    c.Need(len1 >= 135 && len2 <= 179 && spread >= 65);
  } else {
    c.Need(len2 <= 93 && spread >= 100);
  }
}

// Code 54: the same ends, and the bend of the first stroke past its upper
// right.
void CheckHuEnds54(CheckContext& c, const StrokeView& s0, const StrokeView& s1) {
  const PointView a1 = c.End(s0, 1), a2 = c.End(s0, 2);
  const PointView b1 = c.End(s1, 1), b2 = c.End(s1, 2);
  const int32_t tilt1 = Tilt(a1, b1), len1 = Len(a1, b1);
  const int32_t tilt2 = Tilt(a2, b2), len2 = Len(a2, b2);
  if (tilt2 < 19) {
    c.Need(len2 < 66);
  } else if (tilt1 >= 22) {
    c.Need(len1 < 61);
  } else if (tilt1 >= 16) {
    c.Need(len1 < 71);
  } else if (Len(b2, b1) >= 60) {
    const PointView corner = c.EP(s0, kDirPosXY);
    const ChainView chain = c.Chain(s0);
    const int k = chain.PositionOf(corner.index);
    if (k >= 0) c.Need(ChainTailDeviation(c.args(), chain, k, false) >= -55);
  }
}

// Steps 4 and 5: the hook at the first stroke's end along the outline.
// t, m and e: the outline at end 1, at the upper right of the chain and at
// end 2.
void CheckHuHook(CheckContext& c, const StrokeView& s0) {
  const PointView e = Node(c, c.End(s0, 2).index);
  const PointView t = Node(c, c.End(s0, 1).index);
  const PointView m = Node(c, c.XP(s0, kDirPosXY, 1).index);
  if (c.decided()) return;
  const RingBulge me = BulgeBetween(c, m, e);
  const PointView& f = me.farthest;
  if (s0.code == 45 || s0.code == 54) {
    const int32_t aef = Ang(e, f), ams = Tilt(m, t);
    c.AcceptWhen(c.Pieces(s0).count != 3 || me.value > -12050 || aef - ams > 35 || f.y > 128);
    c.AcceptWhen(RawBulgeBetween(RingExtremeBetween(c, m, e, kDirXMinusY, 1), e) > 309);
    c.Need(m.x - f.x >= 35 && aef - ams >= 25);
    return;
  }
  if (s0.code != 44) return;
  c.RejectIf(me.value > 5500 && f.y - e.y > 100);
  const PointView q1 = RingExtremeBetween(c, t, e, kDirPosXY, -1);
  const PointView q2 = RingExtremeBetween(c, t, e, kDirPosY, -1);
  const PointView q3 = RingExtremeBetween(c, e, t, kDirPosY, -1);
  const PointView q4 = RingExtremeBetween(c, q3, q2, kDirNegY, 1);
  if (!c.Need(q1.present && q4.present)) return;
  c.AcceptWhen(RawBulgeBetween(q4, q1) < 497);
  const RingBulge b = BulgeBetween(c, q4, q1);
  c.Need(b.value >= -7800);
  const int32_t k = q4.x - 2 * b.farthest.x + q1.x;
  const int32_t rise = b.farthest.y - q4.y;
  c.AcceptWhen(k < -16 || (k < -6 && rise < 50) || rise < 31);
  c.Need(Tilt(q4, b.farthest) < 35);  // upright: 90
}

// ---- "@YU" -----------------------------------------------------------------------------
// Code 31, a long first stroke: the corner where the second stroke leaves
// the first, along the outline.
void CheckYuCorner31(CheckContext& c, const StrokeView& s0, const StrokeView& s2,
                     const PointView& l, const StrokeView& s3) {
  c.AcceptWhen(l.y - c.XP(s3, kDirPosX, -1).y > 12);
  const PointView a = Node(c, c.XP(s0, kDirNegXY, 1).index);
  const PointView b = Node(c, c.XP(s2, kDirXMinusY, -1).index);
  if (c.decided()) return;
  const PointView cc = RingExtremeBetween(c, a, b, kDirPosX, -1);
  const PointView d = RingExtremeBetween(c, b, a, kDirPosX, 1);
  const PointView q = RingExtremeBetween(c, d, cc, kDirNegXY, -1);
  if (!c.Need(cc.present && d.present && q.present)) return;
  c.AcceptWhen(NormalizedChordDeviation(q.contour, cc.contour, &c.frame()) > -3280);
  const PointView f = RingExtremeBetween(c, d, cc, kDirYMinusX, -1);
  const PointView g = RingExtremeBetween(c, d, cc, kDirYMinusX, 1);
  c.Need(cc.x - f.x < 36);
  if (cc.x != g.x) {
    c.Need(cc.y - g.y >= 4);
  } else {
    c.Need(cc.x - f.x < 31);
  }
}

// ---- "@YO" -----------------------------------------------------------------------------
void CheckYo45(CheckContext& c, const TurnBackVectors& v) {
  const int32_t a1 = v.a1, l1 = v.l1, a2 = v.a2, l2 = v.l2, t = v.a2 - v.a1;
  if (a1 < 3) {
    c.Need(l1 > 74);
  } else if (a1 < 15) {
    c.AcceptWhen(l1 > 99 || l2 < 70);
    c.Need(a2 >= 63);
    c.AcceptWhen(a2 > 74 || l1 > 89);
    c.Reject();
  } else if (a1 < 20) {
    c.AcceptWhen(l1 > 109 || l2 < 58 || a2 > 79 || t > 64);
    c.Reject();
  } else {
    c.Need(l1 >= 75);
    c.AcceptWhen(a1 < 21);
    if (l1 > 99) {
      c.RejectIf(Within(t, 1, 49));
      c.AcceptWhen(a1 < 31);
      if (v.l3 < 193 && a2 > 89) c.AcceptWhen(t < 51 || t > 119);
      c.Reject();  // whether or not the case above applied
    } else {
      c.RejectIf(Within(t, 1, 35));
      const int32_t u = a1 - v.a3;
      if (u > -121) c.Need(u < 28 && l2 < 61);
      if (u <= -121) c.Need(t >= 40);
      c.AcceptWhen(a2 < 67 || (l2 < 72 && a1 < 31));
      c.Reject();
    }
  }
}

void CheckYo54(CheckContext& c, const TurnBackVectors& v) {
  const int32_t t = v.a2 - v.a1;
  c.AcceptWhen(v.l1 > 139 || v.a2 > 92);
  if (v.a1 < 20) {
    c.AcceptWhen(v.l1 > 74 || v.l2 < 91);
    c.Reject();
  }
  c.Need(t >= 29);
  if (t > 51) {
    c.Need(v.l1 > 69);
    c.Accept();
  }
  c.Need(v.l2 <= 85 && v.l1 >= 65);
  c.AcceptWhen(v.a1 < 35);
  c.Need(v.a1 - v.a3 > -21 && v.a1 - v.a3 < 21);
}

}  // namespace

void CheckAtKanaHU(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x2 < 216, w >= 82, hX >= -107});
  c.Require(c.Mcn(s0, kMcn0), {ox >= 56});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cy <= 136, y1 >= 149});
  switch (s0.code) {
    case 25: c.Require(s1, {x1 >= 170}); break;
    case 35: {
      c.Require(s0, {cx >= 90, x1 <= 100});
      c.Require(s1, {x2 >= 140});
      const PointView a = Node(c, c.End(s1, 1).index);
      const PointView b = Node(c, c.XP(s1, kDirPosX, -1).index);
      c.Need(RawBulgeBetween(RingExtremeBetween(c, b, a, kDirPosXY, -1),
                             RingExtremeBetween(c, b, a, kDirNegX, 1)) >= -1000);
      break;
    }
    case 44: CheckHuCorner44(c, s0, s1); break;
    case 45: CheckHuEnds45(c, s0, s1); break;
    case 53:
    case 63: c.Need(Len(c.End(s0, 1), c.End(s1, 1)) < 26); break;
    case 54: CheckHuEnds54(c, s0, s1); break;
    default: break;
  }
  if (CodeIn(s0.code, {44, 45, 54})) CheckHuHook(c, s0);
}

void CheckAtKanaMI(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 80, cy >= 189});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 75, w >= 10, w < 243, h < 136});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx < 166, cy < 72});
  // Left and right extremes of the three strokes (the row measures no
  // further strokes).
  const PointView l0 = c.EP(s0, kDirNegX), r0 = c.EP(s0, kDirPosX);
  const PointView l1 = c.EP(s1, kDirNegX), r1 = c.EP(s1, kDirPosX);
  const PointView l2 = c.EP(s2, kDirNegX), r2 = c.EP(s2, kDirPosX);
  if (!c.Need(l0.present && r0.present && l1.present && r1.present && l2.present && r2.present))
    return;
  const int32_t len0 = Len(r0, l0), ang0 = Ang(r0, l0);
  const int32_t len1 = Len(r1, l1), ang1 = Ang(r1, l1);
  const int32_t len2 = Len(r2, l2), ang2 = Ang(r2, l2);
  const int32_t len01 = Len(l1, l0), ang01 = Ang(l1, l0);
  const int32_t len12 = Len(r2, r1), ang12 = Ang(r2, r1);
  const int32_t a = ang0 - ang2, b = ang1 - ang2;
  if (a > 40) {
    c.Need(a >= 152);
    c.AcceptWhen(b >= 161);
    c.Need(len0 >= 130);
    c.AcceptWhen(ang1 < 161 || len2 < 201);
    c.Reject();
    return;
  }
  c.AcceptWhen(a >= 6 || ang12 < 101 || len0 >= 190);
  c.Need(ang01 <= 140);
  if (ang0 >= 40) {
    c.AcceptWhen(ang2 < 174);
    c.Need(len12 <= 150);
    c.AcceptWhen(len0 >= 153 || len2 < 201);
    c.Reject();
    return;
  }
  c.AcceptWhen(ang2 >= 60 || ang12 < 111);
  if (a >= -12) {
    c.AcceptWhen(ang01 >= 105 || len01 < 101);
  } else {
    c.AcceptWhen(len1 < 151 || ang1 < 176 || b < 156);
  }
  c.Reject();
}

void CheckAtKanaME(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy < 222, y1 < 181, x2 >= 115, h >= 47, hX >= -51, hX < 62, hY < -22});
  c.Require(c.Mcn(s0, kMcn0), {oy >= -44});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cy < 188, y1 < 209, h >= 15, h < 159, hX >= -20});
  c.Require(c.Mcn(s1, kMcn0), {dev < 44, ox >= -31, oy < 22});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 77, cx < 188, cy < 110, x1 < 140, y1 < 70, y2 < 181, h < 183, hY >= -90});
  c.Require(c.Mcn(s2, kMcn0), {ox >= -58, ox < 38});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx < 139, w >= 27, hX >= -11, hY >= -39});
  c.Require(c.Mcn(s3, kMcn0), {ox < 54, oy < 25});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {x2 < 108, hX >= -53});
  c.Require(c.Mcn(s4, kMcn0), {oy <= 40});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {x1 < 179, hX < 12});
  c.Require(c.Mcn(s5, kMcn0), {oy >= -30});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx >= 62, x1 >= 109});
  const StrokeView s7 = c.S(7);
  c.Require(s7, {cx >= 114});
  c.Require(c.Mcn(s7, kMcn0), {dev < 49, ox >= -44, oy >= -14});
  switch (s1.code) {
    case 45:
      if (s3.code == 67) {
        c.Need(c.distance() < 1501);
        return;
      }
      c.AcceptWhen(!(s3.code == 57 && s4.code == 35));
      if (s5.code == 41) {
        c.AcceptWhen(s6.code != 27);
        c.Need(s7.code != 43);
        c.AcceptWhen(s7.code != 53);
        c.Need(s0.h >= 80 && s2.h <= 140);
      } else if (s5.code == 51) {
        if (s7.code == 43) {
          c.Need(s2.x1 < 101 && s5.cx >= 80 && s6.cx >= 97);
          c.Require(c.Mcn(s4, kMcn2), {oy <= 145});
          c.Require(c.Mcn(s5, kMcn2), {oy >= 118});
          c.Accept();
        } else if (s7.code == 53) {
          c.Need(s0.h >= 75 && s2.h <= 160);
        }
      }
      break;
    case 55: c.Need(s0.y1 < 166 && s1.x2 < 186); break;
    case 56:
      if (CodeIn(s6.code, {27, 37})) c.RejectIf(s1.w < 60 && s1.h >= 136);
      if (CodeIn(s6.code, {20, 36})) c.Need(c.distance() < 1501);
      break;
    case 65: c.Need(c.distance() < 1501); break;
    default: break;
  }
}

void CheckAtKanaYA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy >= 99, h(29, 207)});
  c.Require(c.Mcn(s0, kMcn0), {ox >= -49});
  c.RequireIfPresent(c.OptS(1), {w >= 53, hX >= 27});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {y2 >= 22, w <= 170, hX >= -64, hY <= 0});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {x2 <= 140});
  c.Require(c.Mcn(s3, kMcn0), {dev <= 41, ox >= -85, oy <= 24});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {y2 <= 80});
  c.Require(c.Mcn(s4, kMcn0), {dev >= -122, ox <= 78});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {x1 <= 136, hX <= 24});
  c.Require(c.Mcn(s5, kMcn0), {oy(-90, 32)});
  const StrokeView s6 = c.S(6);
  c.Require(c.Mcn(s6, kMcn0), {oy >= -45});
  const int32_t d = c.distance();
  switch (s6.code) {
    case 26: c.Require(s0, {h >= 48}); break;
    case 27:
      switch (s2.code) {
        case 23:
          c.RejectIf(s4.code == 25 && s0.h < 60);
          c.Need(s4.code != 34);
          if (s4.code > 34) c.Require(s0, {hY >= 32});
          break;
        case 32: c.Require(s0, {h >= 48}); break;
        case 33: c.Need(d <= 700); break;
        case 43:
          c.Require(s0, {cy >= 138, h <= 120});
          c.Require(s2, {y2 >= 80});
          break;
        case 53:
          if (s4.code == 25) c.Require(s0, {h <= 175});
          if (s4.code == 35) {
            c.Require(s0, {h <= 140});
            c.Require(s2, {x1 >= 55, y2 >= 76});
          }
          if (s4.code == 44) {
            c.Need(d <= 1070);
            c.Require(s0, {h <= 140});
            c.Require(s2, {x1 >= 55, y2 >= 65});
          }
          break;
        case 63:
          c.Require(s0, {y2 >= 138, h <= 120});
          c.Require(s2, {y2 >= 80});
          break;
        case 71: c.Need(d <= 700); break;
        case 81: c.Need(d <= 1100); break;
        default: break;
      }
      break;
    case 36:
      switch (s2.code) {
        case 23: c.Need(d <= 200); break;
        case 32: c.Need(d <= 1600); break;
        case 33: c.Require(s0, {h >= 50}); break;
        case 53:
          c.Require(s0, {h <= 150});
          c.Require(s3, {w <= 60});
          break;
        case 63:
        case 71:
        case 81: c.Need(d <= 1310); break;
        default: break;
      }
      break;
    case 37:
      c.Require(s0, {h(48, 128)});
      c.Require(s2, {w <= 90, x2 <= 175, y2 >= 60});
      break;
    case 45:
    case 46: c.Need(d <= 1000); break;
    default: break;
  }
}

void CheckAtKanaYU(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 161, cx < 239, x1 >= 203, x2 >= 99, w >= 43, hX >= -12, hX < 78});
  const McnView m0 = c.Mcn(s0, kMcn0);
  c.Require(m0, {oy < 16});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 115, x1 < 220, y2 >= 13, y2 < 193, w >= 155, h < 158, hY >= -64, hY < 22});
  c.Require(c.Mcn(s1, kMcn0), {oy < 86});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx <= 130, cy(97, 163), w(77, 226), hX >= -31});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {x1 <= 227, x2 <= 213, y2 <= 219, w <= 247, h >= 24, hX <= 47, hY <= 110});
  c.Require(c.Mcn(s3, kMcn0), {dev >= -120, ox <= 101});
  if (c.decided()) return;
  // d = S0 end 1 - S3 end 2: its x (gap) and length.
  const PointView start0 = c.End(s0, 1), end3 = c.End(s3, 2);
  const int32_t gap = start0.x - end3.x, len = Len(end3, start0);
  const int32_t t = s3.x1 - s2.x1;
  switch (s0.code) {
    case 21:
      if (len > 70 || gap > 59) {
        const PointView a = c.XP(s0, kDirNegXY, 1), b = c.XP(s1, kDirPosX, 1);
        const PointView cc = c.XP(s1, kDirNegX, 1), e = c.XP(s3, kDirNegX, 1);
        const PointView f = c.XP(s2, kDirPosXY, -1), g = c.XP(s2, kDirXMinusY, -1);
        c.AcceptWhen(b.x - a.x >= 74 || cc.x - e.x < -9 || f.y - g.y < 131);
      } else {
        c.AcceptWhen(gap >= 43 && t - gap < 131 && (s1.w - t >= 76 || len >= 61));
      }
      c.Reject();
      break;
    case 31: {
      if (len >= 83) c.RejectIf(len < 90 && gap < 65);
      if (len < 83 && gap < 42) c.Need(t >= 201 && t - gap >= 170);
      const PointView a = c.XP(s0, kDirNegXY, 1), cc = c.XP(s1, kDirNegX, 1);
      const PointView b = c.XP(s1, kDirPosX, 1), e = c.XP(s3, kDirPosXY, 1);
      const PointView l = c.XP(s3, kDirNegX, -1);
      c.Need(s1.w != 0);
      if (!c.decided() && cc.y - b.y > 24 && e.x - a.x > 47 && a.y - b.y > 38)
        c.Need(s1.h * 1000 / s1.w <= 250);
      if (s0.x1 - s1.x1 >= 93) {
        CheckYuCorner31(c, s0, s2, l, s3);
        break;
      }
      c.AcceptWhen(m0.oy < -25);
      c.Need(b.x - a.x != 0);
      if (!c.decided() && (e.y - a.y) * 1000 / (b.x - a.x) >= 2223) c.Need(l.x - cc.x > 0);
      break;
    }
    case 40: {
      const ChainView chain = c.Chain(s0);
      const int k = chain.PositionOf(c.End(s3, 2).index);
      if (k >= 0) c.Need(ChainTailDeviation(c.args(), chain, k, false) >= -15);
      c.Require(s3, {y2 < 151});
      const PointView cc = c.XP(s1, kDirNegX, 1), b = c.XP(s1, kDirPosX, 1);
      const PointView e = c.XP(s3, kDirNegX, 1), f = c.XP(s3, kDirPosXY, 1);
      c.AcceptWhen(cc.x - e.x < -10 || b.x - f.x >= 50);
      c.Reject();
      break;
    }
    case 41: {
      const PointView end0 = c.End(s0, 2);
      const int32_t d2x = end0.x - end3.x;
      c.AcceptWhen(d2x < 30);
      const int32_t angle = Ang(end3, end0);
      c.Need(d2x <= 46 && angle >= 10 && angle < 33);
      c.AcceptWhen(s2.w - s0.w >= 4);
      c.Reject();
      break;
    }
    case 50: c.Need(s0.x2 - s3.x2 < 43); break;
    default: break;
  }
}

void CheckAtKanaYO(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(
      s0, {cy < 111, x1 < 129, y1 < 179, x2 < 118, y2 < 91, w >= 75, h < 176, hX >= -48, hY < 81});
  c.Require(c.S(1), {cx >= 84, x1 >= 32});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {hY >= 4});
  c.Require(c.Mcn(s2, kMcn0), {ox >= 5});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {x2 >= 59, y2 < 118, hX < 81, hY >= 37, hY < 123});
  if (!CodeIn(s0.code, {35, 44, 45, 54, 55, 64})) return;
  c.RejectIf(s0.code == 35 || s0.code == 44);
  const TurnBackVectors v = MeasureTurnBack(c, s0, s2, s3);
  if (c.decided()) return;
  if (s0.code == 45) CheckYo45(c, v);
  if (s0.code == 54) CheckYo54(c, v);
  if (s0.code == 55 || s0.code == 64) {
    c.AcceptWhen(v.l1 > 61);
    c.Need(v.a2 < 26 && v.l2 > 69);
  }
}
