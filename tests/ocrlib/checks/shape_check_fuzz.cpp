// Random pen-drawn stroke sets through extraction, stroke-model matching and
// every digit check, against broad models of every digit class (so that
// matches are common and the check rows run), on the one-character path and
// the line path; the survivors must come out sorted.
// Input: a control byte (step, mask, path), a pen byte, then polylines of
// 2 to 4 points, each point two bytes in a 64 x 96 box.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>

#include "ocrlib/checks/checks_internal.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/checks/check_fuzz_kit.h"

namespace {

const char* const kDigitClasses[] = {
    "0",  "0a", "0b", "0c", "1",  "1b", "1c", "2",  "2a", "2b", "2c", "2d", "2e", "2f",
    "3",  "3a", "3b", "3c", "4",  "4a", "4b", "4c", "4d", "4e", "4f", "4g", "4h", "4i",
    "5",  "5a", "5b", "5c", "5d", "5e", "5f", "5g", "5h", "6",  "6a", "6b", "7",  "7a",
    "7b", "7c", "7d", "7e", "8",  "8a", "8b", "8c", "8d", "8e", "8f", "8g", "8h", "8i",
    "8j", "8k", "8l", "8m", "8n", "9",  "9a", "9b", "9c", "9d", "9e", "9f"};
const char* const kAtDigitClasses[] = {"@0",  "@1", "@2", "@2a", "@3", "@3a", "@4",  "@4a", "@5",
                                       "@5a", "@6", "@7", "@7a", "@8", "@8a", "@8b", "@8c", "@9"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const StrokeModelSet* const models = LoadBroadModels(
      {{std::begin(kDigitClasses), std::end(kDigitClasses)}, 1, 4},
      {{std::begin(kAtDigitClasses), std::end(kAtDigitClasses)}, 2, 7}, kTypeDigits);
  static SessionWorkArea* const work = new SessionWorkArea;
  if (size < 6) return 0;
  static constexpr uint8_t kSteps[] = {1, 3, 4, 0, 2};
  const uint8_t step = kSteps[data[0] % 5];
  const uint32_t mask = (data[0] & 0x10) != 0 ? kTypeDigits | kTypeCapitals : kTypeDigits;
  const uint8_t path = (data[0] >> 5) & 1;
  const double pen = 2 + data[1] % 7;
  const penkit::Figure figure = FigureFromBytes(data, size, 2);
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
