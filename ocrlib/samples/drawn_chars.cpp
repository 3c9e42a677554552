// Pen drawings of digits, capitals and katakana: the writings of hand_writings.cpp,
// wobbled, slanted and stamped as a hand draws them, then scanned.
#include "ocrlib/samples/drawn_chars.h"

#include <algorithm>
#include <cmath>

#include "ocrlib/samples/hand_writings.h"

namespace glyphs {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kUnitsHigh = kWritingUnitsHigh;
constexpr double kPixelsPerUnit = 0.5;

using Point = WritingPoint;
using Stroke = WritingStroke;

double Uniform(std::mt19937& rng, double lo, double hi) {
  return std::uniform_real_distribution<double>(lo, hi)(rng);
}

// The writing as a hand draws it: every point moved by a slow wobble of its
// own, the whole slanted, stamped with a round pen into a grey image.
GreyImage DrawWriting(const Writing& writing, std::mt19937& rng) {
  const double slant = Uniform(rng, -0.3, 0.3);
  const double amplitude = Uniform(rng, 0.5, 3.5);
  const double pen = Uniform(rng, 2.5, 8) * kPixelsPerUnit;  // diameter in pixels
  const double widthScale = Uniform(rng, 0.8, 1.2);
  std::vector<Point> dots;
  for (const Stroke& stroke : writing) {
    const double phase1 = Uniform(rng, 0, 2 * kPi), phase2 = Uniform(rng, 0, 2 * kPi);
    const double wave = Uniform(rng, 0.03, 0.08);
    double travelled = 0;
    for (size_t i = 0; i + 1 < stroke.size(); ++i) {
      const Point a = stroke[i], b = stroke[i + 1];
      const double length = std::hypot(b.x - a.x, b.y - a.y);
      const int n = std::max(1, static_cast<int>(length / 0.8));
      for (int k = 0; k < n; ++k) {
        const double t = static_cast<double>(k) / n;
        const double s = travelled + t * length;
        const double x = (a.x + (b.x - a.x) * t) * widthScale +
                         amplitude * std::sin(wave * s + phase1);
        const double y = a.y + (b.y - a.y) * t + amplitude * std::sin(wave * s + phase2);
        dots.push_back({(x + slant * (kUnitsHigh / 2 - y)) * kPixelsPerUnit,
                        y * kPixelsPerUnit});
      }
      travelled += length;
    }
    if (!stroke.empty()) {
      dots.push_back({(stroke.back().x * widthScale + slant * (kUnitsHigh / 2 - stroke.back().y)) *
                          kPixelsPerUnit,
                      stroke.back().y * kPixelsPerUnit});
    }
  }
  double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
  for (const Point& p : dots) {
    left = std::min(left, p.x), right = std::max(right, p.x);
    top = std::min(top, p.y), bottom = std::max(bottom, p.y);
  }
  const double radius = pen / 2;
  const int margin = static_cast<int>(std::ceil(radius)) + 2;
  GreyImage grey;
  grey.width = static_cast<int>(right - left) + 2 * margin + 1;
  grey.height = static_cast<int>(bottom - top) + 2 * margin + 1;
  grey.v.assign(static_cast<size_t>(grey.width) * grey.height, 0);
  for (const Point& p : dots) {
    const double cx = p.x - left + margin, cy = p.y - top + margin;
    for (int y = static_cast<int>(cy - radius - 1); y <= static_cast<int>(cy + radius + 1); ++y) {
      for (int x = static_cast<int>(cx - radius - 1); x <= static_cast<int>(cx + radius + 1);
           ++x) {
        if (x < 0 || y < 0 || x >= grey.width || y >= grey.height) continue;
        const double cover = std::clamp(radius + 0.5 - std::hypot(x - cx, y - cy), 0.0, 1.0);
        uint8_t& v = grey.v[static_cast<size_t>(y) * grey.width + x];
        v = std::max(v, static_cast<uint8_t>(std::lround(cover * 255)));
      }
    }
  }
  return grey;
}

// A katakana hand sets every stroke at an angle and a length of its own:
// each stroke turned by up to 6 degrees about where it starts and made up
// to a tenth longer or shorter.
Writing StrokesVaried(const Writing& writing, std::mt19937& rng) {
  Writing out = writing;
  for (Stroke& stroke : out) {
    const double turn = Uniform(rng, -6, 6) * kPi / 180, length = Uniform(rng, 0.9, 1.1);
    const double c = std::cos(turn) * length, s = std::sin(turn) * length;
    const Point start = stroke.front();
    for (Point& p : stroke) {
      const double dx = p.x - start.x, dy = p.y - start.y;
      p = {start.x + c * dx - s * dy, start.y + s * dx + c * dy};
    }
  }
  return out;
}

std::vector<Writing> WritingsOf(CharSet set, int index, WritingStyles styles) {
  if (set == CharSet::kKatakana) return KatakanaWritings(index);
  std::vector<Writing> writings =
      set == CharSet::kDigits ? DigitWritings(index) : CapitalWritings(index);
  if (styles == WritingStyles::kWithRarer) {
    const std::vector<Writing> rarer =
        set == CharSet::kDigits ? DigitStyleWritings(index) : CapitalStyleWritings(index);
    writings.insert(writings.end(), rarer.begin(), rarer.end());
  }
  return writings;
}

}  // namespace

std::vector<Sample> DrawSamples(CharSet set, int perClass, uint32_t seed,
                                const Distortion& distortion, WritingStyles styles) {
  std::vector<Sample> out;
  std::mt19937 rng(seed);
  const std::vector<CharClass> classes = CharacterSet(set);
  for (int i = 0; i < perClass; ++i) {
    for (size_t c = 0; c < classes.size(); ++c) {
      const int index = static_cast<int>(c);
      const std::vector<Writing> writings = WritingsOf(set, index, styles);
      const Writing& w = writings[(i + c) % writings.size()];
      const GreyImage grey =
          DrawWriting(set == CharSet::kKatakana ? StrokesVaried(w, rng) : w, rng);
      // The em of a scanned cell is about 1.35 character heights.
      const double inkRows = ScannedCellEm(rng) / 1.35;
      GlyphImage image = ScanGrey(grey, inkRows / (kUnitsHigh * kPixelsPerUnit), distortion, rng);
      if (image.width == 0) continue;
      out.push_back(Sample{std::move(image), classes[c].sjis, classes[c].typeBit, -1});
    }
  }
  return out;
}

}  // namespace glyphs
