// Images of a read record: the field images shown beside fields on the card
// form, the area images of the sheet's cut-out frames (their paths stored in
// the record), and pages turned to the paper's orientation as they load.
// Turned pages are saved under a name of their own first and replace the
// page only once saved.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "foundation/image_cache.h"
#include "foundation/imaging.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "reading/reading.h"
#include "screen/screen.h"

namespace {

constexpr char kCaption[] = "";
constexpr char kSheetLineTable[] = "MUPA_LIN";
constexpr int kCutFrameSize = 99;
constexpr int kBlankAreaInk = 120;

int Round(double v) { return static_cast<int>(std::floor(v + 0.5)); }

// The blank areas of the sheet being read, by number: those of the front of
// a paired scan wait for the back, which writes the record.
std::vector<int> g_blankAreas;

}  // namespace

// The cut-out frames of a side (MUPA_LIN rows of size 99 with a positive
// start): 0, or -1 when the rows cannot be read (reported).
int ReadAreaFrames(const char* side, std::vector<AreaFrame>* frames) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kSheetLineTable, sheet.kind,
                           kSheetSpecSet, kSheetLineTable, "select * from MUPA_LIN where ＯＣＲコード=%s",
                           SqlLiteral(side).c_str());
  if (slot < 0) return -1;
  for (int rc = db_toppos(slot, "ＯＣＲコード,LINCODE"); rc == 0; rc = db_nread(slot)) {
    const AreaFrame frame{GetColumnInt(slot, "LINX1"), GetColumnInt(slot, "LINY1"),
                          GetColumnInt(slot, "LINX2"), GetColumnInt(slot, "LINY2")};
    if (GetColumnInt(slot, "LINSIZE") == kCutFrameSize && frame.x1 > 0 && frame.y1 > 0) {
      frames->push_back(frame);
    }
  }
  db_close(slot);
  return 0;
}

namespace {

int FirstAreaNumber() {
  return g_sheetDefinition.sheetCode == "0002" ? CountFirstSideAreas() : 0;
}

std::string AreaFolder() {
  return g_readingPlaces.cutImageFolder.empty() ? g_currentSheet.outputFolder
                                                : g_readingPlaces.cutImageFolder;
}

std::string RecordKey() {
  const ReadingRun& run = g_readingRun;
  const bool testRead = run.testScan || run.subMode == kAlignOnlyRun ||
                        (g_currentSheet.projectMode == kDesignMode && run.subMode == kScanRun);
  return testRead ? std::string("TEST") : run.keyValue;
}

std::string AreaPath(int number) {
  char path[MAX_PATH];
  std::snprintf(path, sizeof path, "%s\\%s_%s_%02d.BMP", AreaFolder().c_str(), "IMG",
                RecordKey().c_str(), number);
  return path;
}

std::string AreaColumn(int number) {
  char column[16];
  std::snprintf(column, sizeof column, "IMG%02d", number);
  return column;
}

int EdgeMargin(int dpi) { return dpi == 300 ? 4 : dpi == 400 ? 6 : 3; }

int EnlargeAmount(int dpi) {
  const int p = g_readingPlaces.enlargePixels;
  return dpi == 300 ? p * 3 / 2 : dpi == 400 ? p * 2 : p;
}

// The rectangle of a field's image in page pixels.
RECT FieldImageRect(const ScreenItem& it, const ReferenceMarks& r, const ImageCompensation& c,
                    int dpi) {
  const double dx = DotsPerUnit(r.dotsX, dpi);
  const double dy = DotsPerUnit(r.dotsY, dpi);
  const int unit = SheetDotsPerGridUnit();
  const int pitch = it.bSize < 0 ? 0 : it.bSize;
  double x = (it.column + 1 - r.gridShiftX) * dx;
  double y = (it.row - r.gridShiftY) * dy;
  int width = 0, height = 0, margin = 0;
  if (it.edit == 'C') {
    const int rows = it.groupSize >= 2 ? it.groupSize : 1;
    const int perRow = (it.width + rows - 1) / rows;
    height = rows * Round(it.boxHeight * unit * dy) + (rows - 1) * Round(it.rowGap * unit * dy);
    width = Round((it.boxWidth + pitch) * perRow * unit * dx);
  } else {
    width = it.kind == 'Z' ? Round(it.boxWidth * unit * dx)
                           : Round((it.boxWidth * it.width + (it.width - 1) * pitch) * unit * dx);
    height = Round(it.boxHeight * unit * dy);
    margin = EdgeMargin(dpi);
  }
  x += c.shiftX;
  y += c.shiftY;
  if (c.widthRatio != 1.0) {
    x = Round(x * c.widthRatio);
    width = Round(width * c.widthRatio);
  }
  if (c.heightRatio != 1.0) {
    y = Round(y * c.heightRatio);
    height = Round(height * c.heightRatio);
  }
  RECT rect{Round(x), Round(y) - margin, 0, 0};
  height += 2 * margin;
  const bool writeIn = it.bSize == -1 || it.kind == 'F' || it.kind == 'Z';
  if (g_readingPlaces.enlargePixels > 0 && writeIn) {
    const int p = EnlargeAmount(dpi);
    rect.left -= p;
    rect.top -= p;
    width += 2 * p;
    height += 2 * p;
  }
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
  return rect;
}

// Saves an image turned by `angle` degrees under `path`, replacing the file
// only once the turned image is saved. 0 / -1 (reported).
int RotateImage90(HANDLE image, const char* path, int angle) {
  HANDLE turned = RotateImage(image, angle * 100);
  const std::string temporary = std::string(path) + ".~turn";
  const bool saved = turned && IkBmpFileSave(temporary.c_str(), turned) &&
                     MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING);
  if (!saved) {
    DeleteFileA(temporary.c_str());
    if (turned) IkFreeMemory(turned);
    ShowWorkbenchMessage(kCaption, "イメージファイルを90度回転できません。");
    return -1;
  }
  if (!IkFreeMemory(turned)) {
    ShowWorkbenchMessage(kCaption, "イメージファイル・メモリーを解放できません。");
    return -1;
  }
  return 0;
}

}  // namespace

