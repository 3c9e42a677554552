// Connections of table slots. The file database (kind 1) is an SQLite file
// under the name and folder the program gives it (".mdb" kept, so every path
// rule of the program stays as it is); the server database (kind 2) is a
// PostgreSQL database on the configured server; kind 4 is the data source
// named by the database. Under Wine the drivers run on the host, so file
// paths are handed over as host paths.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "foundation/db_internal.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"

// After windows.h, which it needs.
#include <odbcinst.h>

namespace {

constexpr char kFileDriver[] = "SQLite3";
constexpr char kServerDriver[] = "PostgreSQL ANSI";
constexpr int kServerDefaultPort = 5432;
// The maintenance database of a PostgreSQL server, reachable when the
// database a slot names is not there yet.
constexpr char kServerMaintenanceDb[] = "postgres";
// The screen databases of the program, opened with the fixed password.
const char* const kFixedPasswordDbs[] = {"KQQSCR", "MUPASCR"};
constexpr char kFixedDbPassword[] = "8153";

}  // namespace

std::string HostPath(const char* path) {
  char full[MAX_PATH * 2];
  if (GetFullPathNameA(path, sizeof full, full, nullptr) == 0) std::strcpy(full, path);
  using UnixNameFn = char*(CDECL*)(LPCWSTR);
  static const auto toUnix = reinterpret_cast<UnixNameFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return ToDbText(full);
  WCHAR wide[MAX_PATH * 2];
  if (MultiByteToWideChar(CP_ACP, 0, full, -1, wide, MAX_PATH * 2) == 0) return ToDbText(full);
  char* unixName = toUnix(wide);
  if (!unixName) return ToDbText(full);
  std::string result = unixName;
  HeapFree(GetProcessHeap(), 0, unixName);
  return result;
}

namespace {

bool IsAliasOf(const char* setting, const char* name) {
  return setting[0] && std::strcmp(setting, name) == 0;
}

// ";UID=..;PWD=.." of a data source, by the rules of the database name.
std::string LoginPart(const char* name) {
  const OcrIniSettings& ini = g_ocrIni;
  if (IsAliasOf(ini.sfaDbName, name) || IsAliasOf(ini.plnDbName, name) ||
      IsAliasOf(ini.omrDbName, name)) {
    return std::string(";UID=") + ini.loginUser + ";PWD=" + ini.loginPassword;
  }
  for (const char* fixed : kFixedPasswordDbs) {
    if (std::strcmp(fixed, name) == 0) {
      return std::string(";UID=") + ini.loginUser + ";PWD=" + kFixedDbPassword;
    }
  }
  return std::string();
}

// PostgreSQL folds unquoted names to lower case; the program's database
// names are folded the same way (single-byte letters only: a trail byte in
// A-Z belongs to its double-byte character) and then always quoted.
std::string ServerDbName(const char* name) {
  std::string folded = name;
  ToLowerDbcsSafe(folded.data());
  return folded;
}

// The configured server: SERVER is "host", "host:port" or "host,port";
// empty means this machine.
struct ServerAddress {
  std::string host;
  int port;
};
ServerAddress ConfiguredServer() {
  ServerAddress server{g_ocrIni.serverName, kServerDefaultPort};
  const size_t split = server.host.find_first_of(":,");
  if (split != std::string::npos) {
    server.port = std::atoi(server.host.c_str() + split + 1);
    server.host.erase(split);
  }
  if (server.host.empty()) server.host = "localhost";
  return server;
}

// "DRIVER=..." of the server database `database`.
std::string ServerConnection(const std::string& database) {
  const ServerAddress server = ConfiguredServer();
  return std::string("DRIVER={") + kServerDriver + "};Server=" + server.host +
         ";Port=" + std::to_string(server.port) + ";Database=" + database +
         ";Uid=" + g_ocrIni.loginUser + ";Pwd=" + g_ocrIni.loginPassword;
}

// The connection text a kind of database takes; converted for the driver.
std::string ConnectionString(const TableSlot& s, const std::string& dbPath) {
  switch (s.kind) {
    case kDbKindServer:
      return ToDbText(ServerConnection(ServerDbName(s.dbName)).c_str());
    case kDbKindDataSource:
      return ToDbText((std::string("DSN=") + s.dbName + LoginPart(s.dbName)).c_str());
    default:
      // The SQLite driver waits its Timeout twice for a locked file (it
      // runs a statement once more after the first wait): half of it makes
      // the configured wait.
      return std::string("DRIVER=") + kFileDriver + ";Database=" + HostPath((dbPath + ".mdb").c_str()) +
             ";NoWCHAR=1;JournalMode=WAL;SyncPragma=NORMAL;Timeout=" +
             std::to_string((GetFileDbWait() + 1) / 2);
  }
}

SQLRETURN DriverConnect(SQLHDBC connection, const std::string& text) {
  return SQLDriverConnect(connection, GetActiveWindow(),
                          reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str())), SQL_NTS,
                          nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
}

