// A line of handwriting in one rectangle: cut into character boxes, each box
// recognised, small noise dropped and pieces of one character joined again,
// then an end record whose box holds all the line's ink.
//
// Masks of the specialised types (digits, capitals, signs, katakana and
// their fixed mixes) take the structural path: the line cut into boxes as
// MupaSegChar cuts it, each box recognised in the page as the segmentation
// read it, unread digit boxes split into pieces by the line digit reader.
// Every other mask takes the cell path, which recognises every plausible
// cell and chooses the best sequence.
//
// Recognising a character clears the error stack, so the warnings of the
// line are set aside around every recognition and pushed back after it: the
// caller finds every warning the line left, oldest first.
#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "ocrlib/checks/checks_internal.h"
#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr uint16_t kComma = 0x8143, kFullStop = 0x8144;
constexpr uint16_t kSemiVoicedMark = 0x814B;
constexpr uint32_t kCellStructureTypes = 128 | 256 | 1024;
constexpr uint32_t kStructuralTypes = 515;

// The codes on the stack, oldest first.
std::vector<uint16_t> TakeWarnings() {
  uint16_t codes[kErrorSlots];
  const int n = std::min(CopyErrorStack(codes, kErrorSlots), kErrorSlots);
  return std::vector<uint16_t>(std::make_reverse_iterator(codes + n),
                               std::make_reverse_iterator(codes));
}

void PushWarnings(const std::vector<uint16_t>& oldestFirst) {
  for (uint16_t code : oldestFirst) PushErrorCode(code);
}

// Runs `recognise` (which clears the stack) and leaves the codes that were on
// the stack before it, then its own.
template <class Recognise>
int KeepingWarnings(Recognise recognise) {
  const std::vector<uint16_t> before = TakeWarnings();
  const int rc = recognise();
  const std::vector<uint16_t> added = TakeWarnings();
  ClearErrorStack();
  PushWarnings(before);
  PushWarnings(added);
  return rc;
}

int CellRecogniserKeepingWarnings(RecogRunBlock* run, CharWorkRecord* record) {
  return KeepingWarnings([&] { return RecognizeCharByTypeMask(run, record); });
}

int Width(const MupaRect& r) { return r.right - r.left + 1; }
int Height(const MupaRect& r) { return r.bottom - r.top + 1; }
bool IsCommaOrStop(uint16_t code) { return code == kComma || code == kFullStop; }

// The mask of the line's structural path, swapped in for the line's
// duration. Stored directly: setting it through the export would clear the
// line's warnings and warn of types the caller never asked for.
class ScopedCurrentMask {
 public:
  ScopedCurrentMask(DictBlock* dict, uint32_t mask) : dict_(dict), saved_(dict->header.currentTypes) {
    dict_->header.currentTypes = mask;
  }
  ~ScopedCurrentMask() { dict_->header.currentTypes = saved_; }
  ScopedCurrentMask(const ScopedCurrentMask&) = delete;
  ScopedCurrentMask& operator=(const ScopedCurrentMask&) = delete;

 private:
  DictBlock* dict_;
  uint32_t saved_;
};

// The digit box that nothing recognised, split into pieces by the line
// digit reader, into the results from record *k on, each piece's list
// completed by the line's types. A failed split gives the box no record
// (its codes stay as warnings).
void SplitUnreadDigits(const RecogRunBlock& run, uint32_t mask, const CharBoxRow& row,
                       const RecogCharResult& unread, RecogCharResult* results, int capacity,
                       int* k) {
  const StrokeModelSet* digits = FindStrokeModelSet(run.dicts[0], kTypeDigits);
  if (digits == nullptr) {
    results[(*k)++] = unread;
    return;
  }
  StrokeModelSet thinned = *digits;
  thinned.models = thinned.family1;
  thinned.modelCount = thinned.family1Count;
  const LineStrokeRun strokes = {run.image.bits, run.image.bytesPerLine, row.box, &thinned,
                                 g_currentWorkArea, &g_classCheckRoutines};
  LineResultRecord records[kMaxBoxes];
  int n = 0;
  const int rc = KeepingWarnings([&] {
    ClearErrorStack();
    return ExtractCharStrokes(strokes, records, kMaxBoxes, &n);
  });
  if (rc == -9) return;
  const int pieces = records[0].empty ? 0 : n - 1;
  RecogCharResult split[kMaxBoxes];
  for (int p = 0; p < n && p < kMaxBoxes; ++p) {
    const uint16_t code = static_cast<uint16_t>(records[p].code[0] << 8 | records[p].code[1]);
    SetSingleResult(&split[p], code, row.box);
    split[p].failed = 0;
  }
  CompleteCandidateLists(mask, split, pieces);
  if (pieces <= 1) {
    results[(*k)++] = pieces == 1 ? split[0] : unread;
    return;
  }
  SplicePieces(split, n, results, capacity, k);
}

