// Graph colours as the colour table stores them and as the graph-colour
// window builds them, and the geometry of pies and radars.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tally/tally.h"

namespace {

TEST(GraphColorText, StoredTextsAndDefaults) {
  struct Case {
    const char* text;
    int color, pattern;
  };
  const Case cases[] = {
      {"05-03", 105, 2},       {"01-00", 101, kFillSolid}, {"21-06", 121, 5},
      {"07", 107, kFillSolid},  // a radar's colour: solid
      {"", 0, kFillSolid},     {"x5-01", 0, kFillSolid},   {"05-99", 105, kFillSolid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const GraphColor color = ParseGraphColorText(c.text);
    EXPECT_EQ(color.colorCode, c.color);
    EXPECT_EQ(color.pattern, c.pattern);
  }
  EXPECT_EQ(FormatGraphColorText(kGraphPie, {105, 2}), "05-03");
  EXPECT_EQ(FormatGraphColorText(kGraphBar, {101, kFillSolid}), "01-00");
  EXPECT_EQ(FormatGraphColorText(kGraphRadar, {107, kFillSolid}), "07");

  struct Default {
    int type, slot, color, pattern;
  };
  const Default defaults[] = {
      {kGraphBar, 1, 101, 5},
      {kGraphChoice, 20, 120, 5},
      {kGraphPie, 21, 101, 5},
      {kGraphPie, 30, 110, 5},
      {kGraphRadar, 1, 101, kFillSolid},
      {kGraphRadar, 4, 101, kFillSolid},
      {kGraphRadar, 5, 102, kFillSolid},
  };
  for (const Default& d : defaults) {
    const GraphColor color = DefaultGraphColor(d.type, d.slot);
    EXPECT_EQ(color.colorCode, d.color) << d.type << "/" << d.slot;
    EXPECT_EQ(color.pattern, d.pattern) << d.type << "/" << d.slot;
  }
  EXPECT_EQ(GraphSlotOfChoice(3, "無回答"), kNoAnswerSlot);
  EXPECT_EQ(GraphSlotOfChoice(1, "ｵｰﾊﾞｰ"), kOverSlot);
  EXPECT_EQ(GraphSlotOfChoice(4, "はい"), 4);
}

TEST(GraphColorText, TheButtonOfTheColourWindowFollowsEachChoice) {
  struct Step {
    char kind;  // 'c' colour, 'p' pattern
    int value;
    const char* selected;
  };
  struct Case {
    const char* what;
    const char* start;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"a pattern, then a colour", "05", {{'p', 3, "05-03"}, {'c', 7, "07-03"}}},
      {"a radar's colour stays two digits", "04", {{'c', 9, "09"}, {'c', 21, "21"}}},
      {"a pattern on an empty text", "", {{'p', 2, "01-02"}}},
      {"both from a full text", "03-04", {{'c', 12, "12-04"}, {'p', 0, "12-00"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GraphColorChoice choice = StartGraphColorChoice(c.start);
    EXPECT_EQ(choice.selected, c.start);
    EXPECT_EQ(choice.changes, 0);
    for (const Step& step : c.steps) {
      if (step.kind == 'c') {
        ChooseGraphColor(choice, step.value);
      } else {
        ChooseGraphPattern(choice, step.value);
      }
      EXPECT_EQ(choice.selected, step.selected);
    }
    EXPECT_EQ(choice.changes, static_cast<int>(c.steps.size()));
  }
}

TEST(PieLayout, SlicesAndLabels) {
  // A single choice holding the whole: one disc, its label at 3r/4.
  const double whole[] = {100, 100};
  PieLayout one = LayoutPieGraph(0, 0, 100, 1, whole);
  ASSERT_EQ(one.boundary.size(), 3u);
  EXPECT_EQ(one.boundary[1].x, 0);
  EXPECT_EQ(one.boundary[1].y, -100);
  EXPECT_EQ(one.boundary[2].x, one.boundary[1].x);
  EXPECT_EQ(one.boundary[2].y, one.boundary[1].y);
  EXPECT_TRUE(one.painted[1]);
  EXPECT_DOUBLE_EQ(one.labelRadius[1], 75);

  // Clockwise from the top: a quarter ends at the right.
  const double quarters[] = {100, 25, 75};
  const PieLayout q = LayoutPieGraph(200, 200, 100, 2, quarters);
  EXPECT_EQ(q.boundary[2].x, 300);
  EXPECT_EQ(q.boundary[2].y, 200);
  EXPECT_GT(q.anchor[1].x, 200);  // the first label on the upper right
  EXPECT_LT(q.anchor[1].y, 200);

  // A share of 0.15 is labelled but not painted; 0.05 neither.
  const double tiny[] = {100, 99.8, 0.15, 0.05};
  const PieLayout t = LayoutPieGraph(0, 0, 100, 3, tiny);
  EXPECT_TRUE(t.painted[1]);
  EXPECT_FALSE(t.painted[2]);
  EXPECT_TRUE(t.labelled[2]);
  EXPECT_FALSE(t.labelled[3]);

  // Nothing to draw: a whole of 0, or no choice.
  const double none[] = {0, 0, 0};
  EXPECT_TRUE(LayoutPieGraph(0, 0, 100, 2, none).boundary.empty());
  EXPECT_TRUE(LayoutPieGraph(0, 0, 100, 0, whole).boundary.empty());
}

TEST(PieLayout, LabelsOfNarrowNeighboursMoveOutInTurns) {
  // Narrow slices after a wide first one: every other label moves out to
  // r; the last stays at 3r/4 as the first share is wide.
  const double shares[] = {100, 80, 5, 5, 5, 5};
  const PieLayout a = LayoutPieGraph(0, 0, 100, 5, shares);
  const std::vector<double> radii(a.labelRadius.begin() + 1, a.labelRadius.end());
  EXPECT_EQ(radii, (std::vector<double>{75, 75, 100, 75, 100}));
  // With a narrow first share the last label goes to r/2.
  const double narrowFirst[] = {100, 5, 80, 10, 5};
  const PieLayout b = LayoutPieGraph(0, 0, 100, 4, narrowFirst);
  EXPECT_DOUBLE_EQ(b.labelRadius[4], 50);
  EXPECT_DOUBLE_EQ(b.labelRadius[3], 75);  // its neighbour was wide
}

TEST(RadarGeometry, RingsUpToTheMaximum) {
  EXPECT_EQ(RadarRingRadii(0.6, 120), (std::vector<int>{20, 40, 60, 80, 100, 120}));
  std::vector<bool> labelled;
  for (int j = 1; j <= 6; ++j) labelled.push_back(RadarRingLabelled(0.6, j));
  EXPECT_EQ(labelled, (std::vector<bool>{false, true, false, true, false, true}));
  EXPECT_TRUE(RadarRingLabelled(0.5, 3));
  // A maximum of 0 or above 100 % draws as 100 %.
  EXPECT_EQ(RadarRingRadii(0.0, 100).size(), 10u);
  EXPECT_EQ(RadarRingRadii(1.5, 100).back(), 100);
  EXPECT_EQ(RadarSeriesRadius(30, 0.6, 120), 60);
  EXPECT_EQ(RadarSeriesRadius(50, 0.0, 100), 50);
  EXPECT_EQ(RadarSeriesRadius(33.4, 1.0, 100), 33);
}

}  // namespace
