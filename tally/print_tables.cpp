// Print settings of tallies, graphs and the image list, kept per print code
// in the sheet definition's table MUPA_PRN (page layout) and per print type
// in MUPA_FLG (what a tally prints); the CSV file of the image list in
// MUPA_MEM of the settings database MUPAINIT. A missing row is added with
// the defaults of its print type when the settings are loaded.
#include <cstdio>
#include <initializer_list>

#include "designer/survey.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "tally/tally.h"

namespace {

constexpr char kSpecSet[] = "MUPADATA";
constexpr char kLayoutTable[] = "MUPA_PRN";
constexpr char kFlagTable[] = "MUPA_FLG";
constexpr char kMemoTable[] = "MUPA_MEM";
constexpr char kSettingsDatabase[] = "MUPAINIT";

// Print types of the layout rows.
constexpr int kFirstTableType = kPrintTypeTally;
constexpr int kLastTableType = kPrintTypeImageList;

// A column of MUPA_PRN, the setting it holds and the print types whose
// settings it keeps.
struct LayoutColumn {
  const char* column;
  int PrintSettings::*setting;
  std::initializer_list<int> types;
};

const std::initializer_list<int> kAllTypes = {25, 26, 27, 28, 29, 30};
const std::initializer_list<int> kAllButImages = {25, 26, 27, 28, 29};

const LayoutColumn kLayoutColumns[] = {
    {"頁番号", &PrintSettings::pageNumbers, kAllButImages},
    {"文字サイズ", &PrintSettings::charSize, kAllButImages},
    {"上部余白", &PrintSettings::topMargin, kAllTypes},
    {"左側余白", &PrintSettings::leftMargin, kAllTypes},
    {"行送り", &PrintSettings::lineSpacing, {25, 26, 27}},
    {"縦グラフ間", &PrintSettings::gapY, kAllTypes},
    {"グラフ幅", &PrintSettings::labelHeight, {26, 27, 30}},
    {"欄数／頁", &PrintSettings::lines, {30}},
    {"横グラフ間", &PrintSettings::gapX, {28, 29, 30}},
    {"グラフ列数", &PrintSettings::columns, {28, 29, 30}},
    {"１％の幅", &PrintSettings::notch, {26, 27}},
    {"グラフ直径", &PrintSettings::notch, {28, 29}},
    {"最大値％", &PrintSettings::radarMaximum, {29}},
};

// Defaults of a new MUPA_PRN row, by print type: the values of these
// columns in this order (0: the column stays 0).
const char* const kDefaultColumns[] = {"上部余白",   "左側余白",   "文字サイズ", "行送り",
                                       "縦グラフ間", "横グラフ間", "グラフ幅",   "欄数／頁",
                                       "グラフ列数", "１％の幅",   "グラフ直径", "最大値％"};
constexpr int kDefaultColumnCount = sizeof kDefaultColumns / sizeof kDefaultColumns[0];
struct LayoutDefaults {
  int type;
  int values[kDefaultColumnCount];
};
const LayoutDefaults kLayoutDefaults[] = {
    {25, {16, 20, 8, 2, 34, 0, 0, 0, 0, 0, 0, 0}},
    {26, {10, 14, 8, 32, 30, 0, 20, 0, 0, 7, 0, 0}},
    {27, {14, 14, 8, 14, 30, 0, 50, 0, 0, 9, 0, 0}},
    {28, {22, 26, 7, 0, 30, 60, 0, 0, 2, 0, 46, 0}},
    {29, {20, 30, 7, 0, 24, 50, 0, 0, 2, 0, 50, 50}},
    {30, {14, 14, 0, 0, 20, 20, 60, 6, 2, 0, 0, 0}},
};

bool HasType(std::initializer_list<int> types, int type) {
  for (int t : types) {
    if (t == type) return true;
  }
  return false;
}

void SetLayoutDefaults(int slot, const char* code, int type) {
  db_clear(slot);
  SetColumnText(slot, "PRNCODE", code);
  SetColumnText(slot, "用紙サイズ", "Ａ４縦");
  SetColumnInt(slot, "頁番号", type == kPrintTypeImageList ? 1 : 0);
  for (const LayoutDefaults& d : kLayoutDefaults) {
    if (d.type != type) continue;
    for (int i = 0; i < kDefaultColumnCount; ++i)
      SetColumnInt(slot, kDefaultColumns[i], d.values[i]);
  }
}

int OpenSheetTable(const char* table) {
  return db_open(g_survey.folder.c_str(), g_survey.database.c_str(), table, g_survey.kind, kSpecSet, table,
                 "");
}

// The settings database in the program folder: a file database.
int OpenMemoTable() {
  return db_open(GetProgramFolder().c_str(), kSettingsDatabase, kMemoTable, kDbKindFile, kSpecSet,
                 kMemoTable, "");
}

bool KeepsCsvFile() {
  return g_printSettings.printType == kPrintTypeImageList && g_printSettings.csvOutput == 1;
}

// Reads (or, with `save`, writes) CSVFILE of the code's MUPA_MEM row: 0, or
// -1 when the table cannot be opened or the row not written (reported).
int TransferCsvFile(const char* code, bool save) {
  const int slot = OpenMemoTable();
  if (slot < 0) return -1;
  int result = 0;
  const bool found = db_search(slot, code, "MEMCODE") == 0;
  if (!save) {
    if (found) g_printSettings.file = GetColumnText(slot, "CSVFILE");
  } else {
    if (!found) {
      db_clear(slot);
      SetColumnText(slot, "MEMCODE", code);
    }
    SetColumnText(slot, "CSVFILE", g_printSettings.file.c_str());
    result = found ? db_update(slot) : db_add(slot);
  }
  db_close(slot);
  return result;
}

std::string FlagCode(int type) {
  char code[8];
  std::snprintf(code, sizeof code, "%02d", type);
  return code;
}

// Flags of a new MUPA_FLG row.
void SetFlagDefaults(int slot, int type) {
  db_clear(slot);
  SetColumnText(slot, "FLGCODE", FlagCode(type).c_str());
  const char* items = "";
  const char* countPercent = "";
  int base = 0;
  switch (type) {
    case 25:
      items = "110000";
      countPercent = "11";
      base = 2;
      break;
    case 26:
    case 27:
      items = "000000";
      countPercent = "11";
      break;
    case 28:
      items = "000000";
      countPercent = "010";
      break;
    case 29:
      items = "000000";
      countPercent = "01";
      break;
    default: break;
  }
  SetColumnText(slot, "印字項目", items);
  SetColumnText(slot, "件数％印字", countPercent);
  SetColumnInt(slot, "百分率計算", base);
}

// Which flags of its row a print type reads and writes.
struct FlagUse {
  bool items, countPercent, base;
};
FlagUse FlagUseOf(int type) {
  switch (type) {
    case 25: return {true, true, true};
    case 26: return {true, false, false};
    case 27:
    case 28:
    case 29: return {true, true, false};
    default: return {false, false, false};
  }
}

}  // namespace

