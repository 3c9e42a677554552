// The fixture of the reading tests that use databases: a fresh folder of its
// own with a sheet-definition database (SHEET) and an output database
// (OUTDB) on the SQLite driver, the shipped table descriptions beside them,
// the image and log folders, and the reading road pointed at all of it.
// Message boxes are recorded and answered "Yes".
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/db.h"
#include "tests/foundation/db_test_support.h"
#include "tests/reading/run_setup.h"
#include "tests/support/required_service.h"
#include "tests/support/hook_recorder.h"
#include "tools/sheetgen/sheet_generator.h"

class ReadingDbTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  const std::string& folder() const { return folder_; }
  std::string Path(const std::string& name) const { return folder_ + "\\" + name; }
  std::string ImagePath(const std::string& name) const { return folder_ + "\\image\\" + name; }
  std::vector<std::string> Boxes() const { return boxes_->texts(); }
  void ForgetBoxes();
  void AnswerNext(int button) { boxes_->Answer(button); }

  // Adds the rows of a definition to SHEET.
  void WriteDefinition(const SheetDefinition& definition);
  // Writes the description "<table>.SPC" of an output table: the key column
  // first, then the columns given as "name" (text 20) or "name:type:length"
  // (type word of the descriptions: char*, char, int, long, double).
  void WriteOutputSpec(const std::string& table, const std::vector<std::string>& columns);
  // Every row of a table of a database of the fixture (kOutputDb: the
  // run's output database, wherever it is), in `order`, each as its
  // columns' texts by name.
  std::vector<std::map<std::string, std::string>> Rows(const char* database, const char* table,
                                                       const char* order);
  // Opens `table` of the run's output database, wherever it is, made from
  // its description when missing: the slot, or -1 after the message.
  int OpenOutputTable(const std::string& table);
  // A slot on the run's output database for statements of the test's own
  // (db_disconnect it): 0 or above, or -1.
  int OutputStatementSlot(const std::string& table);
  // The canvas of a side: the items of window slot 0 built from the field
  // rows of the written definition.
  void BuildCanvas(const std::string& side = "0001");
  // The sheet feeder of the scanner: SCANFEED.INI beside the program, its
  // folder "feed" in the fixture's folder and the tray "fed"; removed at
  // the end of the test.
  void InstallFeeder();
  std::string FeedPath(const std::string& name) const { return folder_ + "\\feed\\" + name; }
  // A generated page written into the image folder.
  void WritePage(const std::string& name, const SheetDefinition& definition,
                 const SheetRequest& request);

  static constexpr const char* kSheetDb = kRunSheetDb;
  static constexpr const char* kOutputDb = kRunOutputDb;

 private:
  std::string folder_;
  std::string feederSettings_;
  MessageBoxRecorder* boxes_ = nullptr;
};

// How many files match a pattern ("folder\\*.bmp").
int CountFiles(const std::string& pattern);

// A reading test that stores records (on a fixture `Base` of the reading
// tests), run on each output database by its parameter: the SQLite file in
// its folder (kDbKindFile) or the PostgreSQL server of the run
// (kDbKindServer; without one the test is skipped).
template <class Base>
class OnBothDatabases : public Base, public testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    Base::SetUp();
    if (OnServer() && !UseServerOutput()) {
      SKIP_WITHOUT_SERVICE("SHEETDESK_PG is not set: no PostgreSQL server for this run");
    }
  }

  bool OnServer() const { return this->GetParam() == kDbKindServer; }
  // The run starts without output table `table`: the server keeps its
  // tables from run to run, the folder is made afresh for every test.
  void DropOutputTable(const std::string& table) {
    if (!OnServer()) return;
    const int slot = this->OutputStatementSlot(table);
    ASSERT_GT(slot, 0) << testing::PrintToString(this->Boxes());
    ExecSlotSql(slot, ("drop table if exists " + table).c_str(), 1);
    db_disconnect(slot);
  }
};
using ReadingStoreTest = OnBothDatabases<ReadingDbTest>;

// Instantiates the tests of an OnBothDatabases suite on both databases.
#define INSTANTIATE_ON_BOTH_DATABASES(suite)                                                 \
  INSTANTIATE_TEST_SUITE_P(Databases, suite, testing::Values(kDbKindFile, kDbKindServer), \
                           KindName)
