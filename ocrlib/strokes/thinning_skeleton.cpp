// Thinning, second half: the free contour where run ends meet becomes an end
// cap, stroke points are placed along the middle of every run and at the
// junction of every cap that several runs share, short runs that are only
// the body of a junction or a blob are removed, and the points are linked
// into the skeleton with its short spurs and tiny loops cut off.
#include <algorithm>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

RunEndCap* AllocRunEndCap(ContourSet* c) {
  if (c->caps.count >= c->caps.capacity) {
    PushErrorCode(kErrCapacityFull);
    return nullptr;
  }
  RunEndCap* cap = &c->caps.items[c->caps.count++];
  *cap = RunEndCap{};
  return cap;
}

void RemoveRunFromEndCap(RunEndCap* cap, const PairRun* run) {
  int kept = 0;
  for (int i = 0; i < cap->runCount; ++i) {
    if (cap->runs[i] == run) continue;
    cap->runs[kept] = cap->runs[i];
    cap->sides[kept] = cap->sides[i];
    ++kept;
  }
  cap->runCount = static_cast<uint8_t>(kept);
}

void ExtendBox(RunEndCap* cap, const ContourPoint* p, bool first) {
  if (first) {
    cap->minX = cap->maxX = p->x;
    cap->minY = cap->maxY = p->y;
    return;
  }
  if (p->x < cap->minX) cap->minX = p->x;
  if (p->x > cap->maxX) cap->maxX = p->x;
  if (p->y < cap->minY) cap->minY = p->y;
  if (p->y > cap->maxY) cap->maxY = p->y;
}

StrokePoint& PointOf(const ThinningWork& w, int index) {
  return w.points->points.items[index];
}

bool IsOwnPoint(const ThinningWork& w, int index) {
  return index >= 0 && PointOf(w, index).sourcePair == nullptr;
}

int DistanceBetween(const ThinningWork& w, int a, int b) {
  const StrokePoint& p = PointOf(w, a);
  const StrokePoint& q = PointOf(w, b);
  return ApproxDistance(q.x - p.x, q.y - p.y);
}

// Sum over the cap's runs but `skip` of 256 x the cosine between the run's
// outgoing direction and the way from its end to (x, y).
int64_t JunctionScore(const ThinningWork& w, const RunEndCap& cap, const int* dirX,
                      const int* dirY, int skip, int x, int y) {
  int64_t score = 0;
  for (int i = 0; i < cap.runCount; ++i) {
    if (i == skip) continue;
    const StrokePoint& e = PointOf(w, EndPoint(*cap.runs[i], cap.sides[i]));
    const int vx = x - e.x, vy = y - e.y;
    const int length = ApproxDistance(vx, vy);
    score += length == 0 ? 256 : (int64_t{dirX[i]} * vx + int64_t{dirY[i]} * vy) * 256 / length;
  }
  return score;
}

// Puts the cap's junction at the run end or the black pixel of its box that
// the runs point at best.
int PlaceJunctionPoint(ThinningWork& w, RunEndCap* cap) {
  int dirX[kMaxCapRuns], dirY[kMaxCapRuns];
  for (int i = 0; i < cap->runCount; ++i)
    RunEndDirection(*cap->runs[i], cap->sides[i], &dirX[i], &dirY[i]);
  int64_t best = 0;
  int bestEnd = -1, bestX = 0, bestY = 0;
  for (int i = 0; i < cap->runCount; ++i) {
    const int end = EndPoint(*cap->runs[i], cap->sides[i]);
    const StrokePoint& e = PointOf(w, end);
    const int64_t score = 256 + JunctionScore(w, *cap, dirX, dirY, i, e.x, e.y);
    if (bestEnd < 0 || score > best) {
      best = score;
      bestEnd = end;
    }
  }
  bool pixelWins = false;
  const NeighbourMap& map = *w.map;
  for (int y = cap->minY; y <= cap->maxY; ++y)
    for (int x = cap->minX; x <= cap->maxX; ++x) {
      if (!(map.bytes[y * map.width + x] & kMapBlack)) continue;
      const int64_t score = JunctionScore(w, *cap, dirX, dirY, -1, x, y);
      if (score > best) {
        best = score;
        pixelWins = true;
        bestX = x;
        bestY = y;
      }
    }
  const bool ownJunction = IsOwnPoint(w, cap->junction);
  if (!pixelWins) {
    if (ownJunction) PointOf(w, cap->junction).kind = kPointDeleted;
    cap->junction = static_cast<int16_t>(bestEnd);
    return 0;
  }
  if (!ownJunction) {
    const int p = AllocStrokePoint(w.points, bestX, bestY);
    if (p < 0) return -9;
    cap->junction = static_cast<int16_t>(p);
  }
  PointOf(w, cap->junction).x = static_cast<int16_t>(bestX);
  PointOf(w, cap->junction).y = static_cast<int16_t>(bestY);
  return 0;
}

