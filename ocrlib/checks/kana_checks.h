// The shape checks of the katakana models (small kana, the voicing marks and
// the long-vowel bar included), each row bound to its class in the
// class-check table through RunCheckRow.
//
// The plain set ("_A" to "-") measures every stroke by windows over its
// features, its chord measure with 128 added to the deviation (kMcnDev128,
// or nothing added, kMcnRaw, where a row measures raw), its feature points,
// the corners of the candidate and the holes of the outline; its bounds are
// inclusive. Files: kana_checks_a_to_so.cpp, kana_checks_ta_to_mo.cpp,
// kana_checks_ya_to_bar.cpp, with the measures of kana_measures.cpp.
//
// The "@" set ("@_A" to "@-b") reads up to twelve short strokes per model:
// windows with strict bounds where a row says < or >, chord measures raw or
// with 128 added to all three outputs (kMcnAll128), the pieces of a
// stroke's path, the farthest pair of its chain extremes, walks along the
// outline and, in a few rows, the candidate's own distance. Files:
// at_kana_checks_a_to_so.cpp with at_kana_ku_so.cpp,
// at_kana_checks_ta_to_yo.cpp with at_kana_trees_ta_to_yo.cpp,
// at_kana_checks_ra_to_bar.cpp with at_kana_trees_ra_to_n.cpp, and the
// measures of at_kana_measures.cpp.
//
// A stroke, point, piece or contour point that a row reads but the
// candidate lacks rejects it, and so does a measure whose divisor is 0
// where the row gives no value for that case.
#pragma once

#include <cstdint>

#include "ocrlib/checks/check_kit.h"
#include "ocrlib/strokes/strokes_internal.h"  // Within

