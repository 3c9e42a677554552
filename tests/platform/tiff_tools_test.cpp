// Our TIFF pages against another implementation, ImageMagick on libtiff: every coding we write decodes there to the same pixels, and the
// files it writes (Group 4, Group 3, PackBits, uncompressed; either byte
// order and bit order, strips, black as 0 or 1, several pages) read here as
// it read them. Pages go to ImageMagick as PBM files, whose rows are ours,
// and come back as PGM files.
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/tiff_format.h"
#include "tests/platform/bilevel_page_pictures.h"
#include "tests/platform/page_pictures.h"

namespace {

const std::string kFolder = "tiff_tools_test";

std::string PathOf(const std::string& name) { return kFolder + "/" + name; }

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

void WritePbm(const std::string& path, const BilevelPage& page) {
  std::ostringstream head;
  head << "P4\n" << page.width << " " << page.height << "\n";
  const std::string text = head.str();
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.insert(bytes.end(), page.rows.begin(), page.rows.end());
  WriteFile(path, bytes);
}

// A binary PGM as ImageMagick writes a black-and-white page (its levels 0
// and 1) as a picture; an empty one when it is not such a file. (Its PBM
// writer takes a second a page.)
Picture ReadPgm(const std::string& path) {
  const std::vector<uint8_t> bytes = FileBytes(path);
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string magic;
  int width = 0, height = 0, most = 0;
  in >> magic >> width >> height >> most;
  in.get();
  const std::size_t start = static_cast<std::size_t>(in.tellg());
  if (magic != "P5" || !in || most < 1 || most > 255 ||
      bytes.size() != start + std::size_t(width) * height) {
    return Picture();
  }
  Picture picture(height, std::string(width, '.'));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (bytes[start + std::size_t(y) * width + x] * 2 < most) picture[y][x] = '#';
    }
  }
  return picture;
}

// ImageMagick on a command line of its own; its exit status.
int Magick(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str());
}

class TiffTools : public testing::Test {
 protected:
  void SetUp() override {
    std::system(("rm -rf " + kFolder).c_str());
    ASSERT_EQ(mkdir(kFolder.c_str(), 0755), 0);
    ASSERT_EQ(mkdir(PathOf("out").c_str(), 0755), 0);
    ASSERT_EQ(std::system("command -v mogrify >/dev/null"), 0)
        << "ImageMagick is installed by tools/install-packages.sh";
  }
  void TearDown() override { std::system(("rm -rf " + kFolder).c_str()); }
};

// Every picture and coding goes in one call of mogrify (a call costs far
// more than a page).
TEST_F(TiffTools, ImageMagickReadsTheRowsWeWrite) {
  const struct {
    TiffCoding coding;
    const char* name;
  } codings[] = {{TiffCoding::kNone, "uncompressed"},
                 {TiffCoding::kModifiedHuffman, "Modified Huffman"},
                 {TiffCoding::kGroup3OneD, "Group 3 1-D"},
                 {TiffCoding::kGroup3TwoD, "Group 3 2-D"},
                 {TiffCoding::kGroup4, "Group 4"}};
  const std::vector<NamedPicture> pictures = PagePictureCases();
  const auto name = [](std::size_t picture, std::size_t coding) {
    return "p" + std::to_string(picture) + "c" + std::to_string(coding);
  };
  for (std::size_t p = 0; p < pictures.size(); ++p) {
    const BilevelPage page = PageOf(pictures[p].picture, 200);
    for (std::size_t c = 0; c < std::size(codings); ++c) {
      WriteFile(PathOf(name(p, c) + ".tif"), WriteBilevelTiff({&page}, codings[c].coding));
    }
  }
  // The second of two pages.
  const BilevelPage first = PageOf(SheetLikePage(30), 300);
  const BilevelPage second = PageOf(pictures[2].picture, 300);
  WriteFile(PathOf("two.tif"), WriteBilevelTiff({&first, &second}, TiffCoding::kGroup4));
  ASSERT_EQ(Magick("mogrify -path " + PathOf("out") + " -format pgm " + PathOf("p*.tif")), 0);
  ASSERT_EQ(Magick("convert '" + PathOf("two.tif") + "[1]' " + PathOf("out/second.pgm")), 0);

  for (std::size_t p = 0; p < pictures.size(); ++p) {
    for (std::size_t c = 0; c < std::size(codings); ++c) {
      SCOPED_TRACE(std::string(pictures[p].name) + ", " + codings[c].name);
      EXPECT_EQ(ReadPgm(PathOf("out/" + name(p, c) + ".pgm")), pictures[p].picture);
    }
  }
  EXPECT_EQ(ReadPgm(PathOf("out/second.pgm")), PictureOfPage(second));
}