int StructuralPath(RecogRunBlock* run, uint32_t mask, SegmentWork* w, RecogCharResult* results,
                   int capacity, int* k) {
  SegmentHeader& h = w->header;
  if (mask & kCellStructureTypes) {
    TestCellStructures(*run, run->rect, w->rows, h.boxCount, w->components, h.componentCount,
                       mask, results, capacity);
  }
  uint32_t structural = mask & kStructuralTypes;
  if (structural == 0) structural = kTypeKatakana;
  ScopedCurrentMask scoped(run->dicts[0], structural);
  for (int b = 0; b < h.boxCount; ++b) {
    if (*k >= capacity - 1) {
      PushErrorCode(capacity == kMaxBoxes ? kErrCapacityFull : kErrResultsFull);
      break;
    }
    const CharBoxRow& row = w->rows[b];
    if (row.state != kRowOrdinary) {
      ++*k;
      continue;
    }
    // The box is read as the page shows it, as the segmentation read it
    // and as the character alone in its box reads.
    RecogRunBlock one = *run;
    one.rect = row.box;
    CharWorkRecord work;
    if (KeepingWarnings([&] { return RecognizeCharByTypeMask(&one, &work); }) != 0) return -9;
    RecogCharResult result;
    ConvertWorkRecord(work, &result);
    result.box = row.box;
    // Look-alikes of the "nothing" row alone (source 0) are no answer.
    const bool found = work.count > 0 && !work.candidates[0].empty() && work.candidates[0].source != 0;
    if ((mask & (kTypeCapitals | kTypeSigns)) || !(mask & kTypeDigits) || found) {
      results[(*k)++] = result;
    } else {
      SplitUnreadDigits(*run, mask, row, result, results, capacity, k);
    }
  }
  return 0;
}

// Two characters side by side often read as one too ("1" and "4" as "4"):
// the union replaces its parts only when it reads more surely than each part
// that was read at all.
bool ReadsBetterJoined(const RecogCharResult& a, const RecogCharResult& b,
                       const RecogCharResult& joined) {
  auto sureness = [](const RecogCharResult& r) {
    return r.candidates[0].code == kNoCandidate ? -1 : int{r.confidence};
  };
  return joined.confidence > std::max(sureness(a), sureness(b));
}

}  // namespace

int RecogniseKeepingWarnings(RecogRunBlock* run, RecogCharResult* result) {
  return KeepingWarnings([&] { return RecognizeOneChar(run, result); });
}

void JoinSplitCharacters(RecogRunBlock* run, RecogCharResult* results, int capacity, int* count,
                         bool join) {
  const int chars = *count - 1;  // the last record ends the line
  int tallest = 0;
  for (int i = 0; i < chars; ++i) tallest = std::max(tallest, Height(results[i].box));
  const int tiny = tallest / 4, tooWide = tallest + tallest / 2, big = tallest / 3;
  const int gapLimit = std::max(tallest / 8, 1);
  for (int i = 0; i + 1 < *count - 1; ++i) {
    RecogCharResult& r = results[i];
    const uint16_t code = r.candidates[0].code;
    if (Width(r.box) < tiny && Height(r.box) < tiny && !IsCommaOrStop(code)) {
      r.candidates[0].code = kNoCandidate;
      continue;
    }
    if (!join || (IsCommaOrStop(code) && results[i + 1].box.left - r.box.right > gapLimit)) {
      continue;
    }
    int widestGap = 0;
    for (int j = i + 1; j < *count - 1;) {
      const RecogCharResult& next = results[j];
      const int gap = next.box.left - r.box.right;
      if (IsCommaOrStop(next.candidates[0].code) && gap > gapLimit) break;
      MupaRect u;
      UniteBoxes(r.box, next.box, &u);
      if (Width(u) >= tooWide) break;
      widestGap = std::max(widestGap, gap - 1);
      if (widestGap >= std::max(5 * tallest / 8 - Width(u) / 3, 0)) break;
      const bool bothBig = std::min(Width(r.box), Width(next.box)) > big &&
                           std::min(Height(r.box), Height(next.box)) > big;
      const bool overlap = r.box.top <= next.box.bottom && next.box.top <= r.box.bottom;
      if (bothBig && overlap) break;
      RecogRunBlock joined = *run;
      joined.rect = u;
      RecogCharResult result;
      if (RecogniseKeepingWarnings(&joined, &result) != 0 ||
          result.candidates[0].code == kNoCandidate || !ReadsBetterJoined(r, next, result)) {
        break;
      }
      result.box = u;
      r = result;
      const int removed = j - i;
      std::copy(results + j + 1, results + *count, results + i + 1);
      *count -= removed;
      j = i + 1;
    }
  }
}

