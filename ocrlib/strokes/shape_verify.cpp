// Candidate verification: every model of the current selection matched
// against the character, the raw matches logged for the attempt, the class
// checks run on the candidates that matched, the hole veto, the adjustment of
// two close survivors, and the survivors sorted by distance.
#include <algorithm>
#include <cstring>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kHoleVetoHoles = 6;

int Fail14() {
  PushErrorCode(kErrCapacityFull);
  return -9;
}

int16_t Clamp16(int64_t v) {
  return static_cast<int16_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
}

// The four code masks of every segment of the character, ORed.
void CharacterCodeMasks(const StrokeGraph& graph, uint32_t masks[4]) {
  masks[0] = masks[1] = masks[2] = masks[3] = 0;
  for (int g = 0; g < graph.groups.count; ++g) {
    int guard = 0;
    for (const StrokeSegment* s = graph.groups.items[g].firstSegment;
         s != nullptr && guard < graph.segments.count; s = s->next, ++guard) {
      uint32_t m[4];
      DecodeStrokeCode(StrokeCodeOf(*s), &m[0], &m[1], &m[2], &m[3]);
      for (int k = 0; k < 4; ++k) masks[k] |= m[k];
    }
  }
}

// A model can play the character only when its strokes' codes cover every
// code the character shows.
bool ModelCoversCodes(const StrokeModel& model, const uint32_t masks[4]) {
  return (model.codeMaskA & masks[0]) == masks[0] && (model.codeMaskB & masks[1]) == masks[1] &&
         (model.codeMaskC & masks[2]) == masks[2] && (model.codeMaskD & masks[3]) == masks[3];
}

int AppendAttemptLog(StrokeStepList* steps, int attempt, int model, int16_t distance) {
  if (attempt < 0 || attempt >= kMaxStrokeSteps) return 0;
  StrokeAttemptLog& log = steps->log;
  uint16_t& count = log.counts[attempt];
  if (count >= kAttemptLogEntries) return Fail14();
  log.models[attempt][count] = static_cast<uint16_t>(model);
  log.distances[attempt][count] = static_cast<uint16_t>(distance);
  ++count;
  return 0;
}

// A character whose biggest hole lies where no survivor has one (the holes
// in the frame, by size, centre and count) reads as nothing.
void RejectByHoleShape(StrokeStepList* steps, ContourSet* contours, StrokePointTable* points,
                       CharFrame* frame, SessionWorkArea* work) {
  int32_t sizes[kHoleVetoHoles], xs[kHoleVetoHoles], ys[kHoleVetoHoles];
  const int holes =
      FindHoleCentres(steps, contours, points, frame, sizes, xs, ys, kHoleVetoHoles, 1);
  if (holes <= 0) return;
  int big = 0;
  for (int i = 1; i < holes; ++i) {
    if (sizes[i] > sizes[big]) big = i;
  }
  const int32_t n = sizes[big], x = xs[big], y = ys[big], s = x + y;
  bool veto;
  if (s < 400) {
    veto = x >= 135 && y >= 131 ? n > 8 : n > 13 && n < 26;
  } else if (y < 160) {
    veto = n > 15;
  } else if (n >= 9) {
    veto = x >= 132 || holes >= 3;
  } else {
    veto = s >= 513 || (x >= 171 && x < 310 && ((n == 4 && y > 200) || n >= 5));
  }
  if (veto) work->survivorCount = 0;
}

void SortSurvivors(SessionWorkArea* work) {
  const int n = work->survivorCount;
  int32_t keys[kMaxSurvivors];
  uint32_t order[kMaxSurvivors];
  int16_t models[kMaxSurvivors], distances[kMaxSurvivors];
  for (int i = 0; i < n; ++i) keys[i] = work->survivorDistance[i];
  ShellSortIndices(keys, n, order);
  for (int i = 0; i < n; ++i) {
    models[i] = work->survivorModel[order[i]];
    distances[i] = work->survivorDistance[order[i]];
  }
  std::memcpy(work->survivorModel, models, sizeof(int16_t) * n);
  std::memcpy(work->survivorDistance, distances, sizeof(int16_t) * n);
}

}  // namespace

