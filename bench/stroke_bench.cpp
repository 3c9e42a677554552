// Stroke analysis throughput: normalisation, thinning (extraction step 1) and
// structure analysis of 10,000 synthetic handwritten-like characters of 64 x 64
// pixels, one core. Prints characters per second and the ratio to the target
// of 20,000 per second. Usage: stroke_bench [characters]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

constexpr int kSide = 64;
constexpr double kTargetPerSecond = 20000;

// Digit-like figures: strokes, bends, loops and crossings at random places.
penkit::Figure RandomCharacter(std::mt19937& rng) {
  std::uniform_real_distribution<double> at(8, kSide - 8);
  penkit::Figure f;
  switch (rng() % 5) {
    case 0: f.Line({at(rng), 6}, {at(rng), kSide - 6}); break;
    case 1: f.Polyline({{at(rng), 8}, {at(rng), 30}, {at(rng), kSide - 8}, {at(rng), kSide - 8}}); break;
    case 2: f.Arc({32, 32}, 12 + rng() % 12, 0, 200 + rng() % 160); break;
    case 3: f.Line({8, at(rng)}, {kSide - 8, at(rng)}).Line({at(rng), 8}, {at(rng), kSide - 8}); break;
    default: f.Circle({32, 22}, 12).Line({44, 22}, {at(rng), kSide - 6}); break;
  }
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  std::mt19937 rng(8);
  std::vector<penkit::BitImage> images;
  for (int i = 0; i < count; ++i) {
    penkit::BitImage image(kSide, kSide);
    penkit::Stamp(image, RandomCharacter(rng), 3 + rng() % 5);
    images.push_back(image);
  }
  StrokeRecordStore* store = new StrokeRecordStore;
  BindStrokeRecordStore(*store);
  std::vector<uint8_t> map(kMaxNeighbourMapBytes);
  StrokeStepList steps;
  steps.count = 1;
  steps.steps[0] = 1;
  steps.family = kStepFamilyThinned;
  int failures = 0, segments = 0;
  const auto start = std::chrono::steady_clock::now();
  for (penkit::BitImage& image : images) {
    const MupaRect r = image.Rect();
    penkit::MeasureChar(image, r);
    const MupaImage d = image.Descriptor();
    int width, height;
    BuildNeighbourMap(d.bits, r.left, r.right, r.top, r.bottom, d.bytesPerLine, map.data(),
                      &width, &height);
    NeighbourMap m{map.data(), static_cast<int16_t>(width), static_cast<int16_t>(height),
                   kNeighbourMapBorder};
    ClearBitmapMargin(&m);
    ResetStrokeWorkLists(&store->contours);
    ResetStrokeNodeCounts(&store->points);
    if (RunStrokeExtraction(&steps, &m, &store->contours, &store->points) != 0 ||
        AnalyseStrokeStructure(&steps, &store->points, &store->frame, &store->graph,
                               &store->nodeLists) != 0) {
      ++failures;
      continue;
    }
    NormalizeStrokeFrame(&steps, &store->points, &store->frame, &store->graph, &store->nodeLists);
    segments += store->graph.segmentTotal;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double perSecond = count / seconds;
  std::printf("stroke analysis: %d characters of %dx%d in %.3f s\n", count, kSide, kSide, seconds);
  std::printf("  %.0f characters per second (target %.0f, ratio %.2f)\n", perSecond,
              kTargetPerSecond, perSecond / kTargetPerSecond);
  std::printf("  %.2f segments per character, %d without strokes\n",
              count ? static_cast<double>(segments) / count : 0.0, failures);
  delete store;
  return 0;
}
