// The OCR-sheet workbench "KQE_READ": the work window of one sheet. Its
// buttons start reading runs, register the reference marks, nudge the
// scanned image into place (a pixel of margin, a hundredth of ratio at a
// time, stored at once), switch sides, show and delete the error log and
// open the image check view. It takes its slot like every screen window:
// the owner is disabled and the main window hidden while it is open.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "designer/designer.h"
#include "designer/grids.h"
#include "designer/item_dragging.h"
#include "designer/question_list.h"
#include "designer/ruled_line_editing.h"
#include "designer/sheet_canvas.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "reading/image_steps.h"
#include "reading/log_viewer.h"
#include "reading/reading.h"
#include "reading/sheet_rulers.h"
#include "reading/workbench.h"
#include "screen/screen.h"
#include "shell/shell.h"

WorkbenchState g_workbenchState;

namespace {

constexpr UINT kMsgRightButton = WM_USER + 140;   // 1164
constexpr char kCaption[] = "";
constexpr char kMarkTable[] = "MUPA_HMK";
constexpr int kWarningCharSize = 8;
constexpr int kWarningBelowMouse = 60;  // pixels

enum WorkbenchCommand {
  kClose = 100,
  kPrint = 112,
  kRead = 113,
  kConvert = 114,
  kLogs = 115,
  kCardScreen = 116,
  kListScreen = 117,
  kDataClear = 119,
  kFormatEdit = 120,
  kMoveFields = 121,
  kFieldGrid = 123,
  kScanner = 125,
  kScanType = 127,
  kReferenceMarks = 128,
  kBrightness = 131,
  kImageView = 133,
  kCheckGrid = 134,
  kFieldPrint = 135,
  kLeft = 151, kRight = 152, kUp = 153, kDown = 154,
  kWiderX = 156, kNarrowerX = 157, kTallerY = 158, kShorterY = 159,
  kImageShown = 202,
  kSideShown = 204,
  kGuideSnap = 205,
};

constexpr int kEnabled = 1, kHidden = 3;  // SetFieldState's codes

LogViewer g_logViewer;

// The slot of the sheet canvas ("Ocr"), or -1.
int CanvasSlot() {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).state == kFreeSlotState || !Slot(s).window) continue;
    char name[16] = "";
    GetClassNameA(Slot(s).window, name, sizeof name);
    if (lstrcmpA(name, "Ocr") == 0) return s;
  }
  return -1;
}

// The sheet canvas shows the sheet's design (its format editing).
bool CanvasInDesign() {
  const int canvas = CanvasSlot();
  return canvas >= 0 && Slot(canvas).lineEditMode == 1;
}

void SetBenchField(const char* name, const std::string& text) {
  if (IsValidSlot(g_workbenchState.slot)) SetItemValueForCommand(g_workbenchState.slot, name, text.c_str());
}

void ShowBenchMessage(const std::string& text) { SetBenchField("OCRMSG", text); }

// A slot on the MUPA_PAP row of a side (by default the side shown),
// positioned on it when it exists; -1 (reported by the database layer).
int OpenPaperRow(bool* found, const std::string& side = g_workbenchState.side) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kPaperTable, sheet.kind, kSheetSpecSet,
                           kPaperTable, "select * from MUPA_PAP where ＯＣＲコード=%s",
                           SqlLiteral(side.c_str()).c_str());
  *found = slot > 0 && db_toppos(slot, "ＯＣＲコード") == 0;
  return slot;
}

// Whether the row of the side and resolution holds a registered top-left
// mark.
bool MarksRegistered() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  char code[8];
  std::snprintf(code, sizeof code, "%02d", g_workbenchState.resolutionCode);
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kMarkTable, sheet.kind, kSheetSpecSet,
                           kMarkTable, "select * from MUPA_HMK where ＯＣＲコード=%s and コード=%s",
                           SqlLiteral(g_workbenchState.side.c_str()).c_str(), SqlLiteral(code).c_str());
  if (slot < 0) return false;
  const bool registered = db_toppos(slot, "コード") == 0 && GetColumnInt(slot, "Ｘ１") != kNotFound &&
                          GetColumnInt(slot, "Ｙ１") != kNotFound;
  db_close(slot);
  return registered;
}

