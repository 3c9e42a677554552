// The 24 hidden work windows of the program, each made by the registration
// function of the subsystem it belongs to, in the order start-up creates
// them, and destroyed at shutdown in an order of its own.
#include <windows.h>

#include <cstring>

#include "designer/designer.h"
#include "entry/entry.h"
#include "reading/reading.h"
#include "reading/workbench.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tally/tally.h"
#include "tally/work_windows.h"

SideWindows g_sideWindows;

namespace {

// Kinds 1 and 2 of the program make the sheet field editor's kind 3.
void SetDerivedProgramKind() {
  g_program.derivedKind = g_program.programKind == 1 || g_program.programKind == 2 ? 3 : 9;
}

HWND CreateCardWindow(HWND mainWindow) {
  SetDerivedProgramKind();
  return RegisterCardWindow(mainWindow);
}

// The reading run writes a missing description of its output table as the
// entry screens write it.
HWND CreateReadRunWindow(HWND) {
  SetOutputDescriptionWriter(WriteTableSpecFile);
  return RegisterReadRunWindow();
}

// Registrations that take no window, in the form of the table.
template <HWND (*Register)()>
HWND Unowned(HWND) {
  return Register();
}

}  // namespace

std::vector<WorkWindowEntry> g_workWindows = {
    {"Men", RegisterMenuWindow, nullptr},
    {"Sel", RegisterSelWindow, nullptr},
    {"Lst", RegisterListWindow, nullptr},
    {"Prn", Unowned<RegisterPrintSettingsClass>, nullptr},
    {"Sup", RegisterSupWindow, nullptr},
    {"Ctr", RegisterCtrWindow, nullptr},
    {"OcrSet", Unowned<RegisterSheetSettingsWindow>, nullptr},
    {"JobWin", RegisterJobWindow, nullptr},
    {"Sch", Unowned<RegisterSearchWindow>, nullptr},
    {"KQE_READ", RegisterSheetWorkWindow, nullptr},
    {"Ocr", RegisterSheetCanvasWindow, nullptr},
    {"Def", CreateReadRunWindow, nullptr},
    {"ScrSet", Unowned<RegisterScreenSetWindow>, nullptr},
    {"PrnSheet", Unowned<RegisterPrintSheetWindow>, nullptr},
    {"WITHFRAME", RegisterFrameViewWindow, nullptr},
    {"WITHIMAGE", RegisterImageViewWindow, nullptr},
    {"CsvInp", Unowned<RegisterCsvInputWindow>, nullptr},
    {"Medit", Unowned<RegisterMeditWindow>, nullptr},
    {"Hosei", Unowned<RegisterHoseiWindow>, nullptr},
    {"Pln", RegisterPlnWindow, nullptr},
    {"IdxCtrl", Unowned<RegisterIdxCtrlWindow>, nullptr},
    {"Messgwnd", Unowned<RegisterMessgwndWindow>, nullptr},
    {"Clip", Unowned<RegisterClipWindow>, nullptr},
    {"Cad", CreateCardWindow, nullptr},
};

const std::vector<const char*>& WorkWindowDestroyOrder() {
  static const std::vector<const char*> order = {
      "Men",    "Sel",      "Lst",  "Prn", "Cad",    "Sup",     "Ctr",  "OcrSet",     "JobWin",
      "Sch",    "KQE_READ", "Ocr",  "Def", "ScrSet", "Hosei",   "Pln",       "PrnSheet",
      "IdxCtrl", "WITHFRAME", "WITHIMAGE", "CsvInp", "Medit", "Messgwnd", "Clip"};
  return order;
}

void CreateWorkWindows(HWND mainWindow) {
  for (WorkWindowEntry& entry : g_workWindows) entry.window = entry.create(mainWindow);
}

void DestroyWorkWindows() {
  for (const char* name : WorkWindowDestroyOrder()) {
    for (WorkWindowEntry& entry : g_workWindows) {
      if (std::strcmp(entry.className, name) != 0) continue;
      if (entry.window && IsWindow(entry.window)) DestroyWindow(entry.window);
      entry.window = nullptr;
    }
  }
}

void OpenSideScreen(HWND window, HWND* previous, int x, int y, int width, int height, int screenNumber,
                    int inputMode, const char* title) {
  *previous = GetActiveWindow();
  if (*previous) EnableWindow(*previous, FALSE);
  if (OpenScreenWindow(window, x, y, width, height, 0, screenNumber, inputMode, 1, 0, title) != 0 && *previous) {
    EnableWindow(*previous, TRUE);
  }
}
