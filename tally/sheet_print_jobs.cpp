// The sheet print jobs: plain sheets, numbered sheets and sheets merged
// with master rows, one- or two-sided, on the printer the print dialog
// chooses. A page is the registration marks of its side and the items of
// the sheet canvas, both at the margin offsets; values placed into fields
// before a page is drawn (numbers, master values) print in those fields.
// A job never half-counts: everything it needs (a valid number run, the
// master rows, the look-ups) is checked before the first page, and a page
// the printer refuses ends the job with a message. The user may stop a job
// between pages (its abort dialog): the pages ended before are printed.
#include <cstdio>
#include <string>
#include <vector>

#include "designer/designer.h"
#include "designer/sheet_settings.h"
#include "designer/survey.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "tally/report_printer.h"
#include "tally/sheet_printing.h"
#include "tally/tally.h"

SheetPrintRequest g_sheetPrintRequest;

std::string ColumnText(int slot, const char* name) {
  const char* text = GetColumnText(slot, name);
  return text ? text : "";
}
std::string ColumnAsText(int slot, const char* name) {
  const char* text = GetColumnAsText(slot, name);
  return text ? text : "";
}
std::string ColumnName(int slot, int position) {
  const char* name = GetColumnNameByPosition(slot, position);
  return name ? name : "";
}

namespace {

constexpr char kFrontSide[] = "0001";
constexpr char kBackSide[] = "0002";

int CanvasSlot() { return g_currentSheet.canvasSlot >= 0 ? g_currentSheet.canvasSlot : 0; }

// Shows `side` in the canvas (its items and paper settings). 0, or -1
// after the message.
int ShowSheetSide(const char* side) {
  if (g_sheetDefinition.sheetCode == side) return 0;
  g_sheetDefinition.sheetCode = side;
  if (RebuildWindowItems(CanvasSlot(), 1) != 0) return -1;
  SetItemValueByRef("RYOUMEN", side == std::string(kFrontSide) ? "1" : "2");
  return LoadCurrentSheetPaper();
}

void SetCanvasField(const std::string& name, const std::string& text) {
  const int item = FindCanvasField(name);
  if (item >= 0) Item(item).displayText = text;
}

int PaperCode(const std::string& size) {
  if (size == "Ａ３") return 1;
  if (size == "Ｂ４") return 3;
  if (size == "Ｂ５") return 4;
  if (size == "Ａ５") return 6;
  return 2;
}

// The sheet's own print settings, as the printed items read them.
void LoadSheetPrintSettings() {
  const SheetSettings& s = g_sheetSettings;
  g_sheetPrint.printColour = s.printColourState;
  g_sheetPrint.guideFigures = s.int8;
  g_sheetPrint.keyNumbering = s.keyNumbering;
  g_sheetPrint.lastKeyName = g_sheetKeys.lastKeyName;
}

// Marks and items stand this many millimetres up and left of their place
// plus the window's margins (PlaceSheetItem without extents).
constexpr int kItemShiftMm = 5;

// A printer's device origin is the corner of the area it can print on, its
// unprintable margins (the physical offset) in from the paper's corner. A
// sheet is read by where its marks and boxes stand on the paper, so the
// origin goes as far into the paper as the items stand out of their place:
// with margins of 0 every item prints where the sheet puts it, whatever the
// printer. The shift is in report units, which the ratio scales.
void PlaceOriginAtSheetCorner(HDC dc) {
  ReportOutputContext& r = g_reportOutput;
  const int shift = kItemShiftMm * r.scale;  // hundredths of a millimetre
  r.originX = MulDiv(shift, GetDeviceCaps(dc, LOGPIXELSX), 2540) - GetDeviceCaps(dc, PHYSICALOFFSETX);
  r.originY = MulDiv(shift, GetDeviceCaps(dc, LOGPIXELSY), 2540) - GetDeviceCaps(dc, PHYSICALOFFSETY);
}

// One job from its first page to its end; the caller places the values of
// each sheet into the canvas before it prints the sheet's pages.
class SheetJob {
 public:
  explicit SheetJob(int sideChoice) : sideChoice_(sideChoice) {}