TEST_F(TiffTools, WeReadTheFilesImageMagickWrites) {
  const struct {
    const char* name;
    const char* options;
    int compression;
  } forms[] = {
      {"Group 4", "-compress Group4", 4},
      {"Group 4, big-endian, low bit first",
       "-compress Group4 -define tiff:endian=msb -define tiff:fill-order=lsb", 4},
      {"Group 3", "-compress Fax", 3},
      {"Group 3, black is 0, strips of 3 rows",
       "-compress Fax -define quantum:polarity=min-is-black -define tiff:rows-per-strip=3", 3},
      {"PackBits", "-compress RLE", 32773},
      {"PackBits, white is 0, strips of 5 rows",
       "-compress RLE -define quantum:polarity=min-is-white -define tiff:rows-per-strip=5",
       32773},
      {"uncompressed, big-endian", "-compress None -define tiff:endian=msb", 1},
      {"uncompressed, strips of 2 rows", "-compress None -define tiff:rows-per-strip=2", 1},
  };
  const std::vector<NamedPicture> pictures = PagePictureCases();
  for (std::size_t p = 0; p < pictures.size(); ++p) {
    WritePbm(PathOf("p" + std::to_string(p) + ".pbm"), PageOf(pictures[p].picture, 0));
  }
  for (const auto& form : forms) {
    SCOPED_TRACE(form.name);
    ASSERT_EQ(Magick("mogrify -path " + PathOf("out") +
                     " -format tif -units PixelsPerInch -density 400 " + form.options + " " +
                     PathOf("p*.pbm")),
              0);
    for (std::size_t p = 0; p < pictures.size(); ++p) {
      SCOPED_TRACE(pictures[p].name);
      const std::vector<uint8_t> file = FileBytes(PathOf("out/p" + std::to_string(p) + ".tif"));
      MemoryTiffSource source(file.data(), file.size());
      int pages = 0;
      TiffPageInfo info;
      ASSERT_EQ(ReadTiffPage(source, 0, &pages, &info), TiffFault::kNone);
      EXPECT_EQ(pages, 1);
      EXPECT_EQ(info.compression, form.compression);
      EXPECT_EQ(info.xDpi, 400);
      BilevelPage page;
      ASSERT_EQ(DecodeBilevelTiffPage(source, 0, &page), TiffFault::kNone);
      EXPECT_EQ(PictureOfPage(page), pictures[p].picture);
    }
  }
  // Two pages of one file.
  const Picture first = SheetLikePage(40), second = pictures[2].picture;
  WritePbm(PathOf("first.pbm"), PageOf(first, 0));
  WritePbm(PathOf("second.pbm"), PageOf(second, 0));
  ASSERT_EQ(Magick("convert " + PathOf("first.pbm") + " " + PathOf("second.pbm") +
                   " -compress Group4 " + PathOf("two.tif")),
            0);
  const std::vector<uint8_t> file = FileBytes(PathOf("two.tif"));
  MemoryTiffSource source(file.data(), file.size());
  BilevelPage page;
  ASSERT_EQ(DecodeBilevelTiffPage(source, 1, &page), TiffFault::kNone);
  EXPECT_EQ(PictureOfPage(page), second);
  ASSERT_EQ(DecodeBilevelTiffPage(source, 0, &page), TiffFault::kNone);
  EXPECT_EQ(PictureOfPage(page), first);
}

}  // namespace
