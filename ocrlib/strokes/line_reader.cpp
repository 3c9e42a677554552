// The line digit reader's entry: the line's thinned strokes extracted once,
// read by AnalyseStrokeSegments, and written as the line driver's result
// records (the digits as full-width Shift-JIS characters and an end record).
#include <cstring>
#include <memory>
#include <new>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr uint8_t kFullWidthDigitLead = 0x82;
constexpr int kFullWidthDigitOffset = 31;  // '0' + 31 is 0x4F, "０"
constexpr int kMaxLineDigits = 256;

int Fail(uint16_t code) {
  PushErrorCode(code);
  return -9;
}

// The records of `digits` characters (none: the empty line's mark), cut to
// the capacity; -1 when cut.
int WriteLineRecords(const uint8_t* digits, int found, const MupaRect& rect,
                     LineResultRecord* records, int capacity, int* count) {
  int result = 0;
  int c = found;
  if (c >= capacity) {
    PushErrorCode(kErrCapacityFull);
    c = capacity - 1;
    result = -1;
  }
  const bool empty = c == 0;
  const int written = empty ? kMinLineRecords : c + 1;
  for (int i = 0; i < written; ++i) {
    LineResultRecord& r = records[i];
    std::memset(&r, 0, sizeof r);
    r.rect = rect;
    r.empty = empty ? 1 : 0;
    if (i < c) {
      r.code[0] = kFullWidthDigitLead;
      r.code[1] = static_cast<uint8_t>(digits[i] + kFullWidthDigitOffset);
    }
  }
  if (empty) records[0].code[0] = records[0].code[1] = 0xFF;
  records[written - 1].code[0] = kLineEndMark;
  *count = written;
  return result;
}

}  // namespace

int ExtractCharStrokes(const LineStrokeRun& run, LineResultRecord* records, int capacity,
                       int* count) {
  *count = 0;
  const MupaRect& r = run.rect;
  const int64_t area = (int64_t{r.right} - r.left + 1) * (int64_t{r.bottom} - r.top + 1);
  if (area > kMaxLineArea || r.right < r.left || r.bottom < r.top || r.left < 0 || r.top < 0) {
    return -9;
  }
  // Fewer than two records leave no room for the end record.
  if (capacity < kMinLineRecords) return Fail(kErrCapacityFull);
  int width = ((r.right >> 3) - (r.left >> 3) + 1) * 8 + 2 * kNeighbourMapBorder;
  int height = r.bottom - r.top + 1 + 2 * kNeighbourMapBorder;
  if (int64_t{width} * height > kMaxNeighbourMapBytes) return Fail(kErrNeighbourMap);
  std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[static_cast<size_t>(width) * height]);
  std::unique_ptr<StrokeRecordStore> store(new (std::nothrow) StrokeRecordStore);
  if (!bytes || !store) return Fail(kErrNoMemory);
  if (BuildNeighbourMap(run.bits, r.left, r.right, r.top, r.bottom, run.bytesPerLine, bytes.get(),
                        &width, &height) != 0) {
    return -9;
  }
  NeighbourMap map = {bytes.get(), static_cast<int16_t>(width), static_cast<int16_t>(height),
                      kNeighbourMapBorder};
  uint8_t digits[kMaxLineDigits];
  int16_t found = 0;
  if (map.width * 10 >= map.height) {
    ClearBitmapMargin(&map);
    StrokeRecordStore& s = *store;
    BindStrokeRecordStore(s);
    ResetStrokeWorkLists(&s.contours);
    ResetStrokeNodeCounts(&s.points);
    StrokeStepList steps;
    steps.path = 1;
    steps.family = kStepFamilyThinned;
    steps.count = 1;
    steps.steps[0] = 1;
    // A failed extraction leaves its code on the stack and reads nothing.
    if (RunStrokeExtraction(&steps, &map, &s.contours, &s.points) == 0 &&
        AnalyseStrokeSegments(&steps, &s.contours, &s.points, run.modelSet, run.work, run.checks,
                              &found, digits, kMaxLineDigits) != 0) {
      return -9;
    }
    if (map.height > map.width && found < 2) found = 0;
  }
  return WriteLineRecords(digits, found, r, records, capacity, count);
}
