// Measurement of the pattern classifier on held-out characters.
#include "bench/classifier_eval.h"

#include <chrono>
#include <cstdio>

const DictBlock* LoadBenchDictionary(const std::string& path, std::string* error) {
  static int16_t handle = MupaBegin();
  const int16_t loaded = handle < 0 ? -1 : MupaGetDictHandle(handle, path.c_str());
  if (loaded >= 0) return GetDictData(loaded);  // one dictionary serves several packs
  if (handle < 0 || MupaLoadPatternDict(handle, path.c_str()) != 0) {
    *error = "cannot load " + path;
    return nullptr;
  }
  const int16_t id = MupaGetDictHandle(handle, path.c_str());
  return id < 0 ? nullptr : GetDictData(id);
}

CharWorkRecord ClassifyPacked(const DictBlock* dict, uint32_t mask, PackedChar& c) {
  DictBlock* const dicts[1] = {const_cast<DictBlock*>(dict)};
  RecogRunBlock run = {};
  run.image = c.Image();
  run.rect = c.rect;
  run.dictCount = 1;
  run.dicts = dicts;
  CharWorkRecord pattern, merged;
  ClearCharRecord(&pattern);
  ClassifyByPattern(&run, mask, &pattern);
  MergeCandidateLists(dict, nullptr, pattern, &merged);
  return merged;
}

ClassifierFigures MeasureClassifier(const DictBlock* dict, uint32_t mask,
                                    std::vector<PackedChar>& chars) {
  ClassifierFigures f;
  std::vector<CharWorkRecord> records(chars.size());
  const auto start = std::chrono::steady_clock::now();
  for (size_t i = 0; i < chars.size(); ++i) records[i] = ClassifyPacked(dict, mask, chars[i]);
  f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  for (size_t i = 0; i < chars.size(); ++i) {
    ++f.total;
    for (int k = 0; k < 3 && k < records[i].count; ++k) {
      if (records[i].candidates[k].code() != chars[i].sjis) continue;
      f.top1 += k == 0;
      ++f.top3;
    }
  }
  return f;
}

void PrintClassifierFigures(const char* what, const ClassifierFigures& f, double top1Target,
                            double speedTarget) {
  const double top1 = 100.0 * f.top1 / f.total, top3 = 100.0 * f.top3 / f.total;
  const double speed = f.total / f.seconds;
  std::printf("%s: %d held-out characters\n", what, f.total);
  std::printf("  top-1 %.2f %% (target %.0f %%, ratio %.3f)   top-3 %.2f %%\n", top1, top1Target,
              top1 / top1Target, top3);
  std::printf("  %.0f characters/s on one core (target %.0f, ratio %.2f)\n", speed, speedTarget,
              speed / speedTarget);
}
