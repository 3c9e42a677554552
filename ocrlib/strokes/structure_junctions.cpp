// Junctions of the thinned steps: every point of degree 3 or more is split
// into one copy per branch; branches that continue each other are joined
// through the junction (by their angles, or for a three-way junction by
// trying each pairing and keeping the cheapest strokes), the branch ends get
// their edge records, pairs of edges at one junction become feature points,
// and every edge learns the segments it belongs to.
#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kThreeWay = 3;

StrokePoint& Point(StructureWork& w, int i) { return w.points->points.items[i]; }

GeoPoint Geo(const StrokePoint& p) { return {p.x, p.y}; }

// Angle at the junction between branches i and j, towards the second point
// of each branch.
int BranchAngle(StructureWork& w, const StrokeNode& node, int i, int j) {
  const StrokePoint& junction = Point(w, node.junction);
  const StrokePoint& ci = Point(w, node.firstCopy + i);
  const StrokePoint& cj = Point(w, node.firstCopy + j);
  if (ci.degree < 1 || cj.degree < 1) return 0;
  return AngleAtVertex(Geo(junction), Geo(Point(w, ci.neighbours[0])),
                       Geo(Point(w, cj.neighbours[0])));
}

bool Near(int angle, int target) { return angle - target <= 20 && target - angle <= 20; }

// Class 1..4 of a three-way junction from its angles, -1 when no branch
// clearly continues another.
int ClassifyThreeWay(int a01, int a12, int a02) {
  if (Near(a01, 120) && Near(a12, 120) && Near(a02, 120)) return 4;
  auto straightThrough = [](int a, int b) { return a + b > 240 && a - b < 20 && b - a < 20; };
  if (straightThrough(a01, a12)) return 1;
  if (straightThrough(a02, a12)) return 2;
  if (straightThrough(a02, a01)) return 3;
  return -1;
}

int MergeCopies(StructureWork& w, const StrokeNode& node, int i, int j) {
  return MergeStrokePoints(w.points, node.firstCopy + i, node.firstCopy + j);
}

// Pairs branches greedily by the widest angle; a four-way junction whose
// widest pairs are neighbours in bearing order and nearly equal becomes a
// crossing, (0, 2) and (1, 3).
int PairBranchesByAngle(StructureWork& w, const StrokeNode& node) {
  const int d = node.degree;
  bool paired[kMaxPointNeighbours] = {};
  int pairs[kMaxPointNeighbours / 2][2];
  int widest[kMaxPointNeighbours / 2];
  for (int k = 0; k < d / 2; ++k) {
    int best = -1;
    for (int i = 0; i < d; ++i)
      for (int j = i + 1; j < d; ++j) {
        if (paired[i] || paired[j]) continue;
        const int a = BranchAngle(w, node, i, j);
        if (a > best) {
          best = a;
          pairs[k][0] = i;
          pairs[k][1] = j;
        }
      }
    paired[pairs[k][0]] = paired[pairs[k][1]] = true;
    widest[k] = best;
  }
  if (d == 4) {
    const int gap = pairs[0][0] - pairs[0][1];
    int other = -1;
    for (int i = 0; i < 4; ++i)
      for (int j = i + 1; j < 4; ++j)
        if (!(i == pairs[0][0] && j == pairs[0][1])) {
          const int a = BranchAngle(w, node, i, j);
          if (a > other) other = a;
        }
    if ((gap == -1 || gap == -3) && widest[0] > 120 && widest[0] - other <= 20) {
      pairs[0][0] = 0;
      pairs[0][1] = 2;
      pairs[1][0] = 1;
      pairs[1][1] = 3;
    }
  }
  for (int k = 0; k < d / 2; ++k)
    if (MergeCopies(w, node, pairs[k][0], pairs[k][1]) < 0) return -9;
  return 0;
}

struct Trial {
  int64_t cost;
  int kindSum;
  int angle;
  bool tried;
};

bool Better(const Trial& a, const Trial& b) {
  if (a.cost != b.cost) return a.cost < b.cost;
  if (a.kindSum != b.kindSum) return a.kindSum > b.kindSum;
  return a.angle > b.angle;
}

int SegmentKindSum(const StrokeGroup& group) {
  int sum = 0;
  for (const StrokeSegment* s = group.firstSegment; s; s = s->next)
    sum += s->kind == 0 ? 4 : s->kind;
  return sum;
}

struct ChainCopy {
  uint16_t items[kMaxChainWords];
  int count;
};

