// Stroke analysis: character normalisation for the pattern classifier, stroke
// extraction (contour polygons or thinning), the point graph and the stroke
// structure of one character. Everything works on the fixed records of
// core_internal.h; results are 0 for success, -1 for "no usable result" and
// -9 after a code was pushed on the error stack (14 a full array, 6003 a
// degenerate stroke chain, 7002 no memory for a work block).
#pragma once

#include <cstdint>

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
int JoinNearestStrokeEnds(StrokePointTable* points, int32_t* done);
int MergeNearbyJunctions(StrokePointTable* points, int32_t* done);

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

// ---- the line digit reader (line_reader.cpp, line_pieces.cpp, line_paths.cpp) ------
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

// Pieces of the line's chains (line_pieces.cpp).
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