// Runs a statement of no result on a connection of its own: true when done.
bool RunOnConnection(SQLHDBC connection, const std::string& sql) {
  SQLHSTMT statement = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocStmt(connection, &statement))) return false;
  std::string text = ToDbText(sql.c_str());
  const bool done = SQL_SUCCEEDED(SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS));
  SQLFreeStmt(statement, SQL_DROP);
  return done;
}

// A server session reads a backslash in a literal as itself and writes
// every float with all its digits, whatever the server's defaults: literals
// the driver builds from parameters mean the same on every server, and a
// number read is the number stored. It waits for another session's lock as
// long as a file database waits (the server's default is for ever; its 0
// would be that too).
void SetServerSession(SQLHDBC connection) {
  RunOnConnection(connection, "set standard_conforming_strings = on");
  RunOnConnection(connection, "set extra_float_digits = 3");
  RunOnConnection(connection, "set lock_timeout = " + std::to_string(std::max(1, GetFileDbWait())));
}

// A connection of its own to the server's maintenance database; null when
// the server cannot be reached with the login.
SQLHDBC ConnectMaintenance() {
  SQLHDBC connection = SQL_NULL_HDBC;
  if (!SQL_SUCCEEDED(SQLAllocConnect(g_dbEnvironment, &connection))) return SQL_NULL_HDBC;
  if (!SQL_SUCCEEDED(DriverConnect(connection, ToDbText(ServerConnection(kServerMaintenanceDb).c_str())))) {
    SQLFreeConnect(connection);
    return SQL_NULL_HDBC;
  }
  SetServerSession(connection);
  return connection;
}

void CloseConnection(SQLHDBC connection) {
  SQLDisconnect(connection);
  SQLFreeConnect(connection);
}

// True when the server is there but the database of `name` is not.
bool ServerDbMissing(const char* name) {
  SQLHDBC connection = ConnectMaintenance();
  if (connection == SQL_NULL_HDBC) return false;
  bool missing = false;
  SQLHSTMT statement = SQL_NULL_HSTMT;
  if (SQL_SUCCEEDED(SQLAllocStmt(connection, &statement))) {
    std::string query = "select 1 from pg_database where datname=?";
    std::string database = ToDbText(ServerDbName(name).c_str());
    SQLLEN length = SQL_NTS;
    if (SQL_SUCCEEDED(SQLBindParameter(statement, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, database.size(), 0,
                                       database.data(), 0, &length)) &&
        SQL_SUCCEEDED(SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(query.data()), SQL_NTS))) {
      missing = SQLFetch(statement) == SQL_NO_DATA;
    }
    SQLFreeStmt(statement, SQL_DROP);
  }
  CloseConnection(connection);
  return missing;
}

// True when the folder a database file goes into is there: the SQLite
// driver connects without it and fails only at the first statement.
bool FileFolderExists(const std::string& dbPath) {
  char full[MAX_PATH * 2];
  char* name = nullptr;
  if (GetFullPathNameA(dbPath.c_str(), sizeof full, full, &name) == 0 || !name) return false;
  *name = '\0';
  const DWORD attributes = GetFileAttributesA(full);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The data source a database path registers as: ":" dropped, "\" as "_".
std::string DataSourceName(const std::string& dbPath) {
  std::string name;
  for (size_t i = 0; i < dbPath.size();) {
    const int length = SjisCharLength(dbPath.c_str() + i);
    if (length == 2) {
      name += dbPath.substr(i, 2);
    } else if (dbPath[i] == '\\') {
      name += '_';
    } else if (dbPath[i] != ':') {
      name += dbPath[i];
    }
    i += length;
  }
  return name;
}

// What the message of a failed connect names: the server and the database
// there, or the data source of a file.
std::string UnreachedDatabaseName(const TableSlot& s, const std::string& dbPath) {
  if (s.kind != kDbKindServer) return DataSourceName(dbPath);
  const ServerAddress server = ConfiguredServer();
  return "サーバー：" + server.host + ":" + std::to_string(server.port) + "／データベース：" + ServerDbName(s.dbName);
}

}  // namespace

const SqlDialect* QueryDialect(SQLHDBC connection) {
  SQLCHAR name[64] = "";
  SQLSMALLINT length = 0;
  SQLGetInfo(connection, SQL_DBMS_NAME, name, sizeof name, &length);
  return DialectForDbms(reinterpret_cast<const char*>(name));
}

void RegisterDsnIfMissing(int slot, const char* folder, const char* dbPath) {
  const std::string name = DataSourceName(dbPath);
  char driver[64];
  GetPrivateProfileStringA(name.c_str(), "Driver32", "not", driver, sizeof driver, "ODBC.INI");
  if (std::strcmp(driver, "not") == 0) SQLWriteDSNToIni(name.c_str(), kFileDriver);
}

