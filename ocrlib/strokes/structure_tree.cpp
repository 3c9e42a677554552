// The outline tree of the column chain (buffer set 1): the outlines of the
// character, each walked round through the chain's list nodes and written as
// the events met on the way: 'd' where a run begins, 'p' where one ends, 'A'
// where a gap opens in a run and 'U' where a gap closes. A character without
// holes has one outline ("dp" for a bar, "dpdU" for a 7). Each outline is a
// branch of the tree (a cell node from the pool, at most 48, each with at
// most 20 events), hung below the branch made before it.
//
// The walk goes down (to later lines) along the opening edges of runs and up
// along their closing edges: clockwise on the page for the column chain, so
// that a 7 reads "dpdU" from the left end of its bar. At an
// event it turns onto the other edge of the run or gap that begins or ends
// there; otherwise it goes on with the edge's last link. A walk that cannot
// go on (a chain left inconsistent by the merge) ends its outline with a '?'
// event, which no branch of the digit decision knows.
#include <algorithm>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kMaxBranches = 48;
constexpr int kMaxWalkSteps = 50000;

enum EventKind : uint32_t { kEventBroken = 0, kRunBegins = 1, kRunEnds = 2, kGapOpens = 3,
                            kGapCloses = 4 };
constexpr char kEventLetters[] = "?dpAU";

bool IsEvent(const ListNode* n) {
  return n != nullptr && n->linkCount == 0 && n->prev != nullptr;
}

// Lower-list values that begin something, upper-list ones that end it;
// odd positions close a run, even ones open it.
EventKind KindOf(const ListNode* n) {
  const bool even = n->parity == 1;
  if (n->side == 1) return even ? kGapOpens : kRunBegins;
  return even ? kGapCloses : kRunEnds;
}

struct WalkPosition {
  ListNode* node;
  bool down;  // along an opening edge, to later lines
};

// Where the outline goes on after event `e`: onto the other edge of the run
// or gap [e.prev, e).
WalkPosition AfterEvent(ListNode* e) {
  switch (KindOf(e)) {
    case kRunBegins: return {e->prev, true};
    case kGapOpens: return {e, true};
    case kRunEnds: return {e, false};
    default: return {e->prev, false};
  }
}

// One step along the edge: the next event met, or the next position in
// *position; null with *broken when the walk cannot go on.
ListNode* StepAlongEdge(WalkPosition* position, bool* broken) {
  ListNode* across = position->node->twin;
  if (across == nullptr) {
    *broken = true;
    return nullptr;
  }
  if (IsEvent(across)) return across;
  if (IsEvent(across->next)) return across->next;
  if (across->linkCount == 0) {
    *broken = true;
    return nullptr;
  }
  position->node = across->links[across->linkCount - 1];
  return nullptr;
}

// Walks the outline from event `start` round to it again, adding its events
// to the branch. Returns 0, or -9 after 14 (more than 20 events).
int WalkOutline(ListNode* start, CellNode* branch) {
  ListNode* event = start;
  for (int steps = 0; steps < kMaxWalkSteps;) {
    if (AddCellPair(branch, KindOf(event), event) != 0) return -9;
    event->ownerMark = branch->number;
    WalkPosition position = AfterEvent(event);
    bool broken = false;
    ListNode* next = nullptr;
    while (next == nullptr && !broken && ++steps < kMaxWalkSteps) {
      next = StepAlongEdge(&position, &broken);
    }
    if (next == start) return 0;
    if (next == nullptr || next->ownerMark != 0) break;
    event = next;
  }
  return AddCellPair(branch, kEventBroken, nullptr) != 0 ? -9 : 0;
}

// Turns the branch's events to the lexicographically smallest rotation of
// their kinds (the earliest of equal ones).
void RotateToSmallest(CellNode* branch) {
  const int n = branch->pairCount;
  int best = 0;
  for (int r = 1; r < n; ++r) {
    for (int k = 0; k < n; ++k) {
      const uint32_t a = branch->pairKinds[(r + k) % n], b = branch->pairKinds[(best + k) % n];
      if (a != b) {
        if (a < b) best = r;
        break;
      }
    }
  }
  std::rotate(branch->pairKinds, branch->pairKinds + best, branch->pairKinds + n);
  std::rotate(branch->pairItems, branch->pairItems + best, branch->pairItems + n);
  branch->listStart = static_cast<uint32_t>(best);
}

// Children in order: fewer events first, then their kinds, then the first
// event's line, then its position in its list.
bool ComesBefore(const CellNode* a, const CellNode* b) {
  if (a->pairCount != b->pairCount) return a->pairCount < b->pairCount;
  for (int k = 0; k < a->pairCount; ++k) {
    if (a->pairKinds[k] != b->pairKinds[k]) return a->pairKinds[k] < b->pairKinds[k];
  }
  const ListNode* x = a->pairItems[0];
  const ListNode* y = b->pairItems[0];
  if (x == nullptr || y == nullptr) return x != nullptr;
  if (x->recordIndex != y->recordIndex) return x->recordIndex < y->recordIndex;
  return x->position < y->position;
}

struct TreeWriter {
  StructureBufferSet& set;
  int length = 0;
  bool Put(char c, ListNode* item) {
    if (length >= kMaxTreeTokens) {
      PushErrorCode(kErrCapacityFull);
      return false;
    }
    set.treeItems[length] = item;
    set.treeTokens[length++] = c;
    return true;
  }
  // The node's events, then its children in parentheses; the root's
  // children stand without them.
  bool Write(const CellNode* node, bool root) {
    for (int k = 0; k < node->pairCount; ++k) {
      if (!Put(kEventLetters[node->pairKinds[k]], node->pairItems[k])) return false;
    }
    if (node->childCount == 0) return true;
    if (!root && !Put('(', nullptr)) return false;
    for (int c = 0; c < node->childCount; ++c) {
      if (c > 0 && !Put(',', nullptr)) return false;
      if (!Write(node->children[c], false)) return false;
    }
    return root || Put(')', nullptr);
  }
};

void SortTree(CellNode* node) {
  std::stable_sort(node->children, node->children + node->childCount, ComesBefore);
  for (int c = 0; c < node->childCount; ++c) SortTree(node->children[c]);
}

}  // namespace

int BuildStructureTree() {
  StructureBufferSet& set = *g_structureSet;
  set.treeTokens[0] = '\0';
  set.treeHead = AllocCellNode();
  if (set.treeHead == nullptr) return -9;
  set.treeHead->number = 1;
  CellNode* last = set.treeHead;
  int branches = 0;
  for (ChainNode* node = set.chainHead; node != nullptr; node = node->next) {
    for (int side = 0; side < 2; ++side) {
      for (ListNode* item = node->heads[side]; item != nullptr; item = item->next) {
        if (!IsEvent(item) || item->ownerMark != 0) continue;
        CellNode* branch = branches < kMaxBranches ? AllocCellNode() : nullptr;
        if (branch == nullptr || last->childCount >= kMaxCellChildren) {
          PushErrorCode(kErrCapacityFull);
          return -9;
        }
        branch->number = static_cast<uint32_t>(++branches + 1);
        AddCellNodeItem(last, branch);
        if (WalkOutline(item, branch) != 0) return -9;
        RotateToSmallest(branch);
        last = branch;
      }
    }
  }
  SortTree(set.treeHead);
  TreeWriter writer{set};
  if (!writer.Write(set.treeHead, true)) {
    set.treeTokens[writer.length] = '\0';
    return -9;
  }
  set.treeTokens[writer.length] = '\0';
  return 0;
}
