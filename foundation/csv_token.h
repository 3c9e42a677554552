// The program-wide CSV tokenizer: one comma-separated line split field by
// field through a hidden cursor.
#pragma once

// Field limit of one line: the field that brings the count of commas to this
// number is returned as the last one.
constexpr int kCsvFieldLimit = 1000;

// Where the next field of a line starts, and how many fields were ended by a
// comma so far. The tokenizer keeps one; a splitter that runs beside it (for
// nested use) keeps its own and calls NextCsvTokenWith.
struct CsvCursor {
  int position = 0;
  int fieldCount = 0;
};

// Resets the cursor and the field count; returns 0.
int ResetCsvToken();

// Copies the next field of `line` into `buf` (room for max + 1 bytes).
// Returns the new cursor when a comma ended the field, -1 after the last
// field (end of text, line feed, or the field limit), -2 when the field was
// cut at `max` bytes. Quotes protect commas and are dropped, but a doubled
// quote inside quotes gives one quote character; CR is skipped;
// Shift-JIS bytes pass through whole. A max of -1 only resets (returns 0).
int NextCsvToken(char* buf, int max, const char* line);
// NextCsvToken on the caller's own cursor.
int NextCsvTokenWith(CsvCursor& cursor, char* buf, int max, const char* line);
