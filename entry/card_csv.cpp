// The CSV output of the card form: the records from a start code to an end
// code, one line (or, with line-break fields, several) a record, the
// fields in screen order, written as CR LF lines into a CSV or TXT file.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "entry/card_form.h"
#include "entry/entry.h"
#include "entry/list_form.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "foundation/path_split.h"
#include "foundation/spc_file.h"
#include "screen/screen.h"

namespace {

// Output options of a card field (its tab flag).
constexpr int kLeftOut = 1;
constexpr int kEndsLine = 2;

// The fields of the output, in screen order: no buttons, no ruler, none
// left out.
std::vector<int> OutputFields() {
  std::vector<int> fields;
  const WindowSlot& s = Slot(g_cardForm.slot);
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    const ScreenItem& item = Item(i);
    if (item.fieldName.empty() || IsButtonOrMark(item.kind) || item.name == "RULER" || item.tabFlag == kLeftOut) {
      continue;
    }
    fields.push_back(i);
  }
  return fields;
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

// A field's value in the record the data set holds, by its column's type.
std::string ValueText(int item, bool quotes) {
  const int t = g_cardForm.tableSlot;
  const ScreenItem& field = Item(item);
  const char* name = field.name.c_str();
  char number[64];
  switch (GetColumnTypeQuiet(t, name)) {
    case kColumnShort:
      std::snprintf(number, sizeof number, "%d", GetColumnInt(t, name));
      return number;
    case kColumnLong:
      std::snprintf(number, sizeof number, "%ld", GetColumnLong(t, name));
      return number;
    case kColumnDouble:
      std::snprintf(number, sizeof number, "%.*f", field.count, GetColumnDouble(t, name));
      return number;
    case kColumnChar:
    case kColumnText: {
      std::string text = GetColumnText(t, name);
      return quotes ? Quoted(text) : text;
    }
    default:
      return quotes ? "\"\"" : "";
  }
}

// A file handle closed at scope end.
class OutputFile {
 public:
  explicit OutputFile(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~OutputFile() {
    if (open()) CloseHandle(handle_);
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  bool open() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Write(const std::string& text) {
    DWORD written = 0;
    return WriteFile(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
  }

 private:
  HANDLE handle_;
};

bool HasCsvExtension(const std::string& path) {
  const std::string_view name = PathFileName(path);
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string extension(name.substr(dot + 1));
  for (char& c : extension) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  return extension == "CSV" || extension == "TXT";
}

}  // namespace

int ExportCardCsv(const std::string& path, const std::string& start, const std::string& end, bool titles, bool quotes) {
  if (!HasCsvExtension(path)) {
    ShowInfoMessage("", "出力するファイルの拡張子は、“CSV”または“TXT”にしてください。（%s）", path.c_str());
    return -1;
  }
  if (AskYesNo("", "ＣＳＶファイル“%s”を作成します。", path.c_str()) != IDYES) return -1;
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
      AskYesNo("", "ＣＳＶファイル“%s”は既に存在します。\n上書きしてもよろしいですか？", path.c_str()) != IDYES) {
    return -1;
  }
  const int t = g_cardForm.tableSlot;
  if (db_find_key_first(t, start.c_str(), g_cardForm.keyNumber) != 0) {
    ShowInfoMessage("", "“%s”は登録されていません。", start.c_str());
    return -1;
  }
  OutputFile file(path);
  if (!file.open()) {
    ShowInfoMessage("", "ＣＳＶファイル“%s”をオープンできません。", path.c_str());
    return -1;
  }
  const std::vector<int> fields = OutputFields();
  bool written = true;
  if (titles) {
    std::string line;
    for (int item : fields) line += (line.empty() ? "" : ",") + Quoted(Item(item).name);
    written = file.Write(line + "\r\n");
  }
  int count = 0;
  for (int rc = 0; rc == 0 && written; rc = db_nread(t)) {
    if (std::string(GetColumnText(t, g_cardForm.keyColumn.c_str())) > end) break;
    std::string line;
    bool first = true;
    for (int item : fields) {
      line += (first ? "" : ",") + ValueText(item, quotes);
      first = false;
      // A line-break field ends a line of the record; the next goes on.
      if (Item(item).tabFlag == kEndsLine) {
        line += "\r\n";
        first = true;
      }
    }
    if (!first) line += "\r\n";
    written = file.Write(line);
    ++count;
  }
  if (!written) {
    ShowInfoMessage("", "ＣＳＶファイル“%s”をオープンできません。", path.c_str());
    return -1;
  }
  if (const std::string program = SpreadsheetProgram(); !program.empty()) {
    LaunchExcel(program.c_str(), path.c_str());
  } else {
    ShowInfoMessage("", "“%s”に、%d件のデータを出力しました。", path.c_str(), count);
  }
  return count;
}
