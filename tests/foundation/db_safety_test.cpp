// Data the layer must never lose or mix up, through the real drivers:
// values that mean something to SQL or to the server's settings, database
// names in Japanese, a file another program holds locked, and failures that
// say what they are once.
#include <windows.h>

#include <cfloat>
#include <cmath>
#include <chrono>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "foundation/db_sql.h"
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
    // literals and floats cut to 15 digits; the layer's own sessions read
    // backslashes as themselves and floats whole.
    db = "SDLEGACY";
    db_disconnect(db_alloc_slot("", db, "T1", -1));  // made when missing (the box is answered Yes)
    ExecOnServer("alter database sdlegacy set standard_conforming_strings = off");
    ExecOnServer("alter database sdlegacy set extra_float_digits = 0");
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
  SetColumnDouble(slot, "AMOUNT", 1.0 / 3);
  ASSERT_EQ(db_add(slot), 0);
  ASSERT_EQ(db_search(slot, tricky.c_str(), "NAME"), 0);
  EXPECT_EQ(GetColumnText(slot, "CODE"), std::string("B01"));
  EXPECT_EQ(GetColumnText(slot, "NAME"), tricky);
  EXPECT_EQ(GetColumnDouble(slot, "AMOUNT"), 1.0 / 3);

  // A text built into a statement: a lead byte left without its trail byte
  // takes no quote with it.
  const std::string stray = "C\x81";
  ASSERT_EQ(db_exec(slot, ("update T1 set NAME=" + SqlLiteral(stray.c_str()) + " where CODE='A01'").c_str()), 0)
      << testing::PrintToString(Boxes());
  EXPECT_EQ(CountRows(slot, "select count(*) from T1 where NAME='C?' and CODE='A01'"), 1);

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
  EXPECT_TRUE(DbTableMissing());
  const int missing = db_alloc_slot("", kDb, "NOSUCH", -1);
  ASSERT_GT(missing, 0);
  EXPECT_EQ(DropTable(missing, "NOSUCH"), -1);
  EXPECT_EQ(Boxes(), Texts{});
  // A change to a table that is not there is a failure, and said.
  EXPECT_EQ(AddTableColumn(missing, kColumnShort, "N", 0), -1);
  EXPECT_EQ(Boxes().size(), 2u);
  db_disconnect(missing);
}

