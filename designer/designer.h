// The sheet designer's windows, registered and made hidden at start-up:
// the screen-editing window "Ctr", the sheet canvas "Ocr" (shown inside the
// OCR-sheet workbench with the project sheet), the question CSV input
// "CsvInp", the choice-content editor "Medit", the registration-mark
// settings "Hosei", the sheet field editor "Pln", the key-item settings
// "IdxCtrl", the message window "Messgwnd" and the clipboard questions
// "Clip". Each returns its window, or null when its class cannot be
// registered.
//
// So far the canvas paints the project sheet's items and passes clicks to
// the screen engine; the other windows show nothing until the designer
// builds their screens.
#pragma once

#include <windows.h>

HWND RegisterCtrWindow(HWND mainWindow);
HWND RegisterSheetCanvasWindow(HWND mainWindow);
HWND RegisterCsvInputWindow();
HWND RegisterMeditWindow();
HWND RegisterHoseiWindow();
HWND RegisterPlnWindow(HWND parent);
HWND RegisterIdxCtrlWindow();
HWND RegisterMessgwndWindow();
HWND RegisterClipWindow();

// The message window (message_window.cpp): shows `text` ("|" between
// lines) in characters of `charSize` at (x, y): x -2 centred, -3 at the
// right edge; y -2 centred, -4 at the foot. Shown already, only the text
// changes. Returns 0.
int ShowMessageWindow(const char* text, int charSize, int x, int y);
bool MessageWindowShown();
// Closes the message window when it is shown.
void NotifyMainWindow();

LRESULT CALLBACK SheetCanvasWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
