// Records and helpers shared by the files of the database layer; other
// subsystems include foundation/db.h only.
#pragma once

#include <windows.h>
#include <sql.h>
#include <sqlext.h>

#include <cstdarg>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "foundation/db_sql.h"

constexpr int kSlotFree = -9;
constexpr int kSlotFromSpec = 1;   // taken by SqlTblSet: columns, no SELECT
constexpr int kSlotAllocated = 2;  // taken by db_alloc_slot

constexpr int kConnClosed = 0;
constexpr int kConnCreating = 1;
constexpr int kConnConnected = 2;
constexpr int kConnSelected = 3;

// Statements prepared for the writes of one slot, made on first use and
// dropped with the slot's columns.
struct SlotWriter {
  SQLHSTMT insert = SQL_NULL_HSTMT;
  SQLHSTMT update = SQL_NULL_HSTMT;
  SQLHSTMT remove = SQL_NULL_HSTMT;
  // The columns whose values the prepared UPDATE (DELETE: none) writes.
  std::vector<int> updateEntries;
  std::vector<int> removeEntries;
  // Column-table entries of the table's primary key, read on first use;
  // empty when the table has none (rows are then found by all their values).
  std::vector<int> keyEntries;
  bool keyKnown = false;
};

// The rows a slot's cursor has handed out so far, kept in the database's
// form (db_cursor.cpp).
struct RowCursor {
  std::vector<std::unique_ptr<char[]>> blocks;  // the rows read, in blocks
  std::vector<int> order;  // the stored row at each position (deleted ones drop out)
  size_t stored = 0;       // rows stored in the blocks
  size_t rowSize = 0;
  size_t rowsPerBlock = 1;
  size_t blockBytes = 0;   // bytes of each block
  // The block the driver fetches into (bound row by row) and its row states.
  std::unique_ptr<char[]> staging;
  std::vector<SQLUSMALLINT> rowStatus;
  int count = 0;           // positions: order.size()
  int position = -1;         // the current row; -1 before the first, count after the last
  bool betweenRows = false;  // the current row was deleted: the next one stands at position
  bool complete = false;     // the driver has no more rows
  bool failed = false;       // the driver failed on the row after the kept ones
};

struct TableSlot {
  int allocState = kSlotFree;
  int connState = kConnClosed;
  int kind = kDbKindFile;
  int specKind = 0;
  SQLHDBC connection = SQL_NULL_HDBC;
  SQLHSTMT statement = SQL_NULL_HSTMT;
  int connected = 0;
  char sectionName[kSlotNameSize] = "";
  char tableName[kSlotNameSize] = "";
  char dbName[kSlotNameSize] = "";
  std::string keyText;
  int keyCount = 0;
  std::string keyList;           // current key, plain
  std::string keyListQualified;  // current key, each column after "table."
  std::string select;
  // The select list every SELECT of the slot runs with, its REALs as exact
  // texts where the driver rounds them; empty: the SELECT's own.
  std::string exactList;
  int firstColumn = 0;
  int lastColumn = 0;
  int lookupHint = 0;  // entry found by the last search by name
  int lastIndex = -1;
  void* userPointer = nullptr;
  int flag = 0;
  // How the connected database speaks; null while not connected.
  const SqlDialect* dialect = nullptr;
  bool columnsBound = false;  // SQLBindCol done on the statement
  // The SELECT prepared on the statement (its values as parameters), run
  // again without preparing while the navigation asks for the same one.
  std::string preparedSql;
  std::vector<char> parameter;  // the value of its parameter, UTF-8
  bool parameterBound = false;
  bool hasRow = false;        // the bound values hold a fetched row
  RowCursor cursor;
  SlotWriter writer;
};

// Slots 1 to 24; entry 0 is the scratch slot of a specification read.
extern TableSlot g_tableSlots[kMaxTableSlots + 1];

union ColumnNumber {
  int16_t shortValue;
  int32_t longValue;
  double doubleValue;
};

// One bound column of an open slot. The value is the program's (Shift-JIS);
// the fetched copy is the database's (UTF-8) and stays as fetched, so writes
// find their row by it and write only what differs from it.
enum class TextCut : char { kWhole, kOnRead, kOnSet };

struct ColumnEntry {
  int slot = 0;  // 0 while the entry is free
  std::string name;
  int type = 0;
  int length = 0;          // declared: Shift-JIS bytes of a text
  std::vector<char> text;  // TextRoom of the type and length, terminator included
  ColumnNumber number{};
  SQLLEN indicator = 0;    // SQL_NULL_DATA while the value is null
  // The value holds only the start of a text: as read (only a database that
  // keeps longer texts than it declares has such) or as set by a caller. Such
  // a value is written nowhere, since the rest of the text would be lost.
  TextCut cut = TextCut::kWhole;
  char flag = '\0';
  int width = 0;
  int decimals = 0;
  // The result column the entry is bound to (from 1); a REAL the driver
  // would round comes there as its exact text (ExactDoubleText).
  int resultColumn = 0;
  bool exactText = false;
  std::vector<char> fetchedText;  // bound to the cursor: the text, or a REAL's exact text
  ColumnNumber fetchedNumber{};
  SQLLEN fetchedIndicator = 0;
  std::vector<char> paramText;    // a write's value in the database's encoding
  SQLLEN paramIndicator = 0;
};

