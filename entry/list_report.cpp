// The printed list: the rows from the start code to the end code as a
// table of pages (a title with today's date, the column headings, LINE rows
// a page with a small gap after every ten), on the printer or as a preview
// of the first page; or the same rows as a CSV file.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "entry/entry.h"
#include "entry/list_form.h"
#include "foundation/dates.h"
#include "foundation/db.h"
#include "foundation/gdi_draw.h"
#include "foundation/msgbox.h"
#include "foundation/bounded_format.h"
#include "foundation/test_hooks.h"
#include "screen/screen.h"

namespace {

constexpr int kPreviewWidth = 595;   // A4 at 72 dots per inch
constexpr int kPreviewHeight = 842;
constexpr int kMarginPercent = 5;

ListReportSettings g_report;
HWND g_previewWindow = nullptr;
HBITMAP g_previewPage = nullptr;

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

// The pages of the list drawn on a DC `pageWidth` x `pageHeight` dots; only
// the first with `firstOnly`. Returns the number of rows drawn, or -1.
int DrawPages(HDC dc, int pageWidth, int pageHeight, bool firstOnly, bool printer) {
  const int rowsPerPage = std::max(g_report.linesPerPage, 1);
  int characters = 4;
  const std::vector<const ListColumn*> printed = PrintedColumns();
  for (const ListColumn* c : printed) characters += ColumnWidth(*c) + 2;
  const int usableWidth = pageWidth * (100 - 2 * kMarginPercent) / 100;
  const int lineHeight = std::min(pageHeight * (100 - 2 * kMarginPercent) / 100 / (rowsPerPage + 6),
                                  2 * usableWidth / characters);
  const int left = pageWidth * kMarginPercent / 100;
  GdiOwner<HFONT> font(CreateFontA(-lineHeight * 9 / 10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                                   "ＭＳ ゴシック"));
  SelectScope use(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  char today[16];
  GetTodayString(today);
  std::string title = Slot(g_listForm.slot).title;
  int rc = db_find_key_or_next(Table(), g_report.start.c_str(), g_listForm.keyNumber);
  int written = 0;
  while (rc == 0) {
    if (printer && StartPage(dc) <= 0) return -1;
    int y = pageHeight * kMarginPercent / 100;
    auto text = [&](const std::string& line) {
      TextOutA(dc, left, y, line.c_str(), static_cast<int>(line.size()));
      y += lineHeight;
    };
    if (!title.empty()) text("【" + title + "】 " + today);
    y += lineHeight / 2;
    std::string heading;
    for (const ListColumn* c : printed) heading += Fit(c->title.empty() ? c->name : c->title, ColumnWidth(*c) + 2, 'S');
    text(heading);
    const int ruleY = y - lineHeight / 8;
    MoveToEx(dc, left, ruleY, nullptr);
    LineTo(dc, pageWidth - left, ruleY);
    for (int row = 0; row < rowsPerPage && rc == 0; ++row) {
      const std::string key = GetColumnText(Table(), g_listForm.keyColumn.c_str());
      if (!g_report.end.empty() && key > g_report.end) {
        rc = -1;
        break;
      }
      std::string line;
      for (const ListColumn* c : printed) line += " " + CellText(*c, ColumnWidth(*c)) + " ";
      text(line);
      ++written;
      if (row % 10 == 9) y += lineHeight / 3;
      rc = db_nread(Table());
    }
    if (printer && EndPage(dc) <= 0) return -1;
    if (firstOnly) break;
  }
  return written;
}

// A printer DC chosen through the print dialog (the default printer).
HDC ChoosePrinter() {
  PRINTDLGA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
  const INT_PTR chosen = RunModalDialog("PrintDlg", &dialog, [](void* data) -> INT_PTR {
    return PrintDlgA(static_cast<PRINTDLGA*>(data));
  });
  if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
  return chosen ? dialog.hDC : nullptr;
}

int PrintList() {
  const HDC dc = ChoosePrinter();
  if (!dc) return -1;
  const std::string name = g_report.documentName.empty() ? Slot(g_listForm.slot).title : g_report.documentName;
  DOCINFOA doc{};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = name.c_str();
  int written = -1;
  if (StartDocA(dc, &doc) > 0) {
    written = DrawPages(dc, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), false, true);
    if (written >= 0) EndDoc(dc); else AbortDoc(dc);
  }
  DeleteDC(dc);
  return written < 0 ? -1 : 0;
}

LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    const HDC memory = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(memory, g_previewPage);
    BitBlt(dc, 0, 0, kPreviewWidth, kPreviewHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_DESTROY) g_previewWindow = nullptr;
  return DefWindowProcA(window, message, wParam, lParam);
}

// The first page drawn on a white bitmap shown in a window of its own.
int PreviewList() {
  if (g_previewWindow) DestroyWindow(g_previewWindow);
  if (g_previewPage) DeleteObject(g_previewPage);
  const HDC screen = GetDC(nullptr);
  g_previewPage = CreateCompatibleBitmap(screen, kPreviewWidth, kPreviewHeight);
  const HDC memory = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ old = SelectObject(memory, g_previewPage);
  PatBlt(memory, 0, 0, kPreviewWidth, kPreviewHeight, WHITENESS);
  const int written = DrawPages(memory, kPreviewWidth, kPreviewHeight, true, false);
  SelectObject(memory, old);
  DeleteDC(memory);
  WNDCLASSA wc{};
  wc.lpfnWndProc = PreviewWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = "LstPreview";
  RegisterClassA(&wc);
  RECT frame{0, 0, kPreviewWidth, kPreviewHeight};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  g_previewWindow = CreateWindowA("LstPreview", Slot(g_listForm.slot).title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  0, 0, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  wc.hInstance, nullptr);
  return written < 0 ? -1 : 0;
}

}  // namespace

ListReportSettings& GetListReportSettings() { return g_report; }

HWND GetListPreviewWindow() { return g_previewWindow; }

int OutputListReport(int mode) {
  if (!g_listForm.dataSetOpen) return -1;
  if (db_find_key_or_next(Table(), g_report.start.c_str(), g_listForm.keyNumber) != 0) {
    ShowInfoMessage("", "%s“%s”は登録されていません。", g_listForm.keyTitle.c_str(), g_report.start.c_str());
    return -1;
  }
  int rc;
  if (mode == 2) {
    g_report.rowsWritten = ExportListCsv(g_report.csvFile.c_str(), g_report.start.c_str(), g_report.end.c_str(),
                                         g_report.titles, g_report.keys, g_report.quotes);
    rc = g_report.rowsWritten < 0 ? -1 : 0;
  } else {
    rc = mode == 1 ? PrintList() : PreviewList();
  }
  SeekListRecord(LineKey(1).c_str());
  return rc;
}
