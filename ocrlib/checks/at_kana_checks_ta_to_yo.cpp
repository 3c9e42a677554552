// The "@" katakana rows of the TA, NA, HA, MA and YA columns that are
// windows over their strokes with exact bounds (< rejects at the bound, <=
// just above it), chord measures raw or with 128 added to all three
// outputs, stroke codes, piece runs and, in a few rows, the candidate's
// distance; "@TA" and "@HA" add a corner test on pieces and one on extreme
// points. The rows that branch far by stroke code ("@HU", "@MI", "@ME",
// "@YA", "@YU", "@YO") are in at_kana_trees_ta_to_yo.cpp.
#include <cstdlib>

#include "ocrlib/checks/kana_checks.h"

using namespace checkrow;

namespace {

constexpr McnMode kMcn0 = kMcnRaw;     // MCN(S, 0)
constexpr McnMode kMcn3 = kMcnAll128;  // MCN(S, 3)

int32_t Run(const PieceView& p) { return p.last.x - p.first.x; }

// Walks the inner pieces of a path, remembering the last piece of entry
// code 4 (K4), and calls `test` (K4, K5) at every later piece of entry code 5.
template <class Test>
void EachTurnPair(const PieceList& pieces, Test test) {
  int k4 = -1;
  for (int i = pieces.InnerBegin(); i < pieces.InnerEnd(); ++i) {
    if (pieces[i].entryCode == 4) k4 = i;
    if (pieces[i].entryCode == 5 && k4 >= 0) test(pieces[k4], pieces[i]);
  }
}

}  // namespace

void CheckAtKanaTA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {y1 < 210, h < 210, cx >= 53});
  c.Require(c.Mcn(s0, kMcn3), {dev < 90});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {y1 >= 71, y1 < 210, y2 < 170, cx <= 136, cy <= 133, h >= 188});
  c.Require(c.S(2), {w < 175, h < 170, cx <= 181, w >= 36});
  // A long flat run inside the second stroke, under a first stroke that
  // ends steep and starts long, is no "TA".
  const PieceList p1 = c.Pieces(s1);
  for (int i = p1.InnerBegin(); i < p1.InnerEnd() && !c.decided(); ++i) {
    if ((p1[i].entryCode != 3 && p1[i].entryCode != 4) || Run(p1[i]) < 130) continue;
    const PieceList p0 = c.Pieces(s0);
    if (!c.Need(p0.count > 0)) return;
    if (PieceSlope(p0[p0.count - 1]) < 100 || s1.x1 == s1.x2 || s1.y1 == s1.y2) continue;
    const int32_t dx = Run(p0[0]), dy = p0[0].last.y - p0[0].first.y;
    c.RejectIf(dx * dx + dy * dy >= 2500);
  }
}

void CheckAtKanaTAa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 >= 51, x2 >= 16, w >= 26, dX > 90, w < 145});
  c.Need(s0.w < s0.h && s0.h - s0.w < 130);
  c.Require(c.Mcn(s0, kMcn3), {dev >= 21, dev < 110, ox >= 146, ox < 230, oy >= 91, oy < 155});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {dY > 90, x1 < 185, x2 < 200, w < 110, y2 < 176});
  c.Need(s1.h < 2 * s1.w);
  c.Require(c.Mcn(s1, kMcn3), {dev >= 16, dev < 150, ox >= 26, ox < 130});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {x2 > 45, cy < 210, y1 < 219, dY < 170});
  c.Need(s2.y1 - s2.x1 < 175 && s2.h - s2.w > -140 && (s2.x2 - s2.x1) / 2 + s2.uy < 55);
  const StrokeView s3 = c.S(3);
  c.Require(s3, {x1 < 210, x2 < 180, dX >= 76, dX < 175});
  const PieceList p3 = c.Pieces(s3);
  for (int i = p3.InnerBegin(); i < p3.InnerEnd(); ++i) {
    if (p3[i].entryCode != 4) continue;
    c.Need(Run(p3[i]) < 130);
    if (Run(p3[i]) >= 110 && s3.w >= 150) c.Need(PieceSlope(p3[0]) >= 51);
  }
}

