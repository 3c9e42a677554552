// Arbitrary bytes as a sample pack: the reader refuses what is malformed and
// what it accepts has every image inside its bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ocrlib/dictbuilder/dict_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/mupa_pack_fuzz_" + std::to_string(getpid()) + ".pack";
  static const bool removedAtExit = std::atexit([] { std::remove(path.c_str()); }) == 0;
  (void)removedAtExit;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  std::vector<PackedChar> chars;
  std::string error;
  if (ReadSamplePack(path, &chars, &error) != 0) return 0;
  uint32_t sum = 0;
  for (PackedChar& c : chars) {
    const RunImage image = c.Image();
    sum += image.bits[static_cast<size_t>(c.rect.bottom) * image.bytesPerLine + c.rect.right / 8];
  }
  return sum == 0xFFFFFFFF;
}
