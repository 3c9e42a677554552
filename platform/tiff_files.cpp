#include "platform/tiff_files.h"

#include <algorithm>
#include <vector>

namespace {

// A file read by offset through its handle.
class FileTiffSource : public TiffSource {
 public:
  explicit FileTiffSource(const char* path)
      : file_(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    LARGE_INTEGER size;
    if (file_ != INVALID_HANDLE_VALUE && GetFileSizeEx(file_, &size)) {
      size_ = static_cast<uint64_t>(size.QuadPart);
    }
  }
  ~FileTiffSource() override {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  FileTiffSource(const FileTiffSource&) = delete;
  FileTiffSource& operator=(const FileTiffSource&) = delete;

  uint64_t Size() const override { return size_; }
  bool Read(uint64_t offset, std::size_t count, uint8_t* out) const override {
    if (offset > size_ || count > size_ - offset) return false;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file_, at, nullptr, FILE_BEGIN)) return false;
    while (count > 0) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
      DWORD read = 0;
      if (!ReadFile(file_, out, chunk, &read, nullptr) || read == 0) return false;
      out += read;
      count -= read;
    }
    return true;
  }

 private:
  HANDLE file_;
  uint64_t size_ = 0;
};

TiffPageRead Verdict(TiffFault fault) {
  if (fault == TiffFault::kNone) return TiffPageRead::kRead;
  if (fault == TiffFault::kNotTiff || fault == TiffFault::kOtherPage) return TiffPageRead::kNotOurs;
  return TiffPageRead::kDamaged;
}

int Brightness(const RGBQUAD& q) { return q.rgbRed + q.rgbGreen + q.rgbBlue; }

// The rows of a 1-bit image with 1 for its darker colour.
BilevelPage PageOfImage(const ImageLock& image) {
  BilevelPage page;
  page.width = image.width();
  page.height = image.height();
  page.xDpi = image.xDpi();
  page.yDpi = image.yDpi();
  page.rowBytes = (static_cast<std::size_t>(page.width) + 7) / 8;
  page.rows.resize(page.rowBytes * page.height);
  const RGBQUAD* palette = image.palette();
  const bool blackIsZero = image.paletteCount() < 2 ||
                           Brightness(palette[0]) <= Brightness(palette[1]);
  const uint8_t lastByteMask = static_cast<uint8_t>(0xFF << (7 - (page.width - 1) % 8));
  const Raster raster = image.raster();
  for (int y = 0; y < page.height; ++y) {
    uint8_t* row = page.rows.data() + y * page.rowBytes;
    const uint8_t* source = raster.Row(y);
    for (std::size_t i = 0; i < page.rowBytes; ++i) {
      row[i] = blackIsZero ? static_cast<uint8_t>(~source[i]) : source[i];
    }
    row[page.rowBytes - 1] &= lastByteMask;
  }
  return page;
}

}  // namespace

TiffPageRead ReadBilevelTiffInfo(const char* path, int page, IKFileInfo* info) {
  const FileTiffSource source(path);
  TiffPageInfo found;
  int pageCount = 0;
  const TiffPageRead verdict = Verdict(ReadTiffPage(source, page, &pageCount, &found));
  if (verdict != TiffPageRead::kRead) return verdict;
  *info = IKFileInfo{};
  info->fileType = kIkFileTiff;
  info->page = page;
  info->width = found.width;
  info->height = found.height;
  info->xDpi = found.xDpi;
  info->yDpi = found.yDpi;
  info->bitsPerPixel = 1;
  info->pageCount = static_cast<int16_t>(std::min(pageCount, 32767));
  return verdict;
}

TiffPageRead LoadBilevelTiffPage(const char* path, int page, HGLOBAL* image, int* pageCount) {
  const FileTiffSource source(path);
  int count = 0;
  TiffPageRead verdict = Verdict(ReadTiffPage(source, page, &count, nullptr));
  BilevelPage decoded;
  if (verdict == TiffPageRead::kRead) verdict = Verdict(DecodeBilevelTiffPage(source, page, &decoded));
  if (verdict != TiffPageRead::kRead) return verdict;
  *image = CreateImage(decoded.width, decoded.height, 1, kBlackWhitePalette, 2, decoded.xDpi,
                       decoded.yDpi);
  if (!*image) return TiffPageRead::kDamaged;
  {
    ImageLock lock(*image);
    const Raster raster = lock.raster();
    for (int y = 0; y < decoded.height; ++y) {
      // Our rows give black as 1; index 0 is black here.
      const uint8_t* row = decoded.rows.data() + y * decoded.rowBytes;
      uint8_t* target = raster.Row(y);
      for (std::size_t i = 0; i < decoded.rowBytes; ++i) target[i] = static_cast<uint8_t>(~row[i]);
    }
  }
  if (pageCount) *pageCount = count;
  return verdict;
}

BilevelTiffFile::BilevelTiffFile(int compression)
    : writer_(compression == kIkTiffGroup4 ? TiffCoding::kGroup4 : TiffCoding::kNone) {}

bool BilevelTiffFile::Add(const ImageLock& image) {
  if (!image.ok() || image.bitsPerPixel() != 1) return false;
  writer_.Add(PageOfImage(image));
  return true;
}

bool BilevelTiffFile::Write(const char* path) {
  const std::vector<uint8_t> bytes = writer_.Finish();
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                               nullptr) &&
                     written == bytes.size();
  return CloseHandle(file) && whole;
}
