// Errors of the database layer and the two calls every statement and fetch
// go through: what a driver's error means (by the dialect's classification),
// which message it gets, and the flags the callers test afterwards.
#include <cstdio>
#include <cstring>

#include "foundation/db_internal.h"
#include "foundation/msgbox.h"

std::string g_sqlBuffer;
const char* g_navigationName = "";

namespace {

bool g_tableMissing = false;
bool g_tableInUse = false;
bool g_fieldMissing = false;

constexpr int kDriverMessageSize = 1024;

// The length of every bound text parameter: terminated.
SQLLEN g_ntsLength = SQL_NTS;

const char* SlotTable(int slot) { return IsSlotNumber(slot) ? g_tableSlots[slot].tableName : ""; }

const SqlDialect* SlotDialect(int slot) {
  const SqlDialect* dialect = IsSlotNumber(slot) ? g_tableSlots[slot].dialect : nullptr;
  return dialect ? dialect : DialectForDbms("");
}

// Shows the report of a state the layer has no message of its own for.
void ShowOtherError(int slot, const char* operation, const char* message, const char* state,
                    long native) {
  char caption[512];
  std::snprintf(caption, sizeof caption, "%s [%s]", operation, SlotTable(slot));
  ShowInfoMessage(caption, "%s %s (%ld)", message, state, native);
}

}  // namespace

bool DbTableMissing() { return g_tableMissing; }
bool DbTableInUse() { return g_tableInUse; }
bool DbFieldMissing() { return g_fieldMissing; }

void ClearDbFlags() {
  g_tableMissing = false;
  g_tableInUse = false;
  g_fieldMissing = false;
}


void ReportLayerError(int slot, const char* operation, const char* state, const char* message) {
  ShowOtherError(slot, operation, message, state, 0);
}

DriverError ReadDriverError(int slot, SQLHSTMT statement) {
  SQLHDBC connection = IsSlotNumber(slot) ? g_tableSlots[slot].connection : SQL_NULL_HDBC;
  SQLCHAR state[6] = "";
  SQLINTEGER native = 0;
  SQLCHAR raw[kDriverMessageSize] = "";
  SQLSMALLINT length = 0;
  SQLError(g_dbEnvironment, connection, statement, state, &native, raw, sizeof raw, &length);
  DriverError error;
  std::memcpy(error.state, state, sizeof error.state);
  error.native = native;
  error.message = FromDbText(reinterpret_cast<const char*>(raw));
  return error;
}

int ReportStatementError(int slot, SQLHSTMT statement, const char* operation) {
  return ReportDriverError(slot, ReadDriverError(slot, statement), operation);
}

DbErrorClass NoteDriverError(int slot, const DriverError& error) {
  const DbErrorClass kind = ClassifyDbError(SlotDialect(slot), error.state, error.native, error.message.c_str());
  if (kind == DbErrorClass::kFieldMissing) g_fieldMissing = true;
  if (kind == DbErrorClass::kTableMissing) g_tableMissing = true;
  if (kind == DbErrorClass::kTableInUse) g_tableInUse = true;
  return kind;
}

int ReportDriverError(int slot, const DriverError& error, const char* operation) {
  const TableSlot& s = g_tableSlots[IsSlotNumber(slot) ? slot : 0];
  const char* code = error.state;
  const long native = error.native;
  const std::string& message = error.message;
  switch (NoteDriverError(slot, error)) {
    case DbErrorClass::kNoError:
    case DbErrorClass::kTableExists:
    case DbErrorClass::kColumnNumber:
    case DbErrorClass::kRowError:
    case DbErrorClass::kFieldMissing:
      return 0;
    case DbErrorClass::kTableMissing:
      return -1;
    case DbErrorClass::kDuplicateColumn:
      ShowInfoMessage("DATA-BASE",
                      "データベース“%s.MDB”にテーブルが作成できません。\n\n"
                      "項目名が重複している可能性があります。",
                      s.dbName);
      return -1;
    case DbErrorClass::kFieldSyntax:
      ShowInfoMessage("DATA-BASE",
                      "フィールド定義構文エラーです。\n\n「項目名」に、“半角カッコ”または“記号”、"
                      "“予約語(SQLｷｰﾜｰﾄﾞ等)”が使用されている可能性があります。\n\n"
                      "定義されている項目名をチェックしてください。");
      return -1;
    case DbErrorClass::kTableSyntax:
      ShowInfoMessage("DATA-BASE",
                      "テーブル定義構文エラーです。\n\n「テーブル名」に、“半角カッコ”または“記号”や"
                      "“空白”、“予約語(SQLｷｰﾜｰﾄﾞ等)”が使用されている可能性があります。\n\n"
                      "定義されているテーブル名をチェックしてください。");
      return -1;
    case DbErrorClass::kTableInUse:
      ShowInfoMessage("DATA-BASE",
                      "テーブル“%s”は、他のプログラムで使用されていますので、処理を続行できません。",
                      s.tableName);
      return -1;
    case DbErrorClass::kOther:
      break;
  }
  ShowOtherError(slot, operation, message.c_str(), code, native);
  return -1;
}

