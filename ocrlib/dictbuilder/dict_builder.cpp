// Training of a pattern-only dictionary from labelled character images.
#include "ocrlib/dictbuilder/dict_builder.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <numeric>
#include <random>

namespace {

struct Measured {
  uint16_t sjis;
  uint32_t typeBit;
  PatternCharMeasures m;
  PatternFeatureVector f;
};

// Raw values ranked by how well they separate the codes: the variance of the
// codes' means over the mean variance within a code.
std::vector<int> RankRawValues(const std::vector<Measured>& all,
                               const std::map<uint16_t, std::vector<int>>& byCode) {
  std::vector<double> score(kRawFeatures);
  for (int r = 0; r < kRawFeatures; ++r) {
    double grand = 0, within = 0;
    std::vector<double> means;
    for (const auto& [code, members] : byCode) {
      double sum = 0, sq = 0;
      for (int i : members) {
        sum += all[i].m.raw[r];
        sq += double(all[i].m.raw[r]) * all[i].m.raw[r];
      }
      const double mean = sum / members.size();
      means.push_back(mean);
      within += sq / members.size() - mean * mean;
      grand += mean;
    }
    grand /= means.size();
    double between = 0;
    for (double mean : means) between += (mean - grand) * (mean - grand);
    score[r] = between / means.size() / (within / means.size() + 1e-3);
  }
  std::vector<int> order(kRawFeatures);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return score[a] > score[b]; });
  return order;
}

// n - 1 ascending thresholds at the quantiles of the pooled values of the
// raw values order[from, to).
void ChooseThresholds(const std::vector<Measured>& all, const std::vector<int>& order, int from,
                      int to, uint16_t* thresholds, int n) {
  std::vector<uint16_t> pool;
  pool.reserve(all.size() * (to - from));
  for (const Measured& s : all) {
    for (int k = from; k < to; ++k) pool.push_back(s.m.raw[order[k]]);
  }
  std::sort(pool.begin(), pool.end());
  int previous = -1;
  for (int i = 0; i < n - 1; ++i) {
    int t = pool[std::min(pool.size() - 1, pool.size() * (i + 1) / n)];
    t = std::max(t, previous + 1);  // every level stays reachable
    thresholds[i] = static_cast<uint16_t>(std::min(t, 65535));
    previous = t;
  }
}

// Distance of two feature vectors in one scale (six-bit values count 4).
int64_t VectorDistance(const PatternFeatureVector& a, const std::vector<double>& centre) {
  double d = 0;
  for (int k = 0; k < kPatternFeatures; ++k) {
    const double w = k < kSixBitFeatures ? 4.0 : 1.0;
    const double x = (a.values[k] - centre[k]) * w;
    d += x * x;
  }
  return static_cast<int64_t>(d);
}

// k-means of one code's samples; returns the cluster of every member.
std::vector<int> Cluster(const std::vector<Measured>& all, const std::vector<int>& members, int k,
                         std::mt19937& rng) {
  std::vector<std::vector<double>> centres;
  auto centreOf = [&](int i) {
    return std::vector<double>(all[i].f.values, all[i].f.values + kPatternFeatures);
  };
  centres.push_back(centreOf(members[rng() % members.size()]));
  while (static_cast<int>(centres.size()) < k) {  // k-means++ seeding
    std::vector<double> weight(members.size());
    for (size_t i = 0; i < members.size(); ++i) {
      int64_t best = INT64_MAX;
      for (const auto& c : centres) best = std::min(best, VectorDistance(all[members[i]].f, c));
      weight[i] = static_cast<double>(best);
    }
    std::discrete_distribution<size_t> pick(weight.begin(), weight.end());
    centres.push_back(centreOf(members[pick(rng)]));
  }
  std::vector<int> assignment(members.size(), 0);
  for (int iteration = 0; iteration < 12; ++iteration) {
    for (size_t i = 0; i < members.size(); ++i) {
      int64_t best = INT64_MAX;
      for (int c = 0; c < k; ++c) {
        const int64_t d = VectorDistance(all[members[i]].f, centres[c]);
        if (d < best) best = d, assignment[i] = c;
      }
    }
    for (int c = 0; c < k; ++c) {
      std::vector<double> sum(kPatternFeatures, 0);
      int n = 0;
      for (size_t i = 0; i < members.size(); ++i) {
        if (assignment[i] != c) continue;
        ++n;
        for (int f = 0; f < kPatternFeatures; ++f) sum[f] += all[members[i]].f.values[f];
      }
      if (n == 0) continue;
      for (double& v : sum) v /= n;
      centres[c] = sum;
    }
  }
  return assignment;
}

