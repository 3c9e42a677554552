// Scanning through the imaging library: the scanner chosen and remembered in
// "%s\SCANERS", the parameter block filled from the sheet's settings, and
// the page callback, which runs inside the scan call on the GUI thread,
// saves every page, pairs the pages of two-sided sheets and hands each sheet
// to the per-sheet step. A sheet that fails stops the scan; the pages after
// it stay in the feeder.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "designer/sheet_settings.h"
#include "foundation/files.h"
#include "foundation/imaging.h"
#include "foundation/msgbox.h"
#include "reading/reading.h"
#include "screen/screen.h"

namespace {

constexpr int kBrightnessCapability = 0x1101;
constexpr char kProgressHead[] = "読み取り中：";

// The scanner the runs use: the current one of the scanner list, or the
// installed one when the list names none.
std::string ChosenScanner() {
  std::string scanner;
  std::vector<std::string> names;
  LoadScannerList(GetProgramFolder().c_str(), &scanner, &names);
  return scanner;
}

// The lowest and highest brightness the scanner takes; false when it does
// not tell.
bool GetScannerBrightnessRange(const char* scanner, int* lowest, int* highest) {
  int step = 0, current = 0;
  const int container =
      IkScanGetCapRange(scanner, kBrightnessCapability, lowest, highest, &step, &current);
  if (container == 3 || container == 4) {
    int values[64];
    int count = 0;
    IkScanGetCapEnum(scanner, kBrightnessCapability, values, 64, &count, &current);
    if (count <= 0) return false;
    *lowest = values[0];
    *highest = current;
  }
  return container != 0;
}

int DropOutColour(int printColourState) {
  switch (printColourState) {
    case 44: case 45: return kIkDropOutRed;
    case 47: case 48: return kIkDropOutGreen;
    case 41: case 42: return kIkDropOutBlue;
    default: return kIkDropOutNone;
  }
}

int PaperCode(const std::string& size) {
  if (size == "Ａ５") return 1;
  if (size == "Ｂ４") return 38;
  if (size == "Ｂ５") return 2;
  if (size == "Ｂ６") return 39;
  if (size == "葉書") return 5;
  return 0;
}

std::string PagePath(const char* format, int side) {
  char path[MAX_PATH];
  std::snprintf(path, sizeof path, format, g_readingPlaces.imageFolder.c_str(), side,
                g_readingRun.dpi);
  return path;
}

// The journal's sheet, read as the scan starts; only the first sheet of the
// run can be it, the feeder having let the earlier ones go.
StoredPage g_journalSheet;

// Follows the sheet's pages: their digest, and whether the sheet is the one
// the journal names.
void TakePage(HGLOBAL page, int pageNumber, bool paired) {
  ReadingRun& run = g_readingRun;
  const std::string digest = PageDigest(page);
  const bool secondSide = paired && pageNumber % 2 == 0;
  run.pageDigest = secondSide ? run.pageDigest + digest : digest;
  run.storedKeys.clear();
  if (pageNumber == (paired ? 2 : 1) && run.pageDigest == g_journalSheet.digest) {
    run.storedKeys = g_journalSheet.keys;
  }
}

// The answer to the scanner for a sheet's step; a stored sheet the run
// refuses after all stays in the feeder, and so does its journal.
int AnswerForSheet(int result, int pageNumber) {
  ReadingRun& run = g_readingRun;
  if (result != 0 && run.written) run.storedSheetKept = 1;
  run.storedKeys.clear();
  return result == 0 ? pageNumber : 0;
}

// The sheets the scan has read so far: a two-sided sheet is two pages.
long SheetsRead() {
  const ReadingRun& run = g_readingRun;
  const long pages = run.sheetCount - run.refusedPages;
  return run.scanType == kScanPaired ? pages / 2 : pages;
}

// Tells the operator why a scan ended before the feeder ran empty; the
// sheets read by then stay stored, and the message says how many.
void ReportScanEnd(int result, const char* scanner) {
  const long sheets = SheetsRead();
  const char* reason = nullptr;
  switch (result) {
    case kIkScanFailed:
      if (!*scanner) {
        ShowWorkbenchMessage("", "使用するイメージスキャナが選択されていません。\n"
                                 "画面右上のボタンで、イメージスキャナを選択してください。");
      } else {
        ShowWorkbenchMessage("", "イメージスキャナ“%s”で読み取りを開始できません。\n"
                                 "スキャナの電源と接続を確認するか、画面右上のボタンで、"
                                 "イメージスキャナを選択し直してください。",
                             scanner);
      }
      return;
    case kIkScanNoPaper:
      ShowWorkbenchMessage("", "スキャナに用紙がセットされていません。\n"
                               "用紙をセットしてから、読み取りを行ってください。");
      return;
    case kIkScanPaperJam:
      reason = "紙詰まりのため、読み取りを中断しました。\n詰まった用紙を取り除いてください。";
      break;
    case kIkScanFeedError:
      reason = "スキャナから画像を受け取れないため、読み取りを中断しました。";
      break;
    case kIkScanCancelled:
      reason = "スキャナで読み取りが取り消されました。";
      break;
    default:
      return;
  }
  ShowWorkbenchMessage("", "%s\n中断までに読み取った用紙：%ld枚", reason, sheets);
}

void UseSide(int side) {
  ReadingRun& run = g_readingRun;
  run.currentSide = side;
  run.pageFile = PagePath("%s\\SCAN%d_%d.BMP", side);
  run.workFile = PagePath("%s\\CONV%d_%d.BMP", side);
}

// The sheets read so far, in the workbench's message line while the scan
// goes on; Esc typed meanwhile asks whether to stop before the next sheet,
// which then stays in the feeder. Other keys typed during a run are dropped.
bool StopBetweenSheets() {
  const long sheets = SheetsRead();
  char text[64];
  std::snprintf(text, sizeof text, "%s%ld枚　[Esc]＝中止", kProgressHead, sheets);
  ShowRunMessage(text);
  if (const HWND bench = FindProgramWindow("KQE_READ")) UpdateWindow(bench);
  bool escape = false;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
    if (msg.wParam == VK_ESCAPE) escape = true;
  }
  return escape && AskYesNo("", "読み取り済み：%ld枚\n読み取りを中止してもよろしいですか？\n"
                                "（残りの用紙は、スキャナに残ります）",
                            sheets) == IDYES;
}

}  // namespace

