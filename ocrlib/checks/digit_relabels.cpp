// The "@" digit checks that are procedures: the outline analysis of "@0",
// the extreme-point tests of "@5", and the measures that may turn a "2" or a
// "7" into a "1" or a "9" into a "4".
#include <algorithm>
#include <cstdlib>

#include "ocrlib/checks/check_kit.h"
#include "ocrlib/checks/digit_checks.h"

using namespace checkrow;

namespace {

constexpr uint16_t kCodeOfOne = '1';
constexpr uint16_t kCodeOfFour = '4';
constexpr int kMinMeasuredRing = 8;
constexpr int kRingKind = 0;  // the segment kind of a whole closed ring

// ---- "@0" ---------------------------------------------------------------------------
// Walks two ring points towards each other, at most two links each (p
// first, along successors when `forward`, q the other way); true when they
// meet or a link is missing.
bool RingPointsMeet(const ContourPoint*& p, const ContourPoint*& q, bool forward) {
  if (p == nullptr || q == nullptr || p == q) return true;
  for (int i = 0; i < 2; ++i) {
    p = forward ? p->next : p->prev;
    if (p == nullptr || p == q) return true;
    q = forward ? q->prev : q->next;
    if (q == nullptr || q == p) return true;
  }
  return false;
}

// Steps 5 to 10 of "@0": an upper loop closed at its left.
void CheckAtZeroClosedLoop(CheckContext& c, const StrokeView& s0, const StrokeView& s1) {
  c.RejectIf(c.XP(s0, kDirNegX, 1).y >= 192);
  const PointView a = c.ChainStartSource(s0);
  const PointView b = c.ChainStartSource(s1);
  c.Need(a.present && b.present);
  if (c.decided()) return;
  const PointView o = OnOuterRing(a) ? b : a;
  const PointView h = OnOuterRing(a) ? a : b;
  const PointView e6 = c.XC(o, kDirPosX, 1), e5 = c.XC(o, kDirPosXY, 1);
  const PointView e3 = c.XC(o, kDirYMinusX, 1), e2 = c.XC(o, kDirNegX, 1);
  const PointView e1 = c.XC(o, kDirNegXY, -1), e7 = c.XC(o, kDirXMinusY, -1);
  const int32_t s = 2 * (e2.x + e6.x) - e3.x - e5.y - e5.x - e7.x - e1.y - e1.x + e7.y + e3.y;
  c.RejectIf(s >= 124);
  c.AcceptWhen(s < 64);
  c.RejectIf(e2.y > 216 || e2.y < 50);
  const PointView e4 = c.XC(o, kDirPosY, -1);
  if (e4.y != e2.y) {
    const int64_t g = ((int64_t{e4.x} - e2.x) * 65536 + (e4.y - e2.y) / 2) / (e4.y - e2.y);
    c.AcceptWhen(g > 31000);
  }
  // The loop's upper left and lower left, drawn together on either ring.
  const CheckArgs& args = c.args();
  const ContourPoint* a3 = FindContourExtremeWeighted(o.contour, kDirYMinusX, -1);
  const ContourPoint* a1 = FindContourExtremeWeighted(o.contour, kDirNegXY, -1);
  const int32_t m1 =
      RingPointsMeet(a3, a1, true) ? 0 : NormalizedChordDeviation(a3, a1, args.frame);
  const ContourPoint* b3 = FindContourExtremeWeighted(h.contour, kDirYMinusX, -1);
  const ContourPoint* b1 = FindContourExtremeWeighted(h.contour, kDirNegXY, -1);
  if (RingPointsMeet(b3, b1, false)) {
    c.AcceptWhen(m1 >= 3350);
  } else {
    c.AcceptWhen(m1 >= 3350 || NormalizedChordDeviation(b1, b3, args.frame) < -2199);
  }
  c.Reject();
}

// Steps 11 to 13 of "@0": an outline open at the top or the bottom.
void CheckAtZeroOpenShape(CheckContext& c, const StrokeView& s0, const StrokeView& s1) {
  PointView start = c.ChainStartSource(s0);
  if (OnOuterRing(start)) start = c.ChainStartSource(s1);
  c.Need(start.present);
  if (c.decided()) return;
  const CheckArgs& a = c.args();
  const PointView e7 = c.XC(start, kDirXMinusY, 1);
  if (e7.y < 27) {
    const PointView e3 = c.XC(start, kDirYMinusX, -1), e0 = c.XC(start, kDirNegY, -1);
    c.AcceptWhen(e0.x - e3.x < 51);
    const PointView e5 = c.XC(start, kDirPosXY, -1), e6 = c.XC(start, kDirPosX, 1);
    const PointView e4 = c.XC(start, kDirPosY, 1);
    c.AcceptWhen(e4.y - e5.x - e5.y + e6.x > 24);
    c.AcceptWhen(NormalizedChordDeviation(FindContourExtremeWeighted(start.contour, kDirPosXY, -1),
                                          FindContourExtremeWeighted(start.contour, kDirYMinusX, 1),
                                          a.frame) > 2000);
  } else {
    const PointView e3 = c.XC(start, kDirYMinusX, -1);
    c.AcceptWhen(e3.y < 233);
    const PointView e2 = c.XC(start, kDirNegX, 1);
    c.AcceptWhen(e2.y >= 16 && e2.y <= 224);
    c.AcceptWhen(NormalizedChordDeviation(e3.contour,
                                          FindContourExtremeWeighted(start.contour, kDirNegXY, -1),
                                          a.frame) > 0);
  }
  c.Reject();
}

}  // namespace

