// Pattern classifier benchmark: the digit, capital and katakana
// dictionaries the builder trained and their held-out packs (other seeds
// than training, and MNIST samples 600..699 of each digit; written by
// mupa_dictbuilder --test-samples), classified natively or, as the Windows
// program, under Wine with the library linked statically. Prints top-1 and
// top-3 accuracy and characters a second on one core against the targets.
// The packs may come from another folder than the dictionaries, to measure
// an older dictionary on the same characters.
// Usage: classifier_bench <dictionary folder> [<pack folder>]
#include <cstdio>
#include <string>

#include "bench/classifier_eval.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: classifier_bench <dictionary folder> [<pack folder>]\n");
    return 0;
  }
  const std::string folder = argv[1];
  const std::string packs = argc > 2 ? argv[2] : folder;
  struct Target {
    const char* dictionary;
    const char* pack;
    uint32_t mask;
    double top1;
  };
  for (const Target& t : {Target{"digits", "digits_test", 1, 99},
                          Target{"digits", "digits_mnist_test", 1, 97},
                          Target{"capitals", "capitals_test", 2, 97},
                          Target{"katakana", "katakana_test", 8, 98}}) {
    std::string error;
    std::vector<PackedChar> chars;
    const DictBlock* dict = LoadBenchDictionary(folder + "/" + t.dictionary + ".dic", &error);
    if (dict == nullptr ||
        ReadSamplePack(packs + "/" + t.pack + ".pack", &chars, &error) != 0) {
      std::printf("classifier_bench: %s\n", error.c_str());
      continue;
    }
    PrintClassifierFigures(t.pack, MeasureClassifier(dict, t.mask, chars), t.top1, 5000);
  }
  return 0;
}
