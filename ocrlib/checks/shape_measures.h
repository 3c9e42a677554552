// The 256-unit character frame and the stroke measures that the shape checks
// share: every shape threshold of the checks is stated in frame units (the
// longer side of the live stroke points' box spans 0..256, y up).
#pragma once

#include <cstdint>

#include "ocrlib/strokes/stroke_records.h"

// Lays the frame over the live stroke points, fills the features of every
// segment and places every feature point in the frame. Returns 0, or -1 (the
// unit frame left) when fewer than two live points or a box of no size.
int NormalizeStrokeFrame(const StrokeStepList* steps, StrokePointTable* points,
                         CharFrame* frame, StrokeGraph* graph, StrokeNodeLists* nodeLists);
// The frame of the live points of degree 1 or more; 0, or -1 with the unit
// frame (1, 0, 0, 0, 0).
int ComputeCharFrame(const StrokePointTable* points, CharFrame* frame);
void NormalizeSegmentFeatures(const StrokePointTable* points, const CharFrame* frame,
                              StrokeGraph* graph);
// Centre and size (pixels) of the box of the segment's piece ends.
void MeasureSegmentBox(const StrokePointTable* points, const CharFrame* frame,
                       const StrokeSegment* segment, int32_t* cx, int32_t* cy, int32_t* w,
                       int32_t* h);
// Frame position of pixel (x, y), rounded.
void NormalizePointToBox(const CharFrame* frame, int32_t x, int32_t y, int32_t* fx, int32_t* fy);
// Signed largest deviation (256 x pixels, positive right of first -> last,
// y up) of the listed points from the chord of the first and last, and the
// offset vector from the chord to that point. With weighted = 1 points near
// the chord ends count less. 0 with zero offsets for a chord of no length or
// when no point deviates.
int32_t MeasureChordDeviation(const StrokePointTable* points, const uint16_t* list, int count,
                              int32_t* dx, int32_t* dy, int weighted);
