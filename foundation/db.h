// The database layer: every table of the program is used through a table
// slot (1 to 24) that owns one ODBC connection and statement, its columns
// bound into the process-wide column table and addressed by name. The file
// database (kind 1) is an SQLite file, the server database (kind 2) a
// PostgreSQL database, kind 4 a data source of the database's name, and
// kind 3 no database at all (every operation then succeeds at once). The
// program's text is Shift-JIS; the layer converts to and from the
// databases' UTF-8 at the ODBC boundary.
//
// Failures: an operation reports its failure once in a message box and
// returns -1 (or the code its line names); callers do not report again.
// A few results are quiet, never reported, because they are answers rather
// than failures: "not found" (no such row, column, key or slot), the end of
// the rows, and a missing table where the caller asked whether it is there
// (the opens that do not create, ExecSlotSql, DropTable; DbTableMissing then
// tells). Each line below names its quiet results. GUI thread only.
#pragma once

#include <string>

#include "foundation/ocr_ini.h"
#include "foundation/spc_file.h"

constexpr int kMaxTableSlots = 24;
// Column-table entries are numbered 1 to kMaxColumnEntries - 1.
constexpr int kMaxColumnEntries = 1500;
// Room of the slot's names (section, table, database), terminator included.
constexpr int kSlotNameSize = 128;

// Fetch directions of FetchSlotRow.
constexpr int kFetchNext = 1;
constexpr int kFetchFirst = 2;
constexpr int kFetchLast = 3;
constexpr int kFetchPrevious = 4;

// ---- Settings, environment and connections --------------------------------

// Reads OCR.INI and allocates the ODBC environment (a failure is reported
// and every later connection fails).
void db_init();
// Closes every slot, frees the environment and the layer's buffers.
void db_term();
// Resets every slot, sets the defaults and reads "OCR.INI" of the current
// folder; the default folder follows from the program folder (a folder
// too long for a Windows path is reported and left empty). Returns 0; a
// missing file is no failure.
int ReadOcrIni();
void FreeDbBuffers();
// The settings as read and changed by the setters below.
const OcrIniSettings& GetOcrIniSettings();

void SetDbLogin(const char* user, const char* password);
// Copies server, user and password (room kIniTextSize each).
void GetDbConnectInfo(char* server, char* user, char* password);
void SetDbServer(int kind, int version, const char* server);
void SetOmrDbName(const char* name);
// The default database folder from a configured path (the DBPATH rules of
// BuildDbFolder): 0, or -1 after "データベースのフォルダ名が長すぎます。" when
// the folder would not fit a Windows path (the folder stays as it was).
int SetDbFolder(const char* path);
const char* GetDbFolder();
int GetDefaultDbKind();
// Always 0: nothing sets the status word.
int GetDbStatusWord();
void SetDbNamePair(const char* name, const char* replacement);
// Copies the pair (room kIniTextSize each).
void GetDbNamePair(char* name, char* replacement);
void SetDbDevices(const char* dbDevice, const char* logDevice);
void SetDbPathValue(const char* path);
const char* GetDbUseText();
void PrepareDbLogin();
void FinishDbLogin();
// How long a file database waits for another program's write to end, in
// milliseconds (30000 until set); slots connected afterwards wait so long.
void SetFileDbWait(int milliseconds);
int GetFileDbWait();
// The folder of the table-specification files (set by the shell at start-up).
void SetSpecFolder(const char* folder);
const char* GetSpecFolder();

