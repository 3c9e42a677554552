// Black-and-white TIFF pages through the ImageKit-7 entries: stored Group 4
// (an A4 page in tens of kilobytes, not a megabyte) or uncompressed as
// asked, read back bit for bit with their resolution, pages added to a
// file, and files that mix depths left to the platform's codec whole.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "platform/imaging_library.h"
#include "tests/platform/image_fixtures.h"
#include "tests/platform/page_pictures.h"

namespace {

class TiffPages : public testing::Test {
 protected:
  void SetUp() override { folder_ = FreshFolder("tiffpages") + "\\"; }
  std::string Path(const std::string& name) const { return folder_ + name; }
  // The picture as a 1-bit image, through a BMP file as a scanner leaves it.
  HGLOBAL Image(const Picture& picture, int dpi) {
    WriteBmp(Path("page.bmp"), picture, 1, true, dpi);
    return IKBmpFileLoad(Path("page.bmp").c_str());
  }
  std::string folder_;
};

TEST_F(TiffPages, PagesOfEveryShapeComeBackAsSaved) {
  for (const NamedPicture& picture : PagePictureCases()) {
    for (const int compression : {kIkTiffGroup4, kIkTiffNone}) {
      SCOPED_TRACE(std::string(picture.name) + (compression == kIkTiffNone ? ", none" : ", G4"));
      Owned image(Image(picture.picture, 200));
      ASSERT_TRUE(image.image);
      ASSERT_TRUE(IKTiffFileSave(Path("page.tif").c_str(), image.image, compression, 0, 0));
      int type = 0, pages = 0, bits = 0;
      Owned back(IKFileLoad(Path("page.tif").c_str(), 0, 0, 0, 0, &type, &pages, &bits));
      EXPECT_EQ(type, kIkFileTiff);
      EXPECT_EQ(pages, 1);
      EXPECT_EQ(bits, 1);
      EXPECT_EQ(DepthOf(back.image), 1);
      EXPECT_EQ(PictureOf(back.image), picture.picture);
    }
  }
}

TEST_F(TiffPages, AnA4PageIsStoredGroup4InTensOfKilobytes) {
  for (const int dpi : {200, 300, 400}) {
    SCOPED_TRACE(dpi);
    const Picture sheet = SheetLikePage(dpi);
    Owned image(Image(sheet, dpi));
    ASSERT_TRUE(image.image);
    ASSERT_TRUE(IKTiffFileSave(Path("plain.tif").c_str(), image.image, kIkTiffNone, 0, 0));
    ASSERT_TRUE(IKTiffFileSave(Path("g4.tif").c_str(), image.image, kIkTiffGroup4, 0, 0));
    IKFileInfo plain, g4;
    ASSERT_EQ(IKFileType(Path("plain.tif").c_str(), 0, &plain), kIkFileTiff);
    ASSERT_EQ(IKFileType(Path("g4.tif").c_str(), 0, &g4), kIkFileTiff);
    std::printf("A4 at %d dpi: %d bytes uncompressed, %d bytes Group 4\n", dpi, plain.fileSize,
                g4.fileSize);
    EXPECT_GT(plain.fileSize, sheet.size() * sheet[0].size() / 8);
    EXPECT_LT(g4.fileSize, 64 * 1024);
    EXPECT_EQ(g4.xDpi, dpi);
    EXPECT_EQ(g4.yDpi, dpi);
    EXPECT_EQ(g4.bitsPerPixel, 1);
    Owned back(IKTiffFileLoad(Path("g4.tif").c_str(), 0));
    EXPECT_EQ(PictureOf(back.image), sheet);
    // Other programs read it as we do.
    EXPECT_EQ(PictureThroughPlatform(Path("g4.tif"), 0), sheet);
  }
}

TEST_F(TiffPages, PagesAddedToAGroup4FileKeepTheirOwnResolution) {
  const Picture first = SheetLikePage(60), second = PagePictureCases()[2].picture;
  Owned one(Image(first, 200)), two(Image(second, 400));
  ASSERT_TRUE(IKTiffFileSave(Path("two.tif").c_str(), one.image, kIkTiffGroup4, 0, 1));
  ASSERT_TRUE(IKTiffFileSave(Path("two.tif").c_str(), two.image, kIkTiffGroup4, 0, 1));
  IKFileInfo info;
  ASSERT_EQ(IKFileType(Path("two.tif").c_str(), 1, &info), kIkFileTiff);
  EXPECT_EQ(info.pageCount, 2);
  EXPECT_EQ(info.xDpi, 400);
  ASSERT_EQ(IKFileType(Path("two.tif").c_str(), 0, &info), kIkFileTiff);
  EXPECT_EQ(info.xDpi, 200);
  Owned backFirst(IKTiffFileLoad(Path("two.tif").c_str(), 0));
  Owned backSecond(IKTiffFileLoad(Path("two.tif").c_str(), 1));
  EXPECT_EQ(PictureOf(backFirst.image), first);
  EXPECT_EQ(PictureOf(backSecond.image), second);
  EXPECT_EQ(PictureThroughPlatform(Path("two.tif"), 1), second);
  EXPECT_FALSE(FileExistsNow(Path("two.tif.~ik"))) << "no temporary file is left";
}

TEST_F(TiffPages, AFileWithAGreyPageGoesToThePlatformsCodecWhole) {
  const Picture grey = {"-#.-#", "#.-#."};
  WriteBmp(Path("grey.bmp"), grey, 8);
  Owned greyImage(IKFileLoad(Path("grey.bmp").c_str(), 0, 0, 0, 0, nullptr, nullptr, nullptr));
  ASSERT_TRUE(IKTiffFileSave(Path("mixed.tif").c_str(), greyImage.image, kIkTiffNone, 0, 0));
  const Picture page = PagePictureCases()[2].picture;
  Owned oneBit(Image(page, 300));
  ASSERT_TRUE(IKTiffFileSave(Path("mixed.tif").c_str(), oneBit.image, kIkTiffGroup4, 0, 1));
  IKFileInfo info;
  ASSERT_EQ(IKFileType(Path("mixed.tif").c_str(), 0, &info), kIkFileTiff);
  EXPECT_EQ(info.pageCount, 2);
  Owned first(IKTiffFileLoad(Path("mixed.tif").c_str(), 0));
  Owned second(IKTiffFileLoad(Path("mixed.tif").c_str(), 1));
  EXPECT_EQ(DepthOf(first.image), 8);
  EXPECT_EQ(PictureOf(second.image), page);
}

}  // namespace
