// The shell's text rules: command line, version class, the settings files,
// title line, output path, login rule and the reading-time message.
#include "shell/shell_text.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, TakesTheMarkSizeAndTheDefinition) {
  struct Case {
    const char* what;
    const char* line;
    int markSize;
    const char* definition;
  };
  const Case cases[] = {
      {"option then name", "/2H12 ABC", 12, "ABC"},
      {"lower-case option", "/2h5", 5, ""},
      {"at most two digits", "/2H123 X", 12, "X"},
      {"options only", "/2H7", 7, ""},
      {"other options are dropped", "/X /2H8 NAME", 8, "NAME"},
      {"blanks dropped", "D:\\A B\\C", 0, "D:\\AB\\C"},
      {"name before the option", "SHEET /2H10", 10, "SHEET"},
      // 表 ends in 0x5C and ソ in 0x5C: neither is a path separator or a slash.
      {"double-byte name", "\x95\x5c\x83\x5c", 0, "\x95\x5c\x83\x5c"},
      {"empty", "", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const CommandLineRequest request = ParseCommandLine(c.line);
    EXPECT_EQ(request.markSize, c.markSize);
    EXPECT_EQ(request.definition, c.definition);
  }
}

TEST(CommandLine, PlacesTheNamedDefinition) {
  struct Case {
    const char* what;
    const char* argument;
    const char* folder;
    const char* name;
  };
  const Case cases[] = {
      {"plain name in teigi", "ABC", "C:\\KQ\\teigi", "ABC"},
      {"drive path", "D:\\SHEETS\\Q1.mdb", "D:\\SHEETS", "Q1"},
      {"root path", "\\SHEETS\\Q2", "\\SHEETS", "Q2"},
      {"relative path is a name", "SUB\\Q3", "C:\\KQ\\teigi", "Q3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const DefinitionPlace place = PlaceNamedDefinition(c.argument, "C:\\KQ");
    EXPECT_EQ(place.folder, c.folder);
    EXPECT_EQ(place.name, c.name);
  }
}

TEST(CommandLine, FindsTheProgramFolder) {
  EXPECT_EQ(ProgramFolderFromCommandLine("C:\\KQ\\sheetdesk.exe /2H12 ABC"), "C:\\KQ");
  EXPECT_EQ(ProgramFolderFromCommandLine("\"C:\\Program Files\\KQ\\sheetdesk.exe\" ABC"),
            "C:\\Program Files\\KQ");
  EXPECT_EQ(ProgramFolderFromCommandLine("sheetdesk.exe"), "");
}

TEST(WindowsVersion, ClassesTheVersions) {
  struct Case {
    int platform, major, minor, versionClass;
  };
  const Case cases[] = {
      {1, 4, 0, 1}, {1, 4, 10, 2}, {1, 4, 90, 3}, {2, 4, 0, 4}, {2, 5, 0, 5}, {2, 5, 1, 6},
      {2, 6, 0, 7}, {2, 6, 1, 8}, {2, 6, 2, 9}, {2, 6, 3, 10}, {2, 10, 0, 10}, {1, 5, 0, 10},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WindowsVersionClass(c.platform, c.major, c.minor), c.versionClass)
        << c.platform << " " << c.major << "." << c.minor;
  }
}

TEST(WorkFolders, ANetworkStartWorksOnTheStation) {
  const WorkFolders local = PlanWorkFolders("D:\\KQ", 'C');
  EXPECT_FALSE(local.network);
  EXPECT_EQ(local.work, "D:\\KQ");
  EXPECT_EQ(local.image, "D:\\KQ\\image");
  EXPECT_EQ(local.log, "D:\\KQ\\log");
  const WorkFolders network = PlanWorkFolders("\\\\server\\share\\KQ", 'E');
  EXPECT_TRUE(network.network);
  EXPECT_EQ(network.work, "E:\\KqQuest");
  EXPECT_EQ(network.image, "E:\\KqQuest\\image");
  EXPECT_EQ(network.log, "E:\\KqQuest\\log");
}

