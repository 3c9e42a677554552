// Drawing kit and stroke pipeline of the stroke tests.
#include "tests/ocrlib/kit/pen_kit.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <utility>

#include "ocrlib/strokes/strokes_internal.h"

namespace penkit {

namespace {

constexpr double kPi = 3.14159265358979323846;

double SegmentDistance(Vec p, Vec a, Vec b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

}  // namespace

Figure& Figure::Line(Vec a, Vec b) { return Polyline({a, b}); }

Figure& Figure::Polyline(std::initializer_list<Vec> points) {
  strokes_.emplace_back(points);
  return *this;
}

Figure& Figure::Add(const Figure& other) {
  strokes_.insert(strokes_.end(), other.strokes_.begin(), other.strokes_.end());
  return *this;
}

Figure& Figure::Polyline(const std::vector<Vec>& points) {
  strokes_.push_back(points);
  return *this;
}

Figure& Figure::Arc(Vec centre, double radius, double fromDeg, double toDeg) {
  std::vector<Vec> points;
  const int n = std::max(8, static_cast<int>(std::fabs(toDeg - fromDeg) / 5));
  for (int i = 0; i <= n; ++i) {
    const double a = (fromDeg + (toDeg - fromDeg) * i / n) * kPi / 180;
    points.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
  }
  strokes_.push_back(points);
  return *this;
}

Figure Figure::Scaled(double factor, Vec offset) const {
  Figure out;
  for (const auto& stroke : strokes_) {
    std::vector<Vec> points;
    for (const Vec& v : stroke) points.push_back({v.x * factor + offset.x, v.y * factor + offset.y});
    out.strokes_.push_back(points);
  }
  return out;
}

Figure Figure::Rotated(double degrees, Vec centre) const {
  const double c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
  Figure out;
  for (const auto& stroke : strokes_) {
    std::vector<Vec> points;
    for (const Vec& v : stroke) {
      const double dx = v.x - centre.x, dy = v.y - centre.y;
      points.push_back({centre.x + dx * c - dy * s, centre.y + dx * s + dy * c});
    }
    out.strokes_.push_back(points);
  }
  return out;
}

double Figure::DistanceTo(Vec p) const {
  double best = 1e30;
  for (const auto& stroke : strokes_)
    for (size_t i = 0; i + 1 < stroke.size(); ++i)
      best = std::min(best, SegmentDistance(p, stroke[i], stroke[i + 1]));
  return best;
}

std::vector<Vec> Figure::Samples(double step) const {
  std::vector<Vec> out;
  for (const auto& stroke : strokes_)
    for (size_t i = 0; i + 1 < stroke.size(); ++i) {
      const Vec a = stroke[i], b = stroke[i + 1];
      const int n = std::max(1, static_cast<int>(std::hypot(b.x - a.x, b.y - a.y) / step));
      for (int k = 0; k < n; ++k)
        out.push_back({a.x + (b.x - a.x) * k / n, a.y + (b.y - a.y) * k / n});
      if (i + 2 == stroke.size()) out.push_back(b);
    }
  return out;
}

BitImage::BitImage(int width, int height)
    : width_(width), height_(height), bytesPerLine_((width + 7) / 8),
      bits_(static_cast<size_t>(bytesPerLine_) * height, 0) {}

void BitImage::Set(int x, int y, bool black) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint8_t& byte = bits_[static_cast<size_t>(y) * bytesPerLine_ + x / 8];
  const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
  byte = static_cast<uint8_t>(black ? byte | bit : byte & ~bit);
}

bool BitImage::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  return (bits_[static_cast<size_t>(y) * bytesPerLine_ + x / 8] >> (7 - x % 8)) & 1;
}

int BitImage::BlackCount() const {
  int n = 0;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) n += Get(x, y);
  return n;
}

MupaImage BitImage::Descriptor() {
  MupaImage d{};
  d.width = static_cast<int16_t>(width_);
  d.height = static_cast<int16_t>(height_);
  d.bitsPerPixel = 1;
  d.bytesPerLine = static_cast<int16_t>(bytesPerLine_);
  d.dpi = 200;
  d.polarity = 1;
  d.bits = bits_.data();
  return d;
}

MupaRect BitImage::Rect() const {
  return {0, 0, static_cast<int16_t>(width_ - 1), static_cast<int16_t>(height_ - 1)};
}

MupaRect BitImage::InkRect() const {
  int left = width_, right = -1, top = height_, bottom = -1;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (Get(x, y)) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  if (right < 0) return Rect();
  return {static_cast<int16_t>(left), static_cast<int16_t>(top), static_cast<int16_t>(right),
          static_cast<int16_t>(bottom)};
}

