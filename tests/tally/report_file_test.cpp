// Reports written to a text file (mode 2): the bytes of the CSV lines, the
// last line flushed at the end, the file closed, and the files that cannot
// be written.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tally/tally.h"
#include "tests/support/hook_recorder.h"

namespace {

std::string TempPath(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  return std::string(folder) + name;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void DescribePage() { BeginReportOutput(nullptr, 2, 1, 10, 10, 10); }

TEST(ReportTextFile, CellsBecomeCsvLinesThatReadBack) {
  const std::string path = TempPath("report_cells.csv");
  {
    std::ofstream old(path, std::ios::binary);
    old << "an older, longer file that the job replaces\r\n";
  }
  DescribePage();
  ASSERT_EQ(StartPrintJobDefault(2, path.c_str()), 1);
  ReportPrintCell("%s", " 質問,1 ");
  ReportPrintCell("%d", 12);
  ReportPrintCell("%s", "a\"b");
  ReportPrintCellWidth(6, "%5.1f", 12.5);
  ReportCsvCell(0, "%s", "x,y");
  ReportCsvCell(1, "%s", "表");
  EXPECT_EQ(AdvanceReportLine(1), 1);
  AdvanceReportLine(1);  // an empty line writes nothing
  ReportPrintWrappedList(2, 10, "%s", "one,two");
  ReportPrintCell("%s", "ソ");
  EndPrintJob();  // the last line was not ended by the caller

  const std::string expected =
      "\"質問,1\",12,\"a\"\"b\",12.5,\"x,y\",\"表\"\r\n"
      "\"one,two\",\"ソ\"\r\n";
  EXPECT_EQ(ReadBytes(path), expected);

  // Read back through the program's own splitter, line by line.
  std::istringstream lines(expected);
  std::string line;
  std::getline(lines, line);
  std::vector<std::string> cells;
  char cell[64];
  int rc;
  ResetCsvFieldSplitter();
  do {
    rc = SplitCsvField(cell, 63, line.c_str());
    cells.push_back(cell);
  } while (rc > 0);
  EXPECT_EQ(cells, (std::vector<std::string>{"質問,1", "12", "a\"b", "12.5",
                                             "x,y", "表"}));
  // The job let go of the file.
  EXPECT_NE(DeleteFileA(path.c_str()), 0);
}

TEST(ReportTextFile, FilesThatCannotBeWritten) {
  struct Case {
    const char* what;
    std::string path;
    std::string message;
  };
  const std::string locked = TempPath("report_locked.csv");
  HANDLE holder = CreateFileA(locked.c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const std::string missing = "C:\\no-such-folder\\report.csv";
  const Case cases[] = {
      {"no name", "", "ﾃｷｽﾄﾌｧｲﾙ名が設定されていません。"},
      {"missing folder", missing, "ﾃｷｽﾄﾌｧｲﾙ“" + missing + "”をｵｰﾌﾟﾝできません。"},
      {"held by another program", locked,
       "ﾃｷｽﾄﾌｧｲﾙ“" + locked + "”をｵｰﾌﾟﾝできません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MessageBoxRecorder boxes;
    DescribePage();
    EXPECT_EQ(StartPrintJobDefault(2, c.path.c_str()), 0);
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{c.message}));
    ReportPrintCell("%s", "nowhere");  // a failed job writes nothing
    EndPrintJob();
  }
  CloseHandle(holder);
  EXPECT_EQ(ReadBytes(locked), "");
  DeleteFileA(locked.c_str());
}

TEST(ReportTextFile, NoOutputAndUnknownModes) {
  DescribePage();
  EXPECT_EQ(StartPrintJobDefault(-1, ""), 1);
  ReportPrintCell("%s", "nothing");
  EXPECT_EQ(AdvanceReportLine(1), 1);
  EndPrintJob();
  EXPECT_EQ(StartPrintJobDefault(5, "x"), 0);
  EndPrintJob();
}

}  // namespace
