// The "@" katakana rows of the vowels and the KA and SA columns ("@_A" to
// "@SIa" and "@SU" to "@SEa"): windows over up to twelve short strokes with
// inclusive ranges (strict where a row writes < or >), chord measures raw or
// with 128 added to all three outputs, stroke codes and sub-kinds, piece
// slopes and, in a few rows, the candidate's distance. "@KU", "@SO" and
// "@SOa" are in at_kana_ku_so.cpp.
#include "ocrlib/checks/kana_checks.h"

using namespace checkrow;

namespace {

constexpr McnMode kMcn0 = kMcnRaw;     // MCN(S, 0)
constexpr McnMode kMcn3 = kMcnAll128;  // MCN(S, 3)

bool CodeIn(const StrokeView& s, std::initializer_list<int32_t> codes) {
  for (int32_t code : codes) {
    if (s.code == code) return true;
  }
  return false;
}

}  // namespace

void CheckAtKanaA(CheckContext& c) {
  // The chord measure of an optional stroke is one of its tests: measured
  // only when the stroke is there (so in every row).
  const StrokeView s0 = c.OptS(0);
  if (s0.present()) {
    c.Require(s0, {w <= 89});
    c.Require(c.Mcn(s0, kMcn3), {dev >= 91, ox <= 189, oy(111, 139)});
  }
  const StrokeView s1 = c.OptS(1);
  if (s1.present()) {
    c.Require(s1, {x1 <= 189, y2 >= 101, ux <= 0});
    c.Require(c.Mcn(s1, kMcn3), {dev >= 41, ox >= 61, oy >= 128});
  }
  const StrokeView s2 = c.S(2);
  c.Require(c.Mcn(s2, kMcn3), {ox <= 254});
  c.Require(s2, {cx <= 152, cy >= 157, y1 >= 122, y2 >= 116, uy <= 65});
  c.Require(c.Mcn(s2, kMcn0), {oy <= 124});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {y2 <= 239, w >= 115, h >= 174, ux <= 69});
  c.AcceptWhen(s0.present() || s1.present());
  c.AcceptWhen(!CodeIn(s2, {55, 64}));
  c.AcceptWhen(!CodeIn(s3, {131, 140}));
  c.Require(s2, {cy >= 171, h <= 129, dY <= 189});
  c.Need(s2.x2 + s2.y2 >= 201);
  c.Require(s3, {y1 >= 211, y2 >= 111, h >= 231, dY <= 179});
}

void CheckAtKanaAa(CheckContext& c) {
  c.Require(c.S(0), {h >= 81});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {w <= 129});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {y1 >= 151});
  const StrokeView s5 = c.S(5);
  c.Need(s5.w > s5.h);
  const PieceList pieces = c.Pieces(s5);
  c.Need(pieces.count > 0);
  if (pieces.count > 0 && pieces[0].last.x - pieces[0].first.x >= 50)
    c.Need(PieceSlope(pieces[0]) <= 49);
  c.AcceptWhen(s1.subKind != 6);
  const StrokeView s2 = c.S(2);
  c.AcceptWhen(s2.subKind != 6);
  c.Need(s2.x2 - s4.x1 >= 1);
}

void CheckAtKanaAb(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 <= 179, dX <= 119});
  c.Require(c.Mcn(s0, kMcn3), {dev >= 51, ox >= 61});
  const StrokeView s1 = c.S(1);
  c.Need(s1.w < s1.h);
  c.Require(c.Mcn(s1, kMcn3), {ox <= 199});
  c.Need(s1.subKind != 6);
  const StrokeView s2 = c.S(2);
  c.Require(s2, {x2 >= 71, y2 >= 131, dY <= 179});
  c.Require(c.Mcn(s2, kMcn3), {ox <= 254});
  c.Require(s0, {w >= 32, ux <= -16});
  c.Require(s1, {h >= 129, ux <= 11});
  c.Require(s2, {cy >= 156, y2 >= 137});
  c.Require(c.S(3), {cy >= 156});
}

