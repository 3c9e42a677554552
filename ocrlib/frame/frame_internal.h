// The MUPA32 frame, the top layer of the library: the handle / environment /
// dictionary slot tables and the errors each handle keeps, the loaded
// dictionary image and its character-type masks, and the recognition call
// frame with its drivers. What every layer shares (the error stack, the
// stroke records, geometry and measures) is in core_internal.h.
//
// Everything here is process-wide and unlocked: calls into the library must
// not overlap. Results follow the library's rule: 0 (or a count, index or
// pointer) for success, -9 (or null) after a code was pushed on the error
// stack, -1 for success with warning codes left on the stack.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ocrlib/core/core_internal.h"
#include "ocrlib/mupa32.h"

// ---- errors of each handle ----------------------------------------------------
// Copies the stack into the handle's 32-code buffer.
void SaveHandleErrors(int handle);
// Ends an export that passed the handle check: saves the stack into the
// handle's buffer whenever it holds codes (warnings of a successful call
// included, so MupaGetError never reports stale codes); returns `result`.
int16_t EndExport(int handle, int16_t result);

// ---- slot tables --------------------------------------------------------------
constexpr int kMaxSessions = 5;
constexpr int kMaxExecEnvs = 10;
constexpr int kMaxDicts = 10;
constexpr int kDictNameBytes = 512;  // path of at most 511 bytes + zero
constexpr uint16_t kSlotFree = 0xFFFF;
constexpr uint16_t kSlotInUse = 1;
constexpr uint16_t kNoSlot = 0xFFF6;  // "none" from the slot look-ups
constexpr uint16_t kExecEnvMode = 3;  // the only mode an environment accepts

struct MupaSession {
  uint16_t state;  // kSlotFree or kSlotInUse
  SessionWorkArea* workArea;  // where the recognisers keep their candidates
  uint16_t errors[kErrorSlots];  // filled only by SaveHandleErrors
};

struct MupaExecEnv {
  uint16_t state;  // kSlotFree or kSlotInUse (open)
  uint16_t owner;  // handle, kSlotFree when free
  uint16_t mode;   // kExecEnvMode when open, 0 when free
  uint16_t count;  // registered dictionaries
  uint16_t dictFlags[kMaxDicts];  // 1 registered, anything else not
};

struct DictBlock;

struct MupaPatternDict {
  uint16_t state;  // kSlotFree or kSlotInUse (loaded)
  uint16_t envFlags[kMaxExecEnvs];  // 1 registered there, kSlotFree not
  uint16_t owner;
  uint32_t offeredTypes;  // from the file header, for information
  char* name;             // the slot's 512-byte buffer: upper-cased path
  DictBlock* data;        // the loaded dictionary, null when free
};

// Defined in session_slots.cpp.
extern uint16_t g_libraryState;  // kSlotFree (not initialised) or 1
extern MupaSession g_sessions[kMaxSessions];
extern MupaExecEnv g_execEnvs[kMaxExecEnvs];
extern MupaPatternDict g_patternDicts[kMaxDicts];
extern SessionWorkArea* g_currentWorkArea;  // of the running recognition call

// 0 when the handle is 0..4 and in use, else -9 (nothing pushed).
int CheckSessionHandle(int handle);
// 0 when the environment is 0..9, open and owned by the handle, else -9
// (nothing pushed; callers push 7001).
int CheckEnvHandle(int handle, int environment);
// 0 when the dictionary is 0..9 (else 7001) and loaded by the handle (else
// 7011); -9 after pushing.
int CheckDictHandle(int handle, int dictionary);
int IsDictRegistered(int environment, int dictionary);  // 0 yes, -9 no
int IsDictInUse(int dictionary);  // -9 while registered anywhere, else 0
// The dictionary serving recognition: the lowest id registered to the
// environment, if it is loaded, registered on both sides and owned by the
// handle; else kNoSlot. A higher registered id is never tried.
uint16_t FindEnvDictionary(int handle, int environment);
DictBlock* GetDictData(int dictionary);
uint16_t FindFreeSessionSlot();
uint16_t FindFreeEnvSlot();
uint16_t FindFreeDictSlot();
int AnySessionActive();  // -9 while any handle is in use, else 0
void SelectSessionWorkArea(int handle);
void FillEnvSlot(int environment, int handle);
void ClearEnvSlot(int environment);
void FillDictSlot(int dictionary, int handle, uint32_t offeredTypes,
                  const char* name, DictBlock* data);
