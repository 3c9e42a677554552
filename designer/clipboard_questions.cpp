// The clipboard questions window "Clip": the clipboard's text a line a
// field, 20 lines at a time over a table of up to 256, corrected by the
// user and pasted into the question texts of the side's check fields, line
// n into the n-th field in code order. Every field is written in one
// transaction, so a failure leaves all question texts as they were.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "designer/designer.h"
#include "designer/field_editor.h"
#include "designer/form_items.h"
#include "designer/question_list.h"
#include "designer/question_list_rules.h"
#include "designer/sheet_canvas.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

constexpr int kClipWindowCode = 96;
constexpr int kVisibleLines = 20;
constexpr int kFirstLineRow = 4;
constexpr int kMinWidth = 60;
constexpr int kClipFontUnit = 8;
constexpr int kClipRowHeight = 23;
constexpr int kCmdPaste = kKeyF1;
constexpr int kTitleBytes = 255;  // タイトル of MUPA_FLD
constexpr int kCmdLineUp = 138, kCmdLineDown = 140, kCmdEnter = 13;

struct ClipWindow {
  FormWindow form;
  std::vector<std::string> lines;
  int offset = 0;        // table index of the first visible line
  int lastCommand = 0;
  bool empty = false;    // the clipboard held no text
};
ClipWindow g_clip;

std::string LineName(int row) {
  char name[8];
  std::snprintf(name, sizeof name, "DATA%02d", row);
  return name;
}

