// Drawing kit for the stroke tests: characters drawn with a round pen of a
// given width along known centrelines (lines, arcs, circles) into 1-bit
// images with the library's bit order (bit 7 of a byte is the leftmost pixel,
// a set bit is black), and the stroke pipeline run on them as the
// recognition driver runs it, so that tests can compare what the library
// found with the drawn shape.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "ocrlib/core/core_internal.h"
#include "ocrlib/mupa32.h"

namespace penkit {

struct Vec {
  double x, y;  // image pixels, y down
};

// The centrelines of a drawn character, each an open polyline.
class Figure {
 public:
  Figure& Line(Vec a, Vec b);
  Figure& Polyline(std::initializer_list<Vec> points);
  Figure& Polyline(const std::vector<Vec>& points);
  // Arc round `centre` from `fromDeg` to `toDeg` (degrees from +x towards +y,
  // that is clockwise on the page).
  Figure& Arc(Vec centre, double radius, double fromDeg, double toDeg);
  Figure& Circle(Vec centre, double radius) { return Arc(centre, radius, 0, 360); }
  // Adds the centrelines of another figure.
  Figure& Add(const Figure& other);
  // The figure moved and scaled about the origin.
  Figure Scaled(double factor, Vec offset = {0, 0}) const;
  // The figure turned by `degrees` (clockwise on the page) about `centre`.
  Figure Rotated(double degrees, Vec centre) const;
  // Distance from p to the nearest centreline.
  double DistanceTo(Vec p) const;
  // Points every `step` pixels along every centreline.
  std::vector<Vec> Samples(double step) const;
  const std::vector<std::vector<Vec>>& strokes() const { return strokes_; }

 private:
  std::vector<std::vector<Vec>> strokes_;
};

class BitImage {
 public:
  BitImage(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  int bytesPerLine() const { return bytesPerLine_; }
  void Set(int x, int y, bool black = true);
  bool Get(int x, int y) const;
  int BlackCount() const;
  // Descriptor and rectangle of the whole image for the library's calls.
  MupaImage Descriptor();
  MupaRect Rect() const;
  // The rectangle of the black pixels (the whole image when blank).
  MupaRect InkRect() const;
  std::vector<uint8_t>& bits() { return bits_; }

 private:
  int width_, height_, bytesPerLine_;
  std::vector<uint8_t> bits_;
};

// Draws the figure with a round pen: a pixel is black when its centre lies
// within penWidth / 2 of a centreline. The image spans the figure's box plus
// the pen and `margin` white pixels.
BitImage Draw(const Figure& figure, double penWidth, int margin = 3);
// The same into an image of a given size (figure coordinates unchanged).
void Stamp(BitImage& image, const Figure& figure, double penWidth);
// Image from rows of text, '#' black: {"#.#", "###"}.
BitImage FromRows(std::initializer_list<const char*> rows);

// The classifier's measurements of one rectangle (TraceNormalizedChar). The
// outputs start filled with 0xEE bytes, so that a test sees what was written.
struct CharMeasures {
  int result = 0;
  uint8_t density = 0xEE;
  std::array<uint16_t, 8> bands;
  std::array<uint32_t, 4> profiles;
  std::array<uint16_t, 600> features;
  bool operator==(const CharMeasures& o) const {
    return result == o.result && density == o.density && bands == o.bands &&
           profiles == o.profiles && features == o.features;
  }
};
CharMeasures MeasureChar(BitImage& image, MupaRect rect);

// ---- stroke pipeline -----------------------------------------------------
// One character's records through the attempts of a step list, as the
// one-character driver runs them: the contour set is emptied once, the point
// table before every attempt.
struct StrokeRun {
  std::unique_ptr<StrokeRecordStore> store;
  std::vector<uint8_t> mapBytes;
  NeighbourMap map;
  StrokeStepList steps;
  int mapResult = 0;
  int extraction = 0;  // result of the last extraction
  int analysis = 0;    // of the last structure analysis (when extraction gave 0)
  int frame = 0;       // of the last NormalizeStrokeFrame
  int mapOriginX = 0;  // image position of map pixel (0, 0)
  int mapOriginY = 0;

  StrokePointTable& points() { return store->points; }
  StrokeGraph& graph() { return store->graph; }
  StrokeNodeLists& nodes() { return store->nodeLists; }
  ContourSet& contours() { return store->contours; }
};

// Builds the neighbour map of the image's ink box and runs the steps; with
// `analyse` false only extraction runs (the point graph keeps its junctions).
// Without `store` the run gets a new one; a store passed in is used as a
// driver keeps it from one character to the next: bound once, with what
// earlier characters left in its records.
StrokeRun RunSteps(BitImage& image, std::initializer_list<uint8_t> steps,
                   bool analyse = true, std::unique_ptr<StrokeRecordStore> store = nullptr);

// The stroke benchmark's workload: `count` digit-like characters of 64 x 64
// pixels (a stroke, a bent stroke, an arc, a crossing, or a ring with a tail)
// at random places, drawn with pens of 3 to 7 pixels. One seed always gives
// the same characters (the tree's builds share one standard library).
constexpr int kRandomCharacterSide = 64;
std::vector<BitImage> RandomCharacters(uint32_t seed, int count);

// A point graph laid out by hand (image rows, y down), finished as extraction
// finishes it, for tests of structure analysis and the point primitives.
class HandGraph {
 public:
  explicit HandGraph(uint8_t step = 1);
  int Point(int x, int y);  // index of the new point
  void Link(int a, int b);
  // Points along a polyline, consecutive ones linked; returns their indices.
  std::vector<int> Chain(std::initializer_list<std::pair<int, int>> xy);
  int Finish();   // FinishStrokePoints
  int Analyse();  // AnalyseStrokeStructure, then NormalizeStrokeFrame
  StrokePointTable& points() { return store->points; }
  StrokeGraph& graph() { return store->graph; }
  StrokeNodeLists& nodes() { return store->nodeLists; }
  std::unique_ptr<StrokeRecordStore> store;
  StrokeStepList steps;
};

// Counts over the live points of the extracted graph.
struct DegreeCounts {
  int ends = 0;       // degree 1
  int junctions = 0;  // degree 3 or more
  int live = 0;
};
DegreeCounts CountDegrees(const StrokePointTable& points);

// Image position of a stroke point (after extraction: y up, map pixels).
Vec ImagePosition(const StrokeRun& run, const StrokePoint& p);
// Largest distance (pixels) of a live point from the figure's centrelines.
double MaxDistanceFromCentreline(const StrokeRun& run, const Figure& figure);
// Largest distance of a centreline sample from the skeleton (its live points
// and the links between them).
double MaxGapToSkeleton(const StrokeRun& run, const Figure& figure);

}  // namespace penkit
