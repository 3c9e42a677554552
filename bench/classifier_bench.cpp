// Pattern classifier benchmark, native: trains the digit, capital and
// katakana dictionaries from rendered samples (the builder's one command),
// then classifies 10,000 held-out digits and 10,000 held-out katakana (other
// seeds than training) and prints top-1 and top-3 accuracy and characters a
// second on one core against the targets (98 % digits, 92 % katakana, 5,000
// a second). Usage: classifier_bench [folder for the dictionaries]
#include <chrono>
#include <cstdio>
#include <string>

#include "bench/classifier_eval.h"
#include "ocrlib/dictbuilder/rendered_training.h"

namespace {

constexpr int kHeldOut = 10000;
constexpr double kSpeedTarget = 5000;

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  std::string error;
  auto renderer = glyphs::GlyphRenderer::Open(&error);
  if (!renderer) {
    std::printf("classifier_bench: %s\n", error.c_str());
    return 0;
  }
  const auto start = std::chrono::steady_clock::now();
  for (glyphs::CharSet set :
       {glyphs::CharSet::kDigits, glyphs::CharSet::kCapitals, glyphs::CharSet::kKatakana}) {
    DictFileSpec spec;
    BuildReport report;
    if (TrainRenderedDict(*renderer, set, 240, &spec, &report, &error) != 0 ||
        WriteDictBytes(folder + "/" + CharSetName(set) + ".dic", EncodeDictFile(spec)) != 0) {
      std::printf("classifier_bench: training %s failed: %s\n", CharSetName(set), error.c_str());
      return 0;
    }
    std::printf("trained %s: %d samples, %d classes\n", CharSetName(set), report.samples,
                report.classes);
  }
  std::printf("builder: three dictionaries in %.1f s\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  struct Target {
    glyphs::CharSet set;
    uint32_t mask;
    double top1;
  };
  for (const Target& t : {Target{glyphs::CharSet::kDigits, 1, 98},
                          Target{glyphs::CharSet::kKatakana, 8, 92}}) {
    const auto classes = glyphs::CharacterSet(t.set);
    const int perClass = (kHeldOut + static_cast<int>(classes.size()) - 1) / classes.size();
    std::vector<glyphs::Sample> samples = renderer->MakeSamples(classes, perClass, TestSeed(t.set));
    samples.resize(std::min<size_t>(samples.size(), kHeldOut));
    std::vector<PackedChar> chars = PackSamples(samples);
    const DictBlock* dict =
        LoadBenchDictionary(folder + "/" + CharSetName(t.set) + ".dic", &error);
    if (dict == nullptr) {
      std::printf("classifier_bench: %s\n", error.c_str());
      return 0;
    }
    PrintClassifierFigures(CharSetName(t.set), MeasureClassifier(dict, t.mask, chars), t.top1,
                           kSpeedTarget);
  }
  return 0;
}
