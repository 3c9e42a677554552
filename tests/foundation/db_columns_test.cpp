// The column table and specification files in slots, without a database:
// typed access by name, copies between slots, limits and bad files; and the
// layer on kind 3, where nothing touches a database.
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/db.h"
#include "tests/foundation/db_test_support.h"
#include "tests/support/hook_recorder.h"

namespace {

using Texts = std::vector<std::string>;

const char kValuesSpec[] =
    "VALUES\r\n"
    "FIELD\r\n"
    "\"t\",\"char*\",\"TXT\",4,0,0,\"*\",12\r\n"
    "\"c\",\"char\",\"CH\",1,0,0,\"\",1\r\n"
    "\"s\",\"int\",\"SHORTV\",5,0,0,\"\",5\r\n"
    "\"d\",\"double\",\"DBL\",8,0,2,\"\",8\r\n"
    "\"l\",\"long\",\"LNG\",9,0,0,\"\",9\r\n"
    "\"m\",\"char*\",\"MARK\",2,3,0,\"\",2\r\n"
    "INDEX\r\n"
    "\"TXT\",\"▽\"\r\n"
    "\"SHORTV\",\"△\"\r\n"
    "END\r\n"
    "SHORT\r\n"
    "FIELD\r\n"
    "\"l\",\"long\",\"A\",9,0,0,\"\",9\r\n"
    "\"t\",\"char*\",\"B\",8,0,0,\"\",8\r\n"
    "END\r\n";

class DbColumns : public testing::Test {
 protected:
  void SetUp() override {
    SetSpecFolder(TestFolder().c_str());
    WriteTextFile(TestFolder() + "\\VALUES.SPC", kValuesSpec);
  }
  void TearDown() override {
    for (int slot = 1; slot <= kMaxTableSlots; ++slot) ResetSlot(slot);
  }
  // The boxes shown since the last call.
  Texts TakeBoxes() {
    const Texts texts = boxes_->texts();
    boxes_.reset();  // gives its hook back before the next one takes it
    boxes_ = std::make_unique<MessageBoxRecorder>();
    return texts;
  }
  std::unique_ptr<MessageBoxRecorder> boxes_ = std::make_unique<MessageBoxRecorder>();
};

TEST_F(DbColumns, ReadsASpecificationIntoASlot) {
  const int slot = SqlTblSet("VALUES", "VALUES");
  ASSERT_GT(slot, 0);
  EXPECT_EQ(GetSlotColumnCount(slot), 8);
  EXPECT_EQ(CountColumnsWithPrefix(slot, "MARK"), 3);
  EXPECT_EQ(GetColumnFlag(slot, "TXT"), '*');
  EXPECT_EQ(GetColumnWidth(slot, "TXT"), 12);
  EXPECT_EQ(GetColumnType(slot, "CH"), kColumnChar);
  std::string names;
  std::string types;
  std::string lengths;
  EXPECT_EQ(GetSlotColumnLists(slot, names, types, lengths), 8);
  EXPECT_EQ(names, "TXT,CH,SHORTV,DBL,LNG,MARK00,MARK01,MARK02");
  EXPECT_EQ(types, "1,2,3,4,6,1,1,1");
  std::string name;
  int length = 0;
  int type = 0;
  EXPECT_EQ(GetColumnInfoByPosition(slot, 6, name, &length, &type), 0);
  EXPECT_EQ(name, "MARK00");
  EXPECT_EQ(GetColumnInfoByPosition(slot, 9, name, &length, &type), 1);
  EXPECT_STREQ(GetColumnNameByPosition(slot, 0), "");
  std::string key;
  EXPECT_EQ(GetKeyColumns(slot, key, 0), 0);
  EXPECT_EQ(key, "SHORTV");
  EXPECT_EQ(FindSlotBySectionName("VALUES"), slot);
  // By a path: the file name after the last "\", "#" or ":" names the file.
  const int byName = SqlTblSetByName("", "D:\\OTHER\\VALUES");
  ASSERT_GT(byName, 0);
  EXPECT_EQ(GetSlotColumnCount(byName), 8);
  EXPECT_EQ(TakeBoxes(), Texts{});
}

TEST_F(DbColumns, TypedAccessByName) {
  const int slot = SqlTblSet("VALUES", "VALUES");
  SetColumnText(slot, "TXT", "ABCDEF");
  EXPECT_STREQ(GetColumnText(slot, "TXT"), "ABCD");
  // A length counts Shift-JIS bytes, each character kept whole.
  SetColumnText(slot, "TXT", "ABC表X");
  EXPECT_STREQ(GetColumnText(slot, "TXT"), "ABC");
  SetColumnText(slot, "TXT", "AB表X");
  EXPECT_STREQ(GetColumnText(slot, "TXT"), "AB表");
  SetColumnText(slot, "TXT", "表表表表表");
  EXPECT_STREQ(GetColumnText(slot, "TXT"), "表表");
  SetColumnText(slot, "TXT", "ABC");
  SetColumnLong(slot, "LNG", 70000);
  EXPECT_EQ(GetColumnInt(slot, "LNG"), 4464);
  EXPECT_EQ(GetColumnLong(slot, "LNG"), 70000);
  SetColumnInt(slot, "SHORTV", 70000);
  EXPECT_EQ(GetColumnInt(slot, "SHORTV"), 4464);
  SetColumnChar(slot, "CH", 'Y');
  EXPECT_EQ(GetColumnChar(slot, "CH"), 'Y');
  SetColumnText(slot, "CH", "表");  // a double-byte character does not fit
  EXPECT_STREQ(GetColumnText(slot, "CH"), "");
  SetColumnDoubleIdx(slot, "DB", 0, 1.0);  // no column DB00: nothing happens
  SetColumnDouble(slot, "DBL", 12.345);
  EXPECT_EQ(GetColumnDouble(slot, "DBL"), 12.345);
  SetColumnTextIdx(slot, "MARK", 2, "XY");
  EXPECT_STREQ(GetColumnTextIdx(slot, "MARK", 2), "XY");
  EXPECT_EQ(SetColumnFromText(slot, "SHORTV", "-12"), 0);
  EXPECT_EQ(GetColumnInt(slot, "SHORTV"), -12);
  EXPECT_EQ(SetColumnFromText(slot, "NOSUCH", "1"), -1);
  EXPECT_STREQ(GetColumnAsText(slot, "SHORTV"), "-12");
  EXPECT_STREQ(GetColumnAsText(slot, "DBL"), "12.345000");
  EXPECT_STREQ(FormatColumnForDisplay(slot, "SHORTV"), "  -12");
  EXPECT_STREQ(FormatColumnForDisplay(slot, "TXT"), "ABC ");
  EXPECT_STREQ(FormatColumnForDisplay(slot, "DBL"), "      12");
  // Absent columns read as nothing, quietly; FindColumn tells.
  EXPECT_STREQ(GetColumnText(slot, "NOSUCH"), "");
  EXPECT_EQ(GetColumnLong(slot, "NOSUCH"), 0);
  EXPECT_EQ(TakeBoxes(), Texts{});
  EXPECT_EQ(FindColumn(slot, "NOSUCH"), -1);
  EXPECT_EQ(TakeBoxes(), Texts{"フィールド“NOSUCH”は、テーブル“”に存在しません。"});
  db_clear(slot);
  EXPECT_STREQ(GetColumnText(slot, "TXT"), "");
  EXPECT_EQ(GetColumnDouble(slot, "DBL"), 0.0);
}

// Numbers taken as text read as "%d" and "%f" write them, to the last digit.
TEST_F(DbColumns, NumbersAsTextMatchPrintf) {
  const int slot = SqlTblSet("VALUES", "VALUES");
  ASSERT_GT(slot, 0);
  for (const double value : {0.0, -0.0, 12.345, -2.5, 0.0000005, 0.0000015, 0.0000025, 1.0 / 3, 2.675,
                             123456789.123456789, -1e15, 1e22, 1.7976931348623157e308, 5e-324,
                             std::numeric_limits<double>::infinity()}) {
    char expected[400];
    std::snprintf(expected, sizeof expected, "%f", value);
    SetColumnDouble(slot, "DBL", value);
    EXPECT_STREQ(GetColumnAsText(slot, "DBL"), expected) << value;
  }
  for (const long value : {0L, -1L, 2147483647L, -2147483647L - 1}) {
    SetColumnLong(slot, "LNG", value);
    EXPECT_EQ(GetColumnAsText(slot, "LNG"), std::to_string(value));
  }
  for (const int value : {0, 32767, -32768}) {
    SetColumnInt(slot, "SHORTV", value);
    EXPECT_EQ(GetColumnAsText(slot, "SHORTV"), std::to_string(value));
  }
}

TEST_F(DbColumns, RangeChecksByType) {
  const int slot = SqlTblSet("VALUES", "VALUES");
  struct Case {
    const char* column;
    const char* value;
    const char* minimum;
    const char* maximum;
    int result;
  };
  const Case cases[] = {
      {"SHORTV", "5", "", "", 0},     {"SHORTV", "5", "10", "", -1},  {"SHORTV", "50", "10", "20", -2},
      {"SHORTV", "15", "10", "20", 0}, {"DBL", "1.5", "1.25", "", 0}, {"DBL", "1.5", "", "1.25", -2},
      {"TXT", "B", "C", "", -1},      {"TXT", "10", "9", "", -1},     {"NOSUCH", "1", "", "", -3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.column) + " " + c.value);
    EXPECT_EQ(CheckColumnRange(slot, c.column, c.value, c.minimum, c.maximum), c.result);
  }
}

