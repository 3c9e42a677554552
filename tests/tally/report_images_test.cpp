// Image files in reports, drawn into a preview bitmap: placement at a point
// and in a grid with their frames, the files that are skipped, and the list
// of a record's page images.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "foundation/imaging.h"
#include "tally/tally.h"
#include "tests/support/test_pictures.h"
#include "tests/support/memory_canvas.h"

namespace {

constexpr COLORREF kInk = RGB(0, 0, 0);

std::string TempFolder(const char* name) {
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  const std::string folder = std::string(base) + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

bool Black(int, int) { return true; }
bool White(int, int) { return false; }

class ReportImages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadImagingLibrary(nullptr); }
  static void TearDownTestSuite() { UnloadImagingLibrary(); }
  void SetUp() override {
    folder_ = TempFolder("report_images");
    SetReportPreviewDC(preview_.dc(), 400, 400, 1.0);
    BeginReportOutput(nullptr, 2, 1, 8, 2, 2);
    g_reportOutput.imageSizePercent = 100;
    g_reportOutput.imageGapX = 5;
    g_reportOutput.imageGapY = 5;
    ASSERT_EQ(StartPrintJobDefault(0, "L"), 1);
  }
  void TearDown() override {
    EndPrintJob();
    g_reportOutput.previewDC = nullptr;
  }
  std::string Bmp(const char* name, bool (*black)(int, int)) {
    return WriteOneBitBmp(folder_ + "\\" + name, 40, 30, true, black);
  }
  std::string folder_;
  MemoryCanvas preview_{400, 400};
};

TEST_F(ReportImages, PrintedImagesAreFramedAndPlacedInTheGrid) {
  const std::string page = Bmp("page.bmp", Black);
  EXPECT_EQ(ReportPrintImageAt(page.c_str(), 50, 60), 0);
  EXPECT_EQ(g_reportOutput.imageWidth, 40);
  EXPECT_EQ(g_reportOutput.imageHeight, 30);
  EXPECT_EQ(preview_.Pixel(70, 75), kInk);
  EXPECT_EQ(preview_.Pixel(50, 75), kInk);  // the frame's left side
  EXPECT_NE(preview_.Pixel(95, 75), kInk);

  // Column 2, row 1 of the grid from the line origin (10, 10): each cell is
  // the last image's size plus the gaps.
  EXPECT_EQ(ReportPrintImage(page.c_str(), 1, 2), 0);
  const int left = 10 + 2 * 45, top = 10 + 35;
  EXPECT_EQ(preview_.Pixel(left + 20, top + 15), kInk);
  EXPECT_NE(preview_.Pixel(left - 3, top + 15), kInk);

  // Half size by the image size percentage.
  g_reportOutput.imageSizePercent = 50;
  EXPECT_EQ(ReportPrintImageAt(page.c_str(), 250, 250), 0);
  EXPECT_EQ(g_reportOutput.imageWidth, 20);
  EXPECT_EQ(preview_.Pixel(260, 260), kInk);
  EXPECT_NE(preview_.Pixel(275, 260), kInk);
}

TEST_F(ReportImages, SkippedFilesReportMinusOne) {
  const std::string blank = Bmp("blank.bmp", White);
  const std::string notAnImage = folder_ + "\\broken.tif";
  std::FILE* out = std::fopen(notAnImage.c_str(), "wb");
  std::fputs("not an image", out);
  std::fclose(out);
  struct Case {
    const char* what;
    std::string file;
  };
  const Case cases[] = {
      {"empty name", ""},
      {"another type", folder_ + "\\page.png"},
      {"blank page", blank},
      {"missing file", folder_ + "\\missing.bmp"},
      {"file that does not load", notAnImage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ReportPrintImageAt(c.file.c_str(), 10, 10), -1);
  }
  EXPECT_NE(preview_.Pixel(12, 12), kInk);
  int width = 0, height = 0;
  EXPECT_EQ(GetReportImageFileSize(notAnImage.c_str(), &width, &height), -1);
  EXPECT_EQ(GetReportImageFileSize(blank.c_str(), &width, &height), 0);
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, 30);
}

TEST_F(ReportImages, PlacedImageMovesTheCursorAndKeepsItsSize) {
  const std::string page = Bmp("place.bmp", Black);
  g_reportOutput.sizeFactor = 2.0;
  ReportPlaceImage(page.c_str(), 3);
  EXPECT_EQ(g_reportOutput.imageWidth, 80);
  EXPECT_EQ(g_reportOutput.columnOffset, 3 * ReportDigitWidth());
  EXPECT_EQ(preview_.Pixel(10 + 70, 10 + 50), kInk);
  // Without a size of its own the next image takes the kept size.
  ReportDrawImage(page.c_str(), 200, 10, 0, 0);
  EXPECT_EQ(preview_.Pixel(270, 50), kInk);
}

TEST(ReportImageList, PagesUpToTheFirstGap) {
  const std::string folder = TempFolder("report_image_list");
  for (const char* name : {"IMG_a_01.bmp", "IMG_b_02.tif", "IMG_c_04.bmp"}) {
    CloseHandle(CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0,
                            nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  EXPECT_EQ(FindImagePageFile(2, folder.c_str()), 0);
  EXPECT_EQ(FindImagePageFile(3, folder.c_str()), -1);
  EXPECT_EQ(ListImageFiles(folder.c_str()), 0);
  EXPECT_EQ(g_reportOutput.imageList, "01,02");
  EXPECT_EQ(ListImageFiles((folder + "\\none").c_str()), 0);
  EXPECT_EQ(g_reportOutput.imageList, "");
}

}  // namespace
