// Arbitrary bytes as a sheet image file: loading, unpacking and the mark
// search must refuse or read them without touching memory they do not own.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "reading/sheet_core.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/sheet_bmp_fuzz_" + std::to_string(getpid()) + ".bmp";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  SheetImage image;
  if (LoadSheetImageFile(path.c_str(), 200, &image) == SheetFileStatus::kOk) {
    g_markSearchSettings = {};
    g_markSearchSettings.compensationMode = size % 4;
    FindCorrectionMarks(image.bitmap, 2);
    UnpackSheetImage(image.bitmap, kUnpackWholeImage);
    MeasureBoxInk({0, 0, image.bitmap.width, image.bitmap.height}, size % 2 == 0);
    CountSheetInk(image.bitmap, kInkFullWidth);
  }
  return 0;
}
