// The tally's data: the survey's tally table in the output database, read
// in key order (whole, or the rows of one grouping value), each record's
// answer to a question counted; the printed labels and codes of the
// questions' choices; the values of the grouping items of cross
// tabulations. A tally reads the table once per question, and once per
// question and grouping value in a cross tabulation. A table of the older
// layout holds each answer in a column numbered by its question ("回答01",
// ...) rather than one named by its item.
#include <algorithm>
#include <cstdio>

#include "designer/survey.h"
#include "designer/survey_transfer.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "tally/tally.h"
#include "tally/tally_digit_grid.h"

TallyState g_tally;

namespace {

// The escape character of LIKE patterns: no trail byte of a double-byte
// character, and no character of the layer's literals.
constexpr char kLikeEscape = '!';

// The answer of the current record in `column` as text: texts as they are,
// numbers as whole numbers.
std::string AnswerText(int slot, const char* column, int type) {
  char number[32];
  switch (type) {
    case kColumnShort:
      std::snprintf(number, sizeof number, "%d", GetColumnInt(slot, column));
      return number;
    case kColumnLong:
      std::snprintf(number, sizeof number, "%ld", GetColumnLong(slot, column));
      return number;
    case kColumnDouble:
      std::snprintf(number, sizeof number, "%.0f", GetColumnDouble(slot, column));
      return number;
    default: return GetColumnText(slot, column);
  }
}

// `value` in a LIKE pattern that finds it anywhere in a text: its wildcards
// and the escape character escaped, double-byte characters left whole.
std::string ContainsPattern(const std::string& value) {
  std::string pattern = "%";
  for (size_t at = 0; at < value.size();) {
    const int length = SjisCharLength(value.c_str() + at);
    if (length == 1 && (value[at] == '%' || value[at] == '_' || value[at] == kLikeEscape)) {
      pattern += kLikeEscape;
    }
    pattern.append(value, at, length);
    at += length;
  }
  return pattern + "%";
}

// The tally table's column of `question`'s answers: its item's, or in the
// older layout, which has no column of that name, the one of its number.
std::string AnswerColumn(int question) {
  const std::string& name = g_survey.items[question].itemName;
  if (FindColumnQuiet(g_tally.slot, name.c_str()) >= 0) return name;
  char numbered[16];
  std::snprintf(numbered, sizeof numbered, "回答%02d", question);
  return FindColumnQuiet(g_tally.slot, numbered) >= 0 ? numbered : name;
}

// The tally table's column of grouping item `group`.
std::string GroupColumn(int group) {
  const int q = g_tally.groupQuestion[group];
  return q > 0 ? AnswerColumn(q) : g_survey.groupItem[group];
}

// True when a grouping item's answers may hold several of its codes, so
// that a row belongs to every value it contains.
bool GroupHoldsSeveralCodes(int group) {
  const int q = g_tally.groupQuestion[group];
  if (q < 1) return false;
  const SurveyItem& item = g_survey.items[q];
  if (item.codes.empty()) return false;
  const int type = GetColumnType(g_tally.slot, AnswerColumn(q).c_str());
  if (type != kColumnText && type != kColumnChar) return false;
  return !item.commaList || item.maxAnswers >= 2;
}

std::string GroupCondition(int group, const std::string& value) {
  const std::string column = GroupColumn(group);
  if (GroupHoldsSeveralCodes(group)) {
    return column + " like " + SqlLiteral(ContainsPattern(value).c_str()) + " escape '" +
           kLikeEscape + "'";
  }
  return column + "=" + SqlLiteral(value.c_str());
}

// A value of a comma list, quoted when it holds a comma or a quote.
void AppendListValue(std::string& list, const std::string& value) {
  if (!list.empty()) list += ',';
  if (value.find_first_of(",\"") == std::string::npos) {
    list += value;
    return;
  }
  list += '"';
  for (char c : value) {
    list += c;
    if (c == '"') list += '"';
  }
  list += '"';
}

int QuestionOfItem(const std::string& itemName) {
  if (itemName.empty()) return 0;
  for (int q = 1; q <= g_survey.questionCount; ++q) {
    if (g_survey.items[q].itemName == itemName) return q;
  }
  return 0;
}

}  // namespace

int OpenTallyTable() {
  CloseTallyTable();
  if (g_survey.tallyTable.empty()) {
    ShowInfoMessage("", "集計テーブルが設定されていません。");
    return -1;
  }
  EnsureSurveyTallyTable();
  const int slot = db_open_nocreate(g_survey.dataFolder.c_str(), g_survey.dataDatabase.c_str(),
                                    g_survey.tallyTable.c_str(), g_survey.dataKind, "", "", "");
  if (slot < 0) {
    ShowInfoMessage("", "テーブル“%s”は作成されていません。", g_survey.tallyTable.c_str());
    return -1;
  }
  g_tally.slot = slot;
  g_tally.keyColumn = GetColumnNameByPosition(slot, 1);
  for (int group = 1; group <= 2; ++group) {
    g_tally.groupQuestion[group] = QuestionOfItem(g_survey.groupItem[group]);
  }
  return 0;
}

void CloseTallyTable() {
  if (g_tally.slot > 0) db_close(g_tally.slot);
  g_tally.slot = -1;
}

int PositionTallyTable(int slot, int groupKind) {
  std::string order = g_tally.keyColumn;
  if ((groupKind == 1 || groupKind == 2) && !g_survey.groupItem[groupKind].empty()) {
    order = GroupColumn(groupKind) + "," + order;
  }
  return db_toppos(slot, order.c_str());
}

