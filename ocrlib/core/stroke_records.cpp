// Binding of the fixed arrays of one attempt to their storage.
#include "ocrlib/core/core_internal.h"

#include <cstdint>

namespace {

template <class T, int N>
void Bind(RecordArray<T>& array, T (&storage)[N]) {
  static_assert(N <= INT16_MAX, "capacities are 16-bit");
  array.items = storage;
  array.capacity = static_cast<int16_t>(N);
  array.count = 0;
}

}  // namespace

void BindStrokeRecordStore(StrokeRecordStore& s) {
  Bind(s.contours.points, s.contourPoints);
  Bind(s.contours.contours, s.contourList);
  Bind(s.contours.pairs, s.contourPairs);
  Bind(s.contours.runs, s.pairRuns);
  Bind(s.contours.caps, s.runEndCaps);
  Bind(s.points.points, s.strokePoints);
  Bind(s.points.chain, s.chainWords);
  s.points.extractedCount = s.points.refSize = 0;
  s.points.width = s.points.height = 0;
  s.points.chainClosed = 0;
  Bind(s.graph.groups, s.strokeGroups);
  Bind(s.graph.pieces, s.strokePieces);
  Bind(s.graph.segments, s.strokeSegments);
  Bind(s.graph.pieceLinks, s.pieceLinks);
  Bind(s.graph.pieceWords, s.pieceWords);
  s.graph.segmentTotal = 0;
  Bind(s.nodeLists.nodes, s.strokeNodes);
  Bind(s.nodeLists.edges, s.strokeEdges);
  Bind(s.nodeLists.marks, s.featurePoints);
  s.frame = CharFrame{};
}
