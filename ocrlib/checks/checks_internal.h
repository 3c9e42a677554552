// Character shape checks: the class-check table, the built-in rows through
// which stroke-model candidates are confirmed or rejected, bound by class
// name to the models of a loaded dictionary. The checks read the stroke
// records of core_internal.h. Stroke analysis lies below them: a check may
// re-run it, while stroke analysis reaches the checks only through routines
// its caller hands it.
#pragma once

#include <cstdint>

#include "ocrlib/core/core_internal.h"

struct CharCheckRule {
  char name[8];               // class name, zero-padded
  ClassCheckRoutine routine;  // null: the threshold alone applies
  int32_t threshold;          // a greater distance is rejected
};

constexpr int kClassCheckRows = 531;

// kClassCheckRows rows and a row with an empty name. Defined in
// class_check_table.cpp.
extern const CharCheckRule g_classCheckTable[kClassCheckRows + 1];

// Row of the class `name` (compared byte for byte, case matters), -1 when no
// row has it.
int FindClassCheckRow(const char* name);

// ---- the check contract (check_contract.cpp) -------------------------------------
// Confirms or rejects the work area's current candidate: nothing in step 4
// or for a model bound to no row; a distance above the row's threshold
// rejects; otherwise the row's routine, if any, runs. Reports nothing.
void ApplyClassCheck(StrokeStepList* steps, ContourSet* contours, StrokePointTable* points,
                     CharFrame* frame, StrokeGraph* graph, StrokeNodeLists* nodeLists,
                     const StrokeModelSet* modelSet, SessionWorkArea* work);
// Corrects the distances of the two survivors for seven classes that are
// easily confused (digits read in the thinned steps only); the caller sorts
// them afterwards.
void AdjustSimilarPairScores(StrokeStepList* steps, ContourSet* contours, StrokePointTable* points,
                             CharFrame* frame, StrokeGraph* graph, StrokeNodeLists* nodeLists,
                             const StrokeModelSet* modelSet, SessionWorkArea* work);
// Both, as candidate verification takes them.
extern const ShapeCheckRoutines g_classCheckRoutines;
