// The candidates of the stroke-model match and the work area that holds them.
// A candidate is one model matched against the character: the strokes and
// feature points assigned to the model's strokes and points, and the best
// distance found. The verifier keeps one per selected model at the start of
// the library handle's work area, which the frame allocates per handle.
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

constexpr int kMaxShapeCandidates = 600;
constexpr int kMaxPointChoices = 400;
constexpr int kChoicesPerEntry = 16;
constexpr int kMaxSurvivors = 16;

struct SessionWorkArea {
  ShapeCandidate candidates[kMaxShapeCandidates];
  ShapeCandidate* current;  // the candidate being matched or tested
  StrokeSegment* strokeChoices[kMaxCandidateStrokes][kChoicesPerEntry];  // null: absent
  uint16_t pointChoices[kMaxPointChoices][kChoicesPerEntry];  // 0xFFFF: none
  uint16_t strokeChoiceCount[kMaxCandidateStrokes];
  uint16_t pointChoiceCount[kMaxPointChoices];
  int16_t survivorCount;
  int16_t survivorModel[kMaxSurvivors];  // best first
  int16_t survivorDistance[kMaxSurvivors];
  uint8_t spare[2];
};
// With 32-bit pointers the work area is the 540,328 bytes clients of the
// original library budget for; with 64-bit ones it is whatever it needs.
static_assert(sizeof(void*) != 4 || sizeof(SessionWorkArea) == 540328, "work area layout");
