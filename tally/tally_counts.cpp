// Counting the answers of a tally: matching one answer against a question's
// codes and adding it to the question, group and run tables (about 2.4 MB,
// cleared a question or a group at a time), percentages, and the tally's two
// comma tokenizers. Pure arithmetic, natively tested.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundation/bounded_format.h"
#include "foundation/csv_token.h"
#include "foundation/sjis_text.h"
#include "tally/tally.h"

TallyCountTable g_tallyCounts[3];

namespace {

// Bytes of a comma list's value that take part in matching.
constexpr size_t kMaxCodeValue = 50;

CsvCursor g_tallyCursor;
CsvCursor g_tallyInnerCursor;

void ClearTable(TallyCountTable& table) { std::memset(&table, 0, sizeof table); }

// The answer's characters (a double-byte character is one).
std::vector<std::string> CharactersOf(const std::string& text) {
  std::vector<std::string> characters;
  for (size_t at = 0; at < text.size();) {
    const int length = SjisCharLength(text.c_str() + at);
    characters.push_back(text.substr(at, length));
    at += length;
  }
  return characters;
}

}  // namespace

void ClearQuestionCounts() { ClearTable(g_tallyCounts[kQuestionCounts]); }
void ClearGroupCounts() { ClearTable(g_tallyCounts[kGroupCounts]); }
void ClearRunCounts() { ClearTable(g_tallyCounts[kRunCounts]); }

TallyQuestionCodes MakeTallyQuestionCodes(const std::string& codeText, int maxAnswers,
                                          int switch05) {
  TallyQuestionCodes q;
  q.codes = ListAnswerCodes(codeText);
  q.commaList = ContainsChar(codeText.c_str(), ',') == 1;
  if (q.commaList) {
    for (std::string& code : q.codes) {
      if (code.size() > kMaxCodeValue) code.resize(CharBoundaryLength(code.c_str(), kMaxCodeValue));
    }
  }
  q.selectionCount = maxAnswers;
  q.exempt = switch05 == 1;
  return q;
}

std::vector<int> MatchTallyAnswer(const TallyQuestionCodes& question, const std::string& answer) {
  std::vector<int> hits;
  const int choices = std::min(static_cast<int>(question.codes.size()), kMaxTallyChoices);
  if (!question.commaList) {
    const std::vector<std::string> characters = CharactersOf(answer);
    for (int k = 1; k <= choices; ++k) {
      for (const std::string& c : characters) {
        if (c == question.codes[k - 1]) hits.push_back(k);
      }
    }
    return hits;
  }
  for (int k = 1; k <= choices; ++k) {
    const std::string& value = question.codes[k - 1];
    if (question.selectionCount < 2) {
      if (value == answer) hits.push_back(k);
      continue;
    }
    if (value.empty()) continue;
    for (int piece = 0; piece < question.selectionCount; ++piece) {
      const size_t at = piece * value.size();
      if (at >= answer.size()) break;
      if (answer.compare(at, value.size(), value) == 0) hits.push_back(k);
    }
  }
  return hits;
}

void CountTallyAnswer(int question, const TallyQuestionCodes& codes, const std::string& answer,
                      TallyInclusion include) {
  if (question < 1 || question > kMaxSurveyQuestions) return;
  auto eachTable = [](auto&& add) {
    for (TallyCountTable& table : g_tallyCounts) add(table);
  };
  // An empty or over-selected answer: counted apart, and in the totals and
  // bases only when included.
  auto unmatched = [&](double(TallyCountTable::*count)[kMaxSurveyQuestions + 1], bool included) {
    eachTable([&](TallyCountTable& t) {
      (t.*count)[question] += 1;
      if (included) {
        t.counts[question][0] += 1;
        t.base[question] += 1;
      }
    });
  };
  if (answer.empty() && !codes.exempt) {
    unmatched(&TallyCountTable::noAnswer, include.noAnswer);
    return;
  }
  if (!answer.empty() && answer[0] == '*') {
    unmatched(&TallyCountTable::over, include.over);
    return;
  }
  if (codes.codes.empty()) return;
  const std::vector<int> hits = MatchTallyAnswer(codes, answer);
  eachTable([&](TallyCountTable& t) {
    for (int k : hits) {
      t.counts[question][k] += 1;
      t.counts[question][0] += 1;
    }
    t.base[question] += 1;
  });
}

double TallyPercent(double count, double base) {
  if (base <= 0 || count < 1) return 0;
  // Counts are whole numbers: half up in integers, so a share such as
  // 1/16 (6.25 %) never rounds down through a binary fraction.
  const long long c = std::llround(count);
  const long long b = std::llround(base);
  return static_cast<double>((2000 * c + b) / (2 * b)) / 10.0;
}

int ResetTallyToken() { return NextCsvTokenWith(g_tallyCursor, nullptr, -1, nullptr); }

int NextTallyToken(char* out, int length, const char* list) {
  return NextCsvTokenWith(g_tallyCursor, out, length, list);
}

int ResetTallyInnerToken() { return NextCsvTokenWith(g_tallyInnerCursor, nullptr, -1, nullptr); }

int NextTallyInnerToken(char* out, int length, const char* list) {
  return NextCsvTokenWith(g_tallyInnerCursor, out, length, list);
}
