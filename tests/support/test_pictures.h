// Pictures as rows of text and the image files the tests and tools write
// from them byte by byte (BMP, TIFF, PNG), so that what the code under test
// reads never comes from that code itself. The one writer of picture files
// outside the program. Portable; each writer returns false when the file
// could not be written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture as rows of text: '#' black, '.' white, 'r' red, 'g' green,
// 'b' blue, '-' a light grey (level 200).
using Picture = std::vector<std::string>;

struct PictureRgb {
  std::uint8_t red, green, blue;
};

// The colour a picture character stands for.
PictureRgb PictureColor(char c);
// Grey level of a colour, 0 to 255.
int Luminance(int red, int green, int blue);

// A picture of width x height, '#' where `black(x, y)`.
Picture PatternPicture(int width, int height, bool (*black)(int x, int y));

// BMP with 1 (black and white), 8 (grey levels) or 24 bits a pixel, rows
// bottom-up. For 1 bit `blackFirst` puts black at palette index 0.
bool WriteBmp(const std::string& path, const Picture& picture, int bitsPerPixel,
              bool blackFirst = true, int dpi = 300);
// 24-bit BMP of `rgb` (width x height pixels, 3 bytes each, rows top down).
bool WriteBmpRgb(const std::string& path, int width, int height,
                 const std::vector<std::uint8_t>& rgb);
// PNG (8-bit RGB, stored deflate blocks) of `rgb` as for WriteBmpRgb.
bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgb);
// Uncompressed 1-bit TIFF with one page per picture, WhiteIsZero (as fax
// and scanner files are) or BlackIsZero.
void WriteTiff(const std::string& path, const std::vector<Picture>& pages, bool whiteIsZero,
               int dpi = 300);

// A 1-bit BMP in the layout scanners and the reading run use: `width` x
// `height` pixels, black where `black(x, y)` holds (y from the top).
// `blackIsZero` puts black first in the palette. `bitsPerPixel` other than 1
// writes a header that claims it over the 1-bit rows, for refusals. Returns
// the path.
std::string WriteOneBitBmp(const std::string& path, int width, int height,
                           bool blackIsZero, bool (*black)(int x, int y),
                           int bitsPerPixel = 1);

std::string ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);
