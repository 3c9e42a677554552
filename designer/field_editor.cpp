// The sheet field editor ("Pln"): a form built in code for one item of the
// sheet (a write-in field, a check field, a text item) or for the
// repetition or reference master of a field, on a window of its own over
// the canvas. It is filled from the item's MUPA_FLD row (or the defaults of
// a new item), checked when it closes (Esc or the window's close) and
// stored; the canvas is then rebuilt from the rows. The forms themselves
// are field_forms.h's.
#include "designer/field_editor.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "designer/area_codes.h"
#include "designer/choice_editor.h"
#include "designer/designer.h"
#include "designer/field_forms.h"
#include "designer/form_items.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"
#include "shell/shell.h"

int OpenSheetRows(const char* condition) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  return db_open(sheet.folder.c_str(), sheet.database.c_str(), kFieldRowTable, sheet.kind, kSheetSpecSet,
                 kFieldRowTable, "select * from MUPA_FLD where ＯＣＲコード=%s%s",
                 SqlLiteral(sheet.sheetCode.c_str()).c_str(), condition);
}

int OpenSheetItemRow(const std::string& code) {
  const int t = OpenSheetRows("");
  if (t < 0) return -1;
  if (db_search(t, code.c_str(), "領域コード") != 0) {
    db_close(t);
    ShowInfoMessage("", "記入欄“%s”は存在しません。", code.c_str());
    return -1;
  }
  return t;
}

