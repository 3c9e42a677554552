// The field editor's form of a write-in field (記入欄): its title, the
// boxes the reading cuts out and reads, and how what is read is typed,
// edited and checked. The radio groups and the mark of the character kinds
// stand for the texts MUPA_FLD keeps, as the reading run reads them.
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "designer/field_forms.h"
#include "designer/form_items.h"
#include "designer/name_rules.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

// 【認識の単位】: per box, the whole field, the whole length.
constexpr const char* kUnits[] = {"", "一括", "全長"};
// 【文字編集】: none, blanks zero-filled, leading blanks removed, right-aligned.
constexpr const char* kEdits[] = {"左詰", "０埋", "Ｂ除", "右詰"};
constexpr int kUnitWhole = 2;
constexpr int kEditRight = 4;
constexpr int kFullWidth = 1, kHalfWidth = 2;
constexpr int kNumberType = 2;

bool IsMarked(const char* name) { return FormFieldText(name) == "●"; }

// Whether `text` holds a double-byte character, or a single-byte one.
bool HasCharOfWidth(const std::string& text, int width) {
  for (const char* p = text.c_str(); *p; p += SjisCharLength(p)) {
    if (SjisCharLength(p) == width) return true;
  }
  return false;
}

// The first three marks of the character kinds (digits, signs, capitals)
// as "1"/"0".
std::string KindMarks(const std::string& marks) {
  std::string out = "000";
  for (size_t i = 0; i < out.size() && i < marks.size(); ++i) out[i] = marks[i] == '1' ? '1' : '0';
  return out;
}

