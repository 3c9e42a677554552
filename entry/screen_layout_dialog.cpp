// The item-order and screen-style dialog of a generated entry screen
// (screen 56): a list over the S_FIELD rows of the list screen "101" or the
// card screen "201" of the sheet-definition database, pictures left out,
// where the operator edits headings, widths, locks and CSV breaks (on the
// card also title places, character sizes and image places), with the
// screen's settings above the list (line pitch, lines and the headings'
// direction and height of the list; line pitch and image size of the
// card) kept in the screen's S_SCREEN row, and the sheet's switches the
// screens follow (the CSV file's extra items and the headings' source of
// the list; the record images of the card) in its MUPA_PAP row. The screen-set window owns the
// dialog and passes its notifications here; one dialog at a time.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "designer/sheet_settings.h"
#include "entry/entry.h"
#include "entry/list_form.h"
#include "entry/screen_rows.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"
#include "shell/shell.h"

namespace {

constexpr int kCopyNamesCommand = 201;  // KOMCOPY
constexpr int kDefaultLinePitch = 24;
constexpr int kDefaultImageSize = 73;
constexpr int kMaxLayoutText = 260;  // room of a text above the list (the folder the longest)

struct LayoutDialogState {
  int form = 1;
  std::string screenCode;
  // The headings' direction (COMPORT) and height (READER) the widths were
  // last counted for.
  int titleDirection = 0, titleLines = 1;
};
LayoutDialogState g_layout;

const char* LayoutScreenCode(int form) { return form == 2 ? "KOMK-NARA2" : "KOMK-NARA"; }

int ItemInt(int slot, const char* name) {
  char value[64] = "";
  GetItemValueForCommand(slot, name, value);
  return std::atoi(value);
}

void SetItemInt(int slot, const char* name, int value) {
  SetItemValueForCommand(slot, name, std::to_string(value).c_str());
}

// What the list and card settings keep in the sheet's MUPA_PAP row of the
// front: a text column or a switch (0/1; a radio's choices from 1) per
// field above the list.
struct PaperSetting {
  int form;
  const char* field;
  const char* column;
  bool text;
  int firstChoice;  // the field's value of a stored 0
};
constexpr PaperSetting kPaperSettings[] = {
    {1, "商品番号項目", "商品番号項目", true, 0},
    {1, "顧客番号項目", "顧客番号項目", true, 0},
    {1, "一覧表項目種別", "一覧表項目種別", false, 1},
    {2, "ｲﾒｰｼﾞ比較修正", "比較用イメージ出力", false, 0},
    {2, "比較イメージパス", "比較イメージパス", false, 0},
    {2, "比較イメージフォルダ", "比較イメージフォルダ", true, 0},
};

void FillPaperSettings(int slot) {
  const int paper = OpenFrontPaperRow();
  if (paper < 0) return;
  for (const PaperSetting& p : kPaperSettings) {
    if (p.form != g_layout.form) continue;
    if (p.text) {
      SetItemValueForCommand(slot, p.field, GetColumnText(paper, p.column));
    } else {
      SetItemInt(slot, p.field, std::max(GetColumnInt(paper, p.column), p.firstChoice));
    }
  }
  db_close(paper);
}

int StorePaperSettings(int slot) {
  const int paper = OpenFrontPaperRow();
  if (paper < 0) return -1;
  for (const PaperSetting& p : kPaperSettings) {
    if (p.form != g_layout.form) continue;
    if (p.text) {
      char value[kMaxLayoutText] = "";
      GetItemRawValue(slot, p.field, value);
      SetColumnText(paper, p.column, value);
    } else {
      SetColumnInt(paper, p.column, ItemInt(slot, p.field));
    }
  }
  const int rc = db_update(paper);
  db_close(paper);
  return rc == 0 ? 0 : -1;
}

// The card's image settings take input only while its record images are
// shown (ｲﾒｰｼﾞ比較修正 ticked). The fields of the dialog's slot.
void ShowImageComparisonFields(int slot) {
  if (g_layout.form != 2) return;
  const int state = ItemInt(slot, "ｲﾒｰｼﾞ比較修正") == 1 ? 1 : 2;
  SelectWindowSlot(slot);
  for (const char* name : {"ｲﾒｰｼﾞｻｲｽﾞ", "比較イメージパス", "比較イメージフォルダ"}) SetFieldState(name, state);
}

// The screen's settings above the list, from its S_SCREEN row.
void FillLayoutSettings(int slot) {
  const int record = OpenScreenRecord(g_layout.screenCode);
  if (record < 0) return;
  const bool found = db_tfind(record, 1) == 0;
  const int pitch = found ? GetColumnInt(record, "SCRLPCH") : 0;
  const int lines = found ? GetColumnInt(record, "LINCNT") : 0;
  g_layout.titleDirection = found ? GetColumnInt(record, "COMPORT") : 0;
  g_layout.titleLines = found ? GetColumnInt(record, "READER") : 0;
  db_close(record);
  if (g_layout.titleLines < 1) g_layout.titleLines = 1;
  SetItemInt(slot, "行送り", pitch > 0 ? pitch : kDefaultLinePitch);
  if (g_layout.form == 2) {
    SetItemInt(slot, "ｲﾒｰｼﾞｻｲｽﾞ", lines > 0 ? lines : kDefaultImageSize);
  } else {
    SetItemInt(slot, "行数", lines);
    SetItemInt(slot, "タイトル向き", g_layout.titleDirection);
    SetItemInt(slot, "タイトル高さ", g_layout.titleLines);
  }
  SetItemValueForCommand(slot, "NOTEMSG", "ここでの設定は、ＯＣＲシートの定義を変更しません。");
  SetItemValueForCommand(slot, "ADDMSG", "を追加する");
  FillPaperSettings(slot);
  ShowImageComparisonFields(slot);
}

// The settings above the list into the S_SCREEN row: 0, or -1 (reported).
int StoreLayoutSettings(int slot) {
  const int record = OpenScreenRecord(g_layout.screenCode);
  if (record < 0) return -1;
  if (db_tfind(record, 1) != 0) {
    db_close(record);
    return 0;
  }
  SetColumnInt(record, "SCRLPCH", ItemInt(slot, "行送り"));
  if (g_layout.form == 2) {
    SetColumnInt(record, "LINCNT", ItemInt(slot, "ｲﾒｰｼﾞｻｲｽﾞ"));
  } else {
    SetColumnInt(record, "LINCNT", ItemInt(slot, "行数"));
    SetColumnInt(record, "COMPORT", ItemInt(slot, "タイトル向き"));
    SetColumnInt(record, "READER", std::max(1, ItemInt(slot, "タイトル高さ")));
  }
  const int rc = db_update(record);
  db_close(record);
  return rc == 0 ? 0 : -1;
}

// The half-width form of a heading (full-width letters, digits and kana
// narrowed), as a list shows headings turned on their side.
std::string HalfWidthText(const std::string& text) {
  if (text.empty()) return text;
  std::string out(text.size() + 1, '\0');
  const int length = LCMapStringA(MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT),
                                  LCMAP_HALFWIDTH, text.c_str(), static_cast<int>(text.size()), out.data(),
                                  static_cast<int>(out.size()));
  if (length <= 0) return text;
  out.resize(length);
  return out;
}

