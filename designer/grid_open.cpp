// Opening the grid editors: each builds its list screen in code (header
// items over the paper settings, the columns of its table, the filter to
// its kind of row of the current side) and opens it in the list-form
// window, which shows, edits and stores the rows. The header of the output
// settings grid is stored back into the paper settings when it closes.
#include <cstdio>
#include <string>
#include <vector>

#include "designer/grid_columns.h"
#include "designer/grids.h"
#include "designer/sheet_settings.h"
#include "designer/sheet_settings_store.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "foundation/ocr_ini.h"
#include "screen/screen.h"
#include "shell/shell.h"

OpenGrid g_openGrid;

namespace {

constexpr char kSideColumn[] = "ＯＣＲコード";
constexpr char kFieldsAndEnd[] = "((領域コード>='0001' and 領域コード<='0999') or 領域コード='$$$$')";
constexpr char kTextsAndEnd[] = "((領域コード>='T001' and 領域コード<='T999') or 領域コード='$$$$')";
constexpr char kQuestionTable[] = "質問内容";
constexpr char kQuestionLayout[] = "MUPA_SMN";
// The drop-out colours of the output settings and the print colours
// (印字カラー) they stand for; green (3) has none among them.
constexpr char kDropoutColours[] = "黒,赤,青";
struct DropoutColour {
  const char* name;
  int printColour;
};
constexpr DropoutColour kDropoutColourTable[] = {{"黒", 1}, {"赤", 2}, {"青", 4}};

// The header's two rows, between the function keys and the grid; each
// field's caption stands to its left.
constexpr int kHeaderRow = 3;

enum class Header { kNone, kPaper, kOutput, kMove, kFrame };

struct GridSpec {
  const char* title;
  const GridColumns& columns;
  const char* table;
  const char* layout;     // its block of the sheet tables' .SPC file
  std::string filter;
  const char* keys;
  int windowCode;
  int row;                // of the grid's first line
  int rows;
  Header header;
  int moveKind = 0;
  // Rows keep codes without gaps: the list adds none, and in its edit mode
  // a row dragged onto another takes its code, those between moving by one.
  bool consecutiveCodes = false;
  // What a row the grid adds holds beside what is typed, so that it is a
  // row of the grid's kind.
  std::vector<QueryCondition> newRowValues = {};
};

// Header items are shown but not edited, but those of the output settings.
int AddHeaderItem(const char* caption, const char* name, int column, int row, int width, int state,
                  const char* guide = "", const char* choices = "") {
  return AddScreenItem(caption, name, column, row, 0, width, width, 0, 'X', 0, state == kItemProtected ? 1 : 0, 0,
                       'L', state, 0, 1, 0, 0, guide, choices);
}

// A line of text in the header.
bool AddHeaderText(const char* name, const std::string& text, int column) {
  if (AddHeaderItem("", name, column, kHeaderRow, static_cast<int>(text.size()), kItemProtected) < 0) return false;
  g_openGrid.headerTexts.emplace_back(name, text);
  return true;
}

bool AddPaperHeader(int tableWidth) {
  constexpr char kSpacings[] = " 1, 2, 3, 4, 5, 6, 7, 8, 9,10,(10)";
  constexpr int row = kHeaderRow;
  return AddHeaderItem("No.", kSideColumn, 8, row, 4, kItemProtected) >= 0 &&
         AddHeaderItem("ＯＣＲシート名", "ＯＣＲ用紙名", 30, row, 20, kItemProtected) >= 0 &&
         AddHeaderItem("テーブル名", "テーブル", 66, row, tableWidth, kItemProtected) >= 0 &&
         AddHeaderItem("サイズ", "用紙サイズ", 8, row + 1, 6, kItemProtected, "", "Ａ４,Ａ５,Ｂ４,Ｂ５,Ｂ６,葉書") >= 0 &&
         AddHeaderItem("向き", "用紙方向", 22, row + 1, 4, kItemProtected, "", "縦,横") >= 0 &&
         AddHeaderItem("横", "横間隔", 32, row + 1, 3, kItemProtected, "", kSpacings) >= 0 &&
         AddHeaderItem("縦", "縦間隔", 40, row + 1, 3, kItemProtected, "", kSpacings) >= 0;
}

bool AddOutputHeader() {
  // A file database is chosen with the file dialog, from the program's
  // data folder.
  const bool file = UsesFileDatabase();
  const std::string fileChoice =
      file ? "FILEDLG,読み取ったデータを出力するデータベース名,,*.mdb," + g_program.programFolder + "\\data" : "";
  constexpr int row = kHeaderRow;
  if (AddHeaderItem("No.", kSideColumn, 8, row, 4, kItemProtected) < 0 ||
      AddHeaderItem("出力データベース名", "データベース", 34, row, 38, kItemEnabled,
                    file ? "読み取った内容を出力するデータベース名（フォルダ名も含む）" : "読み取った内容を出力するデータベース名",
                    fileChoice.c_str()) < 0 ||
      AddHeaderItem("出力テーブル名", "テーブル", 34, row + 1, 26, kItemEnabled, "読み取った内容を出力するテーブル名") < 0 ||
      AddHeaderItem("ﾄﾞﾛｯﾌﾟｱｳﾄｶﾗｰ", "ﾄﾞﾛｯﾌﾟｱｳﾄｶﾗｰ", 80, row + 1, 12, kItemEnabled,
                    "マークシートは“赤”か“青”を選んでください。", kDropoutColours) < 0) {
    return false;
  }
  return GetOcrIniSettings().editorFlag != 1 ||
         AddScreenButton("行間設定", "GYOKAN", 100, 0, row, kCmdAlignQuestionRows, kItemEnabled, "", "", "") >= 0;
}

// The message of the move grid names the side the marked rows go to.
bool AddMoveHeader() {
  const bool front = g_sheetDefinition.sheetCode == "0001";
  const bool twoSheets = g_sheetSettings.twoSheetSet;
  const char* target = twoSheets ? (front ? "「２枚目」" : "「１枚目」") : (front ? "「裏面」" : "「表面」");
  const std::string message = std::string("「移動」欄にチェックされた項目を") + target + "に移動します";
  if (AddScreenButton("", "IDOU", 2, 0, kHeaderRow, kCmdMoveMarkedRows, kItemEnabled, "RESPECT.BMP", "", "") < 0) {
    return false;
  }
  return AddHeaderText("MSG1", message, 8);
}

// Labels over the frame's columns and over the repetition's.
bool AddFrameHeader() {
  return AddHeaderText("囲み枠", "囲 み 枠", 8) && AddHeaderText("配列", "配 列（繰り返し）", 38);
}

bool AddHeader(const GridSpec& spec) {
  switch (spec.header) {
    case Header::kPaper: return AddPaperHeader(&spec.columns == &kTextItemColumns ? 14 : 30);
    case Header::kOutput: return AddOutputHeader();
    case Header::kMove: return AddMoveHeader();
    case Header::kFrame: return AddFrameHeader();
    case Header::kNone: return true;
  }
  return true;
}

void TakeColumns(const GridColumns& columns) {
  g_list.columns.clear();
  for (size_t k = 0; k < columns.count; ++k) {
    const GridColumn& c = columns.columns[k];
    ListColumn column;
    column.name = c.column;
    column.title = c.title;
    column.width = c.width;
    column.length = c.length;
    column.kind = c.kind;
    column.edit = c.edit;
    column.guide = c.guide;
    column.choices = c.choices;
    g_list.columns.push_back(column);
  }
}

int OpenGridScreen(const GridSpec& spec) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  if (sheet.database.empty()) {
    ShowInfoMessage("", "ＯＣＲシートが選択されていません。");
    return -1;
  }
  g_list.headerTexts.clear();
  const int subKind = spec.consecutiveCodes ? 4 : kInputListKind;
  if (OpenScreenDataSet(sheet.folder.c_str(), sheet.database.c_str(), spec.table, sheet.kind, kSheetSpecSet,
                        spec.layout, 0, subKind) != 0) {
    return -1;
  }
  Slot(g_list.slot).keyFields = spec.consecutiveCodes ? "3" : "";
  AddQueryCondition(kSideColumn, sheet.sheetCode.c_str());
  g_list.extraWhere = spec.filter;
  g_list.newRowValues = spec.newRowValues;
  TakeColumns(spec.columns);
  g_openGrid = OpenGrid();
  if (!AddHeader(spec)) {
    DiscardBuildingItems();
    g_openGrid = OpenGrid();
    return -1;
  }
  g_openGrid.moveKind = spec.moveKind;
  g_openGrid.codeKind = spec.columns.codeKind;
  g_openGrid.outputSettings = spec.header == Header::kOutput;
  g_openGrid.paperHeader = spec.header == Header::kPaper;
  // The grid's window hears of its slot before it is created.
  g_openGrid.slot = g_list.slot;
  const int s = CreateScreenWindow(GetWorkWindow(WorkWindow::kList), spec.windowCode, 2, spec.row, -1, -1,
                                   spec.rows, 0, subKind, 1, 1, 0, spec.keys, spec.title, 0, 0);
  if (s < 0) {
    g_openGrid = OpenGrid();
    return -1;
  }
  g_openGrid.slot = s;
  return s;
}

