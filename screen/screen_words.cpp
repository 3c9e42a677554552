// The word tables of screen and field rows (screen_words.h). Each table is
// searched in its order; the first whole match wins.
#include "screen/screen_words.h"

#include <cstring>

namespace {

template <class Code>
struct WordCode {
  const char* word;
  Code code;
};

template <class Code, size_t N>
Code Lookup(const WordCode<Code> (&table)[N], const std::string& word, Code fallback) {
  for (const WordCode<Code>& entry : table) {
    if (word == entry.word) return entry.code;
  }
  return fallback;
}

bool OneOf(const std::string& word, std::initializer_list<const char*> words) {
  for (const char* w : words) {
    if (word == w) return true;
  }
  return false;
}

constexpr WordCode<char> kEditChars[] = {
    {"／", '/'}, {"複行", 'F'}, {"Gｶﾗｰ", 'G'}, {"左詰", 'L'}, {"右詰", 'R'},
    {"中央", 'S'}, {"縦書", 'V'}, {"ZERO", 'Z'}, {"BMAP", 'I'}, {"SLAS", '/'},
    {"郵便", 'z'}, {"BALL", 'B'}, {"PASS", 'P'}, {"金額", 'K'},
};

constexpr WordCode<char> kSheetEditLetters[] = {
    {"左詰", 'L'}, {"０埋", 'Z'}, {"Ｂ除", 'D'}, {"右詰", 'R'}, {"ﾁｪｯｸ", 'C'}, {"BMAP", 'I'},
};

constexpr WordCode<char> kFieldKinds[] = {
    {"一括", 'F'}, {"全長", 'Z'}, {"ﾁｪｯｸ", 'c'}, {"整数", 's'}, {"年令", 'A'}, {"年齢", 'A'},
    {"生年", 'S'}, {"日付", 'D'}, {"ＺＢ", 'b'}, {"半角", 'X'}, {"全角", 'K'}, {"カナ", 'H'},
    {"数字", 'N'}, {"正数", 's'}, {"数Ｈ", 'T'}, {"点数", 't'}, {"順位", 'j'}, {"平均", 'h'},
    {"PBUT", 'B'}, {"RPOP", 'M'}, {"CBOX", 'c'}, {"RBUT", 'R'}, {"GCHK", 'C'}, {"出力", 'P'},
    {"FLAG", 'f'}, {"OMRF", 'o'},
};

constexpr WordCode<int> kColorWords[] = {
    {"F1", 110}, {"F2", 111}, {"LT", 38}, {"×", 13}, {"NF", 21}, {"黒", 0}, {"青", 1},
    {"赤", 2},   {"紫", 3},   {"緑", 4},  {"水", 5},  {"黄", 6},  {"白", 7}, {"灰", 8},
    {"グ", 9},   {"凹", 10},  {"凸", 11}, {"BM", 12}, {"", 13},
};

constexpr WordCode<int> kTitlePlacements[] = {
    {"Ｍ", 23}, {"Ｃ", 24}, {"←", 1}, {"→", 2}, {"↑", 3},  {"↓", 4},  {"×", 5},
    {"FT", 6},  {"FM", 7},  {"HN", 8}, {"TN", 9}, {"□", 10}, {"TO", 11}, {"PF", 12},
};

constexpr WordCode<int> kStateWords[] = {
    {"×", 1}, {"＃", 2}, {"Ｄ", 1}, {"－", 2}, {"Ｓ", 2},
};

constexpr WordCode<int> kFrameWords[] = {
    {"", 0}, {"枠無", 1}, {"細枠", 2}, {"太枠", 3}, {"ｱｲｺﾝ", 4}, {"凹", 5}, {"PLAN", 6}, {"MUPA", 7},
};

constexpr WordCode<int> kChoiceFonts[] = {{"Ｇ", 1}, {"PM", 2}, {"PG", 3}};

// Paper sizes at 4.8 pixels a millimetre.
struct PaperSize {
  const char* word;
  int windowKind;
  double width, height;
};
constexpr PaperSize kPaperSizes[] = {
    {"B5縦", 7, 873.6, 1233.6},   {"B5横", 8, 1233.6, 873.6},   {"B4縦", 5, 1233.6, 1747.2},
    {"B4横", 6, 1747.2, 1233.6},  {"A4縦", 3, 1008, 1425.6},    {"A4横", 4, 1425.6, 1008},
    {"A3縦", 1, 1425.6, 2016},    {"A3横", 2, 2016, 1425.6},    {"CD縦", 9, 264, 436.8},
    {"CD横", 10, 436.8, 264},
};

struct Position {
  const char* word;
  int x, y;
};
constexpr Position kPositions[] = {
    {"最大", -5, -5}, {"右上", -3, 0}, {"左上", 0, 0},   {"右下", -3, -4},
    {"左下", 0, -4},  {"中央", -2, -2}, {"ｶｰｿﾙ", -7, -7},
};

}  // namespace

