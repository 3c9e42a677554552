// Helpers of the MUPA32 tests: a private folder for dictionary files and a
// reset of the library's process-wide state between tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ocrlib/dictwriter/dict_writer.h"

// Boxes compare by their four values (a box crosses the boundary as 8 bytes).
inline bool operator==(const MupaRect& a, const MupaRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A fresh folder, removed with its files at the end of the test.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string Path(const std::string& name) const;
  // Writes the bytes under `name` and returns the file's path.
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
  std::string Write(const std::string& name, const DictFileSpec& spec) const {
    return Write(name, EncodeDictFile(spec));
  }

 private:
  std::string root_;
};

// The dictionary file a DictFileSpec describes, sized and loaded as the
// library loads one, through a file of a private folder; get() is null (the
// codes on the error stack) when the library refuses it. Owns the block.
class LoadedDict {
 public:
  explicit LoadedDict(const DictFileSpec& spec);
  ~LoadedDict();
  LoadedDict(const LoadedDict&) = delete;
  LoadedDict& operator=(const LoadedDict&) = delete;
  DictBlock* get() const { return block_; }

 private:
  DictBlock* block_ = nullptr;
};

// Closes every environment, unloads every dictionary and ends every handle
// through the exports, so the next test finds the library uninitialised.
void ResetMupaLibrary();

// The codes MupaGetError reports for the handle right now.
std::vector<uint16_t> ErrorsOf(int16_t handle);

// Writes the dictionary into the folder and loads it through the exports (on
// the first handle in use, or a new one); its loaded block, or null when it
// does not load.
const DictBlock* LoadTestDict(const TempFolder& folder, const std::string& name,
                              const DictFileSpec& spec);

// A run block over the rectangle of an image with the dictionaries (the
// array must outlive the block): markers 1, mode 1.
RecogRunBlock RunOver(const RunImage& image, const MupaRect& rect, DictBlock* const* dicts);
// The pattern classifier's record for the rectangle with the dictionary.
CharWorkRecord ClassifyWith(const DictBlock* dict, const RunImage& image, const MupaRect& rect,
                            uint32_t mask);
