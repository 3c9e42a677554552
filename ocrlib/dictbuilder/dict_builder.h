// Pattern-dictionary builder: trains a pattern-only dictionary from labelled
// 1-bit character images. Features are measured and quantised by the
// library's own routines (MeasurePatternChar, QuantizePatternFeatures), so
// they are bit for bit what recognition computes. The builder chooses the
// feature index table (by how well each raw value separates the classes),
// the threshold tables (quantiles of the pooled values), one class record per
// cluster of each character's samples (bounds from percentiles of the
// cluster) and the penalty tables, and hands the result to the dictionary
// writer.
//
// Also the sample pack: labelled images in one file, so that a program that
// cannot render them (the Windows benchmark under Wine) reads the very
// images the native side made.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ocrlib/dictwriter/dict_writer.h"

// One labelled character: its image, the rectangle to measure, the code the
// dictionary is to return and its CharTypeMask bit.
struct LabelledChar {
  RunImage image;
  MupaRect rect;
  uint16_t sjis;
  uint32_t typeBit;
};

struct BuilderOptions {
  std::string description;
  int maxClustersPerCode = 6;   // class records per character
  int minClusterSamples = 12;   // fewer samples make fewer clusters
  int boundPercent = 20;        // bounds: this percentile and its mirror
  int coarsePenalty = 4;        // penalty a step outside a six-bit bound
  int finePenalty = 1;          // a step outside an eight-bit bound
  uint32_t seed = 1;            // clustering's start
  // Learning vector quantisation after clustering: passes over the samples,
  // the first step (eight-bit feature units, falling to 0 by the last
  // pass), and the margin in percent within which a right answer still
  // moves the boxes.
  int refineEpochs = 0;
  double refineStep = 2;
  int refineMargin = 5;
};

struct BuildReport {
  int samples = 0;
  int blank = 0;  // samples without ink, left out
  int codes = 0;
  int classes = 0;
};

// Builds the dictionary into *spec. 0, or -1 with *error set (no samples, or
// more classes than a dictionary holds).
int BuildPatternDict(const std::vector<LabelledChar>& samples, const BuilderOptions& options,
                     DictFileSpec* spec, BuildReport* report, std::string* error);

// ---- sample packs -------------------------------------------------------------------
struct PackedChar {
  uint16_t sjis;
  uint32_t typeBit;
  int16_t width, height;
  MupaRect rect;
  std::vector<uint8_t> bits;  // (width + 7) / 8 bytes a row
  RunImage Image();           // a view of `bits` at 200 dpi
};

// Writes / reads a pack file. 0, or -1 with *error set (a file that is not a
// pack, or one cut short, is refused whole).
int WriteSamplePack(const std::string& path, const std::vector<PackedChar>& chars,
                    std::string* error);
int ReadSamplePack(const std::string& path, std::vector<PackedChar>* chars, std::string* error);
