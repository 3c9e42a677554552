// Shift-JIS text utilities. Every scan walks the text character by character
// (SjisCharLength), so no byte of a double-byte character is ever taken for a
// delimiter, a digit or a blank. Shift-JIS constants are written as byte
// escapes: the clang fuzz build compiles this file and cannot convert
// literals to code page 932.
#include "foundation/sjis_text.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

// Half-width / full-width pairs, in the program's order. A narrow entry is one
// byte, two for the voiced kana (base kana and "ﾞ" or "ﾟ"); a wide entry is
// one double-byte character.
//  0123456789-+.,ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz
constexpr char kAlphanumericNarrow[] = " 0123456789-+.,ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr const char* kAlphanumericWide[] = {
    "\x81\x40", "\x82\x4F", "\x82\x50", "\x82\x51", "\x82\x52", "\x82\x53",  // 　０１２３４
    "\x82\x54", "\x82\x55", "\x82\x56", "\x82\x57", "\x82\x58", "\x81\x7C",  // ５６７８９－
    "\x81\x7B", "\x81\x44", "\x81\x43", "\x82\x60", "\x82\x61", "\x82\x62",  // ＋．，ＡＢＣ
    "\x82\x63", "\x82\x64", "\x82\x65", "\x82\x66", "\x82\x67", "\x82\x68",  // ＤＥＦＧＨＩ
    "\x82\x69", "\x82\x6A", "\x82\x6B", "\x82\x6C", "\x82\x6D", "\x82\x6E",  // ＪＫＬＭＮＯ
    "\x82\x6F", "\x82\x70", "\x82\x71", "\x82\x72", "\x82\x73", "\x82\x74",  // ＰＱＲＳＴＵ
    "\x82\x75", "\x82\x76", "\x82\x77", "\x82\x78", "\x82\x79", "\x82\x81",  // ＶＷＸＹＺａ
    "\x82\x82", "\x82\x83", "\x82\x84", "\x82\x85", "\x82\x86", "\x82\x87",  // ｂｃｄｅｆｇ
    "\x82\x88", "\x82\x89", "\x82\x8A", "\x82\x8B", "\x82\x8C", "\x82\x8D",  // ｈｉｊｋｌｍ
    "\x82\x8E", "\x82\x8F", "\x82\x90", "\x82\x91", "\x82\x92", "\x82\x93",  // ｎｏｐｑｒｓ
    "\x82\x94", "\x82\x95", "\x82\x96", "\x82\x97", "\x82\x98", "\x82\x99",  // ｔｕｖｗｘｙ
    "\x82\x9A",  // ｚ
};
// ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝｰﾞﾟ
constexpr char kKanaNarrow[] =
    "\xB1\xB2\xB3\xB4\xB5\xB6\xB7\xB8\xB9\xBA\xBB\xBC"
    "\xBD\xBE\xBF\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8"
    "\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3\xD4"
    "\xD5\xD6\xD7\xD8\xD9\xDA\xDB\xDC\xA6\xDD\xB0\xDE"
    "\xDF";
constexpr const char* kKanaWide[] = {
    "\x83\x41", "\x83\x43", "\x83\x45", "\x83\x47", "\x83\x49", "\x83\x4A",  // アイウエオカ
    "\x83\x4C", "\x83\x4E", "\x83\x50", "\x83\x52", "\x83\x54", "\x83\x56",  // キクケコサシ
    "\x83\x58", "\x83\x5A", "\x83\x5C", "\x83\x5E", "\x83\x60", "\x83\x63",  // スセソタチツ
    "\x83\x65", "\x83\x67", "\x83\x69", "\x83\x6A", "\x83\x6B", "\x83\x6C",  // テトナニヌネ
    "\x83\x6D", "\x83\x6E", "\x83\x71", "\x83\x74", "\x83\x77", "\x83\x7A",  // ノハヒフヘホ
    "\x83\x7D", "\x83\x7E", "\x83\x80", "\x83\x81", "\x83\x82", "\x83\x84",  // マミムメモヤ
    "\x83\x86", "\x83\x88", "\x83\x89", "\x83\x8A", "\x83\x8B", "\x83\x8C",  // ユヨラリルレ
    "\x83\x8D", "\x83\x8F", "\x83\x92", "\x83\x93", "\x81\x5B", "\x81\x4A",  // ロワヲンー゛
    "\x81\x4B",  // ゜
};
// ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟｳﾞ
constexpr char kVoicedKanaNarrow[] =
    "\xB6\xDE\xB7\xDE\xB8\xDE\xB9\xDE\xBA\xDE\xBB\xDE"
    "\xBC\xDE\xBD\xDE\xBE\xDE\xBF\xDE\xC0\xDE\xC1\xDE"
    "\xC2\xDE\xC3\xDE\xC4\xDE\xCA\xDE\xCB\xDE\xCC\xDE"
    "\xCD\xDE\xCE\xDE\xCA\xDF\xCB\xDF\xCC\xDF\xCD\xDF"
    "\xCE\xDF\xB3\xDE";
