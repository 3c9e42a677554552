// Master look-ups of the candidate pop-up: the rows of a master table shown
// in key order from the field's value on (an address table only from the
// value's first two characters on), and the chosen row fetched again and
// spread over the field and its neighbours. Values go into conditions only
// as SQL literals. The table stays open while the pop-up is shown.
#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/bounded_format.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "foundation/text_utils.h"
#include "screen/popup_internal.h"

namespace {

// Spelled as bytes: the table names the address look-up is known by.
constexpr char kAddressPrefix[] = "\x8f\x5a\x8f\x8a";                          // 住所
constexpr char kNationalAddressPrefix[] = "\x91\x53\x8d\x91\x8f\x5a\x8f\x8a";  // 全国住所

constexpr int kNumericColumnWidth = 10;

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

std::string WithoutTrailingBlanks(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// The first `count` characters of `text`.
std::string FirstChars(const std::string& text, int count) {
  size_t k = 0;
  for (int n = 0; n < count && k < text.size(); ++n) k += SjisCharLength(text.c_str() + k);
  return text.substr(0, k);
}

struct TableName {
  std::string database;
  std::string table;
};

// "\DB\TABLE": the database and the table; "#TABLE": a table of the slot's
// own database.
TableName SplitTableReference(const std::string& reference, const WindowSlot& s) {
  std::vector<char> buffer(reference.size() + 1);
  TableName name;
  if (reference[0] == '#') {
    GetPathSegment(buffer.data(), reference.c_str());
    name.table = buffer.data();
    name.database = s.dataSet.database;
    return name;
  }
  GetPathSegment(buffer.data(), reference.c_str());
  name.database = buffer.data();
  GetLastPathSegment(buffer.data(), reference.c_str());
  name.table = buffer.data();
  return name;
}

void ReadRows(CandidatePopup& p, int rc) {
  for (; rc == 0; rc = db_nread(p.tableSlot)) {
    LookupRow row;
    row.key = GetColumnText(p.tableSlot, p.keyColumn.c_str());
    for (const std::string& column : p.list.columns) {
      row.cells.push_back(WithoutTrailingBlanks(GetColumnText(p.tableSlot, column.c_str())));
    }
    p.rows.push_back(row);
  }
}

// The next field after `from` in item order that takes a value.
int NextFillable(const WindowSlot& s, int from) {
  for (int i = from + 1; i <= s.lastItem; ++i) {
    if (!IsButtonOrMark(Item(i).kind)) return i;
  }
  return -1;
}

// The nearest field to the right of `from` on its row.
int NearestToTheRight(const WindowSlot& s, int from) {
  const ScreenItem& origin = Item(from);
  int best = -1;
  for (int i = s.firstItem; i <= s.lastItem; ++i) {
    const ScreenItem& item = Item(i);
    if (i == from || IsButtonOrMark(item.kind) || item.pixelY != origin.pixelY) continue;
    if (item.pixelX <= origin.pixelX) continue;
    if (best < 0 || item.pixelX < Item(best).pixelX) best = i;
  }
  return best;
}

void FillField(int slot, int item, const std::string& text) {
  const ScreenItem& target = Item(item);
  const int length = target.length > 0 ? target.length : static_cast<int>(text.size());
  const std::string cut =
      text.substr(0, CharBoundaryLength(text.c_str(), std::min<int>(length, text.size())));
  SetItemValueAt(slot, item, cut.c_str());
}

}  // namespace

int OpenLookupRows(CandidatePopup& p, const char* value) {
  p.rows.clear();
  p.columnWidths.clear();
  const WindowSlot& s = Slot(p.slot);
  const TableName name = SplitTableReference(p.list.tableReference, s);
  const std::string folder = s.dataSet.folder.empty() ? GetDbFolder() : s.dataSet.folder;
  p.tableSlot =
      db_open_nocreate(folder.c_str(), name.database.c_str(), name.table.c_str(), -1, "", "", "");
  if (p.tableSlot < 0) {
    ShowInfoMessage("", "テーブル“%s”は、作成されていません。", name.table.c_str());
    return -2;
  }
  if (p.list.keyNumber >= 0) {
    GetKeyColumns(p.tableSlot, p.keyColumn, p.list.keyNumber);
  } else {
    p.keyColumn = p.list.keyColumn;
  }
  for (const std::string& column : p.list.columns) {
    const int type = GetColumnType(p.tableSlot, column.c_str());
    p.columnWidths.push_back(type == 3 || type == 4 || type == 6
                                 ? kNumericColumnWidth
                                 : GetColumnLength(p.tableSlot, column.c_str()) + 2);
  }
  const bool address =
      StartsWith(name.table, kAddressPrefix) || StartsWith(name.table, kNationalAddressPrefix);
  const std::string current = value ? value : "";
  if (address && !current.empty()) {
    const std::string& column = p.list.columns[0];
    std::string upper = FirstChars(current, 2);
    const int length = GetColumnLength(p.tableSlot, column.c_str());
    if (static_cast<int>(upper.size()) < length) upper.append(length - upper.size(), 'Z');
    const std::string condition = column + ">=" + SqlLiteral(current.c_str()) + " AND " + column +
                                  "<=" + SqlLiteral(upper.c_str());
    ReadRows(p, db_search_where(p.tableSlot, condition.c_str(), column.c_str()));
    return 0;
  }
  ReadRows(p, p.list.keyNumber >= 0 ? db_tfind(p.tableSlot, p.list.keyNumber)
                                    : db_toppos(p.tableSlot, p.keyColumn.c_str()));
  p.topRow = 0;
  if (!current.empty()) {
    for (size_t k = 0; k < p.rows.size(); ++k) {
      if (std::strcmp(p.rows[k].key.c_str(), current.c_str()) >= 0) {
        p.topRow = static_cast<int>(k);
        break;
      }
    }
  }
  return 0;
}

int TransferLookupRow(CandidatePopup& p, int row) {
  if (p.tableSlot < 0 || row < 0 || row >= static_cast<int>(p.rows.size())) return -1;
  const std::string& key = p.rows[row].key;
  int rc;
  if (p.list.keyNumber >= 0) {
    rc = db_search_key(p.tableSlot, key.c_str(), p.list.keyNumber);
    if (rc != 0) {
      ShowInfoMessage("", "“%s”を検索できません。[ｷｰNo.%d]", key.c_str(), p.list.keyNumber);
    }
  } else {
    const std::string condition = p.keyColumn + "=" + SqlLiteral(key.c_str());
    rc = db_search_where(p.tableSlot, condition.c_str(), "");
    if (rc != 0) {
      ShowInfoMessage("", "“%s”を検索できません。[ｷｰﾌｨｰﾙﾄﾞ:%s]", key.c_str(), p.keyColumn.c_str());
    }
  }
  if (rc != 0) return -1;

  const WindowSlot& s = Slot(p.slot);
  const char mode = p.list.lookupMode;
  const size_t first = mode == '1' ? 1 : 0;
  const size_t last =
      mode == '3' ? std::min<size_t>(1, p.list.columns.size()) : p.list.columns.size();
  int target = p.item;
  for (size_t c = first; c < last && target >= 0; ++c) {
    const std::string text =
        WithoutTrailingBlanks(GetColumnText(p.tableSlot, p.list.columns[c].c_str()));
    FillField(p.slot, target, text);
    target = mode == '2' ? NearestToTheRight(s, target) : NextFillable(s, target);
  }
  MarkFieldEdited();
  return 0;
}

void CloseLookupTable(CandidatePopup& p) {
  if (p.tableSlot >= 0) db_close(p.tableSlot);
  p.tableSlot = -1;
}

int LookupTransferCount(const CandidatePopup& p) {
  const int columns = static_cast<int>(p.list.columns.size());
  if (p.list.lookupMode == '3') return std::min(columns, 1);
  if (p.list.lookupMode == '1') return std::max(0, columns - 1);
  return columns;
}
