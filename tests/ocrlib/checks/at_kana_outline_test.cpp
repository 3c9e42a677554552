// The "@" katakana rows that read the outline: the ring a stroke was traced
// from (outer or a hole), how many points it has and how much of it turns
// (read only where the outline carries normals), and the rows whose
// measures along it divide by a difference that may be 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "ocrlib/checks/kana_checks.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/row_harness.h"

namespace {

using modelkit::RowHarness;

uint16_t Code(const char* row) { return ClassCodeOfName(row); }

constexpr int16_t kDiagonal = 181;  // a normal at 45 degrees, scaled to 256
constexpr int16_t kAxis = 256;      // one along an axis

// Contour rings laid round strokes of a RowHarness: a ring of the given
// kind and point count on the box of a stroke's points (one pixel out),
// every point of the stroke traced from the ring point nearest it as the
// step records it: a contour point on the polygon steps, a pair of them on
// the thinned steps.
class HandOutline {
 public:
  HandOutline(RowHarness& h, bool thinned) : h_(h), thinned_(thinned) {
    h.SetStep(thinned ? 1 : 0);
  }

  // The ring's normals: `turning` points after the one the stroke starts
  // from are at 45 degrees, every other one along an axis.
  void Ring(const StrokeSegment& s, uint16_t kind, int count, int turning = 0) {
    const StrokePiece& piece = *s.pieces[0];
    int minX = INT16_MAX, maxX = INT16_MIN, minY = INT16_MAX, maxY = INT16_MIN;
    for (int i = 0; i < piece.pointCount; ++i) {
      const StrokePoint& p = h_.PointAt(piece.words[i]);
      minX = std::min<int>(minX, p.x - 1);
      maxX = std::max<int>(maxX, p.x + 1);
      minY = std::min<int>(minY, -p.y - 1);  // image rows
      maxY = std::max<int>(maxY, -p.y + 1);
    }
    // Clockwise on the page from the top left.
    const int w = maxX - minX, h = maxY - minY;
    std::vector<std::pair<int, int>> ring;
    for (int i = 0; i < count; ++i) {
      int d = i * 2 * (w + h) / count;
      if (d < w) {
        ring.push_back({minX + d, minY});
      } else if ((d -= w) < h) {
        ring.push_back({maxX, minY + d});
      } else if ((d -= h) < w) {
        ring.push_back({maxX - d, maxY});
      } else {
        ring.push_back({minX, maxY - (d - w)});
      }
    }
    ContourPoint* first = h_.Ring(ring, kind);
    ContourPoint* start = nullptr;
    for (int i = 0; i < piece.pointCount; ++i) {
      StrokePoint& p = h_.PointAt(piece.words[i]);
      ContourPoint* source = Nearest(first, count, p);
      if (start == nullptr) start = source;
      p.degree = 1;
      if (thinned_) {
        p.sourcePair = h_.Pair(source);
      } else {
        p.sourcePoint = source;
      }
    }
    ContourPoint* p = first;
    for (int i = 0; i < count; ++i, p = p->next) p->normalX = kAxis;
    p = start->next;
    for (int n = 0; n < turning; ++n, p = p->next) p->normalX = p->normalY = kDiagonal;
  }

 private:
  static ContourPoint* Nearest(ContourPoint* first, int count, const StrokePoint& sp) {
    const auto far = [&sp](const ContourPoint& c) {
      return std::abs(c.x - sp.x) + std::abs(c.y + sp.y);
    };
    ContourPoint* best = first;
    for (int i = 0; i < count; ++i) {
      if (far(first[i]) < far(*best)) best = &first[i];
    }
    return best;
  }

