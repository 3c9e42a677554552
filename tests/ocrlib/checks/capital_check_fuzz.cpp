// Random pen-drawn stroke sets through extraction, stroke-model matching and
// every capital check, against broad models of every capital class (the
// survivors must come out sorted); then every capital row on random
// assignments of the drawing's strokes and feature points to models of up
// to 8 strokes and 4 points, absent strokes, unmatched and unknown points
// included. A row may only keep its candidate, reject it or read it as the
// letter its row names; nothing else of the candidate may change.
// Input: a control byte (step, mask, signs), a pen byte, a byte that seeds
// the assignments, then polylines of 2 to 4 points, each point two bytes.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ocrlib/checks/checks_internal.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/checks/check_fuzz_kit.h"

namespace {

// A capital's class name: an optional "@", a capital letter and an
// optional lower-case variant letter.
bool IsCapitalClass(const char* name) {
  const char* p = name[0] == '@' ? name + 1 : name;
  return std::isupper(static_cast<unsigned char>(p[0])) &&
         (p[1] == 0 || (std::islower(static_cast<unsigned char>(p[1])) && p[2] == 0));
}

// The rows of the capital classes that have a routine, plain and "@".
struct CapitalRows {
  std::vector<int> withRoutine;
  std::vector<const char*> plain, at;
};
const CapitalRows& Rows() {
  static const CapitalRows rows = [] {
    CapitalRows r;
    for (int i = 0; i < kClassCheckRows; ++i) {
      const CharCheckRule& rule = g_classCheckTable[i];
      if (!IsCapitalClass(rule.name)) continue;
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
      LoadBroadModels({Rows().plain, 1, 4}, {Rows().at, 2, 7}, kTypeCapitals);
  static SessionWorkArea* const work = new SessionWorkArea;
  if (size < 7) return 0;
  static constexpr uint8_t kSteps[] = {1, 3, 4, 0, 2};
  const uint8_t step = kSteps[data[0] % 5];
  uint32_t mask = (data[0] & 0x10) != 0 ? kTypeDigits | kTypeCapitals : kTypeCapitals;
  if ((data[0] & 0x20) != 0) mask |= kTypeSigns;
  const double pen = 2 + data[1] % 7;
  Picker pick{data[2]};
  const penkit::Figure figure = FigureFromBytes(data, size, 3);
  if (figure.strokes().empty()) return 0;
  penkit::BitImage image = penkit::Draw(figure, pen);
  penkit::StrokeRun run = penkit::RunSteps(image, {step});
  if (run.extraction != 0 || run.analysis != 0 || run.frame != 0) return 0;

  const StrokeModelSet set = SelectionForStep(*models, step, mask);
  if (!VerifyWithChecks(run, set, work)) return 0;
  RunRowsOnRandomAssignments(run, set, work, Rows().withRoutine, 8, 4, "VOL", pick);
  return 0;
}
