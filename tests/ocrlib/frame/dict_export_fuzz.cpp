// Feeds arbitrary bytes to MUPA32 as a dictionary file a client loads
// through the exports: MupaLoadPatternDict either refuses it (-9 with its
// codes) or hands out a dictionary that the other dictionary and environment
// exports and a recognition call then use, after which it is unloaded
// again. AddressSanitizer watches every read of the loaded image.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/mupa32.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The loader reads files: each input goes through one file of this process,
// removed when the fuzzer exits.
const std::string& InputPath() {
  static const std::string path = "/tmp/mupa_dict_export_fuzz_" + std::to_string(getpid()) + ".dic";
  static const bool removedAtExit = std::atexit([] { std::remove(InputPath().c_str()); }) == 0;
  (void)removedAtExit;
  return path;
}

// A result of an export: a handle, id or count, -9 (codes to read) or -10.
void CheckResult(int16_t handle, int result) {
  Check(result >= 0 || result == -9 || result == -10);
  if (result == -9) {
    uint16_t codes[32];
    Check(MupaGetError(handle, codes, 32) >= 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const int16_t handle = MupaBegin();
  static const int16_t environment = MupaOpenExecEnv(handle, kExecEnvMode);
  Check(handle >= 0 && environment >= 0);
  FILE* file = std::fopen(InputPath().c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  MupaDictInfo info;
  CheckResult(handle, MupaGetDictInfo(handle, InputPath().c_str(), &info));
  const int16_t dictionary = MupaLoadPatternDict(handle, InputPath().c_str());
  CheckResult(handle, dictionary);
  if (dictionary < 0) return 0;
  Check(MupaGetDictHandle(handle, InputPath().c_str()) == dictionary);
  uint32_t offered = 0;
  uint32_t current = 0;
  CheckResult(handle, MupaGetCharType(handle, dictionary, &offered, &current));
  CheckResult(handle, MupaSetCharType(handle, dictionary, offered));
  CheckResult(handle, MupaRegisterPatternDict(handle, environment, dictionary));

  // One character of a small image: a vertical bar.
  uint8_t bits[32 * 4] = {};
  for (int y = 4; y < 28; ++y) bits[y * 4 + 1] = 0x18;
  MupaImage image = {32, 32, 1, 4, 200, 1, bits};
  const MupaRect rect = {0, 0, 31, 31};
  MupaRecogOptions options = {};
  options.marker[0] = 1;
  options.marker[1] = 1;
  options.mode = static_cast<uint8_t>(1 + size % 3);
  MupaCharResult result;
  CheckResult(handle, MupaExecuteOneChar(handle, environment, &image, &rect, &options, &result));

  CheckResult(handle, MupaCancelPatternDict(handle, environment, dictionary));
  Check(MupaUnloadPatternDict(handle, dictionary) == 0);
  return 0;
}