// Moves the cap's junction to (x, y): its own point moves, a run end is
// left in place and a new point stands in for it.
int MoveJunctionTo(ThinningWork& w, RunEndCap* cap, int x, int y) {
  if (!IsOwnPoint(w, cap->junction)) {
    const int p = AllocStrokePoint(w.points, x, y);
    if (p < 0) return -9;
    cap->junction = static_cast<int16_t>(p);
  }
  PointOf(w, cap->junction).x = static_cast<int16_t>(x);
  PointOf(w, cap->junction).y = static_cast<int16_t>(y);
  return 0;
}

int32_t RunLength(const ThinningWork& w, const PairRun& run) {
  int32_t length = run.pairCount * 256;
  for (int side = kRunStart; side <= kRunEnd; ++side) {
    const RunEndCap* cap = side == kRunStart ? run.startCap : run.endCap;
    const int end = side == kRunStart ? run.startPoint : run.endPoint;
    if (cap && cap->runCount >= 2 && cap->junction >= 0 && end >= 0)
      length += DistanceBetween(w, end, cap->junction);
  }
  return length;
}

bool OwnsPoint(const PairRun& run, int point) {
  return point >= 0 && (point == run.startPoint || point == run.endPoint);
}

// Removes a run; its end cap is merged into its start cap. The surviving
// cap's junction is placed again when it stood on the removed run.
int RemoveRunMergingCaps(ThinningWork& w, PairRun* run, RunEndCap** survivor) {
  run->kind = kRecordRemoved;
  RunEndCap* sc = run->startCap;
  RunEndCap* ec = run->endCap;
  if (sc) RemoveRunFromEndCap(sc, run);
  if (ec && ec != sc) RemoveRunFromEndCap(ec, run);
  RunEndCap* keep = sc ? sc : ec;
  if (sc && ec && sc != ec) {
    if (ec->minX < sc->minX) sc->minX = ec->minX;
    if (ec->minY < sc->minY) sc->minY = ec->minY;
    if (ec->maxX > sc->maxX) sc->maxX = ec->maxX;
    if (ec->maxY > sc->maxY) sc->maxY = ec->maxY;
    for (int i = 0; i < ec->runCount; ++i)
      if (AddRunToEndCap(sc, ec->runs[i], ec->sides[i]) < 0) return -9;
    if (sc->junction < 0 || OwnsPoint(*run, sc->junction)) {
      if (IsOwnPoint(w, sc->junction)) PointOf(w, sc->junction).kind = kPointDeleted;
      sc->junction = ec->junction;
    } else if (IsOwnPoint(w, ec->junction)) {
      PointOf(w, ec->junction).kind = kPointDeleted;
    }
    ec->runCount = 0;
    ec->junction = -1;
    ec->kind = kRecordRemoved;
  }
  if (survivor) *survivor = keep;
  if (keep && OwnsPoint(*run, keep->junction)) {
    if (keep->runCount >= 2) return PlaceJunctionPoint(w, keep);
    keep->junction = -1;
  }
  return 0;
}

// Signed angles (degrees) of the steps of the free contour round a run's tip,
// measured from the chord across the tip; lowest and highest.
void MeasureRunEndTurn(const PairRun& run, int side, int limit, int* low, int* high) {
  const ContourPoint* from = LeadingPoint(run, side);
  const ContourPoint* to = TrailingPoint(run, side);
  const int chord = VectorAngle(to->x - from->x, to->y - from->y);
  *low = *high = 0;
  const ContourPoint* p = from;
  for (int n = 0; p && p != to && n < limit; ++n) {
    const ContourPoint* q = p->next;
    if (!q) break;
    int turn = VectorAngle(q->x - p->x, q->y - p->y) - chord;
    if (turn > 180) turn -= 360;
    if (turn < -180) turn += 360;
    if (turn < *low) *low = turn;
    if (turn > *high) *high = turn;
    p = q;
  }
}

bool MultiRunCap(const RunEndCap* cap) { return cap && cap->runCount >= 2; }

