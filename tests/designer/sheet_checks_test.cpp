// The checks of a sheet's fields before it is read or printed: each fault
// of a definition with the one message that names it, and a sound sheet
// passing.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "screen/screen.h"
#include "tests/reading/run_fixture.h"

namespace {

using testing::ElementsAre;

// A4, its key ID a write-in field, one check field Q1 of three choices.
SheetDefinition SoundSheet() {
  SheetDefinition d;
  SheetPaperRow paper;
  paper.name = "CHECKS";
  paper.outputTable = "OUT1";
  d.papers.push_back(paper);
  d.fields.push_back(WriteInFieldRow("0001", "ID", 240, 200, 4));
  SheetFieldRow q1 = CheckFieldRow("0002", "Q1", 240, 300, 3);
  q1.decimals = 1;  // one mark at most
  d.fields.push_back(q1);
  SheetKeyRow key;
  key.name = "ID";
  d.keys.push_back(key);
  return d;
}

class SheetChecks : public ReadingDbTest {
 protected:
  void Exec(const std::string& sql) {
    const int slot = db_alloc_slot(folder().c_str(), kSheetDb, "MUPA_FLD", kDbKindFile);
    ASSERT_GT(slot, 0);
    EXPECT_EQ(db_exec(slot, sql.c_str()), 0) << sql;
    db_disconnect(slot);
  }
};

TEST_F(SheetChecks, EachFaultIsNamedByItsMessage) {
  struct Case {
    const char* what;
    std::function<void(SheetDefinition&)> change;
    std::string sql;       // run on the written definition
    int projectMode;
    std::string message;   // empty: the sheet passes
  };
  const auto field = [](SheetDefinition& d, size_t k) -> SheetFieldRow& { return d.fields[k]; };
  const auto manyFields = [](SheetDefinition& d) {
    for (int n = 3; n <= 256; ++n) {
      char code[8], name[8];
      std::snprintf(code, sizeof code, "%04d", n);
      std::snprintf(name, sizeof name, "F%d", n);
      SheetFieldRow row = CheckFieldRow(code, name, 40 + (n % 16) * 40, 400 + (n / 16) * 30, 1);
      row.decimals = 1;
      d.fields.push_back(row);
    }
  };
  const Case cases[] = {
      {"a sound sheet", [](SheetDefinition&) {}, "", 1, ""},
      {"outside the paper", [&](SheetDefinition& d) { field(d, 1).x = 900; }, "", 1,
       "フィールド名“Q1”は、用紙サイズ外に作成されています。"},
      {"no name", [&](SheetDefinition& d) { field(d, 1).name = ""; }, "", 1, "No.0002のフィールド名が空白です。"},
      {"a blank in the name", [&](SheetDefinition& d) { field(d, 1).name = "Q 1"; }, "", 1,
       "フィールド名に空白は使えません。\nNo.0002の“Q 1”の名前を変更してください。"},
      {"a name twice",
       [](SheetDefinition& d) { d.fields.push_back(CheckFieldRow("0003", "Q1", 240, 400, 2)); }, "", 1,
       "フィールド名“Q1”は、重複しています。〔0003＝0002〕"},
      {"a light mark printed in black", [](SheetDefinition&) {},
       "update MUPA_FLD set マーク型=1, 網掛け=1, しきい値=10 where 領域名='Q1'", 1,
       "項目の形式が“マーク”で、モノクロ印刷を行う場合は、「しきい値」は、“20”以上の値を設定してください。(Q1)"},
      {"the read date's column", [](SheetDefinition&) {},
       "update MUPA_PAP set タイムスタンプ='10', 日付項目名='Q1'", 1,
       "読み取り日“Q1”と同じフィールド名が設定されています。"},
      {"the read time's column", [](SheetDefinition&) {},
       "update MUPA_PAP set タイムスタンプ='01', 時刻項目名='Q1'", 1,
       "読み取り時刻“Q1”と同じフィールド名が設定されています。"},
      {"more than 255 fields", manyFields, "", 1, "記入欄(チェック欄)の数が「255」を超えました。(項目数：256)"},
      {"more than 255 fields on the shown side of a pair", manyFields, "update MUPA_PAP set 予備１=4", 1,
       "記入欄(チェック欄)の数が「255」を超えました。\n(表示面の項目数：256)"},
      {"a check field without its most marks", [&](SheetDefinition& d) { field(d, 1).decimals = 0; }, "", 1,
       "“Q1”のチェックマークの「最大数」を設定してください。"},
      {"a number without its maximum",
       [](SheetDefinition& d) {
         SheetFieldRow age = WriteInFieldRow("0003", "AGE", 240, 500, 3);
         age.charType = "数値";
         d.fields.push_back(age);
       },
       "", 1,
       "“AGE”の「最大値」の値を設定してください。\n数値型のサイズ（整数型、長整数型等）は、「最大値」の値により決められます。"},
      {"a number converted to text",
       [](SheetDefinition& d) {
         SheetFieldRow age = WriteInFieldRow("0003", "AGE", 240, 500, 3);
         age.charType = "数値";
         age.maximum = "999";
         age.condition = "1=A,2=B";
         d.fields.push_back(age);
       },
       "", 1,
       "記入欄“AGE”の「項目の型」は“文字”に設定してください。\n「変換の条件」で“1=A,2=B”が定義されています。"},
      {"the key item not on the sheet", [](SheetDefinition& d) { d.fields.erase(d.fields.begin()); }, "", 1,
       "「編集モード」に切り替えて、シート・フォーマット上にキー項目“ID”を定義してください。"},
      {"no fields at all", [](SheetDefinition& d) { d.fields.clear(); }, "", 1,
       "シートの設計を行う場合は、画面上部のアイコン[編集]を押して、\n「編集モード」に切り替えてください。"},
      {"a name on both sides of a pair",
       [](SheetDefinition& d) {
         SheetFieldRow back = CheckFieldRow("0001", "Q1", 240, 300, 3);
         back.side = "0002";
         back.decimals = 1;
         d.fields.push_back(back);
       },
       "update MUPA_PAP set 予備１=4", 2, "フィールド名“Q1”は、重複しています。"},
      {"no read items on either side of a pair",
       [](SheetDefinition& d) {
         d.fields.clear();
         d.keys.clear();
       },
       "update MUPA_PAP set 予備１=4", 2, "“CHECKS”の読み取り項目が定義されていません。"},
      {"more than 255 fields over both sides of a pair",
       [](SheetDefinition& d) {
         for (int n = 3; n <= 260; ++n) {
           char code[8], name[8];
           std::snprintf(code, sizeof code, "%04d", n);
           std::snprintf(name, sizeof name, "B%d", n);
           SheetFieldRow row = CheckFieldRow(code, name, 40, 400, 1);
           row.side = "0002";
           row.decimals = 1;
           d.fields.push_back(row);
         }
       },
       "update MUPA_PAP set 予備１=4", 2, "記入欄(チェック欄)の数が「255」を超えました。\n(両面の項目数：256)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const char* table : {"MUPA_PAP", "MUPA_FLD", "MUPA_IDX"}) {
      const int slot = db_alloc_slot(folder().c_str(), kSheetDb, table, kDbKindFile);
      ASSERT_GT(slot, 0);
      ExecSlotSql(slot, (std::string("drop table ") + table).c_str(), 1);
      db_disconnect(slot);
    }
    SheetDefinition d = SoundSheet();
    c.change(d);
    WriteDefinition(d);
    if (!c.sql.empty()) Exec(c.sql);
    ASSERT_EQ(LoadCurrentSheetPaper(), 0);
    BuildCanvas();
    g_currentSheet.projectMode = c.projectMode;
    ForgetBoxes();
    EXPECT_EQ(ValidateSheetFields(), c.message.empty() ? 0 : -1);
    if (c.message.empty()) {
      EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
    } else {
      EXPECT_THAT(Boxes(), ElementsAre(c.message));
    }
  }
}

}  // namespace
