// Degenerate characters through the whole stroke pipeline: each gives the
// result its step promises, never a crash (the sanitizers watch).
#include <gtest/gtest.h>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

using penkit::BitImage;

BitImage Filled(int width, int height) {
  BitImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.Set(x, y);
  return image;
}

BitImage Specks() {
  BitImage image(40, 40);
  for (int i = 0; i < 12; ++i) image.Set((i * 13) % 37 + 1, (i * 7) % 31 + 3);
  return image;
}

// A result that may be either: a skeleton (0) or the blob refusal (-1).
constexpr int kSkeletonOrRefused = 1;

TEST(BadInput, DegenerateCharactersGiveTheirStepsResults) {
  struct Case {
    const char* what;
    BitImage image;
    int measured;  // TraceNormalizedChar
    int polygons;  // extraction, step 4
    int thinned;   // extraction, step 1
  };
  const Case cases[] = {
      {"blank", BitImage(30, 30), -9, -1, -1},
      {"single pixel", penkit::FromRows({"#"}), 0, -1, -1},
      {"full black rectangle", Filled(64, 64), 0, 0, kSkeletonOrRefused},
      {"round blob", penkit::Draw(penkit::Figure().Line({20, 20}, {20, 20.01}), 30), 0, 0, -1},
      {"one-pixel line", Filled(40, 1), 0, 0, 0},
      {"one-pixel column", Filled(1, 90), 0, 0, 0},
      {"lone specks", Specks(), 0, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BitImage image = c.image;
    EXPECT_EQ(penkit::MeasureChar(image, image.Rect()).result, c.measured);
    for (uint8_t step : {4, 1}) {
      SCOPED_TRACE(static_cast<int>(step));
      penkit::StrokeRun run = penkit::RunSteps(image, {step});
      const int expected = step == 4 ? c.polygons : c.thinned;
      if (expected == kSkeletonOrRefused)
        EXPECT_TRUE(run.extraction == 0 || run.extraction == -1) << run.extraction;
      else
        EXPECT_EQ(run.extraction, expected);
      if (run.extraction == 0) {
        EXPECT_EQ(run.analysis, 0);
      }
    }
  }
}

TEST(BadInput, NeighbourMapStopsAtItsSizeLimit) {
  // 88 byte columns x 8 + 4 = 708 pixels wide: 700 rows (704 with the
  // border) fit in 500,000 bytes, 710 rows do not.
  for (int height : {700, 710}) {
    SCOPED_TRACE(height);
    BitImage image(700, height);
    for (int y = 0; y < height; ++y) image.Set(y % 700, y);
    ClearErrorStack();
    penkit::StrokeRun run = penkit::RunSteps(image, {1});
    if (height == 700) {
      EXPECT_EQ(run.mapResult, 0);
      EXPECT_EQ(run.extraction, 0);
    } else {
      EXPECT_EQ(run.mapResult, -9);
      EXPECT_EQ(g_errorStack.codes[0], kErrNeighbourMap);
    }
  }
}

}  // namespace
