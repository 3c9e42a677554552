// The distance of one complete assignment: the character's strokes (and
// feature points) scaled onto the model's extents, then compared feature by
// feature with the model's expected values under the model's weights. The
// weighted sum of squares S over n compared values becomes a normal deviate
// by Fisher's approximation of a chi-square value, sqrt(2 S) - sqrt(2 n - 1),
// in 1/256 units, so weights of 65536 / spread^2 make each term one unit of
// chi-square. Two shears of the character are tried when the plain scaling
// does not beat the candidate's best.
#include <algorithm>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int32_t kFlatBendSquare = 656;  // a straight stroke's bend below this is no bend
constexpr int32_t kMinScaledExtent = 52;
constexpr int32_t kShearPerUnit = 38;  // shear of 38 / 256 either way

// Division by 256 rounding down (an arithmetic shift) without shifting a
// negative value.
int64_t Shift8(int64_t v) { return v >= 0 ? v / 256 : -((-v + 255) / 256); }

uint64_t Sqrt64(uint64_t v) {
  uint64_t r = 0;
  for (uint64_t bit = uint64_t{1} << 62; bit != 0; bit >>= 2) {
    if (v >= r + bit) {
      v -= r + bit;
      r = (r >> 1) + bit;
    } else {
      r >>= 1;
    }
  }
  return r;
}

// The character-to-model mapping: (a x + b y) / 256 + ox, (c x + d y) / 256 + oy.
struct ShapeTransform {
  int64_t a, b, c, d, ox, oy;
  int64_t X(int64_t x, int64_t y) const { return Shift8(a * x + b * y); }
  int64_t Y(int64_t x, int64_t y) const { return Shift8(c * x + d * y); }
};

struct Box {
  int64_t minX = 128, maxX = 128, minY = 128, maxY = 128;
  void Widen(int64_t cx, int64_t cy, int64_t hx, int64_t hy) {
    minX = std::min({minX, cx + hx, cx - hx});
    maxX = std::max({maxX, cx + hx, cx - hx});
    minY = std::min({minY, cy + hy, cy - hy});
    maxY = std::max({maxY, cy + hy, cy - hy});
  }
  int64_t width() const { return maxX - minX; }
  int64_t height() const { return maxY - minY; }
};

int64_t Half(int64_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

// Sums beyond 2^50 give the largest distance anyway; holding them there keeps
// every product of a hostile dictionary inside 64 bits.
constexpr int64_t kSumCeiling = int64_t{1} << 50;
constexpr int64_t kDifferenceCeiling = int64_t{1} << 20;

struct WeightedSum {
  int64_t sum = 0;
  int terms = 0;
  void Add(int64_t weight, int64_t value, int64_t mean) {
    const int64_t d = std::clamp(value - mean, -kDifferenceCeiling, kDifferenceCeiling);
    sum = std::clamp(sum + weight * d * d, -kSumCeiling, kSumCeiling);
  }
};

// The chord of a straight stroke under the mapping as its doubled-angle
// vector (r, q) in frame units, like NormalizeStrokeVectors.
void DoubledAngle(int64_t u, int64_t v, int64_t frameSize, int64_t* r, int64_t* q) {
  const int64_t length =
      ApproxDistance(static_cast<int32_t>(std::clamp<int64_t>(u, INT32_MIN, INT32_MAX)),
                     static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)));
  if (length <= 0) {
    *r = *q = 0;
    return;
  }
  *q = (((512 * u * v + length / 2) / length) * 256 + frameSize / 2) / frameSize;
  *r = (((512 * u * u + length / 2) / length) * 256 - length + frameSize / 2) / frameSize;
}

