// The image cache over the real imaging libraries, with the load and free
// entries of the table wrapped so the tests count what the cache does.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/image_cache.h"
#include "foundation/imaging.h"
#include "tests/platform/image_fixtures.h"
#include "tests/support/hook_recorder.h"

namespace {

// Forwarders in place of IKFileLoad and IKFreeMemory: they count calls and
// can refuse to free one handle.
struct Counting {
  decltype(&IKFileLoad) load = nullptr;
  decltype(&IKFreeMemory) free = nullptr;
  int loads = 0;
  int frees = 0;
  HGLOBAL refuse = nullptr;
};
Counting g_counting;

HGLOBAL IK_CALL CountedLoad(const char* path, int page, int a, int b, int c, int* type,
                            int* pages, int* bits) {
  ++g_counting.loads;
  return g_counting.load(path, page, a, b, c, type, pages, bits);
}

BOOL IK_CALL CountedFree(HGLOBAL image) {
  if (image == g_counting.refuse) return FALSE;
  const BOOL freed = g_counting.free(image);
  if (freed) ++g_counting.frees;
  return freed;
}

void ClearCache() {
  for (ImageCacheEntry& entry : g_imageCache) {
    if (entry.image) IkFreeMemory(entry.image);
    entry = ImageCacheEntry{};
  }
  g_imageCacheHighest = 0;
}

bool Dot(int x, int y) { return x == y; }

class ImageCache : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = FreshFolder("imgcache") + "\\";
    for (int i = 0; i < 503; ++i) WriteBmp(Name(i), PatternPicture(4 + i % 5, 3, Dot), 1);
  }
  void SetUp() override {
    BindImagingLibrary();
    g_counting = Counting();
    g_counting.load = reinterpret_cast<decltype(&IKFileLoad)>(g_imageKit.entries[kIKFileLoad]);
    g_counting.free = reinterpret_cast<decltype(&IKFreeMemory)>(g_imageKit.entries[kIKFreeMemory]);
    g_imageKit.entries[kIKFileLoad] = reinterpret_cast<ImageKitEntry>(CountedLoad);
    g_imageKit.entries[kIKFreeMemory] = reinterpret_cast<ImageKitEntry>(CountedFree);
    ClearCache();
  }
  void TearDown() override {
    g_counting.refuse = nullptr;
    ClearCache();
    UnbindImagingLibrary();
  }
  static std::string Name(int i) { return folder_ + "image" + std::to_string(i) + ".bmp"; }
  static int EntryOf(ImageHandle image) {
    for (int i = 0; i <= kImageCacheLastEntry; ++i) {
      if (g_imageCache[i].image == image) return i;
    }
    return -1;
  }
  static std::string folder_;
};
std::string ImageCache::folder_;

TEST_F(ImageCache, AFileIsLoadedOnceAndFoundByItsExactName) {
  ImageHandle first = LoadImageCached(Name(0).c_str());
  ASSERT_TRUE(first);
  EXPECT_EQ(LoadImageCached(Name(0).c_str()), first);
  EXPECT_EQ(g_counting.loads, 1);
  EXPECT_EQ(FindCachedImage(Name(0).c_str()), first);
  EXPECT_EQ(FindCachedImage(Name(1).c_str()), nullptr);
  EXPECT_EQ(FindCachedImage((Name(0) + " ").c_str()), nullptr);
  EXPECT_EQ(LoadImageCached(""), nullptr);
  EXPECT_EQ(LoadImageCached(nullptr), nullptr);
  EXPECT_EQ(FindCachedImage(""), nullptr);
  EXPECT_EQ(LoadImageCached((folder_ + "missing.bmp").c_str()), nullptr);
  EXPECT_EQ(g_counting.loads, 2) << "the empty name loads nothing";
}

