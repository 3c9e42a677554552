// Segmentation into character boxes: synthetic lines with known boxes
// through MupaSegChar and its worker, the splitting of wide boxes, the limits
// and the choice of the best sequence on the general path.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ocrlib/frame/frame_internal.h"
#include "tests/ocrlib/frame/mupa_test_support.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

// Blocks of ink at the given boxes in an image of the given size.
penkit::BitImage Blocks(int width, int height, const std::vector<MupaRect>& boxes) {
  penkit::BitImage image(width, height);
  for (const MupaRect& b : boxes) {
    for (int y = b.top; y <= b.bottom; ++y) {
      for (int x = b.left; x <= b.right; ++x) image.Set(x, y);
    }
  }
  return image;
}

// Boxes 10 x 20 at the given left edges, tops at 5.
std::vector<MupaRect> Row(const std::vector<int>& lefts) {
  std::vector<MupaRect> out;
  for (int left : lefts) {
    out.push_back({static_cast<int16_t>(left), 5, static_cast<int16_t>(left + 9), 24});
  }
  return out;
}

struct Segmented {
  int result;
  std::vector<MupaRect> boxes;
};

// SegmentCharacters over the whole image with the dictionary's current mask.
Segmented Segment(penkit::BitImage& image, uint32_t mask, int max = kMaxBoxes) {
  DictBlock dict = {};
  dict.header = MakeDictHeader(mask, "segmentation", true);
  dict.header.currentTypes = mask;
  DictBlock* dicts[1] = {&dict};
  const MupaImage d = image.Descriptor();
  RecogRunBlock run =
      RunOver(RunImage{d.width, d.height, 1, d.bytesPerLine, 200, d.bits}, image.Rect(), dicts);
  std::vector<MupaRect> boxes(max);
  int count = 0;
  const int rc = SegmentCharacters(&run, boxes.data(), max, &count);
  boxes.resize(count);
  return {rc, boxes};
}

// A line drawn as blocks of ink, and the boxes it must give.
struct LineCase {
  const char* what;
  uint32_t mask;
  std::vector<MupaRect> ink;
  std::vector<MupaRect> boxes;
};

template <size_t N>
void ExpectLineBoxes(const LineCase (&cases)[N]) {
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.what);
    penkit::BitImage image = Blocks(110, 30, c.ink);
    const Segmented s = Segment(image, c.mask);
    EXPECT_EQ(s.result, 0);
    EXPECT_EQ(s.boxes, c.boxes);
  }
}

TEST(Segmentation, SyntheticLinesGiveTheirBoxes) {
  const std::vector<MupaRect> evenly = Row({4, 20, 36, 52, 68, 84});
  const LineCase cases[] = {
      {"evenly spaced digits", kTypeDigits, evenly, evenly},
      {"evenly spaced capitals", kTypeCapitals, evenly, evenly},
      {"evenly spaced on the general path", 4, evenly, evenly},
      {"one component", kTypeDigits, {{10, 3, 30, 20}}, {{10, 3, 30, 20}}},
      {"one component on the general path", 4, {{10, 3, 30, 20}}, {{10, 3, 30, 20}}},
      {"a katakana of two strokes side by side", kTypeKatakana,
       {{4, 5, 9, 24}, {13, 5, 18, 24}, {30, 5, 45, 24}, {56, 5, 71, 24}, {82, 5, 97, 24}},
       {{4, 5, 18, 24}, {30, 5, 45, 24}, {56, 5, 71, 24}, {82, 5, 97, 24}}},
      {"a dot inside a ring's box joins it", 4,
       {{4, 5, 19, 6}, {4, 23, 19, 24}, {4, 5, 5, 24}, {18, 5, 19, 24}, {10, 14, 12, 16},
        {30, 5, 45, 24}},
       {{4, 5, 19, 24}, {30, 5, 45, 24}}},
  };
  ExpectLineBoxes(cases);
}

