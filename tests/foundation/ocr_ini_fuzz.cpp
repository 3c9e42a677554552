// Feeds arbitrary bytes to the OCR.INI reader as start-up uses it: the bytes
// are the file, read line by line from disk, and the default folder is built
// from what it set. Every text setting stays terminated within its room.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/ocr_ini.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// One file of this process for every input.
const std::string& IniPath() {
  static const std::string path = [] {
    char name[] = "/tmp/ocr_ini_fuzz_XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) std::abort();
    close(fd);
    return std::string(name);
  }();
  return path;
}

void CheckText(const char (&text)[kIniTextSize]) { Check(memchr(text, '\0', kIniTextSize) != nullptr); }
void CheckPath(const char (&text)[kIniPathSize]) { Check(memchr(text, '\0', kIniPathSize) != nullptr); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // The first byte picks the program folder: a drive or a network share.
  const char* programFolder = data[0] & 1 ? "\\\\server\\share\\APP" : "C:\\APP";
  FILE* file = std::fopen(IniPath().c_str(), "wb");
  if (!file) std::abort();
  std::fwrite(data + 1, 1, size - 1, file);
  std::fclose(file);

  OcrIniSettings settings;
  SetOcrIniDefaults(settings);
  Check(ReadOcrIniFile(IniPath().c_str(), programFolder, settings) == 0);
  for (const auto* text : {&settings.serverName, &settings.loginUser, &settings.loginPassword,
                           &settings.cmiDbName, &settings.sfaDbName, &settings.plnDbName,
                           &settings.omrDbName, &settings.dbDevice, &settings.logDevice,
                           &settings.useText, &settings.drive}) {
    CheckText(*text);
  }
  for (const auto* path : {&settings.dbPath, &settings.dbFolder}) CheckPath(*path);
  Check(settings.serverVersion == 7);
  Check(settings.defaultDbKind >= kDbKindFile && settings.defaultDbKind <= kDbKindDataSource);
  Check(settings.debugLevel >= 0 && settings.debugLevel <= 2);
  Check(settings.dbFolder[0] != '\0' || settings.dbFolderTooLong);
  return 0;
}
