// The windows of scanning and reading that start-up makes: the OCR-sheet
// workbench "KQE_READ" (its button bar and the sheet canvas inside it), the
// reading-run dialog "Def", the frame view "WITHFRAME" and the image view
// "WITHIMAGE". Each registration returns the hidden window, or null when
// its class cannot be registered.
//
// Global state: g_workbenchState, the one open workbench (workbench.cpp).
// GUI thread only; functions return 0, or -1 after the one message that
// reports a failure.
#pragma once

#include <windows.h>

#include <string>

HWND RegisterSheetWorkWindow(HWND parent);
HWND RegisterReadRunWindow();
HWND RegisterFrameViewWindow(HWND parent);
HWND RegisterImageViewWindow(HWND parent);

LRESULT CALLBACK SheetWorkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ReadRunWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FrameViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ImageViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// What the workbench holds while it is open; reset at each opening.
struct WorkbenchState {
  int slot = -1;              // the button bar's window slot
  HWND owner = nullptr;
  int screenNumber = 0;
  std::string side = "0001";  // the sheet side shown
  int resolutionCode = 1;     // 1 = 200, 2 = 300, 3 = 400 dpi
  int dpi = 200;
  int leftMargin = 0, topMargin = 0;  // 横シフト, 縦シフト in pixels
  int ratioX = 0, ratioY = 0;         // stored grid ratios, in hundredths
  bool paperRowFound = false;         // the side has its MUPA_PAP row
  std::string errorLog, putLog, shiftLog;  // the run logs of the sheet
  int scannerNumber = 0;
};
extern WorkbenchState g_workbenchState;

// A log of the sheet definition in a folder: "<folder>\<base name of the
// definition database><suffix>".
std::string DefinitionLogPath(const std::string& folder, const char* suffix);
// The converted page of the side shown, at the workbench's resolution.
std::string ConvertedImagePath();
// Loads the ratios and margins of the side shown at a resolution into the
// workbench and its fields, and shows whether marks are registered.
void ShowSheetImageSettings(int resolutionCode);
// Stores a whole-number setting of the sheet (its MUPA_PAP row "0001").
void StoreSheetSetting(const char* column, int value);
// The records stored in the output table, "(登録件数：n)" in the workbench's
// field RECCNT (an operation workbench with its card or list buttons has
// it); empty when the table is missing or holds none.
void ShowRecordCount();

// The windows some buttons open belong to the layers above reading: the
// workbench sends these to the main window, which opens them and returns 1
// (a window that does not know them returns 0: the workbench then says the
// function is missing).
// Sheet printing: wParam 1 numbered sheets, 0 plain; lParam the side
// choice (1 one side, 2 both sides, 0 a one-sided sheet).
constexpr UINT kMsgOpenSheetPrint = WM_USER + 190;  // 1214
// The data-clearing window.
constexpr UINT kMsgOpenDataClear = WM_USER + 191;  // 1215
// The list (wParam 1) or card (2) entry screen of the sheet, through the
// screen-set window.
constexpr UINT kMsgOpenEntryScreen = WM_USER + 192;  // 1216
// The print settings of the field list, once ShowFieldSummary has
// gathered the summary of both sides.
constexpr UINT kMsgOpenFieldListPrint = WM_USER + 193;  // 1217
// The design of the sheet ended on the workbench: its entry screens are
// checked against the sheet (the main window says when one must be built
// again).
constexpr UINT kMsgCheckEntryScreens = WM_USER + 194;  // 1218

// After images dropped on the canvas were read as a two-sided sheet: the
// design shows the converted front, the operation the back.
void ShowSheetSideAfterDrop();

// The workbench's modes (workbench_modes.cpp): the buttons of the image
// display (1) or of the design (3); the entry screens' buttons, hidden when
// more than one key item is a field of the sheet; the switch into and out
// of showing the read image.
void SetWorkbenchButtonStates(int state);
void SetEntryViewButtonsState();
void EnterImageDisplayMode();
void LeaveImageDisplayMode();
// 編集: the sheet's design begins or ends on the canvas, as its menu's
// first and last lines do. Leaving it, the main window checks the entry
// screens made from the sheet against what the design changed.
void ToggleFormatEditing();
// Hands the sheet canvas the reading layer's calls.
void InstallWorkbenchCanvasCalls();

// The reading-run dialog "Def" for a sub-mode of the run (1 scan, 2 stored
// page, 3 default values only). 0, or -1 when it could not open.
int ReadRunDialog(int subMode);
// Before an entry screen of the sheet opens: when the sheet asks values of
// key items before reading, the dialog in its sub-mode 3 asks them; "実 行"
// stores them (and as the defaults of the fields of screen `screenCode`)
// and then calls `openScreen`, "ｷｬﾝｾﾙ" opens nothing. False when the sheet
// asks no values or the dialog cannot open (nothing opened).
bool AskFieldDefaults(const std::string& screenCode, void (*openScreen)());
// The image check view over the workbench. 0, or -1 (reported).
int OpenImageCheckView();

struct ScreenDataSet;
// When the sheet prints identification numbers: the groups of records of
// the list's table that share one go into "<definition>_ID.LOG" of the log
// folder (written anew), and the operator is asked to look at them in
// Notepad. The number of groups (0 when the sheet prints no numbers), or -1
// when the table or the log could not be used (reported).
int CheckDuplicateIds(const ScreenDataSet& list, const std::string& logFolder);
