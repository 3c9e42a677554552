// CSV files of the list: a file read into the screen's table (each line a
// record, in the order of the list's columns; the key first or generated)
// and the table's rows written to a file. An import is one transaction: a
// line it cannot take stops it and leaves the table as it was.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "entry/list_form.h"
#include "foundation/csv_token.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "foundation/path_split.h"
#include "screen/screen.h"

namespace {

// Longest line of a CSV file the list reads.
constexpr size_t kCsvLineSize = 2048;

int Table() { return g_listForm.tableSlot; }

bool ReadFile(const char* path, std::string* text) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  char chunk[8192];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text->append(chunk, got);
  const bool ok = std::ferror(file) == 0;
  std::fclose(file);
  return ok;
}

std::string Extension(const char* path) {
  const std::string_view name = PathFileName(path);
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return "";
  std::string ext(name.substr(dot + 1));
  for (char& c : ext) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return ext;
}

// One record of the file and the physical line it starts on.
struct CsvLine {
  std::string text;
  int lineNumber = 0;
};

std::vector<CsvLine> SplitRecords(const std::string& text) {
  std::vector<CsvLine> lines;
  size_t position = 0;
  int lineNumber = 1;
  std::string record;
  while (NextCsvRecord(text, position, record)) {
    // An empty line holds no record.
    if (!record.empty()) lines.push_back({record, lineNumber});
    for (char c : record) lineNumber += c == '\n' ? 1 : 0;
    ++lineNumber;
  }
  return lines;
}

// A field of a text column as the column stores it.
std::string ShapeText(const ListColumn& column, const std::string& field) {
  if (field.empty()) return field;
  const int width = column.width;
  if (column.edit == 'R' && static_cast<int>(field.size()) < width) return std::string(width - field.size(), ' ') + field;
  if (column.edit == 'Z' && static_cast<int>(field.size()) < width) return std::string(width - field.size(), '0') + field;
  return field;
}

struct LineRecord {
  std::string key;
  std::vector<std::pair<int, std::string>> cells;  // column, value
};

// Reads one record's fields into `out`: 0, 1 a line to skip (no key), or -1
// after the message.
int ParseLine(const CsvLine& line, bool keysInFile, LineRecord* out) {
  const int keyColumn = KeyColumnIndex();
  CsvCursor cursor;
  std::vector<char> field(kCsvLineSize + 1);
  int rc = 1;
  for (int c = 0; c < static_cast<int>(g_list.columns.size()) && rc > 0; ++c) {
    const ListColumn& column = g_list.columns[c];
    if (c == keyColumn && !keysInFile) continue;
    const int width = column.width > 0 ? column.width : static_cast<int>(kCsvLineSize);
    rc = NextCsvTokenWith(cursor, field.data(), width, line.text.c_str());
    const std::string value = field.data();
    if (rc == -2) {
      ShowInfoMessage("", "“%s”の桁数が%dを越えました。(%s)\n\n%s", column.name.c_str(), width, value.c_str(),
                      line.text.c_str());
      return -1;
    }
    if (c == keyColumn) {
      if (value.empty()) return 1;
      out->key = column.edit == 'Z' ? ShapeText(column, value) : value;
    } else if (IsStoredListColumn(c) && column.state == kItemEnabled) {
      out->cells.push_back({c, column.dbType == kColumnText ? ShapeText(column, value) : value});
    }
  }
  return 0;
}

int StoreLine(const LineRecord& record, bool exists) {
  std::string names, values, assignments;
  for (const auto& [c, value] : record.cells) {
    if (CheckColumnValue(Table(), g_listForm.table.c_str(), g_list.columns[c].name.c_str(), value) != 0) return -1;
    const std::string text = ListValueText(c, value);
    names += "," + g_list.columns[c].name;
    values += "," + text;
    assignments += (assignments.empty() ? "" : ",") + g_list.columns[c].name + "=" + text;
  }
  if (exists) {
    if (assignments.empty()) return 0;
    return db_exec(Table(), ("update " + g_listForm.table + " set " + assignments + " " +
                             KeyCondition(record.key.c_str())).c_str());
  }
  for (const auto& [column, value] : g_listForm.fixedValues) {
    names += "," + column;
    values += "," + SqlLiteral(value.c_str());
  }
  return db_exec(Table(), ("insert into " + g_listForm.table + " (" + g_listForm.keyColumn + names + ") values (" +
                           SqlLiteral(record.key.c_str()) + values + ")").c_str());
}

// The SQL-free CSV cell of a value: quoted when asked or when the value
// holds a comma, a quote or a line end; inner quotes doubled.
std::string CsvCell(const std::string& value, bool quote) {
  if (!quote && value.find_first_of(",\"\r\n") == std::string::npos) return value;
  std::string cell = "\"";
  for (char c : value) {
    if (c == '"') cell += '"';
    cell += c;
  }
  return cell + "\"";
}

}  // namespace

