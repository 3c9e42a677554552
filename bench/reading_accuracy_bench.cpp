// Reading accuracy on generated sheets: every sheet of the benchmark sheet
// filled at random and scanned with a random degradation (skew up to 1.5
// degrees, scale 97 to 103 %, shift, specks, light, normal and heavy ink,
// 200, 300 and 400 dpi, every seventh upside down), then read in memory as
// the run reads a page. Every fifth sheet is the back of a two-sided sheet,
// fed upside down and skewed 0.3 to 1.0 degrees, read as the back of a
// two-sided run (whose marks must agree with the back's printing). Prints
// the share of boxes read otherwise than filled and the sheets refused for
// missing marks, one-sided and backs apart, with their targets; exits 0.
//
//   reading_accuracy_bench [sheets] [jobs]   (10000, 1)
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "bench/reading_sheet.h"
#include "tools/sheetgen/page_reader.h"

namespace {

struct Tally {
  long boxes = 0, wrong = 0, refused = 0;
  long backs = 0, backsRefused = 0, backBoxesWrong = 0;
  double generating = 0, reading = 0;  // seconds
};

// The benchmark sheet printed on both sides: the back ("0002") with the
// front's fields and the back mark below its top-left one.
SheetDefinition TwoSidedBenchmarkSheet() {
  SheetDefinition sheet = BenchmarkSheet();
  SheetPaperRow back = *sheet.Paper("0001");
  back.side = "0002";
  sheet.papers.push_back(back);
  const std::size_t frontFields = sheet.fields.size();
  for (std::size_t i = 0; i < frontFields; ++i) {
    SheetFieldRow field = sheet.fields[i];
    field.side = "0002";
    sheet.fields.push_back(field);
  }
  return sheet;
}

// One side's check fields as the reader takes them, with their positions
// among the expected fields of a generated page.
struct SideFields {
  std::vector<SheetFieldSpec> specs;
  std::vector<std::size_t> expected;
  std::map<int, ReferenceMarks> references;  // by dpi
};

SideFields FieldsOfSide(const SheetDefinition& sheet, const std::string& side) {
  SideFields fields;
  const std::vector<const SheetFieldRow*> rows = sheet.FieldsOf(side);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!rows[i]->IsCheck()) continue;
    fields.specs.push_back(FieldSpecFromRow(*rows[i]));
    fields.expected.push_back(i);
  }
  for (int dpi : {200, 300, 400}) fields.references[dpi] = RegisterCleanPage(sheet, side, dpi);
  return fields;
}

