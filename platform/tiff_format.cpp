#include "platform/tiff_format.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "platform/fax_codec.h"
#include "platform/raster.h"

namespace {

enum Tag : uint16_t {
  kImageWidth = 256,
  kImageLength = 257,
  kBitsPerSample = 258,
  kCompression = 259,
  kPhotometric = 262,
  kFillOrder = 266,
  kStripOffsets = 273,
  kSamplesPerPixel = 277,
  kRowsPerStrip = 278,
  kStripByteCounts = 279,
  kXResolution = 282,
  kYResolution = 283,
  kT4Options = 292,
  kT6Options = 293,
  kResolutionUnit = 296,
  kTileWidth = 322,
};

enum Type : uint16_t { kByte = 1, kShort = 3, kLong = 4, kRational = 5 };

enum Compression : uint32_t {
  kUncompressed = 1,
  kHuffmanRows = 2,
  kGroup3 = 3,
  kGroup4Fax = 4,
  kPackBits = 32773,
};

constexpr uint32_t kWhiteIsZero = 0;
constexpr uint32_t kBlackIsZero = 1;
constexpr uint32_t kTwoDimensionalRows = 1;  // T4Options
constexpr uint32_t kUncompressedMode = 2;    // T4Options and T6Options
constexpr uint32_t kInch = 2, kCentimetre = 3;
constexpr std::size_t kEntryBytes = 12;
constexpr int kMostPages = 65535;

struct Entry {
  uint16_t tag = 0;
  uint16_t type = 0;
  uint32_t count = 0;
  uint8_t value[4] = {};
};

// A file opened by its header: reads numbers in the file's byte order.
class TiffFile {
 public:
  explicit TiffFile(const TiffSource& source) : source_(source) {}

  TiffFault Open() {
    uint8_t header[8];
    if (!source_.Read(0, sizeof header, header)) return TiffFault::kNotTiff;
    if (header[0] == 'I' && header[1] == 'I') {
      bigEndian_ = false;
    } else if (header[0] == 'M' && header[1] == 'M') {
      bigEndian_ = true;
    } else {
      return TiffFault::kNotTiff;
    }
    if (U16(header + 2) != 42) return TiffFault::kNotTiff;
    firstDirectory_ = U32(header + 4);
    return TiffFault::kNone;
  }

  // Walks the chain of directories: their count and where `page` starts
  // (0 when it is not there).
  TiffFault FindPage(int page, int* pageCount, uint64_t* pageAt) const {
    *pageCount = 0;
    *pageAt = 0;
    std::set<uint32_t> seen;
    for (uint32_t at = firstDirectory_; at != 0 && *pageCount < kMostPages;) {
      if (!seen.insert(at).second) break;
      uint8_t countBytes[2], next[4];
      if (!source_.Read(at, 2, countBytes)) return TiffFault::kDirectory;
      const uint64_t nextAt = uint64_t{at} + 2 + kEntryBytes * U16(countBytes);
      if (!source_.Read(nextAt, 4, next)) return TiffFault::kDirectory;
      if (*pageCount == page) *pageAt = at;
      ++*pageCount;
      at = U32(next);
    }
    return TiffFault::kNone;
  }

  bool ReadEntries(uint64_t at, std::vector<Entry>* entries) const {
    uint8_t countBytes[2];
    if (!source_.Read(at, 2, countBytes)) return false;
    std::vector<uint8_t> bytes(kEntryBytes * U16(countBytes));
    if (!source_.Read(at + 2, bytes.size(), bytes.data())) return false;
    for (std::size_t i = 0; i < bytes.size(); i += kEntryBytes) {
      Entry entry;
      entry.tag = U16(&bytes[i]);
      entry.type = U16(&bytes[i + 2]);
      entry.count = U32(&bytes[i + 4]);
      std::memcpy(entry.value, &bytes[i + 8], 4);
      entries->push_back(entry);
    }
    return true;
  }

