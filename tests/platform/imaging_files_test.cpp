// Image files through the ImageKit-7 entries: 1-bit pages that stay 1-bit,
// the information records where the program reads them, multi-page TIFF,
// and files that are not images.
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/imaging_library.h"
#include "tests/platform/image_fixtures.h"

namespace {

bool Frame(int x, int y) { return x == 0 || y == 0 || x == 36 || y == 22 || (x + 2 * y) % 7 == 0; }

int32_t Int32At(const void* record, int offset) {
  int32_t value;
  std::memcpy(&value, static_cast<const char*>(record) + offset, sizeof value);
  return value;
}

int16_t Int16At(const void* record, int offset) {
  int16_t value;
  std::memcpy(&value, static_cast<const char*>(record) + offset, sizeof value);
  return value;
}

void SetInt32(std::string& bytes, int offset, int32_t value) {
  std::memcpy(&bytes[offset], &value, sizeof value);
}

// A bottom-up BMP written by the tests as the same page stored top-down.
std::string TopDown(std::string bmp) {
  const int32_t height = Int32At(bmp.data(), 22);
  const int32_t offset = Int32At(bmp.data(), 10);
  const size_t row = (bmp.size() - offset) / height;
  std::string rows;
  for (int32_t y = height - 1; y >= 0; --y) rows += bmp.substr(offset + y * row, row);
  SetInt32(bmp, 22, -height);
  return bmp.replace(offset, std::string::npos, rows);
}

// The same BMP with a version 5 info header (124 bytes).
std::string WithVersion5Header(std::string bmp) {
  bmp.insert(54, std::string(84, '\0'));
  SetInt32(bmp, 2, static_cast<int32_t>(bmp.size()));
  SetInt32(bmp, 10, Int32At(bmp.data(), 10) + 84);
  SetInt32(bmp, 14, 124);
  return bmp;
}

class ImageFiles : public testing::Test {
 protected:
  void SetUp() override { folder_ = FreshFolder("imgfiles") + "\\"; }
  std::string Path(const char* name) const { return folder_ + name; }
  std::string folder_;
};

TEST_F(ImageFiles, OneBitPagesStayOneBitThroughBmpAndTiff) {
  const Picture page = PatternPicture(37, 23, Frame);
  struct Source { const char* name; void (*write)(const std::string&, const Picture&); };
  const Source sources[] = {
      {"black first.bmp", [](const std::string& p, const Picture& pic) { WriteBmp(p, pic, 1, true); }},
      {"white first.bmp", [](const std::string& p, const Picture& pic) { WriteBmp(p, pic, 1, false); }},
      {"white is zero.tif", [](const std::string& p, const Picture& pic) { WriteTiff(p, {pic}, true); }},
      {"black is zero.tif", [](const std::string& p, const Picture& pic) { WriteTiff(p, {pic}, false); }},
  };
  for (const Source& source : sources) {
    SCOPED_TRACE(source.name);
    source.write(Path(source.name), page);
    int type = 0, pages = 0, bits = 0;
    Owned loaded(IKFileLoad(Path(source.name).c_str(), 0, 0, 0, 0, &type, &pages, &bits));
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(type, std::strstr(source.name, ".bmp") ? kIkFileBmp : kIkFileTiff);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(bits, 1);
    EXPECT_EQ(DepthOf(loaded.image), 1);
    EXPECT_EQ(PictureOf(loaded.image), page);

    ASSERT_TRUE(IKBmpFileSave(Path("out.bmp").c_str(), loaded.image));
    ASSERT_TRUE(IKTiffFileSave(Path("out.tif").c_str(), loaded.image, kIkTiffGroup4, 0, 0));
    Owned bmp(IKBmpFileLoad(Path("out.bmp").c_str()));
    Owned tif(IKTiffFileLoad(Path("out.tif").c_str(), 0));
    EXPECT_EQ(DepthOf(bmp.image), 1);
    EXPECT_EQ(DepthOf(tif.image), 1);
    EXPECT_EQ(PictureOf(bmp.image), page);
    EXPECT_EQ(PictureOf(tif.image), page);

    // The layout the reading run's own BMP reader takes: a 40-byte header,
    // 1 bit a pixel, two colours, the pixels at byte 62.
    const std::string bytes = ReadBytes(Path("out.bmp"));
    ASSERT_GE(bytes.size(), 62u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(Int32At(bytes.data(), 10), 62);
    EXPECT_EQ(Int32At(bytes.data(), 14), 40);
    EXPECT_EQ(Int16At(bytes.data(), 28), 1);
    EXPECT_TRUE(Int32At(bytes.data(), 46) == 2 || Int32At(bytes.data(), 46) == 0);
    EXPECT_FALSE(FileExistsNow(Path("out.bmp.~ik"))) << "no temporary file is left";
  }
}

TEST_F(ImageFiles, OneBitBmpPagesGoBackToFileAsTheyCame) {
  const Picture page = PatternPicture(37, 23, Frame);
  WriteBmp(Path("black first.bmp"), page, 1, true, 200);
  WriteBmp(Path("white first.bmp"), page, 1, false, 400);
  const std::string blackFirst = ReadBytes(Path("black first.bmp"));
  const std::string whiteFirst = ReadBytes(Path("white first.bmp"));
  std::string noResolution = blackFirst;
  SetInt32(noResolution, 38, 0);
  SetInt32(noResolution, 42, 0);
  struct Case { const char* what; std::string bytes; const std::string& rowsOf; int dpi; };
  const Case cases[] = {
      {"black first", blackFirst, blackFirst, 200},
      {"white first", whiteFirst, whiteFirst, 400},
      {"top-down", TopDown(blackFirst), blackFirst, 200},
      {"version 5 header", WithVersion5Header(whiteFirst), whiteFirst, 400},
      {"no resolution", noResolution, noResolution, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(Path("in.bmp"), c.bytes);
    IKFileInfo info;
    ASSERT_EQ(IKFileType(Path("in.bmp").c_str(), 0, &info), kIkFileBmp);
    EXPECT_EQ(info.width, 37);
    EXPECT_EQ(info.height, 23);
    EXPECT_EQ(info.bitsPerPixel, 1);
    EXPECT_EQ(info.pageCount, 1);
    EXPECT_EQ(info.xDpi, c.dpi) << "the resolution stored, none invented";
    EXPECT_EQ(info.fileSize, static_cast<int32_t>(c.bytes.size()));
    Owned image(IKFileLoad(Path("in.bmp").c_str(), 0, 0, 0, 0, nullptr, nullptr, nullptr));
    EXPECT_EQ(PictureOf(image.image), page);
    ASSERT_TRUE(IKBmpFileSave(Path("out.bmp").c_str(), image.image));
    // Written in the layout of the tests' own writer: the same palette,
    // resolution and rows, bottom-up after 62 bytes of headers.
    const std::string out = ReadBytes(Path("out.bmp"));
    ASSERT_EQ(out.size(), c.rowsOf.size());
    EXPECT_EQ(out.substr(18, 8), c.rowsOf.substr(18, 8)) << "width and height";
    EXPECT_EQ(out.substr(38, 8), c.rowsOf.substr(38, 8)) << "resolution";
    EXPECT_EQ(out.substr(54), c.rowsOf.substr(54)) << "palette and rows";
  }
}

TEST_F(ImageFiles, OneBitBmpHeadersThatDescribeNoPageAreRefused) {
  const std::string good = (WriteBmp(Path("good.bmp"), PatternPicture(8, 8, Frame), 1),
                            ReadBytes(Path("good.bmp")));
  std::string lowest = good;
  SetInt32(lowest, 22, INT32_MIN);  // no positive height to store it bottom-up
  std::string noWidth = good;
  SetInt32(noWidth, 18, 0);
  for (const std::string& bytes : {lowest, noWidth}) {
    WriteBytes(Path("bad.bmp"), bytes);
    IKFileInfo info;
    EXPECT_EQ(IKFileType(Path("bad.bmp").c_str(), 0, &info), 0);
    EXPECT_EQ(IKFileLoad(Path("bad.bmp").c_str(), 0, 0, 0, 0, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(IKBmpFileLoad(Path("bad.bmp").c_str()), nullptr);
  }
  IKFileInfo info;
  EXPECT_EQ(IKFileType(Path("good.bmp").c_str(), 1, &info), 0) << "a BMP has one page";
  EXPECT_EQ(IKFileLoad(Path("good.bmp").c_str(), 1, 0, 0, 0, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(IKTiffFileLoad(Path("good.bmp").c_str(), 0), nullptr) << "a BMP is not a TIFF";
  EXPECT_EQ(IKFileLoad(Path("").c_str(), 0, 0, 0, 0, nullptr, nullptr, nullptr), nullptr)
      << "a folder is not an image";
}

TEST_F(ImageFiles, InformationRecordsHoldSizesAndPagesWhereTheProgramReadsThem) {
  const Picture wide = PatternPicture(40, 10, Frame);
  const Picture tall = PatternPicture(12, 30, Frame);
  WriteTiff(Path("three.tif"), {wide, tall, wide}, true);

  unsigned char record[sizeof(IKFileInfo)];
  std::memset(record, 0xEE, sizeof record);
  ASSERT_EQ(IKFileType(Path("three.tif").c_str(), 1, reinterpret_cast<IKFileInfo*>(record)),
            kIkFileTiff);
  EXPECT_EQ(Int32At(record, 12), 12) << "4th 32-bit value: width";
  EXPECT_EQ(Int32At(record, 16), 30) << "5th 32-bit value: height";
  EXPECT_EQ(Int16At(record, 32), 3) << "16-bit value at byte 32: pages";
  EXPECT_EQ(Int16At(record, 28), 1) << "16-bit value at byte 28: bits a pixel";

  unsigned char small[sizeof(IK5FileInfo) + 8];
  std::memset(small, 0xEE, sizeof small);
  ASSERT_EQ(IK5FileType(Path("three.tif").c_str(), 0, reinterpret_cast<IK5FileInfo*>(small)),
            kIkFileTiff);
  EXPECT_EQ(Int32At(small, 12), 40);
  EXPECT_EQ(Int32At(small, 16), 10);
  EXPECT_EQ(small[sizeof(IK5FileInfo)], 0xEE) << "the smaller record is not overrun";

  Owned image(IKFileLoad(Path("three.tif").c_str(), 1, 0, 0, 0, nullptr, nullptr, nullptr));
  unsigned char info[sizeof(IKImageInfo)];
  ASSERT_EQ(IKGetImageType(image.image, reinterpret_cast<IKImageInfo*>(info)), kIkImageBlackWhite);
  EXPECT_EQ(Int32At(info, 16), 12) << "5th 32-bit value: width";
  EXPECT_EQ(Int32At(info, 20), 30) << "6th 32-bit value: height";
  EXPECT_EQ(Int32At(info, 24), 300);
}

TEST_F(ImageFiles, TiffOfHundredsOfPagesIsCountedAndReadPageByPage) {
  std::vector<Picture> pages;
  for (int i = 0; i < 300; ++i) {
    Picture page(4, std::string(9, '.'));
    page[i % 4][i % 9] = '#';
    pages.push_back(page);
  }
  WriteTiff(Path("many.tif"), pages, true);
  IKFileInfo info;
  ASSERT_EQ(IKFileType(Path("many.tif").c_str(), 0, &info), kIkFileTiff);
  EXPECT_EQ(info.pageCount, 300);
  for (int page : {0, 150, 299}) {
    SCOPED_TRACE(page);
    Owned image(IKTiffFileLoad(Path("many.tif").c_str(), page));
    EXPECT_EQ(PictureOf(image.image), pages[page]);
  }
  EXPECT_EQ(IKTiffFileLoad(Path("many.tif").c_str(), 300), nullptr);
  EXPECT_EQ(IKFileType(Path("many.tif").c_str(), 300, &info), 0);
}

TEST_F(ImageFiles, TiffPagesAreAddedAtTheEnd) {
  const Picture pages[] = {PatternPicture(9, 5, Frame), PatternPicture(20, 8, Frame),
                           PatternPicture(3, 3, Frame)};
  for (const Picture& page : pages) {
    WriteBmp(Path("page.bmp"), page, 1);
    Owned image(IKBmpFileLoad(Path("page.bmp").c_str()));
    ASSERT_TRUE(IKTiffFileSave(Path("added.tif").c_str(), image.image, kIkTiffNone, 0, 1));
  }
  IKFileInfo info;
  ASSERT_EQ(IKFileType(Path("added.tif").c_str(), 0, &info), kIkFileTiff);
  EXPECT_EQ(info.pageCount, 3);
  for (int i = 0; i < 3; ++i) {
    Owned image(IKTiffFileLoad(Path("added.tif").c_str(), i));
    EXPECT_EQ(PictureOf(image.image), pages[i]) << "page " << i;
  }
  // Saving without adding starts the file again.
  Owned first(IKTiffFileLoad(Path("added.tif").c_str(), 0));
  ASSERT_TRUE(IKTiffFileSave(Path("added.tif").c_str(), first.image, kIkTiffNone, 0, 0));
  ASSERT_EQ(IKFileType(Path("added.tif").c_str(), 0, &info), kIkFileTiff);
  EXPECT_EQ(info.pageCount, 1);
}

TEST_F(ImageFiles, GreyAndColourFilesKeepTheirDepthAndTypesAreChecked) {
  const Picture colours = {"rgb#.", "-.#br"};
  WriteBmp(Path("grey.bmp"), colours, 8);
  WriteBmp(Path("colour.bmp"), colours, 24);
  WritePng(Path("colour.png"), colours);
  struct Case { const char* name; int type; int depth; };
  const Case cases[] = {{"grey.bmp", kIkFileBmp, 8}, {"colour.bmp", kIkFileBmp, 24},
                        {"colour.png", kIkFilePng, 24}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int type = 0;
    Owned image(IKFileLoad(Path(c.name).c_str(), 0, 0, 0, 0, &type, nullptr, nullptr));
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(DepthOf(image.image), c.depth);
    EXPECT_EQ(PictureOf(image.image), (Picture{"#.##.", "..###"}));
    Owned copy(IKBmpFileSave(Path("copy.bmp").c_str(), image.image)
                   ? IKBmpFileLoad(Path("copy.bmp").c_str())
                   : nullptr);
    EXPECT_EQ(DepthOf(copy.image), c.depth);
  }
  EXPECT_EQ(IKBmpFileLoad(Path("colour.png").c_str()), nullptr) << "a PNG is not a BMP";
  EXPECT_EQ(IKTiffFileLoad(Path("colour.bmp").c_str(), 0), nullptr) << "a BMP is not a TIFF";
  EXPECT_EQ(IKFileLoad(Path("colour.png").c_str(), 0, 1, 0, 0, nullptr, nullptr, nullptr), nullptr)
      << "reserved values must be 0";
}

TEST_F(ImageFiles, DamagedAndForeignFilesGiveNoImage) {
  const Picture page = PatternPicture(64, 64, Frame);
  WriteBmp(Path("good.bmp"), page, 1);
  WriteTiff(Path("good.tif"), {page}, true);
  WritePng(Path("good.png"), page);
  const std::string bmp = ReadBytes(Path("good.bmp"));
  const std::string tif = ReadBytes(Path("good.tif"));
  const std::string png = ReadBytes(Path("good.png"));
  // A header that claims 100000 x 100000 pixels.
  std::string huge = bmp;
  const uint32_t side = 100000;
  std::memcpy(&huge[18], &side, 4);
  std::memcpy(&huge[22], &side, 4);
  struct Case { const char* what; std::string bytes; };
  const Case cases[] = {
      {"zero bytes", ""},
      {"text", "this is not an image\r\n"},
      {"BMP cut in half", bmp.substr(0, bmp.size() / 2)},
      {"BMP header only", bmp.substr(0, 40)},
      {"TIFF cut in half", tif.substr(0, tif.size() / 2)},
      {"TIFF header only", tif.substr(0, 8)},
      {"PNG cut in half", png.substr(0, png.size() / 2)},
      {"BMP claiming 100000 x 100000", huge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(Path("bad.bmp"), c.bytes);
    HGLOBAL image = IKFileLoad(Path("bad.bmp").c_str(), 0, 0, 0, 0, nullptr, nullptr, nullptr);
    EXPECT_EQ(image, nullptr);
    IKFreeMemory(image);
    EXPECT_EQ(IKBmpFileLoad(Path("bad.bmp").c_str()), nullptr);
    EXPECT_EQ(IKTiffFileLoad(Path("bad.bmp").c_str(), 0), nullptr);
  }
  IKFileInfo info;
  EXPECT_EQ(IKFileType(Path("missing.bmp").c_str(), 0, &info), 0);
  EXPECT_EQ(IKFileLoad(Path("missing.bmp").c_str(), 0, 0, 0, 0, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(IKFileLoad(nullptr, 0, 0, 0, 0, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(IKFileLoad(Path("good.bmp").c_str(), -1, 0, 0, 0, nullptr, nullptr, nullptr), nullptr);

  Owned good(IKBmpFileLoad(Path("good.bmp").c_str()));
  EXPECT_FALSE(IKBmpFileSave(Path("no such folder\\x.bmp").c_str(), good.image));
  EXPECT_FALSE(IKBmpFileSave(Path("x.bmp").c_str(), nullptr));
}

TEST_F(ImageFiles, HandlesAreCheckedBeforeUse) {
  // A small image, and one of a page's size whose memory the libraries keep
  // for the next page.
  for (int side : {8, 1200}) {
    SCOPED_TRACE(side);
    WriteBmp(Path("good.bmp"), PatternPicture(side, side, Frame), 1);
    HGLOBAL image = IKBmpFileLoad(Path("good.bmp").c_str());
    ASSERT_TRUE(image);
    EXPECT_TRUE(IKFreeMemory(image));
    EXPECT_FALSE(IKFreeMemory(image)) << "a freed image is not freed twice";
    IKImageInfo info;
    EXPECT_EQ(IKGetImageType(image, &info), kIkImageNone) << "nor is it an image any more";
    EXPECT_EQ(IKRotation(image, 9000, 255, 255, 255), nullptr);
  }
  EXPECT_FALSE(IKFreeMemory(nullptr));
  HGLOBAL foreign = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 64);
  IKImageInfo info;
  EXPECT_EQ(IKGetImageType(foreign, &info), kIkImageNone);
  EXPECT_EQ(IKRotation(foreign, 9000, 255, 255, 255), nullptr);
  EXPECT_FALSE(IKFreeMemory(foreign)) << "memory that holds no image is left to its owner";
  GlobalFree(foreign);
}

TEST_F(ImageFiles, APageLargerThanTheReadingMatrixIsAnImageLikeAnyOther) {
  WriteBmp(Path("large.bmp"), PatternPicture(7200, 5200, [](int x, int y) { return x == y; }), 1);
  Owned image(IKFileLoad(Path("large.bmp").c_str(), 0, 0, 0, 0, nullptr, nullptr, nullptr));
  ASSERT_TRUE(image.image);
  Owned turned(IKRotation(image.image, 9000, 255, 255, 255));
  IKImageInfo info;
  ASSERT_EQ(IKGetImageType(turned.image, &info), kIkImageBlackWhite);
  EXPECT_EQ(info.width, 5200);
  EXPECT_EQ(info.height, 7200);
  EXPECT_TRUE(IKBmpFileSave(Path("large turned.bmp").c_str(), turned.image));
}

}  // namespace
