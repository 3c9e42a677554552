// Black-and-white TIFF pages of the imaging libraries through our own codec
// (tiff_format.h): read from any TIFF file whose page is 1-bit, and written
// Group 4 (or uncompressed), which the platform's encoder cannot do under
// Wine. Pages of other depths and codings go to the platform's codec.
#pragma once

#include <windows.h>

#include "platform/dib_image.h"
#include "platform/imaging_library.h"
#include "platform/tiff_format.h"

enum class TiffPageRead {
  kRead,     // a 1-bit page, read
  kNotOurs,  // no TIFF file, or a page for the platform's codec
  kDamaged,  // a TIFF file that cannot be read there: no such page, a
             // directory or strips cut short, codes that do not decode
};

// Fills `info` (its file size left 0) for page `page` of a 1-bit TIFF page.
TiffPageRead ReadBilevelTiffInfo(const char* path, int page, IKFileInfo* info);
// Loads page `page` as a 1-bit image (index 0 black, 1 white) into
// `image`; `pageCount` (may be null) receives the file's pages. kDamaged
// also when memory runs out.
TiffPageRead LoadBilevelTiffPage(const char* path, int page, HGLOBAL* image, int* pageCount);

// A TIFF file of 1-bit pages, made page by page and written whole.
class BilevelTiffFile {
 public:
  // `compression`: kIkTiffGroup4 codes the pages Group 4, anything else
  // stores them uncompressed.
  explicit BilevelTiffFile(int compression);
  // Adds a 1-bit image as the next page, its darker colour black; false
  // for other depths.
  bool Add(const ImageLock& image);
  // Writes the file as a new file `path`; false when it could not be
  // written whole (what was written stays for the caller to remove).
  bool Write(const char* path);

 private:
  BilevelTiffWriter writer_;
};