void ClearDictSlot(int dictionary);

// ---- character-type masks (the kType bits: core_internal.h) ----------------------
// Clears the stack; -9 with 2001 unless the dictionary's kind is 1 (or with
// the header check's code); else 0 with both masks.
int GetCharTypeMasks(const DictBlock* dict, uint32_t* offered, uint32_t* current);
// Clears the stack; mask 0 gives 1 and -9; kind not 1 gives 2001 and -9.
// Stores the mask; -1 with warning 7 when the dictionary does not offer every
// type of it, else 0.
int SetCharTypeMask(DictBlock* dict, uint32_t mask);

// ---- the loaded dictionary ----------------------------------------------------
// The file's 152-byte header as loaded (the file: below).
struct PatternDictHeader {
  char magic[3];          // "QVT"
  uint8_t version;        // 3 loads; 1 and 2 are valid headers
  uint8_t formatMajor;    // 3 loads
  uint8_t formatMinor;    // 0..32 loads
  uint8_t kind;           // 1 dictionary with character types
  uint8_t headerByte7;    // 1 loads
  uint8_t headerByte8;    // 1 or 2; 7 = 1 with 8 = 2 is refused
  uint8_t patternOnly;    // 1: the pattern classifier alone serves it
  uint8_t unread[6];
  char description[128];  // Shift-JIS, zero-padded
  uint32_t offeredTypes;  // CharTypeMask
  uint32_t currentTypes;  // kTypeAll after loading, then MupaSetCharType's
};
static_assert(sizeof(PatternDictHeader) == 152, "file header layout");

// One model set per character-type combination, in this order.
constexpr int kModelSetCount = 8;
constexpr uint32_t kModelSetMasks[kModelSetCount] = {512, 1, 2, 8, 513, 3, 514, 515};

struct StrokeModelImage {
  StrokeModelSet sets[kModelSetCount];
  // model records and their variable parts follow
};

// Pattern classifier data (PatternItem: core_internal.h).
struct PatternMember {
  uint32_t typeBits;
  uint8_t sjisLead, sjisTrail;
  int16_t itemCount;
  const PatternItem* items;  // null when itemCount is 0
};

constexpr int kSixBitFeatures = 48;
constexpr int kEightBitFeatures = 276;
constexpr int kPatternFeatures = kSixBitFeatures + kEightBitFeatures;  // 324
constexpr int kRawFeatures = 600;
constexpr int kRerankFeatures = 48;
constexpr int kRivalClasses = 4;
constexpr int kShapeGroups = 16;
constexpr int kSmallKanaEntries = 12;
constexpr uint16_t kNoRival = 0xFFFF;

struct PatternClassRecord {
  uint32_t typeBits;
  uint16_t signatureMasks[8];
  uint8_t flagWeights[16];
  uint8_t lower6[kSixBitFeatures], upper6[kSixBitFeatures];      // 0..63
  uint8_t lower8[kEightBitFeatures], upper8[kEightBitFeatures];
  int16_t bias;
  uint8_t unread4, unread5;
  uint16_t rerankFeatures[kRerankFeatures];  // 0..323
  uint16_t rivals[kRivalClasses];            // class numbers or kNoRival
  uint16_t memberCount;
  const PatternMember* members;
};

struct SmallKanaIndexEntry {
  const PatternClassRecord* classRecord;
  const PatternItem* firstItem;  // of its first member, null when none
};

struct ClassDistanceEntry {  // the classifier's scratch list
  uint32_t distance;
  uint16_t classNumber;
};

struct PatternImage {
  int16_t classCount;      // nA
  int16_t memberCount;     // nB
  int16_t itemCount;       // nC
  int16_t tailClassCount;  // nT: classes at the end examined for every character
  int32_t groupWordCount;  // nD, at least kShapeGroups
  SmallKanaIndexEntry smallKana[kSmallKanaEntries];
  uint16_t thresholds63[63];
  uint16_t thresholds31[31];
  uint16_t thresholds7[7];
  uint16_t featureIndexTable[kRawFeatures];  // raw indices, each below 600
  uint8_t boundDistanceTable[64 * 64];
  uint8_t fineBoundDistanceTable[256 * 256];
  const uint32_t* classGroupIndex;  // low u16 first class, high u16 count
  const PatternClassRecord* classes;
  const PatternMember* members;
  const PatternItem* items;
  ClassDistanceEntry* scratch;      // classCount entries, rewritten per call
  // the variable arrays follow
};

