// Stroke analysis: character normalisation for the pattern classifier, stroke
// extraction (contour polygons or thinning), the point graph and the stroke
// structure of one character. Everything works on the fixed records of
// core_internal.h; results are 0 for success, -1 for "no usable result" and
// -9 after a code was pushed on the error stack (14 a full array, 6003 a
// degenerate stroke chain, 7002 no memory for a work block).
#pragma once

#include <cstdint>
#include <vector>

#include "ocrlib/core/core_internal.h"
#include "ocrlib/mupa32.h"

// ---- normalised character (normalized_char.cpp) -----------------------------
constexpr int kDirectionFeatureCount = 600;

// Measures one character of a 1-bit image (bit 7 of a byte is the leftmost
// pixel, a set bit is black) for the pattern classifier: the edge density
// 0..15, 8 band-crossing codes, 4 profile-run counts (top, bottom, left,
// right) and 600 direction features (layer x 200 + block x 8 + direction).
// Returns 0; -9 after 7002 when the work buffer cannot be had; -9 with
// nothing pushed for a blank rectangle. Outputs are written only on success.
int TraceNormalizedChar(const MupaImage* image, const MupaRect* rect,
                        uint8_t* edgeDensity, uint16_t bandCrossingCodes[8],
                        uint32_t profileRunCounts[4],
                        uint16_t directionFeatures[kDirectionFeatureCount]);

// ---- contours (contour_trace.cpp) ----------------------------------------------
// Writes 0 into the map's margin rows and columns.
void ClearBitmapMargin(NeighbourMap* map);
// Empties the five arrays of a contour set.
void ResetStrokeWorkLists(ContourSet* contours);
// Lists the runs of set bits of a 1-bit row between firstBit and lastBit
// (inclusive) as {first - firstBit, last - firstBit, 0}. Returns -1 as soon as
// `count` reaches `capacity` (that entry is written), else 0.
int ScanBitRun(const uint8_t* row, int16_t firstBit, int16_t lastBit, int16_t* runs,
               uint16_t* count, int capacity);
// Traces every contour of the map's window into `contours` (rings of points,
// one-pixel holes filled on the way) and gives each ring its Contour record.
// `slots` is scratch of kContourSlotsPerPixel x map width pointers. Returns 0,
// or -9 after 14.
constexpr int kContourSlotsPerPixel = 8;
int TraceContours(NeighbourMap* map, ContourSet* contours, ContourPoint** slots);
int ClassifyContours(ContourSet* contours);

// ---- extraction (stroke_extraction.cpp, contour_polygons.cpp) ---------------------
// One extraction attempt for the current step of `steps`: contour polygons
// (steps 4, 0, 2) or thinned strokes (steps 1, 3; 2 and 3 first adapt the
// stroke thickness). Returns 0, -1 when no usable stroke was found, -9 after
// 7002 or 14.
int RunStrokeExtraction(const StrokeStepList* steps, NeighbourMap* map,
                        ContourSet* contours, StrokePointTable* points);
int BuildContourPolygons(ContourSet* contours, StrokePointTable* points);
// Make every white (black) pixel with a black (white) 4-neighbour black
// (white), inside the margin. Return 0, or -9 after 7002.
int DilateNeighbourMap(NeighbourMap* map);
int ErodeNeighbourMap(NeighbourMap* map);
// Saves the state after extraction, turns y upward, measures the extent and
// (thinned steps) sorts every point's neighbours by bearing. Returns 0, or -1
// when no point is live.
int FinishStrokePoints(const StrokeStepList* steps, StrokePointTable* points);

// ---- thinning (thinning_runs.cpp, thinning_skeleton.cpp) ---------------------------
// The thinning sequence of steps 1 and 3 on traced contours. `pixelPoints` is
// scratch of one pointer per map pixel. Returns 0, -1 when the shape is
// refused (a blob), -9 after 14.
int ThinStrokes(NeighbourMap* map, ContourSet* contours, StrokePointTable* points,
                ContourPoint** pixelPoints);

// ---- shared helpers of thinning (thinning_runs.cpp, thinning_skeleton.cpp) --------------
// Pair runs (opposite contour points along the body of a stroke) and the ends
// where runs meet.
struct ThinningWork {
  NeighbourMap* map;
  ContourSet* contours;
  StrokePointTable* points;
  ContourPoint** pixelPoints;  // one contour point per map pixel
};

// Run ends: side 0 is the run's first pair, side 1 its last. The stretch of
// contour beyond an end starts at its "leading" point and is walked forward
// (next); it comes back to the end's "trailing" point when nothing else meets
// there.
constexpr int kRunStart = 0;
constexpr int kRunEnd = 1;

inline ContourPair* EndPair(const PairRun& run, int side) {
  return side == kRunStart ? run.firstPair : run.lastPair;
}
inline ContourPoint* LeadingPoint(const PairRun& run, int side) {
  return side == kRunStart ? run.firstPair->b : run.lastPair->a;
}
inline ContourPoint* TrailingPoint(const PairRun& run, int side) {
  return side == kRunStart ? run.firstPair->a : run.lastPair->b;
}
inline bool EndFinished(const PairRun& run, int side) {
  return side == kRunStart ? run.startFinished : run.endFinished;
}
inline void SetEndFinished(PairRun& run, int side) {
  (side == kRunStart ? run.startFinished : run.endFinished) = 1;
}
inline RunEndCap*& EndCap(PairRun& run, int side) {
  return side == kRunStart ? run.startCap : run.endCap;
}
inline int16_t& EndPoint(PairRun& run, int side) {
  return side == kRunStart ? run.startPoint : run.endPoint;
}
inline bool IsLiveRun(const PairRun& run) { return run.kind == kRecordLive; }

