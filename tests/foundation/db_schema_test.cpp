// Schema changes, views, key ranges and server databases through the real
// drivers.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "foundation/db_internal.h"
#include "tests/foundation/db_test_support.h"
#include "tests/support/required_service.h"

namespace {

using Texts = std::vector<std::string>;

class DbSchema : public DbTest {
 protected:
  // T1 with CODE A01..A03 and QTY 1..3.
  int OpenFilledT1() {
    const int slot = Open("T1");
    for (int i = 1; i <= 3; ++i) {
      db_clear(slot);
      SetColumnText(slot, "CODE", ("A0" + std::to_string(i)).c_str());
      SetColumnText(slot, "NAME", "名前");
      SetColumnInt(slot, "QTY", i);
      EXPECT_EQ(db_add(slot), 0) << testing::PrintToString(Boxes());
    }
    return slot;
  }
};

TEST_P(DbSchema, OldTablesGetNewAndWiderColumnsWithoutLosingRows) {
  int slot = OpenFilledT1();
  ASSERT_EQ(AddTableColumn(slot, kColumnText, "MEMO", 10), 0);
  ASSERT_EQ(AddTableColumn(slot, kColumnShort, "FLAG", 0), 0);
  EXPECT_EQ(FindDbColumnNumber(slot, "MEMO"), 6);
  EXPECT_EQ(FindDbColumnNumber(slot, "flag"), 7);
  EXPECT_EQ(FindDbColumnNumber(slot, "NOSUCH"), -1);
  // The file database gives the old rows values; the server leaves nulls.
  const int nulls = CountRows(slot, "select count(*) from T1 where MEMO is null or FLAG is null");
  EXPECT_EQ(nulls, server() ? 3 : 0);

  ASSERT_EQ(AlterTextColumnLength(slot, "NAME", 40), 0);
  ASSERT_EQ(AlterTableColumnType(slot, "QTY", kColumnLong, 0), 0);
  ASSERT_EQ(DropTableColumn(slot, "TOTAL"), 0);
  db_close(slot);

  slot = Open("T1");
  EXPECT_EQ(GetColumnLength(slot, "NAME"), 40);
  EXPECT_EQ(GetColumnType(slot, "QTY"), kColumnLong);
  EXPECT_EQ(FindColumnQuiet(slot, "TOTAL"), -1);
  ASSERT_EQ(db_efind(slot, 0), 0);
  EXPECT_EQ(GetColumnText(slot, "CODE"), std::string("A03"));
  EXPECT_EQ(GetColumnText(slot, "NAME"), std::string("名前"));
  EXPECT_EQ(GetColumnLong(slot, "QTY"), 3);
  EXPECT_EQ(db_count(slot), 3);
  // The key still holds: the same code cannot come twice.
  EXPECT_EQ(db_add(slot), -1);
  ASSERT_EQ(db_toppos(slot, "NAME, CODE"), 0);
  // Widened texts take their new length.
  SetColumnText(slot, "NAME", std::string(40, 'w').c_str());
  ASSERT_EQ(db_update(slot), 0);
  ASSERT_EQ(db_tfind(slot, 0), 0);
  EXPECT_EQ(GetColumnText(slot, "NAME"), std::string(40, 'w'));
}

// A sheet's item that grows or changes kind changes its column on a table
// with records: every record keeps every value, whatever its text holds.
TEST_P(DbSchema, WidenedAndRetypedColumnsKeepEveryValue) {
  const Texts names = {"O'Brien", "ソフト表", "a\\b", std::string(20, 'n')};
  int slot = Open("T1");
  for (std::size_t i = 0; i < names.size(); ++i) {
    db_clear(slot);
    SetColumnText(slot, "CODE", ("C" + std::to_string(i)).c_str());
    SetColumnText(slot, "NAME", names[i].c_str());
    SetColumnInt(slot, "QTY", static_cast<int>(i) * 100 + 7);
    SetColumnDouble(slot, "AMOUNT", i + 0.25);
    ASSERT_EQ(db_add(slot), 0) << testing::PrintToString(Boxes());
  }
  ASSERT_EQ(AlterTextColumnLength(slot, "NAME", 60), 0);
  ASSERT_EQ(AlterTableColumnType(slot, "QTY", kColumnText, 8), 0);
  ASSERT_EQ(AlterTableColumnType(slot, "AMOUNT", kColumnLong, 0), 0);
  db_close(slot);

  slot = Open("T1");
  EXPECT_EQ(GetColumnLength(slot, "NAME"), 60);
  EXPECT_EQ(GetColumnType(slot, "QTY"), kColumnText);
  EXPECT_EQ(GetColumnType(slot, "AMOUNT"), kColumnLong);
  Texts got;
  for (int rc = db_toppos(slot, "CODE"); rc == 0; rc = db_nread(slot)) {
    got.push_back(std::string(GetColumnText(slot, "CODE")) + "|" + GetColumnText(slot, "NAME") + "|" +
                  GetColumnText(slot, "QTY") + "|" + std::to_string(GetColumnLong(slot, "AMOUNT")));
  }
  EXPECT_EQ(got, (Texts{"C0|O'Brien|7|0", "C1|ソフト表|107|1", "C2|a\\b|207|2",
                        "C3|" + std::string(20, 'n') + "|307|3"}));
  // The wider column takes what the old one could not hold.
  ASSERT_EQ(db_toppos(slot, "CODE"), 0);
  SetColumnText(slot, "NAME", std::string(60, 'w').c_str());
  ASSERT_EQ(db_update(slot), 0) << testing::PrintToString(Boxes());
  db_close(slot);
}

// The tally's view reads every column of its table: a column changed under
// it keeps the view, which reads the changed column.
TEST_P(DbSchema, AColumnAViewReadsChangesItsType) {
  const int slot = OpenFilledT1();
  ASSERT_EQ(CreateView(kDb, 1, "create view T1_V as select * from T1"), 0);
  ASSERT_EQ(CreateView(kDb, 1, "create view T1_VV as select CODE, QTY from T1_V where CODE>='A02'"), 0);
  EXPECT_EQ(AlterTableColumnType(slot, "QTY", kColumnText, 8), 0) << testing::PrintToString(Boxes());
  db_close(slot);
  const int view = db_open_nocreate("", kDb, "T1_VV", -1, "", "", "");
  EXPECT_GT(view, 0);
  if (view > 0) {
    EXPECT_EQ(db_toppos(view, "CODE"), 0);
    EXPECT_EQ(GetColumnText(view, "CODE"), std::string("A02"));
    EXPECT_EQ(GetColumnText(view, "QTY"), std::string("2"));
    db_close(view);
  }
  EXPECT_EQ(Boxes(), Texts{});
  // The views go whatever happened: the next test drops their table.
  Exec({"drop view T1_VV", "drop view T1_V"});
}

// Columns named as words SQL reserves are columns all the same: the
// layer's statements name them quoted, on both databases.
TEST_P(DbSchema, ColumnsNamedAsSqlWordsAreMadeWrittenAndChanged) {
  WriteSpec("T3",
            "FIELD\r\n"
            "\"Code\",\"char*\",\"CODE\",6,0,0,\"\",6\r\n"
            "\"Order\",\"char*\",\"ORDER\",10,0,0,\"\",10\r\n"
            "\"Group\",\"int\",\"GROUP\",5,0,0,\"\",5\r\n"
            "\"Check\",\"double\",\"CHECK\",10,0,2,\"\",10\r\n"
            "\"Select\",\"long\",\"SELECT\",10,0,0,\"\",10\r\n"
            "\"Values\",\"char*\",\"VALUES\",4,0,0,\"\",4\r\n"
            "INDEX\r\n"
            "\"CODE\",\"△\"\r\n"
            "\"ORDER\",\"△\"\r\n"
            "END\r\n");
  int slot = Open("T3");
  ASSERT_GT(slot, 0) << testing::PrintToString(Boxes());
  for (const char* code : {"R1", "R2"}) {
    db_clear(slot);
    SetColumnText(slot, "CODE", code);
    SetColumnText(slot, "ORDER", "注文");
    SetColumnInt(slot, "GROUP", 3);
    SetColumnDouble(slot, "CHECK", 1.5);
    SetColumnLong(slot, "SELECT", 70000);
    SetColumnText(slot, "VALUES", "v");
    ASSERT_EQ(db_add(slot), 0) << testing::PrintToString(Boxes());
  }
  ASSERT_EQ(db_search(slot, "R2", "CODE"), 0);
  SetColumnText(slot, "ORDER", "変更");
  ASSERT_EQ(db_update(slot), 0) << testing::PrintToString(Boxes());
  ASSERT_EQ(db_search(slot, "R1", "CODE"), 0);
  ASSERT_EQ(db_delete(slot), 0) << testing::PrintToString(Boxes());
  ASSERT_EQ(AlterTableColumnType(slot, "GROUP", kColumnText, 8), 0) << testing::PrintToString(Boxes());
  ASSERT_EQ(AddTableColumn(slot, kColumnShort, "WHERE", 0), 0) << testing::PrintToString(Boxes());
  EXPECT_GT(FindDbColumnNumber(slot, "WHERE"), 0);
  ASSERT_EQ(DropTableColumn(slot, "WHERE"), 0) << testing::PrintToString(Boxes());
  db_close(slot);

  slot = Open("T3");
  EXPECT_EQ(GetColumnType(slot, "GROUP"), kColumnText);
  ASSERT_EQ(db_toppos(slot, "CODE"), 0);
  EXPECT_EQ(GetColumnText(slot, "CODE"), std::string("R2"));
  EXPECT_EQ(GetColumnText(slot, "ORDER"), std::string("変更"));
  EXPECT_EQ(GetColumnText(slot, "GROUP"), std::string("3"));
  EXPECT_EQ(GetColumnDouble(slot, "CHECK"), 1.5);
  EXPECT_EQ(GetColumnLong(slot, "SELECT"), 70000);
  EXPECT_EQ(GetColumnText(slot, "VALUES"), std::string("v"));
  EXPECT_EQ(db_nread(slot), -1) << "R1 was deleted";
  EXPECT_EQ(db_count(slot), 1);
  ASSERT_EQ(db_tfind(slot, 0), 0);
  ASSERT_EQ(DeleteRowsInKeyRange(slot, "R0", "R9"), 0);
  EXPECT_EQ(db_count(slot), 0);
  EXPECT_EQ(Boxes(), Texts{});
  db_close(slot);
}

TEST_P(DbSchema, SecondKeyIndexAndStructureCheck) {
  db_close(OpenFilledT1());
  // The .SPC file's columns against the table in the database.
  int spec = SqlTblSet("", "T1");
  ASSERT_GT(spec, 0);
  ASSERT_EQ(db_connect(spec, "", kDb, "T1", -1), 0);
  EXPECT_EQ(CheckTableStructure(spec), 0);
  // The index is there with the table already: no failure.
  EXPECT_EQ(CreateKeyIndex(spec, 1), 0);
  ASSERT_EQ(DropKeyIndex(spec, 1), 0);
  ASSERT_EQ(CreateKeyIndex(spec, 1), 0);
  ASSERT_EQ(DropTableColumn(spec, "TOTAL"), 0);
  EXPECT_EQ(CheckTableStructure(spec), -1);
  EXPECT_EQ(Boxes(), Texts{"ﾃｰﾌﾞﾙ“T1”の構造が変更されています。"});
  ForgetBoxes();
  ASSERT_EQ(DropTable(spec, "T1"), 0);
  EXPECT_EQ(CheckTableStructure(spec), -1);
  EXPECT_EQ(Boxes(), Texts{"ﾃｰﾌﾞﾙ“T1”は作成されていません。"});
  db_disconnect(spec);
  ResetSlot(spec);
}

TEST_P(DbSchema, ViewsKeyRangesAndDrops) {
  const int slot = OpenFilledT1();
  ASSERT_EQ(CreateView(kDb, 1, "create view V1 as select CODE, QTY from T1 where QTY>=%d", 2), 0);
  const int view = db_open_nocreate("", kDb, "V1", -1, "", "", "");
  ASSERT_GT(view, 0);
  EXPECT_EQ(db_toppos(view, "CODE"), 0);
  EXPECT_EQ(GetColumnText(view, "CODE"), std::string("A02"));
  db_close(view);
  ASSERT_EQ(CreateView(kDb, 1, "create view V1 as select CODE from T1"), 0);
  EXPECT_EQ(CreateView(kDb, 1, "select 1"), -1);

  ASSERT_EQ(db_tfind(slot, 0), 0);  // CODE is the current key
  // A quote in a value stays in the value: only A02 is in this range.
  ASSERT_EQ(DeleteRowsInKeyRange(slot, "A02", "A02' or 'x'='x"), 0);
  EXPECT_EQ(db_count(slot), 2);
  ASSERT_EQ(DeleteRowsInKeyRange(slot, "A00", "A03"), 0);
  EXPECT_EQ(db_count(slot), 0);
  EXPECT_EQ(Boxes(), Texts{});
  db_close(slot);

  Exec({"drop view V1"});
  EXPECT_EQ(DropTableByConnect("", kDb, "T1", -1), 0);
  // A drop that fails says so.
  EXPECT_EQ(DropTableByConnect("", kDb, "T1", -1), -1);
  EXPECT_EQ(DropTableByName("", kDb, "T1"), -1);
}

TEST_P(DbSchema, RowsOfATableWithoutKeyAreWrittenOneAtATime) {
  Exec({"create table T2 (A varchar(4), B int)", "insert into T2 values ('x', 1)",
        "insert into T2 values ('x', 1)", "insert into T2 values ('y', null)"});
  const int slot = db_open_nocreate("", kDb, "T2", -1, "", "", "");
  ASSERT_GT(slot, 0);
  ASSERT_EQ(db_toppos(slot, "A"), 0);
  SetColumnLong(slot, "B", 2);
  ASSERT_EQ(db_update(slot), 0);
  EXPECT_EQ(CountRows(slot, "select count(*) from T2 where B=2"), 1);
  ASSERT_EQ(db_endpos(slot, "A"), 0);
  // The null stays null when the row is written back untouched.
  SetColumnText(slot, "A", "z");
  ASSERT_EQ(db_update(slot), 0);
  EXPECT_EQ(CountRows(slot, "select count(*) from T2 where A='z' and B is null"), 1);
  ASSERT_EQ(db_toppos(slot, "A"), 0);
  ASSERT_EQ(db_delete(slot), 0);
  EXPECT_EQ(CountRows(slot, "select count(*) from T2"), 2);
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(DbSchema, MissingServerDatabaseIsCreatedWhenTheUserSaysYes) {
  if (!server()) GTEST_SKIP() << "a file database is created by its driver";
  const std::string name = "SDNEW" + std::to_string(GetCurrentProcessId());
  AnswerNext(IDNO);
  EXPECT_EQ(db_alloc_slot("", name.c_str(), "T1", -1), -1);
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[1].find("データベース“" + name + "” にアクセスできません。"), 0u);
  ForgetBoxes();
  const int slot = db_alloc_slot("", name.c_str(), "T1", -1);
  ASSERT_GT(slot, 0);
  EXPECT_EQ(Boxes(), Texts{"データベース“" + name + "”を作成しますか？ 〔サーバー：" +
                           GetOcrIniSettings().serverName + "〕"});
  db_disconnect(slot);
  const int maintenance = db_alloc_slot("", "postgres", "T1", -1);
  ASSERT_GT(maintenance, 0);
  EXPECT_EQ(db_exec(maintenance, ("drop database " + name).c_str()), 0);
  db_disconnect(maintenance);
}

TEST_P(DbSchema, AliasesAndDataSourcesNameTheSameDatabase) {
  db_close(OpenFilledT1());
  SetOmrDbName(kDb);
  const int alias = db_open_nocreate("", "omrdbs", "T1", -1, "", "", "");
  ASSERT_GT(alias, 0);
  EXPECT_EQ(db_count(alias), 3);
  db_close(alias);
  SetOmrDbName("");

  // Kind 4 connects through the data source of the database's name; the
  // test writes it into the driver manager's file that ODBCINI names.
  const char* odbcIni = std::getenv("ODBCINI");
  if (!odbcIni || !*odbcIni) SKIP_WITHOUT_SERVICE("ODBCINI is not set: no data source file for this run");
  std::string source = "[SDDSN]\n";
  if (server()) {
    const std::string pg = std::getenv("SHEETDESK_PG");
    source += "Driver=PostgreSQL ANSI\nServername=" + ConnectionValue(pg, "Server") + "\nPort=" +
              ConnectionValue(pg, "Port") + "\nDatabase=sdtest\nUsername=" + ConnectionValue(pg, "Uid") +
              "\nPassword=" + ConnectionValue(pg, "Pwd") + "\n";
  } else {
    source += "Driver=SQLite3\nDatabase=" + HostPath((folder() + "\\" + kDb + ".mdb").c_str()) + "\n";
  }
  WriteTextFile(WindowsPathOf(odbcIni), source);
  const int slot = db_open_nocreate("", "SDDSN", "T1", kDbKindDataSource, "", "", "");
  ASSERT_GT(slot, 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(GetSlotKind(slot), kDbKindDataSource);
  EXPECT_EQ(db_count(slot), 3);
  ASSERT_EQ(db_tfind(slot, 0), 0);
  EXPECT_EQ(GetColumnText(slot, "NAME"), std::string("名前"));
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(DbSchema, BatchReadFillsTheCallersArrays) {
  const int slot = OpenFilledT1();
  ASSERT_EQ(OpenBatchRead(slot, "CODE"), 0);
  char codes[4][7];
  char names[4][21];
  short quantities[4];
  ASSERT_EQ(BindNextBatchColumn(1, codes, 7), 0);
  ASSERT_EQ(BindNextBatchColumn(1, names, 21), 0);
  ASSERT_EQ(BindNextBatchColumn(3, quantities, 2), 0);
  ASSERT_EQ(FetchNextBatch(slot), 3);
  EXPECT_STREQ(codes[2], "A03");
  EXPECT_STREQ(names[1], "名前");
  EXPECT_EQ(quantities[2], 3);
  EXPECT_EQ(FetchNextBatch(slot), 0);
  // The slot goes on as before once positioned again.
  ASSERT_EQ(db_efind(slot, 0), 0);
  EXPECT_EQ(GetColumnText(slot, "CODE"), std::string("A03"));
}

INSTANTIATE_TEST_SUITE_P(Drivers, DbSchema, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
