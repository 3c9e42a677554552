// Codes of a list column linked to a master table: a new record's code
// typed into such a column must be one the master holds. The link is the
// column's candidates text: "#<database>\<table>" (or "#<database>#<table>";
// "#<table>" alone is a table of the list's own database), then optionally
// "<n>" to search by the first column of key n instead of the column's own
// name; a "(" followed by a token starting with "1", from the fourth token
// on, turns the look-up off.
#include <cstdlib>
#include <string>
#include <vector>

#include "entry/list_form.h"
#include "foundation/csv_token.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "foundation/path_split.h"
#include "screen/screen.h"

namespace {

constexpr int kLinkTokens = 300;
constexpr int kLinkTokenBytes = 400;

struct MasterLink {
  std::string database, table;
  int keyNumber = -1;  // -1: search by the column's own name
};

// The master of a column's link: false when the column has none or its
// look-up is turned off.
bool ReadMasterLink(const std::string& text, const std::string& ownDatabase, MasterLink* link) {
  if (text.size() < 2 || text[0] != '#') return false;
  const std::vector<std::string> tokens = SplitCsvFields(text.c_str(), kLinkTokenBytes, kLinkTokens);
  for (size_t at = 3; at + 1 < tokens.size(); ++at) {
    if (tokens[at] == "(" && tokens[at + 1][0] == '1') return false;
  }
  const std::string path = tokens[0].substr(1);
  const size_t first = FindFirstPathDelimiter(path, "#\\");
  link->database = first == std::string::npos ? ownDatabase : path.substr(0, first);
  link->table = PathFileName(path, "#\\");
  if (link->database.empty() || link->table.empty()) return false;
  if (tokens.size() > 1 && tokens[1][0] == '<') link->keyNumber = std::atoi(tokens[1].c_str() + 1);
  return true;
}

}  // namespace

int LookUpLinkedCode(int column, int line, const std::string& code) {
  const ListColumn& c = g_list.columns[column];
  const ScreenDataSet& set = Slot(g_listForm.slot).dataSet;
  MasterLink link;
  if (code.empty() || !ReadMasterLink(c.choices, set.database, &link)) return 0;
  const int master = db_open_nocreate(set.folder.c_str(), link.database.c_str(), link.table.c_str(), set.dbKind,
                                      "", "", "select * from %s", link.table.c_str());
  bool found = false;
  if (master > 0) {
    found = (link.keyNumber >= 0 ? db_search_key(master, code.c_str(), link.keyNumber)
                                 : db_search(master, code.c_str(), c.name.c_str())) == 0;
    db_close(master);
  }
  if (found) return 0;
  ShowInfoMessage("", "コード“%s”は登録されていません。", code.c_str());
  SetListCellText(column, line, "");
  return -1;
}
