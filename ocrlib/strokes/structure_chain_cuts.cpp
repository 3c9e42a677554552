// One traced chain becomes a stroke group: the chain is cut into pieces of
// monotone step direction, consecutive pieces are connected by their turn
// (which side turns into which), and runs of connected pieces become the
// stroke segments with their shape code kind x 10 + sub-kind. Up to 400
// sections per chain.
#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kMaxSections = 400;

struct Section {
  int first, last;  // chain indices of its first and last point
  int code;
};

struct Vec {
  int64_t x, y;
};

// The chain as pieces see it: a closed chain is stored doubled (its ring
// twice, n = 2k + 1) and indices wrap by the ring length k.
struct ChainView {
  const StrokePointTable* points;
  int count;
  bool closed;
  int ring;  // k for a closed chain
  uint16_t IndexAt(int i) const {
    if (closed && ring > 0) {
      while (i >= count) i -= ring;
      while (i < 0) i += ring;
    } else {
      i = i < 0 ? 0 : i >= count ? count - 1 : i;
    }
    return points->chain.items[i];
  }
  const StrokePoint& At(int i) const { return points->points.items[IndexAt(i)]; }
  Vec Step(int from, int to, int orientation) const {
    const StrokePoint& a = At(from);
    const StrokePoint& b = At(to);
    const int64_t dx = b.x - a.x, dy = b.y - a.y;
    return orientation == 0 ? Vec{dx, dy} : Vec{dx - dy, dx + dy};
  }
};

int CodeDifference(int a, int b) {
  const int d = a > b ? a - b : b - a;
  return d < 5 ? d : 8 - d;
}

int MeanCode(int a, int b) {
  if ((a == 6 && b == 0) || (a == 0 && b == 6)) return 7;
  return (a + b) / 2;
}

bool IsEven(int code) { return code % 2 == 0; }

int64_t Cross(Vec u, Vec w) { return w.y * u.x - w.x * u.y; }

// Steps of the chain with their direction codes, zero steps left out.
struct StepList {
  int start[kMaxChainWords];  // chain index where the step starts
  int code[kMaxChainWords];
  int count = 0;
};

void ListSteps(const ChainView& chain, int from, int to, int orientation, StepList& out) {
  out.count = 0;
  for (int i = from; i < to; ++i) {
    const Vec s = chain.Step(i, i + 1, orientation);
    if (s.x == 0 && s.y == 0) continue;
    out.start[out.count] = i;
    out.code[out.count] = StepDirectionCode(static_cast<int>(s.x), static_cast<int>(s.y));
    ++out.count;
  }
}

// Cuts chain indices from..to into sections of one direction.
int SplitChainByDirection(const ChainView& chain, int from, int to, int orientation,
                          bool closed, Section* sections, int* sectionCount) {
  StepList steps;
  ListSteps(chain, from, to, orientation, steps);
  int n = 0;
  auto record = [&](int first, int last, int code) {
    if (n >= kMaxSections) {
      PushErrorCode(kErrCapacityFull);
      return false;
    }
    sections[n++] = {first, last, code};
    return true;
  };
  if (steps.count == 0) {
    *sectionCount = 0;
    return 0;
  }
  int start = steps.start[0], code = steps.code[0];
  int firstBoundary = -1, stop = 0;
  bool done = false;
  for (int s = 1; s < steps.count && !done; ++s) {
    const int c = steps.code[s];
    if (CodeDifference(code, c) <= 1) {
      if (!IsEven(c) && IsEven(code)) code = c;
      continue;
    }
    if (IsEven(code) && IsEven(c)) {
      code = MeanCode(code, c);
      continue;
    }
    const int boundary = steps.start[s];
    if (closed && firstBoundary < 0) {
      firstBoundary = boundary;
      stop = boundary + (chain.count - 1) / 2;
    } else {
      if (!record(start, boundary, code)) return -9;
      done = closed && boundary >= stop;
    }
    start = boundary;
    code = c;
  }
  if (!closed) {
    if (!record(start, to, code)) return -9;
  } else if (firstBoundary < 0 || !done) {
    // A ring without a turn worth a boundary, or one cut short: one section
    // over one round.
    n = 0;
    if (!record(from, from + chain.ring, steps.code[0])) return -9;
  }
  // Second pass: each section reaches back over the steps before it that
  // keep within one of its code.
  for (int k = 0; k < n; ++k) {
    Section& sec = sections[k];
    int s = 0;
    while (s < steps.count && steps.start[s] < sec.first) ++s;
    for (--s; s >= 0; --s) {
      const int c = steps.code[s];
      if (CodeDifference(sec.code, c) <= 1) {
      } else if (IsEven(sec.code) && IsEven(c)) {
        sec.code = MeanCode(sec.code, c);
      } else {
        break;
      }
      sec.first = steps.start[s];
    }
  }
  *sectionCount = n;
  return 0;
}

