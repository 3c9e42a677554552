// The shell's text rules: command line, version class, the small settings
// files, title line, output path, login rule and reading time. Shift-JIS
// constants are spelt as byte escapes: the fuzz build compiles this file
// without converting literals.
#include "shell/shell_text.h"

#include <cstdio>
#include <cstring>

#include "foundation/csv_token.h"
#include "foundation/sjis_text.h"

namespace {

// "〔" and "〕" in Shift-JIS.
constexpr char kOpenBracket[] = "\x81\x6b";
constexpr char kCloseBracket[] = "\x81\x6c";

// The first `bytes` bytes of `text`, one less when the last would be the
// lead byte of a double-byte character.
std::string CutAtCharacter(const std::string& text, int bytes) {
  if (static_cast<int>(text.size()) <= bytes) return text;
  return text.substr(0, SjisPrefixLength(text.c_str(), bytes, bytes));
}

// The line of `text` starting at `from` (without CR or LF) and where the
// next begins.
std::string_view LineAt(std::string_view text, size_t from, size_t* next) {
  size_t end = text.find('\n', from);
  if (end == std::string_view::npos) end = text.size();
  *next = end + 1;
  std::string_view line = text.substr(from, end - from);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// The comma-separated fields of one line; quotes protect commas.
bool SplitTwoFields(std::string_view line, std::string& first, std::string& second) {
  const std::string text(line);
  std::string fields[2];
  CsvCursor cursor;
  std::string buffer(text.size() + 1, '\0');
  int rc = 0;
  for (int i = 0; i < 2 && rc >= 0; ++i) {
    rc = NextCsvTokenWith(cursor, buffer.data(), static_cast<int>(text.size()), text.c_str());
    fields[i] = buffer.c_str();
  }
  first = fields[0];
  second = fields[1];
  return !text.empty();
}

}  // namespace

CommandLineRequest ParseCommandLine(const char* text) {
  CommandLineRequest request;
  if (!text) return request;
  // Options: "/" starts option mode, a blank ends it; "2H" there takes up to
  // two digits up to a blank or the end.
  bool option = false;
  for (const char* p = text; *p; p += SjisCharLength(p)) {
    if (*p == '/') {
      option = true;
    } else if (*p == ' ') {
      option = false;
    } else if (option && p[0] == '2' && (p[1] == 'H' || p[1] == 'h')) {
      int size = 0;
      int digits = 0;
      const char* q = p + 2;
      while (digits < 2 && *q >= '0' && *q <= '9') {
        size = size * 10 + (*q - '0');
        ++q;
        ++digits;
      }
      request.markSize = size;
    }
  }
  // The name: every character met outside option mode, blanks dropped.
  bool plain = true;
  for (const char* p = text; *p;) {
    const int length = SjisCharLength(p);
    if (*p == '/') {
      plain = false;
    } else if (*p == ' ') {
      plain = true;
    } else if (plain) {
      request.definition.append(p, length);
    }
    p += length;
  }
  return request;
}

DefinitionPlace PlaceNamedDefinition(const std::string& argument, const std::string& programFolder) {
  DefinitionPlace place;
  std::string buffer(argument.size() + 1, '\0');
  const bool path = (argument.size() > 1 && argument[1] == ':') || (!argument.empty() && argument[0] == '\\');
  if (path) {
    GetDirectoryPart(buffer.data(), argument.c_str());
    place.folder = buffer.c_str();
  } else {
    place.folder = programFolder + "\\teigi";
  }
  GetFileBaseName(buffer.data(), argument.c_str());
  place.name = buffer.c_str();
  return place;
}

std::string ProgramFolderFromCommandLine(const char* commandLine) {
  std::string program;
  bool quoted = false;
  for (const char* p = commandLine ? commandLine : ""; *p; p += SjisCharLength(p)) {
    if (*p == '"') {
      quoted = !quoted;
      continue;
    }
    if (*p == ' ' && !quoted) break;
    program.append(p, SjisCharLength(p));
  }
  std::string folder(program.size() + 1, '\0');
  GetDirectoryPart(folder.data(), program.c_str());
  return folder.c_str();
}

int WindowsVersionClass(int platform, int major, int minor) {
  struct Version {
    int platform, major, minor, versionClass;
  };
  static const Version kVersions[] = {
      {1, 4, 0, 1}, {1, 4, 10, 2}, {1, 4, 90, 3}, {2, 4, 0, 4}, {2, 5, 0, 5},
      {2, 5, 1, 6}, {2, 6, 0, 7}, {2, 6, 1, 8}, {2, 6, 2, 9},
  };
  for (const Version& v : kVersions) {
    if (v.platform == platform && v.major == major && v.minor == minor) return v.versionClass;
  }
  return 10;
}

WorkFolders PlanWorkFolders(const std::string& currentFolder, char windowsDrive) {
  WorkFolders folders;
  folders.network = currentFolder.compare(0, 2, "\\\\") == 0;
  if (folders.network) {
    folders.work = std::string(1, windowsDrive) + ":\\KqQuest";
  } else {
    folders.work = currentFolder;
  }
  folders.image = folders.work + "\\image";
  folders.log = folders.work + "\\log";
  return folders;
}

ServerChoice ParseServerList(std::string_view text) {
  ServerChoice choice;
  size_t next = 0;
  for (size_t at = 0; at < text.size(); at = next) {
    const std::string_view line = LineAt(text, at, &next);
    std::string kind, server;
    if (!SplitTwoFields(line, kind, server)) continue;
    // The kind is one character; anything but the server reads as the file
    // database.
    const char k = kind.empty() ? '1' : kind[0];
    choice.kind = k == '2' || k == '3' ? 2 : 1;
    choice.server = CutAtCharacter(server, kMaxServerName);
  }
  return choice;
}

std::string FormatServerList(const ServerChoice& choice) {
  return std::to_string(choice.kind) + "," + CutAtCharacter(choice.server, kMaxServerName) + "\r\n";
}

bool ParseDefinitionPath(std::string_view text, std::string& folder, std::string& name) {
  size_t next = 0;
  const std::string_view line = LineAt(text, 0, &next);
  if (text.empty()) return false;
  std::string f, n;
  SplitTwoFields(line, f, n);
  folder = CutAtCharacter(f, kMaxDefinitionPart);
  name = CutAtCharacter(n, kMaxDefinitionPart);
  return true;
}

std::string FormatDefinitionPath(const std::string& folder, const std::string& name) {
  return folder + "," + name + "\r\n";
}

std::string FormatTitleLine(const char* titleWord, const char* version, const std::string& folder,
                            const std::string& name) {
  std::string title = std::string(titleWord) + " " + version + " ";
  if (!folder.empty() || !name.empty()) {
    title += kOpenBracket + folder + "\\" + name + kCloseBracket;
  }
  return title;
}

std::string ResolveOutputPath(const std::string& stored, const std::string& baseFolder,
                              bool* madeDefault) {
  const bool isPath = ContainsChar(stored.c_str(), '\\') != 0;
  *madeDefault = !isPath;
  if (isPath) return stored;
  return baseFolder + "\\data\\" + (stored.empty() ? std::string("OCRDBS.MDB") : stored);
}

bool LoginNeeded(int outputDbKind, int passwordSetting) {
  return outputDbKind != 1 || passwordSetting == 2;
}

std::string FormatReadingTime(int count, std::uint32_t startMs, std::uint32_t endMs) {
  const std::uint32_t elapsed = endMs - startMs;  // modulo 2^32: a wrapped counter too
  const long long seconds = (static_cast<long long>(elapsed) + 500) / 1000;
  // Tenths of a second a sheet, halves upward.
  const long long tenths = count > 0 ? (seconds * 20 + count) / (2LL * count) : 0;
  char text[160];
  // "登録件数：%d件 ／ %d分%d秒 (%d秒) ／ %lld.%lld秒/１件"
  std::snprintf(text, sizeof text,
                "\x93\x6f\x98\x5e\x8c\x8f\x90\x94\x81\x46%d\x8c\x8f \x81\x5e %lld\x95\xaa%lld\x95\x62"
                " (%lld\x95\x62) \x81\x5e %lld.%lld\x95\x62/\x82\x50\x8c\x8f",
                count, seconds / 60, seconds % 60, seconds, tenths / 10, tenths % 10);
  return text;
}