void CheckAtKanaTAb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 104, cx < 219, x2 >= 47, w >= 22, w < 166, hX < 83, hY < 20});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx < 179, x1 >= 71, x1 < 200, x2 < 179});
  c.Require(c.Mcn(s1, kMcn0), {oy <= 70});
  if (s0.code == 22) c.Require(c.Mcn(s1, kMcn3), {dev < 130});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {w <= 136, hX >= -37});
  c.Require(c.Mcn(s2, kMcn0), {dev >= -91, ox < 89, oy < 31});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {y2 < 171, w < 130});
  c.Require(c.Mcn(s3, kMcn0), {dev >= -110, ox >= -104, oy >= -26});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {x2 <= 199, h >= 31, hX <= 49});
  c.Require(c.Mcn(s5, kMcn3), {ox >= 21});
}

void CheckAtKanaTI(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 >= 177, hX >= -17});
  c.Require(c.Mcn(s0, kMcn3), {dev >= 26, dev < 107, ox >= 31, oy >= 63, oy < 158});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {x1 < 170, x2 >= 177, dX < 110});
  const McnView m2 = c.Mcn(s2, kMcn3);
  c.Need(m2.present && m2.ox + m2.oy > 200);
  const StrokeView s3 = c.S(3);
  c.Require(s3, {w >= 11});
  c.Require(c.Mcn(s3, kMcn0), {ox < 75});
  c.Require(c.S(4), {x2 < 160});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {x2 < 80, y2 < 185, h < 135, cx < 115, x1 >= 2, dX < 190});
  c.Require(c.Mcn(s6, kMcn3), {oy < 170});
  const StrokeView s7 = c.S(7);
  c.Require(s7, {x1 >= 81, w >= 33, dX > 90});
  c.Require(c.Mcn(s7, kMcn3), {dev >= 21, dev < 240, ox >= 26});
  c.Need(s3.code != 56);
  c.Need(s7.code != 52 && s7.code != 53);
  const PieceList p7 = c.Pieces(s7);
  if (s3.code == 47) {
    EachTurnPair(p7, [&](const PieceView& k4, const PieceView& k5) {
      c.RejectIf(Run(k4) > s7.w / 3 && Run(k5) > s7.w / 3);
    });
  }
  if (s7.subKind == 7 && s7.w <= 50) c.Need(p7.count > 0 && Run(p7[0]) >= 21);
  c.RejectIf(s7.code == 61 && s7.w <= 50);
}

void CheckAtKanaTIa(CheckContext& c) { c.Require(c.S(4), {cx >= 49}); }

void CheckAtKanaTIb(CheckContext& c) {
  c.Require(c.S(1), {w > 40, y2 < 203, h < 203, hY >= -101});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {y1 <= 187, h <= 187, hY <= 93});
  c.Require(c.Mcn(s3, kMcn0), {dev >= -127, ox < 122, oy < 94});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {cy < 182, x2 < 163});
  c.Require(c.Mcn(s4, kMcn0), {oy >= -91});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {x1 < 180, y1 <= 230, y2 <= 187, h >= 22});
  c.Need(s5.code != 20);
  c.Require(c.Mcn(c.S(6), kMcn0), {dev <= -23});
}

void CheckAtKanaTU(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy <= 251});
  c.Require(c.S(2), {cx <= 220});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cy < 240});
  const StrokeView s1 = c.S(1);
  const PieceList p0 = c.Pieces(s0), p3 = c.Pieces(s3);
  if (!c.Need(p0.count > 0 && p3.count > 0)) return;
  const PieceView& l0 = p0[LongestPiece(p0)];
  const PieceView& l3 = p3[LongestPiece(p3)];
  const int32_t slope0 = PieceSlope(l0), slope3 = PieceSlope(l3);
  // An upright piece (32767) falls in neither rule.
  c.RejectIf(Within(slope0, 0, 500) && Within(slope3, -300, 0) && s1.x1 - l0.last.x < 51);
  c.RejectIf(Within(slope3, 0, 500) && Within(slope0, -300, 0) && s1.x1 - l3.last.x <= 50);
}

void CheckAtKanaTUa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy >= 126});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 57, cy < 252, h >= 11});
  if (3 * s0.h <= 2 * s0.w) c.Need(2 * s2.w < 3 * s2.h);
  const StrokeView s1 = c.S(1);
  if (s1.h < 254 && s0.w >= s0.h && s2.w >= s2.h && 3 * s1.w >= 2 * s1.h)
    c.Need(2 * std::abs(s0.cy - s2.cy) < std::abs(s0.cx - s2.cx));
  c.Need(s1.w < 254 && s1.w < s1.h);
}

