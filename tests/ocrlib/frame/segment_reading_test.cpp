// Segmentation that reads the boxes the line's shape leaves open: rendered
// lines of every character type through MupaSegChar with a dictionary
// trained at test time (other seeds than the lines'), against the same
// lines cut by their shape alone (a dictionary without patterns).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "ocrlib/frame/frame_internal.h"
#include "tests/ocrlib/frame/rendered_session.h"

namespace {

constexpr int kPerClass = 120;
constexpr int kLines = 40;

struct TypeCase {
  glyphs::CharSet set;
  uint32_t mask;
};

class SegmentReadingTest : public ::testing::TestWithParam<TypeCase> {
 protected:
  void SetUp() override {
    ResetMupaLibrary();
    OpenRenderedSession(GetParam().set, GetParam().mask, kPerClass, folder_, &session_);
  }
  void TearDown() override { ResetMupaLibrary(); }

  // Boxes found exactly on `kLines` lines with gaps of minGap..8 pixels:
  // read through MupaSegChar, and by the shape alone.
  struct Exact {
    int read = 0, shape = 0, total = 0;
  };
  Exact CountExact(int minGap, uint32_t seed) {
    Exact e;
    std::mt19937 rng(seed);
    const auto classes = glyphs::CharacterSet(GetParam().set);
    DictBlock shapeOnly = {};
    shapeOnly.header = MakeDictHeader(GetParam().mask, "shape", true);
    shapeOnly.header.currentTypes = GetParam().mask;
    DictBlock* dicts[1] = {&shapeOnly};
    MupaRecogOptions options = {};
    options.marker[0] = options.marker[1] = 1;
    options.mode = 1;
    for (int l = 0; l < kLines; ++l) {
      glyphs::GlyphLine line = glyphs::MakeLine(
          *session_.renderer, classes, std::uniform_int_distribution<int>(5, 20)(rng), minGap, 8, rng);
      MupaImage image = line.image.Descriptor();
      MupaRect read[kMaxBoxes], shape[kMaxBoxes];
      int16_t readCount = 0;
      EXPECT_GE(MupaSegChar(session_.handle, session_.env, &image, &line.image.ink, &options, read, kMaxBoxes,
                            &readCount), -1);
      RecogRunBlock run = RunOver(
          RunImage{image.width, image.height, 1, image.bytesPerLine, 200, image.bits},
          line.image.ink, dicts);
      int shapeCount = 0;
      SegmentCharacters(&run, shape, kMaxBoxes, &shapeCount);
      for (const MupaRect& truth : line.boxes) {
        e.read += std::count(read, read + readCount, truth) > 0;
        e.shape += std::count(shape, shape + shapeCount, truth) > 0;
        ++e.total;
      }
    }
    return e;
  }

  // The boxes MupaSegChar finds on the line (none when it fails).
  std::vector<MupaRect> SegmentThroughExport(glyphs::GlyphLine& line,
                                             const MupaRecogOptions& options) {
    MupaImage image = line.image.Descriptor();
    MupaRect found[kMaxBoxes];
    int16_t count = 0;
    const int rc = MupaSegChar(session_.handle, session_.env, &image, &line.image.ink, &options,
                               found, kMaxBoxes, &count);
    EXPECT_EQ(rc, 0);
    if (rc != 0) return {};
    return std::vector<MupaRect>(found, found + count);
  }

