// The database layer: every table of the program is used through a table
// slot (1 to 24) that owns one ODBC connection and statement, its columns
// bound into the process-wide column table and addressed by name. The file
// database (kind 1) is an SQLite file, the server database (kind 2) a
// PostgreSQL database, kind 4 a data source of the database's name, and
// kind 3 no database at all. The program's text is Shift-JIS; the layer
// converts to and from the databases' UTF-8 at the ODBC boundary.
//
// Every operation reports its own failure once in a message box and returns
// -1; callers do not report again. GUI thread only.
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

// Reads OCR.INI and allocates the ODBC environment.
void db_init();
// Closes every slot, frees the environment and the layer's buffers.
void db_term();
// Resets every slot, sets the defaults and reads "OCR.INI" of the current
// folder; the default folder follows from the program folder. Returns 0.
int ReadOcrIni();
void FreeDbBuffers();
// The settings as read and changed by the setters below.
const OcrIniSettings& GetOcrIniSettings();

void SetDbLogin(const char* user, const char* password);
// Copies server, user and password (room kIniTextSize each).
void GetDbConnectInfo(char* server, char* user, char* password);
void SetDbServer(int kind, int version, const char* server);
void SetOmrDbName(const char* name);
void SetDbFolder(const char* path);
const char* GetDbFolder();
int GetDefaultDbKind();
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

// Connects a slot whose kind and database name db_connect has set: 0 / -1.
int db_driver_connect(int slot, const char* folder);
// Registers the data source of a file database when the driver manager does
// not know it yet.
void RegisterDsnIfMissing(int slot, const char* folder, const char* dbPath);
// Asks and creates the missing server database of a slot: 0 / -1.
int CreateServerDatabase(int slot);
// Reports the last error of the slot's statement: 0 for the states that are
// no failure (the flags below tell the caller more), -1 after a message.
int db_error(int slot, const char* operation);
// Runs `sql` on the slot's statement: 0 done, 1 an ignored state (a table
// that exists already), -1 failed (reported unless `quiet` is 1).
int ExecSlotSql(int slot, const char* sql, int quiet);
// Fetches in `direction`: 0 a row, -1 none (quiet) or an error (reported).
int FetchSlotRow(int slot, int direction);
// Flags of the last statement: a missing table, a table in use, a missing
// column.
bool DbTableMissing();
bool DbTableInUse();
bool DbFieldMissing();

// ---- Table slots -------------------------------------------------------------

int db_alloc_slot(const char* folder, const char* database, const char* table, int kind);
int db_connect(int slot, const char* folder, const char* database, const char* table, int kind);
int db_select(int slot, const char* select);
int BindSlotColumns(int slot);
// 0 bound, 1 skipped (a type without a buffer), -1 the column table is full.
int BindDescribedColumn(int slot, int position, int sqlType, const char* name, int size);
int db_open_query(const char* folder, const char* database, const char* table, int kind,
                  const char* specFile, const char* section, const char* select, int createMode);
// Open a table and select the formatted SELECT (empty: the whole table);
// slot or -1. Kind -1 (and -2) is the default kind. The format is printf's;
// it is not declared so because the empty format is the usual one.
int db_open(const char* folder, const char* database, const char* table, int kind,
            const char* specFile, const char* section, const char* format, ...);
int db_open_nocreate(const char* folder, const char* database, const char* table, int kind,
                     const char* specFile, const char* section, const char* format, ...);
int db_open_default(const char* database, const char* table, const char* format, ...);
int db_open_default_nocreate(const char* database, const char* table, const char* format, ...);
int db_close(int slot);
int db_close_stmt(int slot);
int db_disconnect(int slot);
int CloseSpecSlot(int slot);
void ResetSlot(int slot);
void ReleaseSlotColumns(int slot);
int CheckSlotOpen(int slot);
int CheckSlotSelected(int slot);
int GetSlotConnState(int slot);
int GetSlotKind(int slot);
int GetSlotColumnCount(int slot);
// Copy the table name into `out` (room kSlotNameSize): 0, -1 for a free slot
// (NonEmpty: also for an empty name).
int GetSlotTableName(int slot, char* out);
int GetSlotTableNameNonEmpty(int slot, char* out);
int FindSlotBySectionName(const char* section);
int GetLastReadDirection();
void SetSlotUserPointer(int slot, void* pointer);
void SetSlotFlag(int slot);

// ---- Specification files and the column table --------------------------------

int SqlTblSet(const char* section, const char* specFile);
int LoadTableSpec(int slot, const char* folder, const char* section, const char* specFile);
// Key `keyNumber` (from 1) of the slot: plain and table-qualified column
// lists; they become the slot's current key lists. 0 / -1.
int GetKeyColumnList(int slot, int keyNumber, std::string& plain, std::string& qualified);
// The last column of key `keyNumber` (from 0): 0 / -1.
int GetKeyColumns(int slot, std::string& column, int keyNumber);

