// Choosing the dictionary builder's settings without the held-out samples:
// a set's dictionary is trained as the builder trains it but on MNIST
// samples 0..499 of each digit, and measured by the pattern classifier on a
// validation split of the training sources (rendered and drawn samples of a
// seed of their own, MNIST samples 500..599 of each digit). The benchmark's
// held-out samples (other seeds, MNIST 600..699) are never read, so the
// settings it picks are not fitted to them.
// Usage: dict_tuning <digits|capitals|katakana> <MNIST folder> [name=value ...]
//   clusters, bound, min, variants, perclass, drawn, coarse, fine, epochs,
//   step (tenths), margin, bent: the TrainingSources and BuilderOptions
//   fields of those names; breaks, specks, thicken, thin: the training
//   distortion's chances, in percent; elastic: the elastic bend of every training
//   sample, bending: that of the bent samples alone, in percent of the
//   character's size; rarer=0: the pen's common writings alone;
//   unseen=PART: trains without the font faces whose file name holds PART
//   and measures the font samples on those faces alone, as hands the
//   dictionary never saw.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/classifier_eval.h"
#include "ocrlib/dictbuilder/rendered_training.h"

namespace {

constexpr int kValidationCount = 3000;
constexpr int kMnistTrainedHere = 500;  // MNIST 500..599 validate

uint32_t ValidationSeed(glyphs::CharSet set) { return 50000 + static_cast<uint32_t>(set); }

glyphs::CharSet SetNamed(const char* name) {
  if (std::strcmp(name, "capitals") == 0) return glyphs::CharSet::kCapitals;
  if (std::strcmp(name, "katakana") == 0) return glyphs::CharSet::kKatakana;
  return glyphs::CharSet::kDigits;
}

void SetOption(const char* assignment, TrainingSources* s) {
  const char* eq = std::strchr(assignment, '=');
  if (eq == nullptr) return;
  const std::string name(assignment, eq);
  const int v = std::atoi(eq + 1);
  if (name == "clusters") s->builder.maxClustersPerCode = v;
  if (name == "bound") s->builder.boundPercent = v;
  if (name == "min") s->builder.minClusterSamples = v;
  if (name == "coarse") s->builder.coarsePenalty = v;
  if (name == "fine") s->builder.finePenalty = v;
  if (name == "epochs") s->builder.refineEpochs = v;
  if (name == "step") s->builder.refineStep = v / 10.0;  // tenths
  if (name == "margin") s->builder.refineMargin = v;
  if (name == "variants") s->mnistVariants = v;
  if (name == "perclass") s->perClass = v;
  if (name == "drawn") s->drawnPerClass = v;
  if (name == "breaks") s->distortion.breakChance = v / 100.0;
  if (name == "specks") s->distortion.speckleChance = v / 100.0;
  if (name == "thicken") s->distortion.thickenChance = v / 100.0;
  if (name == "thin") s->distortion.thinChance = v / 100.0;
  if (name == "elastic") s->distortion.elastic = v / 100.0;
  if (name == "bent") s->bentPerClass = v;
  if (name == "bending") s->bending = v / 100.0;
  if (name == "rarer") {
    s->drawnStyles = v != 0 ? glyphs::WritingStyles::kWithRarer : glyphs::WritingStyles::kCommon;
  }
}

void Report(const char* what, const DictBlock* dict, uint32_t mask,
            std::vector<glyphs::Sample>& samples) {
  if (samples.empty()) return;
  std::vector<PackedChar> chars = PackSamples(samples);
  const ClassifierFigures f = MeasureClassifier(dict, mask, chars);
  std::printf("  %-9s %5d  top-1 %6.2f %%  top-3 %6.2f %%  %6.0f chars/s\n", what, f.total,
              100.0 * f.top1 / f.total, 100.0 * f.top3 / f.total, f.total / f.seconds);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: dict_tuning <digits|capitals|katakana> <MNIST folder> [name=value ...]\n");
    return 0;
  }
  const glyphs::CharSet set = SetNamed(argv[1]);
  TrainingSources sources = ShippedSources(set, argv[2]);
  if (set == glyphs::CharSet::kDigits) sources.mnistCount = kMnistTrainedHere;
  for (int i = 3; i < argc; ++i) SetOption(argv[i], &sources);
  std::string error;
  auto renderer = glyphs::GlyphRenderer::Open(&error);
  auto measured = glyphs::GlyphRenderer::Open(&error);
  for (int i = 3; i < argc && renderer && measured; ++i) {
    if (std::strncmp(argv[i], "unseen=", 7) != 0) continue;
    renderer->KeepFaces(argv[i] + 7, false);
    measured->KeepFaces(argv[i] + 7, true);
  }
  DictFileSpec spec;
  BuildReport report;
  std::vector<glyphs::Sample> rendered, mnist;
  if (!renderer || !measured || TrainDict(*renderer, set, sources, &spec, &report, &error) != 0 ||
      MeasuringSamples(*measured, set, ValidationSeed(set), kValidationCount, argv[2],
                       kMnistTrainedHere, glyphs::kMnistTrainingSamples - kMnistTrainedHere,
                       &rendered, &mnist, &error) != 0) {
    std::fprintf(stderr, "dict_tuning: %s\n", error.c_str());
    return 1;
  }
  const std::string path = "dict_tuning_" + std::string(argv[1]) + ".dic";
  if (WriteDictBytes(path, EncodeDictFile(spec)) != 0) return 1;
  const DictBlock* dict = LoadBenchDictionary(path, &error);
  std::remove(path.c_str());
  if (dict == nullptr) return 1;
  std::printf("%s: %d samples, %d classes\n", argv[1], report.samples, report.classes);
  const uint32_t mask = set == glyphs::CharSet::kDigits     ? 1
                        : set == glyphs::CharSet::kCapitals ? 2
                                                            : 8;
  // Font faces and pen drawings apart: a face left out of training shows in
  // the first alone.
  std::vector<glyphs::Sample> fonts, drawn;
  for (glyphs::Sample& sample : rendered) (sample.face >= 0 ? fonts : drawn).push_back(sample);
  Report("fonts", dict, mask, fonts);
  Report("drawn", dict, mask, drawn);
  Report("mnist", dict, mask, mnist);
  return 0;
}
