// What the list changed since it opened, kept so that the operator can
// give it all up as the list closes: before a write reaches a row, the row
// as it was (or that its key had none) is read once through a connection of
// its own; giving the session up puts every kept key back as it was, in one
// transaction.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "entry/list_form.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "screen/screen.h"

namespace {

struct KeptColumn {
  std::string name;
  int type = 0;
};

// A row's values in the order of `columns`.
using KeptRow = std::vector<std::string>;

struct ListSession {
  std::vector<KeptColumn> columns;
  // By key: the row before the session wrote it, none when it had no row.
  std::map<std::string, std::optional<KeptRow>> rows;
  bool wholeTable = false;  // every row is kept: rows the session adds under any key go too
};
ListSession g_session;

int Table() { return g_listForm.tableSlot; }

std::string KeyColumnOf() { return g_listForm.table + "." + g_listForm.keyColumn; }

// Reads the rows `where` selects into the session, those of keys not kept
// yet: 0, or -1 when the table could not be read (reported).
int KeepRowsWhere(const std::string& where) {
  if (!IsValidSlot(g_listForm.slot)) return -1;
  const ScreenDataSet& set = Slot(g_listForm.slot).dataSet;
  const int t = db_open(set.folder.c_str(), set.database.c_str(), set.table.c_str(), set.dbKind,
                        set.specFile.c_str(), set.specBlock.c_str(), "%s",
                        ("select * from " + g_listForm.table + " " + where).c_str());
  if (t < 0) return -1;
  const int count = GetSlotColumnCount(t);
  if (g_session.columns.empty()) {
    for (int p = 1; p <= count; ++p) {
      g_session.columns.push_back({GetColumnNameByPosition(t, p), GetColumnTypeByPosition(t, p)});
    }
  }
  const int key = FindColumnPosition(t, g_listForm.keyColumn.c_str());
  for (int rc = db_tfind(t, 0); rc == 0; rc = db_nread(t)) {
    auto& kept = g_session.rows[GetColumnAsTextByPosition(t, key)];
    if (kept) continue;
    KeptRow row;
    for (int p = 1; p <= count; ++p) row.push_back(GetColumnAsTextByPosition(t, p));
    kept = std::move(row);
  }
  db_close(t);
  return 0;
}

std::string KeyList(const std::vector<std::string>& keys) {
  std::string list;
  for (const std::string& key : keys) list += (list.empty() ? "" : ",") + SqlLiteral(key.c_str());
  return list;
}

int InsertKeptRow(const KeptRow& row) {
  std::string names, values;
  for (size_t c = 0; c < g_session.columns.size(); ++c) {
    names += (c ? "," : "") + g_session.columns[c].name;
    values += (c ? "," : "") + ColumnValueText(g_session.columns[c].type, row[c]);
  }
  return db_exec(Table(), ("insert into " + g_listForm.table + " (" + names + ") values (" + values + ")").c_str());
}

}  // namespace

int KeepListRows(const std::vector<std::string>& keys) {
  std::vector<std::string> fresh;
  for (const std::string& key : keys) {
    if (!key.empty() && !g_session.wholeTable && !g_session.rows.count(key)) fresh.push_back(key);
  }
  if (fresh.empty()) return 0;
  if (KeepRowsWhere("where " + KeyColumnOf() + " in (" + KeyList(fresh) + ")") != 0) return -1;
  // A key the table lacked is kept as one to be emptied again.
  for (const std::string& key : fresh) g_session.rows.try_emplace(key);
  return 0;
}

int KeepListRowsBetween(const std::string& start, const std::string& end) {
  if (g_session.wholeTable) return 0;
  if (start.empty() && end.empty()) {
    if (KeepRowsWhere("") != 0) return -1;
    g_session.wholeTable = true;
    return 0;
  }
  return KeepRowsWhere("where " + KeyColumnOf() + ">=" + SqlLiteral(start.c_str()) + " and " + KeyColumnOf() +
                       "<=" + SqlLiteral(end.c_str()));
}

bool ListSessionChanged() { return g_session.wholeTable || !g_session.rows.empty(); }

void ForgetListSession() { g_session = ListSession(); }

int DiscardListSession() {
  if (!ListSessionChanged()) return 0;
  if (BeginTableTransaction(Table()) != 0) return -1;
  int rc = 0;
  if (g_session.wholeTable) {
    rc = db_exec(Table(), ("delete from " + g_listForm.table).c_str());
  } else {
    std::vector<std::string> keys;
    for (const auto& kept : g_session.rows) keys.push_back(kept.first);
    rc = db_exec(Table(), ("delete from " + g_listForm.table + " where " + KeyColumnOf() + " in (" + KeyList(keys) +
                           ")").c_str());
  }
  for (auto kept = g_session.rows.begin(); rc == 0 && kept != g_session.rows.end(); ++kept) {
    if (kept->second) rc = InsertKeptRow(*kept->second);
  }
  rc = EndTableTransaction(Table(), rc == 0) == 0 ? rc : -1;
  if (rc == 0) ForgetListSession();
  return rc;
}