void CheckAtDigit0(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(120, 146), cy(126, 142), w >= 100, h >= 128});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(95, 165), cy(89, 160), w >= 60, h >= 60});
  c.AcceptUnlessDigitsAndCapitals();
  const PointView right = c.EP(s0, kDirPosX);
  int32_t ux0, uy0, vx, vy;
  int32_t a = 90;
  if (right.present && NeighbourVectors(*c.args().points, right.index, &ux0, &uy0, &vx, &vy)) {
    a = AngleAtVertex({0, 0}, {static_cast<int16_t>(ux0), static_cast<int16_t>(uy0)},
                      {static_cast<int16_t>(vx), static_cast<int16_t>(vy)});
  }
  const PointView p3 = c.XP(s0, kDirYMinusX, 1), p5 = c.XP(s0, kDirPosXY, -1);
  c.RejectIf(a < 90 && p3.y - p3.x >= 171 && p5.x + p5.y >= 448);
  const Corners k = c.CandidateCorners();
  const int32_t t = k.c1.y - k.c1.x, u = k.c4.x + k.c4.y;
  if (t >= 164 && u < 61 && t - u >= 134 && k.c3.x - k.c3.y < 190) {
    CheckAtZeroClosedLoop(c, s0, s1);
  } else {
    CheckAtZeroOpenShape(c, s0, s1);
  }
}

void CheckAtFiveTail(CheckContext& c, const StrokeView& s3) {
  const int code = s3.code;
  c.AcceptWhen(code == 90 || code == 100 || code == 107 || code < 72 || code > 101);
  const PointView p2 = c.XP(s3, kDirNegX, 1), p3 = c.XP(s3, kDirYMinusX, -1);
  const PointView p1 = c.XP(s3, kDirNegXY, -1), p4 = c.XP(s3, kDirPosY, 1);
  const PointView p5 = c.XP(s3, kDirPosXY, 1);
  const int32_t v = p1.y - p4.y - p2.x + p1.x;
  if (code == 72 || code == 81) {
    c.AcceptWhen(p3.y - p2.y > 90 || v < -111 || p5.x - p4.x > 90);
    const PointView p3b = c.XP(s3, kDirYMinusX, 1);
    c.AcceptWhen(p3b.y - p2.y - p2.x + p3b.x > 120);
    const PointView p1b = c.XP(s3, kDirNegXY, 1), p2b = c.XP(s3, kDirNegX, -1);
    c.AcceptWhen(p1b.x - p2b.x - p1b.y + p2b.y > 91);
    const PointView p5b = c.XP(s3, kDirPosXY, -1);
    c.AcceptWhen(p5b.x - p3b.x >= 149);
    c.Reject();
  } else if (code == 82 || code == 91) {
    c.AcceptWhen(p3.y - p2.y > 86);
    c.AcceptWhen(v < -128);
    c.RejectIf(v > -64);
    c.AcceptWhen(p5.x - p4.x >= 125);
    c.Reject();
  } else if (code == 92 || code == 101) {
    c.AcceptWhen(p3.y - p2.y > 93);
    c.AcceptWhen(v < -161);
    c.AcceptWhen(p5.x - p4.x >= 122);
    c.Reject();
  }
}

