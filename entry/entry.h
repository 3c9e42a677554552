// Data entry and correction: the work windows that show screens of the
// screen engine (the menu window "Men", the list-form window "Lst", the
// card-form window "Cad" and the set window "Sup"), and the data sets of
// card and set screens.
//
// So far each window takes its screen, its ruled lines and its data set,
// paints, passes buttons and keys to the window that owns the screen (1132
// with the screen number) and closes on Esc, 1131 or WM_CLOSE (1136 to the
// owner). The list window shows the first page of its data set, the card
// window its first record.
#pragma once

#include <windows.h>

// Register the class of the window and create its hidden window; the
// window, or null when the class cannot be registered. Each also gives the
// screen engine what it needs of this subsystem to open screens.
HWND RegisterMenuWindow(HWND mainWindow);
HWND RegisterCardWindow(HWND mainWindow);
HWND RegisterSupWindow(HWND mainWindow);
// The CSV job window "JobWin", the string search "Sch" and the screen
// generation "ScrSet": registered and made hidden; they show nothing yet.
HWND RegisterJobWindow(HWND mainWindow);
HWND RegisterSearchWindow();
HWND RegisterScreenSetWindow();

// Register the data set of a card (set) screen in the next free window
// slot: 0, or -1 after "オープン済みです。[%s][%s]" when that slot's data set
// is still open. The filter text becomes the header text of the card, the
// condition texts and the query conditions are emptied.
int OpenCardScreen(const char* folder, const char* database, const char* table, int keyNumber);
int OpenSupScreen(const char* folder, const char* database, const char* table, int keyNumber);

// The window procedures.
LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
