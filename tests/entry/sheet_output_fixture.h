// Sheets made for the generated entry screens and the output table: the
// reading tests' run folder (sheet definition SHEET, output database OUTDB
// on the file database) with a sample sheet of key items, full-width and
// numeric write-in fields, an array of check fields, a coded check field,
// the reading date and a picture frame on each side.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/reading/run_fixture.h"

class SheetOutputTest : public ReadingDbTest {
 protected:
  void SetUp() override;
  // Writes `definition_` with the extra column values the generator cannot
  // express (and the statements `extra` on the sheet database), then loads
  // the paper settings and the canvas.
  void Prepare(const std::vector<std::string>& extra = {});
  // The rows of a generated screen in FLDCODE order, each as "column=value"
  // texts of the columns asked for.
  std::vector<std::map<std::string, std::string>> ScreenRows(const char* code);
  // Runs a statement on the sheet-definition database: 0 or -1.
  int ExecOnSheet(const std::string& sql);
  std::string SpecText() const;

  SheetDefinition definition_;
};
