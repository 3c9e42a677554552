// The character frame and the per-segment features in frame units, read by
// the stroke-model matcher and the shape checks. Pure integer arithmetic;
// divisions truncate toward zero, "rounded" adds half the divisor first.
// Products that can pass 32 bits for large characters are taken in 64 bits.
#include "ocrlib/core/core_internal.h"

namespace {

// Halving as an arithmetic shift does: toward minus infinity.
int32_t FloorHalf(int32_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

int32_t FrameSize(const CharFrame& f) { return f.size < 1 ? 1 : f.size; }

// (half the size + v) / size: pixels (x 256) to frame units.
int32_t ToFrame(const CharFrame& f, int64_t v) {
  const int32_t s = FrameSize(f);
  return static_cast<int32_t>(((s >> 1) + v) / s);
}

const StrokePoint& PointAt(const StrokePointTable& t, int index) {
  return t.points.items[index];
}

bool ValidIndex(const StrokePointTable& t, int index) {
  return index >= 0 && index < t.points.count;
}

// Weights of a point's position 0..32 along the chord: 0 at the ends, 64 in
// the middle.
constexpr int kChordWeights[33] = {0,  8,  15, 22, 28, 34, 39, 44, 48, 52, 55,
                                   58, 60, 62, 63, 64, 64, 64, 63, 62, 60, 58,
                                   55, 52, 48, 44, 39, 34, 28, 22, 15, 8,  0};

}  // namespace

void NormalizePointToBox(const CharFrame* frame, int32_t x, int32_t y, int32_t* fx,
                         int32_t* fy) {
  *fx = frame->offsetX + ToFrame(*frame, int64_t{x - frame->originX} * 256);
  *fy = frame->offsetY + ToFrame(*frame, int64_t{y - frame->originY} * 256);
}

int ComputeCharFrame(const StrokePointTable* points, CharFrame* frame) {
  int minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN, n = 0;
  for (int i = 0; i < points->points.count; ++i) {
    const StrokePoint& p = PointAt(*points, i);
    if (p.kind != kPointLive || p.degree < 1) continue;
    ++n;
    if (p.x < minX) minX = p.x;
    if (p.x > maxX) maxX = p.x;
    if (p.y < minY) minY = p.y;
    if (p.y > maxY) maxY = p.y;
  }
  *frame = CharFrame{};
  if (n < 2 || (maxX == minX && maxY == minY)) return -1;
  const int32_t w = maxX - minX, h = maxY - minY;
  frame->originX = static_cast<int16_t>(minX);
  frame->originY = static_cast<int16_t>(minY);
  if (h >= w) {
    frame->size = static_cast<int16_t>(h);
    frame->offsetX = static_cast<int16_t>(((h >> 1) + (h - w) * 128) / h);
  } else {
    frame->size = static_cast<int16_t>(w);
    frame->offsetY = static_cast<int16_t>(((w >> 1) + (w - h) * 128) / w);
  }
  return 0;
}

void MeasureSegmentBox(const StrokePointTable* points, const CharFrame* /*frame*/,
                       const StrokeSegment* segment, int32_t* cx, int32_t* cy, int32_t* w,
                       int32_t* h) {
  int minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
  for (int k = 0; k < segment->pieceCount; ++k) {
    const StrokePiece* piece = segment->pieces[k];
    if (!piece || piece->pointCount < 1) continue;
    const int ends[2] = {piece->words[0], piece->words[piece->pointCount - 1]};
    for (int index : ends) {
      if (!ValidIndex(*points, index)) continue;
      const StrokePoint& p = PointAt(*points, index);
      if (p.x < minX) minX = p.x;
      if (p.x > maxX) maxX = p.x;
      if (p.y < minY) minY = p.y;
      if (p.y > maxY) maxY = p.y;
    }
  }
  if (minX > maxX) {
    *cx = *cy = *w = *h = 0;
    return;
  }
  *cx = FloorHalf(maxX + minX + 1);
  *cy = FloorHalf(maxY + minY + 1);
  *w = maxX - minX;
  *h = maxY - minY;
}

int32_t MeasureChordDeviation(const StrokePointTable* points, const uint16_t* list, int count,
                              int32_t* dx, int32_t* dy, int weighted) {
  *dx = *dy = 0;
  if (count < 1) return 0;
  const StrokePoint& p0 = PointAt(*points, list[0]);
  const StrokePoint& pn = PointAt(*points, list[count - 1]);
  const int64_t a = pn.y - p0.y;
  const int64_t b = p0.x - pn.x;
  const int64_t c = int64_t{pn.x} * p0.y - int64_t{pn.y} * p0.x;
  const int64_t length = ApproxDistance(static_cast<int32_t>(a), static_cast<int32_t>(b));
  if (length < 1) return 0;
  int64_t bestKey = 0, bestDeviation = 0;
  int best = -1;
  for (int i = 1; i < count; ++i) {
    const StrokePoint& p = PointAt(*points, list[i]);
    const int64_t e = a * p.x + b * p.y + c;
    const int64_t d = (e * 65536 + (length >> 1)) / length;
    int64_t key = d;
    if (weighted == 1) {
      const int64_t t = (32 * ((p.y - p0.y) * a + (p0.x - p.x) * b) + (length >> 1)) / length;
      int64_t k = t * (65536 / length);  // the quotient first, as trained
      k = k < 0 ? 0 : k > 32 ? 32 : k;
      key = kChordWeights[k] * d;
    }
    const int64_t magnitude = key < 0 ? -key : key;
    if (magnitude > (bestKey < 0 ? -bestKey : bestKey)) {
      bestKey = key;
      bestDeviation = d;
      best = i;
    }
  }
  if (best < 0) return 0;
  const StrokePoint& p = PointAt(*points, list[best]);
  const int64_t e = (b * p.y + a * p.x + c) * 256;
  const int64_t norm = a * a + b * b;
  *dx = static_cast<int32_t>(a * e / norm);
  *dy = static_cast<int32_t>(b * e / norm);
  return static_cast<int32_t>(bestDeviation);
}

void NormalizeSegmentFeatures(const StrokePointTable* points, const CharFrame* frame,
                              StrokeGraph* graph) {
  const CharFrame& f = *frame;
  for (int g = 0; g < graph->groups.count; ++g) {
    int guard = 0;
    for (StrokeSegment* s = graph->groups.items[g].firstSegment;
         s && guard < graph->segments.count; s = s->next, ++guard) {
      int32_t cx, cy, w, h;
      MeasureSegmentBox(points, frame, s, &cx, &cy, &w, &h);
      int32_t sizeX = ToFrame(f, int64_t{w} * 256);
      int32_t sizeY = ToFrame(f, int64_t{h} * 256);
      int32_t centreX, centreY;
      NormalizePointToBox(frame, cx, cy, &centreX, &centreY);
      int32_t first[2] = {0, 0}, second[2] = {0, 0};
      if (s->kind == 1) {
        second[0] = sizeX / 2;
        second[1] = sizeY / 2;
        const StrokePiece* piece = s->pieceCount > 0 ? s->pieces[0] : nullptr;
        sizeX = sizeY = 0;
        if (piece && piece->pointCount > 0) {
          const StrokePoint& head = PointAt(*points, piece->words[0]);
          const StrokePoint& tail = PointAt(*points, piece->words[piece->pointCount - 1]);
          sizeX = tail.x - head.x;
          sizeY = tail.y - head.y;
          int32_t dx, dy;
          if (MeasureChordDeviation(points, piece->words, piece->pointCount, &dx, &dy, 1) != 0) {
            first[0] = ToFrame(f, dx);
            first[1] = ToFrame(f, dy);
          }
        }
      } else if (s->kind != 0) {
        if (ValidIndex(*points, s->end1))
          NormalizePointToBox(frame, PointAt(*points, s->end1).x, PointAt(*points, s->end1).y,
                              &first[0], &first[1]);
        if (ValidIndex(*points, s->end2))
          NormalizePointToBox(frame, PointAt(*points, s->end2).x, PointAt(*points, s->end2).y,
                              &second[0], &second[1]);
      }
      s->centreX = static_cast<int16_t>(centreX);
      s->centreY = static_cast<int16_t>(centreY);
      s->firstX = static_cast<int16_t>(first[0]);
      s->firstY = static_cast<int16_t>(first[1]);
      s->secondX = static_cast<int16_t>(second[0]);
      s->secondY = static_cast<int16_t>(second[1]);
      s->sizeX = static_cast<int16_t>(sizeX);
      s->sizeY = static_cast<int16_t>(sizeY);
    }
  }
}

int NormalizeStrokeFrame(const StrokeStepList* /*steps*/, StrokePointTable* points,
                         CharFrame* frame, StrokeGraph* graph, StrokeNodeLists* nodeLists) {
  if (ComputeCharFrame(points, frame) < 0) return -1;
  NormalizeSegmentFeatures(points, frame, graph);
  for (int i = 0; i < nodeLists->marks.count; ++i) {
    FeaturePoint& mark = nodeLists->marks.items[i];
    if (mark.edgeA < 0 || mark.edgeA >= nodeLists->edges.count) continue;
    const int junction = nodeLists->edges.items[mark.edgeA].junction;
    if (!ValidIndex(*points, junction)) continue;
    int32_t x, y;
    NormalizePointToBox(frame, PointAt(*points, junction).x, PointAt(*points, junction).y, &x, &y);
    mark.x = static_cast<int16_t>(x);
    mark.y = static_cast<int16_t>(y);
  }
  return 0;
}
