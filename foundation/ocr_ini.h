// The connection, font and colour settings of "OCR.INI": the record, its
// defaults, the line reader and the rules that turn a configured path into
// the default database folder. Free of Windows calls: the database layer
// reads the file and hands in the program folder.
#pragma once

// Room of every text setting (terminator included); longer values are cut at
// a character boundary.
constexpr int kIniTextSize = 128;
// Room of the folder settings: a whole Windows path (MAX_PATH), so that a
// database folder is never cut into the name of another.
constexpr int kIniPathSize = 260;

// Database kinds: the file database, the server database, no database at all
// (every operation succeeds without touching anything) and a data source
// named by the database.
constexpr int kDbKindFile = 1;
constexpr int kDbKindServer = 2;
constexpr int kDbKindNone = 3;
constexpr int kDbKindDataSource = 4;

struct OcrIniSettings {
  char serverName[kIniTextSize];    // SERVER; "LOCAL" is kept empty
  char loginUser[kIniTextSize];     // LOGUSER
  char loginPassword[kIniTextSize]; // LOGPASS
  char cmiDbName[kIniTextSize];     // CMIDBS alias
  char sfaDbName[kIniTextSize];     // SFADBS alias
  char plnDbName[kIniTextSize];     // PLNDBS alias
  char omrDbName[kIniTextSize];     // OMRDBS alias
  char dbDevice[kIniTextSize];      // DBSDEV
  char logDevice[kIniTextSize];     // LOGDEV
  int debugLevel;                   // DEBUG: 0, 1 or 2
  int entryFlag;                    // KQENTRY
  int serverVersion;                // MSSQLVER; 7 after reading
  char useText[kIniTextSize];       // USE
  int printFlag;                    // PRN
  char drive[kIniTextSize];         // DRV
  char dbPath[kIniPathSize];        // DBPATH
  int defaultDbKind;                // SQL: 1, 2, 3 or 4
  int editorFlag;                   // CTREDT
  int editFontFlag;                 // EDTFONT
  int buttonFontFlag;               // BUTFONT
  int titleColor;                   // stays 38
  char dbFolder[kIniPathSize];      // the default database folder (derived)
  // DBPATH, or the folder made of it, was longer than kIniPathSize allows:
  // both stay empty (ReadOcrIni tells the operator).
  int dbFolderTooLong;
};

// The defaults of every setting; the default folder is left empty.
void SetOcrIniDefaults(OcrIniSettings& settings);

// Applies one line of the file (line ends included or not). Keys are matched
// case-sensitively at the start of the line in a fixed order, first match
// wins; a line starting with ":" is a comment; other lines change nothing.
void ApplyOcrIniLine(OcrIniSettings& settings, const char* line);

// Reads the file at `path` line by line (4096 bytes a line) into `settings`,
// which must hold the defaults already, then derives the default folder from
// `programFolder` and sets the server version to 7. A missing file leaves the
// defaults and is no failure. Returns 0.
int ReadOcrIniFile(const char* path, const char* programFolder, OcrIniSettings& settings);

// The default database folder from a configured path (the DBPATH rules):
// "D:DATA" gives "D:\DATA"; a network path or "D:\..." stays as it is; "\X"
// gets the drive of the program folder, any other text the drive and "\";
// "." and ".\X" name the program folder and a folder in it. An empty path gives the DRV / "Prjdbs" rule. `programFolder` is a drive
// path ("C:\APP") or a network path ("\\server\share\APP"). Writes at most
// kIniPathSize bytes into `out`: 0, or -1 when the folder is longer (then
// `out` is left empty rather than holding a part of the path).
int BuildDbFolder(char* out, const char* path, const char* drive, const char* programFolder);
