// Stroke analysis: character normalisation for the pattern classifier, stroke
// extraction (contour polygons or thinning), the point graph and the stroke
// structure of one character. Everything works on the fixed records of
// stroke_records.h; results are 0 for success, -1 for "no usable result" and
// -9 after a code was pushed on the error stack (14 a full array, 6003 a
// degenerate stroke chain, 7002 no memory for a work block).
#pragma once

#include <cstdint>

#include "ocrlib/core/core_internal.h"
#include "ocrlib/mupa32.h"

// ---- normalised character (normalized_char.cpp) -----------------------------
constexpr int kDirectionFeatureCount = 600;

// Measures one character of a 1-bit image (bit 7 of a byte is the leftmost
// pixel, a set bit is black) for the pattern classifier: the edge density
// 0..15, 8 band-crossing codes, 4 profile-run counts (top, bottom, left,
// right) and 600 direction features (layer x 200 + block x 8 + direction).
// Returns 0; -9 after 7002 when the work buffer cannot be had; -9 with
// nothing pushed for a blank rectangle. Outputs are written only on success.
int TraceNormalizedChar(const MupaImage* image, const MupaRect* rect,
                        uint8_t* edgeDensity, uint16_t bandCrossingCodes[8],
                        uint32_t profileRunCounts[4],
                        uint16_t directionFeatures[kDirectionFeatureCount]);

// ---- contours (contour_trace.cpp) ----------------------------------------------
// Writes 0 into the map's margin rows and columns.
void ClearBitmapMargin(NeighbourMap* map);
// Empties the five arrays of a contour set.
void ResetStrokeWorkLists(ContourSet* contours);
// Lists the runs of set bits of a 1-bit row between firstBit and lastBit
// (inclusive) as {first - firstBit, last - firstBit, 0}. Returns -1 as soon as
// `count` reaches `capacity` (that entry is written), else 0.
int ScanBitRun(const uint8_t* row, int16_t firstBit, int16_t lastBit, int16_t* runs,
               uint16_t* count, int capacity);
// Traces every contour of the map's window into `contours` (rings of points,
// one-pixel holes filled on the way) and gives each ring its Contour record.
// `slots` is scratch of kContourSlotsPerPixel x map width pointers. Returns 0,
// or -9 after 14.
constexpr int kContourSlotsPerPixel = 8;
int TraceContours(NeighbourMap* map, ContourSet* contours, ContourPoint** slots);
int ClassifyContours(ContourSet* contours);

// ---- extraction (stroke_extraction.cpp, contour_polygons.cpp) ---------------------
// One extraction attempt for the current step of `steps`: contour polygons
// (steps 4, 0, 2) or thinned strokes (steps 1, 3; 2 and 3 first adapt the
// stroke thickness). Returns 0, -1 when no usable stroke was found, -9 after
// 7002 or 14.
int RunStrokeExtraction(const StrokeStepList* steps, NeighbourMap* map,
                        ContourSet* contours, StrokePointTable* points);
int BuildContourPolygons(ContourSet* contours, StrokePointTable* points);
// Make every white (black) pixel with a black (white) 4-neighbour black
// (white), inside the margin. Return 0, or -9 after 7002.
int DilateNeighbourMap(NeighbourMap* map);
int ErodeNeighbourMap(NeighbourMap* map);
// Saves the state after extraction, turns y upward, measures the extent and
// (thinned steps) sorts every point's neighbours by bearing. Returns 0, or -1
// when no point is live.
int FinishStrokePoints(const StrokeStepList* steps, StrokePointTable* points);

// ---- thinning (thinning_runs.cpp, thinning_skeleton.cpp) ---------------------------
// The thinning sequence of steps 1 and 3 on traced contours. `pixelPoints` is
// scratch of one pointer per map pixel. Returns 0, -1 when the shape is
// refused (a blob), -9 after 14.
int ThinStrokes(NeighbourMap* map, ContourSet* contours, StrokePointTable* points,
                ContourPoint** pixelPoints);

// ---- point graph (point_graph.cpp) ----------------------------------------------
// Sets the point, extracted, reference-size and chain counts to 0.
void ResetStrokeNodeCounts(StrokePointTable* points);
// Back to the state after extraction (positions are not restored).
void RestoreStrokeRecords(StrokePointTable* points);
// Index of a new live point at (x, y), or -9 after 14.
int AllocStrokePoint(StrokePointTable* points, int x, int y);
int AddStrokeNeighbour(StrokePointTable* points, int a, int b);  // 0, or -9 after 14
int LinkStrokePoints(StrokePointTable* points, int a, int b);
int FindStrokeNeighbour(const StrokePointTable* points, int a, int b);  // 1 or 0
void RemoveStrokeNeighbour(StrokePointTable* points, int a, int b);
void ReplaceStrokeNeighbour(StrokePointTable* points, int a, int oldPoint, int newPoint);
void DeleteStrokePoint(StrokePointTable* points, int a);
// Moves b's other neighbours to a and deletes b. Returns 0, or -9 after 14.
int MergeStrokePoints(StrokePointTable* points, int a, int b);
// Traces from `start` through points of degree 2 into the scratch chain.
// Returns 0, or -9 after 14.
int TraceStrokeChain(StrokePointTable* points, int start, int side);
int32_t ChainLength(const StrokePointTable* points);
struct ChainExtentInfo {
  int centreX, centreY, extentX, extentY;
};
ChainExtentInfo ChainExtent(const StrokePointTable* points);
// Sorts point a's neighbours by ascending bearing of the offset to each.
void SortNeighboursByBearing(StrokePointTable* points, int a);
// The two retries after a thinned attempt without survivors. Return 0 (done
// says whether anything changed) or -9 after 14.
int JoinNearestStrokeEnds(StrokePointTable* points, int32_t* done);
int MergeNearbyJunctions(StrokePointTable* points, int32_t* done);

// ---- structure (structure_*.cpp) ---------------------------------------------------
// Cuts the points into junction nodes, groups, pieces, segments, branch ends
// and feature points. Returns 0, or -9 after 14 or 6003.
int AnalyseStrokeStructure(const StrokeStepList* steps, StrokePointTable* points,
                           CharFrame* frame, StrokeGraph* graph,
                           StrokeNodeLists* nodeLists);
// Direction code 0..7 of a step (y up): 0 down, 2 left, 4 up, 6 right.
int StepDirectionCode(int dx, int dy);
