// The plain digit checks that are procedures rather than lists of windows:
// the outline corners of "0", the end-point steps of "6", the chord, apex and
// outline-bend tests of "7" and "9", and the re-reading of "3b", "5" and "5b",
// which skew the whole point table, analyse it again and match another model
// on it, so that a 5 or a zigzag stroke written as a 3 is read as a 3.
#include <algorithm>

#include "ocrlib/checks/check_kit.h"
#include "ocrlib/checks/digit_checks.h"
#include "ocrlib/strokes/strokes_internal.h"

using namespace checkrow;

namespace {

constexpr McnMode kMcn = kMcnOffsets128;
constexpr uint16_t kCodeOfThree = '3';

const StrokePoint& PointOf(const CheckArgs& a, int index) { return a.points->points.items[index]; }

bool IsPoint(const CheckArgs& a, int index) { return index >= 0 && index < a.points->points.count; }

// ---- re-reading on skewed points ----------------------------------------------------
// The character analysed again after mapping every point (x, y) to
// (2x - y, x + 2y), and put back as it was when the skewed reading fails.
// Each step returns 0, or the non-zero result that ends the routine.
class SkewedRereading {
 public:
  explicit SkewedRereading(const CheckArgs& a) : a_(a) {}

  int Skew() {
    ResetRecords();
    kept_ = std::min<int>(a_.points->points.count, kMaxStrokePoints);
    for (int i = 0; i < kept_; ++i) {
      keptX_[i] = a_.points->points.items[i].savedX;
      keptY_[i] = a_.points->points.items[i].savedY;
    }
    SkewPointChain(a_.points, 0);
    return Analyse();
  }

  int Restore() {
    ResetRecords();
    for (int i = 0; i < kept_ && i < a_.points->points.count; ++i) {
      StrokePoint& p = a_.points->points.items[i];
      p.x = p.savedX = keptX_[i];
      p.y = p.savedY = keptY_[i];
    }
    return Analyse();
  }

  // Matches the candidate at `position` against its model on the records as
  // they are now; the candidate becomes the work area's current one.
  int Match(int position) {
    ShapeCandidate& c = a_.work->candidates[position];
    c.model = &a_.modelSet->models[position];
    a_.work->current = &c;
    const int rc = MatchCandidateStrokeModel(a_.frame, a_.graph, a_.nodeLists, a_.work,
                                             CurrentStrokeStep(*a_.steps));
    // The checks after this one read the straight strokes' orientation
    // vectors, as after the first matching of the attempt.
    NormalizeStrokeVectors(a_.frame, a_.graph);
    return rc;
  }

  ShapeCandidate& Candidate(int position) { return a_.work->candidates[position]; }

 private:
  void ResetRecords() {
    ResetStrokeGraph(a_.graph);
    ResetStrokeNodeLists(a_.nodeLists);
    RestoreStrokeRecords(a_.points);
  }
  int Analyse() {
    const int rc = AnalyseStrokeStructure(a_.steps, a_.points, a_.frame, a_.graph, a_.nodeLists);
    return rc != 0 ? rc
                   : NormalizeStrokeFrame(a_.steps, a_.points, a_.frame, a_.graph, a_.nodeLists);
  }

