// Choice lists of survey questions: labels split from their comma list and
// answer codes counted and listed. Pure text work, natively tested.
#include <algorithm>
#include <cstring>
#include <vector>

#include "designer/survey.h"
#include "foundation/bounded_format.h"
#include "foundation/csv_token.h"
#include "foundation/sjis_text.h"

ChoiceLabels SplitChoiceLabels(const char* text) {
  ChoiceLabels result;
  if (!text || !*text) return result;
  // Room for one token over the limit, so that such a token is told apart
  // from one of exactly the limit.
  std::vector<char> token(kMaxChoiceToken + 2);
  CsvCursor cursor;
  NextCsvTokenWith(cursor, token.data(), -1, text);
  int rc = 0;
  do {
    rc = NextCsvTokenWith(cursor, token.data(), kMaxChoiceToken + 1, text);
    if (rc == -2 || std::strlen(token.data()) > static_cast<size_t>(kMaxChoiceToken)) {
      result.tooLongToken = token.data();
      break;
    }
    if (static_cast<int>(result.labels.size()) > kMaxTallyChoices) {
      result.tooMany = true;
      break;
    }
    std::string label = token.data();
    if (label.size() > static_cast<size_t>(kMaxChoiceLabel)) {
      label.resize(CharBoundaryLength(label.c_str(), kMaxChoiceLabel));
    }
    result.longest = std::max(result.longest, static_cast<int>(label.size()));
    result.labels.push_back(std::move(label));
  } while (rc >= 0);
  return result;
}

namespace {

bool IsCommaList(const std::string& codes) { return ContainsChar(codes.c_str(), ',') == 1; }

}  // namespace

std::vector<std::string> SplitCommaList(const std::string& list) {
  std::vector<std::string> values;
  if (list.empty()) return values;
  std::vector<char> token(list.size() + 1);
  CsvCursor cursor;
  int rc = 0;
  do {
    rc = NextCsvTokenWith(cursor, token.data(), static_cast<int>(list.size()), list.c_str());
    values.emplace_back(token.data());
  } while (rc > 0);
  return values;
}

std::vector<std::string> ListAnswerCodes(const std::string& codes) {
  if (IsCommaList(codes)) return SplitCommaList(codes);
  std::vector<std::string> list;
  for (size_t at = 0; at < codes.size();) {
    const int length = SjisCharLength(codes.c_str() + at);
    list.push_back(codes.substr(at, length));
    at += length;
  }
  return list;
}

int CountAnswerCodes(const std::string& codes) {
  return static_cast<int>(ListAnswerCodes(codes).size());
}
