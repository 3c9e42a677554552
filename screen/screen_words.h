// The words of screen definitions and what they decode to: screen types,
// paper and position words of S_SCREEN rows, the word tables of S_FIELD and
// MUPA_FLD rows, and the small rules of sizes, fonts and function keys that
// follow from them. Portable: no Windows API; words are Shift-JIS and are
// compared whole; an unlisted word takes its table's default.
#pragma once

#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// Screen rows (S_SCREEN)

// What the type word of a screen selects.
struct ScreenTypeChoice {
  int type = 2;           // 1 menu, 2 list, 3 card, 5 set, 6 form, 8 project sheet
  int listSubKind = 0;    // lists: 0, 1 ("SI"), 2 ("DI"), 4 ("ﾘｽﾄC", "ﾘｽﾄc")
  int listCFlag = 0;      // "ﾘｽﾄc"
  bool ocrCard = false;   // "OCRｶｰﾄﾞ": a card in the OCR-card mode
  bool setEdit = false;   // "ｾｯﾄE": the open mode becomes -15
};
// Open mode -2 forces the word "MF" and -10 "PROJ".
ScreenTypeChoice ScreenTypeFromWord(const std::string& word, int openMode);

// A paper word: the window kind and the pixels added to the base size.
struct PaperChoice {
  bool known = false;
  int windowKind = -1;    // -1: the slot's kind stays
  double widthAdded = 0, heightAdded = 0;
  int widthCode = 0, heightCode = 0;  // non-zero: a window position code instead
  bool imageSized = false;            // "IMAG"
  bool maximized = false;             // the position becomes "最大"
};
PaperChoice PaperFromWord(const std::string& word);

// A position word as window position codes.
struct PositionChoice {
  bool known = false;
  int x = 0, y = 0;
};
PositionChoice PositionFromWord(const std::string& word);

// SCREDT: 1 entry, 2 buttons, 0 for any other word (the value stays unset).
int InputStyleFromWord(const std::string& word);
// CURMOV: "→"/"R" 1, "↓"/"D" 2, "P" 3, anything else 1.
int CursorMoveFromWord(const std::string& word);
// SCRINP of a card screen: "△" 0, "Ｎ" 2, anything else 1.
int CardEntryStateFromWord(const std::string& word);
// SCRFRM: "無" 0, "有" 1, any other word keeps `current`.
int FrameFlagFromWord(const std::string& word, int current);

// Font unit of a screen: SCRCSIZ, or 8 for menus and 7 for the others when
// below 1; one less on a screen of size class 1 (640 pixels or less).
int ScreenFontUnit(int scrcsiz, int screenType, int sizeClass);
// Row pitch: SCRLPCH when positive, else the row height (3 units - 1) + 2.
int ScreenRowPitch(int scrlpch, int fontUnit);

// Function-key strings: 16 characters, '0' hidden, '1' protected, '2'
// enabled, one a position (0 Esc, 1 to 12 F1 to F12).
constexpr int kFunctionKeyPositions = 16;
// The string a list (2), card (3) or set (5) screen gets when its stored one
// is shorter than 16 characters; "" for other types.
const char* DefaultFunctionKeys(int screenType);

// Rows a list screen shows: LINCNT (10 when below 1), lowered while the
// rows of `fields` items and the items already in the table (plus 53) would
// pass the 2100 items of the table.
int ListRowCount(int lincnt, int itemsInTable, int fields);

// ---------------------------------------------------------------------------
// Field rows (S_FIELD, MUPA_FLD)

char EditCharCode(const std::string& word);        // FLDEDT; default 'L'
char EditLetterFromWord(const std::string& word);  // 編集 of a sheet item; 'L'
char FieldAttrCode(const std::string& word);       // FLDTYPE; default 'X'
int ColorWordCode(const std::string& word);        // FLDCCOL, FLDBCOL; -1
int TitlePlacementCode(const std::string& word);   // FLDTTL; default 1
// FLDLOCK: the item's state; an unlisted word gives 1 (protected) when the
// screen's SCRINP is "×", else 0.
int AttrWordCode(const std::string& word, bool screenProtects);
int AttrWordIndex(const std::string& word);        // FLDDECR; default -1
int ChoiceFontCode(const std::string& word);       // 選択肢フォント; 0
// FLDUNQ of a card field: "→" 2, "×" -1, else 0.
int ImagePlacementFromWord(const std::string& word);
// FLDDEC forced by the row's SCRNAME word ("開封" 21, "ﾁｪｯｸ" 24, "無効" 26,
// "ﾗﾍﾞﾙ" 28, "送信" 30); -1 for other words. `centred` tells whether FLDEDT
// becomes "中央" (all but "開封").
int DecimalsFromScreenName(const std::string& word, bool* centred);

// ---------------------------------------------------------------------------
// Function-key bar (function_key_rules.cpp)

// What the key string of a screen is corrected by.
struct FunctionKeyFacts {
  int screenType = 0;
  bool sideScroll = false;       // a list with the SCRLSCRL flag
  bool newRowsAllowed = true;    // a list that adds rows
  int listInputMode = 1;
  int candidateFields = 0;       // fields with candidates (F11)
};
// Corrects the 16-character key string in place; true when it changed.
bool FixFunctionKeys(char* keys, const FunctionKeyFacts& facts);

// One button of the key bar.
struct FunctionKeyPlace {
  int position;   // 0 Esc, 1 to 12 F1 to F12
  int x;          // in key units
  int state;      // 0 enabled, 1 protected
};
// The buttons of a key string from x 1 on: hidden keys take no room; Esc,
// F4 and F8 (F5 and F10 with 15 function keys) leave a gap after them.
// `next` receives the x after the last button.
std::vector<FunctionKeyPlace> FunctionKeyPlaces(const char* keys, int functionKeys, int* next);

// The pop-up commands of F9 and the heading that becomes its guide text.
struct F9Menu {
  std::string commands;
  std::string heading;   // "" for none
};
F9Menu ChooseF9Menu(int screenType, int openMode, int screenNumber, int windowKind);
// The guide text of an enabled key (F9 aside); `cardEntryState` is the
// card's SCRINP code.
std::string FunctionKeyGuide(int position, int screenType, int cardEntryState);
