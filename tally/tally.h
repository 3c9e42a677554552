// Tabulation, graphs and printing. Every printed or exported report of the
// program (tallies, graphs, field lists, lists of records, printed screens
// and OCR sheets) goes through one process-wide output target: a preview on
// a window or device context, the printer, or a text (CSV) file.
//
// Global state (defined in the .cpp named beside each block):
//   g_reportOutput  the one report output context       (report_job.cpp)
// Everything runs on the GUI thread; there is one job at a time and no
// nesting. Functions return 0 (or a count or handle) on success and -1 on
// failure; a failure is reported once, in a message box, by the function
// that found it.
//
// The first part of this header is portable (the text routines and the
// arithmetic of report units and cells); the rest needs Windows.
#pragma once

#include <string>
#include <vector>

#include "designer/survey.h"

// ---------------------------------------------------------------------------
// Report units (report_units.cpp, portable)

// Output modes of a job.
constexpr int kReportNone = -1;     // accepted by StartPrintJob, writes nothing
constexpr int kReportPreview = 0;   // drawn on a window or a given DC
constexpr int kReportPrinter = 1;
constexpr int kReportTextFile = 2;  // cells become CSV fields

// Unit kinds: how a report unit maps to the device on the printer.
// The printer's logical units are those of the metric mapping modes (0.1 mm,
// 0.01 mm, twips; y up), set from the device's resolution.
constexpr int kUnitLoMetric = 0;  // 0.2 mm, MM_LOMETRIC, scale 2
constexpr int kUnitHiMetric = 1;  // 0.2 mm, MM_HIMETRIC, scale 20
constexpr int kUnitTwips = 2;     // 11/1440 inch, MM_TWIPS, scale 11
constexpr int kUnitPixels = 3;    // scale device pixels, no mapping mode
constexpr int kUnitSheetMm = 4;   // 1 mm, MM_HIMETRIC, scale 100

struct ReportUnitChoice {
  int unitKind;
  int scale;
};
// Unit kind and scale of a printer job from the first letter of its kind
// text, the print type that started it, the scale the caller passed (-1 for
// the table's) and the scale the previous job left (kept by "P").
ReportUnitChoice ChooseReportUnits(char kindLetter, int printType,
                                   int scaleArgument, int previousScale);
// Font size factor of a size code: 4 gives 0.8 ... 14 gives 2.5, others 0.
double SizeCodeFactor(int sizeCode);
// Printer paper (DMPAPER_*) of a paper code: 1 A3, 2 A4, 3 B4, 4 B5, 6 A5,
// anything else A4.
int PaperCodeToPrinterPaper(int paperCode);
// Printer orientation (DMORIENT_*) of an orientation code 1 or 2; 0 for any
// other code, which leaves the printer's own setting.
int OrientationToPrinterOrientation(int orientation);

// The arithmetic part of the output context: page, margins, cursor and the
// CSV line. All cursor values are device units; margins are steps of 5
// report units. Everything is zero at start-up.
struct ReportLayout {
  int mode = 0;
  int printType = 0;         // print-settings layout of the job, 0 direct
  int paperCode = 0;
  int orientation = 0;       // 1 portrait, 2 landscape, else the printer's
  int fontSize = 0;          // text is 2 x this high in report units
  int leftMargin = 0;
  int topMargin = 0;
  int lineSpacing = 0;       // extra report units between lines
  int linePitch = 0;         // report units of one line
  int lineFeedExtra = 0;     // line step added in multi-line boxes
  int originX = 0;           // device origin of a printer page
  int originY = 0;
  int unitKind = 0;
  int scale = 0;             // device units per report unit on the printer
  int ySign = 0;             // 1 preview, -1 printer (metric modes count up)
  double sizeFactor = 0;
  int pageWidth = 0;         // printable page, report units
  int pageHeight = 0;
  int leftCorrection = 0;    // report units taken off the left margin
  int unitDivisor = 0;       // screen pixels per report unit of sheets
  // Cursor.
  int columnOffset = 0;      // x of the next cell from the line start
  int columnOrigin = 0;      // where a line advance puts the column offset
  int extraColumn = 0;
  int lineNumber = 0;
  int extraVertical = 0;
  int frameStyle = 0;        // 0 none, 1 box, 2 rule under, 3/4 open boxes
  int framesOn = 0;
  int rowSpan = 0;           // box height in lines, back to 1 after a box
  int innerMargin = 0;       // both sides of a ReportPrintCell
  int extraCellWidth = 0;    // added once to the next printer cell
  int textHeight = 0;        // of the last measured text
  int lineHeight = 0;        // H of the last cell
  int lastCellTop = 0;       // report units
  int lastCellRight = 0;
  int lastCellTextBottom = 0;
  int lineStyle = 0;         // 0 solid, 2 dotted (SetPrintLineStyle)
  std::string csvLine;       // mode 2: the line being collected
  int csvCells = 0;          // cells of csvLine
  bool csvCellsDropped = false;  // a line of the job had more than kCsvFieldLimit
};

// Where the next formatted cell goes (device units, y before the y sign).
struct ReportCellGeometry {
  int scale;       // s: the scale on the printer, 1 otherwise
  int lineHeight;  // H
  int x0, y0;      // line origin
  int textOffset;  // v: text top below the cell top
  int x, y;        // cell left and top
  int textTop;     // t
};
ReportCellGeometry ComputeCellGeometry(const ReportLayout& layout);
// The same from the plain margins (no printer correction), for
// ReportPrintLines.
ReportCellGeometry ComputePlainCellGeometry(const ReportLayout& layout);
// Device units of `n` report units of vertical space (AddReportSpace) or of
// column space (AdvanceReportColumn, or with `plain` AdvanceReportColumnPlain)
// in the layout's mode and unit kind.
int ScaleReportSpace(const ReportLayout& layout, int n);
int ScaleReportColumn(const ReportLayout& layout, int n, bool plain);
// 1 when the top of the current line lies below the page end of a preview;
// always 0 on the printer and in a file.
int IsPastPreviewPageEnd(const ReportLayout& layout);

// ---------------------------------------------------------------------------
// Report text routines (report_text.cpp, portable)

// Room of a formatted report cell; longer texts are cut at a character
// boundary.
constexpr int kReportCellTextSize = 1024;

// Appends one cell to a CSV line: blanks at both ends trimmed, the text
// quoted when `quote` is set or when it holds a comma, a quote or a line
// end, embedded quotes doubled, then a comma. Every line so written and
// ended by FinishCsvLine reads back (NextCsvRecord, then SplitCsvField) to
// the same cells, line ends inside them included, up to kCsvFieldLimit
// cells.
void AppendCsvField(std::string& line, const char* text, bool quote);
// Ends a line of cells: the comma after the last cell becomes CR LF. The
// line ends inside cells stay as they are.
void FinishCsvLine(std::string& line);
// 1 when a "%" is followed by an "s" within the next four bytes of `format`
// ("%s", "%-10s", ...), else 0.
int FormatHasStringField(const char* format);

// Next field of a comma-separated line through the splitter's own cursor:
// returns the position after a field ended by a comma, -1 after the last
// field of the line (or at the 1000th field), -2 when the field was cut at
// `capacity` bytes. Quotes protect commas and are dropped ("" inside quotes
// is one quote); CR is skipped. After -1 or -2 the splitter is back at
// rest; capacity -1 only puts it there and returns 0.
int SplitCsvField(char* out, int capacity, const char* line);
// Puts the splitter back at rest; returns 0. Two names of one operation.
int ResetCsvFieldSplitter();
int SplitCsvFieldNext();
// The n-th (from 1) comma-separated field of `text`, without quote
// handling, in a buffer the next call overwrites; "" when there is none.
const char* NthCsvField(int n, const char* text);
// 1 + the number of single-byte `separator`s outside double-byte pairs.
int CountDelimitedParts(const char* text, char separator);

