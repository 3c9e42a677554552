// Rendering of handwriting-style characters with FreeType and their random
// distortion: the glyph is rendered in grey, mapped through a random affine
// transform (rotation, shear, scale, aspect) and, when asked, a smooth
// elastic bend, with bilinear sampling, thresholded to 1 bit, then
// thickened or thinned, speckled and broken. Grey
// characters from elsewhere (scanned digits, pen drawings) go through the
// same scanner model.
#include "ocrlib/samples/glyph_samples.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <fstream>

namespace glyphs {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMargin = 3;

double Uniform(std::mt19937& rng, double lo, double hi) {
  return std::uniform_real_distribution<double>(lo, hi)(rng);
}
bool Chance(std::mt19937& rng, double p) { return Uniform(rng, 0, 1) < p; }
int UniformInt(std::mt19937& rng, int lo, int hi) {
  return std::uniform_int_distribution<int>(lo, hi)(rng);
}

// A smooth random displacement field over a square of `side` pixels: a few
// plane waves of one to two periods across the character, each with its own
// direction and phase. Tabled once (sin(a + b) from the rows' and columns'
// own sines), as every pixel of the square reads it.
class ElasticField {
 public:
  ElasticField(double amplitude, double size, int side, std::mt19937& rng) : side_(side) {
    if (amplitude <= 0) return;
    dx_.assign(static_cast<size_t>(side) * side, 0);
    dy_ = dx_;
    std::vector<double> sinX(side), cosX(side);                     // by column
    std::vector<double> rowX(side), rowCosX(side), rowY(side), rowCosY(side);  // by row
    for (int k = 0; k < kWaves; ++k) {
      const double turn = Uniform(rng, 0, 2 * kPi), cycles = Uniform(rng, 1, 2);
      const double fx = std::cos(turn) * cycles * 2 * kPi / size;
      const double fy = std::sin(turn) * cycles * 2 * kPi / size;
      const double phaseX = Uniform(rng, 0, 2 * kPi), phaseY = Uniform(rng, 0, 2 * kPi);
      for (int i = 0; i < side; ++i) {
        sinX[i] = std::sin(fx * i), cosX[i] = std::cos(fx * i);
        rowX[i] = std::sin(fy * i + phaseX), rowCosX[i] = std::cos(fy * i + phaseX);
        rowY[i] = std::sin(fy * i + phaseY), rowCosY[i] = std::cos(fy * i + phaseY);
      }
      const double weight = amplitude / kWaves;
      for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
          const size_t at = static_cast<size_t>(y) * side + x;
          dx_[at] += weight * (sinX[x] * rowCosX[y] + cosX[x] * rowX[y]);
          dy_[at] += weight * (sinX[x] * rowCosY[y] + cosX[x] * rowY[y]);
        }
      }
    }
  }
  // The displacement at pixel (x, y) of the square.
  double Dx(int x, int y) const { return At(dx_, x, y); }
  double Dy(int x, int y) const { return At(dy_, x, y); }

 private:
  static constexpr int kWaves = 3;
  double At(const std::vector<double>& v, int x, int y) const {
    return v.empty() ? 0 : v[static_cast<size_t>(y) * side_ + x];
  }
  int side_;
  std::vector<double> dx_, dy_;
};

// Pixel mask with its own helpers; turned into a GlyphImage at the end.
struct Mask {
  int width = 0, height = 0;
  std::vector<uint8_t> v;
  uint8_t& at(int x, int y) { return v[y * width + x]; }
  uint8_t get(int x, int y) const {
    return x < 0 || y < 0 || x >= width || y >= height ? 0 : v[y * width + x];
  }
  int Count() const { return static_cast<int>(std::count(v.begin(), v.end(), 1)); }
};

Mask Grow(const Mask& m, bool thicken) {
  Mask out = m;
  for (int y = 0; y < m.height; ++y) {
    for (int x = 0; x < m.width; ++x) {
      const int n = m.get(x - 1, y) + m.get(x + 1, y) + m.get(x, y - 1) + m.get(x, y + 1);
      if (thicken && n > 0) out.at(x, y) = 1;
      if (!thicken && n < 4) out.at(x, y) = 0;
    }
  }
  return out;
}

