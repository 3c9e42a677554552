// Geometry of pie and radar graphs: the boundaries of slices, where the
// labels of narrow slices go so that neighbours do not collide, and the
// radii of a radar's rings and series. Integer report units; natively
// tested.
#include <cmath>

#include "tally/tally.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Most choices of a pie.
constexpr int kMaxPieChoices = 128;
// Shares that get a painted slice, and a label.
constexpr double kPaintedShare = 0.2;
constexpr double kLabelledShare = 0.1;
// Shares above this keep their labels inside.
constexpr double kWideShare = 10;

double ValidMaximum(double maximum) { return maximum > 0 && maximum <= 1 ? maximum : 1.0; }

}  // namespace

GraphPoint GraphPointAt(int x, int y, double angle, double radius) {
  GraphPoint p;
  p.x = x + static_cast<int>(std::cos(angle) * radius);
  p.y = y + static_cast<int>(std::sin(angle) * radius);
  return p;
}

PieLayout LayoutPieGraph(int x, int y, int r, int n, const double* shares) {
  PieLayout layout;
  if (n > kMaxPieChoices) n = kMaxPieChoices;
  if (n < 1 || !(shares[0] > 0)) return layout;
  const double perUnit = 2 * kPi / shares[0];
  layout.boundary.assign(n + 2, GraphPoint());
  layout.painted.assign(n + 1, false);
  layout.labelled.assign(n + 1, false);
  layout.labelRadius.assign(n + 1, 0.0);
  layout.anchor.assign(n + 1, GraphPoint());
  double running = 0;
  bool previousMoved = false;
  for (int i = 1; i <= n; ++i) {
    const double share = shares[i] > 0 ? shares[i] : 0;
    layout.boundary[i] = GraphPointAt(x, y, running - kPi / 2, r);
    layout.painted[i] = share >= kPaintedShare;
    layout.labelled[i] = share >= kLabelledShare;
    double radius = 3.0 * r / 4;
    bool moved = false;
    if (i < n || shares[1] > kWideShare) {
      const bool wide = i == 1 || share > kWideShare || shares[i - 1] > kWideShare;
      if (!wide && !previousMoved) {
        radius = r;
        moved = true;
      }
    } else {
      radius = r / 2.0;
    }
    previousMoved = moved;
    layout.labelRadius[i] = radius;
    layout.anchor[i] = GraphPointAt(x, y, running + share * perUnit / 2 - kPi / 2, radius);
    running += share * perUnit;
  }
  layout.boundary[n + 1] = layout.boundary[1];
  return layout;
}

std::vector<int> RadarRingRadii(double maximum, int r) {
  maximum = ValidMaximum(maximum);
  std::vector<int> radii;
  for (int j = 1; j <= 10 && maximum * 100 >= 10 * j - 1e-9; ++j) {
    radii.push_back(static_cast<int>(std::floor(10.0 * j / maximum * r / 100 + 0.5)));
  }
  return radii;
}

bool RadarRingLabelled(double maximum, int j) { return ValidMaximum(maximum) <= 0.5 || j % 2 == 0; }

int RadarSeriesRadius(double share, double maximum, int r) {
  return static_cast<int>(std::floor(share / ValidMaximum(maximum) * r / 100 + 0.5));
}
