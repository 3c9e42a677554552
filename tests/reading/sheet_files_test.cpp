// The sheet image files of a run under the imaging libraries: a scanned
// page cleaned, searched and written as the work file, turned straight or
// round in place, loaded whole; and what each step says when it cannot.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/image_cache.h"
#include "foundation/imaging.h"
#include "reading/reading.h"
#include "tests/platform/image_fixtures.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/test_pictures.h"
#include "tools/sheetgen/page_reader.h"
#include "tools/sheetgen/sheet_generator.h"

namespace {

SheetDefinition MarkedSheet(int mode) {
  SheetDefinition d;
  SheetPaperRow paper;
  paper.compensationMode = mode;
  d.papers.push_back(paper);
  return d;
}

// The pixels of a loaded page with bit 0 black, whatever its palette.
std::vector<uint8_t> BlackFirstPixels(const SheetImage& image) {
  std::vector<uint8_t> pixels = image.pixels;
  if (image.bitmap.polarity != 0) {
    for (uint8_t& byte : pixels) byte = static_cast<uint8_t>(~byte);
  }
  return pixels;
}

class SheetFiles : public testing::Test {
 protected:
  void SetUp() override {
    BindImagingLibrary();
    folder_ = FreshFolder("sheetfiles") + "\\";
    g_sheetSettings = SheetSettings();
    g_readingRun = ReadingRun();
    g_readingRun.dpi = 300;
    g_readingRun.workFile = Path("CONV_300.BMP");
  }
  void TearDown() override {
    FreeSheetBitmap();
    UnbindImagingLibrary();
  }
  std::string Path(const char* name) const { return folder_ + name; }
  // A generated page of a sheet with the marks of `mode`, scanned as asked.
  std::string WritePage(const char* name, int mode, const ScanDegradation& scan) {
    SheetRequest request;
    request.scan = scan;
    const GeneratedSheet sheet = GenerateSheet(MarkedSheet(mode), request);
    EXPECT_TRUE(WriteSheetBmp(Path(name), sheet));
    return Path(name);
  }
  std::string folder_;
};

TEST_F(SheetFiles, ACleanedPageIsWrittenWithoutItsSpecksAndItsMarksFound) {
  g_sheetSettings.compensationMode = 3;
  g_sheetSettings.noiseSize = 3;  // specks up to 11 pixels at 300 dpi
  ScanDegradation scan;
  scan.specks = 150;
  const std::string page = WritePage("SCAN_300.BMP", 3, scan);
  MessageBoxRecorder boxes;
  ASSERT_EQ(CleanAndSaveSheetImage(page.c_str(), g_readingRun.workFile.c_str()), 0);
  EXPECT_TRUE(boxes.texts().empty());
  EXPECT_EQ(g_cornerMarks.topLeft.x, 118);
  EXPECT_EQ(g_cornerMarks.topLeft.y, 165);
  EXPECT_GT(MeasureSheetImageInk(page.c_str(), kInkFullWidth),
            MeasureSheetImageInk(g_readingRun.workFile.c_str(), kInkFullWidth));
  // Only the three marks are left: 35 x 35 pixels each.
  EXPECT_EQ(MeasureSheetImageInk(g_readingRun.workFile.c_str(), kInkFullWidth), 3 * 35 * 35);
}

TEST_F(SheetFiles, PagesAreTurnedStraightOrRoundWhenTheModeAsks) {
  struct Case {
    const char* what;
    int mode;
    double skew;
    bool upsideDown;
    double rotation;  // expected rotation value, degrees
  };
  const double tilt = -1.0 * 3.14159265 / 3.14;  // a page turned 1 degree anticlockwise
  const Case cases[] = {
      {"straight", 2, 0, false, 0},
      {"tilted, two marks", 2, 1.0, false, tilt},
      {"tilted, three marks", 3, 1.0, false, tilt},
      {"tilted, one mark: never turned", 1, 1.0, false, 0},
      {"upside down", 3, 0, true, 180},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_sheetSettings.compensationMode = c.mode;
    ScanDegradation scan;
    scan.skewDegrees = c.skew;
    scan.upsideDown = c.upsideDown;
    const std::string page = WritePage("SCAN_300.BMP", c.mode, scan);
    MessageBoxRecorder boxes;
    ASSERT_EQ(LoadSheetForReading(page.c_str(), 0), 0);
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_NEAR(g_readingRun.rotation, c.rotation, 0.03);
    EXPECT_TRUE(g_cornerMarks.topLeft.found());
    if (c.mode != 1) {
      EXPECT_NEAR(g_cornerMarks.tilt, 0, 0.03);
    }
    EXPECT_FALSE(FileExistsNow(g_readingRun.workFile + ".~turn.bmp"));
  }
}

TEST_F(SheetFiles, APageIsTurnedInMemoryPixelForPixelAsTheImagingLibraryTurnsItsFile) {
  struct Case {
    const char* what;
    int mode;
    double skew;
    bool upsideDown;
  };
  const Case cases[] = {
      {"three marks, anticlockwise", 3, 1.0, false},
      {"two marks, clockwise", 2, -1.4, false},
      {"upside down and tilted", 3, 0.6, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_sheetSettings.compensationMode = c.mode;
    ScanDegradation scan;
    scan.skewDegrees = c.skew;
    scan.upsideDown = c.upsideDown;
    scan.specks = 40;
    const std::string page = WritePage("SCAN_300.BMP", c.mode, scan);
    MessageBoxRecorder boxes;
    // The page as the run cleans it, turned by the imaging library on file.
    const std::string cleaned = Path("clean.bmp");
    const std::string library = Path("library.bmp");
    ASSERT_EQ(CleanAndSaveSheetImage(page.c_str(), cleaned.c_str()), 0);
    ASSERT_EQ(LoadSheetForReading(page.c_str(), 0), 0);
    ASSERT_NE(g_readingRun.rotation, 0);
    const CornerMarkPositions inMemory = g_cornerMarks;
    HGLOBAL image = IkFileLoad(cleaned.c_str());
    ASSERT_NE(image, nullptr);
    HGLOBAL turned = RotateImage(image, static_cast<int>(std::lround(g_readingRun.rotation * 100)));
    IkFreeMemory(image);
    ASSERT_NE(turned, nullptr);
    ASSERT_TRUE(IkBmpFileSave(library.c_str(), turned));
    IkFreeMemory(turned);

    SheetImage run, expected;
    ASSERT_EQ(LoadSheetImageFile(g_readingRun.workFile.c_str(), 300, &run), SheetFileStatus::kOk);
    ASSERT_EQ(LoadSheetImageFile(library.c_str(), 300, &expected), SheetFileStatus::kOk);
    EXPECT_EQ(run.fileWidth, expected.fileWidth);
    EXPECT_EQ(run.bitmap.height, expected.bitmap.height);
    ASSERT_EQ(run.pixels.size(), expected.pixels.size());
    EXPECT_TRUE(BlackFirstPixels(run) == BlackFirstPixels(expected));
    // The marks searched on the turned page in memory are those of the file.
    ASSERT_EQ(RecheckMarksAfterRotation(library.c_str()), 0);
    EXPECT_EQ(inMemory.topLeft.x, g_cornerMarks.topLeft.x);
    EXPECT_EQ(inMemory.topLeft.y, g_cornerMarks.topLeft.y);
    EXPECT_EQ(inMemory.bottomLeft.y, g_cornerMarks.bottomLeft.y);
    EXPECT_EQ(inMemory.tilt, g_cornerMarks.tilt);
    EXPECT_TRUE(boxes.texts().empty());
  }
}

// A sheet fed across is turned upright on load, a quarter anticlockwise,
// the back of a paired scan a quarter clockwise. The page is replaced only
// once its turn is saved: with the way blocked it stays as scanned.
TEST_F(SheetFiles, APageFedAcrossIsTurnedUprightOrKeptAsScanned) {
  struct Case {
    const char* what;
    int scanType;
    int side;
    bool deliveredClockwise;
  };
  const Case cases[] = {
      {"front", 2, 0, true},
      {"back of a paired scan", 3, 2, false},
  };
  const GeneratedSheet upright = GenerateSheet(MarkedSheet(3), SheetRequest());
  ASSERT_EQ(upright.error, "");
  const std::string page = Path("SCAN_300.BMP");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_readingRun.scanType = c.scanType;
    g_readingRun.currentSide = c.side;
    SheetRequest across;
    across.scan.quarterTurns = c.deliveredClockwise ? 1 : -1;
    ASSERT_TRUE(WriteSheetBmp(page, GenerateSheet(MarkedSheet(3), across)));
    const std::string scanned = ReadBytes(page);
    MessageBoxRecorder boxes;
    CreateDirectoryA((page + ".~turn").c_str(), nullptr);  // the turn cannot be saved
    EXPECT_EQ(LoadImageFile(page.c_str()), -1);
    RemoveDirectoryA((page + ".~turn").c_str());
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"イメージファイルを90度回転できません。"});
    EXPECT_TRUE(ReadBytes(page) == scanned) << "the scanned page is left as it was";

