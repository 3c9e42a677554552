// The list-form window "Lst": its state and the operations its files share
// (paging, storing and record maintenance, CSV files, the printed list, the
// job dialog and the search window). Private to entry/.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// Key kinds of a list.
constexpr int kFreeKeys = 1;         // any text
constexpr int kCodeNumbers = 2;      // W-digit code numbers
constexpr int kConsecutiveCodes = 3; // code numbers kept without gaps

// Jobs of the job dialog (its code comes back in message 1154).
constexpr int kJobCsvInput = 201;
constexpr int kJobCsvOutput = 202;
constexpr int kJobPrint = 203;
constexpr int kJobRangeDelete = 204;
constexpr int kJobRangeInput = 205;
constexpr int kJobNumberSearch = 207;

// Commands of the list (message 1125) besides the function keys F1-F12.
constexpr int kListLineUp = 138;
constexpr int kListLineDown = 140;

// The one list window's state; the columns and rows per page are the screen
// engine's (g_list).
struct ListFormState {
  int slot = -1;             // window slot of the list screen
  int tableSlot = -1;        // data set, or -1
  int keyNumber = 0;
  std::string table, keyColumn, keyTitle;
  int keyKind = kFreeKeys;
  int codeWidth = 4;         // W: digits of a code number
  int rows = 0;              // R: lines of a page
  int editMode = 0;          // 0 input mode; 1, 2 or 4 an edit mode
  bool dataSetOpen = false;
  bool pageAtTop = true;
  bool moreFollow = false;   // a row follows the page
  int topIndex = 0;          // row index of line 1 (0 at the first row)
  std::string printCode;     // "L%05d"
  std::vector<std::pair<std::string, std::string>> fixedValues;  // written into new records
  // The key each line showed when the page was filled ("" for a free line).
  std::vector<std::string> lineKeys;
  // The item of each cell, line by line (columns x lines, from line 1),
  // found once when the screen opens; -1 for a cell the screen lacks.
  std::vector<int> cellItems;
  bool filling = false;      // a page is being filled: painted once at its end
  // What a page move shows apart from the cells waits for the next paint or
  // the posted kMsgShowListView, whichever comes first (see
  // ShowPendingListView).
  bool rowBarStale = false;       // the row scroll bar is to show topIndex
  bool focusedCellStale = false;  // the focused cell's edit control is to show its new value
  bool viewUpdatePosted = false;
  int changed = 0;           // set by every stored change
  bool shiftHeld = false, ctrlHeld = false;
  std::string pickedKey;     // the record a selection list picked for its owner
};
extern ListFormState g_listForm;  // (list_window.cpp)

// Cells and their values, by the list's column (index into g_list.columns)
// and line (from 1). A column scrolled out of view has no cell: its text is
// "" and setting it does nothing.
int ListCellItem(int column, int line);
std::string ListCellText(int column, int line);
void SetListCellText(int column, int line, const char* text);
int KeyColumnIndex();
std::string LineKey(int line);
// The column index and line of a cell item: false for no cell of the list.
bool ListCellOfItem(int item, int* column, int* line);
// A column that is stored: it belongs to the table and shows no joined table.
bool IsStoredListColumn(int column);

// What is typed into the focused field of any screen window becomes its
// value: true when the field had been edited (list_window.cpp).
bool TakeTypedValue();

// Paging (list_paging.cpp). Each returns 0, or -1 when nothing moved.
int FillListPage();
int RefreshListPage();
int SeekListRecord(const char* key);
int ReopenListDataSet();
int ShowPreviousListPage();
int ShowNextListPage();
int ShowLastListPage();
int ShiftListLineDown();
int ShiftListLineUp();
int ScrollListColumns(int kind);
// The row scroll bar and the focused cell's edit control follow a page move
// when the list next paints or handles the posted kMsgShowListView, which
// comes before any key or click that follows: pages moved in between (a key
// held down, a dragged thumb) set them once. Setting an edit control's text
// under Wine took longer than filling all the page's cells.
constexpr UINT kMsgShowListView = WM_APP + 1;
void RequestListViewUpdate();
void ShowPendingListView();
// The first and last key of the table into g_list.firstKey/lastKey: 0, or
// -1 after "データは登録されていません。".
int TakeListKeyRange();

