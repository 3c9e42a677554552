// The entry screens made from the sheet definition: the rows of the list
// screen "101" and the card screen "201" in S_FIELD of the sheet-definition
// database. Key items come first, then the sheet's read items with their
// candidates (coded values, master look-ups, postal codes), the reading
// date and time, and on the card form the sheet's pictures. The rows are
// built in memory and put in place together: a generation that stops
// leaves the previous screen.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "designer/sheet_settings.h"
#include "entry/entry.h"
#include "entry/screen_rows.h"
#include "entry/sheet_fields.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "reading/reading.h"
#include "screen/screen.h"

namespace {

constexpr int kMaxListColumns = 230;
constexpr int kDefaultLinePitch = 24;
constexpr int kDefaultCardCharSize = 9;
constexpr char kPostalDictionary[] = "DICDBS";

enum class ValueKind { kText, kShort, kLong, kDouble, kPicture };

ValueKind KindOfColumnType(int type) {
  switch (type) {
    case kColumnShort: return ValueKind::kShort;
    case kColumnLong: return ValueKind::kLong;
    case kColumnDouble: return ValueKind::kDouble;
    default: return ValueKind::kText;
  }
}

ValueKind KindOfRange(const SheetFieldDef& d) {
  return KindOfColumnType(RangeTypeForValues(std::atof(d.minText.c_str()), std::atof(d.maxText.c_str()), d.decimals));
}

bool IsNumber(ValueKind kind) {
  return kind == ValueKind::kShort || kind == ValueKind::kLong || kind == ValueKind::kDouble;
}

// One generation: the screen, the sheet's items and what is written so far.
struct GenerationRun {
  int form = 1;  // 1 list, 2 card
  std::string screenCode;
  int outputSlot = -1;  // the output table, or -1 when it is not there
  std::vector<SheetFieldDef> defs;
  std::vector<ScreenFieldRow> rows;
  WrittenNames written;
  bool keepEdits = false;
  std::vector<ScreenFieldRow> saved;
  int linePitch = kDefaultLinePitch, charSize = kDefaultCardCharSize;
  int reader = 1, comport = 0;
  bool headingsFromNames = false;  // 一覧表項目種別 2
  bool hasSingleField = false;     // a read item that is not an array
  int fieldNumber = 1;             // FLDCODE of the next row
  bool List() const { return form == 1; }
};

std::string Trimmed(std::string title, bool dropBars) {
  std::vector<char> buffer(title.begin(), title.end());
  buffer.push_back('\0');
  TrimTrailingWideSpaces(buffer.data());
  title = buffer.data();
  if (!dropBars) return title;
  std::string out;
  for (std::size_t i = 0; i < title.size(); i += SjisCharLength(title.c_str() + i)) {
    if (title[i] != '|') out.append(title, i, SjisCharLength(title.c_str() + i));
  }
  return out;
}

const SheetKeyItem* FindKeyItem(const std::string& name) {
  for (const SheetKeyItem& key : g_sheetKeys.items) {
    if (key.name == name) return &key;
  }
  return nullptr;
}

int OutputColumnType(const GenerationRun& run, const std::string& name) {
  return run.outputSlot > 0 ? GetColumnTypeQuiet(run.outputSlot, name.c_str()) : -1;
}

// The list form's display width of a column of `length` with `title`.
int ListDisplayWidth(const GenerationRun& run, int length, const std::string& title) {
  int width = std::max(length, static_cast<int>(title.size()));
  if (run.reader <= 1) return width;
  int titleLength = static_cast<int>(title.size()) + 1;
  if (run.comport == 1) {
    std::vector<char> half(title.size() + 1);
    titleLength = ToHalfWidth(half.data(), title.c_str());
  }
  int w = (titleLength / 2) / run.reader + (titleLength % run.reader != 0 ? 1 : 0);
  w = std::max(w, 1) * 2;
  return w > length ? w : length;
}

// Adds one finished row: 0, or -1 after the list form's column limit.
int AddRow(GenerationRun& run, ScreenFieldRow row) {
  if (run.List() && run.fieldNumber > kMaxListColumns) {
    ShowInfoMessage("", "一覧表形式入力画面では“%d”を越える列は作成できません。", kMaxListColumns);
    return -1;
  }
  char code[16];
  std::snprintf(code, sizeof code, "%03d", run.fieldNumber++);
  row.Set("FLDCODE", code);
  if (run.keepEdits) RestoreScreenEdits(&row, run.saved, run.form);
  run.written.Add(row.Get("FLDNAME"));
  run.rows.push_back(std::move(row));
  return 0;
}

void SetEditAndType(ScreenFieldRow& row, ValueKind kind, int length, bool fullWidth, bool zeroFill,
                    const SheetFieldDef* def) {
  switch (kind) {
    case ValueKind::kPicture:
      row.Set("FLDEDT", "BMAP");
      row.Set("FLDTYPE", "PBUT");
      row.Set("FLDDECR", "枠無");
      row.Set("FLDJOIN", def ? def->icon : std::string());
      return;
    case ValueKind::kText:
      if (length == 1 && !fullWidth) {
        row.Set("FLDEDT", "中央");
        row.Set("FLDTYPE", "半角");
        return;
      }
      row.Set("FLDEDT", zeroFill ? "ZERO" : "左詰");
      row.Set("FLDTYPE", fullWidth ? "全角" : "半角");
      return;
    default:
      row.Set("FLDEDT", "右詰");
      row.Set("FLDTYPE", "数字");
  }
}

// Writes the row or rows of one field (`WriteFieldScreenRows`): kind 'N' a
// field of the sheet (`def`, or the output column `givenName`), kind 'D' a
// key item the sheet does not read (a hidden row). `length` -1 takes the
// field's own. 0, or -1 after the message.
int WriteFieldScreenRows(GenerationRun& run, char kind, const SheetFieldDef* def, const std::string& givenName,
                         int length, const std::string& candidates) {
  const bool named = def == nullptr;
  const std::string name = named ? givenName : def->name;
  const SheetKeyItem* key = FindKeyItem(name);
  const bool keyField = name == g_sheetKeys.lastKeyName;
  std::string title = named ? (key ? key->title : name) : Trimmed(def->title, def->titlePlace == "←");
  // A field without a title is headed by its name, as a key item is.
  if (title.empty()) title = name;
  const int columnType = OutputColumnType(run, name);
  const std::string table = g_sheetSettings.outputTable;
  if (!named && !def->IsArray() && run.outputSlot > 0 && columnType < 0) return 0;

  ValueKind valueKind = ValueKind::kText;
  int decimals = 0;
  bool fullWidth = false, zeroFill = keyField;
  bool typed = true;  // FLDEDT and FLDTYPE are written
  if (named) {
    if (columnType < 0 && run.outputSlot > 0) {
      if (kind == 'D') {
        ShowInfoMessage("", "キー項目“%s”は、テーブル“%s”に存在しません。", name.c_str(), table.c_str());
        return -1;
      }
      ShowInfoMessage("", "警告：フィールド“%s”は、テーブル“%s”に存在しません。(%c)", name.c_str(), table.c_str(),
                      kind);
      typed = false;
    } else if (columnType >= 0) {
      valueKind = KindOfColumnType(columnType);
      if (length < 0) length = IsNumber(valueKind) ? 10 : GetColumnLength(run.outputSlot, name.c_str());
    }
    if (length < 0) length = key ? key->width : 10;
  } else if (def->charType == "数値") {
    if (def->IsCheck()) {
      valueKind = ValueKind::kShort;
      length = std::max(length, def->decimals);
    } else {
      decimals = def->decimals;
      valueKind = KindOfRange(*def);
      length = std::max(length, def->count + (decimals > 0 ? 1 : 0));
    }
  } else if (def->edit == "BMAP") {
    valueKind = ValueKind::kPicture;
    decimals = def->bSize;
    length = std::max(length, def->count);
  } else {
    if (columnType >= 0 && columnType != kColumnText && columnType != kColumnChar) {
      ShowInfoMessage("", "記入欄“%s”の“項目の型”が、出力先テーブル“%s”のフィールド“%s”の“データ型”と異なります。",
                      name.c_str(), table.c_str(), name.c_str());
      return -1;
    }
    if (columnType >= 0) {
      length = GetColumnLength(run.outputSlot, name.c_str());
    } else if (length < 0) {
      length = def->count;
    }
  }
  if (!named) {
    if (def->fullWidth == "全角") {
      valueKind = ValueKind::kText;
      fullWidth = true;
    }
    zeroFill = zeroFill || def->edit == "０埋";
  }

  const std::vector<std::string> names = named ? std::vector<std::string>{name} : def->ElementNames();
  for (std::size_t element = 0; element < names.size(); ++element) {
    const std::string& rowName = names[element];
    const bool array = !named && def->IsArray();
    ScreenFieldRow row;
    row.Set("FLDNAME", rowName);
    int rowLength = length;
    if (array) {
      const int elementType = OutputColumnType(run, rowName);
      if (elementType == kColumnText) rowLength = GetColumnLength(run.outputSlot, rowName.c_str());
    }
    // The list numbers the title as the name: "%s%02d" from 配列開始.
    std::string rowTitle = title;
    if (array && run.List()) {
      char number[16];
      std::snprintf(number, sizeof number, "%02d", def->firstMember + static_cast<int>(element));
      rowTitle += number;
    }
    row.Set("FLDTITLE", run.List() && run.headingsFromNames ? rowName : rowTitle);
    if (!named && def->IsPostalCode()) row.Set("FLDRCD", -1);
    if (typed) SetEditAndType(row, valueKind, rowLength, fullWidth, zeroFill, def);
    if (!named && def->charType == "ﾌﾗｸﾞ" && !run.List()) {
      row.Set("FLDTYPE", "GCHK");
      row.Set("FLDBCOL", "青");
      row.Set("FLDHIG", static_cast<int>(std::count(def->overlay.begin(), def->overlay.end(), ',')) * 20 + 60);
    }
    row.Set("FLDDEC", decimals);
    row.Set("FLDKOHO", candidates);
    if (!named) {
      row.Set("FLDMIN", def->minText);
      row.Set("FLDMAX", def->maxText);
    }
    if (kind == 'D') {
      row.Set("FLDLOCK", "Ｄ");
      row.Set("FLDTYPE", "非表");
    } else {
      row.Set("FLDLOCK", !candidates.empty() && candidates[0] == '$' ? "×" : "○");
    }
    int displayWidth = rowLength;
    if (run.List()) {
      row.Set("FLDLST", "○");
      displayWidth = ListDisplayWidth(run, rowLength, row.Get("FLDTITLE"));
      if (keyField) {
        row.Set("FLDX", 2);
        row.Set("FLDY", run.hasSingleField ? 4 : 3);
      }
    } else {
      std::string place = named ? "←" : def->titlePlace;
      if (place.empty() || place == "×") place = "←";
      if (array) place = element == 0 ? "↑" : "×";
      if (place == "↑" || place == "↓") displayWidth = std::max(displayWidth, static_cast<int>(title.size()));
      if (row.Get("FLDTYPE") == "GCHK") {
        place = "×";
        displayWidth = 20;
      }
      row.Set("FLDTTL", place);
      const bool back = !named && std::atoi(def->side.c_str()) == 2;
      row.Set("FLDX", back ? 50 : 0);
      if (!named) {
        const double factor = def->boxWidth < 7 ? (7 - def->boxWidth + 10) / 10.0 : 1.0;
        row.Set("FLDXSFT", static_cast<int>(std::floor(def->x * factor + 0.5)));
        row.Set("FLDY", static_cast<int>(std::floor(def->y / 30.0 + 0.5)) + 2);
      }
      row.Set("FLDYSFT", static_cast<int>(element) * run.linePitch);
      row.Set("FLDCSIZ", run.charSize);
    }
    row.Set("FLDSMSU", displayWidth);
    row.Set("FLDRMSU", rowLength);
    if (AddRow(run, std::move(row)) != 0) return -1;
  }
  return 0;
}

const SheetFieldDef* FindDef(const GenerationRun& run, const std::string& name) {
  for (const SheetFieldDef& def : run.defs) {
    if (def.name == name) return &def;
  }
  return nullptr;
}

// Step of the read items: each with its candidates; a master look-up or a
// postal code makes the item after it the plain field its value goes to.
int WriteSheetFields(GenerationRun& run) {
  const std::string& database = g_currentSheet.outputDatabase;
  bool plainNext = false;
  for (const SheetFieldDef& def : run.defs) {
    const bool plain = plainNext;
    plainNext = false;
    if (run.written.Has(def.name) || (def.IsCheck() && def.threshold == -1)) continue;
    std::string candidates;
    int length = -1;
    if (plain) {
      // The field a look-up writes into takes no candidates of its own.
    } else if (!def.condition.empty()) {
      if (IsPlainCommaList(def.overlay) && IsPlainCommaList(def.condition)) {
        candidates = CandidatesFromList(def.condition, &length);
      } else if (def.condition == "〃") {
        if (IsPlainCommaList(def.overlay)) {
          candidates = CandidatesFromList(def.overlay, &length);
        } else {
          length = def.decimals;
        }
      } else {
        candidates = CandidatesFromPairs(def.condition, def.IsCheck() && def.decimals >= 2, &length);
      }
    } else if (def.IsPostalCode()) {
      candidates = std::string("#") + kPostalDictionary + "#全国住所,{ZIPCODE},ZIPCODE,ADDRESS,(10)";
      plainNext = true;
    } else if (!def.refTable.empty() && !def.keyItem.empty() && !def.fetchItem.empty()) {
      candidates = "#" + database + "#" + def.refTable + ",{" + def.keyItem + "}," + def.keyItem + "," +
                   def.fetchItem + ",(10)";
      if (def.writeItem == def.name) {
        candidates += ",1";
      } else if (def.writeItem.empty()) {
        candidates += ",3";
      } else {
        plainNext = true;
      }
    }
    if (candidates.empty() && !plain && def.condition != "〃") length = -1;
    if (WriteFieldScreenRows(run, 'N', &def, "", length, candidates) != 0) return -1;
  }
  return 0;
}

// The reading date and time rows, each when the sheet keeps it.
int WriteReadingStampRows(GenerationRun& run) {
  struct Stamp {
    const std::string* name;
    int x, size;
    const char* candidates;
    const char* place;
  };
  const Stamp stamps[] = {
      {&g_sheetSettings.dateColumn, 12, 10, "CALENDAR", "←"},
      {&g_sheetSettings.timeColumn, 32, 5, "", run.List() ? "" : "←"},
  };
  for (const Stamp& s : stamps) {
    if (s.name->empty()) continue;
    ScreenFieldRow row;
    row.Set("FLDNAME", *s.name);
    row.Set("FLDTITLE", *s.name);
    row.Set("FLDTYPE", "半角");
    row.Set("FLDEDT", "左詰");
    row.Set("FLDDEC", 0);
    row.Set("FLDLOCK", "○");
    row.Set("FLDLST", run.List() ? "○" : "×");
    row.Set("FLDX", s.x);
    row.Set("FLDY", 3);
    row.Set("FLDSMSU", s.size);
    row.Set("FLDRMSU", s.size);
    row.Set("FLDKOHO", s.candidates);
    row.Set("FLDTTL", s.place);
    if (AddRow(run, std::move(row)) != 0) return -1;
  }
  return 0;
}

// One picture row per picture of the sheet, where its frame stands
// (`AddSheetPictureFields`).
int AddSheetPictureFields(GenerationRun& run) {
  std::vector<AreaFrame> frames;
  int backs = 0;
  if (ReadSheetPictures(&frames, &backs) != 0) return -1;
  const std::size_t fronts = frames.size() - backs;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const AreaFrame& frame = frames[i];
    char name[16];
    std::snprintf(name, sizeof name, "IMG%02d", static_cast<int>(i + 1));
    ScreenFieldRow row;
    row.Set("FLDNAME", name);
    row.Set("FLDTITLE", name);
    // The back's pictures stand beside the front's, as its fields do.
    row.Set("FLDX", i < fronts ? 0 : 50);
    row.Set("FLDXSFT", 10);
    row.Set("FLDY", frame.y1 / 30);
    row.Set("FLDYSFT", frame.y1 % 30);
    row.Set("FLDHIG", frame.y2 - frame.y1);
    row.Set("FLDSMSU", frame.x2 - frame.x1);
    row.Set("FLDEDT", "BMAP");
    row.Set("FLDDEC", 2);
    row.Set("FLDTYPE", "PBUT");
    row.Set("FLDDECR", "ｱｲｺﾝ");
    row.Set("FLDKOHO", "");
    row.Set("FLDLST", "×");
    row.Set("FLDLOCK", "×");
    if (AddRow(run, std::move(row)) != 0) return -1;
  }
  return 0;
}

