// One stroke extraction attempt: the neighbour map of a character becomes a
// point graph, either closed polygons around every contour (steps 4, 0, 2) or
// the thinned strokes (steps 1, 3; steps 2 and 3 first thicken or thin the
// map by the stroke width measured in an earlier attempt). Contours traced by
// one attempt are reused by the next unless the step is 2 or 3.
#include <memory>
#include <new>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

// Pixels of the map window (inside the margin) that a morphology pass may
// change; the tracer never looks outside it.
struct Morphology {
  int width, first, lastX, lastY;
};

Morphology MorphologyOf(const NeighbourMap& map) {
  const int m = map.margin < 1 ? 1 : map.margin;
  return {map.width, m, map.width - m - 1, map.height - m - 1};
}

void SetNeighbourBits(NeighbourMap* map, int x, int y, bool black) {
  uint8_t* b = map->bytes;
  const int w = map->width;
  auto set = [black](uint8_t& byte, uint8_t bit) {
    byte = static_cast<uint8_t>(black ? byte | bit : byte & ~bit);
  };
  set(b[y * w + x], kMapBlack);
  set(b[(y - 1) * w + x], kMapBelow);
  set(b[(y + 1) * w + x], kMapAbove);
  set(b[y * w + x - 1], kMapRight);
  set(b[y * w + x + 1], kMapLeft);
}

// Turns every pixel of one colour that has a 4-neighbour of the other colour,
// deciding from the map as it was before the pass.
int ApplyMorphology(NeighbourMap* map, bool dilate) {
  const Morphology m = MorphologyOf(*map);
  const uint8_t* b = map->bytes;
  const int changeFrom = dilate ? 0 : kMapBlack;
  std::unique_ptr<uint8_t[]> change(
      new (std::nothrow) uint8_t[static_cast<size_t>(map->width) * map->height]());
  if (!change) {
    PushErrorCode(kErrNoMemory);
    return -9;
  }
  for (int y = m.first; y <= m.lastY; ++y)
    for (int x = m.first; x <= m.lastX; ++x) {
      const uint8_t v = b[y * m.width + x];
      if ((v & kMapBlack) != changeFrom) continue;
      const uint8_t four = v & kMapFourNeighbours;
      if (dilate ? four != 0 : four != kMapFourNeighbours) change[y * m.width + x] = 1;
    }
  for (int y = m.first; y <= m.lastY; ++y)
    for (int x = m.first; x <= m.lastX; ++x)
      if (change[y * m.width + x]) SetNeighbourBits(map, x, y, dilate);
  return 0;
}

bool StepTriedBefore(const StrokeStepList& steps, int step) {
  for (int i = 0; i + 1 < steps.count && i < kMaxStrokeSteps; ++i)
    if (steps.steps[i] == step) return true;
  return false;
}

// Thickens or thins the map once per character by the mean width of the pair
// runs an earlier thinned attempt left, and the contour point count.
// Returns 0, or -9 after 7002.
int AdaptStrokeThickness(const StrokeStepList& steps, NeighbourMap* map,
                          const ContourSet& contours) {
  if (StepTriedBefore(steps, 2) || StepTriedBefore(steps, 3)) return 0;
  int64_t weighted = 0, pairs = 0;
  for (int i = 0; i < contours.runs.count; ++i) {
    const PairRun& r = contours.runs.items[i];
    if (r.kind != kRecordLive) continue;
    weighted += int64_t{r.pairCount} * r.width;
    pairs += r.pairCount;
  }
  if (pairs == 0) return 0;
  const int width = static_cast<int>((weighted / pairs) >> 8);
  const int n = contours.points.count;
  // Passes to run, in order: 'd' dilate, 'e' erode.
  const char* passes;
  switch (width) {
    case 0: passes = "dd"; break;
    case 1: passes = n >= 134 ? "dd" : "d"; break;
    case 2: passes = n >= 158 ? "dd" : "d"; break;
    case 3: passes = "d"; break;
    case 4: passes = n < 194 ? "e" : "de"; break;
    case 5: passes = n < 149 ? "e" : "de"; break;
    default: passes = n >= 181 ? "ee" : "e"; break;
  }
  for (; *passes; ++passes)
    if (ApplyMorphology(map, *passes == 'd') < 0) return -9;
  return 0;
}

}  // namespace

