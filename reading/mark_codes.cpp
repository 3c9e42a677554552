// Values of read fields: the marks of check fields turned into answer codes
// by the field's labels, code pattern and conversion condition, and the edits
// every value gets (replacement list, character-type rules, blanks, edit
// letter, edit pattern). Values are Shift-JIS, codes full-width.
#include <cstring>
#include <vector>

#include "foundation/csv_token.h"
#include "foundation/sjis_text.h"
#include "reading/sheet_core.h"

namespace {

// Shift-JIS constants are spelled in bytes: this file also builds with the
// fuzzing compiler, which does not convert literals.
constexpr char kWideBlank[] = "\x81\x40";        // "　"
constexpr char kWideZero[] = "\x82\x4F";         // "０"
constexpr char kWideOne[] = "\x82\x50";          // "１"
constexpr char kWideAsterisk[] = "\x81\x96";     // "＊"
constexpr char kWideColon[] = "\x81\x46";        // "："
constexpr char kWidePeriod[] = "\x81\x44";       // "．"
constexpr char kMultiply[] = "\x81\x7E";         // "×"
constexpr char kWideSmallX[] = "\x82\x98";       // "ｘ"
constexpr char kVoicingMark[] = "\x81\x4A";      // "゛"
constexpr char kHiraganaI[] = "\x82\xA2";        // "い"
constexpr char kDittoMark[] = "\x81\x56";        // "〃"
constexpr int kTokenRoom = 255;

// The codes of boxes 1 to 108 of a check field without codes of its own:
// "１".."９", "０", "Ａ".."Ｚ", "ａ".."ｚ", "ア".."ン".
constexpr char kBoxCodes[] =
    "\x82\x50\x82\x51\x82\x52\x82\x53\x82\x54\x82\x55\x82\x56\x82\x57\x82\x58\x82\x4F"
    "\x82\x60\x82\x61\x82\x62\x82\x63\x82\x64\x82\x65\x82\x66\x82\x67\x82\x68\x82\x69\x82\x6A"
    "\x82\x6B\x82\x6C\x82\x6D\x82\x6E\x82\x6F\x82\x70\x82\x71\x82\x72\x82\x73\x82\x74\x82\x75"
    "\x82\x76\x82\x77\x82\x78\x82\x79"
    "\x82\x81\x82\x82\x82\x83\x82\x84\x82\x85\x82\x86\x82\x87\x82\x88\x82\x89\x82\x8A\x82\x8B"
    "\x82\x8C\x82\x8D\x82\x8E\x82\x8F\x82\x90\x82\x91\x82\x92\x82\x93\x82\x94\x82\x95\x82\x96"
    "\x82\x97\x82\x98\x82\x99\x82\x9A"
    "\x83\x41\x83\x43\x83\x45\x83\x47\x83\x49\x83\x4A\x83\x4C\x83\x4E\x83\x50\x83\x52\x83\x54"
    "\x83\x56\x83\x58\x83\x5A\x83\x5C\x83\x5E\x83\x60\x83\x63\x83\x65\x83\x67\x83\x69\x83\x6A"
    "\x83\x6B\x83\x6C\x83\x6D\x83\x6E\x83\x71\x83\x74\x83\x77\x83\x7A\x83\x7D\x83\x7E\x83\x80"
    "\x83\x81\x83\x82\x83\x84\x83\x86\x83\x88\x83\x89\x83\x8A\x83\x8B\x83\x8C\x83\x8D\x83\x8F"
    "\x83\x92\x83\x93";
constexpr int kBoxCodeCount = 108;
static_assert(sizeof kBoxCodes == 2 * kBoxCodeCount + 1, "two bytes a code");

// "アイウ…ヲンー゛゜" and "ガギグ…ポヴ": the characters a katakana field keeps.
constexpr char kKatakana[] =
    "\x83\x41\x83\x43\x83\x45\x83\x47\x83\x49\x83\x4A\x83\x4C\x83\x4E\x83\x50\x83\x52\x83\x54"
    "\x83\x56\x83\x58\x83\x5A\x83\x5C\x83\x5E\x83\x60\x83\x63\x83\x65\x83\x67\x83\x69\x83\x6A"
    "\x83\x6B\x83\x6C\x83\x6D\x83\x6E\x83\x71\x83\x74\x83\x77\x83\x7A\x83\x7D\x83\x7E\x83\x80"
    "\x83\x81\x83\x82\x83\x84\x83\x86\x83\x88\x83\x89\x83\x8A\x83\x8B\x83\x8C\x83\x8D\x83\x8F"
    "\x83\x92\x83\x93\x81\x5B\x81\x4A\x81\x4B"
    "\x83\x4B\x83\x4D\x83\x4F\x83\x51\x83\x53\x83\x55\x83\x57\x83\x59\x83\x5B\x83\x5D\x83\x5F"
    "\x83\x61\x83\x64\x83\x66\x83\x68\x83\x6F\x83\x72\x83\x75\x83\x78\x83\x7B\x83\x70\x83\x73"
    "\x83\x76\x83\x79\x83\x7C\x83\x94";

// Hiragana that are read for the katakana they look like: り, へ, し, ら as
// リ, ヘ, ハ, ヨ.
constexpr char kLookAlikes[][2][3] = {{"\x82\xE8", "\x83\x8A"},
                                      {"\x82\xD6", "\x83\x77"},
                                      {"\x82\xB5", "\x83\x6E"},
                                      {"\x82\xE7", "\x83\x88"}};

// The characters of a Shift-JIS text, one string each.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < text.size();) {
    const int length = text[i + 1] != '\0' ? SjisCharLength(text.c_str() + i) : 1;
    out.push_back(text.substr(i, length));
    i += length;
  }
  return out;
}

