// The windows of scanning and reading that start-up makes: the OCR-sheet
// workbench "KQE_READ" (its button bar and the sheet canvas inside it), the
// reading-run dialog "Def", the frame view "WITHFRAME" and the image view
// "WITHIMAGE". Each registration returns the hidden window, or null when
// its class cannot be registered.
//
// So far the workbench opens and closes as a screen window of its owner
// (the main window is hidden while it is open, and hears of its closing),
// paints its bar and passes every command to its owner; its own commands
// (printing, reading, the logs, the entry screens) and the other three
// windows are not built yet.
#pragma once

#include <windows.h>

HWND RegisterSheetWorkWindow(HWND parent);
HWND RegisterReadRunWindow();
HWND RegisterFrameViewWindow(HWND parent);
HWND RegisterImageViewWindow(HWND parent);

LRESULT CALLBACK SheetWorkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
