// Measures of one stroke at a time: its points laid out as one chain in the
// point table's scratch chain, then its bulge from the chord, its extreme
// points in eight directions, its enclosed area and its zigzags and hooks.
// The shape checks compare every result against fixed thresholds, so units,
// roundings and tie-breaks are part of the contract. Products are formed in
// 64 bits.
#include <algorithm>
#include <cstdint>

#include "ocrlib/core/core_internal.h"

namespace {

const StrokePoint& PointAt(const StrokePointTable& points, int index) {
  return points.points.items[index];
}

bool IsPointIndex(const StrokePointTable& points, int index) {
  return index >= 0 && index < points.points.count;
}

int32_t ToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// (v + s / 2) / s: pixels x 256 into frame units.
int32_t ToFrameUnits(int32_t v, int32_t size) {
  return ToInt32((int64_t{v} + size / 2) / size);
}

// Appends to the scratch chain while it has room.
class ChainWriter {
 public:
  explicit ChainWriter(StrokePointTable* points) : chain_(points->chain) {}
  bool Add(uint16_t point) {
    if (length_ >= chain_.capacity) return false;
    chain_.items[length_++] = point;
    return true;
  }
  int16_t length() const { return length_; }

 private:
  RecordArray<uint16_t>& chain_;
  int16_t length_ = 0;
};

// The chain's start: the segment's first end, unless it has none or is a
// ring (code 00); then the end of the first piece that the second piece does
// not touch.
int ChainStart(const StrokeSegment& segment) {
  const bool fixedStart = segment.end1 != -1 && (segment.kind != 0 || segment.subKind != 0);
  if (fixedStart) return segment.end1;
  const StrokePiece* first = segment.pieces[0];
  if (first->pointCount < 1) return -1;
  const uint16_t head = first->words[0];
  if (segment.pieceCount >= 2) {
    const StrokePiece* second = segment.pieces[1];
    if (second->pointCount >= 1 &&
        (second->words[0] == head || second->words[second->pointCount - 1] == head)) {
      return first->words[first->pointCount - 1];
    }
  }
  return head;
}

// Steps of a chain in skewed coordinates a = 2x - y, b = x + 2y; `examine`
// sees each step from the third point on with the last non-zero steps
// before it and returns true to stop.
template <class Examine>
void WalkSkewedSteps(const StrokePointTable& points, Examine examine) {
  const RecordArray<uint16_t>& chain = points.chain;
  if (chain.count < 3) return;
  auto skewed = [&](int i, int64_t* a, int64_t* b) {
    const StrokePoint& p = PointAt(points, chain.items[i]);
    *a = 2 * int64_t{p.x} - p.y;
    *b = int64_t{p.x} + 2 * int64_t{p.y};
  };
  int64_t a0, b0, a1, b1;
  skewed(0, &a0, &b0);
  skewed(1, &a1, &b1);
  int64_t lastA = a1 - a0, lastB = b1 - b0;
  for (int i = 2; i < chain.count; ++i) {
    const int64_t pa = a1, pb = b1;
    skewed(i, &a1, &b1);
    const int64_t da = a1 - pa, db = b1 - pb;
    if (examine(lastA, da, lastB, db)) return;
    if (da != 0) lastA = da;
    if (db != 0) lastB = db;
  }
}

}  // namespace

// A chain that does not fit stops the walk: the scratch chain then holds the
// part that fitted, never entries of an earlier stroke behind it.
void BuildChainPointList(const StrokeSegment* segment, StrokePointTable* points,
                         int32_t* overflow) {
  *overflow = 0;
  ChainWriter writer(points);
  auto finish = [&](bool fitted) {
    *overflow = fitted ? 0 : 1;
    points->chain.count = writer.length();
  };
  if (segment->pieceCount < 1 || segment->pieces == nullptr) return finish(true);
  const int start = ChainStart(*segment);
  if (start < 0) return finish(true);
  if (!writer.Add(static_cast<uint16_t>(start))) return finish(false);
  int end = start;
  for (int s = 0; s < segment->pieceCount; ++s) {
    const StrokePiece* piece = segment->pieces[s];
    const int n = piece->pointCount;
    if (n < 1) continue;
    if (piece->words[0] == end) {
      for (int i = 1; i < n; ++i) {
        if (!writer.Add(piece->words[i])) return finish(false);
      }
      end = piece->words[n - 1];
    } else {
      for (int i = n - 2; i >= 0; --i) {
        if (!writer.Add(piece->words[i])) return finish(false);
      }
      end = piece->words[0];
    }
  }
  finish(true);
}

int MeasureChainNormalized(StrokePointTable* points, const CharFrame* frame,
                           const StrokeSegment* segment, int mode, int32_t* deviation,
                           int32_t* offsetX, int32_t* offsetY) {
  int32_t overflow = 0;
  BuildChainPointList(segment, points, &overflow);
  int32_t fx = 0, fy = 0;
  const int32_t d = MeasureChordDeviation(points, points->chain.items, points->chain.count, &fx,
                                          &fy, 0);
  *deviation = ToFrameUnits(d, frame->size);
  *offsetX = ToFrameUnits(fx, frame->size);
  *offsetY = ToFrameUnits(fy, frame->size);
  if (mode == 1 || mode == 3) *deviation += 128;
  if (mode == 2 || mode == 3) {
    *offsetX += 128;
    *offsetY += 128;
  }
  return mode;
}

