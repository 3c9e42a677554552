// Stroke models derived from the training writings of a character set: the
// clean glyph of every font that draws the set and pen writings of every
// class, each extracted as recognition extracts it (a thinned step for the
// first family, a polygon step for the second) and laid into a model. The
// writings of one class that extract alike (same stroke codes, groups and
// junctions) give one model; the others stand beside it as further ways of
// writing the class.
#pragma once

#include <cstdint>
#include <string>

#include "ocrlib/dictbuilder/dict_builder.h"
#include "ocrlib/dictwriter/stroke_model_writer.h"
#include "ocrlib/samples/glyph_samples.h"

struct StrokeTrainingReport {
  int writings = 0;  // writings tried in each family
  int refused = 0;   // writings the derivation refused
  int models = 0;    // models derived over both families
  int dropped = 0;   // models the training writings showed to do harm
  int read = 0, right = 0;  // training writings the kept models read, rightly
  int failed = 0;           // writings the recogniser gave up on
};

// Derives the models of `set` into its character group of *families
// (digits g1, capitals g2, katakana g3), up to `perClass` in each family
// (fewer when the family would outgrow what the recogniser selects),
// from the clean writings first and then from the writings `more`. Pen
// writings use `seed`: give it a training seed, never a test seed, and
// `more` only training writings.
void DeriveSetStrokeModels(const glyphs::GlyphRenderer& renderer, glyphs::CharSet set,
                           uint32_t seed, int perClass, const std::vector<glyphs::Sample>& more,
                           StrokeModelFamilies* families, StrokeTrainingReport* report);

// Keeps the models of the set's group that earn their place: the structural
// recogniser reads the training writings `samples` with the models, and a
// model whose answers are more often wrong than right is dropped; again
// until none is. The models pass through a dictionary file at
// `scratchPath`, removed after. 0, or -1 with *error set (the file cannot be
// written or loaded).
int SelectStrokeModels(const std::vector<LabelledChar>& samples, glyphs::CharSet set,
                       const std::string& scratchPath, StrokeModelFamilies* families,
                       StrokeTrainingReport* report, std::string* error);
