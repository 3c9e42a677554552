// The reference store of the registration marks on the SQLite driver:
// registering from the converted page, erasing, loading for a run, carrying
// the old table over, and what a failure leaves unsaid.
#include <string>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "reading/reading.h"
#include "tests/reading/run_fixture.h"

namespace {

using Texts = std::vector<std::string>;

SheetDefinition Sheet(int mode) {
  SheetDefinition d;
  SheetPaperRow front;
  front.compensationMode = mode;
  d.papers.push_back(front);
  SheetPaperRow back = front;
  back.side = "0002";
  back.gridShiftX = 2;
  back.ratioX[1] = 2.95;
  d.papers.push_back(back);
  return d;
}

const char kQuestion[] =
    "読み取ったイメージのズレを自動補正するための基準になる位置を登録します。\n"
    "この処理は、読み取ったイメージの位置合わせを行い、正しく認識される状態で実行してください。\n"
    "ここで、基準位置を登録した後、再度、位置合わせをやり直す場合は、一旦、登録されている基準位置"
    "を消去してから行ってください。";
const char kRegistered[] =
    "読み取ったイメージのズレを自動補正するための基準になる位置を登録しました。\n"
    "以降は、登録された情報を基に、イメージの位置補正を行います。";

class ReferenceStore : public ReadingDbTest {
 protected:
  void Prepare(int mode) {
    definition_ = Sheet(mode);
    WriteDefinition(definition_);
    g_sheetSettings.compensationMode = mode;
    g_sheetSettings.scanType = 2;
  }
  // The converted page of a clean 300 dpi scan, with or without its
  // top-right mark.
  void WriteConvertedPage(bool topRight = true) {
    SheetDefinition drawn = definition_;
    if (!topRight) drawn.papers[0].compensationMode = 1;
    WritePage("CONV_300.BMP", drawn, SheetRequest());
  }
  std::vector<std::map<std::string, std::string>> MarkRows() {
    return Rows(kSheetDb, "MUPA_HMK", "ＯＣＲコード,コード");
  }
  SheetDefinition definition_;
};

TEST_F(ReferenceStore, RegistersTheMarksOfTheConvertedPageForItsResolution) {
  Prepare(3);
  WriteConvertedPage();
  ASSERT_EQ(RegisterReferenceMarks(2, kDesignMode), 0);
  EXPECT_EQ(Boxes(), (Texts{kQuestion, std::string(kRegistered) +
                                           "\n\nＸ１＝118 Ｙ１＝165 ／ Ｘ２＝2361 Ｙ２＝165 ／ "
                                           "Ｘ３＝118 Ｙ３＝3388"}));
  const auto rows = MarkRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("ＯＣＲコード"), "0001");
  EXPECT_EQ(rows[0].at("コード"), "02");
  EXPECT_EQ(rows[0].at("Ｘ２"), "2361");
  EXPECT_EQ(rows[0].at("Ｙ３"), "3388");
  EXPECT_EQ(rows[0].at("横幅"), "2496");
  EXPECT_EQ(rows[0].at("高さ"), "3508");

  // Loading them for a run of 300 dpi; the grid scale beside them.
  g_readingRun.dpi = 300;
  ASSERT_EQ(LoadReferenceMarks(), 0);
  const ReferenceMarks& r = g_readingRun.references[0];
  EXPECT_EQ(r.x1, 118);
  EXPECT_EQ(r.y3, 3388);
  EXPECT_DOUBLE_EQ(r.dotsX, 300 * 0.25 / 25.4);  // no ratio stored: the printed unit
  g_readingRun.scanType = kScanPaired;
  ASSERT_EQ(LoadReferenceMarksBothSides(), 0);
  EXPECT_EQ(g_readingRun.references[1].x2, 2361);
  EXPECT_EQ(g_readingRun.references[2].x1, kNotFound);  // the back side has none
  EXPECT_EQ(g_readingRun.references[2].dotsX, 2.95);
  EXPECT_EQ(g_readingRun.references[2].gridShiftX, 2);
}

TEST_F(ReferenceStore, OneMarkIsEnoughInModeOne) {
  Prepare(1);
  WriteConvertedPage(false);
  EXPECT_EQ(RegisterReferenceMarks(2, kDesignMode), 0);
  EXPECT_EQ(Boxes(), (Texts{kQuestion, std::string(kRegistered) + "\n\nＸ１＝71 Ｙ１＝71"}));
  EXPECT_EQ(MarkRows().size(), 1u);
}

