// Draws the pictures the programs ship from a small text description: the
// button bitmaps beside the programs, the icons and cursors of their
// resources, and the sound that ends a reading run. Built for and run on
// the build machine while the Windows programs are built.
//
// Usage: picture_maker <description> <bitmap folder> <resource folder>
//
// The description holds glyphs and the files drawn from them:
//   glyph <name>                     followed by 16 rows of 16 characters
//   bitmap <file> <size> <glyph> <background> [turn <quarters>]
//   icon <file> <glyph>              32 x 32, '.' transparent
//   cursor <file> <glyph> <x> <y>    32 x 32, hot spot in glyph pixels
//   sound <file> <hertz> <milliseconds>
// Glyph characters are colours ('.' the background): k black, w white,
// s silver, d dark grey, r red, g green, b blue, n navy, c cyan, y yellow,
// o orange, m magenta, p paper (ivory), e brown. '#' starts a comment.
// Anything else stops with the line that is not understood.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_pictures.h"

namespace {

constexpr int kGlyphSize = 16;
constexpr int kIconSize = 32;

struct Rgb {
  std::uint8_t r, g, b;
};

bool ColorOf(char c, Rgb* out) {
  static const std::map<char, Rgb> kColors = {
      {'k', {0, 0, 0}},       {'w', {255, 255, 255}}, {'s', {192, 192, 192}}, {'d', {96, 96, 96}},
      {'r', {220, 0, 0}},     {'g', {0, 150, 0}},     {'b', {0, 70, 220}},    {'n', {0, 0, 128}},
      {'c', {0, 170, 200}},   {'y', {250, 210, 0}},   {'o', {245, 130, 0}},   {'m', {200, 0, 160}},
      {'p', {255, 250, 225}}, {'e', {140, 80, 20}},
  };
  const auto found = kColors.find(c);
  if (found == kColors.end()) return false;
  *out = found->second;
  return true;
}

using Glyph = std::vector<std::string>;

struct Failure {
  int line;
  std::string what;
};

// The glyph pixel under pixel (x, y) of a picture `size` wide, the glyph
// turned by `quarters` quarter turns clockwise.
char GlyphAt(const Glyph& glyph, int size, int x, int y, int quarters) {
  int gx = x * kGlyphSize / size;
  int gy = y * kGlyphSize / size;
  for (int q = 0; q < quarters % 4; ++q) {
    const int turned = gy;
    gy = kGlyphSize - 1 - gx;
    gx = turned;
  }
  return glyph[gy][gx];
}

void Put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// An icon or cursor file of one 32 x 32 image with 32-bit colour and its
// mask; '.' is transparent.
std::string IconFile(const Glyph& glyph, bool cursor, int hotX, int hotY) {
  std::string image;
  Put32(image, 40);
  Put32(image, kIconSize);
  Put32(image, kIconSize * 2);  // colour and mask
  Put16(image, 1);
  Put16(image, 32);
  Put32(image, 0);
  Put32(image, 0);
  for (int i = 0; i < 4; ++i) Put32(image, 0);
  for (int y = kIconSize - 1; y >= 0; --y) {
    for (int x = 0; x < kIconSize; ++x) {
      Rgb c{0, 0, 0};
      const bool opaque = ColorOf(GlyphAt(glyph, kIconSize, x, y, 0), &c);
      image += static_cast<char>(c.b);
      image += static_cast<char>(c.g);
      image += static_cast<char>(c.r);
      image += static_cast<char>(opaque ? 255 : 0);
    }
  }
  for (int y = kIconSize - 1; y >= 0; --y) {
    for (int byte = 0; byte < kIconSize / 8; ++byte) {
      std::uint8_t bits = 0;
      for (int bit = 0; bit < 8; ++bit) {
        Rgb c{};
        if (!ColorOf(GlyphAt(glyph, kIconSize, byte * 8 + bit, y, 0), &c)) bits |= 0x80 >> bit;
      }
      image += static_cast<char>(bits);
    }
  }
  std::string file;
  Put16(file, 0);
  Put16(file, cursor ? 2 : 1);
  Put16(file, 1);
  file += static_cast<char>(kIconSize);
  file += static_cast<char>(kIconSize);
  file += '\0';
  file += '\0';
  Put16(file, cursor ? hotX * kIconSize / kGlyphSize : 1);
  Put16(file, cursor ? hotY * kIconSize / kGlyphSize : 32);
  Put32(file, static_cast<std::uint32_t>(image.size()));
  Put32(file, 22);
  return file + image;
}

// A mono 8-bit PCM wave of a tone that fades out.
std::string WaveFile(int hertz, int milliseconds) {
  constexpr int kRate = 11025;
  const int samples = kRate * milliseconds / 1000;
  std::string data;
  for (int i = 0; i < samples; ++i) {
    const double fade = 1.0 - static_cast<double>(i) / samples;
    const double v = std::sin(2 * 3.141592653589793 * hertz * i / kRate) * 100 * fade;
    data += static_cast<char>(128 + static_cast<int>(v));
  }
  std::string file = "RIFF";
  Put32(file, static_cast<std::uint32_t>(36 + data.size()));
  file += "WAVEfmt ";
  Put32(file, 16);
  Put16(file, 1);
  Put16(file, 1);
  Put32(file, kRate);
  Put32(file, kRate);
  Put16(file, 1);
  Put16(file, 8);
  file += "data";
  Put32(file, static_cast<std::uint32_t>(data.size()));
  return file + data;
}

class Maker {
 public:
  Maker(std::string bitmaps, std::string resources) : bitmaps_(std::move(bitmaps)), resources_(std::move(resources)) {}

