// The structure chain of black runs: one chain node where the runs of two
// neighbouring lines differ, its two lists holding the transitions of both
// lines and links between the values that continue each other; and the
// chain written as a short text of tokens, one token a node ("d,A,V,p,").
// Works on the current buffer set and the fixed pools (50 chain nodes, 500
// list nodes); a full pool ends the chain with 14.
#include <cstring>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kMaxNodePairs = 40;
constexpr int kNodeTokenRoom = 128;  // raw tokens of one node, before compaction

bool IsEven(int v) { return (v & 1) == 0; }

// The pairing walk over the values of two lines (end marks included): which
// value of the upper line continues into which of the lower. Returns the
// number of pairs, or -1 after 14 when there are more than 40.
int PairLineValues(const RowTransitionRecord& a, const RowTransitionRecord& b, int pairs[][2]) {
  int count = 0;
  int i = 0, j = 0;
  while (j <= b.count) {
    if (IsEven(i - j)) {
      if (count == kMaxNodePairs) {
        PushErrorCode(kErrCapacityFull);
        return -1;
      }
      pairs[count][0] = i;
      pairs[count][1] = j;
      ++count;
    }
    if (b.column[j] < a.column[i]) {
      ++j;
    } else if (b.column[j] > a.column[i]) {
      ++i;
    } else if (IsEven(i - j)) {
      ++i, ++j;
    } else if (!IsEven(i)) {
      ++j;
    } else {
      ++i;
    }
    if (i > a.count) break;
  }
  return count;
}

bool StructureContinues(const RowTransitionRecord& a, const RowTransitionRecord& b,
                        const int pairs[][2], int count) {
  if (a.count != b.count) return false;
  for (int k = 0; k < count; ++k) {
    if (pairs[k][0] != pairs[k][1]) return false;
  }
  return true;
}

// Takes the list of one line: n list nodes in order, their fields set.
ListNode* TakeLineList(ChainNode* node, int side, int n, uint32_t firstSequence, uint32_t record,
                       ListNode** nodes) {
  ListNode* head = AllocListNodeRun(n);
  if (head == nullptr) return nullptr;
  int k = 0;
  for (ListNode* item = head; item != nullptr; item = item->next, ++k) {
    item->sequence = firstSequence + k;
    item->twin = nullptr;
    item->parity = IsEven(k) ? 1 : 0;
    item->side = side;
    item->recordIndex = record;
    item->chainNode = node;
    item->position = k;
    nodes[k] = item;
  }
  return head;
}

ChainNode* MakeChainNode(const RowTransitionRecord* upper, bool* failed) {
  *failed = false;
  const RowTransitionRecord& a = upper[0];
  const RowTransitionRecord& b = upper[1];
  int pairs[kMaxNodePairs][2];
  const int pairCount = PairLineValues(a, b, pairs);
  if (pairCount < 0) {
    *failed = true;
    return nullptr;
  }
  if (StructureContinues(a, b, pairs, pairCount)) return nullptr;

  ChainNode* node = AllocChainNode();
  ListNode* upperNodes[kMaxRowValues];
  ListNode* lowerNodes[kMaxRowValues];
  const uint32_t record = static_cast<uint32_t>(upper - g_structureSet->records);
  if (node == nullptr ||
      (node->heads[0] = TakeLineList(node, 0, a.count + 1, 0, record, upperNodes)) == nullptr ||
      (node->heads[1] = TakeLineList(node, 1, b.count + 1, a.count + 1, record + 1,
                                     lowerNodes)) == nullptr) {
    *failed = true;
    return nullptr;
  }
  node->index = record + 1;
  node->entryCounts[0] = a.count + 1;
  node->entryCounts[1] = b.count + 1;
  node->next = node->prev = nullptr;
  for (int k = 0; k < pairCount; ++k) {
    if (LinkListNodes(upperNodes[pairs[k][0]], lowerNodes[pairs[k][1]]) != 0) {
      *failed = true;
      return nullptr;
    }
  }
  return node;
}

// ---- tokens ---------------------------------------------------------------------
// A bounded text of one node's raw tokens.
struct TokenText {
  char text[kNodeTokenRoom];
  int length = 0;
  void Put(char c) {
    if (length < kNodeTokenRoom - 1) text[length++] = c;
  }
  void Put(const TokenText& other) {
    for (int k = 0; k < other.length; ++k) Put(other.text[k]);
  }
};

bool HasOneLink(const ListNode* n) { return n != nullptr && n->linkCount == 1; }

ListNode* Next(ListNode* n) { return n != nullptr ? n->next : nullptr; }

// The node after `from` has no link and the one after it has `other` as its
// first link: a run of `from`'s line ends (or begins) between them.
bool RunChangesAfter(ListNode* from, const ListNode* other) {
  ListNode* gap = Next(from);
  ListNode* after = Next(gap);
  return gap != nullptr && gap->linkCount == 0 && after != nullptr && after->linkCount > 0 &&
         after->links[0] == other;
}

