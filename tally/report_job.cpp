// The report output context and the life of one job: describing the page,
// opening the target (preview, printer or text file), pages that begin with
// their first drawing, and closing, also after a failure half-way through
// the opening. One job at a time, on the GUI thread.
#include <cmath>
#include <string>

#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "foundation/test_hooks.h"
#include "screen/screen.h"
#include "tally/report_internal.h"
#include "tally/report_printer.h"

ReportOutputContext g_reportOutput;

namespace {

// Logical units an inch of the unit kind's mapping: 0.1 mm, 0.01 mm or a
// twip, y counting up as in the metric mapping modes; 0 for device pixels.
int LogicalUnitsPerInch(int unitKind) {
  switch (unitKind) {
    case kUnitLoMetric: return 254;
    case kUnitTwips: return 1440;
    case kUnitPixels: return 0;  // device pixels: leave the DC as it is
    default: return 2540;
  }
}

// Mapping and origin of a printer page. The units of MM_LOMETRIC,
// MM_HIMETRIC and MM_TWIPS are set from the device's resolution, which
// drivers report exactly, not through the mapping modes themselves: those
// follow the page size in whole millimetres, which Wine's PostScript driver
// rounds down (A4 209 mm wide: a sheet 0.5% too wide). Some drivers start
// every page with default attributes, so this runs again when a page
// begins.
void ApplyPrinterMapping() {
  ReportOutputContext& r = g_reportOutput;
  if (const int perInch = LogicalUnitsPerInch(r.unitKind)) {
    SetMapMode(r.dc, MM_ANISOTROPIC);
    SetWindowExtEx(r.dc, perInch, perInch, nullptr);
    SetViewportExtEx(r.dc, GetDeviceCaps(r.dc, LOGPIXELSX), -GetDeviceCaps(r.dc, LOGPIXELSY),
                     nullptr);
  }
  SetViewportOrgEx(r.dc, r.originX, r.originY, nullptr);
  if (r.font.get()) SelectObject(r.dc, r.font.get());
}

// The character unit of the current screen window: sheets laid out in
// screen pixels are printed in report units of that many pixels. The sheet
// canvas counts in its grid unit (pixels a millimetre).
int CurrentScreenCharUnit() {
  const int slot = g_screen.currentSlot;
  if (!IsValidSlot(slot)) return kBaseCharWidth;
  return Slot(slot).screenType == kScreenTypeSheet ? SheetDotsPerGridUnit() : Slot(slot).fontUnit;
}

void ResetCursor() {
  ReportOutputContext& r = g_reportOutput;
  r.lineNumber = 0;
  r.columnOffset = 0;
  r.columnOrigin = 0;
  r.extraVertical = 0;
  r.extraColumn = 0;
}

// Step 1 of every job: the cursor, cell and font state of a fresh job.
void ResetJobState(int mode) {
  ReportOutputContext& r = g_reportOutput;
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  r.mode = mode;
  ReleaseReportFont();
  r.aborted = 0;
  ResetCursor();
  r.innerMargin = 0;
  r.extraCellWidth = 0;
  r.linePitch = r.lineSpacing + 2 * r.fontSize;
  SetReportFrameOn(1);
  SetReportCellFrame(1);
  r.fontFace = -1;
  r.fontHeight = -1;
  r.rowSpan = 1;
  r.sizeFactor = SizeCodeFactor(r.fontSize);
  r.pageOpen = false;
  r.pagesStarted = 0;
  r.documentAborted = false;
  r.csvLine.clear();
  r.csvCells = 0;
  r.csvCellsDropped = false;
}

void ShowNormalCursor() { SetCursor(LoadCursor(nullptr, IDC_ARROW)); }

// The preview's mapping: the client area of `width` x `height` pixels shows
// zoom times as many report units, scrolled by the offsets.
void SetPreviewMapping(int width, int height, int scrollX, int scrollY) {
  ReportOutputContext& r = g_reportOutput;
  SetMapMode(r.dc, MM_ANISOTROPIC);
  SetWindowExtEx(r.dc, static_cast<int>(std::lround(width * r.previewZoom)),
                 static_cast<int>(std::lround(height * r.previewZoom)), nullptr);
  SetViewportExtEx(r.dc, width, height, nullptr);
  SetViewportOrgEx(r.dc, -scrollX, -scrollY, nullptr);
  r.lineStyle = 0;
  SelectObject(r.dc, GetStockObject(SYSTEM_FIXED_FONT));
}

// Preview on a DC the caller gave: its state is saved and given back whole
// at the end of the job.
void BeginPreviewOnDC() {
  ReportOutputContext& r = g_reportOutput;
  r.mode = kReportPreview;
  r.dc = r.previewDC;
  r.dcFromWindow = false;
  r.savedDcState = SaveDC(r.dc);
  SetPreviewMapping(r.previewWidth, r.previewHeight, r.originX, r.originY);
}

INT_PTR StartPreviewJob() {
  ReportOutputContext& r = g_reportOutput;
  r.scale = 1;
  r.ySign = 1;
  // A preview has no printer corner and counts screens in their pixels,
  // whatever job came before it.
  r.leftCorrection = 0;
  r.unitDivisor = 0;
  if (r.previewDC) {
    BeginPreviewOnDC();
  } else if (r.previewWindow) {
    BeginPreviewOutput(r.previewWindow, r.originX, r.originY);
  }
  if (!r.dc) {  // no preview target was set
    ShowNormalCursor();
    return 0;
  }
  SelectPrinterFont(0, 2 * r.fontSize);
  r.jobOpen = true;
  return 1;
}

INT_PTR StartTextFileJob(const char* path) {
  ReportOutputContext& r = g_reportOutput;
  if (!path || !*path) {
    ShowNormalCursor();
    ShowInfoMessage("", "ﾃｷｽﾄﾌｧｲﾙ名が設定されていません。");
    return 0;
  }
  // The lines go to a file of their own beside the target, which replaces
  // it when the job ends well. A target another program holds is refused
  // now, not after the whole output.
  r.textPath = path;
  r.textWork = r.textPath + ".~tmp";
  r.textFailed = false;
  r.textWritten = false;
  if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
    const HANDLE target = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (target != INVALID_HANDLE_VALUE) CloseHandle(target);
    if (target == INVALID_HANDLE_VALUE) r.textWork.clear();
  }
  r.textFile = r.textWork.empty() ? INVALID_HANDLE_VALUE
                                  : CreateFileA(r.textWork.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (r.textFile == INVALID_HANDLE_VALUE) {
    ShowNormalCursor();
    ShowErrorMessage("", "ﾃｷｽﾄﾌｧｲﾙ“%s”をｵｰﾌﾟﾝできません。", path);
    return 0;
  }
  r.jobOpen = true;
  return 1;
}

// Closes the work file of a text-file job and puts it in the target's
// place, or removes it after a failed write. True when the target holds
// every line.
bool FinishTextFile(ReportOutputContext& r) {
  bool written = !r.textFailed && FlushFileBuffers(r.textFile);
  written = CloseHandle(r.textFile) && written;
  r.textFile = INVALID_HANDLE_VALUE;
  written = written && MoveFileExA(r.textWork.c_str(), r.textPath.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!written) DeleteFileA(r.textWork.c_str());
  return written;
}

// Wine's spooler hands a job's name on to CUPS in UTF-8 cut to the length
// of its Shift-JIS form, which is shorter for every Japanese character:
// blanks after the name make up the difference, so the name arrives whole.
std::string SpooledDocumentName(const std::string& name) {
  std::string padded = name;
  for (size_t at = 0; at < name.size();) {
    const int length = SjisCharLength(name.c_str() + at);
    const unsigned char c = static_cast<unsigned char>(name[at]);
    if (length == 2) padded += ' ';                   // 2 bytes, 3 in UTF-8
    if (c >= 0xA1 && c <= 0xDF) padded.append(2, ' ');  // half-width kana: 1, 3
    at += length;
  }
  return padded;
}

INT_PTR StartPrinterJob(char kindLetter, int originX, int originY,
                        int scale) {
  ReportOutputContext& r = g_reportOutput;
  const ReportUnitChoice units =
      ChooseReportUnits(kindLetter, r.printType, scale, r.scale);
  r.unitKind = units.unitKind;
  r.scale = units.scale;
  r.ySign = -1;
  r.originX = originX;
  r.originY = originY;

  const bool direct = kindLetter == 'o' || kindLetter == 'C';
  r.dc = direct ? CreateDefaultPrinterDC(&r.printerName)
                : RunPrintDialog(kindLetter, &r.printerName);
  if (!r.dc) {  // cancelled, or reported by the function that failed
    EndStopBetweenPagesOffer();
    ShowNormalCursor();
    return 0;
  }
  if (!direct && kindLetter != 'R' && (r.fromPrintSettings == 0 || StopBetweenPagesOffered())) {
    OpenAbortDialog();
    if (r.owner) EnableWindow(r.owner, FALSE);
    SetAbortProc(r.dc, ReportAbortProc);
  }
  const std::string name = SpooledDocumentName(r.documentName);
  DOCINFOA document{};
  document.cbSize = sizeof document;
  document.lpszDocName = name.c_str();
  if (StartDocA(r.dc, &document) <= 0) {
    // Undo everything the opening did before the message, so the program
    // is usable again whatever the caller does next.
    CloseAbortDialog();
    EndStopBetweenPagesOffer();
    if (r.owner) EnableWindow(r.owner, TRUE);
    DeleteDC(r.dc);
    r.dc = nullptr;
    ShowNormalCursor();
    ShowErrorMessage("", "“%s”の初期化ができません。", r.printerName.c_str());
    return 0;
  }
  r.jobOpen = true;
  StartPrintPage();
  return reinterpret_cast<INT_PTR>(r.dc);
}

// 0, or -1 when the spooler refused the last page or the document as it
// ended.
int EndPrinterJob() {
  ReportOutputContext& r = g_reportOutput;
  int rc = 0;
  if (r.pageOpen && EndPage(r.dc) <= 0) rc = -1;
  r.pageOpen = false;
  if (!r.documentAborted) {
    // A document without a page is dropped rather than sent empty. The
    // spooler hands the document on as it ends (Wine's to CUPS), so a
    // printer that will not take it is seen here.
    if (r.pagesStarted > 0) {
      if (EndDoc(r.dc) <= 0) rc = -1;
    } else {
      AbortDoc(r.dc);
    }
  }
  ReleaseReportFont();
  DeleteDC(r.dc);
  r.dc = nullptr;
  if (r.owner) EnableWindow(r.owner, TRUE);
  EndStopBetweenPagesOffer();
  CloseAbortDialog();
  if (r.fromPrintSettings != 0) return rc;
  if (r.previewWindow) {
    InvalidateRect(r.previewWindow, nullptr, TRUE);
    UpdateWindow(r.previewWindow);
  }
  if (r.requestingWindow) {
    SendMessageA(r.requestingWindow, kMsgPreviewOutput, r.requestParameter, 0);
  }
  return rc;
}

}  // namespace

