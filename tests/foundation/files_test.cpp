#include "foundation/files.h"

#include <mmsystem.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/hook_recorder.h"

// Folder and file names are Shift-JIS: 表 (95 5C), ソ (83 5C) and 能 (94 5C)
// end in the byte of "\".

namespace {

std::string ReadWholeFile(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// Names of the entries of a folder, "." and ".." left out.
std::set<std::string> ListFolder(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.insert(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

void RemoveTree(const std::string& folder) {
  for (const std::string& name : ListFolder(folder)) {
    const std::string path = folder + "\\" + name;
    if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(path);
    } else {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
  }
  RemoveDirectoryA(folder.c_str());
}

// Each test works in a fresh folder below the program folder.
class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveTree(work_);
    ASSERT_TRUE(CreateDirectoryA(work_.c_str(), nullptr));
  }
  void TearDown() override { RemoveTree(work_); }
  std::string In(const std::string& name) const { return work_ + "\\" + name; }

  const std::string work_ = "files_test_work";
};

TEST_F(Files, FindsFilesFoldersAndPatterns) {
  WriteWholeFile(In("A.BMP"), "x");
  WriteWholeFile(In("表.txt"), "x");
  ASSERT_TRUE(CreateDirectoryA(In("ソ").c_str(), nullptr));
  struct Case {
    std::string path;
    int result;
  };
  const Case cases[] = {
      {In("A.BMP"), 0},   {In("*.BMP"), 0},   {In("表.txt"), 0},  {In("ソ"), 0},
      {work_, 0},         {In("B.BMP"), -1},  {In("*.TIF"), -1}, {In("能"), -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileExists(c.path.c_str()), c.result) << c.path;
    EXPECT_EQ(FileExistsAlt(c.path.c_str()), c.result) << c.path;
  }
}

TEST_F(Files, FileExistsLeavesNoSearchOpen) {
  WriteWholeFile(In("A.BMP"), "x");
  DWORD before = 0, after = 0;
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &before));
  for (int i = 0; i < 200; ++i) ASSERT_EQ(FileExists(In("*.BMP").c_str()), 0);
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &after));
  EXPECT_EQ(after, before);
}

TEST_F(Files, CreatesAndDeletes) {
  EXPECT_EQ(CreateDirectoryChecked(In("表").c_str()), 0);
  EXPECT_EQ(CreateDirectoryChecked(In("表").c_str()), -1);
  EXPECT_EQ(CreateDirectoryChecked(In("missing\\x").c_str()), -1);

  WriteWholeFile(In("a.txt"), "x");
  EXPECT_EQ(DeleteFileChecked(In("a.txt").c_str()), 0);
  EXPECT_EQ(DeleteFileChecked(In("a.txt").c_str()), -1);
}

