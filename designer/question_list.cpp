// The question list of the check fields: MUPA_LST filled from the side's
// check fields, shown in the list window ("Lst") over the canvas, and its
// messages to the canvas. The list window stores every typed cell in
// MUPA_LST itself; the canvas hears each store, the buttons of the list and
// the closing. Saving writes the list back before the window closes, so a
// list that cannot be written stays open with its rows.
#include "designer/question_list.h"

#include <cstdio>
#include <string>

#include "designer/designer.h"
#include "designer/field_editor.h"
#include "designer/form_items.h"
#include "designer/field_forms.h"
#include "designer/sheet_canvas.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr int kListWindowCode = 57;
constexpr int kListRows = 20;
constexpr int kListFontUnit = 7;
constexpr int kListHeight = 880;
constexpr int kGridTop = 6;
constexpr char kListKeys[] = "0222211200000000";
// Commands of the list's buttons.
constexpr int kCmdCsvInput = 21, kCmdAlign = 22, kCmdDeleteAll = 23, kCmdSaveAndClose = 24;
// What the list window tells its owner besides the screen messages.
constexpr UINT kMsgBeforeCommand = WM_USER + 123;  // 1147, wParam command
constexpr UINT kMsgRefreshList = WM_USER + 114;    // 1138
constexpr UINT kMsgCellStore = WM_USER + 142;      // 1166
// The layout a list starts with, in millimetres.
constexpr QuestionLayout kDefaultLayout{140, 50, 16};

struct QuestionList {
  int slot = -1;            // window slot of the list
  HWND canvas = nullptr;    // its owner
  HWND workbench = nullptr; // disabled with the canvas while it is open
  int changes = 0;
  bool saving = false;      // the close comes from "保存して終了"
};
QuestionList g_questions;

// The help lines under the grid: how a question file is written.
constexpr const char* kCsvHelpLines[] = {
    "＜ＣＳＶファイルからの入力＞",
    "　ＣＳＶファイルを｢Excel｣で作成する場合は、保存の際に“ＣＳＶ(カンマ区切り)”を選択してください。",
    "　テキストエディタ(｢メモ帳｣など)で作成する場合は、下記の様式で入力してください。",
    "",
    "　　Q1,あなたの性別をお答えください。,\"男性,女性\"",
    "　　Q2,満足度をお答えください。,\"満足,普通,不満\"",
    "    ↑ ↑                             ↑         ↑",
    "  項目名質問                        選択肢     改行",
};

std::string Side() { return g_sheetDefinition.sheetCode; }

}  // namespace

int OpenQuestionListTable() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  return db_open(sheet.folder.c_str(), sheet.database.c_str(), kQuestionListTable, sheet.kind, kSheetSpecSet,
                 kQuestionListTable, "");
}

int CountQuestions() {
  const int t = OpenQuestionListTable();
  if (t < 0) return -1;
  const int rows = CountRows(t, "select count(*) from MUPA_LST");
  db_close(t);
  return rows;
}

