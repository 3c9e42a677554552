#include "tests/platform/scan_recording.h"

#include <cstdio>

#include "foundation/path_split.h"

ScanRun* g_run = nullptr;

int IK_CALL RecordPage(HGLOBAL page, int number) {
  IKImageInfo info = {};
  IKGetImageType(page, &info);
  g_run->pages.push_back({number, PictureOf(page), DepthOf(page), info.xDpi, GetCurrentThreadId()});
  return number == g_run->stopAt ? 0 : number;
}

std::vector<Picture> Pictures(const ScanRun& run) {
  std::vector<Picture> pictures;
  for (const Delivered& page : run.pages) pictures.push_back(page.picture);
  return pictures;
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(PathFolder(std::string_view(path, length)));
}

IKScanParams ScanParams(const char* scanner, int brightness, int sides, int dpi) {
  IKScanParams params = {};
  params.size = sizeof params;
  std::snprintf(params.scanner, sizeof params.scanner, "%s", scanner);
  params.scaleX = params.scaleY = 1.0;
  params.brightness = brightness;
  params.sides = sides;
  params.dropOutColor = kIkDropOutNone;
  params.xResolution = params.yResolution = dpi;
  params.blackAndWhite = 1;
  params.userInterface = 2;
  return params;
}
