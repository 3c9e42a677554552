// A reading run in a process of its own, for the tests that kill one
// midway:
//   reading_run_program <folder> [file|server] [records]
// The folder is a run folder (run_setup.h) whose sheet definition and
// output table description are written; the feeder is set up beside the
// program. "server" puts the output table on the PostgreSQL database of
// SHEETDESK_PG. Runs an operation run at 300 dpi, every message box
// answered "OK", and exits 0, or 1 when the run could not start. Given
// `records`, the process stops right after storing that many records,
// before their sheet leaves the feeder, writes the file "stopped" into the
// folder and waits there a minute to be killed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/imaging.h"
#include "foundation/test_hooks.h"
#include "reading/reading.h"
#include "tests/reading/run_setup.h"

namespace {

int AnswerOk(const MessageBoxCall& call, void*) {
  std::fprintf(stderr, "%s\n", call.text.c_str());
  return IDOK;
}

int g_recordsLeft = 0;
std::string g_stoppedFile;

void StopAfterTheLastRecord() {
  if (--g_recordsLeft != 0) return;
  const HANDLE file = CreateFileA(g_stoppedFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  // Not for ever: a test that died first leaves no process behind.
  Sleep(60000);
  TerminateProcess(GetCurrentProcess(), 9);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  SetMessageBoxHook(AnswerOk, nullptr);
  db_init();
  BindImagingLibrary();
  UseRunFolder(argv[1]);
  if (argc > 2 && std::strcmp(argv[2], "server") == 0 && !UseServerOutput()) return 1;
  if (argc > 3 && (g_recordsLeft = std::atoi(argv[3])) > 0) {
    g_stoppedFile = std::string(argv[1]) + "\\stopped";
    SetRecordStoredHook(StopAfterTheLastRecord);
  }
  int rc = LoadCurrentSheetPaper();
  if (rc == 0) rc = OpenSheetCanvas("0001");
  if (rc == 0) {
    g_currentSheet.projectMode = kOperationMode;
    rc = ValidateSheetFields();
  }
  if (rc == 0) {
    g_readingRun.subMode = kScanRun;
    g_readingRun.dpi = 300;
    rc = RunSheetReading();
  }
  UnbindImagingLibrary();
  db_term();
  return rc == 0 ? 0 : 1;
}
