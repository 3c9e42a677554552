// Measures of the traced contour rings of a character: the point farthest in
// a direction, the largest bulge of a stretch of ring from its chord, the
// centres of the holes, and the test for a character of one piece with one
// hole. Contour points hold image rows; every measure that reports positions
// or picks extremes negates y, so that its results agree with the stroke
// points. Products are formed in 64 bits.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "ocrlib/core/core_internal.h"

namespace {

constexpr int kMaxMeasuredContours = 400;

int64_t Up(const ContourPoint& p) { return -int64_t{p.y}; }

// The deviation kept over the ring from a's successor up to b (exclusive),
// with points mapped by `place`; the kept point's mapped position goes to
// *x, *y (a's own when none is kept).
template <class Place>
int64_t ChordDeviation(const ContourPoint* a, const ContourPoint* b, Place place, int64_t* x,
                       int64_t* y) {
  *x = *y = 0;
  if (a == nullptr || b == nullptr) return 0;
  int64_t ax, ay, bx, by;
  place(*a, &ax, &ay);
  place(*b, &bx, &by);
  *x = ax;
  *y = ay;
  const int64_t length = ApproxDistance(static_cast<int32_t>(by - ay), static_cast<int32_t>(ax - bx));
  if (length < 1 || a->next == b) return 0;
  int64_t best = 0;
  for (const ContourPoint* p = a->next; p != nullptr && p != b && p != a; p = p->next) {
    int64_t px, py;
    place(*p, &px, &py);
    const int64_t cross = (px - ax) * (by - ay) - (py - ay) * (bx - ax);
    const int64_t deviation = (cross * 65536 + length / 2) / length;
    if (std::llabs(deviation) > std::llabs(best)) {
      best = deviation;
      *x = px;
      *y = py;
    }
  }
  return best;
}

int32_t Clamp(int64_t v, int64_t limit) { return static_cast<int32_t>(std::clamp(v, -limit, limit)); }

bool IsContourOf(const ContourSet& contours, const Contour* contour) {
  return contour >= contours.contours.items &&
         contour < contours.contours.items + contours.contours.count;
}

// Marks the contours stroke points were traced from; references are read as
// the kind they are, a single contour point or a pair of them.
void ExcludeTracedContours(const ContourSet& contours, const StrokePointTable& points,
                           bool* excluded) {
  auto exclude = [&](const ContourPoint* p) {
    if (p != nullptr && IsContourOf(contours, p->owner)) {
      excluded[p->owner - contours.contours.items] = true;
    }
  };
  for (int i = 0; i < points.points.count; ++i) {
    const StrokePoint& p = points.points.items[i];
    if (p.kind != kPointLive || p.degree < 1) continue;
    exclude(p.sourcePoint);
    if (p.sourcePair != nullptr) {
      exclude(p.sourcePair->a);
      exclude(p.sourcePair->b);
    }
  }
}

// Bounding range of a ring (y up); a broken ring is walked no further than
// the contour set's points.
struct RingRange {
  int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
};
RingRange RangeOfRing(const ContourPoint* first, int limit) {
  RingRange r;
  const ContourPoint* p = first;
  for (int n = 0; p != nullptr && n < limit; ++n) {
    r.minX = std::min<int64_t>(r.minX, p->x);
    r.maxX = std::max<int64_t>(r.maxX, p->x);
    r.minY = std::min(r.minY, Up(*p));
    r.maxY = std::max(r.maxY, Up(*p));
    p = p->next;
    if (p == first) break;
  }
  return r;
}

// Mean width (width x count over count) of the measured runs between two
// inner contours, and of the others; false when a group is empty.
bool MeanRunWidths(const ContourSet& contours, int64_t* inner, int64_t* outer) {
  int64_t sum[2] = {0, 0}, count[2] = {0, 0};
  for (int i = 0; i < contours.runs.count; ++i) {
    const PairRun& run = contours.runs.items[i];
    if (run.kind != kRecordLive || run.firstPair == nullptr) continue;
    auto onInner = [](const ContourPoint* p) {
      return p != nullptr && p->owner != nullptr && p->owner->kind != kContourOuter;
    };
    const int group = onInner(run.firstPair->a) && onInner(run.firstPair->b) ? 0 : 1;
    sum[group] += int64_t{run.width} * run.pairCount;
    count[group] += run.pairCount;
  }
  if (count[0] < 1 || count[1] < 1) return false;
  *inner = sum[0] / count[0];
  *outer = sum[1] / count[1];
  return true;
}

}  // namespace

