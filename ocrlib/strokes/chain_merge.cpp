// Cleaning the structure chain before its tokens are written: a run (or a
// gap between runs) that begins and ends within two chain nodes is removed,
// and two runs that separate only briefly are joined again; nodes left
// without a change of structure are dropped. Every removal takes a pair of
// transitions out of the list nodes and out of the records of the lines
// they span, so that lists and records keep describing the same runs.
//
// Settled here once for the whole chain:
// - Lists and records stay in step: taking two neighbouring list nodes out
//   (the neighbour beside them inheriting their links) leaves the shape that
//   taking two neighbouring values out of each record of the span leaves. A
//   short run takes out its own two values (the run or gap that ends at its
//   list node without a link); a join takes out the two values of the gap
//   it closes, the pair before its top node (kind S) or after it (kind N).
// - A removal or join acts only where the lists allow it cleanly: every node
//   it takes out has neighbours on both sides (the survivor that inherits
//   the links), and the two edges of a joined gap run side by side through
//   every chain node between the two ends. Otherwise the chain is left as it
//   is.
// - The join closes the gap line by line from both ends, the side with the
//   narrower gap first (the top side only when strictly narrower); a side
//   does not leave its chain node through a node that branches, so the other
//   side goes on. Where the two sides end on both sides of one chain node,
//   the top side passes it.
// - A list node holds at most ten links. A pair whose links the survivor has
//   no room for stays where it is, and the clean-up stops with 14: the chain,
//   cleaned only in part, is given up rather than read with links that one
//   side no longer answers.
#include <climits>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kDirectionBefore = -1;
constexpr int kDirectionAfter = 1;

bool HasBothNeighbours(const ListNode* n) {
  return n != nullptr && n->prev != nullptr && n->next != nullptr;
}

bool IsOneToOne(const ListNode* n) { return n->linkCount == 1 && n->links[0]->linkCount == 1; }

// Takes x and its neighbour (the one before it for direction -1, else the one
// after) out of its chain node's list; the links of the pair pass to the
// surviving neighbour. Returns false (after 14) when the survivor has no room
// for them: the list is then unchanged. *answer is the first link of x, or
// its twin when it has none.
bool RemoveFromList(ListNode* x, int direction, ListNode** answer = nullptr) {
  ChainNode* node = x->chainNode;
  const int side = static_cast<int>(x->side);
  ListNode* survivor = direction == kDirectionBefore ? x->next : x->prev;
  ListNode* const result = RemoveListNodePair(x, direction);
  // The survivor still beside x: the pair stayed.
  if (survivor != nullptr && (direction == kDirectionBefore ? survivor->prev : survivor->next) == x)
    return false;
  if (direction == kDirectionBefore && node->heads[side] == x->prev) node->heads[side] = x->next;
  node->entryCounts[side] -= 2;
  if (answer != nullptr) *answer = result;
  return true;
}

// Record position of the pair RemoveFromList(node, direction) takes out.
int RecordPosition(const ListNode* node, int direction) {
  const int position = IndexOfListNode(node->chainNode, static_cast<int>(node->side), node);
  return direction == kDirectionAfter ? position + 1 : position;
}

// The lines of the span below chain node c: c's lower line up to the upper
// line of the next node.
void RemoveSpanPair(const ChainNode* c, int recordPosition) {
  RemoveChainRecordPair(static_cast<int>(c->index), static_cast<int>(c->next->index),
                        recordPosition);
}

ChainNode* Ahead(ChainNode* node, int steps) {
  for (int s = 0; s < steps && node != nullptr; ++s) node = node->next;
  return node;
}

// ---- short runs ---------------------------------------------------------------------
// The nodes a short run passes: in each chain node its value in the lower
// list and the twin of it in the next node's upper list.
struct RunPath {
  int length = 0;
  ChainNode* nodes[kChainNodePoolSize];
  ListNode* lower[kChainNodePoolSize];
  ListNode* upper[kChainNodePoolSize];
};

// Follows x (a lower-list value of `node` without a link) through twins and
// one-to-one links; true when it ends within `reach` chain nodes and every
// value on the way can be taken out with its neighbour.
bool FindShortRun(ChainNode* node, ListNode* x, int reach, RunPath& path) {
  path.length = 0;
  for (int s = 0; s < reach && s < kChainNodePoolSize; ++s) {
    ListNode* twin = x->twin;
    if (node->next == nullptr || !HasBothNeighbours(x) || !HasBothNeighbours(twin)) return false;
    path.nodes[s] = node;
    path.lower[s] = x;
    path.upper[s] = twin;
    path.length = s + 1;
    if (twin->linkCount == 0) return true;
    if (!IsOneToOne(twin)) return false;
    x = twin->links[0];
    node = node->next;
  }
  return false;
}