  // The unsigned integers of an entry of bytes, shorts or longs; false for
  // other types or values past the end of the file.
  bool Numbers(const Entry& entry, std::vector<uint32_t>* out) const {
    const std::size_t size = entry.type == kByte ? 1 : entry.type == kShort ? 2
                             : entry.type == kLong ? 4 : 0;
    if (size == 0 || uint64_t{entry.count} * size > source_.Size()) return false;
    out->clear();
    if (entry.count == 0) return true;
    std::vector<uint8_t> bytes(size * entry.count);
    if (bytes.size() <= 4) {
      std::memcpy(bytes.data(), entry.value, bytes.size());
    } else if (!source_.Read(U32(entry.value), bytes.size(), bytes.data())) {
      return false;
    }
    for (std::size_t i = 0; i < bytes.size(); i += size) {
      out->push_back(size == 1 ? bytes[i] : size == 2 ? U16(&bytes[i]) : U32(&bytes[i]));
    }
    return true;
  }

  bool Rational(const Entry& entry, double* value) const {
    uint8_t bytes[8];
    if (entry.type != kRational || entry.count < 1 || !source_.Read(U32(entry.value), 8, bytes)) {
      return false;
    }
    const uint32_t denominator = U32(bytes + 4);
    *value = denominator ? double(U32(bytes)) / denominator : 0;
    return true;
  }

  const TiffSource& source() const { return source_; }

 private:
  uint16_t U16(const uint8_t* p) const {
    return bigEndian_ ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
  }
  uint32_t U32(const uint8_t* p) const {
    return bigEndian_ ? uint32_t{U16(p)} << 16 | U16(p + 2) : uint32_t{U16(p + 2)} << 16 | U16(p);
  }

