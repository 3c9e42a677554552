// The structural recogniser of one character: the character's neighbour map,
// then up to five extraction attempts, each matching the extracted strokes
// against one family of the dictionary's stroke models and confirming the
// matches by their class checks. Refinement models (step 4) come first and
// may decide a class by its stroke features; then the contour-polygon models
// (step 0), the thinned-stroke models (step 1) and both again on a stroke
// width adapted to the character (steps 2 and 3). The first attempt that
// confirms a candidate ends the search.
#include <algorithm>
#include <memory>
#include <new>

#include "ocrlib/checks/checks_internal.h"
#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kFeatureDecisionScore = 1000;  // a featureless entry decides below it

int Fail(uint16_t code) {
  PushErrorCode(code);
  return -9;
}

uint16_t SourceOfStep(uint8_t step) {
  switch (step) {
    case 0: return 4;
    case 1: return 8;
    case 2: return 16;
    case 3: return 32;
    default: return kSourceFinal;  // step 4: a refinement decision
  }
}

// One recognition's attempts on one neighbour map.
class StrokeAttempts {
 public:
  StrokeAttempts(const StrokeModelSet& set, NeighbourMap* map, StrokeRecordStore* store,
                 SessionWorkArea* area)
      : set_(set), map_(map), s_(*store), area_(area) {
    BindStrokeRecordStore(s_);
    ClearBitmapMargin(map_);
    ResetStrokeWorkLists(&s_.contours);
  }

  // Extraction, analysis, frame and verification of `step` (steps 1 and 3
  // retry after joining stroke ends). 0 (candidates, if any, in the work
  // area), -1 no strokes, -9.
  int Attempt(uint8_t step) {
    if (steps_.count >= kMaxStrokeSteps) return -1;
    steps_.steps[steps_.count++] = step;
    steps_.family = IsThinnedStep(step) ? kStepFamilyThinned : kStepFamilyPolygon;
    SelectModels(step);
    area_->survivorCount = 0;
    ResetStrokeNodeCounts(&s_.points);
    const int rc = RunStrokeExtraction(&steps_, map_, &s_.contours, &s_.points);
    if (rc != 0) return rc;
    const int first = AnalyseAndVerify();
    if (first != 0 || area_->survivorCount > 0 || !IsThinnedStep(step)) return first;
    for (auto join : {JoinNearestStrokeEnds, JoinAlignedStrokeEnds}) {
      int32_t joined = 0;
      if (join(&s_.points, &joined) != 0) return -9;
      if (!joined) continue;
      const int again = AnalyseAndVerify();
      if (again != 0 || area_->survivorCount > 0) return again;
    }
    return 0;
  }

  // The refinement decision after a step-4 attempt with candidates: the
  // class of the first refinement entry of the best model whose features
  // lie close enough, or kNoCandidate.
  uint16_t RefineBest() {
    const int best = area_->survivorModel[0];
    const StrokeModel& model = set_.refinement[best];
    if (model.refinementCount == 0 || model.refinements == nullptr) return kNoCandidate;
    const RefinementEntry& first = model.refinements[0];
    if (first.featureCount == 0 || first.features == nullptr) {
      return area_->survivorDistance[0] < kFeatureDecisionScore ? ClassCodeToSjis(first.classCode)
                                                                : kNoCandidate;
    }
    area_->current = &area_->candidates[best];
    CopyStrokeFeaturesToRecord(&s_.points, area_);
    const int available = s_.points.points.count;
    for (int e = 0; e < model.refinementCount; ++e) {
      const RefinementEntry& entry = model.refinements[e];
      if (entry.features == nullptr) continue;
      int64_t sum = 0;
      for (int j = 0; j < entry.featureCount; ++j) {
        const int value = j < available ? s_.points.points.items[j].savedY : 0;
        const int d = value - entry.features[j];
        sum += int64_t{d} * d;
      }
      if (entry.maxDistance >= sum) return ClassCodeToSjis(entry.classCode);
    }
    return kNoCandidate;
  }

  // The confirmed candidates of the last attempt, best first, into `work`;
  // a class several of whose models survived keeps its best place only.
  void CopySurvivors(CharWorkRecord* work) const {
    const uint8_t step = CurrentStrokeStep(steps_);
    int n = 0;
    for (int i = 0; i < area_->survivorCount && n < kMaxCandidates; ++i) {
      const int m = area_->survivorModel[i];
      const uint16_t code = ClassCodeToSjis(area_->candidates[m].valid);
      bool listed = false;
      for (int k = 0; k < n && !listed; ++k) listed = work->candidates[k].code() == code;
      if (listed) continue;
      RecogCandidate& c = work->candidates[n++];
      ClearCandidate(&c);
      c.lead = static_cast<uint8_t>(code >> 8);
      c.trail = static_cast<uint8_t>(code);
      c.distance1 = area_->survivorDistance[i];
      c.model = static_cast<int16_t>(step == 4 ? -1 : IsThinnedStep(step) ? m + set_.family2Count : m);
      c.source = SourceOfStep(step);
    }
    work->count = static_cast<int16_t>(n);
  }

