// Pattern classifier benchmark, Windows program run under Wine: the library
// linked statically (the recognition exports reach no classifier until the
// recognition drivers exist), the dictionaries and held-out test packs that
// the native builder wrote. Usage: classifier_bench_win <folder>
#include <cstdio>
#include <string>

#include "bench/classifier_eval.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: classifier_bench_win <folder>\n");
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
      std::printf("classifier_bench_win: %s\n", error.c_str());
      return 0;
    }
    PrintClassifierFigures((std::string(t.name) + " (Wine)").c_str(),
                           MeasureClassifier(dict, t.mask, chars), t.top1, 5000);
  }
  return 0;
}