// Asked before the list closes: the settings are stored, and a changed
// direction or height of the headings widens the columns first and keeps
// the dialog open once, so the operator sees the new widths.
void SettleLayoutOnClose(int slot) {
  StoreLayoutSettings(slot);
  StorePaperSettings(slot);
  if (g_layout.form == 2) return;
  const int direction = ItemInt(slot, "タイトル向き");
  const int lines = std::max(1, ItemInt(slot, "タイトル高さ"));
  if (direction == g_layout.titleDirection && lines == g_layout.titleLines) return;
  g_layout.titleDirection = direction;
  g_layout.titleLines = lines;
  if (RecountFieldTitleWidths(g_layout.screenCode, direction, lines) < 0) return;
  RefreshListPage();
  ShowInfoMessage("", "「横幅」(列幅)の調整を行いました。\n画面を閉じる場合は、もう一度、終了ボタンをクリックしてください。");
  g_list.closeVeto = 1;
}

int LayoutDialogSlot() {
  for (int s = kWindowSlotCount - 1; s >= 0; --s) {
    if (Slot(s).state != kFreeSlotState && Slot(s).screenNumber == kScreenLayoutNumber) return s;
  }
  return -1;
}

}  // namespace

int OpenScreenLayoutDialog(int form, HWND owner) {
  g_layout = LayoutDialogState();
  g_layout.form = form;
  g_layout.screenCode = EntryScreenCode(form);
  SetFieldDefault("SCRCODE", g_layout.screenCode.c_str());
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  SetNextScreenDataSet({sheet.folder, sheet.database, g_screenDefs.specFile, "FLDTBL",
                      "(FLDEDT is null or FLDEDT<>'BMAP')"});
  const int rc = OpenScreenDef("", kScreenDatabase, LayoutScreenCode(form), -1, -1, "", owner);
  // A screen that stopped before its data set leaves the place to no other.
  SetNextScreenDataSet({});
  return rc;
}

