// A hand-set candidate for the check-row tests.
#include "tests/ocrlib/kit/row_harness.h"

#include <algorithm>
#include <cstring>

namespace modelkit {

RowHarness::RowHarness(int strokes, int points, const char* name)
    : store_(std::make_unique<StrokeRecordStore>()), work_(std::make_unique<SessionWorkArea>()) {
  BindStrokeRecordStore(*store_);
  std::memset(&model_, 0, sizeof model_);
  std::strncpy(model_.name, name, sizeof model_.name - 1);
  model_.classIndex = static_cast<int16_t>(FindClassCheckRow(name));
  model_.strokeCount = static_cast<uint8_t>(strokes);
  model_.pointCount = static_cast<uint8_t>(points);
  set_.mask = kTypeDigits | kTypeCapitals;
  set_.modelCount = 1;
  set_.models = &model_;
  ShapeCandidate& c = work_->candidates[0];
  c.model = &model_;
  c.valid = '9';
  c.distance = 500;
  std::fill(std::begin(c.matchedPoint), std::end(c.matchedPoint), kNoIndex);
  work_->current = &c;
  steps_.count = 1;
  steps_.steps[0] = 1;
  store_->frame.size = 256;
}

StrokeSegment& RowHarness::Stroke(int k, int kind, int subKind,
                                  std::initializer_list<int16_t> features) {
  StrokeSegment& s = store_->graph.segments.items[store_->graph.segments.count++];
  s.kind = static_cast<uint8_t>(kind);
  s.subKind = static_cast<uint8_t>(subKind);
  int16_t* f = &s.centreX;
  for (int16_t v : features) *f++ = v;
  work_->candidates[0].matchedStroke[k] = &s;
  return s;
}

StrokeSegment& RowHarness::StrokeWithChain(int k, int kind, int subKind,
                                           std::initializer_list<int16_t> features,
                                           const std::vector<std::pair<int, int>>& points) {
  StrokeGraph& g = store_->graph;
  StrokeGroup* group = AllocGraphPoint(&g);
  StrokePiece* piece = AllocStrokeSegment(&g);
  uint16_t* words = AllocGraphWords(&g, static_cast<int>(points.size()));
  int n = 0;
  for (const auto& [x, y] : points) {
    StrokePoint& p = store_->points.points.items[store_->points.points.count];
    p = StrokePoint{};
    p.x = static_cast<int16_t>(x);
    p.y = static_cast<int16_t>(y);
    p.savedX = p.x;
    p.savedY = p.y;
    words[n++] = static_cast<uint16_t>(store_->points.points.count++);
  }
  piece->words = words;
  piece->pointCount = static_cast<int16_t>(n);
  StrokeSegment* s = AllocStrokeJoint(&g, piece);
  group->firstPiece = piece;
  group->firstSegment = s;
  s->kind = static_cast<uint8_t>(kind);
  s->subKind = static_cast<uint8_t>(subKind);
  s->end1 = static_cast<int16_t>(words[0]);
  s->end2 = static_cast<int16_t>(words[n - 1]);
  int16_t* f = &s->centreX;
  for (int16_t v : features) *f++ = v;
  work_->candidates[0].matchedStroke[k] = s;
  return *s;
}

void RowHarness::LinkChain(const StrokeSegment& s) {
  const StrokePiece& piece = *s.pieces[0];
  const int n = piece.pointCount;
  for (int i = 0; i < n; ++i) {
    StrokePoint& p = PointAt(piece.words[i]);
    p.degree = 0;
    auto link = [&](int j) {
      p.neighbours[p.degree] = piece.words[j];
      p.savedNeighbours[p.degree] = p.neighbours[p.degree];
      ++p.degree;
    };
    if (i > 0) link(i - 1);
    if (i + 1 < n) link(i + 1);
    p.savedDegree = p.degree;
  }
}

ContourPoint* RowHarness::Ring(const std::vector<std::pair<int, int>>& points, uint16_t kind) {
  ContourSet& set = store_->contours;
  Contour& contour = set.contours.items[set.contours.count++];
  ContourPoint* first = &set.points.items[set.points.count];
  contour = Contour{kind, static_cast<uint16_t>(points.size()), first};
  ContourPoint* previous = nullptr;
  for (const auto& [x, row] : points) {
    ContourPoint& p = set.points.items[set.points.count++];
    p = ContourPoint{};
    p.x = static_cast<int16_t>(x);
    p.y = static_cast<int16_t>(row);
    p.owner = &contour;
    p.prev = previous;
    if (previous != nullptr) previous->next = &p;
    previous = &p;
  }
  previous->next = first;
  first->prev = previous;
  return first;
}

ContourPair* RowHarness::Pair(ContourPoint* a) {
  ContourPair& pair = store_->contours.pairs.items[store_->contours.pairs.count++];
  pair = ContourPair{};
  pair.a = a;
  pair.b = a;
  return &pair;
}

StrokePoint& RowHarness::PointAt(int index) { return store_->points.points.items[index]; }

CharFrame& RowHarness::frame() { return store_->frame; }

void RowHarness::Point(int k, int16_t x, int16_t y, uint8_t kind) {
  FeaturePoint& f = store_->nodeLists.marks.items[store_->nodeLists.marks.count];
  f.x = x;
  f.y = y;
  f.kind = kind;
  work_->candidates[0].matchedPoint[k] = static_cast<uint16_t>(store_->nodeLists.marks.count++);
}

CheckContext RowHarness::Context() {
  return CheckContext({&steps_, &store_->contours, &store_->points, &store_->frame, &store_->graph,
                       &store_->nodeLists, &set_, work_.get()});
}

void RowHarness::ApplyCheck() {
  work_->current = &work_->candidates[0];
  ApplyClassCheck(&steps_, &store_->contours, &store_->points, &store_->frame, &store_->graph,
                  &store_->nodeLists, &set_, work_.get());
}

uint16_t RowHarness::valid() const { return work_->candidates[0].valid; }

ShapeCandidate& RowHarness::candidate() { return work_->candidates[0]; }

}  // namespace modelkit
