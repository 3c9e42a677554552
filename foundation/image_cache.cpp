// The cache of up to 501 images found by file name (screens repaint their
// bitmaps from it), freeing, sizes and drawing.
#include "foundation/image_cache.h"

#include <cstdint>
#include <cstring>

#include "foundation/imaging.h"
#include "foundation/msgbox.h"

ImageCacheEntry g_imageCache[kImageCacheLastEntry + 1];
int g_imageCacheHighest = 0;

namespace {

double g_paintScaleX = 1.0;
double g_paintScaleY = 1.0;

bool IsEmptyName(const char* fileName) { return !fileName || !*fileName; }

int HandleNumber(ImageHandle image) {
  return static_cast<int>(reinterpret_cast<intptr_t>(image));
}

void Fill(ImageCacheEntry* entry, const char* fileName, ImageHandle image) {
  std::strcpy(entry->fileName, fileName);
  entry->image = image;
}

void Empty(ImageCacheEntry* entry) {
  entry->fileName[0] = '\0';
  entry->image = nullptr;
}

}  // namespace

ImageHandle FindCachedImage(const char* fileName) {
  if (IsEmptyName(fileName)) return nullptr;
  for (const ImageCacheEntry& entry : g_imageCache) {
    if (entry.image && std::strcmp(entry.fileName, fileName) == 0) return entry.image;
  }
  return nullptr;
}

ImageHandle LoadImageCached(const char* fileName) {
  if (IsEmptyName(fileName)) return nullptr;
  if (ImageHandle cached = FindCachedImage(fileName)) return cached;
  // A name the entry cannot hold could never be found again.
  if (std::strlen(fileName) >= MAX_PATH) return nullptr;
  ImageHandle image = IkFileLoad(fileName);
  if (!image) return nullptr;
  for (int i = 0; i <= g_imageCacheHighest; ++i) {
    if (!g_imageCache[i].image) {
      Fill(&g_imageCache[i], fileName, image);
      return image;
    }
  }
  if (g_imageCacheHighest < kImageCacheLastEntry) {
    Fill(&g_imageCache[++g_imageCacheHighest], fileName, image);
    return image;
  }
  // Every entry is in use: the new image takes the place of the last one.
  if (DeleteImage(g_imageCache[kImageCacheLastEntry].image) != 0) {
    IkFreeMemory(image);
    return nullptr;
  }
  Fill(&g_imageCache[kImageCacheLastEntry], fileName, image);
  return image;
}

void ForgetCachedImage(const char* fileName) {
  if (IsEmptyName(fileName)) return;
  for (ImageCacheEntry& entry : g_imageCache) {
    if (entry.image && std::strcmp(entry.fileName, fileName) == 0) Empty(&entry);
  }
}

void FreeCachedImage(const char* fileName) {
  if (IsEmptyName(fileName) || !ImagingEntriesReady({kIKFreeMemory})) return;
  for (ImageCacheEntry& entry : g_imageCache) {
    if (!entry.image || std::strcmp(entry.fileName, fileName) != 0) continue;
    if (!IkFreeMemory(entry.image)) {
      ShowErrorMessage("", "削除エラー(ﾋﾞｯﾄﾏｯﾌﾟ:%d)", HandleNumber(entry.image));
    }
    Empty(&entry);
  }
}

int DeleteImage(ImageHandle image) {
  if (!image) return 0;
  if (!ImagingEntriesReady({kIKFreeMemory})) return -1;
  if (!IkFreeMemory(image)) {
    ShowErrorMessage("", "削除エラー(ﾋﾞｯﾄﾏｯﾌﾟ:%d)", HandleNumber(image));
    return -1;
  }
  for (ImageCacheEntry& entry : g_imageCache) {
    if (entry.image == image) {
      Empty(&entry);
      break;
    }
  }
  return 0;
}

ImageHandle LoadImageUncached(const char* fileName) {
  return IsEmptyName(fileName) ? nullptr : IkFileLoad(fileName);
}

void GetImageSize(ImageHandle image, int* width, int* height) {
  IKImageInfo info = {};
  if (!image || !IkGetImageType(image, &info)) info = IKImageInfo{};
  *width = info.width;
  *height = info.height;
}

int GetImageFileDims(const char* fileName, int* width, int* height) {
  IKFileInfo info = {};
  const bool read = !IsEmptyName(fileName) && IkFileType(fileName, 0, &info);
  *width = read ? info.width : 0;
  *height = read ? info.height : 0;
  return read ? 0 : -1;
}

int GetImageFileSize(const char* fileName, int* pageCount, int* bitsPerPixel) {
  IKFileInfo info = {};
  const bool read = !IsEmptyName(fileName) && IkFileType(fileName, 0, &info);
  *pageCount = read ? info.pageCount : 0;
  *bitsPerPixel = read ? info.bitsPerPixel : 0;
  return read ? 0 : -1;
}

void SetImagePaintScale(double horizontal, double vertical) {
  g_paintScaleX = horizontal;
  g_paintScaleY = vertical;
}

void DrawImageFileScaled(HDC dc, ImageHandle image, int x, int y, int width, int height) {
  if (!image) return;
  if (width < 1 || height < 1) GetImageSize(image, &width, &height);
  const RECT target = {x, y, x + static_cast<int>(width * g_paintScaleX),
                       y + static_cast<int>(height * g_paintScaleY)};
  IkImageOut(dc, image, target);
}

void DrawImageInRect(HDC dc, ImageHandle image, const RECT& rect) {
  if (image) IkImageOut(dc, image, rect);
}
