// The core of the MUPA32 library, below stroke analysis, the shape checks
// and the frame with its exports: the error stack and its codes, the records
// of one structural recognition attempt with their allocators, the neighbour
// map, the stroke models as loaded and the candidates matched against them,
// the fixed pools of the structure analysis, the integer geometry, the
// 256-unit character frame and the point-chain and contour measures.
//
// Layers, each using only those before it: core, strokes, checks, frame.
// Nothing here includes a header of the library above it.
//
// Everything here is process-wide and unlocked: calls into the library must
// not overlap. Results follow the library's rule: 0 (or a count, index or
// pointer) for success, -9 (or null) after a code was pushed on the error
// stack, -1 for success with warning codes left on the stack.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ocrlib/mupa32.h"

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

// ---- records of one attempt (stroke_records.cpp) ----------------------------------
// Records of one structural recognition attempt: the pixel map of the
// character, its contours, the point graph of its strokes, the strokes cut
// into pieces and segments, and the junction and end records.
//
// Stroke extraction and thinning fill the contour set and the point table,
// structure analysis the graph and the node lists; candidate verification, the
// structural recogniser and the class checks read them. Every array has a
// fixed capacity set by the driver of the attempt (capacities below); nothing
// grows. An allocator that finds its array full pushes error 14 and fails.
//
// Units: pixel coordinates of the neighbour map; after FinishStrokePoints the
// stroke points hold y negated (y grows upward), contour points keep image
// rows. Lengths (ApproxDistance) and widths are in 1/256 pixel, unit vectors
// are scaled to 256, angles are whole degrees.

// Capacities used by every driver.
constexpr int kMaxContourPoints = 4000;
constexpr int kMaxContours = 400;
constexpr int kMaxContourPairs = 2000;
constexpr int kMaxPairRuns = 400;
constexpr int kMaxRunEndCaps = 400;
constexpr int kMaxStrokePoints = 800;
constexpr int kMaxChainWords = 1600;
constexpr int kMaxStrokeGroups = 100;
constexpr int kMaxStrokePieces = 400;
constexpr int kMaxStrokeSegments = 200;
constexpr int kMaxPieceLinks = 400;
constexpr int kMaxPieceWords = 800;
constexpr int kMaxStrokeNodes = 400;
constexpr int kMaxStrokeEdges = 400;
constexpr int kMaxFeaturePoints = 400;
constexpr int kMaxPointNeighbours = 8;
constexpr int kMaxCapRuns = 8;

constexpr uint16_t kNoIndex = 0xFFFF;  // "none" in a u16 index field

// A fixed-capacity array: the owner points `items` at its storage and sets
// `capacity`; allocators raise `count` up to it, resets set it to 0.
template <class T>
struct RecordArray {
  T* items = nullptr;
  int16_t capacity = 0;
  int16_t count = 0;
};

// ---- the list of extraction attempts ------------------------------------------
// Steps: 4, 0, 2 build contour polygons ("polygon steps"), 1 and 3 thin the
// strokes ("thinned steps"); 2 and 3 first adapt the stroke thickness.
constexpr uint8_t kStepFamilyPolygon = 2;  // also the number of orientations
constexpr uint8_t kStepFamilyThinned = 1;
constexpr int kMaxStrokeSteps = 8;

constexpr int kAttemptLogEntries = 16;

// The raw matches of each attempt, before any class check: model numbers and
// distances of the candidates the stroke-model match left valid.
struct StrokeAttemptLog {
  uint16_t models[kMaxStrokeSteps][kAttemptLogEntries] = {};
  uint16_t distances[kMaxStrokeSteps][kAttemptLogEntries] = {};
  uint16_t counts[kMaxStrokeSteps] = {};
};

struct StrokeStepList {
  uint8_t path = 0;    // 0 one-character path, 1 line path
  uint8_t family = 0;  // kStepFamily... of the last step tried
  uint8_t count = 0;   // attempts so far; steps[count - 1] is the current one
  uint8_t steps[kMaxStrokeSteps] = {};
  StrokeAttemptLog log;
};

// The current step, or 255 when the list is empty.
inline uint8_t CurrentStrokeStep(const StrokeStepList& steps) {
  return steps.count > 0 && steps.count <= kMaxStrokeSteps
             ? steps.steps[steps.count - 1] : 255;
}
inline bool IsThinnedStep(uint8_t step) { return step == 1 || step == 3; }

// ---- neighbour map -------------------------------------------------------------
// One byte a pixel: bit 0 the pixel is black; bit 4 the pixel below is black,
// bit 5 the pixel to the right, bit 6 the pixel to the left, bit 7 the pixel
// above. `margin` rows and columns at each side are kept white.
constexpr uint8_t kMapBlack = 0x01;
constexpr uint8_t kMapBelow = 0x10;
constexpr uint8_t kMapRight = 0x20;
constexpr uint8_t kMapLeft = 0x40;
constexpr uint8_t kMapAbove = 0x80;
constexpr uint8_t kMapFourNeighbours = 0xF0;

