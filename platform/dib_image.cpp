#include "platform/dib_image.h"

#include <cstdlib>
#include <cstring>

#include "platform/imaging_session.h"

const RGBQUAD kBlackWhitePalette[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};

namespace {

bool SupportedDepth(int bitsPerPixel) {
  return bitsPerPixel == 1 || bitsPerPixel == 8 || bitsPerPixel == 24 || bitsPerPixel == 32;
}

int MaxPaletteCount(int bitsPerPixel) { return bitsPerPixel <= 8 ? 1 << bitsPerPixel : 0; }

// Bytes of the pixel rows of a width x height image; 0 when out of range.
std::size_t PixelBytes(int width, int height, int bitsPerPixel) {
  if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide) return 0;
  const std::size_t bytes =
      static_cast<std::size_t>(AlignedRowBytes(width, bitsPerPixel)) * height;
  return bytes <= kMaxImageBytes ? bytes : 0;
}

// A new image; with `zeroed` false its rows hold whatever the memory held.
HGLOBAL NewImage(int width, int height, int bitsPerPixel, const RGBQUAD* palette,
                 int paletteCount, const StoredRows& stored, bool zeroed) {
  if (!SupportedDepth(bitsPerPixel) || paletteCount < 0 ||
      paletteCount > MaxPaletteCount(bitsPerPixel)) {
    return nullptr;
  }
  const std::size_t pixels = PixelBytes(width, height, bitsPerPixel);
  if (pixels == 0) return nullptr;
  const std::size_t headerBytes = sizeof(BITMAPINFOHEADER) + paletteCount * sizeof(RGBQUAD);
  HGLOBAL image = IKTakeImageMemory(headerBytes + pixels, zeroed);
  if (!image) return nullptr;
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(image));
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = width;
  header->biHeight = stored.bottomUp ? height : -height;
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(bitsPerPixel);
  header->biCompression = BI_RGB;
  header->biSizeImage = static_cast<DWORD>(pixels);
  header->biXPelsPerMeter = stored.xPelsPerMeter;
  header->biYPelsPerMeter = stored.yPelsPerMeter;
  header->biClrUsed = paletteCount;
  header->biClrImportant = 0;
  if (paletteCount > 0) {
    std::memcpy(header + 1, palette, paletteCount * sizeof(RGBQUAD));
  }
  GlobalUnlock(image);
  return image;
}

}  // namespace

int DpiFromPelsPerMeter(LONG pelsPerMeter) {
  return static_cast<int>((pelsPerMeter * 254 + 5000) / 10000);
}

LONG PelsPerMeterFromDpi(int dpi) { return dpi * 10000 / 254; }

HGLOBAL CreateImage(int width, int height, int bitsPerPixel, const RGBQUAD* palette,
                    int paletteCount, int xDpi, int yDpi) {
  StoredRows stored;
  stored.xPelsPerMeter = PelsPerMeterFromDpi(xDpi);
  stored.yPelsPerMeter = PelsPerMeterFromDpi(yDpi);
  return NewImage(width, height, bitsPerPixel, palette, paletteCount, stored, true);
}

// The rows are about to be read from a file whole: zeroing them first
// would only cost time.
HGLOBAL CreateImageAs(int width, int height, int bitsPerPixel, const RGBQUAD* palette,
                      int paletteCount, const StoredRows& stored) {
  return NewImage(width, height, bitsPerPixel, palette, paletteCount, stored, false);
}

ImageLock::ImageLock(HGLOBAL image) : image_(image) {
  if (!image) return;
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(image));
  if (!header) {
    image_ = nullptr;  // freed or never an image handle: nothing to unlock
    return;
  }
  const std::size_t size = GlobalSize(image);
  const bool plausible = size >= sizeof(BITMAPINFOHEADER) &&
                         header->biSize == sizeof(BITMAPINFOHEADER) && header->biPlanes == 1 &&
                         header->biCompression == BI_RGB && SupportedDepth(header->biBitCount);
  if (!plausible) return;
  const int count = header->biBitCount <= 8 && header->biClrUsed == 0
                        ? MaxPaletteCount(header->biBitCount)
                        : static_cast<int>(header->biClrUsed);
  if (count < 0 || count > 256 || (header->biBitCount <= 8 && count > MaxPaletteCount(header->biBitCount))) {
    return;
  }
  const std::size_t headerBytes = sizeof(BITMAPINFOHEADER) + count * sizeof(RGBQUAD);
  const std::size_t pixels =
      PixelBytes(header->biWidth, std::abs(header->biHeight), header->biBitCount);
  if (pixels == 0 || headerBytes + pixels > size) return;
  header_ = header;
  paletteCount_ = count;
  bits_ = reinterpret_cast<uint8_t*>(header) + headerBytes;
}

ImageLock::~ImageLock() {
  if (image_) GlobalUnlock(image_);
}

int ImageLock::height() const { return std::abs(header_->biHeight); }

const RGBQUAD* ImageLock::palette() const {
  return reinterpret_cast<const RGBQUAD*>(header_ + 1);
}

Raster ImageLock::raster() const {
  Raster raster;
  raster.width = width();
  raster.height = height();
  raster.bitsPerPixel = bitsPerPixel();
  const std::ptrdiff_t rowBytes = AlignedRowBytes(raster.width, raster.bitsPerPixel);
  if (header_->biHeight < 0) {
    raster.stride = rowBytes;
    raster.top = bits_;
  } else {
    raster.stride = -rowBytes;
    raster.top = bits_ + rowBytes * (raster.height - 1);
  }
  return raster;
}

int ImageLock::xDpi() const { return DpiFromPelsPerMeter(header_->biXPelsPerMeter); }
int ImageLock::yDpi() const { return DpiFromPelsPerMeter(header_->biYPelsPerMeter); }

std::size_t ImageLock::dataSize() const {
  return static_cast<std::size_t>(AlignedRowBytes(width(), bitsPerPixel())) * height();
}

HGLOBAL CreateImageLike(const ImageLock& model, int width, int height) {
  return CreateImage(width, height, model.bitsPerPixel(), model.palette(), model.paletteCount(),
                     model.xDpi(), model.yDpi());
}

BOOL FreeImage(HGLOBAL image) {
  {
    ImageLock lock(image);
    if (!lock.ok()) return FALSE;
    // No image any more, even while its memory waits for the next one.
    lock.header().biSize = 0;
  }
  IKGiveBackImageMemory(image);
  return TRUE;
}

uint32_t PixelValueOf(const ImageLock& image, int red, int green, int blue) {
  if (image.bitsPerPixel() > 8) {
    return (static_cast<uint32_t>(red & 0xFF) << 16) | ((green & 0xFF) << 8) | (blue & 0xFF);
  }
  uint32_t best = 0;
  long bestDistance = -1;
  for (int i = 0; i < image.paletteCount(); ++i) {
    const RGBQUAD& entry = image.palette()[i];
    const long dr = entry.rgbRed - red, dg = entry.rgbGreen - green, db = entry.rgbBlue - blue;
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

int PaletteColors(const ImageLock& image, uint32_t colors[256]) {
  for (int i = 0; i < image.paletteCount(); ++i) {
    const RGBQUAD& entry = image.palette()[i];
    colors[i] = (uint32_t{entry.rgbRed} << 16) | (uint32_t{entry.rgbGreen} << 8) | entry.rgbBlue;
  }
  return image.paletteCount();
}
