// The check rows' vocabulary: views of the candidate's strokes and points,
// gated decisions and measures, and the angles and lengths of frame vectors.
#include "ocrlib/checks/check_kit.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "ocrlib/strokes/strokes_internal.h"

CheckVerdict g_lastCheckVerdict;

namespace {

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

bool IsStrokePoint(const StrokePointTable& points, int index) {
  return index >= 0 && index < points.points.count;
}

Corners CornersFrom(const int32_t out[8]) {
  auto point = [](int32_t x, int32_t y) {
    PointView p;
    p.present = true;
    p.x = x;
    p.y = y;
    return p;
  };
  return {point(out[0], out[1]), point(out[2], out[3]), point(out[4], out[5]),
          point(out[6], out[7])};
}

}  // namespace

int32_t Tilt(int32_t dx, int32_t dy) {
  if (dx == 0) return 90;
  return ArctanPercent(Clamp32(int64_t{100} * dy / dx));
}

int32_t Ang(int32_t dx, int32_t dy) {
  const int32_t t = Tilt(dx, dy);
  return t < 0 ? t + 180 : t;
}

int32_t Slope(int32_t dx, int32_t dy) { return dx == 0 ? 32767 : Clamp32(int64_t{100} * dy / dx); }

int32_t Len(int32_t dx, int32_t dy) { return ApproxDistance(dx, dy) / 256; }

int32_t FrameUnits(int32_t d256, const CharFrame& frame) {
  const int32_t s = std::max<int32_t>(1, frame.size);
  return Clamp32((int64_t{d256} + s / 2) / s);
}

StrokeView ViewOfSegment(const StrokeSegment* s) {
  StrokeView v;
  if (s == nullptr) return v;
  v.segment = s;
  v.cx = s->centreX;
  v.cy = s->centreY;
  v.x1 = s->firstX;
  v.y1 = s->firstY;
  v.x2 = s->secondX;
  v.y2 = s->secondY;
  v.w = s->sizeX;
  v.h = s->sizeY;
  v.ux = (v.x1 - v.x2) / 2;
  v.uy = (v.y1 - v.y2) / 2;
  v.dX = v.ux + 128;
  v.dY = v.uy + 128;
  v.code = StrokeCodeOf(*s);
  v.kind = s->kind;
  v.subKind = s->subKind;
  return v;
}

PointView StrokePointInFrame(const CheckArgs& a, int point) {
  PointView v;
  if (!IsStrokePoint(*a.points, point)) return v;
  const StrokePoint& p = a.points->points.items[point];
  NormalizePointToBox(a.frame, p.x, p.y, &v.x, &v.y);
  v.present = true;
  v.index = point;
  return v;
}

int FindModelByName(const StrokeModelSet& set, const char* name) {
  for (int m = 0; m < set.modelCount; ++m) {
    if (std::string_view(set.models[m].name) == name) return m;
  }
  return -1;
}

int FindModelByPrefix(const StrokeModelSet& set, const char* prefix, int from) {
  const std::string_view p(prefix);
  for (int m = std::max(0, from); m < set.modelCount; ++m) {
    if (std::string_view(set.models[m].name).substr(0, p.size()) == p) return m;
  }
  return -1;
}

CheckContext::CheckContext(const CheckArgs& args) : a_(args), candidate_(args.work->current) {}

bool CheckContext::DigitsAndCapitals() const {
  const uint32_t both = kTypeDigits | kTypeCapitals;
  return (a_.modelSet->mask & both) == both;
}

bool CheckContext::Decide(bool reject, int line) {
  if (decided_) return false;
  decided_ = true;
  rejected_ = reject;
  if (reject) candidate_->valid = 0;
  verdict_.line = line;
  verdict_.rejected = reject;
  verdict_.decided = true;
  return false;
}

StrokeView CheckContext::OptS(int k) const {
  const StrokeModel& model = *candidate_->model;
  if (k < 0 || k >= model.strokeCount || k >= kMaxCandidateStrokes) return {};
  return ViewOfSegment(candidate_->matchedStroke[k]);
}

StrokeView CheckContext::S(int k, int line) {
  const StrokeView v = OptS(k);
  if (!v.present()) Decide(true, line);
  return v;
}

