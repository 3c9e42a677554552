// Handwriting-like character samples for training and measuring MUPA32:
// digits, Latin capitals and katakana rendered from the handwriting-style
// fonts of Debian's packages (Japanese faces draw all three sets, Latin
// handwriting faces digits and capitals), each with a
// random distortion (rotation, shear, scale, aspect, pen width, speckles,
// broken strokes), as 1-bit images in the library's bit order (bit 7 of a
// byte the leftmost pixel, a set bit ink). Also lines of such characters,
// touching or spaced, with the box of every character.
//
// Samples are generated, never stored: a seed gives the same samples again
// on the same machine. Keep training and test samples apart by their seeds.
// Native builds only (FreeType).
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "ocrlib/mupa32.h"

namespace glyphs {

// A grey image, 0 white .. 255 black, row by row.
struct GreyImage {
  int width = 0, height = 0;
  std::vector<uint8_t> v;
  double At(double x, double y) const;  // bilinear, white outside
};

// A 1-bit image; `ink` is the box of its black pixels.
struct GlyphImage {
  int width = 0, height = 0, bytesPerLine = 0;
  std::vector<uint8_t> bits;
  MupaRect ink = {};
  bool Get(int x, int y) const { return (bits[y * bytesPerLine + x / 8] >> (7 - x % 8)) & 1; }
  void Set(int x, int y) { bits[y * bytesPerLine + x / 8] |= static_cast<uint8_t>(0x80 >> x % 8); }
  void Clear(int x, int y) { bits[y * bytesPerLine + x / 8] &= static_cast<uint8_t>(~(0x80 >> x % 8)); }
  // Descriptor for the library's calls (the image must stay alive).
  MupaImage Descriptor();
};

enum class CharSet { kDigits, kCapitals, kKatakana };

// One character of a set: what is drawn and how the library names it.
struct CharClass {
  char32_t codepoint;  // drawn from the fonts
  uint16_t sjis;       // the full-width Shift-JIS code the library returns
  uint32_t typeBit;    // CharTypeMask bit: 1 digits, 2 capitals, 8 katakana
};
// ０..９, Ａ..Ｚ, or the 46 katakana ア..ン.
std::vector<CharClass> CharacterSet(CharSet set);

// Ranges of the random distortion; every sample draws its own values.
struct Distortion {
  double maxRotationDeg = 8;   // +/-
  double maxShear = 0.2;       // x += shear * y, +/-
  double minScale = 0.8, maxScale = 1.2;
  double maxAspect = 0.15;     // width / height changes by up to this, +/-
  double thickenChance = 0.25; // one pixel more of pen
  double thinChance = 0.15;    // one pixel less (kept only when ink remains)
  double speckleChance = 0.4;  // up to 3 black specks inside the box, 2 white in the ink
  double breakChance = 0.3;    // one or two gaps cut into the strokes
  // Elastic bending: a smooth random displacement of up to this share of
  // the character's larger side, waves of one to two per character, as a
  // hand bends a stroke that a font or a template draws straight. 0 leaves
  // the shape as the affine map gives it.
  double elastic = 0;
};

// A grey character scanned as a scanner's 1-bit cell gives it: scaled by
// `scaleFactor` and by the distortion's own scale, distorted, thresholded at
// a random level, then thickened or thinned, broken and speckled. An empty
// image (0 x 0) when no ink remains.
GlyphImage ScanGrey(const GreyImage& grey, double scaleFactor, const Distortion& distortion,
                    std::mt19937& rng);

// Em sizes of the samples: a fixed 36..52 pixels, or the size a character
// takes in a 5 mm cell scanned at 200..400 dpi.
enum class SampleSizes { kFixed, kScannedCells };
int ScannedCellEm(std::mt19937& rng);

struct Sample {
  GlyphImage image;
  uint16_t sjis;
  uint32_t typeBit;
  int face;  // which font drew it
};

// The renderer over the installed fonts.
class GlyphRenderer {
 public:
  // Opens every font found; null with *error set when none can be opened.
  static std::unique_ptr<GlyphRenderer> Open(std::string* error);
  ~GlyphRenderer();
  GlyphRenderer(const GlyphRenderer&) = delete;
  GlyphRenderer& operator=(const GlyphRenderer&) = delete;

  int faceCount() const;
  bool drawsKatakana(int face) const;
  const std::string& faceName(int face) const;
  // One character of `face` drawn at `emPixels` and distorted; an image
  // holding at least one black pixel (a glyph the face lacks gives none:
  // the image is then 0 x 0).
  GlyphImage Render(char32_t codepoint, int face, int emPixels, const Distortion& distortion,
                    std::mt19937& rng) const;
  // Limits the faces that draw samples to those whose file name contains
  // `part` (keep true) or to the others (keep false): a dictionary trained
  // without a family of faces is then measured on it as on hands it never
  // saw.
  void KeepFaces(const std::string& part, bool keep);
  // `perClass` samples of every class, the faces that draw its set taken in
  // turn (none of a class no kept face draws).
  std::vector<Sample> MakeSamples(const std::vector<CharClass>& classes, int perClass,
                                  uint32_t seed, const Distortion& distortion = Distortion(),
                                  SampleSizes sizes = SampleSizes::kFixed) const;

 private:
  struct Fonts;
  explicit GlyphRenderer(std::unique_ptr<Fonts> fonts);
  std::unique_ptr<Fonts> fonts_;
};

// A line of characters drawn one after another with gaps of minGap..maxGap
// pixels between their ink boxes (a negative gap lets boxes overlap; ink that
// touches is left as it is) and a baseline that wanders by up to 2 pixels.
struct GlyphLine {
  GlyphImage image;
  std::vector<MupaRect> boxes;  // ink box of every character, in order
  std::vector<uint16_t> codes;
  // Whether a character's ink touches a neighbour's (8-connected): no cut
  // between connected components can then give its box.
  std::vector<bool> touching;
};
GlyphLine MakeLine(const GlyphRenderer& renderer, const std::vector<CharClass>& classes,
                   int length, int minGap, int maxGap, std::mt19937& rng,
                   const Distortion& distortion = Distortion());

// The fonts this renderer looks for, by their installed paths.
struct FontFile {
  const char* path;
  bool katakana;  // drawn for katakana too
};
const std::vector<FontFile>& FontFiles();

}  // namespace glyphs
