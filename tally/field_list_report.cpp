// The printed list of the sheet's write-in fields ("記入欄一覧表印刷"):
// the print settings of code "OK0003" for the workbench's 印刷 button, then
// the fields of both sides in a range of area codes as pages of framed
// rows through the report output, on the screen, the printer or as CSV.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"
#include "tally/tally.h"

namespace {

constexpr char kFieldListCode[] = "OK0003";
constexpr const char* kTypeTitles[kCharacterTypes] = {"数　　字", "数字記号", "大文字英", "カタカナ", "ひらがな",
                                                      "第一水準", "第二水準", "記　　号", "かな記号", "郵便番号"};
constexpr int kTypeWidth = 8;
constexpr int kNarrowWidth = 4;
constexpr int kLimitWidth = 12;
// An array cell of -1 ("as many as fit") prints this.
constexpr char kEveryRow[] = "＊";

bool IsCsv() { return g_reportOutput.mode == kReportTextFile; }

// The columns the switches and the summary call for.
struct ListColumns {
  bool conditions = false, choices = false;
  bool limits = false, arrays = false, arrayStarts = false;
};

// "印字内容": a switch of two "0"/"1" places (conditions, choices), or the
// choice's text of the settings screen.
ListColumns ChosenColumns() {
  const std::string& field = g_printSettings.field;
  const FieldSummary& s = g_fieldSummary;
  ListColumns c;
  c.conditions = field == "変 換 の 条 件" || (field.size() >= 1 && field[0] == '1');
  c.choices = field == "選択肢(重ね文字)" || (field.size() >= 2 && field[1] == '1');
  c.limits = s.minimums > 0 || s.maximums > 0;
  c.arrays = s.arrays;
  c.arrayStarts = s.arrays && s.arrayStarts > 0;
  return c;
}

// One framed cell `width` bytes wide and a blank each side; a CSV field of
// the bare text in a file.
void Cell(int width, const std::string& text, bool right = false) {
  if (IsCsv()) {
    ReportCsvCell(0, "%s", text.c_str());
  } else if (right) {
    ReportPrintCell(" %*s ", width, text.c_str());
  } else {
    ReportPrintCell(" %-*s ", width, text.c_str());
  }
}

void NumberCell(int value) {
  if (IsCsv()) {
    ReportCsvCell(0, "%d", value);
  } else {
    ReportPrintCell(" %4d ", value);
  }
}

// An array cell: blank for 0, the sign for -1.
void ArrayCell(int value) {
  if (value == 0) {
    Cell(kNarrowWidth, "");
  } else if (value == -1) {
    Cell(kNarrowWidth, kEveryRow, true);
  } else {
    NumberCell(value);
  }
}

void PrintTitles(const ListColumns& c) {
  const FieldSummary& s = g_fieldSummary;
  Cell(kNarrowWidth, "No.");
  Cell(s.nameWidth, "記入欄名");
  for (int k = 0; k < kCharacterTypes; ++k) {
    if (s.typeCounts[k] > 0) Cell(kTypeWidth, kTypeTitles[k]);
  }
  for (const char* title : {"桁数", "種別", " 型 ", "編集"}) Cell(kNarrowWidth, title);
  if (c.limits) {
    Cell(kLimitWidth, " 最小値 ");
    Cell(kLimitWidth, " 最大値 ");
  }
  Cell(kNarrowWidth, " Ｘ ");
  Cell(kNarrowWidth, " Ｙ ");
  if (c.arrayStarts) Cell(kNarrowWidth, "開始");
  if (c.arrays) {
    Cell(kNarrowWidth, "個数");
    Cell(kNarrowWidth, "行間");
  }
  if (c.conditions) Cell(s.conditionWidth, "変 換 の 条 件");
  if (c.choices) Cell(s.choiceWidth, "選 択 肢 (重ね文字)");
}

// The cells of the current row of `slot`; with a slot below 0 an empty
// row that fills the page.
void PrintRow(int slot, const ListColumns& c) {
  const FieldSummary& s = g_fieldSummary;
  const bool empty = slot < 0;
  auto text = [&](const char* column) { return empty ? std::string() : std::string(GetColumnText(slot, column)); };
  auto number = [&](const char* column, bool array) {
    if (empty) {
      Cell(kNarrowWidth, "");
    } else if (array) {
      ArrayCell(GetColumnInt(slot, column));
    } else {
      NumberCell(GetColumnInt(slot, column));
    }
  };
  Cell(kNarrowWidth, text("領域コード"));
  Cell(s.nameWidth, text("領域名"));
  const bool check = !empty && IsCheckFieldEdit(GetColumnText(slot, "編集"));
  const std::string types = text("有効文字種");
  for (int k = 0; k < kCharacterTypes; ++k) {
    if (s.typeCounts[k] == 0) continue;
    if (empty || check) {
      Cell(kTypeWidth, "");
    } else {
      Cell(kTypeWidth, k < static_cast<int>(types.size()) && types[k] == '1' ? "●" : "－");
    }
  }
  number("文字数", false);
  for (const char* column : {"種別", "文字型", "編集"}) Cell(kNarrowWidth, text(column));
  if (c.limits) {
    Cell(kLimitWidth, text("最小値"));
    Cell(kLimitWidth, text("最大値"));
  }
  number("Ｘ座標", false);
  number("Ｙ座標", false);
  if (c.arrayStarts) number("配列開始", true);
  if (c.arrays) {
    number("配列個数", true);
    number("配列行間", true);
  }
  if (c.conditions) Cell(s.conditionWidth, text("変換条件"));
  if (c.choices) Cell(s.choiceWidth, text("重ね文字"));
}

void PrintHeading(const ListColumns& c) {
  const SheetSettings& sheet = g_sheetSettings;
  SetReportFrameOn(0);
  if (IsCsv()) {
    ReportCsvCell(0, "【%s】 %s%s 〔%s-%s〕", sheet.sheetName.c_str(), sheet.paperSize.c_str(),
                  sheet.orientation.c_str(), sheet.outputDbFile.c_str(), sheet.outputTable.c_str());
  } else {
    ReportPrintCell("【%s】 %s%s 〔%s-%s〕", sheet.sheetName.c_str(), sheet.paperSize.c_str(),
                    sheet.orientation.c_str(), sheet.outputDbFile.c_str(), sheet.outputTable.c_str());
  }
  SetReportFrameOn(1);
  AdvanceReportLine(1);
  AddReportSpace(6);
  SetReportCellFrame(1);
  PrintTitles(c);
  AdvanceReportLine(1);
  AddReportSpace(2);
}

// The rows of the range. Pages of `rowsPerPage` rows, the last filled with
// empty rows; the preview shows the first page. -1 when the job was
// aborted.
int PrintRows(int slot, const ListColumns& c) {
  const int rowsPerPage = std::max(1, g_printSettings.lines);
  int rc = db_toppos(slot, "ＯＣＲコード,領域コード");
  bool first = true;
  while (rc == 0) {
    if (!first && !IsCsv()) NextPrintPage();
    if (first || !IsCsv()) PrintHeading(c);
    first = false;
    for (int row = 0; row < rowsPerPage; ++row) {
      if (rc != 0 && IsCsv()) break;
      PrintRow(rc == 0 ? slot : -1, c);
      AdvanceReportLine(1);
      if (row % 10 == 9) AddReportSpace(1);
      if (rc == 0) rc = db_nread(slot);
    }
    if (AbortPrintJob() != 0) return -1;
    if (g_reportOutput.mode == kReportPreview) break;
  }
  return 0;
}

}  // namespace