int SearchTallyByPattern(int slot, const char* first, const char* second, int groups) {
  std::string condition;
  std::string order;
  for (int group = 1; group <= std::min(groups, 2); ++group) {
    if (g_survey.groupItem[group].empty()) continue;
    if (!condition.empty()) condition += " and ";
    condition += GroupCondition(group, group == 1 ? first : second);
    order += GroupColumn(group) + ",";
  }
  order += g_tally.keyColumn;
  return db_search_where(slot, condition.c_str(), order.c_str());
}

int CountQuestionAnswers(int question) {
  const SurveyItem& item = g_survey.items[question];
  const bool grid = DigitGridColumns(item.codes) > 0;
  const std::vector<std::string>& values = g_tally.choices[question].codes;
  const TallyQuestionCodes codes =
      grid ? DigitGridCodes(std::vector<std::string>(values.begin() + 1, values.end()), item.switch05)
           : MakeTallyQuestionCodes(item.codes, item.maxAnswers, item.switch05);
  const std::string column = AnswerColumn(question);
  const int type = GetColumnType(g_tally.slot, column.c_str());
  int records = 0;
  do {
    const std::string answer = AnswerText(g_tally.slot, column.c_str(), type);
    CountTallyAnswer(question, codes, grid ? DigitGridValue(answer) : answer, g_tally.include);
    ++records;
  } while (db_nread(g_tally.slot) == 0);
  return records;
}

int LoadDigitGridChoices(int question) {
  const SurveyItem& item = g_survey.items[question];
  if (DigitGridColumns(item.codes) == 0) return 0;
  const std::string column = AnswerColumn(question);
  const int type = GetColumnType(g_tally.slot, column.c_str());
  std::vector<std::string> answers;
  for (int rc = PositionTallyTable(g_tally.slot, 0); rc == 0; rc = db_nread(g_tally.slot)) {
    answers.push_back(AnswerText(g_tally.slot, column.c_str(), type));
  }
  const std::vector<std::string> values = DigitGridChoices(answers);
  TallyChoiceList& list = g_tally.choices[question];
  list.labels.assign(1, std::string());
  list.labels.insert(list.labels.end(), values.begin(), values.end());
  list.codes = list.labels;
  list.longest = 0;
  for (const std::string& value : values) list.longest = std::max(list.longest, static_cast<int>(value.size()));
  list.labelLines = 1;
  int& width = g_survey.items[question].choiceWidth;
  width = std::max(width, list.longest);
  return static_cast<int>(values.size());
}

int LoadItemChoices(int question) {
  if (question < 1 || question > g_survey.questionCount) return 0;
  const ChoiceLabels split = SplitChoiceLabels(g_survey.items[question].choices.c_str());
  TallyChoiceList& list = g_tally.choices[question];
  list.labels = split.labels;
  list.longest = split.longest;
  if (split.tooMany) {
    ShowInfoMessage("", "選択肢の数が最大数(%d)を超えました。", kMaxTallyChoices);
    return -1;
  }
  if (!split.tooLongToken.empty()) {
    ShowInfoMessage("", "選択肢の桁数が250バイトを超えました。\n%s",
                    g_survey.items[question].choices.c_str());
  }
  const int width = g_survey.items[question].choiceWidth;
  list.labelLines = width > 0 ? std::max(1, (list.longest + width - 1) / width) : 1;
  g_tally.longestLabel = std::max(g_tally.longestLabel, list.longest);
  return list.longest;
}

int LoadChoiceCodes(int question) {
  if (question < 1 || question > g_survey.questionCount) return 0;
  TallyChoiceList& list = g_tally.choices[question];
  list.codes = {std::string()};
  int longest = 0;
  for (const std::string& code : ListAnswerCodes(g_survey.items[question].codes)) {
    list.codes.push_back(code);
    longest = std::max(longest, static_cast<int>(code.size()));
  }
  return longest;
}

int CollectItemChoiceValues(int group, std::string& list) {
  list.clear();
  if (group < 1 || group > 2 || g_survey.groupItem[group].empty()) return -1;
  const int q = g_tally.groupQuestion[group];
  int longest = 0;
  if (q > 0 && !g_survey.items[q].codes.empty()) {
    for (const std::string& code : ListAnswerCodes(g_survey.items[q].codes)) {
      AppendListValue(list, code);
      longest = std::max(longest, static_cast<int>(code.size()));
    }
  } else {
    const std::string column = GroupColumn(group);
    const int type = GetColumnType(g_tally.slot, column.c_str());
    std::string previous;
    bool first = true;
    for (int rc = PositionTallyTable(g_tally.slot, group); rc == 0; rc = db_nread(g_tally.slot)) {
      const std::string value = AnswerText(g_tally.slot, column.c_str(), type);
      if (!first && value == previous) continue;
      AppendListValue(list, value);
      longest = std::max(longest, static_cast<int>(value.size()));
      previous = value;
      first = false;
    }
  }
  g_tally.groupValues[group] = list;
  g_tally.groupLongest[group] = longest;
  g_tally.groupValueCount[group] = static_cast<int>(SplitCommaList(list).size());
  return g_tally.groupValueCount[group];
}

int IsQuestionGroupItem(int groups, int question) {
  const std::string& name = g_survey.items[question].itemName;
  for (int group = 1; group <= std::min(groups, 2); ++group) {
    if (!g_survey.groupItem[group].empty() && name == g_survey.groupItem[group]) return -1;
  }
  return 0;
}

std::string GroupValueLabel(int group, int index, const std::string& value) {
  const int q = g_tally.groupQuestion[group];
  if (q < 1 || g_survey.items[q].codes.empty()) return value;
  const std::vector<std::string>& labels = g_tally.choices[q].labels;
  return index >= 1 && index < static_cast<int>(labels.size()) && !labels[index].empty()
             ? labels[index]
             : value;
}
