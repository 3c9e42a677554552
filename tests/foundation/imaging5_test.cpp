// The binding of sheetdesk5: the ImageKit-5 functions, linked by import,
// answer through the same table and checked calls.
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/image_cache.h"
#include "foundation/imaging.h"
#include "tests/platform/image_fixtures.h"
#include "tests/support/hook_recorder.h"

namespace {

class Imaging5 : public testing::Test {
 protected:
  void SetUp() override { BindImagingLibrary(); }
  void TearDown() override { UnbindImagingLibrary(); }
};

TEST_F(Imaging5, TheTableHoldsTheFourteenImageKit5Functions) {
  EXPECT_EQ(ImagingLibraryVersion(), 5);
  int bound = 0;
  for (ImageKitEntry entry : g_imageKit.entries) bound += entry != nullptr;
  EXPECT_EQ(bound, 14);
  for (int missing : {kIKScanInitialize, kIKScanTerminate, kIKScanGetCapEnum, kIKScanGetCapRange}) {
    EXPECT_FALSE(g_imageKit.entries[missing]) << kImageKitEntryNames[missing];
  }
}

TEST_F(Imaging5, ImageOperationsWorkThroughTheAdapters) {
  const std::string folder = FreshFolder("ik5ops") + "\\";
  WriteTiff(folder + "two.tif", {{"#..", "..."}, {".#", "#."}}, true);
  int pages = 0, bits = 0, width = 0, height = 0;
  EXPECT_EQ(GetImageFileSize((folder + "two.tif").c_str(), &pages, &bits), 0);
  EXPECT_EQ(pages, 2) << "the smaller record's page count reaches its place";
  EXPECT_EQ(bits, 1);
  EXPECT_EQ(GetImageFileDims((folder + "two.tif").c_str(), &width, &height), 0);
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 2);

  HGLOBAL page = IkTiffFileLoad((folder + "two.tif").c_str(), 1);
  ASSERT_TRUE(IkBmpFileSave((folder + "page.bmp").c_str(), page));
  IkFreeMemory(page);
  ASSERT_EQ(ResizeImageFile((folder + "page.bmp").c_str(), 90), 0);
  ImageHandle turned = LoadImageCached((folder + "page.bmp").c_str());
  EXPECT_EQ(PictureOf(turned), (Picture{"#.", ".#"})) << "a quarter turn of .# / #.";
  ASSERT_EQ(DrawImageRect(turned, 0, 1, 2, 1, (folder + "cut.bmp").c_str()), 0);
  ASSERT_EQ(ConvertImageFileToBmp((folder + "cut.bmp").c_str(), (folder + "cut.tif").c_str(), 0), 0);
  EXPECT_EQ(GetImageFileDims((folder + "cut.tif").c_str(), &width, &height), 0);
  EXPECT_EQ(width, 2);
  EXPECT_EQ(height, 1);
  EXPECT_EQ(DeleteImage(turned), 0);
}

TEST(Imaging5Binding, UnbindingClosesWhatTheLibrariesKeptOpenOnTheThread) {
  const std::string png = FreshFolder("ik5close") + "\\page.png";
  WritePng(png, {"#.", ".#"});
  std::thread([&] {
    BindImagingLibrary();
    DeleteImage(LoadImageUncached(png.c_str()));
    EXPECT_TRUE(ThreadRunsCom()) << "kept between calls";
    UnbindImagingLibrary();
    EXPECT_FALSE(ThreadRunsCom());
  }).join();
}

TEST_F(Imaging5, ScanningGoesThroughTheImageKit5BlockWithoutCapabilities) {
  MessageBoxRecorder boxes;
  char name[64] = "x";
  EXPECT_EQ(IkScanList(nullptr, name, sizeof name), 0) << "no feeder set up here";
  IKScanParams params = {};
  params.size = sizeof params;
  params.sides = kIkScanOneSided;
  params.xResolution = params.yResolution = 300;
  EXPECT_EQ(IkScanExec(nullptr, &params, nullptr), kIkScanFailed);
  EXPECT_TRUE(boxes.calls().empty());
  int low = 0, high = 0;
  EXPECT_EQ(IkScanGetCapRange("", kIkCapBrightness, &low, &high, nullptr, nullptr), 0);
  EXPECT_EQ(boxes.texts(), (std::vector<std::string>{
                               "イメージライブラリの関数“IKScanGetCapRange”を使用できません。"}));
}

}  // namespace