PatternClassRecord ClassOfCluster(const std::vector<Measured>& all, const std::vector<int>& cluster,
                                  uint32_t typeBit, int percent) {
  PatternClassRecord c = {};
  c.typeBits = typeBit;
  std::fill(std::begin(c.flagWeights), std::end(c.flagWeights), 100);  // flags add nothing
  for (int k = 0; k < kRerankFeatures; ++k) c.rerankFeatures[k] = static_cast<uint16_t>(k);
  std::fill(std::begin(c.rivals), std::end(c.rivals), kNoRival);
  c.memberCount = 1;
  std::vector<uint8_t> values(cluster.size());
  for (int k = 0; k < kPatternFeatures; ++k) {
    for (size_t i = 0; i < cluster.size(); ++i) values[i] = all[cluster[i]].f.values[k];
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const uint8_t lo = values[n * percent / 100];
    const uint8_t hi = values[std::min(n - 1, n * (100 - percent) / 100)];
    if (k < kSixBitFeatures) {
      c.lower6[k] = lo, c.upper6[k] = hi;
    } else {
      c.lower8[k - kSixBitFeatures] = lo, c.upper8[k - kSixBitFeatures] = hi;
    }
  }
  return c;
}

// One class record as the refinement moves it: its box's centre in feature
// units, kept apart from the box's half-widths, and the box as the
// classifier reads it.
struct Prototype {
  uint16_t code;
  std::vector<double> centre, below, above;
  uint8_t lower[kPatternFeatures], upper[kPatternFeatures];
};

Prototype PrototypeOf(const PatternClassRecord& c, uint16_t code) {
  Prototype p;
  p.code = code;
  std::copy(c.lower6, c.lower6 + kSixBitFeatures, p.lower);
  std::copy(c.upper6, c.upper6 + kSixBitFeatures, p.upper);
  std::copy(c.lower8, c.lower8 + kEightBitFeatures, p.lower + kSixBitFeatures);
  std::copy(c.upper8, c.upper8 + kEightBitFeatures, p.upper + kSixBitFeatures);
  for (int k = 0; k < kPatternFeatures; ++k) {
    const double mid = (p.lower[k] + p.upper[k]) / 2.0;
    p.centre.push_back(mid);
    p.below.push_back(mid - p.lower[k]);
    p.above.push_back(p.upper[k] - mid);
  }
  return p;
}

// The classifier's distance of a feature vector to a box (bias and flags
// add nothing to the builder's classes).
int32_t BoxDistance(const Prototype& p, const uint8_t* x, const BuilderOptions& o) {
  int32_t coarse = 0, fine = 0;
  for (int k = 0; k < kSixBitFeatures; ++k) {
    coarse += std::max(0, p.lower[k] - x[k]) + std::max(0, x[k] - p.upper[k]);
  }
  for (int k = kSixBitFeatures; k < kPatternFeatures; ++k) {
    fine += std::max(0, p.lower[k] - x[k]) + std::max(0, x[k] - p.upper[k]);
  }
  return o.coarsePenalty * coarse + o.finePenalty * fine;
}

