// Choice lists of fields (see choice_list.h).
#include "screen/choice_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "foundation/bounded_format.h"
#include "foundation/csv_token.h"
#include "foundation/db_text.h"
#include "foundation/sjis_text.h"

namespace {

bool IsDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// "(n)": the number of rows to show.
bool IsRowsToken(const std::string& token) {
  return token.size() >= 3 && token.front() == '(' && token.back() == ')' &&
         IsDigits(token.substr(1, token.size() - 2));
}

int RowsOfToken(const std::string& token) {
  const std::string digits = token.substr(1, token.size() - 2);
  // Nine digits at most keep the number an int; more are as many as "lots".
  const int rows = digits.size() > 9 ? 100 : std::atoi(digits.c_str());
  return rows >= 1 && rows < 100 ? rows : kDefaultShownRows;
}

bool IsModeToken(const std::string& token) {
  return token.size() == 1 && std::strchr("0123f", token[0]) != nullptr;
}

bool Wrapped(const std::string& token, char open, char close) {
  return token.size() >= 3 && token.front() == open && token.back() == close;
}

// A master look-up: a table reference, a key, columns, the rows token and a
// mode. False for any other shape.
bool ParseLookup(ChoiceList* list) {
  const std::vector<std::string>& t = list->tokens;
  if (t.size() < 3) return false;
  if (t[0][0] != '\\' && t[0][0] != '#') return false;
  if (t[0][0] == '\\' && t[2][0] == '\\') return false;
  if (Wrapped(t[1], '<', '>') && IsDigits(t[1].substr(1, t[1].size() - 2))) {
    list->keyNumber = std::atoi(t[1].substr(1, t[1].size() - 2).c_str());
  } else if (Wrapped(t[1], '{', '}')) {
    list->keyColumn = t[1].substr(1, t[1].size() - 2);
  } else {
    return false;
  }
  list->tableReference = t[0];
  size_t k = 2;
  for (; k < t.size() && !IsRowsToken(t[k]); ++k) {
    if (!t[k].empty()) list->columns.push_back(t[k]);
  }
  if (list->columns.empty()) return false;
  if (k < t.size()) list->shownRows = RowsOfToken(t[k++]);
  if (k < t.size() && IsModeToken(t[k])) list->lookupMode = t[k][0];
  list->kind = ChoiceListKind::kLookup;
  return true;
}

}  // namespace

int ParseChoiceList(const char* text, bool takeDefaults, ChoiceList* list) {
  *list = ChoiceList();
  if (!text || !text[0]) return 0;
  if (std::strcmp(text, "CALENDAR") == 0) {
    list->kind = ChoiceListKind::kCalendar;
    list->tokens.push_back(text);
    return 1;
  }
  CsvCursor cursor;
  std::string buffer(kMaxChoiceTokenBytes + 1, '\0');
  int rc;
  do {
    rc = NextCsvTokenWith(cursor, buffer.data(), kMaxChoiceTokenBytes, text);
    // A token cut at its limit keeps what fits, at a character boundary;
    // the cursor starts over there, so the list ends with it.
    std::string token = buffer.c_str();
    token.resize(static_cast<size_t>(
        CharBoundaryLength(token.c_str(), std::min<int>(token.size(), kMaxChoiceTokenBytes))));
    if (token.size() >= 2 && token[0] == '*' && token[1] != '.') {
      list->actionReference = token;
      break;
    }
    list->tokens.push_back(token);
  } while (rc > 0 && static_cast<int>(list->tokens.size()) < kMaxChoiceTokens);

  const std::string& first = list->tokens.empty() ? std::string() : list->tokens[0];
  const std::vector<std::string> rest(
      list->tokens.empty() ? list->tokens.end() : list->tokens.begin() + 1, list->tokens.end());
  if (first == "FILEDLG") {
    list->kind = ChoiceListKind::kFileDialog;
    list->dialogArguments = rest;
  } else if (first == "FOLDERDLG") {
    list->kind = ChoiceListKind::kFolderDialog;
    list->dialogArguments = rest;
  } else if (first == "IKOpenFileDlg") {
    list->kind = ChoiceListKind::kImageFileDialog;
    list->dialogArguments = rest;
  } else if (!ParseLookup(list)) {
    for (const std::string& token : list->tokens) {
      if (IsRowsToken(token)) {
        list->shownRows = RowsOfToken(token);
      } else if (token == "{1}") {
        list->flagOne = true;
      } else {
        std::string line = token;
        int code = -1;
        if (takeDefaults) {
          code = TakeDefaultChoice(line.data());
          line.resize(std::strlen(line.c_str()));
        }
        list->candidates.push_back(line);
        list->defaultCodes.push_back(code);
      }
    }
  }
  return static_cast<int>(list->tokens.size());
}

std::string CandidateValue(const std::string& line) {
  for (size_t k = 0; k < line.size(); k += SjisCharLength(line.c_str() + k)) {
    if (line[k] == '=' || (line[k] == ' ' && k + 1 < line.size() && line[k + 1] == '(')) {
      return line.substr(0, k);
    }
  }
  return line;
}