// Connects a slot whose kind and database name db_connect has set: 0
// connected (kind 3 at once), -1 failed (reported).
int db_driver_connect(int slot, const char* folder);
// Registers the data source of a file database when the driver manager does
// not know it yet.
void RegisterDsnIfMissing(int slot, const char* folder, const char* dbPath);
// Asks and creates the missing server database of a slot: 0 created, -1
// the user said no (quiet: the question was the report) or the creation
// failed (reported).
int CreateServerDatabase(int slot);
// Reports the last error of the slot's statement: 0 a state that is no
// failure (quiet; the flags below tell more), -1 a failure (reported, but
// for a missing table: quiet, DbTableMissing).
int db_error(int slot, const char* operation);
// Runs `sql` on the slot's statement: 0 done, 1 an ignored state such as a
// table that exists already (quiet), -1 failed (reported unless `quiet` is
// 1 or the table is missing: quiet then, the flags tell).
int ExecSlotSql(int slot, const char* sql, int quiet);
// Fetches in `direction`: 0 a row, -1 no row there (quiet) or a failure
// (reported).
int FetchSlotRow(int slot, int direction);
// Flags of the last statement: a missing table, a table in use, a missing
// column.
bool DbTableMissing();
bool DbTableInUse();
bool DbFieldMissing();

// ---- Table slots -------------------------------------------------------------

// Takes and connects a free slot: the slot, or -1 (all 24 in use or the
// connection failed; reported).
int db_alloc_slot(const char* folder, const char* database, const char* table, int kind);
// Connects `slot` to the resolved database: 0, or -1 (reported).
int db_connect(int slot, const char* folder, const char* database, const char* table, int kind);
// Runs the SELECT and binds its columns: 0, or -1 (reported; a missing table
// is quiet, DbTableMissing).
int db_select(int slot, const char* select);
// Runs the slot's SELECT again with its columns bound: 0, or -1 (reported).
int BindSlotColumns(int slot);
// 0 bound, 1 skipped (a type without a buffer; quiet), -1 the column table
// is full (reported).
int BindDescribedColumn(int slot, int position, int sqlType, const char* name, int size);
// Opens a table with `select` (empty: all of it), creating a missing table
// from its specification when `createMode` is 1 or 2: the slot, or -1
// (reported; with createMode 0 a missing table is quiet).
int db_open_query(const char* folder, const char* database, const char* table, int kind,
                  const char* specFile, const char* section, const char* select, int createMode);
// Open a table and select the formatted SELECT (empty: the whole table),
// creating a missing table from its specification: the slot, or -1
// (reported). Kind -1 (and -2) is the default kind. The format is printf's;
// it is not declared so because the empty format is the usual one.
int db_open(const char* folder, const char* database, const char* table, int kind,
            const char* specFile, const char* section, const char* format, ...);
// As db_open without creating: -1 for a missing table is quiet (the caller
// asked whether it is there), other failures are reported.
int db_open_nocreate(const char* folder, const char* database, const char* table, int kind,
                     const char* specFile, const char* section, const char* format, ...);
// db_open and db_open_nocreate in the default folder with the default kind.
int db_open_default(const char* database, const char* table, const char* format, ...);
int db_open_default_nocreate(const char* database, const char* table, const char* format, ...);
// Frees the statement and the connection: 0, or -1 (a slot not open: quiet,
// so closing twice is harmless; a driver failure: reported).
int db_close(int slot);
// Frees the statement and the columns: 0 (also for a slot SqlTblSet took),
// -1 a slot not open (quiet) or a driver failure (reported).
int db_close_stmt(int slot);
// Disconnects and frees the slot: 0, -1 a slot not connected (quiet) or a
// driver failure (reported).
int db_disconnect(int slot);
// Closes a slot SqlTblSet took: 0 (also for another slot), -1 a slot not
// open (quiet).
int CloseSpecSlot(int slot);
void ResetSlot(int slot);
void ReleaseSlotColumns(int slot);
// 0 when the slot is open (selected), -1 when not (reported).
int CheckSlotOpen(int slot);
int CheckSlotSelected(int slot);
// The connection state (0 closed to 3 selected), -1 for a number outside
// 1 to 24 (quiet).
int GetSlotConnState(int slot);
// The slot's kind (-1 for a number outside 1 to 24, quiet); the number of
// its bound columns.
int GetSlotKind(int slot);
int GetSlotColumnCount(int slot);
// Copy the table name into `out` (room kSlotNameSize): 0, -1 for a free slot
// (NonEmpty: also for an empty name); quiet.
int GetSlotTableName(int slot, char* out);
int GetSlotTableNameNonEmpty(int slot, char* out);
// The slot of a section name, -1 when none (quiet).
int FindSlotBySectionName(const char* section);
// 1 after db_nread, 2 after db_pread.
int GetLastReadDirection();
void SetSlotUserPointer(int slot, void* pointer);
void SetSlotFlag(int slot);

