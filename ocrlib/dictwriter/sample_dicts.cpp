// The small sample dictionaries: a header-only file, a hand-set pattern-only
// file for digits and a stroke-model file that uses every part of the
// stroke section. Tests write them at run time; the dictionary tool writes
// them at build time.
#include <algorithm>
#include <cstdlib>

#include "ocrlib/dictwriter/dict_writer.h"

namespace {

constexpr uint8_t kFullWidthDigitLead = 0x82;
constexpr uint8_t kFullWidthZeroTrail = 0x4F;  // "０"; "９" is 0x58
constexpr int kDigitClasses = 10;

PatternClassRecord NeutralDigitClass() {
  PatternClassRecord c = {};
  c.typeBits = kTypeDigits;
  std::fill(std::begin(c.flagWeights), std::end(c.flagWeights), 100);  // adds nothing
  std::fill(std::begin(c.upper6), std::end(c.upper6), 63);
  std::fill(std::begin(c.upper8), std::end(c.upper8), 255);
  for (int k = 0; k < kRerankFeatures; ++k) c.rerankFeatures[k] = static_cast<uint16_t>(k);
  std::fill(std::begin(c.rivals), std::end(c.rivals), kNoRival);
  c.memberCount = 1;
  return c;
}

ModelStrokeFile Stroke(std::vector<uint8_t> codes, int16_t centreX, int16_t centreY) {
  ModelStrokeFile s = {};
  s.codes = std::move(codes);
  s.mean[0] = centreX;
  s.mean[1] = centreY;
  std::fill(std::begin(s.weight), std::end(s.weight), 1);
  return s;
}

ModelPathFile Path(uint8_t jointValue, std::vector<int32_t> references) {
  return ModelPathFile{jointValue, std::move(references)};
}

ModelRecordFile Model(const char* name, std::vector<ModelStrokeFile> strokes,
                      std::vector<ModelPathFile> paths, std::vector<ModelPointFile> points = {}) {
  return ModelRecordFile{name, "", std::move(strokes), std::move(paths), std::move(points)};
}

// Stroke codes: kind x 10 + sub-kind; 0 a ring, 10 a horizontal straight
// stroke, 12 a vertical one, 13 a falling diagonal.
ModelRecordFile MinusModel() { return Model("-", {Stroke({10}, 128, 128)}, {Path(0, {1})}); }
ModelRecordFile RingModel() { return Model("0", {Stroke({0}, 128, 128)}, {Path(0, {1})}); }
ModelRecordFile BarModel() { return Model("1", {Stroke({12}, 128, 128)}, {Path(0, {1})}); }

// Three strokes in one path (the third taken backward, so optional) and one
// model point joining the first two.
ModelRecordFile FourModel() {
  ModelPointFile point = {};
  point.required = true;
  point.alternatives = {{0, 'e', 'T', 1, 's'}};
  point.words[0] = 128;  // mean x
  point.words[1] = 10;   // weight x
  point.words[2] = 64;   // mean y
  point.words[3] = 12;   // weight y
  return Model("4", {Stroke({13}, 100, 150), Stroke({10}, 128, 100), Stroke({12, 13}, 160, 128)},
               {Path(1, {1, 2, -3})}, {point});
}

}  // namespace

DictFileSpec MakeHeaderOnlyDict() {
  DictFileSpec spec;
  spec.header = MakeDictHeader(kTypeDigits, "digits, header only", false);
  return spec;
}

DictFileSpec MakeDigitPatternDict() {
  DictFileSpec spec;
  spec.header = MakeDictHeader(kTypeDigits, "digits, pattern classifier", true);
  spec.hasPatterns = true;
  PatternSectionFile& p = spec.patterns;
  for (int d = 0; d < kDigitClasses; ++d) {
    p.classes.push_back(NeutralDigitClass());
    p.members.push_back({kTypeDigits, kFullWidthDigitLead,
                         static_cast<uint8_t>(kFullWidthZeroTrail + d), 1, nullptr});
    p.items.push_back(PatternItem{});  // no box data
  }
  p.tailClassCount = kDigitClasses;  // every class examined for every character
  p.groupWords.assign(kShapeGroups, 0);
  for (int i = 0; i < 63; ++i) p.thresholds63[i] = static_cast<uint16_t>(16 * (i + 1));
  for (int i = 0; i < 31; ++i) p.thresholds31[i] = static_cast<uint16_t>(32 * (i + 1));
  std::fill(std::begin(p.thresholds7), std::end(p.thresholds7), 65535);
  for (int i = 0; i < kRawFeatures; ++i) p.featureIndexTable[i] = static_cast<uint16_t>(i);
  for (int r = 0; r < 64; ++r) {
    for (int c = 0; c < 64; ++c) p.boundDistanceTable[r * 64 + c] = static_cast<uint8_t>(std::abs(r - c));
  }
  for (int r = 0; r < 256; ++r) {
    for (int c = 0; c < 256; ++c) {
      p.fineBoundDistanceTable[r * 256 + c] = static_cast<uint8_t>(std::min(std::abs(r - c), 255));
    }
  }
  return spec;
}

// Groups g0 signs and g1 digits. Family 1: "-" / "0", "1" / "-" again;
// family 2: "-" / "4", "1" / "-" again; one refinement model "7" of g1 with
// two entries.
DictFileSpec MakeStrokeSampleDict() {
  DictFileSpec spec;
  spec.header = MakeDictHeader(kTypeDigits | kTypeSigns, "digits and signs, stroke models", false);
  spec.hasStrokes = true;
  StrokeSectionFile& s = spec.strokes;
  s.family1[0] = 1, s.family1[1] = 2;
  s.family2[0] = 1, s.family2[1] = 2;
  s.extended = true;
  s.refinementModels[1] = 1;
  s.models = {MinusModel(), RingModel(), BarModel(), MinusModel(),
              MinusModel(), FourModel(), BarModel(), MinusModel(),
              Model("7", {Stroke({10}, 128, 40), Stroke({13}, 128, 160)}, {Path(0, {1, 2})})};
  s.entries[1] = {{0, 0x37, 900, {3, 1, 4}}, {0, 0x31, 400, {}}};
  return spec;
}

const SampleDict kSampleDicts[3] = {
    {"header_only", MakeHeaderOnlyDict},
    {"digit_patterns", MakeDigitPatternDict},
    {"stroke_sample", MakeStrokeSampleDict},
};
