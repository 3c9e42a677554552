// TIFF files of black-and-white pages without a codec: the pages of a file
// read from its directories, a 1-bit page decoded from its strips (stored
// uncompressed, PackBits, Modified Huffman, Group 3 or Group 4), and pages
// written Group 4 (or uncompressed) in a new file. Pages of other depths and
// codings are left to the platform's codec. Portable; parses untrusted
// bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The bytes of a file, read by offset.
class TiffSource {
 public:
  virtual ~TiffSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads `count` bytes at `offset`; false when they are not all there.
  virtual bool Read(uint64_t offset, std::size_t count, uint8_t* out) const = 0;
};

class MemoryTiffSource : public TiffSource {
 public:
  MemoryTiffSource(const uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool Read(uint64_t offset, std::size_t count, uint8_t* out) const override;

 private:
  const uint8_t* bytes_;
  std::size_t size_;
};

// Why a file or page gives no black-and-white page, checked in this order.
enum class TiffFault {
  kNone,
  kNotTiff,       // no TIFF header ("II*" or "MM" with 42): for the codec
  kOtherPage,     // a sound page of another depth, coding or layout
                  // (colour, grey, LZW, tiles, ...): for the codec
  kNoPage,        // the page asked for is not in the file
  kDirectory,     // a directory or value past the end of the file, or one
                  // that is cut short
  kSize,          // no width or height, or a side over kMaxImageSide
  kStrips,        // no strips, or strips past the end of the file
  kCoding,        // strip bytes that do not decode to the page's rows
};

// A page as its directory describes it.
struct TiffPageInfo {
  int32_t width = 0;
  int32_t height = 0;
  int xDpi = 0;  // 0 when the file states no resolution
  int yDpi = 0;
  int bitsPerPixel = 0;  // bits a sample times samples a pixel
  int compression = 0;
};

// The pages of a TIFF file: their count (directories after a loop in the
// chain are not counted) and what page `page` is. kNone and kOtherPage fill
// `info` and `pageCount`; kNoPage fills `pageCount`.
TiffFault ReadTiffPage(const TiffSource& source, int page, int* pageCount, TiffPageInfo* info);

// A black-and-white page: rows top-down, (width + 7) / 8 bytes each, the
// most significant bit leftmost, 1 for black; bits past the width are 0.
struct BilevelPage {
  int32_t width = 0;
  int32_t height = 0;
  int xDpi = 0;
  int yDpi = 0;
  std::size_t rowBytes = 0;
  std::vector<uint8_t> rows;
};

// Decodes page `page` when it is a 1-bit page (kNone); otherwise `out` is
// left as it was.
TiffFault DecodeBilevelTiffPage(const TiffSource& source, int page, BilevelPage* out);

enum class TiffCoding { kNone, kModifiedHuffman, kGroup3OneD, kGroup3TwoD, kGroup4 };

// A TIFF file (little-endian) made page by page in memory, one strip a page,
// white-is-zero as fax pages are: only the coded pages are held.
class BilevelTiffWriter {
 public:
  explicit BilevelTiffWriter(TiffCoding coding);
  // Codes `page` (a width and height of 1 to kMaxImageSide, rows as
  // BilevelPage describes) as the next page.
  void Add(const BilevelPage& page);
  // The file's bytes; the writer is empty after.
  std::vector<uint8_t> Finish();

 private:
  TiffCoding coding_;
  std::vector<uint8_t> bytes_;
  std::size_t nextLink_;  // where the offset of the next directory goes
};

// The file of `pages` in their order.
std::vector<uint8_t> WriteBilevelTiff(const std::vector<const BilevelPage*>& pages,
                                      TiffCoding coding);
