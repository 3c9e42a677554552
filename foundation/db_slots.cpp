// Table slots: taking and giving back the 24 slots, connecting them, running
// a slot's SELECT and binding its columns, and the open operations every
// subsystem calls.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "foundation/bounded_format.h"
#include "foundation/db_internal.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"

TableSlot g_tableSlots[kMaxTableSlots + 1];

namespace {

int g_lastReadDirection = 1;

// Column type and text length of a described SQL type; false for a type the
// column table keeps no buffer for.
bool ColumnTypeOf(int sqlType, int size, int& type, int& length) {
  length = size;
  switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
      type = kColumnText;
      if (size < 1 || size > kMaxTextLength) length = 512;
      return true;
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR:
      type = kColumnText;
      length = 512;
      return true;
    case SQL_INTEGER:
      type = kColumnLong;
      return true;
    case SQL_SMALLINT:
      type = kColumnShort;
      return true;
    case SQL_DOUBLE:
    case SQL_FLOAT:
    case SQL_REAL:
      type = kColumnDouble;
      return true;
    default:
      return false;
  }
}

// The open family: db_open_query, then the keys once more from the
// specification folder.
int OpenFormatted(const char* folder, const char* database, const char* table, int kind,
                  const char* specFile, const char* section, int createMode, const char* format,
                  va_list args) {
  const int slot = db_open_query(folder, database, table, kind, specFile, section,
                                 FormatText(format, args).c_str(), createMode);
  if (slot > 0) LoadTableSpec(slot, "", section, specFile);
  return slot;
}

void CopyName(char* out, const char* name) { FormatTextBounded(out, kSlotNameSize, "%s", name); }

// The database name with every "\" and "#" removed.
std::string StripPathMarks(const char* name) {
  std::string stripped;
  for (const char* p = name; *p; p += SjisCharLength(p)) {
    const int length = SjisCharLength(p);
    if (length == 1 && (*p == '\\' || *p == '#')) continue;
    stripped.append(p, length);
  }
  return stripped;
}

// An alias word ("OMRDBS" or "omrdbs") replaced by its configured database.
void ReplaceAlias(std::string& name, const char* upper, const char* lower, const char* setting) {
  if (setting[0] && (name == upper || name == lower)) name = setting;
}

}  // namespace

std::string FormatText(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(length > 0 ? length : 0, '\0');
  if (length > 0) std::vsnprintf(text.data(), length + 1, format, args);
  return text;
}

std::string DescribedName(const SQLCHAR* raw, const SqlDialect* dialect) {
  std::string name = FromDbText(reinterpret_cast<const char*>(raw));
  // Names the server folds to lower case come back as the program writes
  // them.
  if (dialect && dialect->foldsNamesToLower) {
    for (size_t i = 0; i < name.size(); i += SjisCharLength(name.c_str() + i)) {
      if (name[i] >= 'a' && name[i] <= 'z') name[i] = static_cast<char>(name[i] - 'a' + 'A');
    }
  }
  return name;
}

int TakeFreeSlot(int allocState) {
  int slot = 1;
  while (slot <= kMaxTableSlots && g_tableSlots[slot].allocState != kSlotFree) ++slot;
  if (slot > kMaxTableSlots) {
    ShowErrorMessage("DATA-BASE", "%d を越えるﾃｰﾌﾞﾙはｵｰﾌﾟﾝできません。", kMaxTableSlots);
    return -1;
  }
  TableSlot& s = g_tableSlots[slot];
  FreeSlotEntries(slot);
  s.allocState = allocState;
  s.specKind = 0;
  s.sectionName[0] = '\0';
  s.tableName[0] = '\0';
  return slot;
}

int db_alloc_slot(const char* folder, const char* database, const char* table, int kind) {
  const int slot = TakeFreeSlot(kSlotAllocated);
  if (slot < 0) return -1;
  TableSlot& s = g_tableSlots[slot];
  if (db_connect(slot, folder, database, table, kind) != 0) {
    s.allocState = kSlotFree;
    return -1;
  }
  return slot;
}

