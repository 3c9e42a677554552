#include "tests/entry/list_form_fixture.h"

#include <cstdio>

#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"

namespace {

constexpr UINT kMsgMenuCommand = WM_USER + 132;  // 1156

const char kListSpec[] =
    "T_LST\r\n"
    "FIELD\r\n"
    "\"コード\",\"char*\",\"CODE\",4,0,0,\"\",4\r\n"
    "\"品名\",\"char*\",\"NAME\",40,0,0,\"\",40\r\n"
    "\"数量\",\"int\",\"QTY\",5,0,0,\"\",5\r\n"
    "\"単価\",\"double\",\"PRICE\",8,0,0,\"\",8\r\n"
    "\"備考\",\"char*\",\"NOTE\",60,0,0,\"\",60\r\n"
    "INDEX\r\n"
    "\"CODE\",\"△\"\r\n"
    "END\r\n";

// The names of the rows: a few hold what searches and SQL text trip over.
std::string NameOf(int row) {
  switch (row) {
    case 7: return "ソフト表";  // trail bytes 0x5C
    case 15: return "a\\b";     // a real backslash
    case 18: return "O'Brien";
    default: {
      char name[32];
      std::snprintf(name, sizeof name, "品名%02d", row);
      return name;
    }
  }
}

}  // namespace

std::string ListScreenText(int keyKind, const char* input, const std::string& keyCandidates) {
  const std::string candidates = keyCandidates.empty() ? "" : "FLDKOHO = " + keyCandidates + "\n";
  char text[2048];
  std::snprintf(text, sizeof text,
                "[screen]\nSCRCODE = TEST-LSTK\nSCRNAME = TEST-LSTK\nSCRTYPE = ﾘｽﾄI\nSCRTITLE = 品目一覧\n"
                "SCRTBL = T_LST\nSCRDBS = SCRTEST\nSCRINP = %s\nSCRCSIZ = 8\nSCRPOS = 左上\nLINCNT = %d\n"
                "SCRNO = 61\nSCRKEYFLD = %d\nSCRFKEY = 2222222222222000\n\n"
                "[field]\nFLDCODE = 001\nFLDNAME = CODE\nFLDTITLE = コード\nFLDLST = ○\nFLDTYPE = 数字\n"
                "FLDEDT = ZERO\nFLDSMSU = 4\nFLDX = 2\nFLDY = 3\n%s\n"
                "[field]\nFLDCODE = 002\nFLDNAME = NAME\nFLDTITLE = 品名\nFLDLST = ○\nFLDTYPE = 半角\nFLDSMSU = 20\n\n"
                "[field]\nFLDCODE = 003\nFLDNAME = QTY\nFLDTITLE = 数量\nFLDLST = ○\nFLDTYPE = 数字\n"
                "FLDEDT = 右詰\nFLDSMSU = 5\nFLDMAX = 90000\n\n"
                "[field]\nFLDCODE = 004\nFLDNAME = PRICE\nFLDTITLE = 単価\nFLDLST = ○\nFLDTYPE = 平均\n"
                "FLDSMSU = 8\nFLDDEC = 2\n\n"
                "[field]\nFLDCODE = 005\nFLDNAME = NOTE\nFLDTITLE = 備考\nFLDLST = ○\nFLDTYPE = 半角\nFLDSMSU = 30\n",
                input, kPageLines, keyKind, candidates.c_str());
  return text;
}

int MakeListTable() {
  const std::string spec = std::string(GetSpecFolder()) + "\\T_LST.SPC";
  std::FILE* file = std::fopen(spec.c_str(), "wb");
  if (!file) return -1;
  std::fputs(kListSpec, file);
  std::fclose(file);
  const int drop = db_alloc_slot("", kFixtureDb, "T_LST", -1);
  if (drop <= 0) return -1;
  ExecSlotSql(drop, "drop table T_LST", 1);
  db_disconnect(drop);
  if (CreateTableFromSpec("", kFixtureDb, "T_LST", -1, "", "T_LST") != 0) return -1;
  const int slot = db_alloc_slot("", kFixtureDb, "T_LST", -1);
  if (slot <= 0) return -1;
  int rc = 0;
  for (int row = 1; row <= kListRows && rc == 0; ++row) {
    char sql[256];
    char code[8];
    std::snprintf(code, sizeof code, "%04d", row);
    std::snprintf(sql, sizeof sql, "insert into T_LST (CODE,NAME,QTY,PRICE,NOTE) values ('%s',%s,%d,%d.5,'')", code,
                  SqlLiteral(NameOf(row).c_str()).c_str(), row * 10, row);
    rc = db_exec(slot, sql);
  }
  db_disconnect(slot);
  return rc;
}