int StartScanner(int paperWidth, int paperHeight) {
  ReadingRun& run = g_readingRun;
  const SheetSettings& s = g_sheetSettings;
  IKScanParams params = {};
  params.size = sizeof params;
  std::snprintf(params.scanner, sizeof params.scanner, "%s", ChosenScanner().c_str());
  int lowest = 0, highest = 0;
  params.brightness = s.brightness;
  if (ImagingLibraryVersion() == 7 &&
      GetScannerBrightnessRange(params.scanner, &lowest, &highest)) {
    params.brightness = ScanBrightnessParameter(highest, s.brightness);
  }
  params.scaleX = params.scaleY = 1.0;
  params.sides = run.scanType == kScanFlatbed  ? kIkScanFlatbed
                 : run.scanType != kScanPaired ? kIkScanOneSided
                 : run.twoSheetSet             ? kIkScanOneSided
                                               : kIkScanTwoSided;
  params.dropOutColor = DropOutColour(s.printColourState);
  params.paperCode = s.scannerScreen == 1 ? 0 : PaperCode(s.paperSize);
  params.xResolution = params.yResolution = run.dpi;
  params.blackAndWhite = 1;
  params.userInterface = s.scannerScreen == 1 ? 1 : 2;
  (void)paperWidth;
  (void)paperHeight;
  const bool journal = g_currentSheet.projectMode == kOperationMode && !run.testScan;
  g_journalSheet = journal ? ReadPageJournal() : StoredPage();
  run.pageDigest.clear();
  run.storedKeys.clear();
  run.storedSheetKept = 0;
  const int result = IkScanExec(GetActiveWindow(), &params, ScanPageCallback);
  // The progress ends with the scan; what the run came to follows it.
  if (run.message.rfind(kProgressHead, 0) == 0) ShowRunMessage("");
  ReportScanEnd(result, params.scanner);
  // Every sheet stored went to the tray: the journal has nothing to tell.
  const bool fed = result != kIkScanFeedError && result != kIkScanPaperJam;
  if (journal && fed && !run.storedSheetKept) DeletePageJournal();
  g_journalSheet = StoredPage();
  run.pageDigest.clear();
  return result == 0 ? -1 : result;
}