    ASSERT_EQ(LoadImageFile(page.c_str()), 0);
    SheetImage turned;
    ASSERT_EQ(LoadSheetImageFile(page.c_str(), 300, &turned), SheetFileStatus::kOk);
    const SheetImage expected = SheetImageFromGenerated(upright);
    EXPECT_EQ(turned.fileWidth, upright.width);
    EXPECT_EQ(turned.bitmap.height, upright.height);
    EXPECT_TRUE(BlackFirstPixels(turned) == BlackFirstPixels(expected));
    EXPECT_FALSE(FileExistsNow(page + ".~turn"));
  }
}

TEST_F(SheetFiles, APageThatCannotBeTurnedStraightInPlaceStaysAsScanned) {
  g_sheetSettings.compensationMode = 3;
  ScanDegradation scan;
  scan.skewDegrees = 0.8;
  const std::string page = WritePage("SCAN1_300.BMP", 3, scan);
  const std::string scanned = ReadBytes(page);
  MessageBoxRecorder boxes;
  CreateDirectoryA((page + ".~turn.bmp").c_str(), nullptr);
  EXPECT_EQ(PrepareScannedPage(page.c_str()), -1);
  RemoveDirectoryA((page + ".~turn.bmp").c_str());
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{
                               "“" + page + "”を保存できません。\nファイルのプロパティが「読み取り"
                               "専用」になっている可能性があります。\n“" + page + "”を一旦削除して"
                               "から\nもう一度読み取りを行ってください。"});
  EXPECT_TRUE(ReadBytes(page) == scanned);
}