  RowHarness& h_;
  bool thinned_;
};

void Decide(RowHarness& h, const char* row) {
  h.candidate().distance = -1000;
  h.candidate().valid = Code(row);
  h.ApplyCheck();
}

TEST(AtKanaOutline, RingMarkTurningShareReadOnlyWhereNormalsExist) {
  // "@HD": a ring of at most 24 pixels whose inner ring (S1, traced from an
  // outer ring of the mark) turns enough; small rings of few points pass
  // before that. The polygon steps trace no normals, and there the share is
  // not read.
  struct Case {
    const char* what;
    bool thinned;
    int size, ring0, ring1, turning;
    uint16_t kind1;
    uint16_t expected;
  };
  const uint16_t hd = Code("@HD");
  const Case cases[] = {
      {"turning", true, 20, 60, 40, 39, kContourOuter, hd},
      {"not turning", true, 20, 60, 40, 0, kContourOuter, 0},
      {"27 percent", true, 20, 60, 100, 27, kContourOuter, hd},
      {"26 percent", true, 20, 60, 100, 26, kContourOuter, 0},
      {"not turning, polygon step", false, 20, 60, 40, 0, kContourOuter, hd},
      {"14 pixels", true, 14, 60, 40, 0, kContourOuter, hd},
      {"25 pixels", true, 25, 60, 40, 39, kContourOuter, 0},
      {"outer ring of 52 points", true, 20, 52, 40, 0, kContourOuter, hd},
      {"inner ring of 31 points", true, 20, 60, 31, 0, kContourOuter, hd},
      {"inner stroke traced from a hole", true, 20, 60, 40, 39, kContourHole, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    RowHarness h(2, 0, "@HD");
    HandOutline outline(h, k.thinned);
    h.frame().size = static_cast<int16_t>(k.size);
    const StrokeSegment& s0 = h.StrokeWithChain(0, 0, 0, {128, 128, 0, 0, 0, 0, 256, 256},
                                                {{0, 10}, {10, 20}, {20, 10}, {10, 0}});
    const StrokeSegment& s1 = h.StrokeWithChain(1, 0, 0, {128, 128, 0, 0, 0, 0, 128, 128},
                                                {{5, 10}, {10, 15}, {15, 10}, {10, 5}});
    outline.Ring(s0, kContourOuter, k.ring0);
    outline.Ring(s1, k.kind1, k.ring1, k.turning);
    Decide(h, "@HD");
    EXPECT_EQ(h.valid(), k.expected);
  }
}

TEST(AtKanaOutline, SquareMarkBySizeRingPointsAndTurning) {
  // "@RO": 19 to 25 pixels are judged by the ring of S0 (62 to 69 points go
  // on to the share of S1's ring, which may not exceed 32 percent).
  struct Case {
    const char* what;
    bool thinned;
    int size, ring0, turning;
    uint16_t expected;
  };
  const uint16_t ro = Code("@RO");
  const Case cases[] = {
      {"18 pixels", true, 18, 70, 0, 0},
      {"26 pixels", true, 26, 61, 90, ro},
      {"ring of 61 points", true, 20, 61, 0, 0},
      {"ring of 70 points", true, 20, 70, 90, ro},
      {"ring of 65, 32 percent turning", true, 20, 65, 32, ro},
      {"ring of 65, 33 percent turning", true, 20, 65, 33, 0},
      {"ring of 65, turning, polygon step", false, 20, 65, 90, ro},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    RowHarness h(2, 0, "@RO");
    HandOutline outline(h, k.thinned);
    h.frame().size = static_cast<int16_t>(k.size);
    const StrokeSegment& s0 = h.StrokeWithChain(0, 0, 0, {130, 130, 0, 0, 0, 0, 256, 256},
                                                {{0, 0}, {20, 0}, {20, 20}, {0, 20}});
    const StrokeSegment& s1 = h.StrokeWithChain(1, 0, 0, {130, 130, 0, 0, 0, 0, 150, 150},
                                                {{5, 5}, {15, 5}, {15, 15}, {5, 15}});
    outline.Ring(s0, kContourOuter, k.ring0);
    outline.Ring(s1, kContourOuter, 100, k.turning);
    Decide(h, "@RO");
    EXPECT_EQ(h.valid(), k.expected);
  }
}

TEST(AtKanaOutline, StrokesTracedFromTheOuterRing) {
  // "@ROa" keeps a third stroke traced from the outer ring, "@SO" and
  // "@SOa" reject one at once; a stroke traced from no contour point is not
  // judged by its ring and rejects.
  struct Case {
    const char* what;
    const char* row;
    int traced;  // the stroke laid on a ring
    int kind;    // its ring's kind, -1 no ring
    uint16_t expected;
  };
  const Case cases[] = {
      {"ROa, outer", "@ROa", 2, kContourOuter, Code("@ROa")},
      {"ROa, hole", "@ROa", 2, kContourHole, 0},
      {"ROa, untraced", "@ROa", 2, -1, 0},
      {"SO, outer", "@SO", 2, kContourOuter, 0},
      {"SOa, outer", "@SOa", 1, kContourOuter, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    RowHarness h(3, 0, k.row);
    HandOutline outline(h, false);
    h.StrokeWithChain(0, 2, 1, {128, 200, 50, 220, 200, 180, 100, 80}, {{50, 220}, {200, 180}});
    h.StrokeWithChain(1, 2, 1, {100, 100, 80, 150, 120, 60, 60, 90}, {{80, 150}, {120, 60}});
    const StrokeSegment& s2 =
        h.StrokeWithChain(2, 2, 1, {60, 100, 40, 150, 80, 50, 40, 100}, {{40, 150}, {80, 50}});
    const StrokeSegment& traced = k.traced == 1 ? *h.candidate().matchedStroke[1] : s2;
    if (k.kind >= 0) outline.Ring(traced, static_cast<uint16_t>(k.kind), 40);
    Decide(h, k.row);
    EXPECT_EQ(h.valid(), k.expected);
  }
}

// ---- divisions by differences that may be 0 ---------------------------------------------
// "@_N" with a second stroke of code 27: the slope of the third stroke from
// its leftmost to its upper right point.
void LayNWithThirdStroke(RowHarness& h, HandOutline& outline,
                         const std::vector<std::pair<int, int>>& third) {
  const StrokeSegment& s0 =
      h.StrokeWithChain(0, 2, 1, {100, 200, 0, 200, 100, 200, 100, 100}, {{0, 200}, {100, 200}});
  outline.Ring(s0, kContourHole, 40);
  h.Stroke(1, 2, 7, {150, 120, 210, 200, 80, 100, 130, 100});
  h.StrokeWithChain(2, 2, 1, {100, 100, 100, 200, 100, 0, 50, 100}, third);
}

// "@WA" with a first stroke of code 53 bulging right of its downward chord,
// and a second stroke whose ends may meet.
void LayWaWithSecondStroke(RowHarness& h, HandOutline& outline,
                           const std::vector<std::pair<int, int>>& second) {
  const StrokeSegment& s0 = h.StrokeWithChain(0, 5, 3, {130, 150, 100, 200, 100, 60, 70, 200},
                                              {{100, 250}, {170, 150}, {100, 50}});
  outline.Ring(s0, kContourHole, 60);
  h.StrokeWithChain(1, 2, 1, {100, 100, 110, 180, 60, 20, 130, 210}, second);
}

TEST(AtKanaOutline, ZeroDivisorsReject) {
  struct Case {
    const char* what;
    const char* row;
    int strokes;
    void (*lay)(RowHarness&, HandOutline&);
    uint16_t expected;
  };
  const Case cases[] = {
      {"@_N, upright third stroke", "@_N", 3,
       [](RowHarness& h, HandOutline& o) {
         LayNWithThirdStroke(h, o, {{100, 50}, {100, 150}});
       },
       0},
      {"@_N, slanting third stroke", "@_N", 3,
       [](RowHarness& h, HandOutline& o) {
         LayNWithThirdStroke(h, o, {{100, 50}, {130, 150}});
       },
       Code("@_N")},
      // "@_Na": S1's upper right point (of two equally far, the one further
      // left) straight above its leftmost.
      {"@_Na, upper right above the leftmost", "@_Na", 2,
       [](RowHarness& h, HandOutline& o) {
         o.Ring(h.StrokeWithChain(0, 2, 1, {65, 245, 0, 250, 130, 240, 130, 10},
                                  {{0, 250}, {130, 240}}),
                kContourHole, 40);
         o.Ring(h.StrokeWithChain(1, 3, 1, {50, 100, 100, 100, 0, 0, 110, 200},
                                  {{100, 100}, {0, 200}, {0, 0}}),
                kContourHole, 40);
       },
       0},
      {"@WA, second stroke ending where it starts", "@WA", 2,
       [](RowHarness& h, HandOutline& o) {
         LayWaWithSecondStroke(h, o, {{52, 10}, {50, 110}, {52, 10}});
       },
       0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    RowHarness h(k.strokes, 0, k.row);
    HandOutline outline(h, false);
    k.lay(h, outline);
    Decide(h, k.row);
    EXPECT_EQ(h.valid(), k.expected);
  }
}

}  // namespace
