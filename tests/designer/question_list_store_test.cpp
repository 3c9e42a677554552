// The question list's rows on both drivers: the list written back into the
// side's check fields, and a question file imported, each all or nothing.
// A database that refuses one statement half-way leaves MUPA_FLD and
// MUPA_LST as they were.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "designer/question_list.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"
#include "tests/support/table_rows.h"

namespace {

using Texts = std::vector<std::string>;

class QuestionListStore : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    DropTables();
    SetSpecFolder(GetProgramFolder().c_str());  // the shipped MUPADATA.SPC
    g_sheetDefinition = SheetDefinitionRef();
    g_sheetDefinition.database = kDb;
    g_sheetDefinition.kind = kind();
    g_sheetSettings = SheetSettings();
    g_sheetCanvas = SheetCanvasState();
    for (const char* table : {"MUPA_FLD", "MUPA_LST"}) {
      ASSERT_EQ(CreateTableFromSpec("", kDb, table, kind(), "MUPADATA", table), 0);
    }
    // Two check fields and a write-in field between them.
    Exec({"insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,編集,文字数,Ｘ座標,Ｙ座標) values "
          "('0001','0001','Q1','ﾁｪｯｸ',5,40,80)",
          "insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,編集,文字数,Ｘ座標,Ｙ座標) values "
          "('0001','0002','NAME','左詰',8,40,120)",
          "insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,編集,文字数,Ｘ座標,Ｙ座標) values "
          "('0001','0003','Q2','ﾁｪｯｸ',3,40,160)"});
    ForgetBoxes();
  }
  void TearDown() override {
    if (!IsSkipped()) DropTables();
    DbTest::TearDown();
  }

  void DropTables() {
    const int slot = db_alloc_slot("", kDb, "T1", kind());
    ASSERT_GT(slot, 0);
    ExecSlotSql(slot, "drop table MUPA_FLD", 1);
    ExecSlotSql(slot, "drop table MUPA_LST", 1);
    db_disconnect(slot);
  }

  Texts Rows(const char* table, const char* columns, const char* order) {
    return TableRowTexts("", kDb, kind(), "MUPADATA", table, columns, "", order);
  }

  Texts Fields() { return Rows("MUPA_FLD", "領域コード,領域名,編集,文字数,Ｘ座標,Ｙ座標,重ね文字", "領域コード"); }
  Texts List() { return Rows("MUPA_LST", "一覧コード,領域コード,領域名,重ね文字", "一覧コード"); }

  // Q1 renamed with two choices, Q2 left out, a new question NEWQ.
  void WriteList(const char* newName) {
    Exec({"insert into MUPA_LST (ＯＣＲコード,一覧コード,領域コード,領域名,重ね文字,最大数,しきい値) values "
          "('0001','001','0001','SEX','男,女',1,10)",
          std::string("insert into MUPA_LST (ＯＣＲコード,一覧コード,領域コード,領域名,重ね文字,最大数,しきい値) "
                      "values ('0001','002','','") +
              newName + "','はい,いいえ',0,10)"});
  }

  std::string WriteFile(const char* name, const std::string& text) {
    const std::string path = folder() + "\\" + name;
    WriteTextFile(path, text);
    return path;
  }

  const Texts before_ = {"0001|Q1|ﾁｪｯｸ|5|40|80|", "0002|NAME|左詰|8|40|120|", "0003|Q2|ﾁｪｯｸ|3|40|160|"};
};

TEST_P(QuestionListStore, TheListBecomesTheSidesCheckFields) {
  WriteList("NEWQ");
  ASSERT_EQ(TransferQuestionList({30, 50, 16}), 0) << testing::PrintToString(Boxes());
  // Q2 gone; its code is the lowest free one for the new question; both
  // placed from 50 mm down, 16 mm apart (4 pixels a millimetre).
  EXPECT_EQ(Fields(), (Texts{"0001|SEX|ﾁｪｯｸ|2|120|200|男,女", "0002|NAME|左詰|8|40|120|",
                             "0003|NEWQ|ﾁｪｯｸ|2|120|264|はい,いいえ"}));
  EXPECT_EQ(Rows("MUPA_FLD", "少数部桁数,有効文字種,タイトル位置,文字種別", "領域コード").back(), "1|1100000000|←|Ｍ")
      << "a new question allows one mark";
  EXPECT_TRUE(List().empty());
}

TEST_P(QuestionListStore, AListTheDatabaseRefusesLeavesBothTablesAsTheyWere) {
  // No two fields may share a name: the new question's insert, the last
  // statement but one, is refused after the rename and the delete ran.
  Exec({"create unique index MUPA_FLD_NAMES on MUPA_FLD (領域名)"});
  WriteList("NAME");
  const Texts list = List();
  EXPECT_EQ(TransferQuestionList({30, 50, 16}), -1);
  ASSERT_EQ(Boxes().size(), 2u) << "the driver's refusal and its statement, once";
  EXPECT_EQ(Boxes()[1].rfind("[insert into MUPA_FLD", 0), 0u);
  EXPECT_EQ(Fields(), before_);
  EXPECT_EQ(List(), list) << "the list is kept for another try";
}

TEST_P(QuestionListStore, AFileIsImportedWholeOrNotAtAll) {
  const std::string good = WriteFile("GOOD.CSV", "A1,質問１,\"はい,いいえ\"\r\nA2,質問２,\"1,2\"\r\n");
  ASSERT_EQ(ImportQuestionCsv(good), 2) << testing::PrintToString(Boxes());
  EXPECT_EQ(List(), (Texts{"01||A1|はい,いいえ", "02||A2|1,2"}));
  EXPECT_EQ(Rows("MUPA_LST", "横幅,高さ,Ｂサイズ,最大数,しきい値", "一覧コード"), (Texts{"5|5|16|1|10", "5|5|10|1|10"}))
      << "wider gaps for choices of more than two bytes";

  // A second file is added after asking; declined, nothing is added.
  const std::string more = WriteFile("MORE.CSV", "A3,質問３,\"a,b\"\r\n");
  AnswerNext(IDNO);
  EXPECT_EQ(ImportQuestionCsv(more), -1);
  EXPECT_EQ(Boxes().back(), "すでにデータが存在します。追加登録しますか？\n　追加する先頭コード“03”");
  EXPECT_EQ(List().size(), 2u);

  // A name twice: the database refuses the second row, and the first goes
  // with it.
  Exec({"create unique index MUPA_LST_NAMES on MUPA_LST (領域名)"});
  const std::string twice = WriteFile("TWICE.CSV", "B1,x,\"a,b\"\r\nB1,y,\"a,b\"\r\n");
  EXPECT_EQ(ImportQuestionCsv(twice), -1);
  EXPECT_EQ(List().size(), 2u);

  ForgetBoxes();
  EXPECT_EQ(ImportQuestionCsv(folder() + "\\MISSING.CSV"), -1);
  EXPECT_EQ(Boxes(), (Texts{"ＣＳＶファイル“" + folder() + "\\MISSING.CSV”はありません。"}));
}

INSTANTIATE_TEST_SUITE_P(Drivers, QuestionListStore, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
