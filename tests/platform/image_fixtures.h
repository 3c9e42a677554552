// Image files and images for the tests of the imaging libraries: PNG files
// through the platform's encoder (BMP and TIFF files come from
// tests/support/test_pictures.h), images read back by parsing the DIB in the
// test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/imaging_library.h"
#include "tests/support/memory_canvas.h"
#include "tests/support/test_pictures.h"

// An image of the imaging libraries, freed at scope end.
struct Owned {
  explicit Owned(HGLOBAL h) : image(h) {}
  ~Owned() {
    if (image) IKFreeMemory(image);
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  HGLOBAL image;
};

// 24-bit PNG through the platform's encoder (main thread only: the
// tests keep one factory open until they exit).
void WritePng(const std::string& path, const Picture& picture);

// Page `page` of an image file as the platform's decoder (WIC) reads it, as
// PictureOf does; empty when it cannot.
Picture PictureThroughPlatform(const std::string& path, int page);
// An image handle read back as a picture: '#' where a pixel's colour
// (through the palette) has a luminance below 128, else '.'.
Picture PictureOf(HGLOBAL image);
// Bits a pixel of an image handle, 0 for none.
int DepthOf(HGLOBAL image);

// Whether COM runs on the calling thread (in either model); leaves it so.
bool ThreadRunsCom();

// A fresh, empty folder of that name in the working folder (the program
// folder of the tests); returns its name.
std::string FreshFolder(const std::string& name);
bool FileExistsNow(const std::string& path);
