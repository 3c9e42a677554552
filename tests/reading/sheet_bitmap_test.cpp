// 1-bit BMP sheet images: what is refused and why, how pixels land in memory
// and in the pixel matrix, and the files written back. The files read here
// are written byte by byte by the test pictures, not by the code under test.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "reading/sheet_core.h"
#include "tests/support/test_pictures.h"

namespace {

std::string TempPath(const char* name) { return testing::TempDir() + name; }

void Put32At(std::string& bytes, int offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

// A 1-bit BMP from rows of text, then patched by `patch`.
std::string WritePatchedBmp(const char* name, const Picture& picture,
                            void (*patch)(std::string&) = nullptr, bool blackFirst = true) {
  const std::string path = TempPath(name);
  WriteBmp(path, picture, 1, blackFirst);
  if (patch) {
    std::string bytes = ReadBytes(path);
    patch(bytes);
    WriteBytes(path, bytes);
  }
  return path;
}

const Picture kSmall = {"#....",
                        ".#...",
                        "..##."};

TEST(SheetBitmap, RefusesWhatIsNotASheetImageWithItsReason) {
  struct Case {
    const char* what;
    const char* name;
    void (*patch)(std::string&);
    SheetFileStatus status;
  };
  const Case cases[] = {
      {"plain", "plain.bmp", nullptr, SheetFileStatus::kOk},
      {"upper-case extension", "PLAIN.BMP", nullptr, SheetFileStatus::kOk},
      {"other extension", "plain.tif", nullptr, SheetFileStatus::kNotBmp},
      {"8 bits a pixel", "deep.bmp", [](std::string& b) { b[28] = 8; },
       SheetFileStatus::kBitDepth},
      {"16 colours", "colours.bmp", [](std::string& b) { Put32At(b, 46, 16); },
       SheetFileStatus::kColours},
      {"no colour count", "nocount.bmp", [](std::string& b) { Put32At(b, 46, 0); },
       SheetFileStatus::kOk},
      {"OS/2 header", "os2.bmp", [](std::string& b) { Put32At(b, 14, 12); },
       SheetFileStatus::kHeader},
      {"one colour", "onecolour.bmp", [](std::string& b) { Put32At(b, 46, 1); },
       SheetFileStatus::kColours},
      {"compressed rows", "rle.bmp", [](std::string& b) { Put32At(b, 30, 1); },
       SheetFileStatus::kHeader},
      {"rows inside the headers", "inside.bmp", [](std::string& b) { Put32At(b, 10, 54); },
       SheetFileStatus::kHeader},
      {"version 5 header whose palette is past the file", "v5short.bmp",
       [](std::string& b) { Put32At(b, 14, 124); b.resize(62); }, SheetFileStatus::kHeader},
      {"foreign magic", "magic.bmp", [](std::string& b) { b[0] = 'I'; },
       SheetFileStatus::kHeader},
      {"zero width", "nowidth.bmp", [](std::string& b) { Put32At(b, 18, 0); },
       SheetFileStatus::kHeader},
      {"width beyond 16 bits", "wide.bmp", [](std::string& b) { Put32At(b, 18, 40000); },
       SheetFileStatus::kHeader},
      {"zero height", "flat.bmp", [](std::string& b) { Put32At(b, 22, 0); },
       SheetFileStatus::kHeader},
      {"short file", "short.bmp", [](std::string& b) { b.resize(30); },
       SheetFileStatus::kHeader},
      {"rows cut off", "cut.bmp", [](std::string& b) { b.resize(b.size() - 2); },
       SheetFileStatus::kTruncated},
      {"pixel offset beyond the file", "offset.bmp", [](std::string& b) { Put32At(b, 10, 9999); },
       SheetFileStatus::kTruncated},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string written = WritePatchedBmp("source.bmp", kSmall, c.patch);
    const std::string path = TempPath(c.name);
    WriteBytes(path, ReadBytes(written));
    SheetImage image;
    EXPECT_EQ(LoadSheetImageFile(path.c_str(), 300, &image), c.status);
  }
  SheetImage image;
  EXPECT_EQ(LoadSheetImageFile(TempPath("missing.bmp").c_str(), 300, &image),
            SheetFileStatus::kOpen);
}

TEST(SheetBitmap, MessagesNameTheReason) {
  EXPECT_STREQ(SheetFileMessage(SheetFileStatus::kOpen), "画像ファイル“%s”をオープンできません。");
  EXPECT_STREQ(SheetFileMessage(SheetFileStatus::kHeader), "ヘッダ情報をセットできません。");
  EXPECT_STREQ(SheetFileMessage(SheetFileStatus::kBitDepth),
               "１画素が１ビットで表現されていません。\n\nスキャナーの設定画面で、"
               "「画像タイプ」を“白黒”に設定してください。");
  EXPECT_STREQ(SheetFileMessage(SheetFileStatus::kColours), "色数が２色以外です。");
  EXPECT_STREQ(SheetFileMessage(SheetFileStatus::kNotBmp), "");
}

TEST(SheetBitmap, SizeIsTakenFromTheHeadersOfBmpFilesOnly) {
  const std::string bmp = WritePatchedBmp("size.bmp", Picture(7, std::string(33, '.')));
  long size = -1;
  EXPECT_EQ(GetBmpImageSize(bmp.c_str(), &size), 1);
  EXPECT_EQ(size, 8 * 7);  // 33 pixels take two 32-bit words a row
  const std::string tif = TempPath("size.tif");
  WriteBytes(tif, ReadBytes(bmp));
  size = -1;
  EXPECT_EQ(GetBmpImageSize(tif.c_str(), &size), 0);
  EXPECT_EQ(size, -1);
  // Headers alone that claim a 32000 x 32000 page (128 MB of rows): no size,
  // so that nothing is allocated for rows the file does not hold.
  const std::string huge = WritePatchedBmp("huge.bmp", Picture(1, "."), [](std::string& b) {
    Put32At(b, 18, 32000);
    Put32At(b, 22, 32000);
    b.resize(62);
  });
  EXPECT_EQ(GetBmpImageSize(huge.c_str(), &size), 0);
  EXPECT_EQ(size, -1);
  long bytes = -1;
  EXPECT_EQ(SheetImageBytes(huge.c_str(), &bytes), SheetFileStatus::kTruncated);
  EXPECT_EQ(bytes, -1);
  char extension[4];
  EXPECT_EQ(GetImageExtension("aB", extension), 0);
  EXPECT_EQ(GetImageExtension("X.TiF", extension), 1);
  EXPECT_STREQ(extension, "tif");
}

// The bytes of a 40-byte-header BMP with an info header of `infoBytes`
// (version 4: 108, version 5: 124), the rows stored top first when `topDown`.
std::string RestoredBmp(std::string bytes, uint32_t infoBytes, bool topDown) {
  const uint32_t grow = infoBytes - 40;
  const int32_t height = static_cast<int32_t>(static_cast<unsigned char>(bytes[22]) |
                                              static_cast<unsigned char>(bytes[23]) << 8);
  std::string rows = bytes.substr(62);
  if (topDown) {
    const std::size_t stride = rows.size() / height;
    std::string flipped;
    for (int32_t y = height - 1; y >= 0; --y) flipped += rows.substr(y * stride, stride);
    rows = flipped;
    Put32At(bytes, 22, static_cast<uint32_t>(-height));
  }
  std::string out = bytes.substr(0, 54) + std::string(grow, '\0') + bytes.substr(54, 8) + rows;
  Put32At(out, 2, static_cast<uint32_t>(out.size()));
  Put32At(out, 10, 62 + grow);
  Put32At(out, 14, infoBytes);
  return out;
}

TEST(SheetBitmap, LoadsRowsTopFirstWithBlackByTheDarkerPaletteEntry) {
  struct Form {
    uint32_t infoBytes;
    bool topDown;
  };
  for (const Form form : {Form{40, false}, Form{40, true}, Form{108, false}, Form{124, true}}) {
    for (bool blackFirst : {true, false}) {
      SCOPED_TRACE(testing::Message() << "info header " << form.infoBytes << ", top-down "
                                      << form.topDown << ", black first " << blackFirst);
      const std::string written = WritePatchedBmp("palette.bmp", kSmall, nullptr, blackFirst);
      const std::string path = TempPath("palette_form.bmp");
      WriteBytes(path, RestoredBmp(ReadBytes(written), form.infoBytes, form.topDown));
      SheetImage image;
      ASSERT_EQ(LoadSheetImageFile(path.c_str(), 200, &image), SheetFileStatus::kOk);
      const SheetBitmap& b = image.bitmap;
      EXPECT_EQ(b.width, 32);
      EXPECT_EQ(b.height, 3);
      EXPECT_EQ(b.bytesPerLine, 4);
      EXPECT_EQ(b.dpi, 200);  // the run's resolution, not the file's 300
      EXPECT_EQ(b.polarity, blackFirst ? 0 : 1);
      EXPECT_EQ(image.fileWidth, 5);
      // Black is "#" whatever the palette; the pad bits of the rows (zeros in
      // the file) are white.
      const unsigned char zeroIsBlack[] = {0x7F, 0xBF, 0xCF};
      for (int y = 0; y < 3; ++y) {
        const unsigned char row = image.pixels[4 * y];
        EXPECT_EQ(blackFirst ? row : static_cast<unsigned char>(~row), zeroIsBlack[y]) << y;
        EXPECT_EQ(image.pixels[4 * y + 1], blackFirst ? 0xFF : 0x00);
      }
    }
  }
}

TEST(SheetBitmap, WritesTheHeadersAndRowsItReadsBack) {
  Picture picture(40, std::string(64, '.'));
  for (int y = 0; y < 40; ++y) picture[y][(y * 3) % 64] = '#';
  for (bool blackFirst : {true, false}) {
    SCOPED_TRACE(blackFirst);
    const std::string source = WritePatchedBmp("round.bmp", picture, nullptr, blackFirst);
    SheetImage image;
    ASSERT_EQ(LoadSheetImageFile(source.c_str(), 300, &image), SheetFileStatus::kOk);
    const std::string copy = TempPath("round_copy.bmp");
    ASSERT_EQ(WriteSheetImageFile(copy.c_str(), image.bitmap), 1);
    const std::string bytes = ReadBytes(copy);
    ASSERT_EQ(bytes.size(), 62u + 8 * 40);
    auto at32 = [&](int offset) {
      uint32_t v = 0;
      for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[offset + i]);
      return v;
    };
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(at32(2), 62u + 8 * 40);
    EXPECT_EQ(at32(10), 62u);
    EXPECT_EQ(at32(14), 40u);
    EXPECT_EQ(at32(18), 64u);
    EXPECT_EQ(at32(22), 40u);
    EXPECT_EQ(at32(28) & 0xFFFF, 1u);
    EXPECT_EQ(at32(38), 11811u);  // 300 dpi in pixels a metre
    EXPECT_EQ(at32(46), 2u);
    EXPECT_EQ(at32(54), blackFirst ? 0u : 0xFFFFFFu);
    // The pixel rows are the source's, byte for byte.
    EXPECT_EQ(bytes.substr(62), ReadBytes(source).substr(62));
    SheetImage again;
    ASSERT_EQ(LoadSheetImageFile(copy.c_str(), 300, &again), SheetFileStatus::kOk);
    EXPECT_EQ(again.pixels, image.pixels);
  }
  SheetImage image;
  ASSERT_EQ(LoadSheetImageFile(WritePatchedBmp("tif_target.bmp", kSmall).c_str(), 300, &image),
            SheetFileStatus::kOk);
  EXPECT_EQ(WriteSheetImageFile(TempPath("refused.tif").c_str(), image.bitmap), 0);
  EXPECT_EQ(WriteSheetImageFile(TempPath("no_folder/x.bmp").c_str(), image.bitmap), 0);
}

TEST(SheetBitmap, AFileWrittenOverHoldsTheNewImageAloneWhateverWasThere) {
  Picture picture(40, std::string(64, '.'));
  for (int y = 0; y < 40; ++y) picture[y][(y * 7) % 64] = '#';
  SheetImage image;
  ASSERT_EQ(LoadSheetImageFile(WritePatchedBmp("over_source.bmp", picture).c_str(), 300, &image),
            SheetFileStatus::kOk);
  const std::size_t size = 62 + 8 * 40;
  struct Case {
    const char* what;
    std::size_t oldSize;  // 0: no file yet
  };
  const Case cases[] = {{"no file", 0}, {"a longer file", 3 * size + 5},
                        {"a shorter file", size / 3}, {"a file of the same size", size}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = TempPath("over.bmp");
    std::remove(path.c_str());
    if (c.oldSize > 0) WriteBytes(path, std::string(c.oldSize, '\x5A'));
    ASSERT_EQ(WriteSheetImageFile(path.c_str(), image.bitmap), 1);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.size(), size);
    EXPECT_EQ(bytes.find('\x5A', 62 + 8), std::string::npos) << "nothing of the old file is left";
    SheetImage again;
    ASSERT_EQ(LoadSheetImageFile(path.c_str(), 300, &again), SheetFileStatus::kOk);
    EXPECT_EQ(again.pixels, image.pixels);
  }
}

