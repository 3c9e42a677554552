// Arbitrary bytes as an MNIST digit file: the reader refuses what is
// malformed, and what it accepts is the samples asked for, each whole.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ocrlib/samples/mnist_digits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = "/tmp/mupa_mnist_fuzz_" + std::to_string(getpid());
  static const std::string path = folder + "/0.json";
  static const bool made = mkdir(folder.c_str(), 0700) == 0 &&
                           std::atexit([] {
                             std::remove(path.c_str());
                             rmdir(folder.c_str());
                           }) == 0;
  (void)made;
  if (size < 2) return 0;
  const int first = data[0] % 4, count = data[1] % 3 + 1;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data + 2, 1, size - 2, f);
  std::fclose(f);
  std::vector<glyphs::GreyImage> grey;
  std::string error;
  if (glyphs::ReadMnistDigits(folder, 0, first, count, &grey, &error) != 0) {
    if (!grey.empty() || error.empty()) std::abort();
    return 0;
  }
  if (static_cast<int>(grey.size()) != count) std::abort();
  for (const glyphs::GreyImage& g : grey) {
    if (g.v.size() != glyphs::kMnistSide * glyphs::kMnistSide) std::abort();
  }
  return 0;
}