// The loaded dictionary: one block. A section absent from the file leaves its
// pointer null, and every user checks for it.
struct DictBlock {
  PatternDictHeader header;
  StrokeModelImage* strokeModels;
  PatternImage* patterns;
};

// The model set of a character-type combination, or null when the dictionary
// has no stroke models or the mask names no set.
const StrokeModelSet* FindStrokeModelSet(const DictBlock* dict, uint32_t mask);

// ---- the pattern classifier (pattern_features.cpp, pattern_ranking.cpp) ----------------
// A character becomes 48 six-bit and 276 eight-bit features (quantised raw
// direction values), a shape group, a signature and 16 flag bytes; classes
// are pre-selected by group, type and signature, pruned by a coarse distance
// over the six-bit features, ranked by the fine distance over all features,
// re-ranked against rival classes and expanded into candidates.
constexpr int kMaxRankedClasses = 10;

struct PatternFeatureVector {
  uint8_t values[kPatternFeatures];  // 0..47 six-bit, 48..323 eight-bit
};

// What TraceNormalizedChar measures of one character, before quantisation.
struct PatternCharMeasures {
  uint8_t shapeGroup;       // 0..15
  uint16_t signature[8];    // band-crossing codes
  uint8_t flags[16];        // the four profile-run counts, little-endian
  uint16_t raw[kRawFeatures];
};

// Measures the rectangle of the image. 0; -9 for a blank rectangle (nothing
// pushed) or after 7002.
int MeasurePatternChar(const RunImage& image, const MupaRect& rect, PatternCharMeasures* out);
// The number of the n - 1 ascending thresholds strictly below v, by the fixed
// binary search of log2(n) halvings (n a power of two).
int QuantizeValue(uint16_t v, const uint16_t* thresholds, int n);
void QuantizePatternFeatures(const uint16_t* raw, const PatternImage& section,
                             PatternFeatureVector* features);
// MeasurePatternChar and QuantizePatternFeatures. 0, or -9 as the first.
int ExtractPatternFeatures(const RunImage& image, const MupaRect& rect,
                           const PatternImage& section, PatternCharMeasures* measures,
                           PatternFeatureVector* features);
// Fills the scratch list with the classes of the group's range and the
// always-examined tail whose types meet `mask` and whose signature masks
// conflict in fewer than 4 words; returns the count (at most the class count).
int SelectPatternClasses(const PatternImage& section, uint32_t mask, int group,
                         const uint16_t signature[8]);
// Coarse distances of the scratch list's classes, the best first, the list
// pruned to 2.5 times the best; returns the new count (count >= 1).
int CoarsePatternDistance(const PatternImage& section, const PatternFeatureVector& features,
                          int count);
// The coarse term of six-bit feature k / fine term of eight-bit feature j.
int CoarseFeatureTerm(const PatternImage& section, const PatternClassRecord& c, int k, int f);
int FineFeatureTerm(const PatternImage& section, const PatternClassRecord& c, int j, int g);
// Fine distances: at most 10 classes in ascending order at the start of the
// scratch list; returns their count (count >= 1).
int FinePatternDistance(const PatternImage& section, const uint8_t flags[16],
                        const PatternFeatureVector& features, int count);

struct RankedClassEntry {
  int32_t key;
  int32_t fineDistance;
  int32_t rerankDistance;  // kNoDistance when not re-ranked
  uint16_t classNumber;
};

void RerankPatternCandidates(const PatternImage& section, const PatternFeatureVector& features,
                             RankedClassEntry* list, int count);
void SortRerankedEntries(RankedClassEntry* list, int count);
// Candidates of the ranked classes' members whose types meet the mask, at
// most 15; the rest cleared. Returns the number written.
int BuildPatternCandidates(const PatternImage& section, uint32_t mask, RankedClassEntry* list,
                           int count, RecogCandidate* candidates);
