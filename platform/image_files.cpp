#include "platform/image_files.h"

#include <string>

#include "platform/bmp_files.h"
#include "platform/dib_image.h"
#include "platform/tiff_files.h"
#include "platform/wic_files.h"

namespace {

constexpr char kSavingSuffix[] = ".~ik";

int32_t ClampedFileSize(uint64_t bytes) {
  return bytes > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int32_t>(bytes);
}

uint64_t FileSizeOf(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &attributes)) return 0;
  return (uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
}

void DescribeOneBitBmp(const BmpPageFile& bmp, IKFileInfo* info) {
  const OneBitBmp& page = bmp.page();
  *info = IKFileInfo{};
  info->fileType = kIkFileBmp;
  info->fileSize = ClampedFileSize(bmp.fileBytes());
  info->width = page.width;
  info->height = page.height;
  info->xDpi = DpiFromPelsPerMeter(page.xPelsPerMeter);
  info->yDpi = DpiFromPelsPerMeter(page.yPelsPerMeter);
  info->bitsPerPixel = 1;
  info->pageCount = 1;
}

// Writes a TIFF file of `appendTo`'s pages (when given) and `image`: 1-bit
// pages by our own codec, a file with pages of other depths by the
// platform's.
bool WriteTiffFile(const char* path, const ImageLock& image, const char* appendTo,
                   int compression) {
  if (image.bitsPerPixel() != 1) {
    return WriteWicFile(path, image, SaveFormat::kTiff, appendTo, compression);
  }
  BilevelTiffFile file(compression);
  IKFileInfo info;
  if (appendTo && ReadImageFileInfo(appendTo, 0, &info) != kIkFileTiff) return false;
  for (int page = 0; appendTo && page < info.pageCount; ++page) {
    HGLOBAL earlier = LoadImageFilePage(appendTo, page, kIkFileTiff, nullptr, nullptr, nullptr);
    if (!earlier) return false;
    bool oneBit;
    {
      ImageLock lock(earlier);
      oneBit = file.Add(lock);
    }
    FreeImage(earlier);
    if (!oneBit) return WriteWicFile(path, image, SaveFormat::kTiff, appendTo, compression);
  }
  return file.Add(image) && file.Write(path);
}

}  // namespace

int ReadImageFileInfo(const char* path, int page, IKFileInfo* info) {
  if (!info || !path || !*path || page < 0) return kIkFileUnknown;
  {
    BmpPageFile bmp(path);
    if (!bmp.opened() || bmp.kind() == BmpKind::kDamaged) return kIkFileUnknown;
    if (bmp.kind() == BmpKind::kOneBit) {
      if (page != 0) return kIkFileUnknown;
      DescribeOneBitBmp(bmp, info);
      return kIkFileBmp;
    }
  }
  int type = kIkFileUnknown;
  switch (ReadBilevelTiffInfo(path, page, info)) {
    case TiffPageRead::kRead: type = kIkFileTiff; break;
    case TiffPageRead::kDamaged: return kIkFileUnknown;
    case TiffPageRead::kNotOurs: type = ReadWicFileInfo(path, page, info); break;
  }
  if (type != kIkFileUnknown) info->fileSize = ClampedFileSize(FileSizeOf(path));
  return type;
}

HGLOBAL LoadImageFilePage(const char* path, int page, int wanted, int* fileType, int* pageCount,
                          int* bitsPerPixel) {
  if (!path || !*path || page < 0) return nullptr;
  if (wanted == kIkFileUnknown || wanted == kIkFileBmp) {
    BmpPageFile bmp(path);
    if (!bmp.opened() || bmp.kind() == BmpKind::kDamaged) return nullptr;
    if (bmp.kind() == BmpKind::kOneBit) {
      HGLOBAL image = page == 0 ? bmp.LoadPage() : nullptr;
      if (image) {
        if (fileType) *fileType = kIkFileBmp;
        if (pageCount) *pageCount = 1;
        if (bitsPerPixel) *bitsPerPixel = 1;
      }
      return image;
    }
  }
  if (wanted == kIkFileUnknown || wanted == kIkFileTiff) {
    HGLOBAL image = nullptr;
    switch (LoadBilevelTiffPage(path, page, &image, pageCount)) {
      case TiffPageRead::kRead:
        if (fileType) *fileType = kIkFileTiff;
        if (bitsPerPixel) *bitsPerPixel = 1;
        return image;
      case TiffPageRead::kDamaged: return nullptr;
      case TiffPageRead::kNotOurs: break;
    }
  }
  return LoadWicPage(path, page, wanted, fileType, pageCount, bitsPerPixel);
}

bool SaveImageFile(const char* path, HGLOBAL image, SaveFormat format, bool appendPage,
                   int compression) {
  ImageLock lock(image);
  if (!lock.ok() || !path || !*path) return false;
  // A file that exists is replaced only by a complete one written beside
  // it; a new file is written in place (a failed write leaves none).
  const bool replacing = GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
  const std::string target = replacing ? std::string(path) + kSavingSuffix : std::string(path);
  const bool written =
      format == SaveFormat::kBmp && lock.bitsPerPixel() == 1
          ? WriteOneBitBmp(target.c_str(), lock)
      : format == SaveFormat::kTiff
          ? WriteTiffFile(target.c_str(), lock, appendPage && replacing ? path : nullptr,
                          compression)
          : WriteWicFile(target.c_str(), lock, format, nullptr, compression);
  if (written && (!replacing || MoveFileExA(target.c_str(), path, MOVEFILE_REPLACE_EXISTING))) {
    return true;
  }
  DeleteFileA(target.c_str());
  return false;
}