  bool Found() const { return area_->survivorCount > 0; }
  const StrokeStepList& steps() const { return steps_; }
  const StrokeModelSet& set() const { return set_; }

 private:
  void SelectModels(uint8_t step) {
    if (step == 4) {
      set_.models = set_.refinement;
      set_.modelCount = set_.refinementCount;
    } else if (IsThinnedStep(step)) {
      set_.models = set_.family1;
      set_.modelCount = set_.family1Count;
    } else {
      set_.models = set_.family2;
      set_.modelCount = set_.family2Count;
    }
  }

  int AnalyseAndVerify() {
    if (AnalyseStrokeStructure(&steps_, &s_.points, &s_.frame, &s_.graph, &s_.nodeLists) != 0) {
      return -9;
    }
    if (NormalizeStrokeFrame(&steps_, &s_.points, &s_.frame, &s_.graph, &s_.nodeLists) != 0) {
      return -1;
    }
    return VerifyCandidatesByShape(&steps_, &s_.contours, &s_.points, &s_.frame, &s_.graph,
                                   &s_.nodeLists, &set_, area_, &g_classCheckRoutines);
  }

  StrokeModelSet set_;  // its current selection follows the step
  NeighbourMap* map_;
  StrokeRecordStore& s_;
  SessionWorkArea* area_;
  StrokeStepList steps_;
};

}  // namespace

int RunStrokeAttempts(uint32_t mask, int mode, const StrokeModelSet& set, NeighbourMap* map,
                      CharWorkRecord* work) {
  ClearErrorStack();
  if (g_currentWorkArea == nullptr) return Fail(kErrBadArgument);
  std::unique_ptr<StrokeRecordStore> store(new (std::nothrow) StrokeRecordStore);
  if (!store) return Fail(kErrNoMemory);
  work->confidence = 0;
  ClearCandidate(&work->candidates[0]);
  work->count = 0;
  StrokeAttempts attempts(set, map, store.get(), g_currentWorkArea);
  // Each stage answers 0 (go on), 1 (candidates found) or -9.
  auto run = [&](uint8_t step) {
    const int rc = attempts.Attempt(step);
    if (rc == -9) return -9;
    return rc == 0 && attempts.Found() ? 1 : 0;
  };
  int found = 0;
  bool skipStep0 = false;
  if (set.refinementCount > 0 && set.refinement != nullptr) {
    const int rc = attempts.Attempt(4);
    if (rc == -9) return -9;
    skipStep0 = rc == -1;
    if (rc == 0 && attempts.Found()) {
      const uint16_t code = attempts.RefineBest();
      if (code != kNoCandidate) {
        attempts.CopySurvivors(work);
        work->count = 1;
        work->candidates[0].lead = static_cast<uint8_t>(code >> 8);
        work->candidates[0].trail = static_cast<uint8_t>(code);
        found = 1;
      }
    }
  }
  if (!found && !skipStep0) found = run(0);
  if (!found) found = run(1);
  if (!found && mode != 1) found = run(2);
  if (!found && mode != 1) found = run(3);
  if (found == -9) return -9;
  if (found == 1 && work->count == 0) attempts.CopySurvivors(work);
  CompleteCandidates(&attempts.steps(), &attempts.set(), mask, work);
  return 0;
}

int RecognizeByStrokes(const RecogRunBlock* run, uint32_t mask, CharWorkRecord* work) {
  const StrokeModelSet* set = FindStrokeModelSet(run->dicts[0], mask);
  if (set == nullptr) return 0;  // no models of these types: no structural answer
  const MupaRect& r = run->rect;
  int width = ((r.right >> 3) - (r.left >> 3) + 1) * 8 + 2 * kNeighbourMapBorder;
  int height = r.bottom - r.top + 1 + 2 * kNeighbourMapBorder;
  if (int64_t{width} * height > kMaxNeighbourMapBytes) return Fail(kErrNeighbourMap);
  std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[static_cast<size_t>(width) * height]);
  if (!bytes) return Fail(kErrNoMemory);
  if (BuildNeighbourMap(run->image.bits, r.left, r.right, r.top, r.bottom, run->image.bytesPerLine,
                        bytes.get(), &width, &height) != 0) {
    return -9;
  }
  NeighbourMap map = {bytes.get(), static_cast<int16_t>(width), static_cast<int16_t>(height),
                      kNeighbourMapBorder};
  return RunStrokeAttempts(mask, run->options.mode, *set, &map, work);
}
