#include "tests/reading/run_fixture.h"

#include <algorithm>

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

}  // namespace

void ReadingDbTest::SetUp() {
  boxes_ = new MessageBoxRecorder(IDYES);
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  folder_ = FreshFolder(std::string("readrun_") + test->name());
  CreateDirectoryA(Path("image").c_str(), nullptr);
  CreateDirectoryA(Path("log").c_str(), nullptr);
  CopyFileA((ProgramFolder() + "\\MUPADATA.SPC").c_str(), Path("MUPADATA.SPC").c_str(), FALSE);
  SetSpecFolder(folder_.c_str());
  SetDbServer(kDbKindFile, 7, "");
  SetDbLogin("", "");

  g_currentSheet = CurrentSheet();
  g_currentSheet.folder = folder_;
  g_currentSheet.database = kSheetDb;
  g_currentSheet.outputFolder = folder_;
  g_currentSheet.outputDatabase = kOutputDb;
  g_currentSheet.logFolder = Path("log");
  g_sheetSettings = SheetSettings();
  g_sheetKeys = SheetKeyItems();
  g_readingRun = ReadingRun();
  g_readingPlaces = ReadingPlaces();
  g_readingPlaces.imageFolder = Path("image");
  g_readingPlaces.endCodePath = Path("log\\ENDCODE.TXT");
  g_readingPlaces.readEndPath = Path("log\\READEND.TXT");
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
  const int slot = db_open_nocreate(folder_.c_str(), database, table, kDbKindFile, "", "", "");
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

void ReadingDbTest::WritePage(const std::string& name, const SheetDefinition& definition,
                              const SheetRequest& request) {
  const GeneratedSheet sheet = GenerateSheet(definition, request);
  ASSERT_EQ(sheet.error, "");
  ASSERT_TRUE(WriteSheetBmp(ImagePath(name), sheet));
}

namespace {

char EditLetter(const std::string& word) {
  if (word == "０埋") return 'Z';
  if (word == "Ｂ除") return 'D';
  if (word == "右詰") return 'R';
  if (word == "ﾁｪｯｸ") return 'C';
  return 'L';
}

}  // namespace

void ReadingDbTest::BuildCanvas(const SheetDefinition& definition, const std::string& side) {
  ScreenItemTable& table = g_screenItems;
  table.totalCount = table.buildingCount = 0;
  for (const SheetFieldRow* row : definition.FieldsOf(side)) {
    ScreenItem& item = table.items[table.totalCount++];
    item = ScreenItem();
    item.itemClass = kItemClassSheet;
    item.code = row->code;
    item.name = row->name;
    item.caption = row->title;
    item.column = row->x;
    item.row = row->y;
    item.width = row->count;
    item.edit = EditLetter(row->edit);
    item.kind = row->type == "一括" ? 'F' : row->type == "全長" ? 'Z' : 'X';
    item.boxWidth = row->boxWidth;
    item.boxHeight = row->boxHeight;
    item.rowGap = row->arrayGap;
    item.bSize = row->gap;
    item.markType = row->markType;
    item.threshold = item.edit == 'C' && row->threshold == 0 ? 10 : row->threshold;
    item.fullWidth = 2;
    item.blankNotAllowed = row->required;
    item.charType = row->charType == "数値" ? 2 : row->charType == "ﾌﾗｸﾞ" ? 3 : 1;
    item.validChars = row->mask;
    item.minText = row->minimum;
    item.maxText = row->maximum;
    item.overlayText = row->overlay;
    item.conversionText = row->condition;
    item.count = row->decimals;
    item.boxShape = item.edit == 'C' ? (row->shape == "Ｍ" ? 23 : row->shape == "Ｃ" ? 24 : 1) : 20;
    item.recordCode = row->type == "Ｘ" ? 2 : row->type == "Ｙ" ? 3 : 0;
    if (item.recordCode) item.groupSize = std::min(row->arrayCount, item.count);
  }
  WindowSlot& slot = Slot(0);
  slot.state = 0;
  slot.screenType = kScreenTypeSheet;
  slot.firstItem = 0;
  slot.itemCount = table.totalCount;
  slot.lastItem = table.totalCount - 1;
  g_currentSheet.canvasSlot = 0;
  g_currentSheet.sheetCode = side;
}

void ReadingDbTest::InstallFeeder() {
  CreateDirectoryA(Path("feed").c_str(), nullptr);
  feederSettings_ = ProgramFolder() + "\\SCANFEED.INI";
  WriteBytes(feederSettings_, "[Feeder]\r\nName=Test Feeder\r\nFolder=" + Path("feed") +
                                  "\r\nTray=" + Path("fed") + "\r\n");
}
