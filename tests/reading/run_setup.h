// What a reading run of the tests starts from: the sheet canvas (the fields
// of a side of a sheet definition as the items of window slot 0, valued as
// the project screen values them from MUPA_FLD) and the run's databases,
// folders and files in one folder.
#pragma once

#include <string>

#include "tools/sheetgen/sheet_generator.h"

// The databases of a run folder: the sheet definition and the output.
constexpr char kRunSheetDb[] = "SHEET";
constexpr char kRunOutputDb[] = "OUTDB";

void BuildCanvasItems(const SheetDefinition& definition, const std::string& side);
// Points the sheet, the output database, the logs ("log"), the image
// folder ("image"), the end files and the table descriptions at `folder`.
void UseRunFolder(const std::string& folder);
