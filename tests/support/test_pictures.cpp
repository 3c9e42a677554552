#include "tests/support/test_pictures.h"

#include <cstdint>
#include <fstream>
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

void WriteBmp(const std::string& path, const Picture& picture, int bitsPerPixel,
              bool blackFirst, int dpi) {
  const int width = Width(picture);
  const int height = static_cast<int>(picture.size());
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
      const PictureRgb rgb = PictureColor(picture[y][x]);
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
  WriteBytes(path, file);
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

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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
