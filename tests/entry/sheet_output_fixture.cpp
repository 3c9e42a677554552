#include "tests/entry/sheet_output_fixture.h"

#include <cstdlib>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "screen/screen.h"
#include "tests/support/test_pictures.h"

namespace {

SheetFieldRow Field(const char* code, const char* name, int y, int count) {
  return WriteInFieldRow(code, name, 240, y, count);
}

SheetFieldRow Check(const char* code, const char* name, int y, int boxes, int decimals) {
  SheetFieldRow row = CheckFieldRow(code, name, 240, y, boxes);
  row.decimals = decimals;
  return row;
}

}  // namespace

void SheetOutputTest::SetUp() {
  ReadingDbTest::SetUp();
  SheetPaperRow paper;
  paper.name = "GENTEST";
  paper.outputTable = "OUT1";
  paper.scanType = 3;  // two sides: the pictures are the frames of MUPA_LIN
  definition_.papers.push_back(paper);
  definition_.fields.push_back(Field("0001", "番号", 200, 4));
  definition_.fields.push_back(Field("0002", "氏名", 260, 10));
  SheetFieldRow score = Field("0003", "点数", 320, 3);
  score.charType = "数値";
  score.minimum = "0";
  score.maximum = "999";
  definition_.fields.push_back(score);
  SheetFieldRow amount = Field("0004", "金額", 380, 7);
  amount.charType = "数値";
  amount.decimals = 2;
  amount.minimum = "0";
  amount.maximum = "99999";
  definition_.fields.push_back(amount);
  SheetFieldRow answers = Check("0005", "Q", 440, 5, 1);
  answers.arrayCount = 3;
  answers.arrayGap = 8;
  definition_.fields.push_back(answers);
  SheetFieldRow sex = Check("0006", "性別", 700, 2, 1);
  sex.condition = "1=男,2=女";
  definition_.fields.push_back(sex);
  // Two key items the sheet does not read, with the values the reading
  // run's dialog starts from, and the sheet's key field.
  const char* keys[][4] = {{"01", "地区", "2", "01"}, {"02", "学年", "1", "1"}, {"03", "番号", "4", ""}};
  for (const auto& k : keys) {
    SheetKeyRow key;
    key.code = k[0];
    key.name = k[1];
    key.width = std::atoi(k[2]);
    key.initial = k[3];
    definition_.keys.push_back(key);
  }
  SheetLineRow frame;
  frame.code = "01";
  frame.x1 = 100, frame.y1 = 900, frame.x2 = 400, frame.y2 = 1000;
  definition_.lines.push_back(frame);
  // A frame on the back: its picture follows those of the front.
  SheetLineRow back = frame;
  back.side = "0002";
  back.x1 = 120, back.y1 = 1210, back.x2 = 220, back.y2 = 1270;
  definition_.lines.push_back(back);
}

void SheetOutputTest::Prepare(const std::vector<std::string>& extra) {
  CopyFileA((GetProgramFolder() + "\\FSCRTBL3.SPC").c_str(), Path("FSCRTBL3.SPC").c_str(), FALSE);
  SelectScreenTableSpec();
  WriteDefinition(definition_);
  for (const std::string& sql : extra) ASSERT_EQ(ExecOnSheet(sql), 0) << sql;
  ASSERT_EQ(ExecOnSheet("update MUPA_FLD set 全半角='全角' where 領域名='氏名'"), 0);
  ASSERT_EQ(ExecOnSheet("update MUPA_FLD set 配列開始=1 where 領域名='Q'"), 0);
  ASSERT_EQ(ExecOnSheet("update MUPA_PAP set タイムスタンプ='10',日付項目名='読取日'"), 0);
  ASSERT_EQ(LoadCurrentSheetPaper(), 0) << testing::PrintToString(Boxes());
  BuildCanvas();
}

int SheetOutputTest::ExecOnSheet(const std::string& sql) {
  const int slot = db_alloc_slot(folder().c_str(), kSheetDb, "MUPA_FLD", kDbKindFile);
  if (slot < 0) return -1;
  const int rc = db_exec(slot, sql.c_str());
  db_disconnect(slot);
  return rc;
}

std::vector<std::map<std::string, std::string>> SheetOutputTest::ScreenRows(const char* code) {
  std::vector<std::map<std::string, std::string>> rows;
  for (auto& row : Rows(kSheetDb, "S_FIELD", "FLDCODE")) {
    if (row["SCRCODE"] == code) rows.push_back(row);
  }
  return rows;
}

std::string SheetOutputTest::SpecText() const { return ReadBytes(Path("OUT1.spc")); }
