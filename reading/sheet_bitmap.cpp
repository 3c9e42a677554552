// 1-bit BMP sheet images, read and written here rather than through the
// imaging library's files: scanned pages, converted pages and cut-out areas.
// Their headers are the library's BMP layout, read by its one header reader
// and checked before anything is sized, so a damaged or foreign file is
// refused with its reason instead of filling a wrong buffer.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "platform/bmp_format.h"
#include "platform/raster.h"
#include "reading/sheet_core.h"

namespace {

constexpr int kInkMargin = 3;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Cuts an open file to `size` bytes.
bool CutFile(std::FILE* file, long size) {
#ifdef _WIN32
  return _chsize(_fileno(file), size) == 0;
#else
  return ftruncate(fileno(file), size) == 0;
#endif
}

bool HasBmpExtension(const char* path) {
  char extension[4];
  return GetImageExtension(path, extension) && std::strcmp(extension, "bmp") == 0;
}

// Opens a sheet image file and reads its headers through the imaging
// library's BMP reader, which checks the rows against the file's length
// before anything is sized by them; the run's reason for a refusal.
SheetFileStatus OpenSheetBmp(const char* path, FilePtr* file, OneBitBmp* header) {
  if (!HasBmpExtension(path)) return SheetFileStatus::kNotBmp;
  file->reset(std::fopen(path, "rb"));
  if (!*file) return SheetFileStatus::kOpen;
  uint8_t head[kBmpProbeBytes];
  const std::size_t got = std::fread(head, 1, sizeof head, file->get());
  if (std::fseek(file->get(), 0, SEEK_END) != 0) return SheetFileStatus::kHeader;
  const long length = std::ftell(file->get());
  if (length < 0) return SheetFileStatus::kHeader;
  switch (CheckOneBitBmpHeaders(head, got, static_cast<uint64_t>(length), header)) {
    case BmpFault::kNone:
      break;
    case BmpFault::kBitDepth:
      return SheetFileStatus::kBitDepth;
    case BmpFault::kColours:
      return SheetFileStatus::kColours;
    case BmpFault::kPastEnd:
      return SheetFileStatus::kTruncated;
    default:
      return SheetFileStatus::kHeader;
  }
  // A palette that names more than two colours is no black-and-white scan.
  if (header->colorsUsed != 0 && header->colorsUsed != 2) return SheetFileStatus::kColours;
  return SheetFileStatus::kOk;
}

// Makes the bits of every row beyond `width` white: they belong to no pixel,
// and a writer that pads with zeros would otherwise paint a black edge.
void WhitenPadding(const SheetBitmap& bitmap, int width) {
  const int usedBytes = width / 8;
  const int partialBits = width % 8;
  const unsigned char white = bitmap.polarity == 0 ? 0xFF : 0x00;
  for (int y = 0; y < bitmap.height; ++y) {
    uint8_t* row = bitmap.bits + y * bitmap.bytesPerLine;
    int from = usedBytes;
    if (partialBits) {
      const unsigned char padMask = static_cast<unsigned char>(0xFF >> partialBits);
      row[from] = static_cast<uint8_t>((row[from] & ~padMask) | (white & padMask));
      ++from;
    }
    if (from < bitmap.bytesPerLine) std::memset(row + from, white, bitmap.bytesPerLine - from);
  }
}

std::vector<std::vector<uint8_t>>& SparePixelBuffers() {
  static thread_local std::vector<std::vector<uint8_t>> spares;
  return spares;
}

}  // namespace

std::vector<uint8_t> TakePixelBuffer(std::size_t size) {
  std::vector<uint8_t> pixels;
  std::vector<std::vector<uint8_t>>& spares = SparePixelBuffers();
  if (!spares.empty()) {
    pixels = std::move(spares.back());
    spares.pop_back();
  }
  pixels.assign(size, 0);
  return pixels;
}

void GiveBackPixelBuffer(std::vector<uint8_t>&& pixels) {
  // A page, its turned copy and the page being read: more are not needed
  // at once.
  constexpr std::size_t kMaxSpares = 3;
  std::vector<std::vector<uint8_t>>& spares = SparePixelBuffers();
  if (pixels.capacity() == 0 || spares.size() >= kMaxSpares) return;
  spares.push_back(std::move(pixels));
  pixels = std::vector<uint8_t>();
}

