#include "foundation/spc_file.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Two descriptions in one file, as the definition tools write them.
const char kTwoTables[] =
    "MUPA_SET\r\n"
    "FIELD\r\n"
    "\"Code\",\"char*\",\"SETCODE\",8,0,0,\"\",8\r\n"
    "\"Value\",\"int\",\"SETVAL\",5,0,0,\"K\",5\r\n"
    "INDEX\r\n"
    "\"SETCODE\",\"\"\r\n"
    "DATABASE\r\n"
    "MSSQL\r\n"
    "END\r\n"
    "MUPA_FLD\r\n"
    "FIELD\r\n"
    "\"OCR code\",\"char*\",\"ＯＣＲコード\",10,0,0,\"\",10\r\n"
    "\"Mark\",\"char\",\"MARK\",1,3,0,\"\",2\r\n"
    "\"Rate\",\"double\",\"RATE\",8,0,2,\"\",9\r\n"
    "\"Count\",\"long\",\"CNT\",10,0,0,\"\",10\r\n"
    " \"Old\" , \"float\" , \"*OLD\" , 8 , 0 , 0 , \"\" , 8 \r\n"
    "INDEX\r\n"
    "\"ＯＣＲコード\",\"▽\"\r\n"
    "\"MARK00\"\r\n"
    "\"RATE\",\"\",\"△\"\r\n"
    "\"CNT\"\r\n"
    "END\r\n";

std::vector<std::string> Names(const SpecColumns& spec) {
  std::vector<std::string> names;
  for (const SpecColumn& c : spec.columns) names.push_back(c.name);
  return names;
}

TEST(SpecFile, ReadsTheColumnsOfTheNamedSection) {
  const SpecColumns spec = ParseSpecColumns(kTwoTables, "MUPA_FLD");
  EXPECT_EQ(Names(spec), (std::vector<std::string>{"ＯＣＲコード", "MARK00", "MARK01", "MARK02", "RATE",
                                                    "CNT", "dOLD"}));
  const SpecColumn& code = spec.columns[0];
  EXPECT_EQ(code.type, kColumnText);
  EXPECT_EQ(code.length, 10);
  EXPECT_EQ(code.width, 10);
  EXPECT_EQ(spec.columns[1].type, kColumnChar);
  EXPECT_EQ(spec.columns[1].length, 1);
  EXPECT_EQ(spec.columns[4].type, kColumnDouble);
  EXPECT_EQ(spec.columns[4].decimals, 2);
  EXPECT_EQ(spec.columns[5].type, kColumnLong);
  EXPECT_EQ(spec.columns[6].type, kColumnDouble);
  ASSERT_EQ(spec.notices.size(), 1u);
  EXPECT_EQ(spec.notices[0].kind, SpecNotice::kUnusedColumn);
  EXPECT_EQ(spec.notices[0].name, "*OLD");

  const SpecColumns first = ParseSpecColumns(kTwoTables, "");
  EXPECT_EQ(Names(first), (std::vector<std::string>{"SETCODE", "SETVAL"}));
  EXPECT_EQ(first.columns[1].type, kColumnShort);
  EXPECT_EQ(first.columns[1].flag, 'K');
  EXPECT_TRUE(ParseSpecColumns(kTwoTables, "NO_SUCH").columns.empty());
}

TEST(SpecFile, ReadsKeysAndKind) {
  const SpecKeys keys = ParseSpecKeys(kTwoTables, "MUPA_FLD");
  EXPECT_EQ(keys.keyText, "ＯＣＲコード,MARK00,RATE|CNT");
  EXPECT_EQ(keys.keyCount, 2);
  EXPECT_EQ(keys.specKind, 0);
  const SpecKeys set = ParseSpecKeys(kTwoTables, "MUPA_SET");
  EXPECT_EQ(set.keyText, "SETCODE");
  EXPECT_EQ(set.keyCount, 1);
  EXPECT_EQ(set.specKind, 2);
}

TEST(SpecFile, RepeatCountsAndBadLines) {
  struct Case {
    const char* what;
    const char* line;
    std::vector<std::string> names;
    int notices;
  };
  const Case cases[] = {
      {"repeat 0 keeps the name", "\"t\",\"int\",\"A\",1,0,0,\"\",1", {"A"}, 0},
      {"repeat empty keeps the name", "\"t\",\"int\",\"A\",1,,0,\"\",1", {"A"}, 0},
      {"repeat 2", "\"t\",\"int\",\"A\",1,2,0,\"\",1", {"A00", "A01"}, 0},
      {"repeat 251 is one, suffixed", "\"t\",\"int\",\"A\",1,251,0,\"\",1", {"A00"}, 0},
      {"negative repeat is one, plain", "\"t\",\"int\",\"A\",1,-3,0,\"\",1", {"A"}, 0},
      {"unknown type word skipped", "\"t\",\"money\",\"A\",1,0,0,\"\",1", {}, 1},
      {"text of no length skipped", "\"t\",\"char*\",\"A\",0,0,0,\"\",1", {}, 1},
      {"text too long skipped", "\"t\",\"char*\",\"A\",99999,0,0,\"\",1", {}, 1},
      {"blank line", "", {}, 0},
      {"truncated line", "\"t\",\"char*\"", {}, 0},
      {"text without its size field", "\"t\",\"char*\",\"N\"", {}, 1},
      {"number without its other fields", "\"t\",\"long\",\"N\"", {"N"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SpecColumns spec = ParseSpecColumns(std::string("FIELD\n") + c.line + "\nEND\n", "");
    EXPECT_EQ(Names(spec), c.names);
    EXPECT_EQ(static_cast<int>(spec.notices.size()), c.notices);
  }
  std::string many = "FIELD\n\"t\",\"int\",\"M\",1,250,0,\"\",1\n";
  const SpecColumns repeated = ParseSpecColumns(many, "");
  ASSERT_EQ(repeated.columns.size(), 250u);
  EXPECT_EQ(repeated.columns.back().name, "M249");
}

TEST(SpecFile, KeyListLimits) {
  std::string text = "INDEX\n";
  for (int i = 0; i < 20; ++i) text += "K" + std::to_string(i) + "\n";
  const SpecKeys keys = ParseSpecKeys(text, "");
  EXPECT_EQ(keys.keyCount, kMaxKeys);
  EXPECT_EQ(keys.keyText.substr(keys.keyText.size() - 4), "|K14");
  // No INDEX section: no keys. A list that ends inside a key keeps it.
  EXPECT_EQ(ParseSpecKeys("FIELD\nEND\n", "").keyCount, 0);
  const SpecKeys open = ParseSpecKeys("INDEX\nA,▽\nB,▽\n", "");
  EXPECT_EQ(open.keyText, "A,B");
  EXPECT_EQ(open.keyCount, 1);
}

TEST(SpecFile, PathsAndFiles) {
  EXPECT_EQ(BuildSpecPath("C:\\SPEC", "MUPA_FLD"), "C:\\SPEC\\MUPA_FLD.SPC");
  EXPECT_EQ(BuildSpecPath("C:\\SPEC", "MUPADATA.SPC"), "C:\\SPEC\\MUPADATA.SPC");
  EXPECT_EQ(BuildSpecPath("", "X"), "X.SPC");
  std::string text;
  EXPECT_FALSE(ReadWholeFile("no-such-file.SPC", text));
}

}  // namespace
