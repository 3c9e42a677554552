// Combining the candidate lists of the structural recogniser and the pattern
// classifier: the plain merge, the merge by confusable digits and kana, and
// the arbitration of recognition mode 3 by tables of distance limits.
#include <algorithm>
#include <cstring>

#include "ocrlib/frame/frame_internal.h"

namespace {

constexpr uint16_t kCondNoStructural = 0x2000;
constexpr uint16_t kCondDigitsAndCapitals = 0x4000;
constexpr uint16_t kCondEnd = 64;
constexpr int kMaxArbitrationRows = 1000;
constexpr int16_t kNoLowLimit = 0, kNoHighLimit = 32767;

struct ArbitrationRow {
  uint16_t condition;
  uint8_t structuralKey;
  uint8_t patternKey;
  int16_t low;   // a pattern answer closer than this goes on top
  int16_t high;  // one farther than this empties the top
};

// Katakana trail bytes.
constexpr uint8_t kA = 0x41, kKu = 0x4E, kTa = 0x5E;
constexpr uint8_t kNoKey = 0xFF;
constexpr ArbitrationRow kEndRow = {kCondEnd, kNoKey, kNoKey, kNoLowLimit, kNoHighLimit};

// The tables, each in ascending order of the structural key and ended by
// its end row. They hold the rows of the pairs this library has measured;
// a pair without a row keeps the structural answer.
constexpr ArbitrationRow kKanaNone[] = {{kCondNoStructural, kNoKey, kA, 2595, kNoHighLimit},
                                        kEndRow};
constexpr ArbitrationRow kKanaSource4[] = {{4, kA, kKu, kNoLowLimit, 2876},
                                           {4, kA, kTa, 3450, kNoHighLimit},
                                           kEndRow};
constexpr ArbitrationRow kEndOnly[] = {kEndRow};

// Table by the structural answer's source and whether the mask is katakana
// alone; null for a source no table serves.
const ArbitrationRow* ChooseTable(uint16_t source, bool katakana) {
  switch (source) {
    case 0: return katakana ? kKanaNone : kEndOnly;
    case 4: return katakana ? kKanaSource4 : kEndOnly;
    case 8:
    case 16:
    case 32: return kEndOnly;
    default: return nullptr;
  }
}

uint8_t KeyOf(const RecogCandidate& c) {
  if (c.empty()) return kNoKey;
  if (c.lead != 0x81) return c.trail;
  switch (c.code()) {
    case 0x814A: return 0xFC;  // voicing mark
    case 0x814B: return 0xFD;  // semi-voicing mark
    case 0x815B:
    case 0x817C: return 0xFE;  // long vowel, minus
    default: return 0xFF;
  }
}

bool SameCode(const RecogCandidate& a, const RecogCandidate& b) {
  return a.lead == b.lead && a.trail == b.trail;
}

int CountOf(const CharWorkRecord& r) { return std::clamp<int>(r.count, 0, kMaxCandidates); }

bool Holds(const CharWorkRecord& r, int n, const RecogCandidate& c) {
  for (int i = 0; i < n; ++i) {
    if (SameCode(r.candidates[i], c)) return true;
  }
  return false;
}

// The first candidate takes the class and pattern references of `from`.
void TakeReferences(RecogCandidate* c, const RecogCandidate& from) {
  c->classRef = from.classRef;
  c->patternRef = from.patternRef;
  c->itemCount = 1;
}

// Moves the list down one place from `at` (the 15th is lost).
void OpenPlace(CharWorkRecord* r, int at) {
  for (int i = kMaxCandidates - 1; i > at; --i) r->candidates[i] = r->candidates[i - 1];
}

// Confusions of a structural full-width digit with the pattern's first kana.
struct Confusion {
  uint16_t digit;
  bool foundLower;      // the digit is lower in the pattern list (else missing)
  bool sourceOne;       // the structural answer has source 1 (else: not 1)
  bool sourceFourToo;   // source 4 also counts (missing case)
  uint16_t kana[3];     // the pattern's first candidates that confuse it
};
constexpr Confusion kConfusions[] = {
    {0x8250, true, false, false, {0x836D}},                  // １ / ノ
    {0x8250, false, true, false, {0x82B5, 0x836D}},          // １ / し ノ
    {0x8251, true, false, false, {0x8352, 0x8358, 0x837D}},  // ２ / コ ス マ
    {0x8251, false, true, false, {0x8385, 0x8386, 0x8388}},  // ２ / ュ ユ ヨ
    {0x8253, true, false, false, {0x8380}},                  // ４ / ム
    {0x8254, false, true, true, {0x82E7}},                   // ５ / ら
    {0x8255, false, true, true, {0x82E7}},                   // ６ / ら
    {0x8256, true, false, false, {0x8374, 0x838A}},          // ７ / フ リ
    {0x8256, false, true, true, {0x834E, 0x838F}},           // ７ / ク ワ
    {0x8258, true, false, false, {0x835E}},                  // ９ / タ
};

bool IsConfusion(const RecogCandidate& s, const RecogCandidate& p, bool foundLower) {
  for (const Confusion& c : kConfusions) {
    if (c.digit != s.code() || c.foundLower != foundLower) continue;
    const bool sourceFits =
        c.sourceOne ? (s.source == 1 || (c.sourceFourToo && s.source == 4)) : s.source != 1;
    if (!sourceFits) continue;
    for (uint16_t kana : c.kana) {
      if (kana != 0 && kana == p.code()) return true;
    }
  }
  return false;
}

}  // namespace