// The screen settings the rows follow: the card's line pitch and character
// size, the list's READER and COMPORT, from the screen's S_SCREEN row.
void ReadScreenSettings(GenerationRun& run) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open_nocreate(sheet.folder.c_str(), sheet.database.c_str(), kScreenTable, sheet.kind,
                                    g_screenDefs.specFile.c_str(), "SCRTBL", "select * from S_SCREEN where SCRCODE=%s",
                                    SqlLiteral(run.screenCode.c_str()).c_str());
  if (slot < 0) return;
  if (db_toppos(slot, "SCRCODE") == 0) {
    if (GetColumnInt(slot, "SCRLPCH") > 0) run.linePitch = GetColumnInt(slot, "SCRLPCH");
    if (GetColumnInt(slot, "SCRCSIZ") > 0) run.charSize = GetColumnInt(slot, "SCRCSIZ");
    run.reader = std::max(1, GetColumnInt(slot, "READER"));
    run.comport = GetColumnInt(slot, "COMPORT");
  }
  db_close(slot);
}

int ListHeadingKind() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kPaperTable, sheet.kind, kSheetSpecSet,
                           kPaperTable, "select * from MUPA_PAP where ＯＣＲコード='0001'");
  if (slot < 0) return 0;
  const int kind = db_toppos(slot, "ＯＣＲコード") == 0 ? GetColumnInt(slot, "一覧表項目種別") : 0;
  db_close(slot);
  return kind;
}

}  // namespace

