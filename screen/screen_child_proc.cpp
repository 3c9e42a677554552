// The message handling every screen window's procedure hands over: mouse
// clicks and moves on items, the hover tip on the slot's timer, and the
// choice of the current slot when a window gets the focus.
#include "screen/screen.h"

LRESULT ScreenChildWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: HandleItemClick(); break;
    case WM_LBUTTONUP: HitTestItemAtMouse(); break;
    case WM_MOUSEMOVE: TrackMouseOnItems(); break;
    case WM_SETFOCUS: SelectActiveWindowSlot(); break;
    case WM_TIMER: ShowItemHintBox(); break;
    case WM_SIZE:
    case WM_MOVE: UpdateWindow(window); break;
    default: break;
  }
  return 0;
}
