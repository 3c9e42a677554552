// The sheet settings screen ("ＯＣＲシート定義", window code 13): the general
// settings of the current sheet definition, built in code as screen items
// on a window of its own. Opening it gives a sheet without a paper row its
// default row; its fields are filled from MUPA_PAP and the key item of
// MUPA_IDX, dependent fields open and close as the user chooses, and
// closing it (Esc or the window's close) checks the names and stores the
// fields back; a refused name keeps the screen open.
#include <windows.h>

#include <cstring>
#include <string>

#include "designer/designer.h"
#include "designer/form_items.h"
#include "designer/name_rules.h"
#include "designer/sheet_settings_store.h"
#include "foundation/sjis_text.h"
#include "foundation/msgbox.h"
#include "foundation/ocr_ini.h"
#include "screen/screen.h"
#include "shell/shell.h"

namespace {

constexpr int kSettingsWindowCode = 13;
// Commands the choices send when they change.
constexpr int kCmdPaperSize = 201;
constexpr int kCmdPrintColour = 211;
constexpr int kCmdRuledLines = 213;
constexpr int kCmdCompensationOff = 216;
constexpr int kCmdTimeStamp = 220;
constexpr int kCmdSaveImages = 222;
// Choice 7 of the paper sizes is the user's own size.
constexpr int kUserPaper = 7;
constexpr int kPostcard = 6;

FormWindow g_screenState;

// ---- Building the screen --------------------------------------------------

// The fields: names and keys at the top, then bands of choices, the single
// switches and the note on user-defined paper at the foot.
int AddSettingsItems(bool fileDatabase) {
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  check(AddText("ＯＣＲ用紙名", "ＯＣＲシート名", 20, 1, 30, 60, "読み取りを行うＯＣＲシートの名前"));
  check(AddNumber("横間隔", "ｶﾞｲﾄﾞﾗｲﾝ  横", 20, 2, 3, 10,
                  "ＯＣＲシート設計画面のガイドラインの横の間隔〔単位＝ｍｍ（㍉）〕", "1,2,3,4,5,6,7,8,9,10"));
  check(AddNumber("縦間隔", "縦", 30, 2, 3, 10, "ＯＣＲシート設計画面のガイドラインの縦の間隔〔単位＝ｍｍ（㍉）〕",
                  "1,2,3,4,5,6,7,8,9,10"));
  // A file database is chosen with the file dialog, from the program's
  // data folder.
  const std::string fileChoice =
      fileDatabase ? "FILEDLG,読み取ったデータを出力するデータベース名,,*.mdb," + g_program.programFolder + "\\data" : "";
  // A whole path fits, however deep the data folder lies; what the column
  // cannot keep is refused as the screen closes.
  check(AddText("データベース", "出力データベース名", 20, 3, 42, MAX_PATH - 1,
                fileDatabase ? "読み取った内容を出力するデータベース名（フォルダ名も含む）"
                             : "読み取った内容を出力するデータベース名",
                fileChoice.c_str()));
  check(AddText("テーブル", "出力テーブル名", 20, 4, 30, 30, "読み取った内容を出力するテーブル名"));
  check(AddText("キー項目名", "キー項目名 (コード番号)", 80, 4, 30, 30, "コード番号（連続番号）にあたる項目の名前"));

  // First band: the paper, the frames and the colour, the specks and the
  // recognised area.
  check(AddChoices('R', "用紙サイズ", "【シートサイズ】", 2, 6, 18, "Ａ４,Ａ５,Ｂ４,Ｂ５,Ｂ６,はがき,ﾕｰｻﾞｰ定義,",
                   kCmdPaperSize, "読み取りを行うＯＣＲシートのサイズ"));
  check(AddNumber("横幅", "", 4, 16, 3, 297, "シートの横幅〔単位＝ｍｍ（㍉）〕"));
  check(AddNumber("長さ", "×", 11, 16, 3, 420, "シートの長さ〔単位＝ｍｍ（㍉）〕"));
  check(AddChoices('R', "用紙方向", "【シート方向】", 24, 6, 20, "縦向き (縦長),横向き (横長)", 202,
                   "読み取りを行うＯＣＲシートの向き"));
  check(AddChoices('R', "記入欄罫線", "【記入欄罫線】", 24, 10, 20, "細　い (推奨),太　い", 208,
                   "記入欄の枠罫線の太さ"));
  check(AddChoices('R', "印字カラー", "【印字カラー】", 46, 6, 26,
                   "黒,赤 (ﾄﾞﾛｯﾌﾟｱｳﾄｶﾗｰ),緑 (     〃     ),青 (     〃     )", kCmdPrintColour,
                   "ＯＣＲシートの印字カラー"));
  check(AddCheck("色を薄くする", "印字ｶﾗｰを薄くする", 46, 12, 212));
  check(AddCheck("ＩＮＴ８", "数字ガイドライン", 46, 13, 224));
  check(AddChoices('R', "ノイズサイズ", "【除去するﾉｲｽﾞｻｲｽﾞ】", 74, 6, 20,
                   "0.2 mm,0.4 mm,0.6 mm,0.8 mm,1.0 mm,1.2 mm,1.4 mm", 204,
                   "スキャニングイメージに斑点が残っている場合は値を大きくしてください。|"
                   "サイズを大きくし過ぎると文字の一部が除去されやすくなります。"));
  check(AddChoices('R', "認識エリア", "【記入欄の認識エリア】", 96, 6, 24,
                   "記入欄の枠内,枠外0.5mmまで,枠外1.0mmまで,枠外1.5mmまで", 219,
                   "｢記入欄｣(チェック欄は対象外)の認識する範囲"));
  check(AddNote("MSG02", "(｢認識の単位｣が｢文字枠｣", 96, 11));
  check(AddNote("MSG03", "の｢記入欄｣は対象外)", 96, 12));

  // Second band: faults, the key, Japanese input, time stamps and icons.
  check(AddChoices('R', "予備２", "【記入エラー発生時】", 2, 18, 18, "処理を中断,処理を続行", 205,
                   "読み取りの際にシートの記入内容に問題があった場合の対応"));
  check(AddChoices('R', "オートナンバー", "【キー項目欄のタイプ】", 24, 18, 24, "記入する,自動的に連番を付ける",
                   210, "シートにコード番号を記入する場合は“記入する”|記入しない場合は“自動的に連番を付ける”"));
  check(AddChoices('C', "ＦＥＰ起動", "【全角文字で入力】", 50, 18, 20, "タイトル,項 目 名", 221,
                   "記入欄を定義する画面で、入力の際に漢字変換機能(ＦＥＰ)を起動する場合にチェック"));
  check(AddChoices('C', "タイムスタンプ", "【タイムスタンプ】", 74, 18, 10, "日　付,時　刻", kCmdTimeStamp,
                   "読み取りデータ(レコード)に、入力時の｢日付｣や｢時刻｣を書き込む場合にチェック|"
                   "「項目名」には、その内容を書き込む項目の名前を入力"));
  check(AddText("日付項目名", "", 86, 19, 14, 30, "入力日の項目名"));
  check(AddText("時刻項目名", "", 86, 20, 14, 30, "入力時刻の項目名"));
  check(AddChoices('C', "アイコン表示", "【アイコン表示】", 104, 15, 22,
                   "シート印刷,シート読み取り,エラーログ,カード型修正画面,一覧表型修正画面,,データ初期化,"
                   "イメージ・シフト,イメージ伸縮",
                   217, "メインメニューの〔シート読取〕画面で使用するアイコンにチェック"));
  check(AddChoices('R', "補正マーク", "【補正マーク】", 24, 22, 26,
                   "１点 (左上),２点 (左上･右上),３点 (左上･右上･左下)", 0,
                   "シートの傾きと位置を補正するために読み取る補正マークの数"));

  // The single switches, one a row.
  check(AddCheck("プレプリント", "シートに識別番号を印刷(プレプリント)する", 2, 27, 228));
  check(AddCheck("罫線", "マウスで罫線を引く・イメージの一部を切り抜いて保存する", 2, 28, kCmdRuledLines,
                 "シートに罫線を引く場合、または、イメージの一部(記述欄等)を切り抜いて保存する場合にチェック"));
  check(AddCheck("ＩＮＴ９", "無記入は保存しない", 66, 28, 223));
  check(AddCheck("ＩＮＴ６", "読み取ったイメージをディスクに保存する", 2, 29, kCmdSaveImages));
  check(AddCheck("ＩＮＴ７", "TIFF G4", 66, 29, 225));
  check(AddCheck("補正機能", "シート傾き補正機能を無効にする（補正マークが無いシートを読み取る場合にチェック）", 2, 30,
                 kCmdCompensationOff));
  check(AddCheck("スキャナ設定画面",
                 "読み取りの際にスキャナの設定画面を表示する（スキャナが動作しない場合にチェック）", 2, 31, 215));
  check(AddNote("MSG04", "不明瞭ﾏｰｸ(消し跡等)に印を付ける（｢ﾏｰｸ濃度｣と｢しきい値｣の差が", 2, 32));
  check(AddNumber("不明瞭マーク境界値", "", 64, 32, 2, 99, "読み取り内容確認用紙で不明瞭(薄い)なマークを探す場合に設定"));
  check(AddNote("MSG05", "以下のマーク）", 68, 32));
  check(AddNote("MSG01",
                "※ 【シートサイズ】を｢ﾕｰｻﾞｰ定義｣に設定する場合は、｢短辺×長辺｣のサイズを入力してください。", 2,
                34));
  return failed ? -1 : 0;
}

// ---- Dependent fields -------------------------------------------------------

void OpenIf(const char* name, bool open) {
  if (open) {
    UnprotectField(name);
  } else {
    ProtectField(name);
  }
}

// Opens and closes the fields that depend on the values shown.
void ApplyDependencies() {
  const int paper = GetFieldInt("用紙サイズ");
  OpenIf("横幅", paper == kUserPaper);
  OpenIf("長さ", paper == kUserPaper);
  if (paper == kPostcard || paper == kUserPaper) SetFieldInt("スキャナ設定画面", 1);
  OpenIf("スキャナ設定画面", paper != kPostcard && paper != kUserPaper);
  OpenIf("ＩＮＴ７", GetFieldInt("ＩＮＴ６") != 0);
  OpenIf("ＩＮＴ９", GetFieldInt("罫線") != 0);
  const bool black = GetFieldInt("印字カラー") <= 1;
  OpenIf("記入欄罫線", black);
  OpenIf("ＩＮＴ８", !black);
  const std::string stamp = GetFieldTextPtr("タイムスタンプ");
  OpenIf("日付項目名", stamp.size() >= 1 && stamp[0] == '1');
  OpenIf("時刻項目名", stamp.size() >= 2 && stamp[1] == '1');
  OpenIf("補正マーク", GetFieldInt("補正機能") != 1);
}

void ReactToChoice(int command) {
  ApplyDependencies();
  if (command == kCmdPaperSize && GetFieldInt("用紙サイズ") == kUserPaper) FocusField("横幅");
  InvalidateRect(g_screenState.window, nullptr, FALSE);
}

// ---- Closing ----------------------------------------------------------------

// Checks the names and stores the fields; the screen stays open when a
// name is refused or the rows cannot be written.
void SaveAndClose() {
  if (!IsValidSlot(g_screenState.slot)) return;
  SelectWindowSlot(g_screenState.slot);
  if (CheckSheetSettingsFields() != 0 || StoreSheetSettingsFields() != 0) return;
  CloseForm(g_screenState);
}

}  // namespace