TEST_F(ImageCache, AFreedNameIsLoadedAgainIntoTheFirstEmptyEntry) {
  for (int i = 0; i < 3; ++i) LoadImageCached(Name(i).c_str());
  MessageBoxRecorder boxes;
  FreeCachedImage(Name(0).c_str());
  EXPECT_EQ(g_counting.frees, 1);
  EXPECT_EQ(FindCachedImage(Name(0).c_str()), nullptr);
  ImageHandle again = LoadImageCached(Name(0).c_str());
  EXPECT_EQ(g_counting.loads, 4);
  EXPECT_EQ(EntryOf(again), 0);

  ImageHandle second = FindCachedImage(Name(1).c_str());
  ForgetCachedImage(Name(1).c_str());
  EXPECT_EQ(FindCachedImage(Name(1).c_str()), nullptr);
  EXPECT_EQ(g_counting.frees, 1) << "a forgotten image stays for its holder";
  EXPECT_EQ(DeleteImage(second), 0);
  EXPECT_EQ(DeleteImage(again), 0);
  EXPECT_EQ(FindCachedImage(Name(0).c_str()), nullptr) << "deleting empties its entry";
  EXPECT_EQ(DeleteImage(nullptr), 0);
  EXPECT_EQ(g_counting.frees, 3);
  EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(ImageCache, WithAllEntriesInUseANewFileReplacesTheLastOnly) {
  std::vector<ImageHandle> images;
  for (int i = 0; i <= kImageCacheLastEntry; ++i) images.push_back(LoadImageCached(Name(i).c_str()));
  EXPECT_EQ(g_imageCacheHighest, kImageCacheLastEntry);
  EXPECT_EQ(EntryOf(images.back()), kImageCacheLastEntry);
  ImageHandle newest = LoadImageCached(Name(501).c_str());
  ASSERT_TRUE(newest);
  EXPECT_EQ(EntryOf(newest), kImageCacheLastEntry);
  EXPECT_EQ(g_counting.frees, 1) << "the image of entry 500 is freed";
  EXPECT_EQ(FindCachedImage(Name(500).c_str()), nullptr);
  for (int i = 0; i < kImageCacheLastEntry; ++i) {
    ASSERT_EQ(g_imageCache[i].image, images[i]) << "entry " << i;
  }
  EXPECT_EQ(g_imageCacheHighest, kImageCacheLastEntry);
}

TEST_F(ImageCache, AFailedFreeWhileReplacingLeavesTheCacheAndFreesTheNewImage) {
  for (int i = 0; i <= kImageCacheLastEntry; ++i) LoadImageCached(Name(i).c_str());
  ImageHandle last = g_imageCache[kImageCacheLastEntry].image;
  g_counting.refuse = last;
  MessageBoxRecorder boxes;
  EXPECT_EQ(LoadImageCached(Name(502).c_str()), nullptr);
  ASSERT_EQ(boxes.calls().size(), 1u);
  EXPECT_EQ(boxes.calls()[0].text,
            "削除エラー(ﾋﾞｯﾄﾏｯﾌﾟ:" + std::to_string(static_cast<int>(reinterpret_cast<intptr_t>(last))) + ")");
  EXPECT_EQ(g_counting.frees, 1) << "the new image was freed, not leaked";
  EXPECT_EQ(g_imageCache[kImageCacheLastEntry].image, last);
  EXPECT_EQ(FindCachedImage(Name(502).c_str()), nullptr);

  EXPECT_EQ(DeleteImage(last), -1);
  EXPECT_EQ(boxes.calls().size(), 2u);
  FreeCachedImage(Name(500).c_str());
  EXPECT_EQ(boxes.calls().size(), 3u);
  EXPECT_EQ(FindCachedImage(Name(500).c_str()), nullptr) << "emptied in any case";
  g_counting.refuse = nullptr;
  IkFreeMemory(last);
}

TEST_F(ImageCache, SizesComeFromTheImageAndFileRecords) {
  const std::string tiff = folder_ + "pages.tif";
  WriteTiff(tiff, {PatternPicture(30, 12, Dot), PatternPicture(5, 5, Dot)}, true);
  int width = -1, height = -1;
  EXPECT_EQ(GetImageFileDims(tiff.c_str(), &width, &height), 0);
  EXPECT_EQ(width, 30);
  EXPECT_EQ(height, 12);
  int pages = -1, bits = -1;
  EXPECT_EQ(GetImageFileSize(tiff.c_str(), &pages, &bits), 0);
  EXPECT_EQ(pages, 2);
  EXPECT_EQ(bits, 1);
  GetImageSize(LoadImageCached(tiff.c_str()), &width, &height);
  EXPECT_EQ(width, 30);
  EXPECT_EQ(height, 12);

  const std::string missing = folder_ + "missing.tif";
  EXPECT_EQ(GetImageFileDims(missing.c_str(), &width, &height), -1);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(GetImageFileSize(missing.c_str(), &pages, &bits), -1);
  EXPECT_EQ(pages, 0);
  GetImageSize(nullptr, &width, &height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
}

TEST_F(ImageCache, DrawsAtTheOwnSizeOrScaledByThePaintScale) {
  const std::string file = folder_ + "corner.bmp";
  WriteBmp(file, {"#.", ".."}, 1);
  ImageHandle image = LoadImageCached(file.c_str());
  MemoryCanvas own(4, 3);
  DrawImageFileScaled(own.dc(), image, 1, 1, 0, 0);
  EXPECT_EQ(own.Rows(), (Picture{"....", ".#..", "...."}));
  SetImagePaintScale(2.0, 1.0);
  MemoryCanvas scaled(6, 3);
  DrawImageFileScaled(scaled.dc(), image, 1, 0, 2, 2);
  SetImagePaintScale(1.0, 1.0);
  EXPECT_EQ(scaled.Rows(), (Picture{".##...", "......", "......"}));
  MemoryCanvas rect(4, 4);
  DrawImageInRect(rect.dc(), image, RECT{0, 0, 4, 4});
  EXPECT_EQ(rect.Rows(), (Picture{"##..", "##..", "....", "...."}));
}

// Where something was drawn: the bounding box of the pixels that are not
// white, as {right, bottom} (exclusive), {0, 0} for none.
std::pair<int, int> InkExtent(const Picture& rows) {
  std::pair<int, int> extent{0, 0};
  for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
    for (int x = 0; x < static_cast<int>(rows[y].size()); ++x) {
      if (rows[y][x] == '.') continue;
      extent.first = std::max(extent.first, x + 1);
      extent.second = std::max(extent.second, y + 1);
    }
  }
  return extent;
}

TEST_F(ImageCache, IconsAreDrawnAtTheirOwnSizeOrStretched) {
  EXPECT_EQ(LoadAppIcon("NO SUCH ICON"), nullptr);
  HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
  ASSERT_TRUE(icon);
  MemoryCanvas own(48, 48);
  DrawIconAt(own.dc(), icon, 0, 0, -1, -1);
  const std::pair<int, int> ownExtent = InkExtent(own.Rows());
  EXPECT_GT(ownExtent.first, 16);
  EXPECT_LE(ownExtent.first, GetSystemMetrics(SM_CXICON));
  MemoryCanvas small(48, 48);
  DrawIconAt(small.dc(), icon, 0, 0, 12, 12);
  const std::pair<int, int> smallExtent = InkExtent(small.Rows());
  EXPECT_GT(smallExtent.first, 0);
  EXPECT_LE(smallExtent.first, 12);
  EXPECT_LE(smallExtent.second, 12);
}

}  // namespace