void CheckAtKanaAc(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.RejectWhen(s0, {cx >= 100, cy <= 155});
  c.Require(s0, {x1 <= 109, y1 >= 152});
  c.RejectWhen(s0, {w >= 140, h >= 150});
  c.Require(s0, {dX(21, 129)});
  c.Require(c.Mcn(s0, kMcn3), {ox <= 253});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx(126, 139), x2(81, 249), dY <= 204});
  c.Need(s1.x2 - s1.y2 <= 99);
  c.RejectWhen(s1, {h(170, 250)});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 61, cy >= 64});
  c.RejectWhen(s2, {cy >= 130, cx <= 130});
  c.RejectWhen(s2, {cy <= 150, cx >= 140});
  c.Require(s2, {w <= 129, h >= 41});
  c.Require(c.Mcn(s1, kMcn0), {oy <= 112});
  c.AcceptWhen(s2.cy >= 151);
  c.Need(s2.w / 2 + s2.cx < s0.x2);
}

void CheckAtKanaI(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x2 <= 249, x1 >= 74});
  c.Require(c.Mcn(s0, kMcn0), {dev <= 6, ox <= 4, oy >= -11});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {w <= 79, x1 <= 200, dY >= 126});
  c.Require(c.Mcn(s1, kMcn0), {ox >= -105});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {y1 <= 188, x2 >= 74, uy <= 93});
  c.Require(c.Mcn(s2, kMcn0), {ox <= 119});
  c.RequireIfPresent(c.OptS(3), {cx >= 71});
  c.RequireIfPresent(c.OptS(4), {cx >= 101});
  c.Require(c.S(5), {x1 >= 91, x2 <= 200, ux >= -40});
}

void CheckAtKanaIa(CheckContext& c) {
  c.Require(c.S(0), {w <= 254, h <= 254});
  c.Require(c.S(1), {w <= 69});
}

void CheckAtKanaIb(CheckContext& c) {
  c.Require(c.S(0), {x1 >= 11, w <= 159});
  const StrokeView s2 = c.S(2);
  c.Need(s2.cy - s2.cx <= 89);
  c.Require(c.Mcn(s2, kMcn3), {dev >= 81});
}

void CheckAtKanaU(CheckContext& c) {
  c.Require(c.Mcn(c.S(1), kMcn3), {dev >= 31, ox >= 61});
  c.Require(c.Mcn(c.S(2), kMcn0), {dev <= -12});
}

void CheckAtKanaUa(CheckContext& c) {
  c.Require(c.S(0), {w <= 99});
  c.Require(c.S(1), {cx >= 106});
  c.Require(c.S(2), {x1 <= 99, cy <= 126, h <= 251});
}

void CheckAtKanaUb(CheckContext& c) {
  c.Require(c.S(0), {cx <= 194, cy >= 205});
  c.Require(c.S(1), {cx >= 130, y1 <= 211});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx <= 153, cy <= 226, y2 <= 241});
  c.Require(c.Mcn(s2, kMcn0), {dev(-66, 2), ox >= -21, oy <= 2});
  c.Require(c.S(3), {cx >= 105});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {x1 <= 149, cy <= 191, y2 <= 211, h >= 35, uy >= -28});
  c.Require(c.Mcn(s4, kMcn0), {ox >= -74});
}

void CheckAtKanaUc(CheckContext& c) {
  c.Require(c.S(0), {cy <= 125, w <= 217});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 34, x1 >= 20, x2 >= 38});
  c.Require(c.Mcn(s1, kMcn0), {ox <= 63});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 32, x1 >= 30, w >= 29});
  c.RejectIf(CodeIn(s2, {20, 37}));
  c.RejectIf(CodeIn(s2, {45, 56}) && c.distance() >= 500);
  const StrokeView s3 = c.S(3);
  c.Require(s3, {x1 >= 50, w <= 217, h >= 237, ux >= -89});
  c.RejectIf(s3.code == 93 && c.distance() >= 400);
}

void CheckAtKanaE(CheckContext& c) {
  c.Require(c.S(0), {h >= 77});
  c.Require(c.S(1), {y1 <= 120});
  const StrokeView s3 = c.S(3);
  const int32_t hw = s3.w / 2;
  c.Need(2 * (hw - s3.x2 + s3.cx) >= (s3.x1 - s3.cx) + hw);
  c.Need(s3.x1 <= s3.x2);
  c.Require(s3, {cy >= 157});
}

void CheckAtKanaO(CheckContext& c) {
  c.Require(c.S(2), {y1 <= 123, uy <= 60});
  c.Require(c.Mcn(c.S(7), kMcn0), {ox <= 30});
  c.Require(c.S(8), {cy >= 193});
  c.Require(c.S(9), {y1 >= 161});
}