  bool Run(std::istream& in, Failure* failure) {
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const size_t hash = line.find('#');
      if (hash != std::string::npos) line.resize(hash);
      std::istringstream words(line);
      std::string verb;
      if (!(words >> verb)) continue;
      std::string why;
      if (!Step(verb, words, in, &number, &why)) {
        *failure = {number, why};
        return false;
      }
    }
    return true;
  }

 private:
  bool Step(const std::string& verb, std::istringstream& words, std::istream& in, int* number, std::string* why) {
    std::string file, glyphName;
    if (verb == "glyph") {
      words >> glyphName;
      return ReadGlyph(glyphName, in, number, why);
    }
    if (verb == "sound") {
      int hertz = 0, ms = 0;
      if (!(words >> file >> hertz >> ms) || hertz <= 0 || ms <= 0) return Fail(why, "sound: file hertz milliseconds");
      return Write(bitmaps_ + "/" + file, WaveFile(hertz, ms), why);
    }
    if (!(words >> file)) return Fail(why, "no file named");
    if (verb == "bitmap") {
      int size = 0;
      std::string background, turn;
      int quarters = 0;
      if (!(words >> size >> glyphName >> background) || size <= 0) {
        return Fail(why, "bitmap: file size glyph background");
      }
      if (words >> turn && (turn != "turn" || !(words >> quarters))) return Fail(why, "bitmap: turn <quarters>");
      return Bitmap(file, size, glyphName, background, quarters, why);
    }
    if (verb == "icon" || verb == "cursor") {
      int x = 0, y = 0;
      if (!(words >> glyphName)) return Fail(why, verb + ": no glyph");
      if (verb == "cursor" && !(words >> x >> y)) return Fail(why, "cursor: hot spot x y");
      const Glyph* glyph = Find(glyphName, why);
      return glyph && Write(resources_ + "/" + file, IconFile(*glyph, verb == "cursor", x, y), why);
    }
    return Fail(why, "unknown line: " + verb);
  }

  static bool Fail(std::string* why, const std::string& text) {
    *why = text;
    return false;
  }

  const Glyph* Find(const std::string& name, std::string* why) {
    const auto found = glyphs_.find(name);
    if (found != glyphs_.end()) return &found->second;
    Fail(why, "no glyph " + name);
    return nullptr;
  }

  bool ReadGlyph(const std::string& name, std::istream& in, int* number, std::string* why) {
    if (name.empty()) return Fail(why, "glyph without a name");
    Glyph glyph;
    std::string row;
    while (static_cast<int>(glyph.size()) < kGlyphSize && std::getline(in, row)) {
      ++*number;
      if (!row.empty() && row.back() == '\r') row.pop_back();
      if (static_cast<int>(row.size()) != kGlyphSize) return Fail(why, "a glyph row is 16 characters");
      for (char c : row) {
        Rgb rgb{};
        if (c != '.' && !ColorOf(c, &rgb)) return Fail(why, std::string("unknown colour ") + c);
      }
      glyph.push_back(row);
    }
    if (static_cast<int>(glyph.size()) != kGlyphSize) return Fail(why, "a glyph has 16 rows");
    glyphs_[name] = glyph;
    return true;
  }

  bool Bitmap(const std::string& file, int size, const std::string& glyphName, const std::string& background,
              int quarters, std::string* why) {
    const Glyph* glyph = Find(glyphName, why);
    Rgb back{};
    if (!glyph) return false;
    if (background.size() != 1 || !ColorOf(background[0], &back)) return Fail(why, "unknown background " + background);
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        Rgb c = back;
        ColorOf(GlyphAt(*glyph, size, x, y, quarters), &c);
        rgb.insert(rgb.end(), {c.r, c.g, c.b});
      }
    }
    if (WriteBmpRgb(bitmaps_ + "/" + file, size, size, rgb)) return true;
    return Fail(why, "cannot write " + file);
  }

  static bool Write(const std::string& path, const std::string& bytes, std::string* why) {
    if (WriteBytes(path, bytes)) return true;
    return Fail(why, "cannot write " + path);
  }

  std::string bitmaps_, resources_;
  std::map<std::string, Glyph> glyphs_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: picture_maker <description> <bitmap folder> <resource folder>\n");
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
    return 1;
  }
  Failure failure{};
  if (!Maker(argv[2], argv[3]).Run(in, &failure)) {
    std::fprintf(stderr, "%s:%d: %s\n", argv[1], failure.line, failure.what.c_str());
    return 1;
  }
  return 0;
}
