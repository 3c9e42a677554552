#include "tests/platform/scan_recording.h"

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
