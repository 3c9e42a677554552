#include "tests/reading/run_fixture.h"

#include "tests/reading/run_setup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>


#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/imaging.h"
#include "reading/reading.h"
#include "tests/platform/image_fixtures.h"
#include "screen/screen.h"
#include "tools/sheetgen/sheet_definition_db.h"

namespace {

// One ODBC environment and one imaging binding for the whole program, as
// the application has.
class ReadingEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    db_init();
    BindImagingLibrary();
  }
  void TearDown() override {
    UnbindImagingLibrary();
    db_term();
  }
};

[[maybe_unused]] const testing::Environment* const g_environment =
    testing::AddGlobalTestEnvironment(new ReadingEnvironment);

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

// The length of the runs' folder paths, at the least.
constexpr std::size_t kLongFolderBytes = 205;

}  // namespace

int CountFiles(const std::string& pattern) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    ++count;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

void ReadingDbTest::SetUp() {
  boxes_ = new MessageBoxRecorder(IDYES);
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  // Runs go from a folder whose path is 205 bytes long at the least, as an
  // installation deep in a user's folders has. In a checkout deep enough
  // for that already, the folder is named by a hash of the test's name, so
  // that the files in it stay within MAX_PATH.
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  std::string name = std::string("readrun_") + test->name();
  std::replace(name.begin(), name.end(), '/', '_');  // parameterised tests' names
  std::string parent = std::string(current) + "\\a_long_program_folder_";
  if (parent.size() + 1 + name.size() > kLongFolderBytes) {
    const std::string testName = std::string(test->test_suite_name()) + "." + test->name();
    char hashed[32];
    std::snprintf(hashed, sizeof hashed, "readrun_%016zx", std::hash<std::string>{}(testName));
    parent = current;
    name = hashed;
  }
  const std::size_t length = parent.size() + 1 + name.size();
  if (length < kLongFolderBytes) parent.append(kLongFolderBytes - length, 'x');
  CreateDirectoryA(parent.c_str(), nullptr);
  folder_ = FreshFolder(parent + "\\" + name);
  CreateDirectoryA(Path("image").c_str(), nullptr);
  CreateDirectoryA(Path("log").c_str(), nullptr);
  CopyFileA((ProgramFolder() + "\\MUPADATA.SPC").c_str(), Path("MUPADATA.SPC").c_str(), FALSE);
  UseRunFolder(folder_);
}

void ReadingDbTest::TearDown() {
  if (!feederSettings_.empty()) DeleteFileA(feederSettings_.c_str());
  feederSettings_.clear();
  for (int slot = 1; slot <= kMaxTableSlots; ++slot) {
    if (GetSlotConnState(slot) > 1) db_close(slot);
  }
  delete boxes_;
  boxes_ = nullptr;
}

void ReadingDbTest::ForgetBoxes() {
  delete boxes_;
  boxes_ = new MessageBoxRecorder(IDYES);
}

void ReadingDbTest::WriteDefinition(const SheetDefinition& definition) {
  ASSERT_EQ(WriteSheetDefinition(folder_.c_str(), kSheetDb, definition), 0) << testing::PrintToString(Boxes());
}

void ReadingDbTest::WriteOutputSpec(const std::string& table,
                                    const std::vector<std::string>& columns) {
  std::string text = table + "\r\nFIELD\r\n";
  for (const std::string& column : columns) {
    std::string name = column, type = "char*", length = "20";
    const std::size_t colon = column.find(':');
    if (colon != std::string::npos) {
      name = column.substr(0, colon);
      const std::size_t second = column.find(':', colon + 1);
      type = column.substr(colon + 1, second - colon - 1);
      length = column.substr(second + 1);
    }
    text += "\"" + name + "\",\"" + type + "\",\"" + name + "\"," + length + ",0,0,\"\"," +
            length + "\r\n";
  }
  const std::string key = columns[0].substr(0, columns[0].find(':'));
  text += "INDEX\r\n\"" + key + "\",\"△\"\r\nEND\r\n";
  WriteBytes(Path(table + ".SPC"), text);
}

std::vector<std::map<std::string, std::string>> ReadingDbTest::Rows(const char* database,
                                                                    const char* table,
                                                                    const char* order) {
  std::vector<std::map<std::string, std::string>> rows;
  // The output database is where the run writes, the file one or the server.
  const CurrentSheet& output = g_currentSheet;
  const bool isOutput = std::strcmp(database, kOutputDb) == 0;
  const int slot = isOutput ? db_open_nocreate(output.outputFolder.c_str(), output.outputDatabase.c_str(),
                                               table, output.outputKind, "", "", "")
                            : db_open_nocreate(folder_.c_str(), database, table, kDbKindFile, "", "", "");
  if (slot < 0) return rows;
  std::string names;
  GetSlotColumnNames(slot, names);
  std::vector<std::string> columns;
  for (std::size_t at = 0; at <= names.size();) {
    const std::size_t comma = std::min(names.find(',', at), names.size());
    if (comma > at) columns.push_back(names.substr(at, comma - at));
    at = comma + 1;
  }
  for (int rc = db_toppos(slot, order); rc == 0; rc = db_nread(slot)) {
    std::map<std::string, std::string> row;
    for (const std::string& column : columns) row[column] = GetColumnAsText(slot, column.c_str());
    rows.push_back(row);
  }
  db_close(slot);
  return rows;
}

int ReadingDbTest::OpenOutputTable(const std::string& table) {
  const CurrentSheet& output = g_currentSheet;
  const char* name = table.c_str();
  return db_open(output.outputFolder.c_str(), output.outputDatabase.c_str(), name, output.outputKind,
                 name, name, "");
}

int ReadingDbTest::OutputStatementSlot(const std::string& table) {
  const CurrentSheet& output = g_currentSheet;
  return db_alloc_slot(output.outputFolder.c_str(), output.outputDatabase.c_str(), table.c_str(),
                       output.outputKind);
}

void ReadingDbTest::WritePage(const std::string& name, const SheetDefinition& definition,
                              const SheetRequest& request) {
  const GeneratedSheet sheet = GenerateSheet(definition, request);
  ASSERT_EQ(sheet.error, "");
  ASSERT_TRUE(WriteSheetBmp(ImagePath(name), sheet));
}

void ReadingDbTest::BuildCanvas(const std::string& side) {
  ASSERT_EQ(OpenSheetCanvas(side), 0);
}

void ReadingDbTest::InstallFeeder() {
  CreateDirectoryA(Path("feed").c_str(), nullptr);
  feederSettings_ = ProgramFolder() + "\\SCANFEED.INI";
  WriteBytes(feederSettings_, "[Feeder]\r\nName=Test Feeder\r\nFolder=" + Path("feed") +
                                  "\r\nTray=" + Path("fed") + "\r\n");
}
