// 1-bit BMP files written byte by byte for tests, in the layout scanners
// and the reading run use (bottom-up rows, a two-entry palette).
#pragma once

#include <string>

// Writes `path`: `width` x `height` pixels, black where `black(x, y)` holds
// (y from the top). `blackIsZero` puts black first in the palette (bit value
// 0 black). `bitsPerPixel` other than 1 writes a header that claims it, for
// refusals. Returns the path.
std::string WriteOneBitBmp(const std::string& path, int width, int height,
                           bool blackIsZero, bool (*black)(int x, int y),
                           int bitsPerPixel = 1);
