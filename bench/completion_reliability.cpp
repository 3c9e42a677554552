// Derives the reliability values of the look-alike completion tables from
// the dictionary builder's training samples (never from held-out ones): the
// samples of each table's characters (the signs "＋" and "－" with the digits
// and capitals, the marks "゛", "゜" and "ー" with the katakana) are rendered
// with the training seeds, a pattern dictionary is trained on them as the
// builder trains it, every sample is classified under the table's character
// types, and each class's value is 25600 x p^(1/4), p the share of its
// answers that were right (the library's confidence of such an answer is
// then about 100 x p). The rows of the types 128, 256 and 1024 (the marks
// a line's cells are told by their shape) are measured on lines of the
// training seeds' characters with those marks among them, read by the line
// driver: p is the share of the cells answered with a mark whose box and
// mark were right. Prints the tables as C++ arrays.
// Usage: completion_reliability [training samples per class, default 240] [lines, default 400]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
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

// The signs and marks of the tables, drawn from the fonts' own characters.
const glyphs::CharClass kPlus = {U'+', 0x817B, kTypeSigns}, kMinus = {U'-', 0x817C, kTypeSigns};
const glyphs::CharClass kVoiced = {U'\u309B', 0x814A, kTypeKatakana},
                        kSemiVoiced = {U'\u309C', 0x814B, kTypeKatakana},
                        kLongVowel = {U'\u30FC', 0x815B, kTypeKatakana};

