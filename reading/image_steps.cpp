#include "reading/image_steps.h"

#include "reading/sheet_core.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

int ResolutionCodeOfDpiSetting(int dpi) { return dpi == 300 ? 2 : dpi == 400 ? 3 : 1; }

int DpiOfResolutionCode(int code) { return code == 1 ? 200 : code == 2 ? 300 : 400; }

int StoredRatioHundredths(double stored, int dpi) {
  return static_cast<int>(std::lround(DotsPerUnit(stored, dpi) * 100));
}

int ShownRatioHundredths(int storedHundredths, int dpi) { return dpi - storedHundredths + 100; }

std::string FormatHundredths(int hundredths) {
  char text[32];
  const int magnitude = std::abs(hundredths);
  std::snprintf(text, sizeof text, "%s%d.%02d", hundredths < 0 ? "-" : "", magnitude / 100, magnitude % 100);
  return text;
}

bool MarginNeedsWarning(int pixels) { return pixels < -20 || pixels > 20; }

bool RatioNeedsWarning(int shownHundredths) { return shownHundredths > 110 || shownHundredths < 90; }

int ViewImageLength(int pixels, int shownHundredths) {
  // (ratio − 1) / 2 + 1 = (ratio + 1) / 2 = (shown + 100) / 200
  return static_cast<int>(static_cast<long long>(pixels) * (shownHundredths + 100) / 200);
}

std::string FormatRunStatistics(long pages, bool twoSided, unsigned long milliseconds,
                                long refused) {
  const long counted = twoSided ? pages / 2 : pages;
  char text[80];
  // Short enough for the workbench's message line (26 bytes): the sheets
  // refused take the place of the seconds.
  if (refused > 0) {
    std::snprintf(text, sizeof text, "読取枚数：%ld枚　不可：%ld枚", counted, refused);
  } else {
    std::snprintf(text, sizeof text, "読取枚数：%ld枚　%.1f秒", counted, milliseconds / 1000.0);
  }
  return text;
}
