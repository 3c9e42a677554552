// 1-bit BMP pages read and written without a codec: the headers are checked
// by ReadOneBitBmpHeaders, and the rows move between file and image in one
// piece (a loaded page keeps the file's row order, palette and resolution).
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/bmp_format.h"
#include "platform/dib_image.h"

// A file opened for reading, with what its headers say.
class BmpPageFile {
 public:
  explicit BmpPageFile(const char* path);
  ~BmpPageFile();
  BmpPageFile(const BmpPageFile&) = delete;
  BmpPageFile& operator=(const BmpPageFile&) = delete;

  // False when the file cannot be opened (missing, locked, a folder).
  bool opened() const { return file_ != INVALID_HANDLE_VALUE; }
  // kOther when the file was not opened or could not be read.
  BmpKind kind() const { return kind_; }
  const OneBitBmp& page() const { return page_; }
  uint64_t fileBytes() const { return fileBytes_; }
  // The page of a kOneBit file as an image; 0 when its rows cannot be read
  // or memory runs out.
  HGLOBAL LoadPage() const;

 private:
  HANDLE file_;
  BmpKind kind_ = BmpKind::kOther;
  OneBitBmp page_;
  uint64_t fileBytes_ = 0;
};

// Writes a 1-bit image as a new BMP file, rows bottom-up. False when the
// file cannot be written whole (what was written stays for the caller to
// remove).
bool WriteOneBitBmp(const char* path, const ImageLock& image);
