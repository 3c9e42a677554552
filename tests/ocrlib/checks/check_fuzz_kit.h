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
