// The state of the reading road: the run in progress, its places, the page
// being read and the results of the canvas fields.
#include "reading/reading.h"
#include "screen/screen.h"

ReadingRun g_readingRun;
ReadingPlaces g_readingPlaces;
SheetImage g_currentPage;
std::vector<FieldResult> g_fieldResults;

FieldResult& FieldResultOf(int item) {
  if (static_cast<int>(g_fieldResults.size()) <= item) g_fieldResults.resize(item + 1);
  return g_fieldResults[item];
}

void ShowRunMessage(const char* text) {
  g_readingRun.message = text;
  SetItemValueByRef("OCRMSG", text);
}

StageTimer::StageTimer(ReadingStage stage) : stage_(stage) { QueryPerformanceCounter(&start_); }

StageTimer::~StageTimer() {
  LARGE_INTEGER end, frequency;
  QueryPerformanceCounter(&end);
  QueryPerformanceFrequency(&frequency);
  g_readingRun.stageSeconds[stage_] +=
      static_cast<double>(end.QuadPart - start_.QuadPart) / frequency.QuadPart;
}