int ImportListCsv(const char* path, int keysInFile) {
  const std::string ext = Extension(path);
  if (!ext.empty() && ext != "CSV" && ext != "TXT") {
    ShowInfoMessage("", "拡張子が“CSV”または“TXT”以外のファイルは入力できません。（%s）", path);
    return -1;
  }
  if (!g_list.newRowsAllowed || g_listForm.keyKind == kFreeKeys) keysInFile = 1;
  const char* question = keysInFile ? "ＣＳＶファイル %s を読み込みます。\n(注：コード番号のないデータは入力できません）"
                                    : "ＣＳＶファイル %s を読み込みます。\n　　　(注：コード番号は連番を自動生成します)";
  if (AskYesNo("", question, path) != IDYES) return 0;
  std::string text;
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
    ShowInfoMessage("", "ﾃｷｽﾄﾌｧｲﾙ“%s”はありません。", path);
    return -1;
  }
  if (!ReadFile(path, &text)) {
    ShowInfoMessage("", "ﾃｷｽﾄﾌｧｲﾙ“%s”をオープンできません。", path);
    return -1;
  }
  const std::vector<CsvLine> lines = SplitRecords(text);
  std::string code;
  if (!g_list.newRowsAllowed) {
    if (AskYesNo("", "このテーブルにはデータの追加登録はできません。\n対応するコード番号のデータのみ入力(修正)します。") != IDYES) return 0;
  } else if (keysInFile) {
    if (AskYesNo("", "対応するコード番号のデータが存在する場合は修正登録、\n存在しない場合は追加登録します。") != IDYES) return 0;
  } else {
    const std::string last = db_efind(Table(), g_listForm.keyNumber) == 0
                                 ? GetColumnText(Table(), g_listForm.keyColumn.c_str()) : "";
    code = NextCode(last.empty() ? "0" : last, 1);
    // The codes the file needs must all exist: a code that wrapped around
    // would land on stored records.
    const std::string lastNeeded = code.empty() ? "" : NextCode(code, static_cast<int>(lines.size()) - 1);
    if (code.empty() || (!lines.empty() && lastNeeded.empty())) {
      ShowInfoMessage("", "コード番号が%d桁を越えるため、%d件のデータは入力できません。(%s)", g_listForm.codeWidth,
                      static_cast<int>(lines.size()), last.c_str());
      return -1;
    }
    const char* ask = last.empty() ? "入力を開始しますか？　先頭コード“%s”"
                                   : "すでにデータが存在します。追加登録しますか？\n　追加する先頭コード“%s”";
    if (AskYesNo("", ask, code.c_str()) != IDYES) return 0;
  }
  for (const CsvLine& line : lines) {
    if (line.text.size() > kCsvLineSize) {
      ShowInfoMessage("", "ＣＳＶファイルの%d行目が%dバイトを越えています。\n入力を中止しました。(%s)", line.lineNumber,
                      static_cast<int>(kCsvLineSize), path);
      return -1;
    }
  }
  // The file's keys are known line by line: the whole table is kept.
  if (KeepListRowsBetween("", "") != 0) return -1;
  int stored = 0;
  int rc = BeginTableTransaction(Table());
  for (size_t k = 0; rc == 0 && k < lines.size(); ++k) {
    LineRecord record;
    if (!keysInFile) {
      record.key = code;
      code = NextCode(code, 1);
    }
    const int parsed = ParseLine(lines[k], keysInFile != 0, &record);
    if (parsed < 0) rc = -1;
    if (parsed != 0) continue;
    SetScreenFieldText(g_listForm.slot, "CTRMSG", record.key.c_str());
    const bool exists = db_find_key_first(Table(), record.key.c_str(), g_listForm.keyNumber) == 0;
    if (!exists && !g_list.newRowsAllowed) continue;
    rc = StoreLine(record, exists);
    if (rc == 0) ++stored;
  }
  if (rc == 0) rc = EndTableTransaction(Table(), true);
  else EndTableTransaction(Table(), false);
  if (rc != 0) {
    ReopenListDataSet();
    return -1;
  }
  if (stored > 0) {
    g_listForm.changed = 1;
    SetScreenFlagA();
    ReopenListDataSet();
  }
  return stored;
}

int ExportListCsv(const char* path, const char* start, const char* end, bool titles, bool keys, bool quotes) {
  const int t = Table();
  int rc = start && start[0] ? db_find_key_or_next(t, start, g_listForm.keyNumber) : db_tfind(t, g_listForm.keyNumber);
  if (rc != 0 && start && start[0]) {
    ShowInfoMessage("", "%s“%s”は登録されていません。", g_listForm.keyTitle.c_str(), start);
    return -1;
  }
  std::FILE* file = std::fopen(path, "wb");
  if (!file) {
    ShowInfoMessage("", "“%s”をオープンできません。", path);
    return -1;
  }
  const int keyColumn = KeyColumnIndex();
  const bool withKey = keys || g_listForm.keyKind == kFreeKeys;
  std::string out;
  auto endLine = [&out] {
    if (!out.empty() && out.back() == ',') out.pop_back();
    out += "\r\n";
  };
  if (titles) {
    for (int c = 0; c < static_cast<int>(g_list.columns.size()); ++c) {
      if (c == keyColumn && !withKey) continue;
      const ListColumn& column = g_list.columns[c];
      out += CsvCell(column.title.empty() ? column.name : column.title, quotes) + ",";
    }
    endLine();
  }
  int written = 0;
  while (rc == 0) {
    const std::string key = GetColumnText(t, g_listForm.keyColumn.c_str());
    if (end && end[0] && key > end) break;
    for (int c = 0; c < static_cast<int>(g_list.columns.size()); ++c) {
      if (c == keyColumn && !withKey) continue;
      const ListColumn& column = g_list.columns[c];
      std::string value = column.dbType > 0 ? GetColumnAsText(t, column.name.c_str()) : "";
      if (column.dbType == kColumnDouble) {
        char number[64];
        std::snprintf(number, sizeof number, "%.*f", column.decimals, GetColumnDouble(t, column.name.c_str()));
        value = number;
      }
      const bool text = column.dbType == kColumnText || column.dbType == kColumnChar || column.dbType <= 0;
      out += CsvCell(value, quotes && text) + ",";
    }
    endLine();
    ++written;
    SetScreenFieldText(g_listForm.slot, "CTRMSG", key.c_str());
    rc = db_nread(t);
  }
  const bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  if (std::fclose(file) != 0 || !ok) {
    ShowInfoMessage("", "“%s”に書き込めません。", path);
    return -1;
  }
  return written;
}