// A stroke broken on the scan leaves pieces and crumbs beside its character,
// and characters written close touch; the line's usual character height and
// width tell pieces from characters and pairs from one.
TEST(Segmentation, BrokenPiecesRejoinAndTouchingCharactersPart) {
  const std::vector<MupaRect> digits = Row({4, 20, 36, 52});
  auto with = [&](std::vector<MupaRect> more) {
    std::vector<MupaRect> ink = digits;
    ink.insert(ink.end(), more.begin(), more.end());
    return ink;
  };
  const LineCase cases[] = {
      {"a flag a blank column off its stroke", kTypeDigits,
       with({{68, 5, 70, 10}, {72, 5, 79, 24}}), with({{68, 5, 79, 24}})},
      {"a foot broken off a capital", kTypeCapitals, with({{68, 19, 71, 24}, {73, 5, 81, 24}}),
       with({{68, 5, 81, 24}})},
      {"a stroke's end broken off three blank columns beside its digit", kTypeDigits,
       with({{68, 5, 77, 24}, {81, 10, 82, 15}}), with({{68, 5, 82, 24}})},
      {"a stroke's end five blank columns off stays apart", kTypeDigits,
       with({{68, 5, 77, 24}, {83, 10, 84, 15}}), with({{68, 5, 77, 24}, {83, 10, 84, 15}})},
      {"a small capital a clear gap from its neighbours stays apart", kTypeCapitals,
       with({{66, 16, 68, 24}, {73, 5, 82, 24}}), with({{66, 16, 68, 24}, {73, 5, 82, 24}})},
      {"a narrow digit a blank column from the next stays apart", kTypeDigits,
       with({{68, 5, 70, 24}, {72, 5, 81, 24}}), with({{68, 5, 70, 24}, {72, 5, 81, 24}})},
      {"a crumb beside a digit widens its box", kTypeDigits, with({{63, 22, 64, 23}}),
       {digits[0], digits[1], digits[2], {52, 5, 64, 24}}},
      {"a crumb beside a katakana widens its box", kTypeKatakana, with({{63, 22, 64, 23}}),
       {digits[0], digits[1], digits[2], {52, 5, 64, 24}}},
      {"a crumb under a stem a break away joins it", kTypeDigits,
       with({{68, 5, 77, 20}, {70, 24, 71, 25}}), with({{68, 5, 77, 25}})},
      {"a crumb under the gap between two digits joins neither", kTypeDigits,
       with({{68, 5, 77, 20}, {78, 24, 79, 25}}), with({{68, 5, 77, 20}})},
      {"digits written close sharing a column stay apart", kTypeDigits,
       with({{68, 5, 75, 8}, {68, 5, 70, 24}, {75, 20, 82, 24}, {80, 5, 82, 24}}),
       with({{68, 5, 75, 24}, {75, 5, 82, 24}})},
      {"a crumb halfway between two digits joins neither", kTypeDigits,
       with({{16, 14, 17, 15}}), digits},
      {"two digits touching at a point are cut apart", kTypeDigits,
       with({{68, 5, 77, 24}, {78, 14, 78, 14}, {79, 5, 88, 24}}),
       with({{68, 5, 78, 24}, {79, 5, 88, 24}})},
      {"a narrow digit touching the next at a point is cut off", kTypeDigits,
       with({{68, 5, 71, 24}, {72, 14, 72, 14}, {73, 5, 82, 24}}),
       with({{68, 5, 72, 24}, {73, 5, 82, 24}})},
      {"a capital half as wide again stays whole", kTypeCapitals, with({{68, 5, 82, 24}}),
       with({{68, 5, 82, 24}})},
  };
  ExpectLineBoxes(cases);
}

// Grouped rows, one a box, each of one component.
std::unique_ptr<SegmentWork> GroupedRows(const std::vector<MupaRect>& boxes) {
  auto w = std::make_unique<SegmentWork>();
  *w = SegmentWork{};
  w->header.componentCount = static_cast<int16_t>(boxes.size());
  w->header.boxCount = static_cast<int16_t>(boxes.size());
  for (size_t i = 0; i < boxes.size(); ++i) {
    ComponentRecord& c = w->components[i];
    c.box = boxes[i];
    c.width = static_cast<int16_t>(boxes[i].right - boxes[i].left + 1);
    c.height = static_cast<int16_t>(boxes[i].bottom - boxes[i].top + 1);
    c.boxNumber = static_cast<uint16_t>(i);
    CharBoxRow& r = w->rows[i];
    r.box = boxes[i];
    r.number = static_cast<uint16_t>(i);
    r.state = kRowOrdinary;
    r.componentCount = 1;
    r.components[0] = static_cast<uint16_t>(i);
    MeasureRow(&r);
  }
  return w;
}