// ---- the rows -------------------------------------------------------------------------
// The plain set, "_A" to "-", in table order.
void CheckKanaA(CheckContext& c);    // "_A"
void CheckKanaAb(CheckContext& c);   // "_Ab"
void CheckKanaAc(CheckContext& c);   // "_Ac"
void CheckKanaAe(CheckContext& c);   // "_Ae"
void CheckKanaI(CheckContext& c);    // "_I"
void CheckKanaIa(CheckContext& c);   // "_Ia"
void CheckKanaIb(CheckContext& c);   // "_Ib"
void CheckKanaU(CheckContext& c);    // "_U"
void CheckKanaUa(CheckContext& c);   // "_Ua"
void CheckKanaUb(CheckContext& c);   // "_Ub"
void CheckKanaE(CheckContext& c);    // "_E"
void CheckKanaEc(CheckContext& c);   // "_Ec"
void CheckKanaO(CheckContext& c);    // "_O"
void CheckKanaKA(CheckContext& c);   // "KA"
void CheckKanaKAa(CheckContext& c);  // "KAa"
void CheckKanaKI(CheckContext& c);   // "KI"
void CheckKanaKU(CheckContext& c);   // "KU"
void CheckKanaKE(CheckContext& c);   // "KE"
void CheckKanaKEa(CheckContext& c);  // "KEa"
void CheckKanaKO(CheckContext& c);   // "KO"
void CheckKanaKOa(CheckContext& c);  // "KOa"
void CheckKanaSA(CheckContext& c);   // "SA"
void CheckKanaSI(CheckContext& c);   // "SI"
void CheckKanaSIa(CheckContext& c);  // "SIa"
void CheckKanaSU(CheckContext& c);   // "SU"
void CheckKanaSUa(CheckContext& c);  // "SUa"
void CheckKanaSE(CheckContext& c);   // "SE"
void CheckKanaSEa(CheckContext& c);  // "SEa"
void CheckKanaSO(CheckContext& c);   // "SO"
void CheckKanaSOa(CheckContext& c);  // "SOa"
void CheckKanaTA(CheckContext& c);   // "TA"
void CheckKanaTAa(CheckContext& c);  // "TAa"
void CheckKanaTAb(CheckContext& c);  // "TAb"
void CheckKanaTI(CheckContext& c);   // "TI"
void CheckKanaTIa(CheckContext& c);  // "TIa"
void CheckKanaTIb(CheckContext& c);  // "TIb"
void CheckKanaTIc(CheckContext& c);  // "TIc"
void CheckKanaTU(CheckContext& c);   // "TU"
void CheckKanaTUa(CheckContext& c);  // "TUa"
void CheckKanaTUb(CheckContext& c);  // "TUb"
void CheckKanaTE(CheckContext& c);   // "TE"
void CheckKanaTEa(CheckContext& c);  // "TEa"
void CheckKanaTO(CheckContext& c);   // "TO"
void CheckKanaTOa(CheckContext& c);  // "TOa"
void CheckKanaNA(CheckContext& c);   // "NA"
void CheckKanaNAa(CheckContext& c);  // "NAa"
void CheckKanaNI(CheckContext& c);   // "NI"
void CheckKanaNIa(CheckContext& c);  // "NIa"
void CheckKanaNU(CheckContext& c);   // "NU"
void CheckKanaNEa(CheckContext& c);  // "NEa"
void CheckKanaNO(CheckContext& c);   // "NO"
void CheckKanaNOa(CheckContext& c);  // "NOa"
void CheckKanaHA(CheckContext& c);   // "HA"
void CheckKanaHAa(CheckContext& c);  // "HAa"
void CheckKanaHAb(CheckContext& c);  // "HAb"
void CheckKanaHI(CheckContext& c);   // "HI"
void CheckKanaHIa(CheckContext& c);  // "HIa"
void CheckKanaHU(CheckContext& c);   // "HU"
void CheckKanaHUa(CheckContext& c);  // "HUa"
void CheckKanaHE(CheckContext& c);   // "HE"
void CheckKanaHO(CheckContext& c);   // "HO"
void CheckKanaMA(CheckContext& c);   // "MA"
void CheckKanaMAa(CheckContext& c);  // "MAa"
void CheckKanaMI(CheckContext& c);   // "MI"
void CheckKanaMU(CheckContext& c);   // "MU"
void CheckKanaMUa(CheckContext& c);  // "MUa"
void CheckKanaME(CheckContext& c);   // "ME"
void CheckKanaMEa(CheckContext& c);  // "MEa"
void CheckKanaMO(CheckContext& c);   // "MO"
void CheckKanaMOa(CheckContext& c);  // "MOa"
void CheckKanaYA(CheckContext& c);   // "YA"
void CheckKanaYAa(CheckContext& c);  // "YAa"
void CheckKanaYU(CheckContext& c);   // "YU"
void CheckKanaYUa(CheckContext& c);  // "YUa"
void CheckKanaYO(CheckContext& c);   // "YO"
void CheckKanaYOa(CheckContext& c);  // "YOa"
void CheckKanaYOb(CheckContext& c);  // "YOb"
void CheckKanaRA(CheckContext& c);   // "RA"
void CheckKanaRI(CheckContext& c);   // "RI"
void CheckKanaRIa(CheckContext& c);  // "RIa"
void CheckKanaRIb(CheckContext& c);  // "RIb"
void CheckKanaRIc(CheckContext& c);  // "RIc"
void CheckKanaRId(CheckContext& c);  // "RId"
void CheckKanaRIe(CheckContext& c);  // "RIe"
void CheckKanaRU(CheckContext& c);   // "RU"
void CheckKanaRE(CheckContext& c);   // "RE"
void CheckKanaREa(CheckContext& c);  // "REa"
void CheckKanaRO(CheckContext& c);   // "RO"
void CheckKanaROa(CheckContext& c);  // "ROa"
void CheckKanaROb(CheckContext& c);  // "ROb"
void CheckKanaROc(CheckContext& c);  // "ROc"
void CheckKanaROd(CheckContext& c);  // "ROd"
void CheckKanaWA(CheckContext& c);   // "WA"
void CheckKanaWAa(CheckContext& c);  // "WAa"
void CheckKanaWO(CheckContext& c);   // "WO"
void CheckKanaWOa(CheckContext& c);  // "WOa"
void CheckKanaWOb(CheckContext& c);  // "WOb"
void CheckKanaN(CheckContext& c);    // "_N"
void CheckKanaNa(CheckContext& c);   // "_Na"
void CheckKanaNb(CheckContext& c);   // "_Nb"
void CheckKanaNc(CheckContext& c);   // "_Nc"
void CheckKanaDK(CheckContext& c);   // "DK"
void CheckKanaDKa(CheckContext& c);  // "DKa"
void CheckKanaDKb(CheckContext& c);  // "DKb"
void CheckKanaHD(CheckContext& c);   // "HD"
void CheckKanaHDa(CheckContext& c);  // "HDa"
void CheckKanaHDb(CheckContext& c);  // "HDb"
void CheckKanaHDc(CheckContext& c);  // "HDc"
void CheckKanaBar(CheckContext& c);  // "-"

