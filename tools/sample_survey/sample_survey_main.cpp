// sample_survey: makes the sample survey in the program's folder (see
// sample_survey.h) unless it is there already. Run by tools/run.sh before the
// program starts. Exits 0, or 1 with the reason on stderr.
#include <windows.h>

#include <cstdio>
#include <string>

#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/ocr_ini.h"
#include "foundation/test_hooks.h"
#include "tools/sample_survey/sample_survey.h"

namespace {

// Nobody is there to press a button: messages go to the console.
int PrintMessageBox(const MessageBoxCall& call, void*) {
  std::fprintf(stderr, "%s\n", call.text.c_str());
  return IDYES;
}

}  // namespace

int main() {
  SetMessageBoxHook(PrintMessageBox, nullptr);
  const std::string program = GetProgramFolder();
  SetCurrentDirectoryA(program.c_str());
  db_init();
  SetSpecFolder(program.c_str());
  SetDbServer(kDbKindFile, 7, "");
  std::string why;
  const int made = MakeSampleSurvey(program, program, &why);
  db_term();
  if (made < 0) {
    std::fprintf(stderr, "sample_survey: %s\n", why.c_str());
    return 1;
  }
  std::printf(made ? "the sample survey is made in %s\\sample\n" : "the sample survey in %s\\sample is kept\n",
              program.c_str());
  return 0;
}
