// How a field of the sheet's design becomes questions of the survey: the
// question text cleaned of its line-break marks, the choices and the answer
// codes the tally counts. Pure text work over Shift-JIS; signs are looked
// for only as single-byte characters, never as a double-byte character's
// trail byte.
#include <cstdio>

#include "designer/survey_transfer.h"
#include "foundation/sjis_text.h"

namespace {

constexpr char kCheckFieldEdit[] = "ﾁｪｯｸ";
constexpr char kPictureEdit[] = "BMAP";
constexpr char kFullWidthBlank[] = "　";
constexpr char kChoiceInBox[] = "Ｍ";
// The mask positions (from 1) that must all be "0" for a field to be
// counted: what is read there are letters, kana and signs, not answers.
constexpr size_t kFirstTextTypePosition = 4;
constexpr size_t kLastTextTypePosition = 10;

std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> out;
  for (size_t at = 0; at < text.size();) {
    const size_t length = static_cast<size_t>(SjisCharLength(text.c_str() + at));
    out.push_back(text.substr(at, length));
    at += length;
  }
  return out;
}

bool HasSingleByte(const std::string& text, char c) {
  for (const std::string& ch : Characters(text)) {
    if (ch.size() == 1 && ch[0] == c) return true;
  }
  return false;
}

std::string WithoutSingleByte(const std::string& text, char c) {
  std::string out;
  for (const std::string& ch : Characters(text)) {
    if (ch.size() != 1 || ch[0] != c) out += ch;
  }
  return out;
}

// The entries of a comma list, split at single-byte commas only.
std::vector<std::string> SplitEntries(const std::string& text) {
  std::vector<std::string> entries(1);
  for (const std::string& ch : Characters(text)) {
    if (ch == ",") {
      entries.emplace_back();
    } else {
      entries.back() += ch;
    }
  }
  return entries;
}

std::string JoinWithCommas(const std::vector<std::string>& parts) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) out += (i ? "," : "") + parts[i];
  return out;
}

bool IsBlank(const std::string& ch) { return ch == " " || ch == kFullWidthBlank; }

std::string SequenceCode(size_t position) {
  const std::string& sequence = ChoiceCodeSequence();
  return position < sequence.size() ? sequence.substr(position, 1) : "";
}

// The choices and codes of a check field whose choices are printed beside
// its boxes. -1 when a choice entry is too long (`tooLong` holds it).
int SetBesideChoices(const SurveySourceField& field, SurveyQuestionRow& row, std::string& tooLong) {
  if (!field.values.empty()) {
    row.choices = field.contents;
    if (HasSingleByte(field.values, '^')) {
      row.codes = WithoutSingleByte(field.values, '^');
    } else if (HasSingleByte(field.values, ',')) {
      // "1=はい,2=いいえ": what is counted is what the reading run writes,
      // the part after each equals sign.
      std::vector<std::string> codes;
      for (const std::string& entry : SplitEntries(field.values)) {
        // "=" (0x3D) is never a trail byte.
        const size_t equals = entry.find('=');
        codes.push_back(equals == std::string::npos ? entry : entry.substr(equals + 1));
      }
      row.codes = JoinWithCommas(codes);
    } else {
      row.codes = field.values;
    }
    return 0;
  }
  if (!field.contents.empty()) {
    // A hidden entry ("^...") keeps its position: the codes are those the
    // reading run gives the visible boxes.
    const std::vector<std::string> entries = SplitEntries(field.contents);
    std::vector<std::string> choices;
    for (size_t position = 0; position < entries.size(); ++position) {
      const std::string& entry = entries[position];
      if (static_cast<int>(entry.size()) > kMaxTransferChoiceEntry) {
        tooLong = entry;
        return -1;
      }
      if (!entry.empty() && entry[0] == '^') continue;
      choices.push_back(entry);
      row.codes += SequenceCode(position);
    }
    row.choices = JoinWithCommas(choices);
    return 0;
  }
  const size_t count = field.charCount > 0 ? static_cast<size_t>(field.charCount) : 0;
  row.codes = ChoiceCodeSequence().substr(0, count);
  return 0;
}

// The choices and codes of a check field whose choices are printed in its
// boxes.
void SetInBoxChoices(const SurveySourceField& field, SurveyQuestionRow& row) {
  const bool severalRows = field.arrangement == "Ｘ" || field.arrangement == "Ｙ";
  if (severalRows && field.maxMarks > 1) return;
  const std::string contents = WithoutSingleByte(field.contents, '^');
  const std::string values = WithoutSingleByte(field.values, '^');
  // Contents of several characters a box are a comma list already.
  row.choices = HasSingleByte(contents, ',') ? contents : JoinWithCommas(Characters(contents));
  row.codes = values.empty() ? contents : values;
}

std::string TwoDigits(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

}  // namespace

const std::string& ChoiceCodeSequence() {
  static const std::string sequence = [] {
    std::string s = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    // ｱ (0xB1) to ﾝ (0xDD) of code page 932.
    for (int c = 0xB1; c <= 0xDD; ++c) s += static_cast<char>(c);
    return s;
  }();
  return sequence;
}

std::string CleanQuestionTitle(const std::string& title, const TransferOptions& options) {
  std::vector<std::string> chars = Characters(title);
  while (!chars.empty() && IsBlank(chars.back())) chars.pop_back();
  std::string text;
  for (size_t i = 0; i < chars.size(); ++i) {
    if (chars[i] != "|") {
      text += chars[i];
      continue;
    }
    while (i + 1 < chars.size() && IsBlank(chars[i + 1])) ++i;
  }
  if (!options.trimFill || options.fill.empty()) return text;
  chars = Characters(text);
  while (!chars.empty() && chars.back() == options.fill) chars.pop_back();
  text.clear();
  for (const std::string& ch : chars) text += ch;
  return text;
}

bool IsSurveyQuestionField(const SurveySourceField& field, const std::string& keyItem) {
  if (field.areaCode.empty() || field.areaCode[0] == 'T') return false;
  if (field.edit == kPictureEdit || field.name == keyItem || field.threshold == -1) return false;
  for (size_t p = kFirstTextTypePosition; p <= kLastTextTypePosition && p <= field.validTypes.size(); ++p) {
    if (field.validTypes[p - 1] != '0') return false;
  }
  return true;
}

int MakeSurveyQuestions(const SurveySourceField& field, const TransferOptions& options,
                        std::vector<SurveyQuestionRow>& out, std::string& tooLong) {
  SurveyQuestionRow row;
  row.question = CleanQuestionTitle(field.title, options);
  row.maxAnswers = field.maxMarks;
  const bool inBox = field.choicePosition == kChoiceInBox;
  if (field.edit == kCheckFieldEdit) {
    if (inBox) {
      SetInBoxChoices(field, row);
    } else if (SetBesideChoices(field, row, tooLong) != 0) {
      return -1;
    }
  }
  const bool repeated = field.arrayStart >= 0 && field.arrayCount > 0;
  if (!repeated) {
    row.itemName = field.name;
    out.push_back(row);
    return 0;
  }
  for (int i = field.arrayStart; i < field.arrayStart + field.arrayCount; ++i) {
    SurveyQuestionRow copy = row;
    copy.itemName = field.name + TwoDigits(i);
    // Questions printed in their boxes tell their copies apart by number.
    if (inBox && field.edit == kCheckFieldEdit) copy.question += TwoDigits(i);
    out.push_back(copy);
  }
  return 0;
}