struct NeighbourMap {
  uint8_t* bytes = nullptr;
  int16_t width = 0;   // bytes per row = pixels
  int16_t height = 0;
  int16_t margin = 0;
};

// ---- contour set ----------------------------------------------------------------
struct Contour;
struct ContourPair;
struct PairRun;

// One point of a traced contour ring. Positions are image rows (y down).
struct ContourPoint {
  int16_t x = 0, y = 0;
  int16_t code = -1;       // 8-neighbourhood code of its pixel, -1 when the
                           // pixel makes several points
  int16_t direction = -1;  // predecessor link code 0..7
  int16_t spare = -1;
  int16_t run = -1;        // index of the PairRun holding it, -1 none
  ContourPoint* prev = nullptr;  // the ring, in tracing order
  ContourPoint* next = nullptr;
  ContourPoint* crossing = nullptr;  // next point of the same pixel, or null
  Contour* owner = nullptr;
  // Thinned steps: unit normal (scaled to 256) and the opposite point.
  int16_t normalX = 0, normalY = 0;
  ContourPoint* partner = nullptr;
};

constexpr uint16_t kContourHole = 0;
constexpr uint16_t kContourOuter = 1;
constexpr uint16_t kContourSmallCrossedOuter = 2;  // <= 8 points, multi-point pixel
constexpr uint16_t kContourSmallHole = 3;          // < 8 points

struct Contour {
  uint16_t kind = 0;
  uint16_t pointCount = 0;
  ContourPoint* first = nullptr;
};

// Two opposite contour points across a stroke, linked along their run.
struct ContourPair {
  ContourPoint* a = nullptr;
  ContourPoint* b = nullptr;
  ContourPair* towardStart = nullptr;  // neighbouring pair towards the run start
  ContourPair* towardEnd = nullptr;
};

struct RunEndCap;

constexpr uint16_t kRecordLive = 7;
constexpr uint16_t kRecordRemoved = 8;

// A run of contour pairs following the body of one stroke.
struct PairRun {
  ContourPair* firstPair = nullptr;
  ContourPair* lastPair = nullptr;
  uint16_t pairCount = 0;
  uint16_t width = 0;  // mean pair distance + 256, 1/256 pixel
  uint16_t kind = kRecordLive;
  uint8_t startFinished = 0, endFinished = 0;
  int16_t startPoint = -1;  // StrokePoint at the first pair, -1 none
  int16_t endPoint = -1;    // StrokePoint at the last pair
  RunEndCap* startCap = nullptr;
  RunEndCap* endCap = nullptr;
};

// The free contour stretch beyond one or more run ends, where they meet.
struct RunEndCap {
  uint16_t kind = kRecordLive;
  int16_t junction = -1;  // StrokePoint index, -1 none
  int16_t minX = 0, minY = 0, maxX = 0, maxY = 0;
  uint8_t runCount = 0;
  PairRun* runs[kMaxCapRuns] = {};
  uint8_t sides[kMaxCapRuns] = {};  // 0 the run's start, 1 its end
};

struct ContourSet {
  RecordArray<ContourPoint> points;
  RecordArray<Contour> contours;
  RecordArray<ContourPair> pairs;
  RecordArray<PairRun> runs;
  RecordArray<RunEndCap> caps;
};

// ---- stroke points -----------------------------------------------------------------
constexpr uint8_t kPointLive = 7;
constexpr uint8_t kPointDeleted = 8;
constexpr uint8_t kPointNoise = 9;
constexpr uint8_t kPointSplitJunction = 12;

struct StrokePoint {
  int16_t x = 0, y = 0;
  uint8_t kind = kPointLive;
  uint8_t used = 0;    // 1 when a traced chain holds it
  int8_t degree = 0;   // neighbour count, -1 when not live
  int16_t edge = -1;   // its StrokeEdge, -1 none
  uint16_t neighbours[kMaxPointNeighbours] = {};  // thinned steps: ascending bearing
  int16_t savedX = -1, savedY = -1;  // state after extraction
  int8_t savedDegree = 0;
  uint16_t savedNeighbours[kMaxPointNeighbours] = {};
  // What the point was made from: a contour point on the polygon steps, a
  // contour pair on the thinned steps; at most one is set.
  const ContourPoint* sourcePoint = nullptr;
  const ContourPair* sourcePair = nullptr;
};

