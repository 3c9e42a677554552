// The classifier benchmark's measurement, shared by its native program and
// its Windows program (run under Wine): held-out characters classified by a
// loaded pattern dictionary, top-1 and top-3 accuracy and characters a
// second on one core.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ocrlib/dictbuilder/dict_builder.h"

struct ClassifierFigures {
  int total = 0;
  int top1 = 0;
  int top3 = 0;
  double seconds = 0;  // classification alone
};

// Loads the dictionary through the library's exports (MupaLoadPatternDict);
// null with *error set when it does not load.
const DictBlock* LoadBenchDictionary(const std::string& path, std::string* error);
// One character classified as a pattern-only dictionary serves it: the
// classifier's list merged (codes once each).
CharWorkRecord ClassifyPacked(const DictBlock* dict, uint32_t mask, PackedChar& c);
// Every character classified as a pattern-only dictionary serves it: the
// classifier's list merged (codes once each), ranks compared with the label.
ClassifierFigures MeasureClassifier(const DictBlock* dict, uint32_t mask,
                                    std::vector<PackedChar>& chars);
// Prints accuracy and speed against their targets; returns 0 (a benchmark
// reports, it does not fail).
void PrintClassifierFigures(const char* what, const ClassifierFigures& f, double top1Target,
                            double speedTarget);
