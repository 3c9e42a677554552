// The procedure of every slot's in-place edit control. Keys, characters and
// clicks reach the control's own procedure; the field engine's key handling
// (focus moves, commands, value checks) hooks in here.
#include "screen/screen.h"

LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  for (const WindowSlot& slot : g_windowSlots) {
    if (slot.editControl == window && slot.previousEditProc) {
      return CallWindowProcA(slot.previousEditProc, window, message, wParam, lParam);
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
