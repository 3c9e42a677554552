// The list and card screens generated from a sheet made through the
// sheet-definition tables: their S_FIELD rows, the regrouping of arrays and
// the operator's edits kept across a generation.
#include <windows.h>

#include "designer/sheet_settings.h"
#include "entry/entry.h"
#include "entry/screen_rows.h"
#include "foundation/db.h"
#include "tests/entry/sheet_output_fixture.h"

namespace {

using Row = std::map<std::string, std::string>;

std::vector<std::string> Column(const std::vector<Row>& rows, const char* column) {
  std::vector<std::string> values;
  for (const Row& row : rows) values.push_back(row.at(column));
  return values;
}

const Row& Named(const std::vector<Row>& rows, const std::string& name) {
  for (const Row& row : rows) {
    if (row.at("FLDNAME") == name) return row;
  }
  static const Row none;
  ADD_FAILURE() << "no row " << name;
  return none;
}

class ScreenGenerationTest : public SheetOutputTest {
 protected:
  void Generate(int form, bool keepEdits = false) {
    ASSERT_EQ(WriteScreenRecord(form), 0) << testing::PrintToString(Boxes());
    ASSERT_EQ(GenerateEntryScreenFields(form, keepEdits), 0) << testing::PrintToString(Boxes());
  }
};

TEST_F(ScreenGenerationTest, ListRowsPutKeysFirstAndArraysLast) {
  Prepare();
  Generate(1);
  const std::vector<Row> rows = ScreenRows("101");
  EXPECT_EQ(Column(rows, "FLDNAME"), (std::vector<std::string>{"地区", "学年", "番号", "氏名", "点数", "金額", "性別",
                                                                "読取日", "Q01", "Q02", "Q03"}));
  EXPECT_EQ(Column(rows, "FLDCODE"), (std::vector<std::string>{"001", "002", "003", "004", "005", "006", "007",
                                                                "008", "009", "010", "011"}));
  struct Case {
    const char* name;
    const char* column;
    const char* value;
  };
  const Case cases[] = {
      {"地区", "FLDLOCK", "Ｄ"},  {"地区", "FLDTYPE", "非表"},     // a key the sheet does not read
      {"番号", "FLDEDT", "ZERO"}, {"番号", "FLDX", "2"},           // the key field
      {"番号", "FLDY", "4"},      {"氏名", "FLDTYPE", "全角"},
      {"氏名", "FLDRMSU", "20"},  {"点数", "FLDEDT", "右詰"},
      {"点数", "FLDTYPE", "数字"}, {"点数", "FLDMAX", "999"},
      {"金額", "FLDDEC", "2"},    {"金額", "FLDRMSU", "8"},        // a decimal point more
      {"性別", "FLDKOHO", "男,女"}, {"性別", "FLDLOCK", "○"},
      {"Q02", "FLDTITLE", "Q02"}, {"Q02", "FLDLST", "○"},
      {"読取日", "FLDKOHO", "CALENDAR"}, {"読取日", "FLDSMSU", "10"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Named(rows, c.name).at(c.column), c.value) << c.name << " " << c.column;
  }
}

TEST_F(ScreenGenerationTest, CardRowsPlaceFieldsAsOnTheSheet) {
  Prepare();
  Generate(2);
  const std::vector<Row> rows = ScreenRows("201");
  ASSERT_EQ(rows.size(), 13u);
  struct Case {
    const char* name;
    const char* column;
    const char* value;
  };
  const Case cases[] = {
      {"氏名", "FLDTTL", "←"},
      {"氏名", "FLDXSFT", "288"},   // 240 dots, boxes of 5 mm: a factor of 1.2
      {"氏名", "FLDY", "11"},       // 260 / 30 rounded, plus 2
      {"Q01", "FLDTTL", "↑"},
      {"Q02", "FLDTTL", "×"},
      {"Q01", "FLDYSFT", "0"},
      {"Q03", "FLDYSFT", "48"},
      {"読取日", "FLDLST", "×"},
      {"番号", "FLDCSIZ", "9"},
      // The pictures where their frames stand, the front's first.
      {"IMG01", "FLDY", "30"},
      {"IMG01", "FLDSMSU", "300"},
      {"IMG01", "FLDHIG", "100"},
      {"IMG01", "FLDEDT", "BMAP"},
      {"IMG02", "FLDX", "50"},
      {"IMG02", "FLDY", "40"},
      {"IMG02", "FLDYSFT", "10"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Named(rows, c.name).at(c.column), c.value) << c.name << " " << c.column;
  }
}

// Titles: trailing full-width blanks dropped, "|" dropped before a title
// on the left, array elements numbered in the list as their names are.
TEST_F(ScreenGenerationTest, TitlesOfTheSheetHeadTheColumns) {
  Prepare({"update MUPA_FLD set タイトル='お名|前　　',タイトル位置='←' where 領域名='氏名'",
           "update MUPA_FLD set タイトル='設問' where 領域名='Q'"});
  Generate(1);
  const std::vector<Row> rows = ScreenRows("101");
  EXPECT_EQ(Named(rows, "氏名").at("FLDTITLE"), "お名前");
  EXPECT_EQ(Named(rows, "Q02").at("FLDTITLE"), "設問02");
  EXPECT_EQ(Named(rows, "点数").at("FLDTITLE"), "点数");  // no title: its name
}

TEST_F(ScreenGenerationTest, MasterLookupsAndPostalCodesBecomeCandidates) {
  definition_.fields.push_back(WriteInFieldRow("0007", "商品", 240, 760, 4));
  definition_.fields.push_back(WriteInFieldRow("0008", "商品名", 240, 820, 10));
  definition_.fields.push_back(WriteInFieldRow("0009", "郵便", 240, 880, 7));
  definition_.fields.push_back(WriteInFieldRow("0010", "住所", 240, 940, 20));
  Prepare({"update MUPA_FLD set 参照テーブル='SHOHIN',キー項目名='CODE',取得項目名='NAME',書込項目名='商品名' "
           "where 領域名='商品'",
           "update MUPA_FLD set 有効文字種='0000000001',書込項目名='住所' where 領域名='郵便'",
           "update MUPA_FLD set 変換条件='〃',重ね文字='1,2,3' where 領域名='商品名'"});
  Generate(1);
  const std::vector<Row> rows = ScreenRows("101");
  EXPECT_EQ(Named(rows, "商品").at("FLDKOHO"), "#OUTDB#SHOHIN,{CODE},CODE,NAME,(10)");
  // The field the look-up writes into takes no candidates of its own.
  EXPECT_EQ(Named(rows, "商品名").at("FLDKOHO"), "");
  EXPECT_EQ(Named(rows, "郵便").at("FLDKOHO"), "#DICDBS#全国住所,{ZIPCODE},ZIPCODE,ADDRESS,(10)");
  EXPECT_EQ(Named(rows, "郵便").at("FLDRCD"), "-1");
  EXPECT_EQ(Named(rows, "住所").at("FLDKOHO"), "");
}

TEST_F(ScreenGenerationTest, KeptEditsComeBackByFieldName) {
  Prepare();
  Generate(2);
  ASSERT_EQ(ExecOnSheet("update S_FIELD set FLDTITLE='お名前',FLDX=7,FLDSMSU=33 where FLDNAME='氏名'"), 0);
  ASSERT_EQ(GenerateEntryScreenFields(2, true), 0) << testing::PrintToString(Boxes());
  const Row kept = Named(ScreenRows("201"), "氏名");
  EXPECT_EQ(kept.at("FLDTITLE"), "お名前");
  EXPECT_EQ(kept.at("FLDX"), "7");
  EXPECT_EQ(kept.at("FLDSMSU"), "33");
  ASSERT_EQ(GenerateEntryScreenFields(2, false), 0);
  EXPECT_EQ(Named(ScreenRows("201"), "氏名").at("FLDTITLE"), "氏名");
}

TEST_F(ScreenGenerationTest, ListStopsAtItsColumnLimitAndKeepsThePreviousRows) {
  Prepare();
  Generate(1);
  ASSERT_EQ(ExecOnSheet("update MUPA_FLD set 配列個数=230 where 領域名='Q'"), 0);
  ForgetBoxes();
  EXPECT_EQ(GenerateEntryScreenFields(1, false), -1);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"一覧表形式入力画面では“230”を越える列は作成できません。"});
  EXPECT_EQ(ScreenRows("101").size(), 11u);
  // The card form has no such limit.
  ForgetBoxes();
  EXPECT_EQ(GenerateEntryScreenFields(2, false), 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(ScreenRows("201").size(), 10u + 230u);
}