// Direction class of a chord: 0 horizontal, 1 rising diagonal, 2 vertical,
// 3 falling diagonal.
int DirectionClass(Vec v) {
  if (v.x == 0) return 2;
  if (v.y == 0) return 0;
  return (v.x > 0) == (v.y > 0) ? 1 : 3;
}

bool Refused(const ChainView& chain) {
  const int n = chain.count;
  if (n < 2) return false;
  auto same = [&chain](int i, int j) {
    const StrokePoint& a = chain.At(i);
    const StrokePoint& b = chain.At(j);
    return a.x == b.x && a.y == b.y;
  };
  if (n == 2 && same(0, 1)) return true;
  if (n >= 3 && ((same(0, 1) && same(1, 2)) || (same(n - 1, n - 2) && same(n - 2, n - 3))))
    return true;
  Vec previous{0, 0};
  for (int i = 0; i + 1 < n; ++i) {
    const Vec s = chain.Step(i, i + 1, 0);
    if (s.x == 0 && s.y == 0) continue;
    if (Cross(previous, s) == 0 && previous.x * s.x + previous.y * s.y < 0) return true;
    previous = s;
  }
  return false;
}

struct PieceList {
  StrokePiece* items[kMaxSections];
  int count = 0;
};

// Pieces from sections: a section inside the previous piece is dropped;
// overlapping pieces share their boundary at the middle index.
int MakePieces(StructureWork& w, const ChainView& chain, const Section* sections, int n,
               PieceList& pieces) {
  Section kept[kMaxSections];
  int m = 0;
  for (int i = 0; i < n; ++i) {
    if (m > 0 && sections[i].first >= kept[m - 1].first && sections[i].last <= kept[m - 1].last)
      continue;
    kept[m++] = sections[i];
  }
  if (chain.closed && m > 1) {
    Section& first = kept[0];
    Section& last = kept[m - 1];
    const int wrapEnd = last.last - chain.ring;  // ring position of the last end
    if (wrapEnd >= first.last) {
      for (int i = 1; i < m; ++i) kept[i - 1] = kept[i];
      --m;
    } else if (wrapEnd > first.first) {
      const int middle = (first.first + wrapEnd) / 2;
      first.first = middle;
      last.last = middle + chain.ring;
    }
  }
  for (int i = 1; i < m; ++i)
    if (kept[i].first < kept[i - 1].last) {
      const int middle = (kept[i].first + kept[i - 1].last) / 2;
      kept[i - 1].last = middle;
      kept[i].first = middle;
    }
  pieces.count = 0;
  for (int i = 0; i < m; ++i) {
    if (kept[i].last <= kept[i].first) continue;  // squeezed out by its neighbours
    StrokePiece* piece = AllocStrokeSegment(w.graph);
    if (!piece) return -9;
    piece->firstChain = static_cast<int16_t>(kept[i].first);
    piece->lastChain = static_cast<int16_t>(kept[i].last);
    const int count = kept[i].last - kept[i].first + 1;
    uint16_t* words = AllocGraphWords(w.graph, count);
    if (!words) return -9;
    const StrokePoint& a = chain.At(kept[i].first);
    const StrokePoint& b = chain.At(kept[i].last);
    const bool reversed = b.x < a.x || (b.x == a.x && b.y < a.y);
    for (int k = 0; k < count; ++k) {
      const int index = reversed ? kept[i].last - k : kept[i].first + k;
      words[k] = chain.IndexAt(index);
    }
    piece->words = words;
    piece->pointCount = static_cast<int16_t>(count);
    piece->shapeCode = static_cast<uint8_t>(kept[i].code);
    for (int o = 0; o < 2; ++o)
      piece->directionClass[o] = static_cast<uint8_t>(
          o < w.orientations ? DirectionClass(chain.Step(kept[i].first, kept[i].last, o)) : 0);
    piece->segmentCount = 0;
    if (pieces.count > 0) {
      piece->prev = pieces.items[pieces.count - 1];
      piece->prev->next = piece;
    }
    pieces.items[pieces.count++] = piece;
  }
  return 0;
}