std::string DropoutColourText(int printColour) {
  for (const DropoutColour& c : kDropoutColourTable) {
    if (c.printColour == printColour) return c.name;
  }
  return "";
}

int PrintColourOfDropout(const std::string& text) {
  for (const DropoutColour& c : kDropoutColourTable) {
    if (text == c.name) return c.printColour;
  }
  return 0;
}

}  // namespace

int OpenWriteInFieldGrid() {
  return OpenGridScreen({"記入欄一覧", kWriteInFieldColumns, kFieldRowTable, kFieldRowTable, kFieldsAndEnd,
                         "2222223212003000", kGridWindowCode, 6, 30, Header::kPaper});
}

int OpenTextItemGrid() {
  return OpenGridScreen({"テキスト項目一覧", kTextItemColumns, kFieldRowTable, kFieldRowTable, kTextsAndEnd,
                         "2222222212003000", kGridWindowCode, 6, 30, Header::kPaper});
}

int OpenOutputSettingsGrid() {
  return OpenGridScreen({"マーク欄一覧", kOutputSettingsColumns, kFieldRowTable, kFieldRowTable,
                         "領域コード>='0001' and 領域コード<='0999' and 編集='ﾁｪｯｸ' and しきい値<>-1",
                         "2222211212000000,範囲指定入力(205)", kGridWindowCode, 6, 20, Header::kOutput, 0, false,
                         {{"編集", "ﾁｪｯｸ"}, {"しきい値", "10"}}});
}

