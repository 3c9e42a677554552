// Derives the reliability values of the look-alike completion tables from
// the dictionary builder's training samples (never from held-out ones): the
// samples of each table's characters are rendered with the training seeds,
// a pattern dictionary is trained on them as the builder trains it, every
// sample is classified under the table's character types, and each class's
// value is 25600 x p^(1/4), p the share of its answers that were right (the
// library's confidence of such an answer is then about 100 x p). Prints the
// tables as C++ arrays.
// Usage: completion_reliability [training samples per class, default 240]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench/classifier_eval.h"
#include "ocrlib/dictbuilder/rendered_training.h"

namespace {

// Per answered class: how often it was the answer, how often rightly.
struct Answers {
  int given = 0, right = 0;
};

std::map<uint16_t, Answers> ClassifyAll(const DictBlock* dict, uint32_t mask,
                                        std::vector<PackedChar>& chars) {
  std::map<uint16_t, Answers> answers;
  for (PackedChar& c : chars) {
    const CharWorkRecord record = ClassifyPacked(dict, mask, c);
    if (record.count < 1) continue;
    Answers& a = answers[record.candidates[0].code()];
    ++a.given;
    a.right += record.candidates[0].code() == c.sjis;
  }
  return answers;
}

uint16_t Reliability(const Answers& a) {
  if (a.given == 0) return 0;
  const double p = static_cast<double>(a.right) / a.given;
  return static_cast<uint16_t>(std::floor(25600.0 * std::pow(p, 0.25)));
}

int Train(const std::vector<glyphs::CharSet>& sets, int perClass, const char* description,
          std::vector<glyphs::Sample>* samples, const DictBlock** dict) {
  std::string error;
  auto renderer = glyphs::GlyphRenderer::Open(&error);
  if (!renderer) {
    std::fprintf(stderr, "completion_reliability: %s\n", error.c_str());
    return -1;
  }
  for (glyphs::CharSet set : sets) {
    auto more = renderer->MakeSamples(glyphs::CharacterSet(set), perClass, TrainingSeed(set));
    samples->insert(samples->end(), more.begin(), more.end());
  }
  DictFileSpec spec;
  BuildReport report;
  BuilderOptions options;
  options.description = description;
  if (BuildPatternDict(LabelSamples(*samples), options, &spec, &report, &error) != 0) {
    std::fprintf(stderr, "completion_reliability: %s\n", error.c_str());
    return -1;
  }
  const std::string path = std::string("/tmp/completion_reliability_") + description + ".dic";
  if (WriteDictBytes(path, EncodeDictFile(spec)) != 0) return -1;
  *dict = LoadBenchDictionary(path, &error);
  std::remove(path.c_str());
  return *dict == nullptr ? -1 : 0;
}

void PrintTable(const char* name, const std::vector<uint16_t>& codes,
                const std::map<uint16_t, Answers>& answers) {
  std::printf("constexpr uint16_t %s[%zu] = {", name, codes.size());
  for (size_t i = 0; i < codes.size(); ++i) {
    const auto found = answers.find(codes[i]);
    std::printf("%s%u", i == 0 ? "" : ", ", found == answers.end() ? 0 : Reliability(found->second));
  }
  std::printf("};\n");
}

std::vector<uint16_t> FullWidth(const char* text) {
  std::vector<uint16_t> codes;
  for (const char* p = text; *p; ++p) codes.push_back(static_cast<uint16_t>(0x8200 | (*p + 31)));
  return codes;
}

}  // namespace

int main(int argc, char** argv) {
  const int perClass = argc > 1 ? std::atoi(argv[1]) : 240;
  const uint32_t alnum = kTypeDigits | kTypeCapitals;
  std::vector<glyphs::Sample> alnumSamples, kanaSamples;
  const DictBlock* alnumDict = nullptr;
  const DictBlock* kanaDict = nullptr;
  if (Train({glyphs::CharSet::kDigits, glyphs::CharSet::kCapitals}, perClass, "alnum",
            &alnumSamples, &alnumDict) != 0 ||
      Train({glyphs::CharSet::kKatakana}, perClass, "katakana", &kanaSamples, &kanaDict) != 0) {
    return 1;
  }
  std::vector<PackedChar> alnumChars = PackSamples(alnumSamples);
  std::vector<PackedChar> kanaChars = PackSamples(kanaSamples);
  std::printf("// %d training samples a class, classified by a dictionary trained on them\n",
              perClass);
  std::vector<uint16_t> alnumCodes = FullWidth("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  alnumCodes.push_back(0x817B);  // "＋" and "－": no samples, no value
  alnumCodes.push_back(0x817C);
  PrintTable("kAlnumReliability", alnumCodes, ClassifyAll(alnumDict, alnum, alnumChars));
  // Kana classes 0..45 in the completion table's order; "゛", "゜" and "ー"
  // have no samples.
  std::vector<uint16_t> kanaCodes(49, kNoCandidate);
  for (uint16_t code = 0x8340; code <= 0x8396; ++code) {
    const int kanaClass = SjisToKanaClass(code);
    if (kanaClass >= 0) kanaCodes[kanaClass] = code;
  }
  PrintTable("kKanaReliability", kanaCodes,
             ClassifyAll(kanaDict, kTypeKatakana, kanaChars));
  return 0;
}