// ---- Specification files and the column table --------------------------------

// Reads a table's columns from its specification into a slot of its own:
// the slot, or -1 (no such file, no columns, all slots in use; reported).
int SqlTblSet(const char* section, const char* specFile);
// Reads the keys and kind of the slot's table (slot -1: of entry 0 and
// `specFile`): 0, also when there is no file (no keys then, quiet); -1 for
// slot -1 without a file name (quiet).
int LoadTableSpec(int slot, const char* folder, const char* section, const char* specFile);
// Key `keyNumber` (from 1) of the slot: plain and table-qualified column
// lists; they become the slot's current key lists. 0, -1 no such key (quiet).
int GetKeyColumnList(int slot, int keyNumber, std::string& plain, std::string& qualified);
// The last column of key `keyNumber` (from 0): 0, -1 no such key (quiet).
int GetKeyColumns(int slot, std::string& column, int keyNumber);

// The column-table entry of a column: the entry, or -1 (reported;
// FindColumnQuiet: quiet). ASCII case is ignored.
int FindColumn(int slot, const char* name);
int FindColumnIdx(int slot, const char* name, int index);
int FindColumnQuiet(int slot, const char* name);
// The column's type, -1 when absent (reported; Quiet: quiet).
int GetColumnType(int slot, const char* name);
int GetColumnTypeQuiet(int slot, const char* name);
// Declared length (characters of a text), display width, flag character;
// -1 when absent (quiet).
int GetColumnLength(int slot, const char* name);
int GetColumnWidth(int slot, const char* name);
int GetColumnFlag(int slot, const char* name);
// Whether `value`, written as SQL text into `column` of the slot's table
// (named `table` in the message), is kept whole: a text within the column's
// bytes, a number that is one and fits its column. 0, or -1 after the
// message naming the column.
int CheckColumnValue(int slot, const char* table, const char* column, const std::string& value);
int CountColumnsWithPrefix(int slot, const char* prefix);
// Names (types, lengths) of the slot's columns joined by ","; the count.
int GetSlotColumnNames(int slot, std::string& names);
int GetSlotColumnLists(int slot, std::string& names, std::string& types, std::string& lengths);
// Position from 1: 0, or 1 when the position is outside the slot (quiet).
int GetColumnInfoByPosition(int slot, int position, std::string& name, int* length, int* type);
// Name ("" when invalid), length and type (-1 when invalid; quiet).
const char* GetColumnNameByPosition(int slot, int position);
int GetColumnLengthByPosition(int slot, int position);
int GetColumnTypeByPosition(int slot, int position);
// Position from 1 of a column, 0 when absent (quiet; ASCII case ignored).
int FindColumnPosition(int slot, const char* name);

// Values of the current record by column name (and index: "%s%02d" below
// 100, "%s%03d" from 100). An absent column reads as "" or 0 and takes no
// value. Numbers and texts convert into each other. A text column holds up
// to its declared length in characters (twice as many bytes); a longer text
// set is held cut at a character boundary, and a write of the record is then
// refused with a message naming the column until the column is set again.
const char* GetColumnText(int slot, const char* name);
const char* GetColumnTextIdx(int slot, const char* name, int index);
char GetColumnChar(int slot, const char* name);
char GetColumnCharIdx(int slot, const char* name, int index);
int GetColumnInt(int slot, const char* name);
int GetColumnIntIdx(int slot, const char* name, int index);
double GetColumnDouble(int slot, const char* name);
double GetColumnDoubleIdx(int slot, const char* name, int index);
long GetColumnLong(int slot, const char* name);
long GetColumnLongIdx(int slot, const char* name, int index);
void SetColumnText(int slot, const char* name, const char* value);
void SetColumnTextIdx(int slot, const char* name, int index, const char* value);
void SetColumnChar(int slot, const char* name, char value);
void SetColumnCharIdx(int slot, const char* name, int index, char value);
void SetColumnInt(int slot, const char* name, int value);
void SetColumnIntIdx(int slot, const char* name, int index, int value);
void SetColumnDouble(int slot, const char* name, double value);
void SetColumnDoubleIdx(int slot, const char* name, int index, double value);
void SetColumnLong(int slot, const char* name, long value);
void SetColumnLongIdx(int slot, const char* name, int index, long value);
// 0 within range, -1 below the minimum, -2 above the maximum, -3 absent
// (all quiet).
int CheckColumnRange(int slot, const char* name, const char* value, const char* minimum,
                     const char* maximum);