int OpenDescriptionTextGrid() {
  return OpenGridScreen({"説明文等一覧", kDescriptionTextColumns, kFieldRowTable, kFieldRowTable,
                         "領域コード>='T001' and 領域コード<='T999' and 横幅<=0 and 高さ<=0",
                         "2222211212000000,範囲指定入力(205)", kGridWindowCode, 4, 20, Header::kNone, 0, false,
                         {{"横幅", "0"}, {"高さ", "0"}}});
}

int OpenQuestionTextGrid() {
  // The question table is made afresh each time from the check fields.
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  DropTableByName(sheet.folder.c_str(), sheet.database.c_str(), kQuestionTable);  // quiet when missing
  const int t = db_open(sheet.folder.c_str(), sheet.database.c_str(), kQuestionTable, sheet.kind, kSheetSpecSet,
                        kQuestionLayout, "");
  if (t < 0) return -1;
  const int filled = FillQuestionTable(t);
  db_close(t);
  if (filled != 0) return -1;
  const int s = OpenGridScreen({"質問内容一覧", kQuestionTextColumns, kQuestionTable, kQuestionLayout, "",
                                "2222211112000000,範囲指定入力(205)", kGridWindowCode, 4, 20, Header::kNone});
  if (s >= 0) g_openGrid.questions = true;
  return s;
}

int OpenEnclosureFrameGrid() {
  return OpenGridScreen({"囲み枠一覧", kEnclosureFrameColumns, kFieldRowTable, kFieldRowTable,
                         "領域コード>='T001' and 領域コード<='T999' and 横幅>=1 and 高さ>=1",
                         "2222211212000000,範囲指定入力(205)", kGridWindowCode, 4, 20, Header::kFrame, 0, false,
                         {{"横幅", "10"}, {"高さ", "10"}}});
}

