// Thinning, first half: contour normals, opposite contour points paired into
// runs along the body of each stroke, crossing runs removed, and run ends
// grown into the free contour beyond them (joining runs of one stroke,
// closing rings, eating into junctions and tips). Up to 2000 pairs and 400
// runs.
#include <algorithm>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kJoinWidthLimit = 1501;  // 1/256 pixel

void ScaleTo256(int64_t dx, int64_t dy, int16_t* x, int16_t* y) {
  const int64_t length = ApproxDistance(static_cast<int32_t>(dx), static_cast<int32_t>(dy));
  if (length == 0) {
    *x = *y = 0;
    return;
  }
  *x = static_cast<int16_t>(dx * 65536 / length);
  *y = static_cast<int16_t>(dy * 65536 / length);
}

// (v) / 4 rounded toward minus infinity, as an arithmetic shift does.
int FloorQuarter(int v) { return v >= 0 ? v / 4 : -((-v + 3) / 4); }

int Distance(const ContourPoint* a, const ContourPoint* b) {
  return ApproxDistance(b->x - a->x, b->y - a->y);
}

int64_t Cross(const ContourPoint* o, const ContourPoint* a, const ContourPoint* b) {
  return int64_t{a->x - o->x} * (b->y - o->y) - int64_t{a->y - o->y} * (b->x - o->x);
}

ContourPair* AllocContourPair(ContourSet* c, ContourPoint* a, ContourPoint* b) {
  if (c->pairs.count >= c->pairs.capacity) {
    PushErrorCode(kErrCapacityFull);
    return nullptr;
  }
  ContourPair* p = &c->pairs.items[c->pairs.count++];
  *p = ContourPair{};
  p->a = a;
  p->b = b;
  return p;
}

PairRun* AllocPairRun(ContourSet* c, ContourPair* first) {
  if (c->runs.count >= c->runs.capacity) {
    PushErrorCode(kErrCapacityFull);
    return nullptr;
  }
  PairRun* r = &c->runs.items[c->runs.count++];
  *r = PairRun{};
  r->firstPair = r->lastPair = first;
  r->pairCount = 1;
  return r;
}

void AssignPair(ContourSet* c, const PairRun* run, ContourPair* pair) {
  const int16_t index = static_cast<int16_t>(RunIndex(*c, run));
  pair->a->run = pair->b->run = index;
}

void AppendPair(PairRun* run, ContourPair* pair) {
  pair->towardStart = run->lastPair;
  run->lastPair->towardEnd = pair;
  run->lastPair = pair;
  ++run->pairCount;
}

void ComputeRunWidth(PairRun* run) {
  int64_t sum = 0;
  int n = 0;
  for (ContourPair* p = run->firstPair; p && n < kMaxContourPairs; p = p->towardEnd, ++n) {
    sum += Distance(p->a, p->b) + 256;
    if (p == run->lastPair) {
      ++n;
      break;
    }
  }
  run->pairCount = static_cast<uint16_t>(n);
  run->width = static_cast<uint16_t>(n ? (sum + n / 2) / n : 0);
}

// Turns a run around: its first pair becomes its last and each pair's two
// points swap sides, so that the walking rules of run ends still hold.
void ReverseRun(PairRun* run) {
  ContourPair* p = run->firstPair;
  for (int n = 0; p && n < kMaxContourPairs; ++n) {
    ContourPair* next = p->towardEnd;
    ContourPoint* a = p->a;
    p->a = p->b;
    p->b = a;
    p->towardEnd = p->towardStart;
    p->towardStart = next;
    if (p == run->lastPair) break;
    p = next;
  }
  ContourPair* first = run->firstPair;
  run->firstPair = run->lastPair;
  run->lastPair = first;
  const uint8_t finished = run->startFinished;
  run->startFinished = run->endFinished;
  run->endFinished = finished;
}

bool IsMutualPair(const ContourPoint* p, const ContourPoint* q) {
  if (p->partner == q && q->partner == p) return true;
  return RingNeighbours(p->partner, q) || RingNeighbours(q->partner, p);
}