int16_t ComputeShapeDistance(const ShapeAssignment& a, const ShapeTransform& t) {
  const StrokeModel& model = *a.candidate->model;
  const int64_t frameSize = std::max<int64_t>(1, a.frame->size);
  WeightedSum s;
  for (int e = 0; e < model.strokeCount; ++e) {
    const StrokeSegment* seg = a.strokes[e];
    if (seg == nullptr) continue;
    const int16_t* mean = model.strokes[e].mean;
    const int16_t* weight = model.strokes[e].weight;
    s.Add(weight[0], t.X(seg->centreX, seg->centreY) + t.ox, mean[0]);
    s.Add(weight[1], t.Y(seg->centreX, seg->centreY) + t.oy, mean[1]);
    if (seg->kind == 1) {
      int64_t r, q;
      DoubledAngle(t.X(seg->sizeX, seg->sizeY), t.Y(seg->sizeX, seg->sizeY), frameSize, &r, &q);
      s.Add(weight[6], r, mean[6]);
      s.Add(weight[7], q, mean[7]);
      s.Add(weight[2], t.X(seg->firstX, seg->firstY), mean[2]);
      s.Add(weight[3], t.Y(seg->firstX, seg->firstY), mean[3]);
      s.terms += 6;
      continue;
    }
    s.Add(weight[6], t.X(seg->sizeX, seg->sizeY), mean[6]);
    s.Add(weight[7], t.Y(seg->sizeX, seg->sizeY), mean[7]);
    s.terms += 4;
    if (seg->kind == 0) continue;
    s.Add(weight[2], t.X(seg->firstX, seg->firstY) + t.ox, mean[2]);
    s.Add(weight[3], t.Y(seg->firstX, seg->firstY) + t.oy, mean[3]);
    s.Add(weight[4], t.X(seg->secondX, seg->secondY) + t.ox, mean[4]);
    s.Add(weight[5], t.Y(seg->secondX, seg->secondY) + t.oy, mean[5]);
    s.terms += 4;
  }
  for (int r = 0; a.points != nullptr && r < model.pointCount; ++r) {
    if (a.points[r] == kNoIndex || a.points[r] >= a.nodeLists->marks.count) continue;
    const FeaturePoint& f = a.nodeLists->marks.items[a.points[r]];
    const ModelPoint& point = model.points[r];
    s.Add(point.weightX, t.X(f.x, f.y) + t.ox, point.meanX);
    s.Add(point.weightY, t.Y(f.x, f.y) + t.oy, point.meanY);
    s.terms += 2;
  }
  if (s.terms == 0) return 0;
  // Weights are signed 16-bit: a negative one could make the sum negative.
  const uint64_t twice = s.sum > 0 ? 2 * static_cast<uint64_t>(s.sum) : 0;
  const int64_t chi = static_cast<int64_t>(Sqrt64(twice));
  const int64_t expected =
      static_cast<int64_t>(Sqrt64(65536 * static_cast<uint64_t>(2 * s.terms - 1)));
  return static_cast<int16_t>(
      std::clamp<int64_t>(chi - expected, -kMaxShapeDistance, kMaxShapeDistance));
}

}  // namespace

void ScoreStrokeAssignment(const ShapeAssignment& a) {
  const StrokeModel& model = *a.candidate->model;
  Box modelBox, charBox;
  bool scale = true;
  for (int e = 0; e < model.strokeCount; ++e) {
    const StrokeSegment* seg = a.strokes[e];
    if (seg == nullptr) continue;
    const int16_t* mean = model.strokes[e].mean;
    if (seg->kind == 1 && a.graph->segmentTotal == 1 &&
        (mean[2] * mean[2] + mean[3] * mean[3] < kFlatBendSquare ||
         seg->firstX * seg->firstX + seg->firstY * seg->firstY < kFlatBendSquare)) {
      scale = false;  // a lone straight stroke without a bend: nothing to scale by
      break;
    }
    if (seg->kind == 1) {
      modelBox.Widen(mean[0], mean[1], mean[4], mean[5]);
      charBox.Widen(seg->centreX, seg->centreY, seg->secondX, seg->secondY);
    } else {
      modelBox.Widen(mean[0], mean[1], Half(mean[6]), Half(mean[7]));
      charBox.Widen(seg->centreX, seg->centreY, Half(seg->sizeX), Half(seg->sizeY));
    }
  }
  const int64_t mx = modelBox.width(), my = modelBox.height();
  const int64_t cx = charBox.width(), cy = charBox.height();
  if (std::min({mx, my, cx, cy}) < kMinScaledExtent) scale = false;
  int64_t sx = 256, sy = 256;
  if (scale) {
    if (cx * 2 < mx || mx * 2 < cx || cy * 2 < my || my * 2 < cy) {
      if (a.step != 4) return;  // the extents differ too much to compare
    } else {
      sx = (mx * 256 + cx / 2) / cx;
      sy = (my * 256 + cy / 2) / cy;
    }
  }
  ShapeTransform t = {sx, 0, 0, sy, 128 - sx / 2, 128 - sy / 2};
  ShapeCandidate& c = *a.candidate;
  int16_t best = ComputeShapeDistance(a, t);
  if (c.valid != 0 && c.distance <= best) return;
  for (const int64_t shear : {-(sy * kShearPerUnit / 256), sy * kShearPerUnit / 256}) {
    t.b = shear;
    t.ox = 128 - sx / 2 - Half(shear);
    best = std::min(best, ComputeShapeDistance(a, t));
  }
  for (int r = 0; r < model.pointCount && r < kMaxCandidatePoints; ++r) {
    c.matchedPoint[r] = a.points != nullptr ? a.points[r] : kNoIndex;
  }
  for (int e = 0; e < model.strokeCount; ++e) c.matchedStroke[e] = a.strokes[e];
  c.distance = best;
  SetCandidateClassCode(&c, model.name);
}