int SimplifyPassJunctionBody(ThinningWork& w, PairRun* run) {
  RunEndCap* sc = run->startCap;
  RunEndCap* ec = run->endCap;
  if (!MultiRunCap(sc) || !MultiRunCap(ec)) return 0;
  if (sc == ec && sc->runCount >= 4 && run->pairCount < 11)
    return RemoveRunMergingCaps(w, run, nullptr);
  if (run->width * 13 / 10 < RunLength(w, *run)) return 0;
  RunEndCap* keep = nullptr;
  if (RemoveRunMergingCaps(w, run, &keep) < 0) return -9;
  return keep && keep->runCount >= 2 ? PlaceJunctionPoint(w, keep) : 0;
}

int SimplifyPassSpur(ThinningWork& w, PairRun* run) {
  RunEndCap* sc = run->startCap;
  RunEndCap* ec = run->endCap;
  const bool startJunction = MultiRunCap(sc) && ec->runCount == 1;
  const bool endJunction = MultiRunCap(ec) && sc->runCount == 1;
  if (!startJunction && !endJunction) return 0;
  if (sc->runCount + ec->runCount < 4) return 0;
  const int tipSide = startJunction ? kRunEnd : kRunStart;
  int low, high;
  MeasureRunEndTurn(*run, tipSide, w.contours->points.count, &low, &high);
  if (low < -50 || high > 40) return 0;
  const int contourPoints = run->firstPair->a->owner ? run->firstPair->a->owner->pointCount : 0;
  if (contourPoints < 2) return 0;
  if (run->width * 13 / 10 < RunLength(w, *run) + 512) return 0;
  if (run->pairCount * 256 / (contourPoints - 1) > 100) return 0;
  const StrokePoint& tip = PointOf(w, EndPoint(*run, tipSide));
  const int tipX = tip.x, tipY = tip.y;
  RunEndCap* junctionCap = startJunction ? sc : ec;
  const int16_t junction = junctionCap->junction;
  RunEndCap* keep = nullptr;
  if (RemoveRunMergingCaps(w, run, &keep) < 0) return -9;
  if (!keep) return 0;
  if (keep->junction < 0) keep->junction = junction;
  return keep->junction >= 0 ? MoveJunctionTo(w, keep, tipX, tipY) : 0;
}

int SimplifyPassShort(ThinningWork& w, PairRun* run) {
  if (MultiRunCap(run->startCap) && MultiRunCap(run->endCap)) return 0;
  const bool tiny = (run->pairCount < 4 && run->width < 384) ||
                    (run->pairCount < 3 && run->width < 640);
  return tiny ? RemoveRunMergingCaps(w, run, nullptr) : 0;
}

}  // namespace

int AddRunToEndCap(RunEndCap* cap, PairRun* run, int side) {
  if (cap->runCount >= kMaxCapRuns) {
    PushErrorCode(kErrCapacityFull);
    return -9;
  }
  cap->runs[cap->runCount] = run;
  cap->sides[cap->runCount] = static_cast<uint8_t>(side);
  ++cap->runCount;
  EndCap(*run, side) = cap;
  return 0;
}

int BuildRunEndCaps(ContourSet* contours) {
  const int limit = contours->points.count + contours->runs.count;
  for (int i = 0; i < contours->runs.count; ++i) {
    PairRun* run = &contours->runs.items[i];
    for (int side = kRunStart; side <= kRunEnd; ++side) {
      if (!IsLiveRun(*run) || EndFinished(*run, side) || EndCap(*run, side)) continue;
      RunEndCap* cap = AllocRunEndCap(contours);
      if (!cap) return -9;
      if (AddRunToEndCap(cap, run, side) < 0) return -9;
      const ContourPoint* stop = TrailingPoint(*run, side);
      const ContourPoint* p = LeadingPoint(*run, side);
      ExtendBox(cap, p, true);
      ExtendBox(cap, stop, false);
      // Round the free region: along unpaired contour, across each run end
      // met, until back at this end.
      for (int steps = 0; steps < limit; ++steps) {
        const ContourPoint* q = p->next;
        for (; q && q->run < 0 && steps < limit; q = q->next, ++steps) ExtendBox(cap, q, false);
        if (!q || q == stop || steps >= limit) break;
        ExtendBox(cap, q, false);
        const RunEndRef ref = FindRunEndOfPoint(contours, q);
        if (!ref.run) break;
        // A contour point may stand in several pairs of its run: across a run
        // end the walk goes by the end pair itself.
        const ContourPair* pair =
            ref.side >= 0 ? EndPair(*ref.run, ref.side) : FindPairOfPoint(*ref.run, q);
        if (!pair) break;
        if (ref.side >= 0 && IsLiveRun(*ref.run) && !EndFinished(*ref.run, ref.side) &&
            !EndCap(*ref.run, ref.side) && AddRunToEndCap(cap, ref.run, ref.side) < 0)
          return -9;
        p = pair->a == q ? pair->b : pair->a;
        ExtendBox(cap, p, false);
        if (p == stop) break;
      }
    }
  }
  return 0;
}