inline bool RingNeighbours(const ContourPoint* p, const ContourPoint* q) {
  return p && q && (p->next == q || p->prev == q);
}

// The pair of a run that holds contour point p, or null.
ContourPair* FindPairOfPoint(const PairRun& run, const ContourPoint* p);
// The run and side whose end pair holds p; side -1 when p lies inside the run.
struct RunEndRef {
  PairRun* run;
  int side;
};
RunEndRef FindRunEndOfPoint(ContourSet* contours, const ContourPoint* p);
int RunIndex(const ContourSet& contours, const PairRun* run);
// A run closed into a ring: its last pair lies next to its first.
bool IsRingRun(const PairRun& run);
// Unit (256) direction in which a run leaves through its end.
void RunEndDirection(const PairRun& run, int side, int* dx, int* dy);
// Marks the run removed and gives its contour points back.
void ReleaseRunPairs(ContourSet* contours, PairRun* run);

// The run-building half of thinning (thinning_runs.cpp).
int ComputeContourNormals(ContourSet* contours);
void SmoothContourNormals(ContourSet* contours);
int PairOppositeContourPoints(ThinningWork& work);
void RemoveCrossingRuns(ContourSet* contours);
int ExtendRunEnds(ContourSet* contours);
void MeasurePairRuns(ContourSet* contours);

// The skeleton half (thinning_skeleton.cpp).
// Records the run end in the cap (at most 8; -9 after 14).
int AddRunToEndCap(RunEndCap* cap, PairRun* run, int side);
int BuildRunEndCaps(ContourSet* contours);
int PlaceRunPoints(ThinningWork& work);
int SimplifyShortRuns(ThinningWork& work);
int CheckSkeletonShape(const ThinningWork& work);
int LinkSkeletonPoints(ThinningWork& work);
int RemoveSkeletonSpurs(StrokePointTable* points);

// ---- point graph (point_graph.cpp) ----------------------------------------------
// Sets the point, extracted, reference-size and chain counts to 0.
void ResetStrokeNodeCounts(StrokePointTable* points);
// Back to the state after extraction (positions are not restored).
void RestoreStrokeRecords(StrokePointTable* points);
// Index of a new live point at (x, y), or -9 after 14.
int AllocStrokePoint(StrokePointTable* points, int x, int y);
int AddStrokeNeighbour(StrokePointTable* points, int a, int b);  // 0, or -9 after 14
int LinkStrokePoints(StrokePointTable* points, int a, int b);
int FindStrokeNeighbour(const StrokePointTable* points, int a, int b);  // 1 or 0
void RemoveStrokeNeighbour(StrokePointTable* points, int a, int b);
void ReplaceStrokeNeighbour(StrokePointTable* points, int a, int oldPoint, int newPoint);
void DeleteStrokePoint(StrokePointTable* points, int a);
// Moves b's other neighbours to a and deletes b. Returns 0, or -9 after 14.
int MergeStrokePoints(StrokePointTable* points, int a, int b);
// Traces from `start` through points of degree 2 into the scratch chain.
// Returns 0, or -9 after 14.
int TraceStrokeChain(StrokePointTable* points, int start, int side);
int32_t ChainLength(const StrokePointTable* points);
struct ChainExtentInfo {
  int centreX, centreY, extentX, extentY;
};
ChainExtentInfo ChainExtent(const StrokePointTable* points);
// Sorts point a's neighbours by ascending bearing of the offset to each.
void SortNeighboursByBearing(StrokePointTable* points, int a);
// The two retries after a thinned attempt without survivors. Return 0 (done
// says whether anything changed) or -9 after 14.
// Links the nearest pair of free ends when within a fifth of the reference
// size.
int JoinNearestStrokeEnds(StrokePointTable* points, int32_t* done);
// Links the pair of free ends (kind 7, degree 1) that continue each other:
// the gap runs within 45 degrees of the way each stroke leaves its end; of
// such pairs the shortest gap, lengthened by how much it bends the strokes,
// when under a third of the reference size.
int JoinAlignedStrokeEnds(StrokePointTable* points, int32_t* done);

// ---- structure (structure_*.cpp) ---------------------------------------------------
// Cuts the points into junction nodes, groups, pieces, segments, branch ends
// and feature points. Returns 0, or -9 after 14 or 6003.
int AnalyseStrokeStructure(const StrokeStepList* steps, StrokePointTable* points,
                           CharFrame* frame, StrokeGraph* graph,
                           StrokeNodeLists* nodeLists);
// Direction code 0..7 of a step (y up): 0 down, 2 left, 4 up, 6 right.
int StepDirectionCode(int dx, int dy);

// ---- shared state of structure analysis (structure_*.cpp) ------------------------------
struct StructureWork {
  StrokePointTable* points;
  StrokeGraph* graph;
  StrokeNodeLists* lists;
  bool thinned;      // steps 1 and 3
  int orientations;  // 1 (thinned) or 2 (polygon): directions are also told
                     // in coordinates turned by 45 degrees
};

// Cuts the chain in the point table's scratch chain into the pieces and
// segments of `group` (the graph's last group). Returns 0, or -9 after 14 or
// 6003 (a chain that doubles back on itself or starts or ends on one spot).
int BuildGroupPieces(StructureWork& work, StrokeGroup* group);

