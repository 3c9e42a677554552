// Training from rendered samples: the seeds that keep training and test
// samples apart, and one call that renders a character set and builds its
// dictionary. Used by the builder tool, its tests and the benchmarks
// (native builds only: the samples are rendered with FreeType).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ocrlib/dictbuilder/dict_builder.h"
#include "ocrlib/samples/drawn_chars.h"
#include "ocrlib/samples/glyph_samples.h"
#include "ocrlib/samples/mnist_digits.h"

// Seeds of the samples a dictionary is trained on and of the held-out ones
// it is measured with; never the same.
uint32_t TrainingSeed(glyphs::CharSet set);
uint32_t TestSeed(glyphs::CharSet set);
// The file stem of a set's dictionary: "digits", "capitals", "katakana".
const char* CharSetName(glyphs::CharSet set);

// Views of the samples (which must outlive them) as the builder takes them.
std::vector<LabelledChar> LabelSamples(std::vector<glyphs::Sample>& samples);
std::vector<PackedChar> PackSamples(const std::vector<glyphs::Sample>& samples);

// What a dictionary is trained on.
struct TrainingSources {
  int perClass = 240;       // rendered font samples of every character
  glyphs::SampleSizes sizes = glyphs::SampleSizes::kFixed;
  int drawnPerClass = 0;    // pen drawings of every digit or capital
  // Which writings the pen draws: the rarer styles too, so that a hand
  // writing a character one of those ways is still read.
  glyphs::WritingStyles drawnStyles = glyphs::WritingStyles::kWithRarer;
  // Digits: the folder of the MNIST digit files; when set, samples
  // mnistFirst..mnistFirst+mnistCount-1 of each digit (never past the
  // training ones), each scanned `mnistVariants` times.
  std::string mnistFolder;
  int mnistFirst = 0;
  int mnistCount = glyphs::kMnistTrainingSamples;
  int mnistVariants = 1;
  BuilderOptions builder;  // clustering and bounds of the trainer
  glyphs::Distortion distortion;  // of every training sample
  // Font samples of every character bent as a hand bends strokes (the
  // distortion's elastic share set to `bending`), beside the others: a hand
  // the fonts do not show is nearer one of them, and the unbent samples
  // still hold the fonts' own shapes as tightly.
  int bentPerClass = 0;
  double bending = 0.08;
};

// The sources of the shipped dictionaries: scanned-cell sizes, pen
// drawings, and for digits the MNIST training samples in `mnistFolder`.
TrainingSources ShippedSources(glyphs::CharSet set, const std::string& mnistFolder);

// Renders, draws and reads the training samples of every character of the
// set and builds their dictionary. 0, or -1 with *error set (no font, or
// unreadable MNIST files).
int TrainDict(const glyphs::GlyphRenderer& renderer, glyphs::CharSet set,
              const TrainingSources& sources, DictFileSpec* spec, BuildReport* report,
              std::string* error);
// The same from `perClass` rendered font samples alone.
int TrainRenderedDict(const glyphs::GlyphRenderer& renderer, glyphs::CharSet set, int perClass,
                      DictFileSpec* spec, BuildReport* report, std::string* error);

// The training writings stroke models are chosen on: rendered and drawn
// samples of training seeds and, for digits, MNIST samples 0..599 of each
// digit (when mnistFolder is set). 0, or -1 with *error set.
int StrokeSelectionSamples(const glyphs::GlyphRenderer& renderer, glyphs::CharSet set,
                           const std::string& mnistFolder, std::vector<glyphs::Sample>* out,
                           std::string* error);

// Samples to measure a dictionary with: rendered and drawn ones of `seed`
// (`count` in all) and, for digits, MNIST samples mnistFirst..
// mnistFirst+mnistCount-1 of each digit scanned as written (`mnist`, when
// mnistFolder is set). 0, or -1 with *error set.
int MeasuringSamples(const glyphs::GlyphRenderer& renderer, glyphs::CharSet set, uint32_t seed,
                     int count, const std::string& mnistFolder, int mnistFirst, int mnistCount,
                     std::vector<glyphs::Sample>* rendered, std::vector<glyphs::Sample>* mnist,
                     std::string* error);
// Held-out samples, never trained on: rendered and drawn ones of other
// seeds (`count` in all) and, for digits, MNIST samples 600..699 of each
// digit (`mnist`, when mnistFolder is set).
int HeldOutSamples(const glyphs::GlyphRenderer& renderer, glyphs::CharSet set, int count,
                   const std::string& mnistFolder, std::vector<glyphs::Sample>* rendered,
                   std::vector<glyphs::Sample>* mnist, std::string* error);
