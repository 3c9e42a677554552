// The reference store of the registration marks: one MUPA_HMK row of mark
// positions per sheet side and resolution (where the sheet prints its marks
// stands in for a side with none), the grid scale beside it in MUPA_PAP,
// registering and erasing a reference from the workbench, and the one-time
// carrying over of the older MUPA_TMK.
#include <cstdio>
#include <string>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "reading/reading.h"
#include "screen/screen.h"

namespace {

constexpr char kMarkTable[] = "MUPA_HMK";
constexpr char kOldMarkTable[] = "MUPA_TMK";
constexpr char kCaption[] = "";
const char* const kPositionColumns[6] = {"Ｘ１", "Ｙ１", "Ｘ２", "Ｙ２", "Ｘ３", "Ｙ３"};

int ResolutionCodeOf(int dpi) { return dpi == 300 ? 2 : dpi == 400 ? 3 : 1; }
int DpiOf(int code) { return code == 1 ? 200 : code == 2 ? 300 : 400; }

std::string CodeText(int code) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", code);
  return text;
}

// A slot on the MUPA_HMK row of a side and resolution, positioned on it when
// it exists (`found`). The slot, or -1 (reported).
int OpenMarkRow(const std::string& side, int code, bool* found) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kMarkTable, sheet.kind,
                           kSheetSpecSet, kMarkTable,
                           "select * from MUPA_HMK where ＯＣＲコード=%s and コード=%s",
                           SqlLiteral(side.c_str()).c_str(), SqlLiteral(CodeText(code).c_str()).c_str());
  if (slot > 0) *found = db_toppos(slot, "コード") == 0;
  return slot;
}

// Reads the references of one side at the run's resolution. 0 / -1.
int ReadSideReferences(const std::string& side, ReferenceMarks* references) {
  const int dpi = g_readingRun.dpi;
  const int code = ResolutionCodeOf(dpi);
  *references = ReferenceMarks();
  bool found = false;
  const int marks = OpenMarkRow(side, code, &found);
  if (marks < 0) return -1;
  if (found) {
    int* values[6] = {&references->x1, &references->y1, &references->x2,
                      &references->y2, &references->x3, &references->y3};
    for (int i = 0; i < 6; ++i) *values[i] = GetColumnInt(marks, kPositionColumns[i]);
  }
  db_close(marks);

  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int paper = db_open(sheet.folder.c_str(), sheet.database.c_str(), kPaperTable, sheet.kind,
                            kSheetSpecSet, kPaperTable,
                            "select * from MUPA_PAP where ＯＣＲコード=%s",
                            SqlLiteral(side.c_str()).c_str());
  if (paper < 0) return -1;
  double dotsX = 0, dotsY = 0;
  if (db_toppos(paper, "ＯＣＲコード") == 0) {
    dotsX = GetColumnDoubleIdx(paper, "イメージ割合", code);
    dotsY = GetColumnDoubleIdx(paper, "イメージ割合", code + 10);
    references->gridShiftX = GetColumnInt(paper, "横シフト");
    references->gridShiftY = GetColumnInt(paper, "縦シフト");
  }
  db_close(paper);
  references->dotsX = DotsPerUnit(dotsX, dpi);
  references->dotsY = DotsPerUnit(dotsY, dpi);
  const SheetSettings& s = g_sheetSettings;
  SetPrintedMarkPlaces(s.compensationMode,
                       RegistrationSquares(s.compensationMode, s.widthMm, s.heightMm, s.markMarginX,
                                           s.markMarginY, false),
                       dpi, references);
  return 0;
}

bool NeededMarksFound(int mode) {
  const CornerMarkPositions& m = g_cornerMarks;
  if (m.topLeft.x == kNotFound && m.topLeft.y == kNotFound) return false;
  if (mode == 2 && !m.topRight.found()) return false;
  if (mode == 3 && (!m.topRight.found() || !m.bottomLeft.found())) return false;
  return true;
}

