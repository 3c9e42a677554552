// Scanning and reading: a filled sheet in the scanner becomes one record of
// the output table. Pages come from the scanner (or a stored image), are
// cleaned of specks, aligned by their registration marks, measured box by
// box, turned into answer codes, checked against limits and masters, written
// as one row, and logged; field and area images are cut out.
//
// Other subsystems include this header only; the portable arithmetic of the
// road is declared in sheet_core.h.
//
// Global state (defined in the .cpp named beside each):
//   g_readingRun       the one run in progress         (reading_state.cpp)
//   g_readingPlaces    folders and files of the runs   (reading_state.cpp)
//   g_currentPage      the sheet image being read      (reading_state.cpp)
//   g_fieldResults     mark patterns and error notes of the canvas items
//                                                      (reading_state.cpp)
// GUI thread only; the scanner calls back inside the scan call. Functions
// return 0 on success and -1 on failure after the one message that reports
// it, unless their comment says otherwise.
#pragma once

#include "reading/sheet_core.h"

// USER.INI of the program folder: the workbench's settings of this
// installation, one key a line (user_ini.cpp).
// The text after `key` and one separator character on the first line of
// `text` that begins with `key`; "" when no line does. Lines are taken up
// to 255 bytes; CR and LF end them.
std::string UserIniValue(const std::string& text, const char* key);

#if defined(_WIN32)
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// ---------------------------------------------------------------------------
// The run (reading_run.cpp)

constexpr int kDesignMode = 1;     // design and test reading
constexpr int kOperationMode = 2;

// Sub-modes of a run.
constexpr int kScanRun = 1;        // pages from the scanner
constexpr int kStoredPageRun = 2;  // the stored page, read once
constexpr int kDefaultsOnlyRun = 3; // no run: the values every record receives
constexpr int kMarkLogRun = 6;     // mark failures go to the error log
constexpr int kAlignOnlyRun = 7;   // stored pages are only aligned

// Scan types.
constexpr int kScanFlatbed = 1;
constexpr int kScanFeeder = 2;
constexpr int kScanPaired = 3;     // two sides, or two sheets a set

// Run errors: the fault that ended a sheet and with it the run. -7, -8 and
// -2 of a field other than the key keep their messages in the table of run
// errors, though no check of the run stops with them.
constexpr int kRunDuplicateKey = -1;
constexpr int kRunBlankField = -2;
constexpr int kRunBelowMinimum = -3;
constexpr int kRunAboveMaximum = -4;
constexpr int kRunRequiredBlank = -5;
constexpr int kRunCollationMiss = -7;
constexpr int kRunMasterStop = -8;
constexpr int kRunMasterMiss = -9;
constexpr int kRunSideOrder = -12;
constexpr int kRunWriteFailed = -20;   // the row could not be added or updated
constexpr int kRunNumbersUsedUp = -21; // the record number would wrap
constexpr int kRunKeepFailed = -22;    // the page of a stored record could not be kept
constexpr int kRunEndCodeFailed = -23; // ENDCODE could not take the stored record's key
constexpr int kRunUnpairedPage = -24;  // a two-sided file ended on a front without its back

// Folders and files the runs use, set by the workbench.
struct ReadingPlaces {
  std::string imageFolder;     // pages, converted pages, kept pages, record images
  std::string cutImageFolder;  // area images (empty: the output database's folder)
  std::string endCodePath;     // ENDCODE.TXT: the key of the last stored record
  std::string readEndPath;     // READEND.TXT: "1" after an operation run
  std::string replacements;    // the installation's replacement list
  int enlargePixels = 0;       // write-in field images grow by this at 200 dpi
};
extern ReadingPlaces g_readingPlaces;

// Seconds the sheets of the run spent in each stage of the per-sheet step,
// for the run's statistics.
enum ReadingStage {
  kStagePageCheck,   // the page loaded once by the imaging library
  kStageClean,       // loaded, specks erased, marks searched, written
  kStageTurn,        // turned straight or round, marks searched again
  kStageFields,      // unpacked, compensated, fields read
  kStageRecord,      // validated and written, logs
  kStageImages,      // kept page, record and area images, page deleted
  kStageCount
};

// Times a stage of the per-sheet step into the run's statistics.
class StageTimer {
 public:
  explicit StageTimer(ReadingStage stage);
  ~StageTimer();
  StageTimer(const StageTimer&) = delete;
  StageTimer& operator=(const StageTimer&) = delete;

