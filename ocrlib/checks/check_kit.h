// The vocabulary of the class-check rows: the candidate's strokes and points
// as the rows name them, the measures the rows take of them, and decisions
// that read like the rows themselves.
//
// How a row is written
// --------------------
// A row is a function of one CheckContext, bound to its class in the
// class-check table through RunCheckRow. Its conditions run in order; the
// first that fails rejects the candidate (its class code becomes 0) and every
// later decision, measure and relabelling is then a no-op, so a row is written
// straight through, like its line of the table. An absent stroke or an
// unmatched point that a row reads unconditionally rejects. Example, the row
// "2b: S0 cx 35..225, y1 >= 120, ...; reject when MCN(S0).dev is -14..51;
// S1 ...; F1: y <= 128; F2?: x 80..180":
//
//   void CheckDigit2b(CheckContext& c) {
//     const StrokeView s0 = c.S(0);             // absent: rejected
//     c.Require(s0, {cx(35, 225), y1 >= 120, ux(-60, 90)});
//     c.RejectWhen(c.Mcn(s0, kMcnOffsets128), {dev(-14, 51)});
//     c.Require(c.S(1), {cx(90, 225), cy <= 120});
//     c.Require(c.F(0), {y <= 128});            // F1: read whatever its index
//     c.RequireIfPresent(c.OptF(1), {x(80, 180), y >= 100});  // F2?
//   }
//
// Notation is explicit wherever the tables of the character families differ:
// - bounds: name(a, b) is the inclusive range a..b; <=, >= are inclusive and
//   <, > strict ("168 <= cx < 251" is written cx >= 168, cx < 251);
// - the chord measure's offsets: Mcn(stroke, mode) with kMcnRaw (MCN0),
//   kMcnDev128, kMcnOffsets128 or kMcnAll128;
// - half differences: ux, uy = (x1 - x2) / 2, (y1 - y2) / 2 truncating
//   (also named hX, hY) and dX, dY = ux + 128, uy + 128;
// - angles: Tilt (-90..90, the slope angle), Ang (folded into 0..179), Slope
//   (hundredths, 32767 when vertical), Len (frame units);
// - contour sources: PolygonSource (the contour point of the polygon steps)
//   and PairSource (the first point of the thinned steps' pair), never read
//   as the other kind.
// Frame points have y growing upward, 0 at the bottom of the character.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "ocrlib/checks/checks_internal.h"

// The eight arguments of every check.
struct CheckArgs {
  StrokeStepList* steps;
  ContourSet* contours;
  StrokePointTable* points;
  CharFrame* frame;
  StrokeGraph* graph;
  StrokeNodeLists* nodeLists;
  const StrokeModelSet* modelSet;
  SessionWorkArea* work;
};

// ---- what the rows read ----------------------------------------------------------
// A model stroke's segment and its features in the frame.
struct StrokeView {
  const StrokeSegment* segment = nullptr;  // null: absent
  int32_t cx = 0, cy = 0;                  // centre of its box
  int32_t x1 = 0, y1 = 0;                  // end 1 (straight strokes: the bend offset)
  int32_t x2 = 0, y2 = 0;                  // end 2 (straight strokes: half width and height)
  int32_t w = 0, h = 0;                    // box (straight strokes: the orientation vector)
  int32_t ux = 0, uy = 0;                  // (x1 - x2) / 2, (y1 - y2) / 2
  int32_t dX = 0, dY = 0;                  // ux + 128, uy + 128
  int32_t code = -1, kind = -1, subKind = -1;
  bool present() const { return segment != nullptr; }
};

// A point in the frame: a feature point, a chain point, a contour point or a
// corner.
struct PointView {
  bool present = false;
  int32_t x = 0, y = 0;
  int32_t kind = -1;                      // feature points: 0 'X', 1 'K', 2 'T'
  int32_t index = -1;                     // feature point or stroke point index
  const ContourPoint* contour = nullptr;  // contour points
};

// The chord measure of a stroke: deviation and offset vector in frame units,
// with the offsets of its mode.
struct McnView {
  bool present = false;
  int32_t dev = 0, ox = 0, oy = 0;
};