// True when the two-byte character `c` is one of `list` (two bytes each).
bool InWideList(const char* list, const std::string& c) {
  if (c.size() != 2) return false;
  for (const char* p = list; p[0] && p[1]; p += 2) {
    if (p[0] == c[0] && p[1] == c[1]) return true;
  }
  return false;
}

// The byte of `text` at 0-based place `place`, or 0 beyond its end.
char ByteAt(const std::string& text, int place) {
  return place < static_cast<int>(text.size()) ? text[place] : '\0';
}

std::string Wide(char c) { return c == '\0' ? std::string() : ToFullWidth(c); }

bool HasChar(const std::string& text, char c) { return ContainsChar(text.c_str(), c) != 0; }

// The comma-separated entries of `list`, each cut in two by `split` and
// handed to `take`, which returns false to stop.
template <class Split, class Take>
void ForEachEntry(const std::string& list, Split split, Take take) {
  CsvCursor cursor;
  char entry[kTokenRoom + 1];
  int rc;
  do {
    rc = NextCsvTokenWith(cursor, entry, kTokenRoom, list.c_str());
    std::vector<char> head(std::strlen(entry) + 1), tail(std::strlen(entry) + 1);
    split(entry, head.data(), tail.data());
    if (!take(head.data(), tail.data())) return;
  } while (rc >= 0);
}

// The labels of a two-state field ("0=N,1=Y"): full-width, " " for an empty
// one; a label of more than one byte ends the list.
struct TwoStateLabels {
  std::string unmarked, marked;
};
TwoStateLabels ParseLabels(const std::string& condition) {
  TwoStateLabels labels;
  ForEachEntry(condition, SplitKeyValue, [&labels](const char* key, const char* label) {
    const std::size_t length = std::strlen(label);
    if (length > 1) return false;
    const std::string wide = Wide(length == 0 ? ' ' : label[0]);
    if (std::strcmp(key, "0") == 0) labels.unmarked = wide;
    if (std::strcmp(key, "1") == 0) labels.marked = wide;
    return true;
  });
  return labels;
}

int CountCharacters(const std::string& text) { return static_cast<int>(Characters(text).size()); }

std::string PadLeftWide(const std::string& value, int count) {
  std::string padded;
  for (int n = CountCharacters(value); n < count; ++n) padded += kWideBlank;
  return padded + value;
}

std::string ReplaceWide(const std::string& value, const std::string& from, const std::string& to) {
  std::string out;
  for (const std::string& c : Characters(value)) out += c == from ? to : c;
  return out;
}

