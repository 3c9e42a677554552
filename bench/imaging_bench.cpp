// The imaging libraries on the reading run's work: load a 1-bit A4 page at
// 300 dpi, turn it a quarter and save it as BMP, page after page, each page
// a file of its own with its own marks, each result a file of its own.
//
//   imaging_bench.exe make <pages>
//       writes the pages (imaging_bench_work\pages\page_NNNN.bmp) and
//       empties the output folders;
//   imaging_bench.exe run <pages> [<native pages/s>]
//       runs the libraries over the pages (outputs in
//       imaging_bench_work\library), checks that the first and the last
//       result match the plain native program's (imaging_bench_work\native)
//       and prints pages a second overall and per step, the target
//       (200 pages a second, and within 2x of the native program), the
//       ratio and whether the target was met.
// bench/imaging_bench.sh runs the three steps with the native program
// between them.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/imaging_library.h"
#include "tests/platform/image_fixtures.h"

namespace {

constexpr int kWidth = 2480;  // A4 at 300 dpi
constexpr int kHeight = 3508;
constexpr int kRowBytes = (kWidth + 31) / 32 * 4;
constexpr int kHeaderBytes = 62;
constexpr double kTargetPagesPerSecond = 200;
constexpr double kTargetNativeRatio = 2;

constexpr char kWork[] = "imaging_bench_work";
constexpr char kPages[] = "imaging_bench_work\\pages";
constexpr char kLibrary[] = "imaging_bench_work\\library";
constexpr char kNative[] = "imaging_bench_work\\native";

// Box edges of a mark sheet and some strokes in them.
bool SheetInk(int x, int y) {
  const bool boxEdge = (x % 120 < 3 || y % 90 < 3) && x > 150 && y > 200;
  const bool stroke = (x + y) % 97 < 4 && (x / 120 + y / 90) % 3 == 0;
  return boxEdge || stroke;
}

std::string PageFile(const char* folder, const char* name, int page) {
  char file[64];
  std::snprintf(file, sizeof file, "\\%s_%04d.bmp", name, page);
  return folder + std::string(file);
}

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / frequency.QuadPart;
}

// Page `page`: the sheet with about a fifth of its boxes filled in, chosen
// by the page number, so that no two pages are alike.
std::string MarkedPage(const std::string& sheet, int page) {
  std::string bytes = sheet;
  uint32_t random = 2654435761u * (page + 1);
  for (int top = 270; top + 90 < kHeight; top += 90) {
    for (int left = 240; left + 120 < kWidth; left += 120) {
      random = random * 1664525u + 1013904223u;
      if ((random >> 24) % 5 != 0) continue;
      for (int y = top + 20; y < top + 70; ++y) {
        // Rows bottom-up; black is pixel value 0.
        char* row = &bytes[kHeaderBytes + static_cast<size_t>(kHeight - 1 - y) * kRowBytes];
        std::memset(row + (left + 24) / 8, 0, 9);
      }
    }
  }
  return bytes;
}

int MakePages(int pages) {
  FreshFolder(kWork);
  CreateDirectoryA(kPages, nullptr);
  CreateDirectoryA(kLibrary, nullptr);
  CreateDirectoryA(kNative, nullptr);
  const std::string sheetFile = std::string(kWork) + "\\sheet.bmp";
  WriteBmp(sheetFile, PatternPicture(kWidth, kHeight, SheetInk), 1);
  const std::string sheet = ReadBytes(sheetFile);
  for (int i = 0; i < pages; ++i) WriteBytes(PageFile(kPages, "page", i), MarkedPage(sheet, i));
  return 0;
}

// The library's result of page `page` and the native program's hold the
// same picture.
bool SameResult(int page) {
  HGLOBAL library = IKBmpFileLoad(PageFile(kLibrary, "turned", page).c_str());
  HGLOBAL native = IKBmpFileLoad(PageFile(kNative, "turned", page).c_str());
  const bool same = library && native && PictureOf(library) == PictureOf(native);
  IKFreeMemory(library);
  IKFreeMemory(native);
  return same;
}

int RunPages(int pages, double nativePagesPerSecond) {
  double load = 0, turn = 0, save = 0;
  const double start = Seconds();
  for (int i = 0; i < pages; ++i) {
    double t = Seconds();
    HGLOBAL image =
        IKFileLoad(PageFile(kPages, "page", i).c_str(), 0, 0, 0, 0, nullptr, nullptr, nullptr);
    load += Seconds() - t;
    t = Seconds();
    HGLOBAL quarter = IKRotation(image, 9000, 255, 255, 255);
    turn += Seconds() - t;
    t = Seconds();
    const BOOL saved = IKBmpFileSave(PageFile(kLibrary, "turned", i).c_str(), quarter);
    save += Seconds() - t;
    IKFreeMemory(image);
    IKFreeMemory(quarter);
    if (!image || !quarter || !saved) {
      std::printf("page %d failed\n", i);
      return 1;
    }
  }
  const double total = Seconds() - start;
  const double perSecond = pages / total;
  std::printf("imaging: %d distinct one-bit A4 pages at 300 dpi (%d x %d), load + quarter turn + "
              "BMP save, one thread under Wine\n",
              pages, kWidth, kHeight);
  std::printf("  libraries   %7.1f pages/s  (%.2f ms a page; load %.0f, turn %.0f, save %.0f "
              "pages/s)\n",
              perSecond, 1000 * total / pages, pages / load, pages / turn, pages / save);
  bool met = perSecond >= kTargetPagesPerSecond;
  if (nativePagesPerSecond > 0) {
    const double ratio = nativePagesPerSecond / perSecond;
    std::printf("  native      %7.1f pages/s  (plain C program, same pages)\n", nativePagesPerSecond);
    std::printf("  ratio native / libraries %.2f\n", ratio);
    const bool same = SameResult(0) && SameResult(pages - 1);
    std::printf("  results of the first and last page %s the native program's\n",
                same ? "match" : "DO NOT MATCH");
    met = met && ratio <= kTargetNativeRatio && same;
  } else {
    std::printf("  native      not measured\n");
    met = false;
  }
  std::printf("  target: %.0f pages/s and within %.0fx of native: %s (ratio to %.0f pages/s: %.2f)\n",
              kTargetPagesPerSecond, kTargetNativeRatio, met ? "met" : "NOT MET",
              kTargetPagesPerSecond, perSecond / kTargetPagesPerSecond);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int pages = argc > 2 ? std::atoi(argv[2]) : 0;
  int result = 2;
  if (argc >= 3 && pages > 0 && std::strcmp(argv[1], "make") == 0) {
    result = MakePages(pages);
  } else if (argc >= 3 && pages > 0 && std::strcmp(argv[1], "run") == 0) {
    result = RunPages(pages, argc > 3 ? std::atof(argv[3]) : 0);
  } else {
    std::fprintf(stderr, "usage: imaging_bench.exe make|run <pages> [<native pages/s>]\n");
  }
  // What the libraries keep open on this thread closes with the program.
  IKEndImaging();
  return result;
}