int LoadImageFile(const char* path) {
  HANDLE image = LoadImageUncached(path);
  if (!image) {
    ShowWorkbenchMessage(kCaption, "イメージファイルをロードできません。");
    return -1;
  }
  int width = 0, height = 0;
  GetImageSize(image, &width, &height);
  const bool landscape = g_sheetSettings.orientation == "横";
  int rc = 0;
  if ((!landscape && width > height) || (landscape && height > width)) {
    const bool backSide = g_readingRun.scanType == kScanPaired && g_readingRun.currentSide == 2;
    rc = RotateImage90(image, path, backSide ? 270 : 90);
  }
  if (!IkFreeMemory(image)) {
    ShowWorkbenchMessage(kCaption, "イメージファイル・メモリーを解放できません。");
    return -1;
  }
  return rc;
}

int SaveRecordImage(HANDLE image, int mode) {
  if (mode != 1) return 0;
  const ReadingRun& run = g_readingRun;
  const std::string folder = g_sheetSettings.comparisonFolder == 0 ? g_readingPlaces.imageFolder
                                                                   : g_sheetDefinition.folder;
  int rc = 0;
  for (int item : CanvasFieldItems()) {
    const ScreenItem& it = Item(item);
    if (KeyIsNumbered() && it.name == g_sheetKeys.lastKeyName) continue;
    if (it.validChars.size() < 11 || it.validChars[10] != '1') continue;
    const RECT r = FieldImageRect(it, CurrentReferences(), CurrentCompensation(), run.dpi);
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s\\%s_%s.BMP", folder.c_str(), RecordKey().c_str(),
                  it.name.c_str());
    if (DrawImageRect(image, r.left, r.top, r.right - r.left, r.bottom - r.top, path) != 0) {
      rc = -1;
    }
  }
  return rc;
}

int CountFirstSideAreas() {
  std::vector<AreaFrame> frames;
  return ReadAreaFrames("0001", &frames) == 0 ? static_cast<int>(frames.size()) : 0;
}

int IsAreaImageBlank(const char* path) {
  const int ink = MeasureSheetImageInk(path, kInkFullWidth);
  return ink >= 0 && ink <= kBlankAreaInk ? -1 : 0;
}

int StoreAreaImageNames() {
  if (g_sheetSettings.ruledLines != 1) return 0;
  std::vector<AreaFrame> frames;
  if (ReadAreaFrames(g_sheetDefinition.sheetCode.c_str(), &frames) != 0) return -1;
  const int slot = g_resultLogs.outputSlot;
  int number = FirstAreaNumber();
  for (std::size_t i = 0; i < frames.size(); ++i) {
    ++number;
    const std::string column = AreaColumn(number);
    if (GetColumnTypeQuiet(slot, column.c_str()) < 0) {
      ShowInfoMessage(kCaption, "出力テーブル作成後に「イメージ切り取り」が定義されています。\n"
                                "カード形式入力画面表示で、「ｼｰﾄﾌｫｰﾏｯﾄをもとに再構築」にチェック"
                                "して、〔実行〕を押してください。");
      return -1;
    }
    SetColumnText(slot, column.c_str(), AreaPath(number).c_str());
  }
  return 0;
}

int CutFieldImages(HANDLE image) {
  const ReadingRun& run = g_readingRun;
  std::vector<AreaFrame> frames;
  if (ReadAreaFrames(g_sheetDefinition.sheetCode.c_str(), &frames) != 0) return -1;
  const ReferenceMarks& r = CurrentReferences();
  const ImageCompensation& c = CurrentCompensation();
  const double dx = DotsPerUnit(r.dotsX, run.dpi) * c.widthRatio;
  const double dy = DotsPerUnit(r.dotsY, run.dpi) * c.heightRatio;
  const bool blankCheck = g_sheetSettings.int9 == 1;
  const bool paired = run.scanType == kScanPaired;
  if (!paired || run.currentSide != 2) g_blankAreas.clear();
  int number = FirstAreaNumber();
  for (const AreaFrame& f : frames) {
    ++number;
    const int left = Round((f.x1 - r.gridShiftX) * dx) + c.shiftX;
    const int right = Round((f.x2 - r.gridShiftX) * dx) + c.shiftX;
    const int top = Round((f.y1 - r.gridShiftY) * dy) + c.shiftY;
    const int bottom = Round((f.y2 - r.gridShiftY) * dy) + c.shiftY;
    const std::string path = AreaPath(number);
    DrawImageRect(image, left, top, right - left, bottom - top, path.c_str());
    ForgetCachedImage(path.c_str());
    if (blankCheck && IsAreaImageBlank(path.c_str()) != 0) {
      DeleteFileChecked(path.c_str());
      g_blankAreas.push_back(number);
    }
  }
  // Only a record this sheet wrote has its area columns emptied: a test
  // read wrote none, and the row of its key belongs to another sheet.
  if (!blankCheck || g_blankAreas.empty() || !run.written || (paired && run.currentSide == 1)) {
    return 0;
  }
  const int slot = g_resultLogs.outputSlot;
  if (FindWrittenRecord() != 0) return -1;
  for (int area : g_blankAreas) SetColumnText(slot, AreaColumn(area).c_str(), "");
  return db_update(slot) == 0 ? 0 : -1;
}