void ShowMarkStatus() {
  const WorkbenchState& bench = g_workbenchState;
  const bool operation = g_currentSheet.projectMode == kOperationMode;
  const char* text;
  int option;
  if (g_sheetSettings.compensationMode == 0) {
    option = 2;
    text = operation ? "(補正無効)" : "補正無効";
  } else if (MarksRegistered()) {
    option = 1;
    text = operation ? "" : "登録済み";
  } else {
    option = 2;
    text = operation ? "(補正：×)" : "未登録";
  }
  SetFieldOption(bench.slot, "位置記憶", option);
  SetBenchField("位置記憶", text);
}

void ShowMargins() {
  SetBenchField("LMGN", std::to_string(g_workbenchState.leftMargin));
  SetBenchField("TMGN", std::to_string(g_workbenchState.topMargin));
}

void ShowRatios() {
  const WorkbenchState& bench = g_workbenchState;
  SetBenchField("IMGRATE1", FormatHundredths(ShownRatioHundredths(bench.ratioX, bench.dpi)));
  SetBenchField("IMGRATE2", FormatHundredths(ShownRatioHundredths(bench.ratioY, bench.dpi)));
}

// Where the canvas draws the converted page: moved by the margins and
// stretched by the shown ratios, as the image check view draws it at half
// its scale.
void PlaceCanvasImage(ImageHandle image) {
  const WorkbenchState& bench = g_workbenchState;
  int width = 0, height = 0;
  GetImageSize(image, &width, &height);
  // A page of 200 dpi is twice the canvas's 4 pixels a millimetre.
  const int dotsPerCanvasPixel = 2 * bench.dpi / 200;
  g_canvasView.imageRect = RECT{
      bench.leftMargin, bench.topMargin,
      bench.leftMargin + ViewImageLength(width, ShownRatioHundredths(bench.ratioX, bench.dpi)) / dotsPerCanvasPixel,
      bench.topMargin + ViewImageLength(height, ShownRatioHundredths(bench.ratioY, bench.dpi)) / dotsPerCanvasPixel};
}

void RepaintCanvas() {
  const int canvas = CanvasSlot();
  if (canvas < 0) return;
  if (Slot(canvas).backgroundImage) PlaceCanvasImage(Slot(canvas).backgroundImage);
  InvalidateRect(Slot(canvas).window, nullptr, TRUE);
}

// An unusual margin or ratio is told in the message window below the mouse
// (on the button just pressed); a usual one takes the window away.
void WarnNearMouse(bool unusual, const char* text) {
  if (!unusual) {
    NotifyMainWindow();
    return;
  }
  POINT mouse{};
  GetCursorPos(&mouse);
  ShowMessageWindow(text, kWarningCharSize, mouse.x, mouse.y + kWarningBelowMouse);
}

// Steps the left (horizontal) or top margin by one pixel and stores it.
void StepMargin(bool horizontal, int step) {
  WorkbenchState& bench = g_workbenchState;
  int& margin = horizontal ? bench.leftMargin : bench.topMargin;
  margin += step;
  ShowMargins();
  bool found = false;
  const int paper = OpenPaperRow(&found);
  if (paper > 0) {
    if (found) {
      SetColumnInt(paper, horizontal ? "横シフト" : "縦シフト", margin);
      db_update(paper);
    }
    db_close(paper);
  }
  char text[512];
  std::snprintf(text, sizeof text,
                horizontal ? "左側余白が“%d”は異常な値です。|シートが左右にずれてスキャニングされていないか"
                             "確認してください。"
                           : "上部余白が“%d”は異常な値です。|シートが天地方向にずれてスキャニングされていないか"
                             "確認してください。",
                margin);
  WarnNearMouse(MarginNeedsWarning(margin), text);
  RepaintCanvas();
}