struct StrokePointTable {
  RecordArray<StrokePoint> points;  // points.count is the point count
  int16_t extractedCount = 0;       // count after extraction; retries return to it
  int16_t refSize = 0;              // larger of width and height
  int16_t width = 0, height = 0;    // extent of the live points, pixels
  RecordArray<uint16_t> chain;      // scratch chain of point indices
  int16_t chainClosed = 0;          // 1 when the last traced chain is a ring
};

// ---- stroke graph --------------------------------------------------------------------
struct StrokePiece;
struct StrokeSegment;

// One traced chain.
struct StrokeGroup {
  StrokePiece* firstPiece = nullptr;
  StrokeSegment* firstSegment = nullptr;  // the rest follow through `next`
  uint16_t closed = 0;
};

constexpr uint8_t kNoTurn = 255;

// A section of a chain whose step direction is monotone.
struct StrokePiece {
  uint8_t directionClass[2] = {};  // per orientation: 0 horizontal, 1 rising
                                   // diagonal, 2 vertical, 3 falling diagonal
  int16_t firstChain = 0, lastChain = 0;  // chain indices
  uint16_t* words = nullptr;  // its point indices, in ascending x order
  int16_t pointCount = 0;
  uint8_t predecessorCount = 0;
  uint8_t successorCount = 0;
  StrokePiece* successors[2] = {};
  uint8_t turnCode[2][2] = {{kNoTurn, kNoTurn}, {kNoTurn, kNoTurn}};  // [successor][orientation]
  uint8_t entryCode[2] = {};
  uint8_t exitCode[2] = {};
  StrokePiece* next = nullptr;
  StrokePiece* prev = nullptr;
  StrokeSegment* segments[2] = {};
  uint8_t segmentCount = 0;
  // Step direction code 0..7 of the section it was cut from: in turned
  // coordinates (x - y, x + y) on the polygon steps, plain ones on the thinned
  // steps.
  uint8_t shapeCode = 0;
};

constexpr uint8_t kSegmentUnset = 255;

// A stroke as models and checks see it. Stroke code = kind x 10 + subKind.
struct StrokeSegment {
  uint8_t kind = kSegmentUnset;     // 0 ring, 1 straight, 2+ bent (2 + turn sum)
  uint8_t subKind = kSegmentUnset;  // kind 1: direction class; bent: entry code
  int16_t end1 = -1, end2 = -1;     // point indices of its ends, -1 for a ring
  uint16_t group = 0;
  StrokePiece** pieces = nullptr;   // a run of the graph's piece links
  int16_t pieceCount = 0;
  StrokeSegment* neighbours[2] = {};  // segments sharing a piece with it
  uint8_t neighbourEndCodes[2] = {};  // 1 when the shared piece ends the chain
  uint8_t neighbourCount = 0;
  StrokeSegment* next = nullptr;      // next segment of the group
  // Features in the 256-unit frame (see NormalizeStrokeFrame).
  int16_t centreX = 0, centreY = 0;
  int16_t firstX = 0, firstY = 0;
  int16_t secondX = 0, secondY = 0;
  int16_t sizeX = 0, sizeY = 0;
};

struct StrokeGraph {
  RecordArray<StrokeGroup> groups;
  RecordArray<StrokePiece> pieces;
  RecordArray<StrokeSegment> segments;
  RecordArray<StrokePiece*> pieceLinks;
  RecordArray<uint16_t> pieceWords;
  int16_t segmentTotal = 0;  // segments over all groups: the stroke count
};

// ---- junctions, branch ends and feature points -------------------------------------------
// One junction of degree 3 or more (thinned steps).
struct StrokeNode {
  uint8_t degree = 0;
  int8_t cls = -1;                 // -1 none, 1..4 from the branch angles
  uint16_t firstCopy = kNoIndex;   // the branch copies are consecutive points
  uint16_t junction = kNoIndex;
  int16_t firstEdge = -1;
  int16_t angles[3] = {};          // a01, a12, a02 (degree 3 only)
};

constexpr uint8_t kAttachEnd1 = 10;
constexpr uint8_t kAttachEnd2 = 11;
constexpr uint8_t kAttachMiddle = 13;
constexpr uint8_t kAttachFirstPiece = 1;
constexpr uint8_t kAttachLastPiece = 0;

// One branch end at a junction copy or an end point.
struct StrokeEdge {
  uint16_t point = kNoIndex;
  uint16_t junction = kNoIndex;
  int16_t group = -1;
  uint8_t attachCount = 0;
  StrokeSegment* segments[2] = {};
  uint8_t attachCodes[2] = {};
};

constexpr uint8_t kFeatureUnset = 255;

// One pair of edges at one junction.
struct FeaturePoint {
  uint8_t kind = kFeatureUnset;  // 2 an edge is an end point, else 1 or 0 by the turn
  int16_t edgeA = -1, edgeB = -1;
  int16_t x = 0, y = 0;          // 256-unit frame
};