void CheckAtKanaOa(CheckContext& c) {
  c.Need(c.S(0).code != 31);
  c.Require(c.Mcn(c.S(1), kMcn3), {ox >= 101});
  c.Require(c.S(2), {y1 <= 100, uy <= 50});
  c.Require(c.S(3), {h >= 55});
}

void CheckAtKanaKA(CheckContext& c) {
  c.Require(c.S(0), {x2 >= 61, w <= 179, dX <= 219, cx >= 130});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cy <= 174, x1 >= 81, h >= 113});
  c.Need(s1.w < s1.h);
  if (s1.dX >= 130) c.Require(s1, {dY >= 181});
  c.Need(s1.code != 74);
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cy >= 61, x1 <= 129, w >= 51, dY(51, 179), ux <= 11, uy <= 47});
  c.RejectWhen(c.Mcn(s2, kMcn3), {dev(100, 170)});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {w >= 16, y1 >= 121, dY >= 116});
  c.Require(c.Mcn(s3, kMcn3), {ox <= 209});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {x2 <= 117, dX >= 71});
  c.Require(c.Mcn(s4, kMcn0), {dev <= -14});
  c.Require(c.Mcn(c.S(5), kMcn3), {dev <= 129});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx >= 31, x1 >= 61});
  c.Require(c.Mcn(s6, kMcn0), {dev <= -12});
  c.Require(c.S(7), {cx >= 71, x1 >= 46, x2 >= 81});
}

void CheckAtKanaKAa(CheckContext& c) {
  c.Require(c.S(0), {cy >= 83});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {x1 >= 84, x2(56, 150), w >= 39, ux >= -2});
  c.Require(c.Mcn(s1, kMcn0), {oy <= 16});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx <= 101, y1 <= 243, w <= 132});
  c.Require(c.Mcn(s2, kMcn0), {dev >= -123, ox <= 122});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {x2 <= 129, cx <= 105, x1(56, 150), w <= 128, h <= 80});
  c.Require(c.Mcn(s3, kMcn0), {ox <= -9});
  c.Require(c.S(4), {w <= 169, ux <= 84});
}

void CheckAtKanaKI(CheckContext& c) {
  c.Require(c.S(0), {ux >= -31});
  c.Require(c.S(1), {w >= 19});
  c.Require(c.Mcn(c.S(2), kMcn0), {dev <= -16, ox <= -15});
  c.Require(c.S(3), {y2 >= 56});
  c.Require(c.S(4), {cy >= 28, y1 >= 29, h >= 53});
  c.Require(c.S(5), {h <= 79, cy >= 61, y1 >= 56, x2 >= 68, y2 >= 86, ux >= -14, uy >= -38});
  c.Require(c.S(6), {y2 >= 31, w >= 29, h <= 154, uy <= 77});
  c.Require(c.S(7), {x1 <= 154});
  c.Require(c.Mcn(c.S(9), kMcn3), {dev <= 127, oy >= 129});
  c.Require(c.S(11), {cy >= 156, y2 >= 122, w >= 21, uy <= 37});
}

void CheckAtKanaKIa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x1 <= 160, y2 <= 240, uy <= 38});
  c.Need(s0.h < 2 * s0.w);
  c.Require(c.Mcn(s0, kMcn0), {dev <= -17});
  c.Need(s0.code != 52);
  const StrokeView s1 = c.OptS(1);
  if (s1.present()) {
    c.Require(s1, {w <= 154, ux <= 76});
    c.Require(c.Mcn(s1, kMcn0), {ox <= 59});
  }
  c.Require(c.S(2), {h <= 126, uy >= -63});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {y1 <= 207});
  c.Require(c.Mcn(s3, kMcn0), {oy >= -50});
  const StrokeView s4 = c.S(4);
  c.Require(s4, {x1 >= 115, uy <= -37});
  c.Require(c.Mcn(s4, kMcn0), {oy <= 72});
  c.Require(c.S(5), {uy <= 25});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {x2 >= 114, dX <= 109});
  c.Require(c.Mcn(s6, kMcn0), {dev >= -104, oy <= 97});
  const StrokeView s7 = c.S(7);
  c.Require(s7, {y2 <= 204, h <= 108, ux(-16, 17), uy(-35, 3)});
  c.Require(c.Mcn(s7, kMcn0), {ox <= 4, oy <= 50});
  const StrokeView s8 = c.S(8);
  c.Require(s8, {cy <= 203, y1 <= 249});
  const McnView m8 = c.Mcn(s8, kMcn3);
  c.Need(m8.present && m8.ox + m8.oy >= 261);
  const StrokeView s9 = c.OptS(9);
  if (s9.present()) {
    c.Require(s9, {x1 <= 154, x2 <= 160, w <= 128, ux <= 21});
    c.Require(c.Mcn(s9, kMcn0), {dev(-121, -4), ox >= -119});
  }
  // The top bar may not run long and flat through the middle of the stroke.
  const PieceList pieces = c.Pieces(s0);
  for (int i = pieces.InnerBegin(); i < pieces.InnerEnd() && !c.decided(); ++i) {
    const PieceView& p = pieces[i];
    if (p.entryCode != 3 && p.entryCode != 4) continue;
    const int32_t run = p.last.x - p.first.x;
    c.RejectIf(run >= s0.w - 30);
    c.RejectIf(PieceSlope(p) <= 50 && 100 * run >= s0.w * 200 / 3);
  }
}

