// The sheet designer's windows, registered and made hidden at start-up:
// the screen-editing window "Ctr", the sheet canvas "Ocr" (shown inside the
// OCR-sheet workbench with the project sheet), the question CSV input
// "CsvInp", the choice-content editor "Medit", the registration-mark
// settings "Hosei", the sheet field editor "Pln", the key-item settings
// "IdxCtrl", the message window "Messgwnd" and the clipboard questions
// "Clip". Each returns its window, or null when its class cannot be
// registered.
//
// The canvas (sheet_canvas.h) paints the sheet under its items, passes
// clicks to the screen engine, which edits in design mode through the
// designer's hooks, opens its menus on the right button and takes dropped
// files; the field editor ("Pln", field_editor.h), the mark settings
// ("Hosei", mark_settings.h), the key item's dialog ("IdxCtrl",
// key_item_dialog.h), the question CSV dialog ("CsvInp") and the clipboard
// questions ("Clip", question_list.h) show their forms, the message window
// ("Messgwnd") its text; "Ctr" shows nothing yet.
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

// The CSV dialog ("CsvInp", question_csv_dialog.cpp): mode 0 the question
// file to import into the question list, mode 1 the length alignment of the
// list's questions, mode 2 the CSV file of an output job of the main window.
// In mode 2 `number` and `secondNumber` key the row that keeps the file's
// name, and Run sends 1132 with `number` to the main window, which reads
// TXTFILE of CsvQuestionDialogSlot, writes the file and posts 1131 to the
// dialog to close it; closing sends 1136 with `number`. 0 opened, -1 when it
// is open already or could not open (reported).
int CsvQuestionDialog(int mode, int number = 0, int secondNumber = 0);
int CsvQuestionDialogSlot();

LRESULT CALLBACK SheetCanvasWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CsvInputWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ClipWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The sheet settings screen ("ＯＣＲシート定義"), owned by `owner` (disabled
// while it is open): 0 when it opened, -1 after the message when the paper
// row cannot be made or no window slot is free (quiet when it is open
// already).
HWND RegisterSheetSettingsWindow();
int OpenSheetSettingsScreen(HWND owner);
// The window slot of the open settings screen, or -1.
int SheetSettingsSlot();
LRESULT CALLBACK SheetSettingsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
