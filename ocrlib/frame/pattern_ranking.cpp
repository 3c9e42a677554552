// Pattern classifier, second half: the fine distance over all features, the
// re-ranking against rival classes, the candidate list and its confidence.
//
// The fine stage touches 552 table bytes a class; it keeps at most ten
// classes and ends most computations early (twice the best partial sum after
// 32 features, then the tenth kept distance every 32 features).
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ocrlib/frame/frame_internal.h"

namespace {

constexpr int kFineCheckStep = 32;
constexpr int kRerankWindow = 1000;  // re-rank only when the second is this close
constexpr int32_t kGapNone = 9999;

struct GapBand {
  int32_t scale, offset;
};
// Rows by type index (0 other, 1 capitals, 2 katakana, 3 and 4 further
// types); bands for gaps 200..1399, 1400..3499, 3500 and more.
constexpr GapBand kGapScaleTable[5][3] = {
    {{2622, 16554}, {606, 23430}, {130, 25236}},
    {{5003, 8777}, {1162, 21794}, {109, 25333}},
    {{1820, 18086}, {633, 22896}, {213, 24967}},
    {{3428, 16743}, {141, 25128}, {0, 25600}},
    {{3912, 16729}, {0, 25600}, {17, 25554}},
};

// Hiragana pairs (lead byte 0x82) whose small form a classifier easily takes
// for the large one; the katakana pairs are the core's twelve.
constexpr uint8_t kLargeHiraganaTrail[10] = {0xA0, 0xA2, 0xA4, 0xA6, 0xA8,
                                             0xC2, 0xE2, 0xE4, 0xE6, 0xEC};
constexpr uint8_t kSmallHiraganaTrail[10] = {0x9F, 0xA1, 0xA3, 0xA5, 0xA7,
                                             0xC1, 0xE1, 0xE3, 0xE5, 0xEB};

bool IsSmallKanaPair(const RecogCandidate& large, const RecogCandidate& small) {
  if (large.lead != small.lead) return false;
  const uint8_t* larges = large.lead == 0x82 ? kLargeHiraganaTrail : kLargeKanaTrail;
  const uint8_t* smalls = large.lead == 0x82 ? kSmallHiraganaTrail : kSmallKanaTrail;
  const int n = large.lead == 0x82 ? 10 : large.lead == 0x83 ? kSmallKanaPairs : 0;
  for (int i = 0; i < n; ++i) {
    if (large.trail == larges[i] && small.trail == smalls[i]) return true;
  }
  return false;
}

int32_t FlagTerm(const PatternClassRecord& c, const uint8_t flags[16]) {
  int32_t f = 0;
  for (int j = 0; j < 16; ++j) {
    if (flags[j] != 0) f += 100 - c.flagWeights[j];
  }
  return f * 37 * 9 / 256;
}

int TypeIndex(uint32_t typeBits) {
  switch (typeBits) {
    case 2: return 1;
    case 8: return 2;
    case 16: return 3;
    case 32: return 4;
    default: return 0;
  }
}

}  // namespace