void CheckAtKanaTE(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {w > 50, h < 80, cy >= 204});
  c.Need(s0.w > s0.h);
  c.Require(c.Mcn(c.S(1), kMcn3), {dev < 130, ox >= 48});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {hY < 16});
  c.Require(c.Mcn(s4, kMcn0), {oy < 103});
  // The last stroke may not dip in a wide "V" across its whole width.
  EachTurnPair(c.Pieces(s4), [&](const PieceView& k4, const PieceView& k5) {
    c.RejectIf(k5.last.x - k4.first.x >= s4.w && Run(k4) >= s4.w / 3 && Run(k5) >= s4.w / 3 &&
               k4.last.y - k4.first.y >= 25 && k5.first.y - k5.last.y >= 25);
  });
}

void CheckAtKanaTEa(CheckContext& c) {
  c.Require(c.S(1), {w >= 74});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {w <= 111});
  c.Need(s2.h - s2.w >= 51);
}

void CheckAtKanaTO(CheckContext& c) {
  c.Require(c.S(0), {x1 < 130});
  c.Require(c.S(1), {w < 100});
  c.Require(c.Mcn(c.S(2), kMcn3), {dev >= 11, oy >= 41});
  c.Require(c.Mcn(c.S(3), kMcn3), {oy < 230});
}

void CheckAtKanaTOa(CheckContext& c) {
  c.Require(c.S(0), {h > 250});
  c.Require(c.S(1), {w < 180, h < 105, cx <= 174});
}

void CheckAtKanaNA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 151, cy >= 141, h < 120, hY < 34});
  c.Require(c.Mcn(s0, kMcn3), {dev < 120, ox >= 126});
  const StrokeView s5 = c.S(5);
  c.RejectIf(s0.subKind == 3 && s5.subKind == 1 && s0.h >= 110);
  const StrokeView s1 = c.OptS(1);
  if (s1.present()) {
    c.Require(s1, {cx >= 137, cy >= 191, x1 >= 161, y1 >= 131, x2 >= 73, x2 < 200, y2 >= 212});
    c.Need(s1.h - s1.w < 50 && s1.dX + s1.dY >= 201);
    const McnView m1 = c.Mcn(s1, kMcn3);
    c.Need(m1.present && m1.oy - m1.ox < 50);
  }
  const StrokeView s2 = c.S(2);
  c.Require(s2, {x2 >= 181, y2 >= 131});
  c.Need(s2.cx + s2.cy >= 201);
  const McnView m2 = c.Mcn(s2, kMcn3);
  c.Require(m2, {ox > 46, dev < 150});
  c.Need(m2.ox + m2.oy > 200);
  const StrokeView s3 = c.S(3);
  c.Require(s3, {h >= 110, dY >= 121});
  c.Require(c.Mcn(s3, kMcn3), {ox >= 41, ox < 228});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {hX > -83, cx < 128, x1 < 90, x2 < 181});
  c.Require(c.Mcn(s4, kMcn0), {ox >= 33});
  c.Require(s5, {x2 > 60, cx < 120, x2 < 180, h < 80});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cy > 174, x1 > 60, y1 > 215, w > 30, cx < 120, x1 < 195, w < 190, dX >= 131,
                 dX < 220, dY >= 121});
  c.Need(s6.x2 + s6.y2 < 300);
  const McnView m6 = c.Mcn(s6, kMcn3);
  c.Require(m6, {dev >= 41, ox >= 126, ox < 190});
  c.Need(m6.ox + m6.oy >= 201);
  const StrokeView s7 = c.OptS(7);
  if (s7.present()) {
    c.Require(s7, {cx >= 94, x1 >= 68, x2 >= 106});
    const McnView m7 = c.Mcn(s7, kMcn3);
    c.Require(m7, {dev < 150, ox < 170});
    c.Need(m7.ox + m7.oy < 390);
  }
}

void CheckAtKanaNI(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {w >= 51, h < 130});
  c.Need(s0.cy < s0.cx + 130 && 2 * s0.h < s0.w);
  const StrokeView s1 = c.S(1);
  c.Require(s1, {w >= 171});
  c.Need(2 * s1.h < s1.w);
  c.RejectIf(s0.w >= 254 && s1.w < 241);
}

