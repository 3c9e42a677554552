// The arithmetic of the reading road that needs no Windows API: 1-bit BMP
// sheet images, the sheet pixel matrix, the registration-mark search, the
// compensation of shift and scale, box rectangles and their ink density, and
// the conversion of marks into answer codes. It builds natively too, where
// its tests run under the sanitizers.
//
// Global state (defined in the .cpp named beside each):
//   the sheet pixel matrix           5000 x 7000 cells      (pixel_matrix.cpp)
//   g_markSearchSettings, g_markSearchParameters, g_cornerMarks
//                                                          (pixel_matrix.cpp)
// Workload: one A4 page a sheet, up to 400 dpi; every mark search unpacks the
// two mark bands, the page about to be measured is unpacked whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "designer/registration_marks.h"

// ---------------------------------------------------------------------------
// Sheet images (sheet_bitmap.cpp)

// The image descriptor of the reading road, laid out as the recognition
// library's image record.
struct SheetBitmap {
  int16_t width = 0;          // pixels; a multiple of 32 once loaded
  int16_t height = 0;
  uint16_t bitsPerPixel = 1;
  int16_t bytesPerLine = 0;   // row y starts at bits + y x bytesPerLine
  int16_t dpi = 0;            // the run's resolution, never the file's
  uint16_t polarity = 0;      // 0: bit value 0 is black; 1: bit value 1 is
  uint8_t* bits = nullptr;    // rows top first; the caller's buffer
};
static_assert(offsetof(SheetBitmap, polarity) == 10 && offsetof(SheetBitmap, bits) % 8 == 0,
              "SheetBitmap keeps the layout of the recognition library's image record");

// What reading or writing a sheet image file came to.
enum class SheetFileStatus {
  kOk,
  kNotBmp,       // the extension is not "bmp" (no message of its own)
  kOpen,         // "画像ファイル“%s”をオープンできません。"
  kHeader,       // "ヘッダ情報をセットできません。"
  kBitDepth,     // "１画素が１ビットで表現されていません。..."
  kColours,      // "色数が２色以外です。"
  kTruncated,    // the pixel rows end early (no message of its own)
  kTooSmall,     // the caller's buffer cannot hold the image
  kWriteFailed,  // the file could not be written completely
};
// The message of a status, with "%s" for the path where it names one; empty
// for the statuses that have none (the caller's own message follows).
const char* SheetFileMessage(SheetFileStatus status);

// The last three characters of `path` in lower case into `out` (room for 4).
// 1, or 0 when the path is shorter than 3 characters.
int GetImageExtension(const char* path, char* out);
// For a "bmp" path, the bytes its pixel rows need in memory. 1 with `size`
// set; 0 for another extension or a file whose headers cannot be read, are
// out of range or promise rows the file does not hold (nothing is set then).
int GetBmpImageSize(const char* path, long* size);
// The bytes the rows of a sheet image file need (kOk with `size` set), or
// why it has none: kTruncated for rows the file does not hold, else the
// reason ReadSheetBmp gives. Allocates nothing.
SheetFileStatus SheetImageBytes(const char* path, long* size);
// Reads a 1-bit BMP into `bitmap`, whose buffer of `capacity` bytes the
// caller owns: width rounded up to a multiple of 32 (the pixels beyond the
// file's width white), rows top first, polarity from the darker palette
// entry, `dpi` the run's resolution. `fileWidth` (may be null) receives the
// width the file gives. Shows nothing.
SheetFileStatus ReadSheetBmp(const char* path, int dpi, SheetBitmap* bitmap,
                             std::size_t capacity, int* fileWidth = nullptr);
// Makes the file at `path` hold exactly `size` bytes, writing over what is
// there rather than emptying it first. False when it could not be opened or
// written. Shows nothing.
bool WriteFileOver(const char* path, const void* bytes, std::size_t size);
// Writes `bitmap` as a 1-bit BMP: 62 bytes of headers, the palette by the
// polarity, rows bottom-up padded with white bytes. Shows nothing.
SheetFileStatus SaveSheetBitmap(const char* path, const SheetBitmap& bitmap);
// SaveSheetBitmap for a path ending in "bmp": 1 written, 0 not (another
// extension, including "tif", is refused rather than skipped).
int WriteSheetImageFile(const char* path, const SheetBitmap& bitmap);

