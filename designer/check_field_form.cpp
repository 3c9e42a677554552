// The field editor's form of a check field (チェック欄): its question, its
// row of boxes (or rows of them), what each box prints beside it and the
// value each gives, and how the marks are read. The choice texts reach 765
// bytes and are kept in three columns each.
#include <string>
#include <vector>

#include "designer/area_codes.h"
#include "designer/field_forms.h"
#include "designer/form_items.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

constexpr size_t kPieceRoom = 255;
constexpr size_t kPieceCount = 3;
// 【選択肢複数行指定】: one line, rows filled across first, columns first.
constexpr const char* kArrangements[] = {"", "Ｘ", "Ｙ"};
constexpr const char* kValueTypes[] = {"文字", "数値", "ﾌﾗｸﾞ"};
constexpr int kNumberType = 2;

std::string JoinedPieces(int t, const char* column) {
  return std::string(GetColumnText(t, column)) + GetColumnTextIdx(t, column, 2) + GetColumnTextIdx(t, column, 3);
}

void StoreSplitText(int t, const char* column, const std::string& text) {
  const std::vector<std::string> pieces = SplitTextPieces(text, kPieceRoom, kPieceCount);
  SetColumnText(t, column, pieces[0].c_str());
  SetColumnTextIdx(t, column, 2, pieces[1].c_str());
  SetColumnTextIdx(t, column, 3, pieces[2].c_str());
}

// The single-byte commas of `text` removed (double-byte characters kept).
std::string WithoutCommas(const std::string& text) {
  std::string out;
  for (size_t at = 0; at < text.size();) {
    const size_t length = static_cast<size_t>(SjisCharLength(text.c_str() + at));
    if (!(length == 1 && text[at] == ',')) out.append(text, at, length);
    at += length;
  }
  return out;
}

bool HasSingleByteComma(const std::string& text) { return WithoutCommas(text) != text; }

bool InRows() { return GetFieldInt("複数行指定") > 1; }

bool g_keyCheckForm = false;

// The threshold as it is stored: 0 stands for the standard 10.
int StoredThreshold() {
  const int threshold = GetFieldInt("しきい値");
  return threshold == 0 ? 10 : threshold;
}

bool FormThresholdTooLow() {
  return OvalThresholdTooLow(FormFieldText("マーク型") == "●" ? 1 : 0, FormFieldText("網掛け") == "●" ? 1 : 0,
                             StoredThreshold());
}

// Ovals the form turns on get the threshold printing and reading ask of
// them.
void RaiseOvalThreshold() {
  if (FormThresholdTooLow()) SetFieldInt("しきい値", kLeastOvalThreshold);
}

// A key field that is not yet a check field starts as a column of ovals
// with its choices printed inside them.
void PresetKeyMarks() {
  SetFieldText("背景色", "Ｍ");
  SetFieldText("マーク型", MarkOf(true));
  SetFieldText("高さ", "3");
  SetFieldText("Ｂサイズ", "4");
  SetFieldInt("複数行指定", 1);
  // One mark a column is read; a write-in field counts no marks.
  if (GetFieldInt("少数部桁数") <= 0) SetFieldInt("少数部桁数", 1);
  RaiseOvalThreshold();
}

}  // namespace

void UseKeyCheckForm(bool keyItem) { g_keyCheckForm = keyItem; }

std::vector<std::string> KeyCheckStatements() {
  if (!g_keyCheckForm) return {};
  // Numbers read from the sheet are written in on it.
  return {"update MUPA_PAP set 既存データ=" + std::to_string(GetFieldInt("既存データ") == 2 ? 2 : 1) +
          ",予備３=1 where ＯＣＲコード=" + SqlLiteral("0001")};
}

