// The OCR-sheet printing window as start-up makes it: a topmost captioned
// pop-up, hidden until the sheet print screen opens in it.
#include "tally/work_windows.h"

#include "screen/screen.h"
#include "tally/sheet_printing.h"

HWND RegisterPrintSheetWindow() {
  g_sheetPrintWindow.window = CreateHiddenWindow(
      {"PrnSheet", PrintSheetWindowProc, CS_HREDRAW | CS_VREDRAW, WS_POPUP | WS_CAPTION, WS_EX_TOPMOST});
  return g_sheetPrintWindow.window;
}
