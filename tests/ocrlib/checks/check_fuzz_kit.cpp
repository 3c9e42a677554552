// What the fuzz targets of the class checks share.
#include "tests/ocrlib/checks/check_fuzz_kit.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "ocrlib/checks/checks_internal.h"
#include "ocrlib/dictwriter/stroke_model_writer.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/frame/mupa_test_support.h"

namespace {

// A small deterministic generator for the models.
uint32_t g_seed = 12345;
int Next(int n) {
  g_seed = g_seed * 1103515245u + 12345u;
  return static_cast<int>((g_seed >> 8) % static_cast<uint32_t>(n));
}

// A model of `strokes` strokes that accept every open code, laid in one
// chain or each apart, with a ring or without, and optional points.
AuthoredModel BroadModel(const char* name, int strokes, int layout) {
  AuthoredModel m;
  m.name = name;
  for (int e = 0; e < strokes; ++e) {
    AuthoredStroke s;
    const bool ring = layout == 2 && e == 0;
    if (ring) {
      s.codes = {0};
    } else {
      for (int code = 10; code <= kMaxStrokeCode; ++code)
        s.codes.push_back(static_cast<uint8_t>(code));
    }
    for (int f = 0; f < kModelFeatures; ++f) {
      s.mean[f] = static_cast<int16_t>(Next(256));
      s.spread[f] = 96;
    }
    s.optional = e > 0 && Next(3) == 0;
    m.strokes.push_back(s);
  }
  if (layout == 1 && strokes > 1) {
    AuthoredGroup chain;
    chain.joint = static_cast<uint8_t>(Next(2));
    for (int e = 0; e < strokes; ++e) chain.strokes.push_back(e);
    m.groups.push_back(chain);
  } else {
    for (int e = 0; e < strokes; ++e) m.groups.push_back({{e}, 0, layout == 2 && e == 0});
  }
  static const char kEnds[] = {'s', 'e', 'o', 'h', 't', 'l', 'd'};
  static const char kKinds[] = {'K', 'T', 'X'};
  for (int p = 0; p < 6; ++p) {
    AuthoredPoint point;
    point.optional = true;
    for (int a = 0; a < 1 + Next(3); ++a) {
      point.ways.push_back(
          {Next(strokes), kEnds[Next(7)], kKinds[Next(3)], Next(strokes), kEnds[Next(7)]});
    }
    point.meanX = static_cast<int16_t>(Next(256));
    point.meanY = static_cast<int16_t>(Next(256));
    point.spreadX = point.spreadY = 96;
    m.points.push_back(point);
  }
  return m;
}

std::vector<AuthoredModel> BroadModels(const BroadFamily& family) {
  std::vector<AuthoredModel> models;
  for (const char* name : family.classes) {
    for (int layout = 0; layout < 3; ++layout)
      models.push_back(BroadModel(name, family.fewest + Next(family.spread), layout));
  }
  return models;
}

// The character-type group of the dictionary's stroke sections that holds
// the models of `types`.
int GroupOfTypes(uint32_t types) {
  return types == kTypeKatakana ? 3 : types == kTypeCapitals ? 2 : 1;
}

std::vector<StrokeSegment*> SegmentsOf(StrokeGraph& graph) {
  std::vector<StrokeSegment*> segments;
  for (int g = 0; g < graph.groups.count; ++g) {
    for (StrokeSegment* s = graph.groups.items[g].firstSegment; s != nullptr; s = s->next)
      segments.push_back(s);
  }
  return segments;
}

}  // namespace

penkit::Figure FigureFromBytes(const uint8_t* data, size_t size, size_t from) {
  penkit::Figure figure;
  for (size_t i = from; i + 4 <= size;) {
    const int n = 2 + data[i] % 3;
    ++i;
    std::vector<penkit::Vec> points;
    for (int k = 0; k < n && i + 2 <= size; ++k, i += 2) {
      points.push_back({6.0 + data[i] % 64, 6.0 + data[i + 1] % 96});
    }
    for (size_t k = 1; k < points.size(); ++k) figure.Line(points[k - 1], points[k]);
  }
  return figure;
}