  CheckArgs a_;
  int kept_ = 0;
  int16_t keptX_[kMaxStrokePoints];
  int16_t keptY_[kMaxStrokePoints];
};

bool InSet(const CheckArgs& a, int position) {
  return position >= 0 && position < a.modelSet->modelCount && position < kMaxShapeCandidates;
}

bool HasHook(const CheckArgs& a, const StrokeView& s) {
  int32_t yes = 0;
  DetectChainHook(a.points, s.segment, &yes);
  return yes != 0;
}

// ---- pieces and chains in pixels ------------------------------------------------------
struct PixelPoint {
  int32_t x, y;
};

PixelPoint PixelOf(const CheckArgs& a, int index) {
  return IsPoint(a, index) ? PixelPoint{PointOf(a, index).x, PointOf(a, index).y}
                           : PixelPoint{0, 0};
}

// Frame units of a pixel difference: (256 d + s / 2) / s.
int32_t PixelsToFrame(int32_t d, const CharFrame& f) { return FrameUnits(256 * d, f); }

// The contour point of the stroke point's pair with the smaller x (the first
// on equal x); null when the point records no pair.
const ContourPoint* LeftOfPair(const CheckArgs& a, int index) {
  if (!IsPoint(a, index)) return nullptr;
  const ContourPair* pair = PointOf(a, index).sourcePair;
  if (pair == nullptr || pair->a == nullptr || pair->b == nullptr) return nullptr;
  return pair->b->x < pair->a->x ? pair->b : pair->a;
}

// Walks the ring from `from` along its successors; true when `to` is met
// before the ring closes or a link is missing.
bool RingReaches(const ContourPoint* from, const ContourPoint* to, int limit) {
  const ContourPoint* p = from;
  for (int n = 0; p != nullptr && n <= limit; ++n) {
    if (p == to) return true;
    p = p->next;
    if (p == from) return false;
  }
  return false;
}

}  // namespace

void CheckDigit0(CheckContext& c) {
  const StrokeView s0 = c.OptS(0);
  if (s0.present()) {
    c.Require(s0, {cy >= 110, x2 <= 60, y2 <= 60, w >= -108});
    c.Require(c.Mcn(s0, kMcn), {dev(-12, 12)});
  } else {
    c.LimitDistance(1000);
  }
  c.Require(c.S(1), {cx(120, 155), cy(120, 155), w >= 115, h >= 120});
  if (s0.present()) c.Require(c.F(0), {y >= 128});
  c.AcceptUnlessDigitsAndCapitals();
  const Corners k = c.OutlineCorners();
  c.RejectIf(k.c1.y - k.c4.x - k.c4.y - k.c1.x > 201);
  const int32_t across = k.c2.x + k.c4.y + k.c2.y + k.c4.x;
  c.RejectIf(across > 584);
  const int32_t t = k.c3.y - k.c3.x - k.c1.x + k.c1.y;
  c.RejectIf(t > 115);
  c.RejectIf(across + t > 638);
}

void CheckDigit3b(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(125, 140), cy(125, 140), y1 >= 195, x2 <= 150, y2 <= 160, w >= 95, h >= 170,
                 ux >= -62, uy >= 65});
  c.Require(c.Mcn(s0, kMcn), {dev <= -38, ox >= 165, oy <= 191});
  c.RequireIfPresent(c.OptS(1), {cx(90, 210)});
  c.AcceptWhen(!(c.SegmentTotal() == 1 && c.FeatureCount() == 0));
  c.Need(s0.code == 23 || s0.code == 32 || s0.code == 33 || s0.code == 42 || s0.code == 43);
  if (c.decided()) return;
  int32_t zigzag = 0;
  DetectChainZigzag(c.args().points, s0.segment, &zigzag);
  c.AcceptWhen(zigzag == 0);
  // A zigzag stroke may be a 3: read the character again on skewed points
  // against the "3a" model, when the set has it and the model after it.
  const CheckArgs& a = c.args();
  const int k = FindModelByName(*a.modelSet, "3a");
  if (c.decided() || !InSet(a, k) || !InSet(a, k + 1)) return c.Accept();
  SkewedRereading reread(a);
  if (reread.Skew() != 0 || reread.Match(k) != 0) return c.Accept();
  c.Reject();
  if (reread.Candidate(k).valid != 0) {
    c.RejectAllCandidates();
    reread.Candidate(k).valid = kCodeOfThree;
    return;
  }
  if (reread.Restore() != 0) return;
  reread.Match(k + 1);
  reread.Candidate(k + 1).valid = 0;
}

