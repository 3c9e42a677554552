// The S_SCREEN records of the generated entry screens, the list's line
// count against the item table, and the rebuild that empties the output
// table after asking.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "entry/entry.h"
#include "entry/screen_rows.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "reading/reading.h"
#include "screen/screen.h"

namespace {

constexpr int kDefaultListLines = 20;
constexpr int kItemTableLimit = 2100;
constexpr int kCardLinePitch = 24;
constexpr int kCardCharSize = 9;

OutputTableOpenedHook g_outputTableOpened = nullptr;

std::string JoinedKeyItems() {
  std::string joined;
  for (const SheetKeyItem& key : g_sheetKeys.items) joined += (joined.empty() ? "" : ",") + key.name;
  return joined;
}

// The read items of the sheet: over both sides for a two-sided sheet, else
// the fields of the canvas. -1 after the message.
int CountSheetFields() {
  if (g_sheetSettings.scanType == kScanPaired) {
    std::vector<std::string> names;
    return BuildReadItemList(&names);
  }
  int count = 0;
  const int slot = g_currentSheet.canvasSlot;
  if (slot < 0 || slot >= kWindowSlotCount) return 0;
  for (int i = Slot(slot).firstItem; i <= Slot(slot).lastItem && i >= 0; ++i) {
    if (!Item(i).code.empty() && Item(i).code[0] == '0') ++count;
  }
  return count;
}

int LastCanvasItem() {
  const int slot = g_currentSheet.canvasSlot;
  return slot >= 0 && slot < kWindowSlotCount ? Slot(slot).lastItem : 0;
}

// SCRTITLE, SCRDBS, SCRTBL, SCRKEYFLD and the list's LINCNT of the sheet.
void ApplyScreenRecordSettings(int slot, int form, int lines) {
  SetColumnText(slot, "SCRTITLE", g_sheetSettings.sheetName.c_str());
  SetColumnText(slot, "SCRDBS", g_currentSheet.outputDatabase.c_str());
  SetColumnText(slot, "SCRTBL", g_sheetSettings.outputTable.c_str());
  SetColumnText(slot, "SCRKEYFLD", JoinedKeyItems().c_str());
  if (form == 1) SetColumnInt(slot, "LINCNT", lines);
}

}  // namespace

int LimitListLineCount(int fields, int requested) {
  int lines = requested >= 1 ? requested : kDefaultListLines;
  while (lines > 0 && LastCanvasItem() + fields * (lines + 1) + 30 >= kItemTableLimit) --lines;
  if (lines <= 0) {
    ShowInfoMessage("", "項目数が最大数の限界を超えました。");
    return -1;
  }
  if (requested >= 1 && lines < requested) {
    ShowInfoMessage("", "設定されている行数(%d)では項目数の制限を超えるため“%d行”に変更しました。", requested,
                    lines);
  }
  return lines;
}

