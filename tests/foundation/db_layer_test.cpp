// Opening, navigation and writes through the real drivers: the SQLite file
// database and the PostgreSQL server database behave alike.
#include <windows.h>

#include <climits>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "tests/foundation/db_test_support.h"

namespace {

using Texts = std::vector<std::string>;

class DbLayer : public DbTest {
 protected:
  // T1 with rows A01..A05: NAME n5..n1, QTY 1..5, AMOUNT 1.5 each step,
  // TOTAL 70000 + i.
  int OpenFilledT1() {
    const int slot = Open("T1");
    for (int i = 1; i <= 5; ++i) {
      db_clear(slot);
      SetColumnText(slot, "CODE", ("A0" + std::to_string(i)).c_str());
      SetColumnText(slot, "NAME", ("n" + std::to_string(6 - i)).c_str());
      SetColumnInt(slot, "QTY", i);
      SetColumnDouble(slot, "AMOUNT", 1.5 * i);
      SetColumnLong(slot, "TOTAL", 70000 + i);
      EXPECT_EQ(db_add(slot), 0);
    }
    return slot;
  }
  static std::string Code(int slot) { return GetColumnText(slot, "CODE"); }
};

TEST_P(DbLayer, OpenCreatesTheMissingTableFromItsSpecification) {
  const int slot = Open("調査項目");
  ASSERT_GT(slot, 0);
  EXPECT_EQ(GetSlotColumnCount(slot), 9);
  struct Column {
    const char* name;
    int type;
    int length;
  };
  const Column columns[] = {
      {"ＯＣＲコード", kColumnText, 10}, {"項目番号", kColumnShort, -2}, {"名称", kColumnText, 20},
      // A column of one character comes back as a text of length 1.
      {"表面裏面", kColumnText, 1},       {"得点", kColumnDouble, -2},    {"件数", kColumnLong, -2},
      {"選択肢02", kColumnText, 4},
  };
  for (const Column& c : columns) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetColumnType(slot, c.name), c.type);
    if (c.length != -2) {
      EXPECT_EQ(GetColumnLength(slot, c.name), c.length);
    }
  }
  std::string key;
  ASSERT_EQ(GetKeyColumns(slot, key, 0), 0);
  EXPECT_EQ(key, "項目番号");
  ASSERT_EQ(GetKeyColumns(slot, key, 1), 0);
  EXPECT_EQ(key, "名称");
  EXPECT_EQ(Boxes(), Texts{});

  EXPECT_EQ(db_close(slot), 0);
  EXPECT_EQ(db_close(slot), -1);
  // A missing table without creation fails quietly: the caller tells.
  EXPECT_EQ(db_open_nocreate("", kDb, "T3", -1, "", "", ""), -1);
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(DbLayer, WritesKeepJapaneseTextAndQuotesAsTyped) {
  int slot = Open("調査項目");
  ASSERT_GT(slot, 0);
  // 表, ソ and 能 end in the byte of "\", ー in "[", ポ in "|"; ｶﾀｶﾅ is
  // half-width; ① is an NEC special character.
  const std::string code = "表ソ能ーポ";
  const std::string name = "O'Neil ｶﾅ①' or 'x";
  db_clear(slot);
  SetColumnText(slot, "ＯＣＲコード", code.c_str());
  SetColumnInt(slot, "項目番号", 1);
  SetColumnText(slot, "名称", name.c_str());
  SetColumnText(slot, "表面裏面", "1");
  SetColumnDouble(slot, "得点", 2.5);
  SetColumnLong(slot, "件数", 70000);
  SetColumnTextIdx(slot, "選択肢", 1, "ｱｲｳ");
  ASSERT_EQ(db_add(slot), 0);
  SetColumnInt(slot, "項目番号", 2);
  SetColumnText(slot, "名称", "二行目");
  ASSERT_EQ(db_add(slot), 0);
  db_close(slot);

  slot = Open("調査項目");
  ASSERT_EQ(db_tfind(slot, 0), 0);
  EXPECT_EQ(GetColumnText(slot, "ＯＣＲコード"), code);
  EXPECT_EQ(GetColumnInt(slot, "項目番号"), 1);
  EXPECT_EQ(GetColumnText(slot, "名称"), name);
  EXPECT_EQ(GetColumnChar(slot, "表面裏面"), '1');
  EXPECT_EQ(GetColumnDouble(slot, "得点"), 2.5);
  EXPECT_EQ(GetColumnLong(slot, "件数"), 70000);
  EXPECT_EQ(GetColumnTextIdx(slot, "選択肢", 1), std::string("ｱｲｳ"));
  EXPECT_EQ(GetColumnTextIdx(slot, "選択肢", 0), std::string(""));
  // The value with quotes is found as it was typed.
  ASSERT_EQ(db_search(slot, name.c_str(), "名称"), 0);
  EXPECT_EQ(GetColumnInt(slot, "項目番号"), 1);

  // Update the current row, then its key, then the row by its new key.
  SetColumnText(slot, "名称", "更新");
  ASSERT_EQ(db_update(slot), 0);
  SetColumnInt(slot, "項目番号", 5);
  ASSERT_EQ(db_update(slot), 0);
  SetColumnText(slot, "名称", "再更新");
  ASSERT_EQ(db_update(slot), 0);
  ASSERT_EQ(db_efind(slot, 0), 0);
  EXPECT_EQ(GetColumnInt(slot, "項目番号"), 5);
  EXPECT_EQ(GetColumnText(slot, "名称"), std::string("再更新"));
  EXPECT_EQ(GetColumnText(slot, "ＯＣＲコード"), code);
  ASSERT_EQ(db_pread(slot), 0);
  EXPECT_EQ(GetColumnText(slot, "名称"), std::string("二行目"));

  ASSERT_EQ(db_delete(slot), 0);
  EXPECT_EQ(GetColumnText(slot, "ＯＣＲコード"), std::string(""));
  EXPECT_EQ(db_count(slot), 1);
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(DbLayer, NavigatesByOrderKeyAndSearch) {
  const int slot = OpenFilledT1();
  ASSERT_EQ(db_toppos(slot, "CODE"), 0);
  std::string seen = Code(slot);
  while (db_nread(slot) == 0) seen += Code(slot);
  EXPECT_EQ(seen, "A01A02A03A04A05");
  // Past the end: the previous row is the last one.
  ASSERT_EQ(db_pread(slot), 0);
  EXPECT_EQ(Code(slot), "A05");
  EXPECT_EQ(GetLastReadDirection(), 2);
  ASSERT_EQ(db_endpos(slot, "CODE"), 0);
  ASSERT_EQ(db_pread(slot), 0);
  EXPECT_EQ(Code(slot), "A04");
  ASSERT_EQ(db_tfind(slot, 1), 0);  // by NAME: n1 is A05
  EXPECT_EQ(Code(slot), "A05");
  ASSERT_EQ(db_efind(slot, 0), 0);
  EXPECT_EQ(Code(slot), "A05");
  EXPECT_EQ(db_pread(slot), 0);
  EXPECT_EQ(db_search_where(slot, "QTY>3", "CODE"), 0);
  EXPECT_EQ(Code(slot), "A04");
  EXPECT_EQ(db_search_key(slot, "n2", 1), 0);
  EXPECT_EQ(Code(slot), "A04");
  EXPECT_EQ(Boxes(), Texts{});

  // A key that is not defined: a message, nothing run.
  EXPECT_EQ(db_tfind(slot, 5), -1);
  EXPECT_EQ(Boxes(), Texts{"5番のキーは定義されていません。"});

  // A search keeps the WHERE of the slot's SELECT.
  const int some = Open("T1", "select * from T1 where QTY>=2 order by CODE");
  ASSERT_GT(some, 0);
  EXPECT_EQ(db_search(some, "A01", "CODE"), -1);
  EXPECT_EQ(db_search(some, "A03", "CODE"), 0);
  EXPECT_EQ(db_count(some), 4);

  struct Find {
    const char* what;
    int (*find)(int, const char*, int);
    const char* value;
    int result;
    const char* code;
  };
  const Find finds[] = {
      {"first", db_find_key_first, "A04", 0, "A04"},
      {"below", db_find_key_below, "A03", 0, "A02"},
      {"above", db_find_key_above, "A03", 0, "A04"},
      {"or next", db_find_key_or_next, "A025", 0, "A03"},
      {"or below", db_find_key_or_below, "A035", 0, "A03"},
      {"none", db_find_key_first, "ZZ", -1, ""},
  };
  for (const Find& f : finds) {
    SCOPED_TRACE(f.what);
    EXPECT_EQ(f.find(slot, f.value, 0), f.result);
    EXPECT_EQ(Code(slot), f.code);
  }

  // A row written and passed again shows what was written and can be
  // written again; a deleted row drops out of the way back.
  ASSERT_EQ(db_tfind(slot, 0), 0);
  ASSERT_EQ(db_nread(slot), 0);
  SetColumnText(slot, "CODE", "A02X");
  ASSERT_EQ(db_update(slot), 0);
  ASSERT_EQ(db_nread(slot), 0);
  ASSERT_EQ(db_delete(slot), 0);  // A03
  ASSERT_EQ(db_pread(slot), 0);
  EXPECT_EQ(Code(slot), "A02X");
  SetColumnText(slot, "CODE", "A02");
  ASSERT_EQ(db_update(slot), 0);
  ASSERT_EQ(db_nread(slot), 0);
  EXPECT_EQ(Code(slot), "A04");
  EXPECT_EQ(db_count(slot), 4);

  // Deleting each row and reading the next empties the selection.
  ASSERT_EQ(db_tfind(slot, 0), 0);
  while (db_delete(slot) == 0 && db_nread(slot) == 0) {
  }
  EXPECT_EQ(db_count(slot), 0);
  EXPECT_EQ(Boxes().size(), 1u);
}

// A step of many rows ends where as many reads end: on the same row, with
// the same row read next, also past either end and over a deleted row.
TEST_P(DbLayer, StepsOverRowsAsReadsWould) {
  const int slot = OpenFilledT1();
  struct Case {
    int start;  // rows read on from the first before the step
    int count;
    int moved;
    const char* code;
    const char* next;  // of a read on in the step's direction; "" none
  };
  const Case cases[] = {
      {0, 3, 3, "A04", "A05"}, {1, 10, 3, "A05", ""}, {4, -2, 2, "A03", "A02"}, {2, -10, 2, "A01", ""},
      {0, INT_MAX, 4, "A05", ""}, {4, -INT_MAX, 4, "A01", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.start) + " " + std::to_string(c.count));
    ASSERT_EQ(db_toppos(slot, "CODE"), 0);
    for (int i = 0; i < c.start; ++i) ASSERT_EQ(db_nread(slot), 0);
    EXPECT_EQ(db_step(slot, c.count), c.moved);
    EXPECT_EQ(Code(slot), c.code);
    const bool forward = c.count > 0;
    EXPECT_EQ(GetLastReadDirection(), forward ? 1 : 2);
    if (*c.next) {
      ASSERT_EQ(forward ? db_nread(slot) : db_pread(slot), 0);
      EXPECT_EQ(Code(slot), c.next);
    } else {
      // Past the end the way back starts at the last row passed.
      EXPECT_EQ(forward ? db_nread(slot) : db_pread(slot), -1);
      ASSERT_EQ(forward ? db_pread(slot) : db_nread(slot), 0);
      EXPECT_EQ(Code(slot), c.code);
    }
  }
  ASSERT_EQ(db_toppos(slot, "CODE"), 0);
  EXPECT_EQ(db_step(slot, 0), 0);
  EXPECT_EQ(Code(slot), "A01");
  // Over a deleted row: the step counts the rows still there.
  ASSERT_EQ(db_toppos(slot, "CODE"), 0);
  ASSERT_EQ(db_nread(slot), 0);
  ASSERT_EQ(db_delete(slot), 0);  // A02
  EXPECT_EQ(db_step(slot, 2), 2);
  EXPECT_EQ(Code(slot), "A04");
  EXPECT_EQ(db_step(slot, -5), 2);
  EXPECT_EQ(Code(slot), "A01");
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(DbLayer, SlotsAndColumnEntries) {
  std::vector<int> slots;
  for (int i = 0; i < kMaxTableSlots; ++i) slots.push_back(Open("T1"));
  for (int slot : slots) ASSERT_GT(slot, 0);
  EXPECT_EQ(Open("T1"), -1);
  EXPECT_EQ(Boxes(), Texts{"24 を越えるﾃｰﾌﾞﾙはｵｰﾌﾟﾝできません。"});
  for (int slot : slots) db_close(slot);

  // A new slot's columns follow the highest in use, even above a gap.
  const int a = Open("T1");
  const int b = Open("T1");
  const int c = Open("T1");
  EXPECT_EQ(FindColumnQuiet(a, "CODE"), 1);
  EXPECT_EQ(FindColumnQuiet(c, "TOTAL"), 15);
  db_close(b);
  const int d = Open("T1");
  EXPECT_EQ(FindColumnQuiet(d, "CODE"), 16);
  // Names are found whatever their ASCII case, and read back as written.
  EXPECT_EQ(FindColumnQuiet(d, "code"), 16);
  EXPECT_STREQ(GetColumnNameByPosition(d, 1), "CODE");
}

TEST_P(DbLayer, SlotsOnOneDatabaseDoNotLockEachOtherOut) {
  const int writer = OpenFilledT1();
  const int reader = Open("T1");
  ASSERT_EQ(db_toppos(reader, "CODE"), 0);
  ASSERT_EQ(db_nread(reader), 0);
  for (int i = 6; i <= 9; ++i) {
    db_clear(writer);
    SetColumnText(writer, "CODE", ("A0" + std::to_string(i)).c_str());
    SetColumnText(writer, "NAME", "x");
    ASSERT_EQ(db_add(writer), 0);
  }
  ASSERT_EQ(db_toppos(writer, "CODE"), 0);
  SetColumnInt(writer, "QTY", 99);
  ASSERT_EQ(db_update(writer), 0);
  // The reader goes on through the rows it selected.
  ASSERT_EQ(db_nread(reader), 0);
  EXPECT_EQ(Code(reader), "A03");
  EXPECT_EQ(db_count(reader), 9);
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(DbLayer, FailuresAreReportedAndWriteNothing) {
  const int slot = OpenFilledT1();
  ASSERT_EQ(db_tfind(slot, 0), 0);
  // The same key again.
  EXPECT_EQ(db_add(slot), -1);
  Texts boxes = Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1], "“T1”に登録できません。");
  EXPECT_EQ(db_count(slot), 5);

  ForgetBoxes();
  EXPECT_EQ(db_exec(slot, "update T1 set NOSUCH=1"), -1);
  EXPECT_EQ(Boxes(), Texts{"テーブルに存在しないフィールドにアクセスしようとしました。〔T1〕\n\nupdate T1 set NOSUCH=1"});

  ForgetBoxes();
  EXPECT_EQ(db_exec(slot, "updat T1 set QTY=1"), -1);
  boxes = Boxes();
  ASSERT_EQ(boxes.size(), 2u) << testing::PrintToString(boxes) << testing::PrintToString(Captions());
  EXPECT_EQ(boxes[1], "[updat T1 set QTY=1]");

  // No current row: nothing to update or delete.
  ForgetBoxes();
  ASSERT_EQ(db_endpos(slot, "CODE"), 0);
  ASSERT_EQ(db_nread(slot), -1);
  EXPECT_EQ(db_update(slot), -1);
  EXPECT_EQ(db_delete(slot), -1);
  EXPECT_EQ(Boxes().size(), 3u);
  EXPECT_EQ(db_count(slot), 5);

  // A table whose specification file is missing cannot be created.
  ForgetBoxes();
  DeleteFileA((folder() + "\\NOSPEC.SPC").c_str());
  EXPECT_EQ(Open("NOSPEC"), -1);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].find("NOSPEC.SPC はありません。"), std::string::npos);

  ForgetBoxes();
  EXPECT_EQ(db_nread(0), -1);
  EXPECT_EQ(db_nread(kMaxTableSlots), -1);
  EXPECT_EQ(Boxes(), (Texts{"オープン・エラーです。", "テーブル「」はオープンされていません。(No.24)"}));
}

