// The pen writings of digits and capitals, as centrelines. A writing is a
// list of strokes, each a polyline in a box 60 units wide and 100 high (y
// down); arcs are given by centre, radii and angles in degrees (clockwise on
// the page, 0 the +x direction), drawn from the first angle to the second
// either way round.
#include "ocrlib/samples/hand_writings.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace glyphs {

namespace {

constexpr double kPi = 3.14159265358979323846;

using Point = WritingPoint;
using Stroke = WritingStroke;

Stroke Line(std::initializer_list<Point> points) { return Stroke(points); }

Stroke Arc(double cx, double cy, double rx, double ry, double from, double to) {
  Stroke s;
  const int steps = std::max(4, static_cast<int>(std::abs(to - from) / 10));
  for (int i = 0; i <= steps; ++i) {
    const double a = (from + (to - from) * i / steps) * kPi / 180;
    s.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
  return s;
}

// The parts one after another: one stroke of lines and arcs.
Stroke Join(std::initializer_list<Stroke> parts) {
  Stroke out;
  for (const Stroke& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Writing Turned(const Writing& w) {  // half a turn: "6" to "9"
  Writing out = w;
  for (Stroke& s : out) {
    for (Point& p : s) p = {kWritingUnitsWide - p.x, kWritingUnitsHigh - p.y};
  }
  return out;
}

}  // namespace

std::vector<Writing> DigitWritings(int d) {
  const Writing six = {Join({Arc(58, 70, 56, 70, 262, 180), Arc(30, 72, 28, 27, 180, 540)})};
  const Writing sixOpen = {Join({Arc(58, 70, 56, 70, 262, 180), Arc(30, 72, 28, 27, 180, 470)})};
  switch (d) {
    case 0: return {{Arc(30, 50, 28, 49, 0, 360)}, {Arc(30, 50, 26, 49, 280, 600)},
                    {Arc(30, 50, 22, 49, -90, 265)}};
    case 1: return {{Line({{30, 0}, {30, 100}})},
                    {Line({{16, 16}, {32, 0}, {30, 100}})},
                    {Line({{16, 16}, {32, 0}, {30, 100}}), Line({{14, 100}, {46, 100}})}};
    case 2: return {{Join({Arc(30, 28, 27, 27, 195, 380), Line({{2, 100}, {58, 100}})})},
                    {Join({Arc(30, 30, 26, 29, 200, 400), Line({{4, 98}}),
                           Arc(14, 92, 10, 8, 270, 90), Line({{58, 98}})})}};
    case 3: return {{Join({Arc(30, 26, 25, 25, 200, 450), Arc(30, 74, 27, 26, 270, 520)})},
                    {Join({Line({{4, 0}, {56, 0}, {26, 42}}), Arc(30, 70, 28, 29, 250, 520)})}};
    case 4: return {{Line({{42, 0}, {2, 68}, {60, 68}}), Line({{42, 0}, {42, 100}})},
                    {Line({{8, 0}, {4, 62}, {60, 62}}), Line({{44, 22}, {44, 100}})},
                    {Line({{36, 0}, {2, 66}, {58, 66}}), Line({{44, 30}, {42, 100}})}};
    case 5: return {{Line({{55, 0}, {10, 0}}), Join({Line({{10, 0}, {6, 44}}),
                                                     Arc(30, 68, 28, 31, 220, 500)})},
                    {Join({Line({{56, 0}, {10, 0}, {7, 46}}), Arc(28, 68, 29, 31, 225, 490)})}};
    case 6: return {six, sixOpen};
    case 7: return {{Line({{2, 0}, {58, 0}, {22, 100}})},
                    {Line({{2, 0}, {58, 0}, {22, 100}}), Line({{16, 52}, {52, 52}})},
                    {Line({{2, 14}, {2, 0}, {58, 0}, {30, 100}})}};
    case 8: return {{Arc(30, 25, 22, 24, 0, 360), Arc(30, 73, 28, 27, 0, 360)},
                    {Join({Arc(30, 25, 21, 24, 90, 450), Arc(30, 73, 28, 27, 270, 630)})}};
    default: return {Turned(six), Turned(sixOpen),
                     {Arc(30, 27, 27, 26, 0, 360), Line({{57, 27}, {50, 100}})}};
  }
}

std::vector<Writing> DigitStyleWritings(int d) {
  const Stroke ring = Arc(30, 50, 26, 49, 0, 360);
  switch (d) {
    case 0: return {{ring, Line({{50, 10}, {10, 90}})},  // slashed
                    {Arc(30, 50, 26, 49, 280, 600), Line({{30, 46}, {30, 54}})}};  // dotted
    case 1: return {{Line({{30, 0}, {30, 100}}), Line({{12, 100}, {48, 100}})},  // foot only
                    {Line({{4, 34}, {34, 0}, {32, 100}})},  // long flag
                    {Line({{10, 12}, {32, 0}, {32, 100}}), Line({{10, 100}, {52, 100}})}};
    default: return {};
  }
}

std::vector<Writing> CapitalWritings(int c) {
  const Stroke bowlP = Join({Line({{5, 0}, {35, 0}}), Arc(35, 26, 24, 26, 270, 450),
                             Line({{5, 52}})});
  const Stroke ring = Arc(30, 50, 29, 49, 0, 360);
  const Stroke cArc = Arc(34, 50, 32, 49, 320, 40);
  switch (c) {
    case 0: return {{Line({{0, 100}, {30, 0}, {60, 100}}), Line({{12, 62}, {48, 62}})}};
    case 1: return {{Line({{5, 0}, {5, 100}}),
                     Join({Line({{5, 0}, {33, 0}}), Arc(33, 24, 22, 24, 270, 450),
                           Line({{5, 48}, {36, 48}}), Arc(36, 74, 24, 26, 270, 450),
                           Line({{5, 100}})})}};
    case 2: return {{cArc}};
    case 3: return {{Line({{5, 0}, {5, 100}}),
                     Join({Line({{5, 0}, {20, 0}}), Arc(20, 50, 38, 50, 270, 450),
                           Line({{5, 100}})})}};
    case 4: return {{Line({{58, 0}, {5, 0}, {5, 100}, {58, 100}}), Line({{5, 50}, {48, 50}})}};
    case 5: return {{Line({{58, 0}, {5, 0}, {5, 100}}), Line({{5, 48}, {46, 48}})}};
    case 6: return {{cArc, Line({{36, 58}, {64, 58}, {64, 94}})}};
    case 7: return {{Line({{5, 0}, {5, 100}}), Line({{55, 0}, {55, 100}}),
                     Line({{5, 50}, {55, 50}})}};
    case 8: return {{Line({{30, 0}, {30, 100}})},
                    {Line({{30, 0}, {30, 100}}), Line({{14, 0}, {46, 0}}),
                     Line({{14, 100}, {46, 100}})}};
    case 9: return {{Join({Line({{45, 0}, {45, 72}}), Arc(25, 72, 20, 27, 0, 170)})},
                    {Line({{24, 0}, {58, 0}}),
                     Join({Line({{45, 0}, {45, 72}}), Arc(25, 72, 20, 27, 0, 170)})}};
    case 10: return {{Line({{5, 0}, {5, 100}}), Line({{55, 0}, {5, 60}}),
                      Line({{22, 40}, {58, 100}})}};
    case 11: return {{Line({{5, 0}, {5, 100}, {55, 100}})}};
    case 12: return {{Line({{2, 100}, {8, 0}, {30, 70}, {52, 0}, {58, 100}})}};
    case 13: return {{Line({{5, 100}, {5, 0}, {55, 100}, {55, 0}})}};
    case 14: return {{ring}, {Arc(30, 50, 28, 49, 280, 610)}};
    case 15: return {{Line({{5, 100}, {5, 0}}), bowlP}};
    case 16: return {{ring, Line({{36, 70}, {62, 102}})}};
    case 17: return {{Line({{5, 100}, {5, 0}}), bowlP, Line({{26, 52}, {58, 100}})}};
    case 18: return {{Join({Arc(30, 26, 26, 25, 340, 90), Arc(30, 75, 28, 25, 270, 520)})}};
    case 19: return {{Line({{0, 0}, {60, 0}}), Line({{30, 0}, {30, 100}})}};
    case 20: return {{Join({Line({{5, 0}, {5, 72}}), Arc(30, 72, 25, 28, 180, 0),
                            Line({{55, 0}})})}};
    case 21: return {{Line({{0, 0}, {30, 100}, {60, 0}})}};
    case 22: return {{Line({{0, 0}, {15, 100}, {30, 30}, {45, 100}, {60, 0}})}};
    case 23: return {{Line({{2, 0}, {58, 100}}), Line({{58, 0}, {2, 100}})}};
    case 24: return {{Line({{0, 0}, {30, 50}, {60, 0}}), Line({{30, 50}, {30, 100}})}};
    default: return {{Line({{2, 0}, {58, 0}, {2, 100}, {58, 100}})}};
  }
}

std::vector<Writing> CapitalStyleWritings(int c) {
  switch (c) {
    case 3: return {{Line({{5, 0}, {5, 100}}),  // "D": top and foot past the stem
                     Join({Line({{2, 0}, {28, 0}}), Arc(28, 50, 30, 50, 270, 450),
                           Line({{2, 100}})})}};
    default: return {};
  }
}

}  // namespace glyphs
