// The sheet generator: filled OCR sheets as a scanner would deliver them,
// drawn from a sheet definition, for the tests and benchmarks of the
// reading run. A sheet is drawn as printed (registration marks, optionally
// the box outlines in black), its chosen boxes filled as a pen would, and
// then scanned: turned, scaled and shifted, specked, upside down. Everything
// random comes from the request's seed, so a sheet is the same on every run
// and machine; the expected value of every field comes with it. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// The sheet definition, as the rows of the sheet-definition tables hold it.

// MUPA_PAP: the paper of one side.
struct SheetPaperRow {
  std::string side = "0001";         // ＯＣＲコード
  std::string name;                  // ＯＣＲ用紙名
  std::string outputTable;           // テーブル
  std::string paperSize = "Ａ４";    // 用紙サイズ
  std::string orientation = "縦";    // 用紙方向 ("横" landscape)
  int userWidth = 0, userHeight = 0; // ＩＮＴ１, ＩＮＴ２: mm of paper "定義"
  int compensationMode = 3;          // LINESTYLE
  int markMarginX = 0, markMarginY = 0;  // 補正Ｘ余白, 補正Ｙ余白 (mm)
  int gridShiftX = 0, gridShiftY = 0;    // 横シフト, 縦シフト
  double ratioX[3] = {0, 0, 0};      // イメージ割合01-03 by resolution code
  double ratioY[3] = {0, 0, 0};      // イメージ割合11-13
  int noiseSize = 0;                 // ノイズサイズ
  int scanType = 2;                  // 予備１
  int errorSetting = 0;              // 予備２: 2 continue after a fault
  int keyNumbering = 0;              // 予備３
  int createTable = 1;               // テーブル作成
  int existingData = 1;              // 既存データ: 2 overwrite a stored key
  int keepImage = 0;                 // ＩＮＴ６
  int blankAreas = 0;                // ＩＮＴ９: blank areas are not kept
  int ruledLines = 0;                // 罫線: areas are cut out
  int recordImages = 0;              // 比較用イメージ出力: field images
};

// MUPA_FLD: one field of a side.
struct SheetFieldRow {
  std::string side = "0001";         // ＯＣＲコード
  std::string code;                  // 領域コード
  std::string name;                  // 領域名
  std::string title;                 // タイトル
  int x = 0, y = 0;                  // Ｘ座標, Ｙ座標: sheet dots, 4 a mm
  int count = 1;                     // 文字数: boxes
  int boxWidth = 5, boxHeight = 5;   // 横幅, 高さ (mm)
  int gap = 1;                       // Ｂサイズ (mm; -1 boxes that touch)
  std::string edit = "左詰";         // 編集: "ﾁｪｯｸ" for check fields
  std::string type;                  // タイプ: "Ｘ", "Ｙ" rows of choices
  int markType = 0;                  // マーク型: 0 square, 1 oval
  int threshold = 150;               // しきい値
  int arrayCount = 0;                // 配列個数: rows of choices
  int arrayGap = 0;                  // 配列行間 (mm)
  std::string shape;                 // 背景色
  std::string overlay;               // 重ね文字: the codes printed in the boxes
  std::string condition;             // 変換条件
  std::string charType = "文字";     // 文字型
  int decimals = 0;                  // 少数部桁数: check fields, most marks
  int required = 1;                  // 空白不可: 2 required
  std::string mask = "1000000000";   // 有効文字種
  std::string minimum, maximum;      // 最小値, 最大値
  bool IsCheck() const;
};

// A check field of side "0001": a row of `boxes` square boxes of `boxMm`
// mm, 2 mm apart, at (x, y) sheet dots, read at threshold 150 with any
// number of marks counted as the box numbers.
SheetFieldRow CheckFieldRow(const char* code, const char* name, int x, int y, int boxes,
                            int boxMm = 5);
// A write-in field of side "0001": `count` boxes of 5 mm, read as one piece
// ("一括"), left-aligned, at (x, y) sheet dots.
SheetFieldRow WriteInFieldRow(const char* code, const char* name, int x, int y, int count);

// MUPA_HMK: registered mark positions of a side and resolution.
struct SheetMarkRow {
  std::string side = "0001";
  int resolutionCode = 2;            // コード: 1 200 dpi, 2 300, 3 400
  int x1 = -1, y1 = -1, x2 = -1, y2 = -1, x3 = -1, y3 = -1;
  int width = 0, height = 0;
};

// MUPA_IDX: a key item of the sheet (row "01" names the key field).
struct SheetKeyRow {
  std::string side = "0001";
  std::string code = "01";           // ＩＤＸコード
  std::string name;                  // 項目名
  std::string title;                 // タイトル
  int width = 4;                     // 文字数
  std::string initial;               // 初期値
};

// MUPA_LIN: a ruled line of a side; size 99 frames an area cut out of
// every read sheet.
struct SheetLineRow {
  std::string side = "0001";
  std::string code;                  // LINCODE
  char style = 'C';                  // LINSTYLE
  int size = 99;                     // LINSIZE
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // sheet dots
};

struct SheetDefinition {
  std::vector<SheetPaperRow> papers;
  std::vector<SheetFieldRow> fields;
  std::vector<SheetMarkRow> marks;
  std::vector<SheetKeyRow> keys;
  std::vector<SheetLineRow> lines;

  const SheetPaperRow* Paper(const std::string& side) const;
  std::vector<const SheetFieldRow*> FieldsOf(const std::string& side) const;
};