std::string ApplyReplacementList(const std::string& value, const std::string& list) {
  struct Entry {
    std::string key, replacement;
  };
  std::vector<Entry> entries;
  auto splitAtArrow = [](const char* text, char* head, char* tail) {
    return SplitAtChar(text, head, tail, '>');
  };
  ForEachEntry(list, splitAtArrow, [&entries](const char* head, const char* tail) {
    entries.push_back({Wide(head[0]), Wide(tail[0])});
    return true;
  });

  std::string out;
  for (std::string c : Characters(value)) {
    if (c == kMultiply) c = kWideSmallX;
    for (const Entry& entry : entries) {
      if (!entry.key.empty() && c == entry.key) {
        c = entry.replacement;
        break;
      }
    }
    out += c;
  }
  return out;
}

std::string ApplyTypeMaskRules(const std::string& value, const std::string& mask, int checkKind) {
  if (mask == "1000000000") {
    std::vector<char> text(value.begin(), value.end());
    text.push_back('\0');
    ReplaceSignMarks(text.data(), checkKind == 2 ? 1 : 0);
    return text.data();
  }
  if (mask == "0001000000") {
    std::string out;
    for (const std::string& c : Characters(value)) {
      std::string kept = c == kWideBlank || InWideList(kKatakana, c) ? c : kWideAsterisk;
      for (const auto& pair : kLookAlikes) {
        if (c == pair[0]) kept = pair[1];
      }
      out += kept;
    }
    return out;
  }
  if (mask.size() >= 5 && mask[4] == '1') return ReplaceWide(value, kVoicingMark, kHiraganaI);
  return value;
}

// One box place of an edit pattern: two bytes in a two-byte pattern, else
// one; empty beyond the pattern's end.
std::string PatternPlace(const std::string& pattern, int place, bool twoBytes) {
  const std::size_t width = twoBytes ? 2 : 1;
  const std::size_t at = place * width;
  return at < pattern.size() ? pattern.substr(at, width) : std::string();
}

bool IsPatternBlank(const std::string& p, bool twoBytes) {
  return twoBytes ? p == kWideBlank || p == "  " : p == " ";
}

}  // namespace

CheckConversion ConvertCheckMarks(const SheetFieldSpec& field, const std::string& marks) {
  const std::string& pattern = field.codePattern;
  const std::string& condition = field.condition;
  const bool labelled = field.checkKind == 3 && condition.size() >= 3;
  const TwoStateLabels labels = labelled ? ParseLabels(condition) : TwoStateLabels{};
  const bool patternComma = HasChar(pattern, ',');
  const bool conditionComma = HasChar(condition, ',');
  const bool conditionPairs = HasChar(condition, '=');
  const bool drawnMarks = field.boxShape == 23 || field.boxShape == 24;
  const bool codeFromPattern =
      drawnMarks ||
      (!patternComma && static_cast<int>(pattern.size()) == field.boxCount) ||
      (patternComma && !condition.empty() && !conditionComma);
  const bool codeFromCondition =
      !condition.empty() && !conditionPairs && condition != kDittoMark && !conditionComma;

  CheckConversion out;
  out.pattern = "*";
  for (int place = 0; place < field.boxCount; ++place) {
    if (ByteAt(marks, place) != '1') {
      out.pattern += "_";
      if (field.checkKind == 3) out.value += labelled ? labels.unmarked : kWideZero;
      continue;
    }
    std::string code;
    if (field.checkKind == 3) {
      code = labelled ? labels.marked : kWideOne;
    } else if (codeFromPattern) {
      char c = ByteAt(pattern, place);
      if (c == '^') {
        out.pattern += "^";
        if (!patternComma) continue;
      }
      if (codeFromCondition) {
        c = ByteAt(condition, place);
        if (c == '^') continue;
      }
      code = Wide(c);
    } else if (!condition.empty() && !conditionPairs &&
               (condition == kDittoMark || conditionComma)) {
      code = kWideOne;
    } else {
      if (!conditionComma && ByteAt(condition, place) == '^') continue;
      if (place < kBoxCodeCount) code.assign(kBoxCodes + 2 * place, 2);
    }
    out.value += code;
    out.pattern += "1";
  }
  return out;
}

