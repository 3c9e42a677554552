// Segmentation benchmark: synthetic lines of 5 to 20 rendered handwriting-
// style characters, touching or spaced (gaps of -1 to 8 pixels between ink
// boxes), segmented by MupaSegChar's worker with the character types of the
// line, and the same with spaced characters only; first by the line's shape
// alone (a dictionary without patterns), then reading the boxes the shape
// leaves open with a pattern dictionary of the type trained on rendered
// samples of its training seeds (the general path reads nothing), digit
// boxes also by the structural recognisers with the stroke models of the
// digits.dic the build trains beside this program. Prints the
// share of characters whose box was found exactly against the target of
// 97 %, why the others were missed, and lines a second. Then the same
// lines through the exports with the dictionaries the build trains beside
// this program: the boxes MupaSegChar and MupaExecuteOneLine find, the line
// export's first answers next to each character read alone in its own box
// (MupaExecuteOneChar), and lines a second of both exports.
// Usage: segment_bench [lines per type] [seed] [misses]
// With "misses", every missed box of the reading pass is listed: the line,
// the character, the blank columns to each neighbour's ink box, its box and
// the found boxes that share a column with it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench/classifier_eval.h"
#include "ocrlib/dictbuilder/rendered_training.h"

namespace {

constexpr double kTarget = 97;
constexpr int kTrainingPerClass = 120;

// A pattern dictionary of the set trained on rendered samples of its
// training seeds (never the lines' seeds), loaded as the library holds it;
// null when it cannot be made.
DictBlock* TrainedDictionary(const glyphs::GlyphRenderer& renderer, glyphs::CharSet set) {
  DictFileSpec spec;
  BuildReport report;
  std::string error;
  if (TrainRenderedDict(renderer, set, kTrainingPerClass, &spec, &report, &error) != 0) {
    std::printf("segment_bench: %s\n", error.c_str());
    return nullptr;
  }
  // Runs side by side (other seeds) each write a file of their own.
  const std::string path = "/tmp/segment_bench_" + std::to_string(getpid()) + "_" +
                           CharSetName(set) + ".dic";
  if (WriteDictBytes(path, EncodeDictFile(spec)) != 0) return nullptr;
  const DictBlock* dict = LoadBenchDictionary(path, &error);
  std::remove(path.c_str());
  return const_cast<DictBlock*>(dict);
}

bool SameBox(const MupaRect& a, const MupaRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool Inside(const MupaRect& inner, const MupaRect& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

// Why a character's box was missed: 0 a found box holds it and a
// neighbour's ink, 1 found boxes lie inside it (pieces), 2 anything else.
int MissKind(const MupaRect* boxes, int count, const std::vector<MupaRect>& truth, size_t t) {
  for (int i = 0; i < count; ++i) {
    if (!Inside(truth[t], boxes[i])) continue;
    for (size_t u = 0; u < truth.size(); ++u) {
      const MupaRect& o = truth[u];
      const bool shares = o.left <= boxes[i].right && o.right >= boxes[i].left;
      if (u != t && shares) return 0;
    }
  }
  for (int i = 0; i < count; ++i) {
    if (Inside(boxes[i], truth[t])) return 1;
  }
  return 2;
}

// One missed box: "miss <least gap> <mask> <line> <index> <gap before>
// <gap after> <code> <truth box> <1 when its ink touches a neighbour's> |
// <found boxes sharing a column>".
void ListMiss(int minGap, uint32_t mask, int lineNumber, const glyphs::GlyphLine& line, size_t t,
              const MupaRect* boxes, int count) {
  const MupaRect& b = line.boxes[t];
  const int before = t > 0 ? b.left - line.boxes[t - 1].right - 1 : 99;
  const int after = t + 1 < line.boxes.size() ? line.boxes[t + 1].left - b.right - 1 : 99;
  std::printf("miss %d %u %d %zu %d %d %04x %d %d %d %d %d |", minGap, mask, lineNumber, t, before,
              after, line.codes[t], b.left, b.top, b.right, b.bottom, line.touching[t] ? 1 : 0);
  for (int i = 0; i < count; ++i) {
    if (boxes[i].right < b.left || boxes[i].left > b.right) continue;
    std::printf(" %d %d %d %d", boxes[i].left, boxes[i].top, boxes[i].right, boxes[i].bottom);
  }
  std::printf("\n");
}

// Gives the digit dictionary the stroke models of the digits dictionary
// the build trained beside this program, as the library's own dictionary
// carries them, and the structural recognisers a work area as a session
// of the library gives them. False when there is none.
bool WithBuiltStrokeModels(const char* program, DictBlock* digits) {
  std::string folder = program;
  folder = folder.substr(0, folder.find_last_of('/') + 1);
  std::string error;
  const DictBlock* built = LoadBenchDictionary(folder + "digits.dic", &error);
  if (digits == nullptr || built == nullptr || built->strokeModels == nullptr) return false;
  digits->strokeModels = built->strokeModels;
  static SessionWorkArea area;
  g_currentWorkArea = &area;
  return true;
}

// The box targets of the line export: spaced lines, and lines where some
// characters touch.
constexpr double kSpacedTarget = 99, kTouchingTarget = 92;

// One built dictionary registered to an environment of a library handle,
// reading the given character types; handle -1 when it cannot be had.
struct ExportSession {
  int16_t handle = -1, env = -1, dict = -1;
  MupaRecogOptions options = {};

  ExportSession(const std::string& path, uint32_t mask) {
    handle = MupaBegin();
    if (MupaLoadPatternDict(handle, path.c_str()) == 0) dict = MupaGetDictHandle(handle, path.c_str());
    env = MupaOpenExecEnv(handle, 3);
    if (dict < 0 || env < 0 || MupaRegisterPatternDict(handle, env, dict) != 0 ||
        MupaSetCharType(handle, dict, mask) == -9) {
      handle = -1;
    }
    options.marker[0] = options.marker[1] = 1;
    options.mode = 2;
  }
  ~ExportSession() {
    MupaCloseExecEnv(handle, env);
    MupaUnloadPatternDict(handle, dict);
    MupaEnd(handle);
  }
  ExportSession(const ExportSession&) = delete;
  ExportSession& operator=(const ExportSession&) = delete;
};

// Processor seconds of this process: the machine may be shared, and a
// line's time is what its work takes on one core.
double ProcessorSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

struct ExportTally {
  int total = 0, segExact = 0, lineExact = 0, lineTop1 = 0, aloneTop1 = 0;
  double segSeconds = 0, lineSeconds = 0;
};

// The line's lines through MupaSegChar, MupaExecuteOneLine and, character by
// character in its own box, MupaExecuteOneChar.
void MeasureExports(ExportSession& lib, glyphs::GlyphLine& line, ExportTally* t) {
  MupaImage image = line.image.Descriptor();
  const MupaRect rect = line.image.ink;
  MupaRect boxes[kMaxBoxes];
  int16_t count = 0;
  double start = ProcessorSeconds();
  if (MupaSegChar(lib.handle, lib.env, &image, &rect, &lib.options, boxes, kMaxBoxes, &count) != 0) {
    count = 0;
  }
  t->segSeconds += ProcessorSeconds() - start;
  MupaCharResult records[kMaxBoxes];
  uint16_t status = 0;
  start = ProcessorSeconds();
  const int n = std::max(0, static_cast<int>(MupaExecuteOneLine(
                                lib.handle, lib.env, &image, &rect, &lib.options, records,
                                kMaxBoxes, 0, &status)) - 1);  // the end record aside
  t->lineSeconds += ProcessorSeconds() - start;
  for (size_t c = 0; c < line.boxes.size(); ++c) {
    const MupaRect& want = line.boxes[c];
    ++t->total;
    for (int i = 0; i < count; ++i) t->segExact += SameBox(boxes[i], want);
    for (int i = 0; i < n; ++i) {
      if (!SameBox(records[i].box, want)) continue;
      ++t->lineExact;
      t->lineTop1 += records[i].candidates[0].code == line.codes[c];
    }
    MupaCharResult alone;
    if (MupaExecuteOneChar(lib.handle, lib.env, &image, &want, &lib.options, &alone) == 0) {
      t->aloneTop1 += alone.candidates[0].code == line.codes[c];
    }
  }
}

void PrintExportTally(uint32_t mask, const char* name, bool spaced, int lines, const ExportTally& t) {
  const double target = spaced ? kSpacedTarget : kTouchingTarget;
  const double seg = 100.0 * t.segExact / t.total, line = 100.0 * t.lineExact / t.total;
  const double top1 = 100.0 * t.lineTop1 / t.total, alone = 100.0 * t.aloneTop1 / t.total;
  std::printf("  mask %u (%s), %d characters:\n", mask, name, t.total);
  std::printf("    boxes exact: MupaExecuteOneLine %.2f %% (target %.0f %%, ratio %.3f), "
              "MupaSegChar %.2f %%\n",
              line, target, line / target, seg);
  std::printf("    top-1 boxed exactly and read right: line %.2f %%, each character alone in "
              "its box %.2f %% (target within 0.5 points, difference %.2f)\n",
              top1, alone, alone - top1);
  const double segRate = lines / t.segSeconds, lineRate = lines / t.lineSeconds;
  std::printf("    lines a processor second: MupaSegChar %.0f, MupaExecuteOneLine %.0f (target "
              "MupaSegChar no slower, ratio %.2f)\n",
              segRate, lineRate, segRate / lineRate);
}

// The same lines through the exports, each type with its built dictionary.
void MeasureThroughExports(const glyphs::GlyphRenderer& renderer, const char* program, int lines,
                           uint32_t seed) {
  std::string folder = program;
  folder = folder.substr(0, folder.find_last_of('/') + 1);
  for (const bool spaced : {false, true}) {
    std::printf("through the exports with the built dictionaries, lines of 5 to 20 characters, "
                "%s:\n",
                spaced ? "spaced (gaps 1..8 pixels)" : "touching and spaced (gaps -1..8 pixels)");
    for (const auto& [set, mask] : {std::pair{glyphs::CharSet::kDigits, 1u},
                                    std::pair{glyphs::CharSet::kCapitals, 2u},
                                    std::pair{glyphs::CharSet::kKatakana, 8u}}) {
      ExportSession lib(folder + CharSetName(set) + ".dic", mask);
      if (lib.handle < 0) {
        std::printf("  no built %s.dic beside the program\n", CharSetName(set));
        continue;
      }
      std::mt19937 rng(seed + mask);
      const auto classes = glyphs::CharacterSet(set);
      ExportTally tally;
      for (int l = 0; l < lines; ++l) {
        glyphs::GlyphLine line = glyphs::MakeLine(
            renderer, classes, std::uniform_int_distribution<int>(5, 20)(rng), spaced ? 1 : -1, 8,
            rng);
        MeasureExports(lib, line, &tally);
      }
      PrintExportTally(mask, CharSetName(set), spaced, lines, tally);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int lines = argc > 1 ? std::atoi(argv[1]) : 300;
  const uint32_t seed = argc > 2 ? static_cast<uint32_t>(std::atol(argv[2])) : 7000;
  const bool listMisses = argc > 3 && std::string(argv[3]) == "misses";
  std::string error;
  auto renderer = glyphs::GlyphRenderer::Open(&error);
  if (!renderer) {
    std::printf("segment_bench: %s\n", error.c_str());
    return 0;
  }
  struct Spacing {
    const char* what;
    int minGap, maxGap;
  };
  struct Set {
    glyphs::CharSet set;
    uint32_t mask;
  };
  // Through the exports first: the built digits.dic then serves the reading
  // pass below on a handle of its own.
  MeasureThroughExports(*renderer, argv[0], lines, seed);
  // Segmentation by the line's shape alone (a dictionary without patterns),
  // and reading the boxes the shape leaves open with a trained dictionary.
  DictBlock* trained[3] = {};
  for (glyphs::CharSet set : {glyphs::CharSet::kDigits, glyphs::CharSet::kCapitals,
                              glyphs::CharSet::kKatakana}) {
    trained[static_cast<int>(set)] = TrainedDictionary(*renderer, set);
  }
  const bool structural =
      WithBuiltStrokeModels(argv[0], trained[static_cast<int>(glyphs::CharSet::kDigits)]);
  std::printf("digit boxes %s\n",
              structural ? "also read by the structural recognisers of the built digits.dic"
                         : "read by the pattern classifier alone (no built digits.dic beside "
                           "the program)");
  for (const bool reading : {false, true})
  for (const Spacing& spacing : {Spacing{"touching and spaced (gaps -1..8 pixels)", -1, 8},
                                 Spacing{"spaced (gaps 1..8 pixels)", 1, 8}}) {
    std::printf("lines of 5 to 20 characters, %s, %s:\n", spacing.what,
                reading ? "ambiguous boxes read with a dictionary" : "by shape alone");
    int exactAll = 0, totalAll = 0, apartAll = 0, apartExactAll = 0;
    for (const Set& s : {Set{glyphs::CharSet::kDigits, 1}, Set{glyphs::CharSet::kCapitals, 2},
                         Set{glyphs::CharSet::kKatakana, 8}, Set{glyphs::CharSet::kKatakana, 4}}) {
      std::mt19937 rng(seed + s.mask);
      const auto classes = glyphs::CharacterSet(s.set);
      DictBlock dict = {};
      dict.header = MakeDictHeader(s.mask, "segmentation", true);
      dict.header.currentTypes = s.mask;
      DictBlock* dicts[1] = {&dict};
      DictBlock* own = trained[static_cast<int>(s.set)];
      if (reading && s.mask != 4 && own != nullptr) {  // the general path reads nothing
        own->header.currentTypes = s.mask;
        dicts[0] = own;
      }
      int exact = 0, total = 0, apart = 0, apartExact = 0;
      int misses[3] = {};
      double seconds = 0;
      for (int l = 0; l < lines; ++l) {
        glyphs::GlyphLine line = glyphs::MakeLine(
            *renderer, classes, std::uniform_int_distribution<int>(5, 20)(rng), spacing.minGap,
            spacing.maxGap, rng);
        RecogRunBlock run = {};
        const MupaImage d = line.image.Descriptor();
        run.image = RunImage{d.width, d.height, 1, d.bytesPerLine, 200, d.bits};
        run.rect = line.image.ink;
        run.options.marker[0] = run.options.marker[1] = 1;
        run.options.mode = 1;
        run.dictCount = 1;
        run.dicts = dicts;
        MupaRect boxes[kMaxBoxes];
        int count = 0;
        const auto start = std::chrono::steady_clock::now();
        SegmentCharacters(&run, boxes, kMaxBoxes, &count);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        for (size_t t = 0; t < line.boxes.size(); ++t) {
          int found = 0;
          for (int i = 0; i < count; ++i) found += SameBox(boxes[i], line.boxes[t]);
          if (found == 0) ++misses[MissKind(boxes, count, line.boxes, t)];
          if (found == 0 && listMisses && reading) {
            ListMiss(spacing.minGap, s.mask, l, line, t, boxes, count);
          }
          ++total;
          exact += found;
          if (!line.touching[t]) ++apart, apartExact += found;
        }
      }
      std::printf("  mask %u (%s): %d of %d boxes exact (%.2f %%; %.2f %% of the %d whose ink "
                  "touches no neighbour), %.0f lines/s\n",
                  s.mask, s.mask == 4 ? "katakana, general path" : CharSetName(s.set), exact,
                  total, 100.0 * exact / total, 100.0 * apartExact / std::max(apart, 1), apart,
                  lines / seconds);
      std::printf("    missed: %d joined to a neighbour, %d cut into pieces, %d otherwise\n",
                  misses[0], misses[1], misses[2]);
      exactAll += exact, totalAll += total, apartAll += apart, apartExactAll += apartExact;
    }
    const double share = 100.0 * exactAll / totalAll;
    std::printf("  all: %.2f %% of boxes found exactly (target %.0f %%, ratio %.3f); %.2f %% of "
                "those whose ink touches no neighbour\n",
                share, kTarget, share / kTarget, 100.0 * apartExactAll / std::max(apartAll, 1));
  }
  return 0;
}
