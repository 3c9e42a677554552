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
//
// The entry screens of a sheet are made from its definition: the output
// table's description and table, the rows of the list screen "101" and
// the card screen "201", and the screen-set window "ScrSet" that keeps
// them in step with the sheet before either opens.
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
// screen-set window "ScrSet": registered and made hidden.
HWND RegisterJobWindow(HWND mainWindow);
HWND RegisterSearchWindow();
HWND RegisterScreenSetWindow();

// The card form's record images: each field's image "%s\%s_%s.BMP" (the
// folder, the record's code number, the field's name) is shown beside the
// field, at `sizePercent` of its size (a sheet's card screen keeps its own
// size); an empty folder shows none. The opener of a card screen sets it
// before the screen opens; it holds until set again.
void SetCardImageComparison(const char* folder, int sizePercent);

// The key of the record a selection list (list mode 1) last picked for its
// owner by Enter, which the owner reads when the list sends it 1126.
const char* GetPickedListKey();

// The spreadsheet program the list and card forms open a CSV file in once
// they have written it: its command, the line EXCEL of USER.INI in the
// program folder, read as each file is written (empty: none, the count of
// rows written is reported instead).
std::string SpreadsheetProgram();
// Starts `program` on `file` ("%s %s", shown normally): 0; nothing for an
// empty program; -1 after the message when Excel would take a blank of the
// file's folder for the end of its name, or when the program cannot start.
int LaunchExcel(const char* program, const char* file);

// The next screen opened finds its records in the sheet's output database
// where the reading run writes them: a file database in its own folder,
// not in the database folder of the settings.
void PointNextScreenAtOutputDatabase();

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
// The kinds of the date fields: a birth date ('S') and a date ('D').
inline bool IsDateFieldKind(char kind) { return kind == 'S' || kind == 'D'; }
int ShowEraOfDateField(const char* eraField);
int ShowAgeOfDateField(const char* ageField);
// The field that shows a date field's era form stands beside it under the
// date field's name and "和暦"; it shows `EraOfDate` of the date, "" when
// the text is no date or no era of the era table file fits it.
std::string EraFieldName(const std::string& dateField);
std::string EraOfDate(const std::string& date);
// A Western date "%04d/%02d/%02d" that is on the calendar: a month of the
// year, a day of the month (29 February in leap years only).
bool IsCalendarDate(const std::string& text);

// Called after each row a renumbering of code numbers has changed (1, 2,
// ...), inside its transaction; tests stop the program there. Null: none.
using RenumberStepHook = void (*)(int step);
void SetRenumberStepHook(RenumberStepHook hook);

// The output table of the current sheet (g_sheetSettings, its key items
// and read items): WriteTableSpecFile writes its description
// "<table>.spc" in the folder of table descriptions (key items, read items
// with their array elements, reading date and time, pictures; the keys in
// INDEX) and makes a missing table: 0, or -1 after the message. A failed
// write leaves the previous description. EnsureOutputTable makes the table
// from its description when it is missing and テーブル作成 is 1 (the
// reading run's rule): 0 there or made, -1 after the message.
// WritePictureColumns adds the lines "IMG01" ... of the sheet's pictures
// to `text`: their number, or -1 (reported).
int WriteTableSpecFile();
int EnsureOutputTable();
int WritePictureColumns(std::string* text);

