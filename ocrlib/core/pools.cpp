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

// A transfer of links worked out on copies of the lists it rewrites, so that
// a survivor without room for what it gains leaves every list as it was: a
// link kept on one side only would send the walks of the chain to a node
// that no longer answers.
struct LinkTransfer {
  ListNode* owners[kMaxNodeLinks];
  ListNode copies[kMaxNodeLinks];
  int copyCount = 0;
  ListNode* gained[kMaxNodeLinks];
  int gainedCount = 0;

  // The removed node has at most kMaxNodeLinks links, so as many owners.
  ListNode& CopyOf(ListNode* owner) {
    for (int i = 0; i < copyCount; ++i) {
      if (owners[i] == owner) return copies[i];
    }
    owners[copyCount] = owner;
    copies[copyCount] = *owner;
    return copies[copyCount++];
  }

  // Returns 0, or -9 after 14 (nothing written) when the survivor's links
  // and the gained ones would not fit; the gained ones go after the
  // survivor's own, or before them when `gainedFirst`.
  int WriteBack(ListNode* survivor, bool gainedFirst) {
    if (survivor->linkCount + gainedCount > kMaxNodeLinks) {
      PushErrorCode(kErrCapacityFull);
      return -9;
    }
    for (int i = 0; i < copyCount; ++i) {
      owners[i]->linkCount = copies[i].linkCount;
      std::copy(copies[i].links, copies[i].links + copies[i].linkCount, owners[i]->links);
    }
    ListNode** own = survivor->links;
    if (gainedFirst) {
      std::copy_backward(own, own + survivor->linkCount, own + survivor->linkCount + gainedCount);
      std::copy(gained, gained + gainedCount, own);
    } else {
      std::copy(gained, gained + gainedCount, own + survivor->linkCount);
    }
    survivor->linkCount += gainedCount;
    return 0;
  }
};

// Where a link now names the survivor twice in a row, the first of the two
// goes; otherwise the survivor gains the link.
int TransferLinksAppend(ListNode* survivor, ListNode* removed) {
  LinkTransfer transfer;
  for (int i = 0; i < removed->linkCount; ++i) {
    ListNode* link = removed->links[i];
    ListNode& copy = transfer.CopyOf(link);
    const int p = ReplaceNodeLink(&copy, removed, survivor);
    if (p == 0 || copy.links[p - 1] != survivor) {
      transfer.gained[transfer.gainedCount++] = link;
    } else {
      RemoveNodeLink(&copy, survivor);
    }
  }
  return transfer.WriteBack(survivor, false);
}

// The links the survivor gains go before its own.
int TransferLinksPrepend(ListNode* removed, ListNode* survivor) {
  LinkTransfer transfer;
  for (int i = 0; i < removed->linkCount; ++i) {
    ListNode* link = removed->links[i];
    ListNode& copy = transfer.CopyOf(link);
    const int p = ReplaceNodeLink(&copy, removed, survivor);
    if (p == copy.linkCount - 1 || copy.links[p + 1] != survivor) {
      transfer.gained[transfer.gainedCount++] = link;
    } else {
      RemoveNodeLink(&copy, survivor);
    }
  }
  return transfer.WriteBack(survivor, true);
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

// A pair without its partner (x first or last in its list), or whose
// links the survivor has no room for (after 14), is not removed.
ListNode* RemoveListNodePair(ListNode* x, int direction) {
  if (direction == -1) {
    ListNode* previous = x->prev;
    if (previous == nullptr) return nullptr;
    if (x->next != nullptr && TransferLinksPrepend(previous, x->next) != 0) return nullptr;
    UnlinkNeighbours(previous, x);
  } else {
    ListNode* next = x->next;
    if (next == nullptr) return nullptr;
    if (x->prev != nullptr && TransferLinksAppend(x->prev, next) != 0) return nullptr;
    UnlinkNeighbours(x, next);
  }
  if (x->linkCount == 0) return x->twin;
  ListNode* first = x->links[0];
  RemoveNodeLink(first, x);
  return first;
}