// A sheet image with a buffer of its own.
struct SheetImage {
  SheetBitmap bitmap;
  int fileWidth = 0;
  std::vector<uint8_t> pixels;
};
// Pixel buffers of pages come from a store of spare ones and go back to it,
// so that each page of a run reuses the memory of the pages before it
// instead of allocating (and touching afresh) a megabyte or two. A taken
// buffer holds `size` zero bytes; it may throw std::bad_alloc.
std::vector<uint8_t> TakePixelBuffer(std::size_t size);
void GiveBackPixelBuffer(std::vector<uint8_t>&& pixels);
// Sizes, allocates and reads a sheet image file. Shows nothing.
SheetFileStatus LoadSheetImageFile(const char* path, int dpi, SheetImage* image);
// `source` turned by `hundredths` of a degree, anticlockwise as the page is
// seen, about its centre, as the imaging library turns a page file: the
// canvas grows to hold the turned page, each pixel takes the nearest source
// pixel, uncovered ones are white. The result is the page as the turned
// file reads back (width rounded up to a multiple of 32, `fileWidth` the
// canvas's). kHeader when the turned page would be too large for a sheet
// image, kTooSmall when there is no memory for it.
SheetFileStatus TurnSheetImage(const SheetImage& source, int hundredths, SheetImage* turned);

// A width limit at or beyond an image's width counts its full width.
constexpr int kInkFullWidth = 1 << 30;
// Black pixels of a sheet image inside a margin of 3 pixels on every side
// and left of column `widthLimit`.
int CountSheetInk(const SheetBitmap& bitmap, int widthLimit);
// CountSheetInk of a 1-bit BMP file, up to its own width; -1 when the file
// cannot be read as one.
int MeasureSheetImageInk(const char* path, int widthLimit);

// The largest speck the noise eraser removes at a noise size (1 to 7) and a
// resolution; 0 for no erasure.
int SpeckSizeForNoise(int noiseSize, int dpi);

// ---------------------------------------------------------------------------
// The sheet pixel matrix (pixel_matrix.cpp)

constexpr int kMatrixColumns = 7000;
constexpr int kMatrixRows = 5000;
constexpr char kCellBlack = '1';
constexpr char kCellWhite = '0';
constexpr char kCellEmpty = 0;  // nothing unpacked here

// Cell (x, y); kCellEmpty outside the matrix.
char SheetCell(int x, int y);
// Row y's cells (kMatrixColumns of them), for the loops that measure boxes;
// y must lie inside the matrix.
const char* SheetCellRow(int y);
// Sets the cells of a rectangle (clipped to the matrix), for tests and for
// callers that fill the matrix themselves.
void FillSheetCells(int left, int top, int width, int height, char value);
// Empties every cell written since the last clearing.
void ClearSheetCells();

// Unpack modes.
constexpr int kUnpackMarkBands = 1;
constexpr int kUnpackWholeImage = 2;

// What the mark search is set up with from the sheet's paper settings and the
// command line.
struct MarkSearchSettings {
  int compensationMode = 0;  // 0 none, 1 one mark, 2 two, 3 three
  int markSizeOption = 0;    // the number after "2H" (200 dpi only)
  int areaX1 = 0, areaY1 = 0;  // 補正Ｘ/Ｙエリア１ as stored (x 8 pixels)
  int areaX2 = 0, areaY2 = 0;  // 補正Ｘ/Ｙエリア２
};
extern MarkSearchSettings g_markSearchSettings;

// Search parameters for one resolution, set by UnpackSheetImage.
struct MarkSearchParameters {
  int markSize = 0;          // n, pixels
  int horizontalWindow = 0;  // columns searched inward from either side
  int verticalWindow = 0;    // rows searched inward from the top and bottom
  int margin = 0;            // rows left out at the top and bottom
};
extern MarkSearchParameters g_markSearchParameters;
MarkSearchParameters MarkSearchParametersFor(int dpi, const MarkSearchSettings& settings);

// Clears the matrix and unpacks `bitmap` into it: the mark bands only
// (kUnpackMarkBands) or every row between the margins (kUnpackWholeImage),
// up to column 6999 and row 4999. Sets g_markSearchParameters first.
void UnpackSheetImage(const SheetBitmap& bitmap, int mode);

// ---------------------------------------------------------------------------
// Registration marks (mark_search.cpp)

constexpr int kNotFound = -1;

struct MarkPoint {
  int x = kNotFound;
  int y = kNotFound;
  bool found() const { return x != kNotFound && y != kNotFound; }
};

