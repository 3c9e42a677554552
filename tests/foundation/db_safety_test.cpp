// Data the layer must never lose or mix up, through the real drivers:
// values that mean something to SQL or to the server's settings, database
// names in Japanese, a file another program holds locked, and failures that
// say what they are once.
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "tests/foundation/db_test_support.h"

namespace {

using Texts = std::vector<std::string>;

class DbSafety : public DbTest {
 protected:
  // T1 of database `db` with rows A01..A05.
  int OpenFilledT1(const char* db = kDb) {
    const int slot = db_open("", db, "T1", -1, "", "", "");
    EXPECT_GT(slot, 0) << testing::PrintToString(Boxes());
    for (int i = 1; i <= 5; ++i) {
      db_clear(slot);
      SetColumnText(slot, "CODE", ("A0" + std::to_string(i)).c_str());
      SetColumnText(slot, "NAME", "n");
      EXPECT_EQ(db_add(slot), 0) << testing::PrintToString(Boxes());
    }
    return slot;
  }

  // Runs a statement on the server's maintenance database.
  void ExecOnServer(const std::string& sql) {
    const int slot = db_alloc_slot("", "postgres", "T1", -1);
    ASSERT_GT(slot, 0);
    EXPECT_EQ(db_exec(slot, sql.c_str()), 0) << sql << testing::PrintToString(Boxes());
    db_disconnect(slot);
  }
};

TEST_P(DbSafety, ValuesWithQuotesAndBackslashesStayValuesWhateverTheServerSays) {
  const char* db = kDb;
  if (server()) {
    // A database whose sessions start with backslashes as escapes in
    // literals; the layer's own sessions read them as themselves.
    db = "SDLEGACY";
    db_disconnect(db_alloc_slot("", db, "T1", -1));  // made when missing (the box is answered Yes)
    ExecOnServer("alter database sdlegacy set standard_conforming_strings = off");
    const int check = db_alloc_slot("", db, "T1", -1);
    ASSERT_GT(check, 0);
    EXPECT_EQ(CountRows(check, "select count(*) from pg_settings where name='standard_conforming_strings' "
                               "and reset_val='off' and setting='on'"),
              1);
    ExecSlotSql(check, "drop table T1", 1);
    db_disconnect(check);
    ForgetBoxes();
  }
  const int slot = OpenFilledT1(db);
  const std::string tricky = "A02\\' or 1=1 --";
  db_clear(slot);
  SetColumnText(slot, "CODE", "B01");
  SetColumnText(slot, "NAME", tricky.c_str());
  ASSERT_EQ(db_add(slot), 0);
  ASSERT_EQ(db_search(slot, tricky.c_str(), "NAME"), 0);
  EXPECT_EQ(GetColumnText(slot, "CODE"), std::string("B01"));
  EXPECT_EQ(GetColumnText(slot, "NAME"), tricky);

  // Only A02 lies between "A02" and the tricky text.
  ASSERT_EQ(db_tfind(slot, 0), 0);
  ASSERT_EQ(DeleteRowsInKeyRange(slot, "A02", tricky.c_str()), 0);
  EXPECT_EQ(db_count(slot), 5);
  EXPECT_EQ(db_search(slot, "A02", "CODE"), -1);
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(DbSafety, JapaneseServerDatabaseNamesReachTheServerAsWritten) {
  if (!server()) GTEST_SKIP() << "a file database is named by its file";
  // "ア" and "ケ" end in the bytes of "A" and "P": folded byte by byte,
  // "アンケート" would become "ヂンパート", another database.
  const std::string names[] = {"アンケート", "ヂンパート"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const int slot = db_open("", name.c_str(), "T1", -1, "", "", "select current_database() as DBNAME");
    ASSERT_GT(slot, 0) << testing::PrintToString(Boxes());
    ASSERT_EQ(db_toppos(slot, "DBNAME"), 0);
    EXPECT_EQ(GetColumnText(slot, "DBNAME"), name);
    db_close(slot);
  }
  const int first = db_open("", names[0].c_str(), "T1", -1, "", "", "");
  db_clear(first);
  SetColumnText(first, "CODE", "J1");
  ASSERT_EQ(db_add(first), 0);
  const int second = db_open("", names[1].c_str(), "T1", -1, "", "", "");
  EXPECT_EQ(db_count(first), 1);
  EXPECT_EQ(db_count(second), 0);
  db_close(first);
  db_close(second);
  for (const std::string& name : names) ExecOnServer("drop database \"" + name + "\"");
}

TEST_P(DbSafety, FailuresAreReportedOnceAndQuietOnesStayQuiet) {
  const int slot = OpenFilledT1();
  ForgetBoxes();
  // A search that fails is reported; reading on finds no row, quietly.
  EXPECT_EQ(db_search(slot, "3", "NOSUCH"), -1);
  EXPECT_EQ(Boxes().size(), 1u);
  ForgetBoxes();
  EXPECT_EQ(db_nread(slot), -1);
  EXPECT_EQ(db_pread(slot), -1);
  EXPECT_EQ(db_update(slot), -1);  // no current row: that is said
  EXPECT_EQ(Boxes().size(), 2u);
  ForgetBoxes();
  ASSERT_EQ(db_tfind(slot, 0), 0);
  EXPECT_EQ(GetColumnText(slot, "CODE"), std::string("A01"));

  // A statement on a missing table is a failure like any other...
  EXPECT_EQ(db_exec(slot, "delete from NOSUCH"), -1);
  const Texts boxes = Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(Captions()[0], "SQLExecDirect() [T1]");
  EXPECT_EQ(boxes[1], "[delete from NOSUCH]");
  // ...but an open that only asks whether the table is there is quiet.
  ForgetBoxes();
  EXPECT_EQ(db_open_nocreate("", kDb, "NOSUCH", -1, "", "", ""), -1);
  EXPECT_EQ(db_open_default_nocreate(kDb, "NOSUCH", ""), -1);
  EXPECT_EQ(ExecSlotSql(slot, "delete from NOSUCH", 1), -1);
  EXPECT_EQ(Boxes(), Texts{});
  EXPECT_TRUE(DbTableMissing());
}

INSTANTIATE_TEST_SUITE_P(Drivers, DbSafety, testing::Values(kDbKindFile, kDbKindServer), KindName);

// The file database only: the server has no wait of the program's own.
class FileDbWait : public DbSafety {};

TEST_P(FileDbWait, ALockedFileIsWaitedForAsLongAsConfigured) {
  constexpr int kWait = 2000;
  SetFileDbWait(kWait);
  const int writer = Open("T1");
  const int holder = Open("T1");
  ASSERT_EQ(db_exec(holder, "begin exclusive"), 0);
  db_clear(writer);
  SetColumnText(writer, "CODE", "L1");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(db_add(writer), -1);
  const double waited = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  db_exec(holder, "commit");
  SetFileDbWait(30000);
  const double ratio = waited / kWait;
  EXPECT_GT(ratio, 0.8);
  EXPECT_LT(ratio, 1.4);
  EXPECT_EQ(Boxes(), (Texts{"テーブル“T1”は、他のプログラムで使用されていますので、処理を続行できません。",
                            "“T1”に登録できません。"}));
  // Once the lock is gone the row goes in.
  ASSERT_EQ(db_add(writer), 0);
}

INSTANTIATE_TEST_SUITE_P(Drivers, FileDbWait, testing::Values(kDbKindFile), KindName);

}  // namespace
