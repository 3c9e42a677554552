// Feeds arbitrary bytes to the TIFF reader of black-and-white pages as a
// file, and checks that a page it accepts is as its directory says and goes
// through our Group 4 coder and back unchanged. Bytes that are no TIFF file
// go to the fax decoder itself, whose rows must code and decode again the
// same in the coding they came in.
#include <cstdint>
#include <cstdlib>

#include "platform/fax_codec.h"
#include "platform/tiff_format.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Pages larger than this are described but not decoded: the fuzzer is
// after the parsing, not after allocations a real page may make.
constexpr int64_t kMostPixels = int64_t{1} << 22;

// The first bytes choose the coding, width (1 to 4096) and rows (1 to 64).
void FuzzFaxRows(const uint8_t* data, size_t size) {
  if (size < 4) return;
  const FaxCoding coding = static_cast<FaxCoding>(data[0] % 4);
  const int width = 1 + ((data[1] << 8 | data[2]) % 4096);
  const int height = 1 + data[3] % 64;
  FaxRows rows;
  if (DecodeFaxRows(data + 4, size - 4, coding, width, height, &rows) != FaxFault::kNone) return;
  Check(rows.width == width && rows.height == height);
  Check(rows.pixels.size() == rows.rowBytes * height);
  const std::vector<uint8_t> again = EncodeFaxRows(rows, coding);
  FaxRows back;
  Check(DecodeFaxRows(again.data(), again.size(), coding, width, height, &back) ==
        FaxFault::kNone);
  Check(back.pixels == rows.pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const MemoryTiffSource source(data, size);
  int pageCount = 0;
  TiffPageInfo first;
  if (ReadTiffPage(source, 0, &pageCount, &first) == TiffFault::kNotTiff) {
    FuzzFaxRows(data, size);
    return 0;
  }
  for (int page = 0; page < pageCount && page < 4; ++page) {
    TiffPageInfo info;
    int count = 0;
    if (ReadTiffPage(source, page, &count, &info) != TiffFault::kNone) continue;
    Check(count == pageCount);
    Check(info.width >= 1 && info.height >= 1 && info.bitsPerPixel == 1);
    if (int64_t{info.width} * info.height > kMostPixels) continue;
    BilevelPage decoded;
    if (DecodeBilevelTiffPage(source, page, &decoded) != TiffFault::kNone) continue;
    Check(decoded.width == info.width && decoded.height == info.height);
    Check(decoded.rowBytes == (std::size_t(decoded.width) + 7) / 8);
    Check(decoded.rows.size() == decoded.rowBytes * decoded.height);
    const std::vector<uint8_t> again = WriteBilevelTiff({&decoded}, TiffCoding::kGroup4);
    const MemoryTiffSource written(again.data(), again.size());
    BilevelPage back;
    Check(DecodeBilevelTiffPage(written, 0, &back) == TiffFault::kNone);
    Check(back.rows == decoded.rows);
  }
  return 0;
}
