// A sheet definition to print: MUPA_FLD rows written to a sheet-definition
// database and opened, as the program opens a sheet, in the sheet canvas
// through the project screen, so the items printed are those the screen
// engine builds from the rows. The sample sheet holds a field of every kind
// a printed sheet shows (write-in boxes with guides and pre-printed
// characters, ovals, square and circular check boxes in a row and in a
// grid, labels inside and beside the boxes, sample marks, sheet texts in
// Gothic and in the handwriting face). Shared by the printing tests and
// the page tool (tools/print_sheet).
#pragma once

#include <string>
#include <utility>
#include <vector>

constexpr char kSampleSheetDb[] = "SAMPLESHEET";
// The screen database the project screen "PLN" is loaded into.
constexpr char kProjectScreenDb[] = "SCRTEST";

// One MUPA_FLD row: column names and their values as SQL literals or
// numbers (the sheet code "0001" is added).
using SheetFieldRow = std::vector<std::pair<const char*, std::string>>;

// A text as an SQL literal.
std::string SqlText(const char* text);

// The rows of the sample sheet, A4 upright.
const std::vector<SheetFieldRow>& SampleSheetFields();

// Makes MUPA_FLD of `database` (database layer's kind `kind`) afresh with
// `rows` on side "0001". 0, or -1 after the database layer's message.
int WriteSheetFields(const char* database, int kind, const std::vector<SheetFieldRow>& rows);

// Loads the project screen "PLN" into the screen database (its tables
// exist) from a text written to `textFolder`. 0, or -1.
int LoadProjectScreen(const std::string& textFolder);

// Points the program at the sheet `database` (side "0001", A4 upright),
// creates the workbench and canvas windows once and opens the project
// screen: the sheet's items stand in slot 0. 0, or -1 after the message.
int OpenSheetCanvas(const char* database, int kind);
