// The fixed pools of the structure analysis: 50 cell nodes (the structure
// tree), 50 chain nodes and 500 list nodes (the structure chain of black
// runs), and the operations on the links between list nodes. Records are
// taken in order and released all at once by a reset; a full pool or link
// list pushes 14 and fails without overwriting anything.
#include <algorithm>
#include <cstring>

#include "ocrlib/core/core_internal.h"

namespace {

CellNode g_cellNodes[kCellNodePoolSize];
ChainNode g_chainNodes[kChainNodePoolSize];
ListNode g_listNodes[kListNodePoolSize];
int g_cellNodesTaken = 0;
int g_chainNodesTaken = 0;
int g_listNodesTaken = 0;

template <class T, int N>
T* TakeFromPool(T (&pool)[N], int* taken) {
  if (*taken >= N) {
    PushErrorCode(kErrCapacityFull);
    return nullptr;
  }
  return &pool[(*taken)++];
}

int FindLink(const ListNode* node, const ListNode* other) {
  for (int i = 0; i < node->linkCount; ++i) {
    if (node->links[i] == other) return i;
  }
  return -1;
}

// Takes a and b out of their list, a directly before b, and joins the nodes
// around them.
void UnlinkNeighbours(ListNode* a, ListNode* b) {
  if (a->prev != nullptr) a->prev->next = b->next;
  if (b->next != nullptr) b->next->prev = a->prev;
}

}  // namespace

void ResetCellNodePool() { g_cellNodesTaken = 0; }

CellNode* AllocCellNode() {
  CellNode* node = TakeFromPool(g_cellNodes, &g_cellNodesTaken);
  if (node != nullptr) node->number = node->pairCount = node->childCount = 0;
  return node;
}

void AddCellNodeItem(CellNode* node, CellNode* child) {
  if (node->childCount >= kMaxCellChildren) {
    PushErrorCode(kErrCapacityFull);
    return;
  }
  node->children[node->childCount++] = child;
}

int AddCellPair(CellNode* node, uint32_t kind, ListNode* item) {
  if (node->pairCount >= kMaxCellPairs) {
    PushErrorCode(kErrCapacityFull);
    return -9;
  }
  node->pairKinds[node->pairCount] = kind;
  node->pairItems[node->pairCount] = item;
  ++node->pairCount;
  return 0;
}

void ResetListNodePools() { g_chainNodesTaken = g_listNodesTaken = 0; }

ChainNode* AllocChainNode() { return TakeFromPool(g_chainNodes, &g_chainNodesTaken); }

ListNode* AllocListNode() {
  ListNode* node = TakeFromPool(g_listNodes, &g_listNodesTaken);
  if (node != nullptr) node->linkCount = 0, node->ownerMark = 0;
  return node;
}

ListNode* AllocListNodeRun(int n) {
  ListNode* head = nullptr;
  ListNode* last = nullptr;
  for (int i = 0; i < n; ++i) {
    ListNode* node = AllocListNode();
    if (node == nullptr) return nullptr;
    node->prev = last;
    node->next = nullptr;
    if (last != nullptr) last->next = node;
    if (head == nullptr) head = node;
    last = node;
  }
  return head;
}

int AddNodeLink(ListNode* node, ListNode* other) {
  if (node->linkCount >= kMaxNodeLinks) {
    PushErrorCode(kErrCapacityFull);
    return -9;
  }
  node->links[node->linkCount++] = other;
  return 0;
}

int LinkListNodes(ListNode* a, ListNode* b) {
  if (AddNodeLink(a, b) != 0) return -9;
  return AddNodeLink(b, a);
}

void RemoveNodeLink(ListNode* node, ListNode* other) {
  const int at = FindLink(node, other);
  if (at < 0) return;
  std::copy(node->links + at + 1, node->links + node->linkCount, node->links + at);
  --node->linkCount;
}

int ReplaceNodeLink(ListNode* node, ListNode* old, ListNode* replacement) {
  const int at = FindLink(node, old);
  if (at < 0) return 0;
  node->links[at] = replacement;
  return at;
}

// Where a link now names the survivor twice in a row, the first of the two
// goes; otherwise the survivor gains the link.
void TransferLinksAppend(ListNode* survivor, ListNode* removed) {
  for (int i = 0; i < removed->linkCount; ++i) {
    ListNode* link = removed->links[i];
    const int p = ReplaceNodeLink(link, removed, survivor);
    if (p == 0 || link->links[p - 1] != survivor) {
      AddNodeLink(survivor, link);
    } else {
      RemoveNodeLink(link, survivor);
    }
  }
}

// The links the survivor gains go before its own; when they would not all
// fit, the survivor keeps its links (the other lists are already updated).
void TransferLinksPrepend(ListNode* removed, ListNode* survivor) {
  ListNode* gained[kMaxNodeLinks];
  int gainedCount = 0;
  for (int i = 0; i < removed->linkCount; ++i) {
    ListNode* link = removed->links[i];
    const int p = ReplaceNodeLink(link, removed, survivor);
    if (p == link->linkCount - 1 || link->links[p + 1] != survivor) {
      gained[gainedCount++] = link;
    } else {
      RemoveNodeLink(link, survivor);
    }
  }
  if (gainedCount + survivor->linkCount > kMaxNodeLinks) {
    PushErrorCode(kErrCapacityFull);
    return;
  }
  std::copy_backward(survivor->links, survivor->links + survivor->linkCount,
                     survivor->links + survivor->linkCount + gainedCount);
  std::copy(gained, gained + gainedCount, survivor->links);
  survivor->linkCount += gainedCount;
}

int IndexOfListNode(const ChainNode* chain, int side, const ListNode* node) {
  int position = 0;
  for (const ListNode* n = chain->heads[side]; n != nullptr; n = n->next, ++position) {
    if (n == node) return position;
  }
  return 0;
}

ListNode* GetChainListItem(const ChainNode* chain, int side, int n) {
  ListNode* node = chain->heads[side];
  for (int i = 0; i < n && node != nullptr; ++i) node = node->next;
  return node;
}

// A pair without its partner (x first or last in its list) is not removed.
ListNode* RemoveListNodePair(ListNode* x, int direction) {
  if (direction == -1) {
    ListNode* previous = x->prev;
    if (previous == nullptr) return nullptr;
    UnlinkNeighbours(previous, x);
    if (x->next != nullptr) TransferLinksPrepend(previous, x->next);
  } else {
    ListNode* next = x->next;
    if (next == nullptr) return nullptr;
    UnlinkNeighbours(x, next);
    if (x->prev != nullptr) TransferLinksAppend(x->prev, next);
  }
  if (x->linkCount == 0) return x->twin;
  ListNode* first = x->links[0];
  RemoveNodeLink(first, x);
  return first;
}