// Vertical text: the number of characters (a double-byte character, or a
// pair of half-width blanks, counts one; any other byte one).
int CountVerticalChars(const char* text);
// One cell of vertical text: the character to draw and whether it is drawn
// turned by a quarter ("ー" and "－").
struct VerticalCell {
  std::string text;
  bool rotated = false;
};
// The cells of `text` from top to bottom. With `convert` half-width
// katakana followed by "ﾞ" or "ﾟ" join into one full-width kana, half-width
// small kana become full-width, and other half-width characters take their
// full-width form; a pair of half-width blanks is one full-width blank.
std::vector<VerticalCell> SplitVerticalCells(const char* text, bool convert);

// ---------------------------------------------------------------------------
// Print settings (print_settings.cpp, portable; the file and the tables in
// print_settings_file.cpp and print_tables.cpp)

// Print types: the screen that opens the print settings names one; it
// chooses their defaults, their fields and where they are kept.
constexpr int kPrintTypeList = 1;         // the list of a list-form screen
constexpr int kPrintTypeCards = 3;        // cards of the card-form window, a page each
constexpr int kPrintTypeLabels = 4;       // labels of the card-form window
constexpr int kPrintTypeTally = 25;       // tally and cross tabulation tables
constexpr int kPrintTypeBarGraph = 26;    // bar graphs (a width per 1 %)
constexpr int kPrintTypeChoiceGraph = 27; // choice graphs (a width per 1 %)
constexpr int kPrintTypePieGraph = 28;    // pie graphs (a diameter)
constexpr int kPrintTypeRadarGraph = 29;  // radar graphs (a diameter, a maximum)
constexpr int kPrintTypeImageList = 30;   // stored images in cells
constexpr int kPrintTypeFieldList = 32;   // the list of write-in fields

// The one set of current print and output settings. The first 33 are the
// fields of a line of the print-settings file, in its order; each bears the
// name of the screen field that edits it. The rest belong to the screen
// that shows them and the tables of tallies.
struct PrintSettings {
  std::string code;             // 1 print code (6 bytes)
  std::string startCode;        // 2 SNO, IMGNO (50)
  std::string endCode;          // 3 ENO (50)
  std::string paper;            // 4 YOSI: "Ａ４縦", "Ｂ５横", ... (6)
  int topMargin = 0;            // 5 TMGN
  int charSize = 0;             // 6 INJI
  int leftMargin = 0;           // 7 LMGN
  int lines = 0;                // 8 LINE: lines or image rows per page
  int lineSpacing = 0;          // 9 LPCH
  int reserved10 = 0;           // 10-12: kept, edited by no field
  int reserved11 = 0;
  int reserved12 = 0;
  double previewReduction = 1.0;  // 13 divisor of the preview page
  int labelWidth = 0;           // 14 LWID
  int labelHeight = 0;          // 15 LHIG: also the graph width of bar
                                // graphs and the image cell size
  int columns = 0;              // 16 RCNT: labels across, graphs or images
                                // per row
  int labelRows = 0;            // 17 LCNT
  int gapX = 0;                 // 18 RSPC: between graphs or images across
  int gapY = 0;                 // 19 GSPC: between tables, graphs or images
  int labelTop = 0;             // 20 YMGN
  int labelLeft = 0;            // 21 XMGN
  int framePrint = 0;           // 22 WPRN: 1 prints label frames
  int notch = 0;                // 23 NOTCH: width of 1 %, or a diameter
  int upperLimit = 0;           // 24 TMAX
  int lowerLimit = 0;           // 25 TMIN
  int quoteTexts = 0;           // 26 DQPUT, PSORT
  int reserved27 = 0;           // 27
  std::string field;            // 28 FCODE, PRFIELD (50)
  std::string file;             // 29 CSV file, IMGPATH, KEIS (256)
  int titleLine = 0;            // 30 TTLPUT
  int pageNumbers = 0;          // 31 NOPUT: code numbers, or page numbers
  int radarMaximum = 0;         // 32 SAIDAI: percent
  int firstLabel = 0;           // 33 LABSTT
  // Not in the file.
  int printType = 0;            // of the screen that opened the settings
  int csvOutput = 0;            // 1 when the output goes to the CSV file
  int tallySetting = 1;         // クロス設定: 1 simple, 2 and 3 crossed
  std::string printItems;       // 印字項目: "0"/"1" a printed item
  std::string countPercent;     // 件数％印字: counts, percentages(, legend)
  int percentBase = 0;          // 百分率計算
};
extern PrintSettings g_printSettings;

// Number of fields of a line of the print-settings file.
constexpr int kPrintSettingsFields = 33;

// One line of the print-settings file, line end not included: the 33
// fields separated by commas; texts as they are, in quotes when they hold a
// comma, a quote or a line end (quotes doubled); RSPC and GSPC always 0.
std::string FormatPrintSettingsLine(const PrintSettings& settings);
// Reads the fields of a line into `settings`; fields the line lacks keep
// their values, texts are cut to their room, RSPC and GSPC become 0.
// Returns the number of fields read.
int ParsePrintSettingsLine(const char* line, PrintSettings& settings);
// The first field of a line: the print code it keeps.
std::string PrintSettingsLineCode(const char* line);
// The settings of a code that has no line: the defaults of the print type
// in `settings` (labels of type 4 have their own). SNO, ENO and the fields
// without a default keep their values.
void SetDefaultPrintSettings(PrintSettings& settings, const char* code);
// The print code of tallies and graphs: "EQPG%02d" of the output kind of
// the tally setting (TallyKindOfSetting).
std::string TallyPrintCode(int printType, int tallySetting);

// A paper as the print settings name it (YOSI): its size in tenths of a
// millimetre as it lies, the report layer's paper code and orientation.
struct PaperSpec {
  int paperCode = 2;        // 1 A3, 2 A4, 3 B4, 4 B5, 6 A5, 7 A6, 8 a card
  int orientation = 1;      // 1 portrait, 2 landscape
  int widthTenthMm = 2100;
  int heightTenthMm = 2970;
};
// The paper named by its first two characters ("Ａ４", "はがき", ...);
// "横" as its third character turns it (not a postcard or envelope). An
// unknown name is A4.
PaperSpec PaperOfSetting(const std::string& paper);

// The page of the print-settings screen's preview: the paper at 0.51 pixels
// a tenth of a millimetre, divided by the preview reduction (rounded half
// up); its printable frame `inset` pixels inside each edge, drawn for every
// paper but postcards and envelopes.
struct PreviewPage {
  int width = 0;
  int height = 0;
  int inset = 0;
  bool framed = true;
  double zoom = 1.0;  // report units (0.2 mm) a pixel
};
PreviewPage ComputePreviewPage(const std::string& paper, double reduction);
// The output kind of a tally setting (1 to 3) in a print type: the
// setting plus 0 (25), 3 (26), 5 (27), 7 (28) or 9 (29).
int TallyKindOfSetting(int printType, int tallySetting);
// 件数％印字 after box `box` (1 counts, 2 percentages, 3 the counts of a pie's
// legend) was set to `on`: counts and percentages never both off (turning
// one off turns the other on); type 28 keeps three flags, the others two.
std::string ToggleCountPercent(const std::string& flags, int box, bool on, int printType);

// ---------------------------------------------------------------------------
// Tally counts (tally_counts.cpp, portable; reading the tally table in
// tally_data.cpp)

// The three count tables: one question (cleared before each question is
// counted), one group of a cross tabulation, and the whole run.
constexpr int kQuestionCounts = 0;
constexpr int kGroupCounts = 1;
constexpr int kRunCounts = 2;

// Counts of every question (1 to kMaxSurveyQuestions): per choice (1 to
// kMaxTallyChoices) its hits and at index 0 the total; the answers left
// empty ("無回答"), marked over the limit ("ｵｰﾊﾞｰ"), and the records that
// count towards percentages (the base).
struct TallyCountTable {
  double counts[kMaxSurveyQuestions + 1][kMaxTallyChoices + 1];
  double noAnswer[kMaxSurveyQuestions + 1];
  double over[kMaxSurveyQuestions + 1];
  double base[kMaxSurveyQuestions + 1];
};
extern TallyCountTable g_tallyCounts[3];

void ClearQuestionCounts();
void ClearGroupCounts();
void ClearRunCounts();

