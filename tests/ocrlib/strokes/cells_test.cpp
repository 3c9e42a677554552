// Components and cells of a line: labelling, the speck filter, the cell's own
// bitmap and the kinds of cells.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

RunImage PageOf(penkit::BitImage& image, int dpi = 200) {
  const MupaImage d = image.Descriptor();
  return RunImage{d.width, d.height, 1, d.bytesPerLine, static_cast<int16_t>(dpi), d.bits};
}

void Fill(penkit::BitImage& image, const MupaRect& b) {
  for (int y = b.top; y <= b.bottom; ++y) {
    for (int x = b.left; x <= b.right; ++x) image.Set(x, y);
  }
}

bool operator==(const MupaRect& a, const MupaRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(CellComponents, LabelsJoinDiagonalTouchesAndKeepTheSmallerLabel) {
  penkit::BitImage image = penkit::FromRows({
      "#.....#",
      ".#...#.",
      "..#.#..",  // a V: the arms meet only on the last row
      "...#...",
      ".......",
      "##.....",
  });
  std::vector<ComponentLabel> labels(kMaxLabels + 1);
  int count = 0;
  ASSERT_EQ(LabelComponents(PageOf(image), image.Rect(), labels.data(), &count), 0);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(labels[1].parent, 1);
  EXPECT_EQ(labels[2].parent, 1);  // merged into the smaller label
  EXPECT_TRUE(labels[1].box == (MupaRect{0, 0, 6, 3}));
  EXPECT_TRUE(labels[3].box == (MupaRect{0, 5, 1, 5}));
}

TEST(CellComponents, TooManyLabelsFill) {
  // Isolated pixels two apart: 64 x 64 = 4,096 components, 4,019 labels.
  penkit::BitImage image(128, 128);
  for (int y = 0; y < 128; y += 2) {
    for (int x = 0; x < 128; x += 2) image.Set(x, y);
  }
  std::vector<ComponentLabel> labels(kMaxLabels + 1);
  int count = 0;
  ClearErrorStack();
  EXPECT_EQ(LabelComponents(PageOf(image), image.Rect(), labels.data(), &count), -1);
  EXPECT_EQ(g_errorStack.codes[0], kErrCapacityFull);
}

TEST(CellComponents, SpecksScaleWithTheResolution) {
  // One 30 x 30 character; a 3 x 3 speck and a solid 4 x 4 one beside it.
  struct Case {
    const char* what;
    int dpi;
    uint32_t mask;
    MupaRect speck;
    bool kept;
  };
  const Case cases[] = {
      {"3 x 3 at 200 dpi is a speck", 200, 1, {40, 5, 42, 7}, false},
      {"a full 4 x 4 at 200 dpi stays", 200, 1, {40, 5, 43, 8}, true},
      {"a full 4 x 4 at 400 dpi is a speck", 400, 1, {40, 5, 43, 8}, false},
      {"kana tell specks by a tenth: 3 x 3 stays", 200, 8, {40, 5, 42, 7}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    penkit::BitImage image(60, 40);
    Fill(image, {2, 2, 31, 31});
    Fill(image, c.speck);
    std::vector<ComponentRecord> components(kMaxComponents);
    int count = 0;
    ASSERT_EQ(ExtractCellComponents(PageOf(image, c.dpi), image.Rect(), c.mask,
                                    components.data(), &count),
              0);
    EXPECT_EQ(count, c.kept ? 2 : 1);
    EXPECT_TRUE(components[0].box == (MupaRect{2, 2, 31, 31}));
  }
  penkit::BitImage blank(20, 20);
  std::vector<ComponentRecord> components(kMaxComponents);
  int count = 7;
  EXPECT_EQ(ExtractCellComponents(PageOf(blank), blank.Rect(), 1, components.data(), &count), -2);
  EXPECT_EQ(count, 0);
}

TEST(CellStructures, CellsGetTheirKindsAndPunctuation) {
  // A line 40 high: a character, a full stop low right, a dash, a comma.
  penkit::BitImage image(120, 40);
  const MupaRect character = {2, 2, 21, 37}, stop = {30, 32, 35, 37}, dash = {45, 18, 64, 20};
  Fill(image, character);
  Fill(image, stop);
  Fill(image, dash);
  // A comma: ink top right and bottom left.
  Fill(image, {78, 30, 81, 33});
  Fill(image, {76, 34, 78, 37});
  std::vector<MupaRect> boxes = {character, stop, dash, {76, 30, 81, 37}};
  std::vector<ComponentRecord> components(boxes.size());
  std::vector<CharBoxRow> cells(boxes.size());
  for (size_t i = 0; i < boxes.size(); ++i) {
    components[i].box = boxes[i];
    components[i].boxNumber = static_cast<uint16_t>(i);
    cells[i].box = boxes[i];
    cells[i].number = static_cast<uint16_t>(i);
    MeasureRow(&cells[i]);
  }
  components[3].box = {78, 30, 81, 33};  // the comma's two parts
  components.push_back(components[3]);
  components.back().box = {76, 34, 78, 37};
  RecogRunBlock page = {};
  page.image = PageOf(image);
  struct Case {
    uint32_t mask;
    uint16_t kinds[4];
    uint16_t codes[4];
  };
  const Case cases[] = {
      {kTypeDigits,
       {kCellCharacter, kCellFullStop, kCellDash, kCellComma},
       {kNoCandidate, 0x8142, 0x8141, 0x8142}},
      {kTypeDigits | 0x80,
       {kCellCharacter, kCellFullStop, kCellDash, kCellComma},
       {kNoCandidate, 0x8144, 0x817C, 0x8143}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    std::vector<RecogCharResult> results(5);
    for (RecogCharResult& r : results) SetSingleResult(&r, kNoCandidate, MupaRect{});
    TestCellStructures(page, {0, 0, 119, 39}, cells.data(), 4, components.data(),
                       static_cast<int>(components.size()), c.mask, results.data(), 5);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(cells[i].state, c.kinds[i]) << i;
      EXPECT_EQ(results[i].candidates[0].code, c.codes[i]) << i;
    }
  }
}

TEST(CellStructures, QuadrantsShareAnOddMiddle) {
  const uint8_t matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};  // a 3 x 3 diagonal
  int q[4];
  CountQuadrantPixels(matrix, 3, 3, q);
  EXPECT_EQ(q[0], 2);  // (0, 0) and the middle
  EXPECT_EQ(q[1], 1);
  EXPECT_EQ(q[2], 1);
  EXPECT_EQ(q[3], 2);
}

}  // namespace
