// Recognition through MUPA32's exports on the builder's held-out characters
// (other seeds than training, and MNIST's held-out handwritten digits,
// written by mupa_dictbuilder --test-samples):
// single characters through MupaExecuteOneChar, fields of 6 cells through
// MupaExecuteFieldChar and spaced lines of 10 characters through
// MupaExecuteOneLine, each next to the pattern classifier alone on the same
// samples. Prints top-1 and top-3 against the targets (lines of 10 also
// against single characters), characters a second
// on one core, and what the stages after the classifier did to its answers:
// confirmed (same first answer), reordered (another of its candidates
// first) or replaced (an answer it did not give). Runs natively and, as the
// Windows program, under Wine.
// Usage: recognition_bench <folder> [samples per set, default all] [mode, default 2]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/classifier_eval.h"
#include "tests/ocrlib/kit/packed_line.h"

namespace {

constexpr int kFieldCells = 6;
constexpr int kLineChars = 10;
constexpr double kSpeedTarget = 3000;
constexpr double kLineBehindTarget = 0.5;  // top-1 points lines of 10 may lose
int g_mode = 2;  // recognition mode of every call

struct Library {
  int16_t handle = -1, env = -1, dict = -1;
  MupaRecogOptions options = {};
};

int Open(const std::string& path, uint32_t mask, Library* lib) {
  lib->handle = MupaBegin();
  lib->dict = MupaLoadPatternDict(lib->handle, path.c_str());
  lib->env = MupaOpenExecEnv(lib->handle, 3);
  if (lib->dict < 0 || lib->env < 0 || MupaRegisterPatternDict(lib->handle, lib->env, lib->dict) != 0 ||
      MupaSetCharType(lib->handle, lib->dict, mask) == -9) {
    return -1;
  }
  lib->options.marker[0] = lib->options.marker[1] = 1;
  lib->options.mode = static_cast<uint8_t>(g_mode);
  return 0;
}

void Close(Library* lib) {
  MupaCloseExecEnv(lib->handle, lib->env);
  MupaUnloadPatternDict(lib->handle, lib->dict);
  MupaEnd(lib->handle);
}

// The classifier alone: its first three answers of a character.
std::vector<std::vector<uint16_t>> PatternAnswers(const DictBlock* dict, uint32_t mask,
                                                  std::vector<PackedChar>& chars) {
  std::vector<std::vector<uint16_t>> out;
  for (PackedChar& c : chars) {
    const CharWorkRecord merged = ClassifyPacked(dict, mask, c);
    std::vector<uint16_t> codes;
    for (int k = 0; k < merged.count && k < 10; ++k) codes.push_back(merged.candidates[k].code());
    out.push_back(codes);
  }
  return out;
}

struct Tally {
  int total = 0, top1 = 0, top3 = 0;
  int confirmed = 0, reordered = 0, replaced = 0, patternTop1 = 0, patternTop3 = 0;
  double seconds = 0;

  void Add(const MupaCharResult* r, uint16_t truth, const std::vector<uint16_t>& pattern) {
    ++total;
    for (int k = 0; k < 3; ++k) {
      if (r != nullptr && r->candidates[k].code == truth) {
        top1 += k == 0;
        ++top3;
        break;
      }
    }
    for (size_t k = 0; k < 3 && k < pattern.size(); ++k) {
      if (pattern[k] != truth) continue;
      patternTop1 += k == 0;
      ++patternTop3;
    }
    const uint16_t first = r != nullptr ? r->candidates[0].code : 0xFFFF;
    if (!pattern.empty() && first == pattern[0]) {
      ++confirmed;
    } else if (std::find(pattern.begin(), pattern.end(), first) != pattern.end()) {
      ++reordered;
    } else {
      ++replaced;
    }
  }

