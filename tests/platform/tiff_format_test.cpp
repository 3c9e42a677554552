// The TIFF reader and writer of black-and-white pages: every coding written
// reads back bit for bit, pages of several resolutions share a file, an A4
// page is stored small, and damaged files are refused with their reason.
#include "platform/tiff_format.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/platform/bilevel_page_pictures.h"
#include "tests/platform/page_pictures.h"

namespace {

const struct {
  TiffCoding coding;
  const char* name;
  int compression;
} kCodings[] = {
    {TiffCoding::kNone, "uncompressed", 1},
    {TiffCoding::kModifiedHuffman, "Modified Huffman", 2},
    {TiffCoding::kGroup3OneD, "Group 3 1-D", 3},
    {TiffCoding::kGroup3TwoD, "Group 3 2-D", 3},
    {TiffCoding::kGroup4, "Group 4", 4},
};

TiffFault Decode(const std::vector<uint8_t>& file, int page, BilevelPage* out) {
  MemoryTiffSource source(file.data(), file.size());
  return DecodeBilevelTiffPage(source, page, out);
}

TiffFault Describe(const std::vector<uint8_t>& file, int page, int* pageCount,
                   TiffPageInfo* info) {
  MemoryTiffSource source(file.data(), file.size());
  return ReadTiffPage(source, page, pageCount, info);
}

TEST(TiffFormat, EveryCodingReadsBackBitForBit) {
  for (const NamedPicture& picture : PagePictureCases()) {
    const BilevelPage page = PageOf(picture.picture, 300);
    for (const auto& coding : kCodings) {
      SCOPED_TRACE(std::string(picture.name) + ", " + coding.name);
      const std::vector<uint8_t> file = WriteBilevelTiff({&page}, coding.coding);
      int pages = 0;
      TiffPageInfo info;
      ASSERT_EQ(Describe(file, 0, &pages, &info), TiffFault::kNone);
      EXPECT_EQ(pages, 1);
      EXPECT_EQ(info.width, page.width);
      EXPECT_EQ(info.height, page.height);
      EXPECT_EQ(info.bitsPerPixel, 1);
      EXPECT_EQ(info.compression, coding.compression);
      BilevelPage back;
      ASSERT_EQ(Decode(file, 0, &back), TiffFault::kNone);
      EXPECT_EQ(back.xDpi, 300);
      EXPECT_EQ(back.yDpi, 300);
      EXPECT_EQ(back.rowBytes, page.rowBytes);
      EXPECT_TRUE(back.rows == page.rows) << "the rows differ";
    }
  }
}

TEST(TiffFormat, PagesOfSeveralResolutionsShareAFile) {
  const BilevelPage pages[] = {PageOf(SheetLikePage(40), 200),
                               PageOf(PagePictureCases()[2].picture, 300),
                               PageOf(SheetLikePage(30), 400)};
  const std::vector<uint8_t> file =
      WriteBilevelTiff({&pages[0], &pages[1], &pages[2]}, TiffCoding::kGroup4);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    int count = 0;
    TiffPageInfo info;
    ASSERT_EQ(Describe(file, i, &count, &info), TiffFault::kNone);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(info.xDpi, pages[i].xDpi);
    BilevelPage back;
    ASSERT_EQ(Decode(file, i, &back), TiffFault::kNone);
    EXPECT_EQ(back.yDpi, pages[i].yDpi);
    EXPECT_EQ(PictureOfPage(back), PictureOfPage(pages[i]));
  }
  int count = 0;
  EXPECT_EQ(Describe(file, 3, &count, nullptr), TiffFault::kNoPage);
  EXPECT_EQ(count, 3);
}

// An A4 sheet at 300 dpi is about 1 MB as rows; Group 4 keeps it to a few
// tens of kilobytes.
TEST(TiffFormat, AnA4SheetIsStoredSmallInGroup4) {
  for (const int dpi : {200, 300, 400}) {
    SCOPED_TRACE(dpi);
    const BilevelPage page = PageOf(SheetLikePage(dpi), dpi);
    const std::size_t plain = WriteBilevelTiff({&page}, TiffCoding::kNone).size();
    const std::vector<uint8_t> group4 = WriteBilevelTiff({&page}, TiffCoding::kGroup4);
    std::printf("A4 at %d dpi: %zu bytes uncompressed, %zu bytes Group 4\n", dpi, plain,
                group4.size());
    EXPECT_LT(group4.size() * 15, plain);
    BilevelPage back;
    ASSERT_EQ(Decode(group4, 0, &back), TiffFault::kNone);
    EXPECT_TRUE(back.rows == page.rows);
  }
}