bool ReportTextFileWritten() { return g_reportOutput.textWritten; }

HDC ReportMeasureDC() {
  return ReportDraws() ? g_reportOutput.dc : nullptr;
}

HDC ReportDrawDC() {
  ReportOutputContext& r = g_reportOutput;
  if (!ReportDraws()) return nullptr;
  if (!ReportOnPrinter() || r.pageOpen) return r.dc;
  if (r.aborted || r.documentAborted) return nullptr;
  if (StartPrinterPage(r.dc) <= 0) {
    r.aborted = 1;  // callers stop at their next AbortPrintJob
    return nullptr;
  }
  r.pageOpen = true;
  ++r.pagesStarted;
  ApplyPrinterMapping();
  return r.dc;
}

int BeginReportOutput(HWND window, int paperCode, int orientation,
                      int fontSize, int leftMargin, int topMargin) {
  ReportOutputContext& r = g_reportOutput;
  r.owner = window;
  r.paperCode = paperCode;
  r.orientation = orientation;
  r.fontSize = fontSize;
  r.leftMargin = leftMargin;
  r.topMargin = topMargin;
  r.printType = 0;
  r.fromPrintSettings = -1;
  return 0;
}

int BeginReportOutputActive(int paperCode, int orientation, int fontSize,
                            int leftMargin, int topMargin) {
  return BeginReportOutput(GetActiveWindow(), paperCode, orientation,
                           fontSize, leftMargin, topMargin);
}

