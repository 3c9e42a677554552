// The shell's rules that need neither windows nor files: the command line,
// the Windows version class, the lines of "server.dat" and "ocrpath.dat",
// the title line, where the output database and the work folders lie, who
// must log in, and the reading-time message. Portable (no Windows API);
// texts are Shift-JIS.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// ---------------------------------------------------------------------------
// The command line

// What the command line asks for: "/2H" (or "/2h") and up to two digits set
// the size of the registration mark at 200 dpi; every other character
// outside option mode (a "/" starts it, a blank ends it) names the
// sheet-definition database, blanks dropped.
struct CommandLineRequest {
  int markSize = 0;        // 0 when not given
  std::string definition;  // empty when none is named
};
CommandLineRequest ParseCommandLine(const char* text);

// The folder and base name of the definition database a command line names:
// a path of a drive ("D:...") or of the root ("\...") keeps its folder, a
// plain name lies in the "teigi" folder of the program.
struct DefinitionPlace {
  std::string folder, name;
};
DefinitionPlace PlaceNamedDefinition(const std::string& argument, const std::string& programFolder);

// The program folder from the process's command line: the text up to its
// first blank outside double quotes, quotes dropped, cut before its last
// "\" (empty when it has none).
std::string ProgramFolderFromCommandLine(const char* commandLine);

// ---------------------------------------------------------------------------
// The system

// Class of a Windows version (platform 1 is Windows 9x, 2 NT): 1 to 9 for
// the versions from 4.0 of 9x to 6.2 of NT, 10 for anything else.
int WindowsVersionClass(int platform, int major, int minor);

// The folders a start works in. From a folder of a drive they are the
// program folder and its "image" and "log"; from a network folder ("\\")
// the program's local folder "<drive of Windows>:\KqQuest" and its
// sub-folders, so that the work of a station stays on the station.
struct WorkFolders {
  bool network = false;
  std::string work, image, log;
};
WorkFolders PlanWorkFolders(const std::string& currentFolder, char windowsDrive);

// ---------------------------------------------------------------------------
// "server.dat" and "ocrpath.dat"

// The kind of database the program's tables go to by default and the name
// of its server. "server.dat" holds "kind,server" lines; the last line
// read wins. Older versions stored 3 for the server: it is read as the
// server (2), never as "no database". A kind the program does not know,
// an empty or a missing file give the file database with no server.
struct ServerChoice {
  int kind = 1;         // 1 the file database, 2 the server database
  std::string server;   // at most 40 bytes
};
constexpr int kMaxServerName = 40;
ServerChoice ParseServerList(std::string_view text);
// One line of "server.dat", with its line end.
std::string FormatServerList(const ServerChoice& choice);

// The current sheet definition in "ocrpath.dat": "folder,name". Each part
// keeps a whole Windows path, however deep (MAX_PATH less its end); only a
// longer one is cut (a double-byte character is never split). False when
// the text holds no line.
constexpr int kMaxDefinitionPart = 259;
bool ParseDefinitionPath(std::string_view text, std::string& folder, std::string& name);
std::string FormatDefinitionPath(const std::string& folder, const std::string& name);

// ---------------------------------------------------------------------------
// Titles, paths and rules of the main window

// "<title word> <version> 〔folder\name〕", or without a definition
// "<title word> <version> ".
std::string FormatTitleLine(const char* titleWord, const char* version, const std::string& folder,
                            const std::string& name);

// Where the output database of a sheet lies, from its stored path
// (データベースＪ): a path (holding "\") is taken as it is; a plain name lies
// in the "data" folder of `baseFolder`; no name gives "OCRDBS.MDB" there.
// `madeDefault` tells whether the path was made here (to be stored back).
std::string ResolveOutputPath(const std::string& stored, const std::string& baseFolder,
                              bool* madeDefault);

// Whether a command on the output database asks for the login first: always
// for a server database, for the file database when the sheet's password
// setting is 2.
bool LoginNeeded(int outputDbKind, int passwordSetting);

// The message of a finished reading run: count, minutes, seconds, all
// seconds and seconds a sheet ("登録件数：%d件 ／ %d分%d秒 (%d秒) ／
// %.1f秒/１件"). The time runs from `startMs` to `endMs` of a millisecond
// counter that may have wrapped between them; seconds are rounded half up,
// and the seconds a sheet from them, to one decimal, half up (0.0 for no
// sheet).
std::string FormatReadingTime(int count, std::uint32_t startMs, std::uint32_t endMs);
