// The designer's windows as start-up makes them: classes registered with
// their styles and hidden windows of size 0 x 0. The canvas paints the
// slot it is bound to and opens its menus; the windows without forms of
// their own yet keep the default handling.
#include "designer/designer.h"
#include "designer/canvas_menu.h"
#include "designer/field_editor.h"
#include "designer/item_dragging.h"

#include "screen/screen.h"

namespace {

constexpr UINT kRedraw = CS_HREDRAW | CS_VREDRAW;

// The window slot the canvas is bound to, or -1.
int CanvasSlot(HWND window) {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).state != kFreeSlotState && Slot(s).window == window) return s;
  }
  return -1;
}

}  // namespace

LRESULT CALLBACK SheetCanvasWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScreenChildWndProc(window, message, wParam, lParam);
  if (message == WM_PAINT && PaintSlotWindow(window, CanvasSlot(window))) return 0;
  if (message == WM_RBUTTONDOWN) {
    ShowSheetDesignMenu(CanvasSlot(window), static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    return 0;
  }
  if (message == WM_DROPFILES) {
    PlaceDroppedFiles(CanvasSlot(window), reinterpret_cast<HDROP>(wParam));
    return 0;
  }
  if (message == kMsgHeaderMenu) {
    RunSheetMenuChoice(static_cast<int>(lParam));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND RegisterCtrWindow(HWND) {
  return CreateHiddenWindow({"Ctr", DefWindowProcA, kRedraw, WS_POPUPWINDOW | WS_DLGFRAME});
}

HWND RegisterSheetCanvasWindow(HWND) {
  InstallDesignModeCalls();
  return CreateHiddenWindow({"Ocr", SheetCanvasWindowProc, kRedraw | CS_DBLCLKS,
                             WS_POPUP | WS_VSCROLL | WS_HSCROLL, WS_EX_ACCEPTFILES, WHITE_BRUSH});
}

HWND RegisterCsvInputWindow() {
  return CreateHiddenWindow({"CsvInp", DefWindowProcA, kRedraw, WS_POPUPWINDOW | WS_DLGFRAME});
}

HWND RegisterClipWindow() {
  return CreateHiddenWindow({"Clip", DefWindowProcA, kRedraw, WS_POPUPWINDOW | WS_DLGFRAME});
}
