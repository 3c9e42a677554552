// Real printing in tests: the print dialog answered with the default
// printer, and the pages of a finished job read back from the PDF that the
// CUPS PDF printer writes into its folder (that of its configuration, else
// SHEETDESK_PDF_DIR), rendered by pdftoppm or read as text by
// tests/support/pdf_text.py.
// Jobs are told apart by their document name, so runs may print at once.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/test_hooks.h"

// The default printer's name from the profile; "" when there is none.
std::string DefaultPrinterName();
// Why printing cannot be tested here ("" when it can): no PDF folder or no
// default printer.
std::string PrintingUnavailable();

// Answer for the dialog hook: the print dialog returns a DC of the default
// printer made with the DEVMODE the program passed (as a person pressing
// OK would); every other dialog runs for real.
INT_PTR ChooseDefaultPrinter(const ModalDialogCall& call);
// The same with the printer's resolution set to `dpi` in the dialog, as a
// person choosing it would (0: the resolution the printer offers first).
INT_PTR ChooseDefaultPrinterAt(const ModalDialogCall& call, int dpi);
// The same with the printer named `printer` chosen in the dialog.
INT_PTR ChoosePrinterAt(const ModalDialogCall& call, const std::string& printer, int dpi);

// The printer "MARGINS" of the tests' cupsd: a PDF printer that cannot
// print the outer 5 mm of the paper, as an ordinary printer. PrinterMissing
// says why a printer cannot be used ("" when it can).
constexpr char kMarginsPrinter[] = "MARGINS";
std::string PrinterMissing(const char* printer);

// The printer "REFUSING" of the tests' cupsd, which rejects every job: the
// print dialog answered with it. RefusingPrinterMissing says why it cannot
// be used ("" when it can).
INT_PTR ChooseRefusingPrinter(const ModalDialogCall& call);
std::string RefusingPrinterMissing();

// A document name no other job of any test run uses.
std::string UniqueDocumentName(const char* what);

// One rendered page, 8-bit grey, 0 black; rendered in colour, also its
// red, green and blue bytes.
struct PdfPage {
  int width = 0, height = 0, dpi = 0;
  std::vector<unsigned char> gray;
  std::vector<unsigned char> rgb;  // empty for a page rendered grey
  // Pixels within `tolerance` of `colour` in each of red, green and blue
  // inside a rectangle given in millimetres (none on a grey page).
  int ColourInMm(double leftMm, double topMm, double rightMm, double bottomMm, COLORREF colour,
                 int tolerance = 24) const;
  int At(int x, int y) const { return gray[static_cast<size_t>(y) * width + x]; }
  // Pixel of a point given in millimetres from the paper's top left.
  int AtMm(double xMm, double yMm) const;
  // True when a dark pixel lies within `tolerancePx` of the point.
  bool DarkNearMm(double xMm, double yMm, int tolerancePx = 2) const;
  // Pixels darker than `level` (grey and coloured ink included at the
  // default) inside a rectangle given in millimetres.
  int InkInMm(double leftMm, double topMm, double rightMm, double bottomMm, int level = 200) const;
};

// Waits (up to `seconds`) for the PDF of the job named `documentName` to be
// whole: its path, or "" when none came.
std::string WaitForPdfFile(const std::string& documentName, int seconds);
// Waits (up to 60 s) for the PDF of the job named `documentName`, renders
// its pages at `dpi` and deletes the PDF. Empty when no PDF came.
std::vector<PdfPage> WaitForPrintedPages(const std::string& documentName,
                                         int dpi);
// The same job's pages rendered in colour.
std::vector<PdfPage> WaitForPrintedColourPages(const std::string& documentName, int dpi);
// The same job's pages rendered at each of `dpis` (one list a resolution).
std::vector<std::vector<PdfPage>> WaitForPrintedPagesAt(const std::string& documentName,
                                                       const std::vector<int>& dpis);

// One piece of text a page prints, where it starts (points from the page's
// bottom left) and what it says, in the program's Shift-JIS.
struct PdfTextRun {
  int page = 0;  // from 1
  double x = 0, y = 0;
  std::string text;
};
struct PdfText {
  int pages = 0;
  std::vector<PdfTextRun> runs;  // in the order they were drawn
};
// Waits (up to 60 s) for the PDF of the job named `documentName`, reads its
// text and deletes the PDF. No pages when no PDF came.
PdfText WaitForPrintedText(const std::string& documentName);
