// The sheet settings screen's fields against the paper row (MUPA_PAP) and
// the key item (the first MUPA_IDX row) of the current sheet definition.
#include "designer/sheet_settings_store.h"

#include <string>

#include "designer/form_items.h"
#include "designer/name_rules.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "foundation/path_split.h"
#include "screen/screen.h"
#include "shell/shell.h"

namespace {

constexpr const char* kPaperSizes[] = {"Ａ４", "Ａ５", "Ｂ４", "Ｂ５", "Ｂ６", "葉書", "定義"};
constexpr int kUserPaper = 7;
constexpr char kDefaultKeyName[] = "ＩＤ";
constexpr size_t kIconCount = 9;

// The columns a field shows as they are stored.
constexpr const char* kSameTexts[] = {"ＯＣＲ用紙名", "テーブル", "日付項目名", "時刻項目名"};
constexpr const char* kSameNumbers[] = {"横間隔",       "縦間隔", "予備２",     "ＩＮＴ６",   "ＩＮＴ７",
                                        "ＩＮＴ８",     "ＩＮＴ９", "プレプリント", "印字カラー", "色を薄くする",
                                        "罫線",         "ノイズサイズ", "認識エリア", "不明瞭マーク境界値"};
// Fields named apart from their columns.
struct RenamedNumber {
  const char* field;
  const char* column;
};
constexpr RenamedNumber kRenamedNumbers[] = {
    {"横幅", "ＩＮＴ１"}, {"長さ", "ＩＮＴ２"}, {"記入欄罫線", "印字サイズ"}, {"オートナンバー", "予備３"}};

// The default paper row of a new side.
struct DefaultNumber {
  const char* column;
  int value;
};
constexpr DefaultNumber kDefaultNumbers[] = {
    {"横間隔", 2},        {"縦間隔", 2},       {"テーブル作成", 1},   {"既存データ", 1},     {"書込形式", 1},
    {"パスワード設定", 1}, {"用紙回転", 1},     {"ノイズサイズ", 2},   {"予備１", 2},         {"予備２", 1},
    {"予備３", 2},         {"用紙種別", 1},     {"LINESTYLE", 2},     {"スキャナ設定画面", 2}, {"Ｎｏ入力画面", 1},
    {"画面の形式", 0},     {"起動時の画面", 0}, {"起動時の処理", 1},  {"印字サイズ", 1},     {"印字カラー", 1},
    {"色を薄くする", 0},   {"罫線", 0},         {"テキストファイル出力", 0}, {"明るさ", 5},   {"認識エリア", 1},
    {"不明瞭マーク境界値", 10}, {"一覧表項目種別", 1}};

// The rows of the current side in `table`.
int OpenSheetTable(const char* table) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  return db_open(sheet.folder.c_str(), sheet.database.c_str(), table, sheet.kind, kSheetSpecSet, table,
                 "select * from %s where ＯＣＲコード=%s", table, SqlLiteral(sheet.sheetCode.c_str()).c_str());
}

// The icons as nine switches: a shorter text is filled with "0", and the
// sixth icon is never shown.
std::string NormalizeIcons(std::string icons) {
  if (icons.size() < kIconCount) icons.append(kIconCount - icons.size(), '0');
  icons.resize(kIconCount);
  icons[5] = '0';
  return icons;
}


std::string FolderOf(const std::string& path) {
  return std::string(PathFolder(path, "\\/"));
}

const char* OutputDatabaseColumn() {
  return UsesFileDatabase() ? "データベースＪ" : "データベースＳ";
}

// The output database as it is kept: a file in the program's data folder
// by its name alone (a plain name lies there), so that the depth of the
// installation does not count.
std::string StoredOutputDatabase(const std::string& database) {
  if (!UsesFileDatabase() ||
      lstrcmpiA(FolderOf(database).c_str(), ProgramDataFolder().c_str()) != 0) {
    return database;
  }
  return database.substr(database.find_last_of('\\') + 1);
}