// A pixel is black when its centre lies within the pen's radius of some
// piece of a centreline: each piece marks the pixels of its own box.
void Stamp(BitImage& image, const Figure& figure, double penWidth) {
  const double radius = penWidth / 2;
  for (const auto& stroke : figure.strokes())
    for (size_t i = 0; i + 1 < stroke.size(); ++i) {
      const Vec a = stroke[i], b = stroke[i + 1];
      const int x0 = std::max(0, static_cast<int>(std::floor(std::min(a.x, b.x) - radius)));
      const int x1 = std::min(image.width() - 1, static_cast<int>(std::ceil(std::max(a.x, b.x) + radius)));
      const int y0 = std::max(0, static_cast<int>(std::floor(std::min(a.y, b.y) - radius)));
      const int y1 = std::min(image.height() - 1, static_cast<int>(std::ceil(std::max(a.y, b.y) + radius)));
      for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
          if (SegmentDistance({static_cast<double>(x), static_cast<double>(y)}, a, b) <=
              radius + 1e-9)
            image.Set(x, y);
    }
}

BitImage Draw(const Figure& figure, double penWidth, int margin) {
  double maxX = 0, maxY = 0;
  for (const auto& stroke : figure.strokes())
    for (const Vec& v : stroke) {
      maxX = std::max(maxX, v.x);
      maxY = std::max(maxY, v.y);
    }
  const int extra = static_cast<int>(std::ceil(penWidth / 2)) + margin + 1;
  BitImage image(static_cast<int>(maxX) + extra, static_cast<int>(maxY) + extra);
  Stamp(image, figure, penWidth);
  return image;
}

BitImage FromRows(std::initializer_list<const char*> rows) {
  const int height = static_cast<int>(rows.size());
  const int width = height ? static_cast<int>(std::strlen(*rows.begin())) : 0;
  BitImage image(width, height);
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; row[x]; ++x)
      if (row[x] == '#') image.Set(x, y);
    ++y;
  }
  return image;
}

CharMeasures MeasureChar(BitImage& image, MupaRect rect) {
  CharMeasures m;
  m.bands.fill(0xEEEE);
  m.profiles.fill(0xEEEEEEEE);
  m.features.fill(0xEEEE);
  MupaImage d = image.Descriptor();
  m.result = TraceNormalizedChar(&d, &rect, &m.density, m.bands.data(), m.profiles.data(),
                                 m.features.data());
  return m;
}

StrokeRun RunSteps(BitImage& image, std::initializer_list<uint8_t> steps, bool analyse,
                   std::unique_ptr<StrokeRecordStore> store) {
  StrokeRun run;
  if (store) {
    run.store = std::move(store);
  } else {
    run.store = std::make_unique<StrokeRecordStore>();
    BindStrokeRecordStore(*run.store);
  }
  const MupaRect r = image.InkRect();
  int width = (r.right / 8 - r.left / 8 + 1) * 8 + 2 * kNeighbourMapBorder;
  int height = r.bottom - r.top + 1 + 2 * kNeighbourMapBorder;
  run.mapBytes.assign(static_cast<size_t>(width) * height, 0);
  run.mapResult = BuildNeighbourMap(image.bits().data(), r.left, r.right, r.top, r.bottom,
                                    image.bytesPerLine(), run.mapBytes.data(), &width, &height);
  run.map = {run.mapBytes.data(), static_cast<int16_t>(width), static_cast<int16_t>(height),
             kNeighbourMapBorder};
  run.mapOriginX = (r.left / 8) * 8 - kNeighbourMapBorder;
  run.mapOriginY = r.top - kNeighbourMapBorder;
  if (run.mapResult < 0) return run;
  ClearBitmapMargin(&run.map);
  ResetStrokeWorkLists(&run.contours());
  for (uint8_t step : steps) {
    run.steps.steps[run.steps.count++] = step;
    run.steps.family = IsThinnedStep(step) ? kStepFamilyThinned : kStepFamilyPolygon;
    ResetStrokeNodeCounts(&run.points());
    run.extraction = RunStrokeExtraction(&run.steps, &run.map, &run.contours(), &run.points());
    if (run.extraction != 0 || !analyse) continue;
    run.analysis = AnalyseStrokeStructure(&run.steps, &run.points(), &run.store->frame,
                                          &run.graph(), &run.nodes());
    if (run.analysis != 0) continue;
    run.frame = NormalizeStrokeFrame(&run.steps, &run.points(), &run.store->frame, &run.graph(),
                                     &run.nodes());
  }
  return run;
}