  const TiffSource& source_;
  bool bigEndian_ = false;
  uint32_t firstDirectory_ = 0;
};

// What a page's directory says, with the strips of a 1-bit page.
struct PageLayout {
  TiffPageInfo info;
  uint32_t photometric = kWhiteIsZero;
  bool reversedBits = false;  // FillOrder 2: the first pixel in the least
                              // significant bit
  uint32_t faxOptions = 0;
  uint32_t rowsPerStrip = 0;
  std::vector<uint32_t> stripOffsets;
  std::vector<uint32_t> stripBytes;
};

bool IsBilevelCoding(uint32_t compression) {
  return compression == kUncompressed || compression == kHuffmanRows ||
         compression == kGroup3 || compression == kGroup4Fax || compression == kPackBits;
}

int DpiOf(double value, uint32_t unit) {
  const double dpi = unit == kCentimetre ? value * 2.54 : unit == kInch ? value : 0;
  return dpi > 0 && dpi < 100000 ? static_cast<int>(std::lround(dpi)) : 0;
}

TiffFault ReadLayout(const TiffSource& source, int page, int* pageCount, PageLayout* layout) {
  TiffFile file(source);
  TiffFault fault = file.Open();
  if (fault != TiffFault::kNone) return fault;
  uint64_t at = 0;
  int count = 0;
  fault = file.FindPage(page, &count, &at);
  if (pageCount) *pageCount = count;
  if (fault != TiffFault::kNone) return fault;
  if (page < 0 || page >= count) return TiffFault::kNoPage;
  std::vector<Entry> entries;
  if (!file.ReadEntries(at, &entries)) return TiffFault::kDirectory;

  uint32_t samples = 1, bitsPerSample = 1, unit = kInch;
  double xResolution = 0, yResolution = 0;
  bool tiled = false;
  layout->info.compression = kUncompressed;
  std::vector<uint32_t> numbers;
  for (const Entry& entry : entries) {
    if (entry.tag == kTileWidth) tiled = true;
    if (entry.tag == kXResolution || entry.tag == kYResolution) {
      if (!file.Rational(entry, entry.tag == kXResolution ? &xResolution : &yResolution)) {
        return TiffFault::kDirectory;
      }
      continue;
    }
    const bool known = entry.tag == kImageWidth || entry.tag == kImageLength ||
                       entry.tag == kBitsPerSample || entry.tag == kCompression ||
                       entry.tag == kPhotometric || entry.tag == kFillOrder ||
                       entry.tag == kStripOffsets || entry.tag == kSamplesPerPixel ||
                       entry.tag == kRowsPerStrip || entry.tag == kStripByteCounts ||
                       entry.tag == kT4Options || entry.tag == kT6Options ||
                       entry.tag == kResolutionUnit;
    if (!known) continue;
    if (!file.Numbers(entry, &numbers)) return TiffFault::kDirectory;
    const uint32_t first = numbers.empty() ? 0 : numbers[0];
    switch (entry.tag) {
      case kImageWidth: layout->info.width = int32_t(std::min<uint32_t>(first, INT32_MAX)); break;
      case kImageLength: layout->info.height = int32_t(std::min<uint32_t>(first, INT32_MAX)); break;
      case kBitsPerSample: bitsPerSample = first; break;
      case kCompression: layout->info.compression = int(std::min<uint32_t>(first, 65535)); break;
      case kPhotometric: layout->photometric = first; break;
      case kFillOrder: layout->reversedBits = first == 2; break;
      case kStripOffsets: layout->stripOffsets = numbers; break;
      case kSamplesPerPixel: samples = first; break;
      case kRowsPerStrip: layout->rowsPerStrip = first; break;
      case kStripByteCounts: layout->stripBytes = numbers; break;
      case kT4Options:
      case kT6Options: layout->faxOptions = first; break;
      case kResolutionUnit: unit = first; break;
    }
  }
  layout->info.bitsPerPixel = int(std::min<uint64_t>(uint64_t{samples} * bitsPerSample, 64));
  layout->info.xDpi = DpiOf(xResolution, unit);
  layout->info.yDpi = DpiOf(yResolution, unit);
  const bool bilevel = samples == 1 && bitsPerSample == 1 && !tiled &&
                       (layout->photometric == kWhiteIsZero ||
                        layout->photometric == kBlackIsZero) &&
                       IsBilevelCoding(uint32_t(layout->info.compression)) &&
                       !(layout->faxOptions & kUncompressedMode);
  if (!bilevel) return TiffFault::kOtherPage;
  if (layout->info.width <= 0 || layout->info.width > kMaxImageSide ||
      layout->info.height <= 0 || layout->info.height > kMaxImageSide) {
    return TiffFault::kSize;
  }
  const uint32_t height = uint32_t(layout->info.height);
  if (layout->rowsPerStrip == 0 || layout->rowsPerStrip > height) layout->rowsPerStrip = height;
  const std::size_t strips = (height + layout->rowsPerStrip - 1) / layout->rowsPerStrip;
  const std::size_t rowBytes = (std::size_t(layout->info.width) + 7) / 8;
  if (layout->stripBytes.empty() && layout->info.compression == kUncompressed &&
      layout->stripOffsets.size() >= strips) {
    // Uncompressed strips may leave their byte counts out.
    for (std::size_t i = 0; i < strips; ++i) {
      const uint32_t rows = std::min<uint32_t>(layout->rowsPerStrip, height - i * layout->rowsPerStrip);
      layout->stripBytes.push_back(uint32_t(rows * rowBytes));
    }
  }
  if (layout->stripOffsets.size() < strips || layout->stripBytes.size() < strips) {
    return TiffFault::kStrips;
  }
  layout->stripOffsets.resize(strips);
  layout->stripBytes.resize(strips);
  for (std::size_t i = 0; i < strips; ++i) {
    if (uint64_t{layout->stripOffsets[i]} + layout->stripBytes[i] > source.Size()) {
      return TiffFault::kStrips;
    }
  }
  return TiffFault::kNone;
}

uint8_t ReversedBits(uint8_t byte) {
  byte = uint8_t((byte & 0xF0) >> 4 | (byte & 0x0F) << 4);
  byte = uint8_t((byte & 0xCC) >> 2 | (byte & 0x33) << 2);
  return uint8_t((byte & 0xAA) >> 1 | (byte & 0x55) << 1);
}

// PackBits runs into `out` until it is full; false when the bytes end first.
bool UnpackBits(const std::vector<uint8_t>& in, std::vector<uint8_t>* out, std::size_t wanted) {
  out->clear();
  std::size_t i = 0;
  while (out->size() < wanted) {
    if (i >= in.size()) return false;
    const int n = static_cast<int8_t>(in[i++]);
    if (n >= 0) {
      const std::size_t literal = std::size_t(n) + 1;
      if (i + literal > in.size()) return false;
      out->insert(out->end(), in.begin() + i, in.begin() + i + literal);
      i += literal;
    } else if (n != -128) {
      if (i >= in.size()) return false;
      out->insert(out->end(), std::size_t(1 - n), in[i++]);
    }
  }
  out->resize(wanted);  // a run past the strip's rows is cut there
  return true;
}

FaxCoding FaxCodingOf(const PageLayout& layout) {
  if (layout.info.compression == kHuffmanRows) return FaxCoding::kModifiedHuffman;
  if (layout.info.compression == kGroup4Fax) return FaxCoding::kGroup4;
  return layout.faxOptions & kTwoDimensionalRows ? FaxCoding::kGroup3TwoD
                                                 : FaxCoding::kGroup3OneD;
}

// The rows of one strip into `rows` (rowBytes * rowCount bytes).
bool DecodeStrip(const PageLayout& layout, std::vector<uint8_t>& coded, std::size_t rowBytes,
                 uint32_t rowCount, uint8_t* rows) {
  if (layout.reversedBits) {
    for (uint8_t& byte : coded) byte = ReversedBits(byte);
  }
  const std::size_t wanted = rowBytes * rowCount;
  switch (layout.info.compression) {
    case kUncompressed:
      if (coded.size() < wanted) return false;
      std::memcpy(rows, coded.data(), wanted);
      return true;
    case kPackBits: {
      std::vector<uint8_t> unpacked;
      if (!UnpackBits(coded, &unpacked, wanted)) return false;
      std::memcpy(rows, unpacked.data(), wanted);
      return true;
    }
    default: {
      FaxRows fax;
      if (DecodeFaxRows(coded.data(), coded.size(), FaxCodingOf(layout), layout.info.width,
                        int(rowCount), &fax) != FaxFault::kNone) {
        return false;
      }
      std::memcpy(rows, fax.pixels.data(), wanted);
      return true;
    }
  }
}

// Little-endian numbers and directory entries of the files we write.
void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

void PutEntry(std::vector<uint8_t>& out, uint16_t tag, uint16_t type, uint32_t value) {
  Put16(out, tag);
  Put16(out, type);
  Put32(out, 1);
  Put32(out, type == kShort ? value & 0xFFFF : value);
}

void Patch32(std::vector<uint8_t>& out, std::size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(value >> (8 * i));
}

std::vector<uint8_t> CodedStrip(const BilevelPage& page, TiffCoding coding) {
  if (coding == TiffCoding::kNone) return page.rows;
  FaxRows rows;
  rows.width = page.width;
  rows.height = page.height;
  rows.rowBytes = page.rowBytes;
  rows.pixels = page.rows;
  const FaxCoding fax = coding == TiffCoding::kModifiedHuffman ? FaxCoding::kModifiedHuffman
                        : coding == TiffCoding::kGroup3OneD    ? FaxCoding::kGroup3OneD
                        : coding == TiffCoding::kGroup3TwoD    ? FaxCoding::kGroup3TwoD
                                                               : FaxCoding::kGroup4;
  return EncodeFaxRows(rows, fax);
}

uint32_t CompressionOf(TiffCoding coding) {
  switch (coding) {
    case TiffCoding::kNone: return kUncompressed;
    case TiffCoding::kModifiedHuffman: return kHuffmanRows;
    case TiffCoding::kGroup3OneD:
    case TiffCoding::kGroup3TwoD: return kGroup3;
    case TiffCoding::kGroup4: return kGroup4Fax;
  }
  return kUncompressed;
}

}  // namespace

