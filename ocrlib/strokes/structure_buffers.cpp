// The structural recogniser's working storage: two buffer sets (rows and
// columns of one character) and the decision cell, the scan of the character
// box into one transition record per line, and the edit that takes a pair of
// transitions out of a range of records. Boxes are at most 198 by 198
// pixels, so a set holds at most 200 records of at most 20 transitions.
#include <algorithm>

#include "ocrlib/strokes/strokes_internal.h"

StructureBufferSet g_structureSets[2];
StructureBufferSet* g_structureSet = &g_structureSets[0];
int32_t g_structureDecision = kUndecided;
StructureInput g_structureInput;

namespace {

// A box side of 198 pixels gives 200 records (the empty ones around it) and
// an end mark of 200.
constexpr int kMaxBoxSpan = 197;  // right - left, bottom - top

// The transitions that a row scan may hold before the pixels of one more
// byte are added; the final count must stay below kRowTransitionLimit.
constexpr int kRowCountBeforeByte = 12;
constexpr int kRowTransitionLimit = 20;

bool PixelIsBlack(const StructureInput& in, int x, int y) {
  const uint8_t byte = in.bits[static_cast<int64_t>(y) * in.bytesPerLine + (x >> 3)];
  return (byte >> (7 - (x & 7))) & 1;
}

void SetEmptyRecord(RowTransitionRecord& record, int length) {
  record.count = 0;
  record.column[0] = length + 2;
}

// Closes a line that ends black and writes the end mark.
void FinishRecord(RowTransitionRecord& record, int length) {
  if (record.count % 2 != 0) record.column[record.count++] = length + 1;
  record.column[record.count] = length + 2;
}

// One row, byte by byte as the bitmap holds it: a row may hold 12
// transitions before the pixels of a further byte are looked at.
int ScanRow(const StructureInput& in, int y, RowTransitionRecord& record) {
  const int width = in.right - in.left + 1;
  record.count = 0;
  bool black = false;
  for (int byteX = in.left & ~7; byteX <= in.right; byteX += 8) {
    if (record.count >= kRowCountBeforeByte) return -1;
    for (int x = std::max(byteX, in.left); x < byteX + 8 && x <= in.right; ++x) {
      if (PixelIsBlack(in, x, y) == black) continue;
      black = !black;
      record.column[record.count++] = x - in.left + 1;
    }
  }
  FinishRecord(record, width);
  return record.count >= kRowTransitionLimit ? -1 : 0;
}

int ScanColumn(const StructureInput& in, int x, RowTransitionRecord& record) {
  const int height = in.bottom - in.top + 1;
  record.count = 0;
  bool black = false;
  for (int y = in.top; y <= in.bottom; ++y) {
    if (PixelIsBlack(in, x, y) == black) continue;
    if (record.count >= kMaxRowTransitions) return -1;
    black = !black;
    record.column[record.count++] = y - in.top + 1;
  }
  FinishRecord(record, height);
  return 0;
}

}  // namespace

void SelectStructureBuffers(int set) { g_structureSet = &g_structureSets[set == 1 ? 1 : 0]; }

int CheckStructureInput(const StructureInput& in) {
  const bool fits = in.bits != nullptr && in.bytesPerLine > 0 && in.left >= 0 && in.top >= 0 &&
                    in.right >= in.left && in.bottom >= in.top &&
                    in.right < static_cast<int64_t>(in.bytesPerLine) * 8 &&
                    in.right - in.left <= kMaxBoxSpan && in.bottom - in.top <= kMaxBoxSpan;
  if (fits) return 0;
  PushErrorCode(kErrCapacityFull);
  return -9;
}

int ListRowTransitions(int mode) {
  const StructureInput& in = g_structureInput;
  StructureBufferSet& set = *g_structureSet;
  const bool rows = mode == 0;
  const int lines = rows ? in.bottom - in.top + 1 : in.right - in.left + 1;
  const int length = rows ? in.right - in.left + 1 : in.bottom - in.top + 1;
  set.recordCount = lines + 2;
  SetEmptyRecord(set.records[0], length);
  SetEmptyRecord(set.records[lines + 1], length);
  for (int i = 0; i < lines; ++i) {
    RowTransitionRecord& record = set.records[i + 1];
    const int result = rows ? ScanRow(in, in.top + i, record) : ScanColumn(in, in.left + i, record);
    if (result != 0) {
      set.recordCount = 0;
      PushErrorCode(kErrCapacityFull);
      return -9;
    }
  }
  return 0;
}

void RemoveChainRecordPair(int first, int end, int p) {
  StructureBufferSet& set = *g_structureSet;
  for (int r = std::max(first, 0); r < end && r < set.recordCount; ++r) {
    RowTransitionRecord& record = set.records[r];
    if (p < 1 || p >= record.count) continue;
    std::copy(record.column + p + 1, record.column + record.count + 1, record.column + p - 1);
    record.count -= 2;
  }
}
