// Question files, clipboard texts and question texts of the check-field
// list. Files of a few hundred lines; every text is read whole before a
// row is made of it.
#include "designer/question_list_rules.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "designer/name_rules.h"
#include "foundation/csv_token.h"
#include "foundation/sjis_text.h"

namespace {

constexpr int kMaxCsvFields = 3;
constexpr char kFullWidthBlank[] = "\x81\x40";  // "　"

// False for a byte code page 932 has no character for, and for a lead byte
// without its trail byte.
bool IsWellFormedSjis(std::string_view line) {
  for (size_t at = 0; at < line.size(); ++at) {
    const auto b = static_cast<unsigned char>(line[at]);
    if (IsSjisLeadByte(b)) {
      if (at + 1 >= line.size() || !IsSjisTrailByte(static_cast<unsigned char>(line[at + 1]))) return false;
      ++at;
    } else if (b == 0x80 || b == 0xA0 || b >= 0xFD) {
      return false;
    }
  }
  return true;
}

// The physical lines of a text: split at LF, CR dropped.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\n') {
      lines.emplace_back();
    } else if (c != '\r') {
      lines.back() += c;
    }
  }
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

// The fields of a line, at most kMaxCsvFields (later ones are not read),
// whole: a field is cut only at the line's own length.
std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  CsvCursor cursor;
  std::vector<char> field(line.size() + 1);
  int rc = 1;
  while (rc > 0 && static_cast<int>(fields.size()) < kMaxCsvFields) {
    rc = NextCsvTokenWith(cursor, field.data(), static_cast<int>(line.size()), line.c_str());
    fields.emplace_back(field.data());
  }
  return fields;
}

std::string Format(const char* format, const std::string& text, size_t number) {
  std::vector<char> out(text.size() + 256);
  std::snprintf(out.data(), out.size(), format, text.c_str(), static_cast<int>(number));
  return out.data();
}

std::string LineError(const char* what, int line) {
  char out[256];
  std::snprintf(out, sizeof out, "%s行番号%d", what, line);
  return out;
}

// The field's byte limit: the refusal of a longer one, else "".
std::string CheckFieldLength(const std::string& field, size_t limit, int line) {
  if (field.size() <= limit) return "";
  return Format("“%s”の桁数が%dを越えました。\n", field, limit) + LineError("", line);
}

}  // namespace

QuestionTextResult ReadQuestionCsv(const std::string& text) {
  QuestionTextResult result;
  const auto refuse = [&result](const std::string& message, int line) {
    result.rows.clear();
    result.error = message;
    result.line = line;
    return result;
  };
  const std::vector<std::string> lines = SplitLines(text);
  size_t fieldCount = 0;
  for (size_t k = 0; k < lines.size(); ++k) {
    const std::string& line = lines[k];
    const int number = static_cast<int>(k + 1);
    if (line.empty()) continue;
    if (!IsWellFormedSjis(line)) return refuse(LineError("Shift-JISとして読めない文字があります。\n", number), number);
    if (line.size() > kQuestionLineBytes) {
      return refuse(LineError("１行が1023バイトを越えました。\n", number), number);
    }
    const std::vector<std::string> fields = SplitFields(line);
    if (fields.size() == 1) {
      return refuse(LineError("項目がひとつだけの行は取り込めません。「質問,選択肢」または"
                              "「項目名,質問,選択肢」の形で入力してください。\n",
                              number) +
                        "\n" + line,
                    number);
    }
    if (fieldCount == 0) fieldCount = fields.size();
    if (fields.size() != fieldCount) {
      char head[64];
      std::snprintf(head, sizeof head, "矛盾する行が存在します。行番号%d\n", number);
      return refuse(head + line, number);
    }
    QuestionCsvRow row;
    size_t at = 0;
    if (fieldCount == 3) row.name = fields[at++];
    row.title = fields[at++];
    row.choices = fields[at];
    for (const auto& [field, limit] : {std::pair{&row.name, kQuestionNameBytes},
                                       std::pair{&row.title, kQuestionTextBytes},
                                       std::pair{&row.choices, kQuestionChoiceBytes}}) {
      const std::string tooLong = CheckFieldLength(*field, limit, number);
      if (!tooLong.empty()) return refuse(tooLong, number);
    }
    result.rows.push_back(row);
  }
  if (result.rows.empty()) return refuse("取り込む質問がありません。", 0);
  return result;
}

QuestionTextResult SplitClipboardText(const std::string& text) {
  QuestionTextResult result;
  std::vector<std::string> lines = SplitLines(text);
  if (lines.size() > kClipLineLimit) lines.resize(kClipLineLimit);
  for (size_t k = 0; k < lines.size(); ++k) {
    const int number = static_cast<int>(k + 1);
    std::string line;
    for (char c : lines[k]) {
      if (c != '\t') line += c;
    }
    if (!IsWellFormedSjis(line)) {
      result.lines.clear();
      result.error = LineError("Shift-JISとして読めない文字があります。\n", number);
      result.line = number;
      return result;
    }
    size_t start = 0;
    while (start < line.size()) {
      if (line[start] == ' ') {
        ++start;
      } else if (line.compare(start, 2, kFullWidthBlank) == 0) {
        start += 2;
      } else {
        break;
      }
    }
    line.erase(0, start);
    if (line.size() > kClipLineBytes) {
      result.lines.clear();
      result.error = LineError("１行が512バイトを越えました。\n", number);
      result.line = number;
      return result;
    }
    result.lines.push_back(line);
  }
  return result;
}

