// The search for the best assignment of one stroke model to the character:
// the segments that may play each model stroke (by stroke code, ring or open
// group), then every one-to-one choice that keeps the model's groups and
// links, then for each the feature points that may stand for each model
// point (by kind, the two strokes they join and the ends they join them at).
// Every complete assignment goes to the scorer.
#include <cstring>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

struct MatchSearch {
  const CharFrame* frame;
  const StrokeGraph* graph;
  const StrokeNodeLists* nodeLists;
  SessionWorkArea* work;
  ShapeCandidate* candidate;
  const StrokeModel* model;
  int step;
  int32_t budget = kMaxAssignmentSteps;

  // Counts one step of the search; false once the budget is spent.
  bool Spend() { return --budget >= 0; }
};

int Fail14() {
  PushErrorCode(kErrCapacityFull);
  return -9;
}

bool ListsCode(const ModelStroke& stroke, int code) {
  for (int i = 0; i < stroke.codeCount; ++i) {
    if (stroke.codes[i] == code) return true;
  }
  return false;
}

const ModelGroup* GroupOf(const StrokeModel& model, const ModelStroke& stroke) {
  return stroke.group < model.groupCount ? &model.groups[stroke.group] : nullptr;
}

// Segments that may play each model stroke; optional strokes may also be
// left out (null). 0, 1 when a required stroke has no segment, -9 after 14.
int ListStrokeChoices(MatchSearch& m) {
  const StrokeModel& model = *m.model;
  SessionWorkArea& w = *m.work;
  for (int g = 0; g < m.graph->groups.count; ++g) {
    const StrokeGroup& group = m.graph->groups.items[g];
    int guard = 0;
    for (StrokeSegment* s = group.firstSegment; s != nullptr && guard < m.graph->segments.count;
         s = s->next, ++guard) {
      const int code = StrokeCodeOf(*s);
      for (int e = 0; e < model.strokeCount; ++e) {
        const ModelStroke& stroke = model.strokes[e];
        const ModelGroup* modelGroup = GroupOf(model, stroke);
        if (stroke.codeCount == 0 || modelGroup == nullptr || modelGroup->closed != group.closed) {
          continue;
        }
        if (!ListsCode(stroke, code)) continue;
        if (w.strokeChoiceCount[e] >= kChoicesPerEntry) return Fail14();
        w.strokeChoices[e][w.strokeChoiceCount[e]++] = s;
      }
    }
  }
  for (int e = 0; e < model.strokeCount; ++e) {
    if (model.strokes[e].required == 0) {
      if (w.strokeChoiceCount[e] >= kChoicesPerEntry) return Fail14();
      w.strokeChoices[e][w.strokeChoiceCount[e]++] = nullptr;
    } else if (w.strokeChoiceCount[e] == 0) {
      return 1;
    }
  }
  return 0;
}

// Strokes of one model group must come from one traced chain, strokes of
// different groups from different chains, and linked strokes must meet at
// the end the link names.
bool StrokeAssignmentFits(const MatchSearch& m, int level, const StrokeSegment* s,
                          StrokeSegment* const* chosen) {
  const ModelStroke& stroke = m.model->strokes[level];
  for (int j = 0; j < level; ++j) {
    if (chosen[j] == nullptr) continue;
    const bool sameModelGroup = m.model->strokes[j].group == stroke.group;
    if (sameModelGroup != (chosen[j]->group == s->group)) return false;
  }
  for (int k = 0; k < stroke.linkCount && k < 2; ++k) {
    const int other = stroke.linkStroke[k];
    if (other >= level || chosen[other] == nullptr) continue;
    bool met = false;
    for (int n = 0; n < s->neighbourCount && n < 2; ++n) {
      met = met ||
            (s->neighbours[n] == chosen[other] && s->neighbourEndCodes[n] == stroke.linkEnd[k]);
    }
    if (!met) return false;
  }
  return true;
}

