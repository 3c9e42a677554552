#include "tests/platform/scan_recording.h"

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
