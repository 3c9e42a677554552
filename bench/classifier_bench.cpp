// Pattern classifier benchmark: the digit and katakana dictionaries the
// builder trained and their held-out test packs (other seeds than training,
// written by mupa_dictbuilder --test-samples), classified natively or, as
// the Windows program, under Wine with the library linked statically (the
// recognition exports reach no classifier until the one-character driver
// exists). Prints top-1 and top-3 accuracy and characters a second on one
// core against the targets (98 % digits, 92 % katakana, 5,000 a second).
// Usage: classifier_bench <folder>
#include <cstdio>
#include <string>

#include "bench/classifier_eval.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: classifier_bench <folder>\n");
    return 0;
  }
  const std::string folder = argv[1];
  struct Target {
    const char* name;
    uint32_t mask;
    double top1;
  };
  for (const Target& t : {Target{"digits", 1, 98}, Target{"katakana", 8, 92}}) {
    std::string error;
    std::vector<PackedChar> chars;
    const DictBlock* dict = LoadBenchDictionary(folder + "/" + t.name + ".dic", &error);
    if (dict == nullptr ||
        ReadSamplePack(folder + "/" + t.name + "_test.pack", &chars, &error) != 0) {
      std::printf("classifier_bench: %s\n", error.c_str());
      return 0;
    }
    PrintClassifierFigures(t.name, MeasureClassifier(dict, t.mask, chars), t.top1, 5000);
  }
  return 0;
}
