// The program-wide CSV tokenizer: one comma-separated record split field by
// field through a hidden cursor, and the reader that takes the records of a
// CSV text as spreadsheet programs write them (a quoted field may hold line
// ends). Writers and readers of the program's CSV files agree on both.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Field limit of one record, for readers and writers alike: the field that
// brings the count of commas to this number is returned as the last one, and
// a writer writes no more (and says so).
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
// cut at `max` bytes. Quotes protect commas, CR and LF and are dropped, but a
// doubled quote inside quotes gives one quote character; outside quotes CR
// is skipped; Shift-JIS bytes pass through whole. A max of -1 only resets
// (returns 0).
int NextCsvToken(char* buf, int max, const char* line);
// NextCsvToken on the caller's own cursor.
int NextCsvTokenWith(CsvCursor& cursor, char* buf, int max, const char* line);
// Every field of one record in turn, through a cursor of its own: each cut
// at `maxBytes` as NextCsvToken cuts it, and no more than `maxFields` of
// them.
std::vector<std::string> SplitCsvFields(const char* line, int maxBytes, int maxFields = kCsvFieldLimit);

// Takes the next record of a CSV text from `position`: the physical lines up
// to one that ends outside double quotes, joined with the line ends inside
// quotes kept and without the record's own CR LF (or LF). False at the end
// of the text; `position` moves past the record.
bool NextCsvRecord(std::string_view text, size_t& position, std::string& record);
// The number of fields NextCsvToken finds in a record when it has no limit;
// a record of more than kCsvFieldLimit fields cannot be read whole.
int CountCsvFields(std::string_view record);
