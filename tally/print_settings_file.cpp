// The print-settings file "<program folder>\<program name>.MEM": one line of
// settings per print code, the code saved last first. It is rewritten whole
// through the work file "PRWORK" beside it, which then replaces it in one
// step, so a failed save leaves the old file as it was.
#include <string>

#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/path_split.h"
#include "foundation/spc_file.h"
#include "tally/tally.h"

namespace {

// The program's own file, without its extension.
std::string ProgramFileStem() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string name(PathFileName(std::string_view(path, length)));
  return GetProgramFolder() + "\\" + name.substr(0, name.find_last_of('.'));
}

// The lines of the file (without their line ends); none when it is missing.
std::vector<std::string> ReadSettingsLines() {
  std::vector<std::string> lines;
  std::string text;
  if (!ReadWholeFile(PrintSettingsFilePath().c_str(), text)) return lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// Writes `text` and CR LF; false when the file refused them.
bool WriteLine(HANDLE file, const std::string& text) {
  const std::string line = text + "\r\n";
  DWORD written = 0;
  return WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
         written == line.size();
}

}  // namespace

std::string PrintSettingsFilePath() { return ProgramFileStem() + ".MEM"; }

int FindPrintSettingsLine(const char* code) {
  for (const std::string& line : ReadSettingsLines()) {
    if (PrintSettingsLineCode(line.c_str()) != code) continue;
    ParsePrintSettingsLine(line.c_str(), g_printSettings);
    return 0;
  }
  SetDefaultPrintSettings(g_printSettings, code);
  return 0;
}

int WritePrintSettingsLine(HANDLE file) {
  return WriteLine(file, FormatPrintSettingsLine(g_printSettings)) ? 0 : -1;
}

int SavePrintSettings(const char* code) {
  const std::string path = PrintSettingsFilePath();
  const std::string work = path.substr(0, FindLastPathDelimiter(path) + 1) + "PRWORK";
  // The lines of the other codes stay as they are, after the saved one.
  const std::vector<std::string> others = ReadSettingsLines();
  const HANDLE file = CreateFileA(work.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ShowErrorMessage("", "“%s”を作成できません。", work.c_str());
    return -1;
  }
  bool written = WritePrintSettingsLine(file) == 0;
  for (const std::string& line : others) {
    if (!written) break;
    if (PrintSettingsLineCode(line.c_str()) == code) continue;
    written = WriteLine(file, line);
  }
  written = FlushFileBuffers(file) && written;
  CloseHandle(file);
  if (!written || !MoveFileExA(work.c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(work.c_str());
    ShowErrorMessage("", "“%s”に書き込めません。", path.c_str());
    return -1;
  }
  return 0;
}

void ApplyPrintSettingsToReport(HWND owner) {
  const PrintSettings& s = g_printSettings;
  const PaperSpec paper = PaperOfSetting(s.paper);
  BeginReportOutput(owner, paper.paperCode, paper.orientation, s.charSize, s.leftMargin,
                    s.topMargin);
  ReportOutputContext& r = g_reportOutput;
  r.printType = s.printType;
  r.lineSpacing = s.lineSpacing;
  // Report units of 0.2 mm: half the paper's tenths of a millimetre.
  r.pageWidth = paper.widthTenthMm / 2;
  r.pageHeight = paper.heightTenthMm / 2;
  ApplyPrintSettingsWindowTarget();
}