namespace {

// Steps 1 to 7 of "5"; a failure rejects but the hook step still follows.
// True when the row accepted and ends there.
bool CheckFiveStrokes(CheckContext& c, const StrokeView& s0) {
  const CheckArgs& a = c.args();
  c.Require(s0, {cx(30, 215), cy(100, 225), y1 <= 188, y2 >= 115, h >= 60, ux <= 72, uy <= -19});
  c.Require(c.Mcn(s0, kMcn), {dev <= 0, ox <= 119, oy >= 74});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(15, 150), cy(20, 145), x2 <= 145, y2 <= 160, w >= 25, h >= 40, ux(-44, 111),
                 uy >= -28});
  const McnView m1 = c.Mcn(s1, kMcn);
  c.Require(m1, {dev <= -20, ox >= 84, oy <= 199});
  const bool withS2 = c.OptS(2).present();
  if (withS2) {
    const PointView f1 = c.F(0);
    c.RejectIf(f1.x > 180 || f1.y < 80);
  }
  if (c.DigitsAndCapitals() && !withS2 && !c.decided()) {
    const PieceList pieces = c.Pieces(s0);
    const PieceView& last = pieces[std::max(0, pieces.count - 1)];
    const int32_t a1 =
        pieces.count > 0 ? Tilt(last.firstX - last.lastX, last.firstY - last.lastY) : 0;
    const int end2 = s0.segment->end2;
    int32_t a2 = 0;
    if (IsPoint(a, end2) && PointOf(a, end2).degree >= 1) {
      const PixelPoint n = PixelOf(a, PointOf(a, end2).neighbours[0]);
      a2 = Tilt(PointOf(a, end2).x - n.x, PointOf(a, end2).y - n.y);
    }
    c.RejectIf(a1 < -38 || a1 >= 71 || a2 < -53 || a2 > 72 || (a1 < -30 && a2 < -40));
  }
  if (withS2 && !c.decided()) {
    c.Accept();
    return true;
  }
  c.RejectIf(s0.h < 75);
  c.RejectIf(s0.x2 + s0.w / 2 - s0.cx < 52);
  if (s1.kind + s1.subKind != 5) {
    c.RejectIf(m1.ox * m1.ox + m1.oy * m1.oy < 2622);
  } else {
    c.RejectIf(s0.y2 - s0.y1 < 52);
  }
  return false;
}

}  // namespace

void CheckDigit5(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  if (CheckFiveStrokes(c, s0) || !s0.present()) return;
  // A first stroke with a hook, rejected or not, may make the character a 3.
  const CheckArgs& a = c.args();
  if (s0.code != 21 || !HasHook(a, s0)) return;
  const int k3 = FindModelByPrefix(*a.modelSet, "3", 0);
  const int k5 = FindModelByPrefix(*a.modelSet, "5", k3 + 1);
  if (!InSet(a, k3) || !InSet(a, k3 + 1) || !InSet(a, k5)) return;
  SkewedRereading reread(a);
  if (reread.Skew() != 0) return;
  const int target = a.nodeLists->marks.count == 0 ? k3 + 1 : k3;
  if (reread.Match(target) != 0) return;
  if (reread.Candidate(target).valid != 0) {
    c.Reject();
    c.RejectAllCandidates();
    reread.Candidate(target).valid = kCodeOfThree;
    return;
  }
  // Back as it was; what the match of the "5" model leaves stands, a
  // rejection above included.
  if (reread.Restore() != 0) return;
  reread.Match(k5);
}

