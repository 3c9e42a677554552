// Random bitmaps through normalisation, extraction (every step), structure
// analysis, the character frame and both retries. Input: width, height and a
// step-order byte, then the bitmap's bits (repeated when short).
#include <cstddef>
#include <cstdint>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const int width = 1 + data[0] % 90, height = 1 + data[1] % 90;
  const bool thinnedFirst = data[2] & 1;
  penkit::BitImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t bit = static_cast<size_t>(y * width + x) % ((size - 3) * 8);
      if ((data[3 + bit / 8] >> (bit % 8)) & 1) image.Set(x, y);
    }
  penkit::MeasureChar(image, image.Rect());
  if (image.BlackCount() == 0) return 0;
  penkit::StrokeRun run = thinnedFirst ? penkit::RunSteps(image, {1, 3, 4, 0, 2})
                                       : penkit::RunSteps(image, {4, 0, 1, 2, 3});
  penkit::StrokeRun thinned = penkit::RunSteps(image, {1});
  if (thinned.extraction == 0) {
    int32_t done = 0;
    JoinNearestStrokeEnds(&thinned.points(), &done);
    AnalyseStrokeStructure(&thinned.steps, &thinned.points(), &thinned.store->frame,
                           &thinned.graph(), &thinned.nodes());
    MergeNearbyJunctions(&thinned.points(), &done);
    AnalyseStrokeStructure(&thinned.steps, &thinned.points(), &thinned.store->frame,
                           &thinned.graph(), &thinned.nodes());
  }
  return 0;
}
