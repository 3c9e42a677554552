// The OCR-sheet printing window as start-up makes it: a topmost captioned
// pop-up, hidden, with the default handling until its screen is built.
#include "tally/work_windows.h"

#include "screen/screen.h"

HWND RegisterPrintSheetWindow() {
  return CreateHiddenWindow({"PrnSheet", DefWindowProcA, CS_HREDRAW | CS_VREDRAW, WS_POPUP | WS_CAPTION,
                             WS_EX_TOPMOST});
}
