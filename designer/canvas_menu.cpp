// The sheet canvas's right-button menus: outside design mode the entry that
// starts it; in design mode, in the marks' search area of the front, the
// mark settings; on the background, new check fields, text items and
// write-in fields, fields made from the output table's columns (a menu of
// the columns no field fills yet) and the end of design mode, and on an
// item its editing and deletion, its repetition and a write-in field's
// reference master (the key item's field: its dialog "IdxCtrl", or the
// check form when it is turned into a check field). A choice comes back as
// 1162 with its line (from 1) and is carried out by the entry's text, so
// the lines can never be miscounted.
// Files dropped on the sheet in design mode become pictures and text items.
#include "designer/canvas_menu.h"

#include <algorithm>
#include <string>
#include <vector>

#include "designer/field_editor.h"
#include "designer/key_item_dialog.h"
#include "designer/mark_settings.h"
#include "designer/sheet_canvas.h"
#include "designer/sheet_settings.h"
#include "foundation/csv_token.h"
#include "foundation/path_split.h"
#include "screen/screen.h"

namespace {

constexpr char kColumnsEntry[] = "出力項目から作成";

struct CanvasMenu {
  int slot = -1;
  int item = -1;   // the item the menu is for, or -1 (the background)
  POINT point{};   // where the menu was opened, in content pixels
  std::vector<std::string> entries;
  // The output table's columns, read for the background menu; while
  // `columnMenu` the menu shown lists them.
  std::vector<OutputColumn> columns;
  bool columnMenu = false;
};
CanvasMenu g_menu;

bool IsKeyItem(const ScreenItem& item) {
  return item.code.compare(0, 1, "0") == 0 && !item.name.empty() && item.name == g_sheetKeys.lastKeyName;
}

const char* ItemEntries(const ScreenItem& item) {
  // Operators only edit the key field in its own dialog; in design it may
  // be turned into a check field and back.
  if (IsKeyItem(item) && g_currentSheet.projectMode == 2) return "キー項目欄編集";
  if (IsKeyItem(item) && item.edit == 'C') return "チェック欄編集,記入欄に変更";
  if (IsKeyItem(item)) return "記 入 欄 編 集,チェック欄に変更,参照マスター定義";
  if (item.code.compare(0, 1, "T") == 0) return "テキスト項目編集,繰り返し項目定義,テキスト項目削除,テキスト項目複製";
  // Choices in rows keep their rows where a repetition would be kept.
  if (item.edit == 'C' && (item.recordCode == 2 || item.recordCode == 3)) return "チェック欄編集,チェック欄削除,チェック欄複製";
  if (item.edit == 'C') return "チェック欄編集,繰り返し項目定義,チェック欄削除,チェック欄複製";
  if (item.edit == 'I') return "ビットマップ削除,ビットマップ複製";  // pictures are placed, not edited
  return "記 入 欄 編 集,参照マスター定義,繰り返し項目定義,記 入 欄 削 除,記 入 欄 複 製";
}

SheetItemKind KindOf(const ScreenItem& item) {
  if (item.code.compare(0, 1, "T") == 0) return SheetItemKind::kTextItem;
  return item.edit == 'C' ? SheetItemKind::kCheckField : SheetItemKind::kWriteInField;
}

// The description the deletion asks about.
std::string Description(const ScreenItem& item) {
  if (item.edit == 'I') {
    return std::string(PathFileName(item.joinText, "\\/"));
  }
  if (item.code.compare(0, 1, "T") != 0) return item.name;
  return item.caption.empty() ? item.code : item.caption;
}

}  // namespace

std::vector<std::string> SplitMenuEntries(const std::string& list) {
  std::vector<std::string> entries;
  CsvCursor cursor;
  std::vector<char> token(list.size() + 1);
  int rc = 0;
  do {
    rc = NextCsvTokenWith(cursor, token.data(), static_cast<int>(list.size()), list.c_str());
    entries.emplace_back(token.data());
  } while (rc > 0);
  return entries;
}