TEST(SheetBitmap, AFileWrittenOverHoldsExactlyTheNewBytes) {
  struct Case {
    const char* what;
    const char* old;  // null: no file yet
    std::string bytes;
  };
  const Case cases[] = {
      {"no file", nullptr, "0001\r\n"},
      {"a longer key before", "000123\r\n", "0124\r\n"},
      {"a shorter key before", "9\r\n", "0010\r\n"},
      {"the same length", "0001\r\n", "0002\r\n"},
      {"nothing to write", "0001\r\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = TempPath("endcode.txt");
    std::remove(path.c_str());
    if (c.old) WriteBytes(path, c.old);
    ASSERT_TRUE(WriteFileOver(path.c_str(), c.bytes.data(), c.bytes.size()));
    EXPECT_EQ(ReadBytes(path), c.bytes);
  }
  EXPECT_FALSE(WriteFileOver((TempPath("no such folder") + "/endcode.txt").c_str(), "1", 1));
}

// Pixels of a turned page as text rows ('#' black), the padding included.
std::vector<std::string> PixelRows(const SheetImage& image) {
  std::vector<std::string> rows;
  const SheetBitmap& b = image.bitmap;
  for (int y = 0; y < b.height; ++y) {
    std::string row;
    for (int x = 0; x < b.width; ++x) {
      const bool set = b.bits[y * b.bytesPerLine + x / 8] & (0x80 >> (x % 8));
      row += set == (b.polarity == 1) ? '#' : '.';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(SheetBitmap, APageTurnsOnACanvasThatHoldsItWithWhiteAround) {
  Picture picture(30, std::string(64, '#'));  // all black, 64 x 30
  for (bool blackFirst : {true, false}) {
    SCOPED_TRACE(blackFirst);
    SheetImage page;
    ASSERT_EQ(LoadSheetImageFile(WritePatchedBmp("turn.bmp", picture, nullptr, blackFirst).c_str(),
                                 300, &page),
              SheetFileStatus::kOk);
    struct Case {
      int hundredths;
      int width, height;  // the canvas
    };
    // 64 x 30 turned by a: 64 cos a + 30 sin a wide, 64 sin a + 30 cos a high.
    for (const Case& c : {Case{0, 64, 30}, Case{18000, 64, 30}, Case{500, 67, 36},
                          Case{-150, 65, 32}, Case{18120, 65, 32}}) {
      SCOPED_TRACE(c.hundredths);
      SheetImage turned;
      ASSERT_EQ(TurnSheetImage(page, c.hundredths, &turned), SheetFileStatus::kOk);
      EXPECT_EQ(turned.fileWidth, c.width);
      EXPECT_EQ(turned.bitmap.height, c.height);
      EXPECT_EQ(turned.bitmap.width, (c.width + 31) / 32 * 32);
      EXPECT_EQ(turned.bitmap.polarity, page.bitmap.polarity);
      const std::vector<std::string> rows = PixelRows(turned);
      // The middle stays black; the padding beyond the canvas is white; a
      // turned page leaves its corners white.
      EXPECT_EQ(rows[c.height / 2][c.width / 2], '#');
      for (const std::string& row : rows) {
        EXPECT_EQ(row.find('#', c.width), std::string::npos);
      }
      const bool straight = c.hundredths % 18000 == 0;
      EXPECT_EQ(rows[0][0], straight ? '#' : '.');
      EXPECT_EQ(rows[c.height - 1][c.width - 1], straight ? '#' : '.');
    }
  }
  SheetImage empty, turned;
  EXPECT_EQ(TurnSheetImage(empty, 100, &turned), SheetFileStatus::kHeader);
}

TEST(SheetBitmap, TopDownFilesLoadTopFirstToo) {
  const std::string path = WritePatchedBmp("topdown.bmp", kSmall, [](std::string& b) {
    Put32At(b, 22, static_cast<uint32_t>(-3));
    // Reverse the three rows of 4 bytes each so the picture stays the same.
    std::string rows = b.substr(62);
    b = b.substr(0, 62) + rows.substr(8, 4) + rows.substr(4, 4) + rows.substr(0, 4);
  });
  SheetImage image;
  ASSERT_EQ(LoadSheetImageFile(path.c_str(), 300, &image), SheetFileStatus::kOk);
  EXPECT_EQ(image.bitmap.height, 3);
  EXPECT_EQ(image.pixels[0] & 0xF8, 0x78);   // "#...." with black as 0
  EXPECT_EQ(image.pixels[8] & 0xF8, 0xC8);   // "..##."
}

}  // namespace
