// The sheet settings screen as a user meets it from the menu: a sheet
// without settings gets its default row, what the user types and chooses is
// stored in the sheet definition as the reading run reads it, and a name or
// size the screen refuses keeps it open with its message.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "designer/designer.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tests/program/program_fixture.h"

namespace {

using testing::ElementsAre;

void PressKey(HWND target, WPARAM key) {
  PostMessageA(target, WM_KEYDOWN, key, 1);
  if (key == VK_RETURN || key == VK_TAB || key == VK_ESCAPE) {
    PostMessageA(target, WM_CHAR, key == VK_ESCAPE ? 27 : key, 1);
  }
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
  RunPostedMessages();
}

void TypeText(HWND target, const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (IsDBCSLeadByte(lead) && i + 1 < text.size()) {
      PostMessageA(target, WM_CHAR, lead | (static_cast<unsigned char>(text[++i]) << 8), 1);
    } else {
      PostMessageA(target, WM_CHAR, lead, 1);
    }
  }
  RunPostedMessages();
}

class SheetSettingsScreen : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    if (HasFatalFailure()) return;
    SetSheetDesigner(true);
    ASSERT_EQ(Start(), StartOutcome::kMenuOpen) << testing::PrintToString(Boxes());
    ChooseSample();
    // A new sheet: neither paper settings nor a key item yet.
    for (const char* table : {"MUPA_PAP", "MUPA_IDX"}) {
      const int t = OpenTable(table);
      ASSERT_GE(t, 0);
      ASSERT_EQ(db_exec(t, (std::string("delete from ") + table).c_str()), 0);
      db_close(t);
    }
    ForgetBoxes();
  }

  int OpenTable(const char* table) {
    return db_open((folder() + "\\teigi").c_str(), "SAMPLE", table, kDbKindFile, "MUPADATA", table,
                   "select * from %s order by ＯＣＲコード", table);
  }

  // The values of `columns` in the rows of `table`, "|"-joined per row.
  std::vector<std::string> Rows(const char* table, const std::vector<const char*>& columns) {
    std::vector<std::string> rows;
    const int t = OpenTable(table);
    if (t < 0) return rows;
    for (int rc = db_toppos(t, columns[0]); rc == 0; rc = db_nread(t)) {
      std::string row;
      for (const char* c : columns) row += (row.empty() ? "" : "|") + std::string(GetColumnText(t, c));
      rows.push_back(row);
    }
    db_close(t);
    return rows;
  }

  HWND Window() { return Slot(SheetSettingsSlot()).window; }
  HWND Edit() { return Slot(SheetSettingsSlot()).editControl; }

  std::string Field(const char* name) {
    char value[MAX_PATH] = "";
    GetItemRawValue(SheetSettingsSlot(), name, value);
    return value;
  }

  // A click in the middle of the field, or of the `choice`-th choice (from
  // 1) of a choice group.
  void Click(const char* name, int choice = 0) {
    const int s = SheetSettingsSlot();
    const int item = ResolveFieldRef(s, name);
    ASSERT_GE(item, 0) << name;
    const ScreenItem& it = Item(item);
    int x = it.pixelX + it.pixelWidth / 2;
    int y = it.pixelY + it.pixelHeight / 2;
    if (choice > 0 && it.count > 0) {
      // Where the screen draws the choice's box: rows of h / (n + 2) under a
      // caption, h / (n + 1) without one.
      const bool captioned = !it.caption.empty();
      const int pitch = it.pixelHeight / (it.count + (captioned ? 2 : 1));
      y = captioned ? it.pixelY + pitch / 2 + 4 + pitch * choice + it.charSize
                    : it.pixelY + pitch * choice;
      x = it.pixelX + 2 * it.charSize + 4;
    }
    PostMessageA(Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x - Slot(s).scrollX, y - Slot(s).scrollY));
    PostMessageA(Window(), WM_LBUTTONUP, 0, MAKELPARAM(x - Slot(s).scrollX, y - Slot(s).scrollY));
    RunPostedMessages();
  }

  // Clicks the field, empties it and types `text`.
  void Type(const char* name, const std::string& text) {
    Click(name);
    for (int i = 0; i < 40; ++i) PostMessageA(Edit(), WM_KEYDOWN, VK_DELETE, 1);
    for (int i = 0; i < 40; ++i) PostMessageA(Edit(), WM_CHAR, VK_BACK, 1);
    RunPostedMessages();
    TypeText(Edit(), text);
  }
};

