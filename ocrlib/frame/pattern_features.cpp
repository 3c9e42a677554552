// Pattern classifier, first half: the character's features and the coarse
// selection of classes.
//
// TraceNormalizedChar measures 600 raw direction values; the dictionary's
// index table picks which raw value feeds each feature and its threshold
// tables quantise them (48 six-bit features, 276 eight-bit features made of
// a five-bit high and a three-bit low part). Classes of the character's
// shape group and the always-examined tail are kept when their types meet
// the mask and their signature allows the character's; a table-summed
// distance over the six-bit features with early exits prunes them to those
// within 2.5 times the best. Nothing is allocated per character but the
// tracer's work buffer; the scratch list lives in the dictionary block.
#include <algorithm>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kSelectBlock = 12;           // coarse features summed between exits
constexpr int kMaxSignatureConflicts = 4;  // this many conflicting words drop a class

int32_t CoarseLimit(int32_t best) { return best * 640 / 256; }

}  // namespace

int MeasurePatternChar(const RunImage& image, const MupaRect& rect, PatternCharMeasures* out) {
  MupaImage view = {image.width, image.height, image.bitsPerPixel, image.bytesPerLine,
                    image.dpi,   1,            image.bits};
  uint32_t profiles[4];
  if (TraceNormalizedChar(&view, &rect, &out->shapeGroup, out->signature, profiles, out->raw) !=
      0) {
    return -9;
  }
  for (int w = 0; w < 4; ++w) {
    for (int b = 0; b < 4; ++b) out->flags[w * 4 + b] = static_cast<uint8_t>(profiles[w] >> (8 * b));
  }
  return 0;
}

int QuantizeValue(uint16_t v, const uint16_t* thresholds, int n) {
  int lo = 0, hi = n - 1;
  for (int halvings = n; halvings > 1; halvings >>= 1) {
    const int mid = (lo + hi) / 2;
    if (thresholds[mid] >= v) {
      hi = mid;
    } else {
      lo = mid;
    }
  }
  return hi;
}

void QuantizePatternFeatures(const uint16_t* raw, const PatternImage& s,
                             PatternFeatureVector* features) {
  const uint16_t* index = s.featureIndexTable;
  for (int k = 0; k < kSixBitFeatures; ++k) {
    features->values[k] = static_cast<uint8_t>(QuantizeValue(raw[index[k]], s.thresholds63, 64));
  }
  for (int j = 0; j < kEightBitFeatures; ++j) {
    const int high = QuantizeValue(raw[index[kSixBitFeatures + j]], s.thresholds31, 32);
    const int low =
        QuantizeValue(raw[index[kSixBitFeatures + kEightBitFeatures + j]], s.thresholds7, 8);
    features->values[kSixBitFeatures + j] = static_cast<uint8_t>(8 * high + low);
  }
}

int ExtractPatternFeatures(const RunImage& image, const MupaRect& rect,
                           const PatternImage& section, PatternCharMeasures* measures,
                           PatternFeatureVector* features) {
  if (MeasurePatternChar(image, rect, measures) != 0) return -9;
  QuantizePatternFeatures(measures->raw, section, features);
  return 0;
}

int SelectPatternClasses(const PatternImage& s, uint32_t mask, int group,
                         const uint16_t signature[8]) {
  int count = 0;
  auto consider = [&](int c) {
    // The loader refuses ranges that could overflow the list; the check
    // keeps the list in bounds whatever the ranges.
    if (count >= s.classCount) return;
    const PatternClassRecord& r = s.classes[c];
    if ((r.typeBits & mask) == 0) return;
    int conflicts = 0;
    for (int j = 0; j < 8; ++j) conflicts += (r.signatureMasks[j] & signature[j]) != 0;
    if (conflicts >= kMaxSignatureConflicts) return;
    s.scratch[count++] = ClassDistanceEntry{0, static_cast<uint16_t>(c)};
  };
  const uint32_t word = group >= 0 && group < s.groupWordCount ? s.classGroupIndex[group] : 0;
  const int first = word & 0xFFFF, n = word >> 16;
  for (int c = first; c < first + n && c < s.classCount; ++c) consider(c);
  for (int c = s.classCount - s.tailClassCount; c < s.classCount; ++c) consider(c);
  return count;
}

int CoarseFeatureTerm(const PatternImage& s, const PatternClassRecord& c, int k, int f) {
  const int lo = c.lower6[k], hi = c.upper6[k];
  return f < lo ? s.boundDistanceTable[lo * 64 + f] : s.boundDistanceTable[f * 64 + hi];
}

int FineFeatureTerm(const PatternImage& s, const PatternClassRecord& c, int j, int g) {
  return s.fineBoundDistanceTable[c.lower8[j] * 256 + g] +
         s.fineBoundDistanceTable[g * 256 + c.upper8[j]];
}

int CoarsePatternDistance(const PatternImage& s, const PatternFeatureVector& features,
                          int count) {
  ClassDistanceEntry* list = s.scratch;
  auto fullDistance = [&](const PatternClassRecord& c) {
    int32_t d = 0;
    for (int k = 0; k < kSixBitFeatures; ++k) d += CoarseFeatureTerm(s, c, k, features.values[k]);
    return d;
  };
  int32_t best = fullDistance(s.classes[list[0].classNumber]);
  list[0].distance = static_cast<uint32_t>(best);
  int bestAt = 0;
  int32_t limit = CoarseLimit(best);
  int kept = 1;
  for (int i = 1; i < count; ++i) {
    const ClassDistanceEntry entry = list[i];
    const PatternClassRecord& c = s.classes[entry.classNumber];
    int32_t d = 0;
    bool dropped = false;
    for (int k = 0; k < kSixBitFeatures && !dropped; ++k) {
      d += CoarseFeatureTerm(s, c, k, features.values[k]);
      dropped = (k + 1) % kSelectBlock == 0 && d > limit;
    }
    if (dropped) continue;
    list[kept] = ClassDistanceEntry{static_cast<uint32_t>(d), entry.classNumber};
    if (d < best) {
      best = d;
      bestAt = kept;
      limit = CoarseLimit(best);
    }
    ++kept;
  }
  std::swap(list[0], list[bestAt]);
  int final = 1;
  for (int i = 1; i < kept; ++i) {
    if (static_cast<int32_t>(list[i].distance) <= limit) list[final++] = list[i];
  }
  return final;
}
