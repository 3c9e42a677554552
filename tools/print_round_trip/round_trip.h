// The printing round trip: sheets printed by the program to a PDF, rendered
// to 1-bit pages by a PDF rasteriser, filled by the sheet generator's pen on
// the rendered page, scanned with the generator's degradations (shift, skew,
// scale, specks) and read with the reading run's steps; every box read must
// be the box filled, and the printed numbers must stand in their field.
// Shared by the round-trip test, tools/print_round_trip and the benchmark.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tally/sheet_printing.h"
#include "tests/tally/print_capture.h"
#include "tools/sheetgen/sheet_generator.h"

// The sheet: A4 upright, three registration marks, rows of check boxes of
// several sizes, gaps and shapes, and the write-in field "ID" that takes
// the identification numbers (6 boxes).
SheetDefinition RoundTripSheet();

// Makes `work` the sheet-definition folder of `definition` (the table
// descriptions copied from the program's folder, frames pale) and opens
// its front in the sheet canvas (window slot 0), as the workbench does.
// 0, or -1 after the message.
int OpenRoundTripSheet(const std::string& work, const SheetDefinition& definition);

// Prints the sheet's frames pale, as a drop-out colour that the scanner's
// threshold leaves out (MUPA_PAP of the sheet definition in `folder`,
// `database`). 0, or -1 after the database layer's message.
int UsePaleFrames(const char* folder, const char* database);

// A rendered page as a 1-bit page as a scanner's threshold makes it:
// black below grey `blackBelow`; at the default of 64 pale frames (grey
// about 100) drop out, the marks, numbers and texts printed black stay.
GeneratedSheet PrintedPageOf(const PdfPage& page, int blackBelow = 64);

// The page with black pixels strewn thinly over box `box` (from 0) of the
// check field `field` of side "0001", as an eraser leaves a mark after the
// scanner's threshold: a few in a thousand.
GeneratedSheet SmudgedPage(const SheetDefinition& definition, const GeneratedSheet& printed,
                           const std::string& field, int box);

// Prints the numbered sheets `first` to `last` of the sheet open in the
// canvas through the print dialog (the default printer at `printerDpi`) and
// renders the job at each of `dpis`. 0, or -1 (then `why` says what).
int PrintNumberedSheets(const std::string& first, const std::string& last, int printerDpi,
                        const std::vector<int>& dpis, std::vector<std::vector<PdfPage>>* pages,
                        std::string* why);

// Why sheets cannot be printed on the printer that cannot print the outer
// 5 mm of the paper (kMarginsPrinter), or empty when they can.
std::string MarginsPrinterMissing();

// Prints one plain sheet of the sheet open in the canvas on `printer` at
// `printerDpi`, and renders the job as above.
int PrintPlainSheets(const std::string& printer, int printerDpi, const std::vector<int>& dpis,
                     std::vector<std::vector<PdfPage>>* pages, std::string* why);

// Prints one sheet a row of the master `master.table` (its rows whose
// printflag is 1), the values of `master.columns` in the fields of those
// names, and renders the job as above.
int PrintMergedSheets(const MergeDefinition& master, int printerDpi, const std::vector<int>& dpis,
                      std::vector<std::vector<PdfPage>>* pages, std::string* why);

struct RoundTripCase {
  int dpi = 300;
  uint32_t seed = 1;
  bool degrade = true;   // shift, skew and scale within the reader's limits, specks
};
struct RoundTripResult {
  bool read = false;         // the marks were found and the page read
  int boxes = 0, wrong = 0;  // boxes compared, boxes read otherwise than filled
  std::vector<std::string> faults;  // "<field>: filled ..., read ..."
  double seconds = 0;        // of the reading alone
};
// Fills `printed` (a clean printed page at `c.dpi`) with the generator's
// pen and scans it as `c` asks: the page to feed, with what was filled
// and what the reading run stores for it (its `expected`).
GeneratedSheet FillPrintedPage(const SheetDefinition& definition, const GeneratedSheet& printed,
                               const RoundTripCase& c);
// Fills and scans `printed` (a clean printed page at `c.dpi`) and reads it
// against the references the clean printed page registers.
RoundTripResult ReadFilledPage(const SheetDefinition& definition, const GeneratedSheet& printed,
                               const RoundTripCase& c);
// The same on the generator's own page of the sheet (same fills and
// scan): the baseline of the reading speed.
RoundTripResult ReadGeneratedPage(const SheetDefinition& definition, const RoundTripCase& c);

// Ink of `page` inside and just outside the boxes of write-in field `name`
// as the reader lays them out (marks registered on the page itself): the
// printed number must be inside, nothing outside.
struct FieldInk {
  int inside = 0, outside = 0;
  int boxesInked = 0, boxes = 0;
};
FieldInk InkOfField(const SheetDefinition& definition, const GeneratedSheet& page,
                    const std::string& name);