int FindColumn(int slot, const char* name);
int FindColumnIdx(int slot, const char* name, int index);
int FindColumnQuiet(int slot, const char* name);
int GetColumnType(int slot, const char* name);
int GetColumnTypeQuiet(int slot, const char* name);
int GetColumnLength(int slot, const char* name);
int GetColumnWidth(int slot, const char* name);
int GetColumnFlag(int slot, const char* name);
int CountColumnsWithPrefix(int slot, const char* prefix);
// Names (types, lengths) of the slot's columns joined by ","; the count.
int GetSlotColumnNames(int slot, std::string& names);
int GetSlotColumnLists(int slot, std::string& names, std::string& types, std::string& lengths);
// Position from 1: 0, or 1 when the position is outside the slot.
int GetColumnInfoByPosition(int slot, int position, std::string& name, int* length, int* type);
const char* GetColumnNameByPosition(int slot, int position);
int GetColumnLengthByPosition(int slot, int position);
int GetColumnTypeByPosition(int slot, int position);

// Values of the current record by column name (and index: "%s%02d" below
// 100, "%s%03d" from 100). An absent column reads as "" or 0 and takes no
// value. Numbers and texts convert into each other.
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
// 0 within range, -1 below the minimum, -2 above the maximum, -3 absent.
int CheckColumnRange(int slot, const char* name, const char* value, const char* minimum,
                     const char* maximum);
int SetColumnFromText(int slot, const char* name, const char* text);
// Shared buffer, valid until the next call of either.
const char* GetColumnAsText(int slot, const char* name);
const char* FormatColumnForDisplay(int slot, const char* name);
void db_clear(int slot);
// Copies the current record of `source` into `destination` column by column
// in order, converted to the destination's types; columns of the destination
// beyond the source's are cleared.
void CopySlotRecord(int destination, int source);
void CopyRecordColumns(int destination, int source);

// ---- Navigation, search and writes -------------------------------------------------

int db_toppos(int slot, const char* order);
int db_tfind(int slot, int keyNumber);
int db_endpos(int slot, const char* order);
int db_efind(int slot, int keyNumber);
int db_search(int slot, const char* value, const char* column);
int db_search_key(int slot, const char* value, int keyNumber);
int db_search_where(int slot, const char* condition, const char* order);
int db_nread(int slot);
int db_pread(int slot);
int ResortSlot(int slot, int keyNumber);
int SetSlotKeyOrder(int slot, int keyNumber);
// Modes of db_find_key: which row of the slot in key order it finds by the
// key's last column compared with the value.
constexpr int kFindKeyEqual = 1;         // the first row equal to it
constexpr int kFindKeyBelow = 2;         // the last row below it
constexpr int kFindKeyAbove = 3;         // the first row above it
constexpr int kFindKeyEqualOrBelow = 4;  // the last row equal or below
constexpr int kFindKeyEqualOrAbove = 5;  // the first row equal or above
int db_find_key(int mode, int slot, const char* value, int keyNumber);
int db_find_key_first(int slot, const char* value, int keyNumber);
int db_find_key_below(int slot, const char* value, int keyNumber);
int db_find_key_above(int slot, const char* value, int keyNumber);
int db_find_key_or_below(int slot, const char* value, int keyNumber);
int db_find_key_or_next(int slot, const char* value, int keyNumber);
int db_count(int slot);
int SearchByColumnValue(int slot, int keyNumber, int sourceSlot, const char* column);
int GetSearchResult();
int db_add(int slot);
int db_update(int slot);
int UpdateCurrentRow(int slot);
int db_delete(int slot);
int db_exec(int slot, const char* sql);
int OpenBatchRead(int slot, const char* order);
int BindNextBatchColumn(int type, void* buffer, int size);
int FetchNextBatch(int slot);

// ---- Tables, columns and views ------------------------------------------------------

int CreateTableFromSpec(const char* folder, const char* database, const char* table, int kind,
                        const char* specFile, const char* section);
int CreateTableFromSlot(int slot, const char* table);
int CreateKeyIndex(int slot, int keyNumber);
int DropKeyIndex(int slot, int keyNumber);
int DropTable(int slot, const char* table);
int DropTableByName(const char* folder, const char* database, const char* table);
int DropTableByConnect(const char* folder, const char* database, const char* table, int kind);
int FindDbColumnNumber(int slot, const char* column);
int AddTableColumn(int slot, int type, const char* column, int length);
int AlterTextColumnLength(int slot, const char* column, int length);
int AlterTableColumnType(int slot, const char* column, int type, int length);
int DropTableColumn(int slot, const char* column);
int DeleteRowsInKeyRange(int slot, const char* from, const char* to);
int CheckTableStructure(int slot);
// The slot's SELECT becomes "select * from <table> " and the formatted text
// (printf's format, often empty).
void SetSlotSelect(int slot, const char* format, ...);
int CountRows(int slot, const char* statement);
int CreateView(const char* database, int dropFirst, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
int SqlTblSetByName(const char* unused, const char* path);
int BeginSlotTransaction(int slot);
int CommitSlotTransaction(int slot);
int RollbackSlotTransaction(int slot);
int GetSlotSortKey(int slot);