struct StrokeNodeLists {
  RecordArray<StrokeNode> nodes;
  RecordArray<StrokeEdge> edges;
  RecordArray<FeaturePoint> marks;
};

// ---- the 256-unit character frame ---------------------------------------------------------
// A square laid over the box of the live stroke points, the longer side
// spanning 0..256, y up.
struct CharFrame {
  int16_t size = 1;     // longer side of the box, pixels (at least 1)
  int16_t offsetX = 0;  // frame x of the box's left edge
  int16_t offsetY = 0;  // frame y of the box's lower edge
  int16_t originX = 0;  // smallest x of the live points, pixels
  int16_t originY = 0;  // smallest y of the live points, pixels (y up)
};

// ---- storage of one attempt ---------------------------------------------------------------
// All arrays of one attempt in one block, as a driver allocates it once per
// character (about 400 KB: allocate it on the heap).
struct StrokeRecordStore {
  ContourPoint contourPoints[kMaxContourPoints];
  Contour contourList[kMaxContours];
  ContourPair contourPairs[kMaxContourPairs];
  PairRun pairRuns[kMaxPairRuns];
  RunEndCap runEndCaps[kMaxRunEndCaps];
  StrokePoint strokePoints[kMaxStrokePoints];
  uint16_t chainWords[kMaxChainWords];
  StrokeGroup strokeGroups[kMaxStrokeGroups];
  StrokePiece strokePieces[kMaxStrokePieces];
  StrokeSegment strokeSegments[kMaxStrokeSegments];
  StrokePiece* pieceLinks[kMaxPieceLinks];
  uint16_t pieceWords[kMaxPieceWords];
  StrokeNode strokeNodes[kMaxStrokeNodes];
  StrokeEdge strokeEdges[kMaxStrokeEdges];
  FeaturePoint featurePoints[kMaxFeaturePoints];

  ContourSet contours;
  StrokePointTable points;
  StrokeGraph graph;
  StrokeNodeLists nodeLists;
  CharFrame frame;
};

// Points every array of the store at its storage with the driver capacities
// and empties it.
void BindStrokeRecordStore(StrokeRecordStore& store);

// ---- neighbour map (neighbour_map.cpp) -----------------------------------------------
constexpr int kNeighbourMapBorder = 2;
constexpr int kMaxNeighbourMapBytes = 500000;

// Fills `map` from the inclusive rectangle of a 1-bit image (bit 7 of a byte
// the leftmost pixel, a set bit black): width = ((right >> 3) - (left >> 3) +
// 1) x 8 + 4, height = bottom - top + 5, pixel (x, y) at (x - (left & ~7) +
// 2, y - top + 2); pixels of the first and last byte outside left..right are
// left out. Returns 0 (with bottom < top only the sizes are reported), or -9
// after 6001 when the map would exceed 500,000 bytes (nothing written).
int BuildNeighbourMap(const uint8_t* bitmap, int left, int right, int top, int bottom,
                      int bytesPerLine, uint8_t* map, int* mapWidth, int* mapHeight);

// ---- stroke models and their candidates -------------------------------------------------
// Character types: bits of a dictionary's type masks and of a model set's mask.
constexpr uint32_t kTypeDigits = 1;
constexpr uint32_t kTypeCapitals = 2;
constexpr uint32_t kTypeKatakana = 8;
constexpr uint32_t kTypeSigns = 512;
constexpr uint32_t kTypeAll = 0xFFFFFFFF;  // current mask right after loading

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
  uint8_t optionalCount;     // optional model strokes (referenced backward in a path)
  uint16_t refinementCount;  // entries of a refinement model, else 0
  int16_t classIndex;      // ClassCheckTable row, -1 when the name has none
  const ModelGroup* groups;
  const ModelPoint* points;          // null when none
  const ModelStroke* strokes;
  const RefinementEntry* refinements;  // refinement models only
  uint32_t codeMaskA, codeMaskB, codeMaskC, codeMaskD;
};

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

// The candidates of the stroke-model match and the work area that holds them.
// A candidate is one model matched against the character: the strokes and
// feature points assigned to the model's strokes and points, and the best
// distance found. The verifier keeps one per selected model at the start of
// the library handle's work area, which the frame allocates per handle.
constexpr int kMaxCandidatePoints = 401;
constexpr int kMaxCandidateStrokes = 16;
constexpr int16_t kNoShapeDistance = 32767;
constexpr int16_t kMaxShapeDistance = 32766;  // the largest real distance

struct ShapeCandidate {
  uint16_t valid;  // the class code; 0 = no match or rejected
  uint16_t matchedPoint[kMaxCandidatePoints];  // feature point per model point, 0xFFFF none
  StrokeSegment* matchedStroke[kMaxCandidateStrokes];  // null: optional stroke absent
  int16_t distance;  // kNoShapeDistance when none
  const StrokeModel* model;
};