// Segments of a group in order.
int CountGroupSegments(const StrokeGroup& group, int limit);

// The thinned steps' junction handling (structure_junctions.cpp).
int SplitJunctions(StructureWork& work);
int BuildFeaturePoints(StructureWork& work);
void AttachEdgesToSegments(StructureWork& work);

// ---- stroke codes (stroke_code.cpp) ---------------------------------------------------
// Stroke codes (kind x 10 + sub-kind) as bit masks: each kind has eight bit
// positions, one per sub-kind, spread over four 32-bit masks. The dictionary
// loader ORs them into each stroke model; the verifier compares them with the
// character's strokes.
constexpr int kStrokeCodeLimit = 172;  // codes above set no bit

// Writes the four masks of `code` (at most one bit set in all).
void DecodeStrokeCode(int code, uint32_t* maskA, uint32_t* maskB, uint32_t* maskC,
                      uint32_t* maskD);

// ---- fixed tables of contour tracing and thinning (contour_tables.cpp) ------------------
extern const uint32_t kContourLinkTable[256];

struct ContourNormal {
  int16_t x, y;
};
extern const ContourNormal kContourNormalTable[256];

// ---- candidate verification by stroke models (shape_verify.cpp, model_match.cpp,
//      shape_distance.cpp) ------------------------------------------------------------
// Every model of the set's current selection is matched against the
// character's strokes: its strokes and points are assigned one to one to the
// character's segments and feature points, every complete assignment is
// scored by a weighted distance after scaling the character onto the model,
// and the best is kept in the model's candidate (the work area's candidates
// are in model order). Then the class checks run, holes may veto the reading,
// two survivors may have their distances adjusted, and at most 16 survivors
// are left sorted by distance.
//
// Limits: a model of more than 16 strokes or 127 points is never matched;
// the search of one model stops after kMaxAssignmentSteps assignment steps
// (a model whose strokes all accept the same segments would otherwise try
// every permutation), keeping the best assignment found so far.
constexpr int32_t kMaxAssignmentSteps = 1 << 20;

// Matches every selected model and runs the checks. Returns 0, or -9 after
// 14 (a choice list, the attempt log or the survivor list full), which ends
// the verification with the candidates as they are. `checks` may be null.
int VerifyCandidatesByShape(StrokeStepList* steps, ContourSet* contours, StrokePointTable* points,
                            CharFrame* frame, StrokeGraph* graph, StrokeNodeLists* nodeLists,
                            const StrokeModelSet* modelSet, SessionWorkArea* work,
                            const ShapeCheckRoutines* checks);
// Matches the work area's current candidate against its model for the
// extraction step `step`; the result is in the candidate only. Returns 0, or
// -9 after 14.
int MatchCandidateStrokeModel(const CharFrame* frame, const StrokeGraph* graph,
                              const StrokeNodeLists* nodeLists, SessionWorkArea* work, int step);
// Turns the chord of every straight segment (pixels, as the frame
// normalisation leaves it) into its doubled-angle orientation vector with the
// chord's length, in frame units.
void NormalizeStrokeVectors(const CharFrame* frame, StrokeGraph* graph);
// The orientation vector of one chord (dx, dy pixels) in a frame of `size`
// pixels.
void ChordOrientation(int32_t size, int32_t dx, int32_t dy, int16_t* vectorX, int16_t* vectorY);
// The class code of a class name: a leading '@' skipped, the first byte, or
// first x 256 + second when the second is a capital ("5b" 0x35, "KA" and
// "@KA" 0x4B41).
uint16_t ClassCodeOfName(const char* name);
void SetCandidateClassCode(ShapeCandidate* candidate, const char* name);
// A segment's stroke code, kind x 10 + sub-kind.
inline int StrokeCodeOf(const StrokeSegment& s) { return s.kind * 10 + s.subKind; }

// One complete assignment of a candidate's model: the segment chosen for each
// model stroke (null: an optional stroke left out) and the feature point for
// each model point (kNoIndex: none; the whole list null when the model has no
// points). Scores it and keeps it in the candidate when it is the best so far.
struct ShapeAssignment {
  const CharFrame* frame;
  const StrokeGraph* graph;
  const StrokeNodeLists* nodeLists;
  ShapeCandidate* candidate;
  int step;
  StrokeSegment* const* strokes;
  const uint16_t* points;
};
void ScoreStrokeAssignment(const ShapeAssignment& assignment);

// ---- the line digit reader (line_reader.cpp, line_cuts.cpp, line_paths.cpp) ------
// A whole line of handwritten digits read from its thinned strokes: the
// strokes are cut into pieces, every run of neighbouring pieces narrow and
// tall enough is recognised as one character against the digit models, the
// readings are linked left to right where their pieces and shared points
// allow, and the best path through the links is the line's digits.

// What the line driver hands the reader.
struct LineStrokeRun {
  const uint8_t* bits;  // 1-bit image, bit 7 of a byte the leftmost pixel
  int bytesPerLine;
  MupaRect rect;                   // the line, inclusive
  const StrokeModelSet* modelSet;  // the digit models of the thinned steps
  SessionWorkArea* work;
  const ShapeCheckRoutines* checks;  // may be null
};

// One 40-byte line result record.
struct LineResultRecord {
  uint8_t code[2];  // Shift-JIS: 0x82 and the digit + 31 ("０".."９")
  uint8_t spare[29];
  uint8_t empty;  // 1 in the records of a line without characters
  MupaRect rect;  // the line's rectangle
};
static_assert(sizeof(LineResultRecord) == 40, "line result layout");

