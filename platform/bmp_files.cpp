#include "platform/bmp_files.h"

#include <algorithm>
#include <vector>

namespace {

// Reads and writes of at most this many bytes at a time.
constexpr uint64_t kLargestTransfer = 1u << 30;
// Rows turned into file order before they are written, at most.
constexpr std::size_t kBandBytes = 64 * 1024;

// Reads `bytes` bytes at `offset`; false unless all of them arrive.
bool ReadAt(HANDLE file, uint64_t offset, uint8_t* to, uint64_t bytes) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) return false;
  while (bytes > 0) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min(bytes, kLargestTransfer));
    if (!ReadFile(file, to, chunk, &got, nullptr) || got == 0) return false;
    to += got;
    bytes -= got;
  }
  return true;
}

bool WriteAll(HANDLE file, const uint8_t* from, uint64_t bytes) {
  while (bytes > 0) {
    DWORD put = 0;
    const DWORD chunk = static_cast<DWORD>(std::min(bytes, kLargestTransfer));
    if (!WriteFile(file, from, chunk, &put, nullptr) || put == 0) return false;
    from += put;
    bytes -= put;
  }
  return true;
}

// The rows of an image in file order, bottom row first: in one piece when
// the image stores them so, else reordered a band at a time.
bool WriteRowsBottomUp(HANDLE file, const ImageLock& image) {
  const Raster raster = image.raster();
  if (raster.stride < 0) return WriteAll(file, image.bits(), image.dataSize());
  const std::size_t rowBytes = static_cast<std::size_t>(raster.stride);
  const int bandRows = static_cast<int>(std::max<std::size_t>(1, kBandBytes / rowBytes));
  std::vector<uint8_t> band(rowBytes * bandRows);
  for (int y = raster.height - 1; y >= 0;) {
    uint8_t* to = band.data();
    for (int n = 0; n < bandRows && y >= 0; ++n, --y, to += rowBytes) {
      std::copy_n(raster.Row(y), rowBytes, to);
    }
    if (!WriteAll(file, band.data(), to - band.data())) return false;
  }
  return true;
}

BmpColor StoredColor(const RGBQUAD& color) {
  return BmpColor{color.rgbBlue, color.rgbGreen, color.rgbRed, 0};
}

}  // namespace

BmpPageFile::BmpPageFile(const char* path)
    : file_(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
  if (!opened()) return;
  LARGE_INTEGER size;
  uint8_t head[kBmpProbeBytes];
  DWORD got = 0;
  if (!GetFileSizeEx(file_, &size) || !ReadFile(file_, head, sizeof head, &got, nullptr)) return;
  fileBytes_ = static_cast<uint64_t>(size.QuadPart);
  kind_ = ReadOneBitBmpHeaders(head, got, fileBytes_, &page_);
}

BmpPageFile::~BmpPageFile() {
  if (opened()) CloseHandle(file_);
}

HGLOBAL BmpPageFile::LoadPage() const {
  if (kind_ != BmpKind::kOneBit) return nullptr;
  RGBQUAD palette[2];
  for (int i = 0; i < 2; ++i) {
    palette[i] = RGBQUAD{page_.palette[i].blue, page_.palette[i].green, page_.palette[i].red, 0};
  }
  StoredRows stored;
  stored.bottomUp = !page_.topDown;
  stored.xPelsPerMeter = page_.xPelsPerMeter;
  stored.yPelsPerMeter = page_.yPelsPerMeter;
  HGLOBAL image = CreateImageAs(page_.width, page_.height, 1, palette, 2, stored);
  if (!image) return nullptr;
  bool read;
  {
    ImageLock lock(image);
    read = lock.ok() && ReadAt(file_, page_.pixelOffset, lock.bits(), page_.pixelBytes);
  }
  if (!read) {
    FreeImage(image);
    return nullptr;
  }
  return image;
}

bool WriteOneBitBmp(const char* path, const ImageLock& image) {
  if (!image.ok() || image.bitsPerPixel() != 1) return false;
  BmpColor palette[2];
  for (int i = 0; i < 2; ++i) {
    palette[i] = StoredColor(i < image.paletteCount() ? image.palette()[i] : kBlackWhitePalette[i]);
  }
  uint8_t headers[kOneBitBmpHeaderBytes];
  MakeOneBitBmpHeaders(image.width(), image.height(), palette, image.header().biXPelsPerMeter,
                       image.header().biYPelsPerMeter, headers);
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool written =
      WriteAll(file, headers, sizeof headers) && WriteRowsBottomUp(file, image);
  return CloseHandle(file) && written;
}
