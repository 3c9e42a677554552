// The headers of black-and-white BMP pages: which files the imaging
// libraries read without a codec, which they hand to it, which they refuse,
// and the headers they write.
#include "platform/bmp_format.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "platform/raster.h"

namespace {

// The fields of a BMP file's headers as a test writes them, byte by byte.
struct Headers {
  char magic[2] = {'B', 'M'};
  uint32_t infoBytes = 40;
  int32_t width = 10;
  int32_t height = 3;
  uint16_t planes = 1;
  uint16_t bits = 1;
  uint32_t compression = 0;
  int32_t xPels = 11811;  // 300 dpi
  int32_t yPels = 7874;   // 200 dpi
  uint32_t colorsUsed = 2;
  BmpColor colors[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  int64_t pixelOffset = -1;  // -1: right after the colours
};

void Put(std::vector<uint8_t>& file, size_t at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t RowsBytes(const Headers& h) {
  const int64_t rows = h.height < 0 ? -static_cast<int64_t>(h.height) : h.height;
  return (static_cast<uint64_t>(h.width) + 31) / 32 * 4 * static_cast<uint64_t>(rows);
}

// The headers, then `rows` bytes of pixel rows (default: all of them). A far
// pixel offset is stated, not filled.
std::vector<uint8_t> FileOf(const Headers& h, int64_t rows = -1) {
  const uint32_t paletteAt = 14 + h.infoBytes;
  const uint32_t offset =
      h.pixelOffset < 0 ? paletteAt + 8 : static_cast<uint32_t>(h.pixelOffset);
  const uint64_t pixels = rows < 0 ? RowsBytes(h) : static_cast<uint64_t>(rows);
  // Room for the 40-byte header's fields even where a shorter form is named.
  const uint32_t headersEnd = std::max<uint32_t>(paletteAt + 8, 62);
  const uint32_t rowsAt = offset < 65536 ? std::max(offset, headersEnd) : headersEnd;
  std::vector<uint8_t> file(rowsAt + pixels, 0x5A);
  file[0] = h.magic[0];
  file[1] = h.magic[1];
  Put(file, 2, static_cast<uint32_t>(file.size()), 4);
  Put(file, 6, 0, 4);
  Put(file, 10, offset, 4);
  Put(file, 14, h.infoBytes, 4);
  Put(file, 18, static_cast<uint32_t>(h.width), 4);
  Put(file, 22, static_cast<uint32_t>(h.height), 4);
  Put(file, 26, h.planes, 2);
  Put(file, 28, h.bits, 2);
  Put(file, 30, h.compression, 4);
  Put(file, 34, 0, 4);
  Put(file, 38, static_cast<uint32_t>(h.xPels), 4);
  Put(file, 42, static_cast<uint32_t>(h.yPels), 4);
  Put(file, 46, h.colorsUsed, 4);
  Put(file, 50, 0, 4);
  for (uint32_t i = 54; i < paletteAt; ++i) file[i] = 0;  // the later forms' fields
  for (int i = 0; i < 2; ++i) {
    std::memcpy(&file[paletteAt + 4 * i], &h.colors[i], 4);
  }
  return file;
}

BmpKind KindOf(const std::vector<uint8_t>& file, OneBitBmp* bmp) {
  return ReadOneBitBmpHeaders(file.data(), std::min(file.size(), kBmpProbeBytes), file.size(),
                              bmp);
}

// One table for the header reader both the imaging libraries and the reading
// run use: why a file is no 1-bit page, and what the libraries make of it.
TEST(BmpFormat, SaysWhichFilesAreOneBitPagesAndWhyNot) {
  using F = BmpFault;
  using K = BmpKind;
  struct Case {
    const char* what;
    void (*change)(Headers&);
    BmpFault fault;
    BmpKind kind;
  };
  const Case cases[] = {
      {"plain bottom-up page", [](Headers&) {}, F::kNone, K::kOneBit},
      {"top-down page", [](Headers& h) { h.height = -3; }, F::kNone, K::kOneBit},
      {"no colour count (two)", [](Headers& h) { h.colorsUsed = 0; }, F::kNone, K::kOneBit},
      {"white first", [](Headers& h) { std::swap(h.colors[0], h.colors[1]); }, F::kNone,
       K::kOneBit},
      {"256 colours named", [](Headers& h) { h.colorsUsed = 256; h.pixelOffset = 54 + 1024; },
       F::kNone, K::kOneBit},
      {"colour-mask header", [](Headers& h) { h.infoBytes = 56; }, F::kNone, K::kOneBit},
      {"version 4 header", [](Headers& h) { h.infoBytes = 108; }, F::kNone, K::kOneBit},
      {"version 5 header, top-down", [](Headers& h) { h.infoBytes = 124; h.height = -3; },
       F::kNone, K::kOneBit},
      {"largest side", [](Headers& h) { h.width = kMaxImageSide; h.height = 2; }, F::kNone,
       K::kOneBit},
      // Left to the codec.
      {"not BM", [](Headers& h) { h.magic[1] = 'A'; }, F::kNotBmp, K::kOther},
      {"OS/2 1.x header", [](Headers& h) { h.infoBytes = 12; }, F::kNotBmp, K::kOther},
      {"OS/2 2.0 header", [](Headers& h) { h.infoBytes = 64; }, F::kNotBmp, K::kOther},
      {"info header of no form", [](Headers& h) { h.infoBytes = 200; }, F::kNotBmp,
       K::kOther},
      {"8 bits", [](Headers& h) { h.bits = 8; }, F::kBitDepth, K::kOther},
      {"24 bits and no width", [](Headers& h) { h.bits = 24; h.width = 0; }, F::kBitDepth,
       K::kOther},
      {"run-length rows", [](Headers& h) { h.compression = 1; }, F::kLayout, K::kOther},
      {"colour masks", [](Headers& h) { h.compression = 3; }, F::kLayout, K::kOther},
      {"two planes", [](Headers& h) { h.planes = 2; }, F::kLayout, K::kOther},
      {"one colour only", [](Headers& h) { h.colorsUsed = 1; }, F::kColours, K::kOther},
      {"rows inside the headers", [](Headers& h) { h.pixelOffset = 54; }, F::kOffset, K::kOther},
      {"rows inside a version 5 palette", [](Headers& h) { h.infoBytes = 124; h.pixelOffset = 62; },
       F::kOffset, K::kOther},
      // Refused.
      {"height INT32_MIN", [](Headers& h) { h.height = INT32_MIN; }, F::kSize, K::kDamaged},
      {"height 0", [](Headers& h) { h.height = 0; }, F::kSize, K::kDamaged},
      {"width 0", [](Headers& h) { h.width = 0; }, F::kSize, K::kDamaged},
      {"negative width", [](Headers& h) { h.width = -10; }, F::kSize, K::kDamaged},
      {"too wide", [](Headers& h) { h.width = kMaxImageSide + 1; h.height = 1; }, F::kSize,
       K::kDamaged},
      {"too tall top-down", [](Headers& h) { h.height = -(kMaxImageSide + 1); h.width = 1; },
       F::kSize, K::kDamaged},
      {"rows far past the end", [](Headers& h) { h.pixelOffset = 0x7FFFFFF0; }, F::kPastEnd,
       K::kDamaged},
      {"a page of 128 MB in a file of headers",
       [](Headers& h) { h.width = kMaxImageSide; h.height = kMaxImageSide; }, F::kPastEnd,
       K::kDamaged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Headers h;
    c.change(h);
    // Files whose rows would not fit in memory are described, not written;
    // the last case states the length it has.
    const bool huge = RowsBytes(h) > 1 << 20;
    std::vector<uint8_t> file = FileOf(h, huge ? 0 : -1);
    const uint64_t length =
        huge && c.fault != F::kPastEnd ? uint64_t{1} << 40 : static_cast<uint64_t>(file.size());
    const std::size_t head = std::min(file.size(), kBmpProbeBytes);
    OneBitBmp bmp;
    EXPECT_EQ(CheckOneBitBmpHeaders(file.data(), head, length, &bmp), c.fault);
    EXPECT_EQ(ReadOneBitBmpHeaders(file.data(), head, length, &bmp), c.kind);
  }
}

TEST(BmpFormat, RowsMustLieInTheFile) {
  Headers h;
  h.width = 33;  // 8 bytes a row
  h.height = 5;
  OneBitBmp bmp;
  EXPECT_EQ(KindOf(FileOf(h), &bmp), BmpKind::kOneBit);
  EXPECT_EQ(KindOf(FileOf(h, 39), &bmp), BmpKind::kDamaged) << "one byte short";
  EXPECT_EQ(KindOf(FileOf(h, 0), &bmp), BmpKind::kDamaged);
  std::vector<uint8_t> headersOnly = FileOf(h, 0);
  headersOnly.resize(30);
  EXPECT_EQ(KindOf(headersOnly, &bmp), BmpKind::kOther) << "a cut header is the codec's to refuse";
  EXPECT_EQ(ReadOneBitBmpHeaders(nullptr, 0, 0, &bmp), BmpKind::kOther);
  for (std::size_t cut : {std::size_t{0}, std::size_t{2}, std::size_t{53}, std::size_t{61}}) {
    EXPECT_EQ(CheckOneBitBmpHeaders(FileOf(h).data(), cut, 1000, &bmp), BmpFault::kNotBmp)
        << "headers cut at " << cut;
  }
}

TEST(BmpFormat, ReadsWhereTheRowsAreAndHowTheyLookFromTheHeaders) {
  Headers h;
  h.width = 2480;
  h.height = -3508;
  h.infoBytes = 124;
  h.colors[0] = {255, 255, 255, 7};  // white first, a stray reserved byte
  h.colors[1] = {0, 0, 0, 0};
  h.xPels = -5;
  OneBitBmp bmp;
  ASSERT_EQ(KindOf(FileOf(h), &bmp), BmpKind::kOneBit);
  EXPECT_EQ(bmp.width, 2480);
  EXPECT_EQ(bmp.height, 3508);
  EXPECT_TRUE(bmp.topDown);
  EXPECT_EQ(bmp.pixelOffset, 14u + 124 + 8);
  EXPECT_EQ(bmp.rowBytes, 312u);
  EXPECT_EQ(bmp.pixelBytes, 312u * 3508);
  EXPECT_EQ(bmp.palette[0].red, 255);
  EXPECT_EQ(bmp.palette[0].unused, 0);
  EXPECT_EQ(bmp.palette[1].blue, 0);
  EXPECT_EQ(bmp.xPelsPerMeter, 0) << "a negative resolution states none";
  EXPECT_EQ(bmp.yPelsPerMeter, 7874);
}

TEST(BmpFormat, WrittenHeadersDescribeABottomUpPageAndReadBack) {
  const BmpColor palette[2] = {{0, 0, 0, 0}, {250, 251, 252, 0}};
  uint8_t headers[kOneBitBmpHeaderBytes];
  MakeOneBitBmpHeaders(37, 23, palette, 11811, 7874, headers);
  auto at32 = [&](int offset) {
    uint32_t v;
    std::memcpy(&v, headers + offset, 4);
    return v;
  };
  EXPECT_EQ(headers[0], 'B');
  EXPECT_EQ(headers[1], 'M');
  EXPECT_EQ(at32(2), 62u + 8 * 23) << "file size";
  EXPECT_EQ(at32(10), 62u) << "rows right after the colours";
  EXPECT_EQ(at32(14), 40u);
  EXPECT_EQ(static_cast<int32_t>(at32(22)), 23) << "positive height: bottom-up";
  EXPECT_EQ(at32(34), 8u * 23) << "bytes of the rows";
  EXPECT_EQ(at32(46), 2u);
  EXPECT_EQ(headers[58], 250);

  std::vector<uint8_t> file(headers, headers + kOneBitBmpHeaderBytes);
  file.resize(kOneBitBmpHeaderBytes + 8 * 23);
  OneBitBmp bmp;
  ASSERT_EQ(KindOf(file, &bmp), BmpKind::kOneBit);
  EXPECT_EQ(bmp.width, 37);
  EXPECT_EQ(bmp.height, 23);
  EXPECT_FALSE(bmp.topDown);
  EXPECT_EQ(bmp.pixelOffset, 62u);
  EXPECT_EQ(bmp.xPelsPerMeter, 11811);
  EXPECT_EQ(bmp.yPelsPerMeter, 7874);
  EXPECT_EQ(bmp.palette[1].green, 251);
}

}  // namespace