PointView CheckContext::OptF(int k) const {
  PointView v;
  const StrokeModel& model = *candidate_->model;
  if (k < 0 || k >= model.pointCount || k >= kMaxCandidatePoints) return v;
  const uint16_t index = candidate_->matchedPoint[k];
  if (index >= a_.nodeLists->marks.count) return v;
  const FeaturePoint& f = a_.nodeLists->marks.items[index];
  v.present = true;
  v.x = f.x;
  v.y = f.y;
  v.kind = f.kind;
  v.index = index;
  return v;
}

PointView CheckContext::F(int k, int line) {
  const PointView v = OptF(k);
  if (!v.present) Decide(true, line);
  return v;
}

PointView CheckContext::G(int k, int line) {
  PointView v;
  if (k < 0 || k >= a_.nodeLists->marks.count) {
    Decide(true, line);
    return v;
  }
  const FeaturePoint& f = a_.nodeLists->marks.items[k];
  v.present = true;
  v.x = f.x;
  v.y = f.y;
  v.kind = f.kind;
  v.index = k;
  return v;
}

template <class View>
bool CheckContext::RequireWindows(bool present, const View& v,
                                  std::initializer_list<Window<View>> windows, int line) {
  if (decided_) return false;
  if (!present) return Decide(true, line);
  for (const Window<View>& window : windows) {
    if (!window.Holds(v)) return Decide(true, line);
  }
  return true;
}

template <class View>
bool CheckContext::RejectInWindows(bool present, const View& v,
                                   std::initializer_list<Window<View>> windows, int line) {
  if (decided_) return false;
  if (!present) return Decide(true, line);
  for (const Window<View>& window : windows) {
    if (!window.Holds(v)) return true;
  }
  return Decide(true, line);
}

bool CheckContext::Require(const StrokeView& s, std::initializer_list<Window<StrokeView>> windows,
                           int line) {
  return RequireWindows(s.present(), s, windows, line);
}
bool CheckContext::Require(const McnView& m, std::initializer_list<Window<McnView>> windows,
                           int line) {
  return RequireWindows(m.present, m, windows, line);
}
bool CheckContext::Require(const PointView& p, std::initializer_list<Window<PointView>> windows,
                           int line) {
  return RequireWindows(p.present, p, windows, line);
}
bool CheckContext::RequireIfPresent(const StrokeView& s,
                                    std::initializer_list<Window<StrokeView>> windows, int line) {
  return s.present() ? Require(s, windows, line) : !decided_;
}
bool CheckContext::RequireIfPresent(const PointView& p,
                                    std::initializer_list<Window<PointView>> windows, int line) {
  return p.present ? Require(p, windows, line) : !decided_;
}
bool CheckContext::RejectWhen(const StrokeView& s,
                              std::initializer_list<Window<StrokeView>> windows, int line) {
  return RejectInWindows(s.present(), s, windows, line);
}
bool CheckContext::RejectWhen(const McnView& m, std::initializer_list<Window<McnView>> windows,
                              int line) {
  return RejectInWindows(m.present, m, windows, line);
}
bool CheckContext::RejectWhen(const PointView& p, std::initializer_list<Window<PointView>> windows,
                              int line) {
  return RejectInWindows(p.present, p, windows, line);
}

bool CheckContext::Need(bool holds, int line) { return holds ? !decided_ : Decide(true, line); }
bool CheckContext::RejectIf(bool holds, int line) { return holds ? Decide(true, line) : !decided_; }
bool CheckContext::AcceptWhen(bool holds, int line) {
  return holds ? Decide(false, line) : !decided_;
}

bool CheckContext::AcceptUnlessDigitsAndCapitals(int line) {
  return AcceptWhen(!DigitsAndCapitals(), line);
}

bool CheckContext::LimitDistance(int32_t limit, int line) {
  return RejectIf(candidate_->distance > limit, line);
}

bool CheckContext::LimitDistanceByCode(const StrokeView& s, std::initializer_list<CodeLimit> limits,
                                       int line) {
  if (decided_) return false;
  if (!s.present()) return Decide(true, line);
  for (const CodeLimit& l : limits) {
    if (l.code == s.code) return LimitDistance(l.limit, line);
  }
  return true;
}

