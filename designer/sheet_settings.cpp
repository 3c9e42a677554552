// Paper settings and key items of the current sheet, read from the sheet
// definition's MUPA_PAP and MUPA_IDX rows.
#include "designer/sheet_settings.h"

#include <algorithm>
#include <cstring>

#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"
#include "shell/shell.h"

CurrentSheet g_currentSheet;
SheetSettings g_sheetSettings;
SheetKeyItems g_sheetKeys;

namespace {

struct PaperSize {
  const char* name;
  int width, height;  // mm, upright
};
const PaperSize kPaperSizes[] = {{"Ａ４", 210, 297}, {"Ａ５", 148, 210}, {"Ａ３", 297, 420},
                                 {"Ｂ４", 257, 364}, {"Ｂ５", 182, 257}, {"Ｂ６", 128, 182},
                                 {"葉書", 100, 147}};

int PrintColourState(int colour, int pale) {
  const int d = pale == 1 ? 1 : 0;
  switch (colour) {
    case 2: return 44 + d;
    case 3: return 47 + d;
    case 4: return 41 + d;
    default: return 40 * d;
  }
}

void LoadPaperSize(int slot, SheetSettings& s) {
  s.paperSize = GetColumnText(slot, "用紙サイズ");
  s.orientation = GetColumnText(slot, "用紙方向");
  int width = 0, height = 0;
  for (const PaperSize& size : kPaperSizes) {
    if (s.paperSize == size.name) width = size.width, height = size.height;
  }
  if (s.paperSize == "定義") {
    width = GetColumnInt(slot, "ＩＮＴ１");
    height = GetColumnInt(slot, "ＩＮＴ２");
  }
  // A size this program does not know (or a user size without its
  // figures) is the settings screen's first choice: never the paper of the
  // sheet loaded before.
  if (width <= 0 || height <= 0) width = kPaperSizes[0].width, height = kPaperSizes[0].height;
  if (s.orientation == "横") std::swap(width, height);
  s.widthMm = width;
  s.heightMm = height;
}

std::string BaseName(const std::string& path) {
  std::vector<char> name(path.size() + 1);
  GetFileBaseName(name.data(), path.c_str());
  return name.data();
}

}  // namespace

int LoadSheetPaperSettings(int slot) {
  SheetSettings& s = g_sheetSettings;
  s.sheetCode = GetColumnText(slot, "ＯＣＲコード");
  s.sheetName = GetColumnText(slot, "ＯＣＲ用紙名");
  if (s.sheetName.empty()) s.sheetName = BaseName(g_sheetDefinition.database);
  s.outputTable = GetColumnText(slot, "テーブル");
  s.collationTable = GetColumnText(slot, "ORGTABLE");
  s.outputDbFile = GetColumnText(slot, "データベースＪ");
  // A file database by its whole path: the default, or a name in the data folder.
  if (g_output.dbKind != kDbKindServer) ResolveOutputDatabasePath(slot, &s.outputDbFile);
  // The reading road tells one, two and three marks apart; a value it does
  // not know reads as two marks.
  const int mode = GetColumnInt(slot, "LINESTYLE");
  s.compensationMode = mode >= 0 && mode <= 3 ? mode : 2;
  s.scannerScreen = GetColumnInt(slot, "スキャナ設定画面");
  s.brightness = GetColumnInt(slot, "明るさ");
  if (s.brightness <= 0) s.brightness = 5;
  s.guideAcross = std::max(1, GetColumnInt(slot, "横間隔"));
  s.guideDown = std::max(1, GetColumnInt(slot, "縦間隔"));
  const int marginX = GetColumnInt(slot, "補正Ｘ余白");
  const int marginY = GetColumnInt(slot, "補正Ｙ余白");
  s.markMarginX = marginX ? marginX + 2 : 0;
  s.markMarginY = marginY ? marginY + 2 : 0;
  s.areaX1 = GetColumnInt(slot, "補正Ｘエリア１");
  s.areaY1 = GetColumnInt(slot, "補正Ｙエリア１");
  s.areaX2 = GetColumnInt(slot, "補正Ｘエリア２");
  s.areaY2 = GetColumnInt(slot, "補正Ｙエリア２");
  s.int6 = GetColumnInt(slot, "ＩＮＴ６");
  s.int7 = GetColumnInt(slot, "ＩＮＴ７");
  s.int8 = GetColumnInt(slot, "ＩＮＴ８");
  s.int9 = GetColumnInt(slot, "ＩＮＴ９");
  s.preprint = GetColumnInt(slot, "プレプリント");
  s.createTable = GetColumnInt(slot, "テーブル作成");
  s.existingData = GetColumnInt(slot, "既存データ");
  s.gridShiftX = GetColumnInt(slot, "横シフト");
  s.gridShiftY = GetColumnInt(slot, "縦シフト");
  LoadPaperSize(slot, s);
  s.noiseSize = GetColumnInt(slot, "ノイズサイズ");
  const int scanType = GetColumnInt(slot, "予備１");
  s.twoSheetSet = scanType == 4 ? 1 : 0;
  s.scanType = scanType > 4 ? 2 : scanType == 4 ? 3 : scanType;
  s.errorSetting = GetColumnInt(slot, "予備２");
  s.keyNumbering = GetColumnInt(slot, "予備３");
  s.shiftThreshold = GetColumnInt(slot, "補正境界値");
  s.comparisonFolder = GetColumnInt(slot, "比較イメージパス");
  s.recordImages = GetColumnInt(slot, "比較用イメージ出力");
  s.ruledLines = GetColumnInt(slot, "罫線");
  s.printColourState =
      PrintColourState(GetColumnInt(slot, "印字カラー"), GetColumnInt(slot, "色を薄くする"));
  const std::string stamp = GetColumnText(slot, "タイムスタンプ");
  s.dateColumn = stamp.size() >= 1 && stamp[0] == '1' ? GetColumnText(slot, "日付項目名") : "";
  s.timeColumn = stamp.size() >= 2 && stamp[1] == '1' ? GetColumnText(slot, "時刻項目名") : "";
  for (int code = 1; code <= 3; ++code) {
    s.ratioX[code - 1] = GetColumnDoubleIdx(slot, "イメージ割合", code);
    s.ratioY[code - 1] = GetColumnDoubleIdx(slot, "イメージ割合", code + 10);
  }
  return 0;
}