// The turn of one connection seen in one orientation: turn class 0..3, or -1
// when the two vectors point into opposite quadrants.
int TurnClass(Vec a, Vec b, int classA, int classB, int previous) {
  if (a.x == 0 && classA == 3) a.x = a.y >= 0 ? -1 : 1;
  if (a.y == 0 && classA == 1) a.y = a.x < 1 ? -1 : 1;
  if (b.x == 0 && (classB == 1 || classB == 2)) b.x = b.y < 1 ? -1 : 1;
  if (b.y == 0 && (classB == 3 || classB == 0)) b.y = b.x >= 0 ? -1 : 1;
  if (a.x * b.x < 1 && a.y * b.y < 1) return -1;
  if (a.y >= 1 && b.y >= 1 && a.x >= 0) return 0;
  if (a.x >= 1 && b.x >= 1 && a.y < 1) return 1;
  if (a.y < 0 && b.y < 0 && a.x < 1) return 2;
  if (a.x < 0 && b.x < 0 && a.y >= 0) return 3;
  return previous;
}

void ConnectPieces(StructureWork& w, const ChainView& chain, StrokePiece* p, StrokePiece* q,
                   bool* forward) {
  const int f = w.orientations;
  const int j = p->lastChain;
  Vec u = chain.Step(j, j - 1, 0);
  Vec v = chain.Step(j, j + 1, 0);
  if (Cross(u, v) == 0) {
    u = chain.Step(j, p->firstChain, 0);
    v = chain.Step(j, q->lastChain, 0);
  }
  const int64_t c = Cross(u, v);
  if (c != 0) *forward = c > 0;
  StrokePiece* a = *forward ? p : q;
  StrokePiece* b = *forward ? q : p;
  const Vec va = *forward ? u : v;
  const Vec vb = *forward ? v : u;
  if (a->successorCount >= 2) return;
  const int slot = a->successorCount++;
  a->successors[slot] = b;
  ++b->predecessorCount;
  bool marked[8] = {};
  int t = 0;
  for (int o = 0; o < f; ++o) {
    const Vec ra = o == 0 ? va : Vec{va.x - va.y, va.x + va.y};
    const Vec rb = o == 0 ? vb : Vec{vb.x - vb.y, vb.x + vb.y};
    const int turn = TurnClass(ra, rb, a->directionClass[o], b->directionClass[o], t);
    if (turn < 0) {
      a->turnCode[slot][o] = kNoTurn;
      continue;
    }
    t = turn;
    a->turnCode[slot][o] = static_cast<uint8_t>(t * f + o);
    marked[t * f + o] = true;
  }
  const int ring = 4 * f;
  // Where the run of marked positions begins and ends (the first such run).
  int entry = -1, exit = -1;
  for (int i = 0; i < ring; ++i) {
    if (entry < 0 && marked[i] && !marked[(i + ring - 1) % ring]) entry = i;
    if (exit < 0 && marked[i] && !marked[(i + 1) % ring]) exit = i;
  }
  a->entryCode[slot] = static_cast<uint8_t>(entry < 0 ? 0 : entry);
  a->exitCode[slot] = static_cast<uint8_t>(exit < 0 ? 0 : exit);
}