INT_PTR StartPrintJob(int mode, const char* kindText, int originX,
                      int originY, int scale) {
  if (g_reportOutput.jobOpen) EndPrintJob();  // jobs do not nest
  ResetJobState(mode);
  switch (mode) {
    case kReportPreview: return StartPreviewJob();
    case kReportPrinter:
      return StartPrinterJob(kindText ? kindText[0] : '\0', originX, originY,
                             scale);
    case kReportTextFile: return StartTextFileJob(kindText);
    case kReportNone: return 1;
    default: ShowNormalCursor(); return 0;
  }
}

INT_PTR StartPrintJobDefault(int mode, const char* kindText) {
  return StartPrintJob(mode, kindText, 0, 0, -1);
}

int StartPrintPage() {
  ReportOutputContext& r = g_reportOutput;
  if (!ReportOnPrinter() || !r.dc) return 0;
  ApplyPrinterMapping();
  if (r.unitKind == kUnitSheetMm) {
    r.leftCorrection = 0;
    r.unitDivisor = CurrentScreenCharUnit();
  } else {
    r.leftCorrection = 9;
    r.unitDivisor = 0;
  }
  if (r.printType != 3 && r.printType != 37) {
    r.fontFace = -1;
    r.fontHeight = -1;
    SelectPrinterFont(0, 2 * r.fontSize * r.scale);
  }
  return 0;
}