bool MemoryTiffSource::Read(uint64_t offset, std::size_t count, uint8_t* out) const {
  if (offset > size_ || count > size_ - offset) return false;
  if (count) std::memcpy(out, bytes_ + offset, count);
  return true;
}

TiffFault ReadTiffPage(const TiffSource& source, int page, int* pageCount, TiffPageInfo* info) {
  PageLayout layout;
  const TiffFault fault = ReadLayout(source, page, pageCount, &layout);
  if (info && (fault == TiffFault::kNone || fault == TiffFault::kOtherPage)) *info = layout.info;
  return fault;
}

TiffFault DecodeBilevelTiffPage(const TiffSource& source, int page, BilevelPage* out) {
  PageLayout layout;
  const TiffFault fault = ReadLayout(source, page, nullptr, &layout);
  if (fault != TiffFault::kNone) return fault;
  BilevelPage decoded;
  decoded.width = layout.info.width;
  decoded.height = layout.info.height;
  decoded.xDpi = layout.info.xDpi;
  decoded.yDpi = layout.info.yDpi;
  decoded.rowBytes = (std::size_t(decoded.width) + 7) / 8;
  decoded.rows.resize(decoded.rowBytes * decoded.height);
  std::vector<uint8_t> coded;
  for (std::size_t strip = 0; strip < layout.stripOffsets.size(); ++strip) {
    const uint32_t firstRow = uint32_t(strip) * layout.rowsPerStrip;
    const uint32_t rowCount = std::min(layout.rowsPerStrip, uint32_t(decoded.height) - firstRow);
    coded.resize(layout.stripBytes[strip]);
    if (!source.Read(layout.stripOffsets[strip], coded.size(), coded.data())) {
      return TiffFault::kStrips;
    }
    if (!DecodeStrip(layout, coded, decoded.rowBytes, rowCount,
                     decoded.rows.data() + firstRow * decoded.rowBytes)) {
      return TiffFault::kCoding;
    }
  }
  // Black is 1 in our rows whichever value the file gives it; the bits
  // past the width are 0.
  const uint8_t lastByteMask = uint8_t(0xFF << (7 - (decoded.width - 1) % 8));
  for (std::size_t y = 0; y < std::size_t(decoded.height); ++y) {
    uint8_t* row = decoded.rows.data() + y * decoded.rowBytes;
    if (layout.photometric == kBlackIsZero) {
      for (std::size_t i = 0; i < decoded.rowBytes; ++i) row[i] = uint8_t(~row[i]);
    }
    row[decoded.rowBytes - 1] &= lastByteMask;
  }
  *out = std::move(decoded);
  return TiffFault::kNone;
}