int GenerateEntryScreenFields(int form, bool keepEdits) {
  GenerationRun run;
  run.form = form;
  run.screenCode = EntryScreenCode(form);
  run.keepEdits = keepEdits;
  if (keepEdits) {
    if (SaveScreenEdits(run.screenCode) != 0) return -1;
    run.saved = LoadScreenEdits(run.screenCode);
  }
  if (ReadSheetFieldDefs(&run.defs) != 0 || LoadSheetKeyItems() != 0) return -1;
  if (run.defs.empty()) {
    ShowInfoMessage("", "“%s”の読み取り項目が定義されていません。", g_sheetSettings.sheetName.c_str());
    return -1;
  }
  if (WidenFieldTitleColumn() != 0) return -1;
  ReadScreenSettings(run);
  run.headingsFromNames = ListHeadingKind() == 2;
  for (const SheetFieldDef& def : run.defs) run.hasSingleField = run.hasSingleField || !def.IsArray();

  const CurrentSheet& sheet = g_currentSheet;
  const char* table = g_sheetSettings.outputTable.c_str();
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  run.outputSlot = db_open_nocreate(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(), table,
                                    sheet.outputKind, table, "", "");
  int rc = 0;
  // Key items first: those the sheet does not read as hidden rows, the
  // sheet's key field last of them.
  for (const SheetKeyItem& key : g_sheetKeys.items) {
    if (rc != 0) break;
    const SheetFieldDef* def = FindDef(run, key.name);
    rc = def ? WriteFieldScreenRows(run, 'N', def, "", -1, "")
             : WriteFieldScreenRows(run, 'D', nullptr, key.name, key.width, "");
  }
  if (rc == 0) rc = WriteSheetFields(run);
  if (rc == 0) rc = WriteReadingStampRows(run);
  if (rc == 0 && !run.List()) rc = AddSheetPictureFields(run);
  if (run.outputSlot > 0) db_close(run.outputSlot);
  if (rc == 0) {
    bool arrays = false;
    for (const SheetFieldDef& def : run.defs) arrays = arrays || (def.IsArray() && def.members > 1);
    if (arrays) ReorderArrayFields(&run.rows);
    rc = ReplaceScreenFieldRows(run.screenCode, run.rows);
  }
  SetCursor(previous);
  return rc;
}

int WidenFieldTitleColumn() {
  const int slot = OpenScreenFieldRows(kFieldTable, "");
  if (slot < 0) return -1;
  int rc = 0;
  if (GetColumnLength(slot, "FLDTITLE") <= 60) rc = AlterTextColumnLength(slot, "FLDTITLE", 200);
  db_close(slot);
  return rc;
}
