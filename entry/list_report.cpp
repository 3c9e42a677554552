// The printed list: the print-settings screen of lists (print type 1, under
// the screen's print code) chooses the codes, the paper and the rows a
// page; the rows from the start code to the end code then go out through
// the report output as ruled pages (a title with today's date, the column
// headings, LINE rows a page with a small gap after every ten), on the
// printer or in the preview beside the settings. The CSV form of the same
// rows is written by the list's CSV output.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "entry/entry.h"
#include "entry/list_form.h"
#include "foundation/bounded_format.h"
#include "foundation/dates.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"
#include "tally/tally.h"

namespace {

// The list's pages are laid out in report units of 0.2 mm.
constexpr char kReportUnits[] = "H";

ListReportSettings g_report;

int Table() { return g_listForm.tableSlot; }

// Pads or cuts a text to `width` bytes, never inside a character.
std::string Fit(const std::string& text, int width, char align) {
  std::string cut = text.substr(0, CharBoundaryLength(text.c_str(), width));
  const int room = width - static_cast<int>(cut.size());
  if (room <= 0) return cut;
  if (align == 'R') return std::string(room, ' ') + cut;
  if (align == 'S') return std::string(room / 2, ' ') + cut + std::string(room - room / 2, ' ');
  return cut + std::string(room, ' ');
}

// What a cell prints for the current row's value of a column.
std::string CellText(const ListColumn& column, int width) {
  const std::string value = column.dbType > 0 ? GetColumnAsText(Table(), column.name.c_str()) : "";
  if (column.kind == 'c' || column.kind == 'C') return Fit(value == "2" || value == "1" ? "●" : "×", width, 'S');
  if (column.dbType == kColumnDouble) {
    const double number = std::atof(value.c_str());
    if (number == -2) return Fit("－", width, 'R');
    char text[64];
    std::snprintf(text, sizeof text, "%*.*f", width, column.decimals, number);
    return Fit(text, width, 'R');
  }
  return Fit(value, width, column.edit == 'R' ? 'R' : column.edit == 'S' ? 'S' : 'L');
}

int ColumnWidth(const ListColumn& column) { return std::max(column.width, 2); }

// The columns printed: those the list shows now (repeating columns
// scrolled out of view are left out).
std::vector<const ListColumn*> PrintedColumns() {
  std::vector<const ListColumn*> columns;
  for (int c = 0; c < static_cast<int>(g_list.columns.size()); ++c) {
    if (ListCellItem(c, 1) >= 0) columns.push_back(&g_list.columns[c]);
  }
  return columns;
}

std::string ScreenTitle() { return Slot(g_listForm.slot).title; }

// The title with today's date, then the column headings, ruled.
void PrintHeading(const std::vector<const ListColumn*>& columns, const char* today) {
  SetReportFrameOn(0);
  if (!ScreenTitle().empty()) {
    ReportPrintCell("【%s】 %s", ScreenTitle().c_str(), today);
    AdvanceReportLine(1);
    AddReportSpace(6);
  }
  SetReportFrameOn(1);
  SetReportCellFrame(1);
  for (const ListColumn* c : columns) {
    const int width = ColumnWidth(*c) + 2;
    ReportPrintCell("%-*s", width, Fit(c->title.empty() ? c->name : c->title, width, 'S').c_str());
  }
  AdvanceReportLine(1);
  AddReportSpace(2);
}

// Pages of the rows from the data set's current row up to `end` (empty:
// the last); the preview draws the first page only. -1 when the job was
// aborted.
int PrintRows(const std::string& end) {
  const std::vector<const ListColumn*> columns = PrintedColumns();
  const int rowsPerPage = std::max(1, g_printSettings.lines);
  char today[16];
  GetTodayString(today);
  int rc = 0;
  auto pastEnd = [&] {
    return !end.empty() && std::string(GetColumnText(Table(), g_listForm.keyColumn.c_str())) > end;
  };
  bool first = true;
  while (rc == 0 && !pastEnd()) {
    if (!first) NextPrintPage();
    first = false;
    PrintHeading(columns, today);
    for (int row = 0; row < rowsPerPage && rc == 0 && !pastEnd(); ++row) {
      for (const ListColumn* c : columns) ReportPrintCell(" %s ", CellText(*c, ColumnWidth(*c)).c_str());
      AdvanceReportLine(1);
      if (row % 10 == 9) AddReportSpace(1);
      rc = db_nread(Table());
    }
    if (AbortPrintJob() != 0) return -1;
    if (g_reportOutput.mode == kReportPreview) break;
  }
  return 0;
}

// The rows of the print settings' range through the report output.
int PrintList(int mode) {
  const PrintSettings& settings = g_printSettings;
  ApplyPrintSettingsToReport(Slot(g_listForm.slot).window);
  if (StartPrintJobDefault(mode, kReportUnits) == 0) return -1;  // cancelled, or reported
  const int rc = PrintRows(settings.endCode);
  NextPrintPage();
  return EndPrintJob() != 0 ? -1 : rc;
}

}  // namespace

ListReportSettings& GetListReportSettings() { return g_report; }

int OpenListPrintSettings() {
  if (!g_listForm.dataSetOpen || TakeListKeyRange() != 0) return -1;
  return BuildPrintSettingsScreen(Slot(g_listForm.slot).window, kPrintTypeList, 0, ScreenTitle().c_str(),
                                  g_listForm.printCode.c_str(), g_list.firstKey.c_str(), g_list.lastKey.c_str(),
                                  0);
}

int OutputListReport(int mode) {
  if (!g_listForm.dataSetOpen) return -1;
  const std::string start = mode == kReportTextFile ? g_report.start : g_printSettings.startCode;
  if (db_find_key_or_next(Table(), start.c_str(), g_listForm.keyNumber) != 0) {
    // The preview beside the settings stays empty for a start after the
    // last code; the print key says why nothing is printed.
    if (mode != kReportPreview) {
      ShowInfoMessage("", "%s“%s”は登録されていません。", g_listForm.keyTitle.c_str(), start.c_str());
    }
    return -1;
  }
  int rc;
  if (mode == kReportTextFile) {
    g_report.rowsWritten = ExportListCsv(g_report.csvFile.c_str(), g_report.start.c_str(), g_report.end.c_str(),
                                         g_report.titles, g_report.keys, g_report.quotes);
    rc = g_report.rowsWritten < 0 ? -1 : 0;
  } else {
    rc = PrintList(mode);
  }
  SeekListRecord(LineKey(1).c_str());
  return rc;
}