  // The common start: the front side shown, the read results cleared, the
  // job opened on the printer. 0, or -1 (nothing printed).
  int Start() {
    if (ShowSheetSide(kFrontSide) != 0 || LoadCurrentSheetPaper() != 0) return Fail();
    ClearFieldResults();
    LoadSheetPrintSettings();
    SetPrintOffsetX(kSheetPrintBlank);
    const SheetSettings& s = g_sheetSettings;
    BeginReportOutput(g_sheetCanvas.window ? GetParent(g_sheetCanvas.window) : nullptr,
                      PaperCode(s.paperSize), s.orientation == "横" ? 2 : 1, 8, 0, 0);
    g_reportOutput.documentName = g_sheetPrintRequest.documentName;
    ShowPrintAdvice(sideChoice_, 1);
    OfferStopBetweenPages();
    const INT_PTR dc = StartPrintJob(kReportPrinter, "O", 0, 0, g_sheetPrintRequest.ratio);
    ShowPrintAdvice(sideChoice_, 0);
    if (!dc) return Fail();
    PlaceOriginAtSheetCorner(reinterpret_cast<HDC>(dc));
    started_ = true;
    return 0;
  }

  // Prints one page of `side`. 0, or -1 when the printer refused it or
  // the user stopped the job (the job then ends without a message of its
  // own for a stop, with one for a refusal). A refused page drops the
  // whole document: no sheet of a run prints without those after it. A
  // stop keeps the page: the user asked while it was spooled whole.
  int PrintPage(const char* side) {
    if (ShowSheetSide(side) != 0) return Fail();
    const SheetPrintRequest& r = g_sheetPrintRequest;
    SetPrintLineExtent(r.leftMargin, r.topMargin);
    // The page begins before anything is drawn, so a refusal is seen here
    // rather than as a page silently left blank.
    if (BeginPrintPage() != 0) {
      AbortPrintJob();
      return Refused();
    }
    DrawRegistrationMarks(r.leftMargin, r.topMargin);
    DrawWindowItems(CanvasSlot(), r.leftMargin, r.topMargin);
    NextPrintPage();
    const bool stop = PrintJobStopRequested() != 0;
    if (!stop && AbortPrintJob() != 0) return Refused();
    ++pages_;
    if (!stop) return 0;
    stopped_ = true;
    return -1;
  }

  bool TwoSided() const { return sideChoice_ == kSideChoiceBoth; }
  // Whether the user stopped the job and its pages were printed.
  bool Stopped() const { return stopped_ && !failed_; }
  // The sheets printed on every side.
  int SheetsPrinted() const { return TwoSided() ? pages_ / 2 : pages_; }

  // Ends the job (the front side shown again): 0 when every page asked
  // for was printed and the printer took the document, else -1.
  int Finish() {
    if (started_ && EndPrintJob() != 0 && !failed_) {
      ShowInfoMessage("", "プリンタ“%s”が印刷を受け付けませんでした。印刷を中止します。",
                      g_reportOutput.printerName.c_str());
      failed_ = true;
    }
    started_ = false;
    if (g_sheetDefinition.sheetCode != kFrontSide) ShowSheetSide(kFrontSide);
    return failed_ || stopped_ ? -1 : 0;
  }

 private:
  int Refused() {
    if (!failed_) {
      ShowInfoMessage("", "%d枚目の印刷ができませんでした。印刷を中止します。", pages_ + 1);
    }
    return Fail();
  }
  int Fail() {
    failed_ = true;
    return -1;
  }