int RecogniseLineDriver(RecogRunBlock* run, RecogCharResult* results, int capacity, int* count) {
  *count = 0;
  ClearErrorStack();
  for (int i = 0; i < capacity; ++i) {
    SetSingleResult(&results[i], kNoCandidate, run->rect);
    results[i].failed = 1;
  }
  std::unique_ptr<SegmentWork> w(new (std::nothrow) SegmentWork);
  if (!w) {
    PushErrorCode(kErrNoMemory);
    return -9;
  }
  const int segmented = SegmentLine(*run, kMaxBoxes, w.get());
  if (segmented == -1) return -9;
  if (segmented == -2) {
    results[0].candidates[0].code = kEndRecordCode;
    *count = 1;
    return GetErrorCount() > 0 ? -1 : 0;
  }
  const std::vector<uint16_t> warnings = TakeWarnings();
  uint32_t offered = 0, mask = 0;
  if (GetCharTypeMasks(run->dicts[0], &offered, &mask) != 0) return -9;
  int k = 0;
  if (!IsTypeDrivenMask(mask)) {
    std::vector<MupaRect> segments(w->header.componentCount);
    for (int i = 0; i < w->header.componentCount; ++i) segments[i] = w->components[i].box;
    LineCells line = {segments.data(), w->header.componentCount, w->rows, w->header.boxCount,
                      Height(w->header.box)};
    const int rc = RecogniseLineCells(*run, CellRecogniserKeepingWarnings, &line, mask, results,
                                      capacity, &k);
    if (rc != 0) return -9;
    *count = k;
  } else {
    if (StructuralPath(run, mask, w.get(), results, capacity, &k) != 0) return -9;
    RecogCharResult& end = results[k];
    SetSingleResult(&end, kEndRecordCode, w->header.box);
    end.failed = std::any_of(results, results + k, [](const RecogCharResult& r) { return r.failed; });
    *count = k + 1;
    if (!(mask & kTypeKatakana)) {
      ScopedCurrentMask scoped(run->dicts[0], mask & kStructuralTypes ? mask & kStructuralTypes
                                                                       : kTypeKatakana);
      // Where the segmentation read the boxes, it has joined the pieces
      // that read better as one already: joining again by how surely a
      // union reads would undo its cuts between touching characters.
      JoinSplitCharacters(run, results, capacity, count, !SegmentationReadsBoxes(*run));
    }
  }
  const std::vector<uint16_t> added = TakeWarnings();
  ClearErrorStack();
  PushWarnings(warnings);
  PushWarnings(added);
  return GetErrorCount() > 0 ? -1 : 0;
}

void ApplySemiVoicedMarkRule(uint32_t mask, RecogCharResult* results, int count) {
  if (!(mask & kTypeDigits) || !(mask & (kTypeKatakana | 16))) return;
  for (int i = 0; i + 1 < count; ++i) {
    RecogCharResult& r = results[i];
    if (r.candidates[0].code != kSemiVoicedMark) continue;
    bool keep = false;
    if (i > 0) {
      const MupaRect& p = results[i - 1].box;
      const MupaRect& c = r.box;
      keep = std::max(Width(p), Height(p)) / 2 > std::max(Width(c), Height(c)) &&
             (p.top + p.bottom) / 2 > c.bottom;
    }
    if (!keep) std::swap(r.candidates[0], r.candidates[1]);
  }
}
