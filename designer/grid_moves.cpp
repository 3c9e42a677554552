// Moving rows of the sheet definition between the sides of a sheet: the
// rows marked in the move grid (表面裏面 1) take the codes after the last of
// their kind on the other side, and the rows that stay are numbered again
// from the kind's first code. Everything is read first and written in one
// transaction of the grid's data set, so a refused write leaves both sides
// as they were. Up to 999 rows of a kind a side.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "designer/grids.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr int kLastCodeNumber = 999;

std::string CodeOf(char kind, int number) {
  char code[8];
  std::snprintf(code, sizeof code, "%c%03d", kind, number);
  return code;
}

int NumberOf(const std::string& code) { return code.size() == 4 ? std::atoi(code.c_str() + 1) : 0; }

// The rows of a kind on a side in code order: their codes, and whether
// each is marked for moving. -1 after the database layer's message.
struct KindRows {
  std::vector<std::string> codes;
  std::vector<bool> marked;
};

int ReadKindRows(const std::string& side, char kind, KindRows* rows) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const std::string first = CodeOf(kind, 1), last = CodeOf(kind, kLastCodeNumber);
  const int t = db_open(sheet.folder.c_str(), sheet.database.c_str(), kFieldRowTable, sheet.kind, kSheetSpecSet,
                        kFieldRowTable, "select * from MUPA_FLD where ＯＣＲコード=%s and 領域コード>=%s and 領域コード<=%s",
                        SqlLiteral(side.c_str()).c_str(), SqlLiteral(first.c_str()).c_str(),
                        SqlLiteral(last.c_str()).c_str());
  if (t < 0) return -1;
  for (int rc = db_toppos(t, "領域コード"); rc == 0; rc = db_nread(t)) {
    rows->codes.push_back(GetColumnText(t, "領域コード"));
    rows->marked.push_back(GetColumnInt(t, "表面裏面") == 1);
  }
  db_close(t);
  return 0;
}

std::string SideName(const std::string& side) {
  if (g_sheetSettings.twoSheetSet) return side == "0001" ? "「１枚目」" : "「２枚目」";
  return side == "0001" ? "「表面」" : "「裏面」";
}

int Exec(int t, const std::string& sql) { return db_exec(t, sql.c_str()); }

// The writes of a move: rolled back unless committed.
class MoveTransaction {
 public:
  explicit MoveTransaction(int slot) : slot_(slot), open_(BeginTableTransaction(slot) == 0) {}
  ~MoveTransaction() {
    if (open_) EndTableTransaction(slot_, false);
  }
  MoveTransaction(const MoveTransaction&) = delete;
  MoveTransaction& operator=(const MoveTransaction&) = delete;
  bool open() const { return open_; }
  int Commit() {
    open_ = false;
    return EndTableTransaction(slot_, true);
  }

 private:
  int slot_;
  bool open_;
};

}  // namespace

int NextAreaCodeOfSide(const std::string& sheetCode, std::string* code, char kind) {
  KindRows rows;
  if (ReadKindRows(sheetCode, kind, &rows) != 0) return -1;
  const int next = rows.codes.empty() ? 1 : NumberOf(rows.codes.back()) + 1;
  if (next > kLastCodeNumber) return -2;
  *code = CodeOf(kind, next);
  return 0;
}

int RenumberAreaCodes(int tableSlot, char kind, const std::vector<std::string>& codes) {
  const std::string side = SqlLiteral(g_sheetDefinition.sheetCode.c_str());
  // In code order each row's new code is at or below its old one and free:
  // the rows before it took the codes below.
  for (size_t k = 0; k < codes.size(); ++k) {
    const std::string wanted = CodeOf(kind, static_cast<int>(k) + 1);
    if (codes[k] == wanted) continue;
    if (Exec(tableSlot, "update MUPA_FLD set 領域コード=" + SqlLiteral(wanted.c_str()) + " where ＯＣＲコード=" + side +
                            " and 領域コード=" + SqlLiteral(codes[k].c_str())) != 0) {
      return -1;
    }
  }
  return 0;
}

int MoveFieldsToSide(int kind) {
  const char letter = kind == 1 ? '0' : 'T';
  const std::string side = g_sheetDefinition.sheetCode;
  const std::string target = side == "0001" ? "0002" : "0001";
  KindRows rows;
  if (ReadKindRows(side, letter, &rows) != 0) return -1;
  std::vector<std::string> moving, staying;
  for (size_t k = 0; k < rows.codes.size(); ++k) (rows.marked[k] ? moving : staying).push_back(rows.codes[k]);
  if (moving.empty()) {
    ShowInfoMessage("", "移動する項目が設定されていません");
    return 0;
  }
  if (AskYesNo("", "「移動」欄にチェックされた項目を%sに移動します", SideName(target).c_str()) != IDYES) return 0;
  std::string next;
  const int found = NextAreaCodeOfSide(target, &next, letter);
  if (found == -1) return -1;
  if (found != 0 || NumberOf(next) + static_cast<int>(moving.size()) - 1 > kLastCodeNumber) {
    ShowInfoMessage("", "%sの番号（%c001～%c999）が足りないため、移動できません。", SideName(target).c_str(), letter,
                    letter);
    return -1;
  }

  // The grid's own data set carries the writes (it reads the table again
  // afterwards); without the grid a slot of its own.
  const int gridSet = IsValidSlot(g_openGrid.slot) ? Slot(g_openGrid.slot).dataSet.tableSlot : -1;
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int t = gridSet > 0 ? gridSet
                            : db_open(sheet.folder.c_str(), sheet.database.c_str(), kFieldRowTable, sheet.kind,
                                      kSheetSpecSet, kFieldRowTable, "");
  if (t < 0) return -1;
  int rc = -1;
  {
    MoveTransaction transaction(t);
    if (transaction.open()) {
      int number = NumberOf(next);
      rc = 0;
      for (const std::string& code : moving) {
        rc = Exec(t, "update MUPA_FLD set ＯＣＲコード=" + SqlLiteral(target.c_str()) + ",領域コード=" +
                         SqlLiteral(CodeOf(letter, number++).c_str()) + ",表面裏面=0 where ＯＣＲコード=" +
                         SqlLiteral(side.c_str()) + " and 領域コード=" + SqlLiteral(code.c_str()));
        if (rc != 0) break;
      }
      if (rc == 0) rc = RenumberAreaCodes(t, letter, staying);
      if (rc == 0) rc = transaction.Commit();
    }
  }
  if (gridSet <= 0) db_close(t);
  return rc == 0 ? static_cast<int>(moving.size()) : -1;
}