  int sideChoice_;
  bool started_ = false;
  bool failed_ = false;
  bool stopped_ = false;
  int pages_ = 0;
};

// A table name from a master definition goes into SQL text as it is: one
// that could end the name (quotes, blanks, separators) is refused.
bool IsPlainTableName(const std::string& name) {
  if (name.empty()) return false;
  for (unsigned char c : name) {
    if (c <= ' ' || c == '\'' || c == '"' || c == ';' || c == '-' || c == '(' || c == ')' || c == ',') {
      return false;
    }
  }
  return true;
}

// The rows of `table` to print, in key order, each as its columns' texts.
using MasterRow = std::vector<std::pair<std::string, std::string>>;
int ReadMasterRows(const std::string& table, std::vector<MasterRow>* rows) {
  if (!IsPlainTableName(table)) {
    ShowInfoMessage("", "マスターファイル“%s”の名前は使えません。", table.c_str());
    return -1;
  }
  const CurrentSheet& sheet = g_currentSheet;
  const int slot = db_open_nocreate(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(),
                                    table.c_str(), sheet.outputKind, "", "",
                                    "select * from %s where printflag=1", table.c_str());
  if (slot < 0) {
    ShowInfoMessage("", "マスターファイル“%s”が作成されていません。", table.c_str());
    return -1;
  }
  std::vector<std::string> columns;
  for (int p = 1; p <= GetSlotColumnCount(slot); ++p) columns.push_back(ColumnName(slot, p));
  // A master's key is its first column.
  const std::string order = columns.empty() ? std::string() : columns[0];
  for (int rc = db_toppos(slot, order.c_str()); rc == 0; rc = db_nread(slot)) {
    MasterRow row;
    for (const std::string& column : columns) row.push_back({column, ColumnAsText(slot, column.c_str())});
    rows->push_back(std::move(row));
  }
  db_close(slot);
  if (rows->empty()) {
    ShowInfoMessage("", "マスターファイル“%s”に、データが登録されていません。", table.c_str());
    return -1;
  }
  return 0;
}

std::string ValueOf(const MasterRow& row, const std::string& column) {
  for (const auto& [name, value] : row) {
    if (name == column) return value;
  }
  return "";
}

bool Lists(const std::vector<std::string>& names, const std::string& name) {
  for (const std::string& n : names) {
    if (n == name) return true;
  }
  return false;
}

// The fields of the shown side that refer to `table` (each member of an
// array field is one), in canvas order.
std::vector<int> FieldsReferringTo(const std::string& table) {
  std::vector<int> fields;
  for (int item : CanvasFieldItems()) {
    if (Item(item).refTable == table) fields.push_back(item);
  }
  return fields;
}


// The master row of a numbered sheet: the row whose reference column
// holds the number, its linked column printed in the linked field.
class MasterLookup {
 public:
  explicit MasterLookup(const ScreenItem& field)
      : table_(field.refTable), key_(field.keyItemName), fetch_(field.fetchItemName),
        target_(field.writeItemName) {}
  ~MasterLookup() {
    if (slot_ >= 0) db_close(slot_);
  }
  MasterLookup(const MasterLookup&) = delete;
  MasterLookup& operator=(const MasterLookup&) = delete;

  // 0 (also when the field refers to no master), or -1 after the message.
  int Open() {
    if (table_.empty() || key_.empty()) return 0;
    const CurrentSheet& sheet = g_currentSheet;
    slot_ = db_open_nocreate(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(),
                             table_.c_str(), sheet.outputKind, "", "", "");
    if (slot_ < 0) {
      ShowInfoMessage("", "記入欄“%s”の参照マスターに定義されているテーブル“%s”は作成されていません",
                      g_sheetPrintRequest.idField.c_str(), table_.c_str());
      return -1;
    }
    return 0;
  }
  // Prints the linked column of the row of `number` (nothing when none).
  void Place(const std::string& number) {
    if (slot_ < 0 || fetch_.empty() || target_.empty()) return;
    const std::string condition = key_ + "=" + SqlLiteral(number.c_str());
    const bool found = db_search_where(slot_, condition.c_str(), key_.c_str()) == 0;
    const int field = FindCanvasField(target_);
    if (field >= 0) Item(field).displayText = found ? ColumnAsText(slot_, fetch_.c_str()) : "";
  }

 private:
  std::string table_, key_, fetch_, target_;
  int slot_ = -1;
};

}  // namespace

void DrawRegistrationMarks(int xOffset, int yOffset) {
  const SheetSettings& s = g_sheetSettings;
  // The marks stand in the canvas's millimetres, as its items do, whatever
  // window was current when the job began (the advice window has a unit of
  // its own).
  ReportOutputContext& r = g_reportOutput;
  const int jobDivisor = r.unitDivisor;
  r.unitDivisor = SheetDotsPerGridUnit();
  SetPrintLineExtent(xOffset, yOffset);
  for (const RegistrationSquare& square :
       RegistrationSquares(s.compensationMode, s.widthMm, s.heightMm, s.markMarginX, s.markMarginY,
                           g_sheetDefinition.sheetCode == kBackSide)) {
    DrawPrintShadedBox(square.x, square.y, square.size);
  }
  r.unitDivisor = jobDivisor;
}