constexpr const char* kVoicedKanaWide[] = {
    "\x83\x4B", "\x83\x4D", "\x83\x4F", "\x83\x51", "\x83\x53", "\x83\x55",  // ガギグゲゴザ
    "\x83\x57", "\x83\x59", "\x83\x5B", "\x83\x5D", "\x83\x5F", "\x83\x61",  // ジズゼゾダヂ
    "\x83\x64", "\x83\x66", "\x83\x68", "\x83\x6F", "\x83\x72", "\x83\x75",  // ヅデドバビブ
    "\x83\x78", "\x83\x7B", "\x83\x70", "\x83\x73", "\x83\x76", "\x83\x79",  // ベボパピプペ
    "\x83\x7C", "\x83\x94",  // ポヴ
};
// * : ; ? ! / ( ) [ ] ｢ ｣ = < > $ % # & @ ^ ･ _ o x * * " \ (backslash)
constexpr char kSignNarrow[] = "*:;?!/()[]\xA2\xA3=<>$%#&@^\xA5_ox**\"\\";
constexpr const char* kSignWide[] = {
    "\x81\x96", "\x81\x46", "\x81\x47", "\x81\x48", "\x81\x49", "\x81\x5E",  // ＊：；？！／
    "\x81\x69", "\x81\x6A", "\x81\x6D", "\x81\x6E", "\x81\x75", "\x81\x76",  // （）［］「」
    "\x81\x81", "\x81\x83", "\x81\x84", "\x81\x90", "\x81\x93", "\x81\x94",  // ＝＜＞＄％＃
    "\x81\x95", "\x81\x97", "\x81\x4F", "\x81\x45", "\x81\x51", "\x81\x9B",  // ＆＠＾・＿○
    "\x81\x7E", "\x81\xA2", "\x81\xA7", "\x81\x68", "\x81\x8F",  // ×△〒”￥
};

struct WidthTable {
  const char* narrow;
  int narrowBytes;  // bytes of one narrow entry
  const char* const* wide;
  int count;
};

template <size_t N>
constexpr WidthTable MakeWidthTable(const char* narrow, int narrowBytes,
                                    const char* const (&wide)[N]) {
  return {narrow, narrowBytes, wide, static_cast<int>(N)};
}

static_assert(sizeof(kAlphanumericNarrow) - 1 == std::size(kAlphanumericWide));
static_assert(sizeof(kKanaNarrow) - 1 == std::size(kKanaWide));
static_assert(sizeof(kVoicedKanaNarrow) - 1 == 2 * std::size(kVoicedKanaWide));
static_assert(sizeof(kSignNarrow) - 1 == std::size(kSignWide));

constexpr WidthTable kAlphanumericTable =
    MakeWidthTable(kAlphanumericNarrow, 1, kAlphanumericWide);
constexpr WidthTable kKanaTable = MakeWidthTable(kKanaNarrow, 1, kKanaWide);
constexpr WidthTable kVoicedKanaTable = MakeWidthTable(kVoicedKanaNarrow, 2, kVoicedKanaWide);
constexpr WidthTable kSignTable = MakeWidthTable(kSignNarrow, 1, kSignWide);

// Search orders: narrowing tries every table, widening one byte has no use
// for the two-byte voiced entries.
constexpr const WidthTable* kNarrowingOrder[] = {&kAlphanumericTable, &kKanaTable,
                                                 &kVoicedKanaTable, &kSignTable};
constexpr const WidthTable* kWideningOrder[] = {&kAlphanumericTable, &kKanaTable, &kSignTable};

