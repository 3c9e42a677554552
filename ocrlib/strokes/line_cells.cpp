// Recognition of a line's candidate cells and the choice of the sequence of
// cells: every cell (one or more consecutive segments) is recognised by the
// recogniser the frame hands down; between every two sure cuts (positions no
// cell crosses) every sequence of cells is listed and the one whose
// recognition values, widths, sizes, inner gaps, spacing and pitch fit best
// is chosen. Paths are listed depth first, at most 3,000 a stretch; a stretch
// with more drops its widest cells and is listed again, at most 19 times,
// after which its first 3,000 paths are scored.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr uint16_t kDash = 0x817C;
constexpr uint16_t kKanjiOne = 0x88EA;
constexpr int kMaxIterations = 19;  // width limits L x 1.9 down to L x 0.1
constexpr int kMaxCellsAtPosition = 64;

int CentreX(const MupaRect& b) { return (b.left + b.right) >> 1; }

int FirstSegment(const CharBoxRow& c) { return c.components[0]; }
int EndPosition(const CharBoxRow& c) { return c.components[c.componentCount - 1] + 1; }

bool IsDash(uint16_t code) { return code == kDash || code == kKanjiOne; }
bool IsDigit(uint16_t code) { return code >= 0x824F && code <= 0x8258; }

// Width-like cost of a cell measure x against the line height L.
int64_t MeasureCost(int64_t x, int64_t l) {
  const int64_t x10 = x * 10;
  if (x10 < l) return 90;
  if (l * 9 >= x10) return 100 - x10 * 10 / l;
  if (l * 15 > x10) return 10;
  if (l * 19 >= x10) return x10 * 20 / l - 290;
  return 90;
}

struct Positions {
  std::vector<uint8_t> sure;
  std::vector<std::vector<int>> out;  // cells starting at each position
};

Positions BuildPositions(const LineCells& line) {
  Positions p;
  const int n = line.segmentCount + 1;
  p.sure.assign(n, 1);
  p.out.assign(n, {});
  for (int c = 0; c < line.cellCount; ++c) {
    const CharBoxRow& cell = line.cells[c];
    const int from = FirstSegment(cell), to = EndPosition(cell);
    if (from < 0 || to > line.segmentCount) continue;
    if (static_cast<int>(p.out[from].size()) < kMaxCellsAtPosition) p.out[from].push_back(c);
    for (int k = from + 1; k < to; ++k) p.sure[k] = 0;
  }
  return p;
}

// Drops the cells for which `drop` holds, with their records.
template <class Drop>
void CompactCells(LineCells* line, std::vector<CharWorkRecord>* records, Drop drop) {
  int kept = 0;
  for (int c = 0; c < line->cellCount; ++c) {
    if (drop(c)) continue;
    line->cells[kept] = line->cells[c];
    (*records)[kept] = (*records)[c];
    ++kept;
  }
  line->cellCount = kept;
  records->resize(kept);
}

// Step 2 of the line: single-segment dash cells remove the cells of several
// segments holding their segment (unless the dash is too short or too thin
// for the line to be one).
void DropCellsAcrossDashes(LineCells* line, std::vector<CharWorkRecord>* records) {
  const int l = line->lineHeight;
  std::vector<int> dashSegments;
  for (int c = 0; c < line->cellCount; ++c) {
    const CharBoxRow& cell = line->cells[c];
    if (cell.componentCount != 1 || !IsDash((*records)[c].candidates[0].code())) continue;
    const int w = std::max<int>(cell.width, 1), h = std::max<int>(cell.height, 1);
    if (l * 10 / w >= 40 || l * 10 / h < 51 || w * 10 / h < 18) continue;
    dashSegments.push_back(FirstSegment(cell));
  }
  CompactCells(line, records, [&](int c) {
    const CharBoxRow& cell = line->cells[c];
    if (cell.componentCount < 2 || cell.widestGap < 1) return false;
    for (int s : dashSegments) {
      if (s >= FirstSegment(cell) && s < EndPosition(cell)) return true;
    }
    return false;
  });
}

}  // namespace

