// Consistency checks of the structure chain against its records.
#include "tests/ocrlib/kit/chain_check.h"

namespace penkit {

namespace {

int ListLength(const ListNode* n) {
  int length = 0;
  for (; n != nullptr; n = n->next) ++length;
  return length;
}

bool LinksTo(const ListNode* a, const ListNode* b) {
  for (int i = 0; i < a->linkCount; ++i)
    if (a->links[i] == b) return true;
  return false;
}

}  // namespace

std::string CheckStructureChain() {
  const StructureBufferSet& set = *g_structureSet;
  for (const ChainNode* c = set.chainHead; c != nullptr; c = c->next) {
    const std::string at = "chain node " + std::to_string(c->index) + ": ";
    if (c->next != nullptr && c->next->prev != c) return at + "next does not lead back";
    if (c->index < 1 || static_cast<int>(c->index) >= set.recordCount) return at + "index";
    const int upperCount = set.records[c->index - 1].count;
    const int lowerCount = set.records[c->index].count;
    if (ListLength(c->heads[0]) != upperCount + 1) return at + "upper list length";
    if (ListLength(c->heads[1]) != lowerCount + 1) return at + "lower list length";
    if (c->entryCounts[0] != upperCount + 1 || c->entryCounts[1] != lowerCount + 1)
      return at + "entry counts";
    const int end = c->next != nullptr ? static_cast<int>(c->next->index) : set.recordCount;
    for (int line = c->index; line < end; ++line)
      if (set.records[line].count != lowerCount) return at + "span lines differ";
    for (int side = 0; side < 2; ++side)
      for (const ListNode* n = c->heads[side]; n != nullptr; n = n->next) {
        if (n->next != nullptr && n->next->prev != n) return at + "list order";
        for (int i = 0; i < n->linkCount; ++i) {
          const ListNode* other = n->links[i];
          if (other->chainNode != c || other->side == n->side) return at + "link leaves the node";
          if (!LinksTo(other, n)) return at + "link not mutual";
        }
        if (n->twin != nullptr && n->twin->twin != n) return at + "twin not mutual";
      }
    if (c->next != nullptr) {
      const ListNode* b = c->next->heads[0];
      for (const ListNode* a = c->heads[1]; a != nullptr; a = a->next, b = b->next)
        if (b == nullptr || a->twin != b) return at + "twins do not pair the lines";
    }
  }
  return "";
}

}  // namespace penkit
