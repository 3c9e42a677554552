// Candidate records of one character: clearing and copying, the conversion of
// a similarity into the confidence byte, the small-kana pairs and the
// per-character results of the exports.
#include <cmath>

#include "ocrlib/core/core_internal.h"

const uint8_t kLargeKanaTrail[kSmallKanaPairs] = {0x41, 0x43, 0x45, 0x47, 0x49, 0x4A,
                                                   0x50, 0x63, 0x84, 0x86, 0x88, 0x8F};
const uint8_t kSmallKanaTrail[kSmallKanaPairs] = {0x40, 0x42, 0x44, 0x46, 0x48, 0x95,
                                                   0x96, 0x62, 0x83, 0x85, 0x87, 0x8E};

int SmallKanaPairOf(uint16_t code) {
  if ((code >> 8) != 0x83) return -1;
  for (int i = 0; i < kSmallKanaPairs; ++i) {
    if ((code & 0xFF) == kLargeKanaTrail[i]) return i;
  }
  return -1;
}

void ClearCandidate(RecogCandidate* c) {
  *c = RecogCandidate{};
  c->lead = c->trail = kEmptyCodeByte;
  c->model = -1;
  c->distance1 = c->distance2 = kNoDistance;
}

void ClearCharRecord(CharWorkRecord* record) {
  for (RecogCandidate& c : record->candidates) ClearCandidate(&c);
  record->count = 0;
  record->box = MupaRect{};
  record->shapeGroup = 0;
  record->confidence = 0;
}

void CopyCharRecord(const CharWorkRecord& source, CharWorkRecord* destination) {
  *destination = source;
}

const std::array<uint16_t, 100>& ConfidenceTable() {
  // No threshold but T[0] is a whole number (100 - k over 100 is a fourth
  // power of a fraction only for k = 0), so the floor of the double is exact.
  static const std::array<uint16_t, 100> table = [] {
    std::array<uint16_t, 100> t = {};
    t[0] = 25599;
    for (int k = 1; k < 100; ++k) {
      t[k] = static_cast<uint16_t>(std::floor(25600.0 * std::pow((100 - k) / 100.0, 0.25)));
    }
    return t;
  }();
  return table;
}

void ScoreToConfidence(int32_t similarity, uint8_t* confidence) {
  const std::array<uint16_t, 100>& t = ConfidenceTable();
  for (int k = 0; k < 100; ++k) {
    if (t[k] < similarity) {
      *confidence = static_cast<uint8_t>(100 - k);
      return;
    }
  }
  *confidence = 0;  // weaker than every threshold: no confidence at all
}

void SetSingleResult(RecogCharResult* result, uint16_t code, const MupaRect& box) {
  *result = RecogCharResult{};
  for (RecogCharResult::Candidate& c : result->candidates) c = {kNoCandidate, 0};
  result->candidates[0].code = code;
  result->box = box;
}