namespace {

constexpr int kEditorWindowCode = 56;

struct Editor {
  FormWindow form;  // over the canvas and its owner
  int canvasSlot = -1;
  SheetItemKind kind = SheetItemKind::kCheckField;
  std::string code;  // empty for a new item
  int x = 0, y = 0;
  bool changed = false;
};
Editor g_editor;

bool IsCheck() { return g_editor.kind == SheetItemKind::kCheckField; }

// ---- The forms ------------------------------------------------------------

int AddTextItemForm() {
  int failed = 0;
  const auto check = [&failed](int item) { failed |= item < 0; };
  check(AddNote("GHEAD1", "メッセージ（タイトル・説明文）", 2, 1));
  check(AddText("重ね文字", "内　　容", 18, 2, 60, 255, "メッセージ（半角の“｜”で改行）"));
  check(AddNumber("サイズ", "サイズ", 18, 3, 2, 20, "文字の大きさ", "6,7,8,9,10,11,12,13,14,15,16,17,18,19,20"));
  check(AddNumber("文字数", "文字数", 34, 3, 3, 255, "メッセージの１行の文字数"));
  check(AddNote("GHEAD2", "囲　み　枠", 2, 5));
  check(AddText("タイトル", "枠のタイトル", 18, 6, 40, 200, "囲み枠のタイトル"));
  check(AddText("タイトル位置", "位置", 68, 6, 4, 2, "枠のタイトルの位置",
                "←=左側に表示,↑=上側に表示,→=右側に表示,↓=下側に表示,×=表示しない"));
  check(AddNumber("横幅", "横幅", 18, 7, 3, 999, "囲み枠の横幅〔ｍｍ〕"));
  check(AddNumber("高さ", "高さ", 34, 7, 3, 999, "囲み枠の高さ〔ｍｍ〕"));
  check(AddText("マーク型", "塗込み", 50, 7, 4, 2, "枠の中を白く塗る（●）", "●,×"));
  check(AddChoices('R', "タイトル枠", "【枠の種類】", 2, 9, 16, "な  し,点  線,実  線", 0, "囲み枠の線"));
  check(AddChoices('R', "文字太", "【メッセージのフォント】", 22, 9, 24, "ＭＳ明朝,ＭＳゴシック,手書き風(記入例)", 0,
                   "メッセージの書体"));
  return failed ? -1 : 0;
}

// ---- Filling and checking ---------------------------------------------------

constexpr const char* kFrameKinds[] = {"無", "点", "実"};

void FillPlacedItems(int t) {
  for (const char* name : {"タイトル", "文字数", "横幅", "高さ"}) SetFieldText(name, GetColumnText(t, name));
}

void FillTextForm(int t) {
  FillPlacedItems(t);
  for (const char* name : {"重ね文字", "サイズ", "タイトル位置"}) SetFieldText(name, GetColumnText(t, name));
  const std::string frame = GetColumnText(t, "タイトル枠");
  SetFieldInt("タイトル枠", frame == "実" ? 3 : frame == "点" || frame == "有" ? 2 : 1);
  SetFieldInt("文字太", GetColumnInt(t, "文字太"));
  SetFieldText("マーク型", MarkOf(GetColumnInt(t, "マーク型") == 1));
}

void FillNewTextForm() {
  SetFieldText("サイズ", "8");
  SetFieldText("タイトル位置", "×");
  SetFieldText("マーク型", MarkOf(false));
  SetFieldInt("タイトル枠", 1);
  SetFieldInt("文字太", 1);
}

// A new text item left empty is not kept.
int CheckTextForm() {
  const bool empty = FormFieldText("重ね文字").empty() && FormFieldText("タイトル").empty() && GetFieldInt("横幅") == 0 &&
                     GetFieldInt("高さ") == 0 && GetFieldInt("文字数") == 0;
  return g_editor.code.empty() && empty ? 0 : 1;
}

// ---- Storing ----------------------------------------------------------------

// The columns a new row of `kind` at (x, y) starts with, before the form's.
void SetNewRowDefaults(int t, const std::string& code, SheetItemKind kind, int x, int y) {
  const bool check = kind == SheetItemKind::kCheckField, writeIn = kind == SheetItemKind::kWriteInField;
  db_clear(t);
  SetColumnText(t, "ＯＣＲコード", g_sheetDefinition.sheetCode.c_str());
  SetColumnText(t, "領域コード", code.c_str());
  SetColumnText(t, "入力許可", "×");
  SetColumnText(t, "種別", "MUPA");
  SetColumnInt(t, "Ｘ座標", x);
  SetColumnInt(t, "Ｙ座標", y);
  SetColumnInt(t, "空白不可", 1);
  SetColumnText(t, "編集", "左詰");
  SetColumnText(t, "文字型", "文字");
  SetColumnText(t, "有効文字種", "1000000000");
  SetColumnText(t, "タイトル枠", "無");
  if (check) {
    SetColumnInt(t, "サイズ", 7);
    SetColumnInt(t, "網掛け", 1);
    SetColumnText(t, "背景色", "→");
    SetColumnText(t, "タイトル位置", "←");
  } else if (writeIn) {
    SetColumnInt(t, "サイズ", 7);
    SetColumnText(t, "タイトル位置", "←");
    SetColumnText(t, "全半角", "半角");
    SetColumnText(t, "タイプ", "一括");
  } else {
    SetColumnInt(t, "サイズ", 8);
    SetColumnText(t, "タイトル位置", "×");
  }
}

// The lowest free code of a range into `code`, and the sheet's rows in a
// new table slot to add its row to: the slot, or -1 after the message.
int OpenFreeSheetRow(char range, std::string* code) {
  *code = NextFreeSheetCode(range);
  if (code->empty()) {
    ShowInfoMessage("", "シートの項目は %d 個までです。", 999);
    return -1;
  }
  return OpenSheetRows("");
}

void SetPlacedColumns(int t) {
  for (const char* name : {"文字数", "横幅", "高さ"}) SetColumnInt(t, name, GetFieldInt(name));
  SetColumnText(t, "タイトル", FormFieldText("タイトル").c_str());
}

void SetTextColumns(int t) {
  SetPlacedColumns(t);
  SetColumnText(t, "重ね文字", FormFieldText("重ね文字").c_str());
  SetColumnInt(t, "サイズ", GetFieldInt("サイズ"));
  const int frame = GetFieldInt("タイトル枠");
  SetColumnText(t, "タイトル枠", kFrameKinds[frame >= 1 && frame <= 3 ? frame - 1 : 0]);
  SetColumnInt(t, "文字太", GetFieldInt("文字太"));
  SetColumnInt(t, "Ｂサイズ", 0);
  SetColumnInt(t, "マーク型", FormFieldText("マーク型") == "●" ? 1 : 0);
  const std::string place = FormFieldText("タイトル位置");
  SetColumnText(t, "タイトル位置", place.empty() ? "×" : place.c_str());
}

// What each kind of item's form does. Repetitions and reference masters
// are settings of a field already on the sheet: they make no row.
struct ItemForm {
  SheetItemKind kind;
  const char* title;
  SIZE size;
  char codeRange;
  int (*add)();
  void (*fill)(int t);
  void (*fillNew)();
  int (*check)();
  void (*store)(int t);
};
constexpr ItemForm kItemForms[] = {
    {SheetItemKind::kWriteInField, "記入欄", {880, 720}, '0', AddWriteInForm, FillWriteInForm, FillNewWriteInForm,
     CheckWriteInForm, SetWriteInColumns},
    {SheetItemKind::kTextItem, "テキスト項目", {640, 400}, 'T', AddTextItemForm, FillTextForm, FillNewTextForm,
     CheckTextForm, SetTextColumns},
    {SheetItemKind::kReferenceMaster, "参照マスター定義", {640, 450}, 0, AddMasterForm, FillMasterForm, nullptr,
     CheckMasterForm, SetMasterColumns},
    {SheetItemKind::kRepeatedItem, "繰り返し項目", {640, 420}, 0, AddRepeatForm, FillRepeatForm, nullptr,
     CheckRepeatForm, SetRepeatColumns},
    {SheetItemKind::kCheckField, "チェック欄", {720, 730}, '0', AddCheckFieldForm, FillCheckForm, FillNewCheckForm,
     CheckCheckForm, SetCheckColumns},
};

const ItemForm& FormOf(SheetItemKind kind) {
  for (const ItemForm& f : kItemForms) {
    if (f.kind == kind) return f;
  }
  return kItemForms[0];
}

const ItemForm& CurrentForm() { return FormOf(g_editor.kind); }

// Whether the row of table slot `t` is the front's key field.
bool IsSheetKeyRow(int t) {
  const std::string code = GetColumnText(t, "領域コード"), name = GetColumnText(t, "領域名");
  return g_sheetDefinition.sheetCode == "0001" && code.compare(0, 1, "0") == 0 && !name.empty() &&
         name == g_sheetKeys.lastKeyName;
}

// How far the title of the row's field reaches left of its boxes: the
// width of its bytes and two more when it stands on the left.
int LeftTitleWidth(int t) {
  if (std::string(GetColumnText(t, "タイトル位置")) != "←") return 0;
  return static_cast<int>(std::string(GetColumnText(t, "タイトル")).size() + 2) * GetColumnInt(t, "サイズ");
}

void SetFormColumns(int t) {
  if (GetColumnInt(t, "Ｘ座標") < 0) SetColumnInt(t, "Ｘ座標", 1);
  if (GetColumnInt(t, "Ｙ座標") < 0) SetColumnInt(t, "Ｙ座標", 1);
  CurrentForm().store(t);
}

// Adds or updates the row: 0, 1 when the user declined the change (nothing
// written), or -1 after the message.
int StoreForm() {
  Editor& e = g_editor;
  if (!e.code.empty()) {
    const int t = OpenSheetItemRow(e.code);
    if (t < 0) return -1;
    // The key's switches change with its field, or neither does.
    const std::vector<std::string> keySwitches = IsCheck() ? KeyCheckStatements() : std::vector<std::string>{};
    if (!keySwitches.empty() && std::string(GetColumnText(t, "編集")) != "ﾁｪｯｸ" &&
        AskYesNo("", "「キー項目欄」“%s”の形式を、「記入欄」から「チェック欄」に変更してもよろしいですか？",
                 GetColumnText(t, "領域名")) != IDYES) {
      db_close(t);
      return 1;
    }
    SetFormColumns(t);
    if (!keySwitches.empty() && BeginTableTransaction(t) != 0) {
      db_close(t);
      return -1;
    }
    int rc = db_update(t);
    for (const std::string& statement : keySwitches) {
      if (rc == 0) rc = db_exec(t, statement.c_str());
    }
    if (!keySwitches.empty() && EndTableTransaction(t, rc == 0) != 0) rc = -1;
    db_close(t);
    return rc;
  }
  const std::string code = NextFreeSheetCode(CurrentForm().codeRange);
  if (code.empty()) {
    ShowInfoMessage("", "シートの項目は %d 個までです。", 999);
    return -1;
  }
  const int t = OpenSheetRows("");
  if (t < 0) return -1;
  SetNewRowDefaults(t, code, e.kind, e.x, e.y);
  SetFormColumns(t);
  // A new field placed near the paper's left edge moves right by its title,
  // which would start off the paper.
  if (e.kind != SheetItemKind::kTextItem) SetColumnInt(t, "Ｘ座標", std::max(e.x, LeftTitleWidth(t)));
  const int rc = db_add(t);
  db_close(t);
  if (rc == 0) e.code = code;
  return rc;
}

void CloseEditor() {
  Editor& e = g_editor;
  CloseForm(e.form);
  if (e.changed && IsValidSlot(e.canvasSlot)) RebuildWindowItems(e.canvasSlot, 1);
}

void CheckStoreAndClose() {
  Editor& e = g_editor;
  if (!IsValidSlot(e.form.slot)) return;
  SelectWindowSlot(e.form.slot);
  const int verdict = CurrentForm().check();
  if (verdict < 0) return;
  // Stored, or closed unchanged when the user declined; a failure keeps it.
  const int stored = verdict == 1 ? StoreForm() : 1;
  if (stored < 0) return;
  e.changed = stored == 0;
  CloseEditor();
}

}  // namespace

