#include "tests/screen/screen_fixture_data.h"

#include <cstdio>

#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/db_sql.h"
#include "foundation/spc_file.h"
#include "screen/screen.h"
#include "tests/support/test_pictures.h"

namespace {

const char kItemsSpec[] =
    "T_ITEMS\r\n"
    "FIELD\r\n"
    "\"コード\",\"char*\",\"CODE\",4,0,0,\"\",4\r\n"
    "\"品名\",\"char*\",\"NAME\",40,0,0,\"\",40\r\n"
    "\"数量\",\"int\",\"QTY\",5,0,0,\"\",5\r\n"
    "\"分類\",\"char*\",\"CAT\",2,0,0,\"\",2\r\n"
    "\"点数１\",\"int\",\"SCORE01\",3,0,0,\"\",3\r\n"
    "\"点数２\",\"int\",\"SCORE02\",3,0,0,\"\",3\r\n"
    "\"点数３\",\"int\",\"SCORE03\",3,0,0,\"\",3\r\n"
    "\"点数４\",\"int\",\"SCORE04\",3,0,0,\"\",3\r\n"
    "INDEX\r\n"
    "\"CODE\",\"△\"\r\n"
    "END\r\n";

const char kCategoriesSpec[] =
    "T_CATS\r\n"
    "FIELD\r\n"
    "\"分類\",\"char*\",\"CAT\",2,0,0,\"\",2\r\n"
    "\"分類名\",\"char*\",\"CATNAME\",20,0,0,\"\",20\r\n"
    "INDEX\r\n"
    "\"CAT\",\"△\"\r\n"
    "END\r\n";

struct Category {
  const char* code;
  const char* name;
};
const Category kCategories[] = {{"01", "果物"}, {"02", "文具"}, {"03", "表示ソフト"}};


// Drops tables of the fixture database, quietly.
void DropTables(std::initializer_list<const char*> tables) {
  const int slot = db_alloc_slot("", kFixtureDb, "T_ITEMS", -1);
  if (slot <= 0) return;
  for (const char* table : tables) ExecSlotSql(slot, (std::string("drop table ") + table).c_str(), 1);
  db_disconnect(slot);
}

int MakeTable(const char* table, const std::vector<std::string>& inserts) {
  if (CreateTableFromSpec("", kFixtureDb, table, -1, "", table) != 0) return -1;
  const int slot = db_alloc_slot("", kFixtureDb, table, -1);
  if (slot <= 0) return -1;
  int rc = 0;
  for (const std::string& insert : inserts) rc = rc ? rc : db_exec(slot, insert.c_str());
  db_disconnect(slot);
  return rc;
}

}  // namespace

const FixtureItem kFixtureItems[] = {
    {"0001", "りんご", 12, "01", {80, 75, 90, 60}},
    {"0002", "ノート（Ａ４）", 30, "02", {55, 65, 70, 85}},
    {"0003", "O'Brien の表ソ", 5, "03", {100, 95, 90, 85}},
    {"0004", "みかん", 48, "01", {40, 50, 60, 70}},
};
const int kFixtureItemCount = static_cast<int>(sizeof kFixtureItems / sizeof kFixtureItems[0]);

void UseFixtureDatabase(int kind, const std::string& folder, const ServerLogin& login) {
  SetSpecFolder(folder.c_str());
  SetDbFolder(folder.c_str());
  if (kind == kDbKindServer) {
    SetDbServer(kDbKindServer, 7, login.server.c_str());
    SetDbLogin(login.user.c_str(), login.password.c_str());
  } else {
    SetDbServer(kDbKindFile, 7, "");
    SetDbLogin("", "");
  }
  g_screenDefs.screenDbKind = kind;
}

int PrepareFixtureTables() {
  const std::string folder = GetSpecFolder();
  for (const char* spec : {"FSCRTBL3.SPC", "FSCRTBL2.SPC", "MUPADATA.SPC"}) {
    std::string text;
    if (!ReadWholeFile((GetProgramFolder() + "\\" + spec).c_str(), text) || !WriteBytes(folder + "\\" + spec, text)) {
      return -1;
    }
  }
  if (!WriteBytes(folder + "\\T_ITEMS.SPC", kItemsSpec) || !WriteBytes(folder + "\\T_CATS.SPC", kCategoriesSpec)) {
    return -1;
  }
  DropTables({"T_ITEMS", "T_CATS"});
  DropScreenTables();
  std::vector<std::string> items;
  for (const FixtureItem& item : kFixtureItems) {
    char values[128];
    std::snprintf(values, sizeof values, "%d,%s,%d,%d,%d,%d", item.quantity, SqlLiteral(item.category).c_str(),
                  item.scores[0], item.scores[1], item.scores[2], item.scores[3]);
    items.push_back("insert into T_ITEMS (CODE,NAME,QTY,CAT,SCORE01,SCORE02,SCORE03,SCORE04) values (" +
                    SqlLiteral(item.code) + "," + SqlLiteral(item.name) + "," + values + ")");
  }
  std::vector<std::string> categories;
  for (const Category& c : kCategories) {
    categories.push_back("insert into T_CATS (CAT,CATNAME) values (" + SqlLiteral(c.code) + "," +
                         SqlLiteral(c.name) + ")");
  }
  return MakeTable("T_ITEMS", items) == 0 && MakeTable("T_CATS", categories) == 0 ? 0 : -1;
}

void DropScreenTables() { DropTables({kScreenTable, kFieldTable, kLineTable}); }

void ForgetWorkWindows() {
  for (WorkWindow which : {WorkWindow::kMenu, WorkWindow::kList, WorkWindow::kCard, WorkWindow::kSet}) {
    SetWorkWindow(which, nullptr);
  }
}