constexpr int kMaxLineArea = 1000000;
constexpr int kMinLineRecords = 2;  // a character (or the empty mark) and the end record
constexpr uint8_t kLineEndMark = 10;

// Reads the line into records[0..capacity). Returns 0 with *count records
// (the characters and the end record); -1 when the characters were cut to
// the capacity (14 pushed); -9 with *count 0 for a line over 1,000,000
// pixels (nothing pushed), a capacity below 2 (14), no memory (7002), a map
// too big (6001) or a failed reading (14).
int ExtractCharStrokes(const LineStrokeRun& run, LineResultRecord* records, int capacity,
                       int* count);
// Reads the digits of a line's analysed points: 0 with *count digits in
// values ('0'..'9'); -9 after 7002 or 14.
int AnalyseStrokeSegments(StrokeStepList* steps, ContourSet* contours, StrokePointTable* points,
                          const StrokeModelSet* modelSet, SessionWorkArea* work,
                          const ShapeCheckRoutines* checks, int16_t* count, uint8_t* values,
                          int maxValues);

// The feature vector of the strokes matched to the work area's current
// candidate: 12 values a stroke (8 contour directions, centre, size, each
// 0..255), written into the savedY of consecutive point records, pointCount
// 12 a stroke (at most 16).
void CopyStrokeFeaturesToRecord(StrokePointTable* points, const SessionWorkArea* work);

// Pieces of the line's chains (line_cuts.cpp).
constexpr int kMaxLinePieces = 128;
constexpr int kMaxLinePiecePoints = 800;
constexpr int kMaxBranchPoints = 800;

struct LinePiece {
  uint16_t points[kMaxLinePiecePoints];
  int count;
  int64_t length;  // 1/256 pixel
  int32_t minX, maxX, minY, maxY;
  int64_t runningLength;  // of the pieces up to this one, after sorting
};

struct LineMeasures {
  int32_t height;  // H
  int32_t overlapTolerance, minHeight, maxWidth;
  int64_t longChain;  // 1/256 pixel
  int32_t maxGap;
};

struct LinePieceSet {
  LineMeasures measures;
  LinePiece pieces[kMaxLinePieces];
  int count;
};

// Cuts the line's live points into pieces and sorts them left to right.
// Returns 0, or -9 after 14 (too many branch points, pieces or points).
int CutLinePieces(StrokePointTable* points, LinePieceSet* set);

// ---- structural recogniser: buffer sets and decision cell (structure_buffers.cpp) ----
// The digit decision by structure scans a character into one transition
// record per scan line (rows in set 0, columns in set 1), builds the
// structure chain of the runs from them, writes the chain as tokens and
// matches structure descriptions against shape templates. All of it works on
// the current buffer set; the verdict goes into the decision cell.
constexpr int kMaxRowValues = 21;          // transitions and the end mark
constexpr int kMaxRowTransitions = 20;     // per record (the column scan's limit)
constexpr int kMaxStructureRecords = 200;  // lines of the box plus the two empty ones
constexpr int kStructureTokenRoom = 100;   // token text, zero byte included
constexpr int kDescriptionRoom = 1024;     // description, zero byte included
constexpr int kMaxTreeTokens = 64;
constexpr int32_t kUndecided = 'g';

// One scan line: `count` transitions (even), the columns (rows in set 1)
// counted from 1 at the box's edge, the first of each pair the first black
// one and the second the first white one after the run; then the end mark,
// the line's length + 2, at column[count].
struct RowTransitionRecord {
  int32_t count;
  int32_t column[kMaxRowValues];
};

struct StructureBufferSet {
  RowTransitionRecord records[kMaxStructureRecords];
  int32_t recordCount;                  // lines + 2
  char tokens[kStructureTokenRoom];     // "d,A,V,p,"
  char description[kDescriptionRoom];  // direction characters, ':' between groups
  char treeTokens[kMaxTreeTokens + 1];  // "dpAp", "dp(AU)"
  ListNode* treeItems[kMaxTreeTokens];  // the chain item of each tree letter
  ChainNode* chainHead;
  CellNode* treeHead;
};

// Set 0 (rows, the main set) and set 1 (columns). Defined in structure_buffers.cpp.
extern StructureBufferSet g_structureSets[2];
extern StructureBufferSet* g_structureSet;  // the current one
// '0'..'9' a decided digit; 'g' undecided. Templates may also leave 'p', 'a',
// 'w', 's' or 'k' on the way; they end as 'g'.
extern int32_t g_structureDecision;

void SelectStructureBuffers(int set);

// The character box of the current decision (inclusive, image pixels) and
// its bitmap (bit 7 of a byte the leftmost pixel, a set bit black).
struct StructureInput {
  const uint8_t* bits;
  int32_t left, right, top, bottom, bytesPerLine;
};
extern StructureInput g_structureInput;

// Refuses a box the structure records cannot hold: left or top below 0, an
// empty box, a right column beyond the bitmap's lines, or a box of more than
// 198 columns or rows. Returns 0, or -9 after 14.
int CheckStructureInput(const StructureInput& input);
// Fills the current set's records from g_structureInput: mode 0 one record a
// row (transitions at columns), mode 1 one a column (at rows), with an empty
// record before the first line and after the last. Returns 0, or -9 after 14
// when a line has more transitions than a record holds.
int ListRowTransitions(int mode);
// Takes the values at positions p - 1 and p out of every record in
// [first, end) of the current set (later values, end mark included, move
// down) and lowers their counts by 2; records without both values are left
// as they are.
void RemoveChainRecordPair(int first, int end, int p);