// Katakana of strokes apart (ハ, ル) whose inner gap is as wide as the gaps
// between characters: two narrow neighbours one character wide together are
// one box, their components with it; narrow characters of full width apart
// stay apart.
TEST(Segmentation, KatakanaOfStrokesApartKeepOneBox) {
  auto w = GroupedRows({{4, 5, 29, 30},
                        {37, 5, 62, 30},
                        {70, 5, 79, 30},
                        {85, 5, 95, 30},
                        {103, 5, 128, 30},
                        {136, 5, 146, 30},
                        {163, 5, 173, 30}});
  RepairGroupedBoxes(kTypeKatakana, {}, nullptr, w.get());
  std::vector<MupaRect> boxes;
  for (int r = 0; r < w->header.boxCount; ++r) boxes.push_back(w->rows[r].box);
  const std::vector<MupaRect> expected = {{4, 5, 29, 30},   {37, 5, 62, 30},  {70, 5, 95, 30},
                                          {103, 5, 128, 30}, {136, 5, 146, 30}, {163, 5, 173, 30}};
  EXPECT_EQ(boxes, expected);
  EXPECT_EQ(w->components[2].boxNumber, 2);
  EXPECT_EQ(w->components[3].boxNumber, 2);
  EXPECT_EQ(w->components[4].boxNumber, 3);
}

TEST(Segmentation, AnEmptyRectangleHasNoBox) {
  penkit::BitImage image(40, 20);
  const Segmented s = Segment(image, kTypeDigits);
  EXPECT_EQ(s.result, 0);
  EXPECT_TRUE(s.boxes.empty());
}

TEST(Segmentation, BoxesBeyondTheCallersMaximumAreReported) {
  penkit::BitImage image = Blocks(110, 30, Row({4, 20, 36, 52, 68}));
  for (uint32_t mask : {kTypeDigits, 4u}) {
    SCOPED_TRACE(mask);
    ClearErrorStack();
    const Segmented s = Segment(image, mask, 4);
    EXPECT_EQ(s.result, -1);  // success with a warning: a character is lost
    EXPECT_EQ(s.boxes.size(), 4u);
    EXPECT_EQ(GetErrorCount(), 1);
    EXPECT_EQ(g_errorStack.codes[0], kErrResultsFull);
  }
}

TEST(Segmentation, MupaSegCharReturnsTheBoxesAndItsWarnings) {
  ResetMupaLibrary();
  TempFolder folder;
  const int16_t handle = MupaBegin();
  const std::string path = folder.Write("h.dic", MakeHeaderOnlyDict());
  ASSERT_EQ(MupaLoadPatternDict(handle, path.c_str()), 0);
  const int16_t dict = MupaGetDictHandle(handle, path.c_str());
  const int16_t env = MupaOpenExecEnv(handle, kExecEnvMode);
  ASSERT_EQ(MupaRegisterPatternDict(handle, env, dict), 0);
  ASSERT_EQ(MupaSetCharType(handle, dict, kTypeDigits), 0);
  penkit::BitImage image = Blocks(110, 30, Row({4, 20, 36, 52, 68}));
  MupaImage d = image.Descriptor();
  d.dpi = 200;
  const MupaRect rect = image.Rect();
  MupaRecogOptions options = {};
  options.marker[0] = options.marker[1] = 1;
  options.mode = 1;
  std::vector<MupaRect> boxes(6);
  int16_t count = 0;
  ASSERT_EQ(MupaSegChar(handle, env, &d, &rect, &options, boxes.data(), 6, &count), 0);
  EXPECT_EQ(count, 5);
  EXPECT_TRUE(boxes[4] == Row({68})[0]);
  EXPECT_EQ(boxes[5].right, 0);
  ASSERT_EQ(MupaSegChar(handle, env, &d, &rect, &options, boxes.data(), 3, &count), 0);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(ErrorsOf(handle), std::vector<uint16_t>{kErrResultsFull});
  ResetMupaLibrary();
}

// Work records laid out by hand: components at the given boxes, all in one
// row (number 1) of the type-driven grouping.
std::unique_ptr<SegmentWork> OneWideRow(const std::vector<MupaRect>& boxes) {
  auto w = std::make_unique<SegmentWork>();
  *w = SegmentWork{};
  w->header.componentCount = static_cast<int16_t>(boxes.size());
  w->header.boxCount = 1;
  ResetUnionBox(&w->rows[1].box);
  for (size_t i = 0; i < boxes.size(); ++i) {
    ComponentRecord& c = w->components[i];
    c.box = boxes[i];
    c.width = static_cast<int16_t>(boxes[i].right - boxes[i].left + 1);
    c.height = static_cast<int16_t>(boxes[i].bottom - boxes[i].top + 1);
    c.boxNumber = 1;
    UniteBoxes(w->rows[1].box, c.box, &w->rows[1].box);
  }
  w->rows[1].number = 1;
  w->rows[1].state = kRowTooWide;
  return w;
}

