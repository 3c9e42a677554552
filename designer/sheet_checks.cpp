// Checks of a sheet's field definitions before it is read or printed, and
// the list of its read items over both sides.
#include <algorithm>
#include <cstdio>
#include <map>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"
#include "shell/shell.h"

namespace {

constexpr int kMaxReadItems = 255;
constexpr int kGridDotsPerMm = 4;

bool IsField(const ScreenItem& item) { return !item.code.empty() && item.code[0] == '0'; }

bool HasBlank(const std::string& name) {
  return name.find(' ') != std::string::npos || name.find("　") != std::string::npos;
}

// A value of a conversion condition ("code=value,...") that a number column
// cannot take.
bool ConditionHasText(const std::string& condition) {
  std::size_t at = 0;
  while (at < condition.size()) {
    const std::size_t end = std::min(condition.find(',', at), condition.size());
    const std::string entry = condition.substr(at, end - at);
    const std::size_t equal = entry.find('=');
    if (equal != std::string::npos) {
      for (char c : entry.substr(equal + 1)) {
        if (!(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return true;
      }
    }
    at = end + 1;
  }
  return false;
}

void ShowKeyItemHint(bool sheetHasFields) {
  if (!sheetHasFields) {
    ShowInfoMessage("", "シートの設計を行う場合は、画面上部のアイコン[編集]を押して、\n"
                        "「編集モード」に切り替えてください。");
  } else {
    ShowInfoMessage("", "「編集モード」に切り替えて、シート・フォーマット上にキー項目“%s”を"
                        "定義してください。",
                    g_sheetKeys.lastKeyName.c_str());
  }
}

// Checks one field by itself: true, or false after the message of its first
// fault.
bool CheckOneField(const ScreenItem& item, const std::map<std::string, std::string>& firstCode) {
  const SheetSettings& s = g_sheetSettings;
  const char* name = item.name.c_str();
  const char* code = item.code.c_str();
  if (item.column >= s.widthMm * kGridDotsPerMm || item.row >= s.heightMm * kGridDotsPerMm) {
    ShowInfoMessage("", "フィールド名“%s”は、用紙サイズ外に作成されています。", name);
    return false;
  }
  if (item.name.empty()) {
    ShowInfoMessage("", "No.%sのフィールド名が空白です。", code);
    return false;
  }
  if (HasBlank(item.name)) {
    ShowInfoMessage("", "フィールド名に空白は使えません。\nNo.%sの“%s”の名前を変更してください。",
                    code, name);
    return false;
  }
  const auto other = firstCode.find(item.name);
  if (other != firstCode.end() && other->second != item.code) {
    ShowInfoMessage("", "フィールド名“%s”は、重複しています。〔%s＝%s〕", name, code,
                    other->second.c_str());
    return false;
  }
  if (item.edit == 'C' && OvalThresholdTooLow(item.markType, item.shading, item.threshold)) {
    ShowOvalThresholdMessage(name);
    return false;
  }
  if (!s.dateColumn.empty() && item.name == s.dateColumn) {
    ShowInfoMessage("", "読み取り日“%s”と同じフィールド名が設定されています。", name);
    return false;
  }
  if (!s.timeColumn.empty() && item.name == s.timeColumn) {
    ShowInfoMessage("", "読み取り時刻“%s”と同じフィールド名が設定されています。", name);
    return false;
  }
  return true;
}

}  // namespace

bool OvalThresholdTooLow(int markType, int shading, int threshold) {
  const int colour = g_sheetSettings.printColourState;
  const bool monochrome = colour == 0 || colour == 40;
  return monochrome && markType == 1 && shading != 0 && threshold < kLeastOvalThreshold && threshold != -1;
}

void ShowOvalThresholdMessage(const char* name) {
  ShowInfoMessage("", "項目の形式が“マーク”で、モノクロ印刷を行う場合は、「しきい値」は、"
                      "“20”以上の値を設定してください。(%s)",
                  name);
}

int CheckHandwritingFontNeeded() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kFieldRowTable, sheet.kind, kSheetSpecSet,
                           kFieldRowTable,
                           "select * from MUPA_FLD where 領域コード>='T001' and 領域コード<='T999' and 文字太=3");
  if (slot < 0) return -1;
  const bool needed = db_toppos(slot, "ＯＣＲコード,領域コード") == 0;
  db_close(slot);
  return needed ? CheckHandwritingFont() : 0;
}