std::string WithoutTrailingBlanks(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

int AddTitleItems(int row) {
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  check(AddNote("GHEAD1", "タ  イ  ト  ル", 2, row));
  check(AddText("タイトル", "タイトル", 18, row + 1, 40, 200, "欄のタイトル（半角の“｜”で改行）"));
  check(AddNumber("サイズ", "サイズ", 18, row + 2, 2, 21, "タイトルの文字の大きさ",
                  "6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21"));
  check(AddText("タイトル位置", "位置", 34, row + 2, 4, 2, "タイトルの位置",
                "←=左側に表示,↑=上側に表示,→=右側に表示,↓=下側に表示,×=表示しない"));
  check(AddText("文字種別", "書体", 48, row + 2, 4, 2, "タイトルの書体", "Ｍ=明　朝,Ｇ=ゴシック"));
  check(AddText("タイトル枠", "枠", 62, row + 2, 4, 2, "タイトルを枠で囲む（●）", "●,×"));
  return failed ? -1 : 0;
}

int AddBoxItems(int row) {
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  check(AddNumber("文字数", "文字数", 18, row, 3, 100, "記入する文字の数",
                  "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24"));
  check(AddNumber("横幅", "横幅", 34, row, 3, 999, "文字枠の横幅〔ｍｍ〕（全長指定は欄全体の横幅）",
                  "3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18"));
  check(AddNumber("高さ", "高さ", 50, row, 2, 99, "文字枠の高さ〔ｍｍ〕", "3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18"));
  check(AddText("網掛け", "外枠", 18, row + 1, 4, 2, "欄全体を枠で囲む（●）", "●,×"));
  check(AddText("文字太", "：", 34, row + 1, 4, 2, "タイトルの後に“：”を付ける（●）", "●,×"));
  check(AddText("Ｂサイズ", "字間", 50, row + 1, 4, 2, "文字枠の間隔〔ｍｍ〕", "-1=仕切なし,0,1,2,3,4,5,6"));
  return failed ? -1 : 0;
}

void FillTitleAndBoxItems(int t) {
  for (const char* name : {"タイトル", "サイズ", "タイトル位置", "領域名", "文字数", "横幅", "高さ", "Ｂサイズ", "重ね文字"}) {
    SetFieldText(name, GetColumnText(t, name));
  }
  const std::string font = GetColumnText(t, "文字種別");
  SetFieldText("文字種別", font.empty() ? "Ｍ" : font.c_str());
  SetFieldText("タイトル枠", MarkOf(std::string(GetColumnText(t, "タイトル枠")) == "有"));
  SetFieldText("網掛け", MarkOf(GetColumnInt(t, "網掛け") == 1));
  SetFieldText("文字太", MarkOf(GetColumnInt(t, "文字太") == 1));
}

void SetTitleAndBoxColumns(int t) {
  for (const char* name : {"タイトル", "領域名", "タイトル位置", "重ね文字"}) {
    SetColumnText(t, name, FormFieldText(name).c_str());
  }
  for (const char* name : {"サイズ", "文字数", "横幅", "高さ"}) SetColumnInt(t, name, GetFieldInt(name));
  SetColumnText(t, "タイトル枠", IsMarked("タイトル枠") ? "有" : "無");
  SetColumnText(t, "文字種別", FormFieldText("文字種別") == "Ｇ" ? "Ｇ" : "Ｍ");
  SetColumnInt(t, "網掛け", IsMarked("網掛け") ? 1 : 0);
  SetColumnInt(t, "文字太", IsMarked("文字太") ? 1 : 0);
  SetColumnInt(t, "Ｂサイズ", std::atoi(FormFieldText("Ｂサイズ").c_str()));
}

// The notes under the form, in two columns: how titles break, how key
// numbers and the unit 記入欄 are meant (left); the column types the output
// database gets, by its kind, and what a changed field list asks of the
// entry screens (right).
constexpr const char* kLeftNotes[] = {
    "・タイトルを複数行にするときは、改行する位置に",
    "　半角の“|”を入力してください。",
    "・数字だけを記入するキー項目（コード番号など）も、",
    "　【項目の型】は“文字型”にしてください。",
    "・【認識の単位】の“記入欄”は、欄全体をまとめて",
    "　認識します（仕切りの無い欄、氏名・住所など）。",
};
std::vector<std::string> RightNotes() {
  const bool file = g_currentSheet.outputKind == 1;
  return {file ? "・出力テーブルのフィールドの型（Access）：" : "・出力テーブルのフィールドの型（SQL Server）：",
          file ? "　文字型＝テキスト型、数値型＝数値型（倍精度）" : "　文字型＝varchar、数値型＝float",
          "・記入欄を追加・削除したときや項目名を変えたときは、",
          "　データの入力画面（カード形式・一覧形式）を",
          "　作り直してください。"};
}

int AddWriteInForm() {
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  check(AddTitleItems(1));
  check(AddChoices('C', "有効文字種", "【認 識 対 象 文 字 種】", 74, 1, 46,
                   "数　　字　〔０１２３４５６７８９〕,数字記号　〔＋－〕,大文字英字〔ＡＢＣＤＥＦＧＨＩＪＫＬ～Ｚ〕",
                   0, "読み取る文字の種類"));

  check(AddNote("GHEAD2", "記　入　欄 （読 み 取 り 領 域）", 2, 5));
  check(AddText("領域名", "項目名(ﾌｨｰﾙﾄﾞ名)", 18, 6, 30, 30, "出力テーブルのフィールド名"));
  check(AddBoxItems(7));
  check(AddText("最小値", "最小値", 18, 9, 17, 18, "数値項目の下限"));
  check(AddText("最大値", "最大値", 50, 9, 17, 18, "数値項目の上限"));
  check(AddNumber("少数部桁数", "小数部桁数", 18, 10, 2, 9, "数値項目の小数部の桁数"));
  check(AddText("変換条件", "変換条件", 18, 11, 60, 200, "読み取った内容の変換（例：1=男,2=女）"));
  check(AddText("重ね文字", "重ね文字", 18, 12, 60, 255, "文字枠に印字する文字",
                "    /  /  =日付 [9999/99/99],  /  /  =日付 [99/99/99],  :  =時間 [99:99]"));

  check(AddChoices('R', "タイプ", "【認識の単位】", 2, 14, 14, "文字枠,記入欄,  〃,", 0, "一文字ずつ読むか欄全体を読むか"));
  check(AddNote("GWHOLE", "(全長指定)", 4, 18));
  check(AddChoices('R', "文字型", "【項目の型】", 18, 14, 14, "文字型,数値型", kCmdWriteInType,
                   "データベースのフィールドの型"));
  check(AddChoices('R', "全半角", "【出力文字種】", 34, 14, 14, "全　角,半　角", 0, "出力する文字の幅"));
  check(AddChoices('R', "編集", "【文字編集】", 50, 14, 20, "な　し,空白のゼロ埋め,左側空白削除,右詰め", 0,
                   "読み取った文字の編集"));
  check(AddChoices('R', "空白不可", "【記入漏れﾁｪｯｸ】", 72, 14, 20, "なし(空白許可),あり(空白不可)", 0,
                   "記入されていない欄をエラーにするか"));
  check(AddFormNotes("GMSG", {std::begin(kLeftNotes), std::end(kLeftNotes)}, 2, 20));
  check(AddFormNotes("GMSG", RightNotes(), 62, 20, static_cast<int>(std::size(kLeftNotes)) + 1));
  return failed ? -1 : 0;
}

void ReactToWriteInCommand(int code) {
  // The type is the output column's: it does not choose what is read.
  if (code == kCmdWriteInType && GetFieldInt("文字型") == kNumberType) {
    ShowInfoMessage("", "【項目の型】は、データベースのフィールドの型です。\n"
                        "（認識する文字の種類ではありませんので、ご注意ください）\n"
                        "通常の処理では、“数値型”に設定する必要はありません。");
  }
}

void FillWriteInForm(int t) {
  FillTitleAndBoxItems(t);
  for (const char* name : {"最小値", "最大値", "少数部桁数", "変換条件"}) SetFieldText(name, GetColumnText(t, name));
  const std::string type = GetColumnText(t, "タイプ");
  SetFieldInt("タイプ", type == "一括" ? 2 : type == "全長" ? 3 : 1);
  SetFieldInt("文字型", std::string(GetColumnText(t, "文字型")) == "数値" ? kNumberType : 1);
  const std::string width = GetColumnText(t, "全半角");
  SetFieldInt("全半角", width == "全角" ? kFullWidth : width == "半角" ? kHalfWidth : 0);
  SetFieldInt("編集", ChoiceOf(kEdits, GetColumnText(t, "編集"), 0));
  SetFieldInt("空白不可", GetColumnInt(t, "空白不可") == 2 ? 2 : 1);
  SetFieldText("有効文字種", KindMarks(GetColumnText(t, "有効文字種")).c_str());
}

void FillNewWriteInForm() {
  for (const auto& [name, value] : {std::pair<const char*, const char*>{"サイズ", "7"}, {"タイトル位置", "←"},
                                    {"文字種別", "Ｍ"}, {"タイトル枠", "×"}, {"横幅", "8"}, {"高さ", "9"},
                                    {"網掛け", "×"}, {"文字太", "×"}, {"Ｂサイズ", "0"}, {"有効文字種", "100"}}) {
    SetFieldText(name, value);
  }
  SetFieldInt("タイプ", kUnitWhole);
  SetFieldInt("文字型", 1);
  SetFieldInt("全半角", kHalfWidth);
  SetFieldInt("編集", 1);
  SetFieldInt("空白不可", 1);
}

const char* MarkOf(bool on) { return on ? "●" : "×"; }

int RefuseField(const char* field, const char* message) {
  ShowInfoMessage("", "%s", message);
  FocusField(field);
  return -1;
}

int CheckCountAndName() {
  const std::string name = FormFieldText("領域名");
  if (GetFieldInt("文字数") <= 0) {
    if (!name.empty() || !FormFieldText("タイトル").empty()) {
      ShowInfoMessage("", "「文字数」が設定されていません。編集内容は、無効とします。");
    }
    return 0;
  }
  return name.empty() ? RefuseField("領域名", "「項目名」が設定されていません。") : 1;
}

int CheckFieldName() {
  if (CheckNameText(FormFieldText("領域名").c_str(), "項目名") == 0) return 1;
  FocusField("領域名");
  return -1;
}

int CheckWriteInForm() {
  if (const int verdict = CheckCountAndName(); verdict != 1) return verdict;
  const std::string overlay = FormFieldText("重ね文字");
  const int width = GetFieldInt("全半角");
  if (width == kFullWidth && HasCharOfWidth(overlay, 1)) {
    return RefuseField("重ね文字",
                  "「重ね文字」に半角文字が含まれています。\n\n「出力文字種」の設定に合わせて、全ての文字を“全角”で入力して"
                  "ください。");
  }
  if (width == kHalfWidth && HasCharOfWidth(overlay, 2)) {
    return RefuseField("重ね文字",
                  "「重ね文字」に全角文字が含まれています。\n\n「出力文字種」の設定に合わせて、全ての文字を“半角”で入力して"
                  "ください。");
  }
  // A time "hh:mm" is read as digits into text, its colon kept in place.
  if (WithoutTrailingBlanks(overlay) == "  :" && GetFieldInt("文字数") == 5) {
    if (KindMarks(FormFieldText("有効文字種"))[1] == '1') {
      return RefuseField("有効文字種", "時間項目の「認識対象文字種」は“数値”のみに設定してください。");
    }
    if (GetFieldInt("文字型") == kNumberType) {
      return RefuseField("文字型", "時間項目の「項目の型」は“文字型”に設定してください。");
    }
    if (GetFieldInt("タイプ") == kUnitWhole && GetFieldInt("編集") != kEditRight) {
      return RefuseField("編集", "時間項目で「認識の単位」が“記入欄”の場合は、「文字編集」は“右詰め”に設定してください。");
    }
  }
  return CheckFieldName();
}

void SetWriteInColumns(int t) {
  int unit = GetFieldInt("タイプ");
  int width = GetFieldInt("全半角");
  int edit = GetFieldInt("編集");
  const int gap = std::atoi(FormFieldText("Ｂサイズ").c_str());
  // Boxes that touch cannot be cut apart, and a number is read whole.
  if (unit == 1 && gap == -1) {
    unit = kUnitWhole;
    ShowInfoMessage("", "「字間」が“仕切なし”の場合は、自動的に「認識の単位」は“記入欄”に設定されます。");
  }
  const bool number = GetFieldInt("文字型") == kNumberType;
  if (number) {
    width = kHalfWidth;
    edit = kEditRight;
    if (unit == 1) {
      unit = kUnitWhole;
      ShowInfoMessage("", "「項目の型」が“数値型”の場合は、自動的に「認識の単位」は“記入欄”に設定されます。");
    }
  }
  SetTitleAndBoxColumns(t);
  SetColumnInt(t, "空白不可", GetFieldInt("空白不可") == 2 ? 2 : 1);
  SetColumnText(t, "全半角", width == kFullWidth ? "全角" : "半角");
  SetColumnText(t, "編集", TextOfChoice(kEdits, edit));
  SetColumnText(t, "タイプ", TextOfChoice(kUnits, unit));
  SetColumnText(t, "文字型", number ? "数値" : "文字");
  for (const char* name : {"変換条件", "最小値", "最大値"}) SetColumnText(t, name, FormFieldText(name).c_str());
  SetColumnInt(t, "少数部桁数", GetFieldInt("少数部桁数"));
  SetColumnText(t, "有効文字種", (KindMarks(FormFieldText("有効文字種")) + "0000000").c_str());
}
