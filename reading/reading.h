// Scanning and reading: sheet images, registration marks, field reading and
// the reading run. This header holds what other subsystems call so far.
#pragma once

// A width limit at or beyond an image's width counts its full width.
constexpr int kInkFullWidth = 1 << 30;

// Number of black pixels of the 1-bit BMP sheet image `path`, counted
// inside a margin of 3 pixels on every side and left of column
// `widthLimit`; -1 when the file cannot be read or is not a 1-bit BMP.
int MeasureSheetImageInk(const char* path, int widthLimit);