void CheckAtKanaKUa(CheckContext& c) {
  c.Require(c.S(0), {x1 >= 101, dX >= 81});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 141, x2 >= 81, w <= 129, dX <= 199});
  c.RejectIf(s1.code == 30 && c.distance() >= 500);
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cy >= 87});
  c.RejectIf(s2.code == 53 && c.distance() >= 700);
  c.Require(c.S(3), {cx >= 71, x1 >= 91, x2 >= 91, w >= 41});
}

void CheckAtKanaKE(CheckContext& c) {
  c.Require(c.Mcn(c.S(0), kMcn0), {ox >= -82});
  c.Require(c.S(1), {x2 >= 80});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {x1 <= 93});
  c.Require(c.Mcn(s2, kMcn0), {dev <= -35});
  const StrokeView s3 = c.OptS(3);
  if (s3.present()) {
    c.Require(s3, {ux >= -17});
    c.Require(c.Mcn(s3, kMcn0), {dev <= 34});
  }
  const StrokeView s4 = c.OptS(4);
  if (s4.present()) {
    c.Require(s4, {cy <= 221, y1 >= 224, y2 <= 184, h >= 72, ux >= -10});
    c.Require(c.Mcn(s4, kMcn0), {oy(-17, 4)});
  }
  c.Require(c.Mcn(c.S(5), kMcn0), {ox <= 73});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {cx >= 86, ux >= 8, uy <= 16});
  c.Require(c.Mcn(s6, kMcn0), {ox <= 10, oy <= -16});
  const StrokeView s7 = c.S(7);
  c.Require(s7, {w >= 54});
  c.Require(c.Mcn(s7, kMcn0), {dev >= -119, ox <= 100});
  c.RejectIf(s7.code == 63 && c.distance() >= 1700);
}

void CheckAtKanaKO(CheckContext& c) {
  c.Require(c.S(0), {x2 <= 147, ux >= -64});
  const StrokeView s1 = c.S(1);
  c.Need(s1.x2 - s1.y2 >= 129);
  c.Require(c.Mcn(s1, kMcn0), {oy <= 92});
}

void CheckAtKanaKOa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Need(s0.x2 + s0.y2 >= 426);
  c.Require(c.Mcn(s0, kMcn3), {dev >= 81, ox >= 71, oy >= 121});
  const StrokeView s1 = c.S(1);
  c.Need(s1.x2 - s1.y2 >= 101);
  c.Require(s1, {x1 >= 151, x2 >= 121, w >= 131});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {y1 >= 151, y2 <= 63, h >= 121, dX <= 169, dY >= 181});
  c.Require(c.Mcn(s2, kMcn3), {dev <= 39, ox >= 231});
}

void CheckAtKanaSAa(CheckContext& c) {
  c.Require(c.S(1), {w <= 129});
  c.Require(c.S(4), {w <= 129});
  const StrokeView s5 = c.S(5);
  c.Require(s5, {w <= 59, x2 <= 129});
  c.Require(c.Mcn(s5, kMcn3), {ox >= 71});
  const StrokeView s6 = c.S(6);
  c.Require(s6, {h <= 169, ux <= 129});
  const McnView m6 = c.Mcn(s6, kMcn3);
  c.Require(m6, {dev >= 51});
  c.Need(m6.ox - m6.oy <= 29);
  const StrokeView s7 = c.S(7);
  c.Require(s7, {uy <= 127});
  const McnView m7 = c.Mcn(s7, kMcn3);
  c.Require(m7, {dev <= 127});
  c.Need(m7.ox + m7.oy >= 129);
}

