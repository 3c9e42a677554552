// Digits, capitals and katakana drawn with a round pen along centrelines,
// with the variation of real hands: each writing of a class (a "4" open or
// closed at the top, a "7" with or without its bar, a "1" with or without
// flag and foot, loops closed or left open, a katakana's strokes each at an
// angle and length of its own) wobbled point by point, slanted, and drawn
// with pens of 2 to 7 % of the character's height; then scanned as a 5 mm
// cell at 200..400 dpi.
#pragma once

#include <cstdint>
#include <vector>

#include "ocrlib/samples/glyph_samples.h"

namespace glyphs {

// Which writings are drawn: the common ones, or the rarer styles as well.
enum class WritingStyles { kCommon, kWithRarer };

// `perClass` drawn samples of every character of the set, the class's
// writings taken in turn (katakana have no rarer styles).
std::vector<Sample> DrawSamples(CharSet set, int perClass, uint32_t seed,
                                const Distortion& distortion,
                                WritingStyles styles = WritingStyles::kCommon);

}  // namespace glyphs
