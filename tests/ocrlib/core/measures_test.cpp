// Point-chain and contour measures on small hand-drawn strokes and rings
// with worked-out answers.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "ocrlib/core/core_internal.h"

namespace {

using Points = std::vector<std::pair<int16_t, int16_t>>;

// Stroke records of one character, filled by hand.
class StrokeKit {
 public:
  StrokeKit() : store_(std::make_unique<StrokeRecordStore>()) { BindStrokeRecordStore(*store_); }

  StrokePointTable* points() { return &store_->points; }

  int AddPoint(int16_t x, int16_t y) {
    RecordArray<StrokePoint>& a = store_->points.points;
    StrokePoint& p = a.items[a.count];
    p = StrokePoint{};
    p.x = p.savedX = x;
    p.y = p.savedY = y;
    p.degree = 1;
    return a.count++;
  }

  // A segment of pieces, each a run of point indices.
  StrokeSegment* Segment(const std::vector<std::vector<uint16_t>>& pieces, int16_t end1 = -1,
                         uint8_t kind = 2) {
    StrokeGraph& g = store_->graph;
    StrokeSegment& s = g.segments.items[g.segments.count++];
    s = StrokeSegment{};
    s.kind = kind;
    s.subKind = 1;
    s.end1 = end1;
    s.pieces = g.pieceLinks.items + g.pieceLinks.count;
    for (const std::vector<uint16_t>& words : pieces) {
      StrokePiece& piece = g.pieces.items[g.pieces.count++];
      piece = StrokePiece{};
      piece.words = g.pieceWords.items + g.pieceWords.count;
      for (uint16_t w : words) g.pieceWords.items[g.pieceWords.count++] = w;
      piece.pointCount = static_cast<int16_t>(words.size());
      g.pieceLinks.items[g.pieceLinks.count++] = &piece;
      ++s.pieceCount;
    }
    return &s;
  }

  // A one-piece segment through new points.
  StrokeSegment* Polyline(const Points& at) {
    std::vector<uint16_t> words;
    for (const auto& [x, y] : at) words.push_back(static_cast<uint16_t>(AddPoint(x, y)));
    return Segment({words}, words.front());
  }

  std::vector<int> Chain() const {
    const RecordArray<uint16_t>& c = store_->points.chain;
    return std::vector<int>(c.items, c.items + c.count);
  }