  TempFolder folder_;
  RenderedSession session_;
};

// Reading cuts characters that touch where the shape leaves them whole, and
// joins the pieces of one the shape leaves apart; on lines whose characters
// stand apart it loses nothing the shape found.
TEST_P(SegmentReadingTest, ReadingFindsMoreBoxesThanTheShapeAlone) {
  const uint32_t seed = TestSeed(GetParam().set) + 500;
  const Exact touching = CountExact(-1, seed);
  const Exact spaced = CountExact(1, seed + 1);
  EXPECT_GT(touching.read, touching.shape) << "of " << touching.total;
  EXPECT_GE(spaced.read, spaced.shape) << "of " << spaced.total;
}

// The line export cuts a line as MupaSegChar does: on lines where some
// characters touch, its characters' boxes are MupaSegChar's, in order.
TEST_P(SegmentReadingTest, TheLineExportCutsLikeMupaSegChar) {
  std::mt19937 rng(TestSeed(GetParam().set) + 700);
  const auto classes = glyphs::CharacterSet(GetParam().set);
  MupaRecogOptions options = {};
  options.marker[0] = options.marker[1] = 1;
  options.mode = 2;
  for (int l = 0; l < 10; ++l) {
    glyphs::GlyphLine line = glyphs::MakeLine(
        *session_.renderer, classes, std::uniform_int_distribution<int>(5, 20)(rng), -1, 8, rng);
    const std::vector<MupaRect> segmented = SegmentThroughExport(line, options);
    MupaImage image = line.image.Descriptor();
    MupaCharResult records[kMaxBoxes];
    uint16_t status = 0;
    const int n = MupaExecuteOneLine(session_.handle, session_.env, &image, &line.image.ink,
                                     &options, records, kMaxBoxes, 0, &status);
    ASSERT_GE(n, 1) << "line " << l;
    std::vector<MupaRect> read;
    for (int i = 0; i + 1 < n; ++i) read.push_back(records[i].box);
    EXPECT_EQ(read, segmented) << "line " << l;
  }
}

// Characters drawn undistorted by one face at one size, left to right with
// the given gaps between their ink boxes (-1: they share a column), bottoms
// on one line; the boxes of their ink.
glyphs::GlyphLine DrawLine(const glyphs::GlyphRenderer& renderer, int face, int em,
                           const std::u32string& text, const std::vector<int>& gaps) {
  glyphs::Distortion none;
  none.maxRotationDeg = none.maxShear = none.maxAspect = 0;
  none.minScale = none.maxScale = 1;
  none.thickenChance = none.thinChance = none.speckleChance = none.breakChance = 0;
  std::mt19937 rng(1);
  std::vector<glyphs::GlyphImage> glyphs;
  int height = 0;
  for (char32_t c : text) {
    glyphs.push_back(renderer.Render(c, face, em, none, rng));
    height = std::max(height, glyphs.back().ink.bottom - glyphs.back().ink.top + 1);
  }
  glyphs::GlyphLine line;
  int x = 8;
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const MupaRect& ink = glyphs[i].ink;
    if (i > 0) x += gaps[i - 1];
    const int w = ink.right - ink.left + 1, h = ink.bottom - ink.top + 1;
    const int top = 8 + height - h;
    line.boxes.push_back({static_cast<int16_t>(x), static_cast<int16_t>(top),
                          static_cast<int16_t>(x + w - 1), static_cast<int16_t>(top + h - 1)});
    x += w;
  }
  glyphs::GlyphImage& image = line.image;
  image.width = x + 8;
  image.height = height + 16;
  image.bytesPerLine = (image.width + 7) / 8;
  image.bits.assign(static_cast<size_t>(image.bytesPerLine) * image.height, 0);
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const glyphs::GlyphImage& g = glyphs[i];
    for (int y = g.ink.top; y <= g.ink.bottom; ++y) {
      for (int gx = g.ink.left; gx <= g.ink.right; ++gx) {
        if (!g.Get(gx, y)) continue;
        image.Set(line.boxes[i].left + gx - g.ink.left, line.boxes[i].top + y - g.ink.top);
      }
    }
  }
  image.ink = {0, 0, static_cast<int16_t>(image.width - 1), static_cast<int16_t>(image.height - 1)};
  return line;
}