int BeginPrintPage() {
  const ReportOutputContext& r = g_reportOutput;
  if (!ReportOnPrinter() || !r.dc || r.pageOpen) return 0;
  return ReportDrawDC() ? 0 : -1;
}

int NextPrintPage() {
  ReportOutputContext& r = g_reportOutput;
  if (ReportOnPrinter() && r.pageOpen) {
    // A page the spooler refuses ends the document (the user aborted it
    // through the abort procedure, or the printer failed).
    if (EndPage(r.dc) <= 0) {
      r.aborted = 1;
      r.documentAborted = true;
    }
    r.pageOpen = false;
  }
  ResetCursor();
  return 0;
}

int EndPrintJob() {
  ReportOutputContext& r = g_reportOutput;
  int rc = 0;
  if (r.jobOpen) {
    r.jobOpen = false;
    switch (r.mode) {
      case kReportPreview: EndPreviewOutput(); break;
      case kReportPrinter: rc = EndPrinterJob(); break;
      case kReportTextFile:
        WriteReportCsvLine();  // a last line the caller did not end
        r.textWritten = FinishTextFile(r);
        break;
      default: break;
    }
  }
  ShowNormalCursor();
  return rc;
}

int AbortPrintJob() {
  ReportOutputContext& r = g_reportOutput;
  if (!ReportOnPrinter() || !r.jobOpen) return 0;
  PumpAbortDialogMessages();
  if (!r.aborted) return 0;
  if (!r.documentAborted) {
    AbortDoc(r.dc);
    r.documentAborted = true;
    r.pageOpen = false;
  }
  return -1;
}

int GetReportPageWidth() { return g_reportOutput.pageWidth; }
int GetReportPageHeight() { return g_reportOutput.pageHeight; }

HDC BeginPreviewOutput(HWND window, int scrollX, int scrollY) {
  ReportOutputContext& r = g_reportOutput;
  r.mode = kReportPreview;
  r.dc = GetDC(window);
  if (!r.dc) return nullptr;
  r.dcFromWindow = true;
  r.previewWindow = window;
  RECT client{};
  GetClientRect(window, &client);
  SetPreviewMapping(client.right, client.bottom, scrollX, scrollY);
  return r.dc;
}

void EndPreviewOutput() {
  ReportOutputContext& r = g_reportOutput;
  if (!r.dc) return;
  ReleaseReportFont();
  if (r.dcFromWindow) {
    ReleaseDC(r.previewWindow, r.dc);
  } else {
    RestoreDC(r.dc, r.savedDcState);
  }
  r.dc = nullptr;
}

void SetReportPreviewWindow(HWND window, double zoom) {
  g_reportOutput.previewWindow = window;
  g_reportOutput.previewDC = nullptr;
  g_reportOutput.previewZoom = zoom;
}

void SetReportPreviewDC(HDC dc, int width, int height, double zoom) {
  g_reportOutput.previewDC = dc;
  g_reportOutput.previewWidth = width;
  g_reportOutput.previewHeight = height;
  g_reportOutput.previewZoom = zoom;
}

HWND RegisterPrintSettingsClass() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = PrintSettingsWndProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  windowClass.lpszClassName = "Prn";
  if (!RegisterClassA(&windowClass) &&
      GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return nullptr;
  }
  const HWND window = CreateWindowA("Prn", "印刷設定", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                    0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr),
                                    nullptr);
  if (window) CreatePrintPreviewWindow(window);
  return window;
}

void SetPrintLineStyle(int style) { g_reportOutput.lineStyle = style; }