// How one question's answers are matched: its answer codes (a comma list's
// values, at most 50 bytes each, or single characters), whether they were
// a comma list, how many codes an answer may hold in a row, and whether an
// empty answer is exempt from "無回答".
struct TallyQuestionCodes {
  std::vector<std::string> codes;
  bool commaList = false;
  int selectionCount = 0;
  bool exempt = false;
};
TallyQuestionCodes MakeTallyQuestionCodes(const std::string& codeText, int maxAnswers,
                                          int switch05);

// Whether empty and over-selected answers enter the totals and the bases.
struct TallyInclusion {
  bool noAnswer = false;  // 印字項目 position 5, "無回答"
  bool over = false;      // 印字項目 position 6, "選択数超過"
};

// The choices (1-based) one answer hits, a choice once for every hit:
// single-character codes once for every equal character of the answer; a
// comma list's values when equal to the whole answer, or, with a selection
// count n of 2 or more, once for every one of the n pieces of the answer (as
// long as the value) that equals it. Choices past kMaxTallyChoices are never
// hit.
std::vector<int> MatchTallyAnswer(const TallyQuestionCodes& question, const std::string& answer);
// Counts one record's answer to `question` into the three tables: an empty
// answer (unless exempt) as "無回答", one beginning "*" as "ｵｰﾊﾞｰ", each
// entering totals and bases only as `include` says; any other answer by
// its hits, and the base rises by one. A question without codes counts
// nothing but its empty and over-selected answers.
void CountTallyAnswer(int question, const TallyQuestionCodes& codes, const std::string& answer,
                      TallyInclusion include);
// count / base x 100, rounded half up to one decimal; 0 for a base of 0 or
// less and for a count below 1.
double TallyPercent(double count, double base);

// Two independent comma tokenizers over one list each, so that two lists
// can be walked nested: quotes protect commas and are dropped, CR is
// skipped. Each returns the position after a token ended by a comma, -1
// after the last (or at the 1000th), -2 when the token was cut at `length`
// bytes; a length of -1 only resets the cursor (0).
int ResetTallyToken();
int NextTallyToken(char* out, int length, const char* list);
int ResetTallyInnerToken();
int NextTallyInnerToken(char* out, int length, const char* list);

// ---------------------------------------------------------------------------
// Graph colours (graph_color_text.cpp, portable; the table GCOLOR and the
// working colours in graph_colors.cpp)

// Graph types of the colour table: a row each ("%02d").
constexpr int kGraphBar = 1;
constexpr int kGraphChoice = 2;
constexpr int kGraphPie = 3;
constexpr int kGraphRadar = 4;
// Colour slots of a graph type: one per choice; 29 for "無回答" and 30
// for "ｵｰﾊﾞｰ".
constexpr int kGraphColorSlots = 30;
constexpr int kNoAnswerSlot = 29;
constexpr int kOverSlot = 30;
// Fill patterns: 0 to 5 the hatch styles (horizontal, vertical, forward and
// backward diagonal, cross, diagonal cross), and these two.
constexpr int kFillSolid = -1;
constexpr int kFillNone = -2;

struct GraphColor {
  int colorCode = 0;  // of ColorFromCode
  int pattern = kFillSolid;
};

// A stored colour text: "NN" (colour code - 100) or "NN-PP" (and fill
// pattern + 1, 00 solid). Texts that are not of that form give colour 0
// (black) and a solid fill.
GraphColor ParseGraphColorText(const char* text);
// The text a graph type stores for a colour: "%02d" for radar graphs,
// "%02d-%02d" for the others.
std::string FormatGraphColorText(int graphType, GraphColor color);
// The colour of a slot (1 to 30) in a new row of a graph type: code i + 100
// up to slot 20, then i + 80; diagonal cross hatching, but solid radar lines
// whose slots above 3 take the code 3 lower.
GraphColor DefaultGraphColor(int graphType, int slot);
// The slot of a choice: 29 for the label "無回答", 30 for "ｵｰﾊﾞｰ", else its
// number.
int GraphSlotOfChoice(int choice, const char* label);

// What the graph-colour window shows and stores while a person chooses: the
// colour number (1 to 21), the pattern number (0 to 6), the text of its
// "選択を有効にする" button and the number of choices made.
struct GraphColorChoice {
  int color = 1;
  int pattern = 0;
  std::string selected;
  int changes = 0;
};
// The choice as the window opens on a slot's colour text.
GraphColorChoice StartGraphColorChoice(const char* text);
// A colour button (1 to 21) or a pattern button (0 to 6) pressed.
void ChooseGraphColor(GraphColorChoice& choice, int color);
void ChooseGraphPattern(GraphColorChoice& choice, int pattern);

// ---------------------------------------------------------------------------
// Geometry of pie and radar graphs (graph_geometry.cpp, portable). Report
// units with y growing downwards; the first boundary or axis points straight
// up and the next follow clockwise.

struct GraphPoint {
  int x = 0;
  int y = 0;
};
// (x + cos a x radius, y + sin a x radius), each product truncated.
GraphPoint GraphPointAt(int x, int y, double angle, double radius);

// Where a pie's slices and labels go.
struct PieLayout {
  // boundary[i] starts choice i (1 to n); boundary[n + 1] is boundary[1].
  std::vector<GraphPoint> boundary;
  std::vector<bool> painted;       // [i]: a share of 0.2 or more
  std::vector<bool> labelled;      // [i]: a share of 0.1 or more
  std::vector<double> labelRadius; // [i]: 3r/4, r moved out, r/2
  std::vector<GraphPoint> anchor;  // [i]: the label's centre
};
// The layout of a pie of centre (x, y), radius r and shares[1..n] of
// shares[0] (at most 128 choices). An empty layout for a whole of 0 or
// less, or no choice.
PieLayout LayoutPieGraph(int x, int y, int r, int n, const double* shares);

// Radii of a radar's rings of 10 %, 20 %, ... up to the scale maximum (a
// fraction, 1.0 = 100 %; outside 0 to 1 taken as 1).
std::vector<int> RadarRingRadii(double maximum, int r);
// Whether ring j (from 1) bears its label: every ring up to a maximum of
// 0.5, else the rings of 20, 40, 60, 80 and 100 %.
bool RadarRingLabelled(double maximum, int j);
// Distance from the centre of a share (percent) on an axis of length r.
int RadarSeriesRadius(double share, double maximum, int r);

// ---------------------------------------------------------------------------
// Where the parts of a printed OCR sheet go (sheet_units.cpp, portable).
// Sheet items are laid out in canvas pixels (gu of them a grid step, one
// millimetre); on the report page a sheet counts in report units of one
// millimetre, s device units each (the scale), and fonts and extents given
// in screen pixels are divided by the unit divisor ud. Rounding is half up.

struct SheetPrintUnits {
  int scale = 1;        // s: device units per report unit (1 in a preview)
  int unitDivisor = 4;  // ud: screen pixels per report unit
  int gridUnit = 4;     // gu: canvas pixels per grid step
};

// round(numerator / denominator), half up (towards +infinity); the
// denominator is above 0.
int RoundHalfUpRatio(long long numerator, long long denominator);

// An item's place: the registration shifts and its rectangle in report
// units and in device units (y not yet signed).
struct SheetItemPlace {
  int dx = 0, dy = 0;
  int left = 0, top = 0, right = 0, bottom = 0;
  int deviceLeft = 0, deviceTop = 0, deviceRight = 0, deviceBottom = 0;
};
// The place of an item whose pixel rectangle is (x, y, width, height) on a
// page whose registration squares stand xExtent and yExtent screen pixels
// in (0: none, the items then stand 5 report units up and left).
SheetItemPlace PlaceSheetItem(int x, int y, int width, int height, int xExtent, int yExtent,
                              const SheetPrintUnits& units);

// Sizes of a field's boxes in report units (bw, bh, st) and device units
// (wd). A field of kind letter 'Z' shares its width among its boxes.
struct SheetBoxSize {
  int width = 0, height = 0;  // bw, bh
  int gap = 0;                // the pitch, 0 when negative
  int step = 0;               // st = bw + gap
  int deviceWidth = 0;        // wd
};
SheetBoxSize SizeSheetBoxes(int boxWidth, int boxHeight, int pitch, int boxCount, bool sharedWidth,
                            int scale);