// Steps a grid ratio by a hundredth as shown (the stored value moves the
// other way) and stores it.
void StepRatio(bool horizontal, int shownStep) {
  WorkbenchState& bench = g_workbenchState;
  bool found = false;
  const int paper = OpenPaperRow(&found);
  if (paper < 0) return;
  if (!found) {
    db_close(paper);
    return;
  }
  int& stored = horizontal ? bench.ratioX : bench.ratioY;
  stored -= shownStep;
  ShowRatios();
  if (bench.resolutionCode >= 1) {
    SetColumnDoubleIdx(paper, "イメージ割合", horizontal ? bench.resolutionCode : bench.resolutionCode + 10,
                       stored / 100.0);
    db_update(paper);
  }
  db_close(paper);
  const int shown = ShownRatioHundredths(stored, bench.dpi);
  std::string text = "イメージの割合が“" + FormatHundredths(shown) +
                     "”は異常な値です。(通常：1.02～1.04)|｢解像度｣が“200dpi”で読み取られているか確認して"
                     "ください。";
  if (g_sheetSettings.scannerScreen != 2) {
    text += "|自動モード(｢設定画面｣のチェックがOFF)では、｢解像度｣や｢画像タイプ｣|など自動で設定されます。";
  }
  WarnNearMouse(RatioNeedsWarning(shown), text.c_str());
  RepaintCanvas();
}

// Loads the converted image of the side shown as the canvas background,
// or drops it.
void ShowCanvasImage(bool shown) {
  const int canvas = CanvasSlot();
  if (canvas < 0) return;
  const std::string path = ConvertedImagePath();
  FreeCachedImage(path.c_str());
  const ImageHandle image = shown && FileExists(path.c_str()) == 0 ? LoadImageCached(path.c_str()) : 0;
  Slot(canvas).backgroundImage = image;
  g_canvasView.imageDisplay = shown ? 1 : 0;
  if (image) PlaceCanvasImage(image);
  InvalidateRect(Slot(canvas).window, nullptr, TRUE);
}

// After a change of side, scanner type or resolution.
void ShowConvertedImage() {
  ShowSheetImageSettings(g_workbenchState.resolutionCode);
  const int canvas = CanvasSlot();
  if (canvas >= 0) {
    g_sheetDefinition.sheetCode = g_workbenchState.side;
    RebuildWindowItems(canvas, 0);
    LoadLineDefinitions(canvas);
  }
  ShowCanvasImage(true);
}

void ShowSideChoice() { SetBenchField("RYOUMEN", g_workbenchState.side == "0002" ? "2" : "1"); }

// The lines drawn on a side in design are saved with that side before the
// other one is shown.
void SwitchSide(const char* side) {
  if (g_workbenchState.side == side) return;
  if (EndRuledLineEditing(CanvasSlot()) != 0) return;
  SelectWindowSlot(g_workbenchState.slot);
  g_workbenchState.side = side;
  g_sheetDefinition.sheetCode = side;
  LoadCurrentSheetPaper();
  ShowConvertedImage();
  ShowSideChoice();
}

// The back of a two-sided sheet starts with the front's paper settings.
void AddBackPaperRow() {
  bool found = false;
  const int back = OpenPaperRow(&found, "0002");
  if (back < 0) return;
  db_close(back);
  if (found) return;
  const int front = OpenPaperRow(&found, "0001");
  if (front < 0) return;
  if (found) {
    SetColumnText(front, "ＯＣＲコード", "0002");
    db_add(front);
  }
  db_close(front);
}

// A sheet read two pages a record shows which one is on the canvas and
// switches it: its sides, or its first and second sheet. A one-sided sheet
// has no switch.
void ShowSideSwitch() {
  const SheetSettings& s = g_sheetSettings;
  SelectWindowSlot(g_workbenchState.slot);
  const int state = s.scanType == kScanPaired ? kEnabled : kHidden;
  SetFieldItems("RYOUMEN", s.twoSheetSet ? "１枚目,２枚目" : "表面,裏面");
  SetFieldState("RYOUMEN", state);
  SetFieldState("RYOUTTL", state);
  ShowSideChoice();
  InvalidateRect(Slot(g_workbenchState.slot).window, nullptr, TRUE);
}

// Radio items send their command while the click that set them is handled:
// their choice is their value; a command sent otherwise carries the line of
// the pop-up.
int ClickedChoice(const char* name, int popupChoice) {
  if (!g_screen.clickInProgress) return popupChoice;
  char value[16] = "";
  GetItemRawValue(g_workbenchState.slot, name, value);
  return std::atoi(value);
}

