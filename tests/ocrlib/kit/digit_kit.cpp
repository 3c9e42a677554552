// Digits of the pen kit. Shapes are laid out in a unit box (x 0..0.6, y 0..1,
// y down) as centrelines, then cut into short pieces, wobbled, slanted,
// turned and scaled to pixels. Random numbers come straight from mt19937's
// words, whose sequence the language fixes.
#include "tests/ocrlib/kit/digit_kit.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "ocrlib/strokes/strokes_internal.h"

namespace penkit {

namespace {

constexpr double kPi = 3.14159265358979323846;
using Path = std::vector<Vec>;
using Shape = std::vector<Path>;

double Uniform(std::mt19937& rng, double low, double high) {
  return low + (high - low) * (rng() / 4294967296.0);
}

// Points of an ellipse arc from `fromDeg` to `toDeg` (degrees from +x towards
// +y, so increasing angles turn clockwise on the page).
Path Arc(Vec centre, double rx, double ry, double fromDeg, double toDeg) {
  Path p;
  const int n = std::max(6, static_cast<int>(std::fabs(toDeg - fromDeg) / 6));
  for (int i = 0; i <= n; ++i) {
    const double a = (fromDeg + (toDeg - fromDeg) * i / n) * kPi / 180;
    p.push_back({centre.x + rx * std::cos(a), centre.y + ry * std::sin(a)});
  }
  return p;
}

Path Join(Path a, const Path& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Shape Zero(int style) {
  switch (style) {
    case 0: return {Arc({0.3, 0.5}, 0.27, 0.47, -90, 270)};
    case 1: return {Arc({0.3, 0.5}, 0.27, 0.47, -60, 320)};
    default: return {Arc({0.3, 0.5}, 0.2, 0.47, -100, 265)};
  }
}

Shape One(int style) {
  switch (style) {
    case 0: return {{{0.3, 0.0}, {0.3, 1.0}}};
    case 1: return {{{0.1, 0.22}, {0.32, 0.0}, {0.32, 1.0}}};
    default: return {{{0.12, 0.2}, {0.3, 0.0}, {0.3, 1.0}}, {{0.08, 1.0}, {0.52, 1.0}}};
  }
}

Shape Two(int style) {
  if (style == 0) return {Join(Arc({0.3, 0.27}, 0.26, 0.25, 195, 380), {{0.02, 0.98}, {0.6, 0.98}})};
  return {Join(Join(Arc({0.3, 0.25}, 0.27, 0.24, 170, 360),
                    Arc({-0.1, 0.25}, 0.67, 0.73, 0, 90)),
               {{0.62, 0.98}})};
}

Shape Three(int style) {
  if (style == 0) {
    return {Join(Arc({0.3, 0.26}, 0.25, 0.24, 200, 450), Arc({0.3, 0.72}, 0.28, 0.27, 270, 520))};
  }
  return {Join({{0.02, 0.0}, {0.55, 0.0}, {0.24, 0.4}}, Arc({0.3, 0.7}, 0.28, 0.29, 245, 515))};
}

Shape Four(int style) {
  if (style == 0) return {{{0.45, 1.0}, {0.45, 0.0}, {0.0, 0.68}, {0.6, 0.68}}};
  return {{{0.08, 0.0}, {0.03, 0.66}, {0.6, 0.66}}, {{0.44, 0.25}, {0.44, 1.0}}};
}

Shape Five(int style) {
  const Path body = Join({{0.1, 0.0}, {0.07, 0.47}}, Arc({0.3, 0.69}, 0.28, 0.3, 215, 515));
  if (style == 0) return {Join({{0.58, 0.0}}, body)};
  return {body, {{0.1, 0.0}, {0.58, 0.0}}};
}

Shape Six(int style) {
  const Path loop = Arc({0.3, 0.73}, 0.26, 0.26, 180, -180);
  if (style == 0) return {Join(Arc({0.62, 0.68}, 0.58, 0.62, 255, 182), loop)};
  return {Join({{0.5, 0.0}, {0.07, 0.65}}, Arc({0.31, 0.73}, 0.26, 0.26, 190, -170))};
}

Shape Seven(int style) {
  switch (style) {
    case 0: return {{{0.0, 0.02}, {0.6, 0.02}, {0.2, 1.0}}};
    case 1: return {{{0.0, 0.02}, {0.6, 0.02}, {0.22, 1.0}}, {{0.18, 0.55}, {0.55, 0.55}}};
    default: return {{{0.0, 0.14}, {0.0, 0.02}, {0.6, 0.02}, {0.25, 1.0}}};
  }
}

Shape Eight(int style) {
  if (style == 0) return {Arc({0.3, 0.25}, 0.22, 0.22, 0, 360), Arc({0.3, 0.72}, 0.27, 0.27, 0, 360)};
  Path p;
  for (int i = 0; i <= 120; ++i) {
    const double t = 2 * kPi * i / 120;
    p.push_back({0.3 + 0.26 * std::sin(2 * t), 0.5 - 0.48 * std::cos(t)});
  }
  return {p};
}

Shape Nine(int style) {
  const Path loop = Arc({0.3, 0.28}, 0.26, 0.26, 0, 360);
  switch (style) {
    case 0: return {loop, {{0.56, 0.28}, {0.5, 1.0}}};
    case 1: return {loop, Arc({0.0, 0.28}, 0.56, 0.72, 0, 80)};
    default: return {Join(Arc({0.3, 0.28}, 0.26, 0.26, 0, -360), {{0.52, 1.0}})};
  }
}

Shape DigitShape(int digit, int style) {
  switch (digit) {
    case 0: return Zero(style);
    case 1: return One(style);
    case 2: return Two(style);
    case 3: return Three(style);
    case 4: return Four(style);
    case 5: return Five(style);
    case 6: return Six(style);
    case 7: return Seven(style);
    case 8: return Eight(style);
    default: return Nine(style);
  }
}

// Cuts every piece longer than `step` so that the wobble bends straight lines.
Path Densify(const Path& path, double step) {
  Path out;
  for (size_t i = 0; i + 1 < path.size(); ++i) {
    const Vec a = path[i], b = path[i + 1];
    const int n = std::max(1, static_cast<int>(std::ceil(std::hypot(b.x - a.x, b.y - a.y) / step)));
    for (int k = 0; k < n; ++k) out.push_back({a.x + (b.x - a.x) * k / n, a.y + (b.y - a.y) * k / n});
  }
  if (!path.empty()) out.push_back(path.back());
  return out;
}

}  // namespace

int DigitStyleCount(int digit) {
  static const int kStyles[10] = {3, 3, 2, 2, 2, 2, 2, 3, 2, 3};
  return kStyles[digit];
}

DigitSample DrawDigit(int digit, int style, uint32_t seed) {
  std::mt19937 rng(seed);
  const double height = Uniform(rng, 36, 64);
  const double widthScale = height * Uniform(rng, 0.85, 1.2);
  const double slant = Uniform(rng, -0.12, 0.28);
  const double turn = Uniform(rng, -5, 5) * kPi / 180;
  const double pen = Uniform(rng, 2.5, 5.5);
  const double wobble = Uniform(rng, 0, 0.025);
  const double fx = Uniform(rng, 3, 9), fy = Uniform(rng, 3, 9);
  const double px = Uniform(rng, 0, 2 * kPi), py = Uniform(rng, 0, 2 * kPi);

  std::vector<Path> lines;
  double minX = 1e9, minY = 1e9;
  for (const Path& unit : DigitShape(digit, style)) {
    Path line;
    for (const Vec& v : Densify(unit, 0.04)) {
      const double x = v.x + wobble * std::sin(fx * v.y + px) + slant * (1 - v.y);
      const double y = v.y + wobble * std::sin(fy * v.x + py);
      const Vec p{x * widthScale, y * height};
      const Vec r{p.x * std::cos(turn) - p.y * std::sin(turn), p.x * std::sin(turn) + p.y * std::cos(turn)};
      minX = std::min(minX, r.x);
      minY = std::min(minY, r.y);
      line.push_back(r);
    }
    lines.push_back(line);
  }
  const double shift = pen / 2 + 3;
  Figure figure;
  for (Path& line : lines) {
    for (Vec& v : line) v = {v.x - minX + shift, v.y - minY + shift};
    figure.Polyline(line);
  }
  return {digit, style, seed, Draw(figure, pen, 3)};
}

std::vector<DigitSample> DigitSamples(uint32_t seed, int perDigit) {
  std::vector<DigitSample> samples;
  for (int i = 0; i < perDigit; ++i)
    for (int digit = 0; digit < 10; ++digit)
      samples.push_back(DrawDigit(digit, i % DigitStyleCount(digit), seed + i * 10 + digit));
  return samples;
}

DecisionTally TallyStructureDecisions(const std::vector<DigitSample>& samples) {
  DecisionTally tally;
  tally.sets.resize(MeasureBranch(kStructureRows, 0));
  for (const DigitSample& s : samples) {
    BitImage image = s.image;
    const MupaRect r = image.InkRect();
    ++tally.samples[s.digit];
    if (DecideDigitByStructure(image.bits().data(), r.left, r.right, r.top, r.bottom,
                               image.bytesPerLine()) != 0) {
      ++tally.failures;
      continue;
    }
    if (g_structureDecision == kUndecided) continue;
    const bool right = g_structureDecision == '0' + s.digit;
    SetTally& set = tally.sets[g_structureDecidingSet >= 0
                                   ? g_structureDecidingSet
                                   : MeasureBranch(g_structureDecidingRow, g_structureDecision - '0')];
    ++set.decided;
    ++tally.decided[s.digit];
    if (right) ++set.right, ++tally.right[s.digit];
  }
  return tally;
}

}  // namespace penkit