// 0 set, -1 no such column (quiet).
int SetColumnFromText(int slot, const char* name, const char* text);
// Shared buffer, valid until the next call of either.
const char* GetColumnAsText(int slot, const char* name);
// GetColumnAsText of the column at a position (from 1; "" when outside the
// slot): a text column's own value, valid until the record changes, or a
// number in the shared buffer. Code that reads every column of many rows
// finds the positions once.
const char* GetColumnAsTextByPosition(int slot, int position);
const char* FormatColumnForDisplay(int slot, const char* name);
void db_clear(int slot);
// Copies the current record of `source` into `destination` column by column
// in order, converted to the destination's types; columns of the destination
// beyond the source's are cleared.
void CopySlotRecord(int destination, int source);
void CopyRecordColumns(int destination, int source);

// ---- Navigation, search and writes -------------------------------------------------

// Positioning: 0 the record holds the row, -1 no such row (quiet) or a
// failure (reported: an undefined key, a statement the database refuses).
// The slot then reads on from the row in the order asked for.
int db_toppos(int slot, const char* order);
int db_tfind(int slot, int keyNumber);
int db_endpos(int slot, const char* order);
int db_efind(int slot, int keyNumber);
int db_search(int slot, const char* value, const char* column);
int db_search_key(int slot, const char* value, int keyNumber);
int db_search_where(int slot, const char* condition, const char* order);
// The next (previous) row: 0, -1 past the end or before the start, or after
// a search that failed (quiet), or a failure (reported).
int db_nread(int slot);
int db_pread(int slot);
// Moves `count` rows on (back for a negative count) as that many db_nread
// (db_pread) calls would, stopping where one fails, but the record takes
// only the row it stops on. The number of rows moved.
int db_step(int slot, int count);
// Runs the SELECT again ordered by the key, fetching nothing: 0, -1
// (reported).
int ResortSlot(int slot, int keyNumber);
// Writes the SELECT ordered by the key into the statement buffer: 0, -1 an
// undefined key (reported) or a number outside 1 to 24 (quiet).
int SetSlotKeyOrder(int slot, int keyNumber);
// Modes of db_find_key: which row of the slot in key order it finds by the
// key's last column compared with the value.
constexpr int kFindKeyEqual = 1;         // the first row equal to it
constexpr int kFindKeyBelow = 2;         // the last row below it
constexpr int kFindKeyAbove = 3;         // the first row above it
constexpr int kFindKeyEqualOrBelow = 4;  // the last row equal or below
constexpr int kFindKeyEqualOrAbove = 5;  // the first row equal or above
// 0 found, -1 no such row or an unknown mode (quiet; the record is cleared)
// or a failure (reported). The database orders and compares.
int db_find_key(int mode, int slot, const char* value, int keyNumber);
int db_find_key_first(int slot, const char* value, int keyNumber);
int db_find_key_below(int slot, const char* value, int keyNumber);
int db_find_key_above(int slot, const char* value, int keyNumber);
// Equal, else below (above): as db_find_key.
int db_find_key_or_below(int slot, const char* value, int keyNumber);
int db_find_key_or_next(int slot, const char* value, int keyNumber);
// The number of rows the slot's SELECT selects, or -1 (reported). The slot
// positions again before reading rows.
int db_count(int slot);
// db_search_key with the text of `column` of `sourceSlot` (at most 31
// bytes): its result, which GetSearchResult keeps.
int SearchByColumnValue(int slot, int keyNumber, int sourceSlot, const char* column);
int GetSearchResult();
// Adds the record as a new row: 0, or -1 (reported; also for a text that
// was read only in part and would lose the rest).
int db_add(int slot);
// Writes the columns whose values differ from the current row as read: 0
// (also when none differs), or -1 (no current row, row gone, refused;
// reported).
int db_update(int slot);
// db_update with only the driver's report on failure: 0 / -1.
int UpdateCurrentRow(int slot);
// Deletes the current row and clears the record: 0, or -1 (reported).
int db_delete(int slot);
// Runs one statement: 0, or -1 (reported, a missing table too).
int db_exec(int slot, const char* sql);
// The batch reader: 0 / -1 (reported); BindNextBatchColumn's -1 for an
// unknown type is quiet; FetchNextBatch gives the rows fetched, 0 at the
// end (quiet), -1 (reported).
int OpenBatchRead(int slot, const char* order);
int BindNextBatchColumn(int type, void* buffer, int size);
int FetchNextBatch(int slot);

