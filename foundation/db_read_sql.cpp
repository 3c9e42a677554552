// SELECTs the database layer reads through rather than the caller's own:
// the caller's SELECT whose REAL columns come as texts that carry their
// values exactly, for a driver that would round them, and the position of a
// row in key order. Free of Windows and ODBC
// calls; texts are Shift-JIS.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "foundation/db_sql.h"
#include "foundation/sjis_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trimmed(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// `word` (lower case) at `p` in either case, followed by a blank.
bool WordIs(const char* p, const char* word) {
  const size_t n = std::strlen(word);
  for (size_t i = 0; i < n; ++i) {
    const char c = p[i];
    if (c != word[i] && c != word[i] - 'a' + 'A') return false;
  }
  return IsBlank(p[n]);
}

// Splits `list` at its commas outside quotes and parentheses.
std::vector<std::string> SplitItems(const std::string& list) {
  std::vector<std::string> items;
  size_t start = 0;
  FindAtTopLevel(list, [&](size_t i) {
    if (list[i] == ',') {
      items.push_back(Trimmed(list.substr(start, i - start)));
      start = i + 1;
    }
    return false;
  });
  items.push_back(Trimmed(list.substr(start)));
  return items;
}

}  // namespace

std::string ItemExpression(const std::string& item) {
  for (size_t i = item.size(); i-- > 0;) {
    if (IsBlank(item[i]) && WordIs(item.c_str() + i + 1, "as")) {
      // Only a final alias: what follows must be one name.
      const std::string name = Trimmed(item.substr(i + 4));
      if (!name.empty() && name.find_first_of(" \t(),'") == std::string::npos) return Trimmed(item.substr(0, i));
      break;
    }
  }
  return item;
}

namespace {

// Index just past "select" (and "distinct" or "all") at the start of
// `select`, or npos.
size_t ListStart(const std::string& select) {
  size_t p = 0;
  while (p < select.size() && IsBlank(select[p])) ++p;
  if (!WordIs(select.c_str() + p, "select")) return std::string::npos;
  p += 6;
  while (p < select.size() && IsBlank(select[p])) ++p;
  for (const char* modifier : {"distinct", "all"}) {
    if (WordIs(select.c_str() + p, modifier)) p += std::strlen(modifier);
  }
  return p;
}

// True when `select` combines SELECTs (a compound's columns come from each
// part).
bool IsCompound(const std::string& select) {
  const std::string lower = [&] {
    std::string text = select;
    for (size_t i = 0; i < text.size(); i += SjisCharLength(text.c_str() + i)) {
      if (text[i] >= 'A' && text[i] <= 'Z') text[i] = static_cast<char>(text[i] - 'A' + 'a');
    }
    return text;
  }();
  for (const char* word : {" union ", " intersect ", " except "}) {
    if (lower.find(word) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

bool SelectListItems(const std::string& select, const std::vector<std::string>& columns,
                     std::vector<std::string>& items) {
  items.clear();
  const size_t start = ListStart(select);
  const size_t from = FindSqlWord(select, kSqlWordFrom);
  if (start == std::string::npos || from == std::string::npos || from < start || IsCompound(select)) {
    return false;
  }
  std::vector<std::string> split = SplitItems(select.substr(start, from - start));
  if (split.size() == 1 && split[0] == "*") {
    for (const std::string& column : columns) items.push_back(QuotedSqlName(column));
    return true;
  }
  if (split.size() != columns.size()) return false;
  for (const std::string& item : split) {
    if (item.empty() || item.back() == '*') return false;
  }
  items = std::move(split);
  return true;
}

std::string WithSelectList(const std::string& select, const std::string& list) {
  const size_t start = ListStart(select);
  const size_t from = FindSqlWord(select, kSqlWordFrom);
  if (start == std::string::npos || from == std::string::npos || from < start) return select;
  return select.substr(0, start) + " " + list + select.substr(from);
}

std::string ExactDoubleText(const std::string& expression) {
  const std::string x = "(" + expression + ")";
  // x = M * 2^-k with k = 54 - (log2|x| cut to a whole number), at most 1074
  // (the scale of the smallest subnormal): M is then a whole number below
  // 2^56, exact in a double and as an integer, whatever log2 rounds to.
  // Powers of two are exact; below 1e-290, where 2^k is beyond a double, it
  // is taken in two factors. Zeros, infinities, NULLs and texts come as
  // they are.
  //
  // Multiples of 1/8 below 1e11 (whole numbers, halves, quarters) have
  // exact decimals of at most 15 digits: the driver's own text of them
  // reads back exactly, at less cost.
  const std::string k = "54-cast(log2(abs" + x + ") as integer)";
  const std::string tinyK = "min(" + k + ",1074)";
  return "case when abs" + x + "<1e11 and " + x + "*8=round(" + x + "*8) then " + x +
         " when abs" + x + ">=1e-290 and abs" + x + "<9e999 then printf('%d:%d'," + x + "*pow(2," + k + ")," +
         k + ") when abs" + x + "<1e-290 and " + x + "<>0 then printf('%d:%d'," + x + "*pow(2," + tinyK +
         "-600)*pow(2,600)," + tinyK + ") else " + x + " end";
}

namespace {

// Reads an optional "-" and up to `most` digits at `p`: their value, and
// `p` moved past them; false when there are none or too many.
bool ReadWhole(const char*& p, int most, long long& value, int& digits) {
  const bool negative = *p == '-';
  if (negative) ++p;
  value = 0;
  digits = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (++digits > most) return false;
    value = value * 10 + (*p - '0');
  }
  if (negative) value = -value;
  return digits > 0;
}

}  // namespace

double ParseExactDouble(const char* text) {
  // Most values come as "M:k" or as a short decimal; both are read here,
  // exactly and at less cost than a general conversion.
  const char* p = text;
  long long whole;
  int digits;
  if (ReadWhole(p, 18, whole, digits)) {
    if (*p == ':') {
      long long scale;
      const char* q = p + 1;
      // Any scale past the doubles' range gives 0 or infinity all the same.
      if (ReadWhole(q, 18, scale, digits) && *q == '\0') {
        return std::ldexp(static_cast<double>(whole), static_cast<int>(-std::clamp(scale, -4000LL, 4000LL)));
      }
    } else if (digits <= 15 && (*p == '\0' || *p == '.')) {
      // n / 10^d of two exact doubles is rounded once: the nearest double,
      // as the general conversion gives.
      static constexpr double kTens[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
      const bool negative = text[0] == '-';
      int fraction = 0;
      if (*p == '.') {
        for (++p; *p >= '0' && *p <= '9' && digits < 15; ++p, ++digits, ++fraction) {
          whole = whole * 10 + (negative ? -(*p - '0') : *p - '0');
        }
      }
      if (*p == '\0') {
        const double value = static_cast<double>(whole) / kTens[fraction];
        return value == 0 && negative ? -0.0 : value;
      }
    }
  }
  return std::strtod(text, nullptr);
}

std::string KeyRowNumberStatement(const std::string& select, const std::string& keyList,
                                  const std::string& keyColumn, const char* comparison, bool last) {
  const std::string body = WithoutOrderBy(select);
  const size_t from = FindSqlWord(body, kSqlWordFrom);
  if (from == std::string::npos) return std::string();
  return std::string("select ") + (last ? "max" : "min") + "(sd_row) from (select row_number() over (order by " +
         keyList + ") as sd_row, " + keyColumn + " as sd_key" + body.substr(from) + ") sd_rows where sd_key" +
         comparison + "?";
}
