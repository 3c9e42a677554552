// Random pen-drawn stroke sets through extraction, stroke-model matching and
// every digit check, against broad models of every digit class (so that
// matches are common and the check rows run), on the one-character path and
// the line path; the survivors must come out sorted.
// Input: a control byte (step, mask, path), a pen byte, then polylines of
// 2 to 4 points, each point two bytes in a 64 x 96 box.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "ocrlib/checks/checks_internal.h"
#include "ocrlib/dictwriter/stroke_model_writer.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/frame/mupa_test_support.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

const char* const kDigitClasses[] = {
    "0",  "0a", "0b", "0c", "1",  "1b", "1c", "2",  "2a", "2b", "2c", "2d", "2e", "2f",
    "3",  "3a", "3b", "3c", "4",  "4a", "4b", "4c", "4d", "4e", "4f", "4g", "4h", "4i",
    "5",  "5a", "5b", "5c", "5d", "5e", "5f", "5g", "5h", "6",  "6a", "6b", "7",  "7a",
    "7b", "7c", "7d", "7e", "8",  "8a", "8b", "8c", "8d", "8e", "8f", "8g", "8h", "8i",
    "8j", "8k", "8l", "8m", "8n", "9",  "9a", "9b", "9c", "9d", "9e", "9f"};
const char* const kAtDigitClasses[] = {"@0",  "@1", "@2", "@2a", "@3", "@3a", "@4",  "@4a", "@5",
                                       "@5a", "@6", "@7", "@7a", "@8", "@8a", "@8b", "@8c", "@9"};

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

// The broad digit models, loaded once from a dictionary file as the library
// loads any.
const StrokeModelSet* LoadBroadModels() {
  std::vector<AuthoredModel> plain, at;
  for (const char* name : kDigitClasses) {
    for (int layout = 0; layout < 3; ++layout)
      plain.push_back(BroadModel(name, 1 + Next(4), layout));
  }
  for (const char* name : kAtDigitClasses) {
    for (int layout = 0; layout < 3; ++layout) at.push_back(BroadModel(name, 2 + Next(7), layout));
  }
  StrokeModelFamilies families;
  std::string error;
  if (EncodeAuthoredModels(plain, &families.family1[1], &error) != 0 ||
      EncodeAuthoredModels(at, &families.family2[1], &error) != 0) {
    std::abort();
  }
  // Kept for the whole run.
  static const LoadedDict dict(MakeStrokeModelDict(families, kTypeDigits, "broad digit models"));
  if (dict.get() == nullptr) std::abort();
  return FindStrokeModelSet(dict.get(), kTypeDigits);
}

void CheckSurvivors(const SessionWorkArea& work) {
  if (work.survivorCount < 0 || work.survivorCount > kMaxSurvivors) std::abort();
  for (int i = 1; i < work.survivorCount; ++i) {
    if (work.survivorDistance[i - 1] > work.survivorDistance[i]) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const StrokeModelSet* const models = LoadBroadModels();
  static SessionWorkArea* const work = new SessionWorkArea;
  if (size < 6) return 0;
  static constexpr uint8_t kSteps[] = {1, 3, 4, 0, 2};
  const uint8_t step = kSteps[data[0] % 5];
  const uint32_t mask = (data[0] & 0x10) != 0 ? kTypeDigits | kTypeCapitals : kTypeDigits;
  const uint8_t path = (data[0] >> 5) & 1;
  const double pen = 2 + data[1] % 7;
  penkit::Figure figure;
  for (size_t i = 2; i + 4 <= size;) {
    const int n = 2 + data[i] % 3;
    ++i;
    std::vector<penkit::Vec> points;
    for (int k = 0; k < n && i + 2 <= size; ++k, i += 2) {
      points.push_back({6.0 + data[i] % 64, 6.0 + data[i + 1] % 96});
    }
    for (size_t k = 1; k < points.size(); ++k) figure.Line(points[k - 1], points[k]);
  }
  if (figure.strokes().empty()) return 0;
  penkit::BitImage image = penkit::Draw(figure, pen);

  penkit::StrokeRun run = penkit::RunSteps(image, {step});
  if (run.extraction == 0 && run.analysis == 0 && run.frame == 0) {
    StrokeModelSet set = *models;
    set.mask = mask;
    const bool thinned = IsThinnedStep(step);
    set.modelCount = thinned ? set.family1Count : set.family2Count;
    set.models = thinned ? set.family1 : set.family2;
    run.steps.path = path;
    ClearErrorStack();
    if (VerifyCandidatesByShape(&run.steps, &run.contours(), &run.points(), &run.store->frame,
                                &run.graph(), &run.nodes(), &set, work,
                                &g_classCheckRoutines) == 0) {
      CheckSurvivors(*work);
      if (work->survivorCount > 0) {
        work->current = &work->candidates[work->survivorModel[0]];
        CopyStrokeFeaturesToRecord(&run.points(), work);
      }
    }
  }

  // The same drawing as a line of digits.
  StrokeModelSet thinnedSet = *models;
  thinnedSet.modelCount = thinnedSet.family1Count;
  thinnedSet.models = thinnedSet.family1;
  LineResultRecord records[8];
  int count = 0;
  const LineStrokeRun line = {
      image.bits().data(),  image.bytesPerLine(), image.Rect(), &thinnedSet, work,
      &g_classCheckRoutines};
  const int result = ExtractCharStrokes(line, records, 1 + data[1] % 8, &count);
  if (result != -9 && (count < 2 || count > 1 + data[1] % 8)) std::abort();
  return 0;
}
