// Stroke analysis throughput on synthetic handwritten-like characters of
// 64 x 64 pixels (10,000 unless given), one core:
//  - the whole, through the calls the one-character driver makes:
//    normalisation and features (TraceNormalizedChar), the neighbour map,
//    stroke extraction by thinning (RunStrokeExtraction, step 1) and the
//    structure (AnalyseStrokeStructure, NormalizeStrokeFrame), against the
//    target of 20,000 characters a second;
//  - each stage apart, the extraction taken apart into tracing, thinning and
//    finishing the points, in a second pass that must find the same strokes.
// One store of records serves every character, as the drivers keep it.
// Usage: stroke_bench [characters]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

constexpr double kTargetPerSecond = 20000;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

enum Stage { kFeatures, kMap, kTracing, kThinning, kExtraction, kStructure, kStages };
constexpr const char* kStageNames[kStages] = {
    "normalisation and features", "neighbour map", "tracing", "thinning",
    "extraction (finishing the points)", "structure"};

// What one character's analysis leaves, to check that both passes agree.
struct Outcome {
  int segments = 0;
  int failures = 0;
  bool operator==(const Outcome& o) const { return segments == o.segments && failures == o.failures; }
};

// The records and the buffers of the measures, the same for every character.
class Analysis {
 public:
  Analysis() : store_(new StrokeRecordStore), map_(kMaxNeighbourMapBytes) {
    BindStrokeRecordStore(*store_);
    steps_.count = 1;
    steps_.steps[0] = 1;
    steps_.family = kStepFamilyThinned;
  }

  // The whole, as the driver calls it.
  void Run(penkit::BitImage& image, Outcome* outcome) {
    if (Features(image) != 0 || BuildMap(image) != 0 ||
        RunStrokeExtraction(&steps_, &map_.view, &store_->contours, &store_->points) != 0 ||
        Structure() != 0) {
      ++outcome->failures;
      return;
    }
    outcome->segments += store_->graph.segmentTotal;
  }

  // The same stage by stage, adding each stage's time to `spent`.
  void RunStages(penkit::BitImage& image, Outcome* outcome, Clock::duration spent[kStages]) {
    Clock::time_point t = Clock::now();
    auto lap = [&](Stage stage) {
      const Clock::time_point now = Clock::now();
      spent[stage] += now - t;
      t = now;
    };
    const int features = Features(image);
    lap(kFeatures);
    const int map = features == 0 ? BuildMap(image) : -1;
    lap(kMap);
    if (map != 0) {
      ++outcome->failures;
      return;
    }
    // Scratch as RunStrokeExtraction takes it: tracer slots and one contour
    // point per map pixel.
    const size_t pixels = static_cast<size_t>(map_.view.width) * map_.view.height;
    std::unique_ptr<ContourPoint*[]> scratch(
        new ContourPoint*[pixels + kContourSlotsPerPixel * map_.view.width]);
    const int traced = TraceContours(&map_.view, &store_->contours, scratch.get()) == 0 &&
                               ClassifyContours(&store_->contours) == 0
                           ? 0
                           : -1;
    lap(kTracing);
    int thinned = traced == 0 ? ThinStrokes(&map_.view, &store_->contours, &store_->points,
                                            scratch.get())
                              : -1;
    if (thinned == -1) ResetStrokeNodeCounts(&store_->points);
    scratch.reset();
    lap(kThinning);
    const int finished = thinned == 0 ? FinishStrokePoints(&steps_, &store_->points) : -1;
    lap(kExtraction);
    const int structure = finished == 0 ? Structure() : -1;
    lap(kStructure);
    if (structure != 0) {
      ++outcome->failures;
      return;
    }
    outcome->segments += store_->graph.segmentTotal;
  }

 private:
  struct Map {
    explicit Map(size_t bytes) : bytes(bytes) {}
    std::vector<uint8_t> bytes;
    NeighbourMap view{};
  };

  int Features(penkit::BitImage& image) {
    const MupaImage d = image.Descriptor();
    const MupaRect r = image.Rect();
    return TraceNormalizedChar(&d, &r, &density_, bands_, profiles_, features_);
  }

  int BuildMap(penkit::BitImage& image) {
    const MupaRect r = image.Rect();
    const MupaImage d = image.Descriptor();
    int width, height;
    if (BuildNeighbourMap(d.bits, r.left, r.right, r.top, r.bottom, d.bytesPerLine,
                          map_.bytes.data(), &width, &height) != 0) {
      return -1;
    }
    map_.view = NeighbourMap{map_.bytes.data(), static_cast<int16_t>(width),
                             static_cast<int16_t>(height), kNeighbourMapBorder};
    ClearBitmapMargin(&map_.view);
    ResetStrokeWorkLists(&store_->contours);
    ResetStrokeNodeCounts(&store_->points);
    return 0;
  }

  int Structure() {
    if (AnalyseStrokeStructure(&steps_, &store_->points, &store_->frame, &store_->graph,
                               &store_->nodeLists) != 0) {
      return -1;
    }
    NormalizeStrokeFrame(&steps_, &store_->points, &store_->frame, &store_->graph,
                         &store_->nodeLists);
    return 0;
  }

  std::unique_ptr<StrokeRecordStore> store_;
  Map map_;
  StrokeStepList steps_{};
  uint8_t density_ = 0;
  uint16_t bands_[8];
  uint32_t profiles_[4];
  uint16_t features_[kDirectionFeatureCount];
};

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  if (count < 1) {
    std::fprintf(stderr, "usage: stroke_bench [characters]\n");
    return 2;
  }
  std::vector<penkit::BitImage> images = penkit::RandomCharacters(8, count);
  Analysis analysis;

  Outcome whole;
  Clock::duration wholeTime{};
  for (penkit::BitImage& image : images) {
    const Clock::time_point start = Clock::now();
    analysis.Run(image, &whole);
    wholeTime += Clock::now() - start;
  }
  const double seconds = Seconds(wholeTime);

  Outcome staged;
  Clock::duration spent[kStages] = {};
  for (penkit::BitImage& image : images) {
    analysis.RunStages(image, &staged, spent);
  }

  const double perSecond = count / seconds;
  constexpr int side = penkit::kRandomCharacterSide;
  std::printf("stroke analysis: %d characters of %dx%d, one core\n", count, side, side);
  std::printf("  whole: %.0f characters/s (%.1f us a character; %.2f segments a character, "
              "%d without strokes)\n",
              perSecond, 1e6 * seconds / count,
              static_cast<double>(whole.segments) / count, whole.failures);
  Clock::duration stagesTotal{};
  for (const Clock::duration& d : spent) stagesTotal += d;
  for (int stage = 0; stage < kStages; ++stage) {
    std::printf("  %-34s %7.2f us a character  %5.1f%%\n", kStageNames[stage],
                1e6 * Seconds(spent[stage]) / count,
                100 * Seconds(spent[stage]) / Seconds(stagesTotal));
  }
  std::printf("  %-34s %7.2f us a character%s\n", "stages together",
              1e6 * Seconds(stagesTotal) / count,
              staged == whole ? "" : "  (THE STAGES FOUND OTHER STROKES)");
  std::printf("  target %.0f characters/s: %s (ratio %.2f)\n", kTargetPerSecond,
              perSecond >= kTargetPerSecond ? "met" : "NOT MET", perSecond / kTargetPerSecond);
  return 0;
}