extern ColumnEntry g_columns[kMaxColumnEntries];

// The environment of the process (null when SQLAllocEnv failed).
extern SQLHENV g_dbEnvironment;
extern OcrIniSettings g_ocrIni;
// The statement that navigation and the schema operations build.
extern std::string g_sqlBuffer;
// Name of the running navigation operation, for fetch messages.
extern const char* g_navigationName;

// True for slot numbers 1 to 24.
inline bool IsSlotNumber(int slot) { return slot >= 1 && slot <= kMaxTableSlots; }

// ---- db_encoding.cpp: Shift-JIS <-> UTF-8 at the ODBC boundary ----
std::string ToDbText(const char* text);
std::string ToDbText(const char* text, size_t length);
// Converts into `out` (room `room` bytes), cut at a character boundary.
void ToDbTextBuffer(const char* text, char* out, int room);
// Converts `length` bytes of UTF-8 into `out` (room `room` bytes), cut at a
// character boundary; an incomplete character at the end is dropped. False
// when the text was cut.
bool FromDbText(const char* text, size_t length, char* out, int room);
std::string FromDbText(const char* text);
// Room of the UTF-8 form of a Shift-JIS text of `length` bytes, or of
// `length` characters of code page 932, terminator included.
constexpr int DbTextRoom(int length) { return 3 * length + 1; }
// Bytes of the program's value of a column, terminator not included: a
// declared text length counts Shift-JIS bytes, as the program's files and
// screens size their texts (the databases count characters and would take
// a longer text whole).
constexpr int TextRoom(int type, int length) { return type == kColumnChar ? 1 : length; }

// ---- db_errors.cpp ----
struct DriverError {
  char state[6];
  long native;
  std::string message;  // converted to Shift-JIS
};
// The first diagnostic of a statement (or of the slot's connection when the
// statement is null).
DriverError ReadDriverError(int slot, SQLHSTMT statement);
// Sets the flag a driver error stands for (a missing table, a table in use,
// a missing column) and returns what it is; shows nothing.
DbErrorClass NoteDriverError(int slot, const DriverError& error);
// db_error for an error read already: 0 / -1 as db_error.
int ReportDriverError(int slot, const DriverError& error, const char* operation);
// Every statement starts with the flags clear: they tell of the last one.
void ClearDbFlags();
// Reports an error the layer finds itself (no driver state), as db_error
// does for "any other" state.
void ReportLayerError(int slot, const char* operation, const char* state, const char* message);
// Reports the last error of a statement other than the slot's own.
int ReportStatementError(int slot, SQLHSTMT statement, const char* operation);
// What a statement's failure shows (the `quiet` of the calls below; the
// first two are ExecSlotSql's 0 and 1).
constexpr int kReportButMissingTable = 0;  // a missing table is the caller's to tell
constexpr int kReportNothing = 1;
constexpr int kReportAll = 2;
// Runs a statement on a handle of the slot's connection with the slot's
// error policy: 0 done, 1 an ignored state, -1 failed (reported as `quiet`
// says).
int ExecOnStatement(int slot, SQLHSTMT statement, const std::string& sql, int quiet);
// As ExecOnStatement, with `values` bound in turn to the statement's "?".
int ExecWithValues(int slot, SQLHSTMT statement, const std::string& sql, const std::vector<std::string>& values,
                   int quiet);
// ExecSlotSql with `values` bound in turn to the statement's "?".
int ExecSlotSqlWith(int slot, const std::string& sql, const std::vector<std::string>& values, int quiet);
// The policy of ExecSlotSql for the result `rc` of running `sql`.
int StatementResult(int slot, SQLHSTMT statement, SQLRETURN rc, const std::string& sql, int quiet);

// The end of a fetch that moved the slot's cursor with result `rc`: the row
// taken into the record (0), none (-1, quiet) or the failure reported (-1).
int TakeCursorRow(int slot, SQLRETURN rc);

// ---- db_slots.cpp ----
// A printf-style text of any length.
std::string FormatText(const char* format, va_list args);

// ---- db_settings.cpp ----
// `name`, or the second name of the name pair when `name` is its first.
const char* ReplaceByNamePair(const char* name);

// ---- db_connect.cpp ----
// Host path of a Windows path when running under Wine (whose kernel32 has
// wine_get_unix_file_name), the full Windows path elsewhere; UTF-8 either
// way.
std::string HostPath(const char* path);
// The dialect of a connection by the DBMS its driver names.
const SqlDialect* QueryDialect(SQLHDBC connection);
void DisconnectSlot(int slot);