// Whether the segment meets a feature point at the end the model's letter
// names: 's' its first end, 'e' its second, 'o' inside, 'h' and 't' its
// last or first piece (inside for a single straight piece); any other letter
// names the first end for the stroke codes listed, else the second.
bool TestEndLetter(const StrokeSegment& segment, int endCode, uint8_t letter) {
  const int c = StrokeCodeOf(segment);
  switch (letter) {
    case 'o': return endCode == kAttachMiddle;
    case 'h': return c >= 20 ? endCode == kAttachLastPiece : endCode == kAttachMiddle;
    case 't': return c >= 20 ? endCode == kAttachFirstPiece : endCode == kAttachMiddle;
    case 's': return endCode == kAttachEnd1;
    case 'e': return endCode == kAttachEnd2;
    default: break;
  }
  struct StartLetter {
    int code;
    uint8_t letter;
  };
  static constexpr StartLetter kStartLetters[] = {
      {10, 'l'}, {11, 'd'}, {11, 'l'}, {12, 'd'}, {13, 'u'},
      {13, 'l'}, {20, 'r'}, {21, 'd'}, {22, 'l'}, {23, 'u'},
  };
  for (const StartLetter& s : kStartLetters) {
    if (s.code == c && s.letter == letter) return endCode == kAttachEnd1;
  }
  return endCode == kAttachEnd2;
}

// Whether feature point f may stand for model point r under the stroke
// choices; -9 after 14 when r's list is full before the test.
int PointFits(const MatchSearch& m, const FeaturePoint& f, int r, StrokeSegment* const* chosen) {
  const ModelPoint& point = m.model->points[r];
  const RecordArray<StrokeEdge>& edges = m.nodeLists->edges;
  if (f.edgeA < 0 || f.edgeA >= edges.count || f.edgeB < 0 || f.edgeB >= edges.count) return 0;
  const StrokeEdge& ea = edges.items[f.edgeA];
  const StrokeEdge& eb = edges.items[f.edgeB];
  for (int a = 0; a < point.alternativeCount; ++a) {
    if (point.kinds[a] != f.kind) continue;
    const int strokeA = point.strokePairs[2 * a], strokeB = point.strokePairs[2 * a + 1];
    if (strokeA >= m.model->strokeCount || strokeB >= m.model->strokeCount) continue;
    const uint8_t letterA = point.endLetters[2 * a], letterB = point.endLetters[2 * a + 1];
    for (int i = 0; i < ea.attachCount && i < 2; ++i) {
      const StrokeSegment* x = ea.segments[i];
      for (int j = 0; j < eb.attachCount && j < 2; ++j) {
        const StrokeSegment* y = eb.segments[j];
        if (m.work->pointChoiceCount[r] >= kChoicesPerEntry - 1) return Fail14();
        if (x == nullptr || y == nullptr) continue;
        const int ex = ea.attachCodes[i], ey = eb.attachCodes[j];
        const bool direct = chosen[strokeA] == x && chosen[strokeB] == y &&
                            TestEndLetter(*x, ex, letterA) && TestEndLetter(*y, ey, letterB);
        const bool crossed = chosen[strokeB] == x && chosen[strokeA] == y &&
                             TestEndLetter(*x, ex, letterB) && TestEndLetter(*y, ey, letterA);
        if (direct || crossed) return 1;
      }
    }
  }
  return 0;
}

// Feature points that may stand for each model point. 0, 1 when a required
// point cannot be left out, -9 after 14.
int ListPointChoices(MatchSearch& m, StrokeSegment* const* chosen) {
  const StrokeModel& model = *m.model;
  SessionWorkArea& w = *m.work;
  std::memset(w.pointChoiceCount, 0, sizeof w.pointChoiceCount);
  const RecordArray<FeaturePoint>& marks = m.nodeLists->marks;
  for (int f = 0; f < marks.count; ++f) {
    for (int r = 0; r < model.pointCount; ++r) {
      const int fits = PointFits(m, marks.items[f], r, chosen);
      if (fits < 0) return -9;
      if (fits == 1) w.pointChoices[r][w.pointChoiceCount[r]++] = static_cast<uint16_t>(f);
    }
  }
  for (int r = 0; r < model.pointCount; ++r) {
    const ModelPoint& point = model.points[r];
    if (point.required == 0) {
      if (w.pointChoiceCount[r] >= kChoicesPerEntry) return Fail14();
      w.pointChoices[r][w.pointChoiceCount[r]++] = kNoIndex;
      continue;
    }
    if (w.pointChoiceCount[r] > 0) continue;
    // A required point nobody can play may stay unassigned only while none
    // of its alternatives has both strokes present.
    for (int a = 0; a < point.alternativeCount; ++a) {
      const int sa = point.strokePairs[2 * a], sb = point.strokePairs[2 * a + 1];
      if (sa < model.strokeCount && sb < model.strokeCount && chosen[sa] != nullptr &&
          chosen[sb] != nullptr) {
        return 1;
      }
    }
    w.pointChoices[r][w.pointChoiceCount[r]++] = kNoIndex;
  }
  return 0;
}

