// A value typed into a field of the list or the card, checked before it is
// stored against what the screen says of its field: a number for a numeric
// column, digits for a code, one of the field's choices, and its limits;
// then against the column it goes to, as the database layer checks what it
// writes. A refusal tells the operator why; nothing is stored.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "entry/entry.h"
#include "entry/list_form.h"
#include "entry/sheet_fields.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"

namespace {

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool IsNumericColumn(int type) { return type == kColumnShort || type == kColumnLong || type == kColumnDouble; }

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// A number as the column takes it: a sign, digits, and a decimal point
// only where the column keeps fractions.
bool IsNumberFor(int type, std::string text) {
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.erase(0, 1);
  const size_t point = text.find('.');
  if (point == std::string::npos) return AllDigits(text);
  if (type != kColumnDouble || text.size() == 1) return false;
  const std::string whole = text.substr(0, point), fraction = text.substr(point + 1);
  return (whole.empty() || AllDigits(whole)) && (fraction.empty() || AllDigits(fraction));
}

// A mark turned by clicks ('c'), a radio ('R') or a group of checks ('C')
// holds the number of its state or its checked positions; its candidates
// are the captions of those states, not values.
bool HoldsStateNumbers(char kind) { return kind == 'c' || kind == 'R' || kind == 'C'; }

// The choices a typed value must be made of: those of a plain candidate
// list ("A,B,C"); none for a look-up ("#..."), a locked list ("$..."), a
// calendar, a pair list or a field holding state numbers.
std::vector<std::string> PlainChoices(const EntryValueRule& rule) {
  std::vector<std::string> choices;
  const std::string& candidates = rule.choices;
  if (HoldsStateNumbers(rule.kind) || candidates.empty() || candidates[0] == '#' || candidates[0] == '$' ||
      !IsPlainCommaList(candidates)) {
    return choices;
  }
  size_t start = 0;
  for (size_t comma; (comma = candidates.find(',', start)) != std::string::npos; start = comma + 1) {
    choices.push_back(candidates.substr(start, comma - start));
  }
  choices.push_back(candidates.substr(start));
  return choices;
}

// One choice, or several different ones written one after another (a
// question answered with more than one mark).
bool IsMadeOfChoices(const std::string& value, const std::vector<std::string>& choices, std::vector<bool>& used,
                     size_t at = 0) {
  if (at == value.size()) return true;
  for (size_t k = 0; k < choices.size(); ++k) {
    const std::string& choice = choices[k];
    if (used[k] || choice.empty() || value.compare(at, choice.size(), choice) != 0) continue;
    used[k] = true;
    if (IsMadeOfChoices(value, choices, used, at + choice.size())) return true;
    used[k] = false;
  }
  return false;
}

}  // namespace

int CheckEntryValue(const EntryValueRule& rule, const std::string& value) {
  const char* title = rule.title.c_str();
  const bool numeric = IsNumericColumn(rule.columnType);
  const std::string text = Trimmed(value);
  if (!text.empty()) {
    if (numeric && !IsNumberFor(rule.columnType, text)) {
      ShowInfoMessage("", "“%s”は、数値以外の値は入力できません。[%s]", title, value.c_str());
      return -1;
    }
    if (IsDateFieldKind(rule.kind) && !IsCalendarDate(text)) {
      ShowInfoMessage("", "“%s”は、日付として正しくありません。[%s]", title, value.c_str());
      return -1;
    }
    if (!numeric && rule.edit == 'Z' && !AllDigits(text)) {
      ShowInfoMessage("", "“%s”は、数字以外の値は入力できません。[%s]", title, value.c_str());
      return -1;
    }
    const std::vector<std::string> choices = PlainChoices(rule);
    std::vector<bool> used(choices.size(), false);
    if (!choices.empty() && !IsMadeOfChoices(text, choices, used)) {
      ShowInfoMessage("", "“%s”は、“%s”以外の値は入力できません。[%s]", title, rule.choices.c_str(), value.c_str());
      return -1;
    }
  }
  // Limits: texts by their bytes (leading blanks left out; an empty text
  // passes the lower one), numbers by their value.
  const std::string compared = numeric ? value : value.substr(std::min(value.find_first_not_of(' '), value.size()));
  const auto below = [&](const std::string& limit) {
    if (numeric) return std::atof(compared.c_str()) < std::atof(limit.c_str());
    return !compared.empty() && compared < limit;
  };
  const auto above = [&](const std::string& limit) {
    return numeric ? std::atof(compared.c_str()) > std::atof(limit.c_str()) : compared > limit;
  };
  if (!rule.minText.empty() && below(rule.minText)) {
    ShowInfoMessage("", "“%s”は、%s未満の値は入力できません。[%s]", title, rule.minText.c_str(), value.c_str());
    return -1;
  }
  if (!rule.maxText.empty() && above(rule.maxText)) {
    ShowInfoMessage("", "“%s”は、%sを超える値は入力できません。[%s]", title, rule.maxText.c_str(), value.c_str());
    return -1;
  }
  return 0;
}