bool SheetReady() {
  if (g_sheetSettings.sheetName.empty() && g_sheetDefinition.database.empty()) {
    ShowWorkbenchMessage(kCaption,
                         "メインメニューの「ＯＣＲシート定義」で、「ＯＣＲシート名」を設定してください。");
    return false;
  }
  return true;
}

// Counts the field rows of a side: -1 when they cannot be read.
int CountSideFields(const char* side) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kFieldRowTable, sheet.kind,
                           kSheetSpecSet, kFieldRowTable, "select * from MUPA_FLD where ＯＣＲコード=%s",
                           SqlLiteral(side).c_str());
  if (slot < 0) return -1;
  const int count = db_count(slot);
  db_close(slot);
  return count;
}

void StartReading(int subMode) {
  WorkbenchState& bench = g_workbenchState;
  if (!SheetReady()) return;
  g_logViewer.Close();
  if (LoadCurrentSheetPaper() != 0) return;
  const bool operation = g_currentSheet.projectMode == kOperationMode;
  if (subMode == kScanRun && g_sheetSettings.scanType == 0) {
    ShowWorkbenchMessage(kCaption, "画面右上のボタンで、「スキャナのタイプ」を選択してください。");
    return;
  }
  if (operation && g_sheetSettings.scanType == kScanPaired && bench.side == "0002") SwitchSide("0001");
  if (ValidateSheetFields() != 0) return;
  if (operation && g_sheetSettings.scanType == kScanPaired && !g_sheetSettings.twoSheetSet &&
      CountSideFields("0002") <= 0) {
    ShowWorkbenchMessage(kCaption, "シートの裏面が作成されていません。\n片面シートの場合は、画面右上のボタンで"
                                   "“ＡＤＦ”を選択してください。");
    return;
  }
  g_readingRun.dpi = bench.dpi;
  ReadRunDialog(subMode);
}

void DeleteLogs() {
  g_logViewer.Close();
  if (AskYesNo(kCaption, "エラーログファイルを削除してもよろしいですか？") != IDYES) return;
  const WorkbenchState& bench = g_workbenchState;
  for (const std::string* path : {&bench.errorLog, &bench.putLog, &bench.shiftLog}) {
    if (FileExists(path->c_str()) == 0) DeleteFileChecked(path->c_str());
  }
}

// Shown both as a button's caption (its pop-up) and as its field's text,
// which is what the bar shows.
void ShowScannerSetting(const char* name, const std::string& text) {
  SetFieldCaptionAndRepaint(name, text.c_str());
  SetBenchField(name, text);
}

// The scan type and, when the scanner shows no settings of its own, the
// brightness, as captions of their buttons.
void ShowScannerCaptions() {
  const SheetSettings& s = g_sheetSettings;
  const char* type = s.scanType == kScanFlatbed ? "フラットベッド"
                     : s.scanType == kScanFeeder ? "ＡＤＦ"
                     : s.scanType != kScanPaired ? ""
                     : s.twoSheetSet            ? "ＡＤＦ２枚１組"
                                                : "ＡＤＦ両面";
  ShowScannerSetting("SCNTYPE", type);
  SetFieldItems("PRINT", s.scanType == kScanPaired ? "片面のみ印刷,両面同時印刷" : "");
  if (s.scannerScreen == 2) ShowScannerSetting("BRIGHT", std::to_string(s.brightness));
}

// The scanners of the installation ("SCANERS" of the program folder) as
// the choices of the scanner button, the chosen one (スキャナＮｏ of the
// settings row) as its caption.
void ShowScanner() {
  std::string current;
  std::vector<std::string> names;
  if (LoadScannerList(GetProgramFolder().c_str(), &current, &names) != 0) return;
  std::string choices;
  for (const std::string& name : names) choices += (choices.empty() ? "" : ",") + name;
  SetFieldItems("SCANER", choices.c_str());
  const int number = g_workbenchState.scannerNumber;
  const bool listed = number >= 1 && number <= static_cast<int>(names.size());
  ShowScannerSetting("SCANER", listed ? names[number - 1] : current);
}