void CheckAtKanaSAb(CheckContext& c) {
  c.Require(c.S(0), {y1 >= 241});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {h <= 129});
  c.Require(c.Mcn(s3, kMcn3), {oy >= 1, dev >= 11});
  c.Require(c.Mcn(c.S(4), kMcn3), {ox <= 179});
}

void CheckAtKanaSI(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Need(s0.h < 2 * s0.w);
  c.Require(s0, {cx(28, 129)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 101, x1 >= 171, y1 >= 44, w >= 106, ux >= 53, uy >= -19});
  c.Require(c.Mcn(s1, kMcn0), {ox <= 81});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {cx >= 121, w >= 115});
  c.Require(c.Mcn(s2, kMcn0), {ox >= -78});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {cy <= 214, w <= 199});
  c.Need(s3.h < 2 * s3.w);
  // Only a first dot far right of the last stroke and not above it fails.
  c.RejectIf(s0.cx - s3.cx >= 70 && s0.cy - s3.cy <= 30);
}

void CheckAtKanaSIa(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {cx(23, 159), cy >= 177, w(18, 221)});
  const StrokeView s1 = c.S(1);
  c.Require(s1, {cx >= 128, cy >= 11, w >= 129, h >= 25});
  c.RejectWhen(s1, {h >= 240, w <= 170});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {w(11, 184), cx <= 162, cy <= 227});
  c.RejectIf(3 * s2.w <= s2.h);
  c.RejectIf(2 * s0.w <= s0.h && 2 * s2.w <= s2.h);
  const PieceList pieces = c.Pieces(s1);
  c.Need(pieces.count > 0);
  if (pieces.count > 0) {
    const PieceView& longest = pieces[LongestPiece(pieces)];
    if (longest.last.x != longest.first.x) c.Need(PieceSlope(longest) >= 1);
  }
  c.Need(s0.cx - s2.cx < s0.cy - s2.cy);
}

void CheckAtKanaSU(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {h >= 131, dY <= 69});
  c.Require(c.S(1), {h >= 51});
  const StrokeView s2 = c.S(2);
  c.Require(s2, {h >= 41});
  c.Require(c.Mcn(s2, kMcn3), {dev <= 89});
  const StrokeView s3 = c.S(3);
  c.Require(s3, {y2 <= 252, h <= 252});
  c.Require(c.S(5), {uy >= -5});
  c.AcceptWhen(s2.code != 24 || s3.code != 40);
  const StrokeView s4 = c.S(4);
  c.AcceptWhen(s4.x2 + 50 > s4.x1);
  const PieceList pieces = c.Pieces(s2);
  c.Need(pieces.count > 0);
  if (pieces.count > 0 && s0.h > 0)
    c.Need((pieces[0].last.y - pieces[0].first.y) * 100 / s0.h >= 31);
}

void CheckAtKanaSUa(CheckContext& c) {
  c.Require(c.S(0), {cx <= 124, h >= 140, uy >= 70});
  c.Require(c.S(1), {h >= 171});
  c.Require(c.S(2), {cx <= 223});
}

void CheckAtKanaSE(CheckContext& c) {
  const StrokeView s0 = c.S(0);
  c.Require(s0, {x2 >= 111, h <= 199});
  c.Require(c.Mcn(s0, kMcn0), {ox >= -77});
  c.Require(c.S(2), {x1 >= 111, y2 >= 27, w >= 66, h >= 80, ux >= -20, uy >= -94});
  c.Require(c.S(3), {w >= 70});
  c.Require(c.S(4), {x2 <= 190, w <= 176, ux >= -88});
}

void CheckAtKanaSEa(CheckContext& c) {
  c.Require(c.S(0), {h <= 190});
  c.Require(c.S(1), {w <= 232, ux <= 115});
  c.Require(c.S(2), {cy <= 145, x1 >= 138, y2 >= 37});
  c.Require(c.S(3), {w >= 92});
  c.Require(c.S(4), {h <= 235, uy <= 117});
  c.Require(c.S(5), {uy >= -48});
}