enum McnMode : int {
  kMcnRaw = 0,         // nothing added
  kMcnDev128 = 1,      // 128 added to dev
  kMcnOffsets128 = 2,  // 128 added to ox and oy
  kMcnAll128 = 3,      // 128 added to all three
};

// ---- windows ---------------------------------------------------------------------------
constexpr int32_t kNoLowerBound = INT32_MIN;
constexpr int32_t kNoUpperBound = INT32_MAX;

template <class View>
struct Window {
  int32_t View::*field;
  int32_t low, high;
  bool Holds(const View& v) const { return v.*field >= low && v.*field <= high; }
};

template <class View>
struct FieldName {
  int32_t View::*field;
  constexpr Window<View> operator()(int32_t low, int32_t high) const { return {field, low, high}; }
  constexpr Window<View> operator<=(int32_t v) const { return {field, kNoLowerBound, v}; }
  constexpr Window<View> operator>=(int32_t v) const { return {field, v, kNoUpperBound}; }
  constexpr Window<View> operator<(int32_t v) const { return {field, kNoLowerBound, v - 1}; }
  constexpr Window<View> operator>(int32_t v) const { return {field, v + 1, kNoUpperBound}; }
};

// The names of the rows. Check files say `using namespace checkrow;`.
namespace checkrow {
inline constexpr FieldName<StrokeView> cx{&StrokeView::cx}, cy{&StrokeView::cy};
inline constexpr FieldName<StrokeView> x1{&StrokeView::x1}, y1{&StrokeView::y1};
inline constexpr FieldName<StrokeView> x2{&StrokeView::x2}, y2{&StrokeView::y2};
inline constexpr FieldName<StrokeView> w{&StrokeView::w}, h{&StrokeView::h};
inline constexpr FieldName<StrokeView> ux{&StrokeView::ux}, uy{&StrokeView::uy};
inline constexpr FieldName<StrokeView> hX{&StrokeView::ux}, hY{&StrokeView::uy};
inline constexpr FieldName<StrokeView> dX{&StrokeView::dX}, dY{&StrokeView::dY};
inline constexpr FieldName<StrokeView> code{&StrokeView::code};
inline constexpr FieldName<McnView> dev{&McnView::dev}, ox{&McnView::ox}, oy{&McnView::oy};
inline constexpr FieldName<PointView> x{&PointView::x}, y{&PointView::y};
}  // namespace checkrow

// ---- angles and lengths of frame vectors -----------------------------------------------
// ArctanPercent of 100 dy / dx (C division), 90 when dx is 0: -90..90.
int32_t Tilt(int32_t dx, int32_t dy);
// Tilt folded into 0..179 (180 added when negative).
int32_t Ang(int32_t dx, int32_t dy);
// 100 dy / dx, 32767 when dx is 0.
int32_t Slope(int32_t dx, int32_t dy);
// ApproxDistance / 256: the length in whole units.
int32_t Len(int32_t dx, int32_t dy);
inline int32_t Tilt(const PointView& from, const PointView& to) {
  return Tilt(to.x - from.x, to.y - from.y);
}
inline int32_t Ang(const PointView& from, const PointView& to) {
  return Ang(to.x - from.x, to.y - from.y);
}
inline int32_t Len(const PointView& from, const PointView& to) {
  return Len(to.x - from.x, to.y - from.y);
}
// Pixel measures d (256 x pixels) into frame units: (d + s / 2) / s.
int32_t FrameUnits(int32_t d256, const CharFrame& frame);

// ---- pieces ---------------------------------------------------------------------------
// One piece of a stroke's path, in path order.
struct PieceView {
  const StrokePiece* piece = nullptr;
  int32_t kind = -1;       // its first direction class: 0 flat, 1 rising, 2 upright, 3 falling
  int32_t shapeCode = -1;  // direction code of the section it was cut from
  int32_t entryCode = -1;  // of its first connection
  PointView first, last;   // first and last point of its run, in the frame
  int32_t firstX = 0, firstY = 0, lastX = 0, lastY = 0;  // the same in pixels
};

