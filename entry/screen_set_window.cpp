// The screen-set window "ScrSet": before the list or card entry screen of
// the current sheet opens, it brings the screen's record up to date,
// generates a missing screen, and offers to rebuild the screen (and empty
// the output table) from the sheet. One decision at a time; the window
// lives hidden for the program's life.
#include <windows.h>

#include <algorithm>
#include <string>

#include "designer/sheet_settings.h"
#include "entry/entry.h"
#include "entry/list_form.h"
#include "entry/screen_rows.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "reading/reading.h"
#include "reading/workbench.h"
#include "screen/screen.h"

namespace {

constexpr int kCancelCommand = kKeyEscape;  // 100
constexpr int kRunCommand = 112;
constexpr int kLayoutCommand = 113;
constexpr char kRebuildField[] = "更新";
constexpr int kScreenSetNumber = 57;
constexpr int kWidth = 324, kHeight = 110;

struct ScreenSetState {
  HWND window = nullptr;
  HWND owner = nullptr;
  int slot = -1;
  int form = 1;
  int lastCommand = 0;
  bool ctrlHeld = false;
  bool rebuild = false;
};
ScreenSetState g_screenSet;

const char* RebuildQuestion(int form) {
  return form == 2
             ? "ＯＣＲシートフォーマットの定義内容から、カード形式入力画面を自動生成しますか？\n"
               "この処理は、ＯＣＲシートに「項目」を追加したり、「項目名」を変更した場合に実行してください。\n\n"
               "＜注　意＞\n保存されているデータは、全て消去されます。\n(テーブル構造を更新します)"
             : "ＯＣＲシートフォーマットの定義内容から、一覧表形式入力画面を自動生成しますか？\n"
               "この処理は、ＯＣＲシートに「項目」を追加したり、「項目名」を変更した場合に実行してください。\n\n"
               "＜注　意＞\n保存されているデータは、全て消去されます。\n(テーブル構造を更新します)";
}

const char* DiscardEditsQuestion(int form) {
  return form == 2 ? "以前の入力画面の編集内容を廃棄してもよろしいですか？\n"
                     "カード形式画面で、項目の配置を行っている場合や、〔項目並び順変更・画面様式設定〕で"
                     "「見出し(質問項目)」の変更などを行っている場合は、〔いいえ〕を押してください。"
                   : "以前の入力画面の編集内容を廃棄してもよろしいですか？\n"
                     "〔項目並び順変更・画面様式設定〕で「見出し(質問項目)」の変更などを行っている場合は、"
                     "〔いいえ〕を押してください。";
}

// Master look-ups of the screen ("#database#...") follow the sheet's output
// database (the postal-code dictionary stays). The number of rows of the
// screen, or -1 (reported).
int PointLookupsAtOutputDatabase(const std::string& screenCode) {
  const int slot = OpenScreenFieldRows(kFieldTable, screenCode);
  if (slot < 0) return -1;
  const std::string& output = g_currentSheet.outputDatabase;
  int rows = 0;
  for (int rc = db_toppos(slot, "FLDCODE"); rc == 0; rc = db_nread(slot)) {
    ++rows;
    const std::string candidates = GetColumnText(slot, "FLDKOHO");
    const std::size_t second = candidates.find('#', 1);
    if (candidates.empty() || candidates[0] != '#' || second == std::string::npos) continue;
    const std::string database = candidates.substr(1, second - 1);
    if (database == "DICDBS" || database == output) continue;
    SetColumnText(slot, "FLDKOHO", ("#" + output + candidates.substr(second)).c_str());
    if (db_update(slot) != 0) {
      db_close(slot);
      return -1;
    }
  }
  db_close(slot);
  return rows;
}

int AddScreenSetItems() {
  const char* picture = g_screenSet.form == 2 ? "CARD_O.BMP" : "LIST_O.BMP";
  if (AddScreenButton("ｷｬﾝｾﾙ", "SCRQUIT", 2, 0, 0, kCancelCommand, kItemEnabled, "QUIT_S.BMP", "", "") < 0 ||
      AddScreenButton("実 行", "SCRDISP", 10, 0, 0, kRunCommand, kItemEnabled, picture, "", "") < 0) {
    return -1;
  }
  // A single check box shows its caption beside the box.
  if (AddScreenCheck("ｼｰﾄﾌｫｰﾏｯﾄをもとに再構築", kRebuildField, 14, 1, 0, 26, 20, 8, 0, kItemEnabled, "", "",
                     "") < 0) {
    return -1;
  }
  return AddScreenButton("並び変更", "SCRSORT", 2, 0, 1, kLayoutCommand, kItemEnabled, "", "項目並び順変更・画面様式設定",
                         "") < 0
             ? -1
             : 0;
}

// Where the reading run saved the sheet's record images, "" when it saves
// none: the card shows them beside its fields.
std::string RecordImageFolder() {
  if (LoadCurrentSheetPaper() != 0 || g_sheetSettings.recordImages == 0) return "";
  return g_sheetSettings.comparisonFolder == 0 ? g_readingPlaces.imageFolder : g_sheetDefinition.folder;
}

// The key items the sheet does not read take their values as the screen's
// defaults: the records shown are those of these values.
void OpenGeneratedScreen() {
  for (const SheetKeyItem& key : g_sheetKeys.items) {
    if (!key.onSheet) SetFieldDefault(key.name.c_str(), key.value.c_str());
  }
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  if (g_screenSet.form == 2) {
    OpenSheetCardForm(g_screenSet.owner, sheet.folder.c_str(), sheet.database.c_str(), RecordImageFolder().c_str());
    return;
  }
  const std::string code = EntryScreenCode(g_screenSet.form);
  PointNextScreenAtOutputDatabase();
  OpenScreenDef(sheet.folder.c_str(), sheet.database.c_str(), code.c_str(), -1, -1, "", g_screenSet.owner);
}

// After the window closed: the rebuild, asked for twice, then the screen.
void FinishScreenSet() {
  const int form = g_screenSet.form;
  if (g_screenSet.lastCommand == kLayoutCommand) {
    OpenScreenLayoutDialog(form, g_screenSet.window);
    return;
  }
  if (g_screenSet.lastCommand != kRunCommand) return;
  if (g_screenSet.rebuild) {
    if (AskYesNo("", "%s", RebuildQuestion(form)) != IDYES) return;
    const bool keepEdits = AskYesNo("", "%s", DiscardEditsQuestion(form)) != IDYES;
    if (ResetOutputTableForScreens(form, keepEdits) < 0) return;
  }
  // Values the sheet asks before reading are asked first; they become the
  // defaults of the screen's fields.
  if (!AskFieldDefaults(EntryScreenCode(form), OpenGeneratedScreen)) OpenGeneratedScreen();
}

void CloseScreenSet() {
  if (g_screenSet.slot < 0) return;
  const int slot = g_screenSet.slot;
  g_screenSet.slot = -1;
  if (g_screenSet.owner) EnableWindow(g_screenSet.owner, TRUE);
  CloseScreenWindow(slot, 1);
  FinishScreenSet();
}

void RunScreenSetCommand(int command) {
  TakeTypedValue();
  g_screenSet.ctrlHeld = GetKeyState(VK_CONTROL) < 0;
  if (command == kRunCommand) {
    char value[8] = "";
    GetItemValueForCommand(g_screenSet.slot, kRebuildField, value);
    g_screenSet.rebuild = value[0] == '1';
    // Ctrl held with 実 行 opens the screen as it is.
    if (!g_screenSet.rebuild && !g_screenSet.ctrlHeld &&
        CheckSheetChangedSinceScreens(g_screenSet.form, 1, 0) != 0) {
      return;
    }
  }
  if (command == kRunCommand || command == kCancelCommand || command == kLayoutCommand) {
    g_screenSet.lastCommand = command;
    CloseScreenSet();
    return;
  }
  ApplyPendingFocus();
}

}  // namespace