int AddCheckFieldForm() {
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  check(AddNote("GHEAD1", "タ  イ  ト  ル", 2, 1));
  check(AddText("タイトル", "タイトル（質問）", 18, 2, 40, 200, "チェック欄の質問（半角の“｜”で改行）"));
  check(AddNumber("サイズ", "サイズ", 18, 3, 2, 21, "タイトルの文字の大きさ",
                  "6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21"));
  check(AddText("タイトル位置", "位置", 34, 3, 4, 2, "タイトルの位置", "←=左側に表示,↑=上側に表示,×=表示しない"));
  check(AddText("文字種別", "書体", 48, 3, 4, 2, "タイトルの書体", "Ｍ=明　朝,Ｇ=ゴシック"));
  check(AddText("タイトル枠", "枠", 62, 3, 4, 2, "タイトルの枠", "点=点　線,実=実　線,無=な　し"));

  check(AddNote("GHEAD2", "チェック欄 （読 み 取 り 領 域）", 2, 5));
  check(AddText("領域名", "項目名(ﾌｨｰﾙﾄﾞ名)", 18, 6, 30, 30, "出力テーブルのフィールド名"));
  check(AddNumber("文字数", "ﾁｪｯｸ数", 18, 7, 3, 765, "選択肢の数"));
  check(AddNumber("横幅", "横幅", 34, 7, 2, 99, "チェック枠の横幅〔ｍｍ〕"));
  check(AddNumber("高さ", "高さ", 50, 7, 2, 99, "チェック枠の高さ〔ｍｍ〕"));
  check(AddNumber("Ｂサイズ", "空き", 18, 8, 3, 999, "チェック枠の間隔〔ｍｍ〕",
                  "3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31"));
  check(AddText("網掛け", "外枠", 34, 8, 4, 2, "欄全体を枠で囲む（●）", "●,×"));
  check(AddNumber("少数部桁数", "最大", 50, 8, 3, 108, "チェックできる数（1 = 単一回答）"));
  check(AddText("マーク型", "形式", 18, 9, 4, 2, "チェック枠を楕円（●）にするか四角（×）にするか", "●,×"));
  check(AddNumber("しきい値", "しきい値", 34, 9, 3, 100, "マーク濃度のしきい値（-1 = 認識対象外、10 = 標準）",
                  "-1=認識対象外,1,2,3,4,5,6,7,8,9,10=標準,15,20,25,30,35,40,45,50,55,60"));
  check(AddText("重ね文字", "選択肢の内容", 18, 11, 60, 765, "チェック枠の横に印字する内容（カンマ区切り）"));
  check(AddText("選択肢フォント", "書体", 18, 12, 4, 2, "選択肢の内容の書体",
                "Ｍ=明朝,Ｇ=ゴシック,PM=Ｐ明朝,PG=Ｐゴシック"));
  check(AddText("背景色", "位置", 34, 12, 4, 2, "選択肢の内容を印字する位置",
                "↑=上側に印字,→=右側に印字,←=左側に印字,↓=下側に印字,Ｃ=中央に印字(ﾄﾞﾛｯﾌﾟｱｳﾄｶﾗｰ用),"
                "Ｍ=マーク型　(ﾄﾞﾛｯﾌﾟｱｳﾄｶﾗｰ用),×=印字しない"));
  check(AddScreenButton("マーク欄編集", "MEDIT", 82, 0, 11, kCmdChoiceEditor, kItemEnabled, "ZOKUSEI_O.BMP",
                        "選択肢の内容と取得する内容を、選択肢ごとに編集します", ""));
  check(AddText("変換条件", "取得する内容", 18, 13, 60, 765, "チェックされた選択肢で取得する内容",
                "〃=選択肢の内容を取得"));

  if (g_keyCheckForm) {
    check(AddChoices('R', "既存データ", "【書き込み時に同じ番号が登録されていた場合】", 2, 15, 50,
                     "書き込まずに元のデータを残す（処理を中断する）,元のデータに無条件に上書き（処理は中断しない）", 0,
                     "読み取った番号がすでに登録されていた場合の処理"));
  } else {
    check(AddChoices('R', "文字型", "【項目の型】", 2, 15, 20, "文字型,数値型,文字型（ﾌﾗｸﾞ）", kCmdCheckType,
                     "データベースのフィールドの型"));
    check(AddChoices('R', "空白不可", "【記入漏れﾁｪｯｸ】", 24, 15, 20, "なし(空白許可),あり(空白不可)", 0,
                     "チェックされていない欄をエラーにするか"));
  }
  // The key's wider choices push the arrangement right.
  const int arrangement = g_keyCheckForm ? 54 : 46;
  check(AddChoices('R', "複数行指定", "【選択肢複数行指定】", arrangement, 15, 20, "な　し,横向き（→）,縦向き（↓）",
                   kCmdArrangement, "選択肢を複数の行に並べる"));
  check(AddNumber("配列個数", "行数", arrangement + 30, 16, 3, 99, "選択肢を並べる行の数"));
  check(AddNumber("配列行間", "行間", arrangement + 30, 17, 3, 999, "行の間隔"));
  check(AddFormNotes("GMSG",
                     {"【注意】",
                      "・選択肢の内容は、カンマ（,）で区切って入力してください。“^”で始まる選択肢の欄は印字されません。",
                      "・取得する内容を空白にすると、チェックされた選択肢の並び番号（１～）を取得します。",
                      "・複数の回答を許可する場合は「最大」に回答できる数を設定し、取得する内容は１選択肢に１文字で",
                      "　設定してください（カンマは付けません）。",
                      "・チェック欄を追加または削除した場合は、データの入力画面を作り直してください。"},
                     2, 21));
  return failed ? -1 : 0;
}

