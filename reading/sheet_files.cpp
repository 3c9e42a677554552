// The sheet image files of a run: a scanned page cleaned of specks and
// written as the work file, turned straight (or round) in place when the
// compensation mode asks, and loaded as the page the fields are read from.
// Failures are shown in boxes owned by the workbench.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/files.h"
#include "foundation/image_cache.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "platform/noise_eraser.h"
#include "reading/reading.h"

namespace {

constexpr char kCaption[] = "";

// Shows the message of a refused sheet image file; false when the status
// has none (the caller's own message follows then).
bool ShowSheetFileMessage(SheetFileStatus status, const char* path) {
  const char* text = SheetFileMessage(status);
  if (!*text) return false;
  ShowWorkbenchMessage(kCaption, text, path);
  return true;
}

}  // namespace

void UseSheetMarkSearch() {
  const SheetSettings& s = g_sheetSettings;
  g_markSearchSettings.compensationMode = s.compensationMode;
  g_markSearchSettings.markSizeOption = g_readingRun.markSizeOption;
  g_markSearchSettings.areaX1 = s.areaX1;
  g_markSearchSettings.areaY1 = s.areaY1;
  g_markSearchSettings.areaX2 = s.areaX2;
  g_markSearchSettings.areaY2 = s.areaY2;
}