int PrintSheetJob(int sideChoice) {
  SheetJob job(sideChoice);
  if (job.Start() != 0) return job.Finish();
  if (job.PrintPage(kFrontSide) == 0 && job.TwoSided()) job.PrintPage(kBackSide);
  return job.Finish();
}

int PrintSheetsWithIds(int sideChoice) {
  SheetPrintRequest& r = g_sheetPrintRequest;
  r.nextNumber.clear();
  if (ShowSheetSide(kFrontSide) != 0) return -1;
  const int id = FindCanvasField(r.idField);
  if (id < 0) {
    ShowInfoMessage("", "識別番号を印刷する欄“%s”がありません。", r.idField.c_str());
    return -1;
  }
  // The whole run is checked before the first page: a number that does
  // not fit the field would wrap round and print a number twice.
  IdNumberRun run;
  std::string why;
  if (PlanIdNumberRun(r.startNumber, r.endNumber, SheetFieldSpecOf(id).boxCount, r.idField, &run,
                      &why) != 0) {
    ShowInfoMessage("", "%s", why.c_str());
    return -1;
  }
  MasterLookup master(Item(id));
  if (master.Open() != 0) return -1;
  SheetJob job(sideChoice);
  if (job.Start() == 0) {
    for (int64_t k = 0; k < run.Count(); ++k) {
      const std::string number = run.At(k);
      char wide[64];
      NarrowTextToWide(wide, number.c_str());
      // The front's items are built again after a back side: the number
      // goes into them once they stand.
      if (ShowSheetSide(kFrontSide) != 0) break;
      const int field = FindCanvasField(r.idField);
      if (field >= 0) Item(field).displayText = wide;
      master.Place(number);
      if (job.PrintPage(kFrontSide) != 0) break;
      if (job.TwoSided() && job.PrintPage(kBackSide) != 0) break;
    }
  }
  const int rc = job.Finish();
  // A stopped run goes on from its first sheet not printed whole: a front
  // without its back is printed again.
  if (job.Stopped() && job.SheetsPrinted() < run.Count()) r.nextNumber = run.At(job.SheetsPrinted());
  return rc;
}

int FindMergePrintScreen(std::string* screenCode) {
  screenCode->clear();
  // The master definition is a screen of the sheet's own screens.
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open_nocreate(sheet.folder.c_str(), sheet.database.c_str(), kScreenTable, sheet.kind, "", "",
                                    "select * from S_SCREEN where SCRCODE<='099' and COMPORT=1");
  if (slot < 0) return DbTableMissing() ? 0 : -1;
  if (db_toppos(slot, "SCRCODE") == 0) *screenCode = ColumnText(slot, "SCRCODE");
  db_close(slot);
  return 0;
}

int LoadMergeDefinition(const std::string& screenCode, MergeDefinition* definition) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  definition->screenCode = screenCode;
  int slot = db_open_nocreate(sheet.folder.c_str(), sheet.database.c_str(), kScreenTable, sheet.kind, "", "",
                              "select * from S_SCREEN where SCRCODE=%s",
                              SqlLiteral(screenCode.c_str()).c_str());
  if (slot < 0 || db_toppos(slot, "SCRCODE") != 0) {
    if (slot >= 0) db_close(slot);
    ShowInfoMessage("", "差し込み印刷の画面“%s”がありません。", screenCode.c_str());
    return -1;
  }
  definition->table = ColumnText(slot, "SCRTBL");
  db_close(slot);
  slot = db_open_nocreate(sheet.folder.c_str(), sheet.database.c_str(), kFieldTable, sheet.kind, "", "",
                          "select * from S_FIELD where SCRCODE=%s",
                          SqlLiteral(screenCode.c_str()).c_str());
  if (slot < 0) {
    ShowInfoMessage("", "差し込み印刷の画面“%s”の項目がありません。", screenCode.c_str());
    return -1;
  }
  definition->columns.clear();
  for (int rc = db_toppos(slot, "FLDCODE"); rc == 0; rc = db_nread(slot)) {
      std::string name = ColumnText(slot, "FLDNAME");
      if (!name.empty() && name[0] == '*') name.erase(0, 1);
    if (name.size() > 40) name.resize(40);
    if (!name.empty()) definition->columns.push_back(name);
  }
  db_close(slot);
  if (definition->table.empty()) {
    ShowInfoMessage("", "差し込み印刷の画面“%s”にマスターファイルが設定されていません。",
                    screenCode.c_str());
    return -1;
  }
  return 0;
}

