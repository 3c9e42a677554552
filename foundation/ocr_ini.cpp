// Reading of "OCR.INI": fixed-column keys, one per line, first match wins.
#include "foundation/ocr_ini.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/bounded_format.h"
#include "foundation/sjis_text.h"

namespace {

constexpr int kIniLineSize = 4096;

// Copies `length` bytes of `text` as a setting: cut to the room of a setting
// and never ending inside (or with the lead byte of) a double-byte character.
void CopySetting(char* out, int room, const char* text, int length) {
  if (length > room - 1) length = room - 1;
  length = CharBoundaryLength(text, length);
  std::memcpy(out, text, length);
  out[length] = '\0';
}

// The text of a line from 1-based `column` to its end, without CR and LF.
std::string ValueFrom(const char* line, int column) {
  const size_t length = std::strlen(line);
  if (length < static_cast<size_t>(column)) return std::string();
  std::string value(line + column - 1);
  while (!value.empty() && (value.back() == '\n' || value.back() == '\r')) value.pop_back();
  return value;
}

char CharAt(const char* line, int column) {
  return column >= 1 && std::strlen(line) >= static_cast<size_t>(column) ? line[column - 1] : '\0';
}

void SetDebug(OcrIniSettings& s, char c) {
  if (c == '1') s.debugLevel = 1;
  if (c == '2') s.debugLevel = 2;
}
void SetEntry(OcrIniSettings& s, char c) {
  if (c == '1') s.entryFlag = 1;
}
void SetServerVersion(OcrIniSettings& s, char c) {
  if (c == '7') s.serverVersion = 7;
}
void SetPrint(OcrIniSettings& s, char c) {
  if (c == '1') s.printFlag = 1;
}
void SetEditor(OcrIniSettings& s, char c) {
  if (c == '1') s.editorFlag = 1;
}
void SetEditFont(OcrIniSettings& s, char c) { s.editFontFlag = c == 'M' ? 0 : 1; }
void SetButtonFont(OcrIniSettings& s, char c) { s.buttonFontFlag = c == 'M' ? 0 : 1; }
void KeepTitleColor(OcrIniSettings&, char) {}

// One key: a text setting (text != nullptr), a flag read from one column,
// a folder setting (path != nullptr) or the dialect word of SQL (none).
struct IniKey {
  const char* word;
  int column;
  char (OcrIniSettings::*text)[kIniTextSize];
  void (*flag)(OcrIniSettings&, char);
  char (OcrIniSettings::*path)[kIniPathSize] = nullptr;
};

// In the order in which a line is tested.
const IniKey kIniKeys[] = {
    {"SERVER", 8, &OcrIniSettings::serverName, nullptr},
    {"LOGPASS", 9, &OcrIniSettings::loginPassword, nullptr},
    {"LOGUSER", 9, &OcrIniSettings::loginUser, nullptr},
    {"CMIDBS", 8, &OcrIniSettings::cmiDbName, nullptr},
    {"SFADBS", 8, &OcrIniSettings::sfaDbName, nullptr},
    {"PLNDBS", 8, &OcrIniSettings::plnDbName, nullptr},
    {"OMRDBS", 8, &OcrIniSettings::omrDbName, nullptr},
    {"DBSDEV", 8, &OcrIniSettings::dbDevice, nullptr},
    {"LOGDEV", 8, &OcrIniSettings::logDevice, nullptr},
    {"DEBUG", 7, nullptr, SetDebug},
    {"KQENTRY", 9, nullptr, SetEntry},
    {"MSSQLVER", 10, nullptr, SetServerVersion},
    {"USE", 5, &OcrIniSettings::useText, nullptr},
    {"PRN", 5, nullptr, SetPrint},
    {"DRV", 5, &OcrIniSettings::drive, nullptr},
    {"DBPATH", 8, nullptr, nullptr, &OcrIniSettings::dbPath},
    {"SQL", 5, nullptr, nullptr},
    {"CTREDT", 8, nullptr, SetEditor},
    {"EDTFONT", 9, nullptr, SetEditFont},
    {"BUTFONT", 9, nullptr, SetButtonFont},
    {"TTLCOLOR", 0, nullptr, KeepTitleColor},
};

int DbKindFromWord(const std::string& value) {
  const std::string word = value.substr(0, 5);
  if (word == "MSSQL") return kDbKindServer;
  if (word == "DBLIB") return kDbKindNone;
  if (word == "SBANY") return kDbKindDataSource;
  return kDbKindFile;
}

bool EndsWithBackslash(const std::string& text) {
  bool last = false;
  for (size_t i = 0; i < text.size(); i += SjisCharLength(text.c_str() + i)) {
    last = text[i] == '\\';
  }
  return last;
}

// "C:" of a drive folder, "\\server\share" of a network folder.
std::string FolderRoot(const char* programFolder) {
  const std::string folder = programFolder;
  if (folder.compare(0, 2, "\\\\") != 0) return folder.substr(0, 2);
  int backslashes = 0;
  for (size_t i = 0; i < folder.size(); i += SjisCharLength(folder.c_str() + i)) {
    if (folder[i] == '\\' && ++backslashes == 4) return folder.substr(0, i);
  }
  return folder;
}

}  // namespace

