// Feeds arbitrary bytes, and file sizes around them, to the one BMP header
// reader of the imaging libraries and the reading run, and checks that what
// it accepts describes rows inside the file.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/bmp_format.h"
#include "platform/raster.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // The first byte chooses the stated file size: the bytes given, fewer,
  // or far more.
  const uint8_t mode = data[0];
  const uint8_t* head = data + 1;
  const size_t headBytes = size - 1 < kBmpProbeBytes ? size - 1 : kBmpProbeBytes;
  const uint64_t fileBytes = mode % 3 == 0   ? size - 1
                             : mode % 3 == 1 ? (size - 1) / 2
                                             : uint64_t{mode} << 24;
  OneBitBmp bmp;
  const BmpKind kind = ReadOneBitBmpHeaders(head, headBytes, fileBytes, &bmp);
  // The libraries' verdict is the one reader's, with its reason.
  OneBitBmp same;
  const BmpFault fault = CheckOneBitBmpHeaders(head, headBytes, fileBytes, &same);
  Check((fault == BmpFault::kNone) == (kind == BmpKind::kOneBit));
  Check((fault == BmpFault::kSize || fault == BmpFault::kPastEnd) == (kind == BmpKind::kDamaged));
  if (kind != BmpKind::kOneBit) return 0;
  Check(same.width == bmp.width && same.height == bmp.height && same.topDown == bmp.topDown &&
        same.pixelOffset == bmp.pixelOffset && same.colorsUsed == bmp.colorsUsed);
  Check(bmp.width >= 1 && bmp.width <= kMaxImageSide);
  Check(bmp.height >= 1 && bmp.height <= kMaxImageSide);
  Check(bmp.rowBytes % 4 == 0 && uint64_t{bmp.rowBytes} * 8 >= uint64_t(bmp.width));
  Check(bmp.pixelBytes == uint64_t{bmp.rowBytes} * uint64_t(bmp.height));
  Check(uint64_t{bmp.pixelOffset} + bmp.pixelBytes <= fileBytes);
  Check(bmp.pixelOffset >= 62);
  Check(bmp.xPelsPerMeter >= 0 && bmp.yPelsPerMeter >= 0);

  // What the writer makes of the page reads back as the same page.
  uint8_t written[kOneBitBmpHeaderBytes];
  MakeOneBitBmpHeaders(bmp.width, bmp.height, bmp.palette, bmp.xPelsPerMeter, bmp.yPelsPerMeter,
                       written);
  OneBitBmp again;
  Check(ReadOneBitBmpHeaders(written, sizeof written, sizeof written + bmp.pixelBytes, &again) ==
        BmpKind::kOneBit);
  Check(again.width == bmp.width && again.height == bmp.height && !again.topDown &&
        again.xPelsPerMeter == bmp.xPelsPerMeter && again.yPelsPerMeter == bmp.yPelsPerMeter &&
        std::memcmp(again.palette, bmp.palette, sizeof bmp.palette) == 0);
  return 0;
}
