// The readings of a line: every run of neighbouring pieces narrow and tall
// enough, recognised against the digit models; the links between readings
// that may follow each other (by their pieces, the points they share, the
// pairs of digits that may share them and their heights); and the paths from
// the line's start to its end through those links.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kMaxHypotheses = 256;
constexpr int kMaxLinks = 32;
constexpr int kMaxPaths = 64;

int Fail(uint16_t code) {
  PushErrorCode(code);
  return -9;
}

// Which right digits may share one stroke point with a left digit, and which
// two or more: bit d of row l.
constexpr uint16_t Digits(std::initializer_list<int> ds) {
  uint16_t bits = 0;
  for (int d : ds) bits = static_cast<uint16_t>(bits | (1 << d));
  return bits;
}
constexpr uint16_t kDigitPairOneShared[10] = {
    Digits({}),
    Digits({2, 3}),
    Digits({1, 3, 5, 9}),
    Digits({}),
    Digits({1, 2, 3, 5, 7}),
    Digits({0, 1, 2, 3, 4, 5, 6, 7}),
    Digits({1, 2, 3, 7}),
    Digits({4}),
    Digits({1, 2, 3, 6, 7}),
    Digits({}),
};
constexpr uint16_t kDigitPairTwoShared[10] = {
    Digits({0, 1, 2, 3, 4, 6, 8, 9}),
    Digits({8}),
    Digits({0, 1, 2, 3, 6, 8, 9}),
    Digits({0, 1, 2, 3, 4, 5, 6, 8, 9}),
    Digits({8}),
    Digits({0, 3, 4, 5, 6, 8, 9}),
    Digits({0, 2, 3, 4, 5, 6, 8, 9}),
    Digits({2, 3, 5, 6, 8, 9}),
    Digits({0, 2, 3, 5, 6, 8, 9}),
    Digits({0, 2, 3, 5, 6, 8, 9}),
};

// Pairs that may follow each other across small leftovers between them.
bool IsTolerantPair(int a, int b) {
  static constexpr int kPairs[][2] = {{0, 0}, {2, 0}, {2, 5}, {5, 0}, {8, 0},
                                      {8, 6}, {8, 8}, {8, 9}, {5, 6}};
  for (const auto& p : kPairs) {
    if (p[0] == a && p[1] == b) return true;
  }
  return false;
}

struct Hypothesis {
  int firstPiece, lastPiece;
  int64_t length;
  int32_t minX, maxX, minY, maxY;
  int16_t distance;
  int64_t score;
  int digit;
  int linkCount, backCount;
  int next[kMaxLinks];
  int64_t gap[kMaxLinks];
};

struct Box {
  int32_t minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
  int64_t length = 0;
  bool empty() const { return minX > maxX; }
  int32_t height() const { return empty() ? 0 : maxY - minY; }
};

class LineReading {
 public:
  LineReading(StrokeStepList* steps, ContourSet* contours, StrokePointTable* points,
              const StrokeModelSet* set, SessionWorkArea* work, const ShapeCheckRoutines* checks,
              LinePieceSet* pieces, StrokeRecordStore* range)
      : steps_(steps),
        contours_(contours),
        points_(points),
        set_(set),
        work_(work),
        checks_(checks),
        p_(*pieces),
        range_(*range) {}

  int Recognise();
  int Link();
  int ChoosePath(int16_t* count, uint8_t* values, int maxValues);

 private:
  int RecogniseRange(int first, int last);
  void CopyPiecePoints(int first, int last);
  Box Between(int first, int last) const;
  bool Ignorable(const Box& box) const { return box.height() <= p_.measures.minHeight; }
  int SharedPieceJoins(const Hypothesis& a, const Hypothesis& b) const;
  bool CheckSharedPoints(const Hypothesis& a, const Hypothesis& b) const;
  int DegreeWithin(int point, int first, int last) const;
  int UseCount(int point, int first, int last) const;
  bool CanFollow(const Hypothesis& a, const Hypothesis& b, int64_t* gap) const;
  int AddLink(int from, int to, int64_t gap);
  int Walk(int node, int64_t gaps, std::vector<int>& path);

  StrokeStepList* steps_;
  ContourSet* contours_;
  StrokePointTable* points_;
  const StrokeModelSet* set_;
  SessionWorkArea* work_;
  const ShapeCheckRoutines* checks_;
  LinePieceSet& p_;
  StrokeRecordStore& range_;
  std::vector<Hypothesis> hyps_;
  std::vector<int> starts_, ends_;
  std::vector<int> bestPath_;
  int64_t bestScore_ = 0;
  int paths_ = 0;
};