namespace {

// A list table of an older design lacks the mark form and the threshold.
int AddMissingListColumns(int t) {
  for (const char* column : {"マーク型", "しきい値"}) {
    if (FindDbColumnNumber(t, column) < 0 && AddTableColumn(t, kColumnShort, column, 0) != 0) return -1;
  }
  return 0;
}

// MUPA_LST emptied and filled from the side's check fields, numbered "001"
// on, in one transaction. The number of rows, or -1 (reported); sets
// `wideChoices` when a field holds a second choice text the list does not
// show.
int FillListFromFields(bool& wideChoices) {
  const int fields = OpenSheetRows(" and 領域コード>='0001' and 領域コード<='0999' and 編集='ﾁｪｯｸ'");
  if (fields < 0) return -1;
  const int list = OpenQuestionListTable();
  if (list < 0 || AddMissingListColumns(list) != 0 || BeginTableTransaction(list) != 0) {
    if (list >= 0) db_close(list);
    db_close(fields);
    return -1;
  }
  // Rows left by a list that did not close leave no trace in this one.
  bool written = db_exec(list, "delete from MUPA_LST") == 0;
  int count = 0;
  for (int rc = db_toppos(fields, "領域コード"); written && rc == 0; rc = db_nread(fields)) {
    char code[8];
    std::snprintf(code, sizeof code, "%03d", ++count);
    db_clear(list);
    SetColumnText(list, "ＯＣＲコード", Side().c_str());
    SetColumnText(list, "一覧コード", code);
    for (const char* column : {"領域コード", "領域名", "タイトル", "重ね文字"}) {
      SetColumnText(list, column, GetColumnText(fields, column));
    }
    for (const char* column : {"横幅", "高さ", "Ｂサイズ", "マーク型"}) {
      SetColumnInt(list, column, GetColumnInt(fields, column));
    }
    SetColumnInt(list, "最大数", GetColumnInt(fields, "少数部桁数"));
    const int threshold = GetColumnInt(fields, "しきい値");
    SetColumnInt(list, "しきい値", threshold == 0 ? 10 : threshold);
    if (*GetColumnText(fields, "重ね文字２")) wideChoices = true;
    written = db_add(list) == 0;
  }
  const int ended = EndTableTransaction(list, written);
  db_close(list);
  db_close(fields);
  return written && ended == 0 ? count : -1;
}

ListColumn Column(const char* name, const char* title, char kind, int width, const char* guide = "") {
  ListColumn c;
  c.name = name;
  c.title = title;
  c.kind = kind;
  c.width = width;
  c.edit = kind == 'N' ? 'R' : 'L';
  c.guide = guide;
  return c;
}

// The grid's columns; the input method opens in the item names and the
// questions as the sheet's settings ask.
std::vector<ListColumn> ListColumns() {
  std::string ime;
  const int paper = OpenFrontPaperRow();
  if (paper >= 0) {
    ime = GetColumnText(paper, "ＦＥＰ起動");
    db_close(paper);
  }
  const char nameKind = ime.size() > 1 && ime[1] == '1' ? 'K' : 'X';
  const char titleKind = !ime.empty() && ime[0] == '1' ? 'K' : 'X';
  return {Column("一覧コード", "No.", 'X', 3),
          Column("領域名", "項　目　名", nameKind, 18),
          Column("タイトル", "質　問　項　目", titleKind, 64),
          Column("重ね文字", "選　択　肢", 'X', 40),
          Column("横幅", "横幅", 'N', 4, "チェック欄ひとつの横幅〔単位：㎜〕"),
          Column("高さ", "高さ", 'N', 4, "チェック欄ひとつの高さ〔単位：㎜〕"),
          Column("Ｂサイズ", "空き", 'N', 4, "チェック欄とチェック欄の間隔〔単位：㎜〕"),
          Column("最大数", "最大数", 'N', 6, "いくつまでのチェックを許可するかを設定 (複数チェック不可＝1)"),
          Column("マーク型", "形式", 'N', 4),
          Column("しきい値", "ｼｷｲ値", 'N', 4),
          Column("領域コード", "No.", 'X', 4)};
}

int AddListHeader() {
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  // Under the function keys: the buttons, then the layout of new check
  // fields, then the grid.
  const int buttons = kGridTop - 3, labels = kGridTop - 2, values = kGridTop - 1;
  check(AddPushButton("HOZON", "保存して終了", 2, buttons, kCmdSaveAndClose,
                      "変更された内容を保存して画面を閉じます（変更内容は、シート設計画面に反映されます）"));
  check(AddPushButton("CANSEL", "キャンセル", 18, buttons, kKeyEscape,
                      "変更された内容を破棄して画面を閉じます（変更内容は、シート設計画面に反映されません）"));
  check(AddPushButton("TXTINP", "CSVから入力", 32, buttons, kCmdCsvInput, "ＣＳＶファイルからの入力を行います"));
  check(AddPushButton("RECDDEL", "初 期 化", 47, buttons, kCmdDeleteAll, "一覧表示されているすべての質問を削除します"));
  check(AddPushButton("SETUMON", "質問の長さを揃える", 60, buttons, kCmdAlign, "質問の後部余白を埋めて、長さを揃えます"));
  check(AddNote("MSGPOS", "＜先頭のチェック欄の開始位置＞", 2, labels));
  check(AddNumber("Ｙ座標", "上から*mm", 8, values, 3, 999, "先頭のチェック欄の上端の位置〔単位：㎜〕"));
  check(AddNumber("Ｘ座標", "／　左から*mm", 26, values, 3, 999, "先頭のチェック欄の左端の位置〔単位：㎜〕"));
  check(AddNote("MSGFEED", "＜質問と質問の間隔＞", 50, labels));
  check(AddNumber("行送り", "行送り*mm", 56, values, 3, 999, "質問と質問の間隔〔単位：㎜〕"));
  check(AddNote("CHKFLD", "チ ェ ッ ク 欄", 100, values));
  int row = kGridTop + kListRows + 2;
  int n = 1;
  for (const char* line : kCsvHelpLines) {
    char name[8];
    std::snprintf(name, sizeof name, "MSG%02d", n++);
    if (*line) check(AddNote(name, line, 2, row));
    ++row;
  }
  return failed ? -1 : 0;
}

void EnableDesigner() {
  for (HWND w : {g_questions.canvas, g_questions.workbench}) {
    if (w) EnableWindow(w, TRUE);
  }
  if (g_questions.canvas) SetFocus(g_questions.canvas);
}

// The list opened: an empty one starts from the default layout.
void StartList(bool wideChoices) {
  const int s = g_questions.slot;
  SelectWindowSlot(s);
  if (CountQuestions() == 0) {
    SetScreenFieldInt(s, "Ｘ座標", kDefaultLayout.startX);
    SetScreenFieldInt(s, "Ｙ座標", kDefaultLayout.startY);
    SetScreenFieldInt(s, "行送り", kDefaultLayout.lineFeed);
  }
  g_questions.changes = 0;
  FocusField("領域名01");
  if (wideChoices) ShowInfoMessage("", "ここでは、「選択肢」は、255バイトまでしか表示されませんので、ご注意ください。");
}

QuestionLayout ReadLayout() {
  SelectWindowSlot(g_questions.slot);
  QuestionLayout layout;
  layout.startX = GetFieldInt("Ｘ座標");
  layout.startY = GetFieldInt("Ｙ座標");
  layout.lineFeed = GetFieldInt("行送り");
  return layout;
}

// The names of the list's rows each pass the name check.
int CheckListNames() {
  const int t = OpenQuestionListTable();
  if (t < 0) return -1;
  int rc = 0;
  for (int row = db_toppos(t, "一覧コード"); rc == 0 && row == 0; row = db_nread(t)) {
    rc = CheckItemName(GetColumnText(t, "領域名"), GetColumnText(t, "一覧コード"));
  }
  db_close(t);
  return rc;
}

// May the list close? Saving writes it back first: a list that cannot be
// written stays open. Leaving asks before changes are given up.
bool MayCloseList() {
  if (!g_questions.saving) {
    return g_questions.changes == 0 ||
           AskYesNo("", "変更された内容を破棄してもよろしいですか？") == IDYES;
  }
  g_questions.saving = false;
  QuestionLayout layout = ReadLayout();
  if (CheckListNames() != 0 || SheetCanvasCheckField(layout) != 0) return false;
  // A layout typed in moves the fields even when no question changed.
  const bool placed = layout.startX > 0 && layout.startY > 0 && layout.lineFeed > 0;
  if (g_questions.changes == 0 && !placed) return true;
  return TransferQuestionList(layout) == 0;
}

// The list closed: whatever it held is gone from MUPA_LST, and the canvas
// shows the side as stored.
void ListClosed() {
  const int t = OpenQuestionListTable();
  if (t >= 0) {
    db_exec(t, "delete from MUPA_LST");
    db_close(t);
  }
  g_questions.slot = -1;
  EnableDesigner();
  const int canvas = g_currentSheet.canvasSlot;
  if (IsValidSlot(canvas)) RebuildWindowItems(canvas, 1);
  RepaintSheetCanvas();
}

void RunListButton(int command) {
  switch (command) {
    case kCmdCsvInput:
      CsvQuestionDialog(0);
      return;
    case kCmdAlign: {
      const int rows = CountQuestions();
      if (rows == 0) {
        ShowInfoMessage("", "処理を行う質問が登録されていません。");
      } else if (rows > 0) {
        CsvQuestionDialog(1);
      }
      return;
    }
    case kCmdDeleteAll:
      DeleteAllQuestions();
      return;
    case kCmdSaveAndClose:
      g_questions.saving = true;
      SendMessageA(Slot(g_questions.slot).window, kMsgCloseWindow, 0, 0);
      g_questions.saving = false;
      return;
    default:
      return;
  }
}

}  // namespace