int ShowSheetDesignMenu(int slot, int x, int y) {
  if (!IsValidSlot(slot)) return -1;
  ClosePopupIfOpen();
  SelectWindowSlot(slot);
  const WindowSlot& s = Slot(slot);
  // Operators reading sheets do not change their design.
  if (!s.lineEditMode && g_currentSheet.projectMode != 1) return -1;
  CanvasMenu& m = g_menu;
  m.slot = slot;
  m.point = POINT{x + s.scrollX, y + s.scrollY};
  if (s.lineEditMode && InMarkSearchArea(m.point.x, m.point.y)) {
    OpenCorrectionMarkDialog(slot);
    return 999;
  }
  m.item = s.lineEditMode ? FindDesignItemAtPoint(m.point.x, m.point.y) : -1;
  m.columnMenu = false;
  std::string entries = "フォーム編集開始";
  if (s.lineEditMode && m.item >= 0) {
    entries = ItemEntries(Item(m.item));
  } else if (s.lineEditMode) {
    // The output table's columns may become fields when it has some.
    ReadOutputTableColumns(&m.columns);
    // Columns that fields already fill are not offered again.
    m.columns.erase(std::remove_if(m.columns.begin(), m.columns.end(),
                                   [](const OutputColumn& c) { return FindCanvasField(c.name) >= 0; }),
                    m.columns.end());
    const bool columns = !m.columns.empty();
    entries = std::string("チェック欄 作 成,テキスト項目作成,記 入 欄 作 成,フォーム編集終了") +
              (columns ? std::string(",") + kColumnsEntry : "");
  }
  m.entries = SplitMenuEntries(entries);
  return ShowItemContextMenu(entries.c_str(), 0);
}

int RunSheetMenuChoice(int line) {
  CanvasMenu& m = g_menu;
  if (line < 1 || line > static_cast<int>(m.entries.size()) || !IsValidSlot(m.slot)) return -1;
  const std::string entry = m.entries[line - 1];
  SelectWindowSlot(m.slot);
  if (m.columnMenu) {
    m.columnMenu = false;
    return AddOutputColumnField(m.slot, m.columns[line - 1], m.point.x, m.point.y);
  }
  if (entry == kColumnsEntry) {
    // The columns in a menu of their own at the same place, ten rows seen.
    std::string names;
    for (const OutputColumn& column : m.columns) names += column.name + ",";
    names += "(10)";
    m.entries = SplitMenuEntries(names);
    m.entries.pop_back();
    m.columnMenu = true;
    return ShowItemContextMenu(names.c_str(), 0);
  }
  if (entry == "フォーム編集終了") {
    LeaveSheetDesign(m.slot);
    return 0;
  }
  if (entry == "フォーム編集開始") {
    EnterSheetDesign(m.slot);
    return 0;
  }
  if (entry == "チェック欄 作 成") {
    return OpenSheetFieldEditor(SheetItemKind::kCheckField, m.slot, "", m.point.x, m.point.y);
  }
  if (entry == "テキスト項目作成") {
    return OpenSheetFieldEditor(SheetItemKind::kTextItem, m.slot, "", m.point.x, m.point.y);
  }
  if (entry == "記 入 欄 作 成") {
    return OpenSheetFieldEditor(SheetItemKind::kWriteInField, m.slot, "", m.point.x, m.point.y);
  }
  if (m.item < 0) return -1;
  const ScreenItem& item = Item(m.item);
  // The key's write-in field is edited in its dialog, which also turns a
  // check field back into it.
  if (entry == "キー項目欄編集" || entry == "記入欄に変更" || (entry == "記 入 欄 編 集" && IsKeyItem(item))) {
    return OpenKeyFieldDialog(m.slot, item.code);
  }
  if (entry == "チェック欄に変更") {
    return OpenSheetFieldEditor(SheetItemKind::kCheckField, m.slot, item.code, item.column, item.row);
  }
  if (entry == "チェック欄複製" || entry == "テキスト項目複製" || entry == "記 入 欄 複 製" || entry == "ビットマップ複製") {
    return DuplicateSheetItem(m.slot, m.item);
  }
  if (entry == "参照マスター定義") {
    return OpenSheetFieldEditor(SheetItemKind::kReferenceMaster, m.slot, item.code, item.column, item.row);
  }
  if (entry == "繰り返し項目定義") {
    return OpenSheetFieldEditor(SheetItemKind::kRepeatedItem, m.slot, item.code, item.column, item.row);
  }
  if (entry == "チェック欄編集" || entry == "テキスト項目編集" || entry == "記 入 欄 編 集") {
    return OpenSheetFieldEditor(KindOf(item), m.slot, item.code, item.column, item.row);
  }
  if (entry == "チェック欄削除" || entry == "テキスト項目削除" || entry == "記 入 欄 削 除" ||
      entry == "ビットマップ削除") {
    return DeleteSheetItem(m.slot, item.code, Description(item));
  }
  return -1;
}