void CheckDigit5b(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(80, 235), cy >= 70, x1 <= 9, y1 >= -20, x2 >= 25, y2 <= 90});
  const StrokeView s1 = c.S(1);
  c.Require(
      s1, {cx(30, 135), cy(45, 139), x1 <= 190, y1 >= 91, x2 <= 150, y2 <= 132, w >= 50, h >= 85});
  c.Require(c.Mcn(s1, kMcn), {dev <= -38, ox >= 145, oy <= 195});
  const PointView f1 = c.OptF(0);
  c.RequireIfPresent(f1, {x <= 180, y >= 100});
  if (!f1.present) {
    const int32_t a = Tilt(s0.x2 - s0.x1, s0.y2 - s0.y1);
    c.Need(a >= -40 && a <= 40);
  }
  c.AcceptUnlessDigitsAndCapitals();
  c.Need(s1.x1 - s0.cx <= -8);
  c.AcceptWhen(!f1.present);
  if (c.decided()) return;
  const CheckArgs& a = c.args();
  c.AcceptWhen(!(s0.code == 11 && HasHook(a, s0)));
  const int k3 = FindModelByPrefix(*a.modelSet, "3", 0);
  const int k5 = FindModelByPrefix(*a.modelSet, "5", k3 + 1);
  if (c.decided() || !InSet(a, k3) || k5 < 0 || !InSet(a, k5 + 2)) return c.Accept();
  SkewedRereading reread(a);
  if (reread.Skew() != 0 || reread.Match(k3) != 0) return c.Accept();
  if (reread.Candidate(k3).valid != 0) {
    // Unlike "3b" and "5", the 3 found here is not kept: nothing survives.
    c.Reject();
    c.RejectAllCandidates();
    return;
  }
  c.Accept();
  if (reread.Restore() != 0) return;
  reread.Match(k5 + 2);
}

void CheckDigit6(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(120, 145), cy(120, 145), x1 <= 195, y1 <= 202, y2 >= 150, w >= 60, h >= 204,
                 ux <= 35, uy <= -1});
  const McnView m = c.Mcn(s0, kMcn);
  c.RejectWhen(m, {dev(-14, 14)});
  c.RejectWhen(m, {ox(124, 132)});
  c.RejectWhen(m, {oy > 175});
  const PointView f1 = c.OptF(0);
  if (f1.present) {
    c.Require(f1, {x <= 170, y <= 202});
    const int32_t dx = f1.x - s0.x1, dy = f1.y - s0.y1;
    c.Need(dx >= -58 && dy >= -48 && dy <= 80 && Len(dx, dy) <= 149);
  }
  // The end-point steps: the upper end E of the stroke must lie well above
  // and near the stroke's start N, and nothing before N may rise above E.
  const ChainView chain = c.Chain(s0);
  if (chain.count == 0) return c.Reject();
  const CheckArgs& a = c.args();
  int pE = chain.count - 1;
  PointView e;
  if (s0.code < 53 || s0.code == 61) {
    e = c.End(s0, 2);
  } else {
    // Back from the end while the stroke keeps rising towards it.
    int i = chain.count - 1;
    while (i > 0 && chain.At(i - 1).y > chain.At(i).y) --i;
    e = StrokePointInFrame(a, chain.IndexAt(i));
    if (i > 0) pE = i;
  }
  const PixelPoint start = PixelOf(a, s0.segment->end1);
  int k = -1, nearest = pE;
  int64_t best = INT64_MAX;
  for (int i = pE; i >= 0; --i) {
    const StrokePoint& r = chain.At(i);
    const int64_t dx = r.x - start.x, dy = r.y - start.y;
    if (dx * dx + dy * dy < best) {
      best = dx * dx + dy * dy;
      nearest = i;
    }
    if (i < pE && r.x > chain.At(i + 1).x && chain.At(i + 1).y <= r.y) {
      k = i;
      break;
    }
  }
  const PointView n = f1.present ? f1 : StrokePointInFrame(a, chain.IndexAt(nearest));
  c.RejectIf(e.x - n.x < -15 || e.y - n.y < 44 || Len(e.x - n.x, e.y - n.y) < 95);
  for (int i = k; i >= 0; --i) c.RejectIf(StrokePointInFrame(a, chain.IndexAt(i)).y > e.y);
  c.RejectAllOnSingleLoop();
}

