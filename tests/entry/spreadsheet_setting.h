// The spreadsheet program named as the operator names it: the line EXCEL of
// USER.INI in the program folder, written over the file the tests found
// there and that file put back afterwards.
#pragma once

#include <string>

class SpreadsheetSetting {
 public:
  SpreadsheetSetting();
  ~SpreadsheetSetting();
  SpreadsheetSetting(const SpreadsheetSetting&) = delete;
  SpreadsheetSetting& operator=(const SpreadsheetSetting&) = delete;

  // The found file with the line "EXCEL <program>" added (none for "").
  void Name(const std::string& program);

 private:
  std::string path_, found_;
  bool existed_ = false;
};