TEST(ServerList, ReadsTheKindAndTheServer) {
  struct Case {
    const char* what;
    const char* text;
    int kind;
    const char* server;
  };
  const Case cases[] = {
      {"no file", "", 1, ""},
      {"file database", "1,\r\n", 1, ""},
      {"server", "2,dbhost:5432\r\n", 2, "dbhost:5432"},
      {"older versions' server kind", "3,SRV\n", 2, "SRV"},
      {"the last line wins", "2,A\r\n1,\r\n2,B\r\n", 2, "B"},
      {"unknown kind", "7,SRV\n", 1, "SRV"},
      {"no line end", "2,SRV", 2, "SRV"},
      {"server cut at 40 bytes", "2,0123456789012345678901234567890123456789XYZ\n", 2,
       "0123456789012345678901234567890123456789"},
      // A double-byte character that would cross the 40th byte is left out.
      {"cut at a character", "2,012345678901234567890123456789012345678\x95\x5c\n", 2,
       "012345678901234567890123456789012345678"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ServerChoice choice = ParseServerList(c.text);
    EXPECT_EQ(choice.kind, c.kind);
    EXPECT_EQ(choice.server, c.server);
  }
}

TEST(ServerList, WritesWhatItReads) {
  for (const ServerChoice& choice : {ServerChoice{1, ""}, ServerChoice{2, "127.0.0.1:55432"}}) {
    const std::string line = FormatServerList(choice);
    EXPECT_EQ(line.back(), '\n');
    const ServerChoice back = ParseServerList(line);
    EXPECT_EQ(back.kind, choice.kind);
    EXPECT_EQ(back.server, choice.server);
  }
}

TEST(DefinitionPath, ReadsTheFolderAndTheName) {
  std::string folder, name;
  EXPECT_FALSE(ParseDefinitionPath("", folder, name));
  ASSERT_TRUE(ParseDefinitionPath(FormatDefinitionPath("C:\\KQ\\teigi", "Q1"), folder, name));
  EXPECT_EQ(folder, "C:\\KQ\\teigi");
  EXPECT_EQ(name, "Q1");
  ASSERT_TRUE(ParseDefinitionPath("D:\\A\n", folder, name));
  EXPECT_EQ(folder, "D:\\A");
  EXPECT_EQ(name, "");
  // A folder deep below its drive stays whole; only more than a path can
  // hold is cut.
  const std::string deepFolder = "Z:\\" + std::string(200, 'F') + "\\\x95\\\x83\\";  // 表ソ
  ASSERT_TRUE(ParseDefinitionPath(deepFolder + ",N\r\n", folder, name));
  EXPECT_EQ(folder, deepFolder);
  EXPECT_EQ(name, "N");
  ASSERT_TRUE(ParseDefinitionPath(std::string(300, 'F') + ",N\r\n", folder, name));
  EXPECT_EQ(folder.size(), 259u);
}

TEST(TitleLine, NamesTheDefinition) {
  EXPECT_EQ(FormatTitleLine("KQ", "14.5", "C:\\KQ\\teigi", "Q1"), "KQ 14.5 \x81\x6b" "C:\\KQ\\teigi\\Q1\x81\x6c");
  EXPECT_EQ(FormatTitleLine("KQ", "14.5", "", ""), "KQ 14.5 ");
}

TEST(OutputPath, LiesInTheDataFolderOfTheProgram) {
  struct Case {
    const char* what;
    const char* stored;
    const char* base;
    const char* path;
    bool made;
  };
  const Case cases[] = {
      {"a path stays", "D:\\OUT\\RESULTS.MDB", "C:\\KQ", "D:\\OUT\\RESULTS.MDB", false},
      {"a plain name", "RESULTS.MDB", "C:\\KQ", "C:\\KQ\\data\\RESULTS.MDB", true},
      {"deep program folder", "RESULTS.MDB", "C:\\APPS\\KQ\\BIN", "C:\\APPS\\KQ\\BIN\\data\\RESULTS.MDB", true},
      {"no name", "", "C:\\APPS\\KQ", "C:\\APPS\\KQ\\data\\OCRDBS.MDB", true},
      // 表 ends in the byte of "\": still a plain name.
      {"double-byte name", "\x95\x5c.MDB", "C:\\KQ", "C:\\KQ\\data\\\x95\x5c.MDB", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    bool made = false;
    EXPECT_EQ(ResolveOutputPath(c.stored, c.base, &made), c.path);
    EXPECT_EQ(made, c.made);
  }
}

TEST(Login, IsAskedForTheServerAndProtectedFiles) {
  EXPECT_FALSE(LoginNeeded(1, 1));
  EXPECT_TRUE(LoginNeeded(1, 2));
  EXPECT_TRUE(LoginNeeded(2, 1));
  EXPECT_TRUE(LoginNeeded(2, 2));
}

TEST(ReadingTime, RoundsHalvesUpward) {
  struct Case {
    const char* what;
    int count;
    std::uint32_t start, end;
    const char* seconds;  // "%d分%d秒 (%d秒) ／ %.1f秒/１件" part
  };
  const Case cases[] = {
      {"half a second up", 1, 0, 1500, "0\x95\xaa" "2\x95\x62 (2\x95\x62) \x81\x5e 2.0"},
      {"below half down", 3, 1000, 2499, "0\x95\xaa" "1\x95\x62 (1\x95\x62) \x81\x5e 0.3"},
      {"minutes", 4, 0, 125000, "2\x95\xaa" "5\x95\x62 (125\x95\x62) \x81\x5e 31.3"},
      {"a wrapped counter", 1, 0xFFFFFC18u, 2000, "0\x95\xaa" "3\x95\x62 (3\x95\x62) \x81\x5e 3.0"},
      {"no sheet", 0, 0, 10000, "0\x95\xaa" "10\x95\x62 (10\x95\x62) \x81\x5e 0.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string text = FormatReadingTime(c.count, c.start, c.end);
    EXPECT_NE(text.find(c.seconds), std::string::npos) << text;
    EXPECT_EQ(text.find(std::to_string(c.count) + "\x8c\x8f"), 10u) << "count after 登録件数：";
  }
}

}  // namespace