// Moves the box's centre toward (sign +1) or away from (-1) the features
// outside it, by `step` of an eight-bit unit (a quarter of it for the
// six-bit features, whose unit is four times as wide).
void MoveBox(Prototype* p, const uint8_t* x, double step, int sign) {
  for (int k = 0; k < kPatternFeatures; ++k) {
    const int side = x[k] > p->upper[k] ? 1 : x[k] < p->lower[k] ? -1 : 0;
    if (side == 0) continue;
    const double top = k < kSixBitFeatures ? 63 : 255;
    const double unit = k < kSixBitFeatures ? step / 4 : step;
    p->centre[k] = std::clamp(p->centre[k] + sign * side * unit, 0.0, top);
    p->lower[k] = static_cast<uint8_t>(std::clamp(std::lround(p->centre[k] - p->below[k]), 0L,
                                                  static_cast<long>(top)));
    p->upper[k] = static_cast<uint8_t>(std::clamp(std::lround(p->centre[k] + p->above[k]),
                                                  static_cast<long>(p->lower[k]),
                                                  static_cast<long>(top)));
  }
}

// Learning vector quantisation of the boxes: a training sample that the
// nearest box of another character takes, or nearly takes, pulls the nearest
// box of its own character toward it and pushes the other away. Clusters
// describe how a character is written; this moves their boxes to where the
// characters are told apart.
void RefinePrototypes(const std::vector<Measured>& all, const BuilderOptions& o,
                      std::vector<Prototype>* protos, std::mt19937& rng) {
  std::vector<int> order(all.size());
  std::iota(order.begin(), order.end(), 0);
  for (int epoch = 0; epoch < o.refineEpochs; ++epoch) {
    const double step = o.refineStep * (o.refineEpochs - epoch) / o.refineEpochs;
    std::shuffle(order.begin(), order.end(), rng);
    for (int i : order) {
      const uint8_t* x = all[i].f.values;
      int32_t own = INT32_MAX, other = INT32_MAX;
      Prototype *ownBox = nullptr, *otherBox = nullptr;
      for (Prototype& p : *protos) {
        const int32_t d = BoxDistance(p, x, o);
        if (p.code == all[i].sjis) {
          if (d < own) own = d, ownBox = &p;
        } else if (d < other) {
          other = d, otherBox = &p;
        }
      }
      if (ownBox == nullptr || otherBox == nullptr) continue;
      // Within the window: wrong, or right by less than the margin.
      if (static_cast<int64_t>(own) * 100 < static_cast<int64_t>(other) * (100 - o.refineMargin)) {
        continue;
      }
      MoveBox(ownBox, x, step, +1);
      MoveBox(otherBox, x, step, -1);
    }
  }
}

void StoreBox(const Prototype& p, PatternClassRecord* c) {
  std::copy(p.lower, p.lower + kSixBitFeatures, c->lower6);
  std::copy(p.upper, p.upper + kSixBitFeatures, c->upper6);
  std::copy(p.lower + kSixBitFeatures, p.lower + kPatternFeatures, c->lower8);
  std::copy(p.upper + kSixBitFeatures, p.upper + kPatternFeatures, c->upper8);
}

}  // namespace