int db_connect(int slot, const char* folder, const char* database, const char* table, int kind) {
  TableSlot& s = g_tableSlots[slot];
  s.select.clear();
  if (kind < 0) kind = GetDefaultDbKind();
  if (s.specKind > 0) kind = s.specKind;
  s.kind = kind;
  CopyName(s.tableName, table);

  std::string name = StripPathMarks(database);
  ReplaceAlias(name, "CMIDBS", "cmidbs", g_ocrIni.cmiDbName);
  ReplaceAlias(name, "SFADBS", "sfadbs", g_ocrIni.sfaDbName);
  ReplaceAlias(name, "PLNDBS", "plndbs", g_ocrIni.plnDbName);
  ReplaceAlias(name, "OMRDBS", "omrdbs", g_ocrIni.omrDbName);
  name = ReplaceByNamePair(name.c_str());
  CopyName(s.dbName, name.empty() ? table : name.c_str());

  if (s.connState == kConnConnected) {
    DisconnectSlot(slot);
    s.connState = kConnClosed;
  }
  const char* where = *folder || kind == kDbKindNone ? folder : GetDbFolder();
  if (db_driver_connect(slot, where) != 0) return -1;
  s.connState = kConnConnected;
  return 0;
}

int db_select(int slot, const char* select) {
  TableSlot& s = g_tableSlots[slot];
  if (s.connState == kConnSelected) {
    ShowInfoMessage("", "セレクトバッファを開放します。");
    const int allocState = s.allocState;
    db_close_stmt(slot);
    s.allocState = allocState;
  }
  if (s.connState != kConnConnected) {
    ShowErrorMessage("DATA-BASE", "テーブル %s はオープンされていません。(No.%d)", s.tableName, slot);
    return -1;
  }
  ClearDbFlags();
  s.select = select;
  s.exactList.clear();
  g_sqlBuffer = WithoutOrderBy(s.select);

  if (s.kind != kDbKindNone) {
    if (s.statement == SQL_NULL_HSTMT && !SQL_SUCCEEDED(SQLAllocStmt(s.connection, &s.statement))) {
      return db_error(slot, "SQLAllocStmt()") == 0 ? 0 : -1;
    }
    // One execution serves the description and the first fetches: the
    // cursor options are set before it.
    if (RunSlotSelect(slot, false) != 0) return -1;
    SQLSMALLINT count = 0;
    SQLNumResultCols(s.statement, &count);
    int position = 0;
    std::vector<std::string> resultNames;
    for (SQLUSMALLINT column = 1; column <= count; ++column) {
      SQLCHAR name[256];
      SQLSMALLINT nameLength = 0;
      SQLSMALLINT sqlType = 0;
      SQLULEN size = 0;
      SQLSMALLINT decimals = 0;
      SQLSMALLINT nullable = 0;
      if (!SQL_SUCCEEDED(SQLDescribeCol(s.statement, column, name, sizeof name, &nameLength, &sqlType,
                                        &size, &decimals, &nullable))) {
        if (db_error(slot, "SQLDescribeCol()") != 0) return -1;
        continue;
      }
      if (sqlType == 0) break;
      resultNames.push_back(DescribedName(name, s.dialect));
      const int rc = BindDescribedColumn(slot, position + 1, sqlType, resultNames.back().c_str(),
                                         static_cast<int>(size));
      if (rc < 0) return -1;
      if (rc == 0) {
        ++position;
        g_columns[s.lastColumn].resultColumn = column;
      }
    }
    // Read again with the exact texts of the REALs; a SELECT they do not
    // suit is read as the driver gives it.
    if (SetUpExactDoubles(slot, resultNames) &&
        RunSlotQuery(slot, false, g_sqlBuffer, nullptr, kReportNothing) != 0) {
      DropExactDoubles(slot);
      if (RunSlotSelect(slot, false) != 0) return -1;
    }
  }
  s.connState = kConnSelected;
  db_clear(slot);
  return s.kind == kDbKindNone ? 0 : BindFetchBuffers(slot);
}

bool SetUpExactDoubles(int slot, const std::vector<std::string>& resultNames) {
  TableSlot& s = g_tableSlots[slot];
  if (!s.dialect || !s.dialect->roundsDoubles) return false;
  std::vector<std::string> items;
  if (!SelectListItems(WithoutOrderBy(s.select), resultNames, items)) return false;
  bool any = false;
  for (int entry = s.firstColumn; s.firstColumn && entry <= s.lastColumn; ++entry) {
    ColumnEntry& e = g_columns[entry];
    if (e.type != kColumnDouble || e.resultColumn < 1) continue;
    // The text takes the item's place under no name of its own: an ORDER BY
    // of the column's name still orders by the column. A name the SELECT
    // gives an item (ORDER BY may use it) has to stay with its value: such a
    // SELECT reads its REALs as the driver gives them.
    std::string& item = items[e.resultColumn - 1];
    if (ItemExpression(item) != item) {
      DropExactDoubles(slot);
      return false;
    }
    item = ExactDoubleText(item);
    e.exactText = true;
    e.fetchedText.assign(kExactDoubleRoom, '\0');
    any = true;
  }
  if (!any) return false;
  for (size_t i = 0; i < items.size(); ++i) s.exactList += (i ? "," : "") + items[i];
  s.preparedSql.clear();
  return true;
}

