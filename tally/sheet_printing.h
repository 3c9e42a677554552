// Printing blank OCR sheets: the sheet print window "PrnSheet" (margins,
// scale ratio, PDF output, identification numbers) and the jobs it starts
// when it closes: plain sheets, sheets numbered with a range of
// identification numbers, and sheets merged with the rows of a master
// table, one- or two-sided. Every page is the sheet canvas (its items drawn
// by the screen engine) plus the registration marks the reading run finds.
//
// Global state (defined in the .cpp named beside each):
//   g_sheetPrintRequest  what the window hands to the job (sheet_print_jobs.cpp)
//   g_sheetPrintWindow   the window and its slot          (sheet_print_window.cpp)
//
// The first part is portable (the number runs, the margin sets,
// the advice texts); the rest needs Windows. Functions return 0 (or a
// count) on success and -1 after the one message that reports a failure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "designer/registration_marks.h"

// ---------------------------------------------------------------------------
// Portable (sheet_print_plan.cpp; the marks in designer/registration_marks.h)

// The identification numbers of a numbered run: from `start` to `end`
// (either way), every number `width` digits with leading zeros.
struct IdNumberRun {
  uint64_t first = 0, last = 0;
  int width = 0;
  int64_t Count() const { return first <= last ? last - first + 1 : first - last + 1; }
  // The k-th number (0-based) as a digit string of `width`.
  std::string At(int64_t k) const;
};
// Reads a run. 0, or -1 with `why` set (the message to show) when a number
// is empty, holds anything but digits, or has more digits than the field
// takes: stepping it would wrap round and print a number twice.
int PlanIdNumberRun(const std::string& start, const std::string& end, int width,
                    const std::string& field, IdNumberRun* run, std::string* why);

// The two page settings of MUPA_PAP "0001": set 1 for printers, set 2 for
// PDF output, chosen by ＰＤＦ出力.
struct PrintMarginSet {
  int left = 0, top = 0, ratio = 0;
};
struct PrintMarginSets {
  PrintMarginSet printer, pdf;
  int pdfOutput = 0;  // 1: the PDF set is shown and used
};
// The set the window shows for `pdf`, its ratio defaulted when 0 or less
// (100 for printers, 103 for PDF).
PrintMarginSet ShownMarginSet(const PrintMarginSets& sets, bool pdf);
// The note under the margins: the PDF ratio's hint, or "".
const char* MarginSetNote(bool pdf);

// The advice shown while a job prints ("|" separates lines): for sheets
// printed on both sides (`bothSides`, `landscape`), for one side of a
// two-sided sheet (`twoSidedSheet`); "" when there is none.
const char* PrintAdviceText(bool bothSides, bool landscape, bool twoSidedSheet);

// ---------------------------------------------------------------------------
#if defined(_WIN32)
#include <windows.h>

// Print types of the window.
constexpr int kPrintTypePlainSheets = 0;
constexpr int kPrintTypeNumberedSheets = 5;
// Side choices of the workbench (scanner type 3 only).
constexpr int kSideChoiceNone = 0;
constexpr int kSideChoiceOne = 1;
constexpr int kSideChoiceBoth = 2;

// What the window hands to the job (sheet_print_jobs.cpp).
struct SheetPrintRequest {
  int leftMargin = 0, topMargin = 0;  // canvas pixels: the margins x 4
  int ratio = 100;                      // percent
  std::string idField;                  // the write-in field of the numbers
  std::string startNumber, endNumber;
  // Set by a numbered run the user stopped: its first number not printed
  // on every side ("" after a whole run, or one that printed nothing).
  std::string nextNumber;
  std::string documentName = "OCRシート";  // the spooler's job title
};
extern SheetPrintRequest g_sheetPrintRequest;

// A column of the current row of a table slot as text ("" for none; a
// text column the driver gave no buffer reads as "" too).
std::string ColumnText(int slot, const char* name);
std::string ColumnAsText(int slot, const char* name);
std::string ColumnName(int slot, int position);

// The jobs (sheet_print_jobs.cpp). Each prints with the request above;
// 0 printed, -1 when nothing was printed or the printer refused a page
// (after the message; a job that does not start is reported by the
// report layer), or the user stopped the job between pages (no message:
// the pages before the stop are printed).
int PrintSheetJob(int sideChoice);
int PrintSheetsWithIds(int sideChoice);
// The first screen (SCRCODE up to "099") of the master definitions with
// COMPORT 1, as its code; "" when there is none. -1 when the screen table
// cannot be read (reported), else 0.
int FindMergePrintScreen(std::string* screenCode);
// The master table of a merge screen and the master columns it lists.
struct MergeDefinition {
  std::string screenCode, table;
  std::vector<std::string> columns;
};
// 0, or -1 after the message when the screen or its table is missing.
int LoadMergeDefinition(const std::string& screenCode, MergeDefinition* definition);
// 1 when the sheet has array fields that refer to `table`, else 0; -1 when
// the field rows cannot be read (reported).
int SheetHasMasterArrays(const std::string& table);
int MergePrintSheets(int sideChoice, const MergeDefinition& definition);
int MergePrintArrays(int sideChoice, const MergeDefinition& definition);
// The marks of the current side at the margin offsets (canvas pixels).
void DrawRegistrationMarks(int xOffset, int yOffset);
// Shows (or, with `show` 0, hides) the advice of a job in the message
// window; nothing when the job needs none.
void ShowPrintAdvice(int sideChoice, int show);

// The window (sheet_print_window.cpp).
struct SheetPrintWindowState {
  HWND window = nullptr;
  int slot = -1;
  int printType = kPrintTypePlainSheets;
  int sideChoice = kSideChoiceNone;
  int lastCommand = 0;        // 100 cancels the job
  PrintMarginSets sets;       // as read from MUPA_PAP "0001"
  bool pdfShown = false;      // the set the fields show
  std::string startNumber, endNumber;  // those of the last print, or
                                       // where a stopped run goes on
};
extern SheetPrintWindowState g_sheetPrintWindow;

LRESULT CALLBACK PrintSheetWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Builds and opens the window for `printType`; `sideChoice` goes to the
// job. 0, or -1 when the window cannot open (for numbered sheets also
// without the handwriting font, after the font check's message).
int OpenSerialPrintScreen(int printType, int sideChoice);
// The choice list of the identification field: the names of the sheet's
// write-in fields that are no arrays, joined by ",", then "(5)". -1 when
// the sheet has no such field (the list is then "(5)").
int BuildIdFieldChoices(std::string* choices);
// Widens PRESNO and PREENO to the 文字数 of `field`.
void SetIdRangeWidth(const char* field);
// Fills the margin fields from the printer (0) or PDF (1) set; stores the
// fields into the shown set with ＰＤＦ出力 into MUPA_PAP "0001".
void LoadPrintMargins(int pdf);
int SavePrintMargins(int pdf);
#endif
