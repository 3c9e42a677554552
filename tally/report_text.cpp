// Text routines of the report layer: CSV cells and their splitter and the
// cells of vertical text with half-width kana joined.
// Portable; the Shift-JIS constants are spelled as bytes so the clang fuzz
// build sees the same bytes as GCC.
#include <cstring>

#include "foundation/csv_token.h"
#include "foundation/sjis_text.h"
#include "tally/tally.h"

namespace {

CsvCursor g_splitter;  // the report splitter's cursor, apart from the
                       // program-wide tokenizer's

bool NeedsCsvQuotes(const std::string& text) {
  return text.find_first_of(",\"\r\n") != std::string::npos;
}

// Half-width kana that join with a following mark, and their full-width
// results, position for position (three bytes: the base, then the two bytes
// of the joined character).
struct KanaJoin {
  unsigned char base;
  const char* joined;
};
// ｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾋﾌﾍﾎｳ + ﾞ -> ガギグゲゴザジズゼゾダヂヅデドバビブベボヴ
constexpr KanaJoin kVoiced[] = {
    {0xB6, "\x83\x4B"}, {0xB7, "\x83\x4D"}, {0xB8, "\x83\x4F"},
    {0xB9, "\x83\x51"}, {0xBA, "\x83\x53"}, {0xBB, "\x83\x55"},
    {0xBC, "\x83\x57"}, {0xBD, "\x83\x59"}, {0xBE, "\x83\x5B"},
    {0xBF, "\x83\x5D"}, {0xC0, "\x83\x5F"}, {0xC1, "\x83\x61"},
    {0xC2, "\x83\x64"}, {0xC3, "\x83\x66"}, {0xC4, "\x83\x68"},
    {0xCA, "\x83\x6F"}, {0xCB, "\x83\x72"}, {0xCC, "\x83\x75"},
    {0xCD, "\x83\x78"}, {0xCE, "\x83\x7B"}, {0xB3, "\x83\x94"},
};
// ﾊﾋﾌﾍﾎ + ﾟ -> パピプペポ
constexpr KanaJoin kSemiVoiced[] = {
    {0xCA, "\x83\x70"}, {0xCB, "\x83\x73"}, {0xCC, "\x83\x76"},
    {0xCD, "\x83\x79"}, {0xCE, "\x83\x7C"},
};
// ｧｨｪｫｯｬｭｮ -> ァィェォッャュョ
constexpr KanaJoin kSmall[] = {
    {0xA7, "\x83\x40"}, {0xA8, "\x83\x42"}, {0xAA, "\x83\x46"},
    {0xAB, "\x83\x48"}, {0xAF, "\x83\x62"}, {0xAC, "\x83\x83"},
    {0xAD, "\x83\x85"}, {0xAE, "\x83\x87"},
};
constexpr unsigned char kVoicedMark = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF;  // ﾟ
constexpr char kLongVowel[] = "\x81\x5B";        // ー
constexpr char kWideMinus[] = "\x81\x7C";        // －
constexpr char kWideBlank[] = "\x81\x40";        // 　

template <size_t N>
const char* FindJoin(const KanaJoin (&table)[N], unsigned char base) {
  for (const KanaJoin& entry : table) {
    if (entry.base == base) return entry.joined;
  }
  return nullptr;
}

bool IsBlankPair(const char* p) { return p[0] == ' ' && p[1] == ' '; }

// The full-width cell of the half-width character at `p` and the bytes it
// takes (2 when a voiced or semi-voiced mark joins it).
int ConvertHalfWidth(const char* p, std::string& cell) {
  const auto c = static_cast<unsigned char>(p[0]);
  const auto mark = static_cast<unsigned char>(p[1]);
  const char* joined = nullptr;
  if (mark == kVoicedMark) joined = FindJoin(kVoiced, c);
  if (mark == kSemiVoicedMark) joined = FindJoin(kSemiVoiced, c);
  if (joined) {
    cell = joined;
    return 2;
  }
  joined = FindJoin(kSmall, c);
  if (!joined) joined = ToFullWidth(p[0]);
  // A character without a full-width form is drawn as it is.
  cell = *joined ? joined : std::string(1, p[0]);
  return 1;
}

}  // namespace

void AppendCsvField(std::string& line, const char* text, bool quote) {
  const char* begin = text;
  const char* end = text + std::strlen(text);
  // A blank byte is never part of a double-byte character, so trimming
  // byte by byte is safe.
  while (begin < end && *begin == ' ') ++begin;
  while (end > begin && end[-1] == ' ') --end;
  const std::string cell(begin, end);
  if (quote || NeedsCsvQuotes(cell)) {
    line += '"';
    for (char c : cell) {
      if (c == '"') line += '"';
      line += c;
    }
    line += '"';
  } else {
    line += cell;
  }
  line += ',';
}

void FinishCsvLine(std::string& line) {
  if (!line.empty() && line.back() == ',') line.pop_back();
  line += "\r\n";
}

int FormatHasStringField(const char* format) {
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    for (int k = 1; k <= 4 && p[k]; ++k) {
      if (p[k] == 's') return 1;
    }
  }
  return 0;
}

int SplitCsvField(char* out, int capacity, const char* line) {
  return NextCsvTokenWith(g_splitter, out, capacity, line);
}

int ResetCsvFieldSplitter() { return SplitCsvField(nullptr, -1, nullptr); }

int SplitCsvFieldNext() { return ResetCsvFieldSplitter(); }

const char* NthCsvField(int n, const char* text) {
  static std::string field;
  field.clear();
  int index = 1;
  for (const char* p = text; *p && index <= n;) {
    const int width = SjisCharLength(p);
    if (width == 1 && *p == ',') {
      ++index;
    } else if (index == n) {
      field.append(p, width);
    }
    p += width;
  }
  return field.c_str();
}

int CountDelimitedParts(const char* text, char separator) {
  return CountCharDbcs(text, separator) + 1;
}

int CountVerticalChars(const char* text) {
  int count = 0;
  for (const char* p = text; *p; ++count) {
    p += IsBlankPair(p) ? 2 : SjisCharLength(p);
  }
  return count;
}

std::vector<VerticalCell> SplitVerticalCells(const char* text, bool convert) {
  std::vector<VerticalCell> cells;
  for (const char* p = text; *p;) {
    VerticalCell cell;
    int used = SjisCharLength(p);
    if (used == 2) {
      cell.text.assign(p, 2);
    } else if (IsBlankPair(p)) {
      cell.text = kWideBlank;
      used = 2;
    } else if (convert) {
      used = ConvertHalfWidth(p, cell.text);
    } else {
      cell.text.assign(p, 1);
    }
    cell.rotated = cell.text == kLongVowel || cell.text == kWideMinus;
    cells.push_back(cell);
    p += used;
  }
  return cells;
}