// Confidence of the record's answer from the distance gap of its first
// places.
void RateCandidateGap(CharWorkRecord* record);
// W[i] = round(8300 x ln(1 + i / 5)), i = 0..104.
const std::array<int16_t, 105>& GapCurveTable();
// The pattern classifier on the run's rectangle with the dictionary of the
// run (record cleared by the caller). A dictionary without a pattern section,
// or a blank rectangle, leaves the record empty.
void ClassifyByPattern(const RecogRunBlock* run, uint32_t mask, CharWorkRecord* record);

// ---- merging candidate lists (candidate_merge.cpp) -----------------------------------
// Plain merge: the structural answer (or none) first, then the pattern
// list's codes not yet placed, then the rest of the structural list; a
// structural large kana brings its small form second.
void MergeCandidateLists(const DictBlock* dict, const CharWorkRecord* structural,
                         const CharWorkRecord& pattern, CharWorkRecord* destination);
// The merge for masks that mix digits with other types: confusable digits
// and kana decide where the structural answer goes.
void MergeStructuralWithPattern(const DictBlock* dict, const CharWorkRecord& structural,
                                const CharWorkRecord& pattern, CharWorkRecord* destination);
// Recognition mode 3: tables of distance limits per pair of answers decide
// between the structural and the pattern answer.
void ArbitrateStructuralResult(const DictBlock* dict, uint32_t mask,
                               const CharWorkRecord& structural, const CharWorkRecord& pattern,
                               CharWorkRecord* destination);

// ---- the recognition drivers (char_driver.cpp, stroke_attempts.cpp, -------------------
// ---- candidate_completion.cpp, field_driver.cpp, line_driver.cpp) ---------------------
struct NeighbourMap;
struct StrokeStepList;

// The recognisers one character may go to. The dispatcher calls them through
// this table, so that a test can see which of them ran.
struct CharRecognisers {
  void (*pattern)(const RecogRunBlock* run, uint32_t mask, CharWorkRecord* record);
  int (*digit)(const RecogRunBlock* run, uint32_t mask, CharWorkRecord* record);
  int (*strokes)(const RecogRunBlock* run, uint32_t mask, CharWorkRecord* record);
};
extern CharRecognisers g_charRecognisers;

// One character by the dictionary's current types into `work` (cleared
// here; its box is the run's rectangle). 0, or -9 with the reason.
int RecognizeCharByTypeMask(RecogRunBlock* run, CharWorkRecord* work);
// The same as a result record: up to 10 codes, scores 0; on failure the
// rectangle with failure flag 1. Clears the stack first. 0 or -9.
int RecognizeOneChar(RecogRunBlock* run, RecogCharResult* result);
// The digit decided by the structure rules (mask 1 or 513), completed from
// its row; nothing when undecided. 0 or -9.
int RecognizeDigit(const RecogRunBlock* run, uint32_t mask, CharWorkRecord* work);
// The structural recogniser with the model set of `mask`; a dictionary
// without such a set leaves the record empty. 0 or -9 (6001, 7002, or a
// failure of stroke analysis).
int RecognizeByStrokes(const RecogRunBlock* run, uint32_t mask, CharWorkRecord* work);
int RunStrokeAttempts(uint32_t mask, int mode, const StrokeModelSet& set, NeighbourMap* map,
                      CharWorkRecord* work);
// Whether the run's dictionary has digit stroke models and a session's work
// area is selected: what the structural recognisers need to judge digits.
bool CanConfirmDigits(const RecogRunBlock& run);
// Whether the structural recognisers take `rect` of `image` for one digit:
// decided by the structure rules, or matched to a stroke model that its
// class checks confirm, every attempt tried. 1 confirmed, 0 rejected (or
// its strokes could not be analysed), -1 no opinion (not CanConfirmDigits).
// The caller's error stack is left as it was.
int ConfirmsOneDigit(const RecogRunBlock& run, const RunImage& image, const MupaRect& rect);

// A stroke model's class code (first letter high, second low; 255 none) as
// Shift-JIS: digits and capitals full width, "X?" symbols, "DK" and "HD" the
// voicing marks, romanised names katakana; kNoCandidate for 255.
uint16_t ClassCodeToSjis(uint16_t classCode);
// Row 0..48 of a katakana, "゛", "゜" or "ー" in the katakana completion
// table; -1 for any other code (small and voiced kana included).
int SjisToKanaClass(uint16_t sjis);
// Fills the list up to 15 from the look-alike table of `mask`, skipping
// codes already listed, and sets the confidence from the class's
// reliability. With nothing recognised, the row of the closest model the
// attempts matched (when `steps` and `set` are given) or the "nothing" row.
void CompleteCandidates(const StrokeStepList* steps, const StrokeModelSet* set, uint32_t mask,
                        CharWorkRecord* work);