int CopyChain(StructureWork& w, int start, ChainCopy& out) {
  if (TraceStrokeChain(w.points, start, 0) < 0) return -9;
  out.count = w.points->chain.count;
  for (int i = 0; i < out.count; ++i) out.items[i] = w.points->chain.items[i];
  return 0;
}

// Builds a group over the point table's scratch chain; adds its kind sum.
int BuildTrialGroup(StructureWork& w, int* kindSum) {
  StrokeGroup* group = AllocGraphPoint(w.graph);
  if (!group || BuildGroupPieces(w, group) < 0) return -9;
  *kindSum += SegmentKindSum(*group);
  return 0;
}

// Joins branches i and j of a three-way junction into one chain (and builds
// the third alone); cost = product of the chain lengths, or the joined
// length squared when the joined chain runs through the third copy.
int RunTrial(StructureWork& w, const StrokeNode& node, int i, int j, int third, Trial* t) {
  ChainCopy a, b;
  if (CopyChain(w, node.firstCopy + i, a) < 0 || CopyChain(w, node.firstCopy + j, b) < 0)
    return -9;
  RecordArray<uint16_t>& chain = w.points->chain;
  if (a.count + b.count - 1 > chain.capacity) {
    PushErrorCode(kErrCapacityFull);
    return -9;
  }
  int n = 0;
  for (int k = a.count - 1; k >= 0; --k) chain.items[n++] = a.items[k];
  for (int k = 1; k < b.count; ++k) chain.items[n++] = b.items[k];
  chain.count = static_cast<int16_t>(n);
  w.points->chainClosed = 0;
  const uint16_t thirdCopy = static_cast<uint16_t>(node.firstCopy + third);
  bool throughThird = false;
  for (int k = 0; k < n; ++k) throughThird |= chain.items[k] == thirdCopy;
  t->kindSum = 0;
  t->cost = ChainLength(w.points);
  if (BuildTrialGroup(w, &t->kindSum) < 0) return -9;
  if (throughThird) {
    t->cost *= t->cost;
  } else {
    if (TraceStrokeChain(w.points, thirdCopy, 0) < 0) return -9;
    t->cost *= ChainLength(w.points);
    if (BuildTrialGroup(w, &t->kindSum) < 0) return -9;
  }
  t->tried = true;
  ResetStrokeGraph(w.graph);
  return 0;
}

int ResolveJunctionByTrial(StructureWork& w, StrokeNode* node) {
  constexpr int kJoin[3][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}};  // i, j, third
  const int skipped = node->cls == 2 ? 0 : node->cls == 3 ? 1 : node->cls == 1 ? 2 : -1;
  Trial trials[3] = {};
  int best = -1;
  for (int k = 0; k < 3; ++k) {
    if (k == skipped) continue;
    if (RunTrial(w, *node, kJoin[k][0], kJoin[k][1], kJoin[k][2], &trials[k]) < 0) return -9;
    // The angle of each pairing: a01, a12, a02.
    trials[k].angle = node->angles[k];
    if (best < 0 || Better(trials[k], trials[best])) best = k;
  }
  node->cls = static_cast<int8_t>(1 + best);
  return MergeCopies(w, *node, kJoin[best][0], kJoin[best][1]);
}

int AddEdgesOfNode(StructureWork& w, StrokeNode* node) {
  for (int k = 0; k < node->degree; ++k) {
    const int copy = node->firstCopy + k;
    StrokePoint& p = Point(w, copy);
    if (p.kind != kPointLive || p.degree < 1) continue;
    StrokeEdge* edge = AllocStrokeEdge(w.lists);
    if (!edge) return -9;
    edge->point = static_cast<uint16_t>(copy);
    edge->junction = node->junction;
    p.edge = static_cast<int16_t>(edge - w.lists->edges.items);
    if (node->firstEdge < 0) node->firstEdge = p.edge;
  }
  return 0;
}

int64_t Cross(const StrokePoint& o, const StrokePoint& a, const StrokePoint& b) {
  return int64_t{a.x - o.x} * (b.y - o.y) - int64_t{a.y - o.y} * (b.x - o.x);
}

}  // namespace

