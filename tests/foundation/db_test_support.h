// Fixture of the database layer's tests: every test runs against the SQLite
// file database (kind 1) and against the PostgreSQL server database (kind 2)
// whose connection string services.sh exports as SHEETDESK_PG; without it the
// server cases are skipped. Message boxes are recorded and answered "Yes".
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/db.h"
#include "tests/support/hook_recorder.h"

// Tables the tests make; each test starts without them.
extern const char* const kTestTables[];

class DbTest : public testing::TestWithParam<int> {
 protected:
  void SetUp() override;
  void TearDown() override;

  int kind() const { return GetParam(); }
  bool server() const { return kind() == kDbKindServer; }
  // The folder of the test's database file and specification files.
  const std::string& folder() const { return folder_; }
  // Writes a specification file into the folder.
  void WriteSpec(const char* name, const std::string& text);
  // Runs statements on a slot of their own; failures are test failures.
  void Exec(const std::vector<std::string>& statements);
  // Opens `table` of the test database (created from its specification).
  int Open(const char* table, const char* select = "");
  std::vector<std::string> Boxes() const { return boxes_->texts(); }
  std::vector<std::string> Captions() const;
  void ForgetBoxes();
  // The next box is answered with `button` instead of "Yes".
  void AnswerNext(int button) { boxes_->Answer(button); }

  static constexpr const char* kDb = "SDTEST";

 private:
  std::string folder_;
  MessageBoxRecorder* boxes_ = nullptr;
};

// The folder of the tests' database files and specification files (made
// when missing), and a file writer for fixtures.
std::string TestFolder();
void WriteTextFile(const std::string& path, const std::string& text);

// "Key=value" of a connection string.
std::string ConnectionValue(const std::string& text, const char* key);
// The PostgreSQL server of the run (SHEETDESK_PG) as the program's screens
// take it: "host:port", login and database. False when the run has none.
struct RunServer {
  std::string name, user, password, database;
};
bool ReadRunServer(RunServer* server);
// The Windows path of a host path (under Wine).
std::string WindowsPathOf(const std::string& hostPath);

// The name of a parameter for test names.
std::string KindName(const testing::TestParamInfo<int>& info);

// The test table T1: CODE (key 0), NAME (key 1), QTY short, AMOUNT double,
// TOTAL long.
extern const char kT1Spec[];
// The Japanese table 調査項目: ＯＣＲコード + 項目番号 (key 0), 名称 (key 1),
// 表面裏面 (one character), 得点 (double), 件数 (long), 選択肢 (3 columns).
extern const char kSurveySpec[];