constexpr int kMaxPathPieces = 64;
struct PieceList {
  int count = 0;
  PieceView pieces[kMaxPathPieces];
  const PieceView& operator[](int i) const { return pieces[i]; }
  // The pieces from the second to the second-to-last (none below three).
  int InnerBegin() const { return 1; }
  int InnerEnd() const { return count >= 3 ? count - 1 : 1; }
};

// ---- a stroke's chain in pixels -----------------------------------------------------------
struct ChainView {
  const StrokePointTable* points = nullptr;
  int count = 0;  // 0: no chain (absent stroke, or the row has decided)
  int IndexAt(int i) const { return points->chain.items[i]; }
  const StrokePoint& At(int i) const { return points->points.items[IndexAt(i)]; }
  // Position of stroke point `point` in the chain, -1 when it is not there.
  int PositionOf(int point) const;
};

// The area (square pixels) the chain encloses (the absolute value of its
// polygon's area) and the area of the box of its points; both 0 without a
// chain.
struct ChainAreas {
  int32_t enclosed = 0;
  int64_t box = 0;
};
ChainAreas AreasOfChain(const ChainView& chain);

// Among the chain's points of degree 2 the highest (the rightmost of equals);
// stroke point 0 when there is none.
int ChainApex(const ChainView& chain);
// The vectors (pixels) from a stroke point to its first and second
// neighbour; false when it has fewer than two.
bool NeighbourVectors(const StrokePointTable& points, int point, int32_t* ux, int32_t* uy,
                      int32_t* vx, int32_t* vy);
// The chord deviation (unweighted or weighted towards the middle) of the
// listed stroke points, in frame units, positive on the right of first ->
// last.
int32_t ChordDeviationInFrame(const CheckArgs& a, const uint16_t* points, int count, bool weighted);
// The same over chain positions from..count - 1.
int32_t ChainTailDeviation(const CheckArgs& a, const ChainView& chain, int from, bool weighted);
// The same over one piece's run of points.
int32_t PieceDeviation(const CheckArgs& a, const PieceView& piece, bool weighted);

// ---- the holes of the outline -----------------------------------------------------------
constexpr int kMaxListedHoles = 8;
struct HoleList {
  int count = 0;
  struct Hole {
    int32_t points;          // contour point count
    int32_t x, y;            // centre, pixels (y up)
    int32_t frameX, frameY;  // centre in the frame
  } holes[kMaxListedHoles];
};

// The four corner points of a set of points (C1 largest y - x, C2 largest
// x + y, C3 largest x - y, C4 smallest x + y), rescaled into 0..255 of their
// box unless asked in their own units.
struct Corners {
  PointView c1, c2, c3, c4;
};

// The two opposite chain extremes of a stroke that lie farthest apart (A in
// direction k, B in direction k + 4), their distance and the direction of
// the pair (0..179), in the frame.
struct ExtremePair {
  bool present = false;
  PointView a, b;
  int32_t length = 0, angle = 0;
  // The higher of the two: B when it is at least as high as A.
  const PointView& Upper() const { return b.y >= a.y ? b : a; }
};

// ---- the last verdict -------------------------------------------------------------------
// Where the last check routine decided (the source line of the decision), for
// the tests and the diagnostics of a recognition run; nothing reads it.
struct CheckVerdict {
  const char* routine = nullptr;
  int line = 0;
  bool rejected = false;
  bool decided = false;
};
extern CheckVerdict g_lastCheckVerdict;

// ---- the context of one row ----------------------------------------------------------------
class CheckContext {
 public:
  explicit CheckContext(const CheckArgs& args);
  const CheckArgs& args() const { return a_; }
  ShapeCandidate& candidate() const { return *candidate_; }
  bool decided() const { return decided_; }
  bool rejected() const { return rejected_; }
  const CheckVerdict& verdict() const { return verdict_; }

