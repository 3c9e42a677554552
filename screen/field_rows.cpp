// Field rows of screens: one S_FIELD row, or one MUPA_FLD row of the
// project sheet (repaired on the way), read into the record the builder
// works from; MUPA_FLD opened with its newer columns; the defaults of key
// fields; renaming a field row for the owner of a screen being built.
#include <windows.h>

#include <cstring>
#include <string>

#include "foundation/bounded_format.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/db_text.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "foundation/text_utils.h"
#include "screen/screen.h"
#include "screen/screen_words.h"

namespace {

// Longest join text taken from a "$" candidate list.
constexpr size_t kJoinTextSize = 200;

std::string Text(int slot, const char* column) { return GetColumnText(slot, column); }

std::string WithoutChar(const std::string& text, char c) {
  std::string out = text;
  out.resize(RemoveChar(out.data(), c));
  return out;
}


// Repairs of sheet field rows written by older designers; true when the
// row changed.
bool RepairSheetFieldRow(int t) {
  bool changed = false;
  const std::string edit = Text(t, "編集");
  const std::string icon = Text(t, "アイコン");
  if (edit == "BMAP" && !icon.empty() && FileExists(icon.c_str()) != 0) {
    std::string base(icon.size() + 1, '\0');
    GetFileBaseName(base.data(), icon.c_str());
    const std::string moved = GetProgramFolder() + "\\teigi\\" + base.c_str() + ".bmp";
    if (FileExists(moved.c_str()) == 0) {
      SetColumnText(t, "アイコン", moved.c_str());
      changed = true;
    }
  }
  const bool markShape = Text(t, "背景色") == "Ｍ";
  if (markShape && GetColumnInt(t, "マーク型") == 0) {
    SetColumnInt(t, "マーク型", 1);
    changed = true;
  }
  if (edit == "ﾁｪｯｸ" && markShape && Text(t, "タイトル枠") == "有") {
    if (GetColumnInt(t, "網掛け") == 0) SetColumnInt(t, "網掛け", 2);
    SetColumnText(t, "タイトル枠", "実");
    changed = true;
  }
  if (Text(t, "タイトル位置") == "TX") {
    SetColumnText(t, "タイトル位置", "");
    SetColumnInt(t, "横幅", 0);
    SetColumnInt(t, "高さ", 0);
    changed = true;
  }
  std::string valid = Text(t, "有効文字種");
  if (valid.size() == 9) {
    valid.insert(1, "0");
    SetColumnText(t, "有効文字種", valid.c_str());
    changed = true;
  } else if (valid.size() > 11) {
    SetColumnText(t, "有効文字種", valid.substr(0, 11).c_str());
    changed = true;
  }
  return changed;
}

}  // namespace

void ReadScreenFieldRow() {
  const int t = g_screenDefs.fieldDefSlot;
  ScreenFieldRecord& r = g_screenDefs.row;
  r = ScreenFieldRecord();
  r.code = Text(t, "FLDCODE");
  r.name = Text(t, "FLDNAME");
  if (!r.name.empty() && r.name[0] == '*') {
    r.name = WithoutChar(r.name, '*');
    r.marked = true;
    g_screenDefs.markedFieldName = r.name;
  }
  r.title = Text(t, "FLDTITLE");
  r.lock = Text(t, "FLDLOCK");
  r.join = Text(t, "FLDJOIN");
  r.guide = Text(t, "FLDGMSG");
  r.choices = Text(t, "FLDKOHO");
  if (!r.choices.empty() && r.choices[0] == '$') {
    const std::string rest = r.choices.substr(1);
    r.join = rest.substr(0, CharBoundaryLength(rest.c_str(), kJoinTextSize));
    r.choices.clear();
  }
  r.frame = Text(t, "FLDDECR");
  r.edit = Text(t, "FLDEDT");
  r.titlePlace = Text(t, "FLDTTL");
  r.type = Text(t, "FLDTYPE");
  r.textColour = Text(t, "FLDCCOL");
  r.backColour = Text(t, "FLDBCOL");
  if (g_screenDefs.specHasExec) {
    r.exec = Text(t, "FLDEXEC");
    r.execField = Text(t, "FLDSFLD");
  }
  r.list = Text(t, "FLDLST");
  r.shownMembers = GetColumnInt(t, "FLDCLCNT");
  r.firstMember = GetColumnInt(t, "FLDARSTT");
  r.members = GetColumnInt(t, "FLDARCNT");
  r.direction = Text(t, "FLDARHOK");
  r.width = GetColumnInt(t, "FLDSMSU");
  r.secondSize = GetColumnInt(t, "FLDRMSU");
  if (r.secondSize <= 0) r.secondSize = r.width;
  r.charSize = GetColumnInt(t, "FLDCSIZ");
  r.height = GetColumnInt(t, "FLDHIG");
  r.x = GetColumnInt(t, "FLDX");
  r.y = GetColumnInt(t, "FLDY");
  r.xShift = GetColumnInt(t, "FLDXSFT");
  r.yShift = GetColumnInt(t, "FLDYSFT");
  r.decimals = GetColumnInt(t, "FLDDEC");
  r.screenName = Text(t, "SCRNAME");
  bool centred = false;
  const int forced = DecimalsFromScreenName(r.screenName, &centred);
  if (forced >= 0) r.decimals = forced;
  if (centred) r.edit = "中央";
  r.codeChar = static_cast<unsigned char>(GetColumnChar(t, "FLDCD"));
  r.printFlag = GetColumnInt(t, "FLDPFLG");
  r.recordCode = GetColumnInt(t, "FLDRCD");
  r.indexChar = static_cast<unsigned char>(GetColumnChar(t, "FLDIDX"));
  r.minimum = GetColumnDouble(t, "FLDMIN");
  r.maximum = GetColumnDouble(t, "FLDMAX");
  r.minText = Text(t, "FLDMIN");
  r.maxText = Text(t, "FLDMAX");
  r.page = GetColumnInt(t, "FLDPNO");
  r.tabFlag = GetColumnInt(t, "FLDTFLG");
  r.defaultText = Text(t, "FLDDEFLT");
  r.jump = Text(t, "FLDJUMP");
  r.imagePlace = Text(t, "FLDUNQ");
  r.memberShift = GetColumnInt(t, "FLDTNO");
}