TEST_P(DbLayer, ADatabaseThatCannotBeReachedIsReported) {
  if (server()) {
    const std::string server = GetOcrIniSettings().serverName;
    SetDbServer(kDbKindServer, 7, "127.0.0.1:1");  // no server listens there
    EXPECT_EQ(db_alloc_slot("", kDb, "T1", -1), -1);
    SetDbServer(kDbKindServer, 7, server.c_str());
  } else {
    EXPECT_EQ(db_alloc_slot((folder() + "\\no_such_folder").c_str(), kDb, "T1", -1), -1);
  }
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].find("データベース“SDTEST” にアクセスできません。"), 0u);
  // The second line names where the database was looked for: the server and
  // the database there, or the file.
  if (server()) {
    EXPECT_EQ(Boxes()[0], "データベース“SDTEST” にアクセスできません。\n(サーバー：127.0.0.1:1／データベース：sdtest)");
  }
  for (int slot = 1; slot <= kMaxTableSlots; ++slot) EXPECT_EQ(GetSlotConnState(slot), 0);
}

INSTANTIATE_TEST_SUITE_P(Drivers, DbLayer, testing::Values(kDbKindFile, kDbKindServer), KindName);


// A database folder as long as a Windows path allows, with Japanese names:
// tables are made and read there. One longer is refused with its message
// and the folder stays.
TEST_P(DbLayer, ALongJapaneseDatabaseFolderIsUsedWhole) {
  if (server()) GTEST_SKIP() << "a server database has no folder";
  std::string deep = folder();
  for (int level = 0; deep.size() < 200; ++level) {
    deep += "\\長いフォルダ名の階層" + std::to_string(level);
    CreateDirectoryA(deep.c_str(), nullptr);
  }
  ASSERT_GT(deep.size(), 127u);
  for (const char* suffix : {".mdb", ".mdb-wal", ".mdb-shm"}) DeleteFileA((deep + "\\" + kDb + suffix).c_str());
  const std::string previous = GetDbFolder();
  ASSERT_EQ(SetDbFolder(deep.c_str()), 0);
  EXPECT_EQ(GetDbFolder(), deep);
  WriteSpec("T1.spc", kT1Spec);
  const int slot = Open("T1");
  ASSERT_GT(slot, 0) << testing::PrintToString(Boxes());
  db_clear(slot);
  SetColumnText(slot, "CODE", "A01");
  SetColumnText(slot, "NAME", "深い");
  ASSERT_EQ(db_add(slot), 0);
  db_close(slot);
  EXPECT_NE(GetFileAttributesA((deep + "\\" + kDb + ".mdb").c_str()), INVALID_FILE_ATTRIBUTES);
  const int again = Open("T1");
  ASSERT_GT(again, 0);
  ASSERT_EQ(db_tfind(again, 0), 0);
  EXPECT_STREQ(GetColumnText(again, "NAME"), "深い");
  db_close(again);
  EXPECT_EQ(Boxes(), Texts{});

  const std::string tooLong = deep + "\\" + std::string(100, 'x');
  EXPECT_EQ(SetDbFolder(tooLong.c_str()), -1);
  EXPECT_EQ(GetDbFolder(), deep);
  EXPECT_EQ(Boxes(), Texts{"データベースのフォルダ名が長すぎます。(259バイトまで)\n“" + tooLong + "”"});
  SetDbFolder(previous.c_str());
}

}  // namespace