// A check field as CheckFieldRow, read at the light threshold 100 and
// counting at most `most` marks.
SheetFieldRow CountedCheckFieldRow(const char* code, const char* name, int x, int y, int boxes, int most);
// A check field as the designer makes it: boxes of `boxMm` mm placed at
// (xMm, yMm) millimetres, read at the designer's threshold of 10 and
// counting at most `most` marks.
SheetFieldRow DesignedCheckFieldRow(const char* code, const char* name, int xMm, int yMm, int boxes,
                                    int most, int boxMm = 5);
// A grid of digits as the designer makes it: `digits` columns of the
// digits 0 to 9 filled down each column first (type "Ｙ"), or as many rows
// of them (type "Ｘ"), each digit its code, one mark a column or row.
SheetFieldRow DigitGridRow(const char* code, const char* name, int xMm, int yMm, int digits,
                           const char* type);
// An A4 sheet of three marks named `name`, read into `outputTable`, whose
// key item ID, a zero-filled write-in field of four boxes at (240, 200),
// the run numbers. Its fields and paper settings are the caller's to add.
SheetDefinition NumberedKeySheet(const char* name, const char* outputTable);

// Width and height of a side's paper in mm (turned for landscape); 0 and 0
// for a paper size the generator does not know.
void PaperSizeMm(const SheetPaperRow& paper, int* width, int* height);

// ---------------------------------------------------------------------------
// What to generate.

enum class PenStroke {
  kScribble,  // back and forth over the box
  kCircle,    // the choice circled
  kTick,      // a tick
};

enum class Ink {
  kLight,   // a thin, broken pen
  kNormal,
  kHeavy,   // a broad pen that runs over the box edges
};

// The boxes of one field to fill, numbered from 0.
struct FieldFill {
  std::string name;
  std::vector<int> boxes;
  PenStroke stroke = PenStroke::kScribble;
};

// Handwriting in a write-in field: the characters of `text` one a box from
// the first, digits and capitals in the writings of a hand; a blank leaves
// its box empty.
struct FieldWriting {
  std::string name;
  std::string text;
};

// What the scanner does to the page.
struct ScanDegradation {
  double skewDegrees = 0;        // anticlockwise as the page is seen
  double scaleX = 1, scaleY = 1; // the page's image grows or shrinks with it
  double shiftXmm = 0, shiftYmm = 0;
  int specks = 0;                // specks of 1 to 3 pixels
  bool upsideDown = false;
  int quarterTurns = 0;          // fed across: 1 turned a quarter clockwise,
                                 // -1 anticlockwise, as seen
};

struct GeneratedSheet;

struct SheetRequest {
  std::string side = "0001";
  // A page printed by the program and rendered (1-bit, at `dpi`): filled
  // and scanned in place of a page the generator draws.
  const GeneratedSheet* printedPage = nullptr;
  int dpi = 300;
  Ink ink = Ink::kNormal;
  bool printedOutlines = false;  // box outlines in black (else drop-out)
  std::vector<FieldFill> fills;
  std::vector<FieldWriting> writings;
  ScanDegradation scan;
  uint32_t seed = 1;
};

// ---------------------------------------------------------------------------
// The generated sheet.

struct ExpectedField {
  std::string name;      // the field name, a box number added for rows of
                         // choices ("%s%02d")
  std::string marks;     // "1" or " " a box, as filled
  std::string value;     // what the reading run stores (a write-in
                         // field's boxes are read as blanks)
  std::string written;   // a write-in field's handwriting, a character a
                         // box, as an operator types it in
};

struct GeneratedSheet {
  int width = 0, height = 0;     // pixels
  int dpi = 0;
  std::vector<uint8_t> black;    // a byte a pixel: 1 black, 0 white
  std::vector<ExpectedField> expected;
  std::string error;             // why nothing was generated, else empty
};

// Draws, fills, writes and scans one sheet. A definition the generator
// cannot draw (an unknown paper, a field of a kind it does not draw) or a
// writing it cannot write (a character other than a digit, a capital or a
// blank; more characters than boxes) gives a sheet with `error` set.
GeneratedSheet GenerateSheet(const SheetDefinition& definition, const SheetRequest& request);

// The 1-bit BMP of a sheet, as a scanner writes it (black first in the
// palette unless `whiteFirst`). False when the file cannot be written.
bool WriteSheetBmp(const std::string& path, const GeneratedSheet& sheet, bool whiteFirst = false);

// Where the generator prints the registration marks of a side, in pixels
// (top-left corners, then sizes): the positions a clean scan registers.
struct PrintedMark {
  int left, top, size;
};
std::vector<PrintedMark> PrintedMarks(const SheetDefinition& definition,
                                      const std::string& side, int dpi);

// A seeded source of random numbers, the same on every platform.
class SheetRandom {
 public:
  explicit SheetRandom(uint32_t seed);
  uint32_t Next();
  double Uniform(double low, double high);
  int Below(int n);  // 0 .. n - 1
  bool Chance(double p);

 private:
  uint64_t state_;
};

// A scan within the limits the reading run is built for: skew up to 1.5
// degrees, scale 97 to 103 %, a shift of up to 2 mm, up to 200 specks.
ScanDegradation RandomDegradation(SheetRandom& random);
// Random marks for every check field of a side: each box filled with
// probability `share`, at most the field's number of marks.
std::vector<FieldFill> RandomFills(const SheetDefinition& definition, const std::string& side,
                                   double share, SheetRandom& random);
