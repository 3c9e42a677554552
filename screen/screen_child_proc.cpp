// The message handling every screen window's procedure hands over: mouse
// clicks and moves on items, the hover tip on the slot's timer, and the
// choice of the current slot when a window gets the focus.
#include "screen/screen.h"

LRESULT ScreenChildWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool mouse =
      message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_MOUSEMOVE;
  int windowSlot = -1;
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).window == window && Slot(s).state != kFreeSlotState) windowSlot = s;
  }
  if (mouse) {
    // The mouse acts on the screen it is over, at the point of its message.
    if (windowSlot >= 0) g_screen.currentSlot = windowSlot;
    g_screen.mouseMessageWindow = window;
    g_screen.mouseMessagePoint = POINT{static_cast<short>(LOWORD(lParam)),
                                       static_cast<short>(HIWORD(lParam))};
  }
  switch (message) {
    case WM_LBUTTONDOWN: HandleItemClick(); break;
    case WM_LBUTTONUP: HitTestItemAtMouse(); break;
    case WM_MOUSEMOVE: {
      TrackMouseOnItems();
      TRACKMOUSEEVENT leave{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
      TrackMouseEvent(&leave);
      break;
    }
    case WM_MOUSELEAVE:
      if (windowSlot == g_screen.currentSlot) g_screen.hoverItem = -1;
      HideSlotHintBox(windowSlot);
      break;
    case WM_SETFOCUS: SelectActiveWindowSlot(); break;
    case WM_TIMER:
      // The tip belongs to the window the mouse is over: another window's
      // timer hides its own.
      if (windowSlot == g_screen.currentSlot) {
        ShowItemHintBox();
      } else {
        HideSlotHintBox(windowSlot);
      }
      break;
    case WM_SIZE:
    case WM_MOVE: UpdateWindow(window); break;
    default: break;
  }
  if (mouse) g_screen.mouseMessageWindow = nullptr;
  return 0;
}
