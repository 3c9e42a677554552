// Choice texts split for the choice editor's fields and joined again.
#include "designer/choice_texts.h"

#include <algorithm>

#include "foundation/csv_token.h"
#include "foundation/sjis_text.h"

namespace {

constexpr int kEntryRoom = 128;

// Written as one character a choice: more than one choice, and no entry
// a comma list would need (a comma, a double-byte character or more than
// one byte).
bool IsRunOfCharacters(const std::string& text, size_t count) {
  if (count < 2) return false;
  for (const char* p = text.c_str(); *p; ++p) {
    if (*p == ',' || SjisCharLength(p) == 2) return false;
  }
  return true;
}

// An entry of a comma list as the tokenizer reads it back: quoted when it
// holds a comma or a quote, its quotes doubled.
std::string ListEntry(const std::string& field) {
  if (field.find_first_of(",\"") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

std::vector<std::string> SplitChoiceText(const std::string& text, int count) {
  std::vector<std::string> entries(static_cast<size_t>(std::max(count, 0)));
  if (text.empty() || entries.empty()) return entries;
  if (IsRunOfCharacters(text, entries.size())) {
    // A blank is a choice left empty.
    for (size_t i = 0; i < entries.size() && i < text.size(); ++i) {
      if (text[i] != ' ') entries[i] = std::string(1, text[i]);
    }
    return entries;
  }
  CsvCursor cursor;
  char token[kEntryRoom + 1];
  int rc = 0;
  // -1 after the last entry; -2 after an entry cut, where the tokenizer
  // gives up the rest of the text.
  for (size_t i = 0; i < entries.size() && rc >= 0; ++i) {
    rc = NextCsvTokenWith(cursor, token, kEntryRoom, text.c_str());
    entries[i] = token;
  }
  return entries;
}

std::string JoinChoiceTexts(const std::vector<std::string>& fields, bool values, const std::vector<bool>& hidden) {
  if (values) {
    if (std::all_of(fields.begin(), fields.end(), [](const std::string& f) { return f.empty(); })) return "";
    if (!fields.empty() && fields[0] == "〃") return "〃";
  }
  const bool list = fields.size() < 2 || std::any_of(fields.begin(), fields.end(), [](const std::string& f) {
                      return f.size() > 1 || f == ",";
                    });
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (list) {
      out += (i ? "," : "") + ListEntry(fields[i]);
    } else if (!fields[i].empty()) {
      out += fields[i];
    } else {
      out += values && i < hidden.size() && hidden[i] ? '^' : ' ';
    }
  }
  return out;
}