void ProtectCheckRows() {
  for (const char* name : {"配列個数", "配列行間"}) InRows() ? UnprotectField(name) : ProtectField(name);
}

void FillCheckForm(int t) {
  for (const char* name : {"タイトル", "サイズ", "タイトル位置", "領域名", "文字数", "横幅", "高さ", "Ｂサイズ",
                           "少数部桁数", "しきい値"}) {
    SetFieldText(name, GetColumnText(t, name));
  }
  SetFieldText("重ね文字", JoinedPieces(t, "重ね文字").c_str());
  SetFieldText("変換条件", JoinedPieces(t, "変換条件").c_str());
  const std::string face = GetColumnText(t, "文字種別"), choiceFace = GetColumnText(t, "選択肢フォント");
  SetFieldText("文字種別", face.empty() ? "Ｍ" : face.c_str());
  SetFieldText("選択肢フォント", choiceFace.empty() ? "Ｍ" : choiceFace.c_str());
  const std::string frame = GetColumnText(t, "タイトル枠");
  SetFieldText("タイトル枠", frame == "有" ? "点" : frame.empty() ? "無" : frame.c_str());
  const std::string place = GetColumnText(t, "背景色");
  SetFieldText("背景色", place.empty() ? "×" : place.c_str());
  SetFieldText("網掛け", MarkOf(GetColumnInt(t, "網掛け") == 1));
  SetFieldText("マーク型", MarkOf(GetColumnInt(t, "マーク型") == 1));
  SetFieldInt("複数行指定", ChoiceOf(kArrangements, GetColumnText(t, "タイプ"), 1));
  if (InRows()) {
    SetFieldText("配列個数", GetColumnText(t, "配列個数"));
    SetFieldText("配列行間", GetColumnText(t, "配列行間"));
  }
  if (g_keyCheckForm) {
    if (std::string(GetColumnText(t, "編集")) != "ﾁｪｯｸ") PresetKeyMarks();
    if (const int p = OpenFrontPaperRow(); p >= 0) {
      SetFieldInt("既存データ", GetColumnInt(p, "既存データ") == 2 ? 2 : 1);
      db_close(p);
    }
  } else {
    SetFieldInt("文字型", ChoiceOf(kValueTypes, GetColumnText(t, "文字型"), 1));
    SetFieldInt("空白不可", GetColumnInt(t, "空白不可") == 2 ? 2 : 1);
  }
  ProtectCheckRows();
}

void FillNewCheckForm() {
  for (const auto& [name, value] : {std::pair<const char*, const char*>{"サイズ", "7"}, {"タイトル位置", "←"},
                                    {"文字種別", "Ｍ"}, {"タイトル枠", "無"}, {"横幅", "8"}, {"高さ", "9"},
                                    {"Ｂサイズ", "0"}, {"網掛け", "●"}, {"少数部桁数", "1"}, {"マーク型", "×"},
                                    {"しきい値", "10"}, {"選択肢フォント", "Ｍ"}, {"背景色", "→"}}) {
    SetFieldText(name, value);
  }
  SetFieldInt("文字型", 1);
  SetFieldInt("空白不可", 1);
  SetFieldInt("複数行指定", 1);
  ProtectCheckRows();
}

void ReactToCheckCommand(int code) {
  if (code == kCmdArrangement) {
    ProtectCheckRows();
    FocusField(InRows() ? "配列個数" : "タイトル");
  } else if (code == kCmdCheckType && GetFieldInt("文字型") == kNumberType) {
    ShowInfoMessage("",
                    "注意：“数値型”にチェックした場合は、記入エラー時に、“*”マークを出力できません。\n"
                    "【項目の型】は、データベースのフィールドの型です。\n"
                    "チェック内容を番号(数字)で取得する場合も、通常は“文字型”にチェックしてください。");
  }
}

