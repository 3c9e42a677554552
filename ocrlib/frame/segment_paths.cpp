// The best sequence of boxes on the general path: the candidate rows form a
// lattice over the boundaries between components; between two boundaries
// that no row crosses every sequence of rows is listed (at most 2,999) and
// scored by how well its boxes' positions, widths, sizes, inner gaps and
// spacing fit the line's character size and pitch.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "ocrlib/frame/frame_internal.h"

namespace {

constexpr int kMaxPaths = 2999;  // the 3,000th path ends a listing
constexpr int kMaxNodeRows = 64;
// Retries drop rows wider than size x (20 - t) / 10; at the last the first
// paths listed are scored as they are.
constexpr int kMaxRetries = 10;

int CentreX(const MupaRect& b) { return (b.left + b.right) >> 1; }

// Width-like cost of x against the size s: x / s in tenths through integer
// products (90 below 0.1, 100 - 100q to 0.9, 10 below 1.5, 200q - 290 to 1.9,
// 90 above).
int RatioCost(int x, int s) {
  const int64_t x10 = int64_t{x} * 10;
  if (x10 < s) return 90;
  if (x10 <= 9 * int64_t{s}) return static_cast<int>(100 - int64_t{100} * x / s);
  if (x10 < 15 * int64_t{s}) return 10;
  if (x10 <= 19 * int64_t{s}) return static_cast<int>(int64_t{200} * x / s - 290);
  return 90;
}

int GapCost(int gap, int s) {
  const int64_t x10 = int64_t{gap} * 10;
  if (x10 < s) return 10;
  if (x10 <= 6 * int64_t{s}) return static_cast<int>(int64_t{160} * gap / s - 6);
  return 90;
}

// Cost of a distance's deviation e from the pitch p.
int PitchCost(int64_t e, int64_t p) {
  if (p < 1) return e == 0 ? 0 : 90;
  return 5 * p >= 10 * e ? static_cast<int>(200 * e / p) : 90;
}

struct Lattice {
  int nodes = 0;
  std::vector<uint8_t> sure;               // no row crosses the node
  std::vector<std::vector<int>> out;  // rows leaving each node
};

// Rows are edges from their first component's node to the node after their
// last.
Lattice BuildLattice(const SegmentWork& w) {
  Lattice l;
  l.nodes = w.header.componentCount + 1;
  l.sure.assign(l.nodes, 1);
  l.out.assign(l.nodes, {});
  for (int r = 0; r < w.header.boxCount; ++r) {
    const CharBoxRow& row = w.rows[r];
    const int from = row.components[0];
    const int to = row.components[row.componentCount - 1] + 1;
    if (static_cast<int>(l.out[from].size()) < kMaxNodeRows) l.out[from].push_back(r);
    for (int k = from + 1; k < to; ++k) l.sure[k] = 0;
  }
  return l;
}

int EndNode(const CharBoxRow& row) { return row.components[row.componentCount - 1] + 1; }

// Marks the best path of the stretch chosen; false when it has too many.
bool ChooseInStretch(SegmentWork* w, const Lattice& l, int u, int v, bool firstPaths) {
  if (v == u + 1) {
    for (int r : l.out[u]) {
      if (w->rows[r].componentCount == 1) w->rows[r].chosen = 1;
    }
    return true;
  }
  std::vector<std::vector<int>> paths;
  const bool complete = ListLatticePaths(
      u, v, kMaxPaths, [&](int node) -> const std::vector<int>& { return l.out[node]; },
      [&](int row) { return EndNode(w->rows[row]); }, &paths);
  if (!complete && !firstPaths) return false;
  int best = -1;
  int32_t bestScore = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    const int32_t score = ScoreSegmentPath(*w, paths[i].data(), static_cast<int>(paths[i].size()));
    if (best < 0 || score <= bestScore) best = static_cast<int>(i), bestScore = score;
  }
  if (best >= 0) {
    for (int r : paths[best]) w->rows[r].chosen = 1;
  }
  return true;
}

}  // namespace