int PlaceRunPoints(ThinningWork& w) {
  ContourSet* c = w.contours;
  for (int i = 0; i < c->runs.count; ++i) {
    PairRun& run = c->runs.items[i];
    if (!IsLiveRun(run)) continue;
    int step = run.width >> 8;
    step = step < 7 ? 7 : step > 10 ? 10 : step;
    int previous = -1, k = 0;
    ContourPair* pair = run.firstPair;
    for (; pair && k < run.pairCount; pair = pair->towardEnd, ++k) {
      const bool last = pair == run.lastPair;
      if (k % step != 0 && !last) continue;
      const int x = (pair->a->x + pair->b->x + 1) / 2, y = (pair->a->y + pair->b->y + 1) / 2;
      // Pairs grown round a blunt end can share their midpoint; a point on
      // the spot of the previous one would only be a step of no length.
      if (previous >= 0 && PointOf(w, previous).x == x && PointOf(w, previous).y == y) {
        if (last) break;
        continue;
      }
      const int p = AllocStrokePoint(w.points, x, y);
      if (p < 0) return -9;
      PointOf(w, p).sourcePair = pair;
      if (previous >= 0 && LinkStrokePoints(w.points, previous, p) < 0) return -9;
      if (previous < 0) run.startPoint = static_cast<int16_t>(p);
      previous = p;
      if (last) break;
    }
    run.endPoint = static_cast<int16_t>(previous);
    if (!IsRingRun(run) || run.startPoint == run.endPoint) continue;
    const StrokePoint& first = PointOf(w, run.startPoint);
    const StrokePoint& end = PointOf(w, run.endPoint);
    if (first.x == end.x && first.y == end.y) {
      if (MergeStrokePoints(w.points, run.startPoint, run.endPoint) < 0) return -9;
      run.endPoint = run.startPoint;
    } else if (LinkStrokePoints(w.points, run.endPoint, run.startPoint) < 0) {
      return -9;
    }
  }
  for (int i = 0; i < c->caps.count; ++i) {
    RunEndCap* cap = &c->caps.items[i];
    if (cap->runCount >= 2 && PlaceJunctionPoint(w, cap) < 0) return -9;
  }
  return 0;
}

int SimplifyShortRuns(ThinningWork& w) {
  using Pass = int (*)(ThinningWork&, PairRun*);
  const Pass passes[] = {SimplifyPassJunctionBody, SimplifyPassSpur, SimplifyPassShort};
  ContourSet* c = w.contours;
  for (Pass pass : passes)
    for (int i = 0; i < c->runs.count; ++i) {
      PairRun* run = &c->runs.items[i];
      if (!IsLiveRun(*run) || !run->startCap || !run->endCap) continue;
      if (pass(w, run) < 0) return -9;
    }
  return CheckSkeletonShape(w);
}

int CheckSkeletonShape(const ThinningWork& w) {
  const ContourSet* c = w.contours;
  const PairRun* live[3];
  int count = 0;
  for (int i = 0; i < c->runs.count && count < 3; ++i)
    if (IsLiveRun(c->runs.items[i])) live[count++] = &c->runs.items[i];
  auto capRuns = [](const RunEndCap* cap) { return cap ? cap->runCount : 0; };
  if (count == 1) {
    const PairRun& r = *live[0];
    const bool blob = capRuns(r.startCap) == 1 && capRuns(r.endCap) == 1 &&
                      r.width * 13 / 10 >= r.pairCount * 256;
    return blob ? -1 : 0;
  }
  if (count != 2) return 0;
  for (int k = 0; k < 2; ++k) {
    const PairRun& r = *live[k];
    const int low = std::min(capRuns(r.startCap), capRuns(r.endCap));
    const int high = std::max(capRuns(r.startCap), capRuns(r.endCap));
    if (low != 1 || high != 2) return 0;
  }
  const PairRun& wider = live[0]->width >= live[1]->width ? *live[0] : *live[1];
  const int diff = live[0]->width - live[1]->width;
  const bool refuse = wider.width * 13 / 10 >= RunLength(w, wider) &&
                      (diff >= 1501 || -diff >= 1501);
  return refuse ? -1 : 0;
}