bool CanPair(const ContourPoint* a, const ContourPoint* b) {
  return a && b && a != b && a->run < 0 && b->run < 0 && !RingNeighbours(a, b) &&
         IsMutualPair(a, b);
}

// Grows a new run from its one pair in both directions while the next points
// on the two sides stay mutual partners.
int ExtendPairRun(ContourSet* c, PairRun* run) {
  for (int side = 0; side < 2; ++side) {
    for (;;) {
      ContourPair* end = side == 0 ? run->lastPair : run->firstPair;
      ContourPoint* a = side == 0 ? end->a->next : end->a->prev;
      ContourPoint* b = side == 0 ? end->b->prev : end->b->next;
      if (!CanPair(a, b)) break;
      ContourPair* pair = AllocContourPair(c, a, b);
      if (!pair) return -9;
      if (side == 0) {
        AppendPair(run, pair);
      } else {
        pair->towardEnd = run->firstPair;
        run->firstPair->towardStart = pair;
        run->firstPair = pair;
        ++run->pairCount;
      }
      AssignPair(c, run, pair);
    }
  }
  ComputeRunWidth(run);
  return 0;
}

struct PixelGrid {
  const NeighbourMap* map;
  ContourPoint** entries;
  bool Inside(int x, int y) const {
    return x >= 0 && y >= 0 && x < map->width && y < map->height;
  }
  bool Black(int x, int y) const {
    return Inside(x, y) && (map->bytes[y * map->width + x] & kMapBlack);
  }
  ContourPoint* At(int x, int y) const {
    return Inside(x, y) ? entries[y * map->width + x] : nullptr;
  }
};

// Of c, its successor and its predecessor, the one nearest to p.
ContourPoint* NearestAround(ContourPoint* c, ContourPoint* p) {
  ContourPoint* succ = c->next ? c->next : c;
  ContourPoint* pred = c->prev ? c->prev : c;
  const int dc = Distance(c, p), ds = Distance(succ, p), dp = Distance(pred, p);
  if (pred != p && dp <= dc && dp <= ds) return pred;
  if (dc < ds || ds > dp) return c;
  return succ == p ? c : succ;
}

// The contour point across the stroke from p: found by walking from p's
// pixel along its normal until the walk leaves the black.
ContourPoint* FindOppositeContourPoint(const PixelGrid& grid, ContourPoint* p) {
  if (p->code == -1) return p->crossing ? p->crossing : p;
  if (p->normalX == 0 && p->normalY == 0) return p;
  int fx = p->x * 256 + 128, fy = p->y * 256 + 128;
  int px = p->x, py = p->y;
  int lastX = p->x, lastY = p->y;
  const int maxSteps = 2 * (grid.map->width + grid.map->height);
  for (int step = 0; step < maxSteps; ++step) {
    fx += p->normalX;
    fy += p->normalY;
    const int qx = fx >> 8, qy = fy >> 8;  // fx, fy stay >= 0 inside the map
    if (qx == px && qy == py) continue;
    px = qx;
    py = qy;
    if (!grid.Black(qx, qy)) break;
    ContourPoint* q = grid.At(qx, qy);
    if (q && q != p && q != p->next && q != p->prev) return q;
    lastX = qx;
    lastY = qy;
  }
  const ContourPoint* tried[3] = {grid.At(lastX, lastY), grid.At(lastX, py),
                                  grid.At(px, lastY)};
  ContourPoint* c = p;
  for (const ContourPoint* t : tried)
    if (t && t != p) {
      c = const_cast<ContourPoint*>(t);
      break;
    }
  return NearestAround(c, p);
}

// Where the free contour beyond a run end leads.
enum MeetingClass {
  kMeetStart = 0,    // both sides reach the first pair of one other run
  kMeetEnd = 1,      // ... its last pair
  kMeetSelf = 2,     // they reach this run's other end: a ring
  kMeetNone = 3,     // no other run end (a tip, or a junction of several runs)
  kMeetInside = 4,   // another run, not at one of its end pairs
};

struct Meeting {
  MeetingClass cls;
  PairRun* other;
  ContourPoint* reachA;  // first paired point beyond the a side, or null
  ContourPoint* reachB;
};

