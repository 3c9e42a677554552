// The single-record form under Wine: a settings form over a table T_SUP
// of one row with a 3-digit key, made when it is missing, edited with the
// mouse and keys and written back as the form closes or its owner asks; on
// the file database (SQLite) and the server database (PostgreSQL).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"
#include "tests/entry/form_input.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/test_pictures.h"

namespace {

constexpr int kSupNumber = 43;

const char kSupSpec[] =
    "T_SUP\r\n"
    "FIELD\r\n"
    "\"コード\",\"char*\",\"CODE\",3,0,0,\"\",3\r\n"
    "\"会社名\",\"char*\",\"NAME\",30,0,0,\"\",30\r\n"
    "\"件数\",\"int\",\"QTY\",5,0,0,\"\",5\r\n"
    "INDEX\r\n"
    "\"CODE\",\"△\"\r\n"
    "END\r\n";

// The settings form; `type` "ｾｯﾄ" opens with input off, "ｾｯﾄE" with input on.
std::string SupScreenText(const char* type) {
  char text[1024];
  std::snprintf(text, sizeof text,
                "[screen]\nSCRCODE = TEST-SUPF\nSCRNAME = TEST-SUPF\nSCRTYPE = %s\nSCRTITLE = 会社の設定\n"
                "SCRTBL = T_SUP\nSCRDBS = SCRTEST\nSCRCSIZ = 8\nSCRWID = 72\nSCRHIG = 12\nSCRPOS = 左上\n"
                "SCRNO = %d\nSCRFKEY = 2222222222222000\n\n"
                "[field]\nFLDCODE = 001\nFLDNAME = CODE\nFLDTITLE = コード\nFLDTYPE = 半角\nFLDSMSU = 3\n"
                "FLDX = 14\nFLDY = 3\n\n"
                "[field]\nFLDCODE = 002\nFLDNAME = NAME\nFLDTITLE = 会社名\nFLDTYPE = 半角\nFLDSMSU = 30\n"
                "FLDX = 14\nFLDY = 5\n\n"
                "[field]\nFLDCODE = 003\nFLDNAME = QTY\nFLDTITLE = 件数\nFLDTYPE = 数字\nFLDEDT = 右詰\n"
                "FLDSMSU = 5\nFLDX = 14\nFLDY = 7\n",
                type, kSupNumber);
  return text;
}

int ExecOnSup(const std::string& sql) {
  const int t = db_alloc_slot("", kFixtureDb, "T_SUP", -1);
  if (t <= 0) return -1;
  const int rc = db_exec(t, sql.c_str());
  db_disconnect(t);
  return rc;
}

// "CODE:NAME:QTY" of every row of T_SUP in key order.
std::vector<std::string> SupRows() {
  std::vector<std::string> rows;
  const int t = db_open("", kFixtureDb, "T_SUP", -1, "", "", "select * from T_SUP order by CODE");
  if (t < 0) return {"<no table>"};
  for (int rc = db_tfind(t, 0); rc == 0; rc = db_nread(t)) {
    rows.push_back(std::string(GetColumnText(t, "CODE")) + ":" + GetColumnText(t, "NAME") + ":" +
                   std::to_string(GetColumnInt(t, "QTY")));
  }
  db_close(t);
  return rows;
}

// While set, the owner keeps the form open when it asks (1146).
bool g_vetoClose = false;
WNDPROC g_ownerProc = nullptr;

LRESULT CALLBACK VetoingOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallWindowProcA(g_ownerProc, window, message, wParam, lParam);
  if (message == kMsgCloseQuery && g_vetoClose) CancelListWindowClose();
  return result;
}

class SingleRecordFormTest : public ScreenDbTest {
 protected:
  void SetUp() override {
    ScreenDbTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(WriteBytes(std::string(GetSpecFolder()) + "\\T_SUP.SPC", kSupSpec));
    ExecOnSup("drop table T_SUP");
    ForgetBoxes();
  }
  void TearDown() override {
    g_vetoClose = false;
    ScreenDbTest::TearDown();
  }
  void RegisterWindows() override {
    for (HWND window : {RegisterMenuWindow(main_), RegisterSupWindow(main_)}) {
      ASSERT_NE(window, nullptr);
      windows_.push_back(window);
    }
    owner_ = CreateTestWindow("owner");
    g_ownerProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(VetoingOwnerProc)));
    windows_.push_back(owner_);
  }

  int OpenSup(const char* type) {
    if (LoadTexts({{"TEST-SUPF.txt", SupScreenText(type)}}) != 1) return -1;
    ForgetBoxes();
    const int rc = OpenScreenDef("", kFixtureDb, "TEST-SUPF", -1, -1, "", owner_);
    PumpMessages();
    return rc;
  }

  HWND Form() const { return GetWorkWindow(WorkWindow::kSet); }
  HWND Edit() const { return Slot(0).editControl; }
  std::string Field(const char* name) const { return ShownText(0, name); }
  void TypeInto(const char* name, const char* text) { ASSERT_TRUE(TypeIntoField(0, name, text)) << name; }

  HWND owner_ = nullptr;
};

