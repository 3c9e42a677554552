// The sheet's read items for the entry screens and the output table: one
// pass over MUPA_FLD of both sides, the array elements, the output column
// of a field and the candidate lists of conversion texts.
#include "entry/sheet_fields.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/sjis_text.h"
#include "reading/reading.h"
#include "screen/screen.h"

namespace {

std::vector<std::string> SplitCommas(const std::string& list) {
  std::vector<std::string> tokens;
  std::size_t at = 0;
  for (;;) {
    const std::size_t comma = list.find(',', at);
    tokens.push_back(list.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
    if (comma == std::string::npos) return tokens;
    at = comma + 1;
  }
}

const char* TypeWordOf(int columnType) {
  switch (columnType) {
    case 3: return "int";
    case 6: return "long";
    default: return "double";
  }
}

}  // namespace

std::vector<std::string> SheetFieldDef::ElementNames() const {
  if (!IsArray()) return {name};
  std::vector<std::string> names;
  for (int k = firstMember; k < firstMember + std::min(members, kMaxArrayElements); ++k) {
    char numbered[96];
    std::snprintf(numbered, sizeof numbered, "%s%02d", name.c_str(), k);
    names.push_back(numbered);
  }
  return names;
}

int ReadSheetFieldDefs(std::vector<SheetFieldDef>* defs) {
  defs->clear();
  const int slot = OpenReadItemRows();
  if (slot < 0) return -1;
  for (int rc = db_toppos(slot, "ＯＣＲコード,領域コード"); rc == 0; rc = db_nread(slot)) {
    SheetFieldDef d;
    const auto text = [slot](const char* column) { return std::string(GetColumnText(slot, column)); };
    const auto number = [slot](const char* column) { return GetColumnInt(slot, column); };
    d.side = text("ＯＣＲコード");
    d.code = text("領域コード");
    d.name = text("領域名");
    d.title = text("タイトル");
    d.titlePlace = text("タイトル位置");
    d.charType = text("文字型");
    d.edit = text("編集");
    d.condition = text("変換条件");
    d.overlay = text("重ね文字");
    d.mask = text("有効文字種");
    d.minText = text("最小値");
    d.maxText = text("最大値");
    d.fullWidth = text("全半角");
    d.icon = text("アイコン");
    d.refTable = text("参照テーブル");
    d.keyItem = text("キー項目名");
    d.fetchItem = text("取得項目名");
    d.writeItem = text("書込項目名");
    d.count = number("文字数");
    d.firstMember = number("配列開始");
    d.members = number("配列個数");
    d.decimals = number("少数部桁数");
    d.boxWidth = number("横幅");
    d.x = number("Ｘ座標");
    d.y = number("Ｙ座標");
    d.threshold = number("しきい値");
    d.bSize = number("Ｂサイズ");
    defs->push_back(d);
  }
  db_close(slot);
  return 0;
}

OutputColumnDef DeriveOutputColumn(const SheetFieldDef& d) {
  OutputColumnDef c;
  c.size = d.count;
  const bool flagCheck = d.IsCheck() && d.charType == "ﾌﾗｸﾞ";
  if (!flagCheck && !d.condition.empty()) {
    int longest = 0;
    if (IsKeyValueList(d.condition)) {
      CandidatesFromPairs(d.condition, d.IsCheck() && d.decimals >= 2, &longest);
      c.size = longest;
    } else if (IsPlainCommaList(d.overlay) && IsPlainCommaList(d.condition)) {
      c.size = MaxTokenLength(d.condition);
    } else if (d.condition == "〃" && IsPlainCommaList(d.overlay)) {
      c.size = MaxTokenLength(d.overlay);
    } else {
      c.size = d.decimals;
    }
  }
  if (d.charType == "数値") {
    if (d.IsCheck()) {
      c.type = "int";
    } else {
      c.decimals = d.decimals;
      c.type = TypeWordOf(RangeTypeForValues(std::atof(d.minText.c_str()), std::atof(d.maxText.c_str()),
                                             d.decimals));
    }
  } else {
    c.type = "char*";
  }
  if (!d.condition.empty()) return c;
  if (d.fullWidth == "全角") {
    c.size *= 2;
    c.type = "char*";
  } else if (d.IsCheck()) {
    c.size = d.charType == "ﾌﾗｸﾞ" ? d.count : d.decimals;
  } else if (d.charType == "文字" && d.decimals >= 1) {
    c.size += 1;
  }
  return c;
}

int DeclaredKeyWidth(const std::string& name, int fallback) {
  // A key read from the sheet is as wide as its field.
  if (g_sheetSettings.keyNumbering != kKeyNumberedByRun) return fallback;
  for (const SheetKeyItem& key : g_sheetKeys.items) {
    if (key.name == name && key.width > 0) return key.width;
  }
  return fallback;
}

bool IsPlainCommaList(const std::string& text) {
  return text.find(',') != std::string::npos && text.find('=') == std::string::npos;
}

bool IsKeyValueList(const std::string& text) { return text.find('=') != std::string::npos; }

int MaxTokenLength(const std::string& list) {
  int longest = 0;
  for (const std::string& token : SplitCommas(list)) longest = std::max(longest, static_cast<int>(token.size()));
  return longest;
}

std::string CandidatesFromList(const std::string& list, int* longest) {
  std::string joined;
  *longest = MaxTokenLength(list);
  for (const std::string& token : SplitCommas(list)) {
    if (token.empty() || token[0] == '^' || SjisCharLength(token.c_str()) != 1) continue;
    if (!joined.empty()) joined += ",";
    joined += token;
  }
  return joined;
}

std::string CandidatesFromPairs(const std::string& list, bool sumLengths, int* longest) {
  std::string joined;
  int longestValue = 0, total = 0;
  for (const std::string& token : SplitCommas(list)) {
    const std::size_t equals = token.find('=');
    if (equals == std::string::npos) continue;
    const std::string value = token.substr(equals + 1);
    if (!joined.empty()) joined += ",";
    joined += value;
    longestValue = std::max(longestValue, static_cast<int>(value.size()));
    total += static_cast<int>(value.size());
  }
  *longest = sumLengths ? total : longestValue;
  return joined;
}

int ReadSheetPictures(std::vector<AreaFrame>* frames, int* backs) {
  frames->clear();
  if (ReadAreaFrames("0001", frames) != 0) return -1;
  const std::size_t fronts = frames->size();
  if (ReadAreaFrames("0002", frames) != 0) return -1;
  if (backs) *backs = static_cast<int>(frames->size() - fronts);
  return 0;
}

bool WrittenNames::Has(const std::string& name) const {
  return std::find(names_.begin(), names_.end(), name) != names_.end();
}