ContourPoint* WalkUnpaired(ContourPoint* from, bool forward, int limit) {
  ContourPoint* p = forward ? from->next : from->prev;
  for (int n = 0; p && p != from && p->run < 0 && n < limit; ++n)
    p = forward ? p->next : p->prev;
  return p && p->run >= 0 ? p : nullptr;
}

int CountUnpaired(const ContourPoint* from, bool forward, const ContourPoint* stop,
                  int limit) {
  int n = 0;
  for (const ContourPoint* p = forward ? from->next : from->prev;
       p && p != stop && p != from && p->run < 0 && n < limit;
       p = forward ? p->next : p->prev)
    ++n;
  return n;
}

Meeting ClassifyRunEndMeeting(ContourSet* c, PairRun* run, int limit) {
  ContourPoint* pa = run->lastPair->a;
  ContourPoint* pb = run->lastPair->b;
  Meeting m{kMeetNone, nullptr, WalkUnpaired(pa, true, limit), WalkUnpaired(pb, false, limit)};
  if (!m.reachA || !m.reachB) return m;
  if (m.reachA == pb && m.reachB == pa) return m;  // round a tip
  PairRun* runA = &c->runs.items[m.reachA->run];
  PairRun* runB = &c->runs.items[m.reachB->run];
  if (runA == run && runB == run) {
    if (m.reachA == run->firstPair->a && m.reachB == run->firstPair->b) m.cls = kMeetSelf;
    return m;
  }
  if (runA == runB) {
    m.other = runA;
    if (m.reachA == runA->firstPair->a && m.reachB == runA->firstPair->b)
      m.cls = kMeetStart;
    else if (m.reachA == runA->lastPair->b && m.reachB == runA->lastPair->a)
      m.cls = kMeetEnd;
    else
      m.cls = kMeetInside;
    return m;
  }
  if (FindRunEndOfPoint(c, m.reachA).side < 0 || FindRunEndOfPoint(c, m.reachB).side < 0)
    m.cls = kMeetInside;
  return m;
}

// Projection (1/256 pixel) of the move of the pair's midpoint from (pa, pb)
// to (na, nb) on the run's outgoing direction.
int StepProjection(const PairRun& run, const ContourPoint* pa, const ContourPoint* pb,
                   const ContourPoint* na, const ContourPoint* nb) {
  int16_t ux, uy;
  ScaleTo256(-(pb->y - pa->y), pb->x - pa->x, &ux, &uy);
  int64_t ox, oy;  // a vector pointing out of the run
  if (const ContourPair* inner = run.lastPair->towardStart) {
    ox = (pa->x + pb->x) - (inner->a->x + inner->b->x);
    oy = (pa->y + pb->y) - (inner->a->y + inner->b->y);
  } else {
    ox = (na->x + nb->x) - (pa->x + pb->x);
    oy = (na->y + nb->y) - (pa->y + pb->y);
  }
  if (ox * ux + oy * uy < 0) {
    ux = static_cast<int16_t>(-ux);
    uy = static_cast<int16_t>(-uy);
  }
  const int64_t sx = int64_t{(na->x + nb->x) - (pa->x + pb->x)} * 128;
  const int64_t sy = int64_t{(na->y + nb->y) - (pa->y + pb->y)} * 128;
  return static_cast<int>((sx * ux + sy * uy) / 256);
}

// Unpaired points left beyond (a, b) after a growth step.
int UnpairedLeft(const ContourPoint* a, const ContourPoint* b, int limit) {
  const int forward = CountUnpaired(a, true, b, limit);
  if (WalkUnpaired(const_cast<ContourPoint*>(a), true, limit) == b) return forward;
  return forward + CountUnpaired(b, false, a, limit);
}

// Moves the pairs of `other` (whose first pair continues this run's end) to
// this run.
void TakeOverRun(ContourSet* c, PairRun* run, PairRun* other) {
  ContourPair* last = other->lastPair;
  ContourPair* p = other->firstPair;
  run->lastPair->towardEnd = p;
  p->towardStart = run->lastPair;
  for (int n = 0; p && n < kMaxContourPairs; ++n) {
    AssignPair(c, run, p);
    if (p == last) break;
    p = p->towardEnd;
  }
  run->lastPair = last;
  run->endFinished = other->endFinished;
  other->kind = kRecordRemoved;
  ComputeRunWidth(run);
}