const ContourPoint* FindContourExtremeInRange(const ContourPoint* start,
                                              const ContourPoint* end, int direction,
                                              int weight) {
  if (start == nullptr || !IsDirection(direction)) return nullptr;
  const ContourPoint* best = nullptr;
  DirectionKey bestKey = {};
  for (const ContourPoint* p = start; p != nullptr;) {
    const DirectionKey key = KeyInDirection(direction, p->x, Up(*p), weight);
    if (best == nullptr || key.Beats(bestKey)) {
      best = p;
      bestKey = key;
    }
    if (p == end) break;
    p = p->next;
    if (p == start) break;
  }
  return best;
}

const ContourPoint* FindContourExtreme(const ContourPoint* start, int direction) {
  return FindContourExtremeWeighted(start, direction, 0);
}

const ContourPoint* FindContourExtremeWeighted(const ContourPoint* start, int direction,
                                               int weight) {
  if (start == nullptr) return nullptr;
  return FindContourExtremeInRange(start, start->prev, direction, weight);
}

int32_t MaxContourChordDeviation(const ContourPoint* a, const ContourPoint* b) {
  int64_t x, y;
  auto stored = [](const ContourPoint& p, int64_t* px, int64_t* py) {
    *px = p.x;
    *py = p.y;
  };
  return Clamp(ChordDeviation(a, b, stored, &x, &y), INT32_MAX);
}

int32_t NormalizedChordDeviationAt(const ContourPoint* a, const ContourPoint* b, int32_t* x,
                                   int32_t* y, const CharFrame* frame) {
  auto inFrame = [frame](const ContourPoint& p, int64_t* px, int64_t* py) {
    int32_t fx, fy;
    NormalizePointToBox(frame, p.x, -p.y, &fx, &fy);
    *px = fx;
    *py = fy;
  };
  int64_t kx, ky;
  const int64_t deviation = ChordDeviation(a, b, inFrame, &kx, &ky);
  *x = static_cast<int32_t>(kx);
  *y = static_cast<int32_t>(ky);
  return Clamp(deviation, 32767);
}

int32_t NormalizedChordDeviation(const ContourPoint* a, const ContourPoint* b,
                                 const CharFrame* frame) {
  int32_t x, y;
  return NormalizedChordDeviationAt(a, b, &x, &y, frame);
}

// The step list needs no reading here: each stroke point's reference says
// itself whether it is one contour point or a pair.
int FindHoleCentres(const StrokeStepList* steps, const ContourSet* contours,
                    const StrokePointTable* points, const CharFrame* frame, int32_t* sizes,
                    int32_t* xs, int32_t* ys, int max, int normalise) {
  const int count = contours->contours.count;
  if (count >= kMaxMeasuredContours || count < 0) return 0;
  bool excluded[kMaxMeasuredContours] = {};
  for (int c = 0; c < count; ++c) excluded[c] = contours->contours.items[c].kind == kContourOuter;
  ExcludeTracedContours(*contours, *points, excluded);
  int k = 0;
  for (int c = 0; c < count && k < max; ++c) {
    if (excluded[c]) continue;
    const Contour& contour = contours->contours.items[c];
    const RingRange r = RangeOfRing(contour.first, contours->points.count);
    if (r.minX > r.maxX) continue;  // an empty ring has no centre
    int32_t cx = static_cast<int32_t>((r.minX + r.maxX) / 2);
    int32_t cy = static_cast<int32_t>((r.minY + r.maxY) / 2);
    if (normalise == 1) NormalizePointToBox(frame, cx, cy, &cx, &cy);
    sizes[k] = contour.pointCount;
    xs[k] = cx;
    ys[k] = cy;
    ++k;
  }
  return k;
}

void TestSingleLoopShape(const ContourSet* contours, const void* ignored, int32_t* yes) {
  *yes = 0;
  int outers = 0;
  const Contour* hole = nullptr;
  for (int c = 0; c < contours->contours.count; ++c) {
    const Contour& contour = contours->contours.items[c];
    if (contour.kind == kContourOuter) ++outers;
    if (contour.kind == kContourHole && (hole == nullptr || contour.pointCount > hole->pointCount)) {
      hole = &contour;
    }
  }
  if (outers != 1 || hole == nullptr || hole->first == nullptr) return;
  const RingRange range = RangeOfRing(hole->first, contours->points.count);
  const int64_t h = range.maxY - range.minY;
  if (h < 1) return;
  const ContourPoint* ring = hole->first;
  const int64_t r = MaxContourChordDeviation(FindContourExtreme(ring, 7), FindContourExtreme(ring, 5)) / h;
  const int64_t l = MaxContourChordDeviation(FindContourExtreme(ring, 3), FindContourExtreme(ring, 1)) / h;
  int64_t inner = 0, outer = 0;
  if (!MeanRunWidths(*contours, &inner, &outer)) return;
  const int64_t m = (inner - outer) / h;
  *yes = m > 20 || (m >= 11 && r < 55 && l >= -29 && l < 37) ? 1 : 0;
}
