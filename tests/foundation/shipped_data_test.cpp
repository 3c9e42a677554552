// What the program ships in data/ reads back as intended.
#include <cstdio>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/dates.h"
#include "foundation/ocr_ini.h"
#include "foundation/spc_file.h"
#include "tests/foundation/spc_sections.h"

namespace {

TEST(ShippedData, SampleOcrIniChoosesTheFileDatabaseBesideTheProgram) {
  const char* path = SHEETDESK_PROGRAM_DIR "/OCR.INI";
  std::FILE* file = std::fopen(path, "r");
  ASSERT_NE(file, nullptr) << path;  // a missing file would read as defaults
  std::fclose(file);
  OcrIniSettings settings;
  SetOcrIniDefaults(settings);
  ASSERT_EQ(ReadOcrIniFile(path, "C:\\SHEETDESK", settings), 0);
  EXPECT_EQ(settings.defaultDbKind, kDbKindFile);
  EXPECT_STREQ(settings.serverName, "");
  EXPECT_EQ(settings.debugLevel, 0);
  // The database files (the screen database among them) lie in the program
  // folder, wherever it is: the settings name it relatively.
  EXPECT_STREQ(settings.dbPath, ".");
  EXPECT_STREQ(settings.dbFolder, "C:\\SHEETDESK");
}

std::string ReadProgramFile(const char* name) {
  std::string text;
  EXPECT_TRUE(ReadWholeFile((std::string(SHEETDESK_PROGRAM_DIR "/") + name).c_str(), text)) << name;
  return text;
}

// Most bytes of a column name the column table keeps.
constexpr size_t kMaxColumnName = 40;
// Entries of the column table shared by all open slots.
constexpr size_t kColumnTableEntries = 1499;

TEST(ShippedData, SheetDefinitionTablesAreDescribedWhole) {
  const std::string text = ReadProgramFile("MUPADATA.SPC");
  struct Case {
    const char* section;
    bool keyedBySide;  // the key begins with the side code ＯＣＲコード
  };
  const Case cases[] = {
      {"MUPA_FLD", true},  {"MUPA_PAP", true},  {"MUPA_IDX", true},  {"MUPA_LIN", true},
      {"MUPA_LST", true},  {"MUPA_ORG", true},  {"MUPA_SMN", true},  {"MUPA_HMK", true},
      {"MUPA_TMK", false}, {"MUPA_PRN", false}, {"MUPA_FLG", false}, {"MUPA_SET", false},
      {"MUPA_MEM", false}, {"調査定義", false}, {"調査項目", false},
  };
  std::vector<std::string> expected;
  for (const Case& c : cases) expected.push_back(c.section);
  EXPECT_EQ(SpecSections(text), expected);

  size_t allColumns = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.section);
    const SpecColumns spec = ParseSpecColumns(text, c.section);
    EXPECT_TRUE(spec.notices.empty());
    ASSERT_FALSE(spec.columns.empty());
    allColumns += spec.columns.size();
    std::set<std::string> names;
    for (const SpecColumn& column : spec.columns) {
      EXPECT_TRUE(names.insert(column.name).second) << "twice: " << column.name;
      EXPECT_LE(column.name.size(), kMaxColumnName) << column.name;
    }

    const SpecKeys keys = ParseSpecKeys(text, c.section);
    // No description may force a database kind on the tables.
    EXPECT_EQ(keys.specKind, 0);
    ASSERT_EQ(keys.keyCount, 1);
    const std::string& key = keys.keyText;
    for (size_t start = 0, end = 0; start <= key.size(); start = end + 1) {
      end = key.find(',', start);
      if (end == std::string::npos) end = key.size();
      EXPECT_EQ(names.count(key.substr(start, end - start)), 1u) << "key column " << key;
    }
    const bool bySide = key == "ＯＣＲコード" || key.rfind("ＯＣＲコード,", 0) == 0;
    EXPECT_EQ(bySide, c.keyedBySide) << key;
  }
  // The workbench holds several of these tables open at once, beside the
  // screens' own.
  EXPECT_LT(allColumns, kColumnTableEntries / 2);
}

// File names as the file system spells them: in the program's code page
// under Windows, in UTF-8 on the native host.
#if defined(_WIN32)
#define FILE_NAME(text) text
#else
#define FILE_NAME(text) u8##text
#endif

TEST(ShippedData, SurveyTablesReadAloneAsInTheSheetDefinitionFile) {
  const std::string all = ReadProgramFile("MUPADATA.SPC");
  struct Case {
    const char* table;
    const char* file;
  };
  const Case cases[] = {{"調査定義", FILE_NAME("調査定義.SPC")}, {"調査項目", FILE_NAME("調査項目.SPC")}};
  for (const auto& [table, file] : cases) {
    SCOPED_TRACE(table);
    const std::string alone = ReadProgramFile(file);
    const SpecColumns own = ParseSpecColumns(alone, "");
    const SpecColumns shared = ParseSpecColumns(all, table);
    ASSERT_EQ(own.columns.size(), shared.columns.size());
    for (size_t i = 0; i < own.columns.size(); ++i) {
      EXPECT_EQ(own.columns[i].name, shared.columns[i].name);
      EXPECT_EQ(own.columns[i].type, shared.columns[i].type);
      EXPECT_EQ(own.columns[i].length, shared.columns[i].length);
    }
    EXPECT_EQ(ParseSpecKeys(alone, "").keyText, ParseSpecKeys(all, table).keyText);
  }
}

TEST(ShippedData, EraTableListsTheErasNewestFirst) {
  const std::string path = std::string(SHEETDESK_PROGRAM_DIR "/") + FILE_NAME("西暦和暦.txt");
  std::vector<EraEntry> eras;
  ASSERT_EQ(LoadEraTableFile(path.c_str(), &eras), 0) << path;
  struct Want {
    int year, month, day;
    const char* name;
    char letter;
  };
  const Want want[] = {{2019, 5, 1, "\x97\xdf\x98\x61", 'R'},   // 令和
                       {1989, 1, 8, "\x95\xbd\x90\xac", 'H'},   // 平成
                       {1926, 12, 25, "\x8f\xba\x98\x61", 'S'}, // 昭和
                       {1912, 7, 30, "\x91\xe5\x90\xb3", 'T'},  // 大正
                       {1868, 10, 23, "\x96\xbe\x8e\xa1", 'M'}}; // 明治
  ASSERT_EQ(eras.size(), std::size(want));
  for (size_t k = 0; k < eras.size(); ++k) {
    SCOPED_TRACE(want[k].letter);
    EXPECT_EQ(eras[k].startYear, want[k].year);
    EXPECT_EQ(eras[k].startMonth, want[k].month);
    EXPECT_EQ(eras[k].startDay, want[k].day);
    EXPECT_EQ(eras[k].name, want[k].name);  // Shift-JIS, as the program reads it
    EXPECT_EQ(eras[k].letter, want[k].letter);
  }
#if defined(_WIN32)
  char date[kDateTextSize];
  EXPECT_EQ(ConvertEraDate(date, "r6/3/15"), 0);
  EXPECT_STREQ(date, "2024/03/15");
  EXPECT_EQ(ConvertEraDate(date, "S64/1/7"), 0);
  EXPECT_STREQ(date, "1989/01/07");
#endif
}

}  // namespace