int BuildPatternDict(const std::vector<LabelledChar>& samples, const BuilderOptions& options,
                     DictFileSpec* spec, BuildReport* report, std::string* error) {
  *report = BuildReport{};
  report->samples = static_cast<int>(samples.size());
  std::vector<Measured> all;
  all.reserve(samples.size());
  for (const LabelledChar& s : samples) {
    Measured m;
    m.sjis = s.sjis;
    m.typeBit = s.typeBit;
    if (MeasurePatternChar(s.image, s.rect, &m.m) != 0) {
      ++report->blank;
      continue;
    }
    all.push_back(m);
  }
  if (all.empty()) {
    *error = "no sample with ink";
    return -1;
  }
  std::map<uint16_t, std::vector<int>> byCode;
  for (size_t i = 0; i < all.size(); ++i) byCode[all[i].sjis].push_back(static_cast<int>(i));
  report->codes = static_cast<int>(byCode.size());

  PatternSectionFile& p = spec->patterns;
  p = PatternSectionFile{};
  const std::vector<int> order = RankRawValues(all, byCode);
  for (int i = 0; i < kRawFeatures; ++i) p.featureIndexTable[i] = static_cast<uint16_t>(order[i]);
  ChooseThresholds(all, order, 0, kSixBitFeatures, p.thresholds63, 64);
  ChooseThresholds(all, order, kSixBitFeatures, kSixBitFeatures + kEightBitFeatures,
                   p.thresholds31, 32);
  ChooseThresholds(all, order, kSixBitFeatures + kEightBitFeatures, kRawFeatures, p.thresholds7, 8);

  // Quantise with the library's own routine over the chosen tables.
  auto tables = std::make_unique<PatternImage>();
  std::copy(std::begin(p.thresholds63), std::end(p.thresholds63), tables->thresholds63);
  std::copy(std::begin(p.thresholds31), std::end(p.thresholds31), tables->thresholds31);
  std::copy(std::begin(p.thresholds7), std::end(p.thresholds7), tables->thresholds7);
  std::copy(std::begin(p.featureIndexTable), std::end(p.featureIndexTable),
            tables->featureIndexTable);
  for (Measured& m : all) QuantizePatternFeatures(m.m.raw, *tables, &m.f);

  std::mt19937 rng(options.seed);
  uint32_t offered = 0;
  for (const auto& [code, members] : byCode) {
    const int k = std::clamp(static_cast<int>(members.size()) / options.minClusterSamples, 1,
                             options.maxClustersPerCode);
    const std::vector<int> assignment = Cluster(all, members, k, rng);
    const uint32_t typeBit = all[members[0]].typeBit;
    offered |= typeBit;
    for (int c = 0; c < k; ++c) {
      std::vector<int> cluster;
      for (size_t i = 0; i < members.size(); ++i) {
        if (assignment[i] == c) cluster.push_back(members[i]);
      }
      if (cluster.empty()) continue;
      p.classes.push_back(ClassOfCluster(all, cluster, typeBit, options.boundPercent));
      p.members.push_back({typeBit, static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code), 1,
                           nullptr});
      p.items.push_back(PatternItem{});  // no box geometry: neutral on a line
    }
  }
  if (options.refineEpochs > 0) {
    std::vector<Prototype> protos;
    for (size_t c = 0; c < p.classes.size(); ++c) {
      protos.push_back(PrototypeOf(p.classes[c], static_cast<uint16_t>(
                                                     p.members[c].sjisLead << 8 |
                                                     p.members[c].sjisTrail)));
    }
    RefinePrototypes(all, options, &protos, rng);
    for (size_t c = 0; c < p.classes.size(); ++c) StoreBox(protos[c], &p.classes[c]);
  }
  if (p.classes.size() > 32767) {
    *error = "more classes than a dictionary holds";
    return -1;
  }
  report->classes = static_cast<int>(p.classes.size());
  // Every class is examined for every character; no small-kana classes.
  p.tailClassCount = static_cast<int16_t>(p.classes.size());
  p.groupWords.assign(kShapeGroups, 0);
  std::fill(std::begin(p.smallKana), std::end(p.smallKana), kNoRival);
  for (int r = 0; r < 64; ++r) {
    for (int c = 0; c < r; ++c) {
      p.boundDistanceTable[r * 64 + c] =
          static_cast<uint8_t>(std::min(255, options.coarsePenalty * (r - c)));
    }
  }
  for (int r = 0; r < 256; ++r) {
    for (int c = 0; c < r; ++c) {
      p.fineBoundDistanceTable[r * 256 + c] =
          static_cast<uint8_t>(std::min(255, options.finePenalty * (r - c)));
    }
  }
  spec->header = MakeDictHeader(offered, options.description, true);
  spec->hasStrokes = false;
  spec->hasPatterns = true;
  return 0;
}