int ReadScannerNumber() {
  if (g_program.workFolder.empty()) return 0;
  const int t = OpenSettingsRow();
  if (t < 0) return 0;
  const int number = GetColumnInt(t, "スキャナＮｏ");
  db_close(t);
  return number;
}

// A line of the scanner list's pop-up is stored as the scanner's number;
// otherwise (the scanner key, or a list that offers no names) the operator
// chooses among the scanners installed, which becomes the list's current
// one.
void ChooseScanner(int choice) {
  std::string current;
  std::vector<std::string> names;
  LoadScannerList(GetProgramFolder().c_str(), &current, &names);
  if (choice < 1 || choice > static_cast<int>(names.size())) {
    if (SelectScanner(Slot(g_workbenchState.slot).window) == 0) ShowScanner();
    return;
  }
  if (g_program.workFolder.empty()) return;
  const int t = OpenSettingsRow();
  if (t < 0) return;
  SetColumnInt(t, "スキャナＮｏ", choice);
  const int stored = db_update(t);
  db_close(t);
  if (stored != 0) return;
  g_workbenchState.scannerNumber = choice;
  ShowScanner();
}

void ChooseScanType(int choice) {
  if (choice < 1 || choice > 4) return;
  StoreSheetSetting("予備１", choice);
  SwitchSide("0001");
  LoadCurrentSheetPaper();
  ShowScannerCaptions();
  ShowSideSwitch();
}

void ChooseBrightness(int choice) {
  if (choice < 1 || choice > 10) return;
  StoreSheetSetting("明るさ", choice);
  LoadCurrentSheetPaper();
  ShowScannerCaptions();
}

// Asks the main window to open one of its windows; says which is missing
// when none can.
void OpenInProgram(UINT message, WPARAM wParam, LPARAM lParam, NotBuilt window) {
  if (!g_screen.mainWindow || SendMessageA(g_screen.mainWindow, message, wParam, lParam) != 1) {
    ShowNotBuilt(window);
  }
}

// Blank sheets for the feeder: numbered when the sheet prints
// identification numbers on the side that carries them. A two-sided sheet
// prints one side (choice 1) or both (2); no choice, no printing.
void OpenSheetPrint(int choice) {
  if (!SheetReady() || LoadCurrentSheetPaper() != 0) return;
  const bool paired = g_sheetSettings.scanType == kScanPaired;
  if (paired && choice != 1 && choice != 2) return;
  const int sideChoice = paired ? choice : 0;
  if (ValidateSheetFields() != 0 || CheckHandwritingFontNeeded() != 0) return;
  const bool numbered = g_sheetSettings.preprint == 1 && (sideChoice == 2 || g_workbenchState.side == "0001");
  OpenInProgram(kMsgOpenSheetPrint, numbered ? 1 : 0, sideChoice, NotBuilt::kSheetPrint);
}

// The attribute button's grids, by its choice, and the question texts
// from the clipboard.
void OpenAttributeGrid(int choice) {
  switch (choice) {
    case 1: OpenOutputSettingsGrid(); return;
    case 2: OpenQuestionTextGrid(); return;
    case 3: OpenDescriptionTextGrid(); return;
    case 4: OpenEnclosureFrameGrid(); return;
    case 5: ImportClipboardQuestions(); return;
    default: return;
  }
}

