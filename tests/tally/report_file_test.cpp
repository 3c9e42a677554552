// Reports written to a text file (mode 2): the bytes of the CSV lines, the
// last line flushed at the end, the file closed, and the files that cannot
// be written.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "foundation/csv_token.h"
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

// Splits a CSV file into its records and cells as the program reads one.
std::vector<std::vector<std::string>> ReadCsvFile(const std::string& bytes) {
  std::vector<std::vector<std::string>> records;
  size_t position = 0;
  std::string record;
  while (NextCsvRecord(bytes, position, record)) {
    std::vector<char> cell(record.size() + 1);
    std::vector<std::string> cells;
    int rc;
    ResetCsvFieldSplitter();
    do {
      rc = SplitCsvField(cell.data(), static_cast<int>(record.size()), record.c_str());
      cells.push_back(cell.data());
    } while (rc > 0);
    records.push_back(cells);
  }
  return records;
}

TEST(ReportTextFile, LineEndsInsideCellsAndLongLinesReadBack) {
  const std::string path = TempPath("report_line_ends.csv");
  MessageBoxRecorder boxes;
  DescribePage();
  ASSERT_EQ(StartPrintJobDefault(2, path.c_str()), 1);
  ReportCsvCell(0, "%s", "two\nlines");
  ReportCsvCell(0, "%s", "a CR\rinside");
  ReportCsvCell(0, "%s", "both\r\n");
  AdvanceReportLine(1);
  for (int i = 0; i <= kCsvFieldLimit; ++i) ReportCsvCell(0, "%d", i);
  AdvanceReportLine(1);
  ReportCsvCell(0, "%s", "after");
  EndPrintJob();

  const std::string bytes = ReadBytes(path);
  const std::string firstLine = "\"two\nlines\",\"a CR\rinside\",\"both\r\n\"\r\n";
  EXPECT_EQ(bytes.substr(0, firstLine.size()), firstLine);
  const auto records = ReadCsvFile(bytes);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0], (std::vector<std::string>{"two\nlines", "a CR\rinside", "both\r\n"}));
  // A line holds as many cells as a reader takes; the next one was said.
  ASSERT_EQ(records[1].size(), static_cast<size_t>(kCsvFieldLimit));
  EXPECT_EQ(records[1].back(), std::to_string(kCsvFieldLimit - 1));
  EXPECT_EQ(records[2], std::vector<std::string>{"after"});
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{
                               "ﾃｷｽﾄﾌｧｲﾙの1行に書けるのは 1000 項目までです。1001 項目目からは書き込まれません。"});
  DeleteFileA(path.c_str());
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

// A job whose writes do not all go through (the disk gone under it) leaves
// the file that was there and says so; one that ends well replaces it in
// one step. Neither leaves its work file behind.
TEST(ReportTextFile, AFailedWriteLeavesTheFileThatWasThere) {
  const std::string path = TempPath("report_kept.csv");
  std::ofstream(path, std::ios::binary) << "old\r\n";
  for (bool fails : {true, false}) {
    SCOPED_TRACE(fails ? "a write fails" : "every write goes through");
    MessageBoxRecorder boxes;
    DescribePage();
    ASSERT_EQ(StartPrintJobDefault(2, path.c_str()), 1);
    if (fails) CloseHandle(g_reportOutput.textFile);
    ReportCsvCell(0, "%s", "new");
    AdvanceReportLine(1);
    EndPrintJob();
    EXPECT_EQ(ReportTextFileWritten(), !fails);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.find("old") != std::string::npos, fails) << bytes;
    EXPECT_EQ(bytes.find("new") != std::string::npos, !fails) << bytes;
    EXPECT_EQ(GetFileAttributesA((path + ".~tmp").c_str()), INVALID_FILE_ATTRIBUTES);
  }
  DeleteFileA(path.c_str());
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