// Every one-to-one choice of feature points for the model points that uses
// all of the character's feature points goes to the scorer.
int SearchPointAssignments(MatchSearch& m, StrokeSegment* const* chosen) {
  const StrokeModel& model = *m.model;
  const int markCount = m.nodeLists->marks.count;
  ShapeAssignment assignment = {m.frame, m.graph, m.nodeLists, m.candidate,
                                m.step,  chosen,  nullptr};
  if (model.pointCount == 0) {
    if (markCount == 0) ScoreStrokeAssignment(assignment);
    return 0;
  }
  const int listed = ListPointChoices(m, chosen);
  if (listed != 0) return listed < 0 ? -9 : 0;
  const SessionWorkArea& w = *m.work;
  uint16_t picked[kMaxModelPoints];
  int next[kMaxModelPoints] = {};
  bool taken[kMaxFeaturePoints] = {};
  assignment.points = picked;
  int level = 0, real = 0;
  const int n = model.pointCount;
  while (level >= 0) {
    if (level == n) {
      if (real == markCount) ScoreStrokeAssignment(assignment);
      --level;
      if (picked[level] != kNoIndex) {
        taken[picked[level]] = false;
        --real;
      }
      continue;
    }
    if (next[level] >= w.pointChoiceCount[level] || !m.Spend()) {
      next[level] = 0;
      if (--level >= 0 && picked[level] != kNoIndex) {
        taken[picked[level]] = false;
        --real;
      }
      if (m.budget < 0) return 0;
      continue;
    }
    const uint16_t f = w.pointChoices[level][next[level]++];
    if (f != kNoIndex && taken[f]) continue;
    picked[level] = f;
    if (f != kNoIndex) {
      taken[f] = true;
      ++real;
    }
    ++level;
  }
  return 0;
}

// Every one-to-one choice of segments for the model strokes that keeps the
// groups and links and uses all of the character's segments.
int SearchStrokeAssignments(MatchSearch& m) {
  const SessionWorkArea& w = *m.work;
  const int n = m.model->strokeCount;
  // A model without strokes (a damaged dictionary) assigns nothing.
  if (n <= 0 || n > kMaxModelStrokes) return 0;
  StrokeSegment* chosen[kMaxModelStrokes] = {};
  int next[kMaxModelStrokes] = {};
  int level = 0, present = 0;
  while (level >= 0) {
    if (level == n) {
      if (present == m.graph->segmentTotal && SearchPointAssignments(m, chosen) < 0) return -9;
      --level;
      if (chosen[level] != nullptr) --present;
      continue;
    }
    if (next[level] >= w.strokeChoiceCount[level] || !m.Spend()) {
      next[level] = 0;
      if (--level >= 0 && chosen[level] != nullptr) --present;
      if (m.budget < 0) return 0;
      continue;
    }
    StrokeSegment* s = w.strokeChoices[level][next[level]++];
    if (s != nullptr) {
      bool usedEarlier = false;
      for (int j = 0; j < level; ++j) usedEarlier = usedEarlier || chosen[j] == s;
      if (usedEarlier || !StrokeAssignmentFits(m, level, s, chosen)) continue;
      ++present;
    }
    chosen[level] = s;
    ++level;
  }
  return 0;
}

}  // namespace

int MatchCandidateStrokeModel(const CharFrame* frame, const StrokeGraph* graph,
                              const StrokeNodeLists* nodeLists, SessionWorkArea* work, int step) {
  ShapeCandidate* c = work->current;
  if (c == nullptr) return 0;
  c->valid = 0;
  c->distance = kNoShapeDistance;
  std::memset(c->matchedStroke, 0, sizeof c->matchedStroke);
  std::memset(work->strokeChoiceCount, 0, sizeof work->strokeChoiceCount);
  const StrokeModel* model = c->model;
  if (model == nullptr || model->strokeCount > kMaxModelStrokes ||
      model->pointCount > kMaxModelPoints) {
    return 0;
  }
  const int segments = graph->segmentTotal;
  if (segments > model->strokeCount || segments < model->strokeCount - model->optionalCount ||
      model->pointCount < nodeLists->marks.count) {
    return 0;
  }
  MatchSearch m = {frame, graph, nodeLists, work, c, model, step};
  const int listed = ListStrokeChoices(m);
  if (listed != 0) return listed < 0 ? -9 : 0;
  return SearchStrokeAssignments(m);
}