void CheckContext::RejectAllOnSingleLoop(int line) {
  if (decided_ || OnLinePath()) return;
  int32_t yes = 0;
  TestSingleLoopShape(a_.contours, nullptr, &yes);
  if (yes == 0) return;
  RejectAllCandidates();
  Decide(true, line);
}

McnView CheckContext::Mcn(const StrokeView& s, McnMode mode) {
  McnView m;
  if (!Measuring() || !s.present()) return m;
  MeasureChainNormalized(a_.points, a_.frame, s.segment, mode, &m.dev, &m.ox, &m.oy);
  m.present = true;
  return m;
}

PointView CheckContext::XP(const StrokeView& s, int direction, int weight) {
  if (!Measuring() || !s.present()) return {};
  int32_t overflow = 0, point = -1;
  BuildChainPointList(s.segment, a_.points, &overflow);
  ExtremePointInDirection(a_.points, direction, weight, &point);
  return StrokePointInFrame(a_, point);
}

PointView CheckContext::EP(const StrokeView& s, int direction) {
  if (!Measuring() || !s.present()) return {};
  int32_t overflow = 0;
  BuildChainPointList(s.segment, a_.points, &overflow);
  return EPOnScratchChain(direction);
}

PointView CheckContext::EPOnScratchChain(int direction) {
  if (!Measuring()) return {};
  // A chain left by another measure may name points of an earlier table.
  const RecordArray<uint16_t>& chain = a_.points->chain;
  for (int i = 0; i < chain.count; ++i) {
    if (chain.items[i] >= a_.points->points.count) return {};
  }
  int32_t point = -1;
  ExtremePointForCheck(a_.points, direction, &point);
  return StrokePointInFrame(a_, point);
}

PieceList CheckContext::Pieces(const StrokeView& s) {
  PieceList list;
  if (!Measuring() || !s.present() || s.segment->pieces == nullptr) return list;
  for (int i = 0; i < s.segment->pieceCount && list.count < kMaxPathPieces; ++i) {
    const StrokePiece* piece = s.segment->pieces[i];
    if (piece == nullptr || piece->pointCount < 1 || piece->words == nullptr) continue;
    PieceView& v = list.pieces[list.count++];
    v.piece = piece;
    v.kind = piece->directionClass[0];
    v.shapeCode = piece->shapeCode;
    v.entryCode = piece->entryCode[0];
    const int first = piece->words[0], last = piece->words[piece->pointCount - 1];
    v.first = StrokePointInFrame(a_, first);
    v.last = StrokePointInFrame(a_, last);
    if (IsStrokePoint(*a_.points, first) && IsStrokePoint(*a_.points, last)) {
      v.firstX = a_.points->points.items[first].x;
      v.firstY = a_.points->points.items[first].y;
      v.lastX = a_.points->points.items[last].x;
      v.lastY = a_.points->points.items[last].y;
    }
  }
  return list;
}

ExtremePair CheckContext::FarthestExtremes(const StrokeView& s) {
  ExtremePair pair;
  if (!Measuring() || !s.present()) return pair;
  int32_t direction = 0;
  pair.a.present = pair.b.present = pair.present = true;
  MeasureExtremeDistances(a_.points, a_.frame, s.segment, &pair.a.x, &pair.a.y, &pair.b.x,
                          &pair.b.y, &pair.length, &pair.angle, &direction);
  return pair;
}

ChainView CheckContext::Chain(const StrokeView& s) {
  ChainView chain;
  if (!Measuring() || !s.present()) return chain;
  int32_t overflow = 0;
  BuildChainPointList(s.segment, a_.points, &overflow);
  chain.points = a_.points;
  chain.count = a_.points->chain.count;
  return chain;
}

int ChainView::PositionOf(int point) const {
  for (int i = 0; i < count; ++i) {
    if (IndexAt(i) == point) return i;
  }
  return -1;
}

ChainAreas AreasOfChain(const ChainView& chain) {
  ChainAreas areas;
  if (chain.count == 0) return areas;
  int32_t minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
  for (int i = 0; i < chain.count; ++i) {
    const StrokePoint& p = chain.At(i);
    minX = std::min<int32_t>(minX, p.x);
    maxX = std::max<int32_t>(maxX, p.x);
    minY = std::min<int32_t>(minY, p.y);
    maxY = std::max<int32_t>(maxY, p.y);
  }
  PolygonArea(chain.points, &areas.enclosed);
  areas.enclosed = std::abs(areas.enclosed);
  areas.box = int64_t{maxY - minY} * (maxX - minX);
  return areas;
}

