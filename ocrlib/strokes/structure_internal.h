// Shared state of stroke structure analysis (structure_*.cpp).
#pragma once

#include "ocrlib/strokes/strokes_internal.h"

struct StructureWork {
  StrokePointTable* points;
  StrokeGraph* graph;
  StrokeNodeLists* lists;
  bool thinned;      // steps 1 and 3
  int orientations;  // 1 (thinned) or 2 (polygon): directions are also told
                     // in coordinates turned by 45 degrees
};

// Cuts the chain in the point table's scratch chain into the pieces and
// segments of `group` (the graph's last group). Returns 0, or -9 after 14 or
// 6003 (a chain that doubles back on itself or starts or ends on one spot).
int BuildGroupPieces(StructureWork& work, StrokeGroup* group);

// Segments of a group in order.
int CountGroupSegments(const StrokeGroup& group, int limit);

// The thinned steps' junction handling (structure_junctions.cpp).
int SplitJunctions(StructureWork& work);
int BuildFeaturePoints(StructureWork& work);
void AttachEdgesToSegments(StructureWork& work);
