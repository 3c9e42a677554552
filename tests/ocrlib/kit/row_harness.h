// A candidate of a named class with hand-set strokes and feature points, for
// the tests of check rows on exact feature values.
#pragma once

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "ocrlib/checks/check_kit.h"

namespace modelkit {

// A candidate whose model (of the class `name`, bound to its row) has
// `strokes` strokes and `points` points; distance 500, digits and capitals.
class RowHarness {
 public:
  RowHarness(int strokes, int points, const char* name = "9z");
  // Model stroke k played by a segment of this code and these features
  // (centreX, centreY, firstX, firstY, secondX, secondY, sizeX, sizeY).
  StrokeSegment& Stroke(int k, int kind, int subKind, std::initializer_list<int16_t> features);
  // The same, its points (frame units, y up) laid as one piece, so that the
  // chain measures see them; the frame maps pixels to frame units 1 to 1.
  StrokeSegment& StrokeWithChain(int k, int kind, int subKind,
                                 std::initializer_list<int16_t> features,
                                 const std::vector<std::pair<int, int>>& points);
  // Links the points of a stroke's first piece to their neighbours along it,
  // so that corner angles can be measured.
  void LinkChain(const StrokeSegment& s);
  // A contour ring through the points (x, image row) in this order, its
  // first point returned.
  ContourPoint* Ring(const std::vector<std::pair<int, int>>& points, uint16_t kind = kContourOuter);
  // A contour pair whose first point is `a`, as the thinned steps record it.
  ContourPair* Pair(ContourPoint* a);
  StrokePoint& PointAt(int index);
  CharFrame& frame();
  // Model point k played by a new feature point.
  void Point(int k, int16_t x, int16_t y, uint8_t kind);
  CheckContext Context();
  // The class's row run as candidate verification runs it.
  void ApplyCheck();
  uint16_t valid() const;
  void SetMask(uint32_t mask) { set_.mask = mask; }
  void SetStep(uint8_t step) { steps_.steps[0] = step; }
  ShapeCandidate& candidate();

 private:
  std::unique_ptr<StrokeRecordStore> store_;
  std::unique_ptr<SessionWorkArea> work_;
  StrokeModel model_;
  StrokeModelSet set_ = {};
  StrokeStepList steps_;
};

}  // namespace modelkit
