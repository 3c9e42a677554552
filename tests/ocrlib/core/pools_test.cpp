// Fixed pools, list-node links, stroke-record allocators and step paths.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ocrlib/core/core_internal.h"

namespace {

class PoolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearErrorStack();
    ResetCellNodePool();
    ResetListNodePools();
  }

  static bool Pushed14() { return g_errorStack.count == 1 && g_errorStack.codes[0] == kErrCapacityFull; }
};

TEST_F(PoolsTest, PoolsRunOutAndReset) {
  CellNode* firstCell = AllocCellNode();
  ChainNode* firstChain = AllocChainNode();
  ListNode* firstList = AllocListNode();
  for (int i = 1; i < kCellNodePoolSize; ++i) ASSERT_NE(AllocCellNode(), nullptr);
  for (int i = 1; i < kChainNodePoolSize; ++i) ASSERT_NE(AllocChainNode(), nullptr);
  for (int i = 1; i < kListNodePoolSize; ++i) ASSERT_NE(AllocListNode(), nullptr);
  EXPECT_TRUE(g_errorStack.count == 0);
  EXPECT_EQ(AllocCellNode(), nullptr);
  EXPECT_EQ(AllocChainNode(), nullptr);
  EXPECT_EQ(AllocListNode(), nullptr);
  EXPECT_TRUE(Pushed14());
  ResetCellNodePool();
  ResetListNodePools();
  EXPECT_EQ(AllocCellNode(), firstCell);
  EXPECT_EQ(AllocChainNode(), firstChain);
  EXPECT_EQ(AllocListNode(), firstList);
}

TEST_F(PoolsTest, CellNodeCapacities) {
  CellNode* node = AllocCellNode();
  node->pairCount = 7;  // a reused node starts empty
  ResetCellNodePool();
  node = AllocCellNode();
  EXPECT_EQ(node->pairCount, 0);
  for (int i = 0; i < kMaxCellPairs; ++i) ASSERT_EQ(AddCellPair(node, 1, nullptr), 0);
  EXPECT_EQ(AddCellPair(node, 2, nullptr), -9);
  EXPECT_EQ(node->pairCount, kMaxCellPairs);
  for (int i = 0; i < kMaxCellChildren; ++i) AddCellNodeItem(node, node);
  EXPECT_TRUE(Pushed14());
  ClearErrorStack();
  AddCellNodeItem(node, nullptr);
  EXPECT_EQ(node->childCount, kMaxCellChildren);
  EXPECT_EQ(node->children[kMaxCellChildren - 1], node);
  EXPECT_TRUE(Pushed14());
}

TEST_F(PoolsTest, ListNodeRuns) {
  EXPECT_EQ(AllocListNodeRun(0), nullptr);
  ListNode* head = AllocListNodeRun(3);
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->prev, nullptr);
  EXPECT_EQ(head->next->next->next, nullptr);
  EXPECT_EQ(head->next->next->prev, head->next);
  EXPECT_EQ(AllocListNodeRun(kListNodePoolSize), nullptr);  // runs out part-way
  EXPECT_TRUE(Pushed14());
  EXPECT_EQ(AllocListNode(), nullptr);  // what it took stays taken
}

// Links named by index into a small array of nodes.
std::vector<int> LinksOf(const ListNode& node, const ListNode* base) {
  std::vector<int> out;
  for (int i = 0; i < node.linkCount; ++i) out.push_back(static_cast<int>(node.links[i] - base));
  return out;
}

TEST_F(PoolsTest, LinkOperations) {
  ListNode n[6] = {};
  EXPECT_EQ(LinkListNodes(&n[0], &n[1]), 0);
  EXPECT_EQ(AddNodeLink(&n[0], &n[2]), 0);
  EXPECT_EQ(AddNodeLink(&n[0], &n[1]), 0);
  EXPECT_EQ(LinksOf(n[0], n), (std::vector<int>{1, 2, 1}));
  EXPECT_EQ(LinksOf(n[1], n), (std::vector<int>{0}));
  RemoveNodeLink(&n[0], &n[1]);  // the first occurrence
  EXPECT_EQ(LinksOf(n[0], n), (std::vector<int>{2, 1}));
  RemoveNodeLink(&n[0], &n[5]);
  EXPECT_EQ(LinksOf(n[0], n), (std::vector<int>{2, 1}));
  EXPECT_EQ(ReplaceNodeLink(&n[0], &n[2], &n[3]), 0);  // at position 0
  EXPECT_EQ(LinksOf(n[0], n), (std::vector<int>{3, 1}));
  EXPECT_EQ(ReplaceNodeLink(&n[0], &n[5], &n[4]), 0);  // absent: nothing changes
  EXPECT_EQ(LinksOf(n[0], n), (std::vector<int>{3, 1}));
  EXPECT_EQ(ReplaceNodeLink(&n[0], &n[1], &n[4]), 1);
  for (int i = n[0].linkCount; i < kMaxNodeLinks; ++i) ASSERT_EQ(AddNodeLink(&n[0], &n[5]), 0);
  EXPECT_EQ(AddNodeLink(&n[0], &n[5]), -9);
  EXPECT_EQ(LinkListNodes(&n[5], &n[0]), -9);  // the first half stays
  EXPECT_EQ(LinksOf(n[5], n), (std::vector<int>{0}));
}