const char* SheetFileMessage(SheetFileStatus status) {
  // Spelled in bytes: this file also builds with the fuzzing compiler, which
  // does not convert literals.
  switch (status) {
    case SheetFileStatus::kOpen:  // "画像ファイル“%s”をオープンできません。"
      return "\x89\xE6\x91\x9C\x83\x74\x83\x40\x83\x43\x83\x8B\x81\x67%s"
             "\x81\x68\x82\xF0\x83\x49\x81\x5B\x83\x76\x83\x93\x82\xC5\x82"
             "\xAB\x82\xDC\x82\xB9\x82\xF1\x81\x42";
    case SheetFileStatus::kHeader:  // "ヘッダ情報をセットできません。"
      return "\x83\x77\x83\x62\x83\x5F\x8F\xEE\x95\xF1\x82\xF0\x83\x5A\x83"
             "\x62\x83\x67\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x81\x42";
    // "１画素が１ビットで表現されていません。\n\n"
    // "スキャナーの設定画面で、「画像タイプ」を“白黒”に設定してください。"
    case SheetFileStatus::kBitDepth:
      return "\x82\x50\x89\xE6\x91\x66\x82\xAA\x82\x50\x83\x72\x83\x62\x83"
             "\x67\x82\xC5\x95\x5C\x8C\xBB\x82\xB3\x82\xEA\x82\xC4\x82\xA2"
             "\x82\xDC\x82\xB9\x82\xF1\x81\x42\n\n\x83\x58\x83\x4C\x83\x83"
             "\x83\x69\x81\x5B\x82\xCC\x90\xDD\x92\xE8\x89\xE6\x96\xCA\x82"
             "\xC5\x81\x41\x81\x75\x89\xE6\x91\x9C\x83\x5E\x83\x43\x83\x76"
             "\x81\x76\x82\xF0\x81\x67\x94\x92\x8D\x95\x81\x68\x82\xC9\x90"
             "\xDD\x92\xE8\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2"
             "\x81\x42";
    case SheetFileStatus::kColours:  // "色数が２色以外です。"
      return "\x90\x46\x90\x94\x82\xAA\x82\x51\x90\x46\x88\xC8\x8A\x4F\x82"
             "\xC5\x82\xB7\x81\x42";
    default:
      return "";
  }
}

int GetImageExtension(const char* path, char* out) {
  const std::size_t length = std::strlen(path);
  if (length < 3) return 0;
  for (int i = 0; i < 3; ++i) {
    out[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(path[length - 3 + i])));
  }
  out[3] = '\0';
  return 1;
}

int GetBmpImageSize(const char* path, long* size) {
  return SheetImageBytes(path, size) == SheetFileStatus::kOk;
}

SheetFileStatus SheetImageBytes(const char* path, long* size) {
  FilePtr file;
  OneBitBmp header;
  const SheetFileStatus status = OpenSheetBmp(path, &file, &header);
  if (status == SheetFileStatus::kOk) *size = static_cast<long>(header.pixelBytes);
  return status;
}