// ---- structure chain (structure_chain.cpp, chain_merge.cpp) -------------------------------
// One chain node where the run structure of two neighbouring lines differs
// (its index is the lower line's record), with one list node a value of each
// line (the end mark included); links join values that continue each other,
// twins the same value in the lower list of one node and the upper list of
// the next. The chain is built from the current set's records out of the
// fixed pools, which the caller resets.

// The chain of the current set: its head, or null when no node was made (all
// lines alike, *result 0) or a pool ran full (*result -9 after 14).
ChainNode* BuildStructureChain(int* result);
// The node between records `upper` and upper + 1, or null when their
// structure is the same (nothing pushed) or after 14.
ChainNode* BuildChainNode(const RowTransitionRecord* upper);
void LinkTwinLists(ChainNode* previous, ChainNode* node);
// Cleans the chain of short runs and briefly separated runs and drops the
// nodes left without a change. Returns the new head (*result 0), or null
// with *result -9 after 14 when a list node had no room for the links it
// would take over: the chain, then cleaned only in part, is given up.
ChainNode* MergeCloseChainNodes(ChainNode* head, int* result);
int IsChainNodePlain(const ChainNode* node);
// 1 when they removed (joined) anything, 0 when not, -9 after 14 when a
// list node had no room for the links it would take over (the chain is then
// left half cleaned and must be given up).
int RemoveShortRuns(ChainNode* node, int reach);
int JoinSplitRuns(ChainNode* node, int reach);
// Step 1..reach at which the walk from a lower-list node (an upper-list node:
// upward) meets a branching node, given back in *branch; 0 when the run
// ends or nothing branches within reach.
int FollowToBranch(ListNode* x, int reach, ListNode** branch);
constexpr int kJoinKindS = 0;  // the gap lies before the top node
constexpr int kJoinKindN = 1;  // the gap lies after it
// Closes the gap between x (top's lower list) and z (bottom's upper list) on
// every line between them. Returns 1, or 0 (nothing changed) when the gap's
// edges do not run side by side through the chain nodes between, or -9
// after 14 when a list node had no room for the links it would take over.
int JoinRun(ChainNode* top, ChainNode* bottom, ListNode* x, ListNode* z, int kind);
// Writes the current chain's tokens into the current set ("d,A,V,p,").
// Returns 0, or -9 after 14 when the text would reach 100 characters (what
// fits, 99 characters, stays written).
int FormatChainTokens();
// Gives every list node of the current chain its chain node, position and
// record.
void IndexChainItems();

// ---- structure descriptions and shape templates (structure_description.cpp, shape_match.cpp) ----
// A rule list: items of three words. {-1, n, flags} starts a group of n
// direction characters (flags 1: its first item adds the end value at its
// first node, 2: its last item at its last node); {first node, last node,
// edge} follows transition `edge` from the first node's line to the last
// node's; a single -2 ends the list.
constexpr int32_t kRuleGroup = -1;
constexpr int32_t kRuleEnd = -2;
constexpr int kMaxProfileValues = 200;

// The current set's description of the chain by `rules`. Returns the
// description buffer, or null when no description could be made: after 14
// (too long, too many values or points) or when a rule names a node or a
// transition the chain does not have (nothing pushed).
const char* FormatStructureDescription(const int32_t* rules);
// Appends the values of one rule item to values[0..count); returns the new
// count, or -1 (14 pushed after 200 values; nothing pushed for a node or
// transition the chain lacks).
int CollectProfilePoints(const int32_t* item, int flags, int32_t* values, int count);
// n direction characters sampled along count points (count at least 1).
void SampleDirections(const StepPoint* points, int count, char* out, int n);
// Direction of (dx, dy) in steps of 22.5 degrees, -8..8.
int AngleFromDeltas(int32_t dx, int32_t dy);

struct TemplateElement {
  char low, high;  // characters it consumes; low 0 ends the pattern
  int32_t minCount, maxCount;
};
struct TemplateSpan {
  int32_t from, to;  // element numbers, 0 the string start; from -1 ends the list
  int32_t min, max;  // characters between their ends
};
struct ShapeTemplate;
constexpr int32_t kTemplateWhole = 0;      // must consume the description
constexpr int32_t kTemplateContinue = 1;   // a leading part, then `next`
constexpr int32_t kTemplateSmoothed = 2;   // matched on the smoothed description
struct ShapeTemplate {
  const TemplateElement* pattern;  // null ends the list
  const TemplateSpan* spans;       // null: none
  const char* name;
  const ShapeTemplate* next;       // the continuation list (kTemplateContinue)
  int32_t decision;
  int32_t flags;
};
// Matches the templates in order; the first that matches stores its decision
// in the decision cell and gives 1. 0 when none matches (the cell unchanged).
int MatchShapeTemplate(const char* description, const ShapeTemplate* templates);