namespace {

// Step 3 of "7": a top stroke that starts on the left of the long stroke's
// first step, or reaches back over it, belongs to a 7.
void CheckSevenTop(CheckContext& c, const StrokeView& s0, const StrokeView& s1) {
  c.AcceptWhen(c.OptF(0).present);
  const ChainView chain = c.Chain(s1);
  const PieceList pieces = c.Pieces(s0);
  if (c.decided()) return;
  if (chain.count < 2 || pieces.count < 1) return c.Reject();
  const StrokePoint& q0 = chain.At(0);
  const StrokePoint& q1 = chain.At(1);
  const int64_t dx = q1.x - q0.x, dy = q1.y - q0.y;
  auto side = [&](int32_t px, int32_t py) { return (py - q0.y) * dx - (px - q0.x) * dy; };
  c.AcceptWhen(side(pieces[0].firstX, pieces[0].firstY) < 1 ||
               side(pieces[0].lastX, pieces[0].lastY) < 1);
  c.AcceptWhen(s0.cx - s0.x2 - s1.x1 < 1);
  c.Reject();
}

// The chord of one piece (last minus first point) in frame units, its
// weighted deviation, the squared deviation over the chord's squared length
// (x 10000) and the chord's slope angle.
struct PieceBend {
  int32_t kx, ky, deviation, share, angle;
};
PieceBend BendOf(const CheckArgs& a, const PieceView& p) {
  PieceBend b;
  b.kx = PixelsToFrame(p.lastX - p.firstX, *a.frame);
  b.ky = PixelsToFrame(p.lastY - p.firstY, *a.frame);
  b.deviation = PieceDeviation(a, p, true);
  const int64_t chord = int64_t{b.kx} * b.kx + int64_t{b.ky} * b.ky;
  const int64_t d100 = int64_t{100} * b.deviation;
  b.share =
      chord == 0 ? 0 : static_cast<int32_t>(std::min<int64_t>(d100 * d100 / chord, INT32_MAX));
  b.angle = Tilt(b.kx, b.ky);
  return b;
}

// Steps 4 to 9 of "7" without its top stroke: bends of the long stroke's
// pieces, its hook at the start, its apex angle and the outline's bend at
// its last piece.
void CheckSevenStem(CheckContext& c, const StrokeView& s1) {
  const CheckArgs& a = c.args();
  const int code1 = s1.code;
  PieceList pieces = c.Pieces(s1);
  if (c.decided()) return;
  if (pieces.count < 1) return c.Reject();
  bool skipBends = false;
  if (code1 == 22 || code1 == 23) c.RejectWhen(c.Mcn(s1, kMcn), {dev(-51, 51)});
  if (code1 == 22 && pieces.count >= 2) skipBends = PieceDeviation(a, pieces[1], false) < -51;
  if (!skipBends && (code1 == 22 || code1 == 23 || code1 == 32) && pieces.count == 2) {
    const PieceBend b1 = BendOf(a, pieces[1]);
    const PieceBend b0 = BendOf(a, pieces[0]);
    const int32_t q0 = b0.deviation < 0 ? -b0.share : b0.share;
    if (b1.deviation < 26 && b1.share < 100 && q0 >= -99 && b0.kx < 103) {
      c.RejectIf(b1.angle >= 61 && b0.angle > 30);
      c.RejectIf(b0.angle >= 0 && b0.kx < 64);
      c.Need(b1.angle < 81 && b1.angle - b0.angle >= 30);
    }
  }
  const PieceView& last = pieces[pieces.count - 1];
  const int32_t s = std::max<int32_t>(1, a.frame->size);
  if (code1 == 41 && IsPoint(a, s1.segment->end1)) {
    const PixelPoint start = PixelOf(a, s1.segment->end1);
    int64_t m = INT64_MAX;
    for (int i = 0; i < last.piece->pointCount; ++i) {
      const PixelPoint p = PixelOf(a, last.piece->words[i]);
      m = std::min(
          m, int64_t{p.x - start.x} * (p.x - start.x) + int64_t{p.y - start.y} * (p.y - start.y));
    }
    const int64_t s2 = int64_t{s} * s;
    c.RejectIf(m < 32768 && (65536 * m + s2 / 2) / s2 < 2622);
  }
  if (code1 == 41 || code1 == 32 || code1 == 23) {
    c.RejectIf(PieceDeviation(a, last, false) >= 39);
    c.RejectIf(last.last.y < 153);
  }
  const ChainView chain = c.Chain(s1);
  if (c.decided()) return;
  int left = 0, top = 0, right = 0;
  while (left + 1 < chain.count && chain.At(left + 1).x < chain.At(left).x) ++left;
  for (int i = 1; i < chain.count; ++i) {
    if (chain.At(i).y > chain.At(top).y) top = i;
    if (chain.At(i).x > chain.At(right).x) right = i;
  }
  const StrokePoint& pl = chain.At(left);
  const StrokePoint& pt = chain.At(top);
  const StrokePoint& pr = chain.At(right);
  const int32_t ang = AngleAtVertex({pt.x, pt.y}, {pl.x, pl.y}, {pr.x, pr.y});
  const PointView t = StrokePointInFrame(a, chain.IndexAt(top));
  const PointView r = StrokePointInFrame(a, chain.IndexAt(right));
  const PointView l = StrokePointInFrame(a, chain.IndexAt(left));
  if (code1 == 41) {
    c.AcceptWhen(r.x - t.x < 30 || t.x - l.x < 30 || s1.x1 - l.x < 30);
    c.RejectIf(ang >= 91 && ang <= 134);
  }
  c.AcceptWhen(code1 != 41 && code1 != 32 && code1 != 23);
  // The outline beside the last piece must not bulge outward.
  const ContourPoint* from = LeftOfPair(a, last.piece->words[0]);
  const ContourPoint* to = LeftOfPair(a, last.piece->words[last.piece->pointCount - 1]);
  c.AcceptWhen(from == nullptr || to == nullptr);
  if (c.decided()) return;
  int32_t bend = ang;
  if (RingReaches(to, from, a.contours->points.count)) {
    bend = FrameUnits(MaxContourChordDeviation(to, from), *a.frame);
  }
  c.RejectIf(bend < -40);
  c.AcceptWhen(bend <= 40);
  c.Reject();
}

}  // namespace