std::vector<std::vector<int>> PiecesOf(const SegmentWork& w) {
  std::vector<std::vector<int>> out;
  for (int r = 0; r < w.header.boxCount; ++r) {
    out.push_back({});
    for (int i = 0; i < w.header.componentCount; ++i) {
      if (w.components[i].boxNumber == w.rows[r].number) out.back().push_back(i);
    }
  }
  return out;
}

TEST(Segmentation, WideBoxesSplitAtTheirLargestGaps) {
  struct Case {
    const char* what;
    std::vector<MupaRect> components;
    std::vector<std::vector<int>> pieces;
  };
  const Case cases[] = {
      {"three pieces at the two largest centre gaps",
       {{0, 0, 9, 19}, {11, 0, 20, 19}, {23, 0, 32, 19}, {36, 0, 45, 19}},
       {{0, 1}, {2}, {3}}},
      {"a gap where components overlap by half a width is never cut",
       {{0, 0, 39, 19}, {19, 0, 58, 19}, {61, 0, 64, 19}, {66, 0, 69, 19}},
       {{0, 1}, {2}, {3}}},
      {"nothing to cut when every gap is blocked",
       {{0, 0, 30, 9}, {5, 12, 35, 19}, {10, 22, 40, 29}}, {{0, 1, 2}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto w = OneWideRow(c.components);
    SplitWideBoxes(12, 15, w.get());
    FinishGroupedRows(w.get());
    EXPECT_EQ(PiecesOf(*w), c.pieces);
  }
}

TEST(Segmentation, MoreThanAHundredGroupedBoxesAreCutWithAWarning) {
  auto w = std::make_unique<SegmentWork>();
  *w = SegmentWork{};
  w->header.boxCount = 150;
  for (int r = 1; r <= 150; ++r) w->rows[r].number = static_cast<uint16_t>(r);
  ClearErrorStack();
  FinishGroupedRows(w.get());
  EXPECT_EQ(w->header.boxCount, kMaxBoxes);
  EXPECT_EQ(GetErrorCount(), 1);
  EXPECT_EQ(g_errorStack.codes[0], kErrCapacityFull);
}

TEST(Segmentation, FewerThanTwoComponentsGroupWithoutAPitch) {
  auto w = OneWideRow({{3, 3, 12, 22}});
  w->header.boxCount = 0;
  w->components[0].boxNumber = 0;
  EXPECT_EQ(GroupAlnum(kTypeDigits, kMaxBoxes, w.get()), 0);
  EXPECT_EQ(w->header.boxCount, 1);
  w->components[0].boxNumber = 0;
  w->header.boxCount = 0;
  EXPECT_EQ(GroupKana(kTypeKatakana, kMaxBoxes, w.get()), 0);
  EXPECT_EQ(w->header.boxCount, 1);
}

// Rows of every run of one to three consecutive touching components: far
// more than 3,000 sequences, and no row can be dropped (no inner gap).
std::unique_ptr<SegmentWork> DenseLattice(int components) {
  auto w = std::make_unique<SegmentWork>();
  *w = SegmentWork{};
  w->header.componentCount = static_cast<int16_t>(components);
  w->header.size = 20;
  for (int i = 0; i < components; ++i) {
    const int16_t left = static_cast<int16_t>(10 * i);
    w->components[i].box = {left, 0, static_cast<int16_t>(left + 9), 19};
    w->components[i].width = 10;
    w->components[i].height = 20;
  }
  int rows = 0;
  for (int i = 0; i < components; ++i) {
    for (int n = 1; n <= 3 && i + n <= components; ++n) {
      CharBoxRow& r = w->rows[rows];
      r = CharBoxRow{};
      r.box = {static_cast<int16_t>(10 * i), 0, static_cast<int16_t>(10 * (i + n) - 1), 19};
      MeasureRow(&r);
      r.number = static_cast<uint16_t>(rows);
      r.componentCount = static_cast<uint16_t>(n);
      for (int k = 0; k < n; ++k) r.components[k] = static_cast<uint16_t>(i + k);
      ++rows;
    }
  }
  w->header.boxCount = static_cast<int16_t>(rows);
  return w;
}

TEST(Segmentation, TheChoiceEndsWhereNoRowCanBeDropped) {
  auto w = DenseLattice(24);  // 3 x 24 - 3 rows, over a million sequences
  ClearErrorStack();
  ASSERT_EQ(ChooseBestSegmentation(w.get(), kMaxBoxes), 0);
  // The chosen rows tile the line from its first component to its last.
  int next = 0;
  for (int r = 0; r < w->header.boxCount; ++r) {
    EXPECT_EQ(w->rows[r].components[0], next);
    next = w->rows[r].components[w->rows[r].componentCount - 1] + 1;
  }
  EXPECT_EQ(next, 24);
}

TEST(Segmentation, ChoosingAsManyBoxesAsTheMaximumIsReported) {
  // Five characters of the line's size: one row each is the best sequence.
  struct Case {
    int max;
    int errors;
  };
  for (const Case& c : {Case{5, 1}, Case{6, 0}}) {
    SCOPED_TRACE(c.max);
    auto w = DenseLattice(5);
    w->header.size = 10;
    ClearErrorStack();
    ASSERT_EQ(ChooseBestSegmentation(w.get(), c.max), 0);
    EXPECT_EQ(w->header.boxCount, 5);
    EXPECT_EQ(GetErrorCount(), c.errors);  // a line succeeds with at most max - 1 boxes
  }
}

TEST(Segmentation, ASingleBoxWithoutNeighboursHasNoPitchTerm) {
  auto w = DenseLattice(1);
  // Width and size 1.0 of the character size cost 10 each, no inner gap 10;
  // no neighbour, so no pitch term.
  w->header.size = 20;
  w->rows[0].box = {0, 0, 19, 19};
  MeasureRow(&w->rows[0]);
  const int path[1] = {0};
  EXPECT_EQ(ScoreSegmentPath(*w, path, 1), (3 * 100 + 2 * 100) / 4 + 100);
}

}  // namespace

namespace {

ComponentRecord Component(int16_t left, int16_t top, int16_t right, int16_t bottom) {
  return {{left, top, right, bottom}, static_cast<int16_t>(right - left + 1),
          static_cast<int16_t>(bottom - top + 1), 0, 0};
}

TEST(Segmentation, DigitsApartByBlankColumnsAreNeverJoined) {
  struct Case {
    const char* what;
    ComponentRecord a, b;
    int join;
  };
  const ComponentRecord digit = Component(4, 5, 23, 24);
  const Case cases[] = {
      {"a narrow one five columns from a digit", digit, Component(29, 5, 31, 24), -2},
      {"a narrow one one column from a digit", digit, Component(25, 5, 27, 24), -2},
      {"a tail sharing a column with its digit", digit, Component(23, 8, 26, 20), -1},
      {"pieces touching without a blank column", digit, Component(24, 5, 28, 24), -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int relation = ClassifyBoxOverlap(c.a.box, c.b.box);
    EXPECT_EQ(DecideAlnumJoin(relation, c.a, c.b, 20, 20), c.join);
    EXPECT_EQ(DecideAlnumJoin(ClassifyBoxOverlap(c.b.box, c.a.box), c.b, c.a, 20, 20), c.join);
  }
}

}  // namespace

// Two characters cut apart where they meet share a column: each keeps the
// ink it draws there (a bar reaching over), not the whole column or none.
TEST(Segmentation, CharactersCutApartKeepTheirOwnInkOfASharedColumn) {
  const std::vector<MupaRect> digits = Row({4, 20, 36, 52});
  std::vector<MupaRect> ink = digits;
  // A stem with a top bar reaching column 78; a stem with a bottom bar from
  // column 78: one box of two characters, as grouping gives it.
  const std::vector<MupaRect> pair = {{68, 5, 70, 24}, {68, 5, 78, 7}, {85, 5, 87, 24},
                                      {78, 22, 87, 24}};
  ink.insert(ink.end(), pair.begin(), pair.end());
  penkit::BitImage image = Blocks(110, 30, ink);
  std::vector<MupaRect> rows = digits;
  rows.push_back({68, 5, 87, 24});
  auto w = GroupedRows(rows);
  const MupaImage d = image.Descriptor();
  const RunImage page{d.width, d.height, 1, d.bytesPerLine, 200, d.bits};
  RepairGroupedBoxes(kTypeDigits, {}, &page, w.get());
  std::vector<MupaRect> boxes;
  for (int r = 0; r < w->header.boxCount; ++r) boxes.push_back(w->rows[r].box);
  std::vector<MupaRect> expected = digits;
  expected.push_back({68, 5, 78, 24});
  expected.push_back({78, 5, 87, 24});
  EXPECT_EQ(boxes, expected);
}
