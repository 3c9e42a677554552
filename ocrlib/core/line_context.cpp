// Post-processing of the candidates of a field or line: the geometry of
// boxes within runs of similar characters, and context rules by character
// class (kanji, hiragana, katakana, digits, ...) between neighbours.
#include <algorithm>

#include "ocrlib/core/core_internal.h"

namespace {

constexpr int kMinRun = 5;

bool HasBox(const CharWorkRecord& r) {
  return r.box.left != 0 || r.box.top != 0 || r.box.right != 0 || r.box.bottom != 0;
}

int CountOf(const CharWorkRecord& r) { return std::clamp<int>(r.count, 0, kMaxCandidates); }

// Context rules: previous, current, next class and the class wanted.
struct ContextRule {
  char previous, current, next, wanted;
};
constexpr ContextRule kContextRuleTable[21] = {
    {'n', 'N', 'n', 's'}, {'c', 'h', 'c', 'c'}, {'_', 'h', 'c', 'c'}, {'_', 'k', 'c', 'c'},
    {'c', 'k', 'c', 'c'}, {'n', 'N', 'n', 'n'}, {'k', 'N', 'k', 'k'}, {'_', 'd', 'h', 'h'},
    {'_', 'h', 'k', 'k'}, {'c', 'k', '_', 'c'}, {'k', 'c', 'k', 'k'}, {'c', 'h', '_', 'c'},
    {'k', 'N', 'A', 'k'}, {'k', 'c', 'A', 'k'}, {'h', 'k', 'h', 'h'}, {'k', 'n', 'k', 'd'},
    {'k', 'h', 'k', 'k'}, {'k', 'N', '_', 'k'}, {'n', 'N', '_', 'n'}, {'n', 'N', 'A', 'n'},
    {'c', 's', 'c', 'c'},
};

// Kana that stand between kanji on their own: the rules between two kanji
// leave them.
constexpr uint16_t kKanaBetweenKanji[] = {0x82AA, 0x82C1, 0x82C2, 0x82CC, 0x8350,
                                          0x8396, 0x8395, 0x8362, 0x8363, 0x836D};

constexpr uint16_t kKanjiNumerals[] = {0x88EA, 0x93F1, 0x8E4F, 0x8E6C, 0x8CDC,
                                       0x985A, 0x8EB5, 0x94AA, 0x8BE3};

char ClassOf(const CharWorkRecord& r) {
  return ClassifySjisChar(r.candidates[0].lead, r.candidates[0].trail);
}

bool PreviousMatches(const ContextRule& rule, char p) {
  if (rule.previous == p) return true;
  if (rule.next == '_') return false;
  return (rule.previous == 'c' && p == 'N') ||
         ((rule.previous == 'k' || rule.previous == 'h') && p == 'd');
}

bool NextMatches(const ContextRule& rule, char p, char x) {
  if (rule.next == x) return true;
  if (rule.previous == '_') return false;
  return (rule.next == 'c' && x == 'N' && p != 'N') ||
         ((rule.next == 'k' || rule.next == 'h') && x == 'd' && p != 'd');
}

}  // namespace

char ClassifySjisChar(uint8_t lead, uint8_t trail) {
  const uint16_t code = static_cast<uint16_t>(lead << 8 | trail);
  switch (code) {
    case 0x8140: return '_';
    case 0x8141: case 0x8143: case 0x8145: case 0x8169: case 0x816D: case 0x8175: return 'y';
    case 0x8142: case 0x8144: return 'z';
    case 0x814A: case 0x814B: return 'd';
    case 0x8155: return 'h';
    case 0x815A: return 'N';
    case 0x815B: return 'k';
    default: break;
  }
  if (code >= 0x8157 && code <= 0x8159) return 'c';
  for (uint16_t n : kKanjiNumerals) {
    if (code == n) return 'N';
  }
  if (code >= 0x829F && code <= 0x82F1) return 'h';
  if (code >= 0x8340 && code <= 0x8396) return 'k';
  if (code >= 0x824F && code <= 0x8258) return 'n';
  if (code >= 0x8260 && code <= 0x8279) return 'A';
  if (lead >= 0x88 && lead <= 0x9F && trail < 0xFD) return 'c';
  if (lead >= 0xE0 && lead <= 0xEA && trail >= 0x40 && trail <= 0xFC) return 'c';
  if (lead == 0x81) return 's';
  return 'j';
}

void ScoreAgainstTriple(int x, const uint16_t t[3], uint16_t* score) {
  if (*score == kTripleRejected) return;
  const int low = t[0], peak = t[1], high = t[2];
  if (low == 0 && peak == 0 && high == 0) {
    *score = static_cast<uint16_t>(*score + 256);
    return;
  }
  if (x < low || x > high) {
    *score = kTripleRejected;
    return;
  }
  int add = 256;  // full membership also where the triple gives no slope
  if (x < peak) {
    add = (x - low) * 256 / (peak - low);
  } else if (high > peak) {
    add = (high - x) * 256 / (high - peak);
  }
  *score = static_cast<uint16_t>(*score + add);
}