int LinkSkeletonPoints(ThinningWork& w) {
  StrokePointTable* points = w.points;
  ContourSet* c = w.contours;
  for (int i = 0; i < points->points.count; ++i) {
    StrokePoint& p = points->points.items[i];
    if (p.kind != kPointLive || !p.sourcePair) continue;
    const int run = p.sourcePair->a->run;
    if (run < 0 || !IsLiveRun(c->runs.items[run])) DeleteStrokePoint(points, i);
  }
  for (int i = 0; i < c->caps.count; ++i) {
    RunEndCap& cap = c->caps.items[i];
    if (cap.junction < 0 || PointOf(w, cap.junction).kind != kPointLive) continue;
    if (cap.kind != kRecordLive || cap.runCount < 2) {
      if (IsOwnPoint(w, cap.junction)) DeleteStrokePoint(points, cap.junction);
      continue;
    }
    for (int k = 0; k < cap.runCount; ++k) {
      const int end = EndPoint(*cap.runs[k], cap.sides[k]);
      if (end >= 0 && PointOf(w, end).kind == kPointLive &&
          LinkStrokePoints(points, cap.junction, end) < 0)
        return -9;
    }
  }
  for (int i = 0; i < c->runs.count; ++i) {
    PairRun& run = c->runs.items[i];
    if (!IsLiveRun(run) || run.startPoint < 0 || run.startPoint == run.endPoint) continue;
    if (!MultiRunCap(run.startCap) || !MultiRunCap(run.endCap)) continue;
    if (run.pairCount * 256 > run.width) continue;
    if (!FindStrokeNeighbour(points, run.startPoint, run.endPoint)) continue;
    StrokePoint& a = PointOf(w, run.startPoint);
    const StrokePoint& b = PointOf(w, run.endPoint);
    const int x = (a.x + b.x + 1) / 2, y = (a.y + b.y + 1) / 2;
    if (MergeStrokePoints(points, run.startPoint, run.endPoint) < 0) return -9;
    a.x = static_cast<int16_t>(x);
    a.y = static_cast<int16_t>(y);
    run.endPoint = run.startPoint;
  }
  return 0;
}

int RemoveSkeletonSpurs(StrokePointTable* points) {
  constexpr int kMinSpurLength = 460;  // 1/256 pixel
  constexpr int kMinLoopExtent = 50;   // dx^2 + dy^2, pixels
  const int n = points->points.count;
  auto deleteChainBut = [points](int keep) {
    for (int k = 0; k < points->chain.count; ++k) {
      const int p = points->chain.items[k];
      if (p != keep && points->points.items[p].kind == kPointLive)
        DeleteStrokePoint(points, p);
    }
  };
  for (int i = 0; i < n; ++i) {
    const StrokePoint& p = points->points.items[i];
    if (p.kind != kPointLive || p.degree != 1) continue;
    if (TraceStrokeChain(points, i, 0) < 0) return -9;
    const int last = points->chain.items[points->chain.count - 1];
    const int degree = points->points.items[last].degree;
    if ((degree == 1 || degree == 3) && ChainLength(points) < kMinSpurLength)
      deleteChainBut(degree == 3 ? last : -1);
  }
  for (int i = 0; i < n; ++i) {
    for (int side = 0; side < 3; ++side) {
      const StrokePoint& p = points->points.items[i];
      if (p.kind != kPointLive || p.degree != 3) break;
      if (TraceStrokeChain(points, i, side) < 0) return -9;
      if (!points->chainClosed) continue;
      const ChainExtentInfo e = ChainExtent(points);
      if (e.extentX * e.extentX + e.extentY * e.extentY < kMinLoopExtent) deleteChainBut(i);
    }
  }
  return 0;
}

int ThinStrokes(NeighbourMap* map, ContourSet* contours, StrokePointTable* points,
                ContourPoint** pixelPoints) {
  contours->pairs.count = contours->runs.count = contours->caps.count = 0;
  for (int i = 0; i < contours->points.count; ++i) {
    contours->points.items[i].run = -1;
    contours->points.items[i].partner = nullptr;
  }
  ThinningWork work{map, contours, points, pixelPoints};
  ComputeContourNormals(contours);
  SmoothContourNormals(contours);
  if (PairOppositeContourPoints(work) < 0) return -9;
  if (ExtendRunEnds(contours) < 0) return -9;
  MeasurePairRuns(contours);
  if (BuildRunEndCaps(contours) < 0) return -9;
  if (PlaceRunPoints(work) < 0) return -9;
  const int shape = SimplifyShortRuns(work);
  if (shape != 0) return shape;
  if (LinkSkeletonPoints(work) < 0) return -9;
  return RemoveSkeletonSpurs(points);
}
