// A write-in field: the character of every cell the caller names, empty
// cells as full-width blanks, the candidates of the whole field re-ranked by
// box geometry and reordered by context, and an end record whose box holds
// every recognised cell.
#include <algorithm>
#include <memory>
#include <new>

#include "ocrlib/frame/frame_internal.h"

namespace {

constexpr uint16_t kFullWidthSpace = 0x8140;

bool IsEmptyCell(const MupaRect& r) {
  return r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0;
}

}  // namespace

void ConvertWorkRecord(const CharWorkRecord& record, RecogCharResult* result) {
  SetSingleResult(result, kNoCandidate, record.box);
  const int n = std::clamp<int>(record.count, 0, kResultCandidates);
  for (int i = 0; i < n; ++i) result->candidates[i] = {record.candidates[i].code(), 0};
  result->confidence = record.confidence;
  result->failed = 0;
}

// The frame has checked the capacity (1..100) and the cell count (1 or more).
int RecognizeField(RecogRunBlock* run, RecogCharResult* results, int capacity, int* count) {
  ClearErrorStack();
  *count = 0;
  std::unique_ptr<CharWorkRecord[]> records(new (std::nothrow) CharWorkRecord[kMaxResultCapacity]);
  if (!records) {
    PushErrorCode(kErrNoMemory);
    return -9;
  }
  MupaRect all = {};
  bool any = false;
  int n = 0;
  for (; n < run->cellCount && n < capacity; ++n) {
    CharWorkRecord& r = records[n];
    ClearCharRecord(&r);
    const MupaRect& cell = run->cells[n];
    if (IsEmptyCell(cell)) {
      r.candidates[0].lead = static_cast<uint8_t>(kFullWidthSpace >> 8);
      r.candidates[0].trail = static_cast<uint8_t>(kFullWidthSpace);
      r.count = 1;
      r.confidence = 100;
      continue;
    }
    RecogRunBlock one = *run;
    one.rect = cell;
    one.cells = nullptr;
    one.cellCount = 0;
    if (RecognizeCharByTypeMask(&one, &r) != 0) return -9;
    if (!any) {
      all = r.box;
      any = true;
    } else {
      UniteBoxes(all, r.box, &all);
    }
  }
  RerankByBoxGeometry(records.get(), n);
  ReorderCandidatesByContext(records.get(), n);
  for (int i = 0; i < n; ++i) ConvertWorkRecord(records[i], &results[i]);
  if (n >= capacity) {
    PushErrorCode(kErrResultsFull);
    return -9;
  }
  SetSingleResult(&results[n], kEndRecordCode, all);
  *count = n + 1;
  return 0;
}