ScreenTypeChoice ScreenTypeFromWord(const std::string& stored, int openMode) {
  std::string word = stored;
  if (openMode == -2) word = "MF";
  if (openMode == -10) word = "PROJ";
  ScreenTypeChoice choice;
  if (OneOf(word, {"N", "ﾒﾆｭｰ"})) {
    choice.type = 1;
  } else if (OneOf(word, {"CI", "ｶｰﾄﾞ"})) {
    choice.type = 3;
  } else if (OneOf(word, {"SU", "ｾｯﾄ", "ｾｯﾄE"})) {
    choice.type = 5;
    choice.setEdit = word == "ｾｯﾄE";
  } else if (OneOf(word, {"MF", "ﾌｫｰﾑ"})) {
    choice.type = 6;
  } else if (word == "PROJ") {
    choice.type = 8;
  } else if (word == "OCRｶｰﾄﾞ") {
    choice.type = 3;
    choice.ocrCard = true;
  } else {
    choice.type = 2;
    if (OneOf(word, {"SI", "ﾘｽﾄS"})) {
      choice.listSubKind = 1;
    } else if (OneOf(word, {"DI", "ﾘｽﾄI"})) {
      choice.listSubKind = 2;
    } else if (word == "ﾘｽﾄC") {
      choice.listSubKind = 4;
    } else if (word == "ﾘｽﾄc") {
      choice.listSubKind = 4;
      choice.listCFlag = 1;
    }
  }
  return choice;
}

PaperChoice PaperFromWord(const std::string& word) {
  PaperChoice choice;
  if (word == "IMAG") {
    choice.known = true;
    choice.imageSized = true;
    choice.windowKind = 12;
    return choice;
  }
  for (const PaperSize& paper : kPaperSizes) {
    if (word != paper.word) continue;
    choice.known = true;
    choice.windowKind = paper.windowKind;
    choice.widthAdded = paper.width;
    choice.heightAdded = paper.height;
    choice.maximized = paper.windowKind >= 9;  // the CD words
    return choice;
  }
  if (word == "EXEC" || word == "PANL") {
    choice.known = true;
    choice.maximized = true;
    choice.windowKind = word == "EXEC" ? 13 : -1;
    choice.widthCode = -5;
    choice.heightCode = word == "EXEC" ? -5 : -8;
  }
  return choice;
}

PositionChoice PositionFromWord(const std::string& word) {
  for (const Position& p : kPositions) {
    if (word == p.word) return {true, p.x, p.y};
  }
  return {};
}

int InputStyleFromWord(const std::string& word) {
  if (OneOf(word, {"入力", "EDIT"})) return 1;
  if (OneOf(word, {"ﾎﾞﾀﾝ", "BUTT"})) return 2;
  return 0;
}

int CursorMoveFromWord(const std::string& word) {
  if (OneOf(word, {"↓", "D"})) return 2;
  if (word == "P") return 3;
  return 1;
}

int CardEntryStateFromWord(const std::string& word) {
  if (word == "△") return 0;
  if (word == "Ｎ") return 2;
  return 1;
}

int FrameFlagFromWord(const std::string& word, int current) {
  if (word == "無") return 0;
  if (word == "有") return 1;
  return current;
}

int ScreenFontUnit(int scrcsiz, int screenType, int sizeClass) {
  int unit = scrcsiz >= 1 ? scrcsiz : screenType == 1 ? 8 : 7;
  if (sizeClass == 1) unit -= 1;
  return unit;
}

int ScreenRowPitch(int scrlpch, int fontUnit) {
  return scrlpch > 0 ? scrlpch : 3 * fontUnit - 1 + 2;
}

const char* DefaultFunctionKeys(int screenType) {
  switch (screenType) {
    case 2: return "2222222222122000";
    case 3: return "2222211222122000";
    case 5: return "2111111111122000";
    default: return "";
  }
}

int ListRowCount(int lincnt, int itemsInTable, int fields) {
  const int rows = lincnt < 1 ? 10 : lincnt;
  const int base = itemsInTable + 53;
  if ((rows + 1) * fields + base <= 2100) return rows;
  for (int h = rows; h >= 1; --h) {
    if ((fields + 1) * h + base < 2100) return h - 1;
  }
  return 0;
}

char EditCharCode(const std::string& word) { return Lookup(kEditChars, word, 'L'); }

char EditLetterFromWord(const std::string& word) { return Lookup(kSheetEditLetters, word, 'L'); }

char FieldAttrCode(const std::string& word) { return Lookup(kFieldKinds, word, 'X'); }

int ColorWordCode(const std::string& word) { return Lookup(kColorWords, word, -1); }

int TitlePlacementCode(const std::string& word) { return Lookup(kTitlePlacements, word, 1); }

int AttrWordCode(const std::string& word, bool screenProtects) {
  return Lookup(kStateWords, word, screenProtects ? 1 : 0);
}

int AttrWordIndex(const std::string& word) { return Lookup(kFrameWords, word, -1); }

int ChoiceFontCode(const std::string& word) { return Lookup(kChoiceFonts, word, 0); }

int ImagePlacementFromWord(const std::string& word) {
  if (word == "→") return 2;
  if (word == "×") return -1;
  return 0;
}

int DecimalsFromScreenName(const std::string& word, bool* centred) {
  constexpr WordCode<int> kForced[] = {
      {"開封", 21}, {"ﾁｪｯｸ", 24}, {"無効", 26}, {"ﾗﾍﾞﾙ", 28}, {"送信", 30},
  };
  const int code = Lookup(kForced, word, -1);
  if (centred) *centred = code > 0 && code != 21;
  return code;
}