void ReadSheetFieldRow() {
  const int t = g_screenDefs.fieldDefSlot;
  if (RepairSheetFieldRow(t)) db_update(t);
  ScreenFieldRecord& r = g_screenDefs.row;
  r = ScreenFieldRecord();
  r.code = Text(t, "領域コード");
  r.name = Text(t, "領域名");
  r.title = Text(t, "タイトル");
  r.lock = "×";
  r.join = Text(t, "アイコン");
  r.textColour = Text(t, "文字色");
  r.backColour = "白";
  r.titlePlace = Text(t, "タイトル位置");
  r.width = GetColumnInt(t, "文字数");
  r.secondSize = r.width;
  r.charSize = GetColumnInt(t, "サイズ");
  r.x = GetColumnInt(t, "Ｘ座標");
  r.y = GetColumnInt(t, "Ｙ座標");
  r.type = Text(t, "タイプ");
  r.frame = Text(t, "種別");
  r.edit = Text(t, "編集");
  r.decimals = GetColumnInt(t, "Ｂサイズ");
  r.choices = Text(t, "変換条件");
  r.fullWidth = Text(t, "全半角").compare(0, 2, "全") == 0 ? 1 : 2;
  const std::string overlap = Text(t, "重複");
  r.overlapDigit = overlap.empty() ? 0 : overlap[0] - '0';
  r.rowGap = GetColumnInt(t, "配列行間");
  r.firstMember = GetColumnInt(t, "配列開始");
  r.members = GetColumnInt(t, "配列個数");
  if (r.members >= 2) r.direction = "↓";
  if (r.type == "Ｘ" || r.type == "Ｙ") {
    r.recordCode = r.type == "Ｘ" ? 2 : 3;
    r.firstMember = -1;
  }
}

int OpenSheetFieldTable() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const char* folder = sheet.folder.c_str();
  const char* database = sheet.database.c_str();
  const int raw = db_alloc_slot(folder, database, kSheetFieldTable, sheet.kind);
  // A table still missing is made whole by the open below.
  if (raw > 0 && ExecSlotSql(raw, "select * from MUPA_FLD where 1=0", 1) == 0) {
    if (FindDbColumnNumber(raw, "認識不可スコア") < 0) {
      AddTableColumn(raw, kColumnShort, "認識不可スコア", 0);
      AddTableColumn(raw, kColumnShort, "文字単位出力", 0);
      AddTableColumn(raw, kColumnText, "認識不可マーク", 30);
    }
    if (FindDbColumnNumber(raw, "表面裏面") < 0) {
      AddTableColumn(raw, kColumnShort, "表面裏面", 0);
      AlterTextColumnLength(raw, "タイトル", 255);
      AlterTextColumnLength(raw, "アイコン", 255);
    }
  }
  if (raw > 0) db_disconnect(raw);
  const int slot = db_open(folder, database, kSheetFieldTable, sheet.kind, kSheetSpecFile, kSheetFieldTable,
                           "select * from MUPA_FLD where ＯＣＲコード=%s",
                           SqlLiteral(sheet.sheetCode.c_str()).c_str());
  if (slot < 0) ShowInfoMessage("", "フォーマット定義ファイルをオープンできません。");
  return slot;
}

int OpenSheetFieldsByCodes() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kSheetFieldTable, sheet.kind,
                           kSheetSpecFile, kSheetFieldTable,
                           "select * from MUPA_FLD where ＯＣＲコード in ('0001','0002')");
  if (slot < 0) ShowInfoMessage("", "フォーマット定義ファイルをオープンできません。");
  return slot;
}

int FindFieldRowByName(const char* prefix, const char* newName) {
  const int t = g_screenDefs.fieldDefSlot;
  const size_t length = std::strlen(prefix);
  int rc = db_toppos(t, "FLDCODE");
  if (rc != 0) return 0;  // no rows
  for (; rc == 0; rc = db_nread(t)) {
    if (std::strncmp(GetColumnText(t, "FLDNAME"), prefix, length) != 0) continue;
    SetColumnText(t, "FLDNAME", newName);
    return UpdateCurrentRow(t) == 0 ? 0 : -1;
  }
  return -1;
}

void SetFieldDefault(const char* name, const char* value) {
  std::vector<ScreenDefinitionState::Default>& defaults = g_screenDefs.defaults;
  const std::string text = std::string(value).substr(0, CharBoundaryLength(value, 30));
  for (ScreenDefinitionState::Default& d : defaults) {
    if (d.name == name) {
      d.value = text;
      return;
    }
  }
  if (defaults.size() < kMaxFieldDefaults) defaults.push_back({name, text});
}

void SetNextScreenDataSet(const ScreenDataSetPlace& place) { g_screenDefs.nextDataSetPlace = place; }

int RequireFieldDefault(const char* name) {
  for (const ScreenDefinitionState::Default& d : g_screenDefs.defaults) {
    if (d.name == name) {
      AddQueryCondition(name, d.value.c_str());
      return 0;
    }
  }
  ShowInfoMessage("", "フィールド“%s”の初期値は設定されていません。", name);
  return -1;
}