// Grows the run's last end; returns 1 when it took over another run (its new
// end may grow further), 0 when done, -9 after 14.
int GrowRunEnd(ContourSet* c, PairRun* run) {
  const int limit = c->points.count;
  const Meeting m = ClassifyRunEndMeeting(c, run, limit);
  const bool joining = m.cls == kMeetStart || m.cls == kMeetEnd;
  if (joining) {
    const int diff = run->width - m.other->width;
    if (diff >= kJoinWidthLimit || -diff >= kJoinWidthLimit) {
      SetEndFinished(*run, kRunEnd);
      SetEndFinished(*m.other, m.cls == kMeetStart ? kRunStart : kRunEnd);
      return 0;
    }
  }
  if (m.cls == kMeetInside) return 0;
  const int keepFree = (run->width + 128) / 256 + 2;
  for (;;) {
    ContourPoint* pa = run->lastPair->a;
    ContourPoint* pb = run->lastPair->b;
    ContourPoint* na = pa->next && pa->next->run < 0 && pa->next != pb ? pa->next : nullptr;
    ContourPoint* nb = pb->prev && pb->prev->run < 0 && pb->prev != pa ? pb->prev : nullptr;
    // The nearer of the three ways to advance: both sides, or one.
    ContourPoint* best[2] = {nullptr, nullptr};
    int bestDistance = INT32_MAX;
    const ContourPoint* options[3][2] = {{na, nb}, {na, pb}, {pa, nb}};
    for (const auto& o : options) {
      if (!o[0] || !o[1] || o[0] == o[1] || (o[0] == pa && o[1] == pb)) continue;
      const int d = Distance(o[0], o[1]);
      if (d < bestDistance) {
        bestDistance = d;
        best[0] = const_cast<ContourPoint*>(o[0]);
        best[1] = const_cast<ContourPoint*>(o[1]);
      }
    }
    if (!best[0]) break;
    const bool accepted =
        m.cls == kMeetNone ? UnpairedLeft(best[0], best[1], limit) >= keepFree
                           : StepProjection(*run, pa, pb, best[0], best[1]) >= 52;
    if (!accepted) break;
    ContourPair* pair = AllocContourPair(c, best[0], best[1]);
    if (!pair) return -9;
    AppendPair(run, pair);
    AssignPair(c, run, pair);
  }
  ContourPoint* pa = run->lastPair->a;
  ContourPoint* pb = run->lastPair->b;
  const bool closedUp = pa->next == m.reachA && pb->prev == m.reachB;
  if (!closedUp) return 0;
  if (m.cls == kMeetSelf) {
    run->startFinished = run->endFinished = 1;
    return 0;
  }
  if (!joining || m.other == run) return 0;
  if (m.cls == kMeetEnd) ReverseRun(m.other);
  TakeOverRun(c, run, m.other);
  return 1;
}

}  // namespace

int RunIndex(const ContourSet& contours, const PairRun* run) {
  return static_cast<int>(run - contours.runs.items);
}

ContourPair* FindPairOfPoint(const PairRun& run, const ContourPoint* p) {
  ContourPair* q = run.firstPair;
  for (int n = 0; q && n < kMaxContourPairs; ++n, q = q->towardEnd) {
    if (q->a == p || q->b == p) return q;
    if (q == run.lastPair) break;
  }
  return nullptr;
}

RunEndRef FindRunEndOfPoint(ContourSet* contours, const ContourPoint* p) {
  if (p->run < 0 || p->run >= contours->runs.count) return {nullptr, -1};
  PairRun* run = &contours->runs.items[p->run];
  const ContourPair* first = run->firstPair;
  const ContourPair* last = run->lastPair;
  if (last->a == p || last->b == p) return {run, kRunEnd};
  if (first->a == p || first->b == p) return {run, kRunStart};
  return {run, -1};
}