// The "@" set, "@_A" to "@-b", in table order.
void CheckAtKanaA(CheckContext& c);     // "@_A"
void CheckAtKanaAa(CheckContext& c);    // "@_Aa"
void CheckAtKanaAb(CheckContext& c);    // "@_Ab"
void CheckAtKanaAc(CheckContext& c);    // "@_Ac"
void CheckAtKanaI(CheckContext& c);     // "@_I"
void CheckAtKanaIa(CheckContext& c);    // "@_Ia"
void CheckAtKanaIb(CheckContext& c);    // "@_Ib"
void CheckAtKanaU(CheckContext& c);     // "@_U"
void CheckAtKanaUa(CheckContext& c);    // "@_Ua"
void CheckAtKanaUb(CheckContext& c);    // "@_Ub"
void CheckAtKanaUc(CheckContext& c);    // "@_Uc"
void CheckAtKanaE(CheckContext& c);     // "@_E"
void CheckAtKanaO(CheckContext& c);     // "@_O"
void CheckAtKanaOa(CheckContext& c);    // "@_Oa"
void CheckAtKanaKA(CheckContext& c);    // "@KA"
void CheckAtKanaKAa(CheckContext& c);   // "@KAa"
void CheckAtKanaKI(CheckContext& c);    // "@KI"
void CheckAtKanaKIa(CheckContext& c);   // "@KIa"
void CheckAtKanaKU(CheckContext& c);    // "@KU"
void CheckAtKanaKUa(CheckContext& c);   // "@KUa"
void CheckAtKanaKE(CheckContext& c);    // "@KE"
void CheckAtKanaKO(CheckContext& c);    // "@KO"
void CheckAtKanaKOa(CheckContext& c);   // "@KOa"
void CheckAtKanaSAa(CheckContext& c);   // "@SAa"
void CheckAtKanaSAb(CheckContext& c);   // "@SAb"
void CheckAtKanaSI(CheckContext& c);    // "@SI"
void CheckAtKanaSIa(CheckContext& c);   // "@SIa"
void CheckAtKanaSU(CheckContext& c);    // "@SU"
void CheckAtKanaSUa(CheckContext& c);   // "@SUa"
void CheckAtKanaSE(CheckContext& c);    // "@SE"
void CheckAtKanaSEa(CheckContext& c);   // "@SEa"
void CheckAtKanaSO(CheckContext& c);    // "@SO"
void CheckAtKanaSOa(CheckContext& c);   // "@SOa"
void CheckAtKanaTA(CheckContext& c);    // "@TA"
void CheckAtKanaTAa(CheckContext& c);   // "@TAa"
void CheckAtKanaTAb(CheckContext& c);   // "@TAb"
void CheckAtKanaTI(CheckContext& c);    // "@TI"
void CheckAtKanaTIa(CheckContext& c);   // "@TIa"
void CheckAtKanaTIb(CheckContext& c);   // "@TIb"
void CheckAtKanaTU(CheckContext& c);    // "@TU"
void CheckAtKanaTUa(CheckContext& c);   // "@TUa"
void CheckAtKanaTE(CheckContext& c);    // "@TE"
void CheckAtKanaTEa(CheckContext& c);   // "@TEa"
void CheckAtKanaTO(CheckContext& c);    // "@TO"
void CheckAtKanaTOa(CheckContext& c);   // "@TOa"
void CheckAtKanaNA(CheckContext& c);    // "@NA"
void CheckAtKanaNI(CheckContext& c);    // "@NI"
void CheckAtKanaNU(CheckContext& c);    // "@NU"
void CheckAtKanaNUa(CheckContext& c);   // "@NUa"
void CheckAtKanaNE(CheckContext& c);    // "@NE"
void CheckAtKanaNEa(CheckContext& c);   // "@NEa"
void CheckAtKanaNEb(CheckContext& c);   // "@NEb"
void CheckAtKanaNO(CheckContext& c);    // "@NO"
void CheckAtKanaNOa(CheckContext& c);   // "@NOa"
void CheckAtKanaHA(CheckContext& c);    // "@HA"
void CheckAtKanaHI(CheckContext& c);    // "@HI"
void CheckAtKanaHIa(CheckContext& c);   // "@HIa"
void CheckAtKanaHU(CheckContext& c);    // "@HU"
void CheckAtKanaHE(CheckContext& c);    // "@HE"
void CheckAtKanaHO(CheckContext& c);    // "@HO"
void CheckAtKanaHOa(CheckContext& c);   // "@HOa"
void CheckAtKanaMA(CheckContext& c);    // "@MA"
void CheckAtKanaMAa(CheckContext& c);   // "@MAa"
void CheckAtKanaMI(CheckContext& c);    // "@MI"
void CheckAtKanaMU(CheckContext& c);    // "@MU"
void CheckAtKanaMUa(CheckContext& c);   // "@MUa"
void CheckAtKanaME(CheckContext& c);    // "@ME"
void CheckAtKanaMO(CheckContext& c);    // "@MO"
void CheckAtKanaYA(CheckContext& c);    // "@YA"
void CheckAtKanaYAa(CheckContext& c);   // "@YAa"
void CheckAtKanaYU(CheckContext& c);    // "@YU"
void CheckAtKanaYUa(CheckContext& c);   // "@YUa"
void CheckAtKanaYO(CheckContext& c);    // "@YO"
void CheckAtKanaYOa(CheckContext& c);   // "@YOa"
void CheckAtKanaYOb(CheckContext& c);   // "@YOb"
void CheckAtKanaYOc(CheckContext& c);   // "@YOc"
void CheckAtKanaRA(CheckContext& c);    // "@RA"
void CheckAtKanaRI(CheckContext& c);    // "@RI"
void CheckAtKanaRIa(CheckContext& c);   // "@RIa"
void CheckAtKanaRU(CheckContext& c);    // "@RU"
void CheckAtKanaRUa(CheckContext& c);   // "@RUa"
void CheckAtKanaRE(CheckContext& c);    // "@RE"
void CheckAtKanaRO(CheckContext& c);    // "@RO"
void CheckAtKanaROa(CheckContext& c);   // "@ROa"
void CheckAtKanaROb(CheckContext& c);   // "@ROb"
void CheckAtKanaROc(CheckContext& c);   // "@ROc"
void CheckAtKanaWA(CheckContext& c);    // "@WA"
void CheckAtKanaWAa(CheckContext& c);   // "@WAa"
void CheckAtKanaWAb(CheckContext& c);   // "@WAb"
void CheckAtKanaWAc(CheckContext& c);   // "@WAc"
void CheckAtKanaWO(CheckContext& c);    // "@WO"
void CheckAtKanaWOa(CheckContext& c);   // "@WOa"
void CheckAtKanaN(CheckContext& c);     // "@_N"
void CheckAtKanaNa(CheckContext& c);    // "@_Na"
void CheckAtKanaDK(CheckContext& c);    // "@DK"
void CheckAtKanaHD(CheckContext& c);    // "@HD"
void CheckAtKanaBar(CheckContext& c);   // "@-"
void CheckAtKanaBarA(CheckContext& c);  // "@-a"
void CheckAtKanaBarB(CheckContext& c);  // "@-b"