constexpr int kMaxShapeCandidates = 600;
constexpr int kMaxPointChoices = 400;
constexpr int kChoicesPerEntry = 16;
constexpr int kMaxSurvivors = 16;

struct SessionWorkArea {
  ShapeCandidate candidates[kMaxShapeCandidates];
  ShapeCandidate* current;  // the candidate being matched or tested
  StrokeSegment* strokeChoices[kMaxCandidateStrokes][kChoicesPerEntry];  // null: absent
  uint16_t pointChoices[kMaxPointChoices][kChoicesPerEntry];  // 0xFFFF: none
  uint16_t strokeChoiceCount[kMaxCandidateStrokes];
  uint16_t pointChoiceCount[kMaxPointChoices];
  int16_t survivorCount;
  int16_t survivorModel[kMaxSurvivors];  // best first
  int16_t survivorDistance[kMaxSurvivors];
  uint8_t spare[2];
};
// With 32-bit pointers the work area is the 540,328 bytes clients of the
// original library budget for; with 64-bit ones it is whatever it needs.
static_assert(sizeof(void*) != 4 || sizeof(SessionWorkArea) == 540328, "work area layout");

// ---- the shape checks as candidate verification calls them ---------------------
// A class's shape routine, with the eight arguments every check takes: it may
// reject the work area's current candidate by storing 0 in its class code,
// and reports nothing.
using ClassCheckRoutine = void (*)(StrokeStepList* steps, ContourSet* contours,
                                   StrokePointTable* points, CharFrame* frame, StrokeGraph* graph,
                                   StrokeNodeLists* nodeLists, const StrokeModelSet* modelSet,
                                   SessionWorkArea* work);

// The checks that candidate verification runs. The shape checks lie above
// stroke analysis, so whoever starts a verification hands them down; a null
// routine is not run.
struct ShapeCheckRoutines {
  ClassCheckRoutine applyClassCheck;          // per matched candidate
  ClassCheckRoutine adjustSimilarPairScores;  // when exactly two survive
};

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
// Hand the links of a node leaving its list to the survivor beside it.
// Return 0, or -9 after 14 when the survivor has no room for them; then no
// list has changed.
int TransferLinksAppend(ListNode* survivor, ListNode* removed);
int TransferLinksPrepend(ListNode* removed, ListNode* survivor);
int IndexOfListNode(const ChainNode* chain, int side, const ListNode* node);
ListNode* GetChainListItem(const ChainNode* chain, int side, int n);
// Takes x and a neighbour out of their list (see pools.cpp). The list stays
// as it was when the pair has no partner, or after 14 when the survivor has
// no room for the links it would gain; the result is then null.
ListNode* RemoveListNodePair(ListNode* x, int direction);

// ---- stroke-record allocators (stroke_arrays.cpp) --------------------------------
// Each hands out the next record of its array as new (every field at the
// record's default, whatever the slot held before), or null after error 14.
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

// Constant tables of the integer geometry (geometry_tables.cpp).
// floor(256 x sqrt(a² + b²)), [a][b] for a, b = 0..31.
extern const std::array<std::array<int32_t, 32>, 32> kDistanceTable;
// round(256 x sqrt(1 + (i / 256)²)), i = 0..256.
extern const std::array<int32_t, 257> kDistanceRatioTable;
// round(acos((i - 256) / 256)) in degrees, i = 0..512; [513] = 0.
extern const std::array<int32_t, 514> kArccosTable;
// Arctangent in degrees of ratios 190..519 hundredths, by ratio / 10 - 19.
extern const std::array<int32_t, 33> kArctanTensTable;
// Arctangent in degrees of ratios 500..2299 hundredths, by ratio / 100 - 5.
extern const std::array<int32_t, 18> kArctanHundredsTable;

// ---- the character frame and the shared measures (shape_measures.cpp) ---------------
// The 256-unit character frame and the stroke measures that the shape checks
// share: every shape threshold of the checks is stated in frame units (the
// longer side of the live stroke points' box spans 0..256, y up).

// Lays the frame over the live stroke points, fills the features of every
// segment and places every feature point in the frame. Returns 0, or -1 (the
// unit frame left) when fewer than two live points or a box of no size.
int NormalizeStrokeFrame(const StrokeStepList* steps, StrokePointTable* points,
                         CharFrame* frame, StrokeGraph* graph, StrokeNodeLists* nodeLists);
// The frame of the live points of degree 1 or more; 0, or -1 with the unit
// frame (1, 0, 0, 0, 0).
int ComputeCharFrame(const StrokePointTable* points, CharFrame* frame);
void NormalizeSegmentFeatures(const StrokePointTable* points, const CharFrame* frame,
                              StrokeGraph* graph);
