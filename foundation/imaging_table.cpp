// The table of the imaging library's entry points and its loading by name.
#include <cstring>
#include <string>

#include "foundation/imaging.h"
#include "foundation/msgbox.h"

ImageKitTable g_imageKit;

namespace {

// Entries whose absence was already reported since the last binding.
bool g_missingReported[kImageKitEntryCount];

}  // namespace

void ClearImagingTable() {
  g_imageKit = ImageKitTable{};
  std::memset(g_missingReported, 0, sizeof g_missingReported);
}

void LoadImagingLibrary(const char* folder) {
  ClearImagingTable();
  int first = 0;
  for (int library = 0; library < kImageKitLibraryCount; ++library) {
    const std::string file = std::string(folder ? folder : "") + kImageKitLibraryFiles[library];
    HMODULE module = LoadLibraryA(file.c_str());
    g_imageKit.modules[library] = module;
    const int end = first + kImageKitLibraryEntries[library];
    for (int entry = first; module && entry < end; ++entry) {
      const std::string name(kImageKitEntryNames[entry]);
      g_imageKit.entries[entry] =
          reinterpret_cast<ImageKitEntry>(GetProcAddress(module, name.c_str()));
    }
    first = end;
  }
}

void UnloadImagingLibrary() {
  // Our libraries keep the platform's imaging component open on the thread
  // that used them; it closes before the code that holds it goes away.
  // Libraries without that call have nothing to close.
  if (HMODULE common = g_imageKit.modules[0]) {
    auto entry = reinterpret_cast<ImageKitEntry>(GetProcAddress(common, "IKEndImaging"));
    if (entry) reinterpret_cast<decltype(&IKEndImaging)>(entry)();
  }
  for (HMODULE module : g_imageKit.modules) {
    if (module) FreeLibrary(module);
  }
  g_imageKit = ImageKitTable{};
}

bool ImagingEntriesReady(std::initializer_list<int> entries) {
  for (int entry : entries) {
    if (g_imageKit.entries[entry]) continue;
    if (!g_missingReported[entry]) {
      g_missingReported[entry] = true;
      const std::string name(kImageKitEntryNames[entry]);
      ShowErrorMessage("", "イメージライブラリの関数“%s”を使用できません。", name.c_str());
    }
    return false;
  }
  return true;
}