 private:
  ReadingStage stage_;
  LARGE_INTEGER start_;
};

struct ReadingRun {
  int subMode = kScanRun;
  int testScan = 0;            // the run only scans and aligns
  int confirmed = 0;           // the reading-run dialog was confirmed
  int scanType = kScanFeeder;
  int twoSheetSet = 0;
  int currentSide = 0;         // 0, or 1 and 2 in paired scans
  int dpi = 200;
  int markSizeOption = 0;      // the number after "2H"
  std::string pageFile, workFile;
  int runError = 0;
  std::string errorField, errorValue, errorDetail;  // what the message names
  long sheetCount = 0;
  long totalSheets = 0;
  int pageNumber = 0;          // the scan's page being read, 0 for a stored page
  long refusedSheets = 0;      // sheets the run did not read for their marks
  long refusedPages = 0;       // pages of those sheets
  std::string recordNumber;    // running number of the sheet, for the logs
  std::string autoNumber;      // digits of the next key numbered by the run
  int numbersUsedUp = 0;       // the next number would wrap onto stored keys
  std::string keyValue;        // key of the record being written
  // The key items (name, value) of the last record a front side was read
  // into, kept from run to run: a design read of the back side adds to it.
  std::vector<std::pair<std::string, std::string>> recordKeys;
  // The digest of the sheet's scanned pages (operation scans), and the key
  // items of the record a run that stopped stored from this very sheet
  // before the feeder let it go (empty for any other sheet).
  std::string pageDigest;
  std::vector<std::pair<std::string, std::string>> storedKeys;
  int storedSheetKept = 0;     // a stored sheet failed later: its page stays
  std::string message;         // the run's current message (OCRMSG)
  int multiValue = 0;
  double rotation = 0;         // degrees the current page was turned
  int rowState = -1;           // -1 undecided, 1 add, 0 overwrite, 2 held back
  int recordFound = 0;
  int written = 0;             // the sheet's record was stored
  ReferenceMarks references[3];       // [0] one side, [1] and [2] paired sides
  ImageCompensation compensation[3];
  DWORD startTime = 0;
  double stageSeconds[kStageCount] = {};
};
extern ReadingRun g_readingRun;

// One reading run: 0 when it was carried out (also when a sheet failed: the
// run error tells, and its message was shown), -1 when it could not start
// (reported).
int RunSheetReading();
// The writer of the output table's description "<table>.spc" (the entry
// screens' own, given by the program): a run whose table has none writes it
// first. 0, or -1 after the message.
using OutputDescriptionWriter = int (*)();
void SetOutputDescriptionWriter(OutputDescriptionWriter writer);
// The per-sheet step: load, align, read, write, log, images; 0, or -1 when
// the sheet failed (reported, or its run error set).
int ReadSheetImage();
// Pre-check of a run: 255 after the message of a master or address field
// whose output field is missing, else the run's multi-value flag. Sheets
// whose 罫線 setting is 2 are not checked.
int CheckMasterOutputFields();
// The master tables the fields refer to: 0, or -1 (reported).
int OpenMasterLookups();
void CloseMasterLookups();
// Reads the images dropped on the sheet canvas (BMP pages, TIFF files of
// pages) in turn, each in a run of stored images: how many files were
// read, or -1 when the sheet's checks refused them (reported). A failed
// file ends the drop after its message.
int ReadDroppedImages(const std::vector<std::string>& files);
// Shows the message of the run error, when there is one.
void ReportRunError();
// The message after a design-mode read of the stored page.
void ReportReadingResult();
// The text of OCRMSG, kept for the run and shown when the field exists.
void ShowRunMessage(const char* text);
// The first key the run numbers: the last key of the output table + 1, or
// 1 (as wide as the key item) for an empty table. 0, or -1 when the keys
// are used up (run error set).
int FormatSerialNumber();
// Raises the run's key number; a number that would wrap marks the numbers
// used up instead.
void AdvanceAutoNumber();

// ---------------------------------------------------------------------------
// Sheet image files (sheet_files.cpp)

// The sheet being read, loaded by LoadSheetForReading.
extern SheetImage g_currentPage;