constexpr char kWideSpace[] = "\x81\x40";     // "　"
constexpr char kWideAsterisk[] = "\x81\x96";  // "＊"
constexpr char kSignMarks[][3] = {"\x81\x7C", "\x81\x7B", "\x81\x44", "\x81\x43"};  // －＋．，
constexpr char kVoicedMark = '\xDE';      // "ﾞ"
constexpr char kSemiVoicedMark = '\xDF';  // "ﾟ"

// Room of WideTextToNarrow's shared buffer.
constexpr size_t kNarrowTextSize = 4096;

bool IsWideChar(const char* p, const char* wide) {
  return SjisCharLength(p) == 2 && p[0] == wide[0] && p[1] == wide[1];
}

// True when `p` is the single-byte character `c` (not a byte of a pair).
bool IsSingleChar(const char* p, char c) { return *p == c && SjisCharLength(p) == 1; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int FindWide(const WidthTable& table, const char* character) {
  for (int i = 0; i < table.count; ++i) {
    if (IsWideChar(character, table.wide[i])) return i;
  }
  return -1;
}

int FindNarrow(const WidthTable& table, const char* text) {
  for (int i = 0; i < table.count; ++i) {
    if (std::strncmp(table.narrow + i * table.narrowBytes, text, table.narrowBytes) == 0) return i;
  }
  return -1;
}

// Position of the last single-byte `c` in `text`, or -1.
long LastCharPosition(const char* text, char c) {
  long last = -1;
  for (size_t i = 0; text[i]; i += SjisCharLength(text + i)) {
    if (IsSingleChar(text + i, c)) last = static_cast<long>(i);
  }
  return last;
}

// Position just after the last single-byte character of `delimiters` in
// `text`, 0 when there is none.
size_t AfterLastDelimiter(const char* text, const char* delimiters) {
  size_t after = 0;
  for (size_t i = 0; text[i]; i += SjisCharLength(text + i)) {
    if (SjisCharLength(text + i) == 1 && std::strchr(delimiters, text[i])) after = i + 1;
  }
  return after;
}

void CopyBytes(char* out, const char* text, size_t length) {
  std::memmove(out, text, length);
  out[length] = '\0';
}

// Key before the first separator, value after the last; separators before
// `firstAllowed` do not split.
int SplitAt(const char* text, char* head, char* tail, char separator, size_t firstAllowed) {
  long first = -1;
  long last = -1;
  for (size_t i = 0; text[i]; i += SjisCharLength(text + i)) {
    if (i < firstAllowed || !IsSingleChar(text + i, separator)) continue;
    if (first < 0) first = static_cast<long>(i);
    last = static_cast<long>(i);
  }
  if (first < 0) {
    std::strcpy(head, text);
    tail[0] = '\0';
    return 0;
  }
  std::strcpy(tail, text + last + 1);
  CopyBytes(head, text, first);
  return 0;
}

// Steps a digit text by one: `wrapFrom` rolls over to `wrapTo` and carries.
int StepDigitString(char* digits, char wrapFrom, char wrapTo, int step) {
  for (size_t i = std::strlen(digits); i-- > 0;) {
    if (!IsDigit(digits[i])) break;
    if (digits[i] != wrapFrom) {
      digits[i] = static_cast<char>(digits[i] + step);
      break;
    }
    digits[i] = wrapTo;
  }
  return 0;
}

// Widens `text` into `out`; with `keepDoubleByte` double-byte characters are
// copied and voiced kana pairs become one character, else double-byte
// characters have no full-width form and are dropped.
int WidenText(char* out, const char* text, bool keepDoubleByte) {
  size_t written = 0;
  for (size_t i = 0; text[i];) {
    const char* wide = nullptr;
    int consumed = SjisCharLength(text + i);
    if (consumed == 2) {
      if (keepDoubleByte) {
        out[written++] = text[i];
        out[written++] = text[i + 1];
      }
    } else {
      const bool marked = text[i + 1] == kVoicedMark || text[i + 1] == kSemiVoicedMark;
      const int voiced = keepDoubleByte && marked ? FindNarrow(kVoicedKanaTable, text + i) : -1;
      if (voiced >= 0) {
        wide = kVoicedKanaTable.wide[voiced];
        consumed = 2;
      } else {
        wide = ToFullWidth(text[i]);
      }
    }
    if (wide && *wide) {
      out[written++] = wide[0];
      out[written++] = wide[1];
    }
    i += consumed;
  }
  out[written] = '\0';
  return static_cast<int>(written);
}

}  // namespace

