// mupa_dictbuilder: trains the digit, capital and katakana pattern
// dictionaries from rendered handwriting-style samples and writes them into
// a folder as "digits.dic", "capitals.dic" and "katakana.dic"; with --packs
// it also writes held-out test samples as "<set>_test.pack".
// Usage: mupa_dictbuilder <folder> [--per-class N] [--packs N]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ocrlib/dictbuilder/rendered_training.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: mupa_dictbuilder <folder> [--per-class N] [--packs N]\n");
    return 2;
  }
  const std::string folder = argv[1];
  int perClass = 240, packPerClass = 0;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--per-class") == 0) perClass = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--packs") == 0) packPerClass = std::atoi(argv[i + 1]);
  }
  std::string error;
  auto renderer = glyphs::GlyphRenderer::Open(&error);
  if (!renderer) {
    std::fprintf(stderr, "mupa_dictbuilder: %s\n", error.c_str());
    return 1;
  }
  for (glyphs::CharSet set :
       {glyphs::CharSet::kDigits, glyphs::CharSet::kCapitals, glyphs::CharSet::kKatakana}) {
    DictFileSpec spec;
    BuildReport report;
    if (TrainRenderedDict(*renderer, set, perClass, &spec, &report, &error) != 0) {
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
    if (packPerClass > 0) {
      const std::string pack = folder + "/" + CharSetName(set) + "_test.pack";
      if (WriteSamplePack(pack,
                          PackSamples(renderer->MakeSamples(glyphs::CharacterSet(set),
                                                            packPerClass, TestSeed(set))),
                          &error) != 0) {
        std::fprintf(stderr, "mupa_dictbuilder: %s\n", error.c_str());
        return 1;
      }
    }
  }
  return 0;
}
