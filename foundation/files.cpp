// Files, folders and sound over the Win32 calls. Paths are Shift-JIS: a
// folder delimiter is a "\" that is a character of its own, never the trail
// byte of 表 or ソ.
#include "foundation/files.h"

#include <lzexpand.h>
#include <mmsystem.h>

#include <cstdarg>
#include <cstring>
#include <string>

#include "foundation/bounded_format.h"
#include "foundation/msgbox.h"
#include "foundation/path_split.h"
#include "foundation/sjis_text.h"

namespace {

// The wave device of the last PlayWaveFile; 0 when none is open (playing).
MCIDEVICEID g_waveDevice = 0;

char g_crLfText[kCrLfTextSize];

bool IsFolder(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EndsWithDelimiter(const std::string& path) {
  bool delimiter = false;
  for (size_t i = 0; i < path.size(); i += SjisCharLength(path.c_str() + i)) {
    delimiter = path[i] == '\\' && SjisCharLength(path.c_str() + i) == 1;
  }
  return delimiter;
}

// Offset of the first folder below the root: after "C:\", "\" or
// "\\server\share\".
size_t FirstFolderOffset(const std::string& path) {
  if (path.compare(0, 2, "\\\\") == 0) {
    int delimiters = 0;
    for (size_t i = 2; i < path.size(); i += SjisCharLength(path.c_str() + i)) {
      if (path[i] == '\\' && ++delimiters == 2) return i + 1;
    }
    return path.size();
  }
  size_t offset = path.size() >= 2 && path[1] == ':' ? 2 : 0;
  while (offset < path.size() && path[offset] == '\\') ++offset;
  return offset;
}

}  // namespace

int FileExists(const char* path) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE) return -1;
  FindClose(search);
  return 0;
}

int FileExistsAlt(const char* path) { return FileExists(path); }

int CreateDirectoryChecked(const char* name) { return CreateDirectoryA(name, nullptr) ? 0 : -1; }

int EnsureDirectoryPath(const char* path) {
  std::string folders = path;
  if (folders.empty()) return -1;
  if (!EndsWithDelimiter(folders)) folders += '\\';
  // Each "\" below the root ends one folder to create; the platform's own
  // MakeSureDirectoryPathExists splits at the trail byte of 表 as well.
  const char* text = folders.c_str();
  for (size_t i = FirstFolderOffset(folders); i < folders.size(); i += SjisCharLength(text + i)) {
    if (text[i] != '\\' || SjisCharLength(text + i) != 1) continue;
    const std::string folder = folders.substr(0, i);
    if (!CreateDirectoryA(folder.c_str(), nullptr) && !IsFolder(folder.c_str())) return -1;
  }
  return 0;
}

int DeleteFileChecked(const char* path) { return DeleteFileA(path) ? 0 : -1; }

HANDLE OpenFileForAppend(const char* path) {
  const HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ShowErrorMessage("OpenFileForAppend()", "“%s”をオープンできません。", path);
    return INVALID_HANDLE_VALUE;
  }
  SetFilePointer(file, 0, nullptr, FILE_END);
  return file;
}

int WriteTextCrLf(HANDLE file, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int length = FormatTextBoundedV(g_crLfText, sizeof g_crLfText, format, args);
  va_end(args);

  // One write of the whole text instead of one per byte; a line feed is
  // never the trail byte of a pair, so bytes suffice.
  std::string lines;
  lines.reserve(2 * length);
  for (int i = 0; i < length; ++i) {
    if (g_crLfText[i] == '\n') lines += '\r';
    lines += g_crLfText[i];
  }
  DWORD written = 0;
  if (!WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr) ||
      written != lines.size()) {
    return -1;
  }
  return length;
}

namespace {

// True when the file starts as the LZ library's compressed files do.
bool IsLzCompressed(const char* path) {
  static const char kMagic[] = "SZDD\x88\xF0\x27\x33";
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char head[8] = {};
  DWORD read = 0;
  const bool whole = ReadFile(file, head, sizeof head, &read, nullptr) && read == sizeof head;
  CloseHandle(file);
  return whole && std::memcmp(head, kMagic, sizeof head) == 0;
}

}  // namespace

int CopyFileLz(const char* source, const char* destination) {
  if (!IsLzCompressed(source)) return CopyFileA(source, destination, FALSE) ? 0 : -1;
  // Opened by name through the LZ library, a path is cut at 127 bytes: the
  // files are opened here and handed to it, whatever their folder's length.
  const HFILE sourceFile = _lopen(source, OF_READ);
  if (sourceFile == HFILE_ERROR) return -1;
  const INT from = LZInit(sourceFile);
  if (from < 0) {
    _lclose(sourceFile);
    return -1;
  }
  const HFILE to = _lcreat(destination, 0);
  if (to == HFILE_ERROR) {
    LZClose(from);
    return -1;
  }
  const LONG copied = LZCopy(from, to);
  LZClose(from);
  _lclose(to);
  return copied < 0 ? -1 : 0;
}

int PlayWaveFile(HWND owner, const char* file) {
  if (!file || !*file) return -1;
  CloseWaveDevice();

  MCI_OPEN_PARMSA open = {};
  open.lpstrDeviceType = "waveaudio";
  open.lpstrElementName = file;
  MCIERROR error = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT,
                                   reinterpret_cast<DWORD_PTR>(&open));
  if (error) return static_cast<int>(error);
  g_waveDevice = open.wDeviceID;

  MCI_PLAY_PARMS play = {};
  play.dwCallback = reinterpret_cast<DWORD_PTR>(owner);
  error = mciSendCommandA(g_waveDevice, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play));
  if (error) {
    CloseWaveDevice();
    return static_cast<int>(error);
  }
  return 0;
}

void CloseWaveDevice() {
  if (g_waveDevice) mciSendCommandA(g_waveDevice, MCI_CLOSE, 0, 0);
  g_waveDevice = 0;
}

char* GetCurrentFolder(char* out, int size) {
  const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(size), out);
  if (length == 0 || length >= static_cast<DWORD>(size)) out[0] = '\0';
  return out;
}

std::string GetProgramFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(PathFolder(std::string_view(path, n)));
}

char GetCurrentDriveLetter() {
  char folder[MAX_PATH];
  return GetCurrentFolder(folder, sizeof folder)[0];
}

int WriteFileAside(const std::string& path, const std::string& text) {
  const std::string work = path + ".new";
  const HANDLE file = CreateFileA(work.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  bool written = false;
  if (file != INVALID_HANDLE_VALUE) {
    DWORD count = 0;
    written = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &count, nullptr) &&
              count == text.size();
    written = CloseHandle(file) && written;
  }
  if (written && MoveFileExA(work.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
  DeleteFileA(work.c_str());
  return -1;
}

int ReplaceFileText(const std::string& path, const std::string& text) {
  if (WriteFileAside(path, text) == 0) return 0;
  ShowErrorMessage("", "“%s”をオープンできません。", path.c_str());
  return -1;
}