std::string PostProcessValue(const SheetFieldSpec& field, const std::string& typeMask,
                             const std::string& value, const std::string& replacements) {
  std::string out = replacements.empty() ? value : ApplyReplacementList(value, replacements);
  out = ApplyTypeMaskRules(out, typeMask, field.checkKind);
  if (field.decimals == 0) {
    std::vector<char> text(out.begin(), out.end());
    text.push_back('\0');
    TrimTrailingWideSpaces(text.data());
    out = text.data();
  }
  const bool noPattern = field.codePattern.empty();
  if (field.editLetter == 'D') {
    while (out.compare(0, 2, kWideBlank) == 0) out.erase(0, 2);
  } else if (field.editLetter == 'Z' && noPattern && !out.empty()) {
    out = ReplaceWide(PadLeftWide(out, field.boxCount), kWideBlank, kWideZero);
  } else if (field.editLetter == 'R' && noPattern && !out.empty()) {
    out = PadLeftWide(out, field.boxCount);
  }
  return out;
}

std::string ApplyEditPattern(const SheetFieldSpec& field, int densityKind,
                             const std::string& value) {
  const std::string& pattern = field.codePattern;
  if (pattern.empty() || field.editLetter == 'C') return value;
  if (densityKind == 1 || densityKind == 2) {
    if (field.decimals != 0) return ReplaceWide(value, kWidePeriod, "");
    const std::vector<std::string> chars = Characters(value);
    if (pattern == "  :" && chars.size() <= 4) {
      if (chars.size() == 4) return chars[0] + chars[1] + kWideColon + chars[2] + chars[3];
      if (chars.size() == 3) return chars[0] + kWideColon + chars[1] + chars[2];
      return value;
    }
  }
  const bool twoBytes = field.patternWidth == 1;
  const int places = static_cast<int>(pattern.size()) / (twoBytes ? 2 : 1);
  int blanks = 0, literals = 0;
  for (int place = 0; place < places; ++place) {
    IsPatternBlank(PatternPlace(pattern, place, twoBytes), twoBytes) ? ++blanks : ++literals;
  }
  int written = 0;
  for (const std::string& c : Characters(value)) written += c != kWideBlank;
  if (blanks > 0 && written == literals) return std::string();

  std::string filled = value;
  if (field.editLetter == 'Z') {
    filled = ReplaceWide(PadLeftWide(filled, field.boxCount), kWideBlank, kWideZero);
  } else if (field.editLetter == 'R') {
    filled = PadLeftWide(filled, field.boxCount);
  }
  const std::vector<std::string> chars = Characters(filled);
  std::string out;
  for (int place = 0; place < field.boxCount; ++place) {
    const std::string p = PatternPlace(pattern, place, twoBytes);
    const bool haveValue = place < static_cast<int>(chars.size());
    if (p.empty()) {
      if (haveValue) out += chars[place];
    } else if (IsPatternBlank(p, twoBytes)) {
      out += haveValue ? chars[place] : std::string(kWideBlank);
    } else {
      out += twoBytes ? p : Wide(p[0]);
    }
  }
  return out;
}

std::string MarksToCode(const std::string& pattern, const std::string& codes) {
  const std::vector<std::string> list = SplitCsvFields(codes.c_str(), kTokenRoom);

  std::string chosen;
  int marked = 0;
  const std::size_t boxes = pattern.empty() ? 0 : pattern.size() - 1;  // after the "*"
  for (std::size_t i = 0; i < boxes && i < list.size(); ++i) {
    if (pattern[i + 1] != '1' || list[i] == "^") continue;
    ++marked;
    chosen = list[i];
  }
  return marked > 1 ? "*" : chosen;
}

int InsertDecimalPoint(std::string* out, const std::string& value, int decimals) {
  if (HasChar(value, '.')) {
    *out = value;
    return -1;
  }
  if (decimals <= 0) {
    *out = value;
    return 0;
  }
  const bool negative = !value.empty() && value[0] == '-';
  std::string digits = negative ? value.substr(1) : value;
  while (static_cast<int>(digits.size()) <= decimals) digits.insert(0, "0");
  digits.insert(digits.size() - decimals, ".");
  *out = negative ? "-" + digits : digits;
  return 0;
}
