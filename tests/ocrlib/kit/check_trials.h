// Trials of the class-check rows: pen-drawn characters matched against a
// model derived from a clean drawing of the class and then put to the
// class's row, and hand-set candidates with exact feature values.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/ocrlib/kit/model_kit.h"
#include "tests/ocrlib/kit/row_harness.h"

namespace modelkit {

constexpr double kTrialPen = 6;
constexpr uint32_t kDigitsOnly = kTypeDigits;
constexpr uint32_t kCapitalsOnly = kTypeCapitals;
constexpr uint32_t kDigitsAndCapitals = kTypeDigits | kTypeCapitals;

// How one class's model is made from a clean drawing.
struct ClassModel {
  const char* row;
  penkit::Figure glyph;
  ModelDerivation how;
  std::vector<uint8_t> codes;  // replaces the codes of the drawn strokes when given
  // Each drawn stroke may be played by any stroke of its kind: straight, or
  // bent whatever its turns (a ring stays a ring).
  bool anyCodeOfKind = false;
};

// A junction the drawing lacks, between model strokes 0 and 1, at (x, y)
// in the frame: an extra point of a derivation.
AuthoredPoint LooseJunction(int16_t x, int16_t y);

struct Trial {
  const char* what;
  penkit::Figure shape;
  uint32_t mask;
  uint16_t expected;  // the class code the candidate keeps, 0 rejected
  // Rejected for its distance alone, before the row runs.
  bool overThreshold = false;
};

// Each trial matched against the class's model alone (it must match, so
// that the row decides), then put to the class's row.
void ExpectTrials(const ClassModel& cls, std::initializer_list<Trial> trials);
// The same, and each trial decided by the row itself, as its verdict tells:
// the row ran, and rejected the trials expected rejected, unless a trial is
// marked as rejected for its distance alone.
void ExpectTrialsDecidedByRow(const ClassModel& cls, std::initializer_list<Trial> trials);

// What the class's row made of a shape matched against the class's model
// alone.
struct TrialDecision {
  bool matched = false;  // the shape matched the model
  uint16_t valid = 0;    // the class code kept, 0 rejected
  int16_t distance = 0;
  std::string routine;   // the row that ran; empty when none did
  CheckVerdict verdict;  // where it decided (its routine left out)
};
TrialDecision DecideTrial(const ClassModel& cls, const penkit::Figure& shape, uint32_t mask);

// A candidate laid by hand, its distance and the class code it must keep (0
// rejected) after the class's row.
struct Boundary {
  const char* what;
  const char* row;
  int strokes, points;
  void (*lay)(RowHarness&);
  int16_t distance;
  uint16_t expected;
};
void ExpectBoundaries(std::initializer_list<Boundary> cases);

// The outline of a bar: a ring whose top runs left from its upper right
// corner (200, 100) to its upper left corner (50, 100), image rows, rising
// `bulge` rows at x 128. The frame is moved so that it maps row r to 256 - r
// (and pixels to frame units one to one). Returns the ring's first point,
// the upper right corner.
ContourPoint* LayBarOutline(RowHarness& h, int bulge);

}  // namespace modelkit