// What the last search found on its page.
struct CornerMarkPositions {
  MarkPoint topLeft, topRight, bottomLeft, bottomRight;
  int upsideDown = 0;     // 1: the page lies upside down
  double tilt = 0;        // degrees
  int secondMark = 0;     // 1: a mark below the top-left one (back side)
  int width = 0, height = 0;
};
extern CornerMarkPositions g_cornerMarks;

enum class RunDirection { kRight, kLeft, kDown, kUp };  // "x+", "x-", "y+", "y-"
// 1 when the n cells from (x, y) on in `direction` are all black (the start
// counts); a cell outside the matrix ends the run as not black.
int RunIsBlack(int x, int y, int n, RunDirection direction);

// One corner each, over the current matrix and search parameters.
MarkPoint FindTopLeftMark(int width, int height);
MarkPoint FindTopRightMark(int width, int height);
MarkPoint FindBottomLeftMark(int width, int height);
MarkPoint FindBottomRightMark(int width, int height);
// 1 when a second mark starts n + 1 to 3n rows below the top of the
// top-left mark (the back side of a two-sided sheet).
int FindSecondMarkBelow(const MarkPoint& topLeft);

// The corner-mark search of a page: unpacks its bands and fills
// g_cornerMarks. Pass 1 is the first search of a page, pass 2 the search
// after it was turned. Returns 0.
int FindCorrectionMarks(const SheetBitmap& bitmap, int pass);

// Holds the marks of a page read as side 1 or 2 of a paired scan to the
// side's printing: the back side carries a second mark below the top-left
// one and the front none, and a page turned straight leans no more than the
// turn leaves. A top-left mark that does not agree (the back mark taken for
// it, a front page read as the back) is dropped, so that the page is
// refused as one whose top-left mark is lost. Other sides (0) are left
// alone.
void HoldMarksToSide(CornerMarkPositions* marks, int side, bool turned);

// ---------------------------------------------------------------------------
// Compensation (compensation.cpp)

// Reference positions registered for one side and resolution, and the
// scale of the sheet's grid.
struct ReferenceMarks {
  int x1 = kNotFound, y1 = kNotFound;  // top-left mark
  int x2 = kNotFound, y2 = kNotFound;  // top-right mark
  int x3 = kNotFound, y3 = kNotFound;  // bottom-left mark
  double dotsX = 0, dotsY = 0;         // pixels per grid unit
  int gridShiftX = 0, gridShiftY = 0;  // 横シフト, 縦シフト in grid units
  // Where the sheet prints its marks at the run's resolution (the outer
  // corners the search finds): the reference of a side with none
  // registered.
  MarkPoint printedTopLeft, printedTopRight, printedBottomLeft;
};

// Sets the printed places of the marks from the squares a sheet of
// compensation `mode` prints (in millimetres, the top-left one first, then
// the top-right and the bottom-left ones as the mode has them): their outer
// corners in pixels at `dpi`. A mark the mode does not print stays not
// found.
void SetPrintedMarkPlaces(int mode, const std::vector<RegistrationSquare>& squares, int dpi,
                          ReferenceMarks* references);

// Shift and scale of the page being read.
struct ImageCompensation {
  int shiftX = 0, shiftY = 0;
  double widthRatio = 1.0, heightRatio = 1.0;
};

// Dots per grid unit of a stored ratio: 0 means the unit the sheet prints,
// a quarter of a millimetre (dpi × 0.25 / 25.4).
double DotsPerUnit(double stored, int dpi);

// The corner mark whose absence stops compensation: a mark the mode uses,
// registered in the references and not found on the page.
enum class MissingMark { kNone, kTopLeft, kTopRight, kBottomLeft };
MissingMark FindMissingMark(int mode, const CornerMarkPositions& found,
                            const ReferenceMarks& references);

// Shift and ratios of a page by mode (0 leaves `current` as it is), against
// the registered references, or the printed places of the marks when the
// top-left one is not registered. A ratio whose references do not span
// (equal coordinates) stays 1.0.
ImageCompensation ComputeCompensationValues(int mode, const CornerMarkPositions& found,
                                            const ReferenceMarks& references,
                                            const ImageCompensation& current);

// ---------------------------------------------------------------------------
// Boxes and their ink (field_boxes.cpp)

