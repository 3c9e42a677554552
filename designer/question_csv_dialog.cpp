// The question CSV dialog "CsvInp" over the question list: in mode 0 the
// question file to import (its name kept in MUPA_MEM of the settings
// database under "CG0000"), in mode 1 the range, width and fill character
// of the length alignment. The work runs once the dialog has closed with
// Run confirmed.
#include <cstdio>
#include <string>

#include "designer/designer.h"
#include "designer/form_items.h"
#include "designer/question_list.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

constexpr int kDialogWindowCode = 97;
constexpr int kCmdRun = kKeyF1;
constexpr int kCmdTrimSwitch = 201;
constexpr char kMemoTable[] = "MUPA_MEM";
constexpr char kSettingsDatabase[] = "MUPAINIT";
constexpr char kImportMemo[] = "CG0000";

struct CsvDialog {
  FormWindow form;
  int mode = 0;
  bool run = false;  // closing after Run was confirmed
};
CsvDialog g_csv;

// CSVFILE of the import's settings row, read, or written with `save`; a
// missing row is added. 0, or -1 (reported).
int KeepCsvFileName(std::string& name, bool save) {
  const int t = db_open(GetProgramFolder().c_str(), kSettingsDatabase, kMemoTable, kDbKindFile, "MUPADATA",
                        kMemoTable, "");
  if (t < 0) return -1;
  const bool found = db_search(t, kImportMemo, "MEMCODE") == 0;
  int rc = 0;
  if (!found) {
    db_clear(t);
    SetColumnText(t, "MEMCODE", kImportMemo);
  }
  if (save) {
    SetColumnText(t, "CSVFILE", name.c_str());
    rc = found ? db_update(t) : db_add(t);
  } else {
    name = found ? GetColumnText(t, "CSVFILE") : "";
    if (!found) rc = db_add(t);
  }
  db_close(t);
  return rc;
}

int AddFileForm() {
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  check(AddText("TXTFILE", "ＣＳＶファイル名", 18, 3, 24, 80, "取り込むＣＳＶファイル",
                "FILEDLG,ＣＳＶファイル選択,*.csv"));
  check(AddPushButton("F01", "　実　行　", 6, 6, kCmdRun, "入力を実行します"));
  check(AddPushButton("ESC", "キャンセル", 23, 6, kKeyEscape, "画面を閉じます"));
  return failed ? -1 : 0;
}

int AddAlignForm() {
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  check(AddCheck("UMEDEL", "後部余白(文字)を削除", 4, 1, kCmdTrimSwitch, "後部余白(文字)を削除する場合にチェック"));
  check(AddText("SNO", "開始番号", 10, 4, 5, 3, "最初の質問の番号"));
  check(AddText("ENO", "終了番号", 26, 4, 5, 3, "最後の質問の番号"));
  check(AddNumber("LEN", "文字数", 40, 4, 3, 127, "質問の最大長を全角文字数で設定"));
  check(AddNote("UMEMSG1", "質問の後部余白を", 4, 6));
  check(AddText("UME", "", 22, 6, 2, 2, "埋める文字", "　＝全角空白,・＝全角中黒"));
  check(AddNote("UMEMSG2", "で埋める", 26, 6));
  check(AddPushButton("F01", "　実　行　", 6, 8, kCmdRun, "実行します"));
  check(AddPushButton("ESC", "キャンセル", 23, 8, kKeyEscape, "画面を閉じます"));
  return failed ? -1 : 0;
}

bool Trimming() { return FormFieldText("UMEDEL") == "1"; }

void ShowAlignTexts() {
  if (Trimming()) {
    ProtectField("LEN");
    SetFieldText("UMEMSG1", "質問の後部余白");
    SetFieldText("UMEMSG2", "を削除");
  } else {
    UnprotectField("LEN");
    SetFieldText("UMEMSG1", "質問の後部余白を");
    SetFieldText("UMEMSG2", "で埋める");
  }
}

