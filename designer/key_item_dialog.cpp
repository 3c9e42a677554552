// The key item's dialog ("IdxCtrl", "キー項目欄設定"): the write-in field
// of the front that holds each sheet's code number, with the sheet-wide
// switches of the key kept in MUPA_PAP of side "0001" (printed and written
// in, or numbered by the run; what a number already stored does). The key
// field is always a write-in field read whole, zero-filled: a key item that
// was made a check field is turned back, after asking.
#include "designer/key_item_dialog.h"

#include <string>
#include <vector>

#include "designer/designer.h"
#include "designer/field_editor.h"
#include "designer/field_forms.h"
#include "designer/form_items.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

int OpenFrontPaperRow() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int t = db_open(sheet.folder.c_str(), sheet.database.c_str(), kPaperTable, sheet.kind, kSheetSpecSet,
                        kPaperTable, "select * from MUPA_PAP where ＯＣＲコード=%s", SqlLiteral("0001").c_str());
  if (t < 0) return -1;
  if (db_toppos(t, "ＯＣＲコード") != 0) {
    db_close(t);
    ShowInfoMessage("", "シート“%s”の用紙の設定がありません。", "0001");
    return -1;
  }
  return t;
}

namespace {

constexpr int kKeyWindowCode = 57;
constexpr int kCmdNumbering = 301;
constexpr int kNumberedByRun = 2;

struct KeyDialog {
  FormWindow form;  // over the canvas and its owner
  int canvasSlot = -1;
  std::string code;
};
KeyDialog g_key;


int AddKeyForm() {
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  check(AddChoices('R', "オートナンバー", "【キー項目欄のタイプ】", 2, 1, 50,
                   "シートに印刷する　（コード番号を記入する）,シートに印刷しない（自動的に連番をつける）", kCmdNumbering,
                   "シートにコード番号を記入するか、読み取りの際に連番をつけるか"));
  check(AddCheck("Ｎｏ入力画面", "読み取り開始時に先頭の番号を設定する", 4, 5, 0));
  check(AddChoices('R', "既存データ", "【書き込み時に同じ番号が登録されていた場合】", 2, 7, 56,
                   "書き込まずに元のデータを残す（処理を中断する）,元のデータに無条件に上書き（処理は中断しない）", 0,
                   "同じコード番号のデータが登録されていた場合の処理"));
  check(AddTitleItems(11));
  check(AddNote("KHEAD2", "キー項目欄 (コード番号欄)", 2, 15));
  check(AddText("領域名", "キ ー 項 目 名", 18, 16, 24, 24, "コード番号（連続番号）にあたる項目の名前"));
  check(AddBoxItems(17));
  check(AddText("重ね文字", "重ね文字", 18, 19, 60, 255, "文字枠に印字する文字"));
  return failed ? -1 : 0;
}

bool NumberedByRun() { return GetFieldInt("オートナンバー") == kNumberedByRun; }

// What a numbered key does not use is closed, and the reverse.
void ProtectByNumbering() {
  for (const char* name : {"既存データ", "文字太", "重ね文字"}) {
    NumberedByRun() ? ProtectField(name) : UnprotectField(name);
  }
  NumberedByRun() ? UnprotectField("Ｎｏ入力画面") : ProtectField("Ｎｏ入力画面");
}

void FillKeyForm() {
  const int t = OpenSheetItemRow(g_key.code);
  if (t < 0) return;
  if (std::string(GetColumnText(t, "編集")) == "ﾁｪｯｸ") {
    // A check field shown as the write-in field it will be made.
    SetColumnText(t, "重ね文字", "");
    SetColumnInt(t, "Ｂサイズ", 0);
    SetColumnText(t, "タイトル位置", "×");
    SetColumnInt(t, "網掛け", 1);
  }
  FillTitleAndBoxItems(t);
  db_close(t);
  const int p = OpenFrontPaperRow();
  if (p >= 0) {
    SetFieldInt("オートナンバー", GetColumnInt(p, "予備３") == kNumberedByRun ? kNumberedByRun : 1);
    SetFieldInt("既存データ", GetColumnInt(p, "既存データ") == 2 ? 2 : 1);
    SetFieldText("Ｎｏ入力画面", GetColumnInt(p, "Ｎｏ入力画面") == 1 ? "1" : "0");
    db_close(p);
  }
  ProtectByNumbering();
}

// 1 to store, 0 to close without storing, -1 to stay open.
int CheckKeyForm() {
  const int verdict = CheckCountAndName();
  return verdict == 1 ? CheckFieldName() : verdict;
}

// The ＩＤＸコード of the first key row of the front, the one that names
// the key: "" when there is none, or on a failure (reported).
std::string FirstKeyRowCode() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int t = db_open(sheet.folder.c_str(), sheet.database.c_str(), kKeyItemTable, sheet.kind, kSheetSpecSet,
                        kKeyItemTable, "select * from MUPA_IDX where ＯＣＲコード=%s", SqlLiteral("0001").c_str());
  if (t < 0) return "";
  const std::string code = db_toppos(t, "ＩＤＸコード") == 0 ? GetColumnText(t, "ＩＤＸコード") : "";
  db_close(t);
  return code;
}

