// The shape checks of the Latin capital models: the plain set, read on the
// strokes of the thinned steps (capital_checks.cpp, capital_check_steps.cpp,
// with the measures they share in capital_measures.cpp), and the "@" set,
// read on the polygon steps (at_capital_checks.cpp, with the tests that end
// some of its rows in at_capital_tails.cpp). Each row is bound to its class
// in the class-check table through RunCheckRow.
//
// Notation of the rows: the plain set measures chords with nothing added
// (kMcnRaw) and writes strict bounds as < and >; the "@" set states the mode
// of every chord measure and its ranges are inclusive. Many rows of both
// sets test only when the set reads digits and capitals together. A stroke,
// point or contour point that a row reads and the character lacks rejects
// the candidate.
#pragma once

#include "ocrlib/checks/check_kit.h"

// The plain set, "A" to "Z".
void CheckCapitalA(CheckContext& c);
void CheckCapitalAa(CheckContext& c);
void CheckCapitalB(CheckContext& c);
void CheckCapitalBa(CheckContext& c);
void CheckCapitalBe(CheckContext& c);
void CheckCapitalC(CheckContext& c);
void CheckCapitalCa(CheckContext& c);
void CheckCapitalCb(CheckContext& c);
void CheckCapitalD(CheckContext& c);
void CheckCapitalDa(CheckContext& c);
void CheckCapitalDb(CheckContext& c);
void CheckCapitalDc(CheckContext& c);
void CheckCapitalE(CheckContext& c);
void CheckCapitalEa(CheckContext& c);
void CheckCapitalEd(CheckContext& c);
void CheckCapitalEe(CheckContext& c);
void CheckCapitalF(CheckContext& c);
void CheckCapitalFa(CheckContext& c);
void CheckCapitalFe(CheckContext& c);
void CheckCapitalG(CheckContext& c);
void CheckCapitalGb(CheckContext& c);
void CheckCapitalGg(CheckContext& c);
void CheckCapitalH(CheckContext& c);
void CheckCapitalI(CheckContext& c);
void CheckCapitalId(CheckContext& c);
void CheckCapitalIe(CheckContext& c);
void CheckCapitalJ(CheckContext& c);
void CheckCapitalJa(CheckContext& c);
void CheckCapitalKa(CheckContext& c);
void CheckCapitalKb(CheckContext& c);
void CheckCapitalKc(CheckContext& c);
void CheckCapitalKd(CheckContext& c);
void CheckCapitalKe(CheckContext& c);
void CheckCapitalL(CheckContext& c);
void CheckCapitalLa(CheckContext& c);
void CheckCapitalLb(CheckContext& c);
void CheckCapitalLc(CheckContext& c);
void CheckCapitalM(CheckContext& c);
void CheckCapitalMb(CheckContext& c);
void CheckCapitalMf(CheckContext& c);
void CheckCapitalNa(CheckContext& c);
void CheckCapitalNc(CheckContext& c);
void CheckCapitalNd(CheckContext& c);
void CheckCapitalOb(CheckContext& c);
void CheckCapitalP(CheckContext& c);
void CheckCapitalPa(CheckContext& c);
void CheckCapitalQa(CheckContext& c);
void CheckCapitalQd(CheckContext& c);
void CheckCapitalRb(CheckContext& c);
void CheckCapitalRc(CheckContext& c);
void CheckCapitalRe(CheckContext& c);
void CheckCapitalS(CheckContext& c);
void CheckCapitalT(CheckContext& c);
void CheckCapitalTa(CheckContext& c);
void CheckCapitalU(CheckContext& c);
void CheckCapitalV(CheckContext& c);
void CheckCapitalVa(CheckContext& c);
void CheckCapitalVd(CheckContext& c);
void CheckCapitalVh(CheckContext& c);
void CheckCapitalVi(CheckContext& c);
void CheckCapitalX(CheckContext& c);
void CheckCapitalY(CheckContext& c);
void CheckCapitalYa(CheckContext& c);
void CheckCapitalYb(CheckContext& c);
void CheckCapitalYd(CheckContext& c);
void CheckCapitalYe(CheckContext& c);
void CheckCapitalZ(CheckContext& c);

