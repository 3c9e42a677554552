// What each thread keeps of the platform's imaging component: opened by its
// first call that needs the codec and reused by every later one, never
// opened for 1-bit BMP pages, closed by IKEndImaging, and a thread's own COM
// left as the thread had it.
#include "platform/imaging_library.h"  // windows.h before objbase.h

#include <objbase.h>

#include <thread>

#include <gtest/gtest.h>

#include "platform/imaging_session.h"
#include "tests/platform/image_fixtures.h"

namespace {

// Runs `body` on a thread of its own, which starts without COM.
template <class Body>
void OnNewThread(Body body) {
  std::thread thread(body);
  thread.join();
}

bool Loads(const std::string& path) {
  HGLOBAL image = IKFileLoad(path.c_str(), 0, 0, 0, 0, nullptr, nullptr, nullptr);
  IKFreeMemory(image);
  return image != nullptr;
}

class ImagingSession : public testing::Test {
 protected:
  void SetUp() override {
    const std::string folder = FreshFolder("imgsession") + "\\";
    png_ = folder + "page.png";
    tif_ = folder + "page.tif";
    bmp_ = folder + "page.bmp";
    const Picture page = {"#..#", ".##.", "#..#"};
    WritePng(png_, page);
    WriteTiff(tif_, {page, page}, true);
    WriteBmp(bmp_, page, 1);
  }
  std::string png_, tif_, bmp_;
};

TEST_F(ImagingSession, TheFirstCodecCallOpensItAndItStaysUntilTheThreadEndsIt) {
  OnNewThread([&] {
    EXPECT_FALSE(ThreadRunsCom());
    EXPECT_TRUE(Loads(png_));
    EXPECT_TRUE(ThreadRunsCom()) << "kept after the call";
    IWICImagingFactory* factory = IKThreadImagingFactory();
    IKFileInfo info;
    EXPECT_EQ(IKFileType(tif_.c_str(), 1, &info), kIkFileTiff);
    HGLOBAL page = IKTiffFileLoad(tif_.c_str(), 1);
    EXPECT_TRUE(IKTiffFileSave((tif_ + ".out").c_str(), page, kIkTiffNone, 0, 0));
    IKFreeMemory(page);
    EXPECT_EQ(IKThreadImagingFactory(), factory) << "one factory for every call";

    EXPECT_TRUE(IKEndImaging());
    EXPECT_FALSE(ThreadRunsCom()) << "closed by the end call";
    EXPECT_FALSE(IKEndImaging()) << "nothing left to close";
    EXPECT_TRUE(Loads(png_)) << "a later call opens it again";
    EXPECT_TRUE(IKEndImaging());
  });
}

TEST_F(ImagingSession, EachSetOfLibrariesHasItsOwn) {
  OnNewThread([&] {
    EXPECT_TRUE(IKThreadImagingFactory());
    HGLOBAL image = IK5FileLoad(png_.c_str(), 0, nullptr);
    EXPECT_TRUE(image);
    IK5FreeMemory(image);
    EXPECT_TRUE(IK5EndImaging());
    EXPECT_TRUE(ThreadRunsCom()) << "the other set's session is still open";
    EXPECT_TRUE(IKEndImaging());
    EXPECT_FALSE(ThreadRunsCom());
  });
}

TEST_F(ImagingSession, OneBitBmpPagesNeedNoCodec) {
  OnNewThread([&] {
    HGLOBAL page = IKBmpFileLoad(bmp_.c_str());
    ASSERT_TRUE(page);
    IKFileInfo info;
    EXPECT_EQ(IKFileType(bmp_.c_str(), 0, &info), kIkFileBmp);
    HGLOBAL turned = IKRotation(page, 9000, 255, 255, 255);
    EXPECT_TRUE(IKBmpFileSave((bmp_ + ".out").c_str(), turned));
    IKFreeMemory(turned);
    IKFreeMemory(page);
    EXPECT_FALSE(ThreadRunsCom());
    EXPECT_FALSE(IKEndImaging());
  });
}

TEST_F(ImagingSession, AThreadsOwnComIsLeftAsItWas) {
  for (DWORD model : {COINIT_MULTITHREADED, COINIT_APARTMENTTHREADED}) {
    SCOPED_TRACE(model);
    OnNewThread([&] {
      ASSERT_EQ(CoInitializeEx(nullptr, model), S_OK);
      EXPECT_TRUE(Loads(png_));
      EXPECT_TRUE(IKEndImaging());
      EXPECT_TRUE(ThreadRunsCom()) << "the thread's own COM stays open";
      CoUninitialize();
      EXPECT_FALSE(ThreadRunsCom());
    });
  }
}

}  // namespace