TEST_F(ReferenceStore, ModeTwoNeedsTheTopRightMark) {
  Prepare(2);
  WriteConvertedPage(false);
  EXPECT_EQ(RegisterReferenceMarks(2, kDesignMode), -1);
  EXPECT_EQ(Boxes(), (Texts{kQuestion, "読み取ったイメージを補正するためのマーク“■”を認識"
                                       "できません。"}));
  EXPECT_TRUE(MarkRows().empty());
}

TEST_F(ReferenceStore, ErasingKeepsTheRowAndRegisteringAgainUpdatesIt) {
  Prepare(2);
  WriteConvertedPage();
  ASSERT_EQ(RegisterReferenceMarks(2, kDesignMode), 0);
  ForgetBoxes();
  ASSERT_EQ(EraseReferenceMarks(2), 0);
  EXPECT_EQ(Boxes(), (Texts{"登録されている基準位置を消去します。",
                            "登録されている基準位置を消去しました。"}));
  auto rows = MarkRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("Ｘ１"), "-1");
  EXPECT_EQ(rows[0].at("横幅"), "2496");
  ForgetBoxes();
  EXPECT_EQ(EraseReferenceMarks(2), -1);
  EXPECT_EQ(Boxes(), Texts{"基準位置は登録されていません。"});
  ASSERT_EQ(RegisterReferenceMarks(2, kDesignMode), 0);
  rows = MarkRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("Ｘ１"), "71");
}

TEST_F(ReferenceStore, NothingIsRegisteredWithoutAConvertedPageOrOnAFailedWrite) {
  Prepare(2);
  ASSERT_EQ(RegisterReferenceMarks(2, kDesignMode), -1);
  EXPECT_EQ(Boxes(), (Texts{kQuestion, "イメージファイルが作成されていません。\n"
                                       "イメージスキャナによる読み取り処理を行ってください。"}));
  // A table that refuses the row: the database layer says so, and no
  // success is claimed.
  const int slot = db_alloc_slot(folder().c_str(), kSheetDb, "MUPA_HMK", kDbKindFile);
  ASSERT_GT(slot, 0);
  ExecSlotSql(slot, "drop table MUPA_HMK", 1);
  ASSERT_EQ(ExecSlotSql(slot,
                        "create table MUPA_HMK (ＯＣＲコード varchar(4), コード varchar(2), "
                        "Ｘ１ integer check (Ｘ１ < 0), Ｙ１ integer, Ｘ２ integer, Ｙ２ integer, "
                        "Ｘ３ integer, Ｙ３ integer, 横幅 integer, 高さ integer)",
                        0),
            0);
  db_disconnect(slot);
  WriteConvertedPage();
  ForgetBoxes();
  EXPECT_EQ(RegisterReferenceMarks(2, kDesignMode), -1);
  const Texts boxes = Boxes();
  ASSERT_GE(boxes.size(), 2u);
  EXPECT_EQ(boxes.front(), kQuestion);
  EXPECT_EQ(boxes.back(), "“MUPA_HMK”に登録できません。");
  for (const std::string& box : boxes) EXPECT_EQ(box.find(kRegistered), std::string::npos);
  EXPECT_TRUE(MarkRows().empty());
}

TEST_F(ReferenceStore, TheOldMarkTableIsCarriedOverOnceAsTheFrontSide) {
  Prepare(2);
  const int old = db_open(folder().c_str(), kSheetDb, "MUPA_TMK", kDbKindFile, "MUPADATA",
                          "MUPA_TMK", "");
  ASSERT_GT(old, 0);
  for (const char* code : {"01", "02"}) {
    db_clear(old);
    SetColumnText(old, "コード", code);
    SetColumnInt(old, "Ｘ１", 40);
    SetColumnInt(old, "Ｙ１", 41);
    SetColumnInt(old, "横幅", 1664);
    ASSERT_EQ(db_add(old), 0);
  }
  db_close(old);
  ASSERT_EQ(CarryOverOldMarkTable(), 0);
  const auto rows = MarkRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].at("ＯＣＲコード"), "0001");
  EXPECT_EQ(rows[0].at("コード"), "01");
  EXPECT_EQ(rows[1].at("コード"), "02");
  EXPECT_EQ(rows[1].at("Ｙ１"), "41");
  EXPECT_EQ(rows[1].at("横幅"), "1664");
  EXPECT_TRUE(Rows(kSheetDb, "MUPA_TMK", "コード").empty());
  // A second opening finds nothing to carry.
  ASSERT_EQ(CarryOverOldMarkTable(), 0);
  EXPECT_EQ(MarkRows().size(), 2u);
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
