// The workbench window "KQE_READ" and the reading run's other windows as
// start-up makes them. The workbench takes its slot like every screen
// window: the owner is disabled and the main window hidden while it is
// open; closing it closes the sheet canvas opened inside it, shows the main
// window again and tells the owner (1136 with the screen number).
#include "reading/workbench.h"

#include "screen/screen.h"

namespace {

constexpr UINT kMsgFillScreen = WM_USER + 111;    // 1135
constexpr UINT kMsgScreenClosed = WM_USER + 112;  // 1136
constexpr int kWorkbenchIcon = 102;

struct Workbench {
  int slot = -1;
  HWND owner = nullptr;
  int screenNumber = 0;
};
Workbench g_bench;

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

void TakeSlot(int slot) {
  g_bench.slot = slot;
  g_bench.screenNumber = Slot(slot).windowCode;
  g_bench.owner = Slot(slot).owner ? Slot(slot).owner : g_screen.mainWindow;
  SelectWindowSlot(slot);
  if (g_bench.owner) {
    EnableWindow(g_bench.owner, FALSE);
    SendMessageA(g_bench.owner, kMsgFillScreen, g_bench.screenNumber, 0);
  }
  if (g_screen.mainWindow) ShowWindow(g_screen.mainWindow, SW_HIDE);
  // The window was shown (and painted empty) before its slot was known.
  InvalidateRect(Slot(slot).window, nullptr, TRUE);
}

void CloseWorkbench() {
  if (!IsValidSlot(g_bench.slot)) return;
  const int canvas = CanvasSlot();
  if (canvas >= 0) {
    const HWND window = Slot(canvas).window;
    CloseScreenWindow(canvas, 0);
    ShowWindow(window, SW_HIDE);
  }
  const Workbench closing = g_bench;
  g_bench = Workbench();
  if (g_screen.mainWindow) ShowWindow(g_screen.mainWindow, SW_SHOW);
  if (closing.owner) EnableWindow(closing.owner, TRUE);
  CloseScreenWindow(closing.slot, 1);
  if (closing.owner) SendMessageA(closing.owner, kMsgScreenClosed, closing.screenNumber, 0);
}

}  // namespace

LRESULT CALLBACK SheetWorkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScreenChildWndProc(window, message, wParam, lParam);
  switch (message) {
    case kMsgSlotOpened:
      TakeSlot(static_cast<int>(wParam));
      return 0;
    case WM_PAINT:
      if (PaintSlotWindow(window, g_bench.slot)) return 0;
      break;
    case kMsgScreenCommand:
      if (g_bench.owner) SendMessageA(g_bench.owner, kMsgFieldMessage, g_bench.screenNumber, 0);
      if (wParam == static_cast<WPARAM>(kKeyEscape)) CloseWorkbench();
      return 0;
    case WM_CLOSE:
    case kMsgCloseWindow:
      CloseWorkbench();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND RegisterSheetWorkWindow(HWND) {
  return CreateHiddenWindow({"KQE_READ", SheetWorkWindowProc, CS_HREDRAW | CS_VREDRAW,
                             WS_POPUPWINDOW | WS_DLGFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0,
                             LTGRAY_BRUSH, kWorkbenchIcon});
}

HWND RegisterReadRunWindow() {
  return CreateHiddenWindow({"Def", DefWindowProcA, CS_HREDRAW | CS_VREDRAW, WS_POPUPWINDOW | WS_DLGFRAME});
}

HWND RegisterFrameViewWindow(HWND) {
  return CreateHiddenWindow({"WITHFRAME", DefWindowProcA, CS_HREDRAW | CS_VREDRAW, WS_POPUP | WS_DLGFRAME,
                             WS_EX_TOPMOST});
}

HWND RegisterImageViewWindow(HWND) {
  return CreateHiddenWindow({"WITHIMAGE", DefWindowProcA, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                             WS_POPUP | WS_HSCROLL | WS_VSCROLL, 0, WHITE_BRUSH});
}