// Reads a 1-bit BMP into a caller's buffer: 1, or 0 after the message of a
// refused file (none for another extension or cut-off rows).
int LoadSheetImage(const char* path, SheetBitmap* bitmap, std::size_t capacity);
// Sizes, allocates and reads a sheet image file at a resolution: 0, or -1
// after its message (the file's own, or "イメージの読み取りができません。").
int LoadSheetPage(const char* path, int dpi, SheetImage* image);
// Erases the specks of the sheet's noise size (none for sizes outside 1 to
// 7) from a page in memory: 0, or -1 after a box with the noise eraser's
// reason.
int EraseSheetNoise(SheetBitmap& bitmap);
// The first step of a scanned page: specks erased (noise size 1 to 7), marks
// searched, the page written as the work file. 0, or -1 (reported).
int CleanAndSaveSheetImage(const char* pagePath, const char* workPath);
// Prepares the work file from a scanned page (`stored` 0) or a stored
// image (1), loads it as the current page and unpacks it whole. 0 / -1
// (reported).
int LoadSheetForReading(const char* path, int stored);
// Searches the marks of a saved page and turns it in place when the
// compensation mode asks: the second-mark flag (0 or 1), -1 (reported).
int PrepareScannedPage(const char* path);
// The mark search again on a turned file. 0 / -1 (reported).
int RecheckMarksAfterRotation(const char* path);
void FreeSheetBitmap();
// Sets the mark search up from the sheet's paper settings and the command
// line's mark size.
void UseSheetMarkSearch();
// Copies a file, expanding a compressed source. 0 / -1 (reported).
int CopyFileToFolder(const char* source, const char* target);

// ---------------------------------------------------------------------------
// Reference marks and compensation (reference_marks.cpp, mark_checks.cpp)

// The registered marks and grid scale of the current sheet code and
// resolution into g_readingRun.references[0]; 0, or -1 (reported).
int LoadReferenceMarks();
// Both sides of a paired scan into references[1] and [2]; other scan types
// LoadReferenceMarks. 0 / -1 (reported).
int LoadReferenceMarksBothSides();
// The references of the side being read.
ReferenceMarks& CurrentReferences();
ImageCompensation& CurrentCompensation();
// 0 compensation set, -1 the sheet must not be read (reported or logged),
// 1 the marks are incomplete and the page is only recorded (sub-mode 7).
int ComputeImageCompensation();
// -1 after writing which needed mark is missing to the error log, else 0.
int CheckCornerMarksFound();
// The same decision with its message (`show` 1) or bare (0): -1 in
// operation mode when a needed mark is missing, else 0.
int ReportCornerMarks(int show);

// Registering and erasing the reference marks of the current side and
// resolution, with their questions and messages (workbench command 128).
int RegisterReferenceMarks(int resolutionCode, int workbenchMode);
int EraseReferenceMarks(int resolutionCode);
// Carries the rows of MUPA_TMK over into an empty MUPA_HMK as side "0001",
// then drops MUPA_TMK. 0, or -1 when a row could not be carried (MUPA_TMK
// then stays).
int CarryOverOldMarkTable();

// ---------------------------------------------------------------------------
// Field reading (field_reading.cpp)

// What the reading leaves of a canvas item besides its value and densities.
struct FieldResult {
  std::string markPattern;  // "*" and "1", "_" or "^" a box
  std::string errorNote;    // "Err：..." of the checks
  int recognitionMask = 0;  // character types a recogniser would be given
  std::vector<BoxRect> boxes;
};
extern std::vector<FieldResult> g_fieldResults;  // by item number
FieldResult& FieldResultOf(int item);

// The box reader's view of a canvas item.
SheetFieldSpec SheetFieldSpecOf(int item);
// The items of the canvas that are fields (area codes beginning with "0").
std::vector<int> CanvasFieldItems();
// True when the key field is numbered by the run, not read.
bool KeyIsNumbered();
// Clears the values, densities and patterns of the fields to read.
void ClearFieldResults();
// Reads every field of the current side: 0, or the result of
// ComputeImageCompensation when it is not 0 (the sheet is not read).
int ReadSheetFields();

// ---------------------------------------------------------------------------
// Validation and writing (record_writing.cpp, masters.cpp)

// 0 written, 1 skipped, -1 failed (run error set, nothing shown yet).
int WriteReadRecord();
// Called after each record a run stored, before its sheet leaves the
// feeder; tests stop the program there. Null: none.
using RecordStoredHook = void (*)();
void SetRecordStoredHook(RecordStoredHook hook);
// Positions the output table on the record the sheet wrote: 0, or -1 when
// it is not there.
int FindWrittenRecord();
// The address of a postal-code field (character type 10) into its address
// field, from the table "全国住所".
void LookUpAddress(int item);
// The master look-up of a field with a master table and key (not the key
// field): 0 go on (the master's column copied, or a miss tolerated), 1 skip
// the record, -1 stop (run error set).
int LookUpMaster(int item, bool required);

