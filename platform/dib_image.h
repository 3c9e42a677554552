// Image handles of the imaging libraries: a packed DIB (BITMAPINFOHEADER,
// palette, pixel rows) in movable global memory, so that any of the five
// libraries, and the program, can take an image made by another. Images the
// libraries make hold their rows top-down; 1-bit pages read from BMP files
// keep the file's row order (bottom-up as a rule), so that their rows are
// read in one piece.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "platform/raster.h"

constexpr int kWhite = 0xFFFFFF;
// Palette of black-and-white images: index 0 black, 1 white.
extern const RGBQUAD kBlackWhitePalette[2];

// A new image with the given palette (up to 256 entries; none for 24 and
// 32 bits) and resolution, its pixels all 0. 0 when the size or depth is out
// of range or memory runs out.
HGLOBAL CreateImage(int width, int height, int bitsPerPixel, const RGBQUAD* palette,
                    int paletteCount, int xDpi, int yDpi);

// How a BMP file stores its rows and resolution, for images whose rows are
// read straight from a file.
struct StoredRows {
  bool bottomUp = false;
  LONG xPelsPerMeter = 0;
  LONG yPelsPerMeter = 0;
};
// An image like CreateImage's with the rows in the order and the resolution
// of `stored`, its pixel rows not cleared: the caller fills every byte.
HGLOBAL CreateImageAs(int width, int height, int bitsPerPixel, const RGBQUAD* palette,
                      int paletteCount, const StoredRows& stored);

// The pixels of an image for the life of the object. ok() is false for no
// image, a freed handle or memory that does not hold an image.
class ImageLock {
 public:
  explicit ImageLock(HGLOBAL image);
  ~ImageLock();
  ImageLock(const ImageLock&) = delete;
  ImageLock& operator=(const ImageLock&) = delete;

  bool ok() const { return header_ != nullptr; }
  BITMAPINFOHEADER& header() const { return *header_; }
  const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(header_); }
  int width() const { return header_->biWidth; }
  int height() const;
  int bitsPerPixel() const { return header_->biBitCount; }
  const RGBQUAD* palette() const;
  int paletteCount() const { return paletteCount_; }
  uint8_t* bits() const { return bits_; }
  Raster raster() const;
  int xDpi() const;
  int yDpi() const;
  std::size_t dataSize() const;

 private:
  HGLOBAL image_;
  BITMAPINFOHEADER* header_ = nullptr;
  int paletteCount_ = 0;
  uint8_t* bits_ = nullptr;
};

// An image of the depth, palette and resolution of `model`, of another size.
HGLOBAL CreateImageLike(const ImageLock& model, int width, int height);
// Frees an image; FALSE for no image or a handle that is not one.
BOOL FreeImage(HGLOBAL image);

// The pixel value that shows (red, green, blue) best in `image`: the nearest
// palette entry, or the colour itself for 24 and 32 bits.
uint32_t PixelValueOf(const ImageLock& image, int red, int green, int blue);
// Palette entries as 0xRRGGBB for the raster operations.
int PaletteColors(const ImageLock& image, uint32_t colors[256]);

int DpiFromPelsPerMeter(LONG pelsPerMeter);
LONG PelsPerMeterFromDpi(int dpi);
