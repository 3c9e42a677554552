// The arithmetic of the workbench's image adjustments: margins stepped by a
// pixel, grid ratios stepped by a hundredth and their warnings, the scale
// of the image check view, and the run statistics line. Ratios are kept in
// hundredths so that what is stored, shown and compared is one value.
#pragma once

#include <string>

// A resolution code (1 = 200, 2 = 300, 3 = 400 dpi) from the DPI line of
// USER.INI: 300 and 400 give 2 and 3, any other value 1.
int ResolutionCodeOfDpiSetting(int dpi);
// The scanning resolution of a resolution code: 1 → 200, 2 → 300, any
// other → 400.
int DpiOfResolutionCode(int code);

// A stored grid ratio (dots per grid unit) in hundredths, rounded; a stored
// 0 stands for the unit the sheet prints (a quarter of a millimetre: 1.97,
// 2.95 and 3.94 at 200, 300 and 400 dpi).
int StoredRatioHundredths(double stored, int dpi);
// The ratio the workbench shows for a stored one: dpi / 100 − stored + 1,
// in hundredths.
int ShownRatioHundredths(int storedHundredths, int dpi);
// "1.04" from 104 (negative values keep their sign).
std::string FormatHundredths(int hundredths);

// A margin outside −20 to 20 pixels, or a shown ratio outside 0.90 to 1.10,
// deserves a warning.
bool MarginNeedsWarning(int pixels);
bool RatioNeedsWarning(int shownHundredths);

// The length a view draws an image side of `pixels` at a shown ratio:
// factor (ratio − 1) / 2 + 1, truncated to whole pixels.
int ViewImageLength(int pixels, int shownHundredths);

// The statistics line of a finished run: sheets read from `pages` (halved
// for two-sided scans), and the seconds or, when there were any, the sheets
// refused.
std::string FormatRunStatistics(long pages, bool twoSided, unsigned long milliseconds,
                                long refused = 0);
