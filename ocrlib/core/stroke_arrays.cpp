// Allocators of the stroke records of one attempt (groups, pieces, segments,
// piece links and words, junction nodes, branch ends, feature points) over
// the fixed arrays their owner binds, and the step-path expansion of the
// structure descriptions. A full array pushes 14 and the allocator fails;
// counts stay as they were.
//
// A driver keeps one store for many characters and resets only the counts,
// so every record is handed out as new: nothing an earlier character left in
// the slot can reach the analysis of this one.
#include "ocrlib/core/core_internal.h"

namespace {

template <class T>
T* TakeRecord(RecordArray<T>& array) {
  if (array.count >= array.capacity) {
    PushErrorCode(kErrCapacityFull);
    return nullptr;
  }
  T* record = &array.items[array.count++];
  *record = T{};
  return record;
}

// The one save area of SaveRestoreGraphCounts.
struct GraphCounts {
  int16_t groups, pieces, segments, pieceLinks, pieceWords;
};
GraphCounts g_savedGraphCounts = {};

}  // namespace

StrokeGroup* AllocGraphPoint(StrokeGraph* graph) { return TakeRecord(graph->groups); }

StrokePiece* AllocStrokeSegment(StrokeGraph* graph) { return TakeRecord(graph->pieces); }

StrokeSegment* AllocStrokeJoint(StrokeGraph* graph, StrokePiece* piece) {
  StrokeSegment* segment = TakeRecord(graph->segments);
  if (segment == nullptr) return nullptr;
  segment->group = static_cast<uint16_t>(graph->groups.count - 1);
  return LinkJointToSegment(graph, segment, piece) == 0 ? segment : nullptr;
}

// A piece lies in at most two segments; a third is refused like a full array.
int LinkJointToSegment(StrokeGraph* graph, StrokeSegment* segment, StrokePiece* piece) {
  if (piece->segmentCount >= 2) {
    PushErrorCode(kErrCapacityFull);
    return -9;
  }
  StrokePiece** link = TakeRecord(graph->pieceLinks);
  if (link == nullptr) return -9;
  *link = piece;
  if (segment->pieceCount == 0) segment->pieces = link;
  ++segment->pieceCount;
  piece->segments[piece->segmentCount++] = segment;
  return 0;
}

uint16_t* AllocGraphWords(StrokeGraph* graph, int n) {
  RecordArray<uint16_t>& words = graph->pieceWords;
  if (n < 0 || words.count + n >= words.capacity) {
    PushErrorCode(kErrCapacityFull);
    return nullptr;
  }
  uint16_t* run = words.items + words.count;
  words.count = static_cast<int16_t>(words.count + n);
  return run;
}

StrokeNode* AllocStrokeNode(StrokeNodeLists* lists) { return TakeRecord(lists->nodes); }

StrokeEdge* AllocStrokeEdge(StrokeNodeLists* lists) { return TakeRecord(lists->edges); }

FeaturePoint* AllocStrokeMark(StrokeNodeLists* lists) { return TakeRecord(lists->marks); }

void ResetStrokeGraph(StrokeGraph* graph) {
  graph->groups.count = graph->pieces.count = graph->segments.count = 0;
  graph->pieceLinks.count = graph->pieceWords.count = 0;
  graph->segmentTotal = 0;
}

void ResetStrokeNodeLists(StrokeNodeLists* lists) {
  lists->nodes.count = lists->edges.count = lists->marks.count = 0;
}

void SaveRestoreGraphCounts(StrokeGraph* graph, int mode) {
  GraphCounts& saved = g_savedGraphCounts;
  if (mode != 1) {
    saved = {graph->groups.count, graph->pieces.count, graph->segments.count,
             graph->pieceLinks.count, graph->pieceWords.count};
    return;
  }
  graph->groups.count = saved.groups;
  graph->pieces.count = saved.pieces;
  graph->segments.count = saved.segments;
  graph->pieceLinks.count = saved.pieceLinks;
  graph->pieceWords.count = saved.pieceWords;
}

namespace {

int FailStepPath() {
  PushErrorCode(kErrCapacityFull);
  return 0;
}

}  // namespace

// Gaps between successive values are filled with the values between: a
// falling gap's points take the index before (flag 4: the later one), a
// rising gap's the later index (flag 4: the one before). A falling fill that
// would pass the limit is refused before it starts.
int ExpandStepPath(const int32_t* values, int n, int flags, StepPoint* points) {
  const bool swap = (flags & kStepSwapFillIndex) != 0;
  int total = 0;
  for (int k = 0; k < n; ++k) {
    const int64_t v = values[k];
    if (k > 0) {
      const int64_t u = values[k - 1];
      if (v < u - 1 && total + (u - 1 - v) > kMaxStepPoints) return FailStepPath();
      const int64_t step = v < u ? -1 : 1;
      const int32_t fillIndex = (v < u) != swap ? k - 1 : k;
      for (int64_t w = u + step; (v - w) * step > 0; w += step) {
        if (total >= kMaxStepPoints) return FailStepPath();
        points[total++] = {fillIndex, static_cast<int32_t>(w)};
      }
    }
    const bool dropped = (k == 0 && (flags & kStepDropFirst) != 0) ||
                         (k == n - 1 && (flags & kStepDropLast) != 0);
    if (dropped) continue;
    if (total >= kMaxStepPoints) return FailStepPath();
    points[total++] = {k, static_cast<int32_t>(v)};
  }
  return total;
}