TEST_F(ScreenGenerationTest, SheetWithoutReadItemsGivesNoRows) {
  definition_.fields.clear();
  Prepare();
  EXPECT_EQ(GenerateEntryScreenFields(1, false), -1);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"“GENTEST”の読み取り項目が定義されていません。"});
}

TEST(ScreenRows, NumericTailsAndRegrouping) {
  const struct {
    const char* name;
    int tail;
  } tails[] = {{"A01", 1}, {"Q123", 123}, {"12", -1}, {"AB", -1}, {"A1B", -1}, {"問01", 1}, {"IMG02", 2}};
  for (const auto& t : tails) EXPECT_EQ(GetNameNumericTail(t.name), t.tail) << t.name;

  std::vector<ScreenFieldRow> rows;
  for (const char* name : {"ID", "A01", "A02", "B01", "B02", "IMG01", "MEMO"}) {
    ScreenFieldRow row;
    row.Set("FLDNAME", name);
    rows.push_back(row);
  }
  ReorderArrayFields(&rows);
  std::vector<std::string> names, codes;
  for (const ScreenFieldRow& row : rows) {
    names.push_back(row.Get("FLDNAME"));
    codes.push_back(row.Get("FLDCODE"));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"ID", "IMG01", "MEMO", "A01", "B01", "A02", "B02"}));
  EXPECT_EQ(codes, (std::vector<std::string>{"001", "002", "003", "004", "005", "006", "007"}));
}

}  // namespace