// ---- template sets (shape_template_sets.cpp) ---------------------------------------------
// The sets of shape templates the structure procedures run, each a rule list
// and an ordered template list. A set whose data is not written down decides
// nothing: running it leaves the decision cell as it was. Names list the
// templates and what they decide.
enum TemplateSetId : int {
  // "d,A,V,p,": one hole.
  kSet01ZeroOrFour,      // 0d 0c 0e ->0, 4a 4b 4c ->4
  kSet01ZeroConfirm,     // 0d 0e ->0
  kSet01SixHigh,         // 6 ->6
  kSet01EightNotSix,     // 8t1 8t2 ->8
  kSet01SixLow,          // 6 ->6
  kSet01SixOrEight,      // 6a..6e ->6, 8t ->8
  kSet01SixConfirm,      // 6d..6k ->6
  kSet01NotSix,          // 8t 8t2 ->8, 6 6b ->6, 0 ->0
  kSet01FourLow,         // 4a 4b ->4
  kSet01Four,            // 4 ->4
  kSet01NineOrFour,      // 9b 9e 9f 9h 9g ->9, 4 ->4
  kSet01FourConfirm,     // 4 ->4
  kSet01NineConfirm,     // 4a 4c1 4c2 ->4, 9b..9e ->9
  kSet01Eight,           // 8t1..8t5 ->8
  // "d,p,": the column tree's branches.
  kSet02OneOrEight,      // 1c2 1d2 1e2 1f 1f2 1g2 1h ->1, 8t1 8t2 8t3 ->8, 0t1 ->0, 4t ->4
  kSet02FourOrZero,      // 4t1 4t2 ->4, 0t ->0
  kSet02Two,             // 2a 2b 2d 2e 2f 2g ->2
  kSet02Five,            // 5a..5e ->5
  kSet02ThreeOrSeven,    // 3 ->3, 7 ->7
  kSet02Loop,            // 9t ->9, 8t ->8, 0t ->0
  kSet02OneTwoSeven,     // 1 ->1, 2 ->2, 7 ->7
  kSet02One,             // 1 1a ->1
  kSet02Seven,           // 7a 7a2 7c ->7, p1a ->p
  kSet02OneFlag,         // 1 1b ->1
  kSet02SixLow,          // 6t ->6 (first rule list)
  kSet02SixHigh,         // 6t ->6 (second rule list)
  kSet02Three,           // 3b 3c 3a ->3
  // "d,A,pI,p,": an open top.
  kSet03First,           // 17f 17c 17b 17d ->1, 7b ->7, 235j 235g 235k 2a ->2
  kSet03TwoOrThree,      // 2g 2e 2f ->2, 35a ->3
  kSet03TwoConfirm,      // 2a 2b 2c ->2
  kSet03TwoWide,         // 2a..2d ->2
  kSet03ThreeOrFive,     // 3a 3b ->3, 5a ->5
  kSet03Seven,           // 7 ->7
  kSet03LongTail,        // three continuation templates, 7g 7f ->7
  kSet03OneShort,        // 17a 17b ->1
  kSet03OneShortCheck,   // 7x ->7, a continuation, g17 g17a ->g, p1a p1b p1c ->p
  kSet03OneShortSeven,   // 7 ->7
  kSet03WideTop,         // 71 ->7, 17 ->1
  kSet03WideTopCheck,    // 7a 7b 7c ->7, p1 ->p
  kSet03Narrow,          // 1 1a ->1, 7a 7b ->7, 97 ->9, 7d ->7, a17 ->a
  kSet03NarrowOne,       // 7a 7A 7b ->7, 1 1b ->1
  kSet03NarrowNine,      // 7 ->7
  kSet03NarrowOneCheck,  // p1 ->p
  kSet03NarrowA,         // 7 ->7
  kSet03NarrowOther,     // 7a 7b 7c ->7, w7A ->w, 7B ->7, s7 ->s
  kSet03NarrowS,         // 7 7b ->7
  kSet03Middle,          // 7 7a ->7
  kSet03MiddleCheck,     // 7 ->7, 9 ->9
  kSet03MiddleOther,     // 7a2 7b 7c 7d ->7, 17a 17b 17c ->1, 9 ->9
  kSet03MiddleOne,       // p1 p1b ->p, 7a1 7a2 ->7
  kSet03MiddleSeven,     // 7 ->7
  // "d,dI,V,p,": two tops that merge.
  kSet04Two,             // 2 ->2
  kSet04Joined,          // two continuation templates
  kSet04ZeroOrFour,      // 0 ->0, 4 ->4
  kSet04ZeroConfirm,     // 0 ->0
  kSet04Seven,           // 7 ->7, k ->k
  kSet04ThreeOrFive,     // 3b 3c 3d ->3, 5a 5c 5e 5g 5d 5f 5b ->5
  kSet04ThreeConfirm,    // 3b..3f ->3
  kSet04FiveConfirm,     // 5 ->5
  // "d,A,V,A,V,p,": two holes.
  kSet05Zero,            // -0- ->0
  kSet05Six,             // -6a- ->6
  kSet05Eight,           // -8e- -8b- -8f- -8g- -8d- -8c- ->8
  // "d,Id,V,p,"
  kSet06FiveOrFour,      // -5a- -5b- ->5, -4- ->4
  kSet06Zero,            // -0- ->0
  kSet06Six,             // -6a- ->6
  kSet06Four,            // 4c 4e ->4
  kSet06TwoWide,         // -2a- -2b- ->2
  kSet06One,             // 1 ->1
  kSet06TwoNarrow,       // -2- -2b- ->2
  kSet06TwoOpen,         // -2- ->2
  kSet06FourOpen,        // 4 4u ->4
  // "d,A,pI,dI,V,p,"
  kSet07FiveOrThree,     // -5b- -5c- ->5, -3- ->3
  kSet07Zero,            // -0- ->0
  kSet07Three,           // -3c- -3d- ->3
  kSet07ThreeConfirm,    // 3a ->3
  // "d,A,pI,Id,V,p,"
  kSet08Two,             // 2 ->2
  kSet08TwoWide,         // -2- -2b- ->2
  // "d,A,IA,VI,pI,p,"
  kSet09NineOrFour,      // -9b- -9c- -9d- -9e- ->9, -4- ->4
  // "d,A,Ip,dI,V,p,"
  kSet10Five,            // -5a- -5b- -5c- ->5
  // "d,A,V,A,pI,p,"
  kSet11NineOrFourLow,   // -9b- -9c- -9d- -9e- ->9, -4- ->4 (first rule list)
  kSet11NineOrFourHigh,  // the same templates (second rule list)
  // "d,A,S,pI,p,"
  kSet12NineOrFour,      // -9b-..-9f- ->9, -4- ->4
  kSet12Four,            // -4- ->4
  // "d,Id,V,A,Ip,p,"
  kSet13Four,            // -4- -4b- -4c- ->4
  kSet13FourConfirm,     // 4a 4b ->4
  // "d,dI,V,dI,V,p,"
  kSet14Five,            // -5- ->5
  kSet14Three,           // -3b- -3c- ->3
  // "d,Id,IA,VI,V,p,"
  kSet15Zero,            // -0- ->0
  kSet15Six,             // -6a- ->6
  kSet15Four,            // -4- ->4
  // "d,A,Ip,A,V,p,"
  kSet16EightShort,      // 8 ->8
  kSet16SixOrEight,      // 6 ->6, 8a 8b 8c ->8
  kSet16SixCheck,        // 6 ->6
  kSet16SixConfirm,      // 6 ->6
  kSet16EightTall,       // 8 ->8
  // "d,Id,V,A,V,p,"
  kSet17Eight,           // -8a- ->8
  kSet17Six,             // -6a- ->6
  // "d,Id,S,V,p,"
  kSet18Six,             // -6a- ->6
  // "d,A,Ip,Id,V,A,V,p,"
  kSet19Eight,           // -8a- -8b- -8c- ->8
  kSet19Six,             // -6a- ->6
  // "d,A,Ip,p,"
  kSet20FiveOrNine,      // 5a 5b ->5, 9a ->9
  kSet20Eight,           // 8t1 8t2 ->8
  kSet20EightConfirm,    // 8t ->8
  kSet20Two,             // 2 ->2
  kSet20Six,             // 6a ->6
  kTemplateSetCount
};