void EmitRunChanges(ListNode*& x, ListNode*& y, char upperLetter, char lowerLetter,
                    TokenText& out) {
  for (;;) {
    if (x != nullptr && RunChangesAfter(x, y)) {
      out.Put(upperLetter);
      x = x->next->next;
    } else if (y != nullptr && RunChangesAfter(y, x)) {
      out.Put(lowerLetter);
      y = y->next->next;
    } else {
      break;
    }
  }
  x = Next(x);
  y = Next(y);
}

void EmitContinue(ListNode*& x, ListNode*& y, TokenText& out) {
  if (HasOneLink(x) && HasOneLink(y)) {
    out.Put('i');
    x = x->next;
    y = y->next;
  } else {
    EmitRunChanges(x, y, 'p', 'd', out);
  }
}

// Runs of the upper line that merge ("q") and of the lower line that split
// ("b") between the same two values make one letter.
void EmitBranch(ListNode*& x, ListNode*& y, TokenText& out) {
  if (HasOneLink(x) && HasOneLink(y)) {
    out.Put('I');
    x = x->next;
    y = y->next;
    return;
  }
  TokenText changes;
  EmitRunChanges(x, y, 'q', 'b', changes);
  static const struct {
    const char* changes;
    char letter;
  } kLetters[] = {{"q", 'V'}, {"b", 'A'}, {"bb", 'M'}, {"bq", 'N'}, {"qb", 'S'}, {"qq", 'W'}};
  changes.text[changes.length] = '\0';
  for (const auto& entry : kLetters) {
    if (std::strcmp(changes.text, entry.changes) == 0) {
      out.Put(entry.letter);
      return;
    }
  }
  out.Put(changes);
}

bool IsSplitOrMergeLetter(char c) { return c == 'b' || c == 'q'; }

// Drops the continuation marks: an "i" stays only between two of "b" and
// "q"; the character after a dropped "i" is copied as it is.
void CompactTokens(const TokenText& raw, TokenText& out) {
  const char* t = raw.text;
  const int n = raw.length;
  for (int k = 0; k < n; ++k) {
    if (t[k] != 'i') {
      out.Put(t[k]);
      continue;
    }
    if (k + 1 >= n) break;
    if (k > 0 && IsSplitOrMergeLetter(t[k - 1]) && IsSplitOrMergeLetter(t[k + 1])) {
      out.Put('i');
      continue;
    }
    out.Put(t[++k]);
  }
}

}  // namespace

ChainNode* BuildChainNode(const RowTransitionRecord* upper) {
  bool failed;
  return MakeChainNode(upper, &failed);
}

void LinkTwinLists(ChainNode* previous, ChainNode* node) {
  if (previous == nullptr) return;
  ListNode* b = node->heads[0];
  for (ListNode* a = previous->heads[1]; a != nullptr && b != nullptr; a = a->next, b = b->next) {
    a->twin = b;
    b->twin = a;
  }
}

ChainNode* BuildStructureChain(int* result) {
  StructureBufferSet& set = *g_structureSet;
  *result = 0;
  ChainNode* head = nullptr;
  ChainNode* last = nullptr;
  for (int r = 0; r + 1 < set.recordCount; ++r) {
    if (set.records[r].count == 0 && set.records[r + 1].count == 0) continue;
    bool failed;
    ChainNode* node = MakeChainNode(&set.records[r], &failed);
    if (failed) {
      *result = -9;
      return nullptr;
    }
    if (node == nullptr) continue;
    node->prev = last;
    if (last != nullptr) last->next = node;
    if (head == nullptr) head = node;
    LinkTwinLists(last, node);
    last = node;
  }
  return head;
}

int FormatChainTokens() {
  StructureBufferSet& set = *g_structureSet;
  char* text = set.tokens;
  int length = 0;
  text[0] = '\0';
  for (ChainNode* node = set.chainHead; node != nullptr; node = node->next) {
    TokenText raw;
    ListNode* x = node->heads[0];
    ListNode* y = node->heads[1];
    EmitContinue(x, y, raw);
    while (x != nullptr) {
      EmitBranch(x, y, raw);
      EmitContinue(x, y, raw);
    }
    TokenText tokens;
    CompactTokens(raw, tokens);
    // The text keeps room for its zero byte: what would reach 100 characters
    // is cut at 99.
    const int room = kStructureTokenRoom - 1 - length;
    if (raw.length > room || tokens.length + 1 > room) {
      const int kept = raw.length < room ? raw.length : room;
      std::memcpy(text + length, raw.text, kept);
      text[length + kept] = '\0';
      PushErrorCode(kErrCapacityFull);
      return -9;
    }
    std::memcpy(text + length, tokens.text, tokens.length);
    length += tokens.length;
    text[length++] = ',';
    text[length] = '\0';
  }
  return 0;
}

void IndexChainItems() {
  for (ChainNode* node = g_structureSet->chainHead; node != nullptr; node = node->next) {
    for (uint32_t side = 0; side < 2; ++side) {
      uint32_t position = 0;
      for (ListNode* item = node->heads[side]; item != nullptr; item = item->next, ++position) {
        item->chainNode = node;
        item->position = position;
        item->side = side;
        item->recordIndex = node->index + side - 1;
      }
    }
  }
}
