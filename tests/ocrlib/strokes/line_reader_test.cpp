// The line digit reader: pen-drawn lines of digits read against digit models
// derived from single drawn digits, the result records and their limits, the
// feature vector of a recognised character.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ocrlib/checks/checks_internal.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/model_kit.h"

namespace {

using penkit::Figure;

constexpr double kPen = 5;

// Digits drawn in a 50 x 80 cell whose top left is (x, 10).
Figure DigitAt(char d, double x) {
  Figure f;
  switch (d) {
    case '0': f.Circle({x + 25, 50}, 24); break;
    case '1': f.Line({x + 25, 10}, {x + 25, 90}); break;
    case '4':
      f.Polyline({{x + 32, 10}, {x + 2, 62}, {x + 48, 62}}).Line({x + 32, 30}, {x + 32, 90});
      break;
    case '7': f.Polyline({{x + 2, 10}, {x + 48, 10}, {x + 20, 90}}); break;
    default: break;
  }
  return f;
}

Figure LineOf(const std::string& digits, double step = 70) {
  Figure line;
  for (size_t i = 0; i < digits.size(); ++i) line.Add(DigitAt(digits[i], 10 + step * i));
  return line;
}

class LineReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<AuthoredModel> models;
    for (char d : std::string("0147")) {
      ModelDerivation how;
      how.name = std::string(1, d);
      models.push_back(modelkit::Derive(DigitAt(d, 0), kPen, how));
    }
    ModelDerivation slanted;
    slanted.name = "1";
    models.push_back(modelkit::Derive(Figure().Line({20, 10}, {40, 90}), kPen, slanted));
    models_ = std::make_unique<modelkit::LoadedModels>(models, std::vector<AuthoredModel>{});
  }

  // Reads the drawn line; the digits of the records, or the result code.
  struct Reading {
    int result;
    int count;
    std::string digits;
    std::vector<LineResultRecord> records;
  };
  Reading Read(penkit::BitImage& image, MupaRect rect, int capacity = 40,
               const ShapeCheckRoutines* checks = nullptr) {
    Reading r;
    r.records.assign(std::max(capacity, 1) + 2, LineResultRecord{});
    LineStrokeRun run = {image.bits().data(),  image.bytesPerLine(), rect,
                         &models_->ForStep(1), work_.get(),          checks};
    ClearErrorStack();
    r.result = ExtractCharStrokes(run, r.records.data(), capacity, &r.count);
    for (int i = 0; i + 1 < r.count; ++i) {
      if (r.records[i].code[0] == 0x82) r.digits += static_cast<char>(r.records[i].code[1] - 31);
    }
    return r;
  }

  std::unique_ptr<modelkit::LoadedModels> models_;
  std::unique_ptr<SessionWorkArea> work_ = std::make_unique<SessionWorkArea>();
};

TEST_F(LineReaderTest, ReadsTheDigitsOfALine) {
  for (const std::string digits : {"71", "1407", "4170"}) {
    SCOPED_TRACE(digits);
    penkit::BitImage image = penkit::Draw(LineOf(digits), kPen);
    const Reading r = Read(image, image.Rect());
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.digits, digits);
    ASSERT_EQ(r.count, static_cast<int>(digits.size()) + 1);
    EXPECT_EQ(r.records[r.count - 1].code[0], kLineEndMark);
    for (int i = 0; i < r.count; ++i) {
      EXPECT_EQ(r.records[i].empty, 0);
      EXPECT_EQ(r.records[i].rect.right, image.Rect().right);
    }
  }
}

TEST_F(LineReaderTest, ReadingsLinkOnlyAcrossSmallGapsAndSideBySide) {
  struct Case {
    const char* what;
    Figure line;
    std::string digits;
  };
  const Case cases[] = {
      {"two 1s apart", Figure().Line({20, 10}, {40, 90}).Line({70, 10}, {90, 90}), "11"},
      {"two 1s overlapping sideways", Figure().Line({20, 10}, {40, 90}).Line({37, 10}, {57, 90}),
       ""},
      {"a short dash between", LineOf("17").Add(Figure().Line({62, 60}, {68, 60})), "17"},
      {"a dash longer than a fifth of the height",
       LineOf("17").Add(Figure().Line({52, 60}, {78, 60})), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    penkit::BitImage image = penkit::Draw(c.line, kPen);
    const Reading r = Read(image, image.Rect());
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.digits, c.digits);
  }
}

