// Image handles of the imaging libraries: a packed DIB (BITMAPINFOHEADER,
// palette, top-down pixel rows) in movable global memory, so that any of the
// five libraries, and the program, can take an image made by another.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "platform/raster.h"

// Largest image the libraries make or accept: an A0 page at 600 dpi fits.
constexpr int kMaxImageSide = 32000;
constexpr std::size_t kMaxImageBytes = std::size_t{256} << 20;

constexpr int kWhite = 0xFFFFFF;
// Palette of black-and-white images: index 0 black, 1 white.
extern const RGBQUAD kBlackWhitePalette[2];

// A new image with the given palette (up to 256 entries; none for 24 and
// 32 bits) and resolution, its pixels all 0. 0 when the size or depth is out
// of range or memory runs out.
HGLOBAL CreateImage(int width, int height, int bitsPerPixel, const RGBQUAD* palette,
                    int paletteCount, int xDpi, int yDpi);

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
