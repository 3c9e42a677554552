// Printing blank OCR sheets under Wine through CUPS to the PDF printer:
// numbered sheets a second for a run of 1,000 (the program's job alone, and
// until the PDF is whole), and the reading speed on pages the program
// printed (rendered at 300 dpi, filled and scanned) next to the generator's
// own pages of the same sheet with the same fills and scans: the ratio
// printed / generated. Prints figures, targets and ratios; exits 0.
//
//   sheet_print_bench [sheets] [pages read]   (1000, 200)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "foundation/test_hooks.h"
#include "tally/sheet_printing.h"
#include "tests/support/hook_recorder.h"
#include "tools/print_round_trip/round_trip.h"

namespace {

constexpr double kTargetPagesPerSecond = 20;
constexpr double kTargetReadingRatio = 0.9;

int CountBoxes(const MessageBoxCall& call, void* count) {
  ++*static_cast<int*>(count);
  std::fprintf(stderr, "box: %s\n", call.text.c_str());
  return IDOK;
}

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

const char* Verdict(bool met) { return met ? "met" : "not met"; }

}  // namespace

int main(int argc, char** argv) {
  const int sheets = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
  const int reads = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
  int boxes = 0;
  SetMessageBoxHook(CountBoxes, &boxes);
  db_init();
  const SheetDefinition sheet = RoundTripSheet();
  if (OpenRoundTripSheet("sheet_print_bench_work", sheet) != 0) {
    std::printf("the benchmark's sheet could not be opened\n");
    return 0;
  }

  // 1. A numbered run into a PDF.
  double job = 0, whole = 0;
  {
    ModalDialogRecorder dialogs(ChooseDefaultPrinter);
    SheetPrintRequest& r = g_sheetPrintRequest;
    r.documentName = UniqueDocumentName("bench");
    r.idField = "ID";
    r.startNumber = "000001";
    char last[16];
    std::snprintf(last, sizeof last, "%06d", sheets);
    r.endNumber = last;
    const auto start = std::chrono::steady_clock::now();
    const int rc = PrintSheetsWithIds(kSideChoiceNone);
    job = Since(start);
    const std::string pdf = rc == 0 ? WaitForPdfFile(r.documentName, 1800) : "";
    whole = Since(start);
    if (pdf.empty()) {
      std::printf("the run of %d sheets did not print (%d message boxes)\n", sheets, boxes);
      return 0;
    }
    DeleteFileA(pdf.c_str());
  }
  const double rate = sheets / whole;
  std::printf("numbered sheets: %d printed, the job %.2f s (%.1f pages a second), into the PDF "
              "%.2f s: %.1f pages a second; target %.0f (ratio %.2f): %s\n",
              sheets, job, sheets / job, whole, rate, kTargetPagesPerSecond,
              rate / kTargetPagesPerSecond, Verdict(rate >= kTargetPagesPerSecond));
  // After the job the document is Wine's spooler's and CUPS's: its backend
  // turns the PostScript into the PDF with Ghostscript.
  std::printf("of that, after the job (the spooler, CUPS and its Ghostscript backend): %.2f s\n",
              whole - job);

  // 2. Reading printed pages next to generated ones.
  std::vector<std::vector<PdfPage>> rendered;
  std::string why;
  if (PrintNumberedSheets("000001", "000002", 600, {300}, &rendered, &why) != 0) {
    std::printf("the pages to read could not be printed: %s\n", why.c_str());
    return 0;
  }
  const GeneratedSheet printed = PrintedPageOf(rendered[0][0]);
  double printedSeconds = 0, generatedSeconds = 0;
  int printedWrong = 0, generatedWrong = 0, boxesRead = 0;
  for (int k = 1; k <= reads; ++k) {
    const RoundTripCase c{300, static_cast<uint32_t>(k), true};
    const RoundTripResult p = ReadFilledPage(sheet, printed, c);
    const RoundTripResult g = ReadGeneratedPage(sheet, c);
    printedSeconds += p.seconds;
    generatedSeconds += g.seconds;
    printedWrong += p.wrong + (p.read ? 0 : 1);
    generatedWrong += g.wrong + (g.read ? 0 : 1);
    boxesRead += p.boxes;
  }
  const double printedRate = reads / printedSeconds, generatedRate = reads / generatedSeconds;
  const double ratio = printedRate / generatedRate;
  std::printf("reading at 300 dpi, %d pages each: printed %.1f pages a second (%d faults in %d "
              "boxes), generated %.1f pages a second (%d faults)\n",
              reads, printedRate, printedWrong, boxesRead, generatedRate, generatedWrong);
  std::printf("printed / generated: %.2f; target at least %.1f: %s\n", ratio, kTargetReadingRatio,
              Verdict(ratio >= kTargetReadingRatio));
  std::printf("faults on printed pages: %d; target 0: %s\n", printedWrong, Verdict(printedWrong == 0));
  SetMessageBoxHook(nullptr, nullptr);
  db_term();
  return 0;
}
