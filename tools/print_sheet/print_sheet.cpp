// Prints the sample OCR sheet on the default printer, without dialogs, as
// blank sheets are printed: the registration marks and every item of the
// sheet canvas. The document name (argument 1) lets print_sheet.sh find the
// PDF of the job; argument 2 is a work folder for the databases. Exit code
// 0 when the job was printed.
#include <windows.h>

#include <cstdio>
#include <string>

#include "foundation/db.h"
#include "foundation/test_hooks.h"
#include "screen/screen.h"
#include "tally/tally.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/tally/sample_sheet.h"

namespace {

// Messages go to the console: nobody is there to press a button.
int PrintMessageBox(const MessageBoxCall& call, void*) {
  std::fprintf(stderr, "[%s] %s\n", call.caption.c_str(), call.text.c_str());
  return IDYES;
}

HWND CreateMainWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "PrintSheetMain";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, windowClass.lpszClassName, "main", WS_POPUP, 0, 0, 0, 0, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The sample sheet's definition in a file database of `folder`, opened in
// the sheet canvas.
int OpenSampleSheet(const std::string& folder) {
  CreateDirectoryA(folder.c_str(), nullptr);
  DeleteFileA((folder + "\\" + kFixtureDb + ".mdb").c_str());
  UseFixtureDatabase(kDbKindFile, folder, ServerLogin());
  if (PrepareFixtureTables() != 0) return -1;
  if (LoadProjectScreen(folder + "\\texts") != 0) return -1;
  if (WriteSheetFields(kSampleSheetDb, kDbKindFile, SampleSheetFields()) != 0) return -1;
  return OpenSheetCanvas(kSampleSheetDb, kDbKindFile);
}

}  // namespace

int main(int argc, char** argv) {
  SetMessageBoxHook(PrintMessageBox, nullptr);
  InitScreenEngine(CreateMainWindow());
  db_init();
  const std::string folder = argc > 2 ? argv[2] : "print_sheet_work";
  if (OpenSampleSheet(folder) != 0) return 1;

  // A sheet printed in a drop-out colour with guide figures, its marks 5 mm
  // in (margins of 5 mm: 20 canvas pixels).
  g_sheetPrint.printColour = 41;
  g_sheetPrint.guideFigures = 1;
  SetPrintOffsetX(kSheetPrintBlank);
  BeginReportOutput(nullptr, 2, 1, 8, 0, 0);
  if (argc > 1) g_reportOutput.documentName = argv[1];
  if (!StartPrintJob(kReportPrinter, "o", 0, 0, -1)) return 1;
  constexpr int kMargin = 5 * 4;
  SetPrintLineExtent(kMargin, kMargin);
  DrawPrintShadedBox(6, 6, 2);
  DrawPrintShadedBox(210 - 8, 6, 2);
  DrawWindowItems(0, kMargin, kMargin);
  NextPrintPage();
  const int aborted = AbortPrintJob();
  EndPrintJob();
  db_term();
  return aborted == 0 ? 0 : 1;
}