void FillDialog() {
  if (g_csv.mode == 0) {
    std::string name;
    KeepCsvFileName(name, false);
    SetFieldText("TXTFILE", name.c_str());
    return;
  }
  const int t = OpenQuestionListTable();
  if (t < 0) return;
  if (db_toppos(t, "一覧コード") != 0) {
    ShowInfoMessage("", "処理を行うデータが登録されていません。");
  } else {
    SetFieldText("SNO", GetColumnText(t, "一覧コード"));
    if (db_endpos(t, "一覧コード") == 0) SetFieldText("ENO", GetColumnText(t, "一覧コード"));
  }
  db_close(t);
  SetFieldText("UME", "・");
  ShowAlignTexts();
}

// The fill character as chosen: the candidate's first character.
std::string FillCharacter() {
  const std::string text = FormFieldText("UME");
  if (text.empty()) return "";
  return text.substr(0, IsSjisLeadByte(static_cast<unsigned char>(text[0])) && text.size() > 1 ? 2 : 1);
}

// Run: true when the user confirmed and the dialog may close.
bool ConfirmRun() {
  if (g_csv.mode == 0) {
    const std::string name = FormFieldText("TXTFILE");
    if (name.empty()) {
      ShowInfoMessage("", "転送元の「ＣＳＶファイル名」を設定してください。");
      return false;
    }
    return AskYesNo("", "“%s”から入力を行います。", name.c_str()) == IDYES;
  }
  const std::string fill = FillCharacter();
  if (Trimming()) return AskYesNo("", "質問の後部余白(文字)“%s”を削除します。", fill.c_str()) == IDYES;
  const int width = GetFieldInt("LEN");
  if (width <= 0) {
    ShowInfoMessage("", "質問の最大長(全角文字数)を設定してください。");
    return false;
  }
  return AskYesNo("", "質問の後部余白を“%s”で埋めて、長さを%d文字で揃えます。", fill.c_str(), width) == IDYES;
}

void CloseDialog(bool run) {
  CsvDialog& c = g_csv;
  if (!IsValidSlot(c.form.slot)) return;
  SelectWindowSlot(c.form.slot);
  std::string name = FormFieldText("TXTFILE");
  const std::string first = FormFieldText("SNO"), last = FormFieldText("ENO"), fill = FillCharacter();
  const int width = GetFieldInt("LEN");
  const bool trimming = Trimming();
  if (c.mode == 0) KeepCsvFileName(name, true);
  CloseForm(c.form);
  if (!run) return;
  if (c.mode == 0) {
    ImportQuestionCsv(name);
  } else if (trimming) {
    TrimQuestionTexts(first, last, fill);
  } else {
    PadQuestionTexts(first, last, width, fill);
  }
}

}  // namespace

HWND RegisterCsvInputWindow() {
  g_csv = CsvDialog();
  g_csv.form.window =
      CreateHiddenWindow({"CsvInp", CsvInputWindowProc, CS_HREDRAW | CS_VREDRAW, WS_POPUPWINDOW | WS_DLGFRAME});
  return g_csv.form.window;
}

int CsvQuestionDialog(int mode) {
  CsvDialog& c = g_csv;
  if (!c.form.window || IsValidSlot(c.form.slot) || (mode != 0 && mode != 1)) return -1;
  if (BeginForm() < 0) return -1;
  c.mode = mode;
  if ((mode == 0 ? AddFileForm() : AddAlignForm()) != 0) {
    DiscardBuildingItems();
    return -1;
  }
  const int list = QuestionListSlot();
  const HWND owner = IsValidSlot(list) ? Slot(list).window : GetActiveWindow();
  return OpenForm(c.form, owner, nullptr, -2, -2, 340, mode == 0 ? 260 : 310, kDialogWindowCode,
                  mode == 0 ? "ＣＳＶファイル入力" : "質問の長さを揃える");
}

int CsvQuestionDialogSlot() { return g_csv.form.slot; }

LRESULT CALLBACK CsvInputWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FormHandlers handlers;
  handlers.opened = FillDialog;
  handlers.close = [] { CloseDialog(false); };
  handlers.command = [](int code) {
    if (code == kCmdRun) {
      if (ConfirmRun()) CloseDialog(true);
    } else if (code == kCmdTrimSwitch && g_csv.mode == 1) {
      ShowAlignTexts();
    } else {
      ApplyPendingFocus();
    }
  };
  handlers.choice = [](int) {
    if (g_csv.mode == 1) ShowAlignTexts();
  };
  return HandleFormMessage(g_csv.form, handlers, window, message, wParam, lParam);
}