int CreateServerDatabase(int slot) {
  TableSlot& s = g_tableSlots[slot];
  const bool large = std::strcmp(s.dbName, "ADDDBS") == 0 || std::strcmp(s.dbName, "adddbs") == 0;
  const int size = large ? 20 : 3;
  int answer;
  if (g_ocrIni.serverVersion == 7) {
    answer = AskYesNo("", "データベース“%s”を作成しますか？ 〔サーバー：%s〕", s.dbName,
                      g_ocrIni.serverName);
  } else {
    answer = AskYesNo("",
                      "データベース“%s”を作成しますか？ 〔サーバー：%s〕\n\n"
                      "（データサイズ：%dMB／ログサイズ：%dMB）\n\n"
                      "〔ﾃﾞｰﾀﾍﾞｰｽ･ﾃﾞﾊﾞｲｽ=%s／ﾛｸﾞﾃﾞﾊﾞｲｽ=%s〕",
                      s.dbName, g_ocrIni.serverName, size, size / 2, g_ocrIni.dbDevice,
                      g_ocrIni.logDevice);
  }
  if (answer != IDYES) return -1;

  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  int result = -1;
  SQLHDBC connection = ConnectMaintenance();
  SQLHSTMT statement = SQL_NULL_HSTMT;
  if (connection != SQL_NULL_HDBC && SQL_SUCCEEDED(SQLAllocStmt(connection, &statement))) {
    const std::string create = ToDbText(("create database " + QuotedSqlName(ServerDbName(s.dbName))).c_str());
    if (SQL_SUCCEEDED(SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>(create.c_str())),
                                    SQL_NTS))) {
      result = 0;
    } else {
      const DriverError error = ReadDriverError(slot, statement);
      ReportLayerError(slot, "create database", error.state, error.message.c_str());
    }
    SQLFreeStmt(statement, SQL_DROP);
  } else {
    ReportLayerError(slot, "create database", "08001", s.dbName);
  }
  if (connection != SQL_NULL_HDBC) CloseConnection(connection);
  SetCursor(previous);
  return result;
}

int db_driver_connect(int slot, const char* folder) {
  TableSlot& s = g_tableSlots[slot];
  if (s.kind == kDbKindNone) return 0;
  s.connected = 0;
  std::string dbPath;
  if (std::strcmp(folder, "\\") == 0) {
    dbPath = std::string("\\") + s.dbName;
  } else if (*folder) {
    dbPath = std::string(folder) + "\\" + s.dbName;
  } else {
    dbPath = s.dbName;
  }
  RegisterDsnIfMissing(slot, folder, dbPath.c_str());

  SQLHDBC connection = SQL_NULL_HDBC;
  const SQLRETURN allocated = SQLAllocConnect(g_dbEnvironment, &connection);
  if (!SQL_SUCCEEDED(allocated)) {
    ShowInfoMessage("DATA-BASE", "SQLAllocConnect(henv,&hdbc) rc=(%d)(%d)(%d)", allocated,
                    static_cast<int>(reinterpret_cast<INT_PTR>(g_dbEnvironment)),
                    static_cast<int>(reinterpret_cast<INT_PTR>(connection)));
    return -1;
  }
  const std::string text = ConnectionString(s, dbPath);
  SQLRETURN rc = s.kind == kDbKindFile && !FileFolderExists(dbPath) ? SQL_ERROR
                                                                      : DriverConnect(connection, text);
  // A missing server database shows as a failed connect: ask, create, retry.
  if (rc == SQL_ERROR && s.kind == kDbKindServer && ServerDbMissing(s.dbName)) {
    if (CreateServerDatabase(slot) == 0) rc = DriverConnect(connection, text);
  }
  if (rc == SQL_ERROR || rc == SQL_INVALID_HANDLE) {
    ShowInfoMessage("DATA-BASE", "データベース“%s” にアクセスできません。\n(%s)", s.dbName,
                    UnreachedDatabaseName(s, dbPath).c_str());
    SQLFreeConnect(connection);
    return -1;
  }
  s.connection = connection;
  s.dialect = QueryDialect(connection);
  if (s.dialect == PostgresDialect()) SetServerSession(connection);
  SQLAllocStmt(connection, &s.statement);
  s.connected = 1;
  return 0;
}

void DisconnectSlot(int slot) {
  TableSlot& s = g_tableSlots[slot];
  ReleaseSlotWriter(slot);
  if (s.statement != SQL_NULL_HSTMT) SQLFreeStmt(s.statement, SQL_DROP);
  s.statement = SQL_NULL_HSTMT;
  s.columnsBound = false;
  s.hasRow = false;
  s.preparedSql.clear();
  if (s.connection != SQL_NULL_HDBC) CloseConnection(s.connection);
  s.connection = SQL_NULL_HDBC;
  s.connected = 0;
  s.dialect = nullptr;
}