HWND RegisterScreenSetWindow() {
  g_screenSet.window =
      CreateHiddenWindow({"ScrSet", ScreenSetWindowProc, CS_HREDRAW | CS_VREDRAW, WS_POPUP | WS_CAPTION});
  return g_screenSet.window;
}

int OpenScreenSetWindow(int how, int form) {
  POINT at{form == 2 ? 156 : 160, 5};
  if (g_currentSheet.projectMode == kDesignMode) {
    GetCursorPos(&at);
    at.x = std::max(0L, at.x - 80);
    at.y = 5;
  }
  if (WriteScreenRecord(form) != 0) return -1;
  const std::string code = EntryScreenCode(form);
  const int rows = PointLookupsAtOutputDatabase(code);
  if (rows < 0) return -1;
  if (how == 2 && rows > 0) return 2;
  // A screen without rows is made before anything can open it.
  if (rows == 0) {
    if (GenerateEntryScreenFields(form, false) != 0) return -1;
    if (how == 1 || how == 2) return 1;
  }
  // One decision at a time: a window already open stays with its form.
  if (g_screenSet.slot >= 0) {
    SetActiveWindow(g_screenSet.window);
    return 0;
  }
  g_screenSet.form = form;
  g_screenSet.lastCommand = 0;
  g_screenSet.rebuild = false;
  if (AddScreenSetItems() != 0) {
    DiscardBuildingItems();
    return -1;
  }
  g_screenSet.owner = GetActiveWindow();
  if (g_screenSet.owner) EnableWindow(g_screenSet.owner, FALSE);
  if (OpenScreenWindow(g_screenSet.window, at.x, at.y, kWidth, kHeight, 0, kScreenSetNumber, 1, 1, 0,
                       form == 2 ? "カード形式入力画面表示" : "一覧表形式入力画面表示") != 0) {
    if (g_screenSet.owner) EnableWindow(g_screenSet.owner, TRUE);
    return -1;
  }
  return 0;
}

LRESULT CALLBACK ScreenSetWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScreenChildWndProc(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      if (PaintSlotWindow(window, g_screenSet.slot)) return 0;
      break;
    case kMsgSlotOpened:
      g_screenSet.slot = static_cast<int>(wParam);
      return 0;
    case kMsgScreenCommand:
      RunScreenSetCommand(static_cast<int>(wParam));
      return 0;
    case kMsgFillScreen:
    case kMsgFieldMessage:
    case kMsgCloseQuery:
    case kMsgScreenClosed:
      if (HandleScreenLayoutMessage(message, wParam)) return 0;
      break;
    case WM_CLOSE:
    case kMsgCloseWindow:
      CloseScreenSet();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