GlyphImage ToImage(const Mask& m) {
  int left = m.width, top = m.height, right = -1, bottom = -1;
  for (int y = 0; y < m.height; ++y) {
    for (int x = 0; x < m.width; ++x) {
      if (!m.get(x, y)) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  GlyphImage g;
  if (right < 0) return g;
  g.width = right - left + 1 + 2 * kMargin;
  g.height = bottom - top + 1 + 2 * kMargin;
  g.bytesPerLine = (g.width + 7) / 8;
  g.bits.assign(static_cast<size_t>(g.bytesPerLine) * g.height, 0);
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      if (m.get(x, y)) g.Set(x - left + kMargin, y - top + kMargin);
    }
  }
  g.ink = {kMargin, kMargin, static_cast<int16_t>(g.width - 1 - kMargin),
           static_cast<int16_t>(g.height - 1 - kMargin)};
  return g;
}

}  // namespace

double GreyImage::At(double x, double y) const {  // bilinear, white outside
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  const double fx = x - x0, fy = y - y0;
  auto px = [&](int xx, int yy) -> double {
    return xx < 0 || yy < 0 || xx >= width || yy >= height ? 0 : v[yy * width + xx];
  };
  return (px(x0, y0) * (1 - fx) + px(x0 + 1, y0) * fx) * (1 - fy) +
         (px(x0, y0 + 1) * (1 - fx) + px(x0 + 1, y0 + 1) * fx) * fy;
}

MupaImage GlyphImage::Descriptor() {
  return MupaImage{static_cast<int16_t>(width), static_cast<int16_t>(height), 1,
                   static_cast<int16_t>(bytesPerLine), 200, 1, bits.data()};
}

const std::vector<FontFile>& FontFiles() {
  // Japanese handwriting and brush faces draw every set; the Latin
  // handwriting faces digits and capitals only.
  static const std::vector<FontFile> kFonts = {
      {"/usr/share/fonts/truetype/klee/KleeOne-Regular.ttf", true},
      {"/usr/share/fonts/truetype/klee/KleeOne-SemiBold.ttf", true},
      {"/usr/share/fonts/truetype/yusei-magic/YuseiMagic-Regular.ttf", true},
      {"/usr/share/fonts/truetype/aoyagi-soseki/aoyagi-soseki.ttf", true},
      {"/usr/share/fonts/truetype/kouzan-mouhitsu/kouzan-mouhitsu.ttf", true},
      {"/usr/share/fonts/truetype/kouzan-mouhitsu/kouzan-mouhitsu-gyosho.ttf", true},
      {"/usr/share/fonts/truetype/kouzan-mouhitsu/KouzanBrushFontSousyo.ttf", true},
      {"/usr/share/fonts/truetype/motoya-l-maruberi/MTLmr3m.ttf", true},
      {"/usr/share/fonts/opentype/bwht/BecauseWeBuild-Regular.otf", false},
      {"/usr/share/fonts/opentype/bwht/BecauseWeConnect-Regular.otf", false},
      {"/usr/share/fonts/opentype/bwht/BecauseWeCreate-Regular.otf", false},
      {"/usr/share/fonts/opentype/bwht/BecauseWeLearn-Regular.otf", false},
      {"/usr/share/fonts/opentype/bwht/BecauseWeMentor-Regular.otf", false},
      {"/usr/share/fonts/opentype/bwht/BecauseWeOrganize-Regular.otf", false},
      {"/usr/share/fonts/truetype/breip/Breip.ttf", false},
      {"/usr/share/fonts/truetype/breip/breipfont.ttf", false},
      {"/usr/share/fonts/truetype/fifthhorseman/dkg.ttf", false},
      {"/usr/share/fonts/truetype/fifthhorseman/dkgBd.ttf", false},
      {"/usr/share/fonts/truetype/fifthhorseman/dkgIt.ttf", false},
      {"/usr/share/fonts/truetype/femkeklaver/femkeklaver.ttf", false},
      {"/usr/share/fonts/truetype/humor-sans/Humor-Sans.ttf", false},
      {"/usr/share/fonts/truetype/rufscript/Rufscript010.ttf", false},
  };
  return kFonts;
}

int ScannedCellEm(std::mt19937& rng) {
  const double dpi = Uniform(rng, 200, 400);
  const double cell = 5.0 / 25.4 * dpi;  // a 5 mm cell: 39..79 pixels
  // The ink fills half to nine tenths of the cell's height; the em is about
  // a third taller than a digit's ink.
  return static_cast<int>(std::lround(cell * Uniform(rng, 0.5, 0.9) * 1.35));
}