int LoadSheetPage(const char* path, int dpi, SheetImage* image) {
  long size = 0;
  const SheetFileStatus sized = SheetImageBytes(path, &size);
  // Refused before its rows are allocated: a page the file does not hold
  // whole, or a scan that is not black and white (with its own message).
  if (sized == SheetFileStatus::kTruncated) {
    ShowWorkbenchMessage(kCaption, "イメージの読み取りができません。(%s)", path);
    return -1;
  }
  if (sized == SheetFileStatus::kBitDepth || sized == SheetFileStatus::kColours) {
    ShowSheetFileMessage(sized, path);
    return -1;
  }
  if (sized != SheetFileStatus::kOk) {
    ShowWorkbenchMessage(kCaption, "画像データの領域サイズを取得できません。(%s)", path);
    return -1;
  }
  try {
    GiveBackPixelBuffer(std::move(image->pixels));
    image->pixels = TakePixelBuffer(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    ShowWorkbenchMessage(kCaption, "メモリを確保できません。(%s)", path);
    return -1;
  }
  image->bitmap.bits = image->pixels.data();
  const SheetFileStatus status =
      ReadSheetBmp(path, dpi, &image->bitmap, image->pixels.size(), &image->fileWidth);
  if (status == SheetFileStatus::kOk) return 0;
  if (!ShowSheetFileMessage(status, path)) {
    ShowWorkbenchMessage(kCaption, "イメージの読み取りができません。(%s)", path);
  }
  return -1;
}

namespace {

// The image last written to or read from a work file: the page about to be
// read is taken from here rather than read once more.
SheetImage g_workImage;
std::string g_workImagePath;

void KeepWorkImage(SheetImage&& image, const char* path) {
  g_workImage = std::move(image);
  g_workImage.bitmap.bits = g_workImage.pixels.data();
  g_workImagePath = path;
}

// Writes a page as a 1-bit BMP; -1 after the message. A page replaced in
// place goes to a file of its own first, so that a failed write leaves the
// page as it was.
int SavePageFile(const char* path, const SheetBitmap& bitmap, bool inPlace) {
  const std::string temporary = std::string(path) + ".~turn.bmp";
  const char* target = inPlace ? temporary.c_str() : path;
  bool saved = WriteSheetImageFile(target, bitmap) != 0;
  if (inPlace) {
    saved = saved && MoveFileExA(target, path, MOVEFILE_REPLACE_EXISTING);
    if (!saved) DeleteFileA(target);
  }
  if (saved) return 0;
  ShowWorkbenchMessage(kCaption,
                       "“%s”を保存できません。\nファイルのプロパティが「読み取り専用」になっている"
                       "可能性があります。\n“%s”を一旦削除してから\nもう一度読み取りを行ってください。",
                       path, path);
  return -1;
}

// The side a page of a paired operation scan is stored as (1 or 2), 0 for
// any other page.
int StoredSide() {
  const ReadingRun& run = g_readingRun;
  if (run.scanType != kScanPaired || g_currentSheet.projectMode != kOperationMode) return 0;
  return run.currentSide == 2 ? 2 : 1;
}

// Loads a scanned page, erases its specks and searches its marks. 0 / -1
// (reported).
int CleanSheetPage(const char* pagePath, SheetImage* page) {
  if (LoadSheetPage(pagePath, g_readingRun.dpi, page) != 0) return -1;
  if (EraseSheetNoise(page->bitmap) != 0) return -1;
  UseSheetMarkSearch();
  FindCorrectionMarks(page->bitmap, 1);
  return 0;
}

// Turns a page whose marks were searched straight, or round when it lies
// upside down (modes 2 and 3 only), as the imaging library turns its file,
// and searches its marks again; then writes it to `path` and keeps it as
// the work image. 0 / -1 (reported).
// The angle a page whose marks were searched is turned by: its tilt, and
// half a turn more upside down; 0 but in modes 2 and 3.
double TurnAngle() {
  const int mode = g_sheetSettings.compensationMode;
  if (mode != 2 && mode != 3) return 0;
  return g_cornerMarks.upsideDown ? g_cornerMarks.tilt + 180 : g_cornerMarks.tilt;
}

int StraightenAndSave(SheetImage&& page, const char* path, bool inPlace) {
  g_readingRun.rotation = 0;
  const double angle = TurnAngle();
  SheetBitmap asFile = page.bitmap;
  if (angle != 0) {
    SheetImage turned;
    const SheetFileStatus status =
        TurnSheetImage(page, static_cast<int>(std::lround(angle * 100)), &turned);
    if (status == SheetFileStatus::kTooSmall) {
      ShowWorkbenchMessage(kCaption, "メモリを確保できません。(%s)", path);
      return -1;
    }
    if (status != SheetFileStatus::kOk) {
      ShowSheetFileMessage(status, path);
      return -1;
    }
    g_readingRun.rotation = angle;
    GiveBackPixelBuffer(std::move(page.pixels));
    page = std::move(turned);
    page.bitmap.bits = page.pixels.data();
    UseSheetMarkSearch();
    FindCorrectionMarks(page.bitmap, 2);
    asFile = page.bitmap;
    asFile.width = static_cast<int16_t>(page.fileWidth);  // the turned canvas, as the library saves it
  }
  if (SavePageFile(path, asFile, inPlace) != 0) return -1;
  KeepWorkImage(std::move(page), path);
  return 0;
}

}  // namespace

int EraseSheetNoise(SheetBitmap& bitmap) {
  const int speck = SpeckSizeForNoise(g_sheetSettings.noiseSize, bitmap.dpi);
  if (speck == 0) return 0;
  EnshImage image{bitmap.width,  bitmap.height,   bitmap.bitsPerPixel, bitmap.bytesPerLine,
                  bitmap.dpi,    bitmap.polarity, bitmap.bits};
  const EnshRect all{0, 0, static_cast<int16_t>(bitmap.width - 1),
                     static_cast<int16_t>(bitmap.height - 1)};
  const int16_t parameters[2] = {static_cast<int16_t>(speck), 0};
  if (EnshEraseNoise(&image, &all, parameters) != kEnshFailed) return 0;
  char reason[128] = "";
  EnshGetError(reason, sizeof reason);
  ShowWorkbenchMessage(kCaption, "スキャニングしたイメージのノイズを除去できません。\n%s", reason);
  return -1;
}

int LoadSheetImage(const char* path, SheetBitmap* bitmap, std::size_t capacity) {
  const SheetFileStatus status = ReadSheetBmp(path, g_readingRun.dpi, bitmap, capacity);
  if (status == SheetFileStatus::kOk) return 1;
  ShowSheetFileMessage(status, path);
  return 0;
}

int CleanAndSaveSheetImage(const char* pagePath, const char* workPath) {
  SheetImage page;
  if (CleanSheetPage(pagePath, &page) != 0) return -1;
  if (SavePageFile(workPath, page.bitmap, false) != 0) return -1;
  KeepWorkImage(std::move(page), workPath);
  return 0;
}

int RecheckMarksAfterRotation(const char* path) {
  SheetImage turned;
  if (LoadSheetPage(path, g_readingRun.dpi, &turned) != 0) return -1;
  UseSheetMarkSearch();
  FindCorrectionMarks(turned.bitmap, 2);
  KeepWorkImage(std::move(turned), path);
  return 0;
}

int PrepareScannedPage(const char* path) {
  SheetImage page;
  if (LoadSheetPage(path, g_readingRun.dpi, &page) != 0) return -1;
  UseSheetMarkSearch();
  FindCorrectionMarks(page.bitmap, 1);
  g_workImagePath.clear();
  g_readingRun.rotation = 0;
  // An upside-down page shows its back mark only once it is turned round.
  if (TurnAngle() == 0) return g_cornerMarks.secondMark;  // the page stays as scanned
  if (StraightenAndSave(std::move(page), path, true) != 0) return -1;
  return g_cornerMarks.secondMark;
}

int LoadSheetForReading(const char* path, int stored) {
  if (!path || !*path) {
    ShowWorkbenchMessage(kCaption, "イメージファイル名が空白です。");
    return -1;
  }
  const char* work = g_readingRun.workFile.c_str();
  g_workImagePath.clear();
  if (stored) {
    if (CopyFileToFolder(path, work) != 0) return -1;
  } else {
    SheetImage page;
    {
      StageTimer timer(kStageClean);
      if (CleanSheetPage(path, &page) != 0) return -1;
    }
    StageTimer timer(kStageTurn);
    if (StraightenAndSave(std::move(page), work, false) != 0) return -1;
    HoldMarksToSide(&g_cornerMarks, StoredSide(), g_readingRun.rotation != 0);
  }
  StageTimer timer(kStageFields);
  FreeSheetBitmap();
  if (g_workImagePath == work) {
    g_currentPage = std::move(g_workImage);
    g_currentPage.bitmap.bits = g_currentPage.pixels.data();
    g_workImagePath.clear();
  } else if (LoadSheetPage(work, g_readingRun.dpi, &g_currentPage) != 0) {
    return -1;
  }
  UseSheetMarkSearch();
  UnpackSheetImage(g_currentPage.bitmap, kUnpackWholeImage);
  return 0;
}

void FreeSheetBitmap() {
  GiveBackPixelBuffer(std::move(g_currentPage.pixels));
  g_currentPage = SheetImage();
}

int CopyFileToFolder(const char* source, const char* target) {
  if (GetFileAttributesA(source) == INVALID_FILE_ATTRIBUTES) {
    ShowWorkbenchMessage(kCaption, "%s はありません。", source);
    return -1;
  }
  if (CopyFileLz(source, target) == 0) return 0;
  std::vector<char> folder(std::strlen(target) + 1);
  GetDirectoryPart(folder.data(), target);
  // The diagnosis creates nothing: a target that could not be written is
  // not left behind as an empty file.
  if (folder[0] && GetFileAttributesA(folder.data()) == INVALID_FILE_ATTRIBUTES) {
    ShowWorkbenchMessage(kCaption, "フォルダ“%s”はありません。", folder.data());
  } else if (HANDLE h = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
             h != INVALID_HANDLE_VALUE) {
    CloseHandle(h);
    ShowWorkbenchMessage(kCaption, "%s を作成できません。", target);
  } else {
    ShowWorkbenchMessage(kCaption, "コピーできません。");
  }
  return -1;
}
