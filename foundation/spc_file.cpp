// Parser of table-specification files: columns, keys and database kind.
#include "foundation/spc_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "foundation/csv_token.h"

namespace {

constexpr size_t kSpecLineSize = 4096;
constexpr int kFieldsPerLine = 20;
constexpr int kMarkFieldLast = 10;

// Key marks in Shift-JIS: "▽" more columns follow, "△" last column.
constexpr char kMarkContinues[] = "\x81\xa4";
constexpr char kMarkLast[] = "\x81\xa2";

// Walks the lines of a text; each line without its line end and cut at the
// line size the files are written with.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool Next(std::string& line) {
    if (position_ >= text_.size()) return false;
    size_t end = text_.find('\n', position_);
    if (end == std::string_view::npos) end = text_.size();
    line.assign(text_.substr(position_, std::min(end - position_, kSpecLineSize - 1)));
    while (!line.empty() && line.back() == '\r') line.pop_back();
    position_ = end + 1;
    return true;
  }

 private:
  std::string_view text_;
  size_t position_ = 0;
};

bool BeginsWith(const std::string& line, const char* word) {
  return line.compare(0, std::strlen(word), word) == 0;
}

// Moves past the line that begins with `word`; false when there is none.
bool SkipTo(LineReader& reader, const char* word) {
  std::string line;
  while (reader.Next(line)) {
    if (BeginsWith(line, word)) return true;
  }
  return false;
}

// Positions the reader after the line of `section` (when given) and the line
// that begins with `start`.
bool SkipToPart(LineReader& reader, const char* section, const char* start) {
  if (section && *section && !SkipTo(reader, section)) return false;
  return SkipTo(reader, start);
}

std::string Trim(const char* text) {
  std::string s = text;
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The fields of one CSV line, blanks around each dropped.
std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::vector<char> field(line.size() + 1);
  CsvCursor cursor;
  int rc;
  do {
    rc = NextCsvTokenWith(cursor, field.data(), static_cast<int>(line.size()), line.c_str());
    fields.push_back(Trim(field.data()));
  } while (rc > 0 && fields.size() < kFieldsPerLine);
  return fields;
}

// Field `index` of a line; "" when the line has fewer fields.
const std::string& FieldAt(const std::vector<std::string>& fields, size_t index) {
  static const std::string kAbsent;
  return index < fields.size() ? fields[index] : kAbsent;
}

int NumberField(const std::vector<std::string>& fields, size_t index) {
  return std::atoi(FieldAt(fields, index).c_str());
}

bool EqualsNoCase(const std::string& a, const char* b) {
  return strcasecmp(a.c_str(), b) == 0;
}

// Column type and length of a type word; false for a word without a buffer.
bool TypeFromWord(const std::string& word, int size, int& type, int& length) {
  length = size > 0 ? size : 0;
  if (EqualsNoCase(word, "char")) {
    type = kColumnChar;
    length = 1;
  } else if (EqualsNoCase(word, "char*")) {
    type = kColumnText;
    length = size;
  } else if (EqualsNoCase(word, "int")) {
    type = kColumnShort;
  } else if (EqualsNoCase(word, "double") || EqualsNoCase(word, "float")) {
    type = kColumnDouble;
  } else if (EqualsNoCase(word, "long")) {
    type = kColumnLong;
  } else {
    return false;
  }
  return true;
}

void AddColumnLine(const std::vector<std::string>& fields, SpecColumns& out) {
  const std::string& word = FieldAt(fields, 1);
  std::string name = FieldAt(fields, 2);
  if (name.empty()) return;  // a blank line or one without a column
  SpecColumn column{};
  const int size = NumberField(fields, 3);
  if (!TypeFromWord(word, size, column.type, column.length)) {
    out.notices.push_back({SpecNotice::kUnknownType, name, word});
    return;
  }
  if (column.type == kColumnText && (size < 1 || size > kMaxTextLength)) {
    out.notices.push_back({SpecNotice::kBadLength, name, FieldAt(fields, 3)});
    return;
  }
  if (name[0] == '*') {
    out.notices.push_back({SpecNotice::kUnusedColumn, name, std::string()});
    name[0] = 'd';
  }
  column.decimals = NumberField(fields, 5);
  column.flag = FieldAt(fields, 6)[0];
  column.width = NumberField(fields, 7);

  const int repeatField = NumberField(fields, 4);
  int repeat = repeatField;
  if (repeat < 1 || repeat > kMaxRepeatCount) repeat = 1;
  if (repeatField <= 0) {
    column.name = name;
    out.columns.push_back(column);
    return;
  }
  for (int i = 0; i < repeat; ++i) {
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, "%02d", i);
    column.name = name + suffix;
    out.columns.push_back(column);
  }
}

bool EndsList(const std::string& line) {
  return BeginsWith(line, "INDEX") || BeginsWith(line, "DATABASE") || BeginsWith(line, "END");
}

}  // namespace

SpecColumns ParseSpecColumns(std::string_view text, const char* section) {
  SpecColumns out;
  LineReader reader(text);
  if (!SkipToPart(reader, section, "FIELD")) return out;
  std::string line;
  while (reader.Next(line) && !EndsList(line)) AddColumnLine(SplitFields(line), out);
  return out;
}

SpecKeys ParseSpecKeys(std::string_view text, const char* section) {
  SpecKeys keys{};
  LineReader reader(text);
  if (SkipToPart(reader, section, "INDEX")) {
    bool continuing = false;
    std::string line;
    while (keys.keyCount < kMaxKeys && reader.Next(line)) {
      if (BeginsWith(line, "FIELD") || BeginsWith(line, "DATABASE") || BeginsWith(line, "END")) break;
      const std::vector<std::string> fields = SplitFields(line);
      if (fields[0].empty()) break;
      std::string mark;
      for (size_t i = 1; i < fields.size() && i < kMarkFieldLast; ++i) {
        if (fields[i] == kMarkContinues || fields[i] == kMarkLast) mark = fields[i];
      }
      keys.keyText += fields[0];
      if (mark == kMarkContinues || (mark.empty() && continuing)) {
        keys.keyText += ',';
        continuing = true;
      } else {
        keys.keyText += '|';
        continuing = false;
        ++keys.keyCount;
      }
    }
    if (!keys.keyText.empty()) keys.keyText.pop_back();
    // A list that ends inside a key still counts that key.
    if (continuing) ++keys.keyCount;
  }

  LineReader kinds(text);
  if (SkipToPart(kinds, section, "DATABASE")) {
    std::string line;
    while (kinds.Next(line) && !BeginsWith(line, "END")) {
      if (BeginsWith(line, "MSJET")) keys.specKind = 1;
      if (BeginsWith(line, "MSSQL")) keys.specKind = 2;
      if (BeginsWith(line, "SBANY")) keys.specKind = 4;
    }
  }
  return keys;
}

std::string BuildSpecPath(const char* folder, const char* file) {
  const size_t length = std::strlen(file);
  const bool hasExtension = length >= 4 && file[length - 4] == '.';
  std::string path;
  if (*folder) path = std::string(folder) + "\\";
  path += file;
  if (!hasExtension) path += ".SPC";
  return path;
}

bool ReadWholeFile(const char* path, std::string& text) {
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  text.clear();
  char buffer[8192];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  std::fclose(file);
  return true;
}