int ExtremePointInDirection(const StrokePointTable* points, int direction, int weight,
                            int32_t* point) {
  int best = -1;
  DirectionKey bestKey = {};
  const RecordArray<uint16_t>& chain = points->chain;
  for (int i = 0; IsDirection(direction) && i < chain.count; ++i) {
    const StrokePoint& p = PointAt(*points, chain.items[i]);
    const DirectionKey key = KeyInDirection(direction, p.x, p.y, weight);
    if (best < 0 || key.Beats(bestKey)) {
      best = chain.items[i];
      bestKey = key;
    }
  }
  *point = best;
  return best;
}

// On the right side a point whose linked point stands straight above or
// below it (the same x, a smaller y) gives way to that point.
int ExtremePointForCheck(const StrokePointTable* points, int direction, int32_t* point) {
  const int chosen = ExtremePointInDirection(points, direction, 0, point);
  if (direction != kDirPosX || chosen < 0) return chosen;
  const StrokePoint& p = PointAt(*points, chosen);
  if (p.degree <= 1) return chosen;
  int result = chosen;
  for (int k = 0; k < 2; ++k) {
    const int linked = p.neighbours[k];
    if (!IsPointIndex(*points, linked)) continue;
    const StrokePoint& q = PointAt(*points, linked);
    if (q.x == p.x && q.y < p.y) result = linked;
  }
  *point = result;
  return result;
}

void MeasureExtremeDistances(StrokePointTable* points, const CharFrame* frame,
                             const StrokeSegment* segment, int32_t* xA, int32_t* yA,
                             int32_t* xB, int32_t* yB, int32_t* length, int32_t* angle,
                             int32_t* pair) {
  int32_t overflow = 0;
  BuildChainPointList(segment, points, &overflow);
  int32_t x[8] = {}, y[8] = {};
  for (int d = 0; d < 8; ++d) {
    int32_t p = -1;
    if (ExtremePointForCheck(points, d, &p) < 0) continue;
    NormalizePointToBox(frame, PointAt(*points, p).x, PointAt(*points, p).y, &x[d], &y[d]);
  }
  int best = 0;
  int32_t bestLength = -1;
  for (int k = 0; k < 4; ++k) {
    const int32_t l = ApproxDistance(x[k] - x[k + 4], y[k] - y[k + 4]) / 256;
    if (l > bestLength) {
      best = k;
      bestLength = l;
    }
  }
  const int64_t dx = x[best] - x[best + 4], dy = y[best] - y[best + 4];
  int32_t degrees = 90;
  if (dx != 0) degrees = ArctanPercent(ToInt32(dy * 100 / dx));
  if (degrees < 0) degrees += 180;
  *xA = x[best];
  *yA = y[best];
  *xB = x[best + 4];
  *yB = y[best + 4];
  *length = bestLength;
  *angle = degrees;
  *pair = best;
}

void PolygonArea(const StrokePointTable* points, int32_t* area) {
  const RecordArray<uint16_t>& chain = points->chain;
  int64_t sum = 0;
  if (chain.count > 0) {
    const StrokePoint& p0 = PointAt(*points, chain.items[0]);
    int64_t lastX = 0, lastY = 0;
    for (int i = 1; i < chain.count; ++i) {
      const StrokePoint& p = PointAt(*points, chain.items[i]);
      const int64_t dx = p.x - p0.x, dy = p.y - p0.y;
      sum += lastX * dy - dx * lastY;
      lastX = dx;
      lastY = dy;
    }
  }
  *area = ToInt32((sum + 1) / 2);
}

void SkewPointChain(StrokePointTable* points, int mode) {
  for (int i = 0; i < points->points.count; ++i) {
    StrokePoint& p = points->points.items[i];
    const int32_t xs = p.savedX, ys = p.savedY;
    const int32_t x = mode == 1 ? 2 * xs + ys : 2 * xs - ys;
    const int32_t y = mode == 1 ? 2 * ys - xs : xs + 2 * ys;
    p.x = p.savedX = static_cast<int16_t>(x);
    p.y = p.savedY = static_cast<int16_t>(y);
  }
}

// b falls throughout while a turns from rising to falling, back to rising,
// and to falling again.
void DetectChainZigzag(StrokePointTable* points, const StrokeSegment* segment, int32_t* yes) {
  int32_t overflow = 0;
  BuildChainPointList(segment, points, &overflow);
  *yes = 0;
  bool turnedDown = false, turnedUp = false;
  WalkSkewedSteps(*points, [&](int64_t lastA, int64_t da, int64_t lastB, int64_t db) {
    const bool falling = lastB < 0 && db < 0;
    const bool aTurnsDown = lastA >= 1 && da < 0;
    if (!turnedDown) {
      turnedDown = aTurnsDown && falling;
    } else if (lastA < 0 && da >= 1 && falling) {
      turnedUp = true;
    } else if (turnedUp && aTurnsDown && falling) {
      *yes = 1;
      return true;
    }
    return false;
  });
}

// b keeps rising while a turns from rising to falling once.
void DetectChainHook(StrokePointTable* points, const StrokeSegment* segment, int32_t* yes) {
  int32_t overflow = 0;
  BuildChainPointList(segment, points, &overflow);
  *yes = 0;
  WalkSkewedSteps(*points, [&](int64_t lastA, int64_t da, int64_t lastB, int64_t db) {
    if (lastA >= 1 && da < 0 && lastB >= 1 && db > 0) *yes = 1;
    return *yes == 1;
  });
}
