// Random bitmaps through normalisation, extraction (every step), structure
// analysis, the character frame and both retries; the steps run once more in
// one store kept from input to input, as the drivers keep it, and must find
// the same strokes as in a new store. Input: width, height and a step-order
// byte, then the bitmap's bits (repeated when short).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

bool SameSegment(const StrokeSegment& a, const StrokeSegment& b) {
  return a.kind == b.kind && a.subKind == b.subKind && a.end1 == b.end1 && a.end2 == b.end2 &&
         a.pieceCount == b.pieceCount && a.centreX == b.centreX && a.centreY == b.centreY &&
         a.firstX == b.firstX && a.firstY == b.firstY && a.secondX == b.secondX &&
         a.secondY == b.secondY && a.sizeX == b.sizeX && a.sizeY == b.sizeY;
}

// Records are compared only when the last attempt made strokes: after a
// failed one the drivers read none of them.
bool SameStrokes(penkit::StrokeRun& a, penkit::StrokeRun& b) {
  if (a.extraction != b.extraction || a.analysis != b.analysis) return false;
  if (a.extraction != 0 || a.analysis != 0) return true;
  if (a.points().points.count != b.points().points.count ||
      a.graph().segmentTotal != b.graph().segmentTotal ||
      a.graph().segments.count != b.graph().segments.count ||
      a.nodes().nodes.count != b.nodes().nodes.count)
    return false;
  for (int i = 0; i < a.graph().segments.count; ++i)
    if (!SameSegment(a.graph().segments.items[i], b.graph().segments.items[i])) return false;
  for (int i = 0; i < a.nodes().nodes.count; ++i)
    if (a.nodes().nodes.items[i].cls != b.nodes().nodes.items[i].cls) return false;
  return true;
}

std::unique_ptr<StrokeRecordStore> g_keptStore;

}  // namespace

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
  auto runSteps = [&](std::unique_ptr<StrokeRecordStore> store) {
    return thinnedFirst ? penkit::RunSteps(image, {1, 3, 4, 0, 2}, true, std::move(store))
                        : penkit::RunSteps(image, {4, 0, 1, 2, 3}, true, std::move(store));
  };
  penkit::StrokeRun run = runSteps(nullptr);
  if (!g_keptStore) {
    g_keptStore = std::make_unique<StrokeRecordStore>();
    BindStrokeRecordStore(*g_keptStore);
  }
  penkit::StrokeRun kept = runSteps(std::move(g_keptStore));
  if (!SameStrokes(run, kept)) __builtin_trap();
  g_keptStore = std::move(kept.store);
  penkit::StrokeRun thinned = penkit::RunSteps(image, {1});
  if (thinned.extraction == 0) {
    int32_t done = 0;
    JoinNearestStrokeEnds(&thinned.points(), &done);
    AnalyseStrokeStructure(&thinned.steps, &thinned.points(), &thinned.store->frame,
                           &thinned.graph(), &thinned.nodes());
    JoinAlignedStrokeEnds(&thinned.points(), &done);
    AnalyseStrokeStructure(&thinned.steps, &thinned.points(), &thinned.store->frame,
                           &thinned.graph(), &thinned.nodes());
  }
  return 0;
}