int SuccessorSlot(const StrokePiece* a, const StrokePiece* b) {
  for (int s = 0; s < a->successorCount; ++s)
    if (a->successors[s] == b) return s;
  return -1;
}

bool PieceHolds(const StrokePiece* piece, uint16_t point) {
  for (int k = 0; k < piece->pointCount; ++k)
    if (piece->words[k] == point) return true;
  return false;
}

int Modulo(int v, int m) { return ((v % m) + m) % m; }

void SetSegmentCode(const StructureWork& w, StrokeSegment* s) {
  if (s->kind == 0) {
    s->end1 = s->end2 = -1;
    return;
  }
  StrokePiece* const* pieces = s->pieces;
  const StrokePiece* first = pieces[0];
  if (s->pieceCount == 1) {
    s->kind = 1;
    s->subKind = first->directionClass[0];
    s->end1 = static_cast<int16_t>(first->words[0]);
    s->end2 = static_cast<int16_t>(first->words[first->pointCount - 1]);
    return;
  }
  const StrokePiece* second = pieces[1];
  const StrokePiece* last = pieces[s->pieceCount - 1];
  const StrokePiece* beforeLast = pieces[s->pieceCount - 2];
  const uint16_t firstHead = first->words[0];
  const uint16_t lastTail = last->words[last->pointCount - 1];
  s->end1 = static_cast<int16_t>(PieceHolds(second, firstHead)
                                     ? first->words[first->pointCount - 1] : firstHead);
  s->end2 = static_cast<int16_t>(PieceHolds(beforeLast, lastTail) ? last->words[0] : lastTail);
  const int ring = 4 * w.orientations;
  int kind = 2, previousExit = 0;
  for (int i = 0; i + 1 < s->pieceCount; ++i) {
    const int slot = SuccessorSlot(pieces[i], pieces[i + 1]);
    const int entry = slot >= 0 ? pieces[i]->entryCode[slot] : 0;
    const int exit = slot >= 0 ? pieces[i]->exitCode[slot] : 0;
    if (i == 0) s->subKind = static_cast<uint8_t>(entry);
    else kind += Modulo(entry - previousExit, ring);
    kind += Modulo(exit - entry, ring);
    previousExit = exit;
  }
  const int slot = SuccessorSlot(beforeLast, last);
  for (int o = 0; o < w.orientations; ++o)
    if (beforeLast->directionClass[o] == last->directionClass[o] && slot >= 0 &&
        beforeLast->turnCode[slot][o] != kNoTurn)
      ++kind;
  s->kind = static_cast<uint8_t>(kind < kSegmentUnset ? kind : kSegmentUnset - 1);
}