std::vector<CharClass> CharacterSet(CharSet set) {
  std::vector<CharClass> out;
  switch (set) {
    case CharSet::kDigits:
      for (int d = 0; d < 10; ++d) out.push_back({U'0' + static_cast<char32_t>(d),
                                                  static_cast<uint16_t>(0x824F + d), 1});
      break;
    case CharSet::kCapitals:
      for (int c = 0; c < 26; ++c) out.push_back({U'A' + static_cast<char32_t>(c),
                                                  static_cast<uint16_t>(0x8260 + c), 2});
      break;
    case CharSet::kKatakana: {
      static const char32_t kKana[] =
          U"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン";
      for (const char32_t* k = kKana; *k != 0; ++k) {
        // Shift-JIS orders katakana as Unicode does but skips 0x837F.
        int code = 0x8340 + static_cast<int>(*k - U'ァ');
        if (*k >= U'ム') ++code;
        out.push_back({*k, static_cast<uint16_t>(code), 8});
      }
      break;
    }
  }
  return out;
}

struct GlyphRenderer::Fonts {
  FT_Library library = nullptr;
  std::vector<FT_Face> faces;
  std::vector<std::string> names;
  std::vector<int> kanaFaces;  // faces that may draw katakana
  // The faces samples are drawn with, for every set and for katakana.
  std::vector<int> kept, keptKana;
  ~Fonts() {
    for (FT_Face f : faces) FT_Done_Face(f);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

GlyphRenderer::GlyphRenderer(std::unique_ptr<Fonts> fonts) : fonts_(std::move(fonts)) {}
GlyphRenderer::~GlyphRenderer() = default;

std::unique_ptr<GlyphRenderer> GlyphRenderer::Open(std::string* error) {
  auto fonts = std::make_unique<Fonts>();
  if (FT_Init_FreeType(&fonts->library) != 0) {
    *error = "FreeType does not start";
    return nullptr;
  }
  for (const FontFile& font : FontFiles()) {
    const std::string path = font.path;
    FT_Face face = nullptr;
    if (FT_New_Face(fonts->library, path.c_str(), 0, &face) != 0) continue;
    if (font.katakana) fonts->kanaFaces.push_back(static_cast<int>(fonts->faces.size()));
    fonts->faces.push_back(face);
    fonts->names.push_back(path.substr(path.rfind('/') + 1));
  }
  if (fonts->kanaFaces.empty()) {
    *error = "no Japanese handwriting font is installed";
    return nullptr;
  }
  for (int face = 0; face < static_cast<int>(fonts->faces.size()); ++face) {
    fonts->kept.push_back(face);
  }
  fonts->keptKana = fonts->kanaFaces;
  return std::unique_ptr<GlyphRenderer>(new GlyphRenderer(std::move(fonts)));
}

int GlyphRenderer::faceCount() const { return static_cast<int>(fonts_->faces.size()); }
bool GlyphRenderer::drawsKatakana(int face) const {
  return std::find(fonts_->kanaFaces.begin(), fonts_->kanaFaces.end(), face) !=
         fonts_->kanaFaces.end();
}
const std::string& GlyphRenderer::faceName(int face) const { return fonts_->names[face]; }

void GlyphRenderer::KeepFaces(const std::string& part, bool keep) {
  auto drop = [&](int face) { return (faceName(face).find(part) != std::string::npos) != keep; };
  auto& kept = fonts_->kept;
  auto& kana = fonts_->keptKana;
  kept.erase(std::remove_if(kept.begin(), kept.end(), drop), kept.end());
  kana.erase(std::remove_if(kana.begin(), kana.end(), drop), kana.end());
}

GlyphImage GlyphRenderer::Render(char32_t codepoint, int face, int emPixels,
                                 const Distortion& d, std::mt19937& rng) const {
  FT_Face f = fonts_->faces[face];
  FT_Set_Pixel_Sizes(f, 0, emPixels);
  if (FT_Get_Char_Index(f, codepoint) == 0 || FT_Load_Char(f, codepoint, FT_LOAD_RENDER) != 0) {
    return GlyphImage();
  }
  const FT_Bitmap& bm = f->glyph->bitmap;
  GreyImage grey;
  grey.width = static_cast<int>(bm.width);
  grey.height = static_cast<int>(bm.rows);
  grey.v.resize(static_cast<size_t>(grey.width) * grey.height);
  for (int y = 0; y < grey.height; ++y) {
    for (int x = 0; x < grey.width; ++x) grey.v[y * grey.width + x] = bm.buffer[y * bm.pitch + x];
  }
  return ScanGrey(grey, 1.0, d, rng);
}

GlyphImage ScanGrey(const GreyImage& grey, double scaleFactor, const Distortion& d,
                    std::mt19937& rng) {
  if (grey.width < 1 || grey.height < 1) return GlyphImage();
  // Forward map about the glyph's centre: scale and aspect, shear, rotation.
  const double angle = Uniform(rng, -d.maxRotationDeg, d.maxRotationDeg) * kPi / 180;
  const double shear = Uniform(rng, -d.maxShear, d.maxShear);
  const double scale = scaleFactor * Uniform(rng, d.minScale, d.maxScale);
  const double aspect = 1 + Uniform(rng, -d.maxAspect, d.maxAspect);
  const double sx = scale * std::sqrt(aspect), sy = scale / std::sqrt(aspect);
  const double c = std::cos(angle), s = std::sin(angle);
  // M = R x Shear x S: x' = a x + b y, y' = e x + g y.
  const double a = c * sx, b = (c * shear - s) * sy, e = s * sx, g = (s * shear + c) * sy;
  const double det = a * g - b * e;
  const double cx = grey.width / 2.0, cy = grey.height / 2.0;
  const int side = static_cast<int>(std::ceil(2.2 * std::max(grey.width, grey.height) * scale)) + 8;
  Mask m;
  m.width = m.height = side;
  m.v.assign(static_cast<size_t>(side) * side, 0);
  const double threshold = Uniform(rng, 100, 150);
  const double larger = std::max(grey.width, grey.height) * scale;
  // No draw when there is no bending: samples without it stay as they were.
  const ElasticField bend(d.elastic > 0 ? Uniform(rng, 0, d.elastic) * larger : 0, larger, side,
                          rng);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const double u = x + bend.Dx(x, y) - side / 2.0, w = y + bend.Dy(x, y) - side / 2.0;
      const double srcX = (g * u - b * w) / det + cx, srcY = (-e * u + a * w) / det + cy;
      if (grey.At(srcX, srcY) > threshold) m.at(x, y) = 1;
    }
  }
  if (m.Count() == 0) return GlyphImage();
  if (Chance(rng, d.thickenChance)) {
    m = Grow(m, true);
  } else if (Chance(rng, d.thinChance)) {
    Mask thin = Grow(m, false);
    if (thin.Count() * 2 > m.Count()) m = thin;
  }
  std::vector<std::pair<int, int>> ink;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      if (m.get(x, y)) ink.emplace_back(x, y);
    }
  }
  if (Chance(rng, d.breakChance)) {
    for (int gaps = UniformInt(rng, 1, 2); gaps > 0; --gaps) {
      const auto [px, py] = ink[UniformInt(rng, 0, static_cast<int>(ink.size()) - 1)];
      const int r = UniformInt(rng, 1, 2);
      for (int y = py - r; y <= py + r; ++y) {
        for (int x = px - r; x <= px + r; ++x) {
          if (m.get(x, y) && (x - px) * (x - px) + (y - py) * (y - py) <= r * r) m.at(x, y) = 0;
        }
      }
    }
  }
  if (Chance(rng, d.speckleChance)) {
    int left = side, top = side, right = 0, bottom = 0;
    for (auto [x, y] : ink) {
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
    for (int n = UniformInt(rng, 1, 3); n > 0; --n) {
      m.at(UniformInt(rng, left, right), UniformInt(rng, top, bottom)) = 1;
    }
    for (int n = UniformInt(rng, 0, 2); n > 0; --n) {
      const auto [x, y] = ink[UniformInt(rng, 0, static_cast<int>(ink.size()) - 1)];
      m.at(x, y) = 0;
    }
  }
  return ToImage(m);
}