// Reads the sheets of seeds first, first + step, ... below end.
Tally ReadSheets(uint32_t first, uint32_t end, uint32_t step) {
  const SheetDefinition sheet = TwoSidedBenchmarkSheet();
  const SideFields sides[2] = {FieldsOfSide(sheet, "0001"), FieldsOfSide(sheet, "0002")};
  const int resolutions[3] = {200, 300, 400};

  Tally tally;
  for (uint32_t seed = first; seed < end; seed += step) {
    const bool back = seed % 5 == 0;
    const SideFields& side = sides[back ? 1 : 0];
    SheetRandom random(seed);
    SheetRequest request;
    request.side = back ? "0002" : "0001";
    request.seed = seed;
    request.dpi = resolutions[seed % 3];
    request.ink = static_cast<Ink>((seed / 3) % 3);
    request.fills = RandomFills(sheet, request.side, 0.3, random);
    request.scan = RandomDegradation(random);
    request.scan.upsideDown = back || seed % 7 == 0;
    if (back) {
      const double skew = random.Uniform(0.3, 1.0);
      request.scan.skewDegrees = random.Chance(0.5) ? skew : -skew;
    }
    const auto t0 = std::chrono::steady_clock::now();
    const GeneratedSheet generated = GenerateSheet(sheet, request);
    const auto t1 = std::chrono::steady_clock::now();
    SheetImage page = SheetImageFromGenerated(generated);
    const PageReading read = ReadPageInMemory(&page, *sheet.Paper(request.side),
                                              side.references.at(request.dpi), side.specs,
                                              back ? 2 : 0);
    const auto t2 = std::chrono::steady_clock::now();
    tally.generating += std::chrono::duration<double>(t1 - t0).count();
    tally.reading += std::chrono::duration<double>(t2 - t1).count();
    tally.backs += back;
    if (!read.read) {
      ++(back ? tally.backsRefused : tally.refused);
      std::printf("sheet %u%s refused: a mark is missing\n", seed, back ? " (a back)" : "");
      continue;
    }
    const std::vector<SheetFieldSpec>& fields = side.specs;
    const std::vector<std::size_t>& checkFields = side.expected;
    for (std::size_t f = 0; f < fields.size(); ++f) {
      const ExpectedField& expected = generated.expected[checkFields[f]];
      for (std::size_t b = 0; b < expected.marks.size(); ++b) {
        ++tally.boxes;
        if (read.marks[f][b] == expected.marks[b]) continue;
        tally.backBoxesWrong += back;
        if (++tally.wrong <= 10) {
          std::printf("sheet %u, %s box %zu: read '%c', filled '%c'\n", seed,
                      expected.name.c_str(), b + 1, read.marks[f][b], expected.marks[b]);
        }
      }
    }
  }
  std::fflush(stdout);
  return tally;
}

}  // namespace

int main(int argc, char** argv) {
  const long sheets = argc > 1 ? std::atol(argv[1]) : 10000;
  const int jobs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
  const uint32_t end = 1 + static_cast<uint32_t>(sheets);
  // Each job reads every jobs-th sheet in a process of its own (the reader's
  // matrix is one per process) and hands its tally back through a pipe.
  std::vector<int> pipes;
  for (int job = 0; job < jobs; ++job) {
    int ends[2];
    if (pipe(ends) != 0) return 0;
    if (fork() == 0) {
      close(ends[0]);
      const Tally tally = ReadSheets(1 + job, end, jobs);
      const bool sent = write(ends[1], &tally, sizeof tally) == sizeof tally;
      _exit(sent ? 0 : 1);
    }
    close(ends[1]);
    pipes.push_back(ends[0]);
  }
  Tally total;
  for (int fd : pipes) {
    Tally tally;
    if (read(fd, &tally, sizeof tally) == sizeof tally) {
      total.boxes += tally.boxes;
      total.wrong += tally.wrong;
      total.refused += tally.refused;
      total.backs += tally.backs;
      total.backsRefused += tally.backsRefused;
      total.backBoxesWrong += tally.backBoxesWrong;
      total.generating += tally.generating;
      total.reading += tally.reading;
    }
    close(fd);
  }
  while (wait(nullptr) > 0) {
  }
  const double share = total.boxes ? static_cast<double>(total.wrong) / total.boxes : 0;
  std::printf("reading accuracy: %ld sheets, %ld boxes, %ld read wrongly (share %.2e), "
              "%ld one-sided sheets refused for missing marks\n",
              sheets, total.boxes, total.wrong, share, total.refused);
  std::printf("  backs fed upside down and skewed: %ld, %ld boxes of them read wrongly, "
              "%ld refused (counted apart)\n",
              total.backs, total.backBoxesWrong, total.backsRefused);
  const bool met = share <= 1e-5 && total.refused == 0 && total.backBoxesWrong == 0;
  std::printf("  target: share <= 1e-05 (ratio %.2f), one-sided refused 0, back boxes read "
              "wrongly 0: %s\n", share / 1e-5, met ? "met" : "not met");
  std::printf("  time a sheet on one core: generating %.1f ms, reading %.1f ms\n",
              sheets ? total.generating * 1000 / sheets : 0.0,
              sheets ? total.reading * 1000 / sheets : 0.0);
  return 0;
}
