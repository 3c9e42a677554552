// The designer's windows as start-up makes them: classes registered with
// their styles and hidden windows of size 0 x 0. The canvas has its own
// procedure (sheet_canvas.cpp); the windows without forms of their own yet
// keep the default handling.
#include "designer/designer.h"
#include "designer/item_dragging.h"

#include "screen/screen.h"

namespace {

constexpr UINT kRedraw = CS_HREDRAW | CS_VREDRAW;

}  // namespace

HWND RegisterCtrWindow(HWND) {
  return CreateHiddenWindow({"Ctr", DefWindowProcA, kRedraw, WS_POPUPWINDOW | WS_DLGFRAME});
}

HWND RegisterSheetCanvasWindow(HWND) {
  InstallDesignModeCalls();
  return CreateHiddenWindow({"Ocr", SheetCanvasWindowProc, kRedraw | CS_DBLCLKS,
                             WS_POPUP | WS_VSCROLL | WS_HSCROLL, WS_EX_ACCEPTFILES, WHITE_BRUSH});
}

