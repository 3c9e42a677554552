// Sample packs: labelled 1-bit images in one file. Layout: "MUPAPACK", u32
// count, then per image u16 code, u32 type bit, i16 width, i16 height, the
// rectangle (4 x i16) and (width + 7) / 8 bytes a row; little-endian.
#include <cstdio>
#include <cstring>
#include <memory>

#include "ocrlib/dictbuilder/dict_builder.h"

namespace {

constexpr char kMagic[8] = {'M', 'U', 'P', 'A', 'P', 'A', 'C', 'K'};
constexpr int kRecordHeaderBytes = 2 + 4 + 2 + 2 + 8;

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

size_t RowBytes(int width) { return (static_cast<size_t>(width) + 7) / 8; }

}  // namespace

RunImage PackedChar::Image() {
  return RunImage{width, height, 1, static_cast<int16_t>(RowBytes(width)), 200, bits.data()};
}

int WriteSamplePack(const std::string& path, const std::vector<PackedChar>& chars,
                    std::string* error) {
  std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
  AppendU32(&out, static_cast<uint32_t>(chars.size()));
  for (const PackedChar& c : chars) {
    AppendU16(&out, c.sjis);
    AppendU32(&out, c.typeBit);
    AppendU16(&out, static_cast<uint16_t>(c.width));
    AppendU16(&out, static_cast<uint16_t>(c.height));
    for (int16_t v : {c.rect.left, c.rect.top, c.rect.right, c.rect.bottom}) {
      AppendU16(&out, static_cast<uint16_t>(v));
    }
    out.insert(out.end(), c.bits.begin(), c.bits.end());
  }
  if (WriteDictBytes(path, out) != 0) {
    *error = "cannot write " + path;
    return -1;
  }
  return 0;
}

int ReadSamplePack(const std::string& path, std::vector<PackedChar>* chars, std::string* error) {
  chars->clear();
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    *error = "cannot open " + path;
    return -1;
  }
  auto bad = [&](const char* why) {
    *error = path + ": " + why;
    chars->clear();
    return -1;
  };
  uint8_t head[sizeof kMagic + 4];
  if (std::fread(head, 1, sizeof head, file.get()) != sizeof head ||
      std::memcmp(head, kMagic, sizeof kMagic) != 0) {
    return bad("not a sample pack");
  }
  const uint32_t count = GetU32(head + sizeof kMagic);
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t r[kRecordHeaderBytes];
    if (std::fread(r, 1, sizeof r, file.get()) != sizeof r) return bad("cut short");
    PackedChar c;
    c.sjis = GetU16(r);
    c.typeBit = GetU32(r + 2);
    c.width = static_cast<int16_t>(GetU16(r + 6));
    c.height = static_cast<int16_t>(GetU16(r + 8));
    c.rect = {static_cast<int16_t>(GetU16(r + 10)), static_cast<int16_t>(GetU16(r + 12)),
              static_cast<int16_t>(GetU16(r + 14)), static_cast<int16_t>(GetU16(r + 16))};
    if (c.width < 1 || c.height < 1 || c.rect.left < 0 || c.rect.left > c.rect.right ||
        c.rect.right >= c.width || c.rect.top < 0 || c.rect.top > c.rect.bottom ||
        c.rect.bottom >= c.height) {
      return bad("an image with a bad size or rectangle");
    }
    c.bits.resize(RowBytes(c.width) * c.height);
    if (std::fread(c.bits.data(), 1, c.bits.size(), file.get()) != c.bits.size()) {
      return bad("cut short");
    }
    chars->push_back(std::move(c));
  }
  if (std::fgetc(file.get()) != EOF) return bad("data after the last image");
  return 0;
}