// ---- measures of both sets (kana_measures.cpp) ------------------------------------------
// The holes of a list for which `fits` holds.
template <class Fits>
int CountHoles(const HoleList& holes, Fits fits) {
  int n = 0;
  for (int i = 0; i < holes.count; ++i) n += fits(holes.holes[i]) ? 1 : 0;
  return n;
}
// The hole of most contour points (the first of equals), null when none;
// it points into the list, which must outlive it.
const HoleList::Hole* LargestHole(const HoleList& holes);
const HoleList::Hole* LargestHole(const HoleList&& holes) = delete;

// ---- measures of the plain rows (kana_measures.cpp) -----------------------------------
// The holes the rows ask about, of six contour points or more: one centred
// in the upper left of the frame (x 6..165, y above 130), which a "KU" or a
// "WA" may not have; and one not far right and not low (x at most 155, y
// above 100), the loop of a "SI", "SO" or "TU" the pen closed, which an
// "RI", "NO" or "_N" may not have.
bool UpperLeftHole(const HoleList::Hole& h);
bool LoopHole(const HoleList::Hole& h);
// The holes of the outline (at most eight), rejecting when one is of the
// given kind.
HoleList HolesRejecting(CheckContext& c, bool (*kind)(const HoleList::Hole&),
                        int line = __builtin_LINE());