int WriteScreenRecord(int form) {
  const int fields = CountSheetFields();
  if (fields < 0) return -1;
  // The reading run's check reports its failure as 255.
  const int masters = CheckMasterOutputFields();
  if (masters == 255 || masters < 0) return -1;
  if (WriteTableSpecFile() != 0) return -1;

  const std::string code = EntryScreenCode(form);
  const int slot = OpenScreenRecord(code);
  if (slot < 0) return -1;
  if (GetColumnLength(slot, "SCRDBS") <= 40 && AlterTextColumnLength(slot, "SCRDBS", 120) != 0) {
    db_close(slot);
    return -1;
  }
  const char* input = g_sheetSettings.keyNumbering == 2 ? "Ｎ" : "○";
  int rc = 0;
  if (db_toppos(slot, "SCRCODE") != 0) {
    if (g_currentSheet.projectMode == kOperationMode) {
      ShowInfoMessage("", form == 2 ? "“%s”のカード型入力画面は作成されていません。"
                                    : "“%s”の一覧表型入力画面は作成されていません。",
                      g_sheetSettings.sheetName.c_str());
      db_close(slot);
      return 1;
    }
    const int lines = form == 1 ? LimitListLineCount(fields, 0) : 0;
    if (lines < 0) {
      db_close(slot);
      return -1;
    }
    db_clear(slot);
    SetColumnText(slot, "SCRCODE", code.c_str());
    SetColumnText(slot, "SCRNAME", code.c_str());
    SetColumnInt(slot, "SCRNO", 51);
    SetColumnText(slot, "CURMOV", "R");
    SetColumnText(slot, "SCREDT", "EDIT");
    SetColumnInt(slot, "SCRIDX", 0);
    SetColumnText(slot, "SCRPOS", "最大");
    SetColumnText(slot, "SCRINP", input);
    ApplyScreenRecordSettings(slot, form, lines);
    if (form == 1) {
      SetColumnInt(slot, "SCRLPCH", 24);
      SetColumnText(slot, "SCRTYPE", "ﾘｽﾄI");
      SetColumnInt(slot, "BORATE", 1);
      SetColumnInt(slot, "READER", 1);
      SetColumnInt(slot, "COMPORT", 0);
    } else {
      SetColumnInt(slot, "SCRLPCH", kCardLinePitch);
      SetColumnInt(slot, "SCRCSIZ", kCardCharSize);
      SetColumnText(slot, "SCRTYPE", "OCRｶｰﾄﾞ");
      SetColumnInt(slot, "LINCNT", 0);
    }
    rc = db_add(slot);
  } else {
    int lines = 0;
    if (form == 1) {
      lines = LimitListLineCount(fields, GetColumnInt(slot, "LINCNT"));
      if (lines < 0) {
        db_close(slot);
        return -1;
      }
    }
    SetColumnText(slot, "SCRINP", input);
    ApplyScreenRecordSettings(slot, form, lines);
    if (form == 2) {
      if (std::string(GetColumnText(slot, "SCRTYPE")) != "OCRｶｰﾄﾞ") {
        SetColumnText(slot, "SCRTYPE", "OCRｶｰﾄﾞ");
        SetColumnText(slot, "SCRPOS", "最大");
        SetColumnInt(slot, "SCRWID", 0);
        SetColumnInt(slot, "SCRHIG", 0);
      }
      if (GetColumnInt(slot, "SCRLPCH") >= 1) SetColumnInt(slot, "SCRLPCH", kCardLinePitch);
    } else {
      SetColumnInt(slot, "BORATE", 1);
      if (GetColumnInt(slot, "READER") <= 0) {
        SetColumnInt(slot, "READER", 1);
        SetColumnInt(slot, "COMPORT", 0);
      }
    }
    rc = db_update(slot);
  }
  db_close(slot);
  return rc;
}

void SetOutputTableOpenedHook(OutputTableOpenedHook hook) { g_outputTableOpened = hook; }

int ResetOutputTableForScreens(int form, bool keepEdits) {
  const CurrentSheet& sheet = g_currentSheet;
  const char* table = g_sheetSettings.outputTable.c_str();
  const int slot = db_open_nocreate(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(), table,
                                    sheet.outputKind, table, "", "");
  if (slot < 0 && !DbTableMissing()) return -1;
  if (slot > 0) {
    if (g_outputTableOpened) g_outputTableOpened();
    // A count that failed is no "no rows": the table is never dropped unasked.
    const int rows = db_count(slot);
    db_close(slot);
    if (rows < 0) return -1;
    if (rows > 0 && AskYesNo("", "“%ld”件のデータが登録されていますが、削除してもよろしいですか？",
                             static_cast<long>(rows)) != IDYES) {
      return 1;
    }
    if (DropTableByConnect(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(), table, sheet.outputKind) != 0) {
      return -1;
    }
  }
  if (CreateTableFromSpec(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(), table, sheet.outputKind, table,
                          "") != 0) {
    return -1;
  }
  const int record = OpenScreenRecord(EntryScreenCode(form));
  if (record < 0) return -1;
  if (db_toppos(record, "SCRCODE") == 0) {
    SetColumnText(record, "SCRPOS", "最大");
    SetColumnInt(record, "SCRWID", 0);
    SetColumnInt(record, "SCRHIG", 0);
    if (db_update(record) != 0) {
      db_close(record);
      return -1;
    }
  }
  db_close(record);
  return GenerateEntryScreenFields(form, keepEdits) == 0 ? 0 : -1;
}
