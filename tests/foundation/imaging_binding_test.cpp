// The binding of sheetdesk: the five libraries loaded by name, what stays
// empty when a library or an entry is missing, and the one message an
// operation then gives. Also what each program imports.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/image_cache.h"
#include "foundation/imaging.h"
#include "tests/platform/image_fixtures.h"
#include "tests/support/hook_recorder.h"

namespace {

constexpr int kUsedEntries[] = {kIKFileLoad,       kIKFileType,     kIKBmpFileLoad,
                                kIKBmpFileSave,    kIKTiffFileLoad, kIKTiffFileSave,
                                kIKOpenFileDlg,    kIKGetImageType, kIKFreeMemory,
                                kIKImageOut,       kIKRotation,     kIKSelectImage,
                                kIKScanInitialize, kIKScanList,     kIKScanTerminate,
                                kIKScanGetCapEnum, kIKScanGetCapRange, kIKScanExec};

int BoundCount() {
  int bound = 0;
  for (ImageKitEntry entry : g_imageKit.entries) bound += entry != nullptr;
  return bound;
}

std::string CurrentFolder() {
  char folder[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, folder);
  return folder;
}

TEST(ImagingBinding, LoadsTheFiveLibrariesAndFetchesTheirEntriesByName) {
  LoadImagingLibrary(nullptr);
  for (int library = 0; library < kImageKitLibraryCount; ++library) {
    EXPECT_TRUE(g_imageKit.modules[library]) << kImageKitLibraryFiles[library];
  }
  for (int entry : kUsedEntries) EXPECT_TRUE(g_imageKit.entries[entry]) << kImageKitEntryNames[entry];
  EXPECT_EQ(BoundCount(), 18) << "entries the libraries do not export stay empty";
  EXPECT_EQ(ImagingLibraryVersion(), 7);
  UnloadImagingLibrary();
  EXPECT_EQ(BoundCount(), 0);
  for (HMODULE module : g_imageKit.modules) EXPECT_FALSE(module);
}

TEST(ImagingBinding, UnloadingClosesWhatTheLibrariesKeptOpenOnTheThread) {
  const std::string png = FreshFolder("ikclose") + "\\page.png";
  WritePng(png, {"#.", ".#"});
  std::thread([&] {
    LoadImagingLibrary(nullptr);
    DeleteImage(LoadImageUncached(png.c_str()));
    EXPECT_TRUE(ThreadRunsCom()) << "kept between calls";
    UnloadImagingLibrary();
    EXPECT_FALSE(ThreadRunsCom());
  }).join();
}

TEST(ImagingBinding, AMissingLibraryLeavesItsEntriesEmptyAndItsOperationsFailOnce) {
  const std::string folder = FreshFolder("ikpartial");
  const std::string from = CurrentFolder() + "\\";
  for (const char* dll : {"IK7COM.DLL", "IK7FILE.DLL", "IK7PRINT.DLL"}) {
    ASSERT_TRUE(CopyFileA((from + dll).c_str(), (from + folder + "\\" + dll).c_str(), FALSE));
  }
  MessageBoxRecorder boxes;
  LoadImagingLibrary((from + folder + "\\").c_str());
  EXPECT_TRUE(boxes.calls().empty()) << "binding itself shows nothing";
  EXPECT_FALSE(g_imageKit.modules[2]);
  EXPECT_FALSE(g_imageKit.entries[kIKScanExec]);
  EXPECT_FALSE(g_imageKit.entries[kIKRotation]);
  EXPECT_TRUE(g_imageKit.entries[kIKFileLoad]);

  WriteBmp(folder + "\\page.bmp", {"#.", ".#"}, 1);
  const std::string page = folder + "\\page.bmp";
  const std::string before = ReadBytes(page);
  IKScanParams params = {};
  EXPECT_EQ(IkScanExec(nullptr, &params, nullptr), kIkScanFailed);
  EXPECT_EQ(ResizeImageFile(page.c_str(), 90), -1);
  EXPECT_EQ(ResizeImageFile(page.c_str(), 90), -1);
  EXPECT_EQ(RotateImage(LoadImageCached(page.c_str()), 9000), nullptr);
  EXPECT_EQ(ReadBytes(page), before) << "a refused turn touches nothing";
  EXPECT_EQ(boxes.texts(), (std::vector<std::string>{
                               "イメージライブラリの関数“IKScanExec”を使用できません。",
                               "イメージライブラリの関数“IKRotation”を使用できません。"}))
      << "one message per missing entry";
  EXPECT_TRUE(LoadImageCached(page.c_str())) << "what is there still works";
  DeleteImage(LoadImageCached(page.c_str()));
  UnloadImagingLibrary();
}

TEST(ImagingBinding, AMissingEntryIsNeverCalled) {
  BindImagingLibrary();
  g_imageKit.entries[kIKFreeMemory] = nullptr;
  MessageBoxRecorder boxes;
  WriteBmp(FreshFolder("ikentry") + "\\a.bmp", {"#"}, 1);
  ImageHandle image = LoadImageCached("ikentry\\a.bmp");
  ASSERT_TRUE(image);
  EXPECT_EQ(DeleteImage(image), -1);
  FreeCachedImage("ikentry\\a.bmp");
  EXPECT_EQ(boxes.texts(), (std::vector<std::string>{
                               "イメージライブラリの関数“IKFreeMemory”を使用できません。"}))
      << "no second box for the failed free";
  ForgetCachedImage("ikentry\\a.bmp");
  UnbindImagingLibrary();
}

// The names of the DLLs a program file imports, read from its PE headers.
std::vector<std::string> ImportedDlls(const std::string& program) {
  const std::string file = ReadBytes(program);
  std::vector<std::string> names;
  if (file.size() < 0x40) return names;
  auto at = [&](size_t offset, auto value) {
    std::memcpy(&value, file.data() + offset, sizeof value);
    return value;
  };
  const size_t nt = at(0x3C, uint32_t{});
  const size_t optional = nt + 24;
  const uint16_t sections = at(nt + 6, uint16_t{});
  const uint16_t optionalSize = at(nt + 20, uint16_t{});
  const uint32_t importRva = at(optional + 120, uint32_t{});  // PE32+ data directory 1
  auto fileOffset = [&](uint32_t rva) -> size_t {
    for (uint16_t s = 0; s < sections; ++s) {
      const size_t header = optional + optionalSize + s * 40;
      const uint32_t address = at(header + 12, uint32_t{});
      const uint32_t size = at(header + 16, uint32_t{});
      if (rva >= address && rva < address + size) return rva - address + at(header + 20, uint32_t{});
    }
    return 0;
  };
  for (size_t descriptor = fileOffset(importRva); at(descriptor + 12, uint32_t{}); descriptor += 20) {
    names.push_back(file.c_str() + fileOffset(at(descriptor + 12, uint32_t{})));
  }
  return names;
}

TEST(ImagingBinding, Sheetdesk5ImportsTheImageKit5SetAndSheetdeskNone) {
  const std::vector<std::string> five = ImportedDlls("sheetdesk5.exe");
  for (const char* dll : {"Ik5Com.dll", "Ik5File.dll", "IK5SCAN.dll", "Ik5Print.dll", "Ik5Effect.dll"}) {
    EXPECT_NE(std::find(five.begin(), five.end(), dll), five.end()) << dll;
  }
  for (const std::string& dll : ImportedDlls("sheetdesk.exe")) {
    EXPECT_NE(dll.substr(0, 2), "IK") << dll << ": sheetdesk binds by name";
    EXPECT_NE(dll.substr(0, 2), "Ik") << dll;
  }
  EXPECT_FALSE(ImportedDlls("sheetdesk.exe").empty());
}

}  // namespace