// Storing and maintenance (list_editing.cpp).
// The SQL value text of a value for a column type (kColumn...): texts and
// one character as quoted literals (a quote inside doubled), numbers as
// numbers. The card form stores its values through it too.
std::string ColumnValueText(int columnType, const std::string& value);
// ColumnValueText for the stored type of a list column.
std::string ListValueText(int column, const std::string& value);
// What the screen says of a field's values (value_checks.cpp): its title,
// the type of its column (kColumn...), its kind, its edit letter ('Z' a
// code of digits), its candidates and its limits.
struct EntryValueRule {
  std::string title;
  int columnType = 0;
  char kind = 'X';
  char edit = 'L';
  std::string choices, minText, maxText;
};
// The rule of a list column or a screen item (`Field`: kind, edit, choices,
// minText, maxText) under `title`, over a column of `columnType`.
template <class Field>
EntryValueRule ValueRuleOf(const Field& field, const std::string& title, int columnType) {
  EntryValueRule rule;
  rule.title = title;
  rule.columnType = columnType;
  rule.kind = field.kind;
  rule.edit = field.edit;
  rule.choices = field.choices;
  rule.minText = field.minText;
  rule.maxText = field.maxText;
  return rule;
}
// A value checked before it is stored: a number for a numeric column,
// digits for a code, one of a plain candidate list (or several of them
// one after another), within the limits. 0, or -1 after the message.
int CheckEntryValue(const EntryValueRule& rule, const std::string& value);
// "where table.key='k'" or the condition text followed by "and ...".
std::string KeyCondition(const char* key);
int CommitListCell(int column, int line);
// A code typed into a column linked to a master table (list_links.cpp): 0
// when the master holds it or the column has no link; -1 after
// "コード“%s”は登録されていません。" with the cell emptied.
int LookUpLinkedCode(int column, int line, const std::string& code);
int CopyListRecord(int line);
int DeleteListRecord(int line);
int InsertListLine(int line);
int MoveListRecord(const std::string& from, const std::string& to);
int RangeInputToColumn(int column, const std::string& start, const std::string& end,
                       const std::string& value);
int RangeDeleteRecords(const std::string& start, const std::string& end);
std::string NextCode(const std::string& code, int step);

// The session of the list (list_session.cpp): the rows as they were before
// it first wrote them, read as each write is about to reach them, so that
// every change since the list opened can be given up. Keeping rows: 0, or
// -1 when the table could not be read (reported): the write is not made.
int KeepListRows(const std::vector<std::string>& keys);
// The rows from `start` to `end` (both given), or every row of the table
// with both empty (then rows added under any key are given up too).
int KeepListRowsBetween(const std::string& start, const std::string& end);
bool ListSessionChanged();
void ForgetListSession();
// Puts every kept row back as it was and removes the rows the session
// added, in one transaction: 0, or -1 (reported; the table stays changed).
int DiscardListSession();

// CSV files (list_csv.cpp). The number of lines stored, or -1.
int ImportListCsv(const char* path, int keysInFile);
// Writes rows start..end: the number written, or -1.
int ExportListCsv(const char* path, const char* start, const char* end, bool titles,
                  bool keys, bool quotes);

// The list's rows as a CSV file (OutputListReport's mode 2): the range of
// codes, the options and the file.
struct ListReportSettings {
  std::string start, end;
  std::string csvFile;
  bool titles = false, keys = true, quotes = false;
  int rowsWritten = 0;  // by the last CSV output
};
ListReportSettings& GetListReportSettings();

// The printed list (list_report.cpp): the print-settings screen of the
// list over the table's first and last code (0, or -1 after a message),
// and the output it asks for: mode 0 preview, 1 printer, 2 CSV.
int OpenListPrintSettings();
int OutputListReport(int mode);

// Runs the job the job dialog chose (message 1154) with its settings.
void RunListJob(int job);

// The full path of an output file name: kept with a drive and folder or as a
// network name; a bare drive, or a name without a folder, goes into the
// program folder; a folder from the root gets the current drive. "" after
// "フォルダ“%s”は、存在しません。" when its folder does not exist.
std::string ResolveFolderPath(const std::string& name);

// The job dialog and the search window (job_window.cpp, search_window.cpp).
// Whose jobs the dialog sets: the screen's print code (its values are kept
// under it), table, code field and the range it offers first.
struct JobDialogTarget {
  std::string printCode, table, keyTitle;
  int codeWidth = 4;
  bool keyChoice = false;  // CSV files may hold or leave out the codes
  std::string firstKey, lastKey;
};
// What the operator last set for the jobs of a screen: its line of the
// print-settings file (one file for input and output), and the value of a
// range input, held while the program runs.
struct JobSettings {
  std::string file, start, end, value, code;
  int titles = 0, keys = 0, quotes = 0;
};
// The dialog of a job for `owner`, which hears the result (1154 with the
// job) when the operator runs it: 0, or -1 when it cannot open.
int OpenJobDialogFor(HWND owner, int job, const JobDialogTarget& target);
// OpenJobDialogFor with the list as the target.
int OpenJobDialog(HWND owner, int job);
JobSettings GetJobSettings(const std::string& printCode);
int OpenSearchWindow(int column);
int SearchListColumn(int column, const std::string& text, int direction);