SheetFileStatus ReadSheetBmp(const char* path, int dpi, SheetBitmap* bitmap,
                             std::size_t capacity, int* fileWidth) {
  FilePtr file;
  OneBitBmp header;
  const SheetFileStatus status = OpenSheetBmp(path, &file, &header);
  if (status != SheetFileStatus::kOk) return status;
  const std::size_t bytes = static_cast<std::size_t>(header.pixelBytes);
  if (bytes > capacity) return SheetFileStatus::kTooSmall;
  const int stride = static_cast<int>(header.rowBytes);

  bitmap->width = static_cast<int16_t>(stride * 8);
  bitmap->height = static_cast<int16_t>(header.height);
  bitmap->bitsPerPixel = 1;
  bitmap->bytesPerLine = static_cast<int16_t>(stride);
  bitmap->dpi = static_cast<int16_t>(dpi);
  // The darker palette entry is black.
  const BmpColor* palette = header.palette;
  const int dark0 = palette[0].blue + palette[0].green + palette[0].red;
  const int dark1 = palette[1].blue + palette[1].green + palette[1].red;
  bitmap->polarity = dark0 < dark1 ? 0 : 1;
  if (fileWidth) *fileWidth = header.width;

  if (std::fseek(file.get(), static_cast<long>(header.pixelOffset), SEEK_SET) != 0 ||
      std::fread(bitmap->bits, 1, bytes, file.get()) != bytes) {
    std::memset(bitmap->bits, bitmap->polarity == 0 ? 0xFF : 0x00, bytes);
    return SheetFileStatus::kTruncated;
  }
  if (!header.topDown) {
    std::vector<uint8_t> spare(stride);
    for (int top = 0, bottom = header.height - 1; top < bottom; ++top, --bottom) {
      uint8_t* a = bitmap->bits + static_cast<std::size_t>(top) * stride;
      uint8_t* b = bitmap->bits + static_cast<std::size_t>(bottom) * stride;
      std::memcpy(spare.data(), a, stride);
      std::memcpy(a, b, stride);
      std::memcpy(b, spare.data(), stride);
    }
  }
  WhitenPadding(*bitmap, header.width);
  return SheetFileStatus::kOk;
}

SheetFileStatus LoadSheetImageFile(const char* path, int dpi, SheetImage* image) {
  long size = 0;
  const SheetFileStatus sized = SheetImageBytes(path, &size);
  if (sized != SheetFileStatus::kOk) return sized;
  image->pixels.assign(static_cast<std::size_t>(size), 0);
  image->bitmap.bits = image->pixels.data();
  return ReadSheetBmp(path, dpi, &image->bitmap, image->pixels.size(), &image->fileWidth);
}

bool WriteFileOver(const char* path, const void* bytes, std::size_t size) {
  // An existing file (the work file and ENDCODE of every sheet) is written
  // over rather than emptied first: emptying a file costs the file system
  // far more than the write (the blocks are freed only to be taken again,
  // and a file emptied and written again is flushed on close). A longer old
  // file is cut to the new length.
  std::FILE* handle = std::fopen(path, "r+b");
  long oldSize = 0;
  if (handle && (std::fseek(handle, 0, SEEK_END) != 0 || (oldSize = std::ftell(handle)) < 0 ||
                 std::fseek(handle, 0, SEEK_SET) != 0)) {
    std::fclose(handle);
    handle = nullptr;
    oldSize = 0;
  }
  if (!handle) handle = std::fopen(path, "wb");
  if (!handle) return false;
  bool written = std::fwrite(bytes, 1, size, handle) == size;
  if (written && static_cast<std::size_t>(oldSize) > size) {
    written = std::fflush(handle) == 0 && CutFile(handle, static_cast<long>(size));
  }
  const bool closed = std::fclose(handle) == 0;
  return written && closed;
}

SheetFileStatus SaveSheetBitmap(const char* path, const SheetBitmap& bitmap) {
  if (bitmap.width <= 0 || bitmap.height <= 0 || !bitmap.bits) return SheetFileStatus::kHeader;
  const int stride = (bitmap.width + 31) / 32 * 4;
  const int rowBytes = (bitmap.width + 7) / 8;
  const std::size_t pixelBytes = static_cast<std::size_t>(stride) * bitmap.height;
  // The file is put together in a buffer kept for the next page.
  static thread_local std::vector<unsigned char> file;
  file.assign(kOneBitBmpHeaderBytes + pixelBytes, 0);
  unsigned char* h = file.data();
  const BmpColor black{0, 0, 0, 0}, white{255, 255, 255, 0};
  const BmpColor palette[2] = {bitmap.polarity == 0 ? black : white,
                               bitmap.polarity == 0 ? white : black};
  const auto pelsPerMetre = static_cast<int32_t>(bitmap.dpi * 10000 / 254);
  MakeOneBitBmpHeaders(bitmap.width, bitmap.height, palette, pelsPerMetre, pelsPerMetre, h);

  const unsigned char pad = bitmap.polarity == 0 ? 0 : 255;
  unsigned char* out = h + kOneBitBmpHeaderBytes;
  for (int k = 0; k < bitmap.height; ++k, out += stride) {
    const uint8_t* row = bitmap.bits + static_cast<std::size_t>(bitmap.height - 1 - k) *
                                           bitmap.bytesPerLine;
    std::memcpy(out, row, rowBytes);
    std::memset(out + rowBytes, pad, stride - rowBytes);
  }

  return WriteFileOver(path, file.data(), file.size()) ? SheetFileStatus::kOk
                                                       : SheetFileStatus::kWriteFailed;
}