void CheckAtKanaNU(CheckContext& c) {
  c.Require(c.S(0), {dY < 70, h >= 131});
  const StrokeView s1 = c.S(1);
  // The chord measure of this stroke is compared with bounds in a way that
  // never rejects: nothing is tested on it.
  c.Need(s1.w + s1.h > 80);
  const StrokeView s2 = c.S(2);
  c.Require(s2, {y1 < 68, hY < 32});
  c.Need(s2.w > s2.h && s2.x1 - s2.x2 < s2.y1 - s2.y2);
  c.Require(c.Mcn(s2, kMcn0), {dev < -19, oy >= 17});
  c.Require(c.S(3), {w >= 24});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {h >= 60, hY >= 30});
  c.Require(c.Mcn(s4, kMcn0), {ox >= 14});
  c.Require(c.S(5), {w >= 20});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {y1 > 130, x1 < 130, dY >= 131});
  c.Require(c.Mcn(s6, kMcn3), {dev < 90, ox >= 141});
  const StrokeView s7 = c.S(7);
  c.Require(c.Mcn(s7, kMcn0), {oy >= -52});
  const PieceList p6 = c.Pieces(s6);
  if (s6.subKind == 3 || s6.subKind == 4) {
    if (!c.Need(p6.count > 0)) return;
    if (s6.subKind == 3) c.Need(Run(p6[0]) < 50);
    if (s6.subKind == 4) c.Need(PieceSlope(p6[0]) < 50);
  }
  c.Require(s7, {w >= 71});
  c.RejectIf(s7.code == 97 && c.distance() >= 1001);
}

void CheckAtKanaNUa(CheckContext& c) {
  const StrokeView s2 = c.S(2);
  c.Require(s2, {y2 < 253});
  c.Require(c.Mcn(s2, kMcn0), {dev < -41, ox < -40});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {w >= 47, hY >= 6});
  c.Require(c.Mcn(s3, kMcn0), {dev < -50, ox >= 45});
  c.Require(c.S(5), {x2 < 136, y2 < 114});
  c.Require(c.S(6), {y1 <= 179, h <= 171, hY <= 85});
  c.Require(c.S(7), {cy < 149, x1 < 136, y1 < 114});
  const StrokeView s8 = c.S(8);
  c.Require(s8, {cy <= 190, y1 >= 187, y2 <= 179, hY >= 8});
  c.Require(c.Mcn(s8, kMcn0), {dev < -74, ox >= 36});
  c.Require(c.S(9), {y1 < 235, h < 54});
}

void CheckAtKanaNE(CheckContext& c) {
  c.Require(c.S(1), {x1 < 212, hX < 30});
  c.Require(c.S(2), {cx <= 232});
  c.Require(c.Mcn(c.S(3), kMcn0), {ox >= -88});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {w <= 94});
  c.Require(c.Mcn(s4, kMcn0), {oy <= 12});
  c.Require(c.Mcn(c.S(5), kMcn0), {ox <= 85});
  c.Require(c.S(6), {h >= 25});
  c.Require(c.S(8), {x2 <= 211, hX >= -48});
}

void CheckAtKanaNEa(CheckContext& c) {
  c.Require(c.S(4), {x2 < 160, w < 140});
  c.Require(c.S(5), {h >= 71});
  c.Require(c.S(11), {h > 40, cy < 200, y2 < 170, dY >= 146});
}

void CheckAtKanaNEb(CheckContext& c) {
  c.Require(c.S(2), {x1 < 180});
  c.Require(c.S(5), {h >= 51});
  c.Require(c.S(9), {h > 75, y2 < 180, dY >= 141});
}

void CheckAtKanaNO(CheckContext& c) { c.Require(c.S(0), {w < 255, cx <= 138}); }

void CheckAtKanaNOa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 > 90, x2 >= 21, x2 < 100});
  c.Require(c.Mcn(s0, kMcn3), {ox < 194, dev >= 61});
  c.Require(c.S(1), {w < 255, cy < 136});
}

void CheckAtKanaHA(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx >= 168, cx < 251, cy >= 70, cy < 181, w < 186, h >= 50});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx < 92, cy >= 72, cy < 171, w < 151, h >= 72});
  const PointView u0 = c.EP(s0, kDirPosY), d0 = c.EP(s0, kDirNegY);
  const PointView u1 = c.EP(s1, kDirPosY), d1 = c.EP(s1, kDirNegY);
  if (!c.Need(u0.present && d0.present && u1.present && d1.present)) return;
  const int32_t a0 = Ang(d0, u0);
  const int32_t l1 = Len(d1, u1), a1 = Ang(d1, u1);
  const int32_t lx = Len(u1, u0), ax = Ang(u1, u0);
  c.Need(l1 < 287 && lx < 216 && a0 >= 92 && a1 < 105);
  c.Need(a0 - a1 >= -3 && ax - a1 >= -104);
  // Further bounds that hold only when a0 - a1 < -85 never apply after the
  // test above and are left out.
  const int32_t size = c.frame().size;
  c.RejectIf(size < 17);
  c.AcceptWhen(size >= 21);
  c.Need(u1.x - d1.x >= -13);
}