std::string NextFreeSheetCode(char range) {
  const std::string first = std::string(1, range) + "001", last = std::string(1, range) + "999";
  const std::string condition =
      " and 領域コード>=" + SqlLiteral(first.c_str()) + " and 領域コード<=" + SqlLiteral(last.c_str());
  const int t = OpenSheetRows(condition.c_str());
  if (t < 0) return "";
  std::vector<std::string> taken;
  for (int rc = db_toppos(t, "領域コード"); rc == 0; rc = db_nread(t)) taken.push_back(GetColumnText(t, "領域コード"));
  db_close(t);
  return NextFreeAreaCode(taken, first);
}

int CheckSheetKeyItem(int canvasSlot) {
  if (g_sheetDefinition.sheetCode != "0001") return 0;
  if (LoadSheetKeyItems() != 0) return -1;
  const std::string key = g_sheetKeys.lastKeyName;
  if (key.empty()) {
    ShowInfoMessage("",
                    "“%s”の「キー項目名」が定義されていません。\n"
                    "メインメニューの〔シート定義〕で「キー項目名」を設定してください。",
                    g_sheetSettings.outputTable.c_str());
    return -1;
  }
  const WindowSlot& s = Slot(canvasSlot);
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    if (Item(i).name == key) return 0;
  }
  // The key's write-in field: six zero-filled characters, read whole.
  std::string code;
  const int t = OpenFreeSheetRow('0', &code);
  if (t < 0) return -1;
  db_clear(t);
  const std::pair<const char*, const char*> texts[] = {
      {"ＯＣＲコード", "0001"}, {"領域名", key.c_str()}, {"タイトル", key.c_str()}, {"文字型", "文字"},
      {"全半角", "半角"},       {"種別", "MUPA"},        {"タイプ", "一括"},       {"タイトル枠", "無"},
      {"タイトル位置", "×"},   {"有効文字種", "1000000000"}, {"編集", "０埋"}, {"入力許可", "×"}};
  for (const auto& [column, value] : texts) SetColumnText(t, column, value);
  SetColumnText(t, "領域コード", code.c_str());
  const std::pair<const char*, int> numbers[] = {{"空白不可", 1}, {"サイズ", 7},  {"網掛け", 1}, {"文字数", 6},
                                                 {"Ｂサイズ", 0}, {"横幅", 4},   {"高さ", 5},   {"Ｘ座標", 60},
                                                 {"Ｙ座標", 40}};
  for (const auto& [column, value] : numbers) SetColumnInt(t, column, value);
  const int rc = db_add(t);
  db_close(t);
  if (rc != 0) return -1;
  return RebuildWindowItems(canvasSlot, 1);
}

