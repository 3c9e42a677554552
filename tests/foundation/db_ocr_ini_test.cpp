#include "foundation/ocr_ini.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace {

OcrIniSettings Defaults() {
  OcrIniSettings s;
  SetOcrIniDefaults(s);
  return s;
}

// Reads `text` as the file and returns the settings.
OcrIniSettings ReadText(const std::string& text, const char* programFolder = "C:\\APP") {
  const std::string path = testing::TempDir() + "ocr_ini_test.ini";
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  OcrIniSettings s = Defaults();
  ReadOcrIniFile(path.c_str(), programFolder, s);
  std::remove(path.c_str());
  return s;
}

TEST(OcrIni, DefaultsWithoutFile) {
  OcrIniSettings s = Defaults();
  EXPECT_EQ(ReadOcrIniFile("no-such-dir/OCR.INI", "D:\\KQ", s), 0);
  EXPECT_STREQ(s.dbDevice, "dbsdev");
  EXPECT_STREQ(s.logDevice, "logdev");
  EXPECT_EQ(s.defaultDbKind, kDbKindFile);
  EXPECT_EQ(s.buttonFontFlag, 1);
  EXPECT_EQ(s.editFontFlag, 0);
  EXPECT_EQ(s.titleColor, 38);
  EXPECT_EQ(s.serverVersion, 7);
  EXPECT_STREQ(s.dbFolder, "D:\\Prjdbs");
}

TEST(OcrIni, ReadsKeysAtTheirColumns) {
  const OcrIniSettings s = ReadText(
      "SERVER dbhost:5433\r\n"
      "LOGUSER operator\r\n"
      "LOGPASS se'cret\r\n"
      "OMRDBS=OUTDB\r\n"
      "DBSDEV dev1\n"
      "DEBUG 2\n"
      "KQENTRY 1\n"
      "MSSQLVER 6\n"
      "USE x\n"
      "PRN 1\n"
      "SQL MSSQL\n"
      "CTREDT 1\n"
      "EDTFONT M\n"
      "BUTFONT M\n"
      "TTLCOLOR 12\n"
      "DBPATH D:DATA");  // the last line has no line feed: nothing of it is lost
  EXPECT_STREQ(s.serverName, "dbhost:5433");
  EXPECT_STREQ(s.loginUser, "operator");
  EXPECT_STREQ(s.loginPassword, "se'cret");
  EXPECT_STREQ(s.omrDbName, "OUTDB");
  EXPECT_STREQ(s.dbDevice, "dev1");
  EXPECT_EQ(s.debugLevel, 2);
  EXPECT_EQ(s.entryFlag, 1);
  EXPECT_EQ(s.serverVersion, 7);
  EXPECT_STREQ(s.useText, "x");
  EXPECT_EQ(s.printFlag, 1);
  EXPECT_EQ(s.defaultDbKind, kDbKindServer);
  EXPECT_EQ(s.editorFlag, 1);
  EXPECT_EQ(s.editFontFlag, 0);
  EXPECT_EQ(s.buttonFontFlag, 0);
  EXPECT_EQ(s.titleColor, 38);
  EXPECT_STREQ(s.dbPath, "D:DATA");
  EXPECT_STREQ(s.dbFolder, "D:\\DATA");
}

