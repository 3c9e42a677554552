// Screen texts: the readable form of the screen definitions the program
// ships, one file per screen, loaded into the screen database's tables
// S_SCREEN, S_FIELD and S_LINE. A text holds one [screen] block, then a
// [field] block per field row and a [line] block per ruled line:
//
//   # the main menu           <- comment (a line beginning with "#")
//   [screen]
//   SCRCODE  = KQQL-MENU
//   SCRTYPE  = ﾒﾆｭｰ
//   SCRFKEY  = 2111111111122000
//   [field]
//   FLDCODE  = 001
//   FLDTITLE = "  終了  "
//   FLDCD    = #99
//
// Each line of a block is "COLUMN = value": the column as the table's
// specification names it, the value with the blanks around it dropped. A
// value in double quotes keeps its blanks ("" is an empty text). An
// unquoted "#" and a number gives a one-character column the byte of that
// code (command codes are stored that way); a repeated one-character column
// (SCRFKEY00 to SCRFKEY15) may be given by its base name, one character a
// position. Columns a block leaves out are stored empty: an empty text, 0,
// no character. [field] and [line] rows take SCRCODE from [screen]; fields
// are keyed by FLDCODE and lines by LINCODE, each unique in its screen.
//
// The parser is free of Windows calls: it works on the program's Shift-JIS
// text and checks every value against the column it goes into, so a text
// that would not store as written is refused before anything is stored.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/spc_file.h"

// The columns of the three tables, as their specification describes them.
struct ScreenTableColumns {
  std::vector<SpecColumn> screen;  // S_SCREEN (section SCRTBL)
  std::vector<SpecColumn> field;   // S_FIELD  (section FLDTBL)
  std::vector<SpecColumn> line;    // S_LINE   (section LINTBL)
};

// One row: every column of its table, in the order its description gives,
// with the text to store (numbers as decimal text, a character as its byte).
struct ScreenTextRow {
  std::vector<std::pair<std::string, std::string>> values;
  int lineNumber = 0;  // where its block begins
  // The stored text of a column, or "" when the table has no such column.
  const std::string& Value(const std::string& column) const;
};

struct ScreenText {
  ScreenTextRow screen;
  std::vector<ScreenTextRow> fields;
  std::vector<ScreenTextRow> lines;
  const std::string& Code() const { return screen.Value("SCRCODE"); }
};

// What is wrong with a text, and on which line (0: the text as a whole).
struct ScreenTextError {
  int lineNumber = 0;
  std::string message;
};

// Parses one screen text (Shift-JIS). False with `error` set when a line is
// not understood or a value does not fit its column.
bool ParseScreenText(std::string_view text, const ScreenTableColumns& columns, ScreenText& out,
                     ScreenTextError& error);