int LoadPrintTableSettings(const char* code) {
  const int type = g_printSettings.printType;
  const int slot = OpenSheetTable(kLayoutTable);
  if (slot < 0) return -1;
  if (db_search(slot, code, "PRNCODE") != 0) {
    SetLayoutDefaults(slot, code, type);
    if (db_add(slot) != 0 || db_search(slot, code, "PRNCODE") != 0) {
      db_close(slot);
      return -1;
    }
  }
  g_printSettings.code = code;
  g_printSettings.paper = GetColumnText(slot, "用紙サイズ");
  for (const LayoutColumn& c : kLayoutColumns) {
    if (HasType(c.types, type)) g_printSettings.*c.setting = GetColumnInt(slot, c.column);
  }
  db_close(slot);
  if (KeepsCsvFile()) TransferCsvFile(code, false);
  return 0;
}

int SavePrintTableSettings(const char* code) {
  const int type = g_printSettings.printType;
  const int slot = OpenSheetTable(kLayoutTable);
  if (slot < 0) return -1;
  const bool found = db_search(slot, code, "PRNCODE") == 0;
  if (!found) SetLayoutDefaults(slot, code, type);
  SetColumnText(slot, "用紙サイズ", g_printSettings.paper.c_str());
  for (const LayoutColumn& c : kLayoutColumns) {
    if (HasType(c.types, type)) SetColumnInt(slot, c.column, g_printSettings.*c.setting);
  }
  int result = found ? db_update(slot) : db_add(slot);
  db_close(slot);
  if (KeepsCsvFile() && TransferCsvFile(code, true) != 0) result = -1;
  return result;
}

int LoadPrintFlags() {
  const int type = g_printSettings.printType;
  if (type < kFirstTableType || type > kLastTableType) return 0;
  const int slot = OpenSheetTable(kFlagTable);
  if (slot < 0) return -1;
  if (db_search(slot, FlagCode(type).c_str(), "FLGCODE") != 0) {
    SetFlagDefaults(slot, type);
    if (db_add(slot) != 0) {
      db_close(slot);
      return -1;
    }
  }
  // Every type computes percentages as the tally table does.
  if (db_search(slot, FlagCode(kPrintTypeTally).c_str(), "FLGCODE") == 0) {
    g_printSettings.percentBase = GetColumnInt(slot, "百分率計算");
  }
  const FlagUse use = FlagUseOf(type);
  if (db_search(slot, FlagCode(type).c_str(), "FLGCODE") == 0) {
    if (use.items) g_printSettings.printItems = GetColumnText(slot, "印字項目");
    if (use.countPercent) g_printSettings.countPercent = GetColumnText(slot, "件数％印字");
    if (use.base) g_printSettings.percentBase = GetColumnInt(slot, "百分率計算");
  }
  db_close(slot);
  return 0;
}

int SavePrintFlags() {
  const int type = g_printSettings.printType;
  const int slot = OpenSheetTable(kFlagTable);
  if (slot < 0) return -1;
  int result = -1;
  if (db_search(slot, FlagCode(type).c_str(), "FLGCODE") == 0) {
    const FlagUse use = FlagUseOf(type);
    if (use.items) SetColumnText(slot, "印字項目", g_printSettings.printItems.c_str());
    if (use.countPercent) SetColumnText(slot, "件数％印字", g_printSettings.countPercent.c_str());
    if (use.base) SetColumnInt(slot, "百分率計算", g_printSettings.percentBase);
    result = db_update(slot);
  }
  db_close(slot);
  return result;
}
