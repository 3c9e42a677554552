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

// ---- measures of both sets (kana_measures.cpp) ------------------------------------------
// The holes of a list for which `fits` holds.
template <class Fits>
int CountHoles(const HoleList& holes, Fits fits) {
  int n = 0;
  for (int i = 0; i < holes.count; ++i) n += fits(holes.holes[i]) ? 1 : 0;
  return n;
}
// The hole of most contour points (the first of equals), null when none.
const HoleList::Hole* LargestHole(const HoleList& holes);

// ---- measures of the plain rows (kana_measures.cpp) -----------------------------------
// The bend (frame units, negative to the left) of the part of a stroke's
// last piece that lies on or left of the piece's chord from its first point
// P to its last point Q. Rejects when the stroke has no piece, or when Q lies
// below P (nothing is kept then).
int32_t LastPieceLeftBend(CheckContext& c, const StrokeView& s, int line = __builtin_LINE());
// The frame step from the first to the second point of the stroke's first
// piece; rejects (false) when the piece has fewer than two points.
bool FirstStep(CheckContext& c, const StrokeView& s, int32_t* dx, int32_t* dy,
               int line = __builtin_LINE());