  void Print(const char* what, double target) const {
    const double t1 = 100.0 * top1 / total, t3 = 100.0 * top3 / total;
    const double p1 = 100.0 * patternTop1 / total, p3 = 100.0 * patternTop3 / total;
    std::printf("  %-13s %5d chars  top-1 %6.2f %% (target %.0f %%, ratio %.3f)  top-3 %6.2f %%"
                "   classifier alone %6.2f %% / %6.2f %%\n",
                what, total, t1, target, t1 / target, t3, p1, p3);
    std::printf("  %-13s stages after the classifier: %d confirmed, %d reordered, %d replaced;"
                " %.0f chars/s (target %.0f, ratio %.2f)\n",
                "", confirmed, reordered, replaced, total / seconds, kSpeedTarget,
                total / seconds / kSpeedTarget);
  }
};

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The line's record whose box centre lies within the character's columns.
const MupaCharResult* RecordOver(const MupaRect& rect, const MupaCharResult* records, int n) {
  for (int i = 0; i < n; ++i) {
    const int centre = (records[i].box.left + records[i].box.right) / 2;
    if (records[i].candidates[0].code != 0x000A && centre >= rect.left && centre <= rect.right) {
      return &records[i];
    }
  }
  return nullptr;
}

void RunSet(const std::string& folder, const char* name, const char* pack, uint32_t mask,
            double target, size_t limit) {
  std::string error;
  std::vector<PackedChar> chars;
  if (ReadSamplePack(folder + "/" + pack + ".pack", &chars, &error) != 0) {
    std::printf("recognition_bench: %s\n", error.c_str());
    return;
  }
  if (chars.size() > limit) chars.resize(limit);
  Library lib;
  if (Open(folder + "/" + name + ".dic", mask, &lib) != 0) {
    std::printf("recognition_bench: cannot load the %s dictionary\n", name);
    return;
  }
  const DictBlock* dict = GetDictData(lib.dict);
  const auto pattern = PatternAnswers(dict, mask, chars);
  std::printf("%s (character types %u):\n", pack, mask);

  Tally one;
  std::vector<MupaCharResult> results(chars.size());
  auto start = std::chrono::steady_clock::now();
  for (size_t i = 0; i < chars.size(); ++i) {
    MupaImage image = {chars[i].width, chars[i].height, 1,
                       static_cast<int16_t>((chars[i].width + 7) / 8), 200, 1, chars[i].bits.data()};
    if (MupaExecuteOneChar(lib.handle, lib.env, &image, &chars[i].rect, &lib.options, &results[i]) != 0) {
      results[i].candidates[0].code = 0xFFFF;
    }
  }
  one.seconds = Since(start);
  for (size_t i = 0; i < chars.size(); ++i) one.Add(&results[i], chars[i].sjis, pattern[i]);
  one.Print("one character", target);

  Tally field;
  MupaCharResult records[100];
  for (size_t from = 0; from + kFieldCells <= chars.size(); from += kFieldCells) {
    PackedLine c = ComposePackedLine({chars.begin() + from, chars.begin() + from + kFieldCells}, 4);
    int16_t count = 0;
    start = std::chrono::steady_clock::now();
    const int rc = MupaExecuteFieldChar(lib.handle, lib.env, &c.image, c.rects.data(), kFieldCells,
                                        &lib.options, records, 100, &count);
    field.seconds += Since(start);
    for (int k = 0; k < kFieldCells; ++k) {
      field.Add(rc == 0 ? &records[k] : nullptr, chars[from + k].sjis, pattern[from + k]);
    }
  }
  field.Print("fields of 6", target);

  // A line is written at one size: its characters are neighbours in the
  // order of their height (the held-out cells come at several sizes and
  // resolutions, and a character a quarter of its neighbours' size is noise
  // to the line driver).
  std::vector<size_t> order(chars.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return chars[a].rect.bottom - chars[a].rect.top < chars[b].rect.bottom - chars[b].rect.top;
  });
  Tally line;
  int exactBoxes = 0, boxedExactly = 0, readAsAlone = 0;
  int otherRight = 0, aloneRight = 0;  // exact boxes read otherwise: which was right
  for (size_t from = 0; from + kLineChars <= chars.size(); from += kLineChars) {
    std::vector<PackedChar> ten;
    for (int k = 0; k < kLineChars; ++k) ten.push_back(chars[order[from + k]]);
    PackedLine c = ComposePackedLine(ten, 8);
    const MupaRect whole = {0, 0, static_cast<int16_t>(c.image.width - 1),
                            static_cast<int16_t>(c.image.height - 1)};
    uint16_t status = 0;
    start = std::chrono::steady_clock::now();
    const int n = MupaExecuteOneLine(lib.handle, lib.env, &c.image, &whole, &lib.options, records,
                                     100, 0, &status);
    line.seconds += Since(start);
    for (int k = 0; k < kLineChars; ++k) {
      const size_t i = order[from + k];
      const MupaCharResult* r = n > 0 ? RecordOver(c.rects[k], records, n - 1) : nullptr;
      line.Add(r, chars[i].sjis, pattern[i]);
      const MupaRect& want = c.rects[k];
      if (r != nullptr && r->box.left == want.left && r->box.right == want.right &&
          r->box.top == want.top && r->box.bottom == want.bottom) {
        ++boxedExactly;
        const uint16_t got = r->candidates[0].code, alone = results[i].candidates[0].code;
        readAsAlone += got == alone;
        otherRight += got != alone && got == chars[i].sjis;
        aloneRight += got != alone && alone == chars[i].sjis;
      }
    }
    exactBoxes += n == kLineChars + 1;
  }
  line.Print("lines of 10", target);
  const double behind = 100.0 * one.top1 / one.total - 100.0 * line.top1 / line.total;
  std::printf("  %-13s top-1 %.2f points behind one character (target at most %.1f, ratio %.2f)\n",
              "", behind, kLineBehindTarget, behind / kLineBehindTarget);
  std::printf("  %-13s lines cut into exactly 10 boxes: %d of %zu; characters boxed exactly: %d,"
              " of them read as alone: %d; read otherwise: right %d times where alone was"
              " wrong, wrong %d times where alone was right\n",
              "", exactBoxes, chars.size() / kLineChars, boxedExactly, readAsAlone, otherRight,
              aloneRight);
  Close(&lib);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: recognition_bench <folder> [samples per set]\n");
    return 0;
  }
  const size_t limit = argc > 2 ? static_cast<size_t>(std::atol(argv[2])) : SIZE_MAX;
  if (argc > 3) g_mode = std::atoi(argv[3]);
  RunSet(argv[1], "digits", "digits_test", 1, 99, limit);
  RunSet(argv[1], "digits", "digits_mnist_test", 1, 97, limit);  // real handwriting
  RunSet(argv[1], "capitals", "capitals_test", 2, 97, limit);
  RunSet(argv[1], "katakana", "katakana_test", 8, 98, limit);
  return 0;
}