void CheckAtKanaHI(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 >= 144, y1 < 221, w >= 85, hY < -7});
  c.Require(c.Mcn(s0, kMcn0), {ox <= 25});
  c.Require(c.S(1), {w >= 90});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 47});
  c.Require(c.Mcn(s2, kMcn0), {dev <= -18});
  c.Require(c.S(3), {cx >= 61, cx < 176, x2 < 126, w >= 29});
}

void CheckAtKanaHIa(CheckContext& c) {
  c.Require(c.S(0), {cx < 162});
  c.Require(c.S(1), {cx < 139, x1 >= 7});
  c.Require(c.S(2), {cx < 184, w >= 30});
}

void CheckAtKanaHE(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {hY >= -47});
  c.Require(c.Mcn(s0, kMcn0), {ox >= -63, ox < 89});
  c.Need(s0.code != 44 && s0.code != 53);
  if (s0.code == 34) c.Require(s0, {cy >= 91, w >= 155, hX <= -78});
  if (s0.code == 43) c.Require(s0, {hX <= -63});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx < 140, cy < 138});
  if (s0.code == 34) c.Require(s1, {w >= 183});
  if (s0.code == 43) c.Require(s1, {w >= 165});
}

void CheckAtKanaHO(CheckContext& c) {
  c.Require(c.Mcn(c.S(2), kMcn0), {ox <= 106});
  c.Require(c.S(4), {hX <= 78});
  c.Require(c.S(8), {cx <= 184});
}

void CheckAtKanaHOa(CheckContext& c) {
  const StrokeView s0 = c.S(0), s1 = c.S(1);
  c.Need(s0.code != 44 && s0.code != 53);
  // Unlike "@HE", this row bounds the first stroke's lean from below.
  if (s0.code == 34) c.Require(s0, {cy >= 91, hX >= -78});
  if (s0.code == 43) c.Require(s0, {hX >= -63});
  if (s0.code == 34) c.Require(s1, {w >= 183});
  if (s0.code == 43) c.Require(s1, {w >= 165});
}

void CheckAtKanaMA(CheckContext& c) {
  const StrokeView s2 = c.S(2);
  c.Require(s2, {y2 >= 30, h < 213, hY < 96});
  c.Require(c.Mcn(s2, kMcn0), {oy >= -74});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx >= 98});
  const StrokeView s1 = c.S(1);
  // The ends of the second stroke's hook, by its code; an unlisted code
  // measures one point against itself and fails the length.
  int a = 0, b = 0;
  switch (s1.code) {
    case 66:
    case 75:
    case 95:
      a = 2;
      b = 0;
      break;
    case 67:
    case 76:
    case 86:
    case 96:
    case 105:
      a = 3;
      b = 0;
      break;
    case 77:
      a = 4;
      b = 0;
      break;
    case 85:
      a = 2;
      b = 7;
      break;
    case 87:
      a = 3;
      b = 1;
      break;
    default: break;
  }
  const PointView p = c.EP(s1, a), q = c.EP(s1, b);
  c.Need(p.present && q.present && Len(q, p) >= 60 && Ang(q, p) >= 107 && Ang(q, p) < 173);
  const StrokeView s0 = c.S(0);
  switch (s0.code) {
    case 22:
      c.RejectIf(s1.code == 66 && s0.x2 < 190);
      c.Need(s3.w >= 105);
      c.RejectIf(s1.code == 76 && c.distance() >= 1271);
      c.RejectIf(s1.code == 96 && s1.w < 55);
      break;
    case 23: c.Need(s2.x2 <= 95); break;
    case 31: c.Need(s1.w <= 220); break;
    default: break;
  }
}

void CheckAtKanaMAa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cy < 204, y2 >= 72, y2 < 168});
  c.RejectIf(s0.code == 35 && c.distance() > 510);
  c.RejectIf(s0.code == 45 && c.distance() > -100);
  c.RejectIf(s0.code == 53 && c.distance() >= 601);
  c.RejectIf(s0.code == 54 && c.distance() >= 401);
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cy <= 210, h <= 184});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 74, cy(32, 99), w >= 40, w < 212, h >= 21, h < 192});
  if (s0.code == 35) {
    c.Require(s0, {cy >= 155, cy < 196, y2 >= 90, y2 < 141});
    c.Require(s1, {cy >= 160, cy < 206, h >= 95, h < 171});
    c.Require(s2, {cy >= 45, cy < 101, w >= 45, w < 226, h >= 65, h < 181});
  }
  if (s0.code == 44) {
    c.Require(s0, {cx >= 85, x2(115, 198), y2 >= 70});
    c.Require(s1, {cx(125, 142), x2 >= 155});
    c.Require(s2, {cx >= 90, cy >= 25, cy < 101, w >= 55, w < 216, h < 161});
  }
}

