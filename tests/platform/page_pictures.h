// Black-and-white pages for the tests of page files: a table of pictures
// that take the coders' paths (blank, black, noise, odd widths, single
// rows, long runs, slanted edges) and an A4 sheet as printed and filled,
// at a resolution. Portable.
#pragma once

#include <vector>

#include "tests/support/test_pictures.h"

struct NamedPicture {
  const char* name;
  Picture picture;
};

std::vector<NamedPicture> PagePictureCases();

// An A4 sheet at `dpi`: registration marks, ruled lines, rows of boxes
// (some marked by pen), lines of print-like text and a few specks. The same
// page on every run.
Picture SheetLikePage(int dpi);
