// The registration-mark settings of the front of the sheet ("Hosei",
// "補正マーク位置設定"): the margins of the marks and the size of the areas
// they are searched in, read from the side's MUPA_PAP row and written back
// when the window closes, after the two margins were checked as a pair.
#include "designer/mark_settings.h"

#include <algorithm>
#include <string>

#include "designer/designer.h"
#include "designer/form_items.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr int kMarkWindowCode = 59;
// Standard search areas in mm when none is stored.
constexpr int kStandardAreaX = 25, kStandardAreaY = 18;

struct MarkSettings {
  FormWindow form;  // over the canvas and its owner
  int canvasSlot = -1;
};
MarkSettings g_marks;

// The form's fields and the MUPA_PAP columns they show.
struct MarkField {
  const char* field;
  const char* column;
};
constexpr MarkField kMarkFields[] = {{"補正Ｙエリア", "補正Ｙエリア１"},
                                     {"補正Ｘエリア", "補正Ｘエリア１"},
                                     {"補正Ｙ余白", "補正Ｙ余白"},
                                     {"補正Ｘ余白", "補正Ｘ余白"}};

int OpenPaperRow() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int t = db_open(sheet.folder.c_str(), sheet.database.c_str(), kPaperTable, sheet.kind, kSheetSpecSet,
                        kPaperTable, "select * from MUPA_PAP where ＯＣＲコード=%s",
                        SqlLiteral(sheet.sheetCode.c_str()).c_str());
  if (t < 0) return -1;
  if (db_toppos(t, "ＯＣＲコード") != 0) {
    db_close(t);
    ShowInfoMessage("", "シート“%s”の用紙の設定がありません。", sheet.sheetCode.c_str());
    return -1;
  }
  return t;
}

// The picture of the sheet's corner, at its own size, below the fields.
int AddMarkPicture() {
  const int item = AddScreenItem("", "SHEET", 2, 9, 0, 14, 14, 0, 'X', 1, 0, 0, 'I', kItemProtected, 0, 5, 0, 0, "", "");
  if (item >= 0) Item(item).defaultText = "HOSISET.BMP";
  return item;
}

// The guide lines of the fields: the window is as wide as the longest, so
// that none is cut off.
constexpr const char* kGuides[] = {"補正マークを探す範囲（上から）〔単位：mm〕", "補正マークを探す範囲（左から）〔単位：mm〕",
                                   "補正マークの上部の余白", "補正マークの左右の余白"};
constexpr int kLeastWidth = 300;

int WindowWidth() {
  int width = kLeastWidth;
  // The guide box stands 10 pixels inside the client area, which the
  // frame borders.
  for (const char* guide : kGuides) width = std::max(width, MeasureGuideBox(guide, kFormFontUnit).width + 2 * 10 + 8);
  return width;
}

int AddMarkForm() {
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  check(AddNote("HOSMSG1", "＜補正マーク認識エリア(赤い点線)＞", 2, 1));
  check(AddNumber("補正Ｙエリア", "上から", 12, 2, 3, 999, kGuides[0]));
  check(AddNote("HOSMSG2", "(標準：18)", 18, 2));
  check(AddNumber("補正Ｘエリア", "左から", 12, 3, 3, 999, kGuides[1]));
  check(AddNote("HOSMSG3", "(標準：25)", 18, 3));
  check(AddNumber("補正Ｙ余白", "上部の余白(単位:mm)", 22, 5, 3, 999, kGuides[2], "5,6,7,8,9,10"));
  check(AddNumber("補正Ｘ余白", "左右の余白(単位:mm)", 22, 6, 3, 999, kGuides[3], "5,6,7,8,9,10"));
  check(AddNote("HOSMSG4", "([0]の場合は標準値)", 2, 8));
  check(AddMarkPicture());
  return failed ? -1 : 0;
}

void CloseMarkSettings() {
  MarkSettings& m = g_marks;
  CloseForm(m.form);
  if (IsValidSlot(m.canvasSlot) && Slot(m.canvasSlot).window) InvalidateRect(Slot(m.canvasSlot).window, nullptr, TRUE);
}

// The margins as a pair: both set, or both 0 for the standard places.
bool MarginsAgree() {
  const int top = GetFieldInt("補正Ｙ余白"), sides = GetFieldInt("補正Ｘ余白");
  const char* missing = sides > 0 && top == 0 ? "上部の余白" : top > 0 && sides == 0 ? "左右の余白" : nullptr;
  if (!missing) return true;
  ShowInfoMessage("", "「%s」に値を入力してください。\n初期値に戻す場合は、｢上部｣｢左右｣とも“0”にしてください。", missing);
  FocusField(top == 0 ? "補正Ｙ余白" : "補正Ｘ余白");
  return false;
}

void CheckStoreAndClose() {
  MarkSettings& m = g_marks;
  if (!IsValidSlot(m.form.slot)) return;
  SelectWindowSlot(m.form.slot);
  if (!MarginsAgree()) return;
  const int t = OpenPaperRow();
  if (t < 0) return;
  for (const MarkField& f : kMarkFields) SetColumnInt(t, f.column, GetFieldInt(f.field));
  const int rc = db_update(t);
  db_close(t);
  if (rc != 0) return;
  LoadCurrentSheetPaper();  // the reading and the canvas take the new places
  CloseMarkSettings();
}

}  // namespace

HWND RegisterHoseiWindow() {
  g_marks = MarkSettings();
  g_marks.form.window = CreateHiddenWindow({"Hosei", HoseiWindowProc, CS_HREDRAW | CS_VREDRAW,
                                       WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, LTGRAY_BRUSH, 0, "補正マーク位置設定"});
  return g_marks.form.window;
}

bool InMarkSearchArea(int x, int y) {
  if (g_sheetDefinition.sheetCode != "0001") return false;
  const int dots = SheetDotsPerGridUnit();
  const int areaX = g_sheetSettings.areaX1 > 0 ? g_sheetSettings.areaX1 : kStandardAreaX;
  const int areaY = g_sheetSettings.areaY1 > 0 ? g_sheetSettings.areaY1 : kStandardAreaY;
  return x >= 0 && y >= 0 && x < areaX * dots && y < areaY * dots;
}

int OpenCorrectionMarkDialog(int canvasSlot) {
  MarkSettings& m = g_marks;
  if (!m.form.window || IsValidSlot(m.form.slot)) return -1;
  const int t = OpenPaperRow();
  if (t < 0) return -1;
  db_close(t);
  if (BeginForm() < 0) return -1;
  if (AddMarkForm() != 0) {
    DiscardBuildingItems();
    return -1;
  }
  m.canvasSlot = canvasSlot;
  const HWND canvas = IsValidSlot(canvasSlot) ? Slot(canvasSlot).window : nullptr;
  return OpenForm(m.form, canvas, canvas ? GetAncestor(canvas, GA_ROOT) : nullptr, 0, 0, WindowWidth(), 390,
                  kMarkWindowCode, "補正マーク位置設定");
}

int MarkSettingsSlot() { return g_marks.form.slot; }

LRESULT CALLBACK HoseiWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FormHandlers handlers;
  handlers.opened = [] {
    if (const int t = OpenPaperRow(); t >= 0) {
      for (const MarkField& f : kMarkFields) SetFieldInt(f.field, GetColumnInt(t, f.column));
      db_close(t);
    }
  };
  handlers.close = CheckStoreAndClose;
  return HandleFormMessage(g_marks.form, handlers, window, message, wParam, lParam);
}
