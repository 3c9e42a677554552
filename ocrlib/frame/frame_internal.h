// Services of the MUPA32 frame that the rest of the library calls: the error
// stack and its codes, the handle / environment / dictionary slot tables, the
// loaded dictionary image, the character-type masks, the fixed pools and
// stroke-record allocators, the integer geometry and the point-chain and
// contour measures.
//
// Everything here is process-wide and unlocked: calls into the library must
// not overlap. Results follow the library's rule: 0 (or a count, index or
// pointer) for success, -9 (or null) after a code was pushed on the error
// stack, -1 for success with warning codes left on the stack.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ocrlib/mupa32.h"
#include "ocrlib/strokes/stroke_records.h"

// ---- error stack ------------------------------------------------------------
// Every code the library pushes.
enum MupaErrorCode : uint16_t {
  kErrMissingValue = 1,      // mask 0, field without cells, bad sizing mode
  kErrResultsFull = 2,       // caller's result buffer too small
  kErrBadImage = 3,          // image descriptor invalid
  kErrBadRect = 4,           // rectangle outside the image or too large
  kErrOptionByte0 = 5,
  kErrOptionByte1 = 6,
  kErrTypesNotOffered = 7,   // warning: the call still succeeds
  kErrBadMode = 8,           // recognition mode not 1..3
  kErrNoDictInRun = 11,
  kErrCountRange = 13,       // capacity or count out of range
  kErrCapacityFull = 14,     // a fixed pool, array or buffer is full
  kErrDictOpen = 1001,
  kErrDictRead = 1002,       // read or seek failed, short read, malformed data
  kErrDictHeader = 1004,     // magic or version
  kErrDictVersion = 1007,
  kErrDictFormat = 1008,
  kErrDictKind = 1009,
  kErrDictByte7 = 1010,
  kErrDictByte8 = 1011,
  kErrDictByteCombination = 1014,
  kErrDictBudget = 1015,     // load block too small for a section
  kErrDictTrailing = 1016,   // data after the end of the file
  kErrDictClose = 1017,
  kErrNoCharTypes = 2001,    // dictionary kind carries no character types
  kErrNeighbourMap = 6001,
  kErrManyDicts = 6002,
  kErrStrokeExtraction = 6003,
  kErrBadArgument = 7001,
  kErrNoMemory = 7002,
  kErrNoFreeEnv = 7004,
  kErrDictLoaded = 7005,     // a dictionary with this path is loaded
  kErrDictRegistered = 7006,
  kErrNoFreeDict = 7007,
  kErrNoDictInEnv = 7008,    // none usable / not registered
  kErrDictNotOwned = 7011,
  kErrDictInUse = 7012,      // still registered to an environment
  kErrEnvOpenAtEnd = 7013,
  kErrDictLoadedAtEnd = 7014,
};

constexpr int kErrorSlots = 32;

// Newest code first, each code at most once. Defined in error_stack.cpp.
struct ErrorStack {
  int16_t count;
  uint16_t codes[kErrorSlots];
};
extern ErrorStack g_errorStack;

void ClearErrorStack();
// Puts `code` in front; a code already held moves to the front, a full stack
// drops the new code.
void PushErrorCode(uint16_t code);
// Copies min(n, count) codes, newest first; returns the stack's count.
int CopyErrorStack(uint16_t* destination, int n);
int GetErrorCount();
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

struct SessionWorkArea;  // ocrlib/strokes/shape_candidate.h

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

// ---- character-type masks ------------------------------------------------------
constexpr uint32_t kTypeDigits = 1;
constexpr uint32_t kTypeCapitals = 2;
constexpr uint32_t kTypeKatakana = 8;
constexpr uint32_t kTypeSigns = 512;
constexpr uint32_t kTypeAll = 0xFFFFFFFF;  // current mask right after loading

// Clears the stack; -9 with 2001 unless the dictionary's kind is 1 (or with
// the header check's code); else 0 with both masks.
int GetCharTypeMasks(const DictBlock* dict, uint32_t* offered, uint32_t* current);
// Clears the stack; mask 0 gives 1 and -9; kind not 1 gives 2001 and -9.
// Stores the mask; -1 with warning 7 when the dictionary does not offer every
// type of it, else 0.
int SetCharTypeMask(DictBlock* dict, uint32_t mask);

// ---- the loaded dictionary ----------------------------------------------------
// The file's 152-byte header as loaded (see dict_format.h for the file).
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

