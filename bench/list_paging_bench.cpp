// The list form paging through a large table against a plain ODBC program
// reading the same rows, on SQLite and PostgreSQL (under Wine).
//
// A table of 100,000 rows of 60 columns (a code, 19 texts, 15 shorts, 15
// longs, 10 doubles; Japanese text) is made once; a list screen of all 60
// columns and 20 lines is opened on it in the list-form window, which then
// pages forward through every row (F2) and back again over the first
// thousand pages (F1), each page read, put into its cells and painted. The
// plain side runs the same SELECT in code order and fetches every row into
// bound buffers, 20 a page. Prints the time per page of each, the ratio and
// whether the targets were met: at most 1.5 times the plain program's time
// per page, and every page in under 50 ms.
//
// Usage (under Wine): list_paging_bench.exe [rows]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/db_internal.h"
#include "foundation/imaging.h"
#include "foundation/test_hooks.h"
#include "screen/screen.h"
#include "tests/screen/screen_fixture_data.h"

namespace {

constexpr int kTexts = 19, kShorts = 15, kLongs = 15, kDoubles = 10;
constexpr int kLines = 20;
constexpr int kBackPages = 1000;
constexpr double kTargetRatio = 1.5;
constexpr double kTargetPageMs = 50;
constexpr UINT kMsgCommand = WM_USER + 101;  // 1125
constexpr WPARAM kPreviousPage = 112, kNextPage = 113;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int AnswerBox(const MessageBoxCall& call, void*) {
  std::fprintf(stderr, "box [%s] %s\n", call.caption.c_str(), call.text.c_str());
  return IDYES;
}

struct Group {
  const char* prefix;
  int count;
  const char* specType;
  const char* sqlType;
  const char* screenType;
  int width;
};
const Group kGroups[] = {{"TX", kTexts, "char*", "varchar(20)", "半角", 20},
                         {"SH", kShorts, "int", "smallint", "数字", 5},
                         {"LG", kLongs, "long", "int", "数字", 9},
                         {"DB", kDoubles, "double", "float", "数字", 10}};

std::string ColumnName(const Group& g, int i) {
  char name[8];
  std::snprintf(name, sizeof name, "%s%02d", g.prefix, i + 1);
  return name;
}

// The description of the table and the list screen of all its columns.
std::string TableSpec() {
  std::string spec = "LSTBENCH\r\nFIELD\r\n\"code\",\"char*\",\"CODE\",6,0,0,\"\",6\r\n";
  for (const Group& g : kGroups) {
    for (int i = 0; i < g.count; ++i) {
      spec += "\"" + ColumnName(g, i) + "\",\"" + g.specType + "\",\"" + ColumnName(g, i) + "\"," +
              std::to_string(g.width) + ",0,0,\"\"," + std::to_string(g.width) + "\r\n";
    }
  }
  return spec + "INDEX\r\n\"CODE\",\"△\"\r\nEND\r\n";
}

std::string ScreenText() {
  std::string text =
      "[screen]\nSCRCODE = LST-BENCH\nSCRNAME = LST-BENCH\nSCRTYPE = ﾘｽﾄI\nSCRTITLE = 一覧\nSCRTBL = LSTBENCH\n"
      "SCRDBS = SCRTEST\nSCRINP = ○\nSCRCSIZ = 8\nSCRPOS = 左上\nLINCNT = " + std::to_string(kLines) +
      "\nSCRNO = 62\nSCRFKEY = 2222222222222000\n\n"
      "[field]\nFLDCODE = 001\nFLDNAME = CODE\nFLDTITLE = コード\nFLDLST = ○\nFLDTYPE = 数字\nFLDEDT = ZERO\n"
      "FLDSMSU = 6\nFLDX = 2\nFLDY = 3\n";
  int code = 2;
  for (const Group& g : kGroups) {
    for (int i = 0; i < g.count; ++i) {
      char field[256];
      std::snprintf(field, sizeof field, "\n[field]\nFLDCODE = %03d\nFLDNAME = %s\nFLDTITLE = %s\nFLDLST = ○\n"
                    "FLDTYPE = %s\nFLDSMSU = %d\n", code++, ColumnName(g, i).c_str(), ColumnName(g, i).c_str(),
                    g.screenType, std::min(g.width, 12));
      text += field;
    }
  }
  return text;
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && ok;
}

// Screen texts are read as UTF-8: the program's Shift-JIS turned back.
std::string Utf8(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  wide.resize(MultiByteToWideChar(932, 0, text.c_str(), static_cast<int>(text.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  std::string out(wide.size() * 3 + 1, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), out.data(),
                                 static_cast<int>(out.size()), nullptr, nullptr));
  return out;
}

bool Exec(SQLHSTMT statement, const std::string& sql) {
  std::string text = ToDbText(sql.c_str());
  return SQL_SUCCEEDED(SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS));
}

// Fills the table through one transaction of multi-row inserts.
bool MakeRows(int rows) {
  const int slot = db_alloc_slot("", kFixtureDb, "LSTBENCH", -1);
  if (slot < 0) return false;
  SQLHDBC connection = g_tableSlots[slot].connection;
  SQLHSTMT statement = SQL_NULL_HSTMT;
  SQLAllocStmt(connection, &statement);
  bool ok = BeginTableTransaction(slot) == 0;
  constexpr int kBatch = 50;
  for (int first = 0; ok && first < rows; first += kBatch) {
    std::string sql = "insert into LSTBENCH values ";
    for (int row = first; row < std::min(rows, first + kBatch); ++row) {
      char code[16];
      std::snprintf(code, sizeof code, "%06d", row + 1);
      sql += std::string(row == first ? "" : ",") + "('" + code + "'";
      for (int i = 0; i < kTexts; ++i) sql += ",'日本語の項目" + std::to_string(i) + "_" + std::to_string(row % 1000) + "'";
      for (int i = 0; i < kShorts; ++i) sql += "," + std::to_string(row % 30000 + i);
      for (int i = 0; i < kLongs; ++i) sql += "," + std::to_string(row * 10 + i);
      for (int i = 0; i < kDoubles; ++i) sql += "," + std::to_string(row + i / 4.0);
      sql += ")";
    }
    ok = Exec(statement, sql);
  }
  SQLFreeStmt(statement, SQL_DROP);
  ok = EndTableTransaction(slot, ok) == 0 && ok;
  db_disconnect(slot);
  return ok;
}

// The plain program: the same rows in code order into bound buffers, a
// page of 20 at a time. Milliseconds per page.
double PlainPageMs(int rows) {
  const int slot = db_alloc_slot("", kFixtureDb, "LSTBENCH", -1);
  if (slot < 0) return -1;
  SQLHSTMT statement = SQL_NULL_HSTMT;
  SQLAllocStmt(g_tableSlots[slot].connection, &statement);
  char texts[1 + kTexts][64];
  SQLLEN lengths[1 + kTexts + kShorts + kLongs + kDoubles];
  SQLSMALLINT shorts[kShorts];
  SQLINTEGER longs[kLongs];
  double doubles[kDoubles];
  SQLUSMALLINT n = 1;
  int k = 0;
  for (auto& text : texts) SQLBindCol(statement, n++, SQL_C_CHAR, text, sizeof text, &lengths[k++]);
  for (auto& value : shorts) SQLBindCol(statement, n++, SQL_C_SSHORT, &value, 0, &lengths[k++]);
  for (auto& value : longs) SQLBindCol(statement, n++, SQL_C_SLONG, &value, 0, &lengths[k++]);
  for (auto& value : doubles) SQLBindCol(statement, n++, SQL_C_DOUBLE, &value, 0, &lengths[k++]);
  const Clock::time_point start = Clock::now();
  if (!Exec(statement, "select * from LSTBENCH order by CODE")) return -1;
  int seen = 0;
  long sum = 0;
  while (SQL_SUCCEEDED(SQLFetch(statement))) {
    sum += texts[1][0] + shorts[0] + longs[0] + static_cast<long>(doubles[0]);
    ++seen;
  }
  const double total = MillisecondsSince(start);
  SQLFreeStmt(statement, SQL_DROP);
  db_disconnect(slot);
  if (seen != rows || sum == 0) return -1;
  return total / ((rows + kLines - 1) / kLines);
}

// The database layer alone reading the same rows as the list's cells take
// them (every column as text), a page of 20 at a time. Milliseconds per
// page.
double LayerPageMs(int rows) {
  const int t = db_open("", kFixtureDb, "LSTBENCH", -1, "", "", "select * from LSTBENCH");
  if (t < 0) return -1;
  std::vector<std::string> names{"CODE"};
  for (const Group& g : kGroups) {
    for (int i = 0; i < g.count; ++i) names.push_back(ColumnName(g, i));
  }
  const Clock::time_point start = Clock::now();
  int seen = 0;
  long sum = 0;
  for (int rc = db_tfind(t, 0); rc == 0; rc = db_nread(t)) {
    for (const std::string& name : names) sum += GetColumnAsText(t, name.c_str())[0];
    ++seen;
  }
  const double total = MillisecondsSince(start);
  db_close(t);
  if (seen != rows || sum == 0) return -1;
  return total / ((rows + kLines - 1) / kLines);
}

struct ListTimes {
  double forwardMs = 0, backwardMs = 0, worstMs = 0;
  double fillMs = 0;  // of the forward pages: reading the rows into the cells, painting left out
  int pages = 0;
  int slowPages = 0;   // pages over the target
  int worstPage = 0;   // the slowest page's move: 1 .. forward, then backward
};

// The list form pages forward through every row, then back.
bool PageTheList(int rows, ListTimes* times) {
  if (OpenScreen("", kFixtureDb, "LST-BENCH", -1, -1, "") != 0) return false;
  const HWND list = GetWorkWindow(WorkWindow::kList);
  char last[16];
  std::snprintf(last, sizeof last, "%06d", ((rows - 1) / kLines) * kLines + 1);
  const int pages = (rows + kLines - 1) / kLines;
  Clock::time_point start = Clock::now();
  double fill = 0;
  int move = 0;
  auto note = [&](Clock::time_point one) {
    const double ms = MillisecondsSince(one);
    ++move;
    if (ms >= kTargetPageMs) ++times->slowPages;
    if (ms > times->worstMs) {
      times->worstMs = ms;
      times->worstPage = move;
    }
  };
  for (int page = 1; page < pages; ++page) {
    const Clock::time_point one = Clock::now();
    SendMessageA(list, kMsgCommand, kNextPage, 0);
    fill += MillisecondsSince(one);
    UpdateWindow(list);
    note(one);
  }
  times->forwardMs = MillisecondsSince(start) / (pages - 1);
  times->fillMs = fill / (pages - 1);
  const bool atEnd = Item(ResolveFieldRef(Slot(0).window == list ? 0 : 1, "CODE01")).displayText == last;
  const int back = std::min(kBackPages, pages - 1);
  start = Clock::now();
  for (int page = 0; page < back; ++page) {
    const Clock::time_point one = Clock::now();
    SendMessageA(list, kMsgCommand, kPreviousPage, 0);
    UpdateWindow(list);
    note(one);
  }
  times->backwardMs = MillisecondsSince(start) / back;
  times->pages = pages;
  SendMessageA(list, kMsgCloseWindow, 0, 0);
  if (!atEnd) std::fprintf(stderr, "the list did not reach its last page\n");
  return atEnd;
}

bool Measure(const char* database, const std::string& folder, int rows) {
  const std::string texts = folder + "\\bench_screens";
  CreateDirectoryA(texts.c_str(), nullptr);
  if (PrepareFixtureTables() != 0 || !WriteFile(folder + "\\LSTBENCH.SPC", TableSpec()) ||
      !WriteFile(texts + "\\LST-BENCH.txt", Utf8(ScreenText())) ||
      LoadScreenTexts(texts.c_str(), "", kFixtureDb) != 1) {
    return false;
  }
  DropTableByConnect("", kFixtureDb, "LSTBENCH", -1);
  if (CreateTableFromSpec("", kFixtureDb, "LSTBENCH", -1, "", "LSTBENCH") != 0 || !MakeRows(rows)) return false;
  const double plain = PlainPageMs(rows);
  const double layer = LayerPageMs(rows);
  ListTimes list;
  if (plain < 0 || layer < 0 || !PageTheList(rows, &list)) return false;
  const double ratio = list.fillMs / plain;
  std::printf("%s, %d rows of 60 columns, %d lines a page (%d pages)\n", database, rows, kLines, list.pages);
  std::printf("  list form, next page      %8.2f ms a page (painted)\n", list.forwardMs);
  std::printf("  list form, rows into cells %7.2f ms a page (painting left out)\n", list.fillMs);
  std::printf("  list form, previous page  %8.2f ms a page\n", list.backwardMs);
  std::printf("  list form, slowest page   %8.2f ms (move %d of %d), %d pages over %.0f ms\n", list.worstMs,
              list.worstPage, list.pages - 1 + std::min(kBackPages, list.pages - 1), list.slowPages, kTargetPageMs);
  std::printf("  database layer, a page of rows as texts %6.2f ms (%.2f x plain)\n", layer, layer / plain);
  std::printf("  plain ODBC, a page of rows %7.2f ms\n", plain);
  std::printf("  ratio (rows into cells / plain) %5.2f\n", ratio);
  std::printf("  target: within %.1fx of plain ODBC: %s; every page under %.0f ms: %s\n", kTargetRatio,
              ratio <= kTargetRatio ? "met" : "NOT MET", kTargetPageMs,
              list.slowPages == 0 ? "met" : "NOT MET");
  return true;
}

std::string ConnectionValue(const std::string& text, const char* key) {
  const std::string wanted = std::string(key) + "=";
  const size_t at = text.find(wanted);
  if (at == std::string::npos) return std::string();
  const size_t start = at + wanted.size();
  return text.substr(start, text.find(';', start) - start);
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::max(kLines * 2, std::atoi(argv[1])) : 100000;
  SetMessageBoxHook(AnswerBox, nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ListBenchMain";
  RegisterClassA(&wc);
  const HWND main = CreateWindowExA(0, wc.lpszClassName, "main", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    wc.hInstance, nullptr);
  InitScreenEngine(main);
  db_init();
  BindImagingLibrary();
  RegisterMenuWindow(main);
  RegisterListWindow(main);
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  const std::string folder = std::string(current) + "\\list_bench_work";
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* suffix : {".mdb", ".mdb-wal", ".mdb-shm"}) DeleteFileA((folder + "\\" + kFixtureDb + suffix).c_str());
  bool ok = true;
  UseFixtureDatabase(kDbKindFile, folder, {});
  ok &= Measure("SQLite", folder, rows);
  const char* pg = std::getenv("SHEETDESK_PG");
  if (pg && *pg) {
    const std::string text = pg;
    UseFixtureDatabase(kDbKindServer, folder,
                       {ConnectionValue(text, "Server") + ":" + ConnectionValue(text, "Port"),
                        ConnectionValue(text, "Uid"), ConnectionValue(text, "Pwd")});
    ok &= Measure("PostgreSQL", folder, rows);
  } else {
    std::printf("PostgreSQL: SHEETDESK_PG is not set, not measured\n");
  }
  UnbindImagingLibrary();
  db_term();
  if (!ok) std::fprintf(stderr, "the benchmark failed\n");
  return ok ? 0 : 1;
}