// ---- Tables, columns and views ------------------------------------------------------

// Creates a table from its specification: 0 (also when it is there
// already), -1 (reported).
int CreateTableFromSpec(const char* folder, const char* database, const char* table, int kind,
                        const char* specFile, const char* section);
int CreateTableFromSlot(int slot, const char* table);
// Creates the index of a key: 0 (also for a key its .SPC file lacks,
// after a message), -1 the database refused (reported).
int CreateKeyIndex(int slot, int keyNumber);
// Schema statements: 0 done, -1 (reported).
int DropKeyIndex(int slot, int keyNumber);
// 0 dropped, -1 (reported; a table that is not there: quiet).
int DropTable(int slot, const char* table);
int DropTableByName(const char* folder, const char* database, const char* table);
int DropTableByConnect(const char* folder, const char* database, const char* table, int kind);
// The column's number (from 1) in the table, -1 when it is not there or the
// table is missing (quiet).
int FindDbColumnNumber(int slot, const char* column);
int AddTableColumn(int slot, int type, const char* column, int length);
int AlterTextColumnLength(int slot, const char* column, int length);
int AlterTableColumnType(int slot, const char* column, int type, int length);
int DropTableColumn(int slot, const char* column);
// Deletes the rows whose last column of the current key lies between the
// two values (taken as parameters): 0, -1 (reported).
int DeleteRowsInKeyRange(int slot, const char* from, const char* to);
// 0 the table has all the slot's columns, -1 some or all are missing
// (reported).
int CheckTableStructure(int slot);
// The slot's SELECT becomes "select * from <table> " and the formatted text
// (printf's format, often empty).
void SetSlotSelect(int slot, const char* format, ...);
// Column 1 of the last row `statement` gives, as a number; -1 (reported).
int CountRows(int slot, const char* statement);
// Creates a view (dropping it first with `dropFirst` 1): 0, -1 a statement
// without "view" (quiet) or a failure (reported).
int CreateView(const char* database, int dropFirst, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// SqlTblSet of the file name of `path`: as SqlTblSet.
int SqlTblSetByName(const char* unused, const char* path);
// Keeps the writes of a slot together: after BeginTableTransaction (0, or
// -1 reported) every write of the slot waits for EndTableTransaction, which
// commits them (`commit` true) or gives them all up. Its result: 0, or -1
// reported (a commit that failed rolled back). The slot's cursor is closed
// by the end: callers position it again.
int BeginTableTransaction(int slot);
int EndTableTransaction(int slot, bool commit);
// Always 0: the discard and keep hooks of a list that closes.
int BeginSlotTransaction(int slot);
int CommitSlotTransaction(int slot);
int RollbackSlotTransaction(int slot);
// Always 0.
int GetSlotSortKey(int slot);
