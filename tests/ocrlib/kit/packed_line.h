// Packed characters set side by side on one line image, as a scanner's line
// of handwriting gives them: the image the line and field exports read and
// where each character lies in it.
#pragma once

#include <vector>

#include "ocrlib/dictbuilder/dict_builder.h"

struct PackedLine {
  std::vector<uint8_t> bits;
  MupaImage image = {};          // 200 dpi, bytes per line exact, ink bits set
  std::vector<MupaRect> rects;   // each character's rectangle in the line
};

// The characters left to right, `gap` white columns apart and before the first.
PackedLine ComposePackedLine(const std::vector<PackedChar>& chars, int gap);