int ChainApex(const ChainView& chain) {
  int apex = -1;
  for (int i = 0; i < chain.count; ++i) {
    const StrokePoint& p = chain.At(i);
    if (p.degree != 2) continue;
    const StrokePoint* best = apex < 0 ? nullptr : &chain.points->points.items[apex];
    if (best == nullptr || p.y > best->y || (p.y == best->y && p.x > best->x))
      apex = chain.IndexAt(i);
  }
  return apex < 0 ? 0 : apex;
}

bool NeighbourVectors(const StrokePointTable& points, int point, int32_t* ux, int32_t* uy,
                      int32_t* vx, int32_t* vy) {
  *ux = *uy = *vx = *vy = 0;
  if (!IsStrokePoint(points, point)) return false;
  const StrokePoint& p = points.points.items[point];
  if (p.degree < 2 || !IsStrokePoint(points, p.neighbours[0]) ||
      !IsStrokePoint(points, p.neighbours[1])) {
    return false;
  }
  const StrokePoint& a = points.points.items[p.neighbours[0]];
  const StrokePoint& b = points.points.items[p.neighbours[1]];
  *ux = a.x - p.x;
  *uy = a.y - p.y;
  *vx = b.x - p.x;
  *vy = b.y - p.y;
  return true;
}

int32_t ChordDeviationInFrame(const CheckArgs& a, const uint16_t* points, int count,
                              bool weighted) {
  if (count < 1) return 0;
  int32_t dx = 0, dy = 0;
  return FrameUnits(MeasureChordDeviation(a.points, points, count, &dx, &dy, weighted ? 1 : 0),
                    *a.frame);
}

int32_t ChainTailDeviation(const CheckArgs& a, const ChainView& chain, int from, bool weighted) {
  if (chain.count == 0 || from < 0 || from >= chain.count) return 0;
  return ChordDeviationInFrame(a, chain.points->chain.items + from, chain.count - from, weighted);
}

int32_t PieceDeviation(const CheckArgs& a, const PieceView& piece, bool weighted) {
  if (piece.piece == nullptr) return 0;
  return ChordDeviationInFrame(a, piece.piece->words, piece.piece->pointCount, weighted);
}

PointView CheckContext::End(const StrokeView& s, int which) {
  if (!s.present()) return {};
  return StrokePointInFrame(a_, which == 1 ? s.segment->end1 : s.segment->end2);
}

Corners CheckContext::OutlineCorners() {
  int32_t out[8] = {};
  if (Measuring()) FindChainCornerPoints(a_.contours, nullptr, nullptr, 0, 1, out);
  return CornersFrom(out);
}

Corners CheckContext::CandidateCorners() {
  int32_t out[8] = {};
  if (Measuring()) FindCandidateCornerPoints(a_.points, candidate_, nullptr, nullptr, 0, 1, out);
  return CornersFrom(out);
}

Corners CheckContext::CandidateCorners(const HoleList& extra) {
  int32_t out[8] = {};
  int32_t xs[kMaxListedHoles], ys[kMaxListedHoles];
  for (int i = 0; i < extra.count; ++i) {
    xs[i] = extra.holes[i].x;
    ys[i] = extra.holes[i].y;
  }
  if (Measuring()) FindCandidateCornerPoints(a_.points, candidate_, xs, ys, extra.count, 1, out);
  return CornersFrom(out);
}

Corners CheckContext::StrokeCorners(const StrokeView& s) {
  int32_t out[8] = {};
  if (Measuring() && s.present()) FindStrokeCornerPoints(a_.points, s.segment, 1, out);
  return CornersFrom(out);
}

