// Loading screen texts (screen_text.h) into a screen database through the
// database layer, so the stored bytes are those every later query meets on
// either database. Every text is read and checked before anything is
// written; each screen then replaces the rows stored under its code.
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "foundation/spc_file.h"
#include "screen/screen.h"
#include "screen/screen_text.h"

namespace {

struct LoadedText {
  std::string file;
  ScreenText text;
};

// The texts of a folder in the order of their names.
std::vector<std::string> TextFiles(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "\\*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

// The Shift-JIS form of a UTF-8 text; false when the text is no UTF-8 or
// holds a character Shift-JIS does not have.
bool Utf8ToProgramText(const std::string& utf8, std::string& out) {
  out.clear();
  if (utf8.empty()) return true;
  const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                        static_cast<int>(utf8.size()), nullptr, 0);
  if (units <= 0) return false;
  std::wstring wide(units, L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                      units);
  BOOL lost = FALSE;
  const int bytes = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), units, nullptr, 0, nullptr, &lost);
  if (bytes <= 0 || lost) return false;
  out.assign(bytes, '\0');
  WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), units, out.data(), bytes, nullptr, &lost);
  return !lost;
}

bool ReadColumns(ScreenTableColumns& columns) {
  const std::string path = BuildSpecPath(GetSpecFolder(), g_screenDefs.specFile.c_str());
  std::string spec;
  if (!ReadWholeFile(path.c_str(), spec)) {
    ShowInfoMessage("", "%s はありません。", path.c_str());
    return false;
  }
  columns.screen = ParseSpecColumns(spec, "SCRTBL").columns;
  columns.field = ParseSpecColumns(spec, "FLDTBL").columns;
  columns.line = ParseSpecColumns(spec, "LINTBL").columns;
  return true;
}

// Reads and checks every text: false after the message of the first fault.
bool ReadTexts(const std::string& folder, const ScreenTableColumns& columns, std::vector<LoadedText>& texts) {
  std::set<std::string> codes;
  for (const std::string& name : TextFiles(folder)) {
    const std::string path = folder + "\\" + name;
    std::string raw, text;
    if (!ReadWholeFile(path.c_str(), raw)) {
      ShowInfoMessage("", "画面定義ファイル“%s”を読めません。", path.c_str());
      return false;
    }
    if (!Utf8ToProgramText(raw, text)) {
      ShowInfoMessage("", "画面定義ファイル“%s”は UTF-8 でないか、Shift-JIS にない文字を含みます。",
                      path.c_str());
      return false;
    }
    LoadedText loaded{path, {}};
    ScreenTextError error;
    if (!ParseScreenText(text, columns, loaded.text, error)) {
      ShowInfoMessage("", "画面定義ファイル“%s”の %d 行目：%s", path.c_str(), error.lineNumber,
                      error.message.c_str());
      return false;
    }
    if (!codes.insert(loaded.text.Code()).second) {
      ShowInfoMessage("", "画面“%s”が二つの画面定義ファイルにあります。(%s)", loaded.text.Code().c_str(),
                      path.c_str());
      return false;
    }
    texts.push_back(std::move(loaded));
  }
  return true;
}

// The three tables opened for writing (made from their descriptions when
// missing); each slot is -1 until opened.
struct TableSlots {
  int screen = -1, field = -1, line = -1;
  ~TableSlots() {
    for (int slot : {screen, field, line}) {
      if (slot > 0) db_close(slot);
    }
  }
};

int OpenForWriting(const char* folder, const char* database, const char* table, const char* section) {
  return db_open(folder, database, table, g_screenDefs.screenDbKind, g_screenDefs.specFile.c_str(), section,
                 "select * from %s where SCRCODE=''", table);
}

int AddRow(int slot, const ScreenTextRow& row) {
  db_clear(slot);
  for (const auto& value : row.values) SetColumnFromText(slot, value.first.c_str(), value.second.c_str());
  return db_add(slot);
}

int StoreScreen(const TableSlots& t, const ScreenText& text) {
  const std::string code = SqlLiteral(text.Code().c_str());
  for (const auto& [slot, table] : {std::pair<int, const char*>{t.screen, kScreenTable},
                                    {t.field, kFieldTable}, {t.line, kLineTable}}) {
    const std::string remove = std::string("delete from ") + table + " where SCRCODE=" + code;
    if (db_exec(slot, remove.c_str()) != 0) return -1;
  }
  if (AddRow(t.screen, text.screen) != 0) return -1;
  for (const ScreenTextRow& row : text.fields) {
    if (AddRow(t.field, row) != 0) return -1;
  }
  for (const ScreenTextRow& row : text.lines) {
    if (AddRow(t.line, row) != 0) return -1;
  }
  return 0;
}

}  // namespace

int LoadScreenTexts(const char* textFolder, const char* dbFolder, const char* database) {
  ScreenTableColumns columns;
  if (!ReadColumns(columns)) return -1;
  std::vector<LoadedText> texts;
  if (!ReadTexts(textFolder, columns, texts)) return -1;
  if (texts.empty()) return 0;
  TableSlots t;
  t.screen = OpenForWriting(dbFolder, database, kScreenTable, "SCRTBL");
  if (t.screen < 0) return -1;
  t.field = OpenForWriting(dbFolder, database, kFieldTable, "FLDTBL");
  if (t.field < 0) return -1;
  t.line = OpenForWriting(dbFolder, database, kLineTable, "LINTBL");
  if (t.line < 0) return -1;
  for (const LoadedText& loaded : texts) {
    if (StoreScreen(t, loaded.text) != 0) {
      ShowInfoMessage("", "画面定義ファイル“%s”を保存できません。", loaded.file.c_str());
      return -1;
    }
  }
  return static_cast<int>(texts.size());
}
