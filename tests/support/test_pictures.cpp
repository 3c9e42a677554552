#include "tests/support/test_pictures.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

void Put16(std::string& out, uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

int Width(const Picture& picture) {
  return picture.empty() ? 0 : static_cast<int>(picture[0].size());
}

void PutBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

uint32_t Crc32(const std::string& bytes, size_t from) {
  uint32_t crc = ~0u;
  for (size_t i = from; i < bytes.size(); ++i) {
    crc ^= static_cast<uint8_t>(bytes[i]);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutPngChunk(std::string& out, const char* type, const std::string& data) {
  PutBigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.append(type, 4);
  out += data;
  PutBigEndian(out, Crc32(out, start));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string StoredZlib(const std::string& raw) {
  std::string z = "\x78\x01";
  size_t at = 0;
  do {
    const size_t n = std::min<size_t>(raw.size() - at, 65535);
    z += static_cast<char>(at + n == raw.size() ? 1 : 0);  // last block
    Put16(z, static_cast<uint32_t>(n));
    Put16(z, static_cast<uint32_t>(~n & 0xFFFF));
    z.append(raw, at, n);
    at += n;
  } while (at < raw.size());
  uint32_t a = 1, b = 0;
  for (char byte : raw) {
    a = (a + static_cast<uint8_t>(byte)) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian(z, (b << 16) | a);
  return z;
}

// A BMP file with 1 (black and white by luminance), 8 (grey levels) or 24
// bits a pixel, rows bottom-up; `color(x, y)` gives each pixel, y from the
// top.
std::string BmpBytes(int width, int height, int bitsPerPixel, bool blackFirst, int dpi,
                     const std::function<PictureRgb(int x, int y)>& color) {
  const uint32_t stride = (width * bitsPerPixel + 31) / 32 * 4;
  const uint32_t paletteCount = bitsPerPixel == 1 ? 2 : bitsPerPixel == 8 ? 256 : 0;
  const uint32_t offset = 54 + paletteCount * 4;
  std::string file = "BM";
  Put32(file, offset + stride * height);
  Put32(file, 0);
  Put32(file, offset);
  Put32(file, 40);
  Put32(file, width);
  Put32(file, height);
  Put16(file, 1);
  Put16(file, bitsPerPixel);
  Put32(file, 0);
  Put32(file, stride * height);
  Put32(file, dpi * 10000 / 254);
  Put32(file, dpi * 10000 / 254);
  Put32(file, paletteCount);
  Put32(file, 0);
  for (uint32_t i = 0; i < paletteCount; ++i) {
    const int level = bitsPerPixel == 1 ? ((i == 0) == blackFirst ? 0 : 255) : static_cast<int>(i);
    for (int k = 0; k < 3; ++k) file += static_cast<char>(level);
    file += '\0';
  }
  for (int y = height - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    for (int x = 0; x < width; ++x) {
      const PictureRgb rgb = color(x, y);
      if (bitsPerPixel == 1) {
        const bool black = Luminance(rgb.red, rgb.green, rgb.blue) < 128;
        if (black != blackFirst) row[x / 8] |= static_cast<char>(0x80 >> (x % 8));
      } else if (bitsPerPixel == 8) {
        row[x] = static_cast<char>(Luminance(rgb.red, rgb.green, rgb.blue));
      } else {
        row[x * 3] = static_cast<char>(rgb.blue);
        row[x * 3 + 1] = static_cast<char>(rgb.green);
        row[x * 3 + 2] = static_cast<char>(rgb.red);
      }
    }
    file += row;
  }
  return file;
}

}  // namespace

PictureRgb PictureColor(char c) {
  switch (c) {
    case '#': return {0, 0, 0};
    case 'r': return {255, 0, 0};
    case 'g': return {0, 255, 0};
    case 'b': return {0, 0, 255};
    case '-': return {200, 200, 200};
    default: return {255, 255, 255};
  }
}

int Luminance(int red, int green, int blue) { return (red * 77 + green * 150 + blue * 29) >> 8; }

Picture PatternPicture(int width, int height, bool (*black)(int x, int y)) {
  Picture picture(height, std::string(width, '.'));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (black(x, y)) picture[y][x] = '#';
    }
  }
  return picture;
}

bool WriteBmp(const std::string& path, const Picture& picture, int bitsPerPixel,
              bool blackFirst, int dpi) {
  return WriteBytes(path, BmpBytes(Width(picture), static_cast<int>(picture.size()), bitsPerPixel,
                                   blackFirst, dpi, [&](int x, int y) {
                                     return PictureColor(picture[y][x]);
                                   }));
}

bool WriteBmpRgb(const std::string& path, int width, int height,
                 const std::vector<std::uint8_t>& rgb) {
  return WriteBytes(path, BmpBytes(width, height, 24, true, 300, [&](int x, int y) {
                      const std::uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
                      return PictureRgb{p[0], p[1], p[2]};
                    }));
}

bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgb) {
  std::string raw;
  raw.reserve(static_cast<size_t>(height) * (width * 3 + 1));
  for (int y = 0; y < height; ++y) {
    raw += '\0';  // filter: none
    raw.append(reinterpret_cast<const char*>(&rgb[static_cast<size_t>(y) * width * 3]),
               static_cast<size_t>(width) * 3);
  }
  std::string header;
  PutBigEndian(header, static_cast<uint32_t>(width));
  PutBigEndian(header, static_cast<uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
  std::string file = "\x89PNG\r\n\x1A\n";
  PutPngChunk(file, "IHDR", header);
  PutPngChunk(file, "IDAT", StoredZlib(raw));
  PutPngChunk(file, "IEND", "");
  return WriteBytes(path, file);
}

void WriteTiff(const std::string& path, const std::vector<Picture>& pages, bool whiteIsZero,
               int dpi) {
  std::string file = "II";
  Put16(file, 42);
  // Each page: pixel rows, the resolution, its directory. The offset of a
  // directory is patched into the header or into the directory before it.
  size_t linkAt = file.size();
  Put32(file, 0);
  for (const Picture& picture : pages) {
    const int width = Width(picture);
    const int height = static_cast<int>(picture.size());
    const int rowBytes = (width + 7) / 8;
    const uint32_t stripOffset = static_cast<uint32_t>(file.size());
    for (int y = 0; y < height; ++y) {
      std::string row(rowBytes, '\0');
      for (int x = 0; x < width; ++x) {
        if ((picture[y][x] == '#') != whiteIsZero) continue;
        row[x / 8] |= static_cast<char>(0x80 >> (x % 8));
      }
      file += row;
    }
    if (file.size() % 2) file += '\0';
    const uint32_t rationalOffset = static_cast<uint32_t>(file.size());
    Put32(file, dpi);
    Put32(file, 1);
    std::string link;
    Put32(link, static_cast<uint32_t>(file.size()));
    file.replace(linkAt, 4, link);
    struct Tag {
      uint16_t tag, type;
      uint32_t value;
    };
    const Tag tags[] = {
        {256, 4, static_cast<uint32_t>(width)},
        {257, 4, static_cast<uint32_t>(height)},
        {258, 3, 1},
        {259, 3, 1},
        {262, 3, whiteIsZero ? 0u : 1u},
        {273, 4, stripOffset},
        {277, 3, 1},
        {278, 4, static_cast<uint32_t>(height)},
        {279, 4, static_cast<uint32_t>(rowBytes * height)},
        {282, 5, rationalOffset},
        {283, 5, rationalOffset},
        {296, 3, 2},
    };
    Put16(file, sizeof tags / sizeof tags[0]);
    for (const Tag& tag : tags) {
      Put16(file, tag.tag);
      Put16(file, tag.type);
      Put32(file, 1);
      if (tag.type == 3) {
        Put16(file, tag.value);
        Put16(file, 0);
      } else {
        Put32(file, tag.value);
      }
    }
    linkAt = file.size();
    Put32(file, 0);
  }
  WriteBytes(path, file);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

std::string WriteOneBitBmp(const std::string& path, int width, int height,
                           bool blackIsZero, bool (*black)(int x, int y),
                           int bitsPerPixel) {
  WriteBmp(path, PatternPicture(width, height, black), 1, blackIsZero);
  if (bitsPerPixel != 1) {
    std::string file = ReadBytes(path);
    file[28] = static_cast<char>(bitsPerPixel);  // biBitCount
    WriteBytes(path, file);
  }
  return path;
}
