// CSV tokenizer over one line with a program-wide cursor. Settings files,
// table-specification files, imports and comma lists in database columns all
// split through it, one line at a time.
#include "foundation/csv_token.h"

namespace {

CsvCursor g_csvCursor;

}  // namespace

int ResetCsvToken() {
  return NextCsvToken(nullptr, -1, nullptr);
}

int NextCsvToken(char* buf, int max, const char* line) {
  return NextCsvTokenWith(g_csvCursor, buf, max, line);
}

int NextCsvTokenWith(CsvCursor& cursor, char* buf, int max, const char* line) {
  if (max == -1) {
    cursor = {};
    return 0;
  }
  if (cursor.position == 0) cursor.fieldCount = 0;

  int copied = 0;
  bool quoted = false;
  for (;; ++cursor.position) {
    const char c = line[cursor.position];
    if (c == ',' && !quoted) {
      buf[copied] = '\0';
      ++cursor.fieldCount;
      ++cursor.position;
      if (cursor.fieldCount < kCsvFieldLimit) return cursor.position;
      cursor = {};
      return -1;
    }
    if (c == '\r') continue;
    if (c == '\n' || c == '\0') {
      buf[copied] = '\0';
      cursor = {};
      return -1;
    }
    if (c == '"') {
      // Inside quotes a doubled quote stands for one quote character, so a
      // field written with its quotes doubled reads back as it was.
      if (!(quoted && line[cursor.position + 1] == '"')) {
        quoted = !quoted;
        continue;
      }
      ++cursor.position;
    }
    if (copied >= max) {
      buf[copied] = '\0';
      cursor = {};
      return -2;
    }
    buf[copied++] = c;
  }
}