int CheckCheckForm() {
  if (const int verdict = CheckCountAndName(); verdict != 1) return verdict;
  if (InRows() && GetFieldInt("配列個数") > GetFieldInt("文字数")) {
    return RefuseField("配列個数", "「行数」が「チェック数」を越えています。");
  }
  // A mark printed as its own choice is read as a filled oval.
  if (FormFieldText("マーク型") != "●" && FormFieldText("背景色") == "Ｍ") {
    SetFieldText("マーク型", "●");
    RaiseOvalThreshold();
    return RefuseField("しきい値",
                  "「選択肢の内容」の「位置」が“Ｍ”(ﾏｰｸ型)の場合は、「形式」は自動的に(●)になります。");
  }
  if (FormThresholdTooLow()) {
    ShowOvalThresholdMessage(FormFieldText("領域名").c_str());
    FocusField("しきい値");
    return -1;
  }
  const int most = GetFieldInt("少数部桁数");
  const std::string taken = FormFieldText("変換条件");
  const std::string choices = FormFieldText("重ね文字");
  if (taken == "〃" && most > 1 && HasSingleByteComma(choices)) {
    ShowInfoMessage("",
                    "｢取得する内容｣が“〃”で、｢最大｣が“%d”に設定されています。\n"
                    "複数の回答を許可する場合は、｢取得する内容｣に、取得する文字を、１選択肢あたり１文字で設定してください。\n"
                    "(カンマは付けないでください)\n並び番号を取得する場合は、｢取得する内容｣を空白にしてください。\n"
                    "文字列データとして取得(カンマ区切りに)する場合は｢最大｣を“1”にしてください。",
                    most);
    FocusField("変換条件");
    return -1;
  }
  if (!taken.empty() && taken != "〃" && most > 1 && HasSingleByteComma(taken)) {
    ShowInfoMessage("",
                    "｢最大｣が“%d”に設定されています。\n"
                    "複数の回答を許可する場合は、下記のように、｢取得する内容｣のカンマは除いてください。\n[%s]\n\n"
                    "文字列データとして取得(カンマ区切りに)する場合は｢最大｣を“1”にしてください。",
                    most, WithoutCommas(taken).c_str());
    FocusField("変換条件");
    return -1;
  }
  return CheckFieldName();
}

void SetCheckColumns(int t) {
  for (const char* name : {"文字数", "横幅", "高さ", "サイズ", "Ｂサイズ", "少数部桁数"}) {
    SetColumnInt(t, name, GetFieldInt(name));
  }
  for (const char* name : {"タイトル", "領域名", "タイトル位置", "文字種別", "選択肢フォント"}) {
    SetColumnText(t, name, FormFieldText(name).c_str());
  }
  const std::string frame = FormFieldText("タイトル枠");
  SetColumnText(t, "タイトル枠", frame == "点" || frame == "実" ? frame.c_str() : "無");
  const std::string place = FormFieldText("背景色");
  SetColumnText(t, "背景色", place.empty() ? "×" : place.c_str());
  SetColumnInt(t, "網掛け", FormFieldText("網掛け") == "●" ? 1 : 0);
  SetColumnInt(t, "マーク型", FormFieldText("マーク型") == "●" ? 1 : 0);
  SetColumnText(t, "編集", "ﾁｪｯｸ");
  SetColumnText(t, "全半角", "半角");
  SetColumnText(t, "有効文字種", "1100000000");
  // The key's number is text.
  SetColumnText(t, "文字型", g_keyCheckForm ? kValueTypes[0] : TextOfChoice(kValueTypes, GetFieldInt("文字型")));
  SetColumnInt(t, "空白不可", !g_keyCheckForm && GetFieldInt("空白不可") == 2 ? 2 : 1);
  SetColumnInt(t, "しきい値", StoredThreshold());
  StoreSplitText(t, "重ね文字", FormFieldText("重ね文字"));
  StoreSplitText(t, "変換条件", FormFieldText("変換条件"));
  const bool wereRows = ChoiceOf(kArrangements, GetColumnText(t, "タイプ"), 1) > 1;
  SetColumnText(t, "タイプ", TextOfChoice(kArrangements, GetFieldInt("複数行指定")));
  if (InRows()) {
    SetColumnInt(t, "配列個数", GetFieldInt("配列個数"));
    SetColumnInt(t, "配列行間", GetFieldInt("配列行間"));
    SetColumnInt(t, "配列開始", -1);
  } else if (wereRows) {
    // Rows given up leave no repetition behind.
    for (const char* name : {"配列個数", "配列行間", "配列開始"}) SetColumnInt(t, name, 0);
  }
}
