// The spreadsheet program the entry screens open a written CSV file in.
#include <cctype>
#include <cstring>
#include <string>

#include "entry/entry.h"
#include "foundation/msgbox.h"
#include "foundation/path_split.h"
#include "foundation/test_hooks.h"
#include "reading/reading.h"

namespace {

constexpr char kSpreadsheetKey[] = "EXCEL";

// The base name of a program's path without its extension, upper-cased.
std::string ProgramBaseName(const std::string& program) {
  std::string base(PathFileName(program, "\\/:"));
  base = base.substr(0, base.find('.'));
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return base;
}

}  // namespace

std::string SpreadsheetProgram() { return ReadUserIniValue(kSpreadsheetKey); }

int LaunchExcel(const char* program, const char* file) {
  if (!program || !program[0]) return 0;
  // Excel is refused a blank wherever it lies in the path, in a folder
  // after a "." too (a blank is never a Shift-JIS trail byte).
  if (std::strchr(file, ' ') && ProgramBaseName(program) == "EXCEL") {
    ShowInfoMessage("",
                    "Microsoft Excel は、空白を含むフォルダ名をパラメーターに使用できませんので、"
                    "出力するフォルダ名を空白を含まないものに変更してください。\n(%s)",
                    file);
    return -1;
  }
  // Quoted: a blank or a "." of a folder is no end of the name.
  const std::string command = std::string(program) + " \"" + file + "\"";
  const UINT result = StartExternalProgram(command.c_str(), SW_SHOWNORMAL);
  if (result < 32) {
    ShowInfoMessage("", "“%s”を起動できません。(%d)", command.c_str(), static_cast<int>(result));
    return -1;
  }
  return 0;
}