CharRunStats FindCharRun(const CharWorkRecord* records, int start, int count) {
  CharRunStats s = {};
  int i = start;
  while (i < count && !HasBox(records[i])) ++i;
  if (i >= count) {
    s.consumed = count - start;
    return s;
  }
  int64_t tops = 0, bottoms = 0, widths = 0;
  int minTop = records[i].box.top, maxBottom = records[i].box.bottom, maxWidth = 0;
  const CharWorkRecord* previous = nullptr;
  for (; i < count; ++i) {
    const CharWorkRecord& r = records[i];
    if (!HasBox(r)) continue;
    if (previous != nullptr &&
        (r.box.top > maxBottom || r.box.bottom < minTop || r.box.left < previous->box.left ||
         r.box.right < previous->box.right)) {
      break;
    }
    const int width = r.box.right - r.box.left + 1;
    tops += r.box.top, bottoms += r.box.bottom, widths += width;
    minTop = std::min<int>(minTop, r.box.top);
    maxBottom = std::max<int>(maxBottom, r.box.bottom);
    maxWidth = std::max(maxWidth, width);
    ++s.boxed;
    previous = &r;
  }
  s.consumed = i - start;
  s.top = static_cast<int>((tops / s.boxed + minTop) / 2);
  s.bottom = static_cast<int>((bottoms / s.boxed + maxBottom) / 2);
  s.width = static_cast<int>((widths / s.boxed + maxWidth) / 2);
  s.height = s.bottom - s.top + 1;
  return s;
}

void RerankByRunGeometry(CharWorkRecord* record, const CharRunStats& run) {
  const int64_t w = record->box.right - record->box.left + 1;
  const int64_t h = record->box.bottom - record->box.top + 1;
  const int64_t W = std::max(run.width, 1), H = std::max(run.height, 1);
  const int aspect = static_cast<int>(H * w * 256 / (h * W));
  const int area = static_cast<int>(h * w * 256 / (W * H));
  const int position = static_cast<int>(std::max<int64_t>(0, (record->box.top - run.top) * 256 / H));
  const int n = CountOf(*record);
  uint16_t scores[kMaxCandidates];
  for (int i = 0; i < n; ++i) {
    const RecogCandidate& c = record->candidates[i];
    if (c.empty() || c.patternRef == nullptr) {
      scores[i] = kTripleUnscored;
      continue;
    }
    scores[i] = 0;
    ScoreAgainstTriple(aspect, c.patternRef->aspect, &scores[i]);
    ScoreAgainstTriple(area, c.patternRef->area, &scores[i]);
    ScoreAgainstTriple(position, c.patternRef->position, &scores[i]);
  }
  RecogCandidate placed[kMaxCandidates];
  uint16_t placedScores[kMaxCandidates];
  int count = 0, groupStart = 0;
  for (int i = 0; i < n; ++i) {
    if (scores[i] == kTripleRejected) continue;
    const RecogCandidate& c = record->candidates[i];
    if (count > 0 && scores[i] < kTripleUnscored &&
        c.classRef == placed[count - 1].classRef) {
      // Among the candidates of this class record placed since the last
      // change, by descending score; the earlier first among equals.
      int at = count;
      while (at > groupStart && static_cast<int16_t>(placedScores[at - 1]) <
                                    static_cast<int16_t>(scores[i])) {
        --at;
      }
      for (int k = count; k > at; --k) {
        placed[k] = placed[k - 1];
        placedScores[k] = placedScores[k - 1];
      }
      placed[at] = c;
      placedScores[at] = scores[i];
    } else {
      groupStart = count;
      placed[count] = c;
      placedScores[count] = scores[i];
    }
    ++count;
  }
  for (int i = 0; i < kMaxCandidates; ++i) {
    if (i < count) {
      record->candidates[i] = placed[i];
    } else {
      ClearCandidate(&record->candidates[i]);
    }
  }
  record->count = static_cast<int16_t>(count);
}

void RerankByBoxGeometry(CharWorkRecord* records, int count) {
  for (int start = 0; start < count;) {
    const CharRunStats run = FindCharRun(records, start, count);
    if (run.boxed >= kMinRun && run.width <= 2 * run.height && run.height <= 2 * run.width) {
      for (int i = start; i < start + run.consumed; ++i) {
        if (HasBox(records[i])) RerankByRunGeometry(&records[i], run);
      }
    }
    start += std::max(run.consumed, 1);
  }
}

void PromoteCandidateOfClass(CharWorkRecord* record, char wanted, char* current) {
  const int n = CountOf(*record);
  for (int i = 1; i < n; ++i) {
    const char cls = ClassifySjisChar(record->candidates[i].lead, record->candidates[i].trail);
    if (cls != wanted && !(wanted == 'c' && cls == 'N')) continue;
    const RecogCandidate moved = record->candidates[i];
    for (int k = i; k > 0; --k) record->candidates[k] = record->candidates[k - 1];
    record->candidates[0] = moved;
    *current = wanted;
    return;
  }
}

void ReorderCandidatesByContext(CharWorkRecord* records, int count) {
  char previous = '_';
  for (int i = 0; i < count; ++i) {
    CharWorkRecord& r = records[i];
    char current = ClassOf(r);
    const char next = i + 1 < count ? ClassOf(records[i + 1]) : '_';
    if (current != '_') {
      const uint16_t first = r.candidates[0].code();
      const bool standsAlone =
          std::find(std::begin(kKanaBetweenKanji), std::end(kKanaBetweenKanji), first) !=
          std::end(kKanaBetweenKanji);
      for (const ContextRule& rule : kContextRuleTable) {
        if (rule.current != current) continue;
        if (rule.previous == 'c' && rule.next == 'c' && standsAlone) continue;
        if (!PreviousMatches(rule, previous) || !NextMatches(rule, previous, next)) continue;
        const char before = current;
        PromoteCandidateOfClass(&r, rule.wanted, &current);
        if (current != before) break;
      }
    }
    previous = current;
  }
}
