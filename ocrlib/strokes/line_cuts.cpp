// The pieces of a line's thinned strokes: chains between branch points (ends
// and junctions), long chains cut at their sharp corners and in the middle of
// their longest sideways swing, and loops, sorted by their horizontal
// middle.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

int Fail14() {
  PushErrorCode(kErrCapacityFull);
  return -9;
}

bool IsLive(const StrokePoint& p) { return p.kind == kPointLive; }

LineMeasures MeasureLine(const StrokePointTable& points) {
  int32_t minY = INT32_MAX, maxY = INT32_MIN;
  for (int i = 0; i < points.points.count; ++i) {
    const StrokePoint& p = points.points.items[i];
    if (!IsLive(p)) continue;
    minY = std::min<int32_t>(minY, p.y);
    maxY = std::max<int32_t>(maxY, p.y);
  }
  LineMeasures m = {};
  m.height = maxY >= minY ? maxY - minY : 0;
  m.overlapTolerance = (51 * m.height + 128) / 256;
  m.minHeight = (77 * m.height + 128) / 256;
  m.maxWidth = (512 * m.height + 128) / 256;
  m.longChain = int64_t{154} * m.height;
  m.maxGap = m.height / 5;
  return m;
}

// The chain positions of the longest run of steps in which x moves one way
// (steps that keep x belong to the run), and the run's x extent.
struct Swing {
  int first = 0, last = 0;
  int32_t x0 = 0, x1 = 0;
};
Swing FindChainSwing(const StrokePointTable& t, const uint16_t* chain, int n) {
  Swing best;
  int start = 0, direction = 0;
  for (int i = 1; i < n; ++i) {
    const int dx = t.points.items[chain[i]].x - t.points.items[chain[i - 1]].x;
    const int sign = (dx > 0) - (dx < 0);
    if (sign != 0 && direction != 0 && sign != direction) {
      start = i - 1;
      direction = sign;
    } else if (direction == 0) {
      direction = sign;
    }
    if (i - start > best.last - best.first) {
      best.first = start;
      best.last = i;
    }
  }
  best.x0 = t.points.items[chain[best.first]].x;
  best.x1 = t.points.items[chain[best.last]].x;
  return best;
}

class PieceCutter {
 public:
  PieceCutter(StrokePointTable* points, LinePieceSet* set) : t_(*points), set_(*set) {}

  // Adds positions from..to of the chain as one piece.
  int AddPiece(const uint16_t* chain, int from, int to) {
    if (set_.count >= kMaxLinePieces) return Fail14();
    LinePiece& piece = set_.pieces[set_.count++];
    piece.count = 0;
    piece.length = 0;
    piece.minX = piece.minY = INT32_MAX;
    piece.maxX = piece.maxY = INT32_MIN;
    for (int i = from; i <= to; ++i) {
      if (piece.count >= kMaxLinePiecePoints) return Fail14();
      StrokePoint& p = t_.points.items[chain[i]];
      p.used = 1;
      piece.points[piece.count++] = chain[i];
      piece.minX = std::min<int32_t>(piece.minX, p.x);
      piece.maxX = std::max<int32_t>(piece.maxX, p.x);
      piece.minY = std::min<int32_t>(piece.minY, p.y);
      piece.maxY = std::max<int32_t>(piece.maxY, p.y);
      if (i > from) {
        const StrokePoint& q = t_.points.items[chain[i - 1]];
        const int32_t dx = 256 * (p.x - q.x), dy = 256 * (p.y - q.y);
        piece.length += IntSqrt(static_cast<int32_t>(
            std::min<int64_t>(int64_t{dx} * dx + int64_t{dy} * dy, INT32_MAX)));
      }
    }
    return 0;
  }