// One field as the box reader needs it, from the sheet's field definition.
struct SheetFieldSpec {
  std::string name;
  char editLetter = 'L';      // 'C' check field, 'D', 'Z', 'R', ...
  char inputLetter = 'X';     // 'F', 'Z' or another
  std::string typeMask = "1000000000";
  int column = 0, row = 0;    // grid position of the first box
  int boxWidth = 0, boxHeight = 0;  // grid units, times the grid unit
  int boxCount = 0;
  int pitch = 0;              // grid units; negative: pixels, as it is
  int arrayRows = 0;          // 配列: rows of boxes
  int arrayDirection = 0;     // 2 row by row, 3 column by column
  int rowStep = 0;            // grid units
  int threshold = 0;          // per mille (square) or percent (oval); -1 not read
  int markType = 0;           // 0 square, other oval
  int checkKind = 1;          // 1, 2, 3 (two states with labels)
  int boxShape = 0;           // 23 and 24: the marks drawn in the box
  std::string condition;      // 変換条件
  std::string codePattern;    // 重ね文字: one code a box, or an edit pattern
  int patternWidth = 0;       // 1: two bytes a box in an edit pattern
  int decimals = 0;
};

// Pixel geometry of a field's boxes after compensation.
struct FieldBoxLayout {
  double x = 0, y = 0;
  double boxWidth = 0, boxHeight = 0;
  double pitch = 0;
  int arrayRows = 0, arrayDirection = 0;
  double rowStep = 0;
  int densityKind = 0;        // 3 square marks, 4 oval marks, 0-2 write-in
  int threshold = 0;          // compared with the density in per mille
  int checkFlag = 0;
  bool skipped = false;       // a check field without a threshold
  int recognitionMask = 0;    // character types handed to a recogniser
};

// How the sheet's grid maps to pixels.
struct SheetScale {
  double dotsX = 0, dotsY = 0;
  int gridShiftX = 0, gridShiftY = 0;
  int unit = 4;               // dots per grid unit of the sheet canvas
};
FieldBoxLayout ComputeFieldLayout(const SheetFieldSpec& field, const SheetScale& scale,
                                  const ImageCompensation& compensation);

// Inclusive pixel rectangle of one box.
struct BoxRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};
// The rectangles ReadFieldBoxes measures, box by box.
std::vector<BoxRect> LayoutFieldBoxes(const FieldBoxLayout& layout, int boxCount, int dpi);
// Pixels by which a square check box is measured inside each side of
// `side` pixels at a resolution (the sides of a box in a row; all four in
// a grid): about 0.38 mm, never more than an eighth of the side, so an
// outline shared with a touching box stays out of its count.
int CheckSideInset(int dpi, int side);

// Black and counted cells of a box of the matrix (cells outside the matrix
// or not unpacked count neither way); `oval` counts only the cells inside
// the inscribed ellipse.
struct BoxInk {
  long black = 0;
  long counted = 0;
};
BoxInk MeasureBoxInk(const BoxRect& box, bool oval);
// black / counted, 0 when nothing was counted.
double BoxDensity(int left, int top, int right, int bottom, int oval);
// The density in per mille, rounded half up exactly: to 3 decimals for
// square marks (kind 3), to 2 for oval marks (kind 4).
int DensityPerMille(const BoxInk& ink, int densityKind);

struct FieldBoxReading {
  std::string value;      // one mark character a box ("1" or " "), or
                          // "　" a box for write-in fields
  std::string densities;  // "%d" a box, "," between
  std::vector<BoxRect> boxes;
};
// Measures every box of a field on the current matrix.
FieldBoxReading ReadFieldBoxes(const FieldBoxLayout& layout, int boxCount, int dpi);

// ---------------------------------------------------------------------------
// Marks into codes and the value edits (mark_codes.cpp)

// The value of a check field and its mark pattern ("*" then "1" or "_" a
// box) from its mark string.
struct CheckConversion {
  std::string value;
  std::string pattern;
};
CheckConversion ConvertCheckMarks(const SheetFieldSpec& field, const std::string& marks);

// The edits every read value gets, in order: the sheet's replacement list
// (may be empty), the rules of its character-type mask, trailing blanks and
// the edit letter.
std::string PostProcessValue(const SheetFieldSpec& field, const std::string& typeMask,
                             const std::string& value, const std::string& replacements);
// The edit pattern (code pattern) of a field that is not a check field.
std::string ApplyEditPattern(const SheetFieldSpec& field, int densityKind,
                             const std::string& value);

// The code of the single marked box of a comma-separated code list; "^"
// codes are skipped; "*" when more than one box is marked.
std::string MarksToCode(const std::string& pattern, const std::string& codes);
// Inserts "." before the last `decimals` digits of `value`. 0, or -1 with
// the value kept when it holds "." already.
int InsertDecimalPoint(std::string* out, const std::string& value, int decimals);