HWND RegisterSheetSettingsWindow() {
  g_screenState = FormWindow();
  g_screenState.window = CreateHiddenWindow({"OcrSet", SheetSettingsWindowProc, CS_HREDRAW | CS_VREDRAW,
                                             WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_HSCROLL | WS_VSCROLL});
  return g_screenState.window;
}

int OpenSheetSettingsScreen(HWND owner) {
  FormWindow& s = g_screenState;
  if (!s.window || IsValidSlot(s.slot)) return -1;
  if (EnsureSheetSettingsRow() != 0 || BeginForm() < 0) return -1;
  if (AddSettingsItems(g_output.dbKind != kDbKindServer) != 0) {
    DiscardBuildingItems();
    return -1;
  }
  return OpenForm(s, owner, nullptr, -2, 0, -2, -2, kSettingsWindowCode, "ＯＣＲシート定義");
}

int SheetSettingsSlot() { return g_screenState.slot; }

LRESULT CALLBACK SheetSettingsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FormHandlers handlers;
  handlers.opened = [] {
    FillSheetSettingsFields();
    ApplyDependencies();
  };
  handlers.close = SaveAndClose;
  handlers.command = ReactToChoice;
  handlers.choice = ReactToChoice;
  return HandleFormMessage(g_screenState, handlers, window, message, wParam, lParam);
}
