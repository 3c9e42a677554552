// The question CSV dialog "CsvInp" over the question list: in mode 0 the
// question file to import (its name kept in MUPA_MEM of the settings
// database under "CG0000"), in mode 1 the range, width and fill character
// of the length alignment. The work runs once the dialog has closed with
// Run confirmed. In mode 2 it asks the main window's output jobs for their
// CSV file (kept under "CP" and the caller's two numbers): Run hands the
// name to the main window (1132 with the first number), which writes the
// file and closes the dialog.
#include <cstdio>
#include <string>

#include "designer/designer.h"
#include "designer/form_items.h"
#include "designer/question_list.h"
#include "designer/survey.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"
#include "shell/shell.h"

namespace {

constexpr int kDialogWindowCode = 97;
constexpr int kCmdRun = kKeyF1;
constexpr int kCmdTrimSwitch = 201;
constexpr char kMemoTable[] = "MUPA_MEM";
constexpr int kModeImport = 0, kModeAlign = 1, kModeOutput = 2;
constexpr int kCsvFileNameBytes = 255;  // CSVFILE of MUPA_MEM

struct CsvDialog {
  FormWindow form;
  int mode = kModeImport;
  int number = 0, secondNumber = 0;  // the output caller's, sent back and keying its row
};
CsvDialog g_csv;

bool AsksForFile() { return g_csv.mode != kModeAlign; }

std::string MemoCode() {
  char code[16];
  std::snprintf(code, sizeof code, g_csv.mode == kModeOutput ? "CP%02d%02d" : "CG%02d%02d",
                g_csv.mode == kModeOutput ? g_csv.number : 0, g_csv.mode == kModeOutput ? g_csv.secondNumber : 0);
  return code;
}

// CSVFILE of the dialog's settings row, read, or written with `save`; a
// missing row is added. 0, or -1 (reported).
int KeepCsvFileName(std::string& name, bool save) {
  const int t = db_open(ProgramWorkFolder().c_str(), kSettingsDatabase, kMemoTable, kDbKindFile,
                        "MUPADATA", kMemoTable, "");
  if (t < 0) return -1;
  const std::string code = MemoCode();
  const bool found = db_search(t, code.c_str(), "MEMCODE") == 0;
  int rc = 0;
  if (!found) {
    db_clear(t);
    SetColumnText(t, "MEMCODE", code.c_str());
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
  const bool output = g_csv.mode == kModeOutput;
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  // The name holds a whole path, as long as the kept CSVFILE; the file
  // dialog starts in the program's data folder.
  const std::string fileChoice = "FILEDLG,ＣＳＶファイル選択,*.csv,," + ProgramDataFolder();
  check(AddText("TXTFILE", "ＣＳＶファイル名", 18, 3, 24, kCsvFileNameBytes,
                output ? "出力するＣＳＶファイル" : "取り込むＣＳＶファイル", fileChoice.c_str()));
  check(AddPushButton("F01", "　実　行　", 6, 6, kCmdRun, output ? "出力を実行します" : "入力を実行します"));
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
  if (AsksForFile()) {
    std::string name;
    KeepCsvFileName(name, false);
    // A first output is offered the output table's name in the data folder.
    if (name.empty() && g_csv.mode == kModeOutput) {
      name = ProgramDataFolder() + "\\" +
             (g_survey.outputTable.empty() ? "CSVFILE" : g_survey.outputTable) + ".CSV";
    }
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
  if (g_csv.mode == kModeImport) {
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
  if (AsksForFile()) KeepCsvFileName(name, true);
  CloseForm(c.form);
  if (c.mode == kModeOutput && g_screen.mainWindow) {
    SendMessageA(g_screen.mainWindow, kMsgScreenClosed, c.number, 0);
  }
  if (!run) return;
  if (c.mode == kModeImport) {
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

int CsvQuestionDialog(int mode, int number, int secondNumber) {
  CsvDialog& c = g_csv;
  if (!c.form.window || IsValidSlot(c.form.slot) || mode < kModeImport || mode > kModeOutput) return -1;
  if (BeginForm() < 0) return -1;
  c.mode = mode;
  c.number = number;
  c.secondNumber = secondNumber;
  if ((AsksForFile() ? AddFileForm() : AddAlignForm()) != 0) {
    DiscardBuildingItems();
    return -1;
  }
  // The question list owns the dialog over it; an output job, the screen
  // whose key asked for the file.
  const int list = QuestionListSlot();
  const int asking = g_screen.currentSlot;
  HWND owner = GetActiveWindow();
  if (mode != kModeOutput && IsValidSlot(list)) owner = Slot(list).window;
  if (mode == kModeOutput && IsValidSlot(asking)) owner = Slot(asking).window;
  const char* const titles[] = {"ＣＳＶファイル入力", "質問の長さを揃える", "ＣＳＶファイル出力"};
  return OpenForm(c.form, owner, nullptr, -2, -2, 340, AsksForFile() ? 260 : 310,
                  mode == kModeOutput ? number : kDialogWindowCode, titles[mode]);
}

int CsvQuestionDialogSlot() { return g_csv.form.slot; }

LRESULT CALLBACK CsvInputWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FormHandlers handlers;
  handlers.opened = FillDialog;
  handlers.close = [] { CloseDialog(false); };
  handlers.command = [](int code) {
    if (code == kCmdRun && g_csv.mode == kModeOutput) {
      // The file name is kept before the owner of the output looks at it.
      std::string name = FormFieldText("TXTFILE");
      KeepCsvFileName(name, true);
      if (g_screen.mainWindow) SendMessageA(g_screen.mainWindow, kMsgFieldMessage, g_csv.number, 0);
    } else if (code == kCmdRun) {
      if (ConfirmRun()) CloseDialog(true);
    } else if (code == kCmdTrimSwitch && g_csv.mode == kModeAlign) {
      ShowAlignTexts();
    } else {
      ApplyPendingFocus();
    }
  };
  handlers.choice = [](int) {
    if (g_csv.mode == kModeAlign) ShowAlignTexts();
  };
  return HandleFormMessage(g_csv.form, handlers, window, message, wParam, lParam);
}
