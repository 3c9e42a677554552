// Image operations on files: turning a page file in place, saving a cut-out,
// BMP to TIFF; what each does when loading or saving fails.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/image_cache.h"
#include "foundation/imaging.h"
#include "tests/platform/image_fixtures.h"
#include "tests/support/hook_recorder.h"

namespace {

const Picture kSheet = {
    "##......",
    "#.......",
    "........",
    "......#.",
    ".....###",
};

class ImageFileOps : public testing::Test {
 protected:
  void SetUp() override {
    BindImagingLibrary();
    folder_ = FreshFolder("imgfileops") + "\\";
    WriteBmp(Path("sheet.bmp"), kSheet, 1);
  }
  void TearDown() override { UnbindImagingLibrary(); }
  std::string Path(const char* name) const { return folder_ + name; }
  Picture Load(const char* name, int page = 0) const {
    HGLOBAL image = IkFileLoad(Path(name).c_str(), page);
    const Picture picture = PictureOf(image);
    EXPECT_EQ(DepthOf(image), 1) << name;
    IkFreeMemory(image);
    return picture;
  }
  std::string folder_;
};

TEST_F(ImageFileOps, TurnsAPageFileInPlaceAndKeepsItOneBit) {
  MessageBoxRecorder boxes;
  ASSERT_EQ(ResizeImageFile(Path("sheet.bmp").c_str(), 90), 0);
  EXPECT_EQ(Load("sheet.bmp"), (Picture{"....#", "...##", "....#", ".....", ".....", ".....",
                                        "#....", "##..."}));
  ASSERT_EQ(RotateImageFile(Path("sheet.bmp").c_str(), -90), 0);  // -90 + 180: a quarter on
  EXPECT_EQ(Load("sheet.bmp"), (Picture{"###.....", ".#......", "........", ".......#",
                                        "......##"}));
  ASSERT_EQ(RotateImageFile(Path("sheet.bmp").c_str(), 0), 0);  // upside down again
  EXPECT_EQ(Load("sheet.bmp"), kSheet);
  EXPECT_TRUE(boxes.calls().empty());
  EXPECT_FALSE(FileExistsNow(Path("sheet.bmp.~turn")));
}

TEST_F(ImageFileOps, AFailedTurnLeavesTheFileAsItWas) {
  MessageBoxRecorder boxes;
  const std::string original = ReadBytes(Path("sheet.bmp"));
  // A folder where the turned page would be saved first: the save fails.
  CreateDirectoryA(Path("sheet.bmp.~turn").c_str(), nullptr);
  EXPECT_EQ(ResizeImageFile(Path("sheet.bmp").c_str(), 90), -1);
  RemoveDirectoryA(Path("sheet.bmp.~turn").c_str());
  EXPECT_EQ(ReadBytes(Path("sheet.bmp")), original);

  WriteBytes(Path("text.bmp"), "no picture");
  EXPECT_EQ(ResizeImageFile(Path("text.bmp").c_str(), 90), -1);
  EXPECT_EQ(RotateImageFile(Path("missing.bmp").c_str(), 90), -1);
  EXPECT_EQ(ReadBytes(Path("text.bmp")), "no picture");
  EXPECT_EQ(boxes.texts(), (std::vector<std::string>{
                               "“" + Path("sheet.bmp") + "”をセーブできません。",
                               "イメージ“" + Path("text.bmp") + "”をロードできません。",
                               "イメージ“" + Path("missing.bmp") + "”をロードできません。"}));
}

TEST_F(ImageFileOps, SavesARectangleOfAnImageAsBmp) {
  HGLOBAL sheet = IkFileLoad(Path("sheet.bmp").c_str());
  ASSERT_EQ(DrawImageRect(sheet, 4, 2, 4, 3, Path("cut.bmp").c_str()), 0);
  EXPECT_EQ(Load("cut.bmp"), (Picture{"....", "..#.", ".###"}));
  EXPECT_EQ(DrawImageRect(sheet, 20, 20, 4, 3, Path("none.bmp").c_str()), -1);
  EXPECT_EQ(DrawImageRect(sheet, 0, 0, 4, 3, Path("no folder\\cut.bmp").c_str()), -1)
      << "a save that fails is not reported as saved";
  EXPECT_FALSE(FileExistsNow(Path("none.bmp")));
  IkFreeMemory(sheet);
}

TEST_F(ImageFileOps, ConvertsOnlyBmpFilesToTiff) {
  MessageBoxRecorder boxes;
  WritePng(Path("sheet.png"), kSheet);
  EXPECT_EQ(ConvertImageFileToBmp(Path("sheet.png").c_str(), Path("png.tif").c_str(), 0), 0);
  EXPECT_FALSE(FileExistsNow(Path("png.tif"))) << "another type is left alone";

  ASSERT_EQ(ConvertImageFileToBmp(Path("sheet.bmp").c_str(), Path("sheet.tif").c_str(), 0), 0);
  ASSERT_EQ(ConvertImageFileToBmp(Path("sheet.bmp").c_str(), Path("sheet.tif").c_str(), 1), 0);
  int pages = 0, bits = 0;
  EXPECT_EQ(GetImageFileSize(Path("sheet.tif").c_str(), &pages, &bits), 0);
  EXPECT_EQ(pages, 2);
  EXPECT_EQ(Load("sheet.tif", 1), kSheet);
  EXPECT_TRUE(boxes.calls().empty());

  EXPECT_EQ(ConvertImageFileToBmp(Path("missing.bmp").c_str(), Path("x.tif").c_str(), 0), -1);
  EXPECT_EQ(ConvertImageFileToBmp(Path("sheet.bmp").c_str(), Path("no folder\\x.tif").c_str(), 0),
            -1);
  EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"イメージ“" + Path("missing.bmp") +
                                                     "”をロードできません。"}));
}

TEST_F(ImageFileOps, TheImageDialogRunsThroughTheDialogHook) {
  ModalDialogRecorder dialogs([](const ModalDialogCall& call) -> INT_PTR {
    auto* dialog = static_cast<ImageFileDialog*>(call.data);
    EXPECT_STREQ(dialog->title, "イメージ");
    std::strcpy(dialog->path, "C:\\images\\a.bmp");
    return 1;
  });
  ImageFileDialog dialog;
  dialog.title = "イメージ";
  dialog.folder = "C:\\images";
  EXPECT_TRUE(IkOpenFileDlg(&dialog));
  EXPECT_STREQ(dialog.path, "C:\\images\\a.bmp");
  EXPECT_EQ(dialogs.kinds(), (std::vector<std::string>{"IKOpenFileDlg"}));
}

}  // namespace
