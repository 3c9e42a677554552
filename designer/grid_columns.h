// The columns of the grid editors, one table per grid: title, table
// column, stored as a number or a text, the bytes a cell holds, its width
// in characters, kind and edit letters of the screen engine, guide text and
// candidates. Private to the grid files.
#pragma once

#include <cstddef>

struct GridColumn {
  const char* title;
  const char* column;
  bool number;
  int length;
  int width;
  char kind;
  char edit;
  const char* guide;
  const char* choices;
};

struct GridColumns {
  const GridColumn* columns;
  size_t count;
  char codeKind;  // of the rows' codes: '0' fields, 'T' text items, 0 not area codes
};

extern const GridColumns kWriteInFieldColumns;
extern const GridColumns kTextItemColumns;
extern const GridColumns kOutputSettingsColumns;
extern const GridColumns kDescriptionTextColumns;
extern const GridColumns kQuestionTextColumns;
extern const GridColumns kEnclosureFrameColumns;
extern const GridColumns kFieldOrderColumns;
extern const GridColumns kTextOrderColumns;
extern const GridColumns kFieldMoveColumns;
extern const GridColumns kTextMoveColumns;
