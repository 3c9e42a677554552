// Loads the screen texts of a folder (data/screens/*.txt beside the
// programs) into a screen database through the program's own database
// layer, so that the rows stored are those the program reads on whichever
// database OCR.INI names. Setting up the program runs it; a developer runs
// it again after editing a screen text. Each screen replaces the rows
// stored under its code; a text that would not store as written stops the
// load before anything is written.
//
// Usage: screen_db_load <folder of screen texts> [<database folder> [<database>]]
// The database folder defaults to the program's (OCR.INI), made when
// missing; the database to KQQSCR. The table descriptions are those beside
// the program.
#include <windows.h>

#include <cstdio>
#include <string>

#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/test_hooks.h"
#include "screen/screen.h"

namespace {

// Nobody is there to press a button: messages go to the console.
int PrintMessageBox(const MessageBoxCall& call, void*) {
  std::fprintf(stderr, "%s\n", call.text.c_str());
  return IDYES;
}


}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: screen_db_load <folder of screen texts> [<database folder> [<database>]]\n");
    return 2;
  }
  SetMessageBoxHook(PrintMessageBox, nullptr);
  db_init();
  SetSpecFolder(GetProgramFolder().c_str());
  SelectScreenTableSpec();
  const std::string folder = argc > 2 ? argv[2] : GetDbFolder();
  const char* database = argc > 3 ? argv[3] : "KQQSCR";
  if (GetDefaultDbKind() == kDbKindFile && EnsureDirectoryPath(folder.c_str()) != 0) {
    std::fprintf(stderr, "cannot make the database folder %s\n", folder.c_str());
    db_term();
    return 1;
  }
  const int loaded = LoadScreenTexts(argv[1], folder.c_str(), database);
  db_term();
  if (loaded < 0) return 1;
  std::printf("%d screens loaded into %s\n", loaded, database);
  return 0;
}
