// Database layer against plain ODBC on the same driver and connection.
//
// 10,000 rows of a 60-column table (a key, 19 texts, 15 shorts, 15 longs,
// 10 doubles; Japanese text) are added, then read back in key order by
// navigation, then found one by one by key. The layer goes through db_add,
// db_tfind/db_nread and db_search_key with every column set and read by
// name; the plain side uses prepared statements with bound parameters and
// columns, UTF-8 values made beforehand and a forward-only cursor: the least
// a program needs for the same work. Prints rows per second of each side and
// the ratio of their times for the SQLite file database and, when
// SHEETDESK_PG names a server, the PostgreSQL database, with the target
// (the whole workload within 1.3x of plain ODBC) and whether it was met.
//
// Usage (under Wine): db_bench.exe [rows]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "foundation/db_internal.h"
#include "foundation/test_hooks.h"

namespace {

constexpr int kTexts = 19;
constexpr int kShorts = 15;
constexpr int kLongs = 15;
constexpr int kDoubles = 10;
constexpr int kColumns = 1 + kTexts + kShorts + kLongs + kDoubles;
constexpr int kTextLength = 20;
// The layer's whole workload takes at most this many times plain ODBC's.
constexpr double kTargetRatio = 1.3;

const char kSpec[] =
    "FIELD\r\n"
    "\"key\",\"char*\",\"K\",10,0,0,\"\",10\r\n"
    "\"text\",\"char*\",\"TX\",20,19,0,\"\",20\r\n"
    "\"short\",\"int\",\"SH\",5,15,0,\"\",5\r\n"
    "\"long\",\"long\",\"LG\",10,15,0,\"\",10\r\n"
    "\"double\",\"double\",\"DB\",10,10,2,\"\",10\r\n"
    "INDEX\r\n"
    "\"K\"\r\n"
    "END\r\n";

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Boxes are answered "Yes" (creating the benchmark's server database) and
// echoed: the benchmark shows none unless something fails.
int AnswerBox(const MessageBoxCall& call, void*) {
  std::fprintf(stderr, "box [%s] %s\n", call.caption.c_str(), call.text.c_str());
  return IDYES;
}

std::string Key(int row) {
  char key[16];
  std::snprintf(key, sizeof key, "K%07d", row);
  return key;
}

// The Shift-JIS text of a column of a row: eight double-byte characters
// and a number.
std::string TextValue(int row, int column) {
  char text[32];
  std::snprintf(text, sizeof text, "日本語の項目名%02d_%d", column, row % 1000);
  return text;
}

// Rows in a scattered order for the key searches.
std::vector<int> SearchOrder(int rows) {
  std::vector<int> order(rows);
  for (int i = 0; i < rows; ++i) order[i] = static_cast<int>((static_cast<long long>(i) * 7919) % rows);
  return order;
}

struct Timings {
  double add;
  double navigate;
  double search;
};

// ---- through the layer -----------------------------------------------------------

void SetRow(int slot, int row) {
  db_clear(slot);
  SetColumnText(slot, "K", Key(row).c_str());
  for (int i = 0; i < kTexts; ++i) SetColumnTextIdx(slot, "TX", i, TextValue(row, i).c_str());
  for (int i = 0; i < kShorts; ++i) SetColumnIntIdx(slot, "SH", i, row % 30000 + i);
  for (int i = 0; i < kLongs; ++i) SetColumnLongIdx(slot, "LG", i, row * 100L + i);
  for (int i = 0; i < kDoubles; ++i) SetColumnDoubleIdx(slot, "DB", i, row + i / 4.0);
}

// Reads every column; returns a checksum so nothing is optimised away.
long ReadRow(int slot) {
  long sum = GetColumnText(slot, "K")[0];
  for (int i = 0; i < kTexts; ++i) sum += GetColumnTextIdx(slot, "TX", i)[0] != '\0';
  for (int i = 0; i < kShorts; ++i) sum += GetColumnIntIdx(slot, "SH", i);
  for (int i = 0; i < kLongs; ++i) sum += GetColumnLongIdx(slot, "LG", i);
  for (int i = 0; i < kDoubles; ++i) sum += static_cast<long>(GetColumnDoubleIdx(slot, "DB", i));
  return sum;
}

bool RunLayer(const char* db, int rows, Timings& t, long& checksum) {
  DropTableByConnect("", db, "BENCH", -1);
  const int slot = db_open("", db, "BENCH", -1, "", "", "");
  if (slot < 0) return false;
  Clock::time_point start = Clock::now();
  for (int row = 0; row < rows; ++row) {
    SetRow(slot, row);
    if (db_add(slot) != 0) return false;
  }
  t.add = SecondsSince(start);

  start = Clock::now();
  int seen = 0;
  for (int rc = db_tfind(slot, 0); rc == 0; rc = db_nread(slot)) {
    checksum += ReadRow(slot);
    ++seen;
  }
  t.navigate = SecondsSince(start);
  if (seen != rows) return false;

  start = Clock::now();
  for (int row : SearchOrder(rows)) {
    if (db_search_key(slot, Key(row).c_str(), 0) != 0) return false;
    checksum += ReadRow(slot);
  }
  t.search = SecondsSince(start);
  db_close(slot);
  return true;
}

// ---- plain ODBC ----------------------------------------------------------------

// The 60 values of a row in the database's form, bound once.
struct PlainRow {
  char texts[1 + kTexts][DbTextRoom(kTextLength)];
  SQLLEN textLengths[1 + kTexts];
  SQLSMALLINT shorts[kShorts];
  SQLINTEGER longs[kLongs];
  double doubles[kDoubles];
  SQLLEN numberIndicators[kShorts + kLongs + kDoubles];
};

// Binds the row's buffers as parameters (`asParameters`) or result columns.
bool BindPlainRow(SQLHSTMT statement, PlainRow& r, bool asParameters) {
  SQLUSMALLINT n = 1;
  auto bind = [&](SQLSMALLINT cType, SQLSMALLINT sqlType, SQLULEN size, void* buffer, SQLLEN room,
                  SQLLEN* indicator) {
    const SQLRETURN rc = asParameters
                             ? SQLBindParameter(statement, n, SQL_PARAM_INPUT, cType, sqlType, size, 0,
                                                buffer, room, indicator)
                             : SQLBindCol(statement, n, cType, buffer, room, indicator);
    ++n;
    return SQL_SUCCEEDED(rc);
  };
  bool ok = true;
  for (int i = 0; i <= kTexts; ++i) {
    ok &= bind(SQL_C_CHAR, SQL_VARCHAR, kTextLength * 3, r.texts[i], sizeof r.texts[i], &r.textLengths[i]);
  }
  int k = 0;
  for (int i = 0; i < kShorts; ++i) ok &= bind(SQL_C_SSHORT, SQL_SMALLINT, 0, &r.shorts[i], 0, &r.numberIndicators[k++]);
  for (int i = 0; i < kLongs; ++i) ok &= bind(SQL_C_SLONG, SQL_INTEGER, 0, &r.longs[i], 0, &r.numberIndicators[k++]);
  for (int i = 0; i < kDoubles; ++i) ok &= bind(SQL_C_DOUBLE, SQL_DOUBLE, 0, &r.doubles[i], 0, &r.numberIndicators[k++]);
  return ok;
}

long SumPlainRow(const PlainRow& r) {
  long sum = r.texts[0][0];
  for (int i = 1; i <= kTexts; ++i) sum += r.texts[i][0] != '\0';
  for (int i = 0; i < kShorts; ++i) sum += r.shorts[i];
  for (int i = 0; i < kLongs; ++i) sum += r.longs[i];
  for (int i = 0; i < kDoubles; ++i) sum += static_cast<long>(r.doubles[i]);
  return sum;
}

bool Execute(SQLHSTMT statement, const std::string& sql) {
  std::string text = ToDbText(sql.c_str());
  return SQL_SUCCEEDED(SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS));
}

bool Prepare(SQLHSTMT statement, const std::string& sql) {
  std::string text = ToDbText(sql.c_str());
  return SQL_SUCCEEDED(SQLPrepare(statement, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS));
}

bool RunPlain(const char* db, int rows, Timings& t, long& checksum) {
  const int slot = db_alloc_slot("", db, "BENCHP", -1);
  if (slot < 0) return false;
  SQLHDBC connection = g_tableSlots[slot].connection;
  SQLHSTMT statement = SQL_NULL_HSTMT;
  SQLAllocStmt(connection, &statement);
  std::string columns = "K varchar(10)";
  std::string names = "K";
  std::string marks = "?";
  const struct {
    const char* prefix;
    int count;
    const char* type;
  } groups[] = {{"TX", kTexts, "varchar(20)"}, {"SH", kShorts, "smallint"}, {"LG", kLongs, "int"},
                {"DB", kDoubles, "float"}};
  for (const auto& g : groups) {
    for (int i = 0; i < g.count; ++i) {
      char name[8];
      std::snprintf(name, sizeof name, "%s%02d", g.prefix, i);
      columns += std::string(",") + name + " " + g.type;
      names += std::string(",") + name;
      marks += ",?";
    }
  }
  Execute(statement, "drop table BENCHP");
  if (!Execute(statement, "create table BENCHP (" + columns + ", primary key (K))")) return false;

  // Every value of every row in the database's form, made before the clock.
  std::vector<PlainRow> values(rows);
  for (int row = 0; row < rows; ++row) {
    PlainRow& r = values[row];
    std::snprintf(r.texts[0], sizeof r.texts[0], "%s", Key(row).c_str());
    for (int i = 0; i < kTexts; ++i) std::snprintf(r.texts[i + 1], sizeof r.texts[i + 1], "%s", ToDbText(TextValue(row, i).c_str()).c_str());
    for (int i = 0; i <= kTexts; ++i) r.textLengths[i] = SQL_NTS;
    for (int i = 0; i < kShorts; ++i) r.shorts[i] = static_cast<SQLSMALLINT>(row % 30000 + i);
    for (int i = 0; i < kLongs; ++i) r.longs[i] = row * 100 + i;
    for (int i = 0; i < kDoubles; ++i) r.doubles[i] = row + i / 4.0;
    for (SQLLEN& indicator : r.numberIndicators) indicator = 0;
  }

  PlainRow current{};
  SQLHSTMT insert = SQL_NULL_HSTMT;
  SQLAllocStmt(connection, &insert);
  if (!Prepare(insert, "insert into BENCHP (" + names + ") values (" + marks + ")")) return false;
  BindPlainRow(insert, current, true);
  Clock::time_point start = Clock::now();
  for (int row = 0; row < rows; ++row) {
    current = values[row];
    if (!SQL_SUCCEEDED(SQLExecute(insert))) return false;
  }
  t.add = SecondsSince(start);

  start = Clock::now();
  BindPlainRow(statement, current, false);
  if (!Execute(statement, "select * from BENCHP order by K")) return false;
  int seen = 0;
  while (SQL_SUCCEEDED(SQLFetch(statement))) {
    checksum += SumPlainRow(current);
    ++seen;
  }
  SQLFreeStmt(statement, SQL_CLOSE);
  t.navigate = SecondsSince(start);
  if (seen != rows) return false;

  SQLHSTMT search = SQL_NULL_HSTMT;
  SQLAllocStmt(connection, &search);
  if (!Prepare(search, "select * from BENCHP where K=?")) return false;
  char key[16];
  SQLLEN keyLength = SQL_NTS;
  SQLBindParameter(search, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 10, 0, key, sizeof key, &keyLength);
  BindPlainRow(search, current, false);
  start = Clock::now();
  for (int row : SearchOrder(rows)) {
    std::snprintf(key, sizeof key, "%s", Key(row).c_str());
    if (!SQL_SUCCEEDED(SQLExecute(search)) || !SQL_SUCCEEDED(SQLFetch(search))) return false;
    checksum += SumPlainRow(current);
    SQLFreeStmt(search, SQL_CLOSE);
  }
  t.search = SecondsSince(start);
  for (SQLHSTMT s : {statement, insert, search}) SQLFreeStmt(s, SQL_DROP);
  db_disconnect(slot);
  return true;
}

void Report(const char* database, int rows, const Timings& layer, const Timings& plain) {
  const struct {
    const char* what;
    double layer;
    double plain;
  } phases[] = {{"add", layer.add, plain.add},
                {"navigate", layer.navigate, plain.navigate},
                {"key search", layer.search, plain.search}};
  std::printf("%s, %d rows of %d columns\n", database, rows, kColumns);
  std::printf("  %-11s %12s %12s %8s\n", "phase", "layer rows/s", "plain rows/s", "ratio");
  for (const auto& p : phases) {
    std::printf("  %-11s %12.0f %12.0f %8.2f\n", p.what, rows / p.layer, rows / p.plain, p.layer / p.plain);
  }
  const double totalLayer = layer.add + layer.navigate + layer.search;
  const double totalPlain = plain.add + plain.navigate + plain.search;
  std::printf("  %-11s %12.0f %12.0f %8.2f\n", "all", 3 * rows / totalLayer, 3 * rows / totalPlain,
              totalLayer / totalPlain);
  std::printf("  target: all within %.2fx of plain ODBC: %s\n", kTargetRatio,
              totalLayer / totalPlain <= kTargetRatio ? "met" : "NOT MET");
}

// The faster of two timings, phase by phase.
void KeepBest(Timings& best, const Timings& t) {
  best.add = std::min(best.add, t.add);
  best.navigate = std::min(best.navigate, t.navigate);
  best.search = std::min(best.search, t.search);
}

// Runs both sides on one database kind, kRepeats times in turn, and reports
// the best time of each phase (the machine's other work only slows a run
// down); false when either side failed.
bool Compare(const char* database, const char* db, int rows) {
  constexpr int kRepeats = 3;
  const double kNever = 1e30;
  Timings layer{kNever, kNever, kNever};
  Timings plain{kNever, kNever, kNever};
  for (int repeat = 0; repeat < kRepeats; ++repeat) {
    Timings layerRun{};
    Timings plainRun{};
    long layerSum = 0;
    long plainSum = 0;
    if (!RunPlain(db, rows, plainRun, plainSum) || !RunLayer(db, rows, layerRun, layerSum)) {
      std::fprintf(stderr, "%s: the benchmark failed\n", database);
      return false;
    }
    if (layerSum != plainSum) {
      std::fprintf(stderr, "%s: the two sides read different values\n", database);
      return false;
    }
    KeepBest(layer, layerRun);
    KeepBest(plain, plainRun);
  }
  Report(database, rows, layer, plain);
  return true;
}

// "Key=value" of a connection string.
std::string ConnectionValue(const std::string& text, const char* key) {
  const std::string wanted = std::string(key) + "=";
  const size_t at = text.find(wanted);
  if (at == std::string::npos) return std::string();
  const size_t start = at + wanted.size();
  return text.substr(start, text.find(';', start) - start);
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
  SetMessageBoxHook(AnswerBox, nullptr);
  db_init();
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  const std::string folder = std::string(current) + "\\db_bench_work";
  CreateDirectoryA(folder.c_str(), nullptr);
  SetSpecFolder(folder.c_str());
  SetDbFolder(folder.c_str());
  const std::string spec = folder + "\\BENCH.SPC";
  FILE* file = std::fopen(spec.c_str(), "wb");
  std::fputs(kSpec, file);
  std::fclose(file);

  bool ok = true;
  SetDbServer(kDbKindFile, 7, "");
  for (const char* suffix : {".mdb", ".mdb-wal", ".mdb-shm"}) DeleteFileA((folder + "\\BENCH" + suffix).c_str());
  ok &= Compare("SQLite", "BENCH", rows);

  const char* pg = std::getenv("SHEETDESK_PG");
  if (pg && *pg) {
    const std::string text = pg;
    SetDbServer(kDbKindServer, 7, (ConnectionValue(text, "Server") + ":" + ConnectionValue(text, "Port")).c_str());
    SetDbLogin(ConnectionValue(text, "Uid").c_str(), ConnectionValue(text, "Pwd").c_str());
    ok &= Compare("PostgreSQL", "SDBENCH", rows);
  } else {
    std::printf("PostgreSQL: SHEETDESK_PG is not set, not measured\n");
  }
  db_term();
  return ok ? 0 : 1;
}
