// Whole-set operations of the open field grid: the Y coordinates of the
// question rows set in steps of the guide spacing. Written in one
// transaction of the grid's data set: a refused write leaves every row as
// it was.
#include <string>
#include <vector>

#include "designer/grids.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr char kQuestionPrefix[] = "質問";
// Sheet dots of one step: a question row every two guide lines of 4 dots
// a millimetre.
constexpr int kDotsPerSpacing = 8;

struct QuestionRow {
  std::string code;
  int y = 0;
};

}  // namespace

int AdjustFieldYCoordinates() {
  if (!IsValidSlot(g_openGrid.slot)) return -1;
  const int t = Slot(g_openGrid.slot).dataSet.tableSlot;
  if (t <= 0) return -1;
  if (AskYesNo("", "Ｙ座標の調整を行います。") != IDYES) return -1;
  std::vector<QuestionRow> rows;
  for (int rc = db_toppos(t, "領域コード"); rc == 0; rc = db_nread(t)) {
    const std::string name = GetColumnText(t, "領域名");
    if (name.compare(0, sizeof kQuestionPrefix - 1, kQuestionPrefix) != 0) continue;
    rows.push_back({GetColumnText(t, "領域コード"), GetColumnInt(t, "Ｙ座標")});
  }
  if (rows.empty()) return 0;
  const int step = g_sheetSettings.guideDown * kDotsPerSpacing;
  const std::string side = SqlLiteral(g_sheetDefinition.sheetCode.c_str());
  int rc = BeginTableTransaction(t);
  for (size_t n = 1; rc == 0 && n < rows.size(); ++n) {
    const int y = rows[0].y + static_cast<int>(n) * step;
    rc = db_exec(t, ("update MUPA_FLD set Ｙ座標=" + std::to_string(y) + " where ＯＣＲコード=" + side +
                     " and 領域コード=" + SqlLiteral(rows[n].code.c_str())).c_str());
  }
  if (EndTableTransaction(t, rc == 0) != 0) rc = -1;
  RefreshOpenGrid();
  return rc;
}