int SjisPrefixLength(const char* text, int characters, int bytes) {
  int length = 0;
  for (int counted = 0; counted < characters && text[length]; ++counted) {
    const int width = SjisCharLength(text + length);
    if (length + width > bytes) break;
    length += width;
  }
  return length;
}

int DecimalTextToInt(const char* text) {
  const long value = std::strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int GetDbcsByteKind(const char* text, int n) {
  if (n <= 0) return -1;
  int kind = -1;
  bool pairOpen = false;
  for (int i = 0; i < n; ++i) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b == 0) return -1;
    if (pairOpen) {
      kind = IsSjisTrailByte(b) ? 2 : 0;
      pairOpen = false;
    } else {
      pairOpen = IsSjisLeadByte(b);
      kind = pairOpen ? 1 : 0;
    }
  }
  return kind;
}

int CountCharDbcs(const char* text, char c) {
  int count = 0;
  for (size_t i = 0; text[i]; i += SjisCharLength(text + i)) {
    if (IsSingleChar(text + i, c)) ++count;
  }
  return count;
}

int ContainsChar(const char* text, char c) { return CountCharDbcs(text, c) > 0 ? 1 : 0; }

int CountSpaces(const char* text) {
  int count = 0;
  for (; *text; ++text) {
    if (std::isspace(static_cast<unsigned char>(*text))) ++count;
  }
  return count;
}

int CopySubstring(char* out, const char* text, int start, int length) {
  out[0] = '\0';
  if (start <= 0 || length <= 0) return 0;
  const size_t textLength = std::strlen(text);
  if (static_cast<size_t>(start) > textLength) return -1;
  const size_t available = textLength - (start - 1);
  const bool textEnded = available < static_cast<size_t>(length);
  size_t copied = textEnded ? available : static_cast<size_t>(length);
  // A lead byte whose trail byte lies beyond the copy would leave half a
  // character at the end.
  if (GetDbcsByteKind(text, static_cast<int>(start - 1 + copied)) == 1) --copied;
  CopyBytes(out, text + start - 1, copied);
  return textEnded ? -1 : 0;
}

int SubstringToInt(const char* text, int start, int length) {
  char part[128];
  CopySubstring(part, text, start, length < 127 ? length : 127);
  return DecimalTextToInt(part);
}

int CountMixedWidth(int start, int length, char* out, const char* text) {
  const int textLength = static_cast<int>(std::strlen(text));
  if (start < 0) start = 0;
  if (start >= textLength) {
    out[0] = '\0';
    return textLength;
  }
  const int limit = length < textLength - start ? start + length : textLength;
  int end = start;
  while (end < limit) {
    const int width = SjisCharLength(text + end);
    if (end + width > limit) break;
    end += width;
  }
  if (end == start) end = start + SjisCharLength(text + start);
  std::memcpy(out, text + start, end - start);
  out[end - start] = '\0';
  return end;
}

int SplitKeyValue(const char* text, char* key, char* value) {
  return SplitAt(text, key, value, '=', 0);
}

int SplitAtChar(const char* text, char* head, char* tail, char separator) {
  return SplitAt(text, head, tail, separator, 1);
}

int TrimTrailing(char* head, const char* text) {
  // Digits are below 0x40, so they are never the trail byte of a pair.
  const size_t length = std::strlen(text);
  size_t digitsAt = length;
  while (digitsAt > 0 && IsDigit(text[digitsAt - 1])) --digitsAt;
  const int value = digitsAt < length ? DecimalTextToInt(text + digitsAt) : -1;
  CopyBytes(head, text, digitsAt);
  return value;
}

int SplitItemNameIndex(char* base, const char* itemName, bool repeatingMember) {
  const size_t length = std::strlen(itemName);
  if (repeatingMember && length >= 2 && IsDigit(itemName[length - 1]) &&
      (IsDigit(itemName[length - 2]) || itemName[length - 2] == ' ')) {
    const int index = DecimalTextToInt(itemName + length - 2);
    CopyBytes(base, itemName, length - 2);
    return index;
  }
  return TrimTrailing(base, itemName);
}

int TrimTrailingWideSpaces(char* text) {
  size_t end = 0;
  for (size_t i = 0; text[i];) {
    const int width = SjisCharLength(text + i);
    i += width;
    if (!IsWideChar(text + i - width, kWideSpace)) end = i;
  }
  text[end] = '\0';
  return static_cast<int>(end);
}