// The "@" set, "@A" to "@Z".
void CheckAtCapitalA(CheckContext& c);
void CheckAtCapitalB(CheckContext& c);
void CheckAtCapitalBa(CheckContext& c);
void CheckAtCapitalBb(CheckContext& c);
void CheckAtCapitalBc(CheckContext& c);
void CheckAtCapitalBd(CheckContext& c);
void CheckAtCapitalBe(CheckContext& c);
void CheckAtCapitalC(CheckContext& c);
void CheckAtCapitalCa(CheckContext& c);
void CheckAtCapitalD(CheckContext& c);
void CheckAtCapitalDa(CheckContext& c);
void CheckAtCapitalDb(CheckContext& c);
void CheckAtCapitalE(CheckContext& c);
void CheckAtCapitalEa(CheckContext& c);
void CheckAtCapitalF(CheckContext& c);
void CheckAtCapitalFa(CheckContext& c);
void CheckAtCapitalG(CheckContext& c);
void CheckAtCapitalGa(CheckContext& c);
void CheckAtCapitalGb(CheckContext& c);
void CheckAtCapitalGc(CheckContext& c);
void CheckAtCapitalGd(CheckContext& c);
void CheckAtCapitalH(CheckContext& c);
void CheckAtCapitalI(CheckContext& c);
void CheckAtCapitalJ(CheckContext& c);
void CheckAtCapitalK(CheckContext& c);
void CheckAtCapitalL(CheckContext& c);
void CheckAtCapitalM(CheckContext& c);
void CheckAtCapitalN(CheckContext& c);
void CheckAtCapitalO(CheckContext& c);
void CheckAtCapitalP(CheckContext& c);
void CheckAtCapitalPa(CheckContext& c);
void CheckAtCapitalQ(CheckContext& c);
void CheckAtCapitalQa(CheckContext& c);
void CheckAtCapitalQb(CheckContext& c);
void CheckAtCapitalQc(CheckContext& c);
void CheckAtCapitalR(CheckContext& c);
void CheckAtCapitalRa(CheckContext& c);
void CheckAtCapitalS(CheckContext& c);
void CheckAtCapitalSa(CheckContext& c);
void CheckAtCapitalT(CheckContext& c);
void CheckAtCapitalU(CheckContext& c);
void CheckAtCapitalV(CheckContext& c);
void CheckAtCapitalVa(CheckContext& c);
void CheckAtCapitalVb(CheckContext& c);
void CheckAtCapitalW(CheckContext& c);
void CheckAtCapitalX(CheckContext& c);
void CheckAtCapitalY(CheckContext& c);
void CheckAtCapitalYa(CheckContext& c);
void CheckAtCapitalYb(CheckContext& c);
void CheckAtCapitalYc(CheckContext& c);
void CheckAtCapitalZ(CheckContext& c);

// ---- the measures of the plain rows (capital_measures.cpp) --------------------------
// Each measure of an absent stroke, point or piece, and each whose divisor
// is 0, rejects the candidate (the value returned is then 0).

// The chord deviation of piece `k` of a stroke, in frame units.
int32_t PieceBend(CheckContext& c, const StrokeView& s, int k, int line = __builtin_LINE());
// How much of the half-box of a stroke's chain its polygon fills, in
// percent: 100 |area| / ((height x width + 1) / 2), pixels.
int32_t FillRatio(CheckContext& c, const StrokeView& s, int line = __builtin_LINE());
// The height of the stroke's rightmost point over its centre, in percent of
// half its height.
int32_t RightExtremeHeight(CheckContext& c, const StrokeView& s, int line = __builtin_LINE());
// The stroke's upper-left extreme lies left of its lower-left one and not
// far above it (pixels): the back of a "V" rather than of a "D".
bool LeansLeft(CheckContext& c, const StrokeView& s, int line = __builtin_LINE());
// The stroke's two end points, the higher (pixels; the second end on equal
// heights) as `upper`, in the frame.
struct StrokeEnds {
  PointView upper, lower;
};
StrokeEnds UpperAndLowerEnds(CheckContext& c, const StrokeView& s, int line = __builtin_LINE());
// The stroke's edge by its sub-kind: its right side (1), its centre (2), its
// left side (3), 0 otherwise.
int32_t EdgeBySubKind(const StrokeView& s);
// The slope angle (-90..90) of the stroke's last piece from its first to its
// last point, pixels.
int32_t LastPieceTilt(CheckContext& c, const StrokeView& s, int line = __builtin_LINE());
// The bulge (frame units) of a stretch of contour ring: from the ring's
// extreme in direction `from` to its extreme in direction `to`, both ends
// drawn `steps` links towards each other.
int32_t RingWalkBulge(CheckContext& c, const PointView& ring, int from, int to, int steps,
                      int line = __builtin_LINE());
// The contour ring of the first contour point not on an outer ring.
PointView FirstHoleRing(const CheckContext& c);
