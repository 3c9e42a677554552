// The output table's description and the table made from it, for a sheet
// made through the sheet-definition tables.
#include <windows.h>

#include "designer/sheet_settings.h"
#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "tests/entry/sheet_output_fixture.h"
#include "tests/support/test_pictures.h"

namespace {

const char kExpectedSpec[] =
    "FIELD\r\n"
    "\"\",\"char*\",\"地区\",2,0,0,\"\",2\r\n"
    "\"\",\"char*\",\"学年\",1,0,0,\"\",1\r\n"
    "\"\",\"char*\",\"番号\",4,0,0,\"\",4\r\n"
    "\"\",\"char*\",\"氏名\",20,0,0,\"\",20\r\n"        // full-width: twice the characters
    "\"\",\"int\",\"点数\",3,0,0,\"\",3\r\n"            // 0 to 999 without decimals
    "\"\",\"double\",\"金額\",7,0,2,\"\",7\r\n"
    "\"\",\"char*\",\"Q01\",1,0,0,\"\",1\r\n"           // an array of check fields
    "\"\",\"char*\",\"Q02\",1,0,0,\"\",1\r\n"
    "\"\",\"char*\",\"Q03\",1,0,0,\"\",1\r\n"
    "\"\",\"char*\",\"性別\",2,0,0,\"\",2\r\n"          // the longest coded value
    "\"\",\"char*\",\"読取日\",10,0,0,\"\",10\r\n"
    "\"\",\"char*\",\"IMG01\",100,0,0,\"\",100\r\n"    // the pictures of both sides
    "\"\",\"char*\",\"IMG02\",100,0,0,\"\",100\r\n"
    "INDEX\r\n"
    "\"地区\",\"▽\"\r\n"
    "\"学年\",\"\"\r\n"
    "\"番号\",\"△\"\r\n"
    "END\r\n";

using TableSpecFileTest = SheetOutputTest;

TEST_F(TableSpecFileTest, WritesTheDescriptionAndMakesTheTable) {
  Prepare();
  ASSERT_EQ(WriteTableSpecFile(), 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(SpecText(), kExpectedSpec);
  EXPECT_EQ(FileExists(Path("OUT1.spc.new").c_str()), -1);

  const int slot = db_open_nocreate(folder().c_str(), kOutputDb, "OUT1", kDbKindFile, "OUT1", "", "");
  ASSERT_GT(slot, 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(GetColumnType(slot, "点数"), kColumnShort);
  EXPECT_EQ(GetColumnType(slot, "金額"), kColumnDouble);
  EXPECT_EQ(GetColumnLength(slot, "氏名"), 20);
  EXPECT_EQ(GetColumnLength(slot, "IMG01"), 100);
  // The three key items make one key: the same three values cannot come twice.
  for (const char* number : {"0001", "0001"}) {
    db_clear(slot);
    SetColumnText(slot, "地区", "01");
    SetColumnText(slot, "学年", "1");
    SetColumnText(slot, "番号", number);
    ForgetBoxes();
    db_add(slot);
  }
  EXPECT_EQ(db_count(slot), 1);
  db_close(slot);
}

TEST_F(TableSpecFileTest, RefusesTableNamesWithDriveOrFolderBeforeWriting) {
  Prepare();
  const struct {
    const char* table;
    const char* message;
  } cases[] = {
      {"", "出力を行うテーブル名が設定されていません。"},
      {"C:OUT1", "出力テーブル名“C:OUT1”にドライブ名が含まれています。"},
      {"\\OUT1", "出力テーブル名“\\OUT1”にフォルダ名が含まれています。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.table);
    ForgetBoxes();
    g_sheetSettings.outputTable = c.table;
    EXPECT_EQ(WriteTableSpecFile(), -1);
    EXPECT_EQ(Boxes(), std::vector<std::string>{c.message});
    EXPECT_EQ(FileExists(Path("OUT1.spc").c_str()), -1);
  }
}

TEST_F(TableSpecFileTest, FailedWriteKeepsThePreviousDescription) {
  Prepare();
  ASSERT_EQ(WriteTableSpecFile(), 0) << testing::PrintToString(Boxes());
  ASSERT_EQ(ExecOnSheet("update MUPA_FLD set 文字数=30 where 領域名='氏名'"), 0);
  // The temporary name is taken by a folder: the new text cannot be written.
  ASSERT_TRUE(CreateDirectoryA(Path("OUT1.spc.new").c_str(), nullptr));
  ForgetBoxes();
  EXPECT_EQ(WriteTableSpecFile(), -1);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"“" + Path("OUT1.spc") + "”をオープンできません。"});
  EXPECT_EQ(SpecText(), kExpectedSpec);
  RemoveDirectoryA(Path("OUT1.spc.new").c_str());
  ForgetBoxes();
  ASSERT_EQ(WriteTableSpecFile(), 0);
  EXPECT_NE(SpecText().find("\"氏名\",60,0,0,\"\",60"), std::string::npos);
}

TEST_F(TableSpecFileTest, MissingTableIsMadeOnlyWhenCreationIsAllowed) {
  Prepare();
  g_sheetSettings.createTable = 2;
  EXPECT_EQ(WriteTableSpecFile(), -1);
  EXPECT_EQ(Boxes(), std::vector<std::string>{
                         "データベース“OUTDB”に、テーブル“OUT1”は作成されていません。\n"
                         "テーブルの自動作成が“禁止”に設定されていますので、処理を中断します。"});
  EXPECT_EQ(SpecText(), kExpectedSpec);
  EXPECT_EQ(db_open_nocreate(folder().c_str(), kOutputDb, "OUT1", kDbKindFile, "OUT1", "", ""), -1);
}

// One key item: its INDEX line's mark is empty, and the table keys on it.
TEST_F(TableSpecFileTest, ASingleKeyItemIsTheWholeKey) {
  definition_.keys.erase(definition_.keys.begin(), definition_.keys.begin() + 2);
  Prepare();
  ASSERT_EQ(WriteTableSpecFile(), 0) << testing::PrintToString(Boxes());
  const std::string text = SpecText();
  EXPECT_NE(text.find("INDEX\r\n\"番号\",\"\"\r\nEND\r\n"), std::string::npos) << text;
  const int slot = db_open_nocreate(folder().c_str(), kOutputDb, "OUT1", kDbKindFile, "OUT1", "", "");
  ASSERT_GT(slot, 0);
  for (int i = 0; i < 2; ++i) {
    db_clear(slot);
    SetColumnText(slot, "番号", "0001");
    ForgetBoxes();
    db_add(slot);
  }
  EXPECT_EQ(db_count(slot), 1);
  db_close(slot);
}

// The designer stores a key item's width as 0 when the sheet reads the key
// from a field: the column is as wide as that field.
TEST_F(TableSpecFileTest, AKeyReadOnTheSheetIsAsWideAsItsField) {
  definition_.keys.back().width = 0;
  Prepare();
  ASSERT_EQ(WriteTableSpecFile(), 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(SpecText(), kExpectedSpec);
}

TEST_F(TableSpecFileTest, SheetWithoutKeyItemsGetsNoDescription) {
  definition_.keys.clear();
  Prepare();
  EXPECT_EQ(WriteTableSpecFile(), -1);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"“OUT1”のインデックス定義情報がありません。"});
  EXPECT_EQ(FileExists(Path("OUT1.spc").c_str()), -1);
}

}  // namespace

namespace {

// The reading run makes a missing output table from the same description
// and under the same rule: テーブル作成 1 makes it, any other value refuses.
TEST_F(TableSpecFileTest, TheReadingRunMakesTheTableFromTheDescription) {
  Prepare();
  ASSERT_EQ(WriteTableSpecFile(), 0) << testing::PrintToString(Boxes());
  ASSERT_EQ(DropTableByConnect(folder().c_str(), kOutputDb, "OUT1", kDbKindFile), 0);
  for (const int create : {2, 1}) {
    SCOPED_TRACE(create);
    g_sheetSettings.createTable = create;
    ForgetBoxes();
    const int rc = OpenResultLogs(1);
    const int slot = g_resultLogs.outputSlot;
    const bool typed = slot > 0 && GetColumnType(slot, "金額") == kColumnDouble;
    CloseResultLogs();
    EXPECT_EQ(rc, create == 1 ? 0 : -1) << testing::PrintToString(Boxes());
    EXPECT_EQ(typed, create == 1);
  }
}

}  // namespace
