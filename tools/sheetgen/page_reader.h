// Generated pages read in memory the way the reading run reads a scanned
// page: specks erased, marks searched, the page turned straight (or round)
// and searched again, compensated against the reference marks and every
// check field measured. The benchmarks and the tests of the generator use
// it; the run itself goes through files and the imaging library.
#pragma once

#include <string>
#include <vector>

#include "reading/sheet_core.h"
#include "tools/sheetgen/sheet_generator.h"

// A generated page as a loaded sheet image (black first, as scanners write).
SheetImage SheetImageFromGenerated(const GeneratedSheet& sheet);

// The box reader's view of a field row, as the sheet canvas builds it.
SheetFieldSpec FieldSpecFromRow(const SheetFieldRow& row);
// The grid scale of a side at a resolution.
SheetScale SheetScaleFor(const SheetPaperRow& paper, int dpi);

struct PageReading {
  bool read = false;             // false: a needed mark was missing
  MissingMark missing = MissingMark::kNone;
  double tilt = 0;
  int turnedHundredths = 0;      // how far the page was turned
  ImageCompensation compensation;
  std::vector<std::string> marks;  // "1" or " " a box, field by field
  // The boxes measured, field by field, on the page as turned straight:
  // where recognised characters of a write-in field would come from.
  std::vector<std::vector<BoxRect>> boxes;
};

// Reads `page` (changed on the way: specks erased, turned) against the
// references registered for it; `fields` in the order of the result.
// `pairedSide` 1 or 2 reads it as that side of a two-sided operation scan,
// whose marks must agree with the side's printing.
PageReading ReadPageInMemory(SheetImage* page, const SheetPaperRow& paper,
                             const ReferenceMarks& references,
                             const std::vector<SheetFieldSpec>& fields, int pairedSide = 0);

// The references a clean page of the definition registers: its marks as
// the mark search finds them, and the paper's grid scale. With
// `printedPage`, the page the program printed is registered instead.
ReferenceMarks RegisterCleanPage(const SheetDefinition& definition, const std::string& side,
                                 int dpi, const GeneratedSheet* printedPage = nullptr);
// The MUPA_HMK row of those references: what the designer stores when it
// registers a clean page of the side at `dpi` (or `printedPage`).
SheetMarkRow RegisteredMarkRow(const SheetDefinition& definition, const std::string& side,
                               int dpi, const GeneratedSheet* printedPage = nullptr);