// Room of the output database's column: its length, or -1.
int OutputDatabaseRoom() {
  const int t = OpenSheetTable(kPaperTable);
  if (t < 0) return -1;
  const int room = GetColumnLength(t, OutputDatabaseColumn());
  db_close(t);
  return room;
}

int StoreKeyItem(const std::string& name) {
  const int t = OpenSheetTable(kKeyItemTable);
  if (t < 0) return -1;
  const bool found = db_toppos(t, "ＩＤＸコード") == 0;
  if (!found) {
    db_clear(t);
    SetColumnText(t, "ＯＣＲコード", g_sheetDefinition.sheetCode.c_str());
    SetColumnText(t, "ＩＤＸコード", "01");
  }
  SetColumnText(t, "項目名", name.c_str());
  SetColumnText(t, "タイトル", name.c_str());
  SetColumnInt(t, "文字数", 0);
  const int rc = found ? db_update(t) : db_add(t);
  db_close(t);
  return rc;
}

}  // namespace

bool UsesFileDatabase() { return g_output.dbKind != kDbKindServer; }

std::string ShownOutputDatabase(int slot) {
  if (!UsesFileDatabase()) return GetColumnText(slot, "データベースＳ");
  std::string path;
  ResolveOutputDatabasePath(slot, &path);
  return path;
}

const char* PaperSizeText(int choice) {
  return choice >= 1 && choice <= kUserPaper ? kPaperSizes[choice - 1] : kPaperSizes[0];
}

int PaperSizeChoice(const std::string& text) {
  for (int i = 0; i < kUserPaper; ++i) {
    if (text == kPaperSizes[i]) return i + 1;
  }
  return 1;
}

int EnsureSheetSettingsRow() {
  const int t = OpenSheetTable(kPaperTable);
  if (t < 0) return -1;
  int rc = 0;
  if (db_toppos(t, "ＯＣＲコード") != 0) {
    db_clear(t);
    const std::string name = DefinitionName();
    SetColumnText(t, "ＯＣＲコード", g_sheetDefinition.sheetCode.c_str());
    SetColumnText(t, "ＯＣＲ用紙名", name.c_str());
    SetColumnText(t, "テーブル", name.c_str());
    SetColumnText(t, "用紙サイズ", kPaperSizes[0]);
    SetColumnText(t, "用紙方向", "縦");
    SetColumnText(t, "アイコン表示", "111110111");
    for (const DefaultNumber& d : kDefaultNumbers) SetColumnInt(t, d.column, d.value);
    rc = db_add(t);
  }
  db_close(t);
  return rc;
}

void FillSheetSettingsFields() {
  const int t = OpenSheetTable(kPaperTable);
  if (t < 0) return;
  if (db_toppos(t, "ＯＣＲコード") == 0) {
    for (const char* name : kSameTexts) SetFieldText(name, GetColumnText(t, name));
    for (const char* name : kSameNumbers) SetFieldInt(name, GetColumnInt(t, name));
    for (const RenamedNumber& r : kRenamedNumbers) SetFieldInt(r.field, GetColumnInt(t, r.column));
    SetFieldInt("用紙サイズ", PaperSizeChoice(GetColumnText(t, "用紙サイズ")));
    SetFieldInt("用紙方向", std::string(GetColumnText(t, "用紙方向")) == "横" ? 2 : 1);
    // Compensation: switched off (0), or by one, two or three marks.
    const int marks = GetColumnInt(t, "LINESTYLE");
    SetFieldInt("補正機能", marks == 0 ? 1 : 0);
    SetFieldInt("補正マーク", marks >= 1 && marks <= 3 ? marks : 2);
    SetFieldInt("スキャナ設定画面", GetColumnInt(t, "スキャナ設定画面") == 1 ? 1 : 0);
    SetFieldText("データベース", ShownOutputDatabase(t).c_str());
    SetFieldText("アイコン表示", NormalizeIcons(GetColumnText(t, "アイコン表示")).c_str());
    const std::string fep = GetColumnText(t, "ＦＥＰ起動");
    const std::string stamp = GetColumnText(t, "タイムスタンプ");
    SetFieldText("ＦＥＰ起動", fep.empty() ? "11" : fep.c_str());
    SetFieldText("タイムスタンプ", stamp.empty() ? "00" : stamp.c_str());
  }
  db_close(t);
  g_sheetKeys = SheetKeyItems();
  LoadSheetKeyItems();
  // The key item the screens show and the designer renames: the first row.
  SetFieldText("キー項目名", g_sheetKeys.items.empty() ? kDefaultKeyName : g_sheetKeys.items.front().name.c_str());
}

