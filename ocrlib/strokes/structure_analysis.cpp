// Stroke structure analysis of one extraction attempt: junctions split into
// branch copies (thinned steps), every chain of points traced into a stroke
// group with its pieces and segments, nearly straight bent strokes of the
// thinned steps flattened, and branch ends attached to their segments.
#include "ocrlib/strokes/strokes_internal.h"

namespace {

// Chain index range of a segment: from its first end to its second end.
bool ChainRunWithin(const StrokePointTable& t, const StrokeSegment& s, int* from, int* to) {
  *from = *to = -1;
  for (int i = 0; i < t.chain.count; ++i) {
    if (*from < 0 && t.chain.items[i] == s.end1) *from = i;
    else if (*from >= 0 && t.chain.items[i] == s.end2) {
      *to = i;
      return *to - *from >= 2;
    }
  }
  return false;
}

bool NearlyStraight(const StrokePointTable& t, int from, int to) {
  const StrokePoint& a = t.points.items[t.chain.items[from]];
  const StrokePoint& b = t.points.items[t.chain.items[to]];
  const int64_t dx = b.x - a.x, dy = b.y - a.y;
  const int64_t chord2 = dx * dx + dy * dy;
  if (chord2 == 0) return false;
  int64_t deviation = 0;
  for (int i = from + 1; i < to; ++i) {
    const StrokePoint& p = t.points.items[t.chain.items[i]];
    int64_t c = (p.x - a.x) * dy - (p.y - a.y) * dx;
    if (c < 0) c = -c;
    if (c > deviation) deviation = c;
  }
  if (deviation * 10 < chord2) return true;
  const int64_t ref = t.refSize;
  int64_t limit = (ref * ref * 256 + 200) / 400;
  if (limit < 740) limit = 740;
  return deviation < 2897 && deviation * deviation * 256 < limit * chord2;
}

// Moves the inner points of a chain stretch onto its chord; gives up (and
// puts them back where extraction left them) when two points would coincide.
bool FlattenChainRun(StrokePointTable* t, int from, int to) {
  const StrokePoint& a = t->points.items[t->chain.items[from]];
  const StrokePoint& b = t->points.items[t->chain.items[to]];
  const int64_t dx = b.x - a.x, dy = b.y - a.y;
  const bool steep = (dy < 0 ? -dy : dy) > (dx < 0 ? -dx : dx);
  for (int i = from + 1; i < to; ++i) {
    StrokePoint& p = t->points.items[t->chain.items[i]];
    if (steep) p.x = static_cast<int16_t>(a.x + (p.y - a.y) * dx / dy);
    else p.y = static_cast<int16_t>(a.y + (p.x - a.x) * dy / dx);
  }
  for (int i = from; i < to; ++i) {
    const StrokePoint& p = t->points.items[t->chain.items[i]];
    const StrokePoint& q = t->points.items[t->chain.items[i + 1]];
    if (p.x != q.x || p.y != q.y) continue;
    for (int k = from + 1; k < to; ++k) {
      StrokePoint& r = t->points.items[t->chain.items[k]];
      r.x = r.savedX;
      r.y = r.savedY;
    }
    return false;
  }
  return true;
}

// Flattens the nearly straight bent segments of a group; true when a point
// moved.
bool StraightenChainRuns(StructureWork& w, const StrokeGroup& group) {
  bool changed = false;
  for (const StrokeSegment* s = group.firstSegment; s; s = s->next) {
    int from, to;
    if (s->kind != 2 || !ChainRunWithin(*w.points, *s, &from, &to)) continue;
    if (NearlyStraight(*w.points, from, to) && FlattenChainRun(w.points, from, to))
      changed = true;
  }
  return changed;
}

bool IsLivePoint(const StrokePoint& p) { return p.kind == kPointLive; }

bool StartsPass(const StrokePointTable& t, int i, int pass) {
  const StrokePoint& p = t.points.items[i];
  if (!IsLivePoint(p) || p.used) return false;
  if (pass == 0) return p.degree == 1;
  if (p.degree != 2) return false;
  if (pass == 2) return true;
  const StrokePoint& q = t.points.items[p.neighbours[0]];
  return StepDirectionCode(q.x - p.x, q.y - p.y) % 2 == 1;
}

// A closed chain is stored twice round (minus the repeated start), so that
// direction sections can run across its start.
int WrapClosedChain(StrokePointTable* t) {
  const int n = t->chain.count;
  if (2 * n - 1 > t->chain.capacity) {
    PushErrorCode(kErrCapacityFull);
    return -9;
  }
  for (int i = 1; i < n; ++i) t->chain.items[n + i - 1] = t->chain.items[i];
  t->chain.count = static_cast<int16_t>(2 * n - 1);
  t->chainClosed = 1;
  return 0;
}

int TraceStrokeGroups(StructureWork& w) {
  StrokePointTable* t = w.points;
  for (int i = 0; i < t->points.count; ++i) t->points.items[i].used = 0;
  for (int pass = w.thinned ? 0 : 1; pass <= 2; ++pass) {
    for (int i = 0; i < t->points.count; ++i) {
      if (!StartsPass(*t, i, pass)) continue;
      if (TraceStrokeChain(t, i, 0) < 0) return -9;
      const ChainExtentInfo e = ChainExtent(t);
      if (e.extentX * 10 < t->refSize && e.extentY * 10 < t->refSize) {
        for (int k = 0; k < t->chain.count; ++k) {
          StrokePoint& p = t->points.items[t->chain.items[k]];
          p.kind = kPointNoise;
          p.used = 1;
        }
        continue;
      }
      StrokeGroup* group = AllocGraphPoint(w.graph);
      if (!group) return -9;
      const int16_t groupIndex = static_cast<int16_t>(w.graph->groups.count - 1);
      for (int k = 0; k < t->chain.count; ++k) {
        StrokePoint& p = t->points.items[t->chain.items[k]];
        p.used = 1;
        if (p.edge >= 0 && p.edge < w.lists->edges.count)
          w.lists->edges.items[p.edge].group = groupIndex;
      }
      if (t->chainClosed && pass > 0 && WrapClosedChain(t) < 0) return -9;
      SaveRestoreGraphCounts(w.graph, 0);
      if (BuildGroupPieces(w, group) < 0) return -9;
      if (w.thinned && StraightenChainRuns(w, *group)) {
        SaveRestoreGraphCounts(w.graph, 1);
        if (BuildGroupPieces(w, group) < 0) return -9;
      }
    }
  }
  return 0;
}

}  // namespace

int AnalyseStrokeStructure(const StrokeStepList* steps, StrokePointTable* points,
                           CharFrame* /*frame: NormalizeStrokeFrame fills it later*/,
                           StrokeGraph* graph, StrokeNodeLists* nodeLists) {
  const bool thinned = IsThinnedStep(CurrentStrokeStep(*steps));
  int orientations = steps->family;
  if (orientations != 1 && orientations != 2) orientations = thinned ? 1 : 2;
  StructureWork w{points, graph, nodeLists, thinned, orientations};
  ResetStrokeGraph(graph);
  ResetStrokeNodeLists(nodeLists);
  if (thinned && SplitJunctions(w) < 0) return -9;
  if (TraceStrokeGroups(w) < 0) return -9;
  if (thinned) {
    if (BuildFeaturePoints(w) < 0) return -9;
    AttachEdgesToSegments(w);
  }
  int total = 0;
  for (int i = 0; i < graph->groups.count; ++i)
    total += CountGroupSegments(graph->groups.items[i], graph->segments.count);
  graph->segmentTotal = static_cast<int16_t>(total);
  return 0;
}