// False (after 14) when a survivor had no room for the links of its pair:
// the run is then taken out only in part.
bool RemoveRun(const RunPath& path) {
  for (int s = 0; s < path.length; ++s) {
    RemoveSpanPair(path.nodes[s], RecordPosition(path.lower[s], kDirectionBefore));
    if (!RemoveFromList(path.lower[s], kDirectionAfter) ||
        !RemoveFromList(path.upper[s], kDirectionAfter)) {
      return false;
    }
  }
  return true;
}

// ---- joins --------------------------------------------------------------------------
// The two edges of a gap from the top node's lower list down to the bottom
// node's upper list: in the span below chain node i the top edge has a[i]
// in its lower list and t[i] (a[i]'s twin) in the next upper list; the
// bottom edge b[i] in that upper list and u[i] (b[i]'s twin) in the lower.
struct GapPath {
  int length = 0;
  ListNode* a[kChainNodePoolSize];
  ListNode* t[kChainNodePoolSize];
  ListNode* b[kChainNodePoolSize];
  ListNode* u[kChainNodePoolSize];
};

bool FindGapPath(ChainNode* top, const ChainNode* bottom, ListNode* x, ListNode* z, int kind,
                 GapPath& path) {
  ChainNode* c = top;
  ListNode* node = x;
  int s = 0;
  for (;; ++s) {
    if (s >= kChainNodePoolSize || c->next == nullptr || !HasBothNeighbours(node) ||
        !HasBothNeighbours(node->twin)) {
      return false;
    }
    path.a[s] = node;
    path.t[s] = node->twin;
    if (c->next == bottom) break;
    if (!IsOneToOne(node->twin)) return false;
    node = node->twin->links[0];
    c = c->next;
  }
  path.length = s + 1;
  node = z;
  for (int i = s; i >= 0; --i) {
    if (!HasBothNeighbours(node) || !HasBothNeighbours(node->twin)) return false;
    path.b[i] = node;
    path.u[i] = node->twin;
    if (i > 0) {
      if (!IsOneToOne(node->twin)) return false;
      node = node->twin->links[0];
    }
  }
  for (int i = 0; i <= s; ++i) {
    const bool sideBySide = kind == kJoinKindS
                                ? path.u[i] == path.a[i]->prev && path.b[i] == path.t[i]->prev
                                : path.u[i] == path.a[i]->next && path.b[i] == path.t[i]->next;
    if (!sideBySide) return false;
  }
  return true;
}

// One end of a join: the chain node whose lists hold its current value, the
// value, the direction of its pairs and their record position.
struct JoinSide {
  ChainNode* chain;
  ListNode* node;
  int direction;
  int position;
};

void PlaceSide(JoinSide& side, ChainNode* chain, ListNode* node) {
  side.chain = chain;
  side.node = node;
  side.position = RecordPosition(node, side.direction);
}

// The side passes from the chain node of its value into the neighbouring one
// (down for the top side, up for the bottom side): its pair leaves both lists
// of the boundary and its value goes on where the twin's link leads. False
// (after 14) when a survivor had no room for the links of its pair.
bool LeaveChainNode(JoinSide& side, bool down) {
  ListNode* twin = side.node->twin;
  ListNode* next = nullptr;
  if (!RemoveFromList(side.node, side.direction) || !RemoveFromList(twin, side.direction, &next))
    return false;
  PlaceSide(side, down ? side.chain->next : side.chain->prev, next);
  return true;
}

int GapWidth(int line, int position) {
  const RowTransitionRecord& r = g_structureSet->records[line];
  if (position < 1 || position > r.count) return INT_MAX;
  return r.column[position] - r.column[position - 1];
}

}  // namespace

int IsChainNodePlain(const ChainNode* node) {
  for (int side = 0; side < 2; ++side) {
    for (const ListNode* n = node->heads[side]; n != nullptr; n = n->next) {
      if (n->linkCount != 1) return 0;
    }
  }
  return 1;
}

int FollowToBranch(ListNode* x, int reach, ListNode** branch) {
  ListNode* y = x->twin;
  for (int s = 1; s <= reach && y != nullptr; ++s) {
    if (y->linkCount == 0) return 0;
    if (y->linkCount > 1 || y->links[0]->linkCount != 1) {
      *branch = y;
      return s;
    }
    y = y->links[0]->twin;
  }
  return 0;
}

int RemoveShortRuns(ChainNode* node, int reach) {
  int removed = 0;
  ListNode* head = node->heads[1];
  ListNode* x = head != nullptr ? head->next : nullptr;
  RunPath path;
  while (x != nullptr && x->next != nullptr) {
    if (x->linkCount != 0 || !FindShortRun(node, x, reach, path)) {
      x = x->next;
      continue;
    }
    ListNode* before = x->prev;
    if (!RemoveRun(path)) return -9;
    removed = 1;
    x = before != node->heads[1] ? before : before->next;
  }
  return removed;
}

