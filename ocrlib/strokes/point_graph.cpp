// The point graph of a character's strokes: points with up to 8 neighbours,
// the primitives that link, merge and delete them, chain tracing through
// points of degree 2, and the two retries that join free stroke ends. Up to
// 800 points and a 1600-word scratch chain.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

bool ValidPoint(const StrokePointTable& t, int a) { return a >= 0 && a < t.points.count; }

StrokePoint& PointAt(StrokePointTable* t, int a) { return t->points.items[a]; }

int Distance(const StrokePoint& a, const StrokePoint& b) {
  return ApproxDistance(b.x - a.x, b.y - a.y);
}

bool IsLive(const StrokePoint& p) { return p.kind == kPointLive; }

// The bearing (VectorAngle of (dy, dx)) in which the stroke leaves its end
// point: from the point a few steps back along the stroke to the end.
int EndBearing(const StrokePointTable* points, int end) {
  constexpr int kReach = 4;  // one step of a thinned stroke is one pixel
  int previous = end, current = points->points.items[end].neighbours[0];
  for (int step = 1; step < kReach; ++step) {
    const StrokePoint& p = points->points.items[current];
    if (p.degree != 2) break;
    const int next = p.neighbours[0] == previous ? p.neighbours[1] : p.neighbours[0];
    previous = current;
    current = next;
  }
  const StrokePoint& e = points->points.items[end];
  const StrokePoint& back = points->points.items[current];
  return VectorAngle(e.y - back.y, e.x - back.x);
}

// How far two bearings turn apart, 0..180 degrees.
int Turn(int a, int b) {
  const int d = std::abs(a - b) % 360;
  return d > 180 ? 360 - d : d;
}

}  // namespace

void ResetStrokeNodeCounts(StrokePointTable* points) {
  points->points.count = 0;
  points->extractedCount = 0;
  points->refSize = 0;
  points->chain.count = 0;
  points->chainClosed = 0;
}

void RestoreStrokeRecords(StrokePointTable* points) {
  points->points.count = points->extractedCount;
  for (int i = 0; i < points->points.count; ++i) {
    StrokePoint& p = PointAt(points, i);
    if (p.kind == kPointDeleted) continue;
    p.kind = kPointLive;
    p.used = 0;
    p.edge = -1;
    p.degree = p.savedDegree;
    for (int k = 0; k < kMaxPointNeighbours; ++k) p.neighbours[k] = p.savedNeighbours[k];
  }
}

int AllocStrokePoint(StrokePointTable* points, int x, int y) {
  RecordArray<StrokePoint>& a = points->points;
  if (a.count >= a.capacity) {
    PushErrorCode(kErrCapacityFull);
    return -9;
  }
  StrokePoint& p = a.items[a.count];
  p = StrokePoint{};
  p.x = static_cast<int16_t>(x);
  p.y = static_cast<int16_t>(y);
  return a.count++;
}

int FindStrokeNeighbour(const StrokePointTable* points, int a, int b) {
  const StrokePoint& p = points->points.items[a];
  for (int k = 0; k < p.degree; ++k)
    if (p.neighbours[k] == b) return 1;
  return 0;
}

int AddStrokeNeighbour(StrokePointTable* points, int a, int b) {
  if (FindStrokeNeighbour(points, a, b)) return 0;
  StrokePoint& p = PointAt(points, a);
  if (p.degree < 0) p.degree = 0;
  if (p.degree >= kMaxPointNeighbours) {
    PushErrorCode(kErrCapacityFull);
    return -9;
  }
  p.neighbours[p.degree++] = static_cast<uint16_t>(b);
  return 0;
}

int LinkStrokePoints(StrokePointTable* points, int a, int b) {
  if (a == b) return 0;  // a point is never its own neighbour
  if (AddStrokeNeighbour(points, a, b) < 0) return -9;
  return AddStrokeNeighbour(points, b, a);
}

void RemoveStrokeNeighbour(StrokePointTable* points, int a, int b) {
  StrokePoint& p = PointAt(points, a);
  for (int k = 0; k < p.degree; ++k) {
    if (p.neighbours[k] != b) continue;
    for (int j = k + 1; j < p.degree; ++j) p.neighbours[j - 1] = p.neighbours[j];
    --p.degree;
    return;
  }
}

void ReplaceStrokeNeighbour(StrokePointTable* points, int a, int oldPoint, int newPoint) {
  StrokePoint& p = PointAt(points, a);
  for (int k = 0; k < p.degree; ++k)
    if (p.neighbours[k] == oldPoint) {
      p.neighbours[k] = static_cast<uint16_t>(newPoint);
      return;
    }
}

void DeleteStrokePoint(StrokePointTable* points, int a) {
  StrokePoint& p = PointAt(points, a);
  for (int k = 0; k < p.degree; ++k)
    if (ValidPoint(*points, p.neighbours[k]))
      RemoveStrokeNeighbour(points, p.neighbours[k], a);
  p.kind = kPointDeleted;
  p.degree = -1;
}

int MergeStrokePoints(StrokePointTable* points, int a, int b) {
  if (a == b) return 0;
  RemoveStrokeNeighbour(points, b, a);
  RemoveStrokeNeighbour(points, a, b);
  const StrokePoint& pb = PointAt(points, b);
  for (int k = 0; k < pb.degree; ++k)
    if (LinkStrokePoints(points, a, pb.neighbours[k]) < 0) return -9;
  DeleteStrokePoint(points, b);
  return 0;
}