// Centre and size (pixels) of the box of the segment's piece ends.
void MeasureSegmentBox(const StrokePointTable* points, const CharFrame* frame,
                       const StrokeSegment* segment, int32_t* cx, int32_t* cy, int32_t* w,
                       int32_t* h);
// Frame position of pixel (x, y), rounded.
void NormalizePointToBox(const CharFrame* frame, int32_t x, int32_t y, int32_t* fx, int32_t* fy);
// Signed largest deviation (256 x pixels, positive right of first -> last,
// y up) of the listed points from the chord of the first and last, and the
// offset vector from the chord to that point. With weighted = 1 points near
// the chord ends count less. 0 with zero offsets for a chord of no length or
// when no point deviates.
int32_t MeasureChordDeviation(const StrokePointTable* points, const uint16_t* list, int count,
                              int32_t* dx, int32_t* dy, int weighted);

// ---- point-chain measures (chain_measures.cpp, corner_points.cpp) ------------------
// Directions 0..7 of the extreme-point searches: key and secondary per
// direction (x, y as the points hold them).
enum ExtremeDirection {
  kDirNegY = 0, kDirNegXY = 1, kDirNegX = 2, kDirYMinusX = 3,
  kDirPosY = 4, kDirPosXY = 5, kDirPosX = 6, kDirXMinusY = 7,
};

// The searches over stroke chains and contour rings: the point of the largest key wins, then the larger secondary
// value, then the first met.
struct DirectionKey {
  int64_t key;
  int64_t secondary;
  // True when this key beats `best` (a later point must be strictly better).
  bool Beats(const DirectionKey& best) const {
    return key > best.key || (key == best.key && secondary > best.secondary);
  }
};

// Key of (x, y) in direction 0..7 with the weight of the secondary value.
inline DirectionKey KeyInDirection(int direction, int64_t x, int64_t y, int64_t weight) {
  switch (direction) {
    case 0: return {-y, weight * x};
    case 1: return {-(x + y), weight * (x - y)};
    case 2: return {-x, weight * y};
    case 3: return {y - x, weight * (x + y)};
    case 4: return {y, weight * x};
    case 5: return {x + y, weight * (x - y)};
    case 6: return {x, weight * y};
    default: return {x - y, weight * (x + y)};
  }
}

inline bool IsDirection(int direction) { return direction >= 0 && direction <= 7; }

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

// ---- candidates of one character (char_records.cpp) -----------------------------------
// Every recogniser leaves its answer for one character as a ranked list of at
// most 15 candidates in a CharWorkRecord; the drivers merge the lists of the
// pattern classifier and the structural recogniser into the record they
// return.
struct PatternClassRecord;  // the pattern section's records (frame_internal.h)

// One (low, peak, high) triple each for the relative aspect, area and
// vertical position of a character in a run of characters, in 256ths; a
// triple of three zeros has no data.
struct PatternItem {
  uint16_t aspect[3];
  uint16_t area[3];
  uint16_t position[3];
};
static_assert(sizeof(PatternItem) == 18, "item layout");

// Sources of a candidate.
constexpr uint16_t kSourcePattern = 2;
constexpr uint16_t kSourceFinal = 64;  // no further merging
constexpr uint8_t kEmptyCodeByte = 0xFF;
constexpr int kMaxCandidates = 15;

struct RecogCandidate {
  uint32_t typeBits;  // the class's kType bit
  uint8_t lead, trail;  // Shift-JIS; 0xFF 0xFF an empty place
  uint16_t source;      // 2 pattern, 64 final, 1/4/8/16/32 structural kinds
  const PatternClassRecord* classRef;
  const PatternItem* patternRef;  // the first of itemCount pattern items
  uint16_t itemCount;
  int16_t model;        // stroke model behind a structural answer, -1 none
  int32_t distance1;    // smaller is better; 0x7FFFFFFF when cleared
  int32_t distance2;
  uint16_t code() const { return static_cast<uint16_t>(lead << 8 | trail); }
  bool empty() const { return lead == kEmptyCodeByte && trail == kEmptyCodeByte; }
};

struct CharWorkRecord {
  RecogCandidate candidates[kMaxCandidates];  // best first
  int16_t count;  // valid candidates; a reader takes a negative value as 0
  MupaRect box;
  uint8_t shapeGroup;  // 0..15, from the pattern classifier
  uint8_t confidence;  // 1..100 of the answer, 0 none
};

constexpr int32_t kNoDistance = 0x7FFFFFFF;