// The device rectangles of a field's boxes, box 1 first.
struct PrintedBox {
  int left = 0, top = 0, right = 0, bottom = 0;
};
struct SheetBoxLayout {
  bool check = false;       // a check field (else a write-in field)
  bool answerFrames = false;  // write-in boxes framed as in the answer print
  int boxCount = 0;
  int arrayRows = 0;        // check fields: rows of a grid (0: one row)
  int arrayDirection = 0;   // 2 row by row, 3 column by column
  int rowStep = 0;          // report units between the rows of a grid
};
// Write-in boxes stand (gap x s + wd) apart from the item's left; check
// boxes (and the answer print's write-in frames) one step st apart, in a
// grid when the field has one. Every box starts from the item's exact
// device left, so a field off the millimetre grid prints where the reading
// run measures it.
std::vector<PrintedBox> LayoutSheetBoxes(const SheetItemPlace& place, const SheetBoxSize& size,
                                         const SheetBoxLayout& layout, int scale);

// Sheet print options (SetPrintOffsetX).
constexpr int kSheetPrintPlain = 0;
constexpr int kSheetPrintBlank = 1;   // blank sheets: guides and numbers
constexpr int kSheetPrintAnswer = 2;  // a read sheet with its values and marks

// Device height of the font of box characters (hb).
int SheetBoxCharHeight(int printOption, int boxWidth, int boxHeight, int scale);
// Device height of a choice label inside its box: the voiced marks ﾞ and ﾟ
// at 2.4 and half-width katakana at 1.2 times the font size fs.
int SheetLabelHeight(int fontSize, unsigned char labelByte, const SheetPrintUnits& units);
// Whether a check field's box P takes the P-th byte of the overlay text as
// its label (else the next comma-separated token): only an overlay without
// commas is read a byte a box.
bool LabelIsOneByte(int labelPosition, bool overlayHasComma, int boxCount);

// The mark of a box in the answer print: its grey level (0 black to 255)
// and the density compared with the threshold (in percent for ovals).
struct AnswerMark {
  int grey = 0;
  int density = 0;
  bool oval = false;  // "●" for ovals, "レ" for square boxes
};
AnswerMark GradeAnswerMark(int markType, int densityPerMille, int threshold);
// Whether " ?" follows the mark: the density within the unclear margin.
bool IsUnclearMark(const AnswerMark& mark, int threshold, int unclearMargin);

// The guide a write-in box gets on a blank sheet.
enum class WriteInGuide { kNone, kBar, kFigure8, kDots };
struct WriteInGuideCase {
  int box = 1;                  // P, from 1
  int boxCount = 0;
  bool valueEmpty = true;
  bool overlayHasChar = false;  // the overlay text has a character for the box
  int guideFigures = 0;         // the sheet's ＩＮＴ８
  int printColour = 0;          // c
  bool keyField = false;
  int keyNumbering = 0;         // the sheet's 予備３
  std::string typeMask;         // 10 characters "0"/"1"
  std::string maximum;          // the field's maximum text
  int strokeWeight = 0;         // 1: guide dots
};
WriteInGuide ChooseWriteInGuide(const WriteInGuideCase& c);
// True for the print colours that print in monochrome (0 and 40).
inline bool IsMonochromePrint(int printColour) { return printColour == 0 || printColour == 40; }

// The rectangle of an item's title (device units), or none.
struct SheetTitleCase {
  int deviceLeft = 0, deviceTop = 0, deviceRight = 0, deviceBottom = 0;
  int scale = 1, gridUnit = 4;
  int pitch = 0, labelPosition = 20, titlePosition = 5, titleFrame = 0, shading = 1;
  int rowStep = 0;
  bool textItem = false;
  int textWidth = 0, textHeight = 0;  // of the title in the title's font
};
struct SheetTitleRect {
  bool shown = false;
  int left = 0, top = 0, right = 0, bottom = 0;
};
SheetTitleRect PlaceSheetTitle(const SheetTitleCase& c);

// ---------------------------------------------------------------------------
#if defined(_WIN32)
#include <windows.h>

#include "foundation/gdi_draw.h"

// Report output context and print jobs (report_job.cpp; the title and page
// number in report_cells.cpp)

// The one current output target. The print-settings window fills the page
// values, the print type, the preview target and the request fields before
// it asks its owner for output.
struct ReportOutputContext : ReportLayout {
  HWND owner = nullptr;            // disabled while a printer job runs
  int fromPrintSettings = 0;       // -1 begun directly, 0 by print settings
  HWND requestingWindow = nullptr;  // gets 1129 when a print-settings job ends
  int requestParameter = 0;
  int aborted = 0;                 // the abort dialog's button was pressed
  HDC dc = nullptr;
  GdiOwner<HFONT> font;            // the report font
  HGDIOBJ replacedFont = nullptr;  // the DC's font before the report font
  int fontFace = -1;               // cache key of the report font
  int fontHeight = -1;
  bool fontAsOutlines = false;     // the report font's text goes to printers as outlines
  HANDLE textFile = INVALID_HANDLE_VALUE;  // the work file of textPath
  std::string textPath, textWork;
  bool textFailed = false;         // a write did not go through
  bool textWritten = false;        // the last text-file job's file is in place
  // Preview target: a window (its DC is taken and given back) or a DC the
  // caller owns; zoom scales the client area into report units.
  HWND previewWindow = nullptr;
  HDC previewDC = nullptr;
  int previewWidth = 0;            // client size when a DC is given
  int previewHeight = 0;
  double previewZoom = 1.0;
  int savedDcState = 0;            // SaveDC of a given preview DC
  bool dcFromWindow = false;
  bool jobOpen = false;            // from a successful StartPrintJob to its end
  // Printer job.
  std::string printerName;
  std::string documentName = "Document";  // the spooler's job title
  HWND abortDialog = nullptr;
  bool pageOpen = false;
  int pagesStarted = 0;
  bool documentAborted = false;
  // Images in reports (the print settings set the percentage and gaps).
  int imageWidth = 0;              // report units of the last placed image
  int imageHeight = 0;
  int imageSizePercent = 100;
  int imageGapX = 0;
  int imageGapY = 0;
  std::string imageList;           // "01,02,..." of ListImageFiles
};
extern ReportOutputContext g_reportOutput;

// Describes the page of the next job: owner window (the active window for
// the second form), paper code, orientation, font size and margins. The
// print type becomes 0 and the job counts as begun directly. Return 0.
int BeginReportOutput(HWND window, int paperCode, int orientation,
                      int fontSize, int leftMargin, int topMargin);
int BeginReportOutputActive(int paperCode, int orientation, int fontSize,
                            int leftMargin, int topMargin);
// Opens the output target. `kindText` is the kind letter on the printer and
// the file's path in mode 2. Returns the printer DC, 1 for the preview, a
// file or mode -1, and 0 when the print dialog was cancelled or the target
// could not be opened (after a message) or for an unknown mode.
INT_PTR StartPrintJob(int mode, const char* kindText, int originX,
                      int originY, int scale);