// The clipboard's text ("" when it holds none).
std::string ReadClipboardText(HWND owner) {
  std::string text;
  if (!OpenClipboard(owner)) return text;
  if (const HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void ShowClipLines() {
  ClipWindow& c = g_clip;
  for (int row = 1; row <= kVisibleLines; ++row) {
    const size_t at = static_cast<size_t>(c.offset + row - 1);
    SetFieldText(LineName(row).c_str(), at < c.lines.size() ? c.lines[at].c_str() : "");
  }
}

// What was typed into the visible lines goes back into the table.
void TakeVisibleLines() {
  ClipWindow& c = g_clip;
  if (c.empty) return;
  char typed[kClipLineBytes + 8] = "";
  GetItemRawValue(c.form.slot, "/CUR", typed);
  for (int row = 1; row <= kVisibleLines; ++row) {
    const size_t at = static_cast<size_t>(c.offset + row - 1);
    if (at < c.lines.size()) c.lines[at] = FormFieldText(LineName(row).c_str());
  }
}

void Scroll(int step) {
  ClipWindow& c = g_clip;
  const int last = std::max(0, static_cast<int>(c.lines.size()) - kVisibleLines);
  c.offset = std::clamp(c.offset + step, 0, last);
}

int CurrentRow() {
  const int item = g_screen.currentItem;
  for (int row = 1; row <= kVisibleLines; ++row) {
    if (ResolveFieldRef(g_clip.form.slot, LineName(row).c_str()) == item) return row;
  }
  return 0;
}

void FillClipWindow() {
  ClipWindow& c = g_clip;
  c.offset = 0;
  c.lastCommand = 0;
  if (c.empty) {
    HideField("F01");
    SetFieldText("DATA01", "クリップボードにデータはコピーされていません。");
    return;
  }
  ShowClipLines();
}

void CloseClip() {
  ClipWindow& c = g_clip;
  if (!IsValidSlot(c.form.slot)) return;
  CloseForm(c.form);
  if (c.lastCommand == kCmdPaste) WriteClipLinesToSheet(c.lines);
}

void RunClipCommand(int command) {
  ClipWindow& c = g_clip;
  TakeVisibleLines();
  c.lastCommand = command;
  const int row = CurrentRow();
  if ((command == kCmdEnter || command == kCmdLineDown) && row == kVisibleLines) {
    Scroll(1);
  } else if (command == kCmdLineUp && row == 1) {
    Scroll(-1);
  } else if (command == kCmdPaste) {
    if (AskYesNo("", "クリップボードの内容を取り込んでもよろしいですか？\n"
                     "現シートの質問内容は、全て新しいデータで上書きされます。") == IDYES) {
      CloseClip();
      return;
    }
    c.lastCommand = 0;
  } else {
    ApplyPendingFocus();
  }
  if (!c.empty) ShowClipLines();
}

struct CheckFieldWidth {
  std::string code;
  int widthChars = 0;
};

}  // namespace

HWND RegisterClipWindow() {
  g_clip = ClipWindow();
  g_clip.form.window =
      CreateHiddenWindow({"Clip", ClipWindowProc, CS_HREDRAW | CS_VREDRAW, WS_POPUPWINDOW | WS_DLGFRAME});
  return g_clip.form.window;
}

int ImportClipboardQuestions() {
  ClipWindow& c = g_clip;
  if (!c.form.window || IsValidSlot(c.form.slot)) return -1;
  const int canvas = g_currentSheet.canvasSlot;
  const HWND owner = IsValidSlot(canvas) ? Slot(canvas).window : GetActiveWindow();
  const QuestionTextResult split = SplitClipboardText(ReadClipboardText(owner));
  if (!split.ok()) {
    ShowInfoMessage("", "クリップボードの内容を取り込めません。\n%s", split.error.c_str());
    return -1;
  }
  c.lines = split.lines;
  c.empty = c.lines.empty();
  size_t longest = 0;
  for (const std::string& line : c.lines) longest = std::max(longest, line.size());
  const int width = std::max(kMinWidth, static_cast<int>(longest));
  const int slot = BeginForm();
  if (slot < 0) return -1;
  SetSlotFontUnit(slot, kClipFontUnit);
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  check(AddNote("TXTTITLE", "クリップボードの内容", 2, kFirstLineRow - 1));
  for (int row = 1; row <= kVisibleLines; ++row) {
    check(AddText(LineName(row).c_str(), "", 2, kFirstLineRow + row - 1, width, static_cast<int>(kClipLineBytes), ""));
  }
  check(AddPushButton("ESC", "ｷｬﾝｾﾙ", 2, 1, kKeyEscape, "画面を閉じます"));
  check(AddPushButton("F01", "シートに貼り付け", 14, 1, kCmdPaste, "表示の内容をシートに貼り付けます"));
  if (failed) {
    DiscardBuildingItems();
    return -1;
  }
  POINT mouse{};
  GetCursorPos(&mouse);
  return OpenForm(c.form, owner, owner ? GetAncestor(owner, GA_ROOT) : nullptr, std::max(0L, mouse.x - 60),
                  std::max(0L, mouse.y - 60), (width + 6) * kClipFontUnit, (kVisibleLines + 6) * kClipRowHeight,
                  kClipWindowCode, "クリップボード");
}

int ClipWindowSlot() { return g_clip.form.slot; }

int WriteClipLinesToSheet(const std::vector<std::string>& lines) {
  const int t = OpenSheetRows(" and 編集='ﾁｪｯｸ' and しきい値<>-1");
  if (t < 0) return -1;
  std::vector<CheckFieldWidth> fields;
  for (int rc = db_toppos(t, "ＯＣＲコード,領域コード"); rc == 0; rc = db_nread(t)) {
    fields.push_back({GetColumnText(t, "領域コード"), GetColumnInt(t, "行文字数")});
  }
  if (fields.empty()) {
    db_close(t);
    ShowInfoMessage("", "質問を貼り付けるチェック欄がありません。");
    return -1;
  }
  bool written = BeginTableTransaction(t) == 0;
  const bool begun = written;
  for (size_t n = 0; written && n < fields.size(); ++n) {
    // A field without a line width keeps its line as it is (up to its
    // column) rather than losing it to a width of nothing.
    const std::string line = n < lines.size() ? lines[n] : "";
    const std::string title = fields[n].widthChars > 0 ? FitTextToWidth(line, fields[n].widthChars)
                                                       : line.substr(0, SjisPrefixLength(line.c_str(), kTitleBytes,
                                                                                         kTitleBytes));
    const std::string sql = "update MUPA_FLD set タイトル=" + SqlLiteral(title.c_str()) + " where ＯＣＲコード=" +
                            SqlLiteral(g_sheetDefinition.sheetCode.c_str()) + " and 領域コード=" +
                            SqlLiteral(fields[n].code.c_str());
    written = db_exec(t, sql.c_str()) == 0;
  }
  const int ended = begun ? EndTableTransaction(t, written) : -1;
  db_close(t);
  const int canvas = g_currentSheet.canvasSlot;
  if (IsValidSlot(canvas)) RebuildWindowItems(canvas, 1);
  RepaintSheetCanvas();
  return written && ended == 0 ? 0 : -1;
}

LRESULT CALLBACK ClipWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEWHEEL && IsValidSlot(g_clip.form.slot)) {
    TakeVisibleLines();
    Scroll(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1);
    ShowClipLines();
    return 0;
  }
  FormHandlers handlers;
  handlers.opened = FillClipWindow;
  handlers.close = CloseClip;
  handlers.command = RunClipCommand;
  return HandleFormMessage(g_clip.form, handlers, window, message, wParam, lParam);
}