void RunCommand(int command) {
  const int choice = GetLastPopupChoice();
  // The command speaks of the workbench's fields, whichever window the
  // sheet's canvas made current.
  SelectWindowSlot(g_workbenchState.slot);
  switch (command) {
    case kClose:
      SendMessageA(Slot(g_workbenchState.slot).window, kMsgCloseWindow, 0, 0);
      return;
    case kRead:
      StartReading(kScanRun);
      return;
    case kConvert:
      if (SheetReady() && ValidateSheetFields() == 0) ReadRunDialog(kStoredPageRun);
      return;
    case kLogs:
      if (choice == 2) {
        DeleteLogs();
      } else {
        g_logViewer.Toggle(g_workbenchState.errorLog);
      }
      return;
    case kReferenceMarks:
      if (choice == 2) {
        EraseReferenceMarks(g_workbenchState.resolutionCode);
      } else {
        RegisterReferenceMarks(g_workbenchState.resolutionCode, g_currentSheet.projectMode);
      }
      ShowMarkStatus();
      return;
    case kLeft: StepMargin(true, -1); return;
    case kRight: StepMargin(true, 1); return;
    case kUp: StepMargin(false, -1); return;
    case kDown: StepMargin(false, 1); return;
    case kWiderX: StepRatio(true, 1); return;
    case kNarrowerX: StepRatio(true, -1); return;
    case kTallerY: StepRatio(false, 1); return;
    case kShorterY: StepRatio(false, -1); return;
    case kImageView:
      // In the design of the sheet the button is 並び: the reorder grids.
      if (CanvasInDesign()) {
        if (choice == 1 || choice == 2) ReorderSheetFields(choice);
      } else {
        OpenImageCheckView();
      }
      return;
    case kImageShown:
      ShowCanvasImage(ClickedChoice("IMGDISP", choice) == 1);
      return;
    case kSideShown: {
      const int side = ClickedChoice("RYOUMEN", choice);
      if (side == 1 || side == 2) SwitchSide(side == 1 ? "0001" : "0002");
      ShowSideChoice();  // a side that could not be left stays chosen
      return;
    }
    case kGuideSnap:
      if (CanvasInDesign()) ToggleGuideSnap();
      return;
    case kScanner:
      ChooseScanner(choice);
      return;
    case kScanType:
      ChooseScanType(choice);
      return;
    case kBrightness:
      ChooseBrightness(choice);
      return;
    case kPrint:
      OpenSheetPrint(choice);
      return;
    case kDataClear:
      OpenInProgram(kMsgOpenDataClear, 0, 0, NotBuilt::kDataClear);
      return;
    case kCardScreen:
      if (g_currentSheet.projectMode == kOperationMode) {
        OpenAttributeGrid(choice);
        return;
      }
      [[fallthrough]];
    case kListScreen: {
      const bool card = command == kCardScreen;
      OpenInProgram(kMsgOpenEntryScreen, card ? 2 : 1, 0, card ? NotBuilt::kCardScreen : NotBuilt::kListScreen);
      return;
    }
    case kFormatEdit: ToggleFormatEditing(); return;
    case kMoveFields:
      if (choice == 1 || choice == 2) OpenMoveFieldsGrid(choice);
      return;
    case kFieldGrid:
      if (choice == 1) OpenWriteInFieldGrid();
      if (choice == 2) OpenTextItemGrid();
      return;
    case kCheckGrid:
      if (SheetReady()) OpenCheckFieldGrid(g_currentSheet.canvasSlot);
      return;
    case kFieldPrint:
      if (SheetReady() && LoadCurrentSheetPaper() == 0 && ShowFieldSummary() == 0) {
        OpenInProgram(kMsgOpenFieldListPrint, 0, 0, NotBuilt::kFieldPrint);
      }
      return;
    default:
      ApplyPendingFocus();
      return;
  }
}

// The rulers above and left of the canvas, along its scrolled sheet.
void PaintCanvasRulers(HWND window) {
  const int canvas = CanvasSlot();
  if (canvas < 0) return;
  const HWND canvasWindow = Slot(canvas).window;
  RECT top, left;
  if (!CanvasRulerStrips(canvasWindow, &top, &left)) return;
  const POINT scroll = CanvasScroll(canvasWindow);
  HDC dc = GetDC(window);
  DrawSheetRuler(dc, true, top, CanvasRulerStep(), scroll.x);
  DrawSheetRuler(dc, false, left, CanvasRulerStep(), scroll.y);
  ReleaseDC(window, dc);
}

