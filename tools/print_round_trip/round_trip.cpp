#include "tools/print_round_trip/round_trip.h"

#include <windows.h>

#include <chrono>
#include <functional>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "screen/screen.h"
#include "tools/sheetgen/sheet_definition_db.h"
#include "foundation/test_hooks.h"
#include "tally/sheet_printing.h"
#include "tests/support/hook_recorder.h"
#include "tools/sheetgen/page_reader.h"

namespace {

constexpr int kDotsPerMm = 4;

std::vector<SheetFieldSpec> CheckSpecs(const SheetDefinition& d, std::vector<std::string>* names) {
  std::vector<SheetFieldSpec> specs;
  for (const SheetFieldRow* row : d.FieldsOf("0001")) {
    if (!row->IsCheck()) continue;
    specs.push_back(FieldSpecFromRow(*row));
    names->push_back(row->name);
  }
  return specs;
}

SheetRequest RequestFor(const SheetDefinition& d, const RoundTripCase& c) {
  SheetRandom random(c.seed);
  SheetRequest request;
  request.dpi = c.dpi;
  request.seed = c.seed;
  request.fills = RandomFills(d, "0001", 0.35, random);
  if (c.degrade) {
    request.scan = RandomDegradation(random);
    request.scan.specks = 150;
  }
  return request;
}

RoundTripResult Read(const SheetDefinition& d, const GeneratedSheet& sheet, int dpi,
                     const GeneratedSheet* printed) {
  RoundTripResult result;
  if (!sheet.error.empty()) {
    result.faults.push_back(sheet.error);
    return result;
  }
  const ReferenceMarks references = RegisterCleanPage(d, "0001", dpi, printed);
  std::vector<std::string> names;
  const std::vector<SheetFieldSpec> specs = CheckSpecs(d, &names);
  SheetImage image = SheetImageFromGenerated(sheet);
  const auto start = std::chrono::steady_clock::now();
  const PageReading reading = ReadPageInMemory(&image, *d.Paper("0001"), references, specs);
  result.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.read = reading.read;
  if (!reading.read) {
    result.faults.push_back("marks not found");
    return result;
  }
  for (size_t f = 0; f < names.size(); ++f) {
    for (const ExpectedField& expected : sheet.expected) {
      if (expected.name != names[f]) continue;
      result.boxes += static_cast<int>(expected.marks.size());
      const std::string& got = reading.marks[f];
      for (size_t b = 0; b < expected.marks.size(); ++b) {
        const char read = b < got.size() ? got[b] : ' ';
        if ((read == '1') != (expected.marks[b] == '1')) ++result.wrong;
      }
      if (got != expected.marks) {
        result.faults.push_back(names[f] + ": filled \"" + expected.marks + "\", read \"" + got + "\"");
      }
    }
  }
  return result;
}

}  // namespace

SheetDefinition RoundTripSheet() {
  SheetDefinition d;
  SheetPaperRow paper;
  paper.name = "ROUNDTRIP";
  paper.outputTable = "ROUNDOUT";
  paper.compensationMode = 3;
  paper.noiseSize = 2;
  d.papers.push_back(paper);
  SheetFieldRow id = WriteInFieldRow("0001", "ID", 40 * kDotsPerMm, 40 * kDotsPerMm, 6);
  id.boxHeight = 7;
  id.gap = 1;
  id.mask = "1000000000";
  d.fields.push_back(id);
  // Rows of square choices below the marks' search corners: boxes of 3 to
  // 6 mm, 1 to 10 mm apart. (Ovals are left out: the generator's pen and
  // the reader disagree on filled ovals on generated pages as well.)
  const struct {
    int boxes, boxMm, gap, markType;
  } rows[] = {{10, 4, 2, 0}, {8, 5, 3, 0}, {6, 6, 4, 0}, {12, 3, 1, 0}, {10, 4, 2, 0}, {5, 5, 10, 0}};
  for (int r = 0; r < 6; ++r) {
    char code[8], name[8];
    std::snprintf(code, sizeof code, "%04d", r + 2);
    std::snprintf(name, sizeof name, "Q%d", r + 1);
    SheetFieldRow field = CheckFieldRow(code, name, 40 * kDotsPerMm, (70 + 25 * r) * kDotsPerMm,
                                        rows[r].boxes, rows[r].boxMm);
    field.gap = rows[r].gap;
    field.markType = rows[r].markType;
    field.threshold = 30;
    field.decimals = rows[r].boxes;
    d.fields.push_back(field);
  }
  return d;
}

