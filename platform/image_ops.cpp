#include "platform/image_ops.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/dib_image.h"

namespace {

// A band of rows of an image as a DIB of its own: a copy of the header and
// palette with the band's height, and the band's first stored row.
class DrawableRows {
 public:
  DrawableRows(const ImageLock& image, int top, int height) {
    const std::size_t headerBytes = sizeof(BITMAPINFOHEADER) + image.paletteCount() * sizeof(RGBQUAD);
    std::memcpy(header_, &image.header(), headerBytes);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(header_);
    const bool topDown = header->biHeight < 0;
    header->biHeight = topDown ? -height : height;
    header->biSizeImage = 0;
    const int firstStored = topDown ? top : image.height() - (top + height);
    bits_ = image.bits() + AlignedRowBytes(image.width(), image.bitsPerPixel()) * firstStored;
  }
  const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(header_); }
  const uint8_t* bits() const { return bits_; }

 private:
  alignas(BITMAPINFOHEADER) unsigned char header_[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)];
  const uint8_t* bits_;
};

bool QuarterAcross(int angle) {
  const int normal = ((angle % 36000) + 36000) % 36000;
  return normal == 9000 || normal == 27000;
}

}  // namespace

int DescribeImage(HGLOBAL image, IKImageInfo* info) {
  ImageLock lock(image);
  if (!lock.ok()) return kIkImageNone;
  const int bits = lock.bitsPerPixel();
  const int type = bits == 1 ? kIkImageBlackWhite : bits == 8 ? kIkImagePalette : kIkImageFullColor;
  if (info) {
    *info = IKImageInfo{};
    info->imageType = type;
    info->bitsPerPixel = bits;
    info->colorCount = bits <= 8 ? lock.paletteCount() : 0;
    info->dataSize = static_cast<int32_t>(lock.dataSize());
    info->width = lock.width();
    info->height = lock.height();
    info->xDpi = lock.xDpi();
    info->yDpi = lock.yDpi();
  }
  return type;
}

HGLOBAL TurnImage(HGLOBAL image, int angle, int red, int green, int blue) {
  ImageLock source(image);
  if (!source.ok()) return nullptr;
  int width, height;
  RotatedSize(source.width(), source.height(), angle, &width, &height);
  // A quarter turn swaps the resolutions along with the sides.
  const bool across = QuarterAcross(angle);
  HGLOBAL turned = CreateImage(width, height, source.bitsPerPixel(), source.palette(),
                               source.paletteCount(), across ? source.yDpi() : source.xDpi(),
                               across ? source.xDpi() : source.yDpi());
  if (!turned) return nullptr;
  ImageLock target(turned);
  RotateRaster(source.raster(), target.raster(), angle, PixelValueOf(source, red, green, blue));
  return turned;
}

HGLOBAL CutImage(HGLOBAL image, int mode, const POINT* points, int count, HGLOBAL* mask) {
  if (mask) *mask = nullptr;
  const bool polygon = mode == kIkSelectPolygon;
  if ((!polygon && mode != kIkSelectBoundingBox) || !points || count < (polygon ? 3 : 2)) {
    return nullptr;
  }
  ImageLock source(image);
  if (!source.ok()) return nullptr;
  std::vector<PixelPoint> corners;
  for (int i = 0; i < count; ++i) corners.push_back(PixelPoint{points[i].x, points[i].y});
  PixelBox box;
  if (!PolygonBox(corners.data(), count, source.width(), source.height(), &box)) return nullptr;
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  HGLOBAL cut = CreateImageLike(source, width, height);
  HGLOBAL maskImage =
      mask ? CreateImage(width, height, 1, kBlackWhitePalette, 2, source.xDpi(), source.yDpi()) : nullptr;
  if (!cut || (mask && !maskImage)) {
    FreeImage(cut);
    FreeImage(maskImage);
    return nullptr;
  }
  {
    ImageLock target(cut);
    ImageLock maskLock(maskImage);
    const Raster maskRaster = maskLock.ok() ? maskLock.raster() : Raster();
    CutRaster(source.raster(), corners.data(), count, box, polygon,
              PixelValueOf(source, 255, 255, 255), target.raster(),
              maskLock.ok() ? &maskRaster : nullptr, 0);
  }
  if (mask) *mask = maskImage;
  return cut;
}

BOOL DrawImageOn(HDC dc, HGLOBAL image, const RECT* target, const RECT* source, DWORD rop,
                 int stretchMode) {
  ImageLock lock(image);
  if (!lock.ok() || !dc || !target) return FALSE;
  const RECT part = source ? *source : RECT{0, 0, lock.width(), lock.height()};
  const int targetWidth = target->right - target->left;
  const int targetHeight = target->bottom - target->top;
  if (part.left < 0 || part.top < 0 || part.right > lock.width() ||
      part.bottom > lock.height() || part.left >= part.right || part.top >= part.bottom ||
      targetWidth == 0 || targetHeight == 0) {
    return FALSE;
  }
  const int partWidth = part.right - part.left;
  const int partHeight = part.bottom - part.top;
  // The rows of the part described as an image of their own, so that no
  // source row origin (top or bottom) comes into question.
  DrawableRows rows(lock, part.top, partHeight);
  // Shrunk sheet images keep thin black strokes when black wins; enlarged
  // images repeat their pixels; shrunk colour images are averaged.
  const bool shrinks = std::abs(targetWidth) < partWidth || std::abs(targetHeight) < partHeight;
  const int mode = stretchMode                   ? stretchMode
                   : lock.bitsPerPixel() == 1 ? BLACKONWHITE
                   : shrinks                   ? HALFTONE
                                               : COLORONCOLOR;
  const int previousMode = SetStretchBltMode(dc, mode);
  POINT previousOrigin;
  if (mode == HALFTONE) SetBrushOrgEx(dc, 0, 0, &previousOrigin);
  const int drawn = StretchDIBits(dc, target->left, target->top, targetWidth, targetHeight,
                                  part.left, 0, partWidth, partHeight, rows.bits(), rows.info(),
                                  DIB_RGB_COLORS, rop ? rop : SRCCOPY);
  if (mode == HALFTONE) SetBrushOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
  SetStretchBltMode(dc, previousMode);
  return drawn > 0;
}

HGLOBAL BlackAndWhiteImage(HGLOBAL image, LevelChannel channel, int threshold) {
  ImageLock source(image);
  if (!source.ok() || source.bitsPerPixel() == 1) return nullptr;
  HGLOBAL result = CreateImage(source.width(), source.height(), 1, kBlackWhitePalette, 2,
                               source.xDpi(), source.yDpi());
  if (!result) return nullptr;
  uint32_t colors[256];
  const int count = PaletteColors(source, colors);
  ImageLock target(result);
  ThresholdRaster(source.raster(), RasterPalette{colors, count}, channel, threshold,
                  target.raster());
  return result;
}
