// The sheet-definition tables the program ships descriptions of: each is
// created from the shipped file through the database layer on both drivers
// and keeps a row of Japanese texts in every column.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "foundation/path_split.h"
#include "foundation/spc_file.h"
#include "tests/foundation/db_test_support.h"
#include "tests/foundation/spc_sections.h"

namespace {

using Texts = std::vector<std::string>;

struct ShippedTable {
  std::string table;
  std::string specFile;  // as the program names it
  std::string section;
};

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(PathFolder(std::string_view(path, length)));
}

// Every description of MUPADATA.SPC under its table name (the question
// table 質問内容 is described by MUPA_SMN), and the survey tables from the
// files of their own names, as the designer opens them.
std::vector<ShippedTable> ListShippedTables(const std::string& folder) {
  std::string text;
  EXPECT_TRUE(ReadWholeFile((folder + "\\MUPADATA.SPC").c_str(), text));
  std::vector<ShippedTable> tables;
  for (const std::string& section : SpecSections(text)) {
    if (section == "調査定義" || section == "調査項目") continue;
    tables.push_back({section == "MUPA_SMN" ? "質問内容" : section, "MUPADATA", section});
  }
  tables.push_back({"調査定義", "調査定義", ""});
  tables.push_back({"調査項目", "調査項目", ""});
  return tables;
}

// A Japanese text of `length` bytes that differs by column position: a
// full-width character whose second Shift-JIS byte is a backslash, "[" or
// "|", the position and filler; the layer cuts it at the column's length
// without splitting a character. A column of one byte takes a half-width
// katakana.
std::string JapaneseValue(int position, int length) {
  static const char* const kLeads[] = {"表", "ソ", "能", "ー", "ポ", "申"};
  if (length == 1) return "ｶ";
  std::string value = kLeads[position % 6] + std::to_string(position);
  while (static_cast<int>(value.size()) < length + 2) value += "告ｶﾅ表ソ";
  return value;
}

class ShippedTables : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    SetSpecFolder(ProgramFolder().c_str());
    tables_ = ListShippedTables(ProgramFolder());
    const int slot = db_alloc_slot("", kDb, "T1", -1);
    ASSERT_GT(slot, 0);
    for (const ShippedTable& t : tables_) ExecSlotSql(slot, ("drop table " + t.table).c_str(), 1);
    db_disconnect(slot);
    ForgetBoxes();
  }

  int OpenTable(const ShippedTable& t) {
    return db_open("", kDb, t.table.c_str(), -1, t.specFile.c_str(), t.section.c_str(), "");
  }

  std::vector<ShippedTable> tables_;
};

TEST_P(ShippedTables, EveryTableIsCreatedAndKeepsJapaneseText) {
  ASSERT_GE(tables_.size(), 15u);
  for (const ShippedTable& t : tables_) {
    SCOPED_TRACE(t.table);
    int slot = OpenTable(t);
    ASSERT_GT(slot, 0) << testing::PrintToString(Boxes());

    // The columns come back from the database as described.
    std::string text;
    ASSERT_TRUE(ReadWholeFile(BuildSpecPath(GetSpecFolder(), t.specFile.c_str()).c_str(), text));
    const SpecColumns spec = ParseSpecColumns(text, t.section.c_str());
    EXPECT_EQ(GetSlotColumnCount(slot), static_cast<int>(spec.columns.size()));
    for (const SpecColumn& c : spec.columns) {
      SCOPED_TRACE(c.name);
      const bool isText = c.type == kColumnText || c.type == kColumnChar;
      EXPECT_EQ(GetColumnType(slot, c.name.c_str()), isText ? kColumnText : c.type);
      if (isText) {
        EXPECT_EQ(GetColumnLength(slot, c.name.c_str()), c.length);
      }
    }

    // One row with every column filled.
    db_clear(slot);
    std::map<std::string, std::string> written;
    const int count = GetSlotColumnCount(slot);
    for (int position = 1; position <= count; ++position) {
      std::string name;
      int length = 0;
      int type = 0;
      ASSERT_EQ(GetColumnInfoByPosition(slot, position, name, &length, &type), 0);
      if (type == kColumnText) {
        // The longest start of a long value that the column holds: filled to
        // its length, less at most a split character.
        SetColumnText(slot, name.c_str(), JapaneseValue(position, length).c_str());
        const std::string held = GetColumnText(slot, name.c_str());
        EXPECT_GE(static_cast<int>(held.size()), length - 1) << name;
        SetColumnText(slot, name.c_str(), held.c_str());
      } else if (type == kColumnDouble) {
        SetColumnDouble(slot, name.c_str(), position + 0.25);
      } else {
        SetColumnInt(slot, name.c_str(), position % 2 ? -position : position * 100);
      }
      written[name] = GetColumnAsText(slot, name.c_str());
    }
    ASSERT_EQ(db_add(slot), 0) << testing::PrintToString(Boxes());
    db_close(slot);

    slot = OpenTable(t);
    ASSERT_GT(slot, 0);
    ASSERT_EQ(db_tfind(slot, 0), 0) << "no first row by the table's first key";
    for (const auto& [name, value] : written) EXPECT_EQ(GetColumnAsText(slot, name.c_str()), value) << name;
    EXPECT_EQ(db_count(slot), 1);
    db_close(slot);
  }
  EXPECT_EQ(Boxes(), Texts{});
}

INSTANTIATE_TEST_SUITE_P(Drivers, ShippedTables, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