namespace {

std::string UpperExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  std::string ext = dot == std::string::npos ? "" : path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return ext;
}

// The first line of a text file (200 bytes at most, its CR dropped):
// 0, or -1 when it cannot be read.
int ReadFirstLine(const std::string& path, std::string* line) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) return -1;
  line->clear();
  for (int c; line->size() < 200 && (c = std::fgetc(file.get())) != EOF && c != '\n';) {
    if (c != '\r') line->push_back(static_cast<char>(c));
  }
  return 0;
}

}  // namespace

std::string SheetPictureName(const std::string& path) {
  const std::string program = g_program.programFolder + "\\";
  if (g_program.programFolder.size() > 0 && path.size() > program.size() &&
      lstrcmpiA(path.substr(0, program.size()).c_str(), program.c_str()) == 0) {
    return path.substr(program.size());
  }
  return path.substr(path.size() > 1 && path[1] == ':' ? 2 : 0);
}

int AddDroppedSheetFile(int canvasSlot, const std::string& path, int x, int y) {
  const std::string ext = UpperExtension(path);
  const bool picture = ext == "BMP" || ext == "JPG";
  if (!picture && ext != "TXT") return -1;
  std::string line;
  if (!picture && ReadFirstLine(path, &line) != 0) {
    ShowInfoMessage("", "ファイル“%s”をオープンできません。", path.c_str());
    return -1;
  }
  std::string code;
  const int t = OpenFreeSheetRow(picture ? 'B' : 'T', &code);
  if (t < 0) return -1;
  SetNewRowDefaults(t, code, SheetItemKind::kTextItem, x, y);
  if (picture) {
    SetColumnText(t, "編集", "BMAP");
    SetColumnText(t, "アイコン", SheetPictureName(path).c_str());
    SetColumnText(t, "タイプ", "PBUT");
    SetColumnInt(t, "Ｂサイズ", 1);
  } else {
    // The line is the item's message: as the frame's title, whose position
    // starts as "not shown", it would neither show nor print.
    SetColumnText(t, "重ね文字", line.c_str());
    SetColumnInt(t, "文字数", static_cast<int>(line.size()));
    SetColumnText(t, "全半角", "");
    SetColumnInt(t, "文字太", 1);
  }
  const int rc = db_add(t);
  db_close(t);
  return rc == 0 ? RebuildWindowItems(canvasSlot, 1) : -1;
}