int SplitJunctions(StructureWork& w) {
  StrokePointTable* t = w.points;
  const int existing = t->points.count;
  for (int i = 0; i < existing; ++i) {
    const StrokePoint& p = t->points.items[i];
    if (p.kind != kPointLive || p.degree < kThreeWay) continue;
    StrokeNode* node = AllocStrokeNode(w.lists);
    if (!node) return -9;
    node->degree = static_cast<uint8_t>(p.degree);
    node->junction = static_cast<uint16_t>(i);
    node->firstCopy = static_cast<uint16_t>(t->points.count);
    for (int k = 0; k < p.degree; ++k) {
      const int neighbour = t->points.items[i].neighbours[k];
      const int copy = AllocStrokePoint(t, p.x, p.y);
      if (copy < 0) return -9;
      ReplaceStrokeNeighbour(t, neighbour, i, copy);
      if (AddStrokeNeighbour(t, copy, neighbour) < 0) return -9;
    }
    t->points.items[i].kind = kPointSplitJunction;
  }
  for (int n = 0; n < w.lists->nodes.count; ++n) {
    StrokeNode* node = &w.lists->nodes.items[n];
    if (node->degree == kThreeWay) {
      node->angles[0] = static_cast<int16_t>(BranchAngle(w, *node, 0, 1));
      node->angles[1] = static_cast<int16_t>(BranchAngle(w, *node, 1, 2));
      node->angles[2] = static_cast<int16_t>(BranchAngle(w, *node, 0, 2));
      node->cls = static_cast<int8_t>(
          ClassifyThreeWay(node->angles[0], node->angles[1], node->angles[2]));
    }
    const int rc = node->cls > 0 ? ResolveJunctionByTrial(w, node)
                                 : PairBranchesByAngle(w, *node);
    if (rc < 0 || AddEdgesOfNode(w, node) < 0) return -9;
  }
  return 0;
}

int BuildFeaturePoints(StructureWork& w) {
  RecordArray<StrokeEdge>& edges = w.lists->edges;
  for (int i = 0; i < edges.count; ++i)
    for (int j = i + 1; j < edges.count; ++j) {
      if (edges.items[i].junction != edges.items[j].junction) continue;
      const StrokePoint& a = Point(w, edges.items[i].point);
      const StrokePoint& b = Point(w, edges.items[j].point);
      if (a.kind != kPointLive || b.kind != kPointLive) continue;
      FeaturePoint* mark = AllocStrokeMark(w.lists);
      if (!mark) return -9;
      mark->edgeA = static_cast<int16_t>(i);
      mark->edgeB = static_cast<int16_t>(j);
      if (a.degree == 1 || b.degree == 1) {
        mark->kind = 2;
        continue;
      }
      // Both run through the junction: the turn between their first steps.
      const StrokePoint& a0 = Point(w, a.neighbours[0]);
      const StrokePoint& a1 = Point(w, a.neighbours[1]);
      const StrokePoint& b0 = Point(w, b.neighbours[0]);
      const StrokePoint& b1 = Point(w, b.neighbours[1]);
      const bool turns = Cross(a, a0, b0) >= 0 || Cross(a, a0, b1) >= 0 ||
                         Cross(a, a1, b0) >= 0;
      mark->kind = turns ? 1 : 0;
    }
  return 0;
}

void AttachEdgesToSegments(StructureWork& w) {
  RecordArray<StrokeEdge>& edges = w.lists->edges;
  for (int i = 0; i < edges.count; ++i) {
    StrokeEdge& edge = edges.items[i];
    const StrokePoint& p = Point(w, edge.point);
    if (p.kind != kPointLive || edge.group < 0 || edge.group >= w.graph->groups.count) continue;
    const StrokeGroup& group = w.graph->groups.items[edge.group];
    const bool single = CountGroupSegments(group, 2) == 1;
    auto attach = [&edge](StrokeSegment* s, uint8_t code) {
      if (edge.attachCount >= 2) return;
      edge.segments[edge.attachCount] = s;
      edge.attachCodes[edge.attachCount] = code;
      ++edge.attachCount;
    };
    for (StrokeSegment* s = group.firstSegment; s && edge.attachCount < 2; s = s->next) {
      const bool endsHere = s->end1 == edge.point || s->end2 == edge.point;
      if (p.degree == 1) {
        if (endsHere) attach(s, s->end1 == edge.point ? kAttachEnd1 : kAttachEnd2);
        if (endsHere) break;
        continue;
      }
      if (endsHere) continue;
      for (int k = 0; k < s->pieceCount; ++k) {
        const StrokePiece* piece = s->pieces[k];
        bool holds = false;
        for (int m = 0; m < piece->pointCount && !holds; ++m) holds = piece->words[m] == edge.point;
        if (!holds) continue;
        const bool middle = k > 0 && k < s->pieceCount - 1;
        attach(s, single || middle ? kAttachMiddle
                  : k == 0         ? kAttachFirstPiece
                                   : kAttachLastPiece);
        break;
      }
    }
  }
}