int ReorderSheetFields(int kind) {
  // The codes are the order, dragged in the grid: the key item's first
  // field code stays.
  if (kind == 1) {
    return OpenGridScreen({"記入欄並び順変更", kFieldOrderColumns, kFieldRowTable, kFieldRowTable, kFieldsAndEnd,
                           "2222200000003000", kReorderWindowCode, 4, 20, Header::kNone, 0, true});
  }
  return OpenGridScreen({"テキスト項目並び順変更", kTextOrderColumns, kFieldRowTable, kFieldRowTable, kTextsAndEnd,
                         "2222200000003000", kReorderWindowCode, 4, 20, Header::kNone, 0, true});
}

int OpenMoveFieldsGrid(int kind) {
  if (kind == 1) {
    // The key item stays on its side: it is never offered.
    const std::string filter = "((領域コード>='0001' and 領域コード<='0999' and 領域名<>" +
                               SqlLiteral(g_sheetKeys.lastKeyName.c_str()) + ") or 領域コード='$$$$')";
    return OpenGridScreen({"チェック欄移動", kFieldMoveColumns, kFieldRowTable, kFieldRowTable, filter,
                           "2222200000000000", kMoveWindowCode, 5, 20, Header::kMove, 1});
  }
  return OpenGridScreen({"テキスト項目移動", kTextMoveColumns, kFieldRowTable, kFieldRowTable, kTextsAndEnd,
                         "2222200000000000", kMoveWindowCode, 5, 20, Header::kMove, 2});
}

int FillGridHeader() {
  const int s = g_openGrid.slot;
  if (!IsValidSlot(s)) return 0;
  for (const auto& [name, text] : g_openGrid.headerTexts) SetItemValueForCommand(s, name.c_str(), text.c_str());
  if (!g_openGrid.outputSettings && !g_openGrid.paperHeader) return 0;
  const int t = OpenFrontPaperRow();
  if (t < 0) return -1;
  SetItemValueForCommand(s, kSideColumn, g_sheetDefinition.sheetCode.c_str());
  if (g_openGrid.paperHeader) {
    for (const char* column : {"ＯＣＲ用紙名", "用紙サイズ", "用紙方向", "横間隔", "縦間隔", "テーブル"}) {
      SetItemValueForCommand(s, column, GetColumnAsText(t, column));
    }
    db_close(t);
    return 0;
  }
  SetItemValueForCommand(s, "データベース", ShownOutputDatabase(t).c_str());
  SetItemValueForCommand(s, "テーブル", GetColumnText(t, "テーブル"));
  SetItemValueForCommand(s, "ﾄﾞﾛｯﾌﾟｱｳﾄｶﾗｰ", DropoutColourText(GetColumnInt(t, "印字カラー")).c_str());
  db_close(t);
  return 0;
}

int StoreGridHeader() {
  const int s = g_openGrid.slot;
  if (!IsValidSlot(s) || !g_openGrid.outputSettings) return 0;
  const int t = OpenFrontPaperRow();
  if (t < 0) return -1;
  char text[256];
  GetItemValueForCommand(s, "データベース", text);
  SetColumnText(t, UsesFileDatabase() ? "データベースＪ" : "データベースＳ", text);
  GetItemValueForCommand(s, "テーブル", text);
  SetColumnText(t, "テーブル", text);
  GetItemValueForCommand(s, "ﾄﾞﾛｯﾌﾟｱｳﾄｶﾗｰ", text);
  const int colour = PrintColourOfDropout(text);
  if (colour > 0) SetColumnInt(t, "印字カラー", colour);
  const int rc = db_update(t);
  db_close(t);
  // The print colours follow the stored setting.
  return rc == 0 ? LoadCurrentSheetPaper() : -1;
}

void ForgetOpenGrid() { g_openGrid = OpenGrid(); }

void RefreshOpenGrid() {
  constexpr UINT kMsgRefreshList = WM_USER + 114;  // 1138
  if (IsValidSlot(g_openGrid.slot)) SendMessageA(Slot(g_openGrid.slot).window, kMsgRefreshList, 0, 0);
}
