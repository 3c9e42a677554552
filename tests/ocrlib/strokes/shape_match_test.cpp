// Structure descriptions and shape templates: direction codes, sampling of
// a path, descriptions of edges of hand-worked shapes (with the end values
// at a group's nodes), the limits of values, points and characters, and the
// matcher on templates written here: greedy elements, spans, continuation
// lists and the smoothed description.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

using penkit::BitImage;

// Builds the row chain of `image` in buffer set 0 (with fresh pools).
void BuildRows(BitImage& image) {
  ResetListNodePools();
  ClearErrorStack();
  SelectStructureBuffers(0);
  g_structureInput = {image.bits().data(), 0, image.width() - 1, 0, image.height() - 1,
                      image.bytesPerLine()};
  ASSERT_EQ(ListRowTransitions(0), 0);
  int result;
  g_structureSet->chainHead = BuildStructureChain(&result);
  ASSERT_EQ(result, 0);
}

// A bar `width` wide and `height` tall, shifted by `step` columns a row.
BitImage Bar(int width, int height, int step = 0) {
  const int shift = step < 0 ? -step * (height - 1) : 0;
  BitImage image(width + std::abs(step) * (height - 1), height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.Set(shift + x + step * y, y);
  return image;
}

std::string Describe(const std::vector<int32_t>& rules) {
  const char* d = FormatStructureDescription(rules.data());
  return d != nullptr ? d : "(none)";
}

TEST(StructureDescription, DirectionsInSteps) {
  struct Case {
    int dx, dy, code;
  };
  // dx runs down the lines, dy along them.
  const Case cases[] = {
      {1, 0, 0},      {5, 0, 0},      {0, 1, 4},       {0, -1, -4},     {1, 1, 2},
      {1, -1, -2},    {2, 1, 1},      {1, 2, 3},       {-1, 0, -8},     {-1, 1, 6},
      {1000, 198, 0}, {1000, 199, 1}, {1000, 668, 1},  {1000, 669, 2},  {1000, -198, 0},
      {1000, -199, -1}, {0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.dx << "," << c.dy);
    EXPECT_EQ(AngleFromDeltas(c.dx, c.dy), c.code);
  }
}

TEST(StructureDescription, SamplesAPathInWindows) {
  std::vector<StepPoint> down, diagonal;
  for (int k = 0; k < 20; ++k) {
    down.push_back({k, 5});
    diagonal.push_back({k, k});
  }
  char out[8] = {};
  SampleDirections(down.data(), 20, out, 7);
  EXPECT_EQ(std::string(out, 7), "4444444");
  SampleDirections(diagonal.data(), 20, out, 5);
  EXPECT_EQ(std::string(out, 5), "66666");
  const StepPoint single{3, 3};
  SampleDirections(&single, 1, out, 3);
  EXPECT_EQ(std::string(out, 3), "444");
}

TEST(StructureDescription, EdgesOfHandWorkedShapes) {
  struct Case {
    const char* what;
    BitImage image;
    std::vector<int32_t> rules;
    const char* description;
  };
  const Case cases[] = {
      {"straight edge", Bar(4, 30), {-1, 10, 0, 0, 1, 0, -2}, "4444444444"},
      {"one column a row to the right", Bar(4, 30, 1), {-1, 6, 0, 0, 1, 1, -2}, "666666"},
      {"one column a row to the left", Bar(4, 30, -1), {-1, 6, 0, 0, 1, 0, -2}, "222222"},
      {"two groups", Bar(6, 20), {-1, 4, 0, 0, 1, 0, -1, 3, 0, 0, 1, 1, -2}, "4444:444"},
      // From the top left corner along the top, down the right edge and back
      // along the bottom.
      {"end values at both nodes", Bar(6, 20), {-1, 8, 3, 0, 1, 1, -2}, "86444420"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BitImage image = c.image;
    BuildRows(image);
    EXPECT_EQ(Describe(c.rules), c.description);
    EXPECT_EQ(GetErrorCount(), 0);
  }
}

TEST(StructureDescription, OneGroupBetweenInnerNodes) {
  BitImage ring = penkit::Draw(penkit::Figure().Circle({20, 20}, 14), 5);
  BuildRows(ring);
  int nodes = 0;
  for (ChainNode* n = g_structureSet->chainHead; n != nullptr; n = n->next) ++nodes;
  ASSERT_EQ(nodes, 4);
  const std::string d = Describe({-1, 10, 0, 2, 3, 0, -2});
  EXPECT_EQ(d.size(), 10u);
  EXPECT_EQ(d.find(':'), std::string::npos);
}

TEST(StructureDescription, RefusesWhatItCannotDescribe) {
  struct Case {
    const char* what;
    BitImage image;
    std::vector<int32_t> rules;
    int errors;  // 1: 14 pushed
  };
  const Case cases[] = {
      {"a node the chain lacks", Bar(4, 10), {-1, 4, 0, 0, 5, 0, -2}, 0},
      {"a transition the lines lack", Bar(4, 10), {-1, 4, 0, 0, 1, 3, -2}, 0},
      {"no group header", Bar(4, 10), {0, 1, 0, -2}, 0},
      {"a group without items", Bar(4, 10), {-1, 4, 0, -2}, 0},
      {"a list that ends inside an item", Bar(4, 10), {-1, 4, 0, 0, 1, -2}, 0},
      {"a list that ends inside a group header", Bar(4, 10), {-1, 4, 0, 0, 1, 0, -1, -2}, 0},
      {"more than 200 values", Bar(4, 150), {-1, 4, 0, 0, 1, 0, 0, 1, 1, -2}, 1},
      {"more than 400 path points", Bar(100, 3),
       {-1, 4, 0, 0, 1, 0, 0, 1, 1, 0, 1, 0, 0, 1, 1, 0, 1, 0, -2}, 1},
      {"more than 1,023 characters", Bar(4, 10), {-1, 1024, 0, 0, 1, 0, -2}, 1},
      {"separators count", Bar(4, 10), {-1, 1000, 0, 0, 1, 0, -1, 23, 0, 0, 1, 0, -2}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BitImage image = c.image;
    BuildRows(image);
    EXPECT_EQ(FormatStructureDescription(c.rules.data()), nullptr);
    EXPECT_EQ(GetErrorCount(), c.errors);
  }
  BitImage image = Bar(4, 10);
  BuildRows(image);
  EXPECT_EQ(Describe({-1, 1000, 0, 0, 1, 0, -1, 22, 0, 0, 1, 0, -2}).size(), 1023u);
}

// ---- templates ----------------------------------------------------------------------
constexpr TemplateElement kDownThenRight[] = {{'4', '4', 3, 5}, {'6', '8', 1, 2}, {0, 0, 0, 0}};
constexpr TemplateElement kDown[] = {{'4', '4', 1, 9}, {0, 0, 0, 0}};
constexpr TemplateElement kRight[] = {{'6', '6', 1, 9}, {0, 0, 0, 0}};
constexpr TemplateElement kAny[] = {{'0', '8', 0, 99}, {':', ':', 0, 9}, {'0', '8', 0, 99},
                                    {0, 0, 0, 0}};
constexpr TemplateSpan kThreeDown[] = {{0, 1, 3, 3}, {-1, 0, 0, 0}};
constexpr TemplateSpan kOneRight[] = {{1, 2, 1, 1}, {-1, 0, 0, 0}};
constexpr TemplateSpan kBadSpan[] = {{0, 5, 0, 9}, {-1, 0, 0, 0}};

constexpr ShapeTemplate kRightList[] = {{kRight, nullptr, "r", nullptr, 'R', kTemplateWhole},
                                        {nullptr, nullptr, nullptr, nullptr, 0, 0}};

// Runs the templates with the cell holding 'x' first: 'x' after means no match.
char Match(const char* description, const ShapeTemplate* templates) {
  g_structureDecision = 'x';
  const int matched = MatchShapeTemplate(description, templates);
  EXPECT_EQ(matched, g_structureDecision != 'x' ? 1 : 0);
  return static_cast<char>(g_structureDecision);
}

TEST(ShapeTemplates, ElementsConsumeGreedilyWithinTheirCounts) {
  const ShapeTemplate list[] = {{kDownThenRight, nullptr, "a", nullptr, 'A', kTemplateWhole},
                                {nullptr, nullptr, nullptr, nullptr, 0, 0}};
  struct Case {
    const char* description;
    char decision;
  };
  const Case cases[] = {
      {"44466", 'A'},   {"4448", 'A'},  {"444447", 'A'},
      {"44", 'x'},      // too few of the first
      {"444444", 'x'},  // the first stops at 5; the second finds '4'
      {"4446668", 'x'}, // a leftover without a continuation
      {"444", 'x'},     {"", 'x'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(Match(c.description, list), c.decision);
  }
}

TEST(ShapeTemplates, SpansBoundTheDistancesBetweenElementEnds) {
  const ShapeTemplate threeDown[] = {{kDownThenRight, kThreeDown, "s", nullptr, 'S', 0},
                                     {nullptr, nullptr, nullptr, nullptr, 0, 0}};
  EXPECT_EQ(Match("4446", threeDown), 'S');
  EXPECT_EQ(Match("44446", threeDown), 'x');
  const ShapeTemplate oneRight[] = {{kDownThenRight, kOneRight, "o", nullptr, 'O', 0},
                                    {nullptr, nullptr, nullptr, nullptr, 0, 0}};
  EXPECT_EQ(Match("4446", oneRight), 'O');
  EXPECT_EQ(Match("44466", oneRight), 'x');
  const ShapeTemplate bad[] = {{kDownThenRight, kBadSpan, "b", nullptr, 'B', 0},
                               {nullptr, nullptr, nullptr, nullptr, 0, 0}};
  EXPECT_EQ(Match("4446", bad), 'x');  // a span naming an element the template lacks
}

TEST(ShapeTemplates, TheFirstMatchingTemplateDecides) {
  const ShapeTemplate list[] = {{kRight, nullptr, "r", nullptr, 'R', kTemplateWhole},
                                {kDown, nullptr, "d", nullptr, 'D', kTemplateWhole},
                                {kAny, nullptr, "any", nullptr, 'Y', kTemplateWhole},
                                {nullptr, nullptr, nullptr, nullptr, 0, 0}};
  EXPECT_EQ(Match("444", list), 'D');
  EXPECT_EQ(Match("666", list), 'R');
  EXPECT_EQ(Match("46:2", list), 'Y');
  EXPECT_EQ(Match("9", list), 'x');
}

TEST(ShapeTemplates, AContinuationMatchesTheRest) {
  const ShapeTemplate list[] = {{kDown, nullptr, "lead", kRightList, 'L', kTemplateContinue},
                                {kAny, nullptr, "any", nullptr, 'Y', kTemplateWhole},
                                {nullptr, nullptr, nullptr, nullptr, 0, 0}};
  EXPECT_EQ(Match("4466", list), 'R');
  EXPECT_EQ(Match("44", list), 'L');  // the leading part took everything
  // The continuation decides alone: the templates after it are not tried.
  EXPECT_EQ(Match("4488", list), 'x');
}

TEST(ShapeTemplates, SmoothedTemplatesSeeNeighboursAveraged) {
  // "353" smooths to "444"; within "35:5" the groups smooth apart and the
  // group of one character stays.
  const ShapeTemplate smoothed[] = {{kDown, nullptr, "s", nullptr, 'S', kTemplateSmoothed},
                                    {nullptr, nullptr, nullptr, nullptr, 0, 0}};
  EXPECT_EQ(Match("353", smoothed), 'S');
  EXPECT_EQ(Match("3737", smoothed), 'x');  // the first averages to '5'
  const TemplateElement groups[] = {{'4', '4', 2, 2}, {':', ':', 1, 1}, {'5', '5', 1, 1}, {0, 0, 0, 0}};
  const ShapeTemplate split[] = {{groups, nullptr, "g", nullptr, 'G', kTemplateSmoothed},
                                 {nullptr, nullptr, nullptr, nullptr, 0, 0}};
  EXPECT_EQ(Match("35:5", split), 'G');
  const ShapeTemplate plain[] = {{kDown, nullptr, "p", nullptr, 'P', kTemplateWhole},
                                 {nullptr, nullptr, nullptr, nullptr, 0, 0}};
  EXPECT_EQ(Match("353", plain), 'x');
}

}  // namespace
