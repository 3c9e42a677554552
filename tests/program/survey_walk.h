// A survey walked through the program's windows as its users go it, on the
// file database or on the PostgreSQL server (the test's parameter): the
// server chosen on the menu, the login answered, the output rows read, the
// survey's questions transferred from the sheet and the tallies written to
// CSV files through their dialogs; and what the tallies of some answers
// should hold. Each step's picture is saved in a folder beside the tests.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/foundation/db_test_support.h"
#include "tests/program/program_fixture.h"

// The stored answers of some sheets, one map a sheet (column to text).
using Answers = std::vector<std::map<std::string, std::string>>;
using CsvRow = std::vector<std::string>;
// Field names and the values typed into them.
using Fields = std::vector<std::pair<const char*, std::string>>;

// The texts of a comma list without quotes.
std::vector<std::string> SplitList(const std::string& list);
void ExpectCsvRows(const std::vector<CsvRow>& got, const std::vector<CsvRow>& want);
// count / base x 100 to a tenth, half up.
std::string Percent(int count, int base);

// A question of the tallies: its column, title and choices (comma list), a
// box each, stored as the numbers of the boxes filled.
struct TallyQuestion {
  std::string name, title, choices;
  int boxes = 0;
};
// The hits of each choice of a question on some sheets, and the sheets
// without an answer.
struct Counts {
  std::vector<int> hits;
  int empty = 0;
};
Counts CountAnswers(const Answers& sheets, const TallyQuestion& q);
// A count line and its percentage line, each after its prefix cells: the
// choices, 無回答 and the row total (both counted in it), the percentages
// of that total (the tallies' setting as made).
void AddCountLines(std::vector<CsvRow>& rows, const CsvRow& prefix, const Counts& c);
// The heading of a question's table: the prefix, the choices, 無回答 and
// the row total.
CsvRow TallyHeading(const CsvRow& prefix, const TallyQuestion& q);
// The simple tally as its CSV file should hold it: a block a question, two
// empty lines after each.
std::vector<CsvRow> ExpectedSimpleTally(const Answers& sheets, const std::vector<TallyQuestion>& questions);

class SurveyWalk : public ProgramTest, public testing::WithParamInterface<int> {
 protected:
  // The program started on its menu with the sheet designer, on the
  // server when the parameter says so; pictures go to `pictures`
  // ("_pg" added on the server) beside the tests.
  void StartWalk(const std::string& pictures);
  void TearDown() override;

  bool server() const { return GetParam() == kDbKindServer; }
  // The login window, when it asks: the server's user and password, or the
  // file database's password.
  void LogIn();
  // A table an earlier run left on the shared server goes (with its tally
  // view); the walk's tables go again at its end.
  void DropServerTable(const char* table);
  // Saves what a window shows as the picture of a step.
  void Picture(HWND window, const char* step);
  // The scanner's feeder: folder "feed" of the installation, tray "fed".
  void InstallFeeder();
  // The canvas, a child of the workbench while a sheet is open in it.
  static HWND Canvas();
  // The sheet's settings screen opened from the menu, `fields` typed (on
  // the server the output database named too), a picture when asked, and
  // closed with Esc.
  void TypeSheetSettings(Fields fields, const char* picture = nullptr);
  // A new definition file `name`.mdb in the installation's "teigi"
  // folder, chosen in the menu's file dialog.
  void ChooseNewDefinition(const char* name);
  // The right button at a point of the sheet (canvas pixels), then a line
  // of the menu it opens.
  void ChooseMenuLine(POINT at, int line);
  // The field editor a menu line opened: its fields set, a choice of a
  // radio group clicked for each of `choices` (group, row from 0), a
  // picture when asked, and Esc.
  void FillEditor(const Fields& fields, const char* picture = nullptr,
                  const std::vector<std::pair<const char*, int>>& choices = {});
  // A point of the sheet in canvas pixels (a quarter of a millimetre).
  static POINT Dots(int xMm, int yMm) { return POINT{xMm * 4, yMm * 4}; }
  // The rows of `table` of the output database in `key` order, each
  // column's text.
  Answers OutputRows(const char* table, const char* key, const std::vector<std::string>& columns);
  // Clicks a field of a form and types over what it holds, then leaves it
  // with `key`.
  void Retype(HWND form, const char* name, const std::string& text, UINT key);
  // The survey's questions (`questions` of them) transferred from the
  // sheet's design on the survey items list, and the question `group`
  // ticked as the first grouping item of cross tabulations.
  void MakeSurvey(const char* group, int questions);
  // A tally menu button's output written to a CSV file beside the pictures
  // through its print settings' CSV key (F7) and the CSV dialog: the rows
  // of the file. The tallies print the choices, 無回答 and the row total.
  std::vector<CsvRow> ExportTally(int menu, const char* button, const char* file);

  std::string pictures_;
  RunServer server_;

 private:
  // The server chosen on the menu's database screen, as a user does it.
  void ChooseServer();

  std::vector<std::string> tables_;
};
