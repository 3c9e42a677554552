// The sheet of the reading benchmarks: A4, read at 300 dpi with three
// registration marks, 100 check fields of 10 boxes in three columns and 4
// write-in fields (the first the key, numbered by the run).
#pragma once

#include "tools/sheetgen/sheet_generator.h"

SheetDefinition BenchmarkSheet();