 private:
  std::unique_ptr<StrokeRecordStore> store_;
};

// The frame that maps pixels onto themselves (negative ones round towards
// zero).
constexpr CharFrame kIdentityFrame = {256, 0, 0, 0, 0};

TEST(ChainMeasures, ChainFollowsThePiecesWhicheverWayTheyRun) {
  StrokeKit kit;
  for (int i = 0; i < 7; ++i) kit.AddPoint(static_cast<int16_t>(i), 0);
  struct Case {
    const char* what;
    std::vector<std::vector<uint16_t>> pieces;
    int16_t end1;
    uint8_t kind;
    std::vector<int> chain;
  };
  const Case cases[] = {
      {"head to head, no start", {{0, 1, 2}, {0, 3, 4}}, -1, 2, {2, 1, 0, 3, 4}},
      {"tail to head", {{0, 1, 2}, {2, 3}}, -1, 2, {0, 1, 2, 3}},
      {"fixed start, second piece backwards", {{4, 5}, {6, 5}}, 4, 2, {4, 5, 6}},
      {"ring code 00 ignores the end", {{0, 1, 2}, {2, 3, 0}}, 2, 0, {2, 1, 0, 3, 2}},
      {"one piece", {{3, 4, 5}}, -1, 1, {3, 4, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StrokeSegment* s = kit.Segment(c.pieces, c.end1, c.kind);
    s->subKind = 0;
    int32_t overflow = -1;
    BuildChainPointList(s, kit.points(), &overflow);
    EXPECT_EQ(overflow, 0);
    EXPECT_EQ(kit.Chain(), c.chain);
  }
}

TEST(ChainMeasures, OverflowKeepsThePartThatFitted) {
  StrokeKit kit;
  StrokeSegment* s = kit.Polyline({{0, 0}, {1, 0}, {2, 0}, {3, 0}});
  kit.points()->chain.capacity = 3;
  int32_t overflow = 0;
  BuildChainPointList(s, kit.points(), &overflow);
  EXPECT_EQ(overflow, 1);
  EXPECT_EQ(kit.Chain(), (std::vector<int>{0, 1, 2}));
}

TEST(ChainMeasures, ChordDeviationInFrameUnits) {
  struct Case {
    const char* what;
    Points stroke;
    int mode;
    int16_t scale;
    int32_t deviation, offsetX, offsetY;
  };
  // Chord (0, 0)-(0, 10); a point x pixels aside deviates by 256 x.
  const Case cases[] = {
      {"straight", {{0, 0}, {0, 5}, {0, 10}}, 0, 64, 0, 0, 0},
      {"straight, mode 3", {{0, 0}, {0, 5}, {0, 10}}, 3, 64, 128, 128, 128},
      {"bulge of 4 pixels", {{0, 0}, {4, 5}, {0, 10}}, 0, 64, 16, 16, 0},   // (1024 + 32) / 64
      {"bulge of -4 pixels", {{0, 0}, {-4, 5}, {0, 10}}, 0, 64, -15, -15, 0},  // (-1023 + 32) / 64
      {"mode 1", {{0, 0}, {4, 5}, {0, 10}}, 1, 64, 144, 16, 0},
      {"mode 2", {{0, 0}, {4, 5}, {0, 10}}, 2, 64, 16, 144, 128},
      {"chord of no length", {{3, 3}, {9, 9}, {3, 3}}, 0, 64, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StrokeKit kit;
    StrokeSegment* s = kit.Polyline(c.stroke);
    const CharFrame frame = {c.scale, 0, 0, 0, 0};
    int32_t d = 0, ox = 0, oy = 0;
    EXPECT_EQ(MeasureChainNormalized(kit.points(), &frame, s, c.mode, &d, &ox, &oy), c.mode);
    EXPECT_EQ(d, c.deviation);
    EXPECT_EQ(ox, c.offsetX);
    EXPECT_EQ(oy, c.offsetY);
  }
}

TEST(ChainMeasures, ExtremePoints) {
  StrokeKit kit;
  StrokeSegment* square = kit.Polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  int32_t overflow = 0;
  BuildChainPointList(square, kit.points(), &overflow);
  struct Case {
    int direction, weight, point;
  };
  const Case cases[] = {
      {0, 0, 0}, {0, 1, 1}, {0, -1, 0}, {5, 0, 2}, {4, 0, 2}, {4, -1, 3},
      {2, 0, 0}, {2, 1, 3}, {6, 0, 1}, {1, 0, 0}, {3, 0, 3}, {7, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.direction << " weight " << c.weight);
    int32_t point = -5;
    EXPECT_EQ(ExtremePointInDirection(kit.points(), c.direction, c.weight, &point), c.point);
    EXPECT_EQ(point, c.point);
  }
  kit.points()->chain.count = 0;
  int32_t point = 0;
  EXPECT_EQ(ExtremePointInDirection(kit.points(), 0, 0, &point), -1);
  EXPECT_EQ(ExtremePointForCheck(kit.points(), 6, &point), -1);
}

TEST(ChainMeasures, RightmostPointGivesWayToThePointAboveIt) {
  StrokeKit kit;
  StrokeSegment* s = kit.Polyline({{0, 5}, {10, 5}});
  const int above = kit.AddPoint(10, 2);
  const int aside = kit.AddPoint(9, 1);
  StrokePoint& right = kit.points()->points.items[1];
  int32_t overflow = 0, point = 0;
  BuildChainPointList(s, kit.points(), &overflow);
  right.degree = 2;
  right.neighbours[0] = static_cast<uint16_t>(aside);
  right.neighbours[1] = static_cast<uint16_t>(above);
  EXPECT_EQ(ExtremePointForCheck(kit.points(), 6, &point), above);
  EXPECT_EQ(point, above);
  right.degree = 1;  // one link: no correction
  EXPECT_EQ(ExtremePointForCheck(kit.points(), 6, &point), 1);
  right.degree = 2;
  EXPECT_EQ(ExtremePointForCheck(kit.points(), 2, &point), 0);  // other directions: none
}

TEST(ChainMeasures, ExtremeDistances) {
  StrokeKit kit;
  StrokeSegment* bar = kit.Polyline({{10, 50}, {100, 50}, {200, 50}});
  int32_t xA, yA, xB, yB, length, angle, pair;
  MeasureExtremeDistances(kit.points(), &kIdentityFrame, bar, &xA, &yA, &xB, &yB, &length,
                          &angle, &pair);
  // Pairs 1 (top-left / bottom-right) and 2 (left / right) both span 190:
  // the lower pair stays.
  EXPECT_EQ(pair, 1);
  EXPECT_EQ(length, 190);
  EXPECT_EQ(angle, 0);
  EXPECT_EQ(std::vector<int>({xA, yA, xB, yB}), std::vector<int>({10, 50, 200, 50}));
  StrokeSegment* diagonal = kit.Polyline({{0, 0}, {50, 100}});
  MeasureExtremeDistances(kit.points(), &kIdentityFrame, diagonal, &xA, &yA, &xB, &yB, &length,
                          &angle, &pair);
  EXPECT_EQ(pair, 0);  // top and bottom
  EXPECT_EQ(length, 111);
  EXPECT_EQ(angle, 64);  // the table's value for a slope of 200 hundredths
}

TEST(ChainMeasures, Corners) {
  StrokeKit kit;
  StrokeSegment* s = kit.Polyline({{10, 10}, {30, 10}, {30, 50}, {10, 50}, {20, 30}});
  int32_t corners[8];
  FindStrokeCornerPoints(kit.points(), s, 0, corners);
  EXPECT_EQ(std::vector<int>(corners, corners + 8),
            std::vector<int>({10, 50, 30, 50, 30, 10, 10, 10}));
  FindStrokeCornerPoints(kit.points(), s, 1, corners);
  EXPECT_EQ(std::vector<int>(corners, corners + 8),
            std::vector<int>({0, 255, 255, 255, 255, 0, 0, 0}));
  StrokeSegment* vertical = kit.Polyline({{7, 10}, {7, 20}, {7, 40}});
  FindStrokeCornerPoints(kit.points(), vertical, 1, corners);
  EXPECT_EQ(corners[0], 0);
  EXPECT_EQ(corners[2], 255);
  EXPECT_EQ(corners[4], 255);
  EXPECT_EQ(corners[6], 0);

  // A candidate's strokes plus extra points; absent strokes are skipped.
  StrokeModel model = {};
  model.strokeCount = 3;
  ShapeCandidate candidate = {};
  candidate.model = &model;
  candidate.matchedStroke[0] = vertical;
  candidate.matchedStroke[2] = kit.Polyline({{2, 12}});
  const int32_t xs[] = {90}, ys[] = {60};
  FindCandidateCornerPoints(kit.points(), &candidate, xs, ys, 1, 0, corners);
  EXPECT_EQ(std::vector<int>(corners, corners + 8),
            std::vector<int>({7, 40, 90, 60, 90, 60, 2, 12}));
}

TEST(ChainMeasures, AreaAndSkew) {
  StrokeKit kit;
  StrokeSegment* forward = kit.Polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  int32_t overflow = 0, area = 0;
  BuildChainPointList(forward, kit.points(), &overflow);
  PolygonArea(kit.points(), &area);
  EXPECT_EQ(area, 100);
  StrokeSegment* backward = kit.Polyline({{0, 0}, {0, 10}, {10, 10}, {10, 0}});
  BuildChainPointList(backward, kit.points(), &overflow);
  PolygonArea(kit.points(), &area);
  EXPECT_EQ(area, -99);
  kit.points()->chain.count = 1;
  PolygonArea(kit.points(), &area);
  EXPECT_EQ(area, 0);

  StrokePoint& p = kit.points()->points.items[2];  // (10, 10)
  SkewPointChain(kit.points(), 1);
  EXPECT_EQ(std::vector<int>({p.x, p.y}), std::vector<int>({30, 10}));
  SkewPointChain(kit.points(), 0);  // again, from the skewed values
  EXPECT_EQ(std::vector<int>({p.x, p.y, p.savedX, p.savedY}), std::vector<int>({50, 50, 50, 50}));
}

TEST(ChainMeasures, ZigzagsAndHooks) {
  struct Case {
    const char* what;
    Points stroke;
    int32_t zigzag, hook;
  };
  const Case cases[] = {
      {"straight", {{0, 0}, {1, 0}, {2, 0}, {3, 0}}, 0, 0},
      {"hook", {{0, 0}, {1, 0}, {1, 1}}, 0, 1},
      {"zigzag", {{0, 0}, {0, -1}, {-1, -1}, {-1, -2}, {-2, -2}}, 1, 0},
      {"zigzag cut short", {{0, 0}, {0, -1}, {-1, -1}, {-1, -2}}, 0, 0},
      {"two points", {{0, 0}, {1, 1}}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StrokeKit kit;
    StrokeSegment* s = kit.Polyline(c.stroke);
    int32_t zigzag = -1, hook = -1;
    DetectChainZigzag(kit.points(), s, &zigzag);
    DetectChainHook(kit.points(), s, &hook);
    EXPECT_EQ(zigzag, c.zigzag);
    EXPECT_EQ(hook, c.hook);
  }
}

// Contour rings built by hand; points hold image rows.
class RingKit {
 public:
  RingKit() : store_(std::make_unique<StrokeRecordStore>()) { BindStrokeRecordStore(*store_); }

  Contour* Ring(uint16_t kind, const Points& at) {
    ContourSet& c = store_->contours;
    Contour& contour = c.contours.items[c.contours.count++];
    ContourPoint* first = c.points.items + c.points.count;
    for (size_t i = 0; i < at.size(); ++i) {
      ContourPoint& p = c.points.items[c.points.count++];
      p = ContourPoint{};
      p.x = at[i].first;
      p.y = at[i].second;
      p.owner = &contour;
      p.next = first + (i + 1) % at.size();
      p.prev = first + (i + at.size() - 1) % at.size();
    }
    contour = {kind, static_cast<uint16_t>(at.size()), first};
    return &contour;
  }

  // A measured run between two contour points.
  void Run(ContourPoint* a, ContourPoint* b, uint16_t width, uint16_t count) {
    ContourSet& c = store_->contours;
    ContourPair& pair = c.pairs.items[c.pairs.count++];
    pair = {a, b, nullptr, nullptr};
    PairRun& run = c.runs.items[c.runs.count++];
    run = PairRun{};
    run.firstPair = run.lastPair = &pair;
    run.width = width;
    run.pairCount = count;
  }

  ContourSet* contours() { return &store_->contours; }
  StrokePointTable* points() { return &store_->points; }

 private:
  std::unique_ptr<StrokeRecordStore> store_;
};

TEST(ContourMeasures, ChordDeviation) {
  RingKit kit;
  // a, two points off the chord a-b, b, and the way back.
  Contour* ring = kit.Ring(1, {{0, 0}, {5, 3}, {5, -3}, {10, 0}, {5, 20}});
  ContourPoint* a = ring->first;
  ContourPoint* b = a + 3;
  EXPECT_EQ(MaxContourChordDeviation(a, b), 768);  // (5, -3) beats (5, 3) at -767
  std::swap(a[1].y, a[2].y);
  EXPECT_EQ(MaxContourChordDeviation(a, b), 768);
  EXPECT_EQ(MaxContourChordDeviation(a, a + 1), 0);  // b right after a
  EXPECT_EQ(MaxContourChordDeviation(a, a), 0);      // no chord
  Contour* flat = kit.Ring(1, {{0, 0}, {4, 0}, {8, 0}, {8, 9}});
  EXPECT_EQ(MaxContourChordDeviation(flat->first, flat->first + 2), 0);

  int32_t x = -1, y = -1;
  EXPECT_EQ(NormalizedChordDeviationAt(a, a + 1, &x, &y, &kIdentityFrame), 0);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(0, 0));  // a's frame point
  // In the frame y grows upward and rounds towards zero: (5, 3) and (5, -2).
  EXPECT_EQ(NormalizedChordDeviationAt(a, b, &x, &y, &kIdentityFrame), -767);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(5, 3));
  EXPECT_EQ(NormalizedChordDeviation(a, b, &kIdentityFrame), -767);
}

TEST(ContourMeasures, Extremes) {
  RingKit kit;
  Contour* ring = kit.Ring(1, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  const ContourPoint* p = ring->first;
  struct Case {
    int direction, weight;
    const ContourPoint* start;
    int expected;  // index in the ring
  };
  const Case cases[] = {
      {4, 0, p, 0},      // highest on the page (smallest row), first met
      {4, 1, p, 1},      // then the larger x
      {0, 0, p, 2},      // lowest on the page
      {6, 0, p + 1, 1},  // rightmost, first met from the start
      {5, 0, p, 1},      // x + y with y up: top right
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.direction << " weight " << c.weight);
    EXPECT_EQ(FindContourExtremeWeighted(c.start, c.direction, c.weight), p + c.expected);
  }
  EXPECT_EQ(FindContourExtreme(p, 0), p + 2);
  EXPECT_EQ(FindContourExtremeInRange(p, p + 1, 0, 0), p);  // stops after the end
}

TEST(ContourMeasures, HoleCentres) {
  RingKit kit;
  kit.Ring(1, {{0, 0}, {40, 0}, {40, 40}, {0, 40}});
  Contour* hole1 = kit.Ring(0, {{5, 0}, {9, 0}, {9, 3}, {5, 3}});
  Contour* hole2 = kit.Ring(3, {{20, 20}, {30, 20}, {30, 30}});
  int32_t sizes[4], xs[4], ys[4];
  StrokeStepList steps = {};
  EXPECT_EQ(FindHoleCentres(&steps, kit.contours(), kit.points(), &kIdentityFrame, sizes, xs, ys,
                            4, 0),
            2);
  EXPECT_EQ(std::vector<int>({sizes[0], xs[0], ys[0]}), std::vector<int>({4, 7, -1}));  // (-3 + 0) / 2
  EXPECT_EQ(std::vector<int>({sizes[1], xs[1], ys[1]}), std::vector<int>({3, 25, -25}));
  EXPECT_EQ(FindHoleCentres(&steps, kit.contours(), kit.points(), &kIdentityFrame, sizes, xs, ys,
                            1, 0),
            1);
  // A live stroke point traced from a hole takes it out; a pair takes out
  // both of its contours.
  StrokePoint& point = kit.points()->points.items[kit.points()->points.count++];
  point = StrokePoint{};
  point.degree = 1;
  point.sourcePoint = hole1->first;
  EXPECT_EQ(FindHoleCentres(&steps, kit.contours(), kit.points(), &kIdentityFrame, sizes, xs, ys,
                            4, 0),
            1);
  ContourPair pair = {hole1->first + 1, hole2->first, nullptr, nullptr};
  point.sourcePoint = nullptr;
  point.sourcePair = &pair;
  EXPECT_EQ(FindHoleCentres(&steps, kit.contours(), kit.points(), &kIdentityFrame, sizes, xs, ys,
                            4, 0),
            0);
  point.degree = 0;  // a point without links excludes nothing
  EXPECT_EQ(FindHoleCentres(&steps, kit.contours(), kit.points(), &kIdentityFrame, sizes, xs, ys,
                            4, 0),
            2);
}

TEST(ContourMeasures, SingleLoopShape) {
  struct Case {
    const char* what;
    int outers;
    uint16_t innerWidth;
    int32_t yes;
  };
  // Hole 10 high: the inner runs must be more than 20 x 10 wider on average.
  const Case cases[] = {
      {"thick inside", 1, 1000 + 210, 1},
      {"barely thicker inside", 1, 1000 + 100, 0},
      {"two pieces", 2, 5000, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RingKit kit;
    Contour* outer = kit.Ring(1, {{0, 0}, {40, 0}, {40, 40}, {0, 40}});
    if (c.outers == 2) kit.Ring(1, {{50, 0}, {60, 0}, {60, 5}});
    Contour* hole = kit.Ring(0, {{10, 10}, {20, 10}, {20, 20}, {10, 20}});
    kit.Run(hole->first, hole->first + 2, c.innerWidth, 10);
    kit.Run(outer->first, hole->first + 1, 1000, 10);
    int32_t yes = -1;
    TestSingleLoopShape(kit.contours(), nullptr, &yes);
    EXPECT_EQ(yes, c.yes);
  }
}

}  // namespace