int32_t ScoreSegmentPath(const SegmentWork& w, const int* rows, int k) {
  const int s = std::max<int>(w.header.size, 1);
  const CharBoxRow& first = w.rows[rows[0]];
  const CharBoxRow& last = w.rows[rows[k - 1]];
  const int before = first.components[0] - 1;
  const int after = last.components[last.componentCount - 1] + 1;
  const bool hasBefore = before >= 0, hasAfter = after < w.header.componentCount;
  int m = hasBefore ? k : k - 1;
  const int64_t a = hasBefore ? CentreX(w.components[before].box) : CentreX(first.box);
  if (hasAfter) ++m;
  const int64_t b = hasAfter ? CentreX(w.components[after].box) : CentreX(last.box);
  const int64_t p = m >= 1 ? (std::llabs(a - b) + 1) / m : 0;
  int64_t q = 0;
  if (hasBefore) q += PitchCost(std::llabs(std::llabs(a - CentreX(first.box)) - p + 1), p);
  if (hasAfter) q += PitchCost(std::llabs(std::llabs(CentreX(last.box) - b) - p + 1), p);
  int64_t widths = 0, sizes = 0, gaps = 0, spacing = 0;
  for (int i = 0; i < k; ++i) {
    const CharBoxRow& r = w.rows[rows[i]];
    widths += RatioCost(r.width, s);
    sizes += RatioCost(std::max(r.width, r.height), s);
    gaps += GapCost(r.widestGap, s);
    if (i == 0) continue;
    const CharBoxRow& prev = w.rows[rows[i - 1]];
    const int64_t d = std::llabs(CentreX(r.box) - CentreX(prev.box)) + 1;
    q += PitchCost(std::llabs(d - p), p);
    const int64_t g = std::max(r.box.left - prev.box.right - 1, prev.box.left - r.box.right - 1);
    const int64_t dd = std::max<int64_t>(d, 1);
    spacing += 10 * g < -3 * dd ? 90 : 10 * g <= 5 * dd ? 60 - 100 * g / dd : 10;
  }
  const int64_t z = 10 * sizes / k, wc = 10 * widths / k, c = 10 * gaps / k;
  const int64_t v = k > 1 ? 10 * spacing / (k - 1) : 0;
  int64_t score = (3 * z + 2 * wc) / 4 + c + v;
  if (m >= 1) score += 10 * q / m;
  return static_cast<int32_t>(std::clamp<int64_t>(score, INT32_MIN, INT32_MAX));
}

int ChooseBestSegmentation(SegmentWork* w, int max) {
  for (int t = 0;; ++t) {
    for (int r = 0; r < w->header.boxCount; ++r) w->rows[r].chosen = 0;
    const Lattice l = BuildLattice(*w);
    bool complete = true;
    for (int u = 0; u < l.nodes - 1 && complete;) {
      int v = u + 1;
      while (v < l.nodes - 1 && !l.sure[v]) ++v;
      complete = ChooseInStretch(w, l, u, v, t == kMaxRetries);
      u = v;
    }
    if (complete) break;
    // Too many sequences: drop rows wider than the limit (rows of touching
    // components excepted) and list again.
    const int limit = w->header.size * (20 - (t + 1)) / 10;
    int kept = 0;
    for (int r = 0; r < w->header.boxCount; ++r) {
      const CharBoxRow& row = w->rows[r];
      if (row.width > limit && row.widestGap >= 1) continue;
      w->rows[kept] = row;
      w->rows[kept].number = static_cast<uint16_t>(kept);
      ++kept;
    }
    w->header.boxCount = static_cast<int16_t>(kept);
  }
  int chosen = 0;
  for (int r = 0; r < w->header.boxCount; ++r) {
    if (!w->rows[r].chosen) continue;
    if (chosen < max) {
      w->rows[chosen] = w->rows[r];
      w->rows[chosen].number = static_cast<uint16_t>(chosen);
    }
    ++chosen;
  }
  if (chosen >= max) PushErrorCode(max == kMaxBoxes ? kErrCapacityFull : kErrResultsFull);
  w->header.boxCount = static_cast<int16_t>(std::min(chosen, max));
  return 0;
}
