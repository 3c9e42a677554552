// Four corner points of a set of points (the first point met with the
// largest key y - x, x + y, x - y, -(x + y)) and their bounding range,
// optionally mapped into 0..255 over that range: over the strokes of a
// matched candidate, over one stroke, or over the contours of a character.
#include <algorithm>
#include <cstdint>

#include "ocrlib/core/core_internal.h"

namespace {

constexpr int kCorners = 4;
constexpr int64_t kNoKey = -32767;  // a corner's key must exceed it

class CornerSearch {
 public:
  void Add(int64_t x, int64_t y) {
    const int64_t keys[kCorners] = {y - x, x + y, x - y, -(x + y)};
    for (int c = 0; c < kCorners; ++c) {
      if (keys[c] > best_[c]) {
        best_[c] = keys[c];
        x_[c] = x;
        y_[c] = y;
      }
    }
    minX_ = std::min(minX_, x);
    maxX_ = std::max(maxX_, x);
    minY_ = std::min(minY_, y);
    maxY_ = std::max(maxY_, y);
  }

  void AddSegment(const StrokePointTable& points, const StrokeSegment& segment) {
    for (int s = 0; s < segment.pieceCount; ++s) {
      const StrokePiece* piece = segment.pieces[s];
      for (int i = 0; i < piece->pointCount; ++i) {
        const StrokePoint& p = points.points.items[piece->words[i]];
        Add(p.x, p.y);
      }
    }
  }

  void AddExtra(const int32_t* xs, const int32_t* ys, int n) {
    for (int i = 0; i < n; ++i) Add(xs[i], ys[i]);
  }

  // Corners in the points' own coordinates, or mapped into 0..255 over the
  // range; a range of no width or height gives fixed corner values. No point
  // at all gives zeros.
  void Write(int normalise, int32_t corners[8]) const {
    static constexpr int32_t kFlatX[kCorners] = {0, 255, 255, 0};
    static constexpr int32_t kFlatY[kCorners] = {255, 255, 0, 0};
    const bool anyPoint = maxX_ >= minX_;
    const int64_t w = anyPoint ? maxX_ - minX_ : 0, h = anyPoint ? maxY_ - minY_ : 0;
    for (int c = 0; c < kCorners; ++c) {
      int64_t x = best_[c] > kNoKey ? x_[c] : 0, y = best_[c] > kNoKey ? y_[c] : 0;
      if (normalise == 1 && anyPoint) {
        x = w == 0 ? kFlatX[c] : ((x - minX_) * 255 + w / 2) / w;
        y = h == 0 ? kFlatY[c] : ((y - minY_) * 255 + h / 2) / h;
      }
      corners[2 * c] = static_cast<int32_t>(x);
      corners[2 * c + 1] = static_cast<int32_t>(y);
    }
  }

 private:
  int64_t best_[kCorners] = {kNoKey, kNoKey, kNoKey, kNoKey};
  int64_t x_[kCorners] = {}, y_[kCorners] = {};
  int64_t minX_ = INT64_MAX, maxX_ = INT64_MIN, minY_ = INT64_MAX, maxY_ = INT64_MIN;
};

}  // namespace

void FindCandidateCornerPoints(const StrokePointTable* points,
                               const ShapeCandidate* candidate, const int32_t* xs,
                               const int32_t* ys, int n, int normalise, int32_t corners[8]) {
  CornerSearch search;
  const int strokes = candidate->model == nullptr
                          ? 0
                          : std::min<int>(candidate->model->strokeCount, kMaxCandidateStrokes);
  for (int e = 0; e < strokes; ++e) {
    if (candidate->matchedStroke[e] != nullptr) search.AddSegment(*points, *candidate->matchedStroke[e]);
  }
  search.AddExtra(xs, ys, n);
  search.Write(normalise, corners);
}

void FindStrokeCornerPoints(const StrokePointTable* points, const StrokeSegment* segment,
                            int normalise, int32_t corners[8]) {
  CornerSearch search;
  search.AddSegment(*points, *segment);
  search.Write(normalise, corners);
}

// Contour points hold image rows; y is negated like every contour measure.
void FindChainCornerPoints(const ContourSet* contours, const int32_t* xs,
                           const int32_t* ys, int n, int normalise, int32_t corners[8]) {
  CornerSearch search;
  for (int i = 0; i < contours->points.count; ++i) {
    const ContourPoint& p = contours->points.items[i];
    search.Add(p.x, -int64_t{p.y});
  }
  search.AddExtra(xs, ys, n);
  search.Write(normalise, corners);
}