HoleList CheckContext::Holes(int max) {
  HoleList list;
  if (!Measuring()) return list;
  int32_t sizes[kMaxListedHoles], xs[kMaxListedHoles], ys[kMaxListedHoles];
  list.count = FindHoleCentres(a_.steps, a_.contours, a_.points, a_.frame, sizes, xs, ys,
                               std::clamp(max, 0, kMaxListedHoles), 0);
  for (int i = 0; i < list.count; ++i) {
    HoleList::Hole& h = list.holes[i];
    h.points = sizes[i];
    h.x = xs[i];
    h.y = ys[i];
    NormalizePointToBox(a_.frame, xs[i], ys[i], &h.frameX, &h.frameY);
  }
  return list;
}

PointView CheckContext::ContourInFrame(const ContourPoint* p) const {
  PointView v;
  if (p == nullptr) return v;
  NormalizePointToBox(a_.frame, p->x, -p->y, &v.x, &v.y);
  v.present = true;
  v.contour = p;
  return v;
}

PointView CheckContext::PolygonSource(int strokePoint) const {
  if (!IsStrokePoint(*a_.points, strokePoint)) return {};
  return ContourInFrame(a_.points->points.items[strokePoint].sourcePoint);
}

PointView CheckContext::PairSource(int strokePoint) const {
  if (!IsStrokePoint(*a_.points, strokePoint)) return {};
  const ContourPair* pair = a_.points->points.items[strokePoint].sourcePair;
  return ContourInFrame(pair != nullptr ? pair->a : nullptr);
}

PointView CheckContext::TracedSource(int strokePoint) const {
  return IsThinnedStep(static_cast<uint8_t>(step())) ? PairSource(strokePoint)
                                                     : PolygonSource(strokePoint);
}

PointView CheckContext::ChainStartSource(const StrokeView& s) {
  const ChainView chain = Chain(s);
  return chain.count > 0 ? PolygonSource(chain.IndexAt(0)) : PointView{};
}

PointView CheckContext::XC(const PointView& start, int direction, int weight) const {
  return ContourInFrame(FindContourExtremeWeighted(start.contour, direction, weight));
}

bool OnOuterRing(const PointView& p) {
  return p.contour != nullptr && p.contour->owner != nullptr &&
         p.contour->owner->kind == kContourOuter;
}

void DrawArcEndsTogether(const ContourPoint*& from, const ContourPoint*& to, int steps,
                         bool fromFirst) {
  auto moveTo = [&] {
    if (to != nullptr && to->prev != nullptr && to->prev != from) to = to->prev;
  };
  auto moveFrom = [&] {
    if (from != nullptr && from->next != nullptr && from->next != to) from = from->next;
  };
  for (int i = 0; i < steps; ++i) {
    if (fromFirst) {
      moveFrom();
      moveTo();
    } else {
      moveTo();
      moveFrom();
    }
  }
}

int32_t CheckContext::CornerAngle(const PointView& p, int line) {
  int32_t ux, uy, vx, vy;
  if (!Measuring() || !p.present || !NeighbourVectors(*a_.points, p.index, &ux, &uy, &vx, &vy)) {
    Decide(true, line);
    return 0;
  }
  return AngleAtVertex({0, 0}, {static_cast<int16_t>(ux), static_cast<int16_t>(uy)},
                       {static_cast<int16_t>(vx), static_cast<int16_t>(vy)});
}

int32_t CheckContext::AngleBetween(int32_t ux, int32_t uy, int32_t vx, int32_t vy, int line) {
  if (!Measuring() || (ux == 0 && uy == 0) || (vx == 0 && vy == 0)) {
    Decide(true, line);
    return 0;
  }
  auto part = [](int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, -32767, 32767)); };
  return AngleAtVertex({0, 0}, {part(ux), part(uy)}, {part(vx), part(vy)});
}

void CheckContext::Relabel(uint16_t classCode, int line) {
  if (decided_) return;
  candidate_->valid = classCode;
  Decide(false, line);
}

void CheckContext::RelabelWithDistance(uint16_t classCode, int16_t distance, int line) {
  if (decided_) return;
  candidate_->distance = distance;
  Relabel(classCode, line);
}

void CheckContext::RejectAllCandidates() {
  const int n = std::min<int>(a_.modelSet->modelCount, kMaxShapeCandidates);
  for (int m = 0; m < n; ++m) a_.work->candidates[m].valid = 0;
}

void CheckContext::Finish() {
  verdict_.routine = candidate_->model->name;
  g_lastCheckVerdict = verdict_;
}