void MergeCandidateLists(const DictBlock* dict, const CharWorkRecord* s,
                         const CharWorkRecord& p, CharWorkRecord* destination) {
  CharWorkRecord d;
  ClearCharRecord(&d);
  d.shapeGroup = p.shapeGroup;
  int n = 0;
  const int sCount = s != nullptr ? CountOf(*s) : 0;
  if (s != nullptr) {
    d.confidence = s->confidence;
    d.candidates[n++] = s->candidates[0];
    const int pair = SmallKanaPairOf(s->candidates[0].code());
    if (pair >= 0) {
      RecogCandidate& large = d.candidates[0];
      RecogCandidate& small = d.candidates[n++];
      small = large;
      small.trail = kSmallKanaTrail[pair];
      // A dictionary without a pattern section has no references to give.
      const PatternImage* patterns = dict != nullptr ? dict->patterns : nullptr;
      if (patterns != nullptr && patterns->smallKana[pair].classRecord != nullptr) {
        const SmallKanaIndexEntry& entry = patterns->smallKana[pair];
        const PatternClassRecord& c = *entry.classRecord;
        const bool twoItems = c.memberCount > 0 && c.members[0].itemCount >= 2;
        large.classRef = small.classRef = entry.classRecord;
        large.patternRef = entry.firstItem;
        small.patternRef = twoItems ? entry.firstItem + 1 : nullptr;
        large.itemCount = entry.firstItem != nullptr ? 1 : 0;
        small.itemCount = small.patternRef != nullptr ? 1 : 0;
      }
    }
  } else {
    d.confidence = p.confidence;
  }
  auto follow = [&](const CharWorkRecord& from, int start, int count) {
    for (int i = start; i < count && n < kMaxCandidates; ++i) {
      if (!Holds(d, n, from.candidates[i])) d.candidates[n++] = from.candidates[i];
    }
  };
  follow(p, 0, CountOf(p));
  if (sCount >= 2) follow(*s, 1, sCount);
  d.count = static_cast<int16_t>(n);
  *destination = d;
}