TEST_F(DbColumns, CopyConvertsAndClearsWhatTheSourceLacks) {
  const int destination = SqlTblSet("VALUES", "VALUES");
  const int source = SqlTblSet("SHORT", "VALUES");
  ASSERT_GT(source, 0);
  SetColumnText(destination, "SHORTV", "999");
  SetColumnText(destination, "LNG", "999");
  SetColumnLong(source, "A", 70000);
  SetColumnText(source, "B", "12345678");
  CopyRecordColumns(destination, source);
  EXPECT_STREQ(GetColumnText(destination, "TXT"), "7000");  // long into a text of 4
  EXPECT_STREQ(GetColumnText(destination, "CH"), "1");      // text into one character
  EXPECT_EQ(GetColumnInt(destination, "SHORTV"), 0);        // beyond the source: cleared
  EXPECT_EQ(GetColumnLong(destination, "LNG"), 0);

  // The same layout copies exactly; a short takes the low 16 bits of a long.
  const int twin = SqlTblSet("VALUES", "VALUES");
  SetColumnText(destination, "TXT", "AB");
  SetColumnDouble(destination, "DBL", 2.5);
  SetColumnLong(destination, "LNG", 70000);
  CopySlotRecord(twin, destination);
  EXPECT_STREQ(GetColumnText(twin, "TXT"), "AB");
  EXPECT_EQ(GetColumnDouble(twin, "DBL"), 2.5);
  EXPECT_EQ(GetColumnLong(twin, "LNG"), 70000);
}

