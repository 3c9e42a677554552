// What the fuzz targets of the class checks share: drawings made of the
// input bytes, and broad stroke models (for every class of a list, models
// whose strokes accept every open stroke code, laid in one chain or each
// apart, with a ring or without, and optional points) so that random
// drawings match often and the classes' rows run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ocrlib/core/core_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

// Polylines of 2 to 4 points from data[from..size), each point two bytes in
// a 64 x 96 box.
penkit::Figure FigureFromBytes(const uint8_t* data, size_t size, size_t from);

// The classes of one family of models and how many strokes their models
// have: `fewest` and up to `spread` - 1 more.
struct BroadFamily {
  std::vector<const char*> classes;
  int fewest;
  int spread;
};

// The model set of a dictionary holding three broad models of every class,
// family 1 (the thinned steps) and family 2 (the polygon steps), offering
// `types`; loaded as the library loads any and kept for the whole run.
// Aborts when the dictionary cannot be written or loaded.
const StrokeModelSet* LoadBroadModels(const BroadFamily& thinned, const BroadFamily& polygon,
                                      uint32_t types);

// The survivors of a verification are at most 16 and sorted by distance;
// aborts otherwise.
void CheckSurvivors(const SessionWorkArea& work);

// The model set with the family of `step` as its selection (family 1 for
// the thinned steps, 2 for the polygon steps) and `mask` as the types read.
StrokeModelSet SelectionForStep(const StrokeModelSet& models, uint8_t step, uint32_t mask);
// Stroke-model matching with every class check on the run's records for
// the selection; the survivors must come out sorted (aborts otherwise).
// False when the verification failed (a full list).
bool VerifyWithChecks(penkit::StrokeRun& run, const StrokeModelSet& selection,
                      SessionWorkArea* work);

// A small generator seeded by the input.
struct Picker {
  uint32_t state;
  int Next(int n) {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 8) % static_cast<uint32_t>(n));
  }
};

// Every row of `rows` (positions in the class-check table) on one random
// assignment of the drawing's strokes and feature points to a model of up
// to `maxStrokes` strokes and `maxPoints` points, absent strokes, unmatched
// and unknown points included, with a distance up to 600 below the row's
// threshold. A row may only keep its candidate, reject it or read it as a
// class of `relabels` (one-letter class codes); nothing else of the
// candidate may change (aborts otherwise).
void RunRowsOnRandomAssignments(penkit::StrokeRun& run, const StrokeModelSet& set,
                                SessionWorkArea* work, const std::vector<int>& rows, int maxStrokes,
                                int maxPoints, const char* relabels, Picker& pick);
