// The printing round trip as a program: prints numbered sheets of the
// round-trip sheet through the print dialog (answered with the default
// printer) to the CUPS PDF printer, renders them at 200, 300 and 400 dpi,
// fills and scans each rendered page with the sheet generator and reads it
// with the reading run's steps. Prints a line a page and a summary; the
// exit code is 0 when every box read as filled and every number stood in
// its field.
//
//   print_round_trip [sheets] [work folder]   (2, print_round_trip_work)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "foundation/test_hooks.h"
#include "screen/screen.h"
#include "tools/print_round_trip/round_trip.h"

namespace {

int PrintMessageBox(const MessageBoxCall& call, void*) {
  std::fprintf(stderr, "[%s] %s\n", call.caption.c_str(), call.text.c_str());
  return IDOK;
}

}  // namespace

int main(int argc, char** argv) {
  const int sheets = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2;
  const std::string work = argc > 2 ? argv[2] : "print_round_trip_work";
  SetMessageBoxHook(PrintMessageBox, nullptr);
  db_init();
  const SheetDefinition sheet = RoundTripSheet();
  if (OpenRoundTripSheet(work, sheet) != 0) return 1;
  char last[16];
  std::snprintf(last, sizeof last, "%06d", sheets);
  const std::vector<int> dpis = {200, 300, 400};
  std::vector<std::vector<PdfPage>> rendered;
  std::string why;
  if (PrintNumberedSheets("000001", last, 600, dpis, &rendered, &why) != 0) {
    std::fprintf(stderr, "%s\n", why.c_str());
    return 1;
  }
  int faults = 0, boxes = 0;
  for (size_t d = 0; d < dpis.size(); ++d) {
    for (size_t p = 0; p < rendered[d].size(); ++p) {
      const GeneratedSheet printed = PrintedPageOf(rendered[d][p]);
      const FieldInk number = InkOfField(sheet, printed, "ID");
      const RoundTripResult r =
          ReadFilledPage(sheet, printed, {dpis[d], static_cast<uint32_t>(p + 1), true});
      const bool numberPlaced = number.boxesInked == number.boxes && number.outside == 0;
      std::printf("%d dpi, sheet %zu: %s, %d boxes, %d read otherwise; number %s\n", dpis[d], p + 1,
                  r.read ? "read" : "not read", r.boxes, r.wrong,
                  numberPlaced ? "in its field" : "NOT in its field");
      for (const std::string& fault : r.faults) std::printf("  %s\n", fault.c_str());
      faults += r.wrong + (r.read ? 0 : 1) + (numberPlaced ? 0 : 1);
      boxes += r.boxes;
    }
  }
  std::printf("round trip: %d boxes read, %d faults\n", boxes, faults);
  db_term();
  return faults == 0 ? 0 : 1;
}
