// Parser of screen texts (screen_text.h): blocks of "COLUMN = value" lines,
// each value checked against the column of its table.
#include "screen/screen_text.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

#include "foundation/sjis_text.h"

namespace {

enum class Block { kNone, kScreen, kField, kLine };

const std::string kEmpty;

std::string Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::string();
  const size_t last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

// A message with up to two "%s" filled in.
std::string Format(const char* format, const std::string& a, const std::string& b = "") {
  char text[512];
  std::snprintf(text, sizeof text, format, a.c_str(), b.c_str());
  return text;
}

bool IsNumberColumn(const SpecColumn& c) {
  return c.type == kColumnShort || c.type == kColumnLong || c.type == kColumnDouble;
}

// The stored text of an empty value of a column.
std::string EmptyValue(const SpecColumn& c) { return IsNumberColumn(c) ? "0" : ""; }

// Parses a whole decimal integer; false for anything else or a value beyond
// the column's range.
bool ParseInteger(const std::string& text, long lowest, long highest, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtol(text.c_str(), &end, 10);
  return errno == 0 && *end == '\0' && value >= lowest && value <= highest;
}

// A decimal number as the database stores it back: digits with an optional
// sign, point and exponent, of a finite value that is no underflow; false
// for "nan", "inf", hexadecimal and anything strtod reads only in part.
bool ParseDecimal(const std::string& text) {
  size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
  size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) ++digits;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    size_t exponent = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) ++exponent;
    if (exponent == 0) return false;
  }
  if (i != text.size()) return false;
  errno = 0;
  std::strtod(text.c_str(), nullptr);
  return errno == 0;
}

// True when a byte stands as one character of its own: not the lead byte of
// a double-byte character, nor a byte the code page gives no character.
bool IsSingleByteCharacter(unsigned char b) {
  return !IsSjisLeadByte(b) && b != 0x80 && b != 0xA0 && b < 0xFD;
}

// True when a lead byte lacks its trail byte (half a double-byte
// character, at the end or inside the text).
bool HasHalfCharacter(const std::string& text) {
  for (size_t i = 0; i < text.size(); i += SjisCharLength(text.c_str() + i)) {
    if (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && SjisCharLength(text.c_str() + i) == 1) {
      return true;
    }
  }
  return false;
}

class Parser {
 public:
  Parser(const ScreenTableColumns& columns, ScreenText& out, ScreenTextError& error)
      : columns_(columns), out_(out), error_(error) {}

  bool Parse(std::string_view text) {
    out_ = ScreenText();
    size_t position = 0;
    int number = 0;
    while (position <= text.size()) {
      size_t end = text.find('\n', position);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(position, end - position);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      position = end + 1;
      ++number;
      if (!ParseLine(line, number)) return false;
      if (end == text.size()) break;
    }
    return Finish();
  }

 private:
  bool Fail(int line, const std::string& message) {
    error_.lineNumber = line;
    error_.message = message;
    return false;
  }