void OpenWorkbench(int slot) {
  WorkbenchState& bench = g_workbenchState;
  bench = WorkbenchState();
  bench.slot = slot;
  bench.screenNumber = Slot(slot).windowCode;
  bench.owner = Slot(slot).owner ? Slot(slot).owner : g_screen.mainWindow;
  SetWorkbenchWindow(Slot(slot).window);
  SelectWindowSlot(slot);
  if (bench.owner) {
    EnableWindow(bench.owner, FALSE);
    SendMessageA(bench.owner, kMsgFillScreen, bench.screenNumber, 0);
  }
  if (g_screen.mainWindow) ShowWindow(g_screen.mainWindow, SW_HIDE);

  g_sheetDefinition.sheetCode = bench.side;
  LoadCurrentSheetPaper();
  SizeSheetCanvas();  // the sheet's canvas opens after the workbench
  CarryOverOldMarkTable();
  const std::string dpi = ReadUserIniValue("DPI");
  bench.resolutionCode = ResolutionCodeOfDpiSetting(std::atoi(dpi.c_str()));
  g_readingPlaces.replacements = ReadUserIniValue("CHARCHG");
  g_readingPlaces.cutImageFolder = ReadUserIniValue("CUTIMGPATH");
  bench.errorLog = DefinitionLogPath(g_currentSheet.logFolder, "_ERR.LOG");
  bench.putLog = DefinitionLogPath(g_currentSheet.logFolder, "_PUT.LOG");
  bench.shiftLog = DefinitionLogPath(g_currentSheet.logFolder, "_HOS.LOG");
  ShowSheetImageSettings(bench.resolutionCode);
  SelectWindowSlot(slot);
  UpdateSnapButtonGuide();
  if (g_sheetSettings.scanType == kScanPaired) AddBackPaperRow();
  ShowSideSwitch();
  bench.scannerNumber = ReadScannerNumber();
  ShowScanner();
  ShowScannerCaptions();
  ShowBenchMessage(FeederWaitingText());
  if (g_sheetSettings.noiseSize <= 3 && g_sheetSettings.int8 == 2) {
    ShowBenchMessage("【記入欄罫線】が“太い”に設定されていますので、【除去するノイズサイズ】は“0.8mm”以上に"
                     "設定してください。");
  }
  ShowRecordCount();
  // The window was shown (and painted empty) before its slot was known.
  InvalidateRect(Slot(slot).window, nullptr, TRUE);
}

void CloseWorkbench() {
  const WorkbenchState closing = g_workbenchState;
  if (!IsValidSlot(closing.slot)) return;
  const int canvas = CanvasSlot();
  if (canvas >= 0) {
    const HWND window = Slot(canvas).window;
    SendMessageA(window, kMsgCloseWindow, 0, 0);
    ShowWindow(window, SW_HIDE);
  }
  g_workbenchState = WorkbenchState();
  CloseScanner();
  NotifyMainWindow();  // a warning of the sheet's margins goes with it
  g_sheetDefinition.sheetCode = "0001";
  for (const char* name : {"CONV1_200.BMP", "CONV2_200.BMP", "CONV_200.BMP"}) {
    const std::string path = g_readingPlaces.imageFolder + "\\" + name;
    FreeCachedImage(path.c_str());
    if (FileExists(path.c_str()) == 0) DeleteFileA(path.c_str());
  }
  if (g_screen.mainWindow) ShowWindow(g_screen.mainWindow, SW_SHOW);
  if (closing.owner) EnableWindow(closing.owner, TRUE);
  CloseScreenWindow(closing.slot, 1);
  SetWorkbenchWindow(nullptr);
  if (closing.owner) SendMessageA(closing.owner, kMsgScreenClosed, closing.screenNumber, 0);
}

}  // namespace

void ShowSheetSideAfterDrop() {
  if (g_currentSheet.projectMode == kOperationMode) {
    SwitchSide("0002");
  } else if (g_readingRun.subMode == kAlignOnlyRun) {
    SwitchSide("0001");
    ShowConvertedImage();
  }
}

std::string DefinitionLogPath(const std::string& folder, const char* suffix) {
  std::vector<char> base(g_sheetDefinition.database.size() + 1);
  GetFileBaseName(base.data(), g_sheetDefinition.database.c_str());
  return folder + "\\" + base.data() + suffix;
}

std::string ConvertedImagePath() {
  const WorkbenchState& bench = g_workbenchState;
  char path[MAX_PATH];
  if (g_sheetSettings.scanType == kScanPaired) {
    std::snprintf(path, sizeof path, "%s\\CONV%d_%d.BMP", g_readingPlaces.imageFolder.c_str(),
                  bench.side == "0002" ? 2 : 1, bench.dpi);
  } else {
    std::snprintf(path, sizeof path, "%s\\CONV_%d.BMP", g_readingPlaces.imageFolder.c_str(), bench.dpi);
  }
  return path;
}

