// The program's message boxes: printf-style, owned by the active window and
// kept on top. Callers report a failure once, here, and then return -1.
#pragma once

#include <windows.h>

// Room of the shared text buffer; longer texts are cut at a character
// boundary.
constexpr int kMessageTextSize = 4096;

// Information box; repaints the active window afterwards. Returns the
// repaint's result.
int ShowInfoMessage(const char* caption, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
// Error box after a beep; repaints the active window afterwards.
void ShowErrorMessage(const char* caption, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
// Yes/No question; repaints the active window afterwards. Returns IDYES (6)
// or IDNO (7).
int AskYesNo(const char* caption, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
// Yes/No question without the repaint, for callers that repaint or close the
// window themselves. Returns IDYES or IDNO.
int AskYesNoNoRedraw(const char* caption, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Yes/No/Cancel question; repaints the active window afterwards. Returns
// IDYES (6), IDNO (7) or IDCANCEL (2).
int AskYesNoCancel(const char* caption, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// The OCR-sheet workbench window that owns ShowWorkbenchMessage's boxes.
void SetWorkbenchWindow(HWND workbench);
// Information box owned by the workbench window, with a buffer of its own;
// no repaint. Returns the message box's result.
int ShowWorkbenchMessage(const char* caption, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