INT_PTR StartPrintJobDefault(int mode, const char* kindText);
// Page setup of the printer DC: mapping mode, viewport origin, left
// correction, unit divisor and, unless the print type is 3 or 37, the report
// font. The page itself starts with the first thing drawn on it, so a job
// never ends in a blank page. Returns 0.
int StartPrintPage();
// Starts the next printer page now, drawn on or not (nothing happens when
// one is open, and nothing in a preview or a file). Returns 0, or -1 when
// the page cannot be started (the spooler refused it, or the job was
// aborted): not reported; the job counts as aborted, so the caller's next
// AbortPrintJob ends the document and returns -1.
int BeginPrintPage();
// Ends the printer page (if anything was drawn on it) and resets the cursor
// in every mode. Returns 0.
int NextPrintPage();
// Closes the target; a CSV line not yet ended is written first. A text
// file is written beside its target and replaces it in one step only when
// every write went through: a failed or partial write leaves the file that
// was there, and ReportTextFileWritten tells it. -1 when the printer
// refused the finished document (its spooler would not take it: not
// reported here), else 0.
int EndPrintJob();
// After a text-file job ended: whether every line reached the file and the
// file took the target's place.
bool ReportTextFileWritten();
// Writes `text` to the open text file, each "\n" as CR LF; a failed write
// marks the job as failed.
void WriteReportText(const char* text);
// -1 when the user pressed the abort dialog's button or a page could not
// be started (the document is then aborted), else 0. Waiting messages of
// the abort dialog are handled first.
int AbortPrintJob();
void PrintCenteredTitle(const char* text);
// Draws the page number centred at the foot of the page when `flag` is 1.
void PrintPageNumber(int number, int flag, int position);
int GetReportPageWidth();
int GetReportPageHeight();
// Preview on a window: its DC with the zoom and the scroll offsets.
HDC BeginPreviewOutput(HWND window, int scrollX, int scrollY);
void EndPreviewOutput();
// Preview targets for the next StartPrintJob in mode 0: a window (with the
// zoom of the print-settings window), or a DC of the given client size
// that the caller owns and keeps after the job.
void SetReportPreviewWindow(HWND window, double zoom);
void SetReportPreviewDC(HDC dc, int width, int height, double zoom);
// Registers the class "Prn" of the print-settings window and creates the
// hidden window "印刷設定". Returns the window, or null.
HWND RegisterPrintSettingsClass();
// Pen style of later report lines: 0 solid, 2 dotted.
void SetPrintLineStyle(int style);

// The print-settings file (print_settings_file.cpp) and the print tables
// of tallies and graphs (print_tables.cpp), both into and out of
// g_printSettings.

// "<program folder>\<program name>.MEM".
std::string PrintSettingsFilePath();
// Loads the line of `code` into g_printSettings (fields the line lacks keep
// their values); without the file or its line, the defaults of the print
// type. Returns 0.
int FindPrintSettingsLine(const char* code);
// Writes g_printSettings as one line (CR LF). 0, or -1 when the write
// failed (not reported).
int WritePrintSettingsLine(HANDLE file);
// Saves g_printSettings as the first line of the file, the lines of the
// other codes after it as they were. 0; -1 when the work file cannot be
// written or cannot replace the file (after the message; the file is as
// it was).
int SavePrintSettings(const char* code);
// Loads the MUPA_PRN row of `code` into g_printSettings by its print type,
// adding the row with the type's defaults when missing; for the image list
// with CSV output also the CSV file from MUPA_MEM. 0, or -1 when a table
// cannot be opened or the row not added (reported by the database layer).
int LoadPrintTableSettings(const char* code);
// Writes g_printSettings into the MUPA_PRN row of `code` (added when
// missing), and the CSV file of the image list. 0, or -1 when a write
// failed (reported by the database layer).
int SavePrintTableSettings(const char* code);
// Loads 印字項目, 件数％印字 and 百分率計算 of the print type from MUPA_FLG,
// adding its row with the defaults when missing; 百分率計算 comes from the
// tally's row for every type. 0, or -1 when the table cannot be opened or
// the row not added (reported).
int LoadPrintFlags();
// Writes the flags of the print type back. 0, or -1 when its row is missing
// (not reported) or the write failed (reported).
int SavePrintFlags();

// The tally: its state, the tally table and the choice lists
// (tally_data.cpp), the report (tally_report.cpp) and the graph feeds
// (tally_graphs.cpp).
//
// Output kinds of RunTally: 1 simple tally, 2 and 3 cross tabulation by the
// first or both grouping items; bar graphs 4 (per question) and 5 (per
// value of the first grouping item), choice graphs 6 and 7, pie graphs 8
// and 9, radar graphs 10 and 11, and 12 a radar of every value of the first
// grouping item in one graph.
constexpr int kTallySimple = 1;
constexpr int kTallyCrossFirst = 2;
constexpr int kTallyCrossBoth = 3;
constexpr int kTallyLastKind = 12;

// The printed labels and codes of a question's choices.
struct TallyChoiceList {
  std::vector<std::string> labels{1};  // labels[1] is choice 1
  std::vector<std::string> codes{1};   // the codes, for the line of codes
  int longest = 0;                     // bytes of the longest label
  int labelLines = 1;                  // lines the labels take in their width
};

// The state of the tally while it runs, and its page range.
struct TallyState {
  int slot = -1;                // the tally table
  std::string keyColumn;        // its first column
  int outputKind = 0;
  TallyInclusion include;
  TallyChoiceList choices[kMaxSurveyQuestions + 1];
  int longestLabel = 0;         // over every question loaded
  // Grouping items 1 and 2: the question they are (0: none), their values
  // as a comma list, how many, and the widest.
  int groupQuestion[3] = {};
  std::string groupValues[3];
  int groupValueCount[3] = {};
  int groupLongest[3] = {};
  // Pages: the first and last printed (STTPAGE, ENDPAGE; 0 no last), the
  // current one, and the note shown while no page break is set.
  int startPage = 1;
  int endPage = 0;
  int page = 1;
  std::string pageNote[2];
};
extern TallyState g_tally;

// Opens the survey's tally table in the output database into g_tally.slot
// and takes its first column as the key. 0; -1 when the survey names no
// tally table (after a message) or the table cannot be opened (reported).
int OpenTallyTable();
void CloseTallyTable();
// Orders the tally data by its key, after the first (group kind 1) or the
// second (2) grouping item, and positions on the first row. 0, or -1 when
// there is none or the query failed (reported).
int PositionTallyTable(int slot, int groupKind);
// Selects the rows of the first grouping value (groups 1 or more) and of
// the second (groups 2), ordered by the grouping items and the key, and
// positions on the first. A grouping item whose answers hold several codes
// matches a row that contains the value; any other matches equal values
// only. 0, or -1 when no row matches or the query failed (reported).
int SearchTallyByPattern(int slot, const char* first, const char* second, int groups);
// Counts every record of the tally table from the current row to the last
// for `question` into the three count tables. The number of records read.
int CountQuestionAnswers(int question);
// Fills the question's printed labels from its choices; returns the longest
// label, 0 for a question number below 1, -1 when the question has more
// than kMaxTallyChoices choices (after the message). A label over 250 bytes
// stops the list with a message; longer than 100 bytes it is cut.
int LoadItemChoices(int question);
// Fills the question's printed codes: its characters, or its comma list's
// values. Returns the longest code, 0 without codes.
int LoadChoiceCodes(int question);
// The values of grouping item `group` (1 or 2) as a comma list: the codes
// of its question, else every distinct value of the tally table in order.
// Returns their number (g_tally keeps the list and the widest), -1 when the
// item is not set.
int CollectItemChoiceValues(int group, std::string& list);
// -1 when `question` is one of the first `groups` grouping items (which a
// cross tabulation by them does not tabulate), else 0.
int IsQuestionGroupItem(int groups, int question);
// The label of value `index` (from 1) of a grouping item's value list.
std::string GroupValueLabel(int group, int index, const std::string& value);

// Graph colours (graph_colors.cpp): the colour table GCOLOR of the sheet
// definition (specification GCOLOR of FSCRTBL3), the colours of each graph
// type in memory, and the working colours of the graph being drawn.

