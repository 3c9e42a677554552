// The registration-mark settings window ("Hosei") of the sheet designer.
#pragma once

#include <windows.h>

// True when the point (sheet pixels) lies in the top-left search area of
// the marks on the front of the sheet, where a right click in design mode
// opens the settings.
bool InMarkSearchArea(int x, int y);
// Opens the settings over the canvas slot (disabled, with its owner, while
// open): 0, or -1 after the message (no paper row, no free window slot;
// quiet when it is open already).
int OpenCorrectionMarkDialog(int canvasSlot);
// The window slot of the open settings, or -1.
int MarkSettingsSlot();
LRESULT CALLBACK HoseiWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
