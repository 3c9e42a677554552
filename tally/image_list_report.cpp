// The write-in list (記述欄一覧): the images the reading cut out of one
// write-in field ("IMG_<record>_<field>" in their folder), printed in a
// grid as the print settings lay it out, row by row and page by page.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tally/report_internal.h"

namespace {

// The cut-out images of write-in field `number` in `folder`, by name.
std::vector<std::string> FieldImages(const std::string& folder, int number) {
  char pattern[MAX_PATH + 32];
  std::snprintf(pattern, sizeof pattern, "%s\\IMG_*_%02d.*", folder.c_str(), number);
  std::vector<std::string> files;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(folder + "\\" + found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int PrintImageList(int mode, const char* folder) {
  const PrintSettings& settings = g_printSettings;
  const std::vector<std::string> files = FieldImages(folder, std::atoi(settings.startCode.c_str()));
  ApplyPrintSettingsToReport(GetActiveWindow());
  if (!StartPrintJobDefault(mode, "H")) return -1;
  ReportOutputContext& r = g_reportOutput;
  r.imageSizePercent = settings.labelHeight > 0 ? settings.labelHeight : 100;
  r.imageGapX = settings.gapX;
  r.imageGapY = settings.gapY;
  const int perRow = std::max(1, settings.columns);
  const int rowsPerPage = std::max(1, settings.lines);
  int row = 0, column = 0;
  for (const std::string& file : files) {
    // A blank cut-out (nothing written) takes no cell.
    if (ReportPrintImage(file.c_str(), row, column) != 0) continue;
    if (++column < perRow) continue;
    column = 0;
    if (++row < rowsPerPage) continue;
    row = 0;
    // The preview shows the first page.
    if (r.mode == kReportPreview) break;
    NextPrintPage();
    if (AbortPrintJob() != 0) {
      EndPrintJob();
      return -1;
    }
  }
  NextPrintPage();
  EndPrintJob();
  return 0;
}