std::string MarkDetail(int mode) {
  const CornerMarkPositions& m = g_cornerMarks;
  char text[256];
  if (mode == 3) {
    std::snprintf(text, sizeof text,
                  "\n\nＸ１＝%d Ｙ１＝%d ／ Ｘ２＝%d Ｙ２＝%d ／ Ｘ３＝%d Ｙ３＝%d", m.topLeft.x,
                  m.topLeft.y, m.topRight.x, m.topRight.y, m.bottomLeft.x, m.bottomLeft.y);
  } else if (mode == 2) {
    std::snprintf(text, sizeof text, "\n\nＸ１＝%d Ｙ１＝%d ／ Ｘ２＝%d Ｙ２＝%d", m.topLeft.x,
                  m.topLeft.y, m.topRight.x, m.topRight.y);
  } else {
    std::snprintf(text, sizeof text, "\n\nＸ１＝%d Ｙ１＝%d", m.topLeft.x, m.topLeft.y);
  }
  return text;
}

class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_ ? previous_ : LoadCursor(nullptr, IDC_ARROW)); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

}  // namespace

ReferenceMarks& CurrentReferences() {
  ReadingRun& run = g_readingRun;
  const bool paired = run.scanType == kScanPaired;
  return run.references[paired ? (run.currentSide == 2 ? 2 : 1) : 0];
}

ImageCompensation& CurrentCompensation() {
  ReadingRun& run = g_readingRun;
  const bool paired = run.scanType == kScanPaired;
  return run.compensation[paired ? (run.currentSide == 2 ? 2 : 1) : 0];
}

int LoadReferenceMarks() {
  return ReadSideReferences(g_sheetDefinition.sheetCode, &g_readingRun.references[0]);
}

int LoadReferenceMarksBothSides() {
  if (g_readingRun.scanType != kScanPaired) return LoadReferenceMarks();
  if (ReadSideReferences("0001", &g_readingRun.references[1]) != 0) return -1;
  return ReadSideReferences("0002", &g_readingRun.references[2]);
}

int RegisterReferenceMarks(int resolutionCode, int workbenchMode) {
  if (ValidateSheetFields() != 0) return -1;
  if (AskYesNo(kCaption,
               "読み取ったイメージのズレを自動補正するための基準になる位置を登録します。\n"
               "この処理は、読み取ったイメージの位置合わせを行い、正しく認識される状態で実行して"
               "ください。\nここで、基準位置を登録した後、再度、位置合わせをやり直す場合は、"
               "一旦、登録されている基準位置を消去してから行ってください。") != IDYES) {
    return -1;
  }
  const int dpi = DpiOf(resolutionCode);
  const std::string& side = g_sheetDefinition.sheetCode;
  char path[MAX_PATH];
  if (workbenchMode == kDesignMode && g_sheetSettings.scanType == kScanPaired) {
    std::snprintf(path, sizeof path, "%s\\CONV%d_%d.BMP", g_readingPlaces.imageFolder.c_str(),
                  side == "0002" ? 2 : 1, dpi);
  } else {
    std::snprintf(path, sizeof path, "%s\\CONV_%d.BMP", g_readingPlaces.imageFolder.c_str(), dpi);
  }
  if (FileExists(path) != 0) {
    ShowWorkbenchMessage(kCaption, "イメージファイルが作成されていません。\n"
                                   "イメージスキャナによる読み取り処理を行ってください。");
    return -1;
  }
  WaitCursor wait;
  SheetImage image;
  if (LoadSheetPage(path, dpi, &image) != 0) return -1;
  const int mode = g_sheetSettings.compensationMode;
  UseSheetMarkSearch();
  FindCorrectionMarks(image.bitmap, 1);
  if (!NeededMarksFound(mode)) {
    ShowWorkbenchMessage(kCaption, "読み取ったイメージを補正するためのマーク“■”を認識できません。");
    return -1;
  }
  bool found = false;
  const int slot = OpenMarkRow(side, resolutionCode, &found);
  if (slot < 0) return -1;
  if (!found) {
    db_clear(slot);
    SetColumnText(slot, "コード", CodeText(resolutionCode).c_str());
    SetColumnText(slot, "ＯＣＲコード", side.c_str());
  }
  const CornerMarkPositions& m = g_cornerMarks;
  const int values[6] = {m.topLeft.x,  m.topLeft.y,    m.topRight.x,
                         m.topRight.y, m.bottomLeft.x, m.bottomLeft.y};
  for (int i = 0; i < 6; ++i) SetColumnInt(slot, kPositionColumns[i], values[i]);
  SetColumnInt(slot, "横幅", image.bitmap.width);
  SetColumnInt(slot, "高さ", image.bitmap.height);
  // A failed write was reported by the database layer; nothing is claimed.
  const int stored = found ? db_update(slot) : db_add(slot);
  db_close(slot);
  if (stored != 0) return -1;
  SetItemValueByRef("位置記憶", "登録済み");
  ShowWorkbenchMessage(kCaption,
                       "読み取ったイメージのズレを自動補正するための基準になる位置を登録しました。\n"
                       "以降は、登録された情報を基に、イメージの位置補正を行います。%s",
                       MarkDetail(mode).c_str());
  return 0;
}

