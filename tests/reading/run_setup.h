// What a reading run of the tests starts from: the sheet canvas (the field
// rows of a side of the sheet definition built into the items of window
// slot 0) and the run's databases, folders and files in one folder.
#pragma once

#include <string>


// The databases of a run folder: the sheet definition and the output.
constexpr char kRunSheetDb[] = "SHEET";
constexpr char kRunOutputDb[] = "OUTDB";

// Builds the canvas of `side` from MUPA_FLD of the run folder's sheet
// database: 0, or -1 after the message.
int OpenSheetCanvas(const std::string& side);
// Points the sheet, the output database, the logs ("log"), the image
// folder ("image"), the end files and the table descriptions at `folder`.
void UseRunFolder(const std::string& folder);
// Points the output database at the PostgreSQL database the connection
// text of SHEETDESK_PG names ("Server=...;Port=...;Database=...;Uid=...;
// Pwd=..."): false when it names none.
bool UseServerOutput();