uint16_t ClassCodeOfName(const char* name) {
  if (name[0] == '@') ++name;
  const auto first = static_cast<uint8_t>(name[0]);
  if (first == 0) return 0;
  const auto second = static_cast<uint8_t>(name[1]);
  return second >= 'A' && second <= 'Z' ? static_cast<uint16_t>(first * 256 + second) : first;
}

void SetCandidateClassCode(ShapeCandidate* candidate, const char* name) {
  candidate->valid = ClassCodeOfName(name);
}

void ChordOrientation(int32_t size, int32_t dx, int32_t dy, int16_t* vectorX, int16_t* vectorY) {
  const int64_t s = std::max(1, size);
  const int64_t length = ApproxDistance(dx, dy);
  if (length == 0) {
    *vectorX = *vectorY = 0;
    return;
  }
  const int64_t x = dx, y = dy;
  *vectorY = Clamp16((((x * y * 512 + length / 2) / length) * 256 + s / 2) / s);
  *vectorX = Clamp16((((x * x * 512 + length / 2) / length) * 256 - length + s / 2) / s);
}

void NormalizeStrokeVectors(const CharFrame* frame, StrokeGraph* graph) {
  for (int g = 0; g < graph->groups.count; ++g) {
    int guard = 0;
    for (StrokeSegment* seg = graph->groups.items[g].firstSegment;
         seg != nullptr && guard < graph->segments.count; seg = seg->next, ++guard) {
      if (seg->kind == 1)
        ChordOrientation(frame->size, seg->sizeX, seg->sizeY, &seg->sizeX, &seg->sizeY);
    }
  }
}

int VerifyCandidatesByShape(StrokeStepList* steps, ContourSet* contours, StrokePointTable* points,
                            CharFrame* frame, StrokeGraph* graph, StrokeNodeLists* nodeLists,
                            const StrokeModelSet* modelSet, SessionWorkArea* work,
                            const ShapeCheckRoutines* checks) {
  const int attempt = steps->count - 1;
  if (attempt >= 0 && attempt < kMaxStrokeSteps) steps->log.counts[attempt] = 0;
  const int step = CurrentStrokeStep(*steps);
  const int modelCount = std::min<int>(modelSet->modelCount, kMaxSelectedModels);
  uint32_t masks[4];
  CharacterCodeMasks(*graph, masks);
  for (int m = 0; m < modelCount; ++m) {
    ShapeCandidate& c = work->candidates[m];
    work->current = &c;
    c.model = &modelSet->models[m];
    if (!ModelCoversCodes(*c.model, masks)) {
      c.valid = 0;
      c.distance = kNoShapeDistance;
      std::memset(c.matchedStroke, 0, sizeof c.matchedStroke);
      continue;
    }
    if (MatchCandidateStrokeModel(frame, graph, nodeLists, work, step) != 0) return -9;
    if (c.valid != 0 && AppendAttemptLog(steps, attempt, m, c.distance) != 0) return -9;
  }
  NormalizeStrokeVectors(frame, graph);
  // A check may reject, relabel or re-match any candidate of the set, so
  // each candidate's standing is read only when its turn comes.
  for (int m = 0; m < modelCount; ++m) {
    if (work->candidates[m].valid == 0) continue;
    work->current = &work->candidates[m];
    if (checks != nullptr && checks->applyClassCheck != nullptr) {
      checks->applyClassCheck(steps, contours, points, frame, graph, nodeLists, modelSet, work);
    }
  }
  work->survivorCount = 0;
  for (int m = 0; m < modelCount; ++m) {
    const ShapeCandidate& c = work->candidates[m];
    if (c.valid == 0) continue;
    if (work->survivorCount >= kMaxSurvivors) return Fail14();
    work->survivorModel[work->survivorCount] = static_cast<int16_t>(m);
    work->survivorDistance[work->survivorCount] = c.distance;
    ++work->survivorCount;
  }
  if (steps->path != 1 && step != 4 && work->survivorCount > 0) {
    RejectByHoleShape(steps, contours, points, frame, work);
  }
  if (work->survivorCount == 2 && checks != nullptr && checks->adjustSimilarPairScores != nullptr) {
    checks->adjustSimilarPairScores(steps, contours, points, frame, graph, nodeLists, modelSet,
                                    work);
  }
  SortSurvivors(work);
  return 0;
}
