// Image files and images for the tests of the imaging libraries. BMP and
// TIFF files are written byte by byte and PNG files through the platform's
// encoder, so that what the libraries read never comes from the libraries
// themselves; images are read back by parsing the DIB in the test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/memory_canvas.h"

// A picture as rows of text: '#' black, '.' white, 'r' red, 'g' green,
// 'b' blue, '-' a light grey (level 200).
using Picture = std::vector<std::string>;

// A picture of width x height, '#' where `black(x, y)`.
Picture PatternPicture(int width, int height, bool (*black)(int x, int y));

// BMP with 1 (black and white), 8 (grey levels) or 24 bits a pixel, rows
// bottom-up. For 1 bit `blackFirst` puts black at palette index 0.
void WriteBmp(const std::string& path, const Picture& picture, int bitsPerPixel,
              bool blackFirst = true, int dpi = 300);
// Uncompressed 1-bit TIFF with one page per picture, WhiteIsZero (as fax
// and scanner files are) or BlackIsZero.
void WriteTiff(const std::string& path, const std::vector<Picture>& pages, bool whiteIsZero,
               int dpi = 300);
// 24-bit PNG through the platform's encoder.
void WritePng(const std::string& path, const Picture& picture);

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// An image handle read back as a picture: '#' where a pixel's colour
// (through the palette) has a luminance below 128, else '.'.
Picture PictureOf(HGLOBAL image);
// Bits a pixel of an image handle, 0 for none.
int DepthOf(HGLOBAL image);

// A fresh, empty folder of that name in the working folder (the program
// folder of the tests); returns its name.
std::string FreshFolder(const std::string& name);
bool FileExistsNow(const std::string& path);
