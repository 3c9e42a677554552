// Generated S_FIELD rows: their records in memory, the regrouping by array
// element, the operator's edits kept across a generation (S_FIELD2) and
// the transaction that puts a screen's rows in place.
#include "entry/screen_rows.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

constexpr char kSavedFieldTable[] = "S_FIELD2";

bool IsPictureName(const std::string& name) { return name.size() == 5 && name.compare(0, 3, "IMG") == 0; }

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// S_FIELD2 has the columns of S_FIELD: made from its description when
// missing. 0, or -1 (reported).
int EnsureSavedFieldTable() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int probe = db_open_nocreate(sheet.folder.c_str(), sheet.database.c_str(), kSavedFieldTable, sheet.kind,
                                     g_screenDefs.specFile.c_str(), "FLDTBL", "");
  if (probe > 0) return db_close(probe) == 0 ? 0 : -1;
  const int spec = OpenScreenFieldRows(kFieldTable, "");
  if (spec < 0) return -1;
  const int rc = CreateTableFromSlot(spec, kSavedFieldTable);
  db_close(spec);
  return rc;
}

}  // namespace

void ScreenFieldRow::Set(const char* column, const std::string& value) {
  for (auto& [name, text] : values) {
    if (name == column) {
      text = value;
      return;
    }
  }
  values.emplace_back(column, value);
}

void ScreenFieldRow::Set(const char* column, int value) { Set(column, std::to_string(value)); }

std::string ScreenFieldRow::Get(const char* column) const {
  for (const auto& [name, text] : values) {
    if (name == column) return text;
  }
  return std::string();
}

int ScreenFieldRow::GetInt(const char* column) const { return std::atoi(Get(column).c_str()); }

std::string EntryScreenCode(int form) {
  char code[16];
  std::snprintf(code, sizeof code, "%d%02d", form, 1);
  return code;
}

int GetNameNumericTail(const std::string& name) {
  // Digits are never trail bytes of Shift-JIS: a byte test suffices.
  const std::size_t n = name.size();
  if (n <= 2 || !IsAsciiDigit(name[n - 1]) || !IsAsciiDigit(name[n - 2])) return -1;
  return std::atoi(name.c_str() + (IsAsciiDigit(name[n - 3]) ? n - 3 : n - 2));
}

void ReorderArrayFields(std::vector<ScreenFieldRow>* rows) {
  std::vector<ScreenFieldRow> ordered;
  int largest = 0;
  for (const ScreenFieldRow& row : *rows) {
    const std::string name = row.Get("FLDNAME");
    const int tail = GetNameNumericTail(name);
    if (tail < 0 || IsPictureName(name)) {
      ordered.push_back(row);
    } else {
      largest = std::max(largest, tail);
    }
  }
  if (largest < 1 || largest > 99) return;
  for (int element = 1; element <= largest; ++element) {
    for (const ScreenFieldRow& row : *rows) {
      const std::string name = row.Get("FLDNAME");
      if (!IsPictureName(name) && GetNameNumericTail(name) == element) ordered.push_back(row);
    }
  }
  for (std::size_t i = 0; i < ordered.size(); ++i) {
    char code[16];
    std::snprintf(code, sizeof code, "%03d", static_cast<int>(i + 1));
    ordered[i].Set("FLDCODE", code);
  }
  *rows = std::move(ordered);
}

int OpenScreenFieldRows(const char* table, const std::string& screenCode) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const std::string where = screenCode.empty() ? std::string("where 1=0")
                                               : "where SCRCODE=" + SqlLiteral(screenCode.c_str());
  return db_open(sheet.folder.c_str(), sheet.database.c_str(), table, sheet.kind,
                 g_screenDefs.specFile.c_str(), "FLDTBL", "select * from %s %s", table, where.c_str());
}

int OpenScreenRecord(const std::string& screenCode) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  return db_open(sheet.folder.c_str(), sheet.database.c_str(), kScreenTable, sheet.kind,
                 g_screenDefs.specFile.c_str(), "SCRTBL", "select * from S_SCREEN where SCRCODE=%s",
                 SqlLiteral(screenCode.c_str()).c_str());
}

int SaveScreenEdits(const std::string& screenCode) {
  if (EnsureSavedFieldTable() != 0) return -1;
  const int slot = OpenScreenFieldRows(kSavedFieldTable, screenCode);
  if (slot < 0) return -1;
  const std::string code = SqlLiteral(screenCode.c_str());
  int rc = db_exec(slot, ("delete from S_FIELD2 where SCRCODE=" + code).c_str());
  if (rc == 0) rc = db_exec(slot, ("insert into S_FIELD2 select * from S_FIELD where SCRCODE=" + code).c_str());
  db_close(slot);
  return rc;
}

std::vector<ScreenFieldRow> LoadScreenEdits(const std::string& screenCode) {
  std::vector<ScreenFieldRow> saved;
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open_nocreate(sheet.folder.c_str(), sheet.database.c_str(), kSavedFieldTable, sheet.kind,
                                    g_screenDefs.specFile.c_str(), "FLDTBL", "select * from S_FIELD2 where SCRCODE=%s",
                                    SqlLiteral(screenCode.c_str()).c_str());
  if (slot < 0) return saved;
  for (int rc = db_toppos(slot, "FLDCODE"); rc == 0; rc = db_nread(slot)) {
    ScreenFieldRow row;
    for (const char* column : {"FLDNAME", "FLDTITLE", "FLDSMSU", "FLDLOCK", "FLDTFLG", "FLDTTL", "FLDCSIZ",
                               "FLDUNQ", "FLDX", "FLDXSFT", "FLDY", "FLDYSFT"}) {
      row.Set(column, GetColumnAsText(slot, column));
    }
    saved.push_back(row);
  }
  db_close(slot);
  return saved;
}

void RestoreScreenEdits(ScreenFieldRow* row, const std::vector<ScreenFieldRow>& saved, int form) {
  const std::string name = row->Get("FLDNAME");
  for (const ScreenFieldRow& edit : saved) {
    if (edit.Get("FLDNAME") != name) continue;
    for (const char* column : {"FLDTITLE", "FLDSMSU", "FLDLOCK", "FLDTFLG"}) row->Set(column, edit.Get(column));
    if (form != 2) return;
    for (const char* column : {"FLDTTL", "FLDCSIZ", "FLDUNQ", "FLDX", "FLDXSFT", "FLDY", "FLDYSFT"}) {
      row->Set(column, edit.Get(column));
    }
    return;
  }
}

int ReplaceScreenFieldRows(const std::string& screenCode, const std::vector<ScreenFieldRow>& rows) {
  const int slot = OpenScreenFieldRows(kFieldTable, screenCode);
  if (slot < 0) return -1;
  if (BeginTableTransaction(slot) != 0) {
    db_close(slot);
    return -1;
  }
  int rc = db_exec(slot, ("delete from S_FIELD where SCRCODE=" + SqlLiteral(screenCode.c_str())).c_str());
  for (std::size_t i = 0; rc == 0 && i < rows.size(); ++i) {
    db_clear(slot);
    SetColumnText(slot, "SCRCODE", screenCode.c_str());
    for (const auto& [column, value] : rows[i].values) SetColumnFromText(slot, column.c_str(), value.c_str());
    rc = db_add(slot);
  }
  if (EndTableTransaction(slot, rc == 0) != 0) rc = -1;
  db_close(slot);
  return rc;
}