TEST_F(DbColumns, BadSpecificationFiles) {
  struct Case {
    const char* what;
    const char* text;
    int columns;  // -1: no slot
    Texts boxes;
  };
  const std::string path = TestFolder() + "\\BAD.SPC";
  const Case cases[] = {
      {"no FIELD list", "END\r\n", -1, {path + " にﾚｺｰﾄﾞﾌｨｰﾙﾄﾞはありません。"}},
      {"unknown type skipped", "FIELD\r\n\"t\",\"money\",\"A\",1,0,0,\"\",1\r\n\"t\",\"int\",\"B\",1,0,0,\"\",1\r\n",
       1, {"項目“A”の型“money”は使用できません。\n(" + path + ")"}},
      {"unused column", "FIELD\r\n\"t\",\"int\",\"*OLD\",1,0,0,\"\",1\r\n", 1, {"未使用項目 [:*OLD]"}},
      {"truncated file", "FIELD\r\n\"t\",\"char*\",\"A\",1", 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteTextFile(path, c.text);
    const int slot = SqlTblSet("", "BAD");
    EXPECT_EQ(slot > 0 ? GetSlotColumnCount(slot) : -1, c.columns);
    EXPECT_EQ(TakeBoxes(), c.boxes);
    if (slot > 0) ResetSlot(slot);
  }
  EXPECT_EQ(SqlTblSet("", "NOSUCH"), -1);
  EXPECT_EQ(TakeBoxes(), Texts{TestFolder() + "\\NOSUCH.SPC はありません。"});
}

TEST_F(DbColumns, TheColumnTableHoldsAtMost1499Columns) {
  std::string text = "FIELD\r\n";
  for (int i = 0; i < 6; ++i) text += "\"t\",\"int\",\"C" + std::to_string(i) + "_\",1,250,0,\"\",1\r\n";
  WriteTextFile(TestFolder() + "\\WIDE.SPC", text);
  const int slot = SqlTblSet("", "WIDE");
  ASSERT_GT(slot, 0);
  EXPECT_EQ(GetSlotColumnCount(slot), kMaxColumnEntries - 1);
  EXPECT_EQ(TakeBoxes(), Texts{"ﾌｨｰﾙﾄﾞの最大数 (1500) を越えました。"});
  // No room for another slot's columns either.
  EXPECT_EQ(SqlTblSet("VALUES", "VALUES"), -1);
}

TEST_F(DbColumns, KeysComeFromTheIndexFileWhenThereIsNoSpecification) {
  WriteTextFile(TestFolder() + "\\KEYS.IDX", "INDEX\r\nK1,▽\r\nK2\r\n");
  const int slot = SqlTblSet("VALUES", "VALUES");
  ASSERT_EQ(db_connect(slot, "", "X", "KEYS", kDbKindNone), 0);
  ASSERT_EQ(LoadTableSpec(slot, "", "", ""), 0);
  std::string key;
  EXPECT_EQ(GetKeyColumns(slot, key, 0), 0);
  EXPECT_EQ(key, "K2");
}

TEST_F(DbColumns, KindThreeTouchesNoDatabase) {
  SetDbServer(kDbKindNone, 7, "");
  WriteTextFile(TestFolder() + "\\T1.SPC", kT1Spec);
  const int slot = db_open("", "NODB", "T1", -1, "", "", "");
  ASSERT_GT(slot, 0);
  EXPECT_EQ(GetSlotKind(slot), kDbKindNone);
  EXPECT_EQ(db_toppos(slot, "CODE"), 0);
  EXPECT_EQ(db_tfind(slot, 0), 0);
  EXPECT_EQ(db_nread(slot), 0);
  EXPECT_EQ(db_add(slot), 0);
  EXPECT_EQ(db_update(slot), 0);
  EXPECT_EQ(db_delete(slot), 0);
  EXPECT_EQ(db_count(slot), 0);
  EXPECT_EQ(db_exec(slot, "anything at all"), 0);
  EXPECT_EQ(AddTableColumn(slot, kColumnText, "X", 1), 0);
  EXPECT_EQ(db_close(slot), 0);
  EXPECT_EQ(TakeBoxes(), Texts{});
  SetDbServer(kDbKindFile, 7, "");
}

}  // namespace
