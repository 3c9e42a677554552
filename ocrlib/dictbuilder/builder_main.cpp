// mupa_dictbuilder: trains the digit, capital and katakana pattern
// dictionaries from rendered handwriting-style samples and writes them into
// a folder as "digits.dic", "capitals.dic" and "katakana.dic"; with
// --test-samples it also writes that many held-out samples of each set
// (other seeds than training) as "<set>_test.pack".
// Usage: mupa_dictbuilder <folder> [--per-class N] [--test-samples N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ocrlib/dictbuilder/rendered_training.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: mupa_dictbuilder <folder> [--per-class N] [--test-samples N]\n");
    return 2;
  }
  const std::string folder = argv[1];
  int perClass = 240, testSamples = 0;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--per-class") == 0) perClass = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--test-samples") == 0) testSamples = std::atoi(argv[i + 1]);
  }
  std::string error;
  auto renderer = glyphs::GlyphRenderer::Open(&error);
  if (!renderer) {
    std::fprintf(stderr, "mupa_dictbuilder: %s\n", error.c_str());
    return 1;
  }
  double seconds = 0;  // rendering the training samples and training
  for (glyphs::CharSet set :
       {glyphs::CharSet::kDigits, glyphs::CharSet::kCapitals, glyphs::CharSet::kKatakana}) {
    DictFileSpec spec;
    BuildReport report;
    const auto start = std::chrono::steady_clock::now();
    const int rc = TrainRenderedDict(*renderer, set, perClass, &spec, &report, &error);
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
    if (testSamples > 0) {
      const auto classes = glyphs::CharacterSet(set);
      const int n = static_cast<int>(classes.size());
      std::vector<glyphs::Sample> held =
          renderer->MakeSamples(classes, (testSamples + n - 1) / n, TestSeed(set));
      held.resize(std::min<size_t>(held.size(), testSamples));
      const std::string pack = folder + "/" + CharSetName(set) + "_test.pack";
      if (WriteSamplePack(pack, PackSamples(held), &error) != 0) {
        std::fprintf(stderr, "mupa_dictbuilder: %s\n", error.c_str());
        return 1;
      }
    }
  }
  std::printf("rendered and trained in %.1f s\n", seconds);
  return 0;
}