TEST_F(Files, EnsuresEveryFolderOfAPath) {
  struct Case {
    const char* what;
    std::string path;
    std::string deepest;
  };
  const Case cases[] = {
      {"plain folders", In("a\\b\\c"), In("a\\b\\c")},
      {"trailing delimiter", In("d\\e\\"), In("d\\e")},
      {"trail bytes 5C are no delimiters", In("表ア\\ソ能"), In("表ア\\ソ能")},
      {"path ending in a trail byte 5C", In("x\\ソ"), In("x\\ソ")},
      {"existing folders", In("a\\b"), In("a\\b")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(EnsureDirectoryPath(c.path.c_str()), 0);
    EXPECT_TRUE(GetFileAttributesA(c.deepest.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  }
  // No stray folders named after the lead byte of 表 or ソ.
  EXPECT_EQ(ListFolder(work_), (std::set<std::string>{"a", "d", "x", "表ア"}));
  EXPECT_EQ(ListFolder(In("表ア")), (std::set<std::string>{"ソ能"}));

  WriteWholeFile(In("file"), "x");
  EXPECT_EQ(EnsureDirectoryPath(In("file\\sub").c_str()), -1);
  EXPECT_EQ(EnsureDirectoryPath(""), -1);
}

TEST_F(Files, AppendsTextWithCrLf) {
  const std::string path = In("log.txt");
  WriteWholeFile(path, "old\r\n");
  const HANDLE file = OpenFileForAppend(path.c_str());
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(WriteTextCrLf(file, "a\nb"), 3);
  EXPECT_EQ(WriteTextCrLf(file, "%s=%d\n", "表", 5), 5);
  CloseHandle(file);
  EXPECT_EQ(ReadWholeFile(path), "old\r\na\r\nb表=5\r\n");
}

TEST_F(Files, CutsLongTextsAtACharacterBoundary) {
  const std::string path = In("long.txt");
  const HANDLE file = OpenFileForAppend(path.c_str());
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  std::string text = "a";
  while (text.size() < 2 * kCrLfTextSize) text += "表";
  const int length = WriteTextCrLf(file, "%s", text.c_str());
  CloseHandle(file);
  EXPECT_LT(length, kCrLfTextSize);
  EXPECT_EQ(length % 2, 1);  // "a" and whole pairs only
  EXPECT_EQ(ReadWholeFile(path), text.substr(0, length));
}

TEST_F(Files, ReportsAFileThatCannotBeOpened) {
  MessageBoxRecorder boxes;
  const std::string path = In("missing\\log.txt");
  EXPECT_EQ(OpenFileForAppend(path.c_str()), INVALID_HANDLE_VALUE);
  ASSERT_EQ(boxes.calls().size(), 1u);
  EXPECT_EQ(boxes.calls()[0].text, "“" + path + "”をオープンできません。");
  EXPECT_TRUE(boxes.calls()[0].flags & MB_ICONERROR);
  EXPECT_EQ(WriteTextCrLf(INVALID_HANDLE_VALUE, "x"), -1);
}

// A compressed file as the LZ library writes it ("SZDD"): the header, then
// groups of a flag byte (bit set: literal byte, clear: a two-byte reference
// to the 4096-byte window, which starts at 0xFF0) and their items.
std::string CompressedAbcAbc() {
  std::string bytes("SZDD\x88\xF0\x27\x33", 8);
  bytes += 'A';                           // compression mode
  bytes += 't';                           // last character of the name
  bytes += std::string("\x06\0\0\0", 4);  // expanded length 6
  bytes += "\x07" "abc";                  // three literals
  bytes += "\xF0\xF0";                    // window position 0xFF0, length 3
  return bytes;
}

TEST_F(Files, CopiesAndExpandsThroughTheLzLibrary) {
  WriteWholeFile(In("plain.txt"), "plain text");
  WriteWholeFile(In("packed.tx_"), CompressedAbcAbc());
  WriteWholeFile(In("existing.txt"), "a longer text that must be replaced");

  EXPECT_EQ(CopyFileLz(In("plain.txt").c_str(), In("copy.txt").c_str()), 0);
  EXPECT_EQ(ReadWholeFile(In("copy.txt")), "plain text");
  EXPECT_EQ(CopyFileLz(In("packed.tx_").c_str(), In("表.txt").c_str()), 0);
  EXPECT_EQ(ReadWholeFile(In("表.txt")), "abcabc");
  EXPECT_EQ(CopyFileLz(In("plain.txt").c_str(), In("existing.txt").c_str()), 0);
  EXPECT_EQ(ReadWholeFile(In("existing.txt")), "plain text");

  EXPECT_EQ(CopyFileLz(In("none.txt").c_str(), In("copy2.txt").c_str()), -1);
  EXPECT_EQ(FileExists(In("copy2.txt").c_str()), -1);
  EXPECT_EQ(CopyFileLz(In("plain.txt").c_str(), In("missing\\copy.txt").c_str()), -1);
  // A plain file is copied whatever the length of its paths.
  const std::string deep = In(std::string(150, 'd'));
  ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
  const std::string farCopy = deep + "\\" + std::string(60, 'f') + ".txt";
  ASSERT_GT(farCopy.size(), 200u);
  EXPECT_EQ(CopyFileLz(In("plain.txt").c_str(), farCopy.c_str()), 0);
  EXPECT_EQ(ReadWholeFile(farCopy), "plain text");
  EXPECT_EQ(CopyFileLz(farCopy.c_str(), (deep + "\\copy.txt").c_str()), 0);
  // The source was closed again: it can be deleted.
  EXPECT_EQ(DeleteFileChecked(In("plain.txt").c_str()), 0);
}

// A short silent PCM wave file.
std::string SilentWave() {
  const uint32_t samples = 800;  // 0.1 s at 8 kHz, 8 bits, mono
  auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  auto le16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
  std::string wave = "RIFF" + le32(36 + samples) + "WAVEfmt " + le32(16) + le16(1) + le16(1) +
                     le32(8000) + le32(8000) + le16(1) + le16(8) + "data" + le32(samples);
  return wave + std::string(samples, '\x80');
}

TEST_F(Files, PlaysWaveFilesOneAtATime) {
  EXPECT_EQ(PlayWaveFile(nullptr, ""), -1);
  EXPECT_NE(PlayWaveFile(nullptr, In("none.wav").c_str()), 0);

  const std::string first = In("first.wav");
  const std::string second = In("second.wav");
  WriteWholeFile(first, SilentWave());
  WriteWholeFile(second, SilentWave());
  const int result = PlayWaveFile(nullptr, first.c_str());
  if (result != 0) {
    CloseWaveDevice();
    GTEST_SKIP() << "no wave device here (MCI error " << result << ")";
  }
  // An open device answers to its element name.
  EXPECT_NE(mciGetDeviceIDA(first.c_str()), 0u);
  ASSERT_EQ(PlayWaveFile(nullptr, second.c_str()), 0);
  EXPECT_EQ(mciGetDeviceIDA(first.c_str()), 0u);
  EXPECT_NE(mciGetDeviceIDA(second.c_str()), 0u);
  CloseWaveDevice();
  EXPECT_EQ(mciGetDeviceIDA(second.c_str()), 0u);
}

TEST(CurrentFolder, ReadsTheCurrentFolder) {
  char folder[MAX_PATH];
  GetCurrentFolder(folder, sizeof folder);
  char expected[MAX_PATH];
  GetCurrentDirectoryA(sizeof expected, expected);
  EXPECT_STREQ(folder, expected);
  EXPECT_EQ(GetCurrentDriveLetter(), expected[0]);
  char tooSmall[4] = "xyz";
  EXPECT_STREQ(GetCurrentFolder(tooSmall, sizeof tooSmall), "");
}

}  // namespace
