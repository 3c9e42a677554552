// What the printed list of the write-in fields needs to know of both sides
// before it lays out its columns: the range of codes, which character
// types and optional columns any field uses, and the widest texts.
#include <algorithm>
#include <cstring>
#include <string>

#include "designer/sheet_settings.h"
#include "foundation/db.h"

FieldSummary g_fieldSummary;

namespace {

// The narrowest the name, condition and choice columns print.
constexpr int kLeastNameWidth = 8;
constexpr int kLeastConditionWidth = 14;
constexpr int kLeastChoiceWidth = 20;

int TextLength(int slot, const char* column) {
  return static_cast<int>(std::strlen(GetColumnText(slot, column)));
}

}  // namespace

bool IsCheckFieldEdit(const char* edit) { return std::strcmp(edit, "ﾁｪｯｸ") == 0; }

int ShowFieldSummary() {
  FieldSummary summary;
  summary.nameWidth = kLeastNameWidth;
  summary.conditionWidth = kLeastConditionWidth;
  summary.choiceWidth = kLeastChoiceWidth;
  const int slot = OpenReadItemRows();
  if (slot < 0) return -1;
  int rc = db_toppos(slot, "ＯＣＲコード,領域コード");
  if (rc != 0) {
    db_close(slot);
    return -1;
  }
  summary.firstCode = GetColumnText(slot, "領域コード");
  // A numbered key item takes no character types: the run gives its value.
  if (g_sheetSettings.keyNumbering == 2 && g_sheetKeys.items.empty()) LoadSheetKeyItems();
  const std::string numberedKey = g_sheetSettings.keyNumbering == 2 ? g_sheetKeys.lastKeyName : "";
  while (rc == 0) {
    const std::string name = GetColumnText(slot, "領域名");
    if (GetColumnInt(slot, "配列個数") > 0) summary.arrays = true;
    if (GetColumnInt(slot, "配列開始") > 0) ++summary.arrayStarts;
    if (*GetColumnText(slot, "最小値")) ++summary.minimums;
    if (*GetColumnText(slot, "最大値")) ++summary.maximums;
    if (!IsCheckFieldEdit(GetColumnText(slot, "編集")) && (numberedKey.empty() || name != numberedKey)) {
      const std::string types = GetColumnText(slot, "有効文字種");
      for (int k = 0; k < kCharacterTypes && k < static_cast<int>(types.size()); ++k) {
        if (types[k] == '1') ++summary.typeCounts[k];
      }
    }
    summary.nameWidth = std::max(summary.nameWidth, static_cast<int>(name.size()));
    summary.conditionWidth = std::max(summary.conditionWidth, TextLength(slot, "変換条件"));
    summary.choiceWidth = std::max(summary.choiceWidth, TextLength(slot, "重ね文字"));
    // The rows run side by side: the range's ends are the lowest and
    // highest codes of both, or a front field numbered after the back's
    // would fall outside it.
    const std::string code = GetColumnText(slot, "領域コード");
    summary.firstCode = std::min(summary.firstCode, code);
    summary.lastCode = std::max(summary.lastCode, code);
    rc = db_nread(slot);
  }
  db_close(slot);
  g_fieldSummary = summary;
  return 0;
}
