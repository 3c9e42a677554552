// The card form's test fixture: the card screen's text and the statements
// on its table.
#include "tests/entry/card_form_fixture.h"

#include <cstdio>

#include "foundation/db.h"

std::string CardScreenText(const char* input) {
  char text[2048];
  std::snprintf(text, sizeof text,
                "[screen]\nSCRCODE = TEST-CARDF\nSCRNAME = TEST-CARDF\nSCRTYPE = ｶｰﾄﾞ\nSCRTITLE = 商品カード\n"
                "SCRTBL = T_ITEMS\nSCRDBS = SCRTEST\nSCRINP = %s\nSCRCSIZ = 8\nSCRWID = 90\nSCRHIG = 30\n"
                "SCRPOS = 左上\nSCRNO = %d\nSCRFKEY = 2222222222222000\n\n"
                "[field]\nFLDCODE = 001\nFLDNAME = CODE\nFLDTITLE = コード\nFLDTYPE = 数字\nFLDEDT = ZERO\n"
                "FLDSMSU = 4\nFLDX = 14\nFLDY = 3\nFLDUNQ = ×\n\n"
                "[field]\nFLDCODE = 002\nFLDNAME = NAME\nFLDTITLE = 品名\nFLDTYPE = 半角\nFLDSMSU = 30\n"
                "FLDX = 14\nFLDY = 5\nFLDUNQ = →\n\n"
                "[field]\nFLDCODE = 003\nFLDNAME = QTY\nFLDTITLE = 数量\nFLDTYPE = 数字\nFLDEDT = 右詰\n"
                "FLDSMSU = 6\nFLDX = 14\nFLDY = 12\nFLDTFLG = 2\n\n"
                "[field]\nFLDCODE = 004\nFLDNAME = CAT\nFLDTITLE = 分類\nFLDTYPE = 半角\nFLDSMSU = 2\n"
                "FLDX = 14\nFLDY = 20\nFLDUNQ = ×\n",
                input, kCardNumber);
  return text;
}

int ExecOnItems(const std::string& sql) {
  const int t = db_alloc_slot("", kFixtureDb, "T_ITEMS", -1);
  if (t <= 0) return -1;
  const int rc = db_exec(t, sql.c_str());
  db_disconnect(t);
  return rc;
}
