// The project screen under Wine: the items of the current sheet from its
// MUPA_FLD rows in the sheet canvas inside the workbench, rows of older
// designers repaired in the table, and an old MUPA_FLD given its newer
// columns. Runs on the file database (SQLite) and on the server database
// (PostgreSQL).
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"

namespace {

constexpr char kSheetDb[] = "SHEETTEST";

// One MUPA_FLD row: its column values as SQL literals or numbers.
using SheetRow = std::vector<std::pair<const char*, std::string>>;

std::string Text(const char* value) { return SqlLiteral(value); }

class ScreenSheetTest : public ScreenDbTest {
 protected:
  void RegisterWindows() override {
    UseRecordingWorkWindows();
    workbench_ = CreateTestWindowOfClass("KQE_READ");
    canvas_ = CreateTestWindowOfClass("Ocr");
    windows_.push_back(canvas_);
    windows_.push_back(workbench_);
    g_sheetDefinition = SheetDefinitionRef();
    g_sheetDefinition.folder = "";
    g_sheetDefinition.database = kSheetDb;
    g_sheetDefinition.kind = GetParam();
    g_sheetCanvas = SheetCanvasState();
    g_sheetCanvas.columns = g_sheetCanvas.rows = 100;
    g_sheetCanvas.pitch = 10;
    g_workbench = WorkbenchSettings();
    const int slot = db_alloc_slot("", kSheetDb, kSheetFieldTable, GetParam());
    ASSERT_GT(slot, 0);
    ExecSlotSql(slot, "drop table MUPA_FLD", 1);
    db_disconnect(slot);
  }

  // Makes MUPA_FLD (from its description, or as `create` says) and adds
  // the rows of sheet "0001".
  void MakeSheet(const std::vector<SheetRow>& rows, const char* create = nullptr) {
    if (create) {
      Exec(create);
    } else {
      ASSERT_EQ(CreateTableFromSpec("", kSheetDb, kSheetFieldTable, GetParam(), kSheetSpecFile,
                                    kSheetFieldTable),
                0)
          << Boxes();
    }
    for (const SheetRow& row : rows) {
      std::string names = "ＯＣＲコード", values = "'0001'";
      for (const auto& [name, value] : row) {
        names += std::string(",") + name;
        values += "," + value;
      }
      Exec("insert into MUPA_FLD (" + names + ") values (" + values + ")");
    }
  }

  void Exec(const std::string& sql) {
    const int slot = db_alloc_slot("", kSheetDb, kSheetFieldTable, GetParam());
    ASSERT_GT(slot, 0);
    EXPECT_EQ(db_exec(slot, sql.c_str()), 0) << sql << Boxes();
    db_disconnect(slot);
  }

  // Opens the project screen of the fixture database.
  int OpenProject() {
    if (LoadTexts({{"p.txt", "[screen]\nSCRCODE=PLN\nSCRNAME=PRJ1-PLN\nSCRTYPE=PROJ\nCURMOV=R\nSCREDT=BUTT\n"}}) != 1) {
      return -1;
    }
    return OpenScreen("", kFixtureDb, "PLN", -1, -10, "");
  }