int AddOutputColumnField(int canvasSlot, const OutputColumn& column, int x, int y) {
  std::string code;
  const int t = OpenFreeSheetRow('0', &code);
  if (t < 0) return -1;
  SetNewRowDefaults(t, code, SheetItemKind::kWriteInField, x, y);
  SetColumnText(t, "領域名", column.name.c_str());
  SetColumnText(t, "タイトル", column.name.c_str());
  // Numbers take ten boxes whatever their column's size; a text its length,
  // up to the boxes a field may have.
  const bool number = column.type == 3 || column.type == 4 || column.type == 6;
  SetColumnText(t, "文字型", number ? "数値" : "文字");
  SetColumnInt(t, "文字数", number ? 10 : std::clamp(column.length, 1, kMaxFieldBoxes));
  SetColumnInt(t, "横幅", 8);
  SetColumnInt(t, "高さ", 9);
  SetColumnInt(t, "文字太", 0);
  const int rc = db_add(t);
  db_close(t);
  return rc == 0 ? RebuildWindowItems(canvasSlot, 1) : -1;
}

namespace {

// Where the copy of an item goes: right of it, by the width it takes on
// the sheet, kept inside the canvas.
int CopyColumn(int canvasSlot, int t, const ScreenItem& item) {
  int x = GetColumnInt(t, "Ｘ座標");
  if (item.code.compare(0, 1, "T") == 0 || item.code.compare(0, 1, "B") == 0) {
    x += item.pixelWidth + 20;
  } else {
    const int gap = std::max(GetColumnInt(t, "Ｂサイズ"), 0);
    x += (GetColumnInt(t, "文字数") + gap) * GetColumnInt(t, "横幅") * SheetDotsPerGridUnit() + LeftTitleWidth(t);
  }
  const int right = Slot(canvasSlot).contentWidth;
  return right > 0 && x + item.pixelWidth > right ? std::max(right - item.pixelWidth, 0) : x;
}

}  // namespace