int BuildStrokeSegments(StructureWork& w, StrokeGroup* group, const PieceList& pieces) {
  StrokeSegment* previous = nullptr;
  auto begin = [&](StrokePiece* piece) -> StrokeSegment* {
    StrokeSegment* s = AllocStrokeJoint(w.graph, piece);
    if (!s) return nullptr;
    if (previous) previous->next = s;
    else group->firstSegment = s;
    previous = s;
    return s;
  };
  if (pieces.count == 1) {
    if (!begin(pieces.items[0])) return -9;
  } else {
    for (int i = 0; i < pieces.count; ++i) {
      StrokePiece* start = pieces.items[i];
      if (start->predecessorCount != 0) continue;
      for (int s = 0; s < start->successorCount; ++s) {
        StrokeSegment* seg = begin(start);
        if (!seg) return -9;
        StrokePiece* piece = start->successors[s];
        for (int n = 0; piece && n < pieces.count; ++n) {
          if (LinkJointToSegment(w.graph, seg, piece) < 0) return -9;
          piece = piece->successorCount > 0 ? piece->successors[0] : nullptr;
        }
      }
    }
    if (!previous && group->closed) {
      StrokeSegment* ring = begin(pieces.items[0]);
      if (!ring) return -9;
      for (int i = 1; i < pieces.count; ++i)
        if (LinkJointToSegment(w.graph, ring, pieces.items[i]) < 0) return -9;
      ring->kind = 0;
      ring->subKind = 0;
    }
  }
  for (int i = 0; i < pieces.count; ++i) {
    const StrokePiece* piece = pieces.items[i];
    if (piece->segmentCount != 2) continue;
    const uint8_t endCode = piece->successorCount == 0 ? 1 : 0;
    for (int k = 0; k < 2; ++k) {
      StrokeSegment* s = piece->segments[k];
      if (s->neighbourCount >= 2) continue;
      s->neighbours[s->neighbourCount] = piece->segments[1 - k];
      s->neighbourEndCodes[s->neighbourCount] = endCode;
      ++s->neighbourCount;
    }
  }
  for (StrokeSegment* s = group->firstSegment; s; s = s->next) SetSegmentCode(w, s);
  return 0;
}

}  // namespace

int StepDirectionCode(int dx, int dy) {
  if (dx == 0) return dy < 0 ? 0 : 4;
  if (dx < 0) return dy < 0 ? 1 : dy == 0 ? 2 : 3;
  return dy > 0 ? 5 : dy == 0 ? 6 : 7;
}

int CountGroupSegments(const StrokeGroup& group, int limit) {
  int n = 0;
  for (const StrokeSegment* s = group.firstSegment; s && n < limit; s = s->next) ++n;
  return n;
}

int BuildGroupPieces(StructureWork& w, StrokeGroup* group) {
  const StrokePointTable* points = w.points;
  group->closed = static_cast<uint16_t>(points->chainClosed);
  group->firstPiece = nullptr;
  group->firstSegment = nullptr;
  ChainView chain{points, points->chain.count, points->chainClosed != 0,
                  (points->chain.count - 1) / 2};
  if (Refused(chain)) {
    PushErrorCode(kErrStrokeExtraction);
    return -9;
  }
  if (chain.count < 2) return 0;
  Section sections[kMaxSections];
  Section subSections[kMaxSections];
  int n = 0;
  if (SplitChainByDirection(chain, 0, chain.count - 1, 0, chain.closed, sections, &n) < 0)
    return -9;
  if (!w.thinned) {
    // Polygon steps: every section cut again in the turned coordinates.
    Section split[kMaxSections];
    int m = 0;
    for (int i = 0; i < n; ++i) {
      int k = 0;
      if (SplitChainByDirection(chain, sections[i].first, sections[i].last, 1, false,
                                subSections, &k) < 0)
        return -9;
      for (int j = 0; j < k; ++j) {
        if (m >= kMaxSections) {
          PushErrorCode(kErrCapacityFull);
          return -9;
        }
        split[m++] = subSections[j];
      }
    }
    for (int i = 0; i < m; ++i) sections[i] = split[i];
    n = m;
  }
  PieceList pieces;
  if (MakePieces(w, chain, sections, n, pieces) < 0) return -9;
  if (pieces.count == 0) return 0;
  group->firstPiece = pieces.items[0];
  bool forward = true;
  for (int i = 0; i + 1 < pieces.count; ++i)
    ConnectPieces(w, chain, pieces.items[i], pieces.items[i + 1], &forward);
  if (chain.closed && pieces.count > 1)
    ConnectPieces(w, chain, pieces.items[pieces.count - 1], pieces.items[0], &forward);
  return BuildStrokeSegments(w, group, pieces);
}
