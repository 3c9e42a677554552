// mupa_dictbuilder: trains the digit, capital and katakana pattern
// dictionaries and writes them into a folder as "digits.dic", "capitals.dic"
// and "katakana.dic". They learn from the handwriting fonts, pen drawings
// and, given --mnist <folder of the MNIST digit files>, real handwritten
// digits (samples 0..599 of each). With --test-samples N it also writes N
// held-out samples of each set (other seeds than training) as
// "<set>_test.pack", and MNIST samples 600..699 of each digit as
// "digits_mnist_test.pack".
// Usage: mupa_dictbuilder <folder> [--mnist DIR] [--test-samples N]
//        mupa_dictbuilder <folder> --fonts-only N   (N font samples a character)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ocrlib/dictbuilder/rendered_training.h"

namespace {

int WritePack(const std::string& path, const std::vector<glyphs::Sample>& samples) {
  std::string error;
  if (WriteSamplePack(path, PackSamples(samples), &error) != 0) {
    std::fprintf(stderr, "mupa_dictbuilder: %s\n", error.c_str());
    return -1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: mupa_dictbuilder <folder> [--mnist DIR] [--test-samples N] "
                 "[--fonts-only N]\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::string mnist;
  int testSamples = 0, fontsOnly = 0;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--mnist") == 0) mnist = argv[i + 1];
    if (std::strcmp(argv[i], "--test-samples") == 0) testSamples = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--fonts-only") == 0) fontsOnly = std::atoi(argv[i + 1]);
  }
  std::string error;
  auto renderer = glyphs::GlyphRenderer::Open(&error);
  if (!renderer) {
    std::fprintf(stderr, "mupa_dictbuilder: %s\n", error.c_str());
    return 1;
  }
  double seconds = 0;  // making the training samples and training
  for (glyphs::CharSet set :
       {glyphs::CharSet::kDigits, glyphs::CharSet::kCapitals, glyphs::CharSet::kKatakana}) {
    TrainingSources sources = ShippedSources(set, mnist);
    if (fontsOnly > 0) {
      sources = TrainingSources();
      sources.perClass = fontsOnly;
    }
    DictFileSpec spec;
    BuildReport report;
    const auto start = std::chrono::steady_clock::now();
    const int rc = TrainDict(*renderer, set, sources, &spec, &report, &error);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (rc != 0) {
      std::fprintf(stderr, "mupa_dictbuilder: %s: %s\n", CharSetName(set), error.c_str());
      return 1;
    }
    const std::string path = folder + "/" + CharSetName(set) + ".dic";
    if (WriteDictBytes(path, EncodeDictFile(spec)) != 0) {
      std::fprintf(stderr, "mupa_dictbuilder: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s: %d samples (%d blank), %d characters, %d classes\n", path.c_str(),
                report.samples, report.blank, report.codes, report.classes);
    if (testSamples <= 0) continue;
    std::vector<glyphs::Sample> held, real;
    if (HeldOutSamples(*renderer, set, testSamples, mnist, &held, &real, &error) != 0) {
      std::fprintf(stderr, "mupa_dictbuilder: %s\n", error.c_str());
      return 1;
    }
    if (WritePack(folder + "/" + CharSetName(set) + "_test.pack", held) != 0) return 1;
    if (!real.empty() && WritePack(folder + "/digits_mnist_test.pack", real) != 0) return 1;
  }
  std::printf("trained in %.1f s\n", seconds);
  return 0;
}