  // -- the candidate and the character
  int distance() const { return candidate_->distance; }
  int step() const { return CurrentStrokeStep(*a_.steps); }
  bool OnLinePath() const { return a_.steps->path == 1; }
  // The set reads digits and capital letters together (the rows' [mask]).
  bool DigitsAndCapitals() const;
  int SegmentTotal() const { return a_.graph->segmentTotal; }
  int GroupCount() const { return a_.graph->groups.count; }
  int FeatureCount() const { return a_.nodeLists->marks.count; }  // n(F)
  const CharFrame& frame() const { return *a_.frame; }

  // Model stroke k (S0, S1, ...): absent rejects; OptS leaves absence to the row.
  StrokeView S(int k, int line = __builtin_LINE());
  StrokeView OptS(int k) const;
  // The feature point matched to model point k (F1 is point 0): unmatched
  // rejects; OptF leaves it to the row.
  PointView F(int k, int line = __builtin_LINE());
  PointView OptF(int k) const;
  // Entry k of the character's feature points (G0, G1), whatever they matched.
  PointView G(int k, int line = __builtin_LINE());

  // -- decisions: each is a no-op once the row has decided, and each returns
  //    whether the row goes on.
  bool Require(const StrokeView& s, std::initializer_list<Window<StrokeView>> windows,
               int line = __builtin_LINE());
  bool Require(const McnView& m, std::initializer_list<Window<McnView>> windows,
               int line = __builtin_LINE());
  bool Require(const PointView& p, std::initializer_list<Window<PointView>> windows,
               int line = __builtin_LINE());
  // The same for an optional stroke or point: nothing is tested when absent.
  bool RequireIfPresent(const StrokeView& s, std::initializer_list<Window<StrokeView>> windows,
                        int line = __builtin_LINE());
  bool RequireIfPresent(const PointView& p, std::initializer_list<Window<PointView>> windows,
                        int line = __builtin_LINE());
  // Rejects when every window holds ("reject when dev is -14..51").
  bool RejectWhen(const StrokeView& s, std::initializer_list<Window<StrokeView>> windows,
                  int line = __builtin_LINE());
  bool RejectWhen(const McnView& m, std::initializer_list<Window<McnView>> windows,
                  int line = __builtin_LINE());
  bool RejectWhen(const PointView& p, std::initializer_list<Window<PointView>> windows,
                  int line = __builtin_LINE());
  bool Need(bool holds, int line = __builtin_LINE());  // rejects unless it holds
  bool RejectIf(bool holds, int line = __builtin_LINE());
  bool AcceptWhen(bool holds, int line = __builtin_LINE());
  void Accept(int line = __builtin_LINE()) { AcceptWhen(true, line); }
  void Reject(int line = __builtin_LINE()) { RejectIf(true, line); }
  // [mask]: without digits and capitals together the candidate is accepted here.
  bool AcceptUnlessDigitsAndCapitals(int line = __builtin_LINE());
  // Rejects a distance above the limit.
  bool LimitDistance(int32_t limit, int line = __builtin_LINE());
  // Rejects a distance above the limit listed for the stroke's code.
  struct CodeLimit {
    int32_t code, limit;
  };
  bool LimitDistanceByCode(const StrokeView& s, std::initializer_list<CodeLimit> limits,
                           int line = __builtin_LINE());
  // The loop step: off the line path, rejects every candidate of the set
  // when the outline is a single loop.
  void RejectAllOnSingleLoop(int line = __builtin_LINE());

  // -- measures: absent once decided or of an absent stroke
  McnView Mcn(const StrokeView& s, McnMode mode);
  // Chain extremes in direction 0..7 (0 lowest, 2 leftmost, 4 highest, 6
  // rightmost; 1, 3, 5, 7 lower left, upper left, upper right, lower right).
  PointView XP(const StrokeView& s, int direction, int weight);  // weighted tie-break
  PointView EP(const StrokeView& s, int direction);              // the checks' own search
  // The same on whatever the scratch chain holds now (rows that read the
  // chain an earlier measure left).
  PointView EPOnScratchChain(int direction);
  PieceList Pieces(const StrokeView& s);
  // The stroke's farthest pair of opposite chain extremes.
  ExtremePair FarthestExtremes(const StrokeView& s);
  // The stroke's chain in the scratch chain of the point table (pixels, y up).
  ChainView Chain(const StrokeView& s);
  // End 1 or 2 of a stroke as a point (its index and frame position).
  PointView End(const StrokeView& s, int which);
  Corners OutlineCorners();    // every contour point, rescaled
  Corners CandidateCorners();  // the candidate's strokes, rescaled
  // The same with the centres of the listed holes as further points.
  Corners CandidateCorners(const HoleList& extra);
  Corners StrokeCorners(const StrokeView& s);
  HoleList Holes(int max);

