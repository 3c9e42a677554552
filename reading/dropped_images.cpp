// Images dropped on the sheet canvas while a sheet is read: each BMP is one
// page, each TIFF a file of pages (for a two-sided sheet front and back in
// turn), read as the scanner's pages would be, in a run of stored images
// with the run's logs and master look-ups.
#include <cstdio>
#include <string>
#include <vector>

#include "designer/sheet_canvas.h"
#include "designer/sheet_settings.h"
#include "foundation/files.h"
#include "foundation/image_cache.h"
#include "foundation/imaging.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "reading/reading.h"
#include "reading/workbench.h"
#include "screen/screen.h"
#include "shell/shell.h"

namespace {

constexpr char kCaption[] = "";

bool TwoSided() { return g_sheetSettings.scanType == kScanPaired; }
bool Operation() { return g_currentSheet.projectMode == kOperationMode; }

std::string ImagePath(const char* format, int side) {
  char path[MAX_PATH];
  if (side > 0) {
    std::snprintf(path, sizeof path, format, g_readingPlaces.imageFolder.c_str(), side, g_readingRun.dpi);
  } else {
    std::snprintf(path, sizeof path, format, g_readingPlaces.imageFolder.c_str(), g_readingRun.dpi);
  }
  return path;
}

// The page and work files of a side (0 for a one-sided sheet).
void UseSideFiles(int side) {
  ReadingRun& run = g_readingRun;
  run.currentSide = side;
  run.pageFile = side > 0 ? ImagePath("%s\\SCAN%d_%d.BMP", side) : ImagePath("%s\\SCAN_%d.BMP", 0);
  run.workFile = side > 0 ? ImagePath("%s\\CONV%d_%d.BMP", side) : ImagePath("%s\\CONV_%d.BMP", 0);
}

// Reads the page of the current side files; in operation mode its files
// go once it is read.
int ReadCurrentFiles() {
  const int rc = ReadSheetImage();
  if (Operation()) {
    DeleteFileA(g_readingRun.pageFile.c_str());
    DeleteFileA(g_readingRun.workFile.c_str());
  }
  return rc;
}

// Clears the run, loads the marks of both sides and opens the logs and the
// master look-ups. 0, or -1 (reported) with everything closed again.
int BeginStoredImageRun() {
  ReadingRun& run = g_readingRun;
  run.testScan = 0;  // dropped pages are read for good, whatever ran before
  run.runError = 0;
  run.sheetCount = 0;
  run.errorField.clear();
  run.errorValue.clear();
  run.errorDetail.clear();
  run.recordNumber = "000000";
  run.scanType = g_sheetSettings.scanType;
  run.twoSheetSet = g_sheetSettings.twoSheetSet;
  if (LoadReferenceMarksBothSides() != 0) return -1;
  const int multiValue = CheckMasterOutputFields();
  if (multiValue == 255) return -1;
  run.multiValue = multiValue;
  if (OpenResultLogs(run.testScan) != 0 || OpenMasterLookups() != 0) {
    CloseMasterLookups();
    CloseResultLogs();
    return -1;
  }
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  run.subMode = kAlignOnlyRun;
  if (Operation()) run.subMode = kStoredPageRun;
  return 0;
}

// 0 when the run went well or the sheet goes on after faults, else -1.
int EndStoredImageRun() {
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  CloseMasterLookups();
  CloseResultLogs();
  ReportRunError();
  return g_sheetSettings.errorSetting == 2 || g_readingRun.runError >= 0 ? 0 : -1;
}

// Page `page` (from 1) of a TIFF file saved as the BMP `target`. 0, or -1
// after the message.
int SaveImagePageAsBmp(const std::string& file, int page, const std::string& target) {
  const HGLOBAL image = IkTiffFileLoad(file.c_str(), page - 1);
  if (!image) {
    ShowInfoMessage(kCaption, "イメージ“%s”をロードできません。", file.c_str());
    return -1;
  }
  const bool saved = IkBmpFileSave(target.c_str(), image);
  IkFreeMemory(image);
  if (!saved) {
    ShowInfoMessage(kCaption, "“%s”をセーブできません。", target.c_str());
    return -1;
  }
  return 0;
}

int ReadBmpFile(const std::string& file) {
  UseSideFiles(0);
  if (CopyFileToFolder(file.c_str(), g_readingRun.pageFile.c_str()) != 0) return -1;
  return ReadCurrentFiles();
}

int ReadTiffPages(const std::string& file, int pages) {
  ReadingRun& run = g_readingRun;
  const bool twoSided = TwoSided();
  for (int page = 1; page <= pages; ++page) {
    const int side = twoSided ? (page % 2 == 1 ? 1 : 2) : 0;
    UseSideFiles(side);
    if (SaveImagePageAsBmp(file, page, run.pageFile) != 0) return -1;
    if (!twoSided) {
      if (ReadCurrentFiles() != 0) return -1;
      continue;
    }
    // Both sides of an operation read are loaded as the scanner's are.
    if (Operation() && LoadImageFile(run.pageFile.c_str()) != 0) return -1;
    if (side == 1) continue;  // the sheet is read once its back has come
    if (RenameDuplexScanFiles() != 0) return -1;
    for (int s = 1; s <= 2; ++s) {
      UseSideFiles(s);
      if (ReadCurrentFiles() != 0) return -1;
    }
  }
  // A front without its back is no sheet: said, never passed over.
  if (twoSided && pages % 2 == 1) {
    run.runError = kRunUnpairedPage;
    run.errorField = file;
    run.errorValue = std::to_string(pages);
    return -1;
  }
  return 0;
}

// One dropped file read in a run of its own: the key numbered by the run
// goes on from the stored records. 0, or -1 when the file's reading failed
// (reported).
template <class Reader>
int ReadInStoredImageRun(Reader read) {
  if (BeginStoredImageRun() != 0) return -1;
  int rc = KeyIsNumbered() ? FormatSerialNumber() : 0;
  if (rc == 0) rc = read();
  const int ended = EndStoredImageRun();
  if (TwoSided()) ShowSheetSideAfterDrop();
  return rc != 0 ? -1 : ended;
}

// A two-sided sheet (or a set of two sheets) comes only as a TIFF of
// several pages. 0, or -1 after the message.
int CheckSidesOfDroppedFile(int pageCount) {
  if (!TwoSided() || pageCount > 1) return 0;
  const char* text;
  if (pageCount == 1) {
    text = Operation() ? "両面シートの読み取りを行う場合は、１ファイルに複数ページが保存されたマルチページTIFF"
                         "ファイルを使用してください。"
                       : "両面シートの位置合わせを行う場合は、１ファイルに「表面」と「裏面」が保存されたマルチ"
                         "ページTIFFファイルを使用してください。";
  } else if (g_sheetSettings.twoSheetSet) {
    text = "２枚１組シートの読み取りを行う場合は、１ファイルに複数ページが保存されたマルチページTIFFファイルを"
           "使用してください。";
  } else {
    text = "両面シートの読み取りを行う場合は、１ファイルに複数ページが保存されたマルチページTIFFファイルを"
           "使用してください。";
  }
  ShowErrorMessage(kCaption, "%s", text);
  return -1;
}

std::string UpperExtension(const std::string& file) {
  std::vector<char> extension(file.size() + 1);
  GetFileExtensionUpper(extension.data(), file.c_str());
  return extension.data();
}


}  // namespace