// The points of pieces first..last as a point table of their own: each
// distinct point once, with only its neighbours inside the range.
void LineReading::CopyPiecePoints(int first, int last) {
  BindStrokeRecordStore(range_);
  StrokePointTable& t = range_.points;
  std::vector<int16_t> index(points_->points.count, -1);
  for (int i = first; i <= last; ++i) {
    const LinePiece& piece = p_.pieces[i];
    for (int k = 0; k < piece.count && t.points.count < kMaxLinePiecePoints; ++k) {
      const int source = piece.points[k];
      if (index[source] >= 0) continue;
      index[source] = t.points.count;
      const StrokePoint& from = points_->points.items[source];
      StrokePoint& to = t.points.items[t.points.count++];
      to = StrokePoint{};
      to.x = from.x;
      to.y = from.y;
      to.kind = from.kind;
      to.edge = from.edge;
      to.sourcePoint = from.sourcePoint;
      to.sourcePair = from.sourcePair;
    }
  }
  int32_t minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
  for (int source = 0; source < points_->points.count; ++source) {
    if (index[source] < 0) continue;
    const StrokePoint& from = points_->points.items[source];
    StrokePoint& to = t.points.items[index[source]];
    for (int n = 0; n < from.degree && n < kMaxPointNeighbours; ++n) {
      const int other = index[from.neighbours[n]];
      if (other >= 0) to.neighbours[to.degree++] = static_cast<uint16_t>(other);
    }
    to.savedX = to.x;
    to.savedY = to.y;
    to.savedDegree = to.degree;
    std::copy(std::begin(to.neighbours), std::end(to.neighbours), std::begin(to.savedNeighbours));
    minX = std::min<int32_t>(minX, to.x);
    maxX = std::max<int32_t>(maxX, to.x);
    minY = std::min<int32_t>(minY, to.y);
    maxY = std::max<int32_t>(maxY, to.y);
  }
  t.extractedCount = t.points.count;
  t.width = static_cast<int16_t>(maxX - minX);
  t.height = static_cast<int16_t>(maxY - minY);
  t.refSize = std::max(t.width, t.height);
}

int LineReading::RecogniseRange(int first, int last) {
  CopyPiecePoints(first, last);
  StrokeStepList steps;
  steps.path = 1;
  steps.family = kStepFamilyThinned;
  steps.count = 1;
  steps.steps[0] = 1;
  StrokeRecordStore& r = range_;
  if (AnalyseStrokeStructure(&steps, &r.points, &r.frame, &r.graph, &r.nodeLists) != 0) return -9;
  if (NormalizeStrokeFrame(&steps, &r.points, &r.frame, &r.graph, &r.nodeLists) != 0) return -9;
  if (VerifyCandidatesByShape(&steps, contours_, &r.points, &r.frame, &r.graph, &r.nodeLists, set_,
                              work_, checks_) != 0) {
    return -9;
  }
  if (work_->survivorCount < 1) return 0;
  // The digit of the class code: a leading '@' names the same digit.
  const int best = work_->survivorModel[0];
  const uint16_t code = ClassCodeOfName(set_->models[best].name);
  if (code < '0' || code > '9') return 0;
  if (static_cast<int>(hyps_.size()) >= kMaxHypotheses) return Fail(kErrCapacityFull);
  Hypothesis h = {};
  h.firstPiece = first;
  h.lastPiece = last;
  h.minX = h.minY = INT32_MAX;
  h.maxX = h.maxY = INT32_MIN;
  for (int i = first; i <= last; ++i) {
    const LinePiece& piece = p_.pieces[i];
    h.length += piece.length;
    h.minX = std::min(h.minX, piece.minX);
    h.maxX = std::max(h.maxX, piece.maxX);
    h.minY = std::min(h.minY, piece.minY);
    h.maxY = std::max(h.maxY, piece.maxY);
  }
  h.distance = work_->survivorDistance[0];
  h.score = int64_t{h.distance} * h.length;
  h.digit = code - '0';
  hyps_.push_back(h);
  return 0;
}

int LineReading::Recognise() {
  const LineMeasures& m = p_.measures;
  for (int i = 0; i < p_.count; ++i) {
    int32_t minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
    for (int j = i; j < p_.count; ++j) {
      minX = std::min(minX, p_.pieces[j].minX);
      maxX = std::max(maxX, p_.pieces[j].maxX);
      minY = std::min(minY, p_.pieces[j].minY);
      maxY = std::max(maxY, p_.pieces[j].maxY);
      if (maxX - minX >= m.maxWidth) break;  // wider ranges follow
      if (maxY - minY <= m.minHeight) continue;
      if (RecogniseRange(i, j) != 0) return -9;
    }
  }
  return 0;
}

