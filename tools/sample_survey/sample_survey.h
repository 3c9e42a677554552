// The sample survey a newcomer tries the program with: a short
// questionnaire (four questions of marks and a handwritten age, the sheet
// numbered by the run), its survey, and twenty of its sheets filled by hand
// and scanned, waiting in the sheet feeder. Made once into a folder of its
// own, "sample" in the program's folder: a database of the user's is
// never written. Windows build.
#pragma once

#include <string>

#include "tools/sheetgen/sheet_generator.h"

constexpr char kSampleFolder[] = "sample";        // in the installation
constexpr char kSampleDefinition[] = "SAMPLE";    // sample\SAMPLE.mdb
constexpr char kSampleOutputTable[] = "SAMPLE";   // in SAMPLE.mdb, the installation's
constexpr int kSamplePageCount = 20;
constexpr int kSampleDpi = 200;                   // USER.INI's DPI

// The sample's sheet definition.
SheetDefinition SampleSurveySheet();
// What is filled in and how sheet `index` (from 0) of the sample is
// scanned: the same on every machine.
SheetRequest SampleSurveyPage(int index);
// The seed of sheet `index`'s random stream, its own for every sheet.
uint32_t SampleSurveyPageSeed(int index);

// Makes the sample in the installation folder `installation` (the program
// folder, whose OCR.INI and table descriptions the database layer already
// uses): the definition with its survey and its output table's
// description, the filled pages in "sample\feed", and, when they are not
// there, the feeder's settings "SCANFEED.INI" in `programFolder` and the
// choice of the sample as the current definition ("ocrpath.dat"). Returns
// 1 when made, 0 when the sample's definition was already there (its files
// and what was read into its output table stay; only a missing feeder
// setting or choice is made again), -1 when a step failed (`why` says
// which; the database layer may have shown its message): no page and no
// definition is then left to be kept, and the next call makes it afresh.
int MakeSampleSurvey(const std::string& installation, const std::string& programFolder,
                     std::string* why);