  // An open chain, cut when its sideways swing is long: at sharp corners and
  // in the middle of the swing.
  int AddOpenChain(const uint16_t* chain, int n) {
    const Swing swing = FindChainSwing(t_, chain, n);
    const int32_t w = std::abs(swing.x1 - swing.x0);
    int from = 0;
    if (int64_t{w} * 256 > set_.measures.longChain) {
      const int32_t low = std::min(swing.x0, swing.x1);
      for (int i = 1; i + 1 < n; ++i) {
        const StrokePoint& a = t_.points.items[chain[i - 1]];
        const StrokePoint& p = t_.points.items[chain[i]];
        const StrokePoint& b = t_.points.items[chain[i + 1]];
        const int64_t dot = int64_t{a.x - p.x} * (b.x - p.x) + int64_t{a.y - p.y} * (b.y - p.y);
        const bool corner = dot >= 0;
        const bool middle = i > swing.first && i < swing.last && p.x * 256 >= low * 256 + 77 * w &&
                            p.x * 256 <= low * 256 + 179 * w;
        if (!corner && !middle) continue;
        if (AddPiece(chain, from, i) != 0) return -9;
        from = i;
      }
    }
    return AddPiece(chain, from, n - 1);
  }

 private:
  StrokePointTable& t_;
  LinePieceSet& set_;
};

bool IsBranchPoint(const StrokePoint& p) { return IsLive(p) && (p.degree == 1 || p.degree >= 3); }

// The chains from every branch point along each of its branches, each once.
int CutBranchChains(StrokePointTable* points, PieceCutter& cutter) {
  int branches = 0;
  uint16_t copy[kMaxChainWords];
  for (int b = 0; b < points->points.count; ++b) {
    const StrokePoint& start = points->points.items[b];
    if (!IsBranchPoint(start)) continue;
    if (++branches > kMaxBranchPoints) return Fail14();
    int loopsTaken = 0;
    uint16_t loopEnds[kMaxPointNeighbours];
    for (int k = 0; k < start.degree && k < kMaxPointNeighbours; ++k) {
      if (TraceStrokeChain(points, b, k) != 0) return -9;
      const int n = points->chain.count;
      if (n < 2) continue;
      std::memcpy(copy, points->chain.items, sizeof(uint16_t) * n);
      const int end = copy[n - 1];
      if (end < b) continue;  // taken from the branch point at its other end
      if (end != b) {
        if (cutter.AddOpenChain(copy, n) != 0) return -9;
        continue;
      }
      // A loop back to its start is met from both of its branches.
      bool seen = false;
      for (int l = 0; l < loopsTaken; ++l) seen = seen || loopEnds[l] == copy[1];
      if (seen) continue;
      loopEnds[loopsTaken++] = copy[n - 2];
      if (cutter.AddPiece(copy, 0, n - 1) != 0) return -9;
    }
  }
  return 0;
}

// Rings without a branch point: each one piece.
int CutRings(StrokePointTable* points, PieceCutter& cutter) {
  uint16_t copy[kMaxChainWords];
  for (int i = 0; i < points->points.count; ++i) {
    const StrokePoint& p = points->points.items[i];
    if (!IsLive(p) || p.degree != 2 || p.used) continue;
    if (TraceStrokeChain(points, i, 0) != 0) return -9;
    const int n = points->chain.count;
    std::memcpy(copy, points->chain.items, sizeof(uint16_t) * n);
    if (cutter.AddPiece(copy, 0, n - 1) != 0) return -9;
  }
  return 0;
}

}  // namespace

int CutLinePieces(StrokePointTable* points, LinePieceSet* set) {
  set->measures = MeasureLine(*points);
  set->count = 0;
  for (int i = 0; i < points->points.count; ++i) points->points.items[i].used = 0;
  PieceCutter cutter(points, set);
  if (CutBranchChains(points, cutter) != 0 || CutRings(points, cutter) != 0) return -9;
  // Left to right by the middle of each piece.
  int32_t keys[kMaxLinePieces];
  uint32_t order[kMaxLinePieces];
  for (int i = 0; i < set->count; ++i) keys[i] = set->pieces[i].minX + set->pieces[i].maxX;
  ShellSortIndices(keys, set->count, order);
  std::vector<LinePiece> sorted(set->pieces, set->pieces + set->count);
  for (int i = 0; i < set->count; ++i) sorted[i] = set->pieces[order[i]];
  int64_t running = 0;
  for (int i = 0; i < set->count; ++i) {
    set->pieces[i] = sorted[i];
    running += set->pieces[i].length;
    set->pieces[i].runningLength = running;
  }
  return 0;
}