int ReplaceSignMarks(char* text, int mode) {
  size_t out = 0;
  for (size_t i = 0; text[i];) {
    const int width = SjisCharLength(text + i);
    const bool isMark = std::any_of(std::begin(kSignMarks), std::end(kSignMarks),
                                    [&](const char* mark) { return IsWideChar(text + i, mark); });
    if (isMark) {
      if (mode != 1) {
        text[out++] = kWideAsterisk[0];
        text[out++] = kWideAsterisk[1];
      }
    } else {
      std::memmove(text + out, text + i, width);
      out += width;
    }
    i += width;
  }
  text[out] = '\0';
  return static_cast<int>(out);
}

int RangeTypeForValues(double minimum, double maximum, int decimals) {
  if (decimals > 0) return 4;
  if (minimum >= -32768 && maximum <= 32767) return 3;
  if (minimum >= -2147483647.0 && maximum <= 2147483647.0) return 6;
  return 4;
}

namespace {

// Moves the single-byte letters `from` .. `from` + 25 by `shift`.
char* ShiftLetterCase(char* text, char from, int shift) {
  for (size_t i = 0; text[i]; i += SjisCharLength(text + i)) {
    if (text[i] >= from && text[i] <= from + 25) text[i] = static_cast<char>(text[i] + shift);
  }
  return text;
}

}  // namespace

char* ToUpperDbcsSafe(char* text) { return ShiftLetterCase(text, 'a', 'A' - 'a'); }

char* ToLowerDbcsSafe(char* text) { return ShiftLetterCase(text, 'A', 'a' - 'A'); }

int IncrementDigitString(char* digits) { return StepDigitString(digits, '9', '0', 1); }

int DecrementDigitString(char* digits) { return StepDigitString(digits, '0', '9', -1); }

int CenterPad(char* out, const char* text, int width) {
  const int length = static_cast<int>(std::strlen(text));
  int blanks = width - length;
  if (blanks > 1) blanks /= 2;
  if (blanks < 0) blanks = 0;
  std::memset(out, ' ', blanks);
  std::strcpy(out + blanks, text);
  return 0;
}

int GetDirectoryPart(char* out, const char* path) {
  const long slash = LastCharPosition(path, '\\');
  CopyBytes(out, path, slash < 0 ? 0 : slash);
  return 0;
}

int GetFileBaseName(char* out, const char* path) {
  const char* name = path + AfterLastDelimiter(path, "\\#:");
  const long dot = LastCharPosition(name, '.');
  CopyBytes(out, name, dot < 0 ? std::strlen(name) : dot);
  return 0;
}

int GetFileExtension(char* out, const char* path) {
  // Only the file name: a dot in a folder name is no extension.
  const char* name = path + AfterLastDelimiter(path, "\\#:");
  const long dot = LastCharPosition(name, '.');
  std::strcpy(out, dot < 0 ? "" : name + dot + 1);
  return 0;
}

int GetFileExtensionUpper(char* out, const char* path) {
  GetFileExtension(out, path);
  ToUpperDbcsSafe(out);
  return 0;
}

const char* WideCharToNarrow(const char* character) {
  static char narrow[3];
  for (const WidthTable* table : kNarrowingOrder) {
    const int i = FindWide(*table, character);
    if (i >= 0) {
      CopyBytes(narrow, table->narrow + i * table->narrowBytes, table->narrowBytes);
      return narrow;
    }
  }
  return "*";
}

const char* WideTextToNarrow(const char* text) {
  static char narrow[kNarrowTextSize];
  size_t out = 0;
  for (size_t i = 0; text[i]; i += SjisCharLength(text + i)) {
    const bool wide = SjisCharLength(text + i) == 2;
    const char* piece = wide ? WideCharToNarrow(text + i) : text + i;
    const size_t pieceLength = wide ? std::strlen(piece) : 1;
    if (out + pieceLength >= sizeof(narrow)) break;
    std::memcpy(narrow + out, piece, pieceLength);
    out += pieceLength;
  }
  narrow[out] = '\0';
  return narrow;
}

const char* ToFullWidth(char c) {
  for (const WidthTable* table : kWideningOrder) {
    const int i = FindNarrow(*table, &c);
    if (i >= 0) return table->wide[i];
  }
  return "";
}

int NarrowTextToWide(char* out, const char* text) { return WidenText(out, text, false); }

int ToHalfWidth(char* out, const char* text) { return WidenText(out, text, true); }