TEST_F(SheetSettingsScreen, ANewSheetGetsItsDefaultsAndKeepsWhatTheUserChose) {
  Command(kCmdSheetSettings);
  ASSERT_GE(SheetSettingsSlot(), 0) << testing::PrintToString(Boxes());
  EXPECT_TRUE(VisibleWindows().count("OcrSet"));
  EXPECT_FALSE(IsWindowEnabled(g_program.mainWindow)) << "the menu waits for the screen";
  EXPECT_EQ(Slot(SheetSettingsSlot()).windowCode, 13);
  // The default row, shown.
  EXPECT_THAT(Rows("MUPA_PAP", {"ＯＣＲコード", "ＯＣＲ用紙名", "テーブル", "用紙サイズ", "用紙方向", "LINESTYLE",
                                "アイコン表示", "明るさ"}),
              ElementsAre("0001|SAMPLE|SAMPLE|Ａ４|縦|2|111110111|5"));
  EXPECT_EQ(Field("ＯＣＲ用紙名"), "SAMPLE");
  EXPECT_EQ(Field("用紙サイズ"), "1");
  EXPECT_EQ(Field("キー項目名"), "ＩＤ");
  EXPECT_EQ(GetFieldState("横幅"), kItemProtected) << "only a user-defined size opens the figures";
  const ScreenItem& database = Item(ResolveFieldRef(SheetSettingsSlot(), "データベース"));
  EXPECT_EQ(database.choices.rfind("FILEDLG,", 0), 0u) << "a file database is chosen in the file dialog";

  Type("ＯＣＲ用紙名", "顧客アンケート");
  Type("テーブル", "KAITO2");
  Type("キー項目名", "番号");
  Click("用紙サイズ", 7);
  EXPECT_EQ(Field("用紙サイズ"), "7");
  EXPECT_NE(GetFieldState("横幅"), kItemProtected);
  Type("横幅", "200");
  Type("長さ", "250");
  Click("用紙方向", 2);
  Click("補正マーク", 3);
  Click("ＩＮＴ６", 1);
  PressKey(Edit(), VK_ESCAPE);

  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
  EXPECT_LT(SheetSettingsSlot(), 0) << "stored and closed";
  EXPECT_TRUE(IsWindowEnabled(g_program.mainWindow));
  EXPECT_THAT(Rows("MUPA_PAP", {"ＯＣＲ用紙名", "テーブル", "用紙サイズ", "ＩＮＴ１", "ＩＮＴ２", "用紙方向",
                                "LINESTYLE", "スキャナ設定画面", "ＩＮＴ６"}),
              ElementsAre("顧客アンケート|KAITO2|定義|200|250|横|3|1|1"));
  EXPECT_THAT(Rows("MUPA_IDX", {"ＯＣＲコード", "ＩＤＸコード", "項目名", "タイトル", "文字数"}),
              ElementsAre("0001|01|番号|番号|0"));

  // The reading run reads the sheet as it was set.
  ASSERT_EQ(LoadCurrentSheetPaper(), 0);
  EXPECT_EQ(g_sheetSettings.widthMm, 250);
  EXPECT_EQ(g_sheetSettings.heightMm, 200);
  EXPECT_EQ(g_sheetSettings.compensationMode, 3) << "three marks stay three marks";
  EXPECT_EQ(g_sheetSettings.outputTable, "KAITO2");
  ASSERT_EQ(LoadSheetKeyItems(), 0);
  EXPECT_EQ(g_sheetKeys.lastKeyName, "番号");

  // Opened again, the screen shows what was stored.
  Command(kCmdSheetSettings);
  ASSERT_GE(SheetSettingsSlot(), 0);
  EXPECT_EQ(Field("ＯＣＲ用紙名"), "顧客アンケート");
  EXPECT_EQ(Field("用紙サイズ"), "7");
  EXPECT_EQ(Field("用紙方向"), "2");
  EXPECT_EQ(Field("補正マーク"), "3");
  EXPECT_EQ(Field("補正機能"), "0");
}

}  // namespace

