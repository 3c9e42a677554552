// Writes the kept inputs of the structure fuzz target into a folder, one
// file each: the seeds of its corpus, generated at build time.
// Usage: mupa_structure_seeds <folder>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/ocrlib/kit/structure_fuzz_input.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mupa_structure_seeds <folder>\n");
    return 2;
  }
  for (const penkit::StructureFuzzSeed& seed : penkit::StructureFuzzSeeds()) {
    const std::string path = std::string(argv[1]) + "/" + seed.name;
    const std::vector<uint8_t> bytes = penkit::BytesFromHex(seed.hex);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const bool written = f != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f != nullptr && std::fclose(f) != 0) f = nullptr;
    if (!written || f == nullptr) {
      std::fprintf(stderr, "mupa_structure_seeds: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
