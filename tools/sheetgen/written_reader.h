// Handwriting of a read page's write-in field read with MUPA32, a character
// a box, for the tests that check what the generator wrote where the
// reading run lays out the boxes. (The programs themselves store write-in
// fields as blanks for operators to type in.)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "reading/sheet_core.h"

// Reads the ink of every box of `page` through MupaExecuteOneChar with the
// dictionary file `dictionary` set to the character types `mask` (1 digits,
// 2 capitals). Each box gives its best candidate as a half-width character,
// a blank when the box holds no ink, "?" when nothing was recognised.
// 0, or -1 when the library or the dictionary could not be set up (`why`
// says which).
int ReadWrittenBoxes(const SheetImage& page, const std::vector<BoxRect>& boxes,
                     const char* dictionary, uint32_t mask, std::string* text, std::string* why);
