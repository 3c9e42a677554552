// Random pen-drawn stroke sets through extraction, stroke-model matching and
// every katakana check, plain and "@", against broad models of every
// katakana class (the survivors must come out sorted); then every katakana
// row on random assignments of the drawing's strokes and feature points to
// models of up to 12 strokes and 3 points, absent strokes, unmatched and
// unknown points included, on the thinned steps (contour pairs) and the
// polygon steps (contour points) alike. A row may only keep or reject its
// candidate; nothing else of the candidate may change.
// Input: a control byte (step, path), a pen byte, a byte that seeds the
// assignments, then polylines of 2 to 4 points, each point two bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ocrlib/checks/checks_internal.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/checks/check_fuzz_kit.h"

namespace {

// The rows of the katakana classes (from "@_A" to "-" in the table), plain
// and "@", and those of them that have a routine.
struct KanaRows {
  std::vector<int> withRoutine;
  std::vector<const char*> plain, at;
};
const KanaRows& Rows() {
  static const KanaRows rows = [] {
    KanaRows r;
    for (int i = FindClassCheckRow("@_A"); i >= 0 && i <= FindClassCheckRow("-"); ++i) {
      const CharCheckRule& rule = g_classCheckTable[i];
      (rule.name[0] == '@' ? r.at : r.plain).push_back(rule.name);
      if (rule.routine != nullptr) r.withRoutine.push_back(i);
    }
    return r;
  }();
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const StrokeModelSet* const models =
      LoadBroadModels({Rows().plain, 1, 4}, {Rows().at, 2, 11}, kTypeKatakana);
  static SessionWorkArea* const work = new SessionWorkArea;
  if (size < 7) return 0;
  static constexpr uint8_t kSteps[] = {1, 3, 4, 0, 2};
  const uint8_t step = kSteps[data[0] % 5];
  Picker pick{data[2]};
  const penkit::Figure figure = FigureFromBytes(data, size, 3);
  if (figure.strokes().empty()) return 0;
  penkit::BitImage image = penkit::Draw(figure, 2 + data[1] % 7);
  penkit::StrokeRun run = penkit::RunSteps(image, {step});
  if (run.extraction != 0 || run.analysis != 0 || run.frame != 0) return 0;

  run.steps.path = (data[0] >> 5) & 1;
  const StrokeModelSet set = SelectionForStep(*models, step, kTypeKatakana);
  if (!VerifyWithChecks(run, set, work)) return 0;
  RunRowsOnRandomAssignments(run, set, work, Rows().withRoutine, 12, 3, "", pick);
  return 0;
}