// Stroke models. A model is one way of writing one character class: model
// strokes (file: stroke elements), their groups (file: joint paths) and
// model points (file: relations).
struct ModelStroke {
  uint8_t codeCount;
  const uint8_t* codes;    // stroke codes (kind x 10 + sub-kind) that may play it
  uint8_t linkCount;       // 0..2
  uint8_t linkStroke[2];   // neighbouring model strokes in its group
  uint8_t linkEnd[2];      // end code the neighbour must show
  uint8_t group;           // its ModelGroup
  uint8_t required;        // 1 required (forward in its path), 0 optional
  int16_t mean[8];         // expected centreX..sizeY
  int16_t weight[8];
};

struct ModelGroup {
  uint16_t closed;      // 1 a closed ring
  uint8_t direction;    // the file's joint value
  uint8_t memberCount;
  const uint8_t* members;  // model stroke numbers in order
};

struct ModelPoint {
  uint8_t alternativeCount;
  uint8_t required;              // 1 required, 0 optional
  const uint8_t* strokePairs;    // 2 model stroke numbers per alternative
  const uint8_t* endLetters;     // 2 letters per alternative
  const uint8_t* kinds;          // 1 'K', 2 'T', 0 'X' per alternative
  int16_t meanX, meanY, weightX, weightY;  // 256-unit frame
};

// Refinement entry of a refinement model: the class it stands for and the
// stroke features it expects.
struct RefinementEntry {
  uint16_t classCode;
  int16_t maxDistance;
  int16_t featureCount;
  const uint8_t* features;  // null when featureCount is 0
};

constexpr int kMaxModelStrokes = 16;   // per model
constexpr int kMaxModelPoints = 127;   // per model (count is read as signed)
constexpr int kMaxSelectedModels = 600;  // per model set: the candidate array

struct StrokeModel {
  char name[8];            // class name, zero-terminated
  uint8_t groupCount;
  uint8_t pointCount;
  uint8_t strokeCount;
  uint8_t optionalCount;   // model strokes referenced backward in a path
  uint16_t refinementCount;  // entries of a refinement model, else 0
  int16_t classIndex;      // ClassCheckTable row, -1 when the name has none
  const ModelGroup* groups;
  const ModelPoint* points;          // null when none
  const ModelStroke* strokes;
  const RefinementEntry* refinements;  // refinement models only
  uint32_t codeMaskA, codeMaskB, codeMaskC, codeMaskD;
};

// One model set per character-type combination, in this order.
constexpr int kModelSetCount = 8;
constexpr uint32_t kModelSetMasks[kModelSetCount] = {512, 1, 2, 8, 513, 3, 514, 515};

struct StrokeModelSet {
  uint32_t mask;
  uint16_t family1Count;
  const StrokeModel* family1;
  uint16_t family2Count;
  const StrokeModel* family2;
  uint16_t refinementCount;
  const StrokeModel* refinement;   // null when refinementCount is 0
  uint16_t modelCount;             // the current selection (starts as family 2)
  const StrokeModel* models;
};

struct StrokeModelImage {
  StrokeModelSet sets[kModelSetCount];
  // model records and their variable parts follow
};

// Pattern classifier data.
struct PatternItem {  // (low, peak, high) triples in 256ths; all 0: no data
  uint16_t aspect[3];
  uint16_t area[3];
  uint16_t position[3];
};
static_assert(sizeof(PatternItem) == 18, "item layout");

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

// Sizing and loading (dict_load.cpp). Both clear the stack first.
// Sets *size to the bytes the loaded block needs; -9 with the code (size 0).
int ComputeDictSize(const char* path, int mode, size_t* size);
// Reads the file into `block` of exactly `size` bytes; -9 with the code.
int LoadDictFile(const char* path, DictBlock* block, size_t size);

// ---- recognition call frame (call_frame.cpp) -------------------------------------
constexpr int kResultCandidates = 10;
constexpr uint16_t kNoCandidate = 0xFFFF;
constexpr int kMaxResultCapacity = 100;
constexpr int kMinLineCapacity = 2;

// What a driver fills for one character; the exports widen it into a
// MupaCharResult.
struct RecogCharResult {
  struct Candidate {
    uint16_t code;  // Shift-JIS, kNoCandidate when unused
    uint8_t score;
  } candidates[kResultCandidates];
  uint8_t confidence;  // 0..100
  uint8_t failed;      // 1 not recognised
  MupaRect box;
};

// The caller's image as a run sees it (the polarity is the export's concern).
struct RunImage {
  int16_t width, height;
  uint16_t bitsPerPixel;
  int16_t bytesPerLine;
  int16_t dpi;
  uint8_t* bits;
};

// What a recognition export hands its driver.
struct RecogRunBlock {
  RunImage image;
  MupaRect rect;             // line, one character, segmentation
  const MupaRect* cells;     // field: the caller's cells
  uint16_t cellCount;
  MupaRecogOptions options;  // the caller's markers and mode, nothing else
  uint16_t dictCount;        // always 1 from the exports
  DictBlock* const* dicts;
};

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
// driver of the call; an entry left null makes the call fail with 7008 (no
// recogniser for the run) after its checks.
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