bool IsRingRun(const PairRun& run) {
  return run.pairCount > 2 && RingNeighbours(run.lastPair->a, run.firstPair->a) &&
         RingNeighbours(run.lastPair->b, run.firstPair->b);
}

void ReleaseRunPairs(ContourSet* contours, PairRun* run) {
  run->kind = kRecordRemoved;
  ContourPair* p = run->firstPair;
  const int16_t index = static_cast<int16_t>(RunIndex(*contours, run));
  for (int n = 0; p && n < kMaxContourPairs; ++n, p = p->towardEnd) {
    if (p->a->run == index) p->a->run = -1;
    if (p->b->run == index) p->b->run = -1;
    if (p == run->lastPair) break;
  }
}

void RunEndDirection(const PairRun& run, int side, int* dx, int* dy) {
  // The sum of the last up to three pair directions turned by a right angle,
  // pointing out through the end.
  int64_t sx = 0, sy = 0;
  const ContourPair* p = EndPair(run, side);
  const ContourPair* inner = nullptr;
  for (int n = 0; p && n < 3; ++n) {
    sx += -(p->a->normalY - p->b->normalY);
    sy += p->a->normalX - p->b->normalX;
    inner = p;
    if (p == EndPair(run, 1 - side)) break;
    p = side == kRunEnd ? p->towardStart : p->towardEnd;
  }
  const ContourPair* end = EndPair(run, side);
  int64_t ox = (end->a->x + end->b->x) - (inner->a->x + inner->b->x);
  int64_t oy = (end->a->y + end->b->y) - (inner->a->y + inner->b->y);
  if (ox == 0 && oy == 0) {  // one pair: out along the leading contour
    const ContourPoint* lead = LeadingPoint(run, side);
    const ContourPoint* next = lead->next ? lead->next : lead;
    ox = next->x - lead->x;
    oy = next->y - lead->y;
  }
  if (sx * ox + sy * oy < 0) {
    sx = -sx;
    sy = -sy;
  }
  int16_t ux, uy;
  ScaleTo256(sx, sy, &ux, &uy);
  *dx = ux;
  *dy = uy;
}

int ComputeContourNormals(ContourSet* contours) {
  for (int i = 0; i < contours->points.count; ++i) {
    ContourPoint& p = contours->points.items[i];
    if (p.code >= 0) {
      p.normalX = kContourNormalTable[p.code].x;
      p.normalY = kContourNormalTable[p.code].y;
    } else if (p.prev && p.next) {
      ScaleTo256(p.next->y - p.prev->y, p.prev->x - p.next->x, &p.normalX, &p.normalY);
    } else {
      p.normalX = p.normalY = 0;
    }
  }
  return 0;
}

// Each normal becomes (previous + next + 2 x own) / 4, from the values before
// smoothing, walked ring by ring with the raw values carried along.
void SmoothContourNormals(ContourSet* contours) {
  for (int i = 0; i < contours->contours.count; ++i) {
    Contour& c = contours->contours.items[i];
    ContourPoint* first = c.first;
    if (!first || !first->prev || !first->next) continue;
    const int16_t firstX = first->normalX, firstY = first->normalY;
    int16_t prevX = first->prev->normalX, prevY = first->prev->normalY;
    ContourPoint* p = first;
    for (int n = 0; n < c.pointCount && p; ++n) {
      ContourPoint* next = p->next;
      if (!next) break;
      const int16_t ownX = p->normalX, ownY = p->normalY;
      const int nextX = next == first ? firstX : next->normalX;
      const int nextY = next == first ? firstY : next->normalY;
      ScaleTo256(FloorQuarter(prevX + nextX + 2 * ownX), FloorQuarter(prevY + nextY + 2 * ownY),
                 &p->normalX, &p->normalY);
      prevX = ownX;
      prevY = ownY;
      p = next;
      if (p == first) break;
    }
  }
}

