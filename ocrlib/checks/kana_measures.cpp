// The measures the plain katakana rows share: holes by size, the bend of a
// stroke's last piece and the first step of a stroke.
#include "ocrlib/checks/kana_checks.h"

namespace {

const StrokePoint* PointOf(const CheckContext& c, int index) {
  const StrokePointTable& t = *c.args().points;
  return index >= 0 && index < t.points.count ? &t.points.items[index] : nullptr;
}

}  // namespace

bool UpperLeftHole(const HoleList::Hole& h) {
  return h.points >= 6 && Within(h.frameX, 6, 165) && h.frameY > 130;
}

bool LoopHole(const HoleList::Hole& h) {
  return h.points >= 6 && h.frameX <= 155 && h.frameY > 100;
}

HoleList HolesRejecting(CheckContext& c, bool (*kind)(const HoleList::Hole&), int line) {
  const HoleList holes = c.Holes(kMaxListedHoles);
  c.RejectIf(CountHoles(holes, kind) > 0, line);
  return holes;
}

const HoleList::Hole* LargestHole(const HoleList& holes) {
  const HoleList::Hole* best = nullptr;
  for (int i = 0; i < holes.count; ++i) {
    if (best == nullptr || holes.holes[i].points > best->points) best = &holes.holes[i];
  }
  return best;
}

int32_t LastPieceLeftBend(CheckContext& c, const StrokeView& s, int line) {
  const PieceList pieces = c.Pieces(s);
  if (!c.Need(pieces.count > 0, line)) return 0;
  const StrokePiece& piece = *pieces[pieces.count - 1].piece;
  const StrokePoint* p = PointOf(c, piece.words[0]);
  const StrokePoint* q = PointOf(c, piece.words[piece.pointCount - 1]);
  if (!c.Need(p != nullptr && q != nullptr && q->y >= p->y, line)) return 0;
  uint16_t kept[kMaxPieceWords];
  int n = 0;
  for (int i = 0; i < piece.pointCount && n < kMaxPieceWords; ++i) {
    const StrokePoint* r = PointOf(c, piece.words[i]);
    if (r == nullptr) continue;
    const int64_t left = int64_t{r->y - p->y} * (q->x - p->x);
    const int64_t right = int64_t{r->x - p->x} * (q->y - p->y);
    if (left >= right) kept[n++] = piece.words[i];
  }
  if (!c.Need(n > 0, line)) return 0;
  return ChordDeviationInFrame(c.args(), kept, n, false);
}

bool FirstStep(CheckContext& c, const StrokeView& s, int32_t* dx, int32_t* dy, int line) {
  *dx = *dy = 0;
  const PieceList pieces = c.Pieces(s);
  if (!c.Need(pieces.count > 0 && pieces[0].piece->pointCount >= 2, line)) return false;
  const PointView p0 = StrokePointInFrame(c.args(), pieces[0].piece->words[0]);
  const PointView p1 = StrokePointInFrame(c.args(), pieces[0].piece->words[1]);
  if (!c.Need(p0.present && p1.present, line)) return false;
  *dx = p1.x - p0.x;
  *dy = p1.y - p0.y;
  return true;
}
