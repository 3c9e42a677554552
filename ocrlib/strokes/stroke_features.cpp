// The feature vector of a recognised character's strokes: per stroke the
// directions of the outline beside it and its centre and size, handed to the
// one-character driver through the point table.
#include <algorithm>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kValuesPerStroke = 12;
constexpr int kDirectionValues = 8;
// Direction of a contour step by 3 x (row change up) + x change + 4: the
// step codes of the stroke analysis, -1 for no step.
constexpr int kStepDirection[9] = {3, 4, 5, 2, -1, 6, 1, 0, 7};

// The contour point a stroke point was traced from: its own on the polygon
// steps, the first of its pair on the thinned ones.
const ContourPoint* SourceOf(const StrokePointTable& points, int index) {
  if (index < 0 || index >= points.points.count) return nullptr;
  const StrokePoint& p = points.points.items[index];
  if (p.sourcePoint != nullptr) return p.sourcePoint;
  return p.sourcePair != nullptr ? p.sourcePair->a : nullptr;
}

bool RingReaches(const ContourPoint* from, const ContourPoint* to) {
  int guard = 0;
  for (const ContourPoint* p = from; p != nullptr && guard < kMaxContourPoints;
       p = p->next, ++guard) {
    if (p == to) return true;
    if (p->next == from) return false;
  }
  return false;
}

// The stretch of outline beside a stroke: from the source of its first end
// to that of its second, in the order in which walking forward meets them;
// a ring from its first point round to its predecessor.
bool FindStrokeContourEnds(const StrokePointTable& points, const StrokeSegment& s,
                           const ContourPoint** first, const ContourPoint** last) {
  if (s.end1 < 0 || s.end2 < 0) {
    if (s.pieceCount < 1 || s.pieces[0]->pointCount < 1) return false;
    *first = SourceOf(points, s.pieces[0]->words[0]);
    *last = *first != nullptr ? (*first)->prev : nullptr;
  } else {
    *first = SourceOf(points, s.end1);
    *last = SourceOf(points, s.end2);
    if (*first != nullptr && *last != nullptr && !RingReaches(*first, *last))
      std::swap(*first, *last);
  }
  return *first != nullptr && *last != nullptr;
}

void CountContourDirections(const ContourPoint* first, const ContourPoint* last, int scale,
                            int32_t values[kDirectionValues]) {
  std::fill(values, values + kDirectionValues, 0);
  int guard = 0;
  for (const ContourPoint* p = first; p != last && p->next != nullptr && guard < kMaxContourPoints;
       p = p->next, ++guard) {
    const int dx = p->next->x - p->x, dy = p->y - p->next->y;
    if (dx < -1 || dx > 1 || dy < -1 || dy > 1) continue;
    const int d = kStepDirection[3 * dy + dx + 4];
    if (d >= 0) ++values[d];
  }
  for (int d = 0; d < kDirectionValues; ++d) {
    const int32_t v = values[d] * 128 / std::max(1, scale);
    values[d] = v < 0 || v >= 256 ? 255 : v;
  }
}

uint16_t Byte(int32_t v) { return static_cast<uint16_t>(std::clamp(v, 0, 255)); }

}  // namespace

void CopyStrokeFeaturesToRecord(StrokePointTable* points, const SessionWorkArea* work) {
  const ShapeCandidate* c = work->current;
  if (c == nullptr) return;
  int32_t vectors[kMaxCandidateStrokes][kValuesPerStroke] = {};
  int strokes = 0;
  const int scale = std::max(points->width, points->height);
  for (; strokes < kMaxCandidateStrokes && c->matchedStroke[strokes] != nullptr; ++strokes) {
    const StrokeSegment& s = *c->matchedStroke[strokes];
    int32_t* v = vectors[strokes];
    const ContourPoint *first, *last;
    if (FindStrokeContourEnds(*points, s, &first, &last))
      CountContourDirections(first, last, scale, v);
    v[8] = s.centreX;
    v[9] = s.centreY;
    v[10] = s.sizeX;
    v[11] = s.sizeY;
  }
  // The vector replaces the point table's records (the attempts are over).
  const int n = std::min<int>(strokes * kValuesPerStroke, points->points.capacity);
  for (int i = 0; i < n; ++i) {
    points->points.items[i].savedY =
        static_cast<int16_t>(Byte(vectors[i / kValuesPerStroke][i % kValuesPerStroke]));
  }
  points->points.count = static_cast<int16_t>(n);
}