TEST_F(PoolsTest, TransferLinksAppend) {
  // survivor 0 and removed 1 both link to 2 in a row: 2 keeps one of them.
  // 3 links only to the removed node and moves to the survivor.
  ListNode n[4] = {};
  AddNodeLink(&n[0], &n[2]);
  AddNodeLink(&n[2], &n[0]);
  AddNodeLink(&n[2], &n[1]);
  AddNodeLink(&n[1], &n[2]);
  AddNodeLink(&n[1], &n[3]);
  AddNodeLink(&n[3], &n[1]);
  EXPECT_EQ(TransferLinksAppend(&n[0], &n[1]), 0);
  EXPECT_EQ(LinksOf(n[2], n), (std::vector<int>{0}));
  EXPECT_EQ(LinksOf(n[3], n), (std::vector<int>{0}));
  EXPECT_EQ(LinksOf(n[0], n), (std::vector<int>{2, 3}));
}

TEST_F(PoolsTest, TransferLinksPrepend) {
  ListNode n[4] = {};
  AddNodeLink(&n[0], &n[3]);  // the survivor's own link
  AddNodeLink(&n[1], &n[2]);
  AddNodeLink(&n[2], &n[1]);
  EXPECT_EQ(TransferLinksPrepend(&n[1], &n[0]), 0);
  EXPECT_EQ(LinksOf(n[0], n), (std::vector<int>{2, 3}));  // gained links first
  EXPECT_EQ(LinksOf(n[2], n), (std::vector<int>{0}));

  // Eleven links would not fit: the survivor keeps its own.
  ListNode m[12] = {};
  for (int i = 2; i < 12; ++i) AddNodeLink(&m[0], &m[i]);  // survivor: 10 links
  AddNodeLink(&m[1], &m[2]);
  AddNodeLink(&m[2], &m[1]);
  EXPECT_EQ(TransferLinksPrepend(&m[1], &m[0]), -9);
  EXPECT_TRUE(Pushed14());
  EXPECT_EQ(m[0].linkCount, kMaxNodeLinks);
  EXPECT_EQ(m[0].links[0], &m[2]);
  EXPECT_EQ(LinksOf(m[2], m), (std::vector<int>{1}));  // and no other list changes
}