void CheckDigit7(CheckContext& c) {
  const StrokeView s0 = c.OptS(0);
  if (s0.present()) {
    c.Require(s0, {cx(25, 170), cy >= 170, x1(-28, 32), y1(-13, 30), x2 <= 80, y2 <= 80});
    c.Require(c.Mcn(s0, kMcn), {dev(-40, 40)});
  } else {
    c.LimitDistance(690);
  }
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(120, 215), cy(95, 139), x1 <= 200, y1 >= 80, x2 <= 230, y2 <= 30, w >= 25,
                 h >= 180, ux(-108, 108), uy >= 42});
  c.Require(c.Mcn(s1, kMcn), {dev <= -15, ox >= 130, oy >= 64});
  c.RequireIfPresent(c.OptF(0), {x <= 179, y >= 176});
  if (s0.present()) {
    CheckSevenTop(c, s0, s1);
  } else {
    CheckSevenStem(c, s1);
  }
}

namespace {

// Step 7 of "9": the outline at the end of the long stroke, from its highest
// point towards its leftmost. -1 rejects, 1 leaves only the loop step, 0 goes on.
int CheckNineOutlineTop(CheckContext& c, const ContourPoint* ring) {
  const CheckArgs& a = c.args();
  const int limit = a.contours->points.count;
  const ContourPoint* e4 = FindContourExtreme(ring, kDirPosY);
  const ContourPoint* e2 = FindContourExtreme(ring, kDirNegX);
  const ContourPoint* b = e4;
  int n = 0;
  for (const ContourPoint* p = e4; p != nullptr && n <= limit; p = p->next, ++n) {
    if (p->y <= e4->y + 1) b = p;
    if (p == e2) break;
  }
  const ContourPoint* l = e2;
  n = 0;
  for (const ContourPoint* p = e2; p != nullptr && n <= limit; p = p->prev, ++n) {
    if (p->x <= e2->x + 1) l = p;
    if (p == b) break;
  }
  const int32_t d = FrameUnits(MaxContourChordDeviation(b, l), *a.frame);
  if (d < -20) return 1;
  int32_t bx, by, lx, ly;
  NormalizePointToBox(a.frame, b->x, b->y, &bx, &by);
  NormalizePointToBox(a.frame, l->x, l->y, &lx, &ly);
  return d >= -6 && d <= 6 && ly - by >= 101 ? -1 : 0;
}

// Step 8 of "9": the outline beside the stroke's start, from the lowest
// point up to the highest, may not bulge far outward.
bool NineOutlineBulges(const CheckArgs& a, const ContourPoint* ring, const StrokeView& s1) {
  const int limit = a.contours->points.count;
  const ContourPoint* e4 = FindContourExtreme(ring, kDirPosY);
  const ContourPoint* e0 = FindContourExtreme(ring, kDirNegY);
  for (int i = 0; i < 2 && e0->next != nullptr && e0->next != e4; ++i) e0 = e0->next;
  const int startRow = -PointOf(a, s1.segment->end1).y;
  const ContourPoint* u = e0;
  const ContourPoint* v = e4;
  int n = 0;
  for (const ContourPoint* p = e0; p != nullptr && n <= limit; p = p->next, ++n) {
    if (p->y - startRow == 4) u = p;
    if (p->y - startRow == -4) v = p;
    if (p == e4) break;
  }
  return FrameUnits(MaxContourChordDeviation(u, v), *a.frame) < -35;
}

}  // namespace