std::vector<std::string> NextListCodes(const std::string& lastCode, size_t count, std::string& error) {
  error.clear();
  size_t width = lastCode.size();
  int number = 0;
  for (char c : lastCode) number = number * 10 + (c >= '0' && c <= '9' ? c - '0' : 0);
  if (lastCode.empty()) width = count > 99 ? 3 : 2;
  const size_t last = width >= 3 ? 999 : 99;
  std::vector<std::string> codes;
  if (static_cast<size_t>(number) + count > last) {
    char message[256];
    std::snprintf(message, sizeof message, "登録できる質問は、一覧コード“%0*d”までの%d件です。\n（登録済み%d件、追加%d件）",
                  static_cast<int>(width), static_cast<int>(last), static_cast<int>(last), number,
                  static_cast<int>(count));
    error = message;
    return codes;
  }
  for (size_t k = 1; k <= count; ++k) {
    char code[8];
    std::snprintf(code, sizeof code, "%0*d", static_cast<int>(width), number + static_cast<int>(k));
    codes.emplace_back(code);
  }
  return codes;
}

int CountQuestionChoices(const std::string& choices) {
  const int commas = CountCharDbcs(choices.c_str(), ',');
  const int count = commas > 0 ? commas + 1 : static_cast<int>(choices.size());
  return count > 0 ? count : 1;
}

size_t LongestCsvEntry(const std::string& text) {
  size_t longest = 0, entry = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t length = static_cast<size_t>(SjisCharLength(text.c_str() + at));
    if (length == 1 && text[at] == ',') {
      entry = 0;
    } else {
      entry += length;
      longest = std::max(longest, entry);
    }
    at += length;
  }
  return longest;
}

ItemNameVerdict JudgeQuestionItemName(const std::string& name) {
  if (name.empty()) return ItemNameVerdict::kEmpty;
  if (HasForbiddenNameChar(name.c_str()) || ContainsChar(name.c_str(), ' ')) return ItemNameVerdict::kForbiddenChar;
  if (IsReservedName(name.c_str()) || IsImageColumnName(name.c_str())) return ItemNameVerdict::kReserved;
  if (StartsWithDigit(name.c_str(), true)) return ItemNameVerdict::kLeadingDigit;
  return ItemNameVerdict::kAccepted;
}

std::string WrapQuestionText(const std::string& text, size_t widthBytes) {
  if (widthBytes == 0) return text;
  std::string wrapped;
  size_t piece = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t length = static_cast<size_t>(SjisCharLength(text.c_str() + at));
    if (piece > 0 && piece + length > widthBytes) {
      wrapped += '|';
      piece = 0;
    }
    wrapped.append(text, at, length);
    piece += length;
    at += length;
  }
  return wrapped;
}

std::string PadQuestionText(const std::string& text, int widthChars, const std::string& fill) {
  const size_t width = static_cast<size_t>(widthChars > 0 ? widthChars : 0) * 2;
  if (text.size() > width) return WrapQuestionText(text, width);
  if (fill.empty()) return text;
  const size_t count = (width - text.size()) / 2 * (fill.size() == 1 ? 2 : 1);
  std::string padded = text;
  for (size_t k = 0; k < count; ++k) padded += fill;
  return padded;
}

std::string TrimQuestionText(const std::string& text, const std::string& fill) {
  std::string trimmed;
  for (size_t at = 0; at < text.size();) {
    const size_t length = static_cast<size_t>(SjisCharLength(text.c_str() + at));
    if (!(length == 1 && text[at] == '|')) trimmed.append(text, at, length);
    at += length;
  }
  if (fill.empty()) return trimmed;
  // A fill character counts only where it starts at a character boundary.
  for (;;) {
    size_t at = 0, lastStart = std::string::npos;
    while (at < trimmed.size()) {
      lastStart = at;
      at += static_cast<size_t>(SjisCharLength(trimmed.c_str() + at));
    }
    if (lastStart == std::string::npos || trimmed.compare(lastStart, std::string::npos, fill) != 0) break;
    trimmed.erase(lastStart);
  }
  return trimmed;
}

std::string FitTextToWidth(const std::string& text, int widthChars) {
  const int width = widthChars > 0 ? widthChars * 2 : 0;
  std::string fitted = text.substr(0, static_cast<size_t>(SjisPrefixLength(text.c_str(), width, width)));
  while (static_cast<int>(fitted.size()) + 2 <= width) fitted += kFullWidthBlank;
  if (static_cast<int>(fitted.size()) < width) fitted += ' ';
  return fitted;
}