void MergeStructuralWithPattern(const DictBlock* dict, const CharWorkRecord& structural,
                                const CharWorkRecord& pattern, CharWorkRecord* destination) {
  if (CountOf(structural) == 0) return MergeCandidateLists(dict, nullptr, pattern, destination);
  if (CountOf(pattern) == 0) return MergeCandidateLists(dict, &structural, pattern, destination);
  CharWorkRecord s = structural;
  CharWorkRecord p = pattern;
  RecogCandidate& first = s.candidates[0];
  const int pCount = CountOf(p);
  if (!first.empty()) {
    int found = -1;
    for (int i = 0; i < pCount && found < 0; ++i) {
      if (SameCode(p.candidates[i], first)) found = i;
    }
    if (found == 0) {
      TakeReferences(&first, p.candidates[0]);
      return MergeCandidateLists(dict, &s, p, destination);
    }
    if (found > 0 && !IsConfusion(first, p.candidates[0], true)) {
      TakeReferences(&first, p.candidates[found]);
      return MergeCandidateLists(dict, &s, p, destination);
    }
    if (found < 0 && ((p.candidates[0].typeBits & (kTypeDigits | kTypeCapitals | kTypeSigns)) != 0 ||
                      IsConfusion(first, p.candidates[0], false))) {
      return MergeCandidateLists(dict, &s, p, destination);
    }
    // The structural answer goes in after the pattern's leading run of one
    // class record.
    int run = 1;
    while (run < pCount && p.candidates[run].classRef == p.candidates[0].classRef) ++run;
    if (run < kMaxCandidates) {
      OpenPlace(&p, run);
      p.candidates[run] = first;
      p.count = static_cast<int16_t>(std::min(pCount + 1, kMaxCandidates));
    }
  }
  MergeCandidateLists(dict, nullptr, p, destination);
}

void ArbitrateStructuralResult(const DictBlock* dict, uint32_t mask,
                               const CharWorkRecord& structural, const CharWorkRecord& pattern,
                               CharWorkRecord* destination) {
  CharWorkRecord s = structural;
  const RecogCandidate& pFirst = pattern.candidates[0];
  RecogCandidate& sFirst = s.candidates[0];
  const bool sAnswer = CountOf(s) > 0 && !sFirst.empty();
  if (sAnswer && CountOf(pattern) > 0 && SameCode(sFirst, pFirst)) {
    sFirst = pFirst;
    return MergeCandidateLists(dict, &s, pattern, destination);
  }
  const uint16_t source = sAnswer ? sFirst.source : 0;
  uint16_t wanted = sAnswer ? source : kCondNoStructural;
  if ((mask & 3) == 3) wanted |= kCondDigitsAndCapitals;
  const uint8_t sKey = sAnswer ? KeyOf(sFirst) : kNoKey;
  const uint8_t pKey = CountOf(pattern) > 0 ? KeyOf(pFirst) : kNoKey;
  const ArbitrationRow* table = ChooseTable(source, mask == kTypeKatakana);
  const ArbitrationRow* match = nullptr;
  for (int i = 0; table != nullptr && i < kMaxArbitrationRows && match == nullptr; ++i) {
    const ArbitrationRow& row = table[i];
    if (row.condition == kCondEnd || row.structuralKey > sKey) break;
    if ((row.condition & ~wanted) == 0 && row.structuralKey == sKey && row.patternKey == pKey) {
      match = &row;
    }
  }
  if (match != nullptr) {
    const bool patternOnTop = pFirst.distance1 < match->low;
    const bool emptyTop = pFirst.distance1 > match->high;
    if (patternOnTop || emptyTop) {
      if (sKey != kNoKey) {
        OpenPlace(&s, 0);
        s.count = static_cast<int16_t>(std::min(CountOf(s) + 1, kMaxCandidates));
      }
      if (patternOnTop) {
        sFirst = pFirst;
        s.confidence = pattern.confidence;
      } else {
        ClearCandidate(&sFirst);
        s.confidence = 0;
      }
      s.count = std::max<int16_t>(s.count, 1);
    }
  }
  MergeCandidateLists(dict, &s, pattern, destination);
}
