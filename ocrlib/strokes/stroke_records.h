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
#pragma once

#include <cstdint>

// ---- capacities used by every driver ---------------------------------------
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

struct StrokeStepList {
  uint8_t path = 0;    // 0 one-character path, 1 line path
  uint8_t family = 0;  // kStepFamily... of the last step tried
  uint8_t count = 0;   // attempts so far; steps[count - 1] is the current one
  uint8_t steps[kMaxStrokeSteps] = {};
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