int CheckSheetSettingsFields() {
  struct NameCheck {
    const char* field;
    const char* caption;
  };
  if (CheckFieldNameInput("テーブル", "出力テーブル名", 1) != 0) {
    FocusField("テーブル");
    return -1;
  }
  for (const NameCheck& c : {NameCheck{"キー項目名", "キー項目名"}, NameCheck{"日付項目名", "日付項目名"},
                             NameCheck{"時刻項目名", "時刻項目名"}}) {
    if (CheckNameCharacters(c.field, c.caption) != 0) {
      FocusField(c.field);
      return -1;
    }
  }
  if (GetFieldInt("用紙サイズ") == kUserPaper && (GetFieldInt("横幅") <= 0 || GetFieldInt("長さ") <= 0)) {
    ShowInfoMessage("", "「ユーザー定義」の用紙サイズを設定してください。");
    FocusField("横幅");
    return -1;
  }
  const std::string database = FormFieldText("データベース");
  if (UsesFileDatabase() && !database.empty() &&
      lstrcmpiA(FolderOf(database).c_str(), g_program.workFolder.c_str()) == 0) {
    ShowInfoMessage("", "「出力データベース名」に“%s”は設定できません。", database.c_str());
    FocusField("データベース");
    return -1;
  }
  const int room = OutputDatabaseRoom();
  if (room >= 0 && static_cast<int>(StoredOutputDatabase(database).size()) > room) {
    ShowInfoMessage("", "「出力データベース名」は、%dバイト以内の長さにしてください。\n\n〔%s〕",
                    room, database.c_str());
    FocusField("データベース");
    return -1;
  }
  return 0;
}

int StoreSheetSettingsFields() {
  if (StoreKeyItem(FormFieldText("キー項目名")) != 0) return -1;
  const int t = OpenSheetTable(kPaperTable);
  if (t < 0) return -1;
  if (db_toppos(t, "ＯＣＲコード") != 0) {
    db_close(t);
    ShowInfoMessage("", "シート“%s”の用紙の設定がありません。", g_sheetDefinition.sheetCode.c_str());
    return -1;
  }
  for (const char* name : kSameTexts) SetColumnText(t, name, FormFieldText(name).c_str());
  for (const char* name : kSameNumbers) SetColumnInt(t, name, GetFieldInt(name));
  for (const RenamedNumber& r : kRenamedNumbers) SetColumnInt(t, r.column, GetFieldInt(r.field));
  SetColumnText(t, "用紙サイズ", PaperSizeText(GetFieldInt("用紙サイズ")));
  SetColumnText(t, "用紙方向", GetFieldInt("用紙方向") == 2 ? "横" : "縦");
  const int marks = GetFieldInt("補正マーク");
  SetColumnInt(t, "LINESTYLE", GetFieldInt("補正機能") == 1 ? 0 : marks >= 1 && marks <= 3 ? marks : 2);
  SetColumnInt(t, "スキャナ設定画面", GetFieldInt("スキャナ設定画面") == 1 ? 1 : 2);
  SetColumnText(t, OutputDatabaseColumn(),
                StoredOutputDatabase(FormFieldText("データベース")).c_str());
  SetColumnText(t, "アイコン表示", NormalizeIcons(FormFieldText("アイコン表示")).c_str());
  SetColumnText(t, "ＦＥＰ起動", FormFieldText("ＦＥＰ起動").c_str());
  SetColumnText(t, "タイムスタンプ", FormFieldText("タイムスタンプ").c_str());
  const int rc = db_update(t);
  db_close(t);
  return rc;
}