int db_error(int slot, const char* operation) {
  const SQLHSTMT statement = IsSlotNumber(slot) ? g_tableSlots[slot].statement : SQL_NULL_HSTMT;
  return ReportStatementError(slot, statement, operation);
}

int StatementResult(int slot, SQLHSTMT statement, SQLRETURN rc, const std::string& sql, int quiet) {
  // An UPDATE or DELETE that matched no row is no failure.
  if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA) return 0;
  const char* operation = "SQLExecDirect()";
  const DriverError error = ReadDriverError(slot, statement);
  if (quiet == kReportNothing) {
    // The flags still tell the caller why.
    NoteDriverError(slot, error);
    return -1;
  }
  if (ReportDriverError(slot, error, operation) == 0) {
    if (!g_fieldMissing) return 1;
    ShowInfoMessage("DATA-BASE", "テーブルに存在しないフィールドにアクセスしようとしました。〔%s〕\n\n%s",
                    g_tableSlots[slot].tableName, sql.c_str());
    return -1;
  }
  // A missing table is left to callers that may create it, unless they
  // asked for every failure.
  const bool leftToCaller = g_tableMissing && quiet != kReportAll;
  if (g_tableMissing && !leftToCaller) {
    ShowOtherError(slot, operation, error.message.c_str(), error.state, error.native);
  }
  if (!leftToCaller && !g_tableInUse) ShowInfoMessage("DATA-BASE", "[%s]", sql.c_str());
  return -1;
}

int ExecOnStatement(int slot, SQLHSTMT statement, const std::string& sql, int quiet) {
  return ExecWithValues(slot, statement, sql, {}, quiet);
}

int ExecWithValues(int slot, SQLHSTMT statement, const std::string& sql, const std::vector<std::string>& values,
                   int quiet) {
  ClearDbFlags();
  if (g_tableSlots[slot].kind == kDbKindNone) return 0;
  SQLFreeStmt(statement, SQL_CLOSE);
  if (!values.empty()) SQLFreeStmt(statement, SQL_RESET_PARAMS);
  std::vector<std::string> converted;
  converted.reserve(values.size());  // the bound buffers never move
  for (const std::string& value : values) {
    converted.push_back(ToDbText(value.c_str(), value.size()));
    std::string& bound = converted.back();
    SQLBindParameter(statement, static_cast<SQLUSMALLINT>(converted.size()), SQL_PARAM_INPUT, SQL_C_CHAR,
                     SQL_VARCHAR, bound.size() ? bound.size() : 1, 0, bound.data(), 0, &g_ntsLength);
  }
  std::string text = ToDbText(sql.c_str(), sql.size());
  const SQLRETURN rc = SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS);
  if (!values.empty()) SQLFreeStmt(statement, SQL_RESET_PARAMS);
  return StatementResult(slot, statement, rc, sql, quiet);
}

int ExecSlotSqlWith(int slot, const std::string& sql, const std::vector<std::string>& values, int quiet) {
  TableSlot& s = g_tableSlots[slot];
  if (s.kind == kDbKindNone) {
    ClearDbFlags();
    return 0;
  }
  // The statement gets another result: its cursor, bindings and prepared
  // SELECT go; reading on needs a new positioning.
  s.hasRow = false;
  s.preparedSql.clear();
  if (!values.empty()) s.parameterBound = false;
  ResetSlotCursor(slot);
  s.cursor.complete = true;
  UnbindCursorRows(slot);
  return ExecWithValues(slot, s.statement, sql, values, quiet);
}

int ExecSlotSql(int slot, const char* sql, int quiet) { return ExecSlotSqlWith(slot, sql, {}, quiet); }

int FetchSlotRow(int slot, int direction) {
  if (g_tableSlots[slot].kind == kDbKindNone) return 0;
  return TakeCursorRow(slot, MoveSlotCursor(slot, direction));
}

int TakeCursorRow(int slot, SQLRETURN rc) {
  TableSlot& s = g_tableSlots[slot];
  if (rc == SQL_SUCCESS) {
    TakeFetchedRow(slot);
    s.hasRow = true;
    return 0;
  }
  s.hasRow = false;
  if (rc == SQL_NO_DATA) return -1;
  char operation[128];
  std::snprintf(operation, sizeof operation, "SQLExtendedFetch() %s", g_navigationName);
  // A fetch that failed is reported even in a state that is no failure
  // elsewhere.
  const DriverError error = ReadDriverError(slot, s.statement);
  if (ReportDriverError(slot, error, operation) == 0) {
    ShowOtherError(slot, operation, error.message.c_str(), error.state, error.native);
  }
  return -1;
}
