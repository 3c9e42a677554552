// The spreadsheet program the entry screens open a written CSV file in.
#include <cctype>
#include <string>

#include "entry/entry.h"
#include "foundation/msgbox.h"
#include "foundation/path_split.h"
#include "foundation/test_hooks.h"

namespace {

std::string g_spreadsheetProgram;

// Excel takes what follows a blank on its command line as another file.
constexpr int kExcelPathCheckBytes = 128;

// The base name of a program's path without its extension, upper-cased.
std::string ProgramBaseName(const std::string& program) {
  std::string base(PathFileName(program, "\\/:"));
  base = base.substr(0, base.find('.'));
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return base;
}

// A blank before the path's first "." (within the bytes Excel would read as
// one name). Neither byte is a Shift-JIS trail byte.
bool HasBlankBeforeExtension(const char* path) {
  for (int at = 0; at < kExcelPathCheckBytes && path[at] && path[at] != '.'; ++at) {
    if (path[at] == ' ') return true;
  }
  return false;
}

}  // namespace

void SetSpreadsheetProgram(const char* program) { g_spreadsheetProgram = program ? program : ""; }

const std::string& SpreadsheetProgram() { return g_spreadsheetProgram; }

int LaunchExcel(const char* program, const char* file) {
  if (!program || !program[0]) return 0;
  if (HasBlankBeforeExtension(file) && ProgramBaseName(program) == "EXCEL") {
    ShowInfoMessage("",
                    "Microsoft Excel は、空白を含むフォルダ名をパラメーターに使用できませんので、"
                    "出力するフォルダ名を空白を含まないものに変更してください。\n(%s)",
                    file);
    return -1;
  }
  const std::string command = std::string(program) + " " + file;
  const UINT result = StartExternalProgram(command.c_str(), SW_SHOWNORMAL);
  if (result < 32) {
    ShowInfoMessage("", "“%s”を起動できません。(%d)", command.c_str(), static_cast<int>(result));
    return -1;
  }
  return 0;
}
