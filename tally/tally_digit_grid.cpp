// Digit grids counted by the values they encode.
#include "tally/tally_digit_grid.h"

#include <algorithm>
#include <set>

int DigitGridColumns(const std::string& codeText) {
  const size_t size = codeText.size();
  for (size_t run = 2; run <= 10 && run * 2 <= size; ++run) {
    if (size % run != 0) continue;
    const std::string first = codeText.substr(0, run);
    if (std::set<char>(first.begin(), first.end()).size() != run ||
        !std::all_of(first.begin(), first.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      return 0;
    }
    bool repeated = true;
    for (size_t at = run; at < size && repeated; at += run) repeated = codeText.compare(at, run, first) == 0;
    if (repeated) return static_cast<int>(size / run);
  }
  return 0;
}

std::string DigitGridValue(const std::string& answer) {
  std::string value;
  for (char c : answer) {
    if (c != ' ') value += c;
  }
  return value;
}

std::vector<std::string> DigitGridChoices(const std::vector<std::string>& answers) {
  std::vector<std::string> values;
  for (const std::string& answer : answers) {
    const std::string value = DigitGridValue(answer);
    if (!value.empty() && value[0] != '*') values.push_back(value);
  }
  // Numbers in order: the shorter first, then by their digits ("9" before
  // "10"); leading zeros make a value of its own ("07" after "7").
  std::sort(values.begin(), values.end(), [](const std::string& a, const std::string& b) {
    const size_t za = a.find_first_not_of('0'), zb = b.find_first_not_of('0');
    const std::string na = za == std::string::npos ? "" : a.substr(za);
    const std::string nb = zb == std::string::npos ? "" : b.substr(zb);
    if (na.size() != nb.size()) return na.size() < nb.size();
    if (na != nb) return na < nb;
    return a.size() < b.size();
  });
  values.erase(std::unique(values.begin(), values.end()), values.end());
  return values;
}

TallyQuestionCodes DigitGridCodes(const std::vector<std::string>& choices, int switch05) {
  TallyQuestionCodes codes;
  codes.codes = choices;
  codes.commaList = true;
  codes.selectionCount = 1;
  codes.exempt = switch05 == 1;
  return codes;
}