TEST_F(LineReaderTest, ResultRecordsAndTheirLimits) {
  penkit::BitImage seven = penkit::Draw(LineOf("1111111", 30), kPen);
  {
    SCOPED_TRACE("seven digits into five records");
    const Reading r = Read(seven, seven.Rect(), 5);
    EXPECT_EQ(r.result, -1);
    EXPECT_EQ(g_errorStack.codes[0], kErrCapacityFull);
    EXPECT_EQ(r.count, 5);
    EXPECT_EQ(r.digits, "1111");
    EXPECT_EQ(r.records[4].code[0], kLineEndMark);
  }
  for (int capacity : {1, 0, -3}) {
    SCOPED_TRACE("capacity " + std::to_string(capacity));
    const Reading r = Read(seven, seven.Rect(), capacity);
    EXPECT_EQ(r.result, -9);
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(g_errorStack.codes[0], kErrCapacityFull);
    EXPECT_EQ(r.records[0].code[0], 0) << "nothing written";
  }
  {
    SCOPED_TRACE("nothing readable: a flat dash");
    penkit::BitImage dash = penkit::Draw(Figure().Line({10, 40}, {200, 44}), kPen);
    const Reading r = Read(dash, dash.Rect());
    EXPECT_EQ(r.result, 0);
    ASSERT_EQ(r.count, 2);
    EXPECT_EQ(r.records[0].code[0], 0xFF);
    EXPECT_EQ(r.records[0].code[1], 0xFF);
    EXPECT_EQ(r.records[1].code[0], kLineEndMark);
    EXPECT_EQ(r.records[0].empty, 1);
    EXPECT_EQ(r.records[1].empty, 1);
  }
  {
    SCOPED_TRACE("a column taller than wide reads fewer than two digits as none");
    penkit::BitImage one = penkit::Draw(LineOf("1"), kPen);
    MupaRect narrow = {30, 0, 40, static_cast<int16_t>(one.height() - 1)};
    const Reading r = Read(one, narrow);
    EXPECT_EQ(r.digits, "");
    EXPECT_EQ(r.count, 2);
  }
}

TEST_F(LineReaderTest, LinesAboveAMillionPixelsAreRefused) {
  // Over a million pixels: refused at once, without a code. At a million the
  // reading starts, and the neighbour map (over 500,000 bytes) refuses it.
  penkit::BitImage big(1000, 1001);
  const Reading refused = Read(big, big.Rect());
  EXPECT_EQ(refused.result, -9);
  EXPECT_EQ(refused.count, 0);
  EXPECT_EQ(GetErrorCount(), 0);
  penkit::BitImage square(1000, 1000);
  const Reading tried = Read(square, square.Rect());
  EXPECT_EQ(tried.result, -9);
  EXPECT_EQ(g_errorStack.codes[0], kErrNeighbourMap);
  penkit::BitImage wide(1000, 400);
  const Reading blank = Read(wide, wide.Rect());
  EXPECT_EQ(blank.result, 0);
  EXPECT_EQ(blank.count, 2);
}

TEST(StrokeFeatureVector, TwelveValuesAStroke) {
  // A ring: its outline runs once round in all eight directions; its centre
  // and size follow.
  modelkit::Character ch = modelkit::Analyse(Figure().Circle({40, 40}, 30), kPen, 1);
  const StrokeSegment* ring = ch.run.graph().groups.items[0].firstSegment;
  ASSERT_NE(ring, nullptr);
  ShapeCandidate& c = ch.work->candidates[0];
  std::fill(std::begin(c.matchedStroke), std::end(c.matchedStroke), nullptr);
  c.matchedStroke[0] = const_cast<StrokeSegment*>(ring);
  ch.work->current = &c;
  CopyStrokeFeaturesToRecord(&ch.run.points(), ch.work.get());
  const StrokePointTable& t = ch.run.points();
  ASSERT_EQ(t.points.count, 12);
  for (int d = 0; d < 8; ++d) {
    EXPECT_GT(t.points.items[d].savedY, 0) << "direction " << d;
    EXPECT_LE(t.points.items[d].savedY, 255);
  }
  EXPECT_EQ(t.points.items[8].savedY, ring->centreX);
  EXPECT_EQ(t.points.items[9].savedY, ring->centreY);
  EXPECT_EQ(t.points.items[10].savedY, std::min<int>(ring->sizeX, 255));
  EXPECT_EQ(t.points.items[11].savedY, std::min<int>(ring->sizeY, 255));
}

}  // namespace