int ReadDroppedImages(const std::vector<std::string>& files) {
  if (ValidateSheetFields() != 0) return -1;
  const DWORD start = GetTickCount();
  int read = 0;
  for (size_t k = 0; k < files.size(); ++k) {
    const std::string& file = files[k];
    const std::string extension = UpperExtension(file);
    int rc;
    if (extension == "TIF") {
      int pages = 0, bits = 0;
      GetImageFileSize(file.c_str(), &pages, &bits);
      rc = CheckSidesOfDroppedFile(pages);
      if (rc == 0) rc = ReadInStoredImageRun([&] { return ReadTiffPages(file, pages); });
    } else if (extension == "BMP") {
      rc = CheckSidesOfDroppedFile(0);
      if (rc == 0) rc = ReadInStoredImageRun([&] { return ReadBmpFile(file); });
    } else {
      continue;
    }
    if (rc != 0) break;
    ++read;
    // A stack of files is read faster without the items painted.
    if (read >= 2) {
      g_canvasView.itemsVisible = 0;
    } else if (k + 1 == files.size()) {
      g_canvasView.itemsVisible = 1;
    }
    RepaintSheetCanvas();
  }
  g_canvasView.itemsVisible = 1;
  RepaintSheetCanvas();
  if (Operation() && read > 0) {
    // The count and time go to the workbench's message line.
    if (IsValidSlot(g_workbenchState.slot)) SelectWindowSlot(g_workbenchState.slot);
    ShowReadingTimeMessage(read, start, GetTickCount());
    ShowRecordCount();
  }
  return read;
}