void DropExactDoubles(int slot) {
  TableSlot& s = g_tableSlots[slot];
  for (int entry = s.firstColumn; s.firstColumn && entry <= s.lastColumn; ++entry) {
    ColumnEntry& e = g_columns[entry];
    if (!e.exactText) continue;
    e.exactText = false;
    e.fetchedText.clear();
  }
  s.exactList.clear();
  s.preparedSql.clear();
}

int BindDescribedColumn(int slot, int position, int sqlType, const char* name, int size) {
  // The first column starts the slot's entries anew, above all in use.
  if (position == 1) FreeSlotEntries(slot);
  int type;
  int length;
  if (!ColumnTypeOf(sqlType, size, type, length)) return 1;
  return AddColumnEntry(slot, name, type, length, false) < 0 ? -1 : 0;
}

int BindSlotColumns(int slot) { return RunSlotSelect(slot, true); }

int db_open_query(const char* folder, const char* database, const char* table, int kind,
                  const char* specFile, const char* section, const char* select, int createMode) {
  int slot = db_alloc_slot(folder, database, table, kind);
  if (slot < 0) return -1;
  const std::string query = *select ? std::string(select) : std::string("select * from ") + table;
  if (db_select(slot, query.c_str()) != 0) {
    const bool missing = DbTableMissing();
    db_disconnect(slot);
    // Only a missing table is created; other failures were reported.
    if (createMode == 0 || !missing) return -1;
    if (CreateTableFromSpec(folder, database, table, kind, specFile, section) != 0) return -1;
    slot = db_alloc_slot(folder, database, table, kind);
    if (slot < 0) return -1;
    if (db_select(slot, query.c_str()) != 0) {
      db_disconnect(slot);
      ShowInfoMessage("", "テーブル“%s-%s”は作成できません。", database, table);
      return -1;
    }
  }
  LoadTableSpec(slot, folder, section, specFile);
  return slot;
}

int db_open(const char* folder, const char* database, const char* table, int kind,
            const char* specFile, const char* section, const char* format, ...) {
  const int mode = kind == -2 ? 2 : 1;
  if (kind < 0) kind = GetDefaultDbKind();
  va_list args;
  va_start(args, format);
  const int slot = OpenFormatted(folder, database, table, kind, specFile, section, mode, format, args);
  va_end(args);
  return slot;
}

int db_open_nocreate(const char* folder, const char* database, const char* table, int kind,
                     const char* specFile, const char* section, const char* format, ...) {
  if (kind < 0) kind = GetDefaultDbKind();
  va_list args;
  va_start(args, format);
  const int slot = OpenFormatted(folder, database, table, kind, specFile, section, 0, format, args);
  va_end(args);
  return slot;
}

int db_open_default(const char* database, const char* table, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int slot = OpenFormatted("", database, table, GetDefaultDbKind(), "", "", 1, format, args);
  va_end(args);
  return slot;
}

int db_open_default_nocreate(const char* database, const char* table, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int slot = OpenFormatted("", database, table, GetDefaultDbKind(), "", "", 0, format, args);
  va_end(args);
  return slot;
}

int db_close(int slot) {
  const int statement = db_close_stmt(slot);
  const int connection = db_disconnect(slot);
  return statement == 0 && connection == 0 ? 0 : -1;
}

int db_close_stmt(int slot) {
  if (!IsSlotNumber(slot)) return -1;
  TableSlot& s = g_tableSlots[slot];
  if (s.allocState == kSlotFree || s.connState == kConnClosed) return -1;
  if (s.allocState != kSlotAllocated) return 0;
  int result = 0;
  if (s.kind != kDbKindNone && s.statement != SQL_NULL_HSTMT) {
    if (!SQL_SUCCEEDED(SQLFreeStmt(s.statement, SQL_DROP))) result = db_error(slot, "SQLFreeStmt()");
    s.statement = SQL_NULL_HSTMT;
    s.columnsBound = false;
    s.hasRow = false;
    s.preparedSql.clear();
  }
  s.connState = kConnConnected;
  ReleaseSlotColumns(slot);
  return result;
}