  // The angle (0..180) at a stroke point between its first two recorded
  // neighbours, a zero-length side giving 90; a point absent or with fewer
  // than two neighbours rejects.
  int32_t CornerAngle(const PointView& p, int line = __builtin_LINE());
  // The angle (0..180) between two vectors; a zero-length vector rejects.
  int32_t AngleBetween(int32_t ux, int32_t uy, int32_t vx, int32_t vy, int line = __builtin_LINE());

  // -- contours
  // The contour point a stroke point was traced from on the polygon steps;
  // the first point of the contour pair it was traced from on the thinned
  // steps. Absent when the point records the other kind or none.
  PointView PolygonSource(int strokePoint) const;
  PointView PairSource(int strokePoint) const;
  // Whichever of the two the current step records.
  PointView TracedSource(int strokePoint) const;
  // The polygon-step source of the first point of a stroke's chain.
  PointView ChainStartSource(const StrokeView& s);
  PointView ContourInFrame(const ContourPoint* p) const;
  // The ring point of `start` farthest in a direction (weighted tie-break).
  PointView XC(const PointView& start, int direction, int weight) const;

  // -- what some rows do beyond rejecting
  // The candidate stands for another class; the row ends.
  void Relabel(uint16_t classCode, int line = __builtin_LINE());
  void RelabelWithDistance(uint16_t classCode, int16_t distance, int line = __builtin_LINE());
  void RejectAllCandidates();  // every candidate of the set

  // Records the verdict (RunCheckRow calls it).
  void Finish();

 private:
  bool Decide(bool reject, int line);
  bool Measuring() const { return !decided_; }
  template <class View>
  bool RequireWindows(bool present, const View& v, std::initializer_list<Window<View>> windows,
                      int line);
  template <class View>
  bool RejectInWindows(bool present, const View& v, std::initializer_list<Window<View>> windows,
                       int line);

  CheckArgs a_;
  ShapeCandidate* candidate_;
  bool decided_ = false;
  bool rejected_ = false;
  CheckVerdict verdict_;
};

// Binds a row to the eight-argument routine of the table.
template <void (*Row)(CheckContext&)>
void RunCheckRow(StrokeStepList* steps, ContourSet* contours, StrokePointTable* points,
                 CharFrame* frame, StrokeGraph* graph, StrokeNodeLists* nodeLists,
                 const StrokeModelSet* modelSet, SessionWorkArea* work) {
  if (work->current == nullptr || work->current->model == nullptr) return;
  CheckContext c({steps, contours, points, frame, graph, nodeLists, modelSet, work});
  Row(c);
  c.Finish();
}

// ---- free measures (ungated) ------------------------------------------------------------
StrokeView ViewOfSegment(const StrokeSegment* s);
// A contour point of an outer ring.
bool OnOuterRing(const PointView& p);
// Draws the ends of a stretch of ring towards each other, `steps` times:
// `to` one link back along predecessors, then `from` one link on along
// successors (`from` first when `fromFirst`); an end stays where the next
// link is missing or is the other end.
void DrawArcEndsTogether(const ContourPoint*& from, const ContourPoint*& to, int steps,
                         bool fromFirst = false);
// Frame position of a stroke point.
PointView StrokePointInFrame(const CheckArgs& a, int point);
// Position of the model named `name` in the set's selection, or of the first
// from `from` on whose name begins with `prefix`; -1 when there is none.
int FindModelByName(const StrokeModelSet& set, const char* name);
int FindModelByPrefix(const StrokeModelSet& set, const char* prefix, int from);