bool HandleScreenLayoutMessage(UINT message, WPARAM screenNumber) {
  if (static_cast<int>(screenNumber) != kScreenLayoutNumber) return false;
  const int slot = LayoutDialogSlot();
  if (slot < 0) return message == kMsgScreenClosed;
  switch (message) {
    case kMsgFillScreen:
      FillLayoutSettings(slot);
      break;
    case kMsgFieldMessage:
      if (GetLastFieldKey() == kCopyNamesCommand) MakeHeadingsFromNames(slot, "FLDTITLE", "FLDNAME", true);
      ShowImageComparisonFields(slot);
      break;
    case kMsgCloseQuery:
      SettleLayoutOnClose(slot);
      break;
    default:
      break;
  }
  return true;
}

int MakeHeadingsFromNames(int slot, const char* targetColumn, const char* sourceColumn, bool resetWidths) {
  if (AskYesNo("", "｢項目名｣の列を｢見出し｣にコピーします。\n現在の｢見出し｣の内容は上書き消去されます。") != IDYES) {
    return 0;
  }
  const int rows = OpenScreenFieldRows(kFieldTable, g_layout.screenCode);
  if (rows < 0) return -1;
  int copied = 0;
  for (int rc = db_toppos(rows, "FLDCODE"); rc == 0; rc = db_nread(rows)) {
    const std::string source = GetColumnText(rows, sourceColumn);
    SetColumnText(rows, targetColumn, source.c_str());
    if (resetWidths) SetColumnInt(rows, "FLDSMSU", 0);
    if (db_update(rows) != 0) {
      db_close(rows);
      return -1;
    }
    ++copied;
  }
  db_close(rows);
  if (resetWidths && RecountFieldTitleWidths(g_layout.screenCode, ItemInt(slot, "タイトル向き"),
                                             std::max(1, ItemInt(slot, "タイトル高さ"))) < 0) {
    return -1;
  }
  RefreshListPage();
  return copied;
}

int RecountFieldTitleWidths(const std::string& screenCode, int titleDirection, int titleLines) {
  const int rows = OpenScreenFieldRows(kFieldTable, screenCode);
  if (rows < 0) return -1;
  const int lines = std::max(1, titleLines);
  int changed = 0;
  for (int rc = db_toppos(rows, "FLDCODE"); rc == 0; rc = db_nread(rows)) {
    std::string title = GetColumnText(rows, "FLDTITLE");
    if (titleDirection == 1) title = HalfWidthText(title);
    // Full-width characters of the heading (a half-width one counts half),
    // spread over its lines: the last line takes what is left over.
    const int characters = (static_cast<int>(title.size()) + 1) / 2;
    const int width = std::max((characters + lines - 1) / lines, 1) * 2;
    const int old = GetColumnInt(rows, "FLDSMSU");
    const int now = std::max({old, width, 2});
    if (now == old) continue;
    SetColumnInt(rows, "FLDSMSU", now);
    if (db_update(rows) != 0) {
      db_close(rows);
      return -1;
    }
    ++changed;
  }
  db_close(rows);
  return changed;
}