int db_disconnect(int slot) {
  if (!IsSlotNumber(slot)) return -1;
  TableSlot& s = g_tableSlots[slot];
  if (s.connState == kConnClosed || s.connState == kConnCreating) return -1;
  if (s.connState == kConnSelected) db_close_stmt(slot);
  s.allocState = kSlotFree;
  int result = 0;
  if (s.kind != kDbKindNone && s.connected == 1) {
    ReleaseSlotWriter(slot);
    if (s.statement != SQL_NULL_HSTMT) SQLFreeStmt(s.statement, SQL_DROP);
    s.statement = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLDisconnect(s.connection)) && db_error(slot, "SQLDisconnect()") != 0) result = -1;
    if (!SQL_SUCCEEDED(SQLFreeConnect(s.connection)) && db_error(slot, "SQLFreeConnect()") != 0) result = -1;
    s.connection = SQL_NULL_HDBC;
  }
  DisconnectSlot(slot);
  FreeSlotEntries(slot);
  s.connState = kConnClosed;
  return result;
}

int CloseSpecSlot(int slot) {
  if (!IsSlotNumber(slot)) return -1;
  TableSlot& s = g_tableSlots[slot];
  if (s.allocState == kSlotFree || s.connState == kConnClosed) return -1;
  if (s.allocState != kSlotFromSpec) return 0;
  if (s.kind != kDbKindNone) DisconnectSlot(slot);
  s.connState = kConnClosed;
  return 0;
}

void ReleaseSlotColumns(int slot) {
  FreeSlotEntries(slot);
  g_tableSlots[slot].allocState = kSlotFree;
}

void ResetSlot(int slot) {
  TableSlot& s = g_tableSlots[slot];
  // A slot still connected gives its handles back too.
  if (s.connection != SQL_NULL_HDBC) DisconnectSlot(slot);
  if (s.allocState == kSlotFromSpec || s.allocState == kSlotAllocated) {
    ReleaseSlotColumns(slot);
    s.sectionName[0] = '\0';
  }
  s.allocState = kSlotFree;
  s.connState = kConnClosed;
  s.specKind = 0;
}

int CheckSlotOpen(int slot) {
  if (!IsSlotNumber(slot)) {
    ShowErrorMessage("DATA-BASE", "オープン・エラーです。");
    return -1;
  }
  if (g_tableSlots[slot].connState != kConnClosed) return 0;
  ShowErrorMessage("DATA-BASE", "%s (No.%d) はｵｰﾌﾟﾝされていません。", g_tableSlots[slot].sectionName,
                   slot);
  return -1;
}

int CheckSlotSelected(int slot) {
  if (!IsSlotNumber(slot)) {
    ShowErrorMessage("DATA-BASE", "オープン・エラーです。");
    return -1;
  }
  if (g_tableSlots[slot].connState == kConnSelected) return 0;
  ShowErrorMessage("DATA-BASE", "テーブル「%s」はオープンされていません。(No.%d)",
                   g_tableSlots[slot].sectionName, slot);
  return -1;
}

int GetSlotConnState(int slot) { return IsSlotNumber(slot) ? g_tableSlots[slot].connState : -1; }

int GetSlotKind(int slot) { return IsSlotNumber(slot) ? g_tableSlots[slot].kind : -1; }

int GetSlotColumnCount(int slot) {
  if (!IsSlotNumber(slot) || g_tableSlots[slot].firstColumn == 0) return 0;
  return g_tableSlots[slot].lastColumn - g_tableSlots[slot].firstColumn + 1;
}

int GetSlotTableName(int slot, char* out) {
  if (!IsSlotNumber(slot) || g_tableSlots[slot].allocState == kSlotFree) return -1;
  std::strcpy(out, g_tableSlots[slot].tableName);
  return 0;
}

int GetSlotTableNameNonEmpty(int slot, char* out) {
  if (GetSlotTableName(slot, out) != 0) return -1;
  return out[0] ? 0 : -1;
}

int FindSlotBySectionName(const char* section) {
  for (int slot = 1; slot <= kMaxTableSlots; ++slot) {
    const TableSlot& s = g_tableSlots[slot];
    if (s.allocState != kSlotFree && std::strcmp(s.sectionName, section) == 0) return slot;
  }
  return -1;
}

int GetLastReadDirection() { return g_lastReadDirection; }

void SetLastReadDirection(int direction) { g_lastReadDirection = direction; }

void SetSlotUserPointer(int slot, void* pointer) {
  if (IsSlotNumber(slot)) g_tableSlots[slot].userPointer = pointer;
}

void SetSlotFlag(int slot) {
  if (IsSlotNumber(slot)) g_tableSlots[slot].flag = 1;
}