int32_t ScoreCellPath(const CharWorkRecord* records, const LineCells& line, const int* path,
                      int n) {
  const CharBoxRow& first = line.cells[path[0]];
  const CharBoxRow& last = line.cells[path[n - 1]];
  const bool hasBefore = FirstSegment(first) > 0;
  const bool hasAfter = EndPosition(last) < line.segmentCount;
  const int64_t c0 = hasBefore ? CentreX(line.segments[FirstSegment(first) - 1]) : 0;
  const int64_t cn = hasAfter ? CentreX(line.segments[EndPosition(last)]) : 0;
  const int k = n - 1 + hasBefore + hasAfter;
  const int64_t b = hasBefore ? c0 : CentreX(first.box);
  const int64_t e = hasAfter ? cn : CentreX(last.box);
  const int64_t p = k > 0 ? (std::llabs(e - b) + 1) / k : 0;
  const int64_t l = std::max(line.lineHeight, 1);
  auto pitchTerm = [p](int64_t step) -> int64_t {
    const int64_t d = std::llabs(step) + 1 - p;
    if (p < 1) return d == 0 ? 0 : 90;
    return p * 5 >= std::llabs(d) * 10 ? std::llabs(d) * 10 * 20 / p : 90;
  };
  int64_t t1 = 0, t2 = 0, t3 = 0, t4 = 0, t5 = 0, t6 = 0;
  if (hasBefore) t1 += pitchTerm(CentreX(first.box) - c0);
  if (hasAfter) t1 += pitchTerm(cn - CentreX(last.box));
  int digits = 0, dashes = 0;
  for (int i = 0; i < n; ++i) {
    const CharBoxRow& cell = line.cells[path[i]];
    const int v = records[path[i]].confidence;
    t2 += v >= 50 ? 100 - v : 50;
    t3 += MeasureCost(cell.width, l);
    t4 += MeasureCost(std::max(cell.width, cell.height), l);
    const int64_t x = int64_t{cell.widestGap} * 10;
    t5 += x < l ? 10 : l * 6 >= x ? x * 16 / l - 6 : 90;
    const uint16_t code = records[path[i]].candidates[0].code();
    digits += IsDigit(code);
    dashes += IsDash(code);
    if (i == 0) continue;
    const CharBoxRow& prev = line.cells[path[i - 1]];
    t1 += pitchTerm(CentreX(cell.box) - CentreX(prev.box));
    const int64_t g = std::max(cell.box.left - prev.box.right - 1, prev.box.left - cell.box.right - 1);
    const int64_t ee = std::max<int64_t>(1, std::llabs(CentreX(cell.box) - CentreX(prev.box)) + 1);
    t6 += -3 * ee > 10 * g ? 90 : 5 * ee >= 10 * g ? 60 - 10 * g * 10 / ee : 10;
  }
  t1 = k > 0 ? t1 * 10 / k : 0;
  t2 = t2 * 10 / n, t3 = t3 * 10 / n, t4 = t4 * 10 / n, t5 = t5 * 10 / n;
  t6 = n > 1 ? t6 * 10 / (n - 1) : 0;
  const int cls = digits == n ? 1 : digits + dashes == n && dashes > 0 ? 2 : 0;
  int64_t score;
  if (cls == 0) {
    score = (3 * t4 + 2 * t3) / 4 + t2 * 4 / 5 + t5 + t6 + t1;
  } else if (cls == 2) {
    score = t6 / 8 + (3 * t4 + 2 * t3) / 8 + t1 / 4 + t2 / 2 + t5 * 2;
  } else {
    score = (3 * t4 + 2 * t3) / 8 + t5 * 3 / 4 + t1 / 4 + t6 / 9 + t2 * 2;
  }
  return static_cast<int32_t>(std::clamp<int64_t>(score, INT32_MIN, INT32_MAX));
}