struct TemplateSet {
  const char* name;          // its user and templates, for reports
  const int32_t* rules;      // null: not written down
  const ShapeTemplate* templates;
};
extern const TemplateSet kTemplateSets[kTemplateSetCount];

// The path of the current decision, for reports of which data decides: the
// set whose template matched last (-1 when none did, or a measure decided
// without templates) and the set run last (-1 none).
extern int g_structureDecidingSet;
extern int g_structureAskedSet;
// The structure pattern row (1..20) whose procedure ran, 0 when none did.
extern int g_structureDecidingRow;

// Describes the current chain by the set's rule list and matches its
// templates: 1 when one matched (its decision in the cell), else 0 with the
// cell as it was.
int RunTemplateSet(TemplateSetId set);
// Sets the cell to 'g' first.
int RunTemplateSetAfresh(TemplateSetId set);

// ---- structure patterns and the digit decision (structure_patterns.cpp, ...) -------------
// Rows and measures of the current chain in percent of its height: P(i, j)
// = (r_j - r_i) x 100 / H with r_i the line of the i-th node and H = r_last
// - r_0; R(i, j, k, l) = (r_j - r_i) x 100 / (r_l - r_k); Col(r, k) the k-th
// transition of line r; W(r) = (Col(r, 3) - Col(r, 0)) x 100 / H. A measure
// that divides by 0 or reads a node or transition the chain lacks marks the
// measures invalid (and gives 0): the character is then left undecided.
class ChainMeasures {
 public:
  ChainMeasures();  // of the current set's chain
  int nodeCount() const { return count_; }
  bool valid() const { return valid_; }
  int Row(int i);
  int P(int i, int j);
  int R(int i, int j, int k, int l);
  int Col(int line, int k);
  int W(int line);
  // numerator x 100 / divisor; the divisor H when left out.
  int Percent(int64_t numerator, int64_t divisor);
  int Percent(int64_t numerator) { return Percent(numerator, height_); }

 private:
  int rows_[kChainNodePoolSize];
  int count_ = 0;
  int height_ = 0;
  bool valid_ = true;
};

inline bool Within(int v, int low, int high) { return v >= low && v <= high; }

using StructureProcedure = void (*)();
struct StructurePattern {
  const char* number;  // "01".."20"
  const char* tokens;  // the exact token text of the chain
  StructureProcedure procedure;
};
extern const StructurePattern kStructurePatterns[];  // ended by a row of nulls

// The procedure of the row whose token text is `tokens`: 1 with it in
// *procedure, 0 when no row has the text or the measures are vetoed (the
// decision then stays 'g').
int FindStructurePattern(const char* tokens, StructureProcedure* procedure);
// 1 (decision 'g') when the chain's measures equal a combination known to
// mislead the row's procedure, else 0.
int VetoStructureMeasures(int rowNumber);