std::vector<Sample> GlyphRenderer::MakeSamples(const std::vector<CharClass>& classes,
                                               int perClass, uint32_t seed,
                                               const Distortion& distortion,
                                               SampleSizes sizes) const {
  std::mt19937 rng(seed);
  std::vector<Sample> out;
  out.reserve(classes.size() * perClass);
  for (int i = 0; i < perClass; ++i) {
    for (const CharClass& c : classes) {
      // The faces that may draw the class, taken in turn.
      const std::vector<int>& faces = c.typeBit == 8 ? fonts_->keptKana : fonts_->kept;
      if (faces.empty()) continue;
      const int choices = static_cast<int>(faces.size());
      const int face = faces[(i + static_cast<int>(out.size())) % choices];
      const int em =
          sizes == SampleSizes::kScannedCells ? ScannedCellEm(rng) : UniformInt(rng, 36, 52);
      GlyphImage image = Render(c.codepoint, face, em, distortion, rng);
      if (image.width == 0) continue;
      out.push_back(Sample{std::move(image), c.sjis, c.typeBit, face});
    }
  }
  return out;
}

GlyphLine MakeLine(const GlyphRenderer& renderer, const std::vector<CharClass>& classes,
                   int length, int minGap, int maxGap, std::mt19937& rng,
                   const Distortion& distortion) {
  std::vector<GlyphImage> glyphs;
  std::vector<uint16_t> codes;
  int face = UniformInt(rng, 0, renderer.faceCount() - 1);
  while (classes[0].typeBit == 8 && !renderer.drawsKatakana(face)) {
    face = UniformInt(rng, 0, renderer.faceCount() - 1);
  }
  const int em = UniformInt(rng, 36, 52);
  while (static_cast<int>(glyphs.size()) < length) {
    const CharClass& c = classes[UniformInt(rng, 0, static_cast<int>(classes.size()) - 1)];
    GlyphImage g = renderer.Render(c.codepoint, face, em, distortion, rng);
    if (g.width == 0) continue;
    glyphs.push_back(std::move(g));
    codes.push_back(c.sjis);
  }
  // Ink boxes placed left to right; each glyph's ink sits at its box.
  int height = 0;
  for (const GlyphImage& g : glyphs) height = std::max(height, g.ink.bottom - g.ink.top + 1);
  GlyphLine line;
  line.codes = codes;
  std::vector<std::pair<int, int>> origins;
  int x = 8;
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const GlyphImage& g = glyphs[i];
    const int w = g.ink.right - g.ink.left + 1, h = g.ink.bottom - g.ink.top + 1;
    if (i > 0) x += UniformInt(rng, minGap, maxGap);
    const int y = 8 + (height - h) + UniformInt(rng, -2, 2);  // bottoms on a wandering baseline
    origins.emplace_back(x, y);
    line.boxes.push_back({static_cast<int16_t>(x), static_cast<int16_t>(y),
                          static_cast<int16_t>(x + w - 1), static_cast<int16_t>(y + h - 1)});
    x += w;
  }
  GlyphImage& img = line.image;
  img.width = x + 8;
  img.height = height + 18;
  img.bytesPerLine = (img.width + 7) / 8;
  img.bits.assign(static_cast<size_t>(img.bytesPerLine) * img.height, 0);
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const GlyphImage& g = glyphs[i];
    for (int y = g.ink.top; y <= g.ink.bottom; ++y) {
      for (int xx = g.ink.left; xx <= g.ink.right; ++xx) {
        if (g.Get(xx, y)) img.Set(origins[i].first + xx - g.ink.left, origins[i].second + y - g.ink.top);
      }
    }
  }
  img.ink = {0, 0, static_cast<int16_t>(img.width - 1), static_cast<int16_t>(img.height - 1)};
  // Which glyph inked each pixel, to tell glyphs whose ink meets.
  std::vector<int> owner(static_cast<size_t>(img.width) * img.height, -1);
  line.touching.assign(glyphs.size(), false);
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const GlyphImage& g = glyphs[i];
    for (int y = g.ink.top; y <= g.ink.bottom; ++y) {
      for (int xx = g.ink.left; xx <= g.ink.right; ++xx) {
        if (!g.Get(xx, y)) continue;
        const int px = origins[i].first + xx - g.ink.left, py = origins[i].second + y - g.ink.top;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            const int qx = px + dx, qy = py + dy;
            if (qx < 0 || qy < 0 || qx >= img.width || qy >= img.height) continue;
            const int other = owner[qy * img.width + qx];
            if (other >= 0 && other != static_cast<int>(i)) {
              line.touching[i] = line.touching[other] = true;
            }
          }
        }
        owner[py * img.width + px] = static_cast<int>(i);
      }
    }
  }
  return line;
}

}  // namespace glyphs