Box LineReading::Between(int first, int last) const {
  Box box;
  for (int i = first; i <= last; ++i) {
    const LinePiece& piece = p_.pieces[i];
    box.minX = std::min(box.minX, piece.minX);
    box.maxX = std::max(box.maxX, piece.maxX);
    box.minY = std::min(box.minY, piece.minY);
    box.maxY = std::max(box.maxY, piece.maxY);
    box.length += piece.length;
  }
  return box;
}

int LineReading::DegreeWithin(int point, int first, int last) const {
  const StrokePoint& p = points_->points.items[point];
  int degree = 0;
  for (int n = 0; n < p.degree && n < kMaxPointNeighbours; ++n) {
    if (UseCount(p.neighbours[n], first, last) > 0) ++degree;
  }
  return degree;
}

int LineReading::UseCount(int point, int first, int last) const {
  int uses = 0;
  for (int i = first; i <= last; ++i) {
    const LinePiece& piece = p_.pieces[i];
    for (int k = 0; k < piece.count; ++k) uses += piece.points[k] == point;
  }
  return uses;
}

// Two readings that share their boundary piece may do so only when it runs
// between junctions that both of them hold.
int LineReading::SharedPieceJoins(const Hypothesis& a, const Hypothesis& b) const {
  const LinePiece& shared = p_.pieces[a.lastPiece];
  for (const int end : {shared.points[0], shared.points[shared.count - 1]}) {
    if (DegreeWithin(end, a.firstPiece, a.lastPiece) < 3 ||
        DegreeWithin(end, b.firstPiece, b.lastPiece) < 3) {
      return 0;
    }
  }
  return 1;
}

bool LineReading::CheckSharedPoints(const Hypothesis& a, const Hypothesis& b) const {
  if (b.minX > a.maxX) return true;
  if (a.maxX - b.minX > p_.measures.overlapTolerance) return false;
  if ((a.digit == 1 || a.digit == 9) && b.digit == 1) return false;
  int shared = 0;
  bool usedOnce = true;
  for (int i = a.firstPiece; i <= a.lastPiece; ++i) {
    const LinePiece& piece = p_.pieces[i];
    for (int k = 0; k < piece.count; ++k) {
      const int point = piece.points[k];
      const int usesB = UseCount(point, b.firstPiece, b.lastPiece);
      if (usesB == 0) continue;
      const int usesA = UseCount(point, a.firstPiece, a.lastPiece);
      // Count each shared point at its first use in A.
      bool firstUse = true;
      for (int j = a.firstPiece; j <= i && firstUse; ++j) {
        const LinePiece& earlier = p_.pieces[j];
        const int limit = j == i ? k : earlier.count;
        for (int m = 0; m < limit; ++m) firstUse = firstUse && earlier.points[m] != point;
      }
      if (!firstUse) continue;
      ++shared;
      usedOnce = usedOnce && usesA == 1 && usesB == 1;
    }
  }
  if (shared >= 3) return false;
  if (shared == 1 && usedOnce && !(kDigitPairOneShared[a.digit] & (1 << b.digit))) return false;
  if ((shared >= 2 || (shared == 1 && !usedOnce)) &&
      !(kDigitPairTwoShared[a.digit] & (1 << b.digit))) {
    return false;
  }
  // Side by side, one may not be much shorter than the other.
  const int64_t ha = a.maxY - a.minY, hb = b.maxY - b.minY;
  const bool aInside = a.minY >= b.minY && a.maxY <= b.maxY;
  const bool bInside = b.minY >= a.minY && b.maxY <= a.maxY;
  if (aInside || bInside) {
    const int64_t inner = aInside ? ha : hb, outer = aInside ? hb : ha;
    return inner * 256 >= 154 * outer;
  }
  const int64_t overlap = std::min(a.maxY, b.maxY) - std::max(a.minY, b.minY);
  return overlap * 256 >= 154 * std::min(ha, hb);
}

