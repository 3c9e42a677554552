// Table-specification files (".SPC"): the text that describes a table's
// columns, keys and database kind. One file may hold several descriptions,
// each starting at a line that begins with its section name:
//
//   [section line]
//   FIELD
//   "title","type word","name",size,repeat,decimals,"flag",width
//   INDEX
//   name,...,"▽" (more columns of this key follow) / "△" (last column)
//   DATABASE
//   MSJET | MSSQL | SBANY
//   END
//
// Pure parsing, free of Windows calls: the database layer reads the file and
// turns the result into column-table entries and messages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Column types of the column table.
constexpr int kColumnText = 1;
constexpr int kColumnChar = 2;
constexpr int kColumnShort = 3;
constexpr int kColumnDouble = 4;
constexpr int kColumnLong = 6;

// Longest declared text length a column may have.
constexpr int kMaxTextLength = 8000;
// Most columns one FIELD line may expand to.
constexpr int kMaxRepeatCount = 250;
// Most keys of one table.
constexpr int kMaxKeys = 15;

struct SpecColumn {
  std::string name;
  int type;      // kColumn...
  int length;    // declared text length; 1 for one character; the size field
                 // (a display length) for numbers
  char flag;     // first character of field 7
  int width;     // display width
  int decimals;
};

// Something in the file the reader tells the user about.
struct SpecNotice {
  enum Kind {
    kUnusedColumn,  // a name beginning "*": kept with "d" in its place
    kUnknownType,   // a type word the column table has no buffer for: skipped
    kBadLength,     // a text length below 1 or above kMaxTextLength: skipped
  };
  Kind kind;
  std::string name;   // the column name as written
  std::string value;  // the type word or the size field
};

struct SpecColumns {
  std::vector<SpecColumn> columns;
  std::vector<SpecNotice> notices;
};

// The columns of the FIELD list of the description that begins at the first
// line starting with `section` (the first FIELD list when `section` is
// empty), repeat counts expanded ("%s%02d" from 00).
SpecColumns ParseSpecColumns(std::string_view text, const char* section);

struct SpecKeys {
  std::string keyText;  // "A,B,C|D": "," between columns, "|" between keys
  int keyCount;
  int specKind;         // 1 MSJET, 2 MSSQL, 4 SBANY, 0 none
};

// The keys of the INDEX list and the kind of the DATABASE section of the
// description named `section`; at most kMaxKeys keys.
SpecKeys ParseSpecKeys(std::string_view text, const char* section);

// "%s\%s.SPC" of a folder and a file name, or "%s\%s" when the name has a
// three-letter extension already; the name alone for an empty folder.
std::string BuildSpecPath(const char* folder, const char* file);

// Reads a whole file; false when it cannot be opened.
bool ReadWholeFile(const char* path, std::string& text);