void ClearCandidate(RecogCandidate* candidate);
void ClearCharRecord(CharWorkRecord* record);
void CopyCharRecord(const CharWorkRecord& source, CharWorkRecord* destination);
// Confidence 0..100 of a similarity 0..25600: 100 - k for the first k whose
// threshold lies below it; a similarity that passes no threshold (8095 or
// less) has confidence 0.
void ScoreToConfidence(int32_t similarity, uint8_t* confidence);
// The thresholds: T[k] = floor(25600 x ((100 - k) / 100)^(1/4)), T[0] = 25599.
const std::array<uint16_t, 100>& ConfidenceTable();

// The twelve small-kana pairs of katakana (lead byte 0x83), large form first.
constexpr int kSmallKanaPairs = 12;
extern const uint8_t kLargeKanaTrail[kSmallKanaPairs];
extern const uint8_t kSmallKanaTrail[kSmallKanaPairs];
// Pair index of a large katakana, -1 when the code is none.
int SmallKanaPairOf(uint16_t code);

// ---- per-character results of the exports ---------------------------------------------
constexpr int kResultCandidates = 10;
constexpr uint16_t kNoCandidate = 0xFFFF;
constexpr uint16_t kEndRecordCode = 0x000A;  // ends a field's or a line's results

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

// A result holding `code` alone (kNoCandidate for none) over `box`.
void SetSingleResult(RecogCharResult* result, uint16_t code, const MupaRect& box);

// ---- what a recognition call hands its recognisers -------------------------------------
struct DictBlock;  // a loaded dictionary (frame_internal.h)

// The caller's image as a run sees it (the polarity is the export's concern).
struct RunImage {
  int16_t width, height;
  uint16_t bitsPerPixel;
  int16_t bytesPerLine;
  int16_t dpi;
  uint8_t* bits;
};

struct RecogRunBlock {
  RunImage image;
  MupaRect rect;             // line, one character, segmentation
  const MupaRect* cells;     // field: the caller's cells
  uint16_t cellCount;
  MupaRecogOptions options;  // the caller's markers and mode, nothing else
  uint16_t dictCount;        // always 1 from the exports
  DictBlock* const* dicts;
};