int OpenCheckFieldGrid(int canvasSlot) {
  QuestionList& q = g_questions;
  if (IsValidSlot(q.slot) || !IsValidSlot(canvasSlot)) return -1;
  const HWND listWindow = GetWorkWindow(WorkWindow::kList);
  if (!listWindow) return -1;
  bool wideChoices = false;
  if (FillListFromFields(wideChoices) < 0) return -1;
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  g_list.headerTexts.clear();
  if (OpenScreenDataSet(sheet.folder.c_str(), sheet.database.c_str(), kQuestionListTable, sheet.kind,
                        kSheetSpecSet, kQuestionListTable, 0, kInputListKind) != 0) {
    return -1;
  }
  const int s = g_list.slot;
  g_list.columns = ListColumns();
  SetSlotFontUnit(s, kListFontUnit);
  if (AddListHeader() != 0) {
    DiscardBuildingItems();
    CloseScreenDataSet(s);
    return -1;
  }
  q.canvas = Slot(canvasSlot).window;
  q.workbench = q.canvas ? GetAncestor(q.canvas, GA_ROOT) : nullptr;
  if (q.workbench == q.canvas) q.workbench = nullptr;
  q.changes = 0;
  q.saving = false;
  Slot(s).screenNumber = kQuestionListScreen;
  const int opened = CreateScreenWindow(listWindow, kListWindowCode, 2, kGridTop, -2, kListHeight, kListRows,
                                        kListFontUnit, kInputListKind, 1, 1, 0, kListKeys, "チェック欄一覧", 0, 0);
  if (opened < 0) {
    EnableDesigner();
    return -1;
  }
  q.slot = opened;
  // The canvas owns the list: it hears the list's stores, buttons and
  // closing, and both designer windows wait for it.
  Slot(opened).owner = q.canvas;
  Slot(opened).screenNumber = kQuestionListScreen;
  for (HWND w : {q.canvas, q.workbench}) {
    if (w) EnableWindow(w, FALSE);
  }
  StartList(wideChoices);
  return 0;
}

int QuestionListSlot() { return g_questions.slot; }

void RefreshQuestionList() {
  ++g_questions.changes;
  if (IsValidSlot(g_questions.slot)) SendMessageA(Slot(g_questions.slot).window, kMsgRefreshList, 0, 0);
}

bool HandleQuestionListMessage(HWND canvas, UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  QuestionList& q = g_questions;
  if (canvas != q.canvas || !IsValidSlot(q.slot)) return false;
  *result = 0;
  switch (message) {
    case kMsgCellStore:
      ++q.changes;
      return true;
    case kMsgBeforeCommand: {
      const int command = static_cast<int>(wParam);
      if (command < kCmdCsvInput || command > kCmdSaveAndClose) return true;
      RunListButton(command);
      *result = 1;
      return true;
    }
    case kMsgCloseQuery:
      if (static_cast<int>(wParam) == kQuestionListScreen && !MayCloseList()) CancelListWindowClose();
      return true;
    case kMsgScreenClosed:
      if (static_cast<int>(wParam) == kQuestionListScreen) ListClosed();
      return true;
    case kMsgFillScreen:
    case kMsgFieldMessage:
      return static_cast<int>(wParam) == kQuestionListScreen;
    default:
      return false;
  }
}
