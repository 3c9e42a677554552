// The workbench's image arithmetic in hundredths: ratios shown from what is
// stored, the warnings on the shown value, the view's scale and the run
// statistics.
#include <gtest/gtest.h>

#include <string>

#include "reading/image_steps.h"

namespace {

TEST(ImageSteps, RatiosAreShownAndWarnedInHundredths) {
  struct Case {
    const char* what;
    double stored;
    int dpi;
    int presses;  // of "wider": a hundredth off the stored value each
    const char* shown;
    bool warns;
  };
  const Case cases[] = {
      // 3.94 pixels, the printed quarter millimetre, against 4.00.
      {"stored 0 stands for the printed unit", 0, 400, 0, "1.06", false},
      {"and at 200 dpi", 0, 200, 0, "1.03", false},
      {"stored 2.00 at 200 dpi", 2.00, 200, 0, "1.00", false},
      {"ten presses stay inside", 2.00, 200, 10, "1.10", false},
      {"eleven presses warn", 2.00, 200, 11, "1.11", true},
      // 0.01 subtracted ten times in doubles leaves 1.9000000000000008:
      // the shown value must still be 1.10 and no warning.
      {"binary fractions do not leak", 1.9000000000000008, 200, 0, "1.10", false},
      {"below 0.90 warns", 3.11, 300, 0, "0.89", true},
      {"0.90 itself does not", 3.10, 300, 0, "0.90", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int stored = StoredRatioHundredths(c.stored, c.dpi) - c.presses;
    const int shown = ShownRatioHundredths(stored, c.dpi);
    EXPECT_EQ(FormatHundredths(shown), c.shown);
    EXPECT_EQ(RatioNeedsWarning(shown), c.warns);
  }
}

TEST(ImageSteps, MarginsWarnOutsideTwentyPixels) {
  EXPECT_FALSE(MarginNeedsWarning(-20));
  EXPECT_TRUE(MarginNeedsWarning(-21));
  EXPECT_FALSE(MarginNeedsWarning(20));
  EXPECT_TRUE(MarginNeedsWarning(21));
  EXPECT_EQ(FormatHundredths(-5), "-0.05");
}

TEST(ImageSteps, ResolutionCodesAndTheViewScale) {
  EXPECT_EQ(ResolutionCodeOfDpiSetting(300), 2);
  EXPECT_EQ(ResolutionCodeOfDpiSetting(400), 3);
  EXPECT_EQ(ResolutionCodeOfDpiSetting(600), 1);
  EXPECT_EQ(DpiOfResolutionCode(1), 200);
  EXPECT_EQ(DpiOfResolutionCode(4), 400);
  EXPECT_EQ(ViewImageLength(1000, 100), 1000) << "1.00 draws the image at its own size";
  EXPECT_EQ(ViewImageLength(1000, 104), 1020) << "1.04 gives the factor 1.02";
  EXPECT_EQ(ViewImageLength(1699, 104), 1732) << "whole pixels, truncated";
}

TEST(ImageSteps, StatisticsCountSheetsOfTwoSidedScansOnce) {
  EXPECT_EQ(FormatRunStatistics(6, true, 30000), "読取枚数：3枚　30.0秒");
  EXPECT_EQ(FormatRunStatistics(1, false, 1234), "読取枚数：1枚　1.2秒");
  EXPECT_EQ(FormatRunStatistics(4, true, 1000, 1), "読取枚数：2枚　不可：1枚");
}

}  // namespace
