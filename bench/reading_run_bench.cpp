// The reading run end to end under Wine: the benchmark sheet (A4, 100 check
// fields of 10 boxes, 4 write-in fields) generated, filled and scanned at
// 300 dpi, fed to an operation run into an SQLite output table on one core.
// Prints sheets a second, the time of every stage of the per-sheet step,
// and the ratio of the run to its baseline: a plain program doing the run's
// own file work on the same pages (the page taken from the feeder and saved,
// read back, the work file written over, ENDCODE and the log lines written,
// the page deleted), with plain Windows calls and nothing else, plus the
// unpack of each page. Each run and minimum, median and maximum; exits 0.
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
constexpr double kTargetRatio = 2;

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

// The whole of a file, or nothing when it cannot be read.
std::vector<char> ReadPlainFile(const std::string& path) {
  std::vector<char> bytes;
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  LARGE_INTEGER size;
  DWORD read = 0;
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size()) {
      bytes.clear();
    }
  }
  CloseHandle(file);
  return bytes;
}

// Writes `bytes` to `path`, over what is there (`disposition` OPEN_ALWAYS,
// cut to the new length) or into a new file (CREATE_ALWAYS), appended to an
// open file when `path` is empty.
bool WritePlainFile(const std::string& path, const char* bytes, std::size_t size,
                    DWORD disposition) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole = WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) &&
                     written == size && SetEndOfFile(file);
  CloseHandle(file);
  return whole;
}

// The run's own file work on one page, with plain calls: the feeder's page
// moved to the tray and saved as the scanned page, read back (the page
// check and the load), the work file written over, the resume point and a
// log line written, the scanned page deleted; then the page unpacked. The
// figure the run is held to. Pages done.
int PlainFileSequence(const std::string& work, int sheets) {
  const std::string page = work + "\\image\\SCAN_300.BMP";
  const std::string converted = work + "\\image\\CONV_300.BMP";
  const std::string endCode = work + "\\log\\PLAIN_ENDCODE.TXT";
  const HANDLE log = CreateFileA((work + "\\log\\PLAIN_PUT.LOG").c_str(), FILE_APPEND_DATA, 0,
                                 nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  int done = 0;
  for (int k = 1; k <= sheets; ++k) {
    const std::string fed = work + "\\fed\\" + PageName(k);
    if (!MoveFileExA((work + "\\feed\\" + PageName(k)).c_str(), fed.c_str(),
                     MOVEFILE_REPLACE_EXISTING)) {
      continue;
    }
    const std::vector<char> scanned = ReadPlainFile(fed);
    if (scanned.empty() || !WritePlainFile(page, scanned.data(), scanned.size(), CREATE_ALWAYS)) {
      continue;
    }
    const std::vector<char> bytes = ReadPlainFile(page);
    if (!WritePlainFile(converted, bytes.data(), bytes.size(), OPEN_ALWAYS)) continue;
    char key[16];
    const int length = std::snprintf(key, sizeof key, "%04d\r\n", k);
    WritePlainFile(endCode, key, static_cast<std::size_t>(length), OPEN_ALWAYS);
    DWORD written = 0;
    WriteFile(log, key, static_cast<DWORD>(length), &written, nullptr);
    DeleteFileA(page.c_str());
    SheetImage image;
    if (LoadSheetImageFile(converted.c_str(), 300, &image) != SheetFileStatus::kOk) continue;
    UnpackSheetImage(image.bitmap, kUnpackWholeImage);
    ++done;
  }
  CloseHandle(log);
  return done;
}

// Puts the pages into the feeder.
void FillFeeder(const std::string& work, int sheets) {
  RemoveFiles(work + "\\feed");
  RemoveFiles(work + "\\fed");
  for (int k = 1; k <= sheets; ++k) {
    CopyFileA((work + "\\pages\\" + PageName(k)).c_str(),
              (work + "\\feed\\" + PageName(k)).c_str(), FALSE);
  }
}

struct RunFigures {
  double run = 0, bare = 0;
  double stages[kStageCount] = {};
  int bareLoaded = 0;  // pages the plain file sequence did
  int boxes = 0;
  long rows = 0;
};

// Feeds the pages twice: to the plain file sequence first, then to the run.
RunFigures RunOnce(const std::string& work, int sheets) {
  RunFigures figures;
  RemoveFiles(work + "\\log");
  for (const char* suffix : {".mdb", ".mdb-wal", ".mdb-shm"}) {
    DeleteFileA((work + "\\" + kRunOutputDb + suffix).c_str());
  }
  FillFeeder(work, sheets);
  LARGE_INTEGER bareStart, bareEnd, runStart, runEnd;
  QueryPerformanceCounter(&bareStart);
  figures.bareLoaded = PlainFileSequence(work, sheets);
  QueryPerformanceCounter(&bareEnd);
  FillFeeder(work, sheets);

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
    // A page the plain sequence could not do would make it look cheaper.
    std::printf("  plain file sequence and unpack of %d pages %.2f s (%.2f ms a sheet); the run "
                "%.2f times that\n",
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
  std::printf("  run / plain file sequence and unpack: min %.2f, median %.2f, max %.2f; target at "
              "most %.0f: "
              "%s\n",
              *std::min_element(ratios.begin(), ratios.end()), ratio,
              *std::max_element(ratios.begin(), ratios.end()), kTargetRatio,
              ratio <= kTargetRatio ? "met" : "not met");
  UnbindImagingLibrary();
  db_term();
  return 0;
}
