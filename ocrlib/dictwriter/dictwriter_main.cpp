// mupa_dictwriter: writes the sample pattern dictionaries into a folder, as
// "<name>.dic". Usage: mupa_dictwriter <folder>
#include <cstdio>
#include <string>

#include "ocrlib/dictwriter/dict_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mupa_dictwriter <folder>\n");
    return 2;
  }
  for (const SampleDict& sample : kSampleDicts) {
    const std::string path = std::string(argv[1]) + "/" + sample.name + ".dic";
    if (WriteDictBytes(path, EncodeDictFile(sample.make())) != 0) {
      std::fprintf(stderr, "mupa_dictwriter: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