// The procedures of the rows (pattern_procedures.cpp; "02" in digit_decision.cpp).
void DecideStructure01();
void DecideStructure02();
void DecideStructure03();
void DecideStructure04();
void DecideStructure05();
void DecideStructure06();
void DecideStructure07();
void DecideStructure08();
void DecideStructure09();
void DecideStructure10();
void DecideStructure11();
void DecideStructure12();
void DecideStructure13();
void DecideStructure14();
void DecideStructure15();
void DecideStructure16();
void DecideStructure17();
void DecideStructure18();
void DecideStructure19();
void DecideStructure20();

// Selects the set, scans it (set 0 the rows, set 1 the columns), builds and
// cleans its chain and writes its tokens; set 1 also indexes the chain and
// builds the outline tree. Returns 0, or -9 after 14.
int BuildStructureChainSet(int set);
// Set 1's outline tree: the outlines of the column chain as branches of
// 'd' (a run begins), 'p' (ends), 'A' (a gap opens) and 'U' (a gap closes),
// written into the set's tree tokens and items. Returns 0, or -9 after 14.
int BuildStructureTree();

// Decides the digit in the box (left..right, top..bottom inclusive) of a
// 1-bit bitmap by its structure: '0'..'9' in g_structureDecision, or 'g'
// (undecided: the stroke recogniser answers; also for a blank box). The
// box's rows must lie within the bitmap (the caller checked the rectangle
// against its image). Returns 0, or -9 after 14 (a box beyond 198 pixels or
// past the end of the bitmap's lines, or a structure the fixed buffers
// cannot hold); the decision is then 'g'.
int DecideDigitByStructure(const uint8_t* bits, int left, int right, int top, int bottom,
                           int bytesPerLine);
// ---- components and cells of a line (cell_components.cpp, cell_structures.cpp) -----------
constexpr int kMaxRowRuns = 6400;   // black runs of one page row
constexpr int kMaxLabels = 4019;    // labels of one rectangle, numbered from 1

// Labelling of a rectangle: each label's box and the label it was merged
// into (itself while it is a root).
struct ComponentLabel {
  MupaRect box;
  uint16_t parent;
};

// 8-connected labelling of the rectangle's black pixels, row by row; a merge
// keeps the smaller label. labels[1..*labelCount] are written. 0, or -1 after
// 7002 (no run buffer) or 14 (more than 6,400 runs in a row, or label 4,020
// needed).
int LabelComponents(const RunImage& page, const MupaRect& rect, ComponentLabel* labels,
                    int* labelCount);
// Drops (number 0) the specks: components no larger than a size threshold
// that depends on the resolution, the largest component and whether `mask`
// is one of the alphanumeric type masks.
void FilterSmallComponents(const RunImage& page, uint32_t mask, ComponentRecord* components,
                           int count);
// The connected components of the cell's rectangle, specks dropped, in label
// order at the start of `components` (room for kMaxComponents), boxes in page
// coordinates; *count of them. 0; -2 when none is left (count 0, nothing
// pushed); -1 after 7002 or 14. The specks filtered out follow the kept
// components, *specks of them when asked for.
int ExtractCellComponents(const RunImage& page, const MupaRect& cell, uint32_t mask,
                          ComponentRecord* components, int* count, int* specks = nullptr);

// Cell kinds of the line path.
constexpr uint16_t kCellPunctuation = 2;
constexpr uint16_t kCellComma = 4;
constexpr uint16_t kCellQuote = 8;
constexpr uint16_t kCellFullStop = 16;
constexpr uint16_t kCellDash = 32;
constexpr uint16_t kCellCharacter = 64;

// Gives every cell a kind (its state word) by its height and place in the
// line and the spread of its black pixels over its quadrants, and writes the
// punctuation code of each cell that is no character into its result (for
// the cells of index below limit - 1).
void TestCellStructures(const RecogRunBlock& page, const MupaRect& line, CharBoxRow* cells,
                        int cellCount, const ComponentRecord* components, int componentCount,
                        uint32_t mask, RecogCharResult* results, int limit);
// Black pixels of a w x h matrix by quadrant (top-left, top-right,
// bottom-left, bottom-right; an odd middle row or column counts in both).
void CountQuadrantPixels(const uint8_t* matrix, int w, int h, int counts[4]);

// ---- line cells (line_cells.cpp) -----------------------------------------------------
// A line cut into segments (in order) and candidate cells of consecutive
// segments (a cell's components are its segment numbers).
struct LineCells {
  const MupaRect* segments;
  int segmentCount;
  CharBoxRow* cells;
  int cellCount;
  int lineHeight;
};
constexpr int kMaxCellPaths = 3000;
// Recognises every cell, chooses between every two sure cuts the sequence
// whose recognition, widths, gaps and pitch fit best, and writes one result
// per chosen character and the end record (*count includes it; at most
// maxChars - 1 characters: 14 or 2 beyond). 0, or -1 after the recogniser
// failed (-9) or 7002.
int RecogniseLineCells(const RecogRunBlock& page, CharRecogniser recognise, LineCells* line,
                       uint32_t mask, RecogCharResult* results, int maxChars, int* count);
// Marks the best path of cells from position `from` to `to`. 0; -1 with more
// than 3,000 paths (unless `firstPaths`, which scores the first 3,000).
int ChooseCellPath(const CharWorkRecord* records, LineCells* line, int from, int to,
                   bool firstPaths);
// Score of a path of cells (smaller is better).
int32_t ScoreCellPath(const CharWorkRecord* records, const LineCells& line, const int* path,
                      int n);