// Specks are erased at noise sizes 1 to 7 only. The noise eraser refuses
// what the loader never gives it; its reason reaches the operator.
TEST_F(SheetFiles, TheNoiseErasersReasonIsShown) {
  ScanDegradation scan;
  scan.specks = 60;
  SheetImage page;
  ASSERT_EQ(LoadSheetImageFile(WritePage("SCAN_300.BMP", 3, scan).c_str(), 300, &page),
            SheetFileStatus::kOk);
  struct Case {
    const char* what;
    SheetBitmap bitmap;
    int noiseSize;
    int result;
    std::vector<std::string> boxes;
    bool erased;
  };
  SheetBitmap deep = page.bitmap;
  deep.bitsPerPixel = 8;
  SheetBitmap empty = page.bitmap;
  empty.bits = nullptr;
  const std::string head = "スキャニングしたイメージのノイズを除去できません。\n";
  const Case cases[] = {
      {"noise size 8: no erasing", page.bitmap, 8, 0, {}, false},
      {"a page", page.bitmap, 2, 0, {}, true},
      {"8 bits a pixel", deep, 2, -1, {head + "ノイズ除去できるのは白黒２値のイメージだけです。"},
       false},
      {"no pixels", empty, 2, -1, {head + "ノイズ除去するイメージが正しくありません。"}, false},
  };
  for (Case c : cases) {
    SCOPED_TRACE(c.what);
    g_sheetSettings.noiseSize = c.noiseSize;
    const std::vector<uint8_t> before = page.pixels;
    MessageBoxRecorder boxes;
    EXPECT_EQ(EraseSheetNoise(c.bitmap), c.result);
    EXPECT_EQ(boxes.texts(), c.boxes);
    EXPECT_EQ(page.pixels != before, c.erased);
  }
}

