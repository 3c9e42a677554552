// Training from rendered samples: the seeds that keep training and test
// samples apart, and one call that renders a character set and builds its
// dictionary. Used by the builder tool, its tests and the benchmarks
// (native builds only: the samples are rendered with FreeType).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ocrlib/dictbuilder/dict_builder.h"
#include "ocrlib/samples/glyph_samples.h"

// Seeds of the samples a dictionary is trained on and of the held-out ones
// it is measured with; never the same.
uint32_t TrainingSeed(glyphs::CharSet set);
uint32_t TestSeed(glyphs::CharSet set);
// The file stem of a set's dictionary: "digits", "capitals", "katakana".
const char* CharSetName(glyphs::CharSet set);

// Views of the samples (which must outlive them) as the builder takes them.
std::vector<LabelledChar> LabelSamples(std::vector<glyphs::Sample>& samples);
std::vector<PackedChar> PackSamples(const std::vector<glyphs::Sample>& samples);

// Renders `perClass` training samples of every character of the set and
// builds their dictionary. 0, or -1 with *error set.
int TrainRenderedDict(const glyphs::GlyphRenderer& renderer, glyphs::CharSet set, int perClass,
                      DictFileSpec* spec, BuildReport* report, std::string* error);