// Colours of graph types 1 to 4, slots 1 to 30.
extern GraphColor g_graphColors[kGraphRadar + 1][kGraphColorSlots + 1];
// Colours of the choices (1 to 30) of the choice or pie graph being drawn.
extern GraphColor g_workingColors[kGraphColorSlots + 1];
// Loads the colours of a graph type from its GCOLOR row in the database
// `database` of `folder`, adding the row with the defaults when missing.
// 0 when the row was there, 1 when it was added, -1 when the table cannot
// be opened or the row not added (reported by the database layer; the
// defaults are in memory then). `kind` is the database kind of the sheet's
// definition (-1: the installation's default).
int LoadGraphColors(const char* folder, const char* database, int kind, int graphType);
// The graph-colour window: the graph type and colour slot it edits, and
// the choice being made (graph_color_window.cpp; the state and
// SaveGraphColor in graph_colors.cpp).
struct GraphColorWindowState {
  HWND window = nullptr;
  int graphType = kGraphBar;
  int slot = 1;
  std::string colorText;  // the slot's colour text as the window opened
  GraphColorChoice choice;
};
extern GraphColorWindowState g_graphColorWindow;
// Registers "Gcol" and makes its hidden window (at start-up). The window,
// or null.
HWND CreateGraphColorWindow();
// Opens the window for a graph type on the colour slot and text set in
// g_graphColorWindow (slot, colorText), the active window disabled and
// hidden while it is open. Returns 0 (a failed opening was reported by the
// screen engine).
int OpenGraphColorScreen(int graphType);
LRESULT CALLBACK GraphColorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Stores `text` as the colour of `slot` in the GCOLOR row of the window's
// graph type (nothing when the row is missing), then reloads that type's
// colours. 0, or -1 when the table cannot be opened or the row not written
// (reported by the database layer).
int SaveGraphColor(int slot, const char* text);
// Sets the working colours of choices 1 to n from a graph type's slots,
// "無回答" and "ｵｰﾊﾞｰ" from theirs (labels[1] is choice 1).
void SetWorkingColors(int graphType, const std::vector<std::string>& labels);
// A bar from left + 1 to right, top to bottom (device units, y by the y
// sign): a solid pen of the colour, width 1; the fill solid, none or
// hatched in the colour.
void DrawGraphBar(int left, int top, int right, int bottom, int colorCode, int pattern);

// Bar and choice graphs (graph_bars.cpp). Positions and sizes are report
// units times the scale, y by the y sign, as the report's cells are.

// The sizes of graphs from the print settings (report units).
struct GraphSettings {
  int barHeight = 0;      // of a bar
  int lineFeed = 0;       // from one graph row to the next
  int tick = 0;           // of one percent point: a full bar is 100 of them
  int labelFontSize = 0;  // of the labels of pies and radars
};
extern GraphSettings g_graphSettings;

// One row of a bar graph at the cursor: the question text's cell (when not
// empty), the label's cell, the count, a bar of the choice's share of
// `total` in the colour of its slot (29 "無回答", 30 "ｵｰﾊﾞｰ") and the share
// " %0.1f ％", framed. Returns the new line number.
int DrawBarGraph(double count, double total, int choice, const char* label, int labelWidth,
                 const char* question, int questionWidth);
// One 100 % bar cut into a segment per choice (1 to n, at most 30, after a
// message) as long as its share of percents[0], in the choices' working
// colours, labelled with its percentage (labelMode 1), count (0) or both
// (2). Position 0 is a graph of its own, 1 the first bar of a group (both
// under the legend and its title), 2 and more the next bars of the group
// under their titles. Returns the new line number.
int DrawChoiceGraph(const char* labels, int n, const double* percents, const double* counts,
                    int labelMode, int position, const char* barTitle, const char* legendTitle);
// A row of legend entries first to last: a swatch in the working colour and
// the label.
void DrawChoiceLegend(const std::vector<std::string>& labels, int first, int last, int x, int top,
                      int bottom);
// Width of the legend entries first to last.
int MeasureChoiceLegend(const std::vector<std::string>& labels, int first, int last);
// Breaks the legend of `labelText` into rows that fit the full bar and, in
// pass 1, draws them right-aligned above the bar. Returns 0.
int LayoutChoiceLegend(const char* labelText, int n, int yOrigin, int xOrigin, int pass);
// The frame and ticks of the bars of a group, after its last bar.
void DrawGraphGrid();
// A box one line high and widthDigits / 2 digits wide with "*" at digits / 2
// (none below 0). Returns the new line number.
int ReportStarRow(int digits, int widthDigits);

// Pie and radar graphs (graph_pies.cpp): centre and radius in report units;
// shares[1..n] of shares[0] (percent of 100, say), counts[1..n], labels[1..n];
// label mode 0 counts, 1 percentages, 2 both (radar -1 none). Each returns
// 1 when, in a preview, the centre lies below the page (nothing drawn),
// else 0; a whole of 0 or no choice draws nothing.
int DrawPieGraph(int x, int y, int r, int n, const double* shares, const double* counts,
                 int labelMode, const std::vector<std::string>& labels, const char* title);
// A slice of the circle of centre (x, y) and radius r, counter-clockwise as
// the page is seen from the radial through the start point to the one
// through the end point (the same points: the whole disc).
void DrawPieSlice(int x, int y, int r, int startX, int startY, int endX, int endY, int penColor,
                  int fillColor, int pattern);
// The pie's legend beside it: swatches in the working colours and labels,
// with the counts when the third flag of 件数％印字 is "1".
void DrawPieLegend(int x, int y, int r, int n, const double* counts,
                   const std::vector<std::string>& labels);
// A radar of one series; `maximum` is the scale's top (1.0 = 100 %).
int DrawRadarGraph(int x, int y, int r, int n, const double* shares, const double* counts,
                   int labelMode, double maximum, const std::vector<std::string>& labels,
                   const char* title);
// Series `series` (from 1) of a radar chart around the same centre: the
// first draws the frame and the axis labels, every one its line in its
// colour and a legend sample with its name.
int DrawRadarChart(int x, int y, int r, int n, const double* shares, const double* counts,
                   int labelMode, double maximum, const std::vector<std::string>& labels,
                   const char* title, int series, const char* seriesName);
// The label and value of axis `axis` (1 to n) of the radar being drawn.
void DrawRadarLabels(int axis, int n, int labelMode, double percent, double count,
                     const std::string& label);

// Graphs of the tally (tally_graphs.cpp).

// The values of one question's graph: choices 1 to n, then "無回答" and
// "ｵｰﾊﾞｰ" when they are counted; [0] the sums.
struct GraphValues {
  int n = 0;
  std::vector<double> counts{0.0};
  std::vector<double> percents{0.0};
  std::vector<std::string> labels{std::string()};
};
extern GraphValues g_graphValues;
// Fills g_graphValues from the question counts of `question`; the labels
// "無回答" and "ｵｰﾊﾞｰ" join its labels with `withLabels`. Returns the number
// of extra entries (0 to 2).
int PrepareGraphValues(int question, int withLabels);
// "【question】" on a line of its own.
void PrintGraphTitle(int question);
// Graph feeds: a question's graph, or that of one grouping value (group row
// from 1; 0 for a question's own). Each returns 1 when the output stops (a
// bar or choice graph: -1 when the preview page is full), else 0.
int FeedBarGraph(int groups, int question, int groupRow);
int FeedChoiceGraph(int question, int groupRow);
int FeedPieGraph(int question, int groupRow);
int FeedRadarGraph(int question, int groupRow);
int FeedGroupRadarGraph(int question, int groupRow);
// The graph of output kind 4 to 12 for one question: counted whole or per
// value of the first grouping item, each graph fed when it has a hit.
// Non-zero when the output stops.
int FeedTallyGraph(int outputKind, int question);
// Sets the graph sizes and the page grid from the print settings and loads
// the colours of the graph kind.
void PrepareTallyGraphs(int outputKind);

// The tally's output (tally_report.cpp).

// Runs one tally report of output kind 1 to 12: print mode -1 writes the
// CSV file of the print settings, 0 draws the preview, 1 prints. 0; -1 when
// the output or the tally table cannot be opened (reported).
int RunTally(int printMode, int outputKind);
// The base of a question's percentages in count table `table` by
// 百分率計算: its records, the total of its checks, or either by question.
double TallyPercentBase(int table, int question);
// On the printer, when the next `lines` lines would pass the page's end
// and fit a page of their own: the page number, and the next page. Nothing
// elsewhere, and nothing at the top of a page.
void KeepLinesTogether(int lines);
// KeepLinesTogether of the next line.
void BreakPageWhenFull();
// Lays out the report by the print settings: paper and orientation, font
// size, margins, line spacing and the page's size in report units of
// 0.2 mm; `owner` owns the print dialog.
void ApplyPrintSettingsToReport(HWND owner);