int PairOppositeContourPoints(ThinningWork& work) {
  ContourSet* c = work.contours;
  const NeighbourMap* map = work.map;
  const int pixels = map->width * map->height;
  for (int i = 0; i < pixels; ++i) work.pixelPoints[i] = nullptr;
  for (int i = 0; i < c->points.count; ++i) {
    ContourPoint& p = c->points.items[i];
    ContourPoint*& slot = work.pixelPoints[p.y * map->width + p.x];
    if (!slot) slot = &p;
  }
  const PixelGrid grid{map, work.pixelPoints};
  for (int i = 0; i < c->points.count; ++i) {
    ContourPoint& p = c->points.items[i];
    p.partner = FindOppositeContourPoint(grid, &p);
  }
  for (int i = 0; i < c->points.count; ++i) {
    ContourPoint* p = &c->points.items[i];
    ContourPoint* q = p->partner;
    if (p->run >= 0 || !CanPair(p, q)) continue;
    ContourPair* pair = AllocContourPair(c, p, q);
    if (!pair) return -9;
    PairRun* run = AllocPairRun(c, pair);
    if (!run) return -9;
    AssignPair(c, run, pair);
    if (ExtendPairRun(c, run) < 0) return -9;
  }
  RemoveCrossingRuns(c);
  return 0;
}

void RemoveCrossingRuns(ContourSet* contours) {
  RecordArray<PairRun>& runs = contours->runs;
  for (int i = 0; i < runs.count; ++i) {
    for (int j = i + 1; j < runs.count && IsLiveRun(runs.items[i]); ++j) {
      PairRun& ri = runs.items[i];
      PairRun& rj = runs.items[j];
      if (!IsLiveRun(rj)) continue;
      const ContourPoint *a = ri.lastPair->a, *b = ri.lastPair->b;
      const ContourPoint *p = rj.lastPair->a, *q = rj.lastPair->b;
      const bool boxesOverlap =
          std::max(a->x, b->x) >= std::min(p->x, q->x) &&
          std::max(p->x, q->x) >= std::min(a->x, b->x) &&
          std::max(a->y, b->y) >= std::min(p->y, q->y) &&
          std::max(p->y, q->y) >= std::min(a->y, b->y);
      if (!boxesOverlap) continue;
      const bool crossing = ((Cross(a, b, p) > 0) != (Cross(a, b, q) > 0)) &&
                            Cross(a, b, p) != 0 && Cross(a, b, q) != 0 &&
                            ((Cross(p, q, a) > 0) != (Cross(p, q, b) > 0)) &&
                            Cross(p, q, a) != 0 && Cross(p, q, b) != 0;
      if (!crossing) continue;
      ReleaseRunPairs(contours, rj.width >= ri.width ? &rj : &ri);
    }
  }
  for (int i = 0; i < runs.count; ++i) {
    PairRun& r = runs.items[i];
    if (!IsLiveRun(r)) continue;
    const Contour* ca = r.firstPair->a->owner;
    const Contour* cb = r.firstPair->b->owner;
    if ((ca && ca->kind == kContourSmallCrossedOuter) ||
        (cb && cb->kind == kContourSmallCrossedOuter)) {
      ReleaseRunPairs(contours, &r);
      continue;
    }
    const bool ring = IsRingRun(r);
    r.startFinished = r.endFinished = ring ? 1 : 0;
  }
}

int ExtendRunEnds(ContourSet* contours) {
  for (int i = 0; i < contours->runs.count; ++i) {
    PairRun* run = &contours->runs.items[i];
    for (int side = kRunStart; side <= kRunEnd; ++side) {
      if (!IsLiveRun(*run) || EndFinished(*run, side)) continue;
      if (side == kRunStart) ReverseRun(run);
      int rc;
      for (int n = 0; (rc = GrowRunEnd(contours, run)) == 1 && n < kMaxPairRuns; ++n) {
      }
      if (rc < 0) return -9;
      if (side == kRunStart) ReverseRun(run);
    }
  }
  return 0;
}

void MeasurePairRuns(ContourSet* contours) {
  for (int i = 0; i < contours->runs.count; ++i) {
    PairRun& r = contours->runs.items[i];
    if (!IsLiveRun(r)) continue;
    ComputeRunWidth(&r);
    r.kind = kRecordLive;
  }
}