std::vector<BitImage> RandomCharacters(uint32_t seed, int count) {
  constexpr int side = kRandomCharacterSide;
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> uniform(8, side - 8);
  // Numbers are drawn one statement at a time: the order of a call's
  // arguments is the compiler's choice.
  auto at = [&] { return uniform(rng); };
  std::vector<BitImage> images;
  for (int i = 0; i < count; ++i) {
    const double pen = 3 + rng() % 5;
    Figure f;
    switch (rng() % 5) {
      case 0: {
        const double bottomX = at(), topX = at();
        f.Line({topX, 6}, {bottomX, side - 6});
        break;
      }
      case 1: {
        const double x0 = at(), x1 = at(), x2 = at(), x3 = at();
        f.Polyline({{x0, 8}, {x1, 30}, {x2, side - 8}, {x3, side - 8}});
        break;
      }
      case 2: {
        const double sweep = 200 + rng() % 160, radius = 12 + rng() % 12;
        f.Arc({32, 32}, radius, 0, sweep);
        break;
      }
      case 3: {
        const double rightY = at(), leftY = at(), bottomX = at(), topX = at();
        f.Line({8, leftY}, {side - 8, rightY}).Line({topX, 8}, {bottomX, side - 8});
        break;
      }
      default: f.Circle({32, 22}, 12).Line({44, 22}, {at(), side - 6}); break;
    }
    BitImage image(side, side);
    Stamp(image, f, pen);
    images.push_back(image);
  }
  return images;
}

HandGraph::HandGraph(uint8_t step) : store(std::make_unique<StrokeRecordStore>()) {
  BindStrokeRecordStore(*store);
  steps.count = 1;
  steps.steps[0] = step;
  steps.family = IsThinnedStep(step) ? kStepFamilyThinned : kStepFamilyPolygon;
}

int HandGraph::Point(int x, int y) { return AllocStrokePoint(&store->points, x, y); }

void HandGraph::Link(int a, int b) { LinkStrokePoints(&store->points, a, b); }

std::vector<int> HandGraph::Chain(std::initializer_list<std::pair<int, int>> xy) {
  std::vector<int> made;
  for (const auto& [x, y] : xy) {
    made.push_back(Point(x, y));
    if (made.size() > 1) Link(made[made.size() - 2], made.back());
  }
  return made;
}

int HandGraph::Finish() { return FinishStrokePoints(&steps, &store->points); }

int HandGraph::Analyse() {
  const int rc = AnalyseStrokeStructure(&steps, &store->points, &store->frame, &store->graph,
                                        &store->nodeLists);
  if (rc != 0) return rc;
  return NormalizeStrokeFrame(&steps, &store->points, &store->frame, &store->graph,
                              &store->nodeLists);
}

DegreeCounts CountDegrees(const StrokePointTable& points) {
  DegreeCounts c;
  for (int i = 0; i < points.points.count; ++i) {
    const StrokePoint& p = points.points.items[i];
    if (p.kind != kPointLive) continue;
    ++c.live;
    if (p.degree == 1) ++c.ends;
    if (p.degree >= 3) ++c.junctions;
  }
  return c;
}

Vec ImagePosition(const StrokeRun& run, const StrokePoint& p) {
  return {static_cast<double>(p.x + run.mapOriginX), static_cast<double>(-p.y + run.mapOriginY)};
}

double MaxDistanceFromCentreline(const StrokeRun& run, const Figure& figure) {
  double worst = 0;
  const StrokePointTable& t = run.store->points;
  for (int i = 0; i < t.points.count; ++i) {
    const StrokePoint& p = t.points.items[i];
    if (p.kind == kPointLive) worst = std::max(worst, figure.DistanceTo(ImagePosition(run, p)));
  }
  return worst;
}

double MaxGapToSkeleton(const StrokeRun& run, const Figure& figure) {
  const StrokePointTable& t = run.store->points;
  double worst = 0;
  for (const Vec& s : figure.Samples(1.0)) {
    double best = 1e30;
    for (int i = 0; i < t.points.count; ++i) {
      const StrokePoint& p = t.points.items[i];
      if (p.kind != kPointLive) continue;
      const Vec a = ImagePosition(run, p);
      best = std::min(best, std::hypot(s.x - a.x, s.y - a.y));
      for (int k = 0; k < p.degree; ++k)
        best = std::min(best, SegmentDistance(s, a, ImagePosition(run, t.points.items[p.neighbours[k]])));
    }
    worst = std::max(worst, best);
  }
  return worst;
}

}  // namespace penkit
