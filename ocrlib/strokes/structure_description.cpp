// Structure descriptions: an edge of the black runs followed line by line
// between two nodes of the structure chain becomes a path of unit steps and
// then a short string of direction characters ('4' straight down the lines,
// '0' and '8' along a line). A rule list says which edges between which
// nodes make each group of characters. Works on the current buffer set; a
// group holds at most 200 values and 400 path points, a description at most
// 1,023 characters.
#include <cstdint>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

// A rule item names a node, by its position in the chain, or a transition of
// a line that the chain does not have: the description cannot be made.
constexpr int kNoSuchValue = -2;

ChainNode* ChainNodeAt(int position) {
  ChainNode* node = g_structureSet->chainHead;
  for (int k = 0; k < position && node != nullptr; ++k) node = node->next;
  return position >= 0 ? node : nullptr;
}

// Column of transition `k` of record `line`, or kNoSuchValue.
int32_t TransitionColumn(int line, int k) {
  const StructureBufferSet& set = *g_structureSet;
  if (line < 0 || line >= set.recordCount) return kNoSuchValue;
  const RowTransitionRecord& r = set.records[line];
  return k >= 0 && k < r.count ? r.column[k] : kNoSuchValue;
}

// The transition that closes the edge at a node: the value after `edge` when
// the edge's list node there is linked, the one before it when the edge
// starts or ends at that node.
int ClosingTransition(const ChainNode* node, int side, int edge) {
  const ListNode* item = GetChainListItem(node, side, edge);
  if (item == nullptr) return kNoSuchValue;
  return item->linkCount != 0 ? edge + 1 : edge - 1;
}

// Quantised slope in thousandths: -2..2.
int QuantiseSlope(int64_t r) {
  if (r < -668) return -2;
  if (r < -198) return -1;
  if (r < 199) return 0;
  if (r < 669) return 1;
  return 2;
}

}  // namespace

int AngleFromDeltas(int32_t dx, int32_t dy) {
  const int64_t x = dx, y = dy;
  if (y > -x && y <= x) return QuantiseSlope(1000 * y / x);
  if (y > -x) return QuantiseSlope(-1000 * x / y) + 4;
  if (y < x) return QuantiseSlope(-1000 * x / y) - 4;
  if (y > 0) return QuantiseSlope(1000 * y / x) + 8;
  if (x == 0) return 0;
  return QuantiseSlope(1000 * y / x) - 8;
}

void SampleDirections(const StepPoint* points, int count, char* out, int n) {
  const int step = (count + n - 1) / n + 1;
  const int window = step > 4 ? step : 4;
  for (int i = 0; i < n; ++i) {
    const int centre = static_cast<int>((count / 2 + static_cast<int64_t>(i) * count) / n);
    int lo = centre - window / 2;
    int hi = lo + window - 1;
    lo = lo < 0 ? 0 : (lo > count - 1 ? count - 1 : lo);
    hi = hi < 0 ? 0 : (hi > count - 1 ? count - 1 : hi);
    out[i] = static_cast<char>('4' + AngleFromDeltas(points[hi].index - points[lo].index,
                                                     points[hi].value - points[lo].value));
  }
}

int CollectProfilePoints(const int32_t* item, int flags, int32_t* values, int count) {
  const ChainNode* first = ChainNodeAt(item[0]);
  const ChainNode* last = ChainNodeAt(item[1]);
  const int edge = item[2];
  if (first == nullptr || last == nullptr || last->index < first->index) return -1;
  const int firstLine = static_cast<int>(first->index);
  const int lastLine = static_cast<int>(last->index);
  auto append = [&](int32_t value) {
    if (value == kNoSuchValue) return false;
    if (count >= kMaxProfileValues) {
      PushErrorCode(kErrCapacityFull);
      return false;
    }
    values[count++] = value;
    return true;
  };
  if ((flags & kStepDropFirst) != 0 &&
      !append(TransitionColumn(firstLine, ClosingTransition(first, 1, edge)))) {
    return -1;
  }
  for (int line = firstLine; line < lastLine; ++line) {
    if (!append(TransitionColumn(line, edge))) return -1;
  }
  if ((flags & kStepDropLast) != 0 &&
      !append(TransitionColumn(lastLine - 1, ClosingTransition(last, 0, edge)))) {
    return -1;
  }
  return count;
}

namespace {

// Writes the groups of `rules` into out[written..]; false when the
// description cannot be made (14 pushed when it or a group runs out of room).
bool DescribeGroups(const int32_t* rules, char* out, int& written) {
  int32_t values[kMaxProfileValues];
  StepPoint points[kMaxStepPoints];
  const int32_t* item = rules;
  while (item[0] == kRuleGroup) {
    // Each word is looked at only when the one before it did not end the list.
    const int32_t n = item[1];
    if (n < 1) return false;
    const int32_t groupFlags = item[2];
    if (groupFlags < 0) return false;
    item += 3;
    if (item[0] < 0) return false;
    if (n > kDescriptionRoom - 1 - written) {
      PushErrorCode(kErrCapacityFull);
      return false;
    }
    int count = 0;
    int edgeKinds = 0;  // 8: an odd edge, 4: an even one
    for (bool firstItem = true; item[0] >= 0; item += 3, firstItem = false) {
      if (item[1] < 0 || item[2] < 0) return false;  // the list ends inside an item
      const bool lastItem = item[3] < 0;
      const int flags = (firstItem ? groupFlags & kStepDropFirst : 0) |
                        (lastItem ? groupFlags & kStepDropLast : 0);
      count = CollectProfilePoints(item, flags, values, count);
      if (count < 0) return false;
      edgeKinds |= (item[2] & 1) != 0 ? 8 : kStepSwapFillIndex;
    }
    const int pathLength = ExpandStepPath(
        values, count, (groupFlags & (kStepDropFirst | kStepDropLast)) | edgeKinds, points);
    if (pathLength < 1) return false;
    SampleDirections(points, pathLength, out + written, n);
    written += n;
    if (item[0] == kRuleEnd) return true;
    if (written + 1 > kDescriptionRoom - 1) {
      PushErrorCode(kErrCapacityFull);
      return false;
    }
    out[written++] = ':';
  }
  return false;
}

}  // namespace

const char* FormatStructureDescription(const int32_t* rules) {
  char* out = g_structureSet->description;
  int written = 0;
  const bool made = rules != nullptr && rules[0] == kRuleGroup && DescribeGroups(rules, out, written);
  out[written] = '\0';
  return made ? out : nullptr;
}