int ValidateSheetFields() {
  if (LoadSheetKeyItems() != 0) return -1;
  const int slot = g_currentSheet.canvasSlot;
  std::vector<int> fields;
  if (slot >= 0 && slot < kWindowSlotCount) {
    for (int i = Slot(slot).firstItem; i <= Slot(slot).lastItem && i >= 0; ++i) {
      if (IsField(Item(i))) fields.push_back(i);
    }
  }
  std::map<std::string, std::string> firstCode;
  for (int i : fields) firstCode.emplace(Item(i).name, Item(i).code);
  for (int i : fields) {
    if (!CheckOneField(Item(i), firstCode)) return -1;
  }
  const int count = static_cast<int>(fields.size());
  if (count > kMaxReadItems) {
    if (g_sheetSettings.scanType == 3) {
      ShowInfoMessage("", "記入欄(チェック欄)の数が「255」を超えました。\n(表示面の項目数：%d)", count);
    } else {
      ShowInfoMessage("", "記入欄(チェック欄)の数が「255」を超えました。(項目数：%d)", count);
    }
    return -1;
  }

  int keyFields = 0;
  for (int i : fields) {
    ScreenItem& item = Item(i);
    const bool check = item.edit == 'C';
    if (check && item.count <= 0) {
      ShowInfoMessage("", "“%s”のチェックマークの「最大数」を設定してください。", item.name.c_str());
      return -1;
    }
    if (item.name == g_sheetKeys.lastKeyName) {
      ++keyFields;
      if (item.edit == 'L') item.edit = 'Z';  // keys are compared zero-filled
      continue;
    }
    if (item.charType == 2 && !check && item.maxText.empty()) {
      ShowInfoMessage("", "“%s”の「最大値」の値を設定してください。\n"
                          "数値型のサイズ（整数型、長整数型等）は、「最大値」の値により決められます。",
                      item.name.c_str());
      return -1;
    }
    if (item.charType == 2 && ConditionHasText(item.conversionText)) {
      ShowInfoMessage("", "記入欄“%s”の「項目の型」は“文字”に設定してください。\n"
                          "「変換の条件」で“%s”が定義されています。",
                      item.name.c_str(), item.conversionText.c_str());
      return -1;
    }
  }
  if (g_sheetDefinition.sheetCode == "0001" && keyFields == 0 && !g_sheetKeys.lastKeyName.empty()) {
    ShowKeyItemHint(!fields.empty());
    return -1;
  }
  if (g_currentSheet.projectMode == 2 && g_sheetSettings.scanType == 3) {
    std::vector<std::string> names;
    if (BuildReadItemList(&names) < 0) return -1;
  }
  return 0;
}

int OpenReadItemRows() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  return db_open(sheet.folder.c_str(), sheet.database.c_str(), kFieldRowTable, sheet.kind, kSheetSpecSet,
                 kFieldRowTable,
                 "select * from MUPA_FLD where ＯＣＲコード in ('0001','0002') and "
                 "領域コード>='0001' and 領域コード<='0999'");
}

int BuildReadItemList(std::vector<std::string>* names) {
  names->clear();
  const int slot = OpenReadItemRows();
  if (slot < 0) return -1;
  int rc = db_toppos(slot, "ＯＣＲコード,領域コード");
  if (rc != 0) {
    db_close(slot);
    ShowInfoMessage("", "“%s”の読み取り項目が定義されていません。", g_sheetSettings.sheetName.c_str());
    return -1;
  }
  for (; rc == 0 && names->size() <= kMaxReadItems; rc = db_nread(slot)) {
    const std::string name = GetColumnText(slot, "領域名");
    const int first = GetColumnInt(slot, "配列開始");
    const int count = GetColumnInt(slot, "配列個数");
    if (first < 0 || count <= 0) {
      names->push_back(name);
      continue;
    }
    for (int k = first; k < first + count && names->size() <= kMaxReadItems; ++k) {
      char numbered[64];
      std::snprintf(numbered, sizeof numbered, "%s%02d", name.c_str(), k);
      names->push_back(numbered);
    }
  }
  db_close(slot);
  for (std::size_t i = 0; i < names->size(); ++i) {
    for (std::size_t j = i + 1; j < names->size(); ++j) {
      if (!(*names)[i].empty() && (*names)[i] == (*names)[j]) {
        ShowInfoMessage("", "フィールド名“%s”は、重複しています。", (*names)[i].c_str());
        return -1;
      }
    }
  }
  if (names->size() > kMaxReadItems) {
    ShowInfoMessage("", "記入欄(チェック欄)の数が「255」を超えました。\n(両面の項目数：%d)",
                    static_cast<int>(names->size()));
    return -1;
  }
  return static_cast<int>(names->size());
}