int ChooseCellPath(const CharWorkRecord* records, LineCells* line, int from, int to,
                   bool firstPaths) {
  const Positions pos = BuildPositions(*line);
  if (to == from + 1) {
    if (!pos.out[from].empty()) line->cells[pos.out[from][0]].chosen = 1;
    return 0;
  }
  std::vector<std::vector<int>> paths;
  const bool complete = ListLatticePaths(
      from, to, kMaxCellPaths, [&](int at) -> const std::vector<int>& { return pos.out[at]; },
      [&](int cell) { return EndPosition(line->cells[cell]); }, &paths);
  if (!complete && !firstPaths) return -1;
  int best = -1;
  int32_t bestScore = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    const int32_t s = ScoreCellPath(records, *line, paths[i].data(), static_cast<int>(paths[i].size()));
    if (best < 0 || s <= bestScore) best = static_cast<int>(i), bestScore = s;  // later wins ties
  }
  if (best >= 0) {
    for (int c : paths[best]) line->cells[c].chosen = 1;
  }
  return 0;
}

int RecogniseLineCells(const RecogRunBlock& page, CharRecogniser recognise, LineCells* line,
                       uint32_t mask, RecogCharResult* results, int maxChars, int* count) {
  *count = 0;
  std::vector<CharWorkRecord> records(line->cellCount);
  for (int c = 0; c < line->cellCount; ++c) {
    ClearCharRecord(&records[c]);
    RecogRunBlock run = page;
    run.rect = line->cells[c].box;
    if (recognise(&run, &records[c]) == -9) return -1;
  }
  if (mask & kTypeSigns) DropCellsAcrossDashes(line, &records);
  for (int iteration = 1;; ++iteration) {
    for (int c = 0; c < line->cellCount; ++c) line->cells[c].chosen = 0;
    const Positions pos = BuildPositions(*line);
    bool complete = true;
    for (int from = 0; from < line->segmentCount;) {
      int to = from + 1;
      while (to < line->segmentCount && !pos.sure[to]) ++to;
      if (ChooseCellPath(records.data(), line, from, to, iteration == kMaxIterations) != 0) {
        complete = false;
      }
      from = to;
    }
    if (complete) break;
    // Too many sequences: drop the cells wider than the limit that hold a gap.
    const int limit = line->lineHeight * (20 - iteration) / 10;
    CompactCells(line, &records, [&](int c) {
      return line->cells[c].width > limit && line->cells[c].widestGap >= 1;
    });
  }
  std::vector<CharWorkRecord> chosen;
  for (int c = 0; c < line->cellCount; ++c) {
    if (!line->cells[c].chosen) continue;
    if (static_cast<int>(chosen.size()) == maxChars - 1) {
      PushErrorCode(maxChars == kMaxBoxes ? kErrCapacityFull : kErrResultsFull);
      break;
    }
    chosen.push_back(records[c]);
    chosen.back().box = line->cells[c].box;
  }
  RerankByBoxGeometry(chosen.data(), static_cast<int>(chosen.size()));
  ReorderCandidatesByContext(chosen.data(), static_cast<int>(chosen.size()));
  MupaRect all = {};
  for (size_t i = 0; i < chosen.size(); ++i) {
    const CharWorkRecord& r = chosen[i];
    RecogCharResult& out = results[i];
    SetSingleResult(&out, kNoCandidate, r.box);
    for (int k = 0; k < kResultCandidates && k < r.count; ++k) {
      out.candidates[k] = {r.candidates[k].code(), static_cast<uint8_t>(k == 0 ? r.confidence : 0)};
    }
    out.confidence = r.confidence;
    out.failed = r.count > 0 ? 0 : 1;
    if (i == 0) {
      all = r.box;
    } else {
      UniteBoxes(all, r.box, &all);
    }
  }
  SetSingleResult(&results[chosen.size()], kEndRecordCode, all);
  *count = static_cast<int>(chosen.size()) + 1;
  return 0;
}