// The entry screens made from the sheet: GenerateEntryScreenFields writes
// the S_FIELD rows of the list screen (form 1, screen "101") or the card
// screen (form 2, "201") into the sheet-definition database, replacing the
// screen's rows at once; with `keepEdits` the operator's edits of the rows
// (titles, widths, locks, card positions) are kept by field name. 0, or -1
// after the message (the previous rows stay). WidenFieldTitleColumn
// widens S_FIELD's FLDTITLE to 200 characters when it holds 60 or fewer:
// 0, or -1 (reported).
int GenerateEntryScreenFields(int form, bool keepEdits);
int WidenFieldTitleColumn();
// The S_SCREEN row of a generated screen, added or brought up to date
// from the sheet after the output table's description is written: 0, 1
// when the screen is missing and may not be made in operation mode (after
// its message), -1 after the message.
int WriteScreenRecord(int form);
// The lines of a list of `fields` columns that the item table holds after
// the canvas's items (`requested`, or 20 when below 1, lowered with a
// message): the count, or -1 after "項目数が最大数の限界を超えました。".
int LimitListLineCount(int fields, int requested);
// Rebuilds a screen: the output table, after asking when it holds rows, is
// dropped and made again from its description, the screen's size reset and
// its rows generated. 0 done, 1 the operator kept the rows (nothing
// changed), -1 after the message.
int ResetOutputTableForScreens(int form, bool keepEdits);
// Called by ResetOutputTableForScreens between opening the output table and
// counting its rows; tests break the table there. Null: none.
using OutputTableOpenedHook = void (*)();
void SetOutputTableOpenedHook(OutputTableOpenedHook hook);
// Whether the sheet changed since the screen of `form` was generated: 0
// when nothing is to be done or the change was only of lengths, decimals
// and ranges (the rows and the output columns are then brought up to
// date); -1 when the screen must be rebuilt (after the message of
// `messageKind`, 2 "rebuild both screens", 1 "tick 更新"; none with `mode`
// 2) or after a failure's message.
int CheckSheetChangedSinceScreens(int form, int messageKind, int mode);
// The sheet's read items as screen rows (array elements counted one by
// one); with `mode` 1 the screen's rows and the output columns follow the
// sheet. The count, or -1 after the message.
int ReconcileScreenRows(int form, int mode);
// The rows of the screen that are not pictures, less the key items, plus
// one (the key field); -1 when the rows cannot be read (reported).
int CountScreenDataFields(const std::string& screenCode);

// Opens the list (form 1) or card (form 2) entry screen of the current
// sheet through the screen-set window: the screen's record is brought up
// to date first and a screen without rows generated: `how` 1 or 2 then
// returns 1; with rows, `how` 2 returns 2 at once. Otherwise the window
// opens (0):
// "実 行" checks the sheet for changes (not with Ctrl held), rebuilds after
// its two questions when "更新" is ticked, and opens the screen. -1 after
// the message.
int OpenScreenSetWindow(int how, int form);

// The item-order and screen-style dialog "並び変更" (screen 56) of the
// list (form 1) or card (form 2) screen, owned by `owner`, which passes
// the dialog's notifications (1135, 1132, 1146, 1136 with the screen
// number) to HandleScreenLayoutMessage: true when they were the dialog's.
// OpenScreenLayoutDialog returns 0, or -1 after the message.
constexpr int kScreenLayoutNumber = 56;
int OpenScreenLayoutDialog(int form, HWND owner);
bool HandleScreenLayoutMessage(UINT message, WPARAM screenNumber);
// Asks, then copies `sourceColumn` into `targetColumn` in every S_FIELD row
// of the dialog's screen in FLDCODE order (with `resetWidths` the widths
// go to 0 and are counted again from the headings); the dialog's list
// (window slot `slot`) shows the rows again. The rows copied, 0 when the
// operator said No, -1 (reported).
int MakeHeadingsFromNames(int slot, const char* targetColumn, const char* sourceColumn, bool resetWidths);
// Widens each column of a list screen to its heading: a heading of L bytes
// (narrowed to half-width when shown on its side, `titleDirection` 1) is
// (L + 1) / 2 full-width characters; on `titleLines` lines its longest
// line (at least 1 character) sets FLDSMSU in bytes (never below 2, never
// narrowed). The rows changed, or -1 (reported).
int RecountFieldTitleWidths(const std::string& screenCode, int titleDirection, int titleLines);

// The window procedures.
LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ScreenSetWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
