// One character: the dictionary's current character types choose the
// recognisers. A pattern-only dictionary is served by the pattern classifier
// alone; digits (with or without signs) are first decided by the structure
// rules and then by the stroke models; the other type combinations that have
// stroke models go to the structural recogniser; any other mix with digits
// runs the pattern classifier and, for characters of few contour elements,
// the structural recogniser too, and merges both lists; the rest is the
// pattern classifier's. Recognition mode 3 lets tables of distance limits
// arbitrate between a structural answer and the pattern classifier's.
#include <algorithm>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kMaxStructuralShapeGroup = 5;

void PatternOnly(const RecogRunBlock* run, uint32_t mask, CharWorkRecord* work) {
  CharWorkRecord pattern;
  ClearCharRecord(&pattern);
  g_charRecognisers.pattern(run, mask, &pattern);
  MergeCandidateLists(run->dicts[0], nullptr, pattern, work);
}

bool IsStructuralMask(uint32_t m) {
  return m == 2 || m == 514 || m == 3 || m == 515 || m == 512 || m == 8;
}

bool HasCandidate(const CharWorkRecord& r) { return r.count > 0 && !r.candidates[0].empty(); }

}  // namespace

CharRecognisers g_charRecognisers = {ClassifyByPattern, RecognizeDigit, RecognizeByStrokes};

int RecognizeDigit(const RecogRunBlock* run, uint32_t mask, CharWorkRecord* work) {
  const MupaRect& r = run->rect;
  if (DecideDigitByStructure(run->image.bits, r.left, r.right, r.top, r.bottom,
                             run->image.bytesPerLine) != 0) {
    return -9;
  }
  const int32_t decision = g_structureDecision;
  if (decision < '0' || decision > '9') return 0;
  RecogCandidate& c = work->candidates[0];
  ClearCandidate(&c);
  const uint16_t code = ClassCodeToSjis(decision);
  c.lead = static_cast<uint8_t>(code >> 8);
  c.trail = static_cast<uint8_t>(code);
  c.source = 1;
  c.distance1 = 0;
  work->count = 1;
  CompleteCandidates(nullptr, nullptr, mask, work);
  return 0;
}

int RecognizeCharByTypeMask(RecogRunBlock* run, CharWorkRecord* work) {
  if (PrepareOneChar(*run) != 0) return -9;
  uint32_t offered = 0, m = 0;
  const DictBlock* dict = run->dicts[0];
  if (GetCharTypeMasks(dict, &offered, &m) != 0) return -9;
  ClearCharRecord(work);
  CharWorkRecord structural, pattern;
  ClearCharRecord(&structural);
  ClearCharRecord(&pattern);
  if (dict->header.patternOnly == 1) {
    PatternOnly(run, m, work);
  } else if (m == 1 || m == 513 || IsStructuralMask(m)) {
    bool done = false;
    if (m == 1 || m == 513) {
      if (g_charRecognisers.digit(run, m, work) != 0) return -9;
      done = HasCandidate(*work);
    }
    if (!done) {
      if (g_charRecognisers.strokes(run, m, &structural) != 0) return -9;
      if (run->options.mode != 3 || structural.candidates[0].source == kSourceFinal) {
        CopyCharRecord(structural, work);
      } else {
        g_charRecognisers.pattern(run, m, &pattern);
        ArbitrateStructuralResult(dict, m, structural, pattern, work);
      }
    }
  } else if (m & kTypeDigits) {
    g_charRecognisers.pattern(run, m, &pattern);
    if (pattern.shapeGroup <= kMaxStructuralShapeGroup) {
      if (m & kTypeCapitals) {
        if (g_charRecognisers.strokes(run, kTypeDigits | kTypeCapitals, &structural) != 0) return -9;
      } else {
        const uint32_t digits = m & (kTypeDigits | kTypeSigns);
        if (g_charRecognisers.digit(run, digits, &structural) != 0) return -9;
        if (!HasCandidate(structural) &&
            g_charRecognisers.strokes(run, digits, &structural) != 0) {
          return -9;
        }
      }
    }
    MergeStructuralWithPattern(dict, structural, pattern, work);
  } else {
    PatternOnly(run, m, work);
  }
  work->box = run->rect;
  return 0;
}

int RecognizeOneChar(RecogRunBlock* run, RecogCharResult* result) {
  ClearErrorStack();
  SetSingleResult(result, kNoCandidate, run->rect);
  CharWorkRecord work;
  if (RecognizeCharByTypeMask(run, &work) != 0) {
    result->box = run->rect;
    result->confidence = 0;
    result->failed = 1;
    return -9;
  }
  result->failed = 0;
  result->box = work.box;
  result->confidence = work.confidence;
  const int n = std::clamp<int>(work.count, 0, kResultCandidates);
  for (int i = 0; i < n; ++i) result->candidates[i] = {work.candidates[i].code(), 0};
  return 0;
}

bool CanConfirmDigits(const RecogRunBlock& run) {
  return run.dictCount >= 1 && run.dicts[0] != nullptr && g_currentWorkArea != nullptr &&
         FindStrokeModelSet(run.dicts[0], kTypeDigits) != nullptr;
}

int ConfirmsOneDigit(const RecogRunBlock& run, const RunImage& image, const MupaRect& rect) {
  if (!CanConfirmDigits(run)) return -1;
  RecogRunBlock one = run;
  one.image = image;
  one.rect = rect;
  one.options.mode = 2;  // every attempt, whatever the caller's speed
  // A rejection is an answer here, not a warning of the caller's call.
  const ErrorStack callers = g_errorStack;
  CharWorkRecord work;
  ClearCharRecord(&work);
  int rc = RecognizeDigit(&one, kTypeDigits, &work);
  if (rc == 0 && !HasCandidate(work)) rc = RecognizeByStrokes(&one, kTypeDigits, &work);
  g_errorStack = callers;
  if (rc != 0) return 0;
  return HasCandidate(work) && work.candidates[0].source != 0 && work.confidence > 0 ? 1 : 0;
}