// ---------------------------------------------------------------------------
// Sheets stored but still in the feeder (stored_pages.cpp)
//
// The feeder lets a sheet go once the run took it, after its record was
// stored: a run stopped in between (the program killed, a failure after the
// store) finds the sheet in the feeder again. Before a scanned sheet's record
// is added, the journal "<sheet>_PAGE.TXT" of the log folder names the
// sheet's pages by their digest and the record by its key items; the first
// sheet of the next run that shows the same digest, and whose record is
// there, is that sheet: its record is written over, not added again.

struct StoredPage {
  std::string digest;
  std::vector<std::pair<std::string, std::string>> keys;
};
// A digest of a page as the scanner gave it (hexadecimal).
std::string PageDigest(HGLOBAL page);
// Names the sheet whose record is being added: 0, or -1 when the journal
// cannot be written (the record must not be added then).
int WritePageJournal(const StoredPage& page);
// The sheet the journal names; empty when there is none.
StoredPage ReadPageJournal();
void DeletePageJournal();

// ---------------------------------------------------------------------------
// Record and cut-out images (record_images.cpp)

// Field images of the current record ("%s\%s_%s.BMP"). 0 / -1.
int SaveRecordImage(HANDLE image, int mode);
// Area images of the sheet's cut-out frames; blank ones are deleted and
// their columns emptied in the record the sheet wrote (for a paired scan,
// those of both sides once the back wrote it). 0, or -1 when a record
// update failed (reported).
int CutFieldImages(HANDLE image);
// Sets the IMG%02d columns of the output row to the area images' paths.
// 0, or -1 after the message of a missing column.
int StoreAreaImageNames();
int CountFirstSideAreas();
// A cut-out frame of the sheet (MUPA_LIN of size 99): its corners in sheet
// dots. Each gives the picture column "IMG%02d" of the output table,
// numbered over the front and then the back.
struct AreaFrame {
  int x1, y1, x2, y2;
};
// The cut-out frames of a side with a positive start, in LINCODE order: 0,
// or -1 when the rows cannot be read (reported).
int ReadAreaFrames(const char* side, std::vector<AreaFrame>* frames);
// -1 when the area image holds 120 black pixels or fewer, else 0.
int IsAreaImageBlank(const char* path);
// Loads a page through the imaging library and turns it to the paper's
// orientation. 0 / -1 (reported).
int LoadImageFile(const char* path);
// Switches a paired operation scan to side g_readingRun.currentSide.
int ApplyDuplexSideSetting();

// ---------------------------------------------------------------------------
// Scanning (scanning.cpp)

// The brightness parameter of a scanner whose range ends at `maximum`.
int ScanBrightnessParameter(int maximum, int brightness);
// Runs the scan: IKScanExec with ScanPageCallback; the library's result, or
// -1 when it is 0.
int StartScanner(int paperWidth, int paperHeight);
// "給紙待ち：N枚", the sheets waiting in the scanner's feeder (two pages a
// sheet in two-sided scans); "" when the scanner does not count them.
std::string FeederWaitingText();
// Called by the scanner once per page: the page number to go on, 0 to stop.
int __stdcall ScanPageCallback(HGLOBAL page, int pageNumber);
// Swaps the page files of the sides when side 1 carries the back's mark:
// 0 / -1 (reported).
int RenameDuplexScanFiles();
// Lets the operator choose the scanner among those installed (the imaging
// library's list) and writes it to "%s\SCANERS" as the current one: 0, or
// -1 when none was chosen (the one before stays) or it cannot be written
// (reported).
int SelectScanner(HWND owner);
// Ends the library's scanner session SelectScanner opened.
void CloseScanner();
// The scanner list file "%s\SCANERS": the current scanner and the names.
int LoadScannerList(const char* programFolder, std::string* current,
                    std::vector<std::string>* names);

// ---------------------------------------------------------------------------
// USER.INI (user_ini.cpp)

// UserIniValue of the program folder's USER.INI; "" when the file is
// missing or unreadable (no failure: every setting keeps its default).
std::string ReadUserIniValue(const char* key);
#endif