void CheckAtKanaMU(CheckContext& c) {
  c.Require(c.S(0), {cx < 176, x1 >= 90, y1 >= 55, x2 < 235, w >= 49, hX >= -24, hY >= -96});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {y1 <= 202, h >= 34, hY <= 70});
  c.Require(c.Mcn(s1, kMcn0), {ox >= -86, oy < 122});
  const StrokeView s2 = c.S(2);
  c.Require(c.Mcn(s2, kMcn0), {ox >= -26});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx < 127, w >= 71, w < 244});
  c.RejectIf(s3.code == 70 && c.distance() > 1600);
  c.RejectIf(s3.code == 87 && c.distance() >= 2001);
  c.RejectIf(s3.code == 80 && s2.code == 34 && s1.x2 < 135);
}

void CheckAtKanaMUa(CheckContext& c) { c.Require(c.S(2), {h >= 52}); }

void CheckAtKanaMO(CheckContext& c) {
  const StrokeView s2 = c.S(2);
  c.Require(s2, {x1 >= 169, w >= 66, hX >= -33});
  c.Require(c.Mcn(s2, kMcn0), {dev <= -56});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cx >= 123, y1 <= 105, w >= 83, hY <= 3});
  c.Require(c.Mcn(s3, kMcn0), {dev >= -126, oy >= -118});
  c.RejectIf(s3.code == 56 && c.distance() > 1000);
  c.Require(c.S(4), {cx <= 116, x2 <= 190, w <= 191, hX >= -95});
  c.Require(c.Mcn(c.S(5), kMcn0), {oy >= -56});
}

void CheckAtKanaYAa(CheckContext& c) {
  const StrokeView s1 = c.S(1);
  c.Require(s1, {y1 >= 44, w >= 13});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {x1 <= 132});
  const StrokeView s7 = c.S(7);
  c.Require(s7, {y2 >= 44});
  const StrokeView s0 = c.S(0);
  c.RejectIf(s0.code == 33 && s0.y2 < 120);
  c.AcceptWhen(s4.code != 27);
  const StrokeView s8 = c.S(8);
  c.RejectIf(s7.h < 55 && s8.cx < 115);
  // The rise of the second stroke's start over the first's, per unit run;
  // starts straight above each other divide by 1.
  const int32_t run = s0.x1 - s1.x1;
  const int32_t r = 100 * (s1.y1 - s0.y1) / (run == 0 ? 1 : run);
  c.AcceptWhen(r < 1);
  c.Need(r >= 165);
}

void CheckAtKanaYUa(CheckContext& c) {
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 125, w >= 190});
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x2 <= 207, y2 <= 135, w <= 190, h(44, 210), hX >= -95, hY <= 102});
  c.Require(c.Mcn(s0, kMcn0), {dev < -29, ox >= 12});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x1 < 216, x2 < 216, w < 235, h >= 59});
  c.Require(s2, {cy >= 13, w >= 210});
  c.Need((s2.cx + s2.w / 2) - (s1.cx + s1.w / 2) >= 15);
}

void CheckAtKanaYOa(CheckContext& c) {
  c.Require(c.S(0), {cy < 201});
  c.Require(c.S(1), {x2 >= 104, w >= 98});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 75, w >= 70});
  c.Require(c.Mcn(s2, kMcn0), {dev <= -49});
  const StrokeView s3 = c.S(3);
  c.Need(s3.code != 73);
  c.Require(s3, {x2 >= 121});
}

void CheckAtKanaYOb(CheckContext& c) {
  c.Require(c.S(3), {x1 >= 110});
  c.Require(c.S(4), {w >= 60});
}

void CheckAtKanaYOc(CheckContext& c) {
  c.Require(c.S(0), {y1 >= 165, x2 < 101, y2 < 71});
  c.Require(c.S(1), {x2 >= 135, y2 <= 84, hX <= 34});
  c.Require(c.S(2), {cy < 171, w >= 60});
}