int FinePatternDistance(const PatternImage& s, const uint8_t flags[16],
                        const PatternFeatureVector& features, int count) {
  ClassDistanceEntry* list = s.scratch;
  const uint8_t* g = features.values + kSixBitFeatures;
  // Partial sums from the coarse distance over the fine features [from, to).
  auto sumFine = [&](const PatternClassRecord& c, int32_t d, int from, int to) {
    for (int j = from; j < to; ++j) d += FineFeatureTerm(s, c, j, g[j]);
    return d;
  };
  ClassDistanceEntry kept[kMaxRankedClasses];
  const PatternClassRecord& first = s.classes[list[0].classNumber];
  int32_t partial = sumFine(first, static_cast<int32_t>(list[0].distance), 0, kFineCheckStep);
  int32_t best32 = partial;
  int32_t limit = 2 * partial;
  const int32_t d0 = sumFine(first, partial, kFineCheckStep, kEightBitFeatures) + first.bias +
                     FlagTerm(first, flags);
  kept[0] = ClassDistanceEntry{static_cast<uint32_t>(d0), list[0].classNumber};
  int keptCount = 1;
  auto worst = [&] { return static_cast<int32_t>(kept[keptCount - 1].distance); };
  for (int i = 1; i < count; ++i) {
    const PatternClassRecord& c = s.classes[list[i].classNumber];
    int32_t d = sumFine(c, static_cast<int32_t>(list[i].distance), 0, 16);
    if (d > limit) continue;
    d = sumFine(c, d, 16, kFineCheckStep);
    if (d > limit) continue;
    if (d < best32) {
      best32 = d;
      limit = 2 * d;
    }
    const bool full = keptCount == kMaxRankedClasses;
    bool dropped = false;
    for (int from = kFineCheckStep; from < kEightBitFeatures && !dropped;
         from += kFineCheckStep) {
      d = sumFine(c, d, from, std::min(from + kFineCheckStep, kEightBitFeatures));
      dropped = full && d >= worst();
    }
    if (dropped) continue;
    d += c.bias + FlagTerm(c, flags);
    if (full && d >= worst()) continue;
    int at = keptCount;
    while (at > 0 && static_cast<int32_t>(kept[at - 1].distance) > d) --at;
    const int last = std::min(keptCount, kMaxRankedClasses - 1);
    for (int k = last; k > at; --k) kept[k] = kept[k - 1];
    kept[at] = ClassDistanceEntry{static_cast<uint32_t>(d), list[i].classNumber};
    keptCount = std::min(keptCount + 1, kMaxRankedClasses);
  }
  std::copy(kept, kept + keptCount, list);
  return keptCount;
}

void RerankPatternCandidates(const PatternImage& s, const PatternFeatureVector& features,
                             RankedClassEntry* list, int count) {
  if (count < 2 || list[0].fineDistance + kRerankWindow < list[1].fineDistance) return;
  const PatternClassRecord& best = s.classes[list[0].classNumber];
  bool rivalPresent = false;
  for (uint16_t rival : best.rivals) {
    for (int i = 1; i < count; ++i) rivalPresent |= rival == list[i].classNumber;
  }
  if (!rivalPresent) return;
  for (int i = 0; i < count; ++i) {
    const PatternClassRecord& c = s.classes[list[i].classNumber];
    int32_t d = 0;
    for (uint16_t x : c.rerankFeatures) {
      d += x < kSixBitFeatures
               ? CoarseFeatureTerm(s, c, x, features.values[x])
               : FineFeatureTerm(s, c, x - kSixBitFeatures, features.values[x]);
    }
    list[i].rerankDistance = d;
  }
}

void SortRerankedEntries(RankedClassEntry* list, int count) {
  int positions[kMaxRankedClasses];
  int m = 0;
  for (int i = 0; i < count; ++i) {
    if (list[i].rerankDistance == kNoDistance) continue;
    list[i].key = list[i].fineDistance + list[i].rerankDistance;
    positions[m++] = i;
  }
  for (int pass = m - 1; pass >= 1; --pass) {
    for (int k = 0; k < pass; ++k) {
      RankedClassEntry& a = list[positions[k]];
      RankedClassEntry& b = list[positions[k + 1]];
      if (b.key < a.key) std::swap(a, b);
    }
  }
}

int BuildPatternCandidates(const PatternImage& s, uint32_t mask, RankedClassEntry* list,
                           int count, RecogCandidate* candidates) {
  if (count >= 2) SortRerankedEntries(list, count);
  int n = 0;
  for (int i = 0; i < count && n < kMaxCandidates; ++i) {
    const PatternClassRecord& c = s.classes[list[i].classNumber];
    for (int m = 0; m < c.memberCount && n < kMaxCandidates; ++m) {
      const PatternMember& member = c.members[m];
      if ((member.typeBits & mask) == 0) continue;
      RecogCandidate& out = candidates[n++];
      ClearCandidate(&out);
      out.typeBits = member.typeBits;
      out.lead = member.sjisLead;
      out.trail = member.sjisTrail;
      out.source = kSourcePattern;
      out.classRef = &c;
      out.patternRef = member.items;
      out.itemCount = static_cast<uint16_t>(member.itemCount);
      out.distance1 = list[i].fineDistance;
      out.distance2 = list[i].rerankDistance;
    }
  }
  for (int i = n; i < kMaxCandidates; ++i) ClearCandidate(&candidates[i]);
  return n;
}