// The bend (frame units, negative to the left) of the part of a stroke's
// last piece that lies on or left of the piece's chord from its first point
// P to its last point Q. Rejects when the stroke has no piece, or when Q lies
// below P (nothing is kept then).
int32_t LastPieceLeftBend(CheckContext& c, const StrokeView& s, int line = __builtin_LINE());
// The frame step from the first to the second point of the stroke's first
// piece; rejects (false) when the piece has fewer than two points.
bool FirstStep(CheckContext& c, const StrokeView& s, int32_t* dx, int32_t* dy,
               int line = __builtin_LINE());

// ---- measures of the "@" rows (at_kana_measures.cpp) ------------------------------------
// 100 dy / dx of a piece's first to last point in the frame, 32767 upright.
int32_t PieceSlope(const PieceView& p);
// The piece of the longest chord (squared, the first of equals; piece 0 when
// every chord is empty).
int LongestPiece(const PieceList& pieces);

// The contour point that the first point of the stroke's group (its
// chain's first piece) was traced from, as the step records it; rejects
// when there is none.
PointView GroupStartSource(CheckContext& c, const StrokeView& s, int line = __builtin_LINE());
// The same for the first point of the stroke's own first piece.
PointView PieceStartSource(CheckContext& c, const StrokeView& s, int line = __builtin_LINE());
// Whether that group source lies on an outer ring (rejects as above).
bool GroupRingIsOuter(CheckContext& c, const StrokeView& s, int line = __builtin_LINE());
// Contour points of the ring a contour point belongs to, 0 without one.
int RingPointCount(const PointView& ring);
// Contour normals exist only once a thinned step has measured the outline;
// the polygon steps read the outline without them.
bool RingHasNormals(const CheckContext& c);
// Percent of the ring's points, walked from the one after `ring` round to
// it (that one not counted), whose normal turns away from the axes
// (| |nx| - |ny| | < 180), over the ring's point count.
int32_t TurningShare(const PointView& ring);

// node(p): the contour point stroke point p was traced from, as the step
// records it (the first of its pair on the thinned steps); rejects when
// there is none.
PointView Node(CheckContext& c, int strokePoint, int line = __builtin_LINE());
// node() of the first point of the stroke's chain (builds the chain).
PointView ChainStartNode(CheckContext& c, const StrokeView& s, int line = __builtin_LINE());
// The ring point from `from` to `to` (inclusive, along the ring) farthest in
// a direction with the weighted tie-break, in the frame; absent without a
// start.
PointView RingExtremeBetween(const CheckContext& c, const PointView& from, const PointView& to,
                             int direction, int weight);
// The bulge of the ring from a's successor up to b off the chord a-b: 256
// times frame units, positive on the right of a -> b, and the farthest
// point in the frame (a's own when nothing deviates).
struct RingBulge {
  int32_t value = 0;
  PointView farthest;
};
RingBulge BulgeBetween(const CheckContext& c, const PointView& a, const PointView& b);
// The same in 256 x pixels on the stored rows (positive left of a -> b as
// stored).
int32_t RawBulgeBetween(const PointView& a, const PointView& b);

// "@YO" and "@WO": from the end of a first stroke that turns back to the
// end of a last stroke (d1 = S3 end 2 - S0 end 2), along the first
// stroke's second-to-last piece from its last point back to its first
// (d2), and from the start of the third stroke to that of the last (d3 =
// S3 end 1 - S2 end 1): lengths and folded angles. Rejects when the first
// stroke has fewer than two pieces.
struct TurnBackVectors {
  int32_t l1 = 0, a1 = 0, l2 = 0, a2 = 0, l3 = 0, a3 = 0;
};
TurnBackVectors MeasureTurnBack(CheckContext& c, const StrokeView& s0, const StrokeView& s2,
                                const StrokeView& s3, int line = __builtin_LINE());

// The hole rule of the "@" WA rows: a largest hole of three contour points
// or more at the very top of the frame, in the middle, rejects.
void RequireNoTopHole(CheckContext& c);