TEST_P(DbSafety, NumbersReadAndWrittenBackStayBitForBit) {
  const double values[] = {DBL_MAX, 1.0 / 3, -0.0, 0.1 + 0.2, -DBL_MAX, DBL_TRUE_MIN};
  int slot = Open("T1");
  for (size_t i = 0; i < std::size(values); ++i) {
    db_clear(slot);
    SetColumnText(slot, "CODE", ("A0" + std::to_string(i)).c_str());
    SetColumnDouble(slot, "AMOUNT", values[i]);
    ASSERT_EQ(db_add(slot), 0) << testing::PrintToString(Boxes());
  }
  // What the database holds: a float column of the file database keeps no
  // sign of a zero.
  auto held = [&](double value) { return !server() && value == 0 ? 0.0 : value; };
  auto sameBits = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  for (int pass = 0; pass < 2; ++pass) {
    db_close(slot);
    slot = Open("T1");
    ASSERT_EQ(db_tfind(slot, 0), 0);
    for (size_t i = 0; i < std::size(values); ++i, db_nread(slot)) {
      SCOPED_TRACE(testing::Message() << "pass " << pass << ", value " << values[i]);
      EXPECT_TRUE(sameBits(GetColumnDouble(slot, "AMOUNT"), held(values[i])))
          << GetColumnDouble(slot, "AMOUNT");
      // Another column changed and written: the number stays as it was.
      SetColumnText(slot, "NAME", ("pass" + std::to_string(pass)).c_str());
      ASSERT_EQ(db_update(slot), 0);
    }
  }

  // A table without a key finds its rows by their values, numbers exactly.
  Exec({"create table T2 (A varchar(4), X float)"});
  const int keyless = db_open_nocreate("", kDb, "T2", -1, "", "", "");
  ASSERT_GT(keyless, 0);
  for (double value : {DBL_MAX, 1.0 / 3, 0.1 + 0.2}) {
    db_clear(keyless);
    SetColumnText(keyless, "A", "x");
    SetColumnDouble(keyless, "X", value);
    ASSERT_EQ(db_add(keyless), 0);
  }
  ASSERT_EQ(db_toppos(keyless, "X"), 0);
  SetColumnText(keyless, "A", "y");
  ASSERT_EQ(db_update(keyless), 0);
  ASSERT_EQ(db_endpos(keyless, "X"), 0);
  EXPECT_TRUE(sameBits(GetColumnDouble(keyless, "X"), DBL_MAX));
  ASSERT_EQ(db_delete(keyless), 0);
  EXPECT_EQ(CountRows(keyless, "select count(*) from T2 where A='y'"), 1);
  EXPECT_EQ(CountRows(keyless, "select count(*) from T2"), 2);
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(DbSafety, TextsReadWholeAndColumnsLeftAloneAreNeverWrittenBack) {
  // A column of 20 counts Shift-JIS bytes: ten characters of two bytes fill
  // it, as do twenty of one.
  const std::string ten = "あいうえおかきくけこ";
  const int slot = Open("T1");
  db_clear(slot);
  SetColumnText(slot, "CODE", "W1");
  // A value of 22 bytes is held cut and written nowhere, whatever the
  // database would take.
  SetColumnText(slot, "NAME", (ten + "な").c_str());
  EXPECT_EQ(GetColumnText(slot, "NAME"), ten);
  EXPECT_EQ(db_add(slot), -1);
  EXPECT_EQ(Boxes(), (Texts{"フィールド“NAME”の値は長すぎて入りきらないため、テーブル“T1”に書き込めません。",
                            "“T1”に登録できません。"}));
  ForgetBoxes();
  SetColumnText(slot, "NAME", (ten + "a").c_str());
  EXPECT_EQ(db_add(slot), -1) << "21 bytes";
  ForgetBoxes();
  SetColumnText(slot, "NAME", "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄ");
  ASSERT_EQ(db_add(slot), 0) << "twenty half-width kana are twenty bytes";
  db_clear(slot);
  SetColumnText(slot, "CODE", "W0");
  SetColumnText(slot, "NAME", ten.c_str());
  ASSERT_EQ(db_add(slot), 0);
  const int other = Open("T1");
  ASSERT_EQ(db_tfind(slot, 0), 0);
  EXPECT_EQ(GetColumnText(slot, "NAME"), ten);

  // Another program changes the name; this slot changes only the quantity.
  ASSERT_EQ(db_tfind(other, 0), 0);
  SetColumnText(other, "NAME", "別の名前");
  ASSERT_EQ(db_update(other), 0);
  SetColumnInt(slot, "QTY", 7);
  ASSERT_EQ(db_update(slot), 0);
  ASSERT_EQ(db_tfind(other, 0), 0);
  EXPECT_EQ(GetColumnText(other, "NAME"), std::string("別の名前"));
  EXPECT_EQ(GetColumnInt(other, "QTY"), 7);
  // Nothing changed, nothing written.
  EXPECT_EQ(db_update(other), 0);
  EXPECT_EQ(Boxes(), Texts{});

  // Both databases keep what another program gives them (the server counts
  // twenty characters): fifteen characters read as ten are never written
  // back as ten.
  const std::string fifteen = ten + "なにぬねの";
  Exec({"insert into T1 (CODE,NAME,QTY) values ('W2','" + fifteen + "',1)"});
  ASSERT_EQ(db_search(slot, "W2", "CODE"), 0);
  EXPECT_EQ(GetColumnText(slot, "NAME"), ten);
  SetColumnInt(slot, "QTY", 2);
  ASSERT_EQ(db_update(slot), 0);
  EXPECT_EQ(CountRows(slot, ("select count(*) from T1 where QTY=2 and NAME='" + fifteen + "'").c_str()), 1);
  ASSERT_EQ(db_search(slot, "W2", "CODE"), 0);
  SetColumnText(slot, "CODE", "W3");
  EXPECT_EQ(db_add(slot), -1);
  EXPECT_EQ(Boxes(), (Texts{"フィールド“NAME”の値は長すぎて読み切れなかったため、テーブル“T1”に書き込めません。",
                            "“T1”に登録できません。"}));
  // Set anew, the value is the caller's: it goes in.
  SetColumnText(slot, "NAME", ten.c_str());
  EXPECT_EQ(db_add(slot), 0);
}

// A value that is no number is refused on both databases (the file database
// would keep 0); infinities go in and come back.
TEST_P(DbSafety, ANumberThatIsNoNumberIsRefused) {
  const int slot = Open("T1");
  db_clear(slot);
  SetColumnText(slot, "CODE", "N1");
  SetColumnDouble(slot, "AMOUNT", std::nan(""));
  EXPECT_EQ(db_add(slot), -1);
  EXPECT_EQ(Boxes(), (Texts{"フィールド“AMOUNT”の値は数値ではないため、テーブル“T1”に書き込めません。",
                            "“T1”に登録できません。"}));
  EXPECT_EQ(db_count(slot), 0);
  ForgetBoxes();
  SetColumnDouble(slot, "AMOUNT", 2.5);
  ASSERT_EQ(db_add(slot), 0);
  ASSERT_EQ(db_search(slot, "N1", "CODE"), 0);
  SetColumnDouble(slot, "AMOUNT", -std::nan(""));
  EXPECT_EQ(db_update(slot), -1);
  EXPECT_EQ(Boxes(), (Texts{"フィールド“AMOUNT”の値は数値ではないため、テーブル“T1”に書き込めません。",
                            "テーブル“T1”への書き込みができません。"}));
  ASSERT_EQ(db_search(slot, "N1", "CODE"), 0);
  EXPECT_EQ(GetColumnDouble(slot, "AMOUNT"), 2.5);
}

INSTANTIATE_TEST_SUITE_P(Drivers, DbSafety, testing::Values(kDbKindFile, kDbKindServer), KindName);

// Another program's lock is waited for as long as configured, on both
// databases (the server would wait for ever).
class DbWait : public DbSafety {};

TEST_P(DbWait, ALockedTableIsWaitedForAsLongAsConfigured) {
  constexpr int kWait = 2000;
  SetFileDbWait(kWait);
  const int writer = Open("T1");
  const int holder = Open("T1");
  if (server()) {
    ASSERT_EQ(db_exec(holder, "begin"), 0);
    ASSERT_EQ(db_exec(holder, "lock table T1 in access exclusive mode"), 0);
  } else {
    ASSERT_EQ(db_exec(holder, "begin exclusive"), 0);
  }
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

INSTANTIATE_TEST_SUITE_P(Drivers, DbWait, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
