// Reading accuracy on generated sheets: every sheet of the benchmark sheet
// filled at random and scanned with a random degradation (skew up to 1.5
// degrees, scale 97 to 103 %, shift, specks, light, normal and heavy ink,
// 200, 300 and 400 dpi, every seventh upside down), then read in memory as
// the run reads a page. Prints
// the share of boxes read otherwise than filled and the sheets refused for
// missing marks, with their targets; exits 0.
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
  double generating = 0, reading = 0;  // seconds
};

// Reads the sheets of seeds first, first + step, ... below end.
Tally ReadSheets(uint32_t first, uint32_t end, uint32_t step) {
  const SheetDefinition sheet = BenchmarkSheet();
  const SheetPaperRow& paper = *sheet.Paper("0001");
  std::vector<SheetFieldSpec> fields;
  std::vector<std::size_t> checkFields;  // positions among the expected fields
  const std::vector<const SheetFieldRow*> rows = sheet.FieldsOf("0001");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!rows[i]->IsCheck()) continue;
    fields.push_back(FieldSpecFromRow(*rows[i]));
    checkFields.push_back(i);
  }
  const int resolutions[3] = {200, 300, 400};
  std::map<int, ReferenceMarks> references;
  for (int dpi : resolutions) references[dpi] = RegisterCleanPage(sheet, "0001", dpi);

  Tally tally;
  for (uint32_t seed = first; seed < end; seed += step) {
    SheetRandom random(seed);
    SheetRequest request;
    request.seed = seed;
    request.dpi = resolutions[seed % 3];
    request.ink = static_cast<Ink>((seed / 3) % 3);
    request.fills = RandomFills(sheet, "0001", 0.3, random);
    request.scan = RandomDegradation(random);
    request.scan.upsideDown = seed % 7 == 0;
    const auto t0 = std::chrono::steady_clock::now();
    const GeneratedSheet generated = GenerateSheet(sheet, request);
    const auto t1 = std::chrono::steady_clock::now();
    SheetImage page = SheetImageFromGenerated(generated);
    const PageReading read = ReadPageInMemory(&page, paper, references[request.dpi], fields);
    const auto t2 = std::chrono::steady_clock::now();
    tally.generating += std::chrono::duration<double>(t1 - t0).count();
    tally.reading += std::chrono::duration<double>(t2 - t1).count();
    if (!read.read) {
      ++tally.refused;
      std::printf("sheet %u refused: a mark is missing\n", seed);
      continue;
    }
    for (std::size_t f = 0; f < fields.size(); ++f) {
      const ExpectedField& expected = generated.expected[checkFields[f]];
      for (std::size_t b = 0; b < expected.marks.size(); ++b) {
        ++tally.boxes;
        if (read.marks[f][b] == expected.marks[b]) continue;
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
      total.generating += tally.generating;
      total.reading += tally.reading;
    }
    close(fd);
  }
  while (wait(nullptr) > 0) {
  }
  const double share = total.boxes ? static_cast<double>(total.wrong) / total.boxes : 0;
  std::printf("reading accuracy: %ld sheets, %ld boxes, %ld read wrongly (share %.2e), "
              "%ld sheets refused for missing marks\n",
              sheets, total.boxes, total.wrong, share, total.refused);
  std::printf("  target: share <= 1e-05 (ratio %.2f), refused 0: %s\n", share / 1e-5,
              share <= 1e-5 && total.refused == 0 ? "met" : "not met");
  std::printf("  time a sheet on one core: generating %.1f ms, reading %.1f ms\n",
              sheets ? total.generating * 1000 / sheets : 0.0,
              sheets ? total.reading * 1000 / sheets : 0.0);
  return 0;
}