const std::array<int16_t, 105>& GapCurveTable() {
  static const std::array<int16_t, 105> table = [] {
    std::array<int16_t, 105> w = {};
    for (int i = 0; i < 105; ++i) {
      w[i] = static_cast<int16_t>(std::lround(8300.0 * std::log(1.0 + i / 5.0)));
    }
    return w;
  }();
  return table;
}

void RateCandidateGap(CharWorkRecord* r) {
  const int n = std::max<int>(r->count, 0);
  if (n == 0) {
    r->confidence = 0;
    return;
  }
  const RecogCandidate* c = r->candidates;
  const bool pair = n >= 2 && (c[0].lead == 0x82 || c[0].lead == 0x83) && IsSmallKanaPair(c[0], c[1]);
  int64_t gap = kGapNone;
  if (n > 2 || (n == 2 && !pair)) {
    const int64_t d1 = c[0].distance1, d2 = (pair ? c[2] : c[1]).distance1;
    gap = std::min<int64_t>(std::llabs((d2 - d1) * 10000 / (d1 + 1)), kGapNone);
  }
  const GapBand* row = kGapScaleTable[TypeIndex(c[0].typeBits)];
  int64_t score;
  if (gap < 200) {
    score = row[0].offset;
  } else {
    const int band = gap < 1400 ? 0 : gap < 3500 ? 1 : 2;
    const int64_t base = band == 0 ? 200 : band == 1 ? 1400 : 3500;
    const int64_t step = band == 2 ? 100 : 20;
    const int64_t scale = row[band].scale, offset = row[band].offset;
    const std::array<int16_t, 105>& w = GapCurveTable();
    const int64_t i = std::min<int64_t>((gap - base) / step, 103);
    const int64_t p = w[i] * scale / 8300 + offset;
    const int64_t q = w[i + 1] * scale / 8300 - p + offset;
    const int64_t t = (gap - base - step * i) * 100 / step;
    score = p + q * t / 100;
  }
  ScoreToConfidence(static_cast<int32_t>(std::clamp<int64_t>(score, 0, 25600)), &r->confidence);
}

void ClassifyByPattern(const RecogRunBlock* run, uint32_t mask, CharWorkRecord* record) {
  const DictBlock* dict = run->dictCount >= 1 ? run->dicts[0] : nullptr;
  if (dict == nullptr || dict->patterns == nullptr) return;  // no pattern section: no answer
  const PatternImage& s = *dict->patterns;
  PatternCharMeasures measures;
  PatternFeatureVector features;
  if (ExtractPatternFeatures(run->image, run->rect, s, &measures, &features) != 0) return;
  int count = SelectPatternClasses(s, mask, measures.shapeGroup, measures.signature);
  if (count > 0) count = CoarsePatternDistance(s, features, count);
  if (count > 0) count = FinePatternDistance(s, measures.flags, features, count);
  RankedClassEntry ranked[kMaxRankedClasses + 1];
  for (int i = 0; i < count; ++i) {
    ranked[i] = RankedClassEntry{0, static_cast<int32_t>(s.scratch[i].distance), kNoDistance,
                                 s.scratch[i].classNumber};
  }
  if (count >= 2) RerankPatternCandidates(s, features, ranked, count);
  record->count = static_cast<int16_t>(BuildPatternCandidates(s, mask, ranked, count,
                                                              record->candidates));
  record->shapeGroup = measures.shapeGroup;
  RateCandidateGap(record);
}