TEST_P(SingleRecordFormTest, AnEmptyTableGetsItsOneRowWithTheFirstKey) {
  ASSERT_EQ(OpenSup("ｾｯﾄE"), 0) << Boxes();
  EXPECT_EQ(SupRows(), std::vector<std::string>{"001::0"});
  EXPECT_EQ(Field("CODE"), "001");
  EXPECT_EQ(Field("NAME"), "");
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(SingleRecordFormTest, EscapeWritesTheEditedValuesBackBeforeTheFormCloses) {
  ASSERT_EQ(CreateTableFromSpec("", kFixtureDb, "T_SUP", -1, "", "T_SUP"), 0) << Boxes();
  ASSERT_EQ(ExecOnSup("insert into T_SUP (CODE,NAME,QTY) values ('007','旧社名',3)"), 0);
  ASSERT_EQ(OpenSup("ｾｯﾄ"), 0) << Boxes();
  EXPECT_EQ(Field("NAME"), "旧社名");
  EXPECT_EQ(Field("QTY"), "3");
  EXPECT_EQ(Field("CODE"), "007");
  // Input is off: the fields take no focus until F12 (its key-bar button).
  EXPECT_EQ(Item(ResolveFieldRef(0, "NAME")).state, kItemProtected);
  ClickItem(0, FindFieldByKey(123));
  PumpMessages();
  EXPECT_EQ(Item(ResolveFieldRef(0, "NAME")).state, kItemEnabled);
  EXPECT_EQ(Field("CODE"), "007") << "switching input on keeps the values";
  TypeInto("NAME", "O'Brien 表ソ");
  PressKey(Edit(), VK_TAB);
  TypeInto("QTY", "42");
  ClearMessages(owner_);
  PressKey(Edit(), VK_ESCAPE);
  PumpMessages();
  EXPECT_EQ(Slot(0).window, nullptr) << "Esc closed the form";
  EXPECT_EQ(SupRows(), std::vector<std::string>{"007:O'Brien 表ソ:42"});
  const std::vector<ReceivedMessage>& messages = MessagesOf(owner_);
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[messages.size() - 2], (ReceivedMessage{kMsgCloseQuery, kSupNumber, 0}));
  EXPECT_EQ(messages.back(), (ReceivedMessage{kMsgScreenClosed, kSupNumber, 0}));
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(SingleRecordFormTest, TheOwnerMayKeepTheFormOpen) {
  ASSERT_EQ(OpenSup("ｾｯﾄE"), 0) << Boxes();
  TypeInto("NAME", "残す");
  g_vetoClose = true;
  PressKey(Edit(), VK_ESCAPE);
  PumpMessages();
  ASSERT_NE(Slot(0).window, nullptr) << "the owner refused the close";
  EXPECT_EQ(SupRows(), std::vector<std::string>{"001::0"}) << "nothing written while the form stays";
  g_vetoClose = false;
  SendMessageA(Form(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Slot(0).window, nullptr);
  EXPECT_EQ(SupRows(), std::vector<std::string>{"001:残す:0"});
}

TEST_P(SingleRecordFormTest, ARowThatVanishedIsNotWrittenAgain) {
  ASSERT_EQ(OpenSup("ｾｯﾄE"), 0) << Boxes();
  TypeInto("NAME", "消えた行");
  PressKey(Edit(), VK_TAB);
  ASSERT_EQ(ExecOnSup("delete from T_SUP"), 0);
  // The owner asks for the values (1127): the row is gone.
  SendMessageA(Form(), kMsgFieldChosen, 0, 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"001を検索できません。"});
  EXPECT_EQ(Field("NAME"), "消えた行") << "the values stay on the form";
  EXPECT_TRUE(SupRows().empty());
}

INSTANTIATE_TEST_SUITE_P(Databases, SingleRecordFormTest, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
