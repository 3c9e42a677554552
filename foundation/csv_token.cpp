// CSV tokenizer over one record with a program-wide cursor. Settings files,
// table-specification files, imports and comma lists in database columns all
// split through it, one record at a time.
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

std::vector<std::string> SplitCsvFields(const char* line, int maxBytes, int maxFields) {
  std::vector<std::string> fields;
  CsvCursor cursor;
  std::string field(static_cast<size_t>(maxBytes) + 1, '\0');
  int rc;
  do {
    rc = NextCsvTokenWith(cursor, field.data(), maxBytes, line);
    fields.emplace_back(field.c_str());
  } while (rc >= 0 && static_cast<int>(fields.size()) < maxFields);
  return fields;
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
    // Line ends inside quotes belong to the field, as spreadsheet programs
    // write them; outside, CR is dropped and LF ends the record.
    if (c == '\r' && !quoted) continue;
    if ((c == '\n' && !quoted) || c == '\0') {
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

namespace {

// True when a record that starts at `from` and ends before `to` leaves a
// quote open; `quoted` carries the state of the record's earlier lines.
// Every quote turns quoting on or off: a doubled one inside quotes turns it
// off and on again, as the tokenizer reads it.
bool EndsQuoted(std::string_view text, size_t from, size_t to, bool quoted) {
  for (size_t i = from; i < to; ++i) {
    if (text[i] == '"') quoted = !quoted;
  }
  return quoted;
}

}  // namespace

bool NextCsvRecord(std::string_view text, size_t& position, std::string& record) {
  if (position >= text.size()) return false;
  const size_t start = position;
  bool quoted = false;
  size_t end = start;
  for (;;) {
    const size_t lineFeed = text.find('\n', end);
    const size_t lineEnd = lineFeed == std::string_view::npos ? text.size() : lineFeed;
    quoted = EndsQuoted(text, end, lineEnd, quoted);
    if (!quoted || lineFeed == std::string_view::npos) {
      position = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
      end = lineEnd;
      break;
    }
    end = lineFeed + 1;
  }
  // A byte of "\n" or "\r" is never part of a double-byte character.
  if (end > start && text[end - 1] == '\r' && !(end == text.size() && quoted)) --end;
  record.assign(text.substr(start, end - start));
  return true;
}

int CountCsvFields(std::string_view record) {
  int fields = 1;
  bool quoted = false;
  for (char c : record) {
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted) ++fields;
    if (c == '\n' && !quoted) break;
  }
  return fields;
}