int EraseReferenceMarks(int resolutionCode) {
  bool found = false;
  const int slot = OpenMarkRow(g_sheetDefinition.sheetCode, resolutionCode, &found);
  if (slot < 0) return -1;
  if (!found || GetColumnInt(slot, "Ｘ１") == kNotFound) {
    db_close(slot);
    ShowInfoMessage(kCaption, "基準位置は登録されていません。");
    return -1;
  }
  if (AskYesNo(kCaption, "登録されている基準位置を消去します。") != IDYES) {
    db_close(slot);
    return -1;
  }
  for (const char* column : kPositionColumns) SetColumnInt(slot, column, kNotFound);
  const int stored = db_update(slot);
  db_close(slot);
  if (stored != 0) return -1;
  SetItemValueByRef("位置記憶", "未登録");
  ShowInfoMessage(kCaption, "登録されている基準位置を消去しました。");
  return 0;
}

int CarryOverOldMarkTable() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const char* folder = sheet.folder.c_str();
  const char* database = sheet.database.c_str();
  const int old = db_open_nocreate(folder, database, kOldMarkTable, sheet.kind, kSheetSpecSet, kOldMarkTable,
                                   "");
  if (old < 0) return 0;
  const int marks = db_open(folder, database, kMarkTable, sheet.kind, kSheetSpecSet, kMarkTable, "");
  if (marks < 0) {
    db_close(old);
    return -1;
  }
  int carried = 0;
  bool failed = false;
  if (db_toppos(old, "コード") == 0 && db_toppos(marks, "コード") != 0) {
    for (int rc = 0; rc == 0 && !failed; rc = db_nread(old)) {
      db_clear(marks);
      SetColumnText(marks, "ＯＣＲコード", "0001");
      SetColumnText(marks, "コード", GetColumnText(old, "コード"));
      for (const char* column : kPositionColumns) {
        SetColumnInt(marks, column, GetColumnInt(old, column));
      }
      SetColumnInt(marks, "横幅", GetColumnInt(old, "横幅"));
      SetColumnInt(marks, "高さ", GetColumnInt(old, "高さ"));
      failed = db_add(marks) != 0;
      carried += failed ? 0 : 1;
    }
  }
  db_close(marks);
  db_close(old);
  // The old table goes only once every row of it is in the new one; after a
  // failure it stays for the next opening (the rows carried so far make the
  // new table non-empty, so delete them to keep the carrying whole).
  if (failed) {
    const int undo = db_open(folder, database, kMarkTable, sheet.kind, kSheetSpecSet, kMarkTable, "");
    if (undo > 0) {
      db_exec(undo, "delete from MUPA_HMK");
      db_close(undo);
    }
    return -1;
  }
  if (carried > 0) DropTableByName(folder, database, kOldMarkTable);
  return 0;
}
