// Shared helpers of the two thinning files: pair runs (opposite contour
// points along the body of a stroke) and the ends where runs meet.
#pragma once

#include "ocrlib/strokes/strokes_internal.h"

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