int OpenRoundTripSheet(const std::string& work, const SheetDefinition& definition) {
  constexpr char kDatabase[] = "SHEET";
  CreateDirectoryA(work.c_str(), nullptr);
  DeleteFileA((work + "\\" + kDatabase + ".mdb").c_str());
  char program[MAX_PATH];
  std::string folder(program, GetModuleFileNameA(nullptr, program, MAX_PATH));
  folder.resize(folder.find_last_of('\\'));
  CopyFileA((folder + "\\MUPADATA.SPC").c_str(), (work + "\\MUPADATA.SPC").c_str(), FALSE);
  SetSpecFolder(work.c_str());
  SetDbServer(kDbKindFile, 7, "");
  g_currentSheet = CurrentSheet();
  g_currentSheet.outputFolder = work;
  g_currentSheet.outputDatabase = kDatabase;
  g_sheetDefinition = SheetDefinitionRef();
  g_sheetDefinition.folder = work;
  g_sheetDefinition.database = kDatabase;
  if (WriteSheetDefinition(work.c_str(), kDatabase, definition) != 0 ||
      UsePaleFrames(work.c_str(), kDatabase) != 0 || LoadCurrentSheetPaper() != 0) {
    return -1;
  }
  // The canvas of the front in slot 0, without a window of its own.
  g_screenItems.totalCount = g_screenItems.buildingCount = 0;
  ResetWindowSlot(0);
  Slot(0).state = 0;
  Slot(0).screenType = kScreenTypeSheet;
  Slot(0).openMode = -10;
  g_screen.currentSlot = 0;
  g_currentSheet.canvasSlot = 0;
  return RebuildWindowItems(0, 0);
}

int UsePaleFrames(const char* folder, const char* database) {
  const int slot = db_alloc_slot(folder, database, "MUPA_PAP", kDbKindFile);
  if (slot <= 0) return -1;
  const int rc = db_exec(slot, "update MUPA_PAP set 印字カラー=1, 色を薄くする=1");
  db_disconnect(slot);
  return rc;
}

GeneratedSheet PrintedPageOf(const PdfPage& page, int blackBelow) {
  GeneratedSheet sheet;
  sheet.width = page.width;
  sheet.height = page.height;
  sheet.dpi = page.dpi;
  sheet.black.resize(page.gray.size());
  for (size_t i = 0; i < page.gray.size(); ++i) sheet.black[i] = page.gray[i] < blackBelow ? 1 : 0;
  return sheet;
}

GeneratedSheet SmudgedPage(const SheetDefinition& definition, const GeneratedSheet& printed,
                           const std::string& field, int box) {
  GeneratedSheet smudged = printed;
  for (const SheetFieldRow* row : definition.FieldsOf("0001")) {
    if (row->name != field) continue;
    const SheetScale scale = SheetScaleFor(*definition.Paper("0001"), printed.dpi);
    const SheetFieldSpec spec = FieldSpecFromRow(*row);
    const BoxRect rect = LayoutFieldBoxes(ComputeFieldLayout(spec, scale, {}), spec.boxCount, printed.dpi)[box];
    SheetRandom random(7);
    const int width = rect.right - rect.left + 1, height = rect.bottom - rect.top + 1;
    for (int k = 0; k < width * height * 3 / 1000; ++k) {
      const int x = rect.left + random.Below(width), y = rect.top + random.Below(height);
      smudged.black[static_cast<size_t>(y) * printed.width + x] = 1;
    }
  }
  return smudged;
}

namespace {

// Prints with `job` through the print dialog (the default printer at
// `printerDpi`) with the sheet print window's margins of 0, which print the
// sheet at its own millimetres, and renders the job at each of `dpis`.
int PrintAndRender(const char* what, const std::function<int()>& job, int printerDpi,
                   const std::vector<int>& dpis, std::vector<std::vector<PdfPage>>* pages,
                   std::string* why, const std::string& printer = DefaultPrinterName()) {
  ModalDialogRecorder dialogs([printerDpi, printer](const ModalDialogCall& call) {
    return ChoosePrinterAt(call, printer, printerDpi);
  });
  SheetPrintRequest& r = g_sheetPrintRequest;
  r.documentName = UniqueDocumentName(what);
  r.leftMargin = r.topMargin = 0;
  r.ratio = 100;
  if (job() != 0) {
    *why = "the job did not print";
    return -1;
  }
  *pages = WaitForPrintedPagesAt(r.documentName, dpis);
  if (pages->size() != dpis.size()) {
    *why = "no PDF came";
    return -1;
  }
  return 0;
}

}  // namespace

