// Training from rendered samples.
#include "ocrlib/dictbuilder/rendered_training.h"

uint32_t TrainingSeed(glyphs::CharSet set) { return 1000 + static_cast<uint32_t>(set); }
uint32_t TestSeed(glyphs::CharSet set) { return 90000 + static_cast<uint32_t>(set); }

const char* CharSetName(glyphs::CharSet set) {
  switch (set) {
    case glyphs::CharSet::kDigits: return "digits";
    case glyphs::CharSet::kCapitals: return "capitals";
    default: return "katakana";
  }
}

std::vector<LabelledChar> LabelSamples(std::vector<glyphs::Sample>& samples) {
  std::vector<LabelledChar> out;
  out.reserve(samples.size());
  for (glyphs::Sample& s : samples) {
    const MupaImage d = s.image.Descriptor();
    out.push_back({RunImage{d.width, d.height, d.bitsPerPixel, d.bytesPerLine, d.dpi, d.bits},
                   s.image.ink, s.sjis, s.typeBit});
  }
  return out;
}

std::vector<PackedChar> PackSamples(const std::vector<glyphs::Sample>& samples) {
  std::vector<PackedChar> out;
  out.reserve(samples.size());
  for (const glyphs::Sample& s : samples) {
    out.push_back({s.sjis, s.typeBit, static_cast<int16_t>(s.image.width),
                   static_cast<int16_t>(s.image.height), s.image.ink, s.image.bits});
  }
  return out;
}

int TrainRenderedDict(const glyphs::GlyphRenderer& renderer, glyphs::CharSet set, int perClass,
                      DictFileSpec* spec, BuildReport* report, std::string* error) {
  std::vector<glyphs::Sample> samples =
      renderer.MakeSamples(glyphs::CharacterSet(set), perClass, TrainingSeed(set));
  BuilderOptions options;
  options.description = std::string(CharSetName(set)) + ", trained on rendered handwriting";
  return BuildPatternDict(LabelSamples(samples), options, spec, report, error);
}