// Lines of four characters, the middle two written close (sharing a column,
// side by side, or a few pixels apart): every box found exactly. A capital
// pair no wider than 1.3 characters is tried in two, the places a cut would
// cross a single pixel of ink preferred; a katakana's strokes drawn a
// quarter of the line's height apart stay one box, and strokes a blank
// column parts are read to tell which character each belongs to (a "ハ" a
// few pixels from a "ル" is four strokes of about one width). Where two
// characters' strokes run together, the column of the joint each gets is
// read; a capital's column of the joint that only the joined
// strokes cross, beside a right neighbour whose edge runs straight, is the
// left one's.
TEST_P(SegmentReadingTest, EveryCharacterGetsItsOwnBox) {
  struct Case {
    const char* what;
    glyphs::CharSet set;
    int face;
    std::u32string text;
    int gap;  // between the middle two
    // Columns into the third character where two columns of its top third
    // are wiped, a stroke broken on the scan (0: none).
    int breakAt = 0;
    // A crumb of the last character: a pixel this many columns right of
    // its ink at half its height, or this many rows over its ink at its
    // middle column (0: none).
    int crumbRight = 0, crumbAbove = 0;
  };
  const Case cases[] = {
      {"R and S sharing a column", glyphs::CharSet::kCapitals, 3, U"WRSC", -1},
      {"I touching H", glyphs::CharSet::kCapitals, 4, U"NIHT", 0},
      {"E touching F", glyphs::CharSet::kCapitals, 2, U"JEFP", 0},
      {"J touching T", glyphs::CharSet::kCapitals, 0, U"DJTY", 0},
      {"O sharing a column with U", glyphs::CharSet::kCapitals, 5, U"IOUQ", -1},
      {"J sharing a column with P", glyphs::CharSet::kCapitals, 8, U"BJPC", -1},
      {"O sharing a column with K", glyphs::CharSet::kCapitals, 4, U"OOKE", -1},
      {"E sharing a column with E", glyphs::CharSet::kCapitals, 12, U"DEEU", -1},
      {"a so of strokes apart sharing a column with ko", glyphs::CharSet::kKatakana, 0,
       U"トソコハ", -1},
      {"a so of strokes apart beside ko", glyphs::CharSet::kKatakana, 0, U"トソコハ", 3},
      {"te touching yo", glyphs::CharSet::kKatakana, 2, U"ネテヨホ", 0},
      {"mi sharing a column with yu", glyphs::CharSet::kKatakana, 4, U"ユミユロ", -1},
      {"ha two pixels from ru", glyphs::CharSet::kKatakana, 0, U"トハルコ", 2},
      {"ha two pixels from ru, another face", glyphs::CharSet::kKatakana, 2, U"トハルコ", 2},
      {"ha three pixels from ru", glyphs::CharSet::kKatakana, 4, U"トハルコ", 3},
      {"ri two pixels from ha", glyphs::CharSet::kKatakana, 1, U"トリハコ", 2},
      {"n sharing a column with nu", glyphs::CharSet::kKatakana, 5, U"ランヌマ", -1},
      {"ta touching u", glyphs::CharSet::kKatakana, 1, U"ハタウシ", 0},
      {"0 seven pixels from a 7 whose bar is broken", glyphs::CharSet::kDigits, 4, U"5072", 7, 4},
      {"0 eight pixels from a 7 whose bar is broken", glyphs::CharSet::kDigits, 6, U"5072", 8, 4},
      {"0 five pixels from a 7 whose bar is broken", glyphs::CharSet::kDigits, 5, U"5072", 5, 4},
      {"a crumb four columns beside a 2", glyphs::CharSet::kDigits, 0, U"5072", 5, 0, 5},
      {"a crumb of a he over it, under its neighbours' tops", glyphs::CharSet::kKatakana, 0,
       U"トソコヘ", 5, 0, 0, 9},
      {"1 touching 1, the pair no wider than a digit", glyphs::CharSet::kDigits, 1, U"5117", 0},
      {"1 touching 7, the pair no wider than a digit", glyphs::CharSet::kDigits, 1, U"5172", 0},
  };
  MupaRecogOptions options = {};
  options.marker[0] = options.marker[1] = 1;
  options.mode = 1;
  for (const Case& c : cases) {
    if (c.set != GetParam().set) continue;
    SCOPED_TRACE(c.what);
    glyphs::GlyphLine line = DrawLine(*session_.renderer, c.face, 44, c.text, {5, c.gap, 5});
    if (c.breakAt > 0) {
      const MupaRect& b = line.boxes[2];
      for (int y = b.top; y <= b.top + (b.bottom - b.top + 1) / 3; ++y) {
        line.image.Clear(b.left + c.breakAt, y);
        line.image.Clear(b.left + c.breakAt + 1, y);
      }
    }
    MupaRect& last = line.boxes[3];
    if (c.crumbRight > 0) {
      last.right = static_cast<int16_t>(last.right + c.crumbRight);
      line.image.Set(last.right, (last.top + last.bottom) / 2);
    }
    if (c.crumbAbove > 0) {
      last.top = static_cast<int16_t>(last.top - c.crumbAbove);
      line.image.Set((last.left + last.right) / 2, last.top);
    }
    EXPECT_EQ(SegmentThroughExport(line, options), line.boxes);
  }
  // Rendered lines of six characters with blank columns between them (gaps
  // of 1 to 8 pixels): a character wider than the line's usual one that the
  // shape cuts through its ink is read whole again (its pieces share
  // columns, as characters apart do not; a capital's pieces may abut), a
  // wide capital the shape would cut into a short piece and a tall one
  // stays whole, two characters a clear gap apart that read well together
  // (a pair of digits wider than a digit) stay apart, a sliver broken off a
  // digit's edge as near its neighbour goes where it reads, a digit broken
  // in pieces that leave rows of their boxes blank (its stem or its tail
  // read as a "1") is read whole and, however wide, not cut where its
  // pieces would leave rows blank, and a katakana whose strokes read a
  // little closer apart, or lie a third of the line's height or more apart,
  // stays whole. On lines where some touch (gaps from
  // -1), two capitals pressed together over a run of ink are parted, so are
  // two capitals run together along a stroke (a cut between them crosses
  // much ink) that read far worse as one than the line's characters do (the
  // worse, or the wider than any capital, the less well their pieces need
  // read), far wider than the letter they read as, or read as "M" or "W"
  // but far from mirror-symmetric row by row as those are, two capitals
  // or two digits the shape cut apart through their ink a few columns off
  // the joint (again, where their pieces read best), two digits
  // touching whose box, wider than any digit, reads surely as one, two digits
  // sharing a column or abutting whose ink meets at the joint with no
  // stroke running through it, even where the pair reads as one with some
  // confidence, and two digits pressed together along a stroke whose box,
  // far wider than a digit, reads clearly as two; a digit standing apart is
  // not cut where a speck of the scan makes a piece look as tall as a
  // digit.
  struct RenderedCase {
    const char* what;
    glyphs::CharSet set;
    uint32_t seed;
    int minGap = 1;
  };
  const RenderedCase rendered[] = {
      {"a wide N", glyphs::CharSet::kCapitals, 2},
      {"a Z twice the usual width", glyphs::CharSet::kCapitals, 199},
      {"an M twice the usual width", glyphs::CharSet::kCapitals, 265},
      {"E four pixels from X", glyphs::CharSet::kCapitals, 149},
      {"A six pixels from H", glyphs::CharSet::kCapitals, 695},
      {"A eight pixels from H", glyphs::CharSet::kCapitals, 2086},
      {"a wide U the shape cut in pieces sharing three columns", glyphs::CharSet::kCapitals, 533},
      {"an M the shape cut in pieces sharing eight columns", glyphs::CharSet::kCapitals, 2046},
      {"a Z whose foot a cut would take off", glyphs::CharSet::kCapitals, 920},
      {"a T whose bar a cut would take off", glyphs::CharSet::kCapitals, 1128},
      {"an N left in two pieces that abut", glyphs::CharSet::kCapitals, 29},
      {"a W left in two pieces that abut", glyphs::CharSet::kCapitals, 359},
      {"an M left in two pieces that abut", glyphs::CharSet::kCapitals, 1132},
      {"6 two pixels from a 6, together as wide as a wide digit", glyphs::CharSet::kDigits, 2225},
      {"5 two pixels from a 3, together as wide as a wide digit", glyphs::CharSet::kDigits, 4468},
      {"the tip of a 7 broken off beside a 6", glyphs::CharSet::kDigits, 460},
      {"the tip of a 7 broken off beside a 7", glyphs::CharSet::kDigits, 1714},
      {"a 2 broken in two, its pieces sharing columns", glyphs::CharSet::kDigits, 739},
      {"a 5 broken in two, its stem apart from its bowl", glyphs::CharSet::kDigits, 245},
      {"a broken 5 wider than the line's digits", glyphs::CharSet::kDigits, 359},
      {"a broken 5 twice as wide as the line's digits", glyphs::CharSet::kDigits, 484},
      {"ru, its strokes apart, first", glyphs::CharSet::kKatakana, 5},
      {"ru, its strokes apart, second", glyphs::CharSet::kKatakana, 10},
      {"wa, its stem apart", glyphs::CharSet::kKatakana, 80},
      {"ha, its strokes twelve pixels apart", glyphs::CharSet::kKatakana, 28},
      {"ha, its strokes ten pixels apart, last", glyphs::CharSet::kKatakana, 37},
      {"two capitals pressed together", glyphs::CharSet::kCapitals, 281, -1},
      {"two capitals pressed together, another pair", glyphs::CharSet::kCapitals, 466, -1},
      {"two capitals run together along a stroke", glyphs::CharSet::kCapitals, 1252, -1},
      {"two capitals run together along a stroke, another pair", glyphs::CharSet::kCapitals, 288,
       -1},
      {"two capitals run together where a cut crosses more ink than elsewhere",
       glyphs::CharSet::kCapitals, 198, -1},
      {"two capitals run together where a cut crosses more ink than elsewhere, another pair",
       glyphs::CharSet::kCapitals, 268, -1},
      {"two capitals run together, reading far worse than any capital", glyphs::CharSet::kCapitals,
       40, -1},
      {"two capitals run together, reading far worse than any capital, another pair",
       glyphs::CharSet::kCapitals, 60, -1},
      {"two capitals run together, wider than any capital", glyphs::CharSet::kCapitals, 651, -1},
      {"two capitals run together, wider than any capital, another pair",
       glyphs::CharSet::kCapitals, 1725, -1},
      {"two capitals run together, far wider than the letter they read as",
       glyphs::CharSet::kCapitals, 557, -1},
      {"two capitals run together, far wider than the letter they read as, another pair",
       glyphs::CharSet::kCapitals, 2293, -1},
      {"two capitals run together that read as a wide letter but are far from symmetric",
       glyphs::CharSet::kCapitals, 134, -1},
      {"two capitals run together that read as a wide letter but are far from symmetric, "
       "another pair",
       glyphs::CharSet::kCapitals, 647, -1},
      {"two capitals the shape cut apart off their joint", glyphs::CharSet::kCapitals, 50015, -1},
      {"two capitals the shape cut apart off their joint, another pair",
       glyphs::CharSet::kCapitals, 50288, -1},
      {"two digits touching, read surely as one", glyphs::CharSet::kDigits, 307, -1},
      {"two digits touching, read surely as one, another pair", glyphs::CharSet::kDigits, 1015, -1},
      {"two digits the shape cut apart off their joint", glyphs::CharSet::kDigits, 50155, -1},
      {"two digits the shape cut apart off their joint, another pair", glyphs::CharSet::kDigits,
       50245, -1},
      {"a narrow digit sharing a column with the next, their edges meeting",
       glyphs::CharSet::kDigits, 471, -1},
      {"a narrow digit abutting the next, their edges meeting", glyphs::CharSet::kDigits, 1293,
       -1},
      {"two digits sharing a column, their edges meeting, read as one with some doubt",
       glyphs::CharSet::kDigits, 961, -1},
      {"two digits sharing a column, their edges meeting, read as one with some doubt, another "
       "pair",
       glyphs::CharSet::kDigits, 4120, -1},
      {"two digits pressed together along a stroke, wider than a digit", glyphs::CharSet::kDigits,
       620, -1},
      {"two digits pressed together along a stroke, wider than a digit, another pair",
       glyphs::CharSet::kDigits, 1604, -1},
      {"a digit a cut would leave a piece of that a speck of the scan makes look tall",
       glyphs::CharSet::kDigits, 5605},
      {"a digit a cut would leave a piece of that a speck of the scan makes look tall, another",
       glyphs::CharSet::kDigits, 2246},
  };
  for (const RenderedCase& c : rendered) {
    if (c.set != GetParam().set) continue;
    SCOPED_TRACE(c.what);
    std::mt19937 rng(c.seed);
    glyphs::GlyphLine line =
        glyphs::MakeLine(*session_.renderer, glyphs::CharacterSet(c.set), 6, c.minGap, 8, rng);
    EXPECT_EQ(SegmentThroughExport(line, options), line.boxes);
  }
}

