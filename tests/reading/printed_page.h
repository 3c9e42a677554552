// A sheet the program printed, rendered and made 1-bit as a scanner's
// threshold makes it: its pixels, a copy of it for a person to look at,
// its registration marks and where the reader measures a field's boxes on
// it. Shared by the tests of printed sheets.
#pragma once

#include <string>
#include <vector>

#include "reading/sheet_core.h"
#include "tools/sheetgen/sheet_generator.h"

struct PrintedPage {
  const GeneratedSheet& sheet;
  bool Black(int x, int y) const {
    return x >= 0 && y >= 0 && x < sheet.width && y < sheet.height &&
           sheet.black[static_cast<size_t>(y) * sheet.width + x];
  }
  // Black pixels a thousand over a box, its edges included, half up: as
  // the reader measures square boxes.
  int DensityPerMille(const BoxRect& box) const;
  // Whether a line runs along a box's side ('L', 'R', 'T' or 'B') within
  // `reach` pixels outside it: a column (or row) outside the side black
  // over most of the middle half of the side.
  bool FramedOutside(const BoxRect& box, int reach, char side) const;
};

// One plain sheet of the sheet open in the canvas printed at 600 dpi on the
// printer that cannot print the outer 5 mm of the paper, rendered at each
// of `dpis` and made 1-bit by a scanner's threshold halfway: 0, or -1 with
// `fault` saying why.
int PrintWithMargins(const std::vector<int>& dpis, std::vector<GeneratedSheet>* pages,
                     std::string* fault);

// The page into the pictures' folder (SHEETDESK_PICTURES) as `name` when
// one is named, for a person to look at.
void KeepPicture(const GeneratedSheet& page, const char* name);

// The marks of a printed page as the reader finds them, expected (a test
// failure otherwise) where those of the sheet drawn on the paper at its
// millimetres stand.
ReferenceMarks ExpectMarksInPlace(const SheetDefinition& sheet, const GeneratedSheet& printed);

// The boxes of check field `row` as the reader measures them on `printed`
// at the printer's true scale, the page registered by its top-left mark.
std::vector<BoxRect> MeasuredBoxes(const SheetDefinition& sheet, const SheetFieldRow& row,
                                   const GeneratedSheet& printed);
