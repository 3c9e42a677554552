#include "tests/entry/spreadsheet_setting.h"

#include <cstdio>

#include "foundation/files.h"

namespace {

bool ReadWhole(const std::string& path, std::string* text) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text->append(chunk, got);
  std::fclose(file);
  return true;
}

void WriteWhole(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

}  // namespace

SpreadsheetSetting::SpreadsheetSetting() : path_(GetProgramFolder() + "\\USER.INI") {
  existed_ = ReadWhole(path_, &found_);
}

SpreadsheetSetting::~SpreadsheetSetting() {
  if (existed_) {
    WriteWhole(path_, found_);
  } else {
    std::remove(path_.c_str());
  }
}

void SpreadsheetSetting::Name(const std::string& program) {
  const std::string end = found_.empty() || found_.back() == '\n' ? "" : "\r\n";
  WriteWhole(path_, program.empty() ? found_ : found_ + end + "EXCEL " + program + "\r\n");
}
