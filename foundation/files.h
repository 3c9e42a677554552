// Files, folders and sound: thin wrappers over the Win32 calls with the
// program's results (0 success, -1 failure), the CR LF text writer of the
// program's text files, the LZ-expanding copy and wave playback through MCI.
#pragma once

#include <windows.h>

#include <string>

// 0 when FindFirstFile finds `path` (a file, a folder or a pattern match such
// as "*.BMP"), else -1. The two names serve different callers.
int FileExists(const char* path);
int FileExistsAlt(const char* path);
// CreateDirectory of one folder: 0, or -1 when it fails (it exists already
// included).
int CreateDirectoryChecked(const char* name);
// Creates every missing folder of `path` ("\" appended when missing): 0, or
// -1 when a folder could not be made.
int EnsureDirectoryPath(const char* path);
// DeleteFile: 0 or -1.
int DeleteFileChecked(const char* path);

// Opens or creates `path` for writing at its end. On failure shows
// "“path”をオープンできません。" and returns INVALID_HANDLE_VALUE; the caller
// does not report again. Close the handle with CloseHandle.
HANDLE OpenFileForAppend(const char* path);
// Room of WriteTextCrLf's formatted text; a longer text is cut at a character
// boundary.
constexpr int kCrLfTextSize = 4100;
// Formats the text and writes it, each "\n" as CR LF. Returns the length of
// the formatted text (before the line ends grow), or -1 when writing failed.
int WriteTextCrLf(HANDLE file, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Writes `text` as the whole of `path`, through "<path>.new" put in its
// place once complete and checked: 0, or -1 with the previous file whole and
// no "<path>.new" left.
int WriteFileAside(const std::string& path, const std::string& text);
// WriteFileAside, its failure shown as "“%s”をオープンできません。".
int ReplaceFileText(const std::string& path, const std::string& text);

// Copies `source` to `destination` (overwritten); a source compressed by
// the LZ library is expanded through it (paths of up to 127 bytes), any
// other file copied as it is, whatever the length of its path. -1 when the
// source cannot be opened, the destination cannot be created or the copy
// fails (nothing is left at the destination then but what was there); else 0.
int CopyFileLz(const char* source, const char* destination);

// Plays a ".wav" file asynchronously; MM_MCINOTIFY goes to `owner` when it
// ends. Any sound still open is closed first. Returns 0, -1 for an empty file
// name, or the MCI error of the open or play.
int PlayWaveFile(HWND owner, const char* file);
// Closes the wave device of the last PlayWaveFile, if any.
void CloseWaveDevice();

// The current folder into `out` (room for `size` bytes; MAX_PATH always
// suffices). A folder that does not fit gives "". Returns `out`.
char* GetCurrentFolder(char* out, int size);
// First character of the current folder (its drive letter).
char GetCurrentDriveLetter();
// The folder of the running program, without a trailing "\".
std::string GetProgramFolder();
