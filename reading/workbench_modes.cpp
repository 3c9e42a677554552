// The workbench between designing the sheet and showing its read image:
// which buttons each offers, the 編集 button that switches, and the calls
// the sheet canvas makes into the reading layer (dropped images, cleared
// results, the switch of modes).
#include <string>

#include "designer/sheet_canvas.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "reading/reading.h"
#include "reading/workbench.h"
#include "screen/screen.h"

namespace {

constexpr int kEnabled = 1, kProtected = 2, kHidden = 3;
constexpr int kImageDisplay = 1, kDesign = 3;

// The key items that are plain fields of the sheet.
int KeyFieldsOnSheet() {
  int count = 0;
  for (const SheetKeyItem& key : g_sheetKeys.items) count += key.onSheet ? 1 : 0;
  return count;
}

// A field of the bar's right side with its name to the left of it.
void SetLabelledFieldState(const char* name, int state) {
  SetFieldState(name, state);
  SetFieldState((std::string(name) + "TTL").c_str(), state);
}

}  // namespace

void SetEntryViewButtonsState() {
  const int state = KeyFieldsOnSheet() > 1 ? kHidden : kEnabled;
  SetFieldState("CARDINP", state);
  SetFieldState("LISTINP", state);
}

void SetWorkbenchButtonStates(int state) {
  if (!IsValidSlot(g_workbenchState.slot)) return;
  SelectWindowSlot(g_workbenchState.slot);
  const bool imageDisplay = state == kImageDisplay;
  SetLabelledFieldState("SCANER", state);
  for (const char* name : {"WITHIMG", "PRINT", "OCRREAD", "LOGDSP", "IMGCHR", "CARDINP", "LISTINP",
                           "DELTBL", "LT", "RT", "UP", "DW", "MAGNI1", "REDUCT1", "MAGNI2", "REDUCT2"}) {
    SetFieldState(name, state);
  }
  SetFieldState("位置記憶", imageDisplay ? kProtected : kHidden);
  SetFieldState("OCRFORM", !imageDisplay                         ? state
                           : g_sheetSettings.compensationMode != 0 ? kEnabled
                                                                   : kProtected);
  SetLabelledFieldState("SCNTYPE", state);
  // A scanner with a settings screen of its own sets its brightness there.
  SetLabelledFieldState("BRIGHT", g_sheetSettings.scannerScreen == 1 ? kHidden : state);
  if (g_currentSheet.projectMode == kDesignMode && GetOcrIniSettings().entryFlag == 1) {
    SetFieldState("OCRJYOK", state);
  }
  const int designOnly = state == kDesign ? kEnabled : kHidden;
  if (g_sheetSettings.scanType == kScanPaired) SetFieldState("FLDIDOU", designOnly);
  for (const char* name : {"CHKLIST", "KNARABI", "KINPRIN"}) SetFieldState(name, designOnly);
  SetFieldState("スナップ", state == kDesign ? kEnabled : kHidden);
  SetFieldState("EDITMSG", state == kDesign ? kProtected : kHidden);
  // The ratios are shown, never typed.
  SetFieldState("IMGRATE1", imageDisplay ? kProtected : kHidden);
  SetFieldState("IMGRATE2", imageDisplay ? kProtected : kHidden);
}

void EnterImageDisplayMode() {
  const int canvas = g_currentSheet.canvasSlot;
  if (IsValidSlot(canvas)) SelectWindowSlot(canvas);
  LoadSheetKeyItems();
  if (!IsValidSlot(g_workbenchState.slot)) return;
  SelectWindowSlot(g_workbenchState.slot);
  SetEntryViewButtonsState();
  SetFieldState("IMGDISP", kHidden);
  SetWorkbenchButtonStates(kImageDisplay);
  InvalidateRect(Slot(g_workbenchState.slot).window, nullptr, TRUE);
  RepaintSheetCanvas();
}

void LeaveImageDisplayMode() {
  if (IsValidSlot(g_workbenchState.slot)) {
    SelectWindowSlot(g_workbenchState.slot);
    SetFieldState("IMGDISP", kEnabled);
    SetWorkbenchButtonStates(kDesign);
    SetItemValueForCommand(g_workbenchState.slot, "EDITMSG",
                           "[Shift]＋[矢印キー]＝シート全体を１mm単位で移動(シフト)します");
    InvalidateRect(Slot(g_workbenchState.slot).window, nullptr, TRUE);
  }
  const int canvas = g_currentSheet.canvasSlot;
  if (IsValidSlot(canvas)) SelectWindowSlot(canvas);
  RepaintSheetCanvas();
}

void ToggleFormatEditing() {
  const int canvas = g_currentSheet.canvasSlot;
  if (!IsValidSlot(canvas)) return;
  if (!Slot(canvas).lineEditMode) {
    EnterSheetDesign(canvas);
    return;
  }
  LeaveSheetDesign(canvas);
  if (g_screen.mainWindow) SendMessageA(g_screen.mainWindow, kMsgCheckEntryScreens, 0, 0);
}

void InstallWorkbenchCanvasCalls() {
  CanvasReadingCalls calls;
  calls.clearFieldResults = ClearFieldResults;
  calls.readDroppedImages = ReadDroppedImages;
  calls.enterImageDisplay = EnterImageDisplayMode;
  calls.leaveImageDisplay = LeaveImageDisplayMode;
  InstallCanvasReadingCalls(calls);
}
