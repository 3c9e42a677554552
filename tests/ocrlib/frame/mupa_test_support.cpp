#include "tests/ocrlib/frame/mupa_test_support.h"

#include <filesystem>
#include <random>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/mupa32.h"

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::random_device seed;
  const fs::path dir = fs::temp_directory_path() / ("mupa_test_" + std::to_string(seed()));
  fs::create_directories(dir);
  root_ = dir.string();
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

// Joined as text: the name's bytes reach fopen unconverted.
std::string TempFolder::Path(const std::string& name) const { return root_ + "/" + name; }

std::string TempFolder::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  const std::string path = Path(name);
  WriteDictBytes(path, bytes);
  return path;
}

LoadedDict::LoadedDict(const DictFileSpec& spec) {
  TempFolder folder;
  const std::string path = folder.Write("loaded.dic", spec);
  size_t size = 0;
  if (ComputeDictSize(path.c_str(), 0, &size) != 0) return;
  block_ = static_cast<DictBlock*>(::operator new(size));
  if (LoadDictFile(path.c_str(), block_, size) != 0) {
    ::operator delete(block_);
    block_ = nullptr;
  }
}

LoadedDict::~LoadedDict() { ::operator delete(block_); }

void ResetMupaLibrary() {
  for (int16_t handle = 0; handle < kMaxSessions; ++handle) {
    if (CheckSessionHandle(handle) != 0) continue;
    for (int16_t e = 0; e < kMaxExecEnvs; ++e) {
      if (g_execEnvs[e].state == kSlotInUse && g_execEnvs[e].owner == handle) {
        MupaCloseExecEnv(handle, e);
      }
    }
    for (int16_t d = 0; d < kMaxDicts; ++d) {
      if (g_patternDicts[d].state == kSlotInUse && g_patternDicts[d].owner == handle) {
        MupaUnloadPatternDict(handle, d);
      }
    }
    MupaEnd(handle);
  }
  ClearErrorStack();
}

std::vector<uint16_t> ErrorsOf(int16_t handle) {
  uint16_t codes[kErrorSlots] = {};
  const int n = MupaGetError(handle, codes, kErrorSlots);
  return n > 0 ? std::vector<uint16_t>(codes, codes + n) : std::vector<uint16_t>{};
}

const DictBlock* LoadTestDict(const TempFolder& folder, const std::string& name,
                              const DictFileSpec& spec) {
  const std::string path = folder.Write(name, spec);
  int16_t handle = 0;
  while (handle < kMaxSessions && CheckSessionHandle(handle) != 0) ++handle;
  if (handle == kMaxSessions) handle = MupaBegin();
  if (handle < 0 || MupaLoadPatternDict(handle, path.c_str()) != 0) return nullptr;
  const int16_t id = MupaGetDictHandle(handle, path.c_str());
  return id < 0 ? nullptr : GetDictData(id);
}

RecogRunBlock RunOver(const RunImage& image, const MupaRect& rect, DictBlock* const* dicts) {
  RecogRunBlock run = {};
  run.image = image;
  run.rect = rect;
  run.options.marker[0] = run.options.marker[1] = 1;
  run.options.mode = 1;
  run.dictCount = 1;
  run.dicts = dicts;
  return run;
}

CharWorkRecord ClassifyWith(const DictBlock* dict, const RunImage& image, const MupaRect& rect,
                            uint32_t mask) {
  DictBlock* dicts[1] = {const_cast<DictBlock*>(dict)};
  const RecogRunBlock run = RunOver(image, rect, dicts);
  CharWorkRecord r;
  ClearCharRecord(&r);
  ClassifyByPattern(&run, mask, &r);
  return r;
}