bool LineReading::CanFollow(const Hypothesis& a, const Hypothesis& b, int64_t* gap) const {
  if (a.lastPiece > b.firstPiece) return false;
  if (a.lastPiece == b.firstPiece && !SharedPieceJoins(a, b)) return false;
  const LineMeasures& m = p_.measures;
  const int between = b.firstPiece - a.lastPiece - 1;
  const Box box = between > 0 ? Between(a.lastPiece + 1, b.firstPiece - 1) : Box{};
  bool tolerant = IsTolerantPair(a.digit, b.digit);
  if (between > 0 && tolerant)
    tolerant = box.height() <= m.minHeight && box.length <= m.maxGap * 256;
  if (!tolerant && between > 0) {
    if (box.maxX > b.minX + m.overlapTolerance || box.minX < a.maxX - m.overlapTolerance)
      return false;
    if (!Ignorable(box)) return false;
  }
  if (!CheckSharedPoints(a, b)) return false;
  *gap = box.length;
  if (box.length <= int64_t{m.maxGap} * 256) return true;
  if (tolerant && ((a.digit == 0 && b.digit == 0) || between == 1)) {
    *gap = 0;
    return true;
  }
  return false;
}

int LineReading::AddLink(int from, int to, int64_t gap) {
  Hypothesis& a = hyps_[from];
  if (a.linkCount >= kMaxLinks || hyps_[to].backCount >= kMaxLinks) return Fail(kErrCapacityFull);
  a.next[a.linkCount] = to;
  a.gap[a.linkCount] = gap;
  ++a.linkCount;
  ++hyps_[to].backCount;
  return 0;
}

int LineReading::Link() {
  const LineMeasures& m = p_.measures;
  const int n = static_cast<int>(hyps_.size());
  for (int b = 0; b < n; ++b) {
    const Hypothesis& h = hyps_[b];
    const Box before = h.firstPiece > 0 ? Between(0, h.firstPiece - 1) : Box{};
    if (before.length <= int64_t{m.maxGap} * 256 && Ignorable(before)) {
      if (static_cast<int>(starts_.size()) >= kMaxLinks) return Fail(kErrCapacityFull);
      starts_.push_back(b);
    }
    const Box after = h.lastPiece + 1 < p_.count ? Between(h.lastPiece + 1, p_.count - 1) : Box{};
    if (after.length <= int64_t{m.maxGap} * 256 && Ignorable(after)) {
      if (static_cast<int>(ends_.size()) >= kMaxLinks) return Fail(kErrCapacityFull);
      ends_.push_back(b);
    }
    for (int c = 0; c < n; ++c) {
      int64_t gap = 0;
      if (c != b && CanFollow(h, hyps_[c], &gap) && AddLink(b, c, gap) != 0) return -9;
    }
  }
  return 0;
}

// Depth first from a reading to the line's end; a path whose gaps add up to
// maxGap or more is dropped.
int LineReading::Walk(int node, int64_t gaps, std::vector<int>& path) {
  if (gaps >= int64_t{p_.measures.maxGap} * 256) return 0;
  path.push_back(node);
  const Hypothesis& h = hyps_[node];
  if (std::find(ends_.begin(), ends_.end(), node) != ends_.end()) {
    if (++paths_ > kMaxPaths) return Fail(kErrCapacityFull);
    int64_t score = 0;
    for (int k : path) score += hyps_[k].score;
    if (bestPath_.empty() || score < bestScore_) {
      bestPath_ = path;
      bestScore_ = score;
    }
  }
  for (int l = 0; l < h.linkCount; ++l) {
    if (Walk(h.next[l], gaps + h.gap[l], path) != 0) return -9;
  }
  path.pop_back();
  return 0;
}

// The path with the lowest score (the sum of distance x length over its
// readings), the first found on a tie.
int LineReading::ChoosePath(int16_t* count, uint8_t* values, int maxValues) {
  *count = 0;
  std::vector<int> path;
  for (int start : starts_) {
    if (Walk(start, 0, path) != 0) return -9;
  }
  int n = 0;
  for (int k : bestPath_) {
    if (n < maxValues) values[n++] = static_cast<uint8_t>('0' + hyps_[k].digit);
  }
  *count = static_cast<int16_t>(n);
  return 0;
}

}  // namespace

int AnalyseStrokeSegments(StrokeStepList* steps, ContourSet* contours, StrokePointTable* points,
                          const StrokeModelSet* modelSet, SessionWorkArea* work,
                          const ShapeCheckRoutines* checks, int16_t* count, uint8_t* values,
                          int maxValues) {
  *count = 0;
  std::unique_ptr<LinePieceSet> pieces(new (std::nothrow) LinePieceSet);
  std::unique_ptr<StrokeRecordStore> range(new (std::nothrow) StrokeRecordStore);
  if (!pieces || !range) return Fail(kErrNoMemory);
  if (CutLinePieces(points, pieces.get()) != 0) return -9;
  LineReading reading(steps, contours, points, modelSet, work, checks, pieces.get(), range.get());
  if (reading.Recognise() != 0 || reading.Link() != 0) return -9;
  return reading.ChoosePath(count, values, maxValues);
}