int PrintNumberedSheets(const std::string& first, const std::string& last, int printerDpi,
                        const std::vector<int>& dpis, std::vector<std::vector<PdfPage>>* pages,
                        std::string* why) {
  SheetPrintRequest& r = g_sheetPrintRequest;
  r.idField = "ID";
  r.startNumber = first;
  r.endNumber = last;
  return PrintAndRender("roundtrip", [] { return PrintSheetsWithIds(kSideChoiceNone); }, printerDpi,
                        dpis, pages, why);
}

int PrintPlainSheets(const std::string& printer, int printerDpi, const std::vector<int>& dpis,
                     std::vector<std::vector<PdfPage>>* pages, std::string* why) {
  return PrintAndRender("roundplain", [] { return PrintSheetJob(kSideChoiceNone); }, printerDpi,
                        dpis, pages, why, printer);
}

int PrintMergedSheets(const MergeDefinition& master, int printerDpi, const std::vector<int>& dpis,
                      std::vector<std::vector<PdfPage>>* pages, std::string* why) {
  return PrintAndRender("roundmerge", [&master] { return MergePrintSheets(kSideChoiceNone, master); },
                        printerDpi, dpis, pages, why);
}

std::string MarginsPrinterMissing() {
  const std::string why = PrintingUnavailable();
  return why.empty() ? PrinterMissing(kMarginsPrinter) : why;
}

GeneratedSheet FillPrintedPage(const SheetDefinition& definition, const GeneratedSheet& printed,
                               const RoundTripCase& c) {
  SheetRequest request = RequestFor(definition, c);
  request.printedPage = &printed;
  return GenerateSheet(definition, request);
}

RoundTripResult ReadFilledPage(const SheetDefinition& definition, const GeneratedSheet& printed,
                               const RoundTripCase& c) {
  return Read(definition, FillPrintedPage(definition, printed, c), c.dpi, &printed);
}

RoundTripResult ReadGeneratedPage(const SheetDefinition& definition, const RoundTripCase& c) {
  return Read(definition, GenerateSheet(definition, RequestFor(definition, c)), c.dpi, nullptr);
}

FieldInk InkOfField(const SheetDefinition& definition, const GeneratedSheet& page,
                    const std::string& name) {
  FieldInk ink;
  const SheetFieldRow* row = nullptr;
  for (const SheetFieldRow* r : definition.FieldsOf("0001")) {
    if (r->name == name) row = r;
  }
  if (!row) return ink;
  const ReferenceMarks references = RegisterCleanPage(definition, "0001", page.dpi, &page);
  SheetImage image = SheetImageFromGenerated(page);
  // The page as registered: no shift against itself.
  const PageReading reading = ReadPageInMemory(&image, *definition.Paper("0001"), references, {});
  SheetScale scale = SheetScaleFor(*definition.Paper("0001"), page.dpi);
  const FieldBoxLayout layout = ComputeFieldLayout(FieldSpecFromRow(*row), scale, reading.compensation);
  const std::vector<BoxRect> boxes = LayoutFieldBoxes(layout, row->count, page.dpi);
  auto black = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < page.width && y < page.height && page.black[y * page.width + x];
  };
  const int margin = page.dpi / 25;  // 1 mm
  ink.boxes = static_cast<int>(boxes.size());
  for (const BoxRect& box : boxes) {
    int inside = 0;
    // The box below its top line and above its bottom one, its whole
    // width: a half-width character (a merged value) prints at the box's
    // left edge. The pale frames are gone from the thresholded page.
    for (int y = box.top + margin; y <= box.bottom - margin; ++y) {
      for (int x = box.left; x <= box.right; ++x) inside += black(x, y);
    }
    ink.inside += inside;
    ink.boxesInked += inside > 0;
  }
  if (!boxes.empty()) {
    // Beside the field, a box's height above and below it.
    const int left = boxes.front().left, right = boxes.back().right;
    const int height = boxes.front().bottom - boxes.front().top;
    for (int y = boxes.front().top - height; y < boxes.front().top - margin; ++y) {
      for (int x = left; x <= right; ++x) ink.outside += black(x, y);
    }
    for (int y = boxes.front().bottom + margin; y < boxes.front().bottom + height; ++y) {
      for (int x = left; x <= right; ++x) ink.outside += black(x, y);
    }
  }
  return ink;
}
