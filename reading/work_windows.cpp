// The reading road's windows as start-up makes them: hidden until a screen
// opens in them.
#include "reading/workbench.h"

#include "screen/screen.h"

namespace {

constexpr int kWorkbenchIcon = 102;

}  // namespace

HWND RegisterSheetWorkWindow(HWND) {
  InstallWorkbenchCanvasCalls();
  return CreateHiddenWindow({"KQE_READ", SheetWorkWindowProc, CS_HREDRAW | CS_VREDRAW,
                             WS_POPUPWINDOW | WS_DLGFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0,
                             LTGRAY_BRUSH, kWorkbenchIcon});
}

HWND RegisterFrameViewWindow(HWND) {
  return CreateHiddenWindow({"WITHFRAME", FrameViewWindowProc, CS_HREDRAW | CS_VREDRAW, WS_POPUP | WS_DLGFRAME,
                             WS_EX_TOPMOST, LTGRAY_BRUSH, kWorkbenchIcon});
}

HWND RegisterImageViewWindow(HWND) {
  return CreateHiddenWindow({"WITHIMAGE", ImageViewWindowProc, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                             WS_POPUP | WS_HSCROLL | WS_VSCROLL, 0, WHITE_BRUSH});
}