// The same for result records of the line path (first code given).
void CompleteCandidateLists(uint32_t mask, RecogCharResult* results, int count);

// A work record as a result record (failure flag 0).
void ConvertWorkRecord(const CharWorkRecord& record, RecogCharResult* result);
// The cells of the run into results and the end record. 0 or -9 (error 2
// when no room is left for the end record).
int RecognizeField(RecogRunBlock* run, RecogCharResult* results, int capacity, int* count);
// The line of the run into results (characters and the end record). 0, -1
// with warnings on the stack, -9.
int RecogniseLineDriver(RecogRunBlock* run, RecogCharResult* results, int capacity, int* count);
// RecognizeOneChar keeping the codes that were on the stack.
int RecogniseKeepingWarnings(RecogRunBlock* run, RecogCharResult* result);
// Drops tiny noise and, when `join`, joins neighbouring records while their
// union is read as one character more surely than each of its parts.
void JoinSplitCharacters(RecogRunBlock* run, RecogCharResult* results, int capacity, int* count,
                         bool join = true);
// A "゜" first in a record stays first only when it sits small and high
// beside the character before it; else its first two candidates swap (masks
// with digits and katakana or type 16). The last record ends the line.
void ApplySemiVoicedMarkRule(uint32_t mask, RecogCharResult* results, int count);

// ---- segmentation into character boxes (segmentation.cpp, segment_paths.cpp, ----------
// ---- grouping.cpp) ----------------------------------------------------------------------
// The connected components of the rectangle are joined into boxes: for the
// fourteen masks of the specialised types by type-driven grouping (katakana,
// or digits, capitals and signs), for every other mask by listing every
// plausible box and choosing the best sequence over the whole line.
struct SegmentWork {  // the records of one segmentation (about 70 KB)
  SegmentHeader header;
  CharBoxRow rows[kMaxBoxRows];
  ComponentRecord components[kMaxComponents];
};

// One of 1, 2, 3, 8, 129, 131, 258, 259, 387, 512, 513, 514, 515, 1032.
bool IsTypeDrivenMask(uint32_t mask);
// Whether the segmentation of these masks reads the boxes the line's shape
// leaves open: the dictionary has a pattern section.
bool SegmentationReadsBoxes(const RecogRunBlock& run);
// The worker of MupaSegChar: boxes[0..*count) of at most `max`. 0; -1 when a
// warning was pushed (boxes dropped at a limit: 2, or 14 at 100); -9 after a
// failed check, 7002, or a failed component extraction.
int SegmentCharacters(RecogRunBlock* run, MupaRect* boxes, int max, int* count);
// The line driver's segmentation: the same boxes (the specialised types'
// grouped boxes mended, cut and read alike) without the choice of a best
// sequence, each box at most 1280 x 320. 0; -2 for an empty rectangle (no
// box); -1 on failure (codes pushed).
int SegmentLine(const RecogRunBlock& run, int max, SegmentWork* work);
// Joins the header's components into rows by the mask. 0, or -1 (codes pushed).
int SegmentByMask(uint32_t mask, int max, SegmentWork* work);
// General path: every plausible box as a row. 0, or -9 after 14 (rows cut).
int BuildCandidateBoxes(SegmentWork* work);
void EstimateCharMetrics(const ComponentRecord* components, int count, int* size, int* pitch);
// 1 one box inside the other, 2 one spans the other across, 3 b spans a
// down (or lies within a's height), 4 b reaches above or below a.
int ClassifyBoxOverlap(const MupaRect& a, const MupaRect& b);
// By left edge, then stably by centre.
void SortComponentsByCentre(SegmentWork* work);
void UniteComponentBoxes(SegmentWork* work);
void ClampRowSize(CharBoxRow* row);
// Keeps only the rows of the best sequence (at most max; 14 or 2 pushed when
// max or more are chosen). 0, or -9 after 7002.
int ChooseBestSegmentation(SegmentWork* work, int max);
// Cost of a sequence of rows (smaller is better).
int32_t ScoreSegmentPath(const SegmentWork& work, const int* rows, int k);

