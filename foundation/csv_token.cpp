// CSV tokenizer over one line with a program-wide cursor. Settings files,
// table-specification files, imports and comma lists in database columns all
// split through it, one line at a time.
#include "foundation/csv_token.h"

namespace {

struct CsvCursor {
  int position = 0;    // byte offset of the next field in the line
  int fieldCount = 0;  // fields ended by a comma so far
};

CsvCursor g_csvCursor;

}  // namespace

int ResetCsvToken() {
  return NextCsvToken(nullptr, -1, nullptr);
}

int NextCsvToken(char* buf, int max, const char* line) {
  if (max == -1) {
    g_csvCursor = {};
    return 0;
  }
  if (g_csvCursor.position == 0) g_csvCursor.fieldCount = 0;

  int copied = 0;
  bool quoted = false;
  for (;; ++g_csvCursor.position) {
    const char c = line[g_csvCursor.position];
    if (c == ',' && !quoted) {
      buf[copied] = '\0';
      ++g_csvCursor.fieldCount;
      ++g_csvCursor.position;
      if (g_csvCursor.fieldCount < kCsvFieldLimit) return g_csvCursor.position;
      g_csvCursor = {};
      return -1;
    }
    if (c == '\r') continue;
    if (c == '\n' || c == '\0') {
      buf[copied] = '\0';
      g_csvCursor = {};
      return -1;
    }
    if (c == '"') {
      // Inside quotes a doubled quote stands for one quote character, so a
      // field written with its quotes doubled reads back as it was.
      if (!(quoted && line[g_csvCursor.position + 1] == '"')) {
        quoted = !quoted;
        continue;
      }
      ++g_csvCursor.position;
    }
    if (copied >= max) {
      buf[copied] = '\0';
      g_csvCursor = {};
      return -2;
    }
    buf[copied++] = c;
  }
}