int OpenFieldListPrint(HWND owner) {
  const FieldSummary& s = g_fieldSummary;
  return BuildPrintSettingsScreen(owner, kPrintTypeFieldList, 1, "記入欄一覧表印刷", kFieldListCode,
                                  s.firstCode.c_str(), s.lastCode.c_str(), 0);
}

int PrintFieldListReport(int mode) {
  const PrintSettings& settings = g_printSettings;
  const std::string start = settings.startCode.empty() ? g_fieldSummary.firstCode : settings.startCode;
  const std::string end = settings.endCode.empty() ? g_fieldSummary.lastCode : settings.endCode;
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kFieldRowTable, sheet.kind, kSheetSpecSet,
                           kFieldRowTable,
                           "select * from MUPA_FLD where ＯＣＲコード in ('0001','0002') and "
                           "領域コード>=%s and 領域コード<=%s",
                           SqlLiteral(start.c_str()).c_str(), SqlLiteral(end.c_str()).c_str());
  if (slot < 0) return -1;
  const std::string csvPath = settings.file;
  if (mode == kReportTextFile) {
    if (!StartPrintJobDefault(kReportTextFile, csvPath.c_str())) {
      db_close(slot);
      return -1;
    }
  } else {
    ApplyPrintSettingsToReport(GetActiveWindow());
    if (!StartPrintJobDefault(mode, "H")) {
      db_close(slot);
      return -1;
    }
  }
  const int rc = PrintRows(slot, ChosenColumns());
  db_close(slot);
  if (rc != 0) {
    EndPrintJob();
    return -1;
  }
  NextPrintPage();
  EndPrintJob();
  if (mode == kReportTextFile && !ReportTextFileWritten()) {
    ShowErrorMessage("", "ＣＳＶファイル“%s”に出力できませんでした。", csvPath.c_str());
    return -1;
  }
  return 0;
}
