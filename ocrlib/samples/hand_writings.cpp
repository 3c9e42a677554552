// The pen writings of digits, capitals and katakana, as centrelines. A writing is a
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

// A stroke swept from a to b, pulled towards `pull` (a quadratic curve).
Stroke Sweep(Point a, Point pull, Point b) {
  Stroke s;
  constexpr int kSteps = 8;
  for (int i = 0; i <= kSteps; ++i) {
    const double t = static_cast<double>(i) / kSteps, u = 1 - t;
    s.push_back({u * u * a.x + 2 * u * t * pull.x + t * t * b.x,
                 u * u * a.y + 2 * u * t * pull.y + t * t * b.y});
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

namespace {

// Every katakana in the order of CharacterSet(kKatakana), each stroke in the
// order and direction it is written. Where two characters differ by little
// (ン and ソ, シ and ツ by the slope of their ticks and the way the long stroke
// runs; ク, ワ and ケ; チ and テ; ヌ and ス; ミ and ヨ; リ and ソ) a second
// writing holds the way a hand moves towards the other one without
// becoming it.
std::vector<std::vector<Writing>> KanaTable() {
  return {
      // ア
      {{Join({Line({{10, 12}, {86, 12}}), Sweep({86, 12}, {80, 30}, {58, 44})}),
        Sweep({48, 30}, {48, 70}, {18, 95})},
       {Join({Line({{12, 14}, {84, 14}}), Sweep({84, 14}, {76, 30}, {64, 38})}),
        Sweep({46, 28}, {44, 66}, {24, 96})}},
      // イ
      {{Sweep({72, 4}, {50, 35}, {8, 58}), Line({{48, 36}, {48, 98}})}},
      // ウ
      {{Line({{50, 2}, {50, 20}}), Line({{14, 24}, {16, 50}}),
        Join({Line({{14, 24}, {86, 24}}), Sweep({86, 24}, {84, 70}, {38, 98})})},
       {Line({{46, 2}, {54, 18}}), Line({{16, 26}, {18, 44}}),
        Join({Line({{16, 26}, {84, 26}}), Sweep({84, 26}, {80, 74}, {44, 98})})}},
      // エ
      {{Line({{18, 16}, {82, 16}}), Line({{50, 16}, {50, 84}}), Line({{6, 84}, {94, 84}})}},
      // オ
      {{Line({{6, 30}, {94, 30}}), Line({{62, 2}, {62, 96}, {50, 86}}),
        Sweep({58, 32}, {40, 65}, {8, 82})}},
      // カ: the right stroke reaches the foot; ヤ's and ト's do not
      {{Line({{14, 28}, {84, 28}, {80, 90}, {64, 82}}), Sweep({46, 2}, {46, 60}, {12, 96})},
       {Join({Line({{14, 28}, {84, 28}}), Sweep({84, 28}, {82, 75}, {66, 94})}),
        Sweep({44, 4}, {42, 64}, {16, 94})}},
      // キ
      {{Line({{14, 30}, {84, 24}}), Line({{8, 58}, {92, 52}}), Line({{40, 4}, {60, 96}})}},
      // ク: a slanting first stroke above the bar; ワ's stands upright
      // under it, ケ's bar runs on as a stroke of its own
      {{Sweep({42, 2}, {32, 26}, {14, 44}),
        Join({Line({{36, 16}, {80, 16}}), Sweep({80, 16}, {72, 70}, {18, 97})})},
       {Sweep({38, 4}, {30, 22}, {16, 38}),
        Join({Line({{32, 16}, {78, 16}}), Sweep({78, 16}, {76, 64}, {24, 98})})}},
      // ケ
      {{Sweep({36, 2}, {26, 28}, {6, 50}), Line({{24, 32}, {94, 32}}),
        Sweep({62, 32}, {62, 72}, {30, 97})},
       {Sweep({34, 4}, {24, 26}, {8, 46}), Line({{22, 30}, {90, 28}}),
        Sweep({58, 30}, {60, 76}, {34, 98})}},
      // コ
      {{Line({{14, 14}, {86, 14}, {84, 86}}), Line({{14, 86}, {86, 86}})}},
      // サ
      {{Line({{4, 34}, {96, 34}}), Line({{28, 8}, {28, 62}}), Sweep({72, 6}, {74, 70}, {38, 97})}},
      // シ: ticks lying down, the long stroke rising from the foot
      {{Line({{14, 12}, {32, 24}}), Line({{8, 40}, {26, 52}}), Sweep({14, 94}, {62, 80}, {90, 24})},
       {Line({{12, 16}, {34, 20}}), Line({{8, 44}, {30, 50}}), Sweep({18, 92}, {58, 84}, {86, 30})}},
      // ス: the second stroke starts on the first
      {{Join({Line({{12, 14}, {84, 14}}), Sweep({84, 14}, {60, 66}, {8, 94})}),
        Line({{52, 56}, {92, 92}})}},
      // セ
      {{Line({{4, 42}, {92, 32}, {74, 56}}),
        Join({Line({{32, 4}, {32, 80}}), Sweep({32, 80}, {34, 92}, {50, 92}), Line({{90, 92}})})}},
      // ソ: a standing tick, the long stroke falling from the top
      {{Line({{16, 18}, {30, 48}}), Sweep({86, 10}, {80, 70}, {26, 96})},
       {Line({{20, 14}, {28, 44}}), Sweep({82, 8}, {78, 62}, {30, 94})}},
      // タ
      {{Sweep({38, 2}, {28, 26}, {8, 46}),
        Join({Line({{32, 18}, {82, 18}}), Sweep({82, 18}, {72, 70}, {20, 97})}),
        Line({{30, 44}, {70, 64}})}},
      // チ: a falling first stroke the stem starts from; テ's is a bar apart
      {{Line({{72, 4}, {28, 20}}), Line({{10, 46}, {90, 46}}),
        Join({Line({{50, 14}, {50, 70}}), Sweep({50, 70}, {50, 90}, {32, 97})})},
       {Sweep({72, 4}, {50, 16}, {30, 22}), Line({{8, 48}, {92, 46}}),
        Join({Line({{50, 16}, {50, 74}}), Sweep({50, 74}, {48, 92}, {36, 98})})}},
      // ツ: standing ticks, the long stroke falling from the top
      {{Line({{14, 14}, {24, 36}}), Line({{42, 8}, {50, 30}}), Sweep({88, 10}, {82, 66}, {28, 96})}},
      // テ
      {{Line({{18, 12}, {82, 12}}), Line({{6, 42}, {94, 42}}), Sweep({52, 42}, {54, 78}, {28, 97})},
       {Line({{22, 10}, {78, 12}}), Line({{8, 40}, {92, 40}}), Sweep({50, 40}, {50, 80}, {34, 98})}},
      // ト
      {{Line({{34, 2}, {34, 98}}), Line({{34, 40}, {80, 62}})}},
      // ナ
      {{Line({{4, 36}, {96, 36}}), Sweep({58, 4}, {60, 70}, {22, 97})}},
      // ニ
      {{Line({{20, 24}, {80, 24}}), Line({{6, 78}, {94, 78}})}},
      // ヌ: the second stroke crosses the first
      {{Join({Line({{12, 14}, {84, 14}}), Sweep({84, 14}, {64, 70}, {8, 94})}),
        Line({{34, 46}, {72, 82}})},
       {Join({Line({{14, 16}, {82, 16}}), Sweep({82, 16}, {60, 66}, {10, 92})}),
        Line({{36, 42}, {68, 74}})}},
      // ネ
      {{Line({{46, 0}, {54, 14}}),
        Join({Line({{14, 26}, {82, 26}}), Sweep({82, 26}, {50, 60}, {8, 76})}),
        Line({{50, 50}, {50, 98}}), Line({{62, 58}, {90, 76}})}},
      // ノ
      {{Sweep({82, 4}, {74, 66}, {14, 96})}},
      // ハ
      {{Sweep({38, 22}, {28, 60}, {6, 80}), Sweep({62, 22}, {80, 50}, {94, 80})}},
      // ヒ
      {{Line({{26, 44}, {84, 30}}),
        Join({Line({{24, 4}, {24, 84}}), Sweep({24, 84}, {26, 94}, {44, 94}), Line({{88, 92}})})}},
      // フ
      {{Join({Line({{12, 14}, {86, 14}}), Sweep({86, 14}, {76, 72}, {24, 97})})}},
      // ヘ
      {{Line({{4, 62}, {34, 28}, {96, 80}})}},
      // ホ
      {{Line({{6, 32}, {94, 32}}), Line({{50, 2}, {50, 96}, {40, 88}}), Line({{30, 52}, {12, 80}}),
        Line({{70, 52}, {90, 80}})}},
      // マ
      {{Join({Line({{8, 16}, {88, 16}}), Sweep({88, 16}, {72, 46}, {46, 70})}),
        Line({{34, 50}, {72, 90}})}},
      // ミ: three strokes sloping down, none joined
      {{Sweep({24, 8}, {52, 12}, {76, 24}), Sweep({28, 40}, {50, 44}, {70, 54}),
        Sweep({16, 70}, {50, 76}, {82, 92})},
       {Line({{22, 12}, {76, 20}}), Line({{26, 44}, {72, 50}}), Line({{18, 76}, {80, 88}})}},
      // ム
      {{Line({{46, 4}, {12, 84}, {84, 74}}), Line({{68, 52}, {90, 92}})}},
      // メ
      {{Sweep({82, 6}, {66, 66}, {8, 96}), Line({{24, 34}, {80, 84}})}},
      // モ
      {{Line({{14, 14}, {86, 14}}), Line({{4, 46}, {96, 46}}),
        Join({Line({{44, 14}, {44, 80}}), Sweep({44, 80}, {46, 92}, {62, 92}), Line({{94, 92}})})}},
      // ヤ
      {{Join({Line({{4, 40}, {92, 28}}), Sweep({92, 28}, {84, 44}, {70, 56})}),
        Line({{30, 4}, {52, 98}})}},
      // ユ
      {{Line({{16, 32}, {68, 32}, {66, 80}}), Line({{4, 80}, {96, 80}})}},
      // ヨ
      {{Line({{14, 14}, {84, 14}, {84, 88}}), Line({{20, 50}, {84, 50}}), Line({{14, 88}, {84, 88}})}},
      // ラ
      {{Line({{20, 8}, {80, 8}}), Join({Line({{12, 38}, {86, 38}}), Sweep({86, 38}, {78, 80}, {26, 98})})}},
      // リ: two strokes from the top, the right one long
      {{Line({{26, 14}, {26, 66}}), Sweep({72, 4}, {72, 86}, {46, 98})},
       {Sweep({24, 14}, {26, 54}, {32, 64}), Sweep({70, 6}, {72, 82}, {48, 98})}},
      // ル
      {{Sweep({32, 8}, {32, 64}, {8, 94}), Line({{60, 6}, {60, 90}, {94, 58}})}},
      // レ
      {{Join({Line({{24, 4}, {24, 92}}), Sweep({24, 92}, {60, 82}, {92, 48})})}},
      // ロ
      {{Line({{14, 14}, {14, 86}}), Line({{14, 14}, {86, 14}, {86, 86}}), Line({{14, 86}, {86, 86}})}},
      // ワ
      {{Line({{12, 12}, {14, 44}}), Join({Line({{12, 12}, {86, 12}}), Sweep({86, 12}, {82, 70}, {34, 97})})}},
      // ヲ
      {{Line({{14, 12}, {84, 12}}), Line({{20, 48}, {72, 48}}), Sweep({84, 12}, {78, 58}, {26, 96})}},
      // ン: a lying tick, the long stroke rising from the foot
      {{Line({{10, 22}, {32, 34}}), Sweep({14, 92}, {64, 80}, {90, 22})},
       {Line({{12, 26}, {34, 32}}), Sweep({16, 90}, {56, 84}, {86, 28})}},
  };
}

}  // namespace

std::vector<Writing> KatakanaWritings(int k) {
  static const std::vector<std::vector<Writing>> table = KanaTable();
  return k >= 0 && k < static_cast<int>(table.size()) ? table[k] : std::vector<Writing>();
}

}  // namespace glyphs
