// Handwriting-like digits drawn with the pen kit: each digit in a few ways of
// writing it, and every sample with a size, width, slant, turn, wobble of its
// lines and pen width of its own, all drawn from a seed, so that a run of
// samples is the same on every machine. Training and held-out samples come
// from different seeds.
#pragma once

#include <cstdint>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace penkit {

struct DigitSample {
  int digit;
  int style;
  uint32_t seed;
  BitImage image;
};

// Ways of writing `digit` (0..9) the kit knows.
int DigitStyleCount(int digit);

// One sample: the digit in its style, varied by the seed, with a white
// margin of 3 pixels around the ink.
DigitSample DrawDigit(int digit, int style, uint32_t seed);

// `perDigit` samples of every digit, styles in turn, seeds from `seed` on.
std::vector<DigitSample> DigitSamples(uint32_t seed, int perDigit);

}  // namespace penkit

namespace penkit {

// Decisions of the structural recogniser on a run of samples: for every
// template set, and for the measures that decide without templates (index
// kTemplateSetCount + the digit they decide), how often it decided and how
// often rightly; and per digit how many samples were decided at all.
struct SetTally {
  int decided = 0;
  int right = 0;
};
// Branches that decide by measures alone, apart by the structure pattern
// row whose procedure ran (0 none, 1..20) and by the digit they decide.
constexpr int kStructureRows = 21;
inline int MeasureBranch(int row, int digit) { return kTemplateSetCount + row * 10 + digit; }

struct DecisionTally {
  std::vector<SetTally> sets;  // the template sets, then the measure branches
  int samples[10] = {};
  int decided[10] = {};
  int right[10] = {};
  int failures = 0;  // decisions that returned -9
};
DecisionTally TallyStructureDecisions(const std::vector<DigitSample>& samples);

}  // namespace penkit