int DuplicateSheetItem(int canvasSlot, int item) {
  if (!IsValidSlot(canvasSlot)) return -1;
  const ScreenItem& original = Item(item);
  // Each kind keeps to its range: texts "T", pictures "B", fields "0".
  const char range = original.code[0] == 'T' || original.code[0] == 'B' ? original.code[0] : '0';
  const std::string copy = NextFreeSheetCode(range);
  if (copy.empty()) {
    ShowInfoMessage("", "シートの項目は %d 個までです。", 999);
    return -1;
  }
  const int t = OpenSheetItemRow(original.code);
  if (t < 0) return -1;
  SetColumnInt(t, "Ｘ座標", CopyColumn(canvasSlot, t, original));
  SetColumnText(t, "領域コード", copy.c_str());
  const int rc = db_add(t);
  db_close(t);
  return rc == 0 ? RebuildWindowItems(canvasSlot, 1) : -1;
}

int DeleteSheetItem(int canvasSlot, const std::string& code, const std::string& description) {
  if (AskYesNo("", "“%s”を削除してもよろしいですか？", description.c_str()) != IDYES) return -1;
  const int t = OpenSheetItemRow(code);
  if (t < 0) return -1;
  const int rc = db_delete(t);
  db_close(t);
  if (rc == 0) RebuildWindowItems(canvasSlot, 1);
  return rc;
}

HWND RegisterPlnWindow(HWND) {
  g_editor = Editor();
  g_editor.form.window =
      CreateHiddenWindow({"Pln", PlnWindowProc, CS_HREDRAW | CS_VREDRAW, WS_POPUP | WS_CAPTION | WS_SYSMENU});
  return g_editor.form.window;
}

int OpenSheetFieldEditor(SheetItemKind kind, int canvasSlot, const std::string& code, int x, int y) {
  Editor& e = g_editor;
  if (!e.form.window || IsValidSlot(e.form.slot)) return -1;
  bool keyItem = false;
  if (!code.empty()) {
    const int t = OpenSheetItemRow(code);
    if (t < 0) return -1;
    keyItem = kind == SheetItemKind::kCheckField && IsSheetKeyRow(t);
    db_close(t);
  }
  UseKeyCheckForm(keyItem);
  const ItemForm& form = FormOf(kind);
  if (code.empty() && !form.fillNew) return -1;  // settings of no field
  if (BeginForm() < 0) return -1;
  e.kind = kind;
  e.canvasSlot = canvasSlot;
  e.code = code;
  e.x = x;
  e.y = y;
  e.changed = false;
  if (form.add() != 0) {
    DiscardBuildingItems();
    return -1;
  }
  const HWND canvas = IsValidSlot(canvasSlot) ? Slot(canvasSlot).window : nullptr;
  return OpenForm(e.form, canvas, canvas ? GetAncestor(canvas, GA_ROOT) : nullptr, -2, -2, form.size.cx,
                  form.size.cy, kEditorWindowCode, form.title);
}

int SheetFieldEditorSlot() { return g_editor.form.slot; }

LRESULT CALLBACK PlnWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FormHandlers handlers;
  handlers.opened = [] {
    if (g_editor.code.empty()) {
      CurrentForm().fillNew();
    } else if (const int t = OpenSheetItemRow(g_editor.code); t >= 0) {
      CurrentForm().fill(t);
      db_close(t);
    }
  };
  handlers.close = CheckStoreAndClose;
  handlers.command = [](int code) {
    if (code == kCmdChoiceEditor && IsCheck()) {
      OpenChoiceContentEditor(g_editor.form.slot);
    } else if (code == kCmdRepeatNumbering && g_editor.kind == SheetItemKind::kRepeatedItem) {
      ProtectRepeatNumbering();
    } else if ((code == kCmdArrangement || code == kCmdCheckType) && IsCheck()) {
      ReactToCheckCommand(code);
    } else if (code == kCmdWriteInType && g_editor.kind == SheetItemKind::kWriteInField) {
      ReactToWriteInCommand(code);
    } else {
      ApplyPendingFocus();
    }
  };
  return HandleFormMessage(g_editor.form, handlers, window, message, wParam, lParam);
}
