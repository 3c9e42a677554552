#include "platform/bmp_format.h"

#include <climits>

#include "platform/raster.h"

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kUncompressed = 0;

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Get32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

int32_t GetSigned32(const uint8_t* p) { return static_cast<int32_t>(Get32(p)); }

void Put16(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* p, uint32_t value) {
  Put16(p, value);
  Put16(p + 2, value >> 16);
}

// Info header sizes of the Windows forms: 40, the two with colour masks,
// version 4 and version 5. The 12- and 64-byte OS/2 forms go to the codec.
bool WindowsInfoHeader(uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

}  // namespace

BmpFault CheckOneBitBmpHeaders(const uint8_t* head, std::size_t headBytes, uint64_t fileBytes,
                               OneBitBmp* bmp) {
  if (!head || headBytes < kFileHeaderBytes + kInfoHeaderBytes || head[0] != 'B' ||
      head[1] != 'M') {
    return BmpFault::kNotBmp;
  }
  const uint8_t* info = head + kFileHeaderBytes;
  const uint32_t infoBytes = Get32(info);
  if (!WindowsInfoHeader(infoBytes)) return BmpFault::kNotBmp;
  if (Get16(info + 14) != 1) return BmpFault::kBitDepth;
  if (Get16(info + 12) != 1 || Get32(info + 16) != kUncompressed) return BmpFault::kLayout;
  // Two colours follow the info header, whichever its form.
  const uint32_t paletteAt = kFileHeaderBytes + infoBytes;
  if (headBytes < paletteAt + 8) return BmpFault::kNotBmp;
  const uint32_t colorsUsed = Get32(info + 32);
  if (colorsUsed == 1) return BmpFault::kColours;
  const uint32_t pixelOffset = Get32(head + 10);
  if (pixelOffset < paletteAt + 8) return BmpFault::kOffset;

  const int32_t width = GetSigned32(info + 4);
  const int32_t height = GetSigned32(info + 8);
  if (width <= 0 || width > kMaxImageSide || height == 0 || height == INT32_MIN ||
      height < -kMaxImageSide || height > kMaxImageSide) {
    return BmpFault::kSize;
  }
  const int32_t rows = height < 0 ? -height : height;
  const uint32_t rowBytes = static_cast<uint32_t>(AlignedRowBytes(width, 1));
  const uint64_t pixelBytes = uint64_t{rowBytes} * static_cast<uint32_t>(rows);
  if (uint64_t{pixelOffset} + pixelBytes > fileBytes) return BmpFault::kPastEnd;

  bmp->width = width;
  bmp->height = rows;
  bmp->topDown = height < 0;
  bmp->pixelOffset = pixelOffset;
  bmp->rowBytes = rowBytes;
  bmp->pixelBytes = pixelBytes;
  for (int i = 0; i < 2; ++i) {
    const uint8_t* color = head + paletteAt + 4 * i;
    bmp->palette[i] = BmpColor{color[0], color[1], color[2], 0};
  }
  bmp->colorsUsed = colorsUsed;
  // A negative resolution states none.
  bmp->xPelsPerMeter = GetSigned32(info + 24) > 0 ? GetSigned32(info + 24) : 0;
  bmp->yPelsPerMeter = GetSigned32(info + 28) > 0 ? GetSigned32(info + 28) : 0;
  return BmpFault::kNone;
}

BmpKind ReadOneBitBmpHeaders(const uint8_t* head, std::size_t headBytes, uint64_t fileBytes,
                             OneBitBmp* bmp) {
  switch (CheckOneBitBmpHeaders(head, headBytes, fileBytes, bmp)) {
    case BmpFault::kNone:
      return BmpKind::kOneBit;
    case BmpFault::kSize:
    case BmpFault::kPastEnd:
      return BmpKind::kDamaged;
    default:
      return BmpKind::kOther;
  }
}

void MakeOneBitBmpHeaders(int32_t width, int32_t height, const BmpColor palette[2],
                          int32_t xPelsPerMeter, int32_t yPelsPerMeter,
                          uint8_t out[kOneBitBmpHeaderBytes]) {
  const uint32_t pixelBytes = static_cast<uint32_t>(AlignedRowBytes(width, 1)) *
                              static_cast<uint32_t>(height);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out + 2, static_cast<uint32_t>(kOneBitBmpHeaderBytes) + pixelBytes);
  Put32(out + 6, 0);
  Put32(out + 10, kOneBitBmpHeaderBytes);
  uint8_t* info = out + kFileHeaderBytes;
  Put32(info, kInfoHeaderBytes);
  Put32(info + 4, static_cast<uint32_t>(width));
  Put32(info + 8, static_cast<uint32_t>(height));
  Put16(info + 12, 1);  // planes
  Put16(info + 14, 1);  // bits a pixel
  Put32(info + 16, kUncompressed);
  Put32(info + 20, pixelBytes);
  Put32(info + 24, static_cast<uint32_t>(xPelsPerMeter));
  Put32(info + 28, static_cast<uint32_t>(yPelsPerMeter));
  Put32(info + 32, 2);  // colours used
  Put32(info + 36, 2);  // colours important
  uint8_t* colors = info + kInfoHeaderBytes;
  for (int i = 0; i < 2; ++i) {
    colors[4 * i] = palette[i].blue;
    colors[4 * i + 1] = palette[i].green;
    colors[4 * i + 2] = palette[i].red;
    colors[4 * i + 3] = 0;
  }
}