// `sets` and `extra` (after the sets' seeds) rendered with the training seeds.
int Train(const glyphs::GlyphRenderer& renderer, const std::vector<glyphs::CharSet>& sets,
          const std::vector<glyphs::CharClass>& extra, int perClass, const char* description,
          std::vector<glyphs::Sample>* samples, const DictBlock** dict) {
  std::string error;
  for (glyphs::CharSet set : sets) {
    auto more = renderer.MakeSamples(glyphs::CharacterSet(set), perClass, TrainingSeed(set));
    samples->insert(samples->end(), more.begin(), more.end());
  }
  auto more = renderer.MakeSamples(extra, perClass, TrainingSeed(sets[0]) + 1);
  samples->insert(samples->end(), more.begin(), more.end());
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

// The marks of a line's cells: how often a cell answered with each was
// right, on lines of `set`'s characters (one in four a mark) read by the
// line driver with `mask`.
void MeasureCellMarks(const glyphs::GlyphRenderer& renderer, glyphs::CharSet set, uint32_t mask,
                      const std::vector<glyphs::CharClass>& marks, const DictBlock* dict,
                      int lines, std::map<uint16_t, Answers>* answers) {
  std::vector<glyphs::CharClass> classes = glyphs::CharacterSet(set);
  const size_t characters = classes.size();
  for (size_t i = 0; i < characters / 3; ++i) classes.push_back(marks[i % marks.size()]);
  DictBlock line = *dict;
  line.header.currentTypes = mask;
  DictBlock* dicts[1] = {&line};
  std::mt19937 rng(TrainingSeed(set) + mask);
  for (int l = 0; l < lines; ++l) {
    glyphs::GlyphLine g = glyphs::MakeLine(renderer, classes,
                                           std::uniform_int_distribution<int>(5, 20)(rng), 2, 8, rng);
    const MupaImage d = g.image.Descriptor();
    RecogRunBlock run = {};
    run.image = RunImage{d.width, d.height, 1, d.bytesPerLine, 200, d.bits};
    run.rect = g.image.ink;
    run.options.marker[0] = run.options.marker[1] = 1;
    run.options.mode = 2;
    run.dictCount = 1;
    run.dicts = dicts;
    RecogCharResult results[kMaxBoxes];
    int count = 0;
    if (RecogniseLineDriver(&run, results, kMaxBoxes, &count) == -9) continue;
    for (int r = 0; r + 1 < count; ++r) {
      const uint16_t code = results[r].candidates[0].code;
      const bool mark = std::any_of(marks.begin(), marks.end(),
                                    [code](const glyphs::CharClass& m) { return m.sjis == code; });
      if (!mark) continue;
      Answers& a = (*answers)[code];
      ++a.given;
      for (size_t t = 0; t < g.boxes.size(); ++t) {
        const MupaRect& b = g.boxes[t];
        const MupaRect& f = results[r].box;
        a.right += g.codes[t] == code && b.left == f.left && b.right == f.right &&
                   b.top == f.top && b.bottom == f.bottom;
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int perClass = argc > 1 ? std::atoi(argv[1]) : 240;
  const int lines = argc > 2 ? std::atoi(argv[2]) : 400;
  const uint32_t alnum = kTypeDigits | kTypeCapitals | kTypeSigns;
  std::string error;
  auto renderer = glyphs::GlyphRenderer::Open(&error);
  if (!renderer) {
    std::fprintf(stderr, "completion_reliability: %s\n", error.c_str());
    return 1;
  }
  std::vector<glyphs::Sample> alnumSamples, kanaSamples;
  const DictBlock* alnumDict = nullptr;
  const DictBlock* kanaDict = nullptr;
  if (Train(*renderer, {glyphs::CharSet::kDigits, glyphs::CharSet::kCapitals}, {kPlus, kMinus},
            perClass, "alnum", &alnumSamples, &alnumDict) != 0 ||
      Train(*renderer, {glyphs::CharSet::kKatakana}, {kVoiced, kSemiVoiced, kLongVowel}, perClass,
            "katakana", &kanaSamples, &kanaDict) != 0) {
    return 1;
  }
  std::vector<PackedChar> alnumChars = PackSamples(alnumSamples);
  std::vector<PackedChar> kanaChars = PackSamples(kanaSamples);
  std::printf("// %d training samples a class, classified by a dictionary trained on them\n",
              perClass);
  std::vector<uint16_t> alnumCodes = FullWidth("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  alnumCodes.push_back(kPlus.sjis);
  alnumCodes.push_back(kMinus.sjis);
  PrintTable("kAlnumReliability", alnumCodes, ClassifyAll(alnumDict, alnum, alnumChars));
  // Kana classes 0..48 in the completion table's order.
  std::vector<uint16_t> kanaCodes(49, kNoCandidate);
  for (uint16_t code : {uint16_t{0x814A}, uint16_t{0x814B}, uint16_t{0x815B}}) {
    kanaCodes[SjisToKanaClass(code)] = code;
  }
  for (uint16_t code = 0x8340; code <= 0x8396; ++code) {
    const int kanaClass = SjisToKanaClass(code);
    if (kanaClass >= 0) kanaCodes[kanaClass] = code;
  }
  const std::map<uint16_t, Answers> kana = ClassifyAll(kanaDict, kTypeKatakana, kanaChars);
  PrintTable("kKanaReliability", kanaCodes, kana);
  // The cell marks: "，", "．" and "－" of types 128 and 256 (lines of digits
  // and of capitals), "、" and "。" of type 1024 (lines of katakana); "゛",
  // "゜" and "ー" keep the katakana table's values.
  const glyphs::CharClass comma = {U',', 0x8143, 128}, stop = {U'.', 0x8144, 128},
                         dash = {U'-', 0x817C, 128}, ideoComma = {U'\u3001', 0x8141, 1024},
                         ideoStop = {U'\u3002', 0x8142, 1024};
  std::map<uint16_t, Answers> cells;
  MeasureCellMarks(*renderer, glyphs::CharSet::kDigits, 129, {comma, stop, dash}, alnumDict, lines,
                   &cells);
  MeasureCellMarks(*renderer, glyphs::CharSet::kCapitals, 258, {comma, stop, dash}, alnumDict,
                   lines, &cells);
  MeasureCellMarks(*renderer, glyphs::CharSet::kKatakana, 1032, {ideoComma, ideoStop}, kanaDict,
                   lines, &cells);
  for (const uint16_t code : {uint16_t{0x814A}, uint16_t{0x814B}, uint16_t{0x815B}}) {
    const auto found = kana.find(code);
    if (found != kana.end()) cells[code] = found->second;
  }
  // Rows in the order of the table: "、", "。", "，", "．", "－", "゛", "゜", "ー".
  PrintTable("kCellMarkReliability", {0x8141, 0x8142, 0x8143, 0x8144, 0x817C, 0x814A, 0x814B, 0x815B},
             cells);
  return 0;
}