namespace {

// A piece "with its tail": its first point and, as its end, the last point
// of the next piece when that one continues it (of the kind and code given),
// else its own last point.
struct PieceSpan {
  bool found = false;
  PointView first, end;
  int32_t Length() const { return Len(first, end); }
  int32_t Angle() const { return Tilt(first, end); }
};

PieceSpan WithTail(const PieceList& pieces, int i, int tailKind, int tailCode) {
  PieceSpan span;
  span.found = true;
  span.first = pieces[i].first;
  const bool tail =
      i + 1 < pieces.count && pieces[i + 1].kind == tailKind && pieces[i + 1].shapeCode == tailCode;
  span.end = tail ? pieces[i + 1].last : pieces[i].last;
  return span;
}

bool IsPiece(const PieceView& p, int kind, int codeA, int codeB) {
  return p.kind == kind && (p.shapeCode == codeA || p.shapeCode == codeB);
}

// The first inner piece (second to second-to-last) that falls to the right
// (kind 3, code 5 or 6), with its tail.
PieceSpan FirstFallingInner(const PieceList& pieces) {
  for (int i = pieces.InnerBegin(); i < pieces.InnerEnd(); ++i) {
    if (IsPiece(pieces[i], 3, 5, 6)) return WithTail(pieces, i, 3, 6);
  }
  return {};
}

int32_t FirstPieceDeviation(const CheckContext& c, const PieceList& pieces) {
  return pieces.count > 0 ? PieceDeviation(c.args(), pieces[0], false) : 0;
}

// "7" of codes 35 and 111: a stem of few turns.
bool SevenIsOne35(CheckContext& c, const StrokeView& a, const StrokeView& b) {
  if (Len(a.x1 - b.x1, a.y1 - b.y1) > 90) return false;
  const PieceList pieces = c.Pieces(b);
  PieceSpan sort1, sort2;
  bool rising = false;
  int32_t angle3 = 0;
  bool upright = false;
  for (int i = pieces.InnerBegin(); i < pieces.InnerEnd(); ++i) {
    const PieceView& p = pieces[i];
    if ((IsPiece(p, 1, 3, 4) && !rising) || IsPiece(p, 0, 5, 5)) {
      rising = rising || p.kind == 1;
      sort1 = WithTail(pieces, i, 1, 4);
    }
    if (IsPiece(p, 3, 5, 6) && !sort2.found) sort2 = WithTail(pieces, i, 3, 6);
    if (IsPiece(p, 1, 7, 0) && !upright) {
      upright = true;
      angle3 = Tilt(p.first, p.last);
    }
  }
  const int32_t len1 = sort1.found ? sort1.Length() : 0, angle1 = sort1.found ? sort1.Angle() : 0;
  const int32_t len2 = sort2.found ? sort2.Length() : 0, angle2 = sort2.found ? sort2.Angle() : 0;
  if (len1 == 0) return len2 < 80;
  if (angle3 >= 80) return true;
  if (angle3 < 54) return false;
  if (len2 > 79 && angle2 > -80) return false;
  if (angle1 != 0) return len2 < 40 || angle2 < -65;
  return len1 < 50;
}

// "7" of codes 44 and 120.
bool SevenIsOne44(CheckContext& c, const StrokeView& a, const StrokeView& b) {
  const PieceList aPieces = c.Pieces(a);
  const int32_t bend = FirstPieceDeviation(c, aPieces);
  if (bend < -2 || bend > 2) return false;
  if (Len(b.x1 - b.x2, b.y1 - b.y2) > 39 || Len(b.x1 - a.x1, b.y1 - a.y1) > 133) return false;
  const PieceSpan inB = FirstFallingInner(c.Pieces(b));
  if (inB.found && inB.end.x - inB.first.x > 46) return false;
  const PieceSpan inA = FirstFallingInner(aPieces);
  if (inA.found && inA.end.x - inA.first.x > 25) return false;
  if (a.x2 > 128 || a.w < 60 || b.x1 < 132 || b.y1 < 170 || b.x2 < 144 || b.y2 < 155) return true;
  const McnView m = c.Mcn(a, kMcnOffsets128);
  return m.dev > -49 || m.ox < 174 || m.oy >= 181;
}

// "7" of codes 53 and 137.
bool SevenIsOne53(CheckContext& c, const StrokeView& a, const StrokeView& b) {
  const PieceList aPieces = c.Pieces(a);
  const int32_t bend = FirstPieceDeviation(c, aPieces);
  if (bend < -2 || bend > 2 || aPieces.count < 1) return false;
  if (Len(aPieces[0].last, aPieces[aPieces.count - 1].last) > 27) return false;
  const PieceList bPieces = c.Pieces(b);
  if (bPieces.count < 1) return false;
  const int32_t tailBend = PieceDeviation(c.args(), bPieces[bPieces.count - 1], false);
  if (tailBend < -8 || tailBend > 8) return false;
  const PieceSpan falling = FirstFallingInner(bPieces);
  return !falling.found || falling.end.x - falling.first.x <= 45;
}

// The ring point `steps` links away along successors (forward) or
// predecessors; null when a link is missing.
const ContourPoint* StepAlong(const ContourPoint* p, int steps, bool forward) {
  for (int i = 0; i < steps && p != nullptr; ++i) p = forward ? p->next : p->prev;
  return p;
}

}  // namespace