void ShowSheetImageSettings(int resolutionCode) {
  WorkbenchState& bench = g_workbenchState;
  bench.resolutionCode = resolutionCode;
  bench.dpi = DpiOfResolutionCode(resolutionCode);
  bool found = false;
  double storedX = 0, storedY = 0;
  const int paper = OpenPaperRow(&found);
  if (paper > 0) {
    if (found) {
      storedX = GetColumnDoubleIdx(paper, "イメージ割合", resolutionCode);
      storedY = GetColumnDoubleIdx(paper, "イメージ割合", resolutionCode + 10);
      bench.leftMargin = GetColumnInt(paper, "横シフト");
      bench.topMargin = GetColumnInt(paper, "縦シフト");
    }
    db_close(paper);
  }
  bench.paperRowFound = found;
  bench.ratioX = StoredRatioHundredths(storedX, bench.dpi);
  bench.ratioY = StoredRatioHundredths(storedY, bench.dpi);
  ShowMargins();
  ShowRatios();
  ShowMarkStatus();
}

void StoreSheetSetting(const char* column, int value) {
  bool found = false;
  const int paper = OpenPaperRow(&found, "0001");
  if (paper < 0) return;
  if (found) {
    SetColumnInt(paper, column, value);
    db_update(paper);
  }
  db_close(paper);
}

void ShowRecordCount() {
  const int bench = g_workbenchState.slot;
  if (!IsValidSlot(bench) || ResolveFieldRef(bench, "RECCNT") < 0) return;
  const CurrentSheet& sheet = g_currentSheet;
  std::string text;
  const std::string& table = g_sheetSettings.outputTable;
  const int t = table.empty() ? -1
                              : db_open_nocreate(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(),
                                                 table.c_str(), sheet.outputKind, "", "", "");
  if (t >= 0) {
    const int count = db_count(t);
    if (count > 0) text = "(登録件数：" + std::to_string(count) + ")";
    db_close(t);
  }
  SetItemValueForCommand(bench, "RECCNT", text.c_str());
}

LRESULT CALLBACK SheetWorkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScreenChildWndProc(window, message, wParam, lParam);
  LRESULT gridResult = 0;
  if (HandleGridNotice(message, wParam, lParam, &gridResult)) return gridResult;
  switch (message) {
    case kMsgSlotOpened:
      OpenWorkbench(static_cast<int>(wParam));
      return 0;
    case WM_PAINT:
      if (PaintSlotWindow(window, g_workbenchState.slot)) {
        PaintCanvasRulers(window);
        return 0;
      }
      break;
    case kMsgScreenCommand: {
      const int command = static_cast<int>(wParam);
      if (g_workbenchState.owner) {
        SendMessageA(g_workbenchState.owner, kMsgFieldMessage, g_workbenchState.screenNumber, 0);
      }
      if (command != kRead) ShowBenchMessage("");
      RunCommand(command);
      return 0;
    }
    case WM_CLOSE:
    case kMsgCloseWindow:
      CloseWorkbench();
      return 0;
    case WM_QUERYOPEN: {
      const int canvas = CanvasSlot();
      if (canvas >= 0) ShowWindow(Slot(canvas).window, SW_SHOW);
      return TRUE;
    }
    case WM_RBUTTONDOWN:
      if (g_screen.mainWindow) SendMessageA(g_screen.mainWindow, kMsgRightButton, g_workbenchState.screenNumber, 0);
      return 0;
    case kMsgFieldChosen: {
      if (g_workbenchState.owner) {
        SendMessageA(g_workbenchState.owner, kMsgFieldMessage, g_workbenchState.screenNumber, 0);
      }
      // The scanner's fields are chosen from their pop-ups: the line
      // chosen is the command's.
      const int command = static_cast<int>(wParam);
      if (command == kScanner || command == kScanType || command == kBrightness) {
        ShowBenchMessage("");
        RunCommand(command);
      }
      return 0;
    }
    case kMsgHeaderMenu:
      if (g_screen.mainWindow) return SendMessageA(g_screen.mainWindow, message, wParam, lParam);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