std::vector<std::string> ListTableRows() {
  std::vector<std::string> rows;
  const int t = db_open("", kFixtureDb, "T_LST", -1, "", "", "select * from T_LST");
  if (t < 0) return {"<no table>"};
  for (int rc = db_tfind(t, 0); rc == 0; rc = db_nread(t)) {
    rows.push_back(std::string(GetColumnText(t, "CODE")) + ":" + GetColumnText(t, "NAME"));
  }
  db_close(t);
  return rows;
}

void ListFormTest::SetUp() {
  ScreenDbTest::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_EQ(MakeListTable(), 0) << Boxes();
  ASSERT_EQ(LoadTexts({{"TEST-LSTK.txt", ListScreenText(keyKind_, "Ｎ")}}), 1) << Boxes();
  ForgetBoxes();
}

void ListFormTest::RegisterWindows() {
  for (HWND window : {RegisterMenuWindow(main_), RegisterListWindow(main_), RegisterJobWindow(main_),
                      RegisterSearchWindow()}) {
    ASSERT_NE(window, nullptr);
    windows_.push_back(window);
  }
  owner_ = CreateTestWindow("owner");
  windows_.push_back(owner_);
}

int ListFormTest::OpenList() {
  const int rc = OpenScreenDef("", kFixtureDb, "TEST-LSTK", -1, -1, "", owner_);
  PumpMessages();
  return rc;
}

HWND ListFormTest::ListWindow() const { return GetWorkWindow(WorkWindow::kList); }

HWND ListFormTest::Edit() const { return Slot(g_screen.currentSlot).editControl; }

std::string ListFormTest::Cell(const char* column, int line) const {
  char name[64];
  std::snprintf(name, sizeof name, "%s%02d", column, line);
  std::string text = ValueOf(0, name);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  while (!text.empty() && text.front() == ' ') text.erase(0, 1);
  return text;
}

std::vector<std::string> ListFormTest::PageKeys() const {
  std::vector<std::string> keys;
  for (int line = 1; line <= kPageLines; ++line) keys.push_back(Cell("CODE", line));
  return keys;
}

void ListFormTest::CloseListHolding(const std::vector<BYTE>& held, bool byEsc) {
  BYTE keys[256] = {};
  for (const BYTE key : held) keys[key] = 0x80;
  SetKeyboardState(keys);
  if (byEsc) {
    PressKey(Edit(), VK_ESCAPE);
  } else {
    PostMessageA(ListWindow(), WM_CLOSE, 0, 0);
    PumpMessages();
  }
  BYTE none[256] = {};
  SetKeyboardState(none);
}

void ListFormTest::ClickCell(const char* column, int line) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%02d", column, line);
  const int item = ResolveFieldRef(0, name);
  ASSERT_GE(item, 0) << name;
  const RECT r = ItemPixelRect(item);
  ClickAt(ListWindow(), r.left + 3 - Slot(0).scrollX, r.top + 3 - Slot(0).scrollY);
  ASSERT_EQ(g_screen.currentItem, item) << "the click focuses " << name;
}

void ListFormTest::TypeIntoCell(const char* column, int line, const char* text) {
  ClickCell(column, line);
  SendMessageA(Edit(), EM_SETSEL, 0, -1);  // what was there is typed over
  TypeText(Edit(), text);
  PressKey(Edit(), VK_RETURN);
}

void ListFormTest::ChooseMenuCommand(int command) {
  PostMessageA(ListWindow(), kMsgMenuCommand, command, 0);
  PumpMessages();
}

int ListFormTest::TopSlot() {
  for (int s = kWindowSlotCount - 1; s > 0; --s) {
    if (Slot(s).state != kFreeSlotState) return s;
  }
  return -1;
}