// Offsets in the files the writer makes: the strip at 8, then the
// directory, its entries in tag order.
struct Layout {
  uint32_t stripBytes = 0, directory = 0;
  std::size_t Value(int entry) const { return directory + 2 + 12 * entry + 8; }
};
enum Entry {
  kWidth,
  kHeight,
  kBits,
  kCompression,
  kPhotometric,
  kStripOffset,
  kSamples,
  kRowsPerStrip,
  kStripBytes,
  kXResolution,
};

void Set32(std::vector<uint8_t>& file, std::size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(value >> (8 * i));
}

TEST(TiffFormat, DamagedFilesAreRefusedWithTheirReason) {
  const BilevelPage page = PageOf(PagePictureCases()[2].picture, 300);
  const std::vector<uint8_t> good = WriteBilevelTiff({&page}, TiffCoding::kGroup4);
  Layout at;
  std::memcpy(&at.directory, &good[4], 4);
  std::memcpy(&at.stripBytes, &good[at.Value(kStripBytes)], 4);
  using Change = std::function<void(std::vector<uint8_t>&)>;
  const struct {
    const char* name;
    Change change;
    TiffFault described;  // what the directory gives
    TiffFault decoded;    // what decoding the page gives
  } cases[] = {
      {"empty", [](auto& f) { f.clear(); }, TiffFault::kNotTiff, TiffFault::kNotTiff},
      {"a BMP", [](auto& f) { f[0] = 'B', f[1] = 'M'; }, TiffFault::kNotTiff,
       TiffFault::kNotTiff},
      {"not 42", [](auto& f) { f[2] = 43; }, TiffFault::kNotTiff, TiffFault::kNotTiff},
      {"header only", [](auto& f) { f.resize(8); }, TiffFault::kDirectory,
       TiffFault::kDirectory},
      {"cut in the directory", [&](auto& f) { f.resize(at.directory + 30); },
       TiffFault::kDirectory, TiffFault::kDirectory},
      {"resolution past the end", [&](auto& f) { Set32(f, at.Value(kXResolution), 1u << 30); },
       TiffFault::kDirectory, TiffFault::kDirectory},
      {"no width", [&](auto& f) { Set32(f, at.Value(kWidth), 0); }, TiffFault::kSize,
       TiffFault::kSize},
      {"too tall", [&](auto& f) { Set32(f, at.Value(kHeight), 40000); }, TiffFault::kSize,
       TiffFault::kSize},
      {"strip past the end",
       [&](auto& f) { Set32(f, at.Value(kStripOffset), uint32_t(f.size())); },
       TiffFault::kStrips, TiffFault::kStrips},
      {"strip longer than the file",
       [&](auto& f) { Set32(f, at.Value(kStripBytes), 0xFFFFFFF0u); }, TiffFault::kStrips,
       TiffFault::kStrips},
      {"fewer strips than rows need", [&](auto& f) { Set32(f, at.Value(kRowsPerStrip), 1); },
       TiffFault::kStrips, TiffFault::kStrips},
      {"codes cut short", [&](auto& f) { Set32(f, at.Value(kStripBytes), at.stripBytes / 2); },
       TiffFault::kNone, TiffFault::kCoding},
      {"no codes", [&](auto& f) { std::fill(f.begin() + 8, f.begin() + 8 + at.stripBytes, 0); },
       TiffFault::kNone, TiffFault::kCoding},
      {"more rows than coded",
       [&](auto& f) {
         Set32(f, at.Value(kHeight), 2000);
         Set32(f, at.Value(kRowsPerStrip), 2000);
       },
       TiffFault::kNone, TiffFault::kCoding},
      {"8 bits a pixel", [&](auto& f) { f[at.Value(kBits)] = 8; }, TiffFault::kOtherPage,
       TiffFault::kOtherPage},
      {"LZW", [&](auto& f) { f[at.Value(kCompression)] = 5; }, TiffFault::kOtherPage,
       TiffFault::kOtherPage},
      {"a palette", [&](auto& f) { f[at.Value(kPhotometric)] = 3; }, TiffFault::kOtherPage,
       TiffFault::kOtherPage},
      {"three samples", [&](auto& f) { f[at.Value(kSamples)] = 3; }, TiffFault::kOtherPage,
       TiffFault::kOtherPage},
      // A chain of directories that comes back to its start is read up to
      // the loop.
      {"directory chain in a loop",
       [&](auto& f) { Set32(f, at.directory + 2 + 12 * (f[at.directory]), at.directory); },
       TiffFault::kNone, TiffFault::kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> file = good;
    c.change(file);
    int pages = -1;
    TiffPageInfo info;
    EXPECT_EQ(Describe(file, 0, &pages, &info), c.described);
    BilevelPage out;
    out.width = 77;
    EXPECT_EQ(Decode(file, 0, &out), c.decoded);
    if (c.decoded != TiffFault::kNone) {
      EXPECT_EQ(out.width, 77) << "the page is left as it was";
    }
    if (c.described == TiffFault::kNone) {
      EXPECT_EQ(pages, 1);
    }
  }
}

}  // namespace