TEST_F(SheetFiles, AnAreaWithUpTo120BlackPixelsIsBlank) {
  // 40 x 20 pixels; the ink of an area is counted 3 pixels inside its edge.
  struct Case {
    const char* what;
    bool (*black)(int x, int y);
    int blank;
  };
  const Case cases[] = {
      {"120 inside", [](int x, int y) { return x >= 3 && x < 23 && y >= 3 && y < 9; }, -1},
      {"121 inside", [](int x, int y) { return (x >= 3 && x < 23 && y >= 3 && y < 9) ||
                                               (x == 30 && y == 10); }, 0},
      {"all on the edge", [](int x, int y) { return x < 3 || y < 3 || x >= 37 || y >= 17; }, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string area = WriteOneBitBmp(Path("IMG_0001_01.BMP"), 40, 20, true, c.black);
    EXPECT_EQ(IsAreaImageBlank(area.c_str()), c.blank);
  }
  EXPECT_EQ(IsAreaImageBlank(Path("none.bmp").c_str()), 0) << "what cannot be loaded is kept";
}

TEST_F(SheetFiles, RefusedPagesAndFilesSayWhy) {
  g_sheetSettings.compensationMode = 2;
  const std::string eightBit = Path("deep.bmp");
  WriteBmp(eightBit, Picture(4, std::string(8, '.')), 8);
  const std::string missing = Path("none.bmp");
  struct Case {
    const char* what;
    std::string page;
    std::string work;
    std::string message;
  };
  const std::string readOnly = Path("nofolder\\CONV_300.BMP");
  const Case cases[] = {
      {"no name", "", g_readingRun.workFile, "イメージファイル名が空白です。"},
      {"no page", missing, g_readingRun.workFile,
       "画像データの領域サイズを取得できません。(" + missing + ")"},
      {"8 bits a pixel", eightBit, g_readingRun.workFile,
       "１画素が１ビットで表現されていません。\n\nスキャナーの設定画面で、「画像タイプ」を"
       "“白黒”に設定してください。"},
      {"work file not writable", WritePage("SCAN_300.BMP", 2, {}), readOnly,
       "“" + readOnly + "”を保存できません。\nファイルのプロパティが「読み取り専用」になっている"
       "可能性があります。\n“" + readOnly + "”を一旦削除してから\nもう一度読み取りを行って"
       "ください。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_readingRun.workFile = c.work;
    MessageBoxRecorder boxes;
    EXPECT_EQ(LoadSheetForReading(c.page.c_str(), 0), -1);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{c.message});
  }
}

TEST_F(SheetFiles, StoredImagesAreCopiedWithTheirReasonsWhenTheyCannotBe) {
  const std::string page = WritePage("stored.bmp", 2, {});
  g_sheetSettings.compensationMode = 2;
  {
    MessageBoxRecorder boxes;
    ASSERT_EQ(LoadSheetForReading(page.c_str(), 1), 0);
    EXPECT_EQ(ReadBytes(page), ReadBytes(g_readingRun.workFile));
    EXPECT_TRUE(boxes.texts().empty());
  }
  MessageBoxRecorder boxes;
  EXPECT_EQ(CopyFileToFolder(Path("nothing.bmp").c_str(), Path("x.bmp").c_str()), -1);
  EXPECT_EQ(CopyFileToFolder(page.c_str(), Path("nofolder\\x.bmp").c_str()), -1);
  // A source another program holds is not copied, and the diagnosis leaves
  // no empty file in the target's name.
  const HANDLE held = CreateFileA(page.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CopyFileToFolder(page.c_str(), Path("held.bmp").c_str()), -1);
  CloseHandle(held);
  EXPECT_EQ(GetFileAttributesA(Path("held.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(boxes.texts(), (std::vector<std::string>{Path("nothing.bmp") + " はありません。",
                                                    "フォルダ“" + Path("nofolder") + "”はありません。",
                                                    "コピーできません。"}));
}

TEST_F(SheetFiles, TheBackSidesMarkIsReportedWhenAPageIsPrepared) {
  g_sheetSettings.compensationMode = 3;
  SheetDefinition d = MarkedSheet(3);
  SheetPaperRow back = d.papers[0];
  back.side = "0002";
  d.papers.push_back(back);
  for (const char* side : {"0001", "0002"}) {
    for (bool upsideDown : {false, true}) {  // the back mark shows once the page is turned round
      SCOPED_TRACE(testing::Message() << side << (upsideDown ? ", upside down" : ""));
      SheetRequest request;
      request.side = side;
      request.scan.skewDegrees = 0.5;
      request.scan.upsideDown = upsideDown;
      ASSERT_TRUE(WriteSheetBmp(Path("SCAN1_300.BMP"), GenerateSheet(d, request)));
      MessageBoxRecorder boxes;
      EXPECT_EQ(PrepareScannedPage(Path("SCAN1_300.BMP").c_str()), std::string(side) == "0002");
      EXPECT_NEAR(g_cornerMarks.tilt, 0, 0.03);  // the page was turned straight in place
    }
  }
}

}  // namespace
