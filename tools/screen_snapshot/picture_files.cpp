// Picture file writers (see picture_files.h).
#include "tools/screen_snapshot/picture_files.h"

#include <cstdio>

namespace {

std::uint32_t Crc32(const std::uint8_t* data, size_t size, std::uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int k = 0; k < bytes; ++k) out.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
}

int WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return -1;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written ? 0 : -1;
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type,
              const std::vector<std::uint8_t>& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored deflate blocks.
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw) {
  std::vector<std::uint8_t> z = {0x78, 0x01};
  size_t at = 0;
  do {
    const size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
    const bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<std::uint8_t>(n & 0xFF));
    z.push_back(static_cast<std::uint8_t>(n >> 8));
    z.push_back(static_cast<std::uint8_t>(~n & 0xFF));
    z.push_back(static_cast<std::uint8_t>((~n >> 8) & 0xFF));
    z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
    at += n;
  } while (at < raw.size());
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian(z, (b << 16) | a);
  return z;
}

}  // namespace

int WritePngFile(const std::string& path, int width, int height,
                 const std::vector<std::uint8_t>& rgb) {
  std::vector<std::uint8_t> raw;
  raw.reserve(static_cast<size_t>(height) * (width * 3 + 1));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    const auto row = rgb.begin() + static_cast<std::ptrdiff_t>(y) * width * 3;
    raw.insert(raw.end(), row, row + width * 3);
  }
  std::vector<std::uint8_t> header;
  PutBigEndian(header, static_cast<std::uint32_t>(width));
  PutBigEndian(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
  std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", StoredZlib(raw));
  PutChunk(file, "IEND", {});
  return WriteFile(path, file);
}

int WriteBmpFile(const std::string& path, int width, int height,
                 const std::vector<std::uint8_t>& rgb) {
  const int stride = (width * 3 + 3) & ~3;
  const std::uint32_t size = 54 + static_cast<std::uint32_t>(stride) * height;
  std::vector<std::uint8_t> file = {'B', 'M'};
  PutLittleEndian(file, size, 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, 54, 4);   // where the pixels start
  PutLittleEndian(file, 40, 4);   // BITMAPINFOHEADER
  PutLittleEndian(file, static_cast<std::uint32_t>(width), 4);
  PutLittleEndian(file, static_cast<std::uint32_t>(height), 4);
  PutLittleEndian(file, 1, 2);    // planes
  PutLittleEndian(file, 24, 2);   // bits per pixel
  file.resize(size, 0);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = &file[54 + static_cast<size_t>(height - 1 - y) * stride];
    for (int x = 0; x < width; ++x) {
      const size_t from = (static_cast<size_t>(y) * width + x) * 3;
      row[x * 3] = rgb[from + 2];
      row[x * 3 + 1] = rgb[from + 1];
      row[x * 3 + 2] = rgb[from];
    }
  }
  return WriteFile(path, file);
}