int DilateNeighbourMap(NeighbourMap* map) { return ApplyMorphology(map, true); }

int ErodeNeighbourMap(NeighbourMap* map) { return ApplyMorphology(map, false); }

int FinishStrokePoints(const StrokeStepList* steps, StrokePointTable* points) {
  RecordArray<StrokePoint>& a = points->points;
  points->extractedCount = a.count;
  int minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
  for (int i = 0; i < a.count; ++i) {
    StrokePoint& p = a.items[i];
    p.y = static_cast<int16_t>(-p.y);
    p.savedX = p.x;
    p.savedY = p.y;
    p.savedDegree = p.degree;
    for (int k = 0; k < kMaxPointNeighbours; ++k) p.savedNeighbours[k] = p.neighbours[k];
    p.used = 0;
    p.edge = -1;
    if (p.kind != kPointLive) {
      p.degree = -1;
      continue;
    }
    if (p.x < minX) minX = p.x;
    if (p.x > maxX) maxX = p.x;
    if (p.y < minY) minY = p.y;
    if (p.y > maxY) maxY = p.y;
  }
  if (minX > maxX) {
    points->refSize = points->width = points->height = 1;
    return -1;
  }
  points->width = static_cast<int16_t>(maxX - minX);
  points->height = static_cast<int16_t>(maxY - minY);
  points->refSize = points->width > points->height ? points->width : points->height;
  if (!IsThinnedStep(CurrentStrokeStep(*steps))) return 0;
  for (int i = 0; i < a.count; ++i) {
    StrokePoint& p = a.items[i];
    if (p.kind != kPointLive) continue;
    SortNeighboursByBearing(points, i);
    for (int k = 0; k < kMaxPointNeighbours; ++k) p.savedNeighbours[k] = p.neighbours[k];
  }
  return 0;
}

int RunStrokeExtraction(const StrokeStepList* steps, NeighbourMap* map,
                        ContourSet* contours, StrokePointTable* points) {
  const uint8_t step = CurrentStrokeStep(*steps);
  // Link slots of the tracer (two rows of four per pixel) and one contour
  // point per pixel for the partner search of thinning.
  const size_t pixels = static_cast<size_t>(map->width) * map->height;
  std::unique_ptr<ContourPoint*[]> scratch(
      new (std::nothrow) ContourPoint*[pixels + kContourSlotsPerPixel * map->width]);
  if (!scratch) {
    PushErrorCode(kErrNoMemory);
    return -9;
  }
  if (step == 2 || step == 3) {
    if (AdaptStrokeThickness(*steps, map, *contours) < 0) return -9;
    ResetStrokeWorkLists(contours);
  }
  if (step <= 4) {
    if (contours->points.count == 0) {
      if (TraceContours(map, contours, scratch.get()) < 0) return -9;
      if (ClassifyContours(contours) < 0) return -9;
    } else if (contours->points.count >= contours->points.capacity) {
      // A set filled to its last slot may be what an overflowing trace left:
      // it is not reused, and the reason is on the stack.
      PushErrorCode(kErrCapacityFull);
      return -9;
    }
  }
  if (step == 0 || step == 2 || step == 4) {
    if (BuildContourPolygons(contours, points) < 0) return -9;
  } else if (step == 1 || step == 3) {
    const int rc = ThinStrokes(map, contours, points, scratch.get());
    if (rc == -9) return -9;
    if (rc == -1) {
      ResetStrokeNodeCounts(points);
      return -1;
    }
  }
  scratch.reset();
  return FinishStrokePoints(steps, points) < 0 ? -1 : 0;
}
