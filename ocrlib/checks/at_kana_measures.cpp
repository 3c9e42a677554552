// The measures the "@" katakana rows share: pieces by chord, the outline
// rings strokes were traced from and how much of a ring turns, walks and
// bulges along a ring, the vectors of a stroke that turns back, and the hole
// rule of the WA rows.
#include <cstdlib>

#include "ocrlib/checks/kana_checks.h"

int32_t PieceSlope(const PieceView& p) { return Slope(p.last.x - p.first.x, p.last.y - p.first.y); }

int LongestPiece(const PieceList& pieces) {
  int best = 0;
  int64_t bestChord = -1;
  for (int i = 0; i < pieces.count; ++i) {
    const int64_t dx = pieces[i].last.x - pieces[i].first.x;
    const int64_t dy = pieces[i].last.y - pieces[i].first.y;
    if (dx * dx + dy * dy > bestChord) {
      best = i;
      bestChord = dx * dx + dy * dy;
    }
  }
  return best;
}

PointView GroupStartSource(CheckContext& c, const StrokeView& s, int line) {
  if (!c.Need(s.present(), line)) return {};
  const RecordArray<StrokeGroup>& groups = c.args().graph->groups;
  const int g = s.segment->group;
  const StrokePiece* first = g < groups.count ? groups.items[g].firstPiece : nullptr;
  return Node(c, first != nullptr && first->pointCount > 0 ? first->words[0] : -1, line);
}

PointView PieceStartSource(CheckContext& c, const StrokeView& s, int line) {
  const PieceList pieces = c.Pieces(s);
  if (!c.Need(pieces.count > 0, line)) return {};
  return Node(c, pieces[0].piece->words[0], line);
}

bool GroupRingIsOuter(CheckContext& c, const StrokeView& s, int line) {
  return OnOuterRing(GroupStartSource(c, s, line));
}

int RingPointCount(const PointView& ring) {
  return ring.contour != nullptr && ring.contour->owner != nullptr ? ring.contour->owner->pointCount
                                                                   : 0;
}

bool RingHasNormals(const CheckContext& c) { return IsThinnedStep(static_cast<uint8_t>(c.step())); }

int32_t TurningShare(const PointView& ring) {
  const ContourPoint* start = ring.contour;
  const int n = RingPointCount(ring);
  if (start == nullptr || n == 0) return 0;
  int turning = 0;
  int walked = 0;
  for (const ContourPoint* p = start->next; p != nullptr && p != start && walked < n;
       p = p->next, ++walked) {
    if (std::abs(std::abs(p->normalX) - std::abs(p->normalY)) < 180) ++turning;
  }
  return turning * 100 / n;
}

PointView Node(CheckContext& c, int strokePoint, int line) {
  const PointView source = c.TracedSource(strokePoint);
  c.Need(source.present, line);
  return source;
}

PointView ChainStartNode(CheckContext& c, const StrokeView& s, int line) {
  const ChainView chain = c.Chain(s);
  if (!c.Need(chain.count > 0, line)) return {};
  return Node(c, chain.IndexAt(0), line);
}

PointView RingExtremeBetween(const CheckContext& c, const PointView& from, const PointView& to,
                             int direction, int weight) {
  return c.ContourInFrame(FindContourExtremeInRange(from.contour, to.contour, direction, weight));
}

RingBulge BulgeBetween(const CheckContext& c, const PointView& a, const PointView& b) {
  RingBulge bulge;
  if (a.contour == nullptr || b.contour == nullptr) return bulge;
  bulge.farthest.present = true;
  bulge.value = NormalizedChordDeviationAt(a.contour, b.contour, &bulge.farthest.x,
                                           &bulge.farthest.y, &c.frame());
  return bulge;
}

int32_t RawBulgeBetween(const PointView& a, const PointView& b) {
  return MaxContourChordDeviation(a.contour, b.contour);
}

TurnBackVectors MeasureTurnBack(CheckContext& c, const StrokeView& s0, const StrokeView& s2,
                                const StrokeView& s3, int line) {
  TurnBackVectors v;
  const PieceList pieces = c.Pieces(s0);
  if (!c.Need(pieces.count >= 2, line)) return v;
  const PieceView& turn = pieces[pieces.count - 2];
  const PointView e02 = c.End(s0, 2), e32 = c.End(s3, 2);
  const PointView e21 = c.End(s2, 1), e31 = c.End(s3, 1);
  v.l1 = Len(e02, e32);
  v.a1 = Ang(e02, e32);
  v.l2 = Len(turn.last, turn.first);
  v.a2 = Ang(turn.last, turn.first);
  v.l3 = Len(e21, e31);
  v.a3 = Ang(e21, e31);
  return v;
}

void RequireNoTopHole(CheckContext& c) {
  const HoleList holes = c.Holes(kMaxListedHoles);
  const HoleList::Hole* h = LargestHole(holes);
  c.RejectIf(h != nullptr && h->points >= 3 && h->frameY >= 249 && h->frameX >= 76 &&
             h->frameX < 145);
}