void CheckDigit9(CheckContext& c) {
  const StrokeView s0 = c.OptS(0);
  c.RequireIfPresent(s0, {x2 <= 35, y2 <= 35});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(120, 140), cy(120, 140), x1 >= 85, y1 >= 51, x2 <= 235, y2 <= 100, w >= 55,
                 h >= 252, ux >= -35, uy >= 24});
  if (c.decided()) return;
  const CheckArgs& a = c.args();
  auto loopStepOnly = [&c]() { c.RejectAllOnSingleLoop(); };
  if (c.GroupCount() == 2) return loopStepOnly();
  if (s0.present()) {
    const PointView f1 = c.F(0);
    c.RejectIf(f1.y < 64);
    c.RejectIf(f1.x < 85 && f1.y >= 231);
  }
  const ChainView chain = c.Chain(s1);
  if (c.decided()) return;
  const int apex = ChainApex(chain);
  int32_t ux0, uy0, vx, vy;
  NeighbourVectors(*a.points, apex, &ux0, &uy0, &vx, &vy);
  const int turn = s1.kind + s1.subKind;
  if ((turn == 4 || turn == 5) && int64_t{ux0} * vx + int64_t{uy0} * vy > 0 && c.G(0).y < 128) {
    c.RejectIf(ChainTailDeviation(a, chain, std::max(0, chain.PositionOf(apex)), true) > -51);
  }
  if (c.decided() || chain.count < 2) return loopStepOnly();
  const PointView q0 = StrokePointInFrame(a, chain.IndexAt(0));
  const PointView q1 = StrokePointInFrame(a, chain.IndexAt(1));
  if (q1.y - q0.y < -7) return loopStepOnly();
  const PointView ring = c.PairSource(s1.segment->end2);
  if (!ring.present) return loopStepOnly();
  const int top = CheckNineOutlineTop(c, ring.contour);
  if (top < 0) return c.Reject();
  if (top > 0) return loopStepOnly();
  c.RejectIf(NineOutlineBulges(a, ring.contour, s1));
  c.RejectAllOnSingleLoop();
}
