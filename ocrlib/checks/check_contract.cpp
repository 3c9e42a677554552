// The contract between candidate verification and the class checks: the
// threshold and routine of each candidate's row, and the fixed corrections of
// seven pairs of classes that the stroke models tell apart badly.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "ocrlib/checks/checks_internal.h"

namespace {

// One correction: the two classes compared by their first two bytes (a
// one-letter name by its letter and the terminating zero).
struct PairRule {
  char first[2], second[2];
  void (*adjust)(int32_t& d1, int32_t& d2);
};

// a x n / d truncating toward zero; stored distances stay 16-bit.
int32_t Scale(int32_t a, int32_t n, int32_t d) { return static_cast<int32_t>(int64_t{a} * n / d); }

const PairRule kPairRules[] = {
    {{'5', 'b'}, {'7', 0}, [](int32_t&, int32_t& d2) { d2 = Scale(d2, 693, 1505); }},
    {{'5', 0}, {'7', 'd'}, [](int32_t&, int32_t& d2) { d2 = Scale(d2, 796, 2770); }},
    {{'5', 0},
     {'9', 'b'},
     [](int32_t& d1, int32_t& d2) {
       if ((d1 > 686 && d2 > d1) || (d1 < 395 && d2 < d1)) std::swap(d1, d2);
     }},
    {{'3', 'a'},
     {'7', 0},
     [](int32_t& d1, int32_t& d2) {
       if ((d2 >= 0 && d2 < d1) || (d2 < 0 && d2 > d1)) std::swap(d1, d2);
     }},
    {{'3', 'b'}, {'7', 0}, [](int32_t& d1, int32_t&) { d1 = Scale(d1, 467, 708); }},
    {{'4', 0}, {'9', 'a'}, [](int32_t& d1, int32_t&) { d1 = Scale(d1, 777, 781); }},
    {{'2', 0},
     {'7', 'b'},
     [](int32_t& d1, int32_t& d2) {
       if (std::abs(d2 - d1) >= 376) d1 = Scale(d1, 3963, 838);
     }},
};

bool StartsAs(const char* name, const char (&two)[2]) {
  return name[0] == two[0] && (two[0] == 0 || name[1] == two[1]);
}

}  // namespace

void ApplyClassCheck(StrokeStepList* steps, ContourSet* contours, StrokePointTable* points,
                     CharFrame* frame, StrokeGraph* graph, StrokeNodeLists* nodeLists,
                     const StrokeModelSet* modelSet, SessionWorkArea* work) {
  if (CurrentStrokeStep(*steps) == 4) return;
  ShapeCandidate* c = work->current;
  if (c == nullptr || c->model == nullptr) return;
  const int row = c->model->classIndex;
  if (row < 0 || row >= kClassCheckRows) return;
  const CharCheckRule& rule = g_classCheckTable[row];
  if (c->distance > rule.threshold) {
    c->valid = 0;
    return;
  }
  if (rule.routine != nullptr) {
    rule.routine(steps, contours, points, frame, graph, nodeLists, modelSet, work);
  }
}

void AdjustSimilarPairScores(StrokeStepList* steps, ContourSet*, StrokePointTable*, CharFrame*,
                             StrokeGraph*, StrokeNodeLists*, const StrokeModelSet* modelSet,
                             SessionWorkArea* work) {
  const int step = CurrentStrokeStep(*steps);
  if ((modelSet->mask & kTypeDigits) == 0 || !IsThinnedStep(step) || work->survivorCount != 2) {
    return;
  }
  const int m1 = work->survivorModel[0], m2 = work->survivorModel[1];
  if (m1 < 0 || m2 < 0 || m1 >= modelSet->modelCount || m2 >= modelSet->modelCount) return;
  const char* first = modelSet->models[m1].name;
  const char* second = modelSet->models[m2].name;
  for (const PairRule& rule : kPairRules) {
    if (!StartsAs(first, rule.first) || !StartsAs(second, rule.second)) continue;
    int32_t d1 = work->survivorDistance[0], d2 = work->survivorDistance[1];
    rule.adjust(d1, d2);
    // A scaled distance beyond 16 bits is held at the largest real distance:
    // wrapped, it would turn negative and rank first.
    work->survivorDistance[0] =
        static_cast<int16_t>(std::clamp<int32_t>(d1, INT16_MIN, kMaxShapeDistance));
    work->survivorDistance[1] =
        static_cast<int16_t>(std::clamp<int32_t>(d2, INT16_MIN, kMaxShapeDistance));
    return;
  }
}

const ShapeCheckRoutines g_classCheckRoutines = {ApplyClassCheck, AdjustSimilarPairScores};
