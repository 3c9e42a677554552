// One candidate class of the stroke-model match: the model it was matched
// against, the character's strokes and feature points assigned to the model's
// strokes and points, and the best distance found. The verifier keeps one per
// selected model at the start of the handle's work area.
#pragma once

#include <cstdint>

#include "ocrlib/strokes/stroke_records.h"

struct StrokeModel;

constexpr int kMaxCandidatePoints = 401;
constexpr int kMaxCandidateStrokes = 16;
constexpr int16_t kNoShapeDistance = 32767;

struct ShapeCandidate {
  uint16_t valid;  // the class code; 0 = no match or rejected
  uint16_t matchedPoint[kMaxCandidatePoints];  // feature point per model point, 0xFFFF none
  StrokeSegment* matchedStroke[kMaxCandidateStrokes];  // null: optional stroke absent
  int16_t distance;  // kNoShapeDistance when none
  const StrokeModel* model;
};