inline bool PixelIsBlack(const RunImage& image, int x, int y) {
  const uint8_t* row = image.bits + static_cast<ptrdiff_t>(y) * image.bytesPerLine;
  return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

// One character recognised by the dictionary's current character types into
// `record` (cleared by the caller): 0, or -9 with the reason on the stack.
// The frame hands its recogniser down to the layers below through this.
using CharRecogniser = int (*)(RecogRunBlock* run, CharWorkRecord* record);

// ---- segmentation records and box operations (box_records.cpp) ------------------------
// A line or field is cut into character boxes from its connected components:
// the components (at most 4020), the candidate or final boxes built of them
// (rows, at most 200 and a scratch row) and, on the general path, the
// lattice of box boundaries. Boxes are inclusive (left, top, right, bottom)
// in page coordinates; a record's box is always its first field.
constexpr int kMaxComponents = 4020;
constexpr int kMaxBoxRows = 201;      // 200 boxes and one scratch row
constexpr int kMaxRowComponents = 20;
constexpr int kMaxBoxes = 100;        // the most a caller may ask for
constexpr uint16_t kRowOrdinary = 64;
constexpr uint16_t kRowTooWide = 65535;
constexpr uint16_t kComponentTaken = 65535;

struct ComponentRecord {
  MupaRect box;
  int16_t width, height;
  int16_t number;      // its label while extracted, later its position
  uint16_t boxNumber;  // box of the type-driven grouping, 0 none; 65535 taken by a merge
};
static_assert(sizeof(ComponentRecord) == 16, "component record layout");

struct SegmentHeader {
  MupaRect box;  // of all components
  int16_t componentCount;
  int16_t boxCount;
  uint16_t unused;
  uint16_t pitch;  // of the general path
  uint16_t size;
};

// One candidate or final box (a cell of the line path).
struct CharBoxRow {
  MupaRect box;
  int16_t width, height;
  uint16_t number;        // its index, or its box number while grouping
  uint16_t state;         // kRowOrdinary, or kRowTooWide; the line path's cell kind
  uint16_t widestGap;     // between its joined components, 0 when they touch
  uint16_t chosen;        // 1 in the chosen sequence (the selected cell)
  uint16_t componentCount;
  uint16_t components[kMaxRowComponents];  // indices, in order
};
static_assert(sizeof(CharBoxRow) == 62, "row layout: 31 words");

// box := (32767, 32767, 0, 0), ready for uniting.
void ResetUnionBox(MupaRect* box);
// destination := the bounding box of a and b (the destination may be either);
// returns the new bottom.
int UniteBoxes(const MupaRect& a, const MupaRect& b, MupaRect* destination);
// Width and height from the box.
void MeasureRow(CharBoxRow* row);

// A byte matrix: one byte a pixel, 1 black, `width` bytes a row.
// Every black page pixel inside the component's box sets its matrix byte,
// relative to `origin` (left, top); rows and columns past the matrix are left.
void CopyComponentPixels(const RunImage& page, int originX, int originY,
                         const ComponentRecord& component, uint8_t* matrix, int width,
                         int height);
// Clears the matrix, then copies the pixels of every component whose box
// number is the row's number (with the row's left and top as origin).
void CopyBoxComponents(const RunImage& page, const CharBoxRow& row,
                       const ComponentRecord* components, int componentCount, uint8_t* matrix,
                       int width, int height);
// ORs the box's part of the matrix (relative to the origin, below `height`)
// into a 1-bit bitmap of (width + 7) / 8 bytes a row, the first byte in the
// most significant bit; past the matrix's right edge nothing is read.
void PackBoxBits(int originX, int originY, const MupaRect& box, const uint8_t* matrix,
                 uint8_t* bitmap, int width, int height);

// Results of a line (RecogCharResult), an array of `capacity` entries.
// Entries after the position move down one place; the last slot stays.
void RemoveLineResult(RecogCharResult* results, int capacity, int position);
// Entries from the position to capacity - 3 move up one place (the one at
// capacity - 2 is lost, the last slot never written); then the result goes in.
void InsertLineResult(const RecogCharResult& result, RecogCharResult* results, int capacity,
                      int position);
// Consecutive commas and full stops ("，" "．") right before the position and
// from it on (up to capacity - 2).
void CountPunctuationAround(const RecogCharResult* results, int capacity, int position,
                            int* before, int* after);
// Gives piece k of n the k-th of n slices of the first piece's extent and
// stores each slice's centre.
void DivideCellBox(RecogCharResult* pieces, int n, int* centres);
// Replaces the result at *position by the m - 1 pieces recognition found in
// its cell, keeping commas and full stops that lay in the cell between the
// pieces whose slices surround them; *position ends after the last piece.
void SplicePieces(RecogCharResult* pieces, int m, RecogCharResult* results, int capacity,
                  int* position);

// ---- candidates along a line (line_context.cpp) -----------------------------------------
// Two passes over the records of a field or line in reading order (a record
// with an all-zero box holds no character): candidates re-ranked by how well
// the box fits each candidate's pattern item within a run of similar boxes,
// then context rules by character class moving a candidate of the expected
// class to the top.
void RerankByBoxGeometry(CharWorkRecord* records, int count);
struct CharRunStats {
  int consumed, boxed;
  int top, bottom, width, height;
};
// The run of boxed characters from `start` on.
CharRunStats FindCharRun(const CharWorkRecord* records, int start, int count);
void RerankByRunGeometry(CharWorkRecord* record, const CharRunStats& run);
constexpr uint16_t kTripleRejected = 65527;
constexpr uint16_t kTripleUnscored = 65535;
// Adds the value's membership of the (low, peak, high) triple to *score, or
// rejects (65527, which stays).
void ScoreAgainstTriple(int value, const uint16_t triple[3], uint16_t* score);
void ReorderCandidatesByContext(CharWorkRecord* records, int count);
// Class letter of a Shift-JIS code: _ y z d h c N k n A s j.
char ClassifySjisChar(uint8_t lead, uint8_t trail);
// Moves the first candidate after the first whose class is `wanted` (a
// wanted "c" takes "N" too) to the top; *current becomes `wanted` when one
// moved.
void PromoteCandidateOfClass(CharWorkRecord* record, char wanted, char* current);

// ---- paths through a lattice of boxes --------------------------------------------------
// Lists every path of edges from node `from` to node `to`, depth first, each
// node's edges in their order: edgesFrom(node) gives a node's edge numbers,
// endOf(edge) the node an edge leads to (edges beyond `to` are passed over).
// Returns false when `limit` paths were listed and one more was found (the
// paths listed so far stay).
template <class EdgesFrom, class EndOf>
bool ListLatticePaths(int from, int to, int limit, EdgesFrom edgesFrom, EndOf endOf,
                      std::vector<std::vector<int>>* paths) {
  std::vector<int> path;
  std::vector<std::pair<int, size_t>> stack = {{from, 0}};  // node, its next edge
  while (!stack.empty()) {
    auto& [node, next] = stack.back();
    const auto& edges = edgesFrom(node);
    if (next >= edges.size()) {
      stack.pop_back();
      if (!path.empty()) path.pop_back();
      continue;
    }
    const int edge = edges[next++];
    const int end = endOf(edge);
    if (end > to) continue;
    path.push_back(edge);
    if (end < to) {
      stack.push_back({end, 0});
      continue;
    }
    if (static_cast<int>(paths->size()) == limit) return false;
    paths->push_back(path);
    path.pop_back();
  }
  return true;
}