bool RelabelTwoAsOne(CheckContext& c) {
  const StrokeView a = c.OptS(0), b = c.OptS(1), d = c.OptS(3);
  if (c.decided() || !a.present() || !b.present() || !d.present()) return false;
  if ((b.code != 85 && b.code != 75) || d.code < 61 || d.code > 100) return false;
  const PieceList pieces = c.Pieces(d);
  int32_t lengths = 0, across = 0;
  bool counting = false;
  for (int i = pieces.count - 2; i >= 1; --i) {
    const PieceView& p = pieces[i];
    counting = counting ? IsPiece(p, 3, 5, 6) || p.kind == 0 : IsPiece(p, 3, 5, 6);
    if (!IsPiece(p, 3, 5, 6) && !(counting && p.kind == 0)) continue;
    lengths += Len(p.first, p.last);
    across += std::abs(p.first.x - p.last.x);
  }
  if (lengths > 66 || across > 35) return false;
  const PieceList aPieces = c.Pieces(a);
  if (aPieces.count < 1) return false;
  const PieceView& last = aPieces[aPieces.count - 1];
  const int32_t angle = Tilt(last.first, last.last);
  if ((angle < -73 || angle >= 74) && Len(last.first, last.last) >= 161) {
    c.Relabel(kCodeOfOne);
    return true;
  }
  return false;
}

bool RelabelSevenAsOne(CheckContext& c) {
  const StrokeView a = c.OptS(0), b = c.OptS(1);
  if (c.decided() || !a.present() || !b.present()) return false;
  bool one = false;
  if (a.code == 35 && b.code == 111) {
    one = SevenIsOne35(c, a, b);
  } else if (a.code == 44 && b.code == 120) {
    one = SevenIsOne44(c, a, b);
  } else if (a.code == 53 && b.code == 137) {
    one = SevenIsOne53(c, a, b);
  }
  if (one) c.Relabel(kCodeOfOne);
  return one;
}

bool RelabelNineAsFour(CheckContext& c) {
  const StrokeView s1 = c.OptS(1);
  if (c.decided() || !s1.present()) return false;
  // The ring of the contour point stroke 1 starts from: a single point on
  // the polygon steps, the first of the pair on the thinned ones.
  const PointView ring = c.TracedSource(s1.segment->end1);
  const ContourPoint* start = ring.contour;
  if (start == nullptr || start->owner == nullptr || start->owner->pointCount < kMinMeasuredRing) {
    return false;
  }
  const ContourPoint* high = FindContourExtreme(start, kDirPosY);
  const ContourPoint* left = FindContourExtreme(start, kDirNegX);
  const ContourPoint* p1 = StepAlong(high, 2, true);
  const ContourPoint* p2 = StepAlong(left, 2, false);
  const ContourPoint* p3 = StepAlong(left, 2, true);
  if (p1 == nullptr || p2 == nullptr || p3 == nullptr || high->prev == nullptr) return false;
  const CharFrame& frame = c.frame();
  const PointView f1 = c.ContourInFrame(p1), f2 = c.ContourInFrame(p2), f3 = c.ContourInFrame(p3);
  const PointView fc = c.ContourInFrame(start);
  const int32_t len12 = Len(f1, f2);
  const int32_t dev12 = FrameUnits(MaxContourChordDeviation(p1, p2), frame);
  const int32_t len3c = Len(f3, fc);
  const int32_t dev3c = FrameUnits(MaxContourChordDeviation(p3, start), frame);
  const ContourPoint* right = FindContourExtreme(start, kDirPosX);
  const ContourPoint* q = p1;
  if (high->prev != right) q = high->prev;
  if (q->prev != nullptr && q->prev != right) q = q->prev;
  const int32_t dy = c.ContourInFrame(q).y - c.ContourInFrame(right).y;
  const bool four = fc.y < 94 && len12 > 108 && dev12 >= -9 && len3c >= 62 && dev3c >= -21 &&
                    (dy < 14 || dy >= 111);
  // Whether or not it reads as a 4, stroke 2 must be traced from the outer
  // ring unless it is a whole ring: a piece cut from a hole's outline is no
  // 9 of this model. A whole ring there is the hole of a closed loop, which
  // every closed 9 (and a 4 with a closed head) gives as stroke 2; rejecting
  // it would leave this row no closed 9 to keep and no closed 4 to read.
  const StrokeView s2 = c.S(2);
  if (c.decided()) return true;
  const PieceList pieces = c.Pieces(s2);
  const int first = pieces.count > 0 ? pieces[0].piece->words[0] : -1;
  if (s2.kind != kRingKind && !OnOuterRing(c.TracedSource(first))) {
    c.Reject();
    return true;
  }
  if (four) c.RelabelWithDistance(kCodeOfFour, 0);
  return four;
}