TEST_F(PoolsTest, TransferToAFullSurvivorChangesNothing) {
  // The removed node 1 links to 8..12. Eleven links would not fit in the
  // survivor 0: a half-made transfer would leave nodes linking to a survivor
  // that does not link back. Where one of them collapses into a link the
  // survivor already has, ten fit.
  struct Case {
    const char* what;
    bool prepend;
    std::vector<int> survivor;  // its links before
    int result;
    std::vector<int> after;  // its links after
  };
  const Case cases[] = {
      {"append, eleven", false, {2, 3, 4, 5, 6, 7}, -9, {2, 3, 4, 5, 6, 7}},
      {"prepend, eleven", true, {2, 3, 4, 5, 6, 7}, -9, {2, 3, 4, 5, 6, 7}},
      {"append, one collapses", false, {2, 3, 4, 5, 6, 8}, 0, {2, 3, 4, 5, 6, 8, 9, 10, 11, 12}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearErrorStack();
    ListNode m[13] = {};
    for (int i : c.survivor) LinkListNodes(&m[0], &m[i]);
    for (int i = 8; i < 13; ++i) LinkListNodes(&m[1], &m[i]);
    const int result =
        c.prepend ? TransferLinksPrepend(&m[1], &m[0]) : TransferLinksAppend(&m[0], &m[1]);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(Pushed14(), c.result != 0);
    EXPECT_EQ(LinksOf(m[0], m), c.after);
    for (int i = 8; i < 13; ++i) EXPECT_EQ(LinksOf(m[i], m), std::vector<int>{c.result == 0 ? 0 : 1}) << i;
  }
}

TEST_F(PoolsTest, ChainLists) {
  ChainNode chain = {};
  ListNode* head = AllocListNodeRun(4);
  chain.heads[1] = head;
  ListNode* third = head->next->next;
  EXPECT_EQ(IndexOfListNode(&chain, 1, third), 2);
  EXPECT_EQ(IndexOfListNode(&chain, 0, third), 0);  // empty list: absent
  EXPECT_EQ(GetChainListItem(&chain, 1, 2), third);
  EXPECT_EQ(GetChainListItem(&chain, 1, -3), head);
  EXPECT_EQ(GetChainListItem(&chain, 1, 4), nullptr);
}

TEST_F(PoolsTest, RemoveListNodePair) {
  // a b x c d in one list; x links to y.
  ListNode* a = AllocListNodeRun(5);
  ListNode* b = a->next;
  ListNode* x = b->next;
  ListNode* c = x->next;
  ListNode* d = c->next;
  ListNode other[2] = {};
  LinkListNodes(x, &other[0]);
  LinkListNodes(b, &other[1]);
  // Direction -1: b and x leave; b's links go to c; x's first link is the
  // answer, and it forgets x.
  EXPECT_EQ(RemoveListNodePair(x, -1), &other[0]);
  EXPECT_EQ(a->next, c);
  EXPECT_EQ(c->prev, a);
  EXPECT_EQ(c->linkCount, 1);
  EXPECT_EQ(c->links[0], &other[1]);
  EXPECT_EQ(other[1].links[0], c);
  EXPECT_EQ(other[0].linkCount, 0);
  // Forward: c and d leave; without links the twin is the answer.
  c->twin = &other[1];
  c->linkCount = 0;
  EXPECT_EQ(RemoveListNodePair(c, 1), &other[1]);
  EXPECT_EQ(a->next, nullptr);
  EXPECT_EQ(RemoveListNodePair(d, 1), nullptr);  // no partner

  // p q r: removing q and r hands r's links to p, which has no room: all
  // three stay, linked as before.
  ListNode* p = AllocListNodeRun(3);
  ListNode* q = p->next;
  ListNode* r = q->next;
  ListNode far[kMaxNodeLinks + 1] = {};
  for (int i = 0; i < kMaxNodeLinks; ++i) LinkListNodes(p, &far[i]);
  LinkListNodes(r, &far[kMaxNodeLinks]);
  ClearErrorStack();
  EXPECT_EQ(RemoveListNodePair(q, 1), nullptr);
  EXPECT_TRUE(Pushed14());
  EXPECT_EQ(p->next, q);
  EXPECT_EQ(r->prev, q);
  EXPECT_EQ(p->linkCount, kMaxNodeLinks);
  EXPECT_EQ(far[kMaxNodeLinks].links[0], r);
}

struct GraphStore {
  StrokeGroup groups[3];
  StrokePiece pieces[4];
  StrokeSegment segments[3];
  StrokePiece* links[3];
  uint16_t words[100];
  StrokeGraph graph;
  GraphStore() {
    graph.groups = {groups, 3, 0};
    graph.pieces = {pieces, 4, 0};
    graph.segments = {segments, 3, 0};
    graph.pieceLinks = {links, 3, 0};
    graph.pieceWords = {words, 100, 0};
  }
};

TEST_F(PoolsTest, StrokeGraphAllocators) {
  auto store = std::make_unique<GraphStore>();
  StrokeGraph* g = &store->graph;
  StrokeGroup* group = AllocGraphPoint(g);
  ASSERT_NE(group, nullptr);
  StrokePiece* piece = AllocStrokeSegment(g);
  StrokeSegment* segment = AllocStrokeJoint(g, piece);
  ASSERT_NE(segment, nullptr);
  EXPECT_EQ(segment->kind, kSegmentUnset);
  EXPECT_EQ(segment->end1, -1);
  EXPECT_EQ(segment->group, 0);  // the last group
  EXPECT_EQ(segment->pieceCount, 1);
  EXPECT_EQ(segment->pieces[0], piece);
  EXPECT_EQ(piece->segmentCount, 1);
  EXPECT_EQ(piece->segments[0], segment);
  EXPECT_EQ(LinkJointToSegment(g, AllocStrokeJoint(g, AllocStrokeSegment(g)), piece), 0);
  EXPECT_EQ(piece->segmentCount, 2);
  // A third link of the piece is refused; the array of links is full too.
  EXPECT_EQ(LinkJointToSegment(g, segment, piece), -9);
  EXPECT_TRUE(Pushed14());
  ClearErrorStack();
  EXPECT_EQ(AllocStrokeJoint(g, AllocStrokeSegment(g)), nullptr);  // joint taken, link refused
  EXPECT_EQ(g->segments.count, 3);
  EXPECT_EQ(AllocStrokeJoint(g, piece), nullptr);
  EXPECT_EQ(g->segments.count, 3);

  g->pieceWords.count = 90;
  EXPECT_EQ(AllocGraphWords(g, 10), nullptr);  // may never reach the last word
  EXPECT_EQ(AllocGraphWords(g, 9), store->words + 90);
  EXPECT_EQ(g->pieceWords.count, 99);

  SaveRestoreGraphCounts(g, 0);
  g->groups.count = 2;
  SaveRestoreGraphCounts(g, 0);  // replaces the first save
  g->groups.count = 3;
  SaveRestoreGraphCounts(g, 1);
  EXPECT_EQ(g->groups.count, 2);
  ResetStrokeGraph(g);
  EXPECT_EQ(g->groups.count + g->pieces.count + g->segments.count + g->pieceLinks.count +
                g->pieceWords.count,
            0);
}

TEST_F(PoolsTest, StrokeNodeListAllocators) {
  StrokeNode nodes[1];
  StrokeEdge edges[1];
  FeaturePoint marks[1];
  nodes[0].degree = 5;
  edges[0].attachCount = 2;
  marks[0].kind = 1;
  StrokeNodeLists lists;
  lists.nodes = {nodes, 1, 0};
  lists.edges = {edges, 1, 0};
  lists.marks = {marks, 1, 0};
  StrokeNode* node = AllocStrokeNode(&lists);
  EXPECT_EQ(node->degree, 0);
  EXPECT_EQ(node->junction, kNoIndex);
  EXPECT_EQ(node->firstEdge, -1);
  EXPECT_EQ(AllocStrokeEdge(&lists)->attachCount, 0);
  FeaturePoint* mark = AllocStrokeMark(&lists);
  EXPECT_EQ(mark->kind, kFeatureUnset);
  EXPECT_EQ(mark->edgeB, -1);
  EXPECT_EQ(AllocStrokeNode(&lists), nullptr);
  EXPECT_EQ(AllocStrokeEdge(&lists), nullptr);
  EXPECT_EQ(AllocStrokeMark(&lists), nullptr);
  ResetStrokeNodeLists(&lists);
  EXPECT_EQ(AllocStrokeMark(&lists), mark);
}

TEST_F(PoolsTest, ExpandStepPath) {
  struct Case {
    const char* what;
    std::vector<int32_t> values;
    int flags;
    std::vector<std::pair<int, int>> points;
  };
  const Case cases[] = {
      {"steps of one", {4, 5, 5, 4}, 0, {{0, 4}, {1, 5}, {2, 5}, {3, 4}}},
      {"rising gap takes the later index", {0, 3}, 0, {{0, 0}, {1, 1}, {1, 2}, {1, 3}}},
      {"falling gap takes the index before", {3, 0}, 0, {{0, 3}, {0, 2}, {0, 1}, {1, 0}}},
      {"flag 4 swaps them", {0, 3, 0}, kStepSwapFillIndex,
       {{0, 0}, {0, 1}, {0, 2}, {1, 3}, {2, 2}, {2, 1}, {2, 0}}},
      {"flags 1 and 2 drop the ends", {0, 2, 2}, kStepDropFirst | kStepDropLast, {{1, 1}, {1, 2}}},
      {"nothing", {}, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<StepPoint> points(kMaxStepPoints);
    const int n = ExpandStepPath(c.values.data(), static_cast<int>(c.values.size()), c.flags,
                                 points.data());
    std::vector<std::pair<int, int>> got;
    for (int i = 0; i < n; ++i) got.push_back({points[i].index, points[i].value});
    EXPECT_EQ(got, c.points);
  }
  EXPECT_EQ(g_errorStack.count, 0);
}

TEST_F(PoolsTest, ExpandStepPathLimit) {
  std::vector<StepPoint> points(kMaxStepPoints);
  const int32_t exact[] = {0, 399};  // 400 points
  EXPECT_EQ(ExpandStepPath(exact, 2, 0, points.data()), kMaxStepPoints);
  const int32_t rising[] = {0, 400};
  EXPECT_EQ(ExpandStepPath(rising, 2, 0, points.data()), 0);
  EXPECT_TRUE(Pushed14());
  ClearErrorStack();
  // A falling fill that would pass the limit writes nothing.
  points[1] = {-7, -7};
  const int32_t falling[] = {500, 0};
  EXPECT_EQ(ExpandStepPath(falling, 2, 0, points.data()), 0);
  EXPECT_TRUE(Pushed14());
  EXPECT_EQ(points[1].index, -7);
  const int32_t extremes[] = {INT32_MAX, INT32_MIN};
  EXPECT_EQ(ExpandStepPath(extremes, 2, 0, points.data()), 0);
}

}  // namespace