int SheetHasMasterArrays(const std::string& table) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open_nocreate(sheet.folder.c_str(), sheet.database.c_str(), kSheetFieldTable,
                                    sheet.kind, "", "",
                                    "select * from MUPA_FLD where 配列個数>=1 and 参照テーブル=%s",
                                    SqlLiteral(table.c_str()).c_str());
  if (slot < 0) return -1;
  const int found = db_toppos(slot, "ＯＣＲコード,領域コード") == 0 ? 1 : 0;
  db_close(slot);
  return found;
}

int MergePrintSheets(int sideChoice, const MergeDefinition& definition) {
  std::vector<MasterRow> rows;
  if (ReadMasterRows(definition.table, &rows) != 0) return -1;
  SheetJob job(sideChoice);
  if (job.Start() == 0) {
    auto fill = [&](const MasterRow& row) {
      for (int item : CanvasFieldItems()) {
        const std::string& name = Item(item).name;
        if (Lists(definition.columns, name)) Item(item).displayText = ValueOf(row, name);
      }
    };
    for (const MasterRow& row : rows) {
      fill(row);
      if (job.PrintPage(kFrontSide) != 0) break;
      if (job.TwoSided()) {
        if (ShowSheetSide(kBackSide) != 0) break;
        fill(row);  // the back side of the same sheet
        if (job.PrintPage(kBackSide) != 0) break;
        if (ShowSheetSide(kFrontSide) != 0) break;
      }
    }
  }
  return job.Finish();
}

int MergePrintArrays(int sideChoice, const MergeDefinition& definition) {
  // Without a field to take them the rows would never run out.
  if (ShowSheetSide(kFrontSide) != 0) return -1;
  if (FieldsReferringTo(definition.table).empty()) {
    ShowInfoMessage("", "マスターファイル“%s”を参照する記入欄がありません。", definition.table.c_str());
    return -1;
  }
  std::vector<MasterRow> rows;
  if (ReadMasterRows(definition.table, &rows) != 0) return -1;
  SheetJob job(sideChoice);
  if (job.Start() == 0) {
    size_t next = 0;
    // Each field referring to the master takes the next row; the fields
    // left when the rows run out print empty.
    auto fill = [&] {
      for (int item : FieldsReferringTo(definition.table)) {
        ScreenItem& field = Item(item);
        const bool has = next < rows.size();
        field.displayText = has ? ValueOf(rows[next], field.keyItemName) : "";
        if (!field.writeItemName.empty()) {
          SetCanvasField(field.writeItemName, has ? ValueOf(rows[next], field.fetchItemName) : "");
        }
        if (has) ++next;
      }
    };
    while (next < rows.size()) {
      fill();
      if (job.PrintPage(kFrontSide) != 0) break;
      if (job.TwoSided()) {
        if (ShowSheetSide(kBackSide) != 0) break;
        fill();
        if (job.PrintPage(kBackSide) != 0) break;
        if (ShowSheetSide(kFrontSide) != 0) break;
      }
    }
  }
  return job.Finish();
}

void ShowPrintAdvice(int sideChoice, int show) {
  const char* text = PrintAdviceText(sideChoice == kSideChoiceBoth, g_sheetSettings.orientation == "横",
                                     sideChoice == kSideChoiceOne);
  if (!*text) return;
  if (show) {
    ShowMessageWindow(text, 8, 540, 40);
  } else {
    NotifyMainWindow();
  }
}