// Type-driven grouping (grouping.cpp). Rows are numbered from 1 while
// grouping; FinishGroupedRows makes them 0-based.
int GroupAlnum(uint32_t mask, int max, SegmentWork* work);
int GroupKana(uint32_t mask, int max, SegmentWork* work);
// 0, or -1 when the caller's maximum stopped the grouping (2, or 14 at 100).
int GroupComponentsIntoBoxes(uint32_t mask, int max, int pitch, int width, SegmentWork* work);
int NearEnough(const ComponentRecord& a, const ComponentRecord& b, int tolerance,
               int heightTolerance);
int DecideAlnumJoin(int relation, const ComponentRecord& a, const ComponentRecord& b, int pitch,
                    int width);
int DecideKanaJoin(int relation, const ComponentRecord& a, const ComponentRecord& b, int pitch,
                   int size);
int TestOverlapStrength(const MupaRect& a, const MupaRect& b, int halfWidthA, int heightA,
                        int halfWidthB, int heightB);
// True when a row was marked too wide.
bool MarkWideRows(int limit, SegmentWork* work);
void SplitWideBoxes(int width, int pitch, SegmentWork* work);
// At most 100 boxes (14 pushed when more were made), rows 0-based.
void FinishGroupedRows(SegmentWork* work);
// Mends the 0-based grouped rows by the line's usual character: on lines of
// digits and capitals, pieces shorter than half the line join the box they
// fit with; pieces sharing columns within one character's width join; two
// narrow katakana neighbours one character wide together join; then each
// speck the filter dropped joins the box it lies nearest,
// when that is within a tenth of the line's height and nearer than any
// other box. With the page, boxes of digits and capitals as wide as two
// characters or more are cut where the least ink crosses.
void RepairGroupedBoxes(uint32_t mask, const std::vector<MupaRect>& specks, const RunImage* page,
                        SegmentWork* work);
// Boxes the line's shape leaves open, settled by reading them with the
// dictionary's pattern classifier: the boxes are parted at their blank
// columns, the pieces close together join as the sequence that reads best
// over the whole line has them, and boxes wider than the line's character
// that read doubtfully and better cut in two are cut. Nothing without a
// pattern section.
void ReadAmbiguousBoxes(const RecogRunBlock& run, uint32_t mask, SegmentWork* w);
// Ink of the rectangle outside every box that a character lost (the speck
// filter and the grouping leave crumbs of strokes broken on the scan out of
// the boxes): over or under a box's own columns within the line's rows (a
// fifth of its height above and below), beside a box and level with it
// within a fifth, off its rows within a tenth (the nearest box, when nearer
// than any other).
void TakeInStrayInk(const RecogRunBlock& run, SegmentWork* w);

// Sizing and loading (dict_load.cpp). Both clear the stack first.
// Sets *size to the bytes the loaded block needs; -9 with the code (size 0).
int ComputeDictSize(const char* path, int mode, size_t* size);
// Reads the file into `block` of exactly `size` bytes; -9 with the code.
int LoadDictFile(const char* path, DictBlock* block, size_t size);

// ---- recognition call frame (call_frame.cpp) -------------------------------------
// The run block and the per-character results are core_internal.h's.
constexpr int kMaxResultCapacity = 100;
constexpr int kMinLineCapacity = 2;

// Input checks of the drivers, in their fixed order; each pushes the first
// failing check's code and returns -9, else 0.
// One character: image (3; bytes per line must cover the width), rectangle
// (4), neighbour-map size (4, 6001), options (5, 6), dictionary count (6002,
// 11), mode (8).
int PrepareOneChar(const RecogRunBlock& run);
// Line and segmentation: image (3; exact bytes per line, 200..600 dpi),
// rectangle and its area (4), options, dictionary count, mode, then the
// capacity minCapacity..100 (13).
int CheckRecognitionInput(const RecogRunBlock& run, int capacity, int minCapacity);

// The recognition drivers. The frame runs the input checks above, then the
// driver of the call; tests may put their own in place.
struct RecognitionDrivers {
  // One character into *result. 0, -1 (warnings) or -9.
  int (*oneChar)(RecogRunBlock* run, RecogCharResult* result);
  // Cells or a line into results[0..capacity), *count records with the end
  // record. 0, -1 or -9.
  int (*field)(RecogRunBlock* run, RecogCharResult* results, int capacity, int* count);
  int (*line)(RecogRunBlock* run, RecogCharResult* results, int capacity, int* count);
  // Character boxes into boxes[0..capacity), *count found. 0, -1 or -9.
  int (*segment)(RecogRunBlock* run, MupaRect* boxes, int capacity, int* count);
};
extern RecognitionDrivers g_recognitionDrivers;

