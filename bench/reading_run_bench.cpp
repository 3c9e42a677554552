// The reading run end to end under Wine: the benchmark sheet (A4, 100 check
// fields of 10 boxes, 4 write-in fields) generated, filled and scanned at
// 300 dpi, fed to an operation run into an SQLite output table on one core.
// Prints sheets a second, the time of every stage of the per-sheet step, and
// the ratio of the run to the bare load and unpack of the same pages, for
// each run and as minimum, median and maximum; exits 0.
//
//   reading_run_bench [sheets] [runs]   (1000, 3)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/reading_sheet.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/imaging.h"
#include "foundation/test_hooks.h"
#include "reading/reading.h"
#include "tests/reading/run_setup.h"
#include "tools/sheetgen/page_reader.h"
#include "tools/sheetgen/sheet_definition_db.h"

namespace {

constexpr char kWork[] = "reading_bench_work";
constexpr double kTargetSheetsPerSecond = 30;
constexpr double kTargetRatio = 3;

int CountBoxes(const MessageBoxCall& call, void* count) {
  ++*static_cast<int*>(count);
  std::fprintf(stderr, "box: %s\n", call.text.c_str());
  return IDOK;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

void RemoveFiles(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      DeleteFileA((folder + "\\" + found.cFileName).c_str());
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

std::string PageName(int k) {
  char name[32];
  std::snprintf(name, sizeof name, "PAGE%05d.BMP", k);
  return name;
}

// The sheet definition, the output table's description and the pages.
bool MakeWork(const std::string& work, int sheets) {
  for (const char* sub : {"", "\\pages", "\\feed", "\\fed", "\\image", "\\log"}) {
    CreateDirectoryA((work + sub).c_str(), nullptr);
  }
  RemoveFiles(work);
  RemoveFiles(work + "\\pages");
  CopyFileA((ProgramFolder() + "\\MUPADATA.SPC").c_str(), (work + "\\MUPADATA.SPC").c_str(), FALSE);
  SheetDefinition sheet = BenchmarkSheet();
  sheet.marks.push_back(RegisteredMarkRow(sheet, "0001", 300));
  UseRunFolder(work);
  if (WriteSheetDefinition(work.c_str(), kRunSheetDb, sheet) != 0) return false;
  std::string spec = "BENCHOUT\r\nFIELD\r\n";
  for (const SheetFieldRow& field : sheet.fields) {
    const int length = field.IsCheck() ? 20 : field.count;
    spec += "\"" + field.name + "\",\"char*\",\"" + field.name + "\"," + std::to_string(length) +
            ",0,0,\"\"," + std::to_string(length) + "\r\n";
  }
  spec += "INDEX\r\n\"ID\",\"△\"\r\nEND\r\n";
  std::FILE* file = std::fopen((work + "\\BENCHOUT.SPC").c_str(), "wb");
  if (!file) return false;
  std::fwrite(spec.data(), 1, spec.size(), file);
  std::fclose(file);
  for (int k = 1; k <= sheets; ++k) {
    SheetRequest request;
    request.seed = static_cast<uint32_t>(k);
    SheetRandom random(request.seed);
    request.fills = RandomFills(sheet, "0001", 0.3, random);
    request.scan = RandomDegradation(random);
    if (!WriteSheetBmp(work + "\\pages\\" + PageName(k), GenerateSheet(sheet, request))) {
      return false;
    }
  }
  return true;
}

struct RunFigures {
  double run = 0, bare = 0;
  double stages[kStageCount] = {};
  int bareLoaded = 0;  // pages the bare loop loaded and unpacked
  int boxes = 0;
  long rows = 0;
};

// Feeds the pages once: bare load and unpack first, then the run.
RunFigures RunOnce(const std::string& work, int sheets) {
  RunFigures figures;
  RemoveFiles(work + "\\feed");
  RemoveFiles(work + "\\fed");
  RemoveFiles(work + "\\log");
  for (const char* suffix : {".mdb", ".mdb-wal", ".mdb-shm"}) {
    DeleteFileA((work + "\\" + kRunOutputDb + suffix).c_str());
  }
  for (int k = 1; k <= sheets; ++k) {
    CopyFileA((work + "\\pages\\" + PageName(k)).c_str(),
              (work + "\\feed\\" + PageName(k)).c_str(), FALSE);
  }
  LARGE_INTEGER bareStart, bareEnd, runStart, runEnd;
  QueryPerformanceCounter(&bareStart);
  for (int k = 1; k <= sheets; ++k) {
    SheetImage page;
    if (LoadSheetImageFile((work + "\\feed\\" + PageName(k)).c_str(), 300, &page) ==
        SheetFileStatus::kOk) {
      UnpackSheetImage(page.bitmap, kUnpackWholeImage);
      ++figures.bareLoaded;
    }
  }
  QueryPerformanceCounter(&bareEnd);

  SetMessageBoxHook(CountBoxes, &figures.boxes);
  UseRunFolder(work);
  LoadCurrentSheetPaper();
  OpenSheetCanvas("0001");
  g_currentSheet.projectMode = kOperationMode;
  ValidateSheetFields();
  g_readingRun.subMode = kScanRun;
  g_readingRun.dpi = 300;
  QueryPerformanceCounter(&runStart);
  RunSheetReading();
  QueryPerformanceCounter(&runEnd);
  SetMessageBoxHook(nullptr, nullptr);

  figures.bare = Seconds(bareStart, bareEnd);
  figures.run = Seconds(runStart, runEnd);
  for (int s = 0; s < kStageCount; ++s) figures.stages[s] = g_readingRun.stageSeconds[s];
  const int slot = db_open_nocreate(work.c_str(), kRunOutputDb, "BENCHOUT", kDbKindFile, "", "", "");
  if (slot > 0) {
    figures.rows = db_count(slot);
    db_close(slot);
  }
  return figures;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int sheets = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  // One core, as the target is set for.
  SetProcessAffinityMask(GetCurrentProcess(), 1);
  db_init();
  BindImagingLibrary();
  const std::string work = ProgramFolder() + "\\" + kWork;
  const std::string feeder = ProgramFolder() + "\\SCANFEED.INI";
  std::printf("writing %d sheets ...\n", sheets);
  std::fflush(stdout);
  if (!MakeWork(work, sheets)) {
    std::printf("the benchmark's sheets could not be written\n");
    return 0;
  }
  std::FILE* settings = std::fopen(feeder.c_str(), "wb");
  std::fprintf(settings, "[Feeder]\r\nName=Bench Feeder\r\nFolder=%s\\feed\r\nTray=%s\\fed\r\n",
               work.c_str(), work.c_str());
  std::fclose(settings);

  std::vector<double> rates, ratios;
  const char* const stageNames[kStageCount] = {"page check", "cleaning", "turning",
                                               "fields",     "record",   "images"};
  for (int n = 1; n <= runs; ++n) {
    const RunFigures f = RunOnce(work, sheets);
    const double rate = sheets / f.run;
    rates.push_back(rate);
    ratios.push_back(f.run / f.bare);
    std::printf("run %d: %d sheets in %.2f s, %.1f sheets a second; %ld rows, %d message boxes\n",
                n, sheets, f.run, rate, f.rows, f.boxes);
    // A page the bare loop could not load would make it look cheaper.
    std::printf("  bare load and unpack of %d pages %.2f s (%.2f ms a sheet); the run %.2f times that\n",
                f.bareLoaded, f.bare, f.bare * 1000 / sheets, f.run / f.bare);
    std::printf("  a sheet:");
    for (int s = 0; s < kStageCount; ++s) {
      std::printf(" %s %.2f ms%s", stageNames[s], f.stages[s] * 1000 / sheets,
                  s + 1 < kStageCount ? "," : "\n");
    }
    std::fflush(stdout);
  }
  DeleteFileA(feeder.c_str());
  const double median = Median(rates);
  const double ratio = Median(ratios);
  std::printf("reading run: sheets a second min %.1f, median %.1f, max %.1f; target %.0f "
              "(ratio %.2f): %s\n",
              *std::min_element(rates.begin(), rates.end()), median,
              *std::max_element(rates.begin(), rates.end()), kTargetSheetsPerSecond,
              median / kTargetSheetsPerSecond, median >= kTargetSheetsPerSecond ? "met" : "not met");
  std::printf("  run / bare load and unpack: min %.2f, median %.2f, max %.2f; target at most %.0f: "
              "%s\n",
              *std::min_element(ratios.begin(), ratios.end()), ratio,
              *std::max_element(ratios.begin(), ratios.end()), kTargetRatio,
              ratio <= kTargetRatio ? "met" : "not met");
  UnbindImagingLibrary();
  db_term();
  return 0;
}