int WriteSheetImageFile(const char* path, const SheetBitmap& bitmap) {
  if (!HasBmpExtension(path)) return 0;
  return SaveSheetBitmap(path, bitmap) == SheetFileStatus::kOk ? 1 : 0;
}

SheetFileStatus TurnSheetImage(const SheetImage& source, int hundredths, SheetImage* turned) {
  const SheetBitmap& from = source.bitmap;
  if (from.width <= 0 || from.height <= 0 || !from.bits) return SheetFileStatus::kHeader;
  int width = 0, height = 0;
  RotatedSize(from.width, from.height, hundredths, &width, &height);
  // No larger than a page the run can read back.
  if (width <= 0 || width > kMaxImageSide || height <= 0 || height > kMaxImageSide) {
    return SheetFileStatus::kHeader;
  }
  const int stride = (width + 31) / 32 * 4;
  try {
    GiveBackPixelBuffer(std::move(turned->pixels));
    turned->pixels = TakePixelBuffer(static_cast<std::size_t>(stride) * height);
  } catch (const std::bad_alloc&) {
    return SheetFileStatus::kTooSmall;
  }
  SheetBitmap& to = turned->bitmap;
  to = from;
  to.width = static_cast<int16_t>(stride * 8);
  to.height = static_cast<int16_t>(height);
  to.bytesPerLine = static_cast<int16_t>(stride);
  to.bits = turned->pixels.data();
  turned->fileWidth = width;
  const Raster in{from.width, from.height, 1, from.bytesPerLine, from.bits};
  const Raster out{width, height, 1, stride, to.bits};
  // White, and with it the padding bits of every row, is the bit value that
  // is not black.
  RotateRaster(in, out, hundredths, from.polarity == 0 ? 1 : 0);
  return SheetFileStatus::kOk;
}

int CountSheetInk(const SheetBitmap& bitmap, int widthLimit) {
  const int right = widthLimit < bitmap.width - kInkMargin ? widthLimit : bitmap.width - kInkMargin;
  if (right <= kInkMargin) return 0;
  const bool zeroIsBlack = bitmap.polarity == 0;
  int ink = 0;
  for (int y = kInkMargin; y < bitmap.height - kInkMargin; ++y) {
    const uint8_t* row = bitmap.bits + static_cast<std::size_t>(y) * bitmap.bytesPerLine;
    for (int x = kInkMargin; x < right; ++x) {
      const bool set = row[x / 8] & (0x80 >> (x % 8));
      ink += set != zeroIsBlack;
    }
  }
  return ink;
}

int MeasureSheetImageInk(const char* path, int widthLimit) {
  SheetImage image;
  if (LoadSheetImageFile(path, 0, &image) != SheetFileStatus::kOk) return -1;
  // The margin on the right is kept from the file's own edge, not the
  // rounded one.
  SheetBitmap asStored = image.bitmap;
  asStored.width = static_cast<int16_t>(image.fileWidth);
  return CountSheetInk(asStored, widthLimit);
}

int SpeckSizeForNoise(int noiseSize, int dpi) {
  static const int kSizes[7][3] = {{4, 7, 9},    {5, 9, 12},   {6, 11, 15}, {8, 13, 18},
                                   {10, 15, 21}, {12, 18, 25}, {14, 21, 29}};
  if (noiseSize < 1 || noiseSize > 7) return 0;
  return kSizes[noiseSize - 1][dpi == 300 ? 1 : dpi == 400 ? 2 : 0];
}