// The digits dictionary the build trains carries stroke models, and with
// them the structural recognisers judge the digit boxes the pattern
// classifier reads poorly. Rendered lines of six digits, some touching
// (gaps from -1): two digits whose box, as wide as the line's digits or
// wider, reads as one poorly written digit part where the structural
// recognisers take the whole for no digit and each piece for one. Without
// the models the reading has no such opinion and leaves each pair whole.
class DigitSegmentReadingTest : public SegmentReadingTest {};

TEST_P(DigitSegmentReadingTest, DigitPairsTheStrokeModelsTakeForNoDigitPart) {
  ASSERT_EQ(MupaLoadPatternDict(session_.handle, "digits.dic"), 0);
  const DictBlock* built = GetDictData(MupaGetDictHandle(session_.handle, "digits.dic"));
  ASSERT_NE(built, nullptr);
  ASSERT_NE(built->strokeModels, nullptr);
  DictBlock* reading = GetDictData(session_.dict);
  MupaRecogOptions options = {};
  options.marker[0] = options.marker[1] = 1;
  options.mode = 1;
  for (const uint32_t seed : {123u, 469u, 1443u, 2339u}) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    glyphs::GlyphLine line = glyphs::MakeLine(
        *session_.renderer, glyphs::CharacterSet(glyphs::CharSet::kDigits), 6, -1, 8, rng);
    reading->strokeModels = nullptr;
    EXPECT_NE(SegmentThroughExport(line, options), line.boxes);
    reading->strokeModels = built->strokeModels;
    EXPECT_EQ(SegmentThroughExport(line, options), line.boxes);
  }
  reading->strokeModels = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Types, SegmentReadingTest,
                         ::testing::Values(TypeCase{glyphs::CharSet::kDigits, 1},
                                           TypeCase{glyphs::CharSet::kCapitals, 2},
                                           TypeCase{glyphs::CharSet::kKatakana, 8}));
INSTANTIATE_TEST_SUITE_P(Digits, DigitSegmentReadingTest,
                         ::testing::Values(TypeCase{glyphs::CharSet::kDigits, 1}));

}  // namespace