// ---- fixed pools (pools.cpp) ---------------------------------------------------
// Records are taken in order and released all at once by a reset; a full pool
// pushes 14 and fails. Contents are not cleared by a reset.
constexpr int kCellNodePoolSize = 50;
constexpr int kChainNodePoolSize = 50;
constexpr int kListNodePoolSize = 500;
constexpr int kMaxCellPairs = 20;
constexpr int kMaxCellChildren = 10;
constexpr int kMaxNodeLinks = 10;

struct ListNode;

// A region of the structure tree.
struct CellNode {
  uint32_t number;
  int32_t pairCount;
  uint32_t pairKinds[kMaxCellPairs];
  ListNode* pairItems[kMaxCellPairs];
  uint32_t listStart;  // set by the owner
  int32_t childCount;
  CellNode* children[kMaxCellChildren];
};

// One change of the run structure between two neighbouring scan lines.
struct ChainNode {
  uint32_t index;  // 1-based: upper structure record + 1
  int32_t entryCounts[2];  // [side]: 0 upper list, 1 lower list
  ListNode* heads[2];
  ChainNode* next;
  ChainNode* prev;
};

// One transition of a scan line (or its closing sentinel).
struct ListNode {
  uint32_t sequence;  // within its chain node: upper list, then lower
  int32_t linkCount;
  ListNode* links[kMaxNodeLinks];  // nodes of the other list
  ListNode* next;
  ListNode* prev;
  ListNode* twin;  // the same transition in the neighbouring chain node
  uint32_t parity;  // 1 even entry index (run start), 0 odd (run end)
  uint32_t side;    // 0 upper list, 1 lower list
  uint32_t recordIndex;  // structure record (scan line), 0-based
  uint32_t ownerMark;
  ChainNode* chainNode;
  uint32_t position;  // in its list
};

void ResetCellNodePool();
CellNode* AllocCellNode();
void AddCellNodeItem(CellNode* node, CellNode* child);
int AddCellPair(CellNode* node, uint32_t kind, ListNode* item);
void ResetListNodePools();
ChainNode* AllocChainNode();
ListNode* AllocListNode();
ListNode* AllocListNodeRun(int n);  // null for n below 1

int AddNodeLink(ListNode* node, ListNode* other);
int LinkListNodes(ListNode* a, ListNode* b);
void RemoveNodeLink(ListNode* node, ListNode* other);
// Position of the replaced link; 0 also when `old` is absent.
int ReplaceNodeLink(ListNode* node, ListNode* old, ListNode* replacement);
void TransferLinksAppend(ListNode* survivor, ListNode* removed);
void TransferLinksPrepend(ListNode* removed, ListNode* survivor);
int IndexOfListNode(const ChainNode* chain, int side, const ListNode* node);
ListNode* GetChainListItem(const ChainNode* chain, int side, int n);
ListNode* RemoveListNodePair(ListNode* x, int direction);

// ---- stroke-record allocators (stroke_arrays.cpp) --------------------------------
StrokeGroup* AllocGraphPoint(StrokeGraph* graph);
StrokePiece* AllocStrokeSegment(StrokeGraph* graph);
// A new segment of the graph's last group, linked to `piece`.
StrokeSegment* AllocStrokeJoint(StrokeGraph* graph, StrokePiece* piece);
int LinkJointToSegment(StrokeGraph* graph, StrokeSegment* segment, StrokePiece* piece);
// n consecutive piece words; null unless words in use + n stays below the
// capacity.
uint16_t* AllocGraphWords(StrokeGraph* graph, int n);
StrokeNode* AllocStrokeNode(StrokeNodeLists* lists);
StrokeEdge* AllocStrokeEdge(StrokeNodeLists* lists);
FeaturePoint* AllocStrokeMark(StrokeNodeLists* lists);
void ResetStrokeGraph(StrokeGraph* graph);
void ResetStrokeNodeLists(StrokeNodeLists* lists);
// Mode other than 1 saves the graph's counts in the one save area; 1 restores.
void SaveRestoreGraphCounts(StrokeGraph* graph, int mode);

// Step path: (index, value) points of an 8-connected path.
struct StepPoint {
  int32_t index;
  int32_t value;
};
constexpr int kMaxStepPoints = 400;
constexpr int kStepDropFirst = 1, kStepDropLast = 2, kStepSwapFillIndex = 4;
// Number of points written, or 0 with 14 beyond kMaxStepPoints.
int ExpandStepPath(const int32_t* values, int n, int flags, StepPoint* points);

