// The page callback of the scanner tests: what each page delivered looked
// like and where it came from, and the page at which the program stops the
// run.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/imaging_library.h"
#include "tests/platform/image_fixtures.h"

struct Delivered {
  int number;
  Picture picture;
  int depth;
  int dpi;
  DWORD thread;
};

// What the callback saw, and when it stops the run.
struct ScanRun {
  std::vector<Delivered> pages;
  int stopAt = 0;
};
// The run RecordPage records into; set by each test.
extern ScanRun* g_run;

int IK_CALL RecordPage(HGLOBAL page, int number);
std::vector<Picture> Pictures(const ScanRun& run);

// A black-and-white scan at `dpi` without the scanner's own settings screen.
IKScanParams ScanParams(const char* scanner, int brightness, int sides, int dpi = 300);

// The folder of the test program, where the feeder's settings lie.
std::string ProgramFolder();
