// The measures the plain capital rows share: bends of pieces, how full a
// stroke's chain is, where its rightmost point sits, whether its back leans
// left, its upper and lower ends, its edge by sub-kind, the slope of its
// last piece and the bulge of a stretch of contour ring.
#include <algorithm>
#include <cstdint>

#include "ocrlib/checks/capital_checks.h"

namespace {

// Pixel position of a stroke point the measures found.
bool PixelOf(const CheckContext& c, const PointView& p, int32_t* x, int32_t* y) {
  const StrokePointTable& t = *c.args().points;
  if (!p.present || p.index < 0 || p.index >= t.points.count) return false;
  *x = t.points.items[p.index].x;
  *y = t.points.items[p.index].y;
  return true;
}

// Floor division by 2, as an arithmetic shift halves.
int32_t HalfDown(int32_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

}  // namespace

int32_t PieceBend(CheckContext& c, const StrokeView& s, int k, int line) {
  const PieceList pieces = c.Pieces(s);
  if (!c.Need(k >= 0 && k < pieces.count, line)) return 0;
  return PieceDeviation(c.args(), pieces[k], false);
}

int32_t FillRatio(CheckContext& c, const StrokeView& s, int line) {
  const ChainView chain = c.Chain(s);
  if (!c.Need(chain.count > 0, line)) return 0;
  const ChainAreas areas = AreasOfChain(chain);
  const int64_t halfBox = (areas.box + 1) >> 1;
  // A chain without width or height has no box to fill.
  if (!c.Need(halfBox > 0, line)) return 0;
  return static_cast<int32_t>(100 * int64_t{areas.enclosed} / halfBox);
}

int32_t RightExtremeHeight(CheckContext& c, const StrokeView& s, int line) {
  const PointView right = c.EP(s, kDirPosX);
  const int32_t half = HalfDown(s.h);
  // A stroke less than two units high has no half height to measure by.
  if (!c.Need(right.present && half != 0, line)) return 0;
  return (right.y - s.cy) * 100 / half;
}

bool LeansLeft(CheckContext& c, const StrokeView& s, int line) {
  int32_t x3 = 0, y3 = 0, x1 = 0, y1 = 0;
  const PointView p3 = c.EP(s, kDirYMinusX);
  const PointView p1 = c.EP(s, kDirNegXY);
  if (!c.Need(PixelOf(c, p3, &x3, &y3) && PixelOf(c, p1, &x1, &y1), line)) return false;
  const int32_t dx = x3 - x1, dy = y3 - y1;
  return dx < -1 && 3 * dx + dy < 20;
}

StrokeEnds UpperAndLowerEnds(CheckContext& c, const StrokeView& s, int line) {
  StrokeEnds ends;
  const PointView e1 = c.End(s, 1), e2 = c.End(s, 2);
  int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  if (!c.Need(PixelOf(c, e1, &x1, &y1) && PixelOf(c, e2, &x2, &y2), line)) return ends;
  const bool firstHigher = y1 > y2;
  ends.upper = firstHigher ? e1 : e2;
  ends.lower = firstHigher ? e2 : e1;
  return ends;
}

int32_t EdgeBySubKind(const StrokeView& s) {
  switch (s.subKind) {
    case 1: return static_cast<int16_t>(s.cx + s.x2);
    case 2: return s.cx;
    case 3: return static_cast<int16_t>(s.cx - s.x2);
    default: return 0;
  }
}

int32_t LastPieceTilt(CheckContext& c, const StrokeView& s, int line) {
  const PieceList pieces = c.Pieces(s);
  if (!c.Need(pieces.count > 0, line)) return 0;
  const PieceView& last = pieces[pieces.count - 1];
  return Tilt(last.firstX - last.lastX, last.firstY - last.lastY);
}

int32_t RingWalkBulge(CheckContext& c, const PointView& ring, int from, int to, int steps,
                      int line) {
  if (!c.Need(ring.contour != nullptr, line)) return 0;
  const ContourPoint* a = FindContourExtreme(ring.contour, from);
  const ContourPoint* b = FindContourExtreme(ring.contour, to);
  DrawArcEndsTogether(a, b, steps);
  return FrameUnits(MaxContourChordDeviation(a, b), c.frame());
}

PointView FirstHoleRing(const CheckContext& c) {
  const RecordArray<ContourPoint>& points = c.args().contours->points;
  for (int i = 0; i < points.count; ++i) {
    const ContourPoint& p = points.items[i];
    if (p.owner != nullptr && p.owner->kind != kContourOuter) return c.ContourInFrame(&p);
  }
  return {};
}
