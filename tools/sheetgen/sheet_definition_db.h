// Sheet definitions in a sheet-definition database: the rows of MUPA_PAP,
// MUPA_FLD, MUPA_HMK and MUPA_IDX written for a test or read for the sheet
// generator, through the database layer. Windows build.
#pragma once

#include "tools/sheetgen/sheet_generator.h"

// Adds the rows of `definition` to the tables of the database `database` in
// `folder` (tables made from the sheet-definition specifications when
// missing). 0, or -1 after the database layer's message.
int WriteSheetDefinition(const char* folder, const char* database,
                         const SheetDefinition& definition);
// Reads the rows of both sides. 0, or -1 after the database layer's message.
int ReadSheetDefinition(const char* folder, const char* database, SheetDefinition* definition);