// The print-settings screen and its page preview
// (print_settings_window.cpp): the "Prn" window made at start-up
// (RegisterPrintSettingsClass) with the "Fom" preview in it.
struct PrintSettingsWindowState {
  HWND window = nullptr;   // "Prn"
  HWND preview = nullptr;  // "Fom", beside the band of settings
  HWND owner = nullptr;    // asked for output (1128, 1129, 1170)
  int slot = -1;           // the screen's window slot while it is open
  int printType = 0;
  int tallySetting = 1;
  std::string title;
  std::string rangeStart, rangeEnd;
  int flag = 0;            // 2: the label variant of the card window
  int changed = 0;         // settings read from the fields since loading
  PreviewPage page;
  int scrollX = 0, scrollY = 0;
};
extern PrintSettingsWindowState g_printSettingsWindow;

// Makes the preview window "Fom" in the print-settings window.
void CreatePrintPreviewWindow(HWND settingsWindow);
// Opens the print-settings screen of lists (type 1), cards (3), labels (4)
// and the field list (32) for `owner`, with the settings of `printCode`
// from the settings file and the range start to end. 0; -1 when the
// screen cannot open (after the screen engine's message).
int BuildPrintSettingsScreen(HWND owner, int printType, int tallySetting, const char* title,
                             const char* printCode, const char* start, const char* end, int flag);
// The same for tallies and graphs (25 to 29) and the image list (30), with
// the settings of the print tables. -1 also when a table cannot be opened
// (reported by the database layer).
int OpenPrintOptionsScreen(HWND owner, int printType, int tallySetting, const char* title,
                           const char* printCode, const char* start, const char* end, int flag);
// The write-in list (image_list_report.cpp): the images cut out of the
// write-in field numbered by the settings' IMGNO, "IMG_*_<nn>.*" of
// `folder` in name order, printed on the preview (mode 0, its first page)
// or the printer (1) in a grid of RCNT images a row and LINE rows a page,
// at LHIG percent of their size, RSPC and GSPC apart; blank ones are left
// out. 0; -1 when the job could not start or was aborted.
int PrintImageList(int mode, const char* folder);
// The questions of the open tally or graph settings read again after their
// print switches or page breaks changed: the page choices follow and the
// preview starts again from the first page.
void ReloadPrintSettingsQuestions();
// The printed list of the write-in fields (field_list_report.cpp), from
// the summary ShowFieldSummary gathered: OpenFieldListPrint opens its
// print settings ("OK0003", the range of the summary's codes) for
// `owner`, which is then asked for output with wParam kPrintTypeFieldList.
// PrintFieldListReport prints the range of the settings on the preview
// (mode 0), the printer (1) or into the CSV file of the settings (2,
// heading and titles once). 0; -1 when the rows or the output cannot be
// opened (reported), the job was aborted or the file not written.
int OpenFieldListPrint(HWND owner);
int PrintFieldListReport(int mode);
LRESULT CALLBACK PrintSettingsWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PrintPreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The page range a tally just used and its note, in the fields of the open
// print-settings screen of tallies and graphs.
void ShowTallyPageRange();
// While the print-settings screen is open: its preview as the preview
// target, its scroll position as the origin, and the screen as the window
// told when a printer job ends.
void ApplyPrintSettingsWindowTarget();

// Printer fonts and vertical text (report_fonts.cpp)
int SelectPrinterFont(int face, int height);
HFONT CreateRotatedFont(int face, int height);
HGDIOBJ SelectRotatedFont(int face, int height);
int SelectFontByName(const char* faceName, int height);
int SelectFontByNameWeight(const char* faceName, int height, int weight);
// The handwriting face "KQMUPA" of box characters. On a printer its text
// is drawn as the glyphs' outlines: a driver that sends the face whole with
// every page it is used on (Wine's PostScript driver spends about 0.15 s a
// page on it) gets a few filled shapes instead, which print the same.
int SelectHandwritingFont(int height);
void DrawVerticalText(int column, int row, int size, int cells,
                      const char* text, int convert, int alignBottom);
void DrawTextAtCell(int column, int row, int size, int face, int colorCode,
                    const char* text);

// Sheet boxes of the same family (report_boxes.cpp)
void DrawNumberedBox(int column, int row, int width, int height,
                     int thickness, int colorCode, int number);
void DrawDashedNumberedBox(int column, int row, int width, int height,
                           int thickness, int colorCode, int number);
void DrawDottedBox(int column, int row, int width, int height, int colorCode);
void DrawCentredText(int x, int y, int width, int height, const char* text);
void DrawPostcodeBoxes(int column, int row, int colorCode, const char* digits,
                       int size, int kind);

// Drawing primitives and formatted cells (report_shapes.cpp,
// report_cells.cpp)
int ReportTextWidth(const char* text);
int ReportTextWidthUnits(const char* text);
int ReportDigitWidth();
int ReportTextOut(int x, int y, const char* text);
void ReportTextOutWrapped(int oneLine, int bytesPerLine, int lineStep, int x,
                          int y, const char* text);
void ReportTextOutAt(int oneLine, int bytesPerLine, int lineStep, int x,
                     int y, const char* text);
void ReportSetFontSize(int face, int size);
void ReportLine(int left, int top, int right, int bottom);
void ReportOpenBox(int left, int top, int right, int bottom, int kind);
void ReportRect(int left, int top, int right, int bottom, int penWidth,
                int colorCode);
void ReportStyledBox(int left, int top, int right, int bottom);
void ReportLineColor(HDC dc, int x1, int y1, int x2, int y2, int width,
                     int colorCode);
void ReportLineScaled(int x1, int y1, int x2, int y2, int width,
                      int colorCode);
void ReportLineScaledWide(int x1, int y1, int x2, int y2, int width,
                          int colorCode);
void ReportBox(int left, int top, int right, int bottom, int colorCode);
void ReportCircle(int x, int y, int radius, int colorCode, int fillCode);
void ReportCellFrame(int width, int height);
void ReportTextBox(int column, int y, int width, int rows, const char* text);

// Formatted cells at the cursor (at most kReportCellTextSize - 1 bytes of
// text). In a text file every cell but ReportPrintLines becomes a field of
// the CSV line, quoted when its format has a "%s" or its text needs it.
void ReportPrintCell(const char* format, ...)
    __attribute__((format(printf, 1, 2)));
