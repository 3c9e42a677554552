#include "tests/foundation/db_test_support.h"
#include "tests/support/required_service.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

const char* const kTestTables[] = {"T1", "T2", "T3", "調査項目", "WIDE", nullptr};

const char kT1Spec[] =
    "FIELD\r\n"
    "\"Code\",\"char*\",\"CODE\",6,0,0,\"\",6\r\n"
    "\"Name\",\"char*\",\"NAME\",20,0,0,\"\",20\r\n"
    "\"Qty\",\"int\",\"QTY\",5,0,0,\"\",5\r\n"
    "\"Amount\",\"double\",\"AMOUNT\",10,0,2,\"\",10\r\n"
    "\"Total\",\"long\",\"TOTAL\",10,0,0,\"\",10\r\n"
    "INDEX\r\n"
    "\"CODE\",\"△\"\r\n"
    "\"NAME\",\"△\"\r\n"
    "END\r\n";

const char kSurveySpec[] =
    "FIELD\r\n"
    "\"コード\",\"char*\",\"ＯＣＲコード\",10,0,0,\"\",10\r\n"
    "\"番号\",\"int\",\"項目番号\",4,0,0,\"\",4\r\n"
    "\"名称\",\"char*\",\"名称\",20,0,0,\"\",20\r\n"
    "\"面\",\"char\",\"表面裏面\",1,0,0,\"\",1\r\n"
    "\"得点\",\"double\",\"得点\",8,0,1,\"\",8\r\n"
    "\"件数\",\"long\",\"件数\",9,0,0,\"\",9\r\n"
    "\"選択肢\",\"char*\",\"選択肢\",4,3,0,\"\",4\r\n"
    "INDEX\r\n"
    "\"ＯＣＲコード\",\"▽\"\r\n"
    "\"項目番号\",\"△\"\r\n"
    "\"名称\"\r\n"
    "END\r\n";

namespace {

// One ODBC environment for the whole program, as the application has.
class LayerEnvironment : public testing::Environment {
 public:
  void SetUp() override { db_init(); }
  void TearDown() override { db_term(); }
};

[[maybe_unused]] const testing::Environment* const g_layer =
    testing::AddGlobalTestEnvironment(new LayerEnvironment);

}  // namespace

std::string ConnectionValue(const std::string& text, const char* key) {
  const std::string wanted = std::string(key) + "=";
  size_t at = 0;
  while ((at = text.find(wanted, at)) != std::string::npos) {
    if (at == 0 || text[at - 1] == ';') {
      const size_t start = at + wanted.size();
      return text.substr(start, text.find(';', start) - start);
    }
    ++at;
  }
  return std::string();
}

bool ReadRunServer(RunServer* server) {
  const char* pg = std::getenv("SHEETDESK_PG");
  if (!pg || !*pg) return false;
  server->name = ConnectionValue(pg, "Server") + ":" + ConnectionValue(pg, "Port");
  server->user = ConnectionValue(pg, "Uid");
  server->password = ConnectionValue(pg, "Pwd");
  server->database = ConnectionValue(pg, "Database");
  return true;
}

std::string WindowsPathOf(const std::string& hostPath) {
  using DosNameFn = WCHAR*(CDECL*)(const char*);
  const auto toDos = reinterpret_cast<DosNameFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
  WCHAR* dosName = toDos ? toDos(hostPath.c_str()) : nullptr;
  if (!dosName) return hostPath;
  char path[MAX_PATH];
  WideCharToMultiByte(CP_ACP, 0, dosName, -1, path, MAX_PATH, nullptr, nullptr);
  HeapFree(GetProcessHeap(), 0, dosName);
  return path;
}

std::string TestFolder() {
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  const std::string folder = std::string(current) + "\\db_test_work";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void WriteTextFile(const std::string& path, const std::string& text) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

std::string KindName(const testing::TestParamInfo<int>& info) {
  return info.param == kDbKindServer ? "PostgreSQL" : "SQLite";
}

void DbTest::SetUp() {
  boxes_ = new MessageBoxRecorder(IDYES);
  folder_ = TestFolder();
  SetSpecFolder(folder_.c_str());
  SetDbFolder(folder_.c_str());
  if (server()) {
    const char* pg = std::getenv("SHEETDESK_PG");
    if (!pg || !*pg) SKIP_WITHOUT_SERVICE("SHEETDESK_PG is not set: no PostgreSQL server for this run");
    const std::string text = pg;
    const std::string server = ConnectionValue(text, "Server") + ":" + ConnectionValue(text, "Port");
    SetDbServer(kDbKindServer, 7, server.c_str());
    SetDbLogin(ConnectionValue(text, "Uid").c_str(), ConnectionValue(text, "Pwd").c_str());
  } else {
    SetDbServer(kDbKindFile, 7, "");
    SetDbLogin("", "");
    for (const char* suffix : {".mdb", ".mdb-wal", ".mdb-shm"}) {
      DeleteFileA((folder_ + "\\" + kDb + suffix).c_str());
    }
  }
  WriteSpec("T1", kT1Spec);
  WriteSpec("T2", kT1Spec);
  WriteSpec("調査項目", kSurveySpec);
  // Leftovers of an earlier run of the server cases.
  const int slot = db_alloc_slot("", kDb, "T1", -1);
  ASSERT_GT(slot, 0) << "no connection to the test database";
  ExecSlotSql(slot, "drop view V1", 1);
  for (const char* const* table = kTestTables; *table; ++table) {
    ExecSlotSql(slot, (std::string("drop table ") + *table).c_str(), 1);
  }
  db_disconnect(slot);
  ForgetBoxes();
}

void DbTest::TearDown() {
  for (int slot = 1; slot <= kMaxTableSlots; ++slot) {
    if (GetSlotConnState(slot) > 1) db_close(slot);
  }
  delete boxes_;
  boxes_ = nullptr;
}

void DbTest::WriteSpec(const char* name, const std::string& text) {
  WriteTextFile(folder_ + "\\" + name + ".SPC", text);
}

void DbTest::Exec(const std::vector<std::string>& statements) {
  const int slot = db_alloc_slot("", kDb, "T1", -1);
  ASSERT_GT(slot, 0);
  for (const std::string& statement : statements) {
    EXPECT_EQ(db_exec(slot, statement.c_str()), 0) << statement;
  }
  db_disconnect(slot);
}

int DbTest::Open(const char* table, const char* select) {
  return db_open("", kDb, table, -1, "", "", "%s", select);
}

std::vector<std::string> DbTest::Captions() const {
  std::vector<std::string> captions;
  for (const MessageBoxCall& call : boxes_->calls()) captions.push_back(call.caption);
  return captions;
}

void DbTest::ForgetBoxes() {
  delete boxes_;
  boxes_ = new MessageBoxRecorder(IDYES);
}
