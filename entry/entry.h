// Data entry and correction: the work windows that show screens of the
// screen engine (the menu window "Men", the list-form window "Lst", the
// card-form window "Cad" and the set window "Sup"), and the data sets of
// card and set screens.
//
// Each window takes its screen, its ruled lines and its data set, paints,
// passes buttons and keys to the window that owns the screen (1132 with the
// screen number) and closes on Esc, 1131 or WM_CLOSE (1136 to the owner).
// The card window shows one record at a time beside its record images and
// stores what is typed; the set window edits the one row of its table. The
// list window shows its data set a page at a time and stores what is
// typed, with its job dialog "JobWin" (CSV files, range jobs, number
// search) and search window "Sch".
#pragma once

#include <windows.h>

#include <string>

// Register the class of the window and create its hidden window; the
// window, or null when the class cannot be registered. Each also gives the
// screen engine what it needs of this subsystem to open screens.
HWND RegisterMenuWindow(HWND mainWindow);
HWND RegisterCardWindow(HWND mainWindow);
HWND RegisterSupWindow(HWND mainWindow);
// The job dialog "JobWin" and the search window "Sch" of the list, and the
// screen generation "ScrSet" (which shows nothing yet): registered and made
// hidden.
HWND RegisterJobWindow(HWND mainWindow);
HWND RegisterSearchWindow();
HWND RegisterScreenSetWindow();

// The card form's record images: each field's image "%s\%s_%s.BMP" (the
// folder, the record's code number, the field's name) is shown beside the
// field, at `sizePercent` of its size (a sheet's card screen keeps its own
// size); an empty folder shows none. The opener of a card screen sets it
// before the screen opens; it holds until set again.
void SetCardImageComparison(const char* folder, int sizePercent);

// Opens the card-form entry screen the sheet's screens were generated with
// ("201" in the sheet-definition database `folder`, `database`) for
// `owner`, its record images from `imageFolder` (empty: none). 0 opened, 1
// when the sheet has no card screen yet (quiet), -1 after the message.
int OpenSheetCardForm(HWND owner, const char* folder, const char* database, const char* imageFolder);

// Register the data set of a card (set) screen in the next free window
// slot: 0, or -1 after "オープン済みです。[%s][%s]" when that slot's data set
// is still open. The filter text becomes the header text of the card, the
// condition texts and the query conditions are emptied.
int OpenCardScreen(const char* folder, const char* database, const char* table, int keyNumber);
int OpenSupScreen(const char* folder, const char* database, const char* table, int keyNumber);

// Date fields, on the current field of the current screen. The typed text
// becomes a Western date "%04d/%02d/%02d" (an era date such as "H1/2/3"
// through the era table file, "2024/1/5" as 2024/01/05; an empty field
// stays empty): 0, or -1 without a current field. The era form of the
// field's date goes into `eraField` (empty when no era fits: -1), its age
// in whole years into `ageField`: 0, or -1 when the field holds no date.
int NormalizeDateField();
int ShowEraOfDateField(const char* eraField);
int ShowAgeOfDateField(const char* ageField);

// How the list prints (1128, 1129): the range of codes, the rows of a
// page, the CSV options and file of the CSV mode, the name of the print
// job (empty: the screen's title).
struct ListReportSettings {
  std::string start, end;
  int linesPerPage = 50;
  std::string csvFile;
  bool titles = false, keys = true, quotes = false;
  std::string documentName;
  int rowsWritten = 0;  // by the last CSV output
};
ListReportSettings& GetListReportSettings();
// The preview window of the printed list's first page, or null.
HWND GetListPreviewWindow();

// Called after each row a renumbering of code numbers has changed (1, 2,
// ...), inside its transaction; tests stop the program there. Null: none.
using RenumberStepHook = void (*)(int step);
void SetRenumberStepHook(RenumberStepHook hook);

// The window procedures.
LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