int JoinSplitRuns(ChainNode* node, int reach) {
  int joined = 0;
  ListNode* x = node->heads[1] != nullptr ? node->heads[1]->next : nullptr;
  while (x != nullptr && x->next != nullptr) {
    ListNode* y = nullptr;
    const int s = x->linkCount == 0 ? FollowToBranch(x, reach, &y) : 0;
    int acted = 0;
    ListNode* resume = nullptr;  // where the test goes on after a join
    if (s > 0) {
      ChainNode* ahead = Ahead(node, s);
      const int64_t distance = static_cast<int64_t>(ahead->index) - node->index;
      ListNode* y2 = nullptr;
      ListNode* w = y->prev;
      ListNode* v = y->next;
      if (w != nullptr && w->linkCount == 0 && FollowToBranch(w, s, &y2) == s &&
          (distance > 1 || y->linkCount < 2 || y2->linkCount < 2)) {
        resume = x->prev->prev;
        acted = JoinRun(node, ahead, x, w, kJoinKindS);
      } else if (v != nullptr && v->linkCount == 0 && FollowToBranch(v, s, &y2) == s &&
                 !(distance < 2 && y->linkCount > 1 && y2->linkCount > 1)) {
        resume = x->prev;
        acted = JoinRun(node, ahead, x, v, kJoinKindN);
      }
    }
    if (acted < 0) return -9;
    if (acted == 0) {
      x = x->next;
      continue;
    }
    joined = 1;
    ListNode* head = node->heads[1];
    x = resume != nullptr && resume != head ? resume : head->next;
  }
  return joined;
}

int JoinRun(ChainNode* top, ChainNode* bottom, ListNode* x, ListNode* z, int kind) {
  GapPath path;
  if (!FindGapPath(top, bottom, x, z, kind, path)) return 0;
  JoinSide upper{nullptr, nullptr, kind == kJoinKindS ? kDirectionBefore : kDirectionAfter, 0};
  JoinSide lower{nullptr, nullptr, kind == kJoinKindS ? kDirectionAfter : kDirectionBefore, 0};
  PlaceSide(upper, top, x);
  PlaceSide(lower, bottom, z);
  int t = static_cast<int>(top->index);
  int b = static_cast<int>(bottom->index) - 1;
  while (t <= b) {
    const bool upperAtEnd = t == static_cast<int>(upper.chain->next->index) - 1;
    const bool lowerAtBound = b == static_cast<int>(lower.chain->prev->index);
    bool moveUpper;
    if (upperAtEnd && upper.node->twin->linkCount > 1) {
      moveUpper = false;
    } else if (lowerAtBound && lower.node->twin->linkCount > 1) {
      moveUpper = true;
    } else {
      moveUpper = GapWidth(t, upper.position) < GapWidth(b, lower.position);
    }
    bool left = true;
    if (moveUpper) {
      RemoveChainRecordPair(t, t + 1, upper.position);
      ++t;
      if (t <= b && t == static_cast<int>(upper.chain->next->index))
        left = LeaveChainNode(upper, true);
    } else {
      RemoveChainRecordPair(b, b + 1, lower.position);
      --b;
      if (t <= b && b < static_cast<int>(lower.chain->prev->index))
        left = LeaveChainNode(lower, false);
    }
    if (!left) return -9;
  }
  while (upper.chain->next != lower.chain) {
    if (!LeaveChainNode(upper, true)) return -9;
  }
  if (!RemoveFromList(upper.node, upper.direction) || !RemoveFromList(lower.node, lower.direction))
    return -9;
  return 1;
}

ChainNode* MergeCloseChainNodes(ChainNode* head, int* result) {
  *result = 0;
  bool changed = false;
  for (int pass = 0; pass < 2; ++pass) {
    bool passChanged = false;
    for (ChainNode* node = head; node != nullptr && node->next != nullptr; node = node->next) {
      int reach = 0;
      for (const ChainNode* n = node->next; n != nullptr && n->index <= node->index + 2;
           n = n->next) {
        ++reach;
      }
      if (reach == 0) continue;
      const int removed = RemoveShortRuns(node, reach);
      const int joined = removed < 0 ? 0 : JoinSplitRuns(node, reach);
      if (removed < 0 || joined < 0) {
        *result = -9;
        return nullptr;
      }
      if (removed > 0 || joined > 0) passChanged = true;
    }
    if (!passChanged) break;
    changed = true;
  }
  if (!changed) return head;
  for (ChainNode* node = head; node != nullptr;) {
    ChainNode* next = node->next;
    if (IsChainNodePlain(node)) {
      // The values before and after the node continue one to one through it.
      for (ListNode* a = node->heads[0]; a != nullptr; a = a->next) {
        ListNode* above = a->twin;
        ListNode* below = a->links[0]->twin;
        if (above != nullptr) above->twin = below;
        if (below != nullptr) below->twin = above;
      }
      if (node->prev != nullptr) node->prev->next = next;
      if (next != nullptr) next->prev = node->prev;
      if (node == head) head = next;
    }
    node = next;
  }
  return head;
}