void ReportPrintCellWidth(int n, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
void ReportPrintCellAt(int n, int rows, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// A box of capacity / bytesPerLine lines; a longer text is cut at its last
// line. Returns the number of lines of the box.
int ReportPrintCellBox(int bytesPerLine, int capacity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void ReportPrintWrappedList(int lines, int bytesPerLine, const char* format,
                            ...) __attribute__((format(printf, 3, 4)));
void ReportPrintLines(int lines, int bytesPerLine, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// Only in a text file: quote mode 1 quotes by the format; any mode quotes a
// text that holds a comma, a quote or a line end.
void ReportCsvCell(int quoteMode, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
int GetLastCellRight();
int GetLastCellTop();
int GetLastCellBottom();
int GetReportLeftEdge();
void SetReportCellFrame(int style);
void SetReportFrameOn(int on);
void SetReportInnerMargin(int margin);
void SetReportRowSpan(int rows);
void SetReportExtraWidth(int width);
void SetReportLinePitch(int pitch);

// Report cursor (report_cursor.cpp)
int AdvanceReportLine(int n);
void AddReportSpace(int n);
void AddReportSpaceScaled(int n);
void AdvanceReportColumn(int n);
void AdvanceReportColumnPlain(int n);
int SetReportFontWidth(int n, int line);
void SetReportColumnStart(int n, int line);
int GetReportPosition(int* columnOffset, int* line);
void SetReportPosition(int columnOffset, int line);
void SetReportMargins(int leftMargin, int topMargin);
void SetReportLeftMarginSteps(int leftMargin);
void SetReportTopMarginSteps(int topMargin);
int ReportPastPageEnd();
// 1 while the next row still fits on the preview page; always 1 on the
// printer and in a file, where callers break pages themselves.
int ReportRowFits();

// Printing screens and OCR sheets through the report output
// (print_window.cpp, print_fields.cpp, print_sheet_text.cpp,
// sheet_primitives.cpp, print_sheet_field.cpp, print_sheet_boxes.cpp).
//
// Screen items print at their pixel position plus the offsets given,
// shifted by the page margins (and 10 report units further in a preview)
// and scaled on the printer. OCR-sheet items print in millimetres of their
// canvas (SheetPrintUnits), shifted by the registration extents.

// What sheet printing reads of the current sheet, and its state.
struct SheetPrintState {
  // The sheet's settings.
  int printColour = 0;        // c: 0 black, 40 pale black, 41/44/47 colours, + 1 pale
  int guideFigures = 0;       // ＩＮＴ８: 1 guide figures in write-in boxes
  int keyNumbering = 0;       // 予備３: 1 the key field gets guides, 2 never
  int unclearMarkMargin = 0;  // 不明瞭マーク境界値: marks this near the threshold get " ?"
  std::string lastKeyName;   // the sheet's key field
  std::string printFont;      // face of box characters (USER.INI PFONT); "" the default
  // State of a print run.
  int printOption = kSheetPrintPlain;  // SetPrintOffsetX
  int xExtent = 0, yExtent = 0;        // registration extents, screen pixels
  int sheetColour = 0;                 // colour of frames: c, or 9 in the answer print
};
extern SheetPrintState g_sheetPrint;  // (print_sheet_text.cpp)

// Prints the items and ruled lines of window slot `slot` at offset (x, y),
// y taken from below the slot's header band: the same walk as the screen's
// page painting, each item through the field printing below. In a text
// file each line of the screen becomes one CSV line of its captions and
// values, left to right.
void DrawWindowItems(int slot, int x, int y);
// A rectangle with the black stock pen: left and top sides, then bottom and
// right; the fifth value is not used.
void PrintFieldFrame(int x1, int y1, int x2, int y2, int unused);
// An item's caption centred in its caption rectangle, in face 0 at twice
// the item's character size; nothing for a hidden item or one not printed
// (kItemNotPrinted: the buttons of the key bar).
void PrintFieldText(int item, const char* text, int xOffset, int yOffset);
// An item's value in its box: "×", "○", "◎" for two-state marks,
// postcodes as "〒%s", images, vertical text, a diagonal for line items,
// shrunk to fit where the screen shrinks it.
void PrintFieldValue(int item, const char* text, int xOffset, int yOffset);
// The box frame of an item (twice for item class 3); nothing for hidden,
// protected or not printed items, item class 1, title style 10 or kinds 'R'
// and 'C'; edit letter 'V' swaps width and height.
void PrintFieldMarks(int item, int xOffset, int yOffset);
// A ruled line: on the printer width mode 1 is 0.14 mm and 2 is 0.32 mm
// (14 and 32 units of a sheet's page), dashed 0.3 mm on and 0.5 mm off after
// SetPrintLineStyle(2); in a preview 1 or 2 pixels. Lines of a sheet stand
// in millimetres like its items; lines of a screen stand with its fields.
void DrawPrintThickLine(int x1, int y1, int x2, int y2, int widthMode, int colorCode);
// One OCR-sheet item (image, text item, write-in or check field) with its
// boxes, guides, labels, marks, title, frame and number; the extents are
// those of the registration squares (SetPrintLineExtent).
void PrintSheetField(int item, int xExtent, int yExtent);

// Sheet and report texts.
// `text` in Gothic at the page origin, followed by " 新規" (status 1) or
// " 上書" (status 0) and, when `crossed`, " (×)".
void PrintStatusText(const char* text, int status, int crossed);
// "%3d 点" in red at report (x, y); nothing for a score below 0.
void PrintScore(int score, int x, int y);
void PrintTextLine(const char* text);
// The registration extents of later sheet items, in screen pixels.
void SetPrintLineExtent(int xExtent, int yExtent);
// The sheet print option: kSheetPrintPlain, kSheetPrintBlank or
// kSheetPrintAnswer.
void SetPrintOffsetX(int option);
// A black square of `side` report units at report (x, y), shifted by the
// registration extents (a registration mark).
void DrawPrintShadedBox(int x, int y, int side);
// The number of a numbered sheet item left of it (or centred over it for
// number style 2), device rectangle of the item given.
void PrintItemNumber(int item, int left, int top, int right, int bottom);
// A caption split at "|" into lines, right-aligned left of the item and
// centred on its height; one line of a framed item gets a frame.
void PrintItemCaption(int item, const char* caption, int colorCode, int xExtent, int yExtent);

// Sheet drawing primitives: device units, y not yet signed.
void DrawPrintBox(int left, int top, int right, int bottom);
// Two horizontal lines from left + 0.5 mm to right - 0.3 mm and two
// vertical lines 0.7 mm beyond the top and the bottom.
void DrawCropFrame(int left, int top, int right, int bottom);
// A ruled frame of a sheet in black or pale black (on the printer only: a
// vertical rule as one line, any other as a crop frame, dashed); a colour
// other than 0 and 40 draws a box of that thickness instead.
void DrawSheetRule(int left, int top, int right, int bottom, int thickness, int colorCode);
// A frame by its style: 2 (a solid frame or shading) a box of thickness 1
// in the current line style, any other value (-1, 0, 1) the ruled frame;
// a colour other than 0 and 40 always a box.
void DrawSheetRuleFrame(int left, int top, int right, int bottom, int frameStyle, int colorCode);
// A rectangle in the current line style, 0.1 mm wide per thickness.
void DrawSheetBox(int left, int top, int right, int bottom, int thickness, int colorCode);
// Dots at the corners of a rectangle (once where corners meet), on the
// printer only and never in the answer print: one dot each (`single`) or
// four around each.
void DrawSheetCornerDots(int left, int top, int right, int bottom, int single);
void DrawDoubleEllipse(int left, int top, int right, int bottom, int colorCode);
// A handwriting guide in a box: a vertical bar, and for any symbol but 1
// the figure 8 of two double circles, in the pale form of the print colour.
void DrawMarkSymbol(int left, int top, int right, int bottom, int symbol, int printColour);
void DrawOvalMark(int x1, int x2, int y, int colorCode);
// An oval box; colour code 100 draws it marked (black, filled).
void DrawMarkEllipse(int left, int top, int right, int bottom, int colorCode);
// An ellipse box, dotted in line style 2, else doubled; colour code 100
// draws it marked.
void DrawMarkCircle(int left, int top, int right, int bottom, int colorCode);
// A rectangle (rounded by `corner` when above 1) in a pen style (5 none)
// and colour, filled by a hatch (6 solid, negative none).
void DrawSheetRect(int left, int top, int right, int bottom, int corner, int penStyle,
                   int penColour, int hatch, int fillColour);
void DrawSheetFrame(int left, int top, int right, int bottom, int thickness, int colorCode);
// An image file with its top left at device (x, y), at its own size (in
// sheet jobs divided by the unit divisor) when `width` or `height` is
// negative, else at the size of the last image. 0, or -1 when the file
// does not load (nothing drawn, not reported).
int PrintSheetImage(const char* file, int x, int y, int width, int height);
// Text in a box: mode 0 and 1 centred in a device box, 2 centred above it,
// 3 from report x centred on a report box's height.
void PrintSheetText(int mode, int x, int y, int width, int height, const char* text);
// A text on one line from device (x, y), each character's cell decorated
// as its sheet text item asks (frame, white ground, guide figure).
void PrintCharsDecorated(int item, int x, int y, const char* text, int colorCode);

// Images in reports (report_images.cpp)
void ReportDrawImage(const char* file, int x, int y, int width, int height);
void ReportImageCell(const char* file, int x, int y, int width, int height,
                     double sizeFactor);
void ReportPlaceImage(const char* file, int n);
// 0 when printed; -1 for an empty name, a file that is not BMP or TIF, a
// BMP with 300 ink pixels or fewer, or a file that does not load.
int ReportPrintImageAt(const char* file, int x, int y);
int ReportPrintImage(const char* file, int row, int column);
int GetReportImageFileSize(const char* file, int* width, int* height);
int FindImagePageFile(int page, const char* folder);
// Lists the page images 01, 02, ... of `folder` up to the first gap (at most
// 99) as "01,02,..." in g_reportOutput.imageList. Returns 0.
int ListImageFiles(const char* folder);

#endif  // _WIN32