TEST(OcrIni, LinesThatChangeNothingOrLittle) {
  struct Case {
    const char* what;
    const char* text;
    const char* server;
    int kind;
  };
  const Case cases[] = {
      {"LOCAL is no server", "SERVER LOCAL\n", "", kDbKindFile},
      {"comment with a key", ":SERVER x\n", "", kDbKindFile},
      {"key in lower case", "server x\n", "", kDbKindFile},
      {"short line", "SERVER\n", "", kDbKindFile},
      {"DBLIB is no database", "SQL DBLIB\n", "", kDbKindNone},
      {"SBANY is a data source", "SQL SBANY\n", "", kDbKindDataSource},
      {"other word", "SQL ODBC\n", "", kDbKindFile},
      {"a later line overrides", "SERVER a\nSERVER b\n", "b", kDbKindFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const OcrIniSettings s = ReadText(c.text);
    EXPECT_STREQ(s.serverName, c.server);
    EXPECT_EQ(s.defaultDbKind, c.kind);
  }
}

TEST(OcrIni, ValuesKeepWholeCharacters) {
  // "表" is 0x95 0x5C: its trail byte is a backslash and must stay.
  EXPECT_STREQ(ReadText("DBSDEV \x95\x5c\r\n").dbDevice, "\x95\x5c");
  // A value cut inside a double-byte character drops its lead byte.
  EXPECT_STREQ(ReadText("DBSDEV ab\x95").dbDevice, "ab");
  // A value longer than a setting is cut.
  const OcrIniSettings s = ReadText("DBSDEV " + std::string(300, 'x') + "\n");
  EXPECT_EQ(std::string(s.dbDevice), std::string(kIniTextSize - 1, 'x'));
}

TEST(OcrIni, IgnoresTheRestOfAnOverlongLine) {
  // A line longer than 4096 bytes must not be read as a second line.
  const OcrIniSettings s = ReadText("USE " + std::string(5000, 'a') + "SERVER bad\nLOGUSER ok\n");
  EXPECT_STREQ(s.serverName, "");
  EXPECT_STREQ(s.loginUser, "ok");
}

TEST(OcrIni, DefaultFolderRules) {
  struct Case {
    const char* what;
    const char* path;
    const char* drive;
    const char* program;
    const char* folder;
  };
  const Case cases[] = {
      {"drive without backslash", "D:DATA", "", "C:\\APP", "D:\\DATA"},
      {"full drive path", "E:\\DB\\X", "", "C:\\APP", "E:\\DB\\X"},
      {"network path", "\\\\srv\\share\\db", "", "C:\\APP", "\\\\srv\\share\\db"},
      {"rooted path", "\\DB", "", "C:\\APP", "C:\\DB"},
      {"relative path", "DB", "", "C:\\APP", "C:\\DB"},
      {"relative to a network program", "DB", "", "\\\\srv\\share\\APP\\BIN", "\\\\srv\\share\\DB"},
      {"the program folder", ".", "", "Z:\\opt\\kq", "Z:\\opt\\kq"},
      {"a folder in the program folder", ".\\data", "", "C:\\APP", "C:\\APP\\data"},
      {"DRV letter", "", "d", "C:\\APP", "D:\\Prjdbs"},
      {"DRV with colon and backslash", "", "E:\\", "C:\\APP", "E:\\Prjdbs"},
      {"DRV network share", "", "\\\\srv\\share", "C:\\APP", "\\\\srv\\share\\Prjdbs"},
      {"program drive", "", "", "F:\\KQ\\BIN", "F:\\Prjdbs"},
      {"network program", "", "", "\\\\srv\\share\\KQ\\BIN", "\\\\srv\\share\\Prjdbs"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    char folder[kIniTextSize];
    BuildDbFolder(folder, c.path, c.drive, c.program);
    EXPECT_STREQ(folder, c.folder);
  }
}


// Folders are kept whole up to a Windows path, Japanese names too; one
// that would not fit is refused, never cut into the name of another folder.
TEST(OcrIni, DatabaseFoldersAreKeptWholeOrRefused) {
  const std::string japanese = "データ\\調査フォルダ";  // double-byte names around the separators
  const std::string deep = "D:\\" + std::string(180, 'x') + "\\" + japanese;
  const std::string longProgram = "C:\\" + std::string(200, 'p');
  struct Case {
    const char* what;
    std::string line;
    std::string program;
    std::string folder;
    int tooLong;
  };
  const Case cases[] = {
      {"a deep folder", "DBPATH " + deep + "\r\n", "C:\\APP", deep, 0},
      {"beside a long program folder", "DBPATH .\\" + japanese + "\r\n", longProgram,
       longProgram + "\\" + japanese, 0},
      {"longer than a path", "DBPATH D:\\" + std::string(300, 'y') + "\r\n", "C:\\APP", "", 1},
      {"made too long by the program folder", "DBPATH .\\" + std::string(100, 'z') + "\r\n", longProgram, "",
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const OcrIniSettings s = ReadText(c.line, c.program.c_str());
    EXPECT_EQ(std::string(s.dbFolder), c.folder);
    EXPECT_EQ(s.dbFolderTooLong, c.tooLong);
  }
  char out[kIniPathSize] = "unchanged";
  EXPECT_EQ(BuildDbFolder(out, ("D:\\" + std::string(kIniPathSize, 'w')).c_str(), "", "C:\\APP"), -1);
  EXPECT_STREQ(out, "");
}

}  // namespace