BilevelTiffWriter::BilevelTiffWriter(TiffCoding coding) : coding_(coding) { Finish(); }

void BilevelTiffWriter::Add(const BilevelPage& page) {
  std::vector<uint8_t>& out = bytes_;
  const uint32_t stripAt = uint32_t(out.size());
  const std::vector<uint8_t> strip = CodedStrip(page, coding_);
  out.insert(out.end(), strip.begin(), strip.end());
  if (out.size() % 2) out.push_back(0);  // directories start on a word
  const bool resolution = page.xDpi > 0 && page.yDpi > 0;
  const bool faxOptions = coding_ == TiffCoding::kGroup3OneD ||
                          coding_ == TiffCoding::kGroup3TwoD || coding_ == TiffCoding::kGroup4;
  const uint16_t entries = uint16_t(9 + (resolution ? 3 : 0) + (faxOptions ? 1 : 0));
  const uint32_t directoryAt = uint32_t(out.size());
  Patch32(out, nextLink_, directoryAt);
  const uint32_t rationalsAt = directoryAt + 2 + uint32_t(kEntryBytes) * entries + 4;
  Put16(out, entries);
  PutEntry(out, kImageWidth, kLong, uint32_t(page.width));
  PutEntry(out, kImageLength, kLong, uint32_t(page.height));
  PutEntry(out, kBitsPerSample, kShort, 1);
  PutEntry(out, kCompression, kShort, CompressionOf(coding_));
  PutEntry(out, kPhotometric, kShort, kWhiteIsZero);
  PutEntry(out, kStripOffsets, kLong, stripAt);
  PutEntry(out, kSamplesPerPixel, kShort, 1);
  PutEntry(out, kRowsPerStrip, kLong, uint32_t(page.height));
  PutEntry(out, kStripByteCounts, kLong, uint32_t(strip.size()));
  if (resolution) {
    PutEntry(out, kXResolution, kRational, rationalsAt);
    PutEntry(out, kYResolution, kRational, rationalsAt + 8);
  }
  if (faxOptions) {
    PutEntry(out, coding_ == TiffCoding::kGroup4 ? kT6Options : kT4Options, kLong,
             coding_ == TiffCoding::kGroup3TwoD ? kTwoDimensionalRows : 0);
  }
  if (resolution) PutEntry(out, kResolutionUnit, kShort, kInch);
  nextLink_ = out.size();
  Put32(out, 0);
  if (resolution) {
    for (const int dpi : {page.xDpi, page.yDpi}) {
      Put32(out, uint32_t(dpi));
      Put32(out, 1);
    }
  }
}

std::vector<uint8_t> BilevelTiffWriter::Finish() {
  std::vector<uint8_t> file = std::move(bytes_);
  bytes_.clear();
  Put16(bytes_, 'I' | 'I' << 8);
  Put16(bytes_, 42);
  nextLink_ = bytes_.size();
  Put32(bytes_, 0);
  return file;
}

std::vector<uint8_t> WriteBilevelTiff(const std::vector<const BilevelPage*>& pages,
                                      TiffCoding coding) {
  BilevelTiffWriter writer(coding);
  for (const BilevelPage* page : pages) writer.Add(*page);
  return writer.Finish();
}
