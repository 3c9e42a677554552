// The field editor's forms of settings that belong to a field already on
// the sheet: its repetition (the field copied down the sheet, each copy a
// column "%s%02d" of its own) and its reference master (a column of a
// master table looked up with the value read and written beside it).
#include <string>

#include "designer/field_forms.h"
#include "designer/form_items.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr int kNumberedFreely = 4;  // 【項目(欄)番号】 任意設定
constexpr int kNotNumbered = 1;

bool g_repeatedCheckField = false;

}  // namespace

int AddRepeatForm() {
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  check(AddNote("RHEAD1", "繰 り 返 し 項 目 設 定", 2, 1));
  check(AddText("領域名", "項目名", 18, 2, 30, 30, "繰り返す項目"));
  check(AddNumber("配列開始", "開始番号", 18, 3, 3, 999, "最初の項目の番号"));
  check(AddNumber("配列個数", "個数", 18, 4, 3, 999, "繰り返す数（２以上）"));
  check(AddNumber("配列行間", "行間", 18, 5, 3, 999, "項目の間隔"));
  check(AddCheck("配列ﾀｲﾄﾙ", "２行目以降の項目にタイトルを印字する", 2, 7, 0));
  check(AddChoices('R', "配列番号", "【項目(欄)番号】", 2, 9, 24, "表示(印字)しない,開始番号～,１～,任意設定       ～",
                   kCmdRepeatNumbering, "項目に印字する番号"));
  // Inside the group, in the blank of its last choice "任意設定 … ～".
  check(AddNumber("印字開始番号", "", 17, 13, 3, 999, "印字する最初の番号"));
  check(AddChoices('R', "番号印字位置", "【番号印字位置】", 30, 9, 16, "枠の左,枠内の中心", 0, "番号を印字する位置"));
  check(AddNote("RMSG01", "(設定の内容は､編集モード終了後に反映されます)", 2, 16));
  return failed ? -1 : 0;
}

void ProtectRepeatNumbering() {
  const int numbering = GetFieldInt("配列番号");
  numbering == kNumberedFreely ? UnprotectField("印字開始番号") : ProtectField("印字開始番号");
  // A check field keeps its mark threshold where other items keep the
  // place of their number: its number has no place to choose.
  numbering != kNotNumbered && !g_repeatedCheckField ? UnprotectField("番号印字位置") : ProtectField("番号印字位置");
}

void FillRepeatForm(int t) {
  g_repeatedCheckField = std::string(GetColumnText(t, "編集")) == "ﾁｪｯｸ";
  for (const char* name : {"領域名", "配列開始", "配列個数", "配列行間", "印字開始番号"}) {
    SetFieldText(name, GetColumnText(t, name));
  }
  const std::string overlap = GetColumnText(t, "重複");
  SetFieldText("配列ﾀｲﾄﾙ", overlap == "1" ? "1" : "0");
  const int numbering = GetColumnInt(t, "配列番号");
  SetFieldInt("配列番号", numbering >= 0 && numbering <= 3 ? numbering + 1 : kNotNumbered);
  const int place = GetColumnInt(t, "しきい値");
  SetFieldInt("番号印字位置", !g_repeatedCheckField && place == 2 ? 2 : 1);
  ProtectField("領域名");
  ProtectRepeatNumbering();
}

int CheckRepeatForm() {
  return GetFieldInt("配列個数") == 1 ? RefuseField("配列個数", "「個数」は、２以上の値を入力してください。") : 1;
}

void SetRepeatColumns(int t) {
  for (const char* name : {"配列開始", "配列個数", "配列行間"}) SetColumnInt(t, name, GetFieldInt(name));
  const int numbering = GetFieldInt("配列番号");
  SetColumnInt(t, "配列番号", numbering >= 1 ? numbering - 1 : 0);
  SetColumnInt(t, "印字開始番号", numbering == kNumberedFreely ? GetFieldInt("印字開始番号") : 0);
  SetColumnText(t, "重複", FormFieldText("配列ﾀｲﾄﾙ") == "1" ? "1" : "0");
  if (!g_repeatedCheckField) SetColumnInt(t, "しきい値", GetFieldInt("番号印字位置") == 2 ? 2 : 1);
}

int AddMasterForm() {
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  check(AddNote("MHEAD1", "参照するマスターファイル", 2, 1));
  check(AddText("参照テーブル", "テーブル名", 18, 2, 24, 24, "参照するマスターファイルのテーブル名"));
  check(AddText("キー項目名", "キー項目名", 18, 3, 24, 24, "読み取った値で検索するマスターの項目名"));
  check(AddText("取得項目名", "取得項目名", 18, 4, 24, 24, "マスターから取得する項目名"));
  check(AddNote("MHEAD2", "出 力 す る テ ー ブ ル", 2, 6));
  check(AddText("出力テーブル", "テーブル名", 18, 7, 24, 30, "シートの出力テーブル"));
  check(AddText("領域名", "項目名", 18, 8, 24, 30, "読み取る項目"));
  check(AddText("書込項目名", "書込項目名", 18, 9, 24, 24, "取得した内容を書き込む出力テーブルの項目名"));
  check(AddCheck("マスターエラー", "マスターデータを検索できない場合は処理を中断する", 2, 11, 0));
  check(AddFormNotes("MMSG",
                     {"読み取った値でマスターファイルを検索し、取得した内容を出力テーブルに書き込みます。",
                      "マスターファイルは、出力データベースに作成してください。",
                      "「書込項目名」の項目は、出力テーブルにあらかじめ作成してください。"},
                     2, 13));
  return failed ? -1 : 0;
}

void FillMasterForm(int t) {
  for (const char* name : {"参照テーブル", "キー項目名", "取得項目名", "領域名", "書込項目名"}) {
    SetFieldText(name, GetColumnText(t, name));
  }
  SetFieldText("出力テーブル", g_sheetSettings.outputTable.c_str());
  SetFieldText("マスターエラー", GetColumnInt(t, "マスターエラー") == 1 ? "1" : "0");
  ProtectField("出力テーブル");
  ProtectField("領域名");
}

int CheckMasterForm() {
  const std::string table = FormFieldText("参照テーブル");
  if (!table.empty() && table == g_sheetSettings.outputTable) {
    ShowInfoMessage("", "参照するマスターファイルのテーブル名が、出力テーブル“%s”と同じ名前に設定されています。",
                    table.c_str());
    FocusField("参照テーブル");
    return -1;
  }
  return 1;
}

void SetMasterColumns(int t) {
  for (const char* name : {"参照テーブル", "キー項目名", "取得項目名", "書込項目名"}) {
    SetColumnText(t, name, FormFieldText(name).c_str());
  }
  SetColumnInt(t, "マスターエラー", FormFieldText("マスターエラー") == "1" ? 1 : 0);
}
