// The imaging libraries on the reading run's work: load a 1-bit A4 page at
// 300 dpi, turn it a quarter and save it as BMP, 200 times. Prints the pages
// a second, overall and for each step alone; the run needs 50 or more.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/imaging_library.h"
#include "tests/platform/image_fixtures.h"

namespace {

constexpr int kPages = 200;
constexpr int kWidth = 2480;   // A4 at 300 dpi
constexpr int kHeight = 3508;

// Boxes of a mark sheet and some strokes in them.
bool SheetInk(int x, int y) {
  const bool boxEdge = (x % 120 < 3 || y % 90 < 3) && x > 150 && y > 200;
  const bool stroke = (x + y) % 97 < 4 && (x / 120 + y / 90) % 3 == 0;
  return boxEdge || stroke;
}

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / frequency.QuadPart;
}

}  // namespace

int main() {
  const std::string folder = FreshFolder("imaging_bench");
  const std::string page = folder + "\\page.bmp";
  const std::string turned = folder + "\\turned.bmp";
  WriteBmp(page, PatternPicture(kWidth, kHeight, SheetInk), 1);

  double load = 0, turn = 0, save = 0;
  const double start = Seconds();
  for (int i = 0; i < kPages; ++i) {
    double t = Seconds();
    HGLOBAL image = IKFileLoad(page.c_str(), 0, 0, 0, 0, nullptr, nullptr, nullptr);
    load += Seconds() - t;
    t = Seconds();
    HGLOBAL quarter = IKRotation(image, 9000, 255, 255, 255);
    turn += Seconds() - t;
    t = Seconds();
    const BOOL saved = IKBmpFileSave(turned.c_str(), quarter);
    save += Seconds() - t;
    IKFreeMemory(image);
    IKFreeMemory(quarter);
    if (!image || !quarter || !saved) {
      std::printf("page %d failed\n", i + 1);
      return 1;
    }
  }
  const double total = Seconds() - start;
  std::printf("imaging: %d one-bit A4 pages at 300 dpi (%d x %d), load + quarter turn + BMP save\n",
              kPages, kWidth, kHeight);
  std::printf("  overall     %7.1f pages/s  (%.2f ms a page)\n", kPages / total, 1000 * total / kPages);
  std::printf("  load        %7.1f pages/s\n", kPages / load);
  std::printf("  turn        %7.1f pages/s\n", kPages / turn);
  std::printf("  save        %7.1f pages/s\n", kPages / save);
  std::printf("  target 50 pages/s: %s (ratio %.1f)\n", kPages / total >= 50 ? "met" : "MISSED",
              kPages / total / 50);
  return 0;
}