  bool ParseLine(std::string_view raw, int number) {
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') return true;
    if (line[0] == '[') return OpenBlock(line, number);
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
      return Fail(number, Format("“%s”は「項目 = 値」の形ではありません。", line));
    }
    if (block_ == Block::kNone) return Fail(number, "[screen] の前に値があります。");
    const std::string column = Trim(std::string_view(line).substr(0, equals));
    std::string value;
    if (!TakeValue(Trim(std::string_view(line).substr(equals + 1)), value, number)) return false;
    return SetValue(column, value, number);
  }

  bool OpenBlock(const std::string& line, int number) {
    if (!CloseBlock()) return false;
    if (line == "[screen]") {
      if (sawScreen_) return Fail(number, "[screen] が二つあります。");
      sawScreen_ = true;
      block_ = Block::kScreen;
      Start(columns_.screen, number);
    } else if (line == "[field]") {
      if (!sawScreen_) return Fail(number, "[field] の前に [screen] がありません。");
      block_ = Block::kField;
      Start(columns_.field, number);
    } else if (line == "[line]") {
      if (!sawScreen_) return Fail(number, "[line] の前に [screen] がありません。");
      block_ = Block::kLine;
      Start(columns_.line, number);
    } else {
      return Fail(number, Format("“%s”は [screen]、[field]、[line] のどれでもありません。", line));
    }
    return true;
  }

  void Start(const std::vector<SpecColumn>& columns, int number) {
    current_ = &columns;
    row_ = ScreenTextRow();
    row_.lineNumber = number;
    for (const SpecColumn& c : columns) row_.values.emplace_back(c.name, EmptyValue(c));
    given_.clear();
  }

  // A quoted value keeps its blanks; an unquoted one is already trimmed.
  bool TakeValue(const std::string& text, std::string& value, int number) {
    quoted_ = text.size() >= 1 && text[0] == '"';
    if (!quoted_) {
      value = text;
      return true;
    }
    if (text.size() < 2 || text.back() != '"') return Fail(number, "引用符が閉じていません。");
    value = text.substr(1, text.size() - 2);
    return true;
  }

  int ColumnIndex(const std::string& name) const {
    for (size_t i = 0; i < current_->size(); ++i) {
      if ((*current_)[i].name == name) return static_cast<int>(i);
    }
    return -1;
  }

  bool SetValue(const std::string& column, const std::string& value, int number) {
    if (!given_.insert(column).second) {
      return Fail(number, Format("項目“%s”が二度あります。", column));
    }
    if (column == "SCRCODE" && block_ != Block::kScreen) {
      return Fail(number, "SCRCODE は [screen] にだけ書きます。");
    }
    const int index = ColumnIndex(column);
    if (index >= 0) return Store(index, value, number);
    if (ColumnIndex(column + "00") >= 0) return SpreadCharacters(column, value, number);
    return Fail(number, Format("項目“%s”はこの表にありません。", column));
  }

  // One character a position of a repeated one-character column.
  bool SpreadCharacters(const std::string& base, const std::string& value, int number) {
    std::vector<int> positions;
    for (int k = 0;; ++k) {
      char name[80];
      std::snprintf(name, sizeof name, "%s%02d", base.c_str(), k);
      const int index = ColumnIndex(name);
      if (index < 0 || (*current_)[index].type != kColumnChar) break;
      positions.push_back(index);
    }
    if (positions.empty()) return Fail(number, Format("項目“%s”はこの表にありません。", base));
    bool singleBytes = value.size() <= positions.size();
    for (char c : value) singleBytes = singleBytes && IsSingleByteCharacter(static_cast<unsigned char>(c));
    if (!singleBytes) {
      return Fail(number, Format("%s は半角 %s 文字までです。", base, std::to_string(positions.size())));
    }
    for (size_t k = 0; k < value.size(); ++k) row_.values[positions[k]].second = value.substr(k, 1);
    return true;
  }

  bool Store(int index, const std::string& value, int number) {
    const SpecColumn& c = (*current_)[index];
    std::string& stored = row_.values[index].second;
    switch (c.type) {
      case kColumnShort:
      case kColumnLong: {
        long n = 0;
        const long limit = c.type == kColumnShort ? 32767 : 2147483647;
        if (!ParseInteger(value, -limit - 1, limit, n)) {
          return Fail(number, Format("%s の値は整数ではないか、範囲を越えています。", c.name));
        }
        stored = std::to_string(n);
        return true;
      }
      case kColumnDouble:
        if (value.empty() || !ParseDecimal(value)) {
          return Fail(number, Format("%s の値は数値ではありません。", c.name));
        }
        stored = value;
        return true;
      case kColumnChar:
        return StoreCharacter(c, value, stored, number);
      default:
        if (static_cast<int>(value.size()) > c.length) {
          return Fail(number, Format("%s の値は %s バイトを越えています。", c.name, std::to_string(c.length)));
        }
        if (HasHalfCharacter(value)) {
          return Fail(number, Format("%s の値に全角文字の半分だけのバイトがあります。", c.name));
        }
        stored = value;
        return true;
    }
  }

  bool StoreCharacter(const SpecColumn& c, const std::string& value, std::string& stored, int number) {
    if (!quoted_ && value.size() > 1 && value[0] == '#') {
      long code = 0;
      if (!ParseInteger(value.substr(1), 0, 255, code)) {
        return Fail(number, Format("%s の文字コードは #0 から #255 までです。", c.name));
      }
      // Lead bytes of double-byte characters and bytes without a character
      // of their own cannot pass the database's text conversion alone.
      const unsigned char b = static_cast<unsigned char>(code);
      if (code != 0 && !IsSingleByteCharacter(b)) {
        return Fail(number, Format("%s の文字コード #%s は一文字として保存できません。", c.name, std::to_string(code)));
      }
      stored = code == 0 ? std::string() : std::string(1, static_cast<char>(b));
      return true;
    }
    if (value.size() > 1) return Fail(number, Format("%s は半角一文字です。", c.name));
    if (value.size() == 1 && !IsSingleByteCharacter(static_cast<unsigned char>(value[0]))) {
      return Fail(number, Format("%s の文字は一文字として保存できません。", c.name));
    }
    stored = value;
    return true;
  }

  bool CloseBlock() {
    if (block_ == Block::kNone) return true;
    const int line = row_.lineNumber;
    if (block_ == Block::kScreen) {
      if (row_.Value("SCRCODE").empty()) return Fail(line, "[screen] に SCRCODE がありません。");
      out_.screen = row_;
    } else {
      const bool field = block_ == Block::kField;
      const char* key = field ? "FLDCODE" : "LINCODE";
      const std::string& code = row_.Value(key);
      if (code.empty()) return Fail(line, Format(field ? "[field] に %s がありません。" : "[line] に %s がありません。", key));
      std::set<std::string>& seen = field ? fieldCodes_ : lineCodes_;
      if (!seen.insert(code).second) return Fail(line, Format("%s“%s”が二度あります。", key, code));
      SetValueOf(row_, "SCRCODE", out_.Code());
      (field ? out_.fields : out_.lines).push_back(row_);
    }
    block_ = Block::kNone;
    return true;
  }

  static void SetValueOf(ScreenTextRow& row, const char* column, const std::string& value) {
    for (auto& pair : row.values) {
      if (pair.first == column) pair.second = value;
    }
  }

  bool Finish() {
    if (!CloseBlock()) return false;
    if (!sawScreen_) return Fail(0, "[screen] がありません。");
    return true;
  }

  const ScreenTableColumns& columns_;
  ScreenText& out_;
  ScreenTextError& error_;
  Block block_ = Block::kNone;
  const std::vector<SpecColumn>* current_ = nullptr;
  ScreenTextRow row_;
  std::set<std::string> given_;
  std::set<std::string> fieldCodes_, lineCodes_;
  bool sawScreen_ = false;
  bool quoted_ = false;
};

}  // namespace

const std::string& ScreenTextRow::Value(const std::string& column) const {
  for (const auto& pair : values) {
    if (pair.first == column) return pair.second;
  }
  return kEmpty;
}

bool ParseScreenText(std::string_view text, const ScreenTableColumns& columns, ScreenText& out,
                     ScreenTextError& error) {
  error = ScreenTextError();
  return Parser(columns, out, error).Parse(text);
}