// ---- db_columns.cpp ----
int HighestLastColumn();
// Adds an entry for `slot` after its last one (or as its first, above all
// entries in use): the entry, or -1 with the message when the table is full.
// `errorBox` chooses the error box (specification files) over the
// information box (described columns).
int AddColumnEntry(int slot, const char* name, int type, int length, bool errorBox);
// Frees the slot's entries (and the writes prepared over them).
void FreeSlotEntries(int slot);
// Entry of `name` in the slot (ASCII case ignored), -1 when absent.
int LookupColumn(int slot, const char* name);
// Column names compare with ASCII case ignored, double-byte characters
// exactly.
bool SameColumnName(const char* a, const char* b);
void ClearEntryValue(ColumnEntry& entry);
// Value of an entry from a text / into a text.
void SetEntryFromText(ColumnEntry& entry, const char* text);
std::string EntryAsText(const ColumnEntry& entry);

// ---- db_binding.cpp ----
// The C type a column's value is bound as.
SQLSMALLINT CTypeOfColumn(int type);
// Binds every column of the slot to the slot's statement (once per statement).
int BindFetchBuffers(int slot);
// Moves the fetched values of the slot into its record.
void TakeFetchedRow(int slot);
// The fetched text of a text column in the program's form, into `out` (room
// of the column's value); false when it was cut on the way.
bool FetchedTextAsProgram(const ColumnEntry& e, char* out);
// Drops the prepared write statements of the slot.
void ReleaseSlotWriter(int slot);

// ---- db_slots.cpp ----
// Bytes of the exact text of a REAL, terminator included.
constexpr int kExactDoubleRoom = 32;
// Takes the first free slot into `allocState`, without columns or names:
// the slot, or -1 after the message that all 24 are in use.
int TakeFreeSlot(int allocState);
void SetLastReadDirection(int direction);
// A described column name in the program's text (upper case where the
// database folds names to lower case).
std::string DescribedName(const SQLCHAR* raw, const SqlDialect* dialect);

// A slot whose driver rounds REALs reads its REAL columns through exact
// texts appended to its SELECT (ExactDoubleText): true when it has such
// columns now. `resultNames` are the described result columns.
bool SetUpExactDoubles(int slot, const std::vector<std::string>& resultNames);
// Back to reading the REALs as the driver gives them.
void DropExactDoubles(int slot);

// ---- db_rebuild.cpp ----
// Rebuilds the slot's table with `column` of the type `typeWord`: 0 / -1.
int RebuildWithColumnType(int slot, const char* column, const std::string& typeWord);
// Runs `alter`, a change of the slot's table on the server database, with
// the views that read the table dropped before and made again after, in one
// transaction: 0 / -1.
int AlterBesideServerViews(int slot, const std::string& alter);

// ---- db_cursor.cpp ----
// Binds the slot's columns row by row to the block its cursor fetches into.
SQLRETURN BindCursorRows(int slot);
// Drops the binding of the slot's columns (another result comes): its
// statement fetches single rows by column again.
void UnbindCursorRows(int slot);
// Forgets the kept rows (a new result is there).
void ResetSlotCursor(int slot);
// Moves the cursor (kFetch...) and puts the row into the columns' fetched
// buffers: SQL_SUCCESS, SQL_NO_DATA, or the driver's failure.
SQLRETURN MoveSlotCursor(int slot, int direction);
// Moves the cursor to the row at `index` (from 0) as MoveSlotCursor does;
// SQL_NO_DATA leaves it after the last row.
SQLRETURN MoveSlotCursorTo(int slot, int index);
// Moves the cursor `count` rows on (back when negative) as that many single
// moves would, into `moved` the rows it moved: only the row it stops on is
// put into the fetched buffers. SQL_SUCCESS when it moved them all, else the
// result of the move that failed (the buffers hold the last row passed).
SQLRETURN StepSlotCursor(int slot, int count, int* moved);
// The current row was written (it is kept as written) or deleted.
void KeepWrittenRow(int slot);
void DropCurrentRow(int slot);

// ---- db_navigate.cpp ----
// Clears the record and executes `sql` (with the slot's exact list) as
// the slot's cursor, its one "?" taking `value` when given; with `bind` the
// columns are bound to it. 0, or -1 reported as `quiet` says.
int RunSlotQuery(int slot, bool bind, const std::string& sql, const char* value,
                 int quiet = kReportButMissingTable);
// RunSlotQuery of g_sqlBuffer.
int RunSlotSelect(int slot, bool bind);
// The slot's SELECT with its ORDER BY replaced; it becomes the slot's SELECT
// and the text of g_sqlBuffer.
void SetSlotOrder(int slot, const std::string& order);
// The qualified column list of key `keyNumber` (from 0): 0, or -1 after the
// message that the key is not defined.
int KeyOrder(int slot, int keyNumber, std::string& order);
