// Contour polygons of the polygon steps (4, 0, 2): every outer ring and hole
// is approximated by a closed polygon whose vertices are contour points, by
// recursive splitting at the point farthest from the chord (tolerance 2 to 4
// pixels by the character's height). Every polygon vertex becomes a stroke
// point of degree 2. Up to 800 vertices per ring.
#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kMaxPolygonVertices = 800;

int64_t Cross(const ContourPoint& a, const ContourPoint& b, const ContourPoint& p) {
  return int64_t{p.x - a.x} * (b.y - a.y) - int64_t{p.y - a.y} * (b.x - a.x);
}

int64_t Dot(const ContourPoint& prev, const ContourPoint& v, const ContourPoint& next) {
  return int64_t{v.x - prev.x} * (next.x - v.x) + int64_t{v.y - prev.y} * (next.y - v.y);
}

// True when v and its neighbours are collinear and the outline turns back at v.
bool IsSpike(const ContourPoint& prev, const ContourPoint& v, const ContourPoint& next) {
  return Cross(prev, next, v) == 0 && Dot(prev, v, next) < 0;
}

const ContourPoint* Advance(const ContourPoint* p, int steps) {
  for (int i = 0; i < steps && p; ++i) p = p->next;
  return p;
}

struct PolygonBuilder {
  int stride;     // 2 for large contour sets: every second point is examined
  int tolerance;  // 1/256 pixel
  int limit;      // points of the ring, bounds every walk
  const ContourPoint* output[kMaxPolygonVertices];
  int outputCount = 0;

  bool Emit(const ContourPoint* p) {
    if (outputCount >= kMaxPolygonVertices) {
      PushErrorCode(kErrCapacityFull);
      return false;
    }
    output[outputCount++] = p;
    return true;
  }

  const ContourPoint* Farthest(const ContourPoint* s) const {
    const ContourPoint* best = s;
    int bestDistance = -1;
    const ContourPoint* p = Advance(s, stride);
    for (int n = 0; p && p != s && n < limit; ++n, p = Advance(p, stride)) {
      const int d = ApproxDistance(p->x - s->x, p->y - s->y);
      if (d > bestDistance) {
        bestDistance = d;
        best = p;
      }
      if (stride == 2 && p->next == s) break;
    }
    return best;
  }

  // The point strictly between a and b (ring order) farthest from their
  // chord, when it lies beyond the tolerance; else null.
  const ContourPoint* Split(const ContourPoint* a, const ContourPoint* b) const {
    const ContourPoint* best = nullptr;
    int64_t bestCross = -1;
    const ContourPoint* p = a->next;
    for (int n = 0; p && p != b && n < limit; ++n) {
      int64_t c = Cross(*a, *b, *p);
      if (c < 0) c = -c;
      if (c > bestCross) {
        bestCross = c;
        best = p;
      }
      if (stride == 2 && p->next == b) break;
      p = Advance(p, stride);
    }
    if (!best) return nullptr;
    const int64_t chord = ApproxDistance(b->x - a->x, b->y - a->y);
    return int64_t{tolerance} * chord < bestCross * 65536 ? best : nullptr;
  }

  // Output s, ..., f, ... around the ring (the closing s dropped).
  bool Approximate(const ContourPoint* s) {
    const ContourPoint* stack[kMaxPolygonVertices];
    int top = 0;
    stack[top++] = s;
    stack[top++] = Farthest(s);
    if (!Emit(s)) return false;
    while (top > 0) {
      const ContourPoint* a = output[outputCount - 1];
      const ContourPoint* b = stack[top - 1];
      const ContourPoint* p = b == a->next ? nullptr : Split(a, b);
      if (p) {
        if (top >= kMaxPolygonVertices) {
          PushErrorCode(kErrCapacityFull);
          return false;
        }
        stack[top++] = p;
      } else {
        --top;
        if (!Emit(b)) return false;
      }
    }
    --outputCount;  // the closing s
    return true;
  }

  void RepairSpikes() {
    const int n = outputCount;
    if (n < 3) return;
    for (int i = 0; i < n; ++i) {
      const ContourPoint& prev = *output[(i + n - 1) % n];
      const ContourPoint& next = *output[(i + 1) % n];
      const ContourPoint* v = output[i];
      if (!IsSpike(prev, *v, next)) continue;
      if (v->next && !IsSpike(prev, *v->next, next)) output[i] = v->next;
      else if (v->prev) output[i] = v->prev;
    }
  }
};

int AddPolygonPoints(const PolygonBuilder& b, StrokePointTable* points) {
  int first = -1, previous = -1;
  for (int i = 0; i < b.outputCount; ++i) {
    const ContourPoint* v = b.output[i];
    const int p = AllocStrokePoint(points, v->x, v->y);
    if (p < 0) return -9;
    points->points.items[p].sourcePoint = v;
    if (previous >= 0 && LinkStrokePoints(points, previous, p) < 0) return -9;
    if (first < 0) first = p;
    previous = p;
  }
  if (b.outputCount < 3) return 0;
  if (LinkStrokePoints(points, previous, first) < 0) return -9;
  // The first vertex lists its ring neighbours as {last, second}.
  StrokePoint& f = points->points.items[first];
  f.neighbours[0] = static_cast<uint16_t>(previous);
  f.neighbours[1] = static_cast<uint16_t>(first + 1);
  return 0;
}

}  // namespace

int BuildContourPolygons(ContourSet* contours, StrokePointTable* points) {
  const RecordArray<ContourPoint>& cp = contours->points;
  if (cp.count == 0) return 0;
  int tolerance = (cp.items[cp.count - 1].y - cp.items[0].y) * 512 / 70;
  tolerance = tolerance < 512 ? 512 : tolerance > 1024 ? 1024 : tolerance;
  for (int i = 0; i < contours->contours.count; ++i) {
    const Contour& c = contours->contours.items[i];
    if (c.kind != kContourHole && c.kind != kContourOuter) continue;
    PolygonBuilder builder;
    builder.stride = cp.count >= 136 ? 2 : 1;
    builder.tolerance = tolerance;
    builder.limit = c.pointCount;
    if (!builder.Approximate(c.first)) return -9;
    builder.RepairSpikes();
    if (AddPolygonPoints(builder, points) < 0) return -9;
  }
  return 0;
}
