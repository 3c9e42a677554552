// Pixel rows in memory and the image operations that need no platform:
// turning, cutting by a polygon and making a page black and white. The
// imaging libraries run them on the pixel rows of their images.
//
// Pixel values: 1 and 8 bits a palette index (1 bit: the most significant
// bit leftmost), 24 and 32 bits the bytes blue, green, red (and one unused),
// passed around as 0xRRGGBB.
#pragma once

#include <cstddef>
#include <cstdint>

// Largest image the libraries make or accept: an A0 page at 600 dpi fits.
constexpr int kMaxImageSide = 32000;
constexpr std::size_t kMaxImageBytes = std::size_t{256} << 20;

// A view of pixel rows; it owns nothing.
struct Raster {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;       // 1, 8, 24 or 32
  std::ptrdiff_t stride = 0;  // bytes from one row to the next; negative
                              // when the rows are stored bottom-up
  uint8_t* top = nullptr;     // first byte of the top row

  uint8_t* Row(int y) const { return top + y * stride; }
};

// Bytes of one row padded to 32 bits, as DIB rows are; 0 for a size that
// does not fit.
std::ptrdiff_t AlignedRowBytes(int width, int bitsPerPixel);

uint32_t GetRasterPixel(const Raster& raster, int x, int y);
void SetRasterPixel(const Raster& raster, int x, int y, uint32_t value);
// Sets every pixel, and the padding bits of 1-bit rows, to `value`.
void FillRaster(const Raster& raster, uint32_t value);

// Size of the canvas that holds a width x height image turned by `angle`
// hundredths of a degree.
void RotatedSize(int width, int height, int angle, int* rotatedWidth, int* rotatedHeight);
// Turns `source` by `angle` hundredths of a degree, anticlockwise as the
// image is seen, about its centre into `target` (same bits a pixel, the size
// of RotatedSize). Quarter turns move pixels exactly; other angles take the
// nearest source pixel. Pixels no source pixel covers get `fill`.
void RotateRaster(const Raster& source, const Raster& target, int angle, uint32_t fill);

// Pixel rectangle: left and top inclusive, right and bottom exclusive.
struct PixelBox {
  int left = 0, top = 0, right = 0, bottom = 0;
};
struct PixelPoint {
  int x = 0, y = 0;
};

// The pixels of a width x height image that a polygon of `count` corner
// points can cover, as a box clipped to the image. False when empty.
bool PolygonBox(const PixelPoint* points, int count, int width, int height, PixelBox* box);
// Copies `box` of `source` into `target` (the size of the box, same bits a
// pixel). With `polygonOnly` the pixels whose centres lie outside the closed
// polygon (even-odd rule) get `outside`. `mask` (1-bit, the size of the box,
// may be null) gets `inside` where the copied pixels lie and the other value
// elsewhere.
void CutRaster(const Raster& source, const PixelPoint* points, int count, const PixelBox& box,
               bool polygonOnly, uint32_t outside, const Raster& target, const Raster* mask,
               uint32_t inside);

// Palette entries as 0xRRGGBB, for 8-bit sources.
struct RasterPalette {
  const uint32_t* colors = nullptr;
  int count = 0;
};
// Brightness channels for ThresholdRaster.
enum class LevelChannel { kRed, kGreen, kBlue, kLuminance };
// Makes `target` (1-bit, same size; index 0 black, 1 white) from `source`
// (8 bits through `palette`, or 24 or 32 bits): a pixel is black when its
// level in `channel` is below `threshold` (0 to 256).
void ThresholdRaster(const Raster& source, const RasterPalette& palette, LevelChannel channel,
                     int threshold, const Raster& target);