// Inverts the bytes covering the rectangle (bits of those bytes outside it
// too; a second call restores them). 3 for a bad image, 4 for a rectangle
// outside it; -9.
int FlipImageRect(const MupaImage& image, const MupaRect& rect);
// The union of the cells when it lies inside the image, else the whole image.
MupaRect UnionFieldRects(const MupaImage& image, const MupaRect* cells, int count);

// ---- the dictionary file (dict_format.cpp) -------------------------------------------
// The pattern-dictionary file: its layout, its records in file form, and the
// routines that turn each record into bytes and back. The loader and the
// dictionary writer both go through these definitions, so the two cannot
// drift apart.
//
// File: the 152-byte header, the 12-byte section directory, the stroke-model
// section (optional), the pattern section (optional), nothing after. Numbers
// are little-endian but the header's format number (big-endian). The file is
// pointer-free; the loaded image (above) is not.

constexpr int kDictHeaderBytes = 152;
constexpr int kDictDirectoryOffset = 152;
constexpr int kDictDirectoryBytes = 12;
constexpr int kDictFirstSectionOffset = kDictDirectoryOffset + kDictDirectoryBytes;
constexpr int kDictInfoHeaderBytes = 144;   // what MupaGetDictInfo reads
constexpr int kDictMaskReadBytes = 160;     // what the offered-mask reader reads
constexpr uint32_t kSectionAbsent = 0xFFFFFFFF;

// Loadable header values.
constexpr uint8_t kDictLoadableVersion = 3;
constexpr uint8_t kDictLoadableFormatMajor = 3;
constexpr uint8_t kDictFormatMinorLimit = 33;  // minor 0..32

void DecodeDictHeader(const uint8_t* bytes, PatternDictHeader* header);
void EncodeDictHeader(const PatternDictHeader& header, uint8_t* bytes);

struct DictSectionDirectory {
  uint32_t strokeOffset;   // kSectionAbsent when absent
  uint32_t patternOffset;
  uint32_t reserved;
};

// ---- stroke-model section ------------------------------------------------------
// Character groups of the stroke models: g0 signs, g1 digits, g2 capitals,
// g3 katakana.
constexpr int kModelGroups = 4;
constexpr int kStrokeSectionHeaderBytes = 28;
constexpr uint32_t kStrokeExtensionMarker = 0x7FFFFFFF;
constexpr int kStrokeExtensionBytes = 52;
constexpr int kMaxModelNameBytes = 7;
constexpr uint8_t kMaxStrokeCode = 172;

struct ModelStrokeFile {  // file: stroke element
  std::vector<uint8_t> codes;
  int16_t mean[8];    // file: the first value of each of the 8 pairs
  int16_t weight[8];  // file: the second value
};

struct ModelPathFile {  // file: joint path
  uint8_t jointValue;
  // The model strokes of one group in chain order, each as r > 0 (stroke
  // r - 1) or r < 0 (stroke -r - 1 "taken backward"). A backward reference
  // makes its stroke optional: the matcher may leave it without a segment.
  // A stroke is optional when any of its references is backward, and the
  // model's count of optional strokes counts such strokes once each.
  std::vector<int32_t> references;
};

struct ModelPointAlternative {  // file: one relation item
  uint8_t strokeA;     // model stroke number, 0-based
  uint8_t letterA;
  uint8_t kindLetter;  // 'K', 'T' or 'X'
  uint8_t strokeB;
  uint8_t letterB;
};

struct ModelPointFile {  // file: relation
  bool required;  // file: the sign of the item count
  std::vector<ModelPointAlternative> alternatives;
  int16_t words[4];  // file order: mean x, weight x, mean y, weight y
};

struct ModelRecordFile {
  std::string name;  // class name, at most 7 bytes
  std::string note;  // the file's second string, not loaded
  std::vector<ModelStrokeFile> strokes;
  std::vector<ModelPathFile> paths;
  std::vector<ModelPointFile> points;
};