TEST_F(SheetSettingsScreen, RefusedNamesAndSizesKeepTheScreenOpenWithTheirMessage) {
  struct Case {
    const char* what;
    const char* field;
    std::string value;
    std::string box;
    bool stored;
  };
  const std::string workFolderDatabase = folder() + "\\OCRDBS.mdb";
  const std::string workFolderKanaDatabase = folder() + "\\アンソ.mdb";  // ソ ends in the byte of "\"
  const Case cases[] = {
      {"table with a leading digit", "テーブル", "1KAITO", "数字で始まる「出力テーブル名」は付けられません。", false},
      {"table with a sign", "テーブル", "KA-ITO",
       "「出力テーブル名」に“半角カッコ”および“記号”“空白”は使用できません。", false},
      {"table named as a reserved word", "テーブル", "date", "「出力テーブル名」に“date”は使用できません。", false},
      {"table named as a word SQL reserves", "テーブル", "Order", "「出力テーブル名」に“Order”は使用できません。",
       false},
      {"key item named as a word SQL reserves", "キー項目名", "VALUES", "「キー項目名」に“VALUES”は使用できません。",
       false},
      {"key item named as an image column", "キー項目名", "IMG01", "「キー項目名」に“IMG01”は使用できません。",
       false},
      {"date column with a blank", "日付項目名", "入力 日",
       "「日付項目名」に“半角カッコ”および“記号”“空白”は使用できません。", false},
      {"user paper without its size", "用紙サイズ", "7", "「ユーザー定義」の用紙サイズを設定してください。", false},
      {"output database in the work folder", "データベース", workFolderDatabase,
       "「出力データベース名」に“" + workFolderDatabase + "”は設定できません。", false},
      {"output database in the work folder, named in Shift-JIS", "データベース", workFolderKanaDatabase,
       "「出力データベース名」に“" + workFolderKanaDatabase + "”は設定できません。", false},
      {"key item with a leading digit is warned of", "キー項目名", "1番号",
       "数字で始まる「キー項目名」は、推奨されません。\n"
       "Access から 直接、テーブルにアクセスする際にエラーになる場合があります。",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Command(kCmdSheetSettings);
    ASSERT_GE(SheetSettingsSlot(), 0);
    ForgetBoxes();
    Click("ＯＣＲ用紙名");
    SetItemValueForCommand(SheetSettingsSlot(), c.field, c.value.c_str());
    PressKey(Edit(), VK_ESCAPE);
    EXPECT_THAT(Boxes(), ElementsAre(c.box));
    EXPECT_EQ(SheetSettingsSlot() < 0, c.stored);
    // The refused value put right, the screen closes.
    if (SheetSettingsSlot() >= 0) {
      SetItemValueForCommand(SheetSettingsSlot(), c.field, c.field == std::string("用紙サイズ") ? "1" : "");
      PostMessageA(Window(), WM_CLOSE, 0, 0);
      RunPostedMessages();
    }
    EXPECT_LT(SheetSettingsSlot(), 0);
  }
  EXPECT_THAT(Rows("MUPA_IDX", {"項目名"}), ElementsAre("1番号"));
}

TEST_F(SheetSettingsScreen, APaperSizeTheProgramDoesNotKnowIsA4) {
  // A known sheet loaded first: its paper must not carry over.
  Command(kCmdSheetSettings);
  ASSERT_GE(SheetSettingsSlot(), 0);
  PostMessageA(Window(), WM_CLOSE, 0, 0);
  RunPostedMessages();
  struct Case {
    const char* size;
    const char* orientation;
    int width, height;
  };
  const Case cases[] = {{"Ｂ４", "縦", 257, 364}, {"Ａ６", "縦", 210, 297}, {"Ｂ５", "横", 257, 182},
                        {"", "横", 297, 210},    {"定義", "縦", 210, 297}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    const int t = OpenTable("MUPA_PAP");
    ASSERT_GE(t, 0);
    ASSERT_EQ(db_toppos(t, "ＯＣＲコード"), 0);
    SetColumnText(t, "用紙サイズ", c.size);
    SetColumnText(t, "用紙方向", c.orientation);
    SetColumnInt(t, "ＩＮＴ１", 0);
    ASSERT_EQ(db_update(t), 0);
    db_close(t);
    ASSERT_EQ(LoadCurrentSheetPaper(), 0);
    EXPECT_EQ(g_sheetSettings.widthMm, c.width);
    EXPECT_EQ(g_sheetSettings.heightMm, c.height);
  }
}

TEST_F(SheetSettingsScreen, AServerDatabaseIsTypedWithoutAFileChoice) {
  g_output.dbKind = kDbKindServer;
  Command(kCmdSheetSettings);
  ASSERT_GE(SheetSettingsSlot(), 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(Item(ResolveFieldRef(SheetSettingsSlot(), "データベース")).choices, "");
  SetItemValueForCommand(SheetSettingsSlot(), "データベース", "KAITODB");
  PostMessageA(Window(), WM_CLOSE, 0, 0);
  RunPostedMessages();
  EXPECT_THAT(Rows("MUPA_PAP", {"ＯＣＲコード", "データベースＳ", "データベースＪ"}), ElementsAre("0001|KAITODB|"));
}

TEST_F(SheetSettingsScreen, TheKeyItemShownAndRenamedIsTheFirstRow) {
  const int t = OpenTable("MUPA_IDX");
  ASSERT_GE(t, 0);
  for (const char* row : {"01:BRANCH", "02:ID"}) {
    const std::string r = row;
    db_clear(t);
    SetColumnText(t, "ＯＣＲコード", "0001");
    SetColumnText(t, "ＩＤＸコード", r.substr(0, 2).c_str());
    SetColumnText(t, "項目名", r.substr(3).c_str());
    ASSERT_EQ(db_add(t), 0);
  }
  db_close(t);
  Command(kCmdSheetSettings);
  ASSERT_GE(SheetSettingsSlot(), 0);
  EXPECT_EQ(Field("キー項目名"), "BRANCH");
  SetItemValueForCommand(SheetSettingsSlot(), "キー項目名", "SHOP");
  PostMessageA(Window(), WM_CLOSE, 0, 0);
  RunPostedMessages();
  EXPECT_LT(SheetSettingsSlot(), 0) << testing::PrintToString(Boxes());
  EXPECT_THAT(Rows("MUPA_IDX", {"ＩＤＸコード", "項目名"}), ElementsAre("01|SHOP", "02|ID"));
}