int TraceStrokeChain(StrokePointTable* points, int start, int side) {
  RecordArray<uint16_t>& chain = points->chain;
  chain.count = 0;
  points->chainClosed = 0;
  auto push = [&chain](int p) {
    if (chain.count >= chain.capacity) {
      PushErrorCode(kErrCapacityFull);
      return false;
    }
    chain.items[chain.count++] = static_cast<uint16_t>(p);
    return true;
  };
  if (!push(start)) return -9;
  const StrokePoint& s = PointAt(points, start);
  if (s.degree < 1) return 0;
  int previous = start;
  int current = s.neighbours[s.degree == 1 || side >= s.degree ? 0 : side];
  for (;;) {
    if (!push(current)) return -9;
    if (current == start) {
      points->chainClosed = 1;
      return 0;
    }
    const StrokePoint& p = PointAt(points, current);
    if (p.degree != 2) return 0;
    const int next = p.neighbours[0] == previous ? p.neighbours[1] : p.neighbours[0];
    previous = current;
    current = next;
  }
}

int32_t ChainLength(const StrokePointTable* points) {
  const RecordArray<uint16_t>& chain = points->chain;
  int64_t length = 0;
  for (int i = 1; i < chain.count; ++i)
    length += Distance(points->points.items[chain.items[i - 1]],
                       points->points.items[chain.items[i]]);
  return static_cast<int32_t>(length > INT32_MAX ? INT32_MAX : length);
}

ChainExtentInfo ChainExtent(const StrokePointTable* points) {
  int minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
  for (int i = 0; i < points->chain.count; ++i) {
    const StrokePoint& p = points->points.items[points->chain.items[i]];
    if (!IsLive(p)) continue;
    if (p.x < minX) minX = p.x;
    if (p.x > maxX) maxX = p.x;
    if (p.y < minY) minY = p.y;
    if (p.y > maxY) maxY = p.y;
  }
  if (minX > maxX) return {0, 0, 0, 0};
  return {(maxX + minX + 1) / 2, (maxY + minY + 1) / 2, maxX - minX, maxY - minY};
}

void SortNeighboursByBearing(StrokePointTable* points, int a) {
  StrokePoint& p = PointAt(points, a);
  const int n = p.degree;
  if (n < 2) return;
  int32_t keys[kMaxPointNeighbours];
  uint32_t order[kMaxPointNeighbours];
  uint16_t sorted[kMaxPointNeighbours];
  for (int k = 0; k < n; ++k) {
    const StrokePoint& q = points->points.items[p.neighbours[k]];
    keys[k] = VectorAngle(q.y - p.y, q.x - p.x);
  }
  ShellSortIndices(keys, n, order);
  for (int k = 0; k < n; ++k) sorted[k] = p.neighbours[order[k]];
  for (int k = 0; k < n; ++k) p.neighbours[k] = sorted[k];
}

int JoinNearestStrokeEnds(StrokePointTable* points, int32_t* done) {
  RestoreStrokeRecords(points);
  *done = 0;
  int best = INT32_MAX, bestA = -1, bestB = -1;
  const int n = points->extractedCount;
  auto isEnd = [points](int i) {
    const StrokePoint& p = points->points.items[i];
    return IsLive(p) && p.degree == 1;
  };
  for (int i = 0; i < n; ++i) {
    if (!isEnd(i)) continue;
    for (int j = i + 1; j < n; ++j) {
      // The two ends of one short stroke are linked already.
      if (!isEnd(j) || FindStrokeNeighbour(points, i, j)) continue;
      const int d = Distance(points->points.items[i], points->points.items[j]);
      if (d < best) {
        best = d;
        bestA = i;
        bestB = j;
      }
    }
  }
  if (bestA < 0 || int64_t{5} * best >= int64_t{points->refSize} * 256) return 0;
  if (LinkStrokePoints(points, bestA, bestB) < 0) return -9;
  *done = 1;
  return 0;
}

int JoinAlignedStrokeEnds(StrokePointTable* points, int32_t* done) {
  RestoreStrokeRecords(points);
  *done = 0;
  constexpr int kMostTurn = 45;  // degrees between an end's way out and the gap
  const int n = std::min<int>(points->extractedCount, kMaxStrokePoints);
  auto isEnd = [points](int i) {
    const StrokePoint& p = points->points.items[i];
    return IsLive(p) && p.degree == 1;
  };
  int bearings[kMaxStrokePoints];
  for (int i = 0; i < n; ++i) bearings[i] = isEnd(i) ? EndBearing(points, i) : 0;
  int64_t best = INT64_MAX;
  int bestA = -1, bestB = -1, bestDistance = 0;
  for (int i = 0; i < n; ++i) {
    if (!isEnd(i)) continue;
    const StrokePoint& a = points->points.items[i];
    for (int j = i + 1; j < n; ++j) {
      if (!isEnd(j) || FindStrokeNeighbour(points, i, j)) continue;
      const StrokePoint& b = points->points.items[j];
      const int gap = VectorAngle(b.y - a.y, b.x - a.x);
      const int turnA = Turn(bearings[i], gap), turnB = Turn(bearings[j], gap + 180);
      if (turnA > kMostTurn || turnB > kMostTurn) continue;
      // A gap that bends the strokes less is worth more of its length.
      const int d = Distance(a, b);
      const int64_t cost = int64_t{d} * (2 * kMostTurn + turnA + turnB);
      if (cost < best) {
        best = cost;
        bestA = i;
        bestB = j;
        bestDistance = d;
      }
    }
  }
  if (bestA < 0 || int64_t{3} * bestDistance >= int64_t{points->refSize} * 256) return 0;
  if (LinkStrokePoints(points, bestA, bestB) < 0) return -9;
  *done = 1;
  return 0;
}