int LoadCurrentSheetPaper() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kPaperTable, sheet.kind,
                           kSheetSpecSet, kPaperTable,
                           "select * from MUPA_PAP where ＯＣＲコード=%s",
                           SqlLiteral(sheet.sheetCode.c_str()).c_str());
  if (slot < 0) return -1;
  const int found = db_toppos(slot, "ＯＣＲコード");
  if (found == 0) LoadSheetPaperSettings(slot);
  db_close(slot);
  if (found != 0) {
    ShowInfoMessage("", "シート“%s”の用紙の設定がありません。", sheet.sheetCode.c_str());
    return -1;
  }
  return 0;
}

int FindCanvasField(const std::string& name) {
  const int slot = g_currentSheet.canvasSlot;
  if (slot < 0 || slot >= kWindowSlotCount || name.empty()) return -1;
  const WindowSlot& s = Slot(slot);
  for (int i = s.firstItem; i <= s.lastItem && i >= 0; ++i) {
    if (Item(i).name == name) return i;
  }
  return -1;
}

int LoadSheetKeyItems() {
  SheetKeyItems& keys = g_sheetKeys;
  keys = SheetKeyItems();
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kKeyItemTable, sheet.kind,
                           kSheetSpecSet, kKeyItemTable,
                           "select * from MUPA_IDX where ＯＣＲコード='0001'");
  if (slot < 0) return -1;
  for (int rc = db_toppos(slot, "ＩＤＸコード"); rc == 0; rc = db_nread(slot)) {
    SheetKeyItem key;
    key.name = GetColumnText(slot, "項目名");
    if (key.name.empty()) continue;
    key.title = GetColumnText(slot, "タイトル");
    if (key.title.empty()) key.title = key.name;
    key.width = GetColumnInt(slot, "文字数");
    key.value = GetColumnText(slot, "初期値");
    const int field = FindCanvasField(key.name);
    key.onSheet = field >= 0;
    // The designer stores the width of a key read on the sheet as 0: its
    // field's boxes are its width, for the run's numbers as for its column.
    if (key.width <= 0 && key.onSheet) key.width = Item(field).width;
    keys.lastKeyName = key.name;
    keys.items.push_back(key);
  }
  db_close(slot);
  return 0;
}