  HWND workbench_ = nullptr;
  HWND canvas_ = nullptr;
};

TEST_P(ScreenSheetTest, TheSheetsFieldsBecomeItemsOfTheCanvas) {
  MakeSheet({
      {{"領域コード", Text("0001")}, {"領域名", Text("AGE")}, {"タイトル", Text("年齢")},
        {"編集", Text("ﾁｪｯｸ")}, {"タイプ", Text("一括")}, {"文字数", "3"}, {"Ｘ座標", "40"},
        {"Ｙ座標", "80"}, {"横幅", "6"}, {"高さ", "5"}, {"しきい値", "0"}, {"背景色", Text("○")},
        {"少数部桁数", "3"}, {"全半角", Text("全角")}},
      {{"領域コード", Text("0002")}, {"領域名", Text("NAME")}, {"タイトル", Text("氏名")},
        {"編集", Text("左詰")}, {"文字数", "10"}, {"Ｘ座標", "40"}, {"Ｙ座標", "120"}, {"横幅", "6"},
        {"高さ", "10"}, {"配列開始", "1"}, {"配列個数", "3"}, {"配列行間", "2"}},
      {{"領域コード", Text("T001")}, {"領域名", Text("")}, {"タイトル", Text("問１ あなたの年代")},
        {"編集", Text("左詰")}, {"Ｘ座標", "40"}, {"Ｙ座標", "20"}, {"しきい値", "7"}},
  });
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  EXPECT_EQ(Slot(0).screenType, kScreenTypeSheet);
  EXPECT_EQ(Slot(0).window, canvas_);
  EXPECT_EQ(GetAncestor(canvas_, GA_PARENT), workbench_) << "the canvas lives in the workbench";
  EXPECT_EQ(Slot(0).rowPitch, 10) << "the canvas's grid";
  EXPECT_EQ(OpenedTableSlots(), 0);

  const int age = ResolveFieldRef(0, "AGE");
  ASSERT_GE(age, 0);
  EXPECT_EQ(Item(age).itemClass, kItemClassSheet);
  EXPECT_EQ(Item(age).edit, 'C');
  EXPECT_EQ(Item(age).code, "0001");
  EXPECT_EQ(Item(age).threshold, 10) << "a check field's threshold 0 reads 10";
  EXPECT_EQ(Item(age).count, 3) << "its choices";
  EXPECT_EQ(Item(age).fullWidth, 1);
  EXPECT_EQ(Item(age).pixelX, 40);
  // A group of the sheet stands one below the other by its box height
  // and row gap in grid units.
  const int step = (10 + 2) * SheetDotsPerGridUnit();
  for (int k = 1; k <= 3; ++k) {
    const std::string name = "NAME0" + std::to_string(k);
    SCOPED_TRACE(name);
    const int i = ResolveFieldRef(0, name.c_str());
    ASSERT_GE(i, 0);
    EXPECT_EQ(Item(i).row, 120 + step * (k - 1));
    EXPECT_EQ(Item(i).groupMode, k == 1 ? 1 : 2);
  }
  bool found = false;
  for (int i = Slot(0).firstItem; i <= Slot(0).lastItem; ++i) {
    if (Item(i).code != "T001") continue;
    found = true;
    EXPECT_EQ(Item(i).threshold, 7) << "a text item keeps its threshold";
    EXPECT_EQ(Item(i).boxShape, 20);
  }
  EXPECT_TRUE(found);
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(ScreenSheetTest, RowsOfOlderDesignersAreRepairedInTheTable) {
  MakeSheet({
      {{"領域コード", Text("0001")}, {"領域名", Text("Q1")}, {"編集", Text("ﾁｪｯｸ")},
        {"背景色", Text("Ｍ")}, {"タイトル枠", Text("有")}, {"網掛け", "0"}, {"マーク型", "0"},
        {"有効文字種", Text("123456789")}},
      {{"領域コード", Text("T001")}, {"領域名", Text("")}, {"タイトル位置", Text("TX")}, {"横幅", "5"},
        {"高さ", "3"}, {"有効文字種", Text("123456789012")}},
  });
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  const int t = db_open("", kSheetDb, kSheetFieldTable, GetParam(), kSheetSpecFile, kSheetFieldTable,
                        "select * from MUPA_FLD order by 領域コード");
  ASSERT_GT(t, 0) << Boxes();
  ASSERT_EQ(db_toppos(t, "領域コード"), 0);
  EXPECT_EQ(GetColumnInt(t, "マーク型"), 1);
  EXPECT_EQ(GetColumnInt(t, "網掛け"), 2);
  EXPECT_STREQ(GetColumnText(t, "タイトル枠"), "実");
  EXPECT_STREQ(GetColumnText(t, "有効文字種"), "1023456789") << "a '0' after the first character";
  ASSERT_EQ(db_nread(t), 0);
  EXPECT_STREQ(GetColumnText(t, "タイトル位置"), "");
  EXPECT_EQ(GetColumnInt(t, "横幅"), 0);
  EXPECT_EQ(GetColumnInt(t, "高さ"), 0);
  EXPECT_STREQ(GetColumnText(t, "有効文字種"), "12345678901") << "cut to 11";
  db_close(t);
}

TEST_P(ScreenSheetTest, AnOldFieldTableGetsItsNewerColumns) {
  MakeSheet({{{"領域コード", Text("0001")}, {"領域名", Text("OLD")}, {"Ｘ座標", "4"}, {"Ｙ座標", "8"}}},
            "create table MUPA_FLD (ＯＣＲコード varchar(4), 領域コード varchar(4), 領域名 varchar(30), "
            "タイトル varchar(60), アイコン varchar(60), Ｘ座標 smallint, Ｙ座標 smallint, "
            "primary key (ＯＣＲコード, 領域コード))");
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  EXPECT_GE(ResolveFieldRef(0, "OLD"), 0);
  const int slot = db_alloc_slot("", kSheetDb, kSheetFieldTable, GetParam());
  ASSERT_GT(slot, 0);
  for (const char* column : {"認識不可スコア", "文字単位出力", "認識不可マーク", "表面裏面"}) {
    EXPECT_GT(FindDbColumnNumber(slot, column), 0) << column;
  }
  db_disconnect(slot);
}

INSTANTIATE_TEST_SUITE_P(Databases, ScreenSheetTest, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