struct RefinementEntryFile {
  int16_t modelIndex;  // within its group's refinement models
  uint16_t classCode;
  int16_t maxDistance;
  std::vector<uint8_t> features;
};

struct StrokeSectionFile {
  uint16_t family1[kModelGroups];    // model counts per group
  uint16_t family2[kModelGroups];
  // Size words of the format. The loader sizes the image from the records
  // themselves and does not read them.
  uint16_t sizeWords[kModelGroups];
  bool extended;  // the extension header is present
  int16_t refinementModels[kModelGroups];
  uint32_t extensionUnits[kModelGroups][2];  // like sizeWords
  // Family 1 as g0, g1, g2, g0 again, g3; family 2 likewise; then the
  // refinement models of g0..g3.
  std::vector<ModelRecordFile> models;
  std::vector<RefinementEntryFile> entries[kModelGroups];
};

// Number of model records the header announces (the sign models count twice).
int CountStrokeSectionModels(const StrokeSectionFile& section);

// ---- pattern section -------------------------------------------------------------
constexpr int kPatternHeaderBytes = 16;
constexpr int kPatternMemberBytes = 8;
constexpr int kPatternClassBytes = 796;
constexpr int kPatternItemBytes = 18;
constexpr int kPatternTablesBytes =
    kSmallKanaEntries * 2 + (63 + 31 + 7 + kRawFeatures) * 2 + 64 * 64 + 256 * 256;

struct PatternSectionCounts {
  int16_t classCount, memberCount, itemCount, tailClassCount;
  int32_t groupWordCount;
};

void DecodePatternCounts(const uint8_t* bytes, PatternSectionCounts* counts);
void EncodePatternCounts(const PatternSectionCounts& counts, uint8_t* bytes);
// File bytes of the whole pattern section, -1 for negative counts.
int64_t PatternSectionFileBytes(const PatternSectionCounts& counts);
void DecodePatternMember(const uint8_t* bytes, PatternMember* member);
void EncodePatternMember(const PatternMember& member, uint8_t* bytes);
void DecodePatternClass(const uint8_t* bytes, PatternClassRecord* record);
void EncodePatternClass(const PatternClassRecord& record, uint8_t* bytes);
void DecodePatternItem(const uint8_t* bytes, PatternItem* item);
void EncodePatternItem(const PatternItem& item, uint8_t* bytes);

// ---- little-endian byte access -----------------------------------------------------
inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t GetU32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline void PutU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
  PutU16(p, static_cast<uint16_t>(v));
  PutU16(p + 2, static_cast<uint16_t>(v >> 16));
}
inline void AppendU16(std::vector<uint8_t>* out, uint16_t v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}
inline void AppendU32(std::vector<uint8_t>* out, uint32_t v) {
  AppendU16(out, static_cast<uint16_t>(v));
  AppendU16(out, static_cast<uint16_t>(v >> 16));
}

// Sequential reader of a dictionary file that knows how many bytes remain, so
// that no count read from the file makes it allocate or read beyond the end.
class DictFileReader {
 public:
  explicit DictFileReader(FILE* file);
  bool Read(void* destination, size_t bytes);
  bool Skip(size_t bytes);
  bool U8(uint8_t* value);
  bool U16(uint16_t* value);
  bool I16(int16_t* value);
  bool U32(uint32_t* value);
  bool I32(int32_t* value);
  bool PeekU32(uint32_t* value);
  bool Seek(int64_t position);
  int64_t position() const { return position_; }
  int64_t remaining() const { return size_ - position_; }

 private:
  FILE* file_;
  int64_t size_ = 0;
  int64_t position_ = 0;
};

// Reads and checks the whole stroke-model section at the reader's position
// (header, extension, model records, refinement entries) against the file
// and the library's limits. Returns 0, or -9 with 1002 for a malformed or
// short section.
int ReadStrokeSectionFile(DictFileReader& reader, StrokeSectionFile* section);
// Appends the section's bytes.
void EncodeStrokeSectionFile(const StrokeSectionFile& section, std::vector<uint8_t>* out);

// Header check of every reader: magic and version 1..3 (1004), kind 1..2
// (1009), byte 7 1..2 (1010), byte 8 1..2 (1011), byte 7 = 1 with byte 8 = 2
// (1014); the first failure is pushed and gives -9.
int CheckDictHeader(const PatternDictHeader& header);