// The statements that write the front's key switches and the key's name
// and title into its first row (made as "01" when there is none).
std::vector<std::string> KeySettingsStatements(const std::string& keyRow) {
  const std::string name = SqlLiteral(FormFieldText("領域名").c_str());
  const std::string title = SqlLiteral(FormFieldText("タイトル").c_str());
  const std::string front = SqlLiteral("0001");
  std::vector<std::string> statements;
  statements.push_back("update MUPA_PAP set 予備３=" + std::to_string(NumberedByRun() ? kNumberedByRun : 1) +
                       ",既存データ=" + std::to_string(GetFieldInt("既存データ") == 2 ? 2 : 1) + ",Ｎｏ入力画面=" +
                       (FormFieldText("Ｎｏ入力画面") == "1" ? "1" : "0") + " where ＯＣＲコード=" + front);
  statements.push_back(keyRow.empty() ? "insert into MUPA_IDX (ＯＣＲコード,ＩＤＸコード,項目名,タイトル,文字数) values (" +
                                            front + "," + SqlLiteral("01") + "," + name + "," + title + ",0)"
                                      : "update MUPA_IDX set 項目名=" + name + ",タイトル=" + title +
                                            " where ＯＣＲコード=" + front + " and ＩＤＸコード=" +
                                            SqlLiteral(keyRow.c_str()));
  return statements;
}

// Writes the field's row, the front's key switches and the key's name, all
// or none: 0, 1 when the user keeps a check field as it is (nothing
// written), or -1 after the message.
int StoreKeyForm() {
  const std::string keyRow = FirstKeyRowCode();
  const int t = OpenSheetItemRow(g_key.code);
  if (t < 0) return -1;
  if (std::string(GetColumnText(t, "編集")) == "ﾁｪｯｸ" &&
      AskYesNo("", "「キー項目欄」“%s”の形式を、「チェック欄」から「記入欄」に変更してもよろしいですか？",
               GetColumnText(t, "領域名")) != IDYES) {
    db_close(t);
    return 1;
  }
  SetTitleAndBoxColumns(t);
  const std::pair<const char*, const char*> texts[] = {{"背景色", "×"}, {"タイプ", "一括"}, {"編集", "０埋"}};
  for (const auto& [column, value] : texts) SetColumnText(t, column, value);
  for (const char* column : {"配列個数", "配列行間", "配列開始", "マーク型"}) SetColumnInt(t, column, 0);
  if (NumberedByRun()) SetColumnText(t, "重ね文字", "");
  if (BeginTableTransaction(t) != 0) {
    db_close(t);
    return -1;
  }
  int rc = db_update(t);
  for (const std::string& statement : KeySettingsStatements(keyRow)) {
    if (rc == 0) rc = db_exec(t, statement.c_str());
  }
  if (EndTableTransaction(t, rc == 0) != 0) rc = -1;
  db_close(t);
  return rc;
}

void CheckStoreAndClose() {
  KeyDialog& k = g_key;
  if (!IsValidSlot(k.form.slot)) return;
  SelectWindowSlot(k.form.slot);
  const int verdict = CheckKeyForm();
  if (verdict < 0) return;
  const int stored = verdict == 1 ? StoreKeyForm() : 1;
  if (stored < 0) return;  // not stored: the dialog stays
  CloseForm(k.form);
  if (stored == 0 && IsValidSlot(k.canvasSlot)) {
    LoadSheetKeyItems();
    RebuildWindowItems(k.canvasSlot, 1);
  }
}

}  // namespace

HWND RegisterIdxCtrlWindow() {
  g_key = KeyDialog();
  g_key.form.window = CreateHiddenWindow({"IdxCtrl", IdxCtrlWindowProc, CS_HREDRAW | CS_VREDRAW,
                                          WS_POPUP | WS_CAPTION | WS_SYSMENU});
  return g_key.form.window;
}

int OpenKeyFieldDialog(int canvasSlot, const std::string& code) {
  KeyDialog& k = g_key;
  if (!k.form.window || IsValidSlot(k.form.slot)) return -1;
  const int t = OpenSheetItemRow(code);
  if (t < 0) return -1;
  db_close(t);
  if (BeginForm() < 0) return -1;
  k.canvasSlot = canvasSlot;
  k.code = code;
  if (AddKeyForm() != 0) {
    DiscardBuildingItems();
    return -1;
  }
  const HWND canvas = IsValidSlot(canvasSlot) ? Slot(canvasSlot).window : nullptr;
  return OpenForm(k.form, canvas, canvas ? GetAncestor(canvas, GA_ROOT) : nullptr, -2, -2, 640, 540,
                  kKeyWindowCode, "キー項目欄設定");
}

int KeyFieldDialogSlot() { return g_key.form.slot; }

LRESULT CALLBACK IdxCtrlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FormHandlers handlers;
  handlers.opened = FillKeyForm;
  handlers.close = CheckStoreAndClose;
  handlers.command = [](int code) {
    if (code == kCmdNumbering) {
      ProtectByNumbering();
    } else {
      ApplyPendingFocus();
    }
  };
  return HandleFormMessage(g_key.form, handlers, window, message, wParam, lParam);
}