const StrokeModelSet* LoadBroadModels(const BroadFamily& thinned, const BroadFamily& polygon,
                                      uint32_t types) {
  StrokeModelFamilies families;
  std::string error;
  const int group = GroupOfTypes(types);
  if (EncodeAuthoredModels(BroadModels(thinned), &families.family1[group], &error) != 0 ||
      EncodeAuthoredModels(BroadModels(polygon), &families.family2[group], &error) != 0) {
    std::abort();
  }
  // Kept for the whole run.
  static std::vector<std::unique_ptr<LoadedDict>> kept;
  kept.push_back(
      std::make_unique<LoadedDict>(MakeStrokeModelDict(families, types, "broad stroke models")));
  if (kept.back()->get() == nullptr) std::abort();
  return FindStrokeModelSet(kept.back()->get(), types);
}

void CheckSurvivors(const SessionWorkArea& work) {
  if (work.survivorCount < 0 || work.survivorCount > kMaxSurvivors) std::abort();
  for (int i = 1; i < work.survivorCount; ++i) {
    if (work.survivorDistance[i - 1] > work.survivorDistance[i]) std::abort();
  }
}

StrokeModelSet SelectionForStep(const StrokeModelSet& models, uint8_t step, uint32_t mask) {
  StrokeModelSet set = models;
  set.mask = mask;
  const bool thinned = IsThinnedStep(step);
  set.modelCount = thinned ? set.family1Count : set.family2Count;
  set.models = thinned ? set.family1 : set.family2;
  return set;
}

bool VerifyWithChecks(penkit::StrokeRun& run, const StrokeModelSet& selection,
                      SessionWorkArea* work) {
  ClearErrorStack();
  if (VerifyCandidatesByShape(&run.steps, &run.contours(), &run.points(), &run.store->frame,
                              &run.graph(), &run.nodes(), &selection, work,
                              &g_classCheckRoutines) != 0) {
    return false;
  }
  CheckSurvivors(*work);
  return true;
}

void RunRowsOnRandomAssignments(penkit::StrokeRun& run, const StrokeModelSet& set,
                                SessionWorkArea* work, const std::vector<int>& rows, int maxStrokes,
                                int maxPoints, const char* relabels, Picker& pick) {
  const std::vector<StrokeSegment*> segments = SegmentsOf(run.graph());
  const int marks = run.nodes().marks.count;
  for (const int row : rows) {
    const CharCheckRule& rule = g_classCheckTable[row];
    StrokeModel model;
    std::memset(&model, 0, sizeof model);
    std::strncpy(model.name, rule.name, sizeof model.name - 1);
    model.classIndex = static_cast<int16_t>(row);
    model.strokeCount = static_cast<uint8_t>(1 + pick.Next(maxStrokes));
    model.pointCount = static_cast<uint8_t>(pick.Next(maxPoints + 1));
    ShapeCandidate& c = work->candidates[0];
    c.model = &model;
    c.valid = ClassCodeOfName(rule.name);
    c.distance = static_cast<int16_t>(rule.threshold - pick.Next(600));
    for (int k = 0; k < kMaxCandidateStrokes; ++k) {
      const int choice = pick.Next(static_cast<int>(segments.size()) + 1);
      c.matchedStroke[k] = k < model.strokeCount && choice > 0 ? segments[choice - 1] : nullptr;
    }
    for (int k = 0; k < kMaxCandidatePoints; ++k) {
      const int choice = k < model.pointCount ? pick.Next(marks + 3) : marks + 1;
      c.matchedPoint[k] = choice < marks    ? static_cast<uint16_t>(choice)
                          : choice == marks ? static_cast<uint16_t>(marks + 7)
                                            : kNoIndex;
    }
    const ShapeCandidate before = c;
    work->current = &c;
    ApplyClassCheck(&run.steps, &run.contours(), &run.points(), &run.store->frame, &run.graph(),
                    &run.nodes(), &set, work);
    if (c.valid != 0 && c.valid != before.valid &&
        (c.valid > 0xFF || std::strchr(relabels, c.valid) == nullptr)) {
      std::abort();
    }
    if (c.distance != before.distance || c.model != before.model ||
        std::memcmp(c.matchedStroke, before.matchedStroke, sizeof c.matchedStroke) != 0 ||
        std::memcmp(c.matchedPoint, before.matchedPoint, sizeof c.matchedPoint) != 0) {
      std::abort();
    }
  }
}