// ---- integer geometry (geometry.cpp) -----------------------------------------------
// Lengths are 256 x pixels, angles whole degrees. 64-bit intermediates keep
// every product exact; results beyond 32 bits saturate.
int32_t ApproxDistance(int32_t dx, int32_t dy);
int32_t ClampTableLookup(int32_t cosine256);       // 0..180
int32_t VectorAngle(int32_t x, int32_t y);         // -180..180
int32_t ArctanPercent(int32_t ratioHundredths);    // -90..90
struct GeoPoint {
  int16_t x, y;
};
int32_t AngleAtVertex(GeoPoint a, GeoPoint b, GeoPoint c);  // angle b-a-c, 0..180
int32_t IntSqrt(int32_t v);
void ShellSortIndices(const int32_t* keys, int n, uint32_t* order);
void ShellSortIndexArray(const int32_t* keys, int n, uint32_t* order);

// ---- point-chain measures (chain_measures.cpp) ------------------------------------
// Directions 0..7 of the extreme-point searches: key and secondary per
// direction (x, y as the points hold them).
enum ExtremeDirection {
  kDirNegY = 0, kDirNegXY = 1, kDirNegX = 2, kDirYMinusX = 3,
  kDirPosY = 4, kDirPosXY = 5, kDirPosX = 6, kDirXMinusY = 7,
};

// Lays the segment's points out as one chain in the table's scratch chain.
// *overflow = 1 (count left as it was) when the chain does not fit.
void BuildChainPointList(const StrokeSegment* segment, StrokePointTable* points,
                         int32_t* overflow);
// Chord deviation of the segment's chain and its offset vector in frame
// units, plus 128 per the mode (1 deviation, 2 offsets, 3 all). Returns mode.
int MeasureChainNormalized(StrokePointTable* points, const CharFrame* frame,
                           const StrokeSegment* segment, int mode,
                           int32_t* deviation, int32_t* offsetX, int32_t* offsetY);
// Point index of the scratch chain's extreme in `direction`, -1 when empty.
int ExtremePointInDirection(const StrokePointTable* points, int direction,
                            int weight, int32_t* point);
int ExtremePointForCheck(const StrokePointTable* points, int direction, int32_t* point);
void MeasureExtremeDistances(StrokePointTable* points, const CharFrame* frame,
                             const StrokeSegment* segment, int32_t* xA, int32_t* yA,
                             int32_t* xB, int32_t* yB, int32_t* length,
                             int32_t* angle, int32_t* pair);
struct ShapeCandidate;
// corners: [0,1] key y - x, [2,3] x + y, [4,5] x - y, [6,7] -(x + y).
void FindCandidateCornerPoints(const StrokePointTable* points,
                               const ShapeCandidate* candidate, const int32_t* xs,
                               const int32_t* ys, int n, int normalise,
                               int32_t corners[8]);
void FindStrokeCornerPoints(const StrokePointTable* points, const StrokeSegment* segment,
                            int normalise, int32_t corners[8]);
// Over every contour point (y negated) and the n extra points.
void FindChainCornerPoints(const ContourSet* contours, const int32_t* xs,
                           const int32_t* ys, int n, int normalise, int32_t corners[8]);
void PolygonArea(const StrokePointTable* points, int32_t* area);
void SkewPointChain(StrokePointTable* points, int mode);
void DetectChainZigzag(StrokePointTable* points, const StrokeSegment* segment, int32_t* yes);
void DetectChainHook(StrokePointTable* points, const StrokeSegment* segment, int32_t* yes);

// ---- contour measures (contour_measures.cpp) ---------------------------------------
// Contour points hold image rows; these searches negate y before comparing.
const ContourPoint* FindContourExtremeInRange(const ContourPoint* start,
                                              const ContourPoint* end, int direction,
                                              int weight);
const ContourPoint* FindContourExtreme(const ContourPoint* start, int direction);
const ContourPoint* FindContourExtremeWeighted(const ContourPoint* start, int direction,
                                               int weight);
// 256 x pixels, on the stored coordinates; 0 when nothing deviates.
int32_t MaxContourChordDeviation(const ContourPoint* a, const ContourPoint* b);
int32_t NormalizedChordDeviationAt(const ContourPoint* a, const ContourPoint* b,
                                   int32_t* x, int32_t* y, const CharFrame* frame);
int32_t NormalizedChordDeviation(const ContourPoint* a, const ContourPoint* b,
                                 const CharFrame* frame);
// Centres of the holes no live stroke point was traced from; returns how many.
int FindHoleCentres(const StrokeStepList* steps, const ContourSet* contours,
                    const StrokePointTable* points, const CharFrame* frame,
                    int32_t* sizes, int32_t* xs, int32_t* ys, int max, int normalise);
void TestSingleLoopShape(const ContourSet* contours, const void* ignored, int32_t* yes);