void SetOcrIniDefaults(OcrIniSettings& settings) {
  settings = OcrIniSettings{};
  std::strcpy(settings.dbDevice, "dbsdev");
  std::strcpy(settings.logDevice, "logdev");
  settings.defaultDbKind = kDbKindFile;
  settings.buttonFontFlag = 1;
  settings.titleColor = 38;
}

void ApplyOcrIniLine(OcrIniSettings& settings, const char* line) {
  if (line[0] == ':') return;
  for (const IniKey& key : kIniKeys) {
    if (std::strncmp(line, key.word, std::strlen(key.word)) != 0) continue;
    if (key.path) {
      // A folder cut short would name another folder: a long one is refused.
      const std::string value = ValueFrom(line, key.column);
      const bool fits = value.size() < static_cast<size_t>(kIniPathSize);
      CopySetting(settings.*key.path, kIniPathSize, value.c_str(), fits ? static_cast<int>(value.size()) : 0);
      settings.dbFolderTooLong = fits ? 0 : 1;
    } else if (key.text) {
      const std::string value = ValueFrom(line, key.column);
      char* out = settings.*key.text;
      CopySetting(out, kIniTextSize, value.c_str(), static_cast<int>(value.size()));
      if (key.text == &OcrIniSettings::serverName && std::strcmp(out, "LOCAL") == 0) out[0] = '\0';
    } else if (key.flag) {
      key.flag(settings, CharAt(line, key.column));
    } else {
      settings.defaultDbKind = DbKindFromWord(ValueFrom(line, key.column));
    }
    return;
  }
}

int ReadOcrIniFile(const char* path, const char* programFolder, OcrIniSettings& settings) {
  if (FILE* file = std::fopen(path, "rb")) {
    char line[kIniLineSize + 1];
    bool continuation = false;  // the rest of a line longer than the limit
    while (std::fgets(line, sizeof line, file)) {
      const bool complete = std::strchr(line, '\n') != nullptr;
      if (!continuation) ApplyOcrIniLine(settings, line);
      continuation = !complete;
    }
    std::fclose(file);
  }
  if (settings.dbFolderTooLong ||
      BuildDbFolder(settings.dbFolder, settings.dbPath, settings.drive, programFolder) != 0) {
    settings.dbFolder[0] = '\0';
    settings.dbFolderTooLong = 1;
  }
  settings.serverVersion = 7;
  return 0;
}

int BuildDbFolder(char* out, const char* path, const char* drive, const char* programFolder) {
  std::string folder;
  const std::string p = path;
  if (p == "." || p.compare(0, 2, ".\\") == 0) {
    // Written relative to the program folder: an installation that is
    // copied or moved takes its databases along.
    folder = std::string(programFolder) + p.substr(1);
  } else if (!p.empty()) {
    if (p.size() >= 2 && p[1] == ':' && (p.size() < 3 || p[2] != '\\')) {
      folder = p.substr(0, 2) + "\\" + p.substr(2);
    } else if (p.compare(0, 2, "\\\\") == 0 || (p.size() >= 3 && p[1] == ':')) {
      folder = p;
    } else if (p[0] == '\\') {
      folder = FolderRoot(programFolder) + p;
    } else {
      folder = FolderRoot(programFolder) + "\\" + p;
    }
  } else {
    std::string root = drive;
    if (root.empty()) {
      root = FolderRoot(programFolder);
    } else if (root.size() == 1 && std::isalpha(static_cast<unsigned char>(root[0]))) {
      root = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])))) + ":";
    }
    if (!EndsWithBackslash(root)) root += "\\";
    folder = root + "Prjdbs";
  }
  if (folder.size() >= static_cast<size_t>(kIniPathSize)) {
    out[0] = '\0';
    return -1;
  }
  CopySetting(out, kIniPathSize, folder.c_str(), static_cast<int>(folder.size()));
  return 0;
}