std::string FeederWaitingText() {
  // The ImageKit-5 build cannot ask, and says nothing rather than report a
  // missing entry.
  if (ImagingLibraryVersion() != 7) return "";
  int pages = 0, count = 0, current = 0;
  if (IkScanGetCapEnum(ChosenScanner().c_str(), kIkCapFeederPages, &pages, 1, &count, &current) !=
          kIkContainerOneValue ||
      count != 1) {
    return "";
  }
  const SheetSettings& s = g_sheetSettings;
  const bool twoSided = s.scanType == kScanPaired && !s.twoSheetSet;
  char text[40];
  std::snprintf(text, sizeof text, "給紙待ち：%d枚", twoSided ? (pages + 1) / 2 : pages);
  return text;
}

int RenameDuplexScanFiles() {
  const int backMark = PrepareScannedPage(PagePath("%s\\SCAN%d_%d.BMP", 1).c_str());
  if (backMark < 0) return -1;
  if (backMark == 0) return 0;
  const std::string side0 = PagePath("%s\\SCAN%d_%d.BMP", 0);
  const std::string side1 = PagePath("%s\\SCAN%d_%d.BMP", 1);
  const std::string side2 = PagePath("%s\\SCAN%d_%d.BMP", 2);
  if (!MoveFileExA(side2.c_str(), side0.c_str(), MOVEFILE_REPLACE_EXISTING) ||
      !MoveFileExA(side1.c_str(), side2.c_str(), MOVEFILE_REPLACE_EXISTING) ||
      !MoveFileExA(side0.c_str(), side1.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    ShowWorkbenchMessage("", "“%s”と“%s”を入れ替えられません。", side1.c_str(), side2.c_str());
    return -1;
  }
  return 0;
}

int __stdcall ScanPageCallback(HGLOBAL page, int pageNumber) {
  ReadingRun& run = g_readingRun;
  const bool operation = g_currentSheet.projectMode == kOperationMode;
  const bool paired = run.scanType == kScanPaired;
  if (pageNumber == 1) run.startTime = GetTickCount();
  // Before a new sheet (not before the second page of one), untouched.
  if (pageNumber > 1 && (!paired || pageNumber % 2 == 1) && StopBetweenSheets()) return 0;
  run.pageNumber = pageNumber;
  if (operation && !run.testScan) TakePage(page, pageNumber, paired);
  if (paired) UseSide(pageNumber % 2 == 1 ? 1 : 2);
  if (!IkBmpFileSave(run.pageFile.c_str(), page)) {
    ShowWorkbenchMessage("", "“%s”をセーブできません。", run.pageFile.c_str());
    return 0;
  }
  if (operation && paired && LoadImageFile(run.pageFile.c_str()) != 0) return 0;
  if (!operation && run.subMode == kScanRun &&
      (LoadImageFile(run.pageFile.c_str()) != 0 || PrepareScannedPage(run.pageFile.c_str()) < 0)) {
    return 0;
  }
  if (pageNumber < 1) return pageNumber;
  run.runError = 0;
  if (operation && paired) {
    if (run.currentSide == 1) return pageNumber;  // the sheet is read with its second page
    if (RenameDuplexScanFiles() != 0) return 0;
    int result = 0;
    for (int side = 1; side <= 2 && result == 0; ++side) {
      UseSide(side);
      result = ReadSheetImage();
    }
    return AnswerForSheet(result, pageNumber);
  }
  return AnswerForSheet(ReadSheetImage(), pageNumber);
}
